#include "core/base/AppIdentity.h"

#include <cmath>

#include "platform/NumberText.h"

namespace {

constexpr double kAppVersion = 1.03;

}  // namespace

std::string GetAppTitle() { return "RUrevavirazo"; }

std::string GetAppSubTitle() { return {}; }

std::string GetAppVersion(int mode) {
  switch (mode) {
    case 0:
      return FormatFixed(std::floor(kAppVersion), 0);
    case 1:
      return FormatFixed(std::floor(kAppVersion * 10.0) / 10.0, 1);
    default:
      return FormatFixed(kAppVersion, 2);
  }
}

std::string GetAppFullTitle() {
  return GetAppTitle() + " Version" + GetAppVersion(2) + GetAppSubTitle();
}
