#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/circle/ArcSet.h"
#include "core/geometry/ViewInfo.h"
#include "core/section/SpSlideWork.h"
#include "platform/RecordingCanvas.h"
#include "tests/support/DrawTestUtil.h"
#include "tests/support/PolyTestUtil.h"
#include "tests/support/RecordBytes.h"
#include "tests/support/RecordContract.h"

namespace {

const Color kPointColor = Color::Rgb(0, 100, 100);

void SetRange(CCenterMesh& mesh, double x1, double x2, double dx, double y1, double y2, double dy) {
  mesh.x1 = x1;
  mesh.x2 = x2;
  mesh.dx = dx;
  mesh.y1 = y1;
  mesh.y2 = y2;
  mesh.dy = dy;
  mesh.ResetFlag();
}

// A set of the class on the mesh 0..10 by 5 in x and 10..20 by 5 in y.
template <class Set>
std::unique_ptr<Set> OnMesh() {
  auto set = std::make_unique<Set>();
  SetRange(set->mesh, 0, 10, 5, 10, 20, 5);
  return set;
}

std::unique_ptr<CArcSetRadius> Radii(double rMin, double rMax, double rStep) {
  auto set = OnMesh<CArcSetRadius>();
  set->rMin = rMin;
  set->rMax = rMax;
  set->rStep = rStep;
  return set;
}

std::unique_ptr<CArcSetRadius> Depths(double dMin, double dMax, double dStep) {
  auto set = OnMesh<CArcSetDepth>();
  set->rMin = dMin;
  set->rMax = dMax;
  set->rStep = dStep;
  return set;
}

std::unique_ptr<CArcSetPass1> Through(const CDPoint& pass) {
  auto set = OnMesh<CArcSetPass1>();
  set->pass = pass;
  return set;
}

std::unique_ptr<CArcSetPass2> TwoPoints(const CDPoint& a, const CDPoint& b, double from, double to,
                                        double pitch) {
  auto set = std::make_unique<CArcSetPass2>();
  set->pointA = a;
  set->pointB = b;
  set->radiusFrom = from;
  set->radiusTo = to;
  set->pitch = pitch;
  return set;
}

std::unique_ptr<CArcSetPass3> Segment(const CDPoint& p1, const CDPoint& p2, double step) {
  auto set = OnMesh<CArcSetPass3>();
  set->p1 = p1;
  set->p2 = p2;
  set->step = step;
  return set;
}

// Every radius the set gives the centre, in order.
std::vector<double> RadiusSequence(CArcSetRadius& set, const CDPoint& centre,
                                   double groundDistance) {
  std::vector<double> radii;
  double r = set.GetInitialRad(centre, groundDistance);
  while (set.GetNextRad(r, centre, groundDistance) && radii.size() < 100) radii.push_back(r);
  return radii;
}

TEST(ArcSetTest, RadiusSequencesOfTheFiveKinds) {
  struct Case {
    const char* what;
    std::function<std::unique_ptr<CArcSetRadius>()> make;
    CDPoint centre;
    double groundDistance;
    std::vector<double> radii;
  };
  const CDPoint origin(0, 0);
  const Case cases[] = {
      {"radius 2..5 by 1", [] { return Radii(2, 5, 1); }, origin, 0, {2, 3, 4, 5}},
      {"radius 2..5 by 2", [] { return Radii(2, 5, 2); }, origin, 0, {2, 4, 5}},
      {"radius 0..5 by 2", [] { return Radii(0, 5, 2); }, origin, 0, {2, 4, 5}},
      {"depth 0..3 by 1 below 4", [] { return Depths(0, 3, 1); }, origin, 4, {5, 6, 7}},
      {"depth 1..3 by 1 below -2", [] { return Depths(1, 3, 1); }, origin, -2, {-1, 0, 1}},
      {"one point at distance 5", [] { return Through(CDPoint(3, 4)); }, origin, 0, {5}},
      {"two points, A at distance 5",
       [] { return TwoPoints(CDPoint(-3, 4), CDPoint(3, 4), 2, 10, 2); },
       origin,
       0,
       {5}},
      {"segment 3..7 by 1.5",
       [] { return Segment(CDPoint(3, 0), CDPoint(0, 7), 1.5); },
       origin,
       0,
       {3, 4.5, 6, 7}},
      {"segment 7..3 by 1.5",
       [] { return Segment(CDPoint(0, 7), CDPoint(3, 0), 1.5); },
       origin,
       0,
       {3, 4.5, 6, 7}},
      {"segment ends equally far",
       [] { return Segment(CDPoint(5, 0), CDPoint(0, 5), 1); },
       origin,
       0,
       {5}},
  };
  for (const Case& c : cases) {
    const auto set = c.make();
    EXPECT_EQ(RadiusSequence(*set, c.centre, c.groundDistance), c.radii) << c.what;
    // Each centre starts its sequence anew.
    EXPECT_EQ(RadiusSequence(*set, c.centre, c.groundDistance), c.radii) << c.what << ", again";
  }
}

TEST(ArcSetTest, TheOneCircleSetsStopAtOnceWithoutANewCentre) {
  const CDPoint centre(0, 0);
  const std::vector<std::unique_ptr<CArcSetRadius>> sets = [] {
    std::vector<std::unique_ptr<CArcSetRadius>> v;
    v.push_back(Through(CDPoint(3, 4)));
    v.push_back(TwoPoints(CDPoint(3, 4), CDPoint(-3, 4), 2, 10, 2));
    return v;
  }();
  for (const auto& set : sets) {
    double r = set->GetInitialRad(centre, 0);
    EXPECT_EQ(r, 5);
    ASSERT_TRUE(set->GetNextRad(r, centre, 0));
    EXPECT_EQ(r, 5);
    EXPECT_FALSE(set->GetNextRad(r, centre, 0));
    EXPECT_FALSE(set->GetNextRad(r, centre, 0));
  }
  // A fresh one-point set has no centre yet.
  CArcSetPass1 fresh;
  double r = 0;
  EXPECT_FALSE(fresh.GetNextRad(r, centre, 0));
}

TEST(ArcSetTest, ValidityAndSettingCodes) {
  struct Case {
    const char* what;
    std::function<std::unique_ptr<CArcSetRadius>()> make;
    bool valid;
    bool settingValid;  // IsSettingValid(0)
    int code;
  };
  const CDPoint a(1, 2);
  const CDPoint b(9, 2);
  const Case cases[] = {
      {"radius", [] { return Radii(2, 5, 1); }, true, true, kSettingNormal},
      {"radius from 0", [] { return Radii(0, 5, 1); }, true, true, kSettingNormal},
      {"radius without step", [] { return Radii(3, 5, 0); }, false, true, kSettingBadStep},
      {"radius below 0", [] { return Radii(-1, 5, 1); }, false, true, kSettingBadRadius},
      {"radius maximum 0", [] { return Radii(0, 0, 1); }, false, true, kSettingBadRadius},
      {"radius one value without step", [] { return Radii(4, 4, 0); }, false, true,
       kSettingBadRadius},
      {"radius unset", [] { return Radii(2, kNoValue, 1); }, false, false, kSettingBadRadius},
      {"radius on an incomplete mesh",
       [] {
         auto set = Radii(2, 5, 1);
         set->mesh.dx = 0;
         return set;
       },
       false, true, kSettingIncomplete},
      {"depth", [] { return Depths(0, 3, 1); }, true, true, kSettingNormal},
      {"depth below 0", [] { return Depths(-1, 3, 1); }, false, true, kSettingBadRadius},
      {"one point", [] { return Through(CDPoint(5, 5)); }, true, true, kSettingNormal},
      {"one point unset", [] { return Through(CDPoint()); }, false, false, kSettingNormal},
      {"two points", [&] { return TwoPoints(a, b, 2, 10, 2); }, true, true, kSettingNormal},
      {"two points without pitch", [&] { return TwoPoints(a, b, 2, 10, 0); }, false, true,
       kSettingBadStep},
      {"two points together", [&] { return TwoPoints(a, CDPoint(1, 2.00005), 2, 10, 2); }, true,
       true, kSettingSamePoints},
      {"two points, B unset", [&] { return TwoPoints(a, CDPoint(), 2, 10, 2); }, false, false,
       kSettingNormal},
      {"segment", [&] { return Segment(a, b, 1); }, true, true, kSettingNormal},
      {"segment without step", [&] { return Segment(a, b, 0); }, false, true, kSettingBadStep},
      {"segment of a tiny step", [&] { return Segment(a, b, 1e-14); }, false, true, kSettingNormal},
      {"segment of one point", [&] { return Segment(a, a, 1); }, true, true, kSettingSamePoints},
      {"segment on an incomplete mesh",
       [&] {
         auto set = Segment(a, b, 0);
         set->mesh.y1 = kNoValue;
         return set;
       },
       false, false, kSettingIncomplete},
  };
  for (const Case& c : cases) {
    const auto set = c.make();
    EXPECT_EQ(set->IsValid(), c.valid) << c.what;
    EXPECT_EQ(set->IsSettingValid(0), c.settingValid) << c.what;
    EXPECT_EQ(set->IsSettingNormal(), c.code) << c.what;
  }
  // The one-point set's flag 1 leaves the pass point out of the setting check.
  EXPECT_TRUE(Through(CDPoint())->IsSettingValid(1));
}

TEST(ArcSetTest, MeshCounts) {
  auto radius = Radii(2, 5, 1);
  SetRange(radius->mesh, 0, 10, 3, 0, 4, 2);
  EXPECT_EQ(radius->GetMeshCount(), 15);
  SetRange(radius->mesh, 0, 10.0005, 2.5, 0, 11, 2);
  EXPECT_EQ(radius->GetMeshCount(), 5 * 7);
  SetRange(radius->mesh, 0, 10, 0, 0, 4, 2);
  EXPECT_EQ(radius->GetMeshCount(), 0);

  struct Case {
    double from, to, pitch;
    int count;
    double orderedFrom, orderedTo;
  };
  const Case cases[] = {
      {10, 2, 2, 5, 2, 10},  // the radii are put in order, in the set
      {2, 11, 2, 5, 2, 11},
      {4, 4, 1, 0, 4, 4},
      {2, 10, 0, 0, 2, 10},
      {10, 2, -2, 0, 10, 2},
      {kNoValue, 10, 2, 0, kNoValue, 10},
  };
  for (const Case& c : cases) {
    auto set = TwoPoints(CDPoint(0, 0), CDPoint(4, 0), c.from, c.to, c.pitch);
    EXPECT_EQ(set->GetMeshCount(), c.count) << c.from << ".." << c.to << " by " << c.pitch;
    EXPECT_EQ(set->radiusFrom, c.orderedFrom);
    EXPECT_EQ(set->radiusTo, c.orderedTo);
  }
}

std::unique_ptr<CSpSlideWork> Straight(const std::vector<CDPoint>& points) {
  auto work = std::make_unique<CSpSlideWork>();
  for (const CDPoint& p : points) work->AddNewPoint(p, nullptr, 0);
  return work;
}

TEST(ArcSetTest, OnlySegmentSetsAskTheSurfaceToMeetTheSegment) {
  const auto set = Segment(CDPoint(0, 0), CDPoint(10, 0), 1);
  struct Case {
    const char* what;
    std::vector<CDPoint> surface;
    bool valid;
  };
  const Case cases[] = {
      {"crossing", {{2, 3}, {5, -3}}, true},
      {"starting 0.0005 below the middle", {{5, -0.0005}, {8, -5}}, true},
      {"starting 0.002 below the middle", {{5, -0.002}, {8, -5}}, false},
      {"starting 0.002 below, ending 0.0009 below",
       {{5, -0.002}, {4, -1}, {6, -0.0009}, {9, -0.0009}},
       true},
      {"running on beyond the end", {{10.0005, 0}, {15, 0}}, false},
      {"ending 0.0005 above the middle", {{9, 5}, {5, 0.0005}}, true},
  };
  for (const Case& c : cases) {
    const auto work = Straight(c.surface);
    EXPECT_EQ(set->IsValidSlide(*work), c.valid) << c.what;
    EXPECT_TRUE(Radii(2, 5, 1)->IsValidSlide(*work)) << c.what;
  }

  const auto vertical = Segment(CDPoint(5, 0), CDPoint(5, 10), 1);
  EXPECT_TRUE(vertical->IsValidSlide(*Straight({{5.0005, 5}, {8, 8}})));
  EXPECT_FALSE(vertical->IsValidSlide(*Straight({{5.0005, 10}, {8, 18}})));  // at the end
  const auto sloped = Segment(CDPoint(0, 0), CDPoint(10, 10), 1);
  EXPECT_TRUE(sloped->IsValidSlide(*Straight({{5.0005, 4.9995}, {9, 1}})));
  EXPECT_FALSE(sloped->IsValidSlide(*Straight({{5.002, 4.998}, {9, 1}})));
}

TEST(ArcSetTest, CopyExceptKeepsTheSettingsAndIgnoresAnotherKind) {
  auto source = Radii(2, 6, 2);
  source->maskOn = 1;
  source->mask.CopyPoints(MakePoly({{-1, -1}, {11, -1}, {-1, 21}}).get());
  source->SetFlagByPoly();
  source->settingA = 7;
  source->SetCaptureMode(1);

  auto target = Radii(1, 9, 1);
  target->settingA = 3;
  target->CopyExcept(Depths(2, 6, 2).get());  // another kind: nothing changes
  EXPECT_EQ(target->rMax, 9);

  target->CopyExcept(source.get());
  EXPECT_EQ(target->rMin, 2);
  EXPECT_EQ(target->rMax, 6);
  EXPECT_EQ(target->rStep, 2);
  EXPECT_EQ(target->maskOn, 1);
  EXPECT_TRUE(target->mask.IsSame(&source->mask));
  EXPECT_TRUE(target->mesh.IsSame(&source->mesh));
  for (int r = 0; r < source->mesh.GetSizeY(); ++r) {
    for (int c = 0; c < source->mesh.GetSizeX(); ++c) {
      EXPECT_EQ(target->mesh.GetFlag(c, r), source->mesh.GetFlag(c, r));
    }
  }
  EXPECT_EQ(source->mesh.GetFlag(2, 2), 0);  // the mask reached the copy
  EXPECT_EQ(target->settingA, 3);
  EXPECT_EQ(target->GetCaptureMode(), 0);
  EXPECT_FALSE(target->IsSame(source.get()));  // settings A differ
  target->settingA = 7;
  EXPECT_TRUE(target->IsSame(source.get()));

  auto two = TwoPoints(CDPoint(1, 2, 5), CDPoint(3, 4, 6), 2, 10, 2);
  CArcSetPass2 copy;
  copy.CopyExcept(two.get());
  EXPECT_TRUE(copy.IsSame(two.get()));
  EXPECT_EQ(copy.pointA.flag, 5);
  EXPECT_EQ(copy.pointB.flag, 6);
}

TEST(ArcSetTest, IsSameComparesTheKindsValues) {
  EXPECT_TRUE(Through(CDPoint(1, 1))->IsSame(Through(CDPoint(1.00005, 1)).get()));
  EXPECT_FALSE(Through(CDPoint(1, 1))->IsSame(Through(CDPoint(1.001, 1)).get()));
  EXPECT_FALSE(Radii(2, 5, 1)->IsSame(Depths(2, 5, 1).get()));
  EXPECT_FALSE(Segment(CDPoint(0, 0), CDPoint(1, 1), 1)
                   ->IsSame(Segment(CDPoint(0, 0), CDPoint(1, 1), 2).get()));
  auto moved = Radii(2, 5, 1);
  moved->mesh.dx = 2;
  EXPECT_FALSE(Radii(2, 5, 1)->IsSame(moved.get()));
}

TEST(ArcSetTest, NewChildMakesAFreshSetOfTheSameKind) {
  std::vector<std::unique_ptr<CArcSetRadius>> sets;
  sets.push_back(Radii(2, 5, 1));
  sets.push_back(Depths(0, 3, 1));
  sets.push_back(Through(CDPoint(1, 1)));
  sets.push_back(TwoPoints(CDPoint(1, 1), CDPoint(5, 1), 2, 10, 2));
  sets.push_back(Segment(CDPoint(1, 1), CDPoint(5, 1), 1));
  for (int kind = 0; kind < kArcSetKindCount; ++kind) {
    const auto& set = sets[static_cast<std::size_t>(kind)];
    EXPECT_EQ(set->WhatKind(), kind);
    const auto child = set->NewChild();
    EXPECT_EQ(child->WhatKind(), kind);
    EXPECT_FALSE(child->IsValid());
  }
}

TEST(ArcSetTest, InitUnsetsTheKindsValuesOnly) {
  auto depth = Depths(0, 3, 1);
  depth->maskOn = 1;
  depth->settingB = 4;
  depth->Init();
  EXPECT_EQ(depth->rMin, kNoValue);
  EXPECT_EQ(depth->rStep, kNoValue);
  EXPECT_EQ(depth->mesh.x2, 10);  // the depth set keeps its mesh
  EXPECT_EQ(depth->maskOn, 1);
  EXPECT_EQ(depth->settingB, 4);

  auto radius = Radii(2, 5, 1);
  radius->Init();
  EXPECT_EQ(radius->mesh.x2, kNoValue);
  EXPECT_EQ(radius->rMax, kNoValue);

  auto segment = Segment(CDPoint(1, 1), CDPoint(2, 2), 1);
  segment->Init();
  EXPECT_FALSE(segment->p1.IsValid());
  EXPECT_EQ(segment->step, kNoValue);
  EXPECT_EQ(segment->mesh.dx, kNoValue);
}

// ---- Records ----

RecordBytes MeshBytes() {
  return std::move(RecordBytes().Double(0).Double(10).Double(5).Double(10).Double(20).Double(5));
}

RecordBytes& MaskBytes(RecordBytes& bytes) {
  return bytes.Int(3)
      .Int(-4)
      .Int(1)
      .Text(u"mask")
      .Int(3)
      .Double(-1)
      .Double(9)
      .Double(11)
      .Double(9)
      .Double(-1)
      .Double(21);
}

template <class Set>
void WithMask(Set& set) {
  set.settingA = 3;
  set.settingB = -4;
  set.maskOn = 1;
  set.mask.CopyPoints(MakePoly({{-1, 9}, {11, 9}, {-1, 21}}).get());
  set.mask.SetName("mask");
  set.SetFlagByPoly();
}

template <class Set>
std::function<std::unique_ptr<Set>()> Differing(std::function<void(Set&)> fill) {
  return [fill] {
    auto set = std::make_unique<Set>();
    SetRange(set->mesh, 1, 2, 1, 1, 2, 1);
    set->settingA = 99;
    set->mask.CopyPoints(MakePoly({{0, 0}, {1, 1}}).get());
    fill(*set);
    return set;
  };
}

// The mesh flags a loaded set rebuilt from its mask: the node (10, 20) lies outside it.
template <class Set>
void ExpectMaskedFlags(const Set& set) {
  EXPECT_EQ(set.mesh.GetFlag(0, 0), 1);
  EXPECT_EQ(set.mesh.GetFlag(2, 2), 0);
}

TEST(ArcSetRecordTest, RadiusAndDepthSets) {
  RecordBytes bytes = MeshBytes();
  bytes.Double(2).Double(5).Double(1);
  MaskBytes(bytes);
  auto radius = Radii(2, 5, 1);
  WithMask(*radius);
  const auto loadedRadius = ExpectRecordContract<CArcSetRadius>({
      .stored = *radius,
      .version = 22,
      .bytes = bytes.Get(),
      .makeTarget = Differing<CArcSetRadius>([](CArcSetRadius& s) { s.rMin = 7; }),
  });
  ExpectMaskedFlags(*loadedRadius);

  auto depth = Depths(2, 5, 1);
  WithMask(*depth);
  const auto loadedDepth = ExpectRecordContract<CArcSetDepth>({
      .stored = static_cast<const CArcSetDepth&>(*depth),
      .version = 22,
      .bytes = bytes.Get(),
      .makeTarget = Differing<CArcSetDepth>([](CArcSetDepth& s) { s.rStep = 7; }),
  });
  ExpectMaskedFlags(*loadedDepth);
}

TEST(ArcSetRecordTest, OnePointSet) {
  RecordBytes bytes = MeshBytes();
  bytes.Double(4).Double(-6);
  MaskBytes(bytes);
  auto set = Through(CDPoint(4, -6));
  WithMask(*set);
  const auto loaded = ExpectRecordContract<CArcSetPass1>({
      .stored = *set,
      .version = 22,
      .bytes = bytes.Get(),
      .makeTarget = Differing<CArcSetPass1>([](CArcSetPass1& s) { s.pass = CDPoint(1, 1); }),
  });
  ExpectMaskedFlags(*loaded);
}

TEST(ArcSetRecordTest, TwoPointSetHasNoMeshAndNoMask) {
  const auto set = TwoPoints(CDPoint(1, 2), CDPoint(3, 4), 5, 6, 0.5);
  ExpectRecordContract<CArcSetPass2>({
      .stored = *set,
      .version = 22,
      .bytes = RecordBytes()
                   .Double(1)
                   .Double(2)
                   .Double(3)
                   .Double(4)
                   .Double(5)
                   .Double(6)
                   .Double(0.5)
                   .Get(),
      .makeTarget = [] { return TwoPoints(CDPoint(9, 9), CDPoint(8, 8), 1, 1, 1); },
  });
}

TEST(ArcSetRecordTest, SegmentSet) {
  RecordBytes bytes = MeshBytes();
  bytes.Double(1).Double(2).Double(3).Double(4).Double(0.25);
  MaskBytes(bytes);
  auto set = Segment(CDPoint(1, 2), CDPoint(3, 4), 0.25);
  WithMask(*set);
  const auto loaded = ExpectRecordContract<CArcSetPass3>({
      .stored = *set,
      .version = 22,
      .bytes = bytes.Get(),
      .makeTarget = Differing<CArcSetPass3>([](CArcSetPass3& s) { s.step = 9; }),
  });
  ExpectMaskedFlags(*loaded);
}

TEST(ArcSetRecordTest, WithoutTheMaskEveryNodeIsActive) {
  RecordBytes bytes = MeshBytes();
  bytes.Double(2)
      .Double(5)
      .Double(1)
      .Int(0)
      .Int(0)
      .Int(0)
      .Text(u"")
      .Int(3)
      .Double(-1)
      .Double(9)
      .Double(11)
      .Double(9)
      .Double(-1)
      .Double(21);
  CArcSetRadius loaded;
  Archive in(bytes.Get());
  loaded.Load(in, 22);
  EXPECT_EQ(loaded.mesh.GetFlag(2, 2), 1);
  EXPECT_EQ(loaded.mask.GetSize(), 3);
}

// ---- Drawing and mouse editing ----

class ArcSetDrawTest : public testing::Test {
 protected:
  void SetUp() override { AttachTestView(view, canvas, 10, 150, 150); }

