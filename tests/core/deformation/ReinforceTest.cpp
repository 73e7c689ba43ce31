// One rock bolt: its geometry, validity and comparison, and its zones on the sample section with
// the lengths inside (H) and beyond (H2) the slip surface checked against line crossings worked
// out by hand.

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <numbers>
#include <stdexcept>
#include <string>
#include <utility>

#include "core/deformation/Reinforce.h"
#include "core/geometry/DPolyArray.h"
#include "core/section/SpSlideWork.h"
#include "tests/core/deformation/ReinfTestUtil.h"
#include "tests/support/SampleSection.h"

namespace {

constexpr int kSet = CReinforce::kSetSeismic;
constexpr int kL1 = CReinfZone::kRegionL1;
constexpr int kL2 = CReinfZone::kRegionL2;

void ExpectPoint(const CDPoint& actual, const CDPoint& expected, double tol = 1e-9) {
  EXPECT_NEAR(actual.x, expected.x, tol);
  EXPECT_NEAR(actual.y, expected.y, tol);
}

// ---- Geometry ----

TEST(ReinforceTest, TailOuterEndAndInsertedLengthFollowSideAndExtraLength) {
  const struct {
    const char* name;
    int side;
    double alpha;
    double extra;
    double inserted;
  } cases[] = {
      {"into +x with extra length", CReinforce::kSidePlusX, 30, 0.5, 7.5},
      {"into -x without extra length", CReinforce::kSideMinusX, 60, 0, 8},
      {"a negative extra length counts as none", CReinforce::kSidePlusX, 20, -1, 8},
  };
  const CDPoint head(12, 5);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const auto bar = MakeBar(1, c.side, head, c.alpha, 8, c.extra);
    const double a = c.alpha * std::numbers::pi / 180;
    EXPECT_NEAR(bar->GetAlphaAngRad(), c.side == CReinforce::kSidePlusX ? -a : a + std::numbers::pi,
                1e-15);
    EXPECT_DOUBLE_EQ(bar->GetInsL(), c.inserted);
    ExpectPoint(bar->GetPointTail(), HandTail(head, c.side, c.alpha, c.inserted));
    // The outer end lies the extra length back from the head along the bar.
    const CDPoint outer = c.extra > 0 ? HandTail(head, c.side, c.alpha, -c.extra) : head;
    ExpectPoint(bar->GetPointExt(), outer);
  }
}

TEST(ReinforceTest, ExtraLengthZeroWithin1e13) {
  for (const auto& [extra, zero] : {std::pair{0.0, true}, std::pair{5e-14, true},
                                    std::pair{-5e-14, true}, std::pair{0.5, false}}) {
    EXPECT_EQ(MakeBar(1, 1, CDPoint(0, 0), 30, 5, extra)->IsYotyoZero(), zero) << extra;
  }
}

TEST(ReinforceTest, ValidNeedsNumberSideHeadStandardBarAndFourValues) {
  EXPECT_TRUE(MakeBar(1, 1, CDPoint(0, 0), 30, 5, 0.5)->IsValid());
  EXPECT_FALSE(CReinforce().IsValid());
  const struct {
    const char* name;
    void (*spoil)(CReinforce&);
  } cases[] = {
      {"number", [](CReinforce& b) { b.number = -1; }},
      {"side", [](CReinforce& b) { b.side = 2; }},
      {"head", [](CReinforce& b) { b.head.y = kNoValue; }},
      {"standard bar", [](CReinforce& b) { b.stdBar = -1; }},
      {"spacing", [](CReinforce& b) { b.sh = kNoValue; }},
      {"alpha", [](CReinforce& b) { b.alpha = kNoValue; }},
      {"length", [](CReinforce& b) { b.length = kNoValue; }},
      {"extra length", [](CReinforce& b) { b.extraLength = kNoValue; }},
  };
  for (const auto& c : cases) {
    auto bar = MakeBar(1, 1, CDPoint(0, 0), 30, 5, 0.5);
    c.spoil(*bar);
    EXPECT_FALSE(bar->IsValid()) << c.name;
  }
}

TEST(ReinforceTest, SameComparesParametersAndHeadsWithin1e4) {
  const auto bar = MakeBar(1, 1, CDPoint(10, 5), 30, 5, 0.5);
  auto other = MakeBar(1, 1, CDPoint(10.00005, 5), 30, 5, 0.5);
  EXPECT_TRUE(bar->IsSame(*other));
  other->number = 2;
  EXPECT_FALSE(bar->IsSame(*other));
  EXPECT_TRUE(bar->IsSameUseCale(*other));
  other->head.x = 10.0002;
  EXPECT_FALSE(bar->IsSameUseCale(*other));
  for (const double alpha : {30.0, 31.0}) {
    EXPECT_EQ(bar->IsSameUseCale(*MakeBar(1, 1, CDPoint(10, 5), alpha, 5, 0.5)), alpha == 30.0);
  }
}

