#pragma once
// The slip surface the circle-search result tests give their circles: a half circle of radius
// about 7.07 centred at (5, 15) from (0, 10), then a straight piece to (10, 10).

#include <memory>

#include "core/geometry/DArc.h"
#include "core/geometry/DPoint.h"
#include "core/section/SpSlideWork.h"

inline std::unique_ptr<CSpSlideWork> CircleSurface() {
  auto work = std::make_unique<CSpSlideWork>();
  work->AddNewPoint(CDPoint(0, 10), std::make_unique<CDArc>(5, 15, 7.0710678, 225, 315, true), 2);
  work->AddNewPoint(CDPoint(10, 10), nullptr, 2);
  return work;
}
