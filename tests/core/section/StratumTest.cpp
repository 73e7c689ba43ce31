#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "core/geometry/DPolyArray.h"
#include "core/geometry/ViewInfo.h"
#include "core/section/SpStratum.h"
#include "core/section/StratumProp.h"
#include "platform/Archive.h"
#include "platform/RecordingCanvas.h"
#include "tests/support/DrawTestUtil.h"
#include "tests/support/PolyTestUtil.h"
#include "tests/support/RecordBytes.h"
#include "tests/support/RecordContract.h"

namespace {

// Soil properties with every field set to something other than its default.
CStratumProp SampleProp() {
  CStratumProp prop;
  prop.SetName("粘土");
  prop.SetColor(Color::Rgb(0x12, 0x34, 0x56));
  prop.GetSaturate() = {18.0, 19.5, 30.0, 12.5, 0.112};
  prop.SetSwitch(0, 1);
  prop.SetSwitch(1, 0);
  prop.SetSwitch(2, 3);
  prop.SetExtra(4);
  prop.SetRemark("試料A");
  prop.SetSettingKind(2);
  prop.GetSkinFriction().SetKind(1);
  prop.GetSkinFriction().SetValue(10);
  return prop;
}

// The record of SampleProp, built by hand.
RecordBytes& AppendSamplePropRecord(RecordBytes& bytes) {
  return bytes.Text(u"粘土")
      .Int(0x563412)
      .Double(18.0)
      .Double(19.5)
      .Double(30.0)
      .Double(12.5)
      .Int(1)
      .Int(0)
      .Int(3)
      .Double(0.112)
      .Int(4)
      .Text(u"試料A")
      .Int(2)
      .Int(1)
      .Double(10);
}

std::unique_ptr<CSpStratumBlock> MakeBlock(const std::vector<CDPoint>& points,
                                           const CStratumProp& prop = CStratumProp()) {
  auto block = MakePoly<CSpStratumBlock>(points);
  block->GetPropPtr()->Copy(prop);
  return block;
}

// A closed axis-parallel rectangle, counter-clockwise.
std::unique_ptr<CSpStratumBlock> MakeRect(double x1, double y1, double x2, double y2,
                                          const CStratumProp& prop = CStratumProp()) {
  return MakeBlock({{x1, y1}, {x2, y1}, {x2, y2}, {x1, y2}, {x1, y1}}, prop);
}

CStratumProp NamedProp(const std::string& name) {
  CStratumProp prop;
  prop.SetName(name);
  return prop;
}

// ---- CSpStratumLine ----

TEST(StratumLineTest, IsAPolylineOfItsOwnKindAndName) {
  const auto line = CDPoly::CreateNewElement(kKindStratumLine);
  ASSERT_NE(dynamic_cast<CSpStratumLine*>(line.get()), nullptr);
  EXPECT_EQ(line->WhatKind(), 1);
  EXPECT_EQ(line->GetName(), "地層線");
  line->Add(1, 2);
  EXPECT_NE(dynamic_cast<CSpStratumLine*>(line->Copy().get()), nullptr);
}

// ---- CStratumProp ----

// Assembled strata without a soil name take the properties of the stratum they lie in.
TEST(StratumPropTest, IsEmptyUntilItHasASoilName) {
  EXPECT_TRUE(CStratumProp().IsEmpty());
  EXPECT_FALSE(NamedProp("砂").IsEmpty());
}

TEST(StratumPropTest, SwitchNumbersOutsideZeroToTwoThrow) {
  CStratumProp prop;
  EXPECT_THROW(prop.GetSwitch(3), std::out_of_range);
  EXPECT_THROW(prop.SetSwitch(-1, 1), std::out_of_range);
}

TEST(StratumPropTest, GetSettingStrNamesKindsOneToFour) {
  const struct {
    int kind;
    const char* text;
  } cases[] = {{0, ""},       {1, "試験値"}, {2, "経験式"}, {3, "一般値"},
               {4, "その他"}, {5, ""},       {-1, ""}};
  for (const auto& c : cases) {
    CStratumProp prop;
    prop.SetSettingKind(c.kind);
    EXPECT_EQ(prop.GetSettingStr(), c.text) << "kind " << c.kind;
  }
}

TEST(StratumPropTest, IsSameSeesEveryFieldAndIsSameUseCalcOnlyTheCalculationValues) {
  const struct {
    const char* field;
    std::function<void(CStratumProp&)> change;
    bool sameForCalc;
  } cases[] = {
      {"name", [](CStratumProp& p) { p.SetName("砂"); }, true},
      {"colour", [](CStratumProp& p) { p.SetColor(Color{0}); }, true},
      {"remark", [](CStratumProp& p) { p.SetRemark("別"); }, true},
      {"setting kind", [](CStratumProp& p) { p.SetSettingKind(3); }, true},
      {"friction kind", [](CStratumProp& p) { p.GetSkinFriction().SetKind(0); }, true},
      {"friction value", [](CStratumProp& p) { p.GetSkinFriction().SetValue(11); }, true},
      {"gammaT", [](CStratumProp& p) { p.GetSaturate().gammaT = 18.5; }, false},
      {"gammaSat", [](CStratumProp& p) { p.GetSaturate().gammaSat = kNoValue; }, false},
      {"phi", [](CStratumProp& p) { p.GetSaturate().phi = 30.0000001; }, false},
      {"c", [](CStratumProp& p) { p.GetSaturate().c = 0; }, false},
      {"tauP", [](CStratumProp& p) { p.GetSaturate().tauP = 0.113; }, false},
      {"extra", [](CStratumProp& p) { p.SetExtra(0); }, false},
      {"switch 0", [](CStratumProp& p) { p.SetSwitch(0, 0); }, false},
      {"switch 1", [](CStratumProp& p) { p.SetSwitch(1, 1); }, false},
      {"switch 2", [](CStratumProp& p) { p.SetSwitch(2, 0); }, false},
  };
  const CStratumProp original = SampleProp();
  EXPECT_TRUE(original.IsSame(SampleProp()));
  EXPECT_TRUE(original.IsSameUseCalc(SampleProp()));
  for (const auto& c : cases) {
    CStratumProp changed = SampleProp();
    c.change(changed);
    EXPECT_FALSE(original.IsSame(changed)) << c.field;
    EXPECT_EQ(original.IsSameUseCalc(changed), c.sameForCalc) << c.field;
  }
}

TEST(StratumPropTest, CopyAndCopyConstructionTakeEveryField) {
  CStratumProp copied;
  copied.Copy(SampleProp());
  EXPECT_TRUE(copied.IsSame(SampleProp()));
  const CStratumProp constructed(copied);
  EXPECT_TRUE(constructed.IsSame(SampleProp()));
}

TEST(StratumPropTest, CalcTauPFollowsTheSkinFrictionMode) {
  const struct {
    int mode;
    double value;
    double expected;
  } cases[] = {
      {1, 10, 0.112},           // RoundOff((10 * 10 + 12) / 1000, 0.001)
      {1, kNoValue, kNoValue},  // mode 1 without a value
      {0, 10, 0.5},             // mode 0 keeps the old value
      {2, 10, kNoValue},        // any other mode clears it
  };
  for (const auto& c : cases) {
    CStratumProp prop;
    prop.GetSaturate().tauP = 0.5;
    prop.GetSkinFriction().SetKind(c.mode);
    prop.GetSkinFriction().SetValue(c.value);
    prop.Calc_tauP(0);
    EXPECT_DOUBLE_EQ(prop.GetSaturate().tauP, c.expected) << "mode " << c.mode;
  }
}

TEST(StratumPropTest, RecordHoldsEveryFieldInItsOrder) {
  RecordBytes sample;
  RecordBytes defaults;
  defaults.Text(u"").Color(Color::Rgb(255, 255, 255));
  for (int i = 0; i < 4; ++i) defaults.Double(kNoValue);
  defaults.Int(0).Int(0).Int(0).Double(kNoValue).Int(0).Text(u"").Int(0).Int(0).Double(kNoValue);
  const struct {
    const char* what;
    CStratumProp stored;
    RecordBytes bytes;
    CStratumProp target;  // holds other values
  } cases[] = {
      {"sample", SampleProp(), AppendSamplePropRecord(sample), NamedProp("元")},
      // A new set: no name, white fill, no values, every switch and kind 0.
      {"defaults", CStratumProp(), defaults, SampleProp()},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    ExpectRecordContract<CStratumProp>({
        .stored = c.stored,
        .version = 5,
        .bytes = c.bytes.Get(),
        .makeTarget = [&c] { return std::make_unique<CStratumProp>(c.target); },
    });
  }
}

// ---- CSpStratumBlock ----

TEST(StratumBlockTest, NewPolygonHasItsNameKindAndDefaults) {
  const auto shape = CDPoly::CreateNewElement(kKindStratumBlock);
  const auto* block = dynamic_cast<const CSpStratumBlock*>(shape.get());
  ASSERT_NE(block, nullptr);
  EXPECT_EQ(block->WhatKind(), 6);
  EXPECT_EQ(block->GetName(), "地層");
  EXPECT_EQ(block->GetIndex(), -1);
  EXPECT_EQ(block->GetExtraInt(), 0);
  EXPECT_TRUE(block->GetPropPtr()->IsEmpty());
}

TEST(StratumBlockTest, PropertyAccessorsReachTheSoilValueBlock) {
  auto block = MakeRect(0, 0, 1, 1, SampleProp());
  tagSATURATE* values = block->GetPropStructure();
  EXPECT_EQ(values, &block->GetPropPtr()->GetSaturate());
  EXPECT_EQ(&values->gammaT, static_cast<void*>(values));  // the block starts at gammaT
  EXPECT_EQ(values->gammaT, 18.0);
  EXPECT_EQ(block->GetPropColor(), Color::Rgb(0x12, 0x34, 0x56));
}

TEST(StratumBlockTest, SetPropertyTakesOnlyAStratumPolygonsProperties) {
  const auto source = MakeRect(0, 0, 1, 1, SampleProp());
  CSpStratumLine line;
  CDPoly plain;
  auto block = MakeRect(0, 0, 1, 1, NamedProp("元"));
  block->SetProperty(&line);
  block->SetProperty(&plain);
  block->SetProperty(nullptr);
  EXPECT_TRUE(block->GetPropPtr()->IsSame(NamedProp("元")));
  block->SetProperty(source.get());
  EXPECT_TRUE(block->GetPropPtr()->IsSame(SampleProp()));
}

TEST(StratumBlockTest, CopyTakesPointsPropertiesInnerPointIndexAndMark) {
  auto block = MakeRect(0, 0, 10, 4, SampleProp());
  block->SetName("地層2");
  block->SetIndex(3);
  block->SetExtraInt(1);
  const CDPoint inner = block->CalcInnerPoint();

  const auto shape = block->Copy();
  const auto* copy = dynamic_cast<const CSpStratumBlock*>(shape.get());
  ASSERT_NE(copy, nullptr);
  EXPECT_EQ(copy->GetName(), "地層2");
  ExpectPoints(*copy, PointsOf(*block));
  EXPECT_NE(copy->GetAt(0), block->GetAt(0));  // points of its own
  EXPECT_TRUE(copy->GetPropPtr()->IsSame(SampleProp()));
  EXPECT_EQ(copy->GetInnerPoint().x, inner.x);
  EXPECT_EQ(copy->GetInnerPoint().y, inner.y);
  EXPECT_EQ(copy->GetIndex(), 3);
  EXPECT_EQ(copy->GetExtraInt(), 1);
}

std::unique_ptr<CSpStratumBlock> SampleBlock() {
  auto block = MakeBlock({{0, 0}, {2, 0}, {0, 0}}, SampleProp());
  block->SetName("地層1");
  block->SetIndex(7);
  block->SetExtraInt(-3);
  return block;
}

// The record of SampleBlock, built by hand.
std::vector<std::uint8_t> SampleBlockRecord() {
  RecordBytes bytes;
  bytes.Text(u"地層1").Int(3).Double(0).Double(0).Double(2).Double(0).Double(0).Double(0);
  AppendSamplePropRecord(bytes);
  return bytes.Int(7).Int(-3).Get();
}

TEST(StratumBlockTest, RecordIsThePolylineThePropertiesTheIndexAndTheMark) {
  ExpectRecordContract<CSpStratumBlock>(
      {.stored = *SampleBlock(), .version = 5, .bytes = SampleBlockRecord()});
}

TEST(StratumBlockTest, ShapeListReadsItBackAsAStratumPolygon) {
  CDPolyArray array;
  array.Add(SampleBlock());
  RecordBytes expected;
  expected.Int(1).Int(kKindStratumBlock).Raw(SampleBlockRecord());
  const auto loaded =
      ExpectRecordContract<CDPolyArray>({.stored = array, .version = 5, .bytes = expected.Get()});
  ASSERT_EQ(loaded->GetSize(), 1);
  EXPECT_NE(dynamic_cast<const CSpStratumBlock*>(loaded->GetAt(0)), nullptr);
}

// ---- Cutting with a line ----

TEST(StratumBlockCutTest, CutPolyWithLine2KeepsThePartAboveTheLine) {
  const struct {
    const char* what;
    std::vector<CDPoint> line;
    std::vector<CDPoint> expectedCorners;  // empty: no part lies above
  } cases[] = {
      {"line across", {{-1, 4}, {11, 4}}, {{0, 4}, {10, 4}, {10, 10}, {0, 10}}},
      {"line running right to left", {{11, 4}, {-1, 4}}, {{0, 4}, {10, 4}, {10, 10}, {0, 10}}},
      {"sloping line", {{-1, 1}, {11, 7}}, {{0, 1.5}, {10, 6.5}, {10, 10}, {0, 10}}},
      {"line below the polygon", {{-1, -5}, {11, -5}}, {{0, 0}, {10, 0}, {10, 10}, {0, 10}}},
      {"line above the polygon", {{-1, 20}, {11, 20}}, {}},
  };
  const auto block = MakeRect(0, 0, 10, 10, SampleProp());
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const auto line = MakePoly(c.line);
    const auto part = block->CutPolyWithLine2(line.get());
    EXPECT_EQ(CDPoly::GetSmallLimit(), 0) << "the cut's tolerance holds only while it works";
    if (c.expectedCorners.empty()) {
      EXPECT_EQ(part, nullptr);
      continue;
    }
    ASSERT_NE(part, nullptr);
    const auto* piece = dynamic_cast<const CSpStratumBlock*>(part.get());
    ASSERT_NE(piece, nullptr);
    EXPECT_TRUE(piece->GetPropPtr()->IsSame(SampleProp()));
    for (const CDPoint& corner : c.expectedCorners) {
      EXPECT_NE(piece->FindJustPoint(&corner), -1) << corner.x << ", " << corner.y;
    }
    const double area = (c.expectedCorners[1].x - c.expectedCorners[0].x) *
                        (10 - (c.expectedCorners[0].y + c.expectedCorners[1].y) / 2);
    EXPECT_NEAR(std::fabs(piece->GetArea()), area, 1e-9);
  }
  ExpectPoints(*block, {{0, 0}, {10, 0}, {10, 10}, {0, 10}, {0, 0}});  // the polygon stays
}

