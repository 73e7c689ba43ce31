#pragma once
// CSlice::SortDEVY, CSlice::DelSameDEVY, the insertion of the water levels and the hanging
// layers' search, inline: the division orders and thins the boundaries of every slice it makes,
// inserts its water levels and looks for the layers that hang, in lists of a few entries on
// which the calls cost about as much as the work.

#include <cmath>
#include <cstddef>
#include <utility>
#include <vector>

#include "core/base/CoreConfig.h"
#include "core/circle/Slice.h"
#include "core/circle/SliceSoil.h"
#include "core/geometry/DPoint.h"
#include "core/geometry/DPolyArray.h"

namespace slice_boundaries {

// Boundaries closer than this count as one for the ordering, and for the thinning.
inline constexpr double kSameBoundarySort = 1e-6;
inline constexpr double kSameBoundary = 1e-5;

inline bool Coincide(const tagDEVY& a, const tagDEVY& b, double tol) {
  return std::fabs(a.leftY - b.leftY) < tol && std::fabs(a.rightY - b.rightY) < tol;
}

// Whether each boundary lies at or below the one before it on both sides. The exchange sort of
// SortDEVY swaps none of them then: it swaps a pair only on a difference above 0, and both sides'
// differences of any pair are at most 0 (or not a number, where a side holds the same infinity
// in both).
inline bool DescendsOnBothSides(const std::vector<tagDEVY>& b) {
  for (std::size_t i = 0; i + 1 < b.size(); ++i) {
    if (!(b[i + 1].leftY <= b[i].leftY && b[i + 1].rightY <= b[i].rightY)) return false;
  }
  return true;
}

// A boundary entry as a level: without its hang flag.
inline tagDEVY WithoutFlag(const tagDEVY& entry) {
  return tagDEVY{entry.leftY, entry.rightY, entry.shape, 0};
}

}  // namespace slice_boundaries

inline void CSlice::SortDEVY() {
  using slice_boundaries::Coincide;
  auto& b = boundaries_;
  const std::size_t n = b.size();
  // The strata's edges mostly give their entries from the top down: a list that already descends
  // is left as the exchange would leave it, without its n^2 / 2 comparisons.
  if (!slice_boundaries::DescendsOnBothSides(b)) {
    // An entry compared with itself differs by nothing and is never swapped: j starts past i.
    for (std::size_t i = 0; i + 1 < n; ++i) {
      for (std::size_t j = i + 1; j < n; ++j) {
        const double dl = b[j].leftY - b[i].leftY;
        const double dr = b[j].rightY - b[i].rightY;
        const double d = std::fabs(dl) <= std::fabs(dr) ? dr : dl;
        if (d > 0) std::swap(b[i], b[j]);
      }
    }
  }
  const CDPoly* above = nullptr;  // the shape of the entry before, as it stays
  for (std::size_t i = 0; i + 1 < n; ++i) {
    if (Coincide(b[i], b[i + 1], slice_boundaries::kSameBoundarySort) && b[i].shape != above) {
      std::swap(b[i], b[i + 1]);
    }
    above = b[i].shape;
  }
}

inline void CSlice::DelSameDEVY() {
  auto& b = boundaries_;
  const std::size_t n = b.size();
  // Entry k is dropped where it coincides with entry k + 1 and continues the shape carried from
  // the pair before. Past the first pair the entry compared always does (it was that pair's
  // lower one, or took the dropped one's place); the first pair needs an entry without a shape,
  // or a straight base of which it is the last pair. The pairs compared are thus those of
  // neighbouring entries as they were, which stay in place while the kept ones move up.
  const auto drops = [&b, n, this](std::size_t k) {
    return slice_boundaries::Coincide(b[k], b[k + 1], slice_boundaries::kSameBoundary) &&
           (k > 0 || b[0].shape == nullptr || (arc_ == nullptr && n == 2));
  };
  std::size_t k = 0;
  while (k + 1 < n && !drops(k)) ++k;
  if (k + 1 >= n) return;
  std::size_t kept = k;
  for (++k; k + 1 < n; ++k) {
    if (!drops(k)) b[kept++] = b[k];
  }
  b[kept++] = b[n - 1];
  b.erase(b.begin() + static_cast<std::ptrdiff_t>(kept), b.end());
}

inline bool CSlice::InsertLevel(const tagDEVY& level) {
  const double mean = MeanY(level);
  const std::size_t n = boundaries_.size();
  if (n < 2) return false;
  // Each boundary's mean is found once, as the lower one of its pair and then the upper one.
  double upperMean = MeanY(boundaries_[0]);
  for (std::size_t i = 0; i + 1 < n; ++i) {
    const tagDEVY& upper = boundaries_[i];
    const tagDEVY& lower = boundaries_[i + 1];
    const double lowerMean = MeanY(lower);
    if (slice_soil::SameOnBothSides(upper, level) || (lowerMean < mean && mean < upperMean)) {
      // The new entry's fields are written in place: an entry built aside and copied in whole
      // would be read back in wider pieces than it was written in, which stalls the copy.
      const CDPoly* shape = upper.shape;
      tagDEVY& inserted =
          *boundaries_.insert(boundaries_.begin() + static_cast<std::ptrdiff_t>(i) + 1, tagDEVY{});
      inserted.leftY = level.leftY;
      inserted.rightY = level.rightY;
      inserted.shape = shape;
      return true;
    }
    upperMean = lowerMean;
  }
  return false;
}

inline void CSlice::SetWaterLevel(const tagDEVY& level) {
  water_ = slice_boundaries::WithoutFlag(level);
  InsertLevel(water_);
}

inline void CSlice::SetUpperWaterLevel(const tagDEVY& level) {
  upper_ = slice_boundaries::WithoutFlag(level);
  InsertLevel(upper_);
}

inline void CSlice::SetImperLayerLevel(const tagDEVY& level) {
  imper_ = slice_boundaries::WithoutFlag(level);
  InsertLevel(imper_);
}

template <class FindPolygon>
inline void CSlice::HangLayers(FindPolygon find) {
  const int n = GetDEVYCount();
  if (n == 0) return;
  // The flags are cleared as the pass goes, the outer ones first: the layers' heights and
  // centroids do not read them.
  boundaries_.front().flag = 0;
  boundaries_.back().flag = 0;
  for (int i = 1; i + 1 < n; ++i) {
    tagDEVY& d = boundaries_[static_cast<std::size_t>(i)];
    d.flag = 0;
    if (d.shape != boundaries_[static_cast<std::size_t>(i) - 1].shape) continue;
    // Few boundaries continue the shape above (a water level inserted in a layer, mostly): the
    // rounding is read for them alone.
    const TrapezoidLayer layer = GetTrapezoidLayer(i, CCoreConfig::GetCalcRounding());
    if (const CDPoly* found = find(layer.centroid)) {
      d.shape = found;
    } else if (layer.heightLeft > kFlatLayer && layer.heightRight > kFlatLayer) {
      d.flag = 1;
    }
  }
}

inline void CSlice::SetHang(CDPolyArray& strata, const CDPolyArray::Outlines& outlines) {
  HangLayers([&strata, &outlines](const CDPoint& p) { return strata.FindPolygon(&p, outlines); });
}
