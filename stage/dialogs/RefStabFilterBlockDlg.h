#pragma once
// CRefStabFilterBlockDlg: the display conditions of the multi-plane results. It edits the
// exclusion switch and the excluded block ranges of a result key; a range is a start and an end
// block as the user counts them, and either end may be left open. OK writes the ranges back in
// ascending order; キャンセル leaves the key as it was.

#include "stage/controls/StageDialog.h"

class CMltKey;
class CSheetGrid;
class QCheckBox;

class CRefStabFilterBlockDlg : public StageDialog {
  Q_OBJECT

 public:
  // The key outlives the dialog; it changes only on OK.
  explicit CRefStabFilterBlockDlg(CMltKey& key, QWidget* parent = nullptr);

  void OnOK() override;

 private:
  // The grid takes input only while exclusion is on; its cells are grey while it is off.
  void ApplyGridState();
  // A cell whose edit ended holding 0 is emptied.
  void OnEditEnded(int col, int row, int mode);

  CMltKey& key_;
  QCheckBox* exclusion_;
  CSheetGrid* grid_;
};
