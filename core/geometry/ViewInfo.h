#pragma once
// The drawing context of one output (screen, printer or Word picture): where the drawing goes,
// which world area it shows at which scale, and the conversions between world points (y up) and
// device pixels.

#include <memory>

#include "core/geometry/DPoint.h"
#include "platform/DevTypes.h"

class Canvas;
class CMakeAvi;
class PlatformWindow;

class CViewInfo {
 public:
  static constexpr int kModeDraw = 0;
  static constexpr int kModePrint = 1;
  static constexpr int kModeWord = 2;

  DevRect rect;                      // client rectangle of the output, set by the owner
  Canvas* dc = nullptr;              // where the drawing goes; not owned
  PlatformWindow* window = nullptr;  // the window drawn into; not owned
  // The movie recorder. Views copied with operator= share it; the view that created it closes
  // the recording in DestroyMovieObject. Shared ownership keeps the recorder alive for as long
  // as any copy still points at it, so a copy that outlives the closing only reaches a closed
  // recorder (which ignores captures), never freed memory.
  std::shared_ptr<CMakeAvi> movie;
  double xmin = 0.0;  // left edge of the world area; kAreaNotSet = area not set
  double xmax = 30.0;
  double ymax = 30.0;
  double ymin = 0.0;
  double scale = 1.0;  // pixels per world unit, from CalcScale
  double zoom = 1.0;   // extra factor while zoomOn
  bool zoomOn = false;
  int scrollX = 0;  // pixels subtracted after mapping
  int scrollY = 0;
  int centreX = 0;  // device point onto which the centre of the world area falls
  int centreY = 0;
  int width = 0;  // device size used by CalcScale
  int height = 0;
  int marginX = 50;  // free border kept on each side by CalcScale
  int marginY = 50;
  int mode = kModeDraw;
  bool preview = false;  // a print preview is running

  CViewInfo() = default;
  // A copy draws nowhere until its owner gives it a device context.
  CViewInfo(const CViewInfo& other);
  // Copies everything except the device context, which stays the target's own.
  CViewInfo& operator=(const CViewInfo& other);
  ~CViewInfo() = default;

  void SetArea(double left, double top, double right, double bottom);
  void SetArea(const CViewInfo& other);
  double CenterX() const;
  double CenterY() const;
  double WidthX() const;
  double WidthY() const;

  // Fits the world area into the device size less the margins with one scale for both axes;
  // stores and returns it. An unset area returns 1.0 and keeps the scale.
  double CalcScale();

  // World to device. Coordinates beyond the device range are clamped to the int range.
  DevPoint LPtoDP(const CDPoint& p) const;
  // Device to world (flag 0); the no-value point while the area is not set.
  CDPoint DPtoLP(DevPoint p) const;
  // Device to world with separate x and y scales fitted from the size and the margins.
  CDPoint DPtoLP2(DevPoint p) const;

  void ModeDraw() { mode = kModeDraw; }
  void ModePrint() { mode = kModePrint; }
  void ModeWord() { mode = kModeWord; }
  bool IsDraw() const { return mode == kModeDraw; }
  bool IsPrint() const { return mode == kModePrint; }
  bool IsWord() const { return mode == kModeWord; }
  bool IsPreview() const { return preview; }
  // The factor drawing code applies to its font heights: 10 for the printer and its preview.
  int GetFontMultiple() const;

  // Drawing helpers on world coordinates, with the canvas's current pen and brush.
  // A filled square marker on p, larger when big.
  void Point(Canvas& canvas, const CDPoint& p, bool big) const;
  void Line(Canvas& canvas, double x1, double y1, double x2, double y2) const;
  void Rectangle(Canvas& canvas, double x1, double y1, double x2, double y2) const;
  // A cross of two 10-pixel diagonals through (x, y).
  void Batten(Canvas& canvas, double x, double y) const;

  // Starts a new recorder, ending the recording of a recorder this view already holds. The
  // result is observed, not owned.
  CMakeAvi* CreateMovieObject();
  // Ends the recording and lets go of the recorder.
  void DestroyMovieObject();
  // Appends the window's client area to the recording when a recorder and a window are set.
  void MovieCapture() const;

 private:
  bool IsAreaSet() const { return xmin != kAreaNotSet; }
  // The scale in effect for the screen and Word mappings.
  double DrawScale() const;
};
