#include "stage/dialogs/RefCondDlg.h"

#include <QFont>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>
#include <string>
#include <vector>

#include "core/base/AppIdentity.h"
#include "core/case/Case.h"
#include "core/case/ManageCore.h"
#include "core/model/SystemConfig.h"
#include "platform/UiRegistry.h"
#include "stage/controls/ExpEdit.h"
#include "stage/controls/ExpStatic.h"

namespace {

// A field of the dialog, in the order of the values: its id, label, range, typed length and
// decimals, and which results read the value.
struct FieldSpec {
  int id;
  const char* label;
  double min;
  double max;
  int maxBytes;
  int decimals;
  bool readBySlide;  // else by the shear deformation and the rope-net check
};

constexpr std::size_t kFirstRelationField = 6;  // 係数A and 係数B follow the conditions
constexpr std::size_t kKyokuHizumi = 1;         // the local-failure strain divides

constexpr FieldSpec kFields[] = {
    {3091, "亀裂発生時のひずみ", 0, 99.999, 6, 3, false},
    {3092, "局所破壊時のひずみ", 0, 99.999, 6, 3, false},
    {3093, "基準ひずみ γref", 0, 99.999, 6, 3, false},
    {3094, "最大ロープネット張力 TRN-max", 0, 99.999, 6, 3, false},
    {3095, "許容すべりひずみ", 0, 99.999, 6, 3, true},
    {3096, "許容せん断ひずみ", 0, 99.999, 6, 3, false},
    {3098, "係数A", -9.999, 9.999, 6, 3, true},
    {3099, "係数B", -9.9, 9.9, 4, 1, true},
};
static_assert(std::size(kFields) == std::tuple_size_v<CRefCond::Values>);

constexpr int kFormulaId = 3097;
constexpr int kResetId = 3127;

void Refuse(const std::string& text) {
  Ui().MessageBox(text, GetAppTitle(), MsgButtons::Ok, MsgIcon::Warning);
}

}  // namespace

bool CRefCondDlg::Run(CManageCore& core, QWidget* parent) {
  return RunDialog<CRefCondDlg>(core, parent);
}

CRefCondDlg::CRefCondDlg(CManageCore& core, QWidget* parent)
    : StageDialog(parent), core_(core), opening_(CRefCond::GetValues()) {
  setObjectName(QStringLiteral("CRefCondDlg"));
  setWindowTitle(QStringLiteral("基準値の設定"));
  BuildLayout();
  ShowValues(opening_);
}

void CRefCondDlg::BuildLayout() {
  auto* conditions = new QGridLayout;
  auto* relation = new QGridLayout;
  auto* formula = new CExpStatic(QStringLiteral("関係式 ： γ{_s}＝A･Fsr{^B}"));
  SetId(formula, kFormulaId);
  formula->m_lf = font();
  formula->m_bFontChanged = true;
  formula->m_bMarkup = true;
  relation->addWidget(formula, 0, 0, 1, 2);
  for (std::size_t i = 0; i < fields_.size(); ++i) {
    const FieldSpec& spec = kFields[i];
    fields_[i] = MakeDecimalField(spec.id, spec.min, spec.max, spec.maxBytes, spec.decimals);
    const bool inRelation = i >= kFirstRelationField;
    QGridLayout& grid = inRelation ? *relation : *conditions;
    const int row = static_cast<int>(inRelation ? i - kFirstRelationField + 1 : i);
    grid.addWidget(MakeLabel(spec.label), row, 0);
    grid.addWidget(fields_[i], row, 1);
  }
  // The fields keep their width; what the dialog gains goes beside them.
  for (QGridLayout* grid : {conditions, relation}) grid->setColumnStretch(2, 1);
  auto* conditionsBox = new QGroupBox(QStringLiteral("計算条件"));
  conditionsBox->setLayout(conditions);
  auto* relationBox = new QGroupBox(QStringLiteral("すべりひずみγsと相対安全率Fsrの関係式"));
  relationBox->setLayout(relation);

  QPushButton* reset = MakeButton("初期値に戻す", kResetId);
  connect(reset, &QPushButton::clicked, this, &CRefCondDlg::OnReset);
  const OkCancelRow buttons = MakeOkCancelRow({reset}, {.ok = "適用"});

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(conditionsBox);
  layout->addWidget(relationBox);
  layout->addLayout(buttons.layout);

  std::vector<QWidget*> chain(fields_.begin(), fields_.end());
  chain.insert(chain.end(), {buttons.ok, buttons.cancel, reset});
  SetTabChain(chain);
}

