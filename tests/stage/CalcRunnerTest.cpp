#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <atomic>
#include <chrono>
#include <functional>
#include <stdexcept>
#include <string>
#include <thread>
#include <utility>

#include "platform/ProgressFeedback.h"
#include "platform/qt/QtProgressWindow.h"
#include "stage/CalcRunner.h"
#include "tests/support/ScriptedUi.h"
#include "tests/support/qt/QtTestSupport.h"

namespace {

// Reports until the feedback is cancelled.
void ReportUntilCancelled(ProgressFeedback& feedback) {
  for (long reports = 1; !feedback.IsCancelled(); ++reports) {
    feedback.SetProgress(static_cast<double>(reports % 100));
    feedback.SetLines("計算", "報告 " + std::to_string(reports));
  }
}

// Runs `report` on the runner's worker thread and keeps the run going until `shown`, asked on the
// GUI thread while the run's window is open, says that the window shows what it waits for; what
// the window shows then is what a repaint made of the run's reports.
void RunUntilTheWindowShows(const std::function<void(ProgressFeedback&)>& report,
                            const std::function<bool()>& shown) {
  std::atomic<bool> seen{false};
  QTimer watch;
  QObject::connect(&watch, &QTimer::timeout, [&] {
    if (!shown()) return;
    seen = true;
    seen.notify_one();
  });
  watch.start(1);
  RunWithProgress([&](ProgressFeedback& feedback) {
    report(feedback);
    seen.wait(false);
  });
}

// The window shows the run's latest report from the GUI thread, not every report: a run that
// reports many times and then waits until the window shows its last report has had the window
// given its lines far fewer times. (How often it repaints a second is measured by a benchmark.)
TEST(CalcRunnerTest, TheWindowShowsTheLatestReportNotEveryOne) {
  constexpr long kReports = 20000;
  const std::string last = "報告 " + std::to_string(kReports);
  std::thread::id worker;
  RunUntilTheWindowShows(
      [&worker](ProgressFeedback& feedback) {
        worker = std::this_thread::get_id();
        for (long k = 1; k <= kReports; ++k) {
          feedback.SetProgress(static_cast<double>(k) / kReports * 100);
          feedback.SetLines("計算", "報告 " + std::to_string(k));
        }
      },
      [&last] { return TestUi().Progress(0).line2 == last; });
  EXPECT_NE(worker, std::this_thread::get_id());
  ASSERT_EQ(TestUi().ProgressWindowCount(), 1u);
  const ProgressState& window = TestUi().Progress(0);
  EXPECT_FALSE(window.visible);
  EXPECT_EQ(window.line1, "計算");
  EXPECT_EQ(window.position, 100);
  EXPECT_LT(window.linesShown, kReports / 10);
}

// A slide or shear march reports how far it is but never what it does: while its bar moves the
// window keeps saying that the calculation is being prepared instead of going blank.
TEST(CalcRunnerTest, ARunThatSetsNoLinesKeepsThePreparingLines) {
  RunUntilTheWindowShows([](ProgressFeedback& feedback) { feedback.SetProgress(40.7); },
                         [] { return TestUi().Progress(0).position == 40; });
  const ProgressState& window = TestUi().Progress(0);
  EXPECT_EQ(window.line1, "計算準備中");
  EXPECT_EQ(window.line2, "しばらくお待ちください...");
}

TEST(CalcRunnerTest, ARunThatSetsLinesShowsThemInPlaceOfThePreparingOnes) {
  const std::string line2 = "ブロック 1 - 2 を計算中...(1/6)";
  RunUntilTheWindowShows(
      [&line2](ProgressFeedback& feedback) {
        feedback.SetLines("多平面安定解析", line2);
        feedback.SetProgress(16.7);
      },
      [&line2] {
        const ProgressState& window = TestUi().Progress(0);
        return window.line2 == line2 && window.position == 16;
      });
  EXPECT_EQ(TestUi().Progress(0).line1, "多平面安定解析");
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

// The program's own window during a march: the bar moves, the preparing lines stay.
TEST(CalcRunnerTest, TheQtWindowOfARunThatSetsNoLinesKeepsThePreparingLines) {
  const WithQtUi qt;
  QString line1;
  QString line2;
  RunUntilTheWindowShows(
      [](ProgressFeedback& feedback) { feedback.SetProgress(40.7); },
      [&line1, &line2] {
        auto* window = qobject_cast<CQtProgressWindow*>(QApplication::activeModalWidget());
        if (window == nullptr || Ctl<QProgressBar>(*window, 2102)->value() != 40) {
          return false;
        }
        line1 = Ctl<QLabel>(*window, 2100)->text();
        line2 = Ctl<QLabel>(*window, 2101)->text();
        SaveShot(*window, "CQtProgressWindow_march");
        return true;
      });
  EXPECT_EQ(line1, QStringLiteral("計算準備中"));
  EXPECT_EQ(line2, QStringLiteral("しばらくお待ちください..."));
}

// Waits until the run is cancelled; gives up after a minute, so that a run nobody cancels fails
// its test instead of hanging it.
bool WaitForCancel(const ProgressFeedback& feedback) {
  const auto giveUp = std::chrono::steady_clock::now() + std::chrono::minutes(1);
  while (!feedback.IsCancelled() && std::chrono::steady_clock::now() < giveUp) {
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  return feedback.IsCancelled();
}

// The whole path through the program's own window: the cancel button, Escape and the close button
// hide it, and the runner's next repaint cancels the run.
TEST(CalcRunnerTest, CancelEscapeAndTheCloseButtonOfTheQtWindowCancelTheRun) {
  const std::pair<const char*, std::function<void(CQtProgressWindow&)>> cases[] = {
      {"cancel button",
       [](CQtProgressWindow& w) { QTest::mouseClick(Ctl<QPushButton>(w, 2), Qt::LeftButton); }},
      {"Escape", [](CQtProgressWindow& w) { QTest::keyClick(&w, Qt::Key_Escape); }},
      {"close button", [](CQtProgressWindow& w) { w.close(); }},
  };
  const WithQtUi qt;
  for (const auto& [name, press] : cases) {
    bool pressed = false;
    QTimer::singleShot(0, [&pressed, &press] {
      const QPointer<CQtProgressWindow> window =
          qobject_cast<CQtProgressWindow*>(QApplication::activeModalWidget());
      if (window.isNull()) return;
      press(*window);
      pressed = !window->isVisible();
    });
    bool cancelled = false;
    RunWithProgress(
        [&cancelled](ProgressFeedback& feedback) { cancelled = WaitForCancel(feedback); });
    EXPECT_TRUE(pressed) << name << ": the window shows and the press hides it";
    EXPECT_TRUE(cancelled) << name;
  }
}

TEST(CalcRunnerTest, AnExceptionOfTheRunReachesTheCallerWithTheWindowHidden) {
  EXPECT_THROW(RunWithProgress([](ProgressFeedback&) { throw std::runtime_error("failed"); }),
               std::runtime_error);
  EXPECT_FALSE(TestUi().Progress(0).visible);
}

}  // namespace
