#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "core/base/CoreSettings.h"
#include "core/geometry/DPoly.h"
#include "core/geometry/ViewInfo.h"
#include "core/model/PrmStab.h"
#include "core/section/SpCrack.h"
#include "core/section/SpSlide.h"
#include "platform/Archive.h"
#include "platform/RecordingCanvas.h"
#include "tests/support/DrawTestUtil.h"
#include "tests/support/PolyTestUtil.h"
#include "tests/support/RecordBytes.h"
#include "tests/support/RecordContract.h"
#include "tests/support/SampleSection.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

// The seismic coefficient of M = 7 at D = 10 km, worked out here: Mw = 0.78 M + 1.08, the
// attenuation law for L, then 0.65 * 10^L.
double ExpectedKh() {
  const double mw = 0.78 * 7.0 + 1.08;
  const double r = std::sqrt(10.0 * 10.0 + 7.3 * 7.3);
  const double l = 0.249 * mw - 1.02 - std::log10(r) - 0.00255 * r;
  return 0.65 * std::pow(10.0, l);
}

// ---- The seismic coefficient ----

TEST(PrmStabTest, SeismicCoefficientOfMagnitudeSevenAtTenKilometres) {
  struct Case {
    int round;
    double kh;
    double tolerance;
  };
  const Case cases[] = {{1, 0.198, 1e-12}, {0, 0.198173, 5e-7}};
  for (const Case& c : cases) {
    const ScopedEnableRound rounding(c.round);
    CPrmStab stab;
    stab.magnitude = 7.0;
    stab.distance = 10.0;
    stab.CalcKh();
    EXPECT_NEAR(stab.mw, 6.54, 1e-12);
    EXPECT_DOUBLE_EQ(stab.r, std::sqrt(153.29));
    EXPECT_NEAR(stab.a, ExpectedKh() / 0.65, 1e-15);
    EXPECT_NEAR(stab.khCalc, c.kh, c.tolerance) << "rounding " << c.round;
  }
  const ScopedEnableRound off(0);
  CPrmStab stab;
  stab.magnitude = 7.0;
  stab.distance = 10.0;
  stab.CalcKh();
  EXPECT_DOUBLE_EQ(stab.khCalc, ExpectedKh());
}

TEST(PrmStabTest, WithoutMagnitudeOrDistanceNothingIsDerived) {
  for (const bool withMagnitude : {false, true}) {
    CPrmStab stab;
    stab.magnitude = withMagnitude ? 7.0 : kNoValue;
    stab.distance = withMagnitude ? kNoValue : 10.0;
    stab.mw = stab.r = stab.l = stab.a = stab.khCalc = 1.0;
    stab.CalcKh();
    for (const double v : {stab.mw, stab.r, stab.l, stab.a, stab.khCalc}) EXPECT_EQ(v, kNoValue);
  }
}

TEST(PrmStabTest, IsCalcKhWhenTheEnteredKhIsTheDerivedOne) {
  const ScopedEnableRound rounding(1);
  CPrmStab stab;
  EXPECT_FALSE(stab.IsCalcKh());
  stab.magnitude = 7.0;
  stab.distance = 10.0;
  stab.CalcKh();
  stab.kh = 0.198;
  EXPECT_TRUE(stab.IsCalcKh());
  stab.kh = 0.198 + 0.9e-5;
  EXPECT_TRUE(stab.IsCalcKh());
  stab.kh = 0.198 + 1.1e-5;
  EXPECT_FALSE(stab.IsCalcKh());
  stab.kh = 0.198;
  stab.a = kNoValue;
  EXPECT_FALSE(stab.IsCalcKh());
}

// ---- Validity and the calculation conditions ----

TEST(PrmStabTest, ValidityOfTheLoadCasesAndTheBackAnalysis) {
  struct Case {
    const char* name;
    std::function<void(CPrmStab&)> apply;
    bool valid;
  };
  const Case cases[] = {
      {"nothing entered", [](CPrmStab&) {}, false},
      {"both entered",
       [](CPrmStab& s) {
         s.planFsNormal = 1.2;
         s.kh = 0.2;
       },
       true},
      {"normal case without Fs", [](CPrmStab& s) { s.kh = 0.2; }, false},
      {"normal case off", [](CPrmStab& s) { s.normalOn = 0, s.kh = 0.2; }, true},
      {"seismic case without Kh", [](CPrmStab& s) { s.planFsNormal = 1.2; }, false},
      {"seismic case off", [](CPrmStab& s) { s.planFsNormal = 1.2, s.quakeOn = 0; }, true},
      {"another leading mode", [](CPrmStab& s) { s.leadMode = 3; }, true},
  };
  for (const Case& c : cases) {
    CPrmStab stab;
    c.apply(stab);
    EXPECT_EQ(stab.IsValid(), c.valid) << c.name;
  }

  CPrmStab stab;
  EXPECT_FALSE(stab.IsValidGyaku());
  stab.gyakuOn = 1;
  EXPECT_TRUE(stab.IsValidGyaku());
  stab.assumedFs = kNoValue;
  EXPECT_FALSE(stab.IsValidGyaku());
}

