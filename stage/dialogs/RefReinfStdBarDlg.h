#pragma once
// CRefReinfStdBarDlg: the standard reinforcing-bar table in a grid. As the Settings menu's editor
// it edits the program's table in place and manages the bar files (*.sxr); as the countermeasure
// specifications' picker it shows a copy of the table, from which the user hands back one bar
// (代入). A bar's remark, which the grid does not show, stays with its row whatever the user
// adds, inserts or deletes around it.

#include <optional>
#include <string>

#include "core/model/RefReinf.h"
#include "stage/dialogs/RefTableDlg.h"

// What makes the table editor the bar table's: its columns, its files and its texts.
struct StdBarTableTraits {
  using Table = CRefReinf;
  using Row = CReinfStdBar;

  static constexpr RefTableIds kIds{7299, 7303, 7305, 7304, 7298, 7306, 7300, 7301, 7302};
  static constexpr RefTableTexts kTexts{
      "参考値：補強材の規格", "単価設定", "補強材データを初期化してよろしいですか？",
      "補強材の設定",         880,        480};

  static void SetupGrid(CSheetGrid& grid);
  static void FillRow(CSheetGrid& grid, int gridRow, const Row& bar);
  static void ReadRow(const CSheetGrid& grid, int gridRow, Row& bar);
  static bool Read(Table& table, const std::string& path, bool remember) {
    return table.ReadReinf(path, remember);
  }
  static bool Write(const Table& table, const std::string& path, bool remember) {
    return table.WriteReinf(path, remember);
  }
  static std::string LastFile();
  static std::string DefaultFile();
};

class CRefReinfStdBarDlg : public RefTableDlg<StdBarTableTraits> {
  Q_OBJECT

 public:
  // Edits the table in place; true when the user saved the changes on closing (the table then
  // holds them and so does its file). Answering No puts the table back as it was last loaded or
  // saved.
  static bool Run(CRefReinf& table, QWidget* parent);
  // Shows a copy of the table and hands back the bar the user assigned; nothing on cancel. The
  // table itself is never changed.
  static std::optional<CReinfStdBar> PickBar(const CRefReinf& table, QWidget* parent);

 private:
  CRefReinfStdBarDlg(CRefReinf& live, Mode mode, QWidget* parent);
};
