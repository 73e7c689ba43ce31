#include "core/base/CoreSettings.h"

#include "core/base/CoreConfig.h"

namespace {

constinit CoreSettings current;

}  // namespace

const CoreSettings& CurrentSettings() { return current; }

void MakeCurrent(const CoreSettings& settings) { current = settings; }

ScopedEnableRound::ScopedEnableRound(int enable) : previous_(CCoreConfig::GetEnableRound()) {
  CCoreConfig::SetEnableRound(enable);
}

ScopedEnableRound::~ScopedEnableRound() { CCoreConfig::SetEnableRound(previous_); }
