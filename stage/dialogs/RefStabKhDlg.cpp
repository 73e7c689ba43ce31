#include "stage/dialogs/RefStabKhDlg.h"

#include <QFontMetrics>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>
#include <string>

#include "core/base/AppIdentity.h"
#include "core/base/CoreConfig.h"
#include "core/base/UnitFilter.h"
#include "core/base/Utility.h"
#include "platform/NumberText.h"
#include "platform/UiRegistry.h"
#include "platform/qt/ModalRunner.h"
#include "stage/controls/ExpEdit.h"

namespace {

constexpr int kSeismicCoefficientCode = 211;
// The range of the conditions dialog's kh field, which a derived kh must fit as well.
constexpr double kDesignKhMax = 9.999;
constexpr Color kDerivedBack{0xB8FFFF};

constexpr int kWidthDlu = 260;
constexpr int kHeightDlu = 120;

QLabel* Text(const char* text) { return new QLabel(QString::fromUtf8(text)); }

// The refusal of a derived kh beyond the design field's range, in that field's words.
std::string OutOfDesignRange() {
  return "数値が範囲外です。\n\n（" + FormatFixed(0.0, 3) + " ～ " + FormatFixed(kDesignKhMax, 3) +
         " までの範囲で入力してください。）";
}

}  // namespace

bool CRefStabKhDlg::Calculate(CPrmStab& conditions, QWidget* parent) {
  return RunDialog<CRefStabKhDlg>(conditions, parent);
}

CRefStabKhDlg::CRefStabKhDlg(CPrmStab& conditions, QWidget* parent)
    : StageDialog(parent),
      distance_(MakeDecimalField(5317, 0, 99.999, 7, 3)),
      magnitude_(MakeDecimalField(5421, 0, 99.9, 5, 1)),
      kh_(MakeDecimalField(5210, 0, 99.999, 7,
                           CCoreConfig::GetUnitFilter().Digit(kSeismicCoefficientCode))),
      conditions_(&conditions) {
  setObjectName(QStringLiteral("CRefStabKhDlg"));
  setWindowTitle(QStringLiteral("参考：設計水平震度"));
  opened_.Copy(conditions);
  // The derived kh is shown, never typed.
  kh_->SetReadOnlyColor(kDerivedBack);
  kh_->SetReadOnly(true);

  auto* form = new QGridLayout;
  form->addWidget(Text("地表面に投影された断層までの最短距離"), 0, 0);
  form->addWidget(Text("D ="), 0, 1);
  form->addWidget(distance_, 0, 2);
  form->addWidget(Text("(km)"), 0, 3);
  form->addWidget(Text("気象庁マグニチュード"), 1, 0);
  form->addWidget(Text("MJ ="), 1, 1);
  form->addWidget(magnitude_, 1, 2);
  form->addWidget(Text("設計水平震度 (※計算値)"), 2, 0);
  form->addWidget(Text("kh ="), 2, 1);
  form->addWidget(kh_, 2, 2);
  form->setColumnStretch(2, 1);

  QHBoxLayout* const buttons = MakeOkCancelRow({}, {.ok = "代入"}).layout;
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(Text("設計対象地区と地表面に投影された活断層までの最短距離を入力する。"));
  layout->addWidget(Text("対象となる断層と想定地震の規模は、最新の地域防災計画を参照すること。"));
  layout->addLayout(form);
  layout->addStretch();
  layout->addLayout(buttons);

  const QFontMetrics metrics(font());
  resize(kWidthDlu * metrics.averageCharWidth() / 4, kHeightDlu * metrics.height() / 8);

  ShowValues();
  for (CExpEdit* input : {distance_, magnitude_}) {
    connect(input, &CExpEdit::FocusLeft, this, &CRefStabKhDlg::OnInputLeft);
  }
}

void CRefStabKhDlg::ShowValues() {
  distance_->SetDouble(conditions_->distance);
  magnitude_->SetDouble(conditions_->magnitude);
  kh_->SetDouble(conditions_->khCalc);
}

void CRefStabKhDlg::OnInputLeft() {
  conditions_->magnitude = magnitude_->GetDoubleKeeping(conditions_->magnitude);
  conditions_->distance = distance_->GetDoubleKeeping(conditions_->distance);
  conditions_->CalcKh();
  ShowValues();
}

void CRefStabKhDlg::OnOK() {
  const double derived = conditions_->khCalc;
  if (derived != kNoValue && derived > kDesignKhMax) {
    Ui().MessageBox(OutOfDesignRange(), GetAppTitle(), MsgButtons::Ok, MsgIcon::Warning);
    return;
  }
  conditions_->kh = derived;
  StageDialog::OnOK();
}

void CRefStabKhDlg::OnCancel() {
  conditions_->Copy(opened_);
  StageDialog::OnCancel();
}
