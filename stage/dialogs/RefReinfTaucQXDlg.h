#pragma once
// CRefReinfTaucQXDlg: the guideline table of allowable bond stresses between rock bolt and grout
// "参考値：ロックボルトと注入材の許容付着応力", by the grout's design strength; 代入 hands back
// the stress of the active row.

#include <optional>

#include "stage/controls/StageDialog.h"

class CSheetGrid;

class CRefReinfTaucQXDlg : public StageDialog {
  Q_OBJECT

 public:
  // Runs the table modally: after 代入 the chosen τc (N/mm2), after キャンセル nothing.
  static std::optional<double> Choose(QWidget* parent);

  explicit CRefReinfTaucQXDlg(QWidget* parent = nullptr);

  // The stress of the active row.
  double ChosenTauc() const;

 private:
  CSheetGrid* grid_;
};
