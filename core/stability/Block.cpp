// CBlock: the boundary list, the record, water, strength, surcharge, cracks and names.

#include "core/stability/Block.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <utility>

#include "core/base/CoreConfig.h"
#include "core/geometry/DPolyArray.h"
#include "core/model/Danmen.h"
#include "core/section/SpLoad.h"
#include "core/section/SpStratum.h"
#include "platform/Archive.h"

namespace {

constexpr int kRoundArea = 111;
// Entries this close on both cuts coincide in the tie pass of SortDEVY ...
constexpr double kTieTolerance = 1e-6;
// ... and in DelSameDEVY.
constexpr double kSameTolerance = 1e-5;
// Layers thinner than this on both cuts are not voids.
constexpr double kThinLayer = 1e-8;
// Slack of the level and side comparisons of the water level.
constexpr double kWaterSlack = 1e-5;

bool Agree(const tagDEVY& a, const tagDEVY& b, double tol) {
  return std::fabs(a.leftY - b.leftY) <= tol && std::fabs(a.rightY - b.rightY) <= tol;
}

bool IsStratum(const CDPoly* shape) {
  return shape != nullptr && shape->WhatKind() == kKindStratumBlock;
}

bool IsSet(const tagDEVY& e) { return e.leftY != kNoValue && e.rightY != kNoValue; }

double Mean(const tagDEVY& e) { return (e.leftY + e.rightY) / 2; }

tagDEVY LevelEntry(double level) { return tagDEVY{level, level, nullptr, 0}; }

// The fixed-size part of one boundary entry in the record: two doubles and the flag byte.
constexpr std::size_t kEntryRecordSize = 2 * sizeof(double) + 1;

void StoreEntry(Archive& ar, const tagDEVY& e) { ar << e.leftY << e.rightY << e.flag; }

tagDEVY LoadEntry(Archive& ar) {
  tagDEVY e;
  ar >> e.leftY >> e.rightY >> e.flag;
  return e;
}

}  // namespace

CBlock::CBlock(const CBlock& other)
    : leftX_(other.leftX_),
      rightX_(other.rightX_),
      devy_(other.devy_),
      water_(other.water_),
      remainArea_(other.remainArea_),
      section_(other.section_),
      baseC_(other.baseC_),
      basePhi_(other.basePhi_),
      strengthType_(other.strengthType_),
      secondStrengthCode_(other.secondStrengthCode_),
      arc_(other.arc_ ? other.arc_->Copy() : nullptr),
      result_(other.result_) {}

CBlock& CBlock::operator=(const CBlock& other) {
  if (this != &other) *this = CBlock(other);
  return *this;
}

void CBlock::Init() {
  water_ = tagDEVY{};
  remainArea_ = 0;
  baseC_ = kNoValue;
  basePhi_ = kNoValue;
  strengthType_ = 0;
  leftX_ = kNoValue;
  rightX_ = kNoValue;
  section_ = nullptr;
  arc_.reset();
}

// ---- Record ----

void CBlock::Store(Archive& ar, int version) const {
  ar << leftX_ << rightX_ << static_cast<std::int32_t>(devy_.size());
  for (const tagDEVY& e : devy_) StoreEntry(ar, e);
  StoreEntry(ar, water_);
  ar << remainArea_ << baseC_ << basePhi_ << static_cast<std::int32_t>(strengthType_)
     << static_cast<std::int32_t>(secondStrengthCode_);
  result_.Store(ar, version);
}

void CBlock::Load(Archive& ar, int version) {
  double left = 0;
  double right = 0;
  std::int32_t count = 0;
  ar >> left >> right >> count;
  if (count < 0) {
    throw ArchiveException(ArchiveException::Cause::BadFormat,
                           "block record with a negative boundary count");
  }
  ar.RequireItems(static_cast<std::uint64_t>(count), kEntryRecordSize);
  std::vector<tagDEVY> entries;
  entries.reserve(static_cast<std::size_t>(count));
  for (std::int32_t i = 0; i < count; ++i) entries.push_back(LoadEntry(ar));
  const tagDEVY water = LoadEntry(ar);
  double remain = 0;
  double c = 0;
  double phi = 0;
  std::int32_t type = 0;
  std::int32_t secondCode = 0;
  ar >> remain >> c >> phi >> type >> secondCode;
  tagBLOCKRESULTSLICE result = result_;
  result.Load(ar, version);

  leftX_ = left;
  rightX_ = right;
  devy_ = std::move(entries);
  water_ = water;
  remainArea_ = remain;
  baseC_ = c;
  basePhi_ = phi;
  strengthType_ = type;
  secondStrengthCode_ = secondCode;
  arc_.reset();
  result_ = result;
}

void CBlock::SetLeftRightX(double left, double right) {
  leftX_ = left;
  rightX_ = right;
}

