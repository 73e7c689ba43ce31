// The section view: painting the active case, zoom and pan in the case's view mapping, clicks
// turned into rounded world points, the coordinate readout, and a screenshot of the sample.

#include <gtest/gtest.h>

#include <QApplication>
#include <QMouseEvent>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QWheelEvent>
#include <algorithm>
#include <atomic>
#include <functional>
#include <map>
#include <string>

#include "app/view/BrixoView.h"
#include "core/base/Utility.h"
#include "core/case/ManageCore.h"
#include "core/geometry/ViewInfo.h"
#include "platform/ProgressFeedback.h"
#include "stage/CalcRunner.h"
#include "tests/app/HandMapping.h"
#include "tests/support/SampleDocument.h"
#include "tests/support/ScriptedUi.h"
#include "tests/support/qt/QtTestSupport.h"

namespace {

constexpr double kNoValue = -9e32;

class BrixoViewTest : public testing::Test {
 protected:
  BrixoViewTest() {
    FillSampleDocument(core_);
    view_.resize(800, 600);
    EXPECT_TRUE(ShowActive(view_));
    QCoreApplication::processEvents();
  }

  CViewInfo& Mapping() { return core_.GetActiveCase()->GetViewInfo(); }

  void SetHandMapping() { ::SetHandMapping(view_, Mapping()); }

  // The pan offsets, which the view mapping keeps as its negated scroll offsets.
  QPoint Pan() { return {-Mapping().scrollX, -Mapping().scrollY}; }
  void SetPan(QPoint pan) {
    Mapping().scrollX = -pan.x();
    Mapping().scrollY = -pan.y();
  }

  static long RedrawCount() {
    const auto& sent = TestUi().FrameMessages();
    return std::count(sent.begin(), sent.end(), FrameMessage{FrameMsg::WM_APP_REDRAW, 0, 0});
  }

