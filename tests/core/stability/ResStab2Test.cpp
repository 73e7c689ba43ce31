#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <vector>

#include "core/geometry/ViewInfo.h"
#include "core/model/DrawResGraphSetMltFs.h"
#include "core/stability/MltPoint.h"
#include "core/stability/ResStab2.h"
#include "platform/Archive.h"
#include "platform/RecordingCanvas.h"
#include "tests/support/DrawTestUtil.h"
#include "tests/support/RecordBytes.h"
#include "tests/support/RecordContract.h"

namespace {

std::unique_ptr<CMltPoint> Point(int id, int start, int end, double fsN, double fsQ = kNoValue) {
  auto p = std::make_unique<CMltPoint>();
  p->id = id;
  p->startBlock = start;
  p->endBlock = end;
  p->fsN = fsN;
  p->fsQ = fsQ;
  return p;
}

// A result set holding the points, listed under its own key.
void Fill(CResStab2& result, std::vector<std::unique_ptr<CMltPoint>> points) {
  auto blocks = std::make_unique<CMltBlocks>();
  for (auto& p : points) blocks->Add(std::move(p));
  result.SetResult(std::move(blocks));
  result.SerialResult();
}

// The record of a new key (version 5 on): the pairs, the doubles, then the shared tail.
RecordBytes& DefaultKey(RecordBytes& b, int version) {
  if (version >= 8) {
    b.Int(0);
    for (int k = 0; k < 20; ++k) b.Int(INT_MIN).Int(INT_MIN);
  }
  if (version < 5) {
    b.Int(0).Int(0).Int(1).Int(0).Double(kNoValue).Double(kNoValue);
  } else {
    b.Int(0).Int(1);
    for (int k = 0; k < 2; ++k) {
      b.Int(k).Int(k).Int(k).Int(k);
      for (int d = 0; d < 4; ++d) b.Double(kNoValue);
    }
  }
  b.Int(0).Int(1).Int(0).Int(0).Int(0).Double(0.01).Int(1).Int(1).Int(1);
  for (const double v : {0.8, 0.85, 0.9, 0.95, 1.0, 100.0, 75.0, 50.0, 25.0, 0.0}) b.Double(v);
  for (int k = 0; k < 10; ++k) b.Int(0);
  return b.Int(0);
}

RecordBytes& PointBytes(RecordBytes& b) {
  b.Int(0).Int(0).Int(0).Int(1).Int(2);
  return b.Double(kNoValue).Double(kNoValue).Double(1.25).Double(kNoValue).Double(kNoValue).Double(
      kNoValue);
}

TEST(ResStab2Test, CurrentRecordMeetsTheContract) {
  CResStab2 result;
  Fill(result, {});
  {
    std::vector<std::unique_ptr<CMltPoint>> points;
    points.push_back(Point(0, 1, 2, 1.25));
    Fill(result, std::move(points));
  }
  result.blockCount = 4;
  result.resultCount = 1;
  result.SetSort({12, 1});
  result.adopted = {5, 6, 0.3, 8};
  result.graphFs.lineColors = {Color::Rgb(1, 2, 3)};
  RecordBytes b;
  DefaultKey(b, 8).Int(4).Int(1).Int(12).Int(1);
  for (int k = 0; k < 2 * tagBLOCKRESULTSLICE::kValueCount; ++k) b.Double(kNoValue);
  b.Int(1).Int(0).Int(1);
  PointBytes(b);
  b.Double(5).Double(6).Double(0.3).Double(8);
  b.Int(1).Int(1).Int(1);
  for (int k = 0; k < 2; ++k) {
    b.Int(-1).Int(-1).Double(100).Double(10).Double(0).Double(0).Double(5).Double(1);
  }
  b.Color(Color::Rgb(255, 255, 255)).Int(1).Color(Color::Rgb(1, 2, 3));
  ExpectRecordContract<CResStab2>({.stored = result, .version = 8, .bytes = b.Get()});
}

TEST(ResStab2Test, AVersionTwoDocumentKeepsTheAdoptedValuesAndGraphSettingsInitial) {
  RecordBytes b;
  DefaultKey(b, 2).Int(4).Int(1).Int(9).Int(0);
  for (int k = 0; k < 2 * tagBLOCKRESULTSLICE::kValueCount; ++k) b.Double(kNoValue);
  b.Int(1).Int(0).Int(1);
  PointBytes(b);
  CResStab2 result;
  Archive ar(b.Get());
  result.Load(ar, 2);
  EXPECT_EQ(ar.Remaining(), 0u);
  ASSERT_NE(result.GetResult(), nullptr);
  EXPECT_EQ(result.GetResult()->GetMltPoint(0)->fsN, 1.25);
  for (const double v : result.adopted) EXPECT_EQ(v, kNoValue);
  EXPECT_TRUE(result.graphFs.IsSame(CDrawResGraphSetMltFs()));
}

TEST(ResStab2Test, SearchesOverTheOrderedListSkipPointsWithoutAValue) {
  CResStab2 result;
  EXPECT_EQ(result.GetMinFs(0), kNoValue);  // an empty list gives the start values
  EXPECT_EQ(result.GetSerialMin(9), kNoValue);
  std::vector<std::unique_ptr<CMltPoint>> points;
  points.push_back(Point(0, 0, 1, kNoValue));
  points.push_back(Point(1, 0, 2, 1.4, 1.1));
  points.push_back(Point(2, 1, 2, 1.2));
  points[2]->typicalN = 1;
  Fill(result, std::move(points));
  EXPECT_EQ(result.GetMinFs(0), 1.2);
  EXPECT_EQ(result.GetMinFs(1), 1.1);
  EXPECT_EQ(result.GetSerialMax(9), 1.4);
  EXPECT_EQ(result.GetSerialMin(7), kNoValue);  // not an item of the graph searches
  EXPECT_EQ(result.GetSelectRepPt(0)->id, 2);
  EXPECT_EQ(result.GetSelectRepPt(1), nullptr);
  EXPECT_EQ(result.GetSelectRepPt(2), nullptr);
  EXPECT_EQ(result.GetAtBlockRes(0, 2)->id, 1);
  EXPECT_EQ(result.GetAtBlockRes(2, 3), nullptr);
}

TEST(ResStab2Test, GraphRangesSnapToTheirPitchAndAnEmptyResultKeepsItsRange) {
  const struct {
    double lo, hi;
    double minY, maxY, pitchY;
  } cases[] = {
      {1.25, 1.75, 1.2, 1.8, 0.1}, {2.0, 2.0, 0.8, 3.2, 0.4},  // equal ends widen by half of each
  };
  for (const auto& c : cases) {
    CResStab2 result;
    std::vector<std::unique_ptr<CMltPoint>> points;
    points.push_back(Point(0, 0, 1, c.lo));
    points.push_back(Point(1, 0, 2, kNoValue));
    points.push_back(Point(2, 1, 2, c.hi));
    Fill(result, std::move(points));
    result.blockCount = 5;
    result.SetGraphFsMaxMin(-1);
    const auto& normal = result.graphFs.axes[0];
    EXPECT_EQ(normal.itemX, 3);
    EXPECT_EQ(normal.itemY, 9);
    EXPECT_EQ(normal.minX, 0);
    EXPECT_EQ(normal.maxX, 6);
    EXPECT_EQ(normal.pitchX, 1);
    EXPECT_NEAR(normal.minY, c.minY, 1e-12);
    EXPECT_NEAR(normal.maxY, c.maxY, 1e-12);
    EXPECT_NEAR(normal.pitchY, c.pitchY, 1e-12);
    // The seismic case has no Fs at all: its vertical range stays as it was.
    const auto& seismic = result.graphFs.axes[1];
    EXPECT_EQ(seismic.itemY, 12);
    EXPECT_EQ(seismic.minY, 0);
    EXPECT_EQ(seismic.maxY, 10);
    EXPECT_EQ(seismic.pitchY, 1);
  }
}

TEST(DrawResGraphSetMltFsTest, AVersionFourRecordHoldsTheNormalRangesOnly) {
  CDrawResGraphSetMltFs set;
  set.axes[0] = {-1, -1, 20, 3, 1, 0.5, 2, 0.25};
  RecordBytes b;
  b.Int(1).Int(1).Int(1).Double(20).Double(3).Double(1).Double(0.5).Double(2).Double(0.25);
  b.Color(Color::Rgb(255, 255, 255)).Int(0);
  ExpectRecordContract<CDrawResGraphSetMltFs>({.stored = set, .version = 4, .bytes = b.Get()});
}

TEST(DrawResGraphSetMltFsTest, LineColoursStandOutAndComeFromAFixedSeed) {
  CDrawResGraphSetMltFs set;
  set.MakeLineColor(0);
  EXPECT_TRUE(set.lineColors.empty());
  set.MakeLineColor(60);
  ASSERT_EQ(set.lineColors.size(), 60u);
  const auto distance = [](Color a, Color b) {
    const double dr = a.Red() - b.Red(), dg = a.Green() - b.Green(), db = a.Blue() - b.Blue();
    return std::sqrt(4 * dg * dg + 2 * dr * dr + 3 * db * db) / 765;
  };
  for (std::size_t i = 0; i < 60; ++i) {
    EXPECT_GE(distance(set.lineColors[i], set.background), 0.2);
    if (i > 0) {
      EXPECT_GE(distance(set.lineColors[i], set.lineColors[i - 1]), 0.3);
    }
  }
  CDrawResGraphSetMltFs again;
  again.MakeLineColor(60);
  EXPECT_EQ(again.lineColors, set.lineColors);
}

// ---- Graphs ----

// The device lines drawn in the colour.
std::vector<std::vector<DevPoint>> LinesIn(const RecordingCanvas& canvas, Color color) {
  std::vector<std::vector<DevPoint>> lines;
  for (const DrawnPrimitive& p : canvas.PrimitivesOf(PrimitiveKind::Line)) {
    if (p.state.pen.color == color && p.state.clip) lines.push_back(p.points);
  }
  return lines;
}

TEST(ResStab2GraphTest, APointWithoutAValueBreaksTheLineAndMismatchedColoursStayStored) {
  CResStab2 result;
  std::vector<std::unique_ptr<CMltPoint>> points;
  points.push_back(Point(0, 0, 1, 1.0));
  points.push_back(Point(1, 0, 2, 1.2));
  points.push_back(Point(2, 0, 3, kNoValue));
  points.push_back(Point(3, 0, 4, 1.4));
  points.push_back(Point(4, 0, 5, 1.5));
  Fill(result, std::move(points));
  result.blockCount = 6;
  result.SetGraphFsMaxMin(-1);
  result.graphFs.lineColors = {Color::Rgb(10, 20, 30), Color::Rgb(40, 50, 60)};  // 2, not 1
  const std::vector<Color> stored = result.graphFs.lineColors;

  RecordingCanvas canvas;
  CViewInfo view;
  AttachTestView(view, canvas, 10, 150, 150);
  const DevRect graph{0, 0, 400, 300};
  const DevRect plot{40, 20, 380, 260};
  result.DrawGraphFs(&view, graph, plot, 30);
  EXPECT_EQ(result.graphFs.lineColors, stored);
  EXPECT_EQ(result.GetLastPlotRect().right, 380 - 2 * 30);  // two legend columns at least

  CDrawResGraphSetMltFs temporary;
  temporary.MakeLineColor(1);
  const auto lines = LinesIn(canvas, temporary.lineColors[0]);
  // (1, 2) and (2, 3) joined, the gap at end block 4, then (4, 5) and (5, 6) joined.
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_LT(lines[0][1].x, lines[1][0].x);
  const auto texts = canvas.PrimitivesOf(PrimitiveKind::Text);
  const auto label = std::find_if(texts.rbegin(), texts.rend(),
                                  [](const DrawnPrimitive& t) { return t.state.clip.has_value(); });
  ASSERT_NE(label, texts.rend());
  EXPECT_EQ(label->text, "1");
  EXPECT_EQ(label->points[0], lines[1][0]);  // where the line last started
}

TEST(ResStab2GraphTest, TheCTanPhiGraphNeedsAValueAndJoinsTheTypicalPointsAxes) {
  CResStab2 result;
  result.SetMltType(CMltPoint::kKindGyaku);
  RecordingCanvas canvas;
  CViewInfo view;
  AttachTestView(view, canvas, 10, 150, 150);
  const DevRect rect{0, 0, 400, 400};
  result.DrawCFai(&view, rect);
  EXPECT_TRUE(canvas.Primitives().empty());

  auto blocks = std::make_unique<CMltBlocks>();
  blocks->SetMltType(CMltPoint::kKindGyaku);
  auto p = std::make_unique<CMltPointGyaku>();
  p->id = 0;
  p->typicalN = 1;
  p->c0 = 20;
  p->tanPhi0 = 0.5;
  p->c = 10;
  p->tanPhi = 0.25;
  blocks->Add(std::move(p));
  result.SetResult(std::move(blocks));
  result.SerialResult();
  result.DrawCFai(&view, rect);
  const Pen blue{PenStyle::Solid, 2, Color::Rgb(0, 0, 255)};
  int marks = 0;
  for (const DrawnPrimitive& d : canvas.PrimitivesOf(PrimitiveKind::Line)) {
    marks += d.state.pen == blue ? 1 : 0;
  }
  EXPECT_EQ(marks, 2);  // across to tan(phi), down to the axis
}

}  // namespace
