#pragma once
// Watches the sizes that operator new is asked for, so that a test can check that reading damaged
// data never reserves more memory than the data can justify. This test program replaces the
// global operator new and delete (LargestAllocation.cpp) to see them; they allocate with malloc
// and free as usual. Single-threaded tests only.

#include <cstddef>

class LargestAllocation {
 public:
  // Starts watching, from nothing seen.
  LargestAllocation();
  // Stops watching.
  ~LargestAllocation();
  LargestAllocation(const LargestAllocation&) = delete;
  LargestAllocation& operator=(const LargestAllocation&) = delete;

  // The largest single request since the start, in bytes.
  std::size_t Bytes() const;
};
