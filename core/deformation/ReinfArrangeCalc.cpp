// CReinfArrange: the force calculation over all bars, its totals and the graph of the allowable
// forces per bar.

#include <algorithm>
#include <climits>
#include <cmath>
#include <optional>
#include <string>
#include <vector>

#include "core/base/Constants.h"
#include "core/deformation/ReinfArrange.h"
#include "core/geometry/ViewInfo.h"
#include "core/model/GraphAxis.h"
#include "platform/Canvas.h"

namespace {

constexpr double kLarger = 1e-13;

// ---- The graph ----

const Color kGridGrey{0xA0A0A0};
const Color kWhite = Color::Rgb(255, 255, 255);
// More vertical grid lines than this are not drawn: the force range is not one a graph shows.
constexpr int kMaxGridLines = 1000;

struct SeriesStyle {
  const char* label;
  Color color;
  bool square;                        // a hollow square marker and no joining lines
  int legendHeight;                   // the legend row above the plot's bottom edge
  double CReinforce::Result::*value;  // the force drawn
};

const SeriesStyle kSeries[CReinfArrange::kSeriesCount] = {
    {"T1pa", Color{0xFA00C8}, false, 85, &CReinforce::Result::T1pa},
    {"T2pa", Color{0xFA0000}, false, 70, &CReinforce::Result::T2pa},
    {"Tsa", Color{0x00B400}, false, 55, &CReinforce::Result::Tsa},
    {"Tpa", Color{0x0000FA}, true, 40, &CReinforce::Result::Tpa},
};

// Legend layout, in units of the font factor: the gap from the plot's right edge, the length of
// the sample line and the gap before the label.
constexpr int kLegendGap = 15;
constexpr int kLegendLine = 20;
constexpr int kLegendLabelGap = 5;
// Text layout, in units of the font factor: the gap between a label and the axis, half a text
// height, and the offsets of the titles from the plot's edges.
constexpr int kLabelGap = 3;
constexpr int kHalfText = 6;
constexpr int kTitleAbove = 15;
constexpr int kTitleBelow = 18;

// The force step of the vertical grid lines.
double ValueStep(double upper) {
  if (upper > 1000) return 200;
  if (upper > 500) return 100;
  return 50;
}

// The mapping of (force, bar position) onto the plot area: the view's world area spans it, the
// lower limits at its left and bottom edges.
class GraphMap {
 public:
  // None while the world area is not set or empty in either direction.
  static std::optional<GraphMap> Of(const CViewInfo& view, const DevRect& plot) {
    const bool usable = view.xmin != kAreaNotSet && std::isfinite(view.xmin) &&
                        std::isfinite(view.xmax) && std::isfinite(view.ymin) &&
                        std::isfinite(view.ymax) && view.xmax > view.xmin && view.ymax > view.ymin;
    if (!usable) return std::nullopt;
    return GraphMap(view, plot);
  }

  DevPoint At(double value, double position) const {
    const double fx = (value - xmin_) / (xmax_ - xmin_);
    const double fy = (position - ymin_) / (ymax_ - ymin_);
    return {ToDeviceInt(plot_.left + fx * (plot_.right - plot_.left)),
            ToDeviceInt(plot_.bottom + fy * (plot_.top - plot_.bottom))};
  }
  double XMin() const { return xmin_; }
  double XMax() const { return xmax_; }
  double YMin() const { return ymin_; }
  double YMax() const { return ymax_; }

 private:
  GraphMap(const CViewInfo& view, const DevRect& plot)
      : xmin_(view.xmin), xmax_(view.xmax), ymin_(view.ymin), ymax_(view.ymax), plot_(plot) {}

