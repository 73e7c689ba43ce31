#pragma once
// The user-interface services every test runs with: a strict test double that records every call,
// answers from queues the test fills, and fails the running test on a call nobody told it to
// expect (a message box, a file dialog, a viewer, the clipboard, an input box, a beep). An
// unexpected call still gets the headless answer. The test main installs a fresh one around
// every test (ScriptedUiListener); tests reach it through TestUi().

#include <gtest/gtest.h>

#include <cstddef>
#include <cstdint>
#include <deque>
#include <filesystem>
#include <functional>
#include <iosfwd>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <variant>
#include <vector>

#include "platform/HeadlessUi.h"
#include "platform/UiRegistry.h"
#include "platform/UiServices.h"

struct MessageBoxCall {
  std::string text;
  std::string caption;
  MsgButtons buttons = MsgButtons::Ok;
  MsgIcon icon = MsgIcon::None;
};

struct FrameMessage {
  FrameMsg message{};
  std::uintptr_t wParam = 0;
  std::intptr_t lParam = 0;
  friend bool operator==(const FrameMessage&, const FrameMessage&) = default;
};
// Prints {0x83E8, 1, 0} in the message of a failing test.
void PrintTo(const FrameMessage& message, std::ostream* os);

struct FileDialogCall {
  FileDialogKind kind = FileDialogKind::Open;
  FileDialogRequest request;
};

struct InputBoxCall {
  std::string prompt;
  std::string caption;
  std::string initial;
};

// The answers a test queued for one kind of call, taken in order.
template <typename Answer>
class AnswerQueue {
 public:
  void Push(Answer answer) { answers_.push_back(std::move(answer)); }

  // The next queued answer; with none queued the running test fails for the unexpected call.
  std::optional<Answer> Take(std::string_view call) {
    if (answers_.empty()) {
      ADD_FAILURE() << "unexpected " << call;
      return std::nullopt;
    }
    Answer answer = std::move(answers_.front());
    answers_.pop_front();
    return answer;
  }

  // Fails the running test once for every answer that no call took, and forgets them.
  void VerifyAllTaken(std::string_view call,
                      const std::function<std::string(const Answer&)>& describe = {}) {
    for (const Answer& answer : answers_) {
      ADD_FAILURE() << "an expected " << call << " never happened"
                    << (describe ? describe(answer) : std::string());
    }
    answers_.clear();
  }

 private:
  std::deque<Answer> answers_;
};

class ScriptedUi : public UiServices {
 public:
  // Queues the answer to the next message box; with a text, that box must show exactly it.
  void ExpectMessageBox(MsgResult answer, std::optional<std::string> text = std::nullopt);
  // Queues the path the next file dialog returns; nothing stands for a cancelled dialog.
  void ExpectFileDialog(std::optional<std::filesystem::path> answer);
  void ExpectOpenInViewer(bool answer);
  void ExpectSetClipboardText(bool answer);
  void ExpectClipboardText(std::optional<std::string> answer);
  // Queues the text the next input box returns; nothing stands for cancel.
  void ExpectInputBox(std::optional<std::string> answer);
  void ExpectBeep();
  // Fails the running test for every queued answer that no call has taken, and forgets them.
  void VerifyAllAnswered();

  const std::vector<MessageBoxCall>& MessageBoxes() const { return boxes_; }
  const std::vector<FrameMessage>& FrameMessages() const { return frameMessages_; }
  const std::vector<FileDialogCall>& FileDialogs() const { return fileDialogs_; }
  const std::vector<std::filesystem::path>& ViewerOpens() const { return viewerOpens_; }
  const std::vector<std::string>& ClipboardWrites() const { return clipboardWrites_; }
  const std::vector<InputBoxCall>& InputBoxes() const { return inputBoxes_; }
  int BeepCount() const { return beepCount_; }

  // The progress windows created so far, in order; their state outlives the windows.
  std::size_t ProgressWindowCount() const { return progress_.size(); }
  const ProgressState& Progress(std::size_t index) const { return *progress_.at(index); }
  // Presses the cancel button of the progress window created last, which hides the window.
  void PressCancel();
  // Cancels the next run that starts right after its `report`-th report (counted from 1 over all
  // its threads), on the thread that made it; the runs after it go on uncancelled.
  void CancelNextRunAtReport(int report) { cancelAtReport_ = report; }

  MsgResult MessageBox(const std::string& text, const std::string& caption, MsgButtons buttons,
                       MsgIcon icon) override;
  // Records the message, then hands it to the registered receiver (a test through the real
  // frame); without one, as in a test of a lone dialog, the answer is 0.
  std::intptr_t SendToFrame(FrameMsg message, std::uintptr_t wParam, std::intptr_t lParam) override;
  void SetFrameReceiver(FrameReceiver receiver) override;
  void BeginWaitCursor() override {}
  void EndWaitCursor() override {}
  std::unique_ptr<ProgressWindow> CreateProgressWindow() override;
  ReportCancel CancelAtReport() override;
  std::optional<std::filesystem::path> FileDialog(FileDialogKind kind,
                                                  const FileDialogRequest& request) override;
  bool OpenInViewer(const std::filesystem::path& file) override;
  bool SetClipboardText(const std::string& utf8) override;
  std::optional<std::string> ClipboardText() override;
  std::optional<std::string> InputBox(const std::string& prompt, const std::string& caption,
                                      const std::string& initial) override;
  void Beep() override;

 private:
  struct ExpectedBox {
    MsgResult answer;
    std::optional<std::string> text;
  };

  AnswerQueue<ExpectedBox> expectedBoxes_;
  AnswerQueue<std::optional<std::filesystem::path>> fileAnswers_;
  AnswerQueue<bool> viewerAnswers_;
  AnswerQueue<bool> clipboardWriteAnswers_;
  AnswerQueue<std::optional<std::string>> clipboardTextAnswers_;
  AnswerQueue<std::optional<std::string>> inputAnswers_;
  AnswerQueue<std::monostate> expectedBeeps_;

  std::vector<MessageBoxCall> boxes_;
  std::vector<FrameMessage> frameMessages_;
  std::vector<FileDialogCall> fileDialogs_;
  std::vector<std::filesystem::path> viewerOpens_;
  std::vector<std::string> clipboardWrites_;
  std::vector<InputBoxCall> inputBoxes_;
  int beepCount_ = 0;
  FrameReceiver frameReceiver_;
  std::vector<std::shared_ptr<ProgressState>> progress_;
  std::optional<int> cancelAtReport_;
};

// The ScriptedUi installed for the running test.
ScriptedUi& TestUi();

// Installs a fresh ScriptedUi when each test starts; when it ends, fails it for answers that no
// call took and restores the headless services.
class ScriptedUiListener : public testing::EmptyTestEventListener {
 public:
  void OnTestStart(const testing::TestInfo& test) override;
  void OnTestEnd(const testing::TestInfo& test) override;
};
