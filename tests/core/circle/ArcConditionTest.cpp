#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "core/circle/ArcCondition.h"
#include "core/circle/CircleRecordVersion.h"
#include "core/geometry/ViewInfo.h"
#include "core/section/SpSlideWork.h"
#include "platform/Archive.h"
#include "platform/RecordingCanvas.h"
#include "tests/support/DrawTestUtil.h"
#include "tests/support/RecordBytes.h"
#include "tests/support/RecordContract.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

const Color kMeshColor = Color::Rgb(180, 180, 180);
const Color kLimitColor = Color::Rgb(128, 128, 128);

std::unique_ptr<CSpSlideWork> Straight(const std::vector<CDPoint>& points) {
  auto work = std::make_unique<CSpSlideWork>();
  for (const CDPoint& p : points) work->AddNewPoint(p, nullptr, 0);
  return work;
}

// A trial surface from (2, 8) down to (6, 1) and up to (10, 6).
std::unique_ptr<CSpSlideWork> Vee() { return Straight({{2, 8}, {6, 1}, {10, 6}}); }

void SetMesh(CCenterMesh& mesh) {
  mesh.x1 = 0;
  mesh.x2 = 10;
  mesh.dx = 5;
  mesh.y1 = 10;
  mesh.y2 = 20;
  mesh.dy = 5;
  mesh.ResetFlag();
}

TEST(ArcConditionTest, ANewConditionPassesEverySurface) {
  const CArcCondition condition;
  EXPECT_EQ(condition.kind, kArcSetRadius);
  EXPECT_EQ(condition.limit.xOn, 0);
  EXPECT_EQ(condition.limit.yOn, 0);
  EXPECT_EQ(condition.limit.xMax, kNoValue);
  EXPECT_EQ(condition.passLine.GetLines().GetSize(), 0);
  EXPECT_EQ(condition.notPassLine.GetLines().GetSize(), 0);
  EXPECT_EQ(condition.passLine.GetColor(), Color::Rgb(32, 182, 76));
  EXPECT_EQ(condition.notPassLine.GetColor(), Color::Rgb(175, 100, 100));
  EXPECT_EQ(condition.GetCurKind(), CArcCondition::kEditNone);
  EXPECT_EQ(condition.GetCurPtId(), 0);
  EXPECT_EQ(condition.passLine.GetActiveID(), -1);
  const auto work = Vee();
  EXPECT_TRUE(condition.CheckLimit(*work));
  EXPECT_TRUE(condition.CheckPassLine(*work));
  EXPECT_TRUE(condition.CheckNotPassLine(*work));
  EXPECT_FALSE(condition.IsValid());  // the radius set holds no values yet
}

TEST(ArcConditionTest, EndLimits) {
  struct Case {
    const char* what;
    CArcLimit limit;
    bool valid;
    bool admits;  // the surface spans x 2..10 and y 1..8
  };
  const Case cases[] = {
      {"x maximum at the right end", {1, 0, kNoValue, 10, kNoValue, kNoValue}, true, true},
      {"x maximum 0.001 short", {1, 0, kNoValue, 9.999, kNoValue, kNoValue}, true, false},
      {"x minimum at the left end", {1, 0, 2, kNoValue, kNoValue, kNoValue}, true, true},
      {"x minimum 0.001 beyond", {1, 0, 2.001, kNoValue, kNoValue, kNoValue}, true, false},
      {"x limit off", {0, 0, 5, 6, kNoValue, kNoValue}, true, true},
      {"x limit without bounds", {1, 0, kNoValue, kNoValue, kNoValue, kNoValue}, false, true},
      {"y minimum at the bottom", {0, 1, kNoValue, kNoValue, 1, kNoValue}, true, true},
      {"y minimum above the bottom", {0, 1, kNoValue, kNoValue, 1.001, kNoValue}, true, false},
      {"y maximum below the top", {0, 1, kNoValue, kNoValue, kNoValue, 7.999}, true, false},
      {"y limit without bounds", {0, 1, kNoValue, kNoValue, kNoValue, kNoValue}, false, true},
  };
  const auto work = Vee();
  for (const Case& c : cases) {
    CArcCondition condition;
    condition.limit = c.limit;
    EXPECT_EQ(c.limit.IsValid(), c.valid) << c.what;
    EXPECT_EQ(condition.CheckLimit(*work), c.admits) << c.what;
  }
}

