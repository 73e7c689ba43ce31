#include "stage/dialogs/CmdStabBlockAddDlg.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>
#include <vector>

#include "core/stability/BlockList.h"
#include "platform/UiRegistry.h"
#include "stage/controls/KeyCode.h"
#include "stage/controls/SheetCell.h"
#include "stage/controls/SheetGrid.h"

namespace {

constexpr int kColX = 1;
constexpr int kDecimals = 3;
constexpr Color kHeaderColor = Color::Rgb(219, 255, 255);

}  // namespace

CCmdStabBlockAddDlg::CCmdStabBlockAddDlg(QWidget* parent)
    : StageDialog(parent), grid_(new CSheetGrid) {
  setObjectName(QStringLiteral("CCmdStabBlockAddDlg"));
  setWindowTitle(QStringLiteral("X座標の追加"));
  SetId(grid_, 5419);
  grid_->SetHeaderBackColor(kHeaderColor);
  grid_->SetMaxCols(1);
  grid_->SetMaxRows(kRows);
  grid_->SetDecimalPlaces(SheetBlock(kColX, CSheetGrid::kAll), kDecimals);
  grid_->SetText(SheetBlock(kColX, CSheetGrid::kHeaderRow), QStringLiteral("X座標 (m)"));

  const OkCancelRow buttons = MakeOkCancelRow();
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(new QLabel(QStringLiteral("追加したいX座標を設定")));
  layout->addWidget(grid_, 1);
  layout->addLayout(buttons.layout);
  SetTabChain({grid_, buttons.ok, buttons.cancel});
  resize(260, 360);

  connect(grid_, &CSheetGrid::KeyDown, this,
          [this](int* keyCode, int /*shift*/) { OnGridKeyDown(keyCode); });
}

void CCmdStabBlockAddDlg::OnOK() {
  if (target_ != nullptr) {
    std::vector<double> xs;
    for (int i = 0; i < target_->GetXSize(); ++i) xs.push_back(target_->GetX(i));
    for (int row = 1; row <= grid_->MaxRows(); ++row) {
      const double x = SpreadGetDbl(*grid_, kColX, row);
      if (x != kNoValue) xs.push_back(x);
    }
    target_->CopyStX(xs);
  }
  StageDialog::OnOK();
}

void CCmdStabBlockAddDlg::OnGridKeyDown(const int* keyCode) {
  // The grid has cleared the selected cells itself.
  if (*keyCode == kKeyDelete) RedrawSection();
}
