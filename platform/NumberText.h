#pragma once
// Number texts that do not depend on the process locale: always '.' as decimal separator.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

// Like printf("%.<decimals>f"): fixed notation, always '.' as decimal separator.
std::string FormatFixed(double value, int decimals);
// Like printf("%e"): six decimals and an exponent of at least two digits, "1.000000e+05".
std::string FormatScientific(double value);
// Like printf("%d").
std::string FormatInt(int value);

// Parses a decimal floating-point number (optional sign, digits, point, exponent) at the start of
// text; returns the value and the number of characters used, nothing when no number starts there.
struct ParsedNumber {
  double value;
  std::size_t used;
};
std::optional<ParsedNumber> ParseDoublePrefix(std::string_view text);
// The same for a base-10 integer that fits an int.
struct ParsedInt {
  int value;
  std::size_t used;
};
std::optional<ParsedInt> ParseIntPrefix(std::string_view text);
