// CDPolyArray::CutPolyWithSlide: cutting the stratum polygons along a working slide surface.

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

#include "core/geometry/DArc.h"
#include "core/geometry/DPolyArray.h"
#include "core/geometry/SpSlideWork.h"

namespace {

// Appends points of the arc at angle steps of pi/(2R), then its far end; from the end angle
// back to the start angle when the surface walks the arc against its direction. An arc without
// a positive radius (a damaged record) gives its far end only.
void AddArcPoints(const CDArc& arc, bool forward, CDPoly& line) {
  const double from = arc.start;
  const double to = arc.end < arc.start ? arc.end + 2 * std::numbers::pi : arc.end;
  const auto pointAt = [&arc](double angle) {
    return CDPoint(arc.centre.x + arc.R * std::cos(angle), arc.centre.y + arc.R * std::sin(angle));
  };
  std::vector<CDPoint> points;
  if (arc.R > 0) {
    const double step = std::numbers::pi / (2 * arc.R);
    for (double angle = from; angle < to; angle += step) points.push_back(pointAt(angle));
  }
  points.push_back(pointAt(to));
  if (!forward) std::reverse(points.begin(), points.end());
  for (const CDPoint& p : points) line.Add(p);
}

}  // namespace

std::unique_ptr<CDPolyArray> CDPolyArray::CutPolyWithSlide(const CDPoly* outline,
                                                           const CSpSlideWork* work,
                                                           int keepAbove) const {
  CDPoly line;
  for (int i = 0; i < work->GetSize(); ++i) {
    const CDPoint& vertex = *work->GetAt(i);
    const int flag = vertex.flag;
    if (flag < 0 || flag >= work->GetArcCount()) {
      line.Add(vertex.x, vertex.y);
      continue;
    }
    AddArcPoints(*work->GetArcAt(flag), work->RunsForward(i), line);
  }
  return CutPolyWithLine(outline, &line, keepAbove);
}
