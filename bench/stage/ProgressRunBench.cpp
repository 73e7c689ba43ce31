// A run of about ten seconds through the runner with the program's own progress window
// (offscreen) that reports as fast as it can: how often the window's lines repaint a second,
// however often the run reports, and how long a cancel pressed in the window takes to reach the
// run (the time from the click until the run sees its feedback cancelled; at most one repaint
// interval, 50 ms, and the run's own poll).

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QEvent>
#include <QObject>
#include <QPushButton>
#include <QTimer>
#include <chrono>
#include <memory>
#include <string>

#include "platform/ProgressFeedback.h"
#include "platform/UiRegistry.h"
#include "platform/qt/QtProgressWindow.h"
#include "platform/qt/QtUi.h"
#include "stage/CalcRunner.h"

namespace {

using Clock = std::chrono::steady_clock;

// Ten seconds, and a little more, so that the press falls between two repaints, as a user's does:
// the runner notices the hidden window at its next repaint.
constexpr std::chrono::milliseconds kRun{10'037};

// Counts the paints of the progress window's second line, which changes with every report.
class LinePaints : public QObject {
 public:
  int Count() const { return count_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Paint && watched->objectName() == QStringLiteral("2101") &&
        qobject_cast<CQtProgressWindow*>(watched->parent()) != nullptr) {
      ++count_;
    }
    return false;
  }

 private:
  int count_ = 0;
};

// The cancel button of the progress window that shows; null without one.
QPushButton* VisibleCancel() {
  for (QWidget* widget : QApplication::topLevelWidgets()) {
    auto* window = qobject_cast<CQtProgressWindow*>(widget);
    if (window != nullptr && window->isVisible()) {
      return window->findChild<QPushButton*>(QStringLiteral("2"));
    }
  }
  return nullptr;
}

double Milliseconds(Clock::duration d) {
  return std::chrono::duration<double, std::milli>(d).count();
}

void BM_ProgressOfATenSecondRun(benchmark::State& state) {
  std::unique_ptr<UiServices> previous = InstallUi(std::make_unique<QtUi>());
  LinePaints paints;
  qApp->installEventFilter(&paints);
  long reports = 0;
  Clock::time_point started;
  Clock::time_point pressed;
  Clock::time_point seen;
  for (auto _ : state) {
    QTimer::singleShot(kRun, Qt::PreciseTimer, [&pressed] {
      pressed = Clock::now();
      if (QPushButton* cancel = VisibleCancel()) cancel->click();
    });
    RunWithProgress([&](ProgressFeedback& feedback) {
      started = Clock::now();
      while (!feedback.IsCancelled()) {
        ++reports;
        feedback.SetProgress(static_cast<double>(reports % 100));
        feedback.SetLines("計算", "報告 " + std::to_string(reports));
      }
      seen = Clock::now();
    });
  }
  qApp->removeEventFilter(&paints);
  InstallUi(std::move(previous));
  const double seconds = Milliseconds(seen - started) / 1000;
  state.counters["reports_per_s"] = static_cast<double>(reports) / seconds;
  state.counters["repaints_per_s"] = paints.Count() / seconds;
  state.counters["cancel_ms"] = Milliseconds(seen - pressed);
}
BENCHMARK(BM_ProgressOfATenSecondRun)->Unit(benchmark::kSecond)->Iterations(1)->UseRealTime();

}  // namespace
