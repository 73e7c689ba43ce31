#pragma once
// CCmdSlidElementDlg: the countermeasure specifications "対策工諸元" of a case: the skin
// frictions between ground and grout in the moving and the stable layer (τp1, τp2), the
// seismic safety factor of the skin friction (Fsa), the seismic allowable bond stress between
// rock bolt and grout (τc) and the rock-bolt standard. Each value has its reference picker, the
// standard from the program's bar table; 補強土データ取込み reads reinforcement data from a CSV
// file into the case.
//
// The dialog edits the case in place (the pickers and the import work on it); Cancel puts back
// the specifications, the arrangement and the slide conditions (which the import also sets) as
// they were at opening. OK marks the case modified when anything stored changed and clears the
// results that read what changed: the shear deformation and the rope-net check for the
// specifications, the slide deformation for the slide conditions, the rope-net check for the
// arrangement.

#include "core/deformation/ReinfArrange.h"
#include "core/model/PrmReinf.h"
#include "core/model/PrmSlide.h"
#include "stage/controls/StageDialog.h"

class CCase;
class CExpEdit;
class CManageCore;
class CSheetGrid;

class CCmdSlidElementDlg : public StageDialog {
  Q_OBJECT

 public:
  // Runs the dialog on the case; true when it ended with OK.
  static bool Run(CManageCore& core, CCase& target, QWidget* parent);

  // The core for its standard-bar table; the case edited.
  CCmdSlidElementDlg(CManageCore& core, CCase& target, QWidget* parent = nullptr);

  void OnOK() override;
  void OnCancel() override;

 private:
  void BuildLayout();
  void SetupBarGrid();
  // The case's specifications into the fields and the bar grid.
  void Show();
  // The fields and the bar grid into the case's specifications.
  void TakeOver();
  // The picker's τp into the skin friction of one layer.
  void PickTaup(double CPrmReinf::*layer);
  void PickFsa();
  void PickTauc();
  void PickBar();
  void ImportCsv();
  // The modified flag and the results cleared for what differs from the state at opening.
  void RecordChanges();

  CManageCore* core_;
  CCase* case_;
  CPrmReinf openedReinf_;
  CReinfArrange openedArrange_;
  CPrmSlide openedSlide_;

  CExpEdit* tauP1_;
  CExpEdit* tauP2_;
  CExpEdit* fsa_;
  CExpEdit* tauc_;
  CSheetGrid* bar_;
};
