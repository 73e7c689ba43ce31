#pragma once
// The case information dialog ("ケース情報"): the ten cases of the document in a grid with their
// three names, which calculations have complete input and results, and a check per case. Names
// are edited in place, cases move up and down, the checked cases lose their results. Changes go
// to the document's cases at once; Cancel puts back the cases of the opening whenever anything
// was done.

#include "app/dialogs/CaseBackup.h"
#include "stage/controls/StageDialog.h"

class CCaseArray;
class CSheetGrid;
class QPushButton;

class CCaseInfoDlg : public StageDialog {
  Q_OBJECT

 public:
  // Grid columns.
  static constexpr int kColSite = 1;
  static constexpr int kColCase = 2;
  static constexpr int kColRemarks = 3;
  static constexpr int kColFirstState = 4;
  static constexpr int kColLastState = 9;
  static constexpr int kColCheck = 10;

  CCaseInfoDlg(CCaseArray& cases, QWidget* parent = nullptr);

  // The slot to select after OK; −1 until OK.
  int GetResultIndex() const { return resultIndex_; }

  void OnOK() override;
  void OnCancel() override;

 private:
  void SetUpGrid();
  // Columns 1 to 9 of every row from the cases.
  void FillGrid();
  // The three names of every row into its case; a renamed case is in use and modified.
  void WriteBack();
  void UpdateMoveButtons(int row);
  void OnLeaveCell(int newRow);
  // The cases of rows r and r + offset exchange places; their checks move with them.
  void MoveRow(int offset);
  void OnClearResults();
  bool IsChecked(int row) const;
  void SetChecked(int row, bool checked);

  CCaseArray& cases_;
  CCaseBackup backup_;
  bool changed_ = false;
  int resultIndex_ = -1;
  CSheetGrid* grid_;
  QPushButton* up_;
  QPushButton* down_;
};
