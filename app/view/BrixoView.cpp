#include "app/view/BrixoView.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>
#include <cmath>
#include <memory>

#include "core/base/CoreConfig.h"
#include "core/base/Utility.h"
#include "core/case/ManageCore.h"
#include "platform/NumberText.h"
#include "platform/UiRegistry.h"
#include "platform/qt/QtCanvas.h"
#include "platform/qt/QtImageWindow.h"
#include "stage/CalcRunner.h"

namespace {

// The wheel's zoom steps and the toolbar's.
constexpr double kWheelIn = 1.25;
constexpr double kWheelOut = 0.8;
constexpr double kZoomInStep = 1.6;
constexpr double kZoomTolerance = 1e-13;

// The pan offsets live in the view mapping as its scroll offsets, which are their negatives: the
// mapping subtracts the scroll, and a pan moves the picture the other way. Keeping them there
// gives every case its own pan, as it has its own zoom.
DevPoint Pan(const CViewInfo& view) { return {-view.scrollX, -view.scrollY}; }
void SetPan(CViewInfo& view, DevPoint pan) {
  view.scrollX = -pan.x;
  view.scrollY = -pan.y;
}
// Each pan offset times the factor, truncated toward zero.
void ScalePan(CViewInfo& view, double factor) {
  const DevPoint pan = Pan(view);
  SetPan(view, {static_cast<int>(pan.x * factor), static_cast<int>(pan.y * factor)});
}

DevPoint ToDevice(QPoint p) { return {p.x(), p.y()}; }

// The draw target of a view mapping for as long as the scope lives; a movie recorded through the
// mapping meanwhile takes its frames from the image as far as it is drawn.
class DrawingOn {
 public:
  DrawingOn(CViewInfo& view, QImage& image)
      : view_(view), canvas_(QtCanvas::OnImage(image)), window_(image) {
    view_.dc = canvas_.get();
    view_.window = &window_;
  }
  ~DrawingOn() {
    view_.dc = nullptr;
    view_.window = nullptr;
  }
  DrawingOn(const DrawingOn&) = delete;
  DrawingOn& operator=(const DrawingOn&) = delete;

 private:
  CViewInfo& view_;
  std::unique_ptr<QtCanvas> canvas_;
  QtImageWindow window_;
};

}  // namespace

QString CoordinateText(const CDPoint& point) {
  if (!point.IsValid()) return QStringLiteral("(X , Y) = ( - , - )");
  const auto field = [](double v) { return QString::fromStdString(FormatFixed(v, 3)); };
  return QStringLiteral("(X , Y) = (%1 , %2)").arg(field(point.x), 8).arg(field(point.y), 8);
}

CBrixoView::CBrixoView(CManageCore& core, QWidget* parent) : QWidget(parent), core_(core) {
  setAttribute(Qt::WA_OpaquePaintEvent);
  setMouseTracking(true);
}

bool CBrixoView::CanZoomIn() const { return ActiveView().zoom < kZoomMax; }

bool CBrixoView::CanZoomReset() const {
  const CViewInfo& view = ActiveView();
  return view.zoom > kZoomMin || view.scrollX != 0 || view.scrollY != 0;
}

CDPoint CBrixoView::ClickPoint(QPoint device, bool snap) const {
  CDPoint world = ActiveView().DPtoLP(ToDevice(device));
  world.x = RoundClickCoordinate(world.x);
  world.y = RoundClickCoordinate(world.y);
  return snap ? Snapped(world) : world;
}

void CBrixoView::Invalidate() {
  dirty_ = true;
  update();
}

void CBrixoView::ZoomIn() {
  if (!CanZoomIn()) return;
  CViewInfo& view = ActiveView();
  view.zoom = std::min(view.zoom * kZoomInStep, kZoomMax);
  ScalePan(view, kZoomInStep);
  view.zoomOn = true;
  RequestRedraw();
}

void CBrixoView::ZoomReset() {
  CViewInfo& view = ActiveView();
  const DevPoint pan = Pan(view);
  const bool changed = view.zoomOn || pan.x != 0 || pan.y != 0;
  lastMouse_ = {};
  SetPan(view, {});
  panning_ = false;
  view.zoom = kZoomMin;
  view.zoomOn = false;
  if (changed) RequestRedraw();
}

