#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "core/base/Constants.h"
#include "core/base/CoreSettings.h"
#include "core/geometry/DPolyArray.h"
#include "core/model/Danmen.h"
#include "core/section/SpGround.h"
#include "core/section/SpStratum.h"
#include "core/section/SpWater.h"
#include "core/stability/BlockList.h"
#include "core/stability/CalcDriverMlt.h"
#include "core/stability/FsSearch.h"
#include "tests/support/SampleSection.h"

namespace {

constexpr double kNo = kNoValue;
constexpr double kStart = 1.5;
// The sample's top soil, which the tests take as the slide mass.
const std::string kTopSoil = "表土";
constexpr double kTopSoilC = 10;
constexpr double kTopSoilPhi = 25;
// The highest point of the sample's ground.
constexpr double kTop = 15;

double TanDeg(double degrees) { return std::tan(DegToRad(degrees)); }

int StratumIndex(const SampleSection& sample, const std::string& soil) {
  const CDPolyArray* strata = sample.ground->GetPolyArray();
  for (int i = 0; i < strata->GetSize(); ++i) {
    const auto* stratum = dynamic_cast<const CSpStratumBlock*>(strata->GetAt(i));
    if (stratum != nullptr && stratum->GetPropPtr()->GetName() == soil) return i;
  }
  return -1;
}

// The sample mirrored about x = 0: the ground then rises to the left. The water line is turned
// round so that it runs from left to right as entered.
void Mirror(SampleSection& sample) {
  const auto mirror = [](CDPoly& shape) {
    for (int i = 0; i < shape.GetSize(); ++i) shape.GetAt(i)->x = -shape.GetAt(i)->x;
  };
  mirror(*sample.ground);
  CDPolyArray& strata = *sample.ground->GetPolyArray();
  for (int i = 0; i < strata.GetSize(); ++i) mirror(*strata.GetAt(i));
  mirror(*sample.water);
  sample.water->Reverse();
}

// Everything KeisanFs gives.
struct FsResult {
  double fsN = kStart;
  double fsQ = kStart;
  double tN = 0;
  double sN = 0;
  double tQ = 0;
  double sQ = 0;
};

FsResult RunFs(const CCalcDriverMlt& driver, const CBlockList* list, double c = kNo,
               double tanPhi = kNo, double start = kStart) {
  FsResult r;
  r.fsN = r.fsQ = start;
  driver.KeisanFs(r.fsN, r.fsQ, list, r.tN, r.sN, r.tQ, r.sQ, c, tanPhi);
  return r;
}

// A one-block run of a copy of block k of the list.
std::unique_ptr<CBlockList> OneBlock(const CBlockList& list, int k) {
  auto one = std::make_unique<CBlockList>();
  one->SetRightUpper(list.IsRightUpper());
  one->CopyBlock({*list.GetBlockPtr(k)});
  return one;
}

// A section with its seismic data; the sample's top soil divided into blocks.
class Slope {
 public:
  explicit Slope(bool mirrored) : rightUpper_(!mirrored) {
    if (mirrored) Mirror(sample_);
    stab_.SendInfo(sample_.section);
    SetSeismic(0.2, 0);
  }

  void SetSeismic(double kh, double reference) {
    tagCALCCONDITION cond = stab_.GetCalcCond();
    cond.kh = kh;
    cond.bottomElevation = reference;
    stab_.SetCalcCond(cond);
  }

  // The top soil cut at the given x positions (mirrored with the section).
  std::unique_ptr<CBlockList> Division(std::vector<double> xs) const {
    auto list = MakeList();
    if (!rightUpper_) {
      for (double& x : xs) x = -x;
    }
    list->CopyStX(xs);
    list->CreateBlock(nullptr, nullptr);
    return list;
  }
  // The top soil cut automatically from x = 15 at 30 degrees.
  std::unique_ptr<CBlockList> AutoDivision() const {
    auto list = MakeList();
    list->SetStartX(rightUpper_ ? 15 : -15);
    list->SetAngle(30);
    list->SetXArrayAuto();
    list->CreateBlock(nullptr, nullptr);
    return list;
  }
  CCalcDriverMlt Driver(bool normal, bool quake) const {
    CCalcDriverMlt driver;
    driver.SetRightUpper(rightUpper_);
    driver.SetDanmenStab(&stab_);
    driver.SetCalcNormal(normal);
    driver.SetCalcQuake(quake);
    return driver;
  }

