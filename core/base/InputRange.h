#pragma once
// The check every entered value of a shape passes: a range, then the rounding of its quantity.

// A value outside [lo, hi] becomes kNoValue; the others are rounded with the quantity code while
// the process-wide rounding switch is on. kNoValue stays as it is.
double RoundInRange(double value, double lo, double hi, int roundCode);
