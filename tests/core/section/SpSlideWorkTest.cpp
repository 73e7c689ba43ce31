#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <limits>
#include <memory>
#include <numbers>
#include <random>
#include <set>
#include <stdexcept>
#include <vector>

#include "core/base/Constants.h"
#include "core/geometry/DArc.h"
#include "core/geometry/DPolyArray.h"
#include "core/geometry/ViewInfo.h"
#include "core/section/SpGround.h"
#include "core/section/SpSlide.h"
#include "core/section/SpSlideWork.h"
#include "core/section/SpStratum.h"
#include "platform/Archive.h"
#include "platform/RecordingCanvas.h"
#include "tests/support/DrawTestUtil.h"
#include "tests/support/PolyTestUtil.h"
#include "tests/support/RecordBytes.h"
#include "tests/support/RecordContract.h"
#include "tests/support/SampleSection.h"

namespace {

constexpr double kPi = std::numbers::pi;

// One piece of a surface: where it starts, its arc (R 0: straight) and its strength type.
struct Piece {
  double x;
  double y;
  int type = 0;
  double cx = 0, cy = 0, r = 0, start = 0, end = 0;
};

std::unique_ptr<CSpSlideWork> MakeWork(std::initializer_list<Piece> pieces) {
  auto work = std::make_unique<CSpSlideWork>();
  for (const Piece& p : pieces) {
    auto arc = p.r > 0 ? std::make_unique<CDArc>(p.cx, p.cy, p.r, p.start, p.end) : nullptr;
    work->AddNewPoint(CDPoint(p.x, p.y), std::move(arc), p.type);
  }
  return work;
}

// The lower half of the circle of radius 5 about the origin, then a straight rise to (8, 4).
std::unique_ptr<CSpSlideWork> BowlAndRise() {
  return MakeWork({{-5, 0, 2, 0, 0, 5, kPi, 0}, {5, 0, 3}, {8, 4, 0}});
}

void ExpectNearPoint(const CDPoint& p, double x, double y, double tol = 1e-9) {
  EXPECT_NEAR(p.x, x, tol);
  EXPECT_NEAR(p.y, y, tol);
}

void ExpectSameWork(const CSpSlideWork& a, const CSpSlideWork& b) {
  EXPECT_EQ(a.GetName(), b.GetName());
  ASSERT_EQ(a.GetSize(), b.GetSize());
  for (int i = 0; i < a.GetSize(); ++i) {
    EXPECT_EQ(a.GetAt(i)->x, b.GetAt(i)->x) << i;
    EXPECT_EQ(a.GetAt(i)->y, b.GetAt(i)->y) << i;
    EXPECT_EQ(a.GetAt(i)->flag, b.GetAt(i)->flag) << i;
  }
  ASSERT_EQ(a.GetStrengthSize(), b.GetStrengthSize());
  for (int i = 0; i < a.GetStrengthSize(); ++i) {
    EXPECT_EQ(a.GetStrengthType(i), b.GetStrengthType(i)) << i;
    EXPECT_EQ(a.GetStrengthIndex(i), b.GetStrengthIndex(i)) << i;
  }
  ASSERT_EQ(a.GetArcCount(), b.GetArcCount());
  for (int i = 0; i < a.GetArcCount(); ++i) {
    const CDArc& x = *a.GetArcAt(i);
    const CDArc& y = *b.GetArcAt(i);
    EXPECT_EQ(x.centre.x, y.centre.x);
    EXPECT_EQ(x.centre.y, y.centre.y);
    EXPECT_EQ(x.R, y.R);
    EXPECT_EQ(x.start, y.start);
    EXPECT_EQ(x.end, y.end);
  }
}

// A ground line at y = 0 over x -10..10 whose strata are the given rectangles (each from
// ylow to yhigh over the whole width).
std::unique_ptr<CSpGround> FlatGround(std::initializer_list<std::pair<double, double>> layers) {
  auto ground = MakePoly<CSpGround>({{-10, 0}, {10, 0}});
  auto strata = std::make_unique<CDPolyArray>();
  for (const auto& [low, high] : layers) {
    strata->Add(
        MakePoly<CSpStratumBlock>({{-10, low}, {10, low}, {10, high}, {-10, high}, {-10, low}}));
  }
  ground->SetPolyArray(std::move(strata));
  return ground;
}

// ---- Building blocks ----

TEST(SlideWorkTest, BuildingBlocks) {
  CSpSlideWork work;
  EXPECT_EQ(work.WhatKind(), kKindSlideWork);
  EXPECT_EQ(CDPoly::CreateNewElement(kKindSlideWork)->WhatKind(), kKindSlideWork);
  EXPECT_EQ(work.GetFirstArc(), nullptr);
  EXPECT_EQ(work.GetLastArc(), nullptr);

  work.AddNewPoint(CDPoint(1, 1, 7), nullptr, 2);
  work.AddNewPoint(CDPoint(2, 0), std::make_unique<CDArc>(3, 3, 3.1622776601683795, 3.5, 5.0), 3);
  work.AddNewPoint(CDPoint(4, 0), nullptr, 4);
  work.InsertNewPoint(CDPoint(0, 2), 5);
  ExpectPoints(work, {{0, 2, -1}, {1, 1, -1}, {2, 0, 0}, {4, 0, -1}});
  EXPECT_EQ(work.GetStrengthSize(), 4);
  EXPECT_EQ(work.GetStrengthType(0), 5);
  EXPECT_EQ(work.GetStrengthType(2), 3);
  work.SetStrengthIndex(2, 77);
  work.SetStrengthType(2, 1);
  EXPECT_EQ(work.GetStrengthIndex(2), 77);
  EXPECT_EQ(work.GetStrengthType(2), 1);
  EXPECT_THROW(work.GetStrengthType(4), std::out_of_range);
  EXPECT_THROW(work.SetStrengthType(-1, 0), std::out_of_range);
  EXPECT_THROW(work.GetArcAt(1), std::out_of_range);
  work.SetStrengthSize(6);
  EXPECT_EQ(work.GetStrengthType(5), 0);

  EXPECT_EQ(work.GetArcFromPointIndex(1), nullptr);
  EXPECT_EQ(work.GetArcFromPointIndex(9), nullptr);
  EXPECT_EQ(work.GetArcFromPointIndex(2), work.GetArcAt(0));
  EXPECT_EQ(work.GetFirstArc(), work.GetArcAt(0));
  EXPECT_EQ(work.GetLastArc(), work.GetArcAt(0));
  ExpectNearPoint(work.GetMid(1), 1.5, 0.5);
  ExpectNearPoint(work.GetMid(2), work.GetArcAt(0)->GetMid(0.5).x, work.GetArcAt(0)->GetMid(0.5).y);
  double x = 0, y = 0, r = 0;
  work.GetOR(x, y, r);
  EXPECT_EQ(x, 3);
  EXPECT_EQ(y, 3);

  work.YcoordPrimitive(0.5);
  EXPECT_EQ(work.GetAt(0)->y, 2.5);
  EXPECT_EQ(work.GetArcAt(0)->centre.y, 3);  // arcs stay

  work.Init();
  EXPECT_EQ(work.GetSize(), 0);
  EXPECT_EQ(work.GetArcCount(), 0);
  EXPECT_EQ(work.GetStrengthSize(), 0);
  work.GetOR(x, y, r);
  EXPECT_EQ(r, kNoValue);
}

TEST(SlideWorkTest, CopiesAreDeep) {
  const auto work = BowlAndRise();
  work->SetName("w");
  const auto copy = work->Copy();
  auto& copied = static_cast<CSpSlideWork&>(*copy);
  ExpectSameWork(copied, *work);
  EXPECT_NE(copied.GetArcAt(0), work->GetArcAt(0));
  copied.YcoordPrimitive(1);
  EXPECT_EQ(work->GetAt(0)->y, 0);

  CSpSlideWork other;
  other.AddNewPoint(CDPoint(9, 9), nullptr, 1);
  other.CopySlideWork(work.get());
  ExpectSameWork(other, *work);

  // Assigned into a surface with more and with fewer pieces, and into itself.
  const auto longer = MakeWork(
      {{0, 5, 2, 5, 10, 2.5, 4.0, 5.5}, {1, 5, 2, 5, 10, 2.5, 4.0, 5.5}, {10, 5, 3}, {12, 6, 1}});
  longer->SetName("longer");
  CSpSlideWork assigned;
  assigned.AssignSlideWork(*longer);
  assigned.AssignSlideWork(*work);
  ExpectSameWork(assigned, *work);
  EXPECT_NE(assigned.GetArcAt(0), work->GetArcAt(0));
  assigned.AssignSlideWork(assigned);
  ExpectSameWork(assigned, *work);
  assigned.AssignSlideWork(*longer);
  ExpectSameWork(assigned, *longer);
}

// ---- Record ----

TEST(SlideWorkTest, RecordIsTheVerticesTheStrengthsAndTheArcs) {
  const auto work = MakeWork({{0, 5, 2, 5, 10, 2.5, 4.0, 5.5}, {10, 5, 3}});
  work->SetName("w");
  work->SetStrengthIndex(0, 3);
  const std::vector<std::uint8_t> expected = RecordBytes()
                                                 .Text(u"w")
                                                 .Int(2)
                                                 .Double(0)
                                                 .Double(5)
                                                 .Int(0)
                                                 .Double(10)
                                                 .Double(5)
                                                 .Int(-1)
                                                 .Int(2)
                                                 .Int((2 << 16) | 3)
                                                 .Int(3 << 16)
                                                 .Int(1)
                                                 .Double(5)
                                                 .Double(10)
                                                 .Double(2.5)
                                                 .Double(4.0)
                                                 .Double(5.5)
                                                 .Get();
  ExpectRecordContract<CSpSlideWork>({
      .stored = *work,
      .version = 0,
      .bytes = expected,
      .makeTarget =
          [] {
            return MakeWork({{1, 2, 3}, {4, 5, 6}});
          },
  });
}

TEST(SlideWorkTest, DamagedRecordLeavesTheSurfaceAsItWas) {
  const std::vector<std::uint8_t> flagWithoutArc =
      RecordBytes().Text(u"w").Int(1).Double(0).Double(0).Int(0).Int(0).Int(0).Get();
  const std::vector<std::uint8_t> negativeArcs =
      RecordBytes().Text(u"w").Int(0).Int(0).Int(-2).Get();
  for (const auto& bytes : {flagWithoutArc, negativeArcs}) {
    auto work = MakeWork({{1, 2, 3}, {4, 5, 6}});
    Archive in(bytes);
    EXPECT_THROW(work->Load(in, 0), ArchiveException);
    ExpectSameWork(*work, *MakeWork({{1, 2, 3}, {4, 5, 6}}));
  }
}

// ---- Reversal ----

TEST(SlideWorkTest, ReverseKeepsEachPieceWithItsArcAndStrength) {
  auto work = MakeWork({{-8, 3, 1}, {-5, 0, 2, 0, 0, 5, kPi, 0}, {5, 0, 3}, {8, 4, 4}});
  work->Reverse();
  ExpectPoints(*work, {{8, 4, -1}, {5, 0, 0}, {-5, 0, -1}, {-8, 3, -1}});
  EXPECT_EQ(work->GetStrengthType(0), 3);
  EXPECT_EQ(work->GetStrengthType(1), 2);
  EXPECT_EQ(work->GetStrengthType(2), 1);
  EXPECT_EQ(work->GetStrengthType(3), 4);  // the last vertex starts no piece

  work->Reverse();
  ExpectSameWork(*work, *MakeWork({{-8, 3, 1}, {-5, 0, 2, 0, 0, 5, kPi, 0}, {5, 0, 3}, {8, 4, 4}}));
}

// ---- Heights, extremes and length ----

TEST(SlideWorkTest, HeightsAlongTheSurface) {
  const auto straight = MakeWork({{0, 5}, {10, 1}});
  const auto bowl = BowlAndRise();
  struct Case {
    const CSpSlideWork* work;
    double x;
    double y;
  };
  const Case cases[] = {
      {straight.get(), 0, 5},
      {straight.get(), 10, 1},
      {straight.get(), 5, 3},
      {straight.get(), -0.001, kNoValue},
      {straight.get(), 10.001, kNoValue},
      {bowl.get(), 0, -5},
      {bowl.get(), -3, -4},
      {bowl.get(), -5, 0},
      {bowl.get(), 5, 0},
      {bowl.get(), 6.5, 2},
      {bowl.get(), 8, 4},
      {bowl.get(), 8.5, kNoValue},
  };
  for (const Case& c : cases) {
    const double y = c.work->GetY(c.x);
    if (c.y == kNoValue) {
      EXPECT_EQ(y, kNoValue) << c.x;
    } else {
      EXPECT_NEAR(y, c.y, 1e-12) << c.x;
    }
  }
  EXPECT_EQ(CSpSlideWork().GetY(0), kNoValue);
}

TEST(SlideWorkTest, LengthOfArcsAndSegments) {
  EXPECT_NEAR(BowlAndRise()->GetLength(), 5 * kPi + 5, 1e-12);
  // An arc stored with a negative start angle counts its sweep the same way.
  EXPECT_NEAR(MakeWork({{-5, 0, 0, 0, 0, 5, -kPi, 2 * kPi}, {5, 0}})->GetLength(), 5 * kPi, 1e-12);
  EXPECT_EQ(CSpSlideWork().GetLength(), 0);
}

TEST(SlideWorkTest, ExtremesCountTheArcs) {
  // An arc from 200 to 330 degrees: its lowest point lies between the vertices.
  const double a1 = 200 * kPi / 180;
  const double a2 = 330 * kPi / 180;
  const CDPoint s(5 * std::cos(a1), 5 * std::sin(a1));
  const CDPoint e(5 * std::cos(a2), 5 * std::sin(a2));
  const auto work = MakeWork({{s.x, s.y, 0, 0, 0, 5, a1, a2}, {e.x, e.y}});
  ExpectNearPoint(work->Bottom(), 0, -5, 1e-12);
  ExpectNearPoint(work->Left(), s.x, s.y, 1e-12);
  ExpectNearPoint(work->Right(), e.x, e.y, 1e-12);
  ExpectNearPoint(work->Top(), s.x, s.y, 1e-12);

  // The upper half: the arc reaches above and beyond its vertices' chord.
  const auto dome = MakeWork({{5, 0, 0, 0, 0, 5, 0, kPi}, {-5, 0}});
  ExpectNearPoint(dome->Top(), 0, 5, 1e-12);

  // All four at once are the four queries' points, bit for bit: arcs through an axis, wrapping,
  // with a negative angle, and one whose centre holds no value (which widens neither side).
  const auto unset = MakeWork({{-5, 0, 0, kNoValue, kNoValue, 5, kPi, 0}, {5, 0}});
  const auto wrapping = MakeWork(
      {{0, -5, 0, 0, 0, 5, 3 * kPi / 2, kPi / 3}, {2.5, 4.33, 0, 3, 4, 1.5, -2.0, 1.0}, {4, 5}});
  const auto bowl = BowlAndRise();
  for (const CSpSlideWork* surface :
       {work.get(), dome.get(), bowl.get(), unset.get(), wrapping.get()}) {
    const CSpSlideWork::Extremes extremes = surface->GetExtremes();
    EXPECT_EQ(extremes.left, surface->Left());
    EXPECT_EQ(extremes.right, surface->Right());
    EXPECT_EQ(extremes.bottom, surface->Bottom());
    EXPECT_EQ(extremes.top, surface->Top());
  }
}

TEST(SlideWorkTest, IsRightUpper) {
  struct Case {
    const char* what;
    std::unique_ptr<CSpSlideWork> work;
    bool rises;
  };
  Case cases[] = {
      {"rising", MakeWork({{0, 0}, {10, 5}}), true},
      {"falling", MakeWork({{0, 5}, {10, 0}}), false},
      {"rising, entered right to left", MakeWork({{10, 5}, {0, 0}}), true},
      {"level", MakeWork({{0, 0}, {10, 0}}), false},
      {"bowl and rise", BowlAndRise(), true},
      {"one point", MakeWork({{0, 0}}), false},
  };
  for (const Case& c : cases) EXPECT_EQ(c.work->IsRightUpper(), c.rises) << c.what;
}

// ---- Pieces met by a vertical ----

TEST(SlideWorkTest, PiecesAlongAVertical) {
  const auto work = BowlAndRise();
  struct Case {
    double x;
    int index;
    bool arc;
    double angle;
  };
  const Case cases[] = {
      {0, 0, true, 0},
      {-3, 0, true, std::atan2(-3.0, 4.0)},
      {-5, 0, true, 3 * kPi / 2},         // the vertical touches the arc at its start
      {-5.00005, 0, false, 3 * kPi / 2},  // met by the arc's end only: the tangent there
      {6.5, 1, false, std::atan2(4.0, 3.0)},
      {8, 2, false, std::atan2(4.0, 3.0)},  // the last vertex: the piece before it
      {9, -1, false, kNoValue},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(work->GetPointIndex(c.x), c.index) << c.x;
    EXPECT_EQ(work->GetArc(c.x) != nullptr, c.arc) << c.x;
    if (c.angle == kNoValue) {
      EXPECT_EQ(work->GetBottomAngle(c.x), kNoValue);
    } else {
      EXPECT_NEAR(work->GetBottomAngle(c.x), c.angle, 1e-9) << c.x;
    }
  }
  EXPECT_EQ(CSpSlideWork().GetPointIndex(0), -1);
}

TEST(SlideWorkTest, SlideBottom) {
  const auto work = BowlAndRise();
  double y1 = 0, y2 = 0;
  const auto arc = work->GetSlideBottom(-3, 4, y1, y2);
  EXPECT_NEAR(y1, -4, 1e-12);
  EXPECT_NEAR(y2, -3, 1e-12);
  ASSERT_NE(arc, nullptr);
  ExpectNearPoint(arc->GetStart(), -3, -4, 1e-12);
  ExpectNearPoint(arc->GetEnd(), 4, -3, 1e-12);
  EXPECT_EQ(work->GetSlideBottom(5.5, 7, y1, y2), nullptr);
  EXPECT_NEAR(y2, 8.0 / 3.0, 1e-12);
}

TEST(SlideWorkTest, DirectionsAtTheEndsAndAtPoints) {
  const auto work = BowlAndRise();
  // Out of the surface at the start: the bowl starts going down, so out of it is up (5pi/2).
  EXPECT_NEAR(work->GetStartAngle(), 5 * kPi / 2, 1e-12);
  EXPECT_NEAR(work->GetEndAngle(), std::atan2(4.0, 3.0), 1e-12);
  const auto straight = MakeWork({{0, 0}, {-3, 4}, {-6, 4}});
  EXPECT_NEAR(straight->GetStartAngle(), std::atan2(4.0, -3.0) + kPi, 1e-12);
  EXPECT_NEAR(straight->GetEndAngle(), kPi, 1e-12);
  EXPECT_EQ(MakeWork({{0, 0}})->GetStartAngle(), kNoValue);

  EXPECT_NEAR(work->GetPointAngle(CDPoint(0, -5)), 0, 1e-12);
  EXPECT_NEAR(work->GetPointAngle(CDPoint(6.5, 2)), std::atan2(4.0, 3.0), 1e-12);
  EXPECT_NEAR(work->GetPointAngle(CDPoint(5, 0)), kPi / 2, 1e-9);  // the arc's end comes first
  EXPECT_EQ(work->GetPointAngle(CDPoint(0, 0)), kNoValue);
  EXPECT_EQ(MakeWork({{0, 0}})->GetPointAngle(CDPoint(0, 0)), kNoValue);
}

TEST(SlideWorkTest, StrengthOfPosition) {
  // A vertical step, then a three-point arc, then a straight run down.
  const auto work = MakeWork({{0, 14, 1}, {0, 10, 2, 5, 10, 5, kPi, 0}, {10, 10, 3}, {15, 8, 4}});
  CSpSlide line;
  line.AddNewPoint(CDPoint(0, 10), 1, 2);
  line.AddNewPoint(CDPoint(5, 5), 0, 5);
  line.AddNewPoint(CDPoint(10, 10), 0, 3);
  struct Case {
    double x, y;
    const CSpSlide* line;
    int type;
  };
  const Case cases[] = {
      {0, 12, nullptr, 1}, {20, 12, nullptr, 1},  // on the step's heights, whatever x is asked
      {3, 6, nullptr, 2},  {7, 6, nullptr, 2},    {7, 6, &line, 5},     // the arc's second segment
      {3, 6, &line, 2},    {12, 9.2, nullptr, 3}, {15, 8, nullptr, 3},  // the last vertex
      {20, 0, nullptr, 0},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(work->GetStrengthOfPosition(c.x, c.y, c.line), c.type) << c.x << " " << c.y;
  }
}

// ---- Crossings ----

TEST(SlideWorkTest, CrossingsWithSegmentsRaysAndPolygons) {
  const auto work = BowlAndRise();
  const CDPoint a(-10, -3), b(10, -3);
  std::vector<double> xs = {100, 200};
  int pos = 1;
  EXPECT_EQ(work->GetCrossX(&a, &b, xs, &pos, nullptr), 2);
  EXPECT_EQ(pos, 3);
  ASSERT_EQ(xs.size(), 4u);
  EXPECT_NEAR(xs[1], -4, 1e-12);
  EXPECT_NEAR(xs[2], 4, 1e-12);
  int badPos = 9;
  EXPECT_THROW(work->GetCrossX(&a, &b, xs, &badPos, nullptr), std::out_of_range);

  CDPoint out;
  const CDPoint high(10, 3), low(0, 3);
  EXPECT_TRUE(work->GetCrossPoint(&high, &low, &out, 1e-6));
  ExpectNearPoint(out, 6.5 + 0.25 * 3, 3);  // on the rise at y = 3
  const CDPoint far1(20, 20), far2(30, 20);
  EXPECT_FALSE(work->GetCrossPoint(&far1, &far2, &out, 1e-6));
  EXPECT_EQ(out.x, kNoValue);
  EXPECT_EQ(out.y, kNoValue);
  const CDPoint below(0, -10);
  EXPECT_TRUE(work->GetCrossPoint(&below, kPi / 2, &out, 1e-6));
  ExpectNearPoint(out, 0, -5);

  CDPoly crossings;
  EXPECT_TRUE(work->GetCrossPointArray(&a, &b, &crossings, 1e-6));
  ExpectPoints(crossings, {{-4, -3}, {4, -3}});
  // A tangent touches the arc once.
  const CDPoint t1(-10, -5), t2(10, -5);
  EXPECT_TRUE(work->GetCrossPointArray(&t1, &t2, &crossings, 1e-6));
  ExpectPoints(crossings, {{0, -5}});
  const CDPoint start(-10, 3);
  EXPECT_TRUE(work->GetCrossPointArray(&start, 0.0, &crossings, 1e-6));
  EXPECT_EQ(crossings.GetSize(), 1);
  EXPECT_FALSE(work->GetCrossPointArray(&far1, &far2, &crossings, 1e-6));
  EXPECT_EQ(crossings.GetSize(), 0);

  // A triangle whose edges cross the bowl; its closing edge counts too.
  const auto triangle = MakePoly({{-10, -3}, {10, -3}, {0, 10}});
  EXPECT_TRUE(work->GetCrossPointArray(triangle.get(), &crossings, false, 1e-6));
  EXPECT_EQ(crossings.GetSize(), 3);  // two on the bowl, one on the rise by the second edge
  EXPECT_EQ(crossings.GetAt(0)->y, -3);
}

// ---- Inserting crossings ----

TEST(SlideWorkTest, InsCrossPointCutsThePieces) {
  // The polygon's lower edge cuts the bowl at x = -4 and 4; its right edge cuts the rise.
  CDPolyArray polygons;
  polygons.Add(MakePoly({{-10, -3}, {6.5, -3}, {6.5, 10}, {-10, 10}, {-10, -3}}));
  const auto bowl = BowlAndRise();  // the bowl has type 2 (stratum values), the rise type 3

  const auto some = bowl->InsCrossPoint(&polygons, false);
  ExpectPoints(*some, {{-5, 0, 0}, {-4, -3, 1}, {4, -3, 2}, {5, 0, -1}, {6.5, 2, -1}, {8, 4, -1}});
  EXPECT_EQ(some->GetArcCount(), 3);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(some->GetStrengthType(i), 2);
  EXPECT_EQ(some->GetStrengthType(3), 3);
  EXPECT_EQ(some->GetStrengthType(4), 3);
  for (int i = 0; i < 3; ++i) {
    const CDArc& arc = *some->GetArcAt(i);
    ExpectNearPoint(arc.GetStart(), some->GetAt(i)->x, some->GetAt(i)->y);
    ExpectNearPoint(arc.GetEnd(), some->GetAt(i + 1)->x, some->GetAt(i + 1)->y);
  }

  // Only pieces with stratum values are cut unless all are asked for.
  auto other = MakeWork({{-5, 0, 0, 0, 0, 5, kPi, 0}, {5, 0, 1}, {8, 4}});
  const auto none = other->InsCrossPoint(&polygons, false);
  ExpectPoints(*none, {{-5, 0, 0}, {5, 0, -1}, {8, 4, -1}});
  const auto all = other->InsCrossPoint(&polygons, true);
  EXPECT_EQ(all->GetSize(), 6);
}

TEST(SlideWorkTest, InsCrossPointMergesCoincidentVertices) {
  // A cut 5e-5 from the bowl's first vertex: the first of the two vertices goes, with its arc.
  const double x0 = -5 * std::cos(1e-5);
  CDPolyArray polygons;
  polygons.Add(MakePoly({{x0, -1e-3}, {x0, 1}, {-20, 1}, {-20, -1e-3}, {x0, -1e-3}}));
  const auto cut = BowlAndRise()->InsCrossPoint(&polygons, true);
  ASSERT_EQ(cut->GetSize(), 3);
  EXPECT_NEAR(cut->GetAt(0)->x, x0, 1e-12);
  EXPECT_EQ(cut->GetAt(0)->flag, 0);
  EXPECT_EQ(cut->GetArcCount(), 1);
  EXPECT_NEAR(cut->GetArcAt(0)->start, kPi + 1e-5, 1e-9);
  EXPECT_EQ(cut->GetStrengthSize(), 3);
}

TEST(SlideWorkTest, InsCrossPointKeepsAVeryShortArc) {
  // An arc of 5e-7 rad on a circle of radius 1000 (0.5 mm long) has nothing to cut: it stays a
  // piece of its own with its vertex and strength type.
  const double a0 = 1.5 * kPi;
  const CDArc shortArc(0.0, 1000.0, 1000.0, a0, a0 + 5e-7);
  const CDPoint s = shortArc.GetStart();
  const CDPoint e = shortArc.GetEnd();
  const auto work =
      MakeWork({{-5, 0, 1}, {s.x, s.y, 2, 0, 1000, 1000, a0, a0 + 5e-7}, {e.x, e.y, 3}, {5, 0, 4}});
  CDPolyArray polygons;
  const auto cut = work->InsCrossPoint(&polygons, true);
  ExpectPoints(*cut, {{-5, 0, -1}, {s.x, s.y, 0}, {e.x, e.y, -1}, {5, 0, -1}}, 1e-9);
  EXPECT_EQ(cut->GetArcCount(), 1);
  ASSERT_EQ(cut->GetStrengthSize(), 4);
  for (int i = 0; i < 4; ++i) EXPECT_EQ(cut->GetStrengthType(i), i + 1) << i;
}

// ---- Fitting to the ground ----

TEST(SlideWorkTest, CorrectSlideObjWithoutStrataTouchesNothing) {
  const auto work = BowlAndRise();
  auto noStrata = std::make_unique<CSpGround>();
  auto emptyStrata = FlatGround({});
  const std::vector<const CSpGround*> grounds = {nullptr, noStrata.get(), emptyStrata.get()};
  for (const CSpGround* ground : grounds) {
    CDPolyArray pieces;
    pieces.Add(MakePoly({{0, 0}, {1, 1}}));
    EXPECT_EQ(work->CorrectSlideObj(ground, &pieces, false), 0);
    EXPECT_EQ(pieces.GetSize(), 1);
  }
}

TEST(SlideWorkTest, CorrectSlideObjInTheInitialStretchStateLiftsACopy) {
  const auto work = BowlAndRise();
  const auto ground = FlatGround({{-10, 0}});
  CDPolyArray pieces;
  pieces.Add(MakePoly({{0, 0}, {1, 1}}));
  EXPECT_EQ(work->CorrectSlideObj(ground.get(), &pieces, false), 1);
  ASSERT_EQ(pieces.GetSize(), 1);
  const auto& piece = static_cast<const CSpSlideWork&>(*pieces.GetAt(0));
  ASSERT_EQ(piece.GetSize(), 3);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(piece.GetAt(i)->y, work->GetAt(i)->y + 1e-8) << i;
  EXPECT_EQ(piece.GetArcCount(), 1);
  EXPECT_EQ(piece.GetStrengthType(0), 2);
  ExpectSameWork(*work, *BowlAndRise());
}

TEST(SlideWorkTest, CorrectSlideObjKeepsThePiecesInsideTheStrata) {
  // A trough that dips below the ground at y = 0 between two rises above it.
  const auto work = MakeWork({{-8, 3, 1}, {-4, -2, 2}, {4, -2, 3}, {8, 3, 4}});
  const auto ground = FlatGround({{-10, 0}});
  CDPolyArray pieces;
  EXPECT_EQ(work->CorrectSlideObj(ground.get(), &pieces, true), 1);
  const auto& piece = static_cast<const CSpSlideWork&>(*pieces.GetAt(0));
  ExpectPoints(piece, {{-5.6, 0, -1}, {-4, -2, -1}, {4, -2, -1}, {5.6, 0, -1}}, 1e-7);
  EXPECT_EQ(piece.GetStrengthType(0), 1);
  EXPECT_EQ(piece.GetStrengthType(1), 2);
  EXPECT_EQ(piece.GetStrengthType(2), 3);
  ExpectSameWork(*work, *MakeWork({{-8, 3, 1}, {-4, -2, 2}, {4, -2, 3}, {8, 3, 4}}));
}

TEST(SlideWorkTest, CorrectSlideObjJoinsArcsCutByStrataEdges) {
  // Two strata: the bowl is cut by the edge at y = -3 and joined again; its vertical tangents
  // are closed up to the top of the strata.
  const auto work = MakeWork({{-5, 0.5, 2, 0, 0.5, 5, kPi, 0}, {5, 0.5}});
  const auto ground = FlatGround({{-10, -3}, {-3, 1}});
  CDPolyArray pieces;
  EXPECT_EQ(work->CorrectSlideObj(ground.get(), &pieces, true), 1);
  const auto& piece = static_cast<const CSpSlideWork&>(*pieces.GetAt(0));
  ExpectPoints(piece, {{-5, 1, -1}, {-5, 0.5, 0}, {5, 0.5, -1}, {5, 1, -1}}, 1e-7);
  ASSERT_EQ(piece.GetArcCount(), 1);
  EXPECT_NEAR(NormalizeAngle(piece.GetArcAt(0)->start), kPi, 1e-9);
  EXPECT_NEAR(NormalizeAngle(piece.GetArcAt(0)->end), 0, 1e-9);
}

TEST(SlideWorkTest, CorrectSlideObjSplitsWhereAClockwiseArcReachesTheGround) {
  // A convex arc (walked clockwise) rises to touch the ground at (0, 0) and the surface goes
  // down again: the piece is closed where the arc reaches the ground and a new one starts there.
  const double r = 4.1;  // the circle about (0, -r) through (-4, -5) that touches y = 0 at x = 0
  const auto work = MakeWork({{-8, -5, 1},
                              {-4, -5, 2, 0, -r, r, kPi / 2, std::atan2(-5 + r, -4) + 2 * kPi},
                              {0, 0, 3},
                              {6, -5, 4},
                              {9, -5, 5}});
  ASSERT_FALSE(work->RunsForward(1));
  const auto ground = FlatGround({{-10, 0}});
  CDPolyArray pieces;
  EXPECT_EQ(work->CorrectSlideObj(ground.get(), &pieces, true), 2);
  ASSERT_EQ(pieces.GetSize(), 2);
  const auto& first = static_cast<const CSpSlideWork&>(*pieces.GetAt(0));
  const auto& second = static_cast<const CSpSlideWork&>(*pieces.GetAt(1));
  ExpectPoints(first, {{-8, -5, -1}, {-4, -5, 0}, {0, 0, -1}}, 1e-7);
  ExpectPoints(second, {{0, 0, -1}, {6, -5, -1}, {9, -5, -1}}, 1e-7);
  EXPECT_EQ(second.GetStrengthType(0), 3);
}

TEST(SlideWorkTest, CorrectSlideObjStretchesWhenAModeIsSet) {
  // Head (upper end; the first vertex of a level surface) straight up, tail level to the right.
  CSpSlide::SetStretchParam(2, 2, 90.0, 0.0, -1, 5);
  const auto work = MakeWork({{-4, -2, 1}, {4, -2, 1}});
  const auto ground = FlatGround({{-10, 0}});
  CDPolyArray pieces;
  EXPECT_EQ(work->CorrectSlideObj(ground.get(), &pieces, false), 1);
  const auto& piece = static_cast<const CSpSlideWork&>(*pieces.GetAt(0));
  ExpectPoints(piece, {{-4, 0, -1}, {-4, -2, -1}, {4, -2, -1}, {10, -2, -1}}, 1e-7);
  EXPECT_EQ(piece.GetStrengthType(0), 1);  // the adjacent piece's
  EXPECT_EQ(piece.GetStrengthType(2), 5);
}

TEST(SlideWorkTest, StrechModeZeroContinuesArcsToAVerticalTangent) {
  const auto ground = FlatGround({{-10, 0}});
  const double a1 = 200 * kPi / 180;
  const double a2 = 340 * kPi / 180;
  auto work = MakeWork({{2 * std::cos(a1), -3 + 2 * std::sin(a1), 2, 0, -3, 2, a1, a2},
                        {2 * std::cos(a2), -3 + 2 * std::sin(a2), 2}});
  work->Strech(ground.get(), 0, 0, 0.0, 0.0, -1, -1);
  ExpectPoints(*work,
               {{-2, 0, -1},
                {-2, -3, 1},
                {2 * std::cos(a1), -3 + 2 * std::sin(a1), 0},
                {2 * std::cos(a2), -3 + 2 * std::sin(a2), 2},
                {2, -3, -1},
                {2, 0, -1}},
               1e-9);
  EXPECT_NEAR(work->GetLength(), 3 + 2 * kPi + 3, 1e-9);

  // An end on the ground is not stretched; a negative mode stretches nothing.
  auto onGround = MakeWork({{-2, 0, 2, 0, 0, 2, kPi, 0}, {2, 0}});
  onGround->Strech(ground.get(), 0, 0, 0.0, 0.0, -1, -1);
  EXPECT_EQ(onGround->GetSize(), 2);
  auto off = MakeWork({{-2, -3, 2, 0, -3, 2, kPi, 0}, {2, -3}});
  off->Strech(ground.get(), -1, -1, 0.0, 0.0, -1, -1);
  EXPECT_EQ(off->GetSize(), 2);
}

// A table of the strata answers the fitting's cuts and inside tests as the strata do, also when
// narrowed to the circle fitted: lower half circles over the sample section, from shallow to
// deep and from the toe to beyond the crest, and circles through the strata's vertices, give the
// same pieces bit for bit.
TEST(SlideWorkTest, CorrectSlideObjWithAStrataTableGivesTheSamePieces) {
  const SampleSection sample = MakeSampleSection();
  const CSpGround& ground = *sample.ground;
  CSpSlideWork::StrataTable table;
  table.Take(*ground.GetPolyArray());
  CSpSlideWork::StrataTable narrowed;
  narrowed.Take(*ground.GetPolyArray());
  int pieceCount = 0;
  const auto expectSamePieces = [&](const CDPoint& centre, double r) {
    SCOPED_TRACE(testing::Message() << centre.x << ", " << centre.y << ", " << r);
    const CDArc half(centre, r, kPi, 0);
    CSpSlide line;
    line.AddNewPoint(half.GetStart(), 1, 2);
    line.AddNewPoint(half.GetMid(0.5), 0, 2);
    line.AddNewPoint(half.GetEnd(), 0, 2);
    const auto surface = line.CreateDrawObj();
    CDPolyArray plain;
    const int count = surface->CorrectSlideObj(&ground, &plain, true);
    narrowed.NarrowTo(centre, r);
    for (const CSpSlideWork::StrataTable* t : {&table, &narrowed}) {
      CDPolyArray tabled;
      ASSERT_EQ(surface->CorrectSlideObj(&ground, &tabled, true, t), count);
      for (int k = 0; k < count; ++k) {
        ExpectSameWork(static_cast<const CSpSlideWork&>(*plain.GetAt(k)),
                       static_cast<const CSpSlideWork&>(*tabled.GetAt(k)));
      }
    }
    pieceCount += count;
  };
  for (double cx = -4; cx <= 36; cx += 2.5) {
    for (double cy = 6; cy <= 30; cy += 3) {
      for (double r = 4; r <= 48; r += 2.75) expectSamePieces(CDPoint(cx, cy), r);
    }
  }
  const CDPolyArray& strata = *ground.GetPolyArray();
  for (const CDPoint centre : {CDPoint(8, 18), CDPoint(16.5, 24)}) {
    for (int k = 0; k < strata.GetSize(); ++k) {
      for (const auto& vertex : strata.GetAt(k)->Points()) {
        if (vertex->y < centre.y) expectSamePieces(centre, Hypot(centre, *vertex));
      }
    }
  }
  EXPECT_GT(pieceCount, 1000);
}

// Surfaces built and fitted in storage kept from circle to circle (as a circle search does) are
// those of a fresh build and fit, bit for bit, whatever the earlier circles left there: more or
// fewer pieces, merged vertices, and a crack joined to every piece on the way.
TEST(SlideWorkTest, FittingInKeptStorageGivesThePiecesOfAFreshFitting) {
  const SampleSection sample = MakeSampleSection();
  const CSpGround& ground = *sample.ground;
  CSpSlideWork::StrataTable table;
  table.Take(*ground.GetPolyArray());
  CSpSlide line;
  line.AddNewPoint(CDPoint(), 1, 2);
  line.AddNewPoint(CDPoint(), 0, 2);
  line.AddNewPoint(CDPoint(), 0, 2);
  CSpSlideWork half;
  CSpSlideFitting fitting;
  std::set<int> counts;
  for (double cx = -4; cx <= 36; cx += 5) {
    for (double cy = 6; cy <= 30; cy += 4) {
      for (double r = 48; r >= 4; r -= 5.5) {
        SCOPED_TRACE(testing::Message() << cx << ", " << cy << ", " << r);
        const CDArc arc(CDPoint(cx, cy), r, kPi, 0);
        *line.GetAt(0) = arc.GetStart();
        *line.GetAt(1) = arc.GetMid(0.5);
        *line.GetAt(2) = arc.GetEnd();
        line.CreateDrawObjInto(half);
        const auto fresh = line.CreateDrawObj();
        ExpectSameWork(half, *fresh);
        CDPolyArray plain;
        const int count = fresh->CorrectSlideObj(&ground, &plain, true, &table);
        ASSERT_EQ(half.CorrectSlideObj(&ground, fitting, true, &table), count);
        ASSERT_EQ(fitting.GetSize(), count);
        for (int k = 0; k < count; ++k) {
          CSpSlideWork& piece = fitting.GetAt(k);
          ExpectSameWork(static_cast<const CSpSlideWork&>(*plain.GetAt(k)), piece);
          EXPECT_EQ(piece.GetCrackIndex(), -1);
          const CDPoint mid = piece.GetMid(0);
          piece.MixCrackline(CDPoint(mid.x, mid.y + 3), CDPoint(mid.x, mid.y - 1), 4);
        }
        counts.insert(count);
      }
    }
  }
  EXPECT_TRUE(counts.contains(0) && counts.contains(1) && counts.contains(2));
}

TEST(SlideWorkTest, DisposeOverArcClosesVerticalTangentsUpToTheTopOfTheStrata) {
  const auto ground = FlatGround({{-10, -1}, {-1, 0}});
  auto work = MakeWork({{-2, -3, 4, 0, -3, 2, kPi, 2 * kPi}, {2, -3, 5}});
  work->DisposeOverArc(ground->GetPolyArray());
  ExpectPoints(*work, {{-2, 0, -1}, {-2, -3, 0}, {2, -3, -1}, {2, 0, -1}}, 1e-9);
  EXPECT_EQ(work->GetStrengthType(0), 4);
  EXPECT_EQ(work->GetStrengthType(3), 5);

  auto shallow = MakeWork({{-2, 0, 4, 0, 0, 2, kPi, 0}, {2, 0}});
  shallow->DisposeOverArc(ground->GetPolyArray());
  EXPECT_EQ(shallow->GetSize(), 2);
}

// ---- Cutting at x ----

TEST(SlideWorkTest, CutAtX) {
  struct Case {
    double x;
    int count;
    std::vector<CDPoint> left;
    std::vector<CDPoint> right;
  };
  const Case cases[] = {
      {0, 2, {{-5, 0, 0}, {0, -5, -1}}, {{0, -5, 0}, {5, 0, -1}, {8, 4, -1}}},
      {5, 2, {{-5, 0, 0}, {5, 0, -1}}, {{5, 0, -1}, {8, 4, -1}}},
      {6.5, 2, {{-5, 0, 0}, {5, 0, -1}, {6.5, 2, -1}}, {{6.5, 2, -1}, {8, 4, -1}}},
      {20, 1, {{-5, 0, 0}, {5, 0, -1}, {8, 4, -1}}, {}},
  };
  const auto work = BowlAndRise();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.x);
    CDPolyArray parts;
    EXPECT_EQ(work->CutAtX(c.x, &parts), c.count);
    ExpectPoints(*parts.GetAt(0), c.left, 1e-12);
    if (c.count == 2) ExpectPoints(*parts.GetAt(1), c.right, 1e-12);
    const auto& left = static_cast<const CSpSlideWork&>(*parts.GetAt(0));
    EXPECT_EQ(left.GetStrengthType(left.GetSize() - 1), 0);
  }
  CDPolyArray parts;
  EXPECT_EQ(CSpSlideWork().CutAtX(0, &parts), -1);
  EXPECT_EQ(parts.GetSize(), 0);
}

