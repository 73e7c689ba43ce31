#include "bridge/BridgeState.h"

#include <cmath>
#include <numbers>
#include <utility>

namespace {

struct Circle {
  CadPoint centre;
  double radius;
};

// The circle through three points; none when they lie on a line.
std::optional<Circle> CircleThrough(const CadPoint& a, const CadPoint& b, const CadPoint& c) {
  const double d = 2 * (a.x * (b.y - c.y) + b.x * (c.y - a.y) + c.x * (a.y - b.y));
  if (std::abs(d) < 1e-12) return std::nullopt;
  const double a2 = a.x * a.x + a.y * a.y;
  const double b2 = b.x * b.x + b.y * b.y;
  const double c2 = c.x * c.x + c.y * c.y;
  const CadPoint centre{(a2 * (b.y - c.y) + b2 * (c.y - a.y) + c2 * (a.y - b.y)) / d,
                        (a2 * (c.x - b.x) + b2 * (a.x - c.x) + c2 * (b.x - a.x)) / d};
  return Circle{centre, std::hypot(a.x - centre.x, a.y - centre.y)};
}

double AngleOf(const Circle& circle, const CadPoint& p) {
  return std::atan2(p.y - circle.centre.y, p.x - circle.centre.x);
}

// The counter-clockwise turn from one angle to another, in [0, 2pi).
double TurnCcw(double from, double to) {
  double turn = std::fmod(to - from, 2 * std::numbers::pi);
  if (turn < 0) turn += 2 * std::numbers::pi;
  return turn;
}

}  // namespace

SlideDrawing BuildSlideDrawing(const BridgeShape& surface) {
  SlideDrawing drawing;
  const std::size_t n = surface.points.size();
  for (std::size_t i = 0; i < n;) {
    const bool arc = i < surface.styles.size() && surface.styles[i] == 1 && i + 2 < n;
    if (!arc) {
      drawing.points.push_back({surface.points[i], -1});
      ++i;
      continue;
    }
    const int index = static_cast<int>(drawing.arcs.size());
    drawing.arcs.push_back({{surface.points[i], surface.points[i + 1], surface.points[i + 2]}});
    for (std::size_t k = 0; k < 3; ++k) drawing.points.push_back({surface.points[i + k], index});
    i += 3;
  }
  return drawing;
}

std::vector<CadPoint> TraceArc(const SlideDrawing::Arc& arc) {
  const auto& [start, middle, end] = arc.through;
  const std::optional<Circle> circle = CircleThrough(start, middle, end);
  if (!circle) return {end};
  const double a0 = AngleOf(*circle, start);
  // The sweep runs the way that passes the middle point.
  const double ccw = TurnCcw(a0, AngleOf(*circle, end));
  const bool viaCcw = TurnCcw(a0, AngleOf(*circle, middle)) <= ccw;
  const double sweep = viaCcw ? ccw : ccw - 2 * std::numbers::pi;
  std::vector<CadPoint> points;
  for (double t = 0.2; t < 1.001; t += 0.2) {
    const double a = a0 + sweep * t;
    points.push_back({circle->centre.x + circle->radius * std::cos(a),
                      circle->centre.y + circle->radius * std::sin(a)});
  }
  return points;
}

BridgeState& Bridge() {
  static BridgeState state;
  return state;
}

void ResetBridge() {
  BridgeState& state = Bridge();
  state.selected.reset();
  state.modelBottom = 0;
  state.slide.reset();
  state.slideDrawing = {};
}

BridgeCase& SelectedOrNewCase() {
  std::optional<BridgeCase>& selected = Bridge().selected;
  if (!selected) selected.emplace();
  return *selected;
}

void SetSlideSurface(BridgeShape surface) {
  BridgeState& state = Bridge();
  state.slideDrawing = BuildSlideDrawing(surface);
  state.slide = std::move(surface);
}
