// The three graphs of the slide-deformation result against the seismic coefficient kh: the
// relative safety factor, the slide strain with its allowable value and the slide displacement
// with the allowable displacement and the design coefficient.

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdio>
#include <initializer_list>
#include <string>

#include "core/base/Utility.h"
#include "core/deformation/ResSlide.h"
#include "core/geometry/ViewInfo.h"
#include "core/model/GraphAxis.h"
#include "platform/Canvas.h"

namespace {

const Color kBlack = Color::Rgb(0, 0, 0);
const Color kSilver = Color::Rgb(192, 192, 192);
const Color kGridGrey = Color::Rgb(160, 160, 160);
const Color kDataBlue = Color::Rgb(0, 0, 128);
const Color kAllowRed = Color::Rgb(255, 0, 0);
const Color kDesignRed = Color::Rgb(128, 0, 0);

constexpr const char* kFace = "ＭＳ ゴシック";
// Font sizes in tenths of a point: labels, legend and title, on the screen and in Word.
constexpr int kLabelPoints = 70;
constexpr int kLegendPoints = 70;
constexpr int kLegendPointsWord = 90;
constexpr int kTitlePoints = 90;
constexpr int kTitlePointsWord = 120;
// A label this close to 0 is written as 0.
constexpr double kZeroLabel = 1e-13;
// More grid lines than this are not drawn: the range is not one a graph shows.
constexpr int kMaxGridLines = 1000;

struct GraphText {
  const char* yCaption;
  const char* title;
  const char* yFormat;
  double tagSLIDERES::*value;
};
constexpr GraphText kGraphText[CResSlide::kGraphCount] = {
    {"相対安全率", "地震時の相対安全率", "%.2f", &tagSLIDERES::fsr},
    {"すべりひずみ", "地震時のすべりひずみ", "%.2f", &tagSLIDERES::gammaS},
    {"すべり変形量(mm)", "斜面対策のすべり活動変位", "%d", &tagSLIDERES::ds},
};
constexpr const char* kXCaption = "水平震度";

bool IsValidKind(int kind) { return kind >= 0 && kind < CResSlide::kGraphCount; }

bool IsPlottable(double v) {
  return v != kNoValue && std::isfinite(v) && !(std::fpclassify(v) == FP_SUBNORMAL && v < 0);
}

// Pens and fonts are ten times larger on the printer.
int Scale(const CViewInfo& view) { return view.GetFontMultiple(); }

Pen ScaledPen(const CViewInfo& view, PenStyle style, Color color) {
  return Pen{style, Scale(view), color};
}

void SelectGothic(Canvas& dc, int tenthPoints, int escapement = 0) {
  Font font;
  font.height = -static_cast<int>(std::lround(tenthPoints / 10.0 * dc.PixelsPerMm() * 25.4 / 72));
  font.face = kFace;
  font.charset = FontCharset::ShiftJis;
  font.escapement = escapement;
  dc.SelectFont(font);
}

std::string Label(const char* format, double v) {
  if (std::abs(v) < kZeroLabel) v = 0;
  char text[64];
  if (std::string(format) == "%d") {
    std::snprintf(text, sizeof text, format, static_cast<int>(std::lround(v)));
  } else {
    std::snprintf(text, sizeof text, format, v);
  }
  return text;
}

// Far beyond any device, and far enough inside the int range that a marker stays in it.
// The linear mapping of the kept axis limits onto the inner rectangle, y upward.
struct PlotMap {
  DevRect inner;
  double minX, maxX, minY, maxY;
  bool IsUsable() const {
    return std::isfinite(minX) && std::isfinite(maxX) && std::isfinite(minY) &&
           std::isfinite(maxY) && maxX > minX && maxY > minY;
  }
  DevPoint At(double x, double y) const {
    return {GraphAxis{minX, maxX, inner.left, inner.right}.Map(x),
            GraphAxis{minY, maxY, inner.bottom, inner.top}.Map(y)};
  }
};

// The values from the minimum rounded to the pitch, every pitch up to the maximum.
template <class Visit>
void EachStep(double lo, double hi, double pitch, Visit visit) {
  if (!(pitch > 0) || !(hi > lo) || (hi - lo) / pitch > kMaxGridLines) return;
  const double first = RoundOff(lo, pitch);
  for (int i = 0;; ++i) {
    const double v = first + i * pitch;
    if (v > hi + pitch * 1e-9) return;
    if (v >= lo - pitch * 1e-9) visit(v);
  }
}

void HorizontalLine(Canvas& dc, const PlotMap& map, double y) {
  dc.MoveTo(map.At(map.minX, y));
  dc.LineTo(map.At(map.maxX, y));
}

}  // namespace

