// The block division through the program's real main window: the flow pane's step-2 button opens
// the dialog on the active case, and OK or キャンセル end it through the frame's close member.

#include <gtest/gtest.h>

#include <QComboBox>
#include <QDockWidget>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QToolBar>
#include <vector>

#include "app/frame/MainFrame.h"
#include "app/panes/PaneFlow.h"
#include "app/view/BrixoView.h"
#include "core/case/ManageCore.h"
#include "stage/controls/ExpEdit.h"
#include "stage/controls/SheetGrid.h"
#include "stage/dialogs/CmdStabBlockAddDlg.h"
#include "stage/dialogs/CmdStabBlockDlg.h"
#include "tests/app/FrameMessagesSent.h"
#include "tests/app/TestProgram.h"
#include "tests/stage/dialogs/DialogTestSupport.h"
#include "tests/support/SampleDocument.h"
#include "tests/support/ScriptedUi.h"
#include "tests/support/qt/QtTestSupport.h"

namespace {

constexpr int kBlockButton = 1026;
constexpr const char* kClearQuestion =
    "ブロック分割の更新により、すべての計算結果をクリアします。\nよろしいですか？";
const FrameMessage kRedraw{FrameMsg::WM_APP_REDRAW, 0, 0};

std::vector<double> Positions(const CBlockList& list) {
  std::vector<double> xs;
  for (int i = 0; i < list.GetXSize(); ++i) xs.push_back(list.GetX(i));
  return xs;
}

class Step2BlockTest : public testing::Test {
 protected:
  Step2BlockTest() {
    FillSampleCase(Case(), 0);
    Case().SetModify(false);
  }

  CCase& Case() { return *p_.Core().GetActiveCase(); }

  QList<CCmdStabBlockDlg*> Dialogs() const { return p_.Frame().findChildren<CCmdStabBlockDlg*>(); }

  // The step-2 page's ブロック分割 button.
  QPointer<CCmdStabBlockDlg> OpenFromFlowPane() {
    p_.ClickFlowButton(1, kBlockButton);
    const QList<CCmdStabBlockDlg*> dialogs = Dialogs();
    EXPECT_EQ(dialogs.size(), 1);
    return dialogs.value(0);
  }

