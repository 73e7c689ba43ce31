// The rock-bolt arrangement and the rope-net check through the program's real main window, on the
// sample case with its registered seismic row: the arrangement opened from step 3 and from step
// 4, a range picked with two clicks in the view, the bars laid out, OK and キャンセル through the
// frame's close member, the rope-net check with a method picked, and the document saved and
// opened again.

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <vector>

#include "app/document/DocumentFiles.h"
#include "app/frame/MainFrame.h"
#include "app/panes/PaneFlow.h"
#include "app/view/BrixoView.h"
#include "core/case/ManageCore.h"
#include "core/deformation/Reinforce.h"
#include "stage/controls/ExpEdit.h"
#include "stage/controls/SheetGrid.h"
#include "stage/dialogs/CmdDrainArrangeDlg.h"
#include "stage/dialogs/CmdShearFocusDlg.h"
#include "stage/dialogs/RefShearTrnaDlg.h"
#include "tests/app/FrameMessagesSent.h"
#include "tests/app/TestProgram.h"
#include "tests/stage/dialogs/DialogTestSupport.h"
#include "tests/support/SampleDocument.h"
#include "tests/support/ScriptedUi.h"
#include "tests/support/qt/QtTestSupport.h"

namespace {

constexpr int kSlideArrangeButton = 1026;  // step 3 (page 2)
constexpr int kShearArrangeButton = 1011;  // step 4 (page 3)
constexpr int kFocusButton = 1014;
const FrameMessage kRedraw{FrameMsg::WM_APP_REDRAW, 0, 0};

class Step34ArrangeTest : public testing::Test {
 protected:
  Step34ArrangeTest() {
    FillSampleCase(Case(), 0);
    Case().SetModify(false);
  }

  CCase& Case() { return *p_.Core().GetActiveCase(); }

  QList<CCmdDrainArrangeDlg*> Dialogs() const {
    return p_.Frame().findChildren<CCmdDrainArrangeDlg*>();
  }

  QPointer<CCmdDrainArrangeDlg> Open(int step, int button) {
    p_.Frame().FlowPane().SelectStage(step);
    p_.ClickFlowButton(step, button);
    const QList<CCmdDrainArrangeDlg*> dialogs = Dialogs();
    EXPECT_EQ(dialogs.size(), 1);
    return dialogs.value(0);
  }

  // Types the text into the field and leaves it.
  static void Type(CExpEdit* field, const QString& text) {
    field->setFocus();
    field->selectAll();
    TypeText(field, text);
    QTest::keyClick(field, Qt::Key_Tab);
  }

