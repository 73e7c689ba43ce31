// CDPolyArray::CutPolyWithSlide: cutting the stratum polygons along a working slide surface.

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

#include "core/geometry/DArc.h"
#include "core/geometry/DPolyArray.h"
#include "core/section/SpSlideWork.h"

namespace {

// More steps than any arc of a section takes: an arc through three points within +-9999.999 is
// at most about 89,000 long, 57,000 steps. The cut along the points costs time in proportion to
// their number, so a longer arc (only a damaged one) must not walk its steps.
constexpr double kMaxArcSteps = 1e5;

// Appends points of the arc at angle steps of pi/(2R), then its far end; from the end angle
// back to the start angle when the surface walks the arc against its direction. An arc of a
// damaged record (a radius that is not positive, values that are not finite, or a sweep of
// more steps than any section needs) gives its far end only.
void AddArcPoints(const CDArc& arc, bool forward, CDPoly& line) {
  const double from = arc.start;
  const double to = arc.end < arc.start ? arc.end + 2 * std::numbers::pi : arc.end;
  const auto pointAt = [&arc](double angle) {
    return CDPoint(arc.centre.x + arc.R * std::cos(angle), arc.centre.y + arc.R * std::sin(angle));
  };
  std::vector<CDPoint> points;
  if (arc.R > 0) {
    const double step = std::numbers::pi / (2 * arc.R);
    const double steps = (to - from) / step;  // not finite for a damaged arc
    if (steps <= kMaxArcSteps) {
      // Counting the steps also ends the walk where a step is too small to move the angle on
      // (a huge radius); the points of a sound arc never reach the count.
      int k = 0;
      for (double angle = from; angle < to && k <= steps + 1; angle += step, ++k) {
        points.push_back(pointAt(angle));
      }
    }
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
