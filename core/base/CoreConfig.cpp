#include "core/base/CoreConfig.h"

void CCoreConfig::SetUnitFilter(const CUnitFilter& filter) {
  ChangeSettings([&filter](CoreSettings& settings) { settings._roundSet = filter; });
}

void CCoreConfig::SetEnableRound(int enable) {
  ChangeSettings([enable](CoreSettings& settings) { settings._roundSet.EnableRoundValue(enable); });
}

void CCoreConfig::SetStageNo(int stageNo) {
  ChangeSettings([stageNo](CoreSettings& settings) { settings._stageNo = stageNo; });
}
