#include "stage/dialogs/CmdStabPatternDlg.h"

#include <QCheckBox>
#include <QFontMetrics>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>
#include <optional>

#include "core/base/AppIdentity.h"
#include "core/base/CoreConfig.h"
#include "core/base/UnitFilter.h"
#include "core/base/Utility.h"
#include "core/case/Case.h"
#include "platform/UiRegistry.h"
#include "stage/controls/ExpEdit.h"
#include "stage/dialogs/RefStabFsDlg.h"
#include "stage/dialogs/RefStabKhDlg.h"
#include "stage/dialogs/RefStabPatternDlg.h"

namespace {

// The size the dialog opens with, in dialog units.
constexpr int kWidthDlu = 230;
constexpr int kHeightDlu = 150;

constexpr int kPlannedFsCode = 164;
constexpr int kSeismicCoefficientCode = 211;

constexpr const char* kNoModel = "計算モデルが選択されていません。\n計算モデルを入力してください。";
constexpr const char* kClearResults =
    "設定の変更により、すべての計算結果をクリアします。\nよろしいですか？";

QCheckBox* Switch(const char* text, int id) {
  auto* box = new QCheckBox(QString::fromUtf8(text));
  SetId(box, id);
  return box;
}

void EnableAll(const QList<QLabel*>& labels, bool enabled) {
  for (QLabel* label : labels) label->setEnabled(enabled);
}

}  // namespace

CCmdStabPatternDlg* CCmdStabPatternDlg::Open(CCase& target, QWidget* parent) {
  auto* const dialog = new CCmdStabPatternDlg(parent);
  dialog->BindCase(target);
  return dialog;
}

CCmdStabPatternDlg::CCmdStabPatternDlg(QWidget* parent) : StageDialog(parent) {
  setObjectName(QStringLiteral("CCmdStabPatternDlg"));
  setWindowTitle(QStringLiteral("安定計算条件"));
  const CUnitFilter filter = CCoreConfig::GetUnitFilter();

  // Created in the order of the focus chain.
  normal_ = Switch("常時", 5364);
  quake_ = Switch("地震時", 5204);
  fsp_ = MakeDecimalField(5208, 0.0, 9.999, 6, filter.Digit(kPlannedFsCode));
  fspReference_ = MakeButton("参考値", 5423);
  kh_ = MakeDecimalField(5210, 0.0, 9.999, 6, filter.Digit(kSeismicCoefficientCode));
  khReference_ = MakeButton("参考値", 5422);
  bottom_ = MakeDecimalField(5211, -9999.999, 9999.999, 9, 3);
  bottomFromCase_ = MakeButton("下端代入", 5425);
  water_ = Switch("間隙水圧を考慮する", 5424);
  gammaW_ = MakeDecimalField(5474, 0.0, 999.999, 8, 3);
  QPushButton* const detail = MakeButton("計算条件の詳細設定", 5215);

  fspLabels_ = {MakeLabel("計画安全率 (常時)", 5469), MakeLabel("Fsp =", 5470)};
  quakeLabels_ = {MakeLabel("設計水平震度", 5426), MakeLabel("kh  =", 5427),
                  MakeLabel("地形効果震度法", 5429), MakeLabel("下端標高 =", 5430),
                  MakeLabel("(m)", 5431)};
  waterLabels_ = {MakeLabel("水の単位体積重量　　　　γw  =", 5472), MakeLabel("(kN/m3)", 5473)};

  auto* models = new QGroupBox(QStringLiteral("解析モデル"));
  auto* modelRow = new QHBoxLayout(models);
  modelRow->addWidget(normal_);
  modelRow->addWidget(quake_);
  modelRow->addStretch();

  auto* conditions = new QGroupBox(QStringLiteral("計算条件"));
  auto* form = new QGridLayout(conditions);
  form->addWidget(fspLabels_[0], 0, 0);
  form->addWidget(fspLabels_[1], 0, 1);
  form->addWidget(fsp_, 0, 2);
  form->addWidget(fspReference_, 0, 4);
  form->addWidget(quakeLabels_[0], 1, 0);
  form->addWidget(quakeLabels_[1], 1, 1);
  form->addWidget(kh_, 1, 2);
  form->addWidget(khReference_, 1, 4);
  form->addWidget(quakeLabels_[2], 2, 0);
  form->addWidget(quakeLabels_[3], 2, 1);
  form->addWidget(bottom_, 2, 2);
  form->addWidget(quakeLabels_[4], 2, 3);
  form->addWidget(bottomFromCase_, 2, 4);
  form->addWidget(water_, 3, 0, 1, 5);
  form->addWidget(waterLabels_[0], 4, 0, 1, 2);
  form->addWidget(gammaW_, 4, 2);
  form->addWidget(waterLabels_[1], 4, 3);
  form->setColumnStretch(2, 1);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(models);
  layout->addWidget(conditions);
  layout->addStretch();
  layout->addLayout(MakeOkCancelRow({detail}).layout);

  const QFontMetrics metrics(font());
  resize(kWidthDlu * metrics.averageCharWidth() / 4, kHeightDlu * metrics.height() / 8);

  for (QCheckBox* box : {normal_, quake_, water_}) {
    connect(box, &QCheckBox::clicked, this, &CCmdStabPatternDlg::OnSwitchClicked);
  }
  connect(fspReference_, &QPushButton::clicked, this, &CCmdStabPatternDlg::OnFsReference);
  connect(khReference_, &QPushButton::clicked, this, &CCmdStabPatternDlg::OnKhReference);
  connect(bottomFromCase_, &QPushButton::clicked, this, &CCmdStabPatternDlg::OnBottomLevel);
  connect(detail, &QPushButton::clicked, this, &CCmdStabPatternDlg::OnDetail);
}

