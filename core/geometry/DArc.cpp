#include "core/geometry/DArc.h"

#include <algorithm>
#include <array>
#include <bit>
#include <climits>
#include <cmath>
#include <cstdint>
#include <limits>
#include <numbers>
#include <optional>
#include <span>

#include "core/base/Constants.h"
#include "core/geometry/DPolyArray.h"
#include "core/geometry/ViewInfo.h"
#include "platform/Canvas.h"

namespace {

constexpr double kPi = std::numbers::pi;
constexpr double kTwoPi = 2 * std::numbers::pi;

double ToRadians(double angle, bool degrees) { return degrees ? DegToRad(angle) : angle; }

using darc_detail::HalfOpenAngle;

// Whether the angle lies in the sweep from s to e, ends included; all three in [0, 2pi). When
// the end is not above the start the sweep wraps through 0.
bool SweepHolds(double s, double e, double angle) {
  if (e <= s) return angle >= s || angle <= e;
  return s <= angle && angle <= e;
}

}  // namespace

namespace {

// A line perpendicular to the direction a->b through a given point: vertical when a and b have
// the same y, otherwise y = m x + b.
struct NormalLine {
  bool vertical = false;
  double x = 0;
  double m = 0;
  double b = 0;
};

NormalLine NormalThrough(const CDPoint& a, const CDPoint& b, const CDPoint& through) {
  if (a.y == b.y) return {true, through.x, 0, 0};
  const double m = -((b.x - a.x) / (b.y - a.y));
  return {false, through.x, m, through.y - through.x * m};
}

// The crossing of two normal lines; none when they are parallel.
std::optional<CDPoint> Crossing(const NormalLine& n1, const NormalLine& n2) {
  if (n1.vertical && n2.vertical) return std::nullopt;
  if (n1.vertical) return CDPoint(n1.x, n1.x * n2.m + n2.b);
  if (n2.vertical) return CDPoint(n2.x, n2.x * n1.m + n1.b);
  if (std::fabs(std::fabs(n1.m) - std::fabs(n2.m)) < 1e-6 && n1.m * n2.m > 0) return std::nullopt;
  const double x = (n2.b - n1.b) / (n1.m - n2.m);
  return CDPoint(x, x * n1.m + n1.b);
}

CDPoint Midpoint(const CDPoint& a, const CDPoint& b) { return (a + b) / 2.0; }

// Three points on one horizontal or one vertical line carry no circle.
bool AllSameYOrSameX(const CDPoint& p1, const CDPoint& p2, const CDPoint& p3) {
  return (p1.y == p2.y && p2.y == p3.y) || (p1.x == p2.x && p2.x == p3.x);
}

// On the edge's segment: within its range along the dominant axis of a-b (ends included), or
// within tol of an end. No distance lies within a tolerance of 0: the vertical queries of every
// slice skip the distances. Inline: every crossing of a segment with an arc is tested.
[[gnu::always_inline]] inline bool IsOnSegment(const CDPoint& p, const CDArc::Edge& edge,
                                               double tol) {
  // The range, the cheaper test, first: most points that count lie between the ends.
  const CDArc::Box& box = edge.box;
  const bool between =
      edge.alongX ? box.left <= p.x && p.x <= box.right : box.bottom <= p.y && p.y <= box.top;
  return between || (tol > 0 && (IsCloser(p, edge.a, tol) || IsCloser(p, edge.b, tol)));
}

int IncrementSaturated(int v) { return v == INT_MAX ? v : v + 1; }

// The first terms of ClearanceMargin's scale, which depend on the circle alone.
double CircleScale(const CDPoint& centre, double r) {
  return r + std::fabs(centre.x) + std::fabs(centre.y);
}

// The terms of ClearanceMargin's scale that depend on the segment a-b alone.
double SegmentSizes(const CDPoint& a, const CDPoint& b) {
  return std::fabs(a.x) + std::fabs(a.y) + std::fabs(b.x) + std::fabs(b.y);
}

// The margin by which a segment that certainly has no point that CrossAL with a tolerance up to
// tol could count keeps clear of the circle (circleScale its CircleScale, segmentSizes its
// SegmentSizes): a counted crossing lies on the circle and within tol of an end or inside the
// segment's box, both up to the rounding of a few operations on the coordinates and the radius
// (about 1e-15 of their scale); the margin, a relative 1e-9 of that scale beyond tol, covers it
// by far.
double ClearanceMargin(double segmentSizes, double circleScale, double tol) {
  return tol + 1e-9 * (circleScale + segmentSizes);
}

// Whether the segment a-b (of that box) certainly has no point that CrossAL could count: its box
// lies apart by more than the margin from the clearance's box, or it lies inside the circle.
// CrossAL would have found nothing either. Above the centre by that margin, a crossing's
// direction lies clear inside (0, pi).
bool SegmentClearOfCircle(const CDArc::Box& box, const CDPoint& a, const CDPoint& b,
                          const CDPoint& centre, double r, const CDArc::Box& circle,
                          double margin) {
  if (box.right < circle.left - margin || box.left > circle.right + margin ||
      box.top < circle.bottom - margin || box.bottom > circle.top + margin) {
    return true;
  }
  // Both ends nearer the centre than r by twice the margin (their squares compared, which round
  // far inside it): the whole segment keeps more than the margin from the circle. Where its line
  // crosses the circle, beyond its ends along the line and so along its dominant axis too, lies
  // further than the margin from either end, and CrossAL finds it within the rounding, also for a
  // line near a tangent (its half chord is then at least the root of 2 r times the margin, which
  // keeps the root's rounding more than fifty times below the margin): nothing counts.
  const double inner = r - 2 * margin;
  const auto within = [&centre, inner](const CDPoint& p) {
    const double dx = p.x - centre.x;
    const double dy = p.y - centre.y;
    return dx * dx + dy * dy < inner * inner;
  };
  return inner > 0 && within(a) && within(b);
}

// Whether the edge's segment lies wholly outside the circle, farther from the centre than r by
// twice the margin: the point of the segment nearest the centre is found within a rounding of the
// coordinates' scale, far below the margin, and every crossing CrossAL could count lies on the
// circle, on the segment's line and within tol of the segment.
bool EdgeOutsideCircle(const CDArc::Edge& edge, const CDPoint& centre, double r, double margin) {
  const double outer = r + 2 * margin;
  return SquaredSegmentDistance(centre, edge.a, edge.dx, edge.dy, edge.length2) > outer * outer;
}

// atan on [0, 1] within 2e-8 radians: the polynomial of Abramowitz and Stegun 4.4.49 in t^2,
// summed in pairs (Estrin's scheme) so that its terms do not wait for one another.
double RoughAtanUnit(double t) {
  const double u = t * t;
  const double u2 = u * u;
  const double u4 = u2 * u2;
  const double low = (1.0 - 0.3333314528 * u) + (0.1999355085 - 0.1420889944 * u) * u2;
  const double high = (0.1065626393 - 0.0752896400 * u) + (0.0429096138 - 0.0161657367 * u) * u2;
  return t * (low + high * u4 + 0.0028662257 * (u4 * u4));
}

// atan2(y, x) within 1e-7 radians, in (-pi, pi]; NaN when x and y are both 0 or not finite.
double RoughAtan2(double y, double x) {
  const double ax = std::fabs(x);
  const double ay = std::fabs(y);
  double a = RoughAtanUnit(std::min(ax, ay) / std::max(ax, ay));
  if (ay > ax) a = kPi / 2 - a;
  if (x < 0) a = kPi - a;
  return y < 0 ? -a : a;
}

// A range of angles widened by this on both sides surely holds the angle that atan2 gives for a
// direction whose rough angle (an error below 1e-7) or quadrant gave the range.
constexpr double kRoughAngleMargin = 1e-6;

// Whether the angle b (in [0, 2pi)) lies within the margin of the range that runs
// counter-clockwise from lo over width, around the circle.
bool RangeReaches(double lo, double width, double b) {
  double d = b - lo;
  if (d < 0) d += kTwoPi;
  return !(d > width + kRoughAngleMargin && d < kTwoPi - kRoughAngleMargin);
}

}  // namespace

