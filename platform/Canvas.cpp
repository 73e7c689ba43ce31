#include "platform/Canvas.h"

#include <utility>

Pen Canvas::SelectPen(const Pen& pen) { return std::exchange(pen_, pen); }
Brush Canvas::SelectBrush(const Brush& brush) { return std::exchange(brush_, brush); }
Font Canvas::SelectFont(const Font& font) { return std::exchange(font_, font); }
Color Canvas::SetTextColor(Color color) { return std::exchange(textColor_, color); }
Color Canvas::SetBackgroundColor(Color color) { return std::exchange(backgroundColor_, color); }
BackgroundMode Canvas::SetBackgroundMode(BackgroundMode mode) {
  return std::exchange(backgroundMode_, mode);
}
unsigned Canvas::SetTextAlign(unsigned align) { return std::exchange(textAlign_, align); }
RasterOp Canvas::SetRasterOp(RasterOp op) { return std::exchange(rasterOp_, op); }

void Canvas::LineTo(DevPoint p) {
  Line(position_, p);
  position_ = p;
}
