#pragma once
// A circular arc of the cross-section: the curved pieces of the slide surface, the trial circles
// of the circle search and the arc bottoms of blocks. It runs counter-clockwise (y up) from the
// start angle to the end angle; when the end is not above the start the sweep wraps through 2pi.

#include <array>
#include <cmath>
#include <limits>
#include <memory>
#include <numbers>
#include <optional>
#include <span>
#include <vector>

#include "core/base/Constants.h"
#include "core/geometry/DPoint.h"
#include "platform/DevTypes.h"

class CDPolyArray;
class CViewInfo;

// std::hypot(a, b) bit for bit, without the call when |b| is negligible beside |a|.
inline double LegDominatedHypot(double a, double b) {
  // With |b| at most 2^-30 |a| the exact hypot lies within 2^-61 relative of |a|, far inside half
  // a unit in the last place of |a|: the rounded hypot is |a| itself. The vertical's foot lies
  // level with the centre but for the rounding of its y, so this is nearly always the case.
  constexpr double kNegligibleLeg = 0x1p-30;
  const double longLeg = std::fabs(a);
  if (std::fabs(b) <= longLeg * kNegligibleLeg) return longLeg;
  return std::hypot(a, b);
}

class CDArc {
 public:
  CDPoint centre;
  double R = 0;      // radius
  double start = 0;  // radians
  double end = 0;    // radians

  CDArc() = default;
  // With degrees set the two angles are given in degrees. The centre's flag is 0.
  CDArc(DevPoint c, double r, double startAngle, double endAngle, bool degrees = false);
  CDArc(const CDPoint& c, double r, double startAngle, double endAngle, bool degrees = false);
  CDArc(double cx, double cy, double r, double startAngle, double endAngle, bool degrees = false);
  explicit CDArc(const CDArc* other) : CDArc(*other) {}

  std::unique_ptr<CDArc> Copy() const { return std::make_unique<CDArc>(*this); }
  // Sets all fields, the centre's flag included.
  void SetParam(const CDPoint& c, double r, double startAngle, double endAngle);
  // A new arc on the same circle from the point of the lower half-circle at x1 to the one at x2;
  // null when x1 or x2 lies more than 1e-8 beyond the circle (not SpansX).
  std::unique_ptr<CDArc> TrimCopy(double x1, double x2) const;
  // x lies within 1e-8 of the circle's x range.
  bool SpansX(double x) const { return !(std::fabs(x - centre.x) > R + 1e-8); }
  // The angle (in [0, 2pi]) of the point of the lower half-circle at x; TrimCopy's end angles.
  double LowerAngleAt(double x) const;
  // That point itself, found from x and the half chord below the centre, with its angle.
  struct LowerPoint {
    CDPoint point;
    double angle = 0;
  };
  LowerPoint LowerPointAt(double x) const;
  // A segment's sweep theta with the sine and cosine of its half, which its area and centroid
  // share.
  struct HalfSweep {
    double theta;
    double sin;
    double cos;
  };
  // The half sweep of the arc of this circle between two of its points, counter-clockwise from
  // the first, from their chord (the sine of the half sweep is the half chord over R) by the
  // arcsine's series, without atan2, sine or cosine; none where the sweep is not short (beyond
  // about 1/8), where the series would need more terms.
  std::optional<HalfSweep> ShortSweep(const CDPoint& from, const CDPoint& to) const;
  // The piece of the lower half-circle from a point of it found before, with its angle, to the
  // lower point at x right of it: that point with its angle (the from point's angle plus the
  // sweep), and the piece's half sweep. A short piece takes its sweep from ShortSweep, sparing the
  // point's atan2 and the half sweep's sine and cosine; a longer one has the point as
  // LowerPointAt finds it and the half sweep as SegmentHalfSweep finds it.
  struct LowerPiece {
    LowerPoint end;
    HalfSweep half;
  };
  LowerPiece LowerPieceTo(const LowerPoint& from, double x) const;
  // The sweep lies within the lower half-circle (pi <= start < end < 2pi, or up to an end at
  // exactly 0): every x strictly between the ends' x has its lower point on the arc.
  bool LiesBelowCentre() const;