CDArc::CDArc(DevPoint c, double r, double startAngle, double endAngle, bool degrees)
    : CDArc(static_cast<double>(c.x), static_cast<double>(c.y), r, startAngle, endAngle, degrees) {}

CDArc::CDArc(const CDPoint& c, double r, double startAngle, double endAngle, bool degrees)
    : CDArc(c.x, c.y, r, startAngle, endAngle, degrees) {}

CDArc::CDArc(double cx, double cy, double r, double startAngle, double endAngle, bool degrees)
    : centre(cx, cy),
      R(r),
      start(ToRadians(startAngle, degrees)),
      end(ToRadians(endAngle, degrees)) {}

void CDArc::SetParam(const CDPoint& c, double r, double startAngle, double endAngle) {
  centre = c;
  R = r;
  start = startAngle;
  end = endAngle;
}

double CDArc::LowerAngleAt(double x) const { return LowerPointAt(x).angle; }

CDArc::LowerPoint CDArc::WithItsAngle(const CDPoint& p) const {
  return LowerPoint{p, NormalizeAngle(MyAtan(&centre, &p))};
}

CDArc::LowerPoint CDArc::LowerPointAt(double x) const { return WithItsAngle(LowerHalfPoint(x)); }

CDArc::LowerPiece CDArc::LongPieceTo(const LowerPoint& from, const CDPoint& p) const {
  const LowerPoint to = WithItsAngle(p);
  CDArc piece(*this);
  piece.start = from.angle;
  piece.end = to.angle;
  return LowerPiece{to, piece.SegmentHalfSweep()};
}

std::unique_ptr<CDArc> CDArc::TrimCopy(double x1, double x2) const {
  if (!SpansX(x1) || !SpansX(x2)) return nullptr;
  auto arc = Copy();
  arc->start = LowerAngleAt(x1);
  arc->end = LowerAngleAt(x2);
  return arc;
}

