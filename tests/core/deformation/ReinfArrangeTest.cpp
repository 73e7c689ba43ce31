// The arrangement of rock bolts: the list, the order of the bars, the statistics of H, the
// records against bytes built by hand, and the drawing of bars, numbers and zones.

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "core/deformation/ReinfArrange.h"
#include "core/geometry/DPolyArray.h"
#include "core/geometry/ViewInfo.h"
#include "core/section/SpSlideWork.h"
#include "platform/Archive.h"
#include "platform/RecordingCanvas.h"
#include "tests/core/deformation/ReinfTestUtil.h"
#include "tests/support/DrawTestUtil.h"
#include "tests/support/RecordBytes.h"
#include "tests/support/RecordContract.h"
#include "tests/support/SampleSection.h"

namespace {

constexpr int kSet = CReinforce::kSetSeismic;

CReinfArrange Arrangement(std::vector<std::unique_ptr<CReinforce>> bars) {
  CReinfArrange arrange;
  for (auto& bar : bars) arrange.Add(std::move(bar));
  return arrange;
}

std::vector<std::unique_ptr<CReinforce>> Bars(std::unique_ptr<CReinforce> a,
                                              std::unique_ptr<CReinforce> b,
                                              std::unique_ptr<CReinforce> c = nullptr) {
  std::vector<std::unique_ptr<CReinforce>> bars;
  bars.push_back(std::move(a));
  bars.push_back(std::move(b));
  if (c != nullptr) bars.push_back(std::move(c));
  return bars;
}

// ---- The list ----

TEST(ReinfArrangeTest, CreateMakesDefaultBarsAndIndicesOutsideThrow) {
  CReinfArrange arrange;
  arrange.Create(3);
  ASSERT_EQ(arrange.GetSize(), 3);
  EXPECT_EQ(arrange.GetAt(2)->number, -1);
  EXPECT_THROW(arrange.GetAt(3), std::out_of_range);
  EXPECT_THROW(arrange.GetAt(-1), std::out_of_range);
  EXPECT_THROW(arrange.Add(nullptr), std::out_of_range);
  for (const int n : {0, -2}) {
    arrange.Create(n);
    EXPECT_EQ(arrange.GetSize(), 0) << n;
  }
  EXPECT_TRUE(arrange.IsValid()) << "an empty arrangement";
}

TEST(ReinfArrangeTest, NormalizeOrdersFromTheHighestHeadAndLevelHeadsByXForTheSide) {
  const struct {
    const char* name;
    int side;
    std::vector<CDPoint> heads;
    std::vector<int> order;  // the given bars' indices, in their new order
  } cases[] = {
      {"higher first", 1, {{10, 5}, {20, 10}, {5, 2}}, {1, 0, 2}},
      {"level, side 1: larger x first", 1, {{10, 5}, {20, 5}, {15, 5}}, {1, 2, 0}},
      {"level, side 0: smaller x first", 0, {{10, 5}, {20, 5}, {15, 5}}, {0, 2, 1}},
      {"5e-10 higher is level, side 1", 1, {{20, 5}, {10, 5 + 5e-10}}, {0, 1}},
      {"5e-10 higher is level, side 0", 0, {{20, 5}, {10, 5 + 5e-10}}, {1, 0}},
      {"2e-9 higher is higher", 1, {{20, 5}, {10, 5 + 2e-9}}, {1, 0}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    CReinfArrange arrange;
    for (std::size_t i = 0; i < c.heads.size(); ++i) {
      // The length tells the bars apart after the sort.
      arrange.Add(MakeBar(-1, c.side, c.heads[i], 30, 10.0 + static_cast<double>(i), 0));
    }
    arrange.Normalize(c.side);
    for (std::size_t k = 0; k < c.order.size(); ++k) {
      const CReinforce& bar = *arrange.GetAt(static_cast<int>(k));
      EXPECT_EQ(bar.length, 10.0 + c.order[k]) << "place " << k;
      EXPECT_EQ(bar.number, static_cast<int>(k) + 1) << "place " << k;
    }
  }
}

TEST(ReinfArrangeTest, SameComparesBarsButNotNumbers) {
  const CReinfArrange arrange =
      Arrangement(Bars(MakeBar(1, 1, {10, 5}, 30, 8, 0.5), MakeBar(2, 1, {15, 8}, 30, 8, 0.5)));
  CReinfArrange other;
  other.Copy(arrange);
  other.Numbering();
  other.GetAt(0)->number = 5;
  EXPECT_TRUE(arrange.IsSame(other));
  other.GetAt(1)->alpha = 31;
  EXPECT_FALSE(arrange.IsSame(other));
  other.Create(1);
  EXPECT_FALSE(arrange.IsSameUseCale(other));
}

TEST(ReinfArrangeTest, CopyIsDeep) {
  CReinfArrange source =
      Arrangement(Bars(MakeBar(1, 1, {10, 5}, 30, 8, 0.5), MakeBar(2, 0, {15, 8}, 30, 8, 0.5)));
  CReinfArrange copy;
  copy.Copy(source);
  source.GetAt(0)->alpha = 45;
  EXPECT_EQ(copy.GetAt(0)->alpha, 30);
  EXPECT_EQ(copy.GetAt(1)->side, 0);
}

TEST(ReinfArrangeTest, ActiveFlagExtraLengthZeroAndNumberSide) {
  CReinfArrange arrange =
      Arrangement(Bars(MakeBar(1, 0, {10, 5}, 30, 8, 0.5), MakeBar(2, 1, {15, 8}, 30, 8, 0.5)));
  const struct {
    int index;
    std::vector<bool> active;
  } cases[] = {{1, {false, true}}, {0, {true, false}}, {-1, {false, false}}, {2, {false, false}}};
  for (const auto& c : cases) {
    arrange.SetReinfActive(c.index);
    for (int i = 0; i < 2; ++i) EXPECT_EQ(arrange.GetAt(i)->active, c.active[i]) << c.index;
  }

  EXPECT_FALSE(arrange.IsYotyoZero());
  arrange.GetAt(1)->extraLength = 0;
  EXPECT_TRUE(arrange.IsYotyoZero());

  EXPECT_FALSE(arrange.IsDrawSideRight());
  arrange.GetAt(0)->side = 1;
  EXPECT_TRUE(arrange.IsDrawSideRight());
  EXPECT_TRUE(CReinfArrange().IsDrawSideRight());
}

// ---- Statistics of H ----

class ReinfArrangeStatisticsTest : public testing::Test {
 protected:
  CDPolyArray* Strata() { return sample_.ground->GetPolyArray(); }

  void ExpectStatistics(const CReinfArrange& arrange, double sum, double mean, double deviation,
                        double design) {
    EXPECT_NEAR(arrange.GetSumH(), sum, 1e-9);
    EXPECT_NEAR(arrange.GetMeanH(), mean, 1e-9);
    EXPECT_NEAR(arrange.GetDeviationH(), deviation, 1e-9);
    EXPECT_NEAR(arrange.GetMeanPlusDeviation(), mean + deviation, 1e-9);
    EXPECT_NEAR(arrange.GetDesignLength(), design, 1e-9);
  }

  void ExpectNoStatistics(const CReinfArrange& arrange) {
    EXPECT_EQ(arrange.GetSumH(), kNoValue);
    EXPECT_EQ(arrange.GetMeanH(), kNoValue);
    EXPECT_EQ(arrange.GetDeviationH(), kNoValue);
    EXPECT_EQ(arrange.GetMeanPlusDeviation(), kNoValue);
    EXPECT_EQ(arrange.GetDesignLength(), kNoValue);
  }

  SampleSection sample_ = MakeSampleSection();
};

TEST_F(ReinfArrangeStatisticsTest, OverTheBarsWithAPositiveH) {
  // On the slip line y = -4 + 2x/3: two bars across it (H 0.928 and 2.065, worked out by hand),
  // one wholly above (H = its inserted length 3) and one wholly below (H = 0, left out).
  const auto slip = StraightSlip(CDPoint(0, -4), CDPoint(30, 16));
  std::vector<std::unique_ptr<CReinforce>> bars;
  bars.push_back(MakeBar(1, 1, {12, 5}, 30, 8, 0.5));
  bars.push_back(MakeBar(2, 1, {18, 10}, 20, 10, 1));
  bars.push_back(MakeBar(3, 1, {24, 15}, 15, 3, 0));
  bars.push_back(MakeBar(4, 1, {29.5, 15}, 10, 2, 0));
  CReinfArrange arrange = Arrangement(std::move(bars));

  arrange.CalcRealH(kSet, Strata(), slip.get());
  const double expectedH[] = {0.928, 2.065, 3, 0};
  for (int i = 0; i < 4; ++i) EXPECT_NEAR(arrange.GetAt(i)->GetH(kSet), expectedH[i], 1e-9) << i;
  EXPECT_EQ(arrange.GetAt(0)->GetZoneStratumSize(), 3);
  // sum 5.993; mean round(5.993 / 3) = 1.998; squares 1.1449 + 0.004489 + 1.004004 = 2.153393;
  // deviation round(sqrt(2.153393 / 3)) = 0.847; design round(2 * 2.845 + 0.5) = 6.19.
  ExpectStatistics(arrange, 5.993, 1.998, 0.847, 6.19);
}

TEST_F(ReinfArrangeStatisticsTest, EqualHGiveNoDeviationAndTheDesignLength2HPlusExtra) {
  const auto slipFarBelow = StraightSlip(CDPoint(-10, -50), CDPoint(40, -50));
  CReinfArrange arrange =
      Arrangement(Bars(MakeBar(1, 1, {12, 5}, 30, 5, 0.5), MakeBar(2, 1, {18, 10}, 30, 5, 0.5),
                       MakeBar(3, 1, {24, 15}, 30, 5, 0.5)));
  arrange.CalcRealH(kSet, Strata(), slipFarBelow.get());
  ExpectStatistics(arrange, 13.5, 4.5, 0, 9.5);
}

TEST_F(ReinfArrangeStatisticsTest, WithoutAPositiveHOrAnInputTheStatisticsStayUnset) {
  const auto slipAbove = StraightSlip(CDPoint(-10, 50), CDPoint(40, 50));
  const auto slip = StraightSlip(CDPoint(0, -4), CDPoint(30, 16));
  CReinfArrange arrange =
      Arrangement(Bars(MakeBar(1, 1, {12, 5}, 30, 8, 0.5), MakeBar(2, 1, {18, 10}, 20, 10, 1)));
  arrange.CalcRealH(kSet, Strata(), slipAbove.get());
  EXPECT_EQ(arrange.GetAt(0)->GetH(kSet), 0);
  ExpectNoStatistics(arrange);

  arrange.CalcRealH(kSet, Strata(), slip.get());
  ASSERT_NE(arrange.GetMeanH(), kNoValue);
  arrange.CalcRealH(kSet, nullptr, slip.get());
  ExpectNoStatistics(arrange);
  arrange.CalcRealH(kSet, Strata(), slip.get());
  arrange.CalcRealH(kSet, Strata(), nullptr);
  ExpectNoStatistics(arrange);
  CReinfArrange empty;
  empty.CalcRealH(kSet, Strata(), slip.get());
  ExpectNoStatistics(empty);
}

TEST_F(ReinfArrangeStatisticsTest, AnUnsetExtraLengthOfTheFirstBarLeavesTheDesignLengthUnset) {
  const auto slipFarBelow = StraightSlip(CDPoint(-10, -50), CDPoint(40, -50));
  CReinfArrange arrange = Arrangement(
      Bars(MakeBar(1, 1, {12, 5}, 30, 5, kNoValue), MakeBar(2, 1, {18, 10}, 30, 5, 0.5)));
  arrange.CalcRealH(kSet, Strata(), slipFarBelow.get());
  // The first bar's inserted length is its whole length 5.
  EXPECT_NEAR(arrange.GetMeanH(), 4.75, 1e-9);
  EXPECT_EQ(arrange.GetDesignLength(), kNoValue);
}

// ---- Records ----

struct BarRecord {
  int number;
  int side;
  int stdBar;
  double headX;
  double headY;
  double sh;
  double alpha;
  double length;
  double extra;
};

const BarRecord kFirst{1, 1, 0, 12.5, 5.25, 2.0, 30, 8, 0.5};
const BarRecord kSecond{2, 0, 0, 18, 10, 1.5, 20, 10, 1};

std::unique_ptr<CReinforce> BarOf(const BarRecord& r) {
  auto bar = MakeBar(r.number, r.side, CDPoint(r.headX, r.headY), r.alpha, r.length, r.extra, r.sh);
  bar->stdBar = r.stdBar;
  return bar;
}

RecordBytes& AppendBar(RecordBytes& bytes, const BarRecord& r, bool withExtra) {
  bytes.Int(r.number).Int(r.side).Int(r.stdBar);
  bytes.Double(r.headX).Double(r.headY).Double(r.sh).Double(r.alpha).Double(r.length);
  if (withExtra) bytes.Double(r.extra);
  return bytes;
}

// Differs from the stored arrangement in every field.
std::unique_ptr<CReinfArrange> OtherArrangement() {
  auto arrange = std::make_unique<CReinfArrange>();
  arrange->Add(BarOf({7, 3, 5, 1, 1, 9, 9, 9, 9}));
  return arrange;
}

bool SameBars(const CReinfArrange& a, const CReinfArrange& b) {
  if (!a.IsSame(b)) return false;
  for (int i = 0; i < a.GetSize(); ++i) {
    if (a.GetAt(i)->number != b.GetAt(i)->number) return false;
  }
  return true;
}

TEST(ReinfArrangeRecordTest, Version10HoldsEveryBarWithItsExtraLength) {
  const CReinfArrange stored = Arrangement(Bars(BarOf(kFirst), BarOf(kSecond)));
  RecordBytes bytes;
  bytes.Int(2);
  AppendBar(bytes, kFirst, true);
  AppendBar(bytes, kSecond, true);
  const auto loaded = ExpectRecordContract<CReinfArrange>({.stored = stored,
                                                           .version = 10,
                                                           .bytes = bytes.Get(),
                                                           .makeTarget = OtherArrangement,
                                                           .same = SameBars});
  ASSERT_NE(loaded, nullptr);
  EXPECT_TRUE(loaded->IsValid());
}

TEST(ReinfArrangeRecordTest, Versions3And6HaveNoExtraLengthAndLoadInvalidBars) {
  BarRecord first = kFirst;
  BarRecord second = kSecond;
  first.extra = kNoValue;
  second.extra = kNoValue;
  const CReinfArrange stored = Arrangement(Bars(BarOf(first), BarOf(second)));
  RecordBytes bytes;
  bytes.Int(2);
  AppendBar(bytes, first, false);
  AppendBar(bytes, second, false);
  for (const int version : {3, 6}) {
    SCOPED_TRACE(version);
    const auto loaded = ExpectRecordContract<CReinfArrange>({.stored = stored,
                                                             .version = version,
                                                             .bytes = bytes.Get(),
                                                             .makeTarget = OtherArrangement,
                                                             .same = SameBars});
    ASSERT_NE(loaded, nullptr);
    EXPECT_EQ(loaded->GetAt(0)->extraLength, kNoValue);
    EXPECT_FALSE(loaded->IsValid());
  }
}

TEST(ReinfArrangeRecordTest, LoadDropsTheStatistics) {
  SampleSection sample = MakeSampleSection();
  const auto slip = StraightSlip(CDPoint(0, -4), CDPoint(30, 16));
  CReinfArrange arrange = Arrangement(Bars(BarOf(kFirst), BarOf(kSecond)));
  arrange.CalcRealH(kSet, sample.ground->GetPolyArray(), slip.get());
  ASSERT_NE(arrange.GetMeanH(), kNoValue);
  Archive out;
  arrange.Store(out, 10);
  Archive in(out.Bytes());
  arrange.Load(in, 10);
  EXPECT_EQ(arrange.GetMeanH(), kNoValue);
  EXPECT_EQ(arrange.GetAt(0)->GetZoneStratumSize(), 0);
}

TEST(ReinfArrangeRecordTest, ZoneRecordHoldsItsEndsRegionAndStratum) {
  const CReinfZone zone(CDPoint(1.5, 2.25), CDPoint(3.5, -1.75), CReinfZone::kRegionL2, 2);
  const auto bytes =
      RecordBytes().Double(1.5).Double(2.25).Double(3.5).Double(-1.75).Int(1).Int(2).Get();
  ExpectRecordContract<CReinfZone>({.stored = zone, .bytes = bytes});
}

// ---- Drawing ----

class ReinfArrangeDrawTest : public testing::Test {
 protected:
  ReinfArrangeDrawTest() { AttachTestView(view_, canvas_, 10, 150, 150); }

  RecordingCanvas canvas_;
  CViewInfo view_;
};

TEST_F(ReinfArrangeDrawTest, ABarIsALineFromItsOuterEndToItsTail) {
  const struct {
    bool dotted;
    bool active;
    PenStyle style;
    int width;
  } cases[] = {{false, false, PenStyle::Solid, 1},
               {true, false, PenStyle::Dot, 1},
               {false, true, PenStyle::Solid, 3},
               {true, true, PenStyle::Dot, 3}};
  const auto bar = MakeBar(1, 1, {12, 5}, 30, 8, 0.5);
  for (const auto& c : cases) {
    canvas_.Clear();
    bar->active = c.active;
    bar->Draw(&view_, c.dotted);
    const auto lines = canvas_.PrimitivesOf(PrimitiveKind::Line);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].points, (std::vector<DevPoint>{view_.LPtoDP(bar->GetPointExt()),
                                                      view_.LPtoDP(bar->GetPointTail())}));
    EXPECT_EQ(lines[0].state.pen, (Pen{c.style, c.width, Color{0}}));
  }
}