  // The constructions return false, leaving the arc as it was, when no arc exists.
  // The arc from p1 through p2 to p3.
  bool Set3P(const CDPoint* p1, const CDPoint* p2, const CDPoint* p3);
  // The shorter arc from p2 to p3 that is tangent at p2 to the line p1-p2.
  bool Set1L1P(const CDPoint* p1, const CDPoint* p2, const CDPoint* p3);
  // A fillet tangent to the lines p1->p2 and p3->p4, p2 and p3 being the ends toward their
  // corner. type 0 keeps the tangent point p2, type 1 keeps p3; types 2 and 3 are
  // Set1L1P(p1, p2, p3) and Set1L1P(p4, p3, p2).
  bool Set2L(const CDPoint* p1, const CDPoint* p2, const CDPoint* p3, const CDPoint* p4, int type);
  // The lower of the two arcs of radius r through p1 and p2, on the circle whose centre is the
  // higher (upper set) or the lower of the two candidates.
  bool Set2PR(const CDPoint& p1, const CDPoint& p2, double r, bool upper);

  // The end points of an arc, GetStart and GetEnd.
  struct EndPoints {
    CDPoint start;
    CDPoint end;
  };
  // The end points (flag 0).
  CDPoint GetStart() const;
  CDPoint GetEnd() const;
  // The point at fraction t of the sweep from the start.
  CDPoint GetMid(double t) const;
  // The extreme point (flag 0): which 0 least x, 1 greatest x, 2 least y, 3 greatest y. Negative
  // stored angles are normalised in place first.
  CDPoint GetMinMax(int which);
  // GetMinMax of each which (0 to 3) at once, the ends found once for the four; a caller that
  // has GetStart and GetEnd at hand hands them in, sparing their sines and cosines.
  std::array<CDPoint, 4> GetExtremes(const EndPoints* knownEnds = nullptr);
  double GetLength() const;
  // Area and centroid of the segment between the arc and its chord.
  double GetKoArea() const;
  CDPoint GetKoCenterBalance() const;
  // The last point of a circle found at an angle, kept with the circle's centre and radius and the
  // angle: the same bits give the same point, so an arc piece that starts where the one before
  // ended on the same circle takes that point instead of computing it again.
  class PointMemo {
   public:
    CDPoint At(const CDArc& arc, double angle);

   private:
    bool set_ = false;
    double cx_ = 0;
    double cy_ = 0;
    double r_ = 0;
    double angle_ = 0;
    CDPoint point_;
  };
  // The x of the end points (GetStart and GetEnd, or the points the ends were found from).
  struct EndXs {
    double start = 0;
    double end = 0;
  };
  struct Segment {
    double area = 0;
    CDPoint centroid;
    EndXs ends;  // of the points the centroid was found from
  };
  // GetKoArea and GetKoCenterBalance with the terms they share found once, from the given points
  // of the circle at the start and the end angle (a caller that found the angles from points of
  // the circle hands those in, sparing their sines and cosines).
  Segment GetKoSegment(const CDPoint& startPoint, const CDPoint& endPoint) const;
  // The same with the half sweep found with the end points (LowerPieceTo).
  Segment GetKoSegment(const HalfSweep& half, const CDPoint& startPoint,
                       const CDPoint& endPoint) const;

