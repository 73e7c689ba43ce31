#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "core/base/Constants.h"
#include "core/base/CoreConfig.h"
#include "core/base/CoreSettings.h"
#include "core/deformation/CalcSlide.h"
#include "core/deformation/ResSlide.h"
#include "core/geometry/DPolyArray.h"
#include "core/model/Danmen.h"
#include "core/model/PrmSlide.h"
#include "core/model/RefCond.h"
#include "core/section/SpGround.h"
#include "core/section/SpStratum.h"
#include "core/stability/BlockList.h"
#include "core/stability/MltPoint.h"
#include "core/stability/ResStab2.h"
#include "platform/ProgressFeedback.h"
#include "tests/support/ProcessSteps.h"
#include "tests/support/SampleSection.h"
#include "tests/support/ScriptedUi.h"
#include "tests/support/StoredRecord.h"

namespace {

constexpr double kNo = kNoValue;
// The sample's top soil, the slide mass of these tests, and its strength.
const std::string kTopSoil = "表土";
constexpr double kTopSoilC = 10;
constexpr double kTopSoilPhi = 25;
constexpr double kDesignKh = 0.15;
constexpr double kDeltaC = 5;
constexpr double kH = 5;

int StratumIndex(const SampleSection& sample, const std::string& soil) {
  const CDPolyArray* strata = sample.ground->GetPolyArray();
  for (int i = 0; i < strata->GetSize(); ++i) {
    const auto* stratum = dynamic_cast<const CSpStratumBlock*>(strata->GetAt(i));
    if (stratum != nullptr && stratum->GetPropPtr()->GetName() == soil) return i;
  }
  return -1;
}

// The sample slope in seismic mode at the design coefficient, its top soil cut into blocks of 6 m
// from x = 0 to 30, the chain of blocks 1 to 3 as the chosen seismic point, and dc entered.
class CalcSlideTest : public testing::Test {
 protected:
  CalcSlideTest() {
    section_.SendInfo(sample_.section);
    tagCALCCONDITION cond = section_.GetCalcCond();
    cond.kh = kDesignKh;
    cond.bottomElevation = kNo;  // kh acts alike at every height
    cond.quakeOn = 1;
    section_.SetCalcCond(cond);
    section_.SetCalcMode(CDanmenStab::kCalcQuake);
    blocks_.SetDanmen(&sample_.section);
    blocks_.SetDanmenStab(&section_);
    blocks_.SetRightUpper(true);
    blocks_.SetStratumIndex(StratumIndex(sample_, kTopSoil));
    blocks_.CopyStX({0, 6, 12, 18, 24, 30});
    blocks_.CreateBlock(nullptr, nullptr);
    conditions_.deltaCMode = CPrmSlide::kDeltaCEntered;
    conditions_.deltaCEntered = kDeltaC;
    conditions_.h = kH;
    point_.startBlock = 1;
    point_.endBlock = 3;
    point_.fsN = 1.5;
    point_.fsQ = 1.5;
  }

  CCalcSlide Calc(const CResStab2* gyaku = nullptr) {
    return CCalcSlide({.section = &section_,
                       .conditions = &conditions_,
                       .result = &result_,
                       .point = &point_,
                       .gyaku = gyaku,
                       .blocks = &blocks_});
  }

