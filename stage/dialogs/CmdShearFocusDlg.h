#pragma once
// CCmdShearFocusDlg: the modal step-4 dialog "局所破壊", the local-failure check of the rope net
// and the rock bolts at the coefficient of local failure that the shear deformation found. The
// user enters the planned safety factor and the breaking strength of the net, or takes the
// strength with the count of nets or horizontal ropes from the method table; every input
// recomputes the case's rope-net check at once, and the two result rows show the check against
// its limit with the judgement.
//
// It works on the case's CResFocus in place. OK keeps it and marks the case modified when
// anything stored differs from the opening state; キャンセル puts the opening state back.

#include "core/deformation/ResFocus.h"
#include "stage/controls/StageDialog.h"

class CCase;
class CExpEdit;
class CSheetGrid;
class QLabel;

class CCmdShearFocusDlg : public StageDialog {
  Q_OBJECT

 public:
  // Runs the dialog modally on the case; true when it ended with OK.
  static bool Run(CCase& target, QWidget* parent);

  explicit CCmdShearFocusDlg(CCase& target, QWidget* parent = nullptr);

  void OnOK() override;
  void OnCancel() override;

 private:
  void BuildLayout();
  // The check of the case's first bolt on the case's shear result; cleared without a bolt.
  void Recompute();
  // The fields, the unit label and the result rows from the case.
  void Show();
  void ShowResultRow(CSheetGrid& grid, double result, double limit, CResFocus::Judge judge);
  // The user's inputs into the case's check.
  void TakeOver();
  void OnInputLeft();
  void OnMethodReference();

  CCase& case_;
  CResFocus opened_;  // the check at opening

  CExpEdit* kh_;
  CExpEdit* trb_;
  CExpEdit* sag_;
  CExpEdit* count_;
  CExpEdit* trn_;
  CExpEdit* requiredFs_;
  CExpEdit* capacity_;
  QLabel* unit_;
  CSheetGrid* gridT_;
  CSheetGrid* gridFs_;
};
