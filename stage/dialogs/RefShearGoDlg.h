#pragma once
// CRefShearGoDlg: the initial shear modulus G0 of two tested sites of strongly weathered rock,
// with the soil constants measured there. 代入 hands back the G0 of the chosen site.

#include "stage/controls/StageDialog.h"

class QRadioButton;

class CRefShearGoDlg : public StageDialog {
  Q_OBJECT

 public:
  static constexpr double kGraniteG0 = 26000.0;
  static constexpr double kSandstoneG0 = 22300.0;

  // The opener's current G0 is kept until 代入 picks a site.
  explicit CRefShearGoDlg(double current, QWidget* parent = nullptr);

  double G0() const { return g0_; }

  void OnOK() override;

 private:
  double g0_;
  QRadioButton* granite_;
  QRadioButton* sandstone_;
};
