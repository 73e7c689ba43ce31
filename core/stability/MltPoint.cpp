#include "core/stability/MltPoint.h"

#include <algorithm>
#include <cstdio>
#include <stdexcept>

#include "core/base/ArchiveCount.h"
#include "platform/Archive.h"

namespace {

std::size_t Slot(int i, std::size_t size) {
  if (i < 0 || static_cast<std::size_t>(i) >= size) {
    throw std::out_of_range("multi-plane result index outside the list");
  }
  return static_cast<std::size_t>(i);
}

// The smallest point record: five ints and six doubles.
constexpr std::size_t kPointRecordSize = 5 * 4 + 6 * 8;

}  // namespace

// ---- CMltPoint ----

std::unique_ptr<CMltPoint> CMltPoint::CreateMltPoint(int kind) {
  if (kind == kKindForward) return std::make_unique<CMltPoint>();
  if (kind == kKindGyaku) return std::make_unique<CMltPointGyaku>();
  return nullptr;
}

void CMltPoint::Init() { CopyBase(CMltPoint()); }

void CMltPoint::ClearRes() { sN = sQ = tN = tQ = fsN = fsQ = kNoValue; }

void CMltPoint::StoreBase(Archive& ar) const {
  ar << id << typicalN << typicalQ << startBlock << endBlock;
  ar << sN << tN << fsN << sQ << tQ << fsQ;
}

CMltPoint CMltPoint::ReadBase(Archive& ar) {
  CMltPoint p;
  ar >> p.id >> p.typicalN >> p.typicalQ >> p.startBlock >> p.endBlock;
  ar >> p.sN >> p.tN >> p.fsN >> p.sQ >> p.tQ >> p.fsQ;
  return p;
}

void CMltPoint::Store(Archive& ar) const { StoreBase(ar); }

void CMltPoint::Load(Archive& ar) { CopyBase(ReadBase(ar)); }

void CMltPoint::CopyData(const CMltPoint& other) { CopyBase(other); }

bool CMltPoint::IsSame(const CMltPoint& other) const {
  return WhatKind() == other.WhatKind() && id == other.id && typicalN == other.typicalN &&
         typicalQ == other.typicalQ && startBlock == other.startBlock &&
         endBlock == other.endBlock && sN == other.sN && sQ == other.sQ && tN == other.tN &&
         tQ == other.tQ && fsN == other.fsN && fsQ == other.fsQ;
}

bool CMltPoint::IsValid(const CMltKey& key) const {
  if (typicalN != 0 || typicalQ != 0) return true;
  return !key.IsExceptBlock2(startBlock, endBlock);
}

double CMltPoint::GetKeyValue(int item, int resultCase) const {
  const bool seismic = resultCase != 0;
  switch (item) {
    case -1:
      return id;
    case 0:
      return typicalN;
    case 1:
      return typicalQ;
    case 2:
      return startBlock;
    case 3:
      return endBlock;
    case 7:
      return seismic ? sQ : sN;
    case 8:
      return seismic ? tQ : tN;
    case 9:
      return seismic ? fsQ : fsN;
    case 10:
      return sQ;
    case 11:
      return tQ;
    case 12:
      return fsQ;
    default:
      return 0;
  }
}

bool CMltPoint::HasSortValue(int item) const {
  return (item >= -1 && item <= 1) || (item >= 7 && item <= 12);
}

bool CMltPoint::IsSortValue(const CMltPoint& other, int order, int item, int resultCase) const {
  if (item == 2 || item == 3) {
    const int mine = item == 2 ? startBlock : endBlock;
    const int theirs = item == 2 ? other.startBlock : other.endBlock;
    if (mine == theirs) return order == 0 ? id > other.id : id < other.id;
    return order == 0 ? mine > theirs : mine < theirs;
  }
  if (!HasSortValue(item)) return false;
  return IsSortValue(GetKeyValue(item, resultCase), other.GetKeyValue(item, resultCase), order);
}

double CMltPoint::GetContourValue(const CMltKey& key) const {
  if (key.contourItem != 0) return kNoValue;
  const double fs = key.contourCase == 1 ? fsQ : fsN;
  return fs > 0 && fs < 100 ? fs : kNoValue;
}

std::string CMltPoint::GetContourStr(const CMltKey& key) const {
  const double value = GetContourValue(key);
  if (value == kNoValue) return {};
  char text[64];
  std::snprintf(text, sizeof text, key.contourItem == 0 ? "%.3lf" : "%.1lf", value);
  return text;
}

// ---- CMltPointGyaku ----

void CMltPointGyaku::Init() { *this = CMltPointGyaku(); }

void CMltPointGyaku::ClearRes() {
  CMltPoint::ClearRes();
  c0 = c = phi0 = phi = tanPhi0 = tanPhi = kNoValue;
}

void CMltPointGyaku::Store(Archive& ar) const {
  for (const double v : Values()) ar << v;
  StoreBase(ar);
}

