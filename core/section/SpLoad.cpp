// CSpLoad: the record, input checks, the outline along the ground, drawing and the action on a
// block or slice.

#include "core/section/SpLoad.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/base/Constants.h"
#include "core/base/CoreConfig.h"
#include "core/base/InputRange.h"
#include "core/geometry/RecordCheck.h"
#include "core/geometry/ViewInfo.h"
#include "platform/Archive.h"
#include "platform/Canvas.h"

namespace {

// A load exactly on a strip boundary belongs to one strip only.
constexpr double kBoundaryShift = 1e-8;

constexpr Color kLoadColor = Color::Rgb(0, 180, 0);
// The distributed band is hatched every half world unit.
constexpr double kHatchStep = 0.5;
// An outline within the coordinate range (+-9999.999) needs at most 40000 steps; the bound keeps
// an unchecked outline from stalling the drawing.
constexpr int kMaxHatchSteps = 80000;
constexpr int kHeadLength = 5;

// The first segment (vertex i to i + 1) whose x range holds x, closed on the left end
// (closedLeft) or on the right end; -1 when none does.
int SegmentHolding(const CDPoly& line, double x, bool closedLeft) {
  for (int i = 0; i + 1 < line.GetSize(); ++i) {
    const double a = line.GetAt(i)->x;
    const double b = line.GetAt(i + 1)->x;
    const double lo = a < b ? a : b;
    const double hi = a < b ? b : a;
    if (closedLeft ? (lo <= x && x < hi) : (lo < x && x <= hi)) return i;
  }
  return -1;
}

// Drawing size: larger for the printer and its preview, whose pixels are finer.
int SizeFactor(const CViewInfo& view) {
  if (view.IsPreview()) return 5;
  if (view.IsPrint()) return 15;
  return 1;
}

// The device offset of the given length in the direction (degrees, counter-clockwise from +x as
// seen on the output): the screen's y grows downward, the printer's upward.
DevPoint DeviceOffset(const CViewInfo& view, double degrees, int length) {
  const double radians = DegToRad(degrees);
  const double up = view.IsPrint() ? 1.0 : -1.0;
  return {static_cast<int>(std::lround(length * std::cos(radians))),
          static_cast<int>(std::lround(up * length * std::sin(radians)))};
}

// A point far outside the view maps to the edge of the int range; the shifted point stays there.
int ShiftedCoordinate(int v, int offset) {
  return static_cast<int>(std::clamp<std::int64_t>(std::int64_t{v} + offset, INT_MIN, INT_MAX));
}

DevPoint Shifted(DevPoint p, DevPoint offset) {
  return {ShiftedCoordinate(p.x, offset.x), ShiftedCoordinate(p.y, offset.y)};
}

// Draws the strokes of the load's arrows, each from a point of the outline along the offset. A
// stroke that would repeat the one just drawn is left out: several hatching steps fall on one
// device column when the view is zoomed out.
class StrokePainter {
 public:
  StrokePainter(Canvas& canvas, DevPoint offset) : canvas_(canvas), offset_(offset) {}

  void Stroke(DevPoint from) {
    if (last_ == from) return;
    canvas_.MoveTo(from);
    canvas_.LineTo(Shifted(from, offset_));
    last_ = from;
  }

 private:
  Canvas& canvas_;
  DevPoint offset_;
  std::optional<DevPoint> last_;
};

// Where the vertical line at world x meets the outline on the device: an outline vertex in the
// same device column, else the crossing with a segment that spans x.
std::optional<DevPoint> OutlineCrossing(const CViewInfo& view, const CDPoly::PointList& outline,
                                        double x) {
  const int column = view.LPtoDP(CDPoint(x, 0)).x;
  for (std::size_t i = 0; i < outline.size(); ++i) {
    const CDPoint& a = *outline[i];
    const DevPoint atA = view.LPtoDP(a);
    if (atA.x == column) return atA;
    if (i + 1 == outline.size()) break;
    const CDPoint& b = *outline[i + 1];
    if ((a.x < x && x < b.x) || (b.x < x && x < a.x)) {
      return view.LPtoDP(CDPoint(x, a.y + (b.y - a.y) * (x - a.x) / (b.x - a.x)));
    }
  }
  return std::nullopt;
}

// Strokes wherever vertical lines every half world unit, from the first outline x until they
// pass the last, meet the outline.
void HatchOutline(const CViewInfo& view, const CDPoly::PointList& outline, StrokePainter& painter) {
  const double first = outline.front()->x;
  const double last = outline.back()->x;
  for (int step = 0; step <= kMaxHatchSteps; ++step) {
    const double x = first + step * kHatchStep;
    if (x > last) break;
    if (const auto crossing = OutlineCrossing(view, outline, x)) painter.Stroke(*crossing);
  }
}

}  // namespace

