#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <memory>
#include <numbers>
#include <string>
#include <utility>
#include <vector>

#include "core/base/CoreSettings.h"
#include "core/circle/Slice.h"
#include "core/circle/SliceBoundaries.h"
#include "core/circle/SliceSoil.h"
#include "core/geometry/DPolyArray.h"
#include "core/model/Danmen.h"
#include "core/section/SpLoad.h"
#include "core/section/SpStratum.h"
#include "core/section/SpWater.h"
#include "platform/Archive.h"
#include "tests/core/circle/OracleSlice.h"
#include "tests/support/PolyTestUtil.h"
#include "tests/support/RecordBytes.h"
#include "tests/support/RecordContract.h"

namespace {

constexpr double kPi = std::numbers::pi;

// A stratum block with its soil: gammaT 18, gammaSat 20, phi 30, c 10.
std::unique_ptr<CSpStratumBlock> Block(const std::string& name,
                                       const std::vector<CDPoint>& outline = {}) {
  auto block = MakePoly<CSpStratumBlock>(outline);
  block->GetPropPtr()->SetName(name);
  tagSATURATE& soil = block->GetPropPtr()->GetSaturate();
  soil.gammaT = 18;
  soil.gammaSat = 20;
  soil.phi = 30;
  soil.c = 10;
  return block;
}

// A slice from x 0 to 2 with the boundaries in order.
std::unique_ptr<CSlice> SliceOf(const std::vector<tagDEVY>& boundaries) {
  auto slice = std::make_unique<CSlice>();
  slice->SetX(0, 2);
  slice->AppendDEVYArray(boundaries);
  return slice;
}

// Every boundary of the slice is the reference's: its heights bit for bit, its shape and its flag.
void ExpectBoundariesOfTheReference(const CSlice& slice, const slice_oracle::CSlice& reference) {
  ASSERT_EQ(slice.GetDEVYCount(), reference.GetDEVYCount());
  for (int i = 0; i < slice.GetDEVYCount(); ++i) {
    SCOPED_TRACE(i);
    const tagDEVY& got = *slice.GetIndexDEVY(i);
    const tagDEVY& want = *reference.GetIndexDEVY(i);
    EXPECT_EQ(std::bit_cast<std::uint64_t>(got.leftY), std::bit_cast<std::uint64_t>(want.leftY));
    EXPECT_EQ(std::bit_cast<std::uint64_t>(got.rightY), std::bit_cast<std::uint64_t>(want.rightY));
    EXPECT_EQ(got.shape, want.shape);
    EXPECT_EQ(got.flag, want.flag);
  }
}

TEST(SliceRecordTest, ThirtyTwoValuesAndTheShortFormOfOlderVersions) {
  tagRESULTSLICE stored;
  RecordBytes bytes;
  for (int i = 0; i < tagRESULTSLICE::kCount; ++i) {
    stored[i] = 0.5 * i - 3;
    bytes.Double(0.5 * i - 3);
  }
  ExpectRecordContract<tagRESULTSLICE>({
      .stored = stored,
      .version = 22,
      .bytes = bytes.Get(),
  });

  // Records of versions up to 20 lack values 17 and 22, which take the values before them.
  RecordBytes shortForm;
  for (int i = 0; i < tagRESULTSLICE::kCount; ++i) {
    if (i != 17 && i != 22) shortForm.Double(i);
  }
  for (const int version : {10, 20}) {
    tagRESULTSLICE loaded;
    Archive in(shortForm.Get());
    loaded.Load(in, version);
    EXPECT_EQ(in.Remaining(), 0u);
    EXPECT_EQ(loaded[16], 16);
    EXPECT_EQ(loaded[17], 16);
    EXPECT_EQ(loaded[21], 21);
    EXPECT_EQ(loaded[22], 21);
    EXPECT_EQ(loaded[31], 31);
  }
  Archive cut(std::vector<std::uint8_t>(shortForm.Get().begin(), shortForm.Get().end() - 1));
  tagRESULTSLICE target = stored;
  EXPECT_THROW(target.Load(cut, 20), ArchiveException);
  EXPECT_EQ(target, stored);
}

TEST(SliceRecordTest, ForcesOfTheNormalAndTheSeismicCase) {
  tagRESULTSLICE r;
  r[tagRESULTSLICE::kT] = 5;
  r[tagRESULTSLICE::kTs] = 4;
  r[tagRESULTSLICE::kN] = 9;
  r[tagRESULTSLICE::kNs] = 8;
  r[tagRESULTSLICE::kS] = 3;
  r[tagRESULTSLICE::kSe] = 2;
  EXPECT_EQ(r.GetT(0), 5);
  EXPECT_EQ(r.GetT(1), kNoValue);  // Te unset
  EXPECT_EQ(r.GetN(1), kNoValue);  // Ne unset
  EXPECT_EQ(r.GetSimpleT(1), 4);
  EXPECT_EQ(r.GetSimpleN(0), 9);
  EXPECT_EQ(r.GetS(1), 2);
  EXPECT_EQ(r.GetS(0), 3);
  r[tagRESULTSLICE::kTe] = 1.5;
  r[tagRESULTSLICE::kNe] = 0.5;
  EXPECT_EQ(r.GetT(1), 5.5);
  EXPECT_EQ(r.GetN(1), 7.5);

  tagRESULTSLICE sum;
  for (int i = 0; i < tagRESULTSLICE::kCount; ++i) sum[i] = 1;
  sum.PlusData(r);
  EXPECT_EQ(sum[tagRESULTSLICE::kT], 6);
  EXPECT_EQ(sum[tagRESULTSLICE::kSe], 3);
  EXPECT_EQ(sum[tagRESULTSLICE::kWeight], 1);  // outside L .. Se
  EXPECT_EQ(sum[tagRESULTSLICE::kLoadNormal], 1);
}

TEST(SliceTest, AStraightBaseHasNoSegmentLayer) {
  const auto block = Block("砂");
  const auto slice = SliceOf({{4, 4, block.get(), 0}, {1, 1, nullptr, 0}});
  EXPECT_EQ(slice->GetTisoCount(), 1);
  EXPECT_DOUBLE_EQ(slice->GetArea(0), 6);
  EXPECT_DOUBLE_EQ(slice->GetArea(1), 0);
  EXPECT_DOUBLE_EQ(slice->GetArea(-1), 6);
  EXPECT_DOUBLE_EQ(slice->GetWeight(0), 6 * 18);
  EXPECT_DOUBLE_EQ(slice->GetWeight(1), 0);
  EXPECT_DOUBLE_EQ(slice->GetWeight(-1), 6 * 18);
  EXPECT_DOUBLE_EQ(slice->GetLength(), 2);
  EXPECT_EQ(slice->GetBottomAngle(), 0);
  EXPECT_DOUBLE_EQ(slice->GetDepthLeft(), 3);
  EXPECT_DOUBLE_EQ(slice->GetTisoHtLeft(1), 0);  // outside the layers
  const CDPoint c = slice->Juushin(0);
  EXPECT_DOUBLE_EQ(c.x, 1);
  EXPECT_DOUBLE_EQ(c.y, 2.5);
  EXPECT_FALSE(slice->Juushin(1).IsValid());
}

TEST(SliceTest, TrapezoidCentroidLiesTowardTheHigherSide) {
  const auto slice = SliceOf({{4, 7, nullptr, 0}, {1, 1, nullptr, 0}});
  const CDPoint c = slice->DaikeiJuushin(0);  // heights 3 and 6 over a width of 2
  EXPECT_DOUBLE_EQ(c.x, 2 * (2 * 6 + 3) / (3.0 * 9));
  EXPECT_DOUBLE_EQ(c.y, 2.5 + (4 - 2.5) * c.x / 2);
}

TEST(SliceTest, ArcSegmentArea) {
  const double sweep = kPi / 3;
  auto slice = SliceOf({{1, 1, nullptr, 0}, {-8.660254, -8.660254, nullptr, 0}});
  slice->SetBottomArc(CDArc(0, 0, 10, 4 * kPi / 3, 5 * kPi / 3));
  {
    const ScopedEnableRound guard(0);
    const double expected = 100 * sweep / 2 - 100 * std::cos(sweep / 2) * std::sin(sweep / 2);
    EXPECT_NEAR(slice->GetKoArea(), expected, 1e-12);
    EXPECT_NEAR(slice->GetKoArea(), 9.0586, 1e-4);
    EXPECT_NEAR(slice->GetLength(), 10 * sweep, 1e-12);
    EXPECT_DOUBLE_EQ(slice->GetArea(1), slice->GetKoArea());
  }
  const ScopedEnableRound guard(1);
  EXPECT_DOUBLE_EQ(slice->GetKoArea(), 9.059);
}

TEST(SliceTest, ArcBaseAngle) {
  auto slice = SliceOf({{5, 5, nullptr, 0}, {-5, -5, nullptr, 0}});
  slice->SetX(-5, 5);
  slice->SetBottomArc(CDArc(0, 0, 5 * std::sqrt(2.0), 5 * kPi / 4, 7 * kPi / 4));
  EXPECT_NEAR(slice->GetBottomAngle(0), 0, 1e-12);
  EXPECT_NEAR(slice->GetBottomAngle(-5), -kPi / 4, 1e-12);  // an end of the arc
  EXPECT_NEAR(slice->GetBottomAngle(5), kPi / 4, 1e-12);
  EXPECT_EQ(slice->GetBottomAngle(9), kNoValue);
  EXPECT_NEAR(slice->GetCenterBottomY(), -5 * std::sqrt(2.0), 1e-12);
  // Inside a short arc, on both sides of the circle's lowest point.
  for (const double from : {-0.3, 0.05}) {
    const double r = 25;
    slice->SetX(r * std::sin(from), r * std::sin(from + 0.04));
    slice->SetBottomArc(CDArc(0, 0, r, 1.5 * kPi + from, 1.5 * kPi + from + 0.04));
    for (const double along : {0.001, 0.02, 0.039}) {
      EXPECT_NEAR(slice->GetBottomAngle(r * std::sin(from + along)), from + along, 1e-13);
    }
  }
}

class SliceWaterTest : public testing::Test {
 protected:
  void SetUp() override {
    tagCALCCONDITION cond;
    cond.gammaW = 10;
    cond.extra1 = 0;  // the pore force from the base length
    section.SetCalcCond(cond);
  }

