#pragma once
// The order in which result lists have always been shown: the exchange sort. For every position i
// and every later position j in turn, the entries at i and j are exchanged when the entry at j
// beats the one at i; after an exchange the scan goes on comparing against the new occupant of i.
// Entries of equal value end in the order this loop gives them, which a general sort does not
// keep, so the lists sort with ExchangeSortByKeys: the same permutation, worked out from one key
// per entry in n log n steps instead of running the loop's n² comparisons.

#include <cstddef>
#include <utility>
#include <vector>

// The permutation the exchange loop applies when the entry at j beats the entry at i exactly when
// keys[j] < keys[i] (strict) or keys[j] <= keys[i] (not strict), none of the keys NaN: position k
// of the sorted list holds the entry from position ExchangeOrder(keys, strict)[k].
std::vector<std::size_t> ExchangeOrder(const std::vector<double>& keys, bool strict);

// Reorders list (one entry per key) as that exchange loop does; the keys are reordered alongside.
template <class T>
void ExchangeSortByKeys(std::vector<double>& keys, std::vector<T>& list, bool strict) {
  const std::vector<std::size_t> order = ExchangeOrder(keys, strict);
  std::vector<double> sortedKeys;
  std::vector<T> sortedList;
  sortedKeys.reserve(order.size());
  sortedList.reserve(order.size());
  for (const std::size_t from : order) {
    sortedKeys.push_back(keys[from]);
    sortedList.push_back(std::move(list[from]));
  }
  keys = std::move(sortedKeys);
  list = std::move(sortedList);
}
