#include "stage/dialogs/CmdSlidElementDlg.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>
#include <optional>
#include <string>

#include "core/base/CoreConfig.h"
#include "core/base/UnitFilter.h"
#include "core/case/Case.h"
#include "core/case/ManageCore.h"
#include "platform/qt/ModalRunner.h"
#include "stage/controls/ExpEdit.h"
#include "stage/controls/ExpStatic.h"
#include "stage/controls/SheetCell.h"
#include "stage/controls/SheetGrid.h"
#include "stage/dialogs/CellNumber.h"
#include "stage/dialogs/RefInfomationDlg.h"
#include "stage/dialogs/RefReinfFsaDlg.h"
#include "stage/dialogs/RefReinfStdBarDlg.h"
#include "stage/dialogs/RefReinfTaucQXDlg.h"
#include "stage/dialogs/RefShearTaupDlg.h"

namespace {

using Bar = CReinfStdBar;

constexpr int kFsaCode = 163;
constexpr int kBarDecimals = 4;
constexpr int kNameCol = 1;
constexpr int kKeiCol = 2;

// The numbers of the bar row: grid column, the bar's member, header.
struct NumberColumn {
  int col;
  double Bar::*member;
  const char* header;
};
constexpr NumberColumn kNumberColumns[] = {
    {3, &Bar::w, "単位質量\nw(kg/m)"},
    {4, &Bar::d, "直径\nd(mm)"},
    {5, &Bar::as, "断面積\nAs(cm2)"},
    {6, &Bar::drillD, "削孔径\nD(mm)"},
    {7, &Bar::sigmaSaQ, "引張応力度\nσsa\n(N/mm2)"},
};
constexpr int kColumnCount = 7;

QLabel* Text(const char* text) { return new QLabel(QString::fromUtf8(text)); }

// Whether the slide deformation would compute otherwise: the values its calculation reads, with
// the apparent cohesion as it takes effect in the mode in force.
bool SlideInputDiffers(CPrmSlide now, CPrmSlide opened) {
  return !now.IsSameUseCale(opened) || now.GetDeltaC() != opened.GetDeltaC();
}

}  // namespace

bool CCmdSlidElementDlg::Run(CManageCore& core, CCase& target, QWidget* parent) {
  return RunDialog<CCmdSlidElementDlg>(core, target, parent);
}

CCmdSlidElementDlg::CCmdSlidElementDlg(CManageCore& core, CCase& target, QWidget* parent)
    : StageDialog(parent),
      core_(&core),
      case_(&target),
      tauP1_(MakeDecimalField(7214, 0, 999.999, 7, 3)),
      tauP2_(MakeDecimalField(7216, 0, 999.999, 7, 3)),
      fsa_(MakeDecimalField(7217, 0, 9.9999, 6, CCoreConfig::GetUnitFilter().Digit(kFsaCode))),
      tauc_(MakeDecimalField(7218, 0, 9.9, 4, 1)),
      bar_(new CSheetGrid) {
  setObjectName(QStringLiteral("CCmdSlidElementDlg"));
  setWindowTitle(QStringLiteral("対策工諸元"));
  openedReinf_.Copy(target.GetPrmReinf());
  openedArrange_.Copy(target.GetReinfArrange());
  openedSlide_.Copy(target.GetPrmSlide());
  BuildLayout();
  SetupBarGrid();
  Show();
}

