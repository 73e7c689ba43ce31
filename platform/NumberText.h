#pragma once
// Number texts that do not depend on the process locale: always '.' as decimal separator.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

// Like printf("%.<decimals>f"): fixed notation, always '.' as decimal separator. Negative
// decimals count as 0.
std::string FormatFixed(double value, int decimals);
// Like printf("%e"): six decimals and an exponent of at least two digits, "1.000000e+05".
std::string FormatScientific(double value);
// Like printf("%d").
std::string FormatInt(int value);

// Parses a decimal floating-point number (optional sign, digits, point, exponent) at the start of
// text; returns the value and the number of characters used, nothing when no number starts there.
// Leading blanks, hexadecimal forms, "inf" and "nan" are not numbers. A number too large for a
// double gives an infinity, one too small a zero, both with its sign, as the C library's parse.
struct ParsedNumber {
  double value;
  std::size_t used;
};
std::optional<ParsedNumber> ParseDoublePrefix(std::string_view text);
// The same for a base-10 integer (optional sign, digits); nothing when no integer starts there or
// when it does not fit an int.
struct ParsedInt {
  int value;
  std::size_t used;
};
std::optional<ParsedInt> ParseIntPrefix(std::string_view text);
