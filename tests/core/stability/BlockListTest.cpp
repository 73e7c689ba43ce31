#include <gtest/gtest.h>

#include <cmath>
#include <initializer_list>
#include <memory>
#include <numbers>
#include <string>
#include <utility>
#include <vector>

#include "core/base/CoreConfig.h"
#include "core/base/CoreSettings.h"
#include "core/geometry/DPolyArray.h"
#include "core/model/Danmen.h"
#include "core/section/SpGround.h"
#include "core/section/SpLoad.h"
#include "core/section/SpStratum.h"
#include "core/section/SpWater.h"
#include "core/stability/BlockList.h"
#include "platform/Archive.h"
#include "tests/support/PolyTestUtil.h"
#include "tests/support/SampleSection.h"

namespace {

constexpr double kNo = kNoValue;
constexpr double kDegPerRad = 180 / std::numbers::pi;

// The index of the sample's stratum polygon of the soil; -1 when there is none.
int StratumIndex(const SampleSection& sample, const std::string& soil) {
  const CDPolyArray* strata = sample.ground->GetPolyArray();
  for (int i = 0; i < strata->GetSize(); ++i) {
    const auto* stratum = dynamic_cast<const CSpStratumBlock*>(strata->GetAt(i));
    if (stratum != nullptr && stratum->GetPropPtr()->GetName() == soil) return i;
  }
  return -1;
}

// The sample mirrored about x = 15: the ground then rises to the left.
void Mirror(SampleSection& sample) {
  const auto mirror = [](CDPoly& shape) {
    for (int i = 0; i < shape.GetSize(); ++i) shape.GetAt(i)->x = 30 - shape.GetAt(i)->x;
  };
  mirror(*sample.ground);
  CDPolyArray& strata = *sample.ground->GetPolyArray();
  for (int i = 0; i < strata.GetSize(); ++i) mirror(*strata.GetAt(i));
  mirror(*sample.water);
}

std::vector<double> XPositions(const CBlockList& list) {
  std::vector<double> xs;
  for (int i = 0; i < list.GetXSize(); ++i) xs.push_back(list.GetX(i));
  return xs;
}

class BlockListTest : public testing::Test {
 protected:
  BlockListTest() { stab_.SendInfo(sample_.section); }

  // A list on the sample section dividing the soil's stratum.
  std::unique_ptr<CBlockList> List(bool rightUpper, const std::string& soil) const {
    auto list = std::make_unique<CBlockList>();
    list->SetDanmen(&sample_.section);
    list->SetDanmenStab(&stab_);
    list->SetRightUpper(rightUpper);
    list->SetStratumIndex(StratumIndex(sample_, soil));
    return list;
  }

  // A list whose blocks are built by hand.
  std::unique_ptr<CBlockList> HandList(bool rightUpper, const std::vector<CBlock>& blocks) const {
    auto list = std::make_unique<CBlockList>();
    list->SetRightUpper(rightUpper);
    list->CopyBlock(blocks);
    return list;
  }

  // A block over [left, right] with a top and a base, the top layer in the stratum.
  CBlock Block(double left, double right, double topL, double topR, double baseL, double baseR,
               const CDPoly* stratum = nullptr) const {
    CBlock block;
    block.SetDanmenStab(&stab_);
    block.SetLeftRightX(left, right);
    block.AddDEVY({topL, topR, stratum, 0});
    block.AddDEVY({baseL, baseR, nullptr, 0});
    return block;
  }

