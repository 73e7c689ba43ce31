#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "core/geometry/DPolyArray.h"
#include "core/geometry/ViewInfo.h"
#include "core/section/SpGround.h"
#include "core/section/SpStratum.h"
#include "platform/Archive.h"
#include "platform/RecordingCanvas.h"
#include "tests/support/DrawTestUtil.h"
#include "tests/support/PolyTestUtil.h"
#include "tests/support/RecordBytes.h"
#include "tests/support/RecordContract.h"

namespace {

// A stratum polygon with a soil name, colour and switch 0 as given.
std::unique_ptr<CSpStratumBlock> MakeBlock(const std::vector<CDPoint>& points,
                                           const std::string& soil, Color color, int switch0 = 0) {
  auto block = MakePoly<CSpStratumBlock>(points);
  block->GetPropPtr()->SetName(soil);
  block->GetPropPtr()->SetColor(color);
  block->GetPropPtr()->SetSwitch(0, switch0);
  return block;
}

// A closed rectangle, counter-clockwise.
std::unique_ptr<CSpStratumBlock> MakeRect(double x1, double y1, double x2, double y2,
                                          const std::string& soil, Color color, int switch0 = 0) {
  return MakeBlock({{x1, y1}, {x2, y1}, {x2, y2}, {x1, y2}, {x1, y1}}, soil, color, switch0);
}

const Color kSandColor = Color::Rgb(200, 180, 0);
const Color kClayColor = Color::Rgb(120, 60, 0);

// Two strata under the line y = 10 over x 0..20: sand above y = 5, clay below.
std::unique_ptr<CDPolyArray> TwoStrata() {
  auto strata = std::make_unique<CDPolyArray>();
  strata->Add(MakeRect(0, 5, 20, 10, "砂", kSandColor, 1));
  strata->Add(MakeRect(0, 0, 20, 5, "粘土", kClayColor));
  strata->GetAt(0)->SetName("地層1");
  strata->GetAt(1)->SetName("地層2");
  return strata;
}

std::unique_ptr<CSpGround> GroundWithStrata() {
  auto ground = MakePoly<CSpGround>({{0, 10}, {20, 10}});
  ground->SetPolyArray(TwoStrata());
  return ground;
}

const CSpStratumBlock& BlockAt(const CSpGround& ground, int i) {
  return *static_cast<const CSpStratumBlock*>(ground.GetPolyArray()->GetAt(i));
}

// Expects two grounds to hold the same line, text list and strata (names, points, properties).
void ExpectSameGround(const CSpGround& actual, const CSpGround& expected) {
  EXPECT_EQ(actual.GetName(), expected.GetName());
  EXPECT_TRUE(actual.CompareCoord(&expected));
  EXPECT_EQ(actual.GetTextList(), expected.GetTextList());
  ASSERT_EQ(actual.GetPolyArray() == nullptr, expected.GetPolyArray() == nullptr);
  if (expected.GetPolyArray() == nullptr) return;
  ASSERT_EQ(actual.GetPolyArray()->GetSize(), expected.GetPolyArray()->GetSize());
  for (int i = 0; i < expected.GetPolyArray()->GetSize(); ++i) {
    const CSpStratumBlock& a = BlockAt(actual, i);
    const CSpStratumBlock& e = BlockAt(expected, i);
    EXPECT_EQ(a.GetName(), e.GetName()) << "block " << i;
    EXPECT_TRUE(a.CompareCoord(&e)) << "block " << i;
    EXPECT_TRUE(a.GetPropPtr()->IsSame(*e.GetPropPtr())) << "block " << i;
  }
}

// ---- Construction ----

TEST(GroundTest, NewGroundIsNamedAndHasNoStrataNorTexts) {
  const auto shape = CDPoly::CreateNewElement(kKindGround);
  const auto* ground = dynamic_cast<const CSpGround*>(shape.get());
  ASSERT_NE(ground, nullptr);
  EXPECT_EQ(ground->WhatKind(), 0);
  EXPECT_EQ(ground->GetName(), "地形");
  EXPECT_EQ(ground->GetSize(), 0);
  EXPECT_EQ(ground->GetPolyArray(), nullptr);
  EXPECT_TRUE(ground->GetTextList().empty());
}

// ---- Record ----

// The ground line (0, 10)-(20, 10) with the texts "a" and "メモ".
RecordBytes& AppendLineAndTexts(RecordBytes& bytes) {
  return bytes.Text(u"地形")
      .Int(2)
      .Double(0)
      .Double(10)
      .Double(20)
      .Double(10)
      .UInt16(2)
      .Text(u"a")
      .Text(u"メモ");
}

// A stratum rectangle's record with default properties except the soil name and colour.
RecordBytes& AppendRectRecord(RecordBytes& bytes, const std::u16string& name, double x1, double y1,
                              double x2, double y2, const std::u16string& soil, Color color,
                              int switch0) {
  bytes.Text(name).Int(5);
  for (const auto& [x, y] : {std::pair{x1, y1}, {x2, y1}, {x2, y2}, {x1, y2}, {x1, y1}}) {
    bytes.Double(x).Double(y);
  }
  bytes.Text(soil).Color(color);
  for (int i = 0; i < 4; ++i) bytes.Double(kNoValue);
  bytes.Int(switch0).Int(0).Int(0).Double(kNoValue).Int(0).Text(u"").Int(0);
  bytes.Int(0).Double(kNoValue);  // skin friction
  return bytes.Int(-1).Int(0);    // index, back-analysis mark
}

std::vector<std::uint8_t> GroundWithStrataRecord() {
  RecordBytes bytes;
  AppendLineAndTexts(bytes).Int(1).Int(2).Int(kKindStratumBlock);
  AppendRectRecord(bytes, u"地層1", 0, 5, 20, 10, u"砂", kSandColor, 1).Int(kKindStratumBlock);
  AppendRectRecord(bytes, u"地層2", 0, 0, 20, 5, u"粘土", kClayColor, 0);
  return bytes.Get();
}

// The empty ground line with the texts "" and "地形メモ", and strata recognised as none.
std::vector<std::uint8_t> EmptyGroundRecord() {
  return RecordBytes()
      .Text(u"地形")
      .Int(0)
      .UInt16(2)
      .Text(u"")
      .Text(u"地形メモ")
      .Int(1)
      .Int(0)
      .Get();
}

TEST(GroundRecordTest, RecordIsTheLineTheTextsAndTheStrataAfterAFlag) {
  const auto bare = MakePoly<CSpGround>({{0, 10}, {20, 10}});
  auto withoutStrata = MakePoly<CSpGround>({{0, 10}, {20, 10}});
  withoutStrata->SetTextList({"a", "メモ"});
  auto withStrata = GroundWithStrata();
  withStrata->SetTextList({"a", "メモ"});
  CSpGround empty;
  empty.SetTextList({"", "地形メモ"});
  empty.SetPolyArray(std::make_unique<CDPolyArray>());  // recognised, but empty
  RecordBytes flagZero;
  const struct {
    const char* what;
    const CSpGround& stored;
    std::vector<std::uint8_t> bytes;
  } cases[] = {
      {"without texts or strata", *bare,
       RecordBytes()
           .Text(u"地形")
           .Int(2)
           .Double(0)
           .Double(10)
           .Double(20)
           .Double(10)
           .UInt16(0)
           .Int(0)
           .Get()},
      {"without strata: flag 0 and nothing after it", *withoutStrata,
       AppendLineAndTexts(flagZero).Int(0).Get()},
      {"with strata: flag 1 and the shape list", *withStrata, GroundWithStrataRecord()},
      {"empty, with no strata recognised", empty, EmptyGroundRecord()},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const auto loaded =
        ExpectRecordContract<CSpGround>({.stored = c.stored, .version = 3, .bytes = c.bytes});
    // Loading selects no stratum and finds a point inside each.
    const CDPolyArray* strata = loaded->GetPolyArray();
    if (strata == nullptr) continue;
    EXPECT_EQ(strata->GetActiveShapeID(), -1);
    for (int i = 0; i < strata->GetSize(); ++i) {
      const CDPoint inner = BlockAt(*loaded, i).GetInnerPoint();
      EXPECT_TRUE(BlockAt(*loaded, i).PolyRgn(&inner)) << "block " << i;
    }
  }
}

TEST(GroundRecordTest, DamagedRecordThrowsAndLeavesTheGroundUsable) {
  RecordBytes badKind;
  AppendLineAndTexts(badKind).Int(1).Int(1).Int(99);
  RecordBytes flagCut;
  AppendLineAndTexts(flagCut).UInt16(1);
  RecordBytes badTexts;
  badTexts.Text(u"地形").Int(0).UInt16(3).Text(u"a");
  const struct {
    const char* what;
    std::vector<std::uint8_t> bytes;
  } cases[] = {
      {"unknown shape kind in the strata", badKind.Get()},
      {"text list shorter than its count", badTexts.Get()},
      {"flag cut short", flagCut.Get()},
  };
  for (const auto& c : cases) {
    auto ground = GroundWithStrata();
    ground->SetTextList({"元"});
    Archive ar(c.bytes);
    EXPECT_THROW(ground->Load(ar, 3), ArchiveException) << c.what;
    auto expected = GroundWithStrata();
    expected->SetTextList({"元"});
    ExpectSameGround(*ground, *expected);
    Archive out;
    ground->Store(out, 3);  // still usable
    EXPECT_FALSE(out.Bytes().empty());
  }
}

// ---- Copies ----

TEST(GroundCopyTest, VirtualCopyTakesPointsStrataAndTexts) {
  auto ground = GroundWithStrata();
  ground->SetTextList({"x"});
  const auto shape = ground->Copy();
  const auto* copy = dynamic_cast<const CSpGround*>(shape.get());
  ASSERT_NE(copy, nullptr);
  ExpectSameGround(*copy, *ground);
  EXPECT_NE(copy->GetPolyArray(), ground->GetPolyArray());
  EXPECT_NE(copy->GetPolyArray()->GetAt(0), ground->GetPolyArray()->GetAt(0));
  EXPECT_NE(copy->GetAt(0), ground->GetAt(0));

  const auto plain = MakePoly<CSpGround>({{0, 1}, {2, 3}})->Copy();
  EXPECT_EQ(static_cast<const CSpGround*>(plain.get())->GetPolyArray(), nullptr);
}

// The copy takes everything the other's record holds, so that a case taken over from a loaded
// record stores it again unchanged.
TEST(GroundCopyTest, CopyFromAnotherGroundTakesItsNamePointsStrataAndTexts) {
  auto source = GroundWithStrata();
  source->SetName("現況地形");
  source->SetTextList({"a", "メモ"});
  auto target = MakePoly<CSpGround>({{5, 5}, {6, 6}, {7, 7}});
  target->SetTextList({"残らない"});
  target->Copy(source.get());
  ExpectSameGround(*target, *source);
  EXPECT_NE(target->GetPolyArray(), source->GetPolyArray());
  EXPECT_NE(target->GetAt(0), source->GetAt(0));
}

// Strata kept from before would not fit the copied line: the copy has none, as its source.
TEST(GroundCopyTest, CopyFromAGroundWithoutStrataLeavesNone) {
  const auto source = MakePoly<CSpGround>({{0, 3}, {8, 3}});
  auto target = GroundWithStrata();
  target->Copy(source.get());
  ExpectPoints(*target, {{0, 3}, {8, 3}});
  EXPECT_EQ(target->GetPolyArray(), nullptr);
}

// ---- Editing ----

TEST(GroundEditTest, ChangeValidReachesTheLineAndEveryStratumPolygon) {
  auto ground = MakePoly<CSpGround>({{0, 10}, {12000, 10}});
  auto strata = std::make_unique<CDPolyArray>();
  strata->Add(MakeRect(0, 0, 10000, 5, "砂", kSandColor));
  ground->SetPolyArray(std::move(strata));
  ground->ChangeValid();
  EXPECT_EQ(ground->GetAt(1)->x, kNoValue);
  EXPECT_EQ(ground->GetPolyArray()->GetAt(0)->GetAt(1)->x, kNoValue);
  EXPECT_EQ(ground->GetPolyArray()->GetAt(0)->GetAt(0)->x, 0);
}

TEST(GroundEditTest, ReverseTurnsOnlyTheGroundLine) {
  auto ground = GroundWithStrata();
  ground->Reverse();
  ExpectPoints(*ground, {{20, 10}, {0, 10}});
  ExpectPoints(*ground->GetPolyArray()->GetAt(0), {{0, 5}, {20, 5}, {20, 10}, {0, 10}, {0, 5}});
}

TEST(GroundEditTest, DeletingAndReplacingTheStrata) {
  auto ground = GroundWithStrata();
  ground->DeleteStratumBlock();
  EXPECT_EQ(ground->GetPolyArray(), nullptr);
  EXPECT_EQ(ground->GetSize(), 2);

  auto strata = TwoStrata();
  const CDPolyArray* handed = strata.get();
  ground->SetPolyArray(std::move(strata));
  EXPECT_EQ(ground->GetPolyArray(), handed);
  ground->SetPolyArray(nullptr);
  EXPECT_EQ(ground->GetPolyArray(), nullptr);

  ground = GroundWithStrata();
  ground->DeleteFull();
  EXPECT_EQ(ground->GetSize(), 0);
  EXPECT_EQ(ground->GetPolyArray(), nullptr);
}

TEST(GroundEditTest, GetStrGuttukaSouListsThePolygonsWithTheSwitchSet) {
  auto ground = GroundWithStrata();
  ground->GetPolyArray()->Add(MakeRect(0, -5, 20, 0, "礫", kClayColor, 1));
  ground->GetPolyArray()->GetAt(2)->SetName("地層3");
  static_cast<CSpStratumBlock*>(ground->GetPolyArray()->GetAt(1))->GetPropPtr()->SetSwitch(2, 1);
  const struct {
    int n;
    const char* names;
  } cases[] = {{0, "地層1,地層3"}, {1, ""}, {2, "地層2"}, {3, ""}, {-1, ""}};
  for (const auto& c : cases) EXPECT_EQ(ground->GetStrGuttukaSou(c.n), c.names) << "n " << c.n;
  EXPECT_EQ(MakePoly<CSpGround>({{0, 0}, {1, 1}})->GetStrGuttukaSou(0), "");
}

// ---- Drawing ----

// The default 30 x 30 area at 10 pixels per unit (also after the strata recompute the scale):
// world (x, y) is device (10x, 300 - 10y).
class GroundDrawTest : public testing::Test {
 protected:
  void SetUp() override {
    AttachTestView(view, canvas, 10.0, 150, 150);
    view.width = 400;
    view.height = 400;
    canvas.SetTextColor(Color::Rgb(9, 9, 9));
  }

