// CFit: the test-curve fit, its tabulation, graph ranges, record and graph.

#include "core/model/Fit.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>
#include <string>

#include "core/geometry/ViewInfo.h"
#include "platform/Archive.h"
#include "platform/Canvas.h"
#include "platform/NumberText.h"

namespace {

// The fitted count is in the record from this document version on.
constexpr int kCountVersion = 10;

// The strains of the tabulated curve: 1, 2, 5 and 7 in each decade from 1e-6 to 1e-1.
constexpr double kTableStrains[] = {1e-6, 2e-6, 5e-6, 7e-6, 1e-5, 2e-5, 5e-5, 7e-5,
                                    1e-4, 2e-4, 5e-4, 7e-4, 1e-3, 2e-3, 5e-3, 7e-3,
                                    1e-2, 2e-2, 5e-2, 7e-2, 1e-1, 2e-1, 5e-1, 7e-1};

// The exponent search.
constexpr double kStartExponent = 1.0;
constexpr double kStartStep = 0.1;
constexpr double kFinalStep = 1e-10;
constexpr int kMaxRounds = 1000;

// The drawn curve of entered coefficients: a point every tenth of a decade.
constexpr double kCurveStep = 0.1;
// Every positive double lies within these many decades, so a wider strain range is not a range
// of strains; and no axis draws more grid lines than this.
constexpr double kMaxDecades = 700.0;
constexpr double kMaxGridLines = 1000.0;

const Color kSilver = Color::Rgb(192, 192, 192);
const Color kGridGrey = Color::Rgb(160, 160, 160);
const Color kCurveBlue = Color::Rgb(0, 0, 128);
const Color kPointOrange = Color::Rgb(243, 152, 0);
constexpr int kTickLength = 3;
constexpr int kPointDiameter = 5;
constexpr int kLabelGap = 4;
constexpr int kSecondLineColour = 1;

double CurveValue(double b, double c, double strain) {
  return 1.0 / (1.0 + b * std::pow(strain, c));
}

// b and c are kept to 5 decimals, rounded half up; 0 and unset stay.
double RoundTo5Decimals(double x) {
  if (x == 0.0 || x == kNoValue) return x;
  return std::floor((x * 999999.9999999999 + 5.0) / 10.0) * 1e-5;
}

// Infinities, NaN and negative subnormals cannot be a coefficient.
bool IsUsableCandidate(double b) {
  if (std::isnan(b) || std::isinf(b)) return false;
  return !(std::fpclassify(b) == FP_SUBNORMAL && std::signbit(b));
}

// v rounded up (down) to a multiple of the pitch; 0 and unset stay, a pitch of 0 or less is 1.
double CeilToPitch(double v, double pitch) {
  if (v == 0.0 || v == kNoValue) return v;
  const double p = pitch > 0.0 ? pitch : 1.0;
  return std::ceil(v / p) * p;
}

double FloorToPitch(double v, double pitch) {
  if (v == 0.0 || v == kNoValue) return v;
  const double p = pitch > 0.0 ? pitch : 1.0;
  return std::floor(v / p) * p;
}

// The pitch unit of the G/G0 axis for a span.
double PitchUnit(double span) {
  if (span < 5.0) return 0.1;
  if (span < 50.0) return 1.0;
  if (span < 500.0) return 10.0;
  return 100.0;
}

// A range of values, empty until the first value.
struct Extremes {
  double low = std::numeric_limits<double>::max();
  double high = std::numeric_limits<double>::lowest();
  void Add(double v) {
    low = std::min(low, v);
    high = std::max(high, v);
  }
  bool IsEmpty() const { return low > high; }
  // Ends closer than 1e-13 spread to half the low and one and a half times the high end.
  void Widen() {
    if (high - low < 1e-13) {
      low *= 0.5;
      high *= 1.5;
    }
  }
};

// The graph's ranges when they can be drawn: both set and finite, in order, the strain range
// within the decades of a double and the G/G0 axis within the grid-line limit.
struct Axes {
  double xmin;
  double xmax;
  double ymin;
  double ymax;
  double pitchY;
};

bool IsSetAndFinite(double v) { return v != kNoValue && std::isfinite(v); }

bool IsUsableStrainRange(double xmin, double xmax) {
  return IsSetAndFinite(xmin) && IsSetAndFinite(xmax) && xmin <= xmax && xmax - xmin <= kMaxDecades;
}

std::optional<Axes> UsableAxes(const CDrawResGraphSet& graph) {
  const Axes axes{graph.minX, graph.maxX, graph.minY, graph.maxY, graph.pitchY};
  if (!IsUsableStrainRange(axes.xmin, axes.xmax) || axes.xmin == axes.xmax) return std::nullopt;
  if (!IsSetAndFinite(axes.ymin) || !IsSetAndFinite(axes.ymax) || axes.ymin >= axes.ymax) {
    return std::nullopt;
  }
  if (!IsSetAndFinite(axes.pitchY) || axes.pitchY <= 0.0 ||
      (axes.ymax - axes.ymin) / axes.pitchY > kMaxGridLines) {
    return std::nullopt;
  }
  return axes;
}

// Far beyond any device, and far enough inside the int range that a marker around the point
// stays in it.
constexpr double kDeviceLimit = INT_MAX / 2;

int ToDeviceInt(double v) {
  if (std::isnan(v)) return 0;
  return static_cast<int>(std::clamp(std::round(v), -kDeviceLimit, kDeviceLimit));
}

// (log10 strain, G/G0) to the device: the ranges fill the inner rectangle, the minimum at its
// left and bottom edges.
DevPoint ToDevice(const Axes& axes, const DevRect& inner, double x, double y) {
  const double fx = (x - axes.xmin) / (axes.xmax - axes.xmin);
  const double fy = (y - axes.ymin) / (axes.ymax - axes.ymin);
  return {ToDeviceInt(inner.left + fx * (inner.right - inner.left)),
          ToDeviceInt(inner.bottom + fy * (inner.top - inner.bottom))};
}

Font GraphFont(const CViewInfo& view, int escapement) {
  const int m = view.GetFontMultiple();
  Font font;
  font.height = 12 * m;
  font.width = 6 * m;
  font.weight = 400;
  font.escapement = escapement;
  font.face = "ＭＳ ゴシック";
  return font;
}

}  // namespace