CSpLoad::CSpLoad() : CDPoly(kKindLoad) { SetName("荷重"); }

std::unique_ptr<CDPoly> CSpLoad::Copy() const {
  auto copy = std::make_unique<CSpLoad>();
  copy->SetName(GetName());
  copy->CopyPoints(this);
  copy->fields_ = fields_;
  return copy;
}

void CSpLoad::Store(Archive& ar, int /*version*/) const {
  const Fields& f = fields_;
  ar.WriteString(GetName());
  ar << f.q1 << f.q2 << f.x1 << f.x2;
  ar << static_cast<std::int32_t>(f.concentrated) << static_cast<std::int32_t>(f.direction);
  ar << f.angle;
  ar << static_cast<std::int32_t>(f.normalPairOn) << static_cast<std::int32_t>(f.tangentPairOn)
     << static_cast<std::int32_t>(f.normalCaseOn) << static_cast<std::int32_t>(f.quakeCaseOn);
}

void CSpLoad::Load(Archive& ar, int /*version*/) {
  std::string name = ar.ReadString();
  Fields f;
  std::int32_t concentrated = 0;
  std::int32_t direction = 0;
  std::int32_t switches[4] = {};
  ar >> f.q1 >> f.q2 >> f.x1 >> f.x2 >> concentrated >> direction >> f.angle;
  for (std::int32_t& on : switches) ar >> on;
  constexpr std::string_view kRecord = "load record";
  record_check::RequireCoordinate(kRecord, "x1", f.x1);
  record_check::RequireCoordinate(kRecord, "x2", f.x2);
  record_check::RequireFinite(kRecord, "q1", f.q1);
  record_check::RequireFinite(kRecord, "q2", f.q2);
  record_check::RequireFinite(kRecord, "angle", f.angle);
  f.concentrated = concentrated;
  f.direction = direction;
  f.normalPairOn = switches[0];
  f.tangentPairOn = switches[1];
  f.normalCaseOn = switches[2];
  f.quakeCaseOn = switches[3];
  SetName(name);
  fields_ = f;
}

bool CSpLoad::IsValidSettings() const {
  const Fields& f = fields_;
  if (f.direction == kAtAngle && f.angle == kNoValue) return false;
  if (IsDist()) {
    return f.q1 != kNoValue && f.q2 != kNoValue && f.x1 != kNoValue && f.x2 != kNoValue &&
           f.x1 != f.x2;
  }
  return IsConcent() && f.q1 != kNoValue && f.x1 != kNoValue;
}

bool CSpLoad::IsSame(const CDPoly* other) const {
  const auto* load = dynamic_cast<const CSpLoad*>(other);
  if (load == nullptr || !CDPoly::IsSame(other)) return false;
  const Fields& a = fields_;
  const Fields& b = load->fields_;
  return GetName() == load->GetName() && a.q1 == b.q1 && a.q2 == b.q2 && a.x1 == b.x1 &&
         a.x2 == b.x2 && a.concentrated == b.concentrated && a.direction == b.direction &&
         a.angle == b.angle && a.normalPairOn == b.normalPairOn &&
         a.tangentPairOn == b.tangentPairOn && a.normalCaseOn == b.normalCaseOn &&
         a.quakeCaseOn == b.quakeCaseOn;
}

