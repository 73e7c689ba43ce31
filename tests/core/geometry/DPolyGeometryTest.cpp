#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <numbers>
#include <ostream>
#include <stdexcept>
#include <string>
#include <vector>

#include "core/geometry/DPoly.h"
#include "core/geometry/DPolyArray.h"
#include "tests/support/PolyTestUtil.h"

namespace {

// ---- Crossings with a segment ----

TEST(DPolyCrossTest, NearestCrossingToTheStartWins) {
  // A zig-zag crossed by the x axis at x = 1, 3 and 5.
  auto zig = MakePoly({{0, -1}, {2, 1}, {4, -1}, {6, 1}});
  const CDPoint from(6, 0);
  const CDPoint to(-1, 0);
  CDPoint out;
  ASSERT_TRUE(zig->GetCrossPoint(&from, &to, &out, 0));
  EXPECT_NEAR(out.x, 5, 1e-12);
  EXPECT_NEAR(out.y, 0, 1e-12);
  CDPoint checked;
  ASSERT_TRUE(zig->CheckCross(&to, &from, checked, 0));
  EXPECT_NEAR(checked.x, 1, 1e-12);

  // At an angle: the 1000 long segment from (3, -5) straight up meets x = 3 at y = 0.
  const CDPoint below(3, -5);
  ASSERT_TRUE(zig->GetCrossPoint(&below, std::numbers::pi / 2, &out, 0));
  EXPECT_NEAR(out.x, 3, 1e-9);
  EXPECT_NEAR(out.y, 0, 1e-9);
  ASSERT_TRUE(zig->CheckCrossAngle(&below, 90, 10, checked, 0));
  EXPECT_NEAR(checked.y, 0, 1e-9);
  EXPECT_FALSE(zig->CheckCrossAngle(&below, 90, 2, checked, 0));  // too short

  const CDPoint far1(0, 5);
  const CDPoint far2(6, 5);
  EXPECT_FALSE(zig->GetCrossPoint(&far1, &far2, &out, 0));
}

TEST(DPolyCrossTest, CrossPointArrayListsCrossingsInSegmentOrder) {
  auto zig = MakePoly({{0, -1}, {2, 1}, {4, -1}, {6, 1}});
  auto out = MakePoly({{99, 99}});
  const CDPoint from(6, 0);
  const CDPoint to(-1, 0);
  ASSERT_TRUE(zig->GetCrossPointArray(&from, &to, out.get(), 0));
  ExpectPoints(*out, {{1, 0}, {3, 0}, {5, 0}}, 1e-12);

  const CDPoint origin(-1, 5);
  EXPECT_FALSE(zig->GetCrossPointArray(&origin, 0.0, out.get(), 0));
  EXPECT_EQ(out->GetSize(), 0);
  // The output may be the line itself.
  ASSERT_TRUE(zig->GetCrossPointArray(&from, &to, zig.get(), 0));
  EXPECT_EQ(zig->GetSize(), 3);
}

TEST(DPolyCrossTest, IsCrossPointNeedsACrossingOnBothLines) {
  auto line = MakePoly({{0, 0}, {4, 0}});
  EXPECT_TRUE(line->IsCrossPoint(MakePoly({{1, -1}, {1, 1}}).get(), 0));
  EXPECT_FALSE(line->IsCrossPoint(MakePoly({{5, -1}, {5, 1}}).get(), 0));
  // Touching at an end counts only with a tolerance.
  EXPECT_FALSE(line->IsCrossPoint(MakePoly({{4, 0}, {5, 1}}).get(), 0));
  EXPECT_TRUE(line->IsCrossPoint(MakePoly({{4, 0}, {5, 1}}).get(), 1e-6));
  EXPECT_FALSE(line->IsCrossPoint(nullptr, 0));
}

TEST(DPolyCrossTest, GetCrossXKeepsCrossingsOnOrAboveTheGivenLine) {
  // A line crossed by the x axis at x = 1, 3 and 5; the given line lies below the axis only up
  // to x = 4 and does not reach x = 5.
  auto line = MakePoly({{0, -1}, {2, 1}, {4, -1}, {6, 1}});
  auto below = MakePoly({{0, -2}, {4, -2}});
  const CDPoint p1(-1, 0);
  const CDPoint p2(7, 0);
  std::vector<double> xs;
  EXPECT_EQ(line->GetCrossX(&p1, &p2, xs, nullptr, below.get()), 2);
  ASSERT_EQ(xs.size(), 2u);
  EXPECT_NEAR(xs[0], 1, 1e-12);
  EXPECT_NEAR(xs[1], 3, 1e-12);

  std::vector<double> into = {-10, 10};
  int pos = 1;
  EXPECT_EQ(line->GetCrossX(&p1, &p2, into, &pos, below.get()), 2);
  EXPECT_EQ(pos, 3);
  ASSERT_EQ(into.size(), 4u);
  EXPECT_NEAR(into[1], 1, 1e-12);
  EXPECT_NEAR(into[2], 3, 1e-12);
  EXPECT_EQ(into[3], 10);

  // Crossings below the given line do not count; at its height they do.
  EXPECT_EQ(line->GetCrossX(&p1, &p2, xs, nullptr, MakePoly({{0, 2}, {6, 2}}).get()), 0);
  EXPECT_EQ(line->GetCrossX(&p1, &p2, xs, nullptr, MakePoly({{0, 0}, {6, 0}}).get()), 3);
  pos = 9;
  EXPECT_THROW(line->GetCrossX(&p1, &p2, xs, &pos, below.get()), std::out_of_range);
}

// ---- Junction insertion between two lines ----

struct InsCase {
  std::string what;
  std::vector<CDPoint> line, other;
  bool both;
  std::vector<CDPoint> lineAfter, otherAfter;
};

void PrintTo(const InsCase& c, std::ostream* os) { *os << c.what; }

class InsCrossPointTest : public testing::TestWithParam<InsCase> {};

TEST_P(InsCrossPointTest, FlagsAndInsertsJunctions) {
  const InsCase& c = GetParam();
  auto line = MakePoly(c.line);
  auto other = MakePoly(c.other);
  line->InsCrossPoint(other.get(), c.both);
  {
    SCOPED_TRACE("this line");
    ExpectPoints(*line, c.lineAfter, 1e-9);
  }
  {
    SCOPED_TRACE("other line");
    ExpectPoints(*other, c.otherAfter, 1e-9);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Crossings, InsCrossPointTest,
    testing::Values(InsCase{"both-sided crossing",
                            {{0, 0}, {2, 2}},
                            {{0, 2}, {2, 0}},
                            true,
                            {{0, 0}, {1, 1, 1}, {2, 2}},
                            {{0, 2}, {1, 1, 1}, {2, 0}}},
                    InsCase{"one-sided crossing",
                            {{0, 0}, {2, 2}},
                            {{0, 2}, {2, 0}},
                            false,
                            {{0, 0}, {1, 1, 1}, {2, 2}},
                            {{0, 2}, {2, 0}}},
                    InsCase{"crossing within 1e-4 of a vertex only flags the vertex",
                            {{0, 0}, {1, 0}, {2, 0}},
                            {{1.00005, -1}, {1.00005, 1}},
                            false,
                            {{0, 0}, {1, 0, 1}, {2, 0}},
                            {{1.00005, -1}, {1.00005, 1}}},
                    InsCase{"crossing near the other's vertex flags it there",
                            {{1.00005, -1}, {1.00005, 1}},
                            {{0, 0}, {1, 0}, {2, 0}},
                            true,
                            {{1.00005, -1}, {1.00005, 0, 1}, {1.00005, 1}},
                            {{0, 0}, {1, 0, 1}, {2, 0}}},
                    InsCase{"line ending on another",
                            {{0, 0}, {2, 0}},
                            {{1, 0}, {1, 2}},
                            true,
                            {{0, 0}, {1, 0, 1}, {2, 0}},
                            {{1, 0, 1}, {1, 2}}},
                    InsCase{"ends touching",
                            {{0, 0}, {1, 1}},
                            {{1, 1}, {2, 0}},
                            true,
                            {{0, 0}, {1, 1, 1}},
                            {{1, 1, 1}, {2, 0}}},
                    InsCase{"vertical line across a horizontal one",
                            {{1, -1}, {1, 1}},
                            {{0, 0}, {3, 0}},
                            true,
                            {{1, -1}, {1, 0, 1}, {1, 1}},
                            {{0, 0}, {1, 0, 1}, {3, 0}}},
                    InsCase{"parallel lines stay apart",
                            {{0, 0}, {2, 2}},
                            {{0, 1}, {2, 3}},
                            true,
                            {{0, 0}, {2, 2}},
                            {{0, 1}, {2, 3}}},
                    // The segment of this line is split at the first crossing and the piece after
                    // it is scanned again; the other line gains each crossing once.
                    InsCase{
                        "one segment across a zig-zag",
                        {{0, 0}, {6, 0}},
                        {{1, -1}, {2, 1}, {3, -1}, {4, 1}},
                        true,
                        {{0, 0}, {1.5, 0, 1}, {2.5, 0, 1}, {3.5, 0, 1}, {6, 0}},
                        {{1, -1}, {1.5, 0, 1}, {2, 1}, {2.5, 0, 1}, {3, -1}, {3.5, 0, 1}, {4, 1}}}),
    [](const testing::TestParamInfo<InsCase>& param) {
      return "Case" + std::to_string(param.index);
    });

// ---- Self-crossings ----

TEST(DPolySelfCrossTest, NearlyClosedPolygonIsClosedExactly) {
  auto polygon = MakePoly({{0, 0}, {4, 0}, {4, 4}, {0.0003, 0.0004}});
  polygon->InsCrossPoint(nullptr, true);
  ExpectPoints(*polygon, {{0, 0, 1}, {4, 0}, {4, 4}, {0, 0, 1}}, 0);
  // A closed polygon is not searched for crossings of its own.
  auto bow = MakePoly({{0, 0}, {2, 2}, {2, 0}, {0, 2}, {0, 0}});
  bow->InsCrossPoint(bow.get(), true);
  EXPECT_EQ(bow->GetSize(), 5);
}

TEST(DPolySelfCrossTest, SingleCrossingIsInsertedIntoBothSegments) {
  auto line = MakePoly({{0, 0}, {2, 2}, {2, 0}, {0, 2}});
  line->InsCrossPoint(nullptr, true);
  ExpectPoints(*line, {{0, 0}, {1, 1, 1}, {2, 2}, {2, 0}, {1, 1, 1}, {0, 2}});
}

TEST(DPolySelfCrossTest, ZigZagCrossingItselfIsSplitAtEveryCrossing) {
  // Segment 0 is crossed by segment 2 at x = 4/3 and by segment 3 at x = 2 (on the piece after
  // the first crossing); segments 1 and 3 cross at (2.5, 1).
  auto line = MakePoly({{0, 0}, {4, 0}, {1, 2}, {1.5, -1}, {3, 2}});
  line->InsCrossPoint(line.get(), true);
  ExpectPoints(*line, {{0, 0},
                       {4.0 / 3, 0, 1},
                       {2, 0, 1},
                       {4, 0},
                       {2.5, 1, 1},
                       {1, 2},
                       {4.0 / 3, 0, 1},
                       {1.5, -1},
                       {2, 0, 1},
                       {2.5, 1, 1},
                       {3, 2}});
  // A second pass finds nothing new: every crossing is a junction now.
  const std::vector<CDPoint> once = PointsOf(*line);
  line->InsCrossPoint(nullptr, true);
  ExpectPoints(*line, once, 0);
}

TEST(DPolySelfCrossTest, VertexTouchingALaterSegmentIsFlagged) {
  // Vertex 3 lies on vertex 0: the two are flagged, nothing is inserted.
  auto line = MakePoly({{0, 0}, {2, 0}, {2, 2}, {0, 0}, {-1, -3}});
  line->InsCrossPoint(nullptr, false);
  ExpectPoints(*line, {{0, 0, 1}, {2, 0}, {2, 2}, {0, 0, 1}, {-1, -3}});
}

TEST(DPolySelfCrossTest, ShortOrEmptyLinesAreLeftAlone) {
  CDPoly empty;
  empty.InsCrossPoint(nullptr, true);
  EXPECT_EQ(empty.GetSize(), 0);
  auto three = MakePoly({{0, 0}, {2, 0}, {1, 1}});
  three->InsCrossPoint(nullptr, true);
  ExpectPoints(*three, {{0, 0}, {2, 0}, {1, 1}});
}

// ---- Trimming, stretching, merging, splitting ----

TEST(DPolyTrimTest, TrimStartpointDropsOneDanglingPointAtEachEnd) {
  struct Case {
    std::vector<CDPoint> before, after;
  };
  const Case cases[] = {
      {{{0, 0}, {1, 0, 1}, {2, 0, 1}, {3, 0}}, {{1, 0, 1}, {2, 0, 1}}},
      {{{0, 0}, {1, 0}, {2, 0, 1}, {3, 0}}, {{0, 0}, {1, 0}, {2, 0, 1}}},
      {{{0, 0, 1}, {1, 0, 1}, {2, 0}}, {{0, 0, 1}, {1, 0, 1}}},
      {{{0, 0}, {1, 0}, {2, 0}}, {{0, 0}, {1, 0}, {2, 0}}},
      {{{0, 0}, {1, 0, 1}}, {{1, 0, 1}}},
      {{{0, 0}}, {{0, 0}}},
  };
  for (const Case& c : cases) {
    auto line = MakePoly(c.before);
    line->TrimStartpoint();
    ExpectPoints(*line, c.after);
  }
}

TEST(DPolyTrimTest, TrimPointFindsTheRayBeyondTheEnd) {
  // A box around the origin; the ray from (0,0) through (1,0) meets its right side at x = 3.
  auto box = MakePoly({{-3, -1}, {-3, 1}, {3, 1}, {3, -1}});
  const CDPoint p1(0, 0);
  const CDPoint p2(1, 0);
  CDPoint out;
  double dist = 0;
  EXPECT_EQ(box->TrimPoint(&p1, &p2, out, dist), 2);
  EXPECT_NEAR(out.x, 3, 1e-12);
  EXPECT_NEAR(out.y, 0, 1e-12);
  EXPECT_NEAR(dist, 2, 1e-12);
  // The left side lies behind p1 and is ignored; seen from the other side it is found.
  const CDPoint q2(-1, 0);
  EXPECT_EQ(box->TrimPoint(&p1, &q2, out, dist), 0);
  EXPECT_NEAR(out.x, -3, 1e-12);
}

TEST(DPolyTrimTest, TrimPointAtAVertexAndOnShortLines) {
  const CDPoint p1(0, 0);
  const CDPoint p2(1, 0);
  CDPoint out(7, 7);
  double dist = 5;
  EXPECT_EQ(MakePoly({{5, 5}})->TrimPoint(&p1, &p2, out, dist), -1);
  EXPECT_EQ(out.x, 7);
  EXPECT_EQ(dist, 5);
  // The line's last point on p2: distance 0 there.
  EXPECT_EQ(MakePoly({{1, 5}, {1, 3}, {1, 0}})->TrimPoint(&p1, &p2, out, dist), 2);
  EXPECT_EQ(dist, 0);
  EXPECT_EQ(out.x, 1);
  // A vertex on p2 of a segment that runs along the ray gives no crossing point of its own:
  // the vertex itself is taken.
  EXPECT_EQ(MakePoly({{1, 0}, {3, 0}, {3, 4}})->TrimPoint(&p1, &p2, out, dist), 0);
  EXPECT_EQ(dist, 0);
  EXPECT_EQ(out.x, 1);
  EXPECT_EQ(out.y, 0);
}

TEST(DPolyTrimTest, TrimPointTakesAVertexOnTheRayOnItsEarlierSegmentOnlyWithATolerance) {
  // The ray ends on the peak (2, 2): a shared end, on the segment into the peak only while a
  // tolerance is set; without one the peak is found as the start of the segment out of it.
  const auto roof = MakePoly({{0, 0}, {2, 2}, {4, 0}});
  const CDPoint p1(2, -2);
  const CDPoint p2(2, 2);
  CDPoint out;
  double dist = 0;
  EXPECT_EQ(roof->TrimPoint(&p1, &p2, out, dist), 1);
  {
    const ScopedSmallLimit tolerance(1e-6);
    EXPECT_EQ(roof->TrimPoint(&p1, &p2, out, dist), 0);
  }
  EXPECT_EQ(dist, 0);
  EXPECT_EQ(out.x, 2);
  EXPECT_EQ(out.y, 2);
  EXPECT_EQ(roof->TrimPoint(&p1, &p2, out, dist), 1) << "the tolerance ends with its guard";
}

TEST(DPolyTrimTest, SmallLimitComesBackWhenTheGuardEndsByAnException) {
  const ScopedSmallLimit outer(1e-6);
  EXPECT_THROW(
      {
        const ScopedSmallLimit exact(0);
        EXPECT_EQ(CDPoly::GetSmallLimit(), 0);
        throw std::runtime_error("stopped");
      },
      std::runtime_error);
  EXPECT_EQ(CDPoly::GetSmallLimit(), 1e-6);
}

TEST(DPolyTrimTest, DelSamePointMergesAndKeepsJunctions) {
  auto line = MakePoly({{0, 0}, {0.00005, 0, 1}, {1, 0}, {1, 0.00002}, {2, 0}});
  line->DelSamePoint(1e-4);
  ExpectPoints(*line, {{0, 0, 1}, {1, 0}, {2, 0}});
  auto exact = MakePoly({{0, 0}, {0, 0}});
  exact->DelSamePoint(0);  // nothing is closer than 0
  EXPECT_EQ(exact->GetSize(), 2);
}

TEST(DPolyStretchTest, FreeEndIsStretchedOntoANearShape) {
  CDPolyArray shapes;
  shapes.Add(MakePoly({{5, -5}, {5, 5}}));
  shapes.Add(MakePoly({{0, 0}, {4.95, 0}}));
  shapes.GetAt(1)->StretchStartPoint(&shapes);
  ExpectPoints(*shapes.GetAt(1), {{0, 0}, {5, 0, 1}}, 1e-12);
  ExpectPoints(*shapes.GetAt(0), {{5, -5}, {5, 0, 1}, {5, 5}}, 1e-12);
}

TEST(DPolyStretchTest, EndsTooFarOrAlreadyJunctionsStay) {
  struct Case {
    const char* what;
    std::vector<CDPoint> line;
  };
  // The other shape stands at x = 0.1.
  const Case cases[] = {
      {"exactly 0.1 away", {{-3, 0}, {0, 0}}},
      {"0.2 away", {{-3, 0}, {-0.1, 0}}},
      {"junctions at both ends", {{-3, 0, 1}, {0.05, 0, 1}}},
      {"one point", {{0.05, 0}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    CDPolyArray shapes;
    shapes.Add(MakePoly({{0.1, -5}, {0.1, 5}}));
    shapes.Add(MakePoly(c.line));
    shapes.GetAt(1)->StretchStartPoint(&shapes);
    ExpectPoints(*shapes.GetAt(1), c.line, 0);
    EXPECT_EQ(shapes.GetAt(0)->GetSize(), 2);
  }
}

TEST(DPolyStretchTest, BothEndsOntoOneShapeKeepTheOrderAlongIt) {
  // A U-shaped line whose two free ends stop just short of a horizontal line.
  struct Case {
    const char* what;
    std::vector<CDPoint> floor, line, floorAfter;
  };
  const Case cases[] = {
      {"same segment, start nearer its first point",
       {{0, 0}, {4, 0}},
       {{1, -0.05}, {1, -2}, {3, -2}, {3, -0.05}},
       {{0, 0}, {1, 0, 1}, {3, 0, 1}, {4, 0}}},
      {"same segment, start farther from its first point",
       {{0, 0}, {4, 0}},
       {{3, -0.05}, {3, -2}, {1, -2}, {1, -0.05}},
       {{0, 0}, {1, 0, 1}, {3, 0, 1}, {4, 0}}},
      {"start on the earlier segment",
       {{0, 0}, {2, 0}, {4, 0}},
       {{1, -0.05}, {1, -2}, {3, -2}, {3, -0.05}},
       {{0, 0}, {1, 0, 1}, {2, 0}, {3, 0, 1}, {4, 0}}},
      {"start on the later segment",
       {{0, 0}, {2, 0}, {4, 0}},
       {{3, -0.05}, {3, -2}, {1, -2}, {1, -0.05}},
       {{0, 0}, {1, 0, 1}, {2, 0}, {3, 0, 1}, {4, 0}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    CDPolyArray shapes;
    shapes.Add(MakePoly(c.floor));
    shapes.Add(MakePoly(c.line));
    shapes.GetAt(1)->StretchStartPoint(&shapes);
    ExpectPoints(*shapes.GetAt(0), c.floorAfter, 1e-12);
    const CDPoly& line = *shapes.GetAt(1);
    EXPECT_EQ(line.GetFirstPt()->y, 0);
    EXPECT_EQ(line.GetFirstPt()->flag, 1);
    EXPECT_EQ(line.GetLastPt()->y, 0);
    EXPECT_EQ(line.GetLastPt()->flag, 1);
  }
}

TEST(DPolySplitTest, MakeKukanSplitsAtInnerJunctions) {
  auto line = MakePoly({{0, 0, 1}, {1, 0}, {2, 0, 1}, {3, 0}, {4, 0, 1}, {5, 0}});
  line->SetUseCount(1);
  auto pieces = line->MakeKukan();
  ASSERT_EQ(pieces->GetSize(), 3);
  ExpectPoints(*pieces->GetAt(0), {{0, 0, 1}, {1, 0}, {2, 0, 1}});
  ExpectPoints(*pieces->GetAt(1), {{2, 0, 1}, {3, 0}, {4, 0, 1}});
  ExpectPoints(*pieces->GetAt(2), {{4, 0, 1}, {5, 0}});
  for (int i = 0; i < pieces->GetSize(); ++i) {
    EXPECT_EQ(pieces->GetAt(i)->GetUseCount(), 1);
    EXPECT_EQ(pieces->GetAt(i)->WhatKind(), kKindPoly);
  }
  EXPECT_NE(pieces->GetAt(0)->GetAt(2), pieces->GetAt(1)->GetAt(0));  // copies, not shared
}

TEST(DPolySplitTest, MakeKukanWithoutInnerJunctionsGivesTheLine) {
  auto line = MakePoly({{0, 0, 1}, {1, 1}, {2, 0, 1}});
  auto pieces = line->MakeKukan();
  ASSERT_EQ(pieces->GetSize(), 1);
  EXPECT_TRUE(pieces->GetAt(0)->CompareCoord(line.get()));
  EXPECT_EQ(CDPoly().MakeKukan()->GetSize(), 0);
}

// ---- Inside test ----

TEST(DPolyInsideTest, PolyRgnOnAConcaveUShape) {
  // A U: two arms from y = 1 to 3 around a notch 1 < x < 2, standing on a base 0 < y < 1.
  const std::vector<CDPoint> u = {{0, 0}, {3, 0}, {3, 3}, {2, 3}, {2, 1},
                                  {1, 1}, {1, 3}, {0, 3}, {0, 0}};
  std::vector<CDPoint> open = u;
  open.pop_back();  // the closing edge is then implied
  struct Case {
    const char* what;
    CDPoint p;
    bool inside;
  };
  const Case cases[] = {
      {"in the notch", {1.5, 2}, false},
      {"above the notch", {1.5, 3.5}, false},
      {"in the left arm", {0.5, 2}, true},
      {"in the right arm", {2.5, 2.5}, true},
      {"in the base", {1.5, 0.5}, true},
      {"far outside", {-5, 1}, false},
      // A hair from an edge: the edges that the ray passes closely are still tested.
      {"just under an arm's top", {0.5, 3 - 1e-9}, true},
      {"just inside the right side", {3 - 1e-9, 0.5}, true},
      {"just outside the right side", {3 + 1e-9, 0.5}, false},
      {"just above the notch's floor", {1.5, 1 + 1e-9}, false},
  };
  for (const auto& points : {u, open}) {
    auto polygon = MakePoly(points);
    for (const Case& c : cases) EXPECT_EQ(polygon->PolyRgn(&c.p), c.inside) << c.what;
    // A point on an edge or at a vertex is not defined as inside or outside: the ray counts only
    // crossings strictly inside both the ray and an edge, so the ray's start on an edge is not
    // counted and the answer depends on the edges the ray meets further on. Either answer is
    // allowed; it must come without fault and be the same every time.
    for (const CDPoint& p : {CDPoint(1.5, 1), CDPoint(0, 1.5), CDPoint(2, 1), CDPoint(3, 3)}) {
      const bool first = polygon->PolyRgn(&p);
      EXPECT_EQ(polygon->PolyRgn(&p), first);
    }
  }
  EXPECT_FALSE(CDPoly().PolyRgn(&cases[0].p));
}

// ---- Nearest points ----

TEST(DPolyNearTest, GetOnlineNearProjectsOrTakesAVertex) {
  auto line = MakePoly({{0, 0}, {4, 0, 1}, {4, 4}});
  struct Case {
    const char* what;
    CDPoint p;
    CDPoint near;
    int segment;
    double dist;
  };
  const Case cases[] = {
      {"foot inside the first segment", {1, 2}, {1, 0}, 0, 2},
      {"foot on the vertical segment", {6, 3}, {4, 3}, 1, 2},
      {"outside corner takes the vertex with its flag", {5, -1}, {4, 0, 1}, 1, std::sqrt(2.0)},
      {"beyond the end", {4, 6}, {4, 4}, 1, 2},
      {"before the start", {-3, -4}, {0, 0}, 0, 5},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    double dist = -1;
    int segment = -2;
    const CDPoint near = line->GetOnlineNear(&c.p, dist, segment);
    EXPECT_NEAR(near.x, c.near.x, 1e-12);
    EXPECT_NEAR(near.y, c.near.y, 1e-12);
    EXPECT_EQ(near.flag, c.near.flag);
    EXPECT_EQ(segment, c.segment);
    EXPECT_NEAR(dist, c.dist, 1e-12);
  }
  double dist = 7;
  int segment = 3;
  const CDPoint p(1, 1);
  const CDPoint none = MakePoly({{0, 0}})->GetOnlineNear(&p, dist, segment);
  EXPECT_FALSE(none.IsValid());
  EXPECT_EQ(segment, -1);
  EXPECT_EQ(dist, 7);
}

TEST(DPolyNearTest, IsOnlineAndGetSection) {
  auto line = MakePoly({{0, 0}, {4, 0}, {4, 4}});
  const CDPoint onFirst(1, 0);
  const CDPoint onSecond(4, 3);
  const CDPoint off(2, 1);
  EXPECT_TRUE(line->IsOnline(&onFirst));
  EXPECT_FALSE(line->IsOnline(&off));
  EXPECT_FALSE(MakePoly({{1, 0}})->IsOnline(&onFirst));

  double dist = 0;
  EXPECT_EQ(line->GetSection(onFirst, dist), 0);
  EXPECT_DOUBLE_EQ(dist, 1);
  EXPECT_EQ(line->GetSection(onSecond, dist), 1);
  EXPECT_DOUBLE_EQ(dist, 3);
  EXPECT_EQ(line->GetSection(off, dist), -1);
  EXPECT_EQ(dist, kNoValue);
  EXPECT_EQ(MakePoly({{1, 0}})->GetSection(onFirst, dist), -1);
}

// ---- Inner point, sorting, merging ----

TEST(DPolyInnerPointTest, SidewaysUUsesTheLongestInsideChord) {
  // A U opening to the right: a thick upper arm (2 < y < 3.5), a thin lower arm (0 < y < 1).
  // The middle of the bounding box would lie in the opening.
  auto u = MakePoly({{0, 0}, {3, 0}, {3, 1}, {1, 1}, {1, 2}, {3, 2}, {3, 3.5}, {0, 3.5}, {0, 0}});
  const CDPoint inner = u->CalcInnerPoint();
  EXPECT_NEAR(inner.y, 2.75, 1e-12);
  // On the slanted search line from (1.53970359, 13.5) to (1.52196501, -10).
  EXPECT_NEAR(inner.x, 1.53970359 + (1.52196501 - 1.53970359) * (13.5 - 2.75) / 23.5, 1e-12);
  EXPECT_EQ(inner.flag, 0);
  EXPECT_TRUE(u->PolyRgn(&inner));
  EXPECT_EQ(u->GetInnerPoint().x, inner.x);
  EXPECT_EQ(u->GetInnerPoint().y, inner.y);
}

TEST(DPolyInnerPointTest, WithoutTwoCrossingsThereIsNoInnerPoint) {
  auto line = MakePoly({{0, 0}, {4, 0}});
  EXPECT_FALSE(line->CalcInnerPoint().IsValid());
  EXPECT_FALSE(line->GetInnerPoint().IsValid());
  EXPECT_FALSE(CDPoly().CalcInnerPoint().IsValid());
}

TEST(DPolySortTest, PointsAreOrderedByDistanceFromTheOrigin) {
  auto line = MakePoly({{3, 0}, {1, 0, 1}, {-2, 0}, {0, 0}});
  CDPoint* first = line->GetAt(0);
  line->Sort(CDPoint(0, 0));
  ExpectPoints(*line, {{0, 0}, {1, 0, 1}, {-2, 0}, {3, 0}});
  EXPECT_EQ(line->GetAt(0), first);  // contents move, objects stay
}

TEST(DPolyMergeTest, PolyMargeSplicesTheOtherLineOverItsRange) {
  struct Case {
    const char* what;
    std::vector<CDPoint> base, other, after;
  };
  const Case cases[] = {
      {"inside the range",
       {{0, 0}, {10, 0}},
       {{3, 1}, {5, 2}, {7, 1}},
       {{0, 0}, {3, 1}, {5, 2}, {7, 1}, {10, 0}}},
      {"other drawn right to left",
       {{0, 0}, {10, 0}},
       {{7, 1}, {5, 2}, {3, 1}},
       {{0, 0}, {3, 1}, {5, 2}, {7, 1}, {10, 0}}},
      {"base drawn right to left",
       {{10, 0}, {5, 0}, {0, 0}},
       {{3, 1}, {7, 1}},
       {{0, 0}, {3, 1}, {7, 1}, {10, 0}}},
      {"other starts before the line",
       {{0, 0}, {10, 0}},
       {{-2, 1}, {4, 1}},
       {{-2, 1}, {4, 1}, {10, 0}}},
      {"other covers the whole line", {{0, 0}, {10, 0}}, {{-1, 1}, {11, 1}}, {{-1, 1}, {11, 1}}},
      {"vertical runs at the line's ends are cut down",
       {{0, 5}, {0, 2}, {0, 0}, {10, 0}, {10, 2}},
       {{3, 1}, {7, 1}},
       {{0, 0}, {3, 1}, {7, 1}, {10, 0}}},
      {"shared end points are merged",
       {{0, 0}, {4, 0}, {10, 0}},
       {{4, 0}, {6, 1}, {10, 0}},
       {{0, 0}, {4, 0}, {6, 1}, {10, 0}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    auto base = MakePoly(c.base);
    base->PolyMarge(MakePoly(c.other).get());
    ExpectPoints(*base, c.after, 1e-12);
  }
  auto base = MakePoly({{0, 0}, {1, 0}});
  base->PolyMarge(nullptr);
  base->PolyMarge(MakePoly({}).get());
  ExpectPoints(*base, {{0, 0}, {1, 0}});
}

}  // namespace
