#include "core/circle/ResStab.h"

#include <cmath>
#include <cstdint>
#include <optional>
#include <utility>

#include "core/base/ExchangeSort.h"
#include "core/base/Utility.h"
#include "core/circle/RepKey.h"
#include "platform/Archive.h"

namespace {

// Results before this record version held one display setting, from it on four.
constexpr int kFourDisplaySettingsVersion = 6;
constexpr int kMeshVersion = 11;
constexpr int kSpecifiedVersion = 12;
constexpr int kSliceResultsVersion = 18;
constexpr int kGraphVersion = 22;

// A range narrower than this is widened; a pitch smaller than this is replaced.
constexpr double kTiny = 1e-13;
// A single value v becomes the range v -/+ kWiden |v|; 0 becomes -/+ kWidenZero.
constexpr double kWiden = 0.5;
constexpr double kWidenZero = 0.5;
constexpr double kSmallestPitch = 0.001;

std::int32_t GetInt(Archive& ar) {
  std::int32_t v = 0;
  ar >> v;
  return v;
}

std::unique_ptr<CRepKey> NewKey(CResCircle::Measure measure) {
  if (measure == CResCircle::Measure::kNone) return std::make_unique<CRepKey>();
  return std::make_unique<CRepKeyHokyo>();
}

// Where a point sits in a mesh: its node and, for a circle, its index among the node's children.
struct PointPlace {
  int i;
  int j;
  int child;  // -1: the node itself
};

std::optional<PointPlace> FindPlace(const CRepMesh& mesh, const CRepPoint* point) {
  for (int i = 0; i < mesh.GetSizeX(); ++i) {
    for (int j = 0; j < mesh.GetSizeY(); ++j) {
      const CRepPoint* node = mesh.GetRepPoint(i, j);
      if (node == nullptr) continue;
      if (node == point) return PointPlace{i, j, -1};
      for (int c = 0; c < node->GetChildSize(); ++c) {
        if (&node->GetChild(c) == point) return PointPlace{i, j, c};
      }
    }
  }
  return std::nullopt;
}

CRepPoint* PointAt(const CRepMesh& mesh, const PointPlace& place) {
  CRepPoint* node = mesh.GetRepPoint(place.i, place.j);
  if (node == nullptr || place.child < 0) return node;
  return &node->GetChild(place.child);
}

// The exchange loop itself, for values that do not all compare.
void LiteralExchangeSort(CResCircle::SerialList& list, const tagREPSORT& sort) {
  for (std::size_t i = 0; i + 1 < list.size(); ++i) {
    for (std::size_t j = i + 1; j < list.size(); ++j) {
      const double a = list[i]->GetKeyValue(sort.kind);
      const double b = list[j]->GetKeyValue(sort.kind);
      if (sort.order == 0 ? a > b : a <= b) std::swap(list[i], list[j]);
    }
  }
}

// The unit of an axis pitch for the range.
double PitchUnit(double range) {
  if (range < 0.05) return 0.001;
  if (range < 0.5) return 0.01;
  if (range < 5) return 0.1;
  if (range < 50) return 1;
  if (range < 500) return 10;
  return 100;
}

struct AxisRange {
  double min;
  double max;
  double pitch;
};

// The axis from min to max in whole pitches of about a sixth of the range; a single value is
// widened to either side first.
AxisRange AutoAxis(double min, double max) {
  if (std::fabs(min - max) < kTiny) {
    const double half = min == 0 ? kWidenZero : kWiden * std::fabs(min);
    min -= half;
    max += half;
  }
  const double range = max - min;
  double pitch = RoundOff(range / 6, PitchUnit(range));
  if (std::fabs(pitch) < kTiny) pitch = kSmallestPitch;
  return {RoundDown(min, pitch), RoundUp(max, pitch), pitch};
}

// The axis of the values from low to high into min, max and pitch; a scan that found nothing to
// compare keeps the axis as it is.
void SetAxis(double low, double high, double& min, double& max, double& pitch) {
  if (low == kNoValue || high == kNoValue || low == kAreaNotSet || high == kAreaNotSet) return;
  const AxisRange axis = AutoAxis(low, high);
  min = axis.min;
  max = axis.max;
  pitch = axis.pitch;
}

}  // namespace

