#include "platform/RecordingCanvas.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <iterator>
#include <ostream>
#include <sstream>
#include <utility>

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
    case PrimitiveKind::TextBox:
      return "TextBox";
    case PrimitiveKind::FillRect:
      return "FillRect";
    case PrimitiveKind::Gradient:
      return "Gradient";
    case PrimitiveKind::FocusRect:
      return "FocusRect";
    case PrimitiveKind::Image:
      return "Image";
    case PrimitiveKind::ImageCanvas:
      return "ImageCanvas";
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

const char* CharsetName(FontCharset charset) {
  switch (charset) {
    case FontCharset::Default:
      return "Default";
    case FontCharset::ShiftJis:
      return "ShiftJis";
  }
  return "?";
}

const char* PitchName(FontPitch pitch) {
  switch (pitch) {
    case FontPitch::Default:
      return "Default";
    case FontPitch::Fixed:
      return "Fixed";
    case FontPitch::Variable:
      return "Variable";
  }
  return "?";
}

std::ostream& operator<<(std::ostream& os, const Font& font) {
  os << '"' << font.face << "\"/" << font.height << '/' << font.width << '/' << font.weight << '/'
     << font.escapement;
  if (font.charset != FontCharset::Default) os << '/' << CharsetName(font.charset);
  if (font.pitch != FontPitch::Default) os << '/' << PitchName(font.pitch);
  return os;
}

const char* HorizontalName(TextAlign align) {
  switch (HorizontalPart(align)) {
    case TextAlign::Left:
      return "Left";
    case TextAlign::Center:
      return "Center";
    case TextAlign::Right:
      return "Right";
    default:  // Center and Right at once
      return "?";
  }
}

const char* VerticalName(TextAlign align) {
  switch (VerticalPart(align)) {
    case TextAlign::Top:
      return "Top";
    case TextAlign::Middle:
      return "Middle";
    case TextAlign::Bottom:
      return "Bottom";
    case TextAlign::Baseline:
      return "Baseline";
    default:
      return "?";
  }
}

std::ostream& operator<<(std::ostream& os, TextAlign align) {
  return os << HorizontalName(align) << '|' << VerticalName(align);
}

void PrintPoints(std::ostream& os, const std::vector<DevPoint>& points) {
  for (const DevPoint& p : points) os << ' ' << p;
}

void PrintOutline(std::ostream& os, const CanvasState& state, bool filled) {
  os << " pen=" << state.pen;
  if (filled) os << " brush=" << state.brush;
  os << " rop=" << (state.rasterOp == RasterOp::NotXorPen ? "NotXor" : "Copy");
}

void PrintText(std::ostream& os, const CanvasState& state, TextAlign align) {
  os << " font=" << state.font << " color=" << state.textColor << " align=" << align;
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
  if (primitive.surface != 0) os << "image " << primitive.surface << ": ";
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
      PrintText(os, state, state.textAlign);
      break;
    case PrimitiveKind::TextBox:
      os << ' ' << primitive.rect << " \"" << primitive.text << '"'
         << (primitive.lines == TextLines::Multiple ? " multi-line" : "");
      PrintText(os, state, primitive.boxAlign);
      break;
    case PrimitiveKind::FillRect:
      os << ' ' << primitive.rect << " brush=" << primitive.fillBrush;
      break;
    case PrimitiveKind::Gradient:
      os << ' ' << primitive.rect << ' ' << primitive.gradient.first << "->"
         << primitive.gradient.last
         << (primitive.gradient.direction == GradientDirection::TopToBottom ? " down" : " right");
      break;
    case PrimitiveKind::FocusRect:
      os << ' ' << primitive.rect;
      break;
    case PrimitiveKind::Image:
      os << ' ' << primitive.rect << " from " << primitive.points.at(0) << " of "
         << primitive.image.Width() << 'x' << primitive.image.Height();
      break;
    case PrimitiveKind::ImageCanvas:
      os << ' ' << primitive.rect.Width() << 'x' << primitive.rect.Height();
      break;
  }
  if (state.clip) os << " clip=" << *state.clip;
  return os;
}

