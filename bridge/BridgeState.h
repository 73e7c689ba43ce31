#pragma once
// The bridge library's module state: one set per process, emptied by Z_PtarvIn_Init and
// Z_PtarvIn_Exit. It is ours, not a slope-stability document's: at most one case, with a shape
// list per kind, and the last slip surface with its drawing object for the import preview.

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "platform/cad/CadDrawing.h"

struct BridgeShape {
  std::string name;
  std::vector<CadPoint> points;
  std::vector<int> styles;  // slip surfaces: 1 where an arc begins, else 0
};

struct BridgeCase {
  static constexpr int kKinds = 4;  // terrain, stratum lines, water, slip surfaces
  std::array<std::vector<BridgeShape>, kKinds> shapes;
};

// A slip surface as it is drawn: runs of plain points, and arcs through three points.
struct SlideDrawing {
  struct Arc {
    std::array<CadPoint, 3> through;  // start, middle, end
  };
  struct Point {
    CadPoint at;
    int arc = -1;  // index into arcs, or -1 for a plain point
  };
  std::vector<Point> points;
  std::vector<Arc> arcs;
};

// A point style 1 begins an arc through that point and the next two; the rest are plain.
SlideDrawing BuildSlideDrawing(const BridgeShape& surface);

// The points from the arc's start through its middle to its end at the parameters 0.2, 0.4, ...
// 1.0 of its sweep (the start not included); the end alone when the three points lie on a line.
std::vector<CadPoint> TraceArc(const SlideDrawing::Arc& arc);

struct BridgeState {
  std::optional<BridgeCase> selected;
  std::string defaultExtension;
  double modelBottom = 0;
  std::optional<BridgeShape> slide;
  SlideDrawing slideDrawing;
};

BridgeState& Bridge();
// Back to the empty state; the default extension stays, as it is set before the dialog runs.
void ResetBridge();
// The selected case, created when there is none.
BridgeCase& SelectedOrNewCase();
// The module's slip surface and its drawing object, replacing earlier ones.
void SetSlideSurface(BridgeShape surface);