void CResSlide::DrawGraph(CViewInfo* view, const DevRect& area, const DevRect& inner, int kind) {
  if (!IsValidKind(kind)) return;
  plotRect_ = inner;
  DrawGraphGridOnly(view, area, kind);
  DrawGraphLegendOnly(view, area, kind);
  DrawGraphDataOnly(view, area, kind);
}

void CResSlide::DrawGraphGridOnly(CViewInfo* view, const DevRect& area, int kind) {
  if (!IsValidKind(kind)) return;
  const CDrawResGraphSet& set = graphs[static_cast<std::size_t>(kind)];
  const GraphText& text = kGraphText[kind];
  Canvas& dc = *view->dc;
  const ScopedCanvasState state(dc);
  dc.SetClipRect(area);
  if (view->IsDraw()) {
    dc.FillRect(area, Brush{BrushStyle::Solid, set.background});
    dc.SelectPen(Pen{PenStyle::Solid, 1, kSilver});
    dc.SelectBrush(Brush{BrushStyle::Null, kSilver});
    dc.Rectangle(area);
    dc.FillRect(plotRect_, Brush{BrushStyle::Solid, kSilver});
  }
  for (const double v : {set.maxX, set.minX, set.maxY, set.minY}) {
    if (v == kNoValue) return;
  }
  axisLimits_ = {set.minX, set.maxX, set.minY, set.maxY};
  const PlotMap map{plotRect_, set.minX, set.maxX, set.minY, set.maxY};
  if (!map.IsUsable()) return;

  const int scale = Scale(*view);
  dc.SetBackgroundMode(BackgroundMode::Transparent);
  dc.SetTextColor(kBlack);
  SelectGothic(dc, kLabelPoints * scale);
  const int gap = 2 * scale;
  EachStep(set.minX, set.maxX, set.pitchX, [&](double x) {
    const DevPoint at = map.At(x, set.minY);
    dc.SelectPen(ScaledPen(*view, PenStyle::Solid, kGridGrey));
    dc.MoveTo(at);
    dc.LineTo(map.At(x, set.maxY));
    dc.SetTextAlign(TextAlign::Center | TextAlign::Top);
    dc.TextOut({at.x, at.y + gap}, Label("%.1f", x));
  });
  EachStep(set.minY, set.maxY, set.pitchY, [&](double y) {
    const DevPoint at = map.At(set.minX, y);
    dc.SelectPen(ScaledPen(*view, PenStyle::Solid, kGridGrey));
    HorizontalLine(dc, map, y);
    dc.SetTextAlign(TextAlign::Right | TextAlign::Middle);
    dc.TextOut({at.x - gap, at.y}, Label(text.yFormat, y));
  });
  dc.SelectPen(ScaledPen(*view, PenStyle::Solid, kBlack));
  dc.MoveTo({plotRect_.left, plotRect_.top});
  dc.LineTo({plotRect_.left, plotRect_.bottom});
  dc.LineTo({plotRect_.right, plotRect_.bottom});

  dc.SetTextAlign(TextAlign::Center | TextAlign::Bottom);
  dc.TextOut({(plotRect_.left + plotRect_.right) / 2, area.bottom}, kXCaption);
  SelectGothic(dc, kLabelPoints * scale, 900);
  dc.SetTextAlign(TextAlign::Center | TextAlign::Top);
  dc.TextOut({area.left, (plotRect_.top + plotRect_.bottom) / 2}, text.yCaption);
  SelectGothic(dc, (view->IsWord() ? kTitlePointsWord : kTitlePoints) * scale);
  dc.SetTextAlign(TextAlign::Center | TextAlign::Top);
  dc.TextOut({(area.left + area.right) / 2, area.top}, text.title);
}

