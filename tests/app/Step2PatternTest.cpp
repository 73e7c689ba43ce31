// The stability conditions through the program's real main window: step 2's 計算条件 button
// opens the modeless dialog over the sample case, the frame locks the case while it is open, and
// OK, キャンセル and the title bar's close end it through the frame's close member.

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QDockWidget>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QToolBar>
#include <algorithm>
#include <vector>

#include "app/frame/MainFrame.h"
#include "app/panes/PaneCase.h"
#include "app/panes/PaneFlow.h"
#include "app/view/BrixoView.h"
#include "core/case/ManageCore.h"
#include "stage/controls/ExpEdit.h"
#include "stage/dialogs/CmdStabPatternDlg.h"
#include "tests/app/FrameMessagesSent.h"
#include "tests/app/TestProgram.h"
#include "tests/support/SampleDocument.h"
#include "tests/support/ScriptedUi.h"
#include "tests/support/qt/QtTestSupport.h"

namespace {

constexpr int kConditionsButton = 1024;
constexpr int kQuakeSwitch = 5204;
constexpr int kQuakeCase = 1055;  // the case pane's 地震時 load case
constexpr const char* kClearResults =
    "設定の変更により、すべての計算結果をクリアします。\nよろしいですか？";
const FrameMessage kRedraw{FrameMsg::WM_APP_REDRAW, 0, 0};

class Step2PatternTest : public testing::Test {
 protected:
  Step2PatternTest() {
    FillSampleCase(Case(), 0);
    Case().SetModify(false);
    p_.Frame().FlowPane().SelectStage(1);
  }

  CCase& Case() { return *p_.Core().GetActiveCase(); }

  QList<CCmdStabPatternDlg*> Dialogs() const {
    return p_.Frame().findChildren<CCmdStabPatternDlg*>();
  }

  // Opens the dialog from its flow button.
  QPointer<CCmdStabPatternDlg> Open() {
    p_.ClickFlowButton(1, kConditionsButton);
    const QList<CCmdStabPatternDlg*> dialogs = Dialogs();
    EXPECT_EQ(dialogs.size(), 1);
    return dialogs.value(0);
  }

