#pragma once
// The rounding rules: how many decimals each quantity code gets, which rounding direction a
// group of codes takes, and whether the calculations round their intermediate values.
//
// Every rounded quantity of a calculation passes Round, so it is defined here, where a constant
// quantity code folds its decimals, pitch and direction at compile time.

#include <array>
#include <cmath>
#include <cstddef>

#include "core/base/Utility.h"

class Archive;

// Rounding directions of the mode fields.
inline constexpr int kRoundModeUp = 0;        // toward plus infinity
inline constexpr int kRoundModeTruncate = 1;  // toward minus infinity
inline constexpr int kRoundModeHalfUp = 2;

class CUnitFilter {
 public:
  // Stored in this order; defaults as a new document has them.
  int roundSwitch = 1;                        // 1: calculations round intermediate values
  int modeGeneral = kRoundModeHalfUp;         // every code not named below
  int modeSafetyFactor = kRoundModeTruncate;  // codes 163 and 164
  int modeRestrainingForce = kRoundModeUp;    // code 261
  int digitsSafetyFactor = 3;                 // codes 163 and 164
  int digitsCohesion = 3;                     // code 131
  int digitsFriction = 4;                     // code 161
  int digitsSeismicCoefficient = 3;           // code 211; in documents from version 4 on
  int digits231 = 0;                          // code 231

  void Init() { *this = CUnitFilter(); }
  void Copy(const CUnitFilter* other) { *this = *other; }
  bool IsSame(const CUnitFilter* other) const { return *this == *other; }
  friend bool operator==(const CUnitFilter&, const CUnitFilter&) = default;

  int IsEnableRoundValue() const { return roundSwitch; }
  // Sets the switch and returns its previous value.
  int EnableRoundValue(int enable);

  // The number of decimals of a quantity code.
  int Digit(int code) const;
  // Round2 while the switch is on, else x unchanged.
  double Round(double x, int code) const { return roundSwitch ? Round2(x, code) : x; }
  // Rounds x to the decimals of the code in the code's direction, whatever the switch says.
  // Anything as large as the no-value marker gives the no-value marker.
  double Round2(double x, int code) const;

  void Store(Archive& ar, int version) const;
  // Leaves the filter as it was when the archive ends early.
  void Load(Archive& ar, int version);

  static constexpr int kSafetyFactorCode1 = 163;
  static constexpr int kSafetyFactorCode2 = 164;
  static constexpr int kRestrainingForceCode = 261;
  // The code takes the general direction (modeGeneral).
  static constexpr bool IsGeneralCode(int code) {
    return code != kSafetyFactorCode1 && code != kSafetyFactorCode2 &&
           code != kRestrainingForceCode;
  }
};

// The rounding of one pass of a calculation over many values, by the rules in force when the pass
// starts (no pass changes them): Round(x, code) gives CUnitFilter::Round's bits. It settles the
// switch and the general direction once, so that under the default rules a value of a general code
// costs the half-up arithmetic alone. Made on the stack where a pass starts, never kept.
class CalcRounding {
 public:
  explicit CalcRounding(const CUnitFilter& rules)
      : rules_(&rules),
        generalHalfUp_(rules.roundSwitch != 0 && rules.modeGeneral == kRoundModeHalfUp) {}

  double Round(double x, int code) const;
  // Round(a, codeA) and Round(b, codeB), the same bits; where both take the half-up arithmetic
  // of the general codes to one number of decimals, in the two lanes of one pass over it.
  struct Pair {
    double a;
    double b;
  };
  // Both inline wherever they are called, however many calls the caller makes: a shared copy
  // would cost a call, and the caller's registers, for every pair.
  Pair RoundPair(double a, int codeA, double b, int codeB) const;
  [[gnu::always_inline]] Pair RoundPair(double a, double b, int code) const {
    return RoundPair(a, code, b, code);
  }

 private:
  const CUnitFilter* rules_;
  bool generalHalfUp_;
};

namespace unit_filter_detail {

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
  // Half up, a value smaller than this in size keeps the floored quotient below 2^51 and lies far
  // from the no-value marker, so that it needs neither check (see SnapCheckFree); 0 for the
  // pitches finer than 1e-15, whose nudge alone could reach that range.
  double checkFreeBound;

  static constexpr DigitPitch Of(int digits) {
    const double c = RepeatedTenth(digits);
    const RoundingPitch rounding = RoundingPitch::Of(c);
    const double bound = rounding.tenths <= kMostTenths ? 0x1p49 / rounding.tenths : 0.0;
    return DigitPitch{c, rounding, bound};
  }
  static constexpr double kMostTenths = 1e16;
};

// The usual digit counts come from a table that the compiler fills with the same doubles (IEEE
// products and quotients are exact to the last bit at compile time as at run time).
inline constexpr int kTabulatedDigits = 16;
inline constexpr std::array<DigitPitch, kTabulatedDigits> kDigitPitches = [] {
  std::array<DigitPitch, kTabulatedDigits> pitches{};
  for (int d = 0; d < kTabulatedDigits; ++d) {
    pitches[static_cast<std::size_t>(d)] = DigitPitch::Of(d);
  }
  return pitches;
}();

inline DigitPitch PitchOfDigits(int digits) {
  if (digits < 0 || digits >= kTabulatedDigits) return DigitPitch::Of(digits);
  return kDigitPitches[static_cast<std::size_t>(digits)];
}

