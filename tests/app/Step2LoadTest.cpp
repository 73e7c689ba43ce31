// The surface-load dialog and the two step-2 members without a button, through the program's
// real main window on the sample case: the dialog opened by its show member, the range picked
// with clicks on the view, its fields' checks, and its three ways to end, each through the
// frame's close notice and each leaving the case as it was.

#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/frame/MainFrame.h"
#include "app/view/BrixoView.h"
#include "core/case/ManageCore.h"
#include "core/geometry/ViewInfo.h"
#include "stage/StageManage.h"
#include "stage/controls/ExpEdit.h"
#include "stage/dialogs/CmdCmnSoilDlg.h"
#include "stage/dialogs/CmdStabShapeLoadDlg.h"
#include "tests/app/FrameMessagesSent.h"
#include "tests/app/HandMapping.h"
#include "tests/app/TestProgram.h"
#include "tests/stage/dialogs/DialogTestSupport.h"
#include "tests/support/SampleDocument.h"
#include "tests/support/ScriptedUi.h"
#include "tests/support/qt/QtTestSupport.h"

namespace {

enum LoadControl {
  kLoads = 5362,
  kAdd = 5363,
  kChange = 5244,
  kDelete = 5245,
  kRainfall = 5364,
  kSeismicL1 = 5204,
  kSeismicL2 = 5205,
  kResisting = 5365,
  kSliding = 5266,
  kX1 = 5368,
  kX2 = 5369,
  kQ = 5370,
  kMouse = 5259,
};

constexpr const char* kNoStrata = "先に[地層認識]を行って下さい。";
constexpr int kEmptySlot = 1;

class Step2LoadTest : public testing::Test {
 protected:
  Step2LoadTest() {
    FillSampleCase(Case(), 0);
    Case().SetModify(false);
  }

  CCase& Case() { return *p_.Core().GetActiveCase(); }
  CManageStage& Stage() { return p_.Stage(); }

  QList<CCmdStabShapeLoadDlg*> Dialogs() const {
    return p_.Frame().findChildren<CCmdStabShapeLoadDlg*>();
  }

  QPointer<CCmdStabShapeLoadDlg> Open() {
    EXPECT_EQ(Stage().CmdStabLoadShow(&p_.Frame()), 0);
    const QList<CCmdStabShapeLoadDlg*> dialogs = Dialogs();
    EXPECT_EQ(dialogs.size(), 1);
    return dialogs.value(0);
  }

  // A left click on the real view at the world x (on the level y = 15), under a hand-set mapping
  // of ten pixels to the metre, on which the world points of the tests are whole pixels.
  void ClickViewAt(double x) {
    CViewInfo& mapping = Case().GetViewInfo();
    SetHandMapping(p_.Frame().View(), mapping);
    mapping.scale = 10.0;
    const DevPoint device = mapping.LPtoDP(CDPoint(x, 15.0));
    QTest::mouseClick(&p_.Frame().View(), Qt::LeftButton, Qt::NoModifier,
                      QPoint(device.x, device.y));
  }

