#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QHeaderView>
#include <QSignalSpy>
#include <QTest>
#include <string>
#include <vector>

#include "stage/controls/KeyCode.h"
#include "stage/controls/SheetCell.h"
#include "stage/controls/SheetGrid.h"
#include "tests/support/qt/QtTestSupport.h"

namespace {

class SheetGridTest : public testing::Test {
 protected:
  SheetGridTest() {
    grid_.SetMaxCols(3);
    grid_.SetMaxRows(20);
    grid_.resize(400, 500);
  }

  // Fills rows 1..rows with "r,c" texts.
  void FillRows(int rows) {
    for (int row = 1; row <= rows; ++row) {
      for (int col = 1; col <= 3; ++col) {
        SpreadSetText(grid_, col, row, std::to_string(row) + "," + std::to_string(col));
      }
    }
  }

  QPoint CellCentre(int col, int row) const {
    return grid_.visualRect(grid_.model()->index(row - 1, col - 1)).center();
  }

  CSheetGrid grid_;
};

TEST_F(SheetGridTest, TabSeparatedCopyThenPasteGivesTheSameBlock) {
  FillRows(6);
  grid_.SetSelection(1, 2, 2, 4);
  grid_.ClipboardCopy();
  EXPECT_EQ(QGuiApplication::clipboard()->text(), "2,1\t2,2\n3,1\t3,2\n4,1\t4,2\n");

  grid_.SetLock(SheetBlock(2, 11), true);
  grid_.SetSelection(1, 10, 1, 10);
  grid_.ClipboardPaste();
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(grid_.Text(1, 10 + i), grid_.Text(1, 2 + i));
    // The locked cell keeps its (empty) text.
    EXPECT_EQ(grid_.Text(2, 10 + i), i == 1 ? "" : grid_.Text(2, 2 + i));
  }

  grid_.SetSelection(3, 1, 3, 2);
  grid_.ClipboardCut();
  EXPECT_EQ(QGuiApplication::clipboard()->text(), "1,3\n2,3\n");
  EXPECT_EQ(grid_.Text(3, 1), "");
  EXPECT_EQ(grid_.Text(3, 3), "3,3");
}

TEST_F(SheetGridTest, PastingCutsWhatFallsOutsideTheGrid) {
  QGuiApplication::clipboard()->setText("a\tb\tc\td\r\ne\tf\tg\th\r\n");
  grid_.SetActiveCell(2, 20);
  grid_.ClipboardPaste();
  EXPECT_EQ(grid_.Text(2, 20), "a");
  EXPECT_EQ(grid_.Text(3, 20), "b");
  EXPECT_EQ(grid_.DataRowCnt(), 20);
}

TEST_F(SheetGridTest, InsertingFiveRowsAtRowThreeOfTenGivesFifteen) {
  FillRows(10);
  grid_.InsertRows(3, 5);
  EXPECT_EQ(grid_.DataRowCnt(), 15);
  EXPECT_EQ(grid_.MaxRows(), 20);
  EXPECT_EQ(grid_.Text(1, 2), "2,1");
  EXPECT_EQ(grid_.Text(1, 3), "");
  EXPECT_EQ(grid_.Text(1, 8), "3,1");
  EXPECT_EQ(grid_.Text(3, 15), "10,3");
  grid_.DeleteRows(3, 5);
  EXPECT_EQ(grid_.DataRowCnt(), 10);
  EXPECT_EQ(grid_.Text(1, 3), "3,1");
}

// The terrain page inserts copied rows this way: make room, insert far more rows than the
// clipboard holds, paste, and delete the inserted rows that stayed empty.
TEST_F(SheetGridTest, CopiedRowsInsertedInFrontOfRowThreeFollowedByTheOldRows) {
  FillRows(10);
  QGuiApplication::clipboard()->setText("p1\tq1\np2\tq2\np3\tq3\np4\tq4\np5\tq5\n");
  const int first = 3;
  grid_.SetMaxRows(grid_.MaxRows() + 10000);
  grid_.SetReDraw(false);
  grid_.InsertRows(first, 10000);
  grid_.SetReDraw(true);
  grid_.SetSelection(1, first, 1, first);
  grid_.ClipboardPaste();
  int empty = first;
  while (empty <= grid_.MaxRows() &&
         (!grid_.Text(1, empty).isEmpty() || !grid_.Text(2, empty).isEmpty())) {
    ++empty;
  }
  grid_.DeleteRows(empty, first + 10000 - empty);
  grid_.SetMaxRows(20);
  EXPECT_EQ(grid_.DataRowCnt(), 15);
  EXPECT_EQ(grid_.Text(1, 7), "p5");
  EXPECT_EQ(grid_.Text(1, 8), "3,1");
  EXPECT_EQ(grid_.Text(3, 15), "10,3");
}

