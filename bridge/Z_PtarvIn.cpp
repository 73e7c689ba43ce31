#include "bridge/Z_PtarvIn.h"

#include <QDialog>
#include <algorithm>
#include <cstring>
#include <string>
#include <utility>

#include "bridge/BridgeState.h"
#include "bridge/CadImportDlg.h"

namespace {

constexpr int kPolygonKind = 6;

std::function<int(QDialog&)>& ModalRunner() {
  static std::function<int(QDialog&)> runner;
  return runner;
}

// The shape list of a kind in the selected case; null for a refused kind or no case. Kind 6,
// the terrain's polygons, is an empty list.
const std::vector<BridgeShape>* ShapeList(int kind) {
  static const std::vector<BridgeShape> kNoPolygons;
  const std::optional<BridgeCase>& selected = Bridge().selected;
  if (!selected) return nullptr;
  if (kind == kPolygonKind) return &kNoPolygons;
  if (kind < 0 || kind >= BridgeCase::kKinds) return nullptr;
  return &selected->shapes[static_cast<std::size_t>(kind)];
}

const BridgeShape* Shape(int kind, int n) {
  const std::vector<BridgeShape>* list = ShapeList(kind);
  if (list == nullptr || n < 0 || n >= static_cast<int>(list->size())) return nullptr;
  return &(*list)[static_cast<std::size_t>(n)];
}

// Copies the points (and the styles of a slip surface) into the caller's arrays.
int CopyShape(const BridgeShape& shape, double* x, double* y, int* styles) {
  const int count = static_cast<int>(shape.points.size());
  if (x == nullptr || y == nullptr) return count;
  for (std::size_t i = 0; i < shape.points.size(); ++i) {
    x[i] = shape.points[i].x;
    y[i] = shape.points[i].y;
    if (styles != nullptr && i < shape.styles.size()) styles[i] = shape.styles[i];
  }
  return count;
}

// Copies text into a buffer of size bytes, cut to fit and terminated.
void CopyText(const std::string& text, char* buffer, int size) {
  if (buffer == nullptr || size <= 0) return;
  const std::size_t length = std::min(text.size(), static_cast<std::size_t>(size - 1));
  std::memcpy(buffer, text.data(), length);
  buffer[length] = '\0';
}

const char* ShapeName(int kind) {
  switch (kind) {
    case 0:
      return "地形";
    case 1:
      return "地層境界";
    default:
      return "水位";
  }
}

}  // namespace

void Z_PtarvIn_SetModalRunner(std::function<int(QDialog&)> runner) {
  ModalRunner() = std::move(runner);
}

extern "C" {

void Z_PtarvIn_Init() { ResetBridge(); }

void Z_PtarvIn_SetDefaultExt(const char* extension) {
  Bridge().defaultExtension = extension != nullptr ? extension : "";
}

int Z_PtarvIn_OpenCadFile(const char* initialPath, int terrainRow, int stratumRow, int waterRow,
                          int slideRow, int sxfStep, int dwg, int bottomLevel, int controlMode) {
  CCadImportDlg::Options options;
  options.rows = {terrainRow != 0, stratumRow != 0, waterRow != 0, slideRow != 0};
  options.sxfStep = sxfStep != 0;
  options.dwg = dwg != 0;
  options.bottomLevel = bottomLevel != 0;
  options.controlMode = controlMode;
  options.defaultExtension = Bridge().defaultExtension;
  options.initialPath = initialPath != nullptr ? initialPath : "";
  CCadImportDlg dialog(options);
  const std::function<int(QDialog&)>& run = ModalRunner();
  if (!run) return 0;
  return run(dialog) == QDialog::Accepted ? 1 : 0;
}

int Z_PtarvIn_GetShapeCount(int kind) {
  const std::vector<BridgeShape>* list = ShapeList(kind);
  return list != nullptr ? static_cast<int>(list->size()) : -1;
}

int Z_PtarvIn_GetCoordinats(int kind, int n, double* x, double* y, int* styles) {
  const BridgeShape* shape = Shape(kind, n);
  return shape != nullptr ? CopyShape(*shape, x, y, styles) : -1;
}

void Z_PtarvIn_Exit() { ResetBridge(); }

int Z_PtarvIn_Test(char* buffer, int size) {
  CopyText("Z_PtarvIn.dll Test", buffer, size);
  return 1;
}

int Z_PtarvIn_GetShapeName(int kind, int n, char* buffer, int size) {
  const BridgeShape* shape = Shape(kind, n);
  if (shape == nullptr) return -1;
  CopyText(shape->name, buffer, size);
  return static_cast<int>(shape->name.size());
}

int Z_PtarvIn_GetSlideCoordinats(int kind, int n, double* x, double* y, int* styles,
                                 int* strengthTypes) {
  const BridgeShape* shape = Shape(kind, n);
  if (shape == nullptr) return -1;
  if (strengthTypes != nullptr) std::fill_n(strengthTypes, shape->points.size(), 0);
  return CopyShape(*shape, x, y, styles);
}

int Z_PtarvIn_AddShape(int kind, int count, const double* x, const double* y) {
  if (kind < 0 || kind > 2 || count < 0 || (count > 0 && (x == nullptr || y == nullptr))) {
    return -1;
  }
  BridgeShape shape;
  shape.name = ShapeName(kind);
  shape.points.reserve(static_cast<std::size_t>(count));
  for (int i = 0; i < count; ++i) shape.points.push_back({x[i], y[i]});
  std::vector<BridgeShape>& list = SelectedOrNewCase().shapes[static_cast<std::size_t>(kind)];
  list.push_back(std::move(shape));
  return static_cast<int>(list.size()) - 1;
}

int Z_PtarvIn_SetSlideShape(int count, const double* x, const double* y, const int* styles) {
  if (count < 0 || (count > 0 && (x == nullptr || y == nullptr))) return -1;
  BridgeShape surface;
  surface.name = "すべり面";
  for (int i = 0; i < count; ++i) {
    surface.points.push_back({x[i], y[i]});
    surface.styles.push_back(styles != nullptr ? styles[i] : 0);
  }
  SetSlideSurface(std::move(surface));
  return count;
}

int Z_PtarvIn_GetSlidePointsCount() {
  return Bridge().slide ? static_cast<int>(Bridge().slideDrawing.points.size()) : 0;
}

int Z_PtarvIn_GetSlidePoint(int i, double* x, double* y, int* onArc, ZPtarvInArc* arc) {
  const SlideDrawing& drawing = Bridge().slideDrawing;
  if (!Bridge().slide || i < 0 || i >= static_cast<int>(drawing.points.size())) return 0;
  const SlideDrawing::Point& point = drawing.points[static_cast<std::size_t>(i)];
  if (x != nullptr) *x = point.at.x;
  if (y != nullptr) *y = point.at.y;
  if (onArc != nullptr) *onArc = point.arc >= 0 ? 1 : 0;
  if (point.arc >= 0 && arc != nullptr) {
    const SlideDrawing::Arc& source = drawing.arcs[static_cast<std::size_t>(point.arc)];
    for (std::size_t k = 0; k < 3; ++k) {
      arc->x[k] = source.through[k].x;
      arc->y[k] = source.through[k].y;
    }
  }
  return 1;
}

double Z_PtarvIn_GetModelBottom() { return Bridge().modelBottom; }

}  // extern "C"
