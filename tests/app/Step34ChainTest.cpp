// Steps 3 and 4 in one go through the program's real main window, continuing the step-2 case of
// the shared test section (its runs registered for both load cases): specifications, bolts laid
// out over a range picked with two view clicks, slide conditions, the slide deformation, the fit
// of test data, the shear deformation and the rope-net check, each ended with OK; the document
// saved and opened again holds what was entered and computed.

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <cstdlib>
#include <filesystem>
#include <vector>

#include "app/document/DocumentFiles.h"
#include "app/frame/MainFrame.h"
#include "app/view/BrixoView.h"
#include "core/case/ManageCore.h"
#include "core/deformation/Reinforce.h"
#include "stage/StageManage.h"
#include "stage/controls/ExpEdit.h"
#include "stage/controls/SheetGrid.h"
#include "stage/dialogs/CmdDrainArrangeDlg.h"
#include "stage/dialogs/CmdShearFitDlg.h"
#include "stage/dialogs/CmdShearFocusDlg.h"
#include "stage/dialogs/CmdShearReslutDlg.h"
#include "stage/dialogs/CmdSlidElementDlg.h"
#include "stage/dialogs/CmdSlideInputDlg.h"
#include "stage/dialogs/CmdSlideResultDlg.h"
#include "stage/dialogs/RefShearTrnaDlg.h"
#include "stage/output/PrnWordDlg.h"
#include "tests/app/ShearFitInput.h"
#include "tests/app/TestProgram.h"
#include "tests/stage/dialogs/DialogTestSupport.h"
#include "tests/support/SampleDocument.h"
#include "tests/support/ScriptedUi.h"
#include "tests/support/qt/QtTestSupport.h"

namespace {

constexpr int kStep3 = 2;
constexpr int kStep4 = 3;
enum FlowButton {
  kSpecifications = 1027,
  kArrangement = 1026,
  kSlideConditions = 1028,
  kSlideCalculation = 1031,
  kFit = 1012,
  kShear = 1055,
  kRopeNet = 1014,
};

void Press(QWidget& dialog, int id) {
  QTest::mouseClick(Ctl<QPushButton>(dialog, id), Qt::LeftButton);
}

void Check(QAbstractButton* box) {
  QTest::mouseClick(box, Qt::LeftButton, Qt::NoModifier, QPoint(8, box->height() / 2));
}

class Step34ChainTest : public testing::Test {
 protected:
  Step34ChainTest() {
    FillSampleCase(Case(), 0);
    Case().SetModify(false);
  }

  CCase& Case() { return *p_.Core().GetActiveCase(); }

  void EnterSpecifications() {
    ExpectModal<CCmdSlidElementDlg>([](CCmdSlidElementDlg& d) {
      ASSERT_TRUE(ShowActive(d));
      TypeField(Ctl<CExpEdit>(d, 7214), "0.25");  // τp1
      Press(d, 1);
    });
    p_.ClickFlowButton(kStep3, kSpecifications);
  }

  // Three rows of bolts over the range from (18, 10) down to (12, 5).
  void LayOutBolts() {
    p_.ClickFlowButton(kStep3, kArrangement);
    const QList<CCmdDrainArrangeDlg*> dialogs = p_.Frame().findChildren<CCmdDrainArrangeDlg*>();
    ASSERT_EQ(dialogs.size(), 1);
    CCmdDrainArrangeDlg& d = *dialogs.front();
    ASSERT_TRUE(ShowActive(d));
    Check(Ctl<QCheckBox>(d, 6256));
    p_.ClickView({421, 335});
    p_.ClickView({379, 370});
    TypeField(Ctl<CExpEdit>(d, 6234), "3");    // rows
    TypeField(Ctl<CExpEdit>(d, 6239), "5");    // bar length
    TypeField(Ctl<CExpEdit>(d, 6240), "0.5");  // extra length
    TypeField(Ctl<CExpEdit>(d, 6232), "2");    // horizontal spacing
    TypeField(Ctl<CExpEdit>(d, 6233), "2");    // vertical spacing
    Check(Ctl<QRadioButton>(d, 6237));         // measured from the lower end
    TypeField(Ctl<CExpEdit>(d, 6229), "1");
    TestUi().ExpectMessageBox(
        MsgResult::Ok,
        "設定した配置条件から [ロックボルトの配置] を作成します。\nよろしいですか？");
    Press(d, 6242);
    Press(d, 1);
    FlushDeletes();
  }

