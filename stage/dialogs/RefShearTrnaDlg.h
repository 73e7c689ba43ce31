#pragma once
// CRefShearTrnaDlg: the reference table "参考値：ロープネット破断強度、横方向ネット数" that the
// rope-net check opens from its 参考値：工法選択 button. Each row is a net method with its member,
// breaking strength TRNa and the number of nets or horizontal ropes that one soil block holds;
// 代入 hands back the active row's strength with that count and its unit word.

#include <optional>
#include <string>

#include "stage/controls/StageDialog.h"

class CSheetGrid;

class CRefShearTrnaDlg : public StageDialog {
  Q_OBJECT

 public:
  // What 代入 hands back. The count and the unit word stay as they were given for a row without
  // a method.
  struct Choice {
    double strength;
    int count;
    std::string unitWord;
  };

  // Runs the table modally: after 代入 the active row's choice, after キャンセル nothing.
  static std::optional<Choice> Choose(QWidget* parent);

  explicit CRefShearTrnaDlg(QWidget* parent = nullptr);

  // The strength of the active row (unset for an empty cell) with its count and unit word.
  Choice Chosen() const;

 private:
  CSheetGrid* grid_;
};
