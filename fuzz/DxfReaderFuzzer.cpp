// The DXF reader of the CAD import: the input is a whole file. A refused file names its reason;
// a read one holds only finite coordinates and entities the import can take.

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>
#include <variant>

#include "platform/cad/DxfReader.h"

namespace {

[[noreturn]] void Finding(const char* what) {
  std::fprintf(stderr, "finding: %s\n", what);
  std::abort();
}

bool Finite(const CadPoint& p) { return std::isfinite(p.x) && std::isfinite(p.y); }

void CheckEntity(const DxfEntity& entity) {
  if (entity.kind == DxfEntity::kPolyline) {
    if (entity.points.size() < 2) Finding("a polyline with fewer than two points");
    for (const CadPoint& p : entity.points) {
      if (!Finite(p)) Finding("a polyline point that is not finite");
    }
  } else if (entity.kind == DxfEntity::kArc) {
    if (!Finite(entity.centre) || !(entity.radius > 0) || !std::isfinite(entity.radius) ||
        !std::isfinite(entity.start) || !std::isfinite(entity.end)) {
      Finding("an arc that cannot be drawn");
    }
  } else {
    Finding("an entity of another kind");
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view file(reinterpret_cast<const char*>(data), size);
  const DxfReadResult result = ReadDxf(file);
  if (const auto* error = std::get_if<DxfReadError>(&result)) {
    if (error->reason.empty()) Finding("a refused file gives no reason");
    return 0;
  }
  for (const DxfLayerContent& layer : std::get<DxfContent>(result).layers) {
    for (const DxfEntity& entity : layer.entities) CheckEntity(entity);
  }
  return 0;
}
