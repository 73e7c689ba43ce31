#include "stage/dialogs/RefCmnGeologyListDlg.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>
#include <string>

#include "core/base/CoreConfig.h"
#include "core/model/SystemConfig.h"
#include "platform/UiRegistry.h"
#include "platform/qt/ModalRunner.h"
#include "stage/controls/ExpEdit.h"
#include "stage/controls/SheetCell.h"
#include "stage/controls/SheetGrid.h"
#include "stage/dialogs/CellNumber.h"

namespace {

using Row = CRefGeology::Row;

// The subject of every question this dialog asks.
const char* const kCaption = "土質設定";

// The shown values of a row: grid column, the row's member, the decimals the value is written
// with (those of the soil file).
struct NumberColumn {
  int col;
  double Row::*member;
  int decimals;
};
constexpr NumberColumn kNumberColumns[] = {
    {2, &Row::gammaT, 2},
    {3, &Row::gammaSat, 2},
    {4, &Row::phi, 4},
    {5, &Row::c, 2},
};
constexpr int kNameCol = 1;
constexpr int kColumnCount = 5;

QLabel* Label(const char* text) { return new QLabel(QString::fromUtf8(text)); }

}  // namespace

bool CRefCmnGeologyListDlg::EditTable(CRefGeology& table, QWidget* parent) {
  CRefCmnGeologyListDlg dialog(table, Mode::Edit, parent);
  return RunModal(dialog) == Accepted;
}

std::optional<CRefGeology::Row> CRefCmnGeologyListDlg::PickSoil(const CRefGeology& table,
                                                                QWidget* parent) {
  CRefGeology copy;
  copy.Copy(table);
  CRefCmnGeologyListDlg dialog(copy, Mode::Pick, parent);
  if (RunModal(dialog) != Accepted) return std::nullopt;
  return dialog.picked_;
}

CRefCmnGeologyListDlg::CRefCmnGeologyListDlg(CRefGeology& live, Mode mode, QWidget* parent)
    : StageDialog(parent),
      live_(&live),
      mode_(mode),
      grid_(new CSheetGrid),
      fileName_(new CExpEdit),
      comment_(new CExpEdit),
      load_(MakeButton("読込", 4256)),
      save_(MakeButton("保存", 4258)),
      factory_(MakeButton("初期値に戻す", 4259)),
      add_(MakeButton("追加", 4219)),
      insert_(MakeButton("挿入", 4220)),
      delete_(MakeButton("削除", 4221)),
      ok_(MakeButton("代入", 1)),
      cancel_(MakeButton("キャンセル", 2)) {
  setWindowTitle(QStringLiteral("参考値：土質定数"));
  backup_.Copy(live);
  BuildLayout();
  SetupGrid();
  if (mode_ == Mode::Pick) {
    // The picker works on a copy: nothing it does may reach the program's table or its files.
    for (QPushButton* hidden : {save_, add_, insert_, delete_, load_, factory_}) hidden->hide();
    grid_->SetSelMode(SheetSelMode::SingleRow);
    comment_->SetReadOnly(true);
  } else {
    cancel_->setText(QStringLiteral("閉じる"));
    ok_->hide();
  }
  Fill();
  grid_->SetActiveCell(kNameCol, 1);

  connect(add_, &QPushButton::clicked, this, &CRefCmnGeologyListDlg::OnAdd);
  connect(insert_, &QPushButton::clicked, this, &CRefCmnGeologyListDlg::OnInsert);
  connect(delete_, &QPushButton::clicked, this, &CRefCmnGeologyListDlg::OnDelete);
  connect(load_, &QPushButton::clicked, this, &CRefCmnGeologyListDlg::OnLoad);
  connect(save_, &QPushButton::clicked, this, &CRefCmnGeologyListDlg::OnSave);
  connect(factory_, &QPushButton::clicked, this, &CRefCmnGeologyListDlg::OnFactoryData);
}

