// The drawing of the circle-search result sets: the listed circles and the contour on the
// section, and the scatter graph of two result values with its grid.

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "core/base/Constants.h"
#include "core/base/Utility.h"
#include "core/circle/RepKey.h"
#include "core/circle/ResStab.h"
#include "core/geometry/ViewInfo.h"
#include "core/model/GraphAxis.h"
#include "platform/Canvas.h"

namespace {

const Pen kGridPen{PenStyle::Dot, 1, Color::Rgb(160, 160, 160)};
const Pen kFramePen{PenStyle::Solid, 1, kBlack};
// A grid of more lines than this is not drawn (a pitch far too small for its range).
constexpr double kMaxGridLines = 1000;
// The pixels between the plot and its tick labels.
constexpr int kLabelGap = 2;

std::string Format3(double v) {
  char text[64];
  std::snprintf(text, sizeof text, "%.3f", v);
  return text;
}

// "ＭＳ ゴシック" at 9 points, times the view's font multiple.
Font GraphFont(const CViewInfo& view, const Canvas& dc) {
  Font font;
  font.height =
      -static_cast<int>(std::lround(9.0 * view.GetFontMultiple() * dc.PixelsPerMm() * 25.4 / 72));
  font.face = "ＭＳ ゴシック";
  font.charset = FontCharset::ShiftJis;
  font.pitch = FontPitch::Fixed;
  return font;
}

// The values of the grid lines from lo to hi at the pitch; none for a pitch that does not fit.
std::vector<double> GridValues(double lo, double hi, double pitch) {
  std::vector<double> values;
  if (!(pitch > 0) || !(hi > lo) || (hi - lo) / pitch > kMaxGridLines) return values;
  for (int k = 0;; ++k) {
    const double v = lo + k * pitch;
    if (v > hi + pitch * 1e-9) break;
    values.push_back(v);
  }
  return values;
}

}  // namespace

// A point is extreme when one of its values equals the extreme of its kind, which is set.
bool CResCircle::IsExtreme(const CRepPoint& p, const Extremes& extremes) {
  return std::any_of(extremes.begin(), extremes.end(), [&p](const KindValue& e) {
    return e.value != kNoValue && p.GetKeyValue(e.kind) == e.value;
  });
}

// ---- On the section ----

void CResCircle::DrawAllSlide(CViewInfo* view, int column) const {
  const tagREPKEY& k = key_->Data();
  if (k.allCircles == 0) return;
  const int used = column == -1 || column == k.contourCase ? k.contourCase : column;
  const int kind = FsKind(used, measure_ != Measure::kNone);
  for (const CRepPoint* p : serial_) p->Draw(view, false, key_->GetColor(p->GetKeyValue(kind)));
}

void CResCircle::DrawAllSlideNewmark(CViewInfo* view, double limit) const {
  if (key_->Data().allCircles == 0) return;
  const int kind = measure_ != Measure::kNone ? kKindDeltaAfter : kKindDelta;
  for (const CRepPoint* p : serial_) {
    p->Draw(view, false, limit < p->GetKeyValue(kind) ? kRed : kBlue);
  }
}

void CResCircle::DrawContour(CViewInfo* view, int column) {
  if (mesh_ == nullptr) return;
  tagREPKEY& k = key_->Data();
  // The centres of the set through two points lie on a line: no map to draw.
  const bool lines = conditions_->kind != kArcSetPass2 && k.contourMap != 0;
  const bool labels = k.labels != 0;
  if (column == -1 || column == k.contourCase) {
    mesh_->DrawContour(view, lines, labels);
    return;
  }
  const int kept = k.contourCase;
  k.contourCase = column;
  mesh_->CreateContour(*key_);
  mesh_->DrawContour(view, lines, labels);
  k.contourCase = kept;
  mesh_->CreateContour(*key_);
}

// ---- The scatter graph ----

void CResCircle::DrawResultSimple(CViewInfo* view, const DevRect& frame, const DevRect& plot,
                                  int flag) {
  plotArea_ = plot;
  DrawResultGridOnly(view, frame);
  DrawResultDataOnly(view, frame, flag);
}