  void SetPoreMethod(int method) {
    tagCALCCONDITION cond = section.GetCalcCond();
    cond.extra1 = method;
    section.SetCalcCond(cond);
  }

  CDanmenStab section;
  CSpWater water;
  std::unique_ptr<CSpStratumBlock> block = Block("砂");
};

TEST_F(SliceWaterTest, WaterHalfAMetreAboveAStraightBase) {
  const auto slice = SliceOf({{3, 3, block.get(), 0}, {1, 1, nullptr, 0}});
  slice->SetDanmenStab(&section);
  slice->SetWaterLev({{1.5, 1.5, &water, 0}});
  ASSERT_EQ(slice->GetDEVYCount(), 3);  // the level became a boundary of the block
  EXPECT_EQ(slice->GetLeftY(1), 1.5);
  EXPECT_EQ(slice->GetIndexDEVY(1)->shape, block.get());
  EXPECT_DOUBLE_EQ(slice->GetDepthWtoS(), 0.5);
  EXPECT_DOUBLE_EQ(slice->GetDepthUnsaturated(), -1);
  EXPECT_DOUBLE_EQ(slice->GetU(), 10);  // L 2 x gammaW 10 x 0.5
  SetPoreMethod(1);
  EXPECT_DOUBLE_EQ(slice->GetU(), 10);  // width 2 x 10 x 0.5 x cos 0
  SetPoreMethod(2);
  EXPECT_DOUBLE_EQ(slice->GetU(), 0);
  EXPECT_FALSE(slice->IsExtendedWater());
  EXPECT_FALSE(slice->IsSuibotu());
  EXPECT_DOUBLE_EQ(slice->GetTansuiArea(), 0);
}

TEST_F(SliceWaterTest, LayersBelowTheWaterLevelWeighSaturated) {
  const auto slice = SliceOf({{6, 6, block.get(), 0}, {0, 0, nullptr, 0}});
  slice->SetDanmenStab(&section);
  slice->SetWaterLev({{2, 2, &water, 0}});
  EXPECT_TRUE(slice->IsMoist(0));
  EXPECT_FALSE(slice->IsMoist(1));  // the level itself: at the level is not above it
  EXPECT_EQ(slice->GetGamma(0, 0), 18);
  EXPECT_EQ(slice->GetGamma(1, 0), 20);
  EXPECT_EQ(slice->GetGamma(1, 1), 18);
  EXPECT_EQ(slice->GetGamma(0, 2), 20);
  EXPECT_EQ(slice->GetGamma(0, 3), 0);
  EXPECT_DOUBLE_EQ(slice->GetWeight(-1), 4 * 2 * 18 + 2 * 2 * 20);
  const CSlice::AreaWeight both = slice->GetAreaAndWeight();
  EXPECT_EQ(both.area, slice->GetArea(-1));
  EXPECT_EQ(both.weight, slice->GetWeight(-1));
  EXPECT_FALSE(both.centroid.IsValid());
  EXPECT_DOUBLE_EQ(slice->GetDepthWtoS(), 2);

  const auto dry = SliceOf({{6, 6, block.get(), 0}, {0, 0, nullptr, 0}});
  dry->SetWaterLev({});
  EXPECT_EQ(dry->GetDEVYCount(), 2);
  EXPECT_TRUE(dry->IsMoist(0));
  EXPECT_DOUBLE_EQ(dry->GetDepthWtoS(), -1);
}

// The centroid is never rounded, whatever the rounding switch says, and the pass that sums the
// weights gives it bit for bit.
TEST_F(SliceWaterTest, TheCentroidIsNeverRounded) {
  const auto slice = SliceOf({{6.1234567, 5.7654321, block.get(), 0},
                              {1.0004567, 0.9876543, block.get(), 0},
                              {-8.6602540, -8.6602540, nullptr, 0}});
  slice->SetDanmenStab(&section);
  slice->SetBottomArc(CDArc(1, 0, 10, 4 * kPi / 3, 5 * kPi / 3));
  CDPoint unrounded;
  {
    const ScopedEnableRound off(0);
    unrounded = slice->TotalJuushin(0);
  }
  const ScopedEnableRound on(1);
  const CDPoint rounded = slice->TotalJuushin(0);
  const CSlice::AreaWeight both = slice->GetAreaAndWeight(true);
  ASSERT_TRUE(unrounded.IsValid());
  for (const CDPoint& c : {rounded, both.centroid}) {
    EXPECT_EQ(c.x, unrounded.x);
    EXPECT_EQ(c.y, unrounded.y);
  }
  EXPECT_EQ(both.weight, slice->GetWeight(-1));
}

// The pass over the layers rounds two layers' areas, and then their weights, side by side, the
// last layer of an odd count beside the segment; it gives the sums of the layers taken one by
// one for every count of layers, either base and either rounding, and nothing where a unit weight
// is unset.
TEST_F(SliceWaterTest, TheLayerPassGivesTheSumsOfItsLayersOneByOne) {
  const auto unset = Block("粘土");
  unset->GetPropPtr()->GetSaturate().gammaT = kNoValue;
  // Boundary heights at the two sides, top down: values a hair off a half pitch and plain ones.
  const std::vector<std::pair<double, double>> sides = {
      {9.0004995, 8.7770005}, {7.1234567, 6.0005},      {5.0015, 4.9994999999},
      {3.3333333, 2.2222222}, {1.00049999, 0.99950001}, {-0.5, -0.25}};
  struct Case {
    int boundaries;
    bool arc;
    bool lastLayerUnset;
  };
  std::vector<Case> cases;
  for (int count = 1; count <= static_cast<int>(sides.size()); ++count) {
    for (const bool arc : {false, true}) {
      for (const bool lastLayerUnset : {false, true}) {
        if (!lastLayerUnset || count >= 2) cases.push_back({count, arc, lastLayerUnset});
      }
    }
  }
  const auto bits = [](double v) { return std::bit_cast<std::uint64_t>(v); };
  for (const int round : {1, 0}) {
    const ScopedEnableRound scoped(round);
    for (const Case& c : cases) {
      SCOPED_TRACE(testing::Message() << "rounding " << round << ", boundaries " << c.boundaries
                                      << (c.arc ? ", arc" : ", straight")
                                      << (c.lastLayerUnset ? ", last layer unset" : ""));
      std::vector<tagDEVY> boundaries;
      for (int k = 0; k < c.boundaries; ++k) {
        const bool unsetLayer = c.lastLayerUnset && k == c.boundaries - 2;
        const CDPoly* shape = k == c.boundaries - 1 ? nullptr
                              : unsetLayer          ? unset.get()
                                                    : block.get();
        const auto& [left, right] = sides[static_cast<std::size_t>(k)];
        boundaries.push_back({left, right, shape, 0});
      }
      const auto slice = SliceOf(boundaries);
      slice->SetDanmenStab(&section);
      if (c.arc) slice->SetBottomArc(CDArc(1, 0, 10, 4 * kPi / 3, 5 * kPi / 3));
      double weight = 0;
      bool weighs = true;
      for (int k = 0; k < c.boundaries; ++k) {
        const double w = slice->GetWeight(k);
        weighs = weighs && w != kNoValue;
        weight += w;
      }
      const CSlice::AreaWeight both = slice->GetAreaAndWeight();
      EXPECT_EQ(bits(both.area), bits(weighs ? slice->GetArea(-1) : kNoValue));
      EXPECT_EQ(bits(both.weight), bits(weighs ? weight : kNoValue));
    }
  }
}

// The slice division builds each circle's slices in the slices of the circle before.
TEST_F(SliceWaterTest, AClearedSliceKeepsNothingOfItsLastUse) {
  const auto reused = SliceOf({{8, 8, block.get(), 0}, {0, 0, nullptr, 0}});
  reused->SetDanmenStab(&section);
  reused->SetBottomArc(CDArc(1, 10, 10.05, 4 * kPi / 3, 5 * kPi / 3));
  reused->SetUpperWaterLev({{6, 6, &water, 0}});
  reused->SetImperLayerLev({{4, 4, &water, 0}});
  reused->SetWaterLev({{2, 2, &water, 0}});
  reused->SetStrengthType(kStrengthStratum);
  reused->SetCF(10, 30);
  reused->SetRemainArea(7, 1);
  reused->GetResult()[tagRESULTSLICE::kT] = 5;

  reused->Clear();
  const CSlice fresh;
  EXPECT_EQ(reused->GetDEVYCount(), 0);
  EXPECT_EQ(reused->GetXLeft(), fresh.GetXLeft());
  EXPECT_EQ(reused->GetBottomArc(), nullptr);
  EXPECT_EQ(reused->GetDanmenStab(), nullptr);
  for (const auto level :
       {&CSlice::GetWaterLev, &CSlice::GetUpperWaterLev, &CSlice::GetImperLayerLev}) {
    EXPECT_EQ(((*reused).*level)().leftY, kNoValue);
  }
  EXPECT_EQ(reused->GetStrengthType(), fresh.GetStrengthType());
  EXPECT_EQ(reused->GetC(), kNoValue);
  EXPECT_EQ(reused->GetPhi(), kNoValue);
  EXPECT_EQ(reused->GetRemainArea(), kNoValue);
  EXPECT_EQ(reused->GetResult(), fresh.GetResult());

  // Built again, it computes as a new slice does.
  const std::vector<tagDEVY> boundaries = {{3, 3, block.get(), 0}, {1, 1, nullptr, 0}};
  reused->SetX(0, 2);
  reused->AppendDEVYArray(boundaries);
  const auto built = SliceOf(boundaries);
  for (CSlice* slice : {reused.get(), built.get()}) {
    slice->SetDanmenStab(&section);
    slice->SetWaterLev({{1.5, 1.5, &water, 0}});
  }
  EXPECT_EQ(reused->GetWeight(-1), built->GetWeight(-1));
  EXPECT_EQ(reused->GetU(), built->GetU());
}

TEST_F(SliceWaterTest, UpperWaterAboveTheImpermeableLayer) {
  const auto slice = SliceOf({{8, 8, block.get(), 0}, {0, 0, nullptr, 0}});
  slice->SetDanmenStab(&section);
  slice->SetUpperWaterLev({{6, 6, &water, 0}});
  slice->SetImperLayerLev({{4, 4, &water, 0}});
  ASSERT_EQ(slice->GetDEVYCount(), 4);
  EXPECT_TRUE(slice->IsMoist(0));   // above the upper water
  EXPECT_FALSE(slice->IsMoist(1));  // the upper water level
  EXPECT_TRUE(slice->IsMoist(2));   // the impermeable layer: below the upper water's reach
  EXPECT_DOUBLE_EQ(slice->GetDepthUnsaturated(), 2);
  EXPECT_DOUBLE_EQ(slice->GetDepthWtoS(), -1);
  EXPECT_DOUBLE_EQ(slice->GetU(), 2 * 10 * 2);
}

TEST_F(SliceWaterTest, WaterStandingOnTheSlice) {
  auto slice = SliceOf({{3, 3, block.get(), 0}, {1, 1, nullptr, 0}});
  slice->SetDanmenStab(&section);
  // A reservoir at 5 above a slice whose water line lies at 2: the level stands at 5.
  slice->SetWaterLevStWL({{2, 2, &water, 0}}, 5, true);
  EXPECT_EQ(slice->GetWaterLev().leftY, 5);
  EXPECT_TRUE(slice->IsExtendedWater());
  ASSERT_EQ(slice->GetDEVYCount(), 3);  // a new first boundary of water
  EXPECT_EQ(slice->GetIndexDEVY(0)->shape, nullptr);
  EXPECT_TRUE(slice->IsSuibotu());
  EXPECT_DOUBLE_EQ(slice->GetTansuiArea(), 4);
  EXPECT_EQ(slice->GetTisoName(0), "水");
  EXPECT_EQ(slice->GetGamma(0, 0), 10);  // water's unit weight
  EXPECT_EQ(slice->GetTisoName(1), "砂");
  EXPECT_EQ(slice->GetTisoName(-1), "-");
  EXPECT_EQ(slice->GetTisoName(3), "-");
}

TEST_F(SliceWaterTest, AReservoirBelowTheWaterLineSplitsTheLayerAtItsLevel) {
  auto slice = SliceOf({{6, 6, block.get(), 0}, {0, 0, nullptr, 0}});
  slice->SetWaterLevStWL({{4, 4, &water, 0}}, 1, false);
  ASSERT_EQ(slice->GetDEVYCount(), 4);
  EXPECT_EQ(slice->GetLeftY(1), 4);
  EXPECT_EQ(slice->GetLeftY(2), 1);
  EXPECT_EQ(slice->GetIndexDEVY(2)->shape, block.get());

  auto kept = SliceOf({{6, 6, block.get(), 0}, {0, 0, nullptr, 0}});
  kept->SetWaterLevStWL({{4, 4, &water, 0}}, 1, true);
  EXPECT_EQ(kept->GetDEVYCount(), 3);
}

TEST_F(SliceWaterTest, WaterInACrackFillsTheSlicesBeyondIt) {
  auto right = SliceOf({{6, 6, block.get(), 0}, {0, 0, nullptr, 0}});
  right->SetWaterLevCrWL({{1, 1, &water, 0}}, CDPoint(0, 3, 1));  // slices right of x 0
  EXPECT_EQ(right->GetWaterLev().leftY, 3);
  EXPECT_EQ(right->GetLeftY(1), 3);
  auto left = SliceOf({{6, 6, block.get(), 0}, {0, 0, nullptr, 0}});
  left->SetWaterLevCrWL({{1, 1, &water, 0}}, CDPoint(0, 3, 0));  // slices left of x 0
  EXPECT_EQ(left->GetWaterLev().leftY, 1);
}

TEST_F(SliceWaterTest, RemainingAreaBetweenTwoLevels) {
  auto slice = SliceOf({{6, 6, block.get(), 0}, {0, 0, nullptr, 0}});
  slice->SetRemainArea(4, 1);
  EXPECT_DOUBLE_EQ(slice->GetRemainArea(), 6);
  slice->SetRemainArea(9, -1);  // clipped to the slice
  EXPECT_DOUBLE_EQ(slice->GetRemainArea(), 12);
  slice->SetRemainArea(1, 4);
  EXPECT_DOUBLE_EQ(slice->GetRemainArea(), 0);
}

TEST(SliceTest, SortingPutsTheBoundaryThatContinuesTheShapeAboveFirst) {
  const auto upper = Block("上");
  const auto lower = Block("下");
  auto slice = SliceOf({{3 + 1e-7, 3, lower.get(), 0},
                        {0, 0, lower.get(), 0},
                        {5, 5, upper.get(), 0},
                        {3, 3, upper.get(), 0}});
  slice->SortDEVY();
  ASSERT_EQ(slice->GetDEVYCount(), 4);
  EXPECT_EQ(slice->GetLeftY(0), 5);
  EXPECT_EQ(slice->GetIndexDEVY(1)->shape, upper.get());  // continues the upper block
  EXPECT_EQ(slice->GetIndexDEVY(2)->shape, lower.get());
  EXPECT_EQ(slice->GetLeftY(3), 0);

  // Of the two coinciding boundaries the upper block's bottom goes, the lower block's top stays.
  slice->DelSameDEVY();
  ASSERT_EQ(slice->GetDEVYCount(), 3);
  EXPECT_EQ(slice->GetIndexDEVY(1)->shape, lower.get());
  EXPECT_EQ(slice->GetTisoName(0), "上");
  EXPECT_EQ(slice->GetTisoName(1), "下");
}

// SortDEVY leaves a list that already descends on both sides as it is; everything it leaves must
// be what the plain exchange sort of the reference leaves, bit for bit and in the same order.
TEST(SliceTest, TheUnsetTestOfBitsIsTheComparisonWithTheMarker) {
  constexpr double kInf = std::numeric_limits<double>::infinity();
  const double kNaN = std::numeric_limits<double>::quiet_NaN();
  const double values[] = {kNoValue,
                           std::nextafter(kNoValue, 0.0),
                           std::nextafter(kNoValue, -kInf),
                           -kNoValue,
                           0.0,
                           -0.0,
                           1.0,
                           kInf,
                           -kInf,
                           kNaN,
                           -kNaN,
                           std::numeric_limits<double>::denorm_min(),
                           std::bit_cast<double>(std::bit_cast<std::uint64_t>(kNoValue) ^ 1)};
  for (const double v : values) {
    SCOPED_TRACE(v);
    EXPECT_EQ(slice_soil::IsUnset(v), v == kNoValue);
    for (const double other : values) {
      EXPECT_EQ(slice_soil::IsSet(tagDEVY{v, other, nullptr, 0}),
                v != kNoValue && other != kNoValue);
    }
  }
}

TEST(SliceTest, SortingOrdersAsTheExchangeOfEveryPair) {
  const auto upper = Block("上");
  const auto lower = Block("下");
  const CDPoly* u = upper.get();
  const CDPoly* l = lower.get();
  constexpr double kInf = std::numeric_limits<double>::infinity();
  const double kNaN = std::numeric_limits<double>::quiet_NaN();
  const double up = std::nextafter(3.0, 4.0);
  const double down = std::nextafter(3.0, 2.0);
  const std::vector<std::vector<tagDEVY>> cases = {
      {},
      {{3, 3, u, 0}},
      {{5, 5, u, 0}, {3, 3, u, 0}, {3, 3, l, 0}, {0, 0, l, 0}},  // coinciding, as the strata give
      {{5, 5, u, 0}, {3, 3, l, 0}, {3, 3, u, 0}, {0, 0, l, 0}},  // the coinciding pair turned
      {{3, 3, u, 0}, {up, 3, l, 0}},                             // one ulp up on one side
      {{3, 3, u, 0}, {3, up, l, 0}},
      {{3, 3, u, 0}, {down, 3, l, 0}},  // one ulp down
      {{3, 3, u, 0}, {up, 1, l, 0}},    // up on the left, further down on the right
      {{3, 3, u, 0}, {1, up, l, 0}},    // the larger difference rises
      {{3, 3, u, 0}, {4, 2, l, 0}},     // crossing, both sides differing alike
      {{3, 3, u, 0}, {2, 4, l, 0}},
      {{0.0, 0.0, u, 0}, {-0.0, -0.0, l, 0}, {0.0, -0.0, u, 1}},
      {{kInf, 1, u, 0}, {kInf, 0, l, 0}, {-kInf, -kInf, u, 0}, {-kInf, -kInf, l, 0}},
      {{1, kInf, u, 0}, {2, kInf, l, 0}},
      {{3, kNaN, u, 0}, {2, 2, l, 0}, {4, 4, u, 0}},
      {{kNaN, kNaN, u, 0}, {kNaN, kNaN, l, 0}},
      {{0, 0, l, 0}, {1, 1, u, 0}, {2, 2, l, 0}, {3, 3, u, 0}, {4, 4, l, 0}},  // ascending
      {{2, 2, u, 0}, {4, 4, l, 0}, {3 + 1e-7, 3, u, 0}, {3, 3, l, 0}, {0, 0, u, 0}},
  };
  for (std::size_t k = 0; k < cases.size(); ++k) {
    SCOPED_TRACE(k);
    auto slice = SliceOf(cases[k]);
    slice_oracle::CSlice reference;
    reference.AppendDEVYArray(cases[k]);
    slice->SortDEVY();
    reference.SortDEVY();
    ExpectBoundariesOfTheReference(*slice, reference);
  }
}

TEST(SliceTest, TheLastCoincidingPairOfAStraightBaseLosesItsUpperEntry) {
  const auto block = Block("砂");
  const auto other = Block("礫");
  auto slice = SliceOf({{5, 5, block.get(), 0}, {2, 2, other.get(), 0}, {2, 2, nullptr, 0}});
  slice->DelSameDEVY();
  ASSERT_EQ(slice->GetDEVYCount(), 2);
  EXPECT_EQ(slice->GetIndexDEVY(1)->shape, nullptr);
}

// DelSameDEVY compares the neighbouring entries as they were; it must drop what the reference's
// pass, which erases each dropped entry and carries the shape of the one compared, drops.
TEST(SliceTest, ThinningDropsAsTheErasingPassOverEveryPair) {
  const auto upper = Block("上");
  const auto lower = Block("下");
  const CDPoly* u = upper.get();
  const CDPoly* l = lower.get();
  const double near = 3 + 5e-6;  // within the thinning's distance of 3
  struct Case {
    std::vector<tagDEVY> boundaries;
    bool arc;
  };
  const std::vector<Case> cases = {
      {{}, false},
      {{{3, 3, u, 0}}, false},
      {{{3, 3, u, 0}, {3, 3, l, 0}}, false},  // the only pair, of a straight base
      {{{3, 3, u, 0}, {3, 3, l, 0}}, true},
      {{{3, 3, nullptr, 0}, {3, 3, l, 0}}, true},  // a first entry without a shape
      {{{5, 5, u, 0}, {3, 3, u, 0}, {3, 3, l, 0}, {0, 0, l, 0}}, true},
      {{{3, 3, u, 0}, {near, 3, l, 0}, {3, near, u, 0}, {3, 3, l, 0}}, true},  // a run
      {{{3, 3, u, 0}, {3, 3, l, 0}, {3, 3, u, 0}, {1, 1, nullptr, 0}}, false},
      {{{5, 5, u, 0}, {3, 3, l, 0}, {1, 1, u, 0}, {1, 1, nullptr, 0}}, false},  // the last pair
      {{{5, 5, u, 0}, {3, 3, l, 0}, {1, 1, u, 0}, {1, 1, nullptr, 0}}, true},
      {{{5, 5, u, 0}, {3, 3, l, 0}, {3, 3, l, 0}, {1, 1, u, 0}, {1, 1, l, 0}}, true},
  };
  for (std::size_t k = 0; k < cases.size(); ++k) {
    SCOPED_TRACE(k);
    auto slice = SliceOf(cases[k].boundaries);
    slice_oracle::CSlice reference;
    reference.AppendDEVYArray(cases[k].boundaries);
    if (cases[k].arc) {
      slice->SetBottomArc(CDArc(1, 0, 10, 4 * kPi / 3, 5 * kPi / 3));
      reference.SetBottomArc(std::make_unique<CDArc>(1, 0, 10, 4 * kPi / 3, 5 * kPi / 3));
    }
    slice->DelSameDEVY();
    reference.DelSameDEVY();
    ExpectBoundariesOfTheReference(*slice, reference);
  }
}

TEST(SliceTest, BaseStrengthByTheStrengthType) {
  const auto block = Block("砂");
  auto slice = SliceOf({{5, 5, block.get(), 0}, {2, 2, block.get(), 0}, {1, 1, nullptr, 0}});
  struct Case {
    int type;
    double c, phi;
    bool gyaku;
  };
  const Case cases[] = {
      {kStrengthStratum, 10, 30, false},        {kStrengthStratumPhi, 0, 30, false},
      {kStrengthUnknown, -1, -2, true},  // left as they were
      {kStrengthUnknownNoLength, -1, -2, true}, {5, -1, -2, false},
  };
  for (const Case& c : cases) {
    slice->SetStrengthType(c.type);
    double cohesion = -1;
    double phi = -2;
    EXPECT_TRUE(slice->GetCF(cohesion, phi)) << c.type;
    EXPECT_EQ(cohesion, c.c) << c.type;
    EXPECT_EQ(phi, c.phi) << c.type;
    EXPECT_EQ(slice->IsGyaku(), c.gyaku) << c.type;
    cohesion = -1;
    EXPECT_TRUE(slice->GetCF_peak(cohesion, phi));
    EXPECT_EQ(cohesion, -1);
  }
  block->SetExtraInt(1);  // marked for back analysis
  slice->SetStrengthType(kStrengthStratum);
  EXPECT_TRUE(slice->IsGyaku());

  auto water = SliceOf({{5, 5, nullptr, 0}, {1, 1, nullptr, 0}});
  double c = 1;
  double phi = 1;
  EXPECT_FALSE(water->GetCF(c, phi));
  EXPECT_EQ(c, kNoValue);
  EXPECT_EQ(phi, kNoValue);
}

TEST(SliceTest, ALayerOutsideEveryStratumHangs) {
  CDPolyArray strata;
  strata.Add(Block("砂", {{0, 4}, {2, 4}, {2, 10}, {0, 10}, {0, 4}}));
  const CDPoly* inArray = strata.GetAt(0);
  // The block from 10 down to 4, then air down to the base at 1.
  auto slice = SliceOf({{10, 10, inArray, 0}, {4, 4, inArray, 0}, {1, 1, nullptr, 0}});
  slice->SetHang(&strata);
  EXPECT_FALSE(slice->IsHang(0));
  EXPECT_TRUE(slice->IsHang(1));
  EXPECT_FALSE(slice->IsHang(2));
  EXPECT_EQ(slice->GetGamma(1, 0), 0);
  EXPECT_DOUBLE_EQ(slice->GetWeight(1), 0);
  EXPECT_EQ(slice->SearchCrackDevy(), -1);

  // A water level inserted in the block stays in the block.
  auto wet = SliceOf({{10, 10, inArray, 0}, {7, 7, inArray, 0}, {4, 4, nullptr, 0}});
  wet->SetHang(&strata);
  EXPECT_FALSE(wet->IsHang(1));
  EXPECT_EQ(wet->GetIndexDEVY(1)->shape, inArray);
}

// SetHang over the strata's outlines clears the flag of every boundary it does not hang, set
// before or not, as the reference's search does.
TEST(SliceTest, HangingOverOutlinesLeavesTheFlagsAsTheReference) {
  CDPolyArray strata;
  strata.Add(Block("砂", {{0, 4}, {2, 4}, {2, 10}, {0, 10}, {0, 4}}));
  const CDPoly* s = strata.GetAt(0);
  CDPolyArray::Outlines outlines;
  outlines.Take(strata);
  const std::vector<std::vector<tagDEVY>> cases = {
      {},
      {{10, 10, s, 1}},
      {{10, 10, s, 1}, {1, 1, nullptr, 1}},
      {{10, 10, s, 1}, {4, 4, s, 1}, {1, 1, nullptr, 1}},  // air under the block hangs
      {{10, 10, s, 1}, {7, 7, s, 1}, {4, 4, nullptr, 1}},  // a level inside the block
      {{10, 10, s, 0}, {4, 4, s, 0}, {3, 3, nullptr, 1}, {1, 1, nullptr, 1}},
  };
  for (std::size_t k = 0; k < cases.size(); ++k) {
    SCOPED_TRACE(k);
    auto slice = SliceOf(cases[k]);
    slice_oracle::CSlice reference;
    reference.SetX(0, 2);
    reference.AppendDEVYArray(cases[k]);
    slice->SetHang(strata, outlines);
    reference.SetHang(&strata);
    ExpectBoundariesOfTheReference(*slice, reference);
  }
}

TEST(SliceTest, ACrackBoundaryIsAShapeThatIsNoStratum) {
  const auto block = Block("砂");
  const KindPoly crack(kKindCrack);
  auto slice = SliceOf({{6, 6, block.get(), 0}, {4, 4, &crack, 0}, {1, 1, nullptr, 0}});
  EXPECT_EQ(slice->SearchCrackDevy(), 1);
  EXPECT_TRUE(slice->IsCrackDevy(1));
  EXPECT_FALSE(slice->IsCrackDevy(0));
  EXPECT_FALSE(slice->IsCrackDevy(2));
  EXPECT_EQ(slice->SearchDevyStratum(1), block.get());
}

TEST(SliceTest, PointsWhereTheSidesMeetAShape) {
  const auto block = Block("砂");
  const KindPoly ground(kKindGround);
  const KindPoly work(kKindSlideWork);
  const KindPoly load(kKindLoad);
  CSpWater water;
  auto slice = SliceOf({{6, 7, block.get(), 0}, {3, 4, block.get(), 0}, {1, 2, nullptr, 0}});
  slice->SetWaterLev({{5, 5.5, &water, 0}});
  const auto ys = [](const std::vector<CDPoint>& points) {
    std::vector<double> v;
    for (const CDPoint& p : points) v.push_back(p.y);
    return v;
  };
  EXPECT_EQ(ys(slice->GetPointLeft(ground)), std::vector<double>{6});
  EXPECT_EQ(ys(slice->GetPointRight(work)), std::vector<double>{2});
  EXPECT_EQ(ys(slice->GetPointRight(water)), std::vector<double>{5.5});
  EXPECT_EQ(ys(slice->GetPointLeft(*block)), (std::vector<double>{6, 5, 3}));
  EXPECT_TRUE(slice->GetPointLeft(load).empty());
  EXPECT_EQ(slice->GetPointLeft(0).x, 0);
  EXPECT_EQ(slice->GetPointRight(2).x, 2);
  EXPECT_FALSE(slice->GetPointRight(4).IsValid());
}

TEST(SliceTest, LoadsActingOnTheStrip) {
  CDPolyArray loads;
  auto load = std::make_unique<CSpLoad>();
  load->SetX1(-1);
  load->SetX2(3);
  load->SetQ1(10);
  load->SetQ2(10);
  load->SetQuakeCaseOn(0);
  loads.Add(std::move(load));
  CDanmenStab section;
  section.SetAryLoad(&loads);
  auto slice = SliceOf({{5, 5, nullptr, 0}, {1, 1, nullptr, 0}});
  slice->SetDanmenStab(&section);
  slice->GetResult()[tagRESULTSLICE::kAlpha] = 0;
  const ScopedEnableRound guard(0);
  slice->CalcKajuSeibun(true);
  const tagRESULTSLICE& r = slice->GetResult();
  EXPECT_NEAR(r[tagRESULTSLICE::kLoadNormal + 1], 20, 1e-9);  // 10 kN/m over 2 m, downward
  EXPECT_NEAR(r[tagRESULTSLICE::kLoadNormal + 3], 20, 1e-9);
  EXPECT_NEAR(r[tagRESULTSLICE::kLoadNormal + 0], 0, 1e-9);
  for (int i = tagRESULTSLICE::kLoadQuake; i < tagRESULTSLICE::kLoadQuake + 5; ++i) {
    EXPECT_EQ(r[i], 0);
  }
}

}  // namespace
