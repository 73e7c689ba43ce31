// Throughput of the two innermost calls of the block and circle calculations: segment crossing
// and quantity rounding.

#include <benchmark/benchmark.h>

#include <cstddef>
#include <cstdint>
#include <vector>

#include "core/base/UnitFilter.h"
#include "core/geometry/DPoint.h"

namespace {

struct Segment {
  CDPoint a;
  CDPoint b;
};

// A fan of segments in every direction, so that crossings, parallels and misses all occur.
std::vector<Segment> SegmentFan(std::size_t count) {
  std::vector<Segment> segments;
  segments.reserve(count);
  for (std::size_t i = 0; i < count; ++i) {
    const double t = static_cast<double>(i);
    segments.push_back({CDPoint(t * 0.37 - 20.0, t * 0.11 - 5.0),
                        CDPoint(40.0 - t * 0.53, t * 0.29 - 15.0 + (i % 7 == 0 ? 0.0 : 1.5))});
  }
  return segments;
}

void BM_CrossLL(benchmark::State& state) {
  const std::vector<Segment> segments = SegmentFan(64);
  const double tol = static_cast<double>(state.range(0)) * 1e-6;
  for (auto _ : state) {
    int codes = 0;
    for (const Segment& s : segments) {
      for (const Segment& t : segments) {
        CDPoint crossing;
        codes += CrossLL(tol, &s.a, &s.b, &t.a, &t.b, &crossing);
        benchmark::DoNotOptimize(crossing);
      }
    }
    benchmark::DoNotOptimize(codes);
  }
  state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(segments.size()) *
                          static_cast<std::int64_t>(segments.size()));
}
BENCHMARK(BM_CrossLL)->Arg(0)->Arg(1);

void BM_Round2(benchmark::State& state) {
  const CUnitFilter filter;
  const int code = static_cast<int>(state.range(0));
  std::vector<double> values;
  for (int i = 0; i < 1024; ++i) values.push_back(i * 0.0137 - 3.0);
  for (auto _ : state) {
    double sum = 0.0;
    for (const double v : values) sum += filter.Round2(v, code);
    benchmark::DoNotOptimize(sum);
  }
  state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(values.size()));
}
// A general code (half up), a safety factor (truncate) and the restraining force (round up).
BENCHMARK(BM_Round2)->Arg(111)->Arg(163)->Arg(261);

}  // namespace
