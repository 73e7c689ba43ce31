#pragma once
// CRefReinfFsaDlg: the guideline's safety factor of the skin-friction resistance
// "参考値：周面摩擦抵抗の安全率"; 代入 hands back the pair of factors it stands for.

#include <optional>

#include "stage/controls/StageDialog.h"

class CRefReinfFsaDlg : public StageDialog {
  Q_OBJECT

 public:
  // The factors for the normal and the seismic case; the table shows the seismic one.
  struct Factors {
    double normal = 2.0;
    double seismic = 1.5;
  };

  // Runs the dialog modally: after 代入 the factors, after キャンセル nothing.
  static std::optional<Factors> Choose(QWidget* parent);

  explicit CRefReinfFsaDlg(QWidget* parent = nullptr);
};
