#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <initializer_list>
#include <iterator>
#include <limits>
#include <memory>
#include <random>
#include <vector>

#include "core/base/UnitFilter.h"
#include "core/base/Utility.h"
#include "platform/Archive.h"
#include "tests/support/RecordBytes.h"
#include "tests/support/RecordContract.h"

namespace {

// Rounded values are whole multiples of the pitch 10^-d, which the rules form by multiplying 0.1
// d times; so the expectations are written as multiples of these pitches (1234 * kPitch3 is not
// the double 1.234).
constexpr double kPitch1 = 0.1;
constexpr double kPitch2 = 0.1 * 0.1;
constexpr double kPitch3 = 0.1 * 0.1 * 0.1;
constexpr double kPitch6 = 0.1 * 0.1 * 0.1 * 0.1 * 0.1 * 0.1;
constexpr double kPitch7 = kPitch6 * 0.1;

std::vector<std::uint8_t> Int32Record(std::initializer_list<std::int32_t> values) {
  RecordBytes bytes;
  for (const std::int32_t v : values) bytes.Int(v);
  return bytes.Get();
}

CUnitFilter DistinctFilter() {
  CUnitFilter f;
  f.roundSwitch = 0;
  f.modeGeneral = 1;
  f.modeSafetyFactor = 2;
  f.modeRestrainingForce = 9;
  f.digitsSafetyFactor = 4;
  f.digitsCohesion = 5;
  f.digitsFriction = 6;
  f.digitsSeismicCoefficient = 7;
  f.digits231 = -8;
  return f;
}

TEST(UnitFilterTest, Defaults) {
  CUnitFilter f = DistinctFilter();
  f.Init();
  EXPECT_EQ(f.roundSwitch, 1);
  EXPECT_EQ(f.modeGeneral, kRoundModeHalfUp);
  EXPECT_EQ(f.modeSafetyFactor, kRoundModeTruncate);
  EXPECT_EQ(f.modeRestrainingForce, kRoundModeUp);
  EXPECT_EQ(f.digitsSafetyFactor, 3);
  EXPECT_EQ(f.digitsCohesion, 3);
  EXPECT_EQ(f.digitsFriction, 4);
  EXPECT_EQ(f.digitsSeismicCoefficient, 3);
  EXPECT_EQ(f.digits231, 0);
}

TEST(UnitFilterTest, CopyAndIsSameCoverAllNineValues) {
  const CUnitFilter distinct = DistinctFilter();
  CUnitFilter f;
  EXPECT_FALSE(f.IsSame(&distinct));
  f.Copy(&distinct);
  EXPECT_TRUE(f.IsSame(&distinct));

  int CUnitFilter::*const fields[] = {
      &CUnitFilter::roundSwitch,        &CUnitFilter::modeGeneral,
      &CUnitFilter::modeSafetyFactor,   &CUnitFilter::modeRestrainingForce,
      &CUnitFilter::digitsSafetyFactor, &CUnitFilter::digitsCohesion,
      &CUnitFilter::digitsFriction,     &CUnitFilter::digitsSeismicCoefficient,
      &CUnitFilter::digits231,
  };
  for (int CUnitFilter::*const field : fields) {
    CUnitFilter changed = distinct;
    changed.*field += 100;
    EXPECT_FALSE(changed.IsSame(&distinct));
  }
}

TEST(UnitFilterTest, EnableRoundValueReturnsThePreviousSwitch) {
  CUnitFilter f;
  EXPECT_EQ(f.EnableRoundValue(0), 1);
  EXPECT_EQ(f.IsEnableRoundValue(), 0);
  EXPECT_EQ(f.EnableRoundValue(1), 0);
  EXPECT_EQ(f.IsEnableRoundValue(), 1);
}

TEST(UnitFilterTest, DigitByCode) {
  const CUnitFilter f = DistinctFilter();
  struct Case {
    int code;
    int digits;
  };
  const Case cases[] = {
      {111, 3}, {112, 3}, {141, 3}, {181, 3}, {182, 3}, {183, 3}, {184, 3},  {185, 3},
      {221, 3}, {291, 3}, {292, 3}, {293, 3}, {301, 3}, {302, 3}, {311, 3},  {331, 3},
      {341, 3}, {351, 3}, {171, 2}, {172, 2}, {173, 2}, {241, 2}, {271, 2},  {261, 1},
      {162, 6}, {163, 4}, {164, 4}, {131, 5}, {161, 6}, {211, 7}, {231, -8}, {990, 0},
      {993, 3}, {997, 7}, {998, 0}, {989, 0}, {100, 0}, {0, 0},   {-1, 0},   {186, 0},
  };
  for (const Case& c : cases) EXPECT_EQ(f.Digit(c.code), c.digits) << c.code;
}

TEST(UnitFilterTest, Round2WithTheDefaultRules) {
  const CUnitFilter f;
  struct Case {
    int code;
    double x;
    double expected;
  };
  const Case cases[] = {
      {163, 1.2346, 1234 * kPitch3},  // safety factor: truncated to 3 decimals
      {164, -1.2341, -1235 * kPitch3},
      {261, 12.31, 124 * kPitch1},  // restraining force: rounded up to 1 decimal
      {261, -12.31, -123 * kPitch1},
      {111, 2.0005, 2001 * kPitch3},  // area: half up to 3 decimals
      {111, 2.0004, 2000 * kPitch3},
      {111, -2.0005, -2000 * kPitch3},
      {111, 0.0, 0.0},
      {171, 1.0049, 100 * kPitch2},
      {162, 0.12345649, 123456 * kPitch6},
      {997, 1.23456785, 12345679 * kPitch7},
      {990, 2.5, 3.0},  // 0 decimals: the pitch is 1
      {111, kNoValue, kNoValue},
      {163, 1e33, kNoValue},
      {261, -1e33, kNoValue},
      {131, 9e32, kNoValue},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(f.Round2(c.x, c.code), c.expected) << c.x << " code " << c.code;
  }
}

TEST(UnitFilterTest, RoundedValuesPrintAsTheirDecimals) {
  const CUnitFilter f;
  struct Case {
    int code;
    double x;
    const char* text;
  };
  const Case cases[] = {{163, 1.2346, "1.234"}, {261, 12.31, "12.4"}, {111, 2.0005, "2.001"}};
  for (const Case& c : cases) {
    EXPECT_EQ(DoubleToStr(f.Round2(c.x, c.code), f.Digit(c.code)), c.text) << c.code;
  }
}

TEST(UnitFilterTest, Round2UpNeverGivesNegativeZero) {
  const CUnitFilter f;
  for (const double x : {0.0, -0.0, -0.04, -0.0999}) {
    const double rounded = f.Round2(x, 261);
    EXPECT_EQ(rounded, 0.0) << x;
    EXPECT_FALSE(std::signbit(rounded)) << x;
  }
}

// Round2 floors its nudged value without RoundOff's checks for 0 and the no-value marker: at the
// values whose nudged form is 0, and at the largest sizes below the marker's, it gives the bits
// of the nudged value rounded by RoundOff with its checks, in every mode.
TEST(UnitFilterTest, Round2SnapsAsRoundOffWhereItsChecksWouldAct) {
  const auto snap = [](double v) { return RoundOff(v + 1e-9, kPitch3); };
  const auto bits = [](double v) { return std::bit_cast<std::uint64_t>(v); };
  const double half = kPitch3 / 2.0;
  const double largest = std::nextafter(9e32, 0.0);
  CUnitFilter f;
  for (const double x :
       {0.0, -0.0, -1e-9, half - 1e-9, -half - 1e-9, 1e-300, -1e-300, largest, -largest}) {
    const double up = snap(-x - half);
    const struct {
      int mode;
      double expected;
    } cases[] = {
        {kRoundModeHalfUp, snap(x)},
        {kRoundModeTruncate, snap(x - half)},
        {kRoundModeUp, up == 0.0 ? 0.0 : -up},
    };
    for (const auto& c : cases) {
      f.modeGeneral = c.mode;
      EXPECT_EQ(bits(f.Round2(x, 111)), bits(c.expected)) << "mode " << c.mode << " x " << x;
    }
  }
}

TEST(UnitFilterTest, Round2TakesTheModeOfTheCodesGroup) {
  CUnitFilter f;
  f.modeGeneral = kRoundModeUp;
  f.modeSafetyFactor = kRoundModeHalfUp;
  f.modeRestrainingForce = kRoundModeTruncate;
  struct Case {
    int code;
    double x;
    double expected;
  };
  const Case cases[] = {
      {111, 2.0001, 2001 * kPitch3},
      {160, 2.1, 3.0},
      {165, 2.1, 3.0},
      {262, 2.1, 3.0},
      {163, 1.2345, 1235 * kPitch3},
      {164, 1.2344, 1234 * kPitch3},
      {261, 12.39, 123 * kPitch1},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(f.Round2(c.x, c.code), c.expected) << c.x << " code " << c.code;
  }

  f.modeGeneral = 7;  // not a rounding mode: the value passes unchanged
  EXPECT_EQ(f.Round2(1.23456789, 111), 1.23456789);
}

TEST(UnitFilterTest, Round2EndsForAbsurdDigits) {
  CUnitFilter f;
  f.digitsCohesion = 2'000'000'000;  // 10^-digits underflows: a pitch of 0 means whole units
  EXPECT_EQ(f.Round2(2.4, 131), 2.0);
  f.digitsCohesion = -5;
  EXPECT_EQ(f.Round2(2.4, 131), 2.0);
}

TEST(UnitFilterTest, RoundFollowsTheSwitch) {
  CUnitFilter f;
  EXPECT_EQ(f.Round(1.2346, 163), 1234 * kPitch3);
  f.EnableRoundValue(0);
  EXPECT_EQ(f.Round(1.2346, 163), 1.2346);
  EXPECT_EQ(f.Round2(1.2346, 163), 1234 * kPitch3);
}

// The rounding of a pass gives the rules' bits for every code, under the default rules (where it
// takes its own path for the general codes) and under every other switch and direction, at the
// halves of each code's pitch and a hair beside them, at the edge of the range its own path
// takes, at zeros, at and near the no-value marker, for absurd digit counts, and over random
// values of every size; and so does its rounding of two values side by side, for each value
// paired with itself and with values of other kinds, by the same code or by another of the same
// or other decimals or direction (its two lanes take their own path only where both values
// may).
TEST(UnitFilterTest, CalcRoundingGivesTheRulesBits) {
  const auto bits = [](double v) { return std::bit_cast<std::uint64_t>(v); };
  std::vector<CUnitFilter> rules(6);
  rules[1].roundSwitch = 0;
  rules[2].modeGeneral = kRoundModeTruncate;
  rules[3].modeGeneral = kRoundModeUp;
  rules[4].digitsCohesion = 40;  // a pitch finer than the path of its own allows
  rules[5].digitsCohesion = -5;
  rules[5].digits231 = 2'000'000'000;
  const int codes[] = {111, 141, 181, 184, 221, 241, 271, 291, 301, 311, 331, 162,
                       131, 161, 211, 231, 990, 997, 163, 164, 261, 0,   5000};
  std::mt19937_64 random(38);
  const double inf = std::numeric_limits<double>::infinity();
  for (const CUnitFilter& filter : rules) {
    const CalcRounding rounding(filter);
    for (const int code : codes) {
      const unit_filter_detail::DigitPitch pitch =
          unit_filter_detail::PitchOfDigits(filter.Digit(code));
      std::vector<double> values = {0.0,      -0.0,      1e-300, -1e-300,
                                    kNoValue, -kNoValue, 9e32,   1e20,
                                    -1e20,    inf,       -inf,   std::nextafter(9e32, 0.0)};
      for (const double edge : {pitch.checkFreeBound, -pitch.checkFreeBound}) {
        values.insert(values.end(), {edge, std::nextafter(edge, inf), std::nextafter(edge, -inf)});
      }
      for (int k = -50; k <= 50; ++k) {
        const double half = (k + 0.5) * pitch.c;
        for (const double v : {half, half - 1e-9, std::nextafter(half - 1e-9, inf),
                               std::nextafter(half - 1e-9, -inf)}) {
          values.push_back(v);
        }
      }
      for (int i = 0; i < 2000; ++i) {
        const double size = std::ldexp(1.0, static_cast<int>(random() % 120) - 60);
        values.push_back((static_cast<double>(random() % 2000001) - 1e6) * 1e-6 * size);
      }
      for (const double x : values) {
        EXPECT_EQ(bits(rounding.Round(x, code)), bits(filter.Round(x, code)))
            << "code " << code << " x " << x << " switch " << filter.roundSwitch << " mode "
            << filter.modeGeneral;
      }
      const double nan = std::nan("");
      EXPECT_TRUE(std::isnan(rounding.Round(nan, code)));
      // Each value with itself, with its neighbour in the list and with one far from it, the
      // second by the same code or by one of three others in turn.
      const int secondCodes[] = {code, 141, 241, 163};
      for (std::size_t i = 0; i < values.size(); ++i) {
        const double x = values[i];
        const int codeB = secondCodes[i % std::size(secondCodes)];
        for (const double y : {x, values[(i + 1) % values.size()],
                               values[(i * 7 + values.size() / 2) % values.size()]}) {
          const CalcRounding::Pair pair = rounding.RoundPair(x, code, y, codeB);
          EXPECT_EQ(bits(pair.a), bits(filter.Round(x, code)))
              << "code " << code << " x " << x << " beside " << y << " mode " << filter.modeGeneral;
          EXPECT_EQ(bits(pair.b), bits(filter.Round(y, codeB)))
              << "code " << codeB << " y " << y << " beside " << x << " mode "
              << filter.modeGeneral;
        }
      }
      const CalcRounding::Pair withNan = rounding.RoundPair(1.0, nan, code);
      EXPECT_EQ(bits(withNan.a), bits(filter.Round(1.0, code)));
      EXPECT_TRUE(std::isnan(withNan.b));
    }
  }
}

TEST(UnitFilterTest, RecordOfEachVersion) {
  // Before version 4 the record has no seismic-coefficient decimals; they read as 3.
  CUnitFilter olderFilter = DistinctFilter();
  olderFilter.digitsSeismicCoefficient = 3;
  const struct {
    int version;
    CUnitFilter stored;
    std::vector<std::uint8_t> bytes;
  } cases[] = {
      {10, DistinctFilter(), Int32Record({0, 1, 2, 9, 4, 5, 6, 7, -8})},
      {3, olderFilter, Int32Record({0, 1, 2, 9, 4, 5, 6, -8})},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.version);
    ExpectRecordContract<CUnitFilter>({
        .stored = c.stored,
        .version = c.version,
        .bytes = c.bytes,
        .makeTarget =
            [] {
              auto other = std::make_unique<CUnitFilter>();
              other->digitsSeismicCoefficient = 42;
              return other;
            },
    });
  }
  // The seismic-coefficient decimals are left out of the older record.
  Archive old;
  DistinctFilter().Store(old, 3);
  EXPECT_EQ(old.Bytes(), Int32Record({0, 1, 2, 9, 4, 5, 6, -8}));
}

}  // namespace
