#pragma once
// The drawing surface behind every Draw member of the core and every owner-painted control. The
// canvas keeps the selected pen, brush, font, text settings, raster operation, clip rectangle and
// current position; implementations draw the primitives with that state (the recording canvas for
// tests, a QPainter canvas in the program).

#include <memory>
#include <optional>
#include <string>
#include <type_traits>
#include <vector>

#include "platform/CanvasImage.h"
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

// The script a font must cover; ShiftJis asks for a face with the Japanese glyphs.
enum class FontCharset { Default, ShiftJis };
// Fixed: every character of the face is equally wide, so columns of text line up.
enum class FontPitch { Default, Fixed, Variable };

struct Font {
  int height = 0;      // pixels; negative means character height as on the platform we emulate
  int width = 0;       // 0 = the face's natural width
  int weight = 400;    // 400 normal, 700 bold
  int escapement = 0;  // tenths of a degree, counter-clockwise
  std::string face;
  FontCharset charset = FontCharset::Default;
  FontPitch pitch = FontPitch::Default;
  friend bool operator==(const Font&, const Font&) = default;
};

// Where text sits against its reference point (TextOut) or inside its rectangle (DrawText): one
// horizontal value combined with one vertical value, e.g. TextAlign::Center | TextAlign::Top.
enum class TextAlign : unsigned {
  Left = 0,
  Center = 1,
  Right = 2,
  Top = 0,
  Middle = 4,
  Bottom = 8,
  Baseline = 12,  // the reference point lies on the baseline; in a rectangle it counts as Bottom
};

constexpr TextAlign operator|(TextAlign a, TextAlign b) {
  using U = std::underlying_type_t<TextAlign>;
  return static_cast<TextAlign>(static_cast<U>(a) | static_cast<U>(b));
}
// The horizontal (Left, Center, Right) and the vertical (Top, Middle, Bottom, Baseline) part.
constexpr TextAlign HorizontalPart(TextAlign a) {
  return static_cast<TextAlign>(static_cast<std::underlying_type_t<TextAlign>>(a) & 3u);
}
constexpr TextAlign VerticalPart(TextAlign a) {
  return static_cast<TextAlign>(static_cast<std::underlying_type_t<TextAlign>>(a) & 12u);
}

// Single: the text is one line, line breaks included. Multiple: each "\n" starts a new line and
// the block of lines is aligned in the rectangle as a whole.
enum class TextLines { Single, Multiple };

enum class BackgroundMode { Transparent, Opaque };

// CopyPen draws the pen colour; NotXorPen inverts what lies below so that drawing the same
// line twice restores the picture (the rubber band of mouse editing).
enum class RasterOp { CopyPen, NotXorPen };

// The colours of the desktop's theme that owner-painted controls follow.
enum class SystemColorRole {
  WindowText,
  ButtonFace,
  ButtonHighlight,   // the lit outer edge of a raised control
  ButtonLight,       // the lit inner edge
  ButtonShadow,      // the shaded inner edge; also disabled text
  ButtonDarkShadow,  // the shaded outer edge
};

// A two-colour blend over a rectangle: first at the top (left) edge, last at the bottom (right)
// edge, so that the bands of one colour run across the direction.
enum class GradientDirection { TopToBottom, LeftToRight };

struct Gradient {
  Color first;
  Color last;
  GradientDirection direction = GradientDirection::TopToBottom;
  friend bool operator==(const Gradient&, const Gradient&) = default;
};

// How a canvas maps onto its device, fixed when the canvas is made.
struct CanvasSetup {
  double pixelsPerMm = 96.0 / 25.4;  // device resolution; a screen of 96 dots per inch
  // Device y grows upward, as on the printer: the view's print mapping draws with y up, and the
  // canvas keeps text and images upright.
  bool yUp = false;
  friend bool operator==(const CanvasSetup&, const CanvasSetup&) = default;
};

