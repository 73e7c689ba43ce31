#include "core/geometry/Polygon.h"

#include <vector>

#include "core/geometry/ViewInfo.h"
#include "platform/Canvas.h"

namespace {

const Pen kNullPen{PenStyle::Null, 1, Color{}};
const Brush kNullBrush{BrushStyle::Null, Color{}};

}  // namespace

void CPolygon::Draw(CViewInfo* view, int filled, int /*from*/, int /*to*/) const {
  if (Points().empty()) return;
  Canvas& canvas = *view->dc;
  const Pen outline{PenStyle::Solid, 1, paintColor_};
  const Brush fill{BrushStyle::Solid, paintColor_};
  const ScopedPen pen(canvas, filled != 0 ? kNullPen : outline);
  const ScopedBrush brush(canvas, filled != 0 ? fill : kNullBrush);

  // Every point is mapped as it is: the mapping clamps a no-value coordinate to the device range.
  std::vector<DevPoint> corners;
  corners.reserve(Points().size());
  for (const auto& p : Points()) corners.push_back(view->LPtoDP(*p));
  canvas.Polygon(corners);
}
