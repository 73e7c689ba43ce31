#include <gtest/gtest.h>

#include <QTimer>
#include <atomic>
#include <chrono>
#include <stdexcept>
#include <string>
#include <thread>

#include "platform/ProgressFeedback.h"
#include "stage/CalcRunner.h"
#include "tests/support/ScriptedUi.h"

namespace {

using Clock = std::chrono::steady_clock;

// Reports as fast as it can until the deadline or a cancel; returns the number of reports.
long ReportUntil(ProgressFeedback& feedback, Clock::time_point deadline) {
  long reports = 0;
  while (Clock::now() < deadline && !feedback.IsCancelled()) {
    ++reports;
    feedback.SetProgress(static_cast<double>(reports % 100));
    feedback.SetLines("計算", "報告 " + std::to_string(reports));
  }
  return reports;
}

TEST(CalcRunnerTest, TheWindowRepaintsAtABoundedRateHoweverOftenTheRunReports) {
  long reports = 0;
  std::thread::id worker;
  RunWithProgress([&](ProgressFeedback& feedback) {
    worker = std::this_thread::get_id();
    reports = ReportUntil(feedback, Clock::now() + std::chrono::milliseconds(600));
  });
  EXPECT_NE(worker, std::this_thread::get_id());
  ASSERT_EQ(TestUi().ProgressWindowCount(), 1u);
  const ProgressState& window = TestUi().Progress(0);
  EXPECT_FALSE(window.visible);
  EXPECT_GT(reports, 1000);
  // About 20 a second, whatever the run reports (the first lines are the preparing ones).
  EXPECT_GE(window.linesShown, 3);
  EXPECT_LE(window.linesShown, 1 + 600 / 50 + 2);
  EXPECT_EQ(window.line1, "計算");
}

TEST(CalcRunnerTest, AShortRunShowsThePreparingLinesAndEndsWithTheWindowHidden) {
  bool ran = false;
  RunWithProgress([&ran](ProgressFeedback&) { ran = true; });
  EXPECT_TRUE(ran);
  const ProgressState& window = TestUi().Progress(0);
  EXPECT_EQ(window.line1, "計算準備中");
  EXPECT_EQ(window.line2, "しばらくお待ちください...");
  EXPECT_EQ(window.rangeHigh, 100);
  EXPECT_FALSE(window.visible);
}

TEST(CalcRunnerTest, CancelInTheWindowStopsTheRunAtItsNextPoll) {
  Clock::time_point pressed;
  QTimer::singleShot(150, [&pressed] {
    pressed = Clock::now();
    TestUi().PressCancel();
  });
  Clock::time_point seen;
  bool cancelled = false;
  RunWithProgress([&](ProgressFeedback& feedback) {
    ReportUntil(feedback, Clock::now() + std::chrono::seconds(20));
    seen = Clock::now();
    cancelled = feedback.IsCancelled();
  });
  EXPECT_TRUE(cancelled);
  // Within one repaint interval of the press; recorded, not asserted, as machines differ in load.
  RecordProperty(
      "cancel_latency_ms",
      static_cast<int>(
          std::chrono::duration_cast<std::chrono::milliseconds>(seen - pressed).count()));
}

TEST(CalcRunnerTest, AnExceptionOfTheRunReachesTheCallerWithTheWindowHidden) {
  EXPECT_THROW(RunWithProgress([](ProgressFeedback&) { throw std::runtime_error("failed"); }),
               std::runtime_error);
  EXPECT_FALSE(TestUi().Progress(0).visible);
}

}  // namespace
