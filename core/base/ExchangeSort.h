#pragma once
// The order in which result lists have always been shown: the exchange sort. For every position i
// and every later position j in turn, the entries at i and j are exchanged when the entry at j
// beats the one at i; after an exchange the scan goes on comparing against the new occupant of i.
// Entries of equal value end in the order this loop gives them, which a general sort does not
// keep, so the lists sort with ExchangeSortByKeys: the same permutation, computed on one key per
// entry, with a stretch of successive exchanges moved at once instead of one exchange at a time.

#include <cstddef>
#include <utility>
#include <vector>

namespace exchange_sort_detail {

// Whether key beats cur: the entry at cur's position is exchanged with it.
template <bool Strict>
bool Beats(double key, double cur) {
  return Strict ? key < cur : key <= cur;
}

// The first position from j on whose key beats cur, or n. Scans eight keys at a time without
// branching, which the compiler turns into vector compares.
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

// The exchange loop on the keys: position i holds its candidate and exchanges it with every later
// key that beats it. Where each key of a stretch beats the one before it, every position of the
// stretch exchanges in turn: the candidate enters at its front, the stretch moves up by one and
// its last key becomes the candidate, which is done as one move.
template <bool Strict, class T>
void ExchangeKeys(std::vector<double>& keys, std::vector<T>& list) {
  const std::size_t n = keys.size();
  const auto at = [](auto& v, std::size_t k) { return v.begin() + static_cast<std::ptrdiff_t>(k); };
  for (std::size_t i = 0; i + 1 < n; ++i) {
    double cur = keys[i];
    T entry = std::move(list[i]);
    for (std::size_t j = NextExchange<Strict>(keys.data(), i + 1, n, cur); j < n;) {
      std::size_t last = j;
      while (last + 1 < n && Beats<Strict>(keys[last + 1], keys[last])) ++last;
      const double lastKey = keys[last];
      T lastEntry = std::move(list[last]);
      std::move_backward(at(keys, j), at(keys, last), at(keys, last + 1));
      std::move_backward(at(list, j), at(list, last), at(list, last + 1));
      keys[j] = cur;
      list[j] = std::move(entry);
      cur = lastKey;
      entry = std::move(lastEntry);
      j = NextExchange<Strict>(keys.data(), last + 1, n, cur);
    }
    keys[i] = cur;
    list[i] = std::move(entry);
  }
}

}  // namespace exchange_sort_detail

// Reorders list as the exchange loop does when the entry at j beats the entry at i exactly when
// keys[j] < keys[i] (strict) or keys[j] <= keys[i] (not strict). The keys (one per entry, none
// NaN) are reordered alongside.
template <class T>
void ExchangeSortByKeys(std::vector<double>& keys, std::vector<T>& list, bool strict) {
  if (strict) {
    exchange_sort_detail::ExchangeKeys<true>(keys, list);
  } else {
    exchange_sort_detail::ExchangeKeys<false>(keys, list);
  }
}
