#pragma once
// A window as the movie recorder sees it when the window shows an image that is drawn first: the
// section view draws into its back buffer, so a frame is that image as far as it is drawn.

#include <QImage>

#include "platform/PlatformWindow.h"

class QtImageWindow : public PlatformWindow {
 public:
  // The image is observed, not copied: every grab shows it as it is at that moment.
  explicit QtImageWindow(const QImage& shown) : shown_(shown) {}

  CanvasImage GrabClientArea() const override;

 private:
  const QImage& shown_;
};
