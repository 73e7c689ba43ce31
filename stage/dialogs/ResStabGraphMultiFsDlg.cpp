#include "stage/dialogs/ResStabGraphMultiFsDlg.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <QWheelEvent>
#include <algorithm>
#include <memory>

#include "core/case/Case.h"
#include "core/geometry/ViewInfo.h"
#include "platform/qt/QtCanvas.h"
#include "stage/controls/SheetCell.h"
#include "stage/controls/SheetGrid.h"

namespace {

constexpr int kMinCol = 1;
constexpr int kMaxCol = 2;
constexpr int kPitchCol = 3;
constexpr int kRangeDecimals = 2;
constexpr int kLegendWidth = 30;
// The plot's margins inside the figure: left, top, right, bottom.
constexpr int kPlotLeft = 55;
constexpr int kPlotTop = 32;
constexpr int kPlotRight = 44;
constexpr int kPlotBottom = 42;

// The area the figure is painted in; it hands its wheel and drags to the dialog.
class FigureArea : public QWidget {
 public:
  explicit FigureArea(CResStabGraphMultiFsDlg& dialog) : dialog_(dialog) {
    setMinimumSize(480, 320);
    SetId(this, 5390);
  }

 protected:
  void paintEvent(QPaintEvent* /*event*/) override {
    if (dialog_.Figure().size() != size()) dialog_.RenderFigure();
    QPainter painter(this);
    painter.drawImage(0, 0, dialog_.Figure());
  }
  void resizeEvent(QResizeEvent* /*event*/) override { dialog_.RenderFigure(); }
  void wheelEvent(QWheelEvent* event) override {
    dialog_.OnWheel(event->angleDelta().y());
    event->accept();
  }
  void mousePressEvent(QMouseEvent* event) override {
    if (event->button() == Qt::LeftButton || event->button() == Qt::MiddleButton) {
      dialog_.OnDragStart(event->position().toPoint());
    }
  }
  void mouseMoveEvent(QMouseEvent* event) override {
    dialog_.OnDragMove(event->position().toPoint());
  }
  void mouseReleaseEvent(QMouseEvent* /*event*/) override { dialog_.OnDragEnd(); }

 private:
  CResStabGraphMultiFsDlg& dialog_;
};

}  // namespace

CResStabGraphMultiFsDlg::CResStabGraphMultiFsDlg(CCase& target, QWidget* parent)
    : StageDialog(parent),
      case_(target),
      area_(new FigureArea(*this)),
      range_(new CSheetGrid),
      normal_(new QRadioButton(QStringLiteral("常時"))),
      quake_(new QRadioButton(QStringLiteral("地震時"))) {
  own_.Copy(target.GetResStab2());
  own_.SortSerial(tagMLTSORT{3, 0});
  setWindowTitle(QStringLiteral("安全率図"));
  SetId(range_, 5437);
  SetId(normal_, 5399);
  SetId(quake_, 5397);
  auto* autoRange = MakeButton("自動設定", 5440);

  range_->SetHeaderBackColor(Color{0xFFFFDB});
  range_->SetMaxCols(3);
  range_->SetMaxRows(1);
  range_->SetDecimalPlaces(SheetBlock(CSheetGrid::kAll, CSheetGrid::kAll), kRangeDecimals);
  range_->SetText(SheetBlock(kMinCol, CSheetGrid::kHeaderRow), QStringLiteral("最小"));
  range_->SetText(SheetBlock(kMaxCol, CSheetGrid::kHeaderRow), QStringLiteral("最大"));
  range_->SetText(SheetBlock(kPitchCol, CSheetGrid::kHeaderRow), QStringLiteral("ピッチ"));
  range_->setFixedHeight(range_->horizontalHeader()->sizeHint().height() +
                         range_->verticalHeader()->defaultSectionSize() + 2 * range_->frameWidth() +
                         2);

  auto* shown = new QGroupBox(QStringLiteral("表示"));
  auto* shownLayout = new QHBoxLayout(shown);
  shownLayout->addWidget(normal_);
  shownLayout->addWidget(quake_);
  auto* rangeBox = new QGroupBox(QStringLiteral("表示範囲"));
  auto* rangeLayout = new QHBoxLayout(rangeBox);
  rangeLayout->addWidget(range_, 1);
  rangeLayout->addWidget(autoRange);
  auto* controls = new QHBoxLayout;
  controls->addWidget(shown);
  controls->addWidget(rangeBox, 1);
  const OkCancelRow buttons = MakeOkCancelRow();
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(area_, 1);
  layout->addLayout(controls);
  layout->addLayout(buttons.layout);
  SetTabChain({normal_, quake_, range_, autoRange, buttons.ok, buttons.cancel});

  // A stored case other than 0 or 1 is taken as 0; only an enabled case can be chosen.
  if (own_.graphFs.currentCase != 0 && own_.graphFs.currentCase != 1) own_.graphFs.currentCase = 0;
  shownCase_ = own_.graphFs.currentCase;
  own_.graphFs.ResetIndex(shownCase_);
  const CPrmStab& prm = target.GetPrmStab();
  normal_->setEnabled(prm.IsNormal());
  quake_->setEnabled(prm.IsQuake());
  if (prm.IsNormal() != prm.IsQuake()) shownCase_ = prm.IsQuake() ? 1 : 0;
  (shownCase_ == 1 ? quake_ : normal_)->setChecked(true);
  ShowRange(shownCase_);

  connect(normal_, &QRadioButton::clicked, this, &CResStabGraphMultiFsDlg::OnCaseClicked);
  connect(quake_, &QRadioButton::clicked, this, &CResStabGraphMultiFsDlg::OnCaseClicked);
  connect(autoRange, &QPushButton::clicked, this, &CResStabGraphMultiFsDlg::OnAutoRange);
  connect(range_, &CSheetGrid::Change, this, [this](int /*col*/, int /*row*/) {
    shownCase_ = ChosenCase();
    StoreRange(shownCase_);
    SpreadSetDbl(*range_, kPitchCol, 1, kRangeDecimals, "",
                 own_.graphFs.axes.at(static_cast<std::size_t>(shownCase_)).pitchY);
    RenderFigure();
  });
  resize(720, 560);
}