  // Unrounded unless a test rounds.
  const ScopedEnableRound rounding_{0};
  SampleSection sample_ = MakeSampleSection();
  CDanmenStab section_;
  CBlockList blocks_;
  CPrmSlide conditions_;
  CResSlide result_;
  CMltPoint point_;
};

std::vector<double> Khs(const CResSlide& result) {
  std::vector<double> khs;
  for (const tagSLIDERES& row : result.rows) khs.push_back(row.kh);
  return khs;
}

// ---- The march ----

TEST_F(CalcSlideTest, RowsRunFromZeroByThePitchAndEndAtOne) {
  const struct {
    double pitch;
    std::vector<double> khs;
  } cases[] = {
      {0.05, {0,    0.05, 0.1,  0.15, 0.2,  0.25, 0.3,  0.35, 0.4,  0.45, 0.5,
              0.55, 0.6,  0.65, 0.7,  0.75, 0.8,  0.85, 0.9,  0.95, 1.0}},
      {0.3, {0, 0.3, 0.6, 0.9, 1.0}},  // the last step is shortened
      {0.25, {0, 0.25, 0.5, 0.75, 1.0}},
      {0.999995, {0, 1.0}},  // within 1e-5 of 1 is 1
      {2.0, {0, 1.0}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.pitch);
    conditions_.khPitch = c.pitch;
    Calc().CalcStart();
    EXPECT_EQ(Khs(result_), c.khs);  // exactly the typed values
    for (const tagSLIDERES& row : result_.rows) EXPECT_NE(row.fsr, kNo) << row.kh;
  }
}

TEST_F(CalcSlideTest, APitchBelowAThousandthGivesNoRowsAndNoResult) {
  for (const double pitch : {0.0, 0.0009, -0.05, kNo, std::numeric_limits<double>::quiet_NaN(),
                             std::numeric_limits<double>::infinity()}) {
    SCOPED_TRACE(pitch);
    conditions_.khPitch = 0.05;
    Calc().CalcStart();
    ASSERT_TRUE(result_.IsResult());
    conditions_.khPitch = pitch;
    Calc().CalcStart();
    EXPECT_TRUE(result_.rows.empty());
    EXPECT_EQ(result_.designRow, tagSLIDERES{});
    EXPECT_EQ(result_.allowableDs, kNo);
    EXPECT_FALSE(result_.IsResult());
  }
}

TEST_F(CalcSlideTest, TheDesignRowIsTheRowAtTheSectionsCoefficientAndKeepsItsKhUnset) {
  // Coefficients that repeated addition of the pitch would miss by the last bit.
  const struct {
    double kh;
    std::size_t row;
  } cases[] = {{kDesignKh, 3}, {1.0, 20}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.kh);
    tagCALCCONDITION cond = section_.GetCalcCond();
    cond.kh = c.kh;
    section_.SetCalcCond(cond);
    Calc().CalcStart();
    ASSERT_EQ(result_.rows.size(), 21u);
    const tagSLIDERES& atDesign = result_.rows[c.row];
    ASSERT_EQ(atDesign.kh, c.kh);
    EXPECT_EQ(result_.designRow.kh, kNo);
    EXPECT_EQ(result_.designRow.fsr, atDesign.fsr);
    EXPECT_EQ(result_.designRow.gammaS, atDesign.gammaS);
    EXPECT_EQ(result_.designRow.ds, atDesign.ds);
    EXPECT_EQ(section_.GetKh(), c.kh);  // put back after every row
  }
  // A larger coefficient lowers the safety factor.
  EXPECT_GT(result_.rows[0].fsr, result_.rows[20].fsr);
  EXPECT_EQ(result_.allowableDs, kH * 0.1 * 1000);
  EXPECT_EQ(result_.blockCount, 5);
  EXPECT_EQ(result_.GetKey().quakeOn, 1);
  EXPECT_EQ(result_.GetKey().normalOn, 0);
}

TEST_F(CalcSlideTest, StrainAndDisplacementFollowTheSafetyFactorBeforeItIsRounded) {
  const ScopedEnableRound rounding(1);
  Calc().CalcStart();
  ASSERT_EQ(result_.rows.size(), 21u);
  bool anyRounded = false;
  for (const tagSLIDERES& row : result_.rows) {
    SCOPED_TRACE(row.kh);
    ASSERT_NE(row.gammaS, kNo);
    // The Fs the strain was computed from, by inverting gs = 0.016 * Fs^-1.7.
    const double fs = std::pow(row.gammaS / 0.016, 1 / -1.7);
    EXPECT_EQ(row.fsr, CCoreConfig::GetRound(fs, 163));
    EXPECT_LE(row.fsr, fs + 1e-12);  // safety factors are rounded down to 0.001
    EXPECT_LT(fs - row.fsr, 0.001);
    EXPECT_NEAR(row.ds, kH * row.gammaS * 1000, 1e-12);
    anyRounded = anyRounded || std::abs(fs - row.fsr) > 1e-9;
  }
  EXPECT_TRUE(anyRounded);
}