void CDArc::SetSweepThrough(double aFrom, double aMid, double aTo) {
  const double lo = std::min(aFrom, aTo);
  const double hi = std::max(aFrom, aTo);
  const bool midInside = lo <= aMid && aMid <= hi;
  start = NormalizeAngle(midInside ? lo : hi);
  end = NormalizeAngle(midInside ? hi : lo);
}

bool CDArc::Set3P(const CDPoint* p1, const CDPoint* p2, const CDPoint* p3) {
  if (p1 == nullptr || p2 == nullptr || p3 == nullptr) return false;
  if (AllSameYOrSameX(*p1, *p2, *p3)) return false;
  const auto c = Crossing(NormalThrough(*p1, *p2, Midpoint(*p1, *p2)),
                          NormalThrough(*p2, *p3, Midpoint(*p2, *p3)));
  if (!c) return false;
  centre = *c;
  R = Hypot(*p1, centre);
  SetSweepThrough(MyAtan(&centre, p1), MyAtan(&centre, p2), MyAtan(&centre, p3));
  return true;
}

bool CDArc::Set1L1P(const CDPoint* p1, const CDPoint* p2, const CDPoint* p3) {
  if (p1 == nullptr || p2 == nullptr || p3 == nullptr) return false;
  if (AllSameYOrSameX(*p1, *p2, *p3)) return false;
  const CDPoint chordMid = Midpoint(*p2, *p3);
  const auto c = Crossing(NormalThrough(*p1, *p2, *p2), NormalThrough(*p2, *p3, chordMid));
  if (!c) return false;
  centre = *c;
  R = Hypot(*p2, centre);
  SetSweepThrough(MyAtan(&centre, p2), MyAtan(&centre, &chordMid), MyAtan(&centre, p3));
  return true;
}

bool CDArc::Set2L(const CDPoint* p1, const CDPoint* p2, const CDPoint* p3, const CDPoint* p4,
                  int type) {
  if (type == 2) return Set1L1P(p1, p2, p3);
  if (type == 3) return Set1L1P(p4, p3, p2);
  if (type != 0 && type != 1) return false;
  if (p1 == nullptr || p2 == nullptr || p3 == nullptr || p4 == nullptr) return false;
  if (AllSameYOrSameX(*p1, *p2, *p3)) return false;
  // Parallel lines have no corner to round.
  CDPoint corner;
  if (CrossLL(0, p1, p2, p3, p4, &corner) == -1) return false;
  CDPoint t1 = *p2;
  CDPoint t2 = *p3;
  if (type == 0) {
    OnlinePt(&corner, p4, Hypot(*p2, corner), &t2);
  } else {
    OnlinePt(&corner, p1, Hypot(*p3, corner), &t1);
  }
  const auto c = Crossing(NormalThrough(*p1, *p2, t1), NormalThrough(*p3, *p4, t2));
  if (!c) return false;
  centre = *c;
  R = Hypot(centre, type == 0 ? t2 : t1);
  SetSweepThrough(MyAtan(&centre, &t1), MyAtan(&centre, &corner), MyAtan(&centre, &t2));
  return true;
}

bool CDArc::Set2PR(const CDPoint& p1, const CDPoint& p2, double r, bool upper) {
  if (r == 0 || p1 == p2) return false;
  const double chord = Hypot(p1, p2);
  if (chord > 2 * r) return false;
  const CDPoint mid = Midpoint(p1, p2);
  const double halfChord = chord / 2;
  const double h = std::sqrt(r * r - halfChord * halfChord);
  const double phi = MyAtan(&p1, &p2) + kPi / 2;
  const CDPoint plus(mid.x + h * std::cos(phi), mid.y + h * std::sin(phi));
  const CDPoint minus(mid.x - h * std::cos(phi), mid.y - h * std::sin(phi));
  const bool takeMinus = upper ? minus.y > plus.y : minus.y < plus.y;
  centre = takeMinus ? minus : plus;
  R = r;
  const double b1 = NormalizeAngle(MyAtan(&centre, &p1));
  const double b2 = NormalizeAngle(MyAtan(&centre, &p2));
  CDArc reverse(*this);
  reverse.start = b2;
  reverse.end = b1;
  start = b1;
  end = b2;
  if (GetMid(0.5).y > reverse.GetMid(0.5).y) *this = reverse;
  return true;
}

CDPoint CDArc::PointAt(double angle) const {
  return CDPoint(centre.x + R * std::cos(angle), centre.y + R * std::sin(angle));
}

CDPoint CDArc::GetStart() const { return PointAt(start); }

CDPoint CDArc::GetEnd() const { return PointAt(end); }

CDPoint CDArc::GetMid(double t) const {
  const double unwrappedEnd = end > start ? end : end + kTwoPi;
  return PointAt(start + t * (unwrappedEnd - start));
}

CDArc::SweepQuadrants CDArc::NormalisedQuadrants() {
  if (start < 0) start = NormalizeAngle(start);
  if (end < 0) end = NormalizeAngle(end);
  const bool wraps = end <= start;
  SweepQuadrants quadrants{{CDPoint(centre.x + R, centre.y), CDPoint(centre.x, centre.y + R),
                            CDPoint(centre.x - R, centre.y), CDPoint(centre.x, centre.y - R)},
                           {}};
  for (std::size_t k = 0; k < 4; ++k) {
    const double angle = static_cast<double>(k) * kPi / 2;
    quadrants.inSweep[k] =
        wraps ? k == 0 || start <= angle || angle <= end : k != 0 && start <= angle && angle <= end;
  }
  return quadrants;
}

