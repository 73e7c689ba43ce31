// The back analysis (c 逆算) through the program's real main window: the flow pane's step-2
// button opens the dialog on the active case, a run and a registration reach the case, and a
// saved and reopened document keeps them.

#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QPushButton>
#include <QTest>
#include <array>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <vector>

#include "app/frame/MainFrame.h"
#include "app/panes/PaneFlow.h"
#include "core/case/ManageCore.h"
#include "stage/controls/SheetGrid.h"
#include "stage/dialogs/CmdStabMultiFsGyakuDlg.h"
#include "tests/app/FrameMessagesSent.h"
#include "tests/app/TestProgram.h"
#include "tests/stage/dialogs/DialogTestSupport.h"
#include "tests/support/SampleDocument.h"
#include "tests/support/ScriptedUi.h"
#include "tests/support/qt/QtTestSupport.h"

namespace {

namespace fs = std::filesystem;

constexpr int kGyakuButton = 1030;
constexpr const char* kStrengthChanged =
    "逆算後の採用値が変更されました。\n安定計算以降の計算結果が消去されます。\nよろしいですか？";

class Step2GyakuTest : public testing::Test {
 protected:
  Step2GyakuTest() {
    // The shared test section, its strata recognised and divided into blocks by the block list.
    FillSampleCase(Case(), 0);
    Case().SetModify(false);
    p_.Core().SetModify(false);
  }

  CCase& Case() { return *p_.Core().GetActiveCase(); }
  // The first grid row whose pair asks for a positive cohesion, the kind that can be adopted.
  int FirstAdoptableRow() {
    const std::vector<CMltPoint*>& serial = Case().GetResStabGyaku().GetSerial();
    for (std::size_t i = 0; i < serial.size(); ++i) {
      if (dynamic_cast<const CMltPointGyaku&>(*serial[i]).c > 0) return static_cast<int>(i) + 1;
    }
    ADD_FAILURE() << "no pair asks for a positive cohesion";
    return 1;
  }

  void ClickGyaku() { p_.ClickFlowButton(1, kGyakuButton); }

  fs::path Document() const {
    const fs::path folder = fs::path(std::getenv("BRIXO_HOME")) / "documents";
    fs::create_directories(folder);
    return folder / "gyaku.qxmd";
  }

  TestProgram p_;
};

TEST_F(Step2GyakuTest, RunRegisterAndOkReachTheCaseAndSurviveSaveAndReopen) {
  int row = 0;
  ExpectModal<CCmdStabMultiFsGyakuDlg>([this, &row](CCmdStabMultiFsGyakuDlg& d) {
    ASSERT_TRUE(ShowActive(d));
    QCheckBox* on = Ctl<QCheckBox>(d, 5433);
    QTest::mouseClick(on, Qt::LeftButton, Qt::NoModifier, QPoint(8, on->height() / 2));
    QTest::mouseClick(Ctl<QPushButton>(d, 5256), Qt::LeftButton);  // 計算開始
    CSheetGrid& grid = *Ctl<CSheetGrid>(d, 5247);
    ASSERT_GE(grid.MaxRows(), 2);
    row = FirstAdoptableRow();
    ClickCell(grid, 1, row);
    SaveShot(d, "MainFrame-CCmdStabMultiFsGyakuDlg");
    TestUi().ExpectMessageBox(MsgResult::Ok, kStrengthChanged);
    QTest::mouseClick(Ctl<QPushButton>(d, 1), Qt::LeftButton);  // 登録
  });
  const std::vector<FrameMessage> sent = SentBy([&] { ClickGyaku(); });
  EXPECT_FALSE(sent.empty());
  EXPECT_EQ(sent.back(), (FrameMessage{FrameMsg::WM_APP_REDRAW, 0, 0}));
  EXPECT_TRUE(p_.Core().IsModify());

  CResStab2& res = Case().GetResStabGyaku();
  const CMltPoint* registered = res.GetSelectRepPt(0);
  ASSERT_NE(registered, nullptr);
  EXPECT_EQ(registered, res.GetSerial()[static_cast<std::size_t>(row - 1)]);
  const std::array<double, 4> adopted = res.adopted;
  EXPECT_NE(adopted[0], kNoValue);
  EXPECT_EQ(Case().GetPrmStab().gyakuOn, 1);
  EXPECT_EQ(Case().GetResStab2().GetResult(), nullptr);  // computed with the former strength
  const int start = registered->startBlock;
  const int end = registered->endBlock;

  TestUi().ExpectFileDialog(Document());
  p_.Command(CMainFrame::kFileSaveAs)->trigger();
  EXPECT_FALSE(p_.Core().IsModify());
  Case().Init();
  TestUi().ExpectFileDialog(Document());
  p_.Command(CMainFrame::kFileOpen)->trigger();

  CResStab2& reopened = Case().GetResStabGyaku();
  const CMltPoint* kept = reopened.GetSelectRepPt(0);
  ASSERT_NE(kept, nullptr);
  EXPECT_EQ(kept->startBlock, start);
  EXPECT_EQ(kept->endBlock, end);
  EXPECT_EQ(reopened.adopted, adopted);
  EXPECT_EQ(Case().GetPrmStab().gyakuOn, 1);
  EXPECT_FALSE(p_.Core().IsModify());
}

// キャンセル stores as 登録 does: a registration made before it is kept and marks the case.
TEST_F(Step2GyakuTest, CancelKeepsTheRegistrationAndMarksTheCase) {
  Case().GetPrmStab().gyakuOn = 1;
  ASSERT_TRUE(Case().PreCalcStabGyaku(false));
  Case().CalcStartStabGyaku();
  Case().ClearResult(false, true, true, true);  // nothing computed with another strength
  Case().SetModify(false);
  const int row = FirstAdoptableRow();
  ExpectModal<CCmdStabMultiFsGyakuDlg>([row](CCmdStabMultiFsGyakuDlg& d) {
    ASSERT_TRUE(ShowActive(d));
    ClickCell(*Ctl<CSheetGrid>(d, 5247), 1, row);
    QTest::mouseClick(Ctl<QPushButton>(d, 2), Qt::LeftButton);  // キャンセル: no question
  });
  ClickGyaku();
  EXPECT_TRUE(p_.Core().IsModify());
  EXPECT_EQ(Case().GetResStabGyaku().GetSelectRepPt(0),
            Case().GetResStabGyaku().GetSerial()[static_cast<std::size_t>(row - 1)]);
}

}  // namespace
