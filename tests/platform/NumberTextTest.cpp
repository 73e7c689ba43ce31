#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <limits>
#include <optional>
#include <string>

#include "platform/NumberText.h"

namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();

TEST(NumberTextTest, FormatFixedMatchesPrintf) {
  struct Case {
    double value;
    int decimals;
    const char* text;
  };
  const Case cases[] = {
      {1.25, 1, "1.2"},  // an exact binary tie goes to even, as printf does
      {1.35, 1, "1.4"},  // 1.35 is stored a hair above the tie
      {2.5, 0, "2"},
      {3.5, 0, "4"},
      {-0.4, 0, "-0"},
      {-3.14159, 3, "-3.142"},
      {2.0, 7, "2.0000000"},
      {1234567.0, 2, "1234567.00"},
      {1.5, -2, "2"},  // negative decimals count as 0
      {1e21, 0, "1000000000000000000000"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(FormatFixed(c.value, c.decimals), c.text) << c.value << " with " << c.decimals;
  }
  EXPECT_EQ(FormatFixed(1e300, 2).size(), 301u + 3u);
}

TEST(NumberTextTest, FormatScientificHasSixDecimalsAndTwoExponentDigits) {
  struct Case {
    double value;
    const char* text;
  };
  const Case cases[] = {
      {1e5, "1.000000e+05"},       {3.7e-4, "3.700000e-04"}, {-9.6e4, "-9.600000e+04"},
      {0.0, "0.000000e+00"},       {1e100, "1.000000e+100"}, {1e-300, "1.000000e-300"},
      {9.9999996, "1.000000e+01"},
  };
  for (const Case& c : cases) EXPECT_EQ(FormatScientific(c.value), c.text) << c.value;
}

TEST(NumberTextTest, FormatInt) {
  EXPECT_EQ(FormatInt(0), "0");
  EXPECT_EQ(FormatInt(-42), "-42");
  EXPECT_EQ(FormatInt(INT_MIN), "-2147483648");
  EXPECT_EQ(FormatInt(INT_MAX), "2147483647");
}

TEST(NumberTextTest, ParseDoublePrefixTakesTheDecimalFormsOfC) {
  struct Case {
    const char* text;
    std::optional<ParsedNumber> expected;
  };
  const Case cases[] = {
      {"1.5", ParsedNumber{1.5, 3}},
      {"+1.5", ParsedNumber{1.5, 4}},
      {"-.5", ParsedNumber{-0.5, 3}},
      {".5", ParsedNumber{0.5, 2}},
      {"5.", ParsedNumber{5.0, 2}},
      {"1e5", ParsedNumber{1e5, 3}},
      {"1E-3", ParsedNumber{1e-3, 4}},
      {"-2.5e+2x", ParsedNumber{-250.0, 7}},
      {"1e", ParsedNumber{1.0, 1}},  // an exponent mark without digits is not part of the number
      {"1e+", ParsedNumber{1.0, 1}},
      {"12abc", ParsedNumber{12.0, 2}},
      {"0x10", ParsedNumber{0.0, 1}},  // no hexadecimal forms
      {"1,5", ParsedNumber{1.0, 1}},   // never the comma of a locale
      {"1e400", ParsedNumber{kInf, 5}},
      {"-1e400", ParsedNumber{-kInf, 6}},
      {"0.00012e-400", ParsedNumber{0.0, 12}},
      {"1e-99999999999999999999999", ParsedNumber{0.0, 26}},
      {"", std::nullopt},
      {".", std::nullopt},
      {"-", std::nullopt},
      {"e5", std::nullopt},
      {" 1", std::nullopt},
      {"+-1", std::nullopt},
      {"--1", std::nullopt},
      {"inf", std::nullopt},
      {"-inf", std::nullopt},
      {"nan", std::nullopt},
      {"infinity", std::nullopt},
  };
  for (const Case& c : cases) {
    const auto parsed = ParseDoublePrefix(c.text);
    ASSERT_EQ(parsed.has_value(), c.expected.has_value()) << c.text;
    if (!parsed) continue;
    EXPECT_EQ(parsed->value, c.expected->value) << c.text;
    EXPECT_EQ(parsed->used, c.expected->used) << c.text;
  }
  EXPECT_TRUE(std::signbit(ParseDoublePrefix("-1e-400")->value));
  EXPECT_TRUE(std::signbit(ParseDoublePrefix("-0")->value));
}

TEST(NumberTextTest, ParseIntPrefixTakesSignedDecimalIntegersThatFit) {
  struct Case {
    const char* text;
    std::optional<ParsedInt> expected;
  };
  const Case cases[] = {
      {"42", ParsedInt{42, 2}},
      {"-7", ParsedInt{-7, 2}},
      {"+8", ParsedInt{8, 2}},
      {"+05", ParsedInt{5, 3}},
      {"12a", ParsedInt{12, 2}},
      {"1.5", ParsedInt{1, 1}},
      {"2147483647", ParsedInt{INT_MAX, 10}},
      {"-2147483648", ParsedInt{INT_MIN, 11}},
      {"2147483648", std::nullopt},
      {"-2147483649", std::nullopt},
      {"", std::nullopt},
      {"+", std::nullopt},
      {"-", std::nullopt},
      {"+-8", std::nullopt},
      {"--8", std::nullopt},
      {" 1", std::nullopt},
      {"0x1F", ParsedInt{0, 1}},
  };
  for (const Case& c : cases) {
    const auto parsed = ParseIntPrefix(c.text);
    ASSERT_EQ(parsed.has_value(), c.expected.has_value()) << c.text;
    if (!parsed) continue;
    EXPECT_EQ(parsed->value, c.expected->value) << c.text;
    EXPECT_EQ(parsed->used, c.expected->used) << c.text;
  }
}

}  // namespace
