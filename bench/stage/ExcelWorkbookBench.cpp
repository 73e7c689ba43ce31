// The Excel workbook of a case at the limit of 300 blocks: 44,850 pairs of start and end block on
// each of the two sheets, written as ExcelStart writes it once the file is chosen: the
// spreadsheet-writer object created, the sheets filled, the file written, the handle released.
// The results are made by hand, so that no calculation is timed.

#include <benchmark/benchmark.h>

#include <filesystem>
#include <optional>
#include <system_error>
#include <vector>

#include "core/case/Case.h"
#include "core/case/ManageCore.h"
#include "core/stability/Block.h"
#include "core/stability/BlockList.h"
#include "platform/Text.h"
#include "stage/output/Quirex.h"
#include "stage/output/StagePrintExcel.h"
#include "tests/stage/dialogs/StabResultsTestSupport.h"

namespace {

constexpr int kBlocks = CBlockList::kMaxBlocks;

void BM_ExcelWorkbook300Blocks(benchmark::State& state) {
  CManageCore core;
  core.GetCaseArray().CreateCase();  // no configuration files: nothing is written
  CCase& target = *core.GetActiveCase();
  target.GetBlockList().CopyBlock(std::vector<CBlock>(kBlocks));
  FillHandResults(target.GetResStab2(), kBlocks, [](int start, int end) -> std::optional<double> {
    return 0.9 + 0.001 * ((start * 7 + end * 13) % 700);
  });
  CStagePrintExcel writer;
  writer.SetCase(&target);
  const std::filesystem::path path =
      std::filesystem::temp_directory_path() / "brixo-bench-workbook.xlsx";
  const std::u16string widePath = Utf8ToUtf16(path.string());
  for (auto _ : state) {
    CQuirex report;
    writer.SetReportObject(&report);
    report.Create();
    writer.ExcelMultiResultFsList();
    if (report.OutFileW(widePath.c_str()) == 0) state.SkipWithError("the workbook was not written");
    report.Release();
    writer.SetReportObject(nullptr);
  }
  std::error_code ignored;
  state.counters["bytes"] = static_cast<double>(std::filesystem::file_size(path, ignored));
  std::filesystem::remove(path, ignored);
  state.SetLabel("2 sheets of 44,850 pairs");
}
BENCHMARK(BM_ExcelWorkbook300Blocks)->Unit(benchmark::kMillisecond);

}  // namespace
