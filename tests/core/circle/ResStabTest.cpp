#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/circle/CircleRecordVersion.h"
#include "core/circle/RepKey.h"
#include "core/circle/ResStab.h"
#include "platform/Archive.h"
#include "platform/RecordingCanvas.h"
#include "tests/core/circle/CircleSurface.h"
#include "tests/core/circle/ResultRecordBytes.h"
#include "tests/support/DrawTestUtil.h"
#include "tests/support/RecordBytes.h"
#include "tests/support/RecordContract.h"

namespace {

using Q = CRepPoint::Quantity;

// One circle with the values of both cases.
struct CircleValues {
  double fs;
  double fsSeis = 1.0;
  double pr = 0;
  double prSeis = 0;
};

std::unique_ptr<CRepPoint> Circle(const CircleValues& v, int id) {
  auto circle = std::make_unique<CRepPoint>();
  circle->SetId(id);
  circle->SetStab(Q::kFs, 0, v.fs);
  circle->SetStab(Q::kFs, 1, v.fsSeis);
  circle->SetStab(Q::kPr, 0, v.pr);
  circle->SetStab(Q::kPr, 1, v.prSeis);
  for (const int c : {0, 1}) circle->SetStab(Q::kT, c, 100);
  circle->SetSlideWork(CircleSurface());
  return circle;
}

// A mesh of one row of nodes, node i holding circle i, listed in that order under a key that
// lists every circle of the normal case.
std::unique_ptr<CRepMesh> RowMesh(const std::vector<CircleValues>& circles) {
  auto mesh = std::make_unique<CRepMesh>(static_cast<int>(circles.size()), 1);
  for (std::size_t i = 0; i < circles.size(); ++i) {
    auto node = std::make_unique<CRepPoint>();
    node->SetCenter(CDPoint(static_cast<double>(i), 20));
    auto circle = Circle(circles[i], static_cast<int>(i));
    circle->SetCenter(node->GetCenter());
    node->AddChild(std::move(circle));
    mesh->SetRepPoint(static_cast<int>(i), 0, std::move(node));
  }
  return mesh;
}

// A result set with the circles listed in their order.
void Fill(CResStab& res, const std::vector<CircleValues>& circles) {
  res.GetKey().Data().normalGroup = 1;
  res.GetKey().Data().abnormalOff = 0;
  res.SetMesh(RowMesh(circles));
  res.SetSerialCount(res.SerialResult());
}

std::vector<int> Ids(const CResStab& res) {
  std::vector<int> ids;
  for (const CRepPoint* p : res.GetSerialList()) ids.push_back(p->GetId());
  return ids;
}

// ---- Extremes ----

TEST(ResStabExtremeTest, MinFsSkipsMissingValues) {
  struct Case {
    std::vector<double> fs;
    double min;
  };
  const Case cases[] = {
      {{1.2, kNoValue, 1.5}, 1.2}, {{kNoValue, 1.5, 1.3}, 1.3},
      {{kNoValue}, kNoValue},      {{}, kNoValue},
      {{-0.5, 0.8}, -0.5},
  };
  for (const Case& c : cases) {
    CResStab res;
    std::vector<CircleValues> circles;
    for (const double fs : c.fs) circles.push_back({fs});
    Fill(res, circles);
    ASSERT_EQ(res.GetSerialList().size(), c.fs.size());
    EXPECT_EQ(res.GetMinFs(0), c.min) << testing::PrintToString(c.fs);
  }
}

TEST(ResStabExtremeTest, ColumnsAndStartValues) {
  CResStab res;
  EXPECT_EQ(res.GetMinFs(1), kNoValue);
  EXPECT_EQ(res.GetMaxPr(0), 9e32);
  EXPECT_EQ(res.GetMaxPrNm(), 9e32);
  EXPECT_EQ(res.GetMaxDelta(0), kNoValue);
  EXPECT_EQ(res.GetSerialMin(10, 0), 9e32);
  EXPECT_EQ(res.GetSerialMax(10, 0), kNoValue);
  Fill(res, {{1.2, 0.9, 50, 70}, {1.1, 0.95, 80, 60}});
  EXPECT_EQ(res.GetMinFs(0), 1.1);
  EXPECT_EQ(res.GetMinFs(1), 0.9);
  EXPECT_EQ(res.GetMaxPr(0), 80);
  EXPECT_EQ(res.GetMaxPr(1), 70);
}

TEST(ResStabExtremeTest, SerialMinAndMaxByKind) {
  CResStab res;
  Fill(res, {{1.2, 0.9}, {kNoValue, 0.8}, {1.4, 1.1}});
  struct Case {
    int kind;
    double min;
    double max;
  };
  const Case cases[] = {
      {10, 1.2, 1.4},            // missing values are skipped
      {16, 0.8, 1.1},            // the seismic column
      {4, 20, 20},               // centre y
      {0, 0, 0},                 // the marks count as 0
      {1, 0, 0},                 //
      {9, kNoValue, kNoValue},   // no value to compare for the plain search
      {2, kNoValue, kNoValue},   //
      {15, kNoValue, kNoValue},  //
      {28, kNoValue, kNoValue},  //
      {19, 9e32, kNoValue},      // taken, but no point has a displacement
  };
  for (const Case& c : cases) {
    EXPECT_EQ(res.GetSerialMin(c.kind, 0), c.min) << c.kind;
    EXPECT_EQ(res.GetSerialMax(c.kind, 0), c.max) << c.kind;
  }
}

TEST(ResStabExtremeTest, DisplacementsCountWhereKyIsNotNegative) {
  CResStab res;
  Fill(res, {{1.0}, {1.0}, {1.0}});
  struct Values {
    double delta;
    double peak;
    double drop;
    double deltaAfter;
    double peakAfter;
    double dropAfter;
  };
  const Values values[] = {{0.5, 0.1, -0.1, 0.4, 0.1, -0.1},
                           {0.3, 0.2, 0.2, 0.2, 0.2, 0.2},
                           {0.9, -0.1, 0.2, 0.8, -0.1, 0.2}};
  for (std::size_t i = 0; i < 3; ++i) {
    CRepPoint& p = *res.GetSerialList()[i];
    // Kinds 19 to 24 are the values 8 to 13.
    p.SetValue(8, values[i].delta);
    p.SetValue(9, values[i].deltaAfter);
    p.SetValue(10, values[i].peak);
    p.SetValue(11, values[i].drop);
    p.SetValue(12, values[i].peakAfter);
    p.SetValue(13, values[i].dropAfter);
  }
  EXPECT_EQ(res.GetMaxDelta(0), 0.5);
  EXPECT_EQ(res.GetMaxDelta(1), 0.3);
  EXPECT_EQ(res.GetSerialMax(20, 0), 0.4);
  EXPECT_EQ(res.GetSerialMax(20, 1), 0.2);
  EXPECT_EQ(res.GetSerialMin(20, 0), 0.2);
  // Only the displacement after the measure takes the Ky filter.
  EXPECT_EQ(res.GetSerialMax(19, 1), 0.9);
}

TEST(ResStabExtremeTest, SpecifiedFsByResultKind) {
  CResStab res;
  res.sliceResults[0][CResCircle::kSliceFs] = 1.11;
  res.sliceResults[1][CResCircle::kSliceFs] = 1.12;
  res.knownResults[0].Fs = 1.21;
  res.knownResults[1].Fs = 1.22;
  struct Case {
    int kind;
    int column;
    double fs;
  };
  const Case cases[] = {{0, 0, 1.11},     {0, 1, 1.12},     {1, 0, 1.21},     {2, 1, 1.22},
                        {3, 0, kNoValue}, {0, 2, kNoValue}, {1, -1, kNoValue}};
  for (const Case& c : cases) {
    res.specifKind = c.kind;
    EXPECT_EQ(res.GetSpecifFs(c.column), c.fs) << c.kind << " " << c.column;
  }
}

TEST(ResStabExtremeTest, SelectedPointOfAColumn) {
  CResStab res;
  Fill(res, {{1.2}, {1.3}, {1.4}});
  res.GetSerialList()[1]->SetMark(1, 1);
  res.GetSerialList()[2]->SetMark(0, 1);
  EXPECT_EQ(res.GetSelectRepPt(0), res.GetSerialList()[2]);
  EXPECT_EQ(res.GetSelectRepPt(1), res.GetSerialList()[1]);
  EXPECT_EQ(res.GetSelectRepPt(2), nullptr);
  res.GetSerialList()[2]->SetMark(0, 2);
  EXPECT_EQ(res.GetSelectRepPt(0), nullptr);
}

// ---- Sort ----

// The exchange loop as it has always run, for comparison.
std::vector<int> ExchangeLoop(std::vector<double> values, bool ascending) {
  std::vector<int> ids(values.size());
  for (std::size_t i = 0; i < ids.size(); ++i) ids[i] = static_cast<int>(i);
  for (std::size_t i = 0; i + 1 < values.size(); ++i) {
    for (std::size_t j = i + 1; j < values.size(); ++j) {
      if (ascending ? values[i] > values[j] : values[i] <= values[j]) {
        std::swap(values[i], values[j]);
        std::swap(ids[i], ids[j]);
      }
    }
  }
  return ids;
}

TEST(ResStabSortTest, TheExchangeOrderTiesIncluded) {
  const std::vector<std::vector<double>> tables = {
      {1.0, 1.0, 1.0},
      {1.3, 1.1, 1.3, 1.2, 1.1, 1.3},
      {2.0, 1.0, 3.0, 1.0, 2.0, 3.0, 1.0, 2.0, 3.0, 0.5, 0.5, 4.0},
      {kNoValue, 1.2, kNoValue, 0.0, -0.0, 1.2},
      {5, 4, 3, 2, 1, 1, 2, 3, 4, 5, 5, 4, 3, 2, 1, 3, 3, 3, 2, 2},
  };
  for (const auto& fs : tables) {
    for (const int order : {0, 1}) {
      CResStab res;
      std::vector<CircleValues> circles;
      for (const double v : fs) circles.push_back({v});
      Fill(res, circles);
      res.SortSerial({10, order});
      EXPECT_EQ(Ids(res), ExchangeLoop(fs, order == 0))
          << testing::PrintToString(fs) << " order " << order;
    }
  }
}

TEST(ResStabSortTest, EqualValuesStayAscendingAndTurnRoundDescending) {
  CResStab res;
  Fill(res, {{1.0}, {1.0}, {1.0}});
  res.SortSerial({10, 0});
  EXPECT_EQ(Ids(res), (std::vector<int>{0, 1, 2}));
  res.SortSerial({10, 1});
  EXPECT_EQ(Ids(res), (std::vector<int>{2, 1, 0}));
}

TEST(ResStabSortTest, SeismicKindsSortByTheSeismicColumn) {
  CResStab res;
  Fill(res, {{1.0, 1.3}, {1.1, 1.2}, {1.2, 1.1}});
  res.SortSerial({16, 0});
  EXPECT_EQ(Ids(res), (std::vector<int>{2, 1, 0}));
  res.SortSerial({10, 0});
  EXPECT_EQ(Ids(res), (std::vector<int>{0, 1, 2}));
}

// ---- Graph ranges ----

TEST(ResStabGraphTest, AutomaticRanges) {
  struct Case {
    std::vector<double> fs;
    double min;
    double max;
    double pitch;
  };
  const Case cases[] = {
      {{2.0, 2.0}, 0.9, 3.0, 0.3},      // 1.0 .. 3.0 in pitches of 0.3
      {{-2.0, -2.0}, -3.0, -0.9, 0.3},  // a negative value widens the same way
      {{0.0, 0.0}, -0.6, 0.6, 0.2},     // 0 widens by a fixed amount, -0.5 .. 0.5
      {{1.0, 1.6}, 1.0, 1.6, 0.1},
  };
  for (const Case& c : cases) {
    CResStab res;
    std::vector<CircleValues> circles;
    for (const double v : c.fs) circles.push_back({v});
    Fill(res, circles);
    res.graph.itemX = 10;
    res.graph.itemY = 10;
    res.SetGraphMaxMin(0);
    EXPECT_NEAR(res.graph.minX, c.min, 1e-12) << c.fs[0];
    EXPECT_NEAR(res.graph.maxX, c.max, 1e-12) << c.fs[0];
    EXPECT_NEAR(res.graph.pitchX, c.pitch, 1e-12) << c.fs[0];
    EXPECT_EQ(res.graph.minY, res.graph.minX);
  }
}

TEST(ResStabGraphTest, NothingToRangeKeepsTheAxes) {
  CResStab res;
  res.graph.itemX = 10;
  res.graph.itemY = 10;
  res.SetGraphMaxMin(0);  // no results
  EXPECT_EQ(res.graph.maxX, 100);
  Fill(res, {{1.0}});
  res.graph.autoRange[0] = 0;
  res.SetGraphMaxMin(0);
  EXPECT_EQ(res.graph.maxX, 100);
  res.graph.autoRange[0] = 1;
  res.graph.itemY = 9;  // no value to compare: that axis stays
  res.SetGraphMaxMin(0);
  EXPECT_EQ(res.graph.maxY, 100);
  EXPECT_NEAR(res.graph.maxX, 1.6, 1e-12);  // 0.5 .. 1.5 in pitches of 0.2
}

// ---- Lifecycle and copies ----

TEST(ResStabTest, ANewResultIsEmpty) {
  const CResStab res;
  EXPECT_EQ(res.GetMesh(), nullptr);
  EXPECT_TRUE(res.GetSerialList().empty());
  EXPECT_EQ(res.GetSerialCount(), 0);
  EXPECT_EQ(res.display, (std::array<int, 4>{10, 0, 19, 1}));
  EXPECT_EQ(res.sliceResults[1][5], kNoValue);
  EXPECT_EQ(res.knownResults[0].Fs, kNoValue);
  EXPECT_EQ(res.graph.itemX, -1);
  EXPECT_FALSE(res.GetKey().IsHokyo());
}

TEST(ResStabTest, DeletingTheResultsForgetsEveryPoint) {
  CResStab res;
  Fill(res, {{1.2}, {1.3}});
  res.SetCurrentResult(res.GetSerialList()[1]);
  res.knownResults[0].Fs = 1.5;
  res.graph.itemX = 10;
  res.DeleteResultAll();
  EXPECT_EQ(res.GetMesh(), nullptr);
  EXPECT_TRUE(res.GetSerialList().empty());
  EXPECT_EQ(res.GetCurrentResult(), nullptr);
  EXPECT_EQ(res.GetSerialCount(), 0);
  EXPECT_EQ(res.knownResults[0].Fs, kNoValue);
  EXPECT_EQ(res.graph.itemX, 10);
  EXPECT_EQ(res.GetKey().Data().normalGroup, 1);
  // A new mesh replaces the points of the old one.
  Fill(res, {{1.2}});
  res.SetCurrentResult(res.GetSerialList()[0]);
  res.SetMesh(RowMesh({{1.4}}));
  EXPECT_TRUE(res.GetSerialList().empty());
  EXPECT_EQ(res.GetCurrentResult(), nullptr);
}

TEST(ResStabTest, ACopyHasItsOwnMeshListContourAndCurrentResult) {
  auto source = std::make_unique<CResStab>();
  Fill(*source, {{1.2}, {1.1}, {1.3}});
  source->GetKey().Data().paint = 0;
  source->RemakeContour();
  source->SetCurrentResult(source->GetSerialList()[2]);
  source->kind = kArcSetPass1;
  source->knownResults[1].Fs = 1.4;

  CResStab copy;
  copy.Copy(*source);
  ASSERT_NE(copy.GetMesh(), nullptr);
  EXPECT_NE(copy.GetMesh(), source->GetMesh());
  ASSERT_EQ(copy.GetSerialList().size(), 3u);
  EXPECT_EQ(copy.GetSerialCount(), 3);
  EXPECT_NE(copy.GetMesh()->GetContours(), nullptr);
  ASSERT_NE(copy.GetCurrentResult(), nullptr);
  EXPECT_EQ(copy.GetCurrentResult(), &copy.GetMesh()->GetRepPoint(2, 0)->GetChild(0));
  EXPECT_EQ(copy.kind, kArcSetPass1);
  EXPECT_TRUE(copy.IsSame(*source));

  // Nothing of the copy lives in the source.
  source.reset();
  EXPECT_EQ(copy.GetMinFs(0), 1.1);
  EXPECT_EQ(copy.GetCurrentResult()->GetId(), 2);
  copy.SortSerial({10, 0});
  EXPECT_EQ(Ids(copy), (std::vector<int>{1, 0, 2}));
}

TEST(ResStabTest, CopyingAResultWithoutMeshFreesTheMeshButKeepsTheSpecifiedResults) {
  CResStab filled;
  Fill(filled, {{1.2}, {1.1}});
  filled.SetCurrentResult(filled.GetSerialList()[0]);
  CResStab specified;
  specified.specifKind = 1;
  specified.knownResults[0].Fs = 1.05;
  specified.sliceResults[1][CResCircle::kSliceFs] = 0.95;
  filled.Copy(specified);
  EXPECT_EQ(filled.GetMesh(), nullptr);
  EXPECT_TRUE(filled.GetSerialList().empty());
  EXPECT_EQ(filled.GetCurrentResult(), nullptr);
  EXPECT_EQ(filled.GetSpecifFs(0), 1.05);
  EXPECT_EQ(filled.sliceResults[1][CResCircle::kSliceFs], 0.95);
  filled.Copy(filled);
  EXPECT_EQ(filled.GetSpecifFs(0), 1.05);
}

TEST(ResStabTest, CopyOverAFilledResultReplacesItsPoints) {
  CResStab target;
  Fill(target, {{2.0}, {2.1}, {2.2}, {2.3}});
  target.SetCurrentResult(target.GetSerialList()[3]);
  CResStab source;
  Fill(source, {{1.2}});
  target.Copy(source);
  ASSERT_EQ(target.GetSerialList().size(), 1u);
  EXPECT_EQ(target.GetCurrentResult(), nullptr);
  EXPECT_EQ(target.GetMinFs(0), 1.2);
}

// ---- Drawing on the section ----

class ResStabDrawTest : public testing::Test {
 protected:
  void SetUp() override { AttachTestView(view, canvas, 10, 150, 150); }

