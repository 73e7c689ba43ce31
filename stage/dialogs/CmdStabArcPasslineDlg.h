#pragma once
// CCmdStabArcPasslineDlg: the modeless dialog "通過線" (kind 1) or "不通過線" (kind 2) of the
// circle-search condition: the lines a trial slip surface must cross, or must not cross, with
// their colour. It edits the case's condition in place while the circle-search dialog is hidden;
// the case draws the line under edit, and two clicks in the view enter a line's start and end.
// OK drops the lines with an unset coordinate; キャンセル and the title bar's close put the lines
// and the colour back as they were on opening. Both end mouse editing and send
// WM_CMD_STAB_ARC_PASS_CLOSE (wParam 1 after OK, 0 after cancel) to the frame, which deletes the
// dialog and shows the circle-search dialog again.

#include "core/circle/ArcCondition.h"
#include "stage/controls/StageDialog.h"

class CCase;
class CSheetGrid;

class CCmdStabArcPasslineDlg : public StageDialog {
  Q_OBJECT

 public:
  static constexpr int kPassLines = 1;
  static constexpr int kNotPassLines = 2;
  // The rows of the line grid: the most lines of a list.
  static constexpr int kRows = 20;

  CCmdStabArcPasslineDlg(CCase& target, int kind, QWidget* parent = nullptr);
  // The one way the stage manager starts it, as CCmdStabArcDlg::Open.
  static CCmdStabArcPasslineDlg* Open(CCase& target, int kind, QWidget* parent);

  // A view click: the start or the end of the active row's line, by the active column.
  void SetPoint(double x, double y);

  void OnOK() override;
  void OnCancel() override;

 private:
  void FillGrids();
  // The colour cell and every row into the line list.
  void ReadGrids();
  // The active row's line follows the mouse at its start (columns 1, 2) or its end (3, 4).
  void FollowActiveCell(int col, int row);
  void OnColourCell();
  void EndEditing();

  CCase& case_;
  const int kind_;
  CArcPassLine& lines_;
  CArcPassLine opened_;  // the lines and the colour on opening, for キャンセル

  CSheetGrid* colourGrid_;
  CSheetGrid* lineGrid_;
};
