#include "core/base/ArchiveCount.h"

#include <string>

#include "platform/Archive.h"

std::int32_t ReadCount(Archive& ar, std::size_t itemSize, const char* what) {
  std::int32_t count = 0;
  ar >> count;
  if (count < 0) {
    throw ArchiveException(ArchiveException::Cause::BadFormat,
                           std::string(what) + " is negative (" + std::to_string(count) + ")");
  }
  ar.RequireItems(static_cast<std::uint64_t>(count), itemSize);
  return count;
}
