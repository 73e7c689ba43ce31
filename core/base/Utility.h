#pragma once
// The no-value sentinels and the numeric and text helpers that the whole core shares.

#include <climits>
#include <cmath>
#include <string>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

// Nothing entered or computed; compared exactly, never with a tolerance. Shown as empty text.
inline constexpr double kNoValue = -9e32;
inline constexpr int kNoValueInt = INT_MIN;
// A view area that is not set yet; also the start value of minimum searches.
inline constexpr double kAreaNotSet = 9e32;

// x rounded to a multiple of the pitch: up, down, or half up (halves toward plus infinity). 0.0
// and kNoValue are returned unchanged; a pitch not greater than 0 counts as 1.0.
double RoundUp(double x, double pitch);
double RoundDown(double x, double pitch);
double RoundOff(double x, double pitch);

// A coordinate taken from a view click or a CAD import, rounded half up to three decimals,
// floor((v × 10000 + 5) / 10) × 0.001; 0 and kNoValue are passed on as they are.
double RoundClickCoordinate(double v);

// A pitch that is not greater than 0 means whole units.
constexpr double UsablePitch(double pitch) { return pitch > 0.0 ? pitch : 1.0; }
// The values that rounding returns unchanged.
constexpr bool KeepsValue(double x) { return x == 0.0 || x == kNoValue; }

// A pitch prepared for rounding half up: the usable pitch and 10.0 / pitch, which RoundOff would
// divide out on every call. Callers that round by a fixed set of pitches keep these at hand.
struct RoundingPitch {
  double pitch = 1.0;
  double tenths = 10.0;  // 10.0 / pitch

  static constexpr RoundingPitch Of(double pitch) {
    const double p = UsablePitch(pitch);
    return RoundingPitch{p, 10.0 / p};
  }
};

// n - 1 where a > b, else n (n - 0.0 keeps n's bits, -0.0 included). The floors below step down
// as often as not for the values a calculation rounds, so a branch on the comparison would be
// mispredicted every other time and throw away the work of every independent rounding in flight;
// the comparison's mask costs a few cycles of latency instead.
inline double StepDownWhereGreater(double n, double a, double b) {
#if defined(__SSE2__)
  // b < a rather than a > b: the mask lands in b's register, which needs no merge with a's.
  const __m128d greater = _mm_cmplt_sd(_mm_set_sd(b), _mm_set_sd(a));
  return n - _mm_cvtsd_f64(_mm_and_pd(greater, _mm_set_sd(1.0)));
#else
  return a > b ? n - 1.0 : n;
#endif
}

// std::floor(q) bit for bit for |q| < 2^51, but -0.0 (which gives +0.0). Without SSE4.1 the
// compiler floors through the integer unit, which makes every rounding of the slice method wait;
// below 2^51 in size, adding and subtracting 1.5 * 2^52 rounds q exactly to its nearest integer,
// and one step down where that lies above q gives the floor.
inline double FloorBelow2To51(double q) {
  constexpr double kIntegerShift = 0x1.8p52;
  const double nearest = (q + kIntegerShift) - kIntegerShift;
  return StepDownWhereGreater(nearest, nearest, q);
}

// FloorBelow2To51(y / 10.0) bit for bit for y = 0 and 2^-50 <= |y| < 2^50 (a rounding's sum with
// 5 is one of these; a smaller quotient could underflow), without the division's latency. y * 0.1
// lies within 0.02 of y / 10, so its nearest integer n is the quotient's floor or one above it;
// 10 * n is exact, and n lies above the quotient exactly where 10 * n exceeds y. The floor of the
// rounded quotient is that of the exact one: a quotient just below an integer k stays below it, as
// y differs from 10k (never a power of two) by at least the spacing of the doubles at 10k, which
// is 8 or more times that at k.
inline double FloorTenthBelow2To50(double y) {
  constexpr double kIntegerShift = 0x1.8p52;
  const double nearest = (y * 0.1 + kIntegerShift) - kIntegerShift;
  return StepDownWhereGreater(nearest, 10.0 * nearest, y);
}

// std::floor(q) bit for bit, for every q but -0.0 (which gives +0.0).
inline double FloorNonNegativeZero(double q) {
  if (!(std::fabs(q) < 0x1p51)) return std::floor(q);
  return FloorBelow2To51(q);
}

// RoundOff(x, pitch) below without its checks: the same bits for every x but kNoValue and -0.0
// (a +0.0 floors to +0.0, as RoundOff keeps it), for callers that have ruled those out.
inline double RoundOffValue(double x, const RoundingPitch& pitch) {
  return FloorNonNegativeZero((pitch.tenths * x + 5.0) / 10.0) * pitch.pitch;
}

// RoundOff(x, pitch) with the pitch prepared by RoundingPitch::Of(pitch): the same operations on
// the same operands. The floored quotient is never -0.0: x = 0 returns early, and
// pitch.tenths * x + 5.0 is never -0.0.
inline double RoundOff(double x, const RoundingPitch& pitch) {
  if (KeepsValue(x)) return x;
  return RoundOffValue(x, pitch);
}
// v lies between a and b (either order), both ends included with a slack of 1e-13.
bool IsBetween(double a, double b, double v);

// Fixed notation with 0..7 decimals (fewer count as 0, more give empty text). Number texts never
// depend on the process locale.
std::string DoubleToStr(double value, int decimals);
// The short exponent form of axis labels: one rounded digit, "E" and the signed exponent, e.g.
// "4E-4" for 3.7e-4 and "1E+5" for 9.6e4.
std::string DoubleToExpStr(double value);
std::string IntToStr(int value);
// Reads a text trimmed of spaces as a decimal number; empty or malformed text, or a number beyond
// the range of a double, gives kNoValue.
// digitsCode -1 keeps the parsed value; 1..7 round to that many decimals; anything else to 1.0.
double StrToDouble(const std::string& text, int digitsCode);
// Reads a text trimmed of spaces as a decimal integer; empty or malformed text gives the default.
int StrToInt(const std::string& text, int defaultValue);

// The part of a path before its last separator; the whole path when it has none.
std::string GetFileDir(const std::string& path);
// The program's folder, ending in a separator: the writable data folder, where the settings
// folder (SystemData) and the print work folder (PrnFiles) live.
std::string GetModuleDir();
// The read-only folder of what ships with the program (the settings files' defaults, the report
// templates, the manual), ending in a separator.
std::string GetResourceDir();