  void EnterSlideConditions() {
    ExpectModal<CCmdSlideInputDlg>([](CCmdSlideInputDlg& d) {
      ASSERT_TRUE(ShowActive(d));
      TypeField(Ctl<CExpEdit>(d, 6241), "2.5");   // h
      TypeField(Ctl<CExpEdit>(d, 6242), "0.02");  // the seismic coefficients' pitch
      Press(d, 1);
    });
    p_.ClickFlowButton(kStep3, kSlideConditions);
  }

  void RunSlide() {
    ExpectModal<CCmdSlideResultDlg>([](CCmdSlideResultDlg& d) {
      ASSERT_TRUE(ShowActive(d));
      Press(d, 5256);
      EXPECT_GT(Ctl<CSheetGrid>(d, 6350)->MaxRows(), 1);
      for (int i = 0; i < CCmdSlideResultDlg::kGraphCount; ++i) EXPECT_FALSE(d.Graph(i).isNull());
      Press(d, 1);
    });
    p_.ClickFlowButton(kStep3, kSlideCalculation);
  }

  void FitTestData() {
    ExpectModal<CCmdShearFitDlg>([](CCmdShearFitDlg& d) {
      ASSERT_TRUE(ShowActive(d));
      TypeMeasuredFitPoints(d);
      Press(d, 5256);
      Press(d, 1);
    });
    p_.ClickFlowButton(kStep4, kFit);
  }

  void RunShear() {
    ExpectModal<CCmdShearReslutDlg>([](CCmdShearReslutDlg& d) {
      ASSERT_TRUE(ShowActive(d));
      TypeField(Ctl<CExpEdit>(d, 7352), "30000");  // G0
      Press(d, 5256);
      Press(d, 1);
    });
    p_.ClickFlowButton(kStep4, kShear);
  }

  void CheckRopeNet() {
    ExpectModal<CCmdShearFocusDlg>([](CCmdShearFocusDlg& d) {
      ASSERT_TRUE(ShowActive(d));
      ExpectModal<CRefShearTrnaDlg>([](CRefShearTrnaDlg& picker) {
        Ctl<CSheetGrid>(picker, 7360)->SetActiveCell(1, 2);
        Press(picker, 1);
      });
      Press(d, 7355);
      TypeField(Ctl<CExpEdit>(d, 7353), "1.5");  // the required Fs-RN
      Press(d, 1);
    });
    p_.ClickFlowButton(kStep4, kRopeNet);
  }

  // The result dialog's Word出力, the report or the summary chosen, the file named: the report
  // is written with every key its template holds.
  template <typename Dialog>
  void WriteReports(int step, int flowButton, int wordButton, const std::string& name) {
    p_.Frame().SetPrintFolder(BRIXO_PRN_FILES);
    for (const bool summary : {false, true}) {
      const std::filesystem::path file = std::filesystem::path(std::getenv("BRIXO_HOME")) /
                                         (name + (summary ? "-summary" : "") + ".docx");
      ExpectModal<Dialog>([&](Dialog& d) {
        ASSERT_TRUE(ShowActive(d));
        ExpectModal<CPrnWordSummaryDlg>([&](CPrnWordSummaryDlg& w) {
          ASSERT_TRUE(ShowActive(w));
          QTest::mouseClick(Ctl<QRadioButton>(w, summary ? 3123 : 3121), Qt::LeftButton);
          TestUi().ExpectFileDialog(file);
          TestUi().ExpectMessageBox(MsgResult::No,
                                    "Word 出力が完了しました。\nファイルを開きますか？");
          Press(w, 1);
        });
        Press(d, wordButton);
        Press(d, 1);
      });
      p_.ClickFlowButton(step, flowButton);
      EXPECT_TRUE(std::filesystem::exists(file)) << file;
      EXPECT_EQ(p_.Stage().GetPrintWord().LastMissingKeys(), std::vector<std::string>()) << file;
    }
  }

