#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <stdexcept>
#include <vector>

#include "core/circle/ArcSet.h"
#include "core/circle/CircleRecordVersion.h"
#include "core/circle/RepKey.h"
#include "core/circle/RepMesh.h"
#include "platform/Archive.h"
#include "platform/RecordingCanvas.h"
#include "tests/core/circle/CircleSurface.h"
#include "tests/support/DrawTestUtil.h"
#include "tests/support/RecordBytes.h"
#include "tests/support/RecordContract.h"

namespace {

using Q = CRepPoint::Quantity;

std::unique_ptr<CRepPoint> Circle(double fs, double pr) {
  auto child = std::make_unique<CRepPoint>();
  for (const int c : {0, 1}) {
    child->SetStab(Q::kFs, c, fs);
    child->SetStab(Q::kPr, c, pr);
    child->SetStab(Q::kT, c, 100);
  }
  child->SetSlideWork(CircleSurface());
  return child;
}

// A node at the centre with one circle of the safety factor.
std::unique_ptr<CRepPoint> Node(const CDPoint& centre, double fs) {
  auto node = std::make_unique<CRepPoint>();
  node->SetCenter(centre);
  auto circle = Circle(fs, 0);
  circle->SetCenter(centre);
  node->AddChild(std::move(circle));
  return node;
}

TEST(RepMeshTest, NodesOverTheCentreMesh) {
  struct Case {
    double x2;
    int nx;
    double lastX;
  };
  for (const Case& c : {Case{10, 6, 10}, Case{11, 7, 11}}) {
    SCOPED_TRACE(c.x2);
    CArcSetRadius set;
    set.mesh.x1 = 0;
    set.mesh.x2 = c.x2;
    set.mesh.dx = 2;
    set.mesh.y1 = 5;
    set.mesh.y2 = 6;
    set.mesh.dy = 1;
    CRepMesh mesh;
    mesh.CreateResultPoint(set);
    ASSERT_EQ(mesh.GetSizeX(), c.nx);
    ASSERT_EQ(mesh.GetSizeY(), 2);
    EXPECT_EQ(mesh.GetRepPoint(c.nx - 1, 1)->GetCenter(), CDPoint(c.lastX, 6));
    EXPECT_EQ(mesh.GetRepPoint(1, 0)->GetCenter(), CDPoint(2, 5));
  }
  EXPECT_THROW(CRepMesh(2, 2).GetRepPoint(2, 0), std::out_of_range);
  EXPECT_EQ(CRepMesh().GetMinVal(10), 9e32);
  EXPECT_FALSE(CRepMesh(2, 2).IsSucceed());
}

// A mesh of nx x ny nodes at (x0 + i dx, y0 + j dy) with the field's value as Fs.
std::unique_ptr<CRepMesh> FieldMesh(int nx, int ny, double dx, double dy,
                                    const std::function<double(double, double)>& f) {
  auto mesh = std::make_unique<CRepMesh>(nx, ny);
  for (int i = 0; i < nx; ++i) {
    for (int j = 0; j < ny; ++j) {
      const CDPoint p(i * dx, j * dy);
      mesh->SetRepPoint(i, j, Node(p, f(p.x, p.y)));
    }
  }
  return mesh;
}

TEST(ContourTest, LinesOfALinearFieldLieOnItsLevelLines) {
  const auto f = [](double x, double y) { return 1 + 0.031 * x + 0.017 * y; };
  const auto mesh = FieldMesh(6, 5, 1.0, 1.5, f);
  CRepKey key;
  key.Data().paint = 0;
  key.Data().fsPitch = 0.02;
  const CRepContours* lines = mesh->CreateContour(key);
  ASSERT_NE(lines, nullptr);
  ASSERT_FALSE(lines->IsPainted());
  ASSERT_GT(lines->GetSize(), 10);
  for (int i = 0; i < lines->GetSize(); ++i) {
    const CRepContours::Shape& line = lines->GetAt(i);
    ASSERT_EQ(line.count, 2U);
    for (const CDPoint& p : lines->PointsOf(line)) EXPECT_NEAR(f(p.x, p.y), line.level, 1e-12);
    EXPECT_EQ(line.colour.ref, key.GetColor(line.level).ref);
  }
  EXPECT_THROW(lines->GetAt(lines->GetSize()), std::out_of_range);
}

// A hand-made cell from (0, 0) to (2, 1) with the corner values, corners in the order (0,0),
// (2,0), (2,1), (0,1).
class CellTest : public testing::Test {
 protected:
  void Make(const std::array<double, 4>& v) {
    const CDPoint corners[4] = {{0, 0}, {2, 0}, {2, 1}, {0, 1}};
    mesh = std::make_unique<CRepMesh>(2, 2);
    const int ij[4][2] = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};
    for (int c = 0; c < 4; ++c) mesh->SetRepPoint(ij[c][0], ij[c][1], Node(corners[c], v[c]));
    mesh->SetTypicalPoint(key);
    cell = {mesh->GetRepPoint(0, 0), mesh->GetRepPoint(1, 0), mesh->GetRepPoint(1, 1),
            mesh->GetRepPoint(0, 1)};
  }
  std::vector<CRepMesh::Segment> Segments(double level) {
    std::array<CRepMesh::Segment, 2> out;
    const int count = mesh->ContourGridPrimOne(level, cell, out);
    return {out.begin(), out.begin() + count};
  }

