#include "core/geometry/DPoint.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <numbers>
#include <utility>

#include "core/base/Constants.h"
#include "platform/Archive.h"

namespace {

constexpr double kTwoPi = 2.0 * std::numbers::pi;
// A length below this counts as 0.
constexpr double kZeroLength = 1e-9;
// Segments whose extent in x (or y) is below this count as vertical (or horizontal) in crossings.
constexpr double kAxisTolerance = 1e-9;
// Slopes whose magnitudes differ by less than this (with the same sign) count as parallel.
constexpr double kParallelSlopes = 1e-6;
// Beyond this many turns the angle is reduced in one step: turn-by-turn it would never finish.
constexpr double kDirectTurnsLimit = 1024.0 * kTwoPi;

double SnapLength(double length) { return length < kZeroLength ? 0.0 : length; }

bool IsStrictlyBetween(double v, double a, double b) {
  return a < b ? a < v && v < b : b < v && v < a;
}

// The y of the line through p with slope m at x, as x·m plus the line's intercept.
double LineYAt(double x, const CDPoint& p, double m) { return x * m + p.y - p.x * m; }

// tol > c.Dist(end): Dist snaps lengths below kZeroLength to 0.
bool IsWithinTolOf(double tol, const CDPoint& c, const CDPoint& end) {
  return tol > 0.0 && IsCloser(c, end, std::max(tol, kZeroLength));
}

// The crossing lies on the segment when it is within tol of an end, or strictly between the
// ends along the segment's dominant axis.
bool IsOnSegment(double tol, const CDPoint& c, const CDPoint& s1, const CDPoint& s2) {
  if (IsWithinTolOf(tol, c, s1) || IsWithinTolOf(tol, c, s2)) return true;
  if (std::fabs(s2.x - s1.x) > std::fabs(s2.y - s1.y)) return IsStrictlyBetween(c.x, s1.x, s2.x);
  return IsStrictlyBetween(c.y, s1.y, s2.y);
}

}  // namespace

void CDPoint::SetData(double px, double py, int pflag) {
  x = px;
  y = py;
  flag = pflag;
}

void CDPoint::Init() { *this = CDPoint(); }

bool CDPoint::operator==(const CDPoint& other) const { return IsCloser(*this, other, kSamePoint); }

bool CDPoint::operator!=(const CDPoint& other) const { return !(*this == other); }

double CDPoint::Dist(const CDPoint& other) const { return SnapLength(Hypot(*this, other)); }

double CDPoint::GetVecSize() const { return SnapLength(std::hypot(x, y)); }

CDPoint CDPoint::GetVecUnit() const {
  if (!IsValid()) return {};
  const double length = GetVecSize();
  if (length == 0.0) return {};
  return {x / length, y / length};
}

void CDPoint::Store(Archive& ar) const { ar << x << y << static_cast<std::int32_t>(flag); }

void CDPoint::Load(Archive& ar) {
  // Read whole before anything changes, so that a record that ends early keeps the point.
  double storedX = 0.0;
  double storedY = 0.0;
  std::int32_t storedFlag = 0;
  ar >> storedX >> storedY >> storedFlag;
  SetData(storedX, storedY, storedFlag);
}

double Hypot(const CDPoint& a, const CDPoint& b) { return std::hypot(b.x - a.x, b.y - a.y); }

double Hypot(const CDPoint* a, const CDPoint* b) { return Hypot(*a, *b); }

double GetDistance(const CDPoint& a, const CDPoint& b) {
  if (!a.IsValid() || !b.IsValid()) return 0.0;
  return a.Dist(b);
}

// The hypotenuse is at least the longer component, and below limit when both are below
// limit / 2. A NaN component gives false, as the comparison with hypot's NaN does.
double SquaredSegmentDistance(const CDPoint& p, const CDPoint& a, const CDPoint& b) {
  const double dx = b.x - a.x;
  const double dy = b.y - a.y;
  return SquaredSegmentDistance(p, a, dx, dy, dx * dx + dy * dy);
}

bool IsCloser(const CDPoint& a, const CDPoint& b, double limit) {
  const double dx = std::fabs(b.x - a.x);
  const double dy = std::fabs(b.y - a.y);
  if (!(dx < limit && dy < limit)) return false;
  if (dx < limit / 2 && dy < limit / 2) return true;
  return Hypot(a, b) < limit;
}

double GetDistance(const CDPoint* a, const CDPoint* b) { return GetDistance(*a, *b); }

double MyAtan(const CDPoint* a, const CDPoint* b) { return std::atan2(b->y - a->y, b->x - a->x); }

double GetSubAngle(const CDPoint* o, const CDPoint* a, const CDPoint* b) {
  const double angle = MyAtan(o, a) - MyAtan(o, b);
  if (angle >= 0.0) return angle;
  // Directions that differ by a rounding error below zero would give a whole turn; they are the
  // same direction.
  const double turned = angle + kTwoPi;
  return turned < kTwoPi ? turned : 0.0;
}

CDPoint GetUnitVector(double angle) {
  const auto snap = [](double v) { return std::fabs(v) < 1e-13 ? 0.0 : v; };
  return {snap(std::cos(angle)), snap(std::sin(angle))};
}

void Rotate(CDPoint& p, double angle, const CDPoint& centre) {
  const double dx = p.x - centre.x;
  const double dy = p.y - centre.y;
  const double c = std::cos(angle);
  const double s = std::sin(angle);
  p.x = dx * c - dy * s + centre.x;
  p.y = dx * s + dy * c + centre.y;
}

