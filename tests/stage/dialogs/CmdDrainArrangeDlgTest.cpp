// The rock-bolt arrangement on the sample case (its slope rises from (6, 0) over (12, 5) and
// (18, 10) to (24, 15)): points picked in turn, the conditions box, laying out bars from the
// ranges, clearing them, and what OK and キャンセル keep, mark and clear.

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>
#include <QTest>
#include <cmath>
#include <string>

#include "core/deformation/Reinforce.h"
#include "core/section/SpGround.h"
#include "platform/FrameMessages.h"
#include "stage/controls/ExpEdit.h"
#include "stage/controls/SheetGrid.h"
#include "stage/dialogs/CmdDrainArrangeDlg.h"
#include "tests/stage/dialogs/DialogTestSupport.h"

namespace {

constexpr int kRangeGrid = 6235;
constexpr int kBarGrid = 6243;
constexpr int kConditions = 6256;
constexpr int kArrange = 6242;
constexpr int kClearBars = 6251;
constexpr const char* kArrangeQuestion =
    "設定した配置条件から [ロックボルトの配置] を作成します。\nよろしいですか？";

// A range from (18, 10) down to (12, 5) on the slope, 7.81 m long: rows from the lower end, 1 m
// in, every 2 m.
void SetRange(CReinfRange& range, int rows) {
  range.start = CDPoint(18.0, 10.0);
  range.end = CDPoint(12.0, 5.0);
  range.rowCount = rows;
  range.startSide = CReinfRange::kSideLower;
  range.offsets[2 + CReinfRange::kMeasureSlope] = 1.0;
  range.pitches[CReinfRange::kMeasureSlope] = 2.0;
  range.inclinationMode = CReinfRange::kInclineFixed;
  range.alpha = 20.0;
  range.lrb = 5.0;
  range.extraLength = 0.5;
  range.sh = 2.0;
}

class CmdDrainArrangeDlgTest : public SampleCaseTest {
 protected:
  CmdDrainArrangeDlgTest() { Case().GetPrmReinf().arrangeCheck = 1; }

