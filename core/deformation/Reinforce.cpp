// CReinforce: parameters, geometry, zones, record and drawing of one rock bolt.

#include "core/deformation/Reinforce.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <numbers>
#include <stdexcept>
#include <string>

#include "core/base/Constants.h"
#include "core/geometry/DPoly.h"
#include "core/geometry/DPolyArray.h"
#include "core/geometry/ViewInfo.h"
#include "core/section/SpSlideWork.h"
#include "platform/Archive.h"
#include "platform/Canvas.h"

namespace {

// The first document version whose bar record holds the extra length.
constexpr int kExtraLengthVersion = 7;

constexpr double kCoincide = 1e-13;
// Cut points of the bar closer than this to the one before are merged.
constexpr double kSameCut = 1e-5;

const Color kL1Color{0x8040FF};
const Color kL2Color{0xFF4040};
constexpr int kStratumCutRadius = 3;
constexpr int kZoneEndRadius = 5;
// The sets whose zones DrawZone shows.
constexpr int kDrawnSets = 3;

int ReadInt(Archive& ar) {
  std::int32_t v = 0;
  ar >> v;
  return v;
}

// The bounding square of a circle, held in the int range.
DevRect CircleAround(DevPoint c, int radius) {
  const auto clamp = [](std::int64_t v) {
    return static_cast<int>(std::clamp<std::int64_t>(v, INT_MIN, INT_MAX));
  };
  return {clamp(std::int64_t{c.x} - radius), clamp(std::int64_t{c.y} - radius),
          clamp(std::int64_t{c.x} + radius), clamp(std::int64_t{c.y} + radius)};
}

void DrawSegment(Canvas& canvas, const CViewInfo& view, const CDPoint& from, const CDPoint& to) {
  canvas.MoveTo(view.LPtoDP(from));
  canvas.LineTo(view.LPtoDP(to));
}

}  // namespace

// ---- Parameters ----

void CReinforce::Copy(const CReinforce& other) {
  if (&other == this) return;
  number = other.number;
  side = other.side;
  stdBar = other.stdBar;
  head = other.head;
  sh = other.sh;
  alpha = other.alpha;
  length = other.length;
  extraLength = other.extraLength;
  results_ = other.results_;
  // Zones made for the former parameters would no longer fit them.
  RemoveAll();
}

bool CReinforce::IsSame(const CReinforce& other) const {
  return number == other.number && IsSameUseCale(other);
}

bool CReinforce::IsSameUseCale(const CReinforce& other) const {
  return side == other.side && stdBar == other.stdBar && sh == other.sh && alpha == other.alpha &&
         length == other.length && extraLength == other.extraLength && head == other.head;
}

bool CReinforce::IsValid() const {
  return number != -1 && (side == kSideMinusX || side == kSidePlusX) && head.IsValid() &&
         stdBar != -1 && IsAllSet(sh, alpha, length, extraLength);
}

void CReinforce::SetParam(int barSide, int barStdBar, const CDPoint& barHead, double barSh,
                          double barAlpha, double barLength, double barExtra) {
  side = barSide;
  stdBar = barStdBar;
  head = barHead;
  sh = barSh;
  alpha = barAlpha;
  length = barLength;
  extraLength = barExtra;
}

// ---- Geometry ----

double CReinforce::GetAlphaAngRad() const {
  const double a = DegToRad(alpha);
  return side == kSideMinusX ? a + std::numbers::pi : -a;
}

CDPoint CReinforce::GetPointTail() const {
  return head + GetUnitVector(GetAlphaAngRad()) * GetInsL();
}

CDPoint CReinforce::GetPointExt() const {
  if (extraLength > 0) return head - GetUnitVector(GetAlphaAngRad()) * extraLength;
  return head;
}

double CReinforce::GetInsL() const { return extraLength > 0 ? length - extraLength : length; }

bool CReinforce::IsYotyoZero() const { return std::fabs(extraLength) < kCoincide; }

bool CReinforce::HasGeometry() const { return head.IsValid() && IsAllSet(alpha, length); }

// ---- Zones and results ----

CReinforce::Result& CReinforce::GetResult(int set) {
  if (set < 0 || set >= kSetCount)
    throw std::out_of_range("CReinforce: no result set " + std::to_string(set));
  return results_[static_cast<std::size_t>(set)];
}

const CReinforce::Result& CReinforce::GetResult(int set) const {
  return const_cast<CReinforce*>(this)->GetResult(set);
}

