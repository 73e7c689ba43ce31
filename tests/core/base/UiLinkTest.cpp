#include <gtest/gtest.h>

#include "core/base/Utility.h"
#include "tests/support/ScriptedUi.h"

namespace {

// The test support installs its ScriptedUi through the platform code inside BrixoCore; were
// platform linked a second time into the test program, the core would see another, headless
// Ui() and the pump would go unnoticed.
TEST(UiLinkTest, APumpInTheCoreReachesTheInstalledTestUi) {
  PumpMessages();
  PumpMessages();
  EXPECT_EQ(TestUi().PumpCount(), 2);
}

}  // namespace
