#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <vector>

#include "core/geometry/ViewInfo.h"
#include "core/section/SpGround.h"
#include "core/section/SpWater.h"
#include "platform/Archive.h"
#include "platform/RecordingCanvas.h"
#include "tests/support/DrawTestUtil.h"
#include "tests/support/PolyTestUtil.h"
#include "tests/support/RecordBytes.h"
#include "tests/support/RecordContract.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

const auto Water = MakePoly<CSpWater>;
const auto Ground = MakePoly<CSpGround>;

const Color kBlue = Color::Rgb(0, 0, 255);
const Color kDarkRed = Color{128};

TEST(SpWaterTest, NewWaterLineIsBlueAndDashDotted) {
  const auto shape = CDPoly::CreateNewElement(kKindWater);
  const auto* water = dynamic_cast<const CSpWater*>(shape.get());
  ASSERT_NE(water, nullptr);
  EXPECT_EQ(water->WhatKind(), kKindWater);
  EXPECT_EQ(water->GetName(), "水位");
  EXPECT_EQ(water->GetColor().ref, 0xFF0000u);
  EXPECT_EQ(water->GetPenStyle(), PenStyle::DashDot);
  EXPECT_EQ(water->GetSize(), 0);
}

// ---- Record ----

// The record of a line named "水位" in dark red through (1.5, -2) and (4, 3), built by hand.
Bytes SampleRecord() {
  return RecordBytes()
      .Color(kDarkRed)
      .Text(u"水位")
      .Int(2)
      .Double(1.5)
      .Double(-2.0)
      .Double(4.0)
      .Double(3.0)
      .Get();
}

TEST(SpWaterTest, RecordIsTheColourThenThePolylineAndLeavesOutThePenStyle) {
  const auto water = Water({{1.5, -2, 1}, {4, 3}});
  water->SetColor(kDarkRed);
  water->SetPenStyle(PenStyle::Dash);
  const auto loaded =
      ExpectRecordContract<CSpWater>({.stored = *water, .version = 3, .bytes = SampleRecord()});
  // The pen style is the default's, and the flags are cleared.
  EXPECT_EQ(loaded->GetPenStyle(), PenStyle::DashDot);
  ExpectPoints(*loaded, {{1.5, -2}, {4, 3}});
}

// ---- Copies ----

TEST(SpWaterTest, CopyWaterTakesPointsColourAndPenStyleButKeepsTheName) {
  const auto source = Water({{0, 1, 1}, {2, 3}});
  source->SetName("source");
  source->SetColor(kDarkRed);
  source->SetPenStyle(PenStyle::Dash);
  const auto target = Water({{9, 9}, {8, 8}, {7, 7}});
  target->CopyWater(source.get());
  EXPECT_EQ(target->GetName(), "水位");
  EXPECT_EQ(target->GetColor(), kDarkRed);
  EXPECT_EQ(target->GetPenStyle(), PenStyle::Dash);
  ExpectPoints(*target, {{0, 1, 1}, {2, 3}});
  // The points are copies.
  target->GetAt(0)->x = 5;
  EXPECT_EQ(source->GetAt(0)->x, 0);
}

TEST(SpWaterTest, CopyKeepsTheColourAndPenStyle) {
  const auto source = Water({{0, 1, 1}, {2, 3}});
  source->SetName("upper");
  source->SetColor(kDarkRed);
  source->SetPenStyle(PenStyle::Dash);
  const auto copy = source->Copy();
  const auto* water = dynamic_cast<const CSpWater*>(copy.get());
  ASSERT_NE(water, nullptr);
  EXPECT_EQ(water->GetName(), "upper");
  EXPECT_EQ(water->GetColor(), kDarkRed);
  EXPECT_EQ(water->GetPenStyle(), PenStyle::Dash);
  ExpectPoints(*water, {{0, 1, 1}, {2, 3}});
}

// ---- Drawing ----

const Pen kPreviousPen{PenStyle::Solid, 3, Color::Rgb(1, 2, 3)};

// The default 30 x 30 area at 10 pixels per unit: world (x, y) is device (10x, 300 - 10y).
class SpWaterDrawTest : public testing::Test {
 protected:
  void SetUp() override {
    AttachTestView(view, canvas, 10.0, 150, 150);
    canvas.SelectPen(kPreviousPen);
  }

