#include "core/case/ProcessState.h"

#include "core/base/BaseState.h"
#include "core/geometry/GeometryState.h"
#include "core/model/ModelState.h"
#include "core/section/SectionState.h"

void ResetProcessWideState() {
  ResetBaseState();
  ResetGeometryState();
  ResetSectionState();
  ResetModelState();
}