TEST(StratumBlockCutTest, CutPolyWithLine2ReturnsTheWholePolygonForADegenerateInput) {
  const auto block = MakeRect(0, 0, 10, 10, SampleProp());
  const auto shortLine = MakePoly({{-1, 4}});
  for (const CDPoly* line : std::initializer_list<const CDPoly*>{shortLine.get(), nullptr}) {
    const auto whole = block->CutPolyWithLine2(line);
    ASSERT_NE(whole, nullptr);
    ExpectPoints(*whole, PointsOf(*block));
  }

  const auto single = MakeBlock({{1, 1}});
  const auto line = MakePoly({{-1, 4}, {11, 4}});
  const auto copy = single->CutPolyWithLine2(line.get());
  ASSERT_NE(copy, nullptr);
  ExpectPoints(*copy, {{1, 1}});
}

// ---- Drawing ----

const Pen kPreviousPen{PenStyle::Dot, 3, Color::Rgb(1, 2, 3)};
const Brush kPreviousBrush{BrushStyle::Null, Color::Rgb(4, 5, 6)};
const Font kPreviousFont{20, 0, 700, 0, "Sans"};

// The default 30 x 30 area at 10 pixels per unit: on the screen world (x, y) is device
// (10x, 300 - 10y), on the printer (10x, 10y).
class StratumDrawTest : public testing::Test {
 protected:
  void SetUp() override {
    AttachTestView(view, canvas, 10.0, 150, 150);
    canvas.SelectPen(kPreviousPen);
    canvas.SelectBrush(kPreviousBrush);
    canvas.SelectFont(kPreviousFont);
    canvas.SetTextAlign(TextAlign::Right | TextAlign::Bottom);
    canvas.SetBackgroundMode(BackgroundMode::Opaque);
  }

