#include <gtest/gtest.h>

#include <cstring>

#include "core/base/CoreConfig.h"
#include "core/base/Utility.h"

namespace {

// The settings are process-wide: every test leaves them as the process starts.
class CoreConfigTest : public testing::Test {
 protected:
  void TearDown() override {
    CCoreConfig::SetUnitFilter(CUnitFilter());
    CCoreConfig::SetStageNo(0);
  }
};

bool SameBits(double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0; }

TEST_F(CoreConfigTest, ProcessStartsWithTheDefaultRulesAtStepZero) {
  const CUnitFilter defaults;
  EXPECT_TRUE(CCoreConfig::_roundSet.IsSame(&defaults));
  EXPECT_EQ(CCoreConfig::GetStageNo(), 0);
}

TEST_F(CoreConfigTest, GetRoundRoundsOnlyWhileTheSwitchIsOn) {
  EXPECT_EQ(CCoreConfig::GetEnableRound(), 1);
  EXPECT_EQ(CCoreConfig::GetRound(1.2346, 163), 1234 * (0.1 * 0.1 * 0.1));

  CCoreConfig::SetEnableRound(0);
  EXPECT_EQ(CCoreConfig::GetEnableRound(), 0);
  for (const double x : {1.2346, -0.0, 1e33, kNoValue}) {
    EXPECT_TRUE(SameBits(CCoreConfig::GetRound(x, 163), x)) << x;
  }
  EXPECT_EQ(CCoreConfig::_roundSet.Round2(1.2346, 163), 1234 * (0.1 * 0.1 * 0.1));
}

TEST_F(CoreConfigTest, UnitFilterIsSetAndReadAsACopy) {
  CUnitFilter edited = CCoreConfig::GetUnitFilter();
  edited.digitsSafetyFactor = 2;
  EXPECT_EQ(CCoreConfig::_roundSet.digitsSafetyFactor, 3);

  CCoreConfig::SetUnitFilter(edited);
  edited.digitsSafetyFactor = 5;
  EXPECT_EQ(CCoreConfig::GetUnitFilter().digitsSafetyFactor, 2);
  EXPECT_EQ(CCoreConfig::GetRound(1.2399, 163), 123 * (0.1 * 0.1));
}

TEST_F(CoreConfigTest, StageNo) {
  CCoreConfig::SetStageNo(3);
  EXPECT_EQ(CCoreConfig::GetStageNo(), 3);
  EXPECT_EQ(CCoreConfig::_stageNo, 3);
}

}  // namespace