 private:
  std::unique_ptr<CBlockList> MakeList() const {
    auto list = std::make_unique<CBlockList>();
    list->SetDanmen(&sample_.section);
    list->SetDanmenStab(&stab_);
    list->SetRightUpper(rightUpper_);
    list->SetStratumIndex(StratumIndex(sample_, kTopSoil));
    return list;
  }

  bool rightUpper_;
  SampleSection sample_ = MakeSampleSection();
  CDanmenStab stab_;
};

class CalcDriverMltTest : public testing::Test {
 protected:
  // The calculations round as a new document does, whatever an earlier test left behind.
  const ScopedEnableRound rounding_{1};
  Slope slope_{false};
};

// ---- One block closed on its end face against the planar formula ----

struct PlanarCase {
  const char* name;
  bool seismic;
  double reference;  // the reference elevation of the height factor; kNo: unset
};

class PlanarTest : public CalcDriverMltTest, public testing::WithParamInterface<PlanarCase> {};

// Block [12, 18] of the top soil: its diagonal from the top of the left cut down to the base of
// the right cut dips toward the toe (the ground rises to the right), so alone the block slides on
// that plane.
TEST_P(PlanarTest, OneBlockClosesAtThePlanarSafetyFactorOfItsEndFace) {
  const PlanarCase& c = GetParam();
  slope_.SetSeismic(0.2, c.reference);
  const auto list = slope_.Division({0, 6, 12, 18, 24, 30});
  const CBlock& block = *list->GetBlockPtr(2);
  ASSERT_EQ(block.GetLeftX(), 12);
  ASSERT_EQ(block.GetRightX(), 18);
  const auto one = OneBlock(*list, 2);

  const double length = block.GetEndLength(true);
  const double weight = block.GetEndWeight(true, -1);
  const double beta = std::atan2(block.GetRightBottomY() - block.GetLeftTopY(), 6.0);
  ASSERT_GT(beta, 0.1);
  const double factor = c.reference == kNo ? 1 : block.GetEndCoffkh(true, kTop, c.reference);
  const double k = c.seismic ? 0.2 * factor : 0;
  const double tanPhi = TanDeg(kTopSoilPhi);
  const double driving = weight * (std::sin(beta) + k * std::cos(beta));
  const double resisting =
      kTopSoilC * length + weight * (std::cos(beta) - k * std::sin(beta)) * tanPhi;
  const double planar = resisting / driving;

  const CCalcDriverMlt driver = slope_.Driver(!c.seismic, c.seismic);
  const FsResult r = RunFs(driver, one.get());
  const double fs = c.seismic ? r.fsQ : r.fsN;
  EXPECT_NEAR(fs, planar, 1e-4);
  EXPECT_NEAR(c.seismic ? r.tQ : r.tN, driving, 1e-3);
  EXPECT_NEAR(c.seismic ? r.sQ : r.sN, resisting, 1e-3);
  EXPECT_EQ(c.seismic ? r.fsN : r.fsQ, kNo);

  // The march closes at the planar Fs itself.
  double t = kNo;
  double s = kNo;
  double residual = kNo;
  EXPECT_TRUE(c.seismic ? driver.CalcMultiPlaneQ(planar, t, s, residual, one.get(), kNo, kNo)
                        : driver.CalcMultiPlaneN(planar, t, s, residual, one.get(), kNo, kNo));
  EXPECT_EQ(residual, 0);
  EXPECT_NEAR(t, driving, 1e-3);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PlanarTest,
    testing::Values(PlanarCase{"Static", false, 0}, PlanarCase{"Seismic", true, 0},
                    // Without a reference elevation the height factor is 1: k is kh itself.
                    PlanarCase{"SeismicWithoutReference", true, kNo}),
    [](const testing::TestParamInfo<PlanarCase>& param) { return param.param.name; });

// ---- Back analysis ----

// On the same block, at a target Fs: c0 = Fs W sin(beta) / L with tan(phi) = 0, and
// tan(phi0) = Fs tan(beta) with c = 0; each, put back on its own, gives the target.
TEST_F(CalcDriverMltTest, BackAnalysisOfOneBlockGivesThePlanarStrengths) {
  const auto list = slope_.Division({0, 6, 12, 18, 24, 30});
  const CBlock& block = *list->GetBlockPtr(2);
  const auto one = OneBlock(*list, 2);
  const double length = block.GetEndLength(true);
  const double weight = block.GetEndWeight(true, -1);
  const double beta = std::atan2(block.GetRightBottomY() - block.GetLeftTopY(), 6.0);
  constexpr double kTarget = 1.2;

  const CCalcDriverMlt driver = slope_.Driver(true, false);
  double c0 = kNo;
  double tanPhi0 = kNo;
  ASSERT_TRUE(driver.KeisanReverse(one.get(), c0, tanPhi0, kTarget));
  EXPECT_NEAR(c0, kTarget * weight * std::sin(beta) / length, 1e-3);
  EXPECT_NEAR(tanPhi0, kTarget * std::tan(beta), 1e-4);

  EXPECT_NEAR(RunFs(driver, one.get(), c0, 0).fsN, kTarget, 1e-3);
  EXPECT_NEAR(RunFs(driver, one.get(), 0, tanPhi0).fsN, kTarget, 1e-3);

  // The cohesion that goes with the soil's own friction.
  const double tanPhi = TanDeg(kTopSoilPhi);
  const double c = driver.KeisanRevC(one.get(), tanPhi, kTarget);
  EXPECT_NEAR(c, (kTarget * weight * std::sin(beta) - weight * std::cos(beta) * tanPhi) / length,
              1e-3);
  EXPECT_NEAR(RunFs(driver, one.get(), c, tanPhi).fsN, kTarget, 1e-3);
  // Without a given friction each block takes its own, here the same.
  EXPECT_EQ(driver.KeisanRevC(one.get(), kNo, kTarget), c);
}

// A run of several blocks: the back-analysed strengths close the march at the target.
TEST_F(CalcDriverMltTest, BackAnalysedStrengthsOfARunCloseItsMarchAtTheTarget) {
  const auto list = slope_.AutoDivision();
  ASSERT_GE(list->GetBlockSize(), 4);
  const auto run = list->CreateBlockList(0, list->GetBlockSize() - 1);
  const CCalcDriverMlt driver = slope_.Driver(false, false);
  constexpr double kTarget = 1.2;
  double c0 = kNo;
  double tanPhi0 = kNo;
  ASSERT_TRUE(driver.KeisanReverse(run.get(), c0, tanPhi0, kTarget));
  double t = kNo;
  double s = kNo;
  double residual = kNo;
  EXPECT_TRUE(driver.CalcMultiPlaneN(kTarget, t, s, residual, run.get(), c0, 0));
  EXPECT_TRUE(driver.CalcMultiPlaneN(kTarget, t, s, residual, run.get(), 0, tanPhi0));
  const double c = driver.KeisanRevC(run.get(), kNo, kTarget);
  ASSERT_NE(c, kNo);
  EXPECT_TRUE(driver.CalcMultiPlaneN(kTarget, t, s, residual, run.get(), c, kNo));
}

TEST_F(CalcDriverMltTest, BackAnalysisAtATargetNotAboveZeroFindsNothing) {
  const auto list = slope_.AutoDivision();
  const CCalcDriverMlt driver = slope_.Driver(false, false);
  for (const double target : {0.0, -1.0, kNo}) {
    double c0 = 7;
    double tanPhi0 = 8;
    EXPECT_FALSE(driver.KeisanReverse(list.get(), c0, tanPhi0, target));
    EXPECT_EQ(c0, 7);
    EXPECT_EQ(tanPhi0, 8);
    EXPECT_EQ(driver.KeisanRevC(list.get(), 0.5, target), kNo);
  }
}

// ---- Runs of the sample ----

// Every run of the automatic division, normal and seismic: each converged Fs is the trial at which
// the march closed, so re-running the march there closes with the same T and S. Runs whose end
// block is pushed up its diagonal never close and report 99.999.
TEST_F(CalcDriverMltTest, TheMarchAtTheReportedFsClosesWithTheReportedForces) {
  const auto list = slope_.AutoDivision();
  const int n = list->GetBlockSize();
  ASSERT_GE(n, 4);
  const CCalcDriverMlt driver = slope_.Driver(true, true);
  int converged = 0;
  for (int i = 0; i < n - 1; ++i) {
    for (int j = i + 1; j < n; ++j) {
      SCOPED_TRACE(testing::Message() << "blocks " << i << " - " << j);
      const auto run = list->CreateBlockList(i, j);
      const FsResult r = RunFs(driver, run.get());
      const struct {
        double fs, t, s;
        bool seismic;
      } cases[] = {{r.fsN, r.tN, r.sN, false}, {r.fsQ, r.tQ, r.sQ, true}};
      for (const auto& c : cases) {
        if (c.fs == CFsSearch::kOverLimit) {
          EXPECT_EQ(c.t, kNo);
          EXPECT_EQ(c.s, kNo);
          continue;
        }
        ASSERT_GT(c.fs, 0);
        double t = kNo;
        double s = kNo;
        double residual = kNo;
        const bool closed = c.seismic
                                ? driver.CalcMultiPlaneQ(c.fs, t, s, residual, run.get(), kNo, kNo)
                                : driver.CalcMultiPlaneN(c.fs, t, s, residual, run.get(), kNo, kNo);
        EXPECT_TRUE(closed);
        EXPECT_EQ(residual, 0);
        EXPECT_EQ(t, c.t);
        EXPECT_EQ(s, c.s);
        EXPECT_EQ(s, t * c.fs);
        ++converged;
      }
      // The seismic case is the less safe one.
      if (r.fsN != CFsSearch::kOverLimit) {
        EXPECT_LT(r.fsQ, r.fsN);
      }
    }
  }
  EXPECT_GT(converged, n * (n - 1) * 3 / 4);
}

// The section mirrored (x to -x) with the direction flipped: the base and end-face angles change
// sign before the march, and every run gives the same safety factors and forces.
TEST_F(CalcDriverMltTest, AMirroredSectionGivesTheSameFsTAndS) {
  const Slope mirrored(true);
  const std::vector<double> xs = {0, 6, 9, 12, 15, 18, 21, 24, 30};
  const auto right = slope_.Division(xs);
  const auto left = mirrored.Division(xs);
  const int n = right->GetBlockSize();
  ASSERT_EQ(left->GetBlockSize(), n);
  ASSERT_GE(n, 6);
  const CCalcDriverMlt driverRight = slope_.Driver(true, true);
  const CCalcDriverMlt driverLeft = mirrored.Driver(true, true);
  ASSERT_FALSE(driverLeft.IsRightUpper());
  for (int i = 0; i < n - 1; ++i) {
    for (int j = i + 1; j < n; ++j) {
      SCOPED_TRACE(testing::Message() << "blocks " << i << " - " << j);
      const FsResult a = RunFs(driverRight, right->CreateBlockList(i, j).get());
      const FsResult b = RunFs(driverLeft, left->CreateBlockList(i, j).get());
      ASSERT_NE(a.fsN, kNo);
      ASSERT_NE(a.fsQ, kNo);
      EXPECT_NEAR(b.fsN, a.fsN, 1e-9);
      EXPECT_NEAR(b.tN, a.tN, 1e-9);
      EXPECT_NEAR(b.sN, a.sN, 1e-9);
      EXPECT_NEAR(b.fsQ, a.fsQ, 1e-9);
      EXPECT_NEAR(b.tQ, a.tQ, 1e-9);
      EXPECT_NEAR(b.sQ, a.sQ, 1e-9);
    }
  }
}

// ---- Non-convergence ----

// The crest block alone is pushed up its diagonal: the end face takes more than arrives at any Fs,
// so the trial grows past 99.999. Block [12, 18] without any strength slides at any Fs, so the
// trial shrinks by a tenth per pass and never closes. T and S stay unset in both.
TEST_F(CalcDriverMltTest, AResidualThatKeepsItsSignReportsTheLimitOrNoValue) {
  const auto list = slope_.Division({0, 6, 12, 18, 24, 30});
  const struct {
    const char* name;
    int block;
    double c;
    double tanPhi;
    double fs;
  } cases[] = {
      {"pushed up", 0, kNo, kNo, CFsSearch::kOverLimit},
      {"no strength", 2, 0, 0, kNo},
  };
  slope_.SetSeismic(0.05, 0);  // too weak to pull the crest block down its diagonal
  const CCalcDriverMlt driver = slope_.Driver(true, true);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const auto one = OneBlock(*list, c.block);
    const FsResult r = RunFs(driver, one.get(), c.c, c.tanPhi);
    EXPECT_EQ(r.fsN, c.fs);
    EXPECT_EQ(r.fsQ, c.fs);
    for (const double force : {r.tN, r.sN, r.tQ, r.sQ}) EXPECT_EQ(force, kNo);
  }
}

