#pragma once
// CRefShearFitDlg: the coefficients b and c of the curve G/G0 = 1 / (1 + b·γ^c) fitted to the
// tests of four sites, with the tests' values. 代入 hands back the b and c of the site whose
// column holds the active cell of the coefficient table.

#include "core/base/Utility.h"
#include "stage/controls/StageDialog.h"

class CSheetGrid;

class CRefShearFitDlg : public StageDialog {
  Q_OBJECT

 public:
  explicit CRefShearFitDlg(QWidget* parent = nullptr);

  // Unset until 代入.
  double B() const { return b_; }
  double C() const { return c_; }

  void OnOK() override;

 private:
  double b_ = kNoValue;
  double c_ = kNoValue;
  CSheetGrid* coefficients_;
};
