#pragma once
// Conversions between the platform's value types and Qt's. Colours go only through these: a
// Color holds 0x00BBGGRR, a QRgb 0xAARRGGBB, so passing one for the other swaps red and blue.

#include <QColor>
#include <QImage>

#include "platform/CanvasImage.h"
#include "platform/DevTypes.h"

inline QColor ToQColor(Color color) { return QColor(color.Red(), color.Green(), color.Blue()); }
inline Color ToColor(const QColor& color) {
  return Color::Rgb(color.red(), color.green(), color.blue());
}

// A copy of the image in Qt's RGB32 format; an empty image gives a null QImage.
QImage ToQImage(const CanvasImage& image);
// A copy of the image's pixels, made opaque; a null QImage gives an empty image.
CanvasImage ToCanvasImage(const QImage& image);