  std::vector<PrimitiveKind> Kinds() const {
    std::vector<PrimitiveKind> kinds;
    for (const DrawnPrimitive& p : canvas.Primitives()) kinds.push_back(p.kind);
    return kinds;
  }

  RecordingCanvas canvas;
  CViewInfo view;
};

TEST_F(GroundDrawTest, WithStrataTheFilledPolygonsAndTheirNamesReplaceTheLine) {
  auto ground = GroundWithStrata();
  for (int i = 0; i < 2; ++i) ground->GetPolyArray()->GetAt(i)->CalcInnerPoint();
  ground->Draw(&view, 0, -1, -1);
  using K = PrimitiveKind;
  ASSERT_EQ(Kinds(), (std::vector<K>{K::Polygon, K::Polygon, K::Text, K::Text})) << canvas.Dump();
  const auto& p = canvas.Primitives();
  EXPECT_EQ(p[0].points,
            (std::vector<DevPoint>{{0, 250}, {200, 250}, {200, 200}, {0, 200}, {0, 250}}));
  EXPECT_EQ(p[0].state.brush.color, kSandColor);
  EXPECT_EQ(p[1].state.brush.color, kClayColor);
  EXPECT_EQ(p[2].text, "砂");
  EXPECT_EQ(p[3].text, "粘土");
  EXPECT_EQ(p[2].state.textColor, Color::Rgb(0, 0, 0));
}

TEST_F(GroundDrawTest, ThePlainLineIsDrawnWithoutStrataWhenBoldOrHighlighted) {
  const struct {
    const char* what;
    bool strata;
    int bold;
    int highlight;
  } cases[] = {
      {"no strata", false, 0, 0},
      {"bold", true, 1, 0},
      {"highlight switch on", true, 0, 1},
  };
  for (const auto& c : cases) {
    canvas.Clear();
    CDPoly::SetShowHilight(c.highlight);
    auto ground = c.strata ? GroundWithStrata() : MakePoly<CSpGround>({{0, 10}, {20, 10}});
    ground->Draw(&view, c.bold, -1, -1);
    const auto lines = canvas.PrimitivesOf(PrimitiveKind::Line);
    ASSERT_EQ(lines.size(), 1u) << c.what << "\n" << canvas.Dump();
    EXPECT_EQ(lines[0].points, (std::vector<DevPoint>{{0, 200}, {200, 200}})) << c.what;
    EXPECT_TRUE(canvas.PrimitivesOf(PrimitiveKind::Polygon).empty()) << c.what;
    EXPECT_TRUE(canvas.PrimitivesOf(PrimitiveKind::Text).empty()) << c.what;
  }
}

TEST_F(GroundDrawTest, DrawHasenDashesTheLineInBlackAndBreaksAtMissingPoints) {
  const Pen previous{PenStyle::Solid, 3, Color::Rgb(1, 2, 3)};
  canvas.SelectPen(previous);
  auto ground = MakePoly<CSpGround>({{0, 10}, {10, 10}, {kNoValue, 5}, {20, 0}, {25, 0}});
  ground->DrawHasen(&view);
  const auto lines = canvas.PrimitivesOf(PrimitiveKind::Line);
  ASSERT_EQ(canvas.Primitives().size(), 2u) << canvas.Dump();
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0].points, (std::vector<DevPoint>{{0, 200}, {100, 200}}));
  EXPECT_EQ(lines[1].points, (std::vector<DevPoint>{{200, 300}, {250, 300}}));
  for (const auto& line : lines) {
    EXPECT_EQ(line.state.pen, (Pen{PenStyle::Dash, 1, Color::Rgb(0, 0, 0)}));
  }
  EXPECT_EQ(canvas.CurrentPen(), previous);
}

