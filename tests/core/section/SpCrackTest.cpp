#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <functional>
#include <memory>
#include <numbers>
#include <string>
#include <vector>

#include "core/base/Utility.h"
#include "core/geometry/ViewInfo.h"
#include "core/section/SpCrack.h"
#include "platform/Archive.h"
#include "platform/RecordingCanvas.h"
#include "tests/support/PolyTestUtil.h"
#include "tests/support/RecordBytes.h"
#include "tests/support/RecordContract.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

// A crack with every field set to a value of its own.
std::unique_ptr<CSpCrack> SampleCrack() {
  auto crack = std::make_unique<CSpCrack>();
  crack->SetTop(CDPoint(1.5, 2.5));
  crack->SetBottom(CDPoint(1.5, -0.5));
  crack->SetAngle(90);
  crack->SetDepth(3);
  crack->SetSetting1(7);
  crack->SetActive(1);
  crack->SetSetting2(4);
  crack->SetGamma(18);
  crack->SetCohesion(10);
  crack->SetPhi(30);
  return crack;
}

// The record of SampleCrack built by hand.
Bytes SampleRecord(int version) {
  RecordBytes bytes;
  bytes.Text(u"亀裂").Double(1.5).Double(2.5).Double(1.5).Double(-0.5).Double(90.0).Double(3.0);
  bytes.Int(7).Int(1);
  if (version >= 14) bytes.Int(4).Double(18.0).Double(10.0).Double(30.0);
  return bytes.Get();
}

Bytes Stored(const CSpCrack& crack, int version) {
  Archive ar;
  crack.Store(ar, version);
  return ar.Bytes();
}

void ExpectSoilValuesAtDefaults(const CSpCrack& crack) {
  EXPECT_EQ(crack.GetSetting2(), 0);
  EXPECT_EQ(crack.GetGamma(), kNoValue);
  EXPECT_EQ(crack.GetCohesion(), kNoValue);
  EXPECT_EQ(crack.GetPhi(), kNoValue);
}

TEST(SpCrackTest, NewCrackHasTheDefaults) {
  const auto shape = CDPoly::CreateNewElement(kKindCrack);
  const auto* crack = dynamic_cast<const CSpCrack*>(shape.get());
  ASSERT_NE(crack, nullptr);
  EXPECT_EQ(crack->WhatKind(), kKindCrack);
  EXPECT_EQ(crack->GetName(), "亀裂");
  EXPECT_FALSE(crack->GetTop().IsValid());
  EXPECT_FALSE(crack->GetBottom().IsValid());
  EXPECT_EQ(crack->GetAngle(), kNoValue);
  EXPECT_EQ(crack->GetDepth(), kNoValue);
  EXPECT_EQ(crack->GetSetting1(), 3);
  EXPECT_EQ(crack->GetActive(), 0);
  ExpectSoilValuesAtDefaults(*crack);
  EXPECT_FALSE(crack->IsValidSetting());
  EXPECT_EQ(crack->GetSize(), 0);
}

// ---- Record ----

// Before version 14 the record has no soil values: a crack read from it has them at their
// defaults, whatever the crack read into held.
std::unique_ptr<CSpCrack> SampleCrackOfAnOlderRecord() {
  auto crack = SampleCrack();
  crack->SetSetting2(0);
  crack->SetGamma(kNoValue);
  crack->SetCohesion(kNoValue);
  crack->SetPhi(kNoValue);
  return crack;
}

TEST(SpCrackRecordTest, RecordOfEachVersion) {
  const auto crack = SampleCrack();
  const auto olderCrack = SampleCrackOfAnOlderRecord();
  const auto otherCrack = [] {
    auto other = std::make_unique<CSpCrack>();
    other->SetDepth(5);
    return other;
  };
  const auto otherSoilValues = [] {
    auto other = SampleCrack();
    other->SetName("x");
    return other;
  };
  const struct {
    int version;
    const CSpCrack& stored;
    std::function<std::unique_ptr<CSpCrack>()> makeTarget;
  } cases[] = {
      {13, *olderCrack, otherSoilValues},
      {14, *crack, otherCrack},
      {15, *crack, otherCrack},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.version);
    ExpectRecordContract<CSpCrack>({
        .stored = c.stored,
        .version = c.version,
        .bytes = SampleRecord(c.version),
        .makeTarget = c.makeTarget,
    });
  }
  // The soil values are left out of the older record.
  EXPECT_EQ(Stored(*crack, 13), SampleRecord(13));
}

// ---- Copy and comparison ----

TEST(SpCrackTest, CopiesTakeTheNameAndEveryField) {
  const auto crack = SampleCrack();
  crack->SetName("crack A");
  const auto copy = crack->Copy();
  ASSERT_NE(dynamic_cast<const CSpCrack*>(copy.get()), nullptr);
  EXPECT_TRUE(copy->IsSame(crack.get()));
  EXPECT_EQ(copy->GetName(), "crack A");

  CSpCrack target;
  target.Copy(*crack);
  EXPECT_TRUE(target.IsSame(crack.get()));
}

