// CSpWaterGroup: the water level, upper water level and impermeable layer of a section.

#include "core/section/SpWaterGroup.h"

#include <algorithm>
#include <cstdint>
#include <string>

#include "core/base/AppIdentity.h"
#include "platform/Archive.h"
#include "platform/UiRegistry.h"
#include "platform/UiServices.h"

namespace {

// The upper line, the impermeable line and the switch are in the record from this version on.
constexpr int kUpperLayerVersion = 20;

const Color kImpermeableColor{128};

// A line read from a record into `read`: the record gives its name, colour and points; the pen
// style, which it does not hold, is the target's.
void ReadLine(Archive& ar, int version, const CSpWater& target, CSpWater& read) {
  read.SetPenStyle(target.GetPenStyle());
  read.Load(ar, version);
}

void Assign(CSpWater& to, const CSpWater& from) {
  to.SetName(from.GetName());
  to.CopyWater(&from);
}

void MergeRange(double& lo, double& hi, double lineLo, double lineHi, bool first) {
  lo = first ? lineLo : std::min(lo, lineLo);
  hi = first ? lineHi : std::max(hi, lineHi);
}

}  // namespace

CSpWaterGroup::CSpWaterGroup() {
  impermeable_.SetColor(kImpermeableColor);
  impermeable_.SetPenStyle(PenStyle::Dash);
}

void CSpWaterGroup::Init() {
  viewMode_ = kViewNone;
  upperOn_ = 0;
  impermeable_.SetColor(kImpermeableColor);
  impermeable_.SetPenStyle(PenStyle::Dash);
}

void CSpWaterGroup::Store(Archive& ar, int version) const {
  water_.Store(ar, version);
  if (version < kUpperLayerVersion) return;
  upper_.Store(ar, version);
  impermeable_.Store(ar, version);
  ar << static_cast<std::int32_t>(upperOn_);
}

void CSpWaterGroup::Load(Archive& ar, int version) {
  CSpWater water;
  ReadLine(ar, version, water_, water);
  if (version < kUpperLayerVersion) {
    Assign(water_, water);
    return;
  }
  CSpWater upper;
  CSpWater impermeable;
  ReadLine(ar, version, upper_, upper);
  ReadLine(ar, version, impermeable_, impermeable);
  std::int32_t upperOn = 0;
  ar >> upperOn;
  Assign(water_, water);
  Assign(upper_, upper);
  Assign(impermeable_, impermeable);
  upperOn_ = upperOn;
}

void CSpWaterGroup::Copy(const CSpWaterGroup& other) {
  water_.CopyWater(&other.water_);
  upper_.CopyWater(&other.upper_);
  impermeable_.CopyWater(&other.impermeable_);
  upperOn_ = other.upperOn_;
}

void CSpWaterGroup::CopyPoints(const CSpWaterGroup& other) {
  water_.CopyPoints(&other.water_);
  upper_.CopyPoints(&other.upper_);
  impermeable_.CopyPoints(&other.impermeable_);
  upperOn_ = other.upperOn_;
}

bool CSpWaterGroup::IsSame(const CSpWaterGroup& other) const {
  return water_.IsSame(&other.water_) && upper_.IsSame(&other.upper_) &&
         impermeable_.IsSame(&other.impermeable_) && upperOn_ == other.upperOn_ && IsSameClr(other);
}

bool CSpWaterGroup::IsSameClr(const CSpWaterGroup& other) const {
  return water_.GetColor() == other.water_.GetColor() &&
         upper_.GetColor() == other.upper_.GetColor() &&
         impermeable_.GetColor() == other.impermeable_.GetColor();
}

void CSpWaterGroup::Draw(CViewInfo* view, int highlight) const {
  const auto bold = [this, highlight](int mode) { return highlight != 0 && viewMode_ == mode; };
  if (upperOn_ != 0) {
    upper_.Draw(view, bold(kViewUpper), -1, -1);
    impermeable_.Draw(view, bold(kViewImpermeable), -1, -1);
  }
  water_.Draw(view, bold(kViewWater), -1, -1);
}

