#include "stage/dialogs/RefShearTrnaDlg.h"

#include <QFontMetrics>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>
#include <iterator>

#include "core/base/Utility.h"
#include "core/deformation/ResFocus.h"
#include "platform/NumberText.h"
#include "platform/qt/ModalRunner.h"
#include "stage/controls/SheetCell.h"
#include "stage/controls/SheetGrid.h"

namespace {

constexpr int kWidthDlu = 330;
constexpr int kHeightDlu = 120;
constexpr int kStrengthCol = 3;
constexpr int kStrengthDecimals = 1;

struct Method {
  const char* name;
  const char* member;
  double strength;
  int count;
  const char* unitWord;
  const char* remark;
};
constexpr Method kMethods[] = {
    {"ネットA", "ジョイント強度", 30.0, 8, CResFocus::kUnitNet, "4m2にかかるユニットの個数"},
    {"ネットB", "公称径φ10 破断荷重", 64.4, 4, CResFocus::kUnitRope, "4m2にかかるワイヤーの本数"},
    {"ネットC", "公称径φ12 破断荷重", 68.6, 4, CResFocus::kUnitRope, "4m2にかかるワイヤーの本数"},
};

// Column 4 keeps a blank header and no values.
constexpr const char* kHeaders[] = {
    "工法", "部材", "破断強度\nTRNa (kN)", "", "ネット枚数／\n横ロープ本数", "備考"};

}  // namespace

std::optional<CRefShearTrnaDlg::Choice> CRefShearTrnaDlg::Choose(QWidget* parent) {
  CRefShearTrnaDlg dialog(parent);
  if (RunModal(dialog) != Accepted) return std::nullopt;
  return dialog.Chosen();
}

CRefShearTrnaDlg::CRefShearTrnaDlg(QWidget* parent) : StageDialog(parent), grid_(new CSheetGrid) {
  setObjectName(QStringLiteral("CRefShearTrnaDlg"));
  setWindowTitle(QStringLiteral("参考値：ロープネット破断強度、横方向ネット数"));
  SetId(grid_, 7360);
  grid_->SetHeaderBackColor(Color{0xFFFFDB});
  grid_->SetLockBackColor(Color{0xB8FFFF});
  grid_->SetMaxCols(static_cast<int>(std::size(kHeaders)));
  int col = 1;
  for (const char* header : kHeaders) {
    grid_->SetText(SheetBlock(col++, CSheetGrid::kHeaderRow), QString::fromUtf8(header));
  }
  grid_->SetMaxRows(static_cast<int>(std::size(kMethods)));
  int row = 1;
  for (const Method& method : kMethods) {
    grid_->SetText(SheetBlock(1, row), QString::fromUtf8(method.name));
    grid_->SetText(SheetBlock(2, row), QString::fromUtf8(method.member));
    grid_->SetText(SheetBlock(kStrengthCol, row),
                   QString::fromStdString(FormatFixed(method.strength, kStrengthDecimals)));
    grid_->SetText(SheetBlock(5, row),
                   QString::number(method.count) + QString::fromUtf8(method.unitWord));
    grid_->SetText(SheetBlock(6, row), QString::fromUtf8(method.remark));
    ++row;
  }
  grid_->SetLock(SheetBlock(1, 1, grid_->MaxCols(), row - 1), true);
  grid_->SetSelMode(SheetSelMode::SingleRow);
  grid_->SetColWidth(2, 150);
  grid_->SetColWidth(4, 8);
  grid_->SetColWidth(6, 190);

  QHBoxLayout* const buttons = MakeOkCancelRow({}, {.ok = "代入"}).layout;
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(new QLabel(QStringLiteral("代入する工法を選択して下さい")));
  layout->addWidget(grid_, 1);
  layout->addLayout(buttons);

  const QFontMetrics metrics(font());
  resize(kWidthDlu * metrics.averageCharWidth() / 4, kHeightDlu * metrics.height() / 8);
  grid_->SetActiveCell(1, 1);
}

CRefShearTrnaDlg::Choice CRefShearTrnaDlg::Chosen() const {
  const int row = grid_->ActiveRow();
  Choice choice{SpreadGetDbl(*grid_, kStrengthCol, row), kNoValueInt, std::string()};
  if (row >= 1 && row <= static_cast<int>(std::size(kMethods))) {
    const Method& method = kMethods[row - 1];
    choice.count = method.count;
    choice.unitWord = method.unitWord;
  }
  return choice;
}
