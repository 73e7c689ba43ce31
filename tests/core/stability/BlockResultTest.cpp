#include <gtest/gtest.h>

#include <stdexcept>

#include "core/base/CoreConfig.h"
#include "core/base/CoreSettings.h"
#include "core/stability/BlockResult.h"

namespace {

constexpr double kNo = kNoValue;

// The safety factors round as a new document does, whatever an earlier test left behind.
class BlockResultTest : public testing::Test {
 protected:
  const ScopedEnableRound rounding_{1};
};

TEST_F(BlockResultTest, NewAndResetRecordsHoldNoValues) {
  tagBLOCKRESULTSLICE slice;
  for (const double v : slice.value) EXPECT_EQ(v, kNo);
  slice.value[20] = 1;
  slice.Init();
  EXPECT_EQ(slice, tagBLOCKRESULTSLICE());

  tagBLOCKRESULTKNOWN known;
  known.S = 1;
  known.Fs = 2;
  known.Init();
  EXPECT_TRUE(known.IsSame(tagBLOCKRESULTKNOWN()));
  EXPECT_EQ(known.S, kNo);
}

TEST_F(BlockResultTest, AccessorsReadTheNormalOrTheSeismicValue) {
  tagBLOCKRESULTSLICE r;
  r.SetCFai(12.5, 30);
  EXPECT_EQ(r.value[1], 12.5);
  EXPECT_EQ(r.value[0], 30);
  // Values 9 to 17: simple T normal and seismic, seismic addition, simple N normal and seismic,
  // seismic deduction, a sum, S normal and seismic.
  for (int k = 9; k <= 17; ++k) r.value[k - 1] = k * 10;
  for (const int normal : {0, 2, -1}) {
    EXPECT_EQ(r.GetSimpleT(normal), 90);
    EXPECT_EQ(r.GetT(normal), 90);
    EXPECT_EQ(r.GetSimpleN(normal), 120);
    EXPECT_EQ(r.GetN(normal), 120);
    EXPECT_EQ(r.GetS(normal), 160);
  }
  EXPECT_EQ(r.GetSimpleT(1), 100);
  EXPECT_EQ(r.GetT(1), 100 + 110);
  EXPECT_EQ(r.GetSimpleN(1), 130);
  EXPECT_EQ(r.GetN(1), 130 - 140);
  EXPECT_EQ(r.GetS(1), 170);
}

TEST_F(BlockResultTest, SeismicTAndNNeedBothParts) {
  tagBLOCKRESULTSLICE r;
  r.value[9] = 5;   // simple T, seismic; its addition stays unset
  r.value[12] = 7;  // simple N, seismic; its deduction stays unset
  EXPECT_EQ(r.GetT(1), kNo);
  EXPECT_EQ(r.GetN(1), kNo);
  r.value[9] = kNo;
  r.value[10] = 1;
  EXPECT_EQ(r.GetT(1), kNo);
}

TEST_F(BlockResultTest, LoadSumsAreFiveNormalThenFiveSeismicValues) {
  tagBLOCKRESULTSLICE r;
  for (int c = 0; c < 5; ++c) {
    r.LoadSum(0, c) = c;
    r.LoadSum(1, c) = 10 + c;
  }
  for (int c = 0; c < 5; ++c) {
    EXPECT_EQ(r.value[17 + c], c);
    EXPECT_EQ(r.value[22 + c], 10 + c);
  }
  EXPECT_THROW(r.LoadSum(0, 5), std::out_of_range);
  EXPECT_THROW(r.LoadSum(1, -1), std::out_of_range);
}

TEST_F(BlockResultTest, PlusDataAddsValues8To17Only) {
  tagBLOCKRESULTSLICE a;
  tagBLOCKRESULTSLICE b;
  for (int i = 0; i < 33; ++i) {
    a.value[i] = i;
    b.value[i] = 100;
  }
  b.value[9] = kNo;  // no value is added as it stands
  a.PlusData(b);
  for (int k = 1; k <= 33; ++k) {
    const double before = k - 1;
    if (k == 10) {
      EXPECT_EQ(a.value[k - 1], before + kNo);
    } else if (k >= 8 && k <= 17) {
      EXPECT_EQ(a.value[k - 1], before + 100) << k;
    } else {
      EXPECT_EQ(a.value[k - 1], before) << k;
    }
  }
}

// ---- Safety factor and required restraining force ----

struct FsCase {
  const char* name;
  double S;
  double T;
  bool extra;
  double x;
  double fsp;
  double fs;       // expected Fs
  double fsExtra;  // expected Fs with the extra force
  double pr;
};

class CalcFsPrTest : public BlockResultTest, public testing::WithParamInterface<FsCase> {};

// With the default rounding: Fs truncated to 0.001, Pr rounded up to 0.1.
TEST_P(CalcFsPrTest, FollowsTheForces) {
  const FsCase& c = GetParam();
  tagBLOCKRESULTKNOWN r;
  r.S = c.S;
  r.T = c.T;
  r.Fs = 9.9;  // an earlier result that must not survive
  r.CalcFsPr(1, c.extra, c.fsp, c.x);
  EXPECT_DOUBLE_EQ(r.Fs, c.fs);
  EXPECT_DOUBLE_EQ(r.FsExtra, c.fsExtra);
  EXPECT_DOUBLE_EQ(r.Pr, c.pr);
  EXPECT_EQ(r.extraForce, c.x);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CalcFsPrTest,
    testing::Values(
        // 12 / 10 = 1.2; Pr = 10 * 1.5 - 12 = 3.
        FsCase{"Plain", 12, 10, false, kNo, 1.5, 1.2, kNo, 3},
        // No driving force: no safety factor and no restraining force.
        FsCase{"NoDrivingForce", 12, 0, false, kNo, 1.5, kNo, kNo, kNo},
        FsCase{"NoResistance", kNo, 10, false, kNo, 1.5, kNo, kNo, kNo},
        FsCase{"NoPlannedFactor", 12, 10, false, kNo, kNo, 1.2, kNo, kNo},
        // 10 / 7 = 1.42857 truncated; Pr = 7 * 1.5 - 10 = 0.5.
        FsCase{"Truncated", 10, 7, false, kNo, 1.5, 1.428, kNo, 0.5},
        // With the extra force 3: (12 + 3) / 10 = 1.5; Pr looks at that Fs but stays T fsp - S.
        FsCase{"ExtraForce", 12, 10, true, 3, 1.6, 1.2, 1.5, 4},
        // Extra force unset: it counts as 0, and Fs is this calculation's too.
        FsCase{"ExtraForceUnset", 12, 10, true, kNo, 1.5, 1.2, 1.2, 3}),
    [](const testing::TestParamInfo<FsCase>& param) { return param.param.name; });

TEST_F(BlockResultTest, ModeTwoTakesSAndTFromTheSumsHalfUpTo001) {
  tagBLOCKRESULTKNOWN r;
  r.sumS = 123.456;
  r.sumT = 100.004;
  r.divisor = 10;
  r.CalcFs(2, false, kNo);
  EXPECT_DOUBLE_EQ(r.S, 12.35);  // 12.3456 half up
  EXPECT_DOUBLE_EQ(r.T, 10.0);   // 10.0004
  EXPECT_DOUBLE_EQ(r.Fs, 1.235);

  for (const double divisor : {0.0, kNo}) {
    r.divisor = divisor;
    r.CalcFs(2, false, kNo);
    EXPECT_EQ(r.S, kNo);
    EXPECT_EQ(r.T, kNo);
    EXPECT_EQ(r.Fs, kNo);
  }
}

TEST_F(BlockResultTest, WithoutExtraTheExtraResultStaysAsItWas) {
  tagBLOCKRESULTKNOWN r;
  r.S = 12;
  r.T = 10;
  r.FsExtra = 7;
  r.CalcFs(1, false, 3);
  EXPECT_EQ(r.FsExtra, 7);
  EXPECT_DOUBLE_EQ(r.Fs, 1.2);
}

TEST_F(BlockResultTest, RoundingOffKeepsTheRawQuotients) {
  const ScopedEnableRound off(0);
  tagBLOCKRESULTKNOWN r;
  r.S = 10;
  r.T = 7;
  r.CalcFsPr(1, false, 1.5, kNo);
  EXPECT_EQ(r.Fs, 10.0 / 7.0);
  EXPECT_EQ(r.Pr, 7 * 1.5 - 10);
}

TEST_F(BlockResultTest, CalcInitResetsTheResultsOnly) {
  tagBLOCKRESULTKNOWN r;
  r.S = 1;
  r.T = 2;
  r.Fs = 3;
  r.FsExtra = 4;
  r.Pr = 5;
  r.extraForce = 6;
  r.CalcInit();
  EXPECT_EQ(r.S, 1);
  EXPECT_EQ(r.T, 2);
  EXPECT_EQ(r.Fs, kNo);
  EXPECT_EQ(r.FsExtra, kNo);
  EXPECT_EQ(r.Pr, kNo);
  EXPECT_EQ(r.extraForce, kNo);
}

}  // namespace
