// Whole documents: byte 0 is the document version, the rest the document body that the core
// facade loads. The open document is the sample document of the tests; a refused load must leave
// it and every process-wide setting as they were. A document that loads is used as the program
// uses one: stored again (it must load back to the same bytes), every case checked, drawn for
// each design step and copied.

#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "core/base/CoreSettings.h"
#include "core/case/ManageCore.h"
#include "core/geometry/ViewInfo.h"
#include "fuzz/FuzzSupport.h"
#include "platform/RecordingCanvas.h"
#include "tests/support/SampleDocument.h"

namespace {

using fuzz::Bytes;

Bytes StoredCore(const CManageCore& core, int version) {
  Archive ar;
  core.StoreCore(ar, version);
  return ar.Bytes();
}

// The sample document as stored at the newest version, made once.
const Bytes& SampleBytes() {
  static const Bytes bytes = [] {
    CManageCore core;
    FillSampleDocument(core);
    return StoredCore(core, 10);
  }();
  return bytes;
}

void UseCase(CCase& c) {
  c.IsCalcStab(false);
  c.IsCalcStabGyaku(false);
  c.IsCalcSlide(false);
  c.IsCalcShear(false);
  c.IsResStab();
  c.IsStratumBlockMode();
  double dist = 0;
  const CDPoint near(10, 5);
  c.FindNearPoint(&near, dist);
  for (int step = 0; step < 4; ++step) {
    RecordingCanvas canvas;
    CViewInfo view;
    view.dc = &canvas;
    view.rect = DevRect{0, 0, 400, 300};
    view.width = 400;
    view.height = 300;
    c.Draw(&view, step);
  }
  CCase copy;
  copy.Copy(&c);
  if (!copy.IsSame(&c)) fuzz::Finding("a copied case differs");
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  // Loading a document sets the reference data up again from the settings folder.
  static const std::string home =
      (std::filesystem::temp_directory_path() / ("brixo-fuzz-" + std::to_string(getpid())))
          .string();
  std::filesystem::create_directories(home);
  setenv("BRIXO_HOME", home.c_str(), 1);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 1) return 0;
  const int version = data[0];
  const Bytes body(data + 1, data + size);

  CManageCore core;
  {
    Archive ar(SampleBytes());
    core.LoadCore(ar, 10);
  }
  const Bytes before = StoredCore(core, 10);
  const CoreSettings settings = CurrentSettings();
  try {
    Archive ar(body);
    core.LoadCore(ar, version);
  } catch (const ArchiveException&) {
    if (StoredCore(core, 10) != before) fuzz::Finding("a refused document changed the document");
    if (!(CurrentSettings() == settings)) fuzz::Finding("a refused document changed a setting");
    return 0;
  }
  const Bytes stored = StoredCore(core, 10);
  CManageCore again;
  try {
    Archive ar(stored);
    again.LoadCore(ar, 10);
  } catch (const ArchiveException&) {
    fuzz::Finding("a stored document does not load back");
  }
  if (StoredCore(again, 10) != stored) fuzz::Finding("a document loaded back stores other bytes");
  for (int i = 0; i < CCaseArray::kCaseCount; ++i) UseCase(*core.GetCaseArray().GetCase(i));
  return 0;
}
