#include <gtest/gtest.h>

#include <QClipboard>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <string>
#include <vector>

#include "core/base/AppIdentity.h"
#include "stage/controls/ExpButton.h"
#include "stage/controls/ExpEdit.h"
#include "stage/controls/SheetGrid.h"
#include "stage/dialogs/CmdStabMultiFsDlg.h"
#include "stage/dialogs/ResStabGraphMultiFsDlg.h"
#include "tests/stage/dialogs/CancelledRunTestSupport.h"
#include "tests/stage/dialogs/DialogTestSupport.h"
#include "tests/stage/dialogs/StabResultsTestSupport.h"

namespace {

constexpr Color kBlue{0xFF0000};
constexpr Color kRed{0x0000FF};
constexpr Color kLowest{0x40E6C8};
constexpr Color kWhite{0xFFFFFF};
const FrameMessage kRedraw{FrameMsg::WM_APP_REDRAW, 0, 0};

class MultiFsDlgTest : public SampleCaseTest {
 public:
  CResStab2& Results() { return Case().GetResStab2(); }

 protected:
  const std::vector<CMltPoint*>& Serial() { return Results().GetSerial(); }

  static CSheetGrid& Grid(CCmdStabMultiFsDlg& d) { return *Ctl<CSheetGrid>(d, 5247); }
  static void Press(CCmdStabMultiFsDlg& d, int id) {
    QTest::mouseClick(Ctl<QPushButton>(d, id), Qt::LeftButton);
  }
  static void ClickHeader(CSheetGrid& grid, int col) {
    QHeaderView* header = grid.horizontalHeader();
    const QPoint at(header->sectionViewportPosition(col - 1) + 5, header->height() - 5);
    QTest::mouseClick(header->viewport(), Qt::LeftButton, Qt::NoModifier, at);
  }
  void ClearRegistrations() {
    for (CMltPoint* p : Serial()) p->typicalN = p->typicalQ = 0;
  }
  // The rows' pairs in grid order.
  static std::vector<std::pair<int, int>> RowPairs(const CSheetGrid& grid) {
    std::vector<std::pair<int, int>> pairs;
    for (int row = 1; row <= grid.MaxRows(); ++row) {
      pairs.emplace_back(grid.Text(3, row).toInt(), grid.Text(4, row).toInt());
    }
    return pairs;
  }
  static std::vector<std::pair<int, int>> ListPairs(const std::vector<CMltPoint*>& list) {
    std::vector<std::pair<int, int>> pairs;
    for (const CMltPoint* p : list) pairs.emplace_back(p->startBlock + 1, p->endBlock + 1);
    return pairs;
  }
};

TEST_F(MultiFsDlgTest, ListsEveryPairWithItsValuesColoursAndRegistrations) {
  CCmdStabMultiFsDlg dlg(core_);
  ASSERT_TRUE(ShowActive(dlg));
  EXPECT_EQ(dlg.windowTitle(), "多平面安定解析");
  CSheetGrid& grid = Grid(dlg);
  const int n = Case().GetBlockList().GetBlockSize();
  ASSERT_EQ(grid.MaxRows(), n * (n - 1) / 2);
  ASSERT_EQ(grid.MaxRows(), static_cast<int>(Serial().size()));
  EXPECT_EQ(Ctl<QLabel>(dlg, 5482)->text().toStdString(),
            "ブロック数:" + std::to_string(n) + "  -  組合せ数:" + std::to_string(n * (n - 1) / 2));
  // Sorted by the normal Fs, ascending, at the start.
  EXPECT_EQ(grid.Text(7, CSheetGrid::kHeaderRow2), "▲\n安全率\nFs");
  EXPECT_EQ(grid.Text(10, CSheetGrid::kHeaderRow2), "安全率\nFst");
  EXPECT_EQ(grid.Text(3, CSheetGrid::kHeaderRow), "始点\nブロック");

  const CPrmStab& prm = Case().GetPrmStab();
  const double lowest[] = {Results().GetMinFs(0), Results().GetMinFs(1)};
  for (int row = 1; row <= grid.MaxRows(); ++row) {
    SCOPED_TRACE(row);
    const CMltPoint& p = *Serial()[static_cast<std::size_t>(row - 1)];
    EXPECT_EQ(grid.Value(1, row), p.typicalN == 1 ? "1" : "0");
    EXPECT_EQ(grid.Value(2, row), p.typicalQ == 1 ? "1" : "0");
    EXPECT_EQ(grid.Text(3, row).toInt(), p.startBlock + 1);
    EXPECT_EQ(grid.Text(4, row).toInt(), p.endBlock + 1);
    EXPECT_EQ(grid.Text(5, row), QString::number(p.sN, 'f', 2));
    EXPECT_EQ(grid.Text(7, row), QString::number(p.fsN, 'f', 3));
    EXPECT_EQ(grid.ForeColor(7, row), p.fsN >= prm.planFsNormal ? kBlue : kRed);
    EXPECT_EQ(grid.ForeColor(10, row), p.fsQ >= prm.planFsQuake ? kBlue : kRed);
    EXPECT_EQ(grid.BackColor(7, row), p.fsN == lowest[0] ? kLowest : kWhite);
    EXPECT_EQ(grid.BackColor(10, row), p.fsQ == lowest[1] ? kLowest : kWhite);
  }
  EXPECT_EQ(grid.BackColor(7, 1), kLowest);
  SaveShot(dlg, "CCmdStabMultiFsDlg");
  dlg.close();
}

// Escape never closes, Enter moves on except on OK; only the height can change, and the grid
// takes it.
TEST_F(MultiFsDlgTest, KeysAndResizingFollowTheStepDialogs) {
  CCmdStabMultiFsDlg dlg(core_);
  ASSERT_TRUE(ShowActive(dlg));
  QPushButton* calculate = Ctl<QPushButton>(dlg, 5256);
  calculate->setFocus();
  QTest::keyClick(calculate, Qt::Key_Escape);
  QTest::keyClick(calculate, Qt::Key_Return);
  EXPECT_TRUE(dlg.isVisible());
  EXPECT_EQ(QApplication::focusWidget(), Ctl<QPushButton>(dlg, 5297));

  EXPECT_EQ(dlg.minimumWidth(), dlg.maximumWidth());
  EXPECT_GT(dlg.maximumHeight(), dlg.height() + 1000);
  CSheetGrid& grid = Grid(dlg);
  const int gridHeight = grid.height();
  dlg.resize(dlg.width(), dlg.height() + 200);
  QCoreApplication::processEvents();
  EXPECT_EQ(grid.height(), gridHeight + 200);

  QPushButton* ok = Ctl<QPushButton>(dlg, 1);
  ok->setFocus();
  QTest::keyClick(ok, Qt::Key_Return);
  EXPECT_EQ(dlg.result(), QDialog::Accepted);
  EXPECT_FALSE(dlg.isVisible());
}

TEST_F(MultiFsDlgTest, WithTheSeismicCaseOffItsColumnsStayEmptyAndItsBoxIgnoresClicks) {
  Case().GetPrmStab().quakeOn = 0;
  ClearRegistrations();
  CCmdStabMultiFsDlg dlg(core_);
  ASSERT_TRUE(ShowActive(dlg));
  CSheetGrid& grid = Grid(dlg);
  EXPECT_FALSE(Ctl<CExpEdit>(dlg, 5468)->isEnabled());
  for (int row = 1; row <= grid.MaxRows(); ++row) {
    for (int col = 8; col <= 10; ++col) EXPECT_TRUE(grid.Text(col, row).isEmpty());
  }
  const std::size_t sent = TestUi().FrameMessages().size();
  ClickCell(grid, 2, 3);
  EXPECT_EQ(grid.Value(2, 3), "0");
  EXPECT_EQ(dlg.FindRegistered(1), -1);
  EXPECT_EQ(TestUi().FrameMessages().size(), sent + 1);  // leaving the cell selects the row only
  // The first registration takes only the normal case, which is on.
  ClickCell(grid, 1, 3);
  EXPECT_EQ(dlg.FindRegistered(0), 2);
  EXPECT_EQ(dlg.FindRegistered(1), -1);
  dlg.close();
}

// Each click on a registration cell, in turn, with the rows registered afterwards (−1: none).
TEST_F(MultiFsDlgTest, RegistrationClicksKeepOneRowPerLoadCase) {
  ClearRegistrations();
  CCmdStabMultiFsDlg dlg(core_);
  ASSERT_TRUE(ShowActive(dlg));
  CSheetGrid& grid = Grid(dlg);
  const struct {
    int col;
    int row;
    int normal;  // registered rows afterwards, 1-based; 0 for none
    int quake;
  } clicks[] = {
      {1, 3, 3, 3},  // the first registration sets both cases
      {1, 3, 0, 3},  // a checked cell is cleared
      {2, 5, 0, 5},  // another row takes the case over
      {1, 4, 4, 5}, {2, 5, 4, 0},
  };
  for (const auto& c : clicks) {
    SCOPED_TRACE(testing::Message() << "click " << c.col << "," << c.row);
    ClickCell(grid, c.col, c.row);
    EXPECT_EQ(dlg.FindRegistered(0) + 1, c.normal);
    EXPECT_EQ(dlg.FindRegistered(1) + 1, c.quake);
    for (int row = 1; row <= grid.MaxRows(); ++row) {
      EXPECT_EQ(grid.Value(1, row) == "1", row == c.normal) << row;
      EXPECT_EQ(grid.Value(2, row) == "1", row == c.quake) << row;
    }
  }
  EXPECT_EQ(Results().GetSelectRepPt(0), Serial()[3]);
  EXPECT_EQ(TestUi().FrameMessages().back(), kRedraw);
  dlg.close();
}

// A header click sorts by its column: the same header again inverts the order, another keeps it;
// the rows follow the exchange sort of the list, ties included.
TEST_F(MultiFsDlgTest, HeaderClicksSortAndMarkTheColumn) {
  CCmdStabMultiFsDlg dlg(core_);
  ASSERT_TRUE(ShowActive(dlg));
  CSheetGrid& grid = Grid(dlg);
  const struct {
    int col;
    int item;
    int order;
    QString header;  // the marked header text
    int headerRow;
  } clicks[] = {
      {7, 9, 1, "▼\n安全率\nFs", CSheetGrid::kHeaderRow2},
      {7, 9, 0, "▲\n安全率\nFs", CSheetGrid::kHeaderRow2},
      {5, 7, 0, "▲\n抵抗力\nS (kN/m)", CSheetGrid::kHeaderRow2},
      {5, 7, 1, "▼\n抵抗力\nS (kN/m)", CSheetGrid::kHeaderRow2},
      {4, 3, 1, "▼\n終点\nブロック", CSheetGrid::kHeaderRow},
      {10, 12, 1, "▼\n安全率\nFst", CSheetGrid::kHeaderRow2},
  };
  for (const auto& c : clicks) {
    SCOPED_TRACE(c.header.toStdString());
    std::vector<CMltPoint*> expected = Serial();  // the list the click sorts
    ClickHeader(grid, c.col);
    EXPECT_EQ(Results().GetSort().item, c.item);
    EXPECT_EQ(Results().GetSort().order, c.order);
    EXPECT_EQ(grid.Text(c.col, c.headerRow), c.header);
    ExchangeSort(expected, Results().GetSort());
    EXPECT_EQ(RowPairs(grid), ListPairs(expected));
  }
  EXPECT_EQ(grid.Text(7, CSheetGrid::kHeaderRow2), "安全率\nFs");
  EXPECT_EQ(grid.Text(CSheetGrid::kRowHeaderCol, CSheetGrid::kHeaderRow), "");
  dlg.close();
}

TEST_F(MultiFsDlgTest, AnEmptiedFstpIsUnsetAndTurnsEverySeismicFsBlue) {
  CCmdStabMultiFsDlg dlg(core_);
  ASSERT_TRUE(ShowActive(dlg));
  CExpEdit* fstp = Ctl<CExpEdit>(dlg, 5468);
  for (const auto& [typed, stored] : {std::pair{"9.5", 9.5}, std::pair{"", kNoValue}}) {
    SCOPED_TRACE(typed);
    fstp->setFocus();
    fstp->selectAll();
    QTest::keyClick(fstp, Qt::Key_Delete);
    QTest::keyClicks(fstp, typed);
    QTest::keyClick(fstp, Qt::Key_Tab);
    EXPECT_EQ(Case().GetPrmStab().planFsQuake, stored);
    CSheetGrid& grid = Grid(dlg);
    for (int row = 1; row <= grid.MaxRows(); ++row) {
      EXPECT_EQ(grid.ForeColor(10, row), stored == kNoValue ? kBlue : kRed) << row;
    }
  }
  dlg.close();
}

// OK and 閉じる compare everything the dialog edits in place with the state at opening: any
// difference marks the case modified and in use. OK also clears the current result.
TEST_F(MultiFsDlgTest, ClosingMarksTheCaseModifiedOnlyWhenAStoredValueChanged) {
  const struct {
    const char* edit;
    std::function<void(MultiFsDlgTest&, CCmdStabMultiFsDlg&)> apply;
    bool modified;
  } edits[] = {
      {"nothing", [](MultiFsDlgTest&, CCmdStabMultiFsDlg&) {}, false},
      {"a row selected", [](MultiFsDlgTest&, CCmdStabMultiFsDlg& d) { ClickCell(Grid(d), 5, 4); },
       false},
      {"the sort", [](MultiFsDlgTest&, CCmdStabMultiFsDlg& d) { ClickHeader(Grid(d), 3); }, true},
      {"a registration",
       [](MultiFsDlgTest&, CCmdStabMultiFsDlg& d) {
         const int row = d.FindRegistered(0) == 0 ? 2 : 1;
         ClickCell(Grid(d), 1, row);
       },
       true},
      {"the key", [](MultiFsDlgTest& t, CCmdStabMultiFsDlg&) { t.Results().GetKey().exceptOn = 1; },
       true},
      {"Fstp",
       [](MultiFsDlgTest&, CCmdStabMultiFsDlg& d) {
         CExpEdit* fstp = Ctl<CExpEdit>(d, 5468);
         fstp->setFocus();
         fstp->selectAll();
         QTest::keyClicks(fstp, "2");
         QTest::keyClick(fstp, Qt::Key_Tab);
       },
       true},
      {"the figure settings",
       [](MultiFsDlgTest& t, CCmdStabMultiFsDlg&) { t.Results().graphFs.axes[0].maxY += 1.0; },
       true},
  };
  for (const bool ok : {true, false}) {
    for (const auto& e : edits) {
      SCOPED_TRACE(testing::Message() << (ok ? "OK after " : "閉じる after ") << e.edit);
      FillSampleCase(Case(), 0);
      Case().SetModify(false);
      Case().SetInUse(0);
      CCmdStabMultiFsDlg dlg(core_);
      ASSERT_TRUE(ShowActive(dlg));
      e.apply(*this, dlg);
      Press(dlg, ok ? 1 : 2);
      EXPECT_EQ(dlg.result(), ok ? QDialog::Accepted : QDialog::Rejected);
      EXPECT_EQ(Case().IsModified(), e.modified);
      EXPECT_EQ(Case().GetInUse(), e.modified ? 1 : 0);
      if (ok) {
        EXPECT_EQ(Results().GetCurrentResult(), nullptr);
      }
    }
  }
}

// The Fs matrix of four blocks: start blocks across, end blocks down, the pair 2–4 without a
// result; the seismic Fs when the active column lies right of the normal Fs.
TEST_F(MultiFsDlgTest, CopiesTheFsMatrixOfTheLoadCaseOfTheActiveColumn) {
  FillHandResults(Results(), 4, [](int start, int end) -> std::optional<double> {
    if (start == 1 && end == 3) return std::nullopt;
    const double fs[4][4] = {{0, 1.1, 1.2, 1.3}, {0, 0, 0.9, 0}, {0, 0, 0, 1.05}, {}};
    return fs[start][end];
  });
  CCmdStabMultiFsDlg dlg(core_);
  ASSERT_TRUE(ShowActive(dlg));
  const struct {
    int activeCol;
    const char* text;
  } copies[] = {
      {1, "No\t1\t2\t3\n1\n2\t1.100\n3\t1.200\t0.900\n4\t1.300\t\t1.050\n"},
      {7, "No\t1\t2\t3\n1\n2\t1.100\n3\t1.200\t0.900\n4\t1.300\t\t1.050\n"},
      {8, "No\t1\t2\t3\n1\n2\t2.100\n3\t2.200\t1.900\n4\t2.300\t\t2.050\n"},
  };
  for (const auto& c : copies) {
    SCOPED_TRACE(c.activeCol);
    Grid(dlg).SetActiveCell(c.activeCol, 1);
    TestUi().ExpectMessageBox(MsgResult::Ok, "結果一覧をクリップボードにコピーしました");
    QTest::mouseClick(Ctl<CExpButton>(dlg, 5261), Qt::LeftButton);
    EXPECT_EQ(QGuiApplication::clipboard()->text().toStdString(), c.text);
    EXPECT_EQ(TestUi().MessageBoxes().back().caption, GetAppTitle());
    EXPECT_EQ(TestUi().MessageBoxes().back().icon, MsgIcon::Information);
  }
  EXPECT_EQ(Ctl<CExpButton>(dlg, 5261)->toolTip(), "結果一覧をクリップボードへコピー");
  dlg.close();
}

TEST_F(MultiFsDlgTest, WithoutResultsCopyAndFigureSaySoAndClicksDoNothing) {
  Case().ClearResult(true, true, true, true);
  CCmdStabMultiFsDlg dlg(core_);
  ASSERT_TRUE(ShowActive(dlg));
  EXPECT_EQ(Grid(dlg).MaxRows(), 0);
  for (const int id : {5261, 5435}) {
    TestUi().ExpectMessageBox(MsgResult::Ok, "計算結果がありません");
    QTest::mouseClick(Ctl<QPushButton>(dlg, id), Qt::LeftButton);
    EXPECT_EQ(TestUi().MessageBoxes().back().icon, MsgIcon::Information);
  }
  const tagMLTSORT sort = Results().GetSort();
  ClickHeader(Grid(dlg), 3);
  EXPECT_EQ(Results().GetSort().item, sort.item);
  dlg.close();
}

// The check that Word出力 and データ連携 share, for every load case on and registered or not.
TEST_F(MultiFsDlgTest, TheReportsNeedARegisteredRowForEveryLoadCaseThatIsOn) {
  const struct {
    int normalOn, quakeOn;
    bool normalRegistered, quakeRegistered;
    const char* message;  // nullptr: passes
  } cases[] = {
      {1, 1, false, false,
       "常時のすべり面が登録されていません。\n地震時のすべり面が登録されていません。"},
      {1, 1, true, false, "地震時のすべり面が登録されていません。"},
      {1, 1, false, true, "常時のすべり面が登録されていません。"},
      {1, 0, false, false, "常時のすべり面が登録されていません。"},
      {0, 1, false, false, "地震時のすべり面が登録されていません。"},
      {1, 1, true, true, nullptr},
      {1, 0, true, false, nullptr},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.message ? c.message : "passes");
    Case().GetPrmStab().normalOn = c.normalOn;
    Case().GetPrmStab().quakeOn = c.quakeOn;
    ClearRegistrations();
    Serial()[0]->typicalN = c.normalRegistered ? 1 : 0;
    Serial()[1]->typicalQ = c.quakeRegistered ? 1 : 0;
    CCmdStabMultiFsDlg dlg(core_);
    if (c.message != nullptr) TestUi().ExpectMessageBox(MsgResult::Ok, c.message);
    EXPECT_EQ(dlg.CheckRegistered(), c.message == nullptr);
  }
  // Word出力 asks the frame for the multi-plane report once the check passes; the data linkage is
  // on.
  CCmdStabMultiFsDlg dlg(core_);
  EXPECT_TRUE(Ctl<QPushButton>(dlg, 5437)->isEnabled());
  ASSERT_TRUE(Ctl<QPushButton>(dlg, 5436)->isEnabled());
  Ctl<QPushButton>(dlg, 5436)->click();
  ASSERT_FALSE(TestUi().FrameMessages().empty());
  EXPECT_EQ(TestUi().FrameMessages().back(), (FrameMessage{FrameMsg::WM_APP_PRINT_WORD, 1, 0}));
}

