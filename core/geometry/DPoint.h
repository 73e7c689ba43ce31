#pragma once
// The point of the cross-section and the free geometry functions on points.

#include <vector>

#include "core/geometry/Utility.h"

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
  CDPoint operator+(const CDPoint& other) const;
  CDPoint operator-(const CDPoint& other) const;
  CDPoint operator*(double f) const;
  CDPoint operator/(double f) const;

  bool IsValid() const;
  double Dist(const CDPoint& other) const;
  double GetVecSize() const;
  CDPoint GetVecUnit() const;

  void Store(Archive& ar) const;
  void Load(Archive& ar);
};

double Hypot(const CDPoint& a, const CDPoint& b);
double Hypot(const CDPoint* a, const CDPoint* b);
double GetDistance(const CDPoint& a, const CDPoint& b);
double GetDistance(const CDPoint* a, const CDPoint* b);
double MyAtan(const CDPoint* a, const CDPoint* b);
double GetSubAngle(const CDPoint* o, const CDPoint* a, const CDPoint* b);
CDPoint GetUnitVector(double angle);
void Rotate(CDPoint& p, double angle, const CDPoint& centre);
double NormalizeAngle(double angle);
int NearDist(const CDPoint* p, const CDPoint* a, const CDPoint* b);
int NearDist(const CDPoint* p, const CDPoint* a, const CDPoint* b, double& da, double& db);
int OnlinePt(const CDPoint* a, const CDPoint* b, double d, CDPoint* out);
CDPoint StretchPrimitive(const CDPoint* a, const CDPoint* b, double d);
int CrossLP(const CDPoint* a, const CDPoint* b, const CDPoint* p, CDPoint* out);
int CrossLL(double tol, const CDPoint* a1, const CDPoint* a2, const CDPoint* b1,
            const CDPoint* b2, CDPoint* out);
void SortDouble(std::vector<double*>& values, bool ascending);
