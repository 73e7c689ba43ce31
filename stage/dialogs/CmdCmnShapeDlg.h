#pragma once
// CCmdCmnShapeDlg: the modeless terrain editor "地形座標の入力". It edits the ground line, the
// stratum boundaries and the water line of the active case in place, on three grid pages, so that
// the view shows every edit at once; with マウス入力 on, clicks in the view enter points.
//
// The stage manager opens it with Open and shows it; it hands view clicks to SetPoint. OK and
// キャンセル end with WM_CMD_COMMON_SHAPE_CLOSE (wParam 1 after OK, 0 after cancel) sent to the
// frame, whose close member hides the dialog and deletes it later; the dialog never closes
// itself. Cancel (and the title bar's close button) puts back everything the editor changed: the
// three shapes and the grid settings.

#include <memory>

#include "core/geometry/DPolyArray.h"
#include "core/model/PrmGrid.h"
#include "core/section/SpGround.h"
#include "core/section/SpWater.h"
#include "stage/controls/StageDialog.h"

class CCase;
class CCmdCmnShapeChildDlg;
class CCmdCmnShapeWaterChildDlg;
class CExpButton;
class CManageCore;
class CShapeGridPage;
class QCheckBox;
class QTabWidget;

class CCmdCmnShapeDlg : public StageDialog {
  Q_OBJECT

 public:
  // The tabs in their order.
  enum Tab { kTabGround = 0, kTabStrata = 1, kTabWater = 2 };

  // The one way the stage manager starts it: created on the heap under the parent, bound to
  // its data, not yet shown (the stage manager's Attach shows it and owns the slot).
  static CCmdCmnShapeDlg* Open(CManageCore& core, QWidget* parent);

  explicit CCmdCmnShapeDlg(QWidget* parent = nullptr);
  ~CCmdCmnShapeDlg() override;

  // Binds the editor to the core's active case: the case's section becomes the one the view
  // highlights in, mouse input is off, the shapes and grid settings are backed up and the pages
  // are loaded, ground first.
  void BindCase(CManageCore* core);
  // A click in the view at a world point; entered on the current page while マウス入力 is on.
  void SetPoint(double x, double y);

  void OnOK() override;
  void OnCancel() override;
  bool HasUnappliedChanges() override;

  CShapeGridPage& Page(Tab tab) const;

 private:
  // What the editor changed in the case against the backup, the empty rows that OK drops left
  // out.
  struct Changes {
    bool geometry = false;
    bool names = false;
    bool Any() const { return geometry || names; }
  };
  Changes CompareWithBackup() const;
  void ReloadPages();
  void StorePages();
  // The current tab's selection is highlighted in the view.
  void ShowActivePage();
  void OnReverse();
  void OnMirror();
  void OnCopy();
  void OnMouseInput(bool on);
  // Ends the editing of the case's section and tells the frame to close the editor.
  void Close(bool ok);

  QTabWidget* tabs_;
  CCmdCmnShapeChildDlg* ground_;
  CCmdCmnShapeChildDlg* strata_;
  CCmdCmnShapeWaterChildDlg* water_;
  CExpButton* reverse_;
  CExpButton* mirror_;
  CExpButton* copy_;
  QCheckBox* mouseInput_;

  CCase* case_ = nullptr;  // observed: the core's active case while the editor is open
  CSpGround backupGround_;
  CDPolyArray backupStrata_;
  CSpWater backupWater_;
  CPrmGrid backupGrid_;
};
