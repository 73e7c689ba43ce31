#include <gtest/gtest.h>

#include <QCheckBox>
#include <QPushButton>

#include "core/stability/MltPoint.h"
#include "stage/controls/SheetGrid.h"
#include "stage/dialogs/RefStabFilterBlockDlg.h"
#include "tests/stage/dialogs/DialogTestSupport.h"

namespace {

constexpr int kOpen = CMltKey::kOpen;

CSheetGrid& Grid(CRefStabFilterBlockDlg& d) { return *Ctl<CSheetGrid>(d, 5411); }

void Press(CRefStabFilterBlockDlg& d, int id) {
  QTest::mouseClick(Ctl<QPushButton>(d, id), Qt::LeftButton);
}

TEST(RefStabFilterBlockDlg, ShowsTheKeysRangesAndGreysTheGridWhileExclusionIsOff) {
  CMltKey key;
  key.except[0] = {2, 4};
  key.except[1] = {6, kOpen};
  CRefStabFilterBlockDlg dlg(key);
  ASSERT_TRUE(ShowActive(dlg));
  EXPECT_EQ(dlg.windowTitle(), "計算結果の表示条件");
  CSheetGrid& grid = Grid(dlg);
  ASSERT_EQ(grid.MaxRows(), key.GetExceptBlockSize());
  EXPECT_EQ(grid.Text(1, 1), "2");
  EXPECT_EQ(grid.Text(2, 1), "4");
  EXPECT_EQ(grid.Text(1, 2), "6");
  EXPECT_EQ(grid.Text(2, 2), "");
  EXPECT_EQ(grid.Text(1, CSheetGrid::kHeaderRow), "ブロック番号");
  EXPECT_EQ(grid.Text(2, CSheetGrid::kHeaderRow2), "終点");

  QCheckBox* exclusion = Ctl<QCheckBox>(dlg, 5462);
  for (const bool on : {false, true, false}) {
    SCOPED_TRACE(on);
    if (exclusion->isChecked() != on) exclusion->click();
    EXPECT_EQ(grid.isEnabled(), on);
    for (int row = 1; row <= grid.MaxRows(); ++row) {
      EXPECT_EQ(grid.BackColor(1, row), on ? Color{0xFFFFFF} : Color{0xCFCFCF});
      EXPECT_EQ(grid.BackColor(2, row), on ? Color{0xFFFFFF} : Color{0xCFCFCF});
    }
  }
  exclusion->click();
  SaveShot(dlg, "CRefStabFilterBlockDlg");
  // Unchecked again, OK still stores the pairs the grid holds.
  exclusion->click();
  Press(dlg, 1);
  EXPECT_EQ(key.exceptOn, 0);
  EXPECT_EQ(key.except[0], (CMltKey::Range{2, 4}));
  EXPECT_EQ(key.except[1], (CMltKey::Range{6, kOpen}));
}

// Typed pairs and what OK stores: a reversed pair in ascending order, an open end kept open.
TEST(RefStabFilterBlockDlg, OkStoresThePairsAscendingAndKeepsOpenEnds) {
  const struct {
    const char* start;
    const char* end;
    CMltKey::Range stored;
  } pairs[] = {
      {"7", "3", {3, 7}},    {"3", "7", {3, 7}},     {"5", "", {5, kOpen}},
      {"", "5", {kOpen, 5}}, {"0", "4", {kOpen, 4}}, {"", "", {kOpen, kOpen}},
      {"9", "9", {9, 9}},
  };
  CMltKey key;
  CRefStabFilterBlockDlg dlg(key);
  ASSERT_TRUE(ShowActive(dlg));
  Ctl<QCheckBox>(dlg, 5462)->click();
  CSheetGrid& grid = Grid(dlg);
  int row = 1;
  for (const auto& p : pairs) {
    if (*p.start != '\0') TypeIntoCell(grid, 1, row, p.start);
    if (*p.end != '\0') TypeIntoCell(grid, 2, row, p.end);
    ++row;
  }
  // An edit that ends on 0 empties its cell and redraws.
  EXPECT_EQ(grid.Text(1, 5), "");
  EXPECT_EQ(TestUi().FrameMessages().back(), (FrameMessage{FrameMsg::WM_APP_REDRAW, 0, 0}));
  Press(dlg, 1);
  EXPECT_EQ(key.exceptOn, 1);
  row = 0;
  for (const auto& p : pairs) {
    SCOPED_TRACE(testing::Message() << p.start << " – " << p.end);
    EXPECT_EQ(key.except.at(static_cast<std::size_t>(row++)), p.stored);
  }
}

TEST(RefStabFilterBlockDlg, CancelLeavesTheKey) {
  CMltKey key;
  key.except[0] = {2, 4};
  const CMltKey before = key;
  CRefStabFilterBlockDlg dlg(key);
  ASSERT_TRUE(ShowActive(dlg));
  Ctl<QCheckBox>(dlg, 5462)->click();
  TypeIntoCell(Grid(dlg), 1, 1, "8");
  Press(dlg, 2);
  EXPECT_EQ(dlg.result(), QDialog::Rejected);
  EXPECT_TRUE(key.IsSame(before));
}

}  // namespace
