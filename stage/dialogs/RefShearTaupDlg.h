#pragma once
// CRefShearTaupDlg: the ultimate skin friction τp of the ground "参考値：極限周面摩擦抵抗",
// either estimated from the guideline's table by ground type (推定値) or computed from the mean
// Nd of the simple dynamic cone penetration test, τ = (13Nd + 14) / 1000 N/mm2 (近似式計算).
// The table's clay row gives no value of its own (it is 0.8 times the clay's cohesion), so it is
// refused with the advice to enter τp directly.

#include <optional>

#include "core/base/Utility.h"
#include "stage/controls/StageDialog.h"

class CExpEdit;
class CSheetGrid;
class QLabel;
class QRadioButton;

class CRefShearTaupDlg : public StageDialog {
  Q_OBJECT

 public:
  enum Mode { kTable = 0, kFormula = 1 };

  // Runs the picker modally: after 代入 the chosen τp (unset when the formula was chosen without
  // an Nd), after キャンセル nothing.
  static std::optional<double> Choose(QWidget* parent);

  explicit CRefShearTaupDlg(QWidget* parent = nullptr);

  // τ of the formula for the mean Nd; unset while Nd is unset.
  static double FormulaTau(double nd);

  void OnOK() override;

 private:
  void SetMode(Mode mode);
  // Nd taken from its field, τ computed and shown.
  void OnNdLeft();

  CSheetGrid* grid_;
  CExpEdit* tau_;
  CExpEdit* nd_;
  QRadioButton* tableMode_;
  QRadioButton* formulaMode_;
  QLabel* citation_;
  QWidget* formulaPanel_;
  Mode mode_ = kTable;
  double ndValue_ = kNoValue;  // the mean Nd last left in its field
  double chosen_ = kNoValue;
};