void CResCircle::DrawResultSimpleNM(CViewInfo* view, const DevRect& frame, const DevRect& plot,
                                    int flag) {
  plotArea_ = plot;
  DrawResultGridOnly(view, frame);
  DrawResultDataNMOnly(view, frame, flag);
}

std::string CResCircle::AxisCaption(int item) const {
  const std::string name =
      measure_ == Measure::kNone
          ? CDrawResGraphSet::GetHeadName(item)
          : CDrawResGraphSet::GetHeadNameAfter(item, measure_ == Measure::kReinforcement);
  return name + CDrawResGraphSet::GetHeadUnit(item);
}

void CResCircle::DrawResultGridOnly(CViewInfo* view, const DevRect& frame) {
  if (graph.autoRange[0] == 0) {
    view->xmin = graph.minX;
    view->xmax = graph.maxX;
    view->ymax = graph.maxY;
    view->ymin = graph.minY;
  }
  drawnRange_ = {view->xmin, view->xmax, view->ymax, view->ymin};
  Canvas& dc = *view->dc;
  const ScopedCanvasState state(dc);
  dc.SelectPen(Pen{PenStyle::Solid, 1, graph.background});
  dc.SelectBrush(Brush{BrushStyle::Solid, graph.background});
  dc.Rectangle(frame);

  const DevRect& plot = plotArea_;
  dc.SelectPen(kFramePen);
  dc.SelectBrush(Brush{BrushStyle::Null, Color{}});
  dc.Rectangle(plot);

  dc.SelectFont(GraphFont(*view, dc));
  dc.SetTextColor(kBlack);
  dc.SetBackgroundMode(BackgroundMode::Transparent);
  const GraphAxis x{drawnRange_[0], drawnRange_[1], plot.left, plot.right};
  const GraphAxis y{drawnRange_[3], drawnRange_[2], plot.bottom, plot.top};
  dc.SetTextAlign(TextAlign::Center | TextAlign::Top);
  for (const double v : GridValues(x.lo, x.hi, graph.pitchX)) {
    const int d = x.Map(v);
    dc.SelectPen(kGridPen);
    dc.MoveTo({d, plot.top});
    dc.LineTo({d, plot.bottom});
    dc.TextOut({d, plot.bottom + kLabelGap}, Format3(v));
  }
  dc.SetTextAlign(TextAlign::Right | TextAlign::Middle);
  for (const double v : GridValues(y.lo, y.hi, graph.pitchY)) {
    const int d = y.Map(v);
    dc.SelectPen(kGridPen);
    dc.MoveTo({plot.left, d});
    dc.LineTo({plot.right, d});
    dc.TextOut({plot.left - kLabelGap, d}, Format3(v));
  }
  dc.SetTextAlign(TextAlign::Center | TextAlign::Bottom);
  dc.TextOut({(plot.left + plot.right) / 2, frame.bottom}, AxisCaption(graph.itemX));
  dc.SetTextAlign(TextAlign::Left | TextAlign::Top);
  dc.TextOut({frame.left, frame.top}, AxisCaption(graph.itemY));
}

int CResCircle::MarkerRadius(const CViewInfo& view) const {
  const bool large = view.IsPrint() || view.IsPreview();
  switch (graph.markerSize) {
    case 1:
      return 5;
    case 2:
      return large ? 80 : 7;
    default:
      return large ? 40 : 3;
  }
}

bool CResCircle::CanDrawData() const {
  return graph.maxX != kNoValue && graph.minX != kNoValue && graph.maxY != kNoValue &&
         graph.minY != kNoValue && graph.itemX != -1 && graph.itemY != -1 && !serial_.empty();
}

CResCircle::Extremes CResCircle::FsExtremes() const {
  Extremes extremes;
  for (const int column : {0, 1}) {
    extremes.push_back({FsKind(column, false), GetMinFs(column)});
    if (measure_ != Measure::kNone)
      extremes.push_back({FsKind(column, true), GetMinFsAfter(column)});
  }
  return extremes;
}

