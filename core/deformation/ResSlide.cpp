// CResSlide: the slide-deformation result, its judgements, extremes, ordered list and record.
// The graphs are in ResSlideDraw.cpp.

#include "core/deformation/ResSlide.h"

#include <cmath>
#include <cstdint>
#include <utility>

#include "core/base/ArchiveCount.h"
#include "core/model/RefCond.h"
#include "platform/Archive.h"

namespace {

// The graph settings are in the record from this document version on.
constexpr int kGraphVersion = 4;
constexpr std::size_t kRowBytes = 4 * sizeof(double);

struct GraphDefault {
  double maxY;
  double pitchY;
};
// Per kind: Fsr, gs, Ds (mm); every kind runs over kh 0 to 1 at 0.2.
constexpr std::array<GraphDefault, CResSlide::kGraphCount> kGraphDefaults{
    {{2.0, 0.5}, {0.2, 0.05}, {500.0, 100.0}}};
constexpr double kGraphMaxX = 1.0;
constexpr double kGraphPitchX = 0.2;

bool IsSet(double v) { return v != kNoValue; }

// A value the graphs can draw and the extremes take: set, finite and not a negative subnormal.
bool IsPlottable(double v) {
  return IsSet(v) && std::isfinite(v) && !(std::fpclassify(v) == FP_SUBNORMAL && v < 0);
}

template <class Better>
double Extreme(const std::vector<tagSLIDERES>& rows, double tagSLIDERES::*column, Better better) {
  double found = kNoValue;
  for (const tagSLIDERES& row : rows) {
    const double v = row.*column;
    if (IsPlottable(v) && (found == kNoValue || better(v, found))) found = v;
  }
  return found;
}

bool Less(double a, double b) { return a < b; }
bool Greater(double a, double b) { return a > b; }

}  // namespace

void StoreSlideRes(Archive& ar, const tagSLIDERES& row) {
  ar << row.kh << row.fsr << row.gammaS << row.ds;
}

tagSLIDERES LoadSlideRes(Archive& ar) {
  tagSLIDERES row;
  ar >> row.kh >> row.fsr >> row.gammaS >> row.ds;
  return row;
}

CResSlide::~CResSlide() = default;

double CResSlide::GetKyoyouHizumi() { return CRefCond::GetSuberiHizumi(); }
double CResSlide::GetKeiA() { return CRefCond::GetKeiA(); }
double CResSlide::GetKeiB() { return CRefCond::GetKeiB(); }

void CResSlide::Init() {
  DeleteResultAll();
  allowableDs = kNoValue;
  key_.Init();
  sortItem = 12;
  sortOrder = 0;
  graphs = DefaultGraphs();
}

std::array<CDrawResGraphSet, CResSlide::kGraphCount> CResSlide::DefaultGraphs() {
  std::array<CDrawResGraphSet, kGraphCount> sets;
  for (std::size_t k = 0; k < sets.size(); ++k) {
    CDrawResGraphSet& set = sets[k];
    set.Init();
    set.maxX = kGraphMaxX;
    set.pitchX = kGraphPitchX;
    set.maxY = kGraphDefaults[k].maxY;
    set.pitchY = kGraphDefaults[k].pitchY;
  }
  return sets;
}

void CResSlide::DeleteResultAll() {
  designRow = tagSLIDERES{};
  rows.clear();
  blockCount = 0;
  serialCount = 0;
  SetResult(nullptr);
}

void CResSlide::SetResult(std::unique_ptr<CMltBlocks> points) {
  serial_.clear();
  points_ = std::move(points);
  if (points_) points_->SetTypicalPoint(&key_);
}

void CResSlide::Copy(const CResSlide& other) {
  if (&other == this) return;
  std::unique_ptr<CMltBlocks> points;
  if (other.points_) {
    points = std::make_unique<CMltBlocks>();
    points->CopyData(*other.points_);
  }
  designRow = other.designRow;
  rows = other.rows;
  allowableDs = other.allowableDs;
  key_.Copy(other.key_);
  blockCount = other.blockCount;
  serialCount = other.serialCount;
  sortItem = other.sortItem;
  sortOrder = other.sortOrder;
  for (std::size_t k = 0; k < graphs.size(); ++k) graphs[k].Copy(other.graphs[k]);
  SetResult(std::move(points));
  SerialResult();
}

bool CResSlide::IsSame(const CResSlide& other) const {
  for (std::size_t k = 0; k < graphs.size(); ++k) {
    if (!graphs[k].IsSame(other.graphs[k])) return false;
  }
  const bool samePoints = points_ == nullptr || other.points_ == nullptr
                              ? points_ == nullptr && other.points_ == nullptr
                              : points_->IsSame(*other.points_);
  return designRow == other.designRow && rows == other.rows && allowableDs == other.allowableDs &&
         key_.IsSame(other.key_) && blockCount == other.blockCount &&
         serialCount == other.serialCount && sortItem == other.sortItem &&
         sortOrder == other.sortOrder && samePoints;
}