TEST(ReinforceTest, CopyTakesParametersAndResultsButNeitherZonesNorActiveFlag) {
  SampleSection sample = MakeSampleSection();
  const auto slip = StraightSlip(CDPoint(0, -4), CDPoint(30, 16));
  const auto source = MakeBar(3, 1, CDPoint(12, 5), 30, 8, 0.5);
  source->CreateZoneStratum(*sample.ground->GetPolyArray());
  source->CreateZone(kSet, *slip);
  source->active = true;

  CReinforce copy;
  copy.CreateZoneStratum(*sample.ground->GetPolyArray());
  copy.Copy(*source);
  EXPECT_TRUE(copy.IsSame(*source));
  EXPECT_EQ(copy.GetResult(kSet), source->GetResult(kSet));
  EXPECT_EQ(copy.GetZoneStratumSize(), 0);
  EXPECT_EQ(copy.GetZoneSize(kSet), 0);
  EXPECT_FALSE(copy.active);
}

TEST(ReinforceTest, ResultSetsAndZonesOutsideThrow) {
  const CReinforce bar;
  EXPECT_THROW(bar.GetResult(-1), std::out_of_range);
  EXPECT_THROW(bar.GetResult(CReinforce::kSetCount), std::out_of_range);
  EXPECT_THROW(bar.GetZone(0, 0), std::out_of_range);
  EXPECT_THROW(bar.GetZoneSize(4), std::out_of_range);
  EXPECT_THROW(bar.GetZoneStratum(0), std::out_of_range);
}

// ---- Where a point lies against a zone ----

TEST(ReinforceTest, CheckInZoneTellsEndsInsideAndOutside) {
  const CReinfZone sloped(CDPoint(0, 0), CDPoint(4, -2), kL1, 0);
  const CReinfZone backwards(CDPoint(4, -2), CDPoint(0, 0), kL1, 0);
  const CReinfZone vertical(CDPoint(3, 5), CDPoint(3, 1), kL1, 0);
  const struct {
    const char* name;
    const CReinfZone& zone;
    CDPoint p;
    int expected;
  } cases[] = {
      {"start", sloped, CDPoint(0, 0), CReinfZone::kAtStart},
      {"start within 1e-13", sloped, CDPoint(5e-14, 0), CReinfZone::kAtStart},
      {"end", sloped, CDPoint(4, -2), CReinfZone::kAtEnd},
      {"middle", sloped, CDPoint(2, -1), CReinfZone::kInside},
      {"x only just inside", sloped, CDPoint(1e-12, 0), CReinfZone::kInside},
      {"beyond the end", sloped, CDPoint(5, -2.5), CReinfZone::kOutside},
      {"a zone walked toward -x", backwards, CDPoint(1, -0.5), CReinfZone::kInside},
      {"vertical zone, middle", vertical, CDPoint(3, 2), CReinfZone::kInside},
      {"vertical zone, above it", vertical, CDPoint(3, 6), CReinfZone::kOutside},
  };
  for (const auto& c : cases) EXPECT_EQ(c.zone.CheckInZone(c.p), c.expected) << c.name;
}

// ---- Zones on the sample section ----

class ReinforceZoneTest : public testing::Test {
 protected:
  CDPolyArray& Strata() { return *sample_.ground->GetPolyArray(); }

  // Each zone's lengths add up to H in L1 and to H2 in L2, the L1 zones lie on one side of the
  // crossing and the L2 zones on the other, and one zone follows the other without a gap.
  void ExpectZonesAddUp(const CReinforce& bar) {
    double l1 = 0;
    double l2 = 0;
    for (int i = 0; i < bar.GetZoneSize(kSet); ++i) {
      const CReinfZone& zone = bar.GetZone(kSet, i);
      l1 += zone.GetL1Length();
      l2 += zone.GetL2Length();
      if (i > 0) ExpectPoint(zone.start, bar.GetZone(kSet, i - 1).end, 0);
    }
    EXPECT_NEAR(l1, bar.GetH(kSet), 1e-9);
    EXPECT_NEAR(l2, bar.GetH2(kSet), 1e-9);
  }

  SampleSection sample_ = MakeSampleSection();
};

