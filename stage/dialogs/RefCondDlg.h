#pragma once
// CRefCondDlg ("基準値の設定"): the eight process-wide standard values of the deformation checks.
// The dialog edits them in its fields only; 適用 checks them, asks before it clears the results
// that were computed or judged with a value it changes, and stores them only once the
// standard-values file holds them. キャンセル leaves everything as it was on opening.

#include <array>
#include <optional>

#include "core/model/RefCond.h"
#include "stage/controls/StageDialog.h"

class CExpEdit;
class CManageCore;

class CRefCondDlg : public StageDialog {
  Q_OBJECT

 public:
  // Runs the standard values modally; true when OK applied them.
  static bool Run(CManageCore& core, QWidget* parent);

  // The results the dialog may clear are those of the core's cases.
  explicit CRefCondDlg(CManageCore& core, QWidget* parent = nullptr);

  void OnOK() override;

 private:
  void BuildLayout();
  void ShowValues(const CRefCond::Values& values) const;
  void OnReset();
  // The fields' values, or nothing after telling the user which field cannot be taken.
  std::optional<CRefCond::Values> ReadValues() const;
  // Which results were computed or judged with a value that the edit changes.
  struct Clearing {
    bool slide = false;
    bool shear = false;  // with the rope-net checks
  };
  // The results to clear once the values are stored; nothing when the user declined (there were
  // results to clear, and the user would rather keep them).
  std::optional<Clearing> AskClearing(const CRefCond::Values& edited) const;
  void ClearResults(const Clearing& clearing) const;
  // Writes the values to the standard-values file and makes them current; on failure the user is
  // told and the current values stay.
  bool Store(const CRefCond::Values& edited) const;

  CManageCore& core_;
  const CRefCond::Values opening_;
  std::array<CExpEdit*, 8> fields_{};
};
