#include "core/geometry/ViewInfo.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdint>

#include "core/base/AppIdentity.h"
#include "platform/Canvas.h"
#include "platform/MakeAvi.h"

namespace {

// The product of a world offset and a scale, truncated toward zero and held in the int range:
// far-off coordinates (and the no-value sentinel) cannot overflow the conversion.
std::int64_t TruncToDevice(double v) {
  if (std::isnan(v)) return 0;
  const double t =
      std::clamp(std::trunc(v), static_cast<double>(INT_MIN), static_cast<double>(INT_MAX));
  return static_cast<std::int64_t>(t);
}

int ClampToInt(std::int64_t v) {
  return static_cast<int>(std::clamp<std::int64_t>(v, INT_MIN, INT_MAX));
}

// p moved by (dx, dy) pixels; a mapped point may lie at the edge of the int range, so the sum is
// held in that range as well.
DevPoint Shifted(DevPoint p, int dx, int dy) {
  return {ClampToInt(std::int64_t{p.x} + dx), ClampToInt(std::int64_t{p.y} + dy)};
}

}  // namespace

CViewInfo::CViewInfo(const CViewInfo& other) { *this = other; }

CViewInfo& CViewInfo::operator=(const CViewInfo& other) {
  if (this == &other) return *this;
  rect = other.rect;
  window = other.window;
  movie = other.movie;
  xmin = other.xmin;
  xmax = other.xmax;
  ymax = other.ymax;
  ymin = other.ymin;
  scale = other.scale;
  zoom = other.zoom;
  zoomOn = other.zoomOn;
  scrollX = other.scrollX;
  scrollY = other.scrollY;
  centreX = other.centreX;
  centreY = other.centreY;
  width = other.width;
  height = other.height;
  marginX = other.marginX;
  marginY = other.marginY;
  mode = other.mode;
  preview = other.preview;
  return *this;
}

void CViewInfo::SetArea(double left, double top, double right, double bottom) {
  xmin = left;
  ymax = top;
  xmax = right;
  ymin = bottom;
}

void CViewInfo::SetArea(const CViewInfo& other) {
  SetArea(other.xmin, other.ymax, other.xmax, other.ymin);
}

double CViewInfo::CenterX() const { return (xmin + xmax) / 2; }
double CViewInfo::CenterY() const { return (ymin + ymax) / 2; }
double CViewInfo::WidthX() const { return std::fabs(xmax - xmin); }
double CViewInfo::WidthY() const { return std::fabs(ymax - ymin); }

double CViewInfo::CalcScale() {
  if (!IsAreaSet()) return 1.0;
  const double sx = (width - 2 * marginX) / (xmax - xmin);
  const double sy = (height - 2 * marginY) / (ymax - ymin);
  scale = sx < sy ? sx : sy;
  return scale;
}

double CViewInfo::DrawScale() const { return zoomOn ? scale * zoom : scale; }

DevPoint CViewInfo::LPtoDP(const CDPoint& p) const {
  if (!IsAreaSet()) return {};
  const double cx = CenterX();
  const double cy = CenterY();
  if (IsPrint()) {
    // The printer's y grows upward: no flip, and neither zoom nor scroll.
    return {ClampToInt(TruncToDevice((p.x - cx) * scale) + centreX),
            ClampToInt(TruncToDevice((p.y - cy) * scale) + centreY)};
  }
  const double s = DrawScale();
  return {ClampToInt(TruncToDevice((p.x - cx) * s) + centreX - scrollX),
          ClampToInt(TruncToDevice((cy - p.y) * s) - scrollY + centreY)};
}

// Device coordinates are taken to double before they are combined, so that no int sum can
// overflow; for every int input the differences are exact.
CDPoint CViewInfo::DPtoLP(DevPoint p) const {
  if (!IsAreaSet()) return {};
  const double cx = CenterX();
  const double cy = CenterY();
  if (IsPrint()) {
    return {(static_cast<double>(p.x) - centreX) / scale + cx,
            (static_cast<double>(p.y) - centreY) / scale + cy};
  }
  const double s = DrawScale();
  return {(static_cast<double>(p.x) + scrollX - centreX) / s + cx,
          (static_cast<double>(centreY) - scrollY - p.y) / s + cy};
}

CDPoint CViewInfo::DPtoLP2(DevPoint p) const {
  if (!IsAreaSet()) return {};
  const double cx = CenterX();
  const double cy = CenterY();
  if (IsPrint()) {
    return {static_cast<double>(p.x) - centreX + cx, static_cast<double>(p.y) - centreY + cy};
  }
  double sx = (width - 2 * marginX) / (xmax - xmin);
  double sy = (height - 2 * marginY) / (ymax - ymin);
  if (zoomOn) {
    sx *= zoom;
    sy *= zoom;
  }
  return {(static_cast<double>(p.x) + scrollX - centreX) / sx + cx,
          (static_cast<double>(centreY) - scrollY - p.y) / sy + cy};
}

int CViewInfo::GetFontMultiple() const { return IsPrint() || preview ? 10 : 1; }

void CViewInfo::Point(Canvas& canvas, const CDPoint& p, bool big) const {
  const DevPoint d = LPtoDP(p);
  const int before = big ? 3 : 2;
  const int after = big ? 4 : 2;
  const DevPoint from = Shifted(d, -before, -before);
  const DevPoint to = Shifted(d, after, after);
  canvas.Rectangle({from.x, from.y, to.x, to.y});
}

void CViewInfo::Line(Canvas& canvas, double x1, double y1, double x2, double y2) const {
  canvas.MoveTo(LPtoDP(CDPoint(x1, y1)));
  canvas.LineTo(LPtoDP(CDPoint(x2, y2)));
}

void CViewInfo::Rectangle(Canvas& canvas, double x1, double y1, double x2, double y2) const {
  const DevPoint a = LPtoDP(CDPoint(x1, y1));
  const DevPoint b = LPtoDP(CDPoint(x2, y2));
  canvas.Rectangle({a.x, a.y, b.x, b.y});
}

void CViewInfo::Batten(Canvas& canvas, double x, double y) const {
  const DevPoint d = LPtoDP(CDPoint(x, y));
  canvas.MoveTo(Shifted(d, -5, -5));
  canvas.LineTo(Shifted(d, 5, 5));
  canvas.MoveTo(Shifted(d, -5, 5));
  canvas.LineTo(Shifted(d, 5, -5));
}

CMakeAvi* CViewInfo::CreateMovieObject() {
  DestroyMovieObject();
  movie = std::make_shared<CMakeAvi>(GetAppTitle());
  return movie.get();
}

void CViewInfo::DestroyMovieObject() {
  if (movie) movie->Close();
  movie.reset();
}

void CViewInfo::MovieCapture() const {
  if (movie && window != nullptr) movie->CaptureFrame(*window);
}
