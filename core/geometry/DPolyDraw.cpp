// CDPoly: drawing through a view, and the rubber band shown while a vertex is dragged.

#include <memory>

#include "core/base/Constants.h"
#include "core/geometry/DPoly.h"
#include "core/geometry/ViewInfo.h"
#include "platform/Canvas.h"

namespace {

constexpr Color kStratumLineColor = Color::Rgb(90, 60, 40);
constexpr Color kShapeColor = Color::Rgb(60, 100, 30);

int PenWidth(int bold) { return bold != 0 ? 2 : 1; }

Pen ShapePen(int kind, int bold) {
  switch (kind) {
    case kKindStratumLine:
      return Pen{PenStyle::Solid, PenWidth(bold), kStratumLineColor};
    case kKindWater:
      return Pen{PenStyle::DashDot, PenWidth(bold), kBlue};
    default:
      return Pen{PenStyle::Solid, PenWidth(bold), kShapeColor};
  }
}

// Strokes the points with the current pen. An unset point is skipped and ends the stroke, so the
// next set point starts a new one.
void StrokePoints(const CViewInfo& view, const CDPoly::PointList& points) {
  Canvas& canvas = *view.dc;
  bool startStroke = true;
  for (const auto& p : points) {
    if (!p->IsValid()) {
      startStroke = true;
      continue;
    }
    const DevPoint d = view.LPtoDP(*p);
    if (startStroke) {
      canvas.MoveTo(d);
    } else {
      canvas.LineTo(d);
    }
    startStroke = false;
  }
}

// With to == -1 only the vertex `from` is enlarged, otherwise the vertices from..to.
bool IsLargeHandle(int index, int from, int to) {
  return to == -1 ? index == from : (from <= index && index <= to);
}

// Moves the band from a neighbouring vertex of the dragged one: erases the band drawn to the last
// mouse position (drawing it again under NOT-XOR removes it), then draws the one to p.
void MoveBand(const CViewInfo& view, const CDPoint& anchor, const CDPoint& p) {
  if (!anchor.IsValid()) return;
  Canvas& canvas = *view.dc;
  if (CDPoly::bMovCap) view.Line(canvas, anchor.x, anchor.y, CDPoly::ptCap.x, CDPoly::ptCap.y);
  view.Line(canvas, anchor.x, anchor.y, p.x, p.y);
}

}  // namespace

void CDPoly::Draw(CViewInfo* view, int bold, int from, int to) const {
  Canvas& canvas = *view->dc;
  const int kind = WhatKind();
  const ScopedCanvasState restore(canvas);
  canvas.SelectPen(ShapePen(kind, bold));
  if (kind == kKindWater) canvas.SetBackgroundMode(BackgroundMode::Transparent);

  StrokePoints(*view, points_);
  for (int i = 0; i < GetSize(); ++i) {
    const CDPoint& p = *points_[static_cast<std::size_t>(i)];
    if (p.IsValid()) view->Point(canvas, p, IsLargeHandle(i, from, to));
  }
}

void CDPoly::DrawSimpleShape(CViewInfo* view) const { StrokePoints(*view, points_); }

void CDPoly::DrawLine(CViewInfo* view, int bold) const {
  const ScopedPen pen(*view->dc, Pen{PenStyle::Solid, PenWidth(bold), kBlack});
  StrokePoints(*view, points_);
}

void CDPoly::DrawName(CViewInfo* /*view*/) const {}

void CDPoly::DrawKukan(CViewInfo* view, const CDPoint* a, const CDPoint* b) const {
  GetKukanShape(a, b)->DrawSimpleShape(view);
}

void CDPoly::OnLButtonDown(CViewInfo* /*view*/, int /*flags*/, CDPoint /*p*/) { ResetMouseMove(); }

void CDPoly::OnMouseMove(CViewInfo* view, int index, CDPoint p) {
  const int n = GetSize();
  if (index < 0 || index > n) return;
  Canvas& canvas = *view->dc;
  // The band is drawn in NOT-XOR so that drawing it a second time removes it; the canvas's own
  // raster operation comes back afterwards, so later drawing is not inverted.
  const RasterOp previousOp = canvas.SetRasterOp(RasterOp::NotXorPen);
  if (index > 0) MoveBand(*view, *GetAt(index - 1), p);
  if (index < n - 1) MoveBand(*view, *GetAt(index + 1), p);
  canvas.SetRasterOp(previousOp);
  ptCap = p;
  bMovCap = true;
}

void CDPoly::ResetMouseMove() {
  bMovCap = false;
  ptCap = CDPoint();
}

CDPoint CDPoly::FindNearPoint(const CDPoint* p, double& dist, int& index) const {
  CDPoint nearest = *p;
  dist = kAreaNotSet;
  index = 0;
  for (int i = 0; i < GetSize(); ++i) {
    const CDPoint& vertex = *points_[static_cast<std::size_t>(i)];
    const double d = Hypot(*p, vertex);
    if (d < dist) {
      dist = d;
      index = i;
      nearest = vertex;
    }
  }
  return nearest;
}
