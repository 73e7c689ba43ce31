#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cstdint>
#include <functional>
#include <limits>
#include <numeric>
#include <random>
#include <string>
#include <vector>

#include "core/base/ExchangeSort.h"

namespace {

// The exchange loop itself, run on the keys with each entry's input position alongside.
void LiteralExchange(std::vector<double>& keys, std::vector<std::size_t>& list, bool strict) {
  for (std::size_t i = 0; i + 1 < keys.size(); ++i) {
    for (std::size_t j = i + 1; j < keys.size(); ++j) {
      if (strict ? keys[j] < keys[i] : keys[j] <= keys[i]) {
        std::swap(keys[i], keys[j]);
        std::swap(list[i], list[j]);
      }
    }
  }
}

std::vector<std::uint64_t> Bits(const std::vector<double>& keys) {
  std::vector<std::uint64_t> bits;
  for (const double k : keys) bits.push_back(std::bit_cast<std::uint64_t>(k));
  return bits;
}

// Sorts the keys both ways, each entry named by its input position so that the order of equal
// keys is compared too; the keys must come out bit for bit the same (-0 and 0 tie but differ).
void ExpectSameAsLoop(const std::vector<double>& keys, bool strict, const std::string& what) {
  std::vector<std::size_t> original(keys.size());
  std::iota(original.begin(), original.end(), std::size_t{0});
  std::vector<double> expectedKeys = keys;
  std::vector<std::size_t> expected = original;
  LiteralExchange(expectedKeys, expected, strict);
  std::vector<double> actualKeys = keys;
  std::vector<std::size_t> actual = original;
  ExchangeSortByKeys(actualKeys, actual, strict);
  EXPECT_EQ(actual, expected) << what << (strict ? " strict" : " not strict");
  EXPECT_EQ(Bits(actualKeys), Bits(expectedKeys)) << what << (strict ? " strict" : " not strict");
}

// Every input of up to seven entries with keys from three values: each way equal, lower and
// higher keys can stand around one another in a short list.
TEST(ExchangeSortTest, EveryShortListOfThreeValues) {
  for (std::size_t n = 0; n <= 7; ++n) {
    std::size_t count = 1;
    for (std::size_t k = 0; k < n; ++k) count *= 3;
    for (std::size_t code = 0; code < count; ++code) {
      std::vector<double> keys;
      std::string what = "keys";
      for (std::size_t rest = code, k = 0; k < n; ++k, rest /= 3) {
        keys.push_back(static_cast<double>(rest % 3));
        what += " " + std::to_string(rest % 3);
      }
      for (const bool strict : {true, false}) ExpectSameAsLoop(keys, strict, what);
    }
  }
}

using Pattern = std::function<double(std::size_t k, std::size_t n, std::mt19937& random)>;

// How a pattern's keys are arranged before sorting: a list sorted before is sorted again when the
// user clicks the other way.
enum class Arranged { kAsMade, kAscending, kDescending };

double Whole(std::size_t v) { return static_cast<double>(v); }

// Long lists in the shapes the result lists take (random with ties, already sorted either way,
// few distinct values such as block numbers) and shapes that make long or broken chains of
// exchanges, at sizes around powers of two and up to a few thousand entries.
TEST(ExchangeSortTest, LongListsOfManyShapes) {
  const double inf = std::numeric_limits<double>::infinity();
  const struct {
    const char* name;
    Pattern key;
    Arranged arranged = Arranged::kAsMade;
  } patterns[] = {
      {"random, about four of each",
       [](std::size_t, std::size_t n, std::mt19937& r) { return Whole(r() % (n / 4 + 1)); }},
      {"random, about four of each, ascending",
       [](std::size_t, std::size_t n, std::mt19937& r) { return Whole(r() % (n / 4 + 1)); },
       Arranged::kAscending},
      {"random, about four of each, descending",
       [](std::size_t, std::size_t n, std::mt19937& r) { return Whole(r() % (n / 4 + 1)); },
       Arranged::kDescending},
      {"random, three values",
       [](std::size_t, std::size_t, std::mt19937& r) { return Whole(r() % 3); }},
      {"random, all distinct",
       [](std::size_t, std::size_t, std::mt19937& r) {
         return std::uniform_real_distribution<double>(0.5, 3.0)(r);
       }},
      {"all equal", [](std::size_t, std::size_t, std::mt19937&) { return 1.25; }},
      {"ascending", [](std::size_t k, std::size_t, std::mt19937&) { return Whole(k); }},
      {"descending", [](std::size_t k, std::size_t n, std::mt19937&) { return Whole(n - k); }},
      {"ascending in threes",
       [](std::size_t k, std::size_t, std::mt19937&) { return Whole(k / 3); }},
      {"descending in threes",
       [](std::size_t k, std::size_t n, std::mt19937&) { return Whole((n - k) / 3); }},
      {"sawtooth", [](std::size_t k, std::size_t, std::mt19937&) { return Whole(k % 7); }},
      {"falling sawtooth",
       [](std::size_t k, std::size_t, std::mt19937&) { return Whole(7 - k % 7); }},
      {"block pairs by the second block",
       [](std::size_t k, std::size_t, std::mt19937&) {
         // The pairs a < b of blocks listed by a, then b: the b of the k-th pair.
         std::size_t a = 0;
         while (k >= 40 - a - 1) k -= 40 - a++ - 1;
         return Whole(a + 1 + k);
       }},
      {"falling keys between equal high ones",
       [](std::size_t k, std::size_t n, std::mt19937&) {
         return k % 2 == 0 ? Whole(n) : Whole(n - k);
       }},
      {"up then down",
       [](std::size_t k, std::size_t n, std::mt19937&) { return Whole(std::min(k, n - k)); }},
      {"signed zeros and infinities",
       [inf](std::size_t, std::size_t, std::mt19937& r) {
         const double values[] = {0.0, -0.0, inf, -inf, 1.5, -1.5};
         return values[r() % 6];
       }},
  };
  const std::size_t sizes[] = {0, 1, 2, 3, 4, 5, 31, 32, 33, 255, 256, 257, 1023, 1024, 1025, 2000};
  std::mt19937 random(20261210);
  for (const auto& pattern : patterns) {
    for (const std::size_t n : sizes) {
      std::vector<double> keys;
      for (std::size_t k = 0; k < n; ++k) keys.push_back(pattern.key(k, n, random));
      if (pattern.arranged == Arranged::kAscending) std::sort(keys.begin(), keys.end());
      if (pattern.arranged == Arranged::kDescending) std::sort(keys.rbegin(), keys.rend());
      for (const bool strict : {true, false}) {
        ExpectSameAsLoop(keys, strict, std::string(pattern.name) + ", " + std::to_string(n));
      }
    }
  }
}

}  // namespace