// ---- Joining a tension crack ----

TEST(SlideWorkTest, MixCracklineOnAFallingSurface) {
  auto work = MakeWork({{0, 10, 1}, {10, 0, 2}, {20, 0, 3}});
  EXPECT_TRUE(work->MixCrackline(CDPoint(5, 8), CDPoint(5, 4), 4));
  ExpectPoints(*work, {{5, 8, -1}, {5, 5, -1}, {10, 0, -1}, {20, 0, -1}}, 1e-12);
  EXPECT_EQ(work->GetStrengthType(0), 4);
  EXPECT_EQ(work->GetStrengthType(1), 1);
  EXPECT_EQ(work->GetStrengthType(2), 2);
  EXPECT_EQ(work->GetCrackIndex(), 0);
}

TEST(SlideWorkTest, MixCracklineOnARisingSurface) {
  auto work = MakeWork({{0, 0, 1}, {10, 0, 2}, {20, 10, 3}});
  EXPECT_TRUE(work->MixCrackline(CDPoint(15, 8), CDPoint(15, 4), 4));
  ExpectPoints(*work, {{0, 0, -1}, {10, 0, -1}, {15, 5, -1}, {15, 8, -1}}, 1e-12);
  EXPECT_EQ(work->GetStrengthType(1), 2);
  EXPECT_EQ(work->GetStrengthType(2), 4);
  EXPECT_EQ(work->GetCrackIndex(), 3);
}

