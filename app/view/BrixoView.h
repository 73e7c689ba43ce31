#pragma once
// The section view: the main window's central widget, showing the active case's cross-section.
// It paints through CManageCore::DrawCore into a back buffer and shows that buffer; it keeps
// zoom and pan in the active case's view mapping (CViewInfo), so that every case keeps its own;
// it turns mouse input into world points: clicks rounded to 0.001 (snapped to the nearest shape
// point with Shift) go out as PointClicked, moves feed the case's rubber band and the coordinate
// readout.
//
// The view renders only when it was invalidated (Invalidate, a resize); an expose shows the back
// buffer again, which keeps the not-xor rubber band drawn into it intact. While a calculation's
// progress window is up, the view shows its last picture and does not draw.
//
// Zoom and pan changes ask the main frame to redraw (WM_APP_REDRAW through Ui()), as every other
// change of the section does; the frame answers with Invalidate.

#include <QImage>
#include <QPoint>
#include <QString>
#include <QWidget>
#include <functional>

#include "core/geometry/DPoint.h"
#include "platform/DevTypes.h"

class CManageCore;
class CViewInfo;

// The coordinate readout: "(X , Y) = (%8.3lf , %8.3lf)", or dashes for a point that is not valid.
QString CoordinateText(const CDPoint& point);

class CBrixoView : public QWidget {
  Q_OBJECT

 public:
  // The zoom factor's range.
  static constexpr double kZoomMin = 1.0;
  static constexpr double kZoomMax = 100.0;

  explicit CBrixoView(CManageCore& core, QWidget* parent = nullptr);

  // The flow pane's current step (0 to 3), made the design step before every paint; without it
  // the step stays as the frame set it.
  void SetStepSource(std::function<int()> currentStep) { currentStep_ = std::move(currentStep); }

  // Whether the toolbar's zoom commands do anything: zoom in below 100; reset while zoomed or
  // panned.
  bool CanZoomIn() const;
  bool CanZoomReset() const;

  // The device point of a click as the world point handed on: rounded, snapped with Shift.
  CDPoint ClickPoint(QPoint device, bool snap) const;

 public slots:
  // The section changed: render anew at the next paint.
  void Invalidate();
  // Zoom in by 1.6 up to 100, the pan scaled alike (the toolbar's 拡大).
  void ZoomIn();
  // Zoom 1.0 and no pan (the toolbar's 縮小, the right button).
  void ZoomReset();

 signals:
  // A left click at the world point (x, y), rounded and snapped; a coordinate may be −9e32.
  void PointClicked(double x, double y);
  void DoubleClicked();
  // The cursor's world coordinates, for the information pane.
  void CoordinateChanged(const QString& text);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;

 private:
  CViewInfo& ActiveView() const;
  // Draws the active case into a new back buffer of the widget's size.
  void Render();
  // Multiplies the zoom by the wheel's factor within its range.
  void WheelZoom(int delta);
  // Snaps a world point to the nearest shape point of the active case when there is one.
  CDPoint Snapped(const CDPoint& point) const;
  static void RequestRedraw();

  CManageCore& core_;
  std::function<int()> currentStep_;
  QImage backBuffer_;
  bool dirty_ = true;
  bool panning_ = false;
  DevPoint lastMouse_;
};
