// CResShear: the graph of the cumulative shear displacement over the seismic coefficient.

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "core/base/Constants.h"
#include "core/deformation/ResShear.h"
#include "core/geometry/ViewInfo.h"
#include "core/model/GraphAxis.h"
#include "platform/Canvas.h"

namespace {

const Color kSilver = Color::Rgb(192, 192, 192);
const Color kGridGrey = Color::Rgb(160, 160, 160);
const Color kWhite = Color::Rgb(255, 255, 255);
const Color kDataBlue = Color::Rgb(0, 0, 128);
const Color kDesignRed = Color::Rgb(128, 0, 0);
constexpr int kLabelGap = 4;
// No axis draws more grid lines than this.
constexpr double kMaxGridLines = 1000.0;
// The legend's sample lines take this share of its box.
constexpr double kSampleShare = 0.15;

struct Axes {
  double xmin, xmax, ymin, ymax, pitchX, pitchY;
};

bool IsUsableRange(double lo, double hi, double pitch) {
  const bool set = lo != kNoValue && hi != kNoValue && std::isfinite(lo) && std::isfinite(hi);
  return set && lo < hi && std::isfinite(pitch) && pitch > 0.0 &&
         (hi - lo) / pitch <= kMaxGridLines;
}

std::optional<Axes> UsableAxes(const CDrawResGraphSet& g) {
  if (!IsUsableRange(g.minX, g.maxX, g.pitchX) || !IsUsableRange(g.minY, g.maxY, g.pitchY)) {
    return std::nullopt;
  }
  return Axes{g.minX, g.maxX, g.minY, g.maxY, g.pitchX, g.pitchY};
}

// The labelled values of an axis: from the minimum rounded to the pitch, every pitch up to the
// maximum; a value within 1e-13 of 0 is 0.
std::vector<double> Ticks(double lo, double hi, double pitch) {
  std::vector<double> ticks;
  const double start = RoundOff(lo, pitch);
  for (int i = 0;; ++i) {
    double v = start + i * pitch;
    if (v > hi + pitch * 1e-9) break;
    if (std::fabs(v) < 1e-13) v = 0.0;
    if (v >= lo - pitch * 1e-9) ticks.push_back(v);
  }
  return ticks;
}

DevPoint ToDevice(const Axes& axes, const DevRect& inner, double x, double y) {
  const double fx = (x - axes.xmin) / (axes.xmax - axes.xmin);
  const double fy = (y - axes.ymin) / (axes.ymax - axes.ymin);
  return {ToDeviceInt(inner.left + fx * (inner.right - inner.left)),
          ToDeviceInt(inner.bottom + fy * (inner.top - inner.bottom))};
}

// A value the line can pass through: set, and not a non-number, an infinity or a negative
// subnormal.
bool IsDrawable(double v) {
  return v != kNoValue && std::isfinite(v) && !(std::fpclassify(v) == FP_SUBNORMAL && v < 0.0);
}

std::string Format(const char* format, double v) {
  char text[64];
  std::snprintf(text, sizeof text, format, v);
  return text;
}

// "ＭＳ ゴシック" at 8 points, 9 in Word mode, times the view's font multiple.
Font GraphFont(const CViewInfo& view, const Canvas& dc, int escapement) {
  const double points = view.IsWord() ? 9.0 : 8.0;
  Font font;
  font.height = -static_cast<int>(
      std::lround(points * view.GetFontMultiple() * dc.PixelsPerMm() * 25.4 / 72.0));
  font.face = "ＭＳ ゴシック";
  font.charset = FontCharset::ShiftJis;
  font.escapement = escapement;
  return font;
}

void DrawLine(Canvas& dc, DevPoint from, DevPoint to) {
  dc.MoveTo(from);
  dc.LineTo(to);
}

// The direction away from the plot downward, whichever way the device's y runs.
int Down(const DevRect& inner) { return inner.bottom >= inner.top ? 1 : -1; }

}  // namespace

void CResShear::DrawGraph(CViewInfo* view, const DevRect& plotArea, const DevRect& inner) {
  plotRect = inner;
  DrawGraphGridOnly(view, plotArea);
  DrawGraphLegendOnly(view, plotArea);
  DrawGraphDataOnly(view, plotArea);
}

