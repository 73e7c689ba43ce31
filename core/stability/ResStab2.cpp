#include "core/stability/ResStab2.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <numeric>
#include <utility>

#include "core/base/ExchangeSort.h"
#include "core/base/Utility.h"
#include "core/stability/FsSearch.h"
#include "platform/Archive.h"

namespace {

// ---- The exchange sort ----

int SortCase(int item) { return item >= 10 && item <= 12 ? 1 : 0; }

void LiteralExchangeSort(std::vector<CMltPoint*>& list, const tagMLTSORT& sort) {
  const int resultCase = SortCase(sort.item);
  for (std::size_t i = 0; i + 1 < list.size(); ++i) {
    for (std::size_t j = i + 1; j < list.size(); ++j) {
      if (list[i]->IsSortValue(*list[j], sort.order, sort.item, resultCase)) {
        std::swap(list[i], list[j]);
      }
    }
  }
}

// One number per point such that the point at i is exchanged with the point at j exactly when
// key[j] < key[i] (strict) or key[j] <= key[i] (not strict): descending orders negate the value.
// False when the item's rule cannot be put that way (mixed kinds, values that do not compare).
bool SortKeys(const std::vector<CMltPoint*>& list, const tagMLTSORT& sort,
              std::vector<double>& keys, bool& strict) {
  const int kind = list.front()->WhatKind();
  for (const CMltPoint* p : list) {
    if (p->WhatKind() != kind) return false;
  }
  const bool ascending = sort.order == 0;
  keys.resize(list.size());
  if (sort.item == 2 || sort.item == 3) {
    // The block number, ties broken by the id: a strict order both ways.
    const auto blockAndId = [&sort](const CMltPoint* p) {
      return std::pair(sort.item == 2 ? p->startBlock : p->endBlock, p->id);
    };
    std::vector<std::size_t> byKey(list.size());
    std::iota(byKey.begin(), byKey.end(), 0);
    std::sort(byKey.begin(), byKey.end(), [&](std::size_t a, std::size_t b) {
      return blockAndId(list[a]) < blockAndId(list[b]);
    });
    double rank = 0;
    for (std::size_t r = 0; r < byKey.size(); ++r) {
      if (r > 0 && blockAndId(list[byKey[r]]) != blockAndId(list[byKey[r - 1]])) ++rank;
      keys[byKey[r]] = ascending ? rank : -rank;
    }
    strict = true;
    return true;
  }
  // An item without a value to compare never exchanges (a descending sort of equal values
  // would); all keys equal under a strict rule give that.
  const CMltPoint& first = *list.front();
  if (!std::isnan(first.GetKeyValue(sort.item, SortCase(sort.item))) &&
      !first.IsSortValue(first, 1, sort.item, SortCase(sort.item))) {
    keys.assign(list.size(), 0);
    strict = true;
    return true;
  }
  for (std::size_t i = 0; i < list.size(); ++i) {
    const double v = list[i]->GetKeyValue(sort.item, SortCase(sort.item));
    if (std::isnan(v)) return false;
    keys[i] = ascending ? v : -v;
  }
  strict = ascending;
  return true;
}

// Whether the item's value is a result: not the unset value, and for a safety factor not the
// marker of a search that did not converge, which the rounding of stored results may leave a
// hair off its exact value.
bool IsResultValue(int item, double v) {
  if (v == kNoValue || !std::isfinite(v)) return false;
  constexpr double kMarkerTolerance = 5e-4;
  return !((item == 9 || item == 12) && v >= CFsSearch::kOverLimit - kMarkerTolerance);
}

template <class Better>
double Extreme(const std::vector<CMltPoint*>& list, int item, double start, Better better) {
  if (!(item == 0 || item == 1 || item == 2 || item == 3 || item == 9 || item == 12)) {
    return kNoValue;
  }
  double found = start;
  for (const CMltPoint* p : list) {
    const double v = p->GetKeyValue(item);
    if (IsResultValue(item, v) && better(v, found)) found = v;
  }
  return found == start ? kNoValue : found;
}

// The unit of a graph range of width w.
double HorizontalUnit(double w) {
  return w < 10 ? 1 : w < 50 ? 5 : w < 100 ? 10 : w < 500 ? 50 : 100;
}
double VerticalUnit(double w) {
  return w < 0.05 ? 0.001 : w < 0.5 ? 0.01 : w < 5 ? 0.1 : w < 50 ? 1 : w < 500 ? 10 : 100;
}

// Widens a range whose ends are equal, picks the pitch by the unit and puts the ends on it.
void ScaleRange(double& lo, double& hi, double& pitch, bool horizontal) {
  if (std::fabs(hi - lo) < 1e-13) {
    lo -= 0.5 * lo;
    hi += 0.5 * hi;
  }
  const double w = hi - lo;
  pitch = RoundOff(horizontal ? w / 6 : w / 5, horizontal ? HorizontalUnit(w) : VerticalUnit(w));
  if (std::fabs(pitch) < 1e-13) pitch = horizontal ? 1.0 : 0.001;
  const double p = pitch > 0 ? pitch : 1.0;
  if (hi != 0 && hi != kNoValue) hi = std::ceil(hi / p) * p;
  if (lo != 0 && lo != kNoValue) lo = std::floor(lo / p) * p;
}

}  // namespace

