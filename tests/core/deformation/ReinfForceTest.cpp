// The force calculation of the rock bolts: zone resistances, the bar's allowable forces and its
// components along and across the slip surface, and the totals over the arrangement, checked
// against values worked out by hand with the roundings written down for them.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "core/deformation/ReinfArrange.h"
#include "core/deformation/Reinforce.h"
#include "core/geometry/DPolyArray.h"
#include "core/model/PrmReinf.h"
#include "core/section/SpSlideWork.h"
#include "core/section/SpStratum.h"
#include "tests/core/deformation/ReinfTestUtil.h"
#include "tests/support/PolyTestUtil.h"

namespace {

constexpr int kNormal = CReinforce::kSetNormal;
constexpr int kSeismic = CReinforce::kSetSeismic;

// A stratum polygon, closed, with its unit pull-out resistance tau (N/mm2) and friction angle.
std::unique_ptr<CSpStratumBlock> Stratum(const std::vector<CDPoint>& corners, double tau,
                                         double phi) {
  std::vector<CDPoint> closed = corners;
  closed.push_back(corners.front());
  auto block = MakePoly<CSpStratumBlock>(closed);
  tagSATURATE& soil = *block->GetPropStructure();
  soil.tauP = tau;
  soil.phi = phi;
  return block;
}

// Rock bolt D22 (d 22 mm, As 3.871 cm2) in a 90 mm drill hole, sigmaSa 180 / 270 N/mm2, Fs 2.5 /
// 1.5, tauCa 1.6 / 2.4 N/mm2, design factor 0.8, no reduction, no clamp.
CPrmReinf Conditions() {
  CPrmReinf prm;
  prm.barKind = CReinforce::kKindRockbolt;
  prm.stdBar.name = "ネジ節棒鋼";
  prm.stdBar.kei = "D22";
  prm.stdBar.d = 22;
  prm.stdBar.as = 3.871;
  prm.stdBar.drillD = 90;
  prm.stdBar.sigmaSaN = 180;
  prm.stdBar.sigmaSaQ = 270;
  prm.fsa = 2.5;
  prm.fsaQ = 1.5;
  prm.tauC = 1.6;
  prm.tauCQ = 2.4;
  prm.tdFactor = 0.8;
  return prm;
}

// Two strata meeting at y = 0 (tau 0.1 and phi 30 above, tau 0.2 and phi 35 below), a horizontal
// slip line at y = 1, and a bar from (10, 3) at 30 degrees, 12 m long with 2 m outside the ground,
// 2 m apart across the section. The bar meets the slip line 4 m and the boundary 6 m from its
// head: zones of 4 m in L1 and of 2 m and 4 m in L2; theta 0, beta 30, phi 30.
class ReinfForceTest : public testing::Test {
 protected:
  ReinfForceTest() {
    strata_.Add(Stratum({{-10, 0}, {50, 0}, {50, 20}, {-10, 20}}, 0.1, 30));
    strata_.Add(Stratum({{-10, -20}, {50, -20}, {50, 0}, {-10, 0}}, 0.2, 35));
  }

  // The arrangement of the bars, with their forces of both sets on the slip line.
  CReinfArrange Calculated(std::vector<std::unique_ptr<CReinforce>> bars,
                           const CSpSlideWork& slip) {
    CReinfArrange arrange;
    for (auto& bar : bars) arrange.Add(std::move(bar));
    arrange.CreateZoneStratum(strata_);
    for (const int set : {kNormal, kSeismic}) arrange.Calc(set, &strata_, nullptr, &slip, prm_);
    return arrange;
  }

  const CReinforce::Result& CalcBar(int set) {
    arrange_ = Calculated(Bar(), *slip_);
    return arrange_.GetAt(0)->GetResult(set);
  }

  static std::vector<std::unique_ptr<CReinforce>> Bar() {
    std::vector<std::unique_ptr<CReinforce>> bars;
    bars.push_back(MakeBar(1, 1, {10, 3}, 30, 12, 2, 2.0));
    return bars;
  }

