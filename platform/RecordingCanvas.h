#pragma once
// A canvas that draws nothing and records every primitive together with the state it was drawn
// with, so that tests can check which primitives a Draw member made, where and with which pen.
// The record prints as text, one line per primitive, for the message of a failing test:
//   Line (10,20)-(30,40) pen=Solid/1/#0000FF rop=NotXor
// Each line shows the state that primitive uses: pen=style/width/colour, brush=style/colour,
// font="face"/height/width/weight/escapement (then /charset and /pitch when not the default),
// rectangles as [left,top,right,bottom], colours as #RRGGBB, and clip=[...] while a clip
// rectangle is set. Lines drawn on an image canvas made from the recording canvas start with
// "image N: ", N counting those canvases from 1.

#include <iosfwd>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/Canvas.h"

enum class PrimitiveKind {
  Line,
  Polyline,
  Polygon,
  Rectangle,
  Ellipse,
  Arc,
  Text,
  TextBox,
  FillRect,
  Gradient,
  FocusRect,
  Image,
  ImageCanvas,  // an image canvas was made: rect holds the image's size at 0, 0
};

// The canvas state at the moment a primitive was drawn.
struct CanvasState {
  Pen pen;
  Brush brush;
  Font font;
  Color textColor;
  Color backgroundColor;
  BackgroundMode backgroundMode = BackgroundMode::Opaque;
  TextAlign textAlign = TextAlign::Left | TextAlign::Top;
  RasterOp rasterOp = RasterOp::CopyPen;
  std::optional<DevRect> clip;  // nullopt: drawing is not restricted
  friend bool operator==(const CanvasState&, const CanvasState&) = default;
};

struct DrawnPrimitive {
  PrimitiveKind kind = PrimitiveKind::Line;
  // Line: from and to; Polyline, Polygon: the vertices; Arc: the start and end points that fix
  // its radials; Text: the reference point; Image: the source origin.
  std::vector<DevPoint> points;
  // Rectangle, Ellipse, Arc (the bounding rectangle), TextBox, FillRect, Gradient, FocusRect,
  // Image (the target), ImageCanvas.
  DevRect rect;
  std::string text;                      // Text, TextBox
  TextAlign boxAlign = TextAlign::Left;  // TextBox
  TextLines lines = TextLines::Single;   // TextBox
  Brush fillBrush;                       // FillRect: the brush it was given
  Gradient gradient;                     // Gradient
  CanvasImage image;                     // Image: a copy of the image drawn
  int surface = 0;                       // 0: the canvas itself; N: image canvas N
  CanvasState state;
  friend bool operator==(const DrawnPrimitive&, const DrawnPrimitive&) = default;
};

// One line of the record, without the line break.
std::ostream& operator<<(std::ostream& os, const DrawnPrimitive& primitive);

class RecordingCanvas : public Canvas {
 public:
  explicit RecordingCanvas(const CanvasSetup& setup = {});

  // Everything drawn on this canvas and on the image canvases made from it, in drawing order.
  const std::vector<DrawnPrimitive>& Primitives() const { return record_->primitives; }
  // The primitives of one kind, in drawing order.
  std::vector<DrawnPrimitive> PrimitivesOf(PrimitiveKind kind) const;
  // The whole record, one line per primitive.
  std::string Dump() const;
  void Clear() { record_->primitives.clear(); }

  void Polyline(const std::vector<DevPoint>& points) override;
  void Polygon(const std::vector<DevPoint>& points) override;
  void Rectangle(const DevRect& rect) override;
  void Ellipse(const DevRect& rect) override;
  void Arc(const DevRect& rect, DevPoint start, DevPoint end) override;
  void TextOut(DevPoint at, const std::string& utf8) override;
  void DrawText(const DevRect& rect, const std::string& utf8, TextAlign align,
                TextLines lines) override;
  // A fixed metric, so that layouts computed from it are the same on every machine: each code
  // point is as wide as the font's width, or half its height when the width is 0; the extent is
  // as high as the font. A font of height 0 (the face's default) counts as 16 pixels high.
  DevSize TextExtent(const std::string& utf8) const override;
  void FillRect(const DevRect& rect, const Brush& brush) override;
  void FillGradient(const DevRect& rect, const Gradient& gradient) override;
  void DrawFocusRect(const DevRect& rect) override;
  void DrawImage(const DevRect& target, const CanvasImage& image, DevPoint sourceOrigin) override;
  // A fixed light theme, the same on every machine: window text #000000, button face #F0F0F0,
  // button highlight #FFFFFF, light #E3E3E3, shadow #A0A0A0, dark shadow #696969.
  Color SystemColor(SystemColorRole role) const override;
  // A recording canvas that adds to this canvas's record under the next image number. It leaves
  // the image's pixels as they are.
  std::unique_ptr<Canvas> CreateImageCanvas(CanvasImage& image) override;

 protected:
  void Line(DevPoint from, DevPoint to) override;

 private:
  // The record shared by a canvas and the image canvases made from it.
  struct SharedRecord {
    std::vector<DrawnPrimitive> primitives;
    int imageCanvases = 0;
  };

  RecordingCanvas(const CanvasSetup& setup, std::shared_ptr<SharedRecord> record, int surface);

  // Appends a primitive of that kind drawn with the current state; the caller fills in the rest.
  DrawnPrimitive& Record(PrimitiveKind kind);

  std::shared_ptr<SharedRecord> record_;
  int surface_ = 0;
};
