#pragma once
// The measures of a slice (width, segment area, base length) and the direction of its base, inline
// for the slice method, which takes them for every slice (CalcBase.cpp) without a call, as for the
// slice's own quantities (Slice.cpp, SliceWater.cpp).

#include <cmath>
#include <numbers>

#include "core/base/Constants.h"
#include "core/circle/Slice.h"
#include "core/geometry/DPoint.h"

inline double CSlice::Width(const CalcRounding& rounding) const {
  return rounding.Round(xRight_ - xLeft_, kRoundCodeWidth);
}

inline double CSlice::Length(const CalcRounding& rounding) const {
  if (arc_ != nullptr) {
    double sweep = NormalizeAngle(arc_->end) - NormalizeAngle(arc_->start);
    if (sweep < 0) sweep += 2 * std::numbers::pi;
    return rounding.Round(arc_->R * sweep, kRoundCodeLength);
  }
  const tagDEVY* base = GetLastDEVY();
  if (base == nullptr) return 0;
  const CDPoint left(xLeft_, base->leftY);
  const CDPoint right(xRight_, base->rightY);
  return rounding.Round(Hypot(left, right), kRoundCodeLength);
}

inline CSlice::Measures CSlice::GetMeasures(const CalcRounding& rounding) const {
  if (arc_ == nullptr) return Measures{Width(rounding), 0.0, Length(rounding), rounding};
  // Width and KoArea side by side.
  const CalcRounding::Pair widthAndSegment =
      rounding.RoundPair(xRight_ - xLeft_, kRoundCodeWidth, segmentArea_, kRoundCodeArea);
  return Measures{widthAndSegment.a, widthAndSegment.b, Length(rounding), rounding};
}

inline CSlice::BottomDirection CSlice::GetBottomDirection(double x) const {
  if (arc_ == nullptr) {
    const tagDEVY* base = GetLastDEVY();
    if (base == nullptr) return BottomDirection{};
    // The chord's rise over the slice's width.
    const double rise = base->rightY - base->leftY;
    const double run = GetWidth();
    return DirectionOf(std::atan2(rise, run), rise, run);
  }
  // Strictly between the ends of an arc below its centre the vertical's lower crossing lies on
  // the arc: the sweep tests that LowestYAt makes are spared.
  const bool inside = arc_->LiesBelowCentre() && arcEnds_.start < x && x < arcEnds_.end;
  double y = inside ? arc_->LowerCrossingYAt(x, arcTerms_) : kNoValue;
  if (y == kNoValue) y = arc_->LowestYAt(x, &arcEnds_);
  if (y == kNoValue) {
    // A vertical line through an end of the arc may miss it by a rounding error.
    for (const CDPoint& end : {arc_->GetStart(), arc_->GetEnd()}) {
      if (y == kNoValue && std::fabs(end.x - x) < kSamePoint) y = end.y;
    }
  }
  if (y == kNoValue) return BottomDirection{};
  // The tangent is the radius to the base point turned by a right angle: its sine is the
  // radius's cosine and its cosine the negative of the radius's sine.
  const double dx = x - arc_->centre.x;
  const double dy = y - arc_->centre.y;
  return DirectionOf(std::atan2(dy, dx) + std::numbers::pi / 2, dx, -dy);
}

inline CSlice::BottomDirection CSlice::DirectionOf(double angle, double sinPart, double cosPart) {
  const double length = std::sqrt(sinPart * sinPart + cosPart * cosPart);
  if (length == 0) return BottomDirection{angle, std::sin(angle), std::cos(angle)};
  return BottomDirection{angle, sinPart / length, cosPart / length};
}
