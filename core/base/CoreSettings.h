#pragma once
// Scoped changes of the process-wide settings: each guard restores what it changed on every exit
// path, so an early return or an exception never leaves the program with a changed setting.

#include "core/base/CoreConfig.h"

// Switches the rounding of calculations on (1) or off (0) for the guard's lifetime.
class ScopedEnableRound {
 public:
  explicit ScopedEnableRound(int enable) : previous_(CCoreConfig::GetEnableRound()) {
    CCoreConfig::SetEnableRound(enable);
  }
  ~ScopedEnableRound() { CCoreConfig::SetEnableRound(previous_); }
  ScopedEnableRound(const ScopedEnableRound&) = delete;
  ScopedEnableRound& operator=(const ScopedEnableRound&) = delete;

 private:
  int previous_;
};
