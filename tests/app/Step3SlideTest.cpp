// The slide deformation of step 3 through the program's real main window, on the sample case
// (its seismic row registered): the conditions entered from the flow pane's 計算条件, the run in
// 計算・出力 with its grids and graphs, OK, and the document saved and opened again; and the
// refusal of 計算・出力 while no seismic row is registered.

#include <gtest/gtest.h>

#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <cstdlib>
#include <filesystem>

#include "app/document/DocumentFiles.h"
#include "app/frame/MainFrame.h"
#include "core/case/Case.h"
#include "core/case/ManageCore.h"
#include "stage/controls/ExpEdit.h"
#include "stage/controls/SheetCell.h"
#include "stage/controls/SheetGrid.h"
#include "stage/dialogs/CmdSlideInputDlg.h"
#include "stage/dialogs/CmdSlideResultDlg.h"
#include "tests/app/TestProgram.h"
#include "tests/stage/dialogs/DialogTestSupport.h"
#include "tests/support/SampleDocument.h"
#include "tests/support/ScriptedUi.h"
#include "tests/support/qt/QtTestSupport.h"

namespace {

constexpr int kStep3 = 2;
constexpr int kConditionsButton = 1028;
constexpr int kCalculationButton = 1031;

class Step3Test : public testing::Test {
 protected:
  CCase& Case() { return *p_.Core().GetActiveCase(); }

  void FillCase() {
    FillSampleCase(Case(), 0);
    Case().SetModify(false);
  }

  TestProgram p_;
};

TEST_F(Step3Test, ConditionsRunAndOkAreKeptInTheSavedDocument) {
  FillCase();
  ASSERT_NE(Case().GetQuakeSelectPoint(), nullptr);
  ExpectModal<CCmdSlideInputDlg>([](CCmdSlideInputDlg& d) {
    ASSERT_TRUE(ShowActive(d));
    QRadioButton* derived = Ctl<QRadioButton>(d, 6344);  // Δc from the bolts
    QTest::mouseClick(derived, Qt::LeftButton, Qt::NoModifier, QPoint(8, derived->height() / 2));
    TypeField(Ctl<CExpEdit>(d, 6341), "30");
    TypeField(Ctl<CExpEdit>(d, 6340), "6");
    TypeField(Ctl<CExpEdit>(d, 6239), "4");
    TypeField(Ctl<CExpEdit>(d, 6241), "2.5");
    TypeField(Ctl<CExpEdit>(d, 6242), "0.02");
    EXPECT_EQ(Ctl<CExpEdit>(d, 6240)->GetText(), "9.000");
    SaveShot(d, "Step3_CCmdSlideInputDlg");
    QTest::mouseClick(Ctl<QPushButton>(d, 1), Qt::LeftButton);
  });
  p_.ClickFlowButton(kStep3, kConditionsButton);
  EXPECT_TRUE(Case().IsModified());
  EXPECT_FALSE(Case().GetResSlide().IsResult());  // the conditions the result was made of changed

  int rowCount = 0;
  ExpectModal<CCmdSlideResultDlg>([&rowCount](CCmdSlideResultDlg& d) {
    ASSERT_TRUE(ShowActive(d));
    QTest::mouseClick(Ctl<QPushButton>(d, 5256), Qt::LeftButton);  // 計算開始
    CSheetGrid& rows = *Ctl<CSheetGrid>(d, 6350);
    rowCount = rows.MaxRows();
    ASSERT_GT(rowCount, 1);
    EXPECT_EQ(SpreadGetDbl(rows, 1, 2), 0.02);  // the pitch entered
    CSheetGrid& summary = *Ctl<CSheetGrid>(d, 6349);
    EXPECT_NE(summary.Text(1, 4), "");
    EXPECT_TRUE(summary.Text(4, 4) == "OK" || summary.Text(4, 4) == "OUT");
    for (int i = 0; i < CCmdSlideResultDlg::kGraphCount; ++i) {
      EXPECT_FALSE(d.Graph(i).isNull()) << i;
    }
    SaveShot(d, "Step3_CCmdSlideResultDlg");
    QTest::mouseClick(Ctl<QPushButton>(d, 1), Qt::LeftButton);
  });
  p_.ClickFlowButton(kStep3, kCalculationButton);
  const CResSlide& computed = Case().GetResSlide();
  ASSERT_TRUE(computed.IsResult());
  const tagSLIDERES design = computed.designRow;
  const std::array<double, 3> maxima{computed.graphs[0].maxY, computed.graphs[1].maxY,
                                     computed.graphs[2].maxY};

  const std::filesystem::path path =
      std::filesystem::path(std::getenv("BRIXO_HOME")) / "step3.qxmd";
  TestUi().ExpectFileDialog(path);
  ASSERT_TRUE(p_.Frame().Documents().OnFileSaveAs());
  ASSERT_TRUE(p_.Frame().Documents().OpenDocumentPath(path));
  const CPrmSlide& prm = Case().GetPrmSlide();
  EXPECT_EQ(prm.deltaCMode, CPrmSlide::kDeltaCDerived);
  EXPECT_EQ(prm.s2, 30);
  EXPECT_EQ(prm.s3, 6);
  EXPECT_EQ(prm.l, 4);
  EXPECT_EQ(prm.h, 2.5);
  EXPECT_EQ(prm.khPitch, 0.02);
  const CResSlide& reopened = Case().GetResSlide();
  EXPECT_EQ(static_cast<int>(reopened.rows.size()), rowCount);
  EXPECT_EQ(reopened.designRow, design);
  for (std::size_t i = 0; i < maxima.size(); ++i) EXPECT_EQ(reopened.graphs[i].maxY, maxima[i]);
}

// Without a run registered for the seismic case 計算・出力 shows why and opens nothing.
TEST_F(Step3Test, CalculationWithoutSeismicRowIsRefused) {
  FillCase();
  for (CMltPoint* point : Case().GetResStab2().GetSerial()) point->typicalQ = 0;
  TestUi().ExpectMessageBox(MsgResult::Ok,
                            "多平面安定解析にて、地震時の結果が登録されていません。");
  p_.ClickFlowButton(kStep3, kCalculationButton);
  EXPECT_FALSE(Case().IsModified());
}

}  // namespace
