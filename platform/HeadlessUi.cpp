#include "platform/HeadlessUi.h"

#include <iostream>
#include <utility>

MemoryProgressWindow::MemoryProgressWindow(std::shared_ptr<ProgressState> state)
    : state_(std::move(state)) {}

void MemoryProgressWindow::SetLines(const std::string& line1, const std::string& line2) {
  state_->line1 = line1;
  state_->line2 = line2;
  ++state_->linesShown;
}

void MemoryProgressWindow::SetRange(int lo, int hi) {
  state_->rangeLow = lo;
  state_->rangeHigh = hi;
}

MsgResult HeadlessUi::MessageBox(const std::string& text, const std::string& caption,
                                 MsgButtons buttons, MsgIcon /*icon*/) {
  std::cerr << caption << ": " << text << '\n';
  return DefaultButton(buttons);
}

std::intptr_t HeadlessUi::SendToFrame(FrameMsg message, std::uintptr_t wParam,
                                      std::intptr_t lParam) {
  return DeliverToFrame(frameReceiver_, message, wParam, lParam);
}

void HeadlessUi::SetFrameReceiver(FrameReceiver receiver) { frameReceiver_ = std::move(receiver); }

std::unique_ptr<ProgressWindow> HeadlessUi::CreateProgressWindow() {
  return std::make_unique<MemoryProgressWindow>(std::make_shared<ProgressState>());
}

std::optional<std::filesystem::path> HeadlessUi::FileDialog(FileDialogKind /*kind*/,
                                                            const FileDialogRequest& /*request*/) {
  return std::nullopt;
}

bool HeadlessUi::OpenInViewer(const std::filesystem::path& /*file*/) { return false; }

bool HeadlessUi::SetClipboardText(const std::string& /*utf8*/) { return false; }

std::optional<std::string> HeadlessUi::InputBox(const std::string& /*prompt*/,
                                                const std::string& /*caption*/,
                                                const std::string& /*initial*/) {
  return std::nullopt;
}
