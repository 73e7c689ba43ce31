#include "platform/RecordingCanvas.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <iterator>
#include <ostream>
#include <sstream>

namespace {

const char* KindName(PrimitiveKind kind) {
  switch (kind) {
    case PrimitiveKind::Line:
      return "Line";
    case PrimitiveKind::Polyline:
      return "Polyline";
    case PrimitiveKind::Polygon:
      return "Polygon";
    case PrimitiveKind::Rectangle:
      return "Rectangle";
    case PrimitiveKind::Ellipse:
      return "Ellipse";
    case PrimitiveKind::Arc:
      return "Arc";
    case PrimitiveKind::Text:
      return "Text";
    case PrimitiveKind::FillRect:
      return "FillRect";
  }
  return "?";
}

const char* PenStyleName(PenStyle style) {
  switch (style) {
    case PenStyle::Solid:
      return "Solid";
    case PenStyle::Dash:
      return "Dash";
    case PenStyle::Dot:
      return "Dot";
    case PenStyle::DashDot:
      return "DashDot";
    case PenStyle::DashDotDot:
      return "DashDotDot";
    case PenStyle::Null:
      return "Null";
  }
  return "?";
}

std::ostream& operator<<(std::ostream& os, DevPoint p) {
  return os << '(' << p.x << ',' << p.y << ')';
}

std::ostream& operator<<(std::ostream& os, const DevRect& r) {
  return os << '[' << r.left << ',' << r.top << ',' << r.right << ',' << r.bottom << ']';
}

std::ostream& operator<<(std::ostream& os, Color c) {
  char text[8];
  std::snprintf(text, sizeof text, "#%02X%02X%02X", c.Red(), c.Green(), c.Blue());
  return os << text;
}

std::ostream& operator<<(std::ostream& os, const Pen& pen) {
  return os << PenStyleName(pen.style) << '/' << pen.width << '/' << pen.color;
}

std::ostream& operator<<(std::ostream& os, const Brush& brush) {
  if (brush.style == BrushStyle::Null) return os << "Null";
  return os << "Solid/" << brush.color;
}

std::ostream& operator<<(std::ostream& os, const Font& font) {
  return os << '"' << font.face << "\"/" << font.height << '/' << font.width << '/' << font.weight
            << '/' << font.escapement;
}

void PrintAlign(std::ostream& os, unsigned align) {
  const unsigned horizontal = align & TextAlign::Center;
  const unsigned vertical = align & TextAlign::Baseline;
  if (horizontal == TextAlign::Left)
    os << "Left";
  else if (horizontal == TextAlign::Right)
    os << "Right";
  else if (horizontal == TextAlign::Center)
    os << "Center";
  else
    os << horizontal;
  os << '|';
  if (vertical == TextAlign::Top)
    os << "Top";
  else if (vertical == TextAlign::Bottom)
    os << "Bottom";
  else if (vertical == TextAlign::Baseline)
    os << "Baseline";
  else
    os << vertical;
}

void PrintPoints(std::ostream& os, const std::vector<DevPoint>& points) {
  for (const DevPoint& p : points) os << ' ' << p;
}

void PrintOutline(std::ostream& os, const CanvasState& state, bool filled) {
  os << " pen=" << state.pen;
  if (filled) os << " brush=" << state.brush;
  os << " rop=" << (state.rasterOp == RasterOp::NotXorPen ? "NotXor" : "Copy");
}

void PrintText(std::ostream& os, const CanvasState& state) {
  os << " font=" << state.font << " color=" << state.textColor << " align=";
  PrintAlign(os, state.textAlign);
  if (state.backgroundMode == BackgroundMode::Opaque) {
    os << " bk=Opaque/" << state.backgroundColor;
  } else {
    os << " bk=Transparent";
  }
}

int CountCodePoints(const std::string& utf8) {
  return static_cast<int>(std::count_if(utf8.begin(), utf8.end(), [](char c) {
    return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
  }));
}

}  // namespace

