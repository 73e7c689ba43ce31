#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "core/geometry/DPoly.h"
#include "core/geometry/ViewInfo.h"
#include "platform/RecordingCanvas.h"
#include "tests/support/DrawTestUtil.h"
#include "tests/support/PolyTestUtil.h"

namespace {

const Pen kPreviousPen{PenStyle::Dot, 3, Color::Rgb(1, 2, 3)};

// The default 30 x 30 area at 10 pixels per unit: world (x, y) is device (10x, 300 - 10y).
class PolyDrawTest : public testing::Test {
 protected:
  void SetUp() override {
    AttachTestView(view, canvas, 10.0, 150, 150);
    canvas.SelectPen(kPreviousPen);
  }

  std::vector<DrawnPrimitive> Lines() const { return canvas.PrimitivesOf(PrimitiveKind::Line); }
  std::vector<std::vector<DevPoint>> Segments() const {
    return DrawnPoints(canvas, PrimitiveKind::Line);
  }
  std::vector<DrawnPrimitive> Boxes() const {
    return canvas.PrimitivesOf(PrimitiveKind::Rectangle);
  }

  RecordingCanvas canvas;
  CViewInfo view;
};

// ---- Draw ----

struct PenCase {
  int kind;
  int bold;
  Pen pen;
  BackgroundMode modeWhileDrawing;
};

TEST_F(PolyDrawTest, DrawChoosesThePenByKindAndBoldAndRestoresTheState) {
  const Color shapeColor = Color::Rgb(60, 100, 30);
  const PenCase cases[] = {
      {kKindPoly, 0, {PenStyle::Solid, 1, shapeColor}, BackgroundMode::Opaque},
      {kKindGround, 1, {PenStyle::Solid, 2, shapeColor}, BackgroundMode::Opaque},
      {kKindStratumLine, 0, {PenStyle::Solid, 1, Color::Rgb(90, 60, 40)}, BackgroundMode::Opaque},
      {kKindStratumLine, 5, {PenStyle::Solid, 2, Color::Rgb(90, 60, 40)}, BackgroundMode::Opaque},
      {kKindWater, 0, {PenStyle::DashDot, 1, Color::Rgb(0, 0, 255)}, BackgroundMode::Transparent},
      {kKindWater, 1, {PenStyle::DashDot, 2, Color::Rgb(0, 0, 255)}, BackgroundMode::Transparent},
      {kKindSlide, 0, {PenStyle::Solid, 1, shapeColor}, BackgroundMode::Opaque},
      {kKindStratumBlock, 1, {PenStyle::Solid, 2, shapeColor}, BackgroundMode::Opaque},
  };
  for (const PenCase& c : cases) {
    SCOPED_TRACE(testing::Message() << "kind " << c.kind << " bold " << c.bold);
    canvas.Clear();
    const KindPoly shape(c.kind, {{1, 1}, {2, 3}});
    shape.Draw(&view, c.bold, -1, -1);

    ASSERT_EQ(canvas.Primitives().size(), 3u) << canvas.Dump();  // one segment, two handles
    for (const DrawnPrimitive& drawn : canvas.Primitives()) {
      EXPECT_EQ(drawn.state.pen, c.pen);
      EXPECT_EQ(drawn.state.backgroundMode, c.modeWhileDrawing);
    }
    EXPECT_EQ(canvas.CurrentPen(), kPreviousPen);
    EXPECT_EQ(canvas.CurrentBackgroundMode(), BackgroundMode::Opaque);
  }
}

TEST_F(PolyDrawTest, DrawRestoresATransparentBackgroundModeToo) {
  canvas.SetBackgroundMode(BackgroundMode::Transparent);
  KindPoly(kKindWater, {{1, 1}, {2, 3}}).Draw(&view, 0, -1, -1);
  EXPECT_EQ(canvas.CurrentBackgroundMode(), BackgroundMode::Transparent);
}

TEST_F(PolyDrawTest, UnsetPointSplitsTheLineAndGetsNoHandle) {
  const KindPoly shape(kKindPoly, {{1, 1}, {2, 1}, {kNoValue, 5}, {3, 1}, {4, 1}, {5, kNoValue}});
  shape.Draw(&view, 0, -1, -1);

  EXPECT_EQ(Segments(),
            (std::vector<std::vector<DevPoint>>{{{10, 290}, {20, 290}}, {{30, 290}, {40, 290}}}));
  EXPECT_EQ(DrawnRects(canvas, PrimitiveKind::Rectangle),
            (std::vector<DevRect>{
                {8, 288, 12, 292}, {18, 288, 22, 292}, {28, 288, 32, 292}, {38, 288, 42, 292}}));
}

TEST_F(PolyDrawTest, LeadingUnsetPointStartsTheStrokeAtTheNextPoint) {
  KindPoly(kKindPoly, {{kNoValue, kNoValue}, {1, 1}, {2, 1}}).Draw(&view, 0, -1, -1);
  EXPECT_EQ(Segments(), (std::vector<std::vector<DevPoint>>{{{10, 290}, {20, 290}}}));
}

TEST_F(PolyDrawTest, EmptyShapeDrawsNothing) {
  KindPoly(kKindPoly).Draw(&view, 1, 0, -1);
  EXPECT_TRUE(canvas.Primitives().empty());
}

struct HandleCase {
  int from;
  int to;
  std::vector<int> large;
};

TEST_F(PolyDrawTest, HandleRangeEnlargesTheChosenVertices) {
  const HandleCase cases[] = {
      {2, -1, {2}}, {1, 3, {1, 2, 3}}, {0, -1, {0}}, {-1, -1, {}}, {3, 1, {}},  // an empty range
      {4, 9, {4}},
  };
  const KindPoly shape(kKindPoly, {{1, 1}, {2, 1}, {3, 1}, {4, 1}, {5, 1}});
  for (const HandleCase& c : cases) {
    SCOPED_TRACE(testing::Message() << "from " << c.from << " to " << c.to);
    canvas.Clear();
    shape.Draw(&view, 0, c.from, c.to);
    const std::vector<DrawnPrimitive> boxes = Boxes();
    ASSERT_EQ(boxes.size(), 5u);
    for (int i = 0; i < 5; ++i) {
      const int cx = 10 * (i + 1);
      const bool large = std::find(c.large.begin(), c.large.end(), i) != c.large.end();
      const DevRect expected =
          large ? DevRect{cx - 3, 287, cx + 4, 294} : DevRect{cx - 2, 288, cx + 2, 292};
      EXPECT_EQ(boxes[i].rect, expected) << "vertex " << i;
      EXPECT_EQ(boxes[i].state.brush, canvas.CurrentBrush());
    }
  }
}

// ---- DrawLine, DrawSimpleShape, DrawKukan ----

TEST_F(PolyDrawTest, DrawLineUsesABlackPenOfTheBoldWidth) {
  const KindPoly shape(kKindWater, {{1, 1}, {2, 1}, {kNoValue, 0}, {3, 1}, {4, 1}});
  for (const int bold : {0, 1}) {
    canvas.Clear();
    shape.DrawLine(&view, bold);
    const std::vector<DrawnPrimitive> lines = Lines();
    ASSERT_EQ(lines.size(), 2u);
    for (const DrawnPrimitive& line : lines) {
      EXPECT_EQ(line.state.pen, (Pen{PenStyle::Solid, bold != 0 ? 2 : 1, Color::Rgb(0, 0, 0)}));
    }
    EXPECT_EQ(canvas.Primitives().size(), 2u) << "no handles";
    EXPECT_EQ(canvas.CurrentPen(), kPreviousPen);
  }
}

TEST_F(PolyDrawTest, DrawSimpleShapeStrokesWithTheSelectedPen) {
  KindPoly(kKindStratumLine, {{1, 1}, {kNoValue, 1}, {2, 1}, {3, 2}}).DrawSimpleShape(&view);
  const std::vector<DrawnPrimitive> lines = Lines();
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0].points, (std::vector<DevPoint>{{20, 290}, {30, 280}}));
  EXPECT_EQ(lines[0].state.pen, kPreviousPen);
  EXPECT_EQ(canvas.Primitives().size(), 1u);
}

