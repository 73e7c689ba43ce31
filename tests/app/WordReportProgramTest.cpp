// The Word report of step 2 through the program's real main window: the stability dialog's
// Word出力, the report selection, the file choice and the completion question.

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <cstdlib>
#include <filesystem>

#include "app/frame/MainFrame.h"
#include "core/case/ManageCore.h"
#include "stage/StageManage.h"
#include "stage/dialogs/CmdStabMultiFsDlg.h"
#include "stage/output/PrnWordDlg.h"
#include "tests/app/TestProgram.h"
#include "tests/support/SampleDocument.h"
#include "tests/support/ScriptedUi.h"
#include "tests/support/qt/QtTestSupport.h"

namespace {

constexpr int kStabilityButton = 1033;

TEST(WordReportProgramTest, StabilityDialogWordOutputWritesTheChosenReport) {
  TestProgram p;
  FillSampleCase(*p.Core().GetActiveCase(), 0);
  p.Frame().SetPrintFolder(BRIXO_PRN_FILES);
  const std::filesystem::path file = std::filesystem::path(std::getenv("BRIXO_HOME")) / "r.docx";
  ExpectModal<CCmdStabMultiFsDlg>([&](CCmdStabMultiFsDlg& d) {
    ASSERT_TRUE(ShowActive(d));
    ExpectModal<CPrnWordMultiDlg>([&](CPrnWordMultiDlg& w) {
      ASSERT_TRUE(ShowActive(w));
      Ctl<QCheckBox>(w, 3088)->setChecked(true);
      Ctl<QCheckBox>(w, 3089)->setChecked(true);
      QTest::mouseClick(Ctl<QRadioButton>(w, 3129), Qt::LeftButton);
      Ctl<QCheckBox>(w, 3091)->setChecked(true);
      TestUi().ExpectFileDialog(file);
      TestUi().ExpectMessageBox(MsgResult::No, "Word 出力が完了しました。\nファイルを開きますか？");
      QTest::mouseClick(Ctl<QPushButton>(w, 3070), Qt::LeftButton);
    });
    QTest::mouseClick(Ctl<QPushButton>(d, 5436), Qt::LeftButton);
    QTest::mouseClick(Ctl<QPushButton>(d, 2), Qt::LeftButton);
  });
  p.ClickFlowButton(1, kStabilityButton);
  EXPECT_TRUE(std::filesystem::exists(file));
  EXPECT_TRUE(p.Stage().GetPrintWord().LastMissingKeys().empty());
  const CPrnInfo& prn = p.Core().GetPrnInfo();
  EXPECT_EQ(prn.GetPrnMultiNQ(0), 1);
  EXPECT_EQ(prn.GetPrnMultiNQ(1), 1);
  EXPECT_EQ(prn.GetPrnMode(1), 0);
  EXPECT_EQ(prn.GetPrnMultiListOutFs(), 1);
}

// Kinds other than 1 to 3 change nothing.
TEST(WordReportProgramTest, OtherKindsDoNothing) {
  TestProgram p;
  const int before = p.Core().GetPrnInfo().GetPrnStage();
  EXPECT_EQ(p.Send(FrameMsg::WM_APP_PRINT_WORD, 4), 0);
  EXPECT_EQ(p.Core().GetPrnInfo().GetPrnStage(), before);
}

}  // namespace
