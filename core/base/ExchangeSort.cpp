#include "core/base/ExchangeSort.h"

#include <algorithm>
#include <bit>
#include <numeric>
#include <span>

// The loop leaves the keys ascending, so all that needs working out is the order within each run
// of equal keys. Take one key value v and call the entries below it low, those equal to it tied
// and those above it high. While a low entry remains from position i on, pass i brings the first of
// them to i, and the first entry from i on that is not high is always exchanged (it beats every
// high one). If that entry is tied, the exchanges continue through the tied entries before the
// first low one:
// - strict, only the first of them is exchanged, and it takes the low entry's place: the tied
//   entries before the first low one turn by one, their first moving behind the others;
// - not strict, each of them is exchanged in turn and takes the next one's place, the last the low
//   entry's: their order stays.
// Once no low entry remains, the passes place the tied entries: strict, the first of them comes to
// i each time (their order stays); not strict, the exchanges run through all of them and the last
// comes to i (their order is reversed). How the high entries and the low ones move among
// themselves never changes which tied entries go where. So, for the entries equal to v:
// - not strict, they end in the reverse of their order in the input;
// - strict, read the input from the front, keeping the tied entries met so far as a ring: each
//   tied entry joins the ring at its back, each low entry turns the ring by one (its front to its
//   back); the ring at the end, read from its front, is their order.

namespace {

std::size_t LowestBit(std::size_t i) { return i & (~i + 1); }

// Marks on the slots 0..n-1 (a Fenwick tree): counts the marked slots before a slot and finds the
// k-th marked slot, each in log n steps.
class SlotMarks {
 public:
  SlotMarks() = default;
  explicit SlotMarks(std::size_t n) : tree_(n + 1, 0) {}

  // Room for n slots without allocating.
  void Reserve(std::size_t n) { tree_.reserve(n + 1); }

  // n slots, every one marked, in the storage held.
  void MarkAll(std::size_t n) {
    tree_.assign(n + 1, 0);
    for (std::size_t slot = 0; slot < n; ++slot) Mark(slot);
  }

  void Mark(std::size_t slot) {
    for (std::size_t i = slot + 1; i < tree_.size(); i += LowestBit(i)) ++tree_[i];
  }
  void Unmark(std::size_t slot) {
    for (std::size_t i = slot + 1; i < tree_.size(); i += LowestBit(i)) --tree_[i];
  }

  std::size_t CountBefore(std::size_t slot) const {
    std::size_t count = 0;
    for (std::size_t i = slot; i > 0; i -= LowestBit(i)) count += tree_[i];
    return count;
  }

  // The marked slot with k marked slots before it; there must be more than k marked slots.
  std::size_t Nth(std::size_t k) const {
    std::size_t node = 0;
    for (std::size_t step = std::bit_floor(tree_.size() - 1); step > 0; step /= 2) {
      if (node + step < tree_.size() && tree_[node + step] <= k) {
        node += step;
        k -= tree_[node];
      }
    }
    return node;
  }

 private:
  std::vector<std::size_t> tree_;
};

// The working arrays of ordering the runs, kept from run to run so that a list with many runs of
// equal keys allocates them once.
struct RunStorage {
  // Room for runs of up to size entries.
  void Reserve(std::size_t size) {
    insertedAt.reserve(size);
    free.Reserve(size);
    ring.reserve(size);
  }

  std::vector<std::size_t> insertedAt;
  SlotMarks free;
  std::vector<std::size_t> ring;
};

// Puts the input positions of one run of equal keys (given ascending) into the strict loop's order.
// lower marks the input positions of all smaller keys; lowerCount is their number.
//
// The ring is kept as an array read from a start slot round to the slot before it: a turn moves
// the start, and an entry joining at the back is inserted into the array at the start slot. Since
// every insertion slot is known from the counts alone, the entries are put straight into their
// final slots, the last inserted first: each one takes the free slot that has as many free slots
// before it as its insertion slot had entries before it.
void OrderStrictRun(std::span<std::size_t> run, const SlotMarks& lower, std::size_t lowerCount,
                    RunStorage& storage) {
  const std::size_t size = run.size();
  std::vector<std::size_t>& insertedAt = storage.insertedAt;
  insertedAt.resize(size);
  std::size_t start = 0;
  std::size_t lowerBefore = lower.CountBefore(run[0]);
  for (std::size_t t = 0; t < size; ++t) {
    insertedAt[t] = start;
    const std::size_t lowerBeforeNext = t + 1 < size ? lower.CountBefore(run[t + 1]) : lowerCount;
    // The new entry goes in at the start slot, which moves the start on by one; each low entry up
    // to the next tied one turns the ring once more.
    start = (start + 1 + (lowerBeforeNext - lowerBefore)) % (t + 1);
    lowerBefore = lowerBeforeNext;
  }
  SlotMarks& free = storage.free;
  free.MarkAll(size);
  std::vector<std::size_t>& ring = storage.ring;
  ring.resize(size);
  for (std::size_t t = size; t-- > 0;) {
    const std::size_t slot = free.Nth(insertedAt[t]);
    free.Unmark(slot);
    ring[slot] = run[t];
  }
  for (std::size_t k = 0; k < size; ++k) run[k] = ring[(start + k) % size];
}

}  // namespace

std::vector<std::size_t> ExchangeOrder(const std::vector<double>& keys, bool strict) {
  const std::size_t n = keys.size();
  std::vector<std::size_t> order(n);
  std::iota(order.begin(), order.end(), std::size_t{0});
  std::stable_sort(order.begin(), order.end(),
                   [&keys](std::size_t a, std::size_t b) { return keys[a] < keys[b]; });
  SlotMarks lower(n);
  RunStorage storage;
  for (std::size_t first = 0; first < n;) {
    std::size_t end = first + 1;
    while (end < n && !(keys[order[first]] < keys[order[end]])) ++end;
    const std::span<std::size_t> run(order.data() + first, end - first);
    if (strict) {
      if (run.size() > 1) {
        // No later run is longer than the entries left: the storage grows once.
        storage.Reserve(n - first);
        OrderStrictRun(run, lower, first, storage);
      }
      for (const std::size_t position : run) lower.Mark(position);
    } else {
      std::reverse(run.begin(), run.end());
    }
    first = end;
  }
  return order;
}
