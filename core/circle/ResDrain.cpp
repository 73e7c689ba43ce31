#include "core/circle/ResDrain.h"

#include <utility>
#include <vector>

#include "core/base/Utility.h"
#include "core/geometry/DPoly.h"
#include "core/geometry/DPolyArray.h"
#include "core/model/Danmen.h"
#include "core/model/PrmDrain.h"
#include "core/model/PrmReinf.h"
#include "platform/Archive.h"

namespace {

// The ground's own direction decides on which side of the face the perpendicular lies.
constexpr int kDirectionOfTheGround = 0;
// Inclinations of the rock-bolt model are kept to 0.01 degrees.
constexpr double kAnglePitch = 0.01;

// The inclination perpendicular to the ground's face at the head; kNoValue without a ground.
double PerpendicularAngle(const CDPoly* ground, const CDPoint& head) {
  if (ground == nullptr) return kNoValue;
  return RoundOff(ground->GetR_Angle(&head, kDirectionOfTheGround), kAnglePitch);
}

}  // namespace

CResHokyo::CResHokyo(Measure measure) : CResCircle(measure, conditions) { Init(); }

CResHokyo::~CResHokyo() = default;

void CResHokyo::Init() {
  CReinfArrange::Init();
  DeleteResultAll();
  conditions.Init();
  InitResults();
}

void CResHokyo::ClearRes(bool all) {
  for (int set = 0; set < CReinforce::kSetCount; ++set) CReinfArrange::ClearRes(set);
  if (all) DeleteResultAll();
}

void CResHokyo::PreCalc(const CDanmen& section) {
  ClearRes(false);
  if (CDPolyArray* strata = section.GetTisoBlockArray()) CreateZoneStratum(*strata);
}

bool CResHokyo::IsSame(const CResHokyo& other) const {
  return conditions.IsSameUseCale(&other.conditions) && IsSameResults(other) &&
         CReinfArrange::IsSameUseCale(other);
}

void CResHokyo::Copy(const CResHokyo& other) {
  if (&other == this) return;
  CReinfArrange::Copy(other);
  conditions.Copy(&other.conditions);
  CopyResults(other);
}

void CResHokyo::Store(Archive& ar, int version) const {
  CReinfArrange::Store(ar, version);
  conditions.Store(ar, version);
  StoreResults(ar, version);
}

void CResHokyo::Load(Archive& ar, int version) {
  CReinfArrange bars;
  bars.Load(ar, version);
  CArcCondition readConditions;
  readConditions.CopyStored(&conditions);
  readConditions.Load(ar, version);
  const std::unique_ptr<CResCircle> results = ReadResults(ar, version);
  static_cast<CReinfArrange&>(*this) = std::move(bars);
  conditions.CopyStored(&readConditions);
  CommitResults(std::move(*results));
}

void CResHokyo::CreateArrangeFromRanges(const CReinfRanges& ranges, int side,
                                        const CDPoly* ground) {
  RemoveAll();
  int rows = 0;
  for (const CReinfRange& range : ranges) {
    if (range.IsValid()) rows += range.rowCount;
  }
  Create(rows);
  int next = 0;
  for (const CReinfRange& range : ranges) {
    if (!range.IsValid()) continue;
    for (const CDPoint& head : range.GetArrangePoint(ground)) {
      if (next >= GetSize()) break;
      CReinforce& bar = *GetAt(next++);
      const double alpha = range.inclinationMode == CReinfRange::kInclinePerpendicular
                               ? PerpendicularAngle(ground, head)
                               : range.alpha;
      bar.SetParam(side, 0, head, range.sh, alpha, range.lrb, bar.extraLength);
    }
  }
  Normalize(side);
}

void CResDrain::CreateArrange(const CPrmDrain& prm, int side, const CDPoly* ground) {
  CreateArrangeFromRanges(prm.ranges, side, ground);
}

void CResReinf::CreateArrange(const CPrmReinf& prm, int side, const CDPoly* ground) {
  CreateArrangeFromRanges(prm.ranges, side, ground);
}
