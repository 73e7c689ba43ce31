#include <gtest/gtest.h>

#include <QPushButton>
#include <QRadioButton>
#include <cstddef>
#include <memory>
#include <string>

#include "core/model/PrmStab.h"
#include "core/stability/BlockList.h"
#include "core/stability/MltPoint.h"
#include "platform/FrameMessages.h"
#include "stage/controls/ExpEdit.h"
#include "stage/controls/SheetCell.h"
#include "stage/controls/SheetGrid.h"
#include "stage/dialogs/CmdShearReslutDlg.h"
#include "stage/dialogs/RefShearGoDlg.h"
#include "stage/dialogs/RefSlideHDlg.h"
#include "tests/stage/dialogs/DialogTestSupport.h"

namespace {

constexpr int kErb = 7351;
constexpr int kG0 = 7352;
constexpr int kSpacing = 7228;
constexpr int kDepth = 7354;
constexpr int kH = 7355;
constexpr int kTheta = 7227;
constexpr int kKh = 7357;
constexpr int kSummary = 6350;
constexpr int kResults = 6351;
constexpr int kAxes = 7358;
constexpr int kCalculate = 5256;
constexpr int kAutoRange = 5440;
constexpr int kInclination = 6349;
constexpr int kReference = 6353;
constexpr int kThickness = 6348;
constexpr Color kBlue{0xFF0000};
constexpr Color kRed{0x0000FF};

const char* const kNoQuakeRow = "多平面安定解析にて、地震時の結果が登録されていません。";
const char* const kInverted = "最小値は最大値より小さい値を入力して下さい。";
const char* const kTooManyLines =
    "ピッチが小さすぎます。\n\n（目盛線が100本以内となるピッチを入力して下さい。）";

void Press(QWidget& dialog, int id) {
  QTest::mouseClick(Ctl<QPushButton>(dialog, id), Qt::LeftButton);
}

bool HasInk(const QImage& image) {
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      if (image.pixel(x, y) != qRgb(255, 255, 255)) return true;
    }
  }
  return false;
}

class ShearResultDlgTest : public SampleCaseTest {
 protected:
  ShearResultDlgTest() {
    EXPECT_TRUE(Result().IsResult());
    EXPECT_TRUE(Case().GetResFocus().IsResult());
  }
  CPrmShear& Prm() { return Case().GetPrmShear(); }
  CResShear& Result() { return Case().GetResShear(); }
};

TEST_F(ShearResultDlgTest, ShowsTheConditionsTheDesignValuesAndEveryCoefficient) {
  CCmdShearReslutDlg dlg(core_);
  ASSERT_TRUE(ShowActive(dlg));
  EXPECT_EQ(dlg.windowTitle(), "せん断変形計算・出力");
  EXPECT_EQ(Ctl<CExpEdit>(dlg, kErb)->text(), "2.00");
  EXPECT_EQ(Ctl<CExpEdit>(dlg, kG0)->text(), "33000");
  EXPECT_EQ(Ctl<CExpEdit>(dlg, kSpacing)->text(), "2.000");
  EXPECT_EQ(Ctl<CExpEdit>(dlg, kH)->text(), "2.000");
  EXPECT_EQ(Ctl<CExpEdit>(dlg, kTheta)->text(), "35.000");
  EXPECT_TRUE(Ctl<CExpEdit>(dlg, kKh)->isReadOnly());
  EXPECT_FALSE(Ctl<CExpEdit>(dlg, kKh)->text().isEmpty());
  QTest::mouseClick(Ctl<QPushButton>(dlg, 7349), Qt::LeftButton);
  EXPECT_EQ(TestUi().FrameMessages().back(), (FrameMessage{FrameMsg::WM_APP_PRINT_WORD, 3, 0}));

  const CSheetGrid& summary = *Ctl<CSheetGrid>(dlg, kSummary);
  EXPECT_EQ(summary.Text(1, 1).toStdString(), DblToText(4, Result().design.cumStrain));
  EXPECT_EQ(summary.Text(3, 2).toStdString(), DblToText(4, Result().allowDisp));
  const CSheetGrid& results = *Ctl<CSheetGrid>(dlg, kResults);
  ASSERT_EQ(results.MaxCols(), static_cast<int>(Result().rows.size()));
  for (int col = 1; col <= results.MaxCols(); ++col) {
    const CShearData& row = Result().rows.at(static_cast<std::size_t>(col - 1));
    EXPECT_EQ(results.Text(col, 1).toStdString(), DblToText(4, row.kh));
    EXPECT_EQ(results.Text(col, 2).toStdString(), DblToExpText(1, row.cumStrain));
    EXPECT_EQ(results.Text(col, 3).toStdString(), DblToText(4, row.cumDisp));
  }
  EXPECT_TRUE(HasInk(dlg.Graph()));
  SaveShot(dlg, "CCmdShearReslutDlg");
}

