#include "stage/dialogs/CmdShearFocusDlg.h"

#include <QFontMetrics>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>
#include <optional>
#include <string>

#include "core/base/CoreConfig.h"
#include "core/base/UnitFilter.h"
#include "core/base/Utility.h"
#include "core/case/Case.h"
#include "platform/qt/ModalRunner.h"
#include "stage/controls/ExpEdit.h"
#include "stage/controls/SheetCell.h"
#include "stage/controls/SheetGrid.h"
#include "stage/dialogs/JudgementCell.h"
#include "stage/dialogs/RefShearTrnaDlg.h"
#include "stage/output/WordRequest.h"

namespace {

constexpr int kWidthDlu = 300;
constexpr int kHeightDlu = 150;

constexpr int kSeismicCoefficientCode = 211;
constexpr int kSafetyFactorCode = 163;
constexpr int kResultDecimals = 4;

constexpr Color kGridHeader{0xFFFFDB};
constexpr Color kReadOnly{0xB8FFFF};

Judgement ToJudgement(CResFocus::Judge judge) {
  switch (judge) {
    case CResFocus::Judge::kOk:
      return Judgement::kOk;
    case CResFocus::Judge::kOut:
      return Judgement::kOut;
    case CResFocus::Judge::kNoLoad:
      return Judgement::kNoLoad;
    case CResFocus::Judge::kNone:
      break;
  }
  return Judgement::kNone;
}

// The result rows: two header columns, then the result, the comparison, the limit and the
// judgement.
constexpr int kResultCol = 3;
constexpr int kSignCol = 4;
constexpr int kLimitCol = 5;
constexpr int kJudgeCol = 6;
constexpr const char* kResultHeaders[] = {"", "", "結果", "", "許容値", "判定"};

int Digit(int code) { return CCoreConfig::GetUnitFilter().Digit(code); }

CExpEdit* ShownField(int id, double max, int maxBytes, int decimals) {
  CExpEdit* field = MakeDecimalField(id, 0.0, max, maxBytes, decimals);
  field->SetReadOnlyColor(kReadOnly);
  field->SetReadOnly(true);
  return field;
}

CExpEdit* CountField(int id) {
  CExpEdit* field = MakeIntegerField(id, 0, 99, 2);
  field->SetReadOnlyColor(kReadOnly);
  field->SetReadOnly(true);
  return field;
}

CSheetGrid* ResultGrid(int id, const char* title, const char* symbol) {
  auto* grid = new CSheetGrid;
  SetId(grid, id);
  grid->SetHeaderBackColor(kGridHeader);
  grid->SetLockBackColor(kReadOnly);
  grid->SetMaxCols(kJudgeCol);
  grid->SetMaxRows(1);
  int col = 1;
  for (const char* header : kResultHeaders) {
    grid->SetText(SheetBlock(col++, CSheetGrid::kHeaderRow), QString::fromUtf8(header));
  }
  grid->SetText(SheetBlock(1, 1), QString::fromUtf8(title));
  grid->SetText(SheetBlock(2, 1), QString::fromUtf8(symbol));
  grid->SetBackColor(SheetBlock(1, 1, 2, 1), kGridHeader);
  grid->SetText(SheetBlock(kSignCol, 1), QStringLiteral("≧"));
  grid->SetLock(SheetBlock(1, 1, kJudgeCol, 1), true);
  grid->SetColWidth(1, 230);
  grid->SetColWidth(2, 70);
  grid->SetColWidth(kSignCol, 30);
  grid->setFixedHeight(grid->horizontalHeader()->sizeHint().height() +
                       grid->verticalHeader()->length() + 2 * grid->frameWidth());
  // The rows are shown, not chosen.
  grid->setFocusPolicy(Qt::NoFocus);
  grid->clearSelection();
  return grid;
}

}  // namespace

bool CCmdShearFocusDlg::Run(CCase& target, QWidget* parent) {
  return RunDialog<CCmdShearFocusDlg>(target, parent);
}

CCmdShearFocusDlg::CCmdShearFocusDlg(CCase& target, QWidget* parent)
    : StageDialog(parent), case_(target), opened_(target.GetResFocus()) {
  setObjectName(QStringLiteral("CCmdShearFocusDlg"));
  setWindowTitle(QStringLiteral("局所破壊"));

  // Created in the order of the focus chain.
  kh_ = ShownField(7349, 9.999, 6, Digit(kSeismicCoefficientCode));
  trb_ = ShownField(7348, 999.9, 6, 1);
  sag_ = ShownField(7347, 9.9, 3, 1);
  count_ = CountField(7223);
  trn_ = ShownField(7350, 999.99, 7, 2);
  requiredFs_ = MakeDecimalField(7353, 0.0, 99.9999, 7, Digit(kSafetyFactorCode));
  capacity_ = MakeDecimalField(7352, 0.0, 99.999, 6, 3);
  unit_ = new QLabel;
  SetId(unit_, 7363);
  gridT_ = ResultGrid(6350, "ﾛｯｸﾎﾞﾙﾄ1本当たりの引抜き抵抗力", "T (kN)");
  gridFs_ = ResultGrid(6352, "ロープネットの安全率", "Fs-RN");
  BuildLayout();

  for (CExpEdit* input : {requiredFs_, capacity_}) {
    connect(input, &CExpEdit::FocusLeft, this, &CCmdShearFocusDlg::OnInputLeft);
  }
  Recompute();
}