// ---- Switches, lists and what cannot be computed ----

TEST_F(CalcDriverMltTest, OnlyTheSwitchedOnCasesAreIterated) {
  const auto list = slope_.AutoDivision();
  const auto run = list->CreateBlockList(2, 5);
  const FsResult both = RunFs(slope_.Driver(true, true), run.get());
  const FsResult quake = RunFs(slope_.Driver(false, true), run.get());
  const FsResult normal = RunFs(slope_.Driver(true, false), run.get());
  const FsResult none = RunFs(slope_.Driver(false, false), run.get());
  ASSERT_NE(both.fsN, kNo);
  ASSERT_NE(both.fsQ, kNo);
  EXPECT_EQ(quake.fsQ, both.fsQ);
  EXPECT_EQ(quake.tQ, both.tQ);
  EXPECT_EQ(quake.sQ, both.sQ);
  EXPECT_EQ(normal.fsN, both.fsN);
  EXPECT_EQ(normal.tN, both.tN);
  EXPECT_EQ(normal.sN, both.sN);
  for (const double value : {quake.fsN, quake.tN, quake.sN, normal.fsQ, normal.tQ, normal.sQ,
                             none.fsN, none.tN, none.sN, none.fsQ, none.tQ, none.sQ}) {
    EXPECT_EQ(value, kNo);
  }
}

