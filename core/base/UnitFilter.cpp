#include "core/base/UnitFilter.h"

#include <array>
#include <cmath>
#include <cstddef>
#include <cstdint>

#include "core/base/Utility.h"
#include "platform/Archive.h"

namespace {

// The first document version that holds the decimals of the seismic coefficient.
constexpr int kSeismicDigitsVersion = 4;
constexpr int kSafetyFactorCode1 = 163;
constexpr int kSafetyFactorCode2 = 164;
constexpr int kRestrainingForceCode = 261;

// 10^-digits as repeated multiplication of 0.1, the way the printed results were computed.
// Once it has underflowed to 0 it stays 0, so absurd digit counts end the loop early.
double RepeatedTenth(int digits) {
  double c = 1.0;
  for (int i = 0; i < digits && c != 0.0; ++i) c *= 0.1;
  return c;
}

// RepeatedTenth, taken from a table for the usual digit counts: every rounded quantity of a
// calculation asks for its pitch.
double PitchOfDigits(int digits) {
  constexpr int kTabulated = 16;
  static const std::array<double, kTabulated> kPitches = [] {
    std::array<double, kTabulated> pitches{};
    for (int d = 0; d < kTabulated; ++d) pitches[static_cast<std::size_t>(d)] = RepeatedTenth(d);
    return pitches;
  }();
  if (digits < 0 || digits >= kTabulated) return RepeatedTenth(digits);
  return kPitches[static_cast<std::size_t>(digits)];
}

// Half up to a multiple of c, nudged by 1e-9 so that values stored a hair below a half go up.
double Snap(double v, double c) { return RoundOff(v + 1e-9, c); }

// The fields of the unit filter record in their stored order; Filter is CUnitFilter, const or not.
template <typename Filter, typename Visit>
void ForEachStoredField(Filter& filter, int version, Visit visit) {
  visit(filter.roundSwitch);
  visit(filter.modeGeneral);
  visit(filter.modeSafetyFactor);
  visit(filter.modeRestrainingForce);
  visit(filter.digitsSafetyFactor);
  visit(filter.digitsCohesion);
  visit(filter.digitsFriction);
  if (version >= kSeismicDigitsVersion) visit(filter.digitsSeismicCoefficient);
  visit(filter.digits231);
}

}  // namespace

int CUnitFilter::EnableRoundValue(int enable) {
  const int previous = roundSwitch;
  roundSwitch = enable;
  return previous;
}

int CUnitFilter::Digit(int code) const {
  switch (code) {
    // clang-format off
    case 111: case 112: case 141:
    case 181: case 182: case 183: case 184: case 185:
    case 221: case 291: case 292: case 293: case 301: case 302:
    case 311: case 331: case 341: case 351:
      return 3;
    case 171: case 172: case 173: case 241: case 271:
      return 2;
    case kRestrainingForceCode:
      return 1;
    case 162:
      return 6;
    case kSafetyFactorCode1: case kSafetyFactorCode2:
      return digitsSafetyFactor;
    case 131:
      return digitsCohesion;
    case 161:
      return digitsFriction;
    case 211:
      return digitsSeismicCoefficient;
    case 231:
      return digits231;
    // clang-format on
    default:
      return code >= 990 && code <= 997 ? code - 990 : 0;
  }
}

double CUnitFilter::Round(double x, int code) const { return roundSwitch ? Round2(x, code) : x; }

double CUnitFilter::Round2(double x, int code) const {
  if (std::fabs(x) >= 9e32) return kNoValue;
  const double c = PitchOfDigits(Digit(code));

  int mode = modeGeneral;
  if (code == kSafetyFactorCode1 || code == kSafetyFactorCode2) mode = modeSafetyFactor;
  if (code == kRestrainingForceCode) mode = modeRestrainingForce;

  switch (mode) {
    case kRoundModeHalfUp:
      return Snap(x, c);
    case kRoundModeTruncate:
      return Snap(x - c / 2.0, c);
    case kRoundModeUp: {
      // Truncate the negated value and negate back; a zero stays +0.0.
      const double r = Snap(-x - c / 2.0, c);
      return r == 0.0 ? 0.0 : -r;
    }
    default:
      return x;
  }
}

void CUnitFilter::Store(Archive& ar, int version) const {
  ForEachStoredField(*this, version,
                     [&ar](const int& field) { ar << static_cast<std::int32_t>(field); });
}

void CUnitFilter::Load(Archive& ar, int version) {
  CUnitFilter loaded;
  ForEachStoredField(loaded, version, [&ar](int& field) {
    std::int32_t value = 0;
    ar >> value;
    field = value;
  });
  *this = loaded;
}
