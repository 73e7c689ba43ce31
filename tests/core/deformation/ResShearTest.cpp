#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <limits>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "core/deformation/ResShear.h"
#include "core/geometry/ViewInfo.h"
#include "platform/RecordingCanvas.h"
#include "tests/support/DrawTestUtil.h"
#include "tests/support/RecordBytes.h"
#include "tests/support/RecordContract.h"

namespace {

// A row whose twelve values count up from `first`, so that a value Load misplaces shows.
CShearData Row(double first) {
  CShearData row;
  double v = first;
  for (double* field : {&row.kh, &row.trn, &row.gRatioBefore, &row.gBefore, &row.cumDispBefore,
                        &row.eta, &row.deltaGamma, &row.cumStrain, &row.gRatioAfter, &row.gAfter,
                        &row.dispIncrement, &row.cumDisp}) {
    *field = v;
    v += 0.25;
  }
  return row;
}

// The row's record built by hand: kh, TRN only from version 8, then the ten others.
void AddRow(RecordBytes& bytes, double first, int version) {
  for (int i = 0; i < 12; ++i) {
    if (i == 1 && version < 8) continue;
    bytes.Double(first + 0.25 * i);
  }
}

CResShear Filled(double first) {
  CResShear res;
  res.design = Row(first);
  res.rows = {Row(first + 10), Row(first + 20)};
  res.weight = first + 30;
  res.yieldK = first + 31;
  res.allowStrain = first + 32;
  res.allowDisp = first + 33;
  res.graph.itemX = 3;
  res.graph.itemY = 4;
  res.graph.autoRange = {0, 1, 0};
  res.graph.maxX = first + 40;
  res.graph.maxY = first + 41;
  res.graph.minX = first + 42;
  res.graph.minY = first + 43;
  res.graph.pitchX = first + 44;
  res.graph.pitchY = first + 45;
  res.graph.background = Color::Rgb(1, 2, 3);
  res.graph.lineColors = {Color::Rgb(4, 5, 6), Color::Rgb(7, 8, 9), Color::Rgb(10, 11, 12)};
  return res;
}

std::vector<std::uint8_t> FilledRecord(double first, int version) {
  RecordBytes bytes;
  AddRow(bytes, first, version);
  bytes.Int(2);
  AddRow(bytes, first + 10, version);
  AddRow(bytes, first + 20, version);
  bytes.Double(first + 30).Double(first + 31);
  if (version >= 9) bytes.Double(first + 32);
  bytes.Double(first + 33);
  bytes.Int(3).Int(4).Int(0).Int(1).Int(0);
  for (int i = 40; i <= 45; ++i) bytes.Double(first + i);
  bytes.Color(Color::Rgb(1, 2, 3))
      .Color(Color::Rgb(4, 5, 6))
      .Color(Color::Rgb(7, 8, 9))
      .Color(Color::Rgb(10, 11, 12));
  return bytes.Get();
}

std::vector<std::uint8_t> Newest(const CResShear& res) {
  Archive ar;
  res.Store(ar, 10);
  return ar.Bytes();
}

TEST(ResShearTest, RecordByVersion) {
  const struct {
    int version;
    bool trn;
    bool allowStrain;
  } cases[] = {{10, true, true}, {9, true, true}, {8, true, false}, {7, false, false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.version);
    const auto loaded = ExpectRecordContract<CResShear>({
        .stored = Filled(1.5),
        .version = c.version,
        .bytes = FilledRecord(1.5, c.version),
        .makeTarget = [] { return std::make_unique<CResShear>(Filled(100.0)); },
        .fingerprint = Newest,
    });
    ASSERT_NE(loaded, nullptr);
    // An older record has no tension in its rows and keeps the allowable strain it had.
    EXPECT_EQ(loaded->rows[0].trn, c.trn ? 11.75 : kNoValue);
    EXPECT_EQ(loaded->design.trn, c.trn ? 1.75 : kNoValue);
    EXPECT_EQ(loaded->allowStrain, c.allowStrain ? 33.5 : 132.0);
  }
}

TEST(ResShearTest, RecordWithoutRows) {
  CResShear res;
  RecordBytes bytes;
  for (int i = 0; i < 12; ++i) bytes.Double(kNoValue);
  bytes.Int(0);
  for (int i = 0; i < 4; ++i) bytes.Double(kNoValue);
  bytes.Int(-1).Int(-1).Int(1).Int(1).Int(1);
  for (const double v : {2.0, 500.0, 0.0, 0.0, 0.2, 100.0}) bytes.Double(v);
  bytes.Color(Color::Rgb(255, 255, 255))
      .Color(Color::Rgb(255, 64, 64))
      .Color(Color::Rgb(50, 50, 255))
      .Color(Color::Rgb(200, 230, 64));
  ExpectRecordContract<CResShear>({.stored = res, .version = 10, .bytes = bytes.Get()});
}

TEST(ResShearTest, DamagedRowCountLoadsNothing) {
  for (const int count : {-1, 3, 1'000'000}) {
    SCOPED_TRACE(count);
    RecordBytes bytes;
    AddRow(bytes, 1.5, 10);
    bytes.Int(count);
    AddRow(bytes, 2.5, 10);
    CResShear res = Filled(100.0);
    Archive ar(bytes.Get());
    EXPECT_THROW(res.Load(ar, 10), ArchiveException);
    EXPECT_EQ(Newest(res), Newest(Filled(100.0)));
  }
}

TEST(ResShearTest, InitClearResAndCopy) {
  CResShear res = Filled(1.5);
  res.ClearRes();
  // The allowable strain and the graph settings stay.
  CResShear cleared;
  cleared.allowStrain = 33.5;
  cleared.graph = Filled(1.5).graph;
  EXPECT_EQ(Newest(res), Newest(cleared));

  res.Init();
  EXPECT_EQ(Newest(res), Newest(CResShear()));
  EXPECT_EQ(res.graph.maxX, 2.0);
  EXPECT_EQ(res.graph.maxY, 500.0);
  EXPECT_EQ(res.graph.pitchX, 0.2);
  EXPECT_EQ(res.graph.pitchY, 100.0);

  CResShear copy;
  copy.graph.refValues[2] = 7.0;
  copy.Copy(Filled(1.5));
  EXPECT_EQ(Newest(copy), Newest(Filled(1.5)));
  EXPECT_EQ(copy.graph.refValues[2], 7.0);
}

TEST(ResShearTest, JudgementsOfSetValuesStrictlyBelow) {
  const struct {
    const char* what;
    double value, allowable;
    ShearJudge judge;
  } cases[] = {
      {"below", 49.0, 50.0, ShearJudge::kOk},
      {"equal", 50.0, 50.0, ShearJudge::kOut},
      {"above", 51.0, 50.0, ShearJudge::kOut},
      {"no allowable", 49.0, kNoValue, ShearJudge::kNone},
      {"no value", kNoValue, 50.0, ShearJudge::kNone},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    CShearData row;
    row.cumDisp = c.value;
    row.cumStrain = c.value == kNoValue ? kNoValue : c.value / 1000;
    EXPECT_EQ(row.JudgeDisp(c.allowable), c.judge);
    EXPECT_EQ(row.IsJudge(c.allowable), c.judge == ShearJudge::kOk);
    const double allowStrain = c.allowable == kNoValue ? kNoValue : c.allowable / 1000;
    EXPECT_EQ(row.JudgeHizumi(allowStrain), c.judge);
    EXPECT_EQ(row.IsJudgeHizumi(allowStrain), c.judge == ShearJudge::kOk);

    CResShear res;
    res.design = row;
    res.allowStrain = allowStrain;
    EXPECT_EQ(res.JudgeAss(), c.judge);
    EXPECT_EQ(res.IsAssJudge(), c.judge == ShearJudge::kOk);
  }
}

TEST(ResShearTest, IsResultNeedsTheDesignValuesAndTheYieldCoefficient) {
  CResShear res;
  res.design.cumStrain = 0.01;
  res.design.cumDisp = 15;
  res.yieldK = 1.2;
  EXPECT_TRUE(res.IsResult());
  for (double* field : {&res.design.cumStrain, &res.design.cumDisp, &res.yieldK}) {
    const double kept = *field;
    *field = kNoValue;
    EXPECT_FALSE(res.IsResult());
    *field = kept;
  }
}

TEST(ResShearTest, MaximaSkipWhatCannotBeDrawn) {
  CResShear res;
  EXPECT_EQ(res.GetMaxKh(), kNoValue);
  EXPECT_EQ(res.GetMaxCumDelta(), kNoValue);
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double inf = std::numeric_limits<double>::infinity();
  for (const double disp : {12.0, nan, inf, -inf, 30.0, kNoValue, 7.0}) {
    CShearData row;
    row.kh = disp == 30.0 ? 1.5 : 0.5;
    row.cumDisp = disp;
    res.rows.push_back(row);
  }
  EXPECT_EQ(res.GetMaxKh(), 1.5);
  EXPECT_EQ(res.GetMaxCumDelta(), 30.0);
  res.rows = {CShearData()};
  res.rows[0].cumDisp = -std::numeric_limits<double>::denorm_min();
  EXPECT_EQ(res.GetMaxCumDelta(), kNoValue);
}

// ---- Graph ----

// A 400 x 300 plot area with an inner rectangle 50 in from the left, 10 from the top, 15 from the
// right and 35 from the bottom.
class ResShearGraphTest : public testing::Test {
 protected:
  void SetUp() override { view.dc = &canvas; }

