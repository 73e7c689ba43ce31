#pragma once
// CResStabGraphMultiFsDlg: the Fs figure of the multi-plane results (Fs of every start and end
// block pair, one line per start block) for the normal or the seismic case, with the Fs range
// and step set by hand or automatically, zoomed by the wheel (1 to 8 times) and panned by
// dragging. It draws a copy of the case's forward results sorted by end block; OK carries the
// figure settings back into the case, キャンセル leaves them.

#include <QImage>
#include <QPoint>

#include "core/stability/ResStab2.h"
#include "stage/controls/StageDialog.h"

class CCase;
class CSheetGrid;
class QRadioButton;

class CResStabGraphMultiFsDlg : public StageDialog {
  Q_OBJECT

 public:
  static constexpr double kMinZoom = 1.0;
  static constexpr double kMaxZoom = 8.0;

  explicit CResStabGraphMultiFsDlg(CCase& target, QWidget* parent = nullptr);

  void OnOK() override;

  double Zoom() const { return zoom_; }
  // How many times the figure has been drawn.
  int RenderCount() const { return renderCount_; }

  // The figure area's events.
  void OnWheel(int delta);
  void OnDragStart(QPoint at);
  void OnDragMove(QPoint at);
  void OnDragEnd();
  // Draws the figure anew into the area's picture.
  void RenderFigure();
  const QImage& Figure() const { return figure_; }

 private:
  int ChosenCase() const;
  // The grid's three values into the settings of the case.
  void StoreRange(int resultCase);
  void ShowRange(int resultCase);
  void OnCaseClicked();
  void OnAutoRange();

  CCase& case_;
  CResStab2 own_;
  int shownCase_ = 0;
  double zoom_ = kMinZoom;
  QPoint pan_;
  QPoint dragFrom_;
  bool dragging_ = false;
  int renderCount_ = 0;
  QImage figure_;

  QWidget* area_;
  CSheetGrid* range_;
  QRadioButton* normal_;
  QRadioButton* quake_;
};
