#pragma once
// CDPoly::GetDEVYOfEdgeCuts, which hands each boundary entry straight to the caller, and the
// rules of cuts and entries that it shares with the other boundary queries (DPolyProfile.cpp),
// inline: the division asks them for every cut of every stratum edge.

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <span>

#include "core/geometry/DPoly.h"

namespace dpoly_cuts {

inline constexpr double kSnapToCut = 0.001;  // a segment end this close to a cut x reaches the cut

// The mean of a boundary's heights at the two cuts does not lie below ylimit.
inline bool MeanReaches(double leftY, double rightY, double ylimit) {
  return !((leftY + rightY) / 2 < ylimit);
}

// The entry of a boundary at the two cuts, unless its mean lies below ylimit.
inline bool EntryAbove(double leftY, double rightY, const CDPoly* shape, double ylimit,
                       tagDEVY& record) {
  if (!MeanReaches(leftY, rightY, ylimit)) return false;
  record = {leftY, rightY, shape, 0};
  return true;
}

inline double SnapToCut(double x, double cut) { return std::fabs(x - cut) < kSnapToCut ? cut : x; }

// The reach of cuts at x1 and x2: a segment wholly beyond the cuts and their snap distance cannot
// span them.
struct CutReach {
  double left;
  double right;
  CutReach(double x1, double x2)
      : left(std::min(x1, x2) - 2 * kSnapToCut), right(std::max(x1, x2) + 2 * kSnapToCut) {}
  bool Misses(double segmentLeft, double segmentRight) const {
    return segmentRight < left || segmentLeft > right;
  }
};

// The first of the cuts between neighbouring xs (ascending) that may reach x: those before it lie
// left of x beyond their reach. A plain bisection, as std::partition_point probes: over an iota
// view of std::size_t it would count in 128 bits.
inline std::size_t FirstCutReaching(std::span<const double> xs, double x) {
  std::size_t first = 0;
  std::size_t count = xs.size() - 1;
  while (count > 0) {
    const std::size_t half = count / 2;
    const std::size_t mid = first + half;
    if (x > CutReach(xs[mid], xs[mid + 1]).right) {
      first = mid + 1;
      count -= half + 1;
    } else {
      count = half;
    }
  }
  return first;
}

}  // namespace dpoly_cuts

inline bool CDPoly::DEVYOfSpanningEdge(const EdgeRange& edge, double x1, double x2, double ylimit,
                                       tagDEVY& record) const {
  using dpoly_cuts::SnapToCut;
  // Ends within the snap distance of a cut reach it.
  double d = SnapToCut(edge.left.x, x1);
  d = SnapToCut(d, x2);
  // A cut that starts left of the edge's left end fails on that end alone, without the right one.
  if (!(d <= x1)) return false;
  double f = SnapToCut(edge.right.x, x1);
  f = SnapToCut(f, x2);
  if (!(x2 <= f && d != f)) return false;
  // Heights inside the segment come from this segment itself, so that a line that folds back
  // over the cut never mixes the heights of two different segments in one entry.
  const double leftY = x1 == d ? edge.left.y : edge.YAt(x1);
  const double rightY = x2 == f ? edge.right.y : edge.YAt(x2);
  return dpoly_cuts::EntryAbove(leftY, rightY, this, ylimit, record);
}

template <class Sink>
void CDPoly::GetDEVYOfEdgeCuts(const EdgeRange& edge, std::span<const double> xs,
                               std::span<const double> ylimits, Sink&& sink) const {
  using dpoly_cuts::CutReach;
  using dpoly_cuts::kSnapToCut;
  if (xs.size() < 2) return;
  const std::size_t cuts = xs.size() - 1;
  // A copy: what the sink writes could alias the edge as far as the compiler knows, which would
  // then read its ends anew for every cut.
  const EdgeRange e = edge;
  // The cuts left of the edge's reach come first and those right of it last, xs ascending: the
  // first cut it reaches is found by bisection.
  const std::size_t lo = dpoly_cuts::FirstCutReaching(xs, e.left.x);
  // Cuts that lie inside the edge beyond the snap distance from both its ends take the edge's
  // heights at both cuts; they form one run, as the distances from the ends only shrink and grow
  // along the ascending xs, and neighbouring ones share the height at their common cut. The cuts
  // before and after the run reach an end of the edge, or lie beyond it.
  const auto inside = [&](std::size_t i) {
    return xs[i] - e.left.x >= kSnapToCut && e.right.x - xs[i + 1] >= kSnapToCut;
  };
  const auto beyond = [&](std::size_t i) { return e.right.x < CutReach(xs[i], xs[i + 1]).left; };
  const auto atAnEnd = [&](std::size_t i) {
    tagDEVY record;
    if (DEVYOfSpanningEdge(e, xs[i], xs[i + 1], ylimits[i], record)) sink(i, record);
  };
  std::size_t i = lo;
  // A cut inside the edge never lies beyond it.
  for (; i < cuts && !inside(i); ++i) {
    if (beyond(i)) return;
    atAnEnd(i);
  }
  if (i < cuts) {
    // Past the run's first cut every cut keeps the snap distance from the left end.
    double rightY = e.YAt(xs[i]);
    for (; i < cuts && e.right.x - xs[i + 1] >= kSnapToCut; ++i) {
      const double leftY = rightY;
      rightY = e.YAt(xs[i + 1]);
      if (dpoly_cuts::MeanReaches(leftY, rightY, ylimits[i])) {
        sink(i, tagDEVY{leftY, rightY, this, 0});
      }
    }
  }
  for (; i < cuts && !beyond(i); ++i) atAnEnd(i);
}
