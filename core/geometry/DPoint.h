#pragma once
// The point of the cross-section and the free geometry functions on points.

#include <algorithm>
#include <numbers>
#include <vector>

#include "core/base/Utility.h"

class Archive;

class CDPoint {
 public:
  double x = kNoValue;
  double y = kNoValue;
  int flag = 0;  // meaning belongs to the owner: junction mark, arc-piece index, ...

  CDPoint() = default;
  CDPoint(double px, double py) : x(px), y(py) {}
  CDPoint(double px, double py, int pflag) : x(px), y(py), flag(pflag) {}
  explicit CDPoint(const CDPoint* other) : CDPoint(*other) {}

  void SetData(double px, double py, int pflag);
  int GetFlag() const { return flag; }
  void SetFlag(int f) { flag = f; }
  void Init();

  // Points closer than 1e-4 are the same point; flags do not count.
  bool operator==(const CDPoint& other) const;
  bool operator!=(const CDPoint& other) const;
  // Inline, as the centroids and midpoints of the slice method use them for every slice.
  CDPoint operator+(const CDPoint& other) const { return {x + other.x, y + other.y}; }
  CDPoint operator-(const CDPoint& other) const { return {x - other.x, y - other.y}; }
  CDPoint operator*(double f) const { return {x * f, y * f}; }
  CDPoint operator/(double f) const { return {x / f, y / f}; }

  // Both coordinates hold a value. Inline: every centroid of the slice method asks it.
  bool IsValid() const { return x != kNoValue && y != kNoValue; }
  double Dist(const CDPoint& other) const;
  double GetVecSize() const;
  CDPoint GetVecUnit() const;

  void Store(Archive& ar) const;
  // A record that ends early throws ArchiveException and leaves the point as it was.
  void Load(Archive& ar);
};

// Distance without sentinel test or snapping.
double Hypot(const CDPoint& a, const CDPoint& b);
double Hypot(const CDPoint* a, const CDPoint* b);
// Hypot(a, b) < limit (limit > 0), decided without the square root where the components alone
// decide it.
bool IsCloser(const CDPoint& a, const CDPoint& b, double limit);
// The squared distance from p to the nearest point of the segment a-b: the foot of the
// perpendicular, held to the segment (a for coinciding ends), without a root.
double SquaredSegmentDistance(const CDPoint& p, const CDPoint& a, const CDPoint& b);
// The same with the segment's b - a (dx, dy) and its squared length found already. Inline: a
// division asks it of every stratum edge near its circle.
inline double SquaredSegmentDistance(const CDPoint& p, const CDPoint& a, double dx, double dy,
                                     double length2) {
  const double t = length2 > 0 ? ((p.x - a.x) * dx + (p.y - a.y) * dy) / length2 : 0.0;
  const double along = std::clamp(t, 0.0, 1.0);
  const double ex = a.x + along * dx - p.x;
  const double ey = a.y + along * dy - p.y;
  return ex * ex + ey * ey;
}
// Distance; 0 when a coordinate holds no value, and below 1e-9 it is 0.
double GetDistance(const CDPoint& a, const CDPoint& b);
double GetDistance(const CDPoint* a, const CDPoint* b);
// Direction from a to b, in (-pi, pi].
double MyAtan(const CDPoint* a, const CDPoint* b);
// Direction of a minus direction of b, both seen from o, in [0, 2pi).
double GetSubAngle(const CDPoint* o, const CDPoint* a, const CDPoint* b);
// (cos, sin) of the angle, components below 1e-13 in size exactly 0.
CDPoint GetUnitVector(double angle);
// Turns p about the centre, counter-clockwise for a positive angle; the flag stays.
void Rotate(CDPoint& p, double angle, const CDPoint& centre);
// NormalizeAngle for an angle outside [0, 2pi].
double NormalizeAngleByTurns(double angle);
// The angle brought into [0, 2pi] by whole turns; most angles lie there already and need no call.
inline double NormalizeAngle(double angle) {
  return 0 <= angle && angle <= 2 * std::numbers::pi ? angle : NormalizeAngleByTurns(angle);
}
// 0 when p is as far from a as from b (within 1e-11), 1 when a is nearer, 2 when b is nearer.
int NearDist(const CDPoint* p, const CDPoint* a, const CDPoint* b);
int NearDist(const CDPoint* p, const CDPoint* a, const CDPoint* b, double& da, double& db);
// out = the point at distance d from a toward b; 1 when it lies on the segment a-b, else 0.
// Coinciding a and b give 0 with out at a.
int OnlinePt(const CDPoint* a, const CDPoint* b, double d, CDPoint* out);
// The point d beyond b on the ray from a through b; b itself when a and b are the same point.
CDPoint StretchPrimitive(const CDPoint* a, const CDPoint* b, double d);
// out = foot of the perpendicular from p on the line a-b; 1 when it lies strictly inside the
// segment, else 0. The flag of out is left as it was.
int CrossLP(const CDPoint* a, const CDPoint* b, const CDPoint* p, CDPoint* out);
// Crossing of segment a1-a2 with segment b1-b2:
//   -1  the same segment, both vertical, both horizontal or parallel (out untouched);
//   a shared end: out = that end (flag included), 3 when tol is not 0, else 0;
//   otherwise out = the crossing of the two lines (flag untouched) and 1 when it lies on A plus
//   2 when it lies on B. A crossing closer than tol to an end counts as on the segment; with
//   tol 0 the ends are excluded.
int CrossLL(double tol, const CDPoint* a1, const CDPoint* a2, const CDPoint* b1, const CDPoint* b2,
            CDPoint* out);
// CrossLL with the slopes of both segments found already (SegmentSlope of each one's ends, in
// order): the same answer, for a segment met by many crossings.
int CrossLL(double tol, const CDPoint* a1, const CDPoint* a2, double slopeA, const CDPoint* b1,
            const CDPoint* b2, double slopeB, CDPoint* out);
// Rise over run from a to b, as CrossLL finds a segment's slope (infinite or not a number for a
// vertical segment).
inline double SegmentSlope(const CDPoint& a, const CDPoint& b) { return (b.y - a.y) / (b.x - a.x); }
// Sorts the pointed-to values in place by exchanging values, never pointers.
void SortDouble(std::vector<double*>& values, bool ascending);
