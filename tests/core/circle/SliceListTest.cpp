#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <memory>
#include <numbers>
#include <string>
#include <vector>

#include "core/base/CoreSettings.h"
#include "core/circle/SliceList.h"
#include "core/geometry/DPolyArray.h"
#include "core/geometry/ViewInfo.h"
#include "core/model/Danmen.h"
#include "core/section/SpGround.h"
#include "core/section/SpLoad.h"
#include "core/section/SpSlide.h"
#include "core/section/SpSlideWork.h"
#include "core/section/SpStratum.h"
#include "core/section/SpWater.h"
#include "platform/RecordingCanvas.h"
#include "tests/core/circle/OracleSlice.h"
#include "tests/core/circle/OracleSliceList.h"
#include "tests/support/DrawTestUtil.h"
#include "tests/support/PolyTestUtil.h"
#include "tests/support/SampleSection.h"

namespace {

constexpr double kPi = std::numbers::pi;

std::unique_ptr<CSpSlideWork> Straight(const std::vector<CDPoint>& points) {
  auto work = std::make_unique<CSpSlideWork>();
  for (const CDPoint& p : points) work->AddNewPoint(p, nullptr, kStrengthStratum);
  return work;
}

void SetSplit(CDanmenStab& section, int mode, double width) {
  tagCALCCONDITION cond = section.GetCalcCond();
  cond.extra3 = mode;
  cond.extra2 = width;
  section.SetCalcCond(cond);
}

std::vector<double> Xs(const CSliceList& list) {
  std::vector<double> xs;
  for (int i = 0; i < list.GetXSize(); ++i) xs.push_back(list.GetX(i));
  return xs;
}

// A flat ground at 10 without strata over which a surface runs: the division points are the
// surface's vertices.
class DivisionPointsTest : public testing::Test {
 protected:
  void SetUp() override {
    section.SetGround(ground.get());
    list.SetDanmenStab(&section);
  }

  std::unique_ptr<CSpGround> ground = MakePoly<CSpGround>({{-5, 10}, {15, 10}});
  CDanmenStab section;
  CSliceList list;
};

TEST_F(DivisionPointsTest, WideGapsAreSplitFromTheirLeftEnd) {
  struct Case {
    int mode;
    double width;
    std::vector<double> xs;
  };
  const Case cases[] = {
      {2, 3, {0, 3, 6, 9, 10}},
      {2, 5, {0, 5, 10}},  // 10 - 1e-5 keeps the 5 and stops before 10
      {2, 10, {0, 10}},
      {0, 3, {0, 10}},
      {1, 3, {0, 10}},  // only gaps under arc pieces: the surface is straight
      // A condition without a width splits nothing (and never loops).
      {2, 0, {0, 10}},
      {2, -1, {0, 10}},
      {2, kNoValue, {0, 10}},
  };
  const auto work = Straight({{0, 5}, {10, 5}});
  for (const Case& c : cases) {
    SetSplit(section, c.mode, c.width);
    EXPECT_EQ(list.SetXArray(nullptr, nullptr, *work), static_cast<int>(c.xs.size()));
    EXPECT_EQ(Xs(list), c.xs) << "mode " << c.mode << ", width " << c.width;
  }
}

TEST_F(DivisionPointsTest, GapsUnderArcPiecesAreSplitInModeOne) {
  // A straight piece from 0 to 4, then the lower half of the circle about (8, 5) of radius 4.
  auto work = std::make_unique<CSpSlideWork>();
  work->AddNewPoint(CDPoint(0, 5), nullptr, kStrengthStratum);
  work->AddNewPoint(CDPoint(4, 5), std::make_unique<CDArc>(8.0, 5.0, 4.0, kPi, 0.0),
                    kStrengthStratum);
  work->AddNewPoint(CDPoint(12, 5), nullptr, kStrengthStratum);
  SetSplit(section, 1, 3);
  list.SetXArray(nullptr, nullptr, *work);
  // The slip line made from the surface adds the arc's middle (8); the straight gap stays whole.
  const std::vector<double> expected{0, 4, 7, 8, 11, 12};
  const std::vector<double> xs = Xs(list);
  ASSERT_EQ(xs.size(), expected.size());
  for (std::size_t i = 0; i < xs.size(); ++i) EXPECT_NEAR(xs[i], expected[i], 1e-9) << i;
}

TEST_F(DivisionPointsTest, PointsCloserThanAHundredThousandthAreOne) {
  const auto work = Straight({{0, 5}, {5, 5}, {5.000005, 5}, {10, 5}});
  SetSplit(section, 0, 2);
  list.SetXArray(nullptr, nullptr, *work);
  EXPECT_EQ(Xs(list), (std::vector<double>{0, 5, 10}));
  list.RemoveOuter(1, 10);
  EXPECT_EQ(Xs(list), (std::vector<double>{5, 10}));
  EXPECT_EQ(list.GetX(2), kNoValue);
}

TEST_F(DivisionPointsTest, WithoutAGroundOrASurfaceNothingIsBuilt) {
  const auto shortSurface = Straight({{0, 5}});
  EXPECT_EQ(list.CreateSlice(nullptr, nullptr, shortSurface.get()), 0);
  EXPECT_EQ(list.GetSize(), 0);
  EXPECT_EQ(list.CreateSlice(nullptr, nullptr, nullptr), 0);  // the section has no surface

  CSliceList empty;
  double xmin = 1;
  double ymax = 1;
  double xmax = 1;
  double ymin = 1;
  empty.GetRect(xmin, ymax, xmax, ymin);
  EXPECT_EQ((std::vector<double>{xmin, ymax, xmax, ymin}), (std::vector<double>{0, 0, 0, 0}));
  EXPECT_EQ(empty.GetTotalWidth(), 0);
  EXPECT_EQ(empty.GetTotalHight(), 0);
  EXPECT_EQ(empty.GetTotalBottom(), kAreaNotSet);
  EXPECT_EQ(empty.GetKukanSize(), 0);
  EXPECT_EQ(empty.GetH(false), 0);
  EXPECT_EQ(empty.GetSlicePtr(0), nullptr);
  const auto work = Straight({{0, 5}, {10, 5}});
  EXPECT_EQ(empty.CreateSlice(nullptr, nullptr, work.get()), 0);  // no section, no ground
}

// ---- Slices of a trial circle through the sample section ----

// The circle through three points, found here independently of the code under test.
struct Circle {
  double cx, cy, r;
};

Circle Circumcircle(const CDPoint& a, const CDPoint& b, const CDPoint& c) {
  const double d = 2 * (a.x * (b.y - c.y) + b.x * (c.y - a.y) + c.x * (a.y - b.y));
  const double a2 = a.x * a.x + a.y * a.y;
  const double b2 = b.x * b.x + b.y * b.y;
  const double c2 = c.x * c.x + c.y * c.y;
  const double cx = (a2 * (b.y - c.y) + b2 * (c.y - a.y) + c2 * (a.y - b.y)) / d;
  const double cy = (a2 * (c.x - b.x) + b2 * (a.x - c.x) + c2 * (b.x - a.x)) / d;
  return {cx, cy, std::hypot(a.x - cx, a.y - cy)};
}

// Through the strata, under the water line: from the crest side (24, 15) through (14, 1) to the
// toe (3, 0).
const CDPoint kTop(24, 15);
const CDPoint kLow(14, 1);
const CDPoint kToe(3, 0);

class SampleSlicesTest : public testing::Test {
 protected:
  void SetUp() override {
    section.SendInfo(sample.section);
    slide.AddNewPoint(kTop, 1, kStrengthStratum);
    slide.AddNewPoint(kLow, 0, kStrengthStratum);
    slide.AddNewPoint(kToe, 0, kStrengthStratum);
    work = slide.CreateDrawObj();
    list.SetDanmenStab(&section);
  }

