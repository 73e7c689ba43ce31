#pragma once
// The movie recorder of a view: every capture appends the client area of the view's window to the
// recording as one frame. A view creates, feeds and closes it (CViewInfo::CreateMovieObject,
// MovieCapture, DestroyMovieObject). The movie is an AVI file of uncompressed 24-bit frames at 20
// frames per second (platform/AviWriter.h); no compressor is offered.

#include <filesystem>
#include <memory>
#include <string>

#include "platform/AviWriter.h"
#include "platform/PlatformWindow.h"

class CMakeAvi {
 public:
  static constexpr int kFramesPerSecond = 20;

  // The caption of the recorder's message box: the product's title.
  explicit CMakeAvi(std::string caption = {});
  CMakeAvi(const CMakeAvi&) = delete;
  CMakeAvi& operator=(const CMakeAvi&) = delete;
  // Finishes an open recording.
  virtual ~CMakeAvi();

  // The compressor choice for frames of width x height. Uncompressed frames are the only choice,
  // and they need no compressor, so nothing is shown and 0 (no compressor in use) comes back.
  int ChooseCompressor(int show, int width, int height);
  // Starts a recording of at most maxFrames frames of width x height into the file, which is
  // replaced when the recording is finished. An open recording is finished first. On a file that
  // cannot be created the message "AVI動画ファイルを作成できません" is shown; a size that no frame
  // can have fails without a message. Returns 1 on success, 0 on failure.
  int Open(int width, int height, int maxFrames, const std::filesystem::path& file);
  // Appends the image as the next frame. A frame whose size is not the one given to Open is
  // refused, as is every frame beyond maxFrames or outside a recording; false then.
  bool AddFrame(const CanvasImage& image);
  // Appends the window's client area as the next frame of an open recording.
  virtual void CaptureFrame(PlatformWindow& window);
  // Ends an open recording: the headers get the number of frames written and the file its name.
  // A closed recorder takes no more frames, and closing it again does nothing.
  virtual void Close();

  int GetWidth() const { return width_; }
  int GetHeight() const { return height_; }
  // The bytes of one frame: rows of width * 3 bytes rounded up to a multiple of 4, times height.
  int GetImageSize() const { return imageSize_; }
  int GetMaxFrames() const { return maxFrames_; }
  int GetFrameCount() const { return writer_ ? writer_->FrameCount() : frameCount_; }
  bool IsOpen() const { return writer_ != nullptr; }

 private:
  std::string caption_;
  int width_ = 0;
  int height_ = 0;
  int imageSize_ = 0;
  int maxFrames_ = 0;
  int frameCount_ = 0;  // of the last recording, once it is closed
  std::unique_ptr<AviWriter> writer_;
};
