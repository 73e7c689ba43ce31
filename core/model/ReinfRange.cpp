// CReinfRange: one arrangement range, its record, head points and drawing; the ten ranges of the
// conditions.

#include "core/model/ReinfRange.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdint>
#include <string>
#include <utility>

#include "core/geometry/DPoly.h"
#include "core/geometry/ViewInfo.h"
#include "platform/Archive.h"
#include "platform/Canvas.h"

namespace {

// Fields added to the record in later document versions.
constexpr int kBothModesVersion = 2;  // mode-0 offsets and pitch, the measuring mode
constexpr int kInclinationModeVersion = 6;
constexpr int kExtraLengthVersion = 7;

// Head points are kept to the millimetre.
constexpr double kHeadPitch = 0.001;
constexpr double kFitSlack = 1e-13;

const Color kRangeColor{0x806000};
const Color kLabelColor{0x808000};
constexpr int kEndCircleRadius = 2;

bool IsMode(int mode) {
  return mode == CReinfRange::kMeasureHeight || mode == CReinfRange::kMeasureSlope;
}

bool IsSide(int side) { return side == CReinfRange::kSideUpper || side == CReinfRange::kSideLower; }

int ReadInt(Archive& ar) {
  std::int32_t v = 0;
  ar >> v;
  return v;
}

void StorePoint(Archive& ar, const CDPoint& p) { ar << p.x << p.y; }

CDPoint ReadPoint(Archive& ar) {
  CDPoint p;
  ar >> p.x >> p.y;
  return p;
}

// The bounding square of a circle; a centre at the edge of the int range keeps it in range.
DevRect CircleAround(DevPoint c, int radius) {
  const auto clamp = [](std::int64_t v) {
    return static_cast<int>(std::clamp<std::int64_t>(v, INT_MIN, INT_MAX));
  };
  return {clamp(std::int64_t{c.x} - radius), clamp(std::int64_t{c.y} - radius),
          clamp(std::int64_t{c.x} + radius), clamp(std::int64_t{c.y} + radius)};
}

DevPoint Midpoint(DevPoint a, DevPoint b) {
  return {static_cast<int>((std::int64_t{a.x} + b.x) / 2),
          static_cast<int>((std::int64_t{a.y} + b.y) / 2)};
}

}  // namespace

void CReinfRange::Init() {
  CReinfRange defaults;
  defaults.name = std::move(name);
  defaults.flag = flag;
  defaults.active = active;
  *this = std::move(defaults);
}

void CReinfRange::Copy(const CReinfRange& other) {
  const bool keep = active;
  *this = other;
  active = keep;
}

bool CReinfRange::IsSame(const CReinfRange& other) const {
  return name == other.name && flag == other.flag && IsSameUseCale(other);
}

bool CReinfRange::IsSameUseCale(const CReinfRange& other) const {
  return start == other.start && end == other.end && startSide == other.startSide &&
         offsets == other.offsets && pitches == other.pitches && rowCount == other.rowCount &&
         inclinationMode == other.inclinationMode && alpha == other.alpha && lrb == other.lrb &&
         extraLength == other.extraLength && sh == other.sh && measureMode == other.measureMode;
}

bool CReinfRange::IsValid() const {
  if (!start.IsValid() || !end.IsValid() || rowCount == kNoValueInt) return false;
  if (lrb == kNoValue || extraLength == kNoValue || sh == kNoValue) return false;
  if (StartOffset() == kNoValue || Pitch() == kNoValue) return false;
  return inclinationMode != kInclineFixed || alpha != kNoValue;
}

void CReinfRange::Normalize() {
  if (end.y > start.y) std::swap(start, end);
}

std::unique_ptr<CDPoly> CReinfRange::CreateSlopeLine() const {
  if (!start.IsValid() || !end.IsValid()) return nullptr;
  auto line = std::make_unique<CDPoly>();
  line->Add(start);
  line->Add(end);
  return line;
}

