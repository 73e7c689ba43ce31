#include "core/base/CoreConfig.h"

CUnitFilter CCoreConfig::_roundSet;
int CCoreConfig::_stageNo = 0;
