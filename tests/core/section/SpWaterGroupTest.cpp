#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

#include "core/geometry/ViewInfo.h"
#include "core/section/SpWaterGroup.h"
#include "platform/Archive.h"
#include "platform/RecordingCanvas.h"
#include "tests/support/DrawTestUtil.h"
#include "tests/support/PolyTestUtil.h"
#include "tests/support/RecordBytes.h"
#include "tests/support/RecordContract.h"
#include "tests/support/ScriptedUi.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

const Color kBlue = Color::Rgb(0, 0, 255);
const Color kDarkRed{128};

void SetPoints(CSpWater& line, std::initializer_list<CDPoint> points) {
  line.DeleteAll();
  for (const CDPoint& p : points) line.Add(std::make_shared<CDPoint>(p));
}

// The water level at 0, the upper water level at 5 and the impermeable layer at 3 below it,
// wider on both sides: an upper water layer that can be built.
std::unique_ptr<CSpWaterGroup> Layered() {
  auto group = std::make_unique<CSpWaterGroup>();
  SetPoints(group->GetWater(), {{0, 0}, {30, 0}});
  SetPoints(group->GetUpper(), {{5, 5}, {25, 5}});
  SetPoints(group->GetImpermeable(), {{0, 3}, {30, 3}});
  group->SetUpperOn(1);
  return group;
}

TEST(SpWaterGroupTest, NewGroupHasThreeEmptyLinesAndNoUpperLayer) {
  const CSpWaterGroup group;
  for (const CSpWater* line : {&group.GetWater(), &group.GetUpper(), &group.GetImpermeable()}) {
    EXPECT_EQ(line->GetName(), "水位");
    EXPECT_EQ(line->GetSize(), 0);
  }
  EXPECT_EQ(group.GetWater().GetColor(), kBlue);
  EXPECT_EQ(group.GetWater().GetPenStyle(), PenStyle::DashDot);
  EXPECT_EQ(group.GetUpper().GetColor(), kBlue);
  EXPECT_EQ(group.GetUpper().GetPenStyle(), PenStyle::DashDot);
  EXPECT_EQ(group.GetImpermeable().GetColor(), kDarkRed);
  EXPECT_EQ(group.GetImpermeable().GetPenStyle(), PenStyle::Dash);
  EXPECT_EQ(group.GetUpperOn(), 0);
  EXPECT_EQ(group.GetViewMode(), CSpWaterGroup::kViewNone);
}

TEST(SpWaterGroupTest, InitResetsTheSwitchesAndTheLayersLookButKeepsThePoints) {
  auto group = Layered();
  group->SetViewMode(CSpWaterGroup::kViewUpper);
  group->GetImpermeable().SetColor(kBlue);
  group->GetImpermeable().SetPenStyle(PenStyle::Solid);
  group->Init();
  EXPECT_EQ(group->GetViewMode(), CSpWaterGroup::kViewNone);
  EXPECT_EQ(group->GetUpperOn(), 0);
  EXPECT_EQ(group->GetImpermeable().GetColor(), kDarkRed);
  EXPECT_EQ(group->GetImpermeable().GetPenStyle(), PenStyle::Dash);
  EXPECT_EQ(group->GetUpper().GetSize(), 2);
}

// ---- Record ----

RecordBytes& AppendLine(RecordBytes& bytes, Color colour, double y) {
  return bytes.Color(colour).Text(u"水位").Int(2).Double(0).Double(y).Double(30).Double(y);
}

std::unique_ptr<CSpWaterGroup> Written() {
  auto group = std::make_unique<CSpWaterGroup>();
  SetPoints(group->GetWater(), {{0, 0}, {30, 0}});
  SetPoints(group->GetUpper(), {{0, 5}, {30, 5}});
  SetPoints(group->GetImpermeable(), {{0, 3}, {30, 3}});
  group->SetUpperOn(1);
  return group;
}

std::unique_ptr<CSpWaterGroup> Target() {
  auto group = std::make_unique<CSpWaterGroup>();
  SetPoints(group->GetWater(), {{7, 7}});
  SetPoints(group->GetUpper(), {{8, 8}});
  return group;
}

bool SameGroup(const CSpWaterGroup& a, const CSpWaterGroup& b) {
  return a.IsSame(b) && a.GetWater().GetName() == b.GetWater().GetName() &&
         a.GetImpermeable().GetPenStyle() == b.GetImpermeable().GetPenStyle();
}