  // The pen colours of the primitives drawn, runs of one colour merged.
  std::vector<std::uint32_t> PenColours() const {
    std::vector<std::uint32_t> colours;
    for (const DrawnPrimitive& p : canvas.Primitives()) {
      if (colours.empty() || colours.back() != p.state.pen.color.ref) {
        colours.push_back(p.state.pen.color.ref);
      }
    }
    return colours;
  }

  RecordingCanvas canvas;
  CViewInfo view;
  CResStab res;
};

TEST_F(ResStabDrawTest, AllCirclesInTheColourOfTheirFs) {
  Fill(res, {{0.7, 1.2}, {1.2, 0.7}, {0.7, 1.2}});
  const std::uint32_t red = res.GetKey().GetColor(0.7).ref;
  const std::uint32_t blue = res.GetKey().GetColor(1.2).ref;
  ASSERT_NE(red, blue);
  struct Case {
    int allCircles;
    int contourCase;
    int column;
    std::vector<std::uint32_t> colours;
  };
  const Case cases[] = {
      {0, 0, -1, {}},
      {1, 0, -1, {red, blue, red}},
      {1, 1, -1, {blue, red, blue}},  // the key's contour case
      {1, 0, 1, {blue, red, blue}},
      {1, 1, 0, {red, blue, red}},
  };
  for (const Case& c : cases) {
    canvas.Clear();
    res.GetKey().Data().allCircles = c.allCircles;
    res.GetKey().Data().contourCase = c.contourCase;
    res.DrawAllSlide(&view, c.column);
    EXPECT_EQ(PenColours(), c.colours) << c.allCircles << " " << c.contourCase << " " << c.column;
  }
}

TEST_F(ResStabDrawTest, DisplacementsBeyondTheLimitInRed) {
  Fill(res, {{1.0}, {1.0}, {1.0}});
  const double displacements[] = {0.6, 0.4, 0.5};
  for (std::size_t i = 0; i < 3; ++i) res.GetSerialList()[i]->SetValue(8, displacements[i]);
  res.DrawAllSlideNewmark(&view, 0.5);
  EXPECT_TRUE(canvas.Primitives().empty());
  res.GetKey().Data().allCircles = 1;
  res.DrawAllSlideNewmark(&view, 0.5);
  EXPECT_EQ(PenColours(),
            (std::vector<std::uint32_t>{Color::Rgb(255, 0, 0).ref, Color::Rgb(0, 0, 255).ref}));
}

// A 3 x 3 mesh whose normal Fs rises to the right and whose seismic Fs rises upwards.
void FillField(CResStab& res) {
  auto mesh = std::make_unique<CRepMesh>(3, 3);
  for (int i = 0; i < 3; ++i) {
    for (int j = 0; j < 3; ++j) {
      auto node = std::make_unique<CRepPoint>();
      node->SetCenter(CDPoint(i, j));
      auto circle = Circle({0.8 + 0.1 * i, 0.8 + 0.1 * j}, 3 * i + j);
      circle->SetCenter(node->GetCenter());
      node->AddChild(std::move(circle));
      mesh->SetRepPoint(i, j, std::move(node));
    }
  }
  res.GetKey().Data().normalGroup = res.GetKey().Data().seismicGroup = 1;
  res.GetKey().Data().paint = 0;
  res.GetKey().Data().fsPitch = 0.05;
  res.SetMesh(std::move(mesh));
  res.SerialResult();
  res.RemakeContour();
}

// The end points of the contour lines drawn.
std::vector<std::vector<DevPoint>> ContourLines(const RecordingCanvas& canvas) {
  return DrawnPoints(canvas, PrimitiveKind::Polyline);
}

TEST_F(ResStabDrawTest, TheContourOfAnotherColumnIsDrawnAndTheKeysOwnRebuilt) {
  FillField(res);
  res.GetKey().Data().labels = 0;
  res.DrawContour(&view, -1);
  const auto normal = ContourLines(canvas);
  ASSERT_FALSE(normal.empty());
  // The normal case's lines run up and down, the seismic case's across.
  EXPECT_EQ(normal[0][0].x, normal[0][1].x);

  canvas.Clear();
  res.DrawContour(&view, 1);
  const auto seismic = ContourLines(canvas);
  ASSERT_FALSE(seismic.empty());
  EXPECT_EQ(seismic[0][0].y, seismic[0][1].y);
  EXPECT_EQ(res.GetKey().Data().contourCase, 0);

  canvas.Clear();
  res.DrawContour(&view, 0);
  EXPECT_EQ(ContourLines(canvas), normal);
}

TEST_F(ResStabDrawTest, TheTwoPointSetDrawsLabelsButNoLines) {
  FillField(res);
  res.kind = kArcSetPass2;
  res.DrawContour(&view, -1);
  EXPECT_TRUE(ContourLines(canvas).empty());
  EXPECT_EQ(canvas.PrimitivesOf(PrimitiveKind::Text).size(), 9u);
  canvas.Clear();
  CResStab empty;
  empty.DrawContour(&view, 1);
  EXPECT_TRUE(canvas.Primitives().empty());
}

// ---- The scatter graph ----

constexpr DevRect kFrame{0, 0, 500, 400};
constexpr DevRect kPlot{100, 50, 400, 350};
const Color kBackground = Color::Rgb(250, 250, 240);
const Color kNormal = Color::Rgb(1, 1, 1);
const Color kBeyond = Color::Rgb(2, 2, 2);
const Color kExtreme = Color::Rgb(3, 3, 3);

class ResStabGraphDrawTest : public ResStabDrawTest {
 protected:
  // Fs of the normal case over Fs of the seismic case, both from 0 to 2 at a pitch of 0.5; the
  // allowable normal Fs 1.0. Point 0 is normal, 1 beyond the allowable value, 2 the normal
  // case's extreme (and beyond), 3 the seismic case's extreme.
  void SetUp() override {
    ResStabDrawTest::SetUp();
    Prepare(res);
  }

