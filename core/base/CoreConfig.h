#pragma once
// The accessors of the process-wide rounding rules and design step. Both live in the current
// CoreSettings; these read and change that value.

#include "core/base/CoreSettings.h"
#include "core/base/UnitFilter.h"

class CCoreConfig {
 public:
  static void SetUnitFilter(const CUnitFilter& filter);
  static CUnitFilter GetUnitFilter() { return CurrentSettings()._roundSet; }
  static void SetEnableRound(int enable);
  static int GetEnableRound() { return CurrentSettings()._roundSet.IsEnableRoundValue(); }
  // The rounding every calculation uses: Round2 of the process-wide rules while their switch is
  // on, else x unchanged.
  static double GetRound(double x, int code) { return CurrentSettings()._roundSet.Round(x, code); }
  // The same rounding for a pass over many values, by the rules in force now.
  static CalcRounding GetCalcRounding() { return CalcRounding(CurrentSettings()._roundSet); }
  static void SetStageNo(int stageNo);
  static int GetStageNo() { return CurrentSettings()._stageNo; }
};
