// CReinforce: the force calculation of one rock bolt for one result set.
//
// Every value is rounded half up to 0.001 (angles to 0.01 degrees) in the order written here, and
// a value with an unset input stays unset instead of being computed from the -9e32 marker.

#include <algorithm>
#include <cmath>

#include "core/base/Constants.h"
#include "core/deformation/Reinforce.h"
#include "core/geometry/DPolyArray.h"
#include "core/model/PrmReinf.h"
#include "core/model/ReinfStdBar.h"
#include "core/section/SpSlideWork.h"
#include "core/section/SpStratum.h"

namespace {

constexpr double kAnglePitch = 0.01;
constexpr double kTanPitch = 1e-6;

// The values of the conditions that differ between the normal and the seismic set; unset for the
// sets that have none.
struct SetConditions {
  double sigmaSa = kNoValue;
  double fs = kNoValue;
  double tauCa = kNoValue;
};

SetConditions ConditionsOf(int set, const CPrmReinf& prm) {
  const CReinfStdBar& bar = prm.stdBar;
  switch (set) {
    case CReinforce::kSetNormal:
      return {bar.sigmaSaN, prm.fsa, prm.tauC};
    case CReinforce::kSetSeismic:
      return {bar.sigmaSaQ, prm.fsaQ, prm.tauCQ};
    default:
      return {};
  }
}

// Whether the reduction by mu leaves no resistance in the sliding mass (mu = 1).
bool IsFullyReduced(const CPrmReinf& prm) { return prm.reduction && prm.myu == 1.0; }

// The sum of two values, unset when either is.
double AddSet(double a, double b) { return IsAllSet(a, b) ? a + b : kNoValue; }

// The smaller of two values: an unset one (the lowest double) wins, so the result is unset then.
double MinOf(double a, double b) { return std::min(a, b); }

}  // namespace

void CReinforce::Calc(int set, const CDPolyArray& strata, const CSpWaterGroup* /*water*/,
                      const CSpSlideWork& slip, const CPrmReinf& prm) {
  const CReinfStdBar* bar = prm.GetStdBar(stdBar);
  if (bar == nullptr) return;
  const SetConditions conditions = ConditionsOf(set, prm);

  Calc_Phi(set, strata);
  Calc_Theta(set, slip);
  Calc_Beta(set);
  const double beta = GetResult(set).beta;
  if (beta == kNoValue || beta < 0) return;

  switch (prm.barKind) {
    case kKindPlainBar:
      Calc_ZoneTotal(set, strata, conditions.fs, bar->drillD);
      Calc_T1pa(set, prm);
      Calc_T2pa(set);
      break;
    case kKindRockbolt:
      Calc_ZoneTotal_Rockbolt(set, strata, conditions.fs, bar->drillD, conditions.tauCa, bar->d);
      Calc_T1pa_Rockbolt(set, prm);
      Calc_T2pa_Rockbolt(set);
      break;
    default:
      break;
  }
  Calc_Tsa(set, bar->as, conditions.sigmaSa);
  Calc_Tpa(set, prm);
  Calc_Td(set, prm.tdFactor);
  Calc_Tm(set);
  Calc_Sh(set, prm.shClamp == 1);
  Calc_Ss(set);
}

void CReinforce::Calc_Phi(int set, const CDPolyArray& strata) {
  const int slide = FindZoneSlideID(set);
  if (slide < 0) return;
  const int stratum = GetZone(set, slide - 1).stratum;
  if (stratum == -1) return;
  const auto* block = dynamic_cast<const CSpStratumBlock*>(strata.GetAt(stratum));
  if (block != nullptr) GetResult(set).phi = block->GetPropStructure()->phi;
}

void CReinforce::Calc_Theta(int set, const CSpSlideWork& slip) {
  CDPoint cross;
  if (!FindZoneSlidePoint(set, &cross)) return;
  const double angle = slip.GetPointAngle(cross);
  if (angle == kNoValue) return;
  // Seen along a bar into -x the surface falls the other way.
  const double inclination = side == kSideMinusX ? -angle : angle;
  GetResult(set).theta = RoundOff(RadToDeg(inclination), kAnglePitch);
}

void CReinforce::Calc_Beta(int set) {
  Result& r = GetResult(set);
  r.beta = IsAllSet(alpha, r.theta) ? RoundOff(alpha + r.theta, kAnglePitch) : kNoValue;
}