  // Crossings of the arc with the segment a-b: -1 when a and b coincide or the line misses the
  // circle, else how many of the two crossings of line and circle lie on both the segment (or
  // within tol of an end of it) and the arc. out1 is the first crossing along a->b that counts,
  // out2 the second crossing of line and circle.
  int CrossAL(const CDPoint& a, const CDPoint& b, CDPoint& out1, CDPoint& out2, double tol) const;
  // A box, its bounds included.
  struct Box {
    double left = 0;
    double right = 0;
    double bottom = 0;
    double top = 0;
    // The box of the segment a-b.
    static Box Of(const CDPoint& a, const CDPoint& b);
  };
  // A segment a-b with the terms of CrossAL and ClearOfEdge that depend on the segment alone,
  // found once for a segment that many circles cross.
  struct Edge {
    Edge() = default;
    Edge(const CDPoint& from, const CDPoint& to);
    CDPoint a;
    CDPoint b;
    bool degenerate = true;  // a and b coincide
    double dx = 0;
    double dy = 0;
    double length2 = 0;
    double ux = 0;  // the unit direction
    double uy = 0;
    Box box;
    // |a.x| + |a.y| + |b.x| + |b.y|, which scales the margins of the tests that keep the
    // crossings of a circle from the segment.
    double sizes = 0;
    // x is the dominant axis of b - a (|dx| > |dy|): a crossing of the line lies on the segment
    // where its x lies in the box's x range, else where its y lies in the y range.
    bool alongX = false;
  };
  // The terms of ClearOfEdge that depend on the arc alone, found once for an arc that many
  // segments are tested against.
  struct Clearance {
    // The box a segment must keep clear of: the circle's, cut off at the centre's y for a sweep
    // below the centre.
    Box box;
    double scale = 0;  // R + |centre.x| + |centre.y|, the first terms of the margin's scale
  };
  Clearance GetClearance() const;
  // The edge's segment certainly has no point that CrossAL with a tolerance up to tol counts: it
  // lies clear of the arc's box, wholly inside or wholly outside the circle, by a margin beyond
  // the rounding. The clearance is the arc's GetClearance.
  bool ClearOfEdge(const Edge& edge, double tol, const Clearance& clearance) const;
  // CrossAL of the edge's segment.
  int CrossAL(const Edge& edge, CDPoint& out1, CDPoint& out2, double tol) const;
  // CrossAL of the vertical segment from (x, -kVerticalReach) to (x, kVerticalReach) with tol 0,
  // bit for bit, without the steps whose outcome a vertical fixes.
  // With ends (the x of GetStart and GetEnd) given, the sweep test of a crossing below the centre
  // is decided from x where that is certain.
  static constexpr double kVerticalReach = 10000;
  int CrossVertical(double x, CDPoint& out1, CDPoint& out2, const EndXs* ends = nullptr) const;
  // The lowest point of the arc over x (a vertical line from -10000 to 10000 crossed exactly);
  // kNoValue when the line meets no point of the arc. The ends as with CrossVertical.
  double LowestYAt(double x, const EndXs* ends = nullptr) const;
  // What the verticals' crossings with the circle need of the circle alone, found once for the
  // many verticals a division asks of it (the terms depend on the centre and R only): the
  // height of a vertical's foot, the point of the line level with the centre, as the crossings'
  // steps round it at every finite x; the foot's height over the centre; the horizontal leg
  // beyond which a vertical misses the circle for certain; R squared; and the sum of sizes that
  // scales the sweep test's margin by x (kVerticalReach + R + |centre x| + |centre y|).
  struct VerticalTerms {
    double footY = 0;
    double footRise = 0;
    double missingLeg = 0;
    double radius2 = 0;
    double marginSizes = 0;
  };
  VerticalTerms GetVerticalTerms() const;
  // What LowestYAt needs of an arc that many verticals ask, found once: the ends' x, the circle's
  // vertical terms and whether the sweep lies within the lower half-circle with the centre and
  // radius finite.
  struct VerticalColumn {
    EndXs ends;
    VerticalTerms terms;
    bool lowerSweep = false;
  };
  VerticalColumn Column(const EndXs& ends) const;
  // CrossAL of the edge's segment, bit for bit, with the arc's column at hand: on a lower sweep a
  // crossing below the centre clearly between or beyond the ends' x is tested by x alone, as a
  // vertical's is, and the sweep test decides the others.
  int CrossAL(const Edge& edge, CDPoint& out1, CDPoint& out2, double tol,
              const VerticalColumn& column) const;
  // LowestYAt(x, &column.ends), bit for bit; clearly between the ends of a lower sweep only the
  // lower crossing's height is found.
  double LowestYAt(double x, const VerticalColumn& column) const;
  // An x range, both ends included; empty where left > right.
  struct XRange {
    double left = 1;
    double right = 0;
    bool Holds(double x) const { return left <= x && x <= right; }
  };
  // The x range, within the ends' x of a lower sweep, in which every x is clearly between the
  // ends for LowestYAt's sweep test of a crossing below the centre; empty for another sweep.
  XRange ClearLowerRange(const VerticalColumn& column) const;
  // LowestYAt(x, column) at an x in ClearLowerRange(column) where that is the lower crossing
  // within the test line and below the centre; kNoValue where LowestYAt's full steps decide.
  double ClearLowerYAt(double x, const VerticalTerms& terms) const;
  // The y of the lower crossing of the vertical line at a finite x with the circle, bit for bit
  // as LowestYAt finds it, from the circle's terms found before, without asking whether the arc
  // holds that point; kNoValue where the line misses the circle.
  double LowerCrossingYAt(double x, const VerticalTerms& terms) const;
  // The arc divided at its crossings with the segments of the polylines (each a vertex list), in
  // order from the start. The pieces' angles lie in [0, 2pi] except that the first piece starts
  // and the last ends exactly at this arc's own angles.
  std::vector<std::unique_ptr<CDArc>> CutArc(
      const std::vector<std::vector<CDPoint>>& polylines) const;
  // CutArc over the vertex lists of the array's shapes, read where the shapes hold them.
  std::vector<std::unique_ptr<CDArc>> CutArc(const CDPolyArray& shapes) const;
  // The storage of CutArc's cuts and pieces, for a caller that cuts many arcs (a circle search
  // cuts every trial circle): it stops allocating once it has held the most cuts of a call.
  class CutStorage {
   public:
    // Room for cutting an arc at up to the given count of crossings without growing.
    void Reserve(std::size_t crossings);
    std::span<CDArc> Pieces() { return pieces_; }
    // The end points of the pieces, by piece, and of the arc that was cut: each cut's point is
    // found once for the two pieces it bounds.
    std::span<EndPoints> PieceEnds() { return pieceEnds_; }
    const EndPoints& ArcEnds() const { return arcEnds_; }