  double xmin_;
  double xmax_;
  double ymin_;
  double ymax_;
  DevRect plot_;
};

Font GraphFont(const CViewInfo& view) {
  const int m = view.GetFontMultiple();
  Font font;
  font.height = 12 * m;
  font.width = 6 * m;
  font.weight = 400;
  font.face = "ＭＳ ゴシック";
  font.charset = FontCharset::ShiftJis;
  return font;
}

// +1 where "down" is toward larger device y; the printer's y grows upward.
int Down(const CViewInfo& view) { return view.IsPrint() ? -1 : 1; }

// The marker of a series around p: a circle or a square, larger on the printer.
DevRect MarkerAround(const CViewInfo& view, DevPoint p, bool square) {
  const int before = square ? (view.IsPrint() ? 59 : 5) : (view.IsPrint() ? 39 : 2);
  const int after = before + 1;
  return {p.x - before, p.y - before, p.x + after, p.y + after};
}

void DrawMarker(Canvas& canvas, const CViewInfo& view, DevPoint p, bool square) {
  const DevRect rect = MarkerAround(view, p, square);
  if (square) {
    canvas.Rectangle(rect);
  } else {
    canvas.Ellipse(rect);
  }
}

// Pen and brush of a series: filled circles, hollow squares.
void SelectSeries(Canvas& canvas, const SeriesStyle& style) {
  canvas.SelectPen(Pen{PenStyle::Solid, 1, style.color});
  canvas.SelectBrush(Brush{style.square ? BrushStyle::Null : BrushStyle::Solid, style.color});
}

}  // namespace

// ---- Forces and totals ----

void CReinfArrange::Calc(int set, const CDPolyArray* strata, const CSpWaterGroup* water,
                         const CSpSlideWork* slip, const CPrmReinf& prm) {
  ClearRes(set);
  if (strata == nullptr || slip == nullptr) return;
  CreateZone(set, *slip);
  for (const auto& bar : bars_) bar->Calc(set, *strata, water, *slip, prm);
}

double CReinfArrange::GetTotalSh(int set) const {
  double sum = 0.0;
  for (const auto& bar : bars_) {
    const double sh = bar->GetResult(set).Sh;
    if (sh != kNoValue) sum += sh;
  }
  return RoundReinf(sum);
}

double CReinfArrange::GetTotalSs(int set) const {
  double sum = 0.0;
  for (const auto& bar : bars_) {
    const double ss = bar->GetResult(set).Ss;
    if (ss != kNoValue) sum += ss;
  }
  return RoundReinf(sum);
}

double CReinfArrange::GetTotalSr(int set) const {
  return RoundReinf(GetTotalSh(set) + GetTotalSs(set));
}

double CReinfArrange::GetMaxTpa(int set) const {
  double largest = kNoValue;
  for (const auto& bar : bars_) {
    const CReinforce::Result& r = bar->GetResult(set);
    for (const double v : {r.T1pa, r.T2pa, r.Tsa}) {
      if (v - largest > kLarger) largest = v;
    }
  }
  return largest;
}

// ---- The Tpa graph ----

void CReinfArrange::DrawTpaGraphStart(CViewInfo* view, const DevRect& drawArea,
                                      const DevRect& plotArea, int set) {
  graphRect_ = plotArea;
  Canvas& canvas = *view->dc;
  const ScopedCanvasState restore(canvas);
  canvas.SetClipRect(drawArea);
  SetTpaGridArea(view, drawArea);
  DrawTpaGraph(view, set, true);
}

