// The slide-deformation result dialog on the sample case: the automatic axes, the axes a user
// types (refused when unusable), the judgement cells, and a run that fills the grids and draws
// the three graphs.

#include <gtest/gtest.h>

#include <QPushButton>
#include <QTest>
#include <cmath>
#include <cstddef>
#include <functional>
#include <string>

#include "core/case/Case.h"
#include "platform/FrameMessages.h"
#include "stage/controls/SheetCell.h"
#include "stage/controls/SheetGrid.h"
#include "stage/dialogs/CmdSlideResultDlg.h"
#include "tests/stage/dialogs/DialogTestSupport.h"

namespace {

constexpr int kCalculate = 5256;
constexpr int kSummary = 6349;
constexpr int kRows = 6350;
constexpr int kAxisGrids[] = {6359, 6360, 6361};

// Types into the cell's editor, as TypeIntoCell does; empty text is typed and erased, so that the
// edit ends with an empty cell.
void EditCell(CSheetGrid& grid, int col, int row, const QString& text) {
  if (!text.isEmpty()) {
    TypeIntoCell(grid, col, row, text);
    return;
  }
  grid.setFocus();
  grid.SetActiveCell(col, row);
  TypeText(&grid, QStringLiteral("1"));
  QWidget* editor = QApplication::focusWidget();
  QTest::keyClick(editor, Qt::Key_Backspace);
  QTest::keyClick(editor, Qt::Key_Return);
  QCoreApplication::processEvents();
}

// Whether the picture holds a pixel of the colour (the graphs' data line is dark blue).
bool HasColour(const QImage& image, QRgb colour) {
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      if ((image.pixel(x, y) & 0xFFFFFF) == (colour & 0xFFFFFF)) return true;
    }
  }
  return false;
}

TEST(SlideAutoAxes, PitchesAndMaximaFollowTheRanges) {
  struct Row {
    const char* name;
    double xTop, yTop;
    double xMax, xPitch, yMax, yPitch;
  };
  const Row rows[] = {
      {"dx 0.8: unit 0.1", 0.8, 1.0, 0.8, 0.1, 1.2, 0.2},
      {"dx 1.0: unit 0.2", 1.0, 1.0, 1.0, 0.2, 1.2, 0.2},
      {"y range 0.3: unit 0.01", 0.5, 0.3, 0.5, 0.1, 0.36, 0.06},
      // A range of zero width would divide by zero in the drawing: it becomes a unit range.
      {"zero width", 0.0, 0.0, 1.0, 0.2, 1.2, 0.2},
      {"unset", kNoValue, kNoValue, 1.0, 0.2, 1.2, 0.2},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    const CCmdSlideResultDlg::AutoAxes axes =
        CCmdSlideResultDlg::ComputeAutoAxes(row.xTop, row.yTop);
    EXPECT_NEAR(axes.xMax, row.xMax, 1e-12);
    EXPECT_NEAR(axes.xPitch, row.xPitch, 1e-12);
    EXPECT_NEAR(axes.yMax, row.yMax, 1e-12);
    EXPECT_NEAR(axes.yPitch, row.yPitch, 1e-12);
    EXPECT_GT(axes.xMax, 0);
    EXPECT_GT(axes.yMax, 0);
  }
}

TEST(SlideAxisCheck, RefusesInvertedAxesAndTooManyGridLines) {
  struct Row {
    const char* name;
    double min, max, pitch;
    bool usable;
  };
  const Row rows[] = {
      {"usable", 0, 1, 0.2, true},
      {"exactly the most grid lines", 0, 1, 1.0 / CCmdSlideResultDlg::kMaxGridLines, true},
      {"zero width", 1, 1, 0.2, false},
      {"inverted", 2, 1, 0.2, false},
      {"zero pitch", 0, 1, 0, false},
      {"negative pitch", 0, 1, -0.2, false},
      {"too fine a pitch", 0, 1, 1e-6, false},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    EXPECT_EQ(CCmdSlideResultDlg::CheckAxis(row.min, row.max, row.pitch).empty(), row.usable);
  }
}

