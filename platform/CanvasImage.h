#pragma once
// A picture in memory that a canvas can draw into and draw from: report figures, double buffers,
// button pictures, movie frames. Rows run top to bottom; each pixel is a 32-bit 0xFFRRGGBB value,
// the RGB32 layout of the toolkits' images, so a toolkit paints straight into the pixels.

#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/DevTypes.h"

class CanvasImage {
 public:
  CanvasImage() = default;
  // An image of that size filled with one colour; a negative width or height counts as 0.
  explicit CanvasImage(DevSize size, Color fill = Color::Rgb(255, 255, 255));

  DevSize Size() const { return size_; }
  int Width() const { return size_.cx; }
  int Height() const { return size_.cy; }
  bool IsEmpty() const { return pixels_.empty(); }

  // The pixel at p; a point outside the image throws std::out_of_range.
  Color PixelColor(DevPoint p) const;
  void SetPixelColor(DevPoint p, Color color);

  // The pixels, row after row without padding, for a toolkit that draws into them or reads them.
  std::uint32_t* Bits() { return pixels_.data(); }
  const std::uint32_t* Bits() const { return pixels_.data(); }

  static constexpr std::uint32_t ToRgb32(Color c) {
    return 0xFF000000u | static_cast<std::uint32_t>(c.Red()) << 16 |
           static_cast<std::uint32_t>(c.Green()) << 8 | static_cast<std::uint32_t>(c.Blue());
  }
  static constexpr Color FromRgb32(std::uint32_t pixel) {
    return Color::Rgb(static_cast<int>(pixel >> 16 & 0xFF), static_cast<int>(pixel >> 8 & 0xFF),
                      static_cast<int>(pixel & 0xFF));
  }

  friend bool operator==(const CanvasImage&, const CanvasImage&) = default;

 private:
  std::size_t IndexOf(DevPoint p) const;

  DevSize size_{};
  std::vector<std::uint32_t> pixels_;
};