TEST(SlideStrainTest, PowerLawOfTheReferenceConditionsOnSetPositiveSafetyFactors) {
  EXPECT_NEAR(CCalcSlide::SlideStrain(1.2), 0.0117358, 5e-8);
  EXPECT_NEAR(CCalcSlide::SlideDisplacement(5, CCalcSlide::SlideStrain(1.2)), 58.679, 5e-4);
  // An unconverged or non-positive Fs has no strain, and no strain no displacement.
  for (const double fs : {kNo, 0.0, -1.0}) EXPECT_EQ(CCalcSlide::SlideStrain(fs), kNo) << fs;
  EXPECT_EQ(CCalcSlide::SlideDisplacement(5, kNo), kNo);
  EXPECT_EQ(CCalcSlide::SlideDisplacement(kNo, 0.01), kNo);
  CRefCond::SetKeiA(0.02);
  CRefCond::SetKeiB(-1.0);
  EXPECT_DOUBLE_EQ(CCalcSlide::SlideStrain(2.0), 0.01);
}

TEST_F(CalcSlideTest, ARowWithoutAConvergedSafetyFactorHasNoStrain) {
  point_.fsQ = 0;  // the driver cannot start from it
  Calc().CalcStart();
  ASSERT_FALSE(result_.rows.empty());
  for (const tagSLIDERES& row : result_.rows) {
    EXPECT_EQ(row.fsr, kNo);
    EXPECT_EQ(row.gammaS, kNo);
    EXPECT_EQ(row.ds, kNo);
  }
  EXPECT_FALSE(result_.IsResult());
  EXPECT_FALSE(result_.IsJudgeGs());
  EXPECT_FALSE(result_.IsJudgeDs());
}

TEST_F(CalcSlideTest, WithoutTheThicknessThereIsNoDisplacementAndNoAllowableValue) {
  conditions_.h = kNo;
  Calc().CalcStart();
  EXPECT_NE(result_.designRow.gammaS, kNo);
  EXPECT_EQ(result_.designRow.ds, kNo);
  EXPECT_EQ(result_.allowableDs, kNo);
  EXPECT_FALSE(result_.IsJudgeDs());
}

// ---- Prepare, process, post ----

std::vector<std::uint8_t> RecordOf(const CResSlide& result) { return RecordOf(result, 10); }

// The march runs on a worker thread while this thread reads its progress, as in the program: it
// writes nothing of the case (not even the derived dc), reaches no user interface, and its post
// files exactly what a headless run files.
TEST_F(CalcSlideTest, TheMarchOnAWorkerThreadChangesNothingOfTheCaseUntilItIsPosted) {
  conditions_.deltaCMode = CPrmSlide::kDeltaCDerived;
  conditions_.s2 = 10;
  conditions_.s3 = 5;
  conditions_.l = 3;
  Calc().CalcStart();
  const std::vector<std::uint8_t> headless = RecordOf(result_);
  ASSERT_EQ(result_.rows.size(), 21u);

  result_.Init();
  conditions_.deltaCDerived = kNo;
  const std::vector<std::uint8_t> before = RecordOf(result_);
  CCalcSlide calc = Calc();
  ProgressFeedback feedback;
  std::optional<SlideMarch> march =
      ProcessOnWorker(feedback, [&calc](ProgressFeedback& f) { return calc.Process(f); });
  ASSERT_TRUE(march.has_value());
  EXPECT_EQ(feedback.Progress(), 100);
  EXPECT_EQ(RecordOf(result_), before);
  EXPECT_EQ(conditions_.deltaCDerived, kNo);
  EXPECT_EQ(section_.GetKh(), kDesignKh);
  EXPECT_EQ(TestUi().ProgressWindowCount(), 0u);
  EXPECT_TRUE(TestUi().FrameMessages().empty());

  calc.Post(*std::move(march));
  EXPECT_EQ(RecordOf(result_), headless);
  EXPECT_EQ(conditions_.deltaCDerived, 5);
}

