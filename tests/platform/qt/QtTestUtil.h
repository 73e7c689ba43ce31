#pragma once
// What the Qt tests of the platform share: reading pixels back and saving screenshots.

#include <gtest/gtest.h>

#include <QColor>
#include <QDir>
#include <QImage>
#include <QPoint>
#include <QRect>
#include <QString>
#include <cstdlib>
#include <string>

#include "platform/DevTypes.h"
#include "platform/qt/QtConvert.h"

// The folder the screenshots go to: $BRIXO_SCREENSHOTS, else the build's own folder for them.
inline QString ScreenshotFolder() {
  const char* folder = std::getenv("BRIXO_SCREENSHOTS");
  return QString::fromLocal8Bit(folder != nullptr && *folder != '\0' ? folder
                                                                     : BRIXO_DEFAULT_SCREENSHOTS);
}

// The path of FILE in the screenshot folder, which is made when missing: test programs run their
// tests in parallel processes, and any of them may be the first to write there.
inline QString ScreenshotPath(const QString& file) {
  const QDir folder(ScreenshotFolder());
  EXPECT_TRUE(folder.mkpath(QStringLiteral(".")))
      << "cannot create " << folder.path().toStdString();
  return folder.filePath(file);
}

// Saves the image as NAME.png in the screenshot folder for a person to look at.
inline void SaveScreenshot(const QImage& image, const QString& name) {
  const QString file = ScreenshotPath(name + QStringLiteral(".png"));
  EXPECT_TRUE(image.save(file)) << "cannot write " << file.toStdString();
}

inline Color PixelAt(const QImage& image, QPoint p) { return ToColor(image.pixelColor(p)); }

// How many pixels of the area have exactly that colour.
inline int CountColour(const QImage& image, const QRect& area, Color colour) {
  int count = 0;
  const QRect inside = area.intersected(image.rect());
  for (int y = inside.top(); y <= inside.bottom(); ++y) {
    for (int x = inside.left(); x <= inside.right(); ++x) {
      if (PixelAt(image, QPoint(x, y)) == colour) ++count;
    }
  }
  return count;
}

// The bounding box of the pixels that differ from the background colour; empty when none does.
inline QRect InkBounds(const QImage& image, Color background) {
  QRect bounds;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      if (PixelAt(image, QPoint(x, y)) != background) bounds |= QRect(x, y, 1, 1);
    }
  }
  return bounds;
}

inline std::string Describe(const QRect& r) {
  return "[" + std::to_string(r.left()) + "," + std::to_string(r.top()) + " " +
         std::to_string(r.width()) + "x" + std::to_string(r.height()) + "]";
}