  std::vector<std::vector<DevPoint>> Lines() const {
    return DrawnPoints(canvas, PrimitiveKind::Line);
  }
  std::vector<DevRect> Boxes() const { return DrawnRects(canvas, PrimitiveKind::Rectangle); }

  RecordingCanvas canvas;
  CViewInfo view;
};

TEST_F(SpWaterDrawTest, PenFollowsTheLineAndBoldOnATransparentBackground) {
  const struct {
    Color color;
    PenStyle style;
    int bold;
    Pen pen;
  } cases[] = {
      {kBlue, PenStyle::DashDot, 0, {PenStyle::DashDot, 1, kBlue}},
      {kBlue, PenStyle::DashDot, 1, {PenStyle::DashDot, 2, kBlue}},
      {kDarkRed, PenStyle::Dash, 3, {PenStyle::Dash, 2, kDarkRed}},
  };
  for (const BackgroundMode before : {BackgroundMode::Opaque, BackgroundMode::Transparent}) {
    for (const auto& c : cases) {
      SCOPED_TRACE(testing::Message() << "bold " << c.bold);
      canvas.Clear();
      canvas.SetBackgroundMode(before);
      const auto water = Water({{1, 1}, {2, 3}});
      water->SetColor(c.color);
      water->SetPenStyle(c.style);
      water->Draw(&view, c.bold, -1, -1);
      ASSERT_EQ(canvas.Primitives().size(), 3u) << canvas.Dump();  // a segment, two handles
      for (const DrawnPrimitive& drawn : canvas.Primitives()) {
        EXPECT_EQ(drawn.state.pen, c.pen);
        EXPECT_EQ(drawn.state.backgroundMode, BackgroundMode::Transparent);
      }
      EXPECT_EQ(canvas.CurrentPen(), kPreviousPen);
      EXPECT_EQ(canvas.CurrentBackgroundMode(), before);
    }
  }
}

TEST_F(SpWaterDrawTest, MissingCoordinateBreaksTheLineAndGetsNoHandle) {
  Water({{1, 1}, {2, 1}, {kNoValue, 5}, {3, 1}, {4, kNoValue}})->Draw(&view, 0, -1, -1);
  EXPECT_EQ(Lines(), (std::vector<std::vector<DevPoint>>{{{10, 290}, {20, 290}}})) << canvas.Dump();
  EXPECT_EQ(Boxes(),
            (std::vector<DevRect>{{8, 288, 12, 292}, {18, 288, 22, 292}, {28, 288, 32, 292}}));
}

TEST_F(SpWaterDrawTest, HandlesAreLargeForTheChosenVertices) {
  const DevRect small1{8, 288, 12, 292};
  const DevRect small2{18, 288, 22, 292};
  const DevRect small3{28, 288, 32, 292};
  const DevRect large1{7, 287, 14, 294};
  const DevRect large2{17, 287, 24, 294};
  const DevRect large3{27, 287, 34, 294};
  const struct {
    int from;
    int to;
    std::vector<DevRect> boxes;
  } cases[] = {
      {1, -1, {small1, large2, small3}}, {-1, -1, {small1, small2, small3}},
      {1, 2, {small1, large2, large3}},  {0, 5, {large1, large2, large3}},
      {2, 1, {small1, small2, small3}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "from " << c.from << " to " << c.to);
    canvas.Clear();
    Water({{1, 1}, {2, 1}, {3, 1}})->Draw(&view, 0, c.from, c.to);
    EXPECT_EQ(Boxes(), c.boxes) << canvas.Dump();
  }
}

TEST_F(SpWaterDrawTest, EmptyLineDrawsNothing) {
  CSpWater().Draw(&view, 1, 0, -1);
  EXPECT_TRUE(canvas.Primitives().empty());
  EXPECT_EQ(canvas.CurrentBackgroundMode(), BackgroundMode::Opaque);
}

// ---- Standing water ----

