#include "platform/UiProgress.h"

#include <cmath>

#include "platform/UiRegistry.h"

UiProgress::UiProgress()
    : window_(Ui().CreateProgressWindow()),
      feedback_([this](const ProgressFeedback& feedback) { ShowReport(feedback); }) {
  window_->SetRange(0, 100);
  window_->SetPosition(0);
  window_->Show();
}

UiProgress::~UiProgress() { window_->Hide(); }

void UiProgress::ShowReport(const ProgressFeedback& feedback) {
  window_->SetLines(feedback.Line1(), feedback.Line2());
  // The bar runs 0 to 100 like the percentage; truncated, so it never runs ahead of the run.
  window_->SetPosition(static_cast<int>(std::trunc(feedback.Progress())));
  Ui().PumpEvents();
  if (!window_->IsVisible()) feedback_.Cancel();
}
