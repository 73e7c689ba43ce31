#pragma once
// The inside test's ray (CDPoly::InsideRay): its setup, the sides of points from it, and its pass
// over a shape's edges, inline: the slice division asks for the stratum of a layer in many slices
// of every circle (CDPolyArray::FindPolygon over the strata's outlines), and beside that short
// work the calls cost a tenth of the search.

#include <cmath>
#include <limits>
#include <span>

#include "core/base/Constants.h"
#include "core/geometry/DPoint.h"
#include "core/geometry/DPoly.h"

namespace dpoly_inside {

inline constexpr int kOnBoth = 3;  // CrossLL: the crossing lies on both segments

// The ray's slant keeps it off the vertical and horizontal directions of typical vertices.
inline constexpr double kRayAngle = 0.33;
inline constexpr double kLongRay = 30000.0;
// The ray runs to the right and upwards, and a crossing counts only strictly right of the point,
// where the ray lies at or above the point: an edge wholly left of the point or wholly below it
// is not tested, nor an edge whose ends lie on one side of the ray's line. The margin lies far
// above the rounding of a computed crossing and far below any drawn distance.
inline constexpr double kOffRay = CDPoly::kInsideTestMargin;
// The distance of a point from the ray's line times the ray's length.
inline constexpr double kOffLine = kOffRay * kLongRay;

// Both ends of an edge, at these sides (InsideRay::Side), lie clearly on one side of the ray's
// line.
inline bool BothOnOneSide(double sa, double sb) {
  return (sa > kOffLine && sb > kOffLine) || (sa < -kOffLine && sb < -kOffLine);
}

// An edge whose ends lie farther than this from the ray's line on either side, and whose line
// lies this far from the ray's ends, between them, counts without its crossing computed where the
// crossing's rounding (below kCrossingError, from terms of the size kTermRounding times the
// coordinates and slopes, a wide bound of a few roundings) cannot move it across an end: twice
// CrossLL's same-point distance, far above any rounding of the coordinates.
inline constexpr double kClearOfLine = 2 * kSamePoint;
inline constexpr double kClearSide = kClearOfLine * kLongRay;
inline constexpr double kCrossingError = 1e-6;
inline constexpr double kTermRounding = 1e-13;
inline constexpr double kDistinctSlopes = 1e-4;
// For a ray from p and a point q, both within kAcrossReach of the origin in x and y, kLongRay
// times (Across(q) - Across(p)) differs from Side(q) by less than 1e-3: the rounding of the ray's
// run and rise (below 2e-10, as they are taken from coordinates up to 1e6) times differences up to
// 2e6, and that of the products and of Across. An edge end farther than kAcrossMargin across from
// p thus lies at a side beyond 3 - 1e-3 on that side, far outside the test's kOffLine.
inline constexpr double kAcrossReach = 1e6;
inline constexpr double kAcrossMargin = 1e-4;
inline const double kRayRun = std::cos(kRayAngle);
inline const double kRayRise = std::sin(kRayAngle);

}  // namespace dpoly_inside

inline CDPoly::InsideRay::InsideRay(const CDPoint& p)
    : p_(p),
      end_(p.x + dpoly_inside::kLongRay * std::cos(dpoly_inside::kRayAngle),
           p.y + dpoly_inside::kLongRay * std::sin(dpoly_inside::kRayAngle)),
      dx_(end_.x - p.x),
      dy_(end_.y - p.y),
      slope_(SegmentSlope(p_, end_)) {}

inline double CDPoly::InsideRay::Side(const CDPoint& q) const {
  return (q.x - p_.x) * dy_ - (q.y - p_.y) * dx_;
}

inline CDPoly::InsideRay::Verdict CDPoly::InsideRay::ClearVerdict(const InsideEdge& edge, double sa,
                                                                  double sb) const {
  using dpoly_inside::kClearSide;
  // The ray's ends against the edge's line, the sides scaled by the edge's run and rise, which
  // bound its length: farther than kClearOfLine from the line on opposite sides, the exact
  // crossing of the lines lies inside the ray, at least that far from its ends; on one side, it
  // lies outside the ray, at least that far from it.
  const auto edgeSide = [&](const CDPoint& q) {
    return edge.runX * (q.y - edge.a.y) - edge.runY * (q.x - edge.a.x);
  };
  const double clear = edge.clear;
  const double sp = edgeSide(p_);
  const double se = edgeSide(end_);
  const bool rayAcross = (sp > clear && se < -clear) || (sp < -clear && se > clear);
  const bool rayAside = (sp > clear && se > clear) || (sp < -clear && se < -clear);
  if (!rayAcross && !rayAside) return Verdict::kUnsure;
  if (rayAcross) {
    // To count, each end of the edge lies farther than kClearOfLine from the ray's line, on
    // opposite sides: neither is within CrossLL's same-point distance of the ray's ends, and the
    // exact crossing lies inside the edge, at least that far from its ends.
    if (!((sa > kClearSide && sb < -kClearSide) || (sa < -kClearSide && sb > kClearSide))) {
      return Verdict::kUnsure;
    }
  }
  // A vertical edge takes CrossLL's vertical step, whose rounding stays far within the margins.
  // Otherwise the crossing is computed from both slopes; its rounding error stays below
  // kCrossingError where the slopes differ by more than the error of their terms allows (which
  // also keeps them far from CrossLL's parallel case, a difference below 1e-6). Along the ray's
  // run, which CrossLL tests it on, the crossing then stays on its side of the ray's ends.
  if (!std::isinf(edge.slope)) {
    const double apart = std::fabs(slope_ - edge.slope);
    const double terms = edge.absAY + std::fabs(p_.y) +
                         (edge.absXs + std::fabs(p_.x)) * (std::fabs(slope_) + edge.absSlope);
    if (!(apart > dpoly_inside::kDistinctSlopes &&
          apart * dpoly_inside::kCrossingError > dpoly_inside::kTermRounding * terms)) {
      return Verdict::kUnsure;
    }
  }
  return rayAcross ? Verdict::kCounts : Verdict::kMisses;
}

inline bool CDPoly::InsideRay::CrossesOddly(std::span<const InsideEdge> edges) const {
  const double left = p_.x - dpoly_inside::kOffRay;
  int count = 0;
  const double below = p_.y - dpoly_inside::kOffRay;
  for (const InsideEdge& edge : edges) {
    // This edge and every one after it lie wholly left of the point.
    if (edge.reach < left) break;
    // The rest of MayCross: the edge's reach is its greatest x.
    if (edge.top < below) continue;
    const double sa = Side(edge.a);
    const double sb = Side(edge.b);
    if (dpoly_inside::BothOnOneSide(sa, sb)) continue;
    const Verdict verdict = ClearVerdict(edge, sa, sb);
    CDPoint cross;
    if (verdict == Verdict::kCounts ||
        (verdict == Verdict::kUnsure && CrossLL(0.0, &p_, &end_, slope_, &edge.a, &edge.b,
                                                edge.slope, &cross) == dpoly_inside::kOnBoth)) {
      ++count;
    }
  }
  return count % 2 == 1;
}

inline double CDPoly::InsideRay::Across(const CDPoint& q) {
  using dpoly_inside::kAcrossReach;
  if (!(std::fabs(q.x) <= kAcrossReach && std::fabs(q.y) <= kAcrossReach)) {
    return std::numeric_limits<double>::quiet_NaN();
  }
  return q.x * dpoly_inside::kRayRise - q.y * dpoly_inside::kRayRun;
}