std::vector<CReinfZone>& CReinforce::Zones(int set) {
  if (set < 0 || set >= kSetCount)
    throw std::out_of_range("CReinforce: no result set " + std::to_string(set));
  return zones_[static_cast<std::size_t>(set)];
}

const std::vector<CReinfZone>& CReinforce::Zones(int set) const {
  return const_cast<CReinforce*>(this)->Zones(set);
}

const CReinfZone& CReinforce::GetZone(int set, int i) const {
  const std::vector<CReinfZone>& zones = Zones(set);
  if (i < 0 || i >= static_cast<int>(zones.size()))
    throw std::out_of_range("CReinforce: no zone " + std::to_string(i));
  return zones[static_cast<std::size_t>(i)];
}

int CReinforce::GetZoneSize(int set) const { return static_cast<int>(Zones(set).size()); }

const CReinfZone& CReinforce::GetZoneStratum(int i) const {
  if (i < 0 || i >= GetZoneStratumSize())
    throw std::out_of_range("CReinforce: no stratum zone " + std::to_string(i));
  return stratumZones_[static_cast<std::size_t>(i)];
}

void CReinforce::ClearRes(int set) {
  GetResult(set) = Result();
  Zones(set).clear();
}

void CReinforce::RemoveAll() {
  stratumZones_.clear();
  for (std::vector<CReinfZone>& zones : zones_) zones.clear();
}

void CReinforce::RemoveAllZone(int set) { Zones(set).clear(); }

int CReinforce::CreateZoneStratum(CDPolyArray& strata) {
  stratumZones_.clear();
  if (!HasGeometry()) return 0;
  CDPoly bar;
  bar.Add(head);
  bar.Add(GetPointTail());
  for (int i = 0; i < strata.GetSize(); ++i) bar.InsCrossPoint(strata.GetAt(i), false);
  bar.DelSamePoint(kSameCut);
  for (int i = 0; i + 1 < bar.GetSize(); ++i) {
    CReinfZone zone(*bar.GetAt(i), *bar.GetAt(i + 1), CReinfZone::kRegionL1, -1);
    const CDPoint mid = zone.GetPointMid();
    if (strata.FindPolygon(&mid) != nullptr) zone.stratum = strata.GetActiveShapeID();
    stratumZones_.push_back(zone);
  }
  return GetZoneStratumSize();
}

bool CReinforce::Calc_Cross(const CSpSlideWork& slip, CDPoint& cross) const {
  const CDPoint tail = GetPointTail();
  CDPoly crossings;
  if (!slip.GetCrossPointArray(&head, &tail, &crossings, 0)) return false;
  // The crossing farthest along the bar: the largest x into +x, the smallest into -x.
  const double direction = side == kSideMinusX ? -1.0 : 1.0;
  cross = *crossings.GetAt(0);
  for (int i = 1; i < crossings.GetSize(); ++i) {
    const CDPoint& c = *crossings.GetAt(i);
    if ((c.x - cross.x) * direction > kCoincide) cross = c;
  }
  return true;
}

int CReinforce::CreateZone(int set, const CSpSlideWork& slip) {
  std::vector<CReinfZone>& zones = Zones(set);
  Result& result = GetResult(set);
  zones.clear();
  result.H = kNoValue;
  result.H2 = kNoValue;
  if (!HasGeometry()) return 0;
  const double insL = GetInsL();
  const CDPoint tail = GetPointTail();
  // Whether the slip surface lies above a point of the bar: the part there is anchored. A surface
  // that does not reach the point counts as lying above it.
  const auto slipAbove = [&slip](const CDPoint& p) {
    const double ys = slip.GetY(p.x);
    return ys == kNoValue || ys - p.y > kCoincide;
  };

  CDPoint cross;
  if (!Calc_Cross(slip, cross)) {
    const bool anchored = slipAbove((head + tail) / 2);
    const int region = anchored ? CReinfZone::kRegionL2 : CReinfZone::kRegionL1;
    result.H = anchored ? 0.0 : insL;
    result.H2 = anchored ? insL : 0.0;
    for (CReinfZone zone : stratumZones_) {
      zone.region = region;
      zones.push_back(zone);
    }
    Calc_ZoneL(set);
    return GetZoneSize(set);
  }

  // k: the part of the bar beyond the crossing; the part before it is the other one.
  const bool beyondAnchored = slipAbove((cross + tail) / 2);
  const int k = beyondAnchored ? CReinfZone::kRegionL2 : CReinfZone::kRegionL1;
  const int before = 1 - k;
  result.H = RoundReinf(beyondAnchored ? Hypot(head, cross) : Hypot(cross, tail));
  result.H2 = RoundReinf(insL - result.H);

  int region = before;
  for (CReinfZone zone : stratumZones_) {
    switch (zone.CheckInZone(cross)) {
      case CReinfZone::kInside: {
        CReinfZone after = zone;
        zone.end = cross;
        zone.region = before;
        after.start = cross;
        after.region = k;
        zones.push_back(zone);
        zones.push_back(after);
        region = k;
        continue;
      }
      case CReinfZone::kAtEnd:
        // The crossing lies on a stratum boundary: the zone stays whole.
        zone.region = region;
        zones.push_back(zone);
        region = k;
        continue;
      default:
        // Also a zone that starts at the crossing: it keeps the part that is current.
        zone.region = region;
        zones.push_back(zone);
    }
  }
  Calc_ZoneL(set);
  return GetZoneSize(set);
}