  void ExpectStateRestored() const {
    EXPECT_EQ(canvas.CurrentPen(), kPreviousPen);
    EXPECT_EQ(canvas.CurrentBrush(), kPreviousBrush);
    EXPECT_EQ(canvas.CurrentFont(), kPreviousFont);
    EXPECT_EQ(canvas.CurrentTextAlign(), TextAlign::Right | TextAlign::Bottom);
    EXPECT_EQ(canvas.CurrentBackgroundMode(), BackgroundMode::Opaque);
  }

  RecordingCanvas canvas;
  CViewInfo view;
};

TEST_F(StratumDrawTest, DrawFillsWithTheSoilColourOutlinedInBlack) {
  const auto block = MakeBlock({{1, 1}, {5, 1}, {3, 4}, {1, 1}}, SampleProp());
  block->Draw(&view, 1, 0, 2);
  ASSERT_EQ(canvas.Primitives().size(), 1u) << canvas.Dump();
  const DrawnPrimitive& polygon = canvas.Primitives()[0];
  EXPECT_EQ(polygon.kind, PrimitiveKind::Polygon);
  EXPECT_EQ(polygon.points, (std::vector<DevPoint>{{10, 290}, {50, 290}, {30, 260}, {10, 290}}));
  EXPECT_EQ(polygon.state.brush, (Brush{BrushStyle::Solid, Color::Rgb(0x12, 0x34, 0x56)}));
  EXPECT_EQ(polygon.state.pen, (Pen{PenStyle::Solid, 1, Color::Rgb(0, 0, 0)}));
  ExpectStateRestored();
}

