// The multi-plane stability of step 2 through the program's real main window: the shared test
// section divided automatically in the block dialog, the stability dialog opened from the flow
// pane's step-2 button, the run, the sort, the registrations, OK, and the document saved and
// opened again.

#include <gtest/gtest.h>

#include <QHeaderView>
#include <QPushButton>
#include <QTest>
#include <cstdlib>
#include <filesystem>
#include <utility>
#include <vector>

#include "app/document/DocumentFiles.h"
#include "app/frame/MainFrame.h"
#include "app/panes/PaneFlow.h"
#include "core/case/ManageCore.h"
#include "stage/controls/ExpEdit.h"
#include "stage/controls/SheetGrid.h"
#include "stage/dialogs/CmdStabBlockDlg.h"
#include "stage/dialogs/CmdStabMultiFsDlg.h"
#include "tests/app/TestProgram.h"
#include "tests/stage/dialogs/DialogTestSupport.h"
#include "tests/support/SampleDocument.h"
#include "tests/support/ScriptedUi.h"
#include "tests/support/qt/QtTestSupport.h"

namespace {

constexpr int kBlockButton = 1026;
constexpr int kStabilityButton = 1033;

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

}  // namespace
