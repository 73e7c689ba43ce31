#include "stage/dialogs/RefUnitFilterDlg.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <vector>

#include "core/base/AppIdentity.h"
#include "core/base/CoreConfig.h"
#include "platform/UiRegistry.h"

namespace {

// A radio group: the setting it carries, the setting of its first button (the buttons follow in
// steps of one), its first control id and its button captions.
struct RadioGroupSpec {
  int CUnitFilter::*setting;
  int firstValue;
  int firstId;
  std::vector<const char*> captions;
};

// In the order of CRefUnitFilterDlg::Group.
const RadioGroupSpec kGroups[] = {
    {&CUnitFilter::modeGeneral, 0, 3101, {"切り上げ", "切り捨て", "四捨五入"}},
    {&CUnitFilter::digitsSafetyFactor, 2, 3104, {"2桁", "3桁", "4桁"}},
    {&CUnitFilter::modeSafetyFactor, 0, 3107, {"切り上げ", "切り捨て", "四捨五入"}},
    {&CUnitFilter::digitsCohesion, 1, 3110, {"1桁", "2桁", "3桁"}},
    {&CUnitFilter::digitsFriction, 0, 3113, {"0桁", "1桁", "2桁", "3桁", "4桁"}},
    {&CUnitFilter::digitsSeismicCoefficient, 2, 3118, {"2桁", "3桁"}},
};

constexpr int kSwitchId = 3100;
constexpr int kResetId = 3127;

QGroupBox* Frame(const char* title, QLayout* content) {
  auto* box = new QGroupBox(QString::fromUtf8(title));
  box->setLayout(content);
  return box;
}

}  // namespace

bool CRefUnitFilterDlg::Run(QWidget* parent) { return RunDialog<CRefUnitFilterDlg>(parent); }

// The digits of code 231 pass through unseen.
bool CRefUnitFilterDlg::DigitsDiffer(const CUnitFilter& a, const CUnitFilter& b) {
  return a.digitsSafetyFactor != b.digitsSafetyFactor || a.digitsFriction != b.digitsFriction ||
         a.digitsCohesion != b.digitsCohesion ||
         a.digitsSeismicCoefficient != b.digitsSeismicCoefficient;
}

CRefUnitFilterDlg::CRefUnitFilterDlg(QWidget* parent)
    : StageDialog(parent),
      work_(CCoreConfig::GetUnitFilter()),
      roundSwitch_(new QCheckBox(QStringLiteral("途中計算に丸めを用いる"))) {
  setObjectName(QStringLiteral("CRefUnitFilterDlg"));
  setWindowTitle(QStringLiteral("数値の丸め設定"));
  BuildLayout();
  Show();
  connect(roundSwitch_, &QCheckBox::toggled, this, [this] { EnableModes(); });
}

void CRefUnitFilterDlg::BuildLayout() {
  SetId(roundSwitch_, kSwitchId);
  std::array<QHBoxLayout*, kGroupCount> rows{};
  std::vector<QWidget*> chain{roundSwitch_};
  for (std::size_t g = 0; g < kGroupCount; ++g) {
    const RadioGroupSpec& spec = kGroups[g];
    groups_[g] = new QButtonGroup(this);
    rows[g] = new QHBoxLayout;
    int index = 0;
    for (const char* caption : spec.captions) {
      QRadioButton* radio = MakeRadio(caption, spec.firstId + index, *groups_[g], index);
      rows[g]->addWidget(radio);
      chain.push_back(radio);
      ++index;
    }
    rows[g]->addStretch();
  }
  // The design seismic coefficient is held to the digits it has; its buttons only show them.
  for (QAbstractButton* kh : groups_[kDigitsKh]->buttons()) kh->setEnabled(false);

  auto* fs = new QVBoxLayout;
  fs->addWidget(Frame("小数点以下有効桁数", rows[kDigitsFs]));
  fs->addLayout(rows[kModeFs]);
  auto* stability = new QVBoxLayout;
  stability->addWidget(roundSwitch_);
  stability->addWidget(Frame("計算の丸め", rows[kModeGeneral]));
  stability->addWidget(Frame("安全率 Fs", fs));
  stability->addWidget(Frame("粘着力 c (kN/m2)の小数点以下有効桁数", rows[kDigitsC]));
  stability->addWidget(Frame("内部摩擦角 Φ (° )の小数点以下有効桁数", rows[kDigitsPhi]));
  stability->addWidget(Frame("設計水平震度 Khの小数点以下有効桁数", rows[kDigitsKh]));

  QPushButton* reset = MakeButton("初期値に戻す", kResetId);
  connect(reset, &QPushButton::clicked, this, &CRefUnitFilterDlg::OnReset);
  const OkCancelRow buttons = MakeOkCancelRow({reset});

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(Frame("多平面安定解析", stability));
  layout->addLayout(buttons.layout);

  chain.insert(chain.end(), {reset, buttons.ok, buttons.cancel});
  SetTabChain(chain);
}

void CRefUnitFilterDlg::Show() {
  roundSwitch_->setChecked(work_.IsEnableRoundValue() != 0);
  for (std::size_t g = 0; g < kGroupCount; ++g) {
    const int index = work_.*kGroups[g].setting - kGroups[g].firstValue;
    // A setting no button stands for leaves the group without a checked button.
    if (QAbstractButton* button = groups_[g]->button(index)) button->setChecked(true);
  }
  EnableModes();
}

void CRefUnitFilterDlg::Read() {
  work_.EnableRoundValue(roundSwitch_->isChecked() ? 1 : 0);
  for (std::size_t g = 0; g < kGroupCount; ++g) {
    const int index = groups_[g]->checkedId();
    work_.*kGroups[g].setting = (index < 0 ? 0 : index) + kGroups[g].firstValue;
  }
}

void CRefUnitFilterDlg::EnableModes() const {
  const bool enabled = roundSwitch_->isChecked();
  for (const Group g : {kModeGeneral, kModeFs}) {
    for (QAbstractButton* mode : groups_[g]->buttons()) mode->setEnabled(enabled);
  }
}

void CRefUnitFilterDlg::OnReset() {
  if (Ui().MessageBox("数値丸め設定を初期化してよろしいですか？", "数値丸めの設定",
                      MsgButtons::OkCancel, MsgIcon::Question) != MsgResult::Ok) {
    return;
  }
  // The settings the dialog does not show keep their values: only OK stores, and it stores them
  // as they were.
  CUnitFilter factory;
  factory.modeRestrainingForce = work_.modeRestrainingForce;
  factory.digits231 = work_.digits231;
  work_ = factory;
  Show();
}

void CRefUnitFilterDlg::OnOK() {
  Read();
  const CUnitFilter current = CCoreConfig::GetUnitFilter();
  const bool digitsChanged = DigitsDiffer(work_, current);
  const bool settingsChanged = !work_.IsSame(&current);
  if ((digitsChanged || settingsChanged) &&
      Ui().MessageBox("設定の変更により、すべての計算結果をクリアします。\nよろしいですか？",
                      GetAppTitle(), MsgButtons::YesNo, MsgIcon::Question) != MsgResult::Yes) {
    return;
  }
  CCoreConfig::SetUnitFilter(work_);
  StageDialog::OnOK();
}