RecordingCanvas::RecordingCanvas(const CanvasSetup& setup)
    : RecordingCanvas(setup, std::make_shared<SharedRecord>(), 0) {}

RecordingCanvas::RecordingCanvas(const CanvasSetup& setup, std::shared_ptr<SharedRecord> record,
                                 int surface)
    : Canvas(setup), record_(std::move(record)), surface_(surface) {}

std::vector<DrawnPrimitive> RecordingCanvas::PrimitivesOf(PrimitiveKind kind) const {
  std::vector<DrawnPrimitive> found;
  std::copy_if(Primitives().begin(), Primitives().end(), std::back_inserter(found),
               [kind](const DrawnPrimitive& p) { return p.kind == kind; });
  return found;
}

std::string RecordingCanvas::Dump() const {
  std::ostringstream os;
  for (const DrawnPrimitive& p : Primitives()) os << p << '\n';
  return os.str();
}

DrawnPrimitive& RecordingCanvas::Record(PrimitiveKind kind) {
  DrawnPrimitive& p = record_->primitives.emplace_back();
  p.kind = kind;
  p.surface = surface_;
  p.state = CanvasState{CurrentPen(),       CurrentBrush(),    CurrentFont(),
                        TextColor(),        BackgroundColor(), CurrentBackgroundMode(),
                        CurrentTextAlign(), CurrentRasterOp(), ClipRect()};
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

void RecordingCanvas::DrawText(const DevRect& rect, const std::string& utf8, TextAlign align,
                               TextLines lines) {
  DrawnPrimitive& p = Record(PrimitiveKind::TextBox);
  p.rect = rect;
  p.text = utf8;
  p.boxAlign = align;
  p.lines = lines;
}

void RecordingCanvas::FillRect(const DevRect& rect, const Brush& brush) {
  DrawnPrimitive& p = Record(PrimitiveKind::FillRect);
  p.rect = rect;
  p.fillBrush = brush;
}

void RecordingCanvas::FillGradient(const DevRect& rect, const Gradient& gradient) {
  DrawnPrimitive& p = Record(PrimitiveKind::Gradient);
  p.rect = rect;
  p.gradient = gradient;
}

void RecordingCanvas::DrawFocusRect(const DevRect& rect) {
  Record(PrimitiveKind::FocusRect).rect = rect;
}

void RecordingCanvas::DrawImage(const DevRect& target, const CanvasImage& image,
                                DevPoint sourceOrigin) {
  DrawnPrimitive& p = Record(PrimitiveKind::Image);
  p.rect = target;
  p.points = {sourceOrigin};
  p.image = image;
}

Color RecordingCanvas::SystemColor(SystemColorRole role) const {
  switch (role) {
    case SystemColorRole::WindowText:
      return Color::Rgb(0, 0, 0);
    case SystemColorRole::ButtonFace:
      return Color::Rgb(0xF0, 0xF0, 0xF0);
    case SystemColorRole::ButtonHighlight:
      return Color::Rgb(0xFF, 0xFF, 0xFF);
    case SystemColorRole::ButtonLight:
      return Color::Rgb(0xE3, 0xE3, 0xE3);
    case SystemColorRole::ButtonShadow:
      return Color::Rgb(0xA0, 0xA0, 0xA0);
    case SystemColorRole::ButtonDarkShadow:
      return Color::Rgb(0x69, 0x69, 0x69);
  }
  return Color{};
}

std::unique_ptr<Canvas> RecordingCanvas::CreateImageCanvas(CanvasImage& image) {
  const int surface = ++record_->imageCanvases;
  DrawnPrimitive& p = Record(PrimitiveKind::ImageCanvas);
  p.rect = DevRect{0, 0, image.Width(), image.Height()};
  p.surface = surface;
  const CanvasSetup setup{PixelsPerMm(), false};
  // The constructor is private, so make_unique cannot reach it.
  return std::unique_ptr<Canvas>(new RecordingCanvas(setup, record_, surface));
}
