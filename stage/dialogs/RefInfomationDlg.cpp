#include "stage/dialogs/RefInfomationDlg.h"

#include <QFontMetrics>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>
#include <iterator>

#include "platform/qt/ModalRunner.h"
#include "stage/controls/SheetCell.h"
#include "stage/controls/SheetGrid.h"

namespace {

constexpr int kWidthDlu = 240;
constexpr int kHeightDlu = 120;

struct CheckItem {
  const char* item;
  const char* guideline;
};
constexpr CheckItem kCheckItems[] = {{"ロックボルト径", "D22"}, {"配置間隔", "2.0 m"}};

QLabel* Text(const char* text) {
  auto* label = new QLabel(QString::fromUtf8(text));
  label->setWordWrap(true);
  return label;
}

}  // namespace

void CRefInfomationDlg::Notify(QWidget* parent) {
  CRefInfomationDlg dialog(parent);
  RunModal(dialog);
}

CRefInfomationDlg::CRefInfomationDlg(QWidget* parent) : StageDialog(parent) {
  setObjectName(QStringLiteral("CRefInfomationDlg"));
  setWindowTitle(QStringLiteral("補強土データ取込"));
  auto* grid = new CSheetGrid;
  SetId(grid, 6397);
  grid->SetHeaderBackColor(Color{0xFFFFDB});
  grid->SetLockBackColor(Color{0xB8FFFF});
  grid->SetMaxCols(2);
  grid->SetText(SheetBlock(1, CSheetGrid::kHeaderRow), QStringLiteral("確認項目"));
  grid->SetText(SheetBlock(2, CSheetGrid::kHeaderRow), QStringLiteral("QX併用工法 指針"));
  grid->SetMaxRows(static_cast<int>(std::size(kCheckItems)));
  int row = 1;
  for (const CheckItem& check : kCheckItems) {
    SpreadSetText(*grid, 1, row, check.item);
    SpreadSetText(*grid, 2, row, check.guideline);
    ++row;
  }
  grid->SetLock(SheetBlock(1, 1, 2, row - 1), true);
  grid->SetColWidth(1, 140);
  grid->SetColWidth(2, 140);

  QHBoxLayout* const buttons = MakeOkCancelRow({}, {.ok = nullptr, .cancel = "閉じる"}).layout;
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(Text("データ取込に成功しました。"));
  layout->addWidget(
      Text("取り込んだデータが「QX併用工法 設計・施工指針」に適合しているか確認してください。"));
  layout->addWidget(grid, 1);
  layout->addLayout(buttons);

  const QFontMetrics metrics(font());
  resize(kWidthDlu * metrics.averageCharWidth() / 4, kHeightDlu * metrics.height() / 8);
}
