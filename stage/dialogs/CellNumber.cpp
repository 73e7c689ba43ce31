#include "stage/dialogs/CellNumber.h"

#include <cmath>

#include "platform/NumberText.h"
#include "stage/controls/SheetCell.h"
#include "stage/controls/SheetGrid.h"

std::optional<double> ReadCellNumber(const CSheetGrid& grid, int col, int row, int decimals,
                                     double held) {
  const std::string text = grid.Value(col, row).trimmed().toStdString();
  if (text == DblToText(decimals, held)) return held;
  if (text.empty()) return kNoValue;
  const auto parsed = ParseDoublePrefix(text);
  if (!parsed || parsed->used != text.size() || !std::isfinite(parsed->value)) return std::nullopt;
  return parsed->value;
}
