#include <gtest/gtest.h>

#include <bit>
#include <clocale>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <limits>
#include <string>
#include <vector>

#include "core/base/Utility.h"

namespace {

using RoundFunction = double (*)(double, double);

TEST(UtilityTest, RoundingKeepsZeroAndNoValueForEveryPitch) {
  const RoundFunction functions[] = {RoundUp, RoundDown, RoundOff};
  for (const RoundFunction round : functions) {
    for (const double pitch : {0.1, 1.0, 2.5, 0.0, -1.0}) {
      EXPECT_EQ(round(0.0, pitch), 0.0) << pitch;
      EXPECT_EQ(round(kNoValue, pitch), kNoValue) << pitch;
    }
  }
}

// Results are whole multiples of the pitch, written so here: 13 * 0.1 is not the double 1.3.
TEST(UtilityTest, RoundingToPitch) {
  struct Case {
    const char* name;
    RoundFunction round;
    double x;
    double pitch;
    double expected;
  };
  const Case cases[] = {
      {"RoundOff", RoundOff, 2.5, 0.0, 3.0},    // a pitch of 0 means whole units
      {"RoundOff", RoundOff, -2.5, 1.0, -2.0},  // halves go toward plus infinity
      {"RoundOff", RoundOff, -0.15, 0.1, -1 * 0.1}, {"RoundOff", RoundOff, 1.26, 0.1, 13 * 0.1},
      {"RoundOff", RoundOff, 1.24, 0.1, 12 * 0.1},  {"RoundOff", RoundOff, 7.4, -3.0, 7.0},
      {"RoundOff", RoundOff, 12.5, 5.0, 3 * 5.0},   {"RoundUp", RoundUp, 0.01, 0.5, 0.5},
      {"RoundUp", RoundUp, -0.7, 0.5, -0.5},        {"RoundUp", RoundUp, 1.2, -1.0, 2.0},
      {"RoundUp", RoundUp, 3.0, 1.5, 2 * 1.5},      {"RoundUp", RoundUp, 0.31, 0.1, 4 * 0.1},
      {"RoundDown", RoundDown, -0.01, 0.5, -0.5},   {"RoundDown", RoundDown, 0.7, 0.5, 0.5},
      {"RoundDown", RoundDown, 7.9, 2.0, 6.0},      {"RoundDown", RoundDown, 1.9, 0.0, 1.0},
      {"RoundDown", RoundDown, 0.39, 0.1, 3 * 0.1},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(c.round(c.x, c.pitch), c.expected) << c.name << "(" << c.x << ", " << c.pitch << ")";
  }
}

// The rounding's floor agrees with std::floor bit for bit where the two ways part: halves and
// values a unit in the last place beside an integer, both signs, the edge of the shifted range,
// the quotients the rounding floors, and what std::floor itself must settle.
TEST(UtilityTest, FloorNonNegativeZeroIsStdFloor) {
  const double inf = std::numeric_limits<double>::infinity();
  std::vector<double> values = {0.0,    0.5,       -0.5,       1.5,      -1.5,   2.5,
                                -2.5,   0x1p-1074, -0x1p-1074, 0x1p50,   0x1p51, -0x1p51,
                                0x1p52, 0x1.8p52,  -0x1.8p52,  1e300,    -1e300, inf,
                                -inf,   0.1,       -0.1,       123456.5, -7.0,   7.0};
  for (const double base : {1.0, 2.0, 3.0, 1e6, 0x1p50 - 1, 0x1p51 - 1}) {
    for (const double sign : {1.0, -1.0}) {
      const double v = sign * base;
      values.insert(values.end(), {v, std::nextafter(v, inf), std::nextafter(v, -inf), v + 0.5,
                                   std::nextafter(v + 0.5, inf)});
    }
  }
  // (10 x / pitch + 5) / 10 for the rounding's usual pitches and values around their halves.
  for (const double tenths : {10.0, 100.0, 1e4, 1e7}) {
    for (int k = -2000; k <= 2000; ++k) {
      const double x = k * 0.00049999999999999;
      values.push_back((tenths * x + 5.0) / 10.0);
    }
  }
  for (const double q : values) {
    const std::uint64_t want = std::bit_cast<std::uint64_t>(std::floor(q));
    EXPECT_EQ(std::bit_cast<std::uint64_t>(FloorNonNegativeZero(q)), want) << q;
  }
  EXPECT_TRUE(std::isnan(FloorNonNegativeZero(std::nan(""))));
}

// The tenth's floor without the division agrees with the divided one bit for bit where they could
// part: multiples of 10 and the doubles beside them, both signs, where 10k lies just above a power
// of two (the spacing of the doubles changes below it), up to the edge of the range, and the
// values the rounding floors (sums with 5, which are 0 or at least 2^-50 in size).
TEST(UtilityTest, FloorTenthBelow2To50IsTheFlooredQuotient) {
  const double inf = std::numeric_limits<double>::infinity();
  std::vector<double> values = {0.0, -0.0, 5.0, -5.0, 0x1p-50, -0x1p-50, 0x1p50 - 1};
  std::vector<double> tens;
  for (const double k : {0.0, 1.0, 3.0, 7.0, 1e5, 123456789.0, std::floor(0x1p50 / 10.0)}) {
    tens.push_back(10.0 * k);
  }
  for (int m = 4; m < 50; ++m) tens.push_back(10.0 * std::ceil(std::ldexp(1.0, m) / 10.0));
  for (const double ten : tens) {
    for (const double sign : {1.0, -1.0}) {
      const double v = sign * ten;
      const double below = std::nextafter(v, -inf);
      values.insert(values.end(), {v, std::nextafter(v, inf), below, std::nextafter(below, -inf),
                                   v + 5.0, v - 5.0});
    }
  }
  for (const double tenths : {10.0, 100.0, 1e4, 1e7}) {
    for (int k = -2000; k <= 2000; ++k) {
      values.push_back(tenths * (k * 0.00049999999999999 + 1e-9) + 5.0);
    }
  }
  for (const double y : values) {
    if (y != 0.0 && std::fabs(y) < 0x1p-50) continue;
    const std::uint64_t want = std::bit_cast<std::uint64_t>(FloorBelow2To51(y / 10.0));
    EXPECT_EQ(std::bit_cast<std::uint64_t>(FloorTenthBelow2To50(y)), want) << y;
  }
}

TEST(UtilityTest, IsBetweenIncludesBothEndsWithASlack) {
  struct Case {
    double a;
    double b;
    double v;
    bool expected;
  };
  const Case cases[] = {
      {5.0, 1.0, 5.00000000000001, true},
      {1.0, 5.0, 5.001, false},
      {1.0, 5.0, 3.0, true},
      {5.0, 1.0, 3.0, true},
      {1.0, 5.0, 1.0, true},
      {1.0, 5.0, 0.99999999999999, true},
      {1.0, 5.0, 0.9999, false},
      {-2.0, -2.0, -2.0, true},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(IsBetween(c.a, c.b, c.v), c.expected) << c.a << " " << c.b << " " << c.v;
  }
}

TEST(UtilityTest, DoubleToStr) {
  struct Case {
    double value;
    int decimals;
    const char* text;
  };
  const Case cases[] = {
      {1.25, 9, ""},  {1.25, 8, ""},           {1.25, -3, "1"},       {kNoValue, 2, ""},
      {1.25, 0, "1"}, {-3.14159, 3, "-3.142"}, {2.0, 7, "2.0000000"}, {0.5, 1, "0.5"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(DoubleToStr(c.value, c.decimals), c.text) << c.value << " with " << c.decimals;
  }
}

TEST(UtilityTest, DoubleToExpStrGivesOneDigitAndTheExponent) {
  struct Case {
    double value;
    const char* text;
  };
  const Case cases[] = {
      {1.0e5, "1E+5"},
      {3.7e-4, "4E-4"},
      {1.0, "1E+0"},
      {0.0, "0E+0"},
      {2.34e12, "2E+12"},
      {-2.0e-3, "-2E-3"},
      {1e100, "1E+100"},
      {kNoValue, ""},
      // A mantissa that rounds up to 10 carries into the exponent.
      {9.6e4, "1E+5"},
      {-9.6e4, "-1E+5"},
      {9.5, "1E+1"},
      {9.99e-7, "1E-6"},
      {9.4e-3, "9E-3"},
      // Not a number at all: the mantissa does not read back.
      {std::numeric_limits<double>::infinity(), ""},
      {std::numeric_limits<double>::quiet_NaN(), ""},
  };
  for (const Case& c : cases) EXPECT_EQ(DoubleToExpStr(c.value), c.text) << c.value;
}

TEST(UtilityTest, IntToStr) {
  EXPECT_EQ(IntToStr(kNoValueInt), "");
  EXPECT_EQ(IntToStr(0), "0");
  EXPECT_EQ(IntToStr(-42), "-42");
  EXPECT_EQ(IntToStr(INT_MAX), "2147483647");
}

TEST(UtilityTest, StrToDouble) {
  struct Case {
    const char* text;
    int code;
    double expected;
  };
  const Case cases[] = {
      {"  1.26  ", 1, 13 * 0.1},
      {"1.26", -1, 1.26},
      {"7.6", 0, 8.0},
      {"7.6", 12, 8.0},  // unknown codes round to whole units
      {"-2.5", 8, -2.0},
      {"1.2345", 2, 123 * 0.01},
      {"+.5", -1, 0.5},
      {"5.", -1, 5.0},
      {"1e5", -1, 1e5},
      {"1E-3", -1, 1e-3},
      {"1.2x", 1, kNoValue},
      {"1.2 x", 1, kNoValue},
      {"   ", 1, kNoValue},
      {"", -1, kNoValue},
      {"0x10", -1, kNoValue},
      {"inf", -1, kNoValue},
      {"nan", -1, kNoValue},
      {"1,5", -1, kNoValue},
      // Beyond the range of a double there is no value to give; below it the value is 0.
      {"1e400", -1, kNoValue},
      {"-1e400", 3, kNoValue},
      {"1e-400", -1, 0.0},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(StrToDouble(c.text, c.code), c.expected) << "'" << c.text << "' code " << c.code;
  }
}

TEST(UtilityTest, StrToInt) {
  struct Case {
    const char* text;
    int defaultValue;
    int expected;
  };
  const Case cases[] = {
      {"12a", 5, 5}, {" -3 ", 5, -3}, {"", 7, 7},
      {"   ", 7, 7}, {"+8", 0, 8},    {"2147483648", 1, 1},
      {"1.0", 4, 4}, {"- 3", 2, 2},   {"-2147483648", 0, INT_MIN},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(StrToInt(c.text, c.defaultValue), c.expected) << "'" << c.text << "'";
  }
}

TEST(UtilityTest, NoValueSentinelsSurviveATextRoundTrip) {
  EXPECT_EQ(StrToDouble(DoubleToStr(kNoValue, 3), 3), kNoValue);
  EXPECT_EQ(StrToInt(IntToStr(kNoValueInt), kNoValueInt), kNoValueInt);
}

// Restores the process locale when the test ends, whether it passed or not.
class LocaleGuard {
 public:
  LocaleGuard() : saved_(std::setlocale(LC_ALL, nullptr)) {}
  ~LocaleGuard() { std::setlocale(LC_ALL, saved_.c_str()); }
  LocaleGuard(const LocaleGuard&) = delete;
  LocaleGuard& operator=(const LocaleGuard&) = delete;

 private:
  std::string saved_;
};

TEST(UtilityTest, NumberTextsIgnoreTheProcessLocale) {
  LocaleGuard guard;
  ASSERT_NE(std::setlocale(LC_ALL, "de_DE.UTF-8"), nullptr)
      << "the de_DE.UTF-8 locale is missing: run scripts/setup";
  ASSERT_NE(std::setlocale(LC_NUMERIC, "de_DE.UTF-8"), nullptr);
  ASSERT_STREQ(std::localeconv()->decimal_point, ",");

  EXPECT_EQ(DoubleToStr(1234.5678, 2), "1234.57");
  EXPECT_EQ(DoubleToStr(-0.125, 3), "-0.125");
  EXPECT_EQ(DoubleToExpStr(3.7e-4), "4E-4");
  EXPECT_EQ(DoubleToExpStr(-9.6e4), "-1E+5");
  EXPECT_EQ(StrToDouble("1.26", 1), 13 * 0.1);
  EXPECT_EQ(StrToDouble("2.5e-1", -1), 0.25);
  EXPECT_EQ(StrToDouble("1,26", -1), kNoValue);
  EXPECT_EQ(IntToStr(-1234567), "-1234567");
  EXPECT_EQ(StrToInt("1234567", 0), 1234567);
}

TEST(UtilityTest, GetFileDirSplitsAtTheLastSeparator) {
  struct Case {
    const char* path;
    const char* dir;
  };
  const Case cases[] = {
      {"file.qxmd", "file.qxmd"},
      {"/home/user/site/file.qxmd", "/home/user/site"},
      {"/home/user/site/", "/home/user/site"},
      {"/file.qxmd", ""},
      {"", ""},
      {"dir\\file.qxmd", "dir\\file.qxmd"},  // a backslash is a plain character here
  };
  for (const Case& c : cases) EXPECT_EQ(GetFileDir(c.path), c.dir) << c.path;
}

// The data folder stands in for the program's folder where files are written; what ships with the
// program is read beside the executable.
TEST(UtilityTest, ProgramFoldersEndInASeparator) {
  const char* home = std::getenv("BRIXO_HOME");
  ASSERT_NE(home, nullptr);
  EXPECT_EQ(GetModuleDir(), std::string(home) + "/");
  EXPECT_EQ(GetResourceDir(),
            std::filesystem::read_symlink("/proc/self/exe").parent_path().string() + "/");
}

}  // namespace