  // The calculations round as a new document does, whatever an earlier test left behind.
  const ScopedEnableRound rounding_{1};
  SampleSection sample_ = MakeSampleSection();
  CDanmenStab stab_;
};

// ---- Automatic division ----

struct DivisionCase {
  const char* name;
  bool mirrored;    // the ground rises to the left
  bool rightUpper;  // the direction flag
};

class AutoDivisionTest : public BlockListTest, public testing::WithParamInterface<DivisionCase> {};

// The top stratum, from x = 15 at 30 degrees. Walk 1 runs along the base toward the side the
// blocks are numbered to; its rays run from the base at one cut to the top at the next, so those
// blocks' diagonals (top to base across the block) fall at the division angle.
TEST_P(AutoDivisionTest, DiagonalsFallAtTheDivisionAngleAndBlocksRunFromTheStartSide) {
  const DivisionCase& c = GetParam();
  if (c.mirrored) Mirror(sample_);
  const auto list = List(c.rightUpper, "表土");
  list->SetStartX(15);
  list->SetAngle(30);
  const int count = list->SetXArrayAuto();
  ASSERT_GT(count, 4);
  ASSERT_EQ(count, list->GetXSize());

  // Descending, from one end of the stratum to the other.
  const std::vector<double> xs = XPositions(*list);
  EXPECT_NEAR(xs.front(), 30, 1e-9);
  EXPECT_NEAR(xs.back(), 0, 1e-9);
  for (std::size_t k = 0; k + 1 < xs.size(); ++k) EXPECT_GT(xs[k] - xs[k + 1], 0.001);

  ASSERT_EQ(list->CreateBlock(nullptr, nullptr), count - 1);
  const double theta = 30 / kDegPerRad;
  int walked = 0;
  for (int i = 0; i < list->GetBlockSize(); ++i) {
    SCOPED_TRACE(i);
    const CBlock& block = *list->GetBlockPtr(i);
    const CBlock* next = list->GetBlockPtr(i + 1);
    // Numbered from the start side: the rightmost block first when the flag is set.
    if (next != nullptr) {
      EXPECT_EQ(c.rightUpper ? next->GetRightX() : next->GetLeftX(),
                c.rightUpper ? block.GetLeftX() : block.GetRightX());
    }
    const bool walk1 = c.rightUpper ? block.GetRightX() <= 15 && block.GetLeftX() > 0
                                    : block.GetLeftX() >= 15 && block.GetRightX() < 30;
    if (!walk1) continue;
    ++walked;
    const double width = block.GetRightX() - block.GetLeftX();
    // With the flag the diagonal runs from the top of the left cut down to the base of the right
    // cut, without it from the base of the left cut up to the top of the right cut.
    const double rise = c.rightUpper ? block.GetLeftTopY() - block.GetRightBottomY()
                                     : block.GetRightTopY() - block.GetLeftBottomY();
    EXPECT_NEAR(std::atan2(rise, width), theta, 1e-3);
  }
  EXPECT_GE(walked, 4);
}

INSTANTIATE_TEST_SUITE_P(
    BothDirections, AutoDivisionTest,
    testing::Values(DivisionCase{"RisingRightNumberedFromTheRight", false, true},
                    DivisionCase{"RisingLeftNumberedFromTheLeft", true, false}),
    [](const testing::TestParamInfo<DivisionCase>& param) { return param.param.name; });

TEST_F(BlockListTest, MirroredSectionDividesAtTheMirroredCuts) {
  const auto right = List(true, "表土");
  right->SetStartX(15);
  right->SetAngle(30);
  right->SetXArrayAuto();
  Mirror(sample_);
  const auto left = List(false, "表土");
  left->SetStartX(15);
  left->SetAngle(30);
  left->SetXArrayAuto();
  const std::vector<double> xs = XPositions(*right);
  const std::vector<double> mirrored = XPositions(*left);
  ASSERT_EQ(xs.size(), mirrored.size());
  for (std::size_t k = 0; k < xs.size(); ++k) {
    EXPECT_NEAR(mirrored[k], 30 - xs[xs.size() - 1 - k], 0.0015) << k;
  }
}

// A band 2 high between x = 0 and 10 falling to the right by 0.2 (mirrored: rising), divided at
// 45 degrees. Along the base each ray starts 0.001 cos 45 beyond its cut and meets the top
// d = 0.000707 + (2 - 0.2 * 0.000707) / 1.2 = 1.667256 further on; from 4.997532 the cuts come to
// 6.664788, 8.332044 and 9.9993, within a millimetre of the band's end, which is not recorded.
// Along the top the rays leave the band at once, so that walk records only its own end.
TEST_F(BlockListTest, WalksRecordTheEndTheyRunTo) {
  struct Case {
    const char* name;
    bool rightUpper;
    double start;
    std::vector<double> cuts;
  };
  const Case cases[] = {
      {"FallingRight", false, 4.997532233047034, {9.999, 8.332, 6.665, 4.998, 0}},
      {"RisingRight", true, 10 - 4.997532233047034, {10, 5.002, 3.335, 1.668, 0.001}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const auto x = [&c](double v) { return c.rightUpper ? 10 - v : v; };
    CSpGround ground;
    ground.Add(CDPoint(x(0), 2));
    ground.Add(CDPoint(x(10), 0));
    auto band = std::make_unique<CSpStratumBlock>();
    for (const CDPoint& p : {CDPoint(x(0), 0), CDPoint(x(10), -2), CDPoint(x(10), 0),
                             CDPoint(x(0), 2), CDPoint(x(0), 0)}) {
      band->Add(p);
    }
    auto strata = std::make_unique<CDPolyArray>();
    strata->Add(std::move(band));
    ground.SetPolyArray(std::move(strata));
    CDanmen section;
    section.SetGround(&ground);
    CBlockList list;
    list.SetDanmen(&section);
    list.SetRightUpper(c.rightUpper);
    list.SetStratumIndex(0);
    list.SetStartX(c.start);
    list.SetAngle(45);
    ASSERT_EQ(list.SetXArrayAuto(), static_cast<int>(c.cuts.size()));
    const std::vector<double> xs = XPositions(list);
    for (std::size_t k = 0; k < xs.size(); ++k) EXPECT_NEAR(xs[k], c.cuts[k], 1e-9) << k;
  }
}

// A slide mass with a flat base and a flat top, 10 m long and 2 m high. Each ray of the base walk
// starts on the flat base itself and meets it there; the cut is where it meets the top, 2 m on at
// 45 degrees and the 0.001 cos 45 the ray starts beyond its cut (cuts rounded to the millimetre),
// until the right side ends the walk. The top walk's rays leave the mass at once, so it records
// only its own end.
TEST_F(BlockListTest, AFlatBaseIsDividedLikeAnyOther) {
  CSpGround ground;
  ground.Add(CDPoint(0, 2));
  ground.Add(CDPoint(10, 2));
  auto band = std::make_unique<CSpStratumBlock>();
  for (const CDPoint& p :
       {CDPoint(0, 0), CDPoint(10, 0), CDPoint(10, 2), CDPoint(0, 2), CDPoint(0, 0)}) {
    band->Add(p);
  }
  auto strata = std::make_unique<CDPolyArray>();
  strata->Add(std::move(band));
  ground.SetPolyArray(std::move(strata));
  CDanmen section;
  section.SetGround(&ground);
  CBlockList list;
  list.SetDanmen(&section);
  list.SetRightUpper(false);
  list.SetStratumIndex(0);
  list.SetStartX(5);
  list.SetAngle(45);
  ASSERT_EQ(list.SetXArrayAuto(), 5);
  const std::vector<double> expected = {10, 9.001, 7.001, 5, 0};
  const std::vector<double> xs = XPositions(list);
  for (std::size_t k = 0; k < xs.size(); ++k) EXPECT_NEAR(xs[k], expected[k], 1e-9) << k;
}

TEST_F(BlockListTest, AnglesOutsideZeroToNinetyFail) {
  for (const double angle : {0.0, 90.0, 120.0, -30.0}) {
    SCOPED_TRACE(angle);
    const auto list = List(true, "表土");
    list->CopyStX({1, 2, 3});
    list->SetStartX(15);
    list->SetAngle(angle);
    EXPECT_EQ(list->SetXArrayAuto(), -1);
    EXPECT_EQ(list->GetXSize(), 0);
  }
}

TEST_F(BlockListTest, AWalkThatWouldMakeTooManyBlocksStopsOverTheLimit) {
  // Steeper than the slope, the rays along the top leave the slide mass at once: the walk creeps
  // up the slope a few millimetres at a time until the limit stops it.
  const auto list = List(true, "表土");
  list->SetStartX(15);
  list->SetAngle(45);
  const int count = list->SetXArrayAuto();
  EXPECT_GT(count, CBlockList::kMaxBlocks + 1);
  EXPECT_LE(count, 2 * (CBlockList::kMaxBlocks + 2));
}

TEST_F(BlockListTest, NoBaseAtTheStartFails) {
  const auto list = List(true, "表土");
  list->CopyStX({1, 2});
  list->SetStartX(40);
  list->SetAngle(30);
  EXPECT_EQ(list->SetXArrayAuto(), -1);
  EXPECT_EQ(list->GetXSize(), 0);
}

TEST_F(BlockListTest, DivisionWithoutItsSettingsDoesNothing) {
  struct Case {
    const char* name;
    bool section;
    int stratum;
    double startX;
  };
  const Case cases[] = {
      {"NoSection", false, 0, 15},
      {"NoStratum", true, -1, 15},
      {"StratumOutside", true, 3, 15},
      {"NoStartX", true, 0, kNo},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const auto list = List(true, "表土");
    if (!c.section) list->SetDanmen(nullptr);
    list->SetStratumIndex(c.stratum);
    list->SetStartX(c.startX);
    list->SetAngle(30);
    list->CopyStX({1, 2});
    EXPECT_EQ(list->SetXArrayAuto(), 0);
    EXPECT_EQ(list->GetXSize(), 0);
    EXPECT_EQ(list->CreateBlock(nullptr, nullptr), 0);
    EXPECT_EQ(list->GetBlockSize(), 0);
  }
}

// ---- Typed x positions ----

TEST_F(BlockListTest, TypedPositionsAreMergedMovedOntoTheStratumAndUnsetOnesDropped) {
  struct Case {
    const char* name;
    std::vector<double> typed;
    std::vector<double> cuts;
  };
  const Case cases[] = {
      {"CloserThan1e5", {20, 5, 5 + 0.5e-5, 10}, {5, 10, 20}},
      {"OneE5Apart", {5, 5 + 2e-5}, {5, 5 + 2e-5}},
      {"Outside", {-5, 10, 40}, {0, 10, 30}},
      {"Unset", {kNo, 10, 20, kNo}, {10, 20}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const auto list = List(false, "表土");
    list->CopyStX(c.typed);
    EXPECT_EQ(list->CreateBlock(nullptr, nullptr), static_cast<int>(c.cuts.size()) - 1);
    EXPECT_EQ(XPositions(*list), c.cuts);
  }
}

TEST_F(BlockListTest, WithTheDirectionFlagBlockZeroIsTheRightmost) {
  for (const bool rightUpper : {true, false}) {
    SCOPED_TRACE(rightUpper);
    const auto list = List(rightUpper, "表土");
    list->CopyStX({10, 0, 30, 20});
    ASSERT_EQ(list->CreateBlock(nullptr, nullptr), 3);
    EXPECT_EQ(list->GetBlockPtr(0)->GetLeftX(), rightUpper ? 20 : 0);
    EXPECT_EQ(list->GetBlockPtr(2)->GetLeftX(), rightUpper ? 0 : 20);
    // The outline runs from the start side.
    EXPECT_EQ(list->GetSlideCopy().GetAt(0)->x, rightUpper ? 30 : 0);
    EXPECT_EQ(list->GetGroundCopy().GetAt(0)->y, rightUpper ? 15 : 0);
    EXPECT_EQ(list->GetSlideCopy().GetSize(), 4);
  }
}

TEST_F(BlockListTest, CutsWithoutEntriesAndBlocksWithFewerThanTwoEntries) {
  // A stratum whose top and base coincide over [0, 4] and whose pointed right end at x = 8 lies
  // inside its point list, where its outline has no top or base.
  CSpGround ground;
  for (const CDPoint& p : {CDPoint(0, 0), CDPoint(4, 0), CDPoint(6, 2), CDPoint(8, 0)}) {
    ground.Add(p);
  }
  auto strata = std::make_unique<CDPolyArray>();
  auto stratum = std::make_unique<CSpStratumBlock>();
  for (const CDPoint& p : {CDPoint(0, 0), CDPoint(4, 0), CDPoint(6, 2), CDPoint(8, 0),
                           CDPoint(6, -2), CDPoint(4, 0), CDPoint(0, 0)}) {
    stratum->Add(p);
  }
  strata->Add(std::move(stratum));
  ground.SetPolyArray(std::move(strata));
  CDanmen section;
  section.SetGround(&ground);
  for (const bool rightUpper : {false, true}) {
    SCOPED_TRACE(rightUpper);
    CBlockList list;
    list.SetDanmen(&section);
    list.SetRightUpper(rightUpper);
    list.SetStratumIndex(0);
    list.CopyStX({0, 2, 4, 6, 8});
    // [0, 2] and [2, 4] hold only their base, [6, 8] has no top or base at 8: one block of four.
    ASSERT_EQ(list.CreateBlock(nullptr, nullptr), 1);
    const CBlock& block = *list.GetBlockPtr(0);
    EXPECT_EQ(block.GetLeftX(), 4);
    EXPECT_EQ(block.GetRightX(), 6);
    EXPECT_NEAR(block.GetRightBottomY(), -2, 1e-6);
    // The cut at 8 adds nothing to the outline, which starts at the first cut with entries.
    if (rightUpper) {
      ExpectPoints(list.GetSlideCopy(), {{6, -2}, {4, 0}, {2, 0}, {0, 0}});
    } else {
      ExpectPoints(list.GetSlideCopy(), {{0, 0}, {2, 0}, {4, 0}, {6, -2}});
    }
  }
}

// ---- Blocks of a division ----

// The middle stratum under the top one, with the water table in it between x = 10 and 16.
TEST_F(BlockListTest, WaterLevelInTheLowerOfTwoStrataBelongsToThatStratum) {
  const auto list = List(true, "風化岩");
  list->CopyStX({10, 12, 14, 16});
  ASSERT_EQ(list->CreateBlock(nullptr, nullptr), 3);
  const CDPoly* middle = sample_.ground->GetPolyArray()->GetAt(StratumIndex(sample_, "風化岩"));
  for (int i = 0; i < 3; ++i) {
    SCOPED_TRACE(i);
    const CBlock& block = *list->GetBlockPtr(i);
    // Top of the upper stratum, its boundary with the middle one, the water level, the base.
    ASSERT_EQ(block.GetDEVYsize(), 4);
    EXPECT_EQ(block.GetIndexDEVY(1)->shape, middle);
    EXPECT_EQ(block.GetIndexDEVY(2)->shape, middle);
    EXPECT_EQ(block.GetGamma(0, 0), 18);  // 表土, moist
    EXPECT_EQ(block.GetGamma(1, 0), 19);  // 風化岩, moist
    EXPECT_EQ(block.GetGamma(2, 0), 20);  // 風化岩, saturated
    double c = 0;
    double phi = 0;
    EXPECT_TRUE(block.GetCF(c, phi));
    EXPECT_EQ(c, 20);
    EXPECT_EQ(phi, 30);
    EXPECT_EQ(block.GetBaseC(), 20);
  }

  // Stored, loaded and linked again, the blocks weigh as before.
  Archive out;
  list->Store(out, 10);
  CBlockList loaded;
  Archive in(out.Bytes());
  loaded.Load(in, 10);
  loaded.SetDanmen(&sample_.section);
  loaded.SetDanmenStab(&stab_);
  loaded.SetBlockMatShape(nullptr, nullptr);
  ASSERT_EQ(loaded.GetBlockSize(), 3);
  for (int i = 0; i < 3; ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(loaded.GetBlockPtr(i)->GetIndexDEVY(2)->shape, middle);
    EXPECT_EQ(loaded.GetBlockPtr(i)->GetWeight(-1), list->GetBlockPtr(i)->GetWeight(-1));
    EXPECT_EQ(loaded.GetBlockPtr(i)->GetWaterEntry().shape, sample_.water.get());
  }
}

TEST_F(BlockListTest, CopiesLinkTheirBlocksToTheirOwnSurface) {
  auto list = List(true, "表土");
  list->CopyStX({0, 10, 20, 30});
  ASSERT_EQ(list->CreateBlock(nullptr, nullptr), 3);
  const CDPoly* original = list->GetSlideWork();
  ASSERT_NE(original, nullptr);
  ASSERT_EQ(list->GetBlockPtr(0)->GetLastDEVY()->shape, original);

  CBlockList copy;
  copy.Copy(list.get());
  const auto run = list->CreateBlockList(1, 2);
  ASSERT_NE(run, nullptr);
  for (const CBlockList* other : {&copy, run.get()}) {
    ASSERT_NE(other->GetSlideWork(), nullptr);
    EXPECT_NE(other->GetSlideWork(), original);
    EXPECT_EQ(other->GetBlockPtr(0)->GetLastDEVY()->shape, other->GetSlideWork());
  }
  list.reset();
  // Nothing refers to the list that is gone.
  for (const CBlockList* other : {&copy, run.get()}) {
    const CBlock& last = *other->GetBlockPtr(other->GetBlockSize() - 1);
    EXPECT_EQ(last.GetTisoName(last.GetDEVYsize() - 1), "地層1");
    EXPECT_EQ(last.IsCrackDevy(last.GetDEVYsize() - 1), 1);
  }
  EXPECT_EQ(copy.GetBlockSize(), 3);
  EXPECT_EQ(copy.IsRightUpper(), true);
  EXPECT_EQ(copy.GetSlideCopy().GetSize(), 4);
}

TEST_F(BlockListTest, RunsOfBlocks) {
  const auto list = HandList(false, {Block(0, 1, 5, 5, 1, 1), Block(1, 2, 5, 5, 1, 1),
                                     Block(2, 3, 5, 5, 1, 1), Block(3, 4, 5, 5, 1, 1)});
  list->SetStratumIndex(2);
  list->SetAngle(35);
  EXPECT_EQ(list->GetBlockCalcSize(), 6);
  EXPECT_EQ(HandList(false, {Block(0, 1, 5, 5, 1, 1)})->GetBlockCalcSize(), 0);
  EXPECT_EQ(HandList(false, {})->GetBlockCalcSize(), 0);
  for (const auto& [i, j] :
       std::initializer_list<std::pair<int, int>>{{2, 2}, {3, 1}, {-1, 2}, {0, 4}}) {
    EXPECT_EQ(list->CreateBlockList(i, j), nullptr) << i << " " << j;
  }
  const auto all = list->CreateBlockList(0, 3);
  ASSERT_NE(all, nullptr);
  EXPECT_EQ(all->GetBlockSize(), 4);
  EXPECT_EQ(all->GetStratumIndex(), 2);
  EXPECT_EQ(all->GetAngle(), 35);
  const auto middle = list->CreateBlockList(1, 2);
  ASSERT_EQ(middle->GetBlockSize(), 2);
  EXPECT_EQ(middle->GetBlockPtr(0)->GetLeftX(), 1);
  EXPECT_EQ(middle->GetXSize(), 0);
}

// ---- Totals ----

TEST_F(BlockListTest, TotalsOfARun) {
  const ScopedEnableRound unrounded(0);
  const CBlock left = Block(0, 2, 10, 12, 4, 5);
  const CBlock right = Block(2, 5, 12, 15, 5, 7);
  // Numbered from the left: the run closes on the right block's face toward the left cut.
  const auto fromLeft = HandList(false, {left, right});
  double l = 0;
  double t = 0;
  double r = 0;
  double b = 0;
  fromLeft->GetRect(l, t, r, b);
  EXPECT_EQ(l, 0);
  EXPECT_EQ(t, 15);
  EXPECT_EQ(r, 5);
  EXPECT_EQ(b, 4);
  EXPECT_EQ(fromLeft->GetTotalWidth(), 5);
  EXPECT_EQ(fromLeft->GetTotalHight(), 11);
  EXPECT_EQ(fromLeft->GetTotalBottom(), 4);
  EXPECT_DOUBLE_EQ(fromLeft->GetTotalL(), std::hypot(1, 2) + std::hypot(15 - 5, 3));
  EXPECT_DOUBLE_EQ(fromLeft->GetTotalArea(), (6 + 7) * 2 * 0.5 + 7 * 3 * 0.5);
  EXPECT_DOUBLE_EQ(fromLeft->GetSuberiAngle(), -std::atan2(5 - 4, 2) * kDegPerRad);
  EXPECT_DOUBLE_EQ(fromLeft->GetH(false), ((6 + 7) * 2 * 0.5 + (7 + 8) * 3 * 0.5) / 5);
  EXPECT_EQ(fromLeft->GetH(true), 8);

  // Numbered from the right: the run closes on the left block's face toward the right cut.
  const auto fromRight = HandList(true, {right, left});
  EXPECT_DOUBLE_EQ(fromRight->GetTotalL(), std::hypot(2, 3) + std::hypot(5 - 10, 2));
  EXPECT_DOUBLE_EQ(fromRight->GetTotalArea(), (7 + 8) * 3 * 0.5 + 7 * 2 * 0.5);
  EXPECT_DOUBLE_EQ(fromRight->GetSuberiAngle(), std::atan2(7 - 5, 5 - 2) * kDegPerRad);
}

TEST_F(BlockListTest, SlideAngleIsRounded) {
  const auto list = HandList(false, {Block(0, 2, 10, 12, 4, 5), Block(2, 5, 12, 15, 5, 7)});
  EXPECT_DOUBLE_EQ(list->GetSuberiAngle(), -26.565);  // -26.5650512
}

TEST_F(BlockListTest, TotalsOfAnEmptyList) {
  const auto list = HandList(false, {});
  double l = 1;
  double t = 1;
  double r = 1;
  double b = 1;
  list->GetRect(l, t, r, b);
  EXPECT_EQ(l + t + r + b, 0);
  EXPECT_EQ(list->GetTotalWidth(), 0);
  EXPECT_EQ(list->GetTotalHight(), 0);
  EXPECT_EQ(list->GetTotalBottom(), 9e32);
  EXPECT_EQ(list->GetTotalL(), 0);
  EXPECT_EQ(list->GetTotalArea(), 0);
  EXPECT_EQ(list->GetSuberiAngle(), kNo);
  EXPECT_EQ(list->GetH(false), 0);
  EXPECT_EQ(list->GetH(true), 0);
  EXPECT_EQ(list->GetKukanSize(), 0);
  EXPECT_EQ(list->CreateDrawObj(), nullptr);
  EXPECT_EQ(list->CreateSlideLine(0, 0, false), nullptr);
}

// ---- Strength of the slide mass ----

TEST_F(BlockListTest, StrengthOfTheChosenStratumAndOfTheBlocks) {
  const auto list = List(true, "風化岩");
  double gt = 0;
  double gs = 0;
  double c = 0;
  double phi = 0;
  list->GetSouGanmmaCFai(gt, gs, c, phi);
  EXPECT_EQ(gt, 19);
  EXPECT_EQ(gs, 20);
  EXPECT_EQ(c, 20);
  EXPECT_EQ(phi, 30);
  EXPECT_EQ(list->GetSouFai(), 30);
  list->SetStratumIndex(-1);
  list->GetSouGanmmaCFai(gt, gs, c, phi);
  EXPECT_EQ(gt, kNo);
  EXPECT_EQ(phi, kNo);
  EXPECT_EQ(list->GetSouFai(), kNo);

  // c and phi per block as its strength type takes them, carried past types that take none.
  CSpStratumBlock soil;
  *soil.GetPropStructure() = tagSATURATE{18, 19, 25, 10, kNo};
  CSpStratumBlock noCohesion;
  noCohesion.GetPropStructure()->phi = 25;
  const auto block = [this](const CDPoly* stratum, int type) {
    CBlock b = Block(0, 1, 5, 5, 1, 1, stratum);
    b.SetStrengthType(type, 2);
    return b;
  };
  struct Case {
    const char* name;
    std::vector<CBlock> blocks;
    int valid;
  };
  const Case cases[] = {
      {"AllFromTheStratum", {block(&soil, 2), block(&soil, 3)}, 1},
      {"CarriedOn", {block(&soil, 2), block(&soil, 5)}, 1},
      {"NothingToCarry", {block(&soil, 5), block(&soil, 2)}, 0},
      {"NoCohesion", {block(&soil, 2), block(&noCohesion, 2)}, 0},
      {"ZeroCohesionByType", {block(&noCohesion, 3)}, 1},
      {"NoStratum", {block(&soil, 2), block(nullptr, 2)}, 0},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.name);
    EXPECT_EQ(HandList(false, k.blocks)->IsValidCFai(), k.valid);
  }
  const auto two = HandList(false, {block(&soil, 3)});
  EXPECT_TRUE(two->GetCF(0, c, phi));
  EXPECT_EQ(c, 0);
  EXPECT_EQ(phi, 25);
  EXPECT_FALSE(two->GetCF(1, c, phi));
}

TEST_F(BlockListTest, SurchargeOfTheBlocks) {
  auto load = std::make_unique<CSpLoad>();
  load->SetQ1(10);
  load->SetQ2(10);
  load->SetX1(12);
  load->SetX2(18);
  load->SetQuakeCaseOn(0);
  sample_.loads->Add(std::move(load));
  const auto list = List(true, "表土");
  list->CopyStX({0, 10, 20, 30});
  ASSERT_EQ(list->CreateBlock(nullptr, nullptr), 3);
  EXPECT_FALSE(list->IsKajuExist(0));
  list->CalcKaju();
  EXPECT_TRUE(list->IsKajuExist(0));
  EXPECT_FALSE(list->IsKajuExist(1));
}

// ---- Base sections ----

TEST_F(BlockListTest, BaseSectionsRunOverBlocksOfOneStrengthOnOnePiece) {
  CSpStratumBlock soil;
  *soil.GetPropStructure() = tagSATURATE{18, 19, 25, 10, kNo};
  const auto block = [&](double left, int type, double radius) {
    CBlock b = Block(left, left + 1, 12, 12, 1, 1, &soil);
    b.SetStrengthType(type, 2);
    if (radius > 0) b.SetBaseArc(std::make_unique<CDArc>(3.0, 20.0, radius, left, left + 1));
    return b;
  };
  // Two straight blocks, a block of another strength type, two on one arc, one on another arc.
  const auto list = HandList(false, {block(0, 2, 0), block(1, 2, 0), block(2, 3, 0),
                                     block(3, 2, 19), block(4, 2, 19), block(5, 2, 18)});
  EXPECT_TRUE(list->IsSameGroup(0, 1));
  EXPECT_FALSE(list->IsSameGroup(1, 2));
  EXPECT_FALSE(list->IsSameGroup(2, 3));
  EXPECT_TRUE(list->IsSameGroup(3, 4));
  EXPECT_FALSE(list->IsSameGroup(4, 5));
  EXPECT_FALSE(list->IsSameGroup(5, 6));
  const bool heads[] = {true, false, true, true, false, true};
  for (int i = 0; i < 6; ++i) EXPECT_EQ(list->IsGroupHead(i), heads[i]) << i;
  EXPECT_EQ(list->GetKukanSize(), 4);

  int first = 0;
  int last = 0;
  CDPoint start;
  CDPoint end;
  bool isArc = true;
  CDArc arc;
  ASSERT_TRUE(list->GetKukanInfo(0, first, last, start, end, isArc, arc));
  EXPECT_EQ(first, 0);
  EXPECT_EQ(last, 1);
  EXPECT_EQ(start.x, 0);
  EXPECT_EQ(end.x, 2);
  EXPECT_FALSE(isArc);
  ASSERT_TRUE(list->GetKukanInfo(2, first, last, start, end, isArc, arc));
  EXPECT_EQ(first, 3);
  EXPECT_EQ(last, 4);
  EXPECT_TRUE(isArc);
  EXPECT_EQ(arc.R, 19);
  EXPECT_EQ(arc.start, 3);  // the first block's start angle ...
  EXPECT_EQ(arc.end, 5);    // ... and the last block's end angle
  EXPECT_FALSE(list->GetKukanInfo(4, first, last, start, end, isArc, arc));
  EXPECT_EQ(first, -1);
}

TEST_F(BlockListTest, EveryBlockOfADivisionLiesOnItsOwnPieceOfTheSurface) {
  const auto list = List(true, "表土");
  list->CopyStX({0, 6, 12, 18, 24, 30});
  ASSERT_EQ(list->CreateBlock(nullptr, nullptr), 5);
  EXPECT_EQ(list->GetKukanSize(), 5);
}

// ---- Shapes from the blocks ----

TEST_F(BlockListTest, SlideLineOfARunRunsDownTheHeadAlongTheBasesAndUpTheLastDiagonal) {
  const auto list =
      HandList(true, {Block(4, 6, 8, 10, 3, 4), Block(2, 4, 6, 8, 2, 3), Block(0, 2, 4, 6, 1, 2)});
  const auto line = list->CreateSlideLine(0, 2, false);
  ASSERT_NE(line, nullptr);
  ExpectPoints(*line, {{6, 10}, {6, 4}, {4, 3}, {2, 2}, {0, 4}});
  for (int i = 0; i < line->GetSize(); ++i) {
    EXPECT_EQ(line->GetStyle(i), 0);
    EXPECT_EQ(line->GetStrengthType(i), 2);
  }
  ExpectPoints(*list->CreateSlideLine(1, 1, false), {{4, 8}, {4, 3}, {2, 6}});
  for (const auto& [i, j] : std::initializer_list<std::pair<int, int>>{{-1, 1}, {0, 3}, {3, 0}}) {
    EXPECT_EQ(list->CreateSlideLine(i, j, false), nullptr);
  }

  // Numbered from the left, the head is the left cut of the first block.
  const auto fromLeft = HandList(false, {Block(0, 2, 4, 6, 1, 2), Block(2, 4, 6, 8, 2, 3)});
  ExpectPoints(*fromLeft->CreateSlideLine(0, 1, false), {{0, 4}, {0, 1}, {2, 2}, {4, 8}});
}

TEST_F(BlockListTest, SlideLineWithTopArcStartsWhereThe70DegreeLineMeetsTheGround) {
  const auto list = List(true, "表土");
  list->CopyStX({0, 6, 9, 12, 15, 30});
  ASSERT_EQ(list->CreateBlock(nullptr, nullptr), 5);
  // Block 2 spans [9, 12]: its head cut is at 12 with the base at 3.
  const auto line = list->CreateSlideLine(2, 3, true);
  ASSERT_NE(line, nullptr);
  ASSERT_EQ(line->GetSize(), 4);
  const CDPoint head = *line->GetAt(0);
  EXPECT_EQ(line->GetStyle(0), 2);
  EXPECT_EQ(line->GetStyle(1), 0);
  EXPECT_NEAR(line->GetAt(1)->x, 12, 1e-12);
  EXPECT_NEAR(line->GetAt(1)->y, 3, 1e-6);
  // On the ground and on the line at 70 degrees from the base corner, to the millimetre.
  EXPECT_NEAR(head.y, sample_.ground->GetY(head.x), 2e-3);
  EXPECT_NEAR(std::atan2(head.y - 3, head.x - 12) * kDegPerRad, 70, 0.05);
  EXPECT_NEAR(head.x * 1000, std::round(head.x * 1000), 1e-6);

  // Nothing to the right of the rightmost block: the head stays at the top of its cut.
  const auto top = list->CreateSlideLine(0, 1, true);
  EXPECT_EQ(top->GetStyle(0), 0);
  EXPECT_EQ(top->GetAt(0)->x, 30);
  EXPECT_EQ(top->GetAt(0)->y, 15);
}

TEST_F(BlockListTest, WorkingSurfaceOfTheChainRunsLeftToRight) {
  const auto list =
      HandList(true, {Block(4, 6, 8, 10, 3, 4), Block(2, 4, 6, 8, 2, 3), Block(0, 2, 4, 6, 1, 2)});
  const auto work = list->CreateDrawObj();
  ASSERT_NE(work, nullptr);
  EXPECT_EQ(work->GetArcCount(), 0);
  const std::vector<CDPoint> points = PointsOf(*work);
  ASSERT_EQ(points.size(), 5u);
  const CDPoint expected[] = {{0, 4}, {2, 2}, {4, 3}, {6, 4}, {6, 10}};
  for (std::size_t k = 0; k < points.size(); ++k) {
    EXPECT_EQ(points[k].x, expected[k].x) << k;
    EXPECT_EQ(points[k].y, expected[k].y) << k;
  }
  EXPECT_EQ(HandList(true, {Block(0, 2, 4, 6, 1, 2)})->CreateDrawObj(), nullptr);
}

TEST_F(BlockListTest, InitClearsEverything) {
  const auto list = List(true, "表土");
  list->SetStartX(15);
  list->SetAngle(30);
  list->SetConfirmed(true);
  list->CopyStX({0, 10, 30});
  list->CreateBlock(nullptr, nullptr);
  list->Init();
  EXPECT_FALSE(list->IsRightUpper());
  EXPECT_EQ(list->GetStratumIndex(), -1);
  EXPECT_EQ(list->GetStartX(), kNo);
  EXPECT_EQ(list->GetAngle(), 0);
  EXPECT_FALSE(list->IsConfirmed());
  EXPECT_EQ(list->GetXSize(), 0);
  EXPECT_EQ(list->GetBlockSize(), 0);
  EXPECT_EQ(list->GetGroundCopy().GetSize(), 0);
  EXPECT_EQ(list->GetSlideWork(), nullptr);
  EXPECT_EQ(list->CreateBlock(nullptr, nullptr), 0);  // no section any more
}

}  // namespace
