#pragma once
// Small services of the dialogs: anchored controls that follow a dialog's size within limits,
// a picture put into a dialog item, text put on the clipboard, and the folder of a path.
//
// The dialogs lay out their labels and buttons with Qt layouts (StageDialog); CResizeManage is
// for what keeps absolute geometry. Qt paints double-buffered, so a control needs no help to
// repaint what it uncovers: m_bRedrawParent is kept as the anchor's record only.

#include <QPoint>
#include <QPointer>
#include <QRect>
#include <QWidget>
#include <memory>
#include <string>
#include <vector>

class QPixmap;

// One anchored control: which of its edges follow the dialog's change of width and height.
class CResizeCtrl {
 public:
  CResizeCtrl(QWidget* control, bool moveX, bool moveY, bool sizeX, bool sizeY, bool redrawParent);
  virtual ~CResizeCtrl() = default;

  // Places the control at its base rectangle moved and grown by the change (dx, dy).
  void Move(int dx, int dy) const;

  QPointer<QWidget> m_pWnd;
  bool m_bMoveX;
  bool m_bMoveY;
  bool m_bSizeX;
  bool m_bSizeY;
  bool m_bRedrawParent;
  QRect m_rcBase;  // the control's rectangle in its dialog when it was added
};

class CResizeManage {
 public:
  virtual ~CResizeManage() = default;

  // Anchors the control at its present place in the dialog.
  void Add(QWidget* control, bool moveX, bool moveY, bool sizeX, bool sizeY, bool redrawParent);
  void RemoveAll();
  // Moves every anchored control by the change from m_rcBase to the dialog's new rectangle.
  void Resize(const QRect& dialogRect) const;
  // Keeps the dialog between the minimum and maximum tracking sizes.
  void ApplyTrackLimits(QWidget& dialog) const;

  std::vector<std::unique_ptr<CResizeCtrl>> m_list;
  QRect m_rcBase;  // the dialog's rectangle when the layout was set up
  QPoint m_ptMinTrack{0, 0};
  QPoint m_ptMaxTrack{2000, 1000};
};

// Shows the picture in the dialog's label `id` from its top-left corner, cut to the label's size.
void DrawItemBitmap(QWidget& dialog, int id, const QPixmap& bitmap);
// Puts the text on the clipboard; on failure says so and returns false.
bool CopyTextToClipboard(const std::string& text);
// The path up to its last separator ('\\' or '/'); the whole path when it has none.
std::string GetFolderOfPath(const std::string& path);
