#include "stage/dialogs/RefStabFsDlg.h"

#include <QFontMetrics>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>
#include <iterator>

#include "platform/qt/ModalRunner.h"
#include "stage/controls/SheetGrid.h"

namespace {

constexpr int kPresentRow = 2;  // 現状安全率
constexpr double kPlannedFs = 1.2;
constexpr double kPresentFs = 1.0;

constexpr int kWidthDlu = 230;
constexpr int kHeightDlu = 130;

struct Standard {
  const char* kind;
  const char* value;
};
constexpr Standard kStandards[] = {{"計画安全率", "1.20"}, {"現状安全率", "1.00"}};

QLabel* Text(const char* text) {
  auto* label = new QLabel(QString::fromUtf8(text));
  label->setWordWrap(true);
  return label;
}

}  // namespace

std::optional<double> CRefStabFsDlg::Choose(QWidget* parent) {
  CRefStabFsDlg dialog(parent);
  if (RunModal(dialog) != Accepted) return std::nullopt;
  return dialog.ChosenFs();
}

CRefStabFsDlg::CRefStabFsDlg(QWidget* parent) : StageDialog(parent), grid_(new CSheetGrid) {
  setObjectName(QStringLiteral("CRefStabFsDlg"));
  setWindowTitle(QStringLiteral("参考値：計画安全率"));
  SetId(grid_, 7339);
  grid_->SetHeaderBackColor(Color{0xFFFFDB});
  grid_->SetLockBackColor(Color{0xB8FFFF});
  grid_->SetMaxCols(2);
  grid_->SetText(SheetBlock(1, CSheetGrid::kHeaderRow), QStringLiteral("区分"));
  grid_->SetText(SheetBlock(2, CSheetGrid::kHeaderRow), QStringLiteral("安全率"));
  grid_->SetMaxRows(static_cast<int>(std::size(kStandards)));
  int row = 1;
  for (const Standard& standard : kStandards) {
    grid_->SetText(SheetBlock(1, row), QString::fromUtf8(standard.kind));
    grid_->SetText(SheetBlock(2, row), QString::fromUtf8(standard.value));
    ++row;
  }
  grid_->SetLock(SheetBlock(1, 1, 2, row - 1), true);
  grid_->SetSelMode(SheetSelMode::SingleRow);
  grid_->SetColWidth(1, 140);

  QHBoxLayout* const buttons = MakeOkCancelRow({}, {.ok = "代入"}).layout;
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(grid_, 1);
  layout->addWidget(Text("出典"));
  layout->addWidget(Text("斜面の安定対策に関する設計・施工指針（計画安全率の標準値）"));
  layout->addWidget(Text("本指針における現状安全率1.00、計画安全率1.20 を標準とした。"));
  layout->addLayout(buttons);

  const QFontMetrics metrics(font());
  resize(kWidthDlu * metrics.averageCharWidth() / 4, kHeightDlu * metrics.height() / 8);
  grid_->SetActiveCell(1, 1);
}

double CRefStabFsDlg::ChosenFs() const {
  return grid_->ActiveRow() == kPresentRow ? kPresentFs : kPlannedFs;
}
