#pragma once
// CRefStabKhDlg: the seismic-coefficient calculator "参考：設計水平震度" that the stability
// conditions dialog opens beside its kh field. It derives kh from the magnitude MJ and the shortest
// distance D to the fault, each time one of them is left, in the conditions it is given; 代入 makes
// the derived kh the design kh. キャンセル puts MJ, D and what was derived from them back.

#include "core/model/PrmStab.h"
#include "stage/controls/StageDialog.h"

class CExpEdit;

class CRefStabKhDlg : public StageDialog {
  Q_OBJECT

 public:
  // Runs the calculator modally on the conditions; true after 代入.
  static bool Calculate(CPrmStab& conditions, QWidget* parent);

  CRefStabKhDlg(CPrmStab& conditions, QWidget* parent = nullptr);

  void OnOK() override;
  void OnCancel() override;

 private:
  // MJ and D into the conditions, kh derived from them, all three shown.
  void OnInputLeft();
  void ShowValues();

  CExpEdit* distance_;
  CExpEdit* magnitude_;
  CExpEdit* kh_;
  CPrmStab* conditions_;  // observed: the conditions dialog's case
  CPrmStab opened_;       // the conditions at opening
};