TEST_F(PolyDrawTest, DrawKukanDrawsThePartBetweenTheProjectionsInEitherOrder) {
  const KindPoly shape(kKindPoly, {{0, 0}, {10, 0}, {10, 10}, {20, 10}});
  const CDPoint a(2, 1);
  const CDPoint b(11, 5);
  const std::vector<std::vector<DevPoint>> expected = {{{20, 300}, {100, 300}},
                                                       {{100, 300}, {100, 250}}};
  for (const bool swapped : {false, true}) {
    canvas.Clear();
    shape.DrawKukan(&view, swapped ? &b : &a, swapped ? &a : &b);
    EXPECT_EQ(Segments(), expected) << "swapped " << swapped;
    for (const DrawnPrimitive& line : Lines()) EXPECT_EQ(line.state.pen, kPreviousPen);
  }
}

// ---- Rubber band ----

class RubberBandTest : public PolyDrawTest {
 protected:
  // Vertices at device (10,290), (20,290), (30,290).
  KindPoly line{kKindPoly, {{1, 1}, {2, 1}, {3, 1}}};
};

TEST_F(RubberBandTest, FirstMoveDrawsTheBandsToBothNeighboursInNotXor) {
  line.OnMouseMove(&view, 1, CDPoint(2, 3));
  const std::vector<DrawnPrimitive> lines = Lines();
  EXPECT_EQ(Segments(),
            (std::vector<std::vector<DevPoint>>{{{10, 290}, {20, 270}}, {{30, 290}, {20, 270}}}));
  for (const DrawnPrimitive& band : lines) {
    EXPECT_EQ(band.state.rasterOp, RasterOp::NotXorPen);
    EXPECT_EQ(band.state.pen, kPreviousPen);
  }
  EXPECT_EQ(canvas.CurrentRasterOp(), RasterOp::CopyPen);
  EXPECT_TRUE(CDPoly::bMovCap);
  EXPECT_EQ(CDPoly::ptCap.x, 2.0);
  EXPECT_EQ(CDPoly::ptCap.y, 3.0);
}

