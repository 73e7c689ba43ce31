#include "tests/platform/LargestAllocation.h"

#include <cstdlib>
#include <new>

namespace {

bool watching = false;
std::size_t largest = 0;

void* Allocate(std::size_t size) {
  if (watching && size > largest) largest = size;
  if (void* p = std::malloc(size != 0 ? size : 1)) return p;
  throw std::bad_alloc();
}

}  // namespace

LargestAllocation::LargestAllocation() {
  largest = 0;
  watching = true;
}

LargestAllocation::~LargestAllocation() { watching = false; }

std::size_t LargestAllocation::Bytes() const { return largest; }

// Every plain form is replaced, so that no memory from malloc reaches another library's delete.
void* operator new(std::size_t size) { return Allocate(size); }
void* operator new[](std::size_t size) { return Allocate(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
  try {
    return Allocate(size);
  } catch (const std::bad_alloc&) {
    return nullptr;
  }
}
void* operator new[](std::size_t size, const std::nothrow_t& tag) noexcept {
  return operator new(size, tag);
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }
void operator delete(void* p, const std::nothrow_t&) noexcept { std::free(p); }
void operator delete[](void* p, const std::nothrow_t&) noexcept { std::free(p); }
