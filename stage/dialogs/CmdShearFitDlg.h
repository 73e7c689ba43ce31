#pragma once
// CCmdShearFitDlg: the strain dependence of the soil's shear modulus, G/G0 = 1 / (1 + b·γ^c),
// of the active case. The engineer enters b and c (係数入力), or up to 30 test points whose fit
// gives them (試験値入力), and sees the G/G0–γ graph. Each 計算・作図 and each change of the
// mode writes the case's fit at once; キャンセル puts back the fit of the moment of opening. OK
// marks the case modified when anything stored differs from that moment, and clears the shear
// and rope-net results when b or c, which the shear calculation reads, changed.

#include "core/model/Fit.h"
#include "stage/controls/StageDialog.h"

class CCase;
class CExpEdit;
class CSheetGrid;
class CShearGraphFrame;
class QLabel;
class QPushButton;
class QRadioButton;

class CCmdShearFitDlg : public StageDialog {
  Q_OBJECT

 public:
  // Runs the dialog on the case; true when it ended with OK.
  static bool Run(CCase& target, QWidget* parent);

  explicit CCmdShearFitDlg(CCase& target, QWidget* parent = nullptr);

  // 計算・作図.
  void Calculate();
  // 参考値: the coefficients of a tested site into the b and c boxes.
  void PickReference();

  void OnOK() override;
  void OnCancel() override;

 private:
  void BuildLayout();
  void SetupGrid();
  int ChosenMode() const;
  // The fit into the boxes, the grid and the graph, enabled by its mode.
  void Refresh();
  void EnableByMode(int mode);
  // The chosen mode, and the boxes (mode 0) or the grid's strains and measured values (mode 1),
  // into the fit.
  void TakeInput();
  void OnModeChanged();
  bool StoredChanged() const;

  CCase& case_;
  CFit& fit_;
  CFit saved_;

  CExpEdit* b_;
  CExpEdit* c_;
  CExpEdit* count_;
  QLabel* countLabel_;
  QRadioButton* coefficients_;
  QRadioButton* tests_;
  CSheetGrid* grid_;
  QPushButton* reference_;
  CShearGraphFrame* graph_;
};