// The dialog stores a limit row in ascending order, but only when both ends are set: a lone
// bound keeps its side ("left end at x >= 5" stays so), and the limit reads an open end as open.
TEST(ArcConditionTest, OrderSwapsOnlyTwoSetBounds) {
  struct Case {
    const char* what;
    double min, max;
    double orderedMin, orderedMax;
    bool admitsLeftAt3, admitsLeftAt7;
  };
  const Case cases[] = {
      {"5 / empty", 5, kNoValue, 5, kNoValue, false, true},
      {"empty / 5", kNoValue, 5, kNoValue, 5, true, false},
      {"8 / 3", 8, 3, 3, 8, true, true},
      {"3 / 8", 3, 8, 3, 8, true, true},
  };
  for (const Case& c : cases) {
    CArcLimit limit{1, 1, c.min, c.max, c.min, c.max};
    limit.Order();
    EXPECT_EQ(limit.xMin, c.orderedMin) << c.what;
    EXPECT_EQ(limit.xMax, c.orderedMax) << c.what;
    EXPECT_EQ(limit.yMin, c.orderedMin) << c.what;
    EXPECT_EQ(limit.yMax, c.orderedMax) << c.what;
    limit.yOn = 0;
    // Surfaces 2 wide, so that the right end stays within an upper bound of 8 but not of 5.
    EXPECT_EQ(limit.Admits(*Straight({{3, 4}, {4, 2}, {5, 4}})), c.admitsLeftAt3) << c.what;
    EXPECT_EQ(limit.Admits(*Straight({{7, 4}, {7.5, 2}, {8, 4}})), c.admitsLeftAt7) << c.what;
  }
}

TEST(ArcConditionTest, PassAndNotPassLines) {
  CArcCondition condition;
  condition.passLine.GetLines().AddLine(0, 4, 6, 4);                 // crossed
  condition.passLine.GetLines().AddLine(CDPoint(11, 0), CDPoint());  // incomplete: ignored
  const auto work = Vee();
  EXPECT_TRUE(condition.CheckPassLine(*work));
  condition.passLine.GetLines().AddLine(12, 0, 12, 9);  // not crossed
  EXPECT_FALSE(condition.CheckPassLine(*work));

  condition.notPassLine.GetLines().AddLine(12, 0, 12, 9);
  condition.notPassLine.GetLines().AddLine(CDPoint(), CDPoint(3, 3));
  EXPECT_TRUE(condition.CheckNotPassLine(*work));
  condition.notPassLine.GetLines().AddLine(8, 0, 8, 9);  // crossed
  EXPECT_FALSE(condition.CheckNotPassLine(*work));

  condition.passLine.RemoveValidNot();
  condition.notPassLine.RemoveValidNot();
  ASSERT_EQ(condition.passLine.GetLines().GetSize(), 2);
  EXPECT_EQ(condition.passLine.GetLines().GetAt(1)->start.x, 12);
  EXPECT_EQ(condition.notPassLine.GetLines().GetSize(), 2);
}

TEST(ArcConditionTest, TheSelectedSetDecidesValidityAndTheAreaTest) {
  CArcCondition condition;
  condition.kind = kArcSetPass3;
  SetMesh(condition.setPass3.mesh);
  condition.setPass3.p1 = CDPoint(0, 4);
  condition.setPass3.p2 = CDPoint(20, 4);
  condition.setPass3.step = 1;
  EXPECT_EQ(condition.GetSelectArcSet(), &condition.setPass3);
  EXPECT_TRUE(condition.IsValid());

  const auto work = Vee();  // spans x 2..10, y 1..8 and crosses y = 4
  const CDPoint p4;
  EXPECT_TRUE(
      condition.IsAreaInArc(*work, CDPoint(0, 0.98), CDPoint(1.98, 0), CDPoint(10.02, 0), p4));
  EXPECT_FALSE(
      condition.IsAreaInArc(*work, CDPoint(0, 0.995), CDPoint(1.98, 0), CDPoint(10.02, 0), p4));
  EXPECT_FALSE(
      condition.IsAreaInArc(*work, CDPoint(0, 0.98), CDPoint(1.995, 0), CDPoint(10.02, 0), p4));
  EXPECT_FALSE(
      condition.IsAreaInArc(*work, CDPoint(0, 0.98), CDPoint(1.98, 0), CDPoint(10.005, 0), p4));
  condition.setPass3.p1 = CDPoint(0, 20);
  condition.setPass3.p2 = CDPoint(20, 20);  // the surface no longer meets the segment
  EXPECT_FALSE(
      condition.IsAreaInArc(*work, CDPoint(0, 0.98), CDPoint(1.98, 0), CDPoint(10.02, 0), p4));

  for (const int kind : {-1, 5}) {
    condition.kind = kind;
    EXPECT_EQ(condition.GetSelectArcSet(), nullptr);
    EXPECT_FALSE(condition.IsValid());
    EXPECT_FALSE(
        condition.IsAreaInArc(*work, CDPoint(0, 0.98), CDPoint(1.98, 0), CDPoint(10.02, 0), p4));
  }
}

