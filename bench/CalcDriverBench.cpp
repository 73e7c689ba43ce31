// The safety-factor iteration of the multi-plane driver (KeisanFs, normal and seismic case side by
// side) on runs of 10, 50 and 300 blocks, the block dialog's limit. The runs are cut from one long
// slope with two strata, a water level and seismic data, divided into blocks 2 m wide, and are
// taken from the crest down, as the calculation job takes its runs. Each result reports the two
// safety factors it found, so that a run that failed to converge would show. A single seismic
// march on the same runs shows how much of that is reading the blocks.

#include <benchmark/benchmark.h>

#include <cmath>
#include <memory>
#include <vector>

#include "core/base/CoreSettings.h"
#include "core/geometry/DPoint.h"
#include "core/geometry/DPolyArray.h"
#include "core/model/Danmen.h"
#include "core/section/SpGround.h"
#include "core/section/SpStratum.h"
#include "core/section/SpWater.h"
#include "core/section/StratumProp.h"
#include "core/stability/BlockList.h"
#include "core/stability/CalcDriverMlt.h"

namespace {

constexpr int kBlocks = 300;
constexpr double kBlockWidth = 2.0;
constexpr double kWidth = kBlocks * kBlockWidth;
constexpr double kBaseLevel = -20.0;
constexpr int kVertices = 61;

// Rising to the right at 1 in 2, with a small undulation so that no two blocks are alike.
double GroundHeight(double x) { return 0.5 * x + 0.5 * std::sin(0.05 * x); }

template <class Shape>
std::unique_ptr<Shape> Profile(double depth) {
  auto line = std::make_unique<Shape>();
  for (int i = 0; i < kVertices; ++i) {
    const double x = kWidth * i / (kVertices - 1);
    line->Add(CDPoint(x, GroundHeight(x) - depth));
  }
  return line;
}

// A top soil 3 m thick over weathered rock, the water level 2 m below the ground, kh 0.2 measured
// from the toe; the top soil is the slide mass.
class LongSlope {
 public:
  LongSlope() {
    ground_ = Profile<CSpGround>(0.0);
    CDPolyArray input;
    input.Add(ground_->Copy());
    input.Add(Profile<CSpStratumLine>(3.0));
    ground_->SetPolyArray(input.CreatePolygon(kBaseLevel));
    water_ = Profile<CSpWater>(2.0);
    section_.SetGround(ground_.get());
    section_.SetWater(water_.get());
    stab_.SendInfo(section_);
    tagCALCCONDITION cond;
    cond.kh = 0.2;
    cond.bottomElevation = 0;
    stab_.SetCalcCond(cond);

    list_.SetDanmen(&section_);
    list_.SetDanmenStab(&stab_);
    list_.SetRightUpper(true);
    list_.SetStratumIndex(SetSoils());
    std::vector<double> xs;
    for (int i = 0; i <= kBlocks; ++i) xs.push_back(i * kBlockWidth);
    list_.CopyStX(xs);
    list_.CreateBlock(nullptr, nullptr);
  }

  const CBlockList& List() const { return list_; }
  const CDanmenStab& Stab() const { return stab_; }

 private:
  // Gives each stratum its soil; returns the index of the top soil.
  int SetSoils() {
    CDPolyArray& strata = *ground_->GetPolyArray();
    int top = -1;
    for (int i = 0; i < strata.GetSize(); ++i) {
      auto* stratum = dynamic_cast<CSpStratumBlock*>(strata.GetAt(i));
      if (stratum == nullptr) continue;
      const bool isTop = stratum->Top().y > GroundHeight(stratum->Top().x) - 1;
      tagSATURATE& soil = *stratum->GetPropStructure();
      soil.gammaT = isTop ? 18.0 : 20.0;
      soil.gammaSat = isTop ? 19.0 : 21.0;
      soil.c = isTop ? 8.0 : 30.0;
      soil.phi = isTop ? 28.0 : 35.0;
      if (isTop) top = i;
    }
    return top;
  }

  std::unique_ptr<CSpGround> ground_;
  std::unique_ptr<CSpWater> water_;
  CDanmen section_;
  CDanmenStab stab_;
  CBlockList list_;
};

const LongSlope& Slope() {
  static const LongSlope slope;
  return slope;
}

// The run of the given number of blocks from the crest down; null when the slope has fewer.
std::unique_ptr<CBlockList> Run(benchmark::State& state) {
  const int blocks = static_cast<int>(state.range(0));
  auto run = Slope().List().CreateBlockList(0, blocks - 1);
  if (run == nullptr) state.SkipWithError("the slope has fewer blocks than the run");
  return run;
}

CCalcDriverMlt Driver() {
  CCalcDriverMlt driver;
  driver.SetRightUpper(true);
  driver.SetDanmenStab(&Slope().Stab());
  driver.SetCalcNormal(true);
  driver.SetCalcQuake(true);
  return driver;
}

void BM_KeisanFs(benchmark::State& state) {
  const ScopedEnableRound rounding(1);
  const auto run = Run(state);
  if (run == nullptr) return;
  const CCalcDriverMlt driver = Driver();
  double fsN = 1.5;
  double fsQ = 1.5;
  for (auto _ : state) {
    fsN = 1.5;
    fsQ = 1.5;
    double tN = 0;
    double sN = 0;
    double tQ = 0;
    double sQ = 0;
    driver.KeisanFs(fsN, fsQ, run.get(), tN, sN, tQ, sQ, kNoValue, kNoValue);
    benchmark::DoNotOptimize(sQ);
  }
  state.counters["FsN"] = fsN;
  state.counters["FsQ"] = fsQ;
}
BENCHMARK(BM_KeisanFs)->Arg(10)->Arg(50)->Arg(300)->Unit(benchmark::kMicrosecond);

// One seismic march, reading the blocks included: what each KeisanFs pays once, plus one pass.
void BM_CalcMultiPlaneQ(benchmark::State& state) {
  const ScopedEnableRound rounding(1);
  const auto run = Run(state);
  if (run == nullptr) return;
  const CCalcDriverMlt driver = Driver();
  for (auto _ : state) {
    double t = 0;
    double s = 0;
    double residual = 0;
    driver.CalcMultiPlaneQ(1.0, t, s, residual, run.get(), kNoValue, kNoValue);
    benchmark::DoNotOptimize(residual);
  }
}
BENCHMARK(BM_CalcMultiPlaneQ)->Arg(10)->Arg(50)->Arg(300)->Unit(benchmark::kMicrosecond);

}  // namespace
