#pragma once
// The searches of the multi-plane driver, each fed by the force march one pass at a time: the
// safety-factor iteration of one case, and the search for a strength (c or tan(phi)) that closes
// the march at a target safety factor. They hold only the search rule, so that the order of the
// trial values can be followed step by step against a hand calculation.

#include <limits>

// The trial Fs of one case. While the residual (what the end face takes less what arrives) keeps
// its sign, the trial moves by a tenth of itself; at the first change of sign the step shrinks to a
// tenth and stays fixed from then on, shrinking again at each further change. A trial that would
// reach 0 or less is taken back and the step becomes a tenth of the trial. At most kPasses passes.
class CFsSearch {
 public:
  static constexpr int kPasses = 502;
  // The Fs reported for a case whose trial climbed this high without the march closing.
  static constexpr double kOverLimit = 99.999;

  explicit CFsSearch(double start) : trial_(start), step_(start / 10) {}

  // The Fs at which the march runs next.
  double Trial() const { return trial_; }
  bool IsConverged() const { return converged_; }
  // Not converged and passes left.
  bool IsOpen() const { return !converged_ && passes_ < kPasses; }
  // Takes the march's outcome at Trial(): a closed march ends the search at that trial.
  void Take(bool closed, double residual);
  // The trial when converged; else kOverLimit when the trial ended at or above it, else kNoValue.
  double Result() const;
  // The trial `passes` passes after Trial() when none of their marches closes or changes the
  // residual's sign.
  double TrialAhead(int passes) const {
    CFsSearch ahead = *this;
    for (int k = 0; k < passes; ++k) ahead.Take(false, ahead.previousSign_);
    return ahead.trial_;
  }

 private:
  double trial_;
  double step_;
  double previousSign_ = 1;
  bool firstPhase_ = true;
  bool converged_ = false;
  int passes_ = 0;
};

// A strength value that closes the march, from 0 in steps of +1: whenever the size of the residual
// grows, the step reverses and shrinks to a tenth. At most kPasses passes.
class CStrengthSearch {
 public:
  static constexpr int kPasses = 10002;

  // The value at which the march runs next; after the search, the value it closed at or, when it
  // did not close, the last trial value.
  double Value() const { return value_; }
  bool IsConverged() const { return converged_; }
  bool IsOpen() const { return !converged_ && passes_ < kPasses; }
  // Takes the march's outcome at Value(): a closed march ends the search at that value.
  void Take(bool closed, double residual);

 private:
  double value_ = 0;
  double step_ = 1;
  double previousSize_ = std::numeric_limits<double>::max();
  bool converged_ = false;
  int passes_ = 0;
};
