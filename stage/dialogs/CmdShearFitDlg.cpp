#include "stage/dialogs/CmdShearFitDlg.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "core/case/Case.h"
#include "platform/UiRegistry.h"
#include "platform/qt/ModalRunner.h"
#include "stage/controls/ExpEdit.h"
#include "stage/controls/SheetCell.h"
#include "stage/controls/SheetGrid.h"
#include "stage/dialogs/RefShearFitDlg.h"
#include "stage/dialogs/ShearGraphFrame.h"

namespace {

constexpr int kStrainCol = 1;
constexpr int kMeasuredCol = 2;
constexpr int kFittedCol = 3;
constexpr int kStrainDecimals = 7;
constexpr int kRatioDecimals = 5;
constexpr Color kFieldBack{0xB8FFFF};
// The graph's inner rectangle lies inside the frame by these margins: left, top, right, bottom.
constexpr int kInnerLeft = 50;
constexpr int kInnerTop = 10;
constexpr int kInnerRight = 15;
constexpr int kInnerBottom = 35;

bool SamePoints(const CFit& a, const CFit& b) {
  for (std::size_t i = 0; i < a.points.size(); ++i) {
    if (!a.points.at(i).IsSame(b.points.at(i))) return false;
  }
  return true;
}

}  // namespace

bool CCmdShearFitDlg::Run(CCase& target, QWidget* parent) {
  return RunDialog<CCmdShearFitDlg>(target, parent);
}

CCmdShearFitDlg::CCmdShearFitDlg(CCase& target, QWidget* parent)
    : StageDialog(parent),
      case_(target),
      fit_(target.GetPrmShear().fit),
      b_(MakeDecimalField(7346, 0, 9999.99999, 11, 5)),
      c_(MakeDecimalField(7347, 0, 99.99999, 9, 5)),
      count_(MakeDecimalField(7349, 0, 30, 2, 0)),
      countLabel_(new QLabel(QStringLiteral("データ数"))),
      coefficients_(new QRadioButton(QStringLiteral("係数入力"))),
      tests_(new QRadioButton(QStringLiteral("試験値入力"))),
      grid_(new CSheetGrid),
      reference_(MakeButton("参考値", 7348)),
      graph_(new CShearGraphFrame(target, [this](CViewInfo& view, const DevRect& frame) {
        const DevRect inner{frame.left + kInnerLeft, frame.top + kInnerTop,
                            frame.right - kInnerRight, frame.bottom - kInnerBottom};
        fit_.DrawGraph(&view, frame, inner);
      })) {
  saved_.Copy(fit_);
  setWindowTitle(QStringLiteral("土のせん断剛性率のひずみ依存性の設定"));
  count_->m_nType = CExpEdit::kInteger;
  count_->m_dNull = kNoValueInt;
  count_->SetReadOnly(true);
  for (CExpEdit* box : {b_, c_, count_}) {
    box->SetBackColor(kFieldBack);
    box->SetReadOnlyColor(kFieldBack);
  }
  BuildLayout();
  SetupGrid();
  Refresh();
  RedrawSection();

  connect(coefficients_, &QRadioButton::clicked, this, &CCmdShearFitDlg::OnModeChanged);
  connect(tests_, &QRadioButton::clicked, this, &CCmdShearFitDlg::OnModeChanged);
  connect(reference_, &QPushButton::clicked, this, &CCmdShearFitDlg::PickReference);
}

void CCmdShearFitDlg::BuildLayout() {
  SetId(coefficients_, 7344);
  SetId(tests_, 7345);
  SetId(countLabel_, 7365);
  SetId(grid_, 6350);
  SetId(graph_, 6351);
  graph_->setMinimumSize(440, 500);
  auto* calculate = MakeButton("計算・作図", 5256);
  connect(calculate, &QPushButton::clicked, this, &CCmdShearFitDlg::Calculate);

  auto* mode = new QGroupBox(QStringLiteral("入力方法"));
  auto* modeLayout = new QHBoxLayout(mode);
  modeLayout->addWidget(coefficients_);
  modeLayout->addWidget(tests_);
  auto* form = new QGridLayout;
  form->addWidget(new QLabel(QStringLiteral("係数 b =")), 0, 0);
  form->addWidget(b_, 0, 1);
  form->addWidget(reference_, 0, 2, 2, 1);
  form->addWidget(new QLabel(QStringLiteral("係数 c =")), 1, 0);
  form->addWidget(c_, 1, 1);
  form->addWidget(countLabel_, 2, 0);
  form->addWidget(count_, 2, 1);
  auto* left = new QVBoxLayout;
  left->addWidget(mode);
  left->addLayout(form);
  left->addWidget(grid_, 1);
  left->addWidget(calculate);
  auto* top = new QHBoxLayout;
  top->addLayout(left);
  top->addWidget(graph_, 1);
  QHBoxLayout* const buttons = MakeOkCancelRow().layout;
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top, 1);
  layout->addLayout(buttons);
}

