#include <gtest/gtest.h>

#include <cmath>
#include <initializer_list>
#include <memory>
#include <numbers>
#include <string>
#include <vector>

#include "core/base/CoreConfig.h"
#include "core/base/CoreSettings.h"
#include "core/geometry/DPolyArray.h"
#include "core/model/Danmen.h"
#include "core/section/SpGround.h"
#include "core/section/SpLoad.h"
#include "core/section/SpSlideWork.h"
#include "core/section/SpStratum.h"
#include "core/section/SpWater.h"
#include "core/stability/Block.h"

namespace {

constexpr double kNo = kNoValue;
constexpr double kPi = std::numbers::pi;

struct Soil {
  double gammaT;
  double gammaSat;
  double c;
  double phi;
};

// A stratum polygon with the soil and, when given, the outline.
std::unique_ptr<CSpStratumBlock> Stratum(const std::string& name, const Soil& soil,
                                         std::initializer_list<CDPoint> outline = {}) {
  auto stratum = std::make_unique<CSpStratumBlock>();
  stratum->SetName(name);
  tagSATURATE& values = *stratum->GetPropStructure();
  values.gammaT = soil.gammaT;
  values.gammaSat = soil.gammaSat;
  values.c = soil.c;
  values.phi = soil.phi;
  for (const CDPoint& p : outline) stratum->Add(p);
  return stratum;
}

// The area and centroid of a quadrilateral (corners in order), from the polygon formulas.
struct Quad {
  CDPoint a, b, c, d;

  double Area() const {
    double twice = 0;
    ForEdge([&twice](const CDPoint& p, const CDPoint& q) { twice += p.x * q.y - q.x * p.y; });
    return twice / 2;
  }
  CDPoint Centroid() const {
    double cx = 0;
    double cy = 0;
    ForEdge([&](const CDPoint& p, const CDPoint& q) {
      const double cross = p.x * q.y - q.x * p.y;
      cx += (p.x + q.x) * cross;
      cy += (p.y + q.y) * cross;
    });
    return CDPoint(cx / (6 * Area()), cy / (6 * Area()));
  }
  template <typename F>
  void ForEdge(F f) const {
    const CDPoint corners[] = {a, b, c, d};
    for (int i = 0; i < 4; ++i) f(corners[i], corners[(i + 1) % 4]);
  }
};

class BlockTest : public testing::Test {
 protected:
  BlockTest() {
    tagCALCCONDITION cond;
    cond.water = 1;
    cond.gammaW = 10;
    section_.SetCalcCond(cond);
  }

  // A block from x = 0 to 4.0004: the top (10.0002 | 12.0004) in the upper stratum, its boundary
  // with the lower stratum at (7.0001 | 8.0003) and a straight base at (2 | 4). The water table at
  // (5 | 6) lies in the lower stratum.
  CBlock TwoLayerBlock() const {
    CBlock block;
    block.SetDanmenStab(&section_);
    block.SetLeftRightX(0, 4.0004);
    block.AddDEVY({10.0002, 12.0004, upper_.get(), 0});
    block.AddDEVY({7.0001, 8.0003, lower_.get(), 0});
    block.AddDEVY({2, 4, &base_, 0});
    block.SetWaterLev({{5, 6, &water_, 0}});
    return block;
  }

  // A block over [left, right] of the given entries, linked to the section.
  CBlock Block(double left, double right, std::initializer_list<tagDEVY> entries) const {
    CBlock block;
    block.SetDanmenStab(&section_);
    block.SetLeftRightX(left, right);
    for (const tagDEVY& e : entries) block.AddDEVY(e);
    return block;
  }

