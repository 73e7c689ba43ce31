#include "platform/ProgressFeedback.h"

#include <algorithm>
#include <cmath>

void ProgressFeedback::SetProgress(double percent) {
  progress_.store(std::isnan(percent) ? 0.0 : std::clamp(percent, 0.0, 100.0));
  Notify();
}

void ProgressFeedback::SetLines(const std::string& line1, const std::string& line2) {
  {
    const std::lock_guard lock(linesMutex_);
    line1_ = line1;
    line2_ = line2;
    numberLine2_.reset();
  }
  Notify();
}

void ProgressFeedback::SetLines(const std::string& line1, const NumberLine& line2) {
  {
    const std::lock_guard lock(linesMutex_);
    line1_ = line1;
    numberLine2_ = line2;
  }
  Notify();
}

std::string ProgressFeedback::Line1() const {
  const std::lock_guard lock(linesMutex_);
  return line1_;
}

std::string ProgressFeedback::Line2() const {
  const std::lock_guard lock(linesMutex_);
  if (numberLine2_) {
    return numberLine2_->write != nullptr ? numberLine2_->write(numberLine2_->numbers) : "";
  }
  return line2_;
}

void ProgressFeedback::Notify() const {
  if (observer_) observer_(*this);
}