   private:
    friend class CDArc;
    // A cut's angle in [0, 2pi] for the piece it bounds and, for the ordering, that angle
    // unwrapped into [start, start + 2pi), so that an arc through angle 0 keeps its order.
    struct Cut {
      double key;
      double angle;
    };
    std::vector<Cut> cuts_;
    std::vector<CDArc> pieces_;
    std::vector<EndPoints> pieceEnds_;
    EndPoints arcEnds_;
  };
  // CutArc over the edges in their order (as the polylines whose segments they are) and over the
  // array's shapes, the pieces and the end points made in the storage (in place of those it
  // held).
  std::span<CDArc> CutArc(std::span<const Edge> edges, CutStorage& storage) const;
  std::span<CDArc> CutArc(const CDPolyArray& shapes, CutStorage& storage) const;
  // Whether the direction (dx, dy) from the centre lies in the sweep, ends included: the angle
  // atan2(dy, dx), brought into [0, 2pi), lies between the start and the end angle.
  bool HoldsDirection(double dx, double dy) const;
  // Radii within 1e-5 and centres within 1e-4; false for no arc.
  bool IsSameGroup(const CDArc* other) const;

  // The arc with the canvas's current pen; with radii, dotted red lines from the start to the
  // centre and on to the end.
  void Draw(const CViewInfo& view, bool withRadii) const;

