#include "core/circle/RepPoint.h"

#include <cstdint>
#include <cstdio>
#include <iterator>
#include <stdexcept>

#include "core/circle/KeptSurfaces.h"
#include "core/circle/RepKey.h"
#include "core/section/SpSlide.h"
#include "core/section/SpSlideWork.h"
#include "platform/Archive.h"

namespace {

constexpr double kEps = 1e-9;
// Kinds of GetKeyValue: 0 and 1 the marks, 3 centre x, 4 centre y, 5 radius, 6 depth, 7 to 12 S,
// T, sixth value, Fs, Fs after and Pr of a case, 13 to 18 the same, 19 to 24 values 8 to 13, 25
// to 30 values 17 to 22.
constexpr int kKindFs = 10;
constexpr int kKindFsAfter = 11;
constexpr int kKindPr = 12;
constexpr int kKindKyPeak = 10;  // value numbers
constexpr int kKindKyDrop = 11;
// The marks' record changed from one int to two at this version.
constexpr int kTwoMarksVersion = 13;
// Children of children of ... : a record nested deeper is damaged.
constexpr int kMaxNesting = 8;
// The smallest record of a child: identifier, one mark, four doubles, twelve stability values,
// twelve displacement values, the child count.
constexpr std::size_t kMinRecord = 4 + 4 + 4 * 8 + 12 * 8 + 12 * 8 + 4;

bool IsSetValue(double v) { return v != kNoValue; }

std::int32_t GetInt(Archive& ar) {
  std::int32_t v = 0;
  ar >> v;
  return v;
}

}  // namespace

// ---- Children ----

const CRepChildren::Child& CRepChildren::at(std::size_t i) const {
  if (i >= count_) throw std::out_of_range("child index");
  return begin()[i];
}

void CRepChildren::push_back(Child child) {
  const bool growsInPlace =
      list_ != nullptr && list_.use_count() == 1 && first_ + count_ == list_->size();
  if (!growsInPlace) {
    auto own = std::make_shared<List>();
    own->reserve(count_ + std::size_t{1});
    own->assign(begin(), end());
    list_ = std::move(own);
    first_ = 0;
  }
  list_->push_back(std::move(child));
  ++count_;
}

void CRepChildren::clear() {
  list_.reset();
  first_ = 0;
  count_ = 0;
}

void CRepChildren::Append(const std::shared_ptr<List>& shared, std::vector<Child>& children) {
  if (!empty()) {
    for (Child& child : children) push_back(std::move(child));
  } else if (!children.empty()) {
    list_ = shared;
    first_ = static_cast<std::uint32_t>(shared->size());
    count_ = static_cast<std::uint32_t>(children.size());
    shared->insert(shared->end(), std::make_move_iterator(children.begin()),
                   std::make_move_iterator(children.end()));
  }
  children.clear();
}

void CRepPoint::Init() {
  id_ = -1;
  marks_ = {0, 0};
  centre_ = CDPoint();
  radius_ = depth_ = kNoValue;
  ClearRes();
  RemoveAll();
}

void CRepPoint::ClearRes() {
  for (auto& pair : stab_) pair = {kNoValue, kNoValue};
  displacement_.fill(kNoValue);
  surface_.reset();
  kept_.reset();
  keptIndex_ = -1;
}

int CRepPoint::AddChild(std::shared_ptr<CRepPoint> child) {
  children_.push_back(std::move(child));
  return GetChildSize() - 1;
}

void CRepPoint::AddChildren(const std::shared_ptr<CRepChildren::List>& shared,
                            std::vector<std::shared_ptr<CRepPoint>>& children) {
  children_.Append(shared, children);
}

double CRepPoint::GetStab(Quantity q, int quakeCase) const {
  return stab_.at(static_cast<std::size_t>(q)).at(static_cast<std::size_t>(quakeCase));
}

