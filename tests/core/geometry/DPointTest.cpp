#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <memory>
#include <numbers>
#include <vector>

#include "core/base/Constants.h"
#include "core/geometry/DPoint.h"
#include "platform/Archive.h"
#include "tests/support/RecordBytes.h"
#include "tests/support/RecordContract.h"

namespace {

constexpr double kPi = std::numbers::pi;
constexpr double kTwoPi = 2.0 * std::numbers::pi;

void ExpectPoint(const CDPoint& p, double x, double y, int flag) {
  EXPECT_EQ(p.x, x);
  EXPECT_EQ(p.y, y);
  EXPECT_EQ(p.flag, flag);
}

TEST(DPointTest, NewPointHasNoValue) {
  CDPoint p;
  ExpectPoint(p, kNoValue, kNoValue, 0);
  EXPECT_FALSE(p.IsValid());
  EXPECT_FALSE(CDPoint(1.0, kNoValue).IsValid());
  EXPECT_FALSE(CDPoint(kNoValue, 1.0).IsValid());
  EXPECT_TRUE(CDPoint(0.0, 0.0).IsValid());

  p.SetData(1.5, -2.5, 7);
  ExpectPoint(p, 1.5, -2.5, 7);
  ExpectPoint(CDPoint(&p), 1.5, -2.5, 7);
  p.Init();
  ExpectPoint(p, kNoValue, kNoValue, 0);
}

TEST(DPointTest, PointsCloserThanTheToleranceAreEqual) {
  struct Case {
    CDPoint other;
    bool equal;
  };
  const Case cases[] = {
      {{0.99e-4, 0.0}, true}, {{1e-4, 0.0}, false},     {{0.0, -0.99e-4}, true},
      {{0.0, 1e-4}, false},   {{0.6e-4, 0.6e-4}, true}, {{0.8e-4, 0.8e-4}, false},
      {{0.0, 0.0, 5}, true},  // flags do not count
  };
  const CDPoint origin(0.0, 0.0);
  for (const Case& c : cases) {
    EXPECT_EQ(origin == c.other, c.equal) << c.other.x << ", " << c.other.y;
    EXPECT_EQ(origin != c.other, !c.equal) << c.other.x << ", " << c.other.y;
  }
}

TEST(DPointTest, ArithmeticGivesFlagZero) {
  const CDPoint a(1.0, 2.0, 3);
  const CDPoint b(0.5, -1.0, 4);
  ExpectPoint(a + b, 1.5, 1.0, 0);
  ExpectPoint(a - b, 0.5, 3.0, 0);
  ExpectPoint(a * 2.0, 2.0, 4.0, 0);
  ExpectPoint(a / 4.0, 0.25, 0.5, 0);
}

TEST(DPointTest, LengthsBelowTheToleranceAreZero) {
  EXPECT_EQ(CDPoint(0.0, 0.0).Dist(CDPoint(1e-10, 0.0)), 0.0);
  EXPECT_EQ(CDPoint(0.0, 0.0).Dist(CDPoint(3.0, 4.0)), 5.0);
  EXPECT_EQ(Hypot(CDPoint(0.0, 0.0), CDPoint(1e-10, 0.0)), 1e-10);
  EXPECT_EQ(CDPoint(1e-10, 0.0).GetVecSize(), 0.0);
  EXPECT_EQ(CDPoint(-3.0, 4.0).GetVecSize(), 5.0);
}

TEST(DPointTest, GetDistanceIsZeroWhenACoordinateHasNoValue) {
  const CDPoint a(1.0, 1.0);
  const CDPoint cases[] = {{kNoValue, 1.0}, {1.0, kNoValue}};
  for (const CDPoint& missing : cases) {
    EXPECT_EQ(GetDistance(a, missing), 0.0);
    EXPECT_EQ(GetDistance(&missing, &a), 0.0);
  }
  EXPECT_EQ(GetDistance(CDPoint(1.0, 1.0), CDPoint(4.0, 5.0)), 5.0);
  EXPECT_EQ(GetDistance(CDPoint(1.0, 1.0), CDPoint(1.0, 1.0 + 1e-10)), 0.0);
}

TEST(DPointTest, GetVecUnit) {
  ExpectPoint(CDPoint(3.0, 4.0, 9).GetVecUnit(), 0.6, 0.8, 0);
  ExpectPoint(CDPoint(0.0, -2.0).GetVecUnit(), 0.0, -1.0, 0);
  ExpectPoint(CDPoint(1e-10, 0.0).GetVecUnit(), kNoValue, kNoValue, 0);
  ExpectPoint(CDPoint(kNoValue, 1.0).GetVecUnit(), kNoValue, kNoValue, 0);
}

TEST(DPointTest, RecordIsTwoDoublesAndAnInt) {
  const std::vector<std::uint8_t> record = RecordBytes().Double(12.5).Double(-3.25).Int(-1).Get();
  ASSERT_EQ(record.size(), 20u);
  ExpectRecordContract<CDPoint>({
      .stored = CDPoint(12.5, -3.25, -1),
      .bytes = record,
      .makeTarget = [] { return std::make_unique<CDPoint>(1.0, 2.0, 3); },
  });
}

TEST(DPointTest, Angles) {
  const CDPoint o(1.0, 1.0);
  const CDPoint east(3.0, 1.0);
  const CDPoint north(1.0, 4.0);
  const CDPoint farNorth(1.0, 9.0);
  EXPECT_EQ(MyAtan(&o, &north), kPi / 2.0);
  EXPECT_EQ(MyAtan(&east, &o), kPi);
  EXPECT_EQ(GetSubAngle(&o, &north, &east), kPi / 2.0);
  EXPECT_EQ(GetSubAngle(&o, &east, &north), -kPi / 2.0 + kTwoPi);
  EXPECT_EQ(GetSubAngle(&o, &north, &farNorth), 0.0);  // same direction: 0, never 2pi
  EXPECT_EQ(GetSubAngle(&o, &east, &east), 0.0);

  // A scaled copy of a direction whose angle comes out a rounding error larger.
  const CDPoint origin(0.0, 0.0);
  const CDPoint a(5.3375536857899046, -7.0728348534712993);
  const CDPoint scaled = a * 1.4243340926478236;
  ASSERT_LT(MyAtan(&origin, &a), MyAtan(&origin, &scaled));
  EXPECT_EQ(GetSubAngle(&origin, &a, &scaled), 0.0);
}

TEST(DPointTest, GetUnitVectorSnapsTinyComponentsToZero) {
  ExpectPoint(GetUnitVector(kPi / 2.0), 0.0, 1.0, 0);
  ExpectPoint(GetUnitVector(kPi), -1.0, 0.0, 0);
  ExpectPoint(GetUnitVector(-kPi / 2.0), 0.0, -1.0, 0);
  ExpectPoint(GetUnitVector(0.0), 1.0, 0.0, 0);
  const CDPoint diagonal = GetUnitVector(kPi / 4.0);
  EXPECT_EQ(diagonal.x, std::cos(kPi / 4.0));
  EXPECT_EQ(diagonal.y, std::sin(kPi / 4.0));
}

TEST(DPointTest, RotateTurnsCounterClockwiseAboutTheCentreAndKeepsTheFlag) {
  CDPoint p(3.0, 1.0, 6);
  Rotate(p, kPi / 2.0, CDPoint(1.0, 1.0));
  EXPECT_NEAR(p.x, 1.0, 1e-15);
  EXPECT_NEAR(p.y, 3.0, 1e-15);
  EXPECT_EQ(p.flag, 6);
  Rotate(p, -kPi / 2.0, CDPoint(1.0, 1.0));
  EXPECT_NEAR(p.x, 3.0, 1e-15);
  EXPECT_NEAR(p.y, 1.0, 1e-15);
}

TEST(DPointTest, NormalizeAngleBringsAnglesIntoOneTurn) {
  struct Case {
    double angle;
    double expected;
  };
  const Case cases[] = {
      {-0.1, kTwoPi - 0.1},
      {kTwoPi, kTwoPi},
      {0.0, 0.0},
      {7.0, 7.0 - kTwoPi},
      {-7.0, (-7.0 + kTwoPi) + kTwoPi},
  };
  for (const Case& c : cases) EXPECT_EQ(NormalizeAngle(c.angle), c.expected) << c.angle;
}

TEST(DPointTest, NormalizeAngleEndsForAnglesFarOutside) {
  for (const double angle : {1e20, -1e20, 1e300}) {
    const double normal = NormalizeAngle(angle);
    EXPECT_GE(normal, 0.0) << angle;
    EXPECT_LE(normal, kTwoPi) << angle;
  }
  EXPECT_TRUE(std::isnan(NormalizeAngle(std::numeric_limits<double>::infinity())));
  EXPECT_TRUE(std::isnan(NormalizeAngle(std::numeric_limits<double>::quiet_NaN())));
}

TEST(DPointTest, NearDist) {
  struct Case {
    CDPoint p;
    int expected;
  };
  const CDPoint a(0.0, 0.0);
  const CDPoint b(4.0, 0.0);
  const Case cases[] = {
      {{2.0, 5.0}, 0},
      {{1.0, 1.0}, 1},
      {{3.0, -1.0}, 2},
      {{2.0 + 1e-12, 0.0}, 0},  // differences below 1e-11 count as equal
  };
  for (const Case& c : cases) EXPECT_EQ(NearDist(&c.p, &a, &b), c.expected) << c.p.x;

  double da = 0.0;
  double db = 0.0;
  const CDPoint p(0.0, 3.0);
  EXPECT_EQ(NearDist(&p, &a, &b, da, db), 1);
  EXPECT_EQ(da, 3.0);
  EXPECT_EQ(db, 5.0);
}

TEST(DPointTest, OnlinePt) {
  const CDPoint a(1.0, 1.0, 4);
  const CDPoint b(4.0, 5.0);
  CDPoint out;
  EXPECT_EQ(OnlinePt(&a, &b, 2.5, &out), 1);
  ExpectPoint(out, 2.5, 3.0, 0);
  EXPECT_EQ(OnlinePt(&a, &b, 5.0, &out), 1);
  ExpectPoint(out, 4.0, 5.0, 0);
  EXPECT_EQ(OnlinePt(&a, &b, 0.0, &out), 1);
  ExpectPoint(out, 1.0, 1.0, 0);
  // Beyond the segment the point is still given.
  EXPECT_EQ(OnlinePt(&a, &b, 10.0, &out), 0);
  ExpectPoint(out, 7.0, 9.0, 0);
  EXPECT_EQ(OnlinePt(&a, &b, -5.0, &out), 0);
  ExpectPoint(out, -2.0, -3.0, 0);
  // Coinciding ends give no direction.
  EXPECT_EQ(OnlinePt(&a, &a, 1.0, &out), 0);
  ExpectPoint(out, 1.0, 1.0, 0);
}

TEST(DPointTest, StretchPrimitive) {
  const CDPoint a(0.0, 0.0);
  const CDPoint b(3.0, 4.0, 2);
  ExpectPoint(StretchPrimitive(&a, &b, 5.0), 6.0, 8.0, 0);
  ExpectPoint(StretchPrimitive(&a, &b, -5.0), 0.0, 0.0, 0);
  const CDPoint nearA(0.5e-4, 0.0, 3);
  ExpectPoint(StretchPrimitive(&a, &nearA, 5.0), 0.5e-4, 0.0, 3);
}

TEST(DPointTest, CrossLPGivesTheFootAndWhetherItIsInside) {
  struct Case {
    const char* name;
    CDPoint a;
    CDPoint b;
    CDPoint p;
    int expected;
    CDPoint foot;
  };
  const Case cases[] = {
      {"sloped, inside", {0.0, 0.0}, {4.0, 4.0}, {0.0, 2.0}, 1, {1.0, 1.0}},
      {"sloped, onto an end", {0.0, 0.0}, {4.0, 4.0}, {1.0, -1.0}, 0, {0.0, 0.0}},
      {"sloped, outside", {0.0, 0.0}, {4.0, 4.0}, {6.0, 6.0}, 0, {6.0, 6.0}},
      {"vertical, inside", {1.0, 0.0}, {1.0, 4.0}, {5.0, 3.0}, 1, {1.0, 3.0}},
      {"vertical, onto an end", {1.0, 4.0}, {1.0, 0.0}, {5.0, 4.0}, 0, {1.0, 4.0}},
      {"horizontal, inside", {0.0, 2.0}, {4.0, 2.0}, {3.0, -7.0}, 1, {3.0, 2.0}},
      {"horizontal, onto an end", {0.0, 2.0}, {4.0, 2.0}, {4.0, 9.0}, 0, {4.0, 2.0}},
  };
  for (const Case& c : cases) {
    CDPoint out(0.0, 0.0, 8);
    EXPECT_EQ(CrossLP(&c.a, &c.b, &c.p, &out), c.expected) << c.name;
    EXPECT_EQ(out.x, c.foot.x) << c.name;
    EXPECT_EQ(out.y, c.foot.y) << c.name;
    EXPECT_EQ(out.flag, 8) << c.name;
  }
}

TEST(DPointTest, SquaredSegmentDistanceIsToTheNearestPointOfTheSegment) {
  struct Case {
    const char* name;
    CDPoint a;
    CDPoint b;
    CDPoint p;
    double expected;
  };
  const Case cases[] = {
      {"foot inside", {0.0, 0.0}, {4.0, 4.0}, {0.0, 2.0}, 2.0},
      {"beyond the first end", {0.0, 0.0}, {4.0, 4.0}, {-1.0, -2.0}, 5.0},
      {"beyond the second end", {0.0, 0.0}, {4.0, 0.0}, {7.0, 4.0}, 25.0},
      {"on the segment", {1.0, 0.0}, {1.0, 4.0}, {1.0, 3.0}, 0.0},
      {"coinciding ends", {2.0, 2.0}, {2.0, 2.0}, {5.0, 6.0}, 25.0},
  };
  for (const Case& c : cases) {
    EXPECT_DOUBLE_EQ(SquaredSegmentDistance(c.p, c.a, c.b), c.expected) << c.name;
  }
}

struct CrossCase {
  const char* name;
  double tol;
  CDPoint a1;
  CDPoint a2;
  CDPoint b1;
  CDPoint b2;
  int expected;
  CDPoint crossing;  // checked for codes 0 to 3
};

TEST(DPointTest, CrossLL) {
  const CrossCase cases[] = {
      {"same segment", 1e-6, {0, 0}, {2, 2}, {0, 0}, {2, 2}, -1, {}},
      {"same segment reversed", 1e-6, {0, 0}, {2, 2}, {2, 2.00005}, {0, 0}, -1, {}},
      {"both vertical", 1e-6, {1, 0}, {1, 2}, {1, 1}, {1, 3}, -1, {}},
      {"both horizontal", 1e-6, {0, 1}, {2, 1}, {5, 3}, {7, 3}, -1, {}},
      {"collinear overlap", 1e-6, {0, 0}, {2, 2}, {1, 1}, {3, 3}, -1, {}},
      {"parallel", 0.0, {0, 0}, {2, 1}, {0, 1}, {2, 2}, -1, {}},
      {"slopes 1 and -1", 0.0, {0, 0}, {2, 2}, {0, 2}, {2, 0}, 3, {1, 1}},
      {"vertical A, horizontal B", 0.0, {1, 0}, {1, 2}, {0, 1}, {2, 1}, 3, {1, 1}},
      {"horizontal A, vertical B", 0.0, {0, 1}, {4, 1}, {3, 5}, {3, -1}, 3, {3, 1}},
      {"vertical A, sloped B", 0.0, {1, -5}, {1, 5}, {0, 0}, {2, 2}, 3, {1, 1}},
      {"sloped A, vertical B", 0.0, {0, 0}, {4, 2}, {2, -3}, {2, 3}, 3, {2, 1}},
      {"sloped A, horizontal B", 0.0, {0, 0}, {4, 2}, {-1, 1}, {9, 1}, 3, {2, 1}},
      {"on A only", 0.0, {0, 0}, {4, 4}, {0, 4}, {1, 3}, 1, {2, 2}},
      {"on B only", 0.0, {0, 4}, {1, 3}, {0, 0}, {4, 4}, 2, {2, 2}},
      {"on neither", 0.0, {0, 0}, {1, 1}, {3, 0}, {4, -1}, 0, {1.5, 1.5}},
      {"at the end of A, strict", 0.0, {0, 0}, {1, 1}, {0, 2}, {2, 0}, 2, {1, 1}},
      {"at the end of A, tolerant", 1e-6, {0, 0}, {1, 1}, {0, 2}, {2, 0}, 3, {1, 1}},
      {"at the end of B, strict", 0.0, {0, 2}, {2, 0}, {1, 1}, {3, 3}, 1, {1, 1}},
      {"near both vertical", 0.0, {1, 0}, {1 + 1e-10, 2}, {0, 1}, {2, 1}, 3, {1, 1}},
  };
  for (const CrossCase& c : cases) {
    CDPoint out(-7.0, -7.0, 8);
    EXPECT_EQ(CrossLL(c.tol, &c.a1, &c.a2, &c.b1, &c.b2, &out), c.expected) << c.name;
    if (c.expected < 0) {
      ExpectPoint(out, -7.0, -7.0, 8);
      continue;
    }
    EXPECT_EQ(out.x, c.crossing.x) << c.name;
    EXPECT_EQ(out.y, c.crossing.y) << c.name;
    EXPECT_EQ(out.flag, 8) << c.name;  // a computed crossing leaves the flag alone
  }
}

TEST(DPointTest, CrossLLAtASharedEndGivesThatEndWithItsFlag) {
  const CDPoint a1(0.0, 0.0, 5);
  const CDPoint a2(4.0, 2.0, 6);
  const CDPoint other(0.0, 3.0);
  struct Case {
    const char* name;
    CDPoint b1;
    CDPoint b2;
    const CDPoint* end;
  };
  const Case cases[] = {
      {"b1 at a1", a1, other, &a1},
      {"b2 near a1", other, CDPoint(0.5e-4, 0.0), &a1},
      {"b1 at a2", a2, other, &a2},
      {"b2 at a2", other, a2, &a2},
  };
  for (const Case& c : cases) {
    for (const double tol : {1e-6, 0.0}) {
      CDPoint out;
      EXPECT_EQ(CrossLL(tol, &a1, &a2, &c.b1, &c.b2, &out), tol != 0.0 ? 3 : 0) << c.name;
      ExpectPoint(out, c.end->x, c.end->y, c.end->flag);
    }
  }
}

TEST(DPointTest, SortDoubleMovesValuesNotPointers) {
  double values[] = {3.0, -1.0, 2.0, 2.0, 0.5};
  std::vector<double*> pointers = {&values[0], &values[1], &values[2], &values[3], &values[4]};
  const std::vector<double*> original = pointers;

  SortDouble(pointers, true);
  EXPECT_EQ(pointers, original);
  EXPECT_EQ(std::vector<double>(values, values + 5), (std::vector<double>{-1, 0.5, 2, 2, 3}));

  SortDouble(pointers, false);
  EXPECT_EQ(std::vector<double>(values, values + 5), (std::vector<double>{3, 2, 2, 0.5, -1}));

  std::vector<double*> empty;
  SortDouble(empty, true);
}

TEST(DPointTest, SortDoubleNeverExchangesEqualValues) {
  // -0.0 and 0.0 compare equal: the exchange order alone decides where each sign ends up.
  double values[] = {1.0, -0.0, 0.0};
  std::vector<double*> pointers = {&values[0], &values[1], &values[2]};
  SortDouble(pointers, true);
  EXPECT_TRUE(std::signbit(values[0]));
  EXPECT_FALSE(std::signbit(values[1]));
  EXPECT_EQ(values[2], 1.0);
}

}  // namespace

// Equality decides most pairs from their components alone; it must agree with the distance
// itself everywhere, above all at the tolerance, around half of it and for non-finite values.
TEST(DPointTest, EqualityAgreesWithTheDistanceAtTheTolerance) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double inf = std::numeric_limits<double>::infinity();
  const double near[] = {0.0,
                         kSamePoint,
                         std::nextafter(kSamePoint, 0.0),
                         std::nextafter(kSamePoint, 1.0),
                         kSamePoint / 2,
                         std::nextafter(kSamePoint / 2, 0.0),
                         kSamePoint / std::numbers::sqrt2,
                         std::nextafter(kSamePoint / std::numbers::sqrt2, 0.0),
                         std::nextafter(kSamePoint / std::numbers::sqrt2, 1.0),
                         0.6 * kSamePoint,
                         0.8 * kSamePoint,
                         -0.7 * kSamePoint,
                         nan,
                         inf};
  const CDPoint origin(12.5, -3.25);
  for (const double dx : near) {
    for (const double dy : near) {
      const CDPoint other(origin.x + dx, origin.y + dy);
      EXPECT_EQ(origin == other, Hypot(origin, other) < kSamePoint) << dx << " " << dy;
    }
  }
}
