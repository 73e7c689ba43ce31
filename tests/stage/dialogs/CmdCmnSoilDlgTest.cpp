#include <gtest/gtest.h>

#include <QColorDialog>
#include <QPushButton>
#include <functional>
#include <string>

#include "core/base/AppIdentity.h"
#include "core/section/SpStratum.h"
#include "stage/controls/SheetGrid.h"
#include "stage/dialogs/CmdCmnSoilDlg.h"
#include "stage/dialogs/RefCmnGeologyListDlg.h"
#include "tests/stage/dialogs/DialogTestSupport.h"

namespace {

class SoilDlgTest : public SampleCaseTest {
 protected:
  const CSpStratumBlock& CaseBlock(int index) {
    return dynamic_cast<const CSpStratumBlock&>(*Case().GetGround().GetPolyArray()->GetAt(index));
  }
  const std::string& CaseName(int index) { return CaseBlock(index).GetPropPtr()->GetName(); }
  const tagSATURATE& CaseSoil(int index) { return *CaseBlock(index).GetPropStructure(); }

  static CSheetGrid& Grid(CCmdCmnSoilDlg& dlg) { return *Ctl<CSheetGrid>(dlg, 4224); }
  static void Press(CCmdCmnSoilDlg& dlg, int id) {
    QTest::mouseClick(Ctl<QPushButton>(dlg, id), Qt::LeftButton);
  }
};

TEST_F(SoilDlgTest, ShowsEveryStratumWithItsConstants) {
  CCmdCmnSoilDlg dlg(core_, Case());
  ASSERT_TRUE(ShowActive(dlg));
  EXPECT_EQ(dlg.windowTitle(), "土質定数");
  CSheetGrid& grid = Grid(dlg);
  ASSERT_EQ(grid.MaxRows(), Case().GetGround().GetPolyArray()->GetSize());
  EXPECT_EQ(grid.Text(1, CSheetGrid::kHeaderRow), "地層名");
  EXPECT_EQ(grid.Text(5, CSheetGrid::kHeaderRow), "内部\n摩擦角\nφ (°)");
  for (int row = 1; row <= grid.MaxRows(); ++row) {
    EXPECT_EQ(grid.Text(1, row).toStdString(), CaseName(row - 1));
    EXPECT_EQ(grid.BackColor(2, row), CaseBlock(row - 1).GetPropColor());
    EXPECT_EQ(grid.Value(5, row).toDouble(), CaseSoil(row - 1).phi);
  }
  SaveShot(dlg, "CCmdCmnSoilDlg");
  dlg.close();
}

// Unit weights above 0, 0 <= phi < 90, c >= 0, an empty cell allowed: a broken rule is refused
// when the cell is left, with a message naming the cell, and the active cell stays.
TEST_F(SoilDlgTest, RefusesAValueOutOfRangeOnLeavingTheCell) {
  const struct {
    int col;
    const char* typed;
    const char* message;  // nullptr: accepted
  } cases[] = {
      {3, "0", "2行目の湿潤単位体積重量γtには0より大きい数値を入力してください。"},
      {3, "-1", "2行目の湿潤単位体積重量γtには0より大きい数値を入力してください。"},
      {3, "abc", "2行目の湿潤単位体積重量γtには0より大きい数値を入力してください。"},
      {4, "0", "2行目の飽和単位体積重量γsatには0より大きい数値を入力してください。"},
      {5, "90", "2行目の内部摩擦角φには0以上90未満の数値を入力してください。"},
      {5, "-0.5", "2行目の内部摩擦角φには0以上90未満の数値を入力してください。"},
      {6, "-0.1", "2行目の粘着力cには0以上の数値を入力してください。"},
      {3, "0.1", nullptr},
      {5, "0", nullptr},
      {5, "89.9", nullptr},
      {6, "0", nullptr},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string("column ") + std::to_string(c.col) + " typed " + c.typed);
    CCmdCmnSoilDlg dlg(core_, Case());
    ASSERT_TRUE(ShowActive(dlg));
    CSheetGrid& grid = Grid(dlg);
    TypeIntoCell(grid, c.col, 2, QString::fromUtf8(c.typed));
    if (c.message != nullptr) TestUi().ExpectMessageBox(MsgResult::Ok, c.message);
    QTest::keyClick(&grid, Qt::Key_Down);
    EXPECT_EQ(grid.ActiveRow(), c.message != nullptr ? 2 : 3);
    if (c.message != nullptr) {
      EXPECT_EQ(TestUi().MessageBoxes().back().caption, GetAppTitle());
      EXPECT_EQ(TestUi().MessageBoxes().back().icon, MsgIcon::Warning);
    }
    dlg.close();
  }
}