void CMltPointGyaku::Load(Archive& ar) {
  std::array<double, 6> v{};
  for (double& x : v) ar >> x;
  const CMltPoint base = ReadBase(ar);
  CopyBase(base);
  c0 = v[0];
  c = v[1];
  phi0 = v[2];
  phi = v[3];
  tanPhi0 = v[4];
  tanPhi = v[5];
}

void CMltPointGyaku::CopyData(const CMltPoint& other) {
  CopyBase(other);
  if (const auto* gyaku = dynamic_cast<const CMltPointGyaku*>(&other)) {
    *this = *gyaku;
  }
}

bool CMltPointGyaku::IsSame(const CMltPoint& other) const {
  const auto* gyaku = dynamic_cast<const CMltPointGyaku*>(&other);
  return gyaku != nullptr && CMltPoint::IsSame(other) && Values() == gyaku->Values();
}

double CMltPointGyaku::GetKeyValue(int item, int resultCase) const {
  switch (item) {
    case 13:
      return c0;
    case 14:
      return c;
    case 15:
    case 16:
      return phi0;  // both items give phi0, as the result lists have always shown
    case 17:
      return phi;
    default:
      return CMltPoint::GetKeyValue(item, resultCase);
  }
}

bool CMltPointGyaku::HasSortValue(int item) const {
  return CMltPoint::HasSortValue(item) || (item >= 13 && item <= 17);
}

// ---- CMltKey ----

void CMltKey::Init() {
  exceptOn = 0;
  except.fill(Range{});
  pairs.fill({0, 1});
  doubles.fill(kNoValue);
  typicalMode = 0;
  normalOn = 1;
  quakeOn = 0;
  contourItem = 0;
  contourCase = 0;
  contourPitch = 0.01;
  flags = {1, 1, 1};
  levels = {0.8, 0.85, 0.9, 0.95, 1.0, 100, 75, 50, 25, 0};
  levelInts.fill(0);
  unstored = 9;
  lastInt = 0;
}

bool CMltKey::IsSame(const CMltKey& other) const {
  return exceptOn == other.exceptOn && except == other.except && pairs == other.pairs &&
         doubles == other.doubles && typicalMode == other.typicalMode &&
         normalOn == other.normalOn && quakeOn == other.quakeOn &&
         contourItem == other.contourItem && contourCase == other.contourCase &&
         contourPitch == other.contourPitch && flags == other.flags && levels == other.levels &&
         levelInts == other.levelInts && unstored == other.unstored && lastInt == other.lastInt;
}

namespace {

// Stores or loads the key's record by document version; Io is the archive's << or >>. The
// eight doubles are numbered from 0 here.
template <class Key, class Io>
void SerializeKey(Key& key, int version, Io io) {
  if (version >= 8) {
    io(key.exceptOn);
    for (auto& range : key.except) {
      io(range.from);
      io(range.to);
    }
  }
  if (version < 5) {
    io(key.pairs[0][0]);
    io(key.pairs[2][0]);
    io(key.pairs[2][1]);
    io(key.pairs[3][0]);
    io(key.doubles[1]);
    io(key.doubles[4]);
  } else {
    io(key.pairs[2][0]);
    io(key.pairs[2][1]);
    for (std::size_t k = 0; k < 2; ++k) {
      io(key.pairs[0][k]);
      io(key.pairs[3][k]);
      io(key.pairs[1][k]);
      io(key.pairs[4][k]);
      io(key.doubles[k]);
      io(key.doubles[k + 4]);
      io(key.doubles[k + 2]);
      io(key.doubles[k + 6]);
    }
  }
  io(key.typicalMode);
  io(key.normalOn);
  io(key.quakeOn);
  io(key.contourItem);
  io(key.contourCase);
  io(key.contourPitch);
  for (auto& v : key.flags) io(v);
  for (auto& v : key.levels) io(v);
  for (auto& v : key.levelInts) io(v);
  io(key.lastInt);
}

}  // namespace

void CMltKey::Store(Archive& ar, int version) const {
  SerializeKey(*this, version, [&ar](const auto& v) { ar << v; });
}

void CMltKey::Load(Archive& ar, int version) {
  CMltKey read(*this);
  SerializeKey(read, version, [&ar](auto& v) { ar >> v; });
  if (version < 5) {
    // Older keys kept these two values with another meaning; they are not carried over.
    for (const std::size_t k : {0, 1, 4, 5}) read.doubles[k] = kNoValue;
  }
  *this = read;
}

bool CMltKey::IsExceptBlock2(int start, int end) const {
  if (exceptOn == 0) return false;
  const int s = start + 1;
  const int e = end + 1;
  return std::any_of(except.begin(), except.end(), [s, e](const Range& r) {
    if (r.from == kOpen && r.to == kOpen) return false;
    return (r.from == kOpen || e >= r.from) && (r.to == kOpen || s <= r.to);
  });
}

