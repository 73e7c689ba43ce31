// The multi-plane stability of step 2 through the program's real main window: the shared test
// section divided automatically in the block dialog, the stability dialog opened from the flow
// pane's step-2 button, the run, the sort, the registrations, OK, and the document saved and
// opened again.

#include <gtest/gtest.h>

#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "app/document/DocumentFiles.h"
#include "app/frame/MainFrame.h"
#include "app/panes/PaneFlow.h"
#include "core/case/ManageCore.h"
#include "stage/controls/ExpEdit.h"
#include "stage/controls/SheetCell.h"
#include "stage/controls/SheetGrid.h"
#include "stage/dialogs/CmdStabBlockDlg.h"
#include "stage/dialogs/CmdStabMultiFsDlg.h"
#include "stage/dialogs/ResStabGraphMultiFsDlg.h"
#include "tests/app/TestProgram.h"
#include "tests/stage/dialogs/CancelledRunTestSupport.h"
#include "tests/stage/dialogs/DialogTestSupport.h"
#include "tests/stage/dialogs/StabResultsTestSupport.h"
#include "tests/support/SampleDocument.h"
#include "tests/support/ScriptedUi.h"
#include "tests/support/qt/QtTestSupport.h"

namespace {

constexpr int kPolygonButton = 1014;
constexpr int kBlockButton = 1026;
constexpr int kStabilityButton = 1033;
constexpr int kCalculate = 5256;
constexpr int kCountLabel = 5482;

using Pairs = std::vector<std::pair<int, int>>;

Pairs RowPairs(const CSheetGrid& grid) {
  Pairs pairs;
  for (int row = 1; row <= grid.MaxRows(); ++row) {
    pairs.emplace_back(grid.Text(3, row).toInt(), grid.Text(4, row).toInt());
  }
  return pairs;
}

Pairs ListPairs(const std::vector<CMltPoint*>& list) {
  Pairs pairs;
  for (const CMltPoint* p : list) pairs.emplace_back(p->startBlock + 1, p->endBlock + 1);
  return pairs;
}

void ClickHeader(CSheetGrid& grid, int col) {
  QHeaderView* header = grid.horizontalHeader();
  const QPoint at(header->sectionViewportPosition(col - 1) + 5, header->height() - 5);
  QTest::mouseClick(header->viewport(), Qt::LeftButton, Qt::NoModifier, at);
}

class Step2Test : public testing::Test {
 protected:
  CCase& Case() { return *p_.Core().GetActiveCase(); }

  // The sample section with its conditions and no results, divided automatically in the block
  // dialog opened from its flow button: start x 20, division angle 30°, OK.
  void DivideSampleCase() {
    FillSampleCase(Case(), 0);
    Case().ClearResult(true, true, true, true);
    Case().GetBlockList().SetAngle(0);
    Case().SetModify(false);
    p_.ClickFlowButton(1, kBlockButton);
    const QList<CCmdStabBlockDlg*> dialogs = p_.Frame().findChildren<CCmdStabBlockDlg*>();
    ASSERT_EQ(dialogs.size(), 1);
    CCmdStabBlockDlg& d = *dialogs.front();
    ASSERT_TRUE(ShowActive(d));
    Ctl<CExpEdit>(d, 5409)->SetDouble(20);
    Ctl<CExpEdit>(d, 5412)->SetDouble(30);
    QTest::mouseClick(Ctl<QPushButton>(d, 5410), Qt::LeftButton);  // 自動分割
    QTest::mouseClick(Ctl<QPushButton>(d, 1), Qt::LeftButton);
    FlushDeletes();
    ASSERT_GT(Case().GetBlockList().GetBlockSize(), 3);
    Case().SetModify(false);
  }

  void ClickStabilityButton() { p_.ClickFlowButton(1, kStabilityButton); }

  // 計算開始 with Cancel pressed in the progress window before the last row's worth of pairs.
  void RunCancelled(CCmdStabMultiFsDlg& d) {
    RunCancelledAtReport(AllButARowOfReports(Case().GetBlockList().GetBlockSize()), [&d] {
      QTest::mouseClick(Ctl<QPushButton>(d, kCalculate), Qt::LeftButton);
    });
  }

