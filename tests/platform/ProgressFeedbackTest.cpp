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

// A line given by its numbers is written each time it is read, and a text line replaces it.
TEST(ProgressFeedbackTest, ANumberLineIsWrittenWhenRead) {
  int reports = 0;
  ProgressFeedback feedback([&reports](const ProgressFeedback&) { ++reports; });
  const auto write = [](const ProgressFeedback::NumberLine::Numbers& n) {
    return std::to_string(static_cast<int>(n[0])) + " / " + std::to_string(static_cast<int>(n[4]));
  };
  feedback.SetLines("計算", ProgressFeedback::NumberLine{write, {3, 0, 0, 0, 7}});
  EXPECT_EQ(reports, 1);
  EXPECT_EQ(feedback.Line1(), "計算");
  EXPECT_EQ(feedback.Line2(), "3 / 7");
  feedback.SetLines("計算", ProgressFeedback::NumberLine{write, {4, 0, 0, 0, 7}});
  EXPECT_EQ(feedback.Line2(), "4 / 7");
  feedback.SetLines("", "中止");
  EXPECT_EQ(feedback.Line2(), "中止");
  feedback.SetLines("", ProgressFeedback::NumberLine{});
  EXPECT_EQ(feedback.Line2(), "");
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