// ---- CMltBlocks ----

void CMltBlocks::RemoveAll() {
  points_.clear();
  totalSize_ = 0;
}

void CMltBlocks::SetSize(int n) {
  RemoveAll();
  points_.resize(static_cast<std::size_t>(std::max(n, 0)));
}

CMltPoint* CMltBlocks::GetMltPoint(int i) const { return points_[Slot(i, points_.size())].get(); }

void CMltBlocks::SetMltPoint(int i, std::unique_ptr<CMltPoint> point) {
  points_[Slot(i, points_.size())] = std::move(point);
}

bool CMltBlocks::IsSucceed() const {
  return std::any_of(points_.begin(), points_.end(), [](const auto& p) { return p != nullptr; });
}

void CMltBlocks::CopyData(const CMltBlocks& other) {
  std::vector<std::unique_ptr<CMltPoint>> copies;
  copies.reserve(other.points_.size());
  for (const auto& point : other.points_) {
    std::unique_ptr<CMltPoint> copy;
    if (point) {
      copy = CMltPoint::CreateMltPoint(other.kind_);
      if (copy) copy->CopyData(*point);
    }
    copies.push_back(std::move(copy));
  }
  points_ = std::move(copies);
  key_ = other.key_;
  kind_ = other.kind_;
  totalSize_ = other.totalSize_;
  interrupted_ = other.interrupted_;
}

bool CMltBlocks::IsSame(const CMltBlocks& other) const {
  if (kind_ != other.kind_ || points_.size() != other.points_.size()) return false;
  for (std::size_t i = 0; i < points_.size(); ++i) {
    const CMltPoint* a = points_[i].get();
    const CMltPoint* b = other.points_[i].get();
    if ((a == nullptr) != (b == nullptr) || (a != nullptr && !a->IsSame(*b))) return false;
  }
  return true;
}

int CMltBlocks::SerialCopy(std::vector<CMltPoint*>& list, const CMltKey& key) {
  list.clear();
  list.reserve(points_.size());
  if (key.normalOn != 0 || key.quakeOn != 0) {
    if (key.typicalMode == 0) {
      for (const auto& point : points_) {
        if (point && point->IsValid(key)) list.push_back(point.get());
      }
    } else {
      // In typical mode only the representative points show, one per case. (Multi-plane points
      // have no show-result ids, so none passes any other way.)
      for (const auto& point : points_) {
        if (!point || (point->typicalN == 0 && point->typicalQ == 0)) continue;
        const bool taken = std::any_of(list.begin(), list.end(), [&](const CMltPoint* p) {
          return (point->typicalN != 0 && p->typicalN == point->typicalN) ||
                 (point->typicalQ != 0 && p->typicalQ == point->typicalQ);
        });
        if (!taken) list.push_back(point.get());
      }
    }
  }
  CheckOffHideRes(list);
  totalSize_ = GetSize();
  return static_cast<int>(list.size());
}

int CMltBlocks::SerialCopyNoKey(std::vector<CMltPoint*>& list) const {
  list.clear();
  for (const auto& point : points_) {
    if (point) list.push_back(point.get());
  }
  return static_cast<int>(list.size());
}

int CMltBlocks::SerialCurrentChoice(std::vector<CMltPoint*>& list) const {
  for (const auto& point : points_) {
    if (point && (point->typicalN != 0 || point->typicalQ != 0)) list.push_back(point.get());
  }
  return static_cast<int>(list.size());
}

void CMltBlocks::CheckOffHideRes(const std::vector<CMltPoint*>& list) {
  for (const auto& point : points_) {
    if (!point || (point->typicalN == 0 && point->typicalQ == 0)) continue;
    if (std::find(list.begin(), list.end(), point.get()) == list.end()) {
      point->typicalN = 0;
      point->typicalQ = 0;
    }
  }
}

void CMltBlocks::Store(Archive& ar) const {
  std::int32_t count = 0;
  for (const auto& point : points_) count += point ? 1 : 0;
  ar << static_cast<std::int32_t>(kind_) << count;
  for (const auto& point : points_) {
    if (point) point->Store(ar);
  }
}

void CMltBlocks::Load(Archive& ar) {
  std::int32_t kind = 0;
  ar >> kind;
  if (kind != CMltPoint::kKindForward && kind != CMltPoint::kKindGyaku) {
    throw ArchiveException(ArchiveException::Cause::BadFormat, "unknown multi-plane result kind");
  }
  const std::int32_t count = ReadCount(ar, kPointRecordSize, "multi-plane result count");
  std::vector<std::unique_ptr<CMltPoint>> read;
  read.reserve(static_cast<std::size_t>(count));
  for (std::int32_t i = 0; i < count; ++i) {
    auto point = CMltPoint::CreateMltPoint(kind);
    point->Load(ar);
    read.push_back(std::move(point));
  }
  points_ = std::move(read);
  kind_ = kind;
  totalSize_ = 0;
}
