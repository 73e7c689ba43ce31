#include "tests/support/ScriptedUi.h"

#include <stdexcept>
#include <utility>

namespace {

bool HasButton(MsgButtons buttons, MsgResult result) {
  switch (buttons) {
    case MsgButtons::Ok:
      return result == MsgResult::Ok;
    case MsgButtons::OkCancel:
      return result == MsgResult::Ok || result == MsgResult::Cancel;
    case MsgButtons::YesNo:
      return result == MsgResult::Yes || result == MsgResult::No;
    case MsgButtons::YesNoCancel:
      return result == MsgResult::Yes || result == MsgResult::No || result == MsgResult::Cancel;
    case MsgButtons::RetryCancel:
      return result == MsgResult::Retry || result == MsgResult::Cancel;
    case MsgButtons::AbortRetryIgnore:
      return result == MsgResult::Abort || result == MsgResult::Retry ||
             result == MsgResult::Ignore;
  }
  return false;
}

}  // namespace

void ScriptedUi::ExpectMessageBox(MsgResult answer, std::optional<std::string> text) {
  expected_.push_back(ExpectedBox{answer, std::move(text)});
}

void ScriptedUi::VerifyAllAnswered() {
  for (const ExpectedBox& box : expected_) {
    ADD_FAILURE() << "an expected message box never appeared"
                  << (box.text ? ": \"" + *box.text + "\"" : std::string());
  }
  expected_.clear();
}

MsgResult ScriptedUi::MessageBox(const std::string& text, const std::string& caption,
                                 MsgButtons buttons, MsgIcon icon) {
  boxes_.push_back(MessageBoxCall{text, caption, buttons, icon});
  if (expected_.empty()) {
    ADD_FAILURE() << "unexpected message box \"" << caption << "\": \"" << text << '"';
    return DefaultButton(buttons);
  }
  const ExpectedBox expected = std::move(expected_.front());
  expected_.pop_front();
  if (expected.text && *expected.text != text) {
    ADD_FAILURE() << "message box shows \"" << text << "\" where the test expected \""
                  << *expected.text << '"';
  }
  if (!HasButton(buttons, expected.answer)) {
    ADD_FAILURE() << "the queued answer is not a button of the message box \"" << text << '"';
  }
  return expected.answer;
}

void ScriptedUi::PumpEvents() {
  ++pumpCount_;
  if (onPump_) onPump_();
}

std::intptr_t ScriptedUi::SendToFrame(unsigned message, std::uintptr_t wParam,
                                      std::intptr_t lParam) {
  frameMessages_.push_back(FrameMessage{message, wParam, lParam});
  return 0;
}

std::unique_ptr<ProgressWindow> ScriptedUi::CreateProgressWindow() {
  auto state = std::make_shared<ProgressState>();
  progress_.push_back(state);
  return std::make_unique<MemoryProgressWindow>(std::move(state));
}

void ScriptedUi::PressCancel() {
  if (progress_.empty()) {
    ADD_FAILURE() << "cancel pressed, but no progress window was created";
    return;
  }
  ProgressState& window = *progress_.back();
  if (!window.visible || !window.cancelEnabled) {
    ADD_FAILURE() << "cancel pressed on a progress window that is hidden or has cancel disabled";
    return;
  }
  window.visible = false;
}

ScriptedUi& TestUi() {
  auto* ui = dynamic_cast<ScriptedUi*>(&Ui());
  if (ui == nullptr) throw std::logic_error("TestUi() outside a test: no ScriptedUi installed");
  return *ui;
}

void ScriptedUiListener::OnTestStart(const testing::TestInfo& /*test*/) {
  InstallUi(std::make_unique<ScriptedUi>());
}

void ScriptedUiListener::OnTestEnd(const testing::TestInfo& /*test*/) {
  if (auto* ui = dynamic_cast<ScriptedUi*>(&Ui())) {
    ui->VerifyAllAnswered();
  } else {
    ADD_FAILURE() << "the test replaced the scripted UI services and did not put them back";
  }
  InstallUi(nullptr);
}