  CDPolyArray strata_;
  std::unique_ptr<CSpSlideWork> slip_ = StraightSlip(CDPoint(-10, 1), CDPoint(50, 1));
  CPrmReinf prm_ = Conditions();
  CReinfArrange arrange_;
};

// ---- Single formulas ----

TEST_F(ReinfForceTest, TsaIsTheTensileCapacityInKN) {
  CReinforce bar;
  bar.Calc_Tsa(kNormal, 3.871, 180);
  // 3.871e-4 m2 * 180000 kN/m2 = 69.678 kN.
  EXPECT_NEAR(bar.GetResult(kNormal).Tsa, 69.678, 1e-12);
}

TEST_F(ReinfForceTest, ZonePullOutIsTheRoundedLengthTimesTheRoundedUnitResistance) {
  CDPolyArray strata;
  strata.Add(Stratum({{0, 0}, {10, 0}, {10, 10}, {0, 10}}, 0.25, 30));
  const struct {
    int region;
    double L1tpa;
    double L2tpa;
    double L1tca;
    double L2tca;
  } cases[] = {
      // tpa = round(0.25 * pi * 90 / 2.5) = 28.274; round(2.345 * 28.274) = 66.303.
      // tca = round(1.6 * 1000 * pi * (22 / 1000)) = 110.584; round(2.345 * 110.584) = 259.319.
      {CReinfZone::kRegionL1, 66.303, 0, 259.319, 0},
      {CReinfZone::kRegionL2, 0, 66.303, 0, 259.319},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.region);
    CReinfZone plain(CDPoint(1, 5), CDPoint(3, 4), c.region, 0);
    plain.length = 2.345;
    plain.Calc(strata, 2.5, 90);
    EXPECT_EQ(plain.tau, 0.25);
    EXPECT_NEAR(plain.tpa, 28.274, 1e-12);
    EXPECT_NEAR(plain.L1tpa, c.L1tpa, 1e-12);
    EXPECT_NEAR(plain.L2tpa, c.L2tpa, 1e-12);
    EXPECT_EQ(plain.L1tca + plain.L2tca, 0) << "a plain bar has no bond resistance";

    // The rock bolt pulls out of the ground over the drilling diameter too; the bond between bar
    // and grout acts over the bar diameter.
    CReinfZone rockbolt = plain;
    rockbolt.ClearRes();
    rockbolt.CalcRockbolt(strata, 2.5, 90, 1.6, 22);
    EXPECT_NEAR(rockbolt.tpa, 28.274, 1e-12);
    EXPECT_NEAR(rockbolt.tca, 110.584, 1e-12);
    EXPECT_NEAR(rockbolt.L1tpa, c.L1tpa, 1e-12);
    EXPECT_NEAR(rockbolt.L2tpa, c.L2tpa, 1e-12);
    EXPECT_NEAR(rockbolt.L1tca, c.L1tca, 1e-12);
    EXPECT_NEAR(rockbolt.L2tca, c.L2tca, 1e-12);
  }

  CReinfZone outside(CDPoint(1, 5), CDPoint(3, 4), CReinfZone::kRegionL2, -1);
  outside.length = 2.345;
  outside.CalcRockbolt(strata, 2.5, 90, 1.6, 22);
  EXPECT_EQ(outside.tpa, kNoValue);
  EXPECT_EQ(outside.L2tpa, 0) << "a zone without stratum resists nothing";
}

// ---- One bar ----

