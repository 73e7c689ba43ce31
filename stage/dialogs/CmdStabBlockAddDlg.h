#pragma once
// CCmdStabBlockAddDlg: "X座標の追加", a modal grid of x coordinates at which the slide mass is to
// be cut into further blocks. OK appends every filled cell, in row order, to the division
// positions of the block list it was given; キャンセル leaves the list alone. The positions are
// neither sorted nor checked here: the block division dialog rebuilds its blocks afterwards,
// which keeps them within the slide mass, sorts them and merges those that coincide.

#include "core/stability/BlockList.h"
#include "stage/controls/StageDialog.h"

class CSheetGrid;

class CCmdStabBlockAddDlg : public StageDialog {
  Q_OBJECT

 public:
  // The grid's rows: as many positions as a division may hold blocks.
  static constexpr int kRows = CBlockList::kMaxBlocks;

  explicit CCmdStabBlockAddDlg(QWidget* parent = nullptr);

  // The list the positions are appended to; set before the dialog is shown.
  void SetBlockList(CBlockList* target) { target_ = target; }

  void OnOK() override;

 private:
  void OnGridKeyDown(const int* keyCode);

  CSheetGrid* grid_;
  CBlockList* target_ = nullptr;  // observed
};
