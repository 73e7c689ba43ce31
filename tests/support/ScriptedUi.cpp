#include "tests/support/ScriptedUi.h"

#include <atomic>
#include <ios>
#include <memory>
#include <ostream>
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

std::string Quoted(const std::string& text) { return '"' + text + '"'; }

}  // namespace

void PrintTo(const FrameMessage& message, std::ostream* os) {
  *os << "{0x" << std::hex << std::uppercase << static_cast<unsigned>(message.message) << std::dec
      << ", " << message.wParam << ", " << message.lParam << '}';
}

void ScriptedUi::ExpectMessageBox(MsgResult answer, std::optional<std::string> text) {
  expectedBoxes_.Push(ExpectedBox{answer, std::move(text)});
}

void ScriptedUi::ExpectFileDialog(std::optional<std::filesystem::path> answer) {
  fileAnswers_.Push(std::move(answer));
}

void ScriptedUi::ExpectOpenInViewer(bool answer) { viewerAnswers_.Push(answer); }

void ScriptedUi::ExpectSetClipboardText(bool answer) { clipboardWriteAnswers_.Push(answer); }

void ScriptedUi::ExpectClipboardText(std::optional<std::string> answer) {
  clipboardTextAnswers_.Push(std::move(answer));
}

void ScriptedUi::ExpectInputBox(std::optional<std::string> answer) {
  inputAnswers_.Push(std::move(answer));
}

void ScriptedUi::ExpectBeep() { expectedBeeps_.Push({}); }

void ScriptedUi::VerifyAllAnswered() {
  expectedBoxes_.VerifyAllTaken("message box", [](const ExpectedBox& box) {
    return box.text ? ": " + Quoted(*box.text) : std::string();
  });
  fileAnswers_.VerifyAllTaken("file dialog");
  viewerAnswers_.VerifyAllTaken("opening in a viewer");
  clipboardWriteAnswers_.VerifyAllTaken("clipboard write");
  clipboardTextAnswers_.VerifyAllTaken("clipboard read");
  inputAnswers_.VerifyAllTaken("input box");
  expectedBeeps_.VerifyAllTaken("beep");
}

MsgResult ScriptedUi::MessageBox(const std::string& text, const std::string& caption,
                                 MsgButtons buttons, MsgIcon icon) {
  boxes_.push_back(MessageBoxCall{text, caption, buttons, icon});
  const std::optional<ExpectedBox> expected =
      expectedBoxes_.Take("message box " + Quoted(caption) + ": " + Quoted(text));
  if (!expected) return DefaultButton(buttons);
  if (expected->text && *expected->text != text) {
    ADD_FAILURE() << "message box shows " << Quoted(text) << " where the test expected "
                  << Quoted(*expected->text);
  }
  if (!HasButton(buttons, expected->answer)) {
    ADD_FAILURE() << "the queued answer is not a button of the message box " << Quoted(text);
  }
  return expected->answer;
}

std::intptr_t ScriptedUi::SendToFrame(FrameMsg message, std::uintptr_t wParam,
                                      std::intptr_t lParam) {
  frameMessages_.push_back(FrameMessage{message, wParam, lParam});
  return DeliverToFrame(frameReceiver_, message, wParam, lParam);
}

void ScriptedUi::SetFrameReceiver(FrameReceiver receiver) { frameReceiver_ = std::move(receiver); }

std::unique_ptr<ProgressWindow> ScriptedUi::CreateProgressWindow() {
  auto state = std::make_shared<ProgressState>();
  progress_.push_back(state);
  return std::make_unique<MemoryProgressWindow>(std::move(state));
}

UiServices::ReportCancel ScriptedUi::CancelAtReport() {
  const std::optional<int> report = std::exchange(cancelAtReport_, std::nullopt);
  if (!report) return {};
  return [report = *report, reports = std::make_shared<std::atomic<int>>(0)](
             const ProgressFeedback&) { return reports->fetch_add(1) + 1 == report; };
}

std::optional<std::filesystem::path> ScriptedUi::FileDialog(FileDialogKind kind,
                                                            const FileDialogRequest& request) {
  fileDialogs_.push_back(FileDialogCall{kind, request});
  const char* what = kind == FileDialogKind::Open ? "open" : "save";
  return fileAnswers_.Take(std::string(what) + " file dialog " + Quoted(request.filter))
      .value_or(std::nullopt);
}

bool ScriptedUi::OpenInViewer(const std::filesystem::path& file) {
  viewerOpens_.push_back(file);
  return viewerAnswers_.Take("opening in a viewer " + Quoted(file.string())).value_or(false);
}

bool ScriptedUi::SetClipboardText(const std::string& utf8) {
  clipboardWrites_.push_back(utf8);
  return clipboardWriteAnswers_.Take("clipboard write " + Quoted(utf8)).value_or(false);
}

std::optional<std::string> ScriptedUi::ClipboardText() {
  return clipboardTextAnswers_.Take("clipboard read").value_or(std::nullopt);
}

std::optional<std::string> ScriptedUi::InputBox(const std::string& prompt,
                                                const std::string& caption,
                                                const std::string& initial) {
  inputBoxes_.push_back(InputBoxCall{prompt, caption, initial});
  return inputAnswers_.Take("input box " + Quoted(caption) + ": " + Quoted(prompt))
      .value_or(std::nullopt);
}

void ScriptedUi::Beep() {
  ++beepCount_;
  expectedBeeps_.Take("beep");
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
