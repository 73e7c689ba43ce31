#pragma once
// CRefUnitFilterDlg ("数値の丸め設定"): how numbers are rounded and to how many decimals the main
// quantities are held. It edits a working copy of the process-wide rounding rules; OK asks before
// it stores a change, because the caller then clears every result and rounds the soil values
// again; the caller tells the two apart by comparing the rules before and after.

#include <array>

#include "core/base/UnitFilter.h"
#include "stage/controls/StageDialog.h"

class QButtonGroup;
class QCheckBox;

class CRefUnitFilterDlg : public StageDialog {
  Q_OBJECT

 public:
  // Runs the rules modally; true when OK stored them.
  static bool Run(QWidget* parent);
  // Whether one of the four digit counts the dialog shows differs: the soil values are then
  // rounded anew.
  static bool DigitsDiffer(const CUnitFilter& a, const CUnitFilter& b);

  // The working copy is taken from the process-wide rules.
  explicit CRefUnitFilterDlg(QWidget* parent = nullptr);

  void OnOK() override;

 private:
  // The radio groups in the order of the controls, each with the setting it carries and the
  // difference between the setting and the button's index.
  enum Group { kModeGeneral, kDigitsFs, kModeFs, kDigitsC, kDigitsPhi, kDigitsKh, kGroupCount };

  void BuildLayout();
  // The working copy into the controls.
  void Show();
  // The controls into the working copy.
  void Read();
  // The rounding modes can be chosen only while the calculations round.
  void EnableModes() const;
  void OnReset();

  CUnitFilter work_;

  QCheckBox* roundSwitch_;
  std::array<QButtonGroup*, kGroupCount> groups_{};
};
