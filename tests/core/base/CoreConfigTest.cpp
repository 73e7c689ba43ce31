#include <gtest/gtest.h>

#include <cstring>

#include "core/base/CoreConfig.h"
#include "core/base/Utility.h"

namespace {

bool SameBits(double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0; }

TEST(CoreConfigTest, EveryTestStartsWithTheDefaultRulesAtStepZero) {
  const CUnitFilter defaults;
  EXPECT_TRUE(CurrentSettings()._roundSet.IsSame(&defaults));
  EXPECT_EQ(CCoreConfig::GetStageNo(), 0);
}

TEST(CoreConfigTest, GetRoundRoundsOnlyWhileTheSwitchIsOn) {
  EXPECT_EQ(CCoreConfig::GetEnableRound(), 1);
  EXPECT_EQ(CCoreConfig::GetRound(1.2346, 163), 1234 * (0.1 * 0.1 * 0.1));

  CCoreConfig::SetEnableRound(0);
  EXPECT_EQ(CCoreConfig::GetEnableRound(), 0);
  for (const double x : {1.2346, -0.0, 1e33, kNoValue}) {
    EXPECT_TRUE(SameBits(CCoreConfig::GetRound(x, 163), x)) << x;
  }
  EXPECT_EQ(CurrentSettings()._roundSet.Round2(1.2346, 163), 1234 * (0.1 * 0.1 * 0.1));
}

TEST(CoreConfigTest, UnitFilterIsSetAndReadAsACopy) {
  CUnitFilter edited = CCoreConfig::GetUnitFilter();
  edited.digitsSafetyFactor = 2;
  EXPECT_EQ(CurrentSettings()._roundSet.digitsSafetyFactor, 3);

  CCoreConfig::SetUnitFilter(edited);
  edited.digitsSafetyFactor = 5;
  EXPECT_EQ(CCoreConfig::GetUnitFilter().digitsSafetyFactor, 2);
  EXPECT_EQ(CCoreConfig::GetRound(1.2399, 163), 123 * (0.1 * 0.1));
}

TEST(CoreConfigTest, StageNo) {
  CCoreConfig::SetStageNo(3);
  EXPECT_EQ(CCoreConfig::GetStageNo(), 3);
  EXPECT_EQ(CurrentSettings()._stageNo, 3);
}

}  // namespace
