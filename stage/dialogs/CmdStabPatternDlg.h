#pragma once
// CCmdStabPatternDlg: the modeless step-2 dialog "安定計算条件", the conditions of the multi-plane
// stability analysis of the active case: the load cases analysed (常時, 地震時), the planned
// safety factor of the normal case, the design horizontal seismic coefficient, the bottom level of
// the terrain-effect method and the pore-water pressure with the unit weight of water.
//
// It edits the case's conditions in place, so that the view follows each switch at once; the
// conditions as they were at opening are its backup. OK keeps them (marking the case modified and
// clearing its results when anything differs from the backup), キャンセル and the title bar's
// close put the backup back. Both end with WM_CMD_STAB_PATTERN_CLOSE (wParam 1 after OK, 0 after
// cancel) to the frame, whose close member hides the dialog and deletes it later; the dialog never
// closes itself.

#include <QList>

#include "core/model/PrmStab.h"
#include "stage/controls/StageDialog.h"

class CCase;
class CExpEdit;
class QCheckBox;
class QLabel;
class QPushButton;

class CCmdStabPatternDlg : public StageDialog {
  Q_OBJECT

 public:
  // The one way the stage manager starts it: created on the heap under the parent, bound to
  // its data, not yet shown (the stage manager's Attach shows it and owns the slot).
  static CCmdStabPatternDlg* Open(CCase& target, QWidget* parent);

  explicit CCmdStabPatternDlg(QWidget* parent = nullptr);

  // Binds the dialog to the case: its conditions are backed up and shown, and the view redrawn.
  void BindCase(CCase& target);

  void OnOK() override;
  void OnCancel() override;
  bool HasUnappliedChanges() override;

 private:
  // The case's conditions into the controls.
  void LoadControls();
  // The controls into the conditions; an empty field stores the unset value and a field that
  // still shows the stored value keeps it exactly.
  void StoreControls(CPrmStab& stab) const;
  // Each field with its labels and buttons only while its switch is on.
  void EnableControls();
  void OnSwitchClicked();
  void OnFsReference();
  void OnKhReference();
  void OnBottomLevel();
  void OnDetail();
  // Clearing the results that exist is the user's choice.
  bool ConfirmResultsCleared() const;
  void Close(bool ok);

  QCheckBox* normal_;
  QCheckBox* quake_;
  CExpEdit* fsp_;
  QPushButton* fspReference_;
  CExpEdit* kh_;
  QPushButton* khReference_;
  CExpEdit* bottom_;
  QPushButton* bottomFromCase_;
  QCheckBox* water_;
  CExpEdit* gammaW_;
  QList<QLabel*> fspLabels_;
  QList<QLabel*> quakeLabels_;
  QList<QLabel*> waterLabels_;

  CCase* case_ = nullptr;  // observed: the active case while the dialog is open
  CPrmStab opened_;        // the conditions at opening
};