// An empty cell is allowed and stores the unset value; OK checks every cell once more and names
// the first that breaks its rule, leaving the case untouched and the dialog open.
TEST_F(SoilDlgTest, OkChecksEveryCellAndKeepsAnEmptyOneUnset) {
  CCmdCmnSoilDlg dlg(core_, Case());
  ASSERT_TRUE(ShowActive(dlg));
  CSheetGrid& grid = Grid(dlg);
  grid.setFocus();
  grid.SetActiveCell(6, 1);
  QTest::keyClick(&grid, Qt::Key_Delete);
  EXPECT_EQ(grid.Text(6, 1), "");
  TypeIntoCell(grid, 5, 3, "95");
  TestUi().ExpectMessageBox(MsgResult::Ok,
                            "3行目の内部摩擦角φには0以上90未満の数値を入力してください。");
  Press(dlg, 1);
  EXPECT_TRUE(dlg.isVisible());
  EXPECT_EQ(grid.ActiveCol(), 5);
  EXPECT_EQ(grid.ActiveRow(), 3);
  EXPECT_FALSE(Case().IsModified());
  EXPECT_NE(CaseSoil(0).c, kNoValue);

  TypeIntoCell(grid, 5, 3, "35");
  Press(dlg, 1);
  EXPECT_FALSE(dlg.isVisible());
  EXPECT_EQ(CaseSoil(0).c, kNoValue);
  EXPECT_EQ(CaseSoil(2).phi, 35.0);
}

// A number cell shows the decimals of its rounding code, yet what was typed is what is stored.
TEST_F(SoilDlgTest, KeepsTheValueTypedNotItsRoundedDisplay) {
  CCmdCmnSoilDlg dlg(core_, Case());
  ASSERT_TRUE(ShowActive(dlg));
  CSheetGrid& grid = Grid(dlg);
  TypeIntoCell(grid, 5, 1, "27.123456");
  TypeIntoCell(grid, 3, 1, "18.56789");
  EXPECT_EQ(grid.Text(3, 1), "18.57");
  Press(dlg, 1);
  EXPECT_EQ(CaseSoil(0).phi, 27.123456);
  EXPECT_EQ(CaseSoil(0).gammaT, 18.56789);
}

