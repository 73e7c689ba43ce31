#include <gtest/gtest.h>

#include <climits>
#include <memory>
#include <vector>

#include "core/geometry/ViewInfo.h"
#include "platform/MakeAvi.h"
#include "platform/PlatformWindow.h"
#include "platform/RecordingCanvas.h"

namespace {

// A window that shows a blank 4 x 3 client area.
class BlankWindow : public PlatformWindow {
 public:
  CanvasImage GrabClientArea() const override { return CanvasImage(DevSize{4, 3}); }
};

// A view on the default 30 x 30 area whose centre (15, 15) falls on device (500, 400).
CViewInfo MakeView(double scale = 10.0) {
  CViewInfo view;
  view.centreX = 500;
  view.centreY = 400;
  view.scale = scale;
  return view;
}

TEST(ViewInfoTest, NewViewHasTheDefaults) {
  const CViewInfo view;
  EXPECT_EQ(view.rect, DevRect{});
  EXPECT_EQ(view.dc, nullptr);
  EXPECT_EQ(view.window, nullptr);
  EXPECT_EQ(view.movie, nullptr);
  EXPECT_EQ(view.xmin, 0.0);
  EXPECT_EQ(view.xmax, 30.0);
  EXPECT_EQ(view.ymax, 30.0);
  EXPECT_EQ(view.ymin, 0.0);
  EXPECT_EQ(view.scale, 1.0);
  EXPECT_EQ(view.zoom, 1.0);
  EXPECT_FALSE(view.zoomOn);
  EXPECT_EQ(view.marginX, 50);
  EXPECT_EQ(view.marginY, 50);
  EXPECT_TRUE(view.IsDraw());
  EXPECT_FALSE(view.IsPreview());
}

TEST(ViewInfoTest, DefaultViewMapsTheAreaCentreOntoTheDeviceCentreLessScroll) {
  CViewInfo view;
  view.centreX = 320;
  view.centreY = 240;
  view.scrollX = 7;
  view.scrollY = -11;
  EXPECT_EQ(view.LPtoDP(CDPoint(15.0, 15.0)), (DevPoint{313, 251}));
}

TEST(ViewInfoTest, UnsetAreaMapsNothing) {
  CViewInfo view = MakeView(4.0);
  view.xmin = kAreaNotSet;
  view.width = 1000;
  view.height = 1000;
  EXPECT_EQ(view.LPtoDP(CDPoint(3.0, 4.0)), (DevPoint{0, 0}));
  const CDPoint world = view.DPtoLP({10, 20});
  EXPECT_EQ(world.x, kNoValue);
  EXPECT_EQ(world.y, kNoValue);
  EXPECT_FALSE(view.DPtoLP2({10, 20}).IsValid());
  EXPECT_EQ(view.CalcScale(), 1.0);
  EXPECT_EQ(view.scale, 4.0);
}

TEST(ViewInfoTest, CalcScaleFitsTheAreaWithOneScale) {
  struct Case {
    double left, top, right, bottom;
    int width, height, marginX, marginY;
    double scale;
  };
  const Case cases[] = {
      {0, 10, 30, 0, 1000, 1000, 50, 50, 30.0},  // min(900 / 30, 900 / 10)
      {0, 30, 10, 0, 1000, 1000, 50, 50, 30.0},
      {-5, 5, 5, -5, 440, 240, 20, 20, 20.0},
  };
  for (const Case& c : cases) {
    CViewInfo view;
    view.SetArea(c.left, c.top, c.right, c.bottom);
    view.width = c.width;
    view.height = c.height;
    view.marginX = c.marginX;
    view.marginY = c.marginY;
    EXPECT_EQ(view.CalcScale(), c.scale);
    EXPECT_EQ(view.scale, c.scale);
  }
}

TEST(ViewInfoTest, AreaAccessors) {
  CViewInfo view;
  view.SetArea(10.0, 2.0, -4.0, 8.0);  // left, top, right, bottom
  EXPECT_EQ(view.xmin, 10.0);
  EXPECT_EQ(view.ymax, 2.0);
  EXPECT_EQ(view.xmax, -4.0);
  EXPECT_EQ(view.ymin, 8.0);
  EXPECT_EQ(view.CenterX(), 3.0);
  EXPECT_EQ(view.CenterY(), 5.0);
  EXPECT_EQ(view.WidthX(), 14.0);
  EXPECT_EQ(view.WidthY(), 6.0);

  CViewInfo other;
  other.SetArea(view);
  EXPECT_EQ(other.xmin, 10.0);
  EXPECT_EQ(other.ymax, 2.0);
  EXPECT_EQ(other.xmax, -4.0);
  EXPECT_EQ(other.ymin, 8.0);
}

TEST(ViewInfoTest, LPtoDPByMode) {
  struct Case {
    int mode;
    bool zoomOn;
    CDPoint world;
    DevPoint device;
  };
  // Centre (15, 15) -> (500, 400), scale 10, zoom 2, scroll (3, 5).
  const Case cases[] = {
      // Draw mode flips y and subtracts the scroll.
      {CViewInfo::kModeDraw, false, {15.0, 15.0}, {497, 395}},
      {CViewInfo::kModeDraw, false, {16.0, 17.0}, {507, 375}},  // above the centre: smaller Y
      {CViewInfo::kModeDraw, true, {16.0, 17.0}, {517, 355}},
      {CViewInfo::kModeWord, false, {16.0, 17.0}, {507, 375}},
      // The product is truncated toward zero before the offsets are added.
      {CViewInfo::kModeDraw, false, {14.73, 15.27}, {495, 393}},
      {CViewInfo::kModeDraw, false, {15.27, 14.73}, {499, 397}},
      // Print mode keeps y upward and ignores zoom and scroll.
      {CViewInfo::kModePrint, true, {16.0, 17.0}, {510, 420}},  // above the centre: larger Y
      {CViewInfo::kModePrint, false, {14.73, 14.73}, {498, 398}},
  };
  for (const Case& c : cases) {
    CViewInfo view = MakeView();
    view.mode = c.mode;
    view.zoom = 2.0;
    view.zoomOn = c.zoomOn;
    view.scrollX = 3;
    view.scrollY = 5;
    EXPECT_EQ(view.LPtoDP(c.world), c.device) << c.mode << " " << c.world.x << "," << c.world.y;
  }
}

TEST(ViewInfoTest, TruncationGoesTowardZero) {
  // (12.3 - 15) * 1 = -2.7 maps to -2 + centreX, not -3 + centreX.
  CViewInfo view = MakeView(1.0);
  EXPECT_EQ(view.LPtoDP(CDPoint(12.3, 15.0)).x, 498);
  EXPECT_EQ(view.LPtoDP(CDPoint(15.0, 17.7)).y, 398);
}

TEST(ViewInfoTest, FarCoordinatesAreClampedToTheIntRange) {
  struct Case {
    int mode;
    int centre;
    int scroll;
    CDPoint world;
    DevPoint device;
  };
  const Case cases[] = {
      {CViewInfo::kModeDraw, 100, 0, {kNoValue, kNoValue}, {INT_MIN + 100, INT_MAX}},
      {CViewInfo::kModeDraw, -100, 0, {kNoValue, -kNoValue}, {INT_MIN, INT_MIN}},
      {CViewInfo::kModeDraw, 0, -100, {-kNoValue, kNoValue}, {INT_MAX, INT_MAX}},
      {CViewInfo::kModeDraw, 0, 100, {-kNoValue, kNoValue}, {INT_MAX - 100, INT_MAX - 100}},
      {CViewInfo::kModePrint, 100, 0, {kNoValue, kNoValue}, {INT_MIN + 100, INT_MIN + 100}},
      {CViewInfo::kModePrint, 100, 0, {-kNoValue, -kNoValue}, {INT_MAX, INT_MAX}},
  };
  for (const Case& c : cases) {
    CViewInfo view = MakeView();
    view.mode = c.mode;
    view.centreX = c.centre;
    view.centreY = c.centre;
    view.scrollX = c.scroll;
    view.scrollY = c.scroll;
    EXPECT_EQ(view.LPtoDP(c.world), c.device) << c.mode << " " << c.centre << " " << c.scroll;
  }
}

TEST(ViewInfoTest, AnAreaWithoutExtentMapsItsCentreWithoutOverflow) {
  CViewInfo view = MakeView();
  view.SetArea(15.0, 15.0, 15.0, 15.0);
  view.width = 200;
  view.height = 200;
  view.CalcScale();  // an infinite scale, and 0 * inf is no number
  EXPECT_EQ(view.LPtoDP(CDPoint(15.0, 15.0)), (DevPoint{500, 400}));
}

TEST(ViewInfoTest, DeviceToWorldInvertsTheMapping) {
  struct Case {
    int mode;
    bool zoomOn;
  };
  const Case cases[] = {{CViewInfo::kModeDraw, false},
                        {CViewInfo::kModeDraw, true},
                        {CViewInfo::kModeWord, true},
                        {CViewInfo::kModePrint, true}};
  const CDPoint points[] = {{15.0, 15.0}, {3.21, 27.9}, {-40.5, 12.34}, {29.99, -0.01}};
  for (const Case& c : cases) {
    CViewInfo view = MakeView(7.5);
    view.mode = c.mode;
    view.zoom = 1.5;
    view.zoomOn = c.zoomOn;
    view.scrollX = -13;
    view.scrollY = 21;
    const double pixel = 1.0 / (c.zoomOn && c.mode != CViewInfo::kModePrint ? 7.5 * 1.5 : 7.5);
    for (const CDPoint& p : points) {
      const CDPoint back = view.DPtoLP(view.LPtoDP(p));
      EXPECT_NEAR(back.x, p.x, pixel) << c.mode << " " << c.zoomOn;
      EXPECT_NEAR(back.y, p.y, pixel) << c.mode << " " << c.zoomOn;
      EXPECT_EQ(back.flag, 0);
    }
  }
}

TEST(ViewInfoTest, DPtoLP2UsesSeparateAxisScales) {
  CViewInfo view;
  view.SetArea(0.0, 10.0, 40.0, 0.0);
  view.width = 500;
  view.height = 300;
  view.marginX = 50;
  view.marginY = 50;
  view.centreX = 250;
  view.centreY = 150;
  view.scrollX = 10;
  view.scrollY = -20;
  // sx = 400 / 40 = 10, sy = 200 / 10 = 20.
  CDPoint p = view.DPtoLP2({290, 130});
  EXPECT_DOUBLE_EQ(p.x, 25.0);
  EXPECT_DOUBLE_EQ(p.y, 7.0);

  view.zoomOn = true;
  view.zoom = 2.0;
  p = view.DPtoLP2({290, 130});
  EXPECT_DOUBLE_EQ(p.x, 22.5);
  EXPECT_DOUBLE_EQ(p.y, 6.0);

  view.ModePrint();  // only a shift
  p = view.DPtoLP2({290, 130});
  EXPECT_EQ(p.x, 60.0);
  EXPECT_EQ(p.y, -15.0);
}

TEST(ViewInfoTest, ModesAndFontMultiple) {
  struct Case {
    void (CViewInfo::*setMode)();
    bool preview;
    bool draw, print, word;
    int fontMultiple;
  };
  const Case cases[] = {
      {&CViewInfo::ModeDraw, false, true, false, false, 1},
      {&CViewInfo::ModePrint, false, false, true, false, 10},
      {&CViewInfo::ModeWord, false, false, false, true, 1},
      {&CViewInfo::ModeDraw, true, true, false, false, 10},
  };
  for (const Case& c : cases) {
    CViewInfo view;
    (view.*c.setMode)();
    view.preview = c.preview;
    EXPECT_EQ(view.IsDraw(), c.draw);
    EXPECT_EQ(view.IsPrint(), c.print);
    EXPECT_EQ(view.IsWord(), c.word);
    EXPECT_EQ(view.IsPreview(), c.preview);
    EXPECT_EQ(view.GetFontMultiple(), c.fontMultiple);
  }
}

TEST(ViewInfoTest, AssignmentCopiesAllButTheDeviceContext) {
  RecordingCanvas sourceCanvas;
  RecordingCanvas targetCanvas;
  BlankWindow blank;
  PlatformWindow* const window = &blank;

  CViewInfo source;
  source.rect = {1, 2, 3, 4};
  source.dc = &sourceCanvas;
  source.window = window;
  source.CreateMovieObject();
  source.SetArea(-1.0, 9.0, 8.0, -2.0);
  source.scale = 3.5;
  source.zoom = 2.5;
  source.zoomOn = true;
  source.scrollX = 5;
  source.scrollY = 6;
  source.centreX = 7;
  source.centreY = 8;
  source.width = 9;
  source.height = 10;
  source.marginX = 20;
  source.marginY = 21;
  source.ModeWord();
  source.preview = true;

  CViewInfo target;
  target.dc = &targetCanvas;
  target = source;
  EXPECT_EQ(target.dc, &targetCanvas);
  EXPECT_EQ(target.rect, source.rect);
  EXPECT_EQ(target.window, window);
  EXPECT_EQ(target.movie, source.movie);
  EXPECT_EQ(target.xmin, -1.0);
  EXPECT_EQ(target.ymax, 9.0);
  EXPECT_EQ(target.xmax, 8.0);
  EXPECT_EQ(target.ymin, -2.0);
  EXPECT_EQ(target.scale, 3.5);
  EXPECT_EQ(target.zoom, 2.5);
  EXPECT_TRUE(target.zoomOn);
  EXPECT_EQ(target.scrollX, 5);
  EXPECT_EQ(target.scrollY, 6);
  EXPECT_EQ(target.centreX, 7);
  EXPECT_EQ(target.centreY, 8);
  EXPECT_EQ(target.width, 9);
  EXPECT_EQ(target.height, 10);
  EXPECT_EQ(target.marginX, 20);
  EXPECT_EQ(target.marginY, 21);
  EXPECT_TRUE(target.IsWord());
  EXPECT_TRUE(target.preview);

  const CViewInfo copy(source);
  EXPECT_EQ(copy.dc, nullptr);
  EXPECT_EQ(copy.movie, source.movie);
  EXPECT_EQ(copy.LPtoDP(CDPoint(2.0, 3.0)), source.LPtoDP(CDPoint(2.0, 3.0)));
  source.DestroyMovieObject();
}

TEST(ViewInfoTest, DrawingHelpersMapTheirPoints) {
  RecordingCanvas canvas;
  const CViewInfo view = MakeView();
  view.Point(canvas, CDPoint(16.0, 14.0), true);
  view.Point(canvas, CDPoint(16.0, 14.0), false);
  view.Line(canvas, 15.0, 15.0, 17.0, 16.0);
  view.Rectangle(canvas, 14.0, 16.0, 16.0, 14.0);
  view.Batten(canvas, 15.0, 15.0);

  const auto rectangles = canvas.PrimitivesOf(PrimitiveKind::Rectangle);
  ASSERT_EQ(rectangles.size(), 3u);
  EXPECT_EQ(rectangles[0].rect, (DevRect{507, 407, 514, 414}));
  EXPECT_EQ(rectangles[1].rect, (DevRect{508, 408, 512, 412}));
  EXPECT_EQ(rectangles[2].rect, (DevRect{490, 390, 510, 410}));

  const auto lines = canvas.PrimitivesOf(PrimitiveKind::Line);
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines[0].points, (std::vector<DevPoint>{{500, 400}, {520, 390}}));
  EXPECT_EQ(lines[1].points, (std::vector<DevPoint>{{495, 395}, {505, 405}}));
  EXPECT_EQ(lines[2].points, (std::vector<DevPoint>{{495, 405}, {505, 395}}));
}