std::ostream& operator<<(std::ostream& os, const DrawnPrimitive& primitive) {
  const CanvasState& state = primitive.state;
  os << KindName(primitive.kind);
  switch (primitive.kind) {
    case PrimitiveKind::Line:
      os << ' ' << primitive.points.at(0) << '-' << primitive.points.at(1);
      PrintOutline(os, state, false);
      break;
    case PrimitiveKind::Polyline:
      PrintPoints(os, primitive.points);
      PrintOutline(os, state, false);
      break;
    case PrimitiveKind::Polygon:
      PrintPoints(os, primitive.points);
      PrintOutline(os, state, true);
      break;
    case PrimitiveKind::Rectangle:
    case PrimitiveKind::Ellipse:
      os << ' ' << primitive.rect;
      PrintOutline(os, state, true);
      break;
    case PrimitiveKind::Arc:
      os << ' ' << primitive.rect << ' ' << primitive.points.at(0) << "->"
         << primitive.points.at(1);
      PrintOutline(os, state, false);
      break;
    case PrimitiveKind::Text:
      os << ' ' << primitive.points.at(0) << " \"" << primitive.text << '"';
      PrintText(os, state);
      break;
    case PrimitiveKind::FillRect:
      os << ' ' << primitive.rect << " brush=" << primitive.fillBrush;
      break;
  }
  if (state.clip) os << " clip=" << *state.clip;
  return os;
}

std::vector<DrawnPrimitive> RecordingCanvas::PrimitivesOf(PrimitiveKind kind) const {
  std::vector<DrawnPrimitive> found;
  std::copy_if(primitives_.begin(), primitives_.end(), std::back_inserter(found),
               [kind](const DrawnPrimitive& p) { return p.kind == kind; });
  return found;
}

std::string RecordingCanvas::Dump() const {
  std::ostringstream os;
  for (const DrawnPrimitive& p : primitives_) os << p << '\n';
  return os.str();
}

DrawnPrimitive& RecordingCanvas::Record(PrimitiveKind kind) {
  DrawnPrimitive& p = primitives_.emplace_back();
  p.kind = kind;
  p.state = CanvasState{CurrentPen(),       CurrentBrush(),    CurrentFont(),
                        TextColor(),        BackgroundColor(), CurrentBackgroundMode(),
                        CurrentTextAlign(), CurrentRasterOp(), clip_};
  return p;
}

void RecordingCanvas::Line(DevPoint from, DevPoint to) {
  Record(PrimitiveKind::Line).points = {from, to};
}

void RecordingCanvas::Polyline(const std::vector<DevPoint>& points) {
  Record(PrimitiveKind::Polyline).points = points;
}

void RecordingCanvas::Polygon(const std::vector<DevPoint>& points) {
  Record(PrimitiveKind::Polygon).points = points;
}

void RecordingCanvas::Rectangle(const DevRect& rect) {
  Record(PrimitiveKind::Rectangle).rect = rect;
}

void RecordingCanvas::Ellipse(const DevRect& rect) { Record(PrimitiveKind::Ellipse).rect = rect; }

void RecordingCanvas::Arc(const DevRect& rect, DevPoint start, DevPoint end) {
  DrawnPrimitive& p = Record(PrimitiveKind::Arc);
  p.rect = rect;
  p.points = {start, end};
}

void RecordingCanvas::TextOut(DevPoint at, const std::string& utf8) {
  DrawnPrimitive& p = Record(PrimitiveKind::Text);
  p.points = {at};
  p.text = utf8;
}

DevSize RecordingCanvas::TextExtent(const std::string& utf8) const {
  constexpr int kDefaultHeight = 16;
  const Font& font = CurrentFont();
  const int height = font.height != 0 ? std::abs(font.height) : kDefaultHeight;
  const int charWidth = font.width != 0 ? std::abs(font.width) : height / 2;
  return DevSize{charWidth * CountCodePoints(utf8), height};
}

void RecordingCanvas::FillRect(const DevRect& rect, const Brush& brush) {
  DrawnPrimitive& p = Record(PrimitiveKind::FillRect);
  p.rect = rect;
  p.fillBrush = brush;
}