// Row 1 judges the strain, row 2 the displacement, each against its own allowable value.
TEST_F(ShearResultDlgTest, EachJudgementRowJudgesItsOwnValue) {
  struct Example {
    double strain, allowStrain, disp, allowDisp;
    const char* strainJudge;
    const char* dispJudge;
  };
  const Example cases[] = {
      {0.001, 0.002, 30, 20, "OK", "OUT"},
      {0.003, 0.002, 10, 20, "OUT", "OK"},
      {kNoValue, 0.002, 10, kNoValue, "判定なし", "判定なし"},
  };
  for (const Example& c : cases) {
    SCOPED_TRACE(c.strainJudge + std::string("/") + c.dispJudge);
    Result().design.cumStrain = c.strain;
    Result().allowStrain = c.allowStrain;
    Result().design.cumDisp = c.disp;
    Result().allowDisp = c.allowDisp;
    CCmdShearReslutDlg dlg(core_);
    const CSheetGrid& summary = *Ctl<CSheetGrid>(dlg, kSummary);
    EXPECT_EQ(summary.Text(4, 1), c.strainJudge);
    EXPECT_EQ(summary.Text(4, 2), c.dispJudge);
    EXPECT_EQ(summary.Text(2, 2), "＜");
    if (std::string(c.strainJudge) == "OK") {
      EXPECT_EQ(summary.ForeColor(4, 1), kBlue);
    }
    if (std::string(c.dispJudge) == "OUT") {
      EXPECT_EQ(summary.ForeColor(4, 2), kRed);
    }
  }
}

// OK takes the fields over. A change the calculation reads clears the shear and rope-net
// results; a change of the graph's axes is stored and marks the case only.
TEST_F(ShearResultDlgTest, OkMarksTheCaseAndClearsOnlyWhatTheChangeInvalidates) {
  struct Example {
    const char* name;
    int field;  // 0: the axis grid's y maximum
    QString text;
    bool modified;
    bool cleared;
  };
  const Example cases[] = {
      {"unchanged", kG0, "33000", false, false},
      {"axes", 0, "200", true, false},
      {"G0", kG0, "30000", true, true},
      {"theta", kTheta, "30", true, true},
  };
  for (const Example& c : cases) {
    SCOPED_TRACE(c.name);
    FillSampleCase(Case(), 0);
    Case().SetModify(false);
    CCmdShearReslutDlg dlg(core_);
    ASSERT_TRUE(ShowActive(dlg));
    if (c.field == 0) {
      TypeIntoCell(*Ctl<CSheetGrid>(dlg, kAxes), 2, 2, c.text);
    } else {
      TypeField(Ctl<CExpEdit>(dlg, c.field), c.text);
    }
    Press(dlg, 1);
    EXPECT_EQ(dlg.result(), QDialog::Accepted);
    EXPECT_EQ(Case().IsModified(), c.modified);
    EXPECT_EQ(Result().IsResult(), !c.cleared);
    EXPECT_EQ(Case().GetResFocus().IsResult(), !c.cleared);
    EXPECT_EQ(Prm().g0, c.field == kG0 ? c.text.toDouble() : 33000.0);
    EXPECT_EQ(Prm().theta, c.field == kTheta ? c.text.toDouble() : 35.0);
    EXPECT_EQ(Result().graph.maxY, c.field == 0 ? 200.0 : 500.0);
  }
}