void CRefCmnGeologyListDlg::BuildLayout() {
  SetId(grid_, 4227);
  SetId(fileName_, 4255);
  SetId(comment_, 4257);
  fileName_->SetReadOnly(true);

  auto* files = new QGroupBox(QStringLiteral("ファイル管理"));
  auto* fileLayout = new QGridLayout(files);
  fileLayout->addWidget(Label("ファイル名"), 0, 0);
  fileLayout->addWidget(fileName_, 0, 1, 1, 3);
  fileLayout->addWidget(Label("コメント"), 1, 0);
  fileLayout->addWidget(comment_, 1, 1, 1, 3);
  auto* fileButtons = new QHBoxLayout;
  fileButtons->addStretch();
  for (QPushButton* button : {load_, save_, factory_}) fileButtons->addWidget(button);
  fileLayout->addLayout(fileButtons, 2, 0, 1, 4);
  fileLayout->setColumnStretch(1, 1);

  auto* rowButtons = new QHBoxLayout;
  for (QPushButton* button : {add_, insert_, delete_}) rowButtons->addWidget(button);
  rowButtons->addStretch();
  rowButtons->addWidget(ok_);
  rowButtons->addWidget(cancel_);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(files);
  layout->addWidget(grid_, 1);
  layout->addLayout(rowButtons);

  setTabOrder(comment_, load_);
  setTabOrder(load_, save_);
  setTabOrder(save_, factory_);
  setTabOrder(factory_, grid_);
  setTabOrder(grid_, add_);
  setTabOrder(add_, insert_);
  setTabOrder(insert_, delete_);
  setTabOrder(delete_, ok_);
  setTabOrder(ok_, cancel_);
  resize(720, 520);
}

void CRefCmnGeologyListDlg::SetupGrid() {
  const CUnitFilter filter = CCoreConfig::GetUnitFilter();
  grid_->SetMaxCols(kColumnCount);
  grid_->SetDecimalPlaces(SheetBlock(2, CSheetGrid::kAll, 3, CSheetGrid::kAll), 2);
  grid_->SetDecimalPlaces(SheetBlock(4, CSheetGrid::kAll), filter.Digit(161));
  grid_->SetDecimalPlaces(SheetBlock(5, CSheetGrid::kAll), filter.Digit(131));
  grid_->SetHeaderBackColor(Color::Rgb(219, 255, 255));
  const char* const headers[kColumnCount] = {"種類", "湿潤単位\n体積重量\n(kN/m3)",
                                             "飽和単位\n体積重量\n(kN/m3)", "内部\n摩擦角\n(°)",
                                             "粘着力\n(kN/m2)"};
  for (int col = 1; col <= kColumnCount; ++col) {
    grid_->SetText(SheetBlock(col, CSheetGrid::kHeaderRow), QString::fromUtf8(headers[col - 1]));
  }
  grid_->SetColWidth(kNameCol, 180);
  grid_->SetMaxRows(20);
}

void CRefCmnGeologyListDlg::Fill() {
  ShowFileName();
  comment_->setText(QString::fromStdString(live_->comment));
  const int count = static_cast<int>(live_->rows.size());
  grid_->SetReDraw(false);
  grid_->SetMaxRows(count);
  for (int r = 1; r <= count; ++r) {
    const Row& row = live_->rows[static_cast<std::size_t>(r - 1)];
    SpreadSetText(*grid_, kNameCol, r, row.name);
    for (const NumberColumn& number : kNumberColumns) {
      SpreadSetDbl(*grid_, number.col, r, number.decimals, "", row.*number.member);
    }
  }
  grid_->SetReDraw(true);
}

void CRefCmnGeologyListDlg::ShowFileName() {
  const std::string last = SystemConfig::GetLastGeology();
  fileName_->setText(last == SystemConfig::GetDefaultGeology() ? QString()
                                                               : QString::fromStdString(last));
}

