// The multi-plane stability dialog at the limit of 300 blocks: 44,850 pairs of start and end
// block. Opening fills the grid; a click on the Fs header sorts the list and fills it again; CP
// writes the 300 × 300 matrix of Fs. The results are made by hand, so that no calculation is
// timed.

#include <benchmark/benchmark.h>

#include <QHeaderView>
#include <QTest>
#include <memory>
#include <string>

#include "bench/stage/AllPairs.h"
#include "core/case/Case.h"
#include "core/case/ManageCore.h"
#include "core/stability/BlockList.h"
#include "core/stability/ResStab2.h"
#include "stage/controls/SheetGrid.h"
#include "stage/dialogs/CmdStabMultiFsDlg.h"

namespace {

constexpr int kBlocks = CBlockList::kMaxBlocks;

class Fixture {
 public:
  Fixture() {
    core_.GetCaseArray().CreateCase();  // no configuration files: nothing is written
    CCase& target = *core_.GetActiveCase();
    target.GetPrmStab().planFsNormal = 1.2;
    target.GetPrmStab().planFsQuake = 1.0;
    FillAllPairs(target.GetResStab2());
  }
  CManageCore& Core() { return core_; }
  CResStab2& Results() { return core_.GetActiveCase()->GetResStab2(); }

 private:
  CManageCore core_;
};

// Opening the dialog: the grid filled with every pair, then its first paint.
void BM_MultiFsOpen(benchmark::State& state) {
  Fixture fixture;
  for (auto _ : state) {
    CCmdStabMultiFsDlg dialog(fixture.Core());
    dialog.resize(760, 560);
    dialog.show();
    dialog.repaint();
    benchmark::DoNotOptimize(&dialog);
  }
  state.SetLabel("44,850 rows");
}
BENCHMARK(BM_MultiFsOpen)->Unit(benchmark::kMillisecond);

// A click on the Fs header: the exchange-sort order of the list reversed, the grid filled again.
void BM_MultiFsSortByHeader(benchmark::State& state) {
  Fixture fixture;
  CCmdStabMultiFsDlg dialog(fixture.Core());
  dialog.resize(760, 560);
  dialog.show();
  auto* grid = dialog.findChild<CSheetGrid*>(QStringLiteral("5247"));
  QHeaderView* header = grid->horizontalHeader();
  const QPoint onFs(header->sectionViewportPosition(6) + 5, header->height() - 5);
  for (auto _ : state) {
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, onFs);
    grid->repaint();
  }
  state.SetLabel("sort and fill of 44,850 rows");
}
BENCHMARK(BM_MultiFsSortByHeader)->Unit(benchmark::kMillisecond);

// The sort alone, as the header click runs it: Fs descending and ascending in turn.
void BM_MultiFsExchangeSort(benchmark::State& state) {
  Fixture fixture;
  CResStab2& results = fixture.Results();
  int order = 0;
  for (auto _ : state) {
    order = 1 - order;
    results.SetSort(tagMLTSORT{9, order});
    results.SortSerial();
    benchmark::DoNotOptimize(results.GetSerial().data());
  }
}
BENCHMARK(BM_MultiFsExchangeSort)->Unit(benchmark::kMillisecond);

// CP: the text of the 300 × 300 matrix.
void BM_MultiFsMatrixText(benchmark::State& state) {
  Fixture fixture;
  for (auto _ : state) {
    const std::string text = CCmdStabMultiFsDlg::FsMatrixText(fixture.Results(), 0);
    benchmark::DoNotOptimize(text.data());
  }
}
BENCHMARK(BM_MultiFsMatrixText)->Unit(benchmark::kMillisecond);

// For comparison: the same cells each found by a search of the ordered list.
void BM_MultiFsMatrixByListSearch(benchmark::State& state) {
  Fixture fixture;
  const CResStab2& results = fixture.Results();
  for (auto _ : state) {
    int found = 0;
    for (int end = 0; end < kBlocks; ++end) {
      for (int start = 0; start < end; ++start) {
        if (results.GetAtBlockRes(start, end) != nullptr) ++found;
      }
    }
    benchmark::DoNotOptimize(found);
  }
}
BENCHMARK(BM_MultiFsMatrixByListSearch)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace
