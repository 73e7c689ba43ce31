#include "stage/dialogs/CmdSlideResultDlg.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>
#include <memory>
#include <string>

#include "core/base/AppIdentity.h"
#include "core/base/CoreConfig.h"
#include "core/base/UnitFilter.h"
#include "core/case/Case.h"
#include "core/geometry/ViewInfo.h"
#include "platform/UiRegistry.h"
#include "platform/qt/ModalRunner.h"
#include "platform/qt/QtCanvas.h"
#include "stage/MarchRunner.h"
#include "stage/controls/SheetCell.h"
#include "stage/controls/SheetGrid.h"
#include "stage/dialogs/JudgementCell.h"
#include "stage/output/WordRequest.h"

namespace {

constexpr int kKhCode = 211;
constexpr int kFsCode = 163;
constexpr int kStrainDecimals = 5;
constexpr int kDsDecimals = 4;
constexpr int kAxisDecimals = 4;
constexpr int kMinCol = 1;
constexpr int kMaxCol = 2;
constexpr int kPitchCol = 3;
constexpr int kDesignKhMark = 3;  // the design kh among the graph's reference values
// Below this a range or a pitch is taken as none.
constexpr double kTiny = 1e-13;
constexpr double kLeastPitch = 1e-9;
// The plot inside a graph frame: left, top, right and bottom margins.
constexpr int kPlotLeft = 45;
constexpr int kPlotTop = 20;
constexpr int kPlotRight = 65;
constexpr int kPlotBottom = 35;

enum SummaryRow { kKhRow = 1, kFsrRow = 2, kGammaRow = 3, kDsRow = 4 };

// p rounded to the nearest multiple of the unit, halves up; 0 and the unset value stay.
double RoundStep(double p, double unit) {
  if (p == 0 || p == kNoValue) return p;
  if (unit <= 0) unit = 1;
  return std::floor((p * 10 / unit + 5) / 10) * unit;
}

// The next multiple of the pitch at or above x (a quotient a rounding error above a whole
// number counts as that number).
double CeilToPitch(double x, double pitch) {
  if (x == 0 || x == kNoValue) return x;
  if (pitch <= 0) pitch = 1;
  return std::ceil(x / pitch - 1e-9) * pitch;
}

double XUnit(double dx) {
  if (dx < 1) return 0.1;
  if (dx < 5) return 0.2;
  if (dx < 10) return 1;
  if (dx < 50) return 5;
  if (dx < 100) return 10;
  if (dx < 500) return 50;
  return 100;
}

double YUnit(double dy) {
  if (dy < 0.5) return 0.01;
  if (dy < 5) return 0.1;
  if (dy < 50) return 1;
  if (dy < 500) return 10;
  return 100;
}

// A top below the tiny width, unset or not finite gives a unit range: a graph always has width.
double UsableTop(double top) { return std::isfinite(top) && top >= kTiny ? top : 1.0; }

// The judgement cell: OK, OUT, or no judgement while a value it needs is unset.
void SetJudgement(CSheetGrid& grid, int row, double value, double allowable, bool passes) {
  const Judgement judgement = value == kNoValue || allowable == kNoValue ? Judgement::kNone
                              : passes                                   ? Judgement::kOk
                                                                         : Judgement::kOut;
  ShowJudgement(grid, 4, row, judgement);
}

// The area a graph is painted in.
class GraphFrame : public QWidget {
 public:
  GraphFrame(CCmdSlideResultDlg& dialog, int index, int id) : dialog_(dialog), index_(index) {
    SetId(this, id);
    setMinimumSize(420, 190);
  }

 protected:
  void paintEvent(QPaintEvent* /*event*/) override {
    if (dialog_.Graph(index_).size() != size()) dialog_.RenderGraph(index_);
    QPainter painter(this);
    painter.drawImage(0, 0, dialog_.Graph(index_));
  }

 private:
  CCmdSlideResultDlg& dialog_;
  int index_;
};

struct Header {
  const char* top;
  const char* bottom;
};
constexpr Header kRowHeaders[] = {
    {"水平震度", "kh"}, {"相対安全率", "Fsr"}, {"すべりひずみ", "γs"}, {"すべり変形量", "δs (mm)"}};

}  // namespace

CCmdSlideResultDlg::AutoAxes CCmdSlideResultDlg::ComputeAutoAxes(double xTop, double yTop) {
  AutoAxes axes{};
  axes.xMax = UsableTop(xTop);
  const double dx = axes.xMax;
  axes.xPitch = RoundStep(dx / 6, XUnit(dx));
  if (std::abs(axes.xPitch) < kTiny) axes.xPitch = 0.001;
  axes.xMax = CeilToPitch(axes.xMax, axes.xPitch);

  const double dy = UsableTop(yTop);
  axes.yPitch = RoundStep(dy / 5, YUnit(dy));
  if (std::abs(axes.yPitch) < kTiny) axes.yPitch = 0.01;
  axes.yMax = CeilToPitch(dy + axes.yPitch / 1000, axes.yPitch);
  return axes;
}

std::string CCmdSlideResultDlg::CheckAxis(double min, double max, double pitch) {
  if (!(min < max)) return "最小値には最大値より小さい値を入力してください。";
  if (!(pitch > kLeastPitch) || (max - min) / pitch > kMaxGridLines) {
    return "ピッチが小さすぎます。目盛りが " + std::to_string(kMaxGridLines) +
           " 本以内になるピッチを入力してください。";
  }
  return {};
}

bool CCmdSlideResultDlg::Run(CCase& target, QWidget* parent) {
  return RunDialog<CCmdSlideResultDlg>(target, parent);
}

CCmdSlideResultDlg::CCmdSlideResultDlg(CCase& target, QWidget* parent)
    : StageDialog(parent),
      case_(target),
      results_(target.GetResSlide()),
      summary_(new CSheetGrid),
      rows_(new CSheetGrid),
      calculate_(MakeButton("計算開始", 5256)),
      word_(MakeButton("Word出力", 6357)) {
  setWindowTitle(QStringLiteral("すべり変形計算・出力"));
  constexpr std::array<int, kGraphCount> frameIds{6351, 6353, 6355};
  constexpr std::array<int, kGraphCount> axisIds{6359, 6360, 6361};
  for (std::size_t i = 0; i < kGraphCount; ++i) {
    frames_[i] = new GraphFrame(*this, static_cast<int>(i), frameIds[i]);
    axes_[i] = new CSheetGrid;
    SetId(axes_[i], axisIds[i]);
  }
  SetId(summary_, 6349);
  SetId(rows_, 6350);
  SetupGrids();
  BuildLayout();
  Show();
  for (int i = 0; i < kGraphCount; ++i) AutoRange(i, false);
  RepaintGraphs();
  SetTrackLimits(0, -100, 0, 9999);

  connect(calculate_, &QPushButton::clicked, this, &CCmdSlideResultDlg::Calculate);
  connect(word_, &QPushButton::clicked, this,
          [this] { RequestWordReport(results_.IsResult(), 2, 0); });
  for (int i = 0; i < kGraphCount; ++i) {
    connect(axes_.at(static_cast<std::size_t>(i)), &CSheetGrid::Change, this,
            [this, i](int /*col*/, int /*row*/) { OnAxisChanged(i); });
  }
}

void CCmdSlideResultDlg::SetupGrids() {
  summary_->SetHeaderBackColor(Color{0xFFFFDB});
  summary_->SetLockBackColor(Color{0xB8FFFF});
  summary_->SetMaxCols(4);
  summary_->SetMaxRows(4);
  summary_->SetLock(SheetBlock(CSheetGrid::kAll, CSheetGrid::kAll), true);
  const char* const summaryCols[] = {"結果", "", "許容値", "判定"};
  for (int col = 1; col <= 4; ++col) {
    summary_->SetText(SheetBlock(col, CSheetGrid::kHeaderRow),
                      QString::fromUtf8(summaryCols[col - 1]));
  }
  const char* const summaryRows[] = {"設計水平震度  kh", "相対安全率  Fsr", "すべりひずみ  γs",
                                     "すべり変形量  δs (mm)"};
  for (int row = 1; row <= 4; ++row) {
    summary_->SetText(SheetBlock(CSheetGrid::kRowHeaderCol, row),
                      QString::fromUtf8(summaryRows[row - 1]));
  }
  SpreadSetText(*summary_, 2, kGammaRow, "＜");
  SpreadSetText(*summary_, 2, kDsRow, "＜");
  summary_->SetColWidth(2, 28);
  summary_->setFixedHeight(summary_->horizontalHeader()->sizeHint().height() +
                           4 * summary_->verticalHeader()->defaultSectionSize() +
                           2 * summary_->frameWidth() + 2);

  rows_->SetHeaderBackColor(Color{0xFFFFDB});
  rows_->SetLockBackColor(Color{0xB8FFFF});
  rows_->SetMaxCols(4);
  rows_->SetColHeaderRows(2);
  rows_->SetLock(SheetBlock(CSheetGrid::kAll, CSheetGrid::kAll), true);
  for (int col = 1; col <= 4; ++col) {
    const Header& header = kRowHeaders[col - 1];
    rows_->SetText(SheetBlock(col, CSheetGrid::kHeaderRow), QString::fromUtf8(header.top));
    rows_->SetText(SheetBlock(col, CSheetGrid::kHeaderRow2), QString::fromUtf8(header.bottom));
    rows_->SetColWidth(col, 88);
  }

  for (CSheetGrid* axis : axes_) {
    axis->SetHeaderBackColor(Color{0xFFFFDB});
    axis->SetMaxCols(3);
    axis->SetMaxRows(1);
    axis->SetDecimalPlaces(SheetBlock(CSheetGrid::kAll, CSheetGrid::kAll), kAxisDecimals);
    axis->SetText(SheetBlock(kMinCol, CSheetGrid::kHeaderRow), QStringLiteral("最小"));
    axis->SetText(SheetBlock(kMaxCol, CSheetGrid::kHeaderRow), QStringLiteral("最大"));
    axis->SetText(SheetBlock(kPitchCol, CSheetGrid::kHeaderRow), QStringLiteral("ピッチ"));
    axis->SetText(SheetBlock(CSheetGrid::kRowHeaderCol, 1), QStringLiteral("Y軸"));
    axis->setFixedHeight(axis->horizontalHeader()->sizeHint().height() +
                         axis->verticalHeader()->defaultSectionSize() + 2 * axis->frameWidth() + 2);
  }
}

