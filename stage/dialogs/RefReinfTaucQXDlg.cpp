#include "stage/dialogs/RefReinfTaucQXDlg.h"

#include <QFontMetrics>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>
#include <iterator>

#include "platform/qt/ModalRunner.h"
#include "stage/controls/SheetCell.h"
#include "stage/controls/SheetGrid.h"

namespace {

constexpr int kDecimals = 4;
constexpr int kStressCol = 2;

constexpr int kWidthDlu = 250;
constexpr int kHeightDlu = 120;

struct BondStress {
  const char* strength;  // design strength of the grout
  double tauc;           // N/mm2
};
constexpr BondStress kBondStresses[] = {{"24", 1.6}, {"27", 1.7}, {"30以上", 1.8}};

QLabel* Text(const char* text, int id = 0) {
  auto* label = new QLabel(QString::fromUtf8(text));
  label->setWordWrap(true);
  if (id != 0) SetId(label, id);
  return label;
}

}  // namespace

std::optional<double> CRefReinfTaucQXDlg::Choose(QWidget* parent) {
  CRefReinfTaucQXDlg dialog(parent);
  if (RunModal(dialog) != Accepted) return std::nullopt;
  return dialog.ChosenTauc();
}

CRefReinfTaucQXDlg::CRefReinfTaucQXDlg(QWidget* parent)
    : StageDialog(parent), grid_(new CSheetGrid) {
  setObjectName(QStringLiteral("CRefReinfTaucQXDlg"));
  setWindowTitle(QStringLiteral("参考値：ロックボルトと注入材の許容付着応力"));
  SetId(grid_, 7341);
  grid_->SetHeaderBackColor(Color{0xFFFFDB});
  grid_->SetMaxCols(2);
  grid_->SetText(SheetBlock(1, CSheetGrid::kHeaderRow), QStringLiteral("設計基準強度"));
  grid_->SetText(SheetBlock(kStressCol, CSheetGrid::kHeaderRow), QStringLiteral("許容付着応力"));
  grid_->SetMaxRows(static_cast<int>(std::size(kBondStresses)));
  int row = 1;
  for (const BondStress& stress : kBondStresses) {
    SpreadSetText(*grid_, 1, row, stress.strength);
    SpreadSetDbl(*grid_, kStressCol, row, kDecimals, "", stress.tauc);
    ++row;
  }
  grid_->SetLock(SheetBlock(1, 1, kStressCol, row - 1), true);
  grid_->SetSelMode(SheetSelMode::SingleRow);
  grid_->SetColWidth(1, 140);
  grid_->SetColWidth(kStressCol, 140);

  QHBoxLayout* const buttons = MakeOkCancelRow({}, {.ok = "代入"}).layout;
  auto* source = new QHBoxLayout;
  source->addWidget(Text("出典"), 0, Qt::AlignTop);
  source->addWidget(Text("QX併用工法 設計・施工指針（暫定版）\n添付12-2", 7343), 1);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(grid_, 1);
  layout->addLayout(source);
  layout->addLayout(buttons);

  const QFontMetrics metrics(font());
  resize(kWidthDlu * metrics.averageCharWidth() / 4, kHeightDlu * metrics.height() / 8);
  grid_->SetActiveCell(1, 1);
}

double CRefReinfTaucQXDlg::ChosenTauc() const {
  return SpreadGetDbl(*grid_, kStressCol, grid_->ActiveRow());
}