  CRepKey key;
  std::unique_ptr<CRepMesh> mesh;
  CRepMesh::Cell cell{};
};

// On a paraboloid each crossing is the linear interpolation of the corner values on its edge.
TEST_F(CellTest, CrossingsInterpolateLinearlyOnTheEdges) {
  const auto f = [](double x, double y) { return 0.5 + 0.3 * x * x + 0.2 * y * y; };
  Make({f(0, 0), f(2, 0), f(2, 1), f(0, 1)});
  const double level = 1.0;
  const auto segments = Segments(level);
  ASSERT_EQ(segments.size(), 1u);
  // Edge (0,0)-(2,0): 0.5 .. 1.7; edge (2,1)-(0,1): 1.9 .. 0.7.
  EXPECT_NEAR(segments[0].first.x, 2 * (level - 0.5) / (1.7 - 0.5), 1e-15);
  EXPECT_EQ(segments[0].first.y, 0);
  EXPECT_NEAR(segments[0].second.x, 2 - 2 * (level - 1.9) / (0.7 - 1.9), 1e-15);
  EXPECT_EQ(segments[0].second.y, 1);
}

TEST_F(CellTest, SaddlePairingFollowsTheGroundDirection) {
  Make({1.0, 2.0, 1.0, 2.0});
  const CDPoint c0(1, 0), c1(2, 0.5), c2(1, 1), c3(0, 0.5);
  auto segments = Segments(1.5);
  ASSERT_EQ(segments.size(), 2u);
  EXPECT_EQ(segments[0], std::make_pair(c0, c1));
  EXPECT_EQ(segments[1], std::make_pair(c2, c3));
  mesh->SetRightUp(true);
  segments = Segments(1.5);
  ASSERT_EQ(segments.size(), 2u);
  EXPECT_EQ(segments[0], std::make_pair(c0, c3));
  EXPECT_EQ(segments[1], std::make_pair(c1, c2));
}

// A level equal to a corner value crosses only the edges on which that corner is the lower end.
TEST_F(CellTest, ALevelAtACornerValueIsHalfOpen) {
  Make({1.0, 1.2, 1.4, 1.2});
  auto segments = Segments(1.2);
  ASSERT_EQ(segments.size(), 1u);
  EXPECT_EQ(segments[0], std::make_pair(CDPoint(2, 0), CDPoint(0, 1)));
  EXPECT_TRUE(Segments(1.4).empty());
  EXPECT_EQ(Segments(1.0).size(), 1u);
}

TEST_F(CellTest, ACornerWithoutACircleGivesNothing) {
  Make({1.0, 1.2, 1.4, 1.2});
  mesh->GetRepPoint(1, 1)->RemoveAll();
  mesh->SetTypicalPoint(key);
  EXPECT_TRUE(Segments(1.2).empty());
  key.Data().paint = 0;
  EXPECT_EQ(mesh->CreateContour(key)->GetSize(), 0);
  key.Data().paint = 1;
  EXPECT_EQ(mesh->CreateContour(key)->GetSize(), 0);
}

TEST_F(CellTest, APitchNotAboveZeroGivesNoMap) {
  Make({1.0, 1.2, 1.4, 1.2});
  for (const double pitch : {0.0, -0.01}) {
    key.Data().fsPitch = pitch;
    EXPECT_EQ(mesh->CreateContour(key), nullptr);
    EXPECT_EQ(mesh->GetContours(), nullptr);
  }
}

