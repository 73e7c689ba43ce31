#include "stage/output/ReportNumberText.h"

#include <algorithm>
#include <cmath>

#include "core/base/CoreConfig.h"
#include "core/base/Utility.h"
#include "platform/NumberText.h"

namespace {

constexpr int kMaxDecimals = 7;
constexpr double kDegreesToRadians = 0.017453292519943295;

bool IsUnset(double value) { return value == kNoValue || value == -kNoValue; }

}  // namespace

std::string SetWordDbl(double value, int code) {
  if (IsUnset(value)) return {};
  const int decimals = std::clamp(CCoreConfig::GetUnitFilter().Digit(code), 0, kMaxDecimals);
  return FormatFixed(value, decimals);
}

std::string SetWordInt(int value, int empty) {
  if (value == INT_MIN || value == empty) return {};
  return FormatInt(value);
}

std::string SetWordComma3(int value, int empty) {
  std::string text = SetWordInt(value, empty);
  const std::size_t firstDigit = !text.empty() && text.front() == '-' ? 1 : 0;
  for (std::size_t end = text.size(); end > firstDigit + 3; end -= 3) text.insert(end - 3, ",");
  return text;
}

double TanFai(double degrees) {
  if (IsUnset(degrees)) return degrees;
  return std::tan(degrees * kDegreesToRadians);
}