// OK marks the case modified on any change and copies the ground back; results go only when a
// value the calculations use changed. Rows are compared by position, so a move alone is a change
// (the block division names its stratum by position), and so are the constants it moves.
TEST_F(SoilDlgTest, OkMarksChangesAndClearsResultsOnlyForCalculationValues) {
  const struct {
    const char* what;
    std::function<void(CCmdCmnSoilDlg&)> edit;
    bool modified;
    bool resultsKept;
  } cases[] = {
      {"nothing", [](CCmdCmnSoilDlg&) {}, false, true},
      {"a name", [](CCmdCmnSoilDlg& d) { TypeIntoCell(Grid(d), 1, 2, "砂岩"); }, true, true},
      {"a colour",
       [](CCmdCmnSoilDlg& d) {
         ExpectModal<QColorDialog>([](QColorDialog& colours) {
           colours.setCurrentColor(QColor(10, 20, 30));
           colours.accept();
         });
         ClickCell(Grid(d), 2, 1);
         EXPECT_EQ(Grid(d).BackColor(2, 1), Color::Rgb(10, 20, 30));
       },
       true, true},
      {"the order",
       [](CCmdCmnSoilDlg& d) {
         Grid(d).SetActiveCell(1, 1);
         Press(d, 4232);
       },
       true, false},
      {"the friction angle", [](CCmdCmnSoilDlg& d) { TypeIntoCell(Grid(d), 5, 2, "31"); }, true,
       false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    Case().Init();
    FillSampleCase(Case(), 0);
    Case().SetModify(false);
    ASSERT_TRUE(Case().IsResStab());
    const CDPolyArray* strataBefore = Case().GetGround().GetPolyArray();
    CCmdCmnSoilDlg dlg(core_, Case());
    ASSERT_TRUE(ShowActive(dlg));
    c.edit(dlg);
    Press(dlg, 1);
    EXPECT_EQ(dlg.result(), QDialog::Accepted);
    EXPECT_EQ(Case().IsModified(), c.modified);
    EXPECT_EQ(Case().GetInUse(), 1);
    EXPECT_EQ(Case().IsResStab(), c.resultsKept);
    EXPECT_EQ(Case().GetGround().GetPolyArray() == strataBefore, !c.modified);
  }
}

TEST_F(SoilDlgTest, CancelAndAColourDialogCancelledChangeNothing) {
  const Color before = CaseBlock(0).GetPropColor();
  CCmdCmnSoilDlg dlg(core_, Case());
  ASSERT_TRUE(ShowActive(dlg));
  ExpectModal<QColorDialog>([](QColorDialog& colours) {
    colours.setCurrentColor(Qt::red);
    colours.reject();
  });
  ClickCell(Grid(dlg), 2, 1);
  EXPECT_EQ(Grid(dlg).BackColor(2, 1), before);
  TypeIntoCell(Grid(dlg), 1, 1, "x");
  Press(dlg, 2);
  EXPECT_EQ(dlg.result(), QDialog::Rejected);
  EXPECT_EQ(CaseName(0), "表土");
  EXPECT_FALSE(Case().IsModified());
}

// ▲ is off in row 1 and ▼ in the last row, after every move of the cell; a move carries the
// whole row, colour included.
TEST_F(SoilDlgTest, MoveButtonsFollowTheActiveRow) {
  CCmdCmnSoilDlg dlg(core_, Case());
  ASSERT_TRUE(ShowActive(dlg));
  CSheetGrid& grid = Grid(dlg);
  auto* up = Ctl<QPushButton>(dlg, 4231);
  auto* down = Ctl<QPushButton>(dlg, 4232);
  const int last = grid.MaxRows();
  ASSERT_EQ(last, 3);
  grid.setFocus();
  grid.SetActiveCell(1, 1);
  EXPECT_FALSE(up->isEnabled());
  EXPECT_TRUE(down->isEnabled());
  for (int row = 2; row <= last; ++row) {
    QTest::keyClick(&grid, Qt::Key_Down);
    ASSERT_EQ(grid.ActiveRow(), row);
    EXPECT_TRUE(up->isEnabled());
    EXPECT_EQ(down->isEnabled(), row < last);
  }
  const Color bottomColour = grid.BackColor(2, 3);
  Press(dlg, 4231);
  EXPECT_EQ(grid.ActiveRow(), 2);
  EXPECT_EQ(grid.Text(1, 2), "基盤岩");
  EXPECT_EQ(grid.BackColor(2, 2), bottomColour);
  EXPECT_TRUE(down->isEnabled());
  Press(dlg, 4231);
  EXPECT_EQ(grid.ActiveRow(), 1);
  EXPECT_FALSE(up->isEnabled());
  dlg.close();
}

// 参考値 opens the table editor as a picker on a copy of the program's table: the file and row
// buttons are hidden, what the user types there stays there, and the picked soil fills the
// active row's name and constants but not its colour.
TEST_F(SoilDlgTest, ReferencePicksASoilFromACopyOfTheTable) {
  CRefGeology tableBefore;
  tableBefore.Copy(core_.GetRefData().geology);
  const int soil = 7;  // 砂質土A: 19, 30, 30, 19
  ASSERT_EQ(tableBefore.rows[soil - 1].name, "砂質土A");
  ExpectModal<CCmdCmnSoilDlg>([&](CCmdCmnSoilDlg& dlg) {
    ASSERT_TRUE(ShowActive(dlg));
    const Color colour = Grid(dlg).BackColor(2, 2);
    ExpectModal<CRefCmnGeologyListDlg>([&](CRefCmnGeologyListDlg& picker) {
      ASSERT_TRUE(ShowActive(picker));
      for (int hidden : {4256, 4258, 4259, 4219, 4220, 4221}) {
        EXPECT_TRUE(Ctl<QPushButton>(picker, hidden)->isHidden()) << hidden;
      }
      EXPECT_EQ(Ctl<QPushButton>(picker, 1)->text(), "代入");
      auto* grid = Ctl<CSheetGrid>(picker, 4227);
      TypeIntoCell(*grid, 5, soil, "12.5");  // cohesion, typed into the picker's copy
      SaveShot(picker, "CRefCmnGeologyListDlg_pick");
      QTest::mouseClick(Ctl<QPushButton>(picker, 1), Qt::LeftButton);
    });
    Grid(dlg).SetActiveCell(2, 2);
    Press(dlg, 4210);
    CSheetGrid& grid = Grid(dlg);
    EXPECT_EQ(grid.Text(1, 2), "砂質土A");
    EXPECT_EQ(grid.Value(3, 2).toDouble(), 19.0);
    EXPECT_EQ(grid.Value(4, 2).toDouble(), 19.0);
    EXPECT_EQ(grid.Value(5, 2).toDouble(), 30.0);
    EXPECT_EQ(grid.Value(6, 2).toDouble(), 12.5);
    EXPECT_EQ(grid.BackColor(2, 2), colour);
    Press(dlg, 1);
  });
  EXPECT_TRUE(CCmdCmnSoilDlg::Run(core_, Case(), nullptr));
  EXPECT_EQ(CaseName(1), "砂質土A");
  EXPECT_EQ(CaseSoil(1).c, 12.5);
  EXPECT_TRUE(core_.GetRefData().geology.IsSame(tableBefore));
}

TEST_F(SoilDlgTest, ACaseWithoutStrataIsRefused) {
  Case().GetGround().DeleteStratumBlock();
  TestUi().ExpectMessageBox(MsgResult::Ok, "先に[地層認識]を行って下さい。");
  EXPECT_FALSE(CCmdCmnSoilDlg::Run(core_, Case(), nullptr));
}

}  // namespace