// Half up to a multiple of the pitch, nudged by 1e-9 so that values stored a hair below a half go
// up. Round2 snaps values below the no-value marker's size by at most one pitch, which the nudge
// never turns into the marker or into -0.0: RoundOff's checks would pass them all.
inline double Snap(double v, const DigitPitch& pitch) {
  return RoundOffValue(v + 1e-9, pitch.rounding);
}

// Snap for |v| < pitch.checkFreeBound: RoundOffValue's operations without the floor's range check.
// Below the bound, with tenths at most 1e16, |v + 1e-9| * tenths + 5 stays below 2^49 + 10^7 + 6,
// so its tenth is below 2^51 and the tenth's floor needs no division.
inline double SnapCheckFree(double v, const DigitPitch& pitch) {
  const RoundingPitch& r = pitch.rounding;
  return FloorTenthBelow2To50(r.tenths * (v + 1e-9) + 5.0) * r.pitch;
}

#if defined(__SSE2__)
// A value in both lanes of a register, aligned to be read as one operand.
struct alignas(16) BothLanes {
  double lanes[2];
  __m128d Load() const { return _mm_load_pd(lanes); }
};

// The constants of SnapCheckFree in both lanes. They are defined out of line so that the compiler
// reads each as one operand from memory: a constant it can see it loads as a scalar and copies
// into the second lane, which costs more than the second lane saves.
struct PairConstants {
  BothLanes nudge;    // 1e-9
  BothLanes five;     // 5.0
  BothLanes tenth;    // 0.1
  BothLanes shift;    // 1.5 * 2^52, FloorTenthBelow2To50's
  BothLanes ten;      // 10.0
  BothLanes one;      // 1.0
  BothLanes signBit;  // -0.0
};
struct PairPitch {
  BothLanes tenths;
  BothLanes pitch;
  BothLanes checkFreeBound;
};
extern const PairConstants kPairConstants;
extern const std::array<PairPitch, kTabulatedDigits> kPairPitches;

// Both lanes lie below the pitch's checkFreeBound in size (false for a NaN).
inline bool BothCheckFree(__m128d v, const PairPitch& pitch) {
  const __m128d size = _mm_andnot_pd(kPairConstants.signBit.Load(), v);
  return _mm_movemask_pd(_mm_cmplt_pd(size, pitch.checkFreeBound.Load())) == 0x3;
}

// SnapCheckFree of both lanes, lane for lane the same operations on the same operands (the floor
// as FloorTenthBelow2To50 takes it).
inline __m128d SnapCheckFree(__m128d v, const PairPitch& pitch) {
  const PairConstants& k = kPairConstants;
  const __m128d nudged = _mm_add_pd(v, k.nudge.Load());
  const __m128d y = _mm_add_pd(_mm_mul_pd(pitch.tenths.Load(), nudged), k.five.Load());
  const __m128d shift = k.shift.Load();
  const __m128d nearest = _mm_sub_pd(_mm_add_pd(_mm_mul_pd(y, k.tenth.Load()), shift), shift);
  const __m128d greater = _mm_cmplt_pd(y, _mm_mul_pd(k.ten.Load(), nearest));
  const __m128d floor = _mm_sub_pd(nearest, _mm_and_pd(greater, k.one.Load()));
  return _mm_mul_pd(floor, pitch.pitch.Load());
}
#endif

}  // namespace unit_filter_detail

inline int CUnitFilter::Digit(int code) const {
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

inline double CUnitFilter::Round2(double x, int code) const {
  using unit_filter_detail::DigitPitch;
  using unit_filter_detail::Snap;
  if (std::fabs(x) >= 9e32) return kNoValue;
  const DigitPitch pitch = unit_filter_detail::PitchOfDigits(Digit(code));
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

inline double CalcRounding::Round(double x, int code) const {
  if (generalHalfUp_ && CUnitFilter::IsGeneralCode(code)) {
    const unit_filter_detail::DigitPitch pitch =
        unit_filter_detail::PitchOfDigits(rules_->Digit(code));
    if (std::fabs(x) < pitch.checkFreeBound) return unit_filter_detail::SnapCheckFree(x, pitch);
  }
  return rules_->Round(x, code);
}

[[gnu::always_inline]] inline CalcRounding::Pair CalcRounding::RoundPair(double a, int codeA,
                                                                         double b,
                                                                         int codeB) const {
#if defined(__SSE2__)
  const int digits = rules_->Digit(codeA);
  if (generalHalfUp_ && CUnitFilter::IsGeneralCode(codeA) && CUnitFilter::IsGeneralCode(codeB) &&
      rules_->Digit(codeB) == digits && digits >= 0 &&
      digits < unit_filter_detail::kTabulatedDigits) {
    const unit_filter_detail::PairPitch& pitch =
        unit_filter_detail::kPairPitches[static_cast<std::size_t>(digits)];
    const __m128d v = _mm_set_pd(b, a);
    if (unit_filter_detail::BothCheckFree(v, pitch)) {
      const __m128d rounded = unit_filter_detail::SnapCheckFree(v, pitch);
      return Pair{_mm_cvtsd_f64(rounded), _mm_cvtsd_f64(_mm_unpackhi_pd(rounded, rounded))};
    }
  }
#endif
  return Pair{Round(a, codeA), Round(b, codeB)};
}
