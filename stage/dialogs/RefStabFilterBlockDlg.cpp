#include "stage/dialogs/RefStabFilterBlockDlg.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>
#include <utility>

#include "core/stability/MltPoint.h"
#include "platform/UiRegistry.h"
#include "stage/controls/SheetCell.h"
#include "stage/controls/SheetGrid.h"

namespace {

constexpr int kStartCol = 1;
constexpr int kEndCol = 2;
constexpr Color kOffBack{0xCFCFCF};
constexpr Color kOnBack{0xFFFFFF};

// A block number read back from a cell: empty, not a number and 0 all leave the end open.
int ReadBlockNumber(const CSheetGrid& grid, int col, int row) {
  const int value = SpreadGetInt(grid, col, row);
  return value == 0 ? CMltKey::kOpen : value;
}

}  // namespace

CRefStabFilterBlockDlg::CRefStabFilterBlockDlg(CMltKey& key, QWidget* parent)
    : StageDialog(parent),
      key_(key),
      exclusion_(new QCheckBox(QStringLiteral("除外ブロック番号"))),
      grid_(new CSheetGrid) {
  setWindowTitle(QStringLiteral("計算結果の表示条件"));
  SetId(exclusion_, 5462);
  SetId(grid_, 5411);
  const OkCancelRow buttons = MakeOkCancelRow();
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(new QLabel(QStringLiteral("下記の条件により計算結果を表示します。")));
  layout->addWidget(exclusion_);
  layout->addWidget(grid_, 1);
  layout->addLayout(buttons.layout);
  SetTabChain({exclusion_, grid_, buttons.ok, buttons.cancel});

  grid_->SetHeaderBackColor(Color{0xFFFFDB});
  grid_->SetMaxCols(2);
  grid_->SetColHeaderRows(2);
  grid_->AddCellSpan(kStartCol, CSheetGrid::kHeaderRow, 2, 1);
  grid_->SetText(SheetBlock(kStartCol, CSheetGrid::kHeaderRow), QStringLiteral("ブロック番号"));
  grid_->SetText(SheetBlock(kStartCol, CSheetGrid::kHeaderRow2), QStringLiteral("始点"));
  grid_->SetText(SheetBlock(kEndCol, CSheetGrid::kHeaderRow2), QStringLiteral("終点"));
  grid_->SetMaxRows(key.GetExceptBlockSize());
  for (int i = 0; i < key.GetExceptBlockSize(); ++i) {
    const CMltKey::Range& range = key.except.at(static_cast<std::size_t>(i));
    SpreadSetInt(*grid_, kStartCol, i + 1, range.from);
    SpreadSetInt(*grid_, kEndCol, i + 1, range.to);
  }
  exclusion_->setChecked(key.exceptOn != 0);
  ApplyGridState();
  resize(260, 420);

  connect(exclusion_, &QCheckBox::clicked, this, &CRefStabFilterBlockDlg::ApplyGridState);
  connect(grid_, &CSheetGrid::EditModeChanged, this,
          [this](int col, int row, int mode, bool /*changeMade*/) { OnEditEnded(col, row, mode); });
}

void CRefStabFilterBlockDlg::ApplyGridState() {
  const bool on = exclusion_->isChecked();
  grid_->setEnabled(on);
  grid_->SetBackColor(SheetBlock(kStartCol, CSheetGrid::kAll, kEndCol, CSheetGrid::kAll),
                      on ? kOnBack : kOffBack);
}

void CRefStabFilterBlockDlg::OnEditEnded(int col, int row, int mode) {
  if (mode != 0) return;
  if (SpreadGetInt(*grid_, col, row) == 0) SpreadSetText(*grid_, col, row, "");
  RedrawSection();
}

void CRefStabFilterBlockDlg::OnOK() {
  key_.exceptOn = exclusion_->isChecked() ? 1 : 0;
  for (int i = 0; i < key_.GetExceptBlockSize(); ++i) {
    CMltKey::Range range{ReadBlockNumber(*grid_, kStartCol, i + 1),
                         ReadBlockNumber(*grid_, kEndCol, i + 1)};
    // An open end stays where it was typed: "from 5 on" must not become "up to 5".
    const bool bothSet = range.from != CMltKey::kOpen && range.to != CMltKey::kOpen;
    if (bothSet && range.from > range.to) std::swap(range.from, range.to);
    key_.except.at(static_cast<std::size_t>(i)) = range;
  }
  StageDialog::OnOK();
}