  const CReinfRange& Range(const CCmdDrainArrangeDlg& d, int i) const {
    return d.Working().ranges.at(static_cast<std::size_t>(i));
  }
  static void Click(CCmdDrainArrangeDlg& d, int id) {
    QTest::mouseClick(Ctl<QPushButton>(d, id), Qt::LeftButton);
  }
  // Lays the bars out from the case's ranges, answering the question with OK.
  void Arrange(CCmdDrainArrangeDlg& d) {
    TestUi().ExpectMessageBox(MsgResult::Ok, kArrangeQuestion);
    Click(d, kArrange);
  }
};

TEST_F(CmdDrainArrangeDlgTest, ClicksFillTheUpperAndTheLowerPointInTurn) {
  CCmdDrainArrangeDlg d(Case());
  const CSheetGrid& grid = *Ctl<CSheetGrid>(d, kRangeGrid);
  EXPECT_EQ(grid.Text(CSheetGrid::kRowHeaderCol, 1).toStdString(), "上端 *");
  d.SetPoint(18.0, 10.0);
  d.SetPoint(12.0, 5.0);
  EXPECT_EQ(Range(d, 0).start, CDPoint(18.0, 10.0));
  EXPECT_EQ(Range(d, 0).end, CDPoint(12.0, 5.0));
  EXPECT_EQ(grid.Text(1, 2).toStdString(), "12.0000");
  EXPECT_NEAR(Ctl<CExpEdit>(d, 6227)->GetDouble(), std::hypot(6.0, 5.0), 1e-3);
  d.SetPoint(17.0, 9.0);  // the third click replaces the upper point
  EXPECT_EQ(Range(d, 0).start, CDPoint(17.0, 9.0));
  EXPECT_EQ(Range(d, 0).end, CDPoint(12.0, 5.0));
  EXPECT_EQ(grid.Text(CSheetGrid::kRowHeaderCol, 2).toStdString(), "下端 *");
  EXPECT_EQ(grid.BackColor(1, 2), Color{0xEDFFA5});
  d.OnCancel();
}

// Each range keeps its own points across a switch of the range list; 範囲クリア resets the current
// one after asking.
TEST_F(CmdDrainArrangeDlgTest, RangesAreSwitchedAndCleared) {
  SetRange(Case().GetPrmReinf().ranges[0], 3);
  CCmdDrainArrangeDlg d(Case());
  QComboBox* list = Ctl<QComboBox>(d, 6202);
  ASSERT_EQ(list->count(), 10);
  list->setCurrentIndex(1);
  emit list->activated(1);
  EXPECT_EQ(d.CurrentRange(), 1);
  EXPECT_TRUE(Ctl<CSheetGrid>(d, kRangeGrid)->Text(1, 1).isEmpty());
  d.SetPoint(20.0, 12.0);
  EXPECT_EQ(Range(d, 1).start, CDPoint(20.0, 12.0));
  EXPECT_EQ(Range(d, 0).start, CDPoint(18.0, 10.0));
  EXPECT_TRUE(Range(d, 1).active);
  EXPECT_FALSE(Range(d, 0).active);

  TestUi().ExpectMessageBox(MsgResult::Ok, "[範囲 2] のデータをクリアします。よろしいですか？");
  Click(d, 6205);
  EXPECT_EQ(Range(d, 1).start.x, kNoValue);
  EXPECT_EQ(Range(d, 1).name, "範囲 2");
  EXPECT_EQ(Range(d, 0).rowCount, 3);
  d.OnCancel();
  EXPECT_EQ(Case().GetPrmReinf().ranges[1].start.x, kNoValue);  // キャンセル keeps the case's own
}

// Unchecked, the box disables the range inputs and clicks enter nothing; the bars stay editable.
TEST_F(CmdDrainArrangeDlgTest, WithoutTheConditionsBoxClicksDoNothing) {
  Case().GetPrmReinf().arrangeCheck = 0;
  CCmdDrainArrangeDlg d(Case());
  EXPECT_FALSE(Ctl<QCheckBox>(d, kConditions)->isChecked());
  EXPECT_FALSE(Ctl<CSheetGrid>(d, kRangeGrid)->isEnabled());
  EXPECT_FALSE(Ctl<CExpEdit>(d, 6234)->isEnabled());
  EXPECT_FALSE(Ctl<QPushButton>(d, kArrange)->isEnabled());
  EXPECT_TRUE(Ctl<CSheetGrid>(d, kBarGrid)->isEnabled());
  d.SetPoint(18.0, 10.0);
  EXPECT_EQ(Range(d, 0).start.x, kNoValue);
  d.OnCancel();
}

TEST_F(CmdDrainArrangeDlgTest, ARangeThatDoesNotFitBlocksTheLayout) {
  SetRange(Case().GetPrmReinf().ranges[0], 3);
  SetRange(Case().GetPrmReinf().ranges[1], 5);  // 4 × 2 + 1 = 9 m on 7.81 m
  CCmdDrainArrangeDlg d(Case());
  TestUi().ExpectMessageBox(MsgResult::Ok,
                            "[範囲 2]： 5段のロックボルトを配置するには、のり長が不足しています。"
                            "\n\n配置条件を見直してください。");
  Click(d, kArrange);
  EXPECT_EQ(Case().GetReinfArrange().GetSize(), 3);  // the sample's bars, untouched
  d.OnCancel();
}

TEST_F(CmdDrainArrangeDlgTest, AllRangesInvalidLeaveTheArrangementEmpty) {
  CCmdDrainArrangeDlg d(Case());
  Arrange(d);
  EXPECT_EQ(Case().GetReinfArrange().GetSize(), 0);
  EXPECT_EQ(Ctl<CSheetGrid>(d, kBarGrid)->MaxRows(), 0);
  d.OnCancel();
  EXPECT_EQ(Case().GetReinfArrange().GetSize(), 3);
}

// The bars of a range: fixed α, or each bar perpendicular to the ground at its own head.
TEST_F(CmdDrainArrangeDlgTest, TheLayoutGivesEachBarItsInclination) {
  for (const int mode : {CReinfRange::kInclineFixed, CReinfRange::kInclinePerpendicular}) {
    SCOPED_TRACE(mode);
    SetRange(Case().GetPrmReinf().ranges[0], 3);
    Case().GetPrmReinf().ranges[0].inclinationMode = mode;
    CCmdDrainArrangeDlg d(Case());
    Arrange(d);
    const CReinfArrange& bars = Case().GetReinfArrange();
    ASSERT_EQ(bars.GetSize(), 3);
    const CSheetGrid& grid = *Ctl<CSheetGrid>(d, kBarGrid);
    EXPECT_EQ(grid.MaxRows(), 3);
    EXPECT_EQ(Ctl<CExpEdit>(d, 6241)->text().toStdString(), "3");
    for (int i = 0; i < 3; ++i) {
      const CReinforce& bar = *bars.GetAt(i);
      EXPECT_EQ(bar.number, i + 1);
      const double expected =
          mode == CReinfRange::kInclineFixed
              ? 20.0
              : Case().GetGround().GetHkAngle(&bar.head, Case().GetPrmJobsite().direction);
      EXPECT_DOUBLE_EQ(bar.alpha, expected);
      EXPECT_EQ(grid.Text(2, i + 1).toStdString(), "ネジ節棒鋼");
    }
    EXPECT_GT(bars.GetAt(0)->head.y, bars.GetAt(2)->head.y);  // highest head first
    d.OnCancel();
  }
}

// What OK keeps: unchanged nothing is marked; a range edit marks the case but keeps the
// deformation results (the calculations read the bars, not the ranges); moved bars mark it and
// clear them.
TEST_F(CmdDrainArrangeDlgTest, OkMarksAndClearsByWhatChanged) {
  enum class Edit { None, Range, Bar };
  for (const Edit edit : {Edit::None, Edit::Range, Edit::Bar}) {
    SCOPED_TRACE(static_cast<int>(edit));
    FillSampleCase(Case(), 0);
    Case().GetPrmReinf().arrangeCheck = 1;
    Case().SetModify(false);
    ASSERT_TRUE(Case().IsResSlide());
    ASSERT_TRUE(Case().IsResShear());
    CCmdDrainArrangeDlg d(Case());
    ASSERT_TRUE(ShowActive(d));
    if (edit == Edit::Range) d.SetPoint(18.0, 10.0);
    if (edit == Edit::Bar) TypeIntoCell(*Ctl<CSheetGrid>(d, kBarGrid), 4, 1, QStringLiteral("14"));
    d.OnOK();
    EXPECT_EQ(TestUi().FrameMessages().back(),
              (FrameMessage{FrameMsg::WM_CMD_SLIDE_ARRANGE_CLOSE, 1, 0}));
    EXPECT_EQ(Case().IsModified(), edit != Edit::None);
    EXPECT_EQ(Case().IsResSlide(), edit != Edit::Bar);
    EXPECT_EQ(Case().IsResShear(), edit != Edit::Bar);
    if (edit == Edit::Range) {
      EXPECT_EQ(Case().GetPrmReinf().ranges[0].start, CDPoint(18, 10));
    }
    if (edit == Edit::Bar) {
      EXPECT_DOUBLE_EQ(Case().GetReinfArrange().GetAt(0)->head.x, 14.0);
    }
  }
}

// The view draws the ranges being edited while the dialog is open and the case's own after
// either end; キャンセル after 配置クリア brings the bars back.
TEST_F(CmdDrainArrangeDlgTest, ClosingRestoresTheDrawingAndCancelTheBars) {
  for (const bool ok : {true, false}) {
    SCOPED_TRACE(ok);
    FillSampleCase(Case(), 0);
    Case().GetPrmReinf().arrangeCheck = 1;
    {
      CCmdDrainArrangeDlg d(Case());
      EXPECT_EQ(&Case().GetDrawPrmReinf(), &d.Working());
      EXPECT_TRUE(Range(d, 0).active);
      TestUi().ExpectMessageBox(MsgResult::Ok,
                                "配置したロックボルトをクリアします。\nよろしいですか？");
      Click(d, kClearBars);
      EXPECT_EQ(Case().GetReinfArrange().GetSize(), 0);
      if (ok) {
        d.OnOK();
      } else {
        d.OnCancel();
      }
      EXPECT_EQ(TestUi().FrameMessages().back(),
                (FrameMessage{FrameMsg::WM_CMD_SLIDE_ARRANGE_CLOSE, ok ? 1U : 0U, 0}));
    }
    EXPECT_EQ(&Case().GetDrawPrmReinf(), &Case().GetPrmReinf());
    EXPECT_EQ(Case().GetReinfArrange().GetSize(), ok ? 0 : 3);
    EXPECT_FALSE(Case().GetPrmReinf().ranges[0].active);
  }
}

TEST_F(CmdDrainArrangeDlgTest, Screenshot) {
  SetRange(Case().GetPrmReinf().ranges[0], 3);
  CCmdDrainArrangeDlg d(Case());
  Arrange(d);
  ASSERT_TRUE(ShowActive(d));
  SaveShot(d, "CCmdDrainArrangeDlg-sample");
  d.OnCancel();
}

}  // namespace
