#include "platform/NumberText.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <limits>
#include <system_error>

namespace {

// Enough for any double in fixed notation: sign, 309 integer digits and the point.
constexpr std::size_t kFixedIntegerRoom = 320;
// Enough for "-d.dddddde+ddd".
constexpr std::size_t kScientificRoom = 32;

template <typename... Format>
std::string ToChars(std::size_t room, double value, Format... format) {
  std::string text(room, '\0');
  const auto result = std::to_chars(text.data(), text.data() + text.size(), value, format...);
  text.resize(static_cast<std::size_t>(result.ptr - text.data()));
  return text;
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// The length of an optional leading '+' or '-'.
std::size_t SignLength(std::string_view text) {
  return !text.empty() && (text.front() == '+' || text.front() == '-') ? 1 : 0;
}

// The decimal exponent of the first significant digit of a well-formed decimal number
// (without sign), e.g. 2 for "123.4", -2 for "0.05e0", 3 for "1e3".
std::int64_t DecimalOrder(std::string_view number) {
  const std::size_t e = number.find_first_of("eE");
  const std::string_view mantissa = number.substr(0, e);
  std::int64_t exponent = 0;
  if (e != std::string_view::npos) {
    std::string_view digits = number.substr(e + 1);
    const bool negative = !digits.empty() && digits.front() == '-';
    digits.remove_prefix(SignLength(digits));
    const auto result = std::from_chars(digits.data(), digits.data() + digits.size(), exponent);
    // An exponent beyond 64 bits only has to keep its direction.
    if (result.ec == std::errc::result_out_of_range) {
      exponent = std::numeric_limits<std::int64_t>::max() / 2;
    }
    if (negative) exponent = -exponent;
  }
  const std::size_t point = std::min(mantissa.find('.'), mantissa.size());
  const std::size_t first = mantissa.find_first_of("123456789");
  const auto order = first < point ? static_cast<std::int64_t>(point - first - 1)
                                   : -static_cast<std::int64_t>(first - point);
  return order + exponent;
}

}  // namespace

std::string FormatFixed(double value, int decimals) {
  const int precision = decimals < 0 ? 0 : decimals;
  return ToChars(kFixedIntegerRoom + static_cast<std::size_t>(precision), value,
                 std::chars_format::fixed, precision);
}

std::string FormatScientific(double value) {
  return ToChars(kScientificRoom, value, std::chars_format::scientific, 6);
}

std::string FormatInt(int value) {
  std::string text(16, '\0');
  const auto result = std::to_chars(text.data(), text.data() + text.size(), value);
  text.resize(static_cast<std::size_t>(result.ptr - text.data()));
  return text;
}

std::optional<ParsedNumber> ParseDoublePrefix(std::string_view text) {
  const std::size_t sign = SignLength(text);
  const bool negative = sign == 1 && text.front() == '-';
  const std::string_view number = text.substr(sign);
  // from_chars alone would also take "inf", "nan" and a second sign.
  if (number.empty() || !(IsDigit(number.front()) || number.front() == '.')) return std::nullopt;

  double value = 0.0;
  const auto result = std::from_chars(number.data(), number.data() + number.size(), value,
                                      std::chars_format::general);
  if (result.ec == std::errc::invalid_argument) return std::nullopt;
  const auto length = static_cast<std::size_t>(result.ptr - number.data());
  if (result.ec == std::errc::result_out_of_range) {
    value =
        DecimalOrder(number.substr(0, length)) > 0 ? std::numeric_limits<double>::infinity() : 0.0;
  }
  return ParsedNumber{negative ? -value : value, sign + length};
}

std::optional<ParsedInt> ParseIntPrefix(std::string_view text) {
  // from_chars takes a '-' but no '+'; after a '+' only digits may follow.
  const std::size_t plus = !text.empty() && text.front() == '+' ? 1 : 0;
  const std::string_view number = text.substr(plus);
  if (plus == 1 && (number.empty() || !IsDigit(number.front()))) return std::nullopt;

  int value = 0;
  const auto result = std::from_chars(number.data(), number.data() + number.size(), value);
  if (result.ec != std::errc()) return std::nullopt;
  return ParsedInt{value, plus + static_cast<std::size_t>(result.ptr - number.data())};
}
