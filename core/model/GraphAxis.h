#pragma once
// Linear mappings of graph values onto device coordinates, shared by the result graphs.

#include "core/base/Utility.h"

// The device coordinate nearest to v, held far inside the int range so that a marker drawn
// around it stays inside it too; 0 for a value that is not a number.
int ToDeviceInt(double v);

// A linear mapping of one axis of a drawn range onto a device span.
struct GraphAxis {
  double lo;
  double hi;
  int from;  // device coordinate of lo
  int to;    // device coordinate of hi

  int Map(double v) const {
    if (hi == lo) return from;
    return from + ToDeviceInt((v - lo) / (hi - lo) * (to - from));
  }
  bool Holds(double v) const { return IsBetween(lo, hi, v); }
};