TEST(ViewInfoTest, MarkersOfFarPointsStayInTheIntRange) {
  // Draw mode, centre (500, 400): an unset point maps to (INT_MIN + 500, INT_MAX), its mirror
  // image to (INT_MAX, INT_MIN + 400). The markers around them end at the range's edge.
  struct Case {
    CDPoint world;
    DevRect big;
    DevRect small;
    std::vector<DevPoint> firstDiagonal;
  };
  const Case cases[] = {
      {{kNoValue, kNoValue},
       {INT_MIN + 497, INT_MAX - 3, INT_MIN + 504, INT_MAX},
       {INT_MIN + 498, INT_MAX - 2, INT_MIN + 502, INT_MAX},
       {{INT_MIN + 495, INT_MAX - 5}, {INT_MIN + 505, INT_MAX}}},
      {{-kNoValue, -kNoValue},
       {INT_MAX - 3, INT_MIN + 397, INT_MAX, INT_MIN + 404},
       {INT_MAX - 2, INT_MIN + 398, INT_MAX, INT_MIN + 402},
       {{INT_MAX - 5, INT_MIN + 395}, {INT_MAX, INT_MIN + 405}}},
  };
  for (const Case& c : cases) {
    RecordingCanvas canvas;
    const CViewInfo view = MakeView();
    view.Point(canvas, c.world, true);
    view.Point(canvas, c.world, false);
    view.Batten(canvas, c.world.x, c.world.y);
    const auto rectangles = canvas.PrimitivesOf(PrimitiveKind::Rectangle);
    ASSERT_EQ(rectangles.size(), 2u);
    EXPECT_EQ(rectangles[0].rect, c.big) << c.world.x;
    EXPECT_EQ(rectangles[1].rect, c.small) << c.world.x;
    const auto lines = canvas.PrimitivesOf(PrimitiveKind::Line);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].points, c.firstDiagonal) << c.world.x;
  }
}

