#include "core/geometry/GeometryState.h"

#include "core/geometry/DLine.h"
#include "core/geometry/DPoly.h"

void ResetGeometryState() {
  CDPoly::SetShowHilight(0);
  CDPoly::bMovCap = false;
  CDPoly::ptCap = CDPoint();
  CDLine::ResetMouseMove();
}
