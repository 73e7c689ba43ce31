#pragma once
// The view that drawing tests put in front of their recording canvas, and what they read back
// from the canvas.

#include <vector>

#include "core/geometry/ViewInfo.h"
#include "platform/Canvas.h"
#include "platform/DevTypes.h"
#include "platform/RecordingCanvas.h"

// Sends the view's drawing to the canvas at scale pixels per world unit, with the centre of the
// world area on device (centreX, centreY). On the default 30 x 30 area, scale 10 and centre
// (150, 150) put world (x, y) on device (10x, 300 - 10y).
inline void AttachTestView(CViewInfo& view, Canvas& canvas, double scale, int centreX,
                           int centreY) {
  view.dc = &canvas;
  view.scale = scale;
  view.centreX = centreX;
  view.centreY = centreY;
}

// The device points of each primitive of that kind (lines, polylines, polygons), in drawing order.
inline std::vector<std::vector<DevPoint>> DrawnPoints(const RecordingCanvas& canvas,
                                                      PrimitiveKind kind) {
  std::vector<std::vector<DevPoint>> points;
  for (const DrawnPrimitive& drawn : canvas.PrimitivesOf(kind)) points.push_back(drawn.points);
  return points;
}

// The rectangle of each primitive of that kind (rectangles, ellipses), in drawing order.
inline std::vector<DevRect> DrawnRects(const RecordingCanvas& canvas, PrimitiveKind kind) {
  std::vector<DevRect> rects;
  for (const DrawnPrimitive& drawn : canvas.PrimitivesOf(kind)) rects.push_back(drawn.rect);
  return rects;
}
