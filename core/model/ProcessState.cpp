#include "core/model/ProcessState.h"

#include "core/base/CoreSettings.h"
#include "core/geometry/DLine.h"
#include "core/geometry/DPoly.h"
#include "core/model/RefCond.h"
#include "core/model/SystemConfig.h"
#include "core/section/SpSlide.h"
#include "core/section/SpStratum.h"

void ResetProcessWideState() {
  MakeCurrent(CoreSettings{});
  CDPoly::SetShowHilight(0);
  CDPoly::bMovCap = false;
  CDPoly::ptCap = CDPoint();
  CDLine::ResetMouseMove();
  CSpStratumBlock::SetShowTisoName(1);
  CSpSlide::SetTopograph(nullptr);
  CSpSlide::SetDrawPure(false);
  CRefCond::Default();
  SystemConfig::ResetLastGeology();
  SystemConfig::ResetLastReinf();
  SystemConfig::ResetLastCond();
  SystemConfig::SetLastWord("");
  SystemConfig::SetLastBrixo("");
}
