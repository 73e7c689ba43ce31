#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <initializer_list>
#include <memory>
#include <numbers>
#include <stdexcept>
#include <string>
#include <vector>

#include "core/base/CoreConfig.h"
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

namespace {

constexpr double kPi = std::numbers::pi;

// One entered vertex: position, segment style and strength type.
struct Vertex {
  double x;
  double y;
  int style = 0;
  int type = 0;
};

std::unique_ptr<CSpSlide> MakeSlide(std::initializer_list<Vertex> vertices) {
  auto slide = std::make_unique<CSpSlide>();
  for (const Vertex& v : vertices) slide->AddNewPoint(CDPoint(v.x, v.y), v.style, v.type);
  return slide;
}

// The same vertices entered in the opposite order: the style and type of a segment move to the
// vertex where the segment now starts.
std::unique_ptr<CSpSlide> MakeSlideBackwards(std::vector<Vertex> vertices) {
  auto slide = std::make_unique<CSpSlide>();
  for (int i = static_cast<int>(vertices.size()) - 1; i >= 0; --i) {
    const Vertex& at = vertices[static_cast<std::size_t>(i)];
    const Vertex* segment = i > 0 ? &vertices[static_cast<std::size_t>(i - 1)] : nullptr;
    slide->AddNewPoint(CDPoint(at.x, at.y), segment != nullptr ? segment->style : 0,
                       segment != nullptr ? segment->type : 0);
  }
  return slide;
}

void ExpectSameSurface(const CSpSlideWork& a, const CSpSlideWork& b, double tol = 1e-9) {
  ASSERT_EQ(a.GetSize(), b.GetSize());
  ASSERT_EQ(a.GetArcCount(), b.GetArcCount());
  ASSERT_EQ(a.GetStrengthSize(), b.GetStrengthSize());
  for (int i = 0; i < a.GetSize(); ++i) {
    EXPECT_NEAR(a.GetAt(i)->x, b.GetAt(i)->x, tol) << "vertex " << i;
    EXPECT_NEAR(a.GetAt(i)->y, b.GetAt(i)->y, tol) << "vertex " << i;
    EXPECT_EQ(a.GetAt(i)->flag, b.GetAt(i)->flag) << "vertex " << i;
    EXPECT_EQ(a.GetStrengthType(i), b.GetStrengthType(i)) << "entry " << i;
    const CDArc* arcA = a.GetArcFromPointIndex(i);
    const CDArc* arcB = b.GetArcFromPointIndex(i);
    ASSERT_EQ(arcA == nullptr, arcB == nullptr) << "vertex " << i;
    if (arcA == nullptr) continue;
    EXPECT_NEAR(arcA->centre.x, arcB->centre.x, tol);
    EXPECT_NEAR(arcA->centre.y, arcB->centre.y, tol);
    EXPECT_NEAR(arcA->R, arcB->R, tol);
    EXPECT_NEAR(NormalizeAngle(arcA->start), NormalizeAngle(arcB->start), tol);
    EXPECT_NEAR(NormalizeAngle(arcA->end), NormalizeAngle(arcB->end), tol);
  }
}

void ExpectSameLine(const CSpSlide& a, const CSpSlide& b) {
  EXPECT_EQ(a.GetName(), b.GetName());
  ASSERT_EQ(a.GetSize(), b.GetSize());
  for (int i = 0; i < a.GetSize(); ++i) {
    EXPECT_EQ(a.GetAt(i)->x, b.GetAt(i)->x) << "vertex " << i;
    EXPECT_EQ(a.GetAt(i)->y, b.GetAt(i)->y) << "vertex " << i;
    EXPECT_EQ(a.GetStyle(i), b.GetStyle(i)) << "vertex " << i;
    EXPECT_EQ(a.GetStrengthType(i), b.GetStrengthType(i)) << "vertex " << i;
    EXPECT_EQ(a.GetStrengthIndex(i), b.GetStrengthIndex(i)) << "vertex " << i;
  }
  double ax = 0, ay = 0, ar = 0, bx = 0, by = 0, br = 0;
  a.GetOR(ax, ay, ar);
  b.GetOR(bx, by, br);
  EXPECT_EQ(ax, bx);
  EXPECT_EQ(ay, by);
  EXPECT_EQ(ar, br);
}

// Slide lines are worked out unrounded unless a test switches the rounding on.
class SlideTest : public testing::Test {
 protected:
  void SetUp() override { CCoreConfig::SetEnableRound(0); }
};

// ---- Construction and record ----

TEST_F(SlideTest, NewLineIsNamedAndHoldsFourHundredZeroEntries) {
  const CSpSlide slide;
  EXPECT_EQ(slide.GetName(), "すべり面");
  EXPECT_EQ(slide.WhatKind(), kKindSlide);
  EXPECT_EQ(slide.GetStyle(399), 0);
  EXPECT_EQ(slide.GetStrengthType(399), 0);
  double x = 0, y = 0, r = 0;
  slide.GetOR(x, y, r);
  EXPECT_EQ(x, kNoValue);
  EXPECT_EQ(y, kNoValue);
  EXPECT_EQ(r, kNoValue);
  EXPECT_EQ(CDPoly::CreateNewElement(kKindSlide)->WhatKind(), kKindSlide);
}

TEST_F(SlideTest, RecordIsTheNameTheCircleAndEachVertexWithItsStyleAndStrength) {
  auto slide = MakeSlide({{1.5, -2.0, 1, 2}, {3.0, 4.0, 0, 5}});
  slide->SetStrengthIndex(0, 7);
  slide->SetOR(10.0, 20.0, 30.0);
  const std::vector<std::uint8_t> expected = RecordBytes()
                                                 .Text(u"すべり面")
                                                 .Int(2)
                                                 .Double(10.0)
                                                 .Double(20.0)
                                                 .Double(30.0)
                                                 .Double(1.5)
                                                 .Double(-2.0)
                                                 .Int(1)
                                                 .Int((2 << 16) | 7)
                                                 .Double(3.0)
                                                 .Double(4.0)
                                                 .Int(0)
                                                 .Int(5 << 16)
                                                 .Get();
  ExpectRecordContract<CSpSlide>({
      .stored = *slide,
      .version = 0,
      .bytes = expected,
      .makeTarget =
          [] {
            return MakeSlide({{5, 5, 3, 4}, {6, 6}});
          },
  });
}

TEST_F(SlideTest, ThousandVerticesRoundTrip) {
  CSpSlide slide;
  for (int i = 0; i < 1000; ++i) {
    slide.AddNewPoint(CDPoint(i * 0.5, std::sin(i * 0.01)), i % 6, (i * 7) % 6);
    slide.SetStrengthIndex(i, i);
  }
  slide.SetOR(1.0, 2.0, 3.0);
  Archive out;
  slide.Store(out, 0);

  Archive in(out.Bytes());
  CSpSlide loaded;
  loaded.Load(in, 0);
  ExpectSameLine(loaded, slide);
  EXPECT_EQ(loaded.GetStyle(999), 999 % 6);
  EXPECT_EQ(loaded.GetStrengthIndex(999), 999);
  EXPECT_EQ(loaded.GetStyle(1000), 0);
}

TEST_F(SlideTest, NegativeCountLeavesTheLineAsItWas) {
  auto slide = MakeSlide({{5, 5, 3, 4}, {6, 6}});
  Archive in(RecordBytes().Text(u"x").Int(-1).Double(0).Double(0).Double(0).Get());
  EXPECT_THROW(slide->Load(in, 0), ArchiveException);
  ExpectSameLine(*slide, *MakeSlide({{5, 5, 3, 4}, {6, 6}}));
}

TEST_F(SlideTest, StaticSettingsRecord) {
  CSpSlide::SetStretchParam(1, 2, 45.0, 30.0, 3, 4);
  CSpSlide::SetShowABC(0);
  Archive out;
  CSpSlide::SerializeStaticMember(out);
  EXPECT_EQ(out.Bytes(),
            RecordBytes().Int(4).Int(3).Int(2).Int(1).Double(30.0).Double(45.0).Int(0).Get());

  CSpSlide::SetStretchParam(-1, -1, 90.0, 0.0, -1, -1);
  CSpSlide::SetShowABC(1);
  Archive in(out.Bytes());
  CSpSlide::SerializeStaticMember(in);
  const CSpSlide::StretchParam stretch = CSpSlide::GetStretchParam();
  EXPECT_EQ(stretch.typeHead, 1);
  EXPECT_EQ(stretch.typeTail, 2);
  EXPECT_EQ(stretch.angleHead, 45.0);
  EXPECT_EQ(stretch.angleTail, 30.0);
  EXPECT_EQ(stretch.strengthHead, 3);
  EXPECT_EQ(stretch.strengthTail, 4);
  EXPECT_EQ(CSpSlide::GetShowABC(), 0);
}

// ---- Styles, strengths and vertices ----

TEST_F(SlideTest, EntriesGrowOnWriteAndReadZeroPastTheEnd) {
  CSpSlide slide;
  EXPECT_EQ(slide.GetStyle(5000), 0);
  slide.SetStyle(450, 4);
  slide.SetStrengthType(600, 3);
  slide.SetStrengthIndex(600, 0xABCD);
  EXPECT_EQ(slide.GetStyle(450), 4);
  EXPECT_EQ(slide.GetStrengthType(600), 3);
  EXPECT_EQ(slide.GetStrengthIndex(600), 0xABCD);
  slide.SetStrengthType(600, 1);  // the index half stays
  EXPECT_EQ(slide.GetStrengthIndex(600), 0xABCD);
  slide.SetStrengthSize(10);
  EXPECT_EQ(slide.GetStrengthType(600), 0);
  EXPECT_THROW(slide.SetStyle(-1, 0), std::out_of_range);
  EXPECT_THROW(slide.GetStrengthType(-1), std::out_of_range);
}

TEST_F(SlideTest, StyleString) {
  const auto slide = MakeSlide({{0, 5, 1}, {1, 4}, {2, 3}, {3, 2, 2}, {4, 2}, {5, 2}});
  const std::vector<std::string> expected = {"円弧", "円弧", "直線", "円弧", "直線", "", ""};
  for (int i = 0; i < 7; ++i) EXPECT_EQ(slide->GetStyleString(i), expected[i]) << i;
}

TEST_F(SlideTest, InsertAndDeleteMoveTheEntriesWithTheirVertices) {
  CSpSlide slide;
  for (int i = 0; i < 500; ++i) slide.AddNewPoint(CDPoint(i, 0), i % 6, (i + 1) % 6);
  slide.InsertPoint(2, CDPoint(1.5, 1), 3, 4, 9);
  EXPECT_EQ(slide.GetSize(), 501);
  EXPECT_EQ(slide.GetAt(2)->x, 1.5);
  EXPECT_EQ(slide.GetStyle(2), 3);
  EXPECT_EQ(slide.GetStrengthType(2), 4);
  EXPECT_EQ(slide.GetStrengthIndex(2), 9);
  EXPECT_EQ(slide.GetStyle(3), 2);  // the old vertex 2

  // Entries beyond the first 400 move down as well.
  slide.DeletePoint(2);
  slide.DeletePoint(10);
  EXPECT_EQ(slide.GetSize(), 499);
  for (int i : {9, 10, 398, 399, 400, 450, 498}) {
    const int old = i < 10 ? i : i + 1;
    EXPECT_EQ(slide.GetAt(i)->x, old) << i;
    EXPECT_EQ(slide.GetStyle(i), old % 6) << i;
    EXPECT_EQ(slide.GetStrengthType(i), (old + 1) % 6) << i;
  }
  EXPECT_EQ(slide.GetStyle(499), 0);
  slide.DeletePoint(499);  // no such vertex
  slide.DeletePoint(-1);
  EXPECT_EQ(slide.GetSize(), 499);
}

TEST_F(SlideTest, ChangeValid) {
  auto slide = MakeSlide({{1.23456, 10000.0, 7, 9}, {2, 3, 5, 5}});
  slide->SetStrengthIndex(0, 12);
  struct Case {
    double cx, cy, r;
    double expectedCx, expectedCy, expectedR;
  };
  const Case cases[] = {
      {1.0, 2.0, 0.0, 1.0, 2.0, kNoValue},
      {10000.0, -10000.0, 10000.0, kNoValue, kNoValue, kNoValue},
      {9999.999, -9999.999, 9999.999, 9999.999, -9999.999, 9999.999},
      {kNoValue, kNoValue, -1.0, kNoValue, kNoValue, kNoValue},
  };
  for (const Case& c : cases) {
    CSpSlide copy;
    copy.Copy(slide.get());
    copy.SetOR(c.cx, c.cy, c.r);
    copy.ChangeValid();
    double x = 0, y = 0, r = 0;
    copy.GetOR(x, y, r);
    EXPECT_EQ(x, c.expectedCx);
    EXPECT_EQ(y, c.expectedCy);
    EXPECT_EQ(r, c.expectedR);
    EXPECT_EQ(copy.GetAt(0)->y, kNoValue);
    EXPECT_EQ(copy.GetStyle(0), 0);
    EXPECT_EQ(copy.GetStrengthType(0), 0);
    EXPECT_EQ(copy.GetStrengthIndex(0), 12);
    EXPECT_EQ(copy.GetStyle(1), 5);
    EXPECT_EQ(copy.GetStrengthType(1), 5);
  }
}

TEST_F(SlideTest, ChangeValidRoundsTheCircleWhileRoundingIsOn) {
  CCoreConfig::SetEnableRound(1);
  CSpSlide slide;
  slide.SetOR(1.23456789, 2.34567891, 3.45678912);
  slide.ChangeValid();
  double x = 0, y = 0, r = 0;
  slide.GetOR(x, y, r);
  EXPECT_EQ(x, CCoreConfig::GetRound(1.23456789, 341));
  EXPECT_EQ(y, CCoreConfig::GetRound(2.34567891, 351));
  EXPECT_EQ(r, CCoreConfig::GetRound(3.45678912, 993));
  EXPECT_NE(r, 3.45678912);
}

TEST_F(SlideTest, StrengthSettingsOverTheSegments) {
  struct Case {
    std::vector<int> types;  // per vertex; the last vertex starts no segment
    bool rev, calcRev, tisoti, siteiti0, siteiti1;
  };
  const Case cases[] = {
      {{0, 2, 9}, true, true, true, false, false},  {{1, 3, 0}, true, false, true, false, false},
      {{4, 5, 0}, false, false, false, true, true}, {{2, 4, 1}, false, false, true, true, false},
      {{5}, false, false, false, false, false},
  };
  for (const Case& c : cases) {
    CSpSlide slide;
    for (std::size_t i = 0; i < c.types.size(); ++i) {
      slide.AddNewPoint(CDPoint(static_cast<double>(i), 0), 0, c.types[i]);
    }
    EXPECT_EQ(slide.IsIncludeRev(), c.rev);
    EXPECT_EQ(slide.IsCalcRevRelation(), c.calcRev);
    EXPECT_EQ(slide.IsIncludeTisoti(), c.tisoti);
    EXPECT_EQ(slide.IsIncludeSiteiti(0), c.siteiti0);
    EXPECT_EQ(slide.IsIncludeSiteiti(1), c.siteiti1);
    EXPECT_FALSE(slide.IsIncludeSiteiti(2));
  }
  // A segment without a strength entry counts as back analysis tied to the calculation.
  auto slide = MakeSlide({{0, 0, 0, 4}, {1, 0, 0, 4}, {2, 0}});
  slide->SetStrengthSize(1);
  EXPECT_TRUE(slide->IsIncludeRev());
  EXPECT_TRUE(slide->IsCalcRevRelation());
}

TEST_F(SlideTest, IsValidSpecif) {
  EXPECT_FALSE(MakeSlide({{0, 0}})->IsValidSpecif());
  EXPECT_TRUE(MakeSlide({{0, 0}, {1, 1}})->IsValidSpecif());
  EXPECT_FALSE(MakeSlide({{0, 0}, {1, kNoValue}})->IsValidSpecif());
}

TEST_F(SlideTest, ThreePointStrengthOfTheSecondSegment) {
  const auto slide = MakeSlide({{0, 5, 1, 4}, {2, 3, 0, 5}, {4, 2, 0, 3}, {6, 2}});
  int out = -1;
  EXPECT_EQ(slide->Get3PStrength(2.0, out), 1);  // lower end included
  EXPECT_EQ(out, 5);
  EXPECT_EQ(slide->Get3PStrength(4.0, out), 0);  // upper end excluded
  EXPECT_EQ(slide->Get3PStrength(1.0, out), 0);
}

// ---- Reversal ----

TEST_F(SlideTest, ReverseSuberi) {
  auto slide = MakeSlide({{0, 10, 1, 1}, {2, 6, 0, 2}, {4, 4, 2, 3}, {8, 2, 4, 4}, {14, 2, 0, 5}});
  slide->SetStrengthIndex(2, 33);
  slide->SetOR(7.0, 12.0, 9.5);
  slide->ReverseSuberi();
  const struct {
    double x;
    int style, type, index;
  } expected[] = {{14, 4, 4, 0}, {8, 3, 3, 33}, {4, 1, 2, 0}, {2, 0, 1, 0}, {0, 0, 0, 0}};
  ASSERT_EQ(slide->GetSize(), 5);
  for (int i = 0; i < 5; ++i) {
    EXPECT_EQ(slide->GetAt(i)->x, expected[i].x) << i;
    EXPECT_EQ(slide->GetStyle(i), expected[i].style) << i;
    EXPECT_EQ(slide->GetStrengthType(i), expected[i].type) << i;
    EXPECT_EQ(slide->GetStrengthIndex(i), expected[i].index) << i;
  }
  EXPECT_EQ(slide->GetName(), "すべり面");
  double cx = 0, cy = 0, r = 0;
  slide->GetOR(cx, cy, r);
  EXPECT_EQ(cx, 7.0);
  EXPECT_EQ(cy, 12.0);
  EXPECT_EQ(r, 9.5);

  CSpSlide empty;
  empty.ReverseSuberi();
  EXPECT_EQ(empty.GetSize(), 0);
}

// ---- Building the working surface ----

TEST_F(SlideTest, TwoStraightPointsGiveTwoStraightVertices) {
  const auto work = MakeSlide({{0, 5, 0, 2}, {10, 1, 0, 3}})->CreateDrawObj();
  ExpectPoints(*work, {{0, 5, -1}, {10, 1, -1}});
  EXPECT_EQ(work->GetStrengthSize(), 2);
  EXPECT_EQ(work->GetStrengthType(0), 2);
  EXPECT_EQ(work->GetArcCount(), 0);
}

TEST_F(SlideTest, ThreePointArcDropsItsMiddleVertex) {
  const auto work = MakeSlide({{-3, 4, 1, 2}, {0, -5}, {4, -3}})->CreateDrawObj();
  ExpectPoints(*work, {{-3, 4, 0}, {4, -3, -1}});
  ASSERT_EQ(work->GetArcCount(), 1);
  const CDArc& arc = *work->GetArcAt(0);
  // The circle through the three points: x^2 + y^2 = 25.
  EXPECT_NEAR(arc.centre.x, 0, 1e-12);
  EXPECT_NEAR(arc.centre.y, 0, 1e-12);
  EXPECT_NEAR(arc.R, 5, 1e-12);
  EXPECT_NEAR(work->GetY(0), -5, 1e-12);
  EXPECT_EQ(work->GetStrengthSize(), 2);
  EXPECT_EQ(work->GetStrengthType(0), 2);
}

TEST_F(SlideTest, HalfCircle) {
  constexpr double r = 5.0;
  const auto work = MakeSlide({{-r, 0, 1}, {0, -r}, {r, 0}})->CreateDrawObj();
  EXPECT_NEAR(work->GetLength(), kPi * r, 1e-12);
  for (const double x : {-5.0, -4.0, -2.5, 0.0, 1.0, 3.0, 4.9, 5.0}) {
    EXPECT_NEAR(work->GetY(x), -std::sqrt(r * r - x * x), 1e-9) << x;
  }
  EXPECT_EQ(work->GetY(5.1), kNoValue);
}

TEST_F(SlideTest, ArcThatCannotBeBuiltRunsStraight) {
  struct Case {
    const char* what;
    std::vector<Vertex> vertices;
  };
  const Case cases[] = {
      {"three-point arc on the last segment", {{0, 5}, {2, 3, 1}, {6, 1}}},
      {"three-point arc through points on a line", {{0, 6, 1}, {2, 4}, {4, 2}, {8, 2}}},
      {"tangent arc without a previous vertex", {{0, 6, 3}, {2, 4}, {4, 2}}},
      {"fillet without a vertex after the next", {{0, 6}, {2, 4, 4}, {4, 3}}},
  };
  for (const Case& c : cases) {
    auto slide = std::make_unique<CSpSlide>();
    for (const Vertex& v : c.vertices) slide->AddNewPoint(CDPoint(v.x, v.y), v.style, v.type);
    const auto work = slide->CreateDrawObj();
    EXPECT_EQ(work->GetArcCount(), 0) << c.what;
    std::vector<CDPoint> expected;
    for (const Vertex& v : c.vertices) expected.emplace_back(v.x, v.y, -1);
    ExpectPoints(*work, expected);
    EXPECT_EQ(work->GetStrengthSize(), static_cast<int>(c.vertices.size())) << c.what;
  }
  // Entered right to left, the straight surface is still turned left to right.
  const auto work = MakeSlide({{6, 1}, {2, 3, 1}, {0, 5}})->CreateDrawObj();
  ExpectPoints(*work, {{0, 5, -1}, {2, 3, -1}, {6, 1, -1}});
}

TEST_F(SlideTest, ArcStylesGiveTheirArcs) {
  // A line bending up: the arc joints round the bends from below.
  const std::vector<Vertex> line = {{0, 10}, {4, 4}, {8, 2}, {14, 2}};
  struct Case {
    int style;
    std::vector<CDPoint> expected;  // vertex positions and flags
  };
  const Case cases[] = {
      {1, {{0, 10, 0}, {8, 2, -1}, {14, 2, -1}}},
      {2, {{0, 10, -1}, {4, 4, 0}, {8, 2, -1}, {14, 2, -1}}},
      {3, {{0, 10, -1}, {4, 4, 0}, {8, 2, -1}, {14, 2, -1}}},
  };
  for (const Case& c : cases) {
    std::vector<Vertex> vertices = line;
    vertices[c.style == 1 ? 0 : 1].style = c.style;
    auto slide = std::make_unique<CSpSlide>();
    for (const Vertex& v : vertices) slide->AddNewPoint(CDPoint(v.x, v.y), v.style, v.type);
    const auto work = slide->CreateDrawObj();
    ExpectPoints(*work, c.expected);
    ASSERT_EQ(work->GetArcCount(), 1);
    const CDArc& arc = *work->GetArcAt(0);
    // Each arc runs through the vertices it joins.
    const CDPoint& from = *work->GetAt(c.style == 1 ? 0 : 1);
    const CDPoint& to = *work->GetAt(c.style == 1 ? 1 : 2);
    EXPECT_NEAR(Hypot(arc.GetStart(), from), 0, 1e-9) << c.style;
    EXPECT_NEAR(Hypot(arc.GetEnd(), to), 0, 1e-9) << c.style;
  }
  // Style 2 is tangent at the next vertex to the line on from it (horizontal there): the centre
  // lies straight above (8, 2). Style 3 is tangent here to the line from the previous vertex.
  auto tangentNext = MakeSlide({{0, 10}, {4, 4, 2}, {8, 2}, {14, 2}})->CreateDrawObj();
  EXPECT_NEAR(tangentNext->GetArcAt(0)->centre.x, 8, 1e-12);
  auto tangentHere = MakeSlide({{0, 10}, {4, 4, 3}, {8, 2}, {14, 2}})->CreateDrawObj();
  const CDPoint toCentre = tangentHere->GetArcAt(0)->centre - CDPoint(4, 4);
  EXPECT_NEAR(toCentre.x * 4 + toCentre.y * -6, 0, 1e-9);  // normal to (0,10)-(4,4)
}

TEST_F(SlideTest, FilletsKeepOneTangentPoint) {
  // The corner of the lines (0,10)-(4,4) and (8,2)-(14,2) lies at (16/3, 2).
  const CDPoint corner(16.0 / 3.0, 2.0);
  const double keptDistance = Hypot(CDPoint(4, 4), corner);
  const auto style4 = MakeSlide({{0, 10}, {4, 4, 4}, {8, 2}, {14, 2}})->CreateDrawObj();
  ASSERT_EQ(style4->GetSize(), 4);
  EXPECT_EQ(style4->GetAt(1)->x, 4);  // touches the first line at this vertex
  EXPECT_EQ(style4->GetAt(1)->flag, 0);
  EXPECT_NEAR(style4->GetAt(2)->x, corner.x + keptDistance, 1e-9);
  EXPECT_NEAR(style4->GetAt(2)->y, 2, 1e-9);

  const auto style5 = MakeSlide({{0, 10}, {4, 4, 5}, {8, 2}, {14, 2}})->CreateDrawObj();
  ASSERT_EQ(style5->GetSize(), 4);
  EXPECT_EQ(style5->GetAt(2)->x, 8);  // touches the second line at the next vertex
  const double d = Hypot(CDPoint(8, 2), corner);
  const CDPoint alongFirst = (CDPoint(0, 10) - corner).GetVecUnit() * d + corner;
  EXPECT_NEAR(style5->GetAt(1)->x, alongFirst.x, 1e-9);
  EXPECT_NEAR(style5->GetAt(1)->y, alongFirst.y, 1e-9);
  EXPECT_EQ(style5->GetAt(1)->flag, 0);
}

TEST_F(SlideTest, LineEnteredRightToLeftGivesTheSameSurface) {
  // The same segment keeps its strength type; the arc styles that name a side swap (2 and 3),
  // the fillets (4 and 5) keep their meaning.
  struct Case {
    const char* what;
    std::vector<Vertex> leftToRight;
    // The style and type of segment k (from vertex k to k+1) when entered backwards; a
    // three-point arc is marked on its first segment in the order of entry.
    std::vector<Vertex> asEnteredBackwards;
  };
  const std::vector<Vertex> base = {{0, 10, 0, 1}, {4, 4, 0, 2}, {8, 2, 0, 3}, {14, 2, 0, 0}};
  const auto withStyle = [&base](int vertex, int style) {
    std::vector<Vertex> v = base;
    v[static_cast<std::size_t>(vertex)].style = style;
    return v;
  };
  auto arcOfTwo = withStyle(0, 1);
  arcOfTwo[1].type = arcOfTwo[0].type;  // both segments of the arc alike
  auto arcOfTwoBackwards = arcOfTwo;
  arcOfTwoBackwards[0].style = 0;
  arcOfTwoBackwards[1].style = 1;
  const Case cases[] = {
      {"straight", base, base},
      {"three-point arc", arcOfTwo, arcOfTwoBackwards},
      {"tangent at the next vertex", withStyle(1, 2), withStyle(1, 3)},
      {"tangent at this vertex", withStyle(1, 3), withStyle(1, 2)},
      {"fillet touching the first line", withStyle(1, 4), withStyle(1, 4)},
      {"fillet touching the second line", withStyle(1, 5), withStyle(1, 5)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    auto forward = std::make_unique<CSpSlide>();
    for (const Vertex& v : c.leftToRight) forward->AddNewPoint(CDPoint(v.x, v.y), v.style, v.type);
    const auto backward = MakeSlideBackwards(c.asEnteredBackwards);
    ExpectSameSurface(*forward->CreateDrawObj(), *backward->CreateDrawObj());
  }
}

// ---- Questions answered by the working surface ----

TEST_F(SlideTest, QuestionsGoThroughTheWorkingSurface) {
  const auto slide = MakeSlide({{-5, 0, 1}, {0, -5}, {5, 0}, {8, 2}});
  EXPECT_NEAR(slide->GetY(0), -5, 1e-12);
  EXPECT_NEAR(slide->GetY_linear(0), 0, 1e-12);  // the chord from (-5, 0) to (5, 0)
  EXPECT_NEAR(slide->GetY_linear(6.5), 1, 1e-12);
  const auto arc = slide->GetArc(1.0);
  ASSERT_NE(arc, nullptr);
  EXPECT_NEAR(arc->R, 5, 1e-12);
  EXPECT_EQ(slide->GetArc(6.0), nullptr);
  EXPECT_NEAR(slide->GetBottomAngle(0), 0, 1e-12);
  EXPECT_NEAR(slide->GetBottomAngle(6.5), std::atan2(2.0, 3.0), 1e-12);

  const CDPoint up(0, -10);
  CDPoint out;
  EXPECT_TRUE(slide->GetCrossPoint(&up, kPi / 2, &out, 1e-6));
  EXPECT_NEAR(out.y, -5, 1e-9);
  CDPoly crossings;
  const CDPoint left(-10, -3);
  EXPECT_TRUE(slide->GetCrossPointArray(&left, 0.0, &crossings, 1e-6));
  EXPECT_EQ(crossings.GetSize(), 2);
  std::vector<double> xs;
  const CDPoint a(-10, -3), b(10, -3);
  EXPECT_EQ(slide->GetCrossX(&a, &b, xs, nullptr, nullptr), 2);
  ASSERT_EQ(xs.size(), 2u);
  EXPECT_NEAR(xs[0], -4, 1e-9);
  EXPECT_NEAR(xs[1], 4, 1e-9);
}

TEST_F(SlideTest, CrossCountWithAStratumPolygon) {
  const auto slide = MakeSlide({{-5, 0, 1}, {0, -5}, {5, 0}});
  // A rectangle whose lower edge the arc crosses twice and whose corner it passes through.
  const auto box = MakePoly({{-3, -4}, {5, -4}, {5, 2}, {-3, 2}, {-3, -4}});
  EXPECT_EQ(slide->GetCrossCountTiso(box.get()), 3);  // (-3,-4), (3,-4), (5,0)
  const auto outside = MakePoly({{20, 0}, {30, 0}, {30, 5}, {20, 0}});
  EXPECT_EQ(slide->GetCrossCountTiso(outside.get()), 0);
  EXPECT_EQ(CSpSlide().GetCrossCountTiso(box.get()), 0);
}

std::unique_ptr<CSpGround> GroundWithOneStratum() {
  auto ground = MakePoly<CSpGround>({{-10, 5}, {10, 5}});
  auto strata = std::make_unique<CDPolyArray>();
  strata->Add(MakePoly<CSpStratumBlock>({{-10, -10}, {10, -10}, {10, 5}, {-10, 5}, {-10, -10}}));
  ground->SetPolyArray(std::move(strata));
  return ground;
}

TEST_F(SlideTest, CorrectSlideObjFitsTheWorkingSurface) {
  const auto slide = MakeSlide({{-5, 0, 1}, {0, -5}, {5, 0}});
  const auto ground = GroundWithOneStratum();
  CDPolyArray pieces;
  EXPECT_EQ(slide->CorrectSlideObj(ground.get(), &pieces, false), 1);
  ASSERT_EQ(pieces.GetSize(), 1);
  EXPECT_EQ(pieces.GetAt(0)->WhatKind(), kKindSlideWork);
  EXPECT_NEAR(pieces.GetAt(0)->GetAt(0)->y, 1e-8, 1e-15);
}

// ---- Drawing ----

class SlideDrawTest : public SlideTest {
 protected:
  // The default 30 x 30 area at 10 pixels per unit: world (x, y) is device (10x, 300 - 10y).
  void SetUp() override {
    SlideTest::SetUp();
    AttachTestView(view, canvas, 10.0, 150, 150);
    canvas.SelectPen(kPrevious);
  }

  static constexpr Pen kPrevious{PenStyle::Dot, 3, Color::Rgb(1, 2, 3)};
  RecordingCanvas canvas;
  CViewInfo view;
};

TEST_F(SlideDrawTest, RedPenWidthByOutput) {
  struct Case {
    int bold;
    bool print;
    int width;
  };
  for (const Case& c : {Case{0, false, 1}, Case{1, false, 2}, Case{0, true, 3}, Case{1, true, 3}}) {
    canvas.Clear();
    view.mode = c.print ? CViewInfo::kModePrint : CViewInfo::kModeDraw;
    MakeSlide({{0, 10}, {10, 5}, {20, 5}})->Draw(&view, c.bold, -1, -1);
    const auto lines = canvas.PrimitivesOf(PrimitiveKind::Line);
    ASSERT_EQ(lines.size(), 2u) << canvas.Dump();
    for (const auto& line : lines) {
      EXPECT_EQ(line.state.pen, (Pen{PenStyle::Solid, c.width, Color::Rgb(255, 0, 0)}));
    }
    EXPECT_EQ(canvas.CurrentPen(), kPrevious);
  }
  view.mode = CViewInfo::kModeDraw;
  canvas.Clear();
  CSpSlide().Draw(&view, 0, -1, -1);
  EXPECT_TRUE(canvas.Primitives().empty());
}

TEST_F(SlideDrawTest, ArcPiecesAreDrawnAsArcs) {
  MakeSlide({{5, 10, 1}, {10, 5}, {15, 10}, {20, 10}})->Draw(&view, 0, -1, -1);
  const auto arcs = canvas.PrimitivesOf(PrimitiveKind::Arc);
  ASSERT_EQ(arcs.size(), 1u) << canvas.Dump();
  EXPECT_EQ(arcs[0].rect, (DevRect{50, 150, 151, 251}));  // centre (10, 10), radius 5
  const auto lines = canvas.PrimitivesOf(PrimitiveKind::Line);
  ASSERT_EQ(lines.size(), 1u) << canvas.Dump();
  EXPECT_EQ(lines[0].points, (std::vector<DevPoint>{{150, 200}, {200, 200}}));
}

TEST_F(SlideDrawTest, HandlesWhileHighlighted) {
  const auto slide = MakeSlide({{1, 29}, {2, 28}, {3, 27}, {kNoValue, 26}});
  slide->Draw(&view, 0, 1, -1);
  EXPECT_TRUE(canvas.PrimitivesOf(PrimitiveKind::Rectangle).empty());

  CDPoly::SetShowHilight(1);
  struct Case {
    int from, to;
    std::vector<DevRect> boxes;
  };
  const Case cases[] = {
      {1, -1, {{8, 8, 12, 12}, {17, 17, 24, 24}, {28, 28, 32, 32}}},
      {0, 1, {{7, 7, 14, 14}, {17, 17, 24, 24}, {28, 28, 32, 32}}},
  };
  for (const Case& c : cases) {
    canvas.Clear();
    slide->Draw(&view, 0, c.from, c.to);
    EXPECT_EQ(DrawnRects(canvas, PrimitiveKind::Rectangle), c.boxes) << canvas.Dump();
  }
}

TEST_F(SlideDrawTest, FittedToTheGroundTheFirstPieceIsDrawnBold) {
  const auto ground = GroundWithOneStratum();
  CSpSlide::SetTopograph(ground.get());
  // Bold arcs show their radii: two dotted red lines.
  MakeSlide({{5, 10, 1}, {10, 5}, {15, 10}})->Draw(&view, 0, -1, -1);
  const auto lines = canvas.PrimitivesOf(PrimitiveKind::Line);
  ASSERT_EQ(lines.size(), 2u) << canvas.Dump();
  EXPECT_EQ(lines[0].state.pen, (Pen{PenStyle::Dot, 1, Color{255}}));
  EXPECT_EQ(canvas.PrimitivesOf(PrimitiveKind::Arc)[0].state.pen,
            (Pen{PenStyle::Solid, 1, Color::Rgb(255, 0, 0)}));
}

TEST_F(SlideDrawTest, AGroundThatIsDestroyedIsNoLongerFittedTo) {
  const auto slide = MakeSlide({{5, 10, 1}, {10, 5}, {15, 10}});
  slide->Draw(&view, 0, -1, -1);
  const std::string unfitted = canvas.Dump();

  auto ground = GroundWithOneStratum();
  CSpSlide::SetTopograph(ground.get());
  GroundWithOneStratum().reset();  // another ground: the fitting stays
  canvas.Clear();
  slide->Draw(&view, 0, -1, -1);
  EXPECT_NE(canvas.Dump(), unfitted);

  ground.reset();
  canvas.Clear();
  slide->Draw(&view, 0, -1, -1);
  EXPECT_EQ(canvas.Dump(), unfitted);
}

TEST_F(SlideDrawTest, DrawWithColor) {
  const Color green = Color::Rgb(0, 200, 0);
  for (const bool bold : {false, true}) {
    canvas.Clear();
    MakeSlide({{0, 10}, {10, 5}})->DrawWithColor(&view, bold, green);
    const auto lines = canvas.PrimitivesOf(PrimitiveKind::Line);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].state.pen, (Pen{PenStyle::Solid, bold ? 2 : 1, green}));
    EXPECT_EQ(canvas.CurrentPen(), kPrevious);
  }
}

}  // namespace
