#include <gtest/gtest.h>

#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include "stage/controls/SheetGrid.h"
#include "stage/dialogs/RefShearGoDlg.h"
#include "tests/support/qt/QtTestSupport.h"

namespace {

TEST(RefShearGoDlgTest, HandsBackTheG0OfTheChosenSiteAndKeepsTheGivenOneOtherwise) {
  struct Example {
    int option;  // 0: none clicked
    int button;
    double g0;
  };
  const Example examples[] = {
      {0, 1, 26000.0}, {7380, 1, 22300.0}, {7379, 1, 26000.0}, {7380, 2, 12345.0}};
  for (const Example& e : examples) {
    SCOPED_TRACE(e.option);
    CRefShearGoDlg dlg(12345.0);
    ASSERT_TRUE(ShowActive(dlg));
    EXPECT_EQ(dlg.windowTitle(), "参考値：せん断弾性係数");
    const CSheetGrid& table = *Ctl<CSheetGrid>(dlg, 7378);
    EXPECT_EQ(table.Text(2, 4), "26000");
    EXPECT_EQ(table.Text(3, 2), "17.6");
    if (e.option != 0) QTest::mouseClick(Ctl<QRadioButton>(dlg, e.option), Qt::LeftButton);
    QTest::mouseClick(Ctl<QPushButton>(dlg, e.button), Qt::LeftButton);
    EXPECT_EQ(dlg.G0(), e.g0);
  }
}

}  // namespace
