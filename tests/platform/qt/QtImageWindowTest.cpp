// The movie recorder's frames from an image the program draws into.

#include <gtest/gtest.h>

#include <QImage>
#include <QTemporaryDir>
#include <filesystem>

#include "platform/CanvasImage.h"
#include "platform/MakeAvi.h"
#include "platform/qt/QtConvert.h"
#include "platform/qt/QtImageWindow.h"

namespace {

TEST(QtImageWindowTest, EachFrameIsTheImageAsDrawnSoFar) {
  QImage image(10, 8, QImage::Format_RGB32);
  image.fill(Qt::white);
  QtImageWindow window(image);
  QTemporaryDir folder;
  ASSERT_TRUE(folder.isValid());
  CMakeAvi movie;
  ASSERT_EQ(movie.Open(10, 8, 3, std::filesystem::path(folder.path().toStdString()) / "m.avi"), 1);

  movie.CaptureFrame(window);
  image.setPixelColor(3, 2, Qt::red);
  const CanvasImage drawn = window.GrabClientArea();
  EXPECT_EQ(drawn, ToCanvasImage(image));
  EXPECT_EQ(drawn.PixelColor(DevPoint{3, 2}), Color::Rgb(255, 0, 0));
  movie.CaptureFrame(window);
  EXPECT_EQ(movie.GetFrameCount(), 2);
}

}  // namespace
