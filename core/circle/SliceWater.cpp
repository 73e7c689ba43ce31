// CSlice: the water levels, the pore-water force, the soil of the layers and the loads.

#include <algorithm>
#include <cmath>
#include <cstddef>

#include "core/base/CoreConfig.h"
#include "core/circle/Slice.h"
#include "core/circle/SliceBoundaries.h"
#include "core/circle/SliceMeasures.h"
#include "core/circle/SliceSoil.h"
#include "core/geometry/DPolyArray.h"
#include "core/model/Danmen.h"
#include "core/section/SpLoad.h"
#include "core/section/SpStratum.h"

namespace {

using slice_boundaries::WithoutFlag;
using slice_soil::IsSet;
using slice_soil::SameOnBothSides;

// How far a level may lie below a line and still count as at or above it.
constexpr double kLevelTolerance = 1e-5;
// The impermeable layer bounds the upper water only where it lies this much above the base.
constexpr double kAboveBase = 1e-13;
// Strength types that no stratum gives: the peak and the residual strength.
constexpr int kStrengthPeak = 7;
constexpr int kStrengthResidual = 8;
// The pore-pressure methods of the section.
constexpr int kPoreFromLength = 0;
constexpr int kPoreFromWidth = 1;

double Round(double x, int code) { return CCoreConfig::GetRound(x, code); }

// The first entry of a boundary list as a level; unset for an empty list.
tagDEVY FirstLevel(const std::vector<tagDEVY>& list) {
  return list.empty() ? tagDEVY{} : WithoutFlag(list.front());
}

tagDEVY Horizontal(double y) { return tagDEVY{y, y, nullptr, 0}; }

const CSpStratumBlock* AsBlock(const CDPoly* shape) {
  return shape != nullptr && shape->WhatKind() == kKindStratumBlock
             ? static_cast<const CSpStratumBlock*>(shape)
             : nullptr;
}

// The mean height of the strip between an upper and a lower line over the width (areas code 111,
// the result code 181), with the segment area added when asked.
double MeanDepth(double upperL, double upperR, double lowerL, double lowerR, double width,
                 double segment, const CalcRounding& rounding) {
  const double strip =
      rounding.Round(((upperL - lowerL) + (upperR - lowerR)) * width * 0.5, kRoundCodeArea) +
      segment;
  return rounding.Round(strip / width, kRoundCodeDepth);
}

}  // namespace

// ---- Water levels ----

void CSlice::SetWaterLev(const std::vector<tagDEVY>& list) { SetWaterLevel(FirstLevel(list)); }

void CSlice::SetUpperWaterLev(const std::vector<tagDEVY>& list) {
  SetUpperWaterLevel(FirstLevel(list));
}

void CSlice::SetImperLayerLev(const std::vector<tagDEVY>& list) {
  SetImperLayerLevel(FirstLevel(list));
}

void CSlice::SetWaterLevStWL(const std::vector<tagDEVY>& list, double y, bool keep) {
  water_ = FirstLevel(list);
  const bool horizontal =
      water_.leftY <= y + kLevelTolerance && water_.rightY <= y + kLevelTolerance;
  if (horizontal) water_ = Horizontal(y);
  const bool inserted = InsertLevel(water_);
  auto& b = boundaries_;
  if (inserted) {
    if (keep || horizontal || !(b.back().leftY <= y && b.back().rightY <= y)) return;
    // The lowest boundary at or above y, which is not the base.
    for (std::size_t j = b.size() - 1; j-- > 0;) {
      if (b[j].leftY >= y && b[j].rightY >= y) {
        b.insert(b.begin() + static_cast<std::ptrdiff_t>(j) + 1,
                 tagDEVY{y, y, b[j].shape, b[j].flag});
        return;
      }
    }
    return;
  }
  if (!b.empty() && (b.front().leftY < y || b.front().rightY < y) &&
      AsBlock(b.front().shape) != nullptr) {
    water_ = Horizontal(y);
    if (keep) b.insert(b.begin(), water_);
  }
}

void CSlice::SetWaterLevCrWL(const std::vector<tagDEVY>& list, const CDPoint& point) {
  water_ = FirstLevel(list);
  const bool beyond =
      point.flag != 0 ? point.x <= xLeft_ + kLevelTolerance : xRight_ <= point.x + kLevelTolerance;
  if (beyond) water_.leftY = water_.rightY = point.y;
  InsertLevel(water_);
}

bool CSlice::IsExtendedWater() const { return IsSet(water_) && water_.shape == nullptr; }