void CResShear::DrawGraphGridOnly(CViewInfo* view, const DevRect& plotArea) {
  Canvas& dc = *view->dc;
  const ScopedCanvasState restore(dc);
  const int m = view->GetFontMultiple();
  dc.SetClipRect(plotArea);
  if (view->IsDraw()) {
    dc.SelectPen(Pen{PenStyle::Solid, m, kSilver});
    dc.SelectBrush(Brush{BrushStyle::Solid, graph.background});
    dc.Rectangle(plotArea);
    dc.FillRect(plotRect, Brush{BrushStyle::Solid, kSilver});
  }
  const std::optional<Axes> axes = UsableAxes(graph);
  if (!axes) return;
  axisLimits = {axes->xmin, axes->xmax, axes->ymin, axes->ymax};

  const DevRect& inner = plotRect;
  const int down = Down(inner);
  dc.SetBackgroundMode(BackgroundMode::Transparent);
  const Font font = GraphFont(*view, dc, 0);
  dc.SelectFont(font);
  const int textHeight = std::abs(font.height);
  const bool origin = axes->xmin == 0.0 && axes->ymin == 0.0;

  dc.SelectPen(Pen{PenStyle::Solid, m, kGridGrey});
  dc.SetTextAlign(TextAlign::Center | TextAlign::Top);
  for (const double x : Ticks(axes->xmin, axes->xmax, axes->pitchX)) {
    const DevPoint bottom = ToDevice(*axes, inner, x, axes->ymin);
    DrawLine(dc, bottom, ToDevice(*axes, inner, x, axes->ymax));
    if (!(origin && x == 0.0)) {
      dc.TextOut({bottom.x, inner.bottom + kLabelGap * down}, Format("%.1f", x));
    }
  }
  dc.SetTextAlign(TextAlign::Right | TextAlign::Middle);
  for (const double y : Ticks(axes->ymin, axes->ymax, axes->pitchY)) {
    const DevPoint left = ToDevice(*axes, inner, axes->xmin, y);
    DrawLine(dc, left, ToDevice(*axes, inner, axes->xmax, y));
    if (!(origin && y == 0.0)) {
      dc.TextOut({inner.left - kLabelGap, left.y}, Format("%.0f", std::round(y)));
    }
  }
  dc.SelectPen(Pen{PenStyle::Solid, m, kBlack});
  DrawLine(dc, {inner.left, inner.bottom}, {inner.right, inner.bottom});
  DrawLine(dc, {inner.left, inner.bottom}, {inner.left, inner.top});
  if (origin) {
    dc.SetTextAlign(TextAlign::Right | TextAlign::Top);
    dc.TextOut({inner.left - kLabelGap, inner.bottom + kLabelGap * down}, "0");
  }

  dc.SetTextAlign(TextAlign::Center | TextAlign::Top);
  dc.TextOut({(inner.left + inner.right) / 2, inner.bottom + (2 * kLabelGap + textHeight) * down},
             "水平震度");
  dc.SelectFont(GraphFont(*view, dc, 900));
  dc.TextOut({plotArea.left + kLabelGap, (inner.top + inner.bottom) / 2}, "累積せん断変形量(mm)");
}

void CResShear::DrawGraphLegendOnly(CViewInfo* view, const DevRect& /*plotArea*/) const {
  Canvas& dc = *view->dc;
  const ScopedCanvasState restore(dc);
  const int m = view->GetFontMultiple();
  struct Entry {
    std::vector<std::string> lines;
    Pen pen;
  };
  const std::vector<Entry> entries{
      {view->IsWord() ? std::vector<std::string>{"累積せん断変形量"}
                      : std::vector<std::string>{"累積せん断", "変形量"},
       Pen{PenStyle::Solid, m, kDataBlue}},
      {{"設計水平震度"}, Pen{PenStyle::Dot, m, kDesignRed}},
      {{"許容値"}, Pen{PenStyle::Solid, m, kRed}},
  };
  const Font font = GraphFont(*view, dc, 0);
  dc.SelectFont(font);
  dc.SetBackgroundMode(BackgroundMode::Transparent);
  const int lineHeight = std::abs(font.height) + kLabelGap;
  int textWidth = 0;
  int lineCount = 0;
  for (const Entry& entry : entries) {
    for (const std::string& line : entry.lines) {
      textWidth = std::max(textWidth, dc.TextExtent(line).cx);
      ++lineCount;
    }
  }
  const double width = (textWidth + 3 * kLabelGap) / (1.0 - kSampleShare);
  const int sample = static_cast<int>(std::lround(width * kSampleShare));
  const int down = Down(plotRect);
  const int left = plotRect.left + kLabelGap;
  const int top = plotRect.top + kLabelGap * down;
  const DevRect box{left, top, left + static_cast<int>(std::lround(width)),
                    top + (lineCount * lineHeight + kLabelGap) * down};
  dc.SelectPen(Pen{PenStyle::Solid, m, kBlack});
  dc.SelectBrush(Brush{BrushStyle::Solid, kWhite});
  dc.Rectangle(box);

  dc.SetTextAlign(TextAlign::Left | TextAlign::Top);
  int y = top + kLabelGap * down;
  for (const Entry& entry : entries) {
    const int height = static_cast<int>(entry.lines.size()) * lineHeight;
    const int middle = y + (height - kLabelGap) / 2 * down;
    dc.SelectPen(entry.pen);
    DrawLine(dc, {left + kLabelGap, middle}, {left + kLabelGap + sample, middle});
    for (const std::string& line : entry.lines) {
      dc.TextOut({left + 2 * kLabelGap + sample, y}, line);
      y += lineHeight * down;
    }
  }
}

void CResShear::DrawGraphDataOnly(CViewInfo* view, const DevRect& /*plotArea*/) const {
  const std::optional<Axes> axes = UsableAxes(graph);
  if (!axes) return;
  Canvas& dc = *view->dc;
  const ScopedCanvasState restore(dc);
  const int m = view->GetFontMultiple();
  dc.SetClipRect(plotRect);

  dc.SelectPen(Pen{PenStyle::Solid, m, kDataBlue});
  std::vector<DevPoint> run;
  const auto flush = [&dc, &run] {
    if (run.size() >= 2) dc.Polyline(run);
    run.clear();
  };
  for (const CShearData& row : rows) {
    if (!IsDrawable(row.kh) || !IsDrawable(row.cumDisp)) {
      flush();
      continue;
    }
    run.push_back(ToDevice(*axes, plotRect, row.kh, row.cumDisp));
  }
  flush();

  if (IsDrawable(allowDisp)) {
    dc.SelectPen(Pen{PenStyle::Solid, m, kRed});
    DrawLine(dc, ToDevice(*axes, plotRect, axes->xmin, allowDisp),
             ToDevice(*axes, plotRect, axes->xmax, allowDisp));
  }
  const double designKh = graph.refValues.back();
  if (IsDrawable(designKh)) {
    dc.SelectPen(Pen{PenStyle::Dot, m, kDesignRed});
    DrawLine(dc, ToDevice(*axes, plotRect, designKh, axes->ymin),
             ToDevice(*axes, plotRect, designKh, axes->ymax));
  }
}
