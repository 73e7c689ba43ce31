#pragma once
// The rock-bolt conditions of a case: the bar kind and the chosen standard bar, the allowable bond
// stresses, safety factors and skin frictions of the force calculation, two settings, and the ten
// arrangement ranges that the arrangement dialog lays the bolts out in.

#include "core/base/Utility.h"
#include "core/model/ReinfRange.h"
#include "core/model/ReinfStdBar.h"

class Archive;
class CDPoly;
class CViewInfo;

class CPrmReinf {
 public:
  // Ten reset ranges named "範囲 1" to "範囲 10".
  CPrmReinf() { InitRanges(ranges); }

  // Defaults; the ranges are reset and named again, their int flags stay.
  void Init();
  // Every member; the ranges as CopyRanges does (not their active flags, upper end first).
  void Copy(const CPrmReinf& other);
  // Every stored value equal, every range's name, int flag and settings equal.
  bool IsSame(const CPrmReinf& other) const;
  // The values the calculations read equal: bar kind, the bar's numbers, values 2, 4 and 5, the
  // switch, values 6 to 8, both settings and every range's settings.
  bool IsSameUseCale(const CPrmReinf& other) const;
  // Bar kind 0 or 1, a valid bar, values 2, 4, 5, 7 and 8 set (6 too while the switch is on),
  // the Sh setting 0..2 and the check-box state 0..1.
  bool IsValid() const;
  // What the shear deformation needs: a valid bar and the two skin frictions.
  bool IsValidShear() const;
  // The chosen bar for 0; null for any other index.
  const CReinfStdBar* GetStdBar(int index) const { return index == 0 ? &stdBar : nullptr; }
  // mu while the reduction switch is on, else 0.
  double GetMyu() const { return reduction ? myu : 0.0; }

  // Record: int32 bar kind, the bar's record, values 1, 3, 2, 4 and 5 (in this order), the
  // switch as one byte, values 6, 7 and 8, the Sh setting and the check-box state as int32, then
  // the ten range records.
  void Store(Archive& ar, int version) const;
  // Reads the whole record before it changes anything; the ranges keep their active flags.
  void Load(Archive& ar, int version);

  // The ten ranges along the ground, labelled.
  void Draw(CViewInfo* view, const CDPoly* ground) const { DrawRange(view, ground, true); }
  void DrawRange(CViewInfo* view, const CDPoly* ground, bool label) const {
    DrawRanges(ranges, view, ground, label);
  }
  void SetRangeNonActive() { SetRangesNonActive(ranges); }

  int barKind = 1;  // 0 plain bar, 1 rock bolt
  CReinfStdBar stdBar;
  double tauC = kNoValue;      // value 1: allowable bond stress bar-grout, normal case
  double tauCQ = kNoValue;     // value 2: the same, seismic case
  double fsa = kNoValue;       // value 3: safety factor of the pull-out resistance, normal case
  double fsaQ = kNoValue;      // value 4: the same, seismic case
  double tdFactor = kNoValue;  // value 5: design factor of Td
  bool reduction = false;      // the reduction by mu applies
  double myu = kNoValue;       // value 6
  double tauP1 = kNoValue;     // value 7: skin friction ground-grout in the moving layer
  double tauP2 = kNoValue;     // value 8: the same in the stable layer
  int shClamp = 0;             // 0..2; 1: a negative Sh becomes 0
  int arrangeCheck = 0;        // 0..1: the arrangement dialog's conditions check box
  CReinfRanges ranges;
};
