#pragma once
// CCmdStabBlockDlg: the modeless step-2 dialog "ブロック分割". It cuts the slide mass of the
// active case into vertical blocks on a working copy of the case's block list: the user picks the
// stratum the division runs along and the division start x, and sets the division positions by
// typing them, by the automatic division, through "X座標の追加" or by clicks in the dialog's own
// preview, which zooms (1 to 100 times) and pans with the middle button.
//
// The stage manager creates it with the main window as parent and shows it. OK writes the working
// copy back (at most CBlockList::kMaxBlocks blocks) and clears every result; when the positions,
// the start x, the division angle and the stratum are those of the case, OK closes as キャンセル
// does and changes nothing.
//
// The automatic division walks the slide mass at the division angle, which the block list keeps
// and a document stores; nothing else lets the user set it, and a new case's angle of 0 can
// divide nothing, so the dialog shows it in an edit of its own beside the start x. Both end with
// WM_CMD_STAB_BLOCK_CLOSE (wParam 1 after a write, else 0) sent to the frame, whose close member
// hides the dialog and deletes it later.

#include <QPoint>
#include <QWidget>
#include <cstddef>
#include <functional>

#include "core/geometry/ViewInfo.h"
#include "core/stability/BlockList.h"
#include "stage/controls/StageDialog.h"

class CCase;
class CExpButton;
class CExpEdit;
class CSheetGrid;
class CDPolyArray;
class QCheckBox;
class QComboBox;
class QLabel;

// The preview of the block dialog: draws through its own view mapping, zooms and pans, and
// reports left clicks in device coordinates.
class CBlockPreview : public QWidget {
  Q_OBJECT

 public:
  static constexpr double kZoomMin = 1.0;
  static constexpr double kZoomMax = 100.0;

  explicit CBlockPreview(QWidget* parent = nullptr);

  // Draws the picture into the prepared mapping.
  void SetDrawer(std::function<void(CViewInfo&)> drawer) { drawer_ = std::move(drawer); }
  // The world area shown at zoom 1.
  void SetArea(double left, double top, double right, double bottom);

  double Zoom() const { return zoom_; }
  QPoint Pan() const { return pan_; }
  // "拡大": 1.25 times, at most 100 times; the pan grows with the picture.
  void ZoomIn();
  // "縮小": back to the whole area, unpanned.
  void ZoomReset();
  // A wheel step: in for a positive delta, out for a negative one, within 1 to 100 times.
  void WheelStep(int delta);
  // The world point under a device point of the preview.
  CDPoint ToWorld(QPoint device);

 signals:
  void LeftClicked(QPoint device, bool shift);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;

 private:
  // The mapping for the preview's present size, zoom and pan.
  void PrepareView();
  void ScalePan(double factor);

  std::function<void(CViewInfo&)> drawer_;
  CViewInfo view_;
  double areaLeft_ = 0.0;
  double areaTop_ = 30.0;
  double areaRight_ = 30.0;
  double areaBottom_ = 0.0;
  double zoom_ = kZoomMin;
  QPoint pan_;       // pixels the picture is moved by
  QPoint dragFrom_;  // the last point of a middle-button drag
  bool dragging_ = false;
};

class CCmdStabBlockDlg : public StageDialog {
  Q_OBJECT

 public:
  // The grid's columns.
  enum Col { kColX = 1, kColTop, kColBottom, kColHeight, kColAngle, kColWater, kColCount = 6 };

  // The one way the stage manager starts it: created on the heap under the parent, bound to
  // its data, not yet shown (the stage manager's Attach shows it and owns the slot).
  static CCmdStabBlockDlg* Open(CCase& target, QWidget* parent);

  // The dialog on the case, editing a copy of its block list.
  CCmdStabBlockDlg(CCase& target, QWidget* parent = nullptr);
  ~CCmdStabBlockDlg() override;

  void OnOK() override;
  void OnCancel() override;
  // Reads the input into the working list, as OK does, and compares it with the case's list.
  bool HasUnappliedChanges() override;

  const CBlockList& WorkingList() const { return work_; }
  CBlockPreview& Preview() const { return *preview_; }
  // The line drawn highlighted in the preview; -1 for none.
  int HighlightedLine() const { return highlight_; }

  // The start x, the division angle (when one is typed) and the chosen stratum into the working
  // list.
  void StoreInput();
  // Column 1 of the grid becomes the working list's positions.
  void GridToXArray();
  // One row per block boundary.
  void FillGrid();
  // Where a preview click goes, marked with ※ on the start-x label or the grid's x header.
  void UpdateMouseMark();

 private:
  // The stratum polygons of the case's section; null when there are none.
  const CDPolyArray* Strata() const;
  void SetupGrid();
  void FillRow(int row, const CBlock& block, bool rightSide, bool first);
  void RedrawPreview();
  void DrawPreview(CViewInfo& view) const;
  bool GridTakesPoints() const;

  void OnAutoDivide();
  void OnAdd();
  void OnInsert();
  void OnDelete();
  void OnStratumChanged();
  void OnGridChange(int col, int row);
  void OnGridActiveRow(int row);
  void OnPreviewClick(QPoint device, bool shift);
  // The positions appended from the old count on, as the rebuild will keep them: each one moved
  // into the slide mass or merged with a position already there is named in a message.
  void ReportAdjustedPositions(std::size_t oldCount) const;
  // The start x, the angle, the stratum and the grid's positions into the working list, which is
  // then divided anew.
  void ReadInput();
  // Same positions, start x and stratum as the case's list, and that list is a confirmed one.
  bool IsSameAsCase() const;
  void WriteBack();
  void Rebuild();

  CCase& case_;
  CBlockList work_;
  int highlight_ = -1;

  QComboBox* stratum_;
  QLabel* startLabel_;
  CExpEdit* startX_;
  CExpEdit* angle_;
  CSheetGrid* grid_;
  CBlockPreview* preview_;
  CExpButton* zoomIn_;
  CExpButton* zoomReset_;
  QCheckBox* showGround_;
  QCheckBox* mouseInput_;
  QMetaObject::Connection focusWatch_;  // ends before the controls are torn down
};
