#include "core/model/GraphAxis.h"

#include <algorithm>
#include <climits>
#include <cmath>

int ToDeviceInt(double v) {
  constexpr double kDeviceLimit = INT_MAX / 2;
  if (std::isnan(v)) return 0;
  return static_cast<int>(std::clamp(std::round(v), -kDeviceLimit, kDeviceLimit));
}
