// Writes the example document that ships in resources/: the sample section of the tests in three
// design cases with their step-2 to step-4 data, so that a new user can open a real case at once.
// scripts/make-example builds and runs it; the document it writes is committed.
//   usage: brixo_make_example FILE

#include <cstdio>
#include <exception>
#include <filesystem>

#include "core/base/AppIdentity.h"
#include "core/case/ManageCore.h"
#include "platform/Archive.h"
#include "tests/support/SampleDocument.h"

namespace {

constexpr const char* kMagic = "ZELKO_SOFTWARE_BRIXO_DOC";
constexpr int kVersion = 10;

// The document file: the envelope (magic, version, version text), then the document body.
void WriteDocument(const CManageCore& core, const std::filesystem::path& file) {
  Archive ar;
  ar.WriteString(kMagic);
  ar << static_cast<std::int32_t>(kVersion);
  ar.WriteString("Version " + GetAppVersion(2) + GetAppSubTitle());
  core.StoreCore(ar, kVersion);
  ar.SaveToFile(file);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s FILE\n", argv[0]);
    return 2;
  }
  try {
    CManageCore core;
    FillSampleDocument(core);
    WriteDocument(core, argv[1]);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "%s: %s\n", argv[0], e.what());
    return 1;
  }
  return 0;
}
