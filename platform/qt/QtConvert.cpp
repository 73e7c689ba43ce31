#include "platform/qt/QtConvert.h"

#include <cstring>

namespace {

constexpr qsizetype kBytesPerPixel = 4;

}  // namespace

QImage ToQImage(const CanvasImage& image) {
  if (image.IsEmpty()) return {};
  QImage copy(image.Width(), image.Height(), QImage::Format_RGB32);
  const qsizetype rowBytes = image.Width() * kBytesPerPixel;
  for (int y = 0; y < image.Height(); ++y) {
    std::memcpy(copy.scanLine(y), image.Bits() + static_cast<qsizetype>(y) * image.Width(),
                static_cast<std::size_t>(rowBytes));
  }
  return copy;
}

CanvasImage ToCanvasImage(const QImage& image) {
  if (image.isNull()) return {};
  const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
  CanvasImage copy(DevSize{rgb.width(), rgb.height()});
  const qsizetype rowBytes = rgb.width() * kBytesPerPixel;
  for (int y = 0; y < rgb.height(); ++y) {
    std::memcpy(copy.Bits() + static_cast<qsizetype>(y) * rgb.width(), rgb.constScanLine(y),
                static_cast<std::size_t>(rowBytes));
  }
  return copy;
}
