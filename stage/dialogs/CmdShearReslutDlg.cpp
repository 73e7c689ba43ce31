#include "stage/dialogs/CmdShearReslutDlg.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>
#include <memory>
#include <optional>

#include "core/base/AppIdentity.h"
#include "core/base/CoreConfig.h"
#include "core/base/UnitFilter.h"
#include "core/case/Case.h"
#include "core/case/ManageCore.h"
#include "core/deformation/ResShear.h"
#include "core/model/PrmShear.h"
#include "core/model/PrmStab.h"
#include "core/stability/BlockList.h"
#include "core/stability/MltPoint.h"
#include "platform/UiRegistry.h"
#include "platform/qt/ModalRunner.h"
#include "stage/MarchRunner.h"
#include "stage/controls/ExpEdit.h"
#include "stage/controls/SheetCell.h"
#include "stage/controls/SheetGrid.h"
#include "stage/dialogs/JudgementCell.h"
#include "stage/dialogs/RefShearGoDlg.h"
#include "stage/dialogs/RefSlideHDlg.h"
#include "stage/dialogs/ShearGraphFrame.h"
#include "stage/output/WordRequest.h"

namespace {

constexpr int kSeismicCoefficientCode = 211;
constexpr int kDecimals = 4;
constexpr int kStrainMantissaDecimals = 1;
constexpr int kDesignKhRef = 3;  // the graph settings' reference value of the design kh
constexpr int kXRow = 1;
constexpr int kYRow = 2;
constexpr int kMinCol = 1;
constexpr int kMaxCol = 2;
constexpr int kPitchCol = 3;
constexpr double kTiny = 1e-13;
constexpr double kSmallestPitch = 1e-9;
// The plot lies inside the graph frame by these margins: left, top, right, bottom.
constexpr int kPlotLeft = 45;
constexpr int kPlotTop = 15;
constexpr int kPlotRight = 95;
constexpr int kPlotBottom = 35;

constexpr Color kHeaderBack{0xFFFFDB};
constexpr Color kLockedBack{0xB8FFFF};

constexpr const char* kNoQuakeRow = "多平面安定解析にて、地震時の結果が登録されていません。";
constexpr const char* kInvertedAxis = "最小値は最大値より小さい値を入力して下さい。";
constexpr const char* kTooManyLines =
    "ピッチが小さすぎます。\n\n（目盛線が100本以内となるピッチを入力して下さい。）";

// floor((value · 10 / step + 5) / 10) · step: the nearest multiple of the step, halves upwards;
// 0 and the unset value unchanged, a step of 0 or less counts as 1.
double RoundStep(double value, double step) {
  if (value == 0.0 || value == kNoValue) return value;
  if (step <= 0.0) step = 1.0;
  return std::floor((value * 10.0 / step + 5.0) / 10.0) * step;
}

double CeilTo(double value, double pitch) {
  if (value == 0.0 || value == kNoValue) return value;
  if (pitch <= 0.0) pitch = 1.0;
  return std::ceil(value / pitch) * pitch;
}

double XUnit(double range) {
  if (range < 1) return 0.1;
  if (range < 5) return 0.2;
  if (range < 10) return 1;
  if (range < 50) return 5;
  if (range < 100) return 10;
  if (range < 500) return 50;
  return 100;
}

double YUnit(double range) {
  if (range < 0.5) return 0.01;
  if (range < 5) return 0.1;
  if (range < 50) return 1;
  if (range < 500) return 10;
  return 100;
}

// A maximum without a width gets one: the axis would have no scale.
double Widened(double max) { return max == kNoValue || std::abs(max) < kTiny ? 1.0 : max; }

void Inform(const char* text) {
  Ui().MessageBox(text, GetAppTitle(), MsgButtons::Ok, MsgIcon::None);
}

void ShowJudge(CSheetGrid& grid, int row, ShearJudge judge) {
  const Judgement judgement = judge == ShearJudge::kOk    ? Judgement::kOk
                              : judge == ShearJudge::kOut ? Judgement::kOut
                                                          : Judgement::kNone;
  ShowJudgement(grid, 4, row, judgement);
}

void FitHeight(CSheetGrid& grid, int rows) {
  grid.setFixedHeight(grid.horizontalHeader()->sizeHint().height() +
                      rows * grid.verticalHeader()->defaultSectionSize() + 2 * grid.frameWidth() +
                      4);
}

QLabel* Text(const char* text) { return new QLabel(QString::fromUtf8(text)); }

}  // namespace