  std::vector<DevRect> Bands() const { return DrawnRects(canvas, PrimitiveKind::Rectangle); }

  RecordingCanvas canvas;
  CViewInfo view;
};

TEST_F(ArcSetDrawTest, TheRubberBandErasesTheLastRectangleAndDrawsTheNew) {
  auto set = Radii(2, 5, 1);
  set->SetPointCap(CDPoint(1, 1), CDPoint());
  set->OnMouseMove(&view, 1, CDPoint(3, 4));
  EXPECT_EQ(Bands(), (std::vector<DevRect>{{10, 290, 30, 260}}));
  EXPECT_TRUE(set->IsDrawn());
  EXPECT_EQ(set->GetCorner2().x, 3);

  canvas.Clear();
  set->OnMouseMove(&view, 1, CDPoint(5, 2));
  EXPECT_EQ(Bands(), (std::vector<DevRect>{{10, 290, 30, 260}, {10, 290, 50, 280}}));
  for (const DrawnPrimitive& p : canvas.Primitives()) {
    EXPECT_EQ(p.state.rasterOp, RasterOp::NotXorPen);
  }
  EXPECT_EQ(canvas.CurrentRasterOp(), RasterOp::CopyPen);

  canvas.Clear();
  set->OnMouseMove(&view, 0, CDPoint(0, 0));  // the other corner, anchored at corner 2
  EXPECT_EQ(Bands(), (std::vector<DevRect>{{50, 280, 10, 290}, {50, 280, 0, 300}}));

  canvas.Clear();
  set->ResetMouseMove();
  EXPECT_FALSE(set->IsDrawn());
  set->OnMouseMove(&view, 0, CDPoint(1, 0));  // nothing on the screen to erase
  EXPECT_EQ(Bands(), (std::vector<DevRect>{{50, 280, 10, 300}}));
}

TEST_F(ArcSetDrawTest, WithoutTheOtherCornerOnlyTheFlagRises) {
  auto set = Radii(2, 5, 1);
  set->SetPointCap(CDPoint(1, 1), CDPoint());
  set->OnMouseMove(&view, 0, CDPoint(3, 3));  // corner 1 moves, corner 2 is unset
  set->OnMouseMove(&view, 2, CDPoint(3, 3));
  EXPECT_TRUE(canvas.Primitives().empty());
  EXPECT_TRUE(set->IsDrawn());
  EXPECT_EQ(set->GetCorner1().x, 1);
}

TEST_F(ArcSetDrawTest, CapturingSetsAndTheTwoPointSetIgnoreTheMouse) {
  auto one = Through(CDPoint(5, 5));
  auto segment = Segment(CDPoint(1, 1), CDPoint(5, 1), 1);
  auto two = TwoPoints(CDPoint(1, 1), CDPoint(5, 1), 2, 10, 2);
  for (CArcSetRadius* set :
       {static_cast<CArcSetRadius*>(one.get()), static_cast<CArcSetRadius*>(segment.get()),
        static_cast<CArcSetRadius*>(two.get())}) {
    set->SetPointCap(CDPoint(1, 1), CDPoint(2, 2));
    set->SetCaptureMode(1);
    set->OnMouseMove(&view, 1, CDPoint(3, 3));
    EXPECT_FALSE(set->IsDrawn()) << set->WhatKind();
  }
  two->SetCaptureMode(0);
  two->OnMouseMove(&view, 1, CDPoint(3, 3));
  EXPECT_FALSE(two->IsDrawn());
  EXPECT_TRUE(canvas.Primitives().empty());

  one->SetCaptureMode(0);
  one->OnMouseMove(&view, 1, CDPoint(3, 3));
  EXPECT_TRUE(one->IsDrawn());
  EXPECT_EQ(Bands().size(), 1u);
}

TEST_F(ArcSetDrawTest, TheMaskIsOutlinedOverTheGrid) {
  auto set = Radii(2, 5, 1);
  WithMask(*set);
  set->Draw(&view);
  const auto masks = canvas.PrimitivesOf(PrimitiveKind::Polygon);
  ASSERT_EQ(masks.size(), 1u);
  EXPECT_EQ(masks[0].state.pen.color, Color::Rgb(220, 220, 220));
  EXPECT_EQ(masks[0].state.brush.style, BrushStyle::Null);
  EXPECT_EQ(canvas.Primitives().back().kind, PrimitiveKind::Polygon);  // after the grid
  EXPECT_FALSE(canvas.PrimitivesOf(PrimitiveKind::Polyline).empty());

  canvas.Clear();
  set->maskOn = 0;
  set->Draw(&view);
  EXPECT_TRUE(canvas.PrimitivesOf(PrimitiveKind::Polygon).empty());
}

TEST_F(ArcSetDrawTest, PointsAreDotsJoinedByADottedLine) {
  Through(CDPoint(5, 5))->Draw(&view);
  const auto dots = canvas.PrimitivesOf(PrimitiveKind::Ellipse);
  ASSERT_EQ(dots.size(), 1u);
  EXPECT_EQ(dots[0].rect, (DevRect{47, 247, 53, 253}));
  EXPECT_EQ(dots[0].state.pen, (Pen{PenStyle::Solid, 2, kPointColor}));
  EXPECT_EQ(dots[0].state.brush, (Brush{BrushStyle::Solid, kPointColor}));

  canvas.Clear();
  TwoPoints(CDPoint(1, 1), CDPoint(5, 1), 2, 10, 2)->Draw(&view);
  EXPECT_EQ(DrawnRects(canvas, PrimitiveKind::Ellipse),
            (std::vector<DevRect>{{7, 287, 13, 293}, {47, 287, 53, 293}}));
  const auto lines = canvas.PrimitivesOf(PrimitiveKind::Line);
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0].points, (std::vector<DevPoint>{{10, 290}, {50, 290}}));
  EXPECT_EQ(lines[0].state.pen, (Pen{PenStyle::Dot, 1, kPointColor}));
  EXPECT_EQ(lines[0].state.backgroundMode, BackgroundMode::Transparent);
  EXPECT_TRUE(canvas.PrimitivesOf(PrimitiveKind::Polyline).empty());  // no mesh
  EXPECT_EQ(canvas.CurrentBackgroundMode(), BackgroundMode::Opaque);
  EXPECT_EQ(canvas.CurrentPen(), Pen{});

  canvas.Clear();
  TwoPoints(CDPoint(1, 1), CDPoint(), 2, 10, 2)->Draw(&view);
  EXPECT_EQ(canvas.PrimitivesOf(PrimitiveKind::Ellipse).size(), 1u);
  EXPECT_TRUE(canvas.PrimitivesOf(PrimitiveKind::Line).empty());
}

TEST_F(ArcSetDrawTest, TheSegmentIsLeftOutOfPrints) {
  const auto segment = Segment(CDPoint(1, 1), CDPoint(5, 1), 1);
  segment->Draw(&view);
  EXPECT_EQ(canvas.PrimitivesOf(PrimitiveKind::Ellipse).size(), 2u);
  EXPECT_EQ(canvas.PrimitivesOf(PrimitiveKind::Line).size(), 1u);

  canvas.Clear();
  view.ModePrint();
  segment->Draw(&view);
  EXPECT_TRUE(canvas.PrimitivesOf(PrimitiveKind::Ellipse).empty());
  EXPECT_TRUE(canvas.PrimitivesOf(PrimitiveKind::Line).empty());
  EXPECT_FALSE(canvas.PrimitivesOf(PrimitiveKind::Polyline).empty());  // the mesh is printed
}

}  // namespace
