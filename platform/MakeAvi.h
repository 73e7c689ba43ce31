#pragma once
// The movie recorder of a view: every capture appends the client area of the view's window to the
// recording as one frame. A view creates, feeds and closes it (CViewInfo::CreateMovieObject,
// MovieCapture, DestroyMovieObject). Writing movie files is a service of the operating system, so
// the recorder lives beside the other platform services.

#include "platform/PlatformWindow.h"

class CMakeAvi {
 public:
  CMakeAvi() = default;
  CMakeAvi(const CMakeAvi&) = delete;
  CMakeAvi& operator=(const CMakeAvi&) = delete;
  virtual ~CMakeAvi() = default;

  // Appends the window's client area as the next frame of an open recording.
  virtual void CaptureFrame(PlatformWindow& window);
  // Ends an open recording and releases its file. A closed recorder takes no more frames, and
  // closing it again does nothing.
  virtual void Close();
};