void CCmdSlideResultDlg::BuildLayout() {
  auto* top = new QHBoxLayout;
  top->addWidget(calculate_);
  top->addStretch();
  top->addWidget(word_);

  auto* left = new QVBoxLayout;
  left->addLayout(top);
  left->addWidget(summary_);
  left->addWidget(rows_, 1);

  auto* right = new QVBoxLayout;
  for (std::size_t i = 0; i < kGraphCount; ++i) {
    right->addWidget(frames_[i], 1);
    right->addWidget(axes_[i]);
  }

  auto* body = new QHBoxLayout;
  body->addLayout(left, 1);
  body->addLayout(right, 1);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(body, 1);
  layout->addLayout(MakeOkCancelRow({}, {.cancel = "閉じる"}).layout);
  resize(980, 760);
}

double CCmdSlideResultDlg::DesignKh() const { return case_.GetPrmStab().kh; }

CDrawResGraphSet& CCmdSlideResultDlg::GraphSet(int i) { return results_.GetGraphSet(i); }

void CCmdSlideResultDlg::Show() {
  ShowSummary();
  ShowRows();
  for (int i = 0; i < kGraphCount; ++i) {
    ShowAxis(i);
    GraphSet(i).refValues[kDesignKhMark] = DesignKh();
  }
}

void CCmdSlideResultDlg::ShowSummary() {
  const CUnitFilter units = CCoreConfig::GetUnitFilter();
  const tagSLIDERES& design = results_.designRow;
  SpreadSetDbl(*summary_, 1, kKhRow, units.Digit(kKhCode), "", DesignKh());
  SpreadSetDbl(*summary_, 1, kFsrRow, units.Digit(kFsCode), "", design.fsr);
  SpreadSetDbl(*summary_, 1, kGammaRow, kStrainDecimals, "", design.gammaS);
  SpreadSetDbl(*summary_, 1, kDsRow, kDsDecimals, "", design.ds);
  if (!results_.IsResult()) {
    for (const int row : {kGammaRow, kDsRow}) {
      SpreadSetText(*summary_, 3, row, "");
      SpreadSetText(*summary_, 4, row, "");
    }
    return;
  }
  const double allowableGs = CResSlide::GetKyoyouHizumi();
  SpreadSetDbl(*summary_, 3, kGammaRow, kStrainDecimals, "", allowableGs);
  SpreadSetDbl(*summary_, 3, kDsRow, kDsDecimals, "", results_.allowableDs);
  SetJudgement(*summary_, kGammaRow, design.gammaS, allowableGs, results_.IsJudgeGs());
  SetJudgement(*summary_, kDsRow, design.ds, results_.allowableDs, results_.IsJudgeDs());
}

void CCmdSlideResultDlg::ShowRows() {
  const CUnitFilter units = CCoreConfig::GetUnitFilter();
  const int count = static_cast<int>(results_.rows.size());
  rows_->SetReDraw(false);
  rows_->SetMaxRows(count);
  for (int r = 1; r <= count; ++r) {
    const tagSLIDERES& row = results_.rows[static_cast<std::size_t>(r - 1)];
    SpreadSetDbl(*rows_, 1, r, units.Digit(kKhCode), "", row.kh);
    SpreadSetDbl(*rows_, 2, r, units.Digit(kFsCode), "", row.fsr);
    SpreadSetDbl(*rows_, 3, r, kStrainDecimals, "", row.gammaS);
    SpreadSetDbl(*rows_, 4, r, kDsDecimals, "", row.ds);
  }
  rows_->SetReDraw(true);
}

