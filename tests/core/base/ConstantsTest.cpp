#include <gtest/gtest.h>

#include <numbers>

#include "core/base/Constants.h"

namespace {

// Angles whose conversion by angle * pi / 180 lands one bit away from the product with the rounded
// factor: each must convert by the factor, the same bits wherever an angle is converted.
TEST(ConstantsTest, AnglesConvertByTheRoundedFactor) {
  constexpr double kFactor = 0.017453292519943295;  // pi / 180 rounded to a double
  for (const double degrees : {1.5, 2.3, 3.0, 3.7, 4.6}) {
    SCOPED_TRACE(degrees);
    ASSERT_NE(degrees * std::numbers::pi / 180.0, degrees * kFactor);
    EXPECT_EQ(DegToRad(degrees), degrees * kFactor);
  }
  EXPECT_EQ(DegToRad(90.0), std::numbers::pi / 2);
  EXPECT_EQ(DegToRad(-180.0), -std::numbers::pi);
}

TEST(ConstantsTest, RadiansConvertByTheRoundedFactor) {
  constexpr double kFactor = 57.29577951308232;  // 180 / pi rounded to a double
  ASSERT_NE(0.1 * 180.0 / std::numbers::pi, 0.1 * kFactor);
  EXPECT_EQ(RadToDeg(0.1), 0.1 * kFactor);
  EXPECT_EQ(RadToDeg(std::numbers::pi / 2), 90.0);
  EXPECT_EQ(RadToDeg(-std::numbers::pi), -180.0);
}

}  // namespace
