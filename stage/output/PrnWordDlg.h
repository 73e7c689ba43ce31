#pragma once
// The two report selection dialogs "Word出力選択". They write the user's choice into the
// document's print settings, which the report writer reads; a choice that changes the settings
// marks the document modified, so that it is saved with the document.
//
// CPrnWordMultiDlg serves the multi-plane stability report and also asks the frame for the Excel
// list of safety factors; CPrnWordSummaryDlg serves the slide- and shear-deformation reports.

#include "stage/controls/StageDialog.h"

class CManageCore;
class QCheckBox;
class QLabel;
class QPushButton;
class QRadioButton;

class CPrnWordMultiDlg : public StageDialog {
  Q_OBJECT

 public:
  // Runs the choice modally on the document's print settings; true when the report is asked for.
  static bool Run(CManageCore& core, int kind, QWidget* parent);

  CPrnWordMultiDlg(CManageCore& core, int kind, QWidget* parent = nullptr);

  // 出力 (docx形式): saves and closes with OK when a load case is chosen that the case analyses.
  void OnDocx();
  // 出力 (xlsx形式): asks the frame for the workbook; the dialog stays open, nothing is saved.
  void OnXlsx();

 private:
  void OnRadio();
  void Save();
  void Enable();
  bool IsCaseOn(int k) const;

  CManageCore& core_;
  int kind_;
  QCheckBox* normal_;
  QCheckBox* quake_;
  QRadioButton* report_;
  QRadioButton* summary_;
  QCheckBox* list_;
  QLabel* sheetNormal_;
  QLabel* sheetQuake_;
  QPushButton* docx_;
  QPushButton* xlsx_;
};

class CPrnWordSummaryDlg : public StageDialog {
  Q_OBJECT

 public:
  // Runs the choice modally on the document's print settings; true when the report is asked for.
  static bool Run(CManageCore& core, int kind, QWidget* parent);

  CPrnWordSummaryDlg(CManageCore& core, int kind, QWidget* parent = nullptr);

  // 出力 (docx形式): saves the report type and closes.
  void OnOK() override;

 private:
  CManageCore& core_;
  int kind_;
  QRadioButton* report_;
  QRadioButton* summary_;
};
