// Closing the program through its real main window, offscreen: a modeless step dialog's changes
// that are not yet in the case are never dropped unasked, the title marks a modified document,
// and Qt's own boxes speak Japanese.

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QCheckBox>
#include <QFileDialog>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <utility>

#include "app/frame/MainFrame.h"
#include "app/panes/PaneFlow.h"
#include "core/base/AppIdentity.h"
#include "core/case/ManageCore.h"
#include "platform/UiRegistry.h"
#include "platform/qt/QtUi.h"
#include "stage/controls/SheetGrid.h"
#include "stage/controls/StageDialog.h"
#include "stage/dialogs/CmdCmnShapeDlg.h"
#include "stage/dialogs/ShapeGridPage.h"
#include "tests/app/TestProgram.h"
#include "tests/stage/dialogs/DialogTestSupport.h"
#include "tests/support/SampleDocument.h"
#include "tests/support/ScriptedUi.h"
#include "tests/support/qt/QtTestSupport.h"

namespace {

constexpr const char* kAskUnnamed = "データの内容が更新されています。保存しますか？";
constexpr const char* kShapesChanged =
    "地形構成要素が変更されました。\n「地層認識」の更新を行ってください。";

// The question before the program closes over the named dialog's changes.
std::string AskToApply(const std::string& title) {
  return "「" + title +
         "」の入力内容が更新されています。\n反映しない場合には、変更は破棄されます。\n\n"
         "反映しますか？";
}

// Clicks the check box on its box, as a user does.
void ClickCheckBox(QCheckBox* box) {
  QTest::mouseClick(box, Qt::LeftButton, Qt::NoModifier, QPoint(8, box->height() / 2));
}

// One modeless step dialog: where the flow pane opens it and a change its OK would take.
struct ModelessRow {
  const char* title;
  int step;
  int button;
  std::function<void(StageDialog&)> edit;
};

const ModelessRow kModeless[] = {
    {"地形座標の入力", 0, 1013,
     [](StageDialog& d) {
       auto& editor = dynamic_cast<CCmdCmnShapeDlg&>(d);
       TypeIntoCell(editor.Page(CCmdCmnShapeDlg::kTabGround).Grid(), 1, 1, QStringLiteral("1.5"));
     }},
    {"安定計算条件", 1, 1024,
     [](StageDialog& d) { ClickCheckBox(Ctl<QCheckBox>(d, 5204)); }},  // 地震時 off
    {"ブロック分割", 1, 1026,
     [](StageDialog& d) {
       Ctl<CSheetGrid>(d, 5411)->SetSelection(1, 2, 1, 2);
       TestUi().ExpectMessageBox(MsgResult::Ok);  // the position deleted
       QTest::mouseClick(Ctl<QPushButton>(d, 5414), Qt::LeftButton);
     }},
    {"対策工配置", 2, 1026,
     [](StageDialog& d) { ClickCheckBox(Ctl<QCheckBox>(d, 6256)); }},  // the conditions on
};

class ProgramCloseTest : public testing::Test {
 protected:
  ProgramCloseTest() {
    FillSampleCase(Case(), 0);
    p_.Core().ResetModify();
  }

  CCase& Case() { return *p_.Core().GetActiveCase(); }

  // The dialog the row's flow button opened.
  QPointer<StageDialog> Open(const ModelessRow& row) {
    p_.Frame().FlowPane().SelectStage(row.step);
    p_.ClickFlowButton(row.step, row.button);
    const QList<StageDialog*> open = p_.Frame().findChildren<StageDialog*>();
    EXPECT_EQ(open.size(), 1);
    QPointer<StageDialog> dialog = open.value(0);
    if (dialog) {
      EXPECT_TRUE(ShowActive(*dialog));
    }
    return dialog;
  }