  static void Prepare(CResStab& res) {
    Fill(res, {{1.5, 1.5}, {0.9, 1.5}, {0.8, 1.2}, {1.6, 1.1}});
    CDrawResGraphSet& g = res.graph;
    g.itemX = 10;
    g.itemY = 16;
    g.autoRange[0] = 0;
    g.minX = g.minY = 0;
    g.maxX = g.maxY = 2;
    g.pitchX = g.pitchY = 0.5;
    g.background = kBackground;
    g.lineColors = {kNormal, kBeyond, kExtreme};
    g.allowMode = 0;
    g.refValues[0] = 1.0;
  }

  // The label of a primitive: what part of the graph it belongs to.
  static std::string Label(const DrawnPrimitive& p) {
    switch (p.kind) {
      case PrimitiveKind::Rectangle:
        return p.state.pen.color == kBackground ? "frame" : "plot";
      case PrimitiveKind::Line:
        return "grid";
      case PrimitiveKind::Text:
        return "text";
      case PrimitiveKind::Ellipse: {
        const auto name = [](Color c) {
          return c == kNormal ? "normal" : c == kBeyond ? "beyond" : "extreme";
        };
        return std::string("marker ") + name(p.state.pen.color) + "/" + name(p.state.brush.color);
      }
      default:
        return "other";
    }
  }

