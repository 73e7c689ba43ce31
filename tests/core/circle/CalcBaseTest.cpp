#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <memory>
#include <numbers>

#include "core/base/Constants.h"
#include "core/base/CoreSettings.h"
#include "core/circle/CalcBase.h"
#include "core/circle/CalcDriver.h"
#include "core/circle/SliceList.h"
#include "core/geometry/DPolyArray.h"
#include "core/model/Danmen.h"
#include "core/section/SpGround.h"
#include "core/section/SpSlide.h"
#include "core/section/SpSlideWork.h"
#include "core/section/SpStratum.h"
#include "tests/support/PolyTestUtil.h"
#include "tests/support/SampleSection.h"

namespace {

using R = tagRESULTSLICE;

void SetCond(CDanmenStab& section, double kh, int clip, int quake) {
  tagCALCCONDITION cond = section.GetCalcCond();
  cond.kh = kh;
  cond.nu0 = clip;
  cond.quakeOn = quake;
  section.SetCalcCond(cond);
  section.SetCalcMode(quake != 0 ? CDanmenStab::kCalcQuake : CDanmenStab::kCalcNormal);
}

// One slice with W = 100 on a straight base inclined at 30 degrees (L = 2) in a stratum with
// c = 10 and phi = 30, no water and no loads: T = 50, N = 86.603, S = 20 + 50 = 70.
class OneSliceTest : public testing::Test {
 protected:
  void SetUp() override {
    tagSATURATE& soil = block->GetPropPtr()->GetSaturate();
    soil.gammaT = soil.gammaSat = 20;
    soil.c = 10;
    soil.phi = 30;
    const double width = std::sqrt(3.0);  // L cos 30
    const double height = 5 / width;      // area 5, weight 100
    auto slice = std::make_unique<CSlice>();
    slice->SetX(0, width);
    // The base falls to the right; the list's direction (false) turns it into +30 degrees.
    slice->AddDEVY({1 + height, height, block.get(), 0});
    slice->AddDEVY({1, 0, nullptr, 0});
    slice->SetStrengthType(kStrengthStratum);
    slice->SetCF(10, 30);
    slice->SetDanmenStab(&section);
    list.AddSlice(std::move(slice));
    list.SetDanmenStab(&section);
    SetCond(section, kNoValue, 0, 0);
    calc.SetDanmenStab(&section);
  }

