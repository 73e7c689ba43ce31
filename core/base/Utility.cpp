#include "core/base/Utility.h"

#include <array>
#include <cmath>
#include <filesystem>
#include <string_view>

#include "platform/NumberText.h"
#include "platform/ProgramDir.h"

namespace {

std::string_view TrimBlanks(std::string_view text) {
  const std::size_t first = text.find_first_not_of(' ');
  if (first == std::string_view::npos) return {};
  const std::size_t last = text.find_last_not_of(' ');
  return text.substr(first, last - first + 1);
}

// The rounding pitch of a StrToDouble digits code: 0..7 decimals; every other code rounds to 1.0.
double PitchOfDigitsCode(int code) {
  static constexpr std::array<double, 8> kPitches = {1.0,    0.1,     0.01, 0.001,
                                                     0.0001, 0.00001, 1e-6, 1e-7};
  return code >= 0 && code <= 7 ? kPitches[static_cast<std::size_t>(code)] : 1.0;
}

// Appending an empty name ends the folder in exactly one separator.
std::string WithSeparator(const std::filesystem::path& dir) { return (dir / "").string(); }

}  // namespace

double RoundUp(double x, double pitch) {
  if (KeepsValue(x)) return x;
  const double p = UsablePitch(pitch);
  const double reciprocal = 1.0 / p;
  return std::ceil(reciprocal * x) * p;
}

double RoundDown(double x, double pitch) {
  if (KeepsValue(x)) return x;
  const double p = UsablePitch(pitch);
  const double reciprocal = 1.0 / p;
  return std::floor(reciprocal * x) * p;
}

double RoundOff(double x, double pitch) { return RoundOff(x, RoundingPitch::Of(pitch)); }

double RoundClickCoordinate(double v) {
  if (KeepsValue(v)) return v;
  return std::floor((v * 10000 + 5) / 10) * 0.001;
}

bool IsBetween(double a, double b, double v) {
  const double lo = a < b ? a : b;
  const double hi = a < b ? b : a;
  if (lo - v > 1e-13) return false;
  return v - hi <= 1e-13;
}

std::string DoubleToStr(double value, int decimals) {
  if (value == kNoValue || decimals > 7) return {};
  return FormatFixed(value, decimals < 0 ? 0 : decimals);
}

std::string DoubleToExpStr(double value) {
  if (value == kNoValue) return {};
  const std::string scientific = FormatScientific(value);
  const std::size_t e = scientific.find('e');
  const std::string_view mantissaText = std::string_view(scientific).substr(0, e);
  const auto mantissa = ParseDoublePrefix(mantissaText);
  if (!mantissa || mantissa->used != mantissaText.size()) return {};

  std::string whole = FormatFixed(mantissa->value, 0);
  int exponent = StrToInt(scientific.substr(e + 1), kNoValueInt);
  // A mantissa of 9.5 or more rounds to 10: carry it into the exponent, 9.6e4 is 1E+5.
  if (whole == "10" || whole == "-10") {
    whole.pop_back();
    whole.back() = '1';
    ++exponent;
  }
  return whole + 'E' + (exponent >= 0 ? "+" : "") + FormatInt(exponent);
}

std::string IntToStr(int value) {
  if (value == kNoValueInt) return {};
  return FormatInt(value);
}

double StrToDouble(const std::string& text, int digitsCode) {
  const std::string_view trimmed = TrimBlanks(text);
  if (trimmed.empty()) return kNoValue;
  const auto parsed = ParseDoublePrefix(trimmed);
  if (!parsed || parsed->used != trimmed.size()) return kNoValue;
  // A number beyond the range of a double would enter the data as an infinity.
  if (!std::isfinite(parsed->value)) return kNoValue;
  if (digitsCode == -1) return parsed->value;
  return RoundOff(parsed->value, PitchOfDigitsCode(digitsCode));
}

int StrToInt(const std::string& text, int defaultValue) {
  const std::string_view trimmed = TrimBlanks(text);
  if (trimmed.empty()) return defaultValue;
  const auto parsed = ParseIntPrefix(trimmed);
  if (!parsed || parsed->used != trimmed.size()) return defaultValue;
  return parsed->value;
}

std::string GetFileDir(const std::string& path) {
  const std::size_t separator = path.rfind('/');
  return separator == std::string::npos ? path : path.substr(0, separator);
}

std::string GetModuleDir() { return WithSeparator(DataDir()); }

std::string GetResourceDir() { return WithSeparator(ResourceDir()); }