void CRepPoint::SetStab(Quantity q, int quakeCase, double v) {
  stab_.at(static_cast<std::size_t>(q)).at(static_cast<std::size_t>(quakeCase)) = v;
}

double CRepPoint::GetValue(int n) const {
  if (n < kFirstDisplacement) return GetStab(QuantityOfValue(n), n % 2);
  return displacement_.at(static_cast<std::size_t>(n - kFirstDisplacement));
}

void CRepPoint::SetValue(int n, double v) {
  if (n < kFirstDisplacement) {
    SetStab(QuantityOfValue(n), n % 2, v);
  } else {
    displacement_.at(static_cast<std::size_t>(n - kFirstDisplacement)) = v;
  }
}

std::shared_ptr<const CSpSlideWork> CRepPoint::GetSlideWork() const {
  if (surface_ != nullptr) return surface_;
  return kept_ != nullptr ? kept_->Make(keptIndex_) : nullptr;
}

void CRepPoint::SetSlideWork(std::shared_ptr<const CSpSlideWork> surface) {
  surface_ = std::move(surface);
  kept_.reset();
  keptIndex_ = -1;
}

void CRepPoint::SetKeptSurface(std::shared_ptr<const CKeptSurfaces> store, int n) {
  surface_.reset();
  kept_ = std::move(store);
  keptIndex_ = n;
}

std::unique_ptr<CSpSlideWork> CRepPoint::CopyOfSurface() const {
  if (kept_ != nullptr) return kept_->Make(keptIndex_);
  if (surface_ == nullptr) return nullptr;
  auto copy = std::make_unique<CSpSlideWork>();
  copy->CopySlideWork(surface_.get());
  return copy;
}

void CRepPoint::CopyValue(const CRepPoint& other) {
  centre_ = other.centre_;
  radius_ = other.radius_;
  depth_ = other.depth_;
  marks_ = other.marks_;
  id_ = other.id_;
  surface_ = other.surface_;
  kept_ = other.kept_;
  keptIndex_ = other.keptIndex_;
  stab_ = other.stab_;
  for (int n = kFirstDisplacement; n <= kLastKept; ++n) SetValue(n, other.GetValue(n));
}

void CRepPoint::CopyData(const CRepPoint& other) {
  RemoveAll();
  CopyValue(other);
  if (other.children_.empty()) {
    if (other.HasSlideWork()) SetSlideWork(other.CopyOfSurface());
    return;
  }
  for (const auto& child : other.children_) {
    auto copy = std::make_shared<CRepPoint>();
    copy->CopyData(*child);
    children_.push_back(std::move(copy));
  }
}

// ---- Validity ----

bool CRepPoint::DisplacementInvalid(const CRepKey& key, double displacement, double peak,
                                    double drop) const {
  const tagREPKEY& k = key.Data();
  return (k.displacementOn != 0 && displacement < k.displacementLimit + kEps) ||
         (k.kyPeakOn != 0 && peak > k.kyPeakLimit - kEps) ||
         (k.kyDropOn != 0 && drop > k.kyDropLimit - kEps);
}

bool CRepPoint::CommonInvalid(const CRepKey& key) const {
  const tagREPKEY& k = key.Data();
  const auto abnormal = [&](int c) {
    return k.abnormalOff != 0 && (GetStab(kFs, c) < kEps || GetStab(kT, c) < kEps);
  };
  if (k.normalGroup != 0 && ((k.tOn != 0 && GetStab(kT, 0) < k.tLimit + kEps) || abnormal(0))) {
    return true;
  }
  if (k.seismicGroup != 0 &&
      ((k.tSeisOn != 0 && GetStab(kT, 1) < k.tSeisLimit + kEps) || abnormal(1))) {
    return true;
  }
  if (k.depthOn != 0 && depth_ < k.depthLimit + kEps) return true;
  return k.overhangOff != 0 && IsOverhung();
}