class SlideResultDlgTest : public SampleCaseTest {};

// Without results the tables are empty and the vertical axes keep their stored settings.
TEST_F(SlideResultDlgTest, OpeningWithoutResultsKeepsTheStoredAxes) {
  CResSlide& results = Case().GetResSlide();
  results.DeleteResultAll();
  results.GetGraphSet(1).maxY = 0.5;
  results.GetGraphSet(1).pitchY = 0.1;
  CCmdSlideResultDlg dlg(Case());
  ASSERT_TRUE(ShowActive(dlg));
  EXPECT_EQ(dlg.windowTitle(), "すべり変形計算・出力");
  EXPECT_EQ(Ctl<CSheetGrid>(dlg, kRows)->MaxRows(), 0);
  EXPECT_EQ(Ctl<CSheetGrid>(dlg, kSummary)->Text(4, 3), "");
  CSheetGrid& axis = *Ctl<CSheetGrid>(dlg, kAxisGrids[1]);
  EXPECT_EQ(axis.Text(2, 1), "0.5000");
  EXPECT_EQ(axis.Text(3, 1), "0.1000");
  // Word output says that there is nothing to report and asks the main window for nothing.
  const std::size_t sent = TestUi().FrameMessages().size();
  TestUi().ExpectMessageBox(MsgResult::Ok, "計算結果がありません");
  QTest::mouseClick(Ctl<QPushButton>(dlg, 6357), Qt::LeftButton);
  EXPECT_EQ(TestUi().MessageBoxes().back().icon, MsgIcon::Information);
  EXPECT_EQ(TestUi().FrameMessages().size(), sent);
  QTest::mouseClick(Ctl<QPushButton>(dlg, 2), Qt::LeftButton);
}