TEST_F(ShearResultDlgTest, CloseKeepsTheAxesButNotTheTypedConditions) {
  CCmdShearReslutDlg dlg(core_);
  ASSERT_TRUE(ShowActive(dlg));
  TypeField(Ctl<CExpEdit>(dlg, kG0), "30000");
  TypeIntoCell(*Ctl<CSheetGrid>(dlg, kAxes), 2, 2, "200");
  Press(dlg, 2);
  EXPECT_EQ(dlg.result(), QDialog::Rejected);
  EXPECT_EQ(Prm().g0, 33000.0);
  EXPECT_EQ(Result().graph.maxY, 200.0);
  EXPECT_TRUE(Case().IsModified());
  EXPECT_TRUE(Result().IsResult());
}

// G0, L, B and h divide and θ is taken the tangent of: zero, negative and right angles are
// refused in the field's words and change nothing.
TEST_F(ShearResultDlgTest, FieldsRefuseValuesTheCalculationCannotTake) {
  struct Example {
    int field;
    const char* typed;
    const char* range;
  };
  const Example cases[] = {
      {kG0, "0", "1 ～ 999999"},           {kSpacing, "0", "0.001 ～ 99.999"},
      {kDepth, "0", "0.001 ～ 99.999"},    {kH, "0", "0.001 ～ 99.999"},
      {kTheta, "90", "-89.999 ～ 89.999"}, {kTheta, "-90", "-89.999 ～ 89.999"},
  };
  CCmdShearReslutDlg dlg(core_);
  ASSERT_TRUE(ShowActive(dlg));
  for (const Example& c : cases) {
    SCOPED_TRACE(c.typed);
    CExpEdit* field = Ctl<CExpEdit>(dlg, c.field);
    const QString before = field->text();
    TestUi().ExpectMessageBox(MsgResult::Ok, std::string("数値が範囲外です。\n\n（") + c.range +
                                                 " までの範囲で入力してください。）");
    TypeField(field, c.typed);
    EXPECT_EQ(field->text(), before);
  }
  Press(dlg, 1);
  EXPECT_FALSE(Case().IsModified());
  EXPECT_EQ(Prm().g0, 33000.0);
  EXPECT_EQ(Prm().theta, 35.0);
}

// A value stored out of range (an old document) stops the calculation with the field's message.
TEST_F(ShearResultDlgTest, AStoredValueOutOfRangeStopsTheCalculation) {
  Prm().blockDepth = 0;
  CCmdShearReslutDlg dlg(core_);
  ASSERT_TRUE(ShowActive(dlg));
  TestUi().ExpectMessageBox(
      MsgResult::Ok, "数値が範囲外です。\n\n（0.001 ～ 99.999 までの範囲で入力してください。）");
  Press(dlg, kCalculate);
  EXPECT_TRUE(Result().IsResult());
  EXPECT_FALSE(Case().IsModified());
}

