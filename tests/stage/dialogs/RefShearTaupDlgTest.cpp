#include <gtest/gtest.h>

#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <functional>
#include <optional>

#include "stage/controls/ExpEdit.h"
#include "stage/controls/SheetGrid.h"
#include "stage/dialogs/RefShearTaupDlg.h"
#include "tests/stage/dialogs/DialogTestSupport.h"

namespace {

constexpr int kGrid = 7366;
constexpr int kNd = 7215;
constexpr int kTau = 7214;
constexpr int kFormulaMode = 7368;
constexpr int kClayRow = 15;

void Press(QWidget& d, int id) { QTest::mouseClick(Ctl<QPushButton>(d, id), Qt::LeftButton); }
void ClickMode(QWidget& d, int id) { QTest::mouseClick(Ctl<QWidget>(d, id), Qt::LeftButton); }

void TypeNd(CRefShearTaupDlg& d, const QString& text) {
  CExpEdit* nd = Ctl<CExpEdit>(d, kNd);
  nd->setFocus();
  nd->selectAll();
  QTest::keyClicks(nd, text);
  QTest::keyClick(nd, Qt::Key_Tab);
}

// Runs the picker with the script.
std::optional<double> Choose(std::function<void(CRefShearTaupDlg&)> script) {
  ExpectModal<CRefShearTaupDlg>([&script](CRefShearTaupDlg& d) {
    EXPECT_TRUE(ShowActive(d));
    script(d);
  });
  return CRefShearTaupDlg::Choose(nullptr);
}

TEST(RefShearTaupDlg, TableRowsGiveTheirValue) {
  const struct {
    int row;
    double taup;
  } cases[] = {{1, 1.2}, {2, 0.8}, {8, 0.28}, {14, 0.24}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.row);
    EXPECT_EQ(Choose([&c](CRefShearTaupDlg& d) {
                CSheetGrid& grid = *Ctl<CSheetGrid>(d, kGrid);
                EXPECT_EQ(grid.Text(4, kClayRow), "0.8×c ");
                ClickCell(grid, 3, c.row);
                Press(d, 1);
              }),
              c.taup);
  }
}

// The clay row stands for 0.8 times the clay's cohesion, which the picker does not know: it is
// refused and the picker stays open for another choice.
TEST(RefShearTaupDlg, TheClayRowIsRefusedWithAdviceToEnterTaupDirectly) {
  EXPECT_EQ(Choose([](CRefShearTaupDlg& d) {
              ClickCell(*Ctl<CSheetGrid>(d, kGrid), 1, kClayRow);
              TestUi().ExpectMessageBox(
                  MsgResult::Ok,
                  "粘性土の極限周面摩擦抵抗は粘着力cから求めます（τp = 0.8×c）。\n"
                  "τpを直接入力してください。");
              Press(d, 1);
              EXPECT_TRUE(d.isVisible());
              ClickCell(*Ctl<CSheetGrid>(d, kGrid), 1, 3);
              Press(d, 1);
            }),
            0.48);
}

// The formula τ = (13Nd + 14) / 1000 is taken in its mode whatever table row is active; without
// an Nd it gives the unset value.
TEST(RefShearTaupDlg, TheFormulaModeGivesTheFormulaValue) {
  EXPECT_DOUBLE_EQ(*Choose([](CRefShearTaupDlg& d) {
    ClickCell(*Ctl<CSheetGrid>(d, kGrid), 1, 1);
    ClickMode(d, kFormulaMode);
    EXPECT_FALSE(Ctl<CSheetGrid>(d, kGrid)->isVisible());
    EXPECT_EQ(Ctl<QLabel>(d, 7343)->text(),
              "自然斜面表層における鉄筋挿入工の引抜試験\n（学会講演資料）");
    TypeNd(d, "10");
    EXPECT_EQ(Ctl<CExpEdit>(d, kTau)->text(), "0.144");
    SaveShot(d, "CRefShearTaupDlg-formula");
    Press(d, 1);
  }),
                   0.144);
  EXPECT_EQ(Choose([](CRefShearTaupDlg& d) {
              ClickMode(d, kFormulaMode);
              Press(d, 1);
            }),
            kNoValue);
  EXPECT_FALSE(Choose([](CRefShearTaupDlg& d) {
    SaveShot(d, "CRefShearTaupDlg");
    Press(d, 2);
  }));
}

}  // namespace
