#pragma once
// The measures of a slice (width, segment area, base length), inline for the slice method, which
// takes them for every slice (CalcBase.cpp), as for the slice's own quantities (Slice.cpp,
// SliceWater.cpp), without a call for every slice.

#include <numbers>

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
