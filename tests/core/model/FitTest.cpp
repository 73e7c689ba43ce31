#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "core/geometry/ViewInfo.h"
#include "core/model/Fit.h"
#include "platform/Archive.h"
#include "platform/RecordingCanvas.h"
#include "tests/support/DrawTestUtil.h"
#include "tests/support/RecordBytes.h"
#include "tests/support/RecordContract.h"

namespace {

// G/G0 of the curve with coefficients b and c.
double Curve(double b, double c, double strain) { return 1.0 / (1.0 + b * std::pow(strain, c)); }

// Test points on the curve of b and c at the given strains, in the first rows.
CFit TestPoints(double b, double c, const std::vector<double>& strains) {
  CFit fit;
  fit.mode = CFit::kModeTestValues;
  for (std::size_t i = 0; i < strains.size(); ++i) {
    fit.points[i].strain = strains[i];
    fit.points[i].measured = Curve(b, c, strains[i]);
  }
  return fit;
}

const std::vector<double> kStrains{1e-5, 5e-5, 1e-4, 5e-4, 1e-3, 5e-3, 1e-2, 5e-2};

// Every stored field: mode, coefficients, count and points.
bool SameFit(const CFit& a, const CFit& b) {
  if (!a.IsSame(b) || a.GetCount() != b.GetCount()) return false;
  for (std::size_t i = 0; i < a.points.size(); ++i) {
    if (!a.points[i].IsSame(b.points[i])) return false;
  }
  return true;
}

bool HasAtMostFiveDecimals(double v) { return std::fabs(v * 1e5 - std::round(v * 1e5)) < 1e-6; }

TEST(FitTest, NewFitHasEnteredModeAndTheDefaultGraph) {
  const CFit fit;
  EXPECT_EQ(fit.mode, CFit::kModeCoefficients);
  EXPECT_EQ(fit.b, kNoValue);
  EXPECT_EQ(fit.c, kNoValue);
  EXPECT_EQ(fit.GetCount(), 0);
  for (const CFitData& p : fit.points) EXPECT_TRUE(p.IsSame(CFitData()));
  EXPECT_EQ(fit.graph.minX, -6.0);
  EXPECT_EQ(fit.graph.maxX, 0.0);
  EXPECT_EQ(fit.graph.minY, 0.0);
  EXPECT_EQ(fit.graph.maxY, 1.0);
  EXPECT_EQ(fit.graph.pitchX, 0.1);
  EXPECT_EQ(fit.graph.pitchY, 0.2);
}

TEST(FitTest, WhatACalculationNeeds) {
  CFit fit;
  EXPECT_FALSE(fit.IsValidFitCalc());
  fit.b = 10;
  EXPECT_FALSE(fit.IsValidFitCalc());
  fit.c = 0.5;
  EXPECT_TRUE(fit.IsValidFitCalc());
  fit.mode = 2;
  EXPECT_FALSE(fit.IsValidFitCalc());

  fit.mode = CFit::kModeTestValues;
  EXPECT_FALSE(fit.IsValidFitCalc());
  fit.points[3] = {1e-3, 0.5, kNoValue};
  fit.points[7] = {1e-2, kNoValue, kNoValue};  // no measured value: not a test point
  EXPECT_EQ(fit.GetSikenListSize(), 1);
  EXPECT_FALSE(fit.IsValidFitCalc());
  fit.points[9] = {1e-2, 0.3, kNoValue};
  EXPECT_EQ(fit.GetSikenListSize(), 2);
  EXPECT_TRUE(fit.IsValidFitCalc());
}

// ---- Entered coefficients ----

TEST(FitTest, EnteredCoefficientsAreTabulatedAtTwentyFourStrains) {
  CFit fit;
  fit.b = 150.0;
  fit.c = 0.9;
  fit.points[0] = {0.3, 0.4, 0.5};
  fit.points[29] = {0.3, 0.4, 0.5};
  fit.graph.minX = -4;
  fit.CalcFit();

  const double strains[] = {1e-6, 2e-6, 5e-6, 7e-6, 1e-5, 2e-5, 5e-5, 7e-5, 1e-4, 2e-4, 5e-4, 7e-4,
                            1e-3, 2e-3, 5e-3, 7e-3, 1e-2, 2e-2, 5e-2, 7e-2, 0.1,  0.2,  0.5,  0.7};
  for (std::size_t i = 0; i < 24; ++i) {
    EXPECT_EQ(fit.points[i].strain, strains[i]) << i;
    EXPECT_EQ(fit.points[i].measured, kNoValue) << i;
    EXPECT_DOUBLE_EQ(fit.points[i].fitted, Curve(150.0, 0.9, strains[i])) << i;
  }
  for (std::size_t i = 24; i < 30; ++i) EXPECT_TRUE(fit.points[i].IsSame(CFitData())) << i;
  EXPECT_EQ(fit.GetCount(), 0);
  // The graph ranges keep their values.
  EXPECT_EQ(fit.graph.minX, -4.0);
  EXPECT_EQ(fit.graph.maxX, 0.0);
  EXPECT_EQ(fit.graph.maxY, 1.0);
}

TEST(FitTest, EnteredCurveIsDrawnEveryTenthOfADecade) {
  CFit fit;
  fit.b = 150.0;
  fit.c = 0.9;
  const std::vector<CFitData> list = fit.GetFitDataList();
  ASSERT_EQ(list.size(), 61u);
  EXPECT_DOUBLE_EQ(list.front().strain, 1e-6);
  EXPECT_NEAR(list.back().strain, 1.0, 1e-12);
  EXPECT_NEAR(list[10].strain, 1e-5, 1e-18);
  for (const CFitData& p : list) {
    EXPECT_EQ(p.measured, kNoValue);
    EXPECT_DOUBLE_EQ(p.fitted, Curve(150.0, 0.9, p.strain));
  }

  fit.graph.maxX = kNoValue;
  EXPECT_TRUE(fit.GetFitDataList().empty());
  fit.graph.maxX = 0.0;
  fit.graph.minX = -1e300;
  EXPECT_TRUE(fit.GetFitDataList().empty());
}

// ---- Fitting test values ----

TEST(FitTest, FitRecoversTheCoefficientsOfTheTestData) {
  struct Case {
    double b;
    double c;
  };
  // Exponents below, near and above the search's start at 1.
  const Case cases[] = {{150.0, 0.9}, {12.5, 0.45}, {3000.0, 1.3}};
  for (const Case& k : cases) {
    CFit fit = TestPoints(k.b, k.c, kStrains);
    fit.CalcFit();
    EXPECT_NEAR(fit.b, k.b, 2e-5) << k.b << " " << k.c;
    EXPECT_NEAR(fit.c, k.c, 2e-5) << k.b << " " << k.c;
    EXPECT_TRUE(HasAtMostFiveDecimals(fit.b)) << fit.b;
    EXPECT_TRUE(HasAtMostFiveDecimals(fit.c)) << fit.c;
    EXPECT_EQ(fit.GetCount(), static_cast<int>(kStrains.size()));
    for (std::size_t i = 0; i < kStrains.size(); ++i) {
      EXPECT_DOUBLE_EQ(fit.points[i].fitted, Curve(fit.b, fit.c, kStrains[i])) << i;
    }
  }
}

TEST(FitTest, TwoTestPointsAreEnoughForAFit) {
  CFit fit = TestPoints(150.0, 0.9, {1e-4, 1e-2});
  fit.CalcFit();
  EXPECT_NEAR(fit.b, 150.0, 2e-5);
  EXPECT_NEAR(fit.c, 0.9, 2e-5);
  EXPECT_EQ(fit.GetCount(), 2);
}

TEST(FitTest, OneTestPointLeavesTheFitUnchanged) {
  CFit fit = TestPoints(150.0, 0.9, {1e-3});
  fit.b = 7.0;
  fit.c = 0.7;
  fit.points[0].fitted = 0.25;
  const CFit before = fit;
  fit.CalcFit();
  EXPECT_TRUE(SameFit(fit, before));
  EXPECT_EQ(fit.graph.maxY, before.graph.maxY);
}

TEST(FitTest, PointsWithoutALogarithmOrAZeroValueGiveNoCandidate) {
  CFit fit = TestPoints(150.0, 0.9, kStrains);
  fit.points[10] = {0.0, 0.7, kNoValue};    // strain 0
  fit.points[11] = {1e-3, 0.0, kNoValue};   // measured 0
  fit.points[12] = {-1e-3, 0.9, kNoValue};  // negative strain
  fit.CalcFit();
  EXPECT_EQ(fit.GetCount(), static_cast<int>(kStrains.size()) + 3);
  EXPECT_TRUE(std::isfinite(fit.b));
  EXPECT_TRUE(std::isfinite(fit.c));
  EXPECT_GT(fit.c, 0.0);
  // The graph's strain range leaves out the strains of 0 and below.
  EXPECT_EQ(fit.graph.minX, -5.0);
  EXPECT_EQ(fit.graph.maxX, -1.0);
  EXPECT_TRUE(std::isfinite(fit.graph.minY));
}

TEST(FitTest, NoUsableCandidateKeepsTheCoefficients) {
  CFit fit;
  fit.mode = CFit::kModeTestValues;
  fit.points[0] = {1e-3, 0.0, kNoValue};
  fit.points[1] = {0.0, 0.5, kNoValue};
  fit.b = 5.0;
  fit.c = 0.5;
  fit.CalcFit();
  EXPECT_EQ(fit.b, 5.0);
  EXPECT_EQ(fit.c, 0.5);
  EXPECT_EQ(fit.GetCount(), 2);
  EXPECT_DOUBLE_EQ(fit.points[0].fitted, Curve(5.0, 0.5, 1e-3));
  EXPECT_DOUBLE_EQ(fit.points[1].fitted, 1.0);
}

TEST(FitTest, FittedValuesStayUnsetWithoutCoefficients) {
  CFit fit;
  fit.mode = CFit::kModeTestValues;
  fit.points[0] = {1e-3, 0.0, 0.4};
  fit.points[1] = {0.0, 0.5, 0.4};
  fit.CalcFit();
  EXPECT_EQ(fit.b, kNoValue);
  EXPECT_EQ(fit.points[0].fitted, kNoValue);
  EXPECT_EQ(fit.points[1].fitted, kNoValue);
  EXPECT_EQ(fit.GetCount(), 2);
}

TEST(FitTest, GraphRangesFollowTheFittedPoints) {
  CFit fit = TestPoints(150.0, 0.9, kStrains);
  fit.CalcFit();
  EXPECT_EQ(fit.graph.pitchX, 1.0);
  EXPECT_EQ(fit.graph.minX, -5.0);
  EXPECT_EQ(fit.graph.maxX, -1.0);
  // G/G0 from about 0.050 to 0.997: a span below 5 is pitched by a sixth rounded to 0.1.
  EXPECT_NEAR(fit.graph.pitchY, 0.2, 1e-12);
  EXPECT_NEAR(fit.graph.maxY, 1.0, 1e-12);
  EXPECT_EQ(fit.graph.minY, 0.0);
}

TEST(FitTest, OneStrainWidensTheStrainRange) {
  CFit fit;
  fit.mode = CFit::kModeTestValues;
  fit.points[0] = {2e-3, 0.5, 0.5};
  fit.points[1] = {2e-3, 0.5, 0.5};
  fit.SetGraphMaxMin();
  // 1e-3 .. 3e-3 in whole decades; G/G0 0.25 .. 0.75 at a pitch of 0.1.
  EXPECT_EQ(fit.graph.minX, -3.0);
  EXPECT_EQ(fit.graph.maxX, -2.0);
  EXPECT_NEAR(fit.graph.pitchY, 0.1, 1e-12);
  EXPECT_NEAR(fit.graph.maxY, 0.8, 1e-12);
  EXPECT_NEAR(fit.graph.minY, 0.2, 1e-12);
}

TEST(FitTest, ClearResForgetsTheFitAndWithAllTheTestValues) {
  CFit fit = TestPoints(150.0, 0.9, kStrains);
  fit.CalcFit();
  fit.ClearRes(false);
  EXPECT_EQ(fit.GetCount(), 0);
  EXPECT_EQ(fit.points[0].fitted, kNoValue);
  EXPECT_EQ(fit.points[0].strain, kStrains[0]);

  fit.ClearRes(true);
  EXPECT_EQ(fit.points[0].strain, kNoValue);
  EXPECT_EQ(fit.points[0].measured, kNoValue);
}

TEST(FitTest, CopyLeavesTheGraphAndIsSameComparesModeAndCoefficients) {
  CFit source = TestPoints(150.0, 0.9, kStrains);
  source.CalcFit();
  CFit target;
  target.graph.maxY = 3.0;
  target.Copy(source);
  EXPECT_TRUE(SameFit(target, source));
  EXPECT_EQ(target.graph.maxY, 3.0);

  target.points[0].measured = 0.1;
  EXPECT_TRUE(target.IsSame(source));
  target.c += 1e-5;
  EXPECT_FALSE(target.IsSame(source));
}

// ---- Record ----

CFit RecordedFit() {
  CFit fit = TestPoints(150.0, 0.9, {1e-3, 1e-2});
  fit.b = 151.5;
  fit.c = 0.89;
  fit.points[0].fitted = 0.75;
  fit.points[1].fitted = 0.25;
  return fit;
}

RecordBytes& AppendPoints(RecordBytes& bytes) {
  bytes.Double(1e-3).Double(Curve(150.0, 0.9, 1e-3)).Double(0.75);
  bytes.Double(1e-2).Double(Curve(150.0, 0.9, 1e-2)).Double(0.25);
  for (int i = 2; i < 30; ++i) bytes.Double(kNoValue).Double(kNoValue).Double(kNoValue);
  return bytes;
}

std::unique_ptr<CFit> OtherFit() {
  auto fit = std::make_unique<CFit>();
  fit->b = 3.0;
  fit->points[5] = {1.0, 2.0, 3.0};
  return fit;
}

TEST(FitTest, RecordOfACurrentDocumentHoldsTheCount) {
  // The count is what the last fit left; here none.
  RecordBytes bytes;
  bytes.Int(1).Double(151.5).Double(0.89).Int(0);
  AppendPoints(bytes);
  ExpectRecordContract<CFit>({.stored = RecordedFit(),
                              .version = 10,
                              .bytes = bytes.Get(),
                              .makeTarget = OtherFit,
                              .same = SameFit});

  CFit fitted = TestPoints(150.0, 0.9, kStrains);
  fitted.CalcFit();
  Archive out;
  fitted.Store(out, 10);
  Archive in(out.Bytes());
  CFit loaded;
  loaded.Load(in, 10);
  EXPECT_EQ(loaded.GetCount(), static_cast<int>(kStrains.size()));
}

TEST(FitTest, RecordBeforeVersionTenHasNoCount) {
  RecordBytes bytes;
  bytes.Int(1).Double(151.5).Double(0.89);
  AppendPoints(bytes);
  ExpectRecordContract<CFit>({.stored = RecordedFit(),
                              .version = 9,
                              .bytes = bytes.Get(),
                              .makeTarget = OtherFit,
                              .same = SameFit});
}

TEST(FitTest, CountOutsideTheTableIsAFormatError) {
  for (const int count : {-1, 31}) {
    RecordBytes bytes;
    bytes.Int(0).Double(1).Double(1).Int(count);
    AppendPoints(bytes);
    Archive in(bytes.Get());
    const auto fit = OtherFit();
    try {
      fit->Load(in, 10);
      ADD_FAILURE() << "count " << count << " was accepted";
    } catch (const ArchiveException& e) {
      EXPECT_EQ(e.GetCause(), ArchiveException::Cause::BadFormat);
    }
    EXPECT_TRUE(SameFit(*fit, *OtherFit()));
  }
}

TEST(FitTest, LoadKeepsTheGraphSettings) {
  RecordBytes bytes;
  bytes.Int(1).Double(151.5).Double(0.89).Int(0);
  AppendPoints(bytes);
  CFit fit;
  fit.graph.maxX = 2.0;
  Archive in(bytes.Get());
  fit.Load(in, 10);
  EXPECT_EQ(fit.graph.maxX, 2.0);
}

// ---- Graph ----

// A 400 x 300 plot area with an inner rectangle 50 in from the left, 10 from the top, 15 from the
// right and 35 from the bottom.
class FitGraphTest : public testing::Test {
 protected:
  void SetUp() override { view.dc = &canvas; }

