#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <thread>
#include <vector>

#include "platform/ProgressFeedback.h"

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

}  // namespace
