#pragma once
// Stored colours (0x00BBGGRR) to and from Qt's. Never hand the stored value to QColor as a QRgb:
// red and blue would swap.

#include <QColor>

#include "platform/DevTypes.h"

inline QColor ToQColor(Color color) { return QColor(color.Red(), color.Green(), color.Blue()); }
inline Color ToColor(const QColor& color) {
  return Color::Rgb(color.red(), color.green(), color.blue());
}