  // The calculations round as a new document does, whatever an earlier test left behind.
  const ScopedEnableRound rounding_{1};
  CDanmenStab section_;
  std::unique_ptr<CSpStratumBlock> upper_ = Stratum("上層", {18.3, 19.1, 5, 30});
  std::unique_ptr<CSpStratumBlock> lower_ = Stratum("下層", {17.7, 20.3, 8, 25});
  CSpWater water_;
  CSpSlideWork base_;
};

// ---- The hand calculation of a block of two layers crossing the water table ----

class BlockHandCalcTest : public BlockTest, public testing::WithParamInterface<int> {};

TEST_P(BlockHandCalcTest, WeightPoreWaterCentroidAndHeightFactor) {
  const int rounding = GetParam();
  const ScopedEnableRound setting(rounding);
  const CBlock block = TwoLayerBlock();

  // The water level went in as a boundary of the lower stratum.
  ASSERT_EQ(block.GetDEVYsize(), 4);
  EXPECT_EQ(block.GetLeftY(2), 5);
  EXPECT_EQ(block.GetRightY(2), 6);
  EXPECT_EQ(block.GetIndexDEVY(2)->shape, lower_.get());

  // The three layers as quadrilaterals: above the boundary moist upper soil, between boundary
  // and water moist lower soil, under the water saturated lower soil.
  const double b = 4.0004;
  const Quad layers[] = {
      {{0, 10.0002}, {0, 7.0001}, {b, 8.0003}, {b, 12.0004}},
      {{0, 7.0001}, {0, 5}, {b, 6}, {b, 8.0003}},
      {{0, 5}, {0, 2}, {b, 4}, {b, 6}},
  };
  const double gammas[] = {18.3, 17.7, 20.3};
  // With rounding the heights become 3 | 4, 2 | 2 and 3 | 2, the width 4: areas 14, 8 and 10,
  // weights 18.3 * 14 = 256.2, 17.7 * 8 = 141.6 and 20.3 * 10 = 203.
  const double roundedAreas[] = {14, 8, 10};
  const double roundedWeights[] = {256.2, 141.6, 203};
  double total = 0;
  for (int i = 0; i < 3; ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(block.GetGamma(i, 0), gammas[i]);
    if (rounding != 0) {
      EXPECT_DOUBLE_EQ(block.GetArea(i), roundedAreas[i]);
      EXPECT_DOUBLE_EQ(block.GetWeight(i), roundedWeights[i]);
    } else {
      EXPECT_NEAR(block.GetArea(i), layers[i].Area(), 1e-12);
      EXPECT_NEAR(block.GetWeight(i), gammas[i] * layers[i].Area(), 1e-11);
    }
    total += block.GetWeight(i);
  }
  EXPECT_EQ(block.GetWeight(3), 0);  // the last index, without an arc
  EXPECT_DOUBLE_EQ(block.GetWeight(-1), rounding != 0 ? 600.8 : total);

  // Pore water: the mean water height over the base is (3 + 2) / 2 = 2.5; the base rises by 2.
  const double cosBase = b / std::hypot(b, 2);
  EXPECT_DOUBLE_EQ(block.GetDepthWtoS(), 2.5);
  if (rounding != 0) {
    EXPECT_DOUBLE_EQ(block.GetU(), 89.445);  // 10 * 2.5 * 4 * 0.894445077
  } else {
    EXPECT_NEAR(block.GetU(), 10 * 2.5 * b * cosBase, 1e-11);
  }

  // The centroid of the unrounded layer weights, the same with rounding on and off.
  double sumW = 0;
  double sumX = 0;
  double sumY = 0;
  for (int i = 0; i < 3; ++i) {
    const double w = gammas[i] * layers[i].Area();
    sumW += w;
    sumX += w * layers[i].Centroid().x;
    sumY += w * layers[i].Centroid().y;
  }
  const CDPoint centroid = block.TotalJuushin(0);
  EXPECT_NEAR(centroid.x, sumX / sumW, 1e-12);
  EXPECT_NEAR(centroid.y, sumY / sumW, 1e-12);
  // Top 20 and reference 0 are less than 100 apart: 2 - (20 - z) / 20.
  EXPECT_NEAR(block.GetCoffkh(20, 0), 2 - (20 - sumY / sumW) / 20, 1e-12);
  EXPECT_EQ(CCoreConfig::GetEnableRound(), rounding);
}

INSTANTIATE_TEST_SUITE_P(RoundingOnAndOff, BlockHandCalcTest, testing::Values(1, 0),
                         [](const testing::TestParamInfo<int>& param) {
                           return param.param != 0 ? std::string("RoundingOn") : "RoundingOff";
                         });

TEST_F(BlockTest, LayerHeightsAndDepthsAreRounded) {
  const CBlock block = TwoLayerBlock();
  EXPECT_DOUBLE_EQ(block.GetTisoHtLeft(0), 3.0);   // 3.0001
  EXPECT_DOUBLE_EQ(block.GetTisoHtRight(1), 2.0);  // 8.0003 - 6
  EXPECT_EQ(block.GetTisoHtLeft(-1), 0);
  EXPECT_EQ(block.GetTisoHtLeft(3), 0);          // no entry below the base
  EXPECT_DOUBLE_EQ(block.GetDepthLeft(), 8.0);   // 3 + 2 + 3
  EXPECT_DOUBLE_EQ(block.GetDepthRight(), 8.0);  // 4 + 2 + 2
  EXPECT_DOUBLE_EQ(block.GetWidth(), 4.0);
  EXPECT_DOUBLE_EQ(block.GetH(false), 8.0002);  // unrounded
  EXPECT_DOUBLE_EQ(block.GetLength(), std::round(std::hypot(4.0004, 2) * 1000) / 1000);
}

// ---- Boundary list ----

TEST_F(BlockTest, CoincidentStratumBoundariesLeaveTheEntryThatContinuesTheBoundaryAbove) {
  // The lower stratum's entries come first, and its top lies 1e-7 above the upper stratum's
  // bottom: the order alone would put it first, the tie pass puts the upper bottom first.
  CBlock block = Block(0, 2,
                       {{5 + 1e-7, 6, lower_.get(), 0},
                        {1, 2, lower_.get(), 0},
                        {9, 9, upper_.get(), 0},
                        {5, 6, upper_.get(), 0}});
  block.SortDEVY();
  ASSERT_EQ(block.GetDEVYsize(), 4);
  EXPECT_EQ(block.GetLeftY(1), 5);
  EXPECT_EQ(block.GetIndexDEVY(1)->shape, upper_.get());
  EXPECT_EQ(block.GetIndexDEVY(2)->shape, lower_.get());
  block.DelSameDEVY();
  ASSERT_EQ(block.GetDEVYsize(), 3);
  EXPECT_EQ(block.GetLeftY(0), 9);
  EXPECT_EQ(block.GetLeftY(1), 5);
  EXPECT_EQ(block.GetIndexDEVY(1)->shape, upper_.get());
  EXPECT_EQ(block.GetLeftY(2), 1);
}

TEST_F(BlockTest, DelSameDEVYDropsABaseOnTheTopBoundaryOnlyWithoutArc) {
  // The first pair has no shape before it to continue: only the last-pair rule applies.
  CBlock block = Block(0, 2, {{4, 4, upper_.get(), 0}, {4 + 1e-6, 4, &base_, 0}});
  CBlock withArc = block;
  withArc.SetBaseArc(std::make_unique<CDArc>(1.0, 10.0, 9.0, 0.0, 1.0));
  block.DelSameDEVY();
  withArc.DelSameDEVY();
  EXPECT_EQ(block.GetDEVYsize(), 1);
  EXPECT_EQ(withArc.GetDEVYsize(), 2);
}

TEST_F(BlockTest, SetHangLinksLayersToTheirPolygonAndMarksVoids) {
  const auto upper = Stratum("上層", {18, 19, 0, 30}, {{0, 10}, {0, 5}, {4, 5}, {4, 10}, {0, 10}});
  const auto lower = Stratum("下層", {17, 20, 0, 30}, {{0, 5}, {0, 0}, {4, 0}, {4, 5}, {0, 5}});
  CDPolyArray strata;
  strata.Add(upper->Copy());
  strata.Add(lower->Copy());
  const CDPoly* a = strata.GetAt(0);
  const CDPoly* b = strata.GetAt(1);
  // The boundary at 5 kept the upper stratum's link, and the water level at 3 inserted under it
  // took that link too: both layers lie in the lower stratum.
  CBlock block = Block(1, 3, {{10, 10, a, 0}, {5, 5, a, 0}, {3, 3, a, 0}, {0, 0, &base_, 0}});
  block.SetHang(&strata);
  EXPECT_EQ(block.GetIndexDEVY(1)->shape, b);
  EXPECT_EQ(block.GetIndexDEVY(2)->shape, b);
  EXPECT_FALSE(block.IsHang(1));

  // Without the lower polygon the layers under 5 lie in none: voids that weigh nothing.
  CDPolyArray upperOnly;
  upperOnly.Add(upper->Copy());
  CBlock voids = Block(1, 3, {{10, 10, a, 0}, {5, 5, a, 0}, {0, 0, &base_, 0}});
  voids.SetHang(&upperOnly);
  EXPECT_TRUE(voids.IsHang(1));
  EXPECT_FALSE(voids.IsHang(0));
  EXPECT_FALSE(voids.IsHang(2));
  EXPECT_EQ(voids.GetGamma(1, 0), 0);
  EXPECT_EQ(voids.GetWeight(1), 0);
}

TEST_F(BlockTest, SearchDevyStratumLooksUpwardFromTheEntry) {
  const CBlock block = Block(
      0, 2,
      {{9, 9, upper_.get(), 0}, {7, 7, &water_, 0}, {4, 4, lower_.get(), 0}, {1, 1, &base_, 0}});
  EXPECT_EQ(block.SearchDevyStratum(0), upper_.get());
  EXPECT_EQ(block.SearchDevyStratum(1), upper_.get());
  EXPECT_EQ(block.SearchDevyStratum(3), lower_.get());
  EXPECT_EQ(block.SearchDevyStratum(4), nullptr);
  EXPECT_EQ(block.SearchDevyStratum(-1), nullptr);
  EXPECT_EQ(block.SearchCrackDevy(), 1);
  EXPECT_EQ(block.IsCrackDevy(1), 1);
  EXPECT_EQ(block.IsCrackDevy(2), 0);
  EXPECT_EQ(block.GetTisoCount(), 3);
}

TEST_F(BlockTest, SetDEVMatShapeLinksTheFirstEntryOfEqualHeights) {
  CBlock block = Block(0, 2, {{9, 9, nullptr, 0}, {4, 5, nullptr, 0}, {4, 5, nullptr, 0}});
  block.SetDEVMatShape(std::vector<tagDEVY>{{4, 5, lower_.get(), 0}, {9, 9.5, upper_.get(), 0}});
  EXPECT_EQ(block.GetIndexDEVY(0)->shape, nullptr);
  EXPECT_EQ(block.GetIndexDEVY(1)->shape, lower_.get());
  EXPECT_EQ(block.GetIndexDEVY(2)->shape, nullptr);
}

// ---- Weight, arcs and centroids ----

// The arc of the circle about (cx, 10) with radius 10 under [left, right].
std::unique_ptr<CDArc> ArcUnder(double cx, double left, double right) {
  return CDArc(cx, 10.0, 10.0, 0.0, 0.0).TrimCopy(left, right);
}

TEST_F(BlockTest, ArcSegmentEntersTheWeightAndTheCentroid) {
  const ScopedEnableRound unrounded(0);
  // A block over [0, 4] under the circle about (2, 10): the chord lies at 10 - sqrt(96).
  const double chord = 10 - std::sqrt(96.0);
  CBlock block = Block(0, 4, {{12, 12, upper_.get(), 0}, {chord, chord, &base_, 0}});
  const double layer = 18.3 * 4 * (12 - chord);
  EXPECT_EQ(block.GetWeight(1), 0);
  EXPECT_NEAR(block.GetWeight(-1), layer, 1e-9);
  EXPECT_NEAR(block.TotalJuushin(0).y, (12 + chord) / 2, 1e-12);

  block.SetBaseArc(ArcUnder(2, 0, 4));
  // The segment: sweep theta = 2 asin(0.2), area R^2 / 2 (theta - sin theta), its centroid
  // 4 R sin^3(theta / 2) / (3 (theta - sin theta)) below the centre.
  const double theta = 2 * std::asin(0.2);
  const double segment = 100.0 / 2 * (theta - std::sin(theta));
  const double segmentY = 10 - 40 * std::pow(0.2, 3) / (3 * (theta - std::sin(theta)));
  EXPECT_NEAR(block.GetKoArea(), segment, 1e-12);
  EXPECT_NEAR(block.GetWeight(1), 18.3 * segment, 1e-12);
  EXPECT_NEAR(block.GetWeight(-1), layer + 18.3 * segment, 1e-9);
  const double expectedY =
      (layer * (12 + chord) / 2 + 18.3 * segment * segmentY) / (layer + 18.3 * segment);
  EXPECT_NEAR(block.TotalJuushin(0).y, expectedY, 1e-12);
  EXPECT_NEAR(block.TotalJuushin(0).x, 2, 1e-12);
  // Base along the arc; level under the centroid.
  EXPECT_NEAR(block.GetLength(), 10 * theta, 1e-12);
  EXPECT_NEAR(block.GetBottomAngle(), 0, 1e-12);
  EXPECT_NEAR(block.GetCenterBottomY(), 0, 1e-12);
}

TEST_F(BlockTest, BlockOfNoWeightHasNoCentroidAndTakesItsMiddle) {
  // Layers without a stratum and no water level weigh nothing.
  CBlock block =
      Block(1, 3, {{12, 12, nullptr, 0}, {10 - std::sqrt(99.0), 10 - std::sqrt(91.0), nullptr, 0}});
  block.SetBaseArc(ArcUnder(0, 1, 3));
  ASSERT_EQ(block.GetWeight(-1), 0);
  EXPECT_FALSE(block.TotalJuushin(0).IsValid());
  // The tangent of the circle about (0, 10) at x = 2, not the -45 degrees of x = -9e32.
  const double expected = std::atan2(-std::sqrt(96.0), 2) + kPi / 2;
  EXPECT_NEAR(block.GetBottomAngle(), expected, 1e-12);
  EXPECT_DOUBLE_EQ(block.GetBottomAngle(), block.GetBottomAngle(2.0));
  EXPECT_EQ(block.GetCoffkh(20, 0), 1);
}

struct CoffkhCase {
  const char* name;
  double top;
  double reference;
  double centroid;
  double factor;
};

class BlockCoffkhTest : public BlockTest, public testing::WithParamInterface<CoffkhCase> {};

TEST_P(BlockCoffkhTest, FallsFromTwoAtTheTopToOneAtTheReference) {
  const CoffkhCase& c = GetParam();
  // One rectangular layer whose centroid lies at c.centroid.
  const CBlock block = Block(0, 2,
                             {{c.centroid + 1, c.centroid + 1, upper_.get(), 0},
                              {c.centroid - 1, c.centroid - 1, &base_, 0}});
  EXPECT_DOUBLE_EQ(block.GetCoffkh(c.top, c.reference), c.factor);
}

INSTANTIATE_TEST_SUITE_P(Cases, BlockCoffkhTest,
                         testing::Values(CoffkhCase{"AtTheReference", 10, 4, 4, 1},  // 2 - H / H
                                         CoffkhCase{"BelowTheReference", 10, 4, 3, 1},
                                         CoffkhCase{"QuarterDown", 20, 0, 15, 1.75},  // 2 - 5 / 20
                                         CoffkhCase{"Tall30BelowTop", 150, 0, 120, 1.7},
                                         CoffkhCase{"Tall120BelowTop", 150, 0, 30, 1}),
                         [](const testing::TestParamInfo<CoffkhCase>& param) {
                           return param.param.name;
                         });

TEST_F(BlockTest, GammaByKindAndWaterLayers) {
  const CBlock block = TwoLayerBlock();
  EXPECT_EQ(block.GetGamma(0, 1), 18.3);
  EXPECT_EQ(block.GetGamma(0, 2), 19.1);
  EXPECT_EQ(block.GetGamma(0, 7), 0);
  EXPECT_EQ(block.GetGamma(3, 0), block.GetGamma(2, 0));  // the last index counts as the one above
  EXPECT_EQ(block.GetGamma_res(2, 0), 20.3);
  EXPECT_TRUE(block.IsMoist(1));
  EXPECT_FALSE(block.IsMoist(2));  // at the water level

  // A layer under an entry without a shape is water while the block has a water level.
  CBlock pond = Block(0, 2, {{8, 8, nullptr, 0}, {5, 5, upper_.get(), 0}, {1, 1, &base_, 0}});
  EXPECT_EQ(pond.GetGamma(0, 0), 0);
  pond.SetWaterLevStWL({}, 8);
  pond.DelSameDEVY();
  EXPECT_EQ(pond.GetGamma(0, 0), 10);
}

TEST_F(BlockTest, SubmergedBlockHasPondedWaterNamedWater) {
  CBlock block = Block(0, 2, {{8, 8, nullptr, 0}, {5, 5, upper_.get(), 0}, {1, 1, &base_, 0}});
  block.SetWaterLevStWL({}, 8);
  block.DelSameDEVY();  // the level went in on the top entry
  ASSERT_EQ(block.GetDEVYsize(), 3);
  EXPECT_TRUE(block.IsSuibotu());
  EXPECT_TRUE(block.IsExtendedWater());
  EXPECT_DOUBLE_EQ(block.GetTansuiArea(), 6);  // (8 - 5) * 2
  EXPECT_EQ(block.GetTisoName(0), "水");
  EXPECT_EQ(block.GetTisoName(1), "上層");
  EXPECT_EQ(block.GetTisoName(2), "上層");
  EXPECT_EQ(block.GetTisoName(3), "-");
  EXPECT_EQ(block.GetTisoName(-1), "-");
}

// ---- Water ----

TEST_F(BlockTest, WaterLevelIsKeptBetweenBaseAndTop) {
  struct Case {
    const char* name;
    tagDEVY record;
    double left;
    double right;
  };
  const Case cases[] = {
      {"Inside", {5, 6, &water_, 0}, 5, 6},
      {"AboveTheTop", {11, 13, &water_, 0}, 10.0002, 12.0004},
      {"UnderTheBaseOnOneCut", {1, 5, &water_, 0}, 2, 5},
      {"UnderTheBase", {1, 3, &water_, 0}, kNo, kNo},
      {"Unset", {kNo, 3, &water_, 0}, kNo, kNo},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    CBlock block = Block(0, 4.0004, {{10.0002, 12.0004, upper_.get(), 0}, {2, 4, &base_, 0}});
    block.SetWaterLev({c.record});
    double left = 0;
    double right = 0;
    block.GetWaterLev(left, right);
    EXPECT_EQ(left, c.left);
    EXPECT_EQ(right, c.right);
    EXPECT_EQ(block.GetWaterEntry().shape, c.left == kNo ? nullptr : &water_);
  }
  CBlock dry = Block(0, 2, {{9, 9, upper_.get(), 0}, {2, 2, &base_, 0}});
  dry.SetWaterLev({});
  EXPECT_EQ(dry.GetWaterEntry().leftY, kNo);
  EXPECT_EQ(dry.GetDEVYsize(), 2);
}

struct PoreWaterCase {
  const char* name;
  double level;   // the water level on both cuts
  bool waterOn;   // the section's water switch
  double depth;   // GetDepthWtoS
  bool pressure;  // GetU and GetEndU are not 0
};

class BlockPoreWaterTest : public BlockTest, public testing::WithParamInterface<PoreWaterCase> {};

// A block with its base at 2 on both cuts.
TEST_P(BlockPoreWaterTest, NoPorePressureWithoutWaterOverTheBaseOrWithTheSwitchOff) {
  const PoreWaterCase& c = GetParam();
  const ScopedEnableRound unrounded(0);
  tagCALCCONDITION cond = section_.GetCalcCond();
  cond.water = c.waterOn ? 1 : 0;
  section_.SetCalcCond(cond);
  CBlock block = Block(0, 2, {{9, 11, upper_.get(), 0}, {2, 2, &base_, 0}});
  block.SetWaterLevStWL({}, c.level);
  EXPECT_NEAR(block.GetDepthWtoS(), c.depth, 1e-12);
  if (c.pressure) {
    EXPECT_NEAR(block.GetU(), 10 * c.depth * 2, 1e-9);
    EXPECT_NEAR(block.GetEndU(true), 10 * c.depth * 2 * std::cos(std::atan2(2 - 9, 2)), 1e-9);
    EXPECT_NEAR(block.GetEndU(false), 10 * c.depth * 2 * std::cos(std::atan2(11 - 2, 2)), 1e-9);
  } else {
    EXPECT_EQ(block.GetU(), 0);
    EXPECT_EQ(block.GetEndU(true), 0);
    EXPECT_EQ(block.GetEndU(false), 0);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, BlockPoreWaterTest,
    testing::Values(PoreWaterCase{"Water3AboveTheBase", 5, true, 3, true},
                    PoreWaterCase{"SwitchOff", 5, false, 3, false},
                    PoreWaterCase{"SlightlyUnderTheBase", 2 - 0.5e-5, true, -0.5e-5, false},
                    PoreWaterCase{"AtLeast1e5UnderTheBase", 2 - 1e-5, true, -1, false}),
    [](const testing::TestParamInfo<PoreWaterCase>& param) { return param.param.name; });

TEST_F(BlockTest, WaterUnderTheBaseOnOneCutGivesNoPorePressure) {
  CBlock block = Block(0, 2, {{9, 9, upper_.get(), 0}, {2, 4, &base_, 0}});
  block.SetWaterLevStWL({}, 3);
  EXPECT_EQ(block.GetDepthWtoS(), -1);
  EXPECT_EQ(block.GetU(), 0);
  EXPECT_EQ(block.GetEndU(true), 0);
}

TEST_F(BlockTest, WaterLevelFromAPointCoversOneSideOfIt) {
  for (const int side : {0, 1}) {
    SCOPED_TRACE(side);
    // The point at x = 3 with its flag: 0 covers the blocks left of it, others those right of it.
    CBlock left = Block(0, 3, {{9, 9, upper_.get(), 0}, {1, 1, &base_, 0}});
    CBlock right = Block(3, 5, {{9, 9, upper_.get(), 0}, {1, 1, &base_, 0}});
    left.SetWaterLevCrWL({}, CDPoint(3, 4, side));
    right.SetWaterLevCrWL({}, CDPoint(3, 4, side));
    EXPECT_EQ(left.GetWaterEntry().leftY, side == 0 ? 4 : kNo);
    EXPECT_EQ(right.GetWaterEntry().leftY, side == 0 ? kNo : 4);
    EXPECT_EQ((side == 0 ? left : right).GetDEVYsize(), 3);
  }
}

// ---- End face ----

TEST_F(BlockTest, EndFaceIsTheTriangleCutOffByTheDiagonal) {
  const ScopedEnableRound unrounded(0);
  // Top (6 | 9), base (0 | 3), width 3. Side true: triangle (0, 6), (3, 9), (3, 3); side false:
  // (0, 6), (3, 9), (0, 0).
  const CBlock block = Block(0, 3, {{6, 9, upper_.get(), 0}, {0, 3, &base_, 0}});
  EXPECT_DOUBLE_EQ(block.GetEndArea(true, -1), 0.5 * 3 * 6);
  EXPECT_DOUBLE_EQ(block.GetEndArea(false, -1), 0.5 * 3 * 6);
  EXPECT_DOUBLE_EQ(block.GetEndWeight(true, -1), 18.3 * 9);
  EXPECT_DOUBLE_EQ(block.GetEndLength(true), std::hypot(3 - 6, 3));
  EXPECT_DOUBLE_EQ(block.GetEndLength(false), std::hypot(9 - 0, 3));
  EXPECT_DOUBLE_EQ(block.GetEndAngle(true), -kPi / 4);
  EXPECT_DOUBLE_EQ(block.GetEndAngle(false), std::atan2(9, 3));
  EXPECT_DOUBLE_EQ(block.GetEndJuushinY(true), (6 + 9 + 3) / 3.0);
  EXPECT_DOUBLE_EQ(block.GetEndJuushinY(false), (6 + 9 + 0) / 3.0);
  // Top 10, reference 0: 2 - (10 - 6) / 10.
  EXPECT_DOUBLE_EQ(block.GetEndCoffkh(true, 10, 0), 1.6);

  // A cut of no height has no end body.
  const CBlock wedge = Block(0, 3, {{6, 3, upper_.get(), 0}, {0, 3, &base_, 0}});
  EXPECT_EQ(wedge.GetEndJuushinY(true), kNo);
  EXPECT_EQ(wedge.GetEndCoffkh(true, 10, 0), 1);
}

// ---- Strength, surcharge, points, copies ----

TEST_F(BlockTest, BaseStrengthByStrengthType) {
  struct Case {
    int type;
    int extraInt;
    double c;
    double phi;
    int gyaku;
  };
  // Outputs preset to 7 and 8: types that take nothing from the stratum leave them.
  const Case cases[] = {
      {2, 0, 8, 25, 0}, {3, 0, 0, 25, 0}, {3, 1, 0, 25, 1},
      {0, 0, 7, 8, 1},  {1, 0, 7, 8, 1},  {5, 1, 7, 8, 1},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.type);
    lower_->SetExtraInt(k.extraInt);
    CBlock block = TwoLayerBlock();
    block.SetStrengthType(k.type, 2);
    double c = 7;
    double phi = 8;
    EXPECT_TRUE(block.GetCF(c, phi));
    EXPECT_EQ(c, k.c);
    EXPECT_EQ(phi, k.phi);
    EXPECT_EQ(block.IsGyaku(), k.gyaku);
  }
  CBlock none = Block(0, 2, {{9, 9, nullptr, 0}, {1, 1, &base_, 0}});
  none.SetStrengthType(2, 2);
  double c = 7;
  double phi = 8;
  EXPECT_FALSE(none.GetCF(c, phi));
  EXPECT_EQ(c, kNo);
  EXPECT_EQ(phi, kNo);
  EXPECT_EQ(none.IsGyaku(), 0);
}

TEST_F(BlockTest, SurchargeSumsFollowTheLoadCases) {
  CDPolyArray loads;
  auto load = std::make_unique<CSpLoad>();
  load->SetQ1(10);
  load->SetQ2(10);
  load->SetX1(-10);
  load->SetX2(10);
  load->SetQuakeCaseOn(0);
  loads.Add(std::move(load));
  section_.SetAryLoad(&loads);
  CBlock block = TwoLayerBlock();
  block.GetResult().value[tagBLOCKRESULTSLICE::kBaseAngle] = 0;
  block.GetResult().LoadSum(1, 2) = 99;
  block.CalcKajuSeibun(true);
  // A vertical load of 10 over the width 4 on a level base: 40 down and normal to the base.
  const double expected[] = {0, 40, 40, 40, 0};
  for (int c = 0; c < 5; ++c) {
    EXPECT_NEAR(block.GetResult().LoadSum(0, c), expected[c], 1e-9) << c;
    EXPECT_EQ(block.GetResult().LoadSum(1, c), 0) << c;
  }
}

TEST_F(BlockTest, PointsOfAShapeAtTheCuts) {
  const CBlock block = TwoLayerBlock();
  const CSpGround ground;
  std::vector<CDPoint> points;
  EXPECT_EQ(block.GetPointLeft(&ground, points), 1);
  EXPECT_EQ(points[0].y, 10.0002);
  EXPECT_EQ(block.GetPointRight(&base_, points), 1);
  EXPECT_EQ(points[0].x, 4.0004);
  EXPECT_EQ(points[0].y, 4);
  EXPECT_EQ(block.GetPoint(true, &water_, points), 1);
  EXPECT_EQ(points[0].y, 5);
  EXPECT_EQ(block.GetPoint(false, lower_.get(), points), 2);  // its top and the water level
  EXPECT_EQ(points[1].y, 6);
  EXPECT_EQ(block.GetPoint(false, nullptr, points), 0);
  EXPECT_FALSE(block.GetPointLeft(4).IsValid());
  EXPECT_EQ(block.GetPointRight(1).y, 8.0003);
  EXPECT_DOUBLE_EQ(block.GetMiddleTop(0.3).y, (10.0002 + 12.0004) / 2 + 0.3);
}

TEST_F(BlockTest, CopyIsIndependentAndInitKeepsEntriesAndResult) {
  CBlock block = TwoLayerBlock();
  block.SetBaseArc(ArcUnder(2, 0, 4));
  block.GetResult().value[0] = 30;
  const CBlock copy = block;
  block.SetBaseArc(nullptr);
  block.AddDEVY({0, 0, nullptr, 0});
  ASSERT_NE(copy.GetBaseArc(), nullptr);
  EXPECT_EQ(copy.GetDEVYsize(), 4);
  EXPECT_EQ(copy.GetDanmenStab(), &section_);

  block.Init();
  EXPECT_EQ(block.GetDEVYsize(), 5);
  EXPECT_EQ(block.GetResult().value[0], 30);
  EXPECT_EQ(block.GetLeftX(), kNo);
  EXPECT_EQ(block.GetDanmenStab(), nullptr);
  EXPECT_EQ(block.GetWaterEntry().leftY, kNo);
}

}  // namespace