TEST(SlideWorkTest, MixCracklineCutsTheCrossedArc) {
  auto work = MakeWork({{-5, 0, 2, 0, 0, 5, kPi, 0}, {5, 0, 3}});
  EXPECT_TRUE(work->MixCrackline(CDPoint(3, 2), CDPoint(3, -5), 4));
  ExpectPoints(*work, {{3, 2, -1}, {3, -4, 0}, {5, 0, -1}}, 1e-12);
  ASSERT_EQ(work->GetArcCount(), 1);
  ExpectNearPoint(work->GetArcAt(0)->GetStart(), 3, -4);
  ExpectNearPoint(work->GetArcAt(0)->GetEnd(), 5, 0);
}

TEST(SlideWorkTest, MixCracklineThatCannotJoinLeavesTheSurface) {
  struct Case {
    const char* what;
    CDPoint p, q;
  };
  const Case cases[] = {
      {"crack on the wrong side", {5, 8}, {3, 4}},
      {"crack that stops short of the surface", {5, 8}, {5, 6}},
      {"crack that meets a piece's line beyond the piece", {25, 8}, {25, -4}},
  };
  for (const Case& c : cases) {
    // Entered right to left: the turn left to right is all that changes.
    auto work = MakeWork({{20, 0, 3}, {10, 0, 2}, {0, 10, 1}});
    EXPECT_FALSE(work->MixCrackline(c.p, c.q, 4)) << c.what;
    ExpectPoints(*work, {{0, 10, -1}, {10, 0, -1}, {20, 0, -1}});
    EXPECT_EQ(work->GetStrengthType(0), 2) << c.what;
    EXPECT_EQ(work->GetStrengthType(1), 3) << c.what;
    EXPECT_EQ(work->GetCrackIndex(), -1);
  }
}

