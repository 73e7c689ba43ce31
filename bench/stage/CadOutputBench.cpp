// The CAD output dialog on the sample case divided into 300 blocks (the block dialog's limit),
// every layer on: a click on a layer's check box rebuilds the whole drawing and repaints the
// preview, the user waiting; 出力 writes the DXF file.

#include <benchmark/benchmark.h>

#include <QImage>
#include <filesystem>
#include <string>
#include <vector>

#include "bridge/Z_Tv5Gen6.h"
#include "core/case/Case.h"
#include "core/stability/BlockList.h"
#include "stage/controls/SheetGrid.h"
#include "stage/output/CadOutputDlg.h"
#include "tests/support/SampleDocument.h"

namespace {

constexpr int kBlocks = CBlockList::kMaxBlocks;
constexpr int kGridLayerRow = 12;

class Fixture {
 public:
  Fixture() {
    FillSampleCase(case_, 0);
    CBlockList& blocks = case_.GetBlockList();
    std::vector<double> xs;
    for (int k = 0; k <= kBlocks; ++k) xs.push_back(30.0 * k / kBlocks);
    blocks.CopyStX(xs);
    blocks.CreateBlock(nullptr, nullptr);
    dialog_.resize(960, 600);
    dialog_.show();
    grid_ = dialog_.findChild<CSheetGrid*>(QStringLiteral("3080"));
    control_ = dialog_.findChild<CZ_Tv5Gen6*>(QStringLiteral("3081"));
    image_ = QImage(control_->size(), QImage::Format_RGB32);
    grid_->SetText(SheetBlock(1, 1, 1, CCadOutputDlg::kLayerCount), QStringLiteral("1"));
    dialog_.ReadGrid();
    dialog_.Rebuild(true);
  }

  // The user's click on the grid layer's check box: the cell flips and the grid reports it.
  void ClickLayer() {
    const bool on = grid_->Value(1, kGridLayerRow) == QStringLiteral("1");
    grid_->SetText(SheetBlock(1, kGridLayerRow), on ? QStringLiteral("0") : QStringLiteral("1"));
    emit grid_->ButtonClicked(1, kGridLayerRow, on ? 0 : 1);
    // The preview painted as the screen would (offscreen, repaint() paints nothing).
    control_->render(&image_);
  }
  std::string PreviewSize() const {
    return std::to_string(control_->width()) + "×" + std::to_string(control_->height());
  }
  std::size_t Entities() const { return control_->Drawing().Entities().size(); }
  short Save(const std::filesystem::path& path) { return control_->CadSaveFile(path.string()); }

 private:
  CCase case_;
  CCadOutputDlg dialog_{case_, false};
  CSheetGrid* grid_ = nullptr;
  CZ_Tv5Gen6* control_ = nullptr;
  QImage image_;
};

void BM_CadLayerClick300Blocks(benchmark::State& state) {
  Fixture fixture;
  for (auto _ : state) fixture.ClickLayer();
  state.SetLabel(std::to_string(fixture.Entities()) + " entities, preview " +
                 fixture.PreviewSize());
}
BENCHMARK(BM_CadLayerClick300Blocks)->Unit(benchmark::kMillisecond);

void BM_CadSaveDxf300Blocks(benchmark::State& state) {
  Fixture fixture;
  const std::filesystem::path file = std::filesystem::temp_directory_path() / "brixo_bench.dxf";
  for (auto _ : state) benchmark::DoNotOptimize(fixture.Save(file));
  state.SetLabel(std::to_string(std::filesystem::file_size(file)) + " bytes");
  std::filesystem::remove(file);
}
BENCHMARK(BM_CadSaveDxf300Blocks)->Unit(benchmark::kMillisecond);

}  // namespace
