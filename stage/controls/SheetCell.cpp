#include "stage/controls/SheetCell.h"

#include <QString>
#include <algorithm>
#include <cmath>
#include <string_view>

#include "platform/NumberText.h"

namespace {

constexpr int kMaxDecimals = 7;

int CutDecimals(int decimals) { return std::clamp(decimals, 0, kMaxDecimals); }

std::string_view TrimBlanks(std::string_view text) {
  const std::size_t first = text.find_first_not_of(" \t");
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

}  // namespace

std::string DblToText(int decimals, double value) {
  if (value == kNoValue) return {};
  return FormatFixed(value, CutDecimals(decimals));
}

std::string DblToExpText(int decimals, double value) {
  if (value == kNoValue) return {};
  const std::string scientific = FormatScientific(value);
  const std::size_t e = scientific.find('e');
  if (e == std::string::npos) return {};
  const std::string_view mantissaText = std::string_view(scientific).substr(0, e);
  const auto mantissa = ParseDoublePrefix(mantissaText);
  if (!mantissa || mantissa->used != mantissaText.size()) return {};
  const int exponent = StrToInt(std::string(TrimBlanks(scientific.substr(e + 1))), kNoValueInt);
  return FormatFixed(mantissa->value, CutDecimals(decimals)) + 'E' + (exponent >= 0 ? "+" : "") +
         FormatInt(exponent);
}

std::string SpreadGetCellText(const CSheetGrid& grid, int col, int row) {
  return grid.Text(col, row).toStdString();
}

std::string SpreadGetValue(const CSheetGrid& grid, int col, int row) {
  return grid.Value(col, row).toStdString();
}

double SpreadGetDbl(const CSheetGrid& grid, int col, int row, double empty) {
  const std::string text = SpreadGetCellText(grid, col, row);
  const auto parsed = ParseDoublePrefix(TrimBlanks(text));
  return parsed && std::isfinite(parsed->value) ? parsed->value : empty;
}

int SpreadGetInt(const CSheetGrid& grid, int col, int row) {
  std::string text = SpreadGetCellText(grid, col, row);
  std::erase(text, ',');
  const auto parsed = ParseIntPrefix(TrimBlanks(text));
  return parsed ? parsed->value : kNoValueInt;
}

void SpreadSetText(CSheetGrid& grid, int col, int row, const std::string& text) {
  grid.SetText(SheetBlock(col, row), QString::fromStdString(text));
}

void SpreadSetInt(CSheetGrid& grid, int col, int row, int value, const std::string& emptyText) {
  SpreadSetText(grid, col, row, value == kNoValueInt ? emptyText : FormatInt(value));
}

void SpreadSetDbl(CSheetGrid& grid, int col, int row, int decimals, const std::string& emptyText,
                  double value) {
  SpreadSetText(grid, col, row, value == kNoValue ? emptyText : DblToText(decimals, value));
}

void SpreadSetCol4Text(CSheetGrid& grid, int row, Color color, const std::string& text) {
  grid.SetForeColor(SheetBlock(4, row), color);
  SpreadSetText(grid, 4, row, text);
}

void SpreadSetCol5Double(CSheetGrid& grid, int row, Color color, const std::string& emptyText,
                         double value) {
  grid.SetForeColor(SheetBlock(5, row), color);
  SpreadSetDbl(grid, 5, row, 1, emptyText, value);
}

void SpreadClearBlock(CSheetGrid& grid, int col1, int row1, int col2, int row2) {
  if (col1 > col2 || row1 > row2) return;
  grid.ClearUnlocked(SheetBlock(col1, row1, col2, row2));
}

SheetBlock SpreadGetSelBlock(const CSheetGrid& grid, bool exact) {
  SheetBlock block = grid.GetSelection(0);
  if (!exact) {
    const bool allCols = block.col == CSheetGrid::kAll && block.col2 == CSheetGrid::kAll;
    const bool allRows = block.row == CSheetGrid::kAll && block.row2 == CSheetGrid::kAll;
    if (allCols) {
      block.col = 1;
      block.col2 = grid.MaxCols();
    }
    if (allRows) {
      block.row = 1;
      block.row2 = grid.MaxRows();
    }
  }
  if (block.col > block.col2) std::swap(block.col, block.col2);
  if (block.row > block.row2) std::swap(block.row, block.row2);
  return block;
}

void SpreadNextCell(CSheetGrid& grid) {
  int col = grid.ActiveCol() + 1;
  int row = grid.ActiveRow();
  if (col > grid.MaxCols()) {
    col = 1;
    ++row;
  }
  if (row > grid.MaxRows()) row = 1;
  grid.MoveActiveCell(col, row);
}
