// A stored shape list (each shape behind its kind code) through CDPolyArray::Load: byte 0 is the
// document version, the rest is the list.

#include <cstddef>
#include <cstdint>
#include <span>

#include "fuzz/FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 1) return 0;
  const int version = data[0];
  const std::span<const std::uint8_t> record(data + 1, size - 1);

  const std::unique_ptr<CDPolyArray> sound = fuzz::SoundShapeList();
  if (!fuzz::LoadOrKeep(*sound, record, version)) return 0;
  CDPolyArray loaded;
  fuzz::LoadOrKeep(loaded, record, version);
  fuzz::UseShapeList(loaded, version);
  return 0;
}