// The march reports each of its 22 rows (the design row first); a cancel stops it at the next row
// and leaves nothing to post, so the result of the run before stays.
TEST_F(CalcSlideTest, ACancelledMarchGivesNothingAndTheResultStaysAsItWas) {
  Calc().CalcStart();
  const std::vector<std::uint8_t> before = RecordOf(result_);
  for (const int at : {0, 1, 5, 21}) {
    SCOPED_TRACE(at);
    CancelAtReport cancel(at);
    EXPECT_FALSE(Calc().Process(cancel.Feedback()).has_value());
    EXPECT_EQ(cancel.Reports(), at);
    EXPECT_EQ(RecordOf(result_), before);
  }
  // A cancel at the last report comes after the last row: the march is whole.
  CancelAtReport late(22);
  const std::optional<SlideMarch> march = Calc().Process(late.Feedback());
  ASSERT_TRUE(march.has_value());
  EXPECT_EQ(march->rows.size(), 21u);
}

// ---- The bolts' cohesion ----

TEST_F(CalcSlideTest, TheCohesionOfTheBoltsComesFromTheConditions) {
  const auto designFsr = [this] {
    Calc().CalcStart();
    return result_.designRow.fsr;
  };
  const double entered = designFsr();
  conditions_.deltaCMode = CPrmSlide::kDeltaCDerived;
  conditions_.s2 = 10;
  conditions_.s3 = 5;
  conditions_.l = 3;  // (10 + 5) / 3 = 5, the entered value
  EXPECT_EQ(designFsr(), entered);
  EXPECT_EQ(conditions_.deltaCDerived, 5);
  conditions_.l = 1.5;  // twice the cohesion
  EXPECT_GT(designFsr(), entered);
  EXPECT_EQ(conditions_.deltaCDerived, 10);

  const struct {
    const char* what;
    int mode;
    double entered, l;
  } unset[] = {
      {"no length", CPrmSlide::kDeltaCDerived, kDeltaC, 0},
      {"a negative length", CPrmSlide::kDeltaCDerived, kDeltaC, -2},
      {"an unset length", CPrmSlide::kDeltaCDerived, kDeltaC, kNo},
      {"no entered value", CPrmSlide::kDeltaCEntered, kNo, 3},
  };
  for (const auto& c : unset) {
    SCOPED_TRACE(c.what);
    conditions_.deltaCMode = c.mode;
    conditions_.deltaCEntered = c.entered;
    conditions_.l = c.l;
    Calc().CalcStart();
    ASSERT_FALSE(result_.rows.empty());
    for (const tagSLIDERES& row : result_.rows) EXPECT_EQ(row.fsr, kNo);
    EXPECT_EQ(result_.designRow.fsr, kNo);
    EXPECT_FALSE(result_.IsResult());
  }
}

TEST_F(CalcSlideTest, AnAdoptedBackAnalysisReplacesTheStrengthOfTheChain) {
  Calc().CalcStart();
  const double own = result_.designRow.fsr;
  CResStab2 gyaku;
  gyaku.adopted = {kTopSoilC, kTopSoilPhi, std::tan(DegToRad(kTopSoilPhi)), kNo};
  Calc(&gyaku).CalcStart();
  EXPECT_NEAR(result_.designRow.fsr, own, 1e-9);  // the same strength as the top soil's own
  gyaku.adopted[0] = 2 * kTopSoilC;
  Calc(&gyaku).CalcStart();
  EXPECT_GT(result_.designRow.fsr, own);
  gyaku.adopted[1] = kNo;  // not adopted: the chain's own strength again
  Calc(&gyaku).CalcStart();
  EXPECT_NEAR(result_.designRow.fsr, own, 1e-9);
}

TEST_F(CalcSlideTest, WithoutAChosenPointEveryRowIsUnset) {
  CCalcSlide calc({.section = &section_,
                   .conditions = &conditions_,
                   .result = &result_,
                   .point = nullptr,
                   .gyaku = nullptr,
                   .blocks = &blocks_});
  calc.CalcStart();
  EXPECT_EQ(result_.rows.size(), 21u);
  for (const tagSLIDERES& row : result_.rows) EXPECT_EQ(row.fsr, kNo);
}

// ---- One block against the planar formula ----