// A condition with a value in every stored field.
void Fill(CArcCondition& condition) {
  condition.kind = kArcSetPass1;
  SetMesh(condition.setRadius.mesh);
  condition.setRadius.rMin = 2;
  condition.setRadius.rMax = 5;
  condition.setRadius.rStep = 1;
  condition.setRadius.settingA = 6;
  condition.setPass2.pointA = CDPoint(1, 2);
  condition.limit = CArcLimit{1, 0, kNoValue, 20, kNoValue, kNoValue};
  condition.passLine.GetLines().AddLine(1, 2, 3, 4);
}

TEST(ArcConditionTest, CopyTakesEverythingButTheSetsSettings) {
  CArcCondition source;
  Fill(source);
  source.notPassLine.GetLines().AddLine(5, 6, 7, 8);
  source.notPassLine.SetColor(Color::Rgb(1, 2, 3));
  CArcCondition copy;
  copy.Copy(&source);
  EXPECT_EQ(copy.kind, kArcSetPass1);
  EXPECT_EQ(copy.setRadius.rMax, 5);
  EXPECT_EQ(copy.setRadius.settingA, 0);
  EXPECT_TRUE(copy.setPass2.pointA.IsValid());
  EXPECT_TRUE(copy.limit.IsSame(&source.limit));
  EXPECT_TRUE(copy.passLine.IsSame(&source.passLine));
  EXPECT_TRUE(copy.notPassLine.IsSame(&source.notPassLine));
  EXPECT_FALSE(copy.IsSame(&source));
  copy.setRadius.settingA = 6;
  EXPECT_TRUE(copy.IsSame(&source));
  EXPECT_TRUE(copy.IsSameUseCale(&source));
}

TEST(ArcConditionTest, TheNotPassColourCountsForTheConditionOnly) {
  CArcCondition a;
  CArcCondition b;
  a.notPassLine.GetLines().AddLine(1, 1, 2, 2);
  b.notPassLine.GetLines().AddLine(1, 1, 2, 2);
  b.notPassLine.SetColor(Color::Rgb(1, 2, 3));
  EXPECT_FALSE(a.IsSame(&b));
  EXPECT_FALSE(a.IsSameUseCale(&b));
  EXPECT_TRUE(a.notPassLine.IsSameUseCale(&b.notPassLine));
  EXPECT_FALSE(a.notPassLine.IsSame(&b.notPassLine));
}

// ---- Records ----

RecordBytes& Unset(RecordBytes& bytes, int count) {
  for (int i = 0; i < count; ++i) bytes.Double(kNoValue);
  return bytes;
}

RecordBytes& NoMask(RecordBytes& bytes, int settingA = 0) {
  return bytes.Int(settingA).Int(0).Int(0).Text(u"").Int(0);
}

// The five set records of a condition filled by Fill.
RecordBytes SetBytes() {
  RecordBytes bytes;
  bytes.Double(0).Double(10).Double(5).Double(10).Double(20).Double(5);  // radius set
  bytes.Double(2).Double(5).Double(1);
  NoMask(bytes, 6);
  NoMask(Unset(bytes, 6 + 3));  // depth set
  NoMask(Unset(bytes, 6 + 2));  // one-point set
  bytes.Double(1).Double(2);    // two-point set
  Unset(bytes, 5);
  NoMask(Unset(bytes, 6 + 5));  // segment set
  return bytes;
}