TEST_F(RubberBandTest, NextMoveErasesTheOldBandBeforeDrawingTheNewOne) {
  line.OnMouseMove(&view, 1, CDPoint(2, 3));
  canvas.Clear();
  line.OnMouseMove(&view, 1, CDPoint(2, 5));
  EXPECT_EQ(Segments(), (std::vector<std::vector<DevPoint>>{{{10, 290}, {20, 270}},  // erase
                                                            {{10, 290}, {20, 250}},
                                                            {{30, 290}, {20, 270}},  // erase
                                                            {{30, 290}, {20, 250}}}));
}

TEST_F(RubberBandTest, ResetForgetsTheBandSoTheNextMoveDoesNotErase) {
  line.OnMouseMove(&view, 1, CDPoint(2, 3));
  line.ResetMouseMove();
  EXPECT_FALSE(CDPoly::bMovCap);
  EXPECT_EQ(CDPoly::ptCap.x, kNoValue);
  EXPECT_EQ(CDPoly::ptCap.y, kNoValue);
  EXPECT_EQ(CDPoly::ptCap.flag, 0);

  canvas.Clear();
  line.OnMouseMove(&view, 1, CDPoint(2, 5));
  EXPECT_EQ(Lines().size(), 2u);
}

TEST_F(RubberBandTest, MouseDownResetsTheBand) {
  line.OnMouseMove(&view, 0, CDPoint(2, 3));
  line.OnLButtonDown(&view, 0, CDPoint(2, 3));
  EXPECT_FALSE(CDPoly::bMovCap);
  EXPECT_EQ(CDPoly::ptCap.x, kNoValue);
}

struct BandCase {
  int index;
  std::vector<std::vector<DevPoint>> bands;
  bool moved;  // whether the band state follows the mouse
};

TEST_F(RubberBandTest, OnlyExistingNeighboursGetABand) {
  const DevPoint mouse{40, 270};
  const BandCase cases[] = {
      {-1, {}, false},
      {0, {{{20, 290}, mouse}}, true},
      {2, {{{20, 290}, mouse}}, true},
      {3, {{{30, 290}, mouse}}, true},  // one past the end: a vertex appended after the last
      {4, {}, false},
  };
  for (const BandCase& c : cases) {
    SCOPED_TRACE(testing::Message() << "index " << c.index);
    canvas.Clear();
    line.ResetMouseMove();
    line.OnMouseMove(&view, c.index, CDPoint(4, 3));
    EXPECT_EQ(Segments(), c.bands);
    EXPECT_EQ(CDPoly::bMovCap, c.moved);
  }
}

TEST_F(RubberBandTest, UnsetNeighbourGetsNoBand) {
  KindPoly gapped(kKindPoly, {{1, 1}, {kNoValue, 1}, {3, 1}});
  gapped.OnMouseMove(&view, 2, CDPoint(4, 3));
  EXPECT_TRUE(Lines().empty());
  EXPECT_TRUE(CDPoly::bMovCap);
}

// ---- FindNearPoint ----

TEST(PolyFindNearPointTest, ReturnsTheStrictlyNearestVertexWithItsFlag) {
  KindPoly shape(kKindPoly, {{0, 0}, {4, 0}, {4, 3}, {4, 0}});
  shape.GetAt(1)->flag = 1;
  shape.GetAt(3)->flag = 2;
  const CDPoint p(5, 0.5, 7);
  double dist = 0;
  int index = -1;
  const CDPoint nearest = shape.FindNearPoint(&p, dist, index);
  EXPECT_EQ(index, 1);  // vertex 3 is as near, the first one wins
  EXPECT_EQ(nearest.x, 4.0);
  EXPECT_EQ(nearest.y, 0.0);
  EXPECT_EQ(nearest.flag, 1);
  EXPECT_DOUBLE_EQ(dist, Hypot(p, CDPoint(4, 0)));
}

TEST(PolyFindNearPointTest, EmptyShapeGivesThePointItself) {
  const KindPoly shape(kKindPoly);
  const CDPoint p(5, 6, 3);
  double dist = 0;
  int index = -1;
  const CDPoint nearest = shape.FindNearPoint(&p, dist, index);
  EXPECT_EQ(nearest.x, 5.0);
  EXPECT_EQ(nearest.y, 6.0);
  EXPECT_EQ(nearest.flag, 3);
  EXPECT_EQ(dist, kAreaNotSet);
  EXPECT_EQ(index, 0);
}

}  // namespace
