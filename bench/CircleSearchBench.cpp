// The repeat search of a whole case: a 30 x 30 mesh of trial centres over the tests' sample
// section with 20 radii each (18,000 trial circles), the normal and the seismic safety factor of
// every slip surface kept, then the listing and sort of the result set. The counters give the
// trial circles per second and, so that a change of results would show beside a change of
// speed, how many surfaces were kept and the smallest normal Fs; allocs/circle gives the heap
// allocations of the whole run per trial circle.

#include <benchmark/benchmark.h>

#include <cstddef>

#include "bench/AllocationCount.h"
#include "core/circle/CalcStab.h"
#include "core/circle/RepMesh.h"
#include "core/circle/ResStab.h"
#include "core/model/Danmen.h"
#include "tests/support/SampleSection.h"

namespace {

constexpr int kCentres = 30;
constexpr int kRadii = 20;

class SampleSearch {
 public:
  SampleSearch() {
    tagCALCCONDITION cond = normal_.GetCalcCond();
    cond.normalOn = 1;
    cond.quakeOn = 1;
    cond.kh = 0.15;
    cond.plannedFs = {1.2, 1.0};
    normal_.SendInfo(sample_.section);
    normal_.SetCalcCond(cond);
    normal_.SetCalcMode(CDanmenStab::kCalcNormal);
    seismic_.SendInfo(sample_.section);
    seismic_.SetCalcCond(cond);
    seismic_.SetCalcMode(CDanmenStab::kCalcQuake);
    // Centres from above the toe to above the crest, radii from shallow to deep slips.
    CArcSetRadius& set = result_.setRadius;
    result_.kind = kArcSetRadius;
    set.mesh.x1 = 6.0;
    set.mesh.dx = 0.5;
    set.mesh.x2 = set.mesh.x1 + (kCentres - 1) * set.mesh.dx;
    set.mesh.y1 = 16.0;
    set.mesh.dy = 0.5;
    set.mesh.y2 = set.mesh.y1 + (kCentres - 1) * set.mesh.dy;
    set.rMin = 8.0;
    set.rStep = 1.0;
    set.rMax = set.rMin + (kRadii - 1) * set.rStep;
    set.SetFlagByPoly();
  }

  void Run() { CCalcStab({&normal_, &seismic_}, result_).CalcRepeatStart(); }
  const CResStab& Result() const { return result_; }

 private:
  SampleSection sample_ = MakeSampleSection();
  CDanmenStab normal_;
  CDanmenStab seismic_;
  CResStab result_;
};

void RepeatSearch(benchmark::State& state) {
  SampleSearch search;
  const std::size_t allocationsBefore = ThreadAllocations().total;
  for (auto _ : state) search.Run();
  const std::size_t allocations = ThreadAllocations().total - allocationsBefore;
  const double circles = static_cast<double>(state.iterations()) * kCentres * kCentres * kRadii;
  state.counters["circles/s"] = benchmark::Counter(circles, benchmark::Counter::kIsRate);
  state.counters["allocs/circle"] = static_cast<double>(allocations) / circles;
  state.counters["kept"] = search.Result().GetSerialCount();
  state.counters["minFs"] = search.Result().GetMinFs(0);
}

BENCHMARK(RepeatSearch)->Unit(benchmark::kSecond);

}  // namespace
