#pragma once
// CCmdStabArcDlg: the modeless dialog "円弧範囲の設定" in which the slip-circle search condition
// of the active case is edited while the section stays in view: the kind of circle set on one of
// five pages, the valid range of the circle ends, the strata a circle may not pass, and the way to
// the pass lines and the not-pass lines. It edits the condition the search reads in place, and
// the case draws it while the dialog is open; points can be clicked in the view into the grid that
// is the mouse target while "マウス入力(*の場所)" is checked.
//
// The condition is not stored with the document; the strata switches are (they are the stratum
// properties' `extra`, which the search's stratum test reads). OK refuses a set the search cannot
// run, with a message naming the grid; otherwise it keeps the edit, sets the case's two change
// flags when anything changed, marks the case modified and in use when a strata switch changed,
// and ends with WM_CMD_STAB_ARC_CLOSE (wParam 1) to the frame. キャンセル and the title bar's
// close put back the condition and every strata switch as they were on opening and end with
// wParam 0. 通過線 and 不通過線 ask the frame for the line dialog, which hides this one.

#include <array>
#include <vector>

#include "core/circle/ArcCondition.h"
#include "stage/controls/StageDialog.h"

class CCase;
class CCmdStabArcTypeDlg;
class CSheetGrid;
class CSpStratumBlock;
class QCheckBox;
class QLabel;
class QPushButton;
class QTabWidget;

class CCmdStabArcDlg : public StageDialog {
  Q_OBJECT

 public:
  // Edits the case's search condition for the condition index (1 for the stage manager's
  // dialog); previous, which may be null, is what 前の条件をｺﾋﾟｰ copies.
  CCmdStabArcDlg(CCase& target, int conditionIndex, const CArcCondition* previous,
                 QWidget* parent = nullptr);
  // The one way the stage manager starts it: created on the heap under the parent, not yet
  // shown (the stage manager's Attach shows it and owns the slot).
  static CCmdStabArcDlg* Open(CCase& target, int conditionIndex, const CArcCondition* previous,
                              QWidget* parent);

  // A view click (world point): to the selected page while mouse input is on and a grid is the
  // mouse target.
  void SetPoint(double x, double y);
  // The mouse target of the selected page: 1 its first mouse grid, 2 its second, else none.
  void SetMouseTarget(int target);

  void OnOK() override;
  void OnCancel() override;

  CCmdStabArcTypeDlg& Page(int kind) const { return *pages_.at(static_cast<std::size_t>(kind)); }
  int MouseTarget() const { return mouseTarget_; }

 protected:
  void OnGridEnter(CSheetGrid& grid) override;
  void showEvent(QShowEvent* event) override;

 private:
  void BuildControls();
  void BuildLayout();
  void ConnectControls();

  // The stratum polygons of the section, in its order.
  std::vector<CSpStratumBlock*> Strata() const;
  void FillStrataGrid();
  void FillRangeGrid();
  // The value cells of a limit row locked while its switch is off.
  void LockRangeRow(int row);
  void ShowLineCounts();
  void ShowAllSettings();

  // The range grid into the limit, ordered.
  void StoreRange();
  // Every page into its set, the kind, the limit and the strata switches; a redraw.
  void Apply();
  // The message for the selected set's verdict, naming its grid; empty when the set can run.
  std::string SettingProblem() const;
  bool StrataChanged() const;
  // The search of a case divided into blocks reads the divided section's own copies of the
  // strata: each takes the switch of the stratum it lies in, in place.
  void PassSwitchesToDivision();
  // The mouse no longer drives the condition, and the case draws its own data again.
  void EndMouseEditing();

  void OnTabChanged(int index);
  void OnCopyPrevious();

  CCase& case_;
  CArcCondition& condition_;
  const CArcCondition* previous_;
  const int conditionIndex_;
  CArcCondition opened_;             // the condition on opening, for キャンセル
  std::vector<int> openedSwitches_;  // each stratum's switch on opening
  int mouseTarget_ = 1;  // the selected page's first mouse grid takes clicks from the opening on
  bool initialising_ = true;

  CSheetGrid* strataGrid_;
  CSheetGrid* rangeGrid_;
  QTabWidget* tabs_;
  std::array<CCmdStabArcTypeDlg*, kArcSetKindCount> pages_{};
  QLabel* passCount_;
  QLabel* notPassCount_;
  QCheckBox* mouse_;
  QPushButton* passLines_;
  QPushButton* notPassLines_;
  QPushButton* copyPrevious_;
};
