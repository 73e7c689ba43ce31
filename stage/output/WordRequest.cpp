#include "stage/output/WordRequest.h"

#include "core/base/AppIdentity.h"
#include "platform/FrameMessages.h"
#include "platform/UiRegistry.h"

void RequestWordReport(bool hasResult, int kind, int sub) {
  if (!hasResult) {
    Ui().MessageBox("計算結果がありません", GetAppTitle(), MsgButtons::Ok, MsgIcon::Information);
    return;
  }
  Ui().SendToFrame(FrameMsg::WM_APP_PRINT_WORD, static_cast<std::uintptr_t>(kind), sub);
}
