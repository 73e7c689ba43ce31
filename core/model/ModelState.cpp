#include "core/model/ModelState.h"

#include "core/model/RefCond.h"
#include "core/model/SystemConfig.h"

void ResetModelState() {
  CRefCond::Default();
  SystemConfig::ResetLastGeology();
  SystemConfig::ResetLastReinf();
  SystemConfig::ResetLastCond();
  SystemConfig::SetLastWord("");
  SystemConfig::SetLastBrixo("");
}
