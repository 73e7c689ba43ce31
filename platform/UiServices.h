#pragma once
// Services of the user interface that the core calls without knowing the toolkit: message boxes,
// the message pump during long calculations, messages to the main frame, the wait cursor and the
// progress window. The program installs its implementation at start-up; until then a headless
// default answers every message box with its default button and logs it to stderr.

#include <cstdint>
#include <memory>
#include <string>

enum class MsgButtons { Ok, OkCancel, YesNo, YesNoCancel, RetryCancel, AbortRetryIgnore };
enum class MsgIcon { None, Information, Warning, Error, Question };
enum class MsgResult { Ok, Cancel, Yes, No, Retry, Abort, Ignore };

// The button a box answers with when nobody presses one: the first button of its set.
MsgResult DefaultButton(MsgButtons buttons);

// The small window a calculation shows while it runs: two text lines, a bar and a cancel button.
class ProgressWindow {
 public:
  virtual ~ProgressWindow() = default;
  virtual void Show() = 0;
  virtual void Hide() = 0;
  virtual bool IsVisible() const = 0;
  virtual void SetLines(const std::string& line1, const std::string& line2) = 0;
  virtual void SetRange(int lo, int hi) = 0;
  virtual int RangeLow() const = 0;
  virtual int RangeHigh() const = 0;
  virtual void SetPosition(int position) = 0;
  virtual void EnableCancel(bool enable) = 0;
};

class UiServices {
 public:
  virtual ~UiServices() = default;
  virtual MsgResult MessageBox(const std::string& text, const std::string& caption,
                               MsgButtons buttons, MsgIcon icon) = 0;
  // Handles every event that is waiting and returns without waiting for a new one.
  virtual void PumpEvents() = 0;
  // Delivers a command message to the main frame synchronously and returns its answer.
  virtual std::intptr_t SendToFrame(unsigned message, std::uintptr_t wParam,
                                    std::intptr_t lParam) = 0;
  virtual void BeginWaitCursor() = 0;
  virtual void EndWaitCursor() = 0;
  virtual std::unique_ptr<ProgressWindow> CreateProgressWindow() = 0;
};

// The process-wide services.
UiServices& Ui();
// Installs services for the whole process and returns the ones they replace (null when the
// headless default served); passing null restores the headless default.
std::unique_ptr<UiServices> InstallUi(std::unique_ptr<UiServices> services);

// Holds the wait cursor for the life of the scope.
class WaitCursor {
 public:
  WaitCursor() { Ui().BeginWaitCursor(); }
  ~WaitCursor() { Ui().EndWaitCursor(); }
  WaitCursor(const WaitCursor&) = delete;
  WaitCursor& operator=(const WaitCursor&) = delete;
};
