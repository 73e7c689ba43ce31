#pragma once
// CRefStabPatternDlg: the detail settings of the stability calculation that the conditions
// dialog opens from 計算条件の詳細設定: the rule for the slice's maximum width, the rule for a
// negative N − U and the unit weight of water. The case holds none of these choices, so the dialog
// shows them read-only, says so in its title and has only 閉じる: no control pretends to store.

#include "stage/controls/StageDialog.h"

class CRefStabPatternDlg : public StageDialog {
  Q_OBJECT

 public:
  // Runs the dialog modally.
  static void Show(QWidget* parent);

  explicit CRefStabPatternDlg(QWidget* parent = nullptr);
};