// ---- The boundary list ----

void CBlock::AddDEVY(const tagDEVY& entry) { devy_.push_back(entry); }

void CBlock::AppendDEVYArray(const std::vector<tagDEVY>& entries) {
  devy_.insert(devy_.end(), entries.begin(), entries.end());
}

const tagDEVY* CBlock::GetIndexDEVY(int i) const {
  return i >= 0 && i < GetDEVYsize() ? &devy_[static_cast<std::size_t>(i)] : nullptr;
}

const tagDEVY* CBlock::GetLastDEVY() const { return devy_.empty() ? nullptr : &devy_.back(); }

void CBlock::SwapDEVY(int a, int b) {
  tagDEVY& p = devy_.at(static_cast<std::size_t>(a));
  tagDEVY& q = devy_.at(static_cast<std::size_t>(b));
  std::swap(p.leftY, q.leftY);
  std::swap(p.rightY, q.rightY);
  std::swap(p.shape, q.shape);
}

void CBlock::SortDEVY() {
  const int n = GetDEVYsize();
  // Selection pass: an entry below moves up when it lies higher by the larger of its two
  // differences.
  for (int i = 0; i < n; ++i) {
    for (int k = i + 1; k < n; ++k) {
      const double dl = devy_[k].leftY - devy_[i].leftY;
      const double dr = devy_[k].rightY - devy_[i].rightY;
      const double d = std::fabs(dl) > std::fabs(dr) ? dl : dr;
      if (d > 0) SwapDEVY(i, k);
    }
  }
  // Tie pass: of two coincident entries, the one that continues the shape above goes first.
  for (int i = 0; i + 1 < n; ++i) {
    const CDPoly* above = i == 0 ? nullptr : devy_[i - 1].shape;
    if (Agree(devy_[i], devy_[i + 1], kTieTolerance) && devy_[i].shape != above) {
      SwapDEVY(i, i + 1);
    }
  }
}

void CBlock::DelSameDEVY() {
  const CDPoly* continued = nullptr;
  int i = 0;
  while (i + 1 < GetDEVYsize()) {
    bool removed = false;
    if (Agree(devy_[i], devy_[i + 1], kSameTolerance)) {
      const bool lastPair = i + 2 == GetDEVYsize();
      if (devy_[i].shape == continued || (arc_ == nullptr && lastPair)) {
        devy_.erase(devy_.begin() + i + 1);
        removed = true;
      }
    }
    if (i + 1 < GetDEVYsize()) continued = devy_[i + 1].shape;
    if (!removed) ++i;
  }
}

const CSpStratumBlock* CBlock::SearchDevyStratum(int i) const {
  if (i < 0 || i >= GetDEVYsize()) return nullptr;
  for (int k = i; k >= 0; --k) {
    if (IsStratum(devy_[k].shape)) return dynamic_cast<const CSpStratumBlock*>(devy_[k].shape);
  }
  return nullptr;
}

void CBlock::SetDEVMatShape(const tagDEVY& entry) {
  for (tagDEVY& e : devy_) {
    if (e.leftY == entry.leftY && e.rightY == entry.rightY) {
      e.shape = entry.shape;
      return;
    }
  }
}

void CBlock::SetDEVMatShape(const std::vector<tagDEVY>& entries) {
  for (const tagDEVY& entry : entries) SetDEVMatShape(entry);
}

void CBlock::ReplaceShape(const CDPoly* from, const CDPoly* to) {
  for (tagDEVY& e : devy_) {
    if (e.shape == from) e.shape = to;
  }
  if (water_.shape == from) water_.shape = to;
}

void CBlock::SetHang(CDPolyArray* strata) {
  // Compared with the shapes as they were before this pass: an entry that continues a shape which
  // this pass has just linked anew (such as the water level inserted under a boundary) is looked
  // up as well, so that it does not keep the stratum above.
  std::vector<const CDPoly*> before;
  for (const tagDEVY& e : devy_) before.push_back(e.shape);
  for (int i = 1; i + 1 < GetDEVYsize(); ++i) {
    tagDEVY& e = devy_[i];
    e.flag = 0;
    if (strata == nullptr || e.shape == nullptr || e.shape != before[i - 1]) continue;
    const CDPoint centroid = Juushin(i);
    if (const CDPoly* found = strata->FindPolygon(&centroid)) {
      e.shape = found;
    } else if (std::fabs(e.leftY - devy_[i - 1].leftY) > kThinLayer &&
               std::fabs(e.rightY - devy_[i - 1].rightY) > kThinLayer) {
      e.flag = 1;
    }
  }
}

bool CBlock::IsHang(int i) const { return i > 0 && i < GetDEVYsize() && devy_[i].flag != 0; }

// ---- Strength ----