TEST(PrmStabTest, LeadingModeSwitchesBothLoadCasesOff) {
  CPrmStab stab;
  EXPECT_TRUE(stab.IsNormal());
  EXPECT_TRUE(stab.IsQuake());
  stab.leadMode = 1;
  EXPECT_FALSE(stab.IsNormal());
  EXPECT_FALSE(stab.IsQuake());
  stab.leadMode = 0;
  stab.quakeOn = 0;
  EXPECT_TRUE(stab.IsNormal());
  EXPECT_FALSE(stab.IsQuake());
}

TEST(PrmStabTest, SetCondCarriesTheConditionsButNotFormulaAndResultInput) {
  CPrmStab stab;
  EXPECT_EQ(stab.cond.formula, 1);
  EXPECT_EQ(stab.GetSikiName(), "修正Fellenius法");
  stab.cond.formula = 0;
  stab.cond.inputResult = 1;
  EXPECT_EQ(stab.GetSikiName(), "Fellenius法");
  stab.slideMode = 1;
  stab.kh = 0.25;
  stab.gammaW = 9.8;
  stab.waterOn = 1;
  stab.setting1 = 5;
  stab.setting2 = 6.5;
  stab.setting3 = 7;
  stab.nu0 = 0;
  stab.planFsNormal = 1.2;
  stab.planFsQuake = 1.0;
  stab.quakeOn = 0;
  stab.bottomElevation = -12.0;
  stab.SetCond();
  const tagCALCCONDITION& cond = stab.cond;
  EXPECT_EQ(cond.formula, 0);
  EXPECT_EQ(cond.inputResult, 1);
  EXPECT_EQ(cond.specified, 1);
  EXPECT_EQ(cond.kh, 0.25);
  EXPECT_EQ(cond.gammaW, 9.8);
  EXPECT_EQ(cond.water, 1);
  EXPECT_EQ(cond.extra1, 5);
  EXPECT_EQ(cond.extra2, 6.5);
  EXPECT_EQ(cond.extra3, 7);
  EXPECT_EQ(cond.nu0, 0);
  EXPECT_EQ(cond.plannedFs, (std::array<double, 2>{1.2, 1.0}));
  EXPECT_EQ(cond.normalOn, 1);
  EXPECT_EQ(cond.quakeOn, 0);
  EXPECT_EQ(cond.bottomElevation, -12.0);
}

// ---- Copies and comparisons ----

CPrmStab Edited() {
  CPrmStab stab;
  stab.leadMode = 0;
  stab.normalOn = 1;
  stab.quakeOn = 0;
  stab.planFsNormal = 1.2;
  stab.planFsQuake = 1.0;
  stab.kh = 0.198;
  stab.slideMode = 1;
  stab.waterOn = 1;
  stab.gammaW = 9.81;
  stab.setting1 = 3;
  stab.setting2 = 2.5;
  stab.setting3 = 4;
  stab.nu0 = 0;
  stab.magnitude = 7.0;
  stab.distance = 10.0;
  stab.mw = 6.54;
  stab.r = 12.5;
  stab.l = -0.5;
  stab.a = 0.3;
  stab.khCalc = 0.2;
  stab.bottomElevation = -15.0;
  stab.gyakuOn = 1;
  stab.gyakuSetting1 = 2;
  stab.assumedFs = 1.05;
  stab.gyakuSetting2 = 0;
  return stab;
}

TEST(PrmStabTest, CopyTakesTheStoredMembersOnly) {
  CPrmStab target;
  target.cond.formula = 0;
  target.SetEditMode(true);
  target.Copy(Edited());
  EXPECT_TRUE(target.IsSame(Edited()));
  EXPECT_EQ(target.cond.formula, 0);
  EXPECT_EQ(target.cond.kh, kNoValue);
  EXPECT_TRUE(target.GetEditMode());

  CPrmStab assigned;
  assigned = target;
  EXPECT_EQ(assigned.cond.formula, 0);
  EXPECT_TRUE(assigned.GetEditMode());
}