RecordBytes& LimitAndLines(RecordBytes& bytes) {
  bytes.Int(1).Int(0).Double(kNoValue).Double(20).Double(kNoValue).Double(kNoValue);
  bytes.Int(1).Double(1).Double(2).Int(0).Double(3).Double(4).Int(0).Color(
      CArcPassLine::kPassColor);
  return bytes.Int(0).Color(CArcPassLine::kNotPassColor);
}

Bytes ConditionBytes() {
  RecordBytes bytes;
  bytes.Int(kArcSetPass1).Raw(SetBytes().Get());
  return LimitAndLines(bytes).Get();
}

// Differs from Fill in every stored field.
std::unique_ptr<CArcCondition> Other() {
  auto condition = std::make_unique<CArcCondition>();
  condition->kind = kArcSetPass3;
  for (CArcSetRadius* set : {static_cast<CArcSetRadius*>(&condition->setRadius),
                             static_cast<CArcSetRadius*>(&condition->setDepth),
                             static_cast<CArcSetRadius*>(&condition->setPass1),
                             static_cast<CArcSetRadius*>(&condition->setPass3)}) {
    set->mesh.x1 = 7;
    set->settingB = 9;
  }
  condition->setRadius.rMin = 9;
  condition->setPass2.pitch = 9;
  condition->limit = CArcLimit{0, 1, 1, 2, 3, 4};
  condition->passLine.GetLines().AddLine(9, 9, 8, 8);
  condition->passLine.SetColor(Color::Rgb(9, 9, 9));
  condition->notPassLine.GetLines().AddLine(9, 9, 8, 8);
  condition->notPassLine.SetColor(Color::Rgb(8, 8, 8));
  return condition;
}

TEST(ArcConditionRecordTest, RecordContract) {
  CArcCondition stored;
  Fill(stored);
  ExpectRecordContract<CArcCondition>({
      .stored = stored,
      .version = kCircleRecordVersion,
      .bytes = ConditionBytes(),
      .makeTarget = Other,
  });
}

std::unique_ptr<CArcCondition> LoadedOver(const Bytes& bytes, int version) {
  auto condition = Other();
  Archive in(bytes);
  condition->Load(in, version);
  EXPECT_EQ(in.Remaining(), 0u) << "version " << version;
  return condition;
}

TEST(ArcConditionRecordTest, OlderFormatsReadTheirOwnLayouts) {
  CArcCondition filled;
  Fill(filled);
  const auto other = Other();

  // Version 4: twelve doubles stand for the limit and the lines, and a list of ints ends it.
  RecordBytes v4;
  v4.Int(kArcSetPass1).Raw(SetBytes().Get());
  Unset(v4, 12).Int(2).Int(7).Int(8);
  const auto fromV4 = LoadedOver(v4.Get(), 4);
  EXPECT_EQ(fromV4->kind, kArcSetPass1);
  EXPECT_TRUE(fromV4->setRadius.IsSame(&filled.setRadius));
  EXPECT_TRUE(fromV4->limit.IsSame(&other->limit));  // kept as they were
  EXPECT_TRUE(fromV4->passLine.IsSame(&other->passLine));
  EXPECT_TRUE(fromV4->notPassLine.IsSame(&other->notPassLine));

  // Version 8: the limit and the lines, then the list of ints.
  RecordBytes v8;
  v8.Raw(ConditionBytes()).Int(1).Int(5);
  EXPECT_TRUE(LoadedOver(v8.Get(), 8)->IsSame(&filled));

  // Version 10 and the current format: no list.
  EXPECT_TRUE(LoadedOver(ConditionBytes(), 10)->IsSame(&filled));
  EXPECT_TRUE(LoadedOver(ConditionBytes(), kCircleRecordVersion)->IsSame(&filled));
}

TEST(ArcConditionRecordTest, ADamagedTailChangesNothing) {
  RecordBytes bytes;
  bytes.Raw(ConditionBytes()).Int(-1);
  CArcCondition condition;
  Fill(condition);
  Archive in(bytes.Get());
  EXPECT_THROW(condition.Load(in, 8), ArchiveException);
  CArcCondition filled;
  Fill(filled);
  EXPECT_TRUE(condition.IsSame(&filled));
}

