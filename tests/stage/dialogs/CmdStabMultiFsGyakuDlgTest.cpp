#include <gtest/gtest.h>

#include <QCheckBox>
#include <QClipboard>
#include <QGuiApplication>
#include <QHeaderView>
#include <QPushButton>
#include <algorithm>
#include <array>
#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include "core/base/AppIdentity.h"
#include "core/base/CoreConfig.h"
#include "stage/controls/ExpButton.h"
#include "stage/controls/ExpEdit.h"
#include "stage/controls/ExpStatic.h"
#include "stage/controls/SheetCell.h"
#include "stage/dialogs/CmdStabMultiFsGyakuDlg.h"
#include "stage/dialogs/RefStabGraphCPhiDlg.h"
#include "tests/stage/dialogs/CancelledRunTestSupport.h"
#include "tests/stage/dialogs/DialogTestSupport.h"

namespace {

constexpr const char* kStrengthChanged =
    "逆算後の採用値が変更されました。\n安定計算以降の計算結果が消去されます。\nよろしいですか？";
constexpr std::array<double, 4> kUnset{kNoValue, kNoValue, kNoValue, kNoValue};

enum Id {
  kRegister = 1,
  kCancel = 2,
  kGrid = 5247,
  kCopy = 5261,
  kCalculate = 5256,
  kGraph = 5440,
  kSwitch = 5433,
  kFs0 = 5434,
  kPhi = 5435,
  kC = 5372,
  kCount = 5482,
};

int Digit(int code) { return CCoreConfig::GetUnitFilter().Digit(code); }

const CMltPointGyaku& Gyaku(const CMltPoint* point) {
  return dynamic_cast<const CMltPointGyaku&>(*point);
}

class GyakuDlgTest : public SampleCaseTest {
 protected:
  GyakuDlgTest() { Reset(); }

  // The sample case with the back analysis switched on, Fs0 1.0 and its results from a run
  // through the core, unmodified; the forward, slide and shear results of the sample stay.
  void Reset() {
    FillSampleCase(Case(), 0);
    Prm().gyakuOn = 1;
    Prm().assumedFs = 1.0;
    EXPECT_TRUE(Case().PreCalcStabGyaku(false));
    Case().CalcStartStabGyaku();
    ASSERT_GT(Serial().size(), 2U);
    Case().SetModify(false);
  }

  CPrmStab& Prm() { return Case().GetPrmStab(); }
  CResStab2& Res() { return Case().GetResStabGyaku(); }
  const std::vector<CMltPoint*>& Serial() { return Res().GetSerial(); }
  bool ForwardKept() { return Case().GetResStab2().GetResult() != nullptr; }
  // The grid rows whose pair asks for a positive cohesion, the only ones that can be adopted.
  std::vector<int> AdoptableRows() {
    std::vector<int> rows;
    for (int row = 1; row <= static_cast<int>(Serial().size()); ++row) {
      if (Gyaku(Serial()[row - 1]).c > 0) rows.push_back(row);
    }
    EXPECT_GE(rows.size(), 2U);
    return rows;
  }

