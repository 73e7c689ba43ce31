#include "stage/dialogs/RefSlideLDlg.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>
#include <memory>

#include "core/base/Utility.h"
#include "core/case/Case.h"
#include "core/stability/Block.h"
#include "core/stability/BlockList.h"
#include "platform/qt/ModalRunner.h"
#include "stage/controls/SheetCell.h"
#include "stage/controls/SheetGrid.h"
#include "stage/dialogs/RefSlideGrids.h"

namespace {

constexpr int kNoCol = 1;
constexpr int kWidthCol = 2;
constexpr int kAngleCol = 3;
constexpr int kLengthCol = 4;
constexpr int kDecimals = 4;
constexpr double kDegrees = 57.29577951308232;

constexpr const char* kBlockHeaders[] = {"ブロック\nNo.", "ブロック\n幅\n(m)",
                                         "すべり面\n傾斜角\nα(°)", "すべり面\n延長\nl (m)"};
constexpr const char* kTotalHeaders[] = {"ブロックNo.", "ブロック幅 (m)", "すべり面 傾斜角 α(°)",
                                         "すべり面 延長 l(m)"};

}  // namespace

std::optional<double> CRefSlideLDlg::PickLength(const CCase& source, QWidget* parent) {
  CRefSlideLDlg dialog(source, parent);
  if (RunModal(dialog) != Accepted) return std::nullopt;
  return dialog.Result();
}

CRefSlideLDlg::CRefSlideLDlg(const CCase& source, QWidget* parent)
    : StageDialog(parent), blocks_(new CSheetGrid), total_(new CSheetGrid), result_(kNoValue) {
  setWindowTitle(QStringLiteral("すべり面から代入"));
  SetId(blocks_, 6392);
  SetId(total_, 6393);
  PrepareReferenceGrid(*blocks_, kBlockHeaders);
  PrepareReferenceGrid(*total_, kTotalHeaders);
  total_->SetMaxRows(1);
  total_->SetText(SheetBlock(CSheetGrid::kRowHeaderCol, 1), QStringLiteral("合計"));
  FitHeight(*total_);
  // The total stands under the column it sums.
  for (int col = kNoCol; col <= kLengthCol; ++col) {
    const int width = std::max(blocks_->columnWidth(col - 1), total_->columnWidth(col - 1));
    blocks_->SetColWidth(col, width);
    total_->SetColWidth(col, width);
  }

  const OkCancelRow buttons = MakeOkCancelRow({}, {.ok = "代入"});
  assign_ = buttons.ok;
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(blocks_, 1);
  layout->addWidget(total_);
  layout->addLayout(buttons.layout);

  FillBlocks(source);
  FitWidth(*blocks_);
  assign_->setEnabled(result_ != kNoValue);
  resize(qMax(minimumSizeHint().width(), 480), 420);
  SetTrackLimits(0, -200, 0, 9999);
  total_->setFocus();
  total_->SetActiveCell(kLengthCol, 1);
}

void CRefSlideLDlg::FillBlocks(const CCase& source) {
  blocks_->SetMaxRows(0);
  const CMltPoint* const quake = source.GetQuakeSelectPoint();
  if (quake == nullptr) return;
  const std::unique_ptr<CBlockList> mass =
      source.GetBlockList().CreateBlockList(quake->startBlock, quake->endBlock);
  if (mass == nullptr || mass->GetBlockSize() == 0) return;
  const int count = mass->GetBlockSize();
  const bool dir = mass->IsRightUpper();
  const double sign = dir ? 1.0 : -1.0;
  blocks_->SetMaxRows(count);
  for (int r = 1; r <= count; ++r) {
    const CBlock& block = *mass->GetBlockPtr(r - 1);
    // The last block closes the slide mass with its end face, not its base.
    const bool last = r == count;
    blocks_->SetText(SheetBlock(CSheetGrid::kRowHeaderCol, r),
                     last ? QStringLiteral("端面") : QStringLiteral("底面"));
    SpreadSetInt(*blocks_, kNoCol, r, quake->startBlock + r);
    SpreadSetDbl(*blocks_, kWidthCol, r, kDecimals, "", block.GetWidth());
    const double angle = last ? block.GetEndAngle(dir) : block.GetBottomAngle();
    SpreadSetDbl(*blocks_, kAngleCol, r, kDecimals, "", angle * kDegrees * sign);
    SpreadSetDbl(*blocks_, kLengthCol, r, kDecimals, "",
                 last ? block.GetEndLength(dir) : block.GetLength());
  }
  SpreadSetText(*total_, kNoCol, 1, "－");
  SpreadSetDbl(*total_, kWidthCol, 1, kDecimals, "", mass->GetTotalWidth());
  SpreadSetText(*total_, kAngleCol, 1, "－");
  result_ = mass->GetTotalL();
  SpreadSetDbl(*total_, kLengthCol, 1, kDecimals, "", result_);
}