CDPoint CDArc::Extreme(int which, const SweepQuadrants& quadrants,
                       std::optional<EndPoints>& ends) const {
  // At most the four quadrant points and the two ends, referred to without a heap allocation or
  // a copy: the slip surface's extremes ask for them on every slip circle.
  std::array<const CDPoint*, 6> candidates{};
  std::size_t count = 0;
  // The quadrant point that lies furthest the asked way: x or y of the centre plus or minus R.
  constexpr int kFurthest[] = {2, 0, 3, 1};
  bool furthestInSweep = false;
  for (std::size_t k = 0; k < 4; ++k) {
    if (!quadrants.inSweep[k]) continue;
    candidates[count++] = &quadrants.points[k];
    if (which >= 0 && which < 4 && static_cast<int>(k) == kFurthest[which]) furthestInSweep = true;
  }
  // An end lies no further: R times a cosine or sine rounds to at most R, and the sum with the
  // centre's coordinate to at most that of R. It cannot replace that point, which the strict
  // comparisons below keep on a tie, so its sine and cosine are spared.
  if (!(furthestInSweep && R > 0)) {
    if (!ends) ends = EndPoints{GetStart(), GetEnd()};
    candidates[count++] = &ends->start;
    candidates[count++] = &ends->end;
  }

  const bool byY = which >= 2;
  const bool greatest = which % 2 == 1;
  const auto key = [byY](const CDPoint& p) { return byY ? p.y : p.x; };
  const CDPoint* best = candidates.front();
  for (const CDPoint* p : std::span(candidates).first(count)) {
    if (greatest ? key(*p) > key(*best) : key(*p) < key(*best)) best = p;
  }
  return *best;
}

CDPoint CDArc::GetMinMax(int which) {
  const SweepQuadrants quadrants = NormalisedQuadrants();
  std::optional<EndPoints> ends;
  return Extreme(which, quadrants, ends);
}

std::array<CDPoint, 4> CDArc::GetExtremes(const EndPoints* knownEnds) {
  // The ends stay those of the angles as they were unless normalising changes an angle.
  const bool keepsAngles = !(start < 0) && !(end < 0);
  const SweepQuadrants quadrants = NormalisedQuadrants();
  std::optional<EndPoints> ends;
  if (knownEnds != nullptr && keepsAngles) ends = *knownEnds;
  return {Extreme(0, quadrants, ends), Extreme(1, quadrants, ends), Extreme(2, quadrants, ends),
          Extreme(3, quadrants, ends)};
}

double CDArc::GetLength() const {
  const double s = NormalizeAngle(start);
  const double e = NormalizeAngle(end);
  return R * (e > s ? e - s : e - s + kTwoPi);
}

double CDArc::SegmentSweep() const {
  const double theta = end - start;
  return theta < 0 ? theta + kTwoPi : theta;
}

CDArc::HalfSweep CDArc::SegmentHalfSweep() const {
  const double theta = SegmentSweep();
  return HalfSweep{theta, std::sin(theta / 2), std::cos(theta / 2)};
}

double CDArc::GetKoArea() const { return SegmentArea(SegmentHalfSweep()); }

CDPoint CDArc::GetKoCenterBalance() const {
  return SegmentCentroid(SegmentHalfSweep(), GetStart(), GetEnd());
}

CDArc::Segment CDArc::GetKoSegment(const CDPoint& startPoint, const CDPoint& endPoint) const {
  return GetKoSegment(SegmentHalfSweep(), startPoint, endPoint);
}

bool CDArc::HoldsDirection(double dx, double dy) const {
  // Every crossing of every vertical query is tested. The sweep test changes its answer only at
  // the sweep's ends: over a range of angles that holds the direction's angle and lies clear of
  // both ends it gives one answer, whatever atan2 would round to. The quadrant gives such a range
  // from the signs alone, its half (an octant) from the larger leg, the rough angle a narrow one;
  // atan2 decides only near the ends.
  const double s = HalfOpenAngle(start);
  const double e = HalfOpenAngle(end);
  const auto decides = [s, e](double lo, double width) {
    return !RangeReaches(lo, width, s) && !RangeReaches(lo, width, e);
  };
  if (dx != 0 && dy != 0) {
    const double quadrant = dy > 0 ? (dx > 0 ? 0 : kPi / 2) : (dx < 0 ? kPi : 3 * kPi / 2);
    if (decides(quadrant, kPi / 2)) return SweepHolds(s, e, quadrant + kPi / 4);
    // A sweep that ends on an axis, as the lower half of a circle does, leaves one half of each
    // quadrant beside it clear: the half nearer the quadrant's first axis holds the direction
    // while the leg along that axis is the longer one (both halves hold the diagonal).
    const bool alongFirstAxis =
        (dx > 0) == (dy > 0) ? std::fabs(dy) < std::fabs(dx) : std::fabs(dx) < std::fabs(dy);
    const double octant = alongFirstAxis ? quadrant : quadrant + kPi / 4;
    if (decides(octant, kPi / 4)) return SweepHolds(s, e, octant + kPi / 8);
  }
  const double rough = HalfOpenAngle(RoughAtan2(dy, dx));
  if (decides(rough, 0)) return SweepHolds(s, e, rough);
  return SweepHolds(s, e, HalfOpenAngle(std::atan2(dy, dx)));
}

