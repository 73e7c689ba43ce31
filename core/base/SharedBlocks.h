#pragma once
// Objects made in blocks of N that their holders share: one allocation for N objects, where a
// search that keeps thousands of small objects would make one each. A block lives while any of
// its objects is held; the objects not handed out yet are default-constructed and unused.

#include <array>
#include <cstddef>
#include <memory>

template <class T, std::size_t N>
class SharedBlocks {
 public:
  // The next unused object, in a new block when the current one is used up.
  std::shared_ptr<T> Next() {
    if (block_ == nullptr || taken_ == N) {
      block_ = std::make_shared<std::array<T, N>>();
      taken_ = 0;
    }
    return {block_, &(*block_)[taken_++]};
  }

 private:
  std::shared_ptr<std::array<T, N>> block_;
  std::size_t taken_ = 0;
};