TEST(ArcConditionRecordTest, LimitAndLineRecords) {
  ExpectRecordContract<CArcLimit>({
      .stored = CArcLimit{1, 0, -2.5, kNoValue, 3, 4},
      .version = kCircleRecordVersion,
      .bytes = RecordBytes().Int(1).Int(0).Double(-2.5).Double(kNoValue).Double(3).Double(4).Get(),
      .makeTarget =
          [] {
            return std::make_unique<CArcLimit>(CArcLimit{0, 1, 1, 2, 5, 6});
          },
  });

  CArcPassLine lines;
  lines.GetLines().AddLine(CDPoint(1, 2, 3), CDPoint(4, 5, 6));
  lines.SetColor(Color::Rgb(1, 2, 3));
  ExpectRecordContract<CArcPassLine>({
      .stored = lines,
      .version = kCircleRecordVersion,
      .bytes = RecordBytes()
                   .Int(1)
                   .Double(1)
                   .Double(2)
                   .Int(3)
                   .Double(4)
                   .Double(5)
                   .Int(6)
                   .Color(Color::Rgb(1, 2, 3))
                   .Get(),
      .makeTarget =
          [] {
            auto target = std::make_unique<CArcPassLine>();
            target->GetLines().AddLine(9, 9, 8, 8);
            target->GetLines().AddLine(7, 7, 6, 6);
            return target;
          },
  });
}

TEST(CircleRecordVersionTest, TheOutermostRecordWritesTheFormatOnce) {
  Archive out;
  EXPECT_EQ(StoreCircleRecordVersion(out), kCircleRecordVersion);
  EXPECT_EQ(out.Bytes(), RecordBytes().Int(22).Get());

  for (const int version : {1, 4, 8, 10, 22}) {
    Archive in(RecordBytes().Int(version).Get());
    EXPECT_EQ(LoadCircleRecordVersion(in), version);
  }
  for (const int version : {0, -1, 23}) {
    Archive in(RecordBytes().Int(version).Get());
    try {
      LoadCircleRecordVersion(in);
      ADD_FAILURE() << "version " << version << " was read";
    } catch (const ArchiveException& e) {
      EXPECT_EQ(e.GetCause(), ArchiveException::Cause::BadFormat);
    }
  }
}

// A condition stored under a format version that its outermost record wrote loads whole: the
// slice records of the results (read as 32 values only above version 20) and the condition's
// own gates agree on one version.
TEST(CircleRecordVersionTest, WhatIsStoredUnderTheWrittenVersionLoadsWhole) {
  CArcCondition stored;
  Fill(stored);
  Archive out;
  const int version = StoreCircleRecordVersion(out);
  stored.Store(out, version);

  Archive in(out.Bytes());
  CArcCondition loaded;
  loaded.Load(in, LoadCircleRecordVersion(in));
  EXPECT_EQ(in.Remaining(), 0u);
  EXPECT_TRUE(loaded.IsSame(&stored));
}

// ---- Drawing and mouse editing ----

class ArcConditionViewTest : public testing::Test {
 protected:
  void SetUp() override {
    AttachTestView(view, canvas, 10, 150, 150);
    CDLine::ResetMouseMove();
  }

  RecordingCanvas canvas;
  CViewInfo view;
};

std::string PenName(const DrawnPrimitive& p) {
  const Pen& pen = p.state.pen;
  if (pen.color == kMeshColor) return "mesh";
  if (pen.color == kLimitColor && pen.style == PenStyle::Dot) return "limit";
  if (pen.color == CArcPassLine::kPassColor && pen.width == 2) return "pass";
  if (pen.color == CArcPassLine::kNotPassColor && pen.width == 2) return "not pass";
  return "other";
}

std::vector<std::string> DrawingOrder(const RecordingCanvas& canvas) {
  std::vector<std::string> order;
  for (const DrawnPrimitive& p : canvas.Primitives()) {
    const std::string name = PenName(p);
    if (order.empty() || order.back() != name) order.push_back(name);
  }
  return order;
}