void CRefCondDlg::ShowValues(const CRefCond::Values& values) const {
  for (std::size_t i = 0; i < fields_.size(); ++i) fields_[i]->SetDouble(values[i]);
}

void CRefCondDlg::OnReset() {
  if (Ui().MessageBox("基準値を初期化してよろしいですか？", "基準値の設定", MsgButtons::OkCancel,
                      MsgIcon::Question) == MsgResult::Ok) {
    ShowValues(CRefCond::DefaultValues());
  }
}

std::optional<CRefCond::Values> CRefCondDlg::ReadValues() const {
  CRefCond::Values values{};
  for (std::size_t i = 0; i < fields_.size(); ++i) {
    const std::string label = kFields[i].label;
    // Every value enters a calculation: an empty one would reach it as the unset marker.
    if (fields_[i]->text().isEmpty()) {
      Refuse("[" + label + "]を入力して下さい。");
      fields_[i]->setFocus();
      return std::nullopt;
    }
    values[i] = fields_[i]->GetDoubleKeeping(opening_[i]);
    if (i == kKyokuHizumi && values[i] == 0) {
      Refuse("[" + label + "]に0は入力できません。");
      fields_[i]->setFocus();
      return std::nullopt;
    }
  }
  return values;
}

std::optional<CRefCondDlg::Clearing> CRefCondDlg::AskClearing(
    const CRefCond::Values& edited) const {
  const CRefCond::Values current = CRefCond::GetValues();
  Clearing changed;
  for (std::size_t i = 0; i < edited.size(); ++i) {
    if (edited[i] == current[i]) continue;
    (kFields[i].readBySlide ? changed.slide : changed.shear) = true;
  }
  Clearing existing;
  const CCaseArray& cases = core_.GetCaseArray();
  for (int i = 0; i < cases.GetSize(); ++i) {
    const CCase& c = *cases.GetCase(i);
    existing.slide = existing.slide || (changed.slide && c.GetResSlide().IsResult());
    existing.shear = existing.shear ||
                     (changed.shear && (c.GetResShear().IsResult() || c.GetResFocus().IsResult()));
  }
  if (!existing.slide && !existing.shear) return existing;
  if (Ui().MessageBox("設定の変更により、すべての計算結果をクリアします。\nよろしいですか？",
                      GetAppTitle(), MsgButtons::YesNo, MsgIcon::Question) != MsgResult::Yes) {
    return std::nullopt;
  }
  return existing;
}

void CRefCondDlg::ClearResults(const Clearing& clearing) const {
  if (!clearing.slide && !clearing.shear) return;
  const CCaseArray& cases = core_.GetCaseArray();
  for (int i = 0; i < cases.GetSize(); ++i) {
    CCase& each = *cases.GetCase(i);
    if (clearing.slide) each.ClearResultsReading(CalcInput::kSlideConditions);
    if (clearing.shear) each.ClearResultsReading(CalcInput::kShearConditions);
  }
  core_.SetModify(true);
}

bool CRefCondDlg::Store(const CRefCond::Values& edited) const {
  // Without a remembered file (the one named at start-up was refused) the default file takes
  // the values, and becomes the remembered one.
  std::string path = SystemConfig::GetLastCond();
  if (path.empty()) path = SystemConfig::GetDefaultCond();
  const CRefCond::Values current = CRefCond::GetValues();
  CRefCond::SetValues(edited);
  if (CRefCond::WriteCond(path, true)) return true;
  CRefCond::SetValues(current);
  Refuse("ファイルを書き込めません: " + path);
  return false;
}

void CRefCondDlg::OnOK() {
  const std::optional<CRefCond::Values> edited = ReadValues();
  if (!edited) return;
  const std::optional<Clearing> clearing = AskClearing(*edited);
  if (!clearing || !Store(*edited)) return;
  ClearResults(*clearing);
  StageDialog::OnOK();
}
