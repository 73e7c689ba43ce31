#pragma once
// CCmdStabShapeLoadDlg: the modeless dialog "荷重の入力" of the stability step, the input of a
// distributed surface load: its name, the load cases it acts in, whether it adds to the resisting
// or to the sliding force, its range X1 to X2 and its intensity q. With マウス入力 checked, clicks
// in the view fill the range ends, X1 and X2 in turn.
//
// No case record holds surface loads, so the dialog keeps nothing: its list of loads stays empty,
// 追加, 変更 and 削除 are disabled, and OK changes nothing in the case (it neither marks the case
// modified or in use nor clears its results). OK, キャンセル and the title bar's close all end the
// dialog with WM_CMD_STAB_LOAD_CLOSE (wParam 1 after OK, 0 after cancel) to the frame, whose close
// member hides the dialog and deletes it later; the dialog never closes itself.

#include "stage/controls/StageDialog.h"

class CExpEdit;
class QButtonGroup;
class QCheckBox;
class QComboBox;

class CCmdStabShapeLoadDlg : public StageDialog {
  Q_OBJECT

 public:
  explicit CCmdStabShapeLoadDlg(QWidget* parent = nullptr);
  // The one way the stage manager starts it, as CCmdStabArcDlg::Open.
  static CCmdStabShapeLoadDlg* Open(QWidget* parent);

  // The index of the selected load in the list; -1 for none.
  int SelectedLoad() const { return selected_; }
  // A view click's world x: fills the range end due next and moves the focus to the other one,
  // while マウス入力 is checked.
  void SetPoint(double x);

  void OnOK() override;
  void OnCancel() override;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // The selected load into the controls: with none, every switch and field is cleared.
  void Refresh();
  void OnLoadActivated(int index);
  void Close(bool ok);

  QComboBox* loads_;
  QCheckBox* rainfall_;
  QCheckBox* seismicL1_;
  QCheckBox* seismicL2_;
  QButtonGroup* direction_;
  CExpEdit* x1_;
  CExpEdit* x2_;
  CExpEdit* q_;
  QCheckBox* mouse_;

  int selected_ = 0;      // the list is never filled; 0 as after opening
  int nextRangeEnd_ = 0;  // 0: the next click fills X1, 1: X2
};