// ---- CResCircle: lifecycle ----

CResCircle::CResCircle(Measure measure, const CArcCondition& conditions)
    : measure_(measure), conditions_(&conditions), key_(NewKey(measure)) {
  InitResults();
}

CResCircle::~CResCircle() = default;

void CResCircle::InitResults() {
  key_->Init();
  serialCount_ = 0;
  display = measure_ == Measure::kNone ? std::array<int, 4>{10, 0, 19, 1}
                                       : std::array<int, 4>{11, 0, 20, 1};
  specifKind = 0;
  for (auto& r : sliceResults) r.Init();
  for (auto& r : knownResults) r.Init();
  graph.Init();
}

void CResCircle::ForgetPoints() {
  serial_.clear();
  current_ = nullptr;
}

void CResCircle::DeleteResultAll() {
  serialCount_ = 0;
  ForgetPoints();
  mesh_.reset();
  for (auto& r : sliceResults) r.Init();
  for (auto& r : knownResults) r.Init();
}

bool CResCircle::IsSameResults(const CResCircle& other) const {
  return specifKind == other.specifKind && knownResults[0].IsSame(other.knownResults[0]) &&
         knownResults[1].IsSame(other.knownResults[1]) && graph.IsSame(other.graph);
}

void CResCircle::CopyResults(const CResCircle& other) {
  if (&other == this) return;
  key_->Copy(*other.key_);
  serialCount_ = other.serialCount_;
  display = other.display;
  specifKind = other.specifKind;
  sliceResults = other.sliceResults;
  knownResults = other.knownResults;
  graph.Copy(other.graph);
  ForgetPoints();
  if (other.mesh_ == nullptr) {
    // The specified-circle results just copied stay: only the search results go.
    mesh_.reset();
    return;
  }
  if (mesh_ == nullptr) mesh_ = std::make_unique<CRepMesh>();
  mesh_->CopyData(*other.mesh_);
  mesh_->SerialCopy(serial_, key_.get());
  mesh_->CreateContour(*key_);
  if (other.current_ != nullptr) {
    if (const auto place = FindPlace(*other.mesh_, other.current_)) {
      current_ = PointAt(*mesh_, *place);
    }
  }
}

// ---- CResCircle: results ----

void CResCircle::SetMesh(std::unique_ptr<CRepMesh> mesh) {
  ForgetPoints();
  mesh_ = std::move(mesh);
}

int CResCircle::SerialResult(SerialList& list, const CRepKey* key) {
  if (mesh_ != nullptr) mesh_->SerialCopy(list, key != nullptr ? key : key_.get());
  return static_cast<int>(list.size());
}

int CResCircle::SerialResult() { return SerialResult(serial_, key_.get()); }

void CResCircle::SortSerial(const tagREPSORT& sort) {
  if (serial_.size() < 2) return;
  // The entry at j replaces the one at i when a > b ascending, when a <= b descending: on
  // negated values descending, when -b <= -a.
  const bool ascending = sort.order == 0;
  std::vector<double> keys;
  keys.reserve(serial_.size());
  for (const CRepPoint* p : serial_) {
    const double v = p->GetKeyValue(sort.kind);
    if (std::isnan(v)) {
      // A value that does not compare never exchanges, which no key can express.
      LiteralExchangeSort(serial_, sort);
      return;
    }
    keys.push_back(ascending ? v : -v);
  }
  ExchangeSortByKeys(keys, serial_, ascending);
}

void CResCircle::RemakeContour() {
  if (mesh_ != nullptr) mesh_->CreateContour(*key_);
}

CRepPoint* CResCircle::GetSelectRepPt(int column) const {
  if (column != 0 && column != 1) return nullptr;
  for (CRepPoint* p : serial_) {
    if (p->GetMark(column) == 1) return p;
  }
  return nullptr;
}