void CCmdSlidElementDlg::BuildLayout() {
  // A field with its reference button in one row of the form.
  const auto addRow = [this](QGridLayout* form, int row, const char* caption, const char* symbol,
                             CExpEdit* field, const char* unit, int buttonId, auto pick) {
    form->addWidget(Text(caption), row, 0);
    form->addWidget(Text(symbol), row, 1);
    form->addWidget(field, row, 2);
    form->addWidget(Text(unit), row, 3);
    QPushButton* button = MakeButton("参考値", buttonId);
    form->addWidget(button, row, 4);
    connect(button, &QPushButton::clicked, this, pick);
  };
  auto* form = new QGridLayout;
  addRow(form, 0, "地盤とグラウトの周面摩擦抵抗（移動層）", "τp1 =", tauP1_, "(N/mm2)", 6398,
         [this] { PickTaup(&CPrmReinf::tauP1); });
  addRow(form, 1, "地盤とグラウトの周面摩擦抵抗（不動層）", "τp2 =", tauP2_, "(N/mm2)", 6399,
         [this] { PickTaup(&CPrmReinf::tauP2); });
  addRow(form, 2, "周面摩擦抵抗の安全率", "Fsa =", fsa_, "", 7206, [this] { PickFsa(); });
  addRow(form, 3, "ロックボルトと注入材の許容付着応力", "τc   =", tauc_, "(N/mm2)", 7220,
         [this] { PickTauc(); });
  form->setColumnStretch(2, 1);

  SetId(bar_, 6358);
  auto* note = new CExpStatic(QStringLiteral("※腐食代を考慮した値を入力してください"));
  SetId(note, 7362);
  note->m_clrText = Color::Rgb(255, 0, 0);
  note->update();
  QPushButton* barButton = MakeButton("参考値", 7203);
  connect(barButton, &QPushButton::clicked, this, &CCmdSlidElementDlg::PickBar);
  auto* standard = new QGroupBox(QStringLiteral("ロックボルトの規格"));
  auto* standardLayout = new QVBoxLayout(standard);
  auto* standardTop = new QHBoxLayout;
  standardTop->addWidget(note, 1);
  standardTop->addWidget(barButton);
  standardLayout->addLayout(standardTop);
  standardLayout->addWidget(bar_);

  QPushButton* import = MakeButton("補強土データ取込み", 7219);
  connect(import, &QPushButton::clicked, this, &CCmdSlidElementDlg::ImportCsv);
  QHBoxLayout* const buttons = MakeOkCancelRow({import}).layout;

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(form);
  layout->addWidget(standard, 1);
  layout->addLayout(buttons);
  // Enter moves from field to field before it reaches the reference buttons.
  setTabOrder(tauP1_, tauP2_);
  setTabOrder(tauP2_, fsa_);
  setTabOrder(fsa_, tauc_);
  setTabOrder(tauc_, bar_);
  resize(780, 400);
}

void CCmdSlidElementDlg::SetupBarGrid() {
  bar_->SetMaxCols(kColumnCount);
  bar_->SetMaxRows(1);
  bar_->SetHeaderBackColor(Color{0xFFFFDB});
  bar_->SetText(SheetBlock(kNameCol, CSheetGrid::kHeaderRow), QStringLiteral("材料名"));
  bar_->SetText(SheetBlock(kKeiCol, CSheetGrid::kHeaderRow), QStringLiteral("呼び径"));
  for (const NumberColumn& number : kNumberColumns) {
    bar_->SetText(SheetBlock(number.col, CSheetGrid::kHeaderRow), QString::fromUtf8(number.header));
    bar_->SetDecimalPlaces(SheetBlock(number.col, CSheetGrid::kAll), kBarDecimals);
  }
  bar_->SetColWidth(kNameCol, 120);
  for (int col = kKeiCol; col <= kColumnCount; ++col) bar_->SetColWidth(col, 92);
}

void CCmdSlidElementDlg::Show() {
  const CPrmReinf& prm = case_->GetPrmReinf();
  tauP1_->SetDouble(prm.tauP1);
  tauP2_->SetDouble(prm.tauP2);
  fsa_->SetDouble(prm.fsaQ);
  tauc_->SetDouble(prm.tauCQ);
  SpreadSetText(*bar_, kNameCol, 1, prm.stdBar.name);
  SpreadSetText(*bar_, kKeiCol, 1, prm.stdBar.kei);
  for (const NumberColumn& number : kNumberColumns) {
    SpreadSetDbl(*bar_, number.col, 1, kBarDecimals, "", prm.stdBar.*number.member);
  }
}

