#pragma once
// CRefStabFsDlg: the reference table of planned safety factors "参考値：計画安全率" that the
// stability conditions dialog opens beside its Fsp field. It lists the standard 計画安全率 and
// 現状安全率 with their source; 代入 hands back the safety factor of the active row.

#include <optional>

#include "stage/controls/StageDialog.h"

class CSheetGrid;

class CRefStabFsDlg : public StageDialog {
  Q_OBJECT

 public:
  // Runs the table modally: after 代入 the chosen safety factor, after キャンセル nothing.
  static std::optional<double> Choose(QWidget* parent);

  explicit CRefStabFsDlg(QWidget* parent = nullptr);

  // The safety factor of the active row: 1.0 on the 現状安全率 row, 1.2 on any other.
  double ChosenFs() const;

 private:
  CSheetGrid* grid_;
};
