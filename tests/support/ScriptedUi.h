#pragma once
// The user-interface services every test runs with: a strict test double that records each
// message box and frame message, answers boxes from a queue the test fills, and fails the
// running test on a box nobody told it to expect. The test main installs a fresh one around
// every test (ScriptedUiListener); tests reach it through TestUi().

#include <gtest/gtest.h>

#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/HeadlessUi.h"
#include "platform/UiServices.h"

struct MessageBoxCall {
  std::string text;
  std::string caption;
  MsgButtons buttons = MsgButtons::Ok;
  MsgIcon icon = MsgIcon::None;
};

struct FrameMessage {
  unsigned message = 0;
  std::uintptr_t wParam = 0;
  std::intptr_t lParam = 0;
  friend bool operator==(const FrameMessage&, const FrameMessage&) = default;
};

class ScriptedUi : public UiServices {
 public:
  // Queues the answer to the next message box; with a text, that box must show exactly it.
  void ExpectMessageBox(MsgResult answer, std::optional<std::string> text = std::nullopt);
  // Fails the running test for every queued answer that no box has taken, and forgets them.
  void VerifyAllAnswered();

  const std::vector<MessageBoxCall>& MessageBoxes() const { return boxes_; }
  const std::vector<FrameMessage>& FrameMessages() const { return frameMessages_; }
  int PumpCount() const { return pumpCount_; }
  // Runs on every PumpEvents after it is counted, so that a test can act in the middle of a
  // calculation (press cancel at the third pump, say).
  void OnPumpEvents(std::function<void()> action) { onPump_ = std::move(action); }

  // The progress windows created so far, in order; their state outlives the windows.
  std::size_t ProgressWindowCount() const { return progress_.size(); }
  const ProgressState& Progress(std::size_t index) const { return *progress_.at(index); }
  // Presses the cancel button of the progress window created last, which hides the window.
  void PressCancel();

  MsgResult MessageBox(const std::string& text, const std::string& caption, MsgButtons buttons,
                       MsgIcon icon) override;
  void PumpEvents() override;
  std::intptr_t SendToFrame(unsigned message, std::uintptr_t wParam, std::intptr_t lParam) override;
  void BeginWaitCursor() override {}
  void EndWaitCursor() override {}
  std::unique_ptr<ProgressWindow> CreateProgressWindow() override;

 private:
  struct ExpectedBox {
    MsgResult answer;
    std::optional<std::string> text;
  };

  std::deque<ExpectedBox> expected_;
  std::vector<MessageBoxCall> boxes_;
  std::vector<FrameMessage> frameMessages_;
  int pumpCount_ = 0;
  std::function<void()> onPump_;
  std::vector<std::shared_ptr<ProgressState>> progress_;
};

// The ScriptedUi installed for the running test.
ScriptedUi& TestUi();

// Installs a fresh ScriptedUi when each test starts; when it ends, fails it for answers that no
// box took and restores the headless services.
class ScriptedUiListener : public testing::EmptyTestEventListener {
 public:
  void OnTestStart(const testing::TestInfo& test) override;
  void OnTestEnd(const testing::TestInfo& test) override;
};