  void Draw() { res.DrawGraph(&view, kPlot, kInner); }

  std::vector<std::string> Texts() const {
    std::vector<std::string> texts;
    for (const DrawnPrimitive& p : canvas.PrimitivesOf(PrimitiveKind::Text)) {
      texts.push_back(p.text);
    }
    return texts;
  }

  static constexpr DevRect kPlot{0, 0, 400, 300};
  static constexpr DevRect kInner{50, 10, 385, 265};
  static constexpr Color kSilver = Color::Rgb(192, 192, 192);
  static constexpr Color kGrey = Color::Rgb(160, 160, 160);
  static constexpr Color kDataBlue = Color::Rgb(0, 0, 128);
  static constexpr Color kDesignRed = Color::Rgb(128, 0, 0);

  RecordingCanvas canvas;
  CViewInfo view;
  CResShear res;
};

TEST_F(ResShearGraphTest, ScreenGridOverTheDefaultRanges) {
  Draw();
  EXPECT_EQ(res.plotRect, kInner);
  EXPECT_EQ(res.axisLimits, (std::array<double, 4>{0.0, 2.0, 0.0, 500.0}));
  const auto frames = canvas.PrimitivesOf(PrimitiveKind::Rectangle);
  ASSERT_GE(frames.size(), 1u);
  EXPECT_EQ(frames[0].rect, kPlot);
  EXPECT_EQ(frames[0].state.pen.color, kSilver);
  const auto fills = canvas.PrimitivesOf(PrimitiveKind::FillRect);
  ASSERT_EQ(fills.size(), 1u);
  EXPECT_EQ(fills[0].rect, kInner);
  EXPECT_EQ(fills[0].fillBrush.color, kSilver);

  int vertical = 0;
  int horizontal = 0;
  for (const DrawnPrimitive& line : canvas.PrimitivesOf(PrimitiveKind::Line)) {
    if (line.state.pen.color != kGrey) continue;
    const DevPoint a = line.points[0];
    const DevPoint b = line.points[1];
    if (a.x == b.x && a.y == 265 && b.y == 10) ++vertical;
    if (a.y == b.y && a.x == 50 && b.x == 385) ++horizontal;
  }
  EXPECT_EQ(vertical, 11);   // 0 to 2.0 every 0.2
  EXPECT_EQ(horizontal, 6);  // 0 to 500 every 100

  std::vector<std::string> texts = Texts();
  const std::vector<std::string> grid(texts.begin(), texts.begin() + 18);
  EXPECT_EQ(grid, (std::vector<std::string>{"0.2", "0.4", "0.6", "0.8", "1.0", "1.2", "1.4", "1.6",
                                            "1.8", "2.0", "100", "200", "300", "400", "500", "0",
                                            "水平震度", "累積せん断変形量(mm)"}));
  const std::vector<std::string> legend(texts.begin() + 18, texts.end());
  EXPECT_EQ(legend, (std::vector<std::string>{"累積せん断", "変形量", "設計水平震度", "許容値"}));
}

TEST_F(ResShearGraphTest, UnsetRangeDrawsTheFrameOnly) {
  for (double* range : {&res.graph.minX, &res.graph.maxX, &res.graph.minY, &res.graph.maxY}) {
    res.Init();
    canvas.Clear();
    *range = kNoValue;
    Draw();
    EXPECT_EQ(canvas.PrimitivesOf(PrimitiveKind::FillRect).size(), 1u);
    EXPECT_TRUE(canvas.PrimitivesOf(PrimitiveKind::Polyline).empty());
    for (const DrawnPrimitive& line : canvas.PrimitivesOf(PrimitiveKind::Line)) {
      // Only the legend's sample lines.
      EXPECT_EQ(line.points[0].y, line.points[1].y);
      EXPECT_LT(line.points[1].x - line.points[0].x, 40);
    }
  }
}

TEST_F(ResShearGraphTest, DataBreaksWhereAValueCannotBeDrawn) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  for (const auto& [kh, disp] : std::vector<std::pair<double, double>>{{0.0, 0.0},
                                                                       {0.4, 100.0},
                                                                       {0.8, kNoValue},
                                                                       {1.0, 200.0},
                                                                       {1.2, 300.0},
                                                                       {1.4, nan},
                                                                       {1.6, 400.0}}) {
    CShearData row;
    row.kh = kh;
    row.cumDisp = disp;
    res.rows.push_back(row);
  }
  res.allowDisp = 200.0;
  res.graph.refValues[3] = 1.0;
  Draw();

