// The common terrain XML reader: the input is a whole file. A refused file leaves the structure
// as it was; a read one is written again, and what was written must read back and write the same
// bytes, so that nothing the reader takes in is lost or changed by the writer.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "core/model/ZCmnStructure.h"

namespace {

[[noreturn]] void Finding(const char* what) {
  std::fprintf(stderr, "finding: %s\n", what);
  std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view file(reinterpret_cast<const char*>(data), size);
  CZCmnStructure structure;
  const std::string empty = structure.ToXmlBytes();
  if (!structure.LoadDocument(file)) {
    if (structure.GetError().empty()) Finding("a refused file gives no reason");
    if (structure.ToXmlBytes() != empty) Finding("a refused file changed the structure");
    return 0;
  }
  structure.MakeVertex();
  const std::string written = structure.ToXmlBytes();
  CZCmnStructure again;
  if (!again.LoadDocument(written)) Finding("what was written does not read back");
  if (again.ToXmlBytes() != written) Finding("what was read back writes other bytes");
  return 0;
}