  std::unique_ptr<CSpStratumBlock> block = std::make_unique<CSpStratumBlock>();
  CDanmenStab section;
  CSliceList list;
  CCalcFellenius calc{1};
};

TEST_F(OneSliceTest, ForcesOfTheSlice) {
  const ScopedEnableRound guard(0);
  calc.KeisanFs(list, 0);
  const tagRESULTSLICE& r = list.GetSlicePtr(0)->GetResult();
  EXPECT_NEAR(r[R::kWeight], 100, 1e-9);
  EXPECT_NEAR(r[R::kLength], 2, 1e-9);
  EXPECT_NEAR(r[R::kAlpha], std::numbers::pi / 6, 1e-12);
  EXPECT_NEAR(r[R::kT], 50, 1e-9);
  EXPECT_NEAR(r[R::kN], 86.6025403784, 1e-9);
  EXPECT_NEAR(r[R::kS], 70, 1e-9);
  EXPECT_NEAR(list.GetTotalS(), 70, 1e-9);
}

// Normal and seismic safety factors. Without kh there is no seismic calculation and so no seismic
// safety factor (not 0 / 50 = 0).
TEST_F(OneSliceTest, SafetyFactorsNormalAndSeismic) {
  const double seismic =
      (20 + (86.60254037844386 - 5) * std::tan(DegToRad(30))) / (50 + 10 * std::cos(DegToRad(30)));
  struct Case {
    double kh;
    double fs;
    double fsSeis;
  };
  for (const Case& c : {Case{kNoValue, 1.4, kNoValue}, Case{0.1, 1.4, seismic}}) {
    SCOPED_TRACE(c.kh);
    const ScopedEnableRound guard(0);
    SetCond(section, c.kh, 0, 0);
    const tagFSRESULT fs = calc.KeisanFs(list, 0);
    EXPECT_NEAR(fs.fs, c.fs, 1e-9);
    if (c.fsSeis == kNoValue) {
      EXPECT_EQ(fs.fsSeis, kNoValue);
      EXPECT_EQ(fs.fsSeis2, kNoValue);
    } else {
      EXPECT_NEAR(fs.fsSeis, c.fsSeis, 1e-9);
    }
  }
  EXPECT_NEAR(seismic, 1.144, 5e-4);
}

TEST_F(OneSliceTest, SeismicTermsOfAStraightBase) {
  const ScopedEnableRound guard(0);
  SetCond(section, 0.1, 0, 0);
  calc.KeisanFs(list, 0);
  const tagRESULTSLICE& r = list.GetSlicePtr(0)->GetResult();
  EXPECT_NEAR(r[R::kTe], 8.6602540378, 1e-9);
  EXPECT_NEAR(r[R::kNe], 5, 1e-9);
  EXPECT_NEAR(r[R::kSe], 67.1132486541, 1e-9);
}

TEST_F(OneSliceTest, AdditionalResistingForce) {
  const ScopedEnableRound guard(0);
  SetCond(section, 0.1, 0, 0);
  const tagFSRESULT fs = calc.KeisanFs(list, 5);
  EXPECT_NEAR(fs.fs2, 75.0 / 50, 1e-9);
  EXPECT_NEAR(fs.fsSeis2, (list.GetTotalSe() + 5) / list.GetTotalTTe(), 1e-12);
  EXPECT_NEAR(calc.KeisanFs(list, kNoValue).fs2, 1.4, 1e-9);
}

// Pr = planned Fs x Sigma T - Sigma S; a negative requirement is reported as it is. The seismic
// values count only while the section serves the seismic case.
TEST_F(OneSliceTest, RequiredRestrainingForce) {
  const ScopedEnableRound guard(0);
  SetCond(section, 0.1, 0, 1);
  const double driving = 50 + 10 * std::cos(DegToRad(30));
  const double se = 20 + (86.60254037844386 - 5) * std::tan(DegToRad(30));
  tagFSRESULT pr = calc.KeisanFsPr(1.2, 1.5, list, 0);
  EXPECT_NEAR(pr.pr, 50 * 1.2 - 70, 1e-9);
  EXPECT_NEAR(pr.prSeis, driving * 1.5 - se, 1e-9);
  pr = calc.KeisanPr(1.6, 0, list);
  EXPECT_NEAR(pr.pr, 50 * 1.6 - 70, 1e-9);
  EXPECT_EQ(pr.prSeis, kNoValue);
  EXPECT_EQ(pr.fs, kNoValue);

  SetCond(section, 0.1, 0, 0);
  pr = calc.KeisanFsPr(1.2, 1.5, list, 0);
  EXPECT_EQ(pr.fsSeis, kNoValue);
  EXPECT_EQ(pr.prSeis, kNoValue);
  EXPECT_NEAR(pr.pr, -10, 1e-9);
}

TEST_F(OneSliceTest, ClipLowersThePoreForceToN) {
  const ScopedEnableRound guard(0);
  SetCond(section, 0.1, 1, 0);
  tagRESULTSLICE r;
  r[R::kN] = 80;
  r[R::kNs] = 70;
  r[R::kNe] = 5;
  r[R::kU] = 100;
  EXPECT_EQ(calc.CalcNU(r, 0), 0);
  EXPECT_EQ(r[R::kU], 80);
  r[R::kU] = 100;
  EXPECT_EQ(calc.CalcNU(r, 1), -5);
  EXPECT_EQ(r[R::kU], 70);
  SetCond(section, 0.1, 0, 0);
  r[R::kU] = 100;
  EXPECT_EQ(calc.CalcNU(r, 0), -20);
}

TEST_F(OneSliceTest, WithoutABackAnalysisSliceBothBackAnalysesFail) {
  const ScopedEnableRound guard(0);
  EXPECT_EQ(calc.KeisanRevC(list, 0.5, 1.2, false, 0), kNoValue);
  EXPECT_EQ(calc.KeisanRevTanFai(list, 5, 1.2, false, 0), kNoValue);
  double c = 0;
  double tanPhi = 0;
  EXPECT_FALSE(calc.KeisanReverse(list, c, tanPhi, 1.2, 0));
}

TEST_F(OneSliceTest, UnknownStrengthGivesNoSafetyFactor) {
  list.GetSlicePtr(0)->SetStrengthType(kStrengthUnknown);
  EXPECT_EQ(calc.KeisanFs(list, 0).fs, kNoValue);
  // ... but it is the back-analysis target: c for Fs 1.4 with tan 30 is the stratum's c.
  const ScopedEnableRound guard(0);
  EXPECT_NEAR(calc.KeisanRevC(list, std::tan(DegToRad(30)), 1.4, false, 0), 10, 1e-9);
}

TEST_F(OneSliceTest, ASliceWithoutABaseStratumGivesNoSafetyFactor) {
  EXPECT_NE(calc.KeisanFs(list, 0).fs, kNoValue);
  // A slice beside it in water alone, weighing nothing: no stratum gives its base strength.
  auto water = std::make_unique<CSlice>();
  water->SetX(std::sqrt(3.0), 2 * std::sqrt(3.0));
  water->AddDEVY({1, 1, nullptr, 0});
  water->AddDEVY({0, 0, nullptr, 0});
  water->SetStrengthType(kStrengthStratum);
  water->SetDanmenStab(&section);
  list.AddSlice(std::move(water));
  ASSERT_FALSE(list.IsValidCFai());
  EXPECT_EQ(calc.KeisanFs(list, 0).fs, kNoValue);
}

TEST_F(OneSliceTest, StrengthOfASliceForTheMethod) {
  double c = 0;
  double phi = 0;
  const CSlice& slice = *list.GetSlicePtr(0);
  EXPECT_TRUE(CCalcBase::GetCFai(list, 0, slice, c, phi));
  EXPECT_EQ(c, 10);
  EXPECT_DOUBLE_EQ(phi, DegToRad(30));
  list.GetSlicePtr(0)->SetStrengthType(kStrengthUnknownNoLength);
  EXPECT_FALSE(CCalcBase::GetCFai(list, 0, slice, c, phi));
  c = phi = kNoValue;
  EXPECT_FALSE(CCalcBase::GetCFai(list, 3, slice, c, phi));
}

TEST_F(OneSliceTest, EnteredResultsAreNotComputed) {
  tagCALCCONDITION cond = section.GetCalcCond();
  cond.specified = 1;
  cond.inputResult = 1;
  section.SetCalcCond(cond);
  EXPECT_EQ(calc.KeisanFs(list, 0).fs, kNoValue);
}

TEST_F(OneSliceTest, SeismicCaseNeedsKh) {
  SetCond(section, kNoValue, 0, 1);
  EXPECT_FALSE(calc.CheckCaseParams());
  SetCond(section, 0.1, 0, 1);
  EXPECT_TRUE(calc.CheckCaseParams());
  SetCond(section, kNoValue, 0, 0);
  EXPECT_TRUE(calc.CheckCaseParams());
}

TEST(CalcDriverTest, TheFormulaChoosesTheMethod) {
  CDanmenStab section;
  CCalcDriver driver;
  driver.SetDanmenStab(&section);
  struct Case {
    int formula;
    int kind;
    const char* name;
  };
  for (const Case& c :
       {Case{0, 0, "Fellenius法"}, Case{1, 1, "修正Fellenius法"}, Case{2, -1, ""}}) {
    tagCALCCONDITION cond = section.GetCalcCond();
    cond.formula = c.formula;
    section.SetCalcCond(cond);
    const CCalcBase* calc = driver.CreateCalc();
    EXPECT_EQ(calc == nullptr ? -1 : calc->WhatKind(), c.kind);
    EXPECT_EQ(driver.WhatName(), c.name);
  }
  EXPECT_EQ(driver.KeisanFs(nullptr, 0).fs, kNoValue);
}

TEST(CalcDriverTest, WithoutAListEveryOutputIsUnset) {
  CDanmenStab section;
  CCalcDriver driver;
  driver.SetDanmenStab(&section);
  driver.CreateCalc();
  EXPECT_EQ(driver.CreateSliceList(0), nullptr);
  EXPECT_EQ(driver.KeisanFsPr(1.2, 1.2, nullptr, 0).pr, kNoValue);
  EXPECT_EQ(driver.KeisanRevC(nullptr, 0, 1.2, 0), kNoValue);
  double c = 0;
  double tanPhi = 0;
  EXPECT_FALSE(driver.KeisanReverse(nullptr, c, tanPhi, 1.2, 0));
  EXPECT_EQ(c, kNoValue);
}

// ---- Back analyses on the sample section ----

// The slices of an arc through the sample's strata, the stratum of the middle slice's base
// marked for back analysis; no rounding, no clip, no loads.
class BackAnalysisTest : public testing::TestWithParam<int> {
 protected:
  void SetUp() override {
    section.SendInfo(sample.section);
    slide.AddNewPoint(CDPoint(24, 15), 1, kStrengthStratum);
    slide.AddNewPoint(CDPoint(14, 1), 0, kStrengthStratum);
    slide.AddNewPoint(CDPoint(3, 0), 0, kStrengthStratum);
    work = slide.CreateDrawObj();
    section.SetSlideWork(work.get());
    SetCond(section, 0.15, 0, 1);
    driver.SetDanmenStab(&section);
    driver.CreateCalc();
    list = driver.CreateSliceList(0);
    ASSERT_NE(list, nullptr);
    ASSERT_GT(list->GetSize(), 5);
    const CSlice& middle = *list->GetSlicePtr(list->GetSize() / 2);
    const CSpStratumBlock* base = middle.SearchDevyStratum(middle.GetDEVYCount() - 2);
    CDPolyArray& blocks = *sample.ground->GetPolyArray();
    for (int i = 0; i < blocks.GetSize(); ++i) {
      if (blocks.GetAt(i) == base) marked = static_cast<CSpStratumBlock*>(blocks.GetAt(i));
    }
    ASSERT_NE(marked, nullptr);
    marked->SetExtraInt(1);
  }