CDArc::Box CDArc::Box::Of(const CDPoint& a, const CDPoint& b) {
  return {std::min(a.x, b.x), std::max(a.x, b.x), std::min(a.y, b.y), std::max(a.y, b.y)};
}

CDArc::Edge::Edge(const CDPoint& from, const CDPoint& to)
    : a(from),
      b(to),
      degenerate(from == to),
      dx(to.x - from.x),
      dy(to.y - from.y),
      length2(dx * dx + dy * dy),
      ux(degenerate ? 0 : dx / std::sqrt(length2)),
      uy(degenerate ? 0 : dy / std::sqrt(length2)),
      box(Box::Of(from, to)),
      sizes(SegmentSizes(from, to)),
      alongX(std::fabs(dx) > std::fabs(dy)) {}

CDArc::Clearance CDArc::GetClearance() const {
  const double top = LiesBelowCentre() ? centre.y : centre.y + R;
  return Clearance{{centre.x - R, centre.x + R, centre.y - R, top}, CircleScale(centre, R)};
}

bool CDArc::ClearOfEdge(const Edge& edge, double tol, const Clearance& clearance) const {
  const double margin = ClearanceMargin(edge.sizes, clearance.scale, tol);
  return SegmentClearOfCircle(edge.box, edge.a, edge.b, centre, R, clearance.box, margin) ||
         EdgeOutsideCircle(edge, centre, R, margin);
}

int CDArc::CrossAL(const CDPoint& a, const CDPoint& b, CDPoint& out1, CDPoint& out2,
                   double tol) const {
  if (a == b) return -1;
  return CrossAL(Edge(a, b), out1, out2, tol);
}

[[gnu::always_inline]] inline std::optional<CDArc::LineCrossingPair> CDArc::LineCrossings(
    const Edge& edge) const {
  if (edge.degenerate) return std::nullopt;
  const CDPoint& a = edge.a;
  const double t = ((centre.x - a.x) * edge.dx + (centre.y - a.y) * edge.dy) / edge.length2;
  const CDPoint foot(a.x + t * edge.dx, a.y + t * edge.dy);
  // The distance is never below its longer leg: a leg beyond R proves the miss without hypot.
  if (std::max(std::fabs(foot.x - centre.x), std::fabs(foot.y - centre.y)) > R) {
    return std::nullopt;
  }
  const double distance = LegDominatedHypot(foot.x - centre.x, foot.y - centre.y);
  if (distance > R) return std::nullopt;
  const double halfChord = std::sqrt(R * R - distance * distance);
  const double ux = edge.ux;
  const double uy = edge.uy;
  return LineCrossingPair{CDPoint(foot.x - ux * halfChord, foot.y - uy * halfChord),
                          CDPoint(foot.x + ux * halfChord, foot.y + uy * halfChord)};
}

namespace {

// CrossAL's count of the line's crossings that lie on the edge's segment (within tol) and on the
// arc, the sweep test being holds(p), with out1 and out2 as CrossAL sets them.
template <class Holds>
[[gnu::always_inline]] inline int CountOnSegmentAndArc(const std::array<CDPoint, 2>& crossings,
                                                       const CDArc::Edge& edge, CDPoint& out1,
                                                       CDPoint& out2, double tol, Holds holds) {
  const auto& [first, second] = crossings;
  const auto counts = [&](const CDPoint& p) { return IsOnSegment(p, edge, tol) && holds(p); };
  const bool firstCounts = counts(first);
  const bool secondCounts = counts(second);
  out1 = firstCounts ? first : second;
  out2 = second;
  return (firstCounts ? 1 : 0) + (secondCounts ? 1 : 0);
}

}  // namespace

int CDArc::CrossAL(const Edge& edge, CDPoint& out1, CDPoint& out2, double tol) const {
  const std::optional<LineCrossingPair> crossings = LineCrossings(edge);
  if (!crossings) return -1;
  return CountOnSegmentAndArc(*crossings, edge, out1, out2, tol, [this](const CDPoint& p) {
    return HoldsDirection(p.x - centre.x, p.y - centre.y);
  });
}