double CReinfRange::GetSlopeLen(int mode, const CDPoly* ground) const {
  if (!start.IsValid() || !end.IsValid() || !IsMode(mode)) return kNoValue;
  if (mode == kMeasureHeight) return std::fabs(start.y - end.y);
  if (ground == nullptr) return GetDistance(start, end);
  return ground->GetKukanShape(&start, &end)->GetLength();
}

bool CReinfRange::IsArrangeSlope(const CDPoly* ground) const {
  if (!IsSide(startSide)) return true;
  const double length = GetSlopeLen(measureMode, ground);
  const double pitch = Pitch();
  const double offset = StartOffset();
  if (length == kNoValue || pitch == kNoValue || offset == kNoValue || rowCount == kNoValueInt) {
    return false;
  }
  const double needed = (static_cast<double>(rowCount) - 1.0) * pitch + offset;
  return needed - length <= kFitSlack;
}

std::vector<CDPoint> CReinfRange::GetArrangePoint(const CDPoly* ground) const {
  if (ground == nullptr || !start.IsValid() || !end.IsValid() || !IsMode(measureMode)) return {};
  const auto part = ground->GetKukanShape(&start, &end);
  part->LeftToRight();
  if (part->GetSize() < 2) return {};

  // The part runs from the end the rows are counted from; another start side puts every row on
  // the first point.
  const double firstY = part->GetFirstPt()->y;
  const double lastY = part->GetLastPt()->y;
  double d = 0.0;
  double step = 0.0;
  if (IsSide(startSide)) {
    const bool wrongEnd = startSide == kSideUpper ? firstY < lastY : firstY > lastY;
    if (wrongEnd) part->Reverse();
    d = StartOffset();
    step = Pitch();
  }
  std::vector<CDPoint> heads;
  for (int row = 0; row < rowCount; ++row) {
    const CDPoint head = part->GetMoveOnlinePt(part->GetFirstPt(), d, false);
    heads.emplace_back(RoundOff(head.x, kHeadPitch), RoundOff(head.y, kHeadPitch));
    d += step;
  }
  return heads;
}

void CReinfRange::Draw(CViewInfo* view, const CDPoly* ground, bool label) const {
  Canvas& canvas = *view->dc;
  const ScopedCanvasState restore(canvas);
  canvas.SelectPen(Pen{PenStyle::Solid, active ? 4 : 2, kRangeColor});
  for (const CDPoint* p : {&start, &end}) {
    if (!p->IsValid()) continue;
    canvas.Ellipse(CircleAround(view->LPtoDP(*p), kEndCircleRadius));
  }
  if (!start.IsValid() || !end.IsValid()) return;

  DevPoint anchor;
  bool rightUpper = true;
  if (ground != nullptr) {
    // The ground between the two points, labelled at half its length.
    const auto part = ground->GetKukanShape(&start, &end);
    part->DrawSimpleShape(view);
    part->LeftToRight();
    if (part->GetSize() >= 2) {
      anchor =
          view->LPtoDP(part->GetMoveOnlinePt(part->GetFirstPt(), part->GetLength() / 2, false));
    }
    rightUpper = part->IsRightUpper();
  } else {
    const DevPoint a = view->LPtoDP(start);
    const DevPoint b = view->LPtoDP(end);
    canvas.MoveTo(a);
    canvas.LineTo(b);
    anchor = Midpoint(a, b);
    rightUpper = CreateSlopeLine()->IsRightUpper();
  }
  if (!label) return;

  const int m = view->GetFontMultiple();
  Font font;
  font.height = 12 * m;
  font.width = 6 * m;
  font.weight = 400;
  font.face = "ＭＳ ゴシック";
  canvas.SelectFont(font);
  canvas.SetTextColor(kLabelColor);
  canvas.SetTextAlign((rightUpper ? TextAlign::Right : TextAlign::Left) | TextAlign::Bottom);
  canvas.TextOut(anchor, " " + name + " ");
}

