#pragma once
// Small fixtures of the rock-bolt tests: bars and straight slip surfaces from their numbers, the
// hand calculation of where two straight lines cross, and the stratum polygon of a soil name.

#include <cmath>
#include <memory>
#include <numbers>
#include <string>

#include "core/deformation/Reinforce.h"
#include "core/geometry/DPolyArray.h"
#include "core/section/SpSlideWork.h"
#include "core/section/SpStratum.h"

// A bar of the standard bar 0 with its number.
inline std::unique_ptr<CReinforce> MakeBar(int number, int side, CDPoint head, double alpha,
                                           double length, double extra, double spacing = 2.0) {
  auto bar = std::make_unique<CReinforce>();
  bar->SetParam(side, 0, head, spacing, alpha, length, extra);
  bar->number = number;
  return bar;
}

// A straight working slip surface from a to b.
inline std::unique_ptr<CSpSlideWork> StraightSlip(CDPoint a, CDPoint b) {
  auto slip = std::make_unique<CSpSlideWork>();
  slip->AddNewPoint(a, nullptr, 0);
  slip->AddNewPoint(b, nullptr, 0);
  return slip;
}

// Where the line through a1 and a2 meets the line through b1 and b2 (Cramer's rule).
inline CDPoint LineCrossing(CDPoint a1, CDPoint a2, CDPoint b1, CDPoint b2) {
  const double dax = a2.x - a1.x;
  const double day = a2.y - a1.y;
  const double dbx = b2.x - b1.x;
  const double dby = b2.y - b1.y;
  const double t = ((b1.x - a1.x) * dby - (b1.y - a1.y) * dbx) / (dax * dby - day * dbx);
  return CDPoint(a1.x + t * dax, a1.y + t * day);
}

// The tail of a bar worked out by hand: inserted length along the bar from the head.
inline CDPoint HandTail(CDPoint head, int side, double alphaDeg, double inserted) {
  const double a = alphaDeg * std::numbers::pi / 180;
  const double dx = std::cos(a) * inserted;
  const double dy = -std::sin(a) * inserted;
  return CDPoint(head.x + (side == CReinforce::kSidePlusX ? dx : -dx), head.y + dy);
}

// Half up to the millimetre, as written down by hand.
inline double HandRound(double x) { return std::floor((x * 10000 + 5) / 10) / 1000; }

// The index of the stratum polygon with that soil name; -1 when none has it.
inline int StratumIndex(const CDPolyArray& strata, const std::string& name) {
  for (int i = 0; i < strata.GetSize(); ++i) {
    const auto* block = dynamic_cast<const CSpStratumBlock*>(strata.GetAt(i));
    if (block != nullptr && block->GetPropPtr()->GetName() == name) return i;
  }
  return -1;
}