  void Draw(const CFit& fit) { fit.DrawGraph(&view, kPlot, kInner); }

  std::vector<std::string> Texts() const {
    std::vector<std::string> texts;
    for (const DrawnPrimitive& p : canvas.PrimitivesOf(PrimitiveKind::Text)) {
      texts.push_back(p.text);
    }
    return texts;
  }

  static constexpr DevRect kPlot{0, 0, 400, 300};
  static constexpr DevRect kInner{50, 10, 385, 265};

  RecordingCanvas canvas;
  CViewInfo view;
};

const Color kSilver = Color::Rgb(192, 192, 192);
const Color kGrey = Color::Rgb(160, 160, 160);

TEST_F(FitGraphTest, ScreenGridHasADecadeLineAndLabelFromOneMillionthToOne) {
  CFit fit;
  Draw(fit);

  const auto frames = canvas.PrimitivesOf(PrimitiveKind::Rectangle);
  ASSERT_EQ(frames.size(), 1u);
  EXPECT_EQ(frames[0].rect, kPlot);
  EXPECT_EQ(frames[0].state.pen.color, kSilver);
  EXPECT_EQ(frames[0].state.brush.color, fit.graph.background);
  const auto fills = canvas.PrimitivesOf(PrimitiveKind::FillRect);
  ASSERT_EQ(fills.size(), 1u);
  EXPECT_EQ(fills[0].rect, kInner);
  EXPECT_EQ(fills[0].fillBrush.color, kSilver);

  // Seven decades of 335 pixels over 6 decades; six G/G0 lines from 0 to 1 over 255 pixels.
  std::vector<std::vector<DevPoint>> fullHeight;
  std::vector<std::vector<DevPoint>> fullWidth;
  int ticks = 0;
  for (const DrawnPrimitive& line : canvas.PrimitivesOf(PrimitiveKind::Line)) {
    EXPECT_EQ(line.state.pen.color, kGrey);
    const DevPoint a = line.points[0];
    const DevPoint b = line.points[1];
    if (a.x == b.x && a.y - b.y == 255) fullHeight.push_back(line.points);
    if (a.y == b.y) fullWidth.push_back(line.points);
    if (a.x == b.x && a.y - b.y == 3) ++ticks;
  }
  ASSERT_EQ(fullHeight.size(), 7u);
  EXPECT_EQ(fullHeight.front()[0], (DevPoint{50, 265}));
  EXPECT_EQ(fullHeight.back()[0], (DevPoint{385, 265}));
  EXPECT_EQ(ticks, 6 * 8);
  ASSERT_EQ(fullWidth.size(), 6u);
  EXPECT_EQ(fullWidth.front(), (std::vector<DevPoint>{{50, 265}, {385, 265}}));
  EXPECT_EQ(fullWidth.back(), (std::vector<DevPoint>{{50, 10}, {385, 10}}));

  const std::vector<std::string> expected{"1E-6", "1E-5", "1E-4", "1E-3", "1E-2",
                                          "1E-1", "1E+0", "γ",    "0",    "0.2",
                                          "0.4",  "0.6",  "0.8",  "1.0",  "G/G0"};
  EXPECT_EQ(Texts(), expected);
  const auto texts = canvas.PrimitivesOf(PrimitiveKind::Text);
  EXPECT_EQ(texts.front().state.textAlign, TextAlign::Center | TextAlign::Top);
  EXPECT_EQ(texts.back().state.font.escapement, 900);
  EXPECT_EQ(texts.back().state.font.face, "ＭＳ ゴシック");
}

TEST_F(FitGraphTest, EnteredCurveIsOneDarkBlueLineInsideThePlot) {
  CFit fit;
  fit.b = 150.0;
  fit.c = 0.9;
  Draw(fit);
  const auto curves = canvas.PrimitivesOf(PrimitiveKind::Polyline);
  ASSERT_EQ(curves.size(), 1u);
  EXPECT_EQ(curves[0].points.size(), 61u);
  EXPECT_EQ(curves[0].state.pen.color, Color::Rgb(0, 0, 128));
  EXPECT_EQ(curves[0].state.clip, kInner);
  // Near G/G0 = 1 at the smallest strain, at the left edge.
  EXPECT_EQ(curves[0].points.front().x, 50);
  EXPECT_EQ(curves[0].points.back().x, 385);
  EXPECT_TRUE(canvas.PrimitivesOf(PrimitiveKind::Ellipse).empty());
}

TEST_F(FitGraphTest, TestPointsAreOrangeCirclesFilledWithTheSecondLineColour) {
  CFit fit = TestPoints(150.0, 0.9, {1e-4, 1e-2});
  fit.CalcFit();
  fit.graph.minX = -6.0;
  fit.graph.maxX = 0.0;
  fit.graph.minY = 0.0;
  fit.graph.maxY = 1.0;
  fit.graph.pitchY = 0.2;
  Draw(fit);
  const auto circles = canvas.PrimitivesOf(PrimitiveKind::Ellipse);
  ASSERT_EQ(circles.size(), 2u);
  for (const DrawnPrimitive& circle : circles) {
    EXPECT_EQ(circle.state.pen.color, Color::Rgb(243, 152, 0));
    EXPECT_EQ(circle.state.brush.color, Color::Rgb(50, 50, 255));
    EXPECT_EQ(circle.rect.Width(), 5);
    EXPECT_EQ(circle.state.clip, kInner);
  }
  // Strain 1e-4 is two sixths of the way across.
  const double x = 50 + 335.0 * 2 / 6;
  const double y = 265 - 255.0 * Curve(150.0, 0.9, 1e-4);
  EXPECT_EQ(circles[0].rect.left, static_cast<int>(std::round(x)) - 2);
  EXPECT_EQ(circles[0].rect.top, static_cast<int>(std::round(y)) - 2);
}

TEST_F(FitGraphTest, PointsWithoutALogarithmBreakTheCurve) {
  CFit fit = TestPoints(150.0, 0.9, {1e-4, 1e-3, 0.0, 1e-2, 5e-2});
  fit.CalcFit();
  Draw(fit);
  const auto curves = canvas.PrimitivesOf(PrimitiveKind::Polyline);
  ASSERT_EQ(curves.size(), 2u);
  EXPECT_EQ(curves[0].points.size(), 2u);
  EXPECT_EQ(curves[1].points.size(), 2u);
  EXPECT_EQ(canvas.PrimitivesOf(PrimitiveKind::Ellipse).size(), 4u);
}

TEST_F(FitGraphTest, UnsetRangeDrawsTheFrameOnly) {
  CFit fit;
  fit.b = 150.0;
  fit.c = 0.9;
  fit.graph.maxY = kNoValue;
  Draw(fit);
  EXPECT_EQ(canvas.Primitives().size(), 2u);
  EXPECT_EQ(canvas.PrimitivesOf(PrimitiveKind::Rectangle).size(), 1u);
  EXPECT_EQ(canvas.PrimitivesOf(PrimitiveKind::FillRect).size(), 1u);
}

TEST_F(FitGraphTest, PrintedGraphHasNoBackgroundAndLargerText) {
  CFit fit;
  view.ModePrint();
  Draw(fit);
  EXPECT_TRUE(canvas.PrimitivesOf(PrimitiveKind::Rectangle).empty());
  EXPECT_TRUE(canvas.PrimitivesOf(PrimitiveKind::FillRect).empty());
  const auto texts = canvas.PrimitivesOf(PrimitiveKind::Text);
  ASSERT_FALSE(texts.empty());
  EXPECT_EQ(texts[0].state.font.height, 120);
}

TEST_F(FitGraphTest, FarOffTestPointsStayInTheIntRange) {
  CFit fit = TestPoints(150.0, 0.9, {1e-4, 1e-2});
  fit.points[1].measured = 1e300;
  fit.points[2] = {1e-300, -1e300, kNoValue};
  Draw(fit);
  EXPECT_EQ(canvas.PrimitivesOf(PrimitiveKind::Ellipse).size(), 3u);
}

}  // namespace