// A recorder that counts what the view asks of it.
class CountingRecorder : public CMakeAvi {
 public:
  void CaptureFrame(PlatformWindow& window) override { captured.push_back(&window); }
  void Close() override { ++closes; }
  std::vector<PlatformWindow*> captured;
  int closes = 0;
};

TEST(ViewInfoTest, MovieCaptureNeedsARecorderAndAWindow) {
  BlankWindow blank;
  PlatformWindow* const window = &blank;
  auto recorder = std::make_shared<CountingRecorder>();

  CViewInfo view;
  view.window = window;
  view.MovieCapture();  // no recorder: nothing happens

  view.movie = recorder;
  view.window = nullptr;
  view.MovieCapture();
  EXPECT_TRUE(recorder->captured.empty());

  view.window = window;
  view.MovieCapture();
  EXPECT_EQ(recorder->captured, std::vector<PlatformWindow*>{window});
}

TEST(ViewInfoTest, DestroyMovieObjectClosesTheRecording) {
  auto recorder = std::make_shared<CountingRecorder>();
  CViewInfo view;
  view.movie = recorder;
  view.DestroyMovieObject();
  EXPECT_EQ(recorder->closes, 1);
  EXPECT_EQ(view.movie, nullptr);
  view.DestroyMovieObject();  // with no recorder it only clears the pointer
  EXPECT_EQ(recorder->closes, 1);
}

TEST(ViewInfoTest, CreateMovieObjectEndsTheRecorderItHeld) {
  auto recorder = std::make_shared<CountingRecorder>();
  const std::weak_ptr<CMakeAvi> old = recorder;
  CViewInfo view;
  view.movie = recorder;
  recorder.reset();

  CMakeAvi* created = view.CreateMovieObject();
  ASSERT_NE(created, nullptr);
  EXPECT_EQ(view.movie.get(), created);
  EXPECT_TRUE(old.expired());  // closed and freed, not leaked
  view.DestroyMovieObject();
}

TEST(ViewInfoTest, CopiesShareTheRecorderAndOutliveItsClosing) {
  BlankWindow blank;
  PlatformWindow* const window = &blank;
  auto recorder = std::make_shared<CountingRecorder>();
  CViewInfo creator;
  creator.window = window;
  creator.movie = recorder;
  CViewInfo copy;
  copy = creator;
  EXPECT_EQ(copy.movie, creator.movie);

  creator.DestroyMovieObject();
  EXPECT_EQ(recorder->closes, 1);
  copy.MovieCapture();  // the copy still reaches a live (closed) recorder
  EXPECT_EQ(recorder->captured.size(), 1u);
}

}  // namespace
