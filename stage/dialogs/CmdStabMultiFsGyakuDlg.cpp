#include "stage/dialogs/CmdStabMultiFsGyakuDlg.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>
#include <cstdio>
#include <initializer_list>
#include <string>
#include <vector>

#include "core/base/AppIdentity.h"
#include "core/base/CoreConfig.h"
#include "core/case/Case.h"
#include "platform/NumberText.h"
#include "platform/UiRegistry.h"
#include "platform/qt/ModalRunner.h"
#include "stage/MarchRunner.h"
#include "stage/controls/ExpButton.h"
#include "stage/controls/ExpEdit.h"
#include "stage/controls/ExpStatic.h"
#include "stage/controls/ResizeManage.h"
#include "stage/controls/SheetCell.h"
#include "stage/controls/SheetGrid.h"
#include "stage/dialogs/RefStabGraphCPhiDlg.h"

namespace {

constexpr int kColumnCount = 7;
constexpr int kRegisterCol = 1;
constexpr int kCCol = 7;
constexpr Color kGridHeader{0xFFFFDB};
constexpr Color kReadOnly{0xB8FFFF};
constexpr Color kLargestC{0x40E6C8};
constexpr Color kWhite{0xFFFFFF};
constexpr int kTanPhiDecimals = 6;

constexpr const char* kNoResults = "結果がありません";
constexpr const char* kCopied = "結果一覧をクリップボードにコピーしました";
constexpr const char* kNegativeCohesion =
    "逆算した粘着力 c が負の値です。\n採用値として登録できません。";
constexpr const char* kStrengthChanged =
    "逆算後の採用値が変更されました。\n安定計算以降の計算結果が消去されます。\nよろしいですか？";

// A column: its header, whether the header stands in the second header row (the others span
// both), and its sort key item.
struct Column {
  const char* header;
  bool secondRow;
  int sortItem;
};
constexpr Column kColumns[kColumnCount] = {
    {"登録", false, 0},
    {"始点\nブロック", false, 2},
    {"終点\nブロック", false, 3},
    {"φ=0 時\nc (kN/m2)", true, 13},
    {"c=0 時\nφ (°)", true, 15},
    {"c=0 時\ntanφ", true, 16},
    {"逆算後\n粘着力\nc (kN/m2)", false, 14},
};
// Above the three columns of strengths that alone give Fs0.
constexpr const char* kSingleStrengthHeader = "単独の強度";
constexpr int kRowHeaderSortItem = -1;

constexpr const char* kCopyHead =
    "No\t始点\t終点\tφ=0 時\tc=0 時\tc=0 時\t逆算後粘着力\n"
    "\tブロック\tブロック\tc(kN/m2)\tφ(°)\ttanφ\tc(kN/m2)\n";

int Digit(int code) { return CCoreConfig::GetUnitFilter().Digit(code); }

// The decimals a number column shows.
int ColumnDecimals(int col) {
  switch (col) {
    case 4:
    case 7:
      return Digit(131);
    case 5:
      return Digit(161);
    case 6:
      return kTanPhiDecimals;
    default:
      return -1;
  }
}

double ColumnValue(const CMltPointGyaku& point, int col) {
  switch (col) {
    case 4:
      return point.c0;
    case 5:
      return point.phi0;
    case 6:
      return point.tanPhi0;
    default:
      return point.c;
  }
}

CExpEdit* ShownField(int id, double max, int maxBytes, int decimals) {
  CExpEdit* field = MakeDecimalField(id, 0, max, maxBytes, decimals);
  field->SetReadOnlyColor(kReadOnly);
  field->SetReadOnly(true);
  return field;
}

void ShowInfo(const char* text) {
  Ui().MessageBox(text, GetAppTitle(), MsgButtons::Ok, MsgIcon::Information);
}

const CMltPointGyaku* Gyaku(const CMltPoint* point) {
  return dynamic_cast<const CMltPointGyaku*>(point);
}

}  // namespace

bool CCmdStabMultiFsGyakuDlg::Run(CCase& target, QWidget* parent) {
  return RunDialog<CCmdStabMultiFsGyakuDlg>(target, parent);
}