// The seismic march needs the section's kh; without a section or with kh unset it does not run.
TEST_F(CalcDriverMltTest, WithoutSeismicDataTheSeismicCaseGivesNoValue) {
  const auto list = slope_.AutoDivision();
  const auto run = list->CreateBlockList(2, 5);
  CCalcDriverMlt noSection = slope_.Driver(true, true);
  noSection.SetDanmenStab(nullptr);
  slope_.SetSeismic(kNo, 0);
  CCalcDriverMlt noKh = slope_.Driver(true, true);
  for (const CCalcDriverMlt* driver : {&noSection, &noKh}) {
    const FsResult r = RunFs(*driver, run.get());
    EXPECT_NE(r.fsN, kNo);
    EXPECT_EQ(r.fsQ, kNo);
    EXPECT_EQ(r.tQ, kNo);
    EXPECT_EQ(r.sQ, kNo);
    double t = 1;
    double s = 2;
    double residual = 3;
    EXPECT_FALSE(driver->CalcMultiPlaneQ(1.5, t, s, residual, run.get(), kNo, kNo));
    EXPECT_EQ(t, 1);
    EXPECT_EQ(s, 2);
    EXPECT_EQ(residual, 3);
  }
}

// Handed no list the operations take the driver's own; without one as well there is no result.
TEST_F(CalcDriverMltTest, WithoutAListTheDriverTakesItsOwn) {
  const auto list = slope_.AutoDivision();
  CCalcDriverMlt driver = slope_.Driver(true, true);
  const FsResult none = RunFs(driver, nullptr);
  for (const double value : {none.fsN, none.tN, none.sN, none.fsQ, none.tQ, none.sQ}) {
    EXPECT_EQ(value, kNo);
  }
  double c0 = 1;
  double tanPhi0 = 1;
  EXPECT_FALSE(driver.KeisanReverse(nullptr, c0, tanPhi0, 1.2));
  EXPECT_EQ(c0, kNo);
  EXPECT_EQ(tanPhi0, kNo);
  EXPECT_EQ(driver.KeisanRevC(nullptr, 0.5, 1.2), kNo);
  double t = 1;
  double s = 2;
  double residual = 3;
  EXPECT_FALSE(driver.CalcMultiPlaneN(1.5, t, s, residual, nullptr, kNo, kNo));
  EXPECT_EQ(residual, 3);

  const FsResult given = RunFs(driver, list->CreateBlockList(2, 5).get());
  driver.SetBlockList(list->CreateBlockList(2, 5));
  const FsResult own = RunFs(driver, nullptr);
  EXPECT_EQ(own.fsN, given.fsN);
  EXPECT_EQ(own.sQ, given.sQ);
  double c1 = kNo;
  double tanPhi1 = kNo;
  EXPECT_TRUE(driver.KeisanReverse(nullptr, c1, tanPhi1, 1.2));
  EXPECT_NE(driver.KeisanRevC(nullptr, kNo, 1.2), kNo);
}

