#pragma once
// The user-interface services of the program, over Qt Widgets: message boxes, frame messages to
// the receiver the main window registers, the wait cursor, the progress window
// (CQtProgressWindow), file dialogs, the desktop's viewers, the clipboard, the input box and the
// beep. The program installs one at start-up (InstallUi), after its QApplication exists.
//
// The boxes and dialogs run modal here and nowhere else; each has the active window as its
// parent, so it shows above the window the user works in.

#include <QStringList>
#include <string>

#include "platform/UiServices.h"

class QtUi : public UiServices {
 public:
  QtUi() = default;
  // Takes back the wait cursors still held.
  ~QtUi() override;
  QtUi(const QtUi&) = delete;
  QtUi& operator=(const QtUi&) = delete;

  MsgResult MessageBox(const std::string& text, const std::string& caption, MsgButtons buttons,
                       MsgIcon icon) override;
  std::intptr_t SendToFrame(FrameMsg message, std::uintptr_t wParam, std::intptr_t lParam) override;
  void SetFrameReceiver(FrameReceiver receiver) override;
  // Nests: the arrow comes back with the last EndWaitCursor.
  void BeginWaitCursor() override;
  void EndWaitCursor() override;
  // The window has no parent, and only the returned object deletes it: closing the main window
  // during a run leaves it alone, and a window that something else destroyed anyway is not
  // deleted again (it then counts as hidden, that is cancelled).
  std::unique_ptr<ProgressWindow> CreateProgressWindow() override;
  ReportCancel CancelAtReport() override { return {}; }
  std::optional<std::filesystem::path> FileDialog(FileDialogKind kind,
                                                  const FileDialogRequest& request) override;
  // False without asking the desktop when the file does not exist.
  bool OpenInViewer(const std::filesystem::path& file) override;
  bool SetClipboardText(const std::string& utf8) override;
  std::optional<std::string> ClipboardText() override;
  std::optional<std::string> InputBox(const std::string& prompt, const std::string& caption,
                                      const std::string& initial) override;
  void Beep() override;

 private:
  FrameReceiver frameReceiver_;
  int waitCursors_ = 0;
};

// The file dialog's name filters for a filter of name|patterns pairs ("土質設定ファイル
// (*.sxg)|*.sxg||"): each name with its patterns in brackets, as Qt reads them, the patterns
// separated by spaces and "*.*" (every file on the platform the filters were written for) as
// "*". Patterns already written in the name are not repeated.
QStringList NameFilters(const std::string& filter);
