#pragma once
// Small fixtures for shape tests: build a shape from a list of points and compare a shape's
// points with an expected list.

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "core/geometry/DPoly.h"

// A shape of the given class (a plain polyline unless named) through the points, in order; each
// point keeps the flag it is given ({x, y} gives flag 0, {x, y, 1} a junction). The one way tests
// build their shapes from points.
template <class Shape = CDPoly>
std::unique_ptr<Shape> MakePoly(const std::vector<CDPoint>& points) {
  auto shape = std::make_unique<Shape>();
  for (const CDPoint& p : points) shape->Add(std::make_shared<CDPoint>(p));
  return shape;
}

// A plain polyline that answers a chosen kind, standing in for the section shapes in tests of the
// geometry layer. Its points keep their flags, as with MakePoly.
class KindPoly : public CDPoly {
 public:
  explicit KindPoly(int kind, const std::vector<CDPoint>& points = {}) : CDPoly(kind) {
    for (const CDPoint& p : points) Add(std::make_shared<CDPoint>(p));
  }
};

// The points of a polyline as values.
inline std::vector<CDPoint> PointsOf(const CDPoly& poly) {
  std::vector<CDPoint> points;
  for (const auto& p : poly.Points()) points.push_back(*p);
  return points;
}

// Expects the polyline to hold exactly these points: coordinates within tol, flags equal.
inline void ExpectPoints(const CDPoly& poly, const std::vector<CDPoint>& expected,
                         double tol = 1e-9) {
  ASSERT_EQ(poly.GetSize(), static_cast<int>(expected.size()));
  for (int i = 0; i < poly.GetSize(); ++i) {
    const CDPoint& p = *poly.GetAt(i);
    EXPECT_NEAR(p.x, expected[i].x, tol) << "point " << i;
    EXPECT_NEAR(p.y, expected[i].y, tol) << "point " << i;
    EXPECT_EQ(p.flag, expected[i].flag) << "point " << i;
  }
}
