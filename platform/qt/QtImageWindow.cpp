#include "platform/qt/QtImageWindow.h"

#include "platform/qt/QtConvert.h"

CanvasImage QtImageWindow::GrabClientArea() const { return ToCanvasImage(shown_); }