TEST_F(ReinfForceTest, EveryValueOfBothSetsAsWorkedOutByHand) {
  const struct {
    int set;
    // Per metre of bar: tpa above and below the boundary, tca.
    double tpaUpper, tpaLower, tca;
    double sumL1tpa, sumL2tpa, sumL1tca, sumL2tca;
    double T1pa, T2pa, Tsa, Tpa, Td, Tm, Sh, Ss;
  } cases[] = {
      // Normal: tpa round(0.1 pi 90 / 2.5) = 11.310 and round(0.2 pi 90 / 2.5) = 22.619;
      // sum L1 tpa = round(4 * 11.31) = 45.240; sum L2 tpa = round(2 * 11.31) + round(4 * 22.619)
      // = 22.62 + 90.476; Td = round(45.24 * 0.8) = 36.192; Tm = 36.192 / 2 = 18.096;
      // Sh = round(18.096 cos 30); Ss = round(18.096 sin 30 * 0.57735).
      {kNormal, 11.31, 22.619, 110.584, 45.24, 113.096, 442.336, 663.504, 45.24, 113.096, 69.678,
       45.24, 36.192, 18.096, 15.672, 5.224},
      // Seismic: Fs 1.5, tauCa 2.4, sigmaSa 270.
      {kSeismic, 18.85, 37.699, 165.876, 75.4, 188.496, 663.504, 995.256, 75.4, 188.496, 104.517,
       75.4, 60.32, 30.16, 26.119, 8.706},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.set);
    const CReinforce::Result& r = CalcBar(c.set);
    const CReinforce& bar = *arrange_.GetAt(0);
    ASSERT_EQ(bar.GetZoneSize(c.set), 3);
    const double tpa[] = {c.tpaUpper, c.tpaUpper, c.tpaLower};
    for (int i = 0; i < 3; ++i) {
      EXPECT_NEAR(bar.GetZone(c.set, i).tpa, tpa[i], 1e-12) << "zone " << i;
      EXPECT_NEAR(bar.GetZone(c.set, i).tca, c.tca, 1e-12) << "zone " << i;
    }
    EXPECT_EQ(r.phi, 30);
    EXPECT_EQ(r.theta, 0);
    EXPECT_EQ(r.beta, 30);
    EXPECT_NEAR(r.sumL1tpa, c.sumL1tpa, 1e-9);
    EXPECT_NEAR(r.sumL2tpa, c.sumL2tpa, 1e-9);
    EXPECT_NEAR(r.sumL1tca, c.sumL1tca, 1e-9);
    EXPECT_NEAR(r.sumL2tca, c.sumL2tca, 1e-9);
    EXPECT_NEAR(r.T1pa, c.T1pa, 1e-9);
    EXPECT_NEAR(r.T2pa, c.T2pa, 1e-9);
    EXPECT_NEAR(r.Tsa, c.Tsa, 1e-9);
    EXPECT_NEAR(r.Tpa, c.Tpa, 1e-9);
    EXPECT_NEAR(r.Td, c.Td, 1e-9);
    EXPECT_NEAR(r.Tm, c.Tm, 1e-9);
    EXPECT_NEAR(r.Sh, c.Sh, 1e-9);
    EXPECT_NEAR(r.Ss, c.Ss, 1e-9);
  }
}

TEST_F(ReinfForceTest, ARockboltTakesTheSmallerOfGroundAndBondAPlainBarOnlyTheGround) {
  // tauCa 0.1: tca = round(0.1 * 1000 * pi * 0.022) = 6.912, below the ground's tpa.
  prm_.tauC = 0.1;
  const struct {
    int kind;
    double T1pa, T2pa, Tpa;
  } cases[] = {
      {CReinforce::kKindPlainBar, 45.24, 113.096, 45.24},
      // round(4 * 6.912) = 27.648; round(2 * 6.912) + round(4 * 6.912) = 41.472.
      {CReinforce::kKindRockbolt, 27.648, 41.472, 27.648},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.kind);
    prm_.barKind = c.kind;
    const CReinforce::Result& r = CalcBar(kNormal);
    EXPECT_NEAR(r.T1pa, c.T1pa, 1e-9);
    EXPECT_NEAR(r.T2pa, c.T2pa, 1e-9);
    EXPECT_NEAR(r.Tpa, c.Tpa, 1e-9);
    if (c.kind == CReinforce::kKindPlainBar) {
      EXPECT_EQ(r.sumL1tca + r.sumL2tca, 0);
    }
  }
  prm_.barKind = 2;
  const CReinforce::Result& other = CalcBar(kNormal);
  EXPECT_EQ(other.T1pa, kNoValue) << "no pull-out values for another bar kind";
  EXPECT_EQ(other.Tpa, kNoValue);
}