class Canvas {
 public:
  explicit Canvas(const CanvasSetup& setup = {}) : setup_(setup) {}
  virtual ~Canvas() = default;
  Canvas(const Canvas&) = delete;
  Canvas& operator=(const Canvas&) = delete;

  double PixelsPerMm() const { return setup_.pixelsPerMm; }
  bool IsYUp() const { return setup_.yUp; }
  const CanvasSetup& Setup() const { return setup_; }

  // State setters return the previous value so that callers can restore it.
  Pen SelectPen(const Pen& pen);
  Brush SelectBrush(const Brush& brush);
  Font SelectFont(const Font& font);
  Color SetTextColor(Color color);
  Color SetBackgroundColor(Color color);
  BackgroundMode SetBackgroundMode(BackgroundMode mode);
  TextAlign SetTextAlign(TextAlign align);
  RasterOp SetRasterOp(RasterOp op);
  // Restricts later drawing to rect; nullopt removes the restriction.
  std::optional<DevRect> SetClipRect(const std::optional<DevRect>& rect);

  const Pen& CurrentPen() const { return pen_; }
  const Brush& CurrentBrush() const { return brush_; }
  const Font& CurrentFont() const { return font_; }
  Color TextColor() const { return textColor_; }
  Color BackgroundColor() const { return backgroundColor_; }
  BackgroundMode CurrentBackgroundMode() const { return backgroundMode_; }
  TextAlign CurrentTextAlign() const { return textAlign_; }
  RasterOp CurrentRasterOp() const { return rasterOp_; }
  const std::optional<DevRect>& ClipRect() const { return clip_; }
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
  // Text at a reference point, placed by the current text alignment.
  virtual void TextOut(DevPoint at, const std::string& utf8) = 0;
  // Text inside a rectangle, placed by align and cut at the rectangle's edges; drawn with the
  // current font, text colour and background (the current text alignment does not apply).
  virtual void DrawText(const DevRect& rect, const std::string& utf8, TextAlign align,
                        TextLines lines) = 0;
  // The size of the text on one line in the current font.
  virtual DevSize TextExtent(const std::string& utf8) const = 0;
  virtual void FillRect(const DevRect& rect, const Brush& brush) = 0;
  virtual void FillGradient(const DevRect& rect, const Gradient& gradient) = 0;
  // The dotted frame that marks the control with the keyboard focus, drawn so that drawing it
  // twice at the same place removes it.
  virtual void DrawFocusRect(const DevRect& rect) = 0;
  // Copies the pixels of image from sourceOrigin onwards into target, pixel for pixel, without
  // scaling; what lies outside the image leaves the canvas untouched.
  virtual void DrawImage(const DevRect& target, const CanvasImage& image,
                         DevPoint sourceOrigin) = 0;
  virtual Color SystemColor(SystemColorRole role) const = 0;
  // A canvas of the same kind that draws into image, at this canvas's resolution with y down
  // and every setting at its default. The image must outlive the returned canvas and keep its
  // size; its pixels are complete once that canvas is destroyed.
  virtual std::unique_ptr<Canvas> CreateImageCanvas(CanvasImage& image) = 0;

 protected:
  virtual void Line(DevPoint from, DevPoint to) = 0;

 private:
  CanvasSetup setup_;
  Pen pen_{};
  Brush brush_{};
  Font font_{};
  Color textColor_{};
  Color backgroundColor_ = Color::Rgb(255, 255, 255);
  BackgroundMode backgroundMode_ = BackgroundMode::Opaque;
  TextAlign textAlign_ = TextAlign::Left | TextAlign::Top;
  RasterOp rasterOp_ = RasterOp::CopyPen;
  std::optional<DevRect> clip_;
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

// Saves every setting of the canvas (pen, brush, font, colours, background mode, text alignment,
// raster operation, clip rectangle and current position) and puts them all back at the end of
// the scope.
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
  TextAlign textAlign_;
  RasterOp rasterOp_;
  std::optional<DevRect> clip_;
  DevPoint position_;
};