  static CSheetGrid& Grid(QWidget& d) { return *Ctl<CSheetGrid>(d, kGrid); }
  static void Press(QWidget& d, int id) {
    QTest::mouseClick(Ctl<QPushButton>(d, id), Qt::LeftButton);
  }
  static void Tick(QWidget& d, int id) {
    QCheckBox* box = Ctl<QCheckBox>(d, id);
    QTest::mouseClick(box, Qt::LeftButton, Qt::NoModifier, QPoint(8, box->height() / 2));
  }
  static void ClickHeader(CSheetGrid& grid, int col) {
    grid.scrollTo(grid.model()->index(0, col - 1));
    QHeaderView& header = *grid.horizontalHeader();
    const int x = header.sectionViewportPosition(col - 1) + header.sectionSize(col - 1) / 2;
    QTest::mouseClick(header.viewport(), Qt::LeftButton, Qt::NoModifier,
                      QPoint(x, header.height() / 2));
  }
};

TEST_F(GyakuDlgTest, TheCalculationListsEveryPairWithTheLargestCMarked) {
  Res().DeleteResultAll();
  CCmdStabMultiFsGyakuDlg dlg(Case());
  ASSERT_TRUE(ShowActive(dlg));
  EXPECT_EQ(dlg.windowTitle(), "c逆算");
  CSheetGrid& grid = Grid(dlg);
  EXPECT_EQ(grid.MaxRows(), 0);
  Press(dlg, kCalculate);

  const std::vector<CMltPoint*>& serial = Serial();
  ASSERT_EQ(grid.MaxRows(), static_cast<int>(serial.size()));
  const int blocks = Case().GetBlockList().GetBlockSize();
  EXPECT_EQ(Ctl<CExpStatic>(dlg, kCount)->text().toStdString(),
            "ブロック数:" + std::to_string(blocks) +
                "  -  組合せ数:" + std::to_string(Case().GetBlockList().GetBlockCalcSize()));
  EXPECT_EQ(grid.Text(7, CSheetGrid::kHeaderRow), "逆算後\n粘着力\nc (kN/m2)");
  EXPECT_EQ(grid.Text(5, CSheetGrid::kHeaderRow2), "c=0 時\nφ (°)");
  const double largest = Res().GetMaxC();
  ASSERT_NE(largest, kNoValue);
  for (int row = 1; row <= grid.MaxRows(); ++row) {
    const CMltPointGyaku& p = Gyaku(serial[row - 1]);
    EXPECT_EQ(grid.Value(1, row), "0");
    EXPECT_EQ(grid.Text(2, row).toInt(), p.startBlock + 1);
    EXPECT_EQ(grid.Text(3, row).toInt(), p.endBlock + 1);
    EXPECT_EQ(grid.Text(4, row).toStdString(), DblToText(Digit(131), p.c0));
    EXPECT_EQ(grid.Text(6, row).toStdString(), DblToText(6, p.tanPhi0));
    EXPECT_EQ(grid.Text(7, row).toStdString(), DblToText(Digit(131), p.c));
    EXPECT_EQ(grid.BackColor(7, row), p.c == largest ? Color{0x40E6C8} : Color{0xFFFFFF});
  }
  EXPECT_TRUE(Case().IsModified());
  EXPECT_EQ(Ctl<CExpEdit>(dlg, kPhi)->GetDouble(), Case().GetBlockList().GetSouFai());
  SaveShot(dlg, "CCmdStabMultiFsGyakuDlg");
  Press(dlg, kCancel);
}

// Cancelling the progress window mid-run keeps the whole rows done; the dialog lists them and
// runs again.
TEST_F(GyakuDlgTest, ACancelledRunKeepsThePairsDoneAndTheDialogUsable) {
  CCmdStabMultiFsGyakuDlg dlg(Case());
  ASSERT_TRUE(ShowActive(dlg));
  Press(dlg, kCalculate);
  const std::size_t all = Serial().size();
  const int n = Case().GetBlockList().GetBlockSize();
  RunCancelledAtReport(AllButARowOfReports(n), [&dlg] { Press(dlg, kCalculate); });
  ASSERT_NE(Res().GetResult(), nullptr);
  EXPECT_TRUE(Res().GetResult()->IsInterrupt());
  EXPECT_LT(Serial().size(), all);
  ExpectWholeRowsInOrder(*Res().GetResult(), n, false);
  EXPECT_EQ(Grid(dlg).MaxRows(), static_cast<int>(Serial().size()));
  EXPECT_TRUE(Ctl<QPushButton>(dlg, kCalculate)->isEnabled());
  Press(dlg, kCalculate);
  EXPECT_EQ(Grid(dlg).MaxRows(), static_cast<int>(all));
  Press(dlg, kCancel);
  EXPECT_TRUE(Case().IsModified());
}

// Only the height changes; the grid takes what the height gains.
TEST_F(GyakuDlgTest, OnlyTheHeightResizesAndTheGridGrows) {
  CCmdStabMultiFsGyakuDlg dlg(Case());
  ASSERT_TRUE(ShowActive(dlg));
  EXPECT_EQ(dlg.minimumWidth(), dlg.maximumWidth());
  const int gridHeight = Grid(dlg).height();
  dlg.resize(dlg.width(), dlg.height() + 200);
  QCoreApplication::processEvents();
  EXPECT_EQ(Grid(dlg).height(), gridHeight + 200);
  Press(dlg, kCancel);
}

// One registered row at most; its c, φ and tan φ are adopted, the fourth slot unset; clicking it
// again unsets all four, so that no stale value reaches the forward calculation.
TEST_F(GyakuDlgTest, RegistrationAdoptsThePairAndUnregistrationUnsetsAllFourSlots) {
  Res().adopted = {1.0, 2.0, 3.0, 4.0};  // left by an earlier registration
  CCmdStabMultiFsGyakuDlg dlg(Case());
  ASSERT_TRUE(ShowActive(dlg));
  CSheetGrid& grid = Grid(dlg);
  CExpEdit& c = *Ctl<CExpEdit>(dlg, kC);
  const std::vector<int> adoptable = AdoptableRows();
  const int first = adoptable[0];
  const int second = adoptable[1];
  for (const int row : {first, second}) {
    SCOPED_TRACE(row);
    ClickCell(grid, 1, row);
    const CMltPointGyaku& p = Gyaku(Serial()[row - 1]);
    EXPECT_EQ(dlg.FindRegistered(), row - 1);
    EXPECT_EQ(Res().adopted, (std::array<double, 4>{p.c, p.phi, p.tanPhi, kNoValue}));
    EXPECT_EQ(c.text().toStdString(), DblToText(Digit(131), p.c));
    EXPECT_EQ(grid.Value(1, row), "1");
    EXPECT_EQ(grid.Value(1, first), row == first ? "1" : "0");
    EXPECT_TRUE(Ctl<QPushButton>(dlg, kGraph)->isEnabled());
  }
  ClickCell(grid, 1, second);
  EXPECT_EQ(dlg.FindRegistered(), -1);
  EXPECT_EQ(Res().adopted, kUnset);
  EXPECT_TRUE(c.text().isEmpty());
  EXPECT_FALSE(Ctl<QPushButton>(dlg, kGraph)->isEnabled());
  ClickCell(grid, 4, 1);  // another column registers nothing
  EXPECT_EQ(dlg.FindRegistered(), -1);
  TestUi().ExpectMessageBox(MsgResult::Ok, kStrengthChanged);
  Press(dlg, kRegister);
}

// A pair whose cohesion came out below zero is refused and the registration stays as it was.
TEST_F(GyakuDlgTest, APairWithANegativeCohesionIsNotAdopted) {
  const auto negative = std::find_if(Serial().begin(), Serial().end(),
                                     [](const CMltPoint* p) { return Gyaku(p).c < 0; });
  const auto positive = std::find_if(Serial().begin(), Serial().end(),
                                     [](const CMltPoint* p) { return Gyaku(p).c > 0; });
  ASSERT_NE(negative, Serial().end());
  ASSERT_NE(positive, Serial().end());
  const int negativeRow = static_cast<int>(negative - Serial().begin()) + 1;
  const int positiveRow = static_cast<int>(positive - Serial().begin()) + 1;
  CCmdStabMultiFsGyakuDlg dlg(Case());
  ASSERT_TRUE(ShowActive(dlg));
  CSheetGrid& grid = Grid(dlg);
  ClickCell(grid, 1, positiveRow);
  const std::array<double, 4> adopted = Res().adopted;

  TestUi().ExpectMessageBox(MsgResult::Ok,
                            "逆算した粘着力 c が負の値です。\n採用値として登録できません。");
  ClickCell(grid, 1, negativeRow);
  EXPECT_EQ(TestUi().MessageBoxes().back().icon, MsgIcon::Warning);
  EXPECT_EQ(dlg.FindRegistered(), positiveRow - 1);
  EXPECT_EQ(Res().adopted, adopted);
  EXPECT_EQ(grid.Value(1, negativeRow), "0");
  EXPECT_EQ(grid.Value(1, positiveRow), "1");
  TestUi().ExpectMessageBox(MsgResult::Ok, kStrengthChanged);
  Press(dlg, kRegister);
}

TEST_F(GyakuDlgTest, WithTheSwitchOffTheGridIsHiddenAndTheGraphButtonDisabled) {
  Serial()[0]->typicalN = 1;
  CCmdStabMultiFsGyakuDlg dlg(Case());
  ASSERT_TRUE(ShowActive(dlg));
  EXPECT_TRUE(Ctl<QPushButton>(dlg, kGraph)->isEnabled());
  Tick(dlg, kSwitch);
  EXPECT_FALSE(Grid(dlg).isVisible());
  EXPECT_FALSE(Ctl<CExpButton>(dlg, kCopy)->isVisible());
  for (const int id : {kGraph, kCalculate}) EXPECT_FALSE(Ctl<QPushButton>(dlg, id)->isEnabled());
  for (const int id : {kFs0, kPhi, kC}) EXPECT_FALSE(Ctl<CExpEdit>(dlg, id)->isEnabled());

  // The switch changes what the forward results were computed with: declining the question keeps
  // the dialog open and the results; switched back on, nothing differs from the opening.
  TestUi().ExpectMessageBox(MsgResult::Cancel, kStrengthChanged);
  Press(dlg, kCancel);
  EXPECT_TRUE(dlg.isVisible());
  EXPECT_TRUE(ForwardKept());
  Tick(dlg, kSwitch);
  EXPECT_TRUE(Grid(dlg).isVisible());
  Press(dlg, kCancel);
  EXPECT_FALSE(dlg.isVisible());
  EXPECT_FALSE(Case().IsModified());
  EXPECT_EQ(TestUi().MessageBoxes().back().caption, GetAppTitle());
  EXPECT_EQ(TestUi().MessageBoxes().back().icon, MsgIcon::Question);
}

// 登録 and キャンセル store alike: any stored change marks the case modified; a change of the
// strength the forward calculation takes asks first and clears the results computed with the
// former one.
TEST_F(GyakuDlgTest, ClosingMarksTheCaseModifiedOnAnyStoredChange) {
  const int adoptable = AdoptableRows().front();
  const struct {
    const char* edit;
    std::function<void(CCmdStabMultiFsGyakuDlg&)> change;
    bool asks;
    bool modified;
    int registered;  // FindRegistered after closing
  } cases[] = {
      {"nothing", [](CCmdStabMultiFsGyakuDlg&) {}, false, false, -1},
      {"Fs0",
       [](CCmdStabMultiFsGyakuDlg& d) {
         CExpEdit* fs0 = Ctl<CExpEdit>(d, kFs0);
         fs0->setFocus();
         fs0->selectAll();
         QTest::keyClicks(fs0, "1.05");
       },
       false, true, -1},
      {"sort", [](CCmdStabMultiFsGyakuDlg& d) { ClickHeader(Grid(d), 7); }, false, true, -1},
      {"registration",
       [adoptable](CCmdStabMultiFsGyakuDlg& d) { ClickCell(Grid(d), 1, adoptable); }, true, true,
       adoptable - 1},
      {"switch", [](CCmdStabMultiFsGyakuDlg& d) { Tick(d, kSwitch); }, true, true, -1},
  };
  for (const auto& c : cases) {
    for (const int button : {kRegister, kCancel}) {
      SCOPED_TRACE(std::string(c.edit) + (button == kRegister ? " 登録" : " キャンセル"));
      Reset();
      CCmdStabMultiFsGyakuDlg dlg(Case());
      ASSERT_TRUE(ShowActive(dlg));
      c.change(dlg);
      if (c.asks) TestUi().ExpectMessageBox(MsgResult::Ok, kStrengthChanged);
      Press(dlg, button);
      EXPECT_FALSE(dlg.isVisible());
      EXPECT_EQ(dlg.result(), button == kRegister ? QDialog::Accepted : QDialog::Rejected);
      EXPECT_EQ(Case().IsModified(), c.modified);
      EXPECT_EQ(ForwardKept(), !c.asks);
      EXPECT_EQ(Case().GetResSlide().IsResult(), !c.asks);
      EXPECT_EQ(Case().GetResShear().IsResult(), !c.asks);
      EXPECT_EQ(dlg.FindRegistered(), c.registered);  // kept after キャンセル too
      EXPECT_NE(Res().GetResult(), nullptr);          // the back analysis itself stays
    }
  }
}

TEST_F(GyakuDlgTest, AnEmptyFs0IsStoredUnsetAndAFs0BeyondTheFieldKeepsItsDecimals) {
  Prm().assumedFs = 1.23456789;
  {
    CCmdStabMultiFsGyakuDlg dlg(Case());
    ASSERT_TRUE(ShowActive(dlg));
    Press(dlg, kCancel);
  }
  EXPECT_EQ(Prm().assumedFs, 1.23456789);
  EXPECT_FALSE(Case().IsModified());
  CCmdStabMultiFsGyakuDlg dlg(Case());
  ASSERT_TRUE(ShowActive(dlg));
  CExpEdit* fs0 = Ctl<CExpEdit>(dlg, kFs0);
  fs0->setFocus();
  fs0->selectAll();
  QTest::keyClick(fs0, Qt::Key_Delete);
  Press(dlg, kCancel);
  EXPECT_EQ(Prm().assumedFs, kNoValue);
  EXPECT_TRUE(Case().IsModified());
}

TEST_F(GyakuDlgTest, HeaderClicksSortByTheColumnAndMarkIt) {
  CCmdStabMultiFsGyakuDlg dlg(Case());
  ASSERT_TRUE(ShowActive(dlg));
  CSheetGrid& grid = Grid(dlg);
  const auto cs = [this] {
    std::vector<double> values;
    for (const CMltPoint* p : Serial()) values.push_back(Gyaku(p).c);
    return values;
  };
  CExpEdit* fs0 = Ctl<CExpEdit>(dlg, kFs0);
  fs0->setFocus();
  fs0->selectAll();
  QTest::keyClicks(fs0, "1.25");  // typed, not yet stored: sorting keeps it
  ClickHeader(grid, 7);           // another column: the order flag stays ascending
  EXPECT_EQ(Res().GetSort().item, 14);
  EXPECT_EQ(grid.Text(7, CSheetGrid::kHeaderRow), "▲\n逆算後\n粘着力\nc (kN/m2)");
  const std::vector<double> ascending = cs();
  EXPECT_TRUE(std::is_sorted(ascending.begin(), ascending.end()));
  ClickHeader(grid, 7);  // the same column again: descending
  EXPECT_EQ(grid.Text(7, CSheetGrid::kHeaderRow), "▼\n逆算後\n粘着力\nc (kN/m2)");
  const std::vector<double> descending = cs();
  EXPECT_TRUE(std::is_sorted(descending.rbegin(), descending.rend()));
  for (int row = 1; row <= grid.MaxRows(); ++row) {
    EXPECT_EQ(grid.Text(7, row).toStdString(), DblToText(Digit(131), descending[row - 1]));
  }
  ClickHeader(grid, 5);
  EXPECT_EQ(Res().GetSort().item, 15);
  EXPECT_EQ(grid.Text(5, CSheetGrid::kHeaderRow2), "▼\nc=0 時\nφ (°)");
  EXPECT_EQ(grid.Text(7, CSheetGrid::kHeaderRow), "逆算後\n粘着力\nc (kN/m2)");
  dlg.OnGridClick(0, 0);  // the corner: by the result id
  EXPECT_EQ(Res().GetSort().item, -1);
  EXPECT_EQ(grid.Text(CSheetGrid::kRowHeaderCol, CSheetGrid::kHeaderRow), "▼\n");
  EXPECT_EQ(fs0->GetDouble(), 1.25);
  Press(dlg, kRegister);
  EXPECT_EQ(Prm().assumedFs, 1.25);
  EXPECT_TRUE(Case().IsModified());
}

TEST_F(GyakuDlgTest, CopyPutsTheTableOnTheClipboard) {
  CCmdStabMultiFsGyakuDlg dlg(Case());
  ASSERT_TRUE(ShowActive(dlg));
  std::string expected =
      "No\t始点\t終点\tφ=0 時\tc=0 時\tc=0 時\t逆算後粘着力\n"
      "\tブロック\tブロック\tc(kN/m2)\tφ(°)\ttanφ\tc(kN/m2)\n";
  int row = 0;
  for (const CMltPoint* point : Serial()) {
    const CMltPointGyaku& p = Gyaku(point);
    expected += std::to_string(++row) + "\t" + std::to_string(p.startBlock + 1) + "\t" +
                std::to_string(p.endBlock + 1) + "\t" + DblToText(Digit(131), p.c0) + "\t" +
                DblToText(Digit(161), p.phi0) + "\t" + DblToText(6, p.tanPhi0) + "\t" +
                DblToText(Digit(131), p.c) + "\n";
  }
  TestUi().ExpectMessageBox(MsgResult::Ok, "結果一覧をクリップボードにコピーしました");
  QTest::mouseClick(Ctl<CExpButton>(dlg, kCopy), Qt::LeftButton);
  EXPECT_EQ(QGuiApplication::clipboard()->text().toStdString(), expected);
  EXPECT_EQ(TestUi().MessageBoxes().back().icon, MsgIcon::Information);

  Res().DeleteResultAll();
  dlg.UpdateInfo();
  TestUi().ExpectMessageBox(MsgResult::Ok, "結果がありません");
  QTest::mouseClick(Ctl<CExpButton>(dlg, kCopy), Qt::LeftButton);
  EXPECT_EQ(TestUi().MessageBoxes().back().caption, GetAppTitle());
  Press(dlg, kCancel);
}

// The adopted pair, run forward with the back analysis on, gives Fs0 for its own pair in the
// normal case. c is adopted rounded, so the forward Fs lies between those of c ± half its last
// digit, widened by half the last digit of Fs. Checked on the first and the last pair that asks
// for a positive cohesion at the stratum's friction angle.
TEST_F(GyakuDlgTest, TheAdoptedPairRunForwardGivesTheTargetFs) {
  const double fs0 = Prm().assumedFs;
  const double halfC = 0.5 * std::pow(10.0, -Digit(131));
  const double halfFs = 0.5 * std::pow(10.0, -Digit(163));
  const std::vector<int> positive = AdoptableRows();
  for (const int row : {positive.front(), positive.back()}) {
    SCOPED_TRACE(row);
    Reset();
    CCmdStabMultiFsGyakuDlg dlg(Case());
    ASSERT_TRUE(ShowActive(dlg));
    ClickCell(Grid(dlg), 1, row);
    const CMltPoint* registered = Res().GetSelectRepPt(0);
    ASSERT_NE(registered, nullptr);
    ASSERT_NE(Res().adopted[0], kNoValue);
    TestUi().ExpectMessageBox(MsgResult::Ok, kStrengthChanged);
    Press(dlg, kRegister);
    ASSERT_FALSE(ForwardKept());

    const auto forwardFs = [&](double c) {
      Res().adopted[0] = c;
      EXPECT_TRUE(Case().PreCalcStab(false));
      Case().CalcStartStab();
      const CMltPoint* pair =
          Case().GetResStab2().GetAtBlockRes(registered->startBlock, registered->endBlock);
      return pair != nullptr ? pair->fsN : kNoValue;
    };
    const double adopted = Res().adopted[0];
    const double low = forwardFs(adopted - halfC);
    const double high = forwardFs(adopted + halfC);
    const double fs = forwardFs(adopted);
    ASSERT_NE(fs, kNoValue);
    EXPECT_NEAR(fs, fs0, std::abs(high - low) + halfFs);
    EXPECT_LE(std::min(low, high) - halfFs, fs0);
    EXPECT_GE(std::max(low, high) + halfFs, fs0);
  }
}

TEST_F(GyakuDlgTest, TheGraphButtonOpensTheFigureOfTheRegisteredPair) {
  CCmdStabMultiFsGyakuDlg dlg(Case());
  ASSERT_TRUE(ShowActive(dlg));
  const int row = AdoptableRows().front();
  ClickCell(Grid(dlg), 1, row);
  const CMltPointGyaku& p = Gyaku(Serial()[row - 1]);
  ExpectModal<CRefStabGraphCPhiDlg>([&p](CRefStabGraphCPhiDlg& d) {
    EXPECT_EQ(Ctl<CExpEdit>(d, 5372)->text().toStdString(), DblToText(Digit(131), p.c));
    Press(d, 1);
  });
  Press(dlg, kGraph);
  TestUi().ExpectMessageBox(MsgResult::Cancel, kStrengthChanged);
  Press(dlg, kRegister);
  EXPECT_TRUE(dlg.isVisible());  // declined: nothing cleared, the dialog stays
  EXPECT_TRUE(ForwardKept());
  ClickCell(Grid(dlg), 1, row);  // back to no registration, as at opening
  Press(dlg, kRegister);
  EXPECT_FALSE(Case().IsModified());
}

}  // namespace
