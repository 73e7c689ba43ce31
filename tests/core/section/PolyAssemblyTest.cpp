#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <memory>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "core/geometry/DPoly.h"
#include "core/geometry/DPolyArray.h"
#include "core/section/SpGround.h"
#include "core/section/SpStratum.h"
#include "tests/support/PolyTestUtil.h"
#include "tests/support/SampleSection.h"

namespace {

using Points = std::vector<CDPoint>;

// A section: the ground first, then its stratum lines.
std::unique_ptr<CDPolyArray> Section(const Points& ground, const std::vector<Points>& strata) {
  auto section = std::make_unique<CDPolyArray>();
  section->Add(MakePoly<CSpGround>(ground));
  for (const Points& line : strata) section->Add(MakePoly<CSpStratumLine>(line));
  return section;
}

std::unique_ptr<CSpStratumBlock> Block(const Points& points, const std::string& soil) {
  auto block = MakePoly<CSpStratumBlock>(points);
  block->GetPropPtr()->SetName(soil);
  return block;
}

std::string SoilOf(const CDPoly* shape) {
  EXPECT_EQ(shape->WhatKind(), kKindStratumBlock);
  return static_cast<const CSpStratumBlock*>(shape)->GetPropPtr()->GetName();
}

std::vector<double> AreasOf(const CDPolyArray& shapes) {
  std::vector<double> areas;
  for (int i = 0; i < shapes.GetSize(); ++i) areas.push_back(shapes.GetAt(i)->GetArea());
  return areas;
}

std::vector<std::string> SoilsOf(const CDPolyArray& shapes) {
  std::vector<std::string> soils;
  for (int i = 0; i < shapes.GetSize(); ++i) soils.push_back(SoilOf(shapes.GetAt(i)));
  return soils;
}

void ExpectAreas(const CDPolyArray& shapes, const std::vector<double>& expected) {
  const std::vector<double> areas = AreasOf(shapes);
  ASSERT_EQ(areas.size(), expected.size());
  for (std::size_t i = 0; i < areas.size(); ++i) {
    EXPECT_NEAR(areas[i], expected[i], 1e-9) << "shape " << i;
  }
}

// Two blocks stacked over the width 0..20: "clay" from y 5 to 10 over "sand" from 0 to 5, both
// counter-clockwise.
std::unique_ptr<CDPolyArray> StackedBlocks() {
  auto blocks = std::make_unique<CDPolyArray>();
  blocks->Add(Block({{0, 5}, {20, 5}, {20, 10}, {0, 10}, {0, 5}}, "clay"));
  blocks->Add(Block({{0, 0}, {20, 0}, {20, 5}, {0, 5}, {0, 0}}, "sand"));
  return blocks;
}

// ---- Stratum polygons of a section ----

// One expected face: its signed area (worked out by hand) and a point inside it.
struct Face {
  double area;
  CDPoint inside;
};

struct SectionCase {
  const char* what;
  Points ground;
  std::vector<Points> strata;
  double baseY;
  std::vector<Face> faces;  // in the expected order, named "地層1", "地層2", ...
};

TEST(PolyAssemblyTest, CreatePolygonGivesTheFacesBetweenTheLinesInOrder) {
  const Points flat = {{0, 10}, {20, 10}};
  const SectionCase cases[] = {
      // Closed down to the base level: 200 under y = 10 plus the 0.5·20·2 roof, clockwise.
      {"ground alone", {{0, 10}, {10, 12}, {20, 10}}, {}, 0, {{-220, {10, 5}}}},
      {"stratum line of one point",
       {{0, 10}, {10, 12}, {20, 10}},
       {{{5, 5}}},
       0,
       {{-220, {10, 5}}}},
      // Trimmed to (0, 3)-(20, 5): 20·4 below it, 200 - 80 above.
      {"one line across", flat, {{{-1, 2.9}, {21, 5.1}}}, 0, {{120, {10, 8}}, {80, {10, 1}}}},
      // (0, 2)-(20, 8) and (0, 8)-(20, 2) cross at (10, 5): above the V 200 - 2·(10·6.5), the
      // wedges 0.5·6·10 each, below the Λ 2·(10·3.5). The right wedge's inner point lies a little
      // higher (the probe line leans to the left going down).
      {"two crossing lines",
       flat,
       {{{0, 2}, {20, 8}}, {{0, 8}, {20, 2}}},
       0,
       {{70, {10, 9}}, {30, {17, 5}}, {30, {3, 5}}, {70, {10, 1}}}},
      // Pulled 0.05 up onto the ground: 10·6 above the line, 200 - 60 below.
      {"end 0.05 short of the ground",
       flat,
       {{{0, 4}, {10, 4}, {10, 9.95}}},
       0,
       {{60, {5, 7}}, {140, {15, 2}}}},
      {"end 0.2 short of the ground", flat, {{{0, 4}, {10, 4}, {10, 9.8}}}, 0, {{200, {10, 5}}}},
      // The line runs along the ground from (5, 10) to (10, 10): 5·6 on the left, the triangle
      // 0.5·5·7 plus 5·7 on the right, 200 - 30 - 52.5 below.
      {"line partly on the ground",
       {{0, 10}, {5, 10}, {10, 10}, {20, 10}},
       {{{0, 4}, {5, 4}, {5, 10}, {10, 10}, {15, 3}, {20, 3}}},
       0,
       {{30, {2, 8}}, {52.5, {18, 8}}, {117.5, {10, 1}}}},
      // The corner triangle of 0.5·0.1·0.1 is too small to be a face.
      {"sliver", flat, {{{0, 9.9}, {0.1, 10}}}, 0, {{199.995, {10, 5}}}},
      // The island's inner point lies higher, the enclosing face still comes first.
      {"island",
       flat,
       {{{8, 7}, {12, 7}, {12, 9}, {8, 9}, {8, 7}}},
       0,
       {{200, {2, 2}}, {8, {10, 8}}}},
      // The base level never lies above the ground's lowest point.
      {"base above the lowest point", {{0, 10}, {10, 2}, {20, 10}}, {}, 5, {{-80, {3, 5}}}},
  };
  for (const SectionCase& c : cases) {
    SCOPED_TRACE(c.what);
    const auto section = Section(c.ground, c.strata);
    const auto faces = section->CreatePolygon(c.baseY);
    ASSERT_NE(faces, nullptr);
    ASSERT_EQ(faces->GetSize(), static_cast<int>(c.faces.size()));
    for (int i = 0; i < faces->GetSize(); ++i) {
      const CDPoly* face = faces->GetAt(i);
      EXPECT_EQ(face->WhatKind(), kKindStratumBlock);
      EXPECT_EQ(face->GetName(), "地層" + std::to_string(i + 1));
      EXPECT_NEAR(face->GetArea(), c.faces[i].area, 1e-9) << "face " << i;
      EXPECT_TRUE(face->PolyRgn(&c.faces[i].inside)) << "face " << i;
      const CDPoint inner = face->GetInnerPoint();
      EXPECT_TRUE(face->PolyRgn(&inner)) << "face " << i;
    }
    // The input lines are not touched.
    EXPECT_EQ(section->GetSize(), static_cast<int>(c.strata.size()) + 1);
    ExpectPoints(*section->GetAt(0), c.ground);
  }
}

TEST(PolyAssemblyTest, GroundAloneIsClosedDownAtItsEnds) {
  struct Case {
    Points ground;
    double baseY;
    Points block;
  } const cases[] = {
      // Left to right: the right corner first.
      {{{0, 10}, {10, 12}, {20, 10}}, 0, {{0, 10}, {10, 12}, {20, 10}, {20, 0}, {0, 0}, {0, 10}}},
      // Right to left: the left corner first.
      {{{20, 10}, {10, 12}, {0, 10}},
       -3,
       {{20, 10}, {10, 12}, {0, 10}, {0, -3}, {20, -3}, {20, 10}}},
      {{{0, 10}, {10, 2}, {20, 10}}, 5, {{0, 10}, {10, 2}, {20, 10}, {20, 2}, {0, 2}, {0, 10}}},
  };
  for (const Case& c : cases) {
    const auto section = Section(c.ground, {});
    const auto round = section->RoundAtBaseline(c.baseY);
    ASSERT_EQ(round->GetSize(), 1);
    ExpectPoints(*round->GetAt(0), c.block);
    const auto faces = section->CreatePolygon(c.baseY);
    ASSERT_EQ(faces->GetSize(), 1);
    ExpectPoints(*faces->GetAt(0), c.block);
  }
}

TEST(PolyAssemblyTest, NothingToAssembleGivesNull) {
  CDPolyArray empty;
  EXPECT_EQ(empty.CreatePolygon(0), nullptr);
  EXPECT_EQ(empty.CreatePolygon_RoundEdge(), nullptr);
  EXPECT_EQ(empty.RoundAtBaseline(0), nullptr);
  EXPECT_FALSE(empty.IsIncludingStratumLine());

  const auto point = Section({{0, 10}}, {{{0, 5}, {20, 5}}});
  EXPECT_EQ(point->CreatePolygon(0), nullptr);
  EXPECT_EQ(point->CreatePolygon_RoundEdge(), nullptr);
  EXPECT_EQ(point->RoundAtBaseline(0), nullptr);
  EXPECT_TRUE(point->IsIncludingStratumLine());

  EXPECT_FALSE(Section({{0, 10}, {20, 10}}, {{{0, 5}}})->IsIncludingStratumLine());
  // Lines that close nothing off: the stratum line lies wholly above the ground.
  EXPECT_EQ(Section({{0, 10}, {20, 10}}, {{{0, 20}, {5, 30}}})->CreatePolygon_RoundEdge(), nullptr);
}

TEST(PolyAssemblyTest, RoundEdgeGivesTheFacesBetweenTheLinesWithoutABase) {
  // A dip from the ground and back: the triangle 0.5·10·5 between them.
  const auto dip = Section({{0, 10}, {20, 10}}, {{{5, 10}, {10, 5}, {15, 10}}});
  const auto faces = dip->CreatePolygon_RoundEdge();
  ASSERT_NE(faces, nullptr);
  ExpectAreas(*faces, {25});
  EXPECT_EQ(faces->GetAt(0)->WhatKind(), kKindStratumBlock);

  // One line only: a polygon with copies of its points.
  const auto alone = Section({{0, 10}, {20, 10}}, {});
  const auto block = alone->CreatePolygon_RoundEdge();
  ASSERT_EQ(block->GetSize(), 1);
  ExpectPoints(*block->GetAt(0), {{0, 10}, {20, 10}});
  EXPECT_NE(block->GetAt(0)->GetAt(0), alone->GetAt(0)->GetAt(0));
}

TEST(PolyAssemblyTest, AssembledFacesOwnTheirPoints) {
  const auto section = Section({{0, 10}, {20, 10}}, {{{0, 2}, {20, 8}}, {{0, 8}, {20, 2}}});
  const auto faces = section->CreatePolygon(0);
  ASSERT_EQ(faces->GetSize(), 4);
  std::set<const CDPoint*> objects;
  int count = 0;
  for (int i = 0; i < faces->GetSize(); ++i) {
    for (const auto& p : faces->GetAt(i)->Points()) objects.insert(p.get());
    count += faces->GetAt(i)->GetSize();
  }
  EXPECT_EQ(static_cast<int>(objects.size()), count);
  // Moving one face leaves its neighbours where they are.
  const Points wedge = PointsOf(*faces->GetAt(1));
  faces->GetAt(0)->ShiftShape(1, 1);
  ExpectPoints(*faces->GetAt(1), wedge);
}

// ---- Steps of the assembly ----

TEST(PolyAssemblyTest, EraseSameSectionDropsTheRunsAlongTheGround) {
  const Points ground = {{0, 10}, {5, 10}, {10, 10}, {20, 10}};
  struct Case {
    const char* what;
    Points line;
    std::vector<Points> runs;
  } const cases[] = {
      {"along the ground in the middle",
       {{0, 4}, {5, 4}, {5, 10}, {10, 10}, {15, 3}, {20, 3}},
       {{{0, 4}, {5, 4}, {5, 10}}, {{10, 10}, {15, 3}, {20, 3}}}},
      {"along the ground at the start",
       {{0, 10}, {5, 10}, {5, 4}, {20, 4}},
       {{{5, 10}, {5, 4}, {20, 4}}}},
      {"wholly on the ground", {{5, 10}, {10, 10}, {20, 10}}, {}},
      {"touching one ground vertex", {{5, 10}, {8, 2}}, {{{5, 10}, {8, 2}}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    auto section = Section(ground, {c.line});
    section->GetAt(0)->SetUseCount(2);
    section->GetAt(1)->GetAt(1)->flag = 1;
    section->EraseSameSection();
    ASSERT_EQ(section->GetSize(), static_cast<int>(c.runs.size()) + 1);
    ExpectPoints(*section->GetAt(0), ground);
    EXPECT_EQ(section->GetAt(0)->GetUseCount(), 0);
    for (std::size_t i = 0; i < c.runs.size(); ++i) {
      const CDPoly* run = section->GetAt(static_cast<int>(i) + 1);
      EXPECT_EQ(run->WhatKind(), kKindStratumLine);
      EXPECT_EQ(run->GetName(), "地層線");
      ExpectPoints(*run, c.runs[i]);  // every flag 0
    }
  }
}

TEST(PolyAssemblyTest, BaseLineRunsUnderTheGround) {
  struct Case {
    Points ground;
    double baseY;
    Points base;
  } const cases[] = {
      {{{0, 10}, {20, 12}}, 0, {{0, 10}, {0, 0}, {20, 0}, {20, 12}}},
      // The left end is the lowest point and the base level rises no higher: it is the corner.
      {{{0, 2}, {10, 8}, {20, 10}}, 5, {{0, 2}, {20, 2}, {20, 10}}},
      {{{0, 10}, {10, 8}, {20, 2}}, 5, {{0, 10}, {0, 2}, {20, 2}}},
  };
  for (const Case& c : cases) {
    auto section = Section(c.ground, {});
    section->AddBaseLine(c.baseY);
    ASSERT_EQ(section->GetSize(), 2);
    EXPECT_EQ(section->GetAt(1)->WhatKind(), kKindPoly);
    ExpectPoints(*section->GetAt(1), c.base);
  }
}

TEST(PolyAssemblyTest, CrossingLinesSplitIntoFourPiecesAtTheCrossing) {
  auto lines = Section({{0, 10}, {20, 10}}, {{{0, 2}, {20, 8}}, {{0, 8}, {20, 2}}});
  lines->AddBaseLine(0);
  lines->StretchStartPoint();
  lines->InsCrossPoint();
  const auto pieces = lines->MakeKukan();
  // The ground, two pieces of each stratum line, the base line cut at the four line ends.
  ASSERT_EQ(pieces->GetSize(), 10);
  const CDPoint crossing(10, 5);
  int meeting = 0;
  for (int i = 0; i < pieces->GetSize(); ++i) {
    const CDPoly* piece = pieces->GetAt(i);
    if (*piece->GetFirstPt() == crossing || *piece->GetLastPt() == crossing) ++meeting;
  }
  EXPECT_EQ(meeting, 4);
}

TEST(PolyAssemblyTest, DeleteBlindShapeKeepsPiecesJoinedAtBothEnds) {
  struct Case {
    const char* what;
    std::vector<Points> pieces;
    std::vector<int> kept;  // indices into pieces
  } const cases[] = {
      {"a closed piece", {{{0, 0}, {1, 0}, {1, 1}, {0, 0}}}, {0}},
      {"an open piece alone", {{{0, 0}, {1, 0}}}, {}},
      {"two pieces closing a loop", {{{0, 0}, {1, 0}, {1, 1}}, {{1, 1}, {0, 0}}}, {0, 1}},
      {"a dangling piece", {{{0, 0}, {1, 0}, {1, 1}}, {{1, 1}, {0, 0}}, {{1, 0}, {3, 0}}}, {0, 1}},
      // One pass: a piece checked while its neighbours are still there stays, although they go.
      {"a dead-end run", {{{0, 0}, {1, 0}}, {{1, 0}, {5, 5}}, {{-1, 0}, {0, 0}}}, {0}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    CDPolyArray pieces;
    for (const Points& p : c.pieces) pieces.Add(MakePoly(p));
    std::vector<const CDPoly*> expected;
    for (int k : c.kept) expected.push_back(pieces.GetAt(k));
    pieces.DeleteBlindShape();
    ASSERT_EQ(pieces.GetSize(), static_cast<int>(expected.size()));
    for (int i = 0; i < pieces.GetSize(); ++i) EXPECT_EQ(pieces.GetAt(i), expected[i]);
  }
}

TEST(PolyAssemblyTest, SearchNextShapeTakesTheSharpestLeftTurn) {
  // The walk arrives at the origin heading east; the pieces leave south, east and north (the
  // last one stored toward the origin).
  const auto path = MakePoly({{-1, 0}, {0, 0}});
  enum { kSouth, kEast, kNorth, kNone = -1 };
  struct Case {
    const char* what;
    int northUses;
    bool northIsCurrent;
    int expected;
    int reverse;
  } const cases[] = {
      {"the left turn wins", 0, false, kNorth, 1},
      {"the winner bounds two faces already", 2, false, kNone, -1},
      {"the current piece is no candidate", 0, true, kEast, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    CDPolyArray pieces;
    pieces.Add(MakePoly({{0, 0}, {0, -1}}));
    pieces.Add(MakePoly({{0, 0}, {1, 0}}));
    pieces.Add(MakePoly({{0, 1}, {0, 0}}));
    CDPoly* north = pieces.GetAt(kNorth);
    north->SetUseCount(c.northUses);
    int reverse = -1;
    const CDPoly* next =
        pieces.SearchNextShape(c.northIsCurrent ? north : nullptr, path.get(), reverse);
    EXPECT_EQ(next, c.expected == kNone ? nullptr : pieces.GetAt(c.expected));
    EXPECT_EQ(reverse, c.reverse);
  }
}

TEST(PolyAssemblyTest, MakeJoinFromListTakesOverThePiecesPoints) {
  const auto a = MakePoly({{0, 0}, {1, 0}, {1, 1}});
  const auto b = MakePoly({{0, 0}, {0, 1}, {1, 1}});  // joined backward
  const auto block = CDPolyArray::MakeJoinFromList({a.get(), b.get()}, 0);
  ExpectPoints(*block, {{0, 0}, {1, 0}, {1, 1}, {0, 1}, {0, 0}});
  EXPECT_DOUBLE_EQ(block->GetArea(), 1);
  EXPECT_EQ(block->GetShared(1), a->GetShared(1));
  EXPECT_EQ(block->GetShared(3), b->GetShared(1));
  // The first piece walked backward.
  const auto reversed = CDPolyArray::MakeJoinFromList({b.get(), a.get()}, 1);
  ExpectPoints(*reversed, {{1, 1}, {0, 1}, {0, 0}, {1, 0}, {1, 1}});
}

TEST(PolyAssemblyTest, JointShapesAcceptsEachCounterClockwiseFaceOfTheMinimumAreaOnce) {
  const Points tiny = {{0, 0}, {0.05, 0}, {0.05, 0.05}, {0, 0.05}, {0, 0}};
  struct Case {
    const char* what;
    std::vector<Points> pieces;
    double minArea;
    std::vector<double> areas;
  } const cases[] = {
      {"counter-clockwise", {{{0, 0}, {1, 0}, {1, 1}, {0, 1}, {0, 0}}}, 0.01, {1}},
      // The clockwise walk is the outside: the face comes from the walk the other way.
      {"clockwise", {{{0, 0}, {0, 1}, {1, 1}, {1, 0}, {0, 0}}}, 0.01, {1}},
      {"too small", {tiny}, 0.01, {}},
      {"small but above zero", {tiny}, 0, {0.0025}},
      {"a flat loop", {{{0, 0}, {1, 0}, {0, 0}}}, 0, {}},
      // Found from the first piece walked backward, and again from the second walked forward.
      {"one face of two pieces", {{{0, 1}, {2, 1}}, {{0, 1}, {1, 0}, {2, 1}}}, 0, {1}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    CDPolyArray pieces;
    for (const Points& p : c.pieces) pieces.Add(MakePoly(p));
    const auto faces = pieces.JointShapes(c.minArea);
    ExpectAreas(*faces, c.areas);
  }
}

TEST(PolyAssemblyTest, ComparePointsFlagsCoincidingPoints) {
  auto a = MakePoly({{0, 0}, {1, 0}, {2, 0}});
  auto b = MakePoly({{1.00005, 0}, {5, 5}, {1, 0}});
  CDPolyArray::ComparePoints(a.get(), b.get());
  ExpectPoints(*a, {{0, 0}, {1, 0, 1}, {2, 0}}, 0);
  // Only the first point of b near it.
  ExpectPoints(*b, {{1.00005, 0, 1}, {5, 5}, {1, 0}}, 0);

  CDPolyArray::ComparePoints(a.get(), a.get());
  EXPECT_EQ(a->GetAt(0)->flag, 0);
}

TEST(PolyAssemblyTest, DelUnderOrUpperPolygonComparesInnerPointsWithTheLine) {
  const auto line = MakePoly({{0, 5}, {10, 5}});
  struct Case {
    int mode;
    std::vector<std::string> kept;
  } const cases[] = {
      {1, {"high", "beyond"}},
      {0, {"low", "beyond"}},
      {2, {"high", "low", "beyond"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.mode);
    CDPolyArray faces;
    faces.Add(Block({{2, 6}, {4, 6}, {4, 8}, {2, 8}, {2, 6}}, "high"));
    faces.Add(Block({{2, 1}, {4, 1}, {4, 3}, {2, 3}, {2, 1}}, "low"));
    faces.Add(Block({{20, 1}, {22, 1}, {22, 3}, {20, 3}, {20, 1}}, "beyond"));
    faces.DelUnderOrUpperPolygon(line.get(), c.mode);
    EXPECT_EQ(SoilsOf(faces), c.kept);
  }
}

// ---- Cutting polygons ----

TEST(PolyAssemblyTest, PolylineCutGivesTheFacesOnEitherSideOfTheLine) {
  const Points square = {{0, 0}, {10, 0}, {10, 10}, {0, 10}, {0, 0}};
  const Points tiny = {{0, 0}, {0.05, 0}, {0.05, 0.05}, {0, 0.05}, {0, 0}};
  struct Case {
    const char* what;
    Points polygon;
    Points line;
    std::vector<double> areas;
  } const cases[] = {
      {"across", square, {{-1, 4}, {11, 4}}, {40, 60}},
      {"through two corners", square, {{-1, -1}, {11, 11}}, {50, 50}},
      {"outside", square, {{20, 0}, {20, 10}}, {100}},
      {"ending inside", square, {{-1, 5}, {5, 5}}, {100}},
      {"no line", square, {}, {100}},
      // No face of the minimum area: the polygon comes back as it is.
      {"too small", tiny, {{-1, 0.02}, {1, 0.02}}, {0.0025}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const auto polygon = Block(c.polygon, "clay");
    const auto line = MakePoly(c.line);
    const auto faces = polygon->CutPolyWithLine(c.line.empty() ? nullptr : line.get());
    ExpectAreas(*faces, c.areas);
    EXPECT_EQ(SoilsOf(*faces), std::vector<std::string>(c.areas.size(), "clay"));
  }
}

TEST(PolyAssemblyTest, ArrayCutKeepsOneSideOfTheLine) {
  const auto outline = MakePoly({{0, 10}, {20, 10}});
  const auto line = MakePoly({{-1, 7}, {21, 7}});
  struct Case {
    int keepAbove;
    std::vector<double> areas;
    std::vector<std::string> soils;
  } const cases[] = {
      {0, {40, 100}, {"clay", "sand"}},
      {1, {60}, {"clay"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.keepAbove);
    const auto blocks = StackedBlocks();
    const auto faces = blocks->CutPolyWithLine(outline.get(), line.get(), c.keepAbove);
    ExpectAreas(*faces, c.areas);
    EXPECT_EQ(SoilsOf(*faces), c.soils);
    EXPECT_EQ(CDPoly::GetSmallLimit(), 0) << "the cut's tolerance holds only while it works";
    ExpectAreas(*blocks, {100, 100});
  }
  // Without a usable line the blocks come back as they are.
  const auto point = MakePoly({{5, 5}});
  const auto copy = StackedBlocks()->CutPolyWithLine(outline.get(), point.get(), 0);
  ExpectAreas(*copy, {100, 100});
  EXPECT_EQ(SoilsOf(*copy), (std::vector<std::string>{"clay", "sand"}));
}

TEST(PolyAssemblyTest, AddPolyWithLineGivesTheFacesAboveTheOutline) {
  const auto outline = MakePoly({{0, 10}, {20, 10}});
  // A bump over the outline (0.5·4·2) and a dip under it.
  const auto bump = MakePoly({{8, 10}, {10, 12}, {12, 10}});
  const ScopedSmallLimit outer(1e-6);
  ExpectAreas(*CDPolyArray::AddPolyWithLine(outline.get(), bump.get()), {4});
  EXPECT_EQ(CDPoly::GetSmallLimit(), 1e-6) << "the exact crossings hold only while it works";
  const auto dip = MakePoly({{8, 10}, {10, 8}, {12, 10}});
  ExpectAreas(*CDPolyArray::AddPolyWithLine(outline.get(), dip.get()), {});
}

TEST(PolyAssemblyTest, CreatePlanPolygonRecutsTheBlocksUnderANewGround) {
  struct Case {
    const char* what;
    Points ground;
    std::vector<double> areas;
    std::vector<std::string> soils;
  } const cases[] = {
      // The bump adds the triangle 0.5·4·2, which takes the soil of the new ground's polygon.
      {"raised",
       {{0, 10}, {8, 10}, {10, 12}, {12, 10}, {20, 10}},
       {4, 100, 100},
       {"fill", "clay", "sand"}},
      // The dip cuts the same triangle off the upper block.
      {"lowered", {{0, 10}, {8, 10}, {10, 8}, {12, 10}, {20, 10}}, {96, 100}, {"clay", "sand"}},
      {"unchanged", {{0, 10}, {20, 10}}, {100, 100}, {"clay", "sand"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    auto ground = MakePoly<CSpGround>(c.ground);
    auto strata = std::make_unique<CDPolyArray>();
    strata->Add(Block({{0, 9}, {20, 9}, {20, 13}, {0, 13}, {0, 9}}, "fill"));
    ground->SetPolyArray(std::move(strata));
    const auto blocks = StackedBlocks();
    const auto faces = blocks->CreatePlanPolygon(ground.get());
    ExpectAreas(*faces, c.areas);
    EXPECT_EQ(SoilsOf(*faces), c.soils);
    for (int i = 0; i < faces->GetSize(); ++i) {
      const CDPoint inner = faces->GetAt(i)->GetInnerPoint();
      EXPECT_TRUE(faces->GetAt(i)->PolyRgn(&inner));
    }
  }
  // A plain new line carries no soils over.
  const auto line = MakePoly({{0, 10}, {8, 10}, {10, 12}, {12, 10}, {20, 10}});
  const auto faces = StackedBlocks()->CreatePlanPolygon(line.get());
  EXPECT_EQ(SoilsOf(*faces), (std::vector<std::string>{"", "clay", "sand"}));
}

// ---- The upper outline ----

TEST(PolyAssemblyTest, CreateTopoFromStratumFollowsTheUpperOutline) {
  struct Case {
    const char* what;
    std::vector<Points> blocks;
    Points outline;
  } const cases[] = {
      {"stacked",
       {{{0, 5}, {20, 5}, {20, 10}, {0, 10}, {0, 5}}, {{0, 0}, {20, 0}, {20, 5}, {0, 5}, {0, 0}}},
       {{0, 10}, {20, 10}}},
      {"stepped",
       {{{0, 0}, {20, 0}, {20, 5}, {15, 5}, {5, 5}, {0, 5}, {0, 0}},
        {{5, 5}, {15, 5}, {15, 10}, {5, 10}, {5, 5}}},
       {{0, 5}, {5, 5}, {5, 10}, {15, 10}, {15, 5}, {20, 5}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    CDPolyArray blocks;
    for (const Points& b : c.blocks) blocks.Add(Block(b, ""));
    const auto topo = blocks.CreateTopoFromStratum();
    ASSERT_NE(topo, nullptr);
    EXPECT_EQ(topo->WhatKind(), kKindGround);
    EXPECT_EQ(topo->GetName(), "地形");
    ExpectPoints(*topo, c.outline);
  }
  EXPECT_EQ(CDPolyArray().CreateTopoFromStratum(), nullptr);
}

// The upper outline as the shapes' edges give it when each edge is a two-point line: both
// members of every coinciding pair deleted, the rest joined into chains, the first chain's
// topograph.
std::unique_ptr<CSpGround> TopoOfEdgeLines(const CDPolyArray& shapes) {
  CDPolyArray edges;
  for (int k = 0; k < shapes.GetSize(); ++k) {
    const CDPoly& shape = *shapes.GetAt(k);
    for (int i = 0; i + 1 < shape.GetSize(); ++i) {
      edges.Add(MakePoly({*shape.GetAt(i), *shape.GetAt(i + 1)}));
    }
  }
  const auto same = [](const CDPoly& a, const CDPoly& b) {
    const CDPoint& a1 = *a.GetFirstPt();
    const CDPoint& a2 = *a.GetLastPt();
    return (a1 == *b.GetFirstPt() && a2 == *b.GetLastPt()) ||
           (a1 == *b.GetLastPt() && a2 == *b.GetFirstPt());
  };
  for (int i = 0; i < edges.GetSize();) {
    int twin = -1;
    for (int j = i + 1; j < edges.GetSize() && twin < 0; ++j) {
      if (same(*edges.GetAt(i), *edges.GetAt(j))) twin = j;
    }
    if (twin < 0) {
      ++i;
      continue;
    }
    edges.RemoveAt(twin);
    edges.RemoveAt(i);
  }
  const auto chains = edges.JointEasy();
  return chains->IsEmpty() ? nullptr : chains->GetAt(0)->PolyToTopograph();
}

TEST(PolyAssemblyTest, CreateTopoFromStratumIsTheTopographOfTheFirstChainOfUnsharedEdges) {
  const SampleSection sample = MakeSampleSection();
  const auto flagged = [](double x, double y) { return CDPoint(x, y, 1); };
  struct Case {
    const char* what;
    std::vector<Points> blocks;
  } const cases[] = {
      {"stacked",
       {{{0, 5}, {20, 5}, {20, 10}, {0, 10}, {0, 5}}, {{0, 0}, {20, 0}, {20, 5}, {0, 5}, {0, 0}}}},
      {"stepped",
       {{{0, 0}, {20, 0}, {20, 5}, {15, 5}, {5, 5}, {0, 5}, {0, 0}},
        {{5, 5}, {15, 5}, {15, 10}, {5, 10}, {5, 5}}}},
      // The shared edge runs the same way in both blocks.
      {"shared edge in one direction",
       {{{0, 0}, {10, 0}, {10, 5}, {0, 5}, {0, 0}}, {{10, 5}, {0, 5}, {0, 9}, {10, 9}, {10, 5}}}},
      // Ends 5e-5 apart are the same point, 2e-4 apart two points.
      {"ends within the same-point tolerance",
       {{{0, 0}, {10, 0}, {10, 5}, {0, 5}, {0, 0}},
        {{0, 5.00005}, {10.00005, 5}, {10, 9}, {0, 9}, {0, 5.00005}}}},
      {"ends beyond the same-point tolerance",
       {{{0, 0}, {10, 0}, {10, 5}, {0, 5}, {0, 0}},
        {{0, 5.0002}, {10, 5}, {10, 9}, {0, 9}, {0, 5.0002}}}},
      // The first chain alone is the outline.
      {"two blocks apart",
       {{{0, 0}, {10, 0}, {10, 5}, {0, 5}, {0, 0}}, {{20, 0}, {30, 0}, {30, 5}, {20, 5}, {20, 0}}}},
      {"an open line", {{{0, 0}, {5, 3}, {10, 0}}}},
      {"flagged vertices",
       {{flagged(0, 0), {10, 0}, flagged(10, 5), {0, 5}, flagged(0, 0)},
        {{10, 5}, flagged(10, 9), {0, 9}, flagged(0, 5), {10, 5}}}},
      {"one point", {{{1, 1}}}},
  };
  const auto expectSame = [](const CDPolyArray& shapes) {
    const auto topo = shapes.CreateTopoFromStratum();
    const auto expected = TopoOfEdgeLines(shapes);
    ASSERT_EQ(topo == nullptr, expected == nullptr);
    if (topo == nullptr) return;
    EXPECT_EQ(topo->GetName(), expected->GetName());
    ASSERT_EQ(topo->GetSize(), expected->GetSize());
    for (int i = 0; i < topo->GetSize(); ++i) {
      const CDPoint& p = *topo->GetAt(i);
      const CDPoint& q = *expected->GetAt(i);
      EXPECT_EQ(std::bit_cast<std::uint64_t>(p.x), std::bit_cast<std::uint64_t>(q.x)) << i;
      EXPECT_EQ(std::bit_cast<std::uint64_t>(p.y), std::bit_cast<std::uint64_t>(q.y)) << i;
      EXPECT_EQ(p.flag, q.flag) << i;
    }
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    CDPolyArray blocks;
    for (const Points& b : c.blocks) blocks.Add(Block(b, ""));
    expectSame(blocks);
  }
  SCOPED_TRACE("the sample section's stratum blocks");
  expectSame(*sample.section.GetTisoBlockArray());
}

TEST(PolyAssemblyTest, PolyToTopographWalksOverTheTopFromLeftToRight) {
  struct Case {
    const char* what;
    Points polygon;
    Points outline;
  } const cases[] = {
      {"counter-clockwise",
       {{0, 0}, {10, 0}, {10, 5}, {5, 8}, {0, 5}, {0, 0}},
       {{0, 5}, {5, 8}, {10, 5}}},
      {"clockwise", {{0, 0}, {0, 5}, {5, 8}, {10, 5}, {10, 0}, {0, 0}}, {{0, 5}, {5, 8}, {10, 5}}},
      // The right end is the first vertex, repeated as the last.
      {"right end first",
       {{10, 5}, {5, 8}, {0, 5}, {0, 0}, {10, 0}, {10, 5}},
       {{0, 5}, {5, 8}, {10, 5}}},
      // The walk runs past the last vertex and on after the first.
      {"top first", {{5, 8}, {10, 5}, {10, 0}, {0, 0}, {0, 5}, {5, 8}}, {{0, 5}, {5, 8}, {10, 5}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    auto polygon = MakePoly(c.polygon);
    const auto topo = polygon->PolyToTopograph();
    ASSERT_NE(topo, nullptr);
    EXPECT_EQ(topo->GetName(), "地形");
    ExpectPoints(*topo, c.outline);
  }
  EXPECT_EQ(MakePoly({{1, 1}})->PolyToTopograph(), nullptr);
}

TEST(PolyAssemblyTest, JointEasyChainsLinesWhateverTheirDirection) {
  CDPolyArray lines;
  lines.Add(MakePoly({{1, 0}, {2, 0}}));
  lines.Add(MakePoly({{10, 10}, {11, 11}}));
  lines.Add(MakePoly({{3, 0}, {2, 0}}));
  lines.Add(MakePoly({{0, 0}, {1, 0}}));
  const auto chains = lines.JointEasy();
  ASSERT_EQ(chains->GetSize(), 2);
  ExpectPoints(*chains->GetAt(0), {{0, 0}, {1, 0}, {2, 0}, {3, 0}});
  ExpectPoints(*chains->GetAt(1), {{10, 10}, {11, 11}});
  EXPECT_EQ(lines.GetSize(), 4);
}

TEST(PolyAssemblyTest, CreateDeffSectionListsThePiecesThatLeaveTheOtherLine) {
  const auto other = MakePoly({{0, 10}, {20, 10}});
  struct Case {
    const char* what;
    Points line;
    std::vector<Points> pieces;
  } const cases[] = {
      {"the same line", {{0, 10}, {20, 10}}, {}},
      {"one point", {{0, 12}}, {}},
      {"a bump", {{0, 10}, {8, 10}, {10, 12}, {12, 10}, {20, 10}}, {{{8, 10}, {10, 12}, {12, 10}}}},
      {"two bumps",
       {{0, 10}, {2, 12}, {4, 10}, {10, 10}, {12, 8}, {14, 10}, {20, 10}},
       {{{0, 10}, {2, 12}, {4, 10}}, {{10, 10}, {12, 8}, {14, 10}}}},
      {"off at the end", {{0, 10}, {15, 10}, {20, 14}}, {{{15, 10}, {20, 14}}}},
      {"off at the start", {{0, 14}, {5, 10}, {20, 10}}, {{{0, 14}, {5, 10}}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const auto pieces = MakePoly(c.line)->CreateDeffSection(other.get());
    ASSERT_EQ(pieces->GetSize(), static_cast<int>(c.pieces.size()));
    for (int i = 0; i < pieces->GetSize(); ++i) ExpectPoints(*pieces->GetAt(i), c.pieces[i]);
  }
  EXPECT_TRUE(other->CreateDeffSection(nullptr)->IsEmpty());
}

}  // namespace
