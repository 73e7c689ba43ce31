#pragma once
// The soil of a slice's layers, inline for the pass over the layers that sums a slice's weights
// (Slice.cpp) as for the soil queries (SliceWater.cpp): the pass asks for every layer of every
// slice, and a call per layer would cost as much as the unit weight itself.

#include <bit>
#include <cstdint>

#include "core/circle/Slice.h"
#include "core/model/Danmen.h"
#include "core/section/SpStratum.h"

namespace slice_soil {

// v == kNoValue, told by its bits: the marker is a finite number other than 0, which no other bit
// pattern equals. A conjunction of two such integer tests compiles to two compares and branches,
// where the floating-point inequalities' unordered cases make flag arithmetic of it.
inline bool IsUnset(double v) {
  return std::bit_cast<std::uint64_t>(v) == std::bit_cast<std::uint64_t>(kNoValue);
}

inline bool IsSet(const tagDEVY& level) { return !IsUnset(level.leftY) && !IsUnset(level.rightY); }

inline bool SameOnBothSides(const tagDEVY& a, const tagDEVY& b) {
  return a.leftY == b.leftY && a.rightY == b.rightY;
}

}  // namespace slice_soil

inline bool CSlice::LiesAboveWater(const tagDEVY& d) const {
  using slice_soil::IsSet;
  const double mean = MeanY(d);
  if (IsSet(upper_)) {
    if (slice_soil::SameOnBothSides(d, upper_)) return false;
    if (IsSet(imper_)) {
      const bool between = d.leftY <= upper_.leftY && d.rightY <= upper_.rightY &&
                           d.leftY >= imper_.leftY && d.rightY >= imper_.rightY;
      if (between && mean > MeanY(imper_) && !(mean > MeanY(upper_))) return false;
    } else if (!(MeanY(upper_) < mean)) {
      return false;
    }
  }
  if (IsSet(water_)) return mean > MeanY(water_);
  return true;
}

inline double CSlice::LayerGamma(int i, const CSpStratumBlock*& block, int kind) const {
  const tagDEVY& top = boundaries_[static_cast<std::size_t>(i)];
  const CDPoly* shape = top.shape;
  // A shape that is the block carried down is known without asking its kind.
  int shapeKind = kKindStratumBlock;
  if (shape != nullptr && shape != block) {
    shapeKind = shape->WhatKind();
    if (shapeKind == kKindStratumBlock) block = static_cast<const CSpStratumBlock*>(shape);
  }
  if (top.flag != 0) return 0;
  if (shape == nullptr) {
    return slice_soil::IsSet(water_) && section_ != nullptr ? section_->GetGammaW() : 0;
  }
  if (block == nullptr) return 0;
  // A boundary from a water line lies in the water (IsMoist).
  const bool moist = shapeKind != kKindWater && LiesAboveWater(top);
  return UnitWeight(*block->GetPropStructure(), kind, moist);
}
