#include "core/case/ProcessState.h"
#include "tests/support/PerTestReset.h"

namespace {

// Every core test starts with the settings and switches of a freshly started program.
[[maybe_unused]] const bool registered = RegisterPerTestReset(&ResetProcessWideState);

}  // namespace
