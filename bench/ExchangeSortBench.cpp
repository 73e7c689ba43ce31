// The exchange order (core/base/ExchangeSort.h) on 44,850 entries, the pairs of 300 blocks, as the
// step-2 result list holds them: safety factors with ties (about 1,700 values in 0.8 to 2.5 to
// three decimals) as computed, already ascending and already descending (a list sorted before,
// sorted again), and the end blocks of the pairs in the order the pairs are made (299 values).
// Each input sorts strict (ascending) and not strict (descending, on negated keys) with
// ExchangeSortByKeys and, for comparison, with the exchange loop run stretch by stretch, the way
// the lists sorted before the order was worked out from the keys.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <numeric>
#include <random>
#include <utility>
#include <vector>

#include "core/base/ExchangeSort.h"

namespace {

constexpr int kBlocks = 300;

// ---- The exchange loop, stretch by stretch ----

template <bool Strict>
bool Beats(double key, double cur) {
  return Strict ? key < cur : key <= cur;
}

// The first position from j on whose key beats cur, or n, eight keys at a time.
template <bool Strict>
std::size_t NextExchange(const double* keys, std::size_t j, std::size_t n, double cur) {
  for (; j + 8 <= n; j += 8) {
    bool any = false;
    for (std::size_t t = 0; t < 8; ++t) any |= Beats<Strict>(keys[j + t], cur);
    if (any) break;
  }
  for (; j < n; ++j) {
    if (Beats<Strict>(keys[j], cur)) return j;
  }
  return n;
}

// The loop on the keys; a stretch in which each key beats the one before moves up by one at once.
template <bool Strict>
void LoopByStretches(std::vector<double>& keys, std::vector<std::size_t>& list) {
  const std::size_t n = keys.size();
  const auto at = [](auto& v, std::size_t k) { return v.begin() + static_cast<std::ptrdiff_t>(k); };
  for (std::size_t i = 0; i + 1 < n; ++i) {
    double cur = keys[i];
    std::size_t entry = list[i];
    for (std::size_t j = NextExchange<Strict>(keys.data(), i + 1, n, cur); j < n;) {
      std::size_t last = j;
      while (last + 1 < n && Beats<Strict>(keys[last + 1], keys[last])) ++last;
      const double lastKey = keys[last];
      const std::size_t lastEntry = list[last];
      std::move_backward(at(keys, j), at(keys, last), at(keys, last + 1));
      std::move_backward(at(list, j), at(list, last), at(list, last + 1));
      keys[j] = cur;
      list[j] = entry;
      cur = lastKey;
      entry = lastEntry;
      j = NextExchange<Strict>(keys.data(), last + 1, n, cur);
    }
    keys[i] = cur;
    list[i] = entry;
  }
}

void SortByStretches(std::vector<double>& keys, std::vector<std::size_t>& list, bool strict) {
  if (strict) {
    LoopByStretches<true>(keys, list);
  } else {
    LoopByStretches<false>(keys, list);
  }
}

// ---- Inputs ----

enum Input { kSafetyFactors, kAscending, kDescending, kEndBlocks };

std::vector<double> Keys(Input input) {
  std::vector<double> keys;
  if (input == kEndBlocks) {
    for (int a = 1; a <= kBlocks; ++a) {
      for (int b = a + 1; b <= kBlocks; ++b) keys.push_back(b);
    }
    return keys;
  }
  std::mt19937 random(44850);
  std::uniform_real_distribution<double> fs(0.8, 2.5);
  for (int k = 0; k < kBlocks * (kBlocks - 1) / 2; ++k) {
    keys.push_back(std::round(fs(random) * 1000) / 1000);
  }
  if (input == kAscending) std::sort(keys.begin(), keys.end());
  if (input == kDescending) std::sort(keys.rbegin(), keys.rend());
  return keys;
}

const char* Label(Input input, bool strict) {
  static const char* const labels[][2] = {{"Fs with ties, descending sort", "Fs with ties"},
                                          {"ascending, descending sort", "ascending"},
                                          {"descending, descending sort", "descending"},
                                          {"end blocks, descending sort", "end blocks"}};
  return labels[input][strict ? 1 : 0];
}

template <void (*Sort)(std::vector<double>&, std::vector<std::size_t>&, bool)>
void BM_ExchangeSort(benchmark::State& state) {
  const auto input = static_cast<Input>(state.range(0));
  const bool strict = state.range(1) != 0;
  // A descending sort negates the values, which turns an ascending input into a descending one.
  std::vector<double> keys = Keys(input);
  if (!strict) {
    for (double& k : keys) k = -k;
  }
  for (auto _ : state) {
    state.PauseTiming();
    std::vector<double> sorted = keys;
    std::vector<std::size_t> list(keys.size());
    std::iota(list.begin(), list.end(), std::size_t{0});
    state.ResumeTiming();
    Sort(sorted, list, strict);
    benchmark::DoNotOptimize(list.data());
  }
  state.SetLabel(Label(input, strict));
}

void ByKeys(std::vector<double>& keys, std::vector<std::size_t>& list, bool strict) {
  ExchangeSortByKeys(keys, list, strict);
}

void Register(benchmark::internal::Benchmark* b) {
  for (const int input : {kSafetyFactors, kAscending, kDescending, kEndBlocks}) {
    for (const int strict : {1, 0}) b->Args({input, strict});
  }
  b->ArgNames({"input", "strict"})->Unit(benchmark::kMillisecond);
}

BENCHMARK_TEMPLATE(BM_ExchangeSort, ByKeys)->Apply(Register);
BENCHMARK_TEMPLATE(BM_ExchangeSort, SortByStretches)->Apply(Register);

}  // namespace