TEST_F(ReinfForceTest, TheReductionByMuAppliesOnlyWhileSwitchedOn) {
  const struct {
    const char* name;
    bool reduction;
    double myu;
    double T1pa, Tpa;
  } cases[] = {
      {"off: mu is ignored", false, 1, 45.24, 45.24},
      {"on, mu 0.5: round(45.24 / 0.5)", true, 0.5, 90.48, 69.678},
      {"on, mu 1: no T1pa, the smaller of T2pa and Tsa", true, 1, kNoValue, 69.678},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    prm_.reduction = c.reduction;
    prm_.myu = c.myu;
    const CReinforce::Result& r = CalcBar(kNormal);
    EXPECT_NEAR(r.T1pa, c.T1pa, 1e-9);
    EXPECT_NEAR(r.Tpa, c.Tpa, 1e-9);
  }
}

TEST_F(ReinfForceTest, TheClampTurnsTheNegativeShOfABetaAbove90IntoZero) {
  // A slip line rising steeply to the right: theta 85.71 degrees, beta 115.71.
  slip_ = StraightSlip(CDPoint(12, -20), CDPoint(15, 20));
  for (const int clamp : {0, 1, 2}) {
    SCOPED_TRACE(clamp);
    prm_.shClamp = clamp;
    const CReinforce::Result& r = CalcBar(kNormal);
    EXPECT_NEAR(r.theta, 85.71, 1e-9);
    EXPECT_NEAR(r.beta, 115.71, 1e-9);
    ASSERT_GT(r.Tm, 0);
    if (clamp == 1) {
      EXPECT_EQ(r.Sh, 0);
    } else {
      EXPECT_LT(r.Sh, 0);
    }
    EXPECT_GT(r.Ss, 0);
  }
}

TEST_F(ReinfForceTest, ABarWithANegativeBetaKeepsOnlyItsAnglesAndTheTotalsSkipIt) {
  // The slip line falls to the right, theta = round(atan(-24 / 60)) = -21.80. The bar at 60
  // degrees crosses it from above (beta 38.20); the bar at 10 degrees starts below it and, falling
  // less steeply, crosses it from below (beta -11.80).
  const auto falling = StraightSlip(CDPoint(-10, 5), CDPoint(50, -19));
  std::vector<std::unique_ptr<CReinforce>> bars;
  bars.push_back(MakeBar(1, 1, {10, 3}, 60, 14, 2, 2.0));
  bars.push_back(MakeBar(2, 1, {0, -0.5}, 10, 12, 0, 2.0));
  const CReinfArrange arrange = Calculated(std::move(bars), *falling);

  const CReinforce::Result& steep = arrange.GetAt(0)->GetResult(kNormal);
  const CReinforce::Result& flat = arrange.GetAt(1)->GetResult(kNormal);
  EXPECT_NEAR(steep.beta, 38.2, 1e-9);
  EXPECT_NEAR(flat.theta, -21.8, 1e-9);
  EXPECT_NEAR(flat.beta, -11.8, 1e-9);
  EXPECT_EQ(flat.phi, 35) << "the stratum of the part before the crossing";
  CReinforce::Result anglesOnly;
  anglesOnly.H = flat.H;
  anglesOnly.H2 = flat.H2;
  anglesOnly.phi = flat.phi;
  anglesOnly.theta = flat.theta;
  anglesOnly.beta = flat.beta;
  EXPECT_EQ(flat, anglesOnly);

  ASSERT_NE(steep.Sh, kNoValue);
  EXPECT_NEAR(arrange.GetTotalSh(kNormal), steep.Sh, 1e-9);
  EXPECT_NEAR(arrange.GetTotalSs(kNormal), steep.Ss, 1e-9);
  EXPECT_NEAR(arrange.GetTotalSr(kNormal), HandRound(steep.Sh + steep.Ss), 1e-9);
}