  TestProgram p_;
};

std::string Text(const CCmdStabShapeLoadDlg& d, int id) { return Ctl<CExpEdit>(d, id)->GetText(); }

// The show member opens one dialog, whatever the number of calls, with the controls of its
// template; the work panes and the commands that would replace the case are off until it ends.
TEST_F(Step2LoadTest, TheShowMemberOpensOneDialogAndLocksTheCase) {
  const std::vector<FrameMessage> sent = SentBy([&] { Open(); });
  EXPECT_EQ(sent, (std::vector<FrameMessage>{{FrameMsg::WM_APP_REDRAW, 0, 0}}));
  QPointer<CCmdStabShapeLoadDlg> dlg = Open();  // a second call raises the open dialog
  ASSERT_FALSE(dlg.isNull());
  const CCmdStabShapeLoadDlg& d = *dlg;
  EXPECT_EQ(d.windowTitle(), QStringLiteral("荷重の入力"));
  EXPECT_EQ(d.parentWidget(), &p_.Frame());
  EXPECT_TRUE(Stage().IsLoadDlg());
  EXPECT_TRUE(Stage().IsDlgMode());
  p_.ExpectWorkPanesEnabled(false);
  EXPECT_FALSE(p_.Command(CMainFrame::kFileOpen)->isEnabled());
  p_.Send(FrameMsg::WM_APP_CASE_SELECT, kEmptySlot);
  EXPECT_EQ(p_.Core().GetCaseArray().GetActiveCaseID(), 0);

  EXPECT_EQ(Ctl<QComboBox>(d, kLoads)->count(), 0);
  EXPECT_EQ(d.SelectedLoad(), 0);
  for (const int id : {kAdd, kChange, kDelete}) {
    const QPushButton* button = Ctl<QPushButton>(d, id);
    EXPECT_FALSE(button->isEnabled()) << id;
    EXPECT_FALSE(button->toolTip().isEmpty()) << id;
  }
  for (const int id : {kRainfall, kSeismicL1, kSeismicL2, kResisting, kSliding}) {
    EXPECT_FALSE(Ctl<QAbstractButton>(d, id)->isChecked()) << id;
  }
  EXPECT_FALSE(Ctl<QCheckBox>(d, kSeismicL2)->isEnabled());
  EXPECT_TRUE(Ctl<QCheckBox>(d, kMouse)->isChecked());
  for (const int id : {kX1, kX2, kQ}) EXPECT_EQ(Text(d, id), "") << id;
  SaveShot(*dlg, "CCmdStabShapeLoadDlg");

  QTest::mouseClick(Ctl<QPushButton>(*dlg, 2), Qt::LeftButton);
  FlushDeletes();
  EXPECT_TRUE(dlg.isNull());
  EXPECT_FALSE(Stage().IsDlgMode());
  p_.ExpectWorkPanesEnabled(true);
  EXPECT_TRUE(p_.Command(CMainFrame::kFileOpen)->isEnabled());
  p_.Send(FrameMsg::WM_APP_CASE_SELECT, kEmptySlot);
  EXPECT_EQ(p_.Core().GetCaseArray().GetActiveCaseID(), kEmptySlot);
}

// Clicks on the view fill X1 and X2 in turn, the focus moving to the end due next; a range end
// chosen by hand is filled next; with マウス入力 off a click changes nothing.
TEST_F(Step2LoadTest, ViewClicksFillTheRangeEndsInTurn) {
  QPointer<CCmdStabShapeLoadDlg> dlg = Open();
  ASSERT_FALSE(dlg.isNull());
  CCmdStabShapeLoadDlg& d = *dlg;
  ASSERT_TRUE(ShowActive(d));

  ClickViewAt(12.5);
  ClickViewAt(30.0);
  EXPECT_EQ(Text(d, kX1), "12.500");
  EXPECT_EQ(Text(d, kX2), "30.000");
  EXPECT_EQ(d.focusWidget(), Ctl<CExpEdit>(d, kX1));
  SaveShot(d, "CCmdStabShapeLoadDlg-picked");
  ClickViewAt(20.0);
  EXPECT_EQ(Text(d, kX1), "20.000");
  EXPECT_EQ(Text(d, kX2), "30.000");
  EXPECT_EQ(d.focusWidget(), Ctl<CExpEdit>(d, kX2));
  ClickViewAt(22.0);
  EXPECT_EQ(Text(d, kX2), "22.000");

  ASSERT_TRUE(ShowActive(d));
  Ctl<CExpEdit>(d, kX2)->setFocus();  // by hand, although X1 is due
  ClickViewAt(25.0);
  EXPECT_EQ(Text(d, kX1), "20.000");
  EXPECT_EQ(Text(d, kX2), "25.000");

  ASSERT_TRUE(ShowActive(d));
  QCheckBox* mouse = Ctl<QCheckBox>(d, kMouse);
  QTest::mouseClick(mouse, Qt::LeftButton, Qt::NoModifier, QPoint(8, mouse->height() / 2));
  ASSERT_FALSE(mouse->isChecked());
  EXPECT_TRUE(SentBy([&] { ClickViewAt(5.0); }).empty());
  EXPECT_EQ(Text(d, kX1), "20.000");
  EXPECT_EQ(Text(d, kX2), "25.000");
  QTest::mouseClick(Ctl<QPushButton>(d, 2), Qt::LeftButton);
  FlushDeletes();
}

// Values outside a field's range are refused with the field's own message, and the field keeps
// what it held.
TEST_F(Step2LoadTest, OutOfRangeValuesAreRefusedWithTheFieldsMessage) {
  QPointer<CCmdStabShapeLoadDlg> dlg = Open();
  ASSERT_FALSE(dlg.isNull());
  CCmdStabShapeLoadDlg& d = *dlg;
  ASSERT_TRUE(ShowActive(d));
  const char* const qRange =
      "数値が範囲外です。\n\n（0.01 ～ 999.99 までの範囲で入力してください。）";
  const struct {
    int id;
    const char* typed;
    const char* message;
  } cases[] = {
      {kQ, "0.001", qRange},
      {kQ, "1000", qRange},
      {kX1, "-10000",
       "数値が範囲外です。\n\n（-9999.999 ～ 9999.999 までの範囲で入力してください。）"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.typed);
    TestUi().ExpectMessageBox(MsgResult::Ok, c.message);
    TypeField(Ctl<CExpEdit>(d, c.id), QString::fromUtf8(c.typed));
    EXPECT_EQ(Text(d, c.id), "");
  }
  TypeField(Ctl<CExpEdit>(d, kQ), QStringLiteral("12.5"));
  EXPECT_EQ(Text(d, kQ), "12.50");
  QTest::mouseClick(Ctl<QPushButton>(d, 2), Qt::LeftButton);
  FlushDeletes();
}

// OK, キャンセル and the title bar's close each end the dialog through the frame's close notice;
// the case, filled or empty, is left exactly as it was, its results and its in-use word too.
TEST_F(Step2LoadTest, EveryWayToEndClosesThroughTheFrameAndKeepsTheCase) {
  using Ending = std::function<void(CCmdStabShapeLoadDlg&)>;
  const struct {
    const char* name;
    Ending end;
    unsigned result;
  } endings[] = {
      {"OK",
       [](CCmdStabShapeLoadDlg& d) { QTest::mouseClick(Ctl<QPushButton>(d, 1), Qt::LeftButton); },
       1},
      {"キャンセル",
       [](CCmdStabShapeLoadDlg& d) { QTest::mouseClick(Ctl<QPushButton>(d, 2), Qt::LeftButton); },
       0},
      {"title bar", [](CCmdStabShapeLoadDlg& d) { d.close(); }, 0},
  };
  for (const int slot : {0, kEmptySlot}) {
    p_.Send(FrameMsg::WM_APP_CASE_SELECT, static_cast<unsigned>(slot));
    ASSERT_EQ(p_.Core().GetCaseArray().GetActiveCaseID(), slot);
    for (const auto& ending : endings) {
      SCOPED_TRACE(std::string(ending.name) + " on slot " + std::to_string(slot));
      const auto opened = std::make_unique<CCase>();
      opened->Copy(&Case());
      const int inUse = Case().GetInUse();
      const bool results = Case().IsResStab();

      QPointer<CCmdStabShapeLoadDlg> dlg = Open();
      ASSERT_FALSE(dlg.isNull());
      ASSERT_TRUE(ShowActive(*dlg));
      ClickViewAt(12.5);
      TypeField(Ctl<CExpEdit>(*dlg, kQ), QStringLiteral("10"));
      const std::vector<FrameMessage> sent = SentBy([&] { ending.end(*dlg); });
      const FrameMessage closing{FrameMsg::WM_CMD_STAB_LOAD_CLOSE, ending.result, 0};
      EXPECT_EQ(std::count(sent.begin(), sent.end(), closing), 1);
      EXPECT_FALSE(Stage().Exists(ModelessDialog::Load));
      FlushDeletes();
      EXPECT_TRUE(dlg.isNull());
      p_.ExpectWorkPanesEnabled(true);
      EXPECT_FALSE(Stage().IsDlgMode());

      EXPECT_TRUE(Case().IsSame(opened.get()));
      EXPECT_FALSE(Case().IsModified());
      EXPECT_EQ(Case().GetInUse(), inUse);
      EXPECT_EQ(Case().IsResStab(), results);
    }
  }
  EXPECT_FALSE(p_.Core().IsModify());
}

// The second-level soil constants run the soil dialog with its check; the division of the strata
// only checks for the stratum polygons.
TEST_F(Step2LoadTest, SoilLevelTwoAndPartitionCheckForStrata) {
  ExpectModal<CCmdCmnSoilDlg>(
      [](CCmdCmnSoilDlg& d) { QTest::mouseClick(Ctl<QPushButton>(d, 2), Qt::LeftButton); });
  EXPECT_EQ(Stage().CmdStabSoilL2(&p_.Frame()), 0);
  EXPECT_EQ(Stage().CmdStabPartition(), 0);  // no message: the sample has strata

  p_.Send(FrameMsg::WM_APP_CASE_SELECT, kEmptySlot);
  TestUi().ExpectMessageBox(MsgResult::Ok, kNoStrata);
  EXPECT_EQ(Stage().CmdStabSoilL2(&p_.Frame()), 0);
  TestUi().ExpectMessageBox(MsgResult::Ok, kNoStrata);
  EXPECT_EQ(Stage().CmdStabPartition(), 0);
}

}  // namespace
