#include "platform/CanvasImage.h"

#include <algorithm>
#include <stdexcept>

CanvasImage::CanvasImage(DevSize size, Color fill)
    : size_{std::max(size.cx, 0), std::max(size.cy, 0)},
      pixels_(static_cast<std::size_t>(size_.cx) * static_cast<std::size_t>(size_.cy),
              ToRgb32(fill)) {
  // An image with no pixels has no width and no height either.
  if (pixels_.empty()) size_ = {};
}

std::size_t CanvasImage::IndexOf(DevPoint p) const {
  if (p.x < 0 || p.y < 0 || p.x >= size_.cx || p.y >= size_.cy) {
    throw std::out_of_range("CanvasImage: point outside the image");
  }
  return static_cast<std::size_t>(p.y) * static_cast<std::size_t>(size_.cx) +
         static_cast<std::size_t>(p.x);
}

Color CanvasImage::PixelColor(DevPoint p) const { return FromRgb32(pixels_[IndexOf(p)]); }

void CanvasImage::SetPixelColor(DevPoint p, Color color) { pixels_[IndexOf(p)] = ToRgb32(color); }