  const auto runs = canvas.PrimitivesOf(PrimitiveKind::Polyline);
  ASSERT_EQ(runs.size(), 2u);
  EXPECT_EQ(runs[0].points, (std::vector<DevPoint>{{50, 265}, {117, 214}}));
  EXPECT_EQ(runs[1].points, (std::vector<DevPoint>{{218, 163}, {251, 112}}));
  for (const auto& run : runs) {
    EXPECT_EQ(run.state.pen, (Pen{PenStyle::Solid, 1, kDataBlue}));
    EXPECT_EQ(run.state.clip, kInner);
  }
  const auto lines = canvas.PrimitivesOf(PrimitiveKind::Line);
  const DrawnPrimitive& allow = lines[lines.size() - 2];
  EXPECT_EQ(allow.state.pen, (Pen{PenStyle::Solid, 1, Color::Rgb(255, 0, 0)}));
  EXPECT_EQ(allow.points, (std::vector<DevPoint>{{50, 163}, {385, 163}}));
  const DrawnPrimitive& designLine = lines.back();
  EXPECT_EQ(designLine.state.pen, (Pen{PenStyle::Dot, 1, kDesignRed}));
  EXPECT_EQ(designLine.points, (std::vector<DevPoint>{{218, 265}, {218, 10}}));
}

