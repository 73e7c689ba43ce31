#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <numbers>
#include <stdexcept>
#include <string>
#include <vector>

#include "core/geometry/DPolyArray.h"
#include "core/geometry/ViewInfo.h"
#include "core/model/Danmen.h"
#include "core/section/SpCrack.h"
#include "core/section/SpGround.h"
#include "core/section/SpLoad.h"
#include "core/section/SpSlide.h"
#include "core/section/SpSlideWork.h"
#include "core/section/SpStratum.h"
#include "core/section/SpWater.h"
#include "platform/RecordingCanvas.h"
#include "tests/support/DrawTestUtil.h"
#include "tests/support/SampleSection.h"

namespace {

constexpr ShapeKind kNoPick = kKindPoly;  // nothing picked

void ResetRubberBand() {
  CDPoly::bMovCap = false;
  CDPoly::ptCap = CDPoint();
}

// A name for the pen a primitive was drawn with, so that a drawing reads as the sequence of the
// shapes it drew: filled stratum blocks, their names, and lines and handles by pen.
std::string Label(const DrawnPrimitive& p) {
  if (p.kind == PrimitiveKind::Polygon) return "block";
  if (p.kind == PrimitiveKind::Text) return "name";
  const Color c = p.state.pen.color;
  std::string name = "other";
  if (c == Color::Rgb(60, 100, 30)) name = "shape";
  if (c == Color::Rgb(90, 60, 40)) name = "stratum line";
  if (c == Color::Rgb(0, 0, 255)) name = "water";
  if (c == Color::Rgb(255, 0, 0)) name = "slide";
  if (c == Color::Rgb(0, 180, 0)) name = "load";
  return name + "/" + std::to_string(p.state.pen.width);
}

// The dotted radii that a bold arc draws belong to the arc and are left out here.
bool IsArcRadius(const DrawnPrimitive& p) {
  return p.kind == PrimitiveKind::Line && p.state.pen.style == PenStyle::Dot;
}

// The labels with runs of equal labels merged: the order in which the shapes were drawn.
std::vector<std::string> DrawingOrder(const RecordingCanvas& canvas) {
  std::vector<std::string> order;
  for (const DrawnPrimitive& p : canvas.Primitives()) {
    if (IsArcRadius(p)) continue;
    const std::string label = Label(p);
    if (order.empty() || order.back() != label) order.push_back(label);
  }
  return order;
}

std::vector<std::string> Texts(const RecordingCanvas& canvas) {
  std::vector<std::string> texts;
  for (const DrawnPrimitive& p : canvas.PrimitivesOf(PrimitiveKind::Text)) texts.push_back(p.text);
  return texts;
}

// The indices, among the handles drawn with the pen colour, of the large ones.
std::vector<int> LargeHandles(const RecordingCanvas& canvas, Color colour) {
  std::vector<int> large;
  int index = 0;
  for (const DrawnPrimitive& p : canvas.PrimitivesOf(PrimitiveKind::Rectangle)) {
    if (p.state.pen.color != colour) continue;
    if (p.rect.right - p.rect.left == 7) large.push_back(index);
    ++index;
  }
  return large;
}

// A vertical distributed load of 10 on the crest, from x1 to x2.
std::unique_ptr<CSpLoad> CrestLoad(const CSpGround& ground, double x1 = 25, double x2 = 29) {
  auto load = std::make_unique<CSpLoad>();
  load->SetX1(x1);
  load->SetX2(x2);
  load->SetQ1(10);
  load->SetQ2(10);
  load->CreateDrawPoly(&ground, 0);
  return load;
}

// Expects the section to point at the sample's six shapes (or, with null, at none).
void ExpectShapes(const CDanmen& section, const SampleSection* sample) {
  EXPECT_EQ(section.GetGround(), sample ? sample->ground.get() : nullptr);
  EXPECT_EQ(section.GetStratumLine(), sample ? sample->strata.get() : nullptr);
  EXPECT_EQ(section.GetWater(), sample ? sample->water.get() : nullptr);
  EXPECT_EQ(section.GetSlide(), sample ? sample->slide.get() : nullptr);
  EXPECT_EQ(section.GetAryLoad(), sample ? sample->loads.get() : nullptr);
  EXPECT_EQ(section.GetCrack(), sample ? sample->crack.get() : nullptr);
}

// The sample section seen on a 400 x 400 device at 10 pixels per metre: world (x, y) is device
// (200 + 10 (x - 15), 200 - 10 (y - 5)).
class DanmenTest : public testing::Test {
 protected:
  void SetUp() override {
    view.dc = &canvas;
    view.SetArea(0, 20, 30, -10);
    view.width = 400;
    view.height = 400;
    view.centreX = 200;
    view.centreY = 200;
    view.CalcScale();
  }