int CResStabGraphMultiFsDlg::ChosenCase() const {
  if (quake_->isChecked()) return 1;
  if (normal_->isChecked()) return 0;
  return shownCase_;
}

void CResStabGraphMultiFsDlg::StoreRange(int resultCase) {
  CDrawResGraphSetMltFs::Axes& axes = own_.graphFs.axes.at(static_cast<std::size_t>(resultCase));
  axes.minY = SpreadGetDbl(*range_, kMinCol, 1, axes.minY);
  axes.maxY = SpreadGetDbl(*range_, kMaxCol, 1, axes.maxY);
  axes.pitchY = SpreadGetDbl(*range_, kPitchCol, 1, axes.pitchY);
}

void CResStabGraphMultiFsDlg::ShowRange(int resultCase) {
  const CDrawResGraphSetMltFs::Axes& axes =
      own_.graphFs.axes.at(static_cast<std::size_t>(resultCase));
  SpreadSetDbl(*range_, kMinCol, 1, kRangeDecimals, "", axes.minY);
  SpreadSetDbl(*range_, kMaxCol, 1, kRangeDecimals, "", axes.maxY);
  SpreadSetDbl(*range_, kPitchCol, 1, kRangeDecimals, "", axes.pitchY);
}

void CResStabGraphMultiFsDlg::OnCaseClicked() {
  StoreRange(shownCase_);
  shownCase_ = ChosenCase();
  own_.graphFs.ResetIndex(shownCase_);
  ShowRange(shownCase_);
  RenderFigure();
}

void CResStabGraphMultiFsDlg::OnAutoRange() {
  own_.SetGraphFsMaxMin(ChosenCase());
  ShowRange(ChosenCase());
  RenderFigure();
}

void CResStabGraphMultiFsDlg::OnWheel(int delta) {
  if (delta > 0) zoom_ = std::min(zoom_ * 1.25, kMaxZoom);
  if (delta < 0) zoom_ = std::max(zoom_ * 0.8, kMinZoom);
  RenderFigure();
}

void CResStabGraphMultiFsDlg::OnDragStart(QPoint at) {
  dragFrom_ = at;
  dragging_ = true;
  area_->grabMouse();
}

void CResStabGraphMultiFsDlg::OnDragMove(QPoint at) {
  if (!dragging_) return;
  pan_ += at - dragFrom_;
  dragFrom_ = at;
  RenderFigure();
}

void CResStabGraphMultiFsDlg::OnDragEnd() {
  if (!dragging_) return;
  dragging_ = false;
  area_->releaseMouse();
}

void CResStabGraphMultiFsDlg::RenderFigure() {
  ++renderCount_;
  figure_ = QImage(area_->size(), QImage::Format_RGB32);
  figure_.fill(Qt::white);
  if (figure_.isNull()) return;
  const DevRect graph{0, 0, figure_.width(), figure_.height()};
  // The plot grows about its centre with the zoom and moves with the pan.
  const double halfWidth = (graph.Width() - kPlotLeft - kPlotRight) * zoom_ / 2;
  const double halfHeight = (graph.Height() - kPlotTop - kPlotBottom) * zoom_ / 2;
  const double centreX = (kPlotLeft + graph.Width() - kPlotRight) / 2.0 + pan_.x();
  const double centreY = (kPlotTop + graph.Height() - kPlotBottom) / 2.0 + pan_.y();
  const DevRect plot{static_cast<int>(centreX - halfWidth), static_cast<int>(centreY - halfHeight),
                     static_cast<int>(centreX + halfWidth), static_cast<int>(centreY + halfHeight)};
  StoreRange(ChosenCase());
  own_.graphFs.currentCase = ChosenCase();
  {
    const std::unique_ptr<QtCanvas> canvas = QtCanvas::OnImage(figure_);
    CViewInfo view(case_.GetViewInfo());
    view.dc = canvas.get();
    view.zoom = zoom_;
    view.zoomOn = zoom_ > kMinZoom;
    own_.DrawGraphFs(&view, graph, plot, kLegendWidth);
  }
  area_->update();
}

void CResStabGraphMultiFsDlg::OnOK() {
  shownCase_ = ChosenCase();
  own_.graphFs.currentCase = shownCase_;
  StoreRange(shownCase_);
  case_.GetResStab2().graphFs.Copy(own_.graphFs);
  StageDialog::OnOK();
}