// ---- CResCircle: extremes ----

int CResCircle::FsKind(int column, bool after) {
  if (column == 1) return after ? kKindFsAfterSeis : kKindFsSeis;
  return after ? kKindFsAfter : kKindFs;
}

template <class Better, class Skip>
double CResCircle::Extreme(int kind, double start, Better better, Skip skip) const {
  double found = start;
  for (const CRepPoint* p : serial_) {
    if (skip(*p)) continue;
    const double v = p->GetKeyValue(kind);
    if (better(v, found)) found = v;
  }
  return found;
}

double CResCircle::MinFs(int kind) const {
  return Extreme(
      kind, kNoValue, [](double v, double found) { return found == kNoValue || v < found; },
      [kind](const CRepPoint& p) { return p.GetKeyValue(kind) == kNoValue; });
}

double CResCircle::GetMinFs(int column) const { return MinFs(FsKind(column, false)); }

double CResCircle::GetMinFsAfter(int column) const { return MinFs(FsKind(column, true)); }

double CResCircle::GetMaxPr(int column) const {
  return Extreme(
      column == 1 ? kKindPrSeis : kKindPr, kAreaNotSet,
      [](double v, double found) { return found == kAreaNotSet || found < v; },
      [](const CRepPoint&) { return false; });
}

double CResCircle::MaxDelta(int kind, int peakKind, int dropKind, int flag) const {
  return Extreme(
      kind, kNoValue, [](double v, double found) { return found < v; },
      [=](const CRepPoint& p) {
        return p.GetKeyValue(peakKind) < 0 || (flag != 0 && p.GetKeyValue(dropKind) < 0);
      });
}

double CResCircle::GetMaxDelta(int flag) const {
  return MaxDelta(kKindDelta, kKindKyPeak, kKindKyDrop, flag);
}

double CResCircle::GetMaxDeltaAfter(int flag) const {
  return MaxDelta(kKindDeltaAfter, kKindKyPeakAfter, kKindKyDropAfter, flag);
}

double CResCircle::GetMaxPrNm() const {
  return Extreme(
      kKindPrNewmark, kAreaNotSet,
      [](double v, double found) { return found == kAreaNotSet || found < v; },
      [](const CRepPoint&) { return false; });
}

double CResCircle::GetSpecifFs(int column) const { return SpecifFs(column, false); }

double CResCircle::SpecifFs(int column, bool after) const {
  if (column != 0 && column != 1) return kNoValue;
  const auto c = static_cast<std::size_t>(column);
  if (specifKind == 0) return sliceResults[c][after ? kSliceFsAfter : kSliceFs];
  if (specifKind == 1 || specifKind == 2) {
    return after ? knownResults[c].FsExtra : knownResults[c].Fs;
  }
  return kNoValue;
}

bool CResCircle::TakesKind(int kind) const {
  if (kind == 9 || kind == 15) return measure_ == Measure::kReinforcement;
  return (kind >= 3 && kind <= 8) || (kind >= 10 && kind <= 14) || (kind >= 16 && kind <= 27);
}

template <class Better>
double CResCircle::SerialExtreme(int kind, int flag, double start, Better better) const {
  if (serial_.empty()) return start;
  if (kind == 0 || kind == 1) return 0;
  if (!TakesKind(kind)) return kNoValue;
  // Only the displacement after the measure asks the Ky values after the measure.
  const bool kyDecides = kind == kKindDeltaAfter;
  return Extreme(
      kind, start, [better](double v, double found) { return v != kNoValue && better(v, found); },
      [kyDecides, flag](const CRepPoint& p) {
        return kyDecides && (p.GetKeyValue(kKindKyPeakAfter) < 0 ||
                             (flag != 0 && p.GetKeyValue(kKindKyDropAfter) < 0));
      });
}

double CResCircle::GetSerialMin(int kind, int flag) const {
  return SerialExtreme(kind, flag, kAreaNotSet, [](double v, double found) { return v < found; });
}

