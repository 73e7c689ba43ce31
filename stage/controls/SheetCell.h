#pragma once
// The cell helpers through which every dialog reads and writes its grids, with the conventions
// of the whole system: an empty cell reads as kNoValue (−9e32) for a decimal number and as
// kNoValueInt (INT_MIN) for an integer, and those values are written as empty text (or as a
// text the caller chooses); decimal numbers are written with a fixed number of decimals.
// The integer and rounding helpers of the same rules are core/base's IntToStr, StrToInt and
// RoundOff.

#include <string>

#include "core/base/Utility.h"
#include "platform/DevTypes.h"
#include "stage/controls/SheetGrid.h"

// Fixed notation with the decimals cut to 0..7; empty text for kNoValue.
std::string DblToText(int decimals, double value);
// Exponent form with the mantissa in fixed notation (decimals cut to 0..7), "E" and the signed
// exponent: 12345.678 with 2 decimals is "1.23E+4". The mantissa is not renormalised after
// rounding (9.99e2 with 1 decimal is "10.0E+2"). Empty text for kNoValue.
std::string DblToExpText(int decimals, double value);

std::string SpreadGetCellText(const CSheetGrid& grid, int col, int row);
// A check box's "1" or "0"; every other cell's text.
std::string SpreadGetValue(const CSheetGrid& grid, int col, int row);
// The number the cell's text starts with (the rest is ignored); `empty` for an empty cell and for
// text that starts with no number.
double SpreadGetDbl(const CSheetGrid& grid, int col, int row, double empty = kNoValue);
// The integer the cell's text starts with once every comma is taken out ("1,234" is 1234);
// kNoValueInt for an empty cell, for text that starts with no integer and for an integer beyond
// the int range.
int SpreadGetInt(const CSheetGrid& grid, int col, int row);

void SpreadSetText(CSheetGrid& grid, int col, int row, const std::string& text);
// kNoValueInt is written as emptyText.
void SpreadSetInt(CSheetGrid& grid, int col, int row, int value, const std::string& emptyText = {});
// kNoValue is written as emptyText, every other value with the decimals cut to 0..7.
void SpreadSetDbl(CSheetGrid& grid, int col, int row, int decimals, const std::string& emptyText,
                  double value);
// The judgement column of the result tables: column 4 of the row in the given text colour.
void SpreadSetCol4Text(CSheetGrid& grid, int row, Color color, const std::string& text);
// Column 5 of the row in the given text colour, with one decimal.
void SpreadSetCol5Double(CSheetGrid& grid, int row, Color color, const std::string& emptyText,
                         double value);

// Empties the unlocked cells of the block; nothing when col1 > col2 or row1 > row2. kAll names
// every column or row.
void SpreadClearBlock(CSheetGrid& grid, int col1, int row1, int col2, int row2);
// The first selected block, ordered. Unless exact, whole rows and columns are spelled out
// (columns 1..MaxCols, rows 1..MaxRows); exact keeps their kAll for a clear that follows.
SheetBlock SpreadGetSelBlock(const CSheetGrid& grid, bool exact);
// Moves the active cell one column right; past the last column to column 1 of the next row;
// past the last row back to row 1. The move is the user's (CSheetGrid::MoveActiveCell).
void SpreadNextCell(CSheetGrid& grid);
