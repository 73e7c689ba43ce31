#include "core/base/InputRange.h"

#include "core/base/CoreConfig.h"
#include "core/base/Utility.h"

double RoundInRange(double value, double lo, double hi, int roundCode) {
  if (value == kNoValue) return value;
  if (value < lo || value > hi) return kNoValue;
  return CCoreConfig::GetRound(value, roundCode);
}
