#include <gtest/gtest.h>

#include <QPushButton>
#include <QTest>
#include <optional>

#include "stage/controls/SheetGrid.h"
#include "stage/dialogs/RefReinfFsaDlg.h"
#include "stage/dialogs/RefReinfTaucQXDlg.h"
#include "tests/stage/dialogs/DialogTestSupport.h"

namespace {

void Press(QWidget& d, int id) { QTest::mouseClick(Ctl<QPushButton>(d, id), Qt::LeftButton); }

TEST(RefReinfTaucQXDlg, EachRowGivesItsBondStress) {
  const struct {
    int row;
    double tauc;
  } cases[] = {{1, 1.6}, {2, 1.7}, {3, 1.8}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.row);
    ExpectModal<CRefReinfTaucQXDlg>([&c](CRefReinfTaucQXDlg& d) {
      ASSERT_TRUE(ShowActive(d));
      CSheetGrid& grid = *Ctl<CSheetGrid>(d, 7341);
      EXPECT_EQ(grid.Text(1, 3), "30以上");
      EXPECT_EQ(grid.Text(2, CSheetGrid::kHeaderRow), "許容付着応力");
      ClickCell(grid, 1, c.row);
      if (c.row == 3) SaveShot(d, "CRefReinfTaucQXDlg");
      Press(d, 1);
    });
    EXPECT_EQ(CRefReinfTaucQXDlg::Choose(nullptr), c.tauc);
  }
  ExpectModal<CRefReinfTaucQXDlg>([](CRefReinfTaucQXDlg& d) { Press(d, 2); });
  EXPECT_FALSE(CRefReinfTaucQXDlg::Choose(nullptr));
}

TEST(RefReinfFsaDlg, ShowsTheSeismicFactorAndGivesBoth) {
  ExpectModal<CRefReinfFsaDlg>([](CRefReinfFsaDlg& d) {
    ASSERT_TRUE(ShowActive(d));
    EXPECT_EQ(d.windowTitle(), "参考値：周面摩擦抵抗の安全率");
    EXPECT_EQ(Ctl<CSheetGrid>(d, 7317)->Text(1, 1), "1.5");
    SaveShot(d, "CRefReinfFsaDlg");
    Press(d, 1);
  });
  const std::optional<CRefReinfFsaDlg::Factors> factors = CRefReinfFsaDlg::Choose(nullptr);
  ASSERT_TRUE(factors);
  EXPECT_EQ(factors->normal, 2.0);
  EXPECT_EQ(factors->seismic, 1.5);
}

}  // namespace