bool CSlice::IsSuibotu() const {
  if (!IsSet(water_) || boundaries_.empty()) return false;
  const tagDEVY& top = boundaries_.front();
  return water_.leftY >= top.leftY - kLevelTolerance &&
         water_.rightY >= top.rightY - kLevelTolerance;
}

bool CSlice::IsMoist(int i) const {
  const tagDEVY* d = GetIndexDEVY(i);
  if (d == nullptr) return false;
  if (d->shape != nullptr && d->shape->WhatKind() == kKindWater) return false;
  return LiesAboveWater(*d);
}

double CSlice::GetDepthWtoS() const {
  const CalcRounding rounding = CCoreConfig::GetCalcRounding();
  return DepthWtoS(Width(rounding), KoArea(rounding), rounding);
}

double CSlice::DepthWtoS(double width, double segmentArea, const CalcRounding& rounding) const {
  const tagDEVY* base = GetLastDEVY();
  if (!IsSet(water_) || base == nullptr) return -1;
  if (water_.leftY < base->leftY - kLevelTolerance ||
      water_.rightY < base->rightY - kLevelTolerance) {
    return -1;
  }
  if (width == 0) return -1;
  return MeanDepth(water_.leftY, water_.rightY, base->leftY, base->rightY, width, segmentArea,
                   rounding);
}

double CSlice::GetDepthUnsaturated() const {
  const CalcRounding rounding = CCoreConfig::GetCalcRounding();
  return DepthUnsaturated(Width(rounding), KoArea(rounding), rounding);
}

double CSlice::DepthUnsaturated(double width, double segmentArea,
                                const CalcRounding& rounding) const {
  const tagDEVY* base = GetLastDEVY();
  if ((!IsSet(upper_) && !IsSet(imper_)) || base == nullptr) return -1;
  const bool layerLeft = imper_.leftY != kNoValue && imper_.leftY > base->leftY + kAboveBase;
  const bool layerRight = imper_.rightY != kNoValue && imper_.rightY > base->rightY + kAboveBase;
  const double lowerL = layerLeft ? imper_.leftY : base->leftY;
  const double lowerR = layerRight ? imper_.rightY : base->rightY;
  if (upper_.leftY < lowerL - kLevelTolerance || upper_.rightY < lowerR - kLevelTolerance) {
    return -1;
  }
  if (width == 0) return -1;
  const double segment = !layerLeft && !layerRight ? segmentArea : 0.0;
  return MeanDepth(upper_.leftY, upper_.rightY, lowerL, lowerR, width, segment, rounding);
}

double CSlice::GetU() const {
  const Measures measures = GetMeasures();
  return PoreForce(PoreHead(measures), GetBottomAngle(), measures);
}

double CSlice::PoreHead(const Measures& measures) const {
  const double width = measures.width;
  if (width == 0 || section_ == nullptr) return -1;
  const CalcRounding& rounding = measures.rounding;
  const double below = DepthWtoS(width, measures.segmentArea, rounding);
  const double above = DepthUnsaturated(width, measures.segmentArea, rounding);
  if (below < 0 && above < 0) return -1;
  return std::max(below, 0.0) + std::max(above, 0.0);
}

double CSlice::PoreForce(double head, double bottomAngle, const Measures& measures) const {
  if (head < 0) return 0;
  const double gammaW = section_->GetGammaW();
  double u = 0;
  switch (section_->GetPoreMethod()) {
    case kPoreFromLength:
      u = measures.length * gammaW * head;
      break;
    case kPoreFromWidth:
      u = measures.width * gammaW * head * std::cos(bottomAngle);
      break;
    default:
      break;
  }
  return measures.rounding.Round(u, kRoundCodePoreForce);
}

double CSlice::GetTansuiArea() const {
  if (!IsSuibotu() || GetDEVYCount() < 2) return 0;
  const tagDEVY& first = boundaries_[0];
  const tagDEVY& second = boundaries_[1];
  return Round(((first.leftY - second.leftY) + (first.rightY - second.rightY)) * 0.5 * GetWidth(),
               kRoundCodeArea);
}

void CSlice::SetRemainArea(double a, double b) {
  remainArea_ = 0;
  if (a <= b || IsSuibotu() || boundaries_.empty()) return;
  const tagDEVY& top = boundaries_.front();
  const tagDEVY& base = boundaries_.back();
  const double hL = std::max(0.0, std::min(a, top.leftY) - std::max(b, base.leftY));
  const double hR = std::max(0.0, std::min(a, top.rightY) - std::max(b, base.rightY));
  remainArea_ = (hL + hR) * GetWidth() * 0.5;
  if (b <= base.leftY && b <= base.rightY) remainArea_ += GetKoArea();
}

// ---- Soil ----

