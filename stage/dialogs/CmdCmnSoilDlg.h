#pragma once
// CCmdCmnSoilDlg: the soil constants of every stratum polygon of a case (name, display colour,
// unit weights, friction angle, cohesion) in one grid, edited on a copy of the case's ground.
// The rows can be reordered and filled from the soil reference table (参考値). OK writes the copy
// back when anything changed and clears the case's results when a value the calculations use
// changed. Unit weights must be above 0, the friction angle at least 0 and below 90 and the
// cohesion at least 0 (or the cell empty); a cell that breaks its rule is refused on leaving it
// and at OK.

#include <optional>
#include <string>

#include "core/section/SpGround.h"
#include "stage/controls/StageDialog.h"

class CCase;
class CManageCore;
class CSheetGrid;
class CSpStratumBlock;
class QPushButton;

class CCmdCmnSoilDlg : public StageDialog {
  Q_OBJECT

 public:
  // Runs the dialog on the case; true when it ended with OK. A case without stratum polygons is
  // refused with "先に[地層認識]を行って下さい。".
  static bool Run(CManageCore& core, CCase& target, QWidget* parent);

  // Core for its soil reference table, the case edited; the working copy is taken from the case.
  CCmdCmnSoilDlg(CManageCore& core, CCase& target, QWidget* parent = nullptr);

  void OnOK() override;

  void SetupSoilGrid();
  void LoadSoilGrid();
  // The grid into the working copy; a cell that is not a number keeps the block's value (the
  // check refuses it before OK).
  void StoreSoilGrid();
  void UpdateMoveButtons(int row);
  void PickReferenceSoil();

 private:
  struct SoilSame {
    bool all;         // every stored field of every block
    bool calcValues;  // the values the calculations use
  };
  SoilSame IsSameSoil() const;

  int BlockCount() const;
  CSpStratumBlock& Block(int index) const;
  // ▲ 上へ (step -1) and ▼ 下へ (+1): the active row's block changes places with its neighbour
  // and the active cell follows it.
  void MoveActiveRow(int step);
  // The rule of a constants cell; a message naming the cell when it is broken.
  std::optional<std::string> CheckCell(int col, int row) const;
  // Shows the first broken rule of the grid and puts the active cell there; true when none is.
  bool CheckAllCells();
  void OnGridClick(int col, int row);
  void OnLeaveCell(int col, int row, int newCol, int newRow, bool* cancel);

  CManageCore& core_;
  CCase& case_;
  CSpGround work_;  // the working copy of the case's ground

  CSheetGrid* grid_;
  QPushButton* up_;
  QPushButton* down_;
  QPushButton* reference_;
};