bool CCmdShearReslutDlg::Run(CManageCore& core, QWidget* parent) {
  return RunDialog<CCmdShearReslutDlg>(core, parent);
}

CCmdShearReslutDlg::CCmdShearReslutDlg(CManageCore& core, QWidget* parent)
    : StageDialog(parent),
      case_(*core.GetActiveCase()),
      prm_(case_.GetPrmShear()),
      result_(case_.GetResShear()),
      erb_(MakeDecimalField(7351, 0, 9.99, 5, 2)),
      // The calculation divides by G0, L, B and h and takes the tangent of θ.
      g0_(MakeDecimalField(7352, 1, 999999, 7, 0)),
      spacing_(MakeDecimalField(7228, 0.001, 99.999, 7, 3)),
      depth_(MakeDecimalField(7354, 0.001, 99.999, 7, 3)),
      h_(MakeDecimalField(7355, 0.001, 99.999, 7, 3)),
      theta_(MakeDecimalField(7227, -89.999, 89.999, 7, 3)),
      kh_(MakeDecimalField(7357, 0, 9.999, 6,
                           CCoreConfig::GetUnitFilter().Digit(kSeismicCoefficientCode))),
      summary_(new CSheetGrid),
      results_(new CSheetGrid),
      axes_(new CSheetGrid),
      graph_(new CShearGraphFrame(case_,
                                  [this](CViewInfo& view, const DevRect& frame) {
                                    const DevRect plot{frame.left + kPlotLeft, frame.top + kPlotTop,
                                                       frame.right - kPlotRight,
                                                       frame.bottom - kPlotBottom};
                                    result_.DrawGraph(&view, frame, plot);
                                  })),
      thickness_(MakeButton("厚さ計算から代入", 6348)) {
  graphAtOpening_.Copy(result_.graph);
  setWindowTitle(QStringLiteral("せん断変形計算・出力"));
  kh_->SetReadOnlyColor(kLockedBack);
  kh_->SetReadOnly(true);
  BuildLayout();
  SetupGrids();
  Show();
  connect(axes_, &CSheetGrid::Change, this, [this](int /*col*/, int /*row*/) {
    ReadAxes();
    graph_->update();
  });
}

void CCmdShearReslutDlg::BuildLayout() {
  SetId(summary_, 6350);
  SetId(results_, 6351);
  SetId(axes_, 7358);
  SetId(graph_, 6352);
  graph_->setMinimumSize(520, 300);
  auto* calculate = MakeButton("計算開始", 5256);
  auto* autoRange = MakeButton("自動設定", 5440);
  auto* inclination = MakeButton("自動計算代入", 6349);
  auto* reference = MakeButton("参考値", 6353);
  auto* word = MakeButton("Word出力", 7349);
  connect(word, &QPushButton::clicked, this,
          [this] { RequestWordReport(case_.GetResShear().IsResult(), 3, 0); });
  connect(calculate, &QPushButton::clicked, this, &CCmdShearReslutDlg::Calculate);
  connect(autoRange, &QPushButton::clicked, this, &CCmdShearReslutDlg::AutoRange);
  connect(inclination, &QPushButton::clicked, this, &CCmdShearReslutDlg::TakeInclination);
  connect(reference, &QPushButton::clicked, this, &CCmdShearReslutDlg::PickG0);
  connect(thickness_, &QPushButton::clicked, this, &CCmdShearReslutDlg::PickThickness);

  struct Row {
    const char* label;
    CExpEdit* field;
    const char* unit;
    QPushButton* button;
  };
  const Row rows[] = {
      {"ERB  =", erb_, "E+08 (kN/m2)", nullptr},
      {"G0  =", g0_, "(kN/m2)", reference},
      {"L  =", spacing_, "(m)", nullptr},
      {"B  =", depth_, "(m)", nullptr},
      {"h  =", h_, "(m)", thickness_},
      {"θ  =", theta_, "(°)", inclination},
      {"kh  =", kh_, "", nullptr},
  };
  auto* conditions = new QGroupBox(QStringLiteral("計算条件"));
  auto* form = new QGridLayout(conditions);
  int at = 0;
  for (const Row& row : rows) {
    form->addWidget(Text(row.label), at, 0);
    form->addWidget(row.field, at, 1);
    form->addWidget(Text(row.unit), at, 2);
    if (row.button != nullptr) form->addWidget(row.button, at, 3);
    ++at;
  }
  form->addWidget(calculate, at, 0, 1, 4);

  auto* axisBox = new QHBoxLayout;
  axisBox->addWidget(axes_, 1);
  axisBox->addWidget(autoRange);
  auto* right = new QVBoxLayout;
  right->addWidget(summary_);
  right->addWidget(results_);
  right->addWidget(graph_, 1);
  right->addLayout(axisBox);
  auto* top = new QHBoxLayout;
  auto* left = new QVBoxLayout;
  left->addWidget(conditions);
  left->addStretch();
  top->addLayout(left);
  top->addLayout(right, 1);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top, 1);
  layout->addLayout(MakeOkCancelRow({word}, {.cancel = "閉じる"}).layout);
}