// ---- New grounds from two lines ----

// A ground line, the other line spliced into it, and the line that results.
struct SpliceCase {
  const char* what;
  std::vector<CDPoint> ground;
  std::vector<CDPoint> other;
  std::vector<CDPoint> expected;
};

TEST(GroundSpliceTest, GroundPolyMargeReplacesTheGroundOverTheOtherLinesRange) {
  const SpliceCase cases[] = {
      {"other inside the ground's range",
       {{0, 10}, {5, 10}, {10, 8}, {15, 6}, {20, 6}, {25, 6}},
       {{7, 9}, {12, 7}},
       {{0, 10}, {5, 10}, {7, 9}, {12, 7}, {15, 6}, {20, 6}, {25, 6}}},
      {"other running right to left",
       {{0, 10}, {5, 10}, {10, 8}, {15, 6}, {20, 6}, {25, 6}},
       {{12, 7}, {7, 9}},
       {{0, 10}, {5, 10}, {7, 9}, {12, 7}, {15, 6}, {20, 6}, {25, 6}}},
      {"ground running right to left",
       {{25, 6}, {20, 6}, {15, 6}, {10, 8}, {5, 10}, {0, 10}},
       {{7, 9}, {12, 7}},
       {{0, 10}, {5, 10}, {7, 9}, {12, 7}, {15, 6}, {20, 6}, {25, 6}}},
      {"vertical end runs of the ground dropped",
       {{0, 15}, {0, 10}, {5, 10}, {10, 8}, {10, 2}},
       {{2, 9}, {7, 9}},
       {{0, 10}, {2, 9}, {7, 9}, {10, 8}}},
      {"other starting left of the ground",
       {{0, 10}, {10, 10}, {20, 10}},
       {{-5, 12}, {5, 11}},
       {{-5, 12}, {5, 11}, {10, 10}, {20, 10}}},
      {"other starting on a ground vertex",
       {{0, 10}, {5, 10}, {10, 8}, {15, 6}},
       {{5, 10}, {12, 7}},
       {{0, 10}, {5, 10}, {12, 7}, {15, 6}}},
  };
  for (const auto& c : cases) {
    auto ground = MakePoly<CSpGround>(c.ground);
    ground->SetName("元の地形");
    const auto other = MakePoly(c.other);
    const auto merged = ground->GroundPolyMarge(other.get());
    ASSERT_NE(merged, nullptr) << c.what;
    SCOPED_TRACE(c.what);
    EXPECT_EQ(merged->GetName(), "地形");
    ExpectPoints(*merged, c.expected);
    EXPECT_EQ(merged->GetPolyArray(), nullptr);
    EXPECT_EQ(ground->GetSize(), static_cast<int>(c.ground.size()));  // this ground unchanged
  }
}

