#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "core/base/CoreConfig.h"
#include "core/base/Utility.h"
#include "core/geometry/DPolyArray.h"
#include "core/geometry/ViewInfo.h"
#include "core/section/SpLoad.h"
#include "platform/Archive.h"
#include "platform/RecordingCanvas.h"
#include "tests/support/DrawTestUtil.h"
#include "tests/support/PolyTestUtil.h"
#include "tests/support/RecordBytes.h"
#include "tests/support/RecordContract.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

std::unique_ptr<CSpLoad> Distributed(double x1, double q1, double x2, double q2,
                                     int direction = CSpLoad::kVertical) {
  auto load = std::make_unique<CSpLoad>();
  load->SetX1(x1);
  load->SetQ1(q1);
  load->SetX2(x2);
  load->SetQ2(q2);
  load->SetDirection(direction);
  return load;
}

std::unique_ptr<CSpLoad> Concentrated(double x, double q, int direction = CSpLoad::kVertical,
                                      double angle = 0) {
  auto load = std::make_unique<CSpLoad>();
  load->SetConcentrated(1);
  load->SetX1(x);
  load->SetQ1(q);
  load->SetDirection(direction);
  load->SetAngle(angle);
  return load;
}

// The load after one more edit, for rows of a table.
std::unique_ptr<CSpLoad> With(std::unique_ptr<CSpLoad> load,
                              const std::function<void(CSpLoad&)>& edit) {
  edit(*load);
  return load;
}

// Loads are worked out unrounded unless a test switches the rounding on.
class SpLoadTest : public testing::Test {
 protected:
  void SetUp() override { CCoreConfig::SetEnableRound(0); }
};

TEST_F(SpLoadTest, NewLoadHasTheDefaults) {
  const auto shape = CDPoly::CreateNewElement(kKindLoad);
  const auto* load = dynamic_cast<const CSpLoad*>(shape.get());
  ASSERT_NE(load, nullptr);
  EXPECT_EQ(load->WhatKind(), kKindLoad);
  EXPECT_EQ(load->GetName(), "荷重");
  EXPECT_EQ(load->GetQ1(), kNoValue);
  EXPECT_EQ(load->GetQ2(), kNoValue);
  EXPECT_EQ(load->GetX1(), kNoValue);
  EXPECT_EQ(load->GetX2(), kNoValue);
  EXPECT_TRUE(load->IsDist());
  EXPECT_FALSE(load->IsConcent());
  EXPECT_EQ(load->GetDirection(), CSpLoad::kVertical);
  EXPECT_EQ(load->GetAngle(), 0);
  EXPECT_EQ(load->GetNormalPairOn(), 1);
  EXPECT_EQ(load->GetTangentPairOn(), 1);
  EXPECT_EQ(load->GetNormalCaseOn(), 1);
  EXPECT_EQ(load->GetQuakeCaseOn(), 1);
  EXPECT_TRUE(load->IsEmptyShape());
}

// ---- Record ----

std::unique_ptr<CSpLoad> SampleLoad() {
  auto load = Distributed(3, 12.5, 8, 20, CSpLoad::kAtAngle);
  load->SetAngle(30.5);
  load->SetTangentPairOn(0);
  load->SetQuakeCaseOn(0);
  return load;
}

Bytes SampleRecord() {
  return RecordBytes()
      .Text(u"荷重")
      .Double(12.5)
      .Double(20.0)
      .Double(3.0)
      .Double(8.0)
      .Int(0)  // distributed
      .Int(3)  // at an angle
      .Double(30.5)
      .Int(1)
      .Int(0)
      .Int(1)
      .Int(0)
      .Get();
}

TEST_F(SpLoadTest, RecordIsTheNameAndTheValuesWithoutTheOutline) {
  ExpectRecordContract<CSpLoad>({
      .stored = *SampleLoad(),
      .version = 0,
      .bytes = SampleRecord(),
      .makeTarget = [] { return Concentrated(5, 10); },
  });

  const auto outlined = SampleLoad();
  outlined->Add(1, 2);  // the outline is not stored
  Archive out;
  outlined->Store(out, 0);
  EXPECT_EQ(out.Bytes(), SampleRecord());
}

