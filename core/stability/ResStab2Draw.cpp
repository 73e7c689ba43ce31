// The graphs of the multi-plane result set: Fs against the end block, one line per start block,
// and the c-tan(phi) graph of the back analysis.

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "core/geometry/ViewInfo.h"
#include "core/model/GraphAxis.h"
#include "core/stability/ResStab2.h"
#include "platform/Canvas.h"

namespace {

const Color kBlack = Color::Rgb(0, 0, 0);
const Pen kGridPen{PenStyle::Dot, 1, Color::Rgb(160, 160, 160)};
const Pen kFramePen{PenStyle::Solid, 1, kBlack};

std::string Format(const char* format, double v) {
  char text[64];
  std::snprintf(text, sizeof text, format, v);
  return text;
}
std::string Format(const char* format, int v) {
  char text[64];
  std::snprintf(text, sizeof text, format, v);
  return text;
}

// "ＭＳ ゴシック" at the size in points, times the view's font multiple.
void SelectGothic(const CViewInfo& view, Canvas& dc, double points) {
  Font font;
  font.height = -static_cast<int>(
      std::lround(points * view.GetFontMultiple() * dc.PixelsPerMm() * 25.4 / 72));
  font.face = "ＭＳ ゴシック";
  font.charset = FontCharset::ShiftJis;
  dc.SelectFont(font);
}

// Grid lines and labels from lo to hi at pitch along the axis; the other axis spans the plot.
void Grid(Canvas& dc, const GraphAxis& axis, double pitch, bool horizontal, const DevRect& plot,
          const char* format, bool integer) {
  if (!(pitch > 0) || !(axis.hi > axis.lo) || (axis.hi - axis.lo) / pitch > 1000) return;
  for (double v = axis.lo; v <= axis.hi + pitch * 1e-9; v += pitch) {
    const int d = axis.Map(v);
    dc.SelectPen(kGridPen);
    const std::string label =
        integer ? Format(format, static_cast<int>(std::lround(v))) : Format(format, v);
    if (horizontal) {
      dc.MoveTo({d, plot.top});
      dc.LineTo({d, plot.bottom});
      dc.SetTextAlign(TextAlign::Center | TextAlign::Top);
      dc.TextOut({d, plot.bottom + 2}, label);
    } else {
      dc.MoveTo({plot.left, d});
      dc.LineTo({plot.right, d});
      dc.SetTextAlign(TextAlign::Right | TextAlign::Middle);
      dc.TextOut({plot.left - 2, d}, label);
    }
  }
}

// The step of a c-tan(phi) axis: the largest of the steps that lies below a fifth of the range.
double CFaiStep(double range) {
  const double fifth = range / 5;
  if (fifth > 100) return std::floor(fifth / 100) * 100;
  const double steps[] = {0.01, 0.02, 0.05, 0.1, 0.2, 0.5, 1, 2, 5, 10, 20, 50, 100};
  double step = steps[0];
  for (const double s : steps) {
    if (s < fifth) step = s;
  }
  return step;
}

}  // namespace

void CResStab2::MakeGraphColors() {
  int starts = 0;
  if (points_) {
    for (int k = 0; k < points_->GetSize(); ++k) {
      if (const CMltPoint* p = points_->GetMltPoint(k))
        starts = std::max(starts, p->startBlock + 1);
    }
  }
  graphFs.MakeLineColor(starts);
}

void CResStab2::DrawGraphFs(CViewInfo* view, const DevRect& graph, const DevRect& plot,
                            int legendWidth) {
  Canvas& dc = *view->dc;
  const ScopedCanvasState state(dc);
  const std::size_t k = graphFs.currentCase == 1 ? 1 : 0;
  const CDrawResGraphSetMltFs::Axes& axes = graphFs.axes[k];
  std::vector<CMltPoint*> all;
  if (points_) points_->SerialCopyNoKey(all);

  int firstStart = -1;
  int starts = 0;
  for (const CMltPoint* p : all) {
    if (p->GetKeyValue(axes.itemY) == kNoValue) continue;
    starts = std::max(starts, p->startBlock + 1);
    firstStart = firstStart == -1 ? p->startBlock : std::min(firstStart, p->startBlock);
  }
  // Colours that do not fit the results are drawn from a temporary set; the stored ones stay.
  CDrawResGraphSetMltFs temporary;
  const std::vector<Color>* colors = &graphFs.lineColors;
  if (static_cast<int>(colors->size()) != starts) {
    temporary.background = graphFs.background;
    temporary.MakeLineColor(starts);
    colors = &temporary.lineColors;
  }

  const int columns = std::max(2, starts / (view->IsWord() ? 35 : 25));
  DevRect inner = plot;
  inner.right -= legendWidth * columns;
  lastPlot_ = inner;

  dc.FillRect(graph, Brush{BrushStyle::Solid, graphFs.background});
  SelectGothic(*view, dc, view->IsWord() ? 10 : 9);
  dc.SetTextColor(kBlack);
  dc.SetBackgroundMode(BackgroundMode::Transparent);
  const GraphAxis x{axes.minX, axes.maxX, inner.left, inner.right};
  const GraphAxis y{axes.minY, axes.maxY, inner.bottom, inner.top};
  Grid(dc, x, axes.pitchX, true, inner, "%d", true);
  Grid(dc, y, axes.pitchY, false, inner, "%.3f", false);
  dc.SelectPen(kFramePen);
  dc.SelectBrush(Brush{BrushStyle::Null, Color{}});
  dc.Rectangle(inner);
  dc.SetTextAlign(TextAlign::Center | TextAlign::Bottom);
  dc.TextOut({(inner.left + inner.right) / 2, graph.bottom}, "終点ブロック番号");
  dc.SetTextAlign(TextAlign::Left | TextAlign::Top);
  dc.TextOut({graph.left, graph.top}, "安全率");

  // The legend: one entry per start block, in columns right of the plot.
  const DevSize entry = dc.TextExtent("99");
  const int rows = std::max(1, (starts + columns - 1) / columns);
  dc.TextOut({inner.right + 4, inner.top}, "始点ブロック番号");
  for (int s = 0; s < starts; ++s) {
    const int cx = inner.right + 4 + (s / rows) * legendWidth;
    const int cy = inner.top + (s % rows + 1) * (entry.cy + 2);
    dc.SelectPen(Pen{PenStyle::Solid, 1, (*colors)[static_cast<std::size_t>(s)]});
    dc.MoveTo({cx, cy + entry.cy / 2});
    dc.LineTo({cx + legendWidth / 3, cy + entry.cy / 2});
    dc.TextOut({cx + legendWidth / 3 + 2, cy}, Format("%d", s + 1));
  }

  // The data, clipped to the plot.
  dc.SetClipRect(inner);
  dc.SetTextAlign(TextAlign::Left | TextAlign::Bottom);
  for (int s = std::max(firstStart, 0); s < starts; ++s) {
    dc.SelectPen(Pen{PenStyle::Solid, 1, (*colors)[static_cast<std::size_t>(s)]});
    bool drawing = false;
    DevPoint lineStart{};
    bool started = false;
    for (const CMltPoint* p : all) {
      if (p->startBlock != s) continue;
      const double vy = p->GetKeyValue(axes.itemY);
      const double vx = p->GetKeyValue(axes.itemX) + 1;
      if (vy == kNoValue || !std::isfinite(vy) || !std::isfinite(vx)) {
        drawing = false;  // a point without a value interrupts the line
        continue;
      }
      const DevPoint d{x.Map(vx), y.Map(vy)};
      if (drawing) {
        dc.LineTo(d);
      } else {
        dc.MoveTo(d);
        lineStart = d;
        started = true;
        drawing = true;
      }
    }
    if (started) dc.TextOut(lineStart, Format("%d", s + 1));
  }
}

