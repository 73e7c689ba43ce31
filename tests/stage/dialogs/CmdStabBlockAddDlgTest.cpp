#include <gtest/gtest.h>

#include <QPushButton>
#include <QTest>
#include <utility>
#include <vector>

#include "core/stability/BlockList.h"
#include "platform/FrameMessages.h"
#include "stage/controls/SheetCell.h"
#include "stage/controls/SheetGrid.h"
#include "stage/dialogs/CmdStabBlockAddDlg.h"
#include "tests/stage/dialogs/DialogTestSupport.h"

namespace {

std::vector<double> Positions(const CBlockList& list) {
  std::vector<double> xs;
  for (int i = 0; i < list.GetXSize(); ++i) xs.push_back(list.GetX(i));
  return xs;
}

struct AddCase {
  const char* name;
  std::vector<std::pair<int, const char*>> cells;  // row, text
  int button;
  std::vector<double> appended;
};

// OK appends the filled rows in row order, unsorted and unchecked; empty rows are skipped;
// キャンセル appends nothing.
TEST(BlockAddDlg, AppendsTheFilledRowsInRowOrder) {
  for (const AddCase& c :
       {AddCase{"gaps", {{1, "12.5"}, {3, "-4"}, {6, "12.5"}}, 1, {12.5, -4.0, 12.5}},
        AddCase{"empty", {}, 1, {}}, AddCase{"cancelled", {{1, "7"}, {2, "8"}}, 2, {}}}) {
    SCOPED_TRACE(c.name);
    CBlockList list;
    list.CopyStX({30.0, 10.0});
    CCmdStabBlockAddDlg d;
    d.SetBlockList(&list);
    ASSERT_TRUE(ShowActive(d));
    EXPECT_EQ(d.windowTitle(), "X座標の追加");
    CSheetGrid& grid = *Ctl<CSheetGrid>(d, 5419);
    EXPECT_EQ(grid.MaxRows(), CCmdStabBlockAddDlg::kRows);
    for (const auto& [row, text] : c.cells) TypeIntoCell(grid, 1, row, QString::fromUtf8(text));
    QTest::mouseClick(Ctl<QPushButton>(d, c.button), Qt::LeftButton);
    EXPECT_FALSE(d.isVisible());
    EXPECT_EQ(d.result(), c.button == 1 ? QDialog::Accepted : QDialog::Rejected);
    std::vector<double> expected{30.0, 10.0};
    expected.insert(expected.end(), c.appended.begin(), c.appended.end());
    EXPECT_EQ(Positions(list), expected);
  }
}

// Delete clears the selected cells and asks the frame to redraw.
TEST(BlockAddDlg, DeleteClearsTheSelectionAndRedraws) {
  CBlockList list;
  CCmdStabBlockAddDlg d;
  d.SetBlockList(&list);
  ASSERT_TRUE(ShowActive(d));
  CSheetGrid& grid = *Ctl<CSheetGrid>(d, 5419);
  TypeIntoCell(grid, 1, 1, QStringLiteral("1"));
  TypeIntoCell(grid, 1, 2, QStringLiteral("2"));
  grid.setFocus();
  grid.SetSelection(1, 1, 1, 2);
  QTest::keyClick(&grid, Qt::Key_Delete);
  EXPECT_EQ(SpreadGetDbl(grid, 1, 1), kNoValue);
  EXPECT_EQ(SpreadGetDbl(grid, 1, 2), kNoValue);
  ASSERT_FALSE(TestUi().FrameMessages().empty());
  EXPECT_EQ(TestUi().FrameMessages().back(), (FrameMessage{FrameMsg::WM_APP_REDRAW, 0, 0}));
  QTest::mouseClick(Ctl<QPushButton>(d, 1), Qt::LeftButton);
  EXPECT_EQ(list.GetXSize(), 0);
}

}  // namespace
