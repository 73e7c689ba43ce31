#pragma once
// Numbers as report text, shared by the Word and the Excel report writers. An unset value gives
// empty text, so that a report field or cell stays blank. The texts do not depend on the
// process locale: always "." as decimal separator, as printf gives in the "C" locale.

#include <climits>
#include <string>

// Fixed-point text with the decimals the rounding settings give for the quantity code (clamped
// to 0..7); the value is not rounded by the code's rounding mode first. -9e32 and +9e32 give "".
std::string SetWordDbl(double value, int code);
// Decimal text; INT_MIN and the empty marker give "".
std::string SetWordInt(int value, int empty = INT_MIN);
// Decimal text with "," every three digits from the right (1234567 gives "1,234,567"); INT_MIN
// and the empty marker give "". A minus sign is never separated from the digits.
std::string SetWordComma3(int value, int empty = INT_MIN);

// The workbook writer's names of the same operations.
inline std::string SetExcelDbl(double value, int code) { return SetWordDbl(value, code); }
inline std::string SetExcelInt(int value, int empty = INT_MIN) { return SetWordInt(value, empty); }
inline std::string SetExcelComma3(int value, int empty = INT_MIN) {
  return SetWordComma3(value, empty);
}

// The tangent of an angle in degrees; -9e32 and +9e32 are returned unchanged.
double TanFai(double degrees);
