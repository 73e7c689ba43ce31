// The ordinary (Fellenius) method on the classic comparison slope of the slice methods: a 2:1
// slope 40 high from y = 20 at its toe (x = 100) to y = 60 at its crest (x = 180), one soil of
// unit weight 120 with c = 600 and phi = 20 degrees, dry, and the slip circle about (120, 90) of
// radius 80. Its published ordinary-method factor of safety is 1.928; with the base angle at each
// slice's centroid and the arc's own segments the method converges on 1.9277 once the slices are
// narrow. The slice division and the safety factor are tuned for speed; this keeps them honest on
// a section none of the tuning looked at.

#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "core/base/CoreSettings.h"
#include "core/circle/CalcBase.h"
#include "core/circle/SliceList.h"
#include "core/geometry/DPolyArray.h"
#include "core/model/Danmen.h"
#include "core/section/SpGround.h"
#include "core/section/SpSlide.h"
#include "core/section/SpSlideWork.h"
#include "core/section/SpStratum.h"
#include "core/section/StratumProp.h"
#include "tests/support/PolyTestUtil.h"

namespace {

constexpr int kArcStart = 1;
constexpr int kArcPoint = 0;

// The slope's one soil, closed down to y = 0 below the circle's lowest point (y = 10).
std::unique_ptr<CSpGround> MakeSlope() {
  auto ground = MakePoly<CSpGround>({{0, 20}, {100, 20}, {180, 60}, {260, 60}});
  CDPolyArray input;
  input.Add(ground->Copy());
  std::unique_ptr<CDPolyArray> blocks = input.CreatePolygon(0.0);
  for (int i = 0; blocks != nullptr && i < blocks->GetSize(); ++i) {
    auto* block = dynamic_cast<CSpStratumBlock*>(blocks->GetAt(i));
    if (block == nullptr) continue;
    tagSATURATE& soil = block->GetPropPtr()->GetSaturate();
    soil.gammaT = soil.gammaSat = 120.0;
    soil.phi = 20.0;
    soil.c = 600.0;
  }
  ground->SetPolyArray(std::move(blocks));
  return ground;
}

// The circle about (120, 90) of radius 80, entered from the top down through a point above the
// crest, its lowest point and a point above the toe's level; the division fits it to the ground.
std::unique_ptr<CSpSlide> MakeCircle() {
  const auto onCircle = [](double x) {
    return CDPoint(x, 90 - std::sqrt(80 * 80 - (x - 120) * (x - 120)));
  };
  auto slide = std::make_unique<CSpSlide>();
  slide->AddNewPoint(onCircle(196), kArcStart, kStrengthStratum);
  slide->AddNewPoint(CDPoint(120, 10), kArcPoint, kStrengthStratum);
  slide->AddNewPoint(onCircle(70), kArcPoint, kStrengthStratum);
  return slide;
}

TEST(PublishedCircleTest, OrdinaryMethodGivesTheComparisonSlopesFactorOfSafety) {
  const ScopedEnableRound unrounded(0);
  const std::unique_ptr<CSpGround> ground = MakeSlope();
  const std::unique_ptr<CSpSlide> circle = MakeCircle();
  const auto loads = std::make_unique<CDPolyArray>();
  CDanmen view;
  view.SetGround(ground.get());
  view.SetSlide1(circle.get());
  view.SetAryLoad(loads.get());
  const std::unique_ptr<CSpSlideWork> work = circle->CreateDrawObj();
  // The slide spans about 113 across: from about 115 slices to about 450.
  for (const double width : {1.0, 0.5, 0.25}) {
    CDanmenStab section;
    section.SendInfo(view);
    tagCALCCONDITION cond = section.GetCalcCond();
    cond.extra2 = width;
    cond.extra3 = 2;
    section.SetCalcCond(cond);
    CSliceList list;
    list.SetDanmenStab(&section);
    ASSERT_GT(list.CreateSlice(nullptr, nullptr, work.get()), 100) << width;
    CCalcFellenius calc(1);
    calc.SetDanmenStab(&section);
    const tagFSRESULT fs = calc.KeisanFs(list, 0);
    EXPECT_NEAR(fs.fs, 1.9277, 5e-5) << width;
  }
}

}  // namespace
