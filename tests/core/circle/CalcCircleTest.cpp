// The search loop and the specified circle that every circle-search engine runs: which circles
// a search tries, which slip surfaces it keeps, what it stores, cancelling, and the sections'
// state afterwards.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <numbers>
#include <string>
#include <utility>
#include <vector>

#include "core/base/CoreSettings.h"
#include "core/circle/ArcCondition.h"
#include "core/circle/CalcBase.h"
#include "core/circle/CalcStab.h"
#include "core/circle/CircleRecordVersion.h"
#include "core/circle/RepKey.h"
#include "core/circle/RepMesh.h"
#include "core/circle/ResDrain.h"
#include "core/circle/ResStab.h"
#include "core/circle/SliceList.h"
#include "core/geometry/DArc.h"
#include "core/model/Danmen.h"
#include "core/section/SpCrack.h"
#include "core/section/SpSlide.h"
#include "core/section/SpSlideWork.h"
#include "core/section/SpStratum.h"
#include "core/section/SpWater.h"
#include "platform/FrameMessages.h"
#include "platform/ProgressFeedback.h"
#include "tests/support/BitDigest.h"
#include "tests/support/KeptCircles.h"
#include "tests/support/PolyTestUtil.h"
#include "tests/support/ProcessSteps.h"
#include "tests/support/SampleSection.h"
#include "tests/support/ScriptedUi.h"
#include "tests/support/StoredRecord.h"

namespace {

using R = tagRESULTSLICE;

// The search's shared steps, reached from a test.
struct Steps : CCalcStab {
  using CCalcCircle::StoreCase;
};

// The circles of every node in row order: centre, radius and the normal Fs.
int ChildCount(const CRepMesh& mesh) { return static_cast<int>(KeptCirclesOf(mesh).size()); }

// The radius set with a mesh of centres and radii from rMin to rMax by rStep.
void SetRadiusSet(CArcCondition& condition, double x1, double x2, double dx, double y1, double y2,
                  double dy, double rMin, double rMax, double rStep) {
  condition.kind = kArcSetRadius;
  CArcSetRadius& set = condition.setRadius;
  set.mesh.x1 = x1;
  set.mesh.x2 = x2;
  set.mesh.dx = dx;
  set.mesh.y1 = y1;
  set.mesh.y2 = y2;
  set.mesh.dy = dy;
  set.rMin = rMin;
  set.rMax = rMax;
  set.rStep = rStep;
  set.SetFlagByPoly();
}

void SetOneCircle(CArcCondition& condition, double x, double y, double r) {
  SetRadiusSet(condition, x, x, 1, y, y, 1, r, r, 1);
}

class CalcCircleTest : public testing::Test {
 protected:
  CalcCircleTest() { Wire(sample_.section); }

  // The normal section over the shapes of a section, for the normal case with planned Fs 1.2.
  void Wire(const CDanmen& shapes) {
    normal_.SendInfo(shapes);
    tagCALCCONDITION cond = normal_.GetCalcCond();
    cond.formula = 0;
    cond.normalOn = 1;
    cond.plannedFs = {1.2, 1.1};
    normal_.SetCalcCond(cond);
    normal_.SetCalcMode(CDanmenStab::kCalcNormal);
  }

  // A seismic section over the same shapes with kh.
  void AddSeismic() {
    seismic_.SendInfo(normal_);
    tagCALCCONDITION cond = normal_.GetCalcCond();
    cond.kh = 0.15;
    cond.quakeOn = 1;
    seismic_.SetCalcCond(cond);
    seismic_.SetCalcMode(CDanmenStab::kCalcQuake);
    sections_.seismic = &seismic_;
  }

  CCalcStab Engine() { return CCalcStab(sections_, result_); }

  std::unique_ptr<CRepMesh> Search(int mode = 0) { return Engine().CalcRepeatEngine(mode, true); }