TEST_F(CalcDriverMltTest, AnEmptyRunClosesAtOnceWithNoForces) {
  const CBlockList empty;
  const CCalcDriverMlt driver = slope_.Driver(true, true);
  double t = kNo;
  double s = kNo;
  double residual = kNo;
  EXPECT_TRUE(driver.CalcMultiPlaneN(1.5, t, s, residual, &empty, kNo, kNo));
  EXPECT_EQ(t, 0);
  EXPECT_EQ(s, 0);
  EXPECT_EQ(residual, 0);
  const FsResult r = RunFs(driver, &empty);
  EXPECT_EQ(r.fsN, kStart);
  EXPECT_EQ(r.fsQ, kStart);
  EXPECT_EQ(r.tQ, 0);
}

// A start value that is not above 0 has nothing to iterate from (a pair before gave no value).
TEST_F(CalcDriverMltTest, AStartValueNotAboveZeroGivesNoValue) {
  const auto list = slope_.AutoDivision();
  const auto run = list->CreateBlockList(2, 5);
  for (const double start : {0.0, -1.0, kNo}) {
    const FsResult r = RunFs(slope_.Driver(true, true), run.get(), kNo, kNo, start);
    EXPECT_EQ(r.fsN, kNo);
    EXPECT_EQ(r.fsQ, kNo);
  }
}