TEST(SpWaterTest, IsPoolGroundWhenTheGroundCrossesOrLiesBelowTheMiddle) {
  const struct {
    const char* name;
    std::unique_ptr<CSpWater> water;
    std::unique_ptr<CSpGround> ground;
    bool pool;
  } cases[] = {
      {"one point", Water({{5, 5}}), Ground({{0, 0}, {10, 0}}), false},
      {"crossing", Water({{0, 5}, {10, 5}}), Ground({{0, 10}, {10, 0}}), true},
      {"above the ground", Water({{0, 5}, {5, 5}, {10, 5}}), Ground({{0, 0}, {10, 0}}), true},
      {"below the ground", Water({{0, 5}, {5, 5}, {10, 5}}), Ground({{0, 10}, {10, 10}}), false},
      {"on the ground", Water({{0, 5}, {5, 5}, {10, 5}}), Ground({{0, 5}, {10, 5}}), false},
      {"middle beyond the ground", Water({{5, 5}, {6, 5}, {7, 5}}), Ground({{0, 0}, {4, 0}}),
       false},
      // The middle vertex (index 2 of 4) decides, not the first one.
      {"middle vertex above", Water({{0, -5}, {3, -5}, {6, 5}, {9, 5}}), Ground({{5, 0}, {10, 0}}),
       true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(c.water->IsPoolGround(c.ground.get()), c.pool);
  }
  EXPECT_FALSE(Water({{0, 5}, {10, 5}})->IsPoolGround(nullptr));
}

// ---- Fitting to the ground ----

TEST(SpWaterTest, CreateFitWaterBringsTheWaterDownOntoTheGround) {
  const struct {
    const char* name;
    std::unique_ptr<CSpGround> ground;
    std::unique_ptr<CSpWater> water;
    std::vector<CDPoint> fitted;
  } cases[] = {
      {"partly above a falling slope",
       Ground({{0, 10}, {10, 10}, {20, 0}}),
       Water({{0, 5}, {20, 5}}),
       {{0, 5}, {15, 5}, {20, 0}}},
      {"both given from right to left",
       Ground({{20, 0}, {10, 10}, {0, 10}}),
       Water({{20, 5}, {0, 5}}),
       {{0, 5}, {15, 5}, {20, 0}}},
      {"wholly above", Ground({{0, 0}, {10, 0}}), Water({{0, 5}, {10, 5}}), {{0, 0}, {10, 0}}},
      {"heights to the millimetre",
       Ground({{0, 0}, {3, 1}}),
       Water({{0, 5}, {1, 5}, {3, 5}}),
       {{0, 0}, {1, 0.333}, {3, 1}}},
      // The ground crosses the water at x = 7/3 and x = 35/3.
      {"crossings to the millimetre",
       Ground({{0, 0}, {7, 3}, {14, 0}}),
       Water({{0, 1}, {14, 1}}),
       {{0, 0}, {2.333, 1}, {11.667, 1}, {14, 0}}},
      {"rising vertical step",
       Ground({{0, 0}, {5, 0}, {5, 10}, {10, 10}}),
       Water({{0, 5}, {10, 5}}),
       {{0, 0}, {5, 0}, {5, 5}, {10, 5}}},
      {"falling vertical step",
       Ground({{0, 10}, {5, 10}, {5, 0}, {10, 0}}),
       Water({{0, 5}, {10, 5}}),
       {{0, 5}, {5, 5}, {5, 0}, {10, 0}}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const auto target = Water({{-1, -1}});  // the fitted points are appended
    EXPECT_TRUE(target->CreateFitWater(c.ground.get(), c.water.get()));
    std::vector<CDPoint> expected = {{-1, -1}};
    expected.insert(expected.end(), c.fitted.begin(), c.fitted.end());
    ExpectPoints(*target, expected, 1e-12);
  }
}

TEST(SpWaterTest, CreateFitWaterBelowTheGroundAppendsNothing) {
  const auto ground = Ground({{0, 10}, {10, 12}});
  const auto water = Water({{0, 5}, {10, 5}});
  const auto target = Water({{-1, -1}});
  EXPECT_FALSE(target->CreateFitWater(ground.get(), water.get()));
  ExpectPoints(*target, {{-1, -1}});
  // The inputs are not touched.
  ExpectPoints(*ground, {{0, 10}, {10, 12}});
  ExpectPoints(*water, {{0, 5}, {10, 5}});
}

}  // namespace