void CCmdShearFocusDlg::BuildLayout() {
  QPushButton* const method = MakeButton("参考値：工法選択", 7355);
  QPushButton* const word = MakeButton("Word出力", 7354);
  connect(word, &QPushButton::clicked, this,
          [this] { RequestWordReport(case_.GetResFocus().IsResult(), 3, 1); });
  connect(method, &QPushButton::clicked, this, &CCmdShearFocusDlg::OnMethodReference);

  auto* form = new QGridLayout;
  int row = 0;
  const auto addRow = [&form, &row](const char* label, CExpEdit* field, const char* unit) {
    form->addWidget(MakeLabel(label), row, 0);
    form->addWidget(field, row, 1);
    form->addWidget(MakeLabel(unit), row, 2);
    ++row;
  };
  addRow("kh局所 =", kh_, "");
  addRow("TRB =", trb_, "(kN)");
  addRow("f   =", sag_, "(m)");
  form->addWidget(MakeLabel("n   ="), row, 0);
  form->addWidget(count_, row, 1);
  form->addWidget(unit_, row, 2);
  ++row;
  addRow("TRN =", trn_, "(kN)");
  addRow("Fs-RN ≧", requiredFs_, "");
  addRow("TRNa =", capacity_, "(kN)");
  form->addWidget(method, row, 1, 1, 2);
  form->setColumnStretch(3, 1);

  QHBoxLayout* const buttons = MakeOkCancelRow({word}).layout;
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(form);
  layout->addWidget(gridT_);
  layout->addWidget(gridFs_);
  layout->addStretch();
  layout->addLayout(buttons);

  const QFontMetrics metrics(font());
  resize(kWidthDlu * metrics.averageCharWidth() / 4, kHeightDlu * metrics.height() / 8);
}

void CCmdShearFocusDlg::Recompute() {
  CResFocus& focus = case_.GetResFocus();
  const CReinfArrange& arrange = case_.GetReinfArrange();
  if (arrange.GetSize() > 0) {
    focus.CalcAll(case_.GetPrmShear(), case_.GetResShear(), case_.GetPrmReinf(), *arrange.GetAt(0));
  } else {
    focus.ClearRes();
  }
  Show();
}

void CCmdShearFocusDlg::Show() {
  const CResFocus& focus = case_.GetResFocus();
  kh_->SetDouble(case_.GetResShear().yieldK);
  trb_->SetDouble(focus.trb);
  sag_->SetDouble(focus.sag);
  count_->SetInt(focus.count);
  trn_->SetDouble(focus.trn);
  requiredFs_->SetDouble(focus.requiredFsRN);
  capacity_->SetDouble(focus.capacity);
  unit_->setText(focus.unitWord.empty() ? QString()
                                        : QString::fromStdString("(" + focus.unitWord + ")"));
  ShowResultRow(*gridT_, focus.GetT(), focus.trb, focus.JudgeT());
  ShowResultRow(*gridFs_, focus.fsRN, focus.requiredFsRN, focus.JudgeFsRN());
}

void CCmdShearFocusDlg::ShowResultRow(CSheetGrid& grid, double result, double limit,
                                      CResFocus::Judge judge) {
  const int decimals = &grid == gridFs_ ? Digit(kSafetyFactorCode) : kResultDecimals;
  grid.SetText(SheetBlock(kResultCol, 1), QString::fromStdString(DblToText(decimals, result)));
  grid.SetText(SheetBlock(kLimitCol, 1), QString::fromStdString(DblToText(decimals, limit)));
  ShowJudgement(grid, kJudgeCol, 1, ToJudgement(judge));
}

void CCmdShearFocusDlg::TakeOver() {
  CResFocus& focus = case_.GetResFocus();
  focus.requiredFsRN = requiredFs_->GetDoubleKeeping(focus.requiredFsRN);
  focus.capacity = capacity_->GetDoubleKeeping(focus.capacity);
}

void CCmdShearFocusDlg::OnInputLeft() {
  TakeOver();
  Recompute();
}

void CCmdShearFocusDlg::OnMethodReference() {
  const std::optional<CRefShearTrnaDlg::Choice> choice = CRefShearTrnaDlg::Choose(this);
  if (!choice) return;
  TakeOver();
  CResFocus& focus = case_.GetResFocus();
  focus.capacity = choice->strength;
  if (choice->count != kNoValueInt) {
    focus.count = choice->count;
    focus.unitWord = choice->unitWord;
  }
  Recompute();
}

void CCmdShearFocusDlg::OnOK() {
  TakeOver();
  Recompute();
  // The inputs and the check are stored with the case: any difference is an edit to save.
  if (!(case_.GetResFocus() == opened_)) {
    case_.MarkEdited();
  }
  StageDialog::OnOK();
}

void CCmdShearFocusDlg::OnCancel() {
  case_.GetResFocus().Copy(opened_);
  StageDialog::OnCancel();
}