void CResStab2::DrawCFai(CViewInfo* view, const DevRect& rect) const {
  double maxC = 0;
  double maxTan = 0;
  bool any = false;
  for (const CMltPoint* p : serial_) {
    const auto* g = dynamic_cast<const CMltPointGyaku*>(p);
    if (g == nullptr) continue;
    if (g->c0 != kNoValue) {
      maxC = std::max(maxC, g->c0);
      any = true;
    }
    if (g->tanPhi0 != kNoValue) {
      maxTan = std::max(maxTan, g->tanPhi0);
      any = true;
    }
  }
  if (!any) return;
  Canvas& dc = *view->dc;
  const ScopedCanvasState state(dc);
  const bool large = view->IsPrint() || view->IsWord();
  Font font;
  font.height = 12 * (large ? 10 : 1);
  font.width = 6 * (large ? 10 : 1);
  font.face = "ＭＳ ゴシック";
  font.charset = FontCharset::ShiftJis;
  dc.SelectFont(font);
  dc.SetBackgroundMode(BackgroundMode::Transparent);

  const int cx = (rect.left + rect.right) / 2;
  const int cy = (rect.top + rect.bottom) / 2;
  const int halfW = rect.Width() / 2;
  const int halfH = rect.Height() / 2;
  const DevRect frame{cx - halfW * 60 / 100, cy - halfH * 85 / 100, cx + halfW * 85 / 100,
                      cy + halfH * 65 / 100};
  const GraphAxis tanAxis{0, 1.1 * maxTan, frame.left, frame.right};
  const GraphAxis cAxis{0, 1.1 * maxC, frame.bottom, frame.top};
  Grid(dc, tanAxis, CFaiStep(tanAxis.hi), true, frame, "%.2lf", false);
  Grid(dc, cAxis, CFaiStep(cAxis.hi), false, frame, "%.2lf", false);
  dc.SelectPen(kFramePen);
  dc.MoveTo({frame.left, frame.top});
  dc.LineTo({frame.left, frame.bottom});
  dc.LineTo({frame.right, frame.bottom});
  dc.SetTextAlign(TextAlign::Center | TextAlign::Bottom);
  dc.TextOut({frame.left, frame.top}, "c(kN/㎡)");
  dc.SetTextAlign(TextAlign::Left | TextAlign::Middle);
  dc.TextOut({frame.right + 4, frame.bottom}, "tanφ");

  const auto typical = std::find_if(serial_.begin(), serial_.end(),
                                    [](const CMltPoint* p) { return p->typicalN == 1; });
  if (typical == serial_.end()) return;
  const auto* g = dynamic_cast<const CMltPointGyaku*>(*typical);
  if (g == nullptr) return;
  if (g->c0 > 0 && g->tanPhi0 > 0) {
    dc.MoveTo({frame.left, cAxis.Map(g->c0)});
    dc.LineTo({tanAxis.Map(g->tanPhi0), frame.bottom});
  }
  if (g->c != kNoValue && g->tanPhi != kNoValue) {
    dc.SelectPen(view->IsDraw() ? Pen{PenStyle::Solid, 2, Color::Rgb(0, 0, 255)}
                                : Pen{PenStyle::Solid, 10, kBlack});
    const DevPoint pair{tanAxis.Map(g->tanPhi), cAxis.Map(g->c)};
    dc.MoveTo({frame.left, pair.y});
    dc.LineTo(pair);
    dc.LineTo({pair.x, frame.bottom});
  }
}