// Cancel pressed in the progress window mid-run: the whole rows done are listed and the dialog
// goes on; a run after it lists every pair again.
TEST_F(MultiFsDlgTest, ACancelledRunKeepsThePairsDoneAndTheDialogUsable) {
  CCmdStabMultiFsDlg dlg(core_);
  ASSERT_TRUE(ShowActive(dlg));
  const int n = Case().GetBlockList().GetBlockSize();
  RunCancelledAtReport(AllButARowOfReports(n), [&dlg] { Press(dlg, 5256); });
  const CMltBlocks* points = Results().GetResult();
  ASSERT_NE(points, nullptr);
  EXPECT_TRUE(points->IsInterrupt());
  EXPECT_LT(points->GetSize(), n * (n - 1) / 2);
  ExpectWholeRowsInOrder(*points, n, true);
  CSheetGrid& grid = Grid(dlg);
  EXPECT_EQ(grid.MaxRows(), static_cast<int>(Serial().size()));
  EXPECT_EQ(grid.MaxRows(), points->GetSize());
  EXPECT_TRUE(Case().IsModified());
  EXPECT_TRUE(dlg.isEnabled());

  Press(dlg, 5256);
  EXPECT_FALSE(Results().GetResult()->IsInterrupt());
  EXPECT_EQ(grid.MaxRows(), n * (n - 1) / 2);
  ClickCell(grid, 1, 1);
  EXPECT_EQ(dlg.FindRegistered(0), 0);
  ClickHeader(grid, 7);
  EXPECT_EQ(Results().GetSort().order, 1);
  dlg.close();
}

TEST_F(MultiFsDlgTest, TheFigureDialogOpensOnASortedCopyAndOkCarriesItsSettingsBack) {
  CCmdStabMultiFsDlg dlg(core_);
  ASSERT_TRUE(ShowActive(dlg));
  const std::vector<CMltPoint*> before = Serial();
  ExpectModal<CResStabGraphMultiFsDlg>([](CResStabGraphMultiFsDlg& f) {
    ASSERT_TRUE(ShowActive(f));
    TypeIntoCell(*Ctl<CSheetGrid>(f, 5437), 2, 1, "3.5");
    QTest::mouseClick(Ctl<QPushButton>(f, 1), Qt::LeftButton);
  });
  Press(dlg, 5435);
  EXPECT_EQ(Serial(), before);  // the case's own list keeps its order
  EXPECT_EQ(Results().graphFs.axes[0].maxY, 3.5);
  EXPECT_EQ(TestUi().FrameMessages().back(), kRedraw);
  dlg.close();
}

}  // namespace
