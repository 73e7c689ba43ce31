// CShearData and CResShear: the rows of the shear-deformation march, their judgements and records.

#include "core/deformation/ResShear.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "core/base/ArchiveCount.h"
#include "platform/Archive.h"

namespace {

// The rows carry the rope-net tension from this document version on.
constexpr int kTensionVersion = 8;
// The result carries the allowable strain from this document version on.
constexpr int kAllowStrainVersion = 9;
constexpr std::size_t kRowValues = 12;

ShearJudge JudgeBelow(double value, double allowable) {
  if (value == kNoValue || allowable == kNoValue) return ShearJudge::kNone;
  return value < allowable ? ShearJudge::kOk : ShearJudge::kOut;
}

// A value the graph and the maxima can use: not infinite, not a non-number, not a negative
// subnormal.
bool IsDrawable(double v) {
  return std::isfinite(v) && !(std::fpclassify(v) == FP_SUBNORMAL && v < 0.0);
}

}  // namespace

ShearJudge CShearData::JudgeDisp(double allowable) const { return JudgeBelow(cumDisp, allowable); }

ShearJudge CShearData::JudgeHizumi(double allowable) const {
  return JudgeBelow(cumStrain, allowable);
}

void CShearData::Store(Archive& ar, int version) const {
  ar << kh;
  if (version >= kTensionVersion) ar << trn;
  ar << gRatioBefore << gBefore << cumDispBefore << eta << deltaGamma << cumStrain << gRatioAfter
     << gAfter << dispIncrement << cumDisp;
}

void CShearData::Load(Archive& ar, int version) {
  CShearData read;
  ar >> read.kh;
  if (version >= kTensionVersion) ar >> read.trn;
  ar >> read.gRatioBefore >> read.gBefore >> read.cumDispBefore >> read.eta >> read.deltaGamma >>
      read.cumStrain >> read.gRatioAfter >> read.gAfter >> read.dispIncrement >> read.cumDisp;
  *this = read;
}

std::size_t CShearData::RecordSize(int version) {
  const std::size_t values = version >= kTensionVersion ? kRowValues : kRowValues - 1;
  return values * sizeof(double);
}

void CResShear::Init() {
  design.Init();
  rows.clear();
  weight = yieldK = allowStrain = allowDisp = kNoValue;
  graph.Init();
  graph.maxX = 2.0;
  graph.maxY = 500.0;
  graph.pitchX = 0.2;
  graph.pitchY = 100.0;
}

void CResShear::ClearRes() {
  design.Init();
  rows.clear();
  weight = yieldK = allowDisp = kNoValue;
}

void CResShear::Copy(const CResShear& other) {
  design = other.design;
  rows = other.rows;
  weight = other.weight;
  yieldK = other.yieldK;
  allowStrain = other.allowStrain;
  allowDisp = other.allowDisp;
  graph.Copy(other.graph);
}

bool CResShear::IsResult() const {
  return design.cumStrain != kNoValue && design.cumDisp != kNoValue && yieldK != kNoValue;
}

double CResShear::GetMaxKh() const {
  double most = kNoValue;
  for (const CShearData& row : rows) most = std::max(most, row.kh);
  return most;
}

double CResShear::GetMaxCumDelta() const {
  double most = kNoValue;
  for (const CShearData& row : rows) {
    if (IsDrawable(row.cumDisp)) most = std::max(most, row.cumDisp);
  }
  return most;
}

void CResShear::Store(Archive& ar, int version) const {
  design.Store(ar, version);
  ar << static_cast<std::int32_t>(rows.size());
  for (const CShearData& row : rows) row.Store(ar, version);
  ar << weight << yieldK;
  if (version >= kAllowStrainVersion) ar << allowStrain;
  ar << allowDisp;
  graph.Store(ar, version);
}

void CResShear::Load(Archive& ar, int version) {
  CShearData readDesign;
  readDesign.Load(ar, version);
  const std::int32_t count = ReadCount(ar, CShearData::RecordSize(version), "shear row count");
  std::vector<CShearData> readRows(static_cast<std::size_t>(count));
  for (CShearData& row : readRows) row.Load(ar, version);
  double readWeight = kNoValue;
  double readYield = kNoValue;
  double readAllowStrain = allowStrain;
  double readAllowDisp = kNoValue;
  ar >> readWeight >> readYield;
  if (version >= kAllowStrainVersion) ar >> readAllowStrain;
  ar >> readAllowDisp;
  CDrawResGraphSet readGraph;
  readGraph.Load(ar, version);

  design = readDesign;
  rows = std::move(readRows);
  weight = readWeight;
  yieldK = readYield;
  allowStrain = readAllowStrain;
  allowDisp = readAllowDisp;
  graph = readGraph;
}
