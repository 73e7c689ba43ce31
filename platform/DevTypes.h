#pragma once
// Small value types of the device (pixel) side: points, sizes, rectangles and colours.

#include <cstdint>

struct DevPoint {
  int x = 0;
  int y = 0;
  friend bool operator==(const DevPoint&, const DevPoint&) = default;
};

struct DevSize {
  int cx = 0;
  int cy = 0;
  friend bool operator==(const DevSize&, const DevSize&) = default;
};

// A rectangle whose right and bottom edges lie outside it, as on the drawing surfaces we emulate.
struct DevRect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
  int Width() const { return right - left; }
  int Height() const { return bottom - top; }
  friend bool operator==(const DevRect&, const DevRect&) = default;
};

// A colour in the 0x00BBGGRR layout that documents and settings files store.
struct Color {
  std::uint32_t ref = 0;

  static constexpr Color Rgb(int r, int g, int b) {
    return Color{static_cast<std::uint32_t>((r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16))};
  }
  constexpr int Red() const { return static_cast<int>(ref & 0xFF); }
  constexpr int Green() const { return static_cast<int>((ref >> 8) & 0xFF); }
  constexpr int Blue() const { return static_cast<int>((ref >> 16) & 0xFF); }
  friend bool operator==(const Color&, const Color&) = default;
};