void CCmdSlideResultDlg::ShowAxis(int i) {
  const CDrawResGraphSet& set = GraphSet(i);
  CSheetGrid& axis = *axes_.at(static_cast<std::size_t>(i));
  SpreadSetDbl(axis, kMinCol, 1, kAxisDecimals, "", set.minY);
  SpreadSetDbl(axis, kMaxCol, 1, kAxisDecimals, "", set.maxY);
  SpreadSetDbl(axis, kPitchCol, 1, kAxisDecimals, "", set.pitchY);
}

void CCmdSlideResultDlg::AutoRange(int i, bool fill) {
  if (results_.rows.empty()) return;
  const double xTop = std::max(DesignKh(), results_.GetMaxKh());
  double yTop = results_.GetMaxFsr();
  if (i == CResSlide::kGraphGammaS) {
    yTop = std::max(results_.GetMaxGammaS(), CResSlide::GetKyoyouHizumi());
  } else if (i == CResSlide::kGraphDs) {
    yTop = std::max(results_.GetMaxStrain(), results_.allowableDs);
  }
  const AutoAxes computed = ComputeAutoAxes(xTop, yTop);
  CDrawResGraphSet& set = GraphSet(i);
  set.maxX = computed.xMax;
  set.minX = 0;
  set.pitchX = computed.xPitch;
  if (fill) {
    set.minY = 0;
    set.maxY = computed.yMax;
    set.pitchY = computed.yPitch;
    ShowAxis(i);
  }
}

void CCmdSlideResultDlg::OnAxisChanged(int i) {
  CSheetGrid& axis = *axes_.at(static_cast<std::size_t>(i));
  CDrawResGraphSet& set = GraphSet(i);
  // An emptied cell takes the stored value back; text that is no number reads 0.
  const auto typed = [&axis](int col, double stored) {
    return SpreadGetCellText(axis, col, 1).empty() ? stored : SpreadGetDbl(axis, col, 1, 0.0);
  };
  const double min = typed(kMinCol, set.minY);
  const double max = typed(kMaxCol, set.maxY);
  const double pitch = typed(kPitchCol, set.pitchY);
  const std::string refusal = CheckAxis(min, max, pitch);
  if (refusal.empty()) {
    set.minY = min;
    set.maxY = max;
    set.pitchY = pitch;
  } else {
    Ui().MessageBox(refusal, GetAppTitle(), MsgButtons::Ok, MsgIcon::Warning);
  }
  ShowAxis(i);
  set.refValues[kDesignKhMark] = DesignKh();
  RepaintGraphs();
  RedrawSection();
}

void CCmdSlideResultDlg::Calculate() {
  if (!case_.PreCalcSlide(true)) return;
  // A modal dialog that hides ends its own loop, so it stays shown but takes no input while the
  // progress window runs.
  setEnabled(false);
  const bool filed = RunSlideJob(case_.SlideJob());
  setEnabled(true);
  // A cancelled march leaves the case and what the dialog shows as they were.
  if (!filed) return;
  case_.MarkEdited();
  for (int i = 0; i < kGraphCount; ++i) AutoRange(i, true);
  Show();
  RepaintGraphs();
}

void CCmdSlideResultDlg::RepaintGraphs() {
  for (int i = 0; i < kGraphCount; ++i) RenderGraph(i);
}

void CCmdSlideResultDlg::RenderGraph(int i) {
  QWidget& frame = *frames_.at(static_cast<std::size_t>(i));
  QImage& image = images_.at(static_cast<std::size_t>(i));
  image = QImage(frame.size(), QImage::Format_RGB32);
  if (image.isNull()) return;
  image.fill(Qt::white);
  const CDrawResGraphSet& set = GraphSet(i);
  const DevRect area{0, 0, image.width(), image.height()};
  const DevRect plot{kPlotLeft, kPlotTop, image.width() - kPlotRight, image.height() - kPlotBottom};
  {
    const std::unique_ptr<QtCanvas> canvas = QtCanvas::OnImage(image);
    CViewInfo view(case_.GetViewInfo());
    view.dc = canvas.get();
    view.rect = area;
    view.width = area.Width();
    view.height = area.Height();
    view.SetArea(set.minX, set.maxY, set.maxX, set.minY);
    view.marginX = 44;
    view.marginY = 32;
    view.zoom = 1.0;
    view.zoomOn = false;
    view.CalcScale();
    results_.DrawGraph(&view, area, plot, i);
  }
  frame.update();
}
