// The whole step-2 calculation on the sample section of the tests with its top soil divided into
// 300 blocks, the block dialog's limit: 44,850 pairs, each iterated for its safety factor, then
// filed and sorted by Fs. A second benchmark sorts the same results alone, by the default Fs
// ascending and by the end block descending (every pass exchanges), so that the exchange order's
// share shows on its own.

#include <benchmark/benchmark.h>

#include <bit>
#include <cstdint>
#include <string>
#include <vector>

#include "core/base/CoreSettings.h"
#include "core/model/Danmen.h"
#include "core/model/PrmStab.h"
#include "core/section/SpStratum.h"
#include "core/section/StratumProp.h"
#include "core/stability/BlockList.h"
#include "core/stability/CalcStabMlt.h"
#include "core/stability/ResStab2.h"
#include "tests/support/SampleSection.h"

namespace {

constexpr int kBlocks = 300;

class SampleJob {
 public:
  SampleJob() {
    stab_.SendInfo(sample_.section);
    tagCALCCONDITION cond = stab_.GetCalcCond();
    cond.normalOn = 1;
    stab_.SetCalcCond(cond);
    list_.SetDanmen(&sample_.section);
    list_.SetDanmenStab(&stab_);
    list_.SetRightUpper(true);
    list_.SetStratumIndex(TopSoil());
    std::vector<double> xs;
    for (int k = 0; k <= kBlocks; ++k) xs.push_back(30.0 * k / kBlocks);
    list_.CopyStX(xs);
    list_.CreateBlock(nullptr, nullptr);
  }

  int Blocks() const { return list_.GetBlockSize(); }
  void Run() {
    CCalcStabMlt({.normal = &stab_, .prm = &prm_, .result = &result_, .blocks = &list_})
        .CalcStart();
  }
  CResStab2& Result() { return result_; }

 private:
  int TopSoil() const {
    const CDPolyArray* strata = sample_.ground->GetPolyArray();
    for (int i = 0; i < strata->GetSize(); ++i) {
      const auto* stratum = dynamic_cast<const CSpStratumBlock*>(strata->GetAt(i));
      if (stratum != nullptr && stratum->GetPropPtr()->GetName() == "表土") return i;
    }
    return -1;
  }

  SampleSection sample_ = MakeSampleSection();
  CDanmenStab stab_;
  CBlockList list_;
  CPrmStab prm_;
  CResStab2 result_;
};

// A digest of the bits of every filed value, so that a faster march shows it changed no result.
double Digest(const CMltBlocks& points) {
  std::uint64_t h = 1469598103934665603u;
  for (int k = 0; k < points.GetSize(); ++k) {
    const CMltPoint& p = *points.GetMltPoint(k);
    for (const double v : {p.sN, p.tN, p.fsN, p.sQ, p.tQ, p.fsQ}) {
      h = (h ^ std::bit_cast<std::uint64_t>(v)) * 1099511628211u;
    }
  }
  return static_cast<double>(h % 1000000007u);
}

void BM_CalcStabMlt300Blocks(benchmark::State& state) {
  const ScopedEnableRound rounding(1);
  SampleJob job;
  for (auto _ : state) {
    job.Run();
    benchmark::DoNotOptimize(job.Result().GetSerial().data());
  }
  state.counters["blocks"] = job.Blocks();
  state.counters["pairs"] = static_cast<double>(job.Result().GetResult()->GetSize());
  state.counters["digest"] = Digest(*job.Result().GetResult());
}
BENCHMARK(BM_CalcStabMlt300Blocks)->Unit(benchmark::kSecond)->Iterations(1);

void BM_SortSerial44850(benchmark::State& state) {
  const ScopedEnableRound rounding(1);
  SampleJob job;
  job.Run();
  CResStab2& result = job.Result();
  const tagMLTSORT sort{static_cast<int>(state.range(0)), static_cast<int>(state.range(1))};
  for (auto _ : state) {
    state.PauseTiming();
    result.SerialResult();
    state.ResumeTiming();
    result.SortSerial(sort);
  }
  state.counters["results"] = static_cast<double>(result.GetSerial().size());
}
BENCHMARK(BM_SortSerial44850)
    ->Args({9, 0})
    ->Args({3, 1})
    ->Args({0, 1})
    ->Unit(benchmark::kMillisecond);

}  // namespace