// ---- Back to an entered line ----

TEST(SlideWorkTest, TransSpSlideTurnsArcsIntoThreePointArcs) {
  const auto work = BowlAndRise();
  const auto line = work->TransSpSlide(-1);
  ExpectPoints(*line, {{-5, 0}, {0, -5}, {5, 0}, {8, 4}}, 1e-12);
  const int styles[] = {1, 0, 0, 0};
  const int types[] = {2, 2, 3, 0};
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(line->GetStyle(i), styles[i]) << i;
    EXPECT_EQ(line->GetStrengthType(i), types[i]) << i;
  }
  double x = 0, y = 0, r = 0;
  line->GetOR(x, y, r);
  EXPECT_NEAR(x, 0, 1e-12);
  EXPECT_NEAR(r, 5, 1e-12);

  const auto given = work->TransSpSlide(4);
  for (int i = 0; i < 4; ++i) EXPECT_EQ(given->GetStrengthType(i), 4) << i;
  // Built again, the line gives the surface back.
  const auto again = line->CreateDrawObj();
  ExpectPoints(*again, {{-5, 0, 0}, {5, 0, -1}, {8, 4, -1}}, 1e-12);
  EXPECT_NEAR(again->GetArcAt(0)->R, 5, 1e-12);
}

// The slide line's vertices without the line give the line's points, styles and types, and the
// strength of every position on an arc as the line does: the slice division reads them instead
// of making the line for every slip circle. A type beyond the line's 16-bit field is kept as the
// line keeps it.
TEST(SlideWorkTest, SlipLineVerticesAnswerAsTheLine) {
  const auto work = BowlAndRise();
  for (const int type : {-1, 4, 0x12345}) {
    SCOPED_TRACE(type);
    const auto line = work->TransSpSlide(type);
    std::vector<CSpSlideWork::SlipLineVertex> vertices;
    work->GetSlipLineVertices(type, vertices);
    ASSERT_EQ(static_cast<int>(vertices.size()), line->GetSize());
    for (int i = 0; i < line->GetSize(); ++i) {
      const CSpSlideWork::SlipLineVertex& v = vertices[static_cast<std::size_t>(i)];
      EXPECT_EQ(v.point, *line->GetAt(i)) << i;
      EXPECT_EQ(v.style, line->GetStyle(i)) << i;
      EXPECT_EQ(v.type, line->GetStrengthType(i)) << i;
    }
    for (double x = -6; x <= 9; x += 0.25) {
      const double y = work->GetY(x);
      const CSpSlideWork::Vertical at = work->GetVertical(x);
      EXPECT_EQ(work->GetStrengthOfPosition(at, x, y, vertices),
                work->GetStrengthOfPosition(at, x, y, line.get()))
          << x;
    }
  }
}