bool CRepPoint::IsValid(const CRepKey& key) const {
  if (marks_[0] != 0 || marks_[1] != 0) return true;
  const tagREPKEY& k = key.Data();
  if (k.normalGroup != 0 && ((k.fsOn != 0 && GetValue(0) > k.fsLimit - kEps) ||
                             (k.prOn != 0 && GetValue(4) < k.prLimit + kEps))) {
    return false;
  }
  if (k.seismicGroup != 0 && ((k.fsSeisOn != 0 && GetValue(1) > k.fsSeisLimit - kEps) ||
                              (k.prSeisOn != 0 && GetValue(5) < k.prSeisLimit + kEps))) {
    return false;
  }
  if (k.displacementGroup != 0) {
    if (DisplacementInvalid(key, GetValue(8), GetValue(10), GetValue(11))) return false;
    if (k.dashOff != 0) {
      for (const int n : {10, 11}) {
        if (IsSetValue(GetValue(n)) && GetValue(n) < kEps) return false;
      }
    }
  }
  return !CommonInvalid(key);
}

bool CRepPoint::IsValid(const CRepKeyHokyo& key) const {
  if (marks_[0] != 0 || marks_[1] != 0) return true;
  const tagREPKEY& k = key.Data();
  const tagREPKEYHOKYO& h = key.Hokyo();
  if (k.normalGroup != 0 && ((k.fsOn != 0 && GetValue(0) > k.fsLimit - kEps) ||
                             (h.fsOn != 0 && GetValue(2) > h.fsLimit - kEps))) {
    return false;
  }
  if (k.seismicGroup != 0 && ((k.fsSeisOn != 0 && GetValue(1) > k.fsSeisLimit - kEps) ||
                              (h.fsSeisOn != 0 && GetValue(3) > h.fsSeisLimit - kEps))) {
    return false;
  }
  if (k.displacementGroup != 0) {
    if (DisplacementInvalid(key, GetValue(8), GetValue(12), GetValue(13)) ||
        (h.displacementOn != 0 && GetValue(9) < h.displacementLimit + kEps)) {
      return false;
    }
    if (k.dashOff != 0) {
      for (const int n : {10, 11, 12, 13}) {
        if (IsSetValue(GetValue(n)) && GetValue(n) < kEps) return false;
      }
    }
  }
  return !CommonInvalid(key);
}

bool CRepPoint::IsOverhung() const {
  if (kept_ != nullptr) return kept_->IsOverhung(keptIndex_);
  return surface_ != nullptr && IsOverhungSurface(*surface_);
}

bool CRepPoint::IsKyMinus(int drop) const {
  return GetValue(10) < 0 || (drop != 0 && GetValue(11) < 0);
}

bool CRepPoint::IsKyMinusAfter(int drop) const {
  return GetValue(12) < 0 || (drop != 0 && GetValue(13) < 0);
}

// ---- Values by result kind ----

double CRepPoint::GetKeyValue(int kind, int quakeCase) const {
  const int c = quakeCase == 1 ? 1 : 0;
  if (kind >= 13 && kind <= 18) kind -= 6;
  switch (kind) {
    case 0:
    case 1:
      return marks_[static_cast<std::size_t>(kind)];
    case 3:
      return centre_.x;
    case 4:
      return centre_.y;
    case 5:
      return radius_;
    case 6:
      return depth_;
    case 7:
      return GetStab(kS, c);
    case 8:
      return GetStab(kT, c);
    case 9:
      return GetStab(kSixth, c);
    case kKindFs:
      return GetStab(kFs, c);
    case kKindFsAfter:
      return GetStab(kFsAfter, c);
    case kKindPr:
      return GetStab(kPr, c);
    default:
      break;
  }
  if (kind >= 19 && kind <= 24) return GetValue(kind - 11);
  if (kind >= 25 && kind <= 30) return GetValue(kind - 8);
  return 0;
}

