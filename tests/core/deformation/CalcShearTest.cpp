#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <numbers>
#include <optional>
#include <utility>
#include <vector>

#include "core/base/CoreConfig.h"
#include "core/deformation/CalcShear.h"
#include "core/deformation/ResShear.h"
#include "core/model/PrmReinf.h"
#include "core/model/PrmShear.h"
#include "core/model/PrmStab.h"
#include "core/model/RefCond.h"
#include "platform/ProgressFeedback.h"
#include "tests/support/ProcessSteps.h"
#include "tests/support/StoredRecord.h"

namespace {

// The conditions of one calculation.
struct Conditions {
  const char* what;
  double b, c, g0, l, bDepth, h, theta, erb, as, gammaT, phi;
  double trnMax = 2.39;
};

// Soil of medium stiffness on a 30 degree slip surface: the yield shows within the rows.
constexpr Conditions kMedium{
    "medium soil without bars", 20, 0.8, 33000, 2, 2, 1.5, 30, 2, kNoValue, 18, 30};

// ---- An evaluation of the formulas written out on its own, with the cubic solved by bisection.

// The largest real root of x^3 + a x^2 + b x + c, by bisection on a stretch where the cubic rises.
double LargestRoot(double a, double b, double c) {
  const auto cubic = [&](double x) { return ((x + a) * x + b) * x + c; };
  const double bound = 1.0 + std::max({std::abs(a), std::abs(b), std::abs(c)});
  double lo = -bound;
  double hi = bound;
  const double d = a * a - 3.0 * b;  // the derivative has two roots when d > 0
  if (d > 0.0) {
    const double left = (-a - std::sqrt(d)) / 3.0;
    const double right = (-a + std::sqrt(d)) / 3.0;
    if (cubic(right) <= 0.0) {
      lo = right;
    } else {
      hi = left;
    }
  }
  for (int i = 0; i < 200; ++i) {
    const double mid = 0.5 * (lo + hi);
    (cubic(mid) > 0.0 ? hi : lo) = mid;
  }
  return 0.5 * (lo + hi);
}

struct ReferenceRow {
  double kh, eta, trn, delta, cumStrain, gAfter, cumDisp;
  bool negativeP = false;   // the last round's cubic had p < 0
  bool threeRoots = false;  // ... and three real roots
};

struct Reference {
  std::vector<ReferenceRow> rows;
  bool yield = false;
  double kc = 0.0;
  double kL = 0.0;
};

Reference Evaluate(const Conditions& in) {
  const double kRad = std::numbers::pi / 180.0;
  const double asE = in.as / 1e4 * in.erb * 1e8;
  const bool bars = in.as > 0 && in.erb > 0;
  const double w = in.bDepth * in.gammaT * in.l * in.h;
  const double t = std::tan(in.phi / 3.0 * kRad);
  const double sinT = std::sin(in.theta * kRad);
  const double cosT = std::cos(in.theta * kRad);
  Reference ref;
  double strain = 0.0;
  double disp = 0.0;
  const auto eta = [&](double kh) {
    if (kh == 0.0) return 1.0;
    if (!ref.yield) return 0.0;
    const double lo = std::min(ref.kc, ref.kL);
    const double hi = std::max(ref.kc, ref.kL);
    if (kh < lo) return 0.0;
    if (kh >= hi) return 1.0;
    return (kh - lo) / (hi - lo);
  };
  const auto step = [&](double g, double kh) {
    ReferenceRow row{};
    row.kh = kh;
    row.eta = eta(kh);
    row.trn = std::abs(kh) <= 1e-6 ? 0.0 : std::min(in.trnMax * row.eta, in.trnMax);
    const double ke = cosT * kh + 0.5 * kh * sinT + row.eta * sinT;
    double previous = 0.0;
    for (int round = 0;; ++round) {
      if (bars) {
        const double k2 = 4 * t;
        const double k1 = 4 * t * t + 4 * g * in.bDepth * in.l / asE;
        const double k0 = -(4 * ke * w - 8 * row.trn) / asE;
        const double p = k1 / 3 - k2 * k2 / 9;
        const double q = 2 * k2 * k2 * k2 / 27 - k2 * k1 / 3 + k0;
        row.negativeP = p < 0;
        row.threeRoots = q * q / 4 + p * p * p < 0;
        row.delta = LargestRoot(k2, k1, k0);
      } else {
        row.delta = ke * in.gammaT * in.h / g;
      }
      if (std::abs(row.delta - previous) < 1e-6 || round > 1000) break;
      previous = row.delta;
      g = in.g0 / (1 + in.b * std::pow(std::abs(row.delta), in.c));
    }
    strain += row.delta;
    disp += row.delta * in.h * 1000;
    row.cumStrain = strain;
    row.gAfter = in.g0 / (1 + in.b * std::pow(std::abs(strain), in.c));
    row.cumDisp = std::ceil(disp);
    if (!ref.yield && strain > 0.013) {
      ref.yield = true;
      ref.kc = kh;
      ref.kL = RoundOff(kh * (0.025 / strain) / (1 + 0.025 / 0.052), 0.001);
    }
    return row;
  };
  double g = in.g0;
  for (int n = 0; n <= 40; n = n == 0 ? 2 : n + 1) {
    ref.rows.push_back(step(g, n / 20.0));
    g = ref.rows.back().gAfter;
  }
  for (int n = 41; !ref.yield; ++n) {
    g = step(g, n / 20.0).gAfter;
    if (!ref.yield && (n + 1) / 20.0 > 9.99) ref.kL = 9.99;
    if ((n + 1) / 20.0 > 9.99) break;
  }
  return ref;
}

// ---- The calculation under test.

class CalcShearTest : public testing::Test {
 protected:
  void Set(const Conditions& in) {
    shear.fit.b = in.b;
    shear.fit.c = in.c;
    shear.g0 = in.g0;
    shear.boltSpacing = in.l;
    shear.blockDepth = in.bDepth;
    shear.h = in.h;
    shear.theta = in.theta;
    shear.erb = in.erb;
    reinf.stdBar.as = in.as;
    gammaT = in.gammaT;
    phi = in.phi;
    CRefCond::SetTRNmax(in.trnMax);
  }