TEST_F(ReinfArrangeDrawTest, ABarWithoutExtraLengthStartsAtItsHead) {
  const auto bar = MakeBar(1, 1, {12, 5}, 30, 8, 0);
  bar->Draw(&view_, false);
  const auto lines = canvas_.PrimitivesOf(PrimitiveKind::Line);
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0].points.front(), view_.LPtoDP(CDPoint(12, 5)));
}

TEST_F(ReinfArrangeDrawTest, NumbersStandAtTheTailsOnTheSideOfTheFirstBar) {
  for (const int side : {1, 0}) {
    for (const bool print : {false, true}) {
      SCOPED_TRACE(std::to_string(side) + (print ? " print" : " screen"));
      canvas_.Clear();
      view_.mode = print ? CViewInfo::kModePrint : CViewInfo::kModeDraw;
      const CReinfArrange arrange = Arrangement(
          Bars(MakeBar(1, side, {12, 5}, 30, 8, 0.5), MakeBar(2, side, {18, 10}, 30, 8, 0.5)));
      arrange.Draw(&view_, true, false);
      EXPECT_EQ(canvas_.PrimitivesOf(PrimitiveKind::Line).size(), 2u);
      const auto texts = canvas_.PrimitivesOf(PrimitiveKind::Text);
      ASSERT_EQ(texts.size(), 2u);
      const int m = print ? 10 : 1;
      for (int i = 0; i < 2; ++i) {
        const DrawnPrimitive& text = texts[static_cast<std::size_t>(i)];
        EXPECT_EQ(text.text, std::to_string(i + 1));
        EXPECT_EQ(text.points.front(), view_.LPtoDP(arrange.GetAt(i)->GetPointTail()));
        EXPECT_EQ(text.state.font, (Font{.height = 12 * m,
                                         .width = 6 * m,
                                         .weight = 400,
                                         .face = "ＭＳ ゴシック",
                                         .charset = FontCharset::ShiftJis}));
        EXPECT_EQ(text.state.backgroundMode, BackgroundMode::Transparent);
        EXPECT_EQ(HorizontalPart(text.state.textAlign),
                  side == 1 ? TextAlign::Left : TextAlign::Right);
      }
    }
  }
}