CCmdStabMultiFsGyakuDlg::CCmdStabMultiFsGyakuDlg(CCase& target, QWidget* parent)
    : StageDialog(parent),
      case_(target),
      prm_(target.GetPrmStab()),
      result_(target.GetResStabGyaku()),
      registeredAtOpen_(FindRegistered()),
      sortAtOpen_(result_.GetSort()),
      switchAtOpen_(prm_.gyakuOn),
      fs0AtOpen_(prm_.assumedFs),
      adoptedAtOpen_(result_.adopted),
      grid_(new CSheetGrid),
      calculate_(MakeButton("計算開始", 5256)),
      copy_(new CExpButton(QStringLiteral("CP"))),
      graph_(MakeButton("cφ関係図", 5440)),
      switch_(new QCheckBox(QStringLiteral("多平面安定解析による c の逆算を行う"))),
      fs0_(MakeDecimalField(5434, 0, 999.9999, 8, Digit(163))),
      phi_(ShownField(5435, 999.9999, 8, Digit(161))),
      c_(ShownField(5372, 9999.999, 8, Digit(131))),
      count_(new CExpStatic),
      adoptedGroup_(new QGroupBox(QStringLiteral("逆算後の採用値"))) {
  keyAtOpen_.Copy(result_.GetKey());
  setWindowTitle(QStringLiteral("c逆算"));
  SetId(grid_, 5247);
  SetId(copy_, 5261);
  SetId(switch_, 5433);
  SetId(count_, 5482);
  SetId(adoptedGroup_, 5477);
  copy_->setToolTip(QStringLiteral("結果一覧をクリップボードへコピー"));

  auto* inputs = new QGridLayout;
  inputs->addWidget(MakeLabel("現状安全率 Fs0 ="), 0, 0);
  inputs->addWidget(fs0_, 0, 1);
  inputs->addWidget(calculate_, 0, 3);
  inputs->addWidget(MakeLabel("内部摩擦角 φ ="), 1, 0);
  inputs->addWidget(phi_, 1, 1);
  inputs->addWidget(MakeLabel("(°)"), 1, 2);
  inputs->setColumnStretch(4, 1);

  auto* adopted = new QHBoxLayout(adoptedGroup_);
  adopted->addWidget(MakeLabel("粘着力", 5478));
  adopted->addWidget(MakeLabel("c", 5479));
  adopted->addWidget(MakeLabel("=", 5480));
  adopted->addWidget(c_);
  adopted->addWidget(MakeLabel("(kN/m2)", 5481));

  const OkCancelRow buttons = MakeOkCancelRow({copy_, graph_, adoptedGroup_}, {.ok = "登録"});

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(switch_);
  layout->addLayout(inputs);
  layout->addWidget(count_);
  layout->addWidget(grid_, 1);
  layout->addLayout(buttons.layout);
  setTabOrder(switch_, fs0_);
  setTabOrder(fs0_, calculate_);
  setTabOrder(calculate_, grid_);
  setTabOrder(grid_, copy_);
  setTabOrder(copy_, graph_);
  setTabOrder(graph_, buttons.ok);
  setTabOrder(buttons.ok, buttons.cancel);

  grid_->SetHeaderBackColor(kGridHeader);
  grid_->SetMaxCols(kColumnCount);
  grid_->SetColHeaderRows(2);
  for (int col = 1; col <= kColumnCount; ++col) {
    if (!kColumns[col - 1].secondRow) grid_->AddCellSpan(col, CSheetGrid::kHeaderRow, 1, 2);
    const int decimals = ColumnDecimals(col);
    if (decimals >= 0) grid_->SetDecimalPlaces(SheetBlock(col, CSheetGrid::kAll), decimals);
  }
  grid_->AddCellSpan(4, CSheetGrid::kHeaderRow, 3, 1);
  grid_->SetText(SheetBlock(4, CSheetGrid::kHeaderRow), QString::fromUtf8(kSingleStrengthHeader));
  const int digit = grid_->fontMetrics().horizontalAdvance(QLatin1Char('0'));
  grid_->SetColWidth(kRegisterCol, 5 * digit);
  for (const int col : {2, 3}) grid_->SetColWidth(col, 7 * digit);
  for (int col = 4; col <= kColumnCount; ++col) grid_->SetColWidth(col, 10 * digit);
  grid_->SetCellType(SheetBlock(kRegisterCol, CSheetGrid::kAll), SheetCellType::CheckBox);
  // Registration goes through the click; nothing in the table is typed.
  grid_->SetLock(SheetBlock(CSheetGrid::kAll, CSheetGrid::kAll), true);
  grid_->SetLockBackColor(kWhite);
  SetHeader();
  resize(620, 520);
  SetTrackLimits(0, -100, 0, 9999);

  connect(switch_, &QCheckBox::clicked, this, [this] { EnableControls(); });
  connect(calculate_, &QPushButton::clicked, this, &CCmdStabMultiFsGyakuDlg::OnCalculate);
  connect(copy_, &QPushButton::clicked, this, &CCmdStabMultiFsGyakuDlg::OnCopy);
  connect(graph_, &QPushButton::clicked, this, &CCmdStabMultiFsGyakuDlg::OnGraph);
  connect(grid_, &CSheetGrid::Click, this, &CCmdStabMultiFsGyakuDlg::OnGridClick);
  connect(grid_, &CSheetGrid::LeaveCell, this,
          [this](int /*col*/, int /*row*/, int /*newCol*/, int newRow, bool* /*cancel*/) {
            if (newRow >= 1) SelectRow(newRow);
          });

  // The switch and Fs0 are shown once: later they are read from the controls, so that a sort or
  // a registration never drops what was typed.
  switch_->setChecked(prm_.gyakuOn != 0);
  fs0_->SetDouble(prm_.assumedFs);
  UpdateInfo();
  EnableControls();
}