TEST_F(SpLoadTest, LoadListIsAShapeListOfLoadRecords) {
  CDPolyArray loads;
  loads.Add(SampleLoad());
  loads.Add(Concentrated(5, 10, CSpLoad::kAtAngle, -45));
  RecordBytes expected;
  expected.Int(2).Int(kKindLoad).Raw(SampleRecord()).Int(kKindLoad).Text(u"荷重");
  expected.Double(10).Double(kNoValue).Double(5).Double(kNoValue);
  expected.Int(1).Int(CSpLoad::kAtAngle).Double(-45).Int(1).Int(1).Int(1).Int(1);
  const auto loaded =
      ExpectRecordContract<CDPolyArray>({.stored = loads, .version = 0, .bytes = expected.Get()});
  ASSERT_EQ(loaded->GetSize(), 2);
  for (int i = 0; i < 2; ++i) EXPECT_NE(dynamic_cast<const CSpLoad*>(loaded->GetAt(i)), nullptr);
}

// ---- Copy and comparison ----

TEST_F(SpLoadTest, CopyTakesTheNameEveryFieldAndTheOutline) {
  const auto load = SampleLoad();
  load->SetName("Q1");
  load->Add(CDPoint(1, 2));
  const auto copy = load->Copy();
  ASSERT_NE(dynamic_cast<const CSpLoad*>(copy.get()), nullptr);
  EXPECT_EQ(copy->GetName(), "Q1");
  ExpectPoints(*copy, {{1, 2}});
  EXPECT_TRUE(copy->IsSame(load.get()));
}

TEST_F(SpLoadTest, IsSameComparesTheOutlineTheNameAndEveryStoredField) {
  using Change = std::function<void(CSpLoad&)>;
  const struct {
    const char* field;
    Change change;
  } cases[] = {
      {"name", [](CSpLoad& l) { l.SetName("other"); }},
      {"q1", [](CSpLoad& l) { l.SetQ1(12.51); }},
      {"q2", [](CSpLoad& l) { l.SetQ2(kNoValue); }},
      {"x1", [](CSpLoad& l) { l.SetX1(3.00001); }},
      {"x2", [](CSpLoad& l) { l.SetX2(9); }},
      {"concentrated", [](CSpLoad& l) { l.SetConcentrated(1); }},
      {"direction", [](CSpLoad& l) { l.SetDirection(CSpLoad::kToLeft); }},
      {"angle", [](CSpLoad& l) { l.SetAngle(-30.5); }},
      {"normal pair", [](CSpLoad& l) { l.SetNormalPairOn(0); }},
      {"tangential pair", [](CSpLoad& l) { l.SetTangentPairOn(1); }},
      {"normal case", [](CSpLoad& l) { l.SetNormalCaseOn(0); }},
      {"seismic case", [](CSpLoad& l) { l.SetQuakeCaseOn(1); }},
      {"outline", [](CSpLoad& l) { l.Add(0, 0); }},
  };
  const auto load = SampleLoad();
  for (const auto& c : cases) {
    SCOPED_TRACE(c.field);
    const auto other = SampleLoad();
    c.change(*other);
    EXPECT_FALSE(load->IsSame(other.get()));
    EXPECT_FALSE(other->IsSame(load.get()));
  }
  // Outline points compare with the polyline tolerance.
  const auto a = SampleLoad();
  const auto b = SampleLoad();
  a->Add(1, 1);
  b->Add(1.00005, 1);
  EXPECT_TRUE(a->IsSame(b.get()));
  const CDPoly plain;
  EXPECT_FALSE(CSpLoad().IsSame(&plain));
}

// ---- Completeness and input checks ----