void CSpLoad::ChangeValid() {
  constexpr double kLoadMin = 0.01;
  constexpr double kLoadMax = 999.99;
  constexpr double kAngleLimit = 180.0;
  Fields& f = fields_;
  f.x1 = RoundInRange(f.x1, -kCoordinateLimit, kCoordinateLimit, kRoundCodeX);
  f.q1 = RoundInRange(f.q1, kLoadMin, kLoadMax, kRoundCode2Decimals);
  if (IsDist()) {
    f.x2 = RoundInRange(f.x2, -kCoordinateLimit, kCoordinateLimit, kRoundCodeX);
    f.q2 = RoundInRange(f.q2, kLoadMin, kLoadMax, kRoundCode2Decimals);
  }
  if (IsConcent() && f.direction == kAtAngle) {
    f.angle = RoundInRange(f.angle, -kAngleLimit, kAngleLimit, kRoundCode1Decimal);
  }
}

void CSpLoad::Normalize() {
  Fields& f = fields_;
  // A concentrated load has no second end to exchange with.
  if (!IsDist() || f.x1 == kNoValue || f.x2 == kNoValue || f.x1 <= f.x2) return;
  std::swap(f.x1, f.x2);
  std::swap(f.q1, f.q2);
}

void CSpLoad::CreateDrawPoly(const CDPoly* ground, double lift) {
  DeleteAll();
  if (!IsValidSettings() || fields_.q1 == 0) return;
  // The ground is followed from left to right.
  std::unique_ptr<CDPoly> reversed;
  const CDPoly* line = nullptr;
  if (ground != nullptr && ground->GetSize() >= 2) {
    line = ground;
    if (!ground->IsLeftToRight()) {
      reversed = ground->RevCopy();
      line = reversed.get();
    }
  }
  if (IsConcent()) {
    BuildConcentratedOutline(line, lift);
  } else {
    Normalize();
    BuildDistributedOutline(line, lift);
  }
}

void CSpLoad::BuildConcentratedOutline(const CDPoly* line, double lift) {
  const double x = fields_.x1;
  CDPoint at(x, 0);
  if (line != nullptr) {
    const double y = line->GetY(x);
    const CDPoint& first = *line->GetFirstPt();
    if (y != kNoValue) {
      at.y = y;
    } else if (first.x > x) {
      at = first;
    }
  }
  Add(at.x, at.y + lift);
}

void CSpLoad::BuildDistributedOutline(const CDPoly* line, double lift) {
  const double x1 = fields_.x1;
  const double x2 = fields_.x2;
  if (line == nullptr) {
    Add(x1, lift);
    Add(x2, lift);
    return;
  }
  const int n = line->GetSize();
  const CDPoint& first = *line->GetFirstPt();
  const CDPoint& last = *line->GetLastPt();

  // The start on the ground, or its first point when the load begins left of it, and the first
  // ground vertex after the start.
  CDPoint start(x1, 0);
  int afterStart = n;
  if (const double y = line->GetY(x1); y != kNoValue) {
    start.y = y;
    const int segment = SegmentHolding(*line, x1, true);
    if (segment >= 0) afterStart = segment + 1;
  } else if (first.x > x1) {
    start = first;
    afterStart = 1;
  }
  // The end on the ground, or its last point when the load ends right of it, and the last ground
  // vertex before the end.
  CDPoint end(x2, 0);
  int beforeEnd = -1;
  if (const double y = line->GetY(x2); y != kNoValue) {
    end.y = y;
    beforeEnd = SegmentHolding(*line, x2, false);
  } else if (last.x < x2) {
    end = last;
    beforeEnd = n - 2;
  }

  Add(start.x, start.y + lift);
  for (int i = afterStart; i <= beforeEnd; ++i) {
    const CDPoint& vertex = *line->GetAt(i);
    Add(vertex.x, vertex.y + lift);
  }
  Add(end.x, end.y + lift);
}

