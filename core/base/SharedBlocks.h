#pragma once
// Objects made in blocks that their holders share: one allocation for a block of objects, where a
// search that keeps thousands of small objects would make one each. The first block holds First
// objects and each block after it twice as many as the one before, up to Largest: a holder of a
// few objects leaves few unused, and one of thousands makes a handful of blocks. A block lives
// while any of its objects is held; the objects not handed out yet are default-constructed and
// unused.

#include <algorithm>
#include <cstddef>
#include <memory>

template <class T, std::size_t First, std::size_t Largest>
class SharedBlocks {
  static_assert(First > 0 && First <= Largest);

 public:
  // The next unused object, in a new block when the current one is used up.
  std::shared_ptr<T> Next() {
    if (block_ == nullptr || taken_ == size_) {
      size_ = block_ == nullptr ? First : std::min(2 * size_, Largest);
      // Each object by its default constructor: make_shared<T[]> of this standard library copies
      // one value-initialised object into every place, which an object without a copy refuses.
      block_ = std::make_shared_for_overwrite<T[]>(size_);
      taken_ = 0;
    }
    return {block_, &block_[taken_++]};
  }

 private:
  std::shared_ptr<T[]> block_;
  std::size_t size_ = 0;
  std::size_t taken_ = 0;
};
