#include "platform/UiServices.h"

#include <utility>

#include "platform/HeadlessUi.h"

MsgResult DefaultButton(MsgButtons buttons) {
  switch (buttons) {
    case MsgButtons::Ok:
    case MsgButtons::OkCancel:
      return MsgResult::Ok;
    case MsgButtons::YesNo:
    case MsgButtons::YesNoCancel:
      return MsgResult::Yes;
    case MsgButtons::RetryCancel:
      return MsgResult::Retry;
    case MsgButtons::AbortRetryIgnore:
      return MsgResult::Abort;
  }
  return MsgResult::Ok;
}

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