  TestProgram p_;
};

// The flow button opens one dialog over the frame, which locks the case until it closes; a second
// show raises the open dialog.
TEST_F(Step2PatternTest, TheFlowButtonOpensTheDialogAndLocksTheCase) {
  const std::vector<FrameMessage> sent = SentBy([&] { Open(); });
  ASSERT_FALSE(sent.empty());
  EXPECT_EQ(sent.front(), (FrameMessage{FrameMsg::WM_CMD_STAB_PATTERN_SHOW, 0, 0}));
  EXPECT_EQ(sent.back(), kRedraw);
  ASSERT_EQ(Dialogs().size(), 1);
  CCmdStabPatternDlg& dlg = *Dialogs().front();
  EXPECT_TRUE(dlg.isVisible());
  EXPECT_EQ(dlg.parentWidget(), &p_.Frame());
  EXPECT_TRUE(p_.Stage().IsOpen(ModelessDialog::Pattern));
  EXPECT_TRUE(p_.Stage().IsDlgMode());
  p_.ExpectWorkPanesEnabled(false);

  p_.Send(FrameMsg::WM_CMD_STAB_PATTERN_SHOW);
  EXPECT_EQ(Dialogs().size(), 1);
  ASSERT_TRUE(ShowActive(dlg));
  SaveShot(p_.Frame(), "MainFrame-CCmdStabPatternDlg");
  SaveShot(dlg, "CCmdStabPatternDlg-sample");

  QTest::mouseClick(Ctl<QPushButton>(dlg, 2), Qt::LeftButton);
  FlushDeletes();
  EXPECT_TRUE(Dialogs().isEmpty());
}

// OK, キャンセル and the title bar's close after the seismic case was switched off: the frame's
// close member forgets the dialog, hides it and deletes it later, the panes come back and the
// view is redrawn. OK keeps the change (asked, results cleared) and the case pane offers the normal
// case alone; the other two put the conditions back.
TEST_F(Step2PatternTest, TheDialogClosesThroughTheFrame) {
  enum class End { Ok, Cancel, TitleBar };
  for (const End end : {End::Ok, End::Cancel, End::TitleBar}) {
    SCOPED_TRACE(static_cast<int>(end));
    FillSampleCase(Case(), 0);
    Case().SetModify(false);
    p_.Send(FrameMsg::WM_APP_INFO_REFRESH);  // the case pane offers both load cases again
    CPrmStab before;
    before.Copy(Case().GetPrmStab());
    QPointer<CCmdStabPatternDlg> dlg = Open();
    ASSERT_FALSE(dlg.isNull());
    ASSERT_TRUE(ShowActive(*dlg));
    QCheckBox* quake = Ctl<QCheckBox>(*dlg, kQuakeSwitch);
    QTest::mouseClick(quake, Qt::LeftButton, Qt::NoModifier, QPoint(8, quake->height() / 2));
    ASSERT_EQ(Case().GetPrmStab().quakeOn, 0);  // the view follows at once

    const bool ok = end == End::Ok;
    if (ok) TestUi().ExpectMessageBox(MsgResult::Yes, kClearResults);
    const std::vector<FrameMessage> sent = SentBy([&] {
      if (end == End::TitleBar) {
        dlg->close();
      } else {
        QTest::mouseClick(Ctl<QPushButton>(*dlg, ok ? 1 : 2), Qt::LeftButton);
      }
    });

    const FrameMessage closing{FrameMsg::WM_CMD_STAB_PATTERN_CLOSE, ok ? 1U : 0U, 0};
    const auto closed = std::find(sent.begin(), sent.end(), closing);
    ASSERT_NE(closed, sent.end());
    EXPECT_NE(std::find(closed, sent.end(), kRedraw), sent.end());
    EXPECT_FALSE(p_.Stage().Exists(ModelessDialog::Pattern));
    ASSERT_FALSE(dlg.isNull());  // its own handler was still running: deleted later
    EXPECT_FALSE(dlg->isVisible());
    FlushDeletes();
    EXPECT_TRUE(dlg.isNull());
    p_.ExpectWorkPanesEnabled(true);
    EXPECT_EQ(Case().GetPrmStab().IsSame(before), !ok);
    EXPECT_EQ(Case().IsModified(), ok);
    EXPECT_EQ(Case().IsResStab(), !ok);
    EXPECT_EQ(Ctl<QRadioButton>(p_.Frame().CasePane(), kQuakeCase)->isEnabled(), !ok);
  }
}

// OK with nothing changed closes without marking the case or touching its results.
TEST_F(Step2PatternTest, OkWithNothingChangedKeepsTheCaseUnmodified) {
  QPointer<CCmdStabPatternDlg> dlg = Open();
  ASSERT_FALSE(dlg.isNull());
  QTest::mouseClick(Ctl<QPushButton>(*dlg, 1), Qt::LeftButton);
  FlushDeletes();
  EXPECT_TRUE(dlg.isNull());
  EXPECT_FALSE(p_.Core().IsModify());
  EXPECT_TRUE(Case().IsResStab());
}

// Closing the main window asks about the conditions switched live; dropped, they go back and
// nothing is left to save.
TEST_F(Step2PatternTest, ClosingTheMainWindowPutsTheConditionsBack) {
  CPrmStab before;
  before.Copy(Case().GetPrmStab());
  QPointer<CCmdStabPatternDlg> dlg = Open();
  ASSERT_FALSE(dlg.isNull());
  ASSERT_TRUE(ShowActive(*dlg));
  QCheckBox* quake = Ctl<QCheckBox>(*dlg, kQuakeSwitch);
  QTest::mouseClick(quake, Qt::LeftButton, Qt::NoModifier, QPoint(8, quake->height() / 2));
  ASSERT_FALSE(Case().GetPrmStab().IsSame(before));
  TestUi().ExpectMessageBox(MsgResult::No,
                            "「安定計算条件」の入力内容が更新されています。\n反映しない場合には、"
                            "変更は破棄されます。\n\n反映しますか？");
  EXPECT_TRUE(p_.Frame().close());
  FlushDeletes();
  EXPECT_TRUE(dlg.isNull());
  EXPECT_TRUE(Case().GetPrmStab().IsSame(before));
  EXPECT_FALSE(p_.Core().IsModify());
}

// The close member answers 1 only for a close after OK, yet deletes the dialog and redraws either
// way.
TEST_F(Step2PatternTest, TheCloseMemberDeletesTheDialogWhateverTheResult) {
  for (const unsigned result : {0U, 1U}) {
    SCOPED_TRACE(result);
    QPointer<CCmdStabPatternDlg> dlg = Open();
    long answer = -1;
    EXPECT_EQ(SentBy([&] { answer = p_.Stage().CmdStabPatternClose(result); }),
              std::vector<FrameMessage>{kRedraw});
    EXPECT_EQ(answer, static_cast<long>(result));
    EXPECT_FALSE(p_.Stage().Exists(ModelessDialog::Pattern));
    FlushDeletes();
    EXPECT_TRUE(dlg.isNull());
    p_.Frame().EnableWorkPanes(true);  // the frame's part, which this direct call skips
  }
}

}  // namespace