TEST(PrmStabTest, EveryStoredMemberCounts) {
  const CPrmStab base = Edited();
  double CPrmStab::*doubles[] = {&CPrmStab::planFsNormal,
                                 &CPrmStab::planFsQuake,
                                 &CPrmStab::kh,
                                 &CPrmStab::gammaW,
                                 &CPrmStab::setting2,
                                 &CPrmStab::magnitude,
                                 &CPrmStab::distance,
                                 &CPrmStab::mw,
                                 &CPrmStab::r,
                                 &CPrmStab::l,
                                 &CPrmStab::a,
                                 &CPrmStab::khCalc,
                                 &CPrmStab::bottomElevation,
                                 &CPrmStab::assumedFs};
  for (double CPrmStab::*field : doubles) {
    CPrmStab changed = Edited();
    changed.*field += 0.5;
    EXPECT_FALSE(changed.IsSame(base));
    EXPECT_FALSE(changed.IsSameUseCale(base));
  }
  int CPrmStab::*ints[] = {&CPrmStab::leadMode,      &CPrmStab::normalOn,     &CPrmStab::quakeOn,
                           &CPrmStab::slideMode,     &CPrmStab::waterOn,      &CPrmStab::setting1,
                           &CPrmStab::setting3,      &CPrmStab::nu0,          &CPrmStab::gyakuOn,
                           &CPrmStab::gyakuSetting1, &CPrmStab::gyakuSetting2};
  for (int CPrmStab::*field : ints) {
    CPrmStab changed = Edited();
    changed.*field += 1;
    EXPECT_FALSE(changed.IsSame(base));
  }
  CPrmStab editing = Edited();
  editing.SetEditMode(true);
  editing.cond.formula = 0;
  EXPECT_TRUE(editing.IsSame(base));
}

// ---- Record ----

bool SameStab(const CPrmStab& a, const CPrmStab& b) { return a.IsSame(b); }

std::unique_ptr<CPrmStab> Target() {
  auto target = std::make_unique<CPrmStab>();
  target->kh = 0.5;
  return target;
}

TEST(PrmStabTest, RecordOfACurrentDocument) {
  const Bytes bytes = RecordBytes()
                          .Int(0)
                          .Int(1)
                          .Int(0)
                          .Double(1.2)
                          .Double(1.0)
                          .Double(0.198)
                          .Int(1)
                          .Int(1)  // water switch
                          .Double(9.81)
                          .Int(3)
                          .Double(2.5)
                          .Int(4)
                          .Int(0)
                          .Double(7.0)
                          .Double(10.0)
                          .Double(6.54)
                          .Double(12.5)  // R
                          .Double(-0.5)  // L
                          .Double(0.3)
                          .Double(0.2)  // computed Kh
                          .Double(-15.0)
                          .Int(1)
                          .Int(2)
                          .Double(1.05)
                          .Int(0)
                          .Get();
  ExpectRecordContract<CPrmStab>(
      {.stored = Edited(), .version = 10, .bytes = bytes, .makeTarget = Target, .same = SameStab});
}

TEST(PrmStabTest, LoadKeepsTheCalculationConditionsAndEditMode) {
  Archive out;
  Edited().Store(out, 10);
  CPrmStab stab;
  stab.cond.formula = 0;
  stab.SetEditMode(true);
  Archive in(out.Bytes());
  stab.Load(in, 10);
  EXPECT_EQ(stab.cond.formula, 0);
  EXPECT_EQ(stab.cond.kh, kNoValue);
  EXPECT_TRUE(stab.GetEditMode());
}

TEST(PrmStabTest, VersionEightRebuildsRAndLFromMagnitudeAndDistance) {
  const ScopedEnableRound rounding(1);
  const Bytes bytes = RecordBytes()
                          .Int(0)
                          .Int(1)
                          .Int(1)
                          .Double(1.2)
                          .Double(1.0)
                          .Double(0.198)
                          .Int(0)
                          .Int(1)
                          .Double(10.0)
                          .Int(2)
                          .Double(2.0)
                          .Int(2)
                          .Int(1)
                          .Double(7.0)
                          .Double(10.0)
                          .Double(99.0)  // Mw as the file has it
                          .Double(98.0)  // a
                          .Double(97.0)  // computed Kh
                          .Double(-15.0)
                          .Int(1)
                          .Int(2)
                          .Double(1.05)
                          .Int(0)
                          .Get();
  CPrmStab stab;
  Archive in(bytes);
  stab.Load(in, 8);
  EXPECT_EQ(in.Remaining(), 0u);
  EXPECT_EQ(stab.waterOn, 1);
  EXPECT_EQ(stab.bottomElevation, -15.0);
  EXPECT_EQ(stab.assumedFs, 1.05);
  EXPECT_NEAR(stab.mw, 6.54, 1e-12);
  EXPECT_DOUBLE_EQ(stab.r, std::sqrt(153.29));
  EXPECT_NEAR(stab.a, ExpectedKh() / 0.65, 1e-15);
  EXPECT_NEAR(stab.khCalc, 0.198, 1e-12);
}

