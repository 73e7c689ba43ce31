#pragma once
// CRefSlideLDlg: "すべり面から代入", the slide-surface length l of the slide mass of the run
// registered for the seismic case, block by block: each block's width, base angle and base
// length, the last block closed by its end face instead of its base (its row says so), and the
// total over the rows. 代入 gives the total back; it stays disabled while there is none (no
// registered seismic run, or no blocks for it), so that no empty length ever reaches the opener.

#include <optional>

#include "stage/controls/StageDialog.h"

class CCase;
class CSheetGrid;
class QPushButton;

class CRefSlideLDlg : public StageDialog {
  Q_OBJECT

 public:
  // Runs the picker on the case; the total length after 代入, nothing after キャンセル.
  static std::optional<double> PickLength(const CCase& source, QWidget* parent);

  explicit CRefSlideLDlg(const CCase& source, QWidget* parent = nullptr);

  // The total slide-surface length; kNoValue while there is none.
  double Result() const { return result_; }

 private:
  void FillBlocks(const CCase& source);

  CSheetGrid* blocks_;
  CSheetGrid* total_;
  QPushButton* assign_ = nullptr;
  double result_;
};