// The judgement cells: OK in blue, OUT in red, and no judgement while the design value is unset.
TEST_F(SlideResultDlgTest, JudgementCellsShowTheStates) {
  CResSlide& results = Case().GetResSlide();
  ASSERT_TRUE(results.IsResult());
  const double allowGs = CResSlide::GetKyoyouHizumi();
  struct Row {
    const char* name;
    double gammaS;
    double ds;
    const char* gsText;
    const char* dsText;
  };
  const Row rows[] = {
      {"both pass", allowGs / 2, results.allowableDs / 2, "OK", "OK"},
      {"both fail", allowGs * 2, results.allowableDs * 2, "OUT", "OUT"},
      {"γs unset", kNoValue, results.allowableDs / 2, "判定なし", "OK"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    results.designRow.gammaS = row.gammaS;
    results.designRow.ds = row.ds;
    CCmdSlideResultDlg dlg(Case());
    CSheetGrid& summary = *Ctl<CSheetGrid>(dlg, kSummary);
    EXPECT_EQ(summary.Text(4, 3), row.gsText);
    EXPECT_EQ(summary.Text(4, 4), row.dsText);
    const std::string gs = row.gsText;
    if (gs == "OK" || gs == "OUT") {
      EXPECT_EQ(summary.ForeColor(4, 3), gs == "OK" ? Color{0xFF0000} : Color{0x0000FF});
    }
  }
}

// Typed axis values: an emptied cell takes the stored value back; a minimum at or above the
// maximum, a pitch of 0 and a pitch asking for more grid lines than a graph draws are refused
// with a message and the stored axis shown again; a usable axis is stored.
TEST_F(SlideResultDlgTest, TypedAxesAreStoredOrRefused) {
  CCmdSlideResultDlg dlg(Case());
  ASSERT_TRUE(ShowActive(dlg));
  CSheetGrid& axis = *Ctl<CSheetGrid>(dlg, kAxisGrids[0]);
  CDrawResGraphSet& set = Case().GetResSlide().GetGraphSet(0);
  set.minY = 0;
  set.maxY = 2;
  set.pitchY = 0.5;
  struct Row {
    const char* name;
    int col;
    const char* text;
    bool refused;
    double min, max, pitch;  // the stored axis afterwards
  };
  const Row rows[] = {
      {"empty minimum", 1, "", false, 0, 2, 0.5},
      {"minimum above the maximum", 1, "3", true, 0, 2, 0.5},
      {"minimum equal to the maximum", 1, "2", true, 0, 2, 0.5},
      {"pitch 0", 3, "0", true, 0, 2, 0.5},
      {"pitch for 2000 lines", 3, "0.001", true, 0, 2, 0.5},
      {"usable maximum", 2, "4", false, 0, 4, 0.5},
      {"usable pitch", 3, "0.25", false, 0, 4, 0.25},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    if (row.refused) TestUi().ExpectMessageBox(MsgResult::Ok);
    EditCell(axis, row.col, 1, QString::fromUtf8(row.text));
    EXPECT_EQ(set.minY, row.min);
    EXPECT_EQ(set.maxY, row.max);
    EXPECT_EQ(set.pitchY, row.pitch);
    EXPECT_EQ(SpreadGetDbl(axis, row.col, 1), row.col == 1   ? row.min
                                              : row.col == 2 ? row.max
                                                             : row.pitch);
  }
  QTest::mouseClick(Ctl<QPushButton>(dlg, 2), Qt::LeftButton);
}

// 計算開始 on the sample case without results: one row per seismic coefficient, the design
// row with its judgements, the axes filled automatically and three graphs with their data.
TEST_F(SlideResultDlgTest, CalculationFillsTheGridsAndDrawsTheGraphs) {
  Case().ClearResult(false, false, true, false);
  Case().SetModify(false);
  CCmdSlideResultDlg dlg(Case());
  ASSERT_TRUE(ShowActive(dlg));
  const std::size_t windows = TestUi().ProgressWindowCount();
  const std::size_t messages = TestUi().FrameMessages().size();
  QTest::mouseClick(Ctl<QPushButton>(dlg, kCalculate), Qt::LeftButton);
  // The march ran in a progress window, hidden again, and the view redrew once.
  ASSERT_EQ(TestUi().ProgressWindowCount(), windows + 1);
  EXPECT_FALSE(TestUi().Progress(windows).visible);
  ASSERT_EQ(TestUi().FrameMessages().size(), messages + 1);
  EXPECT_EQ(TestUi().FrameMessages().back().message, FrameMsg::WM_APP_REDRAW);
  const CResSlide& results = Case().GetResSlide();
  ASSERT_TRUE(results.IsResult());
  EXPECT_TRUE(Case().IsModified());
  CSheetGrid& rows = *Ctl<CSheetGrid>(dlg, kRows);
  ASSERT_EQ(rows.MaxRows(), static_cast<int>(results.rows.size()));
  ASSERT_GT(rows.MaxRows(), 1);
  EXPECT_NEAR(SpreadGetDbl(rows, 4, 2), results.rows[1].ds, 1e-4);
  CSheetGrid& summary = *Ctl<CSheetGrid>(dlg, kSummary);
  EXPECT_NEAR(SpreadGetDbl(summary, 1, 4), results.designRow.ds, 1e-4);
  EXPECT_EQ(summary.Text(4, 4), results.IsJudgeDs() ? "OK" : "OUT");
  for (int i = 0; i < CCmdSlideResultDlg::kGraphCount; ++i) {
    SCOPED_TRACE(i);
    const CDrawResGraphSet& set = Case().GetResSlide().GetGraphSet(i);
    EXPECT_EQ(set.minY, 0);
    EXPECT_GT(set.maxY, 0);
    EXPECT_LE((set.maxY - set.minY) / set.pitchY, CCmdSlideResultDlg::kMaxGridLines);
    EXPECT_TRUE(HasColour(dlg.Graph(i), qRgb(0, 0, 128)));
  }
  SaveShot(dlg, "CCmdSlideResultDlg");
  QTest::mouseClick(Ctl<QPushButton>(dlg, 1), Qt::LeftButton);
}

}  // namespace