void CReinfArrange::SetTpaGridArea(CViewInfo* view, const DevRect& drawArea) const {
  Canvas& canvas = *view->dc;
  const ScopedCanvasState restore(canvas);
  const DevRect& plot = graphRect_;
  if (view->IsDraw()) canvas.FillRect(drawArea, Brush{BrushStyle::Solid, kWhite});
  const std::optional<GraphMap> map = GraphMap::Of(*view, plot);
  const int n = GetSize();

  // Bar positions that lie in the bar range, and the force steps that lie in the force range.
  std::vector<int> positions;
  std::vector<double> values;
  if (map) {
    for (int p = 1; p <= n; ++p) {
      if (p >= map->YMin() && p <= map->YMax()) positions.push_back(p);
    }
    const double step = ValueStep(map->XMax());
    const double first = RoundUp(map->XMin(), step);
    const double count = std::floor((map->XMax() - first) / step + 1e-9) + 1;
    if (count >= 1 && count <= kMaxGridLines) {
      for (int i = 0; i < static_cast<int>(count); ++i) values.push_back(first + i * step);
    }
  }

  canvas.SelectPen(Pen{PenStyle::Dot, 1, kGridGrey});
  for (const int p : positions) {
    canvas.MoveTo(map->At(map->XMin(), p));
    canvas.LineTo(map->At(map->XMax(), p));
  }
  for (const double v : values) {
    canvas.MoveTo(map->At(v, map->YMin()));
    canvas.LineTo(map->At(v, map->YMax()));
  }
  canvas.SelectPen(Pen{PenStyle::Solid, 1, kBlack});
  canvas.SelectBrush(Brush{BrushStyle::Null, kWhite});
  canvas.Rectangle(plot);

  const int m = view->GetFontMultiple();
  const int down = Down(*view);
  canvas.SelectFont(GraphFont(*view));
  canvas.SetTextColor(kBlack);
  canvas.SetBackgroundMode(BackgroundMode::Transparent);
  // Bars are numbered from the top: position p shows bar n + 1 - p.
  canvas.SetTextAlign(TextAlign::Right | TextAlign::Top);
  for (const int p : positions) {
    const DevPoint at = map->At(map->XMin(), p);
    canvas.TextOut({plot.left - kLabelGap * m, at.y - kHalfText * m * down},
                   std::to_string(n + 1 - p));
  }
  canvas.SetTextAlign(TextAlign::Center | TextAlign::Top);
  for (const double v : values) {
    canvas.TextOut({map->At(v, map->YMin()).x, plot.bottom + kLabelGap * m * down},
                   DoubleToStr(v, 3));
  }
  canvas.TextOut({plot.left, plot.top - kTitleAbove * m * down}, "補強材No");
  canvas.TextOut({(plot.left + plot.right) / 2, plot.bottom + kTitleBelow * m * down},
                 "許容補強材力 (Tpa)");
}

void CReinfArrange::DrawTpaGraph(CViewInfo* view, int set, bool legend) const {
  Canvas& canvas = *view->dc;
  const ScopedCanvasState restore(canvas);
  const std::optional<GraphMap> map = GraphMap::Of(*view, graphRect_);
  const int n = GetSize();
  for (int s = 0; s < kSeriesCount; ++s) {
    const SeriesStyle& style = kSeries[s];
    if (legend) DrawLineType(view, static_cast<TpaSeries>(s));
    if (!map) continue;
    SelectSeries(canvas, style);
    // Pair by pair: the line joins two positive values; each positive value has its marker.
    for (int k = 0; k + 1 < n; ++k) {
      const double v0 = bars_[static_cast<std::size_t>(k)]->GetResult(set).*style.value;
      const double v1 = bars_[static_cast<std::size_t>(k) + 1]->GetResult(set).*style.value;
      const DevPoint p0 = map->At(v0, n - k);
      const DevPoint p1 = map->At(v1, n - k - 1);
      if (!style.square && v0 > 0 && v1 > 0) {
        canvas.MoveTo(p0);
        canvas.LineTo(p1);
      }
      if (k == 0 && v0 > 0) DrawMarker(canvas, *view, p0, style.square);
      if (v1 > 0) DrawMarker(canvas, *view, p1, style.square);
    }
  }
}

void CReinfArrange::DrawLineType(CViewInfo* view, TpaSeries series) const {
  const SeriesStyle& style = kSeries[series];
  Canvas& canvas = *view->dc;
  const ScopedCanvasState restore(canvas);
  const int m = view->GetFontMultiple();
  const int down = Down(*view);
  const DevPoint at{graphRect_.right + kLegendGap * m,
                    graphRect_.bottom - style.legendHeight * m * down};
  SelectSeries(canvas, style);
  if (!style.square) {
    canvas.MoveTo(at);
    canvas.LineTo({at.x + kLegendLine * m, at.y});
  }
  DrawMarker(canvas, *view, {at.x + kLegendLine * m / 2, at.y}, style.square);
  canvas.SelectFont(GraphFont(*view));
  canvas.SetTextColor(kBlack);
  canvas.SetBackgroundMode(BackgroundMode::Transparent);
  canvas.SetTextAlign(TextAlign::Left | TextAlign::Top);
  canvas.TextOut({at.x + (kLegendLine + kLegendLabelGap) * m, at.y - kHalfText * m * down},
                 style.label);
}