  // Divides again and expects what a new list divides, which differs from before.
  void ExpectToDivideAsANewListUnlike(const std::vector<double>& before);

  SampleSection sample = MakeSampleSection();
  CDanmenStab section;
  CSpSlide slide;
  std::unique_ptr<CSpSlideWork> work;
  CSliceList list;
};

// The area between the ground and the circle from the toe to the top: the ground against the
// chord, exactly, plus the circular segment under the chord.
double SlidingBodyArea() {
  const std::vector<CDPoint> ground = {kToe, {6, 0}, {12, 5}, {18, 10}, kTop};
  const auto chordY = [](double x) { return kToe.y + (kTop.y - kToe.y) * (x - kToe.x) / 21; };
  double aboveChord = 0;
  for (std::size_t i = 0; i + 1 < ground.size(); ++i) {
    const CDPoint& p = ground[i];
    const CDPoint& q = ground[i + 1];
    aboveChord += ((p.y - chordY(p.x)) + (q.y - chordY(q.x))) / 2 * (q.x - p.x);
  }
  const Circle circle = Circumcircle(kTop, kLow, kToe);
  const double chord = std::hypot(kTop.x - kToe.x, kTop.y - kToe.y);
  const double theta = 2 * std::asin(chord / (2 * circle.r));
  const double segment = circle.r * circle.r * (theta - std::sin(theta)) / 2;
  return aboveChord + segment;
}

TEST_F(SampleSlicesTest, TheSlicesFillTheSlidingBody) {
  const ScopedEnableRound guard(0);
  const int count = list.CreateSlice(nullptr, nullptr, work.get());
  ASSERT_GT(count, 10);
  double area = 0;
  for (int i = 0; i < count; ++i) {
    const CSlice& slice = *list.GetSlicePtr(i);
    area += slice.GetArea(-1);
    EXPECT_LE(slice.GetXRight() - slice.GetXLeft(), 2 + 1e-9);  // the default maximum width
    if (i > 0) {
      EXPECT_EQ(slice.GetXLeft(), list.GetSlicePtr(i - 1)->GetXRight());
    }
  }
  const double expected = SlidingBodyArea();
  EXPECT_NEAR(area, expected, 1e-6 * expected);
  EXPECT_NEAR(list.GetSlicePtr(0)->GetXLeft(), kToe.x, 1e-6);
  EXPECT_NEAR(list.GetSlicePtr(count - 1)->GetXRight(), kTop.x, 1e-6);
  EXPECT_NEAR(list.GetTotalWidth(), kTop.x - kToe.x, 1e-6);
  EXPECT_TRUE(list.IsRightUpper());
  EXPECT_TRUE(list.IsValidCFai());
}

// The soil of the stratum that holds the point, found by the test: gammaT, gammaSat, c, phi.
const tagSATURATE* SoilAt(const SampleSection& sample, const CDPoint& p) {
  const CDPolyArray& blocks = *sample.ground->GetPolyArray();
  for (int i = 0; i < blocks.GetSize(); ++i) {
    if (blocks.GetAt(i)->PolyRgn(&p)) {
      return static_cast<const CSpStratumBlock*>(blocks.GetAt(i))->GetPropStructure();
    }
  }
  return nullptr;
}

TEST_F(SampleSlicesTest, LayersAboveTheWaterWeighMoistAndBelowItSaturated) {
  const ScopedEnableRound guard(0);
  const int count = list.CreateSlice(nullptr, nullptr, work.get());
  int above = 0;
  int below = 0;
  for (int i = 0; i < count; ++i) {
    const CSlice& slice = *list.GetSlicePtr(i);
    const double waterY = sample.water->GetY(slice.GetMidX());
    for (int k = 0; k + 1 < slice.GetDEVYCount(); ++k) {
      const double area = slice.GetArea(k);
      if (area < 1e-9) continue;
      const CDPoint centroid = slice.DaikeiJuushin(k);
      const tagSATURATE* soil = SoilAt(sample, centroid);
      ASSERT_NE(soil, nullptr);
      const bool dry = centroid.y > waterY;
      (dry ? above : below) += 1;
      EXPECT_NEAR(slice.GetWeight(k), area * (dry ? soil->gammaT : soil->gammaSat), 1e-9)
          << "slice " << i << ", layer " << k;
    }
    // The segment under the chord weighs as the layer above it.
    const int segment = slice.GetDEVYCount() - 1;
    EXPECT_NEAR(slice.GetWeight(segment), slice.GetArea(segment) * slice.GetGamma(segment - 1, 0),
                1e-9);
  }
  EXPECT_GT(above, 0);
  EXPECT_GT(below, 0);
}

TEST_F(SampleSlicesTest, BaseStrengthAndWaterOfTheSlices) {
  const ScopedEnableRound guard(0);
  const int count = list.CreateSlice(nullptr, nullptr, work.get());
  for (int i = 0; i < count; ++i) {
    const CSlice& slice = *list.GetSlicePtr(i);
    ASSERT_NE(slice.GetBottomArc(), nullptr);
    EXPECT_EQ(slice.GetStrengthType(), kStrengthStratum);
    const CDPoint base(slice.GetMidX(), slice.GetBottomY(slice.GetMidX()) + 1e-3);
    const tagSATURATE* soil = SoilAt(sample, base);
    ASSERT_NE(soil, nullptr);
    EXPECT_EQ(slice.GetC(), soil->c) << i;
    EXPECT_EQ(slice.GetPhi(), soil->phi) << i;
    const double waterY = sample.water->GetY(slice.GetMidX());
    EXPECT_NEAR(slice.GetWaterLev().leftY, sample.water->GetY(slice.GetXLeft()), 1e-9);
    EXPECT_EQ(slice.GetDepthWtoS() > 0, waterY > slice.GetCenterBottomY()) << i;
  }
  // The strata and the water line cut the slices: some slice has four or more boundaries.
  int most = 0;
  for (int i = 0; i < count; ++i) most = std::max(most, list.GetSlicePtr(i)->GetDEVYCount());
  EXPECT_GE(most, 4);
}

// The x ranges and boundaries of the slices, in order.
std::vector<double> SliceFigures(const CSliceList& list) {
  std::vector<double> figures;
  for (int i = 0; i < list.GetSize(); ++i) {
    const CSlice& slice = *list.GetSlicePtr(i);
    figures.push_back(slice.GetXLeft());
    figures.push_back(slice.GetXRight());
    for (int k = 0; k < slice.GetDEVYCount(); ++k) {
      figures.push_back(slice.GetLeftY(k));
      figures.push_back(slice.GetRightY(k));
    }
  }
  return figures;
}

void SampleSlicesTest::ExpectToDivideAsANewListUnlike(const std::vector<double>& before) {
  list.CreateSlice(nullptr, nullptr, work.get());
  CSliceList fresh;
  fresh.SetDanmenStab(&section);
  fresh.CreateSlice(nullptr, nullptr, work.get());
  EXPECT_EQ(SliceFigures(list), SliceFigures(fresh));
  EXPECT_NE(SliceFigures(list), before);
}

// The list keeps what it found of the strata and the water line between divisions: a water line
// edited in place divides the next circle as it divides a new list's.
TEST_F(SampleSlicesTest, AWaterLineEditedBetweenDivisionsDividesByItsNewShape) {
  list.CreateSlice(nullptr, nullptr, work.get());
  const std::vector<double> before = SliceFigures(list);
  // Raised at x = 18 above the upper stratum boundary (8 there), which it now crosses twice.
  section.GetWater()->GetAt(3)->y = 9;
  ExpectToDivideAsANewListUnlike(before);
  // The crossing with the boundary from (12, 3) to (18, 8): 2 + 7 (x - 12) / 6 = 3 + 5 (x - 12)
  // / 6.
  const double crossing = 15;
  const auto nearCrossing = [&](int i) {
    return std::fabs(list.GetSlicePtr(i)->GetXRight() - crossing) < 1e-9;
  };
  bool found = false;
  for (int i = 0; i < list.GetSize(); ++i) found = found || nearCrossing(i);
  EXPECT_TRUE(found);
}

// A stratum boundary edited while the list divides without a water line: the next division with
// the line crosses it with the edited boundary, as a new list does.
TEST_F(SampleSlicesTest, StrataEditedWhileDividingWithoutWaterMeetTheWaterLineAnew) {
  list.CreateSlice(nullptr, nullptr, work.get());
  const std::vector<double> before = SliceFigures(list);
  CSpWater* water = section.GetWater();
  section.SetWater(nullptr);
  // The upper boundary's vertex (12, 3), which every block that has it takes to (12, 4): its edge
  // from (6, -2) now meets the water line at x = 8 instead of 9.
  const CDPolyArray& blocks = *section.GetGround()->GetPolyArray();
  for (int s = 0; s < blocks.GetSize(); ++s) {
    for (int i = 0; i < blocks.GetAt(s)->GetSize(); ++i) {
      CDPoint& p = *blocks.GetAt(s)->GetAt(i);
      if (p.x == 12 && p.y == 3) p.y = 4;
    }
  }
  list.CreateSlice(nullptr, nullptr, work.get());
  section.SetWater(water);
  ExpectToDivideAsANewListUnlike(before);
}

// Each boundary's shape, as its index among the strata (-1 for another shape), and whether its
// layer hangs.
std::vector<int> LayerShapes(const CSliceList& list, const CDPolyArray& strata) {
  std::vector<int> shapes;
  for (int i = 0; i < list.GetSize(); ++i) {
    const CSlice& slice = *list.GetSlicePtr(i);
    for (int k = 0; k < slice.GetDEVYCount(); ++k) {
      int index = -1;
      for (int s = 0; s < strata.GetSize(); ++s) {
        if (strata.GetAt(s) == slice.GetIndexDEVY(k)->shape) index = s;
      }
      shapes.push_back(index);
      shapes.push_back(slice.IsHang(k) ? 1 : 0);
    }
  }
  return shapes;
}

// The list keeps the strata's outlines for the inside tests of the layers between divisions: a
// stratum moved in place divides the next circle, and finds its layers' strata, as a new list.
TEST_F(SampleSlicesTest, AStratumMovedBetweenDivisionsDividesByItsNewPlace) {
  CDPolyArray& strata = *section.GetGround()->GetPolyArray();
  list.CreateSlice(nullptr, nullptr, work.get());
  const std::vector<int> before = LayerShapes(list, strata);
  strata.GetAt(strata.GetSize() - 1)->ShiftShape(0, -1.5);
  list.CreateSlice(nullptr, nullptr, work.get());
  CSliceList fresh;
  fresh.SetDanmenStab(&section);
  fresh.CreateSlice(nullptr, nullptr, work.get());
  EXPECT_EQ(SliceFigures(list), SliceFigures(fresh));
  EXPECT_EQ(LayerShapes(list, strata), LayerShapes(fresh, strata));
  EXPECT_NE(LayerShapes(list, strata), before);
}

// The list keeps the slices of a division for the next one: slices added after it are the list's
// only slices, in their order, and the next division still divides as a new list does.
TEST_F(SampleSlicesTest, SlicesAddedAfterADivisionAreTheListsOnly) {
  ASSERT_GT(list.CreateSlice(nullptr, nullptr, work.get()), 2);
  list.DeleteSliceArray();
  auto first = std::make_unique<CSlice>();
  auto second = std::make_unique<CSlice>();
  const CSlice* added[] = {first.get(), second.get()};
  list.AddSlice(std::move(first));
  list.AddSlice(std::move(second));
  ASSERT_EQ(list.GetSize(), 2);
  EXPECT_EQ(list.GetSlicePtr(0), added[0]);
  EXPECT_EQ(list.GetSlicePtr(1), added[1]);

  list.CreateSlice(nullptr, nullptr, work.get());
  CSliceList fresh;
  fresh.SetDanmenStab(&section);
  fresh.CreateSlice(nullptr, nullptr, work.get());
  EXPECT_EQ(SliceFigures(list), SliceFigures(fresh));
}

// Sizing the storage beforehand changes nothing of what the list divides.
TEST_F(SampleSlicesTest, AReservedListDividesAsANewOne) {
  list.Reserve(section);
  list.CreateSlice(nullptr, nullptr, work.get());
  CSliceList fresh;
  fresh.SetDanmenStab(&section);
  fresh.CreateSlice(nullptr, nullptr, work.get());
  EXPECT_GT(list.GetSize(), 2);
  EXPECT_EQ(SliceFigures(list), SliceFigures(fresh));
}

TEST_F(SampleSlicesTest, ExtentsOfTheSlices) {
  const ScopedEnableRound guard(0);
  list.CreateSlice(nullptr, nullptr, work.get());
  double xmin = 0;
  double ymax = 0;
  double xmax = 0;
  double ymin = 0;
  list.GetRect(xmin, ymax, xmax, ymin);
  EXPECT_NEAR(xmin, kToe.x, 1e-6);
  EXPECT_NEAR(xmax, kTop.x, 1e-6);
  EXPECT_NEAR(ymax, kTop.y, 1e-6);
  const Circle circle = Circumcircle(kTop, kLow, kToe);
  EXPECT_GT(ymin, circle.cy - circle.r);  // the chords lie above the circle's bottom
  EXPECT_LT(ymin, circle.cy - circle.r + 0.1);
  EXPECT_EQ(list.GetTotalBottom(), ymin);
  EXPECT_EQ(list.GetTotalHight(), ymax - ymin);
  double area = 0;
  double width = 0;
  double highest = 0;
  for (int i = 0; i < list.GetSize(); ++i) {
    const CSlice& s = *list.GetSlicePtr(i);
    area += s.GetArea(-1);
    width += s.GetWidth();
    highest = std::max(
        {highest, s.GetLeftTopY() - s.GetLeftBottomY(), s.GetRightTopY() - s.GetRightBottomY()});
  }
  EXPECT_DOUBLE_EQ(list.GetH(false), area / width);
  EXPECT_DOUBLE_EQ(list.GetH(true), highest);
}

// ---- Strata that share edges ----

// Neighbouring strata share their common edges, whose boundary entries the division finds once
// and gives to each stratum of the edge. Every slice's boundaries are bit for bit those of the
// reference division, which asks each stratum at each cut: over strata that share an edge walked
// either way round, three strata and one stratum with an edge twice, edges that only nearly
// coincide (an end one ulp apart, at -0 against 0, a vertical edge walked either way), and
// shared edges that lie wholly below the surface beside ones that cross it. One list divides
// every case in turn, twice, as a search reuses its list.
TEST(SharedStrataEdgesTest, EachStratumOfAnEdgeGetsWhatTheReferenceFindsForIt) {
  using Polygons = std::vector<std::vector<CDPoint>>;
  const double ulpRight = std::nextafter(9.0, 10.0);
  const struct {
    const char* what;
    Polygons strata;
  } cases[] = {
      {"an edge walked either way round",
       {{{-5, 10}, {15, 10}, {9, 3}, {2, 0}, {-5, 10}}, {{2, 0}, {9, 3}, {15, -9}, {2, 0}}}},
      {"an edge walked the same way",
       {{{2, 0}, {9, 3}, {15, 10}, {-5, 10}, {2, 0}}, {{2, 0}, {9, 3}, {15, -9}, {2, 0}}}},
      {"three strata on one edge",
       {{{-5, 10}, {15, 10}, {9, 3}, {2, 0}, {-5, 10}},
        {{2, 0}, {9, 3}, {15, -9}, {2, 0}},
        {{9, 3}, {2, 0}, {5, -6}, {9, 3}}}},
      {"one stratum with an edge twice", {{{-5, 10}, {2, 0}, {9, 3}, {2, 0}, {15, 10}, {-5, 10}}}},
      {"an end one ulp apart",
       {{{-5, 10}, {15, 10}, {ulpRight, 3}, {2, 0}, {-5, 10}}, {{2, 0}, {9, 3}, {15, -9}, {2, 0}}}},
      {"an end at -0 and at 0",
       {{{-5, 10}, {15, 10}, {9, 3}, {2, -0.0}, {-5, 10}}, {{2, 0}, {9, 3}, {15, -9}, {2, 0}}}},
      {"a vertical edge walked either way",
       {{{-5, 10}, {4, 10}, {4, -3}, {-5, 10}}, {{4, -3}, {4, 10}, {15, 10}, {4, -3}}}},
      {"edges below the surface shared beside edges across it",
       {{{-5, 10}, {15, 10}, {15, -20}, {-5, -20}, {-5, 10}},
        {{-5, -20}, {15, -20}, {15, -30}, {-5, -20}},
        {{-5, 10}, {15, 10}, {9, 3}, {2, 0}, {-5, 10}},
        {{2, 0}, {9, 3}, {15, -9}, {2, 0}}}},
  };
  const auto ground = MakePoly<CSpGround>({{-5, 10}, {15, 10}});
  CDanmenStab section;
  section.SetGround(ground.get());
  SetSplit(section, 2, 0.7);
  // Down from the ground to -8 and up again: the shared edge at 0 to 3 lies above it between
  // about x 0 and 10.
  const auto work = Straight({{-4, 10}, {5, -8}, {14, 10}});
  CSliceList list;
  list.SetDanmenStab(&section);
  const auto bits = [](double v) { return std::bit_cast<std::uint64_t>(v); };
  for (int pass = 0; pass < 2; ++pass) {
    for (const auto& c : cases) {
      SCOPED_TRACE(c.what);
      CDPolyArray strata;
      for (const auto& points : c.strata) strata.Add(MakePoly<CSpStratumBlock>(points));
      slice_oracle::CSliceList reference;
      reference.SetDanmenStab(&section);
      ASSERT_GT(reference.CreateSlice(&strata, nullptr, work.get()), 0);
      ASSERT_EQ(list.CreateSlice(&strata, nullptr, work.get()), reference.GetSize());
      // Each list keeps a surface of its own, which is no stratum.
      const auto stratumOf = [&strata](const tagDEVY& d) {
        for (int s = 0; s < strata.GetSize(); ++s) {
          if (strata.GetAt(s) == d.shape) return s;
        }
        return -1;
      };
      for (int i = 0; i < list.GetSize(); ++i) {
        SCOPED_TRACE(testing::Message() << "slice " << i);
        const CSlice& slice = *list.GetSlicePtr(i);
        const slice_oracle::CSlice& expected = *reference.GetSlicePtr(i);
        ASSERT_EQ(slice.GetDEVYCount(), expected.GetDEVYCount());
        for (int k = 0; k < slice.GetDEVYCount(); ++k) {
          const tagDEVY& found = *slice.GetIndexDEVY(k);
          const tagDEVY& wanted = *expected.GetIndexDEVY(k);
          EXPECT_EQ(bits(found.leftY), bits(wanted.leftY)) << "boundary " << k;
          EXPECT_EQ(bits(found.rightY), bits(wanted.rightY)) << "boundary " << k;
          EXPECT_EQ(stratumOf(found), stratumOf(wanted)) << "boundary " << k;
          EXPECT_EQ(found.flag, wanted.flag) << "boundary " << k;
        }
      }
    }
  }
}

// ---- Intervals ----

// A flat ground at 10 over two strata side by side (x 0..10 and 10..20), cut by the circle about
// (10, 15) of radius 10.
class IntervalTest : public testing::Test {
 protected:
  void SetUp() override {
    auto blocks = std::make_unique<CDPolyArray>();
    for (const double x : {0.0, 10.0}) {
      auto block = MakePoly<CSpStratumBlock>({{x, 0}, {x + 10, 0}, {x + 10, 10}, {x, 10}, {x, 0}});
      tagSATURATE& soil = block->GetPropPtr()->GetSaturate();
      soil.gammaT = soil.gammaSat = 18;
      soil.phi = 30;
      soil.c = 10;
      blocks->Add(std::move(block));
    }
    ground->SetPolyArray(std::move(blocks));
    section.SetGround(ground.get());
    const double h = 10 * std::sin(kPi / 3);  // the circle meets the ground at 10 -+ h
    work.AddNewPoint(CDPoint(10 - h, 10),
                     std::make_unique<CDArc>(10.0, 15.0, 10.0, 7 * kPi / 6, 11 * kPi / 6),
                     kStrengthStratum);
    work.AddNewPoint(CDPoint(10 + h, 10), nullptr, kStrengthStratum);
    list.SetDanmenStab(&section);
  }

