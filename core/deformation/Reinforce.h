#pragma once
// One rock bolt of the arrangement: a straight bar in the cross-section with its head on the
// ground line, its side, inclination, length, extra length outside the ground and horizontal
// spacing. The bar is cut into zones by the stratum polygons (the stratum zones) and, for each of
// four result sets, by the slip surface; from those zones come the length inside the sliding mass
// (H) and the anchoring length beyond the slip surface (H2), and the forces of the bar.
//
// Zones and results are derived: neither is stored, and the zones are not copied.
//
// Members are implemented in Reinforce.cpp (parameters, geometry, zones, record, drawing) and
// ReinforceCalc.cpp (the force calculation).

#include <array>
#include <vector>

#include "core/base/Utility.h"
#include "core/deformation/ReinfZone.h"
#include "core/geometry/DPoint.h"

class Archive;
class CDPolyArray;
class CPrmReinf;
class CSpSlideWork;
class CSpWaterGroup;
class CViewInfo;

class CReinforce {
 public:
  // Result sets: 0 the normal and 1 the seismic case of the force calculation, 1 also the
  // lengths of the live program; 2 and 3 are carried and cleared only.
  static constexpr int kSetCount = 4;
  static constexpr int kSetNormal = 0;
  static constexpr int kSetSeismic = 1;
  // The direction of the bar into the ground.
  static constexpr int kSideMinusX = 0;
  static constexpr int kSidePlusX = 1;
  // Bar kinds of the reinforcement conditions.
  static constexpr int kKindPlainBar = 0;
  static constexpr int kKindRockbolt = 1;

  // The values of one result set. H and H2 come from the zones; the rest from the force
  // calculation (forces per bar in kN, Tm, Sh and Ss per metre of slope).
  struct Result {
    double H = kNoValue;      // length inside the sliding mass, m
    double H2 = kNoValue;     // anchoring length beyond the slip surface, m
    double phi = kNoValue;    // friction angle of the stratum before the crossing, degrees
    double theta = kNoValue;  // inclination of the slip surface at the crossing, degrees
    double beta = kNoValue;   // angle between the bar and the slip surface, degrees
    double sumL1tpa = 0.0;
    double sumL2tpa = 0.0;
    double sumL1tca = 0.0;
    double sumL2tca = 0.0;
    double T1pa = kNoValue;
    double T2pa = kNoValue;
    double Tsa = kNoValue;
    double Tpa = kNoValue;
    double Td = kNoValue;
    double Tm = kNoValue;
    double Sh = kNoValue;
    double Ss = kNoValue;
    friend bool operator==(const Result&, const Result&) = default;
  };

  CReinforce() = default;

  // Every member back to its default, zones and results cleared.
  void Init() { *this = CReinforce(); }
  // The parameters and every result set's values; not the zones, not the active flag.
  void Copy(const CReinforce& other);
  // Numbers equal and IsSameUseCale.
  bool IsSame(const CReinforce& other) const;
  // Side, standard bar, spacing, inclination, length and extra length equal, heads within 1e-4.
  bool IsSameUseCale(const CReinforce& other) const;
  // Numbered, side 0 or 1, head set, a standard bar, and spacing, inclination, length and extra
  // length set.
  bool IsValid() const;
  void SetParam(int barSide, int barStdBar, const CDPoint& barHead, double barSh, double barAlpha,
                double barLength, double barExtra);

  // ---- Geometry ----

  // The direction of the bar in radians: -alpha for side 1, alpha + pi for side 0.
  double GetAlphaAngRad() const;
  // The end inside the ground: the head plus the inserted length along the bar.
  CDPoint GetPointTail() const;
  // The outer end: the head moved back by a positive extra length, else the head.
  CDPoint GetPointExt() const;
  // The length inside the ground: L less a positive extra length, else L.
  double GetInsL() const;
  // The extra length is 0 (within 1e-13).
  bool IsYotyoZero() const;
  // Whether the bar can be placed: head, inclination and length set.
  bool HasGeometry() const;

  // ---- Zones and results ----
  //
  // A set outside 0..3, or a zone index outside the set's zones, throws std::out_of_range.

  Result& GetResult(int set);
  const Result& GetResult(int set) const;
  double GetH(int set) const { return GetResult(set).H; }
  double GetH2(int set) const { return GetResult(set).H2; }
  const CReinfZone& GetZone(int set, int i) const;
  int GetZoneSize(int set) const;
  const CReinfZone& GetZoneStratum(int i) const;
  int GetZoneStratumSize() const { return static_cast<int>(stratumZones_.size()); }
  // The set's values back to their defaults and its zones deleted.
  void ClearRes(int set);
  // Deletes the stratum zones and every set's zones.
  void RemoveAll();
  void RemoveAllZoneStratum() { stratumZones_.clear(); }
  void RemoveAllZone(int set);