TEST_F(SpLoadTest, CompletenessDependsOnTheKindAndTheDirection) {
  const struct {
    const char* name;
    std::unique_ptr<CSpLoad> load;
    bool complete;
  } cases[] = {
      {"distributed", Distributed(0, 1, 10, 2), true},
      {"distributed with x1 = x2", Distributed(5, 1, 5, 2), false},
      {"distributed without q2", Distributed(0, 1, 10, kNoValue), false},
      {"distributed without x2", Distributed(0, 1, kNoValue, 2), false},
      {"distributed without q1", Distributed(0, kNoValue, 10, 2), false},
      {"distributed at an angle", Distributed(0, 1, 10, 2, CSpLoad::kAtAngle), true},
      {"concentrated", Concentrated(5, 10), true},
      {"concentrated without x", Concentrated(kNoValue, 10), false},
      {"concentrated without q", Concentrated(5, kNoValue), false},
      {"concentrated at an angle", Concentrated(5, 10, CSpLoad::kAtAngle, 20), true},
      {"angle missing", Concentrated(5, 10, CSpLoad::kAtAngle, kNoValue), false},
      {"angle missing, vertical", Concentrated(5, 10, CSpLoad::kVertical, kNoValue), true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(c.load->IsValidSettings(), c.complete);
    EXPECT_EQ(c.load->IsEmptyShape(), !c.complete);
  }
}

TEST_F(SpLoadTest, ChangeValidChecksTheRangesAndRoundsWhileRoundingIsOn) {
  const struct {
    const char* name;
    std::unique_ptr<CSpLoad> load;
    int round;
    double q1, q2, x1, x2, angle;  // expected
  } cases[] = {
      {"q1 too small", Distributed(0, 0.005, 10, 5), 1, kNoValue, 5, 0, 10, 0},
      {"q1 too large", Distributed(0, 1000, 10, 5), 1, kNoValue, 5, 0, 10, 0},
      {"load limits", Distributed(0, 0.01, 10, 999.99), 1, 0.01, 999.99, 0, 10, 0},
      {"x1 too far right", Distributed(10000, 1, 10, 5), 1, 1, 5, kNoValue, 10, 0},
      {"x2 too far left", Distributed(0, 1, -10000, 5), 1, 1, 5, 0, kNoValue, 0},
      {"coordinate limit", Distributed(-9999.999, 1, 9999.999, 5), 1, 1, 5, -9999.999, 9999.999, 0},
      {"rounded", Distributed(1.23456, 12.3456, 7.0004, 5.5551), 1, 12.35, 5.56, 1.235, 7, 0},
      {"not rounded", Distributed(1.23456, 12.3456, 7.0004, 5.5551), 0, 12.3456, 5.5551, 1.23456,
       7.0004, 0},
      {"no value stays", Distributed(kNoValue, kNoValue, 1, 1), 1, kNoValue, 1, kNoValue, 1, 0},
      {"concentrated leaves q2 and x2",
       With(Concentrated(2, 3),
            [](CSpLoad& l) {
              l.SetX2(10000);
              l.SetQ2(0.001);
            }),
       1, 3, 0.001, 2, 10000, 0},
      {"angle too large", Concentrated(5, 10, CSpLoad::kAtAngle, 181), 1, 10, kNoValue, 5, kNoValue,
       kNoValue},
      {"angle limit", Concentrated(5, 10, CSpLoad::kAtAngle, -180), 1, 10, kNoValue, 5, kNoValue,
       -180},
      {"angle rounded", Concentrated(5, 10, CSpLoad::kAtAngle, 30.26), 1, 10, kNoValue, 5, kNoValue,
       30.3},
      {"angle of another direction", Concentrated(5, 10, CSpLoad::kToLeft, 181), 1, 10, kNoValue, 5,
       kNoValue, 181},
      {"angle of a distributed load",
       With(Distributed(0, 1, 10, 2, CSpLoad::kAtAngle), [](CSpLoad& l) { l.SetAngle(181); }), 1, 1,
       2, 0, 10, 181},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    CCoreConfig::SetEnableRound(c.round);
    c.load->ChangeValid();
    EXPECT_NEAR(c.load->GetQ1(), c.q1, 1e-9);
    EXPECT_NEAR(c.load->GetQ2(), c.q2, 1e-9);
    EXPECT_NEAR(c.load->GetX1(), c.x1, 1e-9);
    EXPECT_NEAR(c.load->GetX2(), c.x2, 1e-9);
    EXPECT_NEAR(c.load->GetAngle(), c.angle, 1e-9);
  }
}

TEST_F(SpLoadTest, NormalizeOrdersADistributedLoadWithItsIntensities) {
  const struct {
    const char* name;
    std::unique_ptr<CSpLoad> load;
    double q1, x1, q2, x2;  // expected
  } cases[] = {
      // A trapezoid entered from right to left keeps its shape.
      {"right to left", Distributed(10, 5, 0, 20), 20, 0, 5, 10},
      {"left to right", Distributed(0, 20, 10, 5), 20, 0, 5, 10},
      {"a concentrated load has no second end", Concentrated(5, 10), 10, 5, kNoValue, kNoValue},
      {"an open end", Distributed(10, 5, kNoValue, 20), 5, 10, 20, kNoValue},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    c.load->Normalize();
    EXPECT_EQ(c.load->GetQ1(), c.q1);
    EXPECT_EQ(c.load->GetX1(), c.x1);
    EXPECT_EQ(c.load->GetQ2(), c.q2);
    EXPECT_EQ(c.load->GetX2(), c.x2);
  }
}

TEST_F(SpLoadTest, DirectionAngles) {
  const struct {
    int direction;
    double angle;
    double flat;
    double fromVertical;
  } cases[] = {
      {CSpLoad::kVertical, 45, 90, 0},
      {CSpLoad::kToRight, 45, 0, 90},
      {CSpLoad::kToLeft, 45, 180, -90},
      {CSpLoad::kAtAngle, 30, 60, 30},
      {CSpLoad::kAtAngle, -90, 180, -90},
      {CSpLoad::kAtAngle, -91, -179, -91},
      {CSpLoad::kAtAngle, -180, -90, -180},
      {CSpLoad::kAtAngle, 180, -90, 180},
      {7, 45, 0, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.direction << " " << c.angle);
    const auto load = Concentrated(5, 10, c.direction, c.angle);
    EXPECT_EQ(load->GetFlatAngle(), c.flat);
    EXPECT_EQ(load->GetConcentAngle(), c.fromVertical);
  }
}

// ---- Action on a strip ----

void ExpectLoad(const tagLOAD& actual, const tagLOAD& expected) {
  const struct {
    const char* name;
    double a;
    double e;
  } values[] = {
      {"magnitude", actual.magnitude, expected.magnitude},
      {"qLeft", actual.qLeft, expected.qLeft},
      {"qRight", actual.qRight, expected.qRight},
      {"angle", actual.angle, expected.angle},
      {"horizontal", actual.horizontal, expected.horizontal},
      {"vertical1", actual.vertical1, expected.vertical1},
      {"vertical2", actual.vertical2, expected.vertical2},
      {"normal", actual.normal, expected.normal},
      {"tangential", actual.tangential, expected.tangential},
  };
  for (const auto& v : values) EXPECT_NEAR(v.a, v.e, 1e-12) << v.name;
}

constexpr double kNo = kNoValue;

TEST_F(SpLoadTest, CalcQGivesTheActionOnAStrip) {
  const double s60 = std::sqrt(3.0) / 2;
  const struct {
    const char* name;
    std::unique_ptr<CSpLoad> load;
    bool facing;
    double xa, xb, width, alpha;
    bool acts;
    tagLOAD out;
  } cases[] = {
      {"concentrated on the strip's left edge",
       Concentrated(5, 10),
       true,
       5,
       6,
       1,
       0,
       true,
       {10, kNo, kNo, 90, 0, 10, 10, 10, 0}},
      {"concentrated on the strip's right edge", Concentrated(5, 10), true, 4, 5, 1, 0, false, {}},
      {"vertical on an inclined base",
       Concentrated(5, 10),
       true,
       4,
       6,
       2,
       0.3,
       true,
       {10, kNo, kNo, 90, 0, 10, 10, 10 * std::cos(0.3), 10 * std::sin(0.3)}},
      {"uniform, middle on the start",
       Distributed(0, 3, 10, 3),
       true,
       -0.5,
       0.5,
       1,
       0,
       true,
       {kNo, 3, 3, kNo, 0, 3, 3, 3, 0}},
      {"uniform, middle on the end", Distributed(0, 3, 10, 3), true, 9.5, 10.5, 1, 0, false, {}},
      {"trapezoid",
       Distributed(0, 10, 10, 20),
       true,
       2,
       4,
       2,
       0,
       true,
       {kNo, 12, 14, kNo, 0, 26, 26, 26, 0}},
      {"to the right",
       Concentrated(5, 10, CSpLoad::kToRight),
       true,
       4,
       6,
       2,
       0,
       true,
       {10, kNo, kNo, 0, 10, 0, 0, 0, 10}},
      {"to the right, facing the other way",
       Concentrated(5, 10, CSpLoad::kToRight),
       false,
       4,
       6,
       2,
       0,
       true,
       {10, kNo, kNo, 0, -10, 0, 0, 0, -10}},
      {"at 30 degrees",
       Concentrated(5, 10, CSpLoad::kAtAngle, 30),
       true,
       4,
       6,
       2,
       0,
       true,
       {10, kNo, kNo, 60, 5, 10 * s60, 10 * s60, 10 * s60, 5}},
      {"at 30 degrees, facing the other way",
       Concentrated(5, 10, CSpLoad::kAtAngle, 30),
       false,
       4,
       6,
       2,
       0,
       true,
       {10, kNo, kNo, 60, -5, 10 * s60, 10 * s60, 10 * s60, -5}},
      {"at 120 degrees, facing the other way",
       Concentrated(5, 10, CSpLoad::kAtAngle, 120),
       false,
       4,
       6,
       2,
       0,
       true,
       {10, kNo, kNo, -30, -10 * s60, -5, -5, -5, -10 * s60}},
      {"incomplete", Distributed(5, 3, 5, 3), true, 4, 6, 2, 0, false, {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    tagLOAD out;
    out.horizontal = 123;  // every value is cleared first
    EXPECT_EQ(c.load->CalcQ(c.facing, c.xa, c.xb, c.width, c.alpha, out), c.acts);
    ExpectLoad(out, c.out);
  }
}

TEST_F(SpLoadTest, CalcQDropsTheSwitchedOffPairs) {
  const double s60 = std::sqrt(3.0) / 2;
  const struct {
    int normalPairOn;
    int tangentPairOn;
    tagLOAD out;
  } cases[] = {
      {1, 1, {10, kNo, kNo, 60, 5, 10 * s60, 10 * s60, 10 * s60, 5}},
      {0, 1, {10, kNo, kNo, 60, 5, 0, 10 * s60, 0, 5}},
      {1, 0, {10, kNo, kNo, 60, 5, 10 * s60, 0, 10 * s60, 0}},
      {0, 0, {10, kNo, kNo, 60, 5, 0, 0, 0, 0}},  // only the horizontal component stays
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.normalPairOn << c.tangentPairOn);
    const auto load = Concentrated(5, 10, CSpLoad::kAtAngle, 30);
    load->SetNormalPairOn(c.normalPairOn);
    load->SetTangentPairOn(c.tangentPairOn);
    tagLOAD out;
    EXPECT_TRUE(load->CalcQ(true, 4, 6, 2, 0, out));
    ExpectLoad(out, c.out);
  }
}

TEST_F(SpLoadTest, CalcQRoundsTheComponentsWhileRoundingIsOn) {
  CCoreConfig::SetEnableRound(1);
  const auto load = Distributed(0, 10.555, 10, 10.555, CSpLoad::kAtAngle);
  load->SetAngle(30);
  tagLOAD out;
  ASSERT_TRUE(load->CalcQ(true, 0, 1, 1, 0.1, out));
  EXPECT_EQ(out.qLeft, 10.555);              // the intensities are not rounded
  EXPECT_NEAR(out.horizontal, 5.28, 1e-12);  // 5.2775
  EXPECT_NEAR(out.vertical1, 9.14, 1e-12);   // 9.1409...
  EXPECT_NEAR(out.vertical2, 9.14, 1e-12);
  EXPECT_NEAR(out.normal, 8.57, 1e-12);      // 10.555 sin(60 deg - 0.1) = 8.5696...
  EXPECT_NEAR(out.tangential, 6.16, 1e-12);  // 6.1578...
}

TEST_F(SpLoadTest, IsInRangeCountsABoundaryLoadForTheLeftHandStrip) {
  const struct {
    const char* name;
    std::unique_ptr<CSpLoad> load;
    double xa, xb;
    bool inRange;
  } cases[] = {
      {"concentrated on the right edge", Concentrated(5, 10), 4, 5, true},
      {"concentrated on the left edge", Concentrated(5, 10), 5, 6, false},
      {"concentrated inside", Concentrated(5, 10), 4.5, 5.5, true},
      {"distributed, middle on the start", Distributed(0, 1, 10, 1), -1, 1, true},
      {"distributed, middle on the end", Distributed(0, 1, 10, 1), 9, 11, false},
      {"incomplete", Distributed(0, 1, 0, 1), -1, 1, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(c.load->IsInRange(c.xa, c.xb), c.inRange);
  }
}

// ---- Outline ----

TEST_F(SpLoadTest, CreateDrawPolyFollowsTheGround) {
  const auto ground = MakePoly({{0, 10}, {4, 10}, {8, 6}, {12, 6}});
  const auto reversedGround = MakePoly({{12, 6}, {8, 6}, {4, 10}, {0, 10}});
  const auto onePoint = MakePoly({{0, 10}});
  const struct {
    const char* name;
    std::unique_ptr<CSpLoad> load;
    const CDPoly* ground;
    double lift;
    std::vector<CDPoint> outline;
  } cases[] = {
      {"concentrated on the ground", Concentrated(6, 10), ground.get(), 0, {{6, 8}}},
      {"concentrated on a vertex", Concentrated(4, 10), ground.get(), 0, {{4, 10}}},
      {"concentrated left of the ground", Concentrated(-3, 10), ground.get(), 0, {{0, 10}}},
      {"concentrated right of the ground", Concentrated(15, 10), ground.get(), 0, {{15, 0}}},
      {"concentrated without a ground", Concentrated(6, 10), nullptr, 0, {{6, 0}}},
      {"concentrated on a one-point ground", Concentrated(6, 10), onePoint.get(), 0, {{6, 0}}},
      {"concentrated, lifted", Concentrated(6, 10), ground.get(), 0.5, {{6, 8.5}}},
      {"distributed over two vertices",
       Distributed(2, 1, 10, 1),
       ground.get(),
       0,
       {{2, 10}, {4, 10}, {8, 6}, {10, 6}}},
      {"distributed from vertex to vertex",
       Distributed(4, 1, 8, 1),
       ground.get(),
       0,
       {{4, 10}, {8, 6}}},
      {"distributed within one segment",
       Distributed(5, 1, 7, 1),
       ground.get(),
       0,
       {{5, 9}, {7, 7}}},
      {"distributed beyond both ends",
       Distributed(-2, 1, 14, 1),
       ground.get(),
       0,
       {{0, 10}, {4, 10}, {8, 6}, {12, 6}}},
      {"distributed on a reversed ground",
       Distributed(2, 1, 10, 1),
       reversedGround.get(),
       0,
       {{2, 10}, {4, 10}, {8, 6}, {10, 6}}},
      {"distributed entered from right to left",
       Distributed(10, 1, 2, 1),
       ground.get(),
       0,
       {{2, 10}, {4, 10}, {8, 6}, {10, 6}}},
      {"distributed without a ground", Distributed(2, 1, 10, 1), nullptr, 0, {{2, 0}, {10, 0}}},
      {"distributed, lifted", Distributed(5, 1, 7, 1), ground.get(), -1, {{5, 8}, {7, 6}}},
      {"no load", Concentrated(6, 0), ground.get(), 0, {}},
      {"incomplete", Distributed(2, 1, 2, 1), ground.get(), 0, {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    c.load->Add(CDPoint(99, 99, 1));  // the present points go
    c.load->CreateDrawPoly(c.ground, c.lift);
    ExpectPoints(*c.load, c.outline);
  }
  ExpectPoints(*reversedGround, {{12, 6}, {8, 6}, {4, 10}, {0, 10}});  // the ground is not touched
}

TEST_F(SpLoadTest, CreateDrawPolyOrdersATrapezoidWithItsIntensities) {
  const auto load = Distributed(10, 5, 2, 20);
  load->CreateDrawPoly(nullptr, 0);
  EXPECT_EQ(load->GetX1(), 2);
  EXPECT_EQ(load->GetQ1(), 20);
  EXPECT_EQ(load->GetX2(), 10);
  EXPECT_EQ(load->GetQ2(), 5);
}

// ---- Drawing ----

const Pen kPreviousPen{PenStyle::Dot, 3, Color::Rgb(1, 2, 3)};
const Color kGreen = Color::Rgb(0, 180, 0);

using Segment = std::vector<DevPoint>;

// The default 30 x 30 area at 10 pixels per unit: world (x, y) is device (10x, 300 - 10y) on the
// screen and (10x, 10y) on the printer.
class SpLoadDrawTest : public SpLoadTest {
 protected:
  void SetUp() override {
    SpLoadTest::SetUp();
    AttachTestView(view, canvas, 10.0, 150, 150);
    canvas.SelectPen(kPreviousPen);
  }

  // Builds the outline on the ground and draws the load.
  void Draw(CSpLoad& load, const CDPoly* ground, int bold = 0) {
    load.CreateDrawPoly(ground, 0);
    load.Draw(&view, bold, -1, -1);
  }

  std::vector<Segment> Lines() const { return DrawnPoints(canvas, PrimitiveKind::Line); }
  std::vector<Segment> Polylines() const { return DrawnPoints(canvas, PrimitiveKind::Polyline); }

  RecordingCanvas canvas;
  CViewInfo view;
};

TEST_F(SpLoadDrawTest, ConcentratedLoadIsAnArrowWithItsHeadOnTheGround) {
  Draw(*Concentrated(5, 10), nullptr);
  // The shaft from the point up 15 pixels, then two 5-pixel strokes at 45 degrees to it.
  EXPECT_EQ(Lines(), (std::vector<Segment>{
                         {{50, 300}, {50, 285}}, {{50, 300}, {46, 296}}, {{50, 300}, {54, 296}}}))
      << canvas.Dump();
  EXPECT_TRUE(Polylines().empty());
  for (const DrawnPrimitive& drawn : canvas.Primitives()) {
    EXPECT_EQ(drawn.state.pen, (Pen{PenStyle::Solid, 1, kGreen}));
  }
  EXPECT_EQ(canvas.CurrentPen(), kPreviousPen);
}

TEST_F(SpLoadDrawTest, ConcentratedLoadAtAnAngle) {
  // 30 degrees from the vertical: the shaft runs up to the right at 60 degrees.
  const auto ground = MakePoly({{0, 10}, {20, 10}});
  Draw(*Concentrated(5, 10, CSpLoad::kAtAngle, 30), ground.get(), 1);
  EXPECT_EQ(Lines(), (std::vector<Segment>{
                         {{50, 200}, {58, 187}}, {{50, 200}, {49, 195}}, {{50, 200}, {55, 199}}}))
      << canvas.Dump();
  EXPECT_EQ(canvas.Primitives().front().state.pen, (Pen{PenStyle::Solid, 2, kGreen}));
}

TEST_F(SpLoadDrawTest, DistributedLoadIsHatchedEveryHalfUnitAlongTheGround) {
  const auto ground = MakePoly({{0, 10}, {4, 10}, {8, 6}});
  Draw(*Distributed(3, 1, 5, 1), ground.get());
  // The outline (3, 10), (4, 10), (5, 9); strokes 5 pixels up at x = 3, 3.5, ... 5.
  EXPECT_EQ(Lines(), (std::vector<Segment>{{{30, 200}, {30, 195}},
                                           {{35, 200}, {35, 195}},
                                           {{40, 200}, {40, 195}},
                                           {{45, 205}, {45, 200}},
                                           {{50, 210}, {50, 205}}}))
      << canvas.Dump();
  EXPECT_EQ(Polylines(), (std::vector<Segment>{{{30, 195}, {40, 195}, {50, 205}}}));
  EXPECT_EQ(canvas.CurrentPen(), kPreviousPen);
}

TEST_F(SpLoadDrawTest, HorizontalLoadsAreHatchedSideways) {
  const struct {
    int direction;
    int dx;
  } cases[] = {{CSpLoad::kToRight, 5}, {CSpLoad::kToLeft, -5}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.direction);
    canvas.Clear();
    Draw(*Distributed(2, 1, 3, 1, c.direction), nullptr);
    EXPECT_EQ(Lines(), (std::vector<Segment>{{{20, 300}, {20 + c.dx, 300}},
                                             {{25, 300}, {25 + c.dx, 300}},
                                             {{30, 300}, {30 + c.dx, 300}}}))
        << canvas.Dump();
    EXPECT_EQ(Polylines(), (std::vector<Segment>{{{20 + c.dx, 300}, {30 + c.dx, 300}}}));
  }
}

TEST_F(SpLoadDrawTest, ArrowLengthGrowsForThePrinterAndItsPreview) {
  const struct {
    const char* name;
    bool print;
    bool preview;
    bool concentrated;
    Segment shaft;
  } cases[] = {
      {"screen, concentrated", false, false, true, {{50, 300}, {50, 285}}},
      {"screen, distributed", false, false, false, {{50, 300}, {50, 295}}},
      {"printer, concentrated", true, false, true, {{50, 0}, {50, 225}}},
      {"printer, distributed", true, false, false, {{50, 0}, {50, 75}}},
      {"preview, concentrated", true, true, true, {{50, 0}, {50, 75}}},
      {"preview, distributed", true, true, false, {{50, 0}, {50, 25}}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    canvas.Clear();
    view.mode = c.print ? CViewInfo::kModePrint : CViewInfo::kModeDraw;
    view.preview = c.preview;
    const auto load = c.concentrated ? Concentrated(5, 10) : Distributed(5, 1, 6, 1);
    Draw(*load, nullptr);
    ASSERT_FALSE(Lines().empty());
    EXPECT_EQ(Lines().front(), c.shaft) << canvas.Dump();
  }
}

TEST_F(SpLoadDrawTest, PrinterHeadsPointDownOnItsUpwardY) {
  view.mode = CViewInfo::kModePrint;
  Draw(*Concentrated(5, 10), nullptr);
  EXPECT_EQ(Lines(),
            (std::vector<Segment>{{{50, 0}, {50, 225}}, {{50, 0}, {46, 4}}, {{50, 0}, {54, 4}}}))
      << canvas.Dump();
}

TEST_F(SpLoadDrawTest, StepsThatShareADeviceColumnStrokeItOnce) {
  // One pixel per unit: x maps to trunc(x - 15) + 150, so the steps 0, 0.5, ... 2 fall on the
  // columns 135, 136, 136, 137, 137.
  view.scale = 1.0;
  Draw(*Distributed(0, 1, 2, 1), nullptr);
  std::vector<int> columns;
  for (const Segment& line : Lines()) columns.push_back(line.front().x);
  EXPECT_EQ(columns, (std::vector<int>{135, 136, 137})) << canvas.Dump();
}

// Zoomed in so far that the load maps beyond the int range: its strokes stay at the edge.
TEST_F(SpLoadDrawTest, LoadFarOutsideTheViewIsDrawnAtTheEdge) {
  AttachTestView(view, canvas, 1e9, 0, 0);
  const auto ground = MakePoly({{0, 20}, {20, 20}});
  Draw(*Concentrated(5, 10), ground.get());
  const std::vector<Segment> lines = Lines();
  ASSERT_EQ(lines.size(), 3u) << canvas.Dump();
  // Every stroke runs upward from the point, which already lies at the top edge.
  for (const Segment& line : lines) {
    for (const DevPoint& p : line) EXPECT_EQ(p.y, INT_MIN) << canvas.Dump();
  }
}

TEST_F(SpLoadDrawTest, NothingIsDrawnForAnIncompleteLoadOrWithoutAnOutline) {
  const struct {
    const char* name;
    std::unique_ptr<CSpLoad> load;
    bool buildOutline;
  } cases[] = {
      {"x1 = x2", Distributed(5, 1, 5, 1), true},
      {"outline not built", Distributed(2, 1, 5, 1), false},
      {"unknown direction", Distributed(2, 1, 5, 1, 7), true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    canvas.Clear();
    if (c.buildOutline) c.load->CreateDrawPoly(nullptr, 0);
    c.load->Draw(&view, 0, -1, -1);
    EXPECT_TRUE(canvas.Primitives().empty()) << canvas.Dump();
  }
}

}  // namespace