  CSpStratumBlock& RightBlock() {
    return *static_cast<CSpStratumBlock*>(ground->GetPolyArray()->GetAt(1));
  }

  std::unique_ptr<CSpGround> ground = MakePoly<CSpGround>({{0, 10}, {20, 10}});
  CDanmenStab section;
  CSpSlideWork work;
  CSliceList list;
};

TEST_F(IntervalTest, SlicesOnOneArcInOneStratumFormOneInterval) {
  const int count = list.CreateSlice(nullptr, nullptr, &work);
  ASSERT_GT(count, 4);
  EXPECT_EQ(list.GetKukanSize(), 1);
  for (int i = 1; i < count; ++i) EXPECT_TRUE(list.IsSameGroup(i - 1, i)) << i;
  EXPECT_FALSE(list.IsSameGroup(0, count));

  int first = -1;
  int last = -1;
  CDPoint start;
  CDPoint end;
  int isArc = 0;
  CDArc arc;
  ASSERT_TRUE(list.GetKukanInfo(0, first, last, start, end, isArc, arc));
  EXPECT_EQ(first, 0);
  EXPECT_EQ(last, count - 1);
  EXPECT_EQ(isArc, 1);
  EXPECT_NEAR(arc.centre.y, 15, 1e-9);
  EXPECT_NEAR(arc.R, 10, 1e-9);
  EXPECT_NEAR(start.x, 10 - 10 * std::sin(kPi / 3), 1e-6);
  EXPECT_NEAR(start.y, 10, 1e-6);
  EXPECT_NEAR(end.y, 10, 1e-6);
  EXPECT_FALSE(list.GetKukanInfo(1, first, last, start, end, isArc, arc));
}

TEST_F(IntervalTest, AChangeOfStrengthStartsANewInterval) {
  RightBlock().GetPropPtr()->GetSaturate().c = 12;
  const int count = list.CreateSlice(nullptr, nullptr, &work);
  ASSERT_EQ(list.GetKukanSize(), 2);
  int first = -1;
  int last = -1;
  CDPoint start;
  CDPoint end;
  int isArc = 0;
  CDArc arc;
  ASSERT_TRUE(list.GetKukanInfo(1, first, last, start, end, isArc, arc));
  EXPECT_EQ(last, count - 1);
  EXPECT_NEAR(list.GetSlicePtr(first)->GetXLeft(), 10, 1e-9);
  EXPECT_NEAR(start.x, 10, 1e-9);
  EXPECT_NEAR(start.y, 5, 1e-9);  // the bottom of the circle
  EXPECT_TRUE(list.IsGroupHead(first));
  EXPECT_FALSE(list.IsGroupHead(first + 1));
  double c = 0;
  double phi = 0;
  EXPECT_TRUE(list.GetCF(first, c, phi));
  EXPECT_EQ(c, 12);
  EXPECT_FALSE(list.GetCF(count, c, phi));
}

TEST_F(IntervalTest, TheBaseStrengthIsTakenOverWhereTheTypeNamesNone) {
  // The same circle in two arc pieces: the right one of unknown strength takes over c and phi
  // of the slices before it, though its own stratum has another c.
  RightBlock().GetPropPtr()->GetSaturate().c = 12;
  const double h = 10 * std::sin(kPi / 3);
  CSpSlideWork halves;
  halves.AddNewPoint(CDPoint(10 - h, 10),
                     std::make_unique<CDArc>(10.0, 15.0, 10.0, 7 * kPi / 6, 3 * kPi / 2),
                     kStrengthStratum);
  halves.AddNewPoint(CDPoint(10, 5),
                     std::make_unique<CDArc>(10.0, 15.0, 10.0, 3 * kPi / 2, 11 * kPi / 6),
                     kStrengthUnknown);
  halves.AddNewPoint(CDPoint(10 + h, 10), nullptr, kStrengthStratum);
  const int count = list.CreateSlice(nullptr, nullptr, &halves);
  ASSERT_GT(count, 4);
  for (int i = 0; i < count; ++i) {
    const CSlice& slice = *list.GetSlicePtr(i);
    EXPECT_EQ(slice.GetStrengthType(), slice.GetMidX() < 10 ? kStrengthStratum : kStrengthUnknown);
    EXPECT_EQ(slice.GetC(), 10) << i;
    EXPECT_EQ(slice.GetPhi(), 30) << i;
  }
  EXPECT_TRUE(list.IsValidCFai());
  EXPECT_EQ(list.GetKukanSize(), 2);  // the pieces differ in strength type

  // With no known strength at the start there is nothing to take over.
  halves.SetStrengthType(0, kStrengthUnknown);
  list.CreateSlice(nullptr, nullptr, &halves);
  EXPECT_EQ(list.GetSlicePtr(0)->GetC(), kNoValue);
  EXPECT_EQ(list.GetSlicePtr(count - 1)->GetPhi(), kNoValue);
  EXPECT_FALSE(list.IsValidCFai());
}

TEST_F(IntervalTest, DistributedLoadsEndSlicesAndActOnThem) {
  CDPolyArray loads;
  auto load = std::make_unique<CSpLoad>();
  load->SetX1(5.5);
  load->SetX2(7.25);
  load->SetQ1(10);
  load->SetQ2(10);
  load->SetQuakeCaseOn(0);
  loads.Add(std::move(load));
  section.SetAryLoad(&loads);
  const int count = list.CreateSlice(nullptr, nullptr, &work);
  std::vector<double> lefts;
  for (int i = 0; i < count; ++i) lefts.push_back(list.GetSlicePtr(i)->GetXLeft());
  EXPECT_NE(std::find(lefts.begin(), lefts.end(), 5.5), lefts.end());
  EXPECT_NE(std::find(lefts.begin(), lefts.end(), 7.25), lefts.end());

  EXPECT_FALSE(list.IsKajuExist(0));  // nothing computed yet
  for (int i = 0; i < count; ++i) list.GetSlicePtr(i)->GetResult()[tagRESULTSLICE::kAlpha] = 0;
  list.CalcKaju();
  EXPECT_TRUE(list.IsKajuExist(0));
  EXPECT_FALSE(list.IsKajuExist(1));  // the load does not act in the seismic case
}

TEST(SliceListTotalsTest, SeismicTotalsNeedBothParts) {
  CSliceList list;
  tagRESULTSLICE& total = list.GetTotal();
  EXPECT_EQ(total[tagRESULTSLICE::kT], kNoValue);  // unset after construction
  total[tagRESULTSLICE::kN] = 50;
  total[tagRESULTSLICE::kU] = 5;
  total[tagRESULTSLICE::kNs] = 40;
  total[tagRESULTSLICE::kTs] = 30;
  total[tagRESULTSLICE::kS] = 20;
  total[tagRESULTSLICE::kSe] = 15;
  EXPECT_EQ(list.GetTotalNNe(), kNoValue);
  EXPECT_EQ(list.GetTotalTTe(), kNoValue);
  EXPECT_EQ(list.GetPrintN(1), kNoValue);
  EXPECT_EQ(list.GetPrintNU(1), kNoValue);
  EXPECT_EQ(list.GetPrintN(0), 50);
  EXPECT_EQ(list.GetPrintNU(0), 45);
  EXPECT_EQ(list.GetTotalS(0), 20);
  EXPECT_EQ(list.GetTotalS(1), 15);
  total[tagRESULTSLICE::kNe] = 4;
  total[tagRESULTSLICE::kTe] = 6;
  EXPECT_EQ(list.GetTotalNNe(), 36);
  EXPECT_EQ(list.GetTotalTTe(), 36);
  EXPECT_EQ(list.GetTotalN(1), 36);
  EXPECT_EQ(list.GetTotalT(1), 36);
  EXPECT_EQ(list.GetPrintNU(1), 31);
  list.Init();
  EXPECT_EQ(list.GetTotalN(0), kNoValue);
}

// ---- Drawing ----

class SliceDrawTest : public SampleSlicesTest {
 protected:
  void SetUp() override {
    SampleSlicesTest::SetUp();
    AttachTestView(view, canvas, 10, 150, 150);
    count = list.CreateSlice(nullptr, nullptr, work.get());
  }

