// The whole step-2 calculation on the sample section of the tests with its top soil divided into
// 300 blocks, the block dialog's limit: 44,850 pairs, each iterated for its safety factor, then
// filed and sorted by Fs, on 1, 2, 4 and 8 worker threads (the digest shows that the thread count
// changes no result); one KeisanFs over all 300 blocks is the unit the job is compared with. A
// further benchmark sorts the same results alone, by the default Fs
// ascending and by the end block descending (every pass exchanges), so that the exchange order's
// share shows on its own.

#include <benchmark/benchmark.h>

#include <bit>
#include <cstdint>
#include <string>
#include <vector>

#include "core/base/Constants.h"
#include "core/base/CoreSettings.h"
#include "core/model/Danmen.h"
#include "core/model/PrmStab.h"
#include "core/section/SpStratum.h"
#include "core/section/StratumProp.h"
#include "core/stability/BlockList.h"
#include "core/stability/CalcDriverMlt.h"
#include "core/stability/CalcStabMlt.h"
#include "core/stability/ResStab2.h"
#include "platform/ProgressFeedback.h"
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
  // Turns the seismic case on (horizontal coefficient 0.2): every pair then iterates two cases.
  void Seismic() {
    TurnSeismicOn(stab_, quake_, sample_, 0.2);
    seismic_ = true;
  }
  // The job's three steps, its rows on `threads` workers.
  void Run(int threads = 0) {
    CCalcStabMlt job({.normal = &stab_,
                      .seismic = seismic_ ? &quake_ : nullptr,
                      .prm = &prm_,
                      .result = &result_,
                      .blocks = &list_});
    job.Prepare();
    ProgressFeedback feedback;
    job.Post(job.Process(feedback, threads));
  }
  // One forward run over every block, as the job computes its longest pair.
  double KeisanFsWhole() const {
    CCalcDriverMlt driver;
    driver.SetRightUpper(list_.IsRightUpper());
    driver.SetDanmenStab(&stab_);
    driver.SetCalcNormal(true);
    double fsN = CCalcStabMlt::kStartFs;
    double fsQ = CCalcStabMlt::kStartFs;
    double tN = 0, sN = 0, tQ = 0, sQ = 0;
    driver.KeisanFs(fsN, fsQ, &list_, tN, sN, tQ, sQ, kNoValue, kNoValue);
    return fsN;
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
  CDanmenStab quake_;
  bool seismic_ = false;
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

// The arguments are the number of worker threads and whether the seismic case is on; the digest
// must not change with the number of threads.
void BM_CalcStabMlt300Blocks(benchmark::State& state) {
  const ScopedEnableRound rounding(1);
  SampleJob job;
  if (state.range(1) != 0) job.Seismic();
  for (auto _ : state) {
    job.Run(static_cast<int>(state.range(0)));
    benchmark::DoNotOptimize(job.Result().GetSerial().data());
  }
  state.counters["blocks"] = job.Blocks();
  state.counters["pairs"] = static_cast<double>(job.Result().GetResult()->GetSize());
  state.counters["digest"] = Digest(*job.Result().GetResult());
}
BENCHMARK(BM_CalcStabMlt300Blocks)
    ->ArgsProduct({{1, 2, 4, 8}, {0, 1}})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(2)
    ->UseRealTime();

// One KeisanFs over all 300 blocks: the unit the whole job is measured against.
void BM_KeisanFs300Blocks(benchmark::State& state) {
  const ScopedEnableRound rounding(1);
  const SampleJob job;
  for (auto _ : state) benchmark::DoNotOptimize(job.KeisanFsWhole());
}
BENCHMARK(BM_KeisanFs300Blocks)->Unit(benchmark::kMicrosecond);

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
