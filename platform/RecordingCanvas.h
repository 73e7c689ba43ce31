#pragma once
// A canvas that draws nothing and records every primitive together with the state it was drawn
// with, so that tests can check which primitives a Draw member made, where and with which pen.
// The record prints as text, one line per primitive, for the message of a failing test:
//   Line (10,20)-(30,40) pen=Solid/1/#0000FF rop=NotXor
// Each line shows the state that primitive uses: pen=style/width/colour, brush=style/colour,
// font="face"/height/width/weight/escapement, rectangles as [left,top,right,bottom], colours as
// #RRGGBB, and clip=[...] while a clip rectangle is set.

#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

#include "platform/Canvas.h"

enum class PrimitiveKind { Line, Polyline, Polygon, Rectangle, Ellipse, Arc, Text, FillRect };

// The canvas state at the moment a primitive was drawn.
struct CanvasState {
  Pen pen;
  Brush brush;
  Font font;
  Color textColor;
  Color backgroundColor;
  BackgroundMode backgroundMode = BackgroundMode::Opaque;
  unsigned textAlign = 0;
  RasterOp rasterOp = RasterOp::CopyPen;
  std::optional<DevRect> clip;  // nullopt: drawing is not restricted
  friend bool operator==(const CanvasState&, const CanvasState&) = default;
};

struct DrawnPrimitive {
  PrimitiveKind kind = PrimitiveKind::Line;
  // Line: from and to; Polyline, Polygon: the vertices; Arc: the start and end points that fix
  // its radials; Text: the reference point.
  std::vector<DevPoint> points;
  DevRect rect;      // Rectangle, Ellipse, Arc (the bounding rectangle), FillRect
  std::string text;  // Text
  Brush fillBrush;   // FillRect: the brush it was given (the selected brush is in state)
  CanvasState state;
  friend bool operator==(const DrawnPrimitive&, const DrawnPrimitive&) = default;
};

// One line of the record, without the line break.
std::ostream& operator<<(std::ostream& os, const DrawnPrimitive& primitive);

class RecordingCanvas : public Canvas {
 public:
  const std::vector<DrawnPrimitive>& Primitives() const { return primitives_; }
  // The primitives of one kind, in drawing order.
  std::vector<DrawnPrimitive> PrimitivesOf(PrimitiveKind kind) const;
  // The whole record, one line per primitive.
  std::string Dump() const;
  void Clear() { primitives_.clear(); }

  void Polyline(const std::vector<DevPoint>& points) override;
  void Polygon(const std::vector<DevPoint>& points) override;
  void Rectangle(const DevRect& rect) override;
  void Ellipse(const DevRect& rect) override;
  void Arc(const DevRect& rect, DevPoint start, DevPoint end) override;
  void TextOut(DevPoint at, const std::string& utf8) override;
  // A fixed metric, so that layouts computed from it are the same on every machine: each code
  // point is as wide as the font's width, or half its height when the width is 0; the extent is
  // as high as the font. A font of height 0 (the face's default) counts as 16 pixels high.
  DevSize TextExtent(const std::string& utf8) const override;
  void FillRect(const DevRect& rect, const Brush& brush) override;
  void SetClipRect(const std::optional<DevRect>& rect) override { clip_ = rect; }

 protected:
  void Line(DevPoint from, DevPoint to) override;

 private:
  // Appends a primitive of that kind drawn with the current state; the caller fills in the rest.
  DrawnPrimitive& Record(PrimitiveKind kind);

  std::vector<DrawnPrimitive> primitives_;
  std::optional<DevRect> clip_;
};
