#pragma once
// One zone of a rock bolt: a straight piece of the bar between two of its cuts by the stratum
// polygons or the slip surface, with the part of the bar it lies in (inside the sliding mass or
// anchored beyond the slip surface), the stratum that holds it and its length, and the pull-out
// and bond resistances of the force calculation.

#include "core/base/Utility.h"
#include "core/geometry/DPoint.h"

class Archive;
class CDPolyArray;

// Lengths and forces of the rock-bolt model are rounded half up to the millimetre (0.001 kN),
// whether the process-wide rounding switch is on or not.
inline constexpr double kReinfPitch = 0.001;
inline double RoundReinf(double x) { return RoundOff(x, kReinfPitch); }
// Whether no value is the unset kNoValue: a result with an unset input is unset too.
template <class... Values>
bool IsAllSet(Values... values) {
  return ((values != kNoValue) && ...);
}

class CReinfZone {
 public:
  // The part of the bar a zone lies in.
  static constexpr int kRegionL1 = 0;  // inside the sliding mass
  static constexpr int kRegionL2 = 1;  // anchored beyond the slip surface

  // Where a point lies against a zone (CheckInZone).
  static constexpr int kOutside = 0;
  static constexpr int kInside = 1;   // strictly between the ends
  static constexpr int kAtStart = 2;  // on the start
  static constexpr int kAtEnd = 3;    // on the end

  CReinfZone() = default;
  CReinfZone(const CDPoint& from, const CDPoint& to, int zoneRegion, int zoneStratum)
      : start(from), end(to), region(zoneRegion), stratum(zoneStratum) {}

  // Every member back to its default.
  void Init() { *this = CReinfZone(); }
  void Copy(const CReinfZone& other) { *this = other; }
  // The unit resistances unset, the zone resistances 0.
  void ClearRes();

  CDPoint GetPointMid() const;
  // kAtStart when p lies within 1e-13 of the start, kAtEnd when within 1e-13 of the end, kInside
  // when p lies strictly between the ends by more than 1e-13 on both sides, else kOutside.
  // "Between" is measured in x; in y for a vertical zone, whose ends share one x.
  int CheckInZone(const CDPoint& p) const;
  // The length for a zone of that part, else 0.
  double GetL1Length() const { return region == kRegionL1 ? length : 0.0; }
  double GetL2Length() const { return region == kRegionL2 ? length : 0.0; }

  // Record: start x, start y, end x, end y (doubles), region and stratum (int32). Load reads the
  // whole record before it changes these fields; the others stay.
  void Store(Archive& ar) const;
  void Load(Archive& ar);

  // ---- Resistances (force calculation) ----
  //
  // Units: tau and tauCa in N/mm2, diameters in mm; N/mm2 times mm is kN/m, so the unit
  // resistances are kN per metre of bar without a conversion factor, and a zone resistance
  // (length in m times that) is in kN. A result with an unset input stays unset.

  // Plain bar: tpa from the ground-grout pull-out over the drilling diameter D; L1tpa or L2tpa.
  // Nothing for a zone without stratum; the stratum index must lie in the strata (else
  // std::out_of_range).
  void Calc(const CDPolyArray& strata, double fs, double drillD);
  // Rock bolt: tpa as for the plain bar, and tca from the bar-grout bond over the bar diameter d;
  // the four zone resistances of the zone's part.
  void CalcRockbolt(const CDPolyArray& strata, double fs, double drillD, double tauCa, double d);
  // tpa = round(tau * pi * D / Fs).
  void Calc_tpa(double fs, double drillD);
  // tca = round(tauCa * 1000 * pi * (d / 1000)).
  void Calc_tca(double tauCa, double d);
  // round(length * tpa) (tca) for a zone of that part, else 0.
  void Calc_L1tpa();
  void Calc_L2tpa();
  void Calc_L1tca();
  void Calc_L2tca();

  CDPoint start;  // nearer the head
  CDPoint end;
  int region = kRegionL1;
  int stratum = -1;          // index of the stratum polygon that holds the midpoint; -1 none
  double length = kNoValue;  // m
  double tau = kNoValue;     // unit pull-out resistance of the stratum, N/mm2
  double tpa = kNoValue;     // allowable pull-out resistance per metre of bar, kN/m
  double tca = kNoValue;     // allowable bond resistance per metre of bar, kN/m
  double L1tpa = 0.0;        // zone resistances, kN
  double L2tpa = 0.0;
  double L1tca = 0.0;
  double L2tca = 0.0;

 private:
  // Takes tau from the zone's stratum; false for a zone without stratum.
  bool TakeStratumTau(const CDPolyArray& strata);
};
