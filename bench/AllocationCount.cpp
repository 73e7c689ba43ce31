// The program's own operator new and delete, counting every allocation per thread. In a file of
// their own so that the compiler sees them only as calls and never pairs malloc with delete.

#include "bench/AllocationCount.h"

#include <cstdlib>
#include <new>

namespace {
thread_local AllocationCount allocations;
}  // namespace

AllocationCount& ThreadAllocations() { return allocations; }

void* operator new(std::size_t size) {
  ++allocations.total;
  allocations.lastSize = size;
  if (size == allocations.watchedSize) ++allocations.watched;
  if (void* p = std::malloc(size == 0 ? 1 : size)) return p;
  throw std::bad_alloc();
}

void operator delete(void* p) noexcept { std::free(p); }

void operator delete(void* p, std::size_t /*size*/) noexcept { std::free(p); }
