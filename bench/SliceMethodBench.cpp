// Safety factors of a specified slip circle per second: the slice division of the circle and the
// Fellenius safety factor (normal and seismic) of its slices, on the tests' sample section with
// the slice width chosen for about 25 and about 100 slices, on one thread. Each result reports the
// slice count and the safety factors, so that a change of results would show beside a change of
// speed.

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <numbers>
#include <vector>

#include "bench/AllocationCount.h"
#include "core/circle/CalcBase.h"
#include "core/circle/SliceList.h"
#include "core/geometry/DPolyArray.h"
#include "core/model/Danmen.h"
#include "core/section/SpSlide.h"
#include "core/section/SpSlideWork.h"
#include "tests/support/SampleSection.h"

namespace {

// The sample's slip circle with kh 0.2, every gap split at the width that gives about the
// number of slices (times widthScale).
struct Circle {
  explicit Circle(int slices, double widthScale = 1.0) {
    section.SendInfo(sample.section);
    tagCALCCONDITION cond = section.GetCalcCond();
    cond.kh = 0.2;
    cond.extra2 = 15.0 / slices * widthScale;  // the slide spans 15 m
    cond.extra3 = 2;
    section.SetCalcCond(cond);
    calc.SetDanmenStab(&section);
    list.SetDanmenStab(&section);
  }