// The vertical table answers as GetVertical and GetStrengthOfPosition, bit for bit, at random x
// and where the answers change: at every vertex, arc end and circle side, a unit in the last
// place either side of them and at once and twice the same-point reach about them, and in fine
// steps across the margins of the sweep tests beside them.
TEST(SlideWorkTest, VerticalTableAnswersAsTheSurface) {
  const SampleSection sample = MakeSampleSection();
  std::vector<std::unique_ptr<CSpSlideWork>> surfaces;
  surfaces.push_back(sample.slide->CreateDrawObj());
  surfaces.push_back(BowlAndRise());
  // A vertical step, an arc, a straight run.
  surfaces.push_back(MakeWork({{0, 14, 1}, {0, 10, 2, 5, 10, 5, kPi, 0}, {10, 10, 3}, {15, 8, 4}}));
  // Two arcs in a row, then a rise; and a hump (an arc above its centre) ending in a drop.
  surfaces.push_back(MakeWork({{-5, 0, 1, 0, 0, 5, kPi, 3 * kPi / 2},
                               {0, -5, 2, 0, -2, 3, 3 * kPi / 2, 2 * kPi},
                               {3, -2, 3},
                               {6, 1, 4}}));
  surfaces.push_back(MakeWork({{5, 0, 1, 0, 0, 5, 0, kPi}, {-5, 0, 2}, {-5, -3, 3}}));
  std::mt19937_64 random(38);
  for (std::size_t s = 0; s < surfaces.size(); ++s) {
    SCOPED_TRACE(s);
    const CSpSlideWork& work = *surfaces[s];
    std::vector<CSpSlideWork::ArcEnds> ends;
    work.GetArcEnds(ends);
    std::vector<CSpSlideWork::SlipLineVertex> slipLine;
    work.GetSlipLineVertices(-1, slipLine);
    CSpSlideWork::VerticalTable table;
    table.Take(work, ends);
    std::vector<CSpSlideWork::SlipLineVertex> slipLineOfTable;
    work.GetSlipLineVertices(slipLineOfTable, table);
    ASSERT_EQ(slipLineOfTable.size(), slipLine.size());
    for (std::size_t i = 0; i < slipLine.size(); ++i) {
      const CSpSlideWork::SlipLineVertex& v = slipLineOfTable[i];
      EXPECT_EQ(std::bit_cast<std::uint64_t>(v.point.x),
                std::bit_cast<std::uint64_t>(slipLine[i].point.x))
          << i;
      EXPECT_EQ(std::bit_cast<std::uint64_t>(v.point.y),
                std::bit_cast<std::uint64_t>(slipLine[i].point.y))
          << i;
      EXPECT_EQ(v.style, slipLine[i].style) << i;
      EXPECT_EQ(v.type, slipLine[i].type) << i;
    }

    std::vector<double> marks;
    for (int i = 0; i < work.GetSize(); ++i) marks.push_back(work.GetAt(i)->x);
    for (int i = 0; i < work.GetArcCount(); ++i) {
      const CDArc& arc = *work.GetArcAt(i);
      for (const double x : {arc.GetStart().x, arc.GetEnd().x, arc.centre.x - arc.R,
                             arc.centre.x + arc.R, arc.centre.x}) {
        marks.push_back(x);
      }
    }
    constexpr double kInfinity = std::numeric_limits<double>::infinity();
    std::vector<double> xs = {std::numeric_limits<double>::quiet_NaN(), kInfinity, -0.0};
    for (const double mark : marks) {
      for (int k = -400; k <= 400; ++k) xs.push_back(mark + k * 1e-6);
      for (const double near : {mark, mark - kSamePoint, mark + kSamePoint, mark - 2 * kSamePoint,
                                mark + 2 * kSamePoint}) {
        double below = near;
        double above = near;
        for (int step = 0; step < 3; ++step) {
          xs.push_back(below);
          xs.push_back(above);
          below = std::nextafter(below, -kInfinity);
          above = std::nextafter(above, kInfinity);
        }
      }
    }
    std::uniform_real_distribution<double> along(work.Left().x - 2, work.Right().x + 2);
    for (int i = 0; i < 2000; ++i) xs.push_back(along(random));

    for (const double x : xs) {
      const CSpSlideWork::Vertical expected = work.GetVertical(x, ends);
      const CSpSlideWork::Vertical at = table.At(x);
      EXPECT_EQ(std::bit_cast<std::uint64_t>(at.y), std::bit_cast<std::uint64_t>(expected.y)) << x;
      EXPECT_EQ(std::bit_cast<std::uint64_t>(table.HeightAt(x)),
                std::bit_cast<std::uint64_t>(expected.y))
          << x;
      EXPECT_EQ(at.piece, expected.piece) << x;
      EXPECT_EQ(at.arc, expected.arc) << x;
      for (const double y : {at.y, 12.0, -4.0}) {
        EXPECT_EQ(table.StrengthOfPosition(at, x, y, slipLine),
                  work.GetStrengthOfPosition(at, x, y, slipLine))
            << x << " " << y;
      }
    }
  }
}

