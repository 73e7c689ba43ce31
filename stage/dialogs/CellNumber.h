#pragma once
// Numbers of the dialogs' grids read back from what a cell was given, not from its rounded
// display: a cell that still holds the text its value was written with gives that value exactly
// (so opening a dialog and pressing OK changes nothing), a typed number is taken as typed.

#include <optional>

class CSheetGrid;

// kNoValue for an empty cell; nothing when the cell holds text that is not a whole number.
// `held` is the value the cell was written with, `decimals` the decimals it was written with.
std::optional<double> ReadCellNumber(const CSheetGrid& grid, int col, int row, int decimals,
                                     double held);
