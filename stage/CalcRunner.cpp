#include "stage/CalcRunner.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>
#include <atomic>
#include <chrono>
#include <cmath>
#include <exception>
#include <memory>
#include <string>
#include <thread>

#include "core/model/ProgressInfo.h"
#include "platform/ProgressFeedback.h"
#include "platform/UiRegistry.h"
#include "platform/UiServices.h"

namespace {

// Twenty repaints a second look continuous and cost the GUI thread almost nothing.
constexpr std::chrono::milliseconds kRepaintInterval{50};

// The runs RunWithProgress has going, counted on the GUI thread.
int activeRuns = 0;

class ActiveRun {
 public:
  ActiveRun() { ++activeRuns; }
  ~ActiveRun() { --activeRuns; }
  ActiveRun(const ActiveRun&) = delete;
  ActiveRun& operator=(const ActiveRun&) = delete;
};

// The feedback of one run: it cancels itself after the report at which the user interface says
// the user cancels, when it says so at all.
ProgressFeedback::Observer CancellingObserver(ProgressFeedback& feedback,
                                              UiServices::ReportCancel cancels) {
  if (!cancels) return {};
  return [&feedback, cancels = std::move(cancels)](const ProgressFeedback& reported) {
    if (cancels(reported)) feedback.Cancel();
  };
}

void ShowReport(CProgressInfoDlg& dialog, ProgressFeedback& feedback) {
  // Cancel, Escape and the close button hide the window.
  if (dialog.IsCancel()) {
    feedback.Cancel();
    return;
  }
  // Until the run tells what it does (a march never does), the window keeps saying that the
  // calculation is being prepared rather than going blank.
  CProgressInfo& info = *dialog.GetInfo();
  const std::string line1 = feedback.Line1();
  const std::string line2 = feedback.Line2();
  if (!line1.empty() || !line2.empty()) info.SetText(line1, line2);
  // The run reports percents: the info counts 100 steps, truncated so that the bar never runs
  // ahead of the run.
  info.SetMaximum(100);
  info.SetPosition(static_cast<int>(std::trunc(feedback.Progress())));
  info.UpdateProgress();
}

}  // namespace

void RunWithProgress(const std::function<void(ProgressFeedback&)>& process) {
  const std::unique_ptr<CProgressInfoDlg> dialog = OpenPreparingProgress();

  ProgressFeedback feedback(CancellingObserver(feedback, Ui().CancelAtReport()));
  QTimer repaint;
  repaint.setInterval(kRepaintInterval);
  QObject::connect(&repaint, &QTimer::timeout,
                   [&dialog, &feedback] { ShowReport(*dialog, feedback); });
  repaint.start();

  std::exception_ptr failure;
  std::atomic<bool> finished{false};
  {
    const ActiveRun active;
    const std::jthread worker([&] {
      try {
        process(feedback);
      } catch (...) {
        failure = std::current_exception();
      }
      finished.store(true);
      // Wakes the GUI thread, which may be waiting for the next event.
      QMetaObject::invokeMethod(
          QCoreApplication::instance(), [] {}, Qt::QueuedConnection);
    });
    while (!finished.load()) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
  }
  repaint.stop();
  if (failure) std::rethrow_exception(failure);
}

bool RunActive() { return activeRuns > 0; }