  TestProgram p_;
};

// Without a change every dialog closes with the program unasked, as its キャンセル does. With
// one, the program asks: Cancel keeps the program and the dialog with its change; No drops the
// change, as キャンセル does, and the program closes.
TEST_F(ProgramCloseTest, AChangeInAModelessDialogIsNeverDroppedUnasked) {
  for (const ModelessRow& row : kModeless) {
    SCOPED_TRACE(row.title);
    for (const bool changed : {false, true}) {
      SCOPED_TRACE(changed);
      p_.Frame().show();
      CCase before;
      before.Copy(&Case());
      QPointer<StageDialog> dialog = Open(row);
      ASSERT_FALSE(dialog.isNull());
      EXPECT_EQ(dialog->windowTitle().toStdString(), row.title);
      if (changed) {
        row.edit(*dialog);
        TestUi().ExpectMessageBox(MsgResult::Cancel, AskToApply(row.title));
        EXPECT_FALSE(p_.Frame().close());
        TestUi().VerifyAllAnswered();
        EXPECT_TRUE(p_.Frame().isVisible());
        ASSERT_FALSE(dialog.isNull());
        EXPECT_TRUE(dialog->isVisible());
        EXPECT_TRUE(dialog->HasUnappliedChanges());  // the change is still there
        TestUi().ExpectMessageBox(MsgResult::No, AskToApply(row.title));
      }
      EXPECT_TRUE(p_.Frame().close());
      TestUi().VerifyAllAnswered();
      FlushDeletes();
      EXPECT_TRUE(dialog.isNull());
      EXPECT_TRUE(Case().IsSame(&before));
      EXPECT_FALSE(p_.Core().IsModify());
      p_.ExpectWorkPanesEnabled(true);
    }
  }
}

// ファイル → アプリケーションの終了 with a point typed into the terrain editor: Yes takes the point
// into the case, as OK does, and the save question follows; cancelling that keeps the program.
TEST_F(ProgramCloseTest, ExitTakesTheTerrainEditorsTypedPointWhenAskedTo) {
  const ModelessRow& terrain = kModeless[0];
  QPointer<StageDialog> editor = Open(terrain);
  ASSERT_FALSE(editor.isNull());
  terrain.edit(*editor);

  TestUi().ExpectMessageBox(MsgResult::Yes, AskToApply(terrain.title));
  TestUi().ExpectMessageBox(MsgResult::Ok, kShapesChanged);
  TestUi().ExpectMessageBox(MsgResult::Cancel, kAskUnnamed);
  p_.Command(CMainFrame::kAppExit)->trigger();
  TestUi().VerifyAllAnswered();

  EXPECT_TRUE(p_.Frame().isVisible());
  FlushDeletes();
  EXPECT_TRUE(editor.isNull());
  EXPECT_FALSE(p_.Stage().Exists(ModelessDialog::Shape));
  p_.ExpectWorkPanesEnabled(true);
  EXPECT_DOUBLE_EQ(Case().GetGround().GetAt(0)->x, 1.5);
  EXPECT_TRUE(p_.Core().IsModify());
  EXPECT_EQ(p_.Title(), "無題* - " + GetAppFullTitle());
}

// New, Open and the case selection would replace the case the dialog edits: they wait until the
// dialog is closed, so they cannot drop its change either.
TEST_F(ProgramCloseTest, NewOpenAndCaseSelectionCannotDropADialogsChange) {
  const ModelessRow& terrain = kModeless[0];
  QPointer<StageDialog> editor = Open(terrain);
  ASSERT_FALSE(editor.isNull());
  terrain.edit(*editor);

  for (const int id : {CMainFrame::kFileNew, CMainFrame::kFileOpen}) {
    EXPECT_FALSE(p_.Command(id)->isEnabled()) << id;
  }
  QTest::keyClick(&p_.Frame(), Qt::Key_N, Qt::ControlModifier);  // the strict Ui fails on a box
  QTest::keyClick(&p_.Frame(), Qt::Key_O, Qt::ControlModifier);
  p_.Send(FrameMsg::WM_APP_CASE_SELECT, 3);
  EXPECT_EQ(p_.Core().GetCaseArray().GetActiveCaseID(), 0);
  ASSERT_FALSE(editor.isNull());
  EXPECT_TRUE(editor->isVisible());
  EXPECT_TRUE(editor->HasUnappliedChanges());
  EXPECT_DOUBLE_EQ(Case().GetGround().GetAt(0)->x, 1.5);

  QTest::mouseClick(Ctl<QPushButton>(*editor, 2), Qt::LeftButton);
  FlushDeletes();
}

// The title bar marks unsaved changes with "*" after the file name, and the mark follows the
// document: a dialog's OK, a save, a cleared case.
TEST_F(ProgramCloseTest, TheTitleMarksAModifiedDocument) {
  const std::string full = GetAppFullTitle();
  EXPECT_EQ(p_.Title(), "無題 - " + full);

  const ModelessRow& terrain = kModeless[0];
  QPointer<StageDialog> editor = Open(terrain);
  ASSERT_FALSE(editor.isNull());
  terrain.edit(*editor);
  TestUi().ExpectMessageBox(MsgResult::Ok, kShapesChanged);
  QTest::mouseClick(Ctl<QPushButton>(*editor, 1), Qt::LeftButton);
  EXPECT_EQ(p_.Title(), "無題* - " + full);

  const std::filesystem::path path =
      std::filesystem::path(std::getenv("BRIXO_HOME")) / "a[*]b.qxmd";
  TestUi().ExpectFileDialog(path);
  p_.Command(CMainFrame::kFileSaveAs)->trigger();
  EXPECT_EQ(p_.Title(), "a[*]b.qxmd - " + full);  // Qt's placeholder in a name stays as written

  p_.Send(FrameMsg::WM_APP_CASE_CLEAR);
  EXPECT_EQ(p_.Title(), "a[*]b.qxmd* - " + full);
  p_.Command(CMainFrame::kFileSave)->trigger();
  EXPECT_EQ(p_.Title(), "a[*]b.qxmd - " + full);
  FlushDeletes();
}

// The save question of a modified document and the file dialog of 開く, real ones of the Qt Ui:
// they read in Japanese, as every standard button and dialog of Qt does.
TEST_F(ProgramCloseTest, QtsOwnBoxesAndDialogsAreJapanese) {
  Case().SetModify(true);
  const WithQtUi qt;
  OnNextModal<QMessageBox>([](QMessageBox& box) {
    EXPECT_EQ(box.text().toStdString(), kAskUnnamed);
    EXPECT_EQ(box.button(QMessageBox::Yes)->text(), QStringLiteral("はい(&Y)"));
    EXPECT_EQ(box.button(QMessageBox::No)->text(), QStringLiteral("いいえ(&N)"));
    EXPECT_EQ(box.button(QMessageBox::Cancel)->text(), QStringLiteral("キャンセル"));
    SaveShot(box, "QMessageBox-save-question");
    QTest::mouseClick(box.button(QMessageBox::Cancel), Qt::LeftButton);
  });
  EXPECT_FALSE(p_.Frame().close());
  EXPECT_TRUE(p_.Frame().isVisible());

  Case().SetModify(false);
  OnNextModal<QFileDialog>([](QFileDialog& dialog) {
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("開く"));
    SaveShot(dialog, "QFileDialog-open");
    dialog.reject();
  });
  p_.Command(CMainFrame::kFileOpen)->trigger();
}

}  // namespace
