#include "core/stability/FsSearch.h"

#include <cmath>

#include "core/base/Utility.h"

namespace {

// +1, -1, or 0 for a residual of 0 (or one that is not a number).
double SignOf(double residual) {
  if (residual > 0) return 1;
  if (residual < 0) return -1;
  return 0;
}

}  // namespace

void CFsSearch::Take(bool closed, double residual) {
  const int pass = passes_++;
  if (closed) {
    converged_ = true;
    return;
  }
  const double sign = SignOf(residual);
  if (pass >= 1 && sign != previousSign_) {
    firstPhase_ = false;
    step_ = step_ / 10;
  } else if (firstPhase_) {
    step_ = trial_ / 10;
  }
  trial_ += sign * step_;
  if (trial_ <= 0) {
    trial_ -= sign * step_;
    step_ = 0.1 * trial_;
  }
  previousSign_ = sign;
}

double CFsSearch::Result() const {
  if (converged_) return trial_;
  return trial_ >= kOverLimit ? kOverLimit : kNoValue;
}

void CStrengthSearch::Take(bool closed, double residual) {
  ++passes_;
  if (closed) {
    converged_ = true;
    return;
  }
  const double size = std::abs(residual);
  if (size > previousSize_) step_ = step_ / -10;
  value_ += step_;
  previousSize_ = size;
}
