#pragma once
// CExportSelectDlg: the data linkage of the multi-plane stability result. Exports the active case
// as common terrain data (XML) or as a CAD drawing, with the slip surface of the normal or the
// seismic case; two checks say for each case whether the top of its slip surface is an arc.
// Both export buttons store the checks in the case's result set first; Cancel stores nothing.

#include "stage/controls/StageDialog.h"

class CManageCore;
class QCheckBox;
class QRadioButton;

class CExportSelectDlg : public StageDialog {
  Q_OBJECT

 public:
  explicit CExportSelectDlg(CManageCore& core, QWidget* parent = nullptr);

  // XML 出力: the terrain file of the chosen case's slip surface.
  void OnXml();
  // CAD 出力: asks the main frame for the CAD output of the data linkage.
  void OnCad();

 private:
  void BuildLayout();
  // Stores both checks as the case's top-arc flags (the document does not keep them).
  void StoreTopArcs();
  // The case chosen by the radio buttons: 0 normal, 1 seismic.
  int ChosenCase() const;

  CManageCore& core_;
  QRadioButton* normal_;
  QRadioButton* quake_;
  QCheckBox* normalArc_;
  QCheckBox* quakeArc_;
};
