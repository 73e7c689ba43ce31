#pragma once
// CRefCmnGeologyListDlg: the soil reference table in a grid. As the Settings menu's editor it
// edits the program's table in place and manages the soil files (*.sxg); as the soil dialog's
// picker it shows a copy of the table, from which the user hands back one row (代入). The two
// values of a row that the grid does not show stay with their row whatever the user adds,
// inserts or deletes around it.

#include <optional>
#include <string>

#include "core/model/RefGeology.h"
#include "stage/dialogs/RefTableDlg.h"

// What makes the table editor the soil table's: its columns, its files and its texts.
struct GeologyTableTraits {
  using Table = CRefGeology;
  using Row = CRefGeology::Row;

  static constexpr RefTableIds kIds{4227, 4255, 4257, 4256, 4258, 4259, 4219, 4220, 4221};
  static constexpr RefTableTexts kTexts{
      "参考値：土質定数", "土質設定", "土質データを出荷時の設定に戻してよろしいですか？",
      "土質設定",         720,        520};

  static void SetupGrid(CSheetGrid& grid);
  static void FillRow(CSheetGrid& grid, int gridRow, const Row& row);
  static void ReadRow(const CSheetGrid& grid, int gridRow, Row& row);
  static bool Read(Table& table, const std::string& path, bool remember) {
    return table.ReadGeology(path, remember);
  }
  static bool Write(const Table& table, const std::string& path, bool remember) {
    return table.WriteGeology(path, remember);
  }
  static std::string LastFile();
  static std::string DefaultFile();
};

class CRefCmnGeologyListDlg : public RefTableDlg<GeologyTableTraits> {
  Q_OBJECT

 public:
  // Edits the table in place; true when the user saved the changes on closing (the table then
  // holds them and so does its file). Answering No puts the table back as it was last loaded or
  // saved.
  static bool Run(CRefGeology& table, QWidget* parent);
  // Shows a copy of the table and hands back the row the user assigned; nothing on cancel. The
  // table itself is never changed.
  static std::optional<CRefGeology::Row> PickSoil(const CRefGeology& table, QWidget* parent);

 private:
  CRefCmnGeologyListDlg(CRefGeology& live, Mode mode, QWidget* parent)
      : RefTableDlg(live, mode, parent) {}
};