TEST_F(SheetGridTest, HeaderRowsAndRowHeadersHoldTheirOwnTexts) {
  grid_.SetColHeaderRows(2);
  grid_.SetText(SheetBlock(1, CSheetGrid::kHeaderRow), "結果\nクリア");
  grid_.SetText(SheetBlock(CSheetGrid::kAll, CSheetGrid::kHeaderRow2), "m");
  grid_.SetText(SheetBlock(CSheetGrid::kRowHeaderCol, 4), "No.4");
  grid_.SetText(SheetBlock(CSheetGrid::kRowHeaderCol, CSheetGrid::kHeaderRow), "▼");
  grid_.AddCellSpan(2, CSheetGrid::kHeaderRow, 2, 1);
  EXPECT_EQ(grid_.Text(1, CSheetGrid::kHeaderRow), "結果\nクリア");
  EXPECT_EQ(grid_.Text(3, CSheetGrid::kHeaderRow2), "m");
  EXPECT_EQ(grid_.Text(CSheetGrid::kRowHeaderCol, 4), "No.4");
  EXPECT_EQ(grid_.Text(CSheetGrid::kRowHeaderCol, CSheetGrid::kHeaderRow), "▼");
  EXPECT_EQ(grid_.Text(1, 1), "");
  EXPECT_EQ(grid_.DataRowCnt(), 0);
  // Two header rows, the first of two lines: the header is at least three lines high.
  EXPECT_GE(grid_.horizontalHeader()->sizeHint().height(), 3 * grid_.fontMetrics().height());
}

TEST_F(SheetGridTest, CheckBoxCellsHoldOneOrZero) {
  grid_.SetCellType(SheetBlock(1, CSheetGrid::kAll), SheetCellType::CheckBox);
  SpreadSetInt(grid_, 1, 2, 1);
  SpreadSetText(grid_, 1, 3, "0");
  EXPECT_EQ(SpreadGetValue(grid_, 1, 1), "0");
  EXPECT_EQ(SpreadGetValue(grid_, 1, 2), "1");
  EXPECT_EQ(SpreadGetValue(grid_, 1, 3), "0");
  EXPECT_EQ(grid_.DataRowCnt(), 0);  // check boxes are no data

  ASSERT_TRUE(ShowActive(grid_));
  QSignalSpy clicked(&grid_, &CSheetGrid::ButtonClicked);
  QTest::mouseClick(grid_.viewport(), Qt::LeftButton, {}, CellCentre(1, 3));
  EXPECT_EQ(SpreadGetValue(grid_, 1, 3), "1");
  ASSERT_EQ(clicked.count(), 1);
  EXPECT_EQ(clicked[0], (QList<QVariant>{1, 3, 1}));

  grid_.SetLock(SheetBlock(1, 3), true);
  QTest::mouseClick(grid_.viewport(), Qt::LeftButton, {}, CellCentre(1, 3));
  EXPECT_EQ(SpreadGetValue(grid_, 1, 3), "1");
  EXPECT_EQ(clicked.count(), 1);
}

TEST_F(SheetGridTest, LockedCellsWithoutOwnColourShowTheLockColour) {
  grid_.SetLockBackColor(Color{0xB8FFFF});
  grid_.SetLock(SheetBlock(1, 1, 2, 1), true);
  grid_.SetBackColor(SheetBlock(2, 1), Color{0xC0FFFF});
  const auto shown = [this](int col, int row) {
    return grid_.model()->index(row - 1, col - 1).data(Qt::BackgroundRole).value<QBrush>().color();
  };
  EXPECT_EQ(shown(1, 1), QColor(255, 255, 184));  // COLORREF 0xB8FFFF is light yellow
  EXPECT_EQ(shown(2, 1), QColor(255, 255, 192));
  EXPECT_EQ(shown(3, 1), QColor(255, 255, 255));
}

TEST_F(SheetGridTest, TypingIntoACellRaisesEditModeAndChange) {
  grid_.SetDecimalPlaces(SheetBlock(2, CSheetGrid::kAll), 3);
  ASSERT_TRUE(ShowActive(grid_));
  QSignalSpy editMode(&grid_, &CSheetGrid::EditModeChanged);
  QSignalSpy change(&grid_, &CSheetGrid::Change);
  grid_.SetActiveCell(2, 4);
  EXPECT_FALSE(grid_.EditMode());
  QTest::keyClicks(&grid_, "1");  // the first key opens the cell's editor, which takes the rest
  EXPECT_TRUE(grid_.EditMode());
  QTest::keyClicks(QApplication::focusWidget(), ".5");
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
  QCoreApplication::processEvents();  // the editor commits on a queued call
  EXPECT_FALSE(grid_.EditMode());
  EXPECT_EQ(grid_.Text(2, 4), "1.500");
  EXPECT_EQ(grid_.Value(2, 4), "1.5");  // the number as typed; only its display is rounded
  ASSERT_EQ(change.count(), 1);
  EXPECT_EQ(change[0], (QList<QVariant>{2, 4}));
  ASSERT_EQ(editMode.count(), 2);
  EXPECT_EQ(editMode[0], (QList<QVariant>{2, 4, 1, false}));
  EXPECT_EQ(editMode[1], (QList<QVariant>{2, 4, 0, true}));

  grid_.SetLock(SheetBlock(3, 4), true);
  grid_.SetActiveCell(3, 4);
  QTest::keyClicks(&grid_, "7");
  EXPECT_FALSE(grid_.EditMode());
  EXPECT_EQ(grid_.Text(3, 4), "");
}