int CCmdStabMultiFsGyakuDlg::FindRegistered() const {
  const std::vector<CMltPoint*>& list = result_.GetSerial();
  const auto it =
      std::find_if(list.begin(), list.end(), [](const CMltPoint* p) { return p->typicalN == 1; });
  return it == list.end() ? -1 : static_cast<int>(it - list.begin());
}

void CCmdStabMultiFsGyakuDlg::SelectRow(int row) {
  const std::vector<CMltPoint*>& list = result_.GetSerial();
  if (row < 1 || row > static_cast<int>(list.size())) return;
  result_.SetCurrentResult(list[row - 1]);
  RedrawSection();
}

void CCmdStabMultiFsGyakuDlg::SetHeader() {
  const tagMLTSORT& sort = result_.GetSort();
  const QString mark = QString::fromUtf8(sort.order == 1 ? "▼\n" : "▲\n");
  for (int col = 1; col <= kColumnCount; ++col) {
    const Column& column = kColumns[col - 1];
    const QString text = QString::fromUtf8(column.header);
    grid_->SetText(
        SheetBlock(col, column.secondRow ? CSheetGrid::kHeaderRow2 : CSheetGrid::kHeaderRow),
        column.sortItem == sort.item ? mark + text : text);
  }
  grid_->SetText(SheetBlock(CSheetGrid::kRowHeaderCol, CSheetGrid::kHeaderRow),
                 sort.item == kRowHeaderSortItem ? mark : QString());
}

void CCmdStabMultiFsGyakuDlg::SetResult() {
  const std::vector<CMltPoint*>& list = result_.GetSerial();
  const double largestC = result_.GetMaxC();
  grid_->SetReDraw(false);
  grid_->SetMaxRows(static_cast<int>(list.size()));
  for (int row = 1; row <= static_cast<int>(list.size()); ++row) {
    const CMltPoint& point = *list[row - 1];
    grid_->SetText(SheetBlock(kRegisterCol, row), point.typicalN == 1 ? "1" : "0");
    SpreadSetInt(*grid_, 2, row, point.startBlock + 1);
    SpreadSetInt(*grid_, 3, row, point.endBlock + 1);
    const CMltPointGyaku* gyaku = Gyaku(&point);
    for (int col = 4; col <= kCCol; ++col) {
      SpreadSetDbl(*grid_, col, row, ColumnDecimals(col), "",
                   gyaku != nullptr ? ColumnValue(*gyaku, col) : kNoValue);
    }
    const bool largest = largestC != kNoValue && gyaku != nullptr && gyaku->c == largestC;
    grid_->SetBackColor(SheetBlock(kCCol, row), largest ? kLargestC : kWhite);
  }
  grid_->SetReDraw(true);
}