double CResCircle::GetSerialMax(int kind, int flag) const {
  return SerialExtreme(kind, flag, kNoValue, [](double v, double found) { return v > found; });
}

void CResCircle::SetGraphMaxMin(int flag) {
  if (serial_.empty() || graph.itemX == -1 || graph.itemY == -1 || graph.autoRange[0] == 0) return;
  SetAxis(GetSerialMin(graph.itemX, flag), GetSerialMax(graph.itemX, flag), graph.minX, graph.maxX,
          graph.pitchX);
  SetAxis(GetSerialMin(graph.itemY, flag), GetSerialMax(graph.itemY, flag), graph.minY, graph.maxY,
          graph.pitchY);
}

// ---- CResCircle: record ----

void CResCircle::StoreResults(Archive& ar, int version) const {
  key_->Store(ar, version);
  ar << static_cast<std::int32_t>(serialCount_);
  if (version >= kFourDisplaySettingsVersion) {
    for (const int v : display) ar << static_cast<std::int32_t>(v);
  } else {
    ar << static_cast<std::int32_t>(display[0]);
  }
  if (version >= kSpecifiedVersion) {
    ar << static_cast<std::int32_t>(specifKind);
    for (const auto& r : knownResults) r.Store(ar, version);
  }
  if (version >= kSliceResultsVersion) {
    for (const auto& r : sliceResults) r.Store(ar, version);
  }
  if (version >= kMeshVersion) {
    ar << static_cast<std::int32_t>(mesh_ != nullptr ? 1 : 0);
    if (mesh_ != nullptr) mesh_->Store(ar, version);
  }
  if (version >= kGraphVersion) graph.Store(ar, version);
}

std::unique_ptr<CResCircle> CResCircle::ReadResults(Archive& ar, int version) const {
  std::unique_ptr<CResCircle> read(new CResCircle(measure_, *conditions_));
  read->key_->Load(ar, version);
  read->serialCount_ = GetInt(ar);
  if (version >= kFourDisplaySettingsVersion) {
    for (int& v : read->display) v = GetInt(ar);
  } else {
    GetInt(ar);
  }
  if (version >= kSpecifiedVersion) {
    read->specifKind = GetInt(ar);
    if (read->specifKind == 2) read->specifKind = 1;
    for (auto& r : read->knownResults) r.Load(ar, version);
  }
  if (version >= kSliceResultsVersion) {
    for (auto& r : read->sliceResults) r.Load(ar, version);
  }
  if (version >= kMeshVersion && GetInt(ar) == 1) {
    read->mesh_ = std::make_unique<CRepMesh>();
    read->mesh_->Load(ar, version);
  }
  if (version >= kGraphVersion) read->graph.Load(ar, version);
  return read;
}

void CResCircle::CommitResults(CResCircle&& read) {
  ForgetPoints();
  key_->Copy(*read.key_);
  serialCount_ = read.serialCount_;
  display = read.display;
  specifKind = read.specifKind;
  knownResults = read.knownResults;
  sliceResults = read.sliceResults;
  mesh_ = std::move(read.mesh_);
  graph.Copy(read.graph);
}

// ---- CResStab ----

CResStab::CResStab() : CResCircle(Measure::kNone, *this) { Init(); }

CResStab::~CResStab() = default;

void CResStab::Init() {
  CArcCondition::Init();
  InitResults();
}

void CResStab::Copy(const CResStab& src) {
  if (&src == this) return;
  CArcCondition::Copy(&src);
  CopyResults(src);
}

bool CResStab::IsSame(const CResStab& other) const {
  return IsSameUseCale(&other) && IsSameResults(other);
}

void CResStab::Store(Archive& ar, int version) const {
  CArcCondition::Store(ar, version);
  StoreResults(ar, version);
}

void CResStab::Load(Archive& ar, int version) {
  CArcCondition conditions;
  conditions.CopyStored(this);
  conditions.Load(ar, version);
  const std::unique_ptr<CResCircle> results = ReadResults(ar, version);
  CopyStored(&conditions);
  CommitResults(std::move(*results));
}
