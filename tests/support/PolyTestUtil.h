#pragma once
// Small fixtures for polyline tests: build a plain polyline from a list of points and compare a
// polyline's points with an expected list.

#include <gtest/gtest.h>

#include <initializer_list>
#include <memory>
#include <vector>

#include "core/geometry/DPoly.h"

// A plain polyline through the points, in order; each point keeps the flag it is given
// ({x, y} gives flag 0, {x, y, 1} a junction).
inline std::unique_ptr<CDPoly> MakePoly(std::initializer_list<CDPoint> points) {
  auto poly = std::make_unique<CDPoly>();
  for (const CDPoint& p : points) poly->Add(std::make_shared<CDPoint>(p));
  return poly;
}

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