  CCalcShear Calc() { return CCalcShear(shear, reinf, stab, gammaT, phi, result); }

  void Run() { Calc().CalcProcess(); }

  CPrmShear shear;
  CPrmReinf reinf;
  CPrmStab stab;
  double gammaT = kNoValue;
  double phi = kNoValue;
  CResShear result;
};

TEST_F(CalcShearTest, RowsAgreeWithTheFormulasEvaluatedApart) {
  const struct Case {
    Conditions in;
    bool negativeP;   // some row's cubic has p < 0
    bool threeRoots;  // some row's cubic has three real roots
  } cases[] = {
      {kMedium, false, false},
      {{"medium soil with bars", 20, 0.8, 33000, 2, 2, 1.5, 30, 2, 3.871, 18, 30}, false, false},
      {{"stiff bars in softening soil: p < 0 once G has dropped", 1000, 0.8, 33000, 2, 2, 1.5, 30,
        20, 3.871, 18, 45},
       true,
       false},
      {{"a strong net on a thin layer: three real roots and negative strains", 1000, 0.8, 3000, 1,
        1, 0.5, 10, 2, 3.871, 18, 60, 500},
       true,
       true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.in.what);
    Set(c.in);
    CCalcShear calc = Calc();
    calc.CalcProcess();
    const Reference ref = Evaluate(c.in);

    ASSERT_EQ(result.rows.size(), 40u);
    ASSERT_EQ(ref.rows.size(), 40u);
    bool negativeP = false;
    bool threeRoots = false;
    for (std::size_t i = 0; i < ref.rows.size(); ++i) {
      SCOPED_TRACE(i);
      const CShearData& row = result.rows[i];
      const ReferenceRow& expected = ref.rows[i];
      negativeP |= expected.negativeP;
      threeRoots |= expected.threeRoots;
      EXPECT_EQ(row.kh, expected.kh);
      EXPECT_NEAR(row.eta, expected.eta, 1e-12);
      EXPECT_NEAR(row.trn, expected.trn, 1e-12);
      const double tolerance = 1e-9 * std::max(1.0, std::abs(expected.cumStrain));
      EXPECT_NEAR(row.deltaGamma, expected.delta, tolerance);
      EXPECT_NEAR(row.cumStrain, expected.cumStrain, tolerance);
      EXPECT_NEAR(row.gAfter, expected.gAfter, 1e-6 * expected.gAfter);
      EXPECT_EQ(row.cumDisp, expected.cumDisp);
      EXPECT_TRUE(std::isfinite(row.gRatioBefore) && std::isfinite(row.gRatioAfter));
    }
    EXPECT_EQ(negativeP, c.negativeP);
    EXPECT_EQ(threeRoots, c.threeRoots);
    EXPECT_EQ(calc.IsYield(), ref.yield);
    EXPECT_EQ(calc.GetKc(), ref.kc);
    EXPECT_NEAR(result.yieldK, ref.kL, 1e-12);
  }
}

TEST_F(CalcShearTest, OneStepCarriesTheStateIntoTheNext) {
  Set(kMedium);
  Run();
  for (std::size_t i = 1; i < result.rows.size(); ++i) {
    SCOPED_TRACE(i);
    const CShearData& before = result.rows[i - 1];
    const CShearData& row = result.rows[i];
    EXPECT_DOUBLE_EQ(row.gRatioBefore, before.gRatioAfter);
    EXPECT_DOUBLE_EQ(row.gBefore, before.gAfter);
    EXPECT_DOUBLE_EQ(row.gAfter, row.gRatioAfter * 33000);
    EXPECT_DOUBLE_EQ(row.cumStrain, before.cumStrain + row.deltaGamma);
    // Whole millimetres rounded up, the running sum unrounded.
    EXPECT_EQ(row.dispIncrement, std::ceil(row.deltaGamma * 1.5 * 1000));
    EXPECT_EQ(row.cumDisp, std::ceil(row.cumDispBefore + row.deltaGamma * 1.5 * 1000));
  }
  EXPECT_EQ(result.rows[0].gRatioBefore, 1.0);
  EXPECT_EQ(result.rows[0].cumDispBefore, 0.0);
}

TEST_F(CalcShearTest, RowsRunFromZeroOverTenthAndTwentiethsToTwo) {
  Set(kMedium);
  Run();
  ASSERT_EQ(result.rows.size(), 40u);
  EXPECT_EQ(result.rows[0].kh, 0.0);
  EXPECT_EQ(result.rows[1].kh, 0.1);
  for (std::size_t i = 2; i < result.rows.size(); ++i) {
    EXPECT_EQ(result.rows[i].kh, static_cast<double>(i + 1) / 20.0);
  }
  EXPECT_EQ(result.rows[2].kh, 0.15);
  EXPECT_EQ(result.rows[19].kh, 1.0);
  EXPECT_EQ(result.rows.back().kh, 2.0);
  EXPECT_EQ(result.GetMaxKh(), 2.0);
}

TEST_F(CalcShearTest, EtaAndTensionRampBetweenTheCrackAndTheYieldCoefficient) {
  Set(kMedium);
  CCalcShear calc = Calc();
  calc.CalcProcess();
  ASSERT_TRUE(calc.IsYield());
  const double kc = calc.GetKc();
  const double kL = calc.GetKL();
  ASSERT_LT(kc, kL);
  // At kh = 0 eta is 1 but TRN is 0; before the crack strain is passed eta is 0.
  EXPECT_EQ(result.rows[0].eta, 1.0);
  EXPECT_EQ(result.rows[0].trn, 0.0);
  for (const CShearData& row : result.rows) {
    SCOPED_TRACE(row.kh);
    if (row.kh == 0.0) continue;
    if (row.kh <= kc) {
      EXPECT_EQ(row.eta, 0.0);
    } else if (row.kh >= kL) {
      EXPECT_EQ(row.eta, 1.0);
      EXPECT_EQ(row.trn, 2.39);
    } else {
      EXPECT_DOUBLE_EQ(row.eta, (row.kh - kc) / (kL - kc));
    }
  }
  EXPECT_EQ(calc.GetCalcEta(kL + 1.0), 1.0);
}

TEST_F(CalcShearTest, EtaIsOneFromTheYieldOnWhenCrackAndYieldCoefficientsMeet) {
  Set(kMedium);
  CCalcShear calc = Calc();
  const double strain = calc.CalcShearEngine(33000, 0.0).cumStrain;
  // Reference values that make kL = kh * (strain / strain) / 1 = kc, unrounded.
  CCoreConfig::SetEnableRound(0);
  CRefCond::SetKiretuHizumi(0.0);
  CRefCond::SetGammaref(strain);
  CRefCond::SetKyokuHizumi(1e30);
  calc.CheckKyokusyo(0.5);
  ASSERT_TRUE(calc.IsYield());
  ASSERT_EQ(calc.GetKc(), 0.5);
  ASSERT_EQ(calc.GetKL(), 0.5);
  const struct { double kh, eta; } cases[] = {{0.0, 1.0}, {0.49, 0.0}, {0.5, 1.0}, {0.6, 1.0}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.kh);
    EXPECT_EQ(calc.GetCalcEta(c.kh), c.eta);
  }
}

