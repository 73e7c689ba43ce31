#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <thread>
#include <vector>

#include "platform/ProgressFeedback.h"
#include "platform/UiProgress.h"
#include "tests/support/ScriptedUi.h"

namespace {

TEST(ProgressFeedbackTest, ProgressStaysWithinZeroAndHundred) {
  const struct {
    double reported;
    double kept;
  } cases[] = {
      {42.5, 42.5},
      {0.0, 0.0},
      {100.0, 100.0},
      {-5.0, 0.0},
      {150.0, 100.0},
      {std::numeric_limits<double>::quiet_NaN(), 0.0},
      {std::numeric_limits<double>::infinity(), 100.0},
  };
  for (const auto& c : cases) {
    ProgressFeedback feedback;
    feedback.SetProgress(c.reported);
    EXPECT_EQ(feedback.Progress(), c.kept) << c.reported;
  }
}

TEST(ProgressFeedbackTest, TheObserverSeesEveryReport) {
  std::vector<std::string> seen;
  ProgressFeedback feedback([&seen](const ProgressFeedback& f) {
    seen.push_back(f.Line1() + "/" + f.Line2() + "/" +
                   std::to_string(static_cast<int>(f.Progress())));
  });
  feedback.SetLines("計算準備中", "しばらくお待ちください...");
  feedback.SetProgress(10.0);
  feedback.SetProgress(10.0);  // the same value again still reaches the observer
  EXPECT_EQ(seen, (std::vector<std::string>{"計算準備中/しばらくお待ちください.../0",
                                            "計算準備中/しばらくお待ちください.../10",
                                            "計算準備中/しばらくお待ちください.../10"}));
}

// A run on a worker thread stops when another thread cancels it.
TEST(ProgressFeedbackTest, CancelReachesARunOnAnotherThread) {
  ProgressFeedback feedback;
  EXPECT_FALSE(feedback.IsCancelled());
  std::thread run([&feedback] {
    while (!feedback.IsCancelled()) std::this_thread::yield();
  });
  feedback.Cancel();
  run.join();
  feedback.Cancel();  // a second cancel changes nothing
  EXPECT_TRUE(feedback.IsCancelled());
}

// A calculation of 100 steps that reports each one and stops when cancelled; returns the steps
// it did.
int RunSteps(ProgressFeedback& feedback) {
  int done = 0;
  while (done < 100 && !feedback.IsCancelled()) {
    ++done;
    feedback.SetLines("安定計算", "ブロック " + std::to_string(done) + "/100");
    feedback.SetProgress(done);
  }
  return done;
}

TEST(UiProgressTest, CancelPressedInTheWindowStopsTheCalculation) {
  // Each step reports twice (lines, then progress), and each report pumps once.
  TestUi().OnPumpEvents([] {
    if (TestUi().PumpCount() == 6) TestUi().PressCancel();
  });
  int steps = 0;
  {
    UiProgress progress;
    ASSERT_EQ(TestUi().ProgressWindowCount(), 1u);
    EXPECT_TRUE(TestUi().Progress(0).visible);
    steps = RunSteps(progress.Feedback());
    EXPECT_TRUE(progress.Feedback().IsCancelled());
  }
  EXPECT_EQ(steps, 3);
  EXPECT_EQ(TestUi().PumpCount(), 6);
  const ProgressState& window = TestUi().Progress(0);
  EXPECT_FALSE(window.visible);
  EXPECT_EQ(window.line1, "安定計算");
  EXPECT_EQ(window.line2, "ブロック 3/100");
  EXPECT_EQ(window.position, 3);
}

TEST(UiProgressTest, TheBarShowsTheWholePercentsDoneAndTheWindowClosesAtTheEnd) {
  const struct {
    double percent;
    int position;
  } cases[] = {{0.0, 0}, {25.0, 25}, {99.9, 99}, {100.0, 100}};
  for (const auto& c : cases) {
    {
      UiProgress progress;
      progress.Feedback().SetProgress(c.percent);
    }
    const ProgressState& window = TestUi().Progress(TestUi().ProgressWindowCount() - 1);
    EXPECT_EQ(window.position, c.position) << c.percent;
    EXPECT_EQ(window.rangeLow, 0);
    EXPECT_EQ(window.rangeHigh, 100);
    EXPECT_FALSE(window.visible);
  }
}

}  // namespace