// ---- Depth of the arc ----

TEST(SlideWorkTest, GetDepth) {
  const auto work = BowlAndRise();
  CDPolyArray shapes;
  shapes.Add(MakePoly({{-10, -3}, {10, -3}}));  // 2 into the bowl below its centre
  shapes.Add(MakePoly({{-10, 3}, {10, 3}}));    // above the centre: outside the arc's angles
  EXPECT_NEAR(work->GetDepth(&shapes, true), 2, 1e-12);

  CDPolyArray beyond;
  beyond.Add(MakePoly({{20, -1}, {30, -1}}));
  EXPECT_EQ(work->GetDepth(&beyond, true), kNoValue);
  EXPECT_NEAR(work->GetDepth(&beyond, false), 5 - std::hypot(20.0, 1.0), 1e-12);
  EXPECT_EQ(MakeWork({{0, 0}, {1, 1}})->GetDepth(&shapes, true), kNoValue);
}

// ---- Cutting polygons along the surface ----

TEST(SlideWorkTest, CutPolyWithSlide) {
  CDPolyArray blocks;
  blocks.Add(MakePoly({{-10, -10}, {10, -10}, {10, 0}, {-10, 0}, {-10, -10}}));
  const auto outline = MakePoly({{-10, 0}, {10, 0}});
  const auto work = MakeWork({{-5, 0, 0, 0, 0, 5, kPi, 0}, {5, 0}});
  // The arc runs as chords of pi/10 in angle: ten of them.
  const double chordArea = 0.5 * 25 * 10 * std::sin(kPi / 10);
  const auto totalArea = [](const CDPolyArray& faces) {
    double area = 0;
    for (int i = 0; i < faces.GetSize(); ++i) area += std::fabs(faces.GetAt(i)->GetArea());
    return area;
  };
  const auto above = blocks.CutPolyWithSlide(outline.get(), work.get(), 1);
  EXPECT_NEAR(totalArea(*above), chordArea, 1e-6);
  const auto below = blocks.CutPolyWithSlide(outline.get(), work.get(), 0);
  EXPECT_NEAR(totalArea(*below), 200 - chordArea, 1e-6);
}

