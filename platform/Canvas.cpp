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
TextAlign Canvas::SetTextAlign(TextAlign align) { return std::exchange(textAlign_, align); }
RasterOp Canvas::SetRasterOp(RasterOp op) { return std::exchange(rasterOp_, op); }
std::optional<DevRect> Canvas::SetClipRect(const std::optional<DevRect>& rect) {
  return std::exchange(clip_, rect);
}

void Canvas::LineTo(DevPoint p) {
  Line(position_, p);
  position_ = p;
}

ScopedCanvasState::ScopedCanvasState(Canvas& canvas)
    : canvas_(canvas),
      pen_(canvas.CurrentPen()),
      brush_(canvas.CurrentBrush()),
      font_(canvas.CurrentFont()),
      textColor_(canvas.TextColor()),
      backgroundColor_(canvas.BackgroundColor()),
      backgroundMode_(canvas.CurrentBackgroundMode()),
      textAlign_(canvas.CurrentTextAlign()),
      rasterOp_(canvas.CurrentRasterOp()),
      clip_(canvas.ClipRect()),
      position_(canvas.CurrentPosition()) {}

ScopedCanvasState::~ScopedCanvasState() {
  canvas_.SelectPen(pen_);
  canvas_.SelectBrush(brush_);
  canvas_.SelectFont(font_);
  canvas_.SetTextColor(textColor_);
  canvas_.SetBackgroundColor(backgroundColor_);
  canvas_.SetBackgroundMode(backgroundMode_);
  canvas_.SetTextAlign(textAlign_);
  canvas_.SetRasterOp(rasterOp_);
  canvas_.SetClipRect(clip_);
  canvas_.MoveTo(position_);
}