// The new ground's strata are this ground's, cut to the new line; this ground keeps its own.
TEST(GroundSpliceTest, GroundPolyMargeCutsTheStrataToTheNewLine) {
  const auto ground = GroundWithStrata();
  const auto trench = MakePoly({{5, 10}, {8, 7}, {12, 7}, {15, 10}});
  const auto merged = ground->GroundPolyMarge(trench.get());
  ExpectPoints(*merged, {{0, 10}, {5, 10}, {8, 7}, {12, 7}, {15, 10}, {20, 10}});
  ASSERT_NE(merged->GetPolyArray(), nullptr);
  ASSERT_EQ(merged->GetPolyArray()->GetSize(), 2) << "strata";
  double sandArea = 0;
  double clayArea = 0;
  for (int i = 0; i < 2; ++i) {
    const CSpStratumBlock& block = BlockAt(*merged, i);
    const double area = std::fabs(block.GetArea());
    (block.GetPropPtr()->GetName() == "砂" ? sandArea : clayArea) += area;
  }
  EXPECT_NEAR(sandArea, 100 - 21, 1e-6);  // the trench takes (10 + 4) / 2 * 3
  EXPECT_NEAR(clayArea, 100, 1e-6);

  auto expected = GroundWithStrata();
  ExpectSameGround(*ground, *expected);
}