// ---- Strength of the blocks ----

class StrengthTest : public CalcDriverMltTest {
 protected:
  StrengthTest() : list_(slope_.Division({0, 6, 9, 12, 15, 18, 21, 24, 30})) {}

  // The run of blocks 1..4 with the strength types given block by block.
  std::unique_ptr<CBlockList> Run(const std::vector<int>& types) const {
    auto run = list_->CreateBlockList(1, 4);
    for (int i = 0; i < run->GetBlockSize(); ++i) run->GetBlockPtr(i)->SetStrengthType(types[i], 2);
    return run;
  }
  // The run with block i's entries linked to no stratum.
  std::unique_ptr<CBlockList> WithoutStratum(int i) const {
    auto run = Run({2, 2, 2, 2});
    CBlock& block = *run->GetBlockPtr(i);
    block.ReplaceShape(block.SearchDevyStratum(block.GetDEVYsize() - 2), nullptr);
    return run;
  }
  FsResult Fs(const CBlockList& run, double c = kNo, double tanPhi = kNo) const {
    return RunFs(slope_.Driver(true, true), &run, c, tanPhi);
  }

  std::unique_ptr<CBlockList> list_;
};

void ExpectSameResult(const FsResult& a, const FsResult& b) {
  EXPECT_EQ(a.fsN, b.fsN);
  EXPECT_EQ(a.tN, b.tN);
  EXPECT_EQ(a.sN, b.sN);
  EXPECT_EQ(a.fsQ, b.fsQ);
  EXPECT_EQ(a.tQ, b.tQ);
  EXPECT_EQ(a.sQ, b.sQ);
}

// The blocks read once give every run first..last the bits that the run cut from the list gives:
// each block's strength follows from the blocks before it in the run, the first base meets no
// block before it, and a block without a stratum stops the strength it would carry on.
TEST_F(StrengthTest, RunsOfBlocksReadOnceGiveTheResultsOfTheirCutLists) {
  const std::vector<int> types = {3, 0, 2, 5, 3, 1, 2, 0};
  for (int i = 0; i < list_->GetBlockSize(); ++i)
    list_->GetBlockPtr(i)->SetStrengthType(types[i], 2);
  CBlock& bare = *list_->GetBlockPtr(5);
  bare.ReplaceShape(bare.SearchDevyStratum(bare.GetDEVYsize() - 2), nullptr);
  const CCalcDriverMlt forward = slope_.Driver(true, true);
  const CCalcDriverMlt back = slope_.Driver(false, false);
  const CMarchBlocks forFs = forward.ReadForFs(*list_);
  const CMarchBlocks forReverse = back.ReadForReverse(*list_);
  for (int first = 0; first < list_->GetBlockSize(); ++first) {
    for (int last = first + 1; last < list_->GetBlockSize(); ++last) {
      SCOPED_TRACE(std::to_string(first) + ".." + std::to_string(last));
      const std::unique_ptr<CBlockList> cut = list_->CreateBlockList(first, last);
      FsResult read;
      forward.KeisanFs(read.fsN, read.fsQ, forFs, first, last, read.tN, read.sN, read.tQ, read.sQ,
                       kNo, kNo);
      ExpectSameResult(read, RunFs(forward, cut.get()));
      double c0 = 0;
      double tanPhi0 = 0;
      double cutC0 = 0;
      double cutTanPhi0 = 0;
      EXPECT_EQ(back.KeisanReverse(forReverse, first, last, c0, tanPhi0, 1.2),
                back.KeisanReverse(cut.get(), cutC0, cutTanPhi0, 1.2));
      EXPECT_EQ(c0, cutC0);
      EXPECT_EQ(tanPhi0, cutTanPhi0);
      EXPECT_EQ(back.KeisanRevC(forReverse, first, last, TanDeg(20), 1.2),
                back.KeisanRevC(cut.get(), TanDeg(20), 1.2));
    }
  }
}