  SampleSection sample = MakeSampleSection();
  CDanmenStab section;
  std::unique_ptr<CSpSlideWork> work = sample.slide->CreateDrawObj();
  CCalcFellenius calc{1};
  CSliceList list;
};

void Report(benchmark::State& state, const CSliceList& list, const tagFSRESULT& fs) {
  state.counters["slices"] = list.GetSize();
  state.counters["Fs"] = fs.fs;
  state.counters["FsSeis"] = fs.fsSeis;
  // One item is one circle: items_per_second gives the circles per second.
  state.SetItemsProcessed(state.iterations());
}

// Slice division and safety factor, with the heap allocations they make per circle once the
// list's storage is sized: by the first two circles, since the division points alternate between
// two buffers.
void SpecifiedCircle(benchmark::State& state) {
  Circle circle(static_cast<int>(state.range(0)));
  tagFSRESULT fs;
  for (int warmUp = 0; warmUp < 2; ++warmUp) {
    circle.list.CreateSlice(nullptr, nullptr, circle.work.get());
    fs = circle.calc.KeisanFs(circle.list, 0);
  }
  const std::size_t allocationsBefore = ThreadAllocations().total;
  for (auto _ : state) {
    circle.list.CreateSlice(nullptr, nullptr, circle.work.get());
    fs = circle.calc.KeisanFs(circle.list, 0);
    benchmark::DoNotOptimize(fs);
  }
  const std::size_t allocations = ThreadAllocations().total - allocationsBefore;
  state.counters["allocs/circle"] =
      benchmark::Counter(static_cast<double>(allocations), benchmark::Counter::kAvgIterations);
  Report(state, circle.list, fs);
}

// SpecifiedCircle over circles that differ from one to the next, as a search's do: the slice
// widths of 32 divisions spread over 3 %, taken in turn. A branch predictor learns the outcomes
// of one circle repeated, which no caller repeats; here it cannot, so what a mispredicted branch
// costs shows.
void SpecifiedCircleVaried(benchmark::State& state) {
  constexpr int kCircles = 32;
  std::vector<std::unique_ptr<Circle>> circles;
  for (int k = 0; k < kCircles; ++k) {
    circles.push_back(std::make_unique<Circle>(static_cast<int>(state.range(0)), 1.0 + 0.001 * k));
  }
  tagFSRESULT fs;
  std::size_t next = 0;
  for (auto _ : state) {
    Circle& circle = *circles[next];
    next = (next + 1) % circles.size();
    circle.list.CreateSlice(nullptr, nullptr, circle.work.get());
    fs = circle.calc.KeisanFs(circle.list, 0);
    benchmark::DoNotOptimize(fs);
  }
  Report(state, circles.front()->list, fs);
}

// The safety factor alone, on slices divided once: how the time splits.
void SafetyFactorOnly(benchmark::State& state) {
  Circle circle(static_cast<int>(state.range(0)));
  circle.list.CreateSlice(nullptr, nullptr, circle.work.get());
  tagFSRESULT fs;
  for (auto _ : state) {
    fs = circle.calc.KeisanFs(circle.list, 0);
    benchmark::DoNotOptimize(fs);
  }
  Report(state, circle.list, fs);
}

// The base of one slice as the division leaves it: its x range and, for an arc base, the circle.
struct SliceBase {
  double x1;
  double x2;
  const CDArc* arc;
};

// The libm calls alone that the method's formulas make for one circle, on the circle's own slices
// and with nothing else around them: per division point the angle of the arc's point and its
// cosine and sine (the segment's chord), per arc slice the cosine and sine of half the sweep (the
// segment's area and centroid), and per slice the atan2 of the base angle, which the slice's
// record keeps. The arguments lie where the slices' own angles lie, which is what libm's speed
// depends on; the values combined from them mean nothing.
void PrescribedMathCallsOnly(benchmark::State& state) {
  Circle circle(static_cast<int>(state.range(0)));
  circle.list.CreateSlice(nullptr, nullptr, circle.work.get());
  std::vector<SliceBase> bases;
  for (int i = 0; i < circle.list.GetSize(); ++i) {
    const CSlice& slice = *circle.list.GetSlicePtr(i);
    bases.push_back({slice.GetXLeft(), slice.GetXRight(), slice.GetBottomArc()});
  }
  const auto pointAngle = [](const CDArc& arc, double x) {
    const double dx = x - arc.centre.x;
    return std::atan2(-std::sqrt(arc.R * arc.R - dx * dx), dx) + 2 * std::numbers::pi;
  };
  double sum = 0;
  for (auto _ : state) {
    for (const SliceBase& base : bases) {
      if (base.arc == nullptr) {
        sum += std::atan2(base.x2 - base.x1, base.x2);
        continue;
      }
      const CDArc& arc = *base.arc;
      // Neighbouring slices share a division point: one angle per slice.
      const double start = pointAngle(arc, base.x1);
      const double end = start + (base.x2 - base.x1) / arc.R;
      const double half = (end - start) / 2;
      const double centroid = std::sin(half) / std::cos(half);
      sum += std::cos(end) + std::sin(end) + std::atan2(centroid, end);
    }
    benchmark::DoNotOptimize(sum);
  }
  state.counters["slices"] = static_cast<double>(bases.size());
  state.SetItemsProcessed(state.iterations());
}

// The stratum of a layer as the division asks for it: the sample circle's layer centroids looked
// up in the strata one after another, by the plain search (0) or over the strata's outlines (1).
void StratumOfLayer(benchmark::State& state) {
  Circle circle(25);
  circle.list.CreateSlice(nullptr, nullptr, circle.work.get());
  std::vector<CDPoint> centroids;
  for (int i = 0; i < circle.list.GetSize(); ++i) {
    const CSlice& slice = *circle.list.GetSlicePtr(i);
    for (int layer = 1; layer + 1 < slice.GetDEVYCount(); ++layer) {
      centroids.push_back(slice.Juushin(layer));
    }
  }
  CDPolyArray& strata = *circle.sample.ground->GetPolyArray();
  CDPolyArray::Outlines outlines;
  outlines.Take(strata);
  const bool overOutlines = state.range(0) != 0;
  for (auto _ : state) {
    for (const CDPoint& p : centroids) {
      const CDPoly* found =
          overOutlines ? strata.FindPolygon(&p, outlines) : strata.FindPolygon(&p);
      benchmark::DoNotOptimize(found);
    }
  }
  state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(centroids.size()));
}

BENCHMARK(SpecifiedCircle)->Arg(25)->Arg(100);
BENCHMARK(SpecifiedCircleVaried)->Arg(25)->Arg(100);
BENCHMARK(SafetyFactorOnly)->Arg(25)->Arg(100);
BENCHMARK(PrescribedMathCallsOnly)->Arg(25)->Arg(100);
BENCHMARK(StratumOfLayer)->Arg(0)->Arg(1);

}  // namespace