 private:
  CDPoint PointAt(double angle) const;
  // The quadrant points of the circle, at the angles 0, pi/2, pi and 3pi/2, with whether each
  // lies in the sweep; a negative start or end is normalised in place first.
  struct SweepQuadrants {
    std::array<CDPoint, 4> points;
    std::array<bool, 4> inSweep;
  };
  SweepQuadrants NormalisedQuadrants();
  // GetMinMax(which) from the quadrants; the ends, where they are candidates, are taken from ends
  // or found into it.
  CDPoint Extreme(int which, const SweepQuadrants& quadrants, std::optional<EndPoints>& ends) const;
  // The point of the lower half-circle at x, the half chord below the centre (on the centre's
  // level beyond the circle), and a point of the circle with its angle in [0, 2pi].
  CDPoint LowerHalfPoint(double x) const;
  LowerPoint WithItsAngle(const CDPoint& p) const;
  // LowerPieceTo of a point of the lower half-circle beyond ShortSweep's reach: the point's angle
  // by atan2, the half sweep by its sine and cosine.
  LowerPiece LongPieceTo(const LowerPoint& from, const CDPoint& p) const;
  // The sweep of the segment formulas: end - start, plus 2pi when negative.
  double SegmentSweep() const;
  // For a point below the centre on the vertical at x (CrossVertical's first crossing): whether
  // the sweep holds it, when x alone makes that certain; none otherwise.
  std::optional<bool> LowerSweepHoldsX(double x, const EndXs& ends) const;
  // Whether the sweep lies within the lower half-circle, pi <= start < end < 2pi.
  bool SweepWithinLowerHalf() const;
  // LowerSweepHoldsX for a sweep within the lower half-circle, with the margin's sizes
  // (VerticalTerms::marginSizes) at hand.
  std::optional<bool> LowerHalfSweepHoldsX(double x, const EndXs& ends, double marginSizes) const;
  // VerticalTerms::marginSizes.
  double MarginSizes() const;
  // The two crossings of the vertical line at a finite x with the circle, the lower first, as
  // CrossVertical finds them; none where the line misses the circle.
  struct VerticalCandidates {
    CDPoint first;
    CDPoint second;
  };
  std::optional<VerticalCandidates> VerticalLineCrossings(double x) const;
  // The vertical terms with the foot's height given.
  VerticalTerms TermsWithFoot(double footY) const;
  // The height of the foot of a vertical line (VerticalTerms::footY).
  double VerticalFootY() const;
  // The half chord of the vertical line through its foot, none where the line misses the circle;
  // the terms with that foot's height.
  std::optional<double> VerticalHalfChord(double footX, const VerticalTerms& terms) const;
  // Whether such a crossing counts: within the test line and in the sweep.
  bool VerticalCrossingCounts(double x, const CDPoint& p, const EndXs* ends) const;
  HalfSweep SegmentHalfSweep() const;
  // The segment's area and centroid from its half sweep and the end points.
  double SegmentArea(const HalfSweep& half) const;
  CDPoint SegmentCentroid(const HalfSweep& half, const CDPoint& startPoint,
                          const CDPoint& endPoint) const;
  // Runs the arc between the angles aFrom and aTo on the side that holds aMid.
  void SetSweepThrough(double aFrom, double aMid, double aTo);
  // Whether the segment of sweep theta is a sliver: its height over the chord (with the chord's
  // midpoint given) below kSamePoint. The centroid of a sliver is the chord's midpoint.
  bool IsSliver(double theta, const CDPoint& chordMid) const;
  // The two crossings of the edge's line with the circle, the first along a->b; none for a
  // degenerate edge or a line that misses the circle.
  using LineCrossingPair = std::array<CDPoint, 2>;
  std::optional<LineCrossingPair> LineCrossings(const Edge& edge) const;
  // CutArc over the segments that forEachSegment hands to its visitor one by one, in order, each
  // as its ends and a function that gives its Edge; the pieces made in the storage.
  template <class ForEachSegment>
  void CutArcAlong(ForEachSegment forEachSegment, CutStorage& storage) const;
  // The end points of the arc and of the pieces in the storage.
  void FindCutEnds(CutStorage& storage) const;
  // The same, the pieces as new arcs.
  template <class ForEachSegment>
  std::vector<std::unique_ptr<CDArc>> CutArcAlong(ForEachSegment forEachSegment) const;
};

namespace darc_detail {

// An angle brought into [0, 2pi).
inline double HalfOpenAngle(double angle) {
  constexpr double kTwoPi = 2 * std::numbers::pi;
  const double a = NormalizeAngle(angle);
  return a >= kTwoPi ? a - kTwoPi : a;
}

// Whether the sweep from start to end holds no direction that points up, (0, pi): all of it
// lies in [pi, 2pi), or it wraps from there to exactly 0.
inline bool SweepBelowCentre(double start, double end) {
  const double s = HalfOpenAngle(start);
  const double e = HalfOpenAngle(end);
  return s >= std::numbers::pi && (s < e || e == 0);
}

}  // namespace darc_detail