  TestProgram p_;
};

TEST_F(Step2Test, RunSortRegisterAndOkAreKeptInTheSavedDocument) {
  DivideSampleCase();
  const int blocks = Case().GetBlockList().GetBlockSize();
  CResStab2& results = Case().GetResStab2();
  std::pair<int, int> normalPair;
  std::pair<int, int> quakePair;
  ExpectModal<CCmdStabMultiFsDlg>([&](CCmdStabMultiFsDlg& d) {
    ASSERT_TRUE(ShowActive(d));
    CSheetGrid& grid = *Ctl<CSheetGrid>(d, 5247);
    EXPECT_EQ(grid.MaxRows(), 0);
    QTest::mouseClick(Ctl<QPushButton>(d, 5256), Qt::LeftButton);  // 計算開始
    ASSERT_EQ(grid.MaxRows(), blocks * (blocks - 1) / 2);
    SaveShot(d, "CCmdStabMultiFsDlg_run");

    // Fs descending, then ascending: the rows in the exchange sort's order of the list as it
    // stood, ties included (the sort is not stable, so the order before the click matters).
    for (const int order : {1, 0}) {
      SCOPED_TRACE(order);
      std::vector<CMltPoint*> expected = results.GetSerial();  // the list the click sorts
      ClickHeader(grid, 7);
      ASSERT_EQ(results.GetSort().item, 9);
      ASSERT_EQ(results.GetSort().order, order);
      ExchangeSort(expected, tagMLTSORT{9, order});
      EXPECT_EQ(RowPairs(grid), ListPairs(expected));
      EXPECT_EQ(ListPairs(results.GetSerial()), ListPairs(expected));
    }

    ClickCell(grid, 1, 2);  // the first registration takes both load cases
    ClickCell(grid, 2, 5);  // the seismic case moves to another row
    normalPair = RowPairs(grid)[1];
    quakePair = RowPairs(grid)[4];
    EXPECT_EQ(d.FindRegistered(0), 1);
    EXPECT_EQ(d.FindRegistered(1), 4);
    SaveShot(d, "CCmdStabMultiFsDlg_registered");
    QTest::mouseClick(Ctl<QPushButton>(d, 1), Qt::LeftButton);
  });
  ClickStabilityButton();
  EXPECT_TRUE(Case().IsModified());
  EXPECT_EQ(Case().GetInUse(), 1);
  EXPECT_EQ(results.GetCurrentResult(), nullptr);

  const std::filesystem::path path =
      std::filesystem::path(std::getenv("BRIXO_HOME")) / "step2.qxmd";
  TestUi().ExpectFileDialog(path);
  ASSERT_TRUE(p_.Frame().Documents().OnFileSaveAs());
  ASSERT_TRUE(p_.Frame().Documents().OpenDocumentPath(path));
  const CResStab2& reopened = Case().GetResStab2();
  ASSERT_EQ(static_cast<int>(reopened.GetSerial().size()), blocks * (blocks - 1) / 2);
  const CMltPoint* normal = reopened.GetSelectRepPt(0);
  const CMltPoint* quake = reopened.GetSelectRepPt(1);
  ASSERT_NE(normal, nullptr);
  ASSERT_NE(quake, nullptr);
  EXPECT_EQ(std::pair(normal->startBlock + 1, normal->endBlock + 1), normalPair);
  EXPECT_EQ(std::pair(quake->startBlock + 1, quake->endBlock + 1), quakePair);
  EXPECT_EQ(reopened.GetSort().item, 9);
  EXPECT_EQ(reopened.GetSort().order, 0);
}

// 閉じる without a change leaves the case unmodified, and the frame does not redraw for it.
TEST_F(Step2Test, CloseWithoutAChangeLeavesTheCaseUnmodified) {
  FillSampleCase(Case(), 0);
  Case().SetModify(false);
  ExpectModal<CCmdStabMultiFsDlg>([](CCmdStabMultiFsDlg& d) {
    ASSERT_TRUE(ShowActive(d));
    QTest::mouseClick(Ctl<QPushButton>(d, 2), Qt::LeftButton);
  });
  ClickStabilityButton();
  EXPECT_FALSE(Case().IsModified());
}

// A cancelled rerun shows the pairs done as done/total and says it was cancelled; 閉じる brings
// back the complete results held before it, OK keeps the partial set only when the question that
// says so is answered Yes.
TEST_F(Step2Test, ACancelledRerunIsPartialUntilOkAndClosingBringsBackTheCompleteResults) {
  DivideSampleCase();
  const int blocks = Case().GetBlockList().GetBlockSize();
  const int pairs = blocks * (blocks - 1) / 2;
  const std::string complete =
      "ブロック数:" + std::to_string(blocks) + "  -  組合せ数:" + std::to_string(pairs);
  CResStab2& results = Case().GetResStab2();
  ExpectModal<CCmdStabMultiFsDlg>([&](CCmdStabMultiFsDlg& d) {
    ASSERT_TRUE(ShowActive(d));
    QTest::mouseClick(Ctl<QPushButton>(d, kCalculate), Qt::LeftButton);
    ClickCell(*Ctl<CSheetGrid>(d, 5247), 1, 3);  // registered in both load cases
    QTest::mouseClick(Ctl<QPushButton>(d, 1), Qt::LeftButton);
  });
  ClickStabilityButton();
  ASSERT_EQ(static_cast<int>(results.GetSerial().size()), pairs);
  ASSERT_NE(results.GetSelectRepPt(0), nullptr);
  const int registeredId = results.GetSelectRepPt(0)->id;
  Case().SetModify(false);

  const auto partialHeader = [&] {
    const std::string done = std::to_string(results.resultCount);
    return "ブロック数:" + std::to_string(blocks) + "  -  組合せ数:" + done + "/" +
           std::to_string(pairs) + "（計算中止）";
  };
  ExpectModal<CCmdStabMultiFsDlg>([&](CCmdStabMultiFsDlg& d) {
    ASSERT_TRUE(ShowActive(d));
    EXPECT_EQ(Ctl<QLabel>(d, kCountLabel)->text().toStdString(), complete);
    RunCancelled(d);
    ASSERT_LT(static_cast<int>(results.GetSerial().size()), pairs);
    ExpectWholeRowsInOrder(*results.GetResult(), blocks, true);
    EXPECT_EQ(Ctl<QLabel>(d, kCountLabel)->text().toStdString(), partialHeader());
    EXPECT_EQ(Ctl<CSheetGrid>(d, 5247)->MaxRows(), results.resultCount);
    SaveShot(d, "CCmdStabMultiFsDlg_cancelled");
    RunCancelled(d);  // a second cancelled run still goes back to the complete set
    QTest::mouseClick(Ctl<QPushButton>(d, 2), Qt::LeftButton);  // 閉じる
  });
  ClickStabilityButton();
  EXPECT_EQ(static_cast<int>(results.GetSerial().size()), pairs);
  EXPECT_EQ(results.resultCount, pairs);
  EXPECT_FALSE(results.GetResult()->IsInterrupt());
  ASSERT_NE(results.GetSelectRepPt(0), nullptr);
  EXPECT_EQ(results.GetSelectRepPt(0)->id, registeredId);
  EXPECT_FALSE(Case().IsModified());

  ExpectModal<CCmdStabMultiFsDlg>([&](CCmdStabMultiFsDlg& d) {
    ASSERT_TRUE(ShowActive(d));
    RunCancelled(d);
    const std::string question = "計算が中止されたため、結果は全" + std::to_string(pairs) +
                                 "組合せのうち" + std::to_string(results.resultCount) +
                                 "組合せのみです。\nこの結果で確定してもよろしいですか？";
    TestUi().ExpectMessageBox(MsgResult::No, question);
    QTest::mouseClick(Ctl<QPushButton>(d, 1), Qt::LeftButton);
    EXPECT_TRUE(d.isVisible());  // No: back in the dialog, still partial
    EXPECT_EQ(Ctl<QLabel>(d, kCountLabel)->text().toStdString(), partialHeader());
    TestUi().ExpectMessageBox(MsgResult::Yes, question);
    QTest::mouseClick(Ctl<QPushButton>(d, 1), Qt::LeftButton);
    EXPECT_FALSE(d.isVisible());
    EXPECT_EQ(TestUi().MessageBoxes().back().buttons, MsgButtons::YesNo);
  });
  ClickStabilityButton();
  EXPECT_LT(static_cast<int>(results.GetSerial().size()), pairs);
  EXPECT_TRUE(results.GetResult()->IsInterrupt());
  EXPECT_TRUE(Case().IsModified());
}

// Sorting by Fs puts the pairs without one after all pairs with one, ascending and descending;
// the stored sort key and the registrations stay as they are. 252 blocks, as on a long slope
// where most long runs found no safety factor.
TEST_F(Step2Test, PairsWithoutTheSortedValueComeLastInBothOrders) {
  constexpr int kBlocks = 252;
  FillSampleCase(Case(), 0);
  CBlockList& division = Case().GetBlockList();  // 252 narrow blocks across the slide mass
  std::vector<double> xs;
  for (int i = 0; i <= kBlocks; ++i) xs.push_back(10.0 + 0.075 * i);
  division.CopyStX(xs);
  ASSERT_EQ(division.CreateBlock(nullptr, nullptr), kBlocks);
  CResStab2& results = Case().GetResStab2();
  FillHandResults(results, kBlocks, [](int start, int end) {
    return std::optional<double>(1.0 + 0.001 * ((start * 7 + end * 3) % 997));
  });
  int withoutFs = 0;
  for (CMltPoint* point : results.GetSerial()) {
    if (point->endBlock - point->startBlock > 40) {  // the long runs did not converge
      point->fsN = point->sN = point->tN = kNoValue;
      ++withoutFs;
    }
  }
  results.GetSerial()[5]->typicalN = 1;
  const int registeredId = results.GetSerial()[5]->id;
  results.SetSort(tagMLTSORT{9, 1});  // Fs descending stored: the first click sorts ascending
  results.SortSerial();
  const int rows = static_cast<int>(results.GetSerial().size());
  ExpectModal<CCmdStabMultiFsDlg>([&](CCmdStabMultiFsDlg& d) {
    ASSERT_TRUE(ShowActive(d));
    CSheetGrid& grid = *Ctl<CSheetGrid>(d, 5247);
    ASSERT_EQ(grid.MaxRows(), rows);
    EXPECT_EQ(Ctl<QLabel>(d, kCountLabel)->text().toStdString(),
              "ブロック数:252  -  組合せ数:" + std::to_string(rows));
    for (const int order : {0, 1}) {
      SCOPED_TRACE(order);
      ClickHeader(grid, 7);
      ASSERT_EQ(results.GetSort().item, 9);
      ASSERT_EQ(results.GetSort().order, order);
      const int valued = rows - withoutFs;
      double previous = order == 0 ? 0 : 1e9;
      for (int row = 1; row <= rows; ++row) {
        const QString fs = grid.Text(7, row);
        ASSERT_EQ(fs.isEmpty(), row > valued) << "row " << row;
        if (row > valued) continue;
        const double value = results.GetSerial()[static_cast<std::size_t>(row - 1)]->fsN;
        ASSERT_TRUE(order == 0 ? value >= previous : value <= previous) << "row " << row;
        previous = value;
      }
      if (order == 0) SaveShot(d, "CCmdStabMultiFsDlg_252blocks_sorted");
    }
    ASSERT_GE(d.FindRegistered(0), 0);
    EXPECT_EQ(results.GetSerial()[static_cast<std::size_t>(d.FindRegistered(0))]->id, registeredId);
    QTest::mouseClick(Ctl<QPushButton>(d, 1), Qt::LeftButton);
  });
  ClickStabilityButton();
  EXPECT_EQ(results.GetSort().item, 9);
  EXPECT_EQ(results.GetSort().order, 1);
}

// The automatic range of the Fs figure on the example document skips the marker of a pair that
// did not converge (99.999) and a pair without a result: the figure spans the real curves.
TEST_F(Step2Test, TheFiguresAutomaticRangeSkipsPairsWithoutAResult) {
  ASSERT_TRUE(p_.Frame().Documents().OpenDocumentPath(std::filesystem::path(BRIXO_RESOURCES) /
                                                      "Example.qxmd"));
  CResStab2& results = Case().GetResStab2();
  // The example holds pairs whose search ran past the limit, stored as 99.999 after rounding.
  const auto marked = [](const CMltPoint* point) { return std::fabs(point->fsN - 99.999) < 1e-9; };
  ASSERT_TRUE(std::any_of(results.GetSerial().begin(), results.GetSerial().end(), marked));
  const auto unmarked =
      std::find_if_not(results.GetSerial().begin(), results.GetSerial().end(), marked);
  ASSERT_NE(unmarked, results.GetSerial().end());
  (*unmarked)->fsN = kNoValue;  // and a pair without a result
  double lowest = 1e9;
  double highest = -1e9;
  for (const CMltPoint* point : results.GetSerial()) {
    if (marked(point) || point->fsN == kNoValue) continue;
    lowest = std::min(lowest, point->fsN);
    highest = std::max(highest, point->fsN);
  }
  ExpectModal<CCmdStabMultiFsDlg>([&](CCmdStabMultiFsDlg& d) {
    ASSERT_TRUE(ShowActive(d));
    ExpectModal<CResStabGraphMultiFsDlg>([&](CResStabGraphMultiFsDlg& f) {
      ASSERT_TRUE(ShowActive(f));
      QTest::mouseClick(Ctl<QRadioButton>(f, 5399), Qt::LeftButton);  // 常時
      QTest::mouseClick(Ctl<QPushButton>(f, 5440), Qt::LeftButton);   // 自動設定
      CSheetGrid& range = *Ctl<CSheetGrid>(f, 5437);
      const double minY = SpreadGetDbl(range, 1, 1);
      const double maxY = SpreadGetDbl(range, 2, 1);
      EXPECT_LE(minY, lowest);
      EXPECT_GE(maxY, highest);
      EXPECT_LT(maxY, 99.0);
      EXPECT_GE(minY, 0.0);
      SaveShot(f, "CResStabGraphMultiFsDlg_example_auto_range");
      QTest::mouseClick(Ctl<QPushButton>(f, 2), Qt::LeftButton);
    });
    QTest::mouseClick(Ctl<QPushButton>(d, 5435), Qt::LeftButton);  // 安全率図
    QTest::mouseClick(Ctl<QPushButton>(d, 2), Qt::LeftButton);
  });
  ClickStabilityButton();
}

// 地層認識 on a divided, calculated case asks first: No changes nothing; Yes drops the division
// and every result, and the stability dialog then shows no blocks and no rows.
TEST_F(Step2Test, StrataRecognitionAsksBeforeDroppingTheDivisionAndTheResults) {
  DivideSampleCase();
  ExpectModal<CCmdStabMultiFsDlg>([](CCmdStabMultiFsDlg& d) {
    ASSERT_TRUE(ShowActive(d));
    QTest::mouseClick(Ctl<QPushButton>(d, kCalculate), Qt::LeftButton);
    QTest::mouseClick(Ctl<QPushButton>(d, 1), Qt::LeftButton);
  });
  ClickStabilityButton();
  const int blocks = Case().GetBlockList().GetBlockSize();
  ASSERT_EQ(Case().IsStratumBlockMode(), 1);
  ASSERT_NE(Case().GetResStab2().GetResult(), nullptr);
  Case().SetModify(false);
  CCase before;
  before.Copy(&Case());

  constexpr const char* kQuestion =
      "地層認識の更新により、ブロック分割とすべての計算結果をクリアします。\nよろしいですか？";
  TestUi().ExpectMessageBox(MsgResult::No, kQuestion);
  p_.ClickFlowButton(0, kPolygonButton);
  EXPECT_EQ(TestUi().MessageBoxes().back().buttons, MsgButtons::YesNo);
  EXPECT_TRUE(Case().IsSame(&before));
  EXPECT_EQ(Case().IsStratumBlockMode(), 1);
  EXPECT_EQ(static_cast<int>(Case().GetResStab2().GetSerial().size()), blocks * (blocks - 1) / 2);
  EXPECT_FALSE(Case().IsModified());

  TestUi().ExpectMessageBox(MsgResult::Yes, kQuestion);
  TestUi().ExpectMessageBox(MsgResult::Ok);  // the strata found
  p_.ClickFlowButton(0, kPolygonButton);
  EXPECT_EQ(Case().IsStratumBlockMode(), 0);
  EXPECT_EQ(Case().GetResStab2().GetResult(), nullptr);
  EXPECT_TRUE(Case().IsModified());

  ExpectModal<CCmdStabMultiFsDlg>([](CCmdStabMultiFsDlg& d) {
    ASSERT_TRUE(ShowActive(d));
    EXPECT_EQ(Ctl<QLabel>(d, kCountLabel)->text().toStdString(), "ブロック数:0  -  組合せ数:0");
    EXPECT_EQ(Ctl<CSheetGrid>(d, 5247)->MaxRows(), 0);
    QTest::mouseClick(Ctl<QPushButton>(d, 2), Qt::LeftButton);
  });
  ClickStabilityButton();

  // A recognition on the case without division or results asks nothing.
  TestUi().ExpectMessageBox(MsgResult::Ok);
  p_.ClickFlowButton(0, kPolygonButton);
  EXPECT_EQ(TestUi().MessageBoxes().back().icon, MsgIcon::Information);
}

}  // namespace