TEST_F(ResShearGraphTest, LegendSamplesAndWordLayout) {
  view.ModeWord();
  Draw();
  // No screen fills in Word mode; the box is the only rectangle.
  EXPECT_TRUE(canvas.PrimitivesOf(PrimitiveKind::FillRect).empty());
  const auto boxes = canvas.PrimitivesOf(PrimitiveKind::Rectangle);
  ASSERT_EQ(boxes.size(), 1u);
  const DevRect box = boxes[0].rect;
  const std::vector<std::string> texts = Texts();
  EXPECT_EQ(std::vector<std::string>(texts.end() - 3, texts.end()),
            (std::vector<std::string>{"累積せん断変形量", "設計水平震度", "許容値"}));

  std::vector<Pen> samples;
  for (const DrawnPrimitive& line : canvas.PrimitivesOf(PrimitiveKind::Line)) {
    const int length = line.points[1].x - line.points[0].x;
    if (line.points[0].y != line.points[1].y || line.points[0].x < box.left ||
        line.points[1].x > box.right) {
      continue;
    }
    if (line.state.pen.color == kGrey) continue;
    EXPECT_NEAR(length, 0.15 * (box.right - box.left), 1.0);
    samples.push_back(line.state.pen);
  }
  EXPECT_EQ(samples, (std::vector<Pen>{{PenStyle::Solid, 1, kDataBlue},
                                       {PenStyle::Dot, 1, kDesignRed},
                                       {PenStyle::Solid, 1, Color::Rgb(255, 0, 0)}}));
}

}  // namespace