void CBlock::SetBaseCF(double c, double phi) {
  baseC_ = c;
  basePhi_ = phi;
}

void CBlock::SetStrengthType(int type, int secondCode) {
  strengthType_ = type;
  secondStrengthCode_ = secondCode;
}

bool CBlock::GetCF(double& c, double& phi) const {
  const CSpStratumBlock* stratum = SearchDevyStratum(GetDEVYsize() - 2);
  if (stratum == nullptr) {
    c = kNoValue;
    phi = kNoValue;
    return false;
  }
  const tagSATURATE& soil = *stratum->GetPropStructure();
  if (strengthType_ == 2) {
    c = soil.c;
    phi = soil.phi;
  } else if (strengthType_ == 3) {
    c = 0;
    phi = soil.phi;
  }
  return true;
}

int CBlock::IsGyaku() const {
  if (strengthType_ == 0 || strengthType_ == 1) return 1;
  const CSpStratumBlock* stratum = SearchDevyStratum(GetDEVYsize() - 2);
  return stratum != nullptr && stratum->GetExtraInt() != 0 ? 1 : 0;
}

// ---- Water ----

bool CBlock::HasWaterLevel() const { return IsSet(water_); }

void CBlock::GetWaterLev(double& left, double& right) const {
  left = water_.leftY;
  right = water_.rightY;
}

void CBlock::SetWaterLev(const std::vector<tagDEVY>& water) {
  if (!water.empty() && !devy_.empty()) {
    const tagDEVY& w = water.front();
    const tagDEVY& top = devy_.front();
    const tagDEVY& base = devy_.back();
    if (IsSet(w) && (base.leftY <= w.leftY || base.rightY <= w.rightY)) {
      water_ = tagDEVY{std::min(top.leftY, std::max(base.leftY, w.leftY)),
                       std::min(top.rightY, std::max(base.rightY, w.rightY)), w.shape, 0};
      SetWaterLev2();
      return;
    }
  }
  water_ = tagDEVY{};
}

int CBlock::SetWaterLev2() {
  if (GetDEVYsize() < 2 || !HasWaterLevel()) return 0;
  const double wl = water_.leftY;
  const double wr = water_.rightY;
  const double wm = Mean(water_);
  for (int i = 0; i + 1 < GetDEVYsize(); ++i) {
    const tagDEVY& r = devy_[i];
    const tagDEVY& p = devy_[i + 1];
    const bool takes = (wl == r.leftY && wr == r.rightY) || (wl <= r.leftY && wl >= p.leftY) ||
                       (wr <= r.rightY && wr >= p.rightY) ||
                       (std::min(Mean(p), Mean(r)) < wm && wm < std::max(Mean(p), Mean(r)));
    if (!takes) continue;
    const CDPoly* shape = r.shape;
    if (i > 1 && r.shape == devy_[i - 1].shape) shape = devy_[i - 2].shape;
    devy_.insert(devy_.begin() + i + 1, tagDEVY{wl, wr, shape, 0});
    return 1;
  }
  return 0;
}

void CBlock::SetWaterMatShape(const std::vector<tagDEVY>& water) {
  if (!water.empty() && !devy_.empty()) {
    const tagDEVY& w = water.front();
    const tagDEVY& base = devy_.back();
    if (IsSet(w) && (w.leftY >= base.leftY || w.rightY >= base.rightY)) water_.shape = w.shape;
  }
  SetWaterMatShape2();
}

void CBlock::SetWaterMatShape2() {
  if (!HasWaterLevel()) return;
  for (int i = 1; i < GetDEVYsize(); ++i) {
    tagDEVY& e = devy_[i];
    if (e.leftY != water_.leftY || e.rightY != water_.rightY) continue;
    // The water level divides one stratum: the boundary belongs to the stratum above it.
    const CSpStratumBlock* stratum = SearchDevyStratum(i - 1);
    e.shape = stratum != nullptr ? stratum : devy_.front().shape;
    return;
  }
}

bool CBlock::StartFromWaterRecord(const std::vector<tagDEVY>& water) {
  water_ = tagDEVY{};
  if (water.empty() || devy_.empty()) return false;
  const tagDEVY& w = water.front();
  const tagDEVY& base = devy_.back();
  if (!IsSet(w) || !(base.leftY <= w.leftY || base.rightY <= w.rightY)) return false;
  water_ = tagDEVY{w.leftY, w.rightY, w.shape, 0};
  return true;
}

void CBlock::SetWaterLevStWL(const std::vector<tagDEVY>& water, double level) {
  const bool fromRecord = StartFromWaterRecord(water);
  if (!fromRecord && level == kNoValue) return;
  if (level != kNoValue && level >= water_.leftY - kWaterSlack &&
      level >= water_.rightY - kWaterSlack) {
    water_ = LevelEntry(level);
  }
  SetWaterLev2();
}

