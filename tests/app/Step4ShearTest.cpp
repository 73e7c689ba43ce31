// The shear deformation of step 4 through the program's real main window: the test points
// fitted in the fit dialog, the shear deformation run in its result dialog, both closed with OK,
// and the document saved and opened again; and the refusal without a seismic row.

#include <gtest/gtest.h>

#include <QPushButton>
#include <QTest>
#include <cstdlib>
#include <filesystem>
#include <vector>

#include "app/document/DocumentFiles.h"
#include "app/frame/MainFrame.h"
#include "core/case/ManageCore.h"
#include "core/stability/MltPoint.h"
#include "stage/controls/ExpEdit.h"
#include "stage/controls/SheetGrid.h"
#include "stage/dialogs/CmdShearFitDlg.h"
#include "stage/dialogs/CmdShearReslutDlg.h"
#include "tests/app/ShearFitInput.h"
#include "tests/app/TestProgram.h"
#include "tests/stage/dialogs/DialogTestSupport.h"
#include "tests/support/SampleDocument.h"
#include "tests/support/ScriptedUi.h"
#include "tests/support/qt/QtTestSupport.h"

namespace {

constexpr int kStep4 = 3;
constexpr int kFitButton = 1012;
constexpr int kShearButton = 1055;

void Press(QWidget& dialog, int id) {
  QTest::mouseClick(Ctl<QPushButton>(dialog, id), Qt::LeftButton);
}

class Step4ShearTest : public testing::Test {
 protected:
  Step4ShearTest() {
    FillSampleCase(Case(), 0);
    Case().SetModify(false);
  }
  CCase& Case() { return *p_.Core().GetActiveCase(); }

  TestProgram p_;
};

TEST_F(Step4ShearTest, FitRunAndOkAreKeptInTheSavedDocument) {
  ExpectModal<CCmdShearFitDlg>([](CCmdShearFitDlg& d) {
    ASSERT_TRUE(ShowActive(d));
    TypeMeasuredFitPoints(d);
    Press(d, 5256);
    EXPECT_EQ(Ctl<CExpEdit>(d, 7349)->text(), "4");
    SaveShot(d, "Step4_CCmdShearFitDlg");
    Press(d, 1);
  });
  p_.ClickFlowButton(kStep4, kFitButton);
  const CFit& fit = Case().GetPrmShear().fit;
  EXPECT_EQ(fit.mode, CFit::kModeTestValues);
  EXPECT_EQ(fit.GetCount(), 4);
  EXPECT_TRUE(Case().IsModified());
  const double b = fit.b;
  const double c = fit.c;
  // The new coefficients leave the old shear results behind.
  EXPECT_FALSE(Case().GetResShear().IsResult());

  ExpectModal<CCmdShearReslutDlg>([](CCmdShearReslutDlg& d) {
    ASSERT_TRUE(ShowActive(d));
    TypeField(Ctl<CExpEdit>(d, 7352), "30000");
    Press(d, 5256);
    EXPECT_GT(Ctl<CSheetGrid>(d, 6351)->MaxCols(), 0);
    EXPECT_FALSE(Ctl<CSheetGrid>(d, 6350)->Text(4, 2).isEmpty());
    SaveShot(d, "Step4_CCmdShearReslutDlg");
    Press(d, 1);
  });
  p_.ClickFlowButton(kStep4, kShearButton);
  const CResShear& result = Case().GetResShear();
  ASSERT_TRUE(result.IsResult());
  const std::vector<CShearData> rows = result.rows;
  const CDrawResGraphSet graph = result.graph;

  const std::filesystem::path path =
      std::filesystem::path(std::getenv("BRIXO_HOME")) / "step4.qxmd";
  TestUi().ExpectFileDialog(path);
  ASSERT_TRUE(p_.Frame().Documents().OnFileSaveAs());
  ASSERT_TRUE(p_.Frame().Documents().OpenDocumentPath(path));
  const CPrmShear& reopened = Case().GetPrmShear();
  EXPECT_EQ(reopened.g0, 30000.0);
  EXPECT_EQ(reopened.fit.mode, CFit::kModeTestValues);
  EXPECT_EQ(reopened.fit.b, b);
  EXPECT_EQ(reopened.fit.c, c);
  EXPECT_EQ(reopened.fit.GetCount(), 4);
  EXPECT_EQ(reopened.fit.points.at(2).measured, 0.235);
  EXPECT_EQ(Case().GetResShear().rows, rows);
  EXPECT_TRUE(Case().GetResShear().graph.IsSame(graph));
}

TEST_F(Step4ShearTest, WithoutASeismicRowTheShearDialogDoesNotOpen) {
  for (CMltPoint* p : Case().GetResStab2().GetSerial()) p->typicalQ = 0;
  TestUi().ExpectMessageBox(MsgResult::Ok,
                            "多平面安定解析にて、地震時の結果が登録されていません。");
  p_.ClickFlowButton(kStep4, kShearButton);
  EXPECT_FALSE(Case().IsModified());
}

}  // namespace