void CRefCmnGeologyListDlg::ReadBack() {
  const int count = std::min(grid_->MaxRows(), static_cast<int>(live_->rows.size()));
  for (int r = 1; r <= count; ++r) {
    // The grid's rows stand for the table's rows one to one, so the values it does not show stay
    // with their row.
    Row& row = live_->rows[static_cast<std::size_t>(r - 1)];
    row.name = SpreadGetCellText(*grid_, kNameCol, r);
    for (const NumberColumn& number : kNumberColumns) {
      row.*number.member =
          ReadCellNumber(*grid_, number.col, r, number.decimals, row.*number.member)
              .value_or(kNoValue);
    }
  }
  if (mode_ == Mode::Edit) live_->comment = comment_->GetText();
  if (mode_ == Mode::Pick) {
    const std::optional<int> active = ActiveTableRow();
    picked_ = active ? std::optional(live_->rows[static_cast<std::size_t>(*active)]) : std::nullopt;
  }
}

std::optional<int> CRefCmnGeologyListDlg::ActiveTableRow() const {
  const int row = grid_->ActiveRow();
  if (row < 1 || row > static_cast<int>(live_->rows.size())) return std::nullopt;
  return row - 1;
}

void CRefCmnGeologyListDlg::OnAdd() {
  ReadBack();
  live_->rows.emplace_back();
  Fill();
}

void CRefCmnGeologyListDlg::OnInsert() {
  ReadBack();
  const std::optional<int> active = ActiveTableRow();
  if (!active) return;
  live_->rows.insert(live_->rows.begin() + *active, Row{});
  Fill();
}

void CRefCmnGeologyListDlg::OnDelete() {
  ReadBack();
  const std::optional<int> active = ActiveTableRow();
  if (!active) return;
  const std::string& name = live_->rows[static_cast<std::size_t>(*active)].name;
  if (Ui().MessageBox("「" + name + "」 を削除してよろしいですか？", "削除", MsgButtons::OkCancel,
                      MsgIcon::Question) != MsgResult::Ok) {
    return;
  }
  live_->rows.erase(live_->rows.begin() + *active);
  Fill();
}

void CRefCmnGeologyListDlg::OnLoad() {
  if (live_->ReadGeology("", true)) {
    MarkSaved();
    Fill();
  } else {
    ShowFileName();  // a file that could not be read is no longer the last soil file
  }
}

void CRefCmnGeologyListDlg::OnSave() {
  ReadBack();
  // A failed write has been reported by the writer; the table stays unsaved.
  if (live_->WriteGeology("", true)) MarkSaved();
  ShowFileName();
}

void CRefCmnGeologyListDlg::OnFactoryData() {
  if (Ui().MessageBox("土質データを出荷時の設定に戻してよろしいですか？", kCaption,
                      MsgButtons::OkCancel, MsgIcon::Question) != MsgResult::Ok) {
    return;
  }
  live_->Default();
  if (live_->WriteGeology(SystemConfig::GetDefaultGeology(), false)) MarkSaved();
  Fill();
}

void CRefCmnGeologyListDlg::AskToSave() {
  switch (Ui().MessageBox(
      "データが更新されています。\n保存しない場合には、設定は破棄されます。\n\n保存しますか？",
      kCaption, MsgButtons::YesNoCancel, MsgIcon::Question)) {
    case MsgResult::Yes:
      if (SystemConfig::GetLastGeology() == SystemConfig::GetDefaultGeology()) {
        Ui().MessageBox("このファイルは読み取り専用です。別のファイル名で保存してください。",
                        kCaption, MsgButtons::Ok, MsgIcon::Warning);
        return;
      }
      // A failed write has been reported by the writer; the dialog stays open, still unsaved.
      if (!live_->WriteGeology(SystemConfig::GetLastGeology(), true)) return;
      MarkSaved();
      StageDialog::OnOK();
      return;
    case MsgResult::No:
      live_->Copy(backup_);
      StageDialog::OnCancel();
      return;
    default:
      return;
  }
}

void CRefCmnGeologyListDlg::OnOK() {
  ReadBack();
  StageDialog::OnOK();
}

void CRefCmnGeologyListDlg::OnCancel() {
  if (mode_ == Mode::Pick) {
    StageDialog::OnCancel();
    return;
  }
  ReadBack();
  if (live_->IsSame(backup_)) {
    StageDialog::OnCancel();
    return;
  }
  AskToSave();
}
