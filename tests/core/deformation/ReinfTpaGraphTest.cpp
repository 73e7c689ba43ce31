// The graph of the allowable forces per bar on the recording canvas: frame, grid, labels, the
// four series with their legend, and the print layout.

#include <gtest/gtest.h>

#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "core/deformation/ReinfArrange.h"
#include "core/geometry/ViewInfo.h"
#include "platform/RecordingCanvas.h"

namespace {

constexpr int kSet = CReinforce::kSetNormal;

const Color kGrey{0xA0A0A0};
const Color kT1pa{0xFA00C8};
const Color kT2pa{0xFA0000};
const Color kTsa{0x00B400};
const Color kTpa{0x0000FA};

// T1pa, T2pa, Tsa and Tpa of each bar.
struct BarForces {
  double T1pa, T2pa, Tsa, Tpa;
};

CReinfArrange WithForces(const std::vector<BarForces>& forces) {
  CReinfArrange arrange;
  arrange.Create(static_cast<int>(forces.size()));
  for (std::size_t i = 0; i < forces.size(); ++i) {
    CReinforce::Result& r = arrange.GetAt(static_cast<int>(i))->GetResult(kSet);
    r.T1pa = forces[i].T1pa;
    r.T2pa = forces[i].T2pa;
    r.Tsa = forces[i].Tsa;
    r.Tpa = forces[i].Tpa;
  }
  return arrange;
}

std::vector<DevPoint> Ends(const DrawnPrimitive& line) { return line.points; }

// The primitives of a kind drawn with a pen of the colour, in drawing order.
std::vector<DrawnPrimitive> WithPen(const RecordingCanvas& canvas, PrimitiveKind kind,
                                    Color colour) {
  std::vector<DrawnPrimitive> found;
  for (const DrawnPrimitive& p : canvas.PrimitivesOf(kind)) {
    if (p.state.pen.color == colour) found.push_back(p);
  }
  return found;
}

struct PlacedText {
  DevPoint at;
  std::string text;
  friend bool operator==(const PlacedText&, const PlacedText&) = default;
};

std::ostream& operator<<(std::ostream& os, const PlacedText& t) {
  return os << t.text << " at (" << t.at.x << "," << t.at.y << ")";
}

std::vector<PlacedText> Texts(const RecordingCanvas& canvas) {
  std::vector<PlacedText> texts;
  for (const DrawnPrimitive& p : canvas.PrimitivesOf(PrimitiveKind::Text)) {
    texts.push_back({p.points.front(), p.text});
  }
  return texts;
}

// Forces 0..200 across a plot from x 100 to 500, bar positions 0..4 up a plot from y 450 to 50:
// force v lies at x = 100 + 2v and position p at y = 450 - 100p; bar k of 3 lies at p = 3 - k.
class ReinfTpaGraphTest : public testing::Test {
 protected:
  ReinfTpaGraphTest() {
    view_.dc = &canvas_;
    view_.SetArea(0, 4, 200, 0);
  }

  void Draw(CReinfArrange& arrange) { arrange.DrawTpaGraphStart(&view_, kDrawArea, kPlot, kSet); }

