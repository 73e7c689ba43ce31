#pragma once
// What the tests of the step-1 dialogs share: a core whose active case is the sample case (with
// its strata, block division and results), and the user's ways into a grid cell.

#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QString>
#include <QTest>

#include "core/case/Case.h"
#include "core/case/ManageCore.h"
#include "stage/controls/ExpEdit.h"
#include "stage/controls/SheetGrid.h"
#include "tests/support/SampleDocument.h"
#include "tests/support/ScriptedUi.h"
#include "tests/support/qt/QtTestSupport.h"

class SampleCaseTest : public ::testing::Test {
 protected:
  SampleCaseTest() {
    core_.InitCore(0);
    FillSampleCase(Case(), 0);
    Case().SetModify(false);
  }

  CCase& Case() { return *core_.GetActiveCase(); }

  CManageCore core_;
};

// Types the text into the cell the way a user does: the cell active, the keys, Enter. Empty text
// deletes the cell's content.
inline void TypeIntoCell(CSheetGrid& grid, int col, int row, const QString& text) {
  grid.setFocus();
  grid.SetActiveCell(col, row);
  if (text.isEmpty()) {
    QTest::keyClick(&grid, Qt::Key_Delete);
    return;
  }
  grid.scrollTo(grid.model()->index(row - 1, col - 1));  // an editor opens on a visible cell
  TypeText(&grid, text.left(1));                         // the first key opens the cell's editor
  QWidget* editor = QApplication::focusWidget();
  for (QLineEdit* open : grid.findChildren<QLineEdit*>()) {
    if (open->isVisible()) editor = open;  // also when a dialog under this one holds the focus
  }
  TypeText(editor, text.mid(1));
  QTest::keyClick(editor, Qt::Key_Return);
  QCoreApplication::processEvents();  // the editor commits on a queued call
}

// Replaces a field's text as a user does (empty text deletes it) and leaves the field, which runs
// its check.
inline void TypeField(CExpEdit* field, const QString& text) {
  field->setFocus();
  field->selectAll();
  if (text.isEmpty()) {
    QTest::keyClick(field, Qt::Key_Delete);
  } else {
    QTest::keyClicks(field, text);
  }
  QTest::keyClick(field, Qt::Key_Tab);
}

inline void ClickCell(CSheetGrid& grid, int col, int row) {
  const QRect cell = grid.visualRect(grid.model()->index(row - 1, col - 1));
  QTest::mouseClick(grid.viewport(), Qt::LeftButton, Qt::NoModifier, cell.center());
}