// ---- CFitData ----

bool CFitData::IsSame(const CFitData& other) const {
  return strain == other.strain && measured == other.measured && fitted == other.fitted;
}

void CFitData::Store(Archive& ar) const { ar << strain << measured << fitted; }

void CFitData::Load(Archive& ar) {
  CFitData read;
  ar >> read.strain >> read.measured >> read.fitted;
  *this = read;
}

// ---- CFit ----

void CFit::Init() {
  mode = kModeCoefficients;
  b = kNoValue;
  c = kNoValue;
  count_ = 0;
  for (CFitData& p : points) p.Init();
  graph.Init();
  graph.minX = -6.0;
  graph.maxX = 0.0;
  graph.maxY = 1.0;
  graph.pitchX = 0.1;
  graph.pitchY = 0.2;
}

void CFit::Copy(const CFit& other) {
  mode = other.mode;
  b = other.b;
  c = other.c;
  count_ = other.count_;
  points = other.points;
}

bool CFit::IsSame(const CFit& other) const {
  return mode == other.mode && b == other.b && c == other.c;
}

bool CFit::IsValidFitCalc() const {
  if (mode == kModeTestValues) return GetSikenListSize() >= 2;
  if (mode == kModeCoefficients) return b != kNoValue && c != kNoValue;
  return false;
}

void CFit::ClearRes(bool all) {
  count_ = 0;
  for (CFitData& p : points) {
    if (all) {
      p.Init();
    } else {
      p.ClearRes();
    }
  }
}

int CFit::GetSikenListSize() const {
  return static_cast<int>(std::count_if(points.begin(), points.end(),
                                        [](const CFitData& p) { return p.IsValidSiken(); }));
}

void CFit::CalcFit() {
  if (!IsValidFitCalc()) return;
  if (mode == kModeTestValues) {
    FitToTestValues();
  } else {
    Tabulate();
  }
  SetGraphMaxMin();
}

double CFit::Curve(double strain) const {
  if (b == kNoValue || c == kNoValue) return kNoValue;
  const double value = CurveValue(b, c, strain);
  return std::isfinite(value) ? value : kNoValue;
}

void CFit::Tabulate() {
  count_ = 0;
  for (CFitData& p : points) p.Init();
  for (std::size_t i = 0; i < std::size(kTableStrains); ++i) {
    points[i].strain = kTableStrains[i];
    points[i].fitted = Curve(kTableStrains[i]);
  }
}

