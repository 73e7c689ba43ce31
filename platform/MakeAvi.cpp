#include "platform/MakeAvi.h"

#include <utility>

#include "platform/UiRegistry.h"

namespace {

constexpr const char* kStreamName = "Brixo-System";

}  // namespace

CMakeAvi::CMakeAvi(std::string caption) : caption_(std::move(caption)) {}

CMakeAvi::~CMakeAvi() {
  if (writer_) writer_->Finish();
}

int CMakeAvi::ChooseCompressor(int /*show*/, int /*width*/, int /*height*/) { return 0; }

int CMakeAvi::Open(int width, int height, int maxFrames, const std::filesystem::path& file) {
  if (writer_) {
    writer_->Finish();
    writer_.reset();
  }
  frameCount_ = 0;
  const auto frameBytes = AviWriter::FrameBytes(width, height);
  if (!frameBytes) return 0;
  width_ = width;
  height_ = height;
  imageSize_ = static_cast<int>(*frameBytes);
  maxFrames_ = maxFrames;
  writer_ = AviWriter::Create(file, {width, height, kFramesPerSecond, kStreamName});
  if (!writer_) {
    Ui().MessageBox("AVI動画ファイルを作成できません", caption_, MsgButtons::Ok, MsgIcon::Error);
    return 0;
  }
  return 1;
}

bool CMakeAvi::AddFrame(const CanvasImage& image) {
  if (!writer_ || writer_->FrameCount() >= maxFrames_) return false;
  return writer_->AddFrame(image);
}

void CMakeAvi::CaptureFrame(PlatformWindow& window) {
  if (writer_) AddFrame(window.GrabClientArea());
}

void CMakeAvi::Close() {
  if (!writer_) return;
  frameCount_ = writer_->FrameCount();
  writer_->Finish();
  writer_.reset();
}