void CCmdShearReslutDlg::SetupGrids() {
  for (CSheetGrid* grid : {summary_, results_, axes_}) grid->SetHeaderBackColor(kHeaderBack);
  for (CSheetGrid* grid : {summary_, results_}) {
    grid->SetLockBackColor(kLockedBack);
    grid->SetLock(SheetBlock(CSheetGrid::kAll, CSheetGrid::kAll), true);
  }
  summary_->SetMaxCols(4);
  summary_->SetMaxRows(2);
  const char* const summaryHeads[] = {"結果", "", "許容値", "判定"};
  for (int col = 1; col <= 4; ++col) {
    summary_->SetText(SheetBlock(col, CSheetGrid::kHeaderRow),
                      QString::fromUtf8(summaryHeads[col - 1]));
  }
  summary_->SetText(SheetBlock(CSheetGrid::kRowHeaderCol, 1), QStringLiteral("せん断ひずみ"));
  summary_->SetText(SheetBlock(CSheetGrid::kRowHeaderCol, 2), QStringLiteral("せん断変形量 (mm)"));
  summary_->SetColWidth(1, 100);
  summary_->SetColWidth(2, 30);
  summary_->SetColWidth(3, 100);
  summary_->SetColWidth(4, 60);
  FitHeight(*summary_, 2);

  results_->SetMaxRows(3);
  results_->SetText(SheetBlock(CSheetGrid::kRowHeaderCol, 1), QStringLiteral("水平震度 kh"));
  results_->SetText(SheetBlock(CSheetGrid::kRowHeaderCol, 2), QStringLiteral("せん断ひずみ"));
  results_->SetText(SheetBlock(CSheetGrid::kRowHeaderCol, 3), QStringLiteral("せん断変形量 (mm)"));
  results_->setMinimumHeight(results_->horizontalHeader()->sizeHint().height() +
                             3 * results_->verticalHeader()->defaultSectionSize() +
                             results_->horizontalScrollBar()->sizeHint().height() +
                             2 * results_->frameWidth() + 4);

  axes_->SetMaxCols(3);
  axes_->SetMaxRows(2);
  axes_->SetDecimalPlaces(SheetBlock(CSheetGrid::kAll, CSheetGrid::kAll), kDecimals);
  axes_->SetText(SheetBlock(kMinCol, CSheetGrid::kHeaderRow), QStringLiteral("最小"));
  axes_->SetText(SheetBlock(kMaxCol, CSheetGrid::kHeaderRow), QStringLiteral("最大"));
  axes_->SetText(SheetBlock(kPitchCol, CSheetGrid::kHeaderRow), QStringLiteral("ピッチ"));
  axes_->SetText(SheetBlock(CSheetGrid::kRowHeaderCol, kXRow), QStringLiteral("X軸"));
  axes_->SetText(SheetBlock(CSheetGrid::kRowHeaderCol, kYRow), QStringLiteral("Y軸"));
  FitHeight(*axes_, 2);
}

