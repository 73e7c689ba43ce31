#include "core/circle/RepContours.h"

#include <stdexcept>
#include <vector>

#include "core/base/Utility.h"
#include "core/geometry/DPoly.h"
#include "core/geometry/ViewInfo.h"
#include "platform/Canvas.h"

const CRepContours::Shape& CRepContours::GetAt(int i) const {
  if (i < 0 || i >= GetSize()) throw std::out_of_range("contour index");
  return shapes_[static_cast<std::size_t>(i)];
}

void CRepContours::Reserve(std::size_t shapes, std::size_t points) {
  shapes_.reserve(shapes);
  points_.reserve(points);
}

void CRepContours::AddShape(Color colour, double level, std::size_t first) {
  shapes_.push_back({colour, level, static_cast<std::uint32_t>(first),
                     static_cast<std::uint32_t>(points_.size() - first)});
}

void CRepContours::AddLine(Color colour, double level, const CDPoint& from, const CDPoint& to) {
  const std::size_t first = points_.size();
  points_.push_back(from);
  points_.push_back(to);
  AddShape(colour, level, first);
}

void CRepContours::AddBand(Color colour, const CDPoly& region) {
  const std::size_t first = points_.size();
  for (int p = 0; p < region.GetSize(); ++p) {
    const CDPoint& vertex = *region.GetAt(p);
    points_.emplace_back(vertex.x, vertex.y);
  }
  AddShape(colour, kNoValue, first);
}

void CRepContours::Draw(CViewInfo* view) const {
  Canvas& canvas = *view->dc;
  std::vector<DevPoint> points;
  for (const Shape& shape : shapes_) {
    points.clear();
    for (const CDPoint& p : PointsOf(shape)) points.push_back(view->LPtoDP(p));
    if (!painted_) {
      const ScopedPen pen(canvas, Pen{PenStyle::Solid, 2, shape.colour});
      canvas.Polyline(points);
    } else if (!points.empty()) {
      const ScopedPen pen(canvas, Pen{PenStyle::Null, 1, Color{}});
      const ScopedBrush brush(canvas, Brush{BrushStyle::Solid, shape.colour});
      canvas.Polygon(points);
    }
  }
}
