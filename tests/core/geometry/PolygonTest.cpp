#include <gtest/gtest.h>

#include <memory>
#include <typeinfo>
#include <vector>

#include "core/geometry/Polygon.h"
#include "core/geometry/ViewInfo.h"
#include "platform/RecordingCanvas.h"
#include "tests/support/DrawTestUtil.h"
#include "tests/support/PolyTestUtil.h"

namespace {

const Pen kPreviousPen{PenStyle::Dot, 3, Color::Rgb(1, 2, 3)};
const Brush kPreviousBrush{BrushStyle::Solid, Color::Rgb(4, 5, 6)};

// The default 30 x 30 area at 10 pixels per unit: world (x, y) is device (10x, 300 - 10y).
class PolygonDrawTest : public testing::Test {
 protected:
  void SetUp() override {
    AttachTestView(view, canvas, 10.0, 150, 150);
    canvas.SelectPen(kPreviousPen);
    canvas.SelectBrush(kPreviousBrush);
    triangle.Add(1, 1);
    triangle.Add(3, 1);
    triangle.Add(2, 4);
  }

  RecordingCanvas canvas;
  CViewInfo view;
  CPolygon triangle;
};

TEST_F(PolygonDrawTest, NewPolygonPaintsBlack) {
  EXPECT_EQ(triangle.GetPaintColor(), Color::Rgb(0, 0, 0));
  triangle.Draw(&view, 0, 0, 0);
  ASSERT_EQ(canvas.Primitives().size(), 1u);
  EXPECT_EQ(canvas.Primitives()[0].state.pen.color, Color::Rgb(0, 0, 0));
}

struct FillCase {
  int filled;
  Pen pen;
  BrushStyle brushStyle;
};

TEST_F(PolygonDrawTest, FilledDrawsWithoutOutlineAndOutlineWithoutFill) {
  const Color paint = Color::Rgb(200, 100, 50);
  const FillCase cases[] = {
      {1, {PenStyle::Null, 1, Color{}}, BrushStyle::Solid},
      {-3, {PenStyle::Null, 1, Color{}}, BrushStyle::Solid},
      {0, {PenStyle::Solid, 1, paint}, BrushStyle::Null},
  };
  triangle.SetPaintColor(paint);
  for (const FillCase& c : cases) {
    SCOPED_TRACE(testing::Message() << "filled " << c.filled);
    canvas.Clear();
    triangle.Draw(&view, c.filled, 5, 7);
    ASSERT_EQ(canvas.Primitives().size(), 1u) << canvas.Dump();
    const DrawnPrimitive& polygon = canvas.Primitives()[0];
    EXPECT_EQ(polygon.kind, PrimitiveKind::Polygon);
    // Closed by the polygon primitive itself: the first corner is not repeated.
    EXPECT_EQ(polygon.points, (std::vector<DevPoint>{{10, 290}, {30, 290}, {20, 260}}));
    EXPECT_EQ(polygon.state.pen, c.pen);
    EXPECT_EQ(polygon.state.brush.style, c.brushStyle);
    if (c.brushStyle == BrushStyle::Solid) {
      EXPECT_EQ(polygon.state.brush.color, paint);
    }
    EXPECT_EQ(canvas.CurrentPen(), kPreviousPen);
    EXPECT_EQ(canvas.CurrentBrush(), kPreviousBrush);
  }
}

TEST_F(PolygonDrawTest, UnsetPointIsNotSkipped) {
  triangle.InsertAt(1, std::make_shared<CDPoint>(kNoValue, 2));
  triangle.Draw(&view, 1, 0, 0);
  ASSERT_EQ(canvas.Primitives().size(), 1u);
  const std::vector<DevPoint>& corners = canvas.Primitives()[0].points;
  ASSERT_EQ(corners.size(), 4u);
  EXPECT_EQ(corners[1], view.LPtoDP(CDPoint(kNoValue, 2)));
}

TEST_F(PolygonDrawTest, EmptyPolygonDrawsNothing) {
  const CPolygon empty;
  empty.Draw(&view, 1, 0, 0);
  EXPECT_TRUE(canvas.Primitives().empty());
}

TEST(PolygonTest, CopyIsAPlainPolylineWithoutThePaintColour) {
  CPolygon polygon;
  polygon.SetName("area");
  polygon.SetPaintColor(Color::Rgb(255, 0, 0));
  polygon.Add(1, 2);
  polygon.Add(3, 4);
  polygon.GetAt(1)->flag = 1;
  EXPECT_EQ(polygon.WhatKind(), kKindPoly);

  const std::unique_ptr<CDPoly> copy = polygon.Copy();
  EXPECT_EQ(typeid(*copy), typeid(CDPoly));
  EXPECT_EQ(copy->WhatKind(), kKindPoly);
  EXPECT_EQ(copy->GetName(), "area");
  ExpectPoints(*copy, {{1, 2}, {3, 4, 1}});
}

}  // namespace