  static constexpr DevRect kDrawArea{0, 0, 700, 550};
  static constexpr DevRect kPlot{100, 50, 500, 450};
  RecordingCanvas canvas_;
  CViewInfo view_;
};

TEST_F(ReinfTpaGraphTest, FrameGridLabelsAndTitles) {
  CReinfArrange arrange =
      WithForces({{60, 90, 69.678, 60}, {70, 95, 69.678, 60}, {80, 100, 69.678, 60}});
  Draw(arrange);
  EXPECT_EQ(arrange.GetGraphRect(), kPlot);

  const auto fills = canvas_.PrimitivesOf(PrimitiveKind::FillRect);
  ASSERT_EQ(fills.size(), 1u);
  EXPECT_EQ(fills[0].rect, kDrawArea);
  EXPECT_EQ(fills[0].fillBrush.color, Color::Rgb(255, 255, 255));

  // Dotted grey: every bar position, then every 50 of force.
  std::vector<std::vector<DevPoint>> grid;
  for (const DrawnPrimitive& line : WithPen(canvas_, PrimitiveKind::Line, kGrey)) {
    EXPECT_EQ(line.state.pen.style, PenStyle::Dot);
    grid.push_back(Ends(line));
  }
  const std::vector<std::vector<DevPoint>> expectedGrid = {
      {{100, 350}, {500, 350}}, {{100, 250}, {500, 250}}, {{100, 150}, {500, 150}},
      {{100, 450}, {100, 50}},  {{200, 450}, {200, 50}},  {{300, 450}, {300, 50}},
      {{400, 450}, {400, 50}},  {{500, 450}, {500, 50}}};
  EXPECT_EQ(grid, expectedGrid);

  const auto borders = WithPen(canvas_, PrimitiveKind::Rectangle, Color{0});
  ASSERT_EQ(borders.size(), 1u);
  EXPECT_EQ(borders[0].rect, kPlot);
  EXPECT_EQ(borders[0].state.pen.style, PenStyle::Solid);

  // The first bar is numbered at the top; the labels and titles before the legend's.
  const std::vector<PlacedText> expectedTexts = {
      {{97, 344}, "3"},        {{97, 244}, "2"},
      {{97, 144}, "1"},        {{100, 453}, "0.000"},
      {{200, 453}, "50.000"},  {{300, 453}, "100.000"},
      {{400, 453}, "150.000"}, {{500, 453}, "200.000"},
      {{100, 35}, "補強材No"}, {{300, 468}, "許容補強材力 (Tpa)"},
  };
  const std::vector<PlacedText> texts = Texts(canvas_);
  ASSERT_GE(texts.size(), expectedTexts.size());
  EXPECT_EQ(std::vector<PlacedText>(texts.begin(), texts.begin() + 10), expectedTexts);
  for (const DrawnPrimitive& text : canvas_.PrimitivesOf(PrimitiveKind::Text)) {
    EXPECT_EQ(text.state.font.face, "ＭＳ ゴシック");
    EXPECT_EQ(text.state.font.height, 12);
    EXPECT_EQ(text.state.font.width, 6);
  }
  for (const DrawnPrimitive& p : canvas_.Primitives()) EXPECT_EQ(p.state.clip, kDrawArea) << p;
  EXPECT_EQ(canvas_.ClipRect(), std::nullopt) << "the clip ends with the graph";
}

TEST_F(ReinfTpaGraphTest, TheForceStepFollowsTheUpperLimit) {
  const struct {
    double upper;
    const char* secondLabel;
  } cases[] = {{500, "50.000"}, {500.5, "100.000"}, {1000, "100.000"}, {1000.001, "200.000"}};
  CReinfArrange arrange = WithForces({{60, 90, 69.678, 60}});
  for (const auto& c : cases) {
    canvas_.Clear();
    view_.SetArea(0, 2, c.upper, 0);
    Draw(arrange);
    const std::vector<PlacedText> texts = Texts(canvas_);
    // One bar label, then the force labels.
    ASSERT_GE(texts.size(), 3u);
    EXPECT_EQ(texts[1].text, "0.000") << c.upper;
    EXPECT_EQ(texts[2].text, c.secondLabel) << c.upper;
  }
}

TEST_F(ReinfTpaGraphTest, SeriesJoinPositiveValuesOfConsecutiveBarsAfterTheirLegend) {
  CReinfArrange arrange =
      WithForces({{60, 90, 69.678, 60}, {70, kNoValue, 69.678, 0}, {80, 100, 69.678, 80}});
  Draw(arrange);

  // A legend row: a 20-unit line 15 units right of the plot, a marker on its middle.
  const auto legendLine = [](int above) {
    return std::vector<DevPoint>{{515, 450 - above}, {535, 450 - above}};
  };
  const auto circle = [](int x, int y) { return DevRect{x - 2, y - 2, x + 3, y + 3}; };
  const struct {
    const char* name;
    Color colour;
    std::vector<std::vector<DevPoint>> lines;
    std::vector<DevRect> circles;
  } series[] = {
      {"T1pa",
       kT1pa,
       {legendLine(85), {{220, 150}, {240, 250}}, {{240, 250}, {260, 350}}},
       {circle(525, 365), circle(220, 150), circle(240, 250), circle(260, 350)}},
      {"T2pa", kT2pa, {legendLine(70)}, {circle(525, 380), circle(280, 150), circle(300, 350)}},
      {"Tsa",
       kTsa,
       {legendLine(55), {{239, 150}, {239, 250}}, {{239, 250}, {239, 350}}},
       {circle(525, 395), circle(239, 150), circle(239, 250), circle(239, 350)}},
  };
  for (const auto& s : series) {
    SCOPED_TRACE(s.name);
    std::vector<std::vector<DevPoint>> lines;
    for (const DrawnPrimitive& line : WithPen(canvas_, PrimitiveKind::Line, s.colour)) {
      lines.push_back(Ends(line));
    }
    EXPECT_EQ(lines, s.lines);
    std::vector<DevRect> circles;
    for (const DrawnPrimitive& c : WithPen(canvas_, PrimitiveKind::Ellipse, s.colour)) {
      circles.push_back(c.rect);
      EXPECT_EQ(c.state.brush, (Brush{BrushStyle::Solid, s.colour}));
    }
    EXPECT_EQ(circles, s.circles);
  }

  // Tpa: hollow squares only, none for the bar whose Tpa is 0.
  EXPECT_TRUE(WithPen(canvas_, PrimitiveKind::Line, kTpa).empty());
  std::vector<DevRect> squares;
  for (const DrawnPrimitive& sq : WithPen(canvas_, PrimitiveKind::Rectangle, kTpa)) {
    squares.push_back(sq.rect);
    EXPECT_EQ(sq.state.brush.style, BrushStyle::Null);
  }
  EXPECT_EQ(squares, (std::vector<DevRect>{
                         {520, 405, 531, 416}, {215, 145, 226, 156}, {255, 345, 266, 356}}));

  const std::vector<PlacedText> texts = Texts(canvas_);
  const std::vector<PlacedText> legend(texts.end() - 4, texts.end());
  EXPECT_EQ(
      legend,
      (std::vector<PlacedText>{
          {{540, 359}, "T1pa"}, {{540, 374}, "T2pa"}, {{540, 389}, "Tsa"}, {{540, 404}, "Tpa"}}));
}

TEST_F(ReinfTpaGraphTest, ASingleBarShowsFrameAndLegendButNoMarkers) {
  CReinfArrange arrange = WithForces({{60, 90, 69.678, 60}});
  view_.SetArea(0, 2, 200, 0);
  Draw(arrange);
  // The legend's three circles and its square beside the border.
  EXPECT_EQ(canvas_.PrimitivesOf(PrimitiveKind::Ellipse).size(), 3u);
  EXPECT_EQ(canvas_.PrimitivesOf(PrimitiveKind::Rectangle).size(), 2u);
  EXPECT_EQ(WithPen(canvas_, PrimitiveKind::Line, kT1pa).size(), 1u);
}

TEST_F(ReinfTpaGraphTest, WithoutAUsableAreaOnlyTheBorderTitlesAndLegend) {
  CReinfArrange arrange = WithForces({{60, 90, 69.678, 60}, {70, 95, 69.678, 60}});
  view_.SetArea(0, 3, 0, 0);
  Draw(arrange);
  EXPECT_TRUE(WithPen(canvas_, PrimitiveKind::Line, kGrey).empty());
  EXPECT_EQ(canvas_.PrimitivesOf(PrimitiveKind::Ellipse).size(), 3u);
  EXPECT_EQ(Texts(canvas_).size(), 2u + 4u);
}

TEST(ReinfTpaGraphPrintTest, ThePrinterMirrorsTheOffsetsAndScalesTextsAndMarkers) {
  RecordingCanvas canvas(CanvasSetup{.yUp = true});
  CViewInfo view;
  view.dc = &canvas;
  view.ModePrint();
  view.SetArea(0, 3, 200, 0);
  // y grows upward: the plot's top edge has the larger y.
  const DevRect plot{1000, 3500, 5000, 500};
  const DevRect drawArea{0, 4000, 7000, 0};
  CReinfArrange arrange = WithForces({{60, 90, 69.678, 60}, {80, 100, 69.678, 80}});
  arrange.DrawTpaGraphStart(&view, drawArea, plot, kSet);

  EXPECT_TRUE(canvas.PrimitivesOf(PrimitiveKind::FillRect).empty()) << "no fill on paper";
  // Force v at x = 1000 + 20v, position p at y = 500 + 1000p; bar 0 at p = 2, bar 1 at p = 1.
  const std::vector<PlacedText> texts = Texts(canvas);
  ASSERT_GE(texts.size(), 2u);
  EXPECT_EQ(texts[0], (PlacedText{{970, 1560}, "2"}));
  EXPECT_EQ(texts[2], (PlacedText{{1000, 470}, "0.000"}));
  EXPECT_EQ(texts[texts.size() - 4], (PlacedText{{5000 + 150 + 250, 500 + 850 + 60}, "T1pa"}));
  EXPECT_EQ(canvas.PrimitivesOf(PrimitiveKind::Text).front().state.font.height, 120);

  const auto circles = WithPen(canvas, PrimitiveKind::Ellipse, kT1pa);
  ASSERT_EQ(circles.size(), 3u);
  EXPECT_EQ(circles[0].rect, (DevRect{5250 - 39, 1350 - 39, 5250 + 40, 1350 + 40}));
  EXPECT_EQ(circles[1].rect, (DevRect{2200 - 39, 2500 - 39, 2200 + 40, 2500 + 40}));
  const auto squares = WithPen(canvas, PrimitiveKind::Rectangle, kTpa);
  ASSERT_EQ(squares.size(), 3u);
  EXPECT_EQ(squares[1].rect, (DevRect{2200 - 59, 2500 - 59, 2200 + 60, 2500 + 60}));
}

}  // namespace