double NormalizeAngleByTurns(double angle) {
  if (std::fabs(angle) > kDirectTurnsLimit) angle = std::fmod(angle, kTwoPi);
  while (angle < 0.0) angle += kTwoPi;
  while (angle > kTwoPi) angle -= kTwoPi;
  return angle;
}

int NearDist(const CDPoint* p, const CDPoint* a, const CDPoint* b) {
  double da = 0.0;
  double db = 0.0;
  return NearDist(p, a, b, da, db);
}

int NearDist(const CDPoint* p, const CDPoint* a, const CDPoint* b, double& da, double& db) {
  da = Hypot(p, a);
  db = Hypot(p, b);
  if (std::fabs(da - db) < 1e-11) return 0;
  return da < db ? 1 : 2;
}

int OnlinePt(const CDPoint* a, const CDPoint* b, double d, CDPoint* out) {
  const double length = Hypot(a, b);
  if (length == 0.0) {
    // No direction to go along: stay at a.
    *out = CDPoint(a->x, a->y);
    return 0;
  }
  *out = *a + (*b - *a) * d / length;
  return d >= 0.0 && d <= length ? 1 : 0;
}

CDPoint StretchPrimitive(const CDPoint* a, const CDPoint* b, double d) {
  if (*a == *b) return *b;
  return *b + (*b - *a) * d / Hypot(a, b);
}

int CrossLP(const CDPoint* a, const CDPoint* b, const CDPoint* p, CDPoint* out) {
  if (std::fabs(b->x - a->x) < 1e-10) {
    out->x = a->x;
    out->y = p->y;
    return IsStrictlyBetween(out->y, a->y, b->y) ? 1 : 0;
  }
  if (std::fabs(b->y - a->y) < 1e-10) {
    out->x = p->x;
    out->y = a->y;
  } else {
    const double m = SegmentSlope(*a, *b);
    const double c = a->y - m * a->x;
    out->x = (p->y + p->x / m - c) / (m + 1.0 / m);
    out->y = out->x * m + c;
  }
  return IsStrictlyBetween(out->x, a->x, b->x) ? 1 : 0;
}

namespace {

// CrossLL's steps, with the slope of A and of B each asked of slopeA() and slopeB() only where a
// step needs it.
template <class SlopeA, class SlopeB>
int CrossLines(double tol, const CDPoint* a1, const CDPoint* a2, SlopeA slopeA, const CDPoint* b1,
               const CDPoint* b2, SlopeB slopeB, CDPoint* out) {
  if ((*b1 == *a1 && *b2 == *a2) || (*b2 == *a1 && *b1 == *a2)) return -1;

  const bool aVertical = std::fabs(a1->x - a2->x) < kAxisTolerance;
  const bool bVertical = std::fabs(b1->x - b2->x) < kAxisTolerance;
  const bool aHorizontal = std::fabs(a1->y - a2->y) < kAxisTolerance;
  const bool bHorizontal = std::fabs(b1->y - b2->y) < kAxisTolerance;
  if ((aVertical && bVertical) || (aHorizontal && bHorizontal)) return -1;

  const int sharedEndCode = tol != 0.0 ? 3 : 0;
  if (*b1 == *a1 || *b2 == *a1) {
    *out = *a1;
    return sharedEndCode;
  }
  if (*a2 == *b1 || *a2 == *b2) {
    *out = *a2;
    return sharedEndCode;
  }

  if (aVertical) {
    out->x = a1->x;
    out->y = LineYAt(out->x, *b1, slopeB());
  } else if (bVertical) {
    out->x = b1->x;
    out->y = LineYAt(out->x, *a1, slopeA());
  } else {
    const double mA = slopeA();
    const double mB = slopeB();
    if (std::fabs(std::fabs(mA) - std::fabs(mB)) < kParallelSlopes && mA * mB > 0.0) return -1;
    out->x = (b1->y - b1->x * mB - (a1->y - a1->x * mA)) / (mA - mB);
    out->y = aHorizontal ? a1->y : bHorizontal ? b1->y : LineYAt(out->x, *a1, mA);
  }

  const bool onA = IsOnSegment(tol, *out, *a1, *a2);
  const bool onB = IsOnSegment(tol, *out, *b1, *b2);
  return (onA ? 1 : 0) + (onB ? 2 : 0);
}

}  // namespace

int CrossLL(double tol, const CDPoint* a1, const CDPoint* a2, const CDPoint* b1, const CDPoint* b2,
            CDPoint* out) {
  return CrossLines(
      tol, a1, a2, [a1, a2] { return SegmentSlope(*a1, *a2); }, b1, b2,
      [b1, b2] { return SegmentSlope(*b1, *b2); }, out);
}

int CrossLL(double tol, const CDPoint* a1, const CDPoint* a2, double slopeA, const CDPoint* b1,
            const CDPoint* b2, double slopeB, CDPoint* out) {
  return CrossLines(
      tol, a1, a2, [slopeA] { return slopeA; }, b1, b2, [slopeB] { return slopeB; }, out);
}

void SortDouble(std::vector<double*>& values, bool ascending) {
  for (std::size_t i = 0; i + 1 < values.size(); ++i) {
    for (std::size_t j = i + 1; j < values.size(); ++j) {
      const bool outOfOrder = ascending ? *values[i] > *values[j] : *values[i] < *values[j];
      if (outOfOrder) std::swap(*values[i], *values[j]);
    }
  }
}