TEST(SpCrackTest, IsSameComparesTheNameAndEveryStoredField) {
  using Change = std::function<void(CSpCrack&)>;
  const struct {
    const char* field;
    Change change;
  } cases[] = {
      {"name", [](CSpCrack& c) { c.SetName("other"); }},
      {"top", [](CSpCrack& c) { c.SetTop(CDPoint(1.5, 2.50001)); }},
      {"bottom", [](CSpCrack& c) { c.SetBottom(CDPoint(1.6, -0.5)); }},
      {"angle", [](CSpCrack& c) { c.SetAngle(89); }},
      {"setting1", [](CSpCrack& c) { c.SetSetting1(3); }},
      {"active", [](CSpCrack& c) { c.SetActive(0); }},
      {"setting2", [](CSpCrack& c) { c.SetSetting2(0); }},
      {"gamma", [](CSpCrack& c) { c.SetGamma(19); }},
      {"cohesion", [](CSpCrack& c) { c.SetCohesion(kNoValue); }},
      {"phi", [](CSpCrack& c) { c.SetPhi(31); }},
      {"depth", [](CSpCrack& c) { c.SetDepth(3.0001); }},
  };
  const auto crack = SampleCrack();
  for (const auto& c : cases) {
    SCOPED_TRACE(c.field);
    const auto other = SampleCrack();
    c.change(*other);
    EXPECT_FALSE(crack->IsSame(other.get()));
    EXPECT_FALSE(other->IsSame(crack.get()));
  }
  // A point flag is not stored.
  const auto flagged = SampleCrack();
  flagged->SetTop(CDPoint(1.5, 2.5, 1));
  EXPECT_TRUE(crack->IsSame(flagged.get()));
  // A shape that is not a crack, even without points.
  const CDPoly plain;
  EXPECT_FALSE(crack->IsSame(&plain));
  EXPECT_FALSE(crack->IsSame(nullptr));
}

// ---- Bottom point and depth ----

TEST(SpCrackTest, CalcBottomPosFollowsTheAngleAndTheSide) {
  const double root3 = std::sqrt(3.0);
  const struct {
    const char* name;
    CDPoint top;
    double angle;
    double depth;
    int side;
    CDPoint bottom;
  } cases[] = {
      {"vertical, side 0", {4, 10}, 90, 2, 0, {4, 8}},
      {"vertical ignores side 1", {4, 10}, 90, 2, 1, {4, 8}},
      {"60 degrees down to the right", {4, 10}, 60, 2, 0, {5, 10 - root3}},
      {"60 degrees down to the left", {4, 10}, 60, 2, 1, {3, 10 - root3}},
      {"any side but 1 goes right", {4, 10}, 60, 2, 2, {5, 10 - root3}},
      {"no top x", {kNoValue, 10}, 60, 2, 0, {kNoValue, kNoValue}},
      {"no top y", {4, kNoValue}, 60, 2, 0, {kNoValue, kNoValue}},
      {"no angle", {4, 10}, kNoValue, 2, 0, {kNoValue, kNoValue}},
      {"no depth", {4, 10}, 90, kNoValue, 0, {kNoValue, kNoValue}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    CSpCrack crack;
    crack.SetBottom(CDPoint(0, 0, 1));
    crack.SetTop(c.top);
    crack.SetAngle(c.angle);
    crack.SetDepth(c.depth);
    const CDPoint bottom = crack.CalcBottomPos(c.side);
    EXPECT_NEAR(bottom.x, c.bottom.x, 1e-12);
    EXPECT_NEAR(bottom.y, c.bottom.y, 1e-12);
    EXPECT_EQ(bottom.flag, 1);  // the flag stays
    EXPECT_EQ(crack.GetBottom().x, bottom.x);
    EXPECT_EQ(crack.GetBottom().y, bottom.y);
  }
}

TEST(SpCrackTest, CalcHIsTheActivePressureDepthRoundedToMillimetres) {
  const struct {
    double cohesion;
    double phi;
    double gamma;
    double depth;
  } cases[] = {
      {10, 30, 18, 1.925},  // 2 * 10 / 18 * tan(60) = 1.92450...
      {10, 0, 20, 1.0},     // without friction 2c / gamma
      {5, 20, 19, 0.752},   // 10 / 19 * tan(55) = 0.75166...
      {kNoValue, 30, 18, kNoValue},
      {10, kNoValue, 18, kNoValue},
      {10, 30, kNoValue, kNoValue},
      {10, 30, 0, kNoValue},  // no unit weight: no depth rather than an infinite one
      {10, 30, -18, kNoValue},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.cohesion << " " << c.phi << " " << c.gamma);
    CSpCrack crack;
    crack.SetCohesion(c.cohesion);
    crack.SetPhi(c.phi);
    crack.SetGamma(c.gamma);
    EXPECT_NEAR(crack.Calc_h(), c.depth, 1e-12);
    if (c.depth != kNoValue) {
      const double rankine =
          2 * c.cohesion / c.gamma * std::tan((45 + c.phi / 2) / 180 * std::numbers::pi);
      EXPECT_NEAR(crack.Calc_h(), rankine, 0.0005);
    }
  }
}

TEST(SpCrackTest, IsValidSettingNeedsTheDepth) {
  CSpCrack crack;
  EXPECT_FALSE(crack.IsValidSetting());
  crack.SetDepth(0);
  EXPECT_TRUE(crack.IsValidSetting());
}

TEST(SpCrackTest, DrawDrawsNothing) {
  RecordingCanvas canvas;
  CViewInfo view;
  view.dc = &canvas;
  view.scale = 10;
  SampleCrack()->Draw(&view, 1, 0, -1);
  EXPECT_TRUE(canvas.Primitives().empty()) << canvas.Dump();
}

}  // namespace
