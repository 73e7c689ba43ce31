// CPrmGrid: the drawing area and grid of a case, its record and drawing.

#include "core/model/PrmGrid.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

#include "core/geometry/RecordCheck.h"
#include "core/geometry/ViewInfo.h"
#include "platform/Archive.h"
#include "platform/Canvas.h"
#include "platform/NumberText.h"

namespace {

constexpr double kBound = 9999.9;
constexpr double kEmptyWidening = 30.0;
constexpr double kDefaultPitch = 10.0;
// Labels stand half a world unit outside the frame.
constexpr double kLabelOffset = 0.5;
// No axis draws more lines or labels than this, whatever the pitch.
constexpr double kMaxLines = 10000.0;

const Color kGridColor = Color::Rgb(200, 200, 200);

int ReadInt(Archive& ar) {
  std::int32_t v = 0;
  ar >> v;
  return v;
}

// Both ends in order and within the bounds; an empty range widens by 30, downward when upward
// would pass the bound.
void NormalizeRange(double& lo, double& hi) {
  if (lo > hi) std::swap(lo, hi);
  lo = std::clamp(lo, -kBound, kBound);
  hi = std::clamp(hi, -kBound, kBound);
  if (lo != hi) return;
  if (hi + kEmptyWidening > kBound) {
    lo -= kEmptyWidening;
  } else {
    hi += kEmptyWidening;
  }
}

void NormalizePitch(double& pitch) {
  if (pitch <= 0.0 || pitch > kBound) pitch = kDefaultPitch;
}

// The multiples of the pitch from the first one at or above `from` up to `to`; none for a pitch
// that is not positive or would give more than kMaxLines positions. The list ends where a step
// no longer moves the value: far from zero a small pitch is lost in the rounding.
std::vector<double> Multiples(double from, double to, double pitch) {
  if (!(pitch > 0.0) || !std::isfinite(from) || !std::isfinite(to) ||
      (to - from) / pitch > kMaxLines) {
    return {};
  }
  double v = RoundOff(from, pitch);
  if (v < from) v += pitch;
  std::vector<double> values;
  while (v <= to) {
    values.push_back(v);
    const double next = v + pitch;
    if (next == v) break;
    v = next;
  }
  return values;
}

bool IsWhole(double v) { return std::floor(v) == v; }

// printf's "%<width>.<decimals>lf": the fixed text padded with blanks on the left.
std::string PaddedFixed(double value, int width, int decimals) {
  std::string text = FormatFixed(value, decimals);
  if (static_cast<int>(text.size()) < width) text.insert(0, width - text.size(), ' ');
  return text;
}

}  // namespace

void CPrmGrid::Store(Archive& ar, int /*version*/) const {
  ar << x1 << y1 << x2 << y2 << xLinePitch << yLinePitch << xLabelPitch << yLabelPitch;
  ar << static_cast<std::int32_t>(autoArea) << depthBelow << static_cast<std::int32_t>(gridShown);
}

void CPrmGrid::Load(Archive& ar, int /*version*/) {
  CPrmGrid read;
  ar >> read.x1 >> read.y1 >> read.x2 >> read.y2;
  ar >> read.xLinePitch >> read.yLinePitch >> read.xLabelPitch >> read.yLabelPitch;
  read.autoArea = ReadInt(ar);
  ar >> read.depthBelow;
  read.gridShown = ReadInt(ar);
  if (!read.IsSound()) {
    record_check::Refuse("grid",
                         "a value is not a number or lies beyond the coordinate limit, or "
                         "a pitch is set without the whole area");
  }
  *this = read;
}

bool CPrmGrid::IsSound() const {
  const double values[] = {x1,         y1,          x2,          y2,        xLinePitch,
                           yLinePitch, xLabelPitch, yLabelPitch, depthBelow};
  if (!std::all_of(std::begin(values), std::end(values), record_check::IsSoundCoordinate)) {
    return false;
  }
  const bool areaSet = x1 != kNoValue && y1 != kNoValue && x2 != kNoValue && y2 != kNoValue;
  const double pitches[] = {xLinePitch, yLinePitch, xLabelPitch, yLabelPitch};
  return areaSet || std::all_of(std::begin(pitches), std::end(pitches),
                                [](double p) { return p == kNoValue; });
}

