#pragma once
// CRefReinfStdBarDlg: the standard reinforcing-bar table in a grid. As the Settings menu's editor
// it edits the program's table in place and manages the bar files (*.sxr); as the countermeasure
// specifications' picker it shows a copy of the table, from which the user hands back one bar
// (代入). A bar's remark, which the grid does not show, stays with its row whatever the user
// adds, inserts or deletes around it.

#include <optional>

#include "core/model/RefReinf.h"
#include "stage/controls/StageDialog.h"

class CExpEdit;
class CSheetGrid;
class QPushButton;

class CRefReinfStdBarDlg : public StageDialog {
  Q_OBJECT

 public:
  // Edits the table in place; true when the user saved the changes on closing (the table then
  // holds them and so does its file). Answering No puts the table back as it was last loaded or
  // saved.
  static bool EditTable(CRefReinf& table, QWidget* parent);
  // Shows a copy of the table and hands back the bar the user assigned; nothing on cancel. The
  // table itself is never changed.
  static std::optional<CReinfStdBar> PickBar(const CRefReinf& table, QWidget* parent);

  void OnOK() override;
  void OnCancel() override;

 private:
  enum class Mode { Edit = 0, Pick = 1 };

  CRefReinfStdBarDlg(CRefReinf& live, Mode mode, QWidget* parent);

  void BuildLayout();
  void SetupGrid();
  // The table into the grid, the comment and the file-name edits.
  void Fill();
  // The grid and the comment back into the table; in pick mode the active row then becomes the
  // picked bar.
  void ReadBack();
  // The table row of the grid's active row; nothing when the active row holds no bar.
  std::optional<int> ActiveTableRow() const;
  void ShowFileName();
  // The table as it now stands becomes what closing compares with.
  void MarkSaved() { backup_.Copy(*live_); }

  void OnAdd();
  void OnInsert();
  void OnDelete();
  void OnLoad();
  void OnSave();
  void OnFactoryData();
  // The editor's closing question on unsaved changes: save and end, discard and end, or stay.
  void AskToSave();

  CRefReinf* live_;   // the table edited: the program's own, or the picker's copy
  CRefReinf backup_;  // the table as last loaded or saved
  Mode mode_;
  std::optional<CReinfStdBar> picked_;

  CSheetGrid* grid_;
  CExpEdit* fileName_;
  CExpEdit* comment_;
  QPushButton* load_;
  QPushButton* save_;
  QPushButton* factory_;
  QPushButton* add_;
  QPushButton* insert_;
  QPushButton* delete_;
  QPushButton* ok_;
  QPushButton* cancel_;
};