void CCmdShearReslutDlg::Show() {
  erb_->SetDouble(prm_.erb);
  g0_->SetDouble(prm_.g0);
  spacing_->SetDouble(prm_.boltSpacing);
  depth_->SetDouble(prm_.blockDepth);
  h_->SetDouble(prm_.h);
  theta_->SetDouble(prm_.theta);
  kh_->SetDouble(case_.GetPrmStab().kh);
  result_.graph.refValues.at(kDesignKhRef) = case_.GetPrmStab().kh;
  ShowSummary();
  ShowResults();
  ShowAxes();
  graph_->update();
}

void CCmdShearReslutDlg::ShowSummary() {
  SpreadSetDbl(*summary_, 1, 1, kDecimals, "", result_.design.cumStrain);
  SpreadSetDbl(*summary_, 3, 1, kDecimals, "", result_.allowStrain);
  SpreadSetDbl(*summary_, 1, 2, kDecimals, "", result_.design.cumDisp);
  SpreadSetDbl(*summary_, 3, 2, kDecimals, "", result_.allowDisp);
  for (const int row : {1, 2}) SpreadSetText(*summary_, 2, row, "＜");
  ShowJudge(*summary_, 1, result_.JudgeAss());
  ShowJudge(*summary_, 2, result_.design.JudgeDisp(result_.allowDisp));
}

void CCmdShearReslutDlg::ShowResults() {
  const int count = static_cast<int>(result_.rows.size());
  results_->SetReDraw(false);
  results_->SetMaxCols(count);
  for (int col = 1; col <= count; ++col) {
    const CShearData& row = result_.rows.at(static_cast<std::size_t>(col - 1));
    SpreadSetDbl(*results_, col, 1, kDecimals, "", row.kh);
    SpreadSetText(*results_, col, 2, DblToExpText(kStrainMantissaDecimals, row.cumStrain));
    SpreadSetDbl(*results_, col, 3, kDecimals, "", row.cumDisp);
  }
  results_->SetReDraw(true);
}

void CCmdShearReslutDlg::ShowAxes() {
  const CDrawResGraphSet& graph = result_.graph;
  ShowAxis(kXRow, graph.minX, graph.maxX, graph.pitchX);
  ShowAxis(kYRow, graph.minY, graph.maxY, graph.pitchY);
}

void CCmdShearReslutDlg::ShowAxis(int row, double min, double max, double pitch) {
  SpreadSetDbl(*axes_, kMinCol, row, kDecimals, "", min);
  SpreadSetDbl(*axes_, kMaxCol, row, kDecimals, "", max);
  SpreadSetDbl(*axes_, kPitchCol, row, kDecimals, "", pitch);
}

void CCmdShearReslutDlg::ReadFields() {
  prm_.erb = erb_->GetDoubleKeeping(prm_.erb);
  prm_.g0 = g0_->GetDoubleKeeping(prm_.g0);
  prm_.boltSpacing = spacing_->GetDoubleKeeping(prm_.boltSpacing);
  prm_.blockDepth = depth_->GetDoubleKeeping(prm_.blockDepth);
  prm_.h = h_->GetDoubleKeeping(prm_.h);
  prm_.theta = theta_->GetDoubleKeeping(prm_.theta);
}

void CCmdShearReslutDlg::AfterConditionsChanged(const CPrmShear& before) {
  if (prm_.IsSameUseCale(before)) return;
  case_.MarkEdited();
  case_.ClearResultsReading(CalcInput::kShearConditions);
}

void CCmdShearReslutDlg::TakeOver() {
  CPrmShear before;
  before.Copy(prm_);
  ReadFields();
  AfterConditionsChanged(before);
}

bool CCmdShearReslutDlg::FieldsInRange() const {
  for (CExpEdit* field : {erb_, g0_, spacing_, depth_, h_, theta_}) {
    const int check = field->Check();
    if (check != CExpEdit::kValid) {
      field->ReportFailedCheck(check);
      return false;
    }
  }
  return true;
}

void CCmdShearReslutDlg::Calculate() {
  if (!FieldsInRange()) return;
  TakeOver();
  if (!case_.PreCalcShear(true)) {
    Show();
    return;
  }
  // A modal dialog that hides ends its own loop, so it stays shown but takes no input while the
  // calculation runs.
  setEnabled(false);
  const bool filed = RunShearJob(case_.ShearJob());
  setEnabled(true);
  if (filed) case_.MarkEdited();
  Show();
  if (filed) AutoRange();
}

