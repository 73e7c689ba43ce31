// Safety factors of a specified slip circle per second: the slice division of the circle and the
// Fellenius safety factor (normal and seismic) of its slices, on the tests' sample section with
// the slice width chosen for about 25 and about 100 slices. Each result reports the slice count
// and the safety factors, so that a change of results would show beside a change of speed.

#include <benchmark/benchmark.h>

#include <memory>

#include "core/circle/CalcBase.h"
#include "core/circle/SliceList.h"
#include "core/model/Danmen.h"
#include "core/section/SpSlide.h"
#include "core/section/SpSlideWork.h"
#include "tests/support/SampleSection.h"

namespace {

void SpecifiedCircle(benchmark::State& state) {
  SampleSection sample = MakeSampleSection();
  CDanmenStab section;
  section.SendInfo(sample.section);
  const std::unique_ptr<CSpSlideWork> work = sample.slide->CreateDrawObj();
  tagCALCCONDITION cond = section.GetCalcCond();
  cond.kh = 0.2;
  cond.extra2 = 15.0 / static_cast<double>(state.range(0));  // the slide spans 15 m
  cond.extra3 = 2;
  section.SetCalcCond(cond);
  CCalcFellenius calc(1);
  calc.SetDanmenStab(&section);
  CSliceList list;
  list.SetDanmenStab(&section);
  tagFSRESULT fs;
  for (auto _ : state) {
    list.CreateSlice(nullptr, nullptr, work.get());
    fs = calc.KeisanFs(list, 0);
    benchmark::DoNotOptimize(fs);
  }
  state.counters["slices"] = list.GetSize();
  state.counters["Fs"] = fs.fs;
  state.counters["FsSeis"] = fs.fsSeis;
  state.counters["circles/s"] =
      benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}

BENCHMARK(SpecifiedCircle)->Arg(25)->Arg(100);

}  // namespace
