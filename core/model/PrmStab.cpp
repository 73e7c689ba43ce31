// CPrmStab: the stability conditions, their record and the derived seismic coefficient.

#include "core/model/PrmStab.h"

#include <cmath>
#include <cstdint>

#include "core/base/CoreConfig.h"
#include "core/geometry/DPoly.h"
#include "core/geometry/ViewInfo.h"
#include "core/section/SpCrack.h"
#include "platform/Archive.h"
#include "platform/Canvas.h"

namespace {

// Fields added to the record in later document versions.
constexpr int kWaterVersion = 3;     // the water switch, computed Kh and back-analysis fields
constexpr int kDistanceVersion = 9;  // R and L, stored instead of rebuilt

constexpr int kSeismicCoefficientCode = 211;

const Color kCrackLineColor = Color::Rgb(160, 96, 0);
const Color kSlideColor = Color::Rgb(255, 0, 0);

int ReadInt(Archive& ar) {
  std::int32_t v = 0;
  ar >> v;
  return v;
}

}  // namespace

void CPrmStab::Copy(const CPrmStab& other) {
  const tagCALCCONDITION keepCond = cond;
  const bool keepEdit = editMode_;
  *this = other;
  cond = keepCond;
  editMode_ = keepEdit;
}

bool CPrmStab::IsSameUseCale(const CPrmStab& o) const {
  return leadMode == o.leadMode && normalOn == o.normalOn && quakeOn == o.quakeOn &&
         planFsNormal == o.planFsNormal && planFsQuake == o.planFsQuake && kh == o.kh &&
         slideMode == o.slideMode && waterOn == o.waterOn && gammaW == o.gammaW &&
         setting1 == o.setting1 && setting2 == o.setting2 && setting3 == o.setting3 &&
         nu0 == o.nu0 && magnitude == o.magnitude && distance == o.distance && mw == o.mw &&
         r == o.r && l == o.l && a == o.a && khCalc == o.khCalc &&
         bottomElevation == o.bottomElevation && gyakuOn == o.gyakuOn &&
         gyakuSetting1 == o.gyakuSetting1 && assumedFs == o.assumedFs &&
         gyakuSetting2 == o.gyakuSetting2;
}

void CPrmStab::Store(Archive& ar, int version) const {
  const bool current = version >= kWaterVersion;
  ar << static_cast<std::int32_t>(leadMode) << static_cast<std::int32_t>(normalOn)
     << static_cast<std::int32_t>(quakeOn);
  ar << planFsNormal << planFsQuake << kh;
  ar << static_cast<std::int32_t>(slideMode);
  if (current) ar << static_cast<std::int32_t>(waterOn);
  ar << gammaW << static_cast<std::int32_t>(setting1) << setting2
     << static_cast<std::int32_t>(setting3) << static_cast<std::int32_t>(nu0);
  ar << magnitude << distance << mw;
  if (version >= kDistanceVersion) ar << r << l;
  ar << a;
  if (current) {
    ar << khCalc;
  } else {
    ar << std::int32_t{0};
  }
  ar << bottomElevation;
  if (current) {
    ar << static_cast<std::int32_t>(gyakuOn) << static_cast<std::int32_t>(gyakuSetting1)
       << assumedFs << static_cast<std::int32_t>(gyakuSetting2);
  }
}

void CPrmStab::Load(Archive& ar, int version) {
  const bool current = version >= kWaterVersion;
  CPrmStab read;
  read.leadMode = ReadInt(ar);
  read.normalOn = ReadInt(ar);
  read.quakeOn = ReadInt(ar);
  ar >> read.planFsNormal >> read.planFsQuake >> read.kh;
  read.slideMode = ReadInt(ar);
  if (current) read.waterOn = ReadInt(ar);
  ar >> read.gammaW;
  read.setting1 = ReadInt(ar);
  ar >> read.setting2;
  read.setting3 = ReadInt(ar);
  read.nu0 = ReadInt(ar);
  ar >> read.magnitude >> read.distance >> read.mw;
  if (version >= kDistanceVersion) ar >> read.r >> read.l;
  ar >> read.a;
  if (current) {
    ar >> read.khCalc;
  } else {
    ReadInt(ar);  // a value of older documents that nothing uses
  }
  ar >> read.bottomElevation;
  if (current) {
    read.gyakuOn = ReadInt(ar);
    read.gyakuSetting1 = ReadInt(ar);
    ar >> read.assumedFs;
    read.gyakuSetting2 = ReadInt(ar);
  }
  if (version < kDistanceVersion) read.CalcKh();
  read.cond = cond;
  read.editMode_ = editMode_;
  *this = read;
}

bool CPrmStab::IsValid() const {
  if (leadMode != 0) return true;
  return (normalOn == 0 || planFsNormal != kNoValue) && (quakeOn == 0 || kh != kNoValue);
}

std::string CPrmStab::GetSikiName() const {
  return cond.formula != 0 ? "修正Fellenius法" : "Fellenius法";
}

void CPrmStab::SetCond() {
  cond.specified = slideMode;
  cond.kh = kh;
  cond.gammaW = gammaW;
  cond.water = waterOn;
  cond.extra1 = setting1;
  cond.extra2 = setting2;
  cond.extra3 = setting3;
  cond.nu0 = nu0;
  cond.plannedFs = {planFsNormal, planFsQuake};
  cond.normalOn = IsNormal() ? 1 : 0;
  cond.quakeOn = IsQuake() ? 1 : 0;
  cond.bottomElevation = bottomElevation;
}

void CPrmStab::CalcKh() {
  mw = r = l = a = khCalc = kNoValue;
  if (distance == kNoValue || magnitude == kNoValue) return;
  mw = 0.78 * magnitude + 1.08;
  r = std::sqrt(distance * distance + 7.3 * 7.3);
  l = 0.249 * mw - 1.02 - std::log10(r) - 0.00255 * r;
  a = std::pow(10.0, l);
  khCalc = CCoreConfig::GetRound(0.65 * a, kSeismicCoefficientCode);
}

bool CPrmStab::IsCalcKh() const {
  if (magnitude == kNoValue || distance == kNoValue || mw == kNoValue || a == kNoValue ||
      khCalc == kNoValue) {
    return false;
  }
  return std::fabs(khCalc - kh) < 1e-5;
}

void CPrmStab::DrawEditInfo(CViewInfo* view, const CSpCrack* crack, const CDPoly* shape,
                            const CDPoly* slide) const {
  Canvas& canvas = *view->dc;
  const ScopedCanvasState restore(canvas);
  if (crack != nullptr && shape != nullptr && crack->GetActive() != 0 && crack->GetDepth() > 0) {
    CDPoly lowered;
    lowered.CopyPoints(shape);
    lowered.ShiftShape(0.0, -crack->GetDepth());
    canvas.SelectPen(Pen{PenStyle::Dash, 1, kCrackLineColor});
    lowered.DrawSimpleShape(view);
  }
  if (slideMode == 1 && slide != nullptr) {
    canvas.SelectPen(Pen{PenStyle::Solid, 1, kSlideColor});
    slide->Draw(view, 0, -1, -1);
  }
}
