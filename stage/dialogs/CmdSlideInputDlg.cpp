#include "stage/dialogs/CmdSlideInputDlg.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <optional>

#include "core/base/CoreConfig.h"
#include "core/base/UnitFilter.h"
#include "core/case/Case.h"
#include "platform/UiRegistry.h"
#include "platform/qt/ModalRunner.h"
#include "stage/controls/ExpEdit.h"
#include "stage/dialogs/RefSlideHDlg.h"
#include "stage/dialogs/RefSlideLDlg.h"

namespace {

constexpr int kDeltaCCode = 131;
constexpr int kKhCode = 211;
// A length or pitch of 0 leaves the calculation nothing to divide by or march with.
constexpr double kLeastPositive = 0.001;
constexpr Color kReadOnlyBack{0xB8FFFF};

CExpEdit* MakeBlockField(int id) {
  CExpEdit* field = MakeIntegerField(id, 0, 99999, 5);
  field->SetReadOnlyColor(kReadOnlyBack);
  field->SetReadOnly(true);
  return field;
}

}  // namespace

bool CCmdSlideInputDlg::Run(CCase& target, QWidget* parent) {
  return RunDialog<CCmdSlideInputDlg>(target, parent);
}

CCmdSlideInputDlg::CCmdSlideInputDlg(CCase& target, QWidget* parent)
    : StageDialog(parent),
      case_(target),
      prm_(target.GetPrmSlide()),
      opened_(target.GetPrmSlide()),
      start_(MakeBlockField(6338)),
      end_(MakeBlockField(6339)),
      s2_(MakeDecimalField(6341, 0, 999.999, 8, 3)),
      s3_(MakeDecimalField(6340, 0, 999.999, 8, 3)),
      l_(MakeDecimalField(6239, kLeastPositive, 999.999, 8, 3)),
      deltaC_(
          MakeDecimalField(6240, 0, 9999.999, 8, CCoreConfig::GetUnitFilter().Digit(kDeltaCCode))),
      h_(MakeDecimalField(6241, 0, 9999.999, 9, 3)),
      pitch_(MakeDecimalField(6242, kLeastPositive, 9.999, 6,
                              CCoreConfig::GetUnitFilter().Digit(kKhCode))),
      kh_(MakeDecimalField(6243, 0, 9.999, 6, 3)),
      derived_(new QRadioButton(QStringLiteral("ロックボルトの対策効果から自動計算"))),
      entered_(new QRadioButton(QStringLiteral("直接入力"))),
      pickL_(MakeButton("すべり面から代入", 6347)),
      pickH_(MakeButton("厚さ計算から代入", 6348)) {
  setWindowTitle(QStringLiteral("計算条件"));
  SetId(derived_, 6344);
  SetId(entered_, 6345);
  kh_->SetReadOnlyColor(kReadOnlyBack);
  kh_->SetReadOnly(true);
  deltaC_->SetReadOnlyColor(kReadOnlyBack);
  BuildLayout();
  Show();
  RedrawSection();

  connect(derived_, &QRadioButton::clicked, this, &CCmdSlideInputDlg::OnModeClicked);
  connect(entered_, &QRadioButton::clicked, this, &CCmdSlideInputDlg::OnModeClicked);
  for (CExpEdit* input : {s2_, s3_, l_}) {
    connect(input, &CExpEdit::FocusLeft, this, &CCmdSlideInputDlg::OnDerivedInputLeft);
  }
  connect(pickL_, &QPushButton::clicked, this, &CCmdSlideInputDlg::PickLength);
  connect(pickH_, &QPushButton::clicked, this, &CCmdSlideInputDlg::PickThickness);
}

void CCmdSlideInputDlg::BuildLayout() {
  auto* range = new QGroupBox(QStringLiteral("すべり面のブロック範囲（地震時）"));
  auto* rangeLayout = new QHBoxLayout(range);
  rangeLayout->addWidget(MakeLabel("始点ブロック"));
  rangeLayout->addWidget(start_);
  rangeLayout->addWidget(MakeLabel("～ 終点ブロック"));
  rangeLayout->addWidget(end_);
  rangeLayout->addStretch();

  auto* cohesion = new QGroupBox(QStringLiteral("見かけの粘着力"));
  auto* form = new QGridLayout(cohesion);
  form->addWidget(derived_, 0, 0, 1, 4);
  struct Row {
    const char* caption;
    int captionId;
    const char* symbol;
    int symbolId;
    CExpEdit* field;
    const char* unit;
    int unitId;
  };
  const Row derivedRows[] = {
      {"ロックボルトの引止め力", 6386, "S2 =", 6387, s2_, "(kN/m)", 6388},
      {"ロックボルトの締め付け力", 6389, "S3 =", 6390, s3_, "(kN/m)", 6391},
      {"すべり面延長", 6370, "l  =", 6371, l_, "(m)", 6372},
  };
  int line = 1;
  for (const Row& row : derivedRows) {
    QLabel* const caption = MakeLabel(row.caption, row.captionId);
    QLabel* const symbol = MakeLabel(row.symbol, row.symbolId);
    QLabel* const unit = MakeLabel(row.unit, row.unitId);
    derivedOnly_ << caption << symbol << unit;
    form->addWidget(caption, line, 1);
    form->addWidget(symbol, line, 2);
    form->addWidget(row.field, line, 3);
    form->addWidget(unit, line, 4);
    ++line;
  }
  form->addWidget(pickL_, line - 1, 5);
  form->addWidget(entered_, line++, 0, 1, 4);
  form->addWidget(MakeLabel("見かけの粘着力"), line, 1);
  form->addWidget(MakeLabel("Δc  ="), line, 2);
  form->addWidget(deltaC_, line, 3);
  form->addWidget(MakeLabel("(kN/m2)"), line, 4);
  form->setColumnMinimumWidth(0, 16);

  auto* other = new QGroupBox(QStringLiteral("計算条件"));
  auto* otherForm = new QGridLayout(other);
  otherForm->addWidget(MakeLabel("潜在崩土層厚"), 0, 0);
  otherForm->addWidget(MakeLabel("h  ="), 0, 1);
  otherForm->addWidget(h_, 0, 2);
  otherForm->addWidget(MakeLabel("(m)"), 0, 3);
  otherForm->addWidget(pickH_, 0, 4);
  otherForm->addWidget(MakeLabel("計算する水平震度のピッチ"), 1, 0);
  otherForm->addWidget(pitch_, 1, 2);
  otherForm->addWidget(MakeLabel("設計水平震度"), 2, 0);
  otherForm->addWidget(MakeLabel("kh  ="), 2, 1);
  otherForm->addWidget(kh_, 2, 2);

  QHBoxLayout* const buttons = MakeOkCancelRow().layout;
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(range);
  layout->addWidget(cohesion);
  layout->addWidget(other);
  layout->addLayout(buttons);
}