TEST(GroundSpliceTest, CreateLevelLineCutsTheStrataToTheNewLine) {
  auto ground = MakePoly<CSpGround>({{0, 10}, {10, 10}, {14, 6}, {20, 6}});
  auto strata = std::make_unique<CDPolyArray>();
  strata->Add(MakeBlock({{0, 0}, {20, 0}, {20, 6}, {14, 6}, {10, 10}, {0, 10}, {0, 0}}, "粘土",
                        kClayColor));
  ground->SetPolyArray(std::move(strata));
  const auto other = MakePoly({{14, 6}, {20, 6}, {30, 12}});
  const auto joined = ground->CreateLevelLine(other.get(), 8);
  ASSERT_NE(joined, nullptr);
  ExpectPoints(*joined, {{0, 10}, {10, 10}, {12, 8}, {23 + 1.0 / 3.0, 8}, {30, 12}}, 1e-12);
  ASSERT_NE(joined->GetPolyArray(), nullptr);
  EXPECT_GE(joined->GetPolyArray()->GetSize(), 1);
}

TEST(GroundSpliceTest, CreateLevelLineJoinsTheTwoLinesAtTheHeight) {
  const SpliceCase cases[] = {
      {"other rises: this ground first",
       {{0, 10}, {10, 0}},
       {{20, 0}, {30, 10}},
       {{0, 10}, {5, 5}, {25, 5}, {30, 10}}},
      {"other falls: the other line first",
       {{0, 0}, {10, 10}},
       {{20, 10}, {30, 0}},
       {{20, 10}, {25, 5}, {5, 5}, {10, 10}}},
      {"crossings at the same x are passed in step",
       {{0, 0}, {10, 10}, {20, 0}},
       {{5, 5}, {7, 0}, {9, 6}},
       {{0, 0}, {10, 10}, {15, 5}, {7 + 2 * 5.0 / 6.0, 5}, {9, 6}}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    auto ground = MakePoly<CSpGround>(c.ground);
    const auto other = MakePoly(c.other);
    const auto joined = ground->CreateLevelLine(other.get(), 5);
    ASSERT_NE(joined, nullptr);
    EXPECT_EQ(joined->GetName(), "地形");
    ExpectPoints(*joined, c.expected, 1e-12);
  }
}

TEST(GroundSpliceTest, CreateLevelLineIsNullWithoutTwoPartingCrossings) {
  const struct {
    const char* what;
    std::vector<CDPoint> ground;
    std::vector<CDPoint> other;
  } cases[] = {
      {"other never reaches the height", {{0, 0}, {10, 10}}, {{20, 0}, {30, 2}}},
      {"ground never reaches the height", {{0, 0}, {10, 2}}, {{20, 0}, {30, 10}}},
      {"crossings only at the same x", {{0, 0}, {10, 10}, {20, 0}}, {{5, 5}, {30, 5}}},
  };
  for (const auto& c : cases) {
    auto ground = MakePoly<CSpGround>(c.ground);
    const auto other = MakePoly(c.other);
    EXPECT_EQ(ground->CreateLevelLine(other.get(), 5), nullptr) << c.what;
  }
}

}  // namespace