// Inline, as the lower crossing below: a slice asks it for its base point.
inline bool CDArc::LiesBelowCentre() const { return darc_detail::SweepBelowCentre(start, end); }

// The lower crossing of a vertical, which a slice division asks at each of its points and a
// slice at its base point: inline, so that those loops make no call for it.

inline double CDArc::MarginSizes() const {
  return kVerticalReach + R + std::fabs(centre.x) + std::fabs(centre.y);
}

inline std::optional<bool> CDArc::LowerHalfSweepHoldsX(double x, const EndXs& ends,
                                                       double marginSizes) const {
  // On an arc within the lower half-circle (pi <= s < e < 2pi) the angle of a point below the
  // centre grows with its x, as the cosine does from pi to 2pi. A crossing found on the vertical
  // at x lies within about 1e-14 of the scale of the coordinates from the circle, and the ends'
  // x within the rounding of R cos: an x clear of the ends' x by the margin (a relative 1e-9)
  // puts its angle clear of the end angles by far more than atan2's rounding, so the sweep
  // test's answer is certain. Nearer the ends the sweep test decides.
  const double margin = 1e-9 * (marginSizes + std::fabs(x));
  if (x < ends.start - margin || x > ends.end + margin) return false;
  if (x > ends.start + margin && x < ends.end - margin) return true;
  return std::nullopt;
}

inline CDArc::VerticalTerms CDArc::TermsWithFoot(double footY) const {
  // A leg beyond R is a miss only for an R whose square is a normal number.
  const double missingLeg = R > 1e-150 ? R * (1 + 1e-12) : std::numeric_limits<double>::infinity();
  return VerticalTerms{footY, footY - centre.y, missingLeg, R * R, MarginSizes()};
}

inline std::optional<double> CDArc::VerticalHalfChord(double footX,
                                                      const VerticalTerms& terms) const {
  // hypot does not fall below the larger of its two legs by more than its rounding: a leg
  // clearly beyond R (a relative margin of 1e-12) proves the miss without it.
  const double leg = std::fabs(centre.x - footX);
  if (leg > terms.missingLeg) return std::nullopt;
  // hypot ignores the signs of its legs: the leg found for the test serves it.
  const double distance = LegDominatedHypot(leg, terms.footRise);
  if (distance > R) return std::nullopt;
  return std::sqrt(terms.radius2 - distance * distance);
}

inline double CDArc::LowerCrossingYAt(double x, const VerticalTerms& terms) const {
  // At a finite x the foot's x is x itself; the half chord depends on its distance from the
  // centre's x alone.
  const std::optional<double> halfChord = VerticalHalfChord(x, terms);
  return halfChord ? terms.footY - *halfChord : kNoValue;
}

inline double CDArc::ClearLowerYAt(double x, const VerticalTerms& terms) const {
  // Below the centre, clearly between the ends of a lower sweep, the lower crossing counts: it is
  // the lowest. A line that misses the circle, a crossing beyond the test line or one rounded up
  // to the centre's level is left to the full steps.
  const double y = LowerCrossingYAt(x, terms);
  return -kVerticalReach <= y && y <= kVerticalReach && y - centre.y < 0 ? y : kNoValue;
}

// The base of a slice, the piece of the lower half-circle under it and its segment, which a
// division finds at every slice: inline, so that its loop makes no call for them.

namespace darc_detail {

// The squared half sines up to which ArcsineBySeries holds (a half sweep up to about 1/16).
inline constexpr double kSeriesHalfSine2 = 1.0 / 256;

// asin(s) for 0 <= s <= 1/16 from s and its square z by the series to s^13 (the next term lies
// below 1e-21 of s), the polynomial in z summed in pairs so that its terms do not wait for one
// another.
inline double ArcsineBySeries(double s, double z) {
  const double z2 = z * z;
  const double tail = (1.0 / 6 + 3.0 / 40 * z) + (5.0 / 112 + 35.0 / 1152 * z) * z2 +
                      (63.0 / 2816 + 231.0 / 13312 * z) * (z2 * z2);
  return s + s * z * tail;
}

}  // namespace darc_detail