  TestProgram p_;
};

// Both steps' buttons open the one dialog; OK and キャンセル end it through the frame, which
// deletes it later, gives the panes back and draws the case's own conditions again.
TEST_F(Step34ArrangeTest, TheDialogClosesThroughTheFrameAndRestoresTheDrawing) {
  const struct {
    int step;
    int button;
    bool ok;
  } runs[] = {{2, kSlideArrangeButton, true}, {3, kShearArrangeButton, false}};
  for (const auto& run : runs) {
    SCOPED_TRACE(run.step);
    QPointer<CCmdDrainArrangeDlg> dlg = Open(run.step, run.button);
    ASSERT_FALSE(dlg.isNull());
    EXPECT_EQ(dlg->parentWidget(), &p_.Frame());
    EXPECT_TRUE(p_.Stage().IsOpen(ModelessDialog::DrainArrange));
    p_.ExpectWorkPanesEnabled(false);
    EXPECT_EQ(&Case().GetDrawPrmReinf(), &dlg->Working());
    p_.Send(FrameMsg::WM_CMD_SLIDE_ARRANGE_SHOW);  // a second show raises the open dialog
    EXPECT_EQ(Dialogs().size(), 1);
    ASSERT_TRUE(ShowActive(*dlg));

    const std::vector<FrameMessage> sent =
        SentBy([&] { QTest::mouseClick(Ctl<QPushButton>(*dlg, run.ok ? 1 : 2), Qt::LeftButton); });
    const FrameMessage closing{FrameMsg::WM_CMD_SLIDE_ARRANGE_CLOSE, run.ok ? 1U : 0U, 0};
    const auto closed = std::find(sent.begin(), sent.end(), closing);
    ASSERT_NE(closed, sent.end());
    EXPECT_NE(std::find(closed, sent.end(), kRedraw), sent.end());
    EXPECT_FALSE(p_.Stage().Exists(ModelessDialog::DrainArrange));
    FlushDeletes();
    EXPECT_TRUE(dlg.isNull());
    p_.ExpectWorkPanesEnabled(true);
    EXPECT_EQ(&Case().GetDrawPrmReinf(), &Case().GetPrmReinf());
    EXPECT_FALSE(Case().IsModified());  // nothing was changed
  }
}

// Two clicks in the view pick a range on the slope, the bars are laid out over it, OK keeps them;
// the rope-net check runs on the new first bolt with a method picked, and both survive a save.
TEST_F(Step34ArrangeTest, BoltsPickedInTheViewAndTheRopeNetCheckAreSaved) {
  QPointer<CCmdDrainArrangeDlg> dlg = Open(2, kSlideArrangeButton);
  ASSERT_FALSE(dlg.isNull());
  ASSERT_TRUE(ShowActive(*dlg));
  CCmdDrainArrangeDlg& d = *dlg;
  QCheckBox* conditions = Ctl<QCheckBox>(d, 6256);
  QTest::mouseClick(conditions, Qt::LeftButton, Qt::NoModifier,
                    QPoint(8, conditions->height() / 2));
  ASSERT_TRUE(d.Working().arrangeCheck == 1);

  p_.ClickView({421, 335});  // (18, 10)
  p_.ClickView({379, 370});  // (12, 5)
  const CReinfRange& range = d.Working().ranges[0];
  EXPECT_EQ(range.start, CDPoint(18.0, 10.0));
  EXPECT_EQ(range.end, CDPoint(12.0, 5.0));

  Type(Ctl<CExpEdit>(d, 6234), QStringLiteral("3"));  // rows
  Type(Ctl<CExpEdit>(d, 6239), QStringLiteral("5"));  // LRB
  Type(Ctl<CExpEdit>(d, 6240), QStringLiteral("0.5"));
  Type(Ctl<CExpEdit>(d, 6232), QStringLiteral("2"));  // SH
  Type(Ctl<CExpEdit>(d, 6233), QStringLiteral("2"));  // SV
  QRadioButton* fromLower = Ctl<QRadioButton>(d, 6237);
  QTest::mouseClick(fromLower, Qt::LeftButton, Qt::NoModifier, QPoint(8, fromLower->height() / 2));
  Type(Ctl<CExpEdit>(d, 6229), QStringLiteral("1"));  // from the lower end
  TestUi().ExpectMessageBox(
      MsgResult::Ok, "設定した配置条件から [ロックボルトの配置] を作成します。\nよろしいですか？");
  QTest::mouseClick(Ctl<QPushButton>(d, 6242), Qt::LeftButton);
  ASSERT_EQ(Case().GetReinfArrange().GetSize(), 3);
  SaveShot(p_.Frame(), "MainFrame-CCmdDrainArrangeDlg");
  SaveShot(d, "CCmdDrainArrangeDlg-picked");
  QTest::mouseClick(Ctl<QPushButton>(d, 1), Qt::LeftButton);
  FlushDeletes();
  EXPECT_TRUE(Case().IsModified());
  EXPECT_FALSE(Case().IsResShear());  // the bars moved: the deformation results are stale
  ASSERT_EQ(Case().GetPrmReinf().ranges[0].rowCount, 3);

  // The rope-net check needs a shear result: computed again for the new bars.
  ASSERT_TRUE(Case().PreCalcShear(false));
  Case().CalcStartShear();
  p_.Frame().FlowPane().SelectStage(3);
  ExpectModal<CCmdShearFocusDlg>([](CCmdShearFocusDlg& focus) {
    ASSERT_TRUE(ShowActive(focus));
    ExpectModal<CRefShearTrnaDlg>([](CRefShearTrnaDlg& picker) {
      Ctl<CSheetGrid>(picker, 7360)->SetActiveCell(1, 2);
      QTest::mouseClick(Ctl<QPushButton>(picker, 1), Qt::LeftButton);
    });
    QTest::mouseClick(Ctl<QPushButton>(focus, 7355), Qt::LeftButton);
    Type(Ctl<CExpEdit>(focus, 7353), QStringLiteral("1.5"));
    SaveShot(focus, "CCmdShearFocusDlg-picked");
    QTest::mouseClick(Ctl<QPushButton>(focus, 1), Qt::LeftButton);
  });
  p_.ClickFlowButton(3, kFocusButton);
  const CResFocus checked = Case().GetResFocus();
  EXPECT_DOUBLE_EQ(checked.capacity, 64.4);
  EXPECT_DOUBLE_EQ(checked.requiredFsRN, 1.5);
  EXPECT_NE(checked.fsRN, kNoValue);

  const std::vector<CReinforce> bars = [this] {
    std::vector<CReinforce> copies(3);
    for (int i = 0; i < 3; ++i) copies[i].Copy(*Case().GetReinfArrange().GetAt(i));
    return copies;
  }();
  const std::filesystem::path path =
      std::filesystem::path(std::getenv("BRIXO_HOME")) / "step34.qxmd";
  TestUi().ExpectFileDialog(path);
  ASSERT_TRUE(p_.Frame().Documents().OnFileSaveAs());
  ASSERT_TRUE(p_.Frame().Documents().OpenDocumentPath(path));
  const CReinfArrange& reopened = Case().GetReinfArrange();
  ASSERT_EQ(reopened.GetSize(), 3);
  for (int i = 0; i < 3; ++i) EXPECT_TRUE(reopened.GetAt(i)->IsSame(bars[i])) << i;
  EXPECT_EQ(Case().GetPrmReinf().ranges[0].start, CDPoint(18.0, 10.0));
  EXPECT_EQ(Case().GetPrmReinf().arrangeCheck, 1);
  EXPECT_EQ(Case().GetResFocus(), checked);
}

// The rope-net check's button answers with its message while the arrangement is empty.
TEST_F(Step34ArrangeTest, TheRopeNetCheckWithoutBoltsIsRefused) {
  Case().GetReinfArrange().RemoveAll();
  p_.Frame().FlowPane().SelectStage(3);
  TestUi().ExpectMessageBox(MsgResult::Ok, "先に[対策工配置]の入力を行って下さい。");
  p_.ClickFlowButton(3, kFocusButton);
  EXPECT_FALSE(Case().IsModified());
}

// Text that is not a number typed into a bolt's number cell (α) is refused when the cell is
// left, with the warning every number entry gives; OK is refused while it stands, and the bolt
// keeps its angle until a number replaces the text.
TEST_F(Step34ArrangeTest, ABoltCellRefusesTextThatIsNotANumber) {
  ASSERT_GT(Case().GetReinfArrange().GetSize(), 1);
  const double alpha = Case().GetReinfArrange().GetAt(0)->alpha;
  QPointer<CCmdDrainArrangeDlg> dlg = Open(2, kSlideArrangeButton);
  ASSERT_FALSE(dlg.isNull());
  ASSERT_TRUE(ShowActive(*dlg));
  CSheetGrid& bars = *Ctl<CSheetGrid>(*dlg, 6243);
  constexpr int kAlphaCol = 7;
  constexpr const char* kNotANumber = "値が正しくありません。\n\n（数値を入力してください。）";
  TypeIntoCell(bars, kAlphaCol, 1, QStringLiteral("abc"));

  TestUi().ExpectMessageBox(MsgResult::Ok, kNotANumber);
  QTest::keyClick(&bars, Qt::Key_Down);
  EXPECT_EQ(bars.ActiveRow(), 1);
  EXPECT_EQ(bars.ActiveCol(), kAlphaCol);
  EXPECT_EQ(TestUi().MessageBoxes().back().caption, "入力確認");
  EXPECT_EQ(TestUi().MessageBoxes().back().icon, MsgIcon::Warning);

  TestUi().ExpectMessageBox(MsgResult::Ok, kNotANumber);  // Enter moves on as a user does
  QTest::keyClick(&bars, Qt::Key_Return);
  EXPECT_EQ(bars.ActiveCol(), kAlphaCol);

  TestUi().ExpectMessageBox(MsgResult::Ok, kNotANumber);
  QTest::mouseClick(Ctl<QPushButton>(*dlg, 1), Qt::LeftButton);
  EXPECT_TRUE(dlg->isVisible());
  EXPECT_EQ(bars.ActiveRow(), 1);
  EXPECT_EQ(bars.ActiveCol(), kAlphaCol);
  EXPECT_EQ(Case().GetReinfArrange().GetAt(0)->alpha, alpha);
  EXPECT_FALSE(Case().IsModified());

  TypeIntoCell(bars, kAlphaCol, 1, QStringLiteral("25"));
  QTest::keyClick(&bars, Qt::Key_Down);
  EXPECT_EQ(bars.ActiveRow(), 2);
  QTest::mouseClick(Ctl<QPushButton>(*dlg, 1), Qt::LeftButton);
  FlushDeletes();
  EXPECT_TRUE(dlg.isNull());
  EXPECT_EQ(Case().GetReinfArrange().GetAt(0)->alpha, 25.0);
}

}  // namespace
