// Drawing of the block list: outlines, the slide mass of a run, block numbers and the block
// dialog's preview.

#include <cstdio>
#include <string>
#include <vector>

#include "core/geometry/DPolyArray.h"
#include "core/geometry/ViewInfo.h"
#include "core/model/Danmen.h"
#include "core/stability/BlockList.h"
#include "core/stability/MltPoint.h"
#include "platform/Canvas.h"

namespace {

const Pen kBlockPen{PenStyle::Solid, 1, Color::Rgb(63, 255, 20)};
const Pen kStratumPen{PenStyle::Dot, 1, Color::Rgb(125, 125, 125)};
const Pen kCutPen{PenStyle::Solid, 1, Color::Rgb(255, 0, 0)};
const Pen kDiagonalPen{PenStyle::Dot, 1, Color::Rgb(255, 0, 0)};
const Pen kStartPen{PenStyle::Dot, 1, Color::Rgb(0, 0, 255)};
const Pen kHighlightPen{PenStyle::Solid, 2, Color::Rgb(0, 0, 255)};
const Pen kSlidePen{PenStyle::Solid, 1, Color::Rgb(255, 0, 0)};
const Pen kNoPen{PenStyle::Null, 1, Color{}};
const Brush kSlideBrush{BrushStyle::Solid, Color::Rgb(222, 190, 190)};

// The font of the block texts, centred above their point.
void SelectTextFont(const CViewInfo& view, Canvas& dc) {
  const int f = view.GetFontMultiple();
  Font font;
  font.height = 10 * f;
  font.width = 5 * f;
  font.weight = 100;
  font.face = "ＭＳ ゴシック";
  font.charset = FontCharset::ShiftJis;
  font.pitch = FontPitch::Fixed;
  dc.SelectFont(font);
  dc.SetTextAlign(TextAlign::Center | TextAlign::Bottom);
}

void Line(const CViewInfo& view, Canvas& dc, const CDPoint& a, const CDPoint& b) {
  dc.MoveTo(view.LPtoDP(a));
  dc.LineTo(view.LPtoDP(b));
}

void Fill(const CViewInfo& view, Canvas& dc, const std::vector<CDPoint>& corners) {
  std::vector<DevPoint> points;
  for (const CDPoint& p : corners) points.push_back(view.LPtoDP(p));
  dc.Polygon(points);
}

// A vertical line at x over the whole world area, its upper end `above` pixels higher, with the
// text at that end.
void Marker(const CViewInfo& view, Canvas& dc, double x, int above, const std::string& text) {
  DevPoint top = view.LPtoDP(CDPoint(x, view.ymax));
  const bool upIsLess = view.LPtoDP(CDPoint(x, view.ymax + 1)).y < top.y;
  top.y += upIsLess ? -above : above;
  dc.MoveTo(top);
  dc.LineTo(view.LPtoDP(CDPoint(x, view.ymin)));
  dc.TextOut(top, text);
}

std::string Number(const char* format, int n) {
  char text[32];
  std::snprintf(text, sizeof text, format, n);
  return text;
}

}  // namespace

bool CBlockList::IsRun(int first, int last) const {
  return first >= 0 && first <= last && last < GetBlockSize();
}

void CBlockList::DrawView(CViewInfo* view, const CMltKey* key, int first, int last) const {
  DrawBlock(view);
  DrawBlockSlideFill(view, first, last);
  DrawBlockSlideLine(view, first, last);
  DrawBlockNo(view, key);
}

void CBlockList::DrawBlock(CViewInfo* view) const {
  Canvas& dc = *view->dc;
  const ScopedCanvasState state(dc);
  dc.SelectPen(kBlockPen);
  for (const CBlock& b : blocks_) {
    const CDPoint leftTop(b.GetLeftX(), b.GetLeftTopY());
    const CDPoint leftBase(b.GetLeftX(), b.GetLeftBottomY());
    const CDPoint rightTop(b.GetRightX(), b.GetRightTopY());
    const CDPoint rightBase(b.GetRightX(), b.GetRightBottomY());
    Line(*view, dc, leftTop, leftBase);
    Line(*view, dc, rightTop, rightBase);
    Line(*view, dc, leftTop, rightTop);
    Line(*view, dc, leftBase, rightBase);
  }
}

