#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "platform/RecordingCanvas.h"

namespace {

const Pen kBluePen{PenStyle::Solid, 1, Color::Rgb(0, 0, 255)};
const Pen kRedDash{PenStyle::Dash, 2, Color::Rgb(255, 0, 0)};

TEST(RecordingCanvasTest, EachPrimitiveKeepsTheStateItWasDrawnWith) {
  RecordingCanvas canvas;
  canvas.SelectPen(kBluePen);
  canvas.SetRasterOp(RasterOp::NotXorPen);
  canvas.Rectangle({0, 0, 10, 10});

  canvas.SelectPen(kRedDash);
  canvas.SelectBrush({BrushStyle::Null, {}});
  canvas.SetRasterOp(RasterOp::CopyPen);
  canvas.SetClipRect(DevRect{1, 1, 5, 5});
  canvas.Ellipse({2, 2, 4, 4});

  ASSERT_EQ(canvas.Primitives().size(), 2u) << canvas.Dump();
  const CanvasState& first = canvas.Primitives()[0].state;
  EXPECT_EQ(first.pen, kBluePen);
  EXPECT_EQ(first.brush, Brush{});
  EXPECT_EQ(first.rasterOp, RasterOp::NotXorPen);
  EXPECT_FALSE(first.clip.has_value());

  const CanvasState& second = canvas.Primitives()[1].state;
  EXPECT_EQ(second.pen, kRedDash);
  EXPECT_EQ(second.brush.style, BrushStyle::Null);
  EXPECT_EQ(second.rasterOp, RasterOp::CopyPen);
  EXPECT_EQ(second.clip, (DevRect{1, 1, 5, 5}));
}

TEST(RecordingCanvasTest, TextKeepsFontColourAlignmentAndBackground) {
  RecordingCanvas canvas;
  const Font font{-12, 0, 700, 900, "ＭＳ ゴシック"};
  canvas.SelectFont(font);
  canvas.SetTextColor(Color::Rgb(1, 2, 3));
  canvas.SetTextAlign(TextAlign::Center | TextAlign::Baseline);
  canvas.SetBackgroundMode(BackgroundMode::Transparent);
  canvas.TextOut({5, 6}, "斜面");

  DrawnPrimitive expected;
  expected.kind = PrimitiveKind::Text;
  expected.points = {{5, 6}};
  expected.text = "斜面";
  expected.state = CanvasState{Pen{},
                               Brush{},
                               font,
                               Color::Rgb(1, 2, 3),
                               Color::Rgb(255, 255, 255),
                               BackgroundMode::Transparent,
                               TextAlign::Center | TextAlign::Baseline,
                               RasterOp::CopyPen,
                               std::nullopt};
  ASSERT_EQ(canvas.Primitives().size(), 1u);
  EXPECT_EQ(canvas.Primitives()[0], expected);
}

TEST(RecordingCanvasTest, LineToDrawsFromTheCurrentPositionAndMovesOn) {
  RecordingCanvas canvas;
  canvas.MoveTo({1, 2});
  canvas.LineTo({3, 4});
  canvas.LineTo({5, 6});
  canvas.MoveTo({0, 0});
  canvas.LineTo({7, 8});

  const auto lines = canvas.PrimitivesOf(PrimitiveKind::Line);
  ASSERT_EQ(lines.size(), 3u) << canvas.Dump();
  EXPECT_EQ(lines[0].points, (std::vector<DevPoint>{{1, 2}, {3, 4}}));
  EXPECT_EQ(lines[1].points, (std::vector<DevPoint>{{3, 4}, {5, 6}}));
  EXPECT_EQ(lines[2].points, (std::vector<DevPoint>{{0, 0}, {7, 8}}));
  EXPECT_EQ(canvas.CurrentPosition(), (DevPoint{7, 8}));
}

TEST(RecordingCanvasTest, ScopedPenAndBrushPutThePreviousOnesBack) {
  RecordingCanvas canvas;
  canvas.SelectPen(kBluePen);
  {
    ScopedPen pen(canvas, kRedDash);
    ScopedBrush brush(canvas, {BrushStyle::Solid, Color::Rgb(0, 255, 0)});
    canvas.Polygon({{0, 0}, {4, 0}, {0, 4}});
  }
  canvas.Polyline({{0, 0}, {4, 4}});

  EXPECT_EQ(canvas.CurrentPen(), kBluePen);
  EXPECT_EQ(canvas.CurrentBrush(), Brush{});
  ASSERT_EQ(canvas.Primitives().size(), 2u);
  EXPECT_EQ(canvas.Primitives()[0].state.pen, kRedDash);
  EXPECT_EQ(canvas.Primitives()[0].state.brush.color, Color::Rgb(0, 255, 0));
  EXPECT_EQ(canvas.Primitives()[1].state.pen, kBluePen);
}

TEST(RecordingCanvasTest, ScopedCanvasStatePutsEverySettingBack) {
  RecordingCanvas canvas;
  canvas.SelectPen(kBluePen);
  canvas.SetTextAlign(TextAlign::Right | TextAlign::Bottom);
  const auto before = [&] {
    canvas.Polyline({{0, 0}, {1, 1}});
    return canvas.Primitives().back().state;
  };
  const CanvasState saved = before();
  {
    const ScopedCanvasState restore(canvas);
    canvas.SelectPen(kRedDash);
    canvas.SelectBrush({BrushStyle::Null, Color{}});
    canvas.SelectFont({12, 6, 700, 0, "Gothic"});
    canvas.SetTextColor(Color::Rgb(1, 2, 3));
    canvas.SetBackgroundColor(Color::Rgb(4, 5, 6));
    canvas.SetBackgroundMode(BackgroundMode::Transparent);
    canvas.SetTextAlign(TextAlign::Center | TextAlign::Top);
    canvas.SetRasterOp(RasterOp::NotXorPen);
    canvas.SetClipRect(DevRect{0, 0, 5, 5});
    canvas.MoveTo({3, 4});
  }
  EXPECT_EQ(canvas.CurrentPosition(), (DevPoint{0, 0}));
  canvas.Polyline({{0, 0}, {1, 1}});
  EXPECT_EQ(canvas.Primitives().back().state, saved) << canvas.Dump();
}

TEST(RecordingCanvasTest, ScopedCanvasStatePutsAClipBackAndTheDrawingPosition) {
  RecordingCanvas canvas;
  canvas.SetClipRect(DevRect{1, 2, 30, 40});
  canvas.MoveTo({7, 8});
  {
    const ScopedCanvasState restore(canvas);
    canvas.SetClipRect(std::nullopt);
    canvas.LineTo({9, 9});
  }
  EXPECT_EQ(canvas.ClipRect(), (DevRect{1, 2, 30, 40}));
  EXPECT_EQ(canvas.CurrentPosition(), (DevPoint{7, 8}));
}

TEST(RecordingCanvasTest, SettingTheClipReturnsThePreviousOne) {
  RecordingCanvas canvas;
  EXPECT_EQ(canvas.SetClipRect(DevRect{0, 0, 8, 8}), std::nullopt);
  EXPECT_EQ(canvas.SetClipRect(std::nullopt), (DevRect{0, 0, 8, 8}));
  EXPECT_EQ(canvas.ClipRect(), std::nullopt);
}

struct DumpCase {
  const char* name;
  std::function<void(RecordingCanvas&)> draw;
  std::string line;
};

TEST(RecordingCanvasTest, PrintsOneReadableLinePerPrimitive) {
  const DumpCase cases[] = {
      {"rubber-band line",
       [](RecordingCanvas& c) {
         c.SelectPen(kBluePen);
         c.SetRasterOp(RasterOp::NotXorPen);
         c.MoveTo({10, 20});
         c.LineTo({30, 40});
       },
       "Line (10,20)-(30,40) pen=Solid/1/#0000FF rop=NotXor"},
      {"polyline",
       [](RecordingCanvas& c) {
         c.Polyline({{0, 0}, {10, 0}, {10, 10}});
       },
       "Polyline (0,0) (10,0) (10,10) pen=Solid/1/#000000 rop=Copy"},
      {"polygon",
       [](RecordingCanvas& c) {
         c.Polygon({{0, 0}, {10, 0}, {0, 10}});
       },
       "Polygon (0,0) (10,0) (0,10) pen=Solid/1/#000000 brush=Solid/#FFFFFF rop=Copy"},
      {"rectangle without fill",
       [](RecordingCanvas& c) {
         c.SelectPen(kRedDash);
         c.SelectBrush({BrushStyle::Null, {}});
         c.Rectangle({0, 0, 10, 5});
       },
       "Rectangle [0,0,10,5] pen=Dash/2/#FF0000 brush=Null rop=Copy"},
      {"ellipse",
       [](RecordingCanvas& c) {
         c.Ellipse({-5, -5, 5, 5});
       },
       "Ellipse [-5,-5,5,5] pen=Solid/1/#000000 brush=Solid/#FFFFFF rop=Copy"},
      {"arc",
       [](RecordingCanvas& c) {
         c.Arc({0, 0, 10, 10}, {10, 5}, {0, 5});
       },
       "Arc [0,0,10,10] (10,5)->(0,5) pen=Solid/1/#000000 rop=Copy"},
      {"transparent text",
       [](RecordingCanvas& c) {
         c.SelectFont({-12, 0, 400, 900, "ＭＳ ゴシック"});
         c.SetTextAlign(TextAlign::Center | TextAlign::Baseline);
         c.SetBackgroundMode(BackgroundMode::Transparent);
         c.TextOut({5, 6}, "ab");
       },
       "Text (5,6) \"ab\" font=\"ＭＳ ゴシック\"/-12/0/400/900 color=#000000 "
       "align=Center|Baseline bk=Transparent"},
      {"opaque text",
       [](RecordingCanvas& c) {
         c.SetBackgroundColor(Color::Rgb(0x12, 0x34, 0x56));
         c.SetTextAlign(TextAlign::Right | TextAlign::Bottom);
         c.TextOut({0, 0}, "x");
       },
       "Text (0,0) \"x\" font=\"\"/0/0/400/0 color=#000000 align=Right|Bottom bk=Opaque/#123456"},
      {"clipped fill",
       [](RecordingCanvas& c) {
         c.SetClipRect(DevRect{0, 0, 100, 100});
         c.FillRect({1, 2, 3, 4}, {BrushStyle::Solid, Color::Rgb(0, 255, 0)});
       },
       "FillRect [1,2,3,4] brush=Solid/#00FF00 clip=[0,0,100,100]"},
      {"Japanese fixed-pitch font",
       [](RecordingCanvas& c) {
         c.SelectFont({10, 5, 100, 0, "ＭＳ ゴシック", FontCharset::ShiftJis, FontPitch::Fixed});
         c.SetBackgroundMode(BackgroundMode::Transparent);
         c.TextOut({0, 0}, "1");
       },
       "Text (0,0) \"1\" font=\"ＭＳ ゴシック\"/10/5/100/0/ShiftJis/Fixed color=#000000 "
       "align=Left|Top bk=Transparent"},
      {"text in a rectangle keeps its own alignment",
       [](RecordingCanvas& c) {
         c.SetTextAlign(TextAlign::Right | TextAlign::Baseline);
         c.SetTextColor(Color::Rgb(0xA0, 0, 0));
         c.SetBackgroundMode(BackgroundMode::Transparent);
         c.DrawText({0, 0, 80, 20}, "計算開始", TextAlign::Center | TextAlign::Middle,
                    TextLines::Single);
       },
       "TextBox [0,0,80,20] \"計算開始\" font=\"\"/0/0/400/0 color=#A00000 align=Center|Middle "
       "bk=Transparent"},
      {"multi-line text",
       [](RecordingCanvas& c) {
         c.DrawText({0, 0, 80, 40}, "上段\n下段", TextAlign::Left | TextAlign::Bottom,
                    TextLines::Multiple);
       },
       "TextBox [0,0,80,40] \"上段\n下段\" multi-line font=\"\"/0/0/400/0 color=#000000 "
       "align=Left|Bottom bk=Opaque/#FFFFFF"},
      {"gradient",
       [](RecordingCanvas& c) {
         c.FillGradient({0, 0, 90, 24}, {Color::Rgb(255, 255, 255), Color::Rgb(0xBE, 0xBE, 0xBE),
                                         GradientDirection::TopToBottom});
       },
       "Gradient [0,0,90,24] #FFFFFF->#BEBEBE down"},
      {"focus rectangle",
       [](RecordingCanvas& c) {
         c.DrawFocusRect({4, 4, 86, 20});
       },
       "FocusRect [4,4,86,20]"},
      {"image",
       [](RecordingCanvas& c) {
         c.DrawImage({2, 3, 18, 13}, CanvasImage(DevSize{20, 16}), {2, 3});
       },
       "Image [2,3,18,13] from (2,3) of 20x16"},
  };
  for (const DumpCase& c : cases) {
    SCOPED_TRACE(c.name);
    RecordingCanvas canvas;
    c.draw(canvas);
    EXPECT_EQ(canvas.Dump(), c.line + "\n");
  }
}

TEST(RecordingCanvasTest, RemovingTheClipShowsInLaterPrimitives) {
  RecordingCanvas canvas;
  canvas.SetClipRect(DevRect{0, 0, 8, 8});
  canvas.Rectangle({0, 0, 4, 4});
  canvas.SetClipRect(std::nullopt);
  canvas.Rectangle({0, 0, 4, 4});
  ASSERT_EQ(canvas.Primitives().size(), 2u);
  EXPECT_EQ(canvas.Primitives()[0].state.clip, (DevRect{0, 0, 8, 8}));
  EXPECT_FALSE(canvas.Primitives()[1].state.clip.has_value());

  canvas.Clear();
  EXPECT_TRUE(canvas.Primitives().empty());
}

TEST(RecordingCanvasTest, DrawingOnAnImageCanvasJoinsTheRecordUnderItsNumber) {
  RecordingCanvas canvas(CanvasSetup{600.0 / 25.4, true});
  canvas.SelectPen(kRedDash);
  CanvasImage figure(DevSize{960, 600});
  CanvasImage second(DevSize{4, 2});
  {
    const std::unique_ptr<Canvas> offscreen = canvas.CreateImageCanvas(figure);
    EXPECT_EQ(offscreen->PixelsPerMm(), canvas.PixelsPerMm());
    EXPECT_FALSE(offscreen->IsYUp()) << "images are drawn with y down";
    EXPECT_EQ(offscreen->CurrentPen(), Pen{}) << "an image canvas starts with the defaults";
    offscreen->Rectangle({0, 0, 960, 600});
    canvas.CreateImageCanvas(second)->DrawFocusRect({0, 0, 4, 2});
  }
  canvas.DrawImage({0, 0, 960, 600}, figure, {0, 0});

  EXPECT_EQ(canvas.Dump(),
            "image 1: ImageCanvas 960x600\n"
            "image 1: Rectangle [0,0,960,600] pen=Solid/1/#000000 brush=Solid/#FFFFFF rop=Copy\n"
            "image 2: ImageCanvas 4x2\n"
            "image 2: FocusRect [0,0,4,2]\n"
            "Image [0,0,960,600] from (0,0) of 960x600\n");
  EXPECT_EQ(canvas.Primitives().back().image, figure);
  EXPECT_EQ(figure, CanvasImage(DevSize{960, 600})) << "the recording canvas paints no pixels";
}

TEST(RecordingCanvasTest, TheSetupIsFixedWhenTheCanvasIsMade) {
  const RecordingCanvas screen;
  EXPECT_DOUBLE_EQ(screen.PixelsPerMm(), 96.0 / 25.4);
  EXPECT_FALSE(screen.IsYUp());
  const RecordingCanvas printer(CanvasSetup{1200.0 / 25.4, true});
  EXPECT_DOUBLE_EQ(printer.PixelsPerMm(), 1200.0 / 25.4);
  EXPECT_TRUE(printer.IsYUp());
}

struct ExtentCase {
  const char* name;
  int height;
  int width;
  std::string text;
  DevSize expected;
};

TEST(RecordingCanvasTest, TextExtentUsesAFixedMetric) {
  const ExtentCase cases[] = {
      {"half the height per character", -12, 0, "abc", {18, 12}},
      {"positive height", 12, 0, "abc", {18, 12}},
      {"code points, not bytes", -12, 0, "日本", {12, 12}},
      {"explicit width", -12, 5, "abcd", {20, 12}},
      {"default height", 0, 0, "ab", {16, 16}},
      {"empty text", -10, 0, "", {0, 10}},
  };
  for (const ExtentCase& c : cases) {
    SCOPED_TRACE(c.name);
    RecordingCanvas canvas;
    canvas.SelectFont({c.height, c.width, 400, 0, "face"});
    EXPECT_EQ(canvas.TextExtent(c.text), c.expected);
  }
}

}  // namespace
