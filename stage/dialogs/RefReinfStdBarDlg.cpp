#include "stage/dialogs/RefReinfStdBarDlg.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>
#include <string>

#include "core/model/SystemConfig.h"
#include "platform/UiRegistry.h"
#include "platform/qt/ModalRunner.h"
#include "stage/controls/ExpEdit.h"
#include "stage/controls/ExpStatic.h"
#include "stage/controls/SheetCell.h"
#include "stage/controls/SheetGrid.h"
#include "stage/dialogs/CellNumber.h"

namespace {

using Bar = CReinfStdBar;

// The caption of the closing question and its refusal.
const char* const kCaption = "単価設定";

// The shown numbers of a bar: grid column, the bar's member, the decimals of the bar file.
struct NumberColumn {
  int col;
  double Bar::*member;
  int decimals;
};
constexpr NumberColumn kNumberColumns[] = {
    {3, &Bar::w, 2},      {4, &Bar::d, 1},        {5, &Bar::as, 3},
    {6, &Bar::drillD, 1}, {7, &Bar::sigmaSaN, 1}, {8, &Bar::sigmaSaQ, 1},
};
constexpr int kNameCol = 1;
constexpr int kKeiCol = 2;
constexpr int kStressCol = 7;  // the normal case; the seismic case beside it
constexpr int kColumnCount = 8;

struct Header {
  int col;
  int row;
  const char* text;
};
constexpr Header kHeaders[] = {
    {1, CSheetGrid::kHeaderRow, "材料名"},
    {2, CSheetGrid::kHeaderRow, "呼び径"},
    {3, CSheetGrid::kHeaderRow, "単位質量\nw(kg/m)"},
    {4, CSheetGrid::kHeaderRow, "直径\nd(mm)"},
    {5, CSheetGrid::kHeaderRow, "断面積\nAs(cm2)"},
    {6, CSheetGrid::kHeaderRow, "削孔径\nD(mm)"},
    {7, CSheetGrid::kHeaderRow, "引張応力度\nσsa(N/mm2)"},
    {7, CSheetGrid::kHeaderRow2, "常時"},
    {8, CSheetGrid::kHeaderRow2, "地震時"},
};

QLabel* Label(const char* text) { return new QLabel(QString::fromUtf8(text)); }

}  // namespace

bool CRefReinfStdBarDlg::EditTable(CRefReinf& table, QWidget* parent) {
  CRefReinfStdBarDlg dialog(table, Mode::Edit, parent);
  return RunModal(dialog) == Accepted;
}

std::optional<CReinfStdBar> CRefReinfStdBarDlg::PickBar(const CRefReinf& table, QWidget* parent) {
  CRefReinf copy;
  copy.Copy(table);
  CRefReinfStdBarDlg dialog(copy, Mode::Pick, parent);
  if (RunModal(dialog) != Accepted) return std::nullopt;
  return dialog.picked_;
}

CRefReinfStdBarDlg::CRefReinfStdBarDlg(CRefReinf& live, Mode mode, QWidget* parent)
    : StageDialog(parent),
      live_(&live),
      mode_(mode),
      grid_(new CSheetGrid),
      fileName_(new CExpEdit),
      comment_(new CExpEdit),
      load_(MakeButton("読込", 7304)),
      save_(MakeButton("保存", 7298)),
      factory_(MakeButton("初期値に戻す", 7306)),
      add_(MakeButton("追加", 7300)),
      insert_(MakeButton("挿入", 7301)),
      delete_(MakeButton("削除", 7302)),
      ok_(MakeButton("代入", 1)),
      cancel_(MakeButton("キャンセル", 2)) {
  setObjectName(QStringLiteral("CRefReinfStdBarDlg"));
  setWindowTitle(QStringLiteral("参考値：補強材の規格"));
  backup_.Copy(live);
  auto* note = new CExpStatic;
  SetId(note, 7362);
  note->m_clrText = Color::Rgb(255, 0, 0);
  BuildLayout();
  static_cast<QVBoxLayout*>(layout())->insertWidget(1, note);  // above the grid
  SetupGrid();
  if (mode_ == Mode::Pick) {
    // The picker works on a copy: nothing it does may reach the program's table or its files.
    for (QPushButton* hidden : {save_, add_, insert_, delete_, load_, factory_}) hidden->hide();
    grid_->SetSelMode(SheetSelMode::SingleRow);
    comment_->SetReadOnly(true);
    note->setText(QStringLiteral("※腐食代を考慮した値"));
  } else {
    cancel_->setText(QStringLiteral("閉じる"));
    ok_->hide();
    note->setText(QStringLiteral("※腐食代を考慮した値を入力してください"));
  }
  Fill();
  grid_->SetActiveCell(kNameCol, 1);

  connect(add_, &QPushButton::clicked, this, &CRefReinfStdBarDlg::OnAdd);
  connect(insert_, &QPushButton::clicked, this, &CRefReinfStdBarDlg::OnInsert);
  connect(delete_, &QPushButton::clicked, this, &CRefReinfStdBarDlg::OnDelete);
  connect(load_, &QPushButton::clicked, this, &CRefReinfStdBarDlg::OnLoad);
  connect(save_, &QPushButton::clicked, this, &CRefReinfStdBarDlg::OnSave);
  connect(factory_, &QPushButton::clicked, this, &CRefReinfStdBarDlg::OnFactoryData);
}

void CRefReinfStdBarDlg::BuildLayout() {
  SetId(grid_, 7299);
  SetId(fileName_, 7303);
  SetId(comment_, 7305);
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
  resize(880, 480);
}