void CReinforce::Calc_ZoneTotal(int set, const CDPolyArray& strata, double fs, double drillD) {
  for (CReinfZone& zone : Zones(set)) zone.Calc(strata, fs, drillD);
  Result& r = GetResult(set);
  r.sumL1tpa = SumOverZones(set, &CReinfZone::L1tpa);
  r.sumL2tpa = SumOverZones(set, &CReinfZone::L2tpa);
}

void CReinforce::Calc_ZoneTotal_Rockbolt(int set, const CDPolyArray& strata, double fs,
                                         double drillD, double tauCa, double d) {
  for (CReinfZone& zone : Zones(set)) zone.CalcRockbolt(strata, fs, drillD, tauCa, d);
  Result& r = GetResult(set);
  r.sumL1tpa = SumOverZones(set, &CReinfZone::L1tpa);
  r.sumL2tpa = SumOverZones(set, &CReinfZone::L2tpa);
  r.sumL1tca = SumOverZones(set, &CReinfZone::L1tca);
  r.sumL2tca = SumOverZones(set, &CReinfZone::L2tca);
}

double CReinforce::SumOverZones(int set, double CReinfZone::*value) const {
  double sum = 0.0;
  for (const CReinfZone& zone : Zones(set)) sum = AddSet(sum, zone.*value);
  return sum;
}

void CReinforce::Calc_T1pa(int set, const CPrmReinf& prm) {
  Result& r = GetResult(set);
  if (IsFullyReduced(prm)) {
    r.T1pa = kNoValue;
    return;
  }
  const double myu = prm.GetMyu();
  r.T1pa = IsAllSet(r.sumL1tpa, myu) ? RoundReinf(r.sumL1tpa / (1 - myu)) : kNoValue;
}

void CReinforce::Calc_T1pa_Rockbolt(int set, const CPrmReinf& prm) {
  Result& r = GetResult(set);
  if (IsFullyReduced(prm)) {
    r.T1pa = kNoValue;
    return;
  }
  const double myu = prm.GetMyu();
  const double sum = MinOf(r.sumL1tpa, r.sumL1tca);
  r.T1pa = IsAllSet(sum, myu) ? RoundReinf(sum / (1 - myu)) : kNoValue;
}

void CReinforce::Calc_T2pa(int set) {
  Result& r = GetResult(set);
  r.T2pa = RoundReinf(r.sumL2tpa);
}

void CReinforce::Calc_T2pa_Rockbolt(int set) {
  Result& r = GetResult(set);
  r.T2pa = RoundReinf(MinOf(r.sumL2tpa, r.sumL2tca));
}

void CReinforce::Calc_Tsa(int set, double as, double sigmaSa) {
  // As [cm2] * 1e-4 = m2; sigmaSa [N/mm2] * 1000 = kN/m2.
  GetResult(set).Tsa = IsAllSet(as, sigmaSa) ? RoundReinf(as * 1e-4 * (sigmaSa * 1000)) : kNoValue;
}

void CReinforce::Calc_Tpa(int set, const CPrmReinf& prm) {
  Result& r = GetResult(set);
  r.Tpa = IsFullyReduced(prm) ? MinOf(r.T2pa, r.Tsa) : MinOf(MinOf(r.Tsa, r.T1pa), r.T2pa);
}

void CReinforce::Calc_Td(int set, double factor) {
  Result& r = GetResult(set);
  r.Td = IsAllSet(r.Tpa, factor) ? RoundReinf(r.Tpa * factor) : kNoValue;
}

void CReinforce::Calc_Tm(int set) {
  Result& r = GetResult(set);
  r.Tm = IsAllSet(r.Td, sh) ? RoundReinf(r.Td / sh) : kNoValue;
}

void CReinforce::Calc_Sh(int set, bool clamp) {
  Result& r = GetResult(set);
  if (!IsAllSet(r.Tm, r.beta)) {
    r.Sh = kNoValue;
    return;
  }
  r.Sh = RoundReinf(r.Tm * std::cos(DegToRad(r.beta)));
  if (clamp && r.Sh < 0) r.Sh = 0.0;
}

void CReinforce::Calc_Ss(int set) {
  Result& r = GetResult(set);
  if (!IsAllSet(r.Tm, r.beta, r.phi)) {
    r.Ss = kNoValue;
    return;
  }
  const double tanPhi = RoundOff(std::tan(DegToRad(r.phi)), kTanPitch);
  r.Ss = RoundReinf(r.Tm * std::sin(DegToRad(r.beta)) * tanPhi);
}
