#pragma once
// The services the process has while no user interface is installed: a batch run, a tool, or the
// time before the program's window exists. Nobody is there to answer, so every message box takes
// its default button and is logged to stderr, no file is ever chosen, no viewer opens, there is
// no clipboard, every input box is cancelled and beeps are silent.

#include <memory>
#include <string>

#include "platform/UiServices.h"

// Everything a progress window shows. Shared between the window and whoever inspects it, so the
// state stays readable after the window's owner has destroyed the window.
struct ProgressState {
  bool visible = false;
  std::string line1;
  std::string line2;
  int rangeLow = 0;
  int rangeHigh = 100;
  int position = 0;
  bool cancelEnabled = true;
  int linesShown = 0;  // how often the window was given its lines
};

// A progress window that only keeps its state.
class MemoryProgressWindow : public ProgressWindow {
 public:
  explicit MemoryProgressWindow(std::shared_ptr<ProgressState> state);

  void Show() override { state_->visible = true; }
  void Hide() override { state_->visible = false; }
  bool IsVisible() const override { return state_->visible; }
  void SetLines(const std::string& line1, const std::string& line2) override;
  void SetRange(int lo, int hi) override;
  int RangeLow() const override { return state_->rangeLow; }
  int RangeHigh() const override { return state_->rangeHigh; }
  void SetPosition(int position) override { state_->position = position; }
  void EnableCancel(bool enable) override { state_->cancelEnabled = enable; }

 private:
  std::shared_ptr<ProgressState> state_;
};

class HeadlessUi : public UiServices {
 public:
  MsgResult MessageBox(const std::string& text, const std::string& caption, MsgButtons buttons,
                       MsgIcon icon) override;
  // Goes to the frame's receiver when one registered; without one nobody handles it: 0.
  std::intptr_t SendToFrame(FrameMsg message, std::uintptr_t wParam, std::intptr_t lParam) override;
  void SetFrameReceiver(FrameReceiver receiver) override;
  void BeginWaitCursor() override {}
  void EndWaitCursor() override {}
  std::unique_ptr<ProgressWindow> CreateProgressWindow() override;
  ReportCancel CancelAtReport() override { return {}; }
  std::optional<std::filesystem::path> FileDialog(FileDialogKind kind,
                                                  const FileDialogRequest& request) override;
  bool OpenInViewer(const std::filesystem::path& file) override;
  bool SetClipboardText(const std::string& utf8) override;
  std::optional<std::string> ClipboardText() override { return std::nullopt; }
  std::optional<std::string> InputBox(const std::string& prompt, const std::string& caption,
                                      const std::string& initial) override;
  void Beep() override {}

 private:
  FrameReceiver frameReceiver_;
};