// Before version 3 the record has no water switch, a dropped 4-byte integer in place of the
// computed Kh and no back-analysis fields.
TEST(PrmStabTest, RecordBeforeVersionThreeWithItsDroppedInteger) {
  const Bytes bytes = RecordBytes()
                          .Int(0)
                          .Int(1)
                          .Int(0)
                          .Double(1.2)
                          .Double(1.0)
                          .Double(0.25)
                          .Int(1)
                          .Double(9.81)
                          .Int(3)
                          .Double(2.5)
                          .Int(4)
                          .Int(0)
                          .Double(kNoValue)
                          .Double(kNoValue)
                          .Double(kNoValue)
                          .Double(kNoValue)
                          .Int(0)  // dropped
                          .Double(-15.0)
                          .Get();
  CPrmStab written;
  written.quakeOn = 0;
  written.planFsNormal = 1.2;
  written.planFsQuake = 1.0;
  written.kh = 0.25;
  written.slideMode = 1;
  written.gammaW = 9.81;
  written.setting1 = 3;
  written.setting2 = 2.5;
  written.setting3 = 4;
  written.nu0 = 0;
  written.bottomElevation = -15.0;
  ExpectRecordContract<CPrmStab>(
      {.stored = written, .version = 2, .bytes = bytes, .makeTarget = Target, .same = SameStab});

  // The fields the record lacks come back at their defaults, whatever the target held.
  CPrmStab loaded = Edited();
  Archive in(bytes);
  loaded.Load(in, 2);
  EXPECT_EQ(loaded.waterOn, 0);
  EXPECT_EQ(loaded.gyakuOn, 0);
  EXPECT_EQ(loaded.gyakuSetting1, 0);
  EXPECT_EQ(loaded.assumedFs, 1.0);
  EXPECT_EQ(loaded.gyakuSetting2, 1);
  EXPECT_EQ(loaded.khCalc, kNoValue);
}

// ---- Drawing ----

class PrmStabDrawTest : public testing::Test {
 protected:
  // The default 30 x 30 area at 10 pixels per unit: world (x, y) is device (10x, 300 - 10y).
  void SetUp() override {
    AttachTestView(view, canvas, 10.0, 150, 150);
    crack.SetActive(1);
    crack.SetDepth(2.0);
  }

  RecordingCanvas canvas;
  CViewInfo view;
  CSpCrack crack;
  std::unique_ptr<CDPoly> shape = MakePoly({{0, 10}, {10, 12}, {20, 12}});
  // Drawn only in slide-surface mode 1.
  std::unique_ptr<CDPoly> slide = MakePoly({{2, 10}, {10, 5}, {18, 12}});
};

TEST_F(PrmStabDrawTest, TheShapeLoweredByTheCrackDepthIsDashed) {
  CPrmStab stab;
  stab.DrawEditInfo(&view, &crack, shape.get(), slide.get());
  const auto lines = canvas.PrimitivesOf(PrimitiveKind::Line);
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0].points, (std::vector<DevPoint>{{0, 220}, {100, 200}}));
  EXPECT_EQ(lines[1].points, (std::vector<DevPoint>{{100, 200}, {200, 200}}));
  for (const DrawnPrimitive& line : lines) {
    EXPECT_EQ(line.state.pen, (Pen{PenStyle::Dash, 1, Color::Rgb(160, 96, 0)}));
  }
  // The shape itself stays where it was.
  EXPECT_EQ(shape->GetAt(0)->y, 10);
  EXPECT_EQ(canvas.CurrentPen(), Pen{});
}

TEST_F(PrmStabDrawTest, WorkingSlideSurfaceModeAddsTheSlideLineInRed) {
  const SampleSection sample = MakeSampleSection();
  CSpSlide::SetTopograph(nullptr);
  CPrmStab stab;
  stab.slideMode = 1;
  crack.SetActive(0);
  stab.DrawEditInfo(&view, &crack, shape.get(), sample.slide.get());
  ASSERT_FALSE(canvas.Primitives().empty());
  for (const DrawnPrimitive& p : canvas.Primitives()) {
    EXPECT_EQ(p.state.pen.color, Color::Rgb(255, 0, 0));
    EXPECT_EQ(p.state.pen.style, PenStyle::Solid);
  }
}

TEST_F(PrmStabDrawTest, NothingWithoutAnActiveCrackOfPositiveDepth) {
  CPrmStab stab;
  crack.SetDepth(0.0);
  stab.DrawEditInfo(&view, &crack, shape.get(), slide.get());
  crack.SetDepth(kNoValue);
  stab.DrawEditInfo(&view, &crack, shape.get(), slide.get());
  stab.DrawEditInfo(&view, nullptr, shape.get(), slide.get());
  EXPECT_TRUE(canvas.Primitives().empty());
}

}  // namespace