TEST(SlideWorkTest, CutPolyWithSlideEndsOnArcsOfDamagedRecords) {
  // Arcs that no section produces: their points would never end. Each gives its far end only.
  const double inf = std::numeric_limits<double>::infinity();
  const struct {
    const char* what;
    double cy, r, start, end;
  } cases[] = {
      {"radius 0", 0, 0, kPi, 0},
      {"negative radius", 0, -5, kPi, 0},
      {"infinite radius", 0, inf, kPi, 0},
      {"a half circle of radius 1e15", 0, 1e15, kPi, 0},
      {"radius 1e18: steps too small to move the angle", 1e18, 1e18, 1.5 * kPi, 1.5 * kPi + 1e-15},
      {"start angle -inf", 0, 5, -inf, 0},
  };
  CDPolyArray blocks;
  blocks.Add(MakePoly({{-10, -10}, {10, -10}, {10, 0}, {-10, 0}, {-10, -10}}));
  const auto outline = MakePoly({{-10, 0}, {10, 0}});
  for (const auto& c : cases) {
    CSpSlideWork work;
    work.AddNewPoint(CDPoint(-5, 0), std::make_unique<CDArc>(0.0, c.cy, c.r, c.start, c.end), 0);
    work.AddNewPoint(CDPoint(5, 0), nullptr, 0);
    EXPECT_NE(blocks.CutPolyWithSlide(outline.get(), &work, 1), nullptr) << c.what;
  }
}