TEST(SpWaterGroupTest, RecordWithTheUpperLayerFromVersionTwenty) {
  RecordBytes bytes;
  AppendLine(bytes, kBlue, 0);
  AppendLine(bytes, kBlue, 5);
  AppendLine(bytes, kDarkRed, 3);
  bytes.Int(1);
  ExpectRecordContract<CSpWaterGroup>({.stored = *Written(),
                                       .version = 20,
                                       .bytes = bytes.Get(),
                                       .makeTarget = Target,
                                       .same = SameGroup});
}

// A current document (version 10) holds the water line only: storing writes no more than
// loading reads.
TEST(SpWaterGroupTest, CurrentDocumentHoldsTheWaterLineOnly) {
  RecordBytes bytes;
  AppendLine(bytes, kBlue, 0);
  Archive out;
  Written()->Store(out, 10);
  EXPECT_EQ(out.Bytes(), bytes.Get());

  for (const int version : {10, 19}) {
    const auto group = Target();
    group->SetUpperOn(1);
    Archive in(bytes.Get());
    group->Load(in, version);
    EXPECT_EQ(in.Remaining(), 0u);
    ExpectPoints(group->GetWater(), {{0, 0}, {30, 0}});
    ExpectPoints(group->GetUpper(), {{8, 8}});
    EXPECT_EQ(group->GetUpperOn(), 1);
  }
  ExpectRecordContract<CSpWaterGroup>({
      .stored = *Target(),
      .version = 10,
      .bytes = RecordBytes().Color(kBlue).Text(u"水位").Int(1).Double(7).Double(7).Get(),
      .makeTarget = [] { return std::make_unique<CSpWaterGroup>(); },
      .same = [](const CSpWaterGroup& a,
                 const CSpWaterGroup& b) { return a.GetWater().IsSame(&b.GetWater()); },
  });
}

// ---- Copies and comparisons ----

TEST(SpWaterGroupTest, CopyTakesLinesAndSwitchCopyPointsOnlyThePoints) {
  auto source = Layered();
  source->GetUpper().SetColor(kDarkRed);
  source->GetUpper().SetPenStyle(PenStyle::Dot);
  source->GetWater().SetName("other");

  CSpWaterGroup copied;
  copied.Copy(*source);
  EXPECT_TRUE(copied.IsSame(*source));
  EXPECT_EQ(copied.GetUpper().GetPenStyle(), PenStyle::Dot);
  EXPECT_EQ(copied.GetWater().GetName(), "水位");

  CSpWaterGroup pointsOnly;
  pointsOnly.CopyPoints(*source);
  EXPECT_EQ(pointsOnly.GetUpperOn(), 1);
  ExpectPoints(pointsOnly.GetUpper(), {{5, 5}, {25, 5}});
  EXPECT_EQ(pointsOnly.GetUpper().GetColor(), kBlue);
  EXPECT_FALSE(pointsOnly.IsSameClr(*source));
  EXPECT_FALSE(pointsOnly.IsSame(*source));
}

TEST(SpWaterGroupTest, IsSameNeedsLinesSwitchAndColours) {
  const auto base = Layered();
  EXPECT_TRUE(Layered()->IsSame(*base));
  auto moved = Layered();
  moved->GetImpermeable().GetAt(1)->y = 3.5;
  EXPECT_FALSE(moved->IsSame(*base));
  auto off = Layered();
  off->SetUpperOn(0);
  EXPECT_FALSE(off->IsSame(*base));
  auto recoloured = Layered();
  recoloured->GetWater().SetColor(kDarkRed);
  EXPECT_FALSE(recoloured->IsSameClr(*base));
  EXPECT_FALSE(recoloured->IsSame(*base));
  // The pen style is not part of the comparison.
  auto restyled = Layered();
  restyled->GetWater().SetPenStyle(PenStyle::Solid);
  EXPECT_TRUE(restyled->IsSame(*base));
}

// ---- The check of the upper water layer ----