bool CSpWaterGroup::IsUnsturatedValid(int show) const {
  if (upperOn_ == 0) return true;
  std::string reasons;
  if (water_.IsCrossPoint(&upper_, 0.0)) reasons += "\n・水位線と上部水位線が交差しています。";
  if (water_.IsCrossPoint(&impermeable_, 0.0))
    reasons += "\n・水位線と不透水層線が交差しています。";
  if (upper_.IsCrossPoint(&impermeable_, 0.0)) {
    reasons += "\n・上部水位線と不透水層線が交差しています。";
  }
  double upperMin = 0;
  double upperMax = 0;
  double layerMin = 0;
  double layerMax = 0;
  upper_.RangeX(upperMin, upperMax);
  impermeable_.RangeX(layerMin, layerMax);
  if (layerMin - upperMin > 1e-13 || upperMax - layerMax > 1e-13) {
    reasons += "\n・不透水層線は上部水位線より左右大きく範囲を指定してください。";
  }
  if (upper_.IsPolyOverY(&impermeable_)) {
    reasons += "\n・上部水位線が不透水層線より低い位置に配置してます。";
  }
  if (reasons.empty()) return true;
  if (show == 1) {
    Ui().MessageBox("以下の理由により、上部水位層が作成できません。" + reasons, GetAppTitle(),
                    MsgButtons::Ok, MsgIcon::Warning);
  }
  return false;
}

void CSpWaterGroup::DeleteAll() {
  water_.DeleteAll();
  upper_.DeleteAll();
  impermeable_.DeleteAll();
}

void CSpWaterGroup::DelSpacePoint() {
  water_.DelSpacePoint();
  upper_.DelSpacePoint();
  impermeable_.DelSpacePoint();
}

bool CSpWaterGroup::RangeRect(double& xmin, double& xmax, double& ymax, double& ymin) const {
  xmin = xmax = ymax = ymin = kNoValue;
  bool any = false;
  for (const CSpWater* line : {&water_, &upper_, &impermeable_}) {
    double lxmin = 0;
    double lxmax = 0;
    double lymax = 0;
    double lymin = 0;
    if (!line->RangeRect(lxmin, lxmax, lymax, lymin)) continue;
    MergeRange(xmin, xmax, lxmin, lxmax, !any);
    MergeRange(ymin, ymax, lymin, lymax, !any);
    any = true;
  }
  return any;
}

CDPoint CSpWaterGroup::FindNearPoint(const CDPoint& p, double& dist) const {
  CDPoint nearest(kNoValue, kNoValue);
  dist = kAreaNotSet;
  for (const CSpWater* line : {&water_, &upper_, &impermeable_}) {
    double d = 0;
    int index = 0;
    const CDPoint vertex = line->FindNearPoint(&p, d, index);
    if (line->GetSize() > 0 && d < dist) {
      dist = d;
      nearest = vertex;
    }
  }
  return nearest;
}

void CSpWaterGroup::OnLButtonDown(CViewInfo* /*view*/, int /*index*/, CDPoint /*p*/) {
  ResetMouseMove();
}

void CSpWaterGroup::OnMouseMove(CViewInfo* view, int index, CDPoint p) {
  if (CSpWater* line = ViewedLine()) line->OnMouseMove(view, index, p);
}

void CSpWaterGroup::ResetMouseMove() {
  if (CSpWater* line = ViewedLine()) line->ResetMouseMove();
}

CSpWater* CSpWaterGroup::ViewedLine() {
  switch (viewMode_) {
    case kViewWater:
      return &water_;
    case kViewUpper:
      return &upper_;
    case kViewImpermeable:
      return &impermeable_;
    default:
      return nullptr;
  }
}