bool CResSlide::IsResult() const { return IsSet(designRow.fsr) && IsSet(designRow.ds); }

bool CResSlide::IsJudgeGs() const {
  const double allowable = GetKyoyouHizumi();
  return IsSet(designRow.gammaS) && IsSet(allowable) && designRow.gammaS < allowable;
}

bool CResSlide::IsJudgeDs() const {
  return IsSet(designRow.ds) && IsSet(allowableDs) && designRow.ds < allowableDs;
}

int CResSlide::SerialResult(std::vector<CMltPoint*>& list, const CMltKey* key) {
  list.clear();
  if (!points_) return 0;
  points_->SerialCopy(list, key ? *key : key_);
  return static_cast<int>(list.size());
}

int CResSlide::SortSerial(const tagMLTSORT& sort) {
  const std::size_t n = serial_.size();
  for (std::size_t i = 0; i < n; ++i) {
    for (std::size_t j = i + 1; j < n; ++j) {
      const double earlier = serial_[i]->GetKeyValue(sort.item);
      const double later = serial_[j]->GetKeyValue(sort.item);
      const bool exchange = sort.order == 0 ? earlier > later : later >= earlier;
      if (exchange) std::swap(serial_[i], serial_[j]);
    }
  }
  return static_cast<int>(n) - 1;
}

CMltPoint* CResSlide::GetSelectRepPt(int start, int end) const {
  for (CMltPoint* point : serial_) {
    if (point->startBlock == start && point->endBlock == end) return point;
  }
  return nullptr;
}

double CResSlide::GetMaxKh() const {
  double found = kNoValue;
  for (const tagSLIDERES& row : rows) {
    if (found == kNoValue || row.kh > found) found = row.kh;
  }
  return found;
}

double CResSlide::GetMinFsr() const { return Extreme(rows, &tagSLIDERES::fsr, Less); }
double CResSlide::GetMaxFsr() const { return Extreme(rows, &tagSLIDERES::fsr, Greater); }
double CResSlide::GetMinGammaS() const { return Extreme(rows, &tagSLIDERES::gammaS, Less); }
double CResSlide::GetMaxGammaS() const { return Extreme(rows, &tagSLIDERES::gammaS, Greater); }
double CResSlide::GetMinStrain() const { return Extreme(rows, &tagSLIDERES::ds, Less); }
double CResSlide::GetMaxStrain() const { return Extreme(rows, &tagSLIDERES::ds, Greater); }

void CResSlide::Store(Archive& ar, int version) const {
  StoreSlideRes(ar, designRow);
  ar << static_cast<std::int32_t>(rows.size());
  for (const tagSLIDERES& row : rows) StoreSlideRes(ar, row);
  ar << allowableDs;
  key_.Store(ar, version);
  ar << static_cast<std::int32_t>(blockCount) << static_cast<std::int32_t>(serialCount)
     << static_cast<std::int32_t>(sortItem) << static_cast<std::int32_t>(sortOrder);
  ar << static_cast<std::int32_t>(points_ ? 1 : 0);
  if (points_) points_->Store(ar);
  if (version >= kGraphVersion) {
    for (const CDrawResGraphSet& set : graphs) set.Store(ar, version);
  }
}

void CResSlide::Load(Archive& ar, int version) {
  const tagSLIDERES design = LoadSlideRes(ar);
  const std::int32_t count = ReadCount(ar, kRowBytes, "slide result row count");
  std::vector<tagSLIDERES> read;
  read.reserve(static_cast<std::size_t>(count));
  for (std::int32_t i = 0; i < count; ++i) read.push_back(LoadSlideRes(ar));
  double allowable = kNoValue;
  ar >> allowable;
  CMltKey key;
  key.Load(ar, version);
  std::int32_t blocks = 0;
  std::int32_t serials = 0;
  std::int32_t item = 0;
  std::int32_t order = 0;
  ar >> blocks >> serials >> item >> order;
  std::int32_t hasPoints = 0;
  ar >> hasPoints;
  std::unique_ptr<CMltBlocks> points;
  if (hasPoints != 0) {
    points = std::make_unique<CMltBlocks>();
    points->Load(ar);
  }
  std::array<CDrawResGraphSet, kGraphCount> sets = DefaultGraphs();
  if (version >= kGraphVersion) {
    for (CDrawResGraphSet& set : sets) set.Load(ar, version);
  }

  designRow = design;
  rows = std::move(read);
  allowableDs = allowable;
  key_ = key;
  blockCount = blocks;
  serialCount = serials;
  sortItem = item;
  sortOrder = order;
  graphs = sets;
  SetResult(std::move(points));
}