TEST_F(ShearResultDlgTest, CalculationTakesTheTypedConditionsFirstAndFitsTheAxes) {
  CCmdShearReslutDlg dlg(core_);
  ASSERT_TRUE(ShowActive(dlg));
  TypeField(Ctl<CExpEdit>(dlg, kErb), "3");
  TypeField(Ctl<CExpEdit>(dlg, kH), "3");
  const std::size_t windows = TestUi().ProgressWindowCount();
  const std::size_t messages = TestUi().FrameMessages().size();
  Press(dlg, kCalculate);
  // The march ran in a progress window, hidden again, and the view redrew once.
  ASSERT_EQ(TestUi().ProgressWindowCount(), windows + 1);
  EXPECT_FALSE(TestUi().Progress(windows).visible);
  ASSERT_EQ(TestUi().FrameMessages().size(), messages + 1);
  EXPECT_EQ(TestUi().FrameMessages().back().message, FrameMsg::WM_APP_REDRAW);
  EXPECT_EQ(Prm().erb, 3.0);
  EXPECT_EQ(Prm().GetERBreal(), 3e8);
  EXPECT_EQ(Prm().h, 3.0);
  EXPECT_TRUE(Case().IsModified());
  ASSERT_TRUE(Result().IsResult());
  // The rope-net check was made on the old conditions.
  EXPECT_FALSE(Case().GetResFocus().IsResult());
  const CDrawResGraphSet& graph = Result().graph;
  EXPECT_EQ(graph.minX, 0.0);
  EXPECT_GE(graph.maxX, Result().GetMaxKh());
  EXPECT_GE(graph.maxY, Result().GetMaxCumDelta());
  EXPECT_LE((graph.maxX - graph.minX) / graph.pitchX, CCmdShearReslutDlg::kMaxGridLines);
  EXPECT_EQ(Ctl<CSheetGrid>(dlg, kResults)->MaxCols(), static_cast<int>(Result().rows.size()));
  EXPECT_TRUE(HasInk(dlg.Graph()));
  SaveShot(dlg, "CCmdShearReslutDlg_run");
}

TEST_F(ShearResultDlgTest, AxisEntriesTheGraphCannotUseAreRefused) {
  CCmdShearReslutDlg dlg(core_);
  ASSERT_TRUE(ShowActive(dlg));
  CSheetGrid& axes = *Ctl<CSheetGrid>(dlg, kAxes);
  const CDrawResGraphSet& graph = Result().graph;
  const CDrawResGraphSet before = graph;

  TypeIntoCell(axes, 3, 1, "0");  // a pitch of 0: the stored pitch comes back
  EXPECT_EQ(graph.pitchX, before.pitchX);
  EXPECT_EQ(SpreadGetDbl(axes, 3, 1), before.pitchX);

  struct Entry {
    int col, row;
    const char* typed;
    const char* message;
  };
  const Entry entries[] = {
      {1, 1, "2", kInverted},         // the minimum at the maximum
      {2, 2, "-5", kInverted},        // the maximum below the minimum
      {3, 2, "1", kTooManyLines},     // 500 grid lines
      {3, 1, "0.01", kTooManyLines},  // 200 grid lines
  };
  for (const Entry& e : entries) {
    SCOPED_TRACE(e.typed);
    TestUi().ExpectMessageBox(MsgResult::Ok, e.message);
    TypeIntoCell(axes, e.col, e.row, e.typed);
    EXPECT_TRUE(graph.IsSame(before));
    EXPECT_EQ(SpreadGetDbl(axes, e.col, e.row), e.row == 1
                                                    ? (e.col == 1 ? before.minX : before.pitchX)
                                                    : (e.col == 2 ? before.maxY : before.pitchY));
  }
  EXPECT_FALSE(Case().IsModified());
}

// Results that are all zero at a design kh of 0 would give both axes a zero width.
TEST_F(ShearResultDlgTest, AutoRangeWidensAZeroRange) {
  Case().GetPrmStab().kh = 0;
  for (CShearData& row : Result().rows) row.kh = row.cumDisp = 0;
  Result().allowDisp = 0;
  CCmdShearReslutDlg dlg(core_);
  ASSERT_TRUE(ShowActive(dlg));
  Press(dlg, kAutoRange);
  const CDrawResGraphSet& graph = Result().graph;
  EXPECT_DOUBLE_EQ(graph.maxX, 1.0);
  EXPECT_DOUBLE_EQ(graph.pitchX, 0.2);
  EXPECT_DOUBLE_EQ(graph.maxY, 1.0);
  EXPECT_DOUBLE_EQ(graph.pitchY, 0.2);
  EXPECT_TRUE(HasInk(dlg.Graph()));
}

