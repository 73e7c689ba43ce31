// The Word reports as the user waits for them (GridBench.cpp holds the main): the whole run from
// the template to the saved file, with every figure. The step-2 report once on the sample case
// (both load cases, the list of the pairs below the planned safety factor on), once on results of
// 300 blocks whose 44,850 pairs are all listed; the full reports of steps 3 and 4 on the sample
// case.

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <memory>

#include "bench/stage/AllPairs.h"
#include "core/base/CoreConfig.h"
#include "core/case/Case.h"
#include "core/case/ManageCore.h"
#include "platform/HeadlessUi.h"
#include "platform/UiRegistry.h"
#include "stage/output/StagePrintWord.h"
#include "tests/support/SampleDocument.h"

namespace {

// Chooses the report file and declines to open it.
class ReportUi : public HeadlessUi {
 public:
  explicit ReportUi(std::filesystem::path file) : file_(std::move(file)) {}
  MsgResult MessageBox(const std::string&, const std::string&, MsgButtons, MsgIcon) override {
    return MsgResult::No;
  }
  std::optional<std::filesystem::path> FileDialog(FileDialogKind,
                                                  const FileDialogRequest&) override {
    return file_;
  }

 private:
  std::filesystem::path file_;
};

void RunReport(benchmark::State& state, CManageCore& core, int stage = 1, int sub = 0) {
  // The print folder is made in the data folder: a fresh one of the benchmark's own.
  const std::filesystem::path home = std::filesystem::temp_directory_path() / "brixo-bench-home";
  std::filesystem::create_directories(home);
  setenv("BRIXO_HOME", home.c_str(), 1);
  const std::filesystem::path file = std::filesystem::temp_directory_path() / "brixo-bench.docx";
  std::unique_ptr<UiServices> previous = InstallUi(std::make_unique<ReportUi>(file));
  CCoreConfig::SetStageNo(stage);
  core.GetPrnInfo().SetPrnStage(stage);
  CStagePrintWord writer;
  writer.SetCase(core.GetActiveCase());
  writer.SetPrnInfo(&core.GetPrnInfo());
  writer.SetViewInf(&core.GetActiveCase()->GetViewInfo());
  writer.SetPath(BRIXO_PRN_FILES);
  for (auto _ : state) {
    if (writer.WordStart(stage, sub, 0) != 1) state.SkipWithError("the report was not written");
  }
  state.SetLabel(std::to_string(std::filesystem::file_size(file) / 1024) + " KiB");
  std::filesystem::remove(file);
  InstallUi(std::move(previous));
}

void BM_WordReportSampleCase(benchmark::State& state) {
  CManageCore core;
  core.InitCore(0);
  FillSampleCase(*core.GetActiveCase(), 0);
  RunReport(state, core);
}
BENCHMARK(BM_WordReportSampleCase)->Unit(benchmark::kMillisecond);

// Step 3 (2, 0), step 4's shear deformation (3, 0) and local failure (3, 1).
void BM_WordReportSteps34(benchmark::State& state) {
  CManageCore core;
  core.InitCore(0);
  FillSampleCase(*core.GetActiveCase(), 0);
  RunReport(state, core, static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
}
BENCHMARK(BM_WordReportSteps34)
    ->Args({2, 0})
    ->Args({3, 0})
    ->Args({3, 1})
    ->ArgNames({"stage", "sub"})
    ->Unit(benchmark::kMillisecond);

void BM_WordReportAllPairsListed(benchmark::State& state) {
  CManageCore core;
  core.GetCaseArray().CreateCase();
  CCase& target = *core.GetActiveCase();
  target.GetPrmStab().planFsNormal = 10;
  target.GetPrmStab().planFsQuake = 10;
  FillAllPairs(target.GetResStab2());
  RunReport(state, core);
}
BENCHMARK(BM_WordReportAllPairsListed)->Unit(benchmark::kMillisecond);

}  // namespace