// A search over the exponent c: for a trial c each valid point proposes the b that puts the curve
// through it, and the proposal with the least squared error over all points is the round's b. The
// exponent walks by a step that turns back and shrinks tenfold whenever the error grows, until
// the step is below 1e-10.
void CFit::FitToTestValues() {
  std::vector<const CFitData*> valid;
  for (const CFitData& p : points) {
    if (p.IsValidSiken()) valid.push_back(&p);
  }
  // A point where the curve has no value (a negative strain) cannot tell a better b from a worse
  // one and is left out of the error.
  const auto squaredError = [&valid](double bk, double exponent) {
    double error = 0.0;
    for (const CFitData* p : valid) {
      const double r = p->measured - CurveValue(bk, exponent, p->strain);
      if (std::isfinite(r)) error += r * r;
    }
    return error;
  };

  double exponent = kStartExponent;
  double step = kStartStep;
  double direction = -1.0;
  double previousError = std::numeric_limits<double>::max();
  for (int round = 0; round < kMaxRounds; ++round) {
    double bestError = std::numeric_limits<double>::max();
    std::optional<double> bestB;
    for (const CFitData* p : valid) {
      const double bk = (1.0 - p->measured) / (std::pow(p->strain, exponent) * p->measured);
      if (!IsUsableCandidate(bk)) continue;
      const double error = squaredError(bk, exponent);
      if (error < bestError) {
        bestError = error;
        bestB = bk;
      }
    }
    // No point gives a usable b: the search cannot go on, and the coefficients stay.
    if (!bestB) break;
    if (step < kFinalStep) {
      b = RoundTo5Decimals(*bestB);
      c = RoundTo5Decimals(exponent);
      break;
    }
    if (round >= 1 && bestError > previousError) {
      direction = -direction;
      step /= 10.0;
    }
    previousError = bestError;
    const double next = exponent + direction * step;
    // The exponent stays positive: the step shrinks to a tenth of the exponent instead.
    if (next <= 0.0) {
      step = 0.1 * exponent;
    } else {
      exponent = next;
    }
  }
  RecomputeFitted();
}

void CFit::RecomputeFitted() {
  ClearRes(false);
  for (CFitData& p : points) {
    if (!p.IsValidSiken()) continue;
    p.fitted = Curve(p.strain);
    ++count_;
  }
}

void CFit::SetGraphMaxMin() {
  int examined = 0;
  if (mode == kModeTestValues) examined = kPointCount;
  if (mode == kModeCoefficients) examined = std::clamp(count_, 0, kPointCount);
  Extremes strains;
  Extremes values;
  for (int i = 0; i < examined; ++i) {
    const CFitData& p = points[static_cast<std::size_t>(i)];
    const double value = mode == kModeTestValues ? p.measured : p.fitted;
    if (p.strain == kNoValue || value == kNoValue) continue;
    if (p.strain > 0.0) strains.Add(p.strain);
    if (p.fitted != kNoValue) values.Add(p.fitted);
  }
  if (strains.IsEmpty() || values.IsEmpty()) return;
  strains.Widen();
  values.Widen();

  graph.pitchX = 1.0;
  graph.maxX = std::ceil(std::log10(strains.high));
  graph.minX = std::floor(std::log10(strains.low));

  const double span = values.high - values.low;
  double pitch = RoundOff(span / 6.0, PitchUnit(span));
  if (std::fabs(pitch) < 1e-13) pitch = 0.001;
  graph.pitchY = pitch;
  graph.maxY = CeilToPitch(values.high, pitch);
  graph.minY = FloorToPitch(values.low, pitch);
}

std::vector<CFitData> CFit::GetFitDataList() const {
  if (!IsUsableStrainRange(graph.minX, graph.maxX)) return {};
  std::vector<CFitData> list;
  if (mode == kModeTestValues) {
    for (const CFitData& p : points) {
      if (p.IsValidSiken()) list.push_back(p);
    }
  } else if (mode == kModeCoefficients) {
    for (double e = graph.minX; e <= graph.maxX + 1e-9; e += kCurveStep) {
      CFitData p;
      p.strain = std::pow(10.0, e);
      p.fitted = Curve(p.strain);
      list.push_back(p);
    }
  }
  return list;
}

void CFit::DrawGraph(CViewInfo* view, const DevRect& plotArea, const DevRect& inner) const {
  DrawGraphGridOnly(view, plotArea, inner);
  DrawGraphDataOnly(view, inner);
}

