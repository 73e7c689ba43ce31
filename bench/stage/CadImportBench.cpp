// The CAD import of a surveyed drawing (GridBench.cpp holds the main): 20 layers of 5,000 vertices
// each (100,000 vertices). Opening it in the import dialog (read, layer lists, first preview) and
// the whole 読み込み through the stage manager (the dialog scripted: open, two layers chosen, OK,
// the case filled) are the user's waits.

#include <benchmark/benchmark.h>

#include <QComboBox>
#include <QImage>
#include <QPushButton>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "bridge/CadImportDlg.h"
#include "core/case/Case.h"
#include "core/case/ManageCore.h"
#include "platform/HeadlessUi.h"
#include "platform/UiRegistry.h"
#include "platform/qt/ModalRunner.h"
#include "stage/StageManage.h"

namespace {

namespace fs = std::filesystem;

constexpr int kLayers = 20;
constexpr int kVerticesPerLayer = 5000;

// Answers every file dialog with the drawing.
class ChoosingUi : public HeadlessUi {
 public:
  explicit ChoosingUi(fs::path path) : path_(std::move(path)) {}
  std::optional<fs::path> FileDialog(FileDialogKind /*kind*/,
                                     const FileDialogRequest& /*request*/) override {
    return path_;
  }

 private:
  fs::path path_;
};

fs::path WriteDrawing() {
  const fs::path path = fs::temp_directory_path() / "brixo_bench_import.dxf";
  std::ofstream out(path);
  out << "0\nSECTION\n2\nENTITIES\n";
  for (int layer = 0; layer < kLayers; ++layer) {
    out << "0\nLWPOLYLINE\n8\nL" << layer << "\n90\n" << kVerticesPerLayer << "\n";
    for (int i = 0; i < kVerticesPerLayer; ++i) {
      out << "10\n" << i * 0.1 << "\n20\n" << 50 - layer * 2 + (i % 13) * 0.05 << "\n";
    }
  }
  out << "0\nENDSEC\n0\nEOF\n";
  return path;
}

class Fixture {
 public:
  Fixture() : path_(WriteDrawing()) { previous_ = InstallUi(std::make_unique<ChoosingUi>(path_)); }
  ~Fixture() {
    InstallUi(std::move(previous_));
    fs::remove(path_);
  }
  Fixture(const Fixture&) = delete;
  Fixture& operator=(const Fixture&) = delete;

 private:
  fs::path path_;
  std::unique_ptr<UiServices> previous_;
};

void ChooseLayers(CCadImportDlg& dialog) {
  dialog.LayerCombo(0)->setCurrentText(QStringLiteral("L0"));
  dialog.LayerCombo(1)->setCurrentText(QStringLiteral("L1"));
}

void BM_CadImportOpen100kVertices(benchmark::State& state) {
  const Fixture fixture;
  CCadImportDlg dialog(CCadImportDlg::Options{});
  dialog.resize(960, 600);
  QImage image(dialog.size(), QImage::Format_RGB32);
  for (auto _ : state) {
    dialog.OnOpenFile();
    ChooseLayers(dialog);
    dialog.render(&image);  // the first preview, painted as the screen would
  }
  state.SetLabel(std::to_string(dialog.LayerCombo(0)->count() - 1) + " layers");
}
BENCHMARK(BM_CadImportOpen100kVertices)->Unit(benchmark::kMillisecond);

void BM_CadImportIntoCase100kVertices(benchmark::State& state) {
  const Fixture fixture;
  const ModalRunner previous = InstallModalRunner([](QDialog& modal) {
    auto& dialog = dynamic_cast<CCadImportDlg&>(modal);
    dialog.OnOpenFile();
    ChooseLayers(dialog);
    dialog.OkButton()->setFocus();
    dialog.OnOK();
    return dialog.result();
  });
  CManageCore core;
  core.InitCore(1);
  CManageStage stage;
  stage.SetManageCore(&core);
  for (auto _ : state) stage.ImportCad();
  state.SetLabel(std::to_string(core.GetActiveCase()->GetGround().GetSize()) + " ground points");
  InstallModalRunner(previous);
}
BENCHMARK(BM_CadImportIntoCase100kVertices)->Unit(benchmark::kMillisecond);

}  // namespace