int CCmdSlideInputDlg::ChosenMode() const {
  return derived_->isChecked() ? CPrmSlide::kDeltaCDerived : CPrmSlide::kDeltaCEntered;
}

void CCmdSlideInputDlg::Show() {
  if (const CMltPoint* const quake = case_.GetQuakeSelectPoint()) {
    start_->SetInt(quake->startBlock + 1);
    end_->SetInt(quake->endBlock + 1);
  }
  (prm_.deltaCMode == CPrmSlide::kDeltaCDerived ? derived_ : entered_)->setChecked(true);
  s2_->SetDouble(prm_.s2);
  s3_->SetDouble(prm_.s3);
  l_->SetDouble(prm_.l);
  h_->SetDouble(prm_.h);
  pitch_->SetDouble(prm_.khPitch);
  deltaC_->SetDouble(prm_.GetDeltaC());
  kh_->SetDouble(case_.GetPrmStab().kh);
  EnableByMode();
}

void CCmdSlideInputDlg::EnableByMode() {
  const bool derived = ChosenMode() == CPrmSlide::kDeltaCDerived;
  for (QWidget* control : derivedOnly_) control->setEnabled(derived);
  for (QWidget* control : {static_cast<QWidget*>(s2_), static_cast<QWidget*>(s3_),
                           static_cast<QWidget*>(l_), static_cast<QWidget*>(pickL_)}) {
    control->setEnabled(derived);
  }
  deltaC_->SetReadOnly(derived);
}

void CCmdSlideInputDlg::TakeOver() {
  const int shownMode = prm_.deltaCMode;
  prm_.deltaCMode = ChosenMode();
  prm_.s2 = s2_->GetDoubleKeeping(prm_.s2);
  prm_.s3 = s3_->GetDoubleKeeping(prm_.s3);
  prm_.l = l_->GetDoubleKeeping(prm_.l);
  // The field showed the derived Δc in mode 0: that is no entry of the user's.
  if (shownMode == CPrmSlide::kDeltaCEntered) {
    prm_.deltaCEntered = deltaC_->GetDoubleKeeping(prm_.deltaCEntered);
  }
  prm_.h = h_->GetDoubleKeeping(prm_.h);
  prm_.khPitch = pitch_->GetDoubleKeeping(prm_.khPitch);
}

void CCmdSlideInputDlg::OnModeClicked() {
  TakeOver();
  Show();
}

void CCmdSlideInputDlg::OnDerivedInputLeft() {
  TakeOver();
  prm_.CalcDeltaC();
  Show();
}

void CCmdSlideInputDlg::PickLength() {
  TakeOver();
  const std::optional<double> length = CRefSlideLDlg::PickLength(case_, this);
  if (!length) return;
  l_->SetDouble(*length);
  TakeOver();
  prm_.CalcDeltaC();
  Show();
}

void CCmdSlideInputDlg::PickThickness() {
  TakeOver();
  const std::optional<double> thickness =
      CRefSlideHDlg::PickThickness(case_, CRefSlideHDlg::kSeismicRow, this);
  if (thickness) h_->SetDouble(*thickness);
}

bool CCmdSlideInputDlg::ChangesCalculation(const CPrmSlide& before, const CPrmSlide& after) {
  CPrmSlide a(before);
  CPrmSlide b(after);
  return a.GetDeltaC() != b.GetDeltaC() || a.h != b.h || a.khPitch != b.khPitch;
}

void CCmdSlideInputDlg::OnOK() {
  TakeOver();
  if (!prm_.IsSame(opened_)) {
    case_.MarkEdited();
  }
  if (ChangesCalculation(opened_, prm_)) case_.ClearResultsReading(CalcInput::kSlideConditions);
  StageDialog::OnOK();
}

void CCmdSlideInputDlg::OnCancel() {
  prm_.Copy(opened_);
  StageDialog::OnCancel();
}