CResCircle::Extremes CResCircle::DeltaExtremes(int flag) const {
  Extremes extremes{{kKindDelta, GetMaxDelta(flag)}};
  if (measure_ != Measure::kNone) extremes.push_back({kKindDeltaAfter, GetMaxDeltaAfter(flag)});
  return extremes;
}

bool CResCircle::IsBeyondFs(const CRepPoint& p) const {
  const bool after = measure_ != Measure::kNone;
  const auto beyond = [&](int column) {
    const double allowed = graph.refValues[static_cast<std::size_t>(column)];
    return allowed != kNoValue && allowed > p.GetKeyValue(FsKind(column, after));
  };
  return ((graph.allowMode == 0 || graph.allowMode == 2) && beyond(0)) ||
         ((graph.allowMode == 1 || graph.allowMode == 2) && beyond(1));
}

bool CResCircle::IsBeyondDelta(const CRepPoint& p) const {
  const double allowed = graph.refValues[2];
  const int kind = measure_ != Measure::kNone ? kKindDeltaAfter : kKindDelta;
  return allowed != kNoValue && p.GetKeyValue(kind) > allowed;
}

void CResCircle::DrawResultDataOnly(CViewInfo* view, const DevRect& /*frame*/, int /*flag*/) const {
  const Extremes extremes = FsExtremes();
  DrawMarkers(*view, [&](const CRepPoint& p) {
    return MarkerClass{IsBeyondFs(p), IsExtreme(p, extremes)};
  });
}

void CResCircle::DrawResultDataNMOnly(CViewInfo* view, const DevRect& /*frame*/, int flag) const {
  const Extremes extremes = DeltaExtremes(flag);
  DrawMarkers(*view, [&](const CRepPoint& p) {
    return MarkerClass{IsBeyondDelta(p), IsExtreme(p, extremes)};
  });
}

void CResCircle::DrawMarkers(const CViewInfo& view,
                             const std::function<MarkerClass(const CRepPoint&)>& classify) const {
  if (!CanDrawData()) return;
  const GraphAxis x{drawnRange_[0], drawnRange_[1], plotArea_.left, plotArea_.right};
  const GraphAxis y{drawnRange_[3], drawnRange_[2], plotArea_.bottom, plotArea_.top};
  const int r = MarkerRadius(view);
  Canvas& dc = *view.dc;
  const ScopedCanvasState state(dc);
  const auto& colours = graph.lineColors;
  // The box of a marker of size times the radius leaves size pixels out on its upper left.
  const auto marker = [&](const CRepPoint& p, const MarkerClass& c, int size) {
    const Color line = colours[c.beyond ? 1 : 0];
    const Color fill = c.extreme ? colours[2] : line;
    dc.SelectPen(Pen{PenStyle::Solid, 1, line});
    dc.SelectBrush(Brush{BrushStyle::Solid, fill});
    const int px = x.Map(p.GetKeyValue(graph.itemX));
    const int py = y.Map(p.GetKeyValue(graph.itemY));
    const int radius = size * r;
    dc.Ellipse(DevRect{px - radius + size, py - radius + size, px + radius, py + radius});
  };
  const bool currentListed = std::find(serial_.begin(), serial_.end(), current_) != serial_.end();
  const CRepPoint* apart = graph.currentApart == 1 && currentListed ? current_ : nullptr;
  struct Entry {
    const CRepPoint* point;
    MarkerClass c;
  };
  std::vector<Entry> layers[3];  // normal, beyond the allowable value, extreme
  for (const CRepPoint* p : serial_) {
    if (!x.Holds(p->GetKeyValue(graph.itemX)) || !y.Holds(p->GetKeyValue(graph.itemY))) continue;
    if (p == apart) continue;
    const MarkerClass c = classify(*p);
    layers[c.extreme ? 2 : c.beyond ? 1 : 0].push_back({p, c});
  }
  for (const auto& layer : layers) {
    for (const Entry& e : layer) marker(*e.point, e.c, 1);
  }
  if (apart != nullptr && x.Holds(apart->GetKeyValue(graph.itemX)) &&
      y.Holds(apart->GetKeyValue(graph.itemY))) {
    marker(*apart, classify(*apart), 2);
  }
}