  std::vector<std::string> DrawingOrder() const {
    std::vector<std::string> order;
    for (const DrawnPrimitive& p : canvas.Primitives()) {
      const std::string label = Label(p);
      if (order.empty() || order.back() != label || label.starts_with("marker")) {
        order.push_back(label);
      }
    }
    return order;
  }

  // The marker box of the point at device (x, y): size 1, or 2 for the current result.
  static DevRect Box(int x, int y, int r, int size) {
    return {x - size * r + size, y - size * r + size, x + size * r, y + size * r};
  }
};

TEST_F(ResStabGraphDrawTest, GridThenMarkersByLayerThenTheCurrentResult) {
  res.SetCurrentResult(res.GetSerialList()[0]);
  res.DrawResultSimple(&view, kFrame, kPlot, 0);
  EXPECT_EQ(res.GetPlotArea(), kPlot);
  // The frame, the plot area, ten grid lines with their labels, then the markers.
  std::vector<std::string> expected{"frame", "plot"};
  for (int line = 0; line < 10; ++line) expected.insert(expected.end(), {"grid", "text"});
  expected.insert(expected.end(), {"marker beyond/beyond", "marker beyond/extreme",
                                   "marker normal/extreme", "marker normal/normal"});
  EXPECT_EQ(DrawingOrder(), expected) << canvas.Dump();
  const auto boxes = DrawnRects(canvas, PrimitiveKind::Ellipse);
  ASSERT_EQ(boxes.size(), 4u);
  // Fs (0.9, 1.5) at device (100 + 0.45 * 300, 350 - 0.75 * 300).
  EXPECT_EQ(boxes[0], Box(235, 125, 3, 1));
  EXPECT_EQ(boxes[3], Box(325, 125, 3, 2));
  EXPECT_EQ(canvas.PrimitivesOf(PrimitiveKind::Rectangle)[0].rect, kFrame);
  EXPECT_EQ(canvas.PrimitivesOf(PrimitiveKind::Rectangle)[1].rect, kPlot);
  const auto texts = canvas.PrimitivesOf(PrimitiveKind::Text);
  EXPECT_EQ(texts[0].text, "0.000");
  EXPECT_EQ(texts[1].text, "0.500");
  EXPECT_EQ(texts[10].text, "異常降雨時安全率Fs");
  EXPECT_EQ(texts[11].text, "地震時L1安全率Fs");
  EXPECT_EQ(texts[0].state.font.face, "ＭＳ ゴシック");
  EXPECT_EQ(canvas.PrimitivesOf(PrimitiveKind::Line)[0].state.pen,
            (Pen{PenStyle::Dot, 1, Color::Rgb(160, 160, 160)}));
  // The view's world area took the settings' ranges.
  EXPECT_EQ(view.xmax, 2);
  EXPECT_EQ(view.ymin, 0);
}

TEST_F(ResStabGraphDrawTest, TheCurrentResultInItsLayerWhenNotApart) {
  res.graph.currentApart = 0;
  res.SetCurrentResult(res.GetSerialList()[0]);
  res.DrawResultSimple(&view, kFrame, kPlot, 0);
  const auto markers = canvas.PrimitivesOf(PrimitiveKind::Ellipse);
  ASSERT_EQ(markers.size(), 4u);
  EXPECT_EQ(Label(markers[0]), "marker normal/normal");
  EXPECT_EQ(markers[0].rect, Box(325, 125, 3, 1));
}

TEST_F(ResStabGraphDrawTest, MarkerSizeByModeAndSetting) {
  struct Case {
    int markerSize;
    int mode;
    bool preview;
    int r;
  };
  const Case cases[] = {{0, CViewInfo::kModeDraw, false, 3}, {0, CViewInfo::kModePrint, false, 40},
                        {0, CViewInfo::kModeDraw, true, 40}, {1, CViewInfo::kModePrint, false, 5},
                        {2, CViewInfo::kModeDraw, false, 7}, {2, CViewInfo::kModePrint, false, 80},
                        {2, CViewInfo::kModeWord, false, 7}};
  for (const Case& c : cases) {
    canvas.Clear();
    res.graph.markerSize = c.markerSize;
    view.mode = c.mode;
    view.preview = c.preview;
    res.DrawResultSimple(&view, kFrame, kPlot, 0);
    ASSERT_FALSE(canvas.PrimitivesOf(PrimitiveKind::Ellipse).empty());
    EXPECT_EQ(canvas.PrimitivesOf(PrimitiveKind::Ellipse)[0].rect, Box(325, 125, c.r, 1))
        << c.markerSize << " " << c.mode << " " << c.preview;
  }
}

TEST_F(ResStabGraphDrawTest, NoDataWithoutBoundsItemsOrPoints) {
  struct Case {
    const char* name;
    std::function<void(CResStab&)> change;
    std::size_t markers;
  };
  const Case cases[] = {
      {"as set", [](CResStab&) {}, 4},
      {"x maximum unset", [](CResStab& r) { r.graph.maxX = kNoValue; }, 0},
      {"y minimum unset", [](CResStab& r) { r.graph.minY = kNoValue; }, 0},
      {"no y item", [](CResStab& r) { r.graph.itemY = -1; }, 0},
      {"no results", [](CResStab& r) { r.DeleteResultAll(); }, 0},
      // Points beyond the ranges are left out.
      {"narrow x range", [](CResStab& r) { r.graph.maxX = 1.0; }, 2},
  };
  for (const Case& c : cases) {
    canvas.Clear();
    CResStab changed;
    Prepare(changed);
    c.change(changed);
    changed.DrawResultSimple(&view, kFrame, kPlot, 0);
    EXPECT_EQ(canvas.PrimitivesOf(PrimitiveKind::Ellipse).size(), c.markers) << c.name;
  }
}

TEST_F(ResStabGraphDrawTest, DisplacementGraphClasses) {
  const double displacements[] = {0.2, 0.5, 0.9, 0.1};
  for (std::size_t i = 0; i < 4; ++i) {
    CRepPoint& p = *res.GetSerialList()[i];
    p.SetValue(8, displacements[i]);
    p.SetValue(10, 0.1);                  // Ky at peak
    p.SetValue(11, i == 2 ? -0.1 : 0.1);  // Ky at immediate drop
  }
  res.graph.itemX = 19;
  res.graph.itemY = 19;
  res.graph.refValues[2] = 0.3;  // allowable displacement
  struct Case {
    int flag;
    std::vector<std::string> markers;
  };
  const Case cases[] = {
      // Point 2 is the largest displacement, beyond the allowable one like point 1.
      {0,
       {"marker normal/normal", "marker normal/normal", "marker beyond/beyond",
        "marker beyond/extreme"}},
      // With the flag point 2 does not count: point 1 is the largest.
      {1,
       {"marker normal/normal", "marker normal/normal", "marker beyond/beyond",
        "marker beyond/extreme"}},
  };
  for (const Case& c : cases) {
    canvas.Clear();
    res.DrawResultSimpleNM(&view, kFrame, kPlot, c.flag);
    std::vector<std::string> labels;
    for (const DrawnPrimitive& p : canvas.PrimitivesOf(PrimitiveKind::Ellipse)) {
      labels.push_back(Label(p));
    }
    EXPECT_EQ(labels, c.markers) << c.flag;
  }
  const auto boxes = DrawnRects(canvas, PrimitiveKind::Ellipse);
  // With the flag the extreme one is point 1 at 0.5.
  EXPECT_EQ(boxes[3], Box(175, 275, 3, 1));
}

// ---- Record ----

std::unique_ptr<CResStab> Stored(int version) {
  auto res = std::make_unique<CResStab>();
  FillStored(*res, *res, version);
  return res;
}

std::vector<std::uint8_t> StoredBytes(int version) {
  RecordBytes b;
  ConditionBytes(b, version);
  KeyBytes(b, version);
  StoredResultBytes(b, version);
  return b.Get();
}

// Differs from Stored in every field.
std::unique_ptr<CResStab> Other() {
  auto res = std::make_unique<CResStab>();
  res->kind = kArcSetPass3;
  res->setRadius.rMin = 9;
  res->GetKey().Data().listing = 2;
  res->SetSerialCount(9);
  res->display = {9, 9, 9, 9};
  res->specifKind = 0;
  res->knownResults[1].Fs = 3;
  res->sliceResults[0][0] = 1;
  res->SetMesh(RowMesh({{1.0}, {2.0}}));
  res->SerialResult();
  res->graph.itemX = 16;
  return res;
}

class ResStabRecordTest : public testing::TestWithParam<int> {};

TEST_P(ResStabRecordTest, RecordContract) {
  const int version = GetParam();
  const auto stored = Stored(version);
  const auto loaded = ExpectRecordContract<CResStab>({
      .stored = *stored,
      .version = version,
      .bytes = StoredBytes(version),
      .makeTarget = Other,
  });
  ASSERT_NE(loaded, nullptr);
  // The serial list waits for SerialResult; nothing points into the mesh that was replaced.
  EXPECT_TRUE(loaded->GetSerialList().empty());
  EXPECT_EQ(loaded->GetCurrentResult(), nullptr);
  EXPECT_EQ(loaded->GetMesh() != nullptr, version >= 11);
  // What the version lacks takes its initial value, whatever the target held.
  EXPECT_EQ(loaded->sliceResults[0][0], kNoValue);
  EXPECT_EQ(loaded->sliceResults[1][CResCircle::kSliceFs], version >= 18 ? 1.5 : kNoValue);
  EXPECT_EQ(loaded->knownResults[0].Fs, version >= 12 ? 1.25 : kNoValue);
  EXPECT_EQ(loaded->knownResults[1].Fs, kNoValue);
  EXPECT_EQ(loaded->graph.itemX, version >= 22 ? 10 : -1);
}

INSTANTIATE_TEST_SUITE_P(Versions, ResStabRecordTest,
                         testing::Values(10, 11, 12, 21, kCircleRecordVersion));

// The condition and the slice results store only their newest form, so these older records are
// only read: one display setting before version 6, the slice records of 30 values up to 20.
TEST(ResStabRecordTest, OlderRecordsLoadWhole) {
  for (const int version : {5, 18}) {
    SCOPED_TRACE(version);
    const auto loaded = Other();
    Archive in(StoredBytes(version));
    loaded->Load(in, version);
    EXPECT_EQ(in.Remaining(), 0u);
    Archive newest;
    loaded->Store(newest, kCircleRecordVersion);
    Archive expected;
    Stored(version)->Store(expected, kCircleRecordVersion);
    EXPECT_TRUE(SameBytes(newest.Bytes(), expected.Bytes()));
    EXPECT_EQ(loaded->sliceResults[1][CResCircle::kSliceFs], version >= 18 ? 1.5 : kNoValue);
  }
}

TEST(ResStabRecordTest, SpecifiedResultKindTwoIsReadAsOne) {
  std::vector<std::uint8_t> bytes = StoredBytes(kCircleRecordVersion);
  RecordBytes prefix;
  ConditionBytes(prefix, kCircleRecordVersion);
  KeyBytes(prefix, kCircleRecordVersion);
  const std::size_t at = prefix.Get().size() + 5 * 4;  // serial count and display settings
  ASSERT_EQ(bytes[at], 1);
  bytes[at] = 2;
  Archive in(bytes);
  CResStab res;
  res.Load(in, kCircleRecordVersion);
  EXPECT_EQ(res.specifKind, 1);
}

}  // namespace
