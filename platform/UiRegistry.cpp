#include "platform/UiRegistry.h"

#include <utility>

#include "platform/HeadlessUi.h"

namespace {

// The installed services; null while the headless default serves.
std::unique_ptr<UiServices>& Installed() {
  static std::unique_ptr<UiServices> installed;
  return installed;
}

}  // namespace

UiServices& Ui() {
  static HeadlessUi headless;
  UiServices* installed = Installed().get();
  return installed != nullptr ? *installed : headless;
}

std::unique_ptr<UiServices> InstallUi(std::unique_ptr<UiServices> services) {
  return std::exchange(Installed(), std::move(services));
}