// Block [12, 18] alone slides on its end face, the plane from the top of its left cut down to
// the base of its right cut; its Fs at each kh is the planar one with the raised cohesion.
TEST_F(CalcSlideTest, OneBlockGivesThePlanarSafetyFactorAtEveryCoefficient) {
  point_.startBlock = point_.endBlock = 2;
  const CBlock& block = *blocks_.GetBlockPtr(2);
  ASSERT_EQ(block.GetLeftX(), 12);
  ASSERT_EQ(block.GetRightX(), 18);
  const double length = block.GetEndLength(true);
  const double weight = block.GetEndWeight(true, -1);
  const double beta = std::atan2(block.GetRightBottomY() - block.GetLeftTopY(), 6.0);
  const double tanPhi = std::tan(DegToRad(kTopSoilPhi));
  const auto planar = [&](double kh) {
    const double driving = weight * (std::sin(beta) + kh * std::cos(beta));
    const double resisting =
        (kTopSoilC + kDeltaC) * length + weight * (std::cos(beta) - kh * std::sin(beta)) * tanPhi;
    return resisting / driving;
  };
  conditions_.khPitch = 0.1;
  Calc().CalcStart();
  ASSERT_EQ(result_.rows.size(), 11u);
  for (const tagSLIDERES& row : result_.rows) {
    ASSERT_NE(row.fsr, kNo) << row.kh;
    EXPECT_NEAR(row.fsr, planar(row.kh), 1e-4) << row.kh;
  }
  EXPECT_NEAR(result_.designRow.fsr, planar(kDesignKh), 1e-4);
}

}  // namespace

// ---- The multi-plane run ----

TEST_F(CalcSlideTest, MultiPlaneRunGivesEveryPairTheSeismicSafetyFactorOfItsChain) {
  Calc().CalcStart();
  const double chosen = result_.designRow.fsr;
  ProgressFeedback feedback;
  const std::unique_ptr<CMltBlocks> points =
      Calc().CalcMultiEngine(CMltPoint::kKindForward, feedback);
  ASSERT_EQ(points->GetSize(), 10);  // 5 blocks
  EXPECT_FALSE(points->IsInterrupt());
  EXPECT_EQ(points->GetKey(), &result_.GetKey());
  int k = 0;
  for (int i = 0; i < 4; ++i) {
    for (int j = i + 1; j < 5; ++j, ++k) {
      const CMltPoint& p = *points->GetMltPoint(k);
      EXPECT_EQ(p.id, k);
      EXPECT_EQ(p.startBlock, i);
      EXPECT_EQ(p.endBlock, j);
      EXPECT_EQ(p.fsN, kNo);  // the normal case is not calculated
      EXPECT_NE(p.fsQ, kNo);
    }
  }
  EXPECT_EQ(points->GetMltPoint(5)->startBlock, 1);  // the chosen chain 1..3
  EXPECT_EQ(points->GetMltPoint(5)->endBlock, 3);
  EXPECT_EQ(points->GetMltPoint(5)->fsQ, chosen);
  EXPECT_EQ(feedback.Line2(), "ブロック 4 - 5 を計算中...");
  EXPECT_EQ(feedback.Progress(), 100);
  // A process step reaches no user interface.
  EXPECT_EQ(TestUi().ProgressWindowCount(), 0u);
  EXPECT_TRUE(TestUi().FrameMessages().empty());
}

TEST_F(CalcSlideTest, ACancelledMultiPlaneRunKeepsThePairsDone) {
  // Each pair reports its progress and its lines; cancelled at the third pair's lines.
  int reports = 0;
  ProgressFeedback* self = nullptr;
  ProgressFeedback feedback([&](const ProgressFeedback&) {
    if (++reports == 6) self->Cancel();
  });
  self = &feedback;
  const std::unique_ptr<CMltBlocks> points =
      Calc().CalcMultiEngine(CMltPoint::kKindForward, feedback);
  EXPECT_EQ(points->GetSize(), 3);
  EXPECT_TRUE(points->IsInterrupt());
  EXPECT_EQ(feedback.Line1(), "計算を中止しました。結果出力準備中...");
}

TEST_F(CalcSlideTest, AMultiPlaneRunWithoutTheBoltsCohesionFilesPairsWithoutValues) {
  conditions_.deltaCEntered = kNo;
  ProgressFeedback feedback;
  const std::unique_ptr<CMltBlocks> points =
      Calc().CalcMultiEngine(CMltPoint::kKindForward, feedback);
  ASSERT_EQ(points->GetSize(), 10);
  for (int k = 0; k < 10; ++k) EXPECT_EQ(points->GetMltPoint(k)->fsQ, kNo);
}
