#pragma once
// A window of the program as the core sees it: a view draws into it, and the movie recorder
// copies what it shows.

#include "platform/CanvasImage.h"

class PlatformWindow {
 public:
  virtual ~PlatformWindow() = default;
  // A copy of what the client area shows now, in the client area's size.
  virtual CanvasImage GrabClientArea() const = 0;
};