void CReinfRange::Store(Archive& ar, int version) const {
  const bool bothModes = version >= kBothModesVersion;
  ar.WriteString(name);
  ar << static_cast<std::int32_t>(flag);
  StorePoint(ar, start);
  StorePoint(ar, end);
  ar << static_cast<std::int32_t>(startSide);
  if (bothModes) ar << offsets[0] << offsets[2];
  ar << offsets[1] << offsets[3];
  ar << static_cast<std::int32_t>(rowCount);
  if (version >= kInclinationModeVersion) ar << static_cast<std::int32_t>(inclinationMode);
  ar << alpha << lrb;
  if (version >= kExtraLengthVersion) ar << extraLength;
  ar << sh;
  if (bothModes) ar << pitches[0];
  ar << pitches[1];
  if (bothModes) ar << static_cast<std::int32_t>(measureMode);
}

void CReinfRange::Load(Archive& ar, int version) {
  const bool bothModes = version >= kBothModesVersion;
  CReinfRange read;
  read.name = ar.ReadString();
  read.flag = ReadInt(ar);
  read.start = ReadPoint(ar);
  read.end = ReadPoint(ar);
  read.startSide = ReadInt(ar);
  if (bothModes) ar >> read.offsets[0] >> read.offsets[2];
  ar >> read.offsets[1] >> read.offsets[3];
  read.rowCount = ReadInt(ar);
  if (version >= kInclinationModeVersion) read.inclinationMode = ReadInt(ar);
  ar >> read.alpha >> read.lrb;
  if (version >= kExtraLengthVersion) ar >> read.extraLength;
  ar >> read.sh;
  if (bothModes) ar >> read.pitches[0];
  ar >> read.pitches[1];
  if (bothModes) read.measureMode = ReadInt(ar);
  // Older documents measured along the slope only.
  if (version < kInclinationModeVersion) read.measureMode = kMeasureSlope;
  read.active = active;
  *this = std::move(read);
}

double CReinfRange::StartOffset() const {
  if (!IsSide(startSide) || !IsMode(measureMode)) return kNoValue;
  return offsets[static_cast<std::size_t>(startSide == kSideUpper ? measureMode : 2 + measureMode)];
}

double CReinfRange::Pitch() const {
  return IsMode(measureMode) ? pitches[static_cast<std::size_t>(measureMode)] : kNoValue;
}

// ---- The ten ranges ----

void InitRanges(CReinfRanges& ranges) {
  for (std::size_t i = 0; i < ranges.size(); ++i) {
    ranges[i].Init();
    ranges[i].name = "範囲 " + std::to_string(i + 1);
  }
}

void CopyRanges(CReinfRanges& to, const CReinfRanges& from) {
  for (std::size_t i = 0; i < to.size(); ++i) {
    to[i].Copy(from[i]);
    to[i].Normalize();
  }
}

bool IsSameRanges(const CReinfRanges& a, const CReinfRanges& b) {
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (!a[i].IsSame(b[i])) return false;
  }
  return true;
}

bool IsSameUseCaleRanges(const CReinfRanges& a, const CReinfRanges& b) {
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (!a[i].IsSameUseCale(b[i])) return false;
  }
  return true;
}

void StoreRanges(const CReinfRanges& ranges, Archive& ar, int version) {
  for (const CReinfRange& range : ranges) range.Store(ar, version);
}

void LoadRanges(CReinfRanges& ranges, Archive& ar, int version) {
  CReinfRanges read = ranges;
  for (CReinfRange& range : read) range.Load(ar, version);
  ranges = std::move(read);
}

void DrawRanges(const CReinfRanges& ranges, CViewInfo* view, const CDPoly* ground, bool label) {
  for (const CReinfRange& range : ranges) range.Draw(view, ground, label);
}

void SetRangesNonActive(CReinfRanges& ranges) {
  for (CReinfRange& range : ranges) range.active = false;
}
