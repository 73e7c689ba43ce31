#include <gtest/gtest.h>

#include "core/model/ProgressInfo.h"
#include "tests/support/ScriptedUi.h"

namespace {

// The test support installs its ScriptedUi through the platform code inside BrixoCore; were
// platform linked a second time into the test program, the core would see another, headless
// Ui() and the windows it creates would go unnoticed.
TEST(UiLinkTest, AWindowTheCoreCreatesComesFromTheInstalledTestUi) {
  const CProgressInfoDlg first;
  const CProgressInfoDlg second;
  EXPECT_EQ(TestUi().ProgressWindowCount(), 2u);
}

}  // namespace
