#pragma once
// A view mapping fixed by hand, so that tests can click at device points whose world points they
// know: the world square 0..30 centred on the device point (400, 300), seven pixels to the metre,
// no zoom, no pan. A device point (px, py) is the world point ((px − 400) / 7 + 15,
// (300 − py) / 7 + 15).

#include <QWidget>

#include "core/geometry/ViewInfo.h"

// The view paints first, so that no paint still due fits the mapping to the section again.
inline void SetHandMapping(QWidget& view, CViewInfo& mapping) {
  view.grab();
  mapping.SetArea(0.0, 30.0, 30.0, 0.0);
  mapping.scale = 7.0;
  mapping.centreX = 400;
  mapping.centreY = 300;
  mapping.zoom = 1.0;
  mapping.zoomOn = false;
  mapping.scrollX = mapping.scrollY = 0;
}
