#include <gtest/gtest.h>

#include <QTimer>
#include <atomic>
#include <stdexcept>
#include <string>
#include <thread>

#include "platform/ProgressFeedback.h"
#include "stage/CalcRunner.h"
#include "tests/support/ScriptedUi.h"

namespace {

// Reports until the feedback is cancelled.
void ReportUntilCancelled(ProgressFeedback& feedback) {
  for (long reports = 1; !feedback.IsCancelled(); ++reports) {
    feedback.SetProgress(static_cast<double>(reports % 100));
    feedback.SetLines("計算", "報告 " + std::to_string(reports));
  }
}

// The window shows the run's latest report from the GUI thread, not every report: a run that
// reports many times and then waits until the window shows its last report has had the window
// given its lines far fewer times. (How often it repaints a second is measured by a benchmark.)
TEST(CalcRunnerTest, TheWindowShowsTheLatestReportNotEveryOne) {
  constexpr long kReports = 20000;
  const std::string last = "報告 " + std::to_string(kReports);
  std::atomic<bool> shown{false};
  QTimer watch;
  QObject::connect(&watch, &QTimer::timeout, [&] {
    if (TestUi().ProgressWindowCount() == 0 || TestUi().Progress(0).line2 != last) return;
    shown = true;
    shown.notify_one();
  });
  watch.start(1);
  std::thread::id worker;
  RunWithProgress([&](ProgressFeedback& feedback) {
    worker = std::this_thread::get_id();
    for (long k = 1; k <= kReports; ++k) {
      feedback.SetProgress(static_cast<double>(k) / kReports * 100);
      feedback.SetLines("計算", "報告 " + std::to_string(k));
    }
    shown.wait(false);
  });
  EXPECT_NE(worker, std::this_thread::get_id());
  ASSERT_EQ(TestUi().ProgressWindowCount(), 1u);
  const ProgressState& window = TestUi().Progress(0);
  EXPECT_FALSE(window.visible);
  EXPECT_EQ(window.line1, "計算");
  EXPECT_EQ(window.position, 100);
  EXPECT_LT(window.linesShown, kReports / 10);
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

// Cancel pressed as soon as the window shows: the run, which reports until it is cancelled, stops.
// (How soon a cancel takes effect is measured by a benchmark.)
TEST(CalcRunnerTest, CancelInTheWindowStopsTheRunAtItsNextPoll) {
  QTimer::singleShot(0, [] { TestUi().PressCancel(); });
  RunWithProgress(ReportUntilCancelled);
  EXPECT_FALSE(TestUi().Progress(0).visible);
}

TEST(CalcRunnerTest, AnExceptionOfTheRunReachesTheCallerWithTheWindowHidden) {
  EXPECT_THROW(RunWithProgress([](ProgressFeedback&) { throw std::runtime_error("failed"); }),
               std::runtime_error);
  EXPECT_FALSE(TestUi().Progress(0).visible);
}

}  // namespace
