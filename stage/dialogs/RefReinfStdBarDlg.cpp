#include "stage/dialogs/RefReinfStdBarDlg.h"

#include <QString>
#include <QVBoxLayout>

#include "core/model/SystemConfig.h"
#include "stage/controls/ExpStatic.h"
#include "stage/controls/SheetCell.h"
#include "stage/controls/SheetGrid.h"
#include "stage/dialogs/CellNumber.h"

namespace {

using Bar = CReinfStdBar;

// The shown numbers of a bar: grid column, the bar's member, the decimals of the bar file.
struct NumberColumn {
  int col;
  double Bar::*member;
  int decimals;
};
constexpr NumberColumn kNumberColumns[] = {
    {3, &Bar::w, 2},      {4, &Bar::d, 1},        {5, &Bar::as, 3},
    {6, &Bar::drillD, 1}, {7, &Bar::sigmaSaN, 1}, {8, &Bar::sigmaSaQ, 1},
};
constexpr int kNameCol = 1;
constexpr int kKeiCol = 2;
constexpr int kStressCol = 7;  // the normal case; the seismic case beside it
constexpr int kColumnCount = 8;

struct Header {
  int col;
  int row;
  const char* text;
};
constexpr Header kHeaders[] = {
    {1, CSheetGrid::kHeaderRow, "材料名"},
    {2, CSheetGrid::kHeaderRow, "呼び径"},
    {3, CSheetGrid::kHeaderRow, "単位質量\nw(kg/m)"},
    {4, CSheetGrid::kHeaderRow, "直径\nd(mm)"},
    {5, CSheetGrid::kHeaderRow, "断面積\nAs(cm2)"},
    {6, CSheetGrid::kHeaderRow, "削孔径\nD(mm)"},
    {7, CSheetGrid::kHeaderRow, "引張応力度\nσsa(N/mm2)"},
    {7, CSheetGrid::kHeaderRow2, "常時"},
    {8, CSheetGrid::kHeaderRow2, "地震時"},
};

}  // namespace

void StdBarTableTraits::SetupGrid(CSheetGrid& grid) {
  grid.SetMaxCols(kColumnCount);
  grid.SetColHeaderRows(2);
  for (const NumberColumn& number : kNumberColumns) {
    grid.SetDecimalPlaces(SheetBlock(number.col, CSheetGrid::kAll), number.decimals);
  }
  grid.SetHeaderBackColor(Color::Rgb(219, 255, 255));
  for (const Header& header : kHeaders) {
    grid.SetText(SheetBlock(header.col, header.row), QString::fromUtf8(header.text));
  }
  for (int col = 1; col < kStressCol; ++col) {
    grid.AddCellSpan(col, CSheetGrid::kHeaderRow, 1, 2);
  }
  grid.AddCellSpan(kStressCol, CSheetGrid::kHeaderRow, 2, 1);
  grid.SetColWidth(kNameCol, 130);
  for (int col = kKeiCol; col <= kColumnCount; ++col) grid.SetColWidth(col, 88);
  grid.SetMaxRows(0);
}

void StdBarTableTraits::FillRow(CSheetGrid& grid, int gridRow, const Bar& bar) {
  SpreadSetText(grid, kNameCol, gridRow, bar.name);
  SpreadSetText(grid, kKeiCol, gridRow, bar.kei);
  for (const NumberColumn& number : kNumberColumns) {
    SpreadSetDbl(grid, number.col, gridRow, number.decimals, "", bar.*number.member);
  }
}

void StdBarTableTraits::ReadRow(const CSheetGrid& grid, int gridRow, Bar& bar) {
  bar.name = SpreadGetCellText(grid, kNameCol, gridRow);
  bar.kei = SpreadGetCellText(grid, kKeiCol, gridRow);
  for (const NumberColumn& number : kNumberColumns) {
    bar.*number.member =
        ReadCellNumber(grid, number.col, gridRow, number.decimals, bar.*number.member)
            .value_or(kNoValue);
  }
}

std::string StdBarTableTraits::LastFile() { return SystemConfig::GetLastReinf(); }

std::string StdBarTableTraits::DefaultFile() { return SystemConfig::GetDefaultReinf(); }

bool CRefReinfStdBarDlg::Run(CRefReinf& table, QWidget* parent) {
  CRefReinfStdBarDlg dialog(table, Mode::Edit, parent);
  return dialog.RunEditor();
}

std::optional<CReinfStdBar> CRefReinfStdBarDlg::PickBar(const CRefReinf& table, QWidget* parent) {
  CRefReinf copy;
  copy.Copy(table);
  CRefReinfStdBarDlg dialog(copy, Mode::Pick, parent);
  return dialog.RunPicker();
}

CRefReinfStdBarDlg::CRefReinfStdBarDlg(CRefReinf& live, Mode mode, QWidget* parent)
    : RefTableDlg(live, mode, parent) {
  setObjectName(QStringLiteral("CRefReinfStdBarDlg"));
  // The bar values are meant net of corrosion; the note says so above the grid.
  auto* note = new CExpStatic;
  SetId(note, 7362);
  note->m_clrText = Color::Rgb(255, 0, 0);
  note->setText(IsPicker() ? QStringLiteral("※腐食代を考慮した値")
                           : QStringLiteral("※腐食代を考慮した値を入力してください"));
  static_cast<QVBoxLayout*>(layout())->insertWidget(1, note);
}