TEST_F(ReinforceZoneTest, StratumZonesEndAtTheBoundaryCrossingsAndKnowTheirStratum) {
  const CDPoint head(12, 5);
  const auto bar = MakeBar(1, 1, head, 30, 8, 0.5);
  ASSERT_EQ(bar->CreateZoneStratum(Strata()), 3);

  const CDPoint tail = HandTail(head, 1, 30, 7.5);
  // The boundaries 2 m and 5 m below the ground, on their segment from x = 12 to 18.
  const CDPoint upper = LineCrossing(head, tail, CDPoint(12, 3), CDPoint(18, 8));
  const CDPoint lower = LineCrossing(head, tail, CDPoint(12, 0), CDPoint(18, 5));
  const CDPoint ends[] = {head, upper, lower, tail};
  const char* soils[] = {"表土", "風化岩", "基盤岩"};
  for (int i = 0; i < 3; ++i) {
    const CReinfZone& zone = bar->GetZoneStratum(i);
    ExpectPoint(zone.start, ends[i]);
    ExpectPoint(zone.end, ends[i + 1]);
    EXPECT_EQ(zone.region, kL1);
    EXPECT_EQ(zone.stratum, StratumIndex(Strata(), soils[i])) << soils[i];
  }
}

TEST_F(ReinforceZoneTest, HAndH2OnAStraightSlipLineEqualTheLengthsWorkedOutByHand) {
  // The slip line y = -4 + 2x/3 leaves the ground at the toe (6, 0) and again on the crest at
  // x = 28.5, so that a bar can lie wholly above it, wholly below it or cross it.
  const CDPoint slipFrom(0, -4);
  const CDPoint slipTo(30, 16);
  const auto slip = StraightSlip(slipFrom, slipTo);
  enum Kind { kAcross, kAbove, kBelow };
  const struct {
    const char* name;
    int side;
    CDPoint head;
    double alpha;
    double length;
    double extra;
    Kind kind;
  } cases[] = {
      {"across, on the slope", 1, CDPoint(12, 5), 30, 8, 0.5, kAcross},
      {"across, higher up", 1, CDPoint(18, 10), 20, 10, 1, kAcross},
      {"across, into -x", 0, CDPoint(24, 15), 60, 8, 0, kAcross},
      {"wholly above", 1, CDPoint(24, 15), 15, 3, 0, kAbove},
      {"wholly below", 1, CDPoint(29.5, 15), 10, 2, 0, kBelow},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    auto bar = MakeBar(1, c.side, c.head, c.alpha, c.length, c.extra);
    const double inserted = c.extra > 0 ? c.length - c.extra : c.length;
    bar->CreateZoneStratum(Strata());
    ASSERT_GT(bar->CreateZone(kSet, *slip), 0);

    double h = inserted;
    double h2 = 0;
    if (c.kind == kBelow) std::swap(h, h2);
    CDPoint crossing;
    const bool crosses = bar->FindZoneSlidePoint(kSet, &crossing);
    EXPECT_EQ(crosses, c.kind == kAcross);
    if (c.kind == kAcross) {
      const CDPoint tail = HandTail(c.head, c.side, c.alpha, inserted);
      const CDPoint p = LineCrossing(c.head, tail, slipFrom, slipTo);
      ExpectPoint(crossing, p);
      // The bars run down into the ground: the part beyond the crossing is anchored.
      h = HandRound(std::hypot(p.x - c.head.x, p.y - c.head.y));
      h2 = HandRound(inserted - h);
    }
    EXPECT_NEAR(bar->GetH(kSet), h, 1e-9);
    EXPECT_NEAR(bar->GetH2(kSet), h2, 1e-9);
    ExpectZonesAddUp(*bar);
  }
}

TEST_F(ReinforceZoneTest, ACrossingOnAStratumBoundarySplitsNoZone) {
  // The slip line runs along the upper stratum boundary from x = 6 to 24.
  const auto slip = StraightSlip(CDPoint(0, -7), CDPoint(30, 18));
  const CDPoint head(12, 5);
  const auto bar = MakeBar(1, 1, head, 30, 8, 0);
  ASSERT_EQ(bar->CreateZoneStratum(Strata()), 3);
  ASSERT_EQ(bar->CreateZone(kSet, *slip), 3);

  const CDPoint tail = HandTail(head, 1, 30, 8);
  const CDPoint upper = LineCrossing(head, tail, CDPoint(12, 3), CDPoint(18, 8));
  const CDPoint lower = LineCrossing(head, tail, CDPoint(12, 0), CDPoint(18, 5));
  const double h = HandRound(std::hypot(upper.x - head.x, upper.y - head.y));
  const double h2 = HandRound(8 - h);
  EXPECT_NEAR(bar->GetH(kSet), h, 1e-9);
  EXPECT_NEAR(bar->GetH2(kSet), h2, 1e-9);

  const double middle = HandRound(std::hypot(lower.x - upper.x, lower.y - upper.y));
  const struct {
    int region;
    double length;
  } expected[] = {{kL1, h}, {kL2, middle}, {kL2, HandRound(h2 - middle)}};
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(bar->GetZone(kSet, i).region, expected[i].region) << "zone " << i;
    EXPECT_NEAR(bar->GetZone(kSet, i).length, expected[i].length, 1e-9) << "zone " << i;
  }
  EXPECT_EQ(bar->FindZoneSlideID(kSet), 1);
  ExpectPoint(bar->GetZone(kSet, 0).end, upper);
}

