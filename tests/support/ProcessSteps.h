#pragma once
// Running the process step of a long calculation in tests: on a worker thread while this thread
// reads its reports, as the program's runner does, or with a cancel that the user gives at a
// chosen report. Deterministic: no sleeps and no timing.

#include <atomic>
#include <optional>
#include <thread>
#include <utility>

#include "platform/ProgressFeedback.h"

// Runs `process(feedback)` on a worker thread while this thread reads the feedback's progress and
// lines until it returns; returns what it returned.
template <class Process>
auto ProcessOnWorker(ProgressFeedback& feedback, Process process) {
  std::optional<decltype(process(feedback))> result;
  std::atomic<bool> done{false};
  {
    const std::jthread worker([&] {
      result.emplace(process(feedback));
      done.store(true);
    });
    while (!done.load()) {
      // What the progress window shows while the run lasts.
      static_cast<void>(feedback.Progress());
      static_cast<void>(feedback.Line1());
      static_cast<void>(feedback.Line2());
      std::this_thread::yield();
    }
  }
  return std::move(*result);
}

// A run's feedback that the user cancels at its report number `at` (counting from 1; 0 cancels
// before the run starts), counting the reports the run makes.
class CancelAtReport {
 public:
  explicit CancelAtReport(int at) : at_(at) {
    if (at_ <= 0) feedback_.Cancel();
  }
  CancelAtReport(const CancelAtReport&) = delete;
  CancelAtReport& operator=(const CancelAtReport&) = delete;

  ProgressFeedback& Feedback() { return feedback_; }
  int Reports() const { return reports_; }

 private:
  const int at_;
  int reports_ = 0;
  ProgressFeedback feedback_{[this](const ProgressFeedback&) {
    if (++reports_ == at_) feedback_.Cancel();
  }};
};