void CReinforce::Calc_ZoneL(int set) {
  const Result& result = GetResult(set);
  for (const int part : {CReinfZone::kRegionL1, CReinfZone::kRegionL2}) {
    std::vector<CReinfZone*> partZones;
    for (CReinfZone& zone : Zones(set)) {
      if (zone.region == part) partZones.push_back(&zone);
    }
    if (partZones.empty()) continue;
    double others = 0.0;
    for (std::size_t i = 0; i + 1 < partZones.size(); ++i) {
      CReinfZone& zone = *partZones[i];
      zone.length = RoundReinf(GetDistance(zone.start, zone.end));
      others += zone.length;
    }
    const double total = part == CReinfZone::kRegionL1 ? result.H : result.H2;
    partZones.back()->length = RoundReinf(total - others);
  }
}

int CReinforce::FindZoneSlideID(int set) const {
  const std::vector<CReinfZone>& zones = Zones(set);
  for (std::size_t i = 1; i < zones.size(); ++i) {
    if (zones[i].region != zones[i - 1].region) return static_cast<int>(i);
  }
  return -1;
}

bool CReinforce::FindZoneSlidePoint(int set, CDPoint* point) const {
  const int i = FindZoneSlideID(set);
  if (i < 0) return false;
  *point = GetZone(set, i).start;
  return true;
}

// ---- Drawing ----

void CReinforce::Draw(CViewInfo* view, bool dotted) const {
  if (!HasGeometry()) return;
  Canvas& canvas = *view->dc;
  const ScopedPen pen(canvas,
                      Pen{dotted ? PenStyle::Dot : PenStyle::Solid, active ? 3 : 1, kBlack});
  DrawSegment(canvas, *view, GetPointExt(), GetPointTail());
}

void CReinforce::DrawZone(CViewInfo* view) const {
  Canvas& canvas = *view->dc;
  const ScopedCanvasState restore(canvas);
  canvas.SelectBrush(Brush{BrushStyle::Null, kBlack});
  canvas.SelectPen(Pen{PenStyle::Solid, 1, kBlack});
  for (const CReinfZone& zone : stratumZones_) {
    canvas.Ellipse(CircleAround(view->LPtoDP(zone.end), kStratumCutRadius));
  }
  for (int set = 0; set < kDrawnSets; ++set) {
    for (const CReinfZone& zone : Zones(set)) {
      const bool anchored = zone.region == CReinfZone::kRegionL2;
      canvas.SelectPen(Pen{PenStyle::Solid, 2, anchored ? kL2Color : kL1Color});
      canvas.Ellipse(CircleAround(view->LPtoDP(zone.end), kZoneEndRadius));
      DrawSegment(canvas, *view, zone.start, zone.end);
    }
  }
}

// ---- Record ----

void CReinforce::Store(Archive& ar, int version) const {
  ar << static_cast<std::int32_t>(number) << static_cast<std::int32_t>(side)
     << static_cast<std::int32_t>(stdBar) << head.x << head.y << sh << alpha << length;
  if (version >= kExtraLengthVersion) ar << extraLength;
}

void CReinforce::Load(Archive& ar, int version) {
  const int readNumber = ReadInt(ar);
  const int readSide = ReadInt(ar);
  const int readStdBar = ReadInt(ar);
  CDPoint readHead;
  double readSh = kNoValue;
  double readAlpha = kNoValue;
  double readLength = kNoValue;
  double readExtra = kNoValue;
  ar >> readHead.x >> readHead.y >> readSh >> readAlpha >> readLength;
  if (version >= kExtraLengthVersion) ar >> readExtra;
  number = readNumber;
  SetParam(readSide, readStdBar, readHead, readSh, readAlpha, readLength, readExtra);
}