inline CDPoint CDArc::LowerHalfPoint(double x) const {
  const double dx = x - centre.x;
  const double radicand = R * R - dx * dx;
  const double halfChord = radicand > 0 ? std::sqrt(radicand) : 0.0;
  return CDPoint(x, centre.y - halfChord);
}

inline std::optional<CDArc::HalfSweep> CDArc::ShortSweep(const CDPoint& from,
                                                         const CDPoint& to) const {
  const double chordX = to.x - from.x;
  const double chordY = to.y - from.y;
  // The squared sine of the half sweep: the squared half chord over R^2.
  const double halfSine2 = (chordX * chordX + chordY * chordY) / (4 * R * R);
  if (!(halfSine2 <= darc_detail::kSeriesHalfSine2)) return std::nullopt;
  const double halfSine = std::sqrt(halfSine2);
  return HalfSweep{2 * darc_detail::ArcsineBySeries(halfSine, halfSine2), halfSine,
                   std::sqrt(1 - halfSine2)};
}

inline CDArc::LowerPiece CDArc::LowerPieceTo(const LowerPoint& from, double x) const {
  const CDPoint p = LowerHalfPoint(x);
  if (const std::optional<HalfSweep> half = ShortSweep(from.point, p)) {
    return LowerPiece{LowerPoint{p, from.angle + half->theta}, *half};
  }
  return LongPieceTo(from, p);
}

inline CDArc::Segment CDArc::GetKoSegment(const HalfSweep& half, const CDPoint& startPoint,
                                          const CDPoint& endPoint) const {
  return Segment{
      SegmentArea(half), SegmentCentroid(half, startPoint, endPoint), {startPoint.x, endPoint.x}};
}

inline double CDArc::SegmentArea(const HalfSweep& half) const {
  return R * R * half.theta / 2 - R * R * half.cos * half.sin;
}

// The centroid of a circular segment of sweep theta lies on the radius through the middle of the
// arc, 4R sin^3(theta/2) / (3(theta - sin theta)) from the centre. That holds for every sweep;
// beyond pi the segment holds the centre and the chord's midpoint lies on the far side of it.
// The chord end - start is 2R sin(theta/2) (-sin m, cos m) for the middle angle m, so the unit
// vector toward the middle is the chord turned by a right angle over 2R sin(theta/2), and the
// centroid comes from the end points without a further sine or cosine:
// centre + 2 sin^2(theta/2) / (3(theta - sin theta)) (chord.y, -chord.x).
inline CDPoint CDArc::SegmentCentroid(const HalfSweep& half, const CDPoint& startPoint,
                                      const CDPoint& endPoint) const {
  const CDPoint chordMid = (startPoint + endPoint) / 2.0;
  if (IsSliver(half.theta, chordMid)) return chordMid;
  const double sinTheta = 2 * half.sin * half.cos;
  const double scale = 2 * half.sin * half.sin / (3 * (half.theta - sinTheta));
  return CDPoint(centre.x + scale * (endPoint.y - startPoint.y),
                 centre.y - scale * (endPoint.x - startPoint.x));
}

inline bool CDArc::IsSliver(double theta, const CDPoint& chordMid) const {
  constexpr double kPi = std::numbers::pi;
  // Beyond pi the height is R + e >= R: no sliver while R reaches kSamePoint.
  if (theta > kPi && R >= kSamePoint) return false;
  // Up to pi the height is R - e. While the squared distance stays clearly below (R -
  // kSamePoint)^2 (a relative margin of 1e-6, far beyond the rounding of the squares and of
  // hypot), the height is certainly not below kSamePoint, whatever hypot gives.
  const double limit = R - kSamePoint;
  if (theta <= kPi && limit > R / 2) {
    const double dx = chordMid.x - centre.x;
    const double dy = chordMid.y - centre.y;
    if (dx * dx + dy * dy < limit * limit * (1 - 1e-6)) return false;
  }
  const double e = Hypot(centre, chordMid);
  const double height = theta > kPi ? R + e : R - e;
  return height < kSamePoint;
}
