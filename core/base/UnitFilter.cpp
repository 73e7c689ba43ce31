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
constexpr double RepeatedTenth(int digits) {
  double c = 1.0;
  for (int i = 0; i < digits && c != 0.0; ++i) c *= 0.1;
  return c;
}

// The pitch of a digit count as the rounding directions use it: the plain pitch, which shifts a
// value by half a step, and the pitch prepared for RoundOff.
struct DigitPitch {
  double c;
  RoundingPitch rounding;

  static constexpr DigitPitch Of(int digits) {
    const double c = RepeatedTenth(digits);
    return DigitPitch{c, RoundingPitch::Of(c)};
  }
};

// Every rounded quantity of a calculation asks for its pitch: the usual digit counts come from a
// table that the compiler fills with the same doubles (IEEE products and quotients are exact to
// the last bit at compile time as at run time).
DigitPitch PitchOfDigits(int digits) {
  constexpr int kTabulated = 16;
  static constexpr std::array<DigitPitch, kTabulated> kPitches = [] {
    std::array<DigitPitch, kTabulated> pitches{};
    for (int d = 0; d < kTabulated; ++d) pitches[static_cast<std::size_t>(d)] = DigitPitch::Of(d);
    return pitches;
  }();
  if (digits < 0 || digits >= kTabulated) return DigitPitch::Of(digits);
  return kPitches[static_cast<std::size_t>(digits)];
}

// Half up to a multiple of the pitch, nudged by 1e-9 so that values stored a hair below a half go
// up.
double Snap(double v, const DigitPitch& pitch) { return RoundOff(v + 1e-9, pitch.rounding); }

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
  const DigitPitch pitch = PitchOfDigits(Digit(code));
  const double c = pitch.c;

  int mode = modeGeneral;
  if (code == kSafetyFactorCode1 || code == kSafetyFactorCode2) mode = modeSafetyFactor;
  if (code == kRestrainingForceCode) mode = modeRestrainingForce;

  switch (mode) {
    case kRoundModeHalfUp:
      return Snap(x, pitch);
    case kRoundModeTruncate:
      return Snap(x - c / 2.0, pitch);
    case kRoundModeUp: {
      // Truncate the negated value and negate back; a zero stays +0.0.
      const double r = Snap(-x - c / 2.0, pitch);
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