void CCmdStabMultiFsGyakuDlg::UpdateInfo() {
  phi_->SetDouble(case_.GetBlockList().GetSouFai());
  c_->SetDouble(result_.GetSelectRepPt(0) != nullptr ? result_.adopted[0] : kNoValue);
  const CBlockList& blocks = case_.GetBlockList();
  char text[96];
  std::snprintf(text, sizeof text, "ブロック数:%d  -  組合せ数:%d", blocks.GetBlockSize(),
                blocks.GetBlockCalcSize());
  count_->setText(QString::fromUtf8(text));
  SetResult();
  SelectRow(grid_->ActiveRow());
}

void CCmdStabMultiFsGyakuDlg::StoreInput() {
  prm_.gyakuOn = switch_->isChecked() ? 1 : 0;
  // While the field still shows the stored Fs0, that value stays exactly, decimals beyond the
  // shown ones included.
  const bool shown = prm_.assumedFs == kNoValue
                         ? fs0_->text().isEmpty()
                         : fs0_->GetText() == FormatFixed(prm_.assumedFs, fs0_->m_nDecimals);
  if (!shown) prm_.assumedFs = fs0_->GetDouble();
  result_.SetCurrentResult(nullptr);
}

void CCmdStabMultiFsGyakuDlg::EnableControls() {
  const bool on = switch_->isChecked();
  for (QWidget* control : std::initializer_list<QWidget*>{calculate_, fs0_, phi_, count_})
    control->setEnabled(on);
  for (QLabel* label : findChildren<QLabel*>()) {
    if (label != count_) label->setEnabled(on);
  }
  adoptedGroup_->setEnabled(on);
  grid_->setVisible(on);
  copy_->setVisible(on);
  EnableGraphButton();
}

void CCmdStabMultiFsGyakuDlg::EnableGraphButton() {
  graph_->setEnabled(switch_->isChecked() && result_.GetSelectRepPt(0) != nullptr);
}

void CCmdStabMultiFsGyakuDlg::OnCalculate() {
  StoreInput();
  RedrawSection();
  if (!case_.PreCalcStabGyaku(true)) return;
  // The dialog stays shown: hiding a dialog that runs modally ends its event loop. The progress
  // window is application-modal, so nothing here can be pressed during the run.
  calculate_->setEnabled(false);
  RunStabJob(case_.StabGyakuJob());
  calculate_->setEnabled(true);
  // The new points carry no registration, so a strength adopted from the former ones would
  // reach the forward calculation without any row behind it.
  if (result_.GetSelectRepPt(0) == nullptr) result_.adopted.fill(kNoValue);
  case_.MarkEdited();
  SetHeader();
  UpdateInfo();
  EnableGraphButton();
  SelectRow(grid_->ActiveRow());
}

void CCmdStabMultiFsGyakuDlg::OnGridClick(int col, int row) {
  if (result_.GetSerial().empty()) return;
  if (row < 1) {
    SortBy(col);
    SetHeader();
    UpdateInfo();
    return;
  }
  if (col != kRegisterCol) return;
  StoreInput();
  ToggleRegistration(row);
  UpdateInfo();
  EnableGraphButton();
  RedrawSection();
}

void CCmdStabMultiFsGyakuDlg::SortBy(int col) {
  const int item =
      col >= 1 && col <= kColumnCount ? kColumns[col - 1].sortItem : kRowHeaderSortItem;
  tagMLTSORT sort = result_.GetSort();
  if (sort.item == item) {
    sort.order = sort.order == 0 ? 1 : 0;
  } else {
    sort.item = item;
  }
  result_.SetSort(sort);
  result_.SortSerial(sort);
}

