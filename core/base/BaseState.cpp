#include "core/base/BaseState.h"

#include "core/base/CoreSettings.h"

void ResetBaseState() { MakeCurrent(CoreSettings{}); }