  void Wheel(int delta) {
    const QPointF at(100, 100);
    QWheelEvent event(at, view_.mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(&view_, &event);
  }

  void Mouse(QEvent::Type type, Qt::MouseButton button, Qt::MouseButtons buttons, QPoint at,
             Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QMouseEvent event(type, at, view_.mapToGlobal(at), button, buttons, modifiers);
    QApplication::sendEvent(&view_, &event);
  }

  CManageCore core_;
  CBrixoView view_{core_};
};

TEST(RoundClickCoordinate, RoundsHalfUpAtTheThirdDecimalAndPassesZeroAndNoValue) {
  struct Case {
    double in;
    double out;
  };
  const Case cases[] = {
      {-0.0004, 0.0},     // within half a thousandth below 0: 0
      {-0.0006, -0.001},  // just beyond it
      {0.0, 0.0},         // 0 exactly is not rounded
      {kNoValue, kNoValue}, {12.3456, 12.346}, {-12.3454, -12.345}, {7.0, 7.0},
  };
  for (const Case& c : cases) EXPECT_DOUBLE_EQ(RoundClickCoordinate(c.in), c.out) << c.in;
  EXPECT_EQ(RoundClickCoordinate(0.0), 0.0);
  EXPECT_EQ(RoundClickCoordinate(kNoValue), kNoValue);
}

TEST_F(BrixoViewTest, AClickGivesTheWorldPointRoundedToAThousandth) {
  SetHandMapping();
  QSignalSpy clicked(&view_, &CBrixoView::PointClicked);
  struct Case {
    QPoint device;
    double x, y;
  };
  const Case cases[] = {
      {{123, 457}, -24.571, -7.429},  // -24.5714…, -7.4285…
      {{400, 300}, 15.0, 15.0},
      {{295, 405}, 0.0, 0.0},  // both exactly 0
      {{504, 196}, 29.857, 29.857},
  };
  for (const Case& c : cases) {
    QTest::mouseClick(&view_, Qt::LeftButton, Qt::NoModifier, c.device);
    ASSERT_EQ(clicked.size(), 1);
    const QList<QVariant> args = clicked.takeFirst();
    EXPECT_DOUBLE_EQ(args[0].toDouble(), c.x) << c.device.x();
    EXPECT_DOUBLE_EQ(args[1].toDouble(), c.y) << c.device.y();
  }
}

TEST_F(BrixoViewTest, AShiftClickSnapsToTheNearestShapePoint) {
  view_.grab();  // the real mapping of the sample
  const CDPoint vertex = *core_.GetActiveCase()->GetGround().GetAt(1);
  const DevPoint device = Mapping().LPtoDP(vertex);
  QSignalSpy clicked(&view_, &CBrixoView::PointClicked);

  QTest::mouseClick(&view_, Qt::LeftButton, Qt::ShiftModifier, QPoint(device.x + 2, device.y - 1));

  ASSERT_EQ(clicked.size(), 1);
  EXPECT_EQ(clicked[0][0].toDouble(), vertex.x);
  EXPECT_EQ(clicked[0][1].toDouble(), vertex.y);
}

TEST_F(BrixoViewTest, TheReadoutShowsTheCursorsWorldPoint) {
  SetHandMapping();
  QSignalSpy readout(&view_, &CBrixoView::CoordinateChanged);
  Mouse(QEvent::MouseMove, Qt::NoButton, Qt::NoButton, {123, 457});
  ASSERT_FALSE(readout.isEmpty());
  EXPECT_EQ(readout.last()[0].toString().toStdString(), "(X , Y) = ( -24.571 ,   -7.429)");

  Mapping().xmin = 9e32;  // no area: no world point
  Mouse(QEvent::MouseMove, Qt::NoButton, Qt::NoButton, {124, 457});
  EXPECT_EQ(readout.last()[0].toString().toStdString(), "(X , Y) = ( - , - )");
}

TEST_F(BrixoViewTest, WheelZoomStaysWithinItsRangeAndRepaintsOnlyWhenZoomed) {
  struct Case {
    const char* name;
    double zoom;
    bool zoomOn;
    int delta;
    double zoomAfter;
    bool zoomOnAfter;
    QPoint panAfter;  // from a pan of (10, -7)
    bool redraw;
  };
  const Case cases[] = {
      {"out from 1.0", 1.0, false, -120, 1.0, false, {10, -7}, false},
      {"in from 80 to exactly 100", 80.0, true, 120, 100.0, true, {12, -8}, true},
      {"in at 100", 100.0, true, 120, 100.0, true, {12, -8}, true},
      {"out to 1.0", 1.25, true, -120, 1.0, false, {10, -7}, true},
      {"in from 1.0", 1.0, false, 120, 1.25, true, {12, -8}, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Mapping().zoom = c.zoom;
    Mapping().zoomOn = c.zoomOn;
    SetPan({10, -7});
    const long before = RedrawCount();

    Wheel(c.delta);

    EXPECT_EQ(Mapping().zoom, c.zoomAfter);
    EXPECT_EQ(Mapping().zoomOn, c.zoomOnAfter);
    EXPECT_EQ(Pan(), c.panAfter);
    EXPECT_EQ(RedrawCount() - before, c.redraw ? 1 : 0);
  }
}

TEST_F(BrixoViewTest, ZoomInStepsByOnePointSixUpToAHundred) {
  struct Case {
    double zoom;
    double zoomAfter;
    QPoint panAfter;  // from a pan of (10, -7)
    bool redraw;
  };
  const Case cases[] = {
      {1.0, 1.6, {16, -11}, true},
      {64.0, 100.0, {16, -11}, true},  // not 102.4
      {100.0, 100.0, {10, -7}, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.zoom);
    Mapping().zoom = c.zoom;
    SetPan({10, -7});
    const long before = RedrawCount();

    view_.ZoomIn();

    EXPECT_DOUBLE_EQ(Mapping().zoom, c.zoomAfter);
    EXPECT_TRUE(Mapping().zoomOn);
    EXPECT_EQ(view_.CanZoomIn(), c.zoomAfter < 100.0);
    EXPECT_EQ(Pan(), c.panAfter);
    EXPECT_EQ(RedrawCount() - before, c.redraw ? 1 : 0);
  }
}

TEST_F(BrixoViewTest, ResetRepaintsOnlyWhenZoomedOrPanned) {
  struct Case {
    const char* name;
    bool zoomOn;
    QPoint pan;
    bool redraw;
  };
  const Case cases[] = {
      {"neither", false, {0, 0}, false},
      {"zoomed", true, {0, 0}, true},
      {"panned", false, {0, 5}, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Mapping().zoomOn = c.zoomOn;
    Mapping().zoom = c.zoomOn ? 2.56 : 1.0;
    SetPan(c.pan);
    const long before = RedrawCount();
    EXPECT_EQ(view_.CanZoomReset(), c.redraw);

    Mouse(QEvent::MouseButtonPress, Qt::RightButton, Qt::RightButton, {50, 50});
    Mouse(QEvent::MouseButtonRelease, Qt::RightButton, Qt::NoButton, {50, 50});

    EXPECT_EQ(Mapping().zoom, 1.0);
    EXPECT_FALSE(Mapping().zoomOn);
    EXPECT_EQ(Pan(), QPoint(0, 0));
    EXPECT_EQ(RedrawCount() - before, c.redraw ? 1 : 0);
    EXPECT_FALSE(view_.CanZoomReset());
  }
}

// Dragging with the middle button moves the picture with the cursor: the world point under the
// press ends up under the release.
TEST_F(BrixoViewTest, AMiddleButtonDragPansThePicture) {
  SetHandMapping();
  const CDPoint grabbed = Mapping().DPtoLP({100, 100});
  const long before = RedrawCount();

  Mouse(QEvent::MouseButtonPress, Qt::MiddleButton, Qt::MiddleButton, {100, 100});
  Mouse(QEvent::MouseMove, Qt::NoButton, Qt::MiddleButton, {110, 95});
  Mouse(QEvent::MouseMove, Qt::NoButton, Qt::MiddleButton, {130, 90});
  Mouse(QEvent::MouseButtonRelease, Qt::MiddleButton, Qt::NoButton, {130, 90});
  Mouse(QEvent::MouseMove, Qt::NoButton, Qt::NoButton, {200, 200});

  EXPECT_EQ(Pan(), QPoint(30, -10));
  EXPECT_EQ(RedrawCount() - before, 2);  // one for each move while the button is down
  const CDPoint under = Mapping().DPtoLP({130, 90});
  EXPECT_DOUBLE_EQ(under.x, grabbed.x);
  EXPECT_DOUBLE_EQ(under.y, grabbed.y);
}

TEST_F(BrixoViewTest, EveryCaseKeepsItsOwnZoomAndPan) {
  CCaseArray& cases = core_.GetCaseArray();
  view_.ZoomIn();
  view_.ZoomIn();
  SetPan({20, 30});
  cases.SetActiveID(0);
  EXPECT_EQ(Mapping().zoom, 1.0);
  EXPECT_EQ(Pan(), QPoint(0, 0));
  view_.ZoomIn();

  cases.SetActiveID(4);
  EXPECT_DOUBLE_EQ(Mapping().zoom, 2.56);
  EXPECT_EQ(Pan(), QPoint(20, 30));
  EXPECT_DOUBLE_EQ(cases.GetCase(0)->GetViewInfo().zoom, 1.6);
}

// A run reads the case on its worker threads: while it lasts a paint shows the last picture and
// leaves the section undrawn; the first paint after it draws the case again.
TEST_F(BrixoViewTest, NothingIsDrawnWhileARunIsActive) {
  SetHandMapping();
  view_.Invalidate();
  std::atomic<bool> painted{false};
  // The runner's GUI thread handles the timer while the run waits for the paint.
  QTimer::singleShot(0, [this, &painted] {
    view_.grab();
    EXPECT_EQ(Mapping().scale, 7.0);  // DrawCore would have fitted the section again
    painted = true;
    painted.notify_one();
  });
  RunWithProgress([&painted](ProgressFeedback&) { painted.wait(false); });
  EXPECT_TRUE(painted);
  view_.grab();
  EXPECT_NE(Mapping().scale, 7.0);
}

// A vertex dragged in shape editing pulls a rubber band drawn in not-xor into the back buffer:
// the band shows at the next paint, and drawing it again where it was restores the pixels.
TEST_F(BrixoViewTest, TheRubberBandOfShapeEditingInvertsAndRestoresThePicture) {
  const QImage before = view_.grab().toImage();
  CCase& active = *core_.GetActiveCase();
  active.SetCurDanmen(&active.GetDanmen());
  active.SetMouseEdit(true);
  active.SetCurDanmenMouseMove(kKindGround, 2, 0);

  Mouse(QEvent::MouseMove, Qt::NoButton, Qt::NoButton, {300, 250});
  const QImage atFirst = view_.grab().toImage();
  Mouse(QEvent::MouseMove, Qt::NoButton, Qt::NoButton, {500, 200});
  Mouse(QEvent::MouseMove, Qt::NoButton, Qt::NoButton, {300, 250});
  const QImage again = view_.grab().toImage();
  active.ResetMouseMove();
  active.SetDrawPtr();

  EXPECT_NE(atFirst, before);
  EXPECT_EQ(again, atFirst);  // the band at the second point was drawn twice: gone
}

long CountPixels(const QImage& image, const std::function<bool(QColor)>& counts) {
  long n = 0;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) n += counts(image.pixelColor(x, y)) ? 1 : 0;
  }
  return n;
}

// The colours that fill at least a hundredth of the picture.
int LargeAreaColours(const QImage& image) {
  std::map<QRgb, long> counts;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) ++counts[image.pixel(x, y)];
  }
  const long large = static_cast<long>(image.width()) * image.height() / 100;
  return static_cast<int>(std::count_if(counts.begin(), counts.end(),
                                        [large](const auto& c) { return c.second >= large; }));
}