void CRefReinfStdBarDlg::SetupGrid() {
  grid_->SetMaxCols(kColumnCount);
  grid_->SetColHeaderRows(2);
  for (const NumberColumn& number : kNumberColumns) {
    grid_->SetDecimalPlaces(SheetBlock(number.col, CSheetGrid::kAll), number.decimals);
  }
  grid_->SetHeaderBackColor(Color::Rgb(219, 255, 255));
  for (const Header& header : kHeaders) {
    grid_->SetText(SheetBlock(header.col, header.row), QString::fromUtf8(header.text));
  }
  for (int col = 1; col < kStressCol; ++col) {
    grid_->AddCellSpan(col, CSheetGrid::kHeaderRow, 1, 2);
  }
  grid_->AddCellSpan(kStressCol, CSheetGrid::kHeaderRow, 2, 1);
  grid_->SetColWidth(kNameCol, 130);
  for (int col = kKeiCol; col <= kColumnCount; ++col) grid_->SetColWidth(col, 88);
  grid_->SetMaxRows(0);
}

void CRefReinfStdBarDlg::Fill() {
  ShowFileName();
  comment_->setText(QString::fromStdString(live_->comment));
  const int count = static_cast<int>(live_->rows.size());
  grid_->SetReDraw(false);
  grid_->SetMaxRows(count);
  for (int r = 1; r <= count; ++r) {
    const Bar& bar = live_->rows[static_cast<std::size_t>(r - 1)];
    SpreadSetText(*grid_, kNameCol, r, bar.name);
    SpreadSetText(*grid_, kKeiCol, r, bar.kei);
    for (const NumberColumn& number : kNumberColumns) {
      SpreadSetDbl(*grid_, number.col, r, number.decimals, "", bar.*number.member);
    }
  }
  grid_->SetReDraw(true);
}

void CRefReinfStdBarDlg::ShowFileName() {
  const std::string last = SystemConfig::GetLastReinf();
  fileName_->setText(last == SystemConfig::GetDefaultReinf() ? QString()
                                                             : QString::fromStdString(last));
}

void CRefReinfStdBarDlg::ReadBack() {
  const int count = std::min(grid_->MaxRows(), static_cast<int>(live_->rows.size()));
  for (int r = 1; r <= count; ++r) {
    // The grid's rows stand for the table's rows one to one, so a bar keeps its remark.
    Bar& bar = live_->rows[static_cast<std::size_t>(r - 1)];
    bar.name = SpreadGetCellText(*grid_, kNameCol, r);
    bar.kei = SpreadGetCellText(*grid_, kKeiCol, r);
    for (const NumberColumn& number : kNumberColumns) {
      bar.*number.member =
          ReadCellNumber(*grid_, number.col, r, number.decimals, bar.*number.member)
              .value_or(kNoValue);
    }
  }
  if (mode_ == Mode::Edit) live_->comment = comment_->GetText();
  if (mode_ == Mode::Pick) {
    const std::optional<int> active = ActiveTableRow();
    picked_ = active ? std::optional(live_->rows[static_cast<std::size_t>(*active)]) : std::nullopt;
  }
}

std::optional<int> CRefReinfStdBarDlg::ActiveTableRow() const {
  const int row = grid_->ActiveRow();
  if (row < 1 || row > static_cast<int>(live_->rows.size())) return std::nullopt;
  return row - 1;
}

void CRefReinfStdBarDlg::OnAdd() {
  ReadBack();
  live_->rows.emplace_back();
  Fill();
}

void CRefReinfStdBarDlg::OnInsert() {
  ReadBack();
  const std::optional<int> active = ActiveTableRow();
  if (!active) return;
  live_->rows.insert(live_->rows.begin() + *active, Bar{});
  Fill();
}

void CRefReinfStdBarDlg::OnDelete() {
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

void CRefReinfStdBarDlg::OnLoad() {
  if (live_->ReadReinf("", true)) {
    MarkSaved();
    Fill();
  } else {
    ShowFileName();  // a file that could not be read is no longer the last bar file
  }
}

void CRefReinfStdBarDlg::OnSave() {
  ReadBack();
  // A failed write has been reported by the writer; the table stays unsaved.
  if (live_->WriteReinf("", true)) MarkSaved();
  ShowFileName();
}

void CRefReinfStdBarDlg::OnFactoryData() {
  if (Ui().MessageBox("補強材データを初期化してよろしいですか？", "補強材の設定",
                      MsgButtons::OkCancel, MsgIcon::Question) != MsgResult::Ok) {
    return;
  }
  live_->Default();
  if (live_->WriteReinf(SystemConfig::GetDefaultReinf(), false)) MarkSaved();
  Fill();
}

void CRefReinfStdBarDlg::AskToSave() {
  switch (Ui().MessageBox(
      "データが更新されています。\n保存しない場合には、設定は破棄されます。\n\n保存しますか？",
      kCaption, MsgButtons::YesNoCancel, MsgIcon::Question)) {
    case MsgResult::Yes:
      if (SystemConfig::GetLastReinf() == SystemConfig::GetDefaultReinf()) {
        Ui().MessageBox("このファイルは読み取り専用です。別のファイル名で保存してください。",
                        kCaption, MsgButtons::Ok, MsgIcon::Warning);
        return;
      }
      // A failed write has been reported by the writer; the dialog stays open, still unsaved.
      if (!live_->WriteReinf(SystemConfig::GetLastReinf(), true)) return;
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

void CRefReinfStdBarDlg::OnOK() {
  ReadBack();
  StageDialog::OnOK();
}

void CRefReinfStdBarDlg::OnCancel() {
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
