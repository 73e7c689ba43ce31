// The countermeasure specifications through the program's real main window: the step-3 and the
// step-4 button open the dialog on the active case, what OK takes over survives a save and a
// reopen, the bar picker leaves the program's bar table alone, and the Settings menu edits that
// table.

#include <gtest/gtest.h>

#include <QAction>
#include <QPushButton>
#include <QTest>
#include <cstdlib>
#include <filesystem>
#include <vector>

#include "app/frame/MainFrame.h"
#include "core/case/ManageCore.h"
#include "core/model/RefData.h"
#include "stage/controls/ExpEdit.h"
#include "stage/controls/SheetGrid.h"
#include "stage/dialogs/CmdSlidElementDlg.h"
#include "stage/dialogs/RefInfomationDlg.h"
#include "stage/dialogs/RefReinfStdBarDlg.h"
#include "stage/dialogs/RefReinfTaucQXDlg.h"
#include "tests/app/FrameMessagesSent.h"
#include "tests/app/TestProgram.h"
#include "tests/stage/dialogs/DialogTestSupport.h"
#include "tests/support/SampleDocument.h"
#include "tests/support/ScriptedUi.h"
#include "tests/support/qt/QtTestSupport.h"

namespace {

namespace fs = std::filesystem;

constexpr int kStep3 = 2;
constexpr int kStep4 = 3;
constexpr int kStep3SpecButton = 1027;
constexpr int kStep4SpecButton = 1013;

void Press(QWidget& d, int id) { QTest::mouseClick(Ctl<QPushButton>(d, id), Qt::LeftButton); }

class Step3SpecTest : public testing::Test {
 protected:
  Step3SpecTest() {
    // The shared test section with its step-2 results and a registered seismic row.
    FillSampleCase(Case(), 0);
    Case().SetModify(false);
    p_.Core().SetModify(false);
  }

  CCase& Case() { return *p_.Core().GetActiveCase(); }

  fs::path Document() const {
    const fs::path folder = fs::path(std::getenv("BRIXO_HOME")) / "documents";
    fs::create_directories(folder);
    return folder / "spec.qxmd";
  }

