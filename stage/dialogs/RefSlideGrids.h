#pragma once
// What the two slide-stage pickers share: read-only grids in the reference colours.

#include <span>

class CSheetGrid;

// Reference colours, every cell locked, one column per header text (UTF-8) in the header row.
void PrepareReferenceGrid(CSheetGrid& grid, std::span<const char* const> headers);
// A grid whose few rows are all in sight and which does not grow.
void FitHeight(CSheetGrid& grid);
// A grid wide enough for its row headers, every column and a vertical scroll bar.
void FitWidth(CSheetGrid& grid);
