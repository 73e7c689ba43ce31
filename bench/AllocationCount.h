#pragma once
// Counts the allocations of the calling thread, so that a benchmark can report how many
// allocations its calls make. The program's operator new (AllocationCount.cpp) counts every
// allocation of the process, the core library's included.

#include <cstddef>

struct AllocationCount {
  std::size_t total = 0;
  std::size_t watched = 0;      // allocations of watchedSize bytes
  std::size_t watchedSize = 0;  // 0: none watched
  std::size_t lastSize = 0;
};

// The counts of the calling thread.
AllocationCount& ThreadAllocations();