TEST_F(StratumDrawTest, DrawOfAPolygonWithoutPointsDrawsNothing) {
  CSpStratumBlock().Draw(&view, 0, -1, -1);
  EXPECT_TRUE(canvas.Primitives().empty());
}

TEST_F(StratumDrawTest, DrawNameCentresTheSoilNameOnTheInnerPointInEveryMode) {
  const struct {
    const char* mode;
    int viewMode;
    bool preview;
    int m;
    int yOffset;
  } cases[] = {
      {"screen", CViewInfo::kModeDraw, false, 1, -6},
      {"preview", CViewInfo::kModeDraw, true, 10, -60},
      {"print", CViewInfo::kModePrint, false, 10, 60},
  };
  auto block = MakeRect(0, 0, 10, 4, SampleProp());
  const CDPoint inner = block->CalcInnerPoint();
  for (const auto& c : cases) {
    canvas.Clear();
    view.mode = c.viewMode;
    view.preview = c.preview;
    block->DrawName(&view);
    ASSERT_EQ(canvas.Primitives().size(), 1u) << c.mode << "\n" << canvas.Dump();
    const DrawnPrimitive& text = canvas.Primitives()[0];
    EXPECT_EQ(text.kind, PrimitiveKind::Text) << c.mode;
    EXPECT_EQ(text.text, "粘土") << c.mode;  // the soil name, not the polygon's name
    const DevPoint at = view.LPtoDP(inner);
    EXPECT_EQ(text.points, (std::vector<DevPoint>{{at.x, at.y + c.yOffset}})) << c.mode;
    EXPECT_EQ(text.state.font, (Font{12 * c.m, 6 * c.m, 400, 0, "ＭＳ ゴシック"})) << c.mode;
    EXPECT_EQ(text.state.textAlign, TextAlign::Center | TextAlign::Top) << c.mode;
    EXPECT_EQ(text.state.backgroundMode, BackgroundMode::Transparent) << c.mode;
    ExpectStateRestored();
  }
}

