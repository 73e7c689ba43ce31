#pragma once
// CCmdDrainArrangeDlg: the modeless dialog "対策工配置" of steps 3 and 4 in which the rock bolts
// of the active case are laid out: up to ten ranges on the ground line, each with its rows,
// spacing, bar length and inclination, from which ↓ ロックボルトの配置 creates the bars of the
// case's arrangement; the bars can then be edited one by one in the bar grid. The points of a
// range can be picked in the view.
//
// The ranges are edited in a working copy of the case's reinforcement conditions, which the view
// draws while the dialog is open; the bars are edited in the case's own arrangement, of which the
// state at opening is kept. OK keeps both (marking the case modified when anything differs, and
// clearing the deformation results when the bars the calculations read differ); キャンセル and
// the title bar's close put the arrangement back. Both end with WM_CMD_SLIDE_ARRANGE_CLOSE
// (wParam 1 after OK, 0 after cancel) to the frame, which hides and deletes the dialog; the
// view draws the case's own conditions again.

#include <QList>

#include "core/deformation/ReinfArrange.h"
#include "core/model/PrmReinf.h"
#include "stage/controls/StageDialog.h"

class CCase;
class CExpEdit;
class CSheetGrid;
class CSpGround;
class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;
class QRadioButton;

class CCmdDrainArrangeDlg : public StageDialog {
  Q_OBJECT

 public:
  // The one way the stage manager starts it: created on the heap under the parent, bound to
  // its data, not yet shown (the stage manager's Attach shows it and owns the slot).
  static CCmdDrainArrangeDlg* Open(CCase& target, QWidget* parent);

  // Binds the dialog to the case: the conditions are copied for editing and the view pointed at
  // the copy, the arrangement is kept for キャンセル.
  explicit CCmdDrainArrangeDlg(CCase& target, QWidget* parent = nullptr);

  // A view click: fills the upper or the lower point of the current range, alternately, while
  // the conditions box and マウス入力 are both checked.
  void SetPoint(double x, double y);

  void OnOK() override;
  void OnCancel() override;
  bool HasUnappliedChanges() override;

  // The working conditions (the ranges being edited).
  const CPrmReinf& Working() const { return work_; }
  int CurrentRange() const { return current_; }

 protected:
  void OnGridEnter(CSheetGrid& grid) override;

 private:
  void BuildControls();
  void BuildLayout();
  void ConnectControls();
  // The ground the ranges lie on.
  const CSpGround& Ground() const;

  // The current range into the controls, and back.
  void ShowRange();
  void ReadRange();
  void ShowSlopeLength();
  // Colours and headers of the range grid for the point the next click fills.
  void MarkRangeGrid();
  void SetNextPoint(int next);
  void EnableControls();
  // The range grid's points were edited (typed, deleted or picked).
  void OnRangePointsEdited();

  void OnRangeSelected(int index);
  void OnClearRange();
  void OnArrange();
  // The bars of the valid ranges, replacing the arrangement's bars.
  void CreateBars();
  void OnClearBars();

  void FillBarGrid();
  // The six edited values of a grid row into its bar.
  void ReadBarRow(int row);
  void OnBarChanged(int col, int row);
  void OnBarLeaveCell(int col, int row, int newCol, int newRow, bool* cancel);
  void OnRangeLeaveCell(int col, int row, int newCol, int newRow, bool* cancel);
  void OnRangeKeyDown(int* keyCode, int shift);

  // The conditions box, the current range and every bar row into the working conditions and the
  // case's bars, as OK takes them.
  void ReadControls();
  // The bars differ from those at opening; the calculations read them.
  bool BarsChanged() const;
  // The working conditions differ from the case's.
  bool ConditionsChanged() const;
  void Close(bool ok);

  CCase& case_;
  CPrmReinf work_;        // the conditions being edited; the view draws them
  CReinfArrange opened_;  // the case's arrangement at opening
  int current_ = 0;       // the range shown
  int nextPoint_ = 0;     // 0: the next picked point is the upper one, 1: the lower one

  QCheckBox* conditions_;
  QLabel* rangeLabel_;
  QComboBox* rangeList_;
  QPushButton* clearRange_;
  CSheetGrid* rangeGrid_;
  QCheckBox* mouse_;
  CExpEdit* slopeLength_;
  CExpEdit* rows_;
  CExpEdit* alpha_;
  QCheckBox* perpendicular_;
  CExpEdit* lrb_;
  CExpEdit* extra_;
  CExpEdit* sh_;
  CExpEdit* sv_;
  QRadioButton* fromUpper_;
  QRadioButton* fromLower_;
  CExpEdit* fixedUpper_;
  CExpEdit* fixedLower_;
  QList<QLabel*> fixedUpperLabels_;
  QList<QLabel*> fixedLowerLabels_;
  QList<QLabel*> rangeLabels_;
  QPushButton* arrange_;
  QPushButton* clearBars_;
  CExpEdit* total_;
  CSheetGrid* barGrid_;
};