// A cell from 0.8 (left) to 0.9 (right) painted at pitch 0.05: the level 0.85 splits it into a
// red and a yellow band.
TEST_F(CellTest, BandsTakeTheColourOfTheirLowestLevel) {
  Make({0.8, 0.9, 0.9, 0.8});
  key.Data().fsPitch = 0.05;
  const CRepContours* bands = mesh->CreateContour(key);
  ASSERT_NE(bands, nullptr);
  ASSERT_TRUE(bands->IsPainted());
  ASSERT_EQ(bands->GetSize(), 2);
  std::vector<std::uint32_t> colours;
  for (int i = 0; i < 2; ++i) colours.push_back(bands->GetAt(i).colour.ref);
  std::sort(colours.begin(), colours.end());
  EXPECT_EQ(colours, (std::vector<std::uint32_t>{0x0000FF, 0x00FFFF}));
  // Each band filled in its colour without an outline, through its points.
  RecordingCanvas canvas;
  CViewInfo view;
  AttachTestView(view, canvas, 10, 150, 150);
  mesh->DrawContour(&view, true, false);
  const auto polygons = canvas.PrimitivesOf(PrimitiveKind::Polygon);
  ASSERT_EQ(polygons.size(), 2U);
  for (int i = 0; i < 2; ++i) {
    const CRepContours::Shape& band = bands->GetAt(i);
    const DrawnPrimitive& drawn = polygons[static_cast<std::size_t>(i)];
    EXPECT_EQ(drawn.state.pen.style, PenStyle::Null);
    EXPECT_EQ(drawn.state.brush, (Brush{BrushStyle::Solid, band.colour}));
    std::vector<DevPoint> points;
    for (const CDPoint& p : bands->PointsOf(band)) points.push_back(view.LPtoDP(p));
    EXPECT_EQ(drawn.points, points);
  }
}

// Painted cell after cell, every cell gets the bands it gets painted alone: nothing of one cell's
// outline or lines carries over to the next (a cell leaves off once it holds 50 lines). A row of
// 60 cells whose values rise to the right, each split by a level or two.
TEST(ContourTest, EachPaintedCellGetsTheBandsItGetsAlone) {
  constexpr int kCells = 60;
  CRepKey key;
  key.Data().fsPitch = 0.002;
  struct Band {
    std::uint32_t colour;
    std::vector<CDPoint> points;
    bool operator==(const Band&) const = default;
  };
  // The bands of the mesh of the cells from the first on.
  const auto bands = [&key](int first, int cells) {
    CRepMesh mesh(cells + 1, 2);
    for (int c = 0; c <= cells; ++c) {
      for (int row = 0; row < 2; ++row) {
        const int column = first + c;
        mesh.SetRepPoint(c, row,
                         Node(CDPoint(2.0 * column, row), 0.8 + 0.003 * column + 0.001 * row));
      }
    }
    std::vector<Band> found;
    const CRepContours* painted = mesh.CreateContour(key);
    for (int i = 0; painted != nullptr && i < painted->GetSize(); ++i) {
      const CRepContours::Shape& shape = painted->GetAt(i);
      const auto points = painted->PointsOf(shape);
      found.push_back({shape.colour.ref, {points.begin(), points.end()}});
    }
    return found;
  };
  std::vector<Band> alone;
  for (int c = 0; c < kCells; ++c) {
    const std::vector<Band> cell = bands(c, 1);
    ASSERT_GE(cell.size(), 2u) << c;
    alone.insert(alone.end(), cell.begin(), cell.end());
  }
  EXPECT_EQ(bands(0, kCells), alone);
}

// Lines in their colours with a pen of width 2, then the value of every centre at its device
// point on the baseline.
TEST_F(CellTest, DrawingLinesAndLabels) {
  Make({1.0, 1.2, 1.4, 1.2});
  key.Data().paint = 0;
  key.Data().fsPitch = 0.1;
  mesh->CreateContour(key);
  RecordingCanvas canvas;
  CViewInfo view;
  AttachTestView(view, canvas, 10, 150, 150);
  mesh->DrawContour(&view, true, true);
  const auto lines = canvas.PrimitivesOf(PrimitiveKind::Polyline);
  ASSERT_EQ(lines.size(), static_cast<std::size_t>(mesh->GetContours()->GetSize()));
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const CRepContours::Shape& contour = mesh->GetContours()->GetAt(static_cast<int>(i));
    EXPECT_EQ(lines[i].state.pen, (Pen{PenStyle::Solid, 2, contour.colour}));
    EXPECT_EQ(lines[i].points,
              (std::vector<DevPoint>{view.LPtoDP(mesh->GetContours()->PointsOf(contour)[0]),
                                     view.LPtoDP(mesh->GetContours()->PointsOf(contour)[1])}));
  }
  const auto texts = canvas.PrimitivesOf(PrimitiveKind::Text);
  ASSERT_EQ(texts.size(), 4u);
  EXPECT_EQ(texts[0].text, "1.000");
  EXPECT_EQ(texts[0].points[0], view.LPtoDP(CDPoint(0, 0)));
  EXPECT_EQ(texts[1].text, "1.200");
  EXPECT_EQ(texts[0].state.font.face, "ＭＳ ゴシック");
  EXPECT_EQ(texts[0].state.font.height, 10);
  EXPECT_EQ(texts[0].state.textAlign, TextAlign::Baseline);
}

