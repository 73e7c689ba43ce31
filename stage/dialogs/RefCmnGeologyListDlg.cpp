#include "stage/dialogs/RefCmnGeologyListDlg.h"

#include <QString>

#include "core/base/CoreConfig.h"
#include "core/model/SystemConfig.h"
#include "stage/controls/SheetCell.h"
#include "stage/controls/SheetGrid.h"
#include "stage/dialogs/CellNumber.h"

namespace {

using Row = CRefGeology::Row;

// The shown values of a row: grid column, the row's member, the decimals the value is written
// with (those of the soil file).
struct NumberColumn {
  int col;
  double Row::*member;
  int decimals;
};
constexpr NumberColumn kNumberColumns[] = {
    {2, &Row::gammaT, 2},
    {3, &Row::gammaSat, 2},
    {4, &Row::phi, 4},
    {5, &Row::c, 2},
};
constexpr int kNameCol = 1;
constexpr int kColumnCount = 5;

}  // namespace

void GeologyTableTraits::SetupGrid(CSheetGrid& grid) {
  const CUnitFilter filter = CCoreConfig::GetUnitFilter();
  grid.SetMaxCols(kColumnCount);
  grid.SetDecimalPlaces(SheetBlock(2, CSheetGrid::kAll, 3, CSheetGrid::kAll), 2);
  grid.SetDecimalPlaces(SheetBlock(4, CSheetGrid::kAll), filter.Digit(161));
  grid.SetDecimalPlaces(SheetBlock(5, CSheetGrid::kAll), filter.Digit(131));
  grid.SetHeaderBackColor(Color::Rgb(219, 255, 255));
  const char* const headers[kColumnCount] = {"種類", "湿潤単位\n体積重量\n(kN/m3)",
                                             "飽和単位\n体積重量\n(kN/m3)", "内部\n摩擦角\n(°)",
                                             "粘着力\n(kN/m2)"};
  for (int col = 1; col <= kColumnCount; ++col) {
    grid.SetText(SheetBlock(col, CSheetGrid::kHeaderRow), QString::fromUtf8(headers[col - 1]));
  }
  grid.SetColWidth(kNameCol, 180);
  grid.SetMaxRows(20);
}

void GeologyTableTraits::FillRow(CSheetGrid& grid, int gridRow, const Row& row) {
  SpreadSetText(grid, kNameCol, gridRow, row.name);
  for (const NumberColumn& number : kNumberColumns) {
    SpreadSetDbl(grid, number.col, gridRow, number.decimals, "", row.*number.member);
  }
}

void GeologyTableTraits::ReadRow(const CSheetGrid& grid, int gridRow, Row& row) {
  row.name = SpreadGetCellText(grid, kNameCol, gridRow);
  for (const NumberColumn& number : kNumberColumns) {
    row.*number.member =
        ReadCellNumber(grid, number.col, gridRow, number.decimals, row.*number.member)
            .value_or(kNoValue);
  }
}

std::string GeologyTableTraits::LastFile() { return SystemConfig::GetLastGeology(); }

std::string GeologyTableTraits::DefaultFile() { return SystemConfig::GetDefaultGeology(); }

bool CRefCmnGeologyListDlg::Run(CRefGeology& table, QWidget* parent) {
  CRefCmnGeologyListDlg dialog(table, Mode::Edit, parent);
  return dialog.RunEditor();
}

std::optional<CRefGeology::Row> CRefCmnGeologyListDlg::PickSoil(const CRefGeology& table,
                                                                QWidget* parent) {
  CRefGeology copy;
  copy.Copy(table);
  CRefCmnGeologyListDlg dialog(copy, Mode::Pick, parent);
  return dialog.RunPicker();
}
