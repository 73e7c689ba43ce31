#include <gtest/gtest.h>

#include <stdexcept>

#include "core/base/CoreConfig.h"
#include "core/base/CoreSettings.h"

namespace {

CoreSettings Edited() {
  CoreSettings settings;
  settings._roundSet.digitsCohesion = 1;
  settings._stageNo = 2;
  settings.stretch.typeHead = 3;
  settings.m_bShowABC = 0;
  return settings;
}

TEST(CoreSettingsTest, ChangeSettingsMakesTheEditedCopyCurrentWhenItReturns) {
  ChangeSettings([](CoreSettings& fresh) {
    fresh = Edited();
    EXPECT_EQ(CurrentSettings(), CoreSettings{}) << "the copy is not current yet";
  });
  EXPECT_EQ(CurrentSettings(), Edited());
}

TEST(CoreSettingsTest, ChangeSettingsThatThrowsChangesNothing) {
  MakeCurrent(Edited());
  EXPECT_THROW(ChangeSettings([](CoreSettings& fresh) {
                 fresh = CoreSettings{};
                 throw std::runtime_error("damaged");
               }),
               std::runtime_error);
  EXPECT_EQ(CurrentSettings(), Edited());
}

TEST(CoreSettingsTest, ScopedEnableRoundRestoresTheSwitchOnEveryExitPath) {
  {
    const ScopedEnableRound off(0);
    EXPECT_EQ(CCoreConfig::GetEnableRound(), 0);
  }
  EXPECT_EQ(CCoreConfig::GetEnableRound(), 1);
  EXPECT_THROW(
      {
        const ScopedEnableRound off(0);
        throw std::runtime_error("stopped");
      },
      std::runtime_error);
  EXPECT_EQ(CCoreConfig::GetEnableRound(), 1);
}

}  // namespace
