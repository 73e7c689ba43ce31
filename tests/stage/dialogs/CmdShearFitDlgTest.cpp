#include <gtest/gtest.h>

#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <array>
#include <string>

#include "stage/controls/ExpEdit.h"
#include "stage/controls/SheetCell.h"
#include "stage/controls/SheetGrid.h"
#include "stage/dialogs/CmdShearFitDlg.h"
#include "stage/dialogs/RefShearFitDlg.h"
#include "tests/stage/dialogs/DialogTestSupport.h"

namespace {

constexpr int kB = 7346;
constexpr int kC = 7347;
constexpr int kCount = 7349;
constexpr int kCoefficients = 7344;
constexpr int kTests = 7345;
constexpr int kGrid = 6350;
constexpr int kCalculate = 5256;
constexpr int kReference = 7348;

struct Point {
  const char* strain;
  const char* measured;
};
// Four points of a site's test, and a fifth whose measured value is missing.
constexpr std::array<Point, 5> kPoints{{
    {"0.000001", "0.985"},
    {"0.000032", "0.817"},
    {"0.001", "0.235"},
    {"0.016", "0.034"},
    {"0.002", ""},
}};

void Press(QWidget& dialog, int id) {
  QTest::mouseClick(Ctl<QPushButton>(dialog, id), Qt::LeftButton);
}

void TypePoints(CSheetGrid& grid) {
  for (std::size_t i = 0; i < kPoints.size(); ++i) {
    const int row = static_cast<int>(i) + 1;
    TypeIntoCell(grid, 1, row, kPoints.at(i).strain);
    TypeIntoCell(grid, 2, row, kPoints.at(i).measured);
  }
}

class ShearFitDlgTest : public SampleCaseTest {
 protected:
  ShearFitDlgTest() { EXPECT_TRUE(Case().GetResShear().IsResult()); }
  CFit& Fit() { return Case().GetPrmShear().fit; }
  // The fit in mode 1, fitted to the points.
  void FitPoints() {
    Fit().mode = CFit::kModeTestValues;
    for (std::size_t i = 0; i < kPoints.size(); ++i) {
      CFitData& point = Fit().points.at(i);
      point.strain = std::stod(kPoints.at(i).strain);
      const std::string measured = kPoints.at(i).measured;
      point.measured = measured.empty() ? kNoValue : std::stod(measured);
    }
    Fit().CalcFit();
  }
};

TEST_F(ShearFitDlgTest, TestValuesAreFittedAndCountedWithoutThePointsThatLackAValue) {
  CCmdShearFitDlg dlg(Case());
  ASSERT_TRUE(ShowActive(dlg));
  EXPECT_EQ(dlg.windowTitle(), "土のせん断剛性率のひずみ依存性の設定");
  EXPECT_EQ(Ctl<CExpEdit>(dlg, kB)->text(), "11.00000");
  EXPECT_TRUE(Ctl<CExpEdit>(dlg, kCount)->text().isEmpty());
  EXPECT_FALSE(Ctl<QLabel>(dlg, 7365)->isEnabled());
  CSheetGrid& grid = *Ctl<CSheetGrid>(dlg, kGrid);
  EXPECT_TRUE(grid.Lock(1, 1));

  QTest::mouseClick(Ctl<QRadioButton>(dlg, kTests), Qt::LeftButton);
  EXPECT_EQ(Fit().mode, CFit::kModeTestValues);
  EXPECT_TRUE(Ctl<CExpEdit>(dlg, kB)->isReadOnly());
  EXPECT_FALSE(Ctl<QPushButton>(dlg, kReference)->isEnabled());
  EXPECT_FALSE(grid.Lock(1, 1));
  EXPECT_TRUE(grid.Lock(3, 1));
  TypePoints(grid);
  Press(dlg, kCalculate);
  EXPECT_EQ(Ctl<CExpEdit>(dlg, kCount)->text(), "4");
  EXPECT_EQ(Fit().GetCount(), 4);
  EXPECT_NE(Fit().b, 11.0);
  EXPECT_EQ(Ctl<CExpEdit>(dlg, kB)->text().toStdString(), DblToText(5, Fit().b));
  // The point without a measured value stays in the grid and gets no fitted value.
  EXPECT_EQ(SpreadGetDbl(grid, 1, 5), 0.002);
  EXPECT_TRUE(grid.Text(3, 5).isEmpty());
  EXPECT_FALSE(grid.Text(3, 1).isEmpty());
  SaveShot(dlg, "CCmdShearFitDlg");

  QTest::mouseClick(Ctl<QRadioButton>(dlg, kCoefficients), Qt::LeftButton);
  EXPECT_TRUE(Ctl<CExpEdit>(dlg, kCount)->text().isEmpty());
  EXPECT_FALSE(Ctl<CExpEdit>(dlg, kB)->isReadOnly());
}

// OK compares everything stored with the moment of opening; the shear and rope-net results go
// only when b or c, which the shear calculation reads, changed.
TEST_F(ShearFitDlgTest, OkMarksTheCaseAndClearsOnlyWhatTheChangeInvalidates) {
  struct Example {
    const char* name;
    bool testMode;
    int col;  // 0: box b
    QString text;
    bool modified;
    bool cleared;
  };
  const Example examples[] = {
      {"unchanged", false, 0, "11", false, false},
      {"point edited without a fit", true, 2, "0.5", true, false},
      {"b", false, 0, "20", true, true},
  };
  for (const Example& e : examples) {
    SCOPED_TRACE(e.name);
    FillSampleCase(Case(), 0);
    if (e.testMode) FitPoints();
    Case().SetModify(false);
    const double b = Fit().b;
    CCmdShearFitDlg dlg(Case());
    ASSERT_TRUE(ShowActive(dlg));
    if (e.col == 0) {
      TypeField(Ctl<CExpEdit>(dlg, kB), e.text);
    } else {
      TypeIntoCell(*Ctl<CSheetGrid>(dlg, kGrid), e.col, 2, e.text);
    }
    Press(dlg, 1);
    EXPECT_EQ(dlg.result(), QDialog::Accepted);
    EXPECT_EQ(Case().IsModified(), e.modified);
    EXPECT_EQ(Case().GetResShear().IsResult(), !e.cleared);
    EXPECT_EQ(Case().GetResFocus().IsResult(), !e.cleared);
    EXPECT_EQ(Fit().b, e.col == 0 ? e.text.toDouble() : b);
    if (e.testMode) {
      EXPECT_EQ(Fit().points.at(1).measured, e.text.toDouble());
    }
  }
}

TEST_F(ShearFitDlgTest, CancelRestoresTheFitOfTheMomentOfOpening) {
  FitPoints();
  const CFit opened = Fit();
  CCmdShearFitDlg dlg(Case());
  ASSERT_TRUE(ShowActive(dlg));
  TypeIntoCell(*Ctl<CSheetGrid>(dlg, kGrid), 2, 1, "0.9");
  Press(dlg, kCalculate);
  QTest::mouseClick(Ctl<QRadioButton>(dlg, kCoefficients), Qt::LeftButton);
  TypeField(Ctl<CExpEdit>(dlg, kB), "20");
  Press(dlg, kCalculate);
  ASSERT_EQ(Fit().b, 20.0);
  Press(dlg, 2);
  EXPECT_EQ(dlg.result(), QDialog::Rejected);
  EXPECT_EQ(Fit().mode, opened.mode);
  EXPECT_EQ(Fit().b, opened.b);
  EXPECT_EQ(Fit().c, opened.c);
  EXPECT_EQ(Fit().GetCount(), opened.GetCount());
  for (std::size_t i = 0; i < opened.points.size(); ++i) {
    EXPECT_TRUE(Fit().points.at(i).IsSame(opened.points.at(i))) << i;
  }
  EXPECT_FALSE(Case().IsModified());
}

TEST_F(ShearFitDlgTest, EnterMovesOnAndEscapeDoesNotClose) {
  CCmdShearFitDlg dlg(Case());
  ASSERT_TRUE(ShowActive(dlg));
  CExpEdit* b = Ctl<CExpEdit>(dlg, kB);
  b->setFocus();
  QTest::keyClick(b, Qt::Key_Return);
  EXPECT_FALSE(b->hasFocus());
  EXPECT_TRUE(dlg.isVisible());
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
  EXPECT_TRUE(dlg.isVisible());
  QPushButton* ok = Ctl<QPushButton>(dlg, 1);
  ok->setFocus();
  QTest::keyClick(ok, Qt::Key_Return);
  EXPECT_EQ(dlg.result(), QDialog::Accepted);
}

// Any cell of a site's column picks the site, the geology row too.
TEST_F(ShearFitDlgTest, ReferenceCoefficientsOfASiteReachTheBoxes) {
  CCmdShearFitDlg dlg(Case());
  ASSERT_TRUE(ShowActive(dlg));
  ExpectModal<CRefShearFitDlg>([](CRefShearFitDlg& picker) {
    ASSERT_TRUE(ShowActive(picker));
    EXPECT_EQ(picker.windowTitle(), "参考値：フィット曲線係数");
    ClickCell(*Ctl<CSheetGrid>(picker, 7359), 3, 3);
    SaveShot(picker, "CRefShearFitDlg");
    Press(picker, 1);
    EXPECT_EQ(picker.B(), 495.05298);
    EXPECT_EQ(picker.C(), 0.78907);
  });
  Press(dlg, kReference);
  EXPECT_EQ(Ctl<CExpEdit>(dlg, kB)->text(), "495.05298");
  EXPECT_EQ(Ctl<CExpEdit>(dlg, kC)->text(), "0.78907");
  EXPECT_EQ(Fit().b, 11.0);
  Press(dlg, 1);
  EXPECT_EQ(Fit().b, 495.05298);
  EXPECT_EQ(Fit().c, 0.78907);
  EXPECT_FALSE(Case().GetResShear().IsResult());
}

TEST_F(ShearFitDlgTest, ReferenceCancelLeavesTheBoxes) {
  CCmdShearFitDlg dlg(Case());
  ASSERT_TRUE(ShowActive(dlg));
  ExpectModal<CRefShearFitDlg>([](CRefShearFitDlg& picker) {
    Press(picker, 2);
    EXPECT_EQ(picker.B(), kNoValue);
  });
  Press(dlg, kReference);
  EXPECT_EQ(Ctl<CExpEdit>(dlg, kB)->text(), "11.00000");
}

}  // namespace
