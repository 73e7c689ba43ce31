#pragma once
// Services of the user interface that the core and the dialogs call without knowing the toolkit:
// message boxes, messages to the main frame, the wait cursor, the progress window, file dialogs,
// the file viewer, the clipboard, the input box and the beep. The program installs its
// implementation at start-up (platform/UiRegistry.h); until then a headless default answers as if
// nobody were there.
//
// Every member is called on the GUI thread only: the toolkit's windows live there. A long
// calculation runs on a worker thread (stage/CalcRunner.h) and reports through its
// ProgressFeedback instead, which the runner shows in the progress window from the GUI thread.

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "platform/FrameMessages.h"
#include "platform/ProgressFeedback.h"

enum class MsgButtons { Ok, OkCancel, YesNo, YesNoCancel, RetryCancel, AbortRetryIgnore };
enum class MsgIcon { None, Information, Warning, Error, Question };
enum class MsgResult { Ok, Cancel, Yes, No, Retry, Abort, Ignore };

// The button a box answers with when nobody presses one: the first button of its set.
MsgResult DefaultButton(MsgButtons buttons);

enum class FileDialogKind {
  Open,  // the chosen file must exist
  Save,  // choosing an existing file asks before it is overwritten
};

struct FileDialogRequest {
  // The kinds of file offered, as pairs of a name and its patterns, each part ended by '|' and
  // the whole by a second '|': "土質設定ファイル (*.sxg)|*.sxg||"; patterns are separated by ';'.
  std::string filter;
  // Added to a chosen name without an extension; given without the dot, e.g. "sxg".
  std::string defaultExtension;
  // The folder the dialog starts in; empty leaves the choice to the toolkit.
  std::filesystem::path folder;
  // The name the dialog proposes, e.g. "report.docx", or a pattern such as "*.csv".
  std::string defaultName;
  friend bool operator==(const FileDialogRequest&, const FileDialogRequest&) = default;
};

// The main frame's handler of the messages sent to it: takes the message with its two parameters
// and returns the answer.
using FrameReceiver = std::function<std::intptr_t(FrameMsg, std::uintptr_t, std::intptr_t)>;

// Hands a message to the receiver and returns its answer; 0 when no receiver is registered. The
// receiver runs as a copy, so one that registers another receiver while it runs lives until it
// returns.
std::intptr_t DeliverToFrame(const FrameReceiver& receiver, FrameMsg message, std::uintptr_t wParam,
                             std::intptr_t lParam);

// The small window a calculation shows while it runs: two text lines, a bar and a cancel button.
// Pressing cancel hides it.
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
  // Delivers a command message to the main frame synchronously and returns its answer (0 while
  // no frame has registered).
  virtual std::intptr_t SendToFrame(FrameMsg message, std::uintptr_t wParam,
                                    std::intptr_t lParam) = 0;
  // The main frame registers its handler once it exists; an empty receiver unregisters it.
  virtual void SetFrameReceiver(FrameReceiver receiver) = 0;
  virtual void BeginWaitCursor() = 0;
  virtual void EndWaitCursor() = 0;
  virtual std::unique_ptr<ProgressWindow> CreateProgressWindow() = 0;
  // Whether the user cancels a run right after one of its reports. Asked once as a run starts;
  // the answer, when there is one, is then asked after every report of that run on the thread
  // that reports, so it may touch nothing but its own state. A toolkit answers none: there the
  // window's cancel button reaches the run from the GUI thread. A scripted interface cancels at
  // a chosen report, so that a test stops a run mid-way at a known point instead of racing its
  // threads.
  using ReportCancel = std::function<bool(const ProgressFeedback&)>;
  virtual ReportCancel CancelAtReport() = 0;

  // The file the user chose; nothing when the dialog was cancelled.
  virtual std::optional<std::filesystem::path> FileDialog(FileDialogKind kind,
                                                          const FileDialogRequest& request) = 0;
  // Opens the file in the viewer the desktop associates with it; false when none could.
  virtual bool OpenInViewer(const std::filesystem::path& file) = 0;
  // Puts a text on the clipboard; false when the clipboard could not take it.
  virtual bool SetClipboardText(const std::string& utf8) = 0;
  // The clipboard's text; nothing when it holds none.
  virtual std::optional<std::string> ClipboardText() = 0;
  // Asks for one line of text, starting from initial; nothing when the user cancelled.
  virtual std::optional<std::string> InputBox(const std::string& prompt, const std::string& caption,
                                              const std::string& initial) = 0;
  // The desktop's default alert sound: an input was refused.
  virtual void Beep() = 0;
};
