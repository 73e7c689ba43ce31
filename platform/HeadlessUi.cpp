#include "platform/HeadlessUi.h"

#include <iostream>
#include <utility>

MemoryProgressWindow::MemoryProgressWindow(std::shared_ptr<ProgressState> state)
    : state_(std::move(state)) {}

void MemoryProgressWindow::SetLines(const std::string& line1, const std::string& line2) {
  state_->line1 = line1;
  state_->line2 = line2;
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

// No frame exists to receive the message, so nobody handles it.
std::intptr_t HeadlessUi::SendToFrame(unsigned /*message*/, std::uintptr_t /*wParam*/,
                                      std::intptr_t /*lParam*/) {
  return 0;
}

std::unique_ptr<ProgressWindow> HeadlessUi::CreateProgressWindow() {
  return std::make_unique<MemoryProgressWindow>(std::make_shared<ProgressState>());
}
