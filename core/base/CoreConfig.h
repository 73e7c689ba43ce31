#pragma once
// Process-wide settings shared by every case: the rounding rules and the current design step.

#include "core/base/UnitFilter.h"

class CCoreConfig {
 public:
  // The rounding rules of the process; loading a document replaces them.
  static CUnitFilter _roundSet;
  // The design step the program shows: 0 basic input, 1 multi-plane stability, 2 slide
  // deformation, 3 shear deformation.
  static int _stageNo;

  static void SetUnitFilter(CUnitFilter filter) { _roundSet = filter; }
  static CUnitFilter GetUnitFilter() { return _roundSet; }
  static void SetEnableRound(int enable) { _roundSet.EnableRoundValue(enable); }
  static int GetEnableRound() { return _roundSet.IsEnableRoundValue(); }
  // The rounding every calculation uses: Round2 of the process-wide rules while their switch is
  // on, else x unchanged.
  static double GetRound(double x, int code) { return _roundSet.Round(x, code); }
  static void SetStageNo(int stageNo) { _stageNo = stageNo; }
  static int GetStageNo() { return _stageNo; }
};
