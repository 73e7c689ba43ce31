#include "stage/dialogs/RefReinfFsaDlg.h"

#include <QFontMetrics>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

#include "platform/qt/ModalRunner.h"
#include "stage/controls/SheetCell.h"
#include "stage/controls/SheetGrid.h"

namespace {

constexpr int kWidthDlu = 230;
constexpr int kHeightDlu = 90;

QLabel* Text(const char* text) {
  auto* label = new QLabel(QString::fromUtf8(text));
  label->setWordWrap(true);
  return label;
}

}  // namespace

std::optional<CRefReinfFsaDlg::Factors> CRefReinfFsaDlg::Choose(QWidget* parent) {
  CRefReinfFsaDlg dialog(parent);
  if (RunModal(dialog) != Accepted) return std::nullopt;
  return Factors{};
}

CRefReinfFsaDlg::CRefReinfFsaDlg(QWidget* parent) : StageDialog(parent) {
  setObjectName(QStringLiteral("CRefReinfFsaDlg"));
  setWindowTitle(QStringLiteral("参考値：周面摩擦抵抗の安全率"));
  auto* grid = new CSheetGrid;
  SetId(grid, 7317);
  grid->SetHeaderBackColor(Color::Rgb(219, 255, 255));
  grid->SetLockBackColor(Color{0xB8FFFF});
  grid->SetMaxCols(1);
  grid->SetText(SheetBlock(1, CSheetGrid::kHeaderRow), QStringLiteral("安全率 Fsa"));
  grid->SetMaxRows(1);
  SpreadSetDbl(*grid, 1, 1, 1, "", Factors{}.seismic);
  grid->SetLock(SheetBlock(1, 1), true);
  grid->SetColWidth(1, 140);

  QHBoxLayout* const buttons = MakeOkCancelRow({}, {.ok = "代入"}).layout;
  auto* source = new QHBoxLayout;
  source->addWidget(Text("出典"), 0, Qt::AlignTop);
  source->addWidget(Text("QX併用工法 設計・施工指針（暫定版）\n添付12-2"), 1);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(grid, 1);
  layout->addLayout(source);
  layout->addLayout(buttons);

  const QFontMetrics metrics(font());
  resize(kWidthDlu * metrics.averageCharWidth() / 4, kHeightDlu * metrics.height() / 8);
}