void CBlock::SetWaterLevCrWL(const std::vector<tagDEVY>& water, const CDPoint& point) {
  const bool fromRecord = StartFromWaterRecord(water);
  if (!fromRecord && !point.IsValid()) return;
  if (point.IsValid()) {
    const bool coversRight = point.flag != 0;
    const bool onItsSide =
        coversRight ? leftX_ >= point.x - kWaterSlack : rightX_ <= point.x + kWaterSlack;
    if (onItsSide) water_ = LevelEntry(point.y);
  }
  SetWaterLev2();
}

bool CBlock::IsExtendedWater() const { return HasWaterLevel() && water_.shape == nullptr; }

bool CBlock::IsSuibotu() const {
  if (devy_.empty()) return false;
  const tagDEVY& top = devy_.front();
  return water_.leftY - top.leftY > -kWaterSlack && water_.rightY - top.rightY > -kWaterSlack;
}

double CBlock::GetTansuiArea() const {
  if (!IsSuibotu() || GetDEVYsize() < 2) return 0;
  const double depth =
      ((devy_[0].leftY - devy_[1].leftY) + (devy_[0].rightY - devy_[1].rightY)) / 2;
  return CCoreConfig::GetRound(depth * GetWidth(), kRoundArea);
}

// ---- Surcharge ----

void CBlock::CalcKajuSeibun(bool direction) {
  for (const int k : {0, kCaseSeismic}) {
    for (int c = 0; c < tagBLOCKRESULTSLICE::kLoadComponentCount; ++c) result_.LoadSum(k, c) = 0;
  }
  const CDPolyArray* loads = section_ != nullptr ? section_->GetAryLoad() : nullptr;
  if (loads == nullptr) return;
  const double width = GetWidth();
  const double baseAngle = result_.value[tagBLOCKRESULTSLICE::kBaseAngle];
  for (int i = 0; i < loads->GetSize(); ++i) {
    const auto* load = dynamic_cast<const CSpLoad*>(loads->GetAt(i));
    tagLOAD q;
    if (load == nullptr || !load->CalcQ(direction, leftX_, rightX_, width, baseAngle, q)) continue;
    const double parts[] = {q.horizontal, q.vertical1, q.vertical2, q.normal, q.tangential};
    for (int c = 0; c < tagBLOCKRESULTSLICE::kLoadComponentCount; ++c) {
      if (load->GetNormalCaseOn() != 0) result_.LoadSum(0, c) += parts[c];
      if (load->GetQuakeCaseOn() != 0) result_.LoadSum(kCaseSeismic, c) += parts[c];
    }
  }
}

// ---- Cracks and names ----

int CBlock::SearchCrackDevy() const {
  for (int i = 1; i + 1 < GetDEVYsize(); ++i) {
    if (IsCrackDevy(i) != 0) return i;
  }
  return -1;
}

int CBlock::IsCrackDevy(int i) const {
  const tagDEVY* e = GetIndexDEVY(i);
  return e != nullptr && e->shape != nullptr && !IsStratum(e->shape) ? 1 : 0;
}

std::string CBlock::GetTisoName(int i) const {
  if (i < 0 || i + 1 > GetDEVYsize()) return "-";
  const CSpStratumBlock* stratum = SearchDevyStratum(i);
  return stratum != nullptr ? stratum->GetName() : "水";
}

// ---- Remaining area ----

void CBlock::SetRemainArea(double upper, double lower) {
  remainArea_ = 0;
  if (upper <= lower || IsSuibotu() || GetDEVYsize() < 2) return;
  const tagDEVY& top = devy_.front();
  const tagDEVY& base = devy_.back();
  const auto atOrAbove = [](const tagDEVY& a, const tagDEVY& b) {
    return a.leftY >= b.leftY && a.rightY >= b.rightY;
  };
  const bool upperOverTop = upper >= top.leftY - kWaterSlack && upper >= top.rightY - kWaterSlack;
  const tagDEVY upperCut = upperOverTop ? top : LevelEntry(upper);
  if ((HasWaterLevel() && atOrAbove(water_, upperCut)) || atOrAbove(base, upperCut) ||
      atOrAbove(LevelEntry(lower), top)) {
    return;
  }
  tagDEVY lowerCut =
      HasWaterLevel() && atOrAbove(water_, LevelEntry(lower)) ? water_ : LevelEntry(lower);
  double segment = 0;
  if (atOrAbove(base, lowerCut)) {
    lowerCut = base;
    segment = GetKoArea();
  }
  remainArea_ =
      ((upperCut.rightY - lowerCut.rightY) + (upperCut.leftY - lowerCut.leftY)) * GetWidth() * 0.5 +
      segment;
}