void CResSlide::DrawGraphLegendOnly(CViewInfo* view, const DevRect& area, int kind) const {
  if (!IsValidKind(kind)) return;
  Canvas& dc = *view->dc;
  const ScopedCanvasState state(dc);
  dc.SetClipRect(area);
  const int scale = Scale(*view);
  SelectGothic(dc, (view->IsWord() ? kLegendPointsWord : kLegendPoints) * scale);
  dc.SetBackgroundMode(BackgroundMode::Transparent);
  dc.SetTextColor(kBlack);
  dc.SetTextAlign(TextAlign::Left | TextAlign::Middle);
  const int lineHeight = dc.TextExtent("対策工").cy;
  const int x0 = plotRect_.right + 4 * scale;
  const int sample = 20 * scale;
  int y = plotRect_.top + lineHeight;
  // One entry: a sample line (with the data marker for the first), then its label lines.
  const auto entry = [&](const Pen& pen, bool marker, std::initializer_list<const char*> lines) {
    dc.SelectPen(pen);
    dc.MoveTo({x0, y});
    dc.LineTo({x0 + sample, y});
    if (marker) {
      const int half = 2 * scale;
      dc.FillRect({x0 + sample / 2 - half, y - half, x0 + sample / 2 + half, y + half},
                  Brush{BrushStyle::Solid, kDataBlue});
    }
    for (const char* line : lines) {
      dc.TextOut({x0 + sample + 2 * scale, y}, line);
      y += lineHeight;
    }
    y += lineHeight / 2;
  };
  const PenStyle dataStyle = kind == kGraphFsr ? PenStyle::Dot : PenStyle::Solid;
  entry(ScaledPen(*view, dataStyle, kDataBlue), kind != kGraphDs, {"対策工"});
  if (kind == kGraphGammaS) {
    entry(ScaledPen(*view, PenStyle::Solid, kAllowRed), false, {"許容すべり", "ひずみ"});
  } else if (kind == kGraphDs) {
    if (view->IsWord()) {
      entry(ScaledPen(*view, PenStyle::Dot, kDesignRed), false, {"設計水平震度"});
    } else {
      entry(ScaledPen(*view, PenStyle::Dot, kDesignRed), false, {"設計水平", "震度"});
    }
    entry(ScaledPen(*view, PenStyle::Solid, kAllowRed), false, {"許容値"});
  }
}

void CResSlide::DrawGraphDataOnly(CViewInfo* view, const DevRect& /*area*/, int kind) const {
  if (!IsValidKind(kind)) return;
  const PlotMap map{plotRect_, axisLimits_[0], axisLimits_[1], axisLimits_[2], axisLimits_[3]};
  if (!map.IsUsable()) return;
  Canvas& dc = *view->dc;
  const ScopedCanvasState state(dc);
  dc.SetClipRect(plotRect_);
  const int scale = Scale(*view);
  const double tagSLIDERES::*value = kGraphText[kind].value;
  dc.SelectPen(ScaledPen(*view, kind == kGraphFsr ? PenStyle::Dot : PenStyle::Solid, kDataBlue));
  bool joined = false;
  for (const tagSLIDERES& row : rows) {
    if (!IsPlottable(row.kh) || !IsPlottable(row.*value)) {
      joined = false;  // a row without a value breaks the line
      continue;
    }
    const DevPoint at = map.At(row.kh, row.*value);
    if (joined) {
      dc.LineTo(at);
    } else {
      dc.MoveTo(at);
      joined = true;
    }
    if (kind != kGraphDs) {
      const int half = 2 * scale;
      dc.FillRect({at.x - half, at.y - half, at.x + half, at.y + half},
                  Brush{BrushStyle::Solid, kDataBlue});
      dc.MoveTo(at);
    }
  }
  if (kind == kGraphGammaS && IsPlottable(GetKyoyouHizumi())) {
    dc.SelectPen(ScaledPen(*view, PenStyle::Solid, kAllowRed));
    HorizontalLine(dc, map, GetKyoyouHizumi());
  } else if (kind == kGraphDs) {
    if (IsPlottable(allowableDs)) {
      dc.SelectPen(ScaledPen(*view, PenStyle::Solid, kAllowRed));
      HorizontalLine(dc, map, allowableDs);
    }
    const double designKh = graphs[kGraphDs].refValues[3];
    if (IsPlottable(designKh)) {
      dc.SelectPen(ScaledPen(*view, PenStyle::Dot, kDesignRed));
      dc.MoveTo(map.At(designKh, map.minY));
      dc.LineTo(map.At(designKh, map.maxY));
    }
  }
}
