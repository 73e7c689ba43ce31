#pragma once
// Shows the progress of a calculation that runs on the GUI thread in a progress window of Ui().
// Every report of its feedback shows the two lines, moves the bar and then pumps the waiting
// events, so that the window repaints and its cancel button can be pressed; a pressed cancel
// (the window is hidden) cancels the feedback, which the calculation sees at its next poll.

#include <memory>

#include "platform/ProgressFeedback.h"
#include "platform/UiServices.h"

class UiProgress {
 public:
  // Creates the window with the bar's range 0 to 100 and shows it.
  UiProgress();
  // Hides the window.
  ~UiProgress();
  UiProgress(const UiProgress&) = delete;
  UiProgress& operator=(const UiProgress&) = delete;

  // The feedback to hand to the calculation.
  ProgressFeedback& Feedback() { return feedback_; }

 private:
  void ShowReport(const ProgressFeedback& feedback);

  std::unique_ptr<ProgressWindow> window_;
  ProgressFeedback feedback_;
};