void CBlockList::DrawBlockSlideFill(CViewInfo* view, int first, int last) const {
  if (!IsRun(first, last)) return;
  Canvas& dc = *view->dc;
  const ScopedCanvasState state(dc);
  dc.SelectPen(kNoPen);
  dc.SelectBrush(kSlideBrush);
  CDPoint top = StartCorner(blocks_[static_cast<std::size_t>(first)], true);
  CDPoint base = StartCorner(blocks_[static_cast<std::size_t>(first)], false);
  for (int k = first; k <= last; ++k) {
    const CBlock& b = blocks_[static_cast<std::size_t>(k)];
    const CDPoint farTop = FarCorner(b, true);
    const CDPoint farBase = FarCorner(b, false);
    if (k < last) {
      Fill(*view, dc, {top, base, farBase, farTop});
    } else {
      Fill(*view, dc, {top, base, farTop});  // the end block behind its diagonal
    }
    top = farTop;
    base = farBase;
  }
}

void CBlockList::DrawBlockSlideLine(CViewInfo* view, int first, int last) const {
  if (!IsRun(first, last)) return;
  Canvas& dc = *view->dc;
  const ScopedCanvasState state(dc);
  dc.SelectPen(kSlidePen);
  CDPoint top = StartCorner(blocks_[static_cast<std::size_t>(first)], true);
  CDPoint base = StartCorner(blocks_[static_cast<std::size_t>(first)], false);
  Line(*view, dc, top, base);
  for (int k = first; k <= last; ++k) {
    const CBlock& b = blocks_[static_cast<std::size_t>(k)];
    const CDPoint farTop = FarCorner(b, true);
    const CDPoint farBase = FarCorner(b, false);
    Line(*view, dc, top, farTop);
    if (k < last) {
      Line(*view, dc, base, farBase);
      Line(*view, dc, farTop, farBase);
    } else {
      Line(*view, dc, base, farTop);
    }
    top = farTop;
    base = farBase;
  }
}

void CBlockList::DrawBlockNo(CViewInfo* view, const CMltKey* key) const {
  Canvas& dc = *view->dc;
  const ScopedCanvasState state(dc);
  SelectTextFont(*view, dc);
  for (int i = 0; i < GetBlockSize(); ++i) {
    if (key != nullptr && key->IsExceptBlock(i)) continue;
    dc.TextOut(view->LPtoDP(blocks_[static_cast<std::size_t>(i)].GetMiddleTop(0.3)),
               Number("%d", i + 1));
  }
}

void CBlockList::DrawBlockCut(CViewInfo* view, bool showStratum, bool showStart,
                              int highlight) const {
  Canvas& dc = *view->dc;
  const ScopedCanvasState state(dc);
  const int f = view->GetFontMultiple();
  if (showStratum) {
    if (const CDPoly* polygon = ChosenPolygon()) {
      dc.SelectPen(kStratumPen);
      polygon->DrawSimpleShape(view);
    }
  }
  dc.SelectPen(kCutPen);
  groundCopy_->DrawSimpleShape(view);
  slideCopy_->Draw(view, 1, -1, -1);

  dc.SetTextColor(Color::Rgb(0, 0, 0));
  for (std::size_t i = 0; i < blocks_.size(); ++i) {
    const CBlock& b = blocks_[i];
    const CDPoint leftTop(b.GetLeftX(), b.GetLeftTopY());
    const CDPoint leftBase(b.GetLeftX(), b.GetLeftBottomY());
    const CDPoint rightTop(b.GetRightX(), b.GetRightTopY());
    const CDPoint rightBase(b.GetRightX(), b.GetRightBottomY());
    dc.SelectPen(kCutPen);
    // Each block draws its cut on the far side; the first block draws its start side too.
    if (rightUpper_ || i == 0) Line(*view, dc, leftTop, leftBase);
    if (!rightUpper_ || i == 0) Line(*view, dc, rightTop, rightBase);
    dc.SelectPen(kDiagonalPen);
    if (rightUpper_) {
      Line(*view, dc, leftTop, rightBase);
    } else {
      Line(*view, dc, rightTop, leftBase);
    }
  }
  SelectTextFont(*view, dc);
  if (showStart && startX_ != kNoValue) {
    dc.SelectPen(kStartPen);
    Marker(*view, dc, startX_, 10 * f, "分割開始X");
  }
  if (highlight != -1 && highlight >= 0 && highlight < GetXSize()) {
    dc.SelectPen(kHighlightPen);
    Marker(*view, dc, xs_[static_cast<std::size_t>(highlight)], 0, Number("No.%d", highlight + 1));
  }
  DrawBlockNo(view, nullptr);
}