int CDArc::CrossAL(const Edge& edge, CDPoint& out1, CDPoint& out2, double tol,
                   const VerticalColumn& column) const {
  const std::optional<LineCrossingPair> crossings = LineCrossings(edge);
  if (!crossings) return -1;
  // A crossing of the line lies within a rounding of the coordinates' scale from the circle, as
  // a vertical's does, its distance from the centre being found from the foot's and the half
  // chord's squares: the vertical's margin, grown by the segment's sizes, keeps the test by x
  // certain.
  const double sizes = column.terms.marginSizes + edge.sizes;
  return CountOnSegmentAndArc(*crossings, edge, out1, out2, tol, [&](const CDPoint& p) {
    const double dx = p.x - centre.x;
    const double above = p.y - centre.y;
    if (column.lowerSweep && above < 0) {
      if (const std::optional<bool> byX = LowerHalfSweepHoldsX(p.x, column.ends, sizes)) {
        return *byX;
      }
    }
    // Above the centre, a direction that points right or up, or rises by more than 1e-12 of its
    // run to the left, has an angle in (0, pi) short of pi by far more than atan2's rounding:
    // before the start of a lower sweep, which lies at pi or later.
    if (column.lowerSweep && above > 0 && (dx >= 0 || above > 1e-12 * -dx)) return false;
    return HoldsDirection(dx, above);
  });
}

template <class ForEachSegment>
void CDArc::CutArcAlong(ForEachSegment forEachSegment, CutStorage& storage) const {
  using Cut = CutStorage::Cut;
  constexpr double kCutTolerance = 1e-12;
  const double unwrappedEnd = end > start ? end : end + kTwoPi;
  const Clearance clearance = GetClearance();
  // A trial circle crosses a few edges: room for them at once spares the growing steps.
  constexpr std::size_t kUsualCuts = 16;
  std::vector<Cut>& cuts = storage.cuts_;
  cuts.clear();
  cuts.reserve(kUsualCuts);
  cuts.push_back({start, start});
  const auto addCut = [&](double direction) {
    const double angle = NormalizeAngle(direction);
    // fmod leaves a difference below a whole turn as it is.
    double turn = angle - start;
    if (!(std::fabs(turn) < kTwoPi)) turn = std::fmod(turn, kTwoPi);
    if (turn < 0) turn += kTwoPi;
    const double key = start + turn;
    if (key - start > 1e-6 && unwrappedEnd - key > 1e-6) cuts.push_back({key, angle});
  };
  // The crossings that CrossAL counts, in its order. A cut keeps its direction's angle, so the
  // sweep test reads that angle instead of HoldsDirection's ranges (which give its answer).
  const double sweepStart = HalfOpenAngle(start);
  const double sweepEnd = HalfOpenAngle(end);
  forEachSegment([&](const CDPoint& a, const CDPoint& b, const auto& edgeOf) {
    const double margin = ClearanceMargin(SegmentSizes(a, b), clearance.scale, kCutTolerance);
    if (SegmentClearOfCircle(Box::Of(a, b), a, b, centre, R, clearance.box, margin)) return;
    const Edge& edge = edgeOf();
    const std::optional<LineCrossingPair> crossings = LineCrossings(edge);
    if (!crossings) return;
    for (const CDPoint& p : *crossings) {
      if (!IsOnSegment(p, edge, kCutTolerance)) continue;
      const double direction = std::atan2(p.y - centre.y, p.x - centre.x);
      if (SweepHolds(sweepStart, sweepEnd, HalfOpenAngle(direction))) addCut(direction);
    }
  });
  cuts.push_back({unwrappedEnd, end});
  std::sort(cuts.begin() + 1, cuts.end() - 1,
            [](const Cut& a, const Cut& b) { return a.key < b.key; });

  storage.pieces_.clear();
  for (std::size_t i = 0; i + 1 < cuts.size(); ++i) {
    if (cuts[i + 1].key - cuts[i].key >= 1e-6) {
      storage.pieces_.emplace_back(centre.x, centre.y, R, cuts[i].angle, cuts[i + 1].angle);
    }
  }
}

template <class ForEachSegment>
std::vector<std::unique_ptr<CDArc>> CDArc::CutArcAlong(ForEachSegment forEachSegment) const {
  CutStorage storage;
  CutArcAlong(forEachSegment, storage);
  std::vector<std::unique_ptr<CDArc>> pieces;
  pieces.reserve(storage.pieces_.size());
  for (const CDArc& piece : storage.pieces_) pieces.push_back(piece.Copy());
  return pieces;
}

namespace {

// Hands visit the segments of a polyline of count vertices, vertex(i) the i-th, each with a
// function that makes its Edge.
template <class Vertex, class Visit>
void VisitPolylineSegments(std::size_t count, const Vertex& vertex, const Visit& visit) {
  for (std::size_t i = 1; i < count; ++i) {
    const CDPoint& a = vertex(i - 1);
    const CDPoint& b = vertex(i);
    visit(a, b, [&a, &b] { return CDArc::Edge(a, b); });
  }
}

// Hands visit the segments of the array's shapes, read where the shapes hold their vertices.
auto EachShapeSegment(const CDPolyArray& shapes) {
  return [&shapes](const auto& visit) {
    for (int k = 0; k < shapes.GetSize(); ++k) {
      const CDPoly::PointList& points = shapes.GetAt(k)->Points();
      VisitPolylineSegments(
          points.size(), [&points](std::size_t i) -> const CDPoint& { return *points[i]; }, visit);
    }
  };
}

// Hands visit the edges in their order, each with itself as its Edge.
auto EachEdge(std::span<const CDArc::Edge> edges) {
  return [edges](const auto& visit) {
    for (const CDArc::Edge& edge : edges) {
      visit(edge.a, edge.b, [&edge]() -> const CDArc::Edge& { return edge; });
    }
  };
}

}  // namespace