void ExchangeSort(std::vector<CMltPoint*>& list, const tagMLTSORT& sort) {
  if (list.size() < 2) return;
  std::vector<double> keys;
  bool strict = true;
  if (!SortKeys(list, sort, keys, strict)) {
    LiteralExchangeSort(list, sort);
    return;
  }
  ExchangeSortByKeys(keys, list, strict);
}

// ---- CResStab2 ----

CResStab2::CResStab2() { Init(); }
CResStab2::~CResStab2() = default;

void CResStab2::Init() {
  key_.Init();
  blockCount = 0;
  resultCount = 0;
  sort_ = tagMLTSORT{};
  for (auto& r : blockResults) r.Init();
  slideTopArc = {1, 0};
}

void CResStab2::DeleteResultAll() {
  blockCount = 0;
  resultCount = 0;
  points_.reset();
  current_ = nullptr;
  serial_.clear();
  for (auto& r : blockResults) r.Init();
  adopted.fill(kNoValue);
}

void CResStab2::SetResult(std::unique_ptr<CMltBlocks> points) {
  serial_.clear();
  current_ = nullptr;
  points_ = std::move(points);
}

int CResStab2::SerialResult(std::vector<CMltPoint*>& list, const CMltKey* key) {
  list.clear();
  if (!points_) return 0;
  return points_->SerialCopy(list, key ? *key : key_);
}

void CResStab2::SortSerial(const tagMLTSORT& sort) {
  ExchangeSort(serial_, sort);
  // A pair without the key's value (not calculated, or not converged to any value) says nothing
  // about the order the user asked for: it goes after every pair with one, whichever the order.
  const int resultCase = SortCase(sort.item);
  std::stable_partition(serial_.begin(), serial_.end(), [&](const CMltPoint* p) {
    const double value = p->GetKeyValue(sort.item, resultCase);
    return value != kNoValue && !std::isnan(value);
  });
}

CMltPoint* CResStab2::GetSelectRepPt(int resultCase) const {
  if (resultCase != 0 && resultCase != 1) return nullptr;
  const auto it = std::find_if(serial_.begin(), serial_.end(), [resultCase](const CMltPoint* p) {
    return (resultCase == 0 ? p->typicalN : p->typicalQ) == 1;
  });
  return it == serial_.end() ? nullptr : *it;
}

double CResStab2::GetMinFs(int resultCase) const {
  double found = kNoValue;
  for (const CMltPoint* p : serial_) {
    const double fs = resultCase == 1 ? p->fsQ : p->fsN;
    if (fs != kNoValue && (found == kNoValue || fs < found)) found = fs;
  }
  return found;
}

double CResStab2::GetMaxC() const {
  double found = kNoValue;
  for (const CMltPoint* p : serial_) {
    if (const auto* g = dynamic_cast<const CMltPointGyaku*>(p); g && g->c > found) found = g->c;
  }
  return found;
}

double CResStab2::GetGraphFsMin(const std::vector<CMltPoint*>& list, int item) {
  return Extreme(list, item, 9e32, [](double v, double f) { return v < f; });
}