const CSpStratumBlock* CSlice::SearchDevyStratum(int i) const {
  for (int k = std::min(i, GetDEVYCount() - 1); k >= 0; --k) {
    if (const CSpStratumBlock* block = AsBlock(boundaries_[static_cast<std::size_t>(k)].shape)) {
      return block;
    }
  }
  return nullptr;
}

std::string CSlice::GetTisoName(int i) const {
  if (i < 0 || i >= GetDEVYCount()) return "-";
  const CSpStratumBlock* block = SearchDevyStratum(i);
  return block == nullptr ? "水" : block->GetPropPtr()->GetName();
}

double CSlice::GetGamma(int i, int kind) const {
  const int n = GetDEVYCount();
  if (i < 0 || i > n - 1) return 0;
  const int layer = i == n - 1 ? n - 2 : i;
  if (layer < 0) return 0;
  const CSpStratumBlock* block = SearchDevyStratum(layer - 1);
  return LayerGamma(layer, block, kind);
}

bool CSlice::GetCFOfType(int type, double& c, double& phi) const {
  const CSpStratumBlock* block = SearchDevyStratum(GetDEVYCount() - 2);
  if (block == nullptr) {
    c = phi = kNoValue;
    return false;
  }
  const tagSATURATE& soil = *block->GetPropStructure();
  if (type == kStrengthStratum) {
    c = soil.c;
    phi = soil.phi;
  } else if (type == kStrengthStratumPhi) {
    c = 0;
    phi = soil.phi;
  }
  return true;
}

bool CSlice::GetCF(double& c, double& phi) const { return GetCFOfType(strengthType_, c, phi); }

bool CSlice::GetCF_peak(double& c, double& phi) const { return GetCFOfType(kStrengthPeak, c, phi); }

bool CSlice::GetCF_res(double& c, double& phi) const {
  return GetCFOfType(kStrengthResidual, c, phi);
}

bool CSlice::IsGyaku() const {
  if (strengthType_ == kStrengthUnknown || strengthType_ == kStrengthUnknownNoLength) return true;
  const CSpStratumBlock* block = SearchDevyStratum(GetDEVYCount() - 2);
  return block != nullptr && block->GetExtraInt() != 0;
}

bool CSlice::IsHang(int i) const {
  if (i < 1) return false;
  const tagDEVY* d = GetIndexDEVY(i);
  return d != nullptr && d->flag != 0;
}

void CSlice::SetHang(CDPolyArray* strata) {
  if (strata == nullptr) {
    for (tagDEVY& d : boundaries_) d.flag = 0;
    return;
  }
  HangLayers([strata](const CDPoint& p) { return strata->FindPolygon(&p); });
}

int CSlice::SearchCrackDevy() const {
  for (int i = 1; i + 1 < GetDEVYCount(); ++i) {
    if (IsCrackDevy(i)) return i;
  }
  return -1;
}

bool CSlice::IsCrackDevy(int i) const {
  const tagDEVY* d = GetIndexDEVY(i);
  return d != nullptr && d->shape != nullptr && AsBlock(d->shape) == nullptr;
}

// ---- Loads ----

void CSlice::CalcKajuSeibun(bool direction) {
  constexpr int kFirst = tagRESULTSLICE::kLoadNormal;
  constexpr int kParts = tagRESULTSLICE::kLoadComponents;
  for (int k = kFirst; k < tagRESULTSLICE::kLoadQuake + kParts; ++k) result_[k] = 0;
  const CDPolyArray* loads = section_ == nullptr ? nullptr : section_->GetAryLoad();
  // Most sections carry no loads: their slices return without the loop's set-up.
  if (loads != nullptr && loads->GetSize() > 0) AddLoads(*loads, direction);
}

void CSlice::AddLoads(const CDPolyArray& loads, bool direction) {
  constexpr int kParts = tagRESULTSLICE::kLoadComponents;
  for (int i = 0; i < loads.GetSize(); ++i) {
    const auto* load = dynamic_cast<const CSpLoad*>(loads.GetAt(i));
    tagLOAD q;
    if (load == nullptr ||
        !load->CalcQ(direction, xLeft_, xRight_, GetWidth(), result_[tagRESULTSLICE::kAlpha], q)) {
      continue;
    }
    const double parts[kParts] = {q.horizontal, q.vertical1, q.vertical2, q.normal, q.tangential};
    for (int p = 0; p < kParts; ++p) {
      if (load->GetNormalCaseOn() != 0) result_[tagRESULTSLICE::kLoadNormal + p] += parts[p];
      if (load->GetQuakeCaseOn() != 0) result_[tagRESULTSLICE::kLoadQuake + p] += parts[p];
    }
  }
}
