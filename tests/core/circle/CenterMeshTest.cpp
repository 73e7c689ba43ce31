#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <memory>
#include <vector>

#include "core/circle/CenterMesh.h"
#include "core/geometry/DPoly.h"
#include "core/geometry/ViewInfo.h"
#include "platform/Archive.h"
#include "platform/RecordingCanvas.h"
#include "tests/support/DrawTestUtil.h"
#include "tests/support/PolyTestUtil.h"
#include "tests/support/RecordBytes.h"
#include "tests/support/RecordContract.h"

namespace {

CCenterMesh Mesh(double x1, double x2, double dx, double y1, double y2, double dy) {
  CCenterMesh mesh;
  mesh.x1 = x1;
  mesh.x2 = x2;
  mesh.dx = dx;
  mesh.y1 = y1;
  mesh.y2 = y2;
  mesh.dy = dy;
  mesh.ResetFlag();
  return mesh;
}

std::vector<int> Flags(const CCenterMesh& mesh) {
  std::vector<int> flags;
  for (int r = 0; r < mesh.GetSizeY(); ++r) {
    for (int c = 0; c < mesh.GetSizeX(); ++c) flags.push_back(mesh.GetFlag(c, r));
  }
  return flags;
}

TEST(CountMeshNodesTest, OneNodePerPitchAndTheRangeEndWhenItLiesBeyondTheLastPitch) {
  struct Case {
    double from, to, pitch;
    int nodes;
  };
  const Case cases[] = {
      {0, 10, 2, 6},        {0, 10, 3, 5},  // 0, 3, 6, 9 and the end 10
      {0, 10.0005, 2.5, 5},  // the end lies within 0.001 of the last pitch: no node of its own
      {0, 10.002, 2.5, 6},   // beyond it: a node of its own
      {0, 11, 2, 7},        {0, 4, 2, 3},
      {10, 0, 3, 5},                               // a reversed range counts alike
      {5, 5, 0, 1},                                // an empty range has one node whatever the pitch
      {5, 5, -1, 1},        {0, 10, 0, 0},         // no usable pitch: no mesh
      {0, 10, -2, 0},       {kNoValue, 10, 2, 0},  // an unset value: no mesh
      {0, kNoValue, 2, 0},  {5, 5, kNoValue, 0},
      {0, 9999, 1e-9, 0},  // beyond the int range: no mesh
  };
  for (const Case& c : cases) {
    EXPECT_EQ(CountMeshNodes(c.from, c.to, c.pitch), c.nodes)
        << c.from << ".." << c.to << " by " << c.pitch;
  }
}

TEST(CenterMeshTest, NodeCountsAndPositionsClampTheLastNodeToTheRangeEnd) {
  struct Case {
    double x1, x2, dx, y1, y2, dy;
    std::vector<double> xs;
    std::vector<double> ys;
  };
  const Case cases[] = {
      {0, 10, 2, 0, 4, 2, {0, 2, 4, 6, 8, 10}, {0, 2, 4}},
      {0, 10, 3, 0, 4, 2, {0, 3, 6, 9, 10}, {0, 2, 4}},
      {0, 10.0005, 2.5, -1, 1, 0.75, {0, 2.5, 5, 7.5, 10}, {-1, -0.25, 0.5, 1}},
      {5, 5, 0, 2, 3, 1, {5}, {2, 3}},
  };
  for (const Case& c : cases) {
    const CCenterMesh mesh = Mesh(c.x1, c.x2, c.dx, c.y1, c.y2, c.dy);
    ASSERT_EQ(mesh.GetSizeX(), static_cast<int>(c.xs.size())) << c.x2 << " by " << c.dx;
    ASSERT_EQ(mesh.GetSizeY(), static_cast<int>(c.ys.size())) << c.y2 << " by " << c.dy;
    for (int col = 0; col < mesh.GetSizeX(); ++col) {
      for (int row = 0; row < mesh.GetSizeY(); ++row) {
        const CDPoint p = mesh.IndexToPosition(col, row);
        EXPECT_DOUBLE_EQ(p.x, c.xs[static_cast<std::size_t>(col)]) << col;
        EXPECT_DOUBLE_EQ(p.y, c.ys[static_cast<std::size_t>(row)]) << row;
        EXPECT_EQ(p.flag, 0);
        EXPECT_EQ(mesh.GetFlag(col, row), 1);
      }
    }
  }
}

TEST(CenterMeshTest, SettingCodesAndValidity) {
  struct Case {
    CCenterMesh mesh;
    int code;
    bool settingValid;
    bool valid;
  };
  const Case cases[] = {
      {Mesh(0, 10, 2, 0, 4, 2), kSettingNormal, true, true},
      {Mesh(5, 5, 0, 0, 4, 2), kSettingNormal, true, false},  // one column, but dx is not > 0
      {Mesh(0, 10, 0, 0, 4, 2), kSettingIncomplete, true, false},
      {Mesh(0, 10, 2, 0, 4, -1), kSettingIncomplete, true, false},
      {Mesh(0, 10, 2, kNoValue, 4, 2), kSettingIncomplete, false, false},
      {CCenterMesh(), kSettingIncomplete, false, false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(c.mesh.IsSettingNormal(), c.code);
    EXPECT_EQ(c.mesh.IsSettingValid(), c.settingValid);
    EXPECT_EQ(c.mesh.IsValid(), c.valid);
  }
}

TEST(CenterMeshTest, NormalizeOrdersTheRangesAndInitUnsetsThemKeepingTheFlags) {
  CCenterMesh mesh = Mesh(10, 0, 5, 4, -4, 4);
  mesh.Normalize();
  EXPECT_EQ(mesh.x1, 0);
  EXPECT_EQ(mesh.x2, 10);
  EXPECT_EQ(mesh.y1, -4);
  EXPECT_EQ(mesh.y2, 4);
  mesh.Init();
  for (const double v : {mesh.x1, mesh.x2, mesh.dx, mesh.y1, mesh.y2, mesh.dy}) {
    EXPECT_EQ(v, kNoValue);
  }
  EXPECT_EQ(mesh.GetSizeX(), 3);
  EXPECT_EQ(mesh.GetSizeY(), 3);
}

// A lone end of a range is a typed value waiting for its partner: it stays in its column.
TEST(CenterMeshTest, NormalizeLeavesALoneEndWhereItIs) {
  CCenterMesh mesh = Mesh(7, kNoValue, 1, kNoValue, 3, 1);
  mesh.Normalize();
  EXPECT_EQ(mesh.x1, 7);
  EXPECT_EQ(mesh.x2, kNoValue);
  EXPECT_EQ(mesh.y1, kNoValue);
  EXPECT_EQ(mesh.y2, 3);
}

// 0..1000 by 0.001 in both directions asks for 10^12 nodes: the flags keep the mesh they had.
TEST(CenterMeshTest, ARangeOfMoreNodesThanTheBoundKeepsTheMeshItHad) {
  CCenterMesh mesh = Mesh(0, 4, 2, 0, 2, 2);
  mesh.x2 = mesh.y2 = 1000;
  mesh.dx = mesh.dy = 0.001;
  EXPECT_GT(mesh.CountNodes(), kMaxCenterMeshNodes);
  mesh.ResetFlag();
  EXPECT_EQ(mesh.GetSizeX(), 3);
  EXPECT_EQ(mesh.GetSizeY(), 2);
  EXPECT_EQ(Mesh(10, 20, 5, 20, 24, 2).CountNodes(), 9);
  EXPECT_EQ(Mesh(10, kNoValue, 5, 20, 24, 2).CountNodes(), 0);
}

TEST(CenterMeshTest, AnIncompleteRangeKeepsTheCountsAndFlagsItHad) {
  CCenterMesh mesh = Mesh(0, 4, 2, 0, 2, 2);
  mesh.SetFlag(1, 1, 0);
  for (const double dx : {0.0, -1.0, kNoValue}) {
    mesh.dx = dx;
    mesh.ResetFlag();
    EXPECT_EQ(mesh.GetSizeX(), 3);
    EXPECT_EQ(mesh.GetSizeY(), 2);
    EXPECT_EQ(mesh.GetFlag(1, 1), 0);
  }
}

TEST(CenterMeshTest, NodesOutsideTheMeshAreNeitherReadNorWritten) {
  CCenterMesh mesh = Mesh(0, 10, 2, 0, 4, 2);
  const std::vector<int> before = Flags(mesh);
  EXPECT_EQ(mesh.GetFlag(mesh.GetSizeX(), 0), CCenterMesh::kOutside);
  EXPECT_EQ(mesh.GetFlag(0, -1), INT_MAX);
  EXPECT_EQ(mesh.SetFlag(0, mesh.GetSizeY(), 1), 0);
  EXPECT_EQ(mesh.SetFlag(-1, 0, 0), 0);
  EXPECT_EQ(Flags(mesh), before);
  EXPECT_EQ(mesh.SetFlag(2, 1, 0), 1);
  EXPECT_EQ(mesh.GetFlag(2, 1), 0);
  EXPECT_EQ(CCenterMesh().GetFlag(0, 0), CCenterMesh::kOutside);
}

// A triangle over the lower-left half of the mesh 0..4 x 0..4 by 2.
std::unique_ptr<CDPoly> LowerLeftTriangle() { return MakePoly({{-1, -1}, {5.5, -1}, {-1, 5.5}}); }

TEST(CenterMeshTest, AMaskActivatesExactlyTheNodesInsideIt) {
  CCenterMesh mesh = Mesh(0, 4, 2, 0, 4, 2);
  mesh.SetFlagByPoly(LowerLeftTriangle().get());
  // Rows from the bottom: the node (c, r) lies inside when 2c + 2r < 4.5.
  EXPECT_EQ(Flags(mesh), (std::vector<int>{1, 1, 1, 1, 1, 0, 1, 0, 0}));

  for (const auto& mask : {MakePoly({{-1, -1}, {5.5, -1}}), std::make_unique<CDPoly>()}) {
    mesh.SetFlagByPoly(mask.get());  // fewer than 3 points: every node active
    EXPECT_EQ(Flags(mesh), std::vector<int>(9, 1));
  }
  mesh.SetFlagByPoly(nullptr);
  EXPECT_EQ(Flags(mesh), std::vector<int>(9, 1));
}

TEST(CenterMeshTest, ACopyTakesTheCountsTogetherWithTheFlags) {
  CCenterMesh source = Mesh(0, 4, 2, 0, 4, 2);
  source.SetFlagByPoly(LowerLeftTriangle().get());
  // The range changes after the flags were built, as while the dialog edits it: the flags belong
  // to the old counts, and a copy must not read them under the counts of the new range.
  source.x2 = 40;
  CCenterMesh copy = Mesh(0, 2, 2, 0, 2, 2);
  copy = source;
  EXPECT_TRUE(copy.IsSame(&source));
  EXPECT_EQ(copy.GetSizeX(), 3);
  EXPECT_EQ(copy.GetSizeY(), 3);
  EXPECT_EQ(Flags(copy), Flags(source));
}

TEST(CenterMeshTest, IsSameComparesTheRangeOnly) {
  CCenterMesh a = Mesh(0, 4, 2, 0, 4, 2);
  CCenterMesh b = Mesh(0, 4, 2, 0, 4, 2);
  b.SetFlag(0, 0, 0);
  EXPECT_TRUE(a.IsSame(&b));
  b.dy = 1;
  EXPECT_FALSE(a.IsSame(&b));
}

TEST(CenterMeshTest, RecordHoldsTheRangeAndLoadMakesEveryNodeActive) {
  CCenterMesh stored = Mesh(0, 10, 3, -2, 4, 2);
  stored.SetFlag(0, 0, 0);
  const auto loaded = ExpectRecordContract<CCenterMesh>({
      .stored = stored,
      .version = 10,
      .bytes = RecordBytes().Double(0).Double(10).Double(3).Double(-2).Double(4).Double(2).Get(),
      .makeTarget = [] { return std::make_unique<CCenterMesh>(Mesh(1, 2, 1, 1, 2, 1)); },
  });
  EXPECT_EQ(loaded->GetSizeX(), 5);
  EXPECT_EQ(loaded->GetSizeY(), 4);
  EXPECT_EQ(Flags(*loaded), std::vector<int>(20, 1));
}

// A damaged range once asked for the flags of 4e18 nodes (std::length_error); a
// range beyond the bound is refused as a damaged record and changes nothing.
TEST(CenterMeshTest, LoadRefusesMoreNodesThanTheBound) {
  const struct {
    const char* what;
    double x2, dx, y2;
    bool loads;
  } cases[] = {
      // 10000 x 1000 nodes.
      {"at the bound", 9999, 1, 999, true},
      {"one row more", 9999, 1, 1000, false},
      {"two billion columns", 2000, 1e-6, 2e4, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const CCenterMesh before = Mesh(1, 2, 1, 1, 2, 1);
    CCenterMesh mesh = before;
    Archive ar(
        RecordBytes().Double(0).Double(c.x2).Double(c.dx).Double(0).Double(c.y2).Double(1).Get());
    if (c.loads) {
      mesh.Load(ar, 10);
      EXPECT_EQ(std::int64_t{mesh.GetSizeX()} * mesh.GetSizeY(), kMaxCenterMeshNodes);
    } else {
      EXPECT_THROW(mesh.Load(ar, 10), ArchiveException);
      EXPECT_TRUE(mesh.IsSame(&before));
      EXPECT_EQ(Flags(mesh), Flags(before));
    }
  }
}

class CenterMeshDrawTest : public testing::Test {
 protected:
  void SetUp() override { AttachTestView(view, canvas, 10, 150, 150); }

  RecordingCanvas canvas;
  CViewInfo view;
};

TEST_F(CenterMeshDrawTest, CellsWithAnInactiveCornerAreLeftOut) {
  CCenterMesh mesh = Mesh(0, 4, 2, 0, 4, 2);
  mesh.SetFlagByPoly(LowerLeftTriangle().get());
  mesh.Draw(&view);
  // Only the lower-left cell has four active corners.
  const auto cells = DrawnPoints(canvas, PrimitiveKind::Polyline);
  ASSERT_EQ(cells.size(), 1u);
  EXPECT_EQ(cells[0], (std::vector<DevPoint>{{0, 300}, {0, 280}, {20, 280}, {20, 300}, {0, 300}}));
  const DrawnPrimitive cell = canvas.PrimitivesOf(PrimitiveKind::Polyline)[0];
  EXPECT_EQ(cell.state.pen, (Pen{PenStyle::Solid, 1, Color::Rgb(180, 180, 180)}));
  EXPECT_EQ(cell.state.brush.style, BrushStyle::Null);
  EXPECT_EQ(canvas.CurrentPen(), Pen{});

  canvas.Clear();
  Mesh(0, 4, 2, 0, 4, 2).Draw(&view);
  EXPECT_EQ(canvas.PrimitivesOf(PrimitiveKind::Polyline).size(), 4u);
}

TEST_F(CenterMeshDrawTest, ARangeWithoutPitchDrawsItsOutline) {
  Mesh(1, 3, 0, 2, 5, 1).Draw(&view);
  EXPECT_EQ(DrawnPoints(canvas, PrimitiveKind::Polyline),
            (std::vector<std::vector<DevPoint>>{
                {{10, 280}, {10, 250}, {30, 250}, {30, 280}, {10, 280}}}));
  canvas.Clear();
  CCenterMesh().Draw(&view);  // nothing set: nothing to outline
  EXPECT_TRUE(canvas.Primitives().empty());
}

}  // namespace