double CResStab2::GetGraphFsMax(const std::vector<CMltPoint*>& list, int item) {
  return Extreme(list, item, kNoValue, [](double v, double f) { return v > f; });
}

CMltPoint* CResStab2::GetAtBlockRes(int start, int end) const {
  const auto it = std::find_if(serial_.begin(), serial_.end(), [=](const CMltPoint* p) {
    return p->startBlock == start && p->endBlock == end;
  });
  return it == serial_.end() ? nullptr : *it;
}

void CResStab2::SetGraphFsMaxMin(int resultCase) {
  if (resultCase < -1 || resultCase > 1) return;
  std::vector<CMltPoint*> all;
  if (points_) points_->SerialCopyNoKey(all);
  for (int k = 0; k < 2; ++k) {
    if (resultCase != -1 && resultCase != k) continue;
    graphFs.ResetIndex(k);
    auto& axes = graphFs.axes[static_cast<std::size_t>(k)];
    const double lo = GetGraphFsMin(all, axes.itemY);
    const double hi = GetGraphFsMax(all, axes.itemY);
    double minX = 0;
    double maxX = blockCount + 1;
    ScaleRange(minX, maxX, axes.pitchX, true);
    axes.minX = minX;
    axes.maxX = maxX;
    // Without any value the range keeps its defaults rather than a reversed empty range.
    if (lo == kNoValue || hi == kNoValue) continue;
    double minY = lo;
    double maxY = hi;
    ScaleRange(minY, maxY, axes.pitchY, false);
    axes.minY = minY;
    axes.maxY = maxY;
  }
}

bool CResStab2::IsSlideTopArc(int resultCase) const {
  return resultCase >= 0 && resultCase <= 1 &&
         slideTopArc[static_cast<std::size_t>(resultCase)] == 1;
}

void CResStab2::Store(Archive& ar, int version) const {
  key_.Store(ar, version);
  ar << static_cast<std::int32_t>(blockCount) << static_cast<std::int32_t>(resultCount)
     << static_cast<std::int32_t>(sort_.item) << static_cast<std::int32_t>(sort_.order);
  for (const auto& r : blockResults) r.Store(ar, version);
  ar << static_cast<std::int32_t>(points_ ? 1 : 0);
  if (points_) points_->Store(ar);
  if (version > 2) {
    for (const double v : adopted) ar << v;
  }
  if (version > 3) graphFs.Store(ar, version);
}

void CResStab2::Load(Archive& ar, int version) {
  CMltKey key = key_;
  key.Load(ar, version);
  std::int32_t blocks = 0;
  std::int32_t results = 0;
  tagMLTSORT sort;
  ar >> blocks >> results >> sort.item >> sort.order;
  std::array<tagBLOCKRESULTSLICE, 2> slices = blockResults;
  for (auto& r : slices) r.Load(ar, version);
  std::int32_t hasPoints = 0;
  ar >> hasPoints;
  std::unique_ptr<CMltBlocks> points;
  if (hasPoints != 0) {
    points = std::make_unique<CMltBlocks>();
    points->Load(ar);
  }
  std::array<double, 4> values = adopted;
  if (version > 2) {
    for (double& v : values) ar >> v;
  }
  CDrawResGraphSetMltFs graph = graphFs;
  if (version > 3) graph.Load(ar, version);

  key_ = key;
  blockCount = blocks;
  resultCount = results;
  sort_ = sort;
  blockResults = slices;
  if (points) points->SetTypicalPoint(&key_);
  SetResult(std::move(points));
  adopted = values;
  graphFs = graph;
}

void CResStab2::Copy(const CResStab2& other) {
  std::unique_ptr<CMltBlocks> points;
  if (other.points_) {
    points = std::make_unique<CMltBlocks>();
    points->CopyData(*other.points_);
    points->SetTypicalPoint(&key_);
  }
  key_ = other.key_;
  blockCount = other.blockCount;
  resultCount = other.resultCount;
  sort_ = other.sort_;
  blockResults = other.blockResults;
  slideTopArc = other.slideTopArc;
  adopted = other.adopted;
  graphFs = other.graphFs;
  SetResult(std::move(points));
  SerialResult();
}