TEST_F(ArcConditionViewTest, DrawsTheSelectedSetThenTheLimitThenTheLines) {
  CArcCondition condition;
  SetMesh(condition.setRadius.mesh);
  condition.limit = CArcLimit{1, 1, 5, kNoValue, kNoValue, 12};
  condition.passLine.GetLines().AddLine(1, 1, 2, 2);
  condition.passLine.GetLines().AddLine(CDPoint(), CDPoint(2, 2));  // incomplete: not drawn
  condition.notPassLine.GetLines().AddLine(3, 3, 4, 4);
  condition.Draw(&view);
  EXPECT_EQ(DrawingOrder(canvas), (std::vector<std::string>{"mesh", "limit", "pass", "not pass"}));
  // One vertical limit line across the world area, one horizontal one.
  const auto lines = DrawnPoints(canvas, PrimitiveKind::Line);
  ASSERT_EQ(lines.size(), 4u);
  EXPECT_EQ(lines[0], (std::vector<DevPoint>{{50, 0}, {50, 300}}));
  EXPECT_EQ(lines[1], (std::vector<DevPoint>{{0, 180}, {300, 180}}));
  EXPECT_EQ(lines[2], (std::vector<DevPoint>{{10, 290}, {20, 280}}));
  EXPECT_EQ(canvas.CurrentPen(), Pen{});

  canvas.Clear();
  condition.kind = 9;  // no set selected
  condition.limit.xMin = kNoValue;
  condition.limit.yMax = kNoValue;  // not valid: not drawn
  condition.Draw(&view);
  EXPECT_EQ(DrawingOrder(canvas), (std::vector<std::string>{"pass", "not pass"}));
}

TEST_F(ArcConditionViewTest, MouseMovesGoToWhatIsUnderEdit) {
  CArcCondition condition;
  condition.setRadius.SetPointCap(CDPoint(1, 1), CDPoint());
  condition.passLine.GetLines().AddLine(1, 1, 5, 5);
  condition.passLine.SetActiveID(0);
  condition.notPassLine.GetLines().AddLine(2, 2, 6, 6);
  condition.notPassLine.SetActiveID(0);

  condition.OnMouseMove(&view, CDPoint(3, 3));  // nothing under edit
  EXPECT_TRUE(canvas.Primitives().empty());

  condition.SetCurKind(CArcCondition::kEditArcSet);
  condition.SetCurPtId(1);
  condition.OnMouseMove(&view, CDPoint(3, 4));
  EXPECT_EQ(DrawnRects(canvas, PrimitiveKind::Rectangle),
            (std::vector<DevRect>{{10, 290, 30, 260}}));
  EXPECT_TRUE(condition.setRadius.IsDrawn());
  condition.ResetMouseMove();
  EXPECT_FALSE(condition.setRadius.IsDrawn());

  canvas.Clear();
  condition.kind = kArcSetPass2;  // a set that ignores the mouse
  condition.OnMouseMove(&view, CDPoint(3, 4));
  condition.kind = 7;  // no set
  condition.OnMouseMove(&view, CDPoint(3, 4));
  condition.ResetMouseMove();
  EXPECT_TRUE(canvas.Primitives().empty());

  condition.SetCurKind(CArcCondition::kEditPassLine);  // the end moves, anchored at the start
  condition.OnMouseMove(&view, CDPoint(3, 4));
  EXPECT_EQ(DrawnPoints(canvas, PrimitiveKind::Line),
            (std::vector<std::vector<DevPoint>>{{{10, 290}, {30, 260}}}));
  EXPECT_TRUE(CDLine::bMovCap);
  condition.ResetMouseMove();
  EXPECT_FALSE(CDLine::bMovCap);

  canvas.Clear();
  condition.SetCurKind(CArcCondition::kEditNotPassLine);
  condition.SetCurPtId(0);  // the start moves, anchored at the end
  condition.OnMouseMove(&view, CDPoint(3, 4));
  EXPECT_EQ(DrawnPoints(canvas, PrimitiveKind::Line),
            (std::vector<std::vector<DevPoint>>{{{60, 240}, {30, 260}}}));

  // Without an active line nothing follows the mouse and the band stays as it is.
  canvas.Clear();
  condition.notPassLine.SetActiveID(-1);
  condition.OnMouseMove(&view, CDPoint(5, 5));
  condition.ResetMouseMove();
  EXPECT_TRUE(canvas.Primitives().empty());
  EXPECT_TRUE(CDLine::bMovCap);
  condition.notPassLine.SetActiveID(3);  // outside the list
  EXPECT_EQ(condition.notPassLine.GetActiveLine(), nullptr);
}

}  // namespace
