#include <gtest/gtest.h>

#include <QPushButton>
#include <QRadioButton>
#include <QWheelEvent>
#include <vector>

#include "stage/controls/SheetGrid.h"
#include "stage/dialogs/ResStabGraphMultiFsDlg.h"
#include "tests/stage/dialogs/DialogTestSupport.h"

namespace {

class FsFigureDlgTest : public SampleCaseTest {
 protected:
  static void Wheel(CResStabGraphMultiFsDlg& d, int delta) {
    QWidget* area = Ctl<QWidget>(d, 5390);
    const QPointF at(area->width() / 2.0, area->height() / 2.0);
    QWheelEvent event(at, area->mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(area, &event);
  }
  static CSheetGrid& Range(CResStabGraphMultiFsDlg& d) { return *Ctl<CSheetGrid>(d, 5437); }
  const CDrawResGraphSetMltFs& Settings() { return Case().GetResStab2().graphFs; }
};

// Each wheel step up multiplies the zoom by 1.25 up to 8, each step down by 0.8 down to 1; a
// step at a limit stays there and still redraws.
TEST_F(FsFigureDlgTest, TheWheelZoomsBetweenOneAndEight) {
  CResStabGraphMultiFsDlg dlg(Case());
  ASSERT_TRUE(ShowActive(dlg));
  EXPECT_EQ(dlg.windowTitle(), "安全率図");
  SaveShot(dlg, "CResStabGraphMultiFsDlg");
  const struct {
    int delta;
    double zoom;
  } steps[] = {
      {-120, 1.0},  // at 1 already
      {120, 1.25},
      {120, 1.5625},
      {120, 1.953125},
      {120, 2.44140625},
      {120, 3.0517578125},
      {120, 3.814697265625},
      {120, 4.76837158203125},
      {120, 5.9604644775390625},
      {120, 7.450580596923828},
      {120, 8.0},  // from above 7: 9.31 clamped
      {120, 8.0},
      {0, 8.0},
      {-120, 6.4},
      {-120, 5.12},
      {-120, 4.096},
      {-120, 3.2768},
      {-120, 2.62144},
      {-120, 2.097152},
      {-120, 1.6777216},
      {-120, 1.34217728},
      {-120, 1.073741824},
      {-120, 1.0},  // 0.86 clamped
      {-120, 1.0},
  };
  for (const auto& s : steps) {
    SCOPED_TRACE(testing::Message() << s.delta << " to " << s.zoom);
    const int renders = dlg.RenderCount();
    Wheel(dlg, s.delta);
    EXPECT_NEAR(dlg.Zoom(), s.zoom, 1e-9);
    EXPECT_EQ(dlg.RenderCount(), renders + 1);
  }
  Wheel(dlg, 120);
  Wheel(dlg, 120);
  SaveShot(dlg, "CResStabGraphMultiFsDlg_zoomed");
  QTest::mouseClick(Ctl<QPushButton>(dlg, 2), Qt::LeftButton);
}

// A drag in the figure moves the plot with the mouse; the zoom stays.
TEST_F(FsFigureDlgTest, DraggingPansTheFigure) {
  CResStabGraphMultiFsDlg dlg(Case());
  ASSERT_TRUE(ShowActive(dlg));
  QWidget* area = Ctl<QWidget>(dlg, 5390);
  const QImage before = dlg.Figure();
  QTest::mousePress(area, Qt::LeftButton, Qt::NoModifier, QPoint(100, 100));
  QTest::mouseMove(area, QPoint(140, 120));
  QTest::mouseRelease(area, Qt::LeftButton, Qt::NoModifier, QPoint(140, 120));
  EXPECT_NE(dlg.Figure(), before);
  EXPECT_EQ(dlg.Zoom(), 1.0);
  const QImage panned = dlg.Figure();
  QTest::mouseMove(area, QPoint(60, 60));  // no button: no drag
  EXPECT_EQ(dlg.Figure(), panned);
  QTest::mouseClick(Ctl<QPushButton>(dlg, 2), Qt::LeftButton);
}

TEST_F(FsFigureDlgTest, EachLoadCaseKeepsItsOwnRangeAndCancelKeepsTheCaseSettings) {
  const CDrawResGraphSetMltFs before = Settings();
  CResStabGraphMultiFsDlg dlg(Case());
  ASSERT_TRUE(ShowActive(dlg));
  QRadioButton* normal = Ctl<QRadioButton>(dlg, 5399);
  QRadioButton* quake = Ctl<QRadioButton>(dlg, 5397);
  EXPECT_TRUE(normal->isChecked());
  TypeIntoCell(Range(dlg), 1, 1, "0.5");
  QTest::mouseClick(quake, Qt::LeftButton);
  EXPECT_EQ(Range(dlg).Text(1, 1), QString::number(before.axes[1].minY, 'f', 2));
  TypeIntoCell(Range(dlg), 1, 1, "0.7");
  QTest::mouseClick(normal, Qt::LeftButton);
  EXPECT_EQ(Range(dlg).Text(1, 1), "0.50");
  QTest::mouseClick(quake, Qt::LeftButton);
  EXPECT_EQ(Range(dlg).Text(1, 1), "0.70");
  QTest::mouseClick(Ctl<QPushButton>(dlg, 2), Qt::LeftButton);
  EXPECT_TRUE(Settings().IsSame(before));
  EXPECT_EQ(Settings().axes, before.axes);
}

TEST_F(FsFigureDlgTest, OkCarriesTheRangesAndTheShownCaseIntoTheCase) {
  CResStabGraphMultiFsDlg dlg(Case());
  ASSERT_TRUE(ShowActive(dlg));
  TypeIntoCell(Range(dlg), 1, 1, "0.5");
  QTest::mouseClick(Ctl<QRadioButton>(dlg, 5397), Qt::LeftButton);
  TypeIntoCell(Range(dlg), 2, 1, "2.5");
  QTest::mouseClick(Ctl<QPushButton>(dlg, 1), Qt::LeftButton);
  EXPECT_EQ(Settings().axes[0].minY, 0.5);
  EXPECT_EQ(Settings().axes[1].maxY, 2.5);
  EXPECT_EQ(Settings().currentCase, 1);
}

// 自動設定 takes the range from the results of the chosen case.
TEST_F(FsFigureDlgTest, AutomaticRangeFollowsTheResults) {
  CResStab2 expected;
  expected.Copy(Case().GetResStab2());
  expected.SetGraphFsMaxMin(0);
  CResStabGraphMultiFsDlg dlg(Case());
  ASSERT_TRUE(ShowActive(dlg));
  TypeIntoCell(Range(dlg), 1, 1, "0.1");
  QTest::mouseClick(Ctl<QPushButton>(dlg, 5440), Qt::LeftButton);
  EXPECT_EQ(Range(dlg).Text(1, 1), QString::number(expected.graphFs.axes[0].minY, 'f', 2));
  EXPECT_EQ(Range(dlg).Text(2, 1), QString::number(expected.graphFs.axes[0].maxY, 'f', 2));
  QTest::mouseClick(Ctl<QPushButton>(dlg, 2), Qt::LeftButton);
}

// Only a load case that is on can be chosen; with one on, it is the one shown.
TEST_F(FsFigureDlgTest, OnlyALoadCaseThatIsOnCanBeChosen) {
  for (const int quakeOn : {0, 1}) {
    SCOPED_TRACE(quakeOn);
    Case().GetPrmStab().normalOn = 1 - quakeOn;
    Case().GetPrmStab().quakeOn = quakeOn;
    CResStabGraphMultiFsDlg dlg(Case());
    EXPECT_EQ(Ctl<QRadioButton>(dlg, 5399)->isEnabled(), quakeOn == 0);
    EXPECT_EQ(Ctl<QRadioButton>(dlg, 5397)->isEnabled(), quakeOn == 1);
    EXPECT_EQ(Ctl<QRadioButton>(dlg, 5397)->isChecked(), quakeOn == 1);
  }
}

}  // namespace