bool IsBlue(QColor c) { return c.blue() > 150 && c.red() < 100 && c.green() < 100; }
bool IsRed(QColor c) { return c.red() > 180 && c.green() < 80 && c.blue() < 80; }

// The sample section in each design step, saved for a person to look at. Sampled pixels show
// what must be there: a white background, the ground with its strata filled, the water line in
// blue (step 1), the slide line under the blocks in red (steps 2 to 4).
TEST_F(BrixoViewTest, ScreenshotsOfTheSampleSection) {
  for (int step = 0; step < 4; ++step) {
    SCOPED_TRACE("step " + std::to_string(step + 1));
    view_.SetStepSource([step] { return step; });
    view_.Invalidate();
    const QImage shot = view_.grab().toImage().convertToFormat(QImage::Format_RGB32);
    SaveShot(view_, "CBrixoView_sample_step" + std::to_string(step + 1));
    ASSERT_EQ(shot.size(), QSize(800, 600));
    EXPECT_EQ(shot.pixel(1, 1), qRgb(255, 255, 255));
    if (step == 0) {
      EXPECT_GE(LargeAreaColours(shot), 4);  // the background and three strata
      EXPECT_GT(CountPixels(shot, IsBlue), 100);
    } else {
      EXPECT_GE(LargeAreaColours(shot), 3);  // the top stratum is cut into blocks
      EXPECT_GT(CountPixels(shot, IsRed), 200);
    }
  }
}

}  // namespace