void CFit::DrawGraphGridOnly(CViewInfo* view, const DevRect& plotArea, const DevRect& inner) const {
  Canvas& canvas = *view->dc;
  const ScopedCanvasState restore(canvas);
  if (view->IsDraw()) {
    canvas.SelectPen(Pen{PenStyle::Solid, 1, kSilver});
    canvas.SelectBrush(Brush{BrushStyle::Solid, graph.background});
    canvas.Rectangle(plotArea);
    canvas.FillRect(inner, Brush{BrushStyle::Solid, kSilver});
  }
  const std::optional<Axes> axes = UsableAxes(graph);
  if (!axes) return;

  // Offsets away from the plot: downward below it and leftward beside it, whichever way the
  // device's y runs.
  const int down = inner.bottom >= inner.top ? 1 : -1;
  const int m = view->GetFontMultiple();
  const int textHeight = 12 * m;
  canvas.SelectPen(Pen{PenStyle::Solid, 1, kGridGrey});
  canvas.SetBackgroundMode(BackgroundMode::Transparent);
  canvas.SelectFont(GraphFont(*view, 0));

  // Strain: a line and a label at every decade, ticks at 2 to 9 times it.
  canvas.SetTextAlign(TextAlign::Center | TextAlign::Top);
  for (double e = std::round(axes->xmin); e <= axes->xmax; e += 1.0) {
    const DevPoint bottom = ToDevice(*axes, inner, e, axes->ymin);
    canvas.MoveTo(bottom);
    canvas.LineTo(ToDevice(*axes, inner, e, axes->ymax));
    canvas.TextOut({bottom.x, inner.bottom + kLabelGap * down}, DoubleToExpStr(std::pow(10.0, e)));
    for (int k = 2; k <= 9; ++k) {
      const double x = e + std::log10(static_cast<double>(k));
      if (x > axes->xmax) break;
      const DevPoint tick = ToDevice(*axes, inner, x, axes->ymin);
      canvas.MoveTo(tick);
      canvas.LineTo({tick.x, tick.y - kTickLength * down});
    }
  }
  canvas.TextOut(
      {(inner.left + inner.right) / 2, inner.bottom + (2 * kLabelGap + textHeight) * down}, "γ");

  // G/G0: a line and a label at every pitch.
  canvas.SetTextAlign(TextAlign::Right | TextAlign::Top);
  const int steps = static_cast<int>(std::floor((axes->ymax - axes->ymin) / axes->pitchY + 1e-9));
  for (int i = 0; i <= steps; ++i) {
    const double y = axes->ymin + i * axes->pitchY;
    const DevPoint left = ToDevice(*axes, inner, axes->xmin, y);
    canvas.MoveTo(left);
    canvas.LineTo(ToDevice(*axes, inner, axes->xmax, y));
    const std::string text = std::fabs(y) < 1e-13 ? "0" : FormatFixed(y, 1);
    canvas.TextOut({inner.left - kLabelGap, left.y - textHeight / 2 * down}, text);
  }
  canvas.SelectFont(GraphFont(*view, 900));
  canvas.SetTextAlign(TextAlign::Center | TextAlign::Top);
  canvas.TextOut({plotArea.left + kLabelGap, (inner.top + inner.bottom) / 2}, "G/G0");
}

void CFit::DrawGraphDataOnly(CViewInfo* view, const DevRect& inner) const {
  const std::optional<Axes> axes = UsableAxes(graph);
  if (!axes) return;
  Canvas& canvas = *view->dc;
  const ScopedCanvasState restore(canvas);
  canvas.SetClipRect(inner);
  const std::vector<CFitData> list = GetFitDataList();

  // The curve, broken where a point has no value (a strain of 0 or less has no logarithm).
  canvas.SelectPen(Pen{PenStyle::Solid, 1, kCurveBlue});
  std::vector<DevPoint> run;
  const auto flush = [&canvas, &run] {
    if (run.size() >= 2) canvas.Polyline(run);
    run.clear();
  };
  for (const CFitData& p : list) {
    if (p.strain <= 0.0 || p.fitted == kNoValue) {
      flush();
      continue;
    }
    run.push_back(ToDevice(*axes, inner, std::log10(p.strain), p.fitted));
  }
  flush();

  if (mode == kModeTestValues) {
    canvas.SelectPen(Pen{PenStyle::Solid, 1, kPointOrange});
    canvas.SelectBrush(Brush{BrushStyle::Solid, graph.lineColors[kSecondLineColour]});
    for (const CFitData& p : list) {
      if (p.strain <= 0.0) continue;
      const DevPoint at = ToDevice(*axes, inner, std::log10(p.strain), p.measured);
      const int half = kPointDiameter / 2;
      canvas.Ellipse(
          {at.x - half, at.y - half, at.x - half + kPointDiameter, at.y - half + kPointDiameter});
    }
  }
  canvas.SetClipRect(std::nullopt);
}

void CFit::Store(Archive& ar, int version) const {
  ar << static_cast<std::int32_t>(mode) << b << c;
  if (version >= kCountVersion) ar << static_cast<std::int32_t>(count_);
  for (const CFitData& p : points) p.Store(ar);
}

void CFit::Load(Archive& ar, int version) {
  CFit read = *this;
  std::int32_t readMode = 0;
  ar >> readMode >> read.b >> read.c;
  read.mode = readMode;
  read.count_ = 0;
  if (version >= kCountVersion) {
    std::int32_t count = 0;
    ar >> count;
    if (count < 0 || count > kPointCount) {
      throw ArchiveException(ArchiveException::Cause::BadFormat, "fit: point count out of range");
    }
    read.count_ = count;
  }
  for (CFitData& p : read.points) p.Load(ar);
  *this = read;
}
