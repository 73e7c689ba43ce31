#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <memory>
#include <numbers>

#include "core/deformation/CalcShear.h"
#include "core/deformation/Reinforce.h"
#include "core/deformation/ResFocus.h"
#include "core/deformation/ResShear.h"
#include "core/model/PrmReinf.h"
#include "core/model/PrmShear.h"
#include "core/model/PrmStab.h"
#include "tests/support/RecordBytes.h"
#include "tests/support/RecordContract.h"

namespace {

using Judge = CResFocus::Judge;

// The soil block of the worked example: L = B = 2 m, h = 1.5 m, theta = 30 degrees.
CPrmShear Block() {
  CPrmShear shear;
  shear.h = 1.5;
  shear.theta = 30.0;
  return shear;
}

// The shear result of that block: W = gamma_t L B h = 18 * 2 * 2 * 1.5 = 108 kN and the
// coefficient of local failure k.
CResShear Load(double k) {
  CResShear result;
  result.weight = 108.0;
  result.yieldK = k;
  return result;
}

CResFocus Counted(int n) {
  CResFocus focus;
  focus.count = n;
  focus.unitWord = CResFocus::kUnitRope;
  return focus;
}

// The normal-case values differ from the seismic ones, so that using the wrong pair shows.
CPrmReinf Conditions() {
  CPrmReinf reinf;
  reinf.stdBar.d = 22.0;
  reinf.stdBar.as = 3.871;
  reinf.stdBar.drillD = 65.0;
  reinf.stdBar.sigmaSaN = 200.0;
  reinf.stdBar.sigmaSaQ = 300.0;
  reinf.tauC = 0.8;
  reinf.tauCQ = 1.2;
  reinf.fsa = 2.5;
  reinf.fsaQ = 1.5;
  reinf.tauP2 = 0.2;
  return reinf;
}

CReinforce Bar(double length, double extra) {
  CReinforce bar;
  bar.length = length;
  bar.extraLength = extra;
  return bar;
}

TEST(ResFocusTest, DesignForceSagAndTensionOfTheWorkedExample) {
  const struct {
    double k;
    double trb;
    double trn;
  } cases[] = {
      // 54 * (0.5 * 0.75 + 0.5 * 0.6 - cos 30 + cos 30 * 0.6 * 0.75) = 10.729;
      // sqrt((2 / 0.8)^2 + 1) * 10.7 * 2 / 4 / 4 = 3.6013.
      {0.6, 10.7, 3.60},
      // 54 * (0.375 + 0.15 - cos 30 + cos 30 * 0.3 * 0.75) = -7.893: the block stays put.
      {0.3, -7.9, 0.0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.k);
    CResFocus focus = Counted(4);
    focus.CalcTRN(Block(), Load(c.k));
    EXPECT_DOUBLE_EQ(focus.trb, c.trb);
    EXPECT_DOUBLE_EQ(focus.sag, 0.2);
    EXPECT_DOUBLE_EQ(focus.trn, c.trn);
  }
  EXPECT_NEAR(std::sqrt(7.25) * 10.7 * 2.0 / 4.0 / 4.0, 3.60, 0.005);
}

TEST(ResFocusTest, TakesTheBlockWeightAndYieldCoefficientOfTheShearResult) {
  CPrmShear shear = Block();
  shear.fit.b = 20.0;
  shear.fit.c = 0.8;
  CResShear result;
  CCalcShear(shear, CPrmReinf(), CPrmStab(), 18.0, 30.0, result).CalcProcess();
  ASSERT_EQ(result.weight, 108.0);
  ASSERT_GT(result.yieldK, 0.0);
  CResFocus focus = Counted(4);
  focus.CalcTRN(shear, result);
  CResFocus expected = Counted(4);
  expected.CalcTRN(shear, Load(result.yieldK));
  EXPECT_NE(focus.trb, kNoValue);
  EXPECT_EQ(focus, expected);
}

TEST(ResFocusTest, NoDesignForceIsNoLoadNotOut) {
  CResFocus focus = Counted(4);
  focus.capacity = 20.0;
  focus.tsa = 5.0;
  focus.CalcTRN(Block(), Load(0.3));
  focus.CalcFsRN();
  EXPECT_TRUE(focus.IsNoLoad());
  EXPECT_EQ(focus.fsRN, kNoValue);
  EXPECT_EQ(focus.JudgeT(), Judge::kNoLoad);
  EXPECT_EQ(focus.JudgeFsRN(), Judge::kNoLoad);
  EXPECT_TRUE(focus.IsJudgeT());
  EXPECT_TRUE(focus.IsJudgeFsRN());
}

TEST(ResFocusTest, TensionNeedsEveryInputAndClearsAStaleResult) {
  const struct {
    const char* what;
    std::function<void(CResFocus&, CPrmShear&, CResShear&)> change;
    bool sag;
    bool trb;
  } cases[] = {
      {"no count", [](CResFocus& f, CPrmShear&, CResShear&) { f.count = kNoValueInt; }, false,
       false},
      {"count 0", [](CResFocus& f, CPrmShear&, CResShear&) { f.count = 0; }, false, false},
      {"no block depth", [](CResFocus&, CPrmShear& s, CResShear&) { s.blockDepth = kNoValue; },
       false, false},
      {"block depth 0", [](CResFocus&, CPrmShear& s, CResShear&) { s.blockDepth = 0; }, false,
       false},
      {"no weight", [](CResFocus&, CPrmShear&, CResShear& l) { l.weight = kNoValue; }, true, false},
      {"no yield coefficient", [](CResFocus&, CPrmShear&, CResShear& l) { l.yieldK = kNoValue; },
       true, false},
      {"no thickness", [](CResFocus&, CPrmShear& s, CResShear&) { s.h = kNoValue; }, true, false},
      {"no inclination", [](CResFocus&, CPrmShear& s, CResShear&) { s.theta = kNoValue; }, true,
       false},
      {"no spacing", [](CResFocus&, CPrmShear& s, CResShear&) { s.boltSpacing = kNoValue; }, true,
       true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    CResFocus focus = Counted(4);
    CPrmShear shear = Block();
    CResShear load = Load(0.6);
    focus.CalcTRN(shear, load);
    ASSERT_NE(focus.trn, kNoValue);
    c.change(focus, shear, load);
    focus.CalcTRN(shear, load);
    EXPECT_EQ(focus.sag != kNoValue, c.sag);
    EXPECT_EQ(focus.trb != kNoValue, c.trb);
    EXPECT_EQ(focus.trn, kNoValue);
  }
}

TEST(ResFocusTest, BoltForcesUseTheSeismicValues) {
  CResFocus focus;
  focus.CalcT(Block(), Conditions(), Bar(5.0, 0.5));
  EXPECT_DOUBLE_EQ(focus.la, 3.0);
  // 0.2 * pi * 65 / 1.5 = 27.227 and 1.2 * pi * 22 = 82.938.
  EXPECT_DOUBLE_EQ(focus.tau1, RoundOff(0.2 * std::numbers::pi * 65.0 / 1.5, 0.01));
  EXPECT_DOUBLE_EQ(focus.tau1, 27.23);
  EXPECT_DOUBLE_EQ(focus.tau2, 82.94);
  EXPECT_DOUBLE_EQ(focus.GetTa(), 27.23);
  EXPECT_DOUBLE_EQ(focus.tpa, 81.69);
  // 3.871 cm2 * 300 N/mm2 = 116.13 kN.
  EXPECT_DOUBLE_EQ(focus.tsa, 116.13);
  EXPECT_DOUBLE_EQ(focus.GetT(), 81.69);
}

TEST(ResFocusTest, BoltForcesNeedEveryInput) {
  const struct {
    const char* what;
    std::function<void(CPrmShear&, CPrmReinf&, CReinforce&)> change;
    double la, tau1, tau2, tpa, tsa, t;
  } cases[] = {
      {"an unset extra length counts as 0",
       [](CPrmShear&, CPrmReinf&, CReinforce& b) { b.extraLength = kNoValue; }, 3.5, 27.23, 82.94,
       95.31, 116.13, 95.31},
      {"no bar length", [](CPrmShear&, CPrmReinf&, CReinforce& b) { b.length = kNoValue; },
       kNoValue, 27.23, 82.94, kNoValue, 116.13, 116.13},
      {"no thickness", [](CPrmShear& s, CPrmReinf&, CReinforce&) { s.h = kNoValue; }, kNoValue,
       27.23, 82.94, kNoValue, 116.13, 116.13},
      // Without one resistance the pull-out force rests on the other: 3 * 82.94 = 248.82.
      {"safety factor 0", [](CPrmShear&, CPrmReinf& r, CReinforce&) { r.fsaQ = 0.0; }, 3.0,
       kNoValue, 82.94, 248.82, 116.13, 116.13},
      {"no safety factor", [](CPrmShear&, CPrmReinf& r, CReinforce&) { r.fsaQ = kNoValue; }, 3.0,
       kNoValue, 82.94, 248.82, 116.13, 116.13},
      {"no skin friction", [](CPrmShear&, CPrmReinf& r, CReinforce&) { r.tauP2 = kNoValue; }, 3.0,
       kNoValue, 82.94, 248.82, 116.13, 116.13},
      {"no bond stress", [](CPrmShear&, CPrmReinf& r, CReinforce&) { r.tauCQ = kNoValue; }, 3.0,
       27.23, kNoValue, 81.69, 116.13, 81.69},
      {"no resistance at all",
       [](CPrmShear&, CPrmReinf& r, CReinforce&) { r.tauP2 = r.tauCQ = kNoValue; }, 3.0, kNoValue,
       kNoValue, kNoValue, 116.13, 116.13},
      {"no tensile stress",
       [](CPrmShear&, CPrmReinf& r, CReinforce&) { r.stdBar.sigmaSaQ = kNoValue; }, 3.0, 27.23,
       82.94, 81.69, kNoValue, 81.69},
      {"no bar at all", [](CPrmShear&, CPrmReinf& r, CReinforce&) { r.stdBar = CReinfStdBar(); },
       3.0, kNoValue, kNoValue, kNoValue, kNoValue, kNoValue},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    CPrmShear shear = Block();
    CPrmReinf reinf = Conditions();
    CReinforce bar = Bar(5.0, 0.5);
    c.change(shear, reinf, bar);
    CResFocus focus;
    focus.CalcT(Block(), Conditions(), Bar(5.0, 0.5));
    focus.CalcT(shear, reinf, bar);
    EXPECT_DOUBLE_EQ(focus.la, c.la);
    EXPECT_DOUBLE_EQ(focus.tau1, c.tau1);
    EXPECT_DOUBLE_EQ(focus.tau2, c.tau2);
    EXPECT_DOUBLE_EQ(focus.tpa, c.tpa);
    EXPECT_DOUBLE_EQ(focus.tsa, c.tsa);
    EXPECT_DOUBLE_EQ(focus.GetT(), c.t);
  }
}

TEST(ResFocusTest, SmallerOfTheSetValues) {
  const struct {
    double a, b, smaller;
  } cases[] = {
      {3.0, 5.0, 3.0},
      {5.0, 3.0, 3.0},
      {kNoValue, 5.0, 5.0},
      {3.0, kNoValue, 3.0},
      {kNoValue, kNoValue, kNoValue},
  };
  for (const auto& c : cases) {
    CResFocus focus;
    focus.tau1 = focus.tpa = c.a;
    focus.tau2 = focus.tsa = c.b;
    EXPECT_EQ(focus.GetTa(), c.smaller);
    EXPECT_EQ(focus.GetT(), c.smaller);
  }
}

TEST(ResFocusTest, SafetyFactorOnlyFromSetValuesAndAPositiveTension) {
  const struct {
    const char* what;
    double required, capacity, trn, fsRN;
  } cases[] = {
      {"set", 2.0, 10.0, 3.60, 2.778},
      {"capacity cleared", 2.0, kNoValue, 3.60, kNoValue},
      {"required cleared", kNoValue, 10.0, 3.60, kNoValue},
      {"no tension", 2.0, 10.0, kNoValue, kNoValue},
      {"zero tension", 2.0, 10.0, 0.0, kNoValue},
      {"negative tension", 2.0, 10.0, -1.0, kNoValue},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    CResFocus focus;
    focus.fsRN = 9.999;
    focus.requiredFsRN = c.required;
    focus.capacity = c.capacity;
    focus.trn = c.trn;
    focus.CalcFsRN();
    EXPECT_DOUBLE_EQ(focus.fsRN, c.fsRN);
  }
}

TEST(ResFocusTest, JudgementsOfSetValuesPassOnEquality) {
  const struct {
    const char* what;
    double trb, tpa, tsa;
    Judge t;
    double fsRN, required;
    Judge fs;
  } cases[] = {
      {"below", 3.0, 5.0, 4.0, Judge::kOk, 2.5, 2.0, Judge::kOk},
      {"equal", 4.0, 5.0, 4.0, Judge::kOk, 2.0, 2.0, Judge::kOk},
      {"above", 4.01, 5.0, 4.0, Judge::kOut, 1.999, 2.0, Judge::kOut},
      {"only Tpa", 4.5, 5.0, kNoValue, Judge::kOk, kNoValue, 2.0, Judge::kNone},
      {"no allowable", 4.0, kNoValue, kNoValue, Judge::kNone, 2.0, kNoValue, Judge::kNone},
      {"no design force", kNoValue, 5.0, 4.0, Judge::kNone, kNoValue, kNoValue, Judge::kNone},
      {"no load", 0.0, kNoValue, kNoValue, Judge::kNoLoad, kNoValue, 2.0, Judge::kNoLoad},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    CResFocus focus;
    focus.trb = c.trb;
    focus.tpa = c.tpa;
    focus.tsa = c.tsa;
    focus.fsRN = c.fsRN;
    focus.requiredFsRN = c.required;
    EXPECT_EQ(focus.JudgeT(), c.t);
    EXPECT_EQ(focus.JudgeFsRN(), c.fs);
    EXPECT_EQ(focus.IsJudgeT(), c.t == Judge::kOk || c.t == Judge::kNoLoad);
    EXPECT_EQ(focus.IsJudgeFsRN(), c.fs == Judge::kOk || c.fs == Judge::kNoLoad);
  }
}

TEST(ResFocusTest, CalcAllGivesAJudgedResult) {
  CResFocus focus = Counted(4);
  focus.capacity = 10.0;
  focus.CalcAll(Block(), Load(0.6), Conditions(), Bar(5.0, 0.5));
  EXPECT_TRUE(focus.IsResult());
  EXPECT_DOUBLE_EQ(focus.fsRN, 2.778);
  EXPECT_EQ(focus.JudgeT(), Judge::kOk);
  EXPECT_EQ(focus.JudgeFsRN(), Judge::kOk);

  focus.ClearRes();
  EXPECT_FALSE(focus.IsResult());
  EXPECT_EQ(focus.JudgeT(), Judge::kNone);
  EXPECT_EQ(focus.JudgeFsRN(), Judge::kNone);
  CResFocus kept = Counted(4);
  kept.capacity = 10.0;
  EXPECT_EQ(focus, kept);
}

// A 2 m bolt without the seismic bond stress: La = 2 - 1.5 = 0.5 m, tau1 = 0.2 * pi * 65 / 2.5
// = 16.34 kN/m, Tpa = 8.17 kN and Tsa = 3.484 * 300 / 10 = 104.52 kN, so T = 8.17 kN holds less
// than the design force of 10.7 kN.
TEST(ResFocusTest, AShortBoltWithoutTheBondStressIsOut) {
  CPrmReinf reinf = Conditions();
  reinf.tauCQ = kNoValue;
  reinf.fsaQ = 2.5;
  reinf.stdBar.as = 3.484;
  CResFocus focus = Counted(4);
  focus.capacity = 10.0;
  focus.CalcAll(Block(), Load(0.6), reinf, Bar(2.0, kNoValue));
  EXPECT_DOUBLE_EQ(focus.trb, 10.7);
  EXPECT_DOUBLE_EQ(focus.la, 0.5);
  EXPECT_DOUBLE_EQ(focus.tau1, 16.34);
  EXPECT_DOUBLE_EQ(focus.tpa, 8.17);
  EXPECT_DOUBLE_EQ(focus.tsa, 104.52);
  EXPECT_DOUBLE_EQ(focus.GetT(), 8.17);
  EXPECT_EQ(focus.JudgeT(), Judge::kOut);
  EXPECT_FALSE(focus.IsJudgeT());
}

TEST(ResFocusTest, CountTexts) {
  CResFocus focus;
  EXPECT_FALSE(focus.IsValidTRN());
  EXPECT_EQ(focus.GetStrNetUnit(), "");
  EXPECT_EQ(focus.GetStrNetUnitName(), "土塊ブロック内のネット枚数");
  focus = Counted(4);
  EXPECT_TRUE(focus.IsValidTRN());
  EXPECT_EQ(focus.GetStrNetUnit(), "4本");
  EXPECT_EQ(focus.GetStrNetUnitName(), "土塊ブロック内の横ロープ本数");
  focus.unitWord = CResFocus::kUnitNet;
  EXPECT_EQ(focus.GetStrNetUnitName(), "土塊ブロック内のネット枚数");
}

TEST(ResFocusTest, InitRestoresTheDefaults) {
  CResFocus focus = Counted(4);
  focus.capacity = 10.0;
  focus.requiredFsRN = 3.0;
  focus.CalcAll(Block(), Load(0.6), Conditions(), Bar(5.0, 0.5));
  focus.Init();
  EXPECT_EQ(focus.count, kNoValueInt);
  EXPECT_TRUE(focus.unitWord.empty());
  EXPECT_EQ(focus.requiredFsRN, 2.0);
  EXPECT_FALSE(focus.IsValidFS_RN());
  EXPECT_EQ(focus, CResFocus());
}

// Every field its own value, so that a field Load forgets shows.
CResFocus Filled(int n, const char* unit, double first = 1.5) {
  CResFocus focus;
  focus.count = n;
  focus.unitWord = unit;
  double v = first;
  for (double* field :
       {&focus.requiredFsRN, &focus.capacity, &focus.reserved, &focus.trb, &focus.sag, &focus.trn,
        &focus.tau1, &focus.tau2, &focus.la, &focus.tpa, &focus.tsa, &focus.fsRN}) {
    *field = v;
    v += 1.25;
  }
  return focus;
}

RecordBytes Doubles(RecordBytes bytes) {
  for (int i = 0; i < 12; ++i) bytes.Double(1.5 + 1.25 * i);
  return bytes;
}

TEST(ResFocusTest, RecordWithTheUnitWord) {
  for (const int version : {7, 10}) {
    SCOPED_TRACE(version);
    ExpectRecordContract<CResFocus>({
        .stored = Filled(4, "本"),
        .version = version,
        .bytes = Doubles(RecordBytes().Int(4).Text(u"本")).Get(),
        .makeTarget = [] { return std::make_unique<CResFocus>(Filled(9, "x", 100.0)); },
    });
  }
}

TEST(ResFocusTest, OlderRecordDerivesTheUnitWordFromTheCount) {
  const struct {
    int n;
    const char* unit;
  } cases[] = {{8, "枚"}, {4, "本"}, {3, "x"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.n);
    ExpectRecordContract<CResFocus>({
        .stored = Filled(c.n, c.unit),
        .version = 6,
        .bytes = Doubles(RecordBytes().Int(c.n)).Get(),
        .makeTarget = [] { return std::make_unique<CResFocus>(Filled(9, "x", 100.0)); },
    });
  }
}

}  // namespace