TEST_F(SheetGridTest, LeaveCellVetoKeepsTheActiveCell) {
  FillRows(3);
  ASSERT_TRUE(ShowActive(grid_));
  // As the terrain page does: the cursor may go at most one row below the last point.
  std::vector<QList<int>> asked;
  QObject::connect(&grid_, &CSheetGrid::LeaveCell,
                   [&](int col, int row, int newCol, int newRow, bool* cancel) {
                     asked.push_back({col, row, newCol, newRow});
                     *cancel = newRow > grid_.DataRowCnt() + 1;
                   });
  grid_.SetActiveCell(1, 4);
  QTest::keyClick(&grid_, Qt::Key_Down);
  EXPECT_EQ(grid_.ActiveRow(), 4);
  QTest::mouseClick(grid_.viewport(), Qt::LeftButton, {}, CellCentre(2, 9));
  EXPECT_EQ(grid_.ActiveRow(), 4);
  EXPECT_EQ(grid_.ActiveCol(), 1);
  QTest::keyClick(&grid_, Qt::Key_Up);
  EXPECT_EQ(grid_.ActiveRow(), 3);
  QTest::mouseClick(grid_.viewport(), Qt::LeftButton, {}, CellCentre(3, 1));
  EXPECT_EQ(grid_.ActiveCol(), 3);
  EXPECT_EQ(grid_.ActiveRow(), 1);
  EXPECT_EQ(asked,
            (std::vector<QList<int>>{{1, 4, 1, 5}, {1, 4, 2, 9}, {1, 4, 1, 3}, {1, 3, 3, 1}}));
}

TEST_F(SheetGridTest, DeleteEmptiesTheUnlockedSelectionThenReportsTheKey) {
  FillRows(5);
  grid_.SetLock(SheetBlock(2, 3), true);
  ASSERT_TRUE(ShowActive(grid_));
  grid_.SetSelection(1, 2, 3, 4);
  std::vector<int> keys;
  QObject::connect(&grid_, &CSheetGrid::KeyDown, [&](int* key, int /*shift*/) {
    keys.push_back(*key);
    EXPECT_EQ(grid_.Text(1, 2), "");  // already emptied when the dialog hears the key
  });
  QTest::keyClick(&grid_, Qt::Key_Delete);
  EXPECT_EQ(keys, std::vector<int>{kKeyDelete});
  EXPECT_EQ(grid_.Text(2, 3), "3,2");
  EXPECT_EQ(grid_.Text(3, 4), "");
  EXPECT_EQ(grid_.Text(1, 5), "5,1");
}

TEST_F(SheetGridTest, KeysReachTheDialogAlsoWhileEditing) {
  ASSERT_TRUE(ShowActive(grid_));
  std::vector<std::pair<int, int>> keys;
  QObject::connect(&grid_, &CSheetGrid::KeyDown, [&](int* key, int shift) {
    keys.emplace_back(*key, shift);
    if (*key == kKeyMultiply) *key = 0;  // swallowed
  });
  grid_.SetActiveCell(1, 1);
  QTest::keyClick(&grid_, Qt::Key_Asterisk, Qt::KeypadModifier);
  EXPECT_FALSE(grid_.EditMode());
  QTest::keyClick(&grid_, Qt::Key_5);
  ASSERT_TRUE(grid_.EditMode());
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Asterisk);
  EXPECT_EQ(keys,
            (std::vector<std::pair<int, int>>{{kKeyMultiply, 0}, {'5', 0}, {kKeyAsterisk, 0}}));
}

TEST_F(SheetGridTest, ClicksReportCellsAndHeadersInGridNumbering) {
  ASSERT_TRUE(ShowActive(grid_));
  QSignalSpy click(&grid_, &CSheetGrid::Click);
  QSignalSpy doubleClick(&grid_, &CSheetGrid::DblClick);
  QSignalSpy block(&grid_, &CSheetGrid::BlockSelected);
  QTest::mouseClick(grid_.viewport(), Qt::LeftButton, {}, CellCentre(2, 5));
  QTest::mouseDClick(grid_.viewport(), Qt::LeftButton, {}, CellCentre(2, 5));
  QHeaderView* header = grid_.horizontalHeader();
  QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                    QPoint(header->sectionViewportPosition(2) + 5, 5));
  ASSERT_GE(click.count(), 2);
  EXPECT_EQ(click.first(), (QList<QVariant>{2, 5}));
  EXPECT_EQ(click.last(), (QList<QVariant>{3, 0}));
  ASSERT_EQ(doubleClick.count(), 1);
  EXPECT_EQ(doubleClick[0], (QList<QVariant>{2, 5}));
  ASSERT_EQ(block.count(), 1);  // the header click selected column 3
  EXPECT_EQ(block[0], (QList<QVariant>{3, 1, 3, 20}));
}

}  // namespace