// Given c and tan(phi) replace the strength of every block, whatever its strength type.
TEST_F(StrengthTest, GivenStrengthReplacesThatOfEveryBlock) {
  const double tanPhi = TanDeg(30);
  const FsResult reference = Fs(*Run({2, 2, 2, 2}), 15, tanPhi);
  ASSERT_NE(reference.fsN, kNo);
  ExpectSameResult(Fs(*Run({3, 0, 5, 1}), 15, tanPhi), reference);
  EXPECT_NE(Fs(*Run({2, 2, 2, 2})).fsN, reference.fsN);
}

// Type 3 drops the cohesion; a later block of another type keeps the strength of the block
// before; the first block of another type takes its stratum's as type 2 does.
TEST_F(StrengthTest, EachBlockTakesTheStrengthItsTypeSays) {
  const FsResult stratum = Fs(*Run({2, 2, 2, 2}));
  const FsResult frictionOnly = Fs(*Run({3, 3, 3, 3}));
  ASSERT_NE(stratum.fsN, kNo);
  ASSERT_NE(frictionOnly.fsN, kNo);
  EXPECT_LT(frictionOnly.fsN, stratum.fsN);
  ExpectSameResult(Fs(*Run({3, 0, 5, 1})), frictionOnly);
  ExpectSameResult(Fs(*Run({0, 2, 2, 2})), stratum);
  ExpectSameResult(Fs(*Run({5, 3, 3, 3})), Fs(*Run({2, 3, 3, 3})));
  // Matching: c of the blocks with their own strata, given tan(phi).
  ExpectSameResult(Fs(*Run({2, 2, 2, 2}), kNo, TanDeg(kTopSoilPhi)), stratum);
  ExpectSameResult(Fs(*Run({2, 2, 2, 2}), kTopSoilC, kNo), stratum);
}

// A block without a stratum at its base has no strength: the run gives no value, unless the
// caller gives both c and tan(phi). A later block of another type carries the missing strength
// on.
TEST_F(StrengthTest, ABlockWithoutABaseStratumGivesNoValue) {
  for (int i = 0; i < 4; ++i) {
    SCOPED_TRACE(i);
    const auto run = WithoutStratum(i);
    const FsResult r = Fs(*run);
    for (const double value : {r.fsN, r.tN, r.sN, r.fsQ, r.tQ, r.sQ}) EXPECT_EQ(value, kNo);
    EXPECT_EQ(Fs(*run, 10, kNo).fsN, kNo);
    EXPECT_EQ(Fs(*run, kNo, 0.5).fsN, kNo);
    EXPECT_NE(Fs(*run, 10, 0.5).fsN, kNo);
    EXPECT_EQ(slope_.Driver(false, false).KeisanRevC(run.get(), kNo, 1.2), kNo);
    double t = 1;
    double s = 2;
    double residual = 3;
    EXPECT_FALSE(
        slope_.Driver(false, false).CalcMultiPlaneN(1.5, t, s, residual, run.get(), kNo, kNo));
    EXPECT_EQ(residual, 3);
  }
  auto carried = WithoutStratum(1);
  carried->GetBlockPtr(2)->SetStrengthType(5, 2);
  EXPECT_EQ(Fs(*carried).fsN, kNo);
}

}  // namespace