// ---- Listing ----

TEST(RepMeshListTest, OneCircleOfEachKindPerCentreLessDuplicates) {
  CRepMesh mesh(1, 1);
  auto node = std::make_unique<CRepPoint>();
  node->AddChild(Circle(1.2, 50));  // min Fs of both cases
  node->AddChild(Circle(1.3, 80));  // max Pr of both cases
  node->AddChild(Circle(1.5, 10));
  node->GetChild(0).SetStab(Q::kPr, 1, 90);  // and max seismic Pr
  mesh.SetRepPoint(0, 0, std::move(node));
  CRepKey key;
  key.Data().normalGroup = key.Data().seismicGroup = 1;
  key.Data().listing = 3;
  CRepMesh::SerialList list;
  EXPECT_EQ(mesh.SerialCopy(list, &key), 2);
  EXPECT_EQ(mesh.GetTotalSize(), 3);
  const CRepPoint* n = mesh.GetRepPoint(0, 0);
  EXPECT_EQ(list, (CRepMesh::SerialList{&n->GetChild(0), &n->GetChild(1)}));
  key.Data().listing = 0;
  EXPECT_EQ(mesh.SerialCopy(list, &key), 3);
}

TEST(RepMeshListTest, MarksOfFilteredCirclesAreCleared) {
  CRepMesh mesh(1, 1);
  auto node = std::make_unique<CRepPoint>();
  node->AddChild(Circle(1.2, 50));
  node->AddChild(Circle(1.3, 80));
  node->GetChild(1).SetMark(0, 1);
  CRepPoint& chosen = node->GetChild(1);
  mesh.SetRepPoint(0, 0, std::move(node));
  CRepKey key;
  key.Data().normalGroup = 1;
  key.Data().listing = 1;
  CRepMesh::SerialList list;
  // A marked circle is kept beside the circle of minimum Fs.
  EXPECT_EQ(mesh.SerialCopy(list, &key), 2);
  EXPECT_EQ(chosen.GetMark(0), 1);
  // Not listed any more: its mark goes.
  mesh.CheckOffHideRes({list[0]});
  EXPECT_EQ(chosen.GetMark(0), 0);
}

// ---- Copies and records ----

TEST(RepMeshTest, ACopyOutlivesItsSource) {
  auto source = FieldMesh(2, 2, 1, 1, [](double x, double y) { return 1 + x + y; });
  source->SetTypicalPoint(CRepKey());
  CRepMesh copy;
  copy.CopyData(*source);
  source.reset();
  for (int i = 0; i < 2; ++i) {
    for (int j = 0; j < 2; ++j) {
      ASSERT_NE(copy.GetRepPoint(i, j)->GetSlideWork(), nullptr);
      EXPECT_EQ(copy.GetRepPoint(i, j)->GetSlideWork()->GetSize(), 2);
    }
  }
  CRepPoint* found = nullptr;
  int i = -1, j = -1;
  EXPECT_TRUE(copy.Find(CDPoint(1, 0), i, j, found));
  EXPECT_EQ(i, 1);
  EXPECT_EQ(j, 0);
  EXPECT_EQ(copy.GetMaxVal(10), 3);
}

void EmptyPoint(RecordBytes& b, double x) {
  b.Int(-1).Int(0).Int(0).Double(x).Double(kNoValue).Double(kNoValue).Double(kNoValue);
  for (int v = 0; v < 24; ++v) b.Double(kNoValue);
  b.Int(0).Int(0);
}

TEST(RepMeshRecordTest, RecordContract) {
  CRepMesh mesh(2, 1);
  for (int i = 0; i < 2; ++i) {
    auto node = std::make_unique<CRepPoint>();
    node->SetCenter(CDPoint(i, kNoValue));
    mesh.SetRepPoint(i, 0, std::move(node));
  }
  RecordBytes b;
  b.Int(2).Int(1);
  EmptyPoint(b, 0);
  EmptyPoint(b, 1);
  ExpectRecordContract<CRepMesh>({
      .stored = mesh,
      .version = kCircleRecordVersion,
      .bytes = b.Get(),
  });
}

TEST(RepMeshRecordTest, AHugeSizeIsRefused) {
  RecordBytes b;
  b.Int(100000).Int(100000);
  Archive in(b.Get());
  CRepMesh mesh(1, 1);
  EXPECT_THROW(mesh.Load(in, kCircleRecordVersion), ArchiveException);
  EXPECT_EQ(mesh.GetSizeX(), 1);
}

}  // namespace
