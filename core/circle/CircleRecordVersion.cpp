#include "core/circle/CircleRecordVersion.h"

#include <cstdint>
#include <string>

#include "platform/Archive.h"

int StoreCircleRecordVersion(Archive& ar) {
  ar << static_cast<std::int32_t>(kCircleRecordVersion);
  return kCircleRecordVersion;
}

int LoadCircleRecordVersion(Archive& ar) {
  std::int32_t version = 0;
  ar >> version;
  if (version < 1 || version > kCircleRecordVersion) {
    throw ArchiveException(
        ArchiveException::Cause::BadFormat,
        "circle-search record of unknown format version " + std::to_string(version));
  }
  return version;
}
