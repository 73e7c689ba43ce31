#include "core/base/CoreSettings.h"

#include "core/base/CoreConfig.h"

constinit CoreSettings core_settings_detail::current;

void MakeCurrent(const CoreSettings& settings) { core_settings_detail::current = settings; }

ScopedEnableRound::ScopedEnableRound(int enable) : previous_(CCoreConfig::GetEnableRound()) {
  CCoreConfig::SetEnableRound(enable);
}

ScopedEnableRound::~ScopedEnableRound() { CCoreConfig::SetEnableRound(previous_); }