TEST_F(ReinfArrangeDrawTest, WithoutNumbersOnlyTheBars) {
  const CReinfArrange arrange =
      Arrangement(Bars(MakeBar(1, 1, {12, 5}, 30, 8, 0.5), MakeBar(2, 1, {18, 10}, 30, 8, 0.5)));
  arrange.Draw(&view_, false, true);
  EXPECT_EQ(canvas_.PrimitivesOf(PrimitiveKind::Text).size(), 0u);
  for (const DrawnPrimitive& line : canvas_.PrimitivesOf(PrimitiveKind::Line)) {
    EXPECT_EQ(line.state.pen.style, PenStyle::Dot);
  }
}

TEST_F(ReinfArrangeDrawTest, ZonesShowTheStratumCutsAndTheZonesOfSets0To2ByPart) {
  SampleSection sample = MakeSampleSection();
  const auto slip = StraightSlip(CDPoint(0, -4), CDPoint(30, 16));
  const auto bar = MakeBar(1, 1, {12, 5}, 30, 8, 0.5);
  bar->CreateZoneStratum(*sample.ground->GetPolyArray());
  bar->CreateZone(0, *slip);
  bar->CreateZone(3, *slip);  // not drawn
  bar->DrawZone(&view_);

  const Color l1{0x8040FF};
  const Color l2{0xFF4040};
  const auto circles = canvas_.PrimitivesOf(PrimitiveKind::Ellipse);
  ASSERT_EQ(circles.size(), 3u + 4u);
  for (int i = 0; i < 3; ++i) {
    const DevPoint c = view_.LPtoDP(bar->GetZoneStratum(i).end);
    EXPECT_EQ(circles[static_cast<std::size_t>(i)].rect,
              (DevRect{c.x - 3, c.y - 3, c.x + 3, c.y + 3}));
  }
  const auto lines = canvas_.PrimitivesOf(PrimitiveKind::Line);
  ASSERT_EQ(lines.size(), 4u);
  for (int i = 0; i < 4; ++i) {
    const CReinfZone& zone = bar->GetZone(0, i);
    const DevPoint c = view_.LPtoDP(zone.end);
    const Pen pen{PenStyle::Solid, 2, zone.region == CReinfZone::kRegionL2 ? l2 : l1};
    const DrawnPrimitive& circle = circles[3 + static_cast<std::size_t>(i)];
    EXPECT_EQ(circle.rect, (DevRect{c.x - 5, c.y - 5, c.x + 5, c.y + 5}));
    EXPECT_EQ(circle.state.pen, pen);
    EXPECT_EQ(lines[static_cast<std::size_t>(i)].points,
              (std::vector<DevPoint>{view_.LPtoDP(zone.start), c}));
    EXPECT_EQ(lines[static_cast<std::size_t>(i)].state.pen, pen);
  }
  EXPECT_EQ(bar->GetZone(0, 0).region, CReinfZone::kRegionL1);
  EXPECT_EQ(bar->GetZone(0, 1).region, CReinfZone::kRegionL2);
}

}  // namespace
