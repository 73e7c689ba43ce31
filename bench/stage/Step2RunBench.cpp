// The step-2 job of 300 blocks (44,850 pairs) as the user runs it: the stability dialog's
// 計算開始 with the program's own services (the Qt progress window, offscreen) until the grid is
// filled and painted. The job's rows run on one worker thread per core.

#include <benchmark/benchmark.h>

#include <QPushButton>
#include <QTest>
#include <memory>
#include <vector>

#include "core/case/Case.h"
#include "core/case/ManageCore.h"
#include "core/stability/BlockList.h"
#include "core/stability/ResStab2.h"
#include "platform/UiRegistry.h"
#include "platform/qt/QtUi.h"
#include "stage/dialogs/CmdStabMultiFsDlg.h"
#include "tests/support/SampleDocument.h"

namespace {

constexpr int kBlocks = CBlockList::kMaxBlocks;
constexpr char kCalculate[] = "5256";

void BM_Step2RunThroughTheDialog(benchmark::State& state) {
  CManageCore core;
  core.GetCaseArray().CreateCase();  // no configuration files: nothing is written
  CCase& target = *core.GetActiveCase();
  FillSampleCase(target, 0);
  std::vector<double> xs;
  for (int i = 0; i <= kBlocks; ++i) xs.push_back(10.0 + 0.063 * i);
  target.GetBlockList().CopyStX(xs);
  target.GetBlockList().CreateBlock(nullptr, nullptr);
  std::unique_ptr<UiServices> previous = InstallUi(std::make_unique<QtUi>());
  {
    CCmdStabMultiFsDlg dialog(core);
    dialog.resize(760, 560);
    dialog.show();
    auto* start = dialog.findChild<QPushButton*>(kCalculate);
    for (auto _ : state) {
      QTest::mouseClick(start, Qt::LeftButton);
      dialog.repaint();
    }
  }
  InstallUi(std::move(previous));
  state.counters["blocks"] = target.GetBlockList().GetBlockSize();
  state.counters["pairs"] = static_cast<double>(target.GetResStab2().GetSerial().size());
}
BENCHMARK(BM_Step2RunThroughTheDialog)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

}  // namespace
