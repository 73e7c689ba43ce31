// One shape record through its reader: byte 0 selects the shape kind (fuzz::kShapeKinds), byte 1
// is the document version, the rest is the record.

#include <cstddef>
#include <cstdint>
#include <span>

#include "fuzz/FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 2) return 0;
  const int kind = fuzz::kShapeKinds[data[0] % std::size(fuzz::kShapeKinds)];
  const int version = data[1];
  const std::span<const std::uint8_t> record(data + 2, size - 2);

  const std::unique_ptr<CDPoly> sound = fuzz::SoundShape(kind);
  if (!fuzz::LoadOrKeep(*sound, record, version)) return 0;
  const std::unique_ptr<CDPoly> loaded = CDPoly::CreateNewElement(kind);
  fuzz::LoadOrKeep(*loaded, record, version);
  fuzz::UseShape(*loaded, version);
  return 0;
}
