#pragma once
// CRefInfomationDlg: the notice "補強土データ取込" after reinforcement data were imported from a
// CSV file: the import succeeded, and the engineer is to check the data against the method's
// guideline, whose two main items it lists.

#include "stage/controls/StageDialog.h"

class CRefInfomationDlg : public StageDialog {
  Q_OBJECT

 public:
  // Shows the notice modally until 閉じる.
  static void Notify(QWidget* parent);

  explicit CRefInfomationDlg(QWidget* parent = nullptr);
};