TEST_F(ShearResultDlgTest, WithoutResultsAutoRangeOnlyReadsTheGrid) {
  Result().rows.clear();
  CCmdShearReslutDlg dlg(core_);
  CSheetGrid& axes = *Ctl<CSheetGrid>(dlg, kAxes);
  SpreadSetDbl(axes, 2, 1, 4, "", 0.8);
  Press(dlg, kAutoRange);
  EXPECT_EQ(Result().graph.maxX, 0.8);
  EXPECT_EQ(Result().graph.maxY, 500.0);
  EXPECT_EQ(SpreadGetDbl(axes, 2, 1), 0.8);
}

TEST_F(ShearResultDlgTest, InclinationComesFromTheRunRegisteredForTheSeismicCase) {
  const CMltPoint* registered = Case().GetQuakeSelectPoint();
  ASSERT_NE(registered, nullptr);
  const double angle = Case()
                           .GetBlockList()
                           .CreateBlockList(registered->startBlock, registered->endBlock)
                           ->GetSuberiAngle();
  ASSERT_NE(angle, 35.0);
  CCmdShearReslutDlg dlg(core_);
  ASSERT_TRUE(ShowActive(dlg));
  Press(dlg, kInclination);
  EXPECT_EQ(Prm().theta, angle);
  EXPECT_EQ(Ctl<CExpEdit>(dlg, kTheta)->text().toStdString(), DblToText(3, angle));
  EXPECT_TRUE(Case().IsModified());
  EXPECT_FALSE(Result().IsResult());
  EXPECT_TRUE(Ctl<CSheetGrid>(dlg, kSummary)->Text(1, 1).isEmpty());
}

TEST_F(ShearResultDlgTest, InclinationWithoutASeismicRowChangesNothing) {
  for (CMltPoint* p : Case().GetResStab2().GetSerial()) p->typicalQ = 0;
  CCmdShearReslutDlg dlg(core_);
  ASSERT_TRUE(ShowActive(dlg));
  TestUi().ExpectMessageBox(MsgResult::Ok, kNoQuakeRow);
  Press(dlg, kInclination);
  EXPECT_EQ(Prm().theta, 35.0);
  EXPECT_FALSE(Case().IsModified());
  EXPECT_TRUE(Result().IsResult());
}

TEST_F(ShearResultDlgTest, ReferenceG0ReachesTheFieldAndTheCaseOnOk) {
  CCmdShearReslutDlg dlg(core_);
  ASSERT_TRUE(ShowActive(dlg));
  ExpectModal<CRefShearGoDlg>([](CRefShearGoDlg& picker) {
    ASSERT_TRUE(ShowActive(picker));
    QTest::mouseClick(Ctl<QRadioButton>(picker, 7380), Qt::LeftButton);
    SaveShot(picker, "CRefShearGoDlg");
    Press(picker, 1);
  });
  Press(dlg, kReference);
  EXPECT_EQ(Ctl<CExpEdit>(dlg, kG0)->text(), "22300");
  EXPECT_EQ(Prm().g0, 33000.0);
  Press(dlg, 1);
  EXPECT_EQ(Prm().g0, 22300.0);
  EXPECT_FALSE(Result().IsResult());
}

// 厚さ計算から代入 opens the thickness picker on the seismic run; the h it hands back shows in the
// field, キャンセル leaves the field.
TEST_F(ShearResultDlgTest, TheThicknessPickerFillsTheHField) {
  CCmdShearReslutDlg dlg(core_);
  ASSERT_TRUE(ShowActive(dlg));
  CExpEdit* h = Ctl<CExpEdit>(dlg, kH);
  const QString before = h->text();
  ExpectModal<CRefSlideHDlg>([](CRefSlideHDlg& picker) { Press(picker, 2); });
  Press(dlg, kThickness);
  EXPECT_EQ(h->text(), before);

  double picked = kNoValue;
  ExpectModal<CRefSlideHDlg>([&picked](CRefSlideHDlg& picker) {
    ASSERT_TRUE(Ctl<QPushButton>(picker, 1)->isEnabled());
    picked = picker.Result();
    Press(picker, 1);
  });
  Press(dlg, kThickness);
  ASSERT_NE(picked, kNoValue);
  EXPECT_EQ(h->text().toStdString(), DblToText(h->m_nDecimals, picked));
}

}  // namespace
