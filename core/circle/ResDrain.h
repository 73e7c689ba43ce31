#pragma once
// The outcome of a slip-circle search in which every circle is judged before and after a
// measure: drainage (CResDrain) or rock-bolt reinforcement (CResReinf). Besides what every
// circle-search result set keeps (CResCircle, ResStab.h) each is itself the bar arrangement the
// values after the measure are computed with, and carries the search conditions and a key with
// the filters after the measure. The two differ only in the parameters their arrangement is made
// from, in how the bars are drawn, in the graph captions, and in the reinforcement's two extra
// result kinds (9 and 15, the bars' resisting force).

#include "core/circle/ArcCondition.h"
#include "core/circle/RepKey.h"
#include "core/circle/ResStab.h"
#include "core/deformation/ReinfArrange.h"
#include "core/model/ReinfRange.h"

class Archive;
class CDanmen;
class CDPoly;
class CPrmDrain;
class CPrmReinf;
class CViewInfo;

class CResHokyo : public CReinfArrange, public CResCircle {
 public:
  ~CResHokyo() override;

  // The bars removed, the results deleted, the conditions' and the results' Init.
  void Init();
  // Every bar's four result sets cleared with their zones; with all, the results deleted too.
  void ClearRes(bool all);
  // ClearRes(false), then the bars' stratum zones in the section's stratum blocks (none without a
  // ground).
  void PreCalc(const CDanmen& section);
  bool IsValid() const { return CReinfArrange::IsValid(); }
  bool IsSameUseCale(const CResHokyo& other) const { return CReinfArrange::IsSameUseCale(other); }
  // Equal conditions, results (IsSameResults) and arrangements.
  bool IsSame(const CResHokyo& other) const;
  // The bars, the conditions and the results (CopyResults).
  void Copy(const CResHokyo& other);

  CRepKeyHokyo& GetKey() { return static_cast<CRepKeyHokyo&>(CResCircle::GetKey()); }
  const CRepKeyHokyo& GetKey() const {
    return static_cast<const CRepKeyHokyo&>(CResCircle::GetKey());
  }
  using CResCircle::GetMaxDeltaAfter;
  using CResCircle::GetMinFsAfter;
  // The specified circle's safety factor of the column before or after the measure.
  double GetSpecifFs(int column, bool after) const { return SpecifFs(column, after); }

  // Record: the bars' record, then the conditions' and the results' as CResStab writes them. Load
  // reads the whole record before it changes anything, leaving the serial list empty.
  void Store(Archive& ar, int version) const;
  void Load(Archive& ar, int version);

  CArcCondition conditions;

 protected:
  explicit CResHokyo(Measure measure);
  // The bars of the valid ranges: per row of a range one bar on the ground at the row's head,
  // with the side, standard bar 0, the range's spacing, length and inclination (for a range
  // perpendicular to the slope, the ground's perpendicular angle at the head); numbered in
  // Normalize's order.
  void CreateArrangeFromRanges(const CReinfRanges& ranges, int side, const CDPoly* ground);
};

class CResDrain : public CResHokyo {
 public:
  CResDrain() : CResHokyo(Measure::kDrainage) {}

  void CreateArrange(const CPrmDrain& prm, int side, const CDPoly* ground);
  // The bars with their numbers, dotted.
  void Draw(CViewInfo* view) const { CReinfArrange::Draw(view, true, true); }
  void SetRainfActive(int index) { SetReinfActive(index); }
};

class CResReinf : public CResHokyo {
 public:
  CResReinf() : CResHokyo(Measure::kReinforcement) {}

  void CreateArrange(const CPrmReinf& prm, int side, const CDPoly* ground);
  // The bars with their numbers, solid.
  void Draw(CViewInfo* view) const { CReinfArrange::Draw(view, true, false); }
};
