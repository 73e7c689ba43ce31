// CSpCrack: the record, the comparison, the bottom point and the crack depth.

#include "core/section/SpCrack.h"

#include <cmath>
#include <cstdint>
#include <numbers>
#include <string>
#include <string_view>
#include <utility>

#include "core/base/Constants.h"
#include "core/geometry/RecordCheck.h"
#include "platform/Archive.h"

namespace {

bool SameCoordinates(const CDPoint& a, const CDPoint& b) { return a.x == b.x && a.y == b.y; }

}  // namespace

CSpCrack::CSpCrack() : CDPoly(kKindCrack) { SetName("亀裂"); }

std::unique_ptr<CDPoly> CSpCrack::Copy() const {
  auto copy = std::make_unique<CSpCrack>();
  copy->Copy(*this);
  return copy;
}

void CSpCrack::Copy(const CSpCrack& other) {
  SetName(other.GetName());
  fields_ = other.fields_;
}

void CSpCrack::Store(Archive& ar, int version) const {
  const Fields& f = fields_;
  ar.WriteString(GetName());
  ar << f.top.x << f.top.y << f.bottom.x << f.bottom.y << f.angle << f.depth;
  ar << static_cast<std::int32_t>(f.setting1) << static_cast<std::int32_t>(f.active);
  if (version >= kSoilValuesVersion) {
    ar << static_cast<std::int32_t>(f.setting2) << f.gamma << f.cohesion << f.phi;
  }
}

void CSpCrack::Load(Archive& ar, int version) {
  std::string name = ar.ReadString();
  // The point flags are not stored; an older record keeps the soil values' defaults.
  Fields f;
  std::int32_t setting1 = 0;
  std::int32_t active = 0;
  ar >> f.top.x >> f.top.y >> f.bottom.x >> f.bottom.y >> f.angle >> f.depth >> setting1 >> active;
  f.setting1 = setting1;
  f.active = active;
  if (version >= kSoilValuesVersion) {
    std::int32_t setting2 = 0;
    ar >> setting2 >> f.gamma >> f.cohesion >> f.phi;
    f.setting2 = setting2;
  }
  constexpr std::string_view kRecord = "crack record";
  record_check::RequirePoint(kRecord, "top", f.top);
  record_check::RequirePoint(kRecord, "bottom", f.bottom);
  for (const auto& [what, v] :
       {std::pair{"angle", f.angle}, std::pair{"depth", f.depth}, std::pair{"gamma", f.gamma},
        std::pair{"cohesion", f.cohesion}, std::pair{"phi", f.phi}}) {
    record_check::RequireFinite(kRecord, what, v);
  }
  SetName(name);
  fields_ = f;
}

bool CSpCrack::IsSame(const CDPoly* other) const {
  const auto* crack = dynamic_cast<const CSpCrack*>(other);
  if (crack == nullptr) return false;
  const Fields& a = fields_;
  const Fields& b = crack->fields_;
  return GetName() == crack->GetName() && SameCoordinates(a.top, b.top) &&
         SameCoordinates(a.bottom, b.bottom) && a.angle == b.angle && a.setting1 == b.setting1 &&
         a.active == b.active && a.setting2 == b.setting2 && a.gamma == b.gamma &&
         a.cohesion == b.cohesion && a.phi == b.phi && a.depth == b.depth;
}

void CSpCrack::Draw(CViewInfo* /*view*/, int /*bold*/, int /*from*/, int /*to*/) const {}

CDPoint CSpCrack::CalcBottomPos(int side) {
  const Fields& f = fields_;
  CDPoint& bottom = fields_.bottom;
  if (f.top.x == kNoValue || f.top.y == kNoValue || f.angle == kNoValue || f.depth == kNoValue) {
    bottom.x = kNoValue;
    bottom.y = kNoValue;
  } else if (f.angle == 90.0) {
    bottom.x = f.top.x;
    bottom.y = f.top.y - f.depth;
  } else {
    const double radians = DegToRad(f.angle);
    const double direction = side == 1 ? radians + std::numbers::pi : -radians;
    bottom.x = f.top.x + f.depth * std::cos(direction);
    bottom.y = f.top.y + f.depth * std::sin(direction);
  }
  return bottom;
}

double CSpCrack::Calc_h() const {
  const Fields& f = fields_;
  if (f.cohesion == kNoValue || f.phi == kNoValue || f.gamma == kNoValue) return kNoValue;
  // A unit weight must be positive; without one there is no depth, never an infinite one.
  if (f.gamma <= 0.0) return kNoValue;
  return RoundOff(std::tan(DegToRad(45.0 + f.phi / 2.0)) * 2.0 * f.cohesion / f.gamma, 0.001);
}
