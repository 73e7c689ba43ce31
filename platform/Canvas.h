#pragma once
// The drawing surface behind every Draw member of the core. The canvas keeps the selected pen,
// brush, font, text settings, raster operation and current position; implementations draw the
// primitives with that state (the recording canvas for tests, a QPainter canvas in the program).

#include <optional>
#include <string>
#include <vector>

#include "platform/DevTypes.h"

enum class PenStyle { Solid, Dash, Dot, DashDot, DashDotDot, Null };

struct Pen {
  PenStyle style = PenStyle::Solid;
  int width = 1;
  Color color{};
  friend bool operator==(const Pen&, const Pen&) = default;
};

enum class BrushStyle { Solid, Null };

struct Brush {
  BrushStyle style = BrushStyle::Solid;
  Color color = Color::Rgb(255, 255, 255);
  friend bool operator==(const Brush&, const Brush&) = default;
};

struct Font {
  int height = 0;      // pixels; negative means character height as on the platform we emulate
  int width = 0;       // 0 = the face's natural width
  int weight = 400;    // 400 normal, 700 bold
  int escapement = 0;  // tenths of a degree, counter-clockwise
  std::string face;
  friend bool operator==(const Font&, const Font&) = default;
};

// Text alignment flags, combinable: one horizontal and one vertical value.
namespace TextAlign {
inline constexpr unsigned Left = 0;
inline constexpr unsigned Right = 2;
inline constexpr unsigned Center = 6;
inline constexpr unsigned Top = 0;
inline constexpr unsigned Bottom = 8;
inline constexpr unsigned Baseline = 24;
}  // namespace TextAlign

enum class BackgroundMode { Transparent, Opaque };

// CopyPen draws the pen colour; NotXorPen inverts what lies below so that drawing the same
// line twice restores the picture (the rubber band of mouse editing).
enum class RasterOp { CopyPen, NotXorPen };

class Canvas {
 public:
  virtual ~Canvas() = default;

  // State setters return the previous value so that callers can restore it.
  Pen SelectPen(const Pen& pen);
  Brush SelectBrush(const Brush& brush);
  Font SelectFont(const Font& font);
  Color SetTextColor(Color color);
  Color SetBackgroundColor(Color color);
  BackgroundMode SetBackgroundMode(BackgroundMode mode);
  unsigned SetTextAlign(unsigned align);
  RasterOp SetRasterOp(RasterOp op);

  const Pen& CurrentPen() const { return pen_; }
  const Brush& CurrentBrush() const { return brush_; }
  const Font& CurrentFont() const { return font_; }
  Color TextColor() const { return textColor_; }
  Color BackgroundColor() const { return backgroundColor_; }
  BackgroundMode CurrentBackgroundMode() const { return backgroundMode_; }
  unsigned CurrentTextAlign() const { return textAlign_; }
  RasterOp CurrentRasterOp() const { return rasterOp_; }
  DevPoint CurrentPosition() const { return position_; }

  void MoveTo(DevPoint p) { position_ = p; }
  // Draws from the current position to p (p itself excluded, as on the platform) and moves there.
  void LineTo(DevPoint p);

  virtual void Polyline(const std::vector<DevPoint>& points) = 0;
  // Filled with the current brush by the alternate (even-odd) rule, outlined with the pen.
  virtual void Polygon(const std::vector<DevPoint>& points) = 0;
  // The right and bottom edges lie outside the rectangle.
  virtual void Rectangle(const DevRect& rect) = 0;
  virtual void Ellipse(const DevRect& rect) = 0;
  // The arc of the ellipse bounded by rect, counter-clockwise on the display from the radial
  // through start to the radial through end.
  virtual void Arc(const DevRect& rect, DevPoint start, DevPoint end) = 0;
  virtual void TextOut(DevPoint at, const std::string& utf8) = 0;
  virtual DevSize TextExtent(const std::string& utf8) const = 0;
  virtual void FillRect(const DevRect& rect, const Brush& brush) = 0;
  // Restricts later drawing to rect; nullopt removes the restriction.
  virtual void SetClipRect(const std::optional<DevRect>& rect) = 0;

 protected:
  virtual void Line(DevPoint from, DevPoint to) = 0;

 private:
  Pen pen_{};
  Brush brush_{};
  Font font_{};
  Color textColor_{};
  Color backgroundColor_ = Color::Rgb(255, 255, 255);
  BackgroundMode backgroundMode_ = BackgroundMode::Opaque;
  unsigned textAlign_ = TextAlign::Left | TextAlign::Top;
  RasterOp rasterOp_ = RasterOp::CopyPen;
  DevPoint position_{};
};

// Selects a pen for the life of the scope and puts the previous one back.
class ScopedPen {
 public:
  ScopedPen(Canvas& canvas, const Pen& pen) : canvas_(canvas), previous_(canvas.SelectPen(pen)) {}
  ~ScopedPen() { canvas_.SelectPen(previous_); }
  ScopedPen(const ScopedPen&) = delete;
  ScopedPen& operator=(const ScopedPen&) = delete;

 private:
  Canvas& canvas_;
  Pen previous_;
};

class ScopedBrush {
 public:
  ScopedBrush(Canvas& canvas, const Brush& brush)
      : canvas_(canvas), previous_(canvas.SelectBrush(brush)) {}
  ~ScopedBrush() { canvas_.SelectBrush(previous_); }
  ScopedBrush(const ScopedBrush&) = delete;
  ScopedBrush& operator=(const ScopedBrush&) = delete;

 private:
  Canvas& canvas_;
  Brush previous_;
};

// Saves every drawing setting of the canvas (pen, brush, font, colours, background mode, text
// alignment, raster operation) and puts them all back at the end of the scope.
class ScopedCanvasState {
 public:
  explicit ScopedCanvasState(Canvas& canvas);
  ~ScopedCanvasState();
  ScopedCanvasState(const ScopedCanvasState&) = delete;
  ScopedCanvasState& operator=(const ScopedCanvasState&) = delete;

 private:
  Canvas& canvas_;
  Pen pen_;
  Brush brush_;
  Font font_;
  Color textColor_;
  Color backgroundColor_;
  BackgroundMode backgroundMode_;
  unsigned textAlign_;
  RasterOp rasterOp_;
};