TEST_F(CalcShearTest, WithoutBarAreaOrModulusEveryStepUsesTheClosedFormula) {
  const struct {
    const char* what;
    double as, erb;
  } cases[] = {
      {"no bar area", kNoValue, 2.0},
      {"zero bar area", 0.0, 2.0},
      {"no modulus", 3.871, kNoValue},
      {"zero modulus", 3.871, 0.0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    Conditions in = kMedium;
    in.as = c.as;
    in.erb = c.erb;
    Set(in);
    // The friction angle only matters with bars.
    phi = kNoValue;
    Run();
    Set(kMedium);
    CResShear closed;
    CCalcShear(shear, reinf, stab, gammaT, kNoValue, closed).CalcProcess();
    ASSERT_EQ(result.rows.size(), closed.rows.size());
    for (std::size_t i = 0; i < closed.rows.size(); ++i) {
      EXPECT_EQ(result.rows[i], closed.rows[i]);
    }
  }
}

TEST_F(CalcShearTest, CubicRootIsTheLargestRealRoot) {
  Conditions in = kMedium;
  in.as = 3.871;
  Set(in);
  const CCalcShear calc = Calc();
  // Moduli and loads from a stiff block to a nearly failed one; with eta 1 and a large TRNmax the
  // constant term turns positive.
  CRefCond::SetTRNmax(5000);
  for (const double g : {33000.0, 3000.0, 300.0, 30.0, 1.0}) {
    for (const double eta : {0.0, 0.5, 1.0}) {
      for (const double kh : {0.0, 0.1, 1.0, 2.0}) {
        SCOPED_TRACE(testing::Message() << "G " << g << " eta " << eta << " kh " << kh);
        const double a = calc.GetCalc_a();
        const double b = calc.GetCalc_b(g);
        const double c = calc.GetCalc_c(eta, kh);
        const double root = calc.GetCalcGanmma1(g, eta, kh);
        EXPECT_NEAR(root, LargestRoot(a, b, c), 1e-9 * std::max(1.0, std::abs(root)));
        if (c <= 0.0) {
          EXPECT_GE(root, -1e-15);
        }
      }
    }
  }
}

TEST_F(CalcShearTest, DesignRowAtTheDesignCoefficient) {
  Set(kMedium);
  const struct {
    const char* what;
    double khd;
    int row;  // the row taken unchanged, -1 interpolated, -2 unset
  } cases[] = {
      {"0.15 takes its row", 0.15, 2},
      {"1.0 takes its row", 1.0, 19},
      {"0 takes the first row", 0.0, 0},
      {"between rows", 0.42, -1},
      {"2.0 has no next row", 2.0, -2},
      {"above the rows", 2.5, -2},
      {"below 0", -0.1, -2},
      {"unset", kNoValue, -2},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    stab.kh = c.khd;
    Run();
    const CShearData& d = result.design;
    if (c.row == -2) {
      EXPECT_EQ(d, CShearData());
      EXPECT_FALSE(result.IsResult());
      continue;
    }
    EXPECT_TRUE(result.IsResult());
    EXPECT_EQ(d.kh, c.khd);
    EXPECT_EQ(d.trn, kNoValue);
    EXPECT_EQ(d.eta, kNoValue);
    if (c.row >= 0) {
      EXPECT_EQ(d.cumStrain, result.rows[c.row].cumStrain);
      EXPECT_EQ(d.cumDisp, result.rows[c.row].cumDisp);
    } else {
      const CShearData& lo = result.rows[7];
      const CShearData& hi = result.rows[8];
      ASSERT_EQ(lo.kh, 0.4);
      const double strain =
          lo.cumStrain + (hi.cumStrain - lo.cumStrain) * (0.42 - 0.4) / (0.45 - 0.4);
      EXPECT_NEAR(d.cumStrain, strain, 1e-15);
      EXPECT_EQ(d.cumDisp, std::ceil(1.5 * d.cumStrain * 1000));
    }
  }
}

TEST_F(CalcShearTest, YieldBeyondTheRowsOrNever) {
  const struct {
    const char* what;
    double g0;
    double kc;  // 0: never
  } cases[] = {
      {"stiff soil yields at 3.6", 300000, 3.6},
      {"very stiff soil never yields", 1e8, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    Conditions in = kMedium;
    in.b = 1;
    in.g0 = c.g0;
    Set(in);
    CCalcShear calc = Calc();
    calc.CalcProcess();
    EXPECT_EQ(result.rows.size(), 40u);
    EXPECT_EQ(result.GetMaxKh(), 2.0);
    const Reference ref = Evaluate(in);
    EXPECT_EQ(calc.IsYield(), c.kc != 0);
    EXPECT_EQ(calc.GetKc(), ref.kc);
    EXPECT_NEAR(result.yieldK, ref.kL, 1e-12);
    if (c.kc == 0) {
      EXPECT_EQ(result.yieldK, 9.99);
    } else {
      EXPECT_EQ(calc.GetKc(), c.kc);
    }
  }
}

TEST_F(CalcShearTest, BlockWeightAndAllowableValues) {
  Set(kMedium);
  CRefCond::SetSendanHizumi(0.0333);
  Run();
  // 2 * 18 * 2 * 1.5.
  EXPECT_DOUBLE_EQ(result.weight, 108.0);
  EXPECT_EQ(result.allowStrain, 0.0333);
  // 1.5 * 0.0333 * 1000 = 49.95, rounded down.
  EXPECT_EQ(result.allowDisp, 49.0);
  EXPECT_DOUBLE_EQ(Calc().GetCalcKyoyouHeni(), 49.95);
}

TEST_F(CalcShearTest, MissingConditionsClearTheResultAndComputeNothing) {
  const struct {
    const char* what;
    void (*change)(CPrmShear&, double& gammaT, double& phi);
  } cases[] = {
      {"no b", [](CPrmShear& s, double&, double&) { s.fit.b = kNoValue; }},
      {"negative b", [](CPrmShear& s, double&, double&) { s.fit.b = -1; }},
      {"no c", [](CPrmShear& s, double&, double&) { s.fit.c = kNoValue; }},
      {"no G0", [](CPrmShear& s, double&, double&) { s.g0 = kNoValue; }},
      {"G0 0", [](CPrmShear& s, double&, double&) { s.g0 = 0; }},
      {"no spacing", [](CPrmShear& s, double&, double&) { s.boltSpacing = kNoValue; }},
      {"no depth", [](CPrmShear& s, double&, double&) { s.blockDepth = kNoValue; }},
      {"no thickness", [](CPrmShear& s, double&, double&) { s.h = kNoValue; }},
      {"no inclination", [](CPrmShear& s, double&, double&) { s.theta = kNoValue; }},
      {"no unit weight", [](CPrmShear&, double& g, double&) { g = kNoValue; }},
      {"no friction angle with bars", [](CPrmShear&, double&, double& p) { p = kNoValue; }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    Conditions in = kMedium;
    in.as = 3.871;
    Set(in);
    stab.kh = 0.2;
    Run();
    ASSERT_TRUE(result.IsResult());
    c.change(shear, gammaT, phi);
    Run();
    EXPECT_TRUE(result.rows.empty());
    EXPECT_EQ(result.design, CShearData());
    EXPECT_EQ(result.weight, kNoValue);
    EXPECT_TRUE(std::isfinite(result.yieldK));
    EXPECT_EQ(result.allowDisp, kNoValue);
  }
}

// ---- Prepare, process, post ----

// The march writes nothing but its own running sums and what it returns; its post files exactly
// what a headless run files.
TEST_F(CalcShearTest, TheMarchChangesNothingOfTheResultUntilItIsPosted) {
  Set(kMedium);
  stab.kh = 0.2;
  Run();
  const std::vector<std::uint8_t> headless = RecordOf(result, 10);
  ASSERT_TRUE(result.IsResult());
  result.Init();
  const std::vector<std::uint8_t> before = RecordOf(result, 10);
  CCalcShear calc = Calc();
  ProgressFeedback feedback;
  std::optional<ShearMarch> march = calc.Process(feedback);
  ASSERT_TRUE(march.has_value());
  EXPECT_EQ(feedback.Progress(), 100);
  EXPECT_EQ(RecordOf(result, 10), before);
  calc.Post(*std::move(march));
  EXPECT_EQ(RecordOf(result, 10), headless);
}

// The march reports each of its 40 rows; a cancel stops it at the next row, or in the search for
// the yield beyond the rows, and leaves nothing to post, so the result of the run before stays.
TEST_F(CalcShearTest, ACancelledMarchGivesNothingAndTheResultStaysAsItWas) {
  Conditions stiff = kMedium;  // yields only beyond the rows
  stiff.b = 1;
  stiff.g0 = 300000;
  const struct {
    const char* what;
    Conditions in;
    int at;
    bool whole;
  } cases[] = {
      {"before the first row", kMedium, 0, false},
      {"at the third row", kMedium, 3, false},
      {"at the last row, with the yield found", kMedium, 40, true},
      {"at the last row, before the yield beyond the rows", stiff, 40, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    Set(c.in);
    Run();
    const std::vector<std::uint8_t> before = RecordOf(result, 10);
    CancelAtReport cancel(c.at);
    EXPECT_EQ(Calc().Process(cancel.Feedback()).has_value(), c.whole);
    EXPECT_EQ(cancel.Reports(), c.at);
    EXPECT_EQ(RecordOf(result, 10), before);
  }
}

}  // namespace

// On very soft soil the strain iteration runs away to infinity. From that step on the rows carry
// only their kh (the yield found before stays), and no value of the result is infinite or NaN.
TEST_F(CalcShearTest, RunawayStrainLeavesTheRestOfTheMarchUnset) {
  Conditions in = kMedium;
  in.b = 1000;
  in.c = 1;
  Set(in);
  stab.kh = 1.0;
  Run();
  ASSERT_EQ(result.rows.size(), 40u);
  const auto unset = std::find_if(result.rows.begin(), result.rows.end(),
                                  [](const CShearData& row) { return row.cumStrain == kNoValue; });
  ASSERT_NE(unset, result.rows.end()) << "the iteration was expected to run away";
  for (auto row = result.rows.begin(); row != result.rows.end(); ++row) {
    SCOPED_TRACE(row->kh);
    for (const double v : {row->trn, row->eta, row->deltaGamma, row->cumStrain, row->gAfter,
                           row->dispIncrement, row->cumDisp}) {
      EXPECT_TRUE(std::isfinite(v));
      if (row >= unset) {
        EXPECT_EQ(v, kNoValue);
      }
    }
  }
  EXPECT_TRUE(std::isfinite(result.yieldK));
  EXPECT_EQ(result.design.cumDisp, kNoValue);
  EXPECT_TRUE(std::isfinite(result.GetMaxCumDelta()));
}
