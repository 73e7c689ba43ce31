#include <gtest/gtest.h>

#include <stdexcept>

#include "platform/CanvasImage.h"

namespace {

TEST(CanvasImageTest, PixelsAreRowsOfRgb32Values) {
  CanvasImage image(DevSize{3, 2}, Color::Rgb(0x12, 0x34, 0x56));
  EXPECT_EQ(image.Size(), (DevSize{3, 2}));
  EXPECT_EQ(image.Bits()[0], 0xFF123456u);

  image.SetPixelColor({2, 1}, Color::Rgb(0xAB, 0xCD, 0xEF));
  EXPECT_EQ(image.Bits()[1 * 3 + 2], 0xFFABCDEFu);
  EXPECT_EQ(image.PixelColor({2, 1}), Color::Rgb(0xAB, 0xCD, 0xEF));
  EXPECT_EQ(image.PixelColor({1, 1}), Color::Rgb(0x12, 0x34, 0x56));
}

TEST(CanvasImageTest, APointOutsideTheImageThrows) {
  const CanvasImage image(DevSize{3, 2});
  for (const DevPoint p : {DevPoint{-1, 0}, DevPoint{0, -1}, DevPoint{3, 0}, DevPoint{0, 2}}) {
    EXPECT_THROW(image.PixelColor(p), std::out_of_range) << p.x << ',' << p.y;
  }
}

TEST(CanvasImageTest, ASizeWithoutPixelsGivesAnEmptyImage) {
  for (const DevSize size : {DevSize{0, 5}, DevSize{5, 0}, DevSize{-3, 4}, DevSize{-1, -1}}) {
    const CanvasImage image(size);
    EXPECT_TRUE(image.IsEmpty()) << size.cx << 'x' << size.cy;
    EXPECT_EQ(image.Size(), DevSize{});
    EXPECT_EQ(image, CanvasImage());
  }
}

}  // namespace