void CCmdStabPatternDlg::BindCase(CCase& target) {
  case_ = &target;
  opened_.Copy(target.GetPrmStab());
  LoadControls();
  RedrawSection();
}

void CCmdStabPatternDlg::LoadControls() {
  const CPrmStab& stab = case_->GetPrmStab();
  normal_->setChecked(stab.normalOn != 0);
  quake_->setChecked(stab.quakeOn != 0);
  water_->setChecked(stab.waterOn != 0);
  fsp_->SetDouble(stab.planFsNormal);
  kh_->SetDouble(stab.kh);
  bottom_->SetDouble(stab.bottomElevation);
  gammaW_->SetDouble(stab.gammaW);
  EnableControls();
}

void CCmdStabPatternDlg::StoreControls(CPrmStab& stab) const {
  stab.normalOn = normal_->isChecked() ? 1 : 0;
  stab.quakeOn = quake_->isChecked() ? 1 : 0;
  stab.waterOn = water_->isChecked() ? 1 : 0;
  stab.planFsNormal = fsp_->GetDoubleKeeping(stab.planFsNormal);
  stab.kh = kh_->GetDoubleKeeping(stab.kh);
  stab.bottomElevation = bottom_->GetDoubleKeeping(stab.bottomElevation);
  stab.gammaW = gammaW_->GetDoubleKeeping(stab.gammaW);
}

void CCmdStabPatternDlg::EnableControls() {
  const bool normal = normal_->isChecked();
  fsp_->setEnabled(normal);
  fspReference_->setEnabled(normal);
  EnableAll(fspLabels_, normal);

  const bool quake = quake_->isChecked();
  kh_->setEnabled(quake);
  bottom_->setEnabled(quake);
  khReference_->setEnabled(quake);
  bottomFromCase_->setEnabled(quake);
  EnableAll(quakeLabels_, quake);

  const bool water = water_->isChecked();
  gammaW_->setEnabled(water);
  EnableAll(waterLabels_, water);
}

void CCmdStabPatternDlg::OnSwitchClicked() {
  if (case_ == nullptr) return;
  EnableControls();
  StoreControls(case_->GetPrmStab());
  case_->SetDanmenForSlideMode(1);
  RedrawSection();
}

void CCmdStabPatternDlg::OnFsReference() {
  if (const std::optional<double> fs = CRefStabFsDlg::Choose(this)) fsp_->SetDouble(*fs);
}

void CCmdStabPatternDlg::OnKhReference() {
  if (case_ == nullptr) return;
  if (CRefStabKhDlg::Calculate(case_->GetPrmStab(), this)) kh_->SetDouble(case_->GetPrmStab().kh);
}

void CCmdStabPatternDlg::OnBottomLevel() {
  if (case_ == nullptr) return;
  bottom_->SetDouble(case_->GetBottomYPoint(false));
}

void CCmdStabPatternDlg::OnDetail() { CRefStabPatternDlg::Show(this); }

void CCmdStabPatternDlg::OnOK() {
  if (case_ == nullptr) return;
  if (!normal_->isChecked() && !quake_->isChecked()) {
    Ui().MessageBox(kNoModel, GetAppTitle(), MsgButtons::Ok, MsgIcon::Warning);
    return;
  }
  StoreControls(case_->GetPrmStab());
  // Every stored condition is read by the calculations, so any change makes the results stale.
  if (!case_->GetPrmStab().IsSame(opened_)) {
    if (!ConfirmResultsCleared()) return;
    case_->MarkEdited();
    case_->ClearResultsReading(CalcInput::kStabilityConditions);
  }
  Close(true);
}

bool CCmdStabPatternDlg::HasUnappliedChanges() {
  if (case_ == nullptr) return false;
  CPrmStab shown;
  shown.Copy(case_->GetPrmStab());
  StoreControls(shown);
  return !shown.IsSame(opened_);
}

void CCmdStabPatternDlg::OnCancel() {
  if (case_ == nullptr) return;
  case_->GetPrmStab().Copy(opened_);
  Close(false);
}

bool CCmdStabPatternDlg::ConfirmResultsCleared() const {
  const bool hasResults =
      case_->IsResStab() || case_->IsResStabGyaku() || case_->IsResSlide() || case_->IsResShear();
  return !hasResults || Ui().MessageBox(kClearResults, GetAppTitle(), MsgButtons::YesNo,
                                        MsgIcon::Question) == MsgResult::Yes;
}

void CCmdStabPatternDlg::Close(bool ok) {
  Ui().SendToFrame(FrameMsg::WM_CMD_STAB_PATTERN_CLOSE, ok ? 1 : 0, 0);
}