  // Cuts the bar from the head to the tail at the stratum polygons into the stratum zones, each
  // with the polygon that holds its midpoint (moves the strata's selection as FindPolygon does).
  // Returns the zone count; none while the head, the inclination or the length is unset.
  int CreateZoneStratum(CDPolyArray& strata);
  // The set's zones: the stratum zones split at the slip surface into the part inside the sliding
  // mass (L1) and the part beyond it (L2), with H, H2 and the zone lengths. Returns the set's zone
  // count; H and H2 stay unset while the head, the inclination or the length is unset.
  int CreateZone(int set, const CSpSlideWork& slip);
  // The index of the first zone of the set in another part than the zone before it (the zone
  // that starts at the slip surface); -1 when there is none.
  int FindZoneSlideID(int set) const;
  // The start of that zone; false when there is none.
  bool FindZoneSlidePoint(int set, CDPoint* point) const;

  // ---- Drawing ----

  // The bar from the outer end to the tail in black, dotted or solid, 3 pixels wide while active.
  void Draw(CViewInfo* view, bool dotted) const;
  // A 3-pixel circle at the end of every stratum zone; for sets 0 to 2 a 5-pixel circle at the
  // end of every zone and the zone as a 2-pixel line, coloured by its part.
  void DrawZone(CViewInfo* view) const;

  // ---- Record ----

  // Number, side, standard bar (int32), head x and y, spacing, inclination, length (doubles) and,
  // from document version 7, the extra length. Load reads the whole record before it changes
  // anything; an older record leaves the extra length unset. Zones and results stay.
  void Store(Archive& ar, int version) const;
  void Load(Archive& ar, int version);

  // ---- Force calculation (ReinforceCalc.cpp) ----
  //
  // The set's forces from its zones (CreateZone first) and the conditions: 0 the normal values,
  // 1 the seismic ones; sets 2 and 3 have no condition values and so no forces. A bar whose
  // standard bar the conditions do not hold gets no results; a bar whose beta is negative or
  // unset keeps only phi, theta and beta. The water levels are not consulted.
  void Calc(int set, const CDPolyArray& strata, const CSpWaterGroup* water,
            const CSpSlideWork& slip, const CPrmReinf& prm);
  // The steps of Calc, each for one set.
  void Calc_Phi(int set, const CDPolyArray& strata);
  void Calc_Theta(int set, const CSpSlideWork& slip);
  void Calc_Beta(int set);
  void Calc_ZoneTotal(int set, const CDPolyArray& strata, double fs, double drillD);
  void Calc_ZoneTotal_Rockbolt(int set, const CDPolyArray& strata, double fs, double drillD,
                               double tauCa, double d);
  void Calc_T1pa(int set, const CPrmReinf& prm);
  void Calc_T1pa_Rockbolt(int set, const CPrmReinf& prm);
  void Calc_T2pa(int set);
  void Calc_T2pa_Rockbolt(int set);
  // Tsa in kN from As in cm2 and sigmaSa in N/mm2.
  void Calc_Tsa(int set, double as, double sigmaSa);
  void Calc_Tpa(int set, const CPrmReinf& prm);
  void Calc_Td(int set, double factor);
  void Calc_Tm(int set);
  void Calc_Sh(int set, bool clamp);
  void Calc_Ss(int set);

  int number = -1;                // No, 1..n after CReinfArrange::Normalize
  int side = kSidePlusX;          // kSidePlusX or kSideMinusX
  int stdBar = -1;                // index of the standard bar in the conditions
  CDPoint head;                   // on the ground line, m
  double sh = kNoValue;           // horizontal spacing across the section, m
  double alpha = kNoValue;        // inclination below the horizontal, degrees
  double length = kNoValue;       // total bar length L, m
  double extraLength = kNoValue;  // the part of L outside the ground, m
  bool active = false;            // highlighted; not stored, not copied

 private:
  std::vector<CReinfZone>& Zones(int set);
  const std::vector<CReinfZone>& Zones(int set) const;
  // The crossing of the bar with the slip surface farthest along the bar; false when none.
  bool Calc_Cross(const CSpSlideWork& slip, CDPoint& cross) const;
  // The lengths of the set's zones: each L1 zone but the last its own length, the last the rest
  // of H; the same for the L2 zones with H2.
  void Calc_ZoneL(int set);
  // The sum of one zone resistance over the set's zones; unset when a zone's is.
  double SumOverZones(int set, double CReinfZone::*value) const;

  std::vector<CReinfZone> stratumZones_;
  std::array<std::vector<CReinfZone>, kSetCount> zones_;
  std::array<Result, kSetCount> results_;
};