  TestProgram p_;
};

TEST_F(Step34ChainTest, EveryStepsEntriesAndResultsSurviveSaveAndReopen) {
  ASSERT_NE(Case().GetQuakeSelectPoint(), nullptr);
  EnterSpecifications();
  LayOutBolts();
  ASSERT_EQ(Case().GetReinfArrange().GetSize(), 3);
  EnterSlideConditions();
  RunSlide();
  ASSERT_TRUE(Case().GetResSlide().IsResult());
  FitTestData();
  ASSERT_EQ(Case().GetPrmShear().fit.GetCount(), 4);
  RunShear();
  ASSERT_TRUE(Case().GetResShear().IsResult());
  CheckRopeNet();
  ASSERT_NE(Case().GetResFocus().fsRN, kNoValue);
  EXPECT_TRUE(Case().IsModified());

  CCase entered;
  entered.Copy(&Case());
  std::vector<CReinforce> bars(3);
  for (int i = 0; i < 3; ++i) bars[i].Copy(*Case().GetReinfArrange().GetAt(i));
  const CResSlide& slide = Case().GetResSlide();
  const std::vector<tagSLIDERES> slideRows = slide.rows;
  const tagSLIDERES slideDesign = slide.designRow;
  const std::vector<CShearData> shearRows = Case().GetResShear().rows;
  const CResFocus ropeNet = Case().GetResFocus();

  const std::filesystem::path path =
      std::filesystem::path(std::getenv("BRIXO_HOME")) / "steps34.qxmd";
  TestUi().ExpectFileDialog(path);
  ASSERT_TRUE(p_.Frame().Documents().OnFileSaveAs());
  Case().Init();
  ASSERT_TRUE(p_.Frame().Documents().OpenDocumentPath(path));

  EXPECT_TRUE(Case().IsSame(&entered));
  EXPECT_EQ(Case().GetPrmReinf().tauP1, 0.25);
  EXPECT_TRUE(Case().GetPrmReinf().IsSame(entered.GetPrmReinf()));
  ASSERT_EQ(Case().GetReinfArrange().GetSize(), 3);
  for (int i = 0; i < 3; ++i) EXPECT_TRUE(Case().GetReinfArrange().GetAt(i)->IsSame(bars[i])) << i;
  EXPECT_EQ(Case().GetPrmSlide().h, 2.5);
  EXPECT_EQ(Case().GetPrmSlide().khPitch, 0.02);
  EXPECT_EQ(Case().GetResSlide().rows, slideRows);
  EXPECT_EQ(Case().GetResSlide().designRow, slideDesign);
  EXPECT_EQ(Case().GetPrmShear().g0, 30000.0);
  EXPECT_EQ(Case().GetPrmShear().fit.GetCount(), 4);
  EXPECT_TRUE(Case().GetPrmShear().IsSame(entered.GetPrmShear()));
  EXPECT_EQ(Case().GetResShear().rows, shearRows);
  EXPECT_EQ(Case().GetResFocus(), ropeNet);
  EXPECT_FALSE(p_.Core().IsModify());
}

// The three reports of steps 3 and 4 and their summaries, each from its result dialog.
TEST_F(Step34ChainTest, ResultDialogsWriteTheirWordReports) {
  EnterSpecifications();
  LayOutBolts();
  EnterSlideConditions();
  RunSlide();
  FitTestData();
  RunShear();
  CheckRopeNet();
  WriteReports<CCmdSlideResultDlg>(kStep3, kSlideCalculation, 6357, "slide");
  WriteReports<CCmdShearReslutDlg>(kStep4, kShear, 7349, "shear");
  WriteReports<CCmdShearFocusDlg>(kStep4, kRopeNet, 7354, "focus");
}

}  // namespace
