#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <numbers>
#include <optional>
#include <random>
#include <utility>
#include <vector>

#include "core/base/Constants.h"
#include "core/geometry/DArc.h"
#include "core/geometry/ViewInfo.h"
#include "platform/RecordingCanvas.h"
#include "tests/support/DrawTestUtil.h"

namespace {

constexpr double kPi = std::numbers::pi;
constexpr double kTwoPi = 2 * std::numbers::pi;

void ExpectArc(const CDArc& arc, double cx, double cy, double r, double start, double end,
               double tol = 1e-12) {
  EXPECT_NEAR(arc.centre.x, cx, tol);
  EXPECT_NEAR(arc.centre.y, cy, tol);
  EXPECT_NEAR(arc.R, r, tol);
  EXPECT_NEAR(arc.start, start, tol);
  EXPECT_NEAR(arc.end, end, tol);
}

void ExpectNear(const CDPoint& p, double x, double y, double tol = 1e-12) {
  EXPECT_NEAR(p.x, x, tol);
  EXPECT_NEAR(p.y, y, tol);
}

CDArc MakeArc(double cx, double cy, double r, double start, double end) {
  CDArc arc;
  arc.SetParam(CDPoint(cx, cy), r, start, end);
  return arc;
}

CDPoint Polar(double r, double angle) { return {r * std::cos(angle), r * std::sin(angle)}; }

TEST(DArcTest, Constructors) {
  const CDArc fromDevice(DevPoint{3, 4}, 2.0, 90.0, 180.0, true);
  ExpectArc(fromDevice, 3.0, 4.0, 2.0, kPi / 2, kPi);
  EXPECT_EQ(fromDevice.centre.flag, 0);

  const CDArc fromPoint(CDPoint(1.0, 2.0, 7), 3.0, 0.5, 1.5);
  ExpectArc(fromPoint, 1.0, 2.0, 3.0, 0.5, 1.5, 0.0);
  EXPECT_EQ(fromPoint.centre.flag, 0);

  const CDArc fromCoordinates(-1.0, -2.0, 0.5, 270.0, 45.0, true);
  ExpectArc(fromCoordinates, -1.0, -2.0, 0.5, 3 * kPi / 2, kPi / 4);

  CDArc withFlag;
  EXPECT_FALSE(withFlag.centre.IsValid());
  withFlag.SetParam(CDPoint(1.0, 1.0, 5), 2.0, 0.25, 0.75);
  EXPECT_EQ(withFlag.centre.flag, 5);
  const CDArc copied(&withFlag);
  ExpectArc(copied, 1.0, 1.0, 2.0, 0.25, 0.75, 0.0);
  EXPECT_EQ(copied.centre.flag, 5);
  const auto copy = withFlag.Copy();
  ExpectArc(*copy, 1.0, 1.0, 2.0, 0.25, 0.75, 0.0);
  EXPECT_EQ(copy->centre.flag, 5);
}

// Degrees become radians by the one conversion of the core, bit for bit: 3.0 and 2.3 are angles
// where angle * pi / 180 would give another last bit.
TEST(DArcTest, DegreesConvertByTheCoreFactor) {
  const CDArc arc(0.0, 0.0, 1.0, 3.0, 2.3, true);
  EXPECT_EQ(arc.start, 3.0 * 0.017453292519943295);
  EXPECT_EQ(arc.end, 2.3 * 0.017453292519943295);
}

TEST(DArcTest, Set3PRunsThroughTheMiddlePoint) {
  struct Case {
    CDPoint p1, p2, p3;
    double cx, cy, r, start, end;
  };
  const Case cases[] = {
      {{-1, 0}, {0, -1}, {1, 0}, 0, 0, 1, kPi, 0},  // the lower half
      {{-1, 0}, {0, 1}, {1, 0}, 0, 0, 1, 0, kPi},   // the upper half
      {{1, 0}, {0, 1}, {-1, 0}, 0, 0, 1, 0, kPi},   // the order of the ends does not count
      {{0, -1}, {1, 0}, {0, 1}, 0, 0, 1, 3 * kPi / 2, kPi / 2},  // through angle 0
      {{-1, 0}, {1, 0}, {0, 1}, 0, 0, 1, kPi, kPi / 2},          // a vertical bisector
      {{8, 4}, {3, 9}, {-2, 4}, 3, 4, 5, 0, kPi},
  };
  for (const Case& c : cases) {
    CDArc arc;
    ASSERT_TRUE(arc.Set3P(&c.p1, &c.p2, &c.p3));
    ExpectArc(arc, c.cx, c.cy, c.r, c.start, c.end);
    EXPECT_EQ(arc.centre.flag, 0);
  }
}

TEST(DArcTest, Set3PRejectsPointsOnOneLine) {
  const CDPoint horizontal[] = {{0, 1}, {1, 1}, {3, 1}};
  const CDPoint vertical[] = {{2, 0}, {2, 1}, {2, 5}};
  const CDPoint sloped[] = {{0, 0}, {1, 1}, {2, 2}};
  for (const CDPoint* p : {horizontal, vertical, sloped}) {
    CDArc arc = MakeArc(9.0, 9.0, 1.0, 0.1, 0.2);
    EXPECT_FALSE(arc.Set3P(&p[0], &p[1], &p[2]));
    EXPECT_FALSE(arc.Set1L1P(&p[0], &p[1], &p[2]));
    ExpectArc(arc, 9.0, 9.0, 1.0, 0.1, 0.2, 0.0);  // left as it was
  }
  const CDPoint a(0, 0);
  CDArc arc;
  EXPECT_FALSE(arc.Set3P(&a, nullptr, &a));
  EXPECT_FALSE(arc.Set1L1P(nullptr, &a, &a));
}

TEST(DArcTest, Set1L1PIsTangentAtTheSecondPoint) {
  struct Case {
    CDPoint p1, p2, p3;
    double cx, cy, r, start, end;
  };
  const Case cases[] = {
      {{-2, 0}, {0, 0}, {1, 1}, 0, 1, 1, 3 * kPi / 2, 0},
      {{2, 0}, {0, 0}, {-1, 1}, 0, 1, 1, kPi, 3 * kPi / 2},
      {{-1, -1}, {0, 0}, {2, 0}, 1, -1, std::sqrt(2.0), kPi / 4, 3 * kPi / 4},
  };
  for (const Case& c : cases) {
    CDArc arc;
    ASSERT_TRUE(arc.Set1L1P(&c.p1, &c.p2, &c.p3));
    ExpectArc(arc, c.cx, c.cy, c.r, c.start, c.end);
    // The radius to p2 stands square on the line p1-p2.
    const CDPoint radius = c.p2 - arc.centre;
    const CDPoint along = c.p2 - c.p1;
    EXPECT_NEAR(radius.x * along.x + radius.y * along.y, 0.0, 1e-12);
  }
}

TEST(DArcTest, Set2LFilletsTheCorner) {
  // A horizontal line toward the corner (0, 0) and a vertical one away from it.
  const CDPoint p1(-4, 0);
  const CDPoint p2(-1, 0);
  const CDPoint p3(0, 1);
  const CDPoint p3far(0, 2);
  const CDPoint p4(0, 4);

  CDArc keepFirst;
  ASSERT_TRUE(keepFirst.Set2L(&p1, &p2, &p3far, &p4, 0));  // tangent points (-1, 0), (0, 1)
  ExpectArc(keepFirst, -1, 1, 1, 3 * kPi / 2, 0);

  CDArc keepSecond;
  ASSERT_TRUE(keepSecond.Set2L(&p1, &p2, &p3far, &p4, 1));  // tangent points (-2, 0), (0, 2)
  ExpectArc(keepSecond, -2, 2, 2, 3 * kPi / 2, 0);

  CDArc type2;
  CDArc direct2;
  ASSERT_TRUE(type2.Set2L(&p1, &p2, &p3, &p4, 2));
  ASSERT_TRUE(direct2.Set1L1P(&p1, &p2, &p3));
  ExpectArc(type2, direct2.centre.x, direct2.centre.y, direct2.R, direct2.start, direct2.end, 0);

  CDArc type3;
  CDArc direct3;
  ASSERT_TRUE(type3.Set2L(&p1, &p2, &p3, &p4, 3));
  ASSERT_TRUE(direct3.Set1L1P(&p4, &p3, &p2));
  ExpectArc(type3, direct3.centre.x, direct3.centre.y, direct3.R, direct3.start, direct3.end, 0);
}

TEST(DArcTest, Set2LFailsWithoutACorner) {
  struct Case {
    CDPoint p1, p2, p3, p4;
    int type;
  };
  const Case cases[] = {
      {{0, 0}, {1, 0}, {2, 1}, {5, 1}, 0},  // two horizontal lines
      {{0, 0}, {1, 1}, {3, 2}, {5, 4}, 1},  // two sloped parallel lines
      {{0, 0}, {1, 0}, {2, 0}, {2, 3}, 0},  // p1, p2, p3 on one horizontal line
      {{-4, 0}, {-1, 0}, {0, 1}, {0, 4}, 4},
  };
  for (const Case& c : cases) {
    CDArc arc;
    EXPECT_FALSE(arc.Set2L(&c.p1, &c.p2, &c.p3, &c.p4, c.type)) << c.type;
  }
  const CDPoint p(1, 2);
  const CDPoint q(3, 5);
  const CDPoint s(4, 1);
  CDArc arc;
  EXPECT_FALSE(arc.Set2L(&p, &q, &s, nullptr, 0));
}

TEST(DArcTest, Set2PRTakesTheLowerArc) {
  struct Case {
    CDPoint p1, p2;
    double r;
    bool upper;
    double cx, cy, start, end;
  };
  const double root2 = std::sqrt(2.0);
  const Case cases[] = {
      // |p1 - p2| = 2R: one centre whatever upper says, and the lower half circle.
      {{-1, 0}, {1, 0}, 1, true, 0, 0, kPi, 0},
      {{-1, 0}, {1, 0}, 1, false, 0, 0, kPi, 0},
      {{-1, 0}, {1, 0}, root2, true, 0, 1, 5 * kPi / 4, 7 * kPi / 4},
      {{1, 0}, {-1, 0}, root2, true, 0, 1, 5 * kPi / 4, 7 * kPi / 4},
      {{-1, 0}, {1, 0}, root2, false, 0, -1, 3 * kPi / 4, kPi / 4},
  };
  for (const Case& c : cases) {
    CDArc arc;
    ASSERT_TRUE(arc.Set2PR(c.p1, c.p2, c.r, c.upper));
    ExpectArc(arc, c.cx, c.cy, c.r, c.start, c.end);
    EXPECT_EQ(arc.centre.flag, 0);
  }

  CDArc arc;
  EXPECT_FALSE(arc.Set2PR(CDPoint(0, 0), CDPoint(1, 0), 0.0, true));
  EXPECT_FALSE(arc.Set2PR(CDPoint(0, 0), CDPoint(0.00005, 0), 1.0, true));
  EXPECT_FALSE(arc.Set2PR(CDPoint(-1, 0), CDPoint(1, 0), 0.9, true));
}

// The trimmed arc's ends are the points of the lower half-circle at the two x (LowerPointAt), from
// whose coordinates its end angles come.
TEST(DArcTest, TrimCopyFollowsTheLowerHalfCircle) {
  CDArc arc;
  arc.SetParam(CDPoint(1.0, 2.0, 3), 2.0, 0.5, 1.0);
  struct Case {
    double x1, x2;
    bool made;
    double start, end;
  };
  const Case cases[] = {
      {-1.0, 3.0, true, kPi, 0.0},  // exactly R from the centre: the points at cy
      {1.0, 1.0 + std::sqrt(2.0), true, 3 * kPi / 2, 7 * kPi / 4},
      {-1.0 - 5e-9, 1.0, true, kPi, 3 * kPi / 2},
      {-1.0 - 2e-8, 1.0, false, 0, 0},
      {1.0, 3.0 + 2e-8, false, 0, 0},
  };
  for (const Case& c : cases) {
    const auto trimmed = arc.TrimCopy(c.x1, c.x2);
    ASSERT_EQ(trimmed != nullptr, c.made) << c.x1 << " " << c.x2;
    if (!trimmed) continue;
    ExpectArc(*trimmed, 1.0, 2.0, 2.0, c.start, c.end);
    EXPECT_EQ(trimmed->centre.flag, 3);
    const CDArc::LowerPoint from = arc.LowerPointAt(c.x1);
    const CDArc::LowerPoint to = arc.LowerPointAt(c.x2);
    EXPECT_EQ(from.angle, trimmed->start);
    EXPECT_EQ(to.angle, trimmed->end);
    EXPECT_EQ(from.point.x, c.x1);
    EXPECT_EQ(to.point.x, c.x2);
    ExpectNear(from.point, trimmed->GetStart().x, trimmed->GetStart().y, 1e-8);
    ExpectNear(to.point, trimmed->GetEnd().x, trimmed->GetEnd().y, 1e-8);
  }
}

TEST(DArcTest, PointsOnTheArc) {
  const CDArc rightHalf = MakeArc(1.0, 2.0, 2.0, 3 * kPi / 2, kPi / 2);
  ExpectNear(rightHalf.GetStart(), 1.0, 0.0);
  ExpectNear(rightHalf.GetEnd(), 1.0, 4.0);
  ExpectNear(rightHalf.GetMid(0.5), 3.0, 2.0);  // the angle 2pi
  ExpectNear(rightHalf.GetMid(0.25), 1.0 + std::sqrt(2.0), 2.0 - std::sqrt(2.0));
  const CDArc quarter = MakeArc(0.0, 0.0, 1.0, 0.0, kPi / 2);
  ExpectNear(quarter.GetMid(0.5), std::sqrt(0.5), std::sqrt(0.5));
  EXPECT_EQ(quarter.GetStart().flag, 0);
}

TEST(DArcTest, GetMinMax) {
  struct Case {
    double start, end;
    int which;
    double x, y;
  };
  // Centre (1, 2), R 2.
  const Case cases[] = {
      {kPi, kTwoPi, 2, 1, 0},  // the lower half: its lowest point
      {kPi, kTwoPi, 0, -1, 2},
      {kPi, kTwoPi, 1, 3, 2},
      {kPi, kTwoPi, 3, -1, 2},
      {3 * kPi / 2, kPi / 2, 1, 3, 2},  // wrapping: angle 0 counts
      {3 * kPi / 2, kPi / 2, 3, 1, 4},
      {3 * kPi / 2, kPi / 2, 0, 1, 0},
      {0.1, 1.0, 1, 1 + 2 * std::cos(0.1), 2 + 2 * std::sin(0.1)},  // angle 0 never counts
      {0.1, 1.0, 3, 1 + 2 * std::cos(1.0), 2 + 2 * std::sin(1.0)},
      {-kPi / 2, kPi / 2, 1, 3, 2},  // a negative start is normalised first
  };
  for (const Case& c : cases) {
    CDArc arc = MakeArc(1.0, 2.0, 2.0, c.start, c.end);
    const CDPoint p = arc.GetMinMax(c.which);
    ExpectNear(p, c.x, c.y);
    EXPECT_EQ(p.flag, 0);
    // All four at once give each one's point bit for bit.
    CDArc four = MakeArc(1.0, 2.0, 2.0, c.start, c.end);
    EXPECT_EQ(four.GetExtremes()[static_cast<std::size_t>(c.which)], p);
    // So do they with the arc's ends handed in as its caller found them, before any angle was
    // normalised.
    CDArc given = MakeArc(1.0, 2.0, 2.0, c.start, c.end);
    const CDArc::EndPoints ends{given.GetStart(), given.GetEnd()};
    const CDPoint q = given.GetExtremes(&ends)[static_cast<std::size_t>(c.which)];
    EXPECT_EQ(q.x, p.x);
    EXPECT_EQ(q.y, p.y);
  }
  CDArc negative = MakeArc(1.0, 2.0, 2.0, -kPi / 2, kPi / 2);
  negative.GetMinMax(0);
  EXPECT_DOUBLE_EQ(negative.start, 3 * kPi / 2);
  EXPECT_EQ(negative.end, kPi / 2);
}

TEST(DArcTest, LengthAndSegmentArea) {
  struct Case {
    double start, end;
    double length, area;
  };
  // R 2.
  const Case cases[] = {
      {0, kPi / 2, kPi, kPi - 2},
      {0, kPi, 2 * kPi, 2 * kPi},
      {kPi, 0, 2 * kPi, 2 * kPi},
      {3 * kPi / 2, kPi / 2, 2 * kPi, 2 * kPi},
      {-kPi / 2, kPi / 2, 2 * kPi, 2 * kPi},
      {1.0, 1.0, 4 * kPi, 0},  // the lengths count an equal start and end as a full turn
  };
  for (const Case& c : cases) {
    const CDArc arc = MakeArc(5.0, -3.0, 2.0, c.start, c.end);
    EXPECT_NEAR(arc.GetLength(), c.length, 1e-12) << c.start << " " << c.end;
    EXPECT_NEAR(arc.GetKoArea(), c.area, 1e-12) << c.start << " " << c.end;
  }
}

// Area and centroid distance from the centre of the segment of sweep theta, integrated over
// slices parallel to the chord (Simpson's rule in the angle t, y = R sin t).
struct SegmentIntegral {
  double area;
  double distance;
};

SegmentIntegral IntegrateSegment(double r, double theta) {
  const double t0 = std::asin(std::cos(theta / 2));
  const double t1 = kPi / 2;
  const int n = 2000;
  const double h = (t1 - t0) / n;
  double area = 0;
  double moment = 0;
  for (int i = 0; i <= n; ++i) {
    const double t = t0 + i * h;
    const double weight = (i == 0 || i == n) ? 1 : (i % 2 == 1 ? 4 : 2);
    const double width = 2 * r * std::cos(t);  // slice width at y = R sin t
    const double dy = r * std::cos(t);         // dy / dt
    area += weight * width * dy;
    moment += weight * r * std::sin(t) * width * dy;
  }
  return {area * h / 3, moment / area};
}

TEST(DArcTest, SegmentCentroidForEverySweep) {
  struct Case {
    double start, theta;
  };
  const Case cases[] = {
      {0.3, kPi / 2}, {0.3, kPi}, {0.3, 3 * kPi / 2}, {5.0, 3 * kPi / 2}, {2.0, 1.9 * kPi},
  };
  const double r = 3.0;
  const CDPoint centre(2.0, -1.0);
  for (const Case& c : cases) {
    const CDArc arc = MakeArc(centre.x, centre.y, r, c.start, NormalizeAngle(c.start + c.theta));
    const double middle = c.start + c.theta / 2;
    const double closed =
        4 * r * std::pow(std::sin(c.theta / 2), 3) / (3 * (c.theta - std::sin(c.theta)));
    const SegmentIntegral numeric = IntegrateSegment(r, c.theta);
    EXPECT_NEAR(numeric.distance, closed, 1e-9);
    EXPECT_NEAR(arc.GetKoArea(), numeric.area, 1e-9);

    const CDPoint g = arc.GetKoCenterBalance();
    ExpectNear(g, centre.x + closed * std::cos(middle), centre.y + closed * std::sin(middle), 1e-9);
    EXPECT_EQ(g.flag, 0);
    // The centroid lies toward the middle of the arc, beyond pi too.
    const CDPoint toMid = arc.GetMid(0.5) - centre;
    const CDPoint toCentroid = g - centre;
    EXPECT_GT(toMid.x * toCentroid.x + toMid.y * toCentroid.y, 0.0) << c.start << " " << c.theta;
  }
}

TEST(DArcTest, SliverSegmentGivesTheChordMidpoint) {
  const CDArc sliver = MakeArc(0.0, 0.0, 1.0, 0.5, 0.5 + 1e-5);
  const CDPoint expected = (sliver.GetStart() + sliver.GetEnd()) / 2.0;
  const CDPoint g = sliver.GetKoCenterBalance();
  EXPECT_EQ(g.x, expected.x);
  EXPECT_EQ(g.y, expected.y);
  ExpectNear(MakeArc(0.0, 0.0, 1.0, 0.5, 0.5).GetKoCenterBalance(), std::cos(0.5), std::sin(0.5));
}

// The sliver test decides by a cheap bound where it can: it must agree with the height over the
// chord measured by hypot, at and around kSamePoint, for large and tiny radii, up to pi and
// beyond, and for arcs through angle 0.
TEST(DArcTest, SliverDecisionAgreesWithTheMeasuredHeight) {
  const double heights[] = {
      0.0, 0.5e-4, 0.99e-4, 1e-4 * (1 - 1e-9), 1e-4, 1e-4 * (1 + 1e-9), 1.01e-4, 2e-4, 1e-3, 0.1};
  const double radii[] = {10.0, 1.0, 3e-4, 2e-4, 1.5e-4, 1e-4, 5e-5};
  const double starts[] = {0.3, 4.5, 6.2};
  int slivers = 0;
  int segments = 0;
  for (const double r : radii) {
    for (const double start : starts) {
      std::vector<double> sweeps = {kPi, kPi + 1e-12, 1.5 * kPi, 1.99 * kPi};
      for (const double h : heights) {
        if (h < r) sweeps.push_back(2 * std::acos(1 - h / r));
      }
      for (const double theta : sweeps) {
        const CDArc arc = MakeArc(1.0, -2.0, r, start, NormalizeAngle(start + theta));
        const CDPoint chordMid = (arc.GetStart() + arc.GetEnd()) / 2.0;
        const double e = Hypot(arc.centre, chordMid);
        const double sweep =
            arc.end - arc.start < 0 ? arc.end - arc.start + kTwoPi : arc.end - arc.start;
        const bool sliver = (sweep > kPi ? r + e : r - e) < kSamePoint;
        const CDPoint g = arc.GetKoCenterBalance();
        const bool atChordMid = g.x == chordMid.x && g.y == chordMid.y;
        EXPECT_EQ(atChordMid, sliver) << "R " << r << " start " << start << " sweep " << theta;
        (sliver ? slivers : segments) += 1;
      }
    }
  }
  // Both outcomes occur in the table.
  EXPECT_GT(slivers, 0);
  EXPECT_GT(segments, 0);
}

TEST(DArcTest, CrossAL) {
  struct Case {
    double start, end;  // centre (0, 0), R 1
    CDPoint a, b;
    double tol;
    int result;
    CDPoint out1, out2;
  };
  const double s = std::sqrt(0.75);
  const CDPoint none;
  const Case cases[] = {
      // A segment that ends exactly on the arc counts that point (inclusive ends).
      {0, kPi, {0, 0}, {0, 1}, 0.0, 1, {0, 1}, {0, 1}},
      {0, kPi, {-2, 0.5}, {2, 0.5}, 0.0, 2, {-s, 0.5}, {s, 0.5}},
      {0, kPi, {2, 0.5}, {-2, 0.5}, 0.0, 2, {s, 0.5}, {-s, 0.5}},
      // The first crossing lies off the arc: out1 is the second.
      {0, kPi, {0.5, -2}, {0.5, 2}, 0.0, 1, {0.5, s}, {0.5, s}},
      {0,
       kPi,
       {2, 2},
       {3, 3},
       0.0,
       0,
       {std::sqrt(0.5), std::sqrt(0.5)},
       {std::sqrt(0.5), std::sqrt(0.5)}},
      // The crossing 1e-7 beyond the segment's end counts within tol.
      {0, kPi, {0, 0}, {0, 1 - 1e-7}, 0.0, 0, {0, 1}, {0, 1}},
      {0, kPi, {0, 0}, {0, 1 - 1e-7}, 1e-6, 1, {0, 1}, {0, 1}},
      // A wrapping arc (the right half) takes angle 0.
      {3 * kPi / 2, kPi / 2, {-2, 0}, {2, 0}, 0.0, 1, {1, 0}, {1, 0}},
      {0, kPi / 2, {-2, 0}, {2, 0}, 0.0, 1, {1, 0}, {1, 0}},      // the arc's start counts
      {0, kPi, {-2, 1.5}, {2, 1.5}, 0.0, -1, none, none},         // the line misses the circle
      {0, kPi, {0.5, 0.5}, {0.50005, 0.5}, 0.0, -1, none, none},  // a and b coincide
  };
  for (const Case& c : cases) {
    const CDArc arc = MakeArc(0.0, 0.0, 1.0, c.start, c.end);
    CDPoint out1;
    CDPoint out2;
    EXPECT_EQ(arc.CrossAL(c.a, c.b, out1, out2, c.tol), c.result)
        << "(" << c.a.x << "," << c.a.y << ")-(" << c.b.x << "," << c.b.y << ")";
    if (c.result < 0) continue;
    ExpectNear(out1, c.out1.x, c.out1.y);
    ExpectNear(out2, c.out2.x, c.out2.y);
  }
}

// The vertical crossing gives CrossAL's answer on the vertical test line bit for bit, with and
// without the ends' x that decide the sweep of a crossing below the centre: through the middle,
// at and a hair beside the circle's sides (where the miss is proved without hypot) and the arc's
// ends (where x alone no longer decides), on lower arcs (one from pi, one to a hair below 2pi),
// an arc to 2pi, a wrapping arc and an arc over the top.
TEST(DArcTest, CrossVerticalMatchesCrossALOnTheTestLine) {
  const auto bits = [](double v) { return std::bit_cast<std::uint64_t>(v); };
  const CDArc arcs[] = {MakeArc(3.0, 7.5, 12.25, kPi + 0.3, kTwoPi - 0.2),
                        MakeArc(-40.0, 20.0, 35.0, kPi, kTwoPi - 1e-9),
                        MakeArc(-40.0, 20.0, 35.0, kPi + 1e-9, kTwoPi),
                        MakeArc(0.1, -0.3, 1e-3, 5.5, 0.5), MakeArc(2.0, 1.0, 5.0, 0.2, kPi - 0.2)};
  for (const CDArc& arc : arcs) {
    const CDArc::EndXs ends{arc.GetStart().x, arc.GetEnd().x};
    std::vector<double> xs = {arc.centre.x, -0.0, 0.0, std::nan("")};
    for (const double x : {arc.centre.x - arc.R, arc.centre.x + arc.R, ends.start, ends.end}) {
      for (const double hair : {0.0, 1e-13, 1e-12, 1e-9, 1e-6, 1e-5, 2e-5, 1e-3}) {
        xs.push_back(x + hair * arc.R);
        xs.push_back(x - hair * arc.R);
        xs.push_back(x + hair);
        xs.push_back(x - hair);
      }
    }
    for (const double x : xs) {
      CDPoint expected1;
      CDPoint expected2;
      const int expected = arc.CrossAL({x, -1e4}, {x, 1e4}, expected1, expected2, 0);
      for (const CDArc::EndXs* given : {static_cast<const CDArc::EndXs*>(nullptr), &ends}) {
        CDPoint out1;
        CDPoint out2;
        ASSERT_EQ(arc.CrossVertical(x, out1, out2, given), expected) << x;
        if (expected < 0) continue;
        for (const auto& [got, want] : {std::pair{out1, expected1}, std::pair{out2, expected2}}) {
          EXPECT_EQ(bits(got.x), bits(want.x)) << x;
          EXPECT_EQ(bits(got.y), bits(want.y)) << x;
        }
      }
    }
  }
}

// With the arc's column at hand CrossAL gives its plain answer bit for bit: segments through the
// arc's ends and a hair beside them (where x alone no longer decides), chords and rays through the
// centre, lines at the centre's level and a hair above and below it (the direction pi, which a
// sweep from pi holds), tangents at the bottom and beside the ends, a segment with an end on the
// circle and far coordinates, with tol 0 and 1e-3, on lower sweeps (from pi, to a hair below 2pi,
// a large circle) and on sweeps that the column leaves to the sweep test.
TEST(DArcTest, CrossALWithAColumnMatchesCrossAL) {
  const auto bits = [](double v) { return std::bit_cast<std::uint64_t>(v); };
  const CDArc arcs[] = {MakeArc(3.0, 7.5, 12.25, kPi + 0.3, kTwoPi - 0.2),
                        MakeArc(-40.0, 20.0, 35.0, kPi, kTwoPi - 1e-9),
                        MakeArc(-40.0, 20.0, 35.0, kPi + 1e-9, kTwoPi - 0.5),
                        MakeArc(1234.567, 987.654321, 1500.0, kPi + 1.0, kTwoPi - 0.01),
                        MakeArc(0.1, -0.3, 1e-3, 4.0, 5.5),
                        MakeArc(-40.0, 20.0, 35.0, kPi + 1e-9, kTwoPi),
                        MakeArc(0.1, -0.3, 1e-3, 5.5, 0.5),
                        MakeArc(2.0, 1.0, 5.0, 0.2, kPi - 0.2)};
  for (const CDArc& arc : arcs) {
    const CDArc::EndPoints ends{arc.GetStart(), arc.GetEnd()};
    const CDArc::VerticalColumn column = arc.Column({ends.start.x, ends.end.x});
    const CDPoint& c = arc.centre;
    const double r = arc.R;
    std::vector<std::pair<CDPoint, CDPoint>> segments;
    const auto through = [&](const CDPoint& p, double angle, double half) {
      const CDPoint along(std::cos(angle) * half, std::sin(angle) * half);
      segments.emplace_back(p - along, p + along);
    };
    for (const double angle : {arc.start, arc.end}) {
      for (const double hair : {0.0, 1e-13, -1e-13, 1e-9, -1e-9, 1e-6, -1e-6, 1e-3, -1e-3}) {
        const CDPoint on = c + Polar(r, angle + hair);
        for (const double direction : {0.0, 0.3, kPi / 2, 2.0}) through(on, direction, r);
        segments.emplace_back(on, c);                        // ending on the circle
        through(on, angle + kPi / 2, r * 1e-3);              // a tangent
        segments.emplace_back(on, on + CDPoint(5e3, -7e3));  // far coordinates
      }
    }
    for (int k = 0; k < 16; ++k) through(c, k * kTwoPi / 16 + 0.01, 2 * r);
    for (const double rise : {0.0, 1e-300, -1e-300, 1e-15, -1e-15, 1e-12, -1e-12, 1e-9, -1e-9}) {
      const double y = c.y + rise * r;
      segments.emplace_back(CDPoint(c.x - 2 * r, y), CDPoint(c.x + 2 * r, y));
      segments.emplace_back(CDPoint(c.x - r, y), CDPoint(c.x - r * (1 - 1e-9), y + 1e-6 * r));
    }
    for (const double nudge : {-1e-9, 0.0, 1e-9}) {
      const double y = c.y - r * (1 + nudge);
      segments.emplace_back(CDPoint(c.x - r, y), CDPoint(c.x + r, y));  // the bottom's tangent
    }
    segments.emplace_back(CDPoint(std::nan(""), c.y), CDPoint(c.x, c.y - 2 * r));
    segments.emplace_back(c, c);
    for (const auto& [a, b] : segments) {
      for (const double tol : {0.0, 1e-3}) {
        const CDArc::Edge edge(a, b);
        CDPoint expected1;
        CDPoint expected2;
        const int expected = arc.CrossAL(edge, expected1, expected2, tol);
        CDPoint out1;
        CDPoint out2;
        ASSERT_EQ(arc.CrossAL(edge, out1, out2, tol, column), expected)
            << a.x << "," << a.y << " - " << b.x << "," << b.y;
        if (expected < 0) continue;
        for (const auto& [got, want] : {std::pair{out1, expected1}, std::pair{out2, expected2}}) {
          EXPECT_EQ(bits(got.x), bits(want.x));
          EXPECT_EQ(bits(got.y), bits(want.y));
        }
      }
    }
  }
}

// Between the ends of an arc below its centre, the lower crossing from the circle's terms found
// once is LowestYAt's value bit for bit wherever that counts the lower crossing: at the centre's x
// (where the foot's rounding beside the centre decides the distance), a hair inside the ends and
// across the arc, for centres whose y the foot's steps round; beside the circle the line misses.
TEST(DArcTest, LowerCrossingFromTheFootIsLowestYAtsValue) {
  const auto bits = [](double v) { return std::bit_cast<std::uint64_t>(v); };
  const CDArc arcs[] = {MakeArc(3.0, 7.5, 12.25, kPi + 0.3, kTwoPi - 0.2),
                        MakeArc(-40.0, 20.0, 35.0, kPi, kTwoPi - 1e-9),
                        MakeArc(1234.567, 987.654321, 1500.0, kPi + 1.0, kTwoPi),
                        MakeArc(0.1, -0.3, 1e-3, 4.0, 5.5)};
  for (const CDArc& arc : arcs) {
    ASSERT_TRUE(arc.LiesBelowCentre());
    const CDArc::EndXs ends{arc.GetStart().x, arc.GetEnd().x};
    const CDArc::VerticalTerms terms = arc.GetVerticalTerms();
    std::vector<double> xs = {arc.centre.x, std::nextafter(arc.centre.x, 0.0)};
    for (const double hair : {1e-13, 1e-9, 1e-6}) {
      xs.push_back(ends.start + hair * arc.R);
      xs.push_back(ends.end - hair * arc.R);
    }
    for (int k = 1; k < 100; ++k) xs.push_back(ends.start + (ends.end - ends.start) * k / 100);
    int compared = 0;
    for (const double x : xs) {
      // A hair from the side of a tiny circle the lower crossing may round above the centre,
      // where LowestYAt's sweep test has the last word.
      const double want = arc.LowestYAt(x, &ends);
      if (want == kNoValue) continue;
      EXPECT_EQ(bits(arc.LowerCrossingYAt(x, terms)), bits(want)) << x;
      ++compared;
    }
    EXPECT_GE(compared, 100);
    EXPECT_EQ(arc.LowerCrossingYAt(arc.centre.x + arc.R * 1.01, terms), kNoValue);
  }
  EXPECT_FALSE(MakeArc(2.0, 1.0, 5.0, 0.2, kPi - 0.2).LiesBelowCentre());
  EXPECT_FALSE(MakeArc(0.1, -0.3, 1e-3, 5.5, 0.5).LiesBelowCentre());
}

// The half sweep from the chord agrees with the one from the angles to the rounding of the points'
// coordinates, for small and large circles, sweeps from a hair to the longest the series takes,
// and gives way beyond it.
TEST(DArcTest, ShortSweepFromTheChordAgreesWithTheAngles) {
  const CDArc circles[] = {MakeArc(3.0, 7.5, 0.5, 0, 0), MakeArc(-40.0, 20.0, 35.0, 0, 0),
                           MakeArc(1234.567, 987.654321, 2000.0, 0, 0)};
  for (const CDArc& circle : circles) {
    const double scale = std::fabs(circle.centre.x) + std::fabs(circle.centre.y) + circle.R;
    const double tol = 1e-14 * scale / circle.R;
    for (const double from : {kPi + 0.1, 1.5 * kPi, kTwoPi - 0.2}) {
      for (const double theta : {1e-6, 1e-3, 0.03, 0.1, 0.124}) {
        const CDPoint a = circle.centre + Polar(circle.R, from);
        const CDPoint b = circle.centre + Polar(circle.R, from + theta);
        const std::optional<CDArc::HalfSweep> half = circle.ShortSweep(a, b);
        ASSERT_TRUE(half.has_value()) << theta;
        EXPECT_NEAR(half->theta, theta, tol) << theta;
        EXPECT_NEAR(half->sin, std::sin(theta / 2), tol) << theta;
        EXPECT_NEAR(half->cos, std::cos(theta / 2), tol) << theta;
      }
      const CDPoint a = circle.centre + Polar(circle.R, from);
      EXPECT_FALSE(circle.ShortSweep(a, circle.centre + Polar(circle.R, from + 0.13)));
      EXPECT_FALSE(circle.ShortSweep(a, circle.centre + Polar(circle.R, from + 2.0)));
    }
  }
}

// A step along the lower half-circle ends at LowerPointAt's point, with its angle (to the rounding
// of the sum) and the sweep between the angles; a long step takes LowerPointAt's angle and the
// half sweep's sine and cosine.
TEST(DArcTest, LowerPieceToStepsAlongTheLowerHalf) {
  const auto bits = [](double v) { return std::bit_cast<std::uint64_t>(v); };
  const CDArc arc = MakeArc(3.0, 7.5, 12.25, kPi, kTwoPi);
  for (const double x1 : {-9.0, -2.5, 3.0, 14.0}) {
    const CDArc::LowerPoint from = arc.LowerPointAt(x1);
    for (const double width : {1e-4, 0.3, 0.6, 1.2}) {
      const double x2 = x1 + width;
      const CDArc::LowerPiece piece = arc.LowerPieceTo(from, x2);
      const CDArc::LowerPoint want = arc.LowerPointAt(x2);
      EXPECT_EQ(bits(piece.end.point.x), bits(want.point.x));
      EXPECT_EQ(bits(piece.end.point.y), bits(want.point.y));
      EXPECT_NEAR(piece.end.angle, want.angle, 1e-14) << x1 << " " << width;
      EXPECT_NEAR(piece.half.theta, want.angle - from.angle, 1e-14) << x1 << " " << width;
      EXPECT_NEAR(piece.half.sin, std::sin((want.angle - from.angle) / 2), 1e-14);
    }
  }
  const CDArc::LowerPoint from = arc.LowerPointAt(-5.0);
  const CDArc::LowerPiece piece = arc.LowerPieceTo(from, 10.0);
  const CDArc::LowerPoint want = arc.LowerPointAt(10.0);
  EXPECT_EQ(bits(piece.end.angle), bits(want.angle));
  const double theta = want.angle - from.angle;
  EXPECT_EQ(bits(piece.half.theta), bits(theta));
  EXPECT_EQ(bits(piece.half.sin), bits(std::sin(theta / 2)));
  EXPECT_EQ(bits(piece.half.cos), bits(std::cos(theta / 2)));
}

// The hypot that skips the call where one leg is negligible gives std::hypot's bits: at the
// threshold of the shortcut and around it, for legs of every scale from the smallest normal
// numbers to the largest, signed zeros, and a million random pairs where the short leg is a
// rounding residue of a coordinate (the vertical's foot beside the arc's centre).
TEST(DArcTest, LegDominatedHypotMatchesStdHypot) {
  const auto bits = [](double v) { return std::bit_cast<std::uint64_t>(v); };
  const auto expectSame = [&](double a, double b) {
    ASSERT_EQ(bits(LegDominatedHypot(a, b)), bits(std::hypot(a, b))) << a << " " << b;
  };
  for (const double a : {1.0, 1.5, 3.0, 1e-300, 2.2250738585072014e-308, 1e300, 123.456}) {
    for (const double ratio :
         {0.0, 0x1p-30, std::nextafter(0x1p-30, 1.0), std::nextafter(0x1p-30, 0.0), 0x1p-29,
          0x1p-27, 0x1p-26, 1e-12, 1e-6, 0.5, 1.0}) {
      for (const double sa : {a, -a}) {
        expectSame(sa, a * ratio);
        expectSame(sa, -a * ratio);
      }
    }
  }
  expectSame(0.0, 0.0);
  expectSame(-0.0, 0.0);
  expectSame(0.0, -0.0);
  std::mt19937_64 random(20261210);
  std::uniform_real_distribution<double> coordinate(-500.0, 500.0);
  std::uniform_int_distribution<int> residueBits(-60, -20);
  for (int i = 0; i < 1000000; ++i) {
    const double a = coordinate(random);
    const double b = std::ldexp(coordinate(random), residueBits(random));
    expectSame(a, b);
  }
}

// The sweep test of a direction agrees with the angle's definition (atan2 brought into [0, 2pi)
// between the start and end angles brought there) at the ends, a hair either side of them, near
// the wrap at 0 and the other quadrant boundaries and all around, on arcs through angle 0 and
// arcs longer than pi.
TEST(DArcTest, HoldsDirectionAgreesWithTheAngleTest) {
  const auto halfOpen = [](double angle) {
    const double a = NormalizeAngle(angle);
    return a >= kTwoPi ? a - kTwoPi : a;
  };
  const auto expected = [&](const CDArc& arc, double dx, double dy) {
    const double s = halfOpen(arc.start);
    const double e = halfOpen(arc.end);
    const double a = halfOpen(std::atan2(dy, dx));
    return e <= s ? a >= s || a <= e : s <= a && a <= e;
  };
  const std::pair<double, double> sweeps[] = {
      {0.3, 1.2}, {kPi, 1.5 * kPi},    {5.5, 0.5},     {0.3, 4.0},
      {4.0, 3.0}, {0.0, kPi},          {kPi, kTwoPi},  {-0.4, 0.4},
      {1.0, 1.0}, {kTwoPi + 0.2, 7.0}, {kPi / 2, kPi}, {1.5 * kPi, kPi / 2},
  };
  const double offsets[] = {0,     1e-12, -1e-12, 1e-10, -1e-10, 1e-8, -1e-8, 1e-7,
                            -1e-7, 1e-6,  -1e-6,  3e-6,  -3e-6,  1e-4, -1e-4};
  const CDPoint centres[] = {{0, 0}, {12.3, -45.6}};
  for (const CDPoint& centre : centres) {
    for (const double r : {1.0, 37.5}) {
      for (const auto& [start, end] : sweeps) {
        const CDArc arc = MakeArc(centre.x, centre.y, r, start, end);
        std::vector<double> angles;
        for (const double base : {start, end, 0.0, kPi / 2, kPi, 1.5 * kPi}) {
          for (const double offset : offsets) angles.push_back(base + offset);
        }
        for (int k = 0; k < 64; ++k) angles.push_back(k * kTwoPi / 64 + 0.01);
        for (const double angle : angles) {
          // The direction as CrossAL forms it: a point of the circle less the centre.
          const CDPoint p = centre + Polar(r, angle);
          const double dx = p.x - centre.x;
          const double dy = p.y - centre.y;
          EXPECT_EQ(arc.HoldsDirection(dx, dy), expected(arc, dx, dy))
              << start << " " << end << " r " << r << " angle " << angle;
        }
        EXPECT_EQ(arc.HoldsDirection(0, 0), expected(arc, 0, 0)) << start << " " << end;
      }
    }
  }
}

// A segment from the centre through the unit circle at the angle.
std::vector<CDPoint> Ray(double angle) { return {CDPoint(0, 0), Polar(2.0, angle)}; }

TEST(DArcTest, CutArcDividesAtTheCrossings) {
  struct Case {
    const char* name;
    double start, end;
    std::vector<std::vector<CDPoint>> polylines;
    std::vector<std::pair<double, double>> pieces;
  };
  const Case cases[] = {
      {"first quadrant, no crossing", 0.2, 1.0, {}, {{0.2, 1.0}}},
      {"first quadrant, a crossing", 0.2, 1.0, {Ray(0.6)}, {{0.2, 0.6}, {0.6, 1.0}}},
      {"first quadrant, a crossing off the arc", 0.2, 1.0, {Ray(2.0)}, {{0.2, 1.0}}},
      {"wrapping, no crossing", 5.5, 0.5, {}, {{5.5, 0.5}}},
      {"wrapping, crossings both sides of 0",
       5.5,
       0.5,
       {Ray(0.0), Ray(6.0)},
       {{5.5, 6.0}, {6.0, 0.0}, {0.0, 0.5}}},
      {"lower half, a vertical line",
       kPi,
       0.0,
       {{CDPoint(0, -2), CDPoint(0, 2)}},
       {{kPi, 3 * kPi / 2}, {3 * kPi / 2, 0.0}}},
      {"crossings in reverse order along one polyline",
       0.2,
       1.0,
       {{CDPoint(0, 0), Polar(2.0, 0.8), Polar(2.0, 0.4), CDPoint(0, 0)}},
       {{0.2, 0.4}, {0.4, 0.8}, {0.8, 1.0}}},
      {"a crossing at the arc's end makes no piece", 0.2, 1.0, {Ray(0.2), Ray(1.0)}, {{0.2, 1.0}}},
      {"crossings closer than 1e-6 cut once",
       0.2,
       1.0,
       {Ray(0.6), Ray(0.6 + 1e-7)},
       {{0.2, 0.6}, {0.6 + 1e-7, 1.0}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    CDArc arc;
    arc.SetParam(CDPoint(0.0, 0.0, 4), 1.0, c.start, c.end);
    const auto pieces = arc.CutArc(c.polylines);
    ASSERT_EQ(pieces.size(), c.pieces.size());
    for (std::size_t i = 0; i < pieces.size(); ++i) {
      ExpectArc(*pieces[i], 0.0, 0.0, 1.0, c.pieces[i].first, c.pieces[i].second);
      EXPECT_EQ(pieces[i]->centre.flag, 0);
    }
    // The pieces start and end exactly at the arc's own angles.
    EXPECT_EQ(pieces.front()->start, c.start);
    EXPECT_EQ(pieces.back()->end, c.end);
  }
}

// CutArc passes over the segments whose box lies clear of the circle (above the centre for a
// sweep below it) and those inside the circle: at and near those limits it cuts wherever CrossAL
// counts a crossing inside the sweep, for arcs below the centre, wrapping to 0, and reaching
// above it.
TEST(DArcTest, CutArcCutsAtEveryCountedCrossingNearTheCircleBox) {
  constexpr double kNudges[] = {-1e-4, -1e-6, -4e-8, -3e-8, -1e-12, 0.0, 1e-12, 1e-6, 1e-4};
  struct Sweep {
    double start, end;
  };
  const Sweep sweeps[] = {{kPi, 0.0}, {kPi, 2 * kPi - 0.3}, {kPi + 0.3, 0.0}, {5.5, 0.5}};
  for (const Sweep& sweep : sweeps) {
    CDArc arc;
    arc.SetParam(CDPoint(3.0, 2.0), 1.5, sweep.start, sweep.end);
    for (const double d : kNudges) {
      // Horizontal chords at the centre's height and along the bottom, vertical ones at the sides,
      // each a little on either side of the limit.
      const std::vector<CDPoint> segments[] = {
          {CDPoint(0.0, 2.0 + d), CDPoint(6.0, 2.0 + d)},
          {CDPoint(0.0, 0.5 + d), CDPoint(6.0, 0.5 + d)},
          {CDPoint(1.5 + d, 0.0), CDPoint(1.5 + d, 4.0)},
          {CDPoint(4.5 + d, 0.0), CDPoint(4.5 + d, 4.0)},
          {CDPoint(4.0, 2.0 + d), CDPoint(6.0, 2.0 + d)},
          // Chords with both ends at the distance 1.5 + d from the centre: a long one below it,
          // a short one at the bottom and one across the centre's height.
          {arc.centre + CDPoint(std::cos(3.5), std::sin(3.5)) * (1.5 + d),
           arc.centre + CDPoint(std::cos(5.8), std::sin(5.8)) * (1.5 + d)},
          {arc.centre + CDPoint(std::cos(4.6), std::sin(4.6)) * (1.5 + d),
           arc.centre + CDPoint(std::cos(4.8), std::sin(4.8)) * (1.5 + d)},
          {arc.centre + CDPoint(std::cos(2.8), std::sin(2.8)) * (1.5 + d),
           arc.centre + CDPoint(std::cos(6.0), std::sin(6.0)) * (1.5 + d)},
      };
      for (const auto& segment : segments) {
        SCOPED_TRACE(testing::Message() << "sweep " << sweep.start << " to " << sweep.end
                                        << ", segment " << segment[0].x << "," << segment[0].y
                                        << " - " << segment[1].x << "," << segment[1].y);
        CDPoint first;
        CDPoint second;
        const int found = arc.CrossAL(segment[0], segment[1], first, second, 1e-12);
        // The pieces the counted crossings make: cuts clear of the ends, then apart, by 1e-6.
        const double unwrappedEnd = arc.end > arc.start ? arc.end : arc.end + 2 * kPi;
        std::vector<double> keys{arc.start, unwrappedEnd};
        for (int k = 0; k < found; ++k) {
          const CDPoint& p = k == 0 ? first : second;
          double turn = std::fmod(
              NormalizeAngle(std::atan2(p.y - arc.centre.y, p.x - arc.centre.x)) - arc.start,
              2 * kPi);
          if (turn < 0) turn += 2 * kPi;
          if (turn > 1e-6 && unwrappedEnd - (arc.start + turn) > 1e-6) {
            keys.push_back(arc.start + turn);
          }
        }
        std::sort(keys.begin(), keys.end());
        std::size_t pieces = 0;
        for (std::size_t k = 0; k + 1 < keys.size(); ++k) {
          if (keys[k + 1] - keys[k] >= 1e-6) ++pieces;
        }
        EXPECT_EQ(arc.CutArc({segment}).size(), pieces);
      }
    }
  }
}

// A segment the arc calls clear has no crossing CrossAL counts, at and near the limits of the
// arc's box (above the centre for a sweep below it), of the inside and of the outside of the
// circle, with and without a tolerance; well inside and well outside the circle it is clear.
TEST(DArcTest, ASegmentClearOfTheArcHasNoCountedCrossing) {
  constexpr double kNudges[] = {-1e-4, -1e-6, -4e-8, -3e-8, -1e-12, 0.0, 1e-12, 1e-6, 1e-4};
  const double sweeps[][2] = {{kPi, 0.0}, {kPi + 0.3, 0.0}, {5.5, 0.5}};
  const CDPoint centre(3.0, 2.0);
  constexpr double r = 1.5;
  const auto at = [&](double angle, double distance) {
    return centre + CDPoint(std::cos(angle), std::sin(angle)) * distance;
  };
  for (const auto& sweep : sweeps) {
    CDArc arc;
    arc.SetParam(centre, r, sweep[0], sweep[1]);
    for (const double tol : {0.0, 1e-3}) {
      const auto clear = [&arc, tol](const CDPoint& a, const CDPoint& b) {
        return arc.ClearOfEdge(CDArc::Edge(a, b), tol, arc.GetClearance());
      };
      for (const double d : kNudges) {
        const std::vector<CDPoint> segments[] = {
            // Along the box's top, bottom and sides.
            {CDPoint(0.0, 2.0 + d), CDPoint(6.0, 2.0 + d)},
            {CDPoint(0.0, 0.5 + d), CDPoint(6.0, 0.5 + d)},
            {CDPoint(4.5 + d, 0.0), CDPoint(4.5 + d, 4.0)},
            // Chords with both ends at the distance r + d: inside the circle for d < 0.
            {at(3.5, r + d), at(5.8, r + d)},
            {at(4.6, r + d), at(4.8, r + d)},
            // Tangents at the distance r + d, wholly outside the circle for d > 0, and a short
            // piece of one.
            {at(4.0, r + d) + CDPoint(-std::sin(4.0), std::cos(4.0)) * 2.0,
             at(4.0, r + d) - CDPoint(-std::sin(4.0), std::cos(4.0)) * 2.0},
            {at(5.0, r + d) + CDPoint(-std::sin(5.0), std::cos(5.0)) * 0.01,
             at(5.0, r + d) - CDPoint(-std::sin(5.0), std::cos(5.0)) * 0.01},
            // A segment ending on the circle from outside.
            {at(4.2, r + d), at(4.2, r + 1.0)},
        };
        for (const auto& segment : segments) {
          SCOPED_TRACE(testing::Message()
                       << "sweep " << sweep[0] << " to " << sweep[1] << ", tol " << tol
                       << ", segment " << segment[0].x << "," << segment[0].y << " - "
                       << segment[1].x << "," << segment[1].y);
          CDPoint first;
          CDPoint second;
          if (clear(segment[0], segment[1])) {
            EXPECT_LE(arc.CrossAL(segment[0], segment[1], first, second, tol), 0);
          }
        }
      }
      EXPECT_TRUE(clear(at(4.0, 1.0), at(5.0, 1.2)));   // inside
      EXPECT_TRUE(clear(at(4.0, 1.6), at(4.1, 1.7)));   // outside, beside the arc
      EXPECT_FALSE(clear(at(4.5, 1.0), at(4.5, 2.0)));  // across the arc
    }
  }
}

TEST(DArcTest, IsSameGroup) {
  const CDArc arc = MakeArc(1.0, 1.0, 2.0, 0.0, 1.0);
  struct Case {
    CDArc other;
    bool same;
  };
  const Case cases[] = {
      {MakeArc(1.0, 1.0, 2.0, 3.0, 4.0), true},
      {MakeArc(1.0, 1.0, 2.0 + 0.9e-5, 0.0, 1.0), true},
      {MakeArc(1.0, 1.0, 2.0 + 2e-5, 0.0, 1.0), false},
      {MakeArc(1.0 + 0.9e-4, 1.0, 2.0, 0.0, 1.0), true},
      {MakeArc(1.0 + 1.5e-4, 1.0, 2.0, 0.0, 1.0), false},
  };
  for (const Case& c : cases) EXPECT_EQ(arc.IsSameGroup(&c.other), c.same);
  EXPECT_FALSE(arc.IsSameGroup(nullptr));
}

class DArcDrawTest : public testing::Test {
 protected:
  void SetUp() override {
    // World (15, 15) falls on device (500, 400) at 10 pixels per unit.
    AttachTestView(view, canvas, 10.0, 500, 400);
    canvas.SelectPen(ownPen);
  }

  RecordingCanvas canvas;
  CViewInfo view;
  const Pen ownPen{PenStyle::Solid, 3, Color::Rgb(0, 128, 0)};
};

TEST_F(DArcDrawTest, ArcInItsBoundingRectangle) {
  MakeArc(15.0, 15.0, 2.0, 0.0, kPi / 2).Draw(view, false);
  ASSERT_EQ(canvas.Primitives().size(), 1u);
  const DrawnPrimitive& arc = canvas.Primitives()[0];
  EXPECT_EQ(arc.kind, PrimitiveKind::Arc);
  EXPECT_EQ(arc.rect, (DevRect{480, 380, 521, 421}));  // one pixel more right and down
  EXPECT_EQ(arc.points, (std::vector<DevPoint>{{520, 400}, {500, 380}}));
  EXPECT_EQ(arc.state.pen, ownPen);
}

TEST_F(DArcDrawTest, RadiiAreDottedRedAndThePenIsRestored) {
  MakeArc(15.0, 15.0, 2.0, 0.0, kPi / 2).Draw(view, true);
  ASSERT_EQ(canvas.Primitives().size(), 3u);
  EXPECT_EQ(canvas.Primitives()[0].kind, PrimitiveKind::Arc);
  const Pen radiiPen{PenStyle::Dot, 1, Color{255}};
  const auto lines = canvas.PrimitivesOf(PrimitiveKind::Line);
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0].points, (std::vector<DevPoint>{{520, 400}, {500, 400}}));
  EXPECT_EQ(lines[1].points, (std::vector<DevPoint>{{500, 400}, {500, 380}}));
  EXPECT_EQ(lines[0].state.pen, radiiPen);
  EXPECT_EQ(lines[1].state.pen, radiiPen);
  EXPECT_EQ(canvas.CurrentPen(), ownPen);
}

TEST_F(DArcDrawTest, AnArcWhoseEndsMeetOnOnePixelIsNotDrawn) {
  const CDArc tiny = MakeArc(15.0, 15.0, 2.0, kPi / 4, kPi / 4 + 1e-4);
  tiny.Draw(view, false);
  EXPECT_TRUE(canvas.Primitives().empty());
  tiny.Draw(view, true);
  EXPECT_EQ(canvas.PrimitivesOf(PrimitiveKind::Arc).size(), 0u);
  EXPECT_EQ(canvas.PrimitivesOf(PrimitiveKind::Line).size(), 2u);
}

}  // namespace
