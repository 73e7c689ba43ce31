// The two slide-stage pickers on the sample case: the slide-surface length block by block and
// the thickness from the bolts, what 代入 gives back, and 代入 refused while there is nothing to
// give.

#include <gtest/gtest.h>

#include <QPushButton>
#include <QTest>
#include <memory>

#include "core/case/Case.h"
#include "core/deformation/ReinfArrange.h"
#include "core/deformation/Reinforce.h"
#include "core/stability/Block.h"
#include "core/stability/BlockList.h"
#include "stage/controls/SheetCell.h"
#include "stage/controls/SheetGrid.h"
#include "stage/dialogs/RefSlideHDlg.h"
#include "stage/dialogs/RefSlideLDlg.h"
#include "tests/stage/dialogs/DialogTestSupport.h"

namespace {

constexpr double kDegrees = 57.29577951308232;

class RefSlideDlgTest : public SampleCaseTest {
 protected:
  void UnregisterSeismicRow() {
    for (CMltPoint* p : Case().GetResStab2().GetSerial()) p->typicalQ = 0;
    ASSERT_EQ(Case().GetQuakeSelectPoint(), nullptr);
  }
};

// One row per block of the seismic slide mass, the bases of all but the last block and the end
// face of the last, each row labelled; the total is the sum of the rows and what 代入 gives.
TEST_F(RefSlideDlgTest, LengthRowsAreTheBasesAndTheEndFaceAndAddUpToTheTotal) {
  const CMltPoint& quake = *Case().GetQuakeSelectPoint();
  for (const bool rightUpper : {true, false}) {
    SCOPED_TRACE(rightUpper);
    Case().GetBlockList().SetRightUpper(rightUpper);
    const std::unique_ptr<CBlockList> mass =
        Case().GetBlockList().CreateBlockList(quake.startBlock, quake.endBlock);
    ASSERT_NE(mass, nullptr);
    const int count = mass->GetBlockSize();
    const double sign = rightUpper ? 1 : -1;
    CRefSlideLDlg dlg(Case());
    ASSERT_TRUE(ShowActive(dlg));
    CSheetGrid& rows = *Ctl<CSheetGrid>(dlg, 6392);
    CSheetGrid& total = *Ctl<CSheetGrid>(dlg, 6393);
    ASSERT_EQ(rows.MaxRows(), count);
    double sum = 0;
    for (int r = 1; r <= count; ++r) {
      const CBlock& block = *mass->GetBlockPtr(r - 1);
      const bool last = r == count;
      EXPECT_EQ(rows.Text(CSheetGrid::kRowHeaderCol, r), last ? "端面" : "底面");
      EXPECT_EQ(SpreadGetInt(rows, 1, r), quake.startBlock + r);
      const double angle =
          (last ? block.GetEndAngle(rightUpper) : block.GetBottomAngle()) * kDegrees * sign;
      const double length = last ? block.GetEndLength(rightUpper) : block.GetLength();
      EXPECT_NEAR(SpreadGetDbl(rows, 3, r), angle, 1e-4);
      EXPECT_NEAR(SpreadGetDbl(rows, 4, r), length, 1e-4);
      sum += SpreadGetDbl(rows, 4, r);
    }
    EXPECT_EQ(total.Text(CSheetGrid::kRowHeaderCol, 1), "合計");
    EXPECT_NEAR(SpreadGetDbl(total, 4, 1), sum, 1e-4 * count);
    EXPECT_DOUBLE_EQ(dlg.Result(), mass->GetTotalL());
    EXPECT_TRUE(Ctl<QPushButton>(dlg, 1)->isEnabled());
    if (rightUpper) SaveShot(dlg, "CRefSlideLDlg");
    QTest::mouseClick(Ctl<QPushButton>(dlg, 1), Qt::LeftButton);
    EXPECT_EQ(dlg.result(), QDialog::Accepted);
  }
}

// Without a registered seismic run the grids stay empty and 代入 cannot hand on an empty length.
TEST_F(RefSlideDlgTest, LengthWithoutSeismicRowOffersNothing) {
  UnregisterSeismicRow();
  CRefSlideLDlg dlg(Case());
  ASSERT_TRUE(ShowActive(dlg));
  EXPECT_EQ(Ctl<CSheetGrid>(dlg, 6392)->MaxRows(), 0);
  EXPECT_EQ(dlg.Result(), kNoValue);
  EXPECT_FALSE(Ctl<QPushButton>(dlg, 1)->isEnabled());
  QTest::mouseClick(Ctl<QPushButton>(dlg, 2), Qt::LeftButton);
}

// One row per bolt: L1 and L2 of the seismic set only when positive, the total length red only
// when shorter than the required length; the statistics and 計算 h, which 代入 gives.
TEST_F(RefSlideDlgTest, ThicknessShowsTheBoltsAndGivesMeanPlusDeviation) {
  CReinfArrange& arrange = Case().GetReinfArrange();
  ASSERT_EQ(arrange.GetSize(), 3);
  const double required = arrange.GetDesignLength();
  ASSERT_NE(required, kNoValue);
  ASSERT_NE(arrange.GetMeanPlusDeviation(), kNoValue);
  arrange.GetAt(0)->GetResult(1).H = 0;
  arrange.GetAt(1)->GetResult(1).H2 = kNoValue;
  arrange.GetAt(0)->length = required;
  arrange.GetAt(1)->length = required - 0.01;

  CRefSlideHDlg dlg(Case(), CRefSlideHDlg::kSeismicRow);
  ASSERT_TRUE(ShowActive(dlg));
  CSheetGrid& bolts = *Ctl<CSheetGrid>(dlg, 6395);
  ASSERT_EQ(bolts.MaxRows(), 3);
  EXPECT_EQ(bolts.Text(2, 1), "");
  EXPECT_EQ(bolts.Text(3, 2), "");
  EXPECT_NEAR(SpreadGetDbl(bolts, 2, 3), arrange.GetAt(2)->GetH(1), 1e-4);
  EXPECT_NE(bolts.ForeColor(5, 1), Color{0x0000FF});
  EXPECT_EQ(bolts.ForeColor(5, 2), Color{0x0000FF});
  CSheetGrid& statistics = *Ctl<CSheetGrid>(dlg, 6396);
  EXPECT_NEAR(SpreadGetDbl(statistics, 2, 1), arrange.GetSumH(), 1e-4);
  EXPECT_NEAR(SpreadGetDbl(statistics, 2, 4), arrange.GetMeanPlusDeviation(), 1e-4);
  EXPECT_NEAR(SpreadGetDbl(*Ctl<CSheetGrid>(dlg, 6397), 2, 1), required, 1e-4);
  EXPECT_EQ(dlg.Result(), arrange.GetMeanPlusDeviation());
  SaveShot(dlg, "CRefSlideHDlg");
  QTest::mouseClick(Ctl<QPushButton>(dlg, 1), Qt::LeftButton);
  EXPECT_EQ(dlg.result(), QDialog::Accepted);
}

// Without a computed thickness 代入 cannot hand on an empty h.
TEST_F(RefSlideDlgTest, ThicknessWithoutStatisticsOffersNothing) {
  Case().GetReinfArrange().Init();
  CRefSlideHDlg dlg(Case(), CRefSlideHDlg::kSeismicRow);
  ASSERT_TRUE(ShowActive(dlg));
  EXPECT_EQ(Ctl<CSheetGrid>(dlg, 6395)->MaxRows(), 0);
  EXPECT_EQ(dlg.Result(), kNoValue);
  EXPECT_FALSE(Ctl<QPushButton>(dlg, 1)->isEnabled());
  QTest::mouseClick(Ctl<QPushButton>(dlg, 2), Qt::LeftButton);
}

}  // namespace