void CCmdStabMultiFsGyakuDlg::ToggleRegistration(int row) {
  const std::vector<CMltPoint*>& list = result_.GetSerial();
  if (row > static_cast<int>(list.size())) return;
  CMltPoint& clicked = *list[row - 1];
  const bool wasRegistered = clicked.typicalN == 1;
  const CMltPointGyaku* gyaku = Gyaku(&clicked);
  // A cohesion below zero is no strength of a soil; run forward it gives no safety factor that
  // means anything, so such a pair is not adopted and the registration stays as it was.
  if (!wasRegistered && gyaku != nullptr && gyaku->c != kNoValue && gyaku->c < 0) {
    Ui().MessageBox(kNegativeCohesion, GetAppTitle(), MsgButtons::Ok, MsgIcon::Warning);
    return;
  }
  for (CMltPoint* point : list) point->typicalN = 0;
  // All four slots together, so that no value of a former registration stays behind.
  result_.adopted.fill(kNoValue);
  if (wasRegistered || gyaku == nullptr) return;
  clicked.typicalN = 1;
  result_.adopted[0] = gyaku->c;
  result_.adopted[1] = gyaku->phi;
  result_.adopted[2] = gyaku->tanPhi;
}

void CCmdStabMultiFsGyakuDlg::OnCopy() {
  if (result_.GetSerial().empty()) {
    ShowInfo(kNoResults);
    return;
  }
  std::string text = kCopyHead;
  for (int row = 1; row <= grid_->MaxRows(); ++row) {
    text += std::to_string(row);
    for (int col = 2; col <= kColumnCount; ++col) {
      text += '\t';
      text += grid_->Text(col, row).toStdString();
    }
    text += '\n';
  }
  if (CopyTextToClipboard(text)) ShowInfo(kCopied);
}

void CCmdStabMultiFsGyakuDlg::OnGraph() {
  CRefStabGraphCPhiDlg dialog(case_, this);
  RunModal(dialog);
}

bool CCmdStabMultiFsGyakuDlg::ForwardStrengthChanged() const {
  const bool on = prm_.gyakuOn != 0;
  return on != (switchAtOpen_ != 0) || (on && result_.adopted != adoptedAtOpen_);
}

bool CCmdStabMultiFsGyakuDlg::HasForwardResults() const {
  return case_.GetResStab2().GetResult() != nullptr || case_.GetResSlide().IsResult() ||
         case_.GetResShear().IsResult() || case_.GetResFocus().IsResult();
}

bool CCmdStabMultiFsGyakuDlg::StoreAndCompare() {
  StoreInput();
  const bool strengthChanged = ForwardStrengthChanged();
  if (strengthChanged && HasForwardResults()) {
    if (Ui().MessageBox(kStrengthChanged, GetAppTitle(), MsgButtons::OkCancel, MsgIcon::Question) !=
        MsgResult::Ok) {
      return false;
    }
    case_.ClearResultsReading(CalcInput::kBackAnalysisStrength);
  }
  const tagMLTSORT& sort = result_.GetSort();
  const bool changed = strengthChanged || FindRegistered() != registeredAtOpen_ ||
                       result_.adopted != adoptedAtOpen_ || !result_.GetKey().IsSame(keyAtOpen_) ||
                       sort.item != sortAtOpen_.item || sort.order != sortAtOpen_.order ||
                       prm_.gyakuOn != switchAtOpen_ || prm_.assumedFs != fs0AtOpen_;
  if (changed) {
    case_.MarkEdited();
  }
  return true;
}

void CCmdStabMultiFsGyakuDlg::OnOK() {
  if (StoreAndCompare()) StageDialog::OnOK();
}

void CCmdStabMultiFsGyakuDlg::OnCancel() {
  if (!StoreAndCompare()) return;
  // The stage manager redraws after 登録 only; what キャンセル stores and the dropped pick reach
  // the view here.
  RedrawSection();
  StageDialog::OnCancel();
}