// Zoomed in so far that the inner point maps beyond the int range: the text stays at its edge.
TEST_F(StratumDrawTest, DrawNameOfAPolygonFarOutsideTheViewStaysAtTheEdge) {
  const struct {
    const char* mode;
    int viewMode;
    double y;  // the polygon's bottom
    int expectedY;
  } cases[] = {
      {"screen, above the view", CViewInfo::kModeDraw, 20, INT_MIN},
      {"print, above the view", CViewInfo::kModePrint, 20, INT_MAX},
  };
  AttachTestView(view, canvas, 1e9, 0, 0);
  for (const auto& c : cases) {
    canvas.Clear();
    view.mode = c.viewMode;
    auto block = MakeRect(0, c.y, 10, c.y + 4, SampleProp());
    block->CalcInnerPoint();
    block->DrawName(&view);
    ASSERT_EQ(canvas.Primitives().size(), 1u) << c.mode << "\n" << canvas.Dump();
    EXPECT_EQ(canvas.Primitives()[0].points.at(0).y, c.expectedY) << c.mode;
  }
}

TEST_F(StratumDrawTest, DrawNameDrawsNothingWhileNamesAreOff) {
  auto block = MakeRect(0, 0, 10, 4, SampleProp());
  block->CalcInnerPoint();
  CSpStratumBlock::SetShowTisoName(0);
  EXPECT_EQ(CSpStratumBlock::GetShowTisoName(), 0);
  block->DrawName(&view);
  EXPECT_TRUE(canvas.Primitives().empty());
}