double CRepPoint::GetKeyValue(int kind) const {
  return GetKeyValue(kind, kind >= 13 && kind <= 18 ? 1 : 0);
}

int CRepPoint::BestChild(const CRepKey& key, int kind, int quakeCase, bool smallest, double low,
                         double high) const {
  int best = -1;
  double bestValue = 0;
  for (int i = 0; i < GetChildSize(); ++i) {
    const CRepPoint& child = *children_.at(static_cast<std::size_t>(i));
    if (!child.IsValid(key)) continue;
    const double v = child.GetKeyValue(kind, quakeCase);
    if (!(low < v && v < high)) continue;
    if (best < 0 || (smallest ? v < bestValue : v > bestValue)) {
      best = i;
      bestValue = v;
    }
  }
  return best;
}

double CRepPoint::GetFsMin(const CRepKey& key) const {
  const int best = BestChild(key, kKindFs, 0, true, 0, 100);
  return best < 0 ? kNoValue : GetChild(best).GetKeyValue(kKindFs, 0);
}

void CRepPoint::GetShowResFsPrID(const CRepKey& key, int& fs, int& fsSeis, int& pr,
                                 int& prSeis) const {
  fs = BestChild(key, kKindFs, 0, true, 0, 100);
  pr = BestChild(key, kKindPr, 0, false, -10000, 10000);
  const bool seismic = key.Data().seismicGroup != 0;
  fsSeis = seismic ? BestChild(key, kKindFs, 1, true, 0, 100) : -1;
  prSeis = seismic ? BestChild(key, kKindPr, 1, false, -10000, 10000) : -1;
}

void CRepPoint::GetShowResKyID(const CRepKey& key, int& peak, int& drop) const {
  // Ky at peak and at immediate drop are values 10 and 11, result kinds 21 and 22.
  peak = BestChild(key, kKindKyPeak + 11, 0, true, kNoValue, -kNoValue);
  drop = BestChild(key, kKindKyDrop + 11, 0, true, kNoValue, -kNoValue);
}

void CRepPoint::SetTypicalPoint(const CRepKey& key) {
  const tagREPKEY& k = key.Data();
  const bool largest = k.contourKind == 1;
  const int kind = largest ? kKindPr : (k.fsType == 11 ? kKindFsAfter : kKindFs);
  const int quakeCase = k.seismicGroup != 0 && k.contourCase == 1 ? 1 : 0;
  const auto* hokyo = key.WhatKind() == 2 ? dynamic_cast<const CRepKeyHokyo*>(&key) : nullptr;
  const CRepPoint* best = nullptr;
  double bestValue = largest ? kNoValue : -kNoValue;
  for (const auto& child : children_) {
    if (!(hokyo != nullptr ? child->IsValid(*hokyo) : child->IsValid(key))) continue;
    const double v = child->GetKeyValue(kind, quakeCase);
    if (largest ? v > bestValue : v < bestValue) {
      best = child.get();
      bestValue = v;
    }
  }
  if (best == nullptr) {
    ClearRes();
  } else {
    CopyValue(*best);
  }
}

double CRepPoint::GetContourValue(const CRepKey& key) const {
  const tagREPKEY& k = key.Data();
  const int c = k.contourCase == 1 ? 1 : 0;
  if (k.contourKind == 1) {
    const double pr = GetStab(kPr, c);
    return -10000 < pr && pr < 10000 ? pr : kNoValue;
  }
  if (k.contourKind == 0) {
    const double fs = GetStab(k.fsType == 11 ? kFsAfter : kFs, c);
    return 0 < fs && fs < 100 ? fs : kNoValue;
  }
  return kNoValue;
}

std::string CRepPoint::GetContourStr(const CRepKey& key) const {
  const double v = GetContourValue(key);
  if (v == kNoValue) return {};
  char text[64];
  std::snprintf(text, sizeof text, key.Data().contourKind == 1 ? "%.1lf" : "%.3lf", v);
  return text;
}