TEST(SpWaterGroupTest, TheUpperLayerCheckNamesEveryReasonInOrder) {
  struct Case {
    const char* name;
    std::vector<CDPoint> water;
    std::vector<CDPoint> upper;
    std::vector<CDPoint> impermeable;
    std::string reasons;
  };
  const Case cases[] = {
      {"layered", {{0, 0}, {30, 0}}, {{5, 5}, {25, 5}}, {{0, 3}, {30, 3}}, ""},
      {"layer exactly as wide", {{0, 0}, {30, 0}}, {{5, 5}, {25, 5}}, {{5, 3}, {25, 3}}, ""},
      {"water crosses both",
       {{0, 0}, {30, 10}},
       {{5, 5}, {25, 5}},
       {{0, 3}, {30, 3}},
       "\n・水位線と上部水位線が交差しています。\n・水位線と不透水層線が交差しています。"},
      {"upper crosses the layer",
       {{0, 0}, {30, 0}},
       {{5, 5}, {25, 2}},
       {{0, 3}, {30, 3}},
       "\n・上部水位線と不透水層線が交差しています。"
       "\n・上部水位線が不透水層線より低い位置に配置してます。"},
      {"layer too narrow on the left",
       {{0, 0}, {30, 0}},
       {{5, 5}, {25, 5}},
       {{6, 3}, {30, 3}},
       "\n・不透水層線は上部水位線より左右大きく範囲を指定してください。"},
      {"layer too narrow on the right",
       {{0, 0}, {30, 0}},
       {{5, 5}, {25, 5}},
       {{0, 3}, {24.9, 3}},
       "\n・不透水層線は上部水位線より左右大きく範囲を指定してください。"},
      {"upper below the layer",
       {{0, 0}, {30, 0}},
       {{5, 2}, {25, 2}},
       {{0, 3}, {30, 3}},
       "\n・上部水位線が不透水層線より低い位置に配置してます。"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    CSpWaterGroup group;
    group.SetUpperOn(1);
    for (const CDPoint& p : c.water) group.GetWater().Add(p);
    for (const CDPoint& p : c.upper) group.GetUpper().Add(p);
    for (const CDPoint& p : c.impermeable) group.GetImpermeable().Add(p);
    if (c.reasons.empty()) {
      EXPECT_TRUE(group.IsUnsturatedValid(1));
      continue;
    }
    const std::size_t shown = TestUi().MessageBoxes().size();
    TestUi().ExpectMessageBox(MsgResult::Ok,
                              "以下の理由により、上部水位層が作成できません。" + c.reasons);
    EXPECT_FALSE(group.IsUnsturatedValid(1));
    ASSERT_EQ(TestUi().MessageBoxes().size(), shown + 1);
    const MessageBoxCall& box = TestUi().MessageBoxes().back();
    EXPECT_EQ(box.caption, "RUrevavirazo");
    EXPECT_EQ(box.buttons, MsgButtons::Ok);
    // Without show the same check is silent.
    EXPECT_FALSE(group.IsUnsturatedValid(0));
    EXPECT_EQ(TestUi().MessageBoxes().size(), shown + 1);
  }
}

TEST(SpWaterGroupTest, WithoutTheUpperLayerAnyLinesPass) {
  CSpWaterGroup group;
  SetPoints(group.GetWater(), {{0, 0}, {30, 10}});
  SetPoints(group.GetUpper(), {{5, 5}, {25, 2}});
  EXPECT_TRUE(group.IsUnsturatedValid(1));
}

// ---- Drawing ----

class SpWaterGroupDrawTest : public testing::Test {
 protected:
  // The default 30 x 30 area at 10 pixels per unit: world (x, y) is device (10x, 300 - 10y).
  void SetUp() override { AttachTestView(view, canvas, 10.0, 150, 150); }

  // Colour and width of each line drawn, in order.
  std::vector<std::pair<Color, int>> Lines() const {
    std::vector<std::pair<Color, int>> lines;
    for (const DrawnPrimitive& p : canvas.PrimitivesOf(PrimitiveKind::Line)) {
      lines.emplace_back(p.state.pen.color, p.state.pen.width);
    }
    return lines;
  }

  RecordingCanvas canvas;
  CViewInfo view;
};

TEST_F(SpWaterGroupDrawTest, UpperAndImpermeableLinesBeforeTheWaterLine) {
  struct Case {
    int upperOn;
    int viewMode;
    int highlight;
    std::vector<std::pair<Color, int>> lines;
  };
  const Case cases[] = {
      {0, CSpWaterGroup::kViewUpper, 1, {{kBlue, 1}}},
      {0, CSpWaterGroup::kViewWater, 1, {{kBlue, 2}}},
      {1, CSpWaterGroup::kViewNone, 1, {{kBlue, 1}, {kDarkRed, 1}, {kBlue, 1}}},
      {1, CSpWaterGroup::kViewUpper, 1, {{kBlue, 2}, {kDarkRed, 1}, {kBlue, 1}}},
      {1, CSpWaterGroup::kViewImpermeable, 1, {{kBlue, 1}, {kDarkRed, 2}, {kBlue, 1}}},
      {1, CSpWaterGroup::kViewImpermeable, 0, {{kBlue, 1}, {kDarkRed, 1}, {kBlue, 1}}},
  };
  for (const Case& c : cases) {
    canvas.Clear();
    auto group = Layered();
    group->SetUpperOn(c.upperOn);
    group->SetViewMode(c.viewMode);
    group->Draw(&view, c.highlight);
    EXPECT_EQ(Lines(), c.lines) << "upper " << c.upperOn << " view " << c.viewMode << " highlight "
                                << c.highlight;
  }
}

// ---- Points, ranges and mouse editing ----

TEST(SpWaterGroupTest, DeletingPoints) {
  auto group = Layered();
  group->GetUpper().Add(CDPoint(kNoValue, 4));
  group->DelSpacePoint();
  EXPECT_EQ(group->GetUpper().GetSize(), 2);
  group->DeleteAll();
  for (const CSpWater* line : {&group->GetWater(), &group->GetUpper(), &group->GetImpermeable()}) {
    EXPECT_EQ(line->GetSize(), 0);
  }
}

TEST(SpWaterGroupTest, RangeOfAllThreeLines) {
  CSpWaterGroup group;
  double xmin = 0;
  double xmax = 0;
  double ymax = 0;
  double ymin = 0;
  EXPECT_FALSE(group.RangeRect(xmin, xmax, ymax, ymin));

  SetPoints(group.GetUpper(), {{5, 5}, {25, 6}});
  SetPoints(group.GetImpermeable(), {{-2, 3}, {20, 1}});
  ASSERT_TRUE(group.RangeRect(xmin, xmax, ymax, ymin));
  EXPECT_EQ(xmin, -2);
  EXPECT_EQ(xmax, 25);
  EXPECT_EQ(ymax, 6);
  EXPECT_EQ(ymin, 1);
}

TEST(SpWaterGroupTest, NearestVertexOverTheThreeLines) {
  auto group = Layered();
  double dist = 0;
  CDPoint near = group->FindNearPoint(CDPoint(24, 4.5), dist);
  EXPECT_EQ(near.x, 25);
  EXPECT_EQ(near.y, 5);
  EXPECT_DOUBLE_EQ(dist, std::hypot(1.0, 0.5));

  // Equally near vertices: the water line's comes first.
  SetPoints(group->GetUpper(), {{0, 2, 1}});
  near = group->FindNearPoint(CDPoint(0, 1), dist);
  EXPECT_EQ(near.y, 0);
  EXPECT_EQ(near.flag, 0);

  const CSpWaterGroup empty;
  near = empty.FindNearPoint(CDPoint(0, 1), dist);
  EXPECT_FALSE(near.IsValid());
  EXPECT_EQ(dist, 9e32);
}

TEST_F(SpWaterGroupDrawTest, MouseEditingGoesToTheLineInView) {
  auto group = Layered();
  CDPoly::bMovCap = false;
  CDPoly::ptCap = CDPoint();
  group->OnMouseMove(&view, 0, CDPoint(10, 10));
  EXPECT_TRUE(canvas.Primitives().empty());
  EXPECT_FALSE(CDPoly::bMovCap);

  group->SetViewMode(CSpWaterGroup::kViewUpper);
  group->OnMouseMove(&view, 0, CDPoint(10, 10));
  // The band from the upper line's second vertex to the mouse.
  EXPECT_EQ(DrawnPoints(canvas, PrimitiveKind::Line),
            (std::vector<std::vector<DevPoint>>{{{250, 250}, {100, 200}}}));
  EXPECT_TRUE(CDPoly::bMovCap);
  group->ResetMouseMove();
  EXPECT_FALSE(CDPoly::bMovCap);

  group->OnMouseMove(&view, 0, CDPoint(10, 10));
  group->OnLButtonDown(&view, 0, CDPoint(10, 10));
  EXPECT_FALSE(CDPoly::bMovCap);
}

}  // namespace
