#pragma once
// The progress-and-cancel object of one long calculation. The calculation takes it as a
// parameter, reports how far it is and polls IsCancelled() between steps; whoever started the run
// shows the reports through an observer or by reading them, and cancels through Cancel(). The
// core never reaches for the user interface in its loops, so a run can move to worker threads
// unchanged: every member is safe to call from any thread.

#include <array>
#include <atomic>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <utility>

class ProgressFeedback {
 public:
  // Called after every report, on the thread that reports.
  using Observer = std::function<void(const ProgressFeedback&)>;
  // A line written when it is read: the numbers of a report and the function that writes them.
  // A run that reports many times a second hands its numbers, so that no report formats a text
  // that nobody reads.
  struct NumberLine {
    using Numbers = std::array<double, 5>;
    std::string (*write)(const Numbers& numbers) = nullptr;
    Numbers numbers{};
  };

  ProgressFeedback() = default;
  explicit ProgressFeedback(Observer observer) : observer_(std::move(observer)) {}
  ProgressFeedback(const ProgressFeedback&) = delete;
  ProgressFeedback& operator=(const ProgressFeedback&) = delete;

  // Safe from any thread. Once cancelled, a feedback stays cancelled.
  bool IsCancelled() const { return cancelled_.load(); }
  void Cancel() { cancelled_.store(true); }

  // How far the calculation is, in percent; values below 0 (and NaN) count as 0, above 100 as 100.
  void SetProgress(double percent);
  double Progress() const { return progress_.load(); }
  // The two lines that tell what the calculation is doing. Safe from any thread: the workers of
  // a run set them while the GUI thread shows them.
  void SetLines(const std::string& line1, const std::string& line2);
  // The same with the second line given by its numbers; Line2 writes it (an empty line without a
  // writer).
  void SetLines(const std::string& line1, const NumberLine& line2);
  std::string Line1() const;
  std::string Line2() const;

 private:
  void Notify() const;

  Observer observer_;
  std::atomic<bool> cancelled_{false};
  std::atomic<double> progress_{0.0};
  mutable std::mutex linesMutex_;
  std::string line1_;
  std::string line2_;
  // Stands for line2_ while set.
  std::optional<NumberLine> numberLine2_;
};
