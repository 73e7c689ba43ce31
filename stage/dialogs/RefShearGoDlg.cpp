#include "stage/dialogs/RefShearGoDlg.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QRadioButton>
#include <QVBoxLayout>
#include <array>

#include "stage/controls/SheetCell.h"
#include "stage/controls/SheetGrid.h"

namespace {

struct TableRow {
  const char* label;
  double granite;
  double sandstone;
  int decimals;
};
constexpr std::array<TableRow, 4> kTable{{
    {"単位体積重量 γt (kN/m3)", 15.2, 15.2, 1},
    {"粘着力 C (kN/m2)", 10.0, 17.6, 1},
    {"内部摩擦角 φ (°)", 30.0, 30.0, 1},
    {"せん断弾性係数 Go (kN/m2)", CRefShearGoDlg::kGraniteG0, CRefShearGoDlg::kSandstoneG0, 0},
}};

constexpr Color kTableBack{0xB8FFFF};

CSheetGrid* MakeTable() {
  auto* grid = new CSheetGrid;
  SetId(grid, 7378);
  grid->SetHeaderBackColor(Color{0xFFFFDB});
  grid->SetMaxCols(3);
  grid->SetMaxRows(static_cast<int>(kTable.size()));
  grid->SetText(SheetBlock(2, CSheetGrid::kHeaderRow), QStringLiteral("強風化花崗岩\n（A地区）"));
  grid->SetText(SheetBlock(3, CSheetGrid::kHeaderRow),
                QStringLiteral("強風化砂岩・頁岩\n（B地区）"));
  for (int i = 0; i < static_cast<int>(kTable.size()); ++i) {
    const TableRow& row = kTable.at(static_cast<std::size_t>(i));
    SpreadSetText(*grid, 1, i + 1, row.label);
    SpreadSetDbl(*grid, 2, i + 1, row.decimals, "", row.granite);
    SpreadSetDbl(*grid, 3, i + 1, row.decimals, "", row.sandstone);
  }
  grid->SetLock(SheetBlock(CSheetGrid::kAll, CSheetGrid::kAll), true);
  grid->SetBackColor(SheetBlock(1, 1, 3, 4), kTableBack);
  grid->SetColWidth(1, 210);
  grid->SetColWidth(2, 130);
  grid->SetColWidth(3, 130);
  grid->verticalHeader()->hide();
  grid->setMinimumWidth(grid->horizontalHeader()->length() + 2 * grid->frameWidth() + 4);
  grid->setFixedHeight(grid->horizontalHeader()->sizeHint().height() +
                       static_cast<int>(kTable.size()) *
                           grid->verticalHeader()->defaultSectionSize() +
                       2 * grid->frameWidth() + 4);
  return grid;
}

}  // namespace

CRefShearGoDlg::CRefShearGoDlg(double current, QWidget* parent)
    : StageDialog(parent),
      g0_(current),
      granite_(new QRadioButton(QStringLiteral("強風化花崗岩（A地区）　　Go = 26000 (kN/m2)"))),
      sandstone_(
          new QRadioButton(QStringLiteral("強風化砂岩・頁岩（B地区）　 Go = 22300 (kN/m2)"))) {
  setWindowTitle(QStringLiteral("参考値：せん断弾性係数"));
  SetId(granite_, 7379);
  SetId(sandstone_, 7380);
  granite_->setChecked(true);

  auto* source = new QHBoxLayout;
  source->addWidget(new QLabel(QStringLiteral("出典")));
  source->addWidget(new QLabel(QStringLiteral("設計・施工暫定指針　添付4-4")), 1);
  QHBoxLayout* const buttons = MakeOkCancelRow({}, {.ok = "代入"}).layout;
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(MakeTable());
  layout->addLayout(source);
  layout->addWidget(new QLabel(QStringLiteral("代入するせん断弾性係数Goを選択して下さい")));
  layout->addWidget(granite_);
  layout->addWidget(sandstone_);
  layout->addLayout(buttons);
}

void CRefShearGoDlg::OnOK() {
  g0_ = granite_->isChecked() ? kGraniteG0 : kSandstoneG0;
  StageDialog::OnOK();
}