bool CPrmGrid::IsSame(const CPrmGrid& other) const {
  return x1 == other.x1 && y1 == other.y1 && x2 == other.x2 && y2 == other.y2 &&
         xLinePitch == other.xLinePitch && yLinePitch == other.yLinePitch &&
         xLabelPitch == other.xLabelPitch && yLabelPitch == other.yLabelPitch &&
         autoArea == other.autoArea && depthBelow == other.depthBelow &&
         gridShown == other.gridShown;
}

bool CPrmGrid::IsValid() const {
  if (x1 == kNoValue || y1 == kNoValue || x2 == kNoValue || y2 == kNoValue) return false;
  return autoArea == 0 || depthBelow != kNoValue;
}

void CPrmGrid::SetArea(double left, double right, double top, double bottom) {
  x1 = left;
  x2 = right;
  y1 = bottom;
  y2 = top;
  Normalize();
}

void CPrmGrid::Normalize() {
  NormalizeRange(x1, x2);
  NormalizeRange(y1, y2);
  for (double* pitch : {&xLinePitch, &yLinePitch, &xLabelPitch, &yLabelPitch}) {
    NormalizePitch(*pitch);
  }
}

double CPrmGrid::GetDistX() const { return std::fabs(x2 - x1); }

double CPrmGrid::GetDistY() const { return std::fabs(y2 - y1); }

double CPrmGrid::GetMaxDistXY() const { return std::max(GetDistX(), GetDistY()); }

double CPrmGrid::GetAspectXY() const { return GetDistY() / GetDistX(); }

CDPoint CPrmGrid::GetCenter() const { return CDPoint((x1 + x2) / 2, (y1 + y2) / 2, 0); }

void CPrmGrid::Draw(CViewInfo* view) const {
  if (gridShown == 0) return;
  Canvas& canvas = *view->dc;
  const ScopedCanvasState restore(canvas);

  canvas.SelectPen(Pen{PenStyle::Dot, 1, kGridColor});
  for (const double x : Multiples(view->xmin, view->xmax, xLinePitch)) {
    view->Line(canvas, x, view->ymin, x, view->ymax);
  }
  for (const double y : Multiples(view->ymin, view->ymax, yLinePitch)) {
    view->Line(canvas, view->xmin, y, view->xmax, y);
  }

  canvas.SelectPen(Pen{PenStyle::Solid, 1, kGridColor});
  view->Line(canvas, x1, y1, x2, y1);
  view->Line(canvas, x2, y1, x2, y2);
  view->Line(canvas, x2, y2, x1, y2);
  view->Line(canvas, x1, y2, x1, y1);

  const bool whole = IsWhole(xLabelPitch) && IsWhole(yLabelPitch);
  const auto label = [whole](double v) {
    return whole ? PaddedFixed(v, 4, 0) : PaddedFixed(v, 6, 1);
  };
  const int m = view->GetFontMultiple();
  const bool printing = view->IsPrint() || view->IsPreview();
  Font font;
  font.height = 12 * m;
  font.width = 6 * m;
  font.weight = 400;
  font.face = "ＭＳ ゴシック";
  canvas.SelectFont(font);
  canvas.SetTextAlign(TextAlign::Right | TextAlign::Top);
  for (const double x : Multiples(x1, x2, xLabelPitch)) {
    canvas.TextOut(view->LPtoDP(CDPoint(x, y1 - kLabelOffset)), label(x));
  }
  // The y labels run upward along the left edge; the printer turns its y the other way.
  font.escapement = printing ? 2700 : 900;
  canvas.SelectFont(font);
  for (const double y : Multiples(y1, y2, yLabelPitch)) {
    canvas.TextOut(view->LPtoDP(CDPoint(x1 - kLabelOffset, y)), label(y));
  }
}