  const ScopedEnableRound unrounded_{0};
  SampleSection sample_ = MakeSampleSection();
  CDanmenStab normal_;
  CDanmenStab seismic_;
  CCalcCircle::Sections sections_{&normal_, nullptr};
  CResStab result_;
  CArcCondition& condition_ = result_;
};

// ---- The search against a brute-force loop ----

// Everything the search does for one circle, written out plainly: the lower half circle fitted
// to the ground, pieces kept 0.01 inside the model, each piece's slices and Fs.
std::vector<double> BruteForceFs(const CDanmenStab& section, double x, double y, double r) {
  const CDPolyArray& model = *section.GetTisoBlockArray();
  const CDArc arc(CDPoint(x, y), r, std::numbers::pi, 0.0);
  CSpSlide line;
  line.AddNewPoint(arc.GetStart(), 1, 2);
  line.AddNewPoint(arc.GetMid(0.5), 0, 2);
  line.AddNewPoint(arc.GetEnd(), 0, 2);
  CDPolyArray pieces;
  line.CreateDrawObj()->CorrectSlideObj(section.GetGround(), &pieces, true);
  std::vector<double> found;
  for (int k = 0; k < pieces.GetSize(); ++k) {
    const auto& piece = static_cast<const CSpSlideWork&>(*pieces.GetAt(k));
    if (piece.Bottom().y < model.Bottom().y + 0.01 || piece.Left().x < model.Left().x + 0.01 ||
        piece.Right().x > model.Right().x - 0.01) {
      continue;
    }
    CSliceList list;
    list.SetDanmenStab(&section);
    list.CreateSlice(nullptr, nullptr, &piece);
    CCalcFellenius calc(1);
    calc.SetDanmenStab(&section);
    found.push_back(calc.KeisanFs(list, 0).fs);
  }
  return found;
}

TEST_F(CalcCircleTest, SearchFindsTheMinimumOfABruteForceLoopOverTheSameCentresAndRadii) {
  SetRadiusSet(condition_, 8, 14, 2, 16, 22, 3, 12, 18, 2);
  const std::unique_ptr<CRepMesh> mesh = Search();

  std::vector<double> brute;
  for (double y = 16; y <= 22; y += 3) {
    for (double x = 8; x <= 14; x += 2) {
      for (double r = 12; r <= 18; r += 2) {
        for (const double fs : BruteForceFs(normal_, x, y, r)) brute.push_back(fs);
      }
    }
  }
  const std::vector<KeptCircle> found = KeptCirclesOf(*mesh);
  ASSERT_EQ(found.size(), brute.size());
  ASSERT_GT(found.size(), 10u);
  std::vector<double> searched;
  for (const KeptCircle& c : found) searched.push_back(c.fs);
  EXPECT_EQ(searched, brute);  // circle for circle, in the order of the loop
  const double minimum = *std::min_element(brute.begin(), brute.end());
  EXPECT_EQ(*std::min_element(searched.begin(), searched.end()), minimum);
  EXPECT_GT(minimum, 0);
  EXPECT_NE(minimum, *std::max_element(brute.begin(), brute.end()));
}

TEST_F(CalcCircleTest, EachChildKeepsItsCentreRadiusDepthSurfaceAndSums) {
  AddSeismic();
  SetOneCircle(condition_, 10, 18, 14);
  const std::unique_ptr<CRepMesh> mesh = Search();
  ASSERT_EQ(ChildCount(*mesh), 1);
  const CRepPoint& p = mesh->GetRepPoint(0, 0)->GetChild(0);
  EXPECT_EQ(p.GetCenter().x, 10);
  EXPECT_EQ(p.GetCenter().y, 18);
  EXPECT_EQ(p.GetRadius(), 14);
  // The centre lies above the slope: its distance to the ground surface is positive.
  EXPECT_GT(p.GetDepth(), 0);
  EXPECT_LT(p.GetDepth(), 14);
  ASSERT_NE(p.GetSlideWork(), nullptr);
  for (const int c : {0, 1}) {
    const double s = p.GetStab(CRepPoint::kS, c);
    const double t = p.GetStab(CRepPoint::kT, c);
    ASSERT_NE(s, kNoValue);
    ASSERT_NE(t, kNoValue);
    EXPECT_DOUBLE_EQ(p.GetValue(c), s / t) << c;
    // Pr = T * planned Fs - S.
    EXPECT_DOUBLE_EQ(p.GetValue(4 + c), t * normal_.GetPFs(c) - s) << c;
  }
  EXPECT_LT(p.GetValue(1), p.GetValue(0));  // the seismic Fs is the lower one
  // Geometry mode keeps the circle without any value.
  const std::unique_ptr<CRepMesh> geometry = Search(CCalcCircle::kModeGeometry);
  ASSERT_EQ(ChildCount(*geometry), 1);
  const CRepPoint& g = geometry->GetRepPoint(0, 0)->GetChild(0);
  EXPECT_EQ(g.GetRadius(), 14);
  EXPECT_EQ(g.GetValue(0), kNoValue);
  EXPECT_EQ(g.GetStab(CRepPoint::kS, 0), kNoValue);
  EXPECT_EQ(geometry->GetRepType(), CCalcCircle::kModeGeometry);
}

// The direction of the ground, which pairs the crossings of a saddle cell, belongs to the mesh
// the search fills: a copy carries it, another mesh (and the next test) sees nothing of it.
TEST_F(CalcCircleTest, TheGroundDirectionBelongsToTheSearchedMesh) {
  ASSERT_TRUE(normal_.GetGround()->IsRightUpper());
  SetOneCircle(condition_, 10, 18, 14);
  const std::unique_ptr<CRepMesh> mesh = Search();
  EXPECT_TRUE(mesh->IsRightUp());
  CRepMesh copy;
  copy.CopyData(*mesh);
  EXPECT_TRUE(copy.IsRightUp());
  EXPECT_FALSE(CRepMesh().IsRightUp());
}

TEST_F(CalcCircleTest, CentresAndRadiiAreRoundedHalfUpToAMillimetre) {
  SetOneCircle(condition_, 10.00049, 18.0006, 14.0004);
  const std::unique_ptr<CRepMesh> mesh = Search();
  ASSERT_EQ(ChildCount(*mesh), 1);
  const CRepPoint& p = mesh->GetRepPoint(0, 0)->GetChild(0);
  EXPECT_DOUBLE_EQ(p.GetRadius(), 14.0);
  // The point keeps the node's centre; the circle was built on the rounded one.
  EXPECT_EQ(p.GetCenter().x, 10.00049);
  EXPECT_DOUBLE_EQ(p.GetSlideWork()->GetFirstArc()->centre.x, 10.0);
  EXPECT_DOUBLE_EQ(p.GetSlideWork()->GetFirstArc()->centre.y, 18.001);
}

TEST_F(CalcCircleTest, TheTwoPointSetSearchesOneCircleThroughBothPointsPerRadius) {
  // Its centres lie on the bisector of A and B, not on a centre mesh.
  condition_.kind = kArcSetPass2;
  CArcSetPass2& set = condition_.setPass2;
  set.pointA = CDPoint(6, 0);
  set.pointB = CDPoint(21, 12.5);
  set.radiusFrom = 14;
  set.radiusTo = 20;
  set.pitch = 3;
  const std::unique_ptr<CRepMesh> mesh = Search();
  ASSERT_EQ(mesh->GetSizeX(), 1);
  ASSERT_EQ(mesh->GetSizeY(), 3);
  for (int j = 0; j < 3; ++j) {
    const CRepPoint& node = *mesh->GetRepPoint(0, j);
    ASSERT_GE(node.GetChildSize(), 1) << j;
    for (int c = 0; c < node.GetChildSize(); ++c) {
      const CRepPoint& p = node.GetChild(c);
      EXPECT_DOUBLE_EQ(p.GetRadius(), 14 + 3.0 * j);
      EXPECT_NEAR(std::hypot(p.GetCenter().x - 6, p.GetCenter().y - 0), p.GetRadius(), 1e-9);
      EXPECT_NEAR(std::hypot(p.GetCenter().x - 21, p.GetCenter().y - 12.5), p.GetRadius(), 1e-9);
    }
  }
}

// ---- Progress and cancel ----

// The search of the mode with the feedback, as a process step.
CCalcCircle::Search Process(const CCalcCircle& engine, ProgressFeedback& feedback, int mode = 0) {
  return engine.ProcessRepeat(mode, feedback);
}

TEST_F(CalcCircleTest, CancelAtTheFirstNodeGivesAnInterruptedMeshWithoutCircles) {
  SetRadiusSet(condition_, 8, 14, 2, 16, 22, 3, 12, 18, 2);
  CancelAtReport cancel(0);
  const CCalcCircle::Search search = Process(Engine(), cancel.Feedback());
  const CRepMesh& mesh = *search.mesh;
  EXPECT_TRUE(mesh.IsInterrupt());
  EXPECT_EQ(mesh.GetSizeX() * mesh.GetSizeY(), 12);
  for (int j = 0; j < mesh.GetSizeY(); ++j) {
    for (int i = 0; i < mesh.GetSizeX(); ++i) {
      ASSERT_NE(mesh.GetRepPoint(i, j), nullptr);
      EXPECT_EQ(mesh.GetRepPoint(i, j)->GetChildSize(), 0);
    }
  }
  EXPECT_EQ(mesh.GetContours(), nullptr);
  EXPECT_EQ(cancel.Feedback().Line1(), "");
  EXPECT_EQ(cancel.Feedback().Line2(), "計算を中止しました。結果出力準備中...");
  EXPECT_EQ(normal_.GetSlideWorkRepeat(), nullptr);
}

// Each node reports its progress and each circle its lines; a cancel ends the search before the
// next node, so the node being calculated finishes and the circles found are the first ones of a
// whole search.
TEST_F(CalcCircleTest, CancelLaterKeepsTheCirclesOfTheNodesDone) {
  SetRadiusSet(condition_, 8, 14, 2, 16, 22, 3, 12, 18, 2);
  const std::unique_ptr<CRepMesh> whole = Search();
  const std::vector<KeptCircle> all = KeptCirclesOf(*whole);
  const auto firstNodes = static_cast<std::size_t>(whole->GetRepPoint(0, 0)->GetChildSize() +
                                                   whole->GetRepPoint(1, 0)->GetChildSize());
  ASSERT_GT(firstNodes, 0u);
  ASSERT_LT(firstNodes, all.size());
  // Four radii a node: the seventh report is the second circle of the second node.
  CancelAtReport cancel(7);
  const CCalcCircle::Search search = Process(Engine(), cancel.Feedback());
  EXPECT_TRUE(search.mesh->IsInterrupt());
  const std::vector<KeptCircle> kept = KeptCirclesOf(*search.mesh);
  EXPECT_EQ(kept, std::vector<KeptCircle>(all.begin(), all.begin() + firstNodes));
}

TEST_F(CalcCircleTest, InactiveNodesAreSkippedAndStillCountInTheProgress) {
  SetRadiusSet(condition_, 8, 14, 2, 16, 22, 3, 12, 18, 2);
  CArcSetRadius& set = condition_.setRadius;
  set.maskOn = 1;
  set.mask.Add(CDPoint(100, 100));
  set.mask.Add(CDPoint(101, 100));
  set.mask.Add(CDPoint(101, 101));
  set.SetFlagByPoly();
  int reports = 0;
  ProgressFeedback feedback([&reports](const ProgressFeedback&) { ++reports; });
  const CCalcCircle::Search search = Process(Engine(), feedback);
  EXPECT_FALSE(search.mesh->IsInterrupt());
  EXPECT_EQ(ChildCount(*search.mesh), 0);
  EXPECT_EQ(search.mesh->GetSizeX() * search.mesh->GetSizeY(), 12);
  EXPECT_EQ(reports, 12);  // one a node, and no circle
  EXPECT_EQ(feedback.Progress(), 100);
  EXPECT_EQ(feedback.Line1(), "");
}

// The process step reports to its feedback only: no progress window and no message to the main
// window; the headless search sends the view one redraw at its end.
TEST_F(CalcCircleTest, ProgressNamesEachCircleAndTheViewRedrawsOnceAfterTheSearch) {
  SetRadiusSet(condition_, 10, 12, 2, 18, 18, 1, 14, 16, 2);
  std::vector<std::string> reports;
  ProgressFeedback feedback([&reports](const ProgressFeedback& f) {
    reports.push_back(std::to_string(static_cast<int>(f.Progress())) + "|" + f.Line1() + "|" +
                      f.Line2());
  });
  const CCalcCircle::Search search = Process(Engine(), feedback);
  ASSERT_EQ(ChildCount(*search.mesh), 4);
  EXPECT_EQ(reports, (std::vector<std::string>{
                         "50||",
                         "50|安定計算|1 / 2 : (X,Y,R) = (10.0, 18.0, 14.0) を計算中...",
                         "50|安定計算|1 / 2 : (X,Y,R) = (10.0, 18.0, 16.0) を計算中...",
                         "100|安定計算|1 / 2 : (X,Y,R) = (10.0, 18.0, 16.0) を計算中...",
                         "100|安定計算|2 / 2 : (X,Y,R) = (12.0, 18.0, 14.0) を計算中...",
                         "100|安定計算|2 / 2 : (X,Y,R) = (12.0, 18.0, 16.0) を計算中...",
                     }));
  EXPECT_EQ(TestUi().ProgressWindowCount(), 0u);
  EXPECT_TRUE(TestUi().FrameMessages().empty());

  Engine().CalcRepeatStart();
  EXPECT_EQ(TestUi().ProgressWindowCount(), 0u);
  ASSERT_EQ(TestUi().FrameMessages().size(), 1u);
  EXPECT_EQ(TestUi().FrameMessages()[0].message, FrameMsg::WM_APP_REDRAW);
}

// ---- Which slip surfaces are kept ----

// A model 40 m wide between y = 0 and a level ground at y = 10 with a V notch down to y = 2 at
// x = 18, of one stratum.
struct NotchSection {
  explicit NotchSection(const std::vector<CDPoint>& line = {
                            {0, 10}, {17, 10}, {18, 2}, {19, 10}, {40, 10}}) {
    ground = MakePoly<CSpGround>(line);
    CDPolyArray input;
    input.Add(ground->Copy());
    std::unique_ptr<CDPolyArray> blocks = input.CreatePolygon(0.0);
    for (int i = 0; i < blocks->GetSize(); ++i) {
      tagSATURATE& soil =
          static_cast<CSpStratumBlock*>(blocks->GetAt(i))->GetPropPtr()->GetSaturate();
      soil.gammaT = 18;
      soil.gammaSat = 19;
      soil.phi = 30;
      soil.c = 10;
    }
    ground->SetPolyArray(std::move(blocks));
    section.SetGround(ground.get());
    section.SetAryLoad(&loads);
  }
  std::unique_ptr<CSpGround> ground;
  CDPolyArray loads;
  CDanmen section;
};

class CalcCircleNotchTest : public CalcCircleTest {
 protected:
  CalcCircleNotchTest() { Wire(notch_.section); }
  NotchSection notch_;
};

struct OneCircleCase {
  const char* what;
  double x, y, r;
  int children;
};

TEST_F(CalcCircleNotchTest, PiecesWithinACentimetreOfTheModelLimitsAreDropped) {
  const OneCircleCase cases[] = {
      {"left end 0.005 from the left limit", 5, 9, 4.995, 0},
      {"left end 0.1 from the left limit", 5, 9, 4.9, 1},
      {"right end 0.005 from the right limit", 35, 9, 4.995, 0},
      {"right end 0.1 from the right limit", 35, 9, 4.9, 1},
      {"lowest point 0.005 above the bottom", 30, 9, 8.995, 0},
      {"lowest point 0.1 above the bottom", 30, 9, 8.9, 1},
  };
  for (const OneCircleCase& c : cases) {
    SetOneCircle(condition_, c.x, c.y, c.r);
    EXPECT_EQ(ChildCount(*Search()), c.children) << c.what;
  }
}

TEST_F(CalcCircleNotchTest, ACircleTouchingTheBottomKeepsOnlyPiecesBesideItsCentre) {
  // The notch cuts the circle with its lowest point on the bottom into a piece left of the notch
  // and one under the centre.
  SetOneCircle(condition_, 25, 9, 9);
  const std::unique_ptr<CRepMesh> mesh = Search();
  ASSERT_EQ(ChildCount(*mesh), 1);
  EXPECT_LT(mesh->GetRepPoint(0, 0)->GetChild(0).GetSlideWork()->Right().x, 18);
  // Under a level ground the circle is one piece over its centre: none is kept, while the circle
  // 0.1 higher is.
  NotchSection level({{0, 10}, {40, 10}});
  Wire(level.section);
  EXPECT_EQ(ChildCount(*Search()), 0);
  SetOneCircle(condition_, 25, 9, 8.9);
  EXPECT_EQ(ChildCount(*Search()), 1);
}

TEST_F(CalcCircleNotchTest, TheDepthSetDropsShallowPiecesOnlyOfCirclesCutInSeveral) {
  // Centre 5 m above the ground: depth 7 gives R = 12, which the notch cuts into a shallow
  // sliver left of it and a piece 7 m deep under the centre.
  condition_.kind = kArcSetDepth;
  CArcSetDepth& set = condition_.setDepth;
  set.mesh.x1 = set.mesh.x2 = 25;
  set.mesh.y1 = set.mesh.y2 = 15;
  set.mesh.dx = set.mesh.dy = 1;
  set.rMin = set.rMax = 7;
  set.rStep = 1;
  set.SetFlagByPoly();
  const std::unique_ptr<CRepMesh> mesh = Search();
  ASSERT_EQ(ChildCount(*mesh), 1);
  const CRepPoint& kept = mesh->GetRepPoint(0, 0)->GetChild(0);
  EXPECT_DOUBLE_EQ(kept.GetRadius(), 12);
  EXPECT_DOUBLE_EQ(kept.GetDepth(), 7);
  EXPECT_GT(kept.GetSlideWork()->Left().x, 18);
  // The radius set has no minimum depth: the same circle keeps both pieces.
  SetOneCircle(condition_, 25, 15, 12);
  EXPECT_EQ(ChildCount(*Search()), 2);
}

// ---- Stratum exclusion ----

TEST_F(CalcCircleTest, CheckNotStratumRefusesSlicesOnAnExcludedStratumAndASectionWithoutStrata) {
  SetOneCircle(condition_, 10, 18, 14);
  ASSERT_EQ(ChildCount(*Search()), 1);
  CDPolyArray& strata = *sample_.ground->GetPolyArray();
  for (int i = 0; i < strata.GetSize(); ++i) {
    static_cast<CSpStratumBlock*>(strata.GetAt(i))->GetPropPtr()->SetExtra(1);
  }
  EXPECT_EQ(ChildCount(*Search()), 0);

  const CSliceList empty;
  EXPECT_TRUE(Engine().CheckNotStratum(empty));
  CDanmenStab bare;
  EXPECT_FALSE(CCalcStab({&bare, nullptr}, result_).CheckNotStratum(empty));
}

// ---- Tension crack ----

TEST_F(CalcCircleTest, AnActiveCrackJoinsEachSurfaceWhereItMeetsTheGroundLoweredByTheCrackDepth) {
  SetOneCircle(condition_, 10, 18, 14);
  const std::vector<KeptCircle> plain = KeptCirclesOf(*Search());
  ASSERT_EQ(plain.size(), 1u);
  sample_.crack->SetDepth(1.5);
  sample_.crack->SetActive(1);
  const std::unique_ptr<CRepMesh> mesh = Search();
  ASSERT_EQ(ChildCount(*mesh), 1);
  const CDPoint& top = sample_.crack->GetTop();
  const CDPoint& bottom = sample_.crack->GetBottom();
  EXPECT_EQ(sample_.crack->GetAngle(), 90);
  EXPECT_EQ(top.x, bottom.x);
  EXPECT_DOUBLE_EQ(top.y, bottom.y + 1.5);
  EXPECT_NEAR(sample_.ground->GetY(top.x), top.y, 1e-9);
  // The surface joined with the crack is the one calculated.
  const std::shared_ptr<const CSpSlideWork> joined =
      mesh->GetRepPoint(0, 0)->GetChild(0).GetSlideWork();
  EXPECT_NEAR(joined->Top().y, top.y, 1e-9);
  EXPECT_NE(mesh->GetRepPoint(0, 0)->GetChild(0).GetValue(0), plain[0].fs);
}

// ---- Stored values ----

TEST(CalcCircleStoreTest, SafetyFactorsKeepTheirSignAndAMissingValueStaysMissing) {
  struct Case {
    int round;
    double fs;
    double stored;
  };
  const Case cases[] = {
      {0, 1.2345, 1.2345},  {1, 1.2345, 1.234},      {0, -0.75, -0.75},
      {1, -0.7555, -0.756}, {0, kNoValue, kNoValue}, {1, kNoValue, kNoValue},
  };
  for (const Case& c : cases) {
    const ScopedEnableRound rounding(c.round);
    CRepPoint point;
    Steps::StoreCase(point, 1, 3, {.fs = c.fs, .pr = 12.34, .s = 5, .t = 4});
    EXPECT_DOUBLE_EQ(point.GetValue(3), c.stored) << c.round << " " << c.fs;
    EXPECT_EQ(point.GetStab(CRepPoint::kS, 1), 5);
    EXPECT_EQ(point.GetStab(CRepPoint::kT, 1), 4);
    EXPECT_EQ(point.GetValue(2), kNoValue);  // the other case is left alone
  }
}

TEST_F(CalcCircleTest, AFailedSafetyFactorIsStoredAsMissingWithRoundingOff) {
  tagCALCCONDITION cond = normal_.GetCalcCond();
  cond.formula = 7;  // no method computes it
  normal_.SetCalcCond(cond);
  SetOneCircle(condition_, 10, 18, 14);
  const std::unique_ptr<CRepMesh> mesh = Search();
  ASSERT_EQ(ChildCount(*mesh), 1);
  EXPECT_EQ(mesh->GetRepPoint(0, 0)->GetChild(0).GetValue(0), kNoValue);
  EXPECT_EQ(mesh->GetRepPoint(0, 0)->GetChild(0).GetValue(4), kNoValue);
}

// ---- The repeat search with its listing ----

TEST_F(CalcCircleTest, RepeatStartFillsTheResultSetListsAndSortsTheCircles) {
  SetRadiusSet(condition_, 8, 14, 2, 16, 22, 3, 12, 18, 2);
  result_.GetKey().Data().seismicGroup = 1;
  result_.GetKey().Data().contourCase = 1;
  result_.serialSort = {10, 0};  // Fs of the normal case, ascending
  Engine().CalcRepeatStart();
  const tagREPKEY& key = result_.GetKey().Data();
  EXPECT_EQ(key.normalGroup, 1);
  // Without a seismic section there is no seismic case.
  EXPECT_EQ(key.seismicGroup, 0);
  EXPECT_EQ(key.contourCase, 0);
  ASSERT_NE(result_.GetMesh(), nullptr);
  const int circles = ChildCount(*result_.GetMesh());
  EXPECT_EQ(result_.GetSerialCount(), circles);
  const CResCircle::SerialList& serial = result_.GetSerialList();
  ASSERT_EQ(static_cast<int>(serial.size()), circles);
  for (std::size_t k = 1; k < serial.size(); ++k) {
    EXPECT_LE(serial[k - 1]->GetValue(0), serial[k]->GetValue(0));
  }
  EXPECT_EQ(serial.front()->GetValue(1), kNoValue);
  EXPECT_EQ(result_.GetMinFs(0), serial.front()->GetValue(0));
  // Finished: the contour of the key's Fs pitch over the centres.
  ASSERT_NE(result_.GetMesh()->GetContours(), nullptr);
  EXPECT_GT(result_.GetMesh()->GetContours()->GetSize(), 0);
  EXPECT_EQ(normal_.GetSlideWorkRepeat(), nullptr);
  // A second search replaces everything the first left.
  SetOneCircle(condition_, 10, 18, 14);
  Engine().CalcRepeatStart();
  EXPECT_EQ(result_.GetSerialCount(), 1);
  EXPECT_EQ(result_.GetSerialList().size(), 1u);
}

// A cancelled search is posted as the search found it: the result set lists the circles of the
// nodes done and the mesh has no contour lines.
TEST_F(CalcCircleTest, ACancelledSearchLeavesAConsistentPartialResultSet) {
  const struct {
    const char* what;
    int cancelAtReport;
    bool circles;
  } cases[] = {{"at the first node", 0, false}, {"in the second node", 7, true}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    SetRadiusSet(condition_, 8, 14, 2, 16, 22, 3, 12, 18, 2);
    CCalcStab engine = Engine();
    engine.PrepareRepeat();
    CancelAtReport cancel(c.cancelAtReport);
    engine.PostRepeat(engine.ProcessRepeat(0, cancel.Feedback()));
    ASSERT_NE(result_.GetMesh(), nullptr);
    EXPECT_TRUE(result_.GetMesh()->IsInterrupt());
    EXPECT_EQ(result_.GetMesh()->GetContours(), nullptr);
    const int circles = ChildCount(*result_.GetMesh());
    EXPECT_EQ(circles > 0, c.circles);
    EXPECT_EQ(result_.GetSerialCount(), circles);
    EXPECT_EQ(static_cast<int>(result_.GetSerialList().size()), circles);
  }
}

// ---- The specified circle ----

TEST_F(CalcCircleTest, SpecifiedCircleFillsTheRecordOfEachCaseThatIsOn) {
  AddSeismic();
  const std::unique_ptr<CSpSlideWork> entered = sample_.slide->CreateDrawObj();
  normal_.SetSlideWork(entered.get());
  seismic_.SetSlideWork(entered.get());
  Engine().CalcSpecifStart();

  CSliceList list;
  list.SetDanmenStab(&normal_);
  list.CreateSlice(nullptr, nullptr, entered.get());
  CCalcFellenius calc(1);
  calc.SetDanmenStab(&normal_);
  const tagFSRESULT fs = calc.KeisanFsPr(1.2, 1.1, list, 0);
  const tagRESULTSLICE& normal = result_.sliceResults[0];
  EXPECT_EQ(normal[R::kS], list.GetTotal()[R::kS]);
  EXPECT_EQ(normal[R::kT], list.GetTotal()[R::kT]);
  EXPECT_EQ(normal[CCalcCircle::kSpecifFs], fs.fs);
  EXPECT_EQ(normal[CCalcCircle::kSpecifPr], fs.pr);
  const tagRESULTSLICE& seismic = result_.sliceResults[1];
  EXPECT_NE(seismic[CCalcCircle::kSpecifFs], kNoValue);
  EXPECT_LT(seismic[CCalcCircle::kSpecifFs], fs.fs);
  EXPECT_EQ(result_.GetSpecifFs(0), fs.fs);
}

TEST_F(CalcCircleTest, ASpecifiedCircleThatMissesTheGroundGivesNoResult) {
  AddSeismic();
  struct Miss {
    const char* what;
    std::vector<CDPoint> points;
  };
  const Miss misses[] = {
      {"in the air above the slope", {{5, 30}, {15, 25}, {25, 30}}},
      {"beyond the model's right end", {{50, 5}, {60, 0}, {70, 5}}},
  };
  for (const Miss& miss : misses) {
    CSpSlide slide;
    slide.AddNewPoint(miss.points[0], 1, 2);
    slide.AddNewPoint(miss.points[1], 0, 2);
    slide.AddNewPoint(miss.points[2], 0, 2);
    const std::unique_ptr<CSpSlideWork> entered = slide.CreateDrawObj();
    normal_.SetSlideWork(entered.get());
    seismic_.SetSlideWork(entered.get());
    Engine().CalcSpecifStart();
    EXPECT_EQ(result_.sliceResults[0], tagRESULTSLICE()) << miss.what;
    EXPECT_EQ(result_.sliceResults[1], tagRESULTSLICE()) << miss.what;
    EXPECT_EQ(result_.GetSpecifFs(0), kNoValue) << miss.what;
  }
}

// ---- The drainage and the reinforcement engines ----

// The sample before the drainage work: its water stands 3 m higher.
class CalcDrainTest : public CalcCircleTest {
 protected:
  CalcDrainTest() {
    shapesBefore_.SendInfo(sample_.section);
    shapesBefore_.SetWater(waterBefore_.get());
    before_.SendInfo(shapesBefore_);
    before_.SetCalcCond(normal_.GetCalcCond());
    SetOneCircle(drain_.conditions, 10, 18, 14);
  }

