#pragma once
// CCmdStabMultiFsGyakuDlg (c逆算): the back analysis of the soil strength by the multi-plane
// method. For the current safety factor Fs0 the calculation finds, for every pair of start and end
// blocks, c at φ = 0, φ and tan φ at c = 0, and c at the chosen stratum's friction angle. The
// user registers one pair; its c, φ and tan φ become the case's adopted strength, which the
// forward calculation takes for every block while the back-analysis switch is on.
//
// The dialog edits the case's conditions and its back-analysis result set in place: every
// calculation, registration and sort acts on the case at once, and closing rolls nothing back.
// 登録 and キャンセル both store the switch and Fs0 and mark the case modified when anything
// stored differs from the opening (registration, adopted strength, key, sort, switch, Fs0); when
// the strength the forward calculation takes changed, they first ask and then clear the results
// computed with the former strength.

#include <array>

#include "core/stability/MltPoint.h"
#include "stage/controls/StageDialog.h"

class CCase;
class CExpButton;
class CExpEdit;
class CExpStatic;
class CPrmStab;
class CResStab2;
class CSheetGrid;
class QCheckBox;
class QGroupBox;
class QPushButton;

class CCmdStabMultiFsGyakuDlg : public StageDialog {
  Q_OBJECT

 public:
  // Runs the back analysis modally on the case; true when it ended with 登録.
  static bool Run(CCase& target, QWidget* parent);

  // Works on the case; records its registered row, key, switch, Fs0 and adopted strength.
  explicit CCmdStabMultiFsGyakuDlg(CCase& target, QWidget* parent = nullptr);

  // 登録 and キャンセル; each stays open when the user declines clearing the results.
  void OnOK() override;
  void OnCancel() override;

  // The index of the first point of the ordered list registered for the normal case; −1 when
  // none is or the list is empty.
  int FindRegistered() const;
  // Makes the row's point the current result and redraws, when the row exists.
  void SelectRow(int row);
  void SetHeader();
  void SetResult();
  void UpdateInfo();
  // The switch and Fs0 into the conditions (an empty Fs0 is unset); the current result cleared.
  // The caller redraws.
  void StoreInput();
  void EnableControls();
  void EnableGraphButton();

  void OnCalculate();
  void OnGridClick(int col, int row);
  void OnCopy();
  void OnGraph();

 private:
  // The forward calculation takes the adopted strength while the switch is on, the stratum's own
  // otherwise: whether what it takes differs from the opening.
  bool ForwardStrengthChanged() const;
  bool HasForwardResults() const;

  // The closing shared by 登録 and キャンセル; false when the user keeps the dialog open.
  bool StoreAndCompare();
  void SortBy(int col);
  // Registers the row's point (unregistering any other), or unregisters it when it is the one.
  void ToggleRegistration(int row);

  CCase& case_;
  CPrmStab& prm_;
  CResStab2& result_;

  int registeredAtOpen_;
  CMltKey keyAtOpen_;
  tagMLTSORT sortAtOpen_;
  int switchAtOpen_;
  double fs0AtOpen_;
  std::array<double, 4> adoptedAtOpen_;

  CSheetGrid* grid_;
  QPushButton* calculate_;
  CExpButton* copy_;
  QPushButton* graph_;
  QCheckBox* switch_;
  CExpEdit* fs0_;
  CExpEdit* phi_;
  CExpEdit* c_;
  CExpStatic* count_;
  QGroupBox* adoptedGroup_;
};