  // Every shape of the section in the order the case draws them.
  void DrawAll(const CDanmen& section) {
    section.Draw(&view);
    section.DrawWater(&view);
    section.DrawSlide(&view);
    section.DrawLoad(&view);
  }

  // A stability section over the sample with its slide line's working surface.
  CDanmenStab StabSection() {
    CDanmenStab stab;
    stab.SendInfo(sample.section);
    return stab;
  }

  SampleSection sample = MakeSampleSection();
  std::unique_ptr<CSpSlideWork> work = sample.slide->CreateDrawObj();
  RecordingCanvas canvas;
  CViewInfo view;
};

// ---- Fields, Init and SendInfo ----

TEST_F(DanmenTest, InitForgetsTheShapesAndThePickButKeepsTheEditMode) {
  CDanmen section = sample.section;
  section.SetEditMode(1);
  section.SetCurShapeKind(kKindWater);
  section.SetCurPointId1(3);
  section.SetCurPointId2(4);

  section.Init();

  ExpectShapes(section, nullptr);
  EXPECT_EQ(section.GetEditMode(), 1);
  EXPECT_EQ(section.GetCurShapeKind(), -1);
  EXPECT_EQ(section.GetCurPointId1(), 0);
  EXPECT_EQ(section.GetCurPointId2(), -1);
}

TEST_F(DanmenTest, CopiesTakeAllFieldsAndSendInfoOnlyTheShapes) {
  CDanmen source = sample.section;
  source.SetEditMode(1);
  source.SetCurShapeKind(kKindSlide);
  source.SetCurPointId1(2);
  source.SetCurPointId2(5);

  const CDanmen copy = source;
  ExpectShapes(copy, &sample);
  EXPECT_EQ(copy.GetEditMode(), 1);
  EXPECT_EQ(copy.GetCurShapeKind(), kKindSlide);
  EXPECT_EQ(copy.GetCurPointId1(), 2);
  EXPECT_EQ(copy.GetCurPointId2(), 5);

  CDanmen target;
  target.SendInfo(source);
  ExpectShapes(target, &sample);
  EXPECT_EQ(target.GetEditMode(), 0);
  EXPECT_EQ(target.GetCurShapeKind(), -1);
  EXPECT_EQ(target.GetCurPointId1(), 0);
  EXPECT_EQ(target.GetCurPointId2(), -1);
}

TEST_F(DanmenTest, StabilityConditionsHaveTheirDefaults) {
  const CDanmenStab stab;
  const tagCALCCONDITION& cond = stab.GetCalcCond();
  EXPECT_EQ(cond.formula, 1);
  EXPECT_EQ(cond.inputResult, 0);
  EXPECT_EQ(cond.specified, 0);
  EXPECT_EQ(cond.kh, kNoValue);
  EXPECT_EQ(cond.gammaW, 10.0);
  EXPECT_EQ(cond.water, 0);
  EXPECT_EQ(cond.extra1, 1);
  EXPECT_EQ(cond.extra2, 2.0);
  EXPECT_EQ(cond.extra3, 2);
  EXPECT_EQ(cond.nu0, 1);
  EXPECT_EQ(cond.plannedFs[0], kNoValue);
  EXPECT_EQ(cond.plannedFs[1], kNoValue);
  EXPECT_EQ(cond.normalOn, 0);
  EXPECT_EQ(cond.quakeOn, 0);
  EXPECT_EQ(cond.bottomElevation, 0);

  EXPECT_EQ(stab.GetKeisanSiki(), 1);
  EXPECT_FALSE(stab.IsInputResult());
  EXPECT_TRUE(stab.IsRepeatCalc());
  EXPECT_EQ(stab.GetKh(), kNoValue);
  EXPECT_EQ(stab.GetGammaW(), 10.0);
  EXPECT_FALSE(stab.IsWater());
  EXPECT_TRUE(stab.IsNU0());
  EXPECT_EQ(stab.GetPFs(0), kNoValue);
  EXPECT_EQ(stab.GetPFs(1), kNoValue);
  EXPECT_THROW(stab.GetPFs(2), std::out_of_range);
  EXPECT_THROW(stab.GetPFs(-1), std::out_of_range);
  EXPECT_EQ(stab.GetCalcMode(), CDanmenStab::kCalcNormal);
  EXPECT_EQ(stab.GetSlideMove(), 0);
  EXPECT_EQ(stab.GetActiveSlide(), nullptr);
}

TEST_F(DanmenTest, ConditionAccessorsReadTheCondition) {
  tagCALCCONDITION cond;
  cond.formula = 0;
  cond.inputResult = 1;
  cond.specified = 1;
  cond.kh = 0.15;
  cond.gammaW = 9.81;
  cond.water = 1;
  cond.nu0 = 0;
  cond.plannedFs = {1.2, 1.0};
  CDanmenStab stab;
  stab.SetCalcCond(cond);

  EXPECT_EQ(stab.GetKeisanSiki(), 0);
  EXPECT_TRUE(stab.IsInputResult());
  EXPECT_FALSE(stab.IsRepeatCalc());
  EXPECT_EQ(stab.GetKh(), 0.15);
  EXPECT_EQ(stab.GetGammaW(), 9.81);
  EXPECT_TRUE(stab.IsWater());
  EXPECT_FALSE(stab.IsNU0());
  EXPECT_EQ(stab.GetPFs(0), 1.2);
  EXPECT_EQ(stab.GetPFs(1), 1.0);
  stab.SetKh(0.25);
  EXPECT_EQ(stab.GetCalcCond().kh, 0.25);
}

TEST_F(DanmenTest, NormalAndSeismicSectionsAnswerOnlyForTheirOwnLoadCase) {
  struct Case {
    int calcMode;
    int normalOn;
    int quakeOn;
    bool isNormal;
    bool isQuake;
  };
  const Case cases[] = {
      {0, 1, 0, true, false},  {0, 0, 1, false, false}, {0, 1, 1, true, false},
      {1, 1, 0, false, false},  // a seismic section is never normal
      {1, 0, 1, false, true},  {1, 1, 1, false, true},  {2, 1, 1, false, false},
  };
  for (const Case& c : cases) {
    tagCALCCONDITION cond;
    cond.normalOn = c.normalOn;
    cond.quakeOn = c.quakeOn;
    CDanmenStab stab;
    stab.SetCalcCond(cond);
    stab.SetCalcMode(c.calcMode);
    EXPECT_EQ(stab.IsNormal(), c.isNormal)
        << "mode " << c.calcMode << " normalOn " << c.normalOn << " quakeOn " << c.quakeOn;
    EXPECT_EQ(stab.IsQuake(), c.isQuake)
        << "mode " << c.calcMode << " normalOn " << c.normalOn << " quakeOn " << c.quakeOn;
  }
}

TEST_F(DanmenTest, ResultsCanBeEnteredOnlyForASpecifiedSurface) {
  struct Case {
    int specified;
    int inputResult;
    bool expected;
  };
  const Case cases[] = {{0, 0, false}, {0, 1, false}, {1, 0, false}, {1, 1, true}, {2, 3, true}};
  for (const Case& c : cases) {
    tagCALCCONDITION cond;
    cond.specified = c.specified;
    cond.inputResult = c.inputResult;
    CDanmenStab stab;
    stab.SetCalcCond(cond);
    EXPECT_EQ(stab.CanInputResult(), c.expected)
        << "specified " << c.specified << " inputResult " << c.inputResult;
  }
}

TEST_F(DanmenTest, TheSearchedCircleIsTheActiveSurfaceWhenSet) {
  CSpSlideWork repeat;
  CDanmenStab stab;
  stab.SetSlideWork(work.get());
  EXPECT_EQ(stab.GetActiveSlide(), work.get());
  stab.SetSlideWorkRepeat(&repeat);
  EXPECT_EQ(stab.GetActiveSlide(), &repeat);
}

TEST_F(DanmenTest, StabilityInitAndSendInfo) {
  CSpSlideWork repeat;
  tagCALCCONDITION cond;
  cond.specified = 1;
  cond.kh = 0.2;
  CDanmenStab source = StabSection();
  source.SetCalcCond(cond);
  source.SetCalcMode(CDanmenStab::kCalcQuake);
  source.SetSlideMove(1.5);
  source.SetSlideWork(work.get());
  source.SetSlideWorkRepeat(&repeat);
  source.SetEditMode(1);

  CDanmenStab target;
  target.SendInfo(source);
  ExpectShapes(target, &sample);
  EXPECT_EQ(target.GetCalcMode(), CDanmenStab::kCalcQuake);
  EXPECT_EQ(target.GetSlideWork(), work.get());
  EXPECT_EQ(target.GetSlideWorkRepeat(), &repeat);
  EXPECT_EQ(target.GetCalcCond().kh, kNoValue);  // the condition is not sent
  EXPECT_EQ(target.GetSlideMove(), 0);
  EXPECT_EQ(target.GetEditMode(), 0);

  const CDanmenStab copy = source;
  EXPECT_EQ(copy.GetCalcCond().kh, 0.2);
  EXPECT_EQ(copy.GetSlideMove(), 1.5);
  EXPECT_EQ(copy.GetCalcMode(), CDanmenStab::kCalcQuake);

  source.Init();
  ExpectShapes(source, nullptr);
  EXPECT_EQ(source.GetEditMode(), 1);
  EXPECT_EQ(source.GetCalcCond().specified, 0);
  EXPECT_EQ(source.GetCalcCond().kh, kNoValue);
  EXPECT_EQ(source.GetCalcMode(), CDanmenStab::kCalcNormal);
  EXPECT_EQ(source.GetSlideMove(), 0);
  EXPECT_EQ(source.GetSlideWork(), nullptr);
  EXPECT_EQ(source.GetSlideWorkRepeat(), nullptr);
}

// ---- Stratum blocks and soil ----

TEST_F(DanmenTest, TheBlockArrayComesFromTheGround) {
  EXPECT_EQ(sample.section.GetTisoBlockArray(), sample.ground->GetPolyArray());
  EXPECT_TRUE(sample.section.IsStratumBlock());

  sample.ground->DeleteStratumBlock();
  EXPECT_EQ(sample.section.GetTisoBlockArray(), nullptr);
  EXPECT_FALSE(sample.section.IsStratumBlock());

  const CDanmen empty;
  EXPECT_EQ(empty.GetTisoBlockArray(), nullptr);
  EXPECT_FALSE(empty.IsStratumBlock());
}

TEST_F(DanmenTest, GetCPhiReadsTheBlockThatHoldsThePoint) {
  struct Case {
    CDPoint p;
    double c;
    double phi;
  };
  const Case cases[] = {
      {{27, 14}, 10, 25},               // topsoil
      {{27, 11.5}, 20, 30},             // weathered rock
      {{15, -5}, 50, 35},               // bedrock
      {{15, 20}, kNoValue, kNoValue},   // in the air
      {{15, -20}, kNoValue, kNoValue},  // under the base level
      {{-5, -1}, kNoValue, kNoValue},   // beyond the section
  };
  for (const Case& k : cases) {
    double c = 0;
    double phi = 0;
    sample.section.GetCPhi(0, k.p, c, phi);
    EXPECT_EQ(c, k.c) << "at " << k.p.x << ", " << k.p.y;
    EXPECT_EQ(phi, k.phi) << "at " << k.p.x << ", " << k.p.y;
  }

  sample.ground->DeleteStratumBlock();
  double c = 0;
  double phi = 0;
  sample.section.GetCPhi(0, CDPoint(27, 14), c, phi);
  EXPECT_EQ(c, kNoValue);
  EXPECT_EQ(phi, kNoValue);
}

// ---- Drawing order ----

TEST_F(DanmenTest, BlockModeDrawsOnlyTheBlocksAndTheirNamesWhateverIsPicked) {
  CDPoly::SetShowHilight(1);
  for (const int kind :
       {kNoPick, kKindGround, kKindStratumLine, kKindSlide, kKindWater, kKindLoad, kKindCrack}) {
    canvas.Clear();
    canvas.SetTextColor(Color::Rgb(1, 2, 3));
    sample.section.SetCurShapeKind(kind);
    sample.section.Draw(&view);
    const std::vector<std::string> expected{"block", "name"};
    EXPECT_EQ(DrawingOrder(canvas), expected) << "picked kind " << kind << "\n" << canvas.Dump();
    EXPECT_EQ(canvas.PrimitivesOf(PrimitiveKind::Polygon).size(), 3u);
    const std::vector<std::string> names{"表土", "風化岩", "基盤岩"};
    EXPECT_EQ(Texts(canvas), names);
    for (const DrawnPrimitive& text : canvas.PrimitivesOf(PrimitiveKind::Text)) {
      EXPECT_EQ(text.state.textColor, Color::Rgb(0, 0, 0));
    }
  }
}

TEST_F(DanmenTest, WholeSectionInBlockModeAndInEditMode) {
  sample.loads->Add(CrestLoad(*sample.ground));
  struct Case {
    const char* name;
    int editMode;
    int highlight;
    int pickedKind;
    std::vector<std::string> order;
  };
  const Case cases[] = {
      {"block mode", 0, 0, kNoPick, {"block", "name", "water/1"}},
      {"block mode, water picked", 0, 1, kKindWater, {"block", "name", "water/1"}},
      // The ground with strata shows its blocks unless it is drawn bold.
      {"edit mode",
       1,
       0,
       kNoPick,
       {"block", "name", "stratum line/1", "water/1", "slide/1", "load/1"}},
      {"edit mode, ground picked",
       1,
       1,
       kKindGround,
       {"shape/2", "stratum line/1", "water/1", "slide/1", "load/1"}},
      // While the highlight switch is on the ground shows its line.
      {"edit mode, stratum line picked",
       1,
       1,
       kKindStratumLine,
       {"shape/1", "stratum line/2", "stratum line/1", "water/1", "slide/1", "load/1"}},
      {"edit mode, water picked",
       1,
       1,
       kKindWater,
       {"shape/1", "stratum line/1", "water/2", "slide/1", "load/1"}},
      {"edit mode, slide picked",
       1,
       1,
       kKindSlide,
       {"shape/1", "stratum line/1", "water/1", "slide/2", "load/1"}},
      {"edit mode, load picked",
       1,
       1,
       kKindLoad,
       {"shape/1", "stratum line/1", "water/1", "slide/1", "load/2"}},
  };
  sample.strata->SetActiveShapeID(0);
  sample.loads->SetActiveShapeID(0);
  for (const Case& c : cases) {
    canvas.Clear();
    CDPoly::SetShowHilight(c.highlight);
    sample.section.SetEditMode(c.editMode);
    sample.section.SetCurShapeKind(c.pickedKind);
    DrawAll(sample.section);
    EXPECT_EQ(DrawingOrder(canvas), c.order) << c.name << "\n" << canvas.Dump();
  }
}

// Without a stratum block the section is not in block mode: the ground and the stratum lines
// are drawn. The ground itself shows its line only while it has no block array at all.
TEST_F(DanmenTest, WithoutStratumBlocksTheLinesAreDrawn) {
  struct Case {
    bool emptyArray;
    std::vector<std::string> order;
  };
  const Case cases[] = {{false, {"shape/1", "stratum line/1"}}, {true, {"stratum line/1"}}};
  for (const Case& c : cases) {
    canvas.Clear();
    sample.ground->SetPolyArray(c.emptyArray ? std::make_unique<CDPolyArray>() : nullptr);
    sample.section.Draw(&view);
    EXPECT_EQ(DrawingOrder(canvas), c.order) << "empty array " << c.emptyArray << "\n"
                                             << canvas.Dump();
  }
}

TEST_F(DanmenTest, ThePickedShapeIsBoldOnlyWithHighlightButAlwaysShowsItsPickedPoints) {
  sample.ground->DeleteStratumBlock();  // so that the ground draws its line and handles
  struct Case {
    int kind;
    Color colour;
    int highlight;
    int from;
    int to;
    int width;
    std::vector<int> large;
  };
  const Color ground = Color::Rgb(60, 100, 30);
  const Color water = Color::Rgb(0, 0, 255);
  const Case cases[] = {
      {kKindGround, ground, 1, 2, -1, 2, {2}},      {kKindGround, ground, 0, 2, -1, 1, {2}},
      {kKindGround, ground, 0, 1, 3, 1, {1, 2, 3}}, {kKindWater, water, 1, 0, -1, 2, {0}},
      {kKindWater, water, 0, 4, -1, 1, {4}},        {kKindWater, water, 0, 2, 4, 1, {2, 3, 4}},
  };
  for (const Case& c : cases) {
    canvas.Clear();
    CDPoly::SetShowHilight(c.highlight);
    sample.section.SetCurShapeKind(c.kind);
    sample.section.SetCurPointId1(c.from);
    sample.section.SetCurPointId2(c.to);
    sample.section.Draw(&view);
    sample.section.DrawWater(&view);
    const std::string trace = "kind " + std::to_string(c.kind) + " highlight " +
                              std::to_string(c.highlight) + " from " + std::to_string(c.from) +
                              " to " + std::to_string(c.to);
    const std::vector<DrawnPrimitive> lines = canvas.PrimitivesOf(PrimitiveKind::Line);
    int widthOfShape = 0;
    for (const DrawnPrimitive& line : lines) {
      if (line.state.pen.color == c.colour) widthOfShape = line.state.pen.width;
    }
    EXPECT_EQ(widthOfShape, c.width) << trace;
    EXPECT_EQ(LargeHandles(canvas, c.colour), c.large) << trace;
  }
}

TEST_F(DanmenTest, StratumLinesAreHighlightedThroughTheirSelection) {
  sample.section.SetEditMode(1);
  sample.section.SetCurShapeKind(kKindStratumLine);
  sample.section.SetCurPointId1(3);
  sample.strata->SetActiveShapeID(1);
  const Color stratum = Color::Rgb(90, 60, 40);
  struct Case {
    int highlight;
    std::vector<std::string> order;
    std::vector<int> large;  // among the handles of both lines, 6 each
  };
  const Case cases[] = {
      {1, {"shape/1", "stratum line/1", "stratum line/2"}, {9}},
      {0, {"block", "name", "stratum line/1"}, {}},
  };
  for (const Case& c : cases) {
    canvas.Clear();
    CDPoly::SetShowHilight(c.highlight);
    sample.section.Draw(&view);
    EXPECT_EQ(DrawingOrder(canvas), c.order) << "highlight " << c.highlight;
    EXPECT_EQ(LargeHandles(canvas, stratum), c.large) << "highlight " << c.highlight;
  }
}

// The points of the primitives drawn with the pen colour.
std::vector<std::vector<DevPoint>> PointsDrawnWith(const RecordingCanvas& canvas, Color colour) {
  std::vector<std::vector<DevPoint>> points;
  for (const DrawnPrimitive& p : canvas.Primitives()) {
    if (p.state.pen.color == colour) points.push_back(p.points);
  }
  return points;
}

TEST_F(DanmenTest, StabilitySectionInBlockModeDrawsTheActiveSurfaceAndTheActingLoads) {
  const Color loadGreen = Color::Rgb(0, 180, 0);
  auto normalOnly = CrestLoad(*sample.ground, 25, 27);
  normalOnly->SetQuakeCaseOn(0);
  auto seismicOnly = CrestLoad(*sample.ground, 27, 29);
  seismicOnly->SetNormalCaseOn(0);
  const CSpLoad* normalLoad = normalOnly.get();
  const CSpLoad* seismicLoad = seismicOnly.get();
  sample.loads->Add(std::move(normalOnly));
  sample.loads->Add(std::move(seismicOnly));

  struct Case {
    int calcMode;
    const CSpLoad* drawn;  // the one load that acts in the section's load case
  };
  const Case cases[] = {
      {CDanmenStab::kCalcNormal, normalLoad}, {CDanmenStab::kCalcQuake, seismicLoad}, {2, nullptr}};
  for (const Case& c : cases) {
    canvas.Clear();
    const Pen before{PenStyle::Dot, 3, Color::Rgb(1, 2, 3)};
    canvas.SelectPen(before);
    CDanmenStab stab = StabSection();
    stab.SetSlideWork(work.get());
    stab.SetCalcMode(c.calcMode);
    DrawAll(stab);

    std::vector<std::string> expected{"block", "name", "water/1", "slide/2"};
    if (c.drawn != nullptr) expected.push_back("load/2");
    EXPECT_EQ(DrawingOrder(canvas), expected) << "mode " << c.calcMode << "\n" << canvas.Dump();
    EXPECT_EQ(canvas.CurrentPen(), before) << "mode " << c.calcMode;
    for (const DrawnPrimitive& arc : canvas.PrimitivesOf(PrimitiveKind::Arc)) {
      EXPECT_EQ(arc.state.pen, (Pen{PenStyle::Solid, 2, Color::Rgb(255, 0, 0)}));
    }
    if (c.drawn == nullptr) continue;
    RecordingCanvas own;
    CViewInfo ownView = view;
    ownView.dc = &own;
    c.drawn->Draw(&ownView, 1, -1, -1);
    EXPECT_EQ(PointsDrawnWith(canvas, loadGreen), PointsDrawnWith(own, loadGreen))
        << "mode " << c.calcMode;
  }
}

// Outside block mode the slide surface is the input section's business, not the stability view's.
TEST_F(DanmenTest, StabilitySectionOutsideBlockModeDrawsTheInputShapesButNoSlide) {
  sample.loads->Add(CrestLoad(*sample.ground));
  CDanmenStab stab = StabSection();
  stab.SetSlideWork(work.get());
  stab.SetEditMode(1);
  DrawAll(stab);
  const std::vector<std::string> expected{"block", "name", "stratum line/1", "water/1", "load/1"};
  EXPECT_EQ(DrawingOrder(canvas), expected) << canvas.Dump();
}

// ---- Mouse feedback ----

TEST_F(DanmenTest, MouseMovesReachOnlyThePickedShape) {
  sample.strata->SetActiveShapeID(1);
  struct Case {
    int kind;
    int selectedLine;
    bool moves;
    CDPoint before;  // the neighbours of vertex 1 of the picked shape
    CDPoint after;
  };
  const Case cases[] = {
      {kKindGround, 1, true, {0, 0}, {12, 5}},
      {kKindStratumLine, 1, true, {0, -5}, {12, 0}},
      {kKindStratumLine, -1, false, {}, {}},
      {kKindStratumLine, 2, false, {}, {}},
      {kKindSlide, 1, true, {21, 12.5}, {6, 0}},
      {kKindWater, 1, true, {0, -1}, {12, 2}},
      {kKindLoad, 1, false, {}, {}},
      {kKindCrack, 1, false, {}, {}},
      {kNoPick, 1, false, {}, {}},
  };
  const CDPoint mouse(10, 10);
  for (const Case& c : cases) {
    canvas.Clear();
    ResetRubberBand();
    sample.strata->SetActiveShapeID(c.selectedLine);
    sample.section.SetCurShapeKind(c.kind);
    sample.section.SetCurPointId1(1);
    sample.section.OnMouseMove(&view, mouse);

    const std::vector<DrawnPrimitive> lines = canvas.PrimitivesOf(PrimitiveKind::Line);
    const std::string trace = "kind " + std::to_string(c.kind);
    if (!c.moves) {
      EXPECT_TRUE(canvas.Primitives().empty()) << trace;
      EXPECT_FALSE(CDPoly::bMovCap) << trace;
      continue;
    }
    ASSERT_EQ(lines.size(), 2u) << trace;
    EXPECT_EQ(lines[0].points[0], view.LPtoDP(c.before)) << trace;
    EXPECT_EQ(lines[1].points[0], view.LPtoDP(c.after)) << trace;
    EXPECT_EQ(lines[0].points[1], view.LPtoDP(mouse)) << trace;
    EXPECT_TRUE(CDPoly::bMovCap) << trace;
  }
}

TEST_F(DanmenTest, ResetMouseMoveReachesOnlyThePickedShape) {
  struct Case {
    int kind;
    bool resets;
  };
  const Case cases[] = {{kKindGround, true}, {kKindStratumLine, true}, {kKindSlide, true},
                        {kKindWater, true},  {kKindLoad, false},       {kKindCrack, false},
                        {kNoPick, false}};
  sample.strata->SetActiveShapeID(0);
  for (const Case& c : cases) {
    CDPoly::bMovCap = true;
    sample.section.SetCurShapeKind(c.kind);
    sample.section.ResetMouseMove();
    EXPECT_EQ(CDPoly::bMovCap, !c.resets) << "kind " << c.kind;
  }
}

// ---- The displaced slide mass ----

TEST_F(DanmenTest, DrawPolygonMoveDrawsNothingWithoutWhatItNeeds) {
  struct Case {
    const char* name;
    int specified;
    double move;
    bool specifiedSurface;
    bool searchedCircle;
    bool strata;
    bool ground;
    BackgroundMode mode;
  };
  const auto T = BackgroundMode::Transparent;
  const auto O = BackgroundMode::Opaque;
  const Case cases[] = {
      {"circle without move", 0, 0.0, true, true, true, true, T},
      {"surface without move", 1, 0.0, true, true, true, true, T},
      {"circle missing", 0, 1.0, true, false, true, true, T},
      {"surface missing", 1, 1.0, false, true, true, true, T},
      {"no strata", 0, 1.0, true, true, false, true, T},
      {"no strata, surface", 1, 1.0, true, true, false, true, T},
      {"no ground", 0, 1.0, true, true, true, false, T},
      {"unknown surface kind", 2, 1.0, true, true, true, true, O},
      {"negative surface kind", -1, 1.0, true, true, true, true, O},
  };
  for (const Case& c : cases) {
    SampleSection own = MakeSampleSection();
    if (!c.strata) own.ground->DeleteStratumBlock();
    tagCALCCONDITION cond;
    cond.specified = c.specified;
    CDanmenStab stab;
    stab.SendInfo(own.section);
    if (!c.ground) stab.SetGround(nullptr);
    stab.SetCalcCond(cond);
    stab.SetSlideMove(c.move);
    if (c.specifiedSurface) stab.SetSlideWork(work.get());
    if (c.searchedCircle) stab.SetSlideWorkRepeat(work.get());

    canvas.Clear();
    canvas.SetBackgroundMode(BackgroundMode::Opaque);
    stab.DrawPolygonMove(&view);
    EXPECT_TRUE(canvas.Primitives().empty()) << c.name << "\n" << canvas.Dump();
    EXPECT_EQ(canvas.CurrentBackgroundMode(), c.mode) << c.name;
  }
}

TEST_F(DanmenTest, ACircleWithoutArcIsNotTurned) {
  CSpSlideWork straight;
  straight.AddNewPoint(CDPoint(6, 0), nullptr, 2);
  straight.AddNewPoint(CDPoint(21, 12.5), nullptr, 2);
  CDanmenStab stab = StabSection();
  stab.SetSlideWorkRepeat(&straight);
  stab.SetSlideMove(1.0);
  stab.DrawPolygonMove(&view);
  EXPECT_TRUE(canvas.Primitives().empty()) << canvas.Dump();
}

// The slide mass and the rest as the view would draw them when the mass moves by nothing.
struct Parts {
  std::unique_ptr<CDPolyArray> outside;
  std::unique_ptr<CDPolyArray> inside;
};

Parts CutAlong(const SampleSection& sample, const CSpSlideWork& surface) {
  const CDPolyArray& blocks = *sample.ground->GetPolyArray();
  return {blocks.CutPolyWithSlide(sample.ground.get(), &surface, 0),
          blocks.CutPolyWithSlide(sample.ground.get(), &surface, 1)};
}

std::vector<std::vector<DevPoint>> Drawn(const CViewInfo& view, const CDPolyArray& blocks) {
  RecordingCanvas own;
  CViewInfo ownView = view;
  ownView.dc = &own;
  blocks.Draw(&ownView, false, -1, -1);
  return DrawnPoints(own, PrimitiveKind::Polygon);
}

// Expects the polygons to be the expected ones, vertex by vertex within a pixel.
void ExpectPolygonsNear(const std::vector<std::vector<DevPoint>>& got,
                        const std::vector<std::vector<DevPoint>>& expected) {
  ASSERT_EQ(got.size(), expected.size());
  for (std::size_t i = 0; i < got.size(); ++i) {
    ASSERT_EQ(got[i].size(), expected[i].size()) << "polygon " << i;
    for (std::size_t k = 0; k < got[i].size(); ++k) {
      EXPECT_NEAR(got[i][k].x, expected[i][k].x, 1) << "polygon " << i << " vertex " << k;
      EXPECT_NEAR(got[i][k].y, expected[i][k].y, 1) << "polygon " << i << " vertex " << k;
    }
  }
}

TEST_F(DanmenTest, ASearchedCircleTurnsTheSlideMassDownTheSlope) {
  const double move = 2.0;
  tagCALCCONDITION cond;
  cond.specified = 0;
  CDanmenStab stab = StabSection();
  stab.SetCalcCond(cond);
  stab.SetSlideWorkRepeat(work.get());
  stab.SetSlideMove(move);
  stab.DrawPolygonMove(&view);

  const Parts parts = CutAlong(sample, *work);
  ASSERT_GT(parts.inside->GetSize(), 0);
  ASSERT_GT(parts.outside->GetSize(), 0);
  const std::vector<std::string> order{"block", "name", "block", "slide/2", "water/1"};
  EXPECT_EQ(DrawingOrder(canvas), order) << canvas.Dump();
  EXPECT_EQ(Texts(canvas).size(), static_cast<std::size_t>(parts.outside->GetSize()));
  EXPECT_EQ(CSpStratumBlock::GetShowTisoName(), 1);

  // The sample's circle: centre and radius of the arc through (21, 12.5), (14, 3) and (6, 0).
  const double cx = 3.897727272727273;
  const double cy = 17.772727272727273;
  const double radius = 17.89663055802903;
  const double angle = -move / radius;  // clockwise: the slope rises to the right
  const auto turned = [&](const CDPoint& p) {
    const double u = p.x - cx;
    const double v = p.y - cy;
    return view.LPtoDP(CDPoint(u * std::cos(angle) - v * std::sin(angle) + cx,
                               u * std::sin(angle) + v * std::cos(angle) + cy));
  };
  std::vector<std::vector<DevPoint>> expected = Drawn(view, *parts.outside);
  for (int i = 0; i < parts.inside->GetSize(); ++i) {
    std::vector<DevPoint> polygon;
    for (const auto& p : parts.inside->GetAt(i)->Points()) polygon.push_back(turned(*p));
    expected.push_back(polygon);
  }
  ExpectPolygonsNear(DrawnPoints(canvas, PrimitiveKind::Polygon), expected);
}

TEST_F(DanmenTest, ASpecifiedSurfaceShiftsTheSlideMassAlongItsBase) {
  const double move = 1.5;
  tagCALCCONDITION cond;
  cond.specified = 1;
  CDanmenStab stab = StabSection();
  stab.SetCalcCond(cond);
  stab.SetSlideWork(work.get());
  stab.SetSlideMove(move);
  stab.DrawPolygonMove(&view);

  const std::vector<std::string> order{"block", "name", "block", "slide/2", "water/1"};
  EXPECT_EQ(DrawingOrder(canvas), order) << canvas.Dump();

  // The base angle at the middle of the first piece (x = 13.5, on the arc), turned down-slope.
  const double cx = 3.897727272727273;
  const double cy = 17.772727272727273;
  const double radius = 17.89663055802903;
  const double x = 13.5;
  const double y = cy - std::sqrt(radius * radius - (x - cx) * (x - cx));
  const double angle = std::atan2(y - cy, x - cx) + std::numbers::pi / 2 - std::numbers::pi;
  const CDPoint shift(move * std::cos(angle), move * std::sin(angle));
  ASSERT_LT(shift.x, 0);
  ASSERT_LT(shift.y, 0);

  const Parts parts = CutAlong(sample, *work);
  std::vector<std::vector<DevPoint>> expected = Drawn(view, *parts.outside);
  for (int i = 0; i < parts.inside->GetSize(); ++i) {
    std::vector<DevPoint> polygon;
    for (const auto& p : parts.inside->GetAt(i)->Points()) {
      polygon.push_back(view.LPtoDP(CDPoint(p->x + shift.x, p->y + shift.y)));
    }
    expected.push_back(polygon);
  }
  ExpectPolygonsNear(DrawnPoints(canvas, PrimitiveKind::Polygon), expected);
}

}  // namespace