void CCmdShearFitDlg::SetupGrid() {
  grid_->SetHeaderBackColor(Color{0xFFFFDB});
  grid_->SetMaxCols(3);
  grid_->SetMaxRows(CFit::kPointCount);
  grid_->SetText(SheetBlock(kStrainCol, CSheetGrid::kHeaderRow), QStringLiteral("ひずみ γ"));
  grid_->SetText(SheetBlock(kMeasuredCol, CSheetGrid::kHeaderRow), QStringLiteral("G/G0\n試験値"));
  grid_->SetText(SheetBlock(kFittedCol, CSheetGrid::kHeaderRow), QStringLiteral("G/G0\n計算値"));
  grid_->SetDecimalPlaces(SheetBlock(kStrainCol, CSheetGrid::kAll), kStrainDecimals);
  grid_->SetDecimalPlaces(SheetBlock(kMeasuredCol, CSheetGrid::kAll, kFittedCol, CSheetGrid::kAll),
                          kRatioDecimals);
  grid_->SetBackColor(SheetBlock(kStrainCol, CSheetGrid::kAll, kFittedCol, CSheetGrid::kAll),
                      kFieldBack);
  grid_->SetColWidth(kStrainCol, 92);
  grid_->SetColWidth(kMeasuredCol, 76);
  grid_->SetColWidth(kFittedCol, 76);
  const int rowNumbers = grid_->fontMetrics().horizontalAdvance(QStringLiteral("000")) + 12;
  grid_->setMinimumWidth(grid_->horizontalHeader()->length() + rowNumbers + 24 +
                         2 * grid_->frameWidth());
}

int CCmdShearFitDlg::ChosenMode() const {
  return tests_->isChecked() ? CFit::kModeTestValues : CFit::kModeCoefficients;
}

void CCmdShearFitDlg::Refresh() {
  const bool tests = fit_.mode == CFit::kModeTestValues;
  (tests ? tests_ : coefficients_)->setChecked(true);
  b_->SetDouble(fit_.b);
  c_->SetDouble(fit_.c);
  count_->SetInt(tests ? fit_.GetCount() : kNoValueInt);
  grid_->SetReDraw(false);
  for (int row = 1; row <= CFit::kPointCount; ++row) {
    const CFitData& point = fit_.points.at(static_cast<std::size_t>(row - 1));
    SpreadSetDbl(*grid_, kStrainCol, row, kStrainDecimals, "", point.strain);
    SpreadSetDbl(*grid_, kMeasuredCol, row, kRatioDecimals, "", point.measured);
    SpreadSetDbl(*grid_, kFittedCol, row, kRatioDecimals, "", point.fitted);
  }
  grid_->SetReDraw(true);
  EnableByMode(fit_.mode);
  graph_->update();
}

void CCmdShearFitDlg::EnableByMode(int mode) {
  const bool tests = mode == CFit::kModeTestValues;
  b_->SetReadOnly(tests);
  c_->SetReadOnly(tests);
  count_->setEnabled(tests);
  countLabel_->setEnabled(tests);
  reference_->setEnabled(!tests);
  grid_->SetLock(SheetBlock(kStrainCol, CSheetGrid::kAll, kMeasuredCol, CSheetGrid::kAll), !tests);
  grid_->SetLock(SheetBlock(kFittedCol, CSheetGrid::kAll), true);
}

void CCmdShearFitDlg::TakeInput() {
  fit_.mode = ChosenMode();
  if (fit_.mode == CFit::kModeCoefficients) {
    fit_.b = b_->GetDoubleKeeping(fit_.b);
    fit_.c = c_->GetDoubleKeeping(fit_.c);
    return;
  }
  for (int row = 1; row <= CFit::kPointCount; ++row) {
    CFitData& point = fit_.points.at(static_cast<std::size_t>(row - 1));
    point.strain = SpreadGetDbl(*grid_, kStrainCol, row);
    point.measured = SpreadGetDbl(*grid_, kMeasuredCol, row);
  }
}

void CCmdShearFitDlg::Calculate() {
  TakeInput();
  fit_.CalcFit();
  Refresh();
}

void CCmdShearFitDlg::OnModeChanged() {
  TakeInput();
  EnableByMode(fit_.mode);
  Refresh();
}

void CCmdShearFitDlg::PickReference() {
  CRefShearFitDlg picker(this);
  if (RunModal(picker) != Accepted) return;
  b_->SetDouble(picker.B());
  c_->SetDouble(picker.C());
}

bool CCmdShearFitDlg::StoredChanged() const {
  return fit_.mode != saved_.mode || fit_.b != saved_.b || fit_.c != saved_.c ||
         fit_.GetCount() != saved_.GetCount() || !SamePoints(fit_, saved_);
}

void CCmdShearFitDlg::OnOK() {
  TakeInput();
  if (StoredChanged()) {
    case_.MarkEdited();
  }
  // The shear calculation reads b and c only; its results and the rope-net check built on them
  // no longer hold once either changed.
  if (fit_.b != saved_.b || fit_.c != saved_.c) {
    case_.ClearResultsReading(CalcInput::kShearConditions);
  }
  StageDialog::OnOK();
}

void CCmdShearFitDlg::OnCancel() {
  fit_.Copy(saved_);
  StageDialog::OnCancel();
}