TEST_F(ReinfForceTest, AMissingInputLeavesItsResultsUnsetInsteadOfComputingWithTheMarker) {
  // The lower stratum has no tau: the anchored part has no resistance, so neither has the bar.
  dynamic_cast<CSpStratumBlock*>(strata_.GetAt(1))->GetPropStructure()->tauP = kNoValue;
  const CReinforce::Result& r = CalcBar(kNormal);
  EXPECT_NEAR(r.T1pa, 45.24, 1e-9);
  EXPECT_EQ(r.sumL2tpa, kNoValue);
  EXPECT_EQ(r.T2pa, kNoValue);
  EXPECT_NEAR(r.Tsa, 69.678, 1e-9);
  EXPECT_EQ(r.Tpa, kNoValue);
  EXPECT_EQ(r.Td, kNoValue);
  EXPECT_EQ(r.Tm, kNoValue);
  EXPECT_EQ(r.Sh, kNoValue);
  EXPECT_EQ(r.Ss, kNoValue);
}

TEST_F(ReinfForceTest, ABarWhoseStandardBarTheConditionsLackGetsNoResults) {
  std::vector<std::unique_ptr<CReinforce>> bars = Bar();
  bars.front()->stdBar = 1;
  const CReinfArrange arrange = Calculated(std::move(bars), *slip_);
  CReinforce::Result lengthsOnly;
  lengthsOnly.H = 4;
  lengthsOnly.H2 = 6;
  EXPECT_EQ(arrange.GetAt(0)->GetResult(kNormal), lengthsOnly);
}

TEST_F(ReinfForceTest, SetsWithoutConditionValuesGetNoForces) {
  arrange_ = Calculated(Bar(), *slip_);
  arrange_.Calc(2, &strata_, nullptr, slip_.get(), prm_);
  const CReinforce::Result& r = arrange_.GetAt(0)->GetResult(2);
  EXPECT_EQ(r.beta, 30);
  EXPECT_EQ(r.Tsa, kNoValue);
  EXPECT_EQ(r.Tpa, kNoValue);
}

TEST_F(ReinfForceTest, WithoutStrataOrSlipSurfaceTheSetIsOnlyCleared) {
  arrange_ = Calculated(Bar(), *slip_);
  arrange_.Calc(kNormal, nullptr, nullptr, slip_.get(), prm_);
  EXPECT_EQ(arrange_.GetAt(0)->GetResult(kNormal), CReinforce::Result());
  EXPECT_NE(arrange_.GetAt(0)->GetResult(kSeismic).Tpa, kNoValue);
  arrange_.Calc(kSeismic, &strata_, nullptr, nullptr, prm_);
  EXPECT_EQ(arrange_.GetAt(0)->GetResult(kSeismic), CReinforce::Result());
}

// ---- Totals ----

TEST(ReinfTotalsTest, WithoutBarsTheTotalsAre0AndTheLargestForceUnset) {
  const CReinfArrange empty;
  EXPECT_EQ(empty.GetTotalSh(kNormal), 0);
  EXPECT_EQ(empty.GetTotalSs(kNormal), 0);
  EXPECT_EQ(empty.GetTotalSr(kNormal), 0);
  EXPECT_EQ(empty.GetMaxTpa(kNormal), kNoValue);
}

TEST(ReinfTotalsTest, TheLargestForceIsTheLargestT1paT2paOrTsa) {
  CReinfArrange arrange;
  arrange.Create(2);
  CReinforce::Result& first = arrange.GetAt(0)->GetResult(kNormal);
  first.T1pa = 40;
  first.T2pa = kNoValue;
  first.Tsa = 69.678;
  first.Tpa = 500;  // not one of the three
  CReinforce::Result& second = arrange.GetAt(1)->GetResult(kNormal);
  second.T1pa = kNoValue;
  second.T2pa = 112.5;
  second.Tsa = 69.678;
  EXPECT_EQ(arrange.GetMaxTpa(kNormal), 112.5);
  EXPECT_EQ(arrange.GetMaxTpa(kSeismic), kNoValue);
}

}  // namespace
