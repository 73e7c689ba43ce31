// CReinfZone: one zone of a rock bolt, its record and its resistances.

#include "core/deformation/ReinfZone.h"

#include <cmath>
#include <cstdint>
#include <numbers>

#include "core/geometry/DPolyArray.h"
#include "core/section/SpStratum.h"
#include "platform/Archive.h"

namespace {

constexpr double kCoincide = 1e-13;

// round(length * unit resistance) for a zone of the part, else 0.
double ZoneResistance(int region, int part, double length, double unit) {
  if (region != part) return 0.0;
  return IsAllSet(length, unit) ? RoundReinf(length * unit) : kNoValue;
}

}  // namespace

void CReinfZone::ClearRes() {
  tau = kNoValue;
  tpa = kNoValue;
  tca = kNoValue;
  L1tpa = 0.0;
  L2tpa = 0.0;
  L1tca = 0.0;
  L2tca = 0.0;
}

CDPoint CReinfZone::GetPointMid() const {
  return CDPoint((start.x + end.x) / 2, (start.y + end.y) / 2);
}

int CReinfZone::CheckInZone(const CDPoint& p) const {
  if (Hypot(p, start) < kCoincide) return kAtStart;
  if (Hypot(p, end) < kCoincide) return kAtEnd;
  // A vertical zone has no extent in x; along its y the same test holds.
  const bool vertical = std::fabs(end.x - start.x) <= kCoincide;
  const double a = vertical ? start.y : start.x;
  const double b = vertical ? end.y : end.x;
  const double v = vertical ? p.y : p.x;
  const double lo = std::fmin(a, b);
  const double hi = std::fmax(a, b);
  return v - lo > kCoincide && hi - v > kCoincide ? kInside : kOutside;
}

void CReinfZone::Store(Archive& ar) const {
  ar << start.x << start.y << end.x << end.y << static_cast<std::int32_t>(region)
     << static_cast<std::int32_t>(stratum);
}

void CReinfZone::Load(Archive& ar) {
  CDPoint from;
  CDPoint to;
  std::int32_t readRegion = 0;
  std::int32_t readStratum = 0;
  ar >> from.x >> from.y >> to.x >> to.y >> readRegion >> readStratum;
  start = from;
  end = to;
  region = readRegion;
  stratum = readStratum;
}

// ---- Resistances ----

bool CReinfZone::TakeStratumTau(const CDPolyArray& strata) {
  if (stratum == -1) return false;
  const auto* block = dynamic_cast<const CSpStratumBlock*>(strata.GetAt(stratum));
  tau = block != nullptr ? block->GetPropStructure()->tauP : kNoValue;
  return true;
}

void CReinfZone::Calc(const CDPolyArray& strata, double fs, double drillD) {
  if (!TakeStratumTau(strata)) return;
  Calc_tpa(fs, drillD);
  Calc_L1tpa();
  Calc_L2tpa();
}

void CReinfZone::CalcRockbolt(const CDPolyArray& strata, double fs, double drillD, double tauCa,
                              double d) {
  if (!TakeStratumTau(strata)) return;
  Calc_tpa(fs, drillD);
  Calc_tca(tauCa, d);
  Calc_L1tpa();
  Calc_L1tca();
  Calc_L2tpa();
  Calc_L2tca();
}

void CReinfZone::Calc_tpa(double fs, double drillD) {
  // tau [N/mm2] * D [mm] = kN/m.
  tpa = IsAllSet(tau, drillD, fs) ? RoundReinf(tau * std::numbers::pi * drillD / fs) : kNoValue;
}

void CReinfZone::Calc_tca(double tauCa, double d) {
  // tauCa * 1000 [kN/m2] * d / 1000 [m] = kN/m.
  tca = IsAllSet(tauCa, d) ? RoundReinf(tauCa * 1000 * std::numbers::pi * (d / 1000)) : kNoValue;
}

void CReinfZone::Calc_L1tpa() { L1tpa = ZoneResistance(region, kRegionL1, length, tpa); }
void CReinfZone::Calc_L2tpa() { L2tpa = ZoneResistance(region, kRegionL2, length, tpa); }
void CReinfZone::Calc_L1tca() { L1tca = ZoneResistance(region, kRegionL1, length, tca); }
void CReinfZone::Calc_L2tca() { L2tca = ZoneResistance(region, kRegionL2, length, tca); }