void CCmdShearReslutDlg::TakeInclination() {
  const CMltPoint* const registered = case_.GetQuakeSelectPoint();
  if (registered == nullptr) {
    Inform(kNoQuakeRow);
    return;
  }
  const std::unique_ptr<CBlockList> run =
      case_.GetBlockList().CreateBlockList(registered->startBlock, registered->endBlock);
  CPrmShear before;
  before.Copy(prm_);
  ReadFields();
  if (run != nullptr) prm_.theta = run->GetSuberiAngle();
  AfterConditionsChanged(before);
  Show();
}

void CCmdShearReslutDlg::PickG0() {
  CRefShearGoDlg picker(g0_->GetDouble(), this);
  if (RunModal(picker) == Accepted) g0_->SetDouble(picker.G0());
}

void CCmdShearReslutDlg::PickThickness() {
  // The picked h reaches the conditions at the next take-over, as a typed one does.
  if (const std::optional<double> h =
          CRefSlideHDlg::PickThickness(case_, CRefSlideHDlg::kSeismicRow, this)) {
    h_->SetDouble(*h);
  }
}

void CCmdShearReslutDlg::AutoRange() {
  if (!result_.rows.empty()) {
    const double designKh = case_.GetPrmStab().kh;
    double xMax = Widened(std::max(designKh, result_.GetMaxKh()));
    double yMax = Widened(std::max(result_.allowDisp, result_.GetMaxCumDelta()));
    double xPitch = RoundStep(xMax / 6, XUnit(xMax));
    if (std::abs(xPitch) < kTiny) xPitch = 0.001;
    xMax = CeilTo(xMax - kSmallestPitch, xPitch);
    double yPitch = RoundStep(yMax / 5, YUnit(yMax));
    if (std::abs(yPitch) < kTiny) yPitch = 0.01;
    yMax = CeilTo(yMax, yPitch);
    ShowAxis(kXRow, 0, xMax, xPitch);
    ShowAxis(kYRow, 0, yMax, yPitch);
  }
  ReadAxes();
  graph_->update();
}

void CCmdShearReslutDlg::ReadAxes() {
  CDrawResGraphSet& graph = result_.graph;
  ReadAxis(kXRow, graph.minX, graph.maxX, graph.pitchX);
  ReadAxis(kYRow, graph.minY, graph.maxY, graph.pitchY);
  graph.refValues.at(kDesignKhRef) = case_.GetPrmStab().kh;
}

void CCmdShearReslutDlg::ReadAxis(int row, double& min, double& max, double& pitch) {
  const double newMin = SpreadGetDbl(*axes_, kMinCol, row);
  const double newMax = SpreadGetDbl(*axes_, kMaxCol, row);
  const double typedPitch = SpreadGetDbl(*axes_, kPitchCol, row);
  const double newPitch = typedPitch > kSmallestPitch ? typedPitch : pitch;
  const bool bothSet = newMin != kNoValue && newMax != kNoValue;
  const char* refusal = nullptr;
  if (bothSet && newMin >= newMax) {
    refusal = kInvertedAxis;
  } else if (bothSet && newPitch > 0 && (newMax - newMin) / newPitch > kMaxGridLines) {
    refusal = kTooManyLines;
  }
  if (refusal != nullptr) {
    ShowAxis(row, min, max, pitch);
    Inform(refusal);
    return;
  }
  min = newMin;
  max = newMax;
  pitch = newPitch;
  SpreadSetDbl(*axes_, kPitchCol, row, kDecimals, "", pitch);
}

QImage CCmdShearReslutDlg::Graph() const { return graph_->Render(); }

void CCmdShearReslutDlg::OnOK() {
  if (!FieldsInRange()) return;
  TakeOver();
  if (!result_.graph.IsSame(graphAtOpening_)) case_.MarkEdited();
  StageDialog::OnOK();
}

void CCmdShearReslutDlg::OnCancel() {
  if (!result_.graph.IsSame(graphAtOpening_)) case_.MarkEdited();
  StageDialog::OnCancel();
}