TEST_F(ReinforceZoneTest, AVerticalBarIsCutAtTheSlipSurfaceLikeAnyOther) {
  // Straight down from (12, 5); the slip line is at y = 4 there, the boundaries at 3 and 0.
  const auto slip = StraightSlip(CDPoint(0, -4), CDPoint(30, 16));
  const auto bar = MakeBar(1, 1, CDPoint(12, 5), 90, 8, 0);
  ASSERT_EQ(bar->CreateZoneStratum(Strata()), 3);
  ASSERT_EQ(bar->CreateZone(kSet, *slip), 4);
  EXPECT_NEAR(bar->GetH(kSet), 1, 1e-9);
  EXPECT_NEAR(bar->GetH2(kSet), 7, 1e-9);
  const struct {
    double startY;
    int region;
    double length;
  } expected[] = {{5, kL1, 1}, {4, kL2, 1}, {3, kL2, 3}, {0, kL2, 3}};
  for (int i = 0; i < 4; ++i) {
    const CReinfZone& zone = bar->GetZone(kSet, i);
    EXPECT_NEAR(zone.start.y, expected[i].startY, 1e-9) << "zone " << i;
    EXPECT_EQ(zone.region, expected[i].region) << "zone " << i;
    EXPECT_NEAR(zone.length, expected[i].length, 1e-9) << "zone " << i;
  }
}

TEST_F(ReinforceZoneTest, ASlipSurfaceThatDoesNotReachTheBarCountsAsAbove) {
  const auto slip = StraightSlip(CDPoint(100, 0), CDPoint(130, 10));
  const auto bar = MakeBar(1, 1, CDPoint(12, 5), 30, 8, 0.5);
  bar->CreateZoneStratum(Strata());
  ASSERT_EQ(bar->CreateZone(kSet, *slip), 3);
  EXPECT_EQ(bar->GetH(kSet), 0);
  EXPECT_EQ(bar->GetH2(kSet), 7.5);
  EXPECT_EQ(bar->FindZoneSlideID(kSet), -1);
  CDPoint none;
  EXPECT_FALSE(bar->FindZoneSlidePoint(kSet, &none));
  for (int i = 0; i < 3; ++i) EXPECT_EQ(bar->GetZone(kSet, i).region, kL2);
  ExpectZonesAddUp(*bar);
}

TEST_F(ReinforceZoneTest, ABarWithoutHeadGetsNoZonesAndNoLengths) {
  const auto slip = StraightSlip(CDPoint(0, -4), CDPoint(30, 16));
  const auto bar = MakeBar(1, 1, CDPoint(12, 5), 30, 8, 0.5);
  bar->CreateZoneStratum(Strata());
  bar->CreateZone(kSet, *slip);
  ASSERT_NE(bar->GetH(kSet), kNoValue);
  bar->head = CDPoint();
  EXPECT_EQ(bar->CreateZoneStratum(Strata()), 0);
  EXPECT_EQ(bar->CreateZone(kSet, *slip), 0);
  EXPECT_EQ(bar->GetH(kSet), kNoValue);
  EXPECT_EQ(bar->GetH2(kSet), kNoValue);
}

TEST_F(ReinforceZoneTest, ClearResEmptiesOneSetOnly) {
  const auto slip = StraightSlip(CDPoint(0, -4), CDPoint(30, 16));
  const auto bar = MakeBar(1, 1, CDPoint(12, 5), 30, 8, 0.5);
  bar->CreateZoneStratum(Strata());
  bar->CreateZone(0, *slip);
  bar->CreateZone(kSet, *slip);
  bar->GetResult(kSet).Tsa = 69.678;

  bar->ClearRes(kSet);
  EXPECT_EQ(bar->GetResult(kSet), CReinforce::Result());
  EXPECT_EQ(bar->GetZoneSize(kSet), 0);
  EXPECT_EQ(bar->GetZoneSize(0), 4);
  EXPECT_EQ(bar->GetZoneStratumSize(), 3);
  bar->RemoveAll();
  EXPECT_EQ(bar->GetZoneSize(0), 0);
  EXPECT_EQ(bar->GetZoneStratumSize(), 0);
}

}  // namespace
