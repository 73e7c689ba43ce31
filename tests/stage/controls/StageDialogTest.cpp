#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

#include <QApplication>
#include <QHBoxLayout>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>
#include <vector>

#include "platform/qt/ModalRunner.h"
#include "stage/controls/ExpEdit.h"
#include "stage/controls/SheetGrid.h"
#include "stage/controls/StageDialog.h"
#include "tests/support/qt/QtTestSupport.h"

namespace {

// A dialog of the usual build: two fields, a reference button, a grid, then the row of OK and
// Cancel.
class SampleDlg : public StageDialog {
  Q_OBJECT

 public:
  SampleDlg() {
    auto* layout = new QVBoxLayout(this);
    for (QWidget* w : {static_cast<QWidget*>(first), static_cast<QWidget*>(second),
                       static_cast<QWidget*>(reference), static_cast<QWidget*>(grid)}) {
      layout->addWidget(w);
    }
    layout->addLayout(row.layout);
    SetId(first, 4204);
    SetId(second, 4205);
    SetId(grid, 4218);
    grid->SetMaxCols(2);
    grid->SetMaxRows(2);
  }

  void OnOK() override {
    ++oks;
    StageDialog::OnOK();
  }
  void OnCancel() override {
    ++cancels;
    StageDialog::OnCancel();
  }

  CExpEdit* first = new CExpEdit;
  CExpEdit* second = new CExpEdit;
  QPushButton* reference = new QPushButton(QStringLiteral("参考値"));
  CSheetGrid* grid = new CSheetGrid;
  const OkCancelRow row = MakeOkCancelRow();
  QPushButton* const ok = row.ok;
  QPushButton* const cancel = row.cancel;
  int oks = 0;
  int cancels = 0;
};

void PressEnter() { QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return); }

TEST(StageDialogTest, EscapeNeverCloses) {
  SampleDlg dlg;
  ASSERT_TRUE(ShowActive(dlg));
  QTest::keyClick(dlg.first, Qt::Key_Escape);
  QTest::keyClick(dlg.grid, Qt::Key_Escape);
  EXPECT_TRUE(dlg.isVisible());
  EXPECT_EQ(dlg.cancels, 0);
  dlg.close();
}

// Enter walks the focus chain, through the grid cell by cell, without pressing the reference
// button on its way; on OK it presses OK.
TEST(StageDialogTest, EnterMovesOnUntilOk) {
  SampleDlg dlg;
  ASSERT_TRUE(ShowActive(dlg));
  for (QPushButton* button : dlg.findChildren<QPushButton*>()) {
    EXPECT_FALSE(button->isDefault() || button->autoDefault()) << button->text().toStdString();
  }
  QSignalSpy referenceClicked(dlg.reference, &QPushButton::clicked);
  dlg.first->setFocus();
  PressEnter();
  EXPECT_EQ(QApplication::focusWidget(), dlg.second);
  PressEnter();
  EXPECT_EQ(QApplication::focusWidget(), dlg.reference);
  PressEnter();
  EXPECT_EQ(referenceClicked.count(), 0);
  EXPECT_EQ(QApplication::focusWidget(), dlg.grid);
  dlg.grid->SetActiveCell(1, 1);
  PressEnter();
  EXPECT_EQ(dlg.grid->ActiveCol(), 2);
  PressEnter();
  EXPECT_EQ(dlg.grid->ActiveRow(), 2);
  // While a cell is edited, Enter belongs to the cell.
  QTest::keyClicks(dlg.grid, "7");
  ASSERT_TRUE(dlg.grid->EditMode());
  PressEnter();
  QCoreApplication::processEvents();
  EXPECT_EQ(dlg.grid->Text(1, 2), "7");
  EXPECT_EQ(dlg.grid->ActiveCol(), 1);
  EXPECT_TRUE(dlg.isVisible());

  dlg.ok->setFocus();
  PressEnter();
  EXPECT_EQ(dlg.oks, 1);
  EXPECT_FALSE(dlg.isVisible());
  EXPECT_EQ(dlg.result(), QDialog::Accepted);
}

TEST(StageDialogTest, TheCloseButtonActsAsCancel) {
  SampleDlg dlg;
  ASSERT_TRUE(ShowActive(dlg));
  dlg.close();
  EXPECT_EQ(dlg.cancels, 1);
  EXPECT_EQ(dlg.result(), QDialog::Rejected);

  ASSERT_TRUE(ShowActive(dlg));
  QTest::mouseClick(dlg.cancel, Qt::LeftButton);
  EXPECT_EQ(dlg.cancels, 2);
  EXPECT_FALSE(dlg.isVisible());
}

// The row ends in the buttons with ids 1 and 2 and the captions the dialog gives them; a null
// caption leaves its button out, and the leading widgets come first.
TEST(StageDialogTest, TheRowHoldsTheLeadingWidgetsAndTheCaptionedButtons) {
  const struct {
    const char* what;
    EndCaptions captions;
    std::vector<QString> texts;  // the buttons from the left
  } rows[] = {
      {"default", {}, {"参考値", "OK", "キャンセル"}},
      {"other captions", {.ok = "代入", .cancel = "閉じる"}, {"参考値", "代入", "閉じる"}},
      {"close only", {.ok = nullptr, .cancel = "閉じる"}, {"参考値", "閉じる"}},
      {"OK only", {.cancel = nullptr}, {"参考値", "OK"}},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.what);
    QWidget holder;
    auto* reference = new QPushButton(QStringLiteral("参考値"));
    const OkCancelRow row = MakeOkCancelRow({reference}, r.captions);
    holder.setLayout(row.layout);
    std::vector<QString> texts;
    for (int i = 0; i < row.layout->count(); ++i) {
      if (auto* button = qobject_cast<QPushButton*>(row.layout->itemAt(i)->widget())) {
        texts.push_back(button->text());
      }
    }
    EXPECT_EQ(texts, r.texts);
    EXPECT_EQ(row.ok, holder.findChild<QPushButton*>(QStringLiteral("1")));
    EXPECT_EQ(row.cancel, holder.findChild<QPushButton*>(QStringLiteral("2")));
    EXPECT_EQ(row.ok != nullptr, r.captions.ok != nullptr);
    EXPECT_EQ(row.cancel != nullptr, r.captions.cancel != nullptr);
  }
}

TEST(StageDialogTest, AScriptedModalRunIsDrivenByItsScript) {
  ExpectModal<SampleDlg>([](SampleDlg& dlg) {
    EXPECT_TRUE(dlg.isVisible());
    QTest::mouseClick(Ctl<QPushButton>(dlg, 1), Qt::LeftButton);
  });
  SampleDlg dlg;
  EXPECT_EQ(RunModal(dlg), QDialog::Accepted);
  EXPECT_EQ(dlg.oks, 1);
}

TEST(StageDialogTest, AModalRunNobodyScriptedFailsAndIsRejected) {
  SampleDlg dlg;
  int result = QDialog::Accepted;
  EXPECT_NONFATAL_FAILURE(result = RunModal(dlg), "no test script expected it");
  EXPECT_EQ(result, QDialog::Rejected);
  EXPECT_FALSE(dlg.isVisible());
}

TEST(StageDialogTest, AScriptThatLeavesTheDialogOpenFails) {
  ExpectModal<SampleDlg>([](SampleDlg& /*dlg*/) {});
  SampleDlg dlg;
  EXPECT_NONFATAL_FAILURE(RunModal(dlg), "left the dialog open");
  EXPECT_FALSE(dlg.isVisible());
}

}  // namespace

#include "StageDialogTest.moc"