void CRepPoint::Draw(CViewInfo* view, bool bold, std::optional<Color> colour) const {
  const std::shared_ptr<const CSpSlideWork> surface = GetSlideWork();
  if (surface == nullptr) return;
  const std::unique_ptr<CSpSlide> line = surface->TransSpSlide(-1);
  if (colour.has_value()) {
    line->DrawWithColor(view, bold, *colour);
  } else {
    line->Draw(view, bold ? 1 : 0, 0, -1);
  }
}

// ---- Record ----

void CRepPoint::Store(Archive& ar, int version) const {
  ar << static_cast<std::int32_t>(id_);
  if (version >= kTwoMarksVersion) {
    ar << static_cast<std::int32_t>(marks_[0]) << static_cast<std::int32_t>(marks_[1]);
  } else {
    ar << static_cast<std::int32_t>(marks_[0]);
  }
  ar << centre_.x << centre_.y << radius_ << depth_;
  for (const int c : {0, 1}) {
    for (int q = 0; q < kQuantities; ++q) ar << GetStab(static_cast<Quantity>(q), c);
  }
  for (int n = kFirstDisplacement; n <= kLastKept; ++n) ar << GetValue(n);
  ar << static_cast<std::int32_t>(GetChildSize());
  if (!children_.empty()) {
    for (const auto& child : children_) child->Store(ar, version);
    return;
  }
  const std::shared_ptr<const CSpSlideWork> surface = GetSlideWork();
  ar << static_cast<std::int32_t>(surface != nullptr ? 1 : 0);
  if (surface != nullptr) surface->Store(ar, version);
}

void CRepPoint::Load(Archive& ar, int version) { LoadRecord(ar, version, 0); }

void CRepPoint::LoadRecord(Archive& ar, int version, int depth) {
  if (depth > kMaxNesting) {
    throw ArchiveException(ArchiveException::Cause::BadFormat, "result points nested too deep");
  }
  CRepPoint read;
  read.id_ = GetInt(ar);
  read.marks_[0] = GetInt(ar);
  read.marks_[1] = version >= kTwoMarksVersion ? GetInt(ar) : read.marks_[0];
  double x = 0;
  double y = 0;
  ar >> x >> y >> read.radius_ >> read.depth_;
  read.centre_ = CDPoint(x, y);
  for (const int c : {0, 1}) {
    for (int q = 0; q < kQuantities; ++q) {
      double v = 0;
      ar >> v;
      read.SetStab(static_cast<Quantity>(q), c, v);
    }
  }
  for (int n = kFirstDisplacement; n <= kLastKept; ++n) {
    double v = 0;
    ar >> v;
    read.SetValue(n, v);
  }
  const std::int32_t count = GetInt(ar);
  if (count < 0) throw ArchiveException(ArchiveException::Cause::BadFormat, "child count");
  ar.RequireItems(static_cast<std::uint64_t>(count), kMinRecord);
  for (std::int32_t i = 0; i < count; ++i) {
    auto child = std::make_shared<CRepPoint>();
    child->LoadRecord(ar, version, depth + 1);
    read.children_.push_back(std::move(child));
  }
  if (count == 0) {
    const std::int32_t hasSurface = GetInt(ar);
    if (hasSurface != 0 && hasSurface != 1) {
      throw ArchiveException(ArchiveException::Cause::BadFormat, "slip surface switch");
    }
    if (hasSurface == 1) {
      auto surface = std::make_unique<CSpSlideWork>();
      surface->Load(ar, version);
      read.surface_ = std::move(surface);
    }
  }
  id_ = read.id_;
  marks_ = read.marks_;
  centre_ = read.centre_;
  radius_ = read.radius_;
  depth_ = read.depth_;
  stab_ = read.stab_;
  displacement_ = read.displacement_;
  SetSlideWork(std::move(read.surface_));
  children_ = std::move(read.children_);
}