void CBrixoView::paintEvent(QPaintEvent* /*event*/) {
  // A run reads the case on its worker threads: drawing it meanwhile could race them, and the
  // case changes only when the run has ended, so the last picture stays until then.
  if (dirty_ && !RunActive()) Render();
  QPainter painter(this);
  if (backBuffer_.deviceIndependentSize() != QSizeF(size())) painter.fillRect(rect(), Qt::white);
  painter.drawImage(0, 0, backBuffer_);
}

void CBrixoView::resizeEvent(QResizeEvent* event) {
  dirty_ = true;
  QWidget::resizeEvent(event);
}

void CBrixoView::mousePressEvent(QMouseEvent* event) {
  const QPoint at = event->position().toPoint();
  switch (event->button()) {
    case Qt::LeftButton: {
      const CDPoint world = ClickPoint(at, event->modifiers().testFlag(Qt::ShiftModifier));
      emit PointClicked(world.x, world.y);
      break;
    }
    case Qt::MiddleButton:
      panning_ = true;
      lastMouse_ = ToDevice(at);
      setCursor(Qt::ClosedHandCursor);
      break;
    default:
      break;
  }
}

void CBrixoView::mouseReleaseEvent(QMouseEvent* event) {
  switch (event->button()) {
    case Qt::MiddleButton:
      panning_ = false;
      unsetCursor();
      break;
    case Qt::RightButton:
      ZoomReset();
      break;
    default:
      break;
  }
}

void CBrixoView::mouseDoubleClickEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) emit DoubleClicked();
}

void CBrixoView::mouseMoveEvent(QMouseEvent* event) {
  const DevPoint at = ToDevice(event->position().toPoint());
  CViewInfo& view = ActiveView();
  if (panning_) {
    const DevPoint pan = Pan(view);
    SetPan(view, {pan.x + at.x - lastMouse_.x, pan.y + at.y - lastMouse_.y});
    lastMouse_ = at;
    RequestRedraw();
  }
  CDPoint world = view.DPtoLP(at);
  if (event->modifiers().testFlag(Qt::ShiftModifier)) world = Snapped(world);
  {
    // The rubber band of shape editing draws into the back buffer, which the next paint shows.
    const DrawingOn drawing(view, backBuffer_);
    core_.GetActiveCase()->OnMouseMove(&view, world);
  }
  update();
  emit CoordinateChanged(CoordinateText(world));
}

void CBrixoView::wheelEvent(QWheelEvent* event) { WheelZoom(event->angleDelta().y()); }

CViewInfo& CBrixoView::ActiveView() const { return core_.GetActiveCase()->GetViewInfo(); }

void CBrixoView::Render() {
  const qreal ratio = devicePixelRatioF();
  QImage image(size() * ratio, QImage::Format_RGB32);
  image.setDevicePixelRatio(ratio);
  if (currentStep_) CCoreConfig::SetStageNo(currentStep_());
  CViewInfo& view = ActiveView();
  view.rect = {0, 0, width(), height()};
  if (!view.zoomOn) {
    view.width = width();
    view.height = height();
    view.centreX = width() / 2;
    view.centreY = height() / 2;
  }
  {
    const DrawingOn drawing(view, image);
    core_.DrawCore();
  }
  backBuffer_ = std::move(image);
  dirty_ = false;
}

void CBrixoView::WheelZoom(int delta) {
  CViewInfo& view = ActiveView();
  const double factor = delta > 0 ? kWheelIn : delta < 0 ? kWheelOut : 1.0;
  double zoom = factor * view.zoom;
  if (kZoomMin - zoom > kZoomTolerance) {
    zoom = kZoomMin;
  } else if (zoom - kZoomMax > kZoomTolerance) {
    zoom = kZoomMax;
  }
  const bool wasZoomed = view.zoomOn;
  view.zoom = zoom;
  if (zoom == kZoomMin) {
    view.zoomOn = false;
  } else {
    ScalePan(view, factor);
    view.zoomOn = true;
  }
  if (wasZoomed || view.zoomOn) RequestRedraw();
}

CDPoint CBrixoView::Snapped(const CDPoint& point) const {
  double distance = 0.0;
  const CDPoint nearest = core_.GetActiveCase()->FindNearPoint(&point, distance);
  return nearest.IsValid() ? nearest : point;
}

void CBrixoView::RequestRedraw() { Ui().SendToFrame(FrameMsg::WM_APP_REDRAW, 0, 0); }