  std::vector<std::string> Texts() const {
    std::vector<std::string> texts;
    for (const DrawnPrimitive& p : canvas.PrimitivesOf(PrimitiveKind::Text)) {
      texts.push_back(p.text);
    }
    return texts;
  }

  RecordingCanvas canvas;
  CViewInfo view;
  int count = 0;
};

TEST_F(SliceDrawTest, NothingWithoutTheMasterSwitch) {
  tagSHOWINFO show;
  show.number = 1;
  list.Draw(&view, &show);
  list.Draw(&view, nullptr);
  EXPECT_TRUE(canvas.Primitives().empty());
}

TEST_F(SliceDrawTest, SliceLinesAndNumbers) {
  tagSHOWINFO show;
  show.master = 1;
  list.Draw(&view, &show);
  EXPECT_TRUE(canvas.Primitives().empty());  // no value asked for: not even the lines

  show.number = 1;
  list.Draw(&view, &show);
  const auto lines = canvas.PrimitivesOf(PrimitiveKind::Line);
  ASSERT_EQ(static_cast<int>(lines.size()), count + 1);  // the left sides and the last right side
  EXPECT_EQ(lines[0].state.pen, (Pen{PenStyle::Solid, 1, Color::Rgb(0x20, 0x20, 0x20)}));
  std::vector<std::string> numbers;
  for (int i = 1; i <= count; ++i) numbers.push_back(std::to_string(i));
  EXPECT_EQ(Texts(), numbers);
  const auto texts = canvas.PrimitivesOf(PrimitiveKind::Text);
  EXPECT_EQ(texts[0].state.textAlign, TextAlign::Center | TextAlign::Bottom);
  EXPECT_EQ(texts[0].state.font.face, "ＭＳ ゴシック");
  EXPECT_EQ(texts[0].state.font.height, 10);
  EXPECT_EQ(texts[0].state.font.width, 5);
  EXPECT_EQ(texts[0].state.font.pitch, FontPitch::Fixed);
  EXPECT_EQ(texts[0].state.textColor, Color::Rgb(0, 0, 0));
  EXPECT_EQ(canvas.CurrentFont(), Font{});
  EXPECT_EQ(canvas.CurrentTextAlign(), TextAlign::Left | TextAlign::Top);
}

TEST_F(SliceDrawTest, BaseLabelsInNavyWithALeaderToTheLayerLabels) {
  const ScopedEnableRound guard(0);
  tagSHOWINFO show;
  show.master = 1;
  show.cohesion = 1;
  show.friction = 1;
  list.Draw(&view, &show);
  const auto texts = canvas.PrimitivesOf(PrimitiveKind::Text);
  ASSERT_EQ(static_cast<int>(texts.size()), 2 * count);
  EXPECT_EQ(texts[0].text, "Ｃ10.000");
  EXPECT_EQ(texts[1].text, "φ25.000");
  EXPECT_EQ(texts[0].state.textColor, Color::Rgb(0, 0, 128));
  EXPECT_EQ(texts[1].points[0].y - texts[0].points[0].y, 10);  // one step down
  EXPECT_TRUE(canvas.PrimitivesOf(PrimitiveKind::Line).size() ==
              static_cast<std::size_t>(count + 1));

  canvas.Clear();
  show.area = 1;  // layer labels too: a red leader from each base to its labels
  list.Draw(&view, &show);
  int leaders = 0;
  for (const DrawnPrimitive& p : canvas.PrimitivesOf(PrimitiveKind::Line)) {
    if (p.state.pen.color == Color::Rgb(255, 0, 0)) ++leaders;
  }
  EXPECT_EQ(leaders, 2 * count);
  EXPECT_EQ(canvas.TextColor(), Color{});
}

TEST_F(SliceDrawTest, CoordinatesAtEveryBoundaryEnd) {
  tagSHOWINFO show;
  show.master = 1;
  show.coords = 1;
  list.Draw(&view, &show);
  int boundaries = 0;
  for (int i = 0; i < count; ++i) boundaries += list.GetSlicePtr(i)->GetDEVYCount();
  boundaries += list.GetSlicePtr(count - 1)->GetDEVYCount();  // the right side of the last
  const auto texts = Texts();
  ASSERT_EQ(static_cast<int>(texts.size()), 2 * boundaries);
  EXPECT_EQ(texts[0], "X3.000");
  EXPECT_EQ(texts[1], "Y0.000");
}

}  // namespace
