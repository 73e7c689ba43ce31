// The largest grid of the dialogs: the multi-plane result table of 300 blocks, 44,850 pairs of
// start and end block in 10 columns, every cell with a colour of its own. Filled once as the
// dialog opens, and filled again after each click on a column header (the table is re-sorted).

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QHeaderView>
#include <QTest>
#include <cstdlib>

#include "platform/qt/LookAndFeel.h"
#include "stage/controls/SheetCell.h"
#include "stage/controls/SheetGrid.h"

namespace {

constexpr int kRows = 44850;
constexpr int kCols = 10;
constexpr Color kBlue{0xFF0000};
constexpr Color kRed{0x0000FF};

// Writes every row as the result dialog does: numbers with their decimals, a colour per cell.
void Fill(CSheetGrid& grid, bool reversed) {
  grid.SetMaxRows(kRows);
  for (int i = 0; i < kRows; ++i) {
    const int row = i + 1;
    const int pair = reversed ? kRows - i : row;
    const double fs = 0.8 + 0.00001 * pair;
    SpreadSetInt(grid, 1, row, pair % 300 + 1);
    SpreadSetInt(grid, 2, row, pair / 300 + 1);
    for (int col = 3; col <= kCols; ++col) {
      grid.SetForeColor(SheetBlock(col, row), fs * col > 4.0 ? kBlue : kRed);
      SpreadSetDbl(grid, col, row, 3, "", fs * col);
    }
  }
}

class ResultGrid {
 public:
  ResultGrid() {
    grid_.SetMaxCols(kCols);
    grid_.SetColHeaderRows(2);
    grid_.SetLock(SheetBlock(CSheetGrid::kAll, CSheetGrid::kAll), true);
    grid_.resize(900, 600);
    grid_.show();
    QApplication::processEvents();
  }
  CSheetGrid& Grid() { return grid_; }

 private:
  CSheetGrid grid_;
};

// The whole fill as the dialog opens, painting off, then the first paint.
void BM_FillResultGrid(benchmark::State& state) {
  ResultGrid table;
  CSheetGrid& grid = table.Grid();
  const bool redrawOff = state.range(0) != 0;
  for (auto _ : state) {
    grid.SetMaxRows(0);
    if (redrawOff) grid.SetReDraw(false);
    Fill(grid, false);
    if (redrawOff) grid.SetReDraw(true);
    grid.repaint();
  }
  state.SetLabel(redrawOff ? "painting off while filling" : "painting on while filling");
}
BENCHMARK(BM_FillResultGrid)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond);

// A click on a column header refills the whole table in the new order.
void BM_RefillAfterHeaderClick(benchmark::State& state) {
  ResultGrid table;
  CSheetGrid& grid = table.Grid();
  Fill(grid, false);
  bool reversed = false;
  QObject::connect(&grid, &CSheetGrid::Click, &grid, [&](int /*col*/, int row) {
    if (row >= 1) return;
    reversed = !reversed;
    grid.SetReDraw(false);
    Fill(grid, reversed);
    grid.SetReDraw(true);
  });
  QHeaderView* header = grid.horizontalHeader();
  const QPoint onColumn4(header->sectionViewportPosition(3) + 10, 5);
  for (auto _ : state) {
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, onColumn4);
    grid.repaint();
  }
}
BENCHMARK(BM_RefillAfterHeaderClick)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  QApplication app(argc, argv);
  InstallLookAndFeel();
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
