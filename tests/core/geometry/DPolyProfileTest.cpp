#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "core/geometry/DPoly.h"
#include "core/geometry/DPolyEdgeCuts.h"
#include "tests/support/PolyTestUtil.h"

namespace {

void ExpectAt(const CDPoint& got, const CDPoint& want, double tol = 1e-12) {
  if (!want.IsValid()) {
    EXPECT_EQ(got.x, kNoValue);
    EXPECT_EQ(got.y, kNoValue);
    return;
  }
  EXPECT_NEAR(got.x, want.x, tol);
  EXPECT_NEAR(got.y, want.y, tol);
  EXPECT_EQ(got.flag, 0);
}

// ---- Heights over x ----

TEST(DPolyProfileTest, GetYTakesTheFirstSegmentMet) {
  struct Case {
    const char* what;
    std::vector<CDPoint> line;
    double x;
    double y;
  };
  const Case cases[] = {
      {"vertical step, lower point first", {{0, 0}, {5, 2}, {5, 4}, {10, 4}}, 5, 2},
      {"vertical step, upper point first", {{0, 0}, {5, 4}, {5, 2}, {10, 2}}, 5, 4},
      {"inside a segment", {{0, 0}, {5, 2}, {5, 4}, {10, 4}}, 2.5, 1},
      {"at the first point", {{0, 0}, {5, 2}}, 0, 0},
      {"at the last point", {{0, 0}, {5, 2}, {5, 4}, {10, 4}}, 10, 4},
      {"drawn right to left", {{10, 4}, {0, 0}}, 2.5, 1},
      {"right to left, at its first point", {{10, 4}, {5, 2}, {0, 0}}, 10, 4},
      {"right to left, at its last point", {{10, 4}, {5, 2}, {0, 0}}, 0, 0},
      {"folding back, at the fold", {{0, 0}, {10, 4}, {5, 6}}, 10, 4},
      {"left of the line", {{0, 0}, {5, 2}}, -1, kNoValue},
      {"right of the line", {{0, 0}, {5, 2}}, 5.5, kNoValue},
      {"one point", {{0, 0}}, 0, kNoValue},
  };
  for (const Case& c : cases) EXPECT_DOUBLE_EQ(MakePoly(c.line)->GetY(c.x), c.y) << c.what;
}

// The heights at a row of ascending x are GetY's, bit for bit, whether the line is walked once
// (its vertices running left to right) or asked x by x: at and between vertices, beyond both
// ends, at repeated x and at 0 and -0.
TEST(DPolyProfileTest, GetYsGivesGetYAtEveryX) {
  const std::vector<std::vector<CDPoint>> lines = {
      {{-3, 1}, {0, 0.3}, {0.7, 2}, {4.1, 1.9}, {9, 5}},
      {{0, 0}, {5, 2}, {5, 4}, {10, 4}},
      {{10, 4}, {5, 2}, {0, 0}},
      {{0, 0}, {10, 4}, {5, 6}},
      {{0, 0}},
      {},
  };
  const std::vector<double> xs = {-4,  -3,  -1, -0.0, 0.0, 0.1, 0.7, 0.7,
                                  1.3, 4.1, 5,  6,    9,   9.5, 10,  11};
  for (const std::vector<CDPoint>& points : lines) {
    const std::unique_ptr<CDPoly> line = MakePoly(points);
    std::vector<double> ys = {42.0};
    line->GetYs(xs, ys);
    ASSERT_EQ(ys.size(), xs.size() + 1);
    EXPECT_EQ(ys.front(), 42.0);
    for (std::size_t i = 0; i < xs.size(); ++i) {
      EXPECT_EQ(std::bit_cast<std::uint64_t>(ys[i + 1]),
                std::bit_cast<std::uint64_t>(line->GetY(xs[i])))
          << "line of " << points.size() << " points at x " << xs[i];
    }
  }
}

TEST(DPolyProfileTest, GetXTakesTheFirstSegmentStartingOrPassingAtY) {
  struct Case {
    const char* what;
    std::vector<CDPoint> line;
    double y;
    double x;
  };
  const Case cases[] = {
      {"inside the first segment", {{0, 0}, {2, 4}, {4, 0}}, 2, 1},
      {"at a segment's first point", {{0, 0}, {2, 4}, {4, 0}}, 4, 2},
      {"vertical segment", {{1, 0}, {1, 4}}, 2, 1},
      {"the last point is not tested on its own", {{0, 1}, {2, 3}}, 3, kNoValue},
      {"never reached", {{0, 0}, {2, 4}}, 5, kNoValue},
  };
  for (const Case& c : cases) EXPECT_DOUBLE_EQ(MakePoly(c.line)->GetX(c.y), c.x) << c.what;
}

TEST(DPolyProfileTest, GetYMaxAndGetYMinOfAClosedPolygon) {
  auto polygon = MakePoly({{0, 0}, {4, 0}, {4, 3}, {2, 4}, {0, 3}, {0, 0}});
  struct Case {
    const char* what;
    double x;
    bool found;
    double ymax;
    int maxSegment;
    double ymin;
    int minSegment;
  };
  const Case cases[] = {
      {"inner x", 1, true, 3.5, 4, 0, 1},
      {"vertical edge: both of its ends count", 4, true, 3, 2, 0, 2},
      {"left vertical edge", 0, true, 3, 4, 0, 1},
      {"outside", 5, false, kNoValue, -1, kNoValue, -1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    double y = 0;
    int segment = -7;
    EXPECT_EQ(polygon->GetYMax(c.x, &segment, y), c.found);
    EXPECT_DOUBLE_EQ(y, c.ymax);
    EXPECT_EQ(segment, c.maxSegment);
    EXPECT_EQ(polygon->GetYMin(c.x, &segment, y), c.found);
    EXPECT_DOUBLE_EQ(y, c.ymin);
    EXPECT_EQ(segment, c.minSegment);
    EXPECT_EQ(polygon->GetYMax(c.x, nullptr, y), c.found);
  }
}

TEST(DPolyProfileTest, GetNextYListsEveryHeightAtX) {
  auto zig = MakePoly({{0, 0}, {4, 4}, {0, 8}, {4, 12}});
  std::vector<double> heights;
  std::vector<int> positions;
  int pos = 0;
  double y = 0;
  while (zig->GetNextY(2, &pos, y)) {
    heights.push_back(y);
    positions.push_back(pos);
  }
  EXPECT_EQ(heights, (std::vector<double>{2, 6, 10}));
  EXPECT_EQ(positions, (std::vector<int>{1, 2, 3}));

  pos = 0;
  ASSERT_TRUE(zig->GetNextY(4, &pos, y));  // the last segment's right end
  EXPECT_EQ(y, 12);
  EXPECT_EQ(pos, 3);
  pos = 3;
  EXPECT_FALSE(zig->GetNextY(2, &pos, y));
  pos = 0;
  EXPECT_FALSE(zig->GetNextY(5, &pos, y));
}

TEST(DPolyProfileTest, GetNextXListsEveryXAtHeight) {
  auto peak = MakePoly({{0, 0}, {4, 4}, {8, 0}});
  int pos = 0;
  double x = 0;
  ASSERT_TRUE(peak->GetNextX(2, &pos, x));
  EXPECT_DOUBLE_EQ(x, 2);
  EXPECT_EQ(pos, 1);
  ASSERT_TRUE(peak->GetNextX(2, &pos, x));
  EXPECT_DOUBLE_EQ(x, 6);
  EXPECT_EQ(pos, 2);
  EXPECT_FALSE(peak->GetNextX(2, &pos, x));
  EXPECT_EQ(pos, 3);
}

TEST(DPolyProfileTest, IsOverHungFindsFoldsAndInnerSteps) {
  struct Case {
    const char* what;
    std::vector<CDPoint> line;
    bool overhung;
  };
  const Case cases[] = {
      {"plain profile", {{0, 0}, {5, 5}, {10, 0}}, false},
      {"drawn right to left", {{10, 0}, {5, 5}, {0, 0}}, false},
      {"folds back", {{0, 0}, {5, 5}, {3, 6}, {10, 0}}, true},
      {"inner vertical step", {{0, 0}, {5, 2}, {5, 4}, {10, 4}}, true},
      {"vertical at the start", {{0, 0}, {0, 3}, {10, 3}}, false},
      {"vertical at the end", {{0, 0}, {10, 0}, {10, 3}}, false},
      {"step below the slack", {{0, 0}, {5, 2}, {5.0004, 4}, {10, 4}}, true},
      {"two points", {{5, 0}, {0, 0}}, false},
  };
  for (const Case& c : cases) EXPECT_EQ(MakePoly(c.line)->IsOverHung(), c.overhung) << c.what;
}

TEST(DPolyProfileTest, IsPolyOverYComparesAtEveryVertexX) {
  auto ground = MakePoly({{0, 0}, {10, 0}});
  EXPECT_TRUE(ground->IsPolyOverY(MakePoly({{2, -1}, {5, 1}, {8, -1}}).get()));
  EXPECT_FALSE(ground->IsPolyOverY(MakePoly({{2, -1}, {8, -1}}).get()));
  EXPECT_FALSE(ground->IsPolyOverY(MakePoly({{12, 5}, {18, 5}}).get()));
  EXPECT_FALSE(ground->IsPolyOverY(MakePoly({{0, 0}, {10, 0}}).get()));
  EXPECT_FALSE(ground->IsPolyOverY(nullptr));
  EXPECT_FALSE(ground->IsPolyOverY(MakePoly({}).get()));
}

TEST(DPolyProfileTest, ApproximationDistanceSumsTheOtherPointsDistances) {
  auto line = MakePoly({{0, 0}, {10, 0}});
  EXPECT_DOUBLE_EQ(line->GetPolyApproximationDist(MakePoly({{1, 1}, {2, -2}, {20, 0}}).get()), 13);
}

// ---- Boundary entries ----

void ExpectEntries(const std::vector<tagDEVY>& records, const CDPoly* shape,
                   const std::vector<std::pair<double, double>>& expected) {
  ASSERT_EQ(records.size(), expected.size());
  for (std::size_t i = 0; i < records.size(); ++i) {
    EXPECT_NEAR(records[i].leftY, expected[i].first, 1e-12) << i;
    EXPECT_NEAR(records[i].rightY, expected[i].second, 1e-12) << i;
    EXPECT_EQ(records[i].shape, shape);
    EXPECT_EQ(records[i].flag, 0);
  }
}

TEST(DPolyDevyTest, GetDEVYArrayGivesTheSegmentsSpanningTheStrip) {
  struct Case {
    const char* what;
    std::vector<CDPoint> line;
    double x1, x2, ylimit;
    std::vector<std::pair<double, double>> entries;
  };
  const Case cases[] = {
      {"one segment spans the strip", {{0, 0}, {4, 4}, {10, 4}}, 2, 3, -100, {{2, 3}}},
      {"strip from a vertex", {{0, 0}, {4, 4}, {10, 4}}, 4, 6, -100, {{4, 4}}},
      {"segment ending 0.0005 before x2 reaches it",
       {{0, 0}, {3.9995, 1}, {10, 1}},
       1,
       4,
       -100,
       {{1 / 3.9995, 1}}},
      {"segment starting 0.0008 after x1 reaches it", {{1.0008, 2}, {5, 3}}, 1, 5, -100, {{2, 3}}},
      {"segment 0.002 short does not", {{0, 0}, {3.998, 1}, {10, 1}}, 1, 4, -100, {}},
      {"mean below the limit is dropped", {{0, 0}, {10, 0}}, 2, 3, 0.5, {}},
      {"mean at the limit is kept", {{0, 0}, {10, 1}}, 0, 10, 0.5, {{0, 1}}},
      {"a folded line gives each segment its own heights",
       {{0, 0}, {10, 0}, {10, 5}, {0, 5}},
       2,
       3,
       -100,
       {{0, 0}, {5, 5}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    auto line = MakePoly(c.line);
    std::vector<tagDEVY> records(3);  // replaced, not appended to
    EXPECT_EQ(line->GetDEVYArray(records, c.x1, c.x2, c.ylimit),
              static_cast<int>(c.entries.size()));
    ExpectEntries(records, line.get(), c.entries);
  }
}

// The records of each edge over a row of cuts are the records GetDEVYArray gives cut by cut, bit
// for bit and in its order: edges whose ends lie on a cut, within the snap distance of one or
// just beyond it, a steep edge, a vertical one, a folded line, cuts narrower than the snap
// distance and limits that drop some records. No record lies above its edge's entry ceiling.
TEST(DPolyDevyTest, AnEdgeOverARowOfCutsGivesWhatEachCutGives) {
  auto line = MakePoly({{-3, 1},
                        {0, 0},
                        {2.0004, 3},
                        {2.0006, 40},
                        {4.9985, 38},
                        {4.9985, 30},
                        {7.3, 31},
                        {6.1, 2},
                        {9.7, 2.5},
                        {12.0008, -1},
                        {15, -1}});
  const std::vector<double> xs = {-1,  0,   0.5,    1,    2,   2.0003, 2.0007, 3,  4.999, 5.0004,
                                  6.1, 6.9, 7.2999, 7.31, 9.7, 11,     12,     13, 14.5};
  std::vector<double> limits;
  for (std::size_t i = 0; i + 1 < xs.size(); ++i) limits.push_back(i % 4 == 3 ? 30.0 : -100.0);

  std::vector<std::vector<tagDEVY>> expected(limits.size());
  for (std::size_t i = 0; i < limits.size(); ++i) {
    line->GetDEVYArray(expected[i], xs[i], xs[i + 1], limits[i]);
  }
  std::vector<std::vector<tagDEVY>> found(limits.size());
  std::vector<CDPoly::EdgeRange> edges;
  line->GetEdgesForCuts(xs.front(), xs.back(), edges);
  for (const CDPoly::EdgeRange& edge : edges) {
    line->GetDEVYOfEdgeCuts(edge, xs, limits, [&](std::size_t cut, const tagDEVY& record) {
      found[cut].push_back(record);
      // No entry lies above the edge's ceiling, which lets the division pass over an edge.
      EXPECT_LE(record.leftY, edge.EntryCeiling());
      EXPECT_LE(record.rightY, edge.EntryCeiling());
    });
  }
  bool several = false;  // the fixture gives several records in some cuts and none in others
  bool none = false;
  for (std::size_t i = 0; i < limits.size(); ++i) {
    SCOPED_TRACE(testing::Message() << "cut " << xs[i] << " to " << xs[i + 1]);
    ASSERT_EQ(found[i].size(), expected[i].size());
    several = several || found[i].size() > 1;
    none = none || found[i].empty();
    for (std::size_t k = 0; k < found[i].size(); ++k) {
      EXPECT_EQ(std::bit_cast<std::uint64_t>(found[i][k].leftY),
                std::bit_cast<std::uint64_t>(expected[i][k].leftY));
      EXPECT_EQ(std::bit_cast<std::uint64_t>(found[i][k].rightY),
                std::bit_cast<std::uint64_t>(expected[i][k].rightY));
      EXPECT_EQ(found[i][k].shape, line.get());
    }
  }
  EXPECT_TRUE(several);
  EXPECT_TRUE(none);
}

// The division keeps every edge of a stratum and passes over those that no cut within its range
// reaches: what it keeps is what GetEdgesForCuts gives, in order, for ranges that reach all,
// some and none of the edges, from either side and within the snap distance of an end.
TEST(DPolyDevyTest, AnEdgeMissesTheCutsThatGetEdgesForCutsLeavesOut) {
  const std::vector<CDPoint> points = {{-3, 1}, {0, 0}, {2, 3}, {2, 40}, {5, 30}, {4, 2}, {9, -1}};
  const auto line = MakePoly(points);
  const struct {
    double left;
    double right;
  } ranges[] = {{-10, 20},    {0.5, 1.5},   {2.0015, 3},    {2.0025, 3},
                {9.0019, 12}, {9.0021, 12}, {-20, -3.0021}, {4.5, 4.6}};
  for (const auto& range : ranges) {
    SCOPED_TRACE(testing::Message() << range.left << " to " << range.right);
    std::vector<CDPoly::EdgeRange> expected;
    line->GetEdgesForCuts(range.left, range.right, expected);
    std::vector<CDPoly::EdgeRange> kept;
    for (std::size_t i = 0; i + 1 < points.size(); ++i) {
      const CDPoly::EdgeRange edge(points[i], points[i + 1]);
      if (!edge.MissesCuts(range.left, range.right)) kept.push_back(edge);
    }
    ASSERT_EQ(kept.size(), expected.size());
    for (std::size_t k = 0; k < kept.size(); ++k) {
      EXPECT_EQ(kept[k].left, expected[k].left);
      EXPECT_EQ(kept[k].right, expected[k].right);
    }
  }
}

// A cut within the snap distance beyond an edge's right end takes the edge's height there, which
// rises above both ends where the edge rises to the right: the ceiling stays above it, on steep
// and gentle edges, drawn either way.
TEST(DPolyDevyTest, EntriesBeyondAnEdgesEndStayBelowItsCeiling) {
  const struct {
    std::vector<CDPoint> edge;
    double x1;
    double x2;
  } cases[] = {
      {{{0, 0}, {1, 10}}, 1.0005, 1.0009},
      {{{1, 1e4}, {0, 0}}, 1.0005, 1.0009},
      {{{-3, -7}, {2, -6.5}}, 2.0002, 2.0011},
  };
  for (const auto& c : cases) {
    const auto line = MakePoly(c.edge);
    std::vector<CDPoly::EdgeRange> edges;
    line->GetEdgesForCuts(c.x1, c.x2, edges);
    ASSERT_EQ(edges.size(), 1u);
    std::vector<tagDEVY> records;
    ASSERT_EQ(line->GetDEVYArray(records, c.x1, c.x2, -1e300), 1);
    const double top = std::max(c.edge[0].y, c.edge[1].y);
    EXPECT_GT(std::max(records[0].leftY, records[0].rightY), top) << c.x1;
    EXPECT_LE(records[0].leftY, edges[0].EntryCeiling()) << c.x1;
    EXPECT_LE(records[0].rightY, edges[0].EntryCeiling()) << c.x1;
  }
}

TEST(DPolyDevyTest, GetDEVYArrayBlockGivesTopAndBottomOfAPolygon) {
  auto polygon = MakePoly({{0, 0}, {4, 0}, {4, 3}, {2, 4}, {0, 3}, {0, 0}});
  std::vector<tagDEVY> records(1);
  EXPECT_EQ(polygon->GetDEVYArrayBlock(records, 1, 3, -100), 2);
  ExpectEntries(records, polygon.get(), {{3.5, 3.5}, {0, 0}});
  EXPECT_EQ(polygon->GetDEVYArrayBlock(records, 1, 3, 1), 1);
  ExpectEntries(records, polygon.get(), {{3.5, 3.5}});
  EXPECT_EQ(polygon->GetDEVYArrayBlock(records, 1, 5, -100), 0);
  EXPECT_TRUE(records.empty());
}

TEST(DPolyDevyTest, GetDEVYWaterGivesTheLinesHeights) {
  auto water = MakePoly({{0, 1}, {4, 3}});
  std::vector<tagDEVY> records(2);
  EXPECT_EQ(water->GetDEVYWater(records, 0, 4), 1);
  ExpectEntries(records, water.get(), {{1, 3}});
  EXPECT_EQ(water->GetDEVYWater(records, 0, 5), 0);
  EXPECT_TRUE(records.empty());
}

// ---- Pieces and walks along the line ----

TEST(DPolyWalkTest, GetKukanShapeTakesThePartBetweenTheProjections) {
  auto line = MakePoly({{0, 0}, {2, 0, 1}, {4, 0}, {4, 4}});
  const CDPoint a(1, 1);
  const CDPoint b(5, 3);
  ExpectPoints(*line->GetKukanShape(&a, &b), {{1, 0}, {2, 0}, {4, 0}, {4, 3}});
  ExpectPoints(*line->GetKukanShape(&b, &a), {{1, 0}, {2, 0}, {4, 0}, {4, 3}});
  const CDPoint c(0.5, 1);
  const CDPoint d(1.5, -1);
  ExpectPoints(*line->GetKukanShape(&c, &d), {{0.5, 0}, {1.5, 0}});
  EXPECT_EQ(MakePoly({{1, 1}})->GetKukanShape(&a, &b)->GetSize(), 0);

  EXPECT_DOUBLE_EQ(line->GetKukanlength(&a, &b, true), 6);
  EXPECT_DOUBLE_EQ(line->GetKukanlength(&a, &b, false), std::sqrt(20.0));
}

TEST(DPolyWalkTest, GetMoveOnlinePtWalksAlongTheLine) {
  auto line = MakePoly({{0, 0}, {4, 0}, {4, 4}});
  struct Case {
    const char* what;
    CDPoint from;
    double dist;
    bool backward;
    CDPoint expected;
  };
  const Case cases[] = {
      {"forward in the segment", {1, 0}, 2, false, {3, 0}},
      {"forward round the corner", {1, 0}, 5, false, {4, 2}},
      {"from a point off the line", {2, 1}, 1, false, {3, 0}},
      {"backward", {1, 0}, 0.5, true, {0.5, 0}},
      {"negative distance turns round", {1, 0}, -2, true, {3, 0}},
      {"backward from a vertex", {4, 0}, 1, true, {3, 0}},
      {"backward from inside the second segment", {4, 1}, 2, true, {3, 0}},
      {"zero distance", {1, 0}, 0, false, {1, 0}},
      {"longer than the rest of the line", {1, 0}, 10, false, {kNoValue, kNoValue}},
      {"longer than the way back", {1, 0}, 1.5, true, {kNoValue, kNoValue}},
      {"exactly to the end", {1, 0}, 7, false, {4, 4}},
      {"exactly back to the start", {1, 0}, 1, true, {0, 0}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ExpectAt(line->GetMoveOnlinePt(&c.from, c.dist, c.backward), c.expected);
  }
  const CDPoint p(0, 0);
  ExpectAt(MakePoly({{0, 0}})->GetMoveOnlinePt(&p, 1, false), {kNoValue, kNoValue});
}

TEST(DPolyWalkTest, GetKukanDistPointWalksOnALeftToRightCopy) {
  auto line = MakePoly({{4, 4}, {4, 0}, {0, 0}});
  ExpectAt(line->GetKukanDistPoint(false, CDPoint(1, 0), false, 2), {3, 0});
  ExpectAt(line->GetKukanDistPoint(true, CDPoint(1, 0), false, 0.5), {0.5, 0});
  ExpectAt(line->GetKukanDistPoint(false, CDPoint(1, 0), false, -3), {1, 0});
  ExpectPoints(*line, {{4, 4}, {4, 0}, {0, 0}});  // the line itself stays
}

TEST(DPolyWalkTest, GetKukanShapeDistCutsAPieceAroundAPoint) {
  auto line = MakePoly({{8, 4}, {4, 4}, {4, 0}, {0, 0}});  // right to left on purpose
  struct Case {
    const char* what;
    bool first;
    double d1, d2, tol;
    std::vector<CDPoint> piece;
  };
  const Case cases[] = {
      {"d1 towards the end, d2 towards the start", true, 3, 1, 1e-3, {{1, 0}, {4, 0}, {4, 1}}},
      {"d1 towards the start, shorter line, one segment", false, 3, 1, 1e-3, {{0, 0}, {3, 0}}},
      {"an end near a vertex moves onto it", true, 2.0005, 0.5, 1e-3, {{1.5, 0}, {4, 0}}},
      {"negative distances count as 0", true, -1, -1, 1e-3, {{2, 0}, {2, 0}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ExpectPoints(*line->GetKukanShapeDist(c.first, CDPoint(2, 0), c.d1, c.d2, c.tol), c.piece,
                 1e-12);
  }
  EXPECT_EQ(MakePoly({})->GetKukanShapeDist(true, CDPoint(2, 0), 1, 1, 1e-3)->GetSize(), 0);
}

// ---- Angles and offset lines ----

TEST(DPolyAngleTest, GetR_AngleIsTheNormalsAngleInDegrees) {
  struct Case {
    const char* what;
    std::vector<CDPoint> line;
    int mode;
    double angle;
  };
  const Case cases[] = {
      {"horizontal, mode 0", {{0, 0}, {10, 0}}, 0, 90},
      {"horizontal, mode 1", {{0, 0}, {10, 0}}, 1, 90},
      {"rising, mode 0", {{0, 0}, {10, 10}}, 0, 45},
      {"rising, other mode", {{0, 0}, {10, 10}}, 2, 135},
      {"falling, mode 0", {{0, 10}, {10, 0}}, 0, 45},
      {"falling, mode 1", {{0, 10}, {10, 0}}, 1, 135},
      {"rising, drawn right to left", {{10, 10}, {0, 0}}, 0, 45},
  };
  const CDPoint p(5, 5);
  for (const Case& c : cases) {
    EXPECT_NEAR(MakePoly(c.line)->GetR_Angle(&p, c.mode), c.angle, 1e-12) << c.what;
  }
  EXPECT_EQ(MakePoly({{0, 0}})->GetR_Angle(&p, 0), kNoValue);
}

TEST(DPolyAngleTest, Get_AngleIsTheSegmentsDirectionInDegrees) {
  const CDPoint p(5, 5);
  EXPECT_NEAR(MakePoly({{0, 10}, {10, 0}})->Get_Angle(&p, 0, false), -45, 1e-12);
  EXPECT_NEAR(MakePoly({{0, 10}, {10, 0}})->Get_Angle(&p, 0, true), 45, 1e-12);
  EXPECT_NEAR(MakePoly({{10, 0}, {0, 10}})->Get_Angle(&p, 0, false), 135, 1e-12);
  // The nearest segment decides.
  EXPECT_NEAR(MakePoly({{0, 0}, {4, 0}, {4, 4}})->Get_Angle(&p, 0, false), 90, 1e-12);
}

TEST(DPolyOffsetTest, GetDistanceShapeOffsetsEverySegment) {
  struct Case {
    const char* what;
    std::vector<CDPoint> line;
    double d;
    std::vector<CDPoint> offset;
  };
  const Case cases[] = {
      {"straight line", {{0, 0}, {10, 0}}, 1, {{0, 1}, {10, 1}}},
      {"drawn right to left: still upward", {{10, 0}, {0, 0}}, 1, {{10, 1}, {0, 1}}},
      {"inner corner joins at the crossing",
       {{0, 0}, {10, 0}, {10, 10}},
       1,
       {{0, 1}, {9, 1}, {9, 10}}},
      {"outer corner keeps both ends",
       {{0, 0}, {10, 0}, {10, -10}},
       1,
       {{0, 1}, {10, 1}, {11, 0}, {11, -10}}},
      {"an end segment whose offset falls inside is removed",
       {{0, 0}, {10, 0}, {10, 0.5}},
       1,
       {{0, 1}, {10, 1}}},
      {"one point", {{0, 0}}, 1, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ExpectPoints(*MakePoly(c.line)->GetDistanceShape(c.d, nullptr), c.offset, 1e-12);
  }
  // With a reference line the direction comes from the reference.
  auto slanted = MakePoly({{0, 0}, {10, 1}});
  ExpectPoints(*slanted->GetDistanceShape(1, MakePoly({{0, 0}, {10, 0}}).get()), {{0, 1}, {10, 2}},
               1e-12);
}

}  // namespace
