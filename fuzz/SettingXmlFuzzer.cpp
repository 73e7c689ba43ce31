// The settings XML reader: byte 0 chooses what the reader registers (bit 0: the single keys of a
// configuration file only, else the keys and the table of a soil file), the rest is the document.
// A read either takes the whole document or changes nothing; either way every value asked for
// afterwards is within what was registered and read.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <span>
#include <string>

#include "core/model/SettingXml.h"

namespace {

constexpr const char* kColumns[] = {"DOSITU_NAME",      "DOSITU_GAMMAT", "DOSITU_PHI", "DOSITU_C",
                                    "DOSITU_SA_GAMMAT", "DOSITU_SA_PHI", "DOSITU_SA_C"};

[[noreturn]] void Finding(const char* what) {
  std::fprintf(stderr, "finding: %s\n", what);
  std::abort();
}

void RegisterSoilFile(CSettingXml& xml) {
  const int table = xml.AddTable("DOSITU");
  for (int c = 0; c < static_cast<int>(std::size(kColumns)); ++c) {
    xml.SetColumn(table, c, kColumns[c]);
  }
  xml.AddKey("COMMENT");
  xml.AddKey("DOSITU_SIZE");
}

void RegisterConfigFile(CSettingXml& xml) {
  xml.AddKey("LAST_GEOLOGY");
  xml.AddKey("LAST_REINF");
  xml.AddKey("LAST_COND");
}

// A refused document leaves the fresh reader empty; a read one answers for its rows and nothing
// beyond them.
void CheckValues(const CSettingXml& xml, bool read) {
  const int rows = xml.GetTableCount("DOSITU");
  if (!read) {
    if (rows != 0 || !xml.GetValue("COMMENT").empty() || !xml.GetValue("LAST_GEOLOGY").empty()) {
      Finding("a refused document left values behind");
    }
    return;
  }
  if (!xml.GetError().empty()) Finding("a successful read reports an error");
  for (const char* column : kColumns) {
    for (int row = 0; row < rows; ++row) xml.GetTableValue("DOSITU", column, row);
    if (!xml.GetTableValue("DOSITU", column, rows).empty()) Finding("a cell past the last row");
    if (!xml.GetTableValue("DOSITU", column, -1).empty()) Finding("a cell before the first row");
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  CSettingXml xml;
  if ((data[0] & 1) != 0) {
    RegisterConfigFile(xml);
  } else {
    RegisterSoilFile(xml);
  }
  const bool read = xml.LoadDocument(std::span(data + 1, size - 1));
  CheckValues(xml, read);
  return 0;
}