std::vector<std::unique_ptr<CDArc>> CDArc::CutArc(
    const std::vector<std::vector<CDPoint>>& polylines) const {
  return CutArcAlong([&polylines](const auto& visit) {
    for (const std::vector<CDPoint>& points : polylines) {
      VisitPolylineSegments(
          points.size(), [&points](std::size_t i) -> const CDPoint& { return points[i]; }, visit);
    }
  });
}

std::vector<std::unique_ptr<CDArc>> CDArc::CutArc(const CDPolyArray& shapes) const {
  return CutArcAlong(EachShapeSegment(shapes));
}

std::span<CDArc> CDArc::CutArc(const CDPolyArray& shapes, CutStorage& storage) const {
  CutArcAlong(EachShapeSegment(shapes), storage);
  FindCutEnds(storage);
  return storage.Pieces();
}

std::span<CDArc> CDArc::CutArc(std::span<const Edge> edges, CutStorage& storage) const {
  CutArcAlong(EachEdge(edges), storage);
  FindCutEnds(storage);
  return storage.Pieces();
}

CDPoint CDArc::PointMemo::At(const CDArc& arc, double angle) {
  const auto same = [](double a, double b) {
    return std::bit_cast<std::uint64_t>(a) == std::bit_cast<std::uint64_t>(b);
  };
  if (!set_ || !same(cx_, arc.centre.x) || !same(cy_, arc.centre.y) || !same(r_, arc.R) ||
      !same(angle_, angle)) {
    set_ = true;
    cx_ = arc.centre.x;
    cy_ = arc.centre.y;
    r_ = arc.R;
    angle_ = angle;
    point_ = arc.PointAt(angle);
  }
  return point_;
}

void CDArc::CutStorage::Reserve(std::size_t crossings) {
  // The cuts are the arc's ends and its crossings, and the pieces lie between them.
  cuts_.reserve(crossings + 2);
  pieces_.reserve(crossings + 1);
  pieceEnds_.reserve(crossings + 1);
}

void CDArc::FindCutEnds(CutStorage& storage) const {
  // In order along the arc, where a piece starts at the angle the one before ended (and the first
  // at the arc's start, the last ends at its end), the memo hands that point on.
  PointMemo memo;
  storage.arcEnds_.start = memo.At(*this, start);
  storage.pieceEnds_.clear();
  for (const CDArc& piece : storage.pieces_) {
    const CDPoint pieceStart = memo.At(piece, piece.start);
    storage.pieceEnds_.push_back({pieceStart, memo.At(piece, piece.end)});
  }
  storage.arcEnds_.end = memo.At(*this, end);
}

bool CDArc::IsSameGroup(const CDArc* other) const {
  return other != nullptr && std::fabs(R - other->R) <= 1e-5 && centre == other->centre;
}

void CDArc::Draw(const CViewInfo& view, bool withRadii) const {
  Canvas& dc = *view.dc;
  const DevPoint topLeft = view.LPtoDP(CDPoint(centre.x - R, centre.y + R));
  const DevPoint bottomRight = view.LPtoDP(CDPoint(centre.x + R, centre.y - R));
  const DevRect box{topLeft.x, topLeft.y, IncrementSaturated(bottomRight.x),
                    IncrementSaturated(bottomRight.y)};
  const DevPoint s = view.LPtoDP(GetStart());
  const DevPoint e = view.LPtoDP(GetEnd());
  if (s != e) dc.Arc(box, s, e);
  if (withRadii) {
    const ScopedPen radiiPen(dc, Pen{PenStyle::Dot, 1, kRed});
    dc.MoveTo(s);
    dc.LineTo(view.LPtoDP(centre));
    dc.LineTo(e);
  }
}

// Every vertical query of a slice division runs the next steps (a hundred per circle): they
// are inlined into the queries, which spares the calls and returns their candidates in registers.
[[gnu::always_inline]] inline bool CDArc::SweepWithinLowerHalf() const {
  const double s = HalfOpenAngle(start);
  const double e = HalfOpenAngle(end);
  return kPi <= s && s < e;
}

[[gnu::always_inline]] inline std::optional<bool> CDArc::LowerSweepHoldsX(double x,
                                                                          const EndXs& ends) const {
  if (!SweepWithinLowerHalf()) return std::nullopt;
  return LowerHalfSweepHoldsX(x, ends, MarginSizes());
}