  double FsOf(int seismic) {
    const tagFSRESULT fs = driver.KeisanFs(nullptr, 0);
    return seismic == 1 ? fs.fsSeis : fs.fs;
  }

  const ScopedEnableRound noRounding{0};
  SampleSection sample = MakeSampleSection();
  CDanmenStab section;
  CSpSlide slide;
  std::unique_ptr<CSpSlideWork> work;
  CCalcDriver driver;
  CSliceList* list = nullptr;
  CSpStratumBlock* marked = nullptr;
};

TEST_P(BackAnalysisTest, CohesionFoundGivesTheTargetFs) {
  const int seismic = GetParam();
  const double target = 0.9 * FsOf(seismic);
  tagSATURATE& soil = marked->GetPropPtr()->GetSaturate();
  const double c =
      driver.GetCalc()->KeisanRevC(*list, std::tan(DegToRad(soil.phi)), target, false, seismic);
  ASSERT_NE(c, kNoValue);
  soil.c = c;
  EXPECT_NEAR(FsOf(seismic), target, 1e-9);
}

TEST_P(BackAnalysisTest, FrictionFoundGivesTheTargetFs) {
  const int seismic = GetParam();
  const double target = 0.95 * FsOf(seismic);
  tagSATURATE& soil = marked->GetPropPtr()->GetSaturate();
  const double tanPhi = driver.GetCalc()->KeisanRevTanFai(*list, soil.c, target, false, seismic);
  ASSERT_NE(tanPhi, kNoValue);
  soil.phi = RadToDeg(std::atan(tanPhi));
  EXPECT_NEAR(FsOf(seismic), target, 1e-9);
}

INSTANTIATE_TEST_SUITE_P(NormalAndSeismic, BackAnalysisTest, testing::Values(0, 1));

TEST_F(BackAnalysisTest, KhFoundGivesTheTargetSeismicFs) {
  for (const int specified : {0, 1}) {
    SCOPED_TRACE(specified);
    tagCALCCONDITION cond = section.GetCalcCond();
    cond.specified = specified;
    section.SetCalcCond(cond);
    const double target = 0.8 * FsOf(0);
    const double kh = driver.GetCalc()->KeisanKhReverse(*list, target, false, 0);
    ASSERT_NE(kh, kNoValue);
    EXPECT_GT(kh, 0);
    section.SetKh(kh);
    EXPECT_NEAR(FsOf(1), target, 1e-9);
  }
}

// TanPhi's remembered angles and tangents give, whatever the order of the angles, the bits of
// the tangent computed afresh: a repeated angle, the one before it, one forgotten, 0 and -0.0.
class TanPhiProbe : public CCalcFellenius {
 public:
  using CCalcBase::TanPhi;
  using CCalcFellenius::CCalcFellenius;
};

TEST(TanPhiTest, EverySequenceOfAnglesGivesTheTangentsBits) {
  const double angles[] = {30, 30, 20, 30, 20, 20, 35, 30, 0, -0.0, 0, 35, -0.0, 12.5, 30};
  TanPhiProbe calc{1};
  for (const double phi : angles) {
    SCOPED_TRACE(phi);
    EXPECT_EQ(std::bit_cast<std::uint64_t>(calc.TanPhi(phi)),
              std::bit_cast<std::uint64_t>(std::tan(DegToRad(phi))));
  }
}

}  // namespace
