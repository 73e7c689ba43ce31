#include "platform/UiServices.h"

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

std::intptr_t DeliverToFrame(const FrameReceiver& receiver, FrameMsg message, std::uintptr_t wParam,
                             std::intptr_t lParam) {
  if (!receiver) return 0;
  const FrameReceiver running = receiver;
  return running(message, wParam, lParam);
}