// ---- Soil properties over a shape array ----

TEST(StratumArrayTest, CopyStratumPropCarriesPropertiesToTheRebuiltPolygons) {
  CDPolyArray old;
  old.Add(MakeRect(0, 5, 10, 10, NamedProp("砂")));
  old.Add(MakeRect(0, 0, 10, 5, SampleProp()));

  // Rebuilt after an edit: the boundary moved up a little and the section got wider; a third
  // polygon lies where no old one did.
  CDPolyArray rebuilt;
  rebuilt.Add(MakeRect(0, 0, 10.5, 5.2));
  rebuilt.Add(MakeRect(0, 5.2, 10.5, 10.3));
  rebuilt.Add(MakeRect(20, 0, 30, 5, NamedProp("残す")));
  rebuilt.Add(MakePoly({{0, 0}, {1, 1}}));
  for (int i = 0; i < 3; ++i) rebuilt.GetAt(i)->SetName("地層" + std::to_string(i + 1));

  rebuilt.CopyStratumProp(&old);

  const auto prop = [&rebuilt](int i) {
    return *static_cast<const CSpStratumBlock*>(rebuilt.GetAt(i))->GetPropPtr();
  };
  EXPECT_TRUE(prop(0).IsSame(SampleProp()));
  EXPECT_TRUE(prop(1).IsSame(NamedProp("砂")));
  EXPECT_TRUE(prop(2).IsSame(NamedProp("残す")));
  for (int i = 0; i < 3; ++i)
    EXPECT_EQ(rebuilt.GetAt(i)->GetName(), "地層" + std::to_string(i + 1));
  ExpectPoints(*rebuilt.GetAt(0), {{0, 0}, {10.5, 0}, {10.5, 5.2}, {0, 5.2}, {0, 0}});
  // The inner points were computed and kept.
  const CDPoint inner = rebuilt.GetAt(1)->GetInnerPoint();
  EXPECT_TRUE(rebuilt.GetAt(1)->PolyRgn(&inner));

  // Strata recognised for the first time have no earlier polygons: the properties stay.
  rebuilt.CopyStratumProp(nullptr);
  EXPECT_TRUE(prop(0).IsSame(SampleProp()));
}

TEST(StratumArrayTest, ValidityChecksLookAtTheStrengthValuesAndTheSkinFriction) {
  const struct {
    const char* what;
    std::function<void(tagSATURATE&)> change;
    bool validFs;
    bool validTaup;
  } cases[] = {
      {"all set", [](tagSATURATE&) {}, true, true},
      {"gammaT missing", [](tagSATURATE& v) { v.gammaT = kNoValue; }, false, true},
      {"gammaSat missing", [](tagSATURATE& v) { v.gammaSat = kNoValue; }, false, true},
      {"phi missing", [](tagSATURATE& v) { v.phi = kNoValue; }, false, true},
      {"c missing", [](tagSATURATE& v) { v.c = kNoValue; }, false, true},
      {"tauP missing", [](tagSATURATE& v) { v.tauP = kNoValue; }, true, false},
  };
  for (const auto& c : cases) {
    CDPolyArray array;
    array.Add(MakeRect(0, 0, 1, 1, SampleProp()));
    array.Add(MakeRect(0, 1, 1, 2, SampleProp()));
    array.Add(MakePoly({{0, 0}, {1, 0}}));  // not a stratum polygon: not looked at
    c.change(*static_cast<CSpStratumBlock*>(array.GetAt(1))->GetPropStructure());
    EXPECT_EQ(array.IsValidStratumFs(), c.validFs) << c.what;
    EXPECT_EQ(array.IsValidTaup(), c.validTaup) << c.what;
  }
  const CDPolyArray empty;
  EXPECT_TRUE(empty.IsValidStratumFs());
  EXPECT_TRUE(empty.IsValidTaup());
}

}  // namespace
