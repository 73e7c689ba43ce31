// Storing and loading a whole document: the sample document of the tests, ten cases of which
// three hold a section, a block division, step-2 results with registered rows, rock bolts, the
// slide and shear results and the rope-net check. A load reads into a new case list and rebuilds
// every case's derived data (division section, ordered result lists, bolt heights), then sets up
// the reference data.

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "core/case/ManageCore.h"
#include "platform/Archive.h"
#include "tests/support/SampleDocument.h"

namespace {

std::vector<std::uint8_t> StoredCore(const CManageCore& core) {
  Archive ar;
  core.StoreCore(ar, 10);
  return ar.Bytes();
}

// The load sets the reference data up from the settings folder; keep it away from the user's.
void UseTemporaryDataFolder() {
  static const std::filesystem::path home =
      std::filesystem::temp_directory_path() / ("brixo-bench-" + std::to_string(getpid()));
  std::filesystem::create_directories(home);
  setenv("BRIXO_HOME", home.c_str(), 1);
}

void BM_StoreDocument(benchmark::State& state) {
  CManageCore core;
  FillSampleDocument(core);
  std::size_t bytes = 0;
  for (auto _ : state) {
    const std::vector<std::uint8_t> stored = StoredCore(core);
    bytes = stored.size();
    benchmark::DoNotOptimize(stored.data());
  }
  state.counters["bytes"] = static_cast<double>(bytes);
}
BENCHMARK(BM_StoreDocument)->Unit(benchmark::kMillisecond);

void BM_LoadDocument(benchmark::State& state) {
  UseTemporaryDataFolder();
  CManageCore source;
  FillSampleDocument(source);
  const std::vector<std::uint8_t> stored = StoredCore(source);
  CManageCore core;
  for (auto _ : state) {
    Archive ar(stored);
    core.LoadCore(ar, 10);
    benchmark::DoNotOptimize(core.GetActiveCase());
  }
  state.counters["bytes"] = static_cast<double>(stored.size());
}
BENCHMARK(BM_LoadDocument)->Unit(benchmark::kMillisecond);

}  // namespace