  // The normal Fs of the one circle that CCalcStab finds on the section.
  double StabFs(CDanmenStab& section) {
    CResStab result;
    SetOneCircle(result, 10, 18, 14);
    CCalcStab({&section, nullptr}, result).CalcRepeatStart();
    return result.GetSerialList().at(0)->GetValue(0);
  }

  std::unique_ptr<CSpWater> waterBefore_ =
      MakePoly<CSpWater>({{0, 2}, {6, 2}, {12, 5}, {18, 9}, {24, 13}, {30, 14}});
  CDanmen shapesBefore_;
  CDanmenStab before_;
  CResDrain drain_;
};

TEST_F(CalcDrainTest, DrainageCirclesCarryTheFsAfterTheWorkAndBeforeIt) {
  CCalcDrain(sections_, {&before_, nullptr}, drain_).CalcRepeatStart();
  ASSERT_EQ(drain_.GetSerialList().size(), 1u);
  const CRepPoint& p = *drain_.GetSerialList()[0];
  EXPECT_EQ(p.GetValue(2), StabFs(normal_));
  EXPECT_EQ(p.GetValue(0), StabFs(before_));
  EXPECT_LT(p.GetValue(0), p.GetValue(2));  // the higher water lowers the Fs
  EXPECT_NE(p.GetValue(4), kNoValue);
  EXPECT_NE(p.GetStab(CRepPoint::kS, 0), kNoValue);
  EXPECT_EQ(p.GetValue(1), kNoValue);
  EXPECT_EQ(p.GetValue(3), kNoValue);
}

TEST_F(CalcDrainTest, DrainageSpecifiedCircleKeepsTheFsBeforeAndAfterTheWork) {
  const std::unique_ptr<CSpSlideWork> entered = sample_.slide->CreateDrawObj();
  normal_.SetSlideWork(entered.get());
  before_.SetSlideWork(entered.get());
  CCalcDrain(sections_, {&before_, nullptr}, drain_).CalcSpecifStart();
  CResStab stab;
  CCalcStab({&before_, nullptr}, stab).CalcSpecifStart();
  const double fsBefore = stab.sliceResults[0][CCalcCircle::kSpecifFs];
  CCalcStab(sections_, stab).CalcSpecifStart();
  const double fsAfter = stab.sliceResults[0][CCalcCircle::kSpecifFs];
  const tagRESULTSLICE& record = drain_.sliceResults[0];
  EXPECT_EQ(record[CCalcCircle::kSpecifFsAfter], fsAfter);
  EXPECT_EQ(record[CCalcCircle::kSpecifFs], fsBefore);
  EXPECT_LT(fsBefore, fsAfter);
  EXPECT_EQ(drain_.GetSpecifFs(0, true), fsAfter);
}

// Every value a search stored, in the mesh's row order, and the crack where the search left it.
std::uint64_t SearchDigest(const CRepMesh& mesh, const CSpCrack& crack) {
  BitDigest digest;
  for (int j = 0; j < mesh.GetSizeY(); ++j) {
    for (int i = 0; i < mesh.GetSizeX(); ++i) {
      const CRepPoint* node = mesh.GetRepPoint(i, j);
      if (node == nullptr) continue;
      digest.Add(node->GetChildSize());
      for (int c = 0; c < node->GetChildSize(); ++c) {
        const CRepPoint& p = node->GetChild(c);
        for (const double v : {p.GetCenter().x, p.GetCenter().y, p.GetRadius(), p.GetDepth()}) {
          digest.Add(v);
        }
        for (int n = 0; n < 8; ++n) digest.Add(p.GetValue(n));
        for (int q = 0; q < CRepPoint::kQuantities; ++q) {
          for (const int quake : {0, 1}) {
            digest.Add(p.GetStab(static_cast<CRepPoint::Quantity>(q), quake));
          }
        }
        const std::shared_ptr<const CSpSlideWork> kept = p.GetSlideWork();
        const CSpSlideWork& surface = *kept;
        for (int k = 0; k < surface.GetSize(); ++k) {
          digest.Add(surface.GetAt(k)->x);
          digest.Add(surface.GetAt(k)->y);
        }
      }
    }
  }
  digest.Add(mesh.GetContours() != nullptr ? mesh.GetContours()->GetSize() : -1);
  for (const double v : {crack.GetTop().x, crack.GetTop().y, crack.GetBottom().x,
                         crack.GetBottom().y, crack.GetAngle()}) {
    digest.Add(v);
  }
  return digest.Value();
}

// What the three engines store for the sample's circles keeps every bit, with the rounding on and
// off, a seismic case and the crack joined to each surface.
TEST_F(CalcDrainTest, SearchesKeepEveryBitOfTheirResults) {
  AddSeismic();
  sample_.crack->SetDepth(1.5);
  sample_.crack->SetActive(1);
  struct Run {
    const char* what;
    int round;
    std::uint64_t digest;
  };
  const Run runs[] = {{"stability, rounded", 1, 797248442507659412u},
                      {"stability", 0, 8308581575866965516u},
                      {"drainage, rounded", 1, 318879103891369952u},
                      {"drainage", 0, 18161400227649349560u},
                      {"reinforcement", 1, 669257425839285306u}};
  for (const Run& run : runs) {
    SCOPED_TRACE(run.what);
    const ScopedEnableRound rounding(run.round);
    const std::string what = run.what;
    CResReinf reinf;
    CResCircle* results = &result_;
    if (what.starts_with("stability")) {
      SetRadiusSet(result_, 8, 14, 2, 16, 22, 3, 12, 18, 2);
      Engine().CalcRepeatStart();
    } else if (what.starts_with("drainage")) {
      SetRadiusSet(drain_.conditions, 8, 14, 2, 16, 22, 3, 12, 18, 2);
      CCalcDrain(sections_, {&before_, nullptr}, drain_).CalcRepeatStart();
      results = &drain_;
    } else {
      SetRadiusSet(reinf.conditions, 8, 14, 2, 16, 22, 3, 12, 18, 2);
      CCalcReinf(sections_, reinf).CalcRepeatStart();
      results = &reinf;
    }
    ASSERT_NE(results->GetMesh(), nullptr);
    EXPECT_GT(ChildCount(*results->GetMesh()), 10);
    EXPECT_EQ(SearchDigest(*results->GetMesh(), *sample_.crack), run.digest);
  }
}

// A seismic section over the normal section's shapes and condition is calculated in the normal
// section's pass over each circle; it stores exactly what a seismic section that divides each
// circle on its own stores. The second seismic section differs from the normal one only in a
// switch it does not read, which makes it divide on its own.
TEST_F(CalcDrainTest, ASeismicCaseCalculatedInTheNormalPassStoresWhatItsOwnDivisionStores) {
  tagCALCCONDITION cond = normal_.GetCalcCond();
  cond.kh = 0.15;
  cond.quakeOn = 1;
  normal_.SetCalcCond(cond);
  before_.SetCalcCond(cond);
  AddSeismic();
  CDanmenStab ownDivision;
  ownDivision.SendInfo(seismic_);
  cond.normalOn = 0;
  ownDivision.SetCalcCond(cond);
  ownDivision.SetCalcMode(CDanmenStab::kCalcQuake);
  // Each engine's results with the given seismic section.
  const auto digestWith = [&](CDanmenStab& seismic, bool drainage) {
    const CCalcCircle::Sections sections{&normal_, &seismic};
    if (drainage) {
      CResDrain result;
      SetRadiusSet(result.conditions, 8, 14, 2, 16, 22, 3, 12, 18, 2);
      CCalcDrain(sections, {&before_, &seismic}, result).CalcRepeatStart();
      return SearchDigest(*result.GetMesh(), *sample_.crack);
    }
    CResStab result;
    SetRadiusSet(result, 8, 14, 2, 16, 22, 3, 12, 18, 2);
    CCalcStab(sections, result).CalcRepeatStart();
    EXPECT_GT(ChildCount(*result.GetMesh()), 10);
    EXPECT_NE(result.GetMinFs(1), kNoValue);
    return SearchDigest(*result.GetMesh(), *sample_.crack);
  };
  for (const int round : {0, 1}) {
    for (const bool drainage : {false, true}) {
      SCOPED_TRACE(testing::Message() << "round " << round << ", drainage " << drainage);
      const ScopedEnableRound rounding(round);
      EXPECT_EQ(digestWith(seismic_, drainage), digestWith(ownDivision, drainage));
    }
  }
}

// The search runs on a worker thread while this thread reads its progress, as in the program.
// It changes nothing of the case while it runs: not the result set, not the condition (its circle
// set steps through a copy), not the sections' repeat surface and not the crack, which moves only
// when the search is posted. Posted, it stores every bit a headless search stores.
TEST_F(CalcCircleTest, ASearchOnAWorkerThreadChangesNothingOfTheCaseUntilItIsPosted) {
  AddSeismic();
  sample_.crack->SetDepth(1.5);
  sample_.crack->SetActive(1);
  const ScopedEnableRound rounding(1);
  SetRadiusSet(condition_, 8, 14, 2, 16, 22, 3, 12, 18, 2);
  const std::vector<std::uint8_t> condition = RecordOf(condition_, kCircleRecordVersion);
  const std::vector<std::uint8_t> crack = RecordOf(*sample_.crack, 10);

  CCalcStab engine = Engine();
  engine.PrepareRepeat();
  ProgressFeedback feedback;
  CCalcCircle::Search search = ProcessOnWorker(
      feedback, [&engine](ProgressFeedback& f) { return engine.ProcessRepeat(0, f); });
  EXPECT_EQ(feedback.Progress(), 100);
  EXPECT_EQ(result_.GetMesh(), nullptr);
  EXPECT_EQ(RecordOf(condition_, kCircleRecordVersion), condition);
  EXPECT_EQ(RecordOf(*sample_.crack, 10), crack);
  EXPECT_EQ(normal_.GetSlideWorkRepeat(), nullptr);
  EXPECT_EQ(seismic_.GetSlideWorkRepeat(), nullptr);
  EXPECT_TRUE(search.crack.has_value());
  EXPECT_EQ(TestUi().ProgressWindowCount(), 0u);
  EXPECT_TRUE(TestUi().FrameMessages().empty());

  engine.PostRepeat(std::move(search));
  ASSERT_NE(result_.GetMesh(), nullptr);
  EXPECT_EQ(SearchDigest(*result_.GetMesh(), *sample_.crack), 797248442507659412u);
  EXPECT_EQ(result_.GetSerialCount(), ChildCount(*result_.GetMesh()));
}

TEST_F(CalcCircleTest, ReinforcementCirclesCarryTheirGeometryOnly) {
  CResReinf reinf;
  SetOneCircle(reinf.conditions, 10, 18, 14);
  CCalcReinf engine(sections_, reinf);
  engine.PrepareRepeat();
  ProgressFeedback feedback;
  engine.PostRepeat(engine.ProcessRepeat(0, feedback));
  ASSERT_NE(reinf.GetMesh(), nullptr);
  ASSERT_EQ(ChildCount(*reinf.GetMesh()), 1);
  const CRepPoint& p = reinf.GetMesh()->GetRepPoint(0, 0)->GetChild(0);
  EXPECT_EQ(p.GetCenter().x, 10);
  EXPECT_EQ(p.GetRadius(), 14);
  EXPECT_NE(p.GetDepth(), kNoValue);
  EXPECT_NE(p.GetSlideWork(), nullptr);
  for (int n = 0; n < 8; ++n) EXPECT_EQ(p.GetValue(n), kNoValue) << n;
  for (const int c : {0, 1}) {
    EXPECT_EQ(p.GetStab(CRepPoint::kS, c), kNoValue);
    EXPECT_EQ(p.GetStab(CRepPoint::kT, c), kNoValue);
  }
  EXPECT_EQ(feedback.Line1(), "安定計算（補強効果）");
}

TEST_F(CalcCircleTest, ReinforcementSpecifiedCircleAddsNoForce) {
  const std::unique_ptr<CSpSlideWork> entered = sample_.slide->CreateDrawObj();
  normal_.SetSlideWork(entered.get());
  CResReinf reinf;
  CCalcReinf(sections_, reinf).CalcSpecifStart();
  const tagRESULTSLICE& record = reinf.sliceResults[0];
  EXPECT_NE(record[CCalcCircle::kSpecifFs], kNoValue);
  EXPECT_EQ(record[CCalcCircle::kSpecifFsAfter], record[CCalcCircle::kSpecifFs]);
  EXPECT_NE(record[CCalcCircle::kSpecifPr], kNoValue);
  EXPECT_EQ(record[CCalcCircle::kSpecifAddedForce], 0);
}

}  // namespace