void CCmdSlidElementDlg::TakeOver() {
  CPrmReinf& prm = case_->GetPrmReinf();
  prm.tauP1 = tauP1_->GetDoubleKeeping(prm.tauP1);
  prm.tauP2 = tauP2_->GetDoubleKeeping(prm.tauP2);
  prm.fsaQ = fsa_->GetDoubleKeeping(prm.fsaQ);
  prm.tauCQ = tauc_->GetDoubleKeeping(prm.tauCQ);
  prm.stdBar.name = SpreadGetCellText(*bar_, kNameCol, 1);
  prm.stdBar.kei = SpreadGetCellText(*bar_, kKeiCol, 1);
  for (const NumberColumn& number : kNumberColumns) {
    double& value = prm.stdBar.*number.member;
    value = ReadCellNumber(*bar_, number.col, 1, kBarDecimals, value).value_or(kNoValue);
  }
}

void CCmdSlidElementDlg::PickTaup(double CPrmReinf::*layer) {
  const std::optional<double> taup = CRefShearTaupDlg::Choose(this);
  if (!taup) return;
  TakeOver();
  case_->GetPrmReinf().*layer = *taup;
  Show();
}

void CCmdSlidElementDlg::PickFsa() {
  const std::optional<CRefReinfFsaDlg::Factors> factors = CRefReinfFsaDlg::Choose(this);
  if (!factors) return;
  TakeOver();
  case_->GetPrmReinf().fsa = factors->normal;
  case_->GetPrmReinf().fsaQ = factors->seismic;
  Show();
}

void CCmdSlidElementDlg::PickTauc() {
  const std::optional<double> tauc = CRefReinfTaucQXDlg::Choose(this);
  if (!tauc) return;
  TakeOver();
  case_->GetPrmReinf().tauC = *tauc;
  case_->GetPrmReinf().tauCQ = *tauc;
  Show();
}

void CCmdSlidElementDlg::PickBar() {
  const std::optional<Bar> picked = CRefReinfStdBarDlg::PickBar(core_->GetRefData().reinf, this);
  if (!picked) return;
  TakeOver();
  // The case's bar keeps its own remark.
  Bar& bar = case_->GetPrmReinf().stdBar;
  const std::string remark = bar.remark;
  bar = *picked;
  bar.remark = remark;
  Show();
}

void CCmdSlidElementDlg::ImportCsv() {
  TakeOver();
  if (!case_->ImportRfcCsv()) return;
  Show();
  CRefInfomationDlg::Notify(this);
}

void CCmdSlidElementDlg::RecordChanges() {
  const CPrmReinf& prm = case_->GetPrmReinf();
  const CReinfArrange& arrange = case_->GetReinfArrange();
  const CPrmSlide& slide = case_->GetPrmSlide();
  if (prm.IsSame(openedReinf_) && arrange.IsSame(openedArrange_) && slide.IsSame(openedSlide_)) {
    return;
  }
  case_->MarkEdited();
  // The shear deformation and the rope-net check read the specifications; the slide
  // deformation reads its own conditions only; the rope-net check takes the first bolt.
  if (!prm.IsSameUseCale(openedReinf_)) case_->ClearResultsReading(CalcInput::kShearConditions);
  if (SlideInputDiffers(slide, openedSlide_)) {
    case_->ClearResultsReading(CalcInput::kSlideConditions);
  }
  if (!arrange.IsSameUseCale(openedArrange_)) case_->ClearResultsReading(CalcInput::kFirstBolt);
}

void CCmdSlidElementDlg::OnOK() {
  TakeOver();
  RecordChanges();
  StageDialog::OnOK();
}

void CCmdSlidElementDlg::OnCancel() {
  case_->GetPrmReinf().Copy(openedReinf_);
  case_->GetReinfArrange().Copy(openedArrange_);
  case_->GetPrmSlide().Copy(openedSlide_);
  StageDialog::OnCancel();
}
