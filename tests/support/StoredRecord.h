#pragma once
// The bytes of a record as its own class stores it, for tests that compare what objects hold.

#include <cstdint>
#include <vector>

#include "platform/Archive.h"

// A member's record at the version.
template <class T>
std::vector<std::uint8_t> RecordOf(const T& member, int version) {
  Archive ar;
  member.Store(ar, version);
  return ar.Bytes();
}