[[gnu::always_inline]] inline std::optional<CDArc::VerticalCandidates> CDArc::VerticalLineCrossings(
    double x) const {
  constexpr double kReach = kVerticalReach;
  // CrossAL's steps on the segment (x, -kReach)-(x, kReach) with tol 0. For a finite x its
  // direction is (+0, 2 kReach): the squared length 4 kReach^2, its root 2 kReach and the unit
  // direction (+0, 1) are exact, and the segment test reduces to the y range; every other step
  // stays as CrossAL takes it.
  const double dx = x - x;
  const double dy = 2 * kReach;
  const double along = (centre.x - x) * dx + (centre.y - -kReach) * dy;
  const double t = along / (dy * dy);
  // t dx is a zero of t's sign, or NaN where t is not finite; so is along dx, as the division by
  // the positive 4 kReach^2 keeps both the sign (also where the quotient underflows) and whether
  // the value is finite. Taken from along, the foot's x and the root below do not wait for the
  // division.
  const CDPoint foot(x + along * dx, -kReach + t * dy);
  const std::optional<double> halfChord = VerticalHalfChord(foot.x, TermsWithFoot(foot.y));
  if (!halfChord) return std::nullopt;
  return VerticalCandidates{CDPoint(foot.x - dx * *halfChord, foot.y - *halfChord),
                            CDPoint(foot.x + dx * *halfChord, foot.y + *halfChord)};
}

[[gnu::always_inline]] inline bool CDArc::VerticalCrossingCounts(double x, const CDPoint& p,
                                                                 const EndXs* ends) const {
  constexpr double kReach = kVerticalReach;
  if (!(-kReach <= p.y && p.y <= kReach)) return false;
  const double above = p.y - centre.y;
  const std::optional<bool> byX =
      ends != nullptr && above < 0 ? LowerSweepHoldsX(x, *ends) : std::nullopt;
  return byX ? *byX : HoldsDirection(p.x - centre.x, above);
}

int CDArc::CrossVertical(double x, CDPoint& out1, CDPoint& out2, const EndXs* ends) const {
  if (!std::isfinite(x)) {
    return CrossAL({x, -kVerticalReach}, {x, kVerticalReach}, out1, out2, 0);
  }
  const std::optional<VerticalCandidates> line = VerticalLineCrossings(x);
  if (!line) return -1;
  const bool firstCounts = VerticalCrossingCounts(x, line->first, ends);
  const bool secondCounts = VerticalCrossingCounts(x, line->second, ends);
  out1 = firstCounts ? line->first : line->second;
  out2 = line->second;
  return (firstCounts ? 1 : 0) + (secondCounts ? 1 : 0);
}

double CDArc::LowestYAt(double x, const EndXs* ends) const {
  if (!std::isfinite(x)) {
    // No line the candidates stand for: CrossAL's general steps decide.
    CDPoint first;
    CDPoint second;
    const int count = CrossVertical(x, first, second, ends);
    return count == 1 ? first.y : count == 2 ? std::min(first.y, second.y) : kNoValue;
  }
  const std::optional<VerticalCandidates> line = VerticalLineCrossings(x);
  if (!line) return kNoValue;
  // The first crossing lies at or below the second (y minus and plus one root): when it counts,
  // it is the lowest whatever the second's sweep test gives.
  if (VerticalCrossingCounts(x, line->first, ends)) return line->first.y;
  if (VerticalCrossingCounts(x, line->second, ends)) return line->second.y;
  return kNoValue;
}

CDArc::VerticalTerms CDArc::GetVerticalTerms() const { return TermsWithFoot(VerticalFootY()); }

CDArc::VerticalColumn CDArc::Column(const EndXs& ends) const {
  const bool finite = std::isfinite(centre.x) && std::isfinite(centre.y) && std::isfinite(R);
  return VerticalColumn{ends, GetVerticalTerms(), finite && SweepWithinLowerHalf()};
}

double CDArc::LowestYAt(double x, const VerticalColumn& column) const {
  // LowestYAt's steps where their outcome is known: at a finite x and a finite centre the foot's
  // height is the column's, and clearly between the ends of a lower sweep the lower crossing
  // counts by x alone.
  if (column.lowerSweep && std::isfinite(x) &&
      LowerHalfSweepHoldsX(x, column.ends, column.terms.marginSizes) == true) {
    if (const double y = ClearLowerYAt(x, column.terms); y != kNoValue) return y;
  }
  return LowestYAt(x, &column.ends);
}

CDArc::XRange CDArc::ClearLowerRange(const VerticalColumn& column) const {
  if (!column.lowerSweep) return XRange{};
  // The sweep test's margin grows with |x|, which between the ends stays within the larger of
  // theirs: each of its roundings is monotonic, so the margin there stays within the one at that
  // size, and an x beyond the bounds found with it clears the bounds found with a smaller one.
  const EndXs& ends = column.ends;
  const double margin =
      1e-9 * (column.terms.marginSizes + std::max(std::fabs(ends.start), std::fabs(ends.end)));
  constexpr double kInfinity = std::numeric_limits<double>::infinity();
  return XRange{std::nextafter(ends.start + margin, kInfinity),
                std::nextafter(ends.end - margin, -kInfinity)};
}

double CDArc::VerticalFootY() const {
  // VerticalLineCrossings' steps for the foot's y. Their term (centre x - x) times the
  // direction's x is a zero for every finite x and a finite centre, and adding it changes
  // nothing.
  constexpr double kReach = kVerticalReach;
  const double dy = 2 * kReach;
  const double along = (centre.y - -kReach) * dy;
  return -kReach + along / (dy * dy) * dy;
}