// ---- Drawing ----

TEST(SlideWorkTest, DrawsLinesAndArcsWithTheSelectedPen) {
  RecordingCanvas canvas;
  CViewInfo view;
  AttachTestView(view, canvas, 10.0, 150, 150);
  const Pen pen{PenStyle::Solid, 2, Color::Rgb(255, 0, 0)};
  canvas.SelectPen(pen);
  // World (x, y) is device (10x, 300 - 10y).
  const auto work = MakeWork({{0, 20},
                              {5, 10, 0, 10, 10, 5, kPi, 0},
                              {15, 10},
                              {20, 15},
                              {kNoValue, 0},
                              {25, 5},
                              {28, 5}});
  work->Draw(&view, 0, -1, -1);
  std::vector<std::vector<DevPoint>> lines;
  for (const auto& line : canvas.PrimitivesOf(PrimitiveKind::Line)) {
    EXPECT_EQ(line.state.pen, pen);
    lines.push_back(line.points);
  }
  const std::vector<std::vector<DevPoint>> expected = {
      {{0, 100}, {50, 200}}, {{150, 200}, {200, 150}}, {{250, 250}, {280, 250}}};
  EXPECT_EQ(lines, expected) << canvas.Dump();
  const auto arcs = canvas.PrimitivesOf(PrimitiveKind::Arc);
  ASSERT_EQ(arcs.size(), 1u);
  EXPECT_EQ(arcs[0].rect, (DevRect{50, 150, 151, 251}));

  canvas.Clear();
  work->Draw(&view, 1, -1, -1);  // bold arcs show their radii
  EXPECT_EQ(canvas.PrimitivesOf(PrimitiveKind::Line).size(), 5u) << canvas.Dump();
}

}  // namespace