  TestProgram p_;
};

TEST_F(Step3SpecTest, SpecificationsEnteredInStepThreeSurviveSaveAndReopen) {
  CRefReinf table;
  table.Copy(p_.Core().GetRefData().reinf);
  ExpectModal<CCmdSlidElementDlg>([](CCmdSlidElementDlg& d) {
    ASSERT_TRUE(ShowActive(d));
    TypeField(Ctl<CExpEdit>(d, 7214), "0.25");
    ExpectModal<CRefReinfTaucQXDlg>([](CRefReinfTaucQXDlg& p) {
      ClickCell(*Ctl<CSheetGrid>(p, 7341), 1, 2);
      Press(p, 1);
    });
    Press(d, 7220);
    // A value typed in the picker goes with the picked bar, not into the program's table.
    ExpectModal<CRefReinfStdBarDlg>([](CRefReinfStdBarDlg& p) {
      TypeIntoCell(*Ctl<CSheetGrid>(p, 7299), 8, 1, "290");
      Press(p, 1);
    });
    Press(d, 7203);
    SaveShot(d, "MainFrame-CCmdSlidElementDlg");
    Press(d, 1);
  });
  const std::vector<FrameMessage> sent =
      SentBy([&] { p_.ClickFlowButton(kStep3, kStep3SpecButton); });
  ASSERT_FALSE(sent.empty());
  EXPECT_EQ(sent.back(), (FrameMessage{FrameMsg::WM_APP_REDRAW, 0, 0}));
  EXPECT_TRUE(p_.Core().IsModify());
  EXPECT_TRUE(p_.Core().GetRefData().reinf.IsSame(table));
  EXPECT_FALSE(Case().GetResShear().IsResult());  // computed with the former specifications
  CPrmReinf entered;
  entered.Copy(Case().GetPrmReinf());
  EXPECT_EQ(entered.tauP1, 0.25);
  EXPECT_EQ(entered.tauCQ, 1.7);
  EXPECT_EQ(entered.stdBar.d, 21.2);
  EXPECT_EQ(entered.stdBar.sigmaSaQ, 290.0);

  TestUi().ExpectFileDialog(Document());
  p_.Command(CMainFrame::kFileSaveAs)->trigger();
  EXPECT_FALSE(p_.Core().IsModify());
  Case().Init();
  TestUi().ExpectFileDialog(Document());
  p_.Command(CMainFrame::kFileOpen)->trigger();
  EXPECT_TRUE(Case().GetPrmReinf().IsSame(entered));
  EXPECT_FALSE(p_.Core().IsModify());
}

// A range whose second point lies above its first, from a CSV file: the case takes the upper
// end first, as a load puts it, so the imported case equals itself saved and reopened.
TEST_F(Step3SpecTest, AnImportedRangeEqualsItselfSavedAndReopened) {
  ExpectModal<CCmdSlidElementDlg>([](CCmdSlidElementDlg& d) {
    ASSERT_TRUE(ShowActive(d));
    TestUi().ExpectFileDialog(fs::path(BRIXO_TEST_DATA) / "csv-range-order.csv");
    ExpectModal<CRefInfomationDlg>([](CRefInfomationDlg& n) { Press(n, 2); });
    Press(d, 7219);
    Press(d, 1);
  });
  p_.ClickFlowButton(kStep3, kStep3SpecButton);
  CPrmReinf imported;
  imported.Copy(Case().GetPrmReinf());
  EXPECT_EQ(Case().GetPrmReinf().ranges[0].start, CDPoint(1, 1));
  EXPECT_EQ(Case().GetPrmReinf().ranges[0].end, CDPoint(0, 0));

  TestUi().ExpectFileDialog(Document());
  p_.Command(CMainFrame::kFileSaveAs)->trigger();
  Case().Init();
  TestUi().ExpectFileDialog(Document());
  p_.Command(CMainFrame::kFileOpen)->trigger();
  EXPECT_TRUE(Case().GetPrmReinf().IsSame(imported));
  EXPECT_FALSE(p_.Core().IsModify());
}

TEST_F(Step3SpecTest, TheStepFourButtonOpensTheSameDialogAndCancelChangesNothing) {
  CPrmReinf opened;
  opened.Copy(Case().GetPrmReinf());
  ExpectModal<CCmdSlidElementDlg>([](CCmdSlidElementDlg& d) {
    TypeField(Ctl<CExpEdit>(d, 7216), "0.9");
    Press(d, 2);
  });
  const std::vector<FrameMessage> sent =
      SentBy([&] { p_.ClickFlowButton(kStep4, kStep4SpecButton); });
  ASSERT_FALSE(sent.empty());
  EXPECT_EQ(sent.back(), (FrameMessage{FrameMsg::WM_CMD_SHEAR_ELEMENT, 0, 0}));  // no redraw
  EXPECT_TRUE(Case().GetPrmReinf().IsSame(opened));
  EXPECT_FALSE(p_.Core().IsModify());
  EXPECT_TRUE(Case().GetResShear().IsResult());
}

// The Settings menu's 補強材の設定 edits the program's own table.
TEST_F(Step3SpecTest, TheSettingsMenuEditsTheProgramsBarTable) {
  const fs::path file = fs::path(std::getenv("BRIXO_HOME")) / "menu.sxr";
  ASSERT_TRUE(p_.Command(CMainFrame::kReinf)->isEnabled());
  ExpectModal<CRefReinfStdBarDlg>([&file](CRefReinfStdBarDlg& d) {
    EXPECT_EQ(Ctl<QPushButton>(d, 2)->text(), "閉じる");
    TypeIntoCell(*Ctl<CSheetGrid>(d, 7299), 4, 1, "22");
    TestUi().ExpectFileDialog(file);
    Press(d, 7298);
    Press(d, 2);
  });
  p_.Command(CMainFrame::kReinf)->trigger();
  EXPECT_EQ(p_.Core().GetRefData().reinf.rows.front().d, 22.0);
  CRefReinf saved;
  ASSERT_TRUE(saved.ReadReinf(file.string(), false));
  EXPECT_TRUE(saved.IsSame(p_.Core().GetRefData().reinf));
}

}  // namespace