void CSpLoad::Draw(CViewInfo* view, int bold, int /*from*/, int /*to*/) const {
  const int direction = fields_.direction;
  if (!IsValidSettings() || GetSize() == 0 || direction < kVertical || direction > kAtAngle) {
    return;
  }
  Canvas& canvas = *view->dc;
  const ScopedPen pen(canvas, Pen{PenStyle::Solid, bold != 0 ? 2 : 1, kLoadColor});
  // The strokes run from the outline back against the direction of action, so that the heads
  // sit on the outline.
  const double strokeAngle = GetFlatAngle();
  const int length = (IsConcent() ? 15 : 5) * SizeFactor(*view);
  const DevPoint offset = DeviceOffset(*view, strokeAngle, length);
  const DevPoint first = view->LPtoDP(*GetFirstPt());
  const DevPoint last = view->LPtoDP(*GetLastPt());

  StrokePainter painter(canvas, offset);
  painter.Stroke(first);
  HatchOutline(*view, Points(), painter);
  if (IsConcent()) {
    for (const double head : {strokeAngle + 45.0, strokeAngle - 45.0}) {
      canvas.MoveTo(first);
      canvas.LineTo(Shifted(first, DeviceOffset(*view, head, kHeadLength)));
    }
  } else {
    painter.Stroke(last);
  }
  // The line through the stroke ends; a concentrated load has only one.
  if (GetSize() >= 2) {
    std::vector<DevPoint> top;
    for (const auto& p : Points()) top.push_back(Shifted(view->LPtoDP(*p), offset));
    canvas.Polyline(top);
  }
}

double CSpLoad::GetFlatAngle() const {
  switch (fields_.direction) {
    case kVertical:
      return 90.0;
    case kToRight:
      return 0.0;
    case kToLeft:
      return 180.0;
    case kAtAngle: {
      const double angle = 90.0 - fields_.angle;
      return angle > 180.0 ? angle - 360.0 : angle;
    }
    default:
      return 0.0;
  }
}

double CSpLoad::GetConcentAngle() const {
  switch (fields_.direction) {
    case kVertical:
      return 0.0;
    case kToRight:
      return 90.0;
    case kToLeft:
      return -90.0;
    case kAtAngle:
      return fields_.angle;
    default:
      return 0.0;
  }
}

bool CSpLoad::IsMiddleInRange(double xa, double xb) const {
  const double middle = (xa + xb) / 2;
  return fields_.x1 - kBoundaryShift <= middle && middle <= fields_.x2 - kBoundaryShift;
}

bool CSpLoad::IsInRange(double xa, double xb) const {
  if (!IsValidSettings()) return false;
  if (IsDist()) return IsMiddleInRange(xa, xb);
  const double x = fields_.x1 - kBoundaryShift;
  return xa <= x && x <= xb;
}

bool CSpLoad::CalcQ(bool facing, double xa, double xb, double width, double baseAngle,
                    tagLOAD& out) const {
  out = tagLOAD{};
  if (!IsValidSettings()) return false;
  const Fields& f = fields_;
  double theta = GetFlatAngle();
  // A slope facing the other way sees the load mirrored left-right.
  if (!facing) theta = theta < 0 ? -(theta + 180.0) : 180.0 - theta;
  theta = DegToRad(theta);

  tagLOAD q;
  double force = 0;
  if (IsDist()) {
    if (!IsMiddleInRange(xa, xb)) return false;
    if (f.q1 == f.q2) {
      q.qLeft = q.qRight = f.q1;
      force = f.q1 * width;
    } else {
      const auto intensity = [&f](double x) {
        return f.q1 + (f.q2 - f.q1) * (x - f.x1) / (f.x2 - f.x1);
      };
      q.qLeft = intensity(xa);
      q.qRight = intensity(xb);
      force = (q.qLeft + q.qRight) / 2 * width;
    }
  } else {
    if (!(xa - kBoundaryShift <= f.x1 && f.x1 <= xb - kBoundaryShift)) return false;
    q.magnitude = force = f.q1;
    q.angle = GetFlatAngle();
  }
  q.horizontal = std::cos(theta) * force;
  q.vertical1 = q.vertical2 = std::sin(theta) * force;
  q.normal = std::sin(theta - baseAngle) * force;
  q.tangential = std::cos(theta - baseAngle) * force;
  if (f.normalPairOn == 0) q.vertical1 = q.normal = 0;
  if (f.tangentPairOn == 0) q.vertical2 = q.tangential = 0;
  for (double* component : {&q.horizontal, &q.vertical1, &q.vertical2, &q.normal, &q.tangential}) {
    *component = CCoreConfig::GetRound(*component, kRoundCode2Decimals);
  }
  out = q;
  return true;
}