  TestProgram p_;
};

// On the shared test section: divided automatically from a start x at a typed angle, OK writes
// the blocks into the case, marks it modified and clears its results.
TEST_F(Step2BlockTest, AnAutomaticDivisionReachesTheCase) {
  Case().GetBlockList().SetAngle(0);  // as in a new case
  QPointer<CCmdStabBlockDlg> dialog = OpenFromFlowPane();
  ASSERT_FALSE(dialog.isNull());
  EXPECT_EQ(dialog->parentWidget(), &p_.Frame());
  EXPECT_TRUE(p_.Stage().Exists(ModelessDialog::Block));
  EXPECT_FALSE(p_.Stage().IsDlgMode());  // the block division does not count
  p_.ExpectWorkPanesEnabled(false);
  EXPECT_FALSE(p_.Command(CMainFrame::kFileNew)->isEnabled());  // the case stays put
  ASSERT_TRUE(ShowActive(*dialog));

  CExpEdit* startX = Ctl<CExpEdit>(*dialog, 5409);
  startX->setFocus();
  startX->selectAll();
  QTest::keyClicks(startX, "20");
  QTest::keyClick(startX, Qt::Key_Tab);
  QTest::keyClicks(Ctl<CExpEdit>(*dialog, 5412), "30");
  QTest::mouseClick(Ctl<QPushButton>(*dialog, 5410), Qt::LeftButton);
  const std::vector<double> divided = Positions(dialog->WorkingList());
  const int blocks = dialog->WorkingList().GetBlockSize();
  ASSERT_GT(blocks, 1);
  EXPECT_NE(divided, Positions(Case().GetBlockList()));
  EXPECT_EQ(Ctl<CSheetGrid>(*dialog, 5411)->MaxRows(), blocks + 1);
  SaveShot(*dialog, "CCmdStabBlockDlg_divided");

  TestUi().ExpectMessageBox(MsgResult::Yes, kClearQuestion);
  const std::vector<FrameMessage> sent =
      SentBy([&] { QTest::mouseClick(Ctl<QPushButton>(*dialog, 1), Qt::LeftButton); });
  ASSERT_FALSE(sent.empty());
  EXPECT_EQ(sent.front(), (FrameMessage{FrameMsg::WM_CMD_STAB_BLOCK_CLOSE, 1, 0}));
  EXPECT_EQ(sent.back(), kRedraw);
  EXPECT_FALSE(p_.Stage().Exists(ModelessDialog::Block));
  FlushDeletes();
  EXPECT_TRUE(dialog.isNull());
  EXPECT_TRUE(Dialogs().isEmpty());
  p_.ExpectWorkPanesEnabled(true);
  EXPECT_TRUE(p_.Command(CMainFrame::kFileNew)->isEnabled());

  // OK reads the positions back from the grid, which shows four decimals.
  const CBlockList& stored = Case().GetBlockList();
  ASSERT_EQ(stored.GetXSize(), static_cast<int>(divided.size()));
  for (std::size_t i = 0; i < divided.size(); ++i) {
    EXPECT_NEAR(stored.GetX(static_cast<int>(i)), divided[i], 0.5e-4) << i;
  }
  EXPECT_EQ(stored.GetBlockSize(), blocks);
  EXPECT_EQ(stored.GetStartX(), 20);
  EXPECT_EQ(stored.GetAngle(), 30);
  EXPECT_EQ(Case().IsStratumBlockMode(), 1);
  EXPECT_TRUE(p_.Core().IsModify());
  EXPECT_EQ(Case().GetInUse(), 1);
  EXPECT_FALSE(Case().IsResStab());
  EXPECT_FALSE(Case().IsResStabGyaku());
}

// キャンセル, the title bar's close and OK without a change end the dialog through the frame and
// leave the case; a second show raises the open dialog instead of making another.
TEST_F(Step2BlockTest, CancelOrAnUnchangedOkEndTheDialogThroughTheFrame) {
  enum class End { Cancel, TitleBar, UnchangedOk };
  for (const End end : {End::Cancel, End::TitleBar, End::UnchangedOk}) {
    SCOPED_TRACE(static_cast<int>(end));
    const std::vector<double> before = Positions(Case().GetBlockList());
    QPointer<CCmdStabBlockDlg> dialog = OpenFromFlowPane();
    ASSERT_FALSE(dialog.isNull());
    EXPECT_EQ(p_.Send(FrameMsg::WM_CMD_STAB_BLOCK_SHOW), 0);
    EXPECT_EQ(Dialogs().size(), 1);
    if (end != End::UnchangedOk) {
      Ctl<CSheetGrid>(*dialog, 5411)->SetSelection(1, 2, 1, 2);
      TestUi().ExpectMessageBox(MsgResult::Ok);
      QTest::mouseClick(Ctl<QPushButton>(*dialog, 5414), Qt::LeftButton);
    }

    const std::vector<FrameMessage> sent = SentBy([&] {
      if (end == End::TitleBar) {
        dialog->close();
      } else {
        QTest::mouseClick(Ctl<QPushButton>(*dialog, end == End::Cancel ? 2 : 1), Qt::LeftButton);
      }
    });
    ASSERT_FALSE(sent.empty());
    EXPECT_EQ(sent.front(), (FrameMessage{FrameMsg::WM_CMD_STAB_BLOCK_CLOSE, 0, 0}));
    FlushDeletes();
    EXPECT_TRUE(dialog.isNull());
    EXPECT_FALSE(p_.Stage().Exists(ModelessDialog::Block));
    p_.ExpectWorkPanesEnabled(true);
    EXPECT_EQ(Positions(Case().GetBlockList()), before);
    EXPECT_FALSE(p_.Core().IsModify());
    EXPECT_TRUE(Case().IsResStab());
  }
}

// A case whose strata are not recognised yet is refused.
TEST_F(Step2BlockTest, ACaseWithoutStrataIsRefused) {
  Case().Init();
  TestUi().ExpectMessageBox(MsgResult::Ok, "先に[地層認識]を行って下さい。");
  p_.ClickFlowButton(1, kBlockButton);
  EXPECT_TRUE(Dialogs().isEmpty());
  p_.ExpectWorkPanesEnabled(true);
}

// X座標の追加 takes as many positions as a division may hold, each typed value in its own row:
// none runs into another, and OK hands them all on.
TEST_F(Step2BlockTest, TheAddDialogTakesAsManyPositionsAsTheDivisionHolds) {
  QPointer<CCmdStabBlockDlg> dialog = OpenFromFlowPane();
  ASSERT_FALSE(dialog.isNull());
  ASSERT_TRUE(ShowActive(*dialog));
  const int before = Ctl<CSheetGrid>(*dialog, 5411)->MaxRows();
  constexpr int kTyped = 150;
  const auto typed = [](int i) { return QString::number(10.013 + 0.1 * i, 'f', 3); };
  ExpectModal<CCmdStabBlockAddDlg>([&](CCmdStabBlockAddDlg& d) {
    ASSERT_TRUE(ShowActive(d));
    CSheetGrid& grid = *Ctl<CSheetGrid>(d, 5419);
    EXPECT_EQ(grid.MaxRows(), CBlockList::kMaxBlocks);
    for (int i = 0; i < kTyped; ++i) TypeIntoCell(grid, 1, i + 1, typed(i));
    for (int i = 0; i < kTyped; ++i) ASSERT_EQ(grid.Value(1, i + 1), typed(i)) << "row " << i + 1;
    EXPECT_EQ(grid.Value(1, kTyped + 1), QString());
    QTest::mouseClick(Ctl<QPushButton>(d, 1), Qt::LeftButton);
  });
  QTest::mouseClick(Ctl<QPushButton>(*dialog, 5363), Qt::LeftButton);     // 追加
  EXPECT_EQ(Ctl<CSheetGrid>(*dialog, 5411)->MaxRows(), before + kTyped);  // a block each
  QTest::mouseClick(Ctl<QPushButton>(*dialog, 2), Qt::LeftButton);
  FlushDeletes();
}

}  // namespace
