#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <numbers>
#include <string>
#include <vector>

#include "core/circle/CircleRecordVersion.h"
#include "core/circle/ResDrain.h"
#include "core/model/PrmDrain.h"
#include "core/model/PrmReinf.h"
#include "platform/Archive.h"
#include "platform/RecordingCanvas.h"
#include "tests/core/circle/CircleSurface.h"
#include "tests/core/circle/ResultRecordBytes.h"
#include "tests/support/DrawTestUtil.h"
#include "tests/support/RecordBytes.h"
#include "tests/support/RecordContract.h"
#include "tests/support/SampleSection.h"

namespace {

using Q = CRepPoint::Quantity;

// One circle's safety factors before and after the measure, of both cases.
struct Values {
  double fs;
  double fsAfter;
  double fsSeis = 1.0;
  double fsSeisAfter = 1.0;
};

// Listed in their order under a key that lists every circle of the normal case.
void Fill(CResHokyo& res, const std::vector<Values>& circles) {
  auto mesh = std::make_unique<CRepMesh>(static_cast<int>(circles.size()), 1);
  for (std::size_t i = 0; i < circles.size(); ++i) {
    auto node = std::make_unique<CRepPoint>();
    node->SetCenter(CDPoint(static_cast<double>(i), 20));
    auto circle = std::make_unique<CRepPoint>();
    circle->SetId(static_cast<int>(i));
    circle->SetCenter(node->GetCenter());
    circle->SetStab(Q::kFs, 0, circles[i].fs);
    circle->SetStab(Q::kFsAfter, 0, circles[i].fsAfter);
    circle->SetStab(Q::kFs, 1, circles[i].fsSeis);
    circle->SetStab(Q::kFsAfter, 1, circles[i].fsSeisAfter);
    circle->SetStab(Q::kSixth, 0, 10.0 + static_cast<double>(i));
    circle->SetStab(Q::kSixth, 1, 20.0 + static_cast<double>(i));
    for (const int c : {0, 1}) circle->SetStab(Q::kT, c, 100);
    circle->SetSlideWork(CircleSurface());
    node->AddChild(std::move(circle));
    mesh->SetRepPoint(static_cast<int>(i), 0, std::move(node));
  }
  res.GetKey().Data().normalGroup = 1;
  res.GetKey().Data().abnormalOff = 0;
  res.SetMesh(std::move(mesh));
  res.SetSerialCount(res.SerialResult());
}

// A bar with a head on the sample slope.
std::unique_ptr<CReinforce> Bar(double x) {
  auto bar = std::make_unique<CReinforce>();
  bar->SetParam(CReinforce::kSideMinusX, 0, CDPoint(x, (x - 6) * 15 / 18), 2.0, 30.0, 5.0, 0.5);
  bar->number = 1;
  return bar;
}

TEST(ResDrainTest, ANewResultIsEmpty) {
  const CResDrain drain;
  const CResReinf reinf;
  for (const CResHokyo* res :
       {static_cast<const CResHokyo*>(&drain), static_cast<const CResHokyo*>(&reinf)}) {
    EXPECT_EQ(res->GetSize(), 0);
    EXPECT_EQ(res->GetMesh(), nullptr);
    EXPECT_EQ(res->display, (std::array<int, 4>{11, 0, 20, 1}));
    EXPECT_EQ(res->GetKey().Data().fsType, 11);
    EXPECT_EQ(res->conditions.kind, kArcSetRadius);
    EXPECT_EQ(res->GetSpecifFs(0, true), kNoValue);
  }
}

TEST(ResDrainTest, ClearResKeepsOrFreesTheSearchResults) {
  for (const bool all : {false, true}) {
    CResDrain res;
    Fill(res, {{1.2, 1.4}, {1.1, 1.3}});
    res.SetCurrentResult(res.GetSerialList()[0]);
    res.Add(Bar(12));
    for (int set = 0; set < CReinforce::kSetCount; ++set) {
      CReinforce::Result& r = res.GetAt(0)->GetResult(set);
      r.H = 2;
      r.Tpa = 3;
      r.sumL1tpa = 4;
    }
    res.ClearRes(all);
    for (int set = 0; set < CReinforce::kSetCount; ++set) {
      EXPECT_EQ(res.GetAt(0)->GetResult(set), CReinforce::Result{}) << set;
    }
    EXPECT_EQ(res.GetSize(), 1);
    EXPECT_EQ(res.GetMesh() == nullptr, all);
    EXPECT_EQ(res.GetSerialList().size(), all ? 0u : 2u);
    EXPECT_EQ(res.GetCurrentResult() == nullptr, all);
  }
}

TEST(ResDrainTest, PreCalcCutsTheBarsAtTheStrata) {
  const SampleSection sample = MakeSampleSection();
  CResReinf res;
  res.Add(Bar(12));
  res.GetAt(0)->GetResult(0).H = 2;
  res.PreCalc(sample.section);
  EXPECT_GT(res.GetAt(0)->GetZoneStratumSize(), 0);
  EXPECT_EQ(res.GetAt(0)->GetResult(0).H, kNoValue);
  // Without a ground only the results are cleared.
  CResReinf bare;
  bare.Add(Bar(12));
  bare.PreCalc(CDanmen());
  EXPECT_EQ(bare.GetAt(0)->GetZoneStratumSize(), 0);
}

TEST(ResDrainTest, ExtremesBeforeAndAfter) {
  CResDrain res;
  Fill(res, {{1.2, 1.5, 0.9, 1.2}, {1.1, kNoValue, 1.0, 1.1}, {1.3, 1.4, 0.95, 1.3}});
  EXPECT_EQ(res.GetMinFs(0), 1.1);
  EXPECT_EQ(res.GetMinFsAfter(0), 1.4);
  EXPECT_EQ(res.GetMinFs(1), 0.9);
  EXPECT_EQ(res.GetMinFsAfter(1), 1.1);
  const double after[] = {0.3, 0.6, 0.5};
  const double peak[] = {0.1, 0.1, -0.1};
  const double drop[] = {0.1, -0.1, 0.1};
  for (std::size_t i = 0; i < 3; ++i) {
    CRepPoint& p = *res.GetSerialList()[i];
    p.SetValue(9, after[i]);  // kinds 20, 23 and 24
    p.SetValue(12, peak[i]);
    p.SetValue(13, drop[i]);
  }
  EXPECT_EQ(res.GetMaxDeltaAfter(0), 0.6);
  EXPECT_EQ(res.GetMaxDeltaAfter(1), 0.3);
}

TEST(ResDrainTest, SpecifiedFsBeforeAndAfter) {
  CResReinf res;
  for (std::size_t c = 0; c < 2; ++c) {
    res.sliceResults[c][CResCircle::kSliceFs] = 1.1 + 0.01 * static_cast<double>(c);
    res.sliceResults[c][CResCircle::kSliceFsAfter] = 1.3 + 0.01 * static_cast<double>(c);
    res.knownResults[c].Fs = 1.2 + 0.01 * static_cast<double>(c);
    res.knownResults[c].FsExtra = 1.4 + 0.01 * static_cast<double>(c);
  }
  struct Case {
    int kind;
    int column;
    bool after;
    double fs;
  };
  const Case cases[] = {{0, 0, false, 1.1},  {0, 1, true, 1.31}, {1, 0, true, 1.4},
                        {1, 1, false, 1.21}, {2, 1, true, 1.41}, {3, 0, true, kNoValue}};
  for (const Case& c : cases) {
    res.specifKind = c.kind;
    EXPECT_EQ(res.GetSpecifFs(c.column, c.after), c.fs) << c.kind << c.column << c.after;
  }
}

// A drainage and a reinforcement result of equal content differ only in the kinds 9 and 15, the
// graph captions and the second drawing flag of the bars.
TEST(ResDrainTest, DrainageAndReinforcementDifferOnlyWhereTheyShould) {
  CResDrain drain;
  CResReinf reinf;
  for (CResHokyo* res : {static_cast<CResHokyo*>(&drain), static_cast<CResHokyo*>(&reinf)}) {
    Fill(*res, {{1.2, 1.4}, {1.1, 1.3}});
    res->Add(Bar(12));
    res->graph.itemX = 10;
    res->graph.itemY = 11;
  }
  struct Case {
    int kind;
    double drainMin;
    double reinfMin;
    double reinfMax;
  };
  const Case cases[] = {{9, kNoValue, 10, 11}, {15, kNoValue, 20, 21}, {11, 1.3, 1.3, 1.4}};
  for (const Case& c : cases) {
    EXPECT_EQ(drain.GetSerialMin(c.kind, 0), c.drainMin) << c.kind;
    EXPECT_EQ(reinf.GetSerialMin(c.kind, 0), c.reinfMin) << c.kind;
    EXPECT_EQ(reinf.GetSerialMax(c.kind, 0), c.reinfMax) << c.kind;
  }

  const auto drawn = [](const auto& res, auto draw) {
    RecordingCanvas canvas;
    CViewInfo view;
    AttachTestView(view, canvas, 10, 150, 150);
    draw(res, view);
    return canvas.Primitives();
  };
  const auto bars = [&](const auto& res) {
    return drawn(res, [](const auto& r, CViewInfo& v) { r.Draw(&v); });
  };
  const auto drainBars = bars(drain);
  const auto reinfBars = bars(reinf);
  ASSERT_EQ(drainBars.size(), 2u);  // the bar and its number
  EXPECT_EQ(drainBars[0].state.pen.style, PenStyle::Dot);
  EXPECT_EQ(reinfBars[0].state.pen.style, PenStyle::Solid);
  EXPECT_EQ(drainBars[1].text, "1");
  EXPECT_EQ(drainBars[0].points, reinfBars[0].points);

  const auto captions = [&](auto& res) {
    std::vector<std::string> texts;
    RecordingCanvas canvas;
    CViewInfo view;
    AttachTestView(view, canvas, 10, 150, 150);
    res.DrawResultGridOnly(&view, DevRect{0, 0, 500, 400});
    for (const DrawnPrimitive& p : canvas.PrimitivesOf(PrimitiveKind::Text))
      texts.push_back(p.text);
    return std::vector<std::string>(texts.end() - 2, texts.end());
  };
  EXPECT_EQ(captions(drain),
            (std::vector<std::string>{"異常降雨時排水前安全率Fs", "異常降雨時排水後安全率Fs"}));
  EXPECT_EQ(captions(reinf),
            (std::vector<std::string>{"異常降雨時排水後安全率Fs", "異常降雨時補強後安全率Fs"}));
}

TEST(ResDrainTest, CirclesAreColouredByTheirValueAfterTheMeasure) {
  CResReinf res;
  Fill(res, {{0.7, 1.2}, {1.2, 0.7}});
  res.GetKey().Data().allCircles = 1;
  RecordingCanvas canvas;
  CViewInfo view;
  AttachTestView(view, canvas, 10, 150, 150);
  res.DrawAllSlide(&view, 0);
  std::vector<std::uint32_t> colours;
  for (const DrawnPrimitive& p : canvas.Primitives()) {
    if (colours.empty() || colours.back() != p.state.pen.color.ref) {
      colours.push_back(p.state.pen.color.ref);
    }
  }
  EXPECT_EQ(colours, (std::vector<std::uint32_t>{res.GetKey().GetColor(1.2).ref,
                                                 res.GetKey().GetColor(0.7).ref}));

  canvas.Clear();
  res.GetSerialList()[0]->SetValue(8, 0.9);  // before
  res.GetSerialList()[0]->SetValue(9, 0.1);  // after
  res.GetSerialList()[1]->SetValue(8, 0.1);
  res.GetSerialList()[1]->SetValue(9, 0.9);
  res.DrawAllSlideNewmark(&view, 0.5);
  colours.clear();
  for (const DrawnPrimitive& p : canvas.Primitives()) {
    if (colours.empty() || colours.back() != p.state.pen.color.ref) {
      colours.push_back(p.state.pen.color.ref);
    }
  }
  EXPECT_EQ(colours,
            (std::vector<std::uint32_t>{Color::Rgb(0, 0, 255).ref, Color::Rgb(255, 0, 0).ref}));
}

// Markers: extreme by the smallest Fs before or after, beyond by the value after.
TEST(ResDrainTest, GraphClassesTakeTheValuesAfterTheMeasure) {
  CResDrain res;
  // 0: nothing special; 1: the smallest Fs before; 2: the smallest Fs after; 3: below the
  // allowable 1.0 only before the measure.
  // The seismic case has no values.
  Fill(res, {{1.5, 1.6, kNoValue, kNoValue},
             {1.0, 1.7, kNoValue, kNoValue},
             {1.4, 1.2, kNoValue, kNoValue},
             {0.95, 1.65, kNoValue, kNoValue}});
  CDrawResGraphSet& g = res.graph;
  g.itemX = 10;
  g.itemY = 11;
  g.autoRange[0] = 0;
  g.minX = g.minY = 0;
  g.maxX = g.maxY = 2;
  g.lineColors = {Color::Rgb(1, 1, 1), Color::Rgb(2, 2, 2), Color::Rgb(3, 3, 3)};
  g.allowMode = 0;
  g.refValues[0] = 1.3;
  RecordingCanvas canvas;
  CViewInfo view;
  AttachTestView(view, canvas, 10, 150, 150);
  res.DrawResultSimple(&view, DevRect{0, 0, 500, 400}, DevRect{100, 50, 400, 350}, 0);
  std::vector<std::pair<std::uint32_t, std::uint32_t>> markers;
  for (const DrawnPrimitive& p : canvas.PrimitivesOf(PrimitiveKind::Ellipse)) {
    markers.emplace_back(p.state.pen.color.ref, p.state.brush.color.ref);
  }
  const std::uint32_t normal = 0x010101, beyond = 0x020202, extreme = 0x030303;
  // Point 3's Fs before is the smallest before: extreme too.
  const std::vector<std::pair<std::uint32_t, std::uint32_t>> expected{
      {normal, normal}, {normal, normal}, {beyond, extreme}, {normal, extreme}};
  EXPECT_EQ(markers, expected);
}

// ---- The arrangement from the ranges ----

CReinfRange Range(int inclinationMode) {
  CReinfRange range;
  range.start = CDPoint(24, 15);
  range.end = CDPoint(12, 5);
  range.startSide = CReinfRange::kSideUpper;
  range.offsets = {1.0, 1.0, 1.0, 1.0};
  range.pitches = {2.0, 2.0};
  range.rowCount = 2;
  range.inclinationMode = inclinationMode;
  range.alpha = 20.0;
  range.lrb = 5.0;
  range.extraLength = 0.3;
  range.sh = 1.5;
  return range;
}

TEST(ResDrainArrangeTest, OneBarPerRowOfTheValidRanges) {
  const SampleSection sample = MakeSampleSection();
  CPrmReinf prm;
  prm.ranges[1] = Range(CReinfRange::kInclineFixed);
  prm.ranges[3] = Range(CReinfRange::kInclinePerpendicular);
  prm.ranges[3].start = CDPoint(12, 5);
  prm.ranges[3].end = CDPoint(6, 0);
  prm.ranges[5] = Range(CReinfRange::kInclineFixed);
  prm.ranges[5].lrb = kNoValue;  // not valid
  CResReinf res;
  res.Add(Bar(20));
  res.CreateArrange(prm, CReinforce::kSideMinusX, sample.ground.get());
  ASSERT_EQ(res.GetSize(), 4);
  // The face rises at atan(15 / 18); a bar perpendicular to it dips 90 degrees less that.
  const double perpendicular =
      std::round((90 - std::atan2(15.0, 18.0) * 180 / std::numbers::pi) * 100) / 100;
  const double alphas[] = {20, 20, perpendicular, perpendicular};
  for (int i = 0; i < 4; ++i) {
    const CReinforce& bar = *res.GetAt(i);
    SCOPED_TRACE(i);
    EXPECT_EQ(bar.number, i + 1);
    EXPECT_EQ(bar.side, CReinforce::kSideMinusX);
    EXPECT_EQ(bar.stdBar, 0);
    EXPECT_EQ(bar.sh, 1.5);
    EXPECT_EQ(bar.length, 5.0);
    EXPECT_NEAR(bar.alpha, alphas[i], 1e-9);
    EXPECT_EQ(bar.extraLength, kNoValue);  // as a new bar has it
    if (i > 0) {
      EXPECT_GT(res.GetAt(i - 1)->head.y, bar.head.y);
    }
  }
  CPrmDrain none;
  CResDrain drain;
  drain.Add(Bar(20));
  drain.CreateArrange(none, CReinforce::kSideMinusX, sample.ground.get());
  EXPECT_EQ(drain.GetSize(), 0);
}

// ---- Copies and records ----

TEST(ResDrainTest, ACopyHasItsOwnBarsConditionsAndResults) {
  auto source = std::make_unique<CResReinf>();
  Fill(*source, {{1.2, 1.4}, {1.1, 1.3}});
  source->Add(Bar(12));
  source->conditions.kind = kArcSetPass1;
  source->SetCurrentResult(source->GetSerialList()[1]);
  source->GetKey().Hokyo().fsLimit = 1.6;
  CResReinf copy;
  copy.Copy(*source);
  EXPECT_TRUE(copy.IsSame(*source));
  source.reset();
  EXPECT_EQ(copy.GetSize(), 1);
  EXPECT_EQ(copy.conditions.kind, kArcSetPass1);
  EXPECT_EQ(copy.GetKey().Hokyo().fsLimit, 1.6);
  ASSERT_NE(copy.GetCurrentResult(), nullptr);
  EXPECT_EQ(copy.GetCurrentResult()->GetId(), 1);
  EXPECT_EQ(copy.GetMinFsAfter(0), 1.3);
}

std::unique_ptr<CResDrain> StoredDrain() {
  auto res = std::make_unique<CResDrain>();
  res->Add(Bar(12));
  res->GetKey().Hokyo().fsOn = 1;
  FillStored(*res, res->conditions, kCircleRecordVersion);
  return res;
}

std::vector<std::uint8_t> StoredDrainBytes() {
  const int version = kCircleRecordVersion;
  RecordBytes b;
  b.Int(1);  // one bar
  b.Int(1).Int(CReinforce::kSideMinusX).Int(0);
  b.Double(12).Double(5).Double(2).Double(30).Double(5).Double(0.5);
  ConditionBytes(b, version);
  b.Int(1).Int(0).Int(0).Double(1.4).Double(1.4).Double(1.0);  // the filters after the measure
  KeyBytes(b, version);
  StoredResultBytes(b, version);
  return b.Get();
}

std::unique_ptr<CResDrain> OtherDrain() {
  auto res = std::make_unique<CResDrain>();
  res->Add(Bar(20));
  res->Add(Bar(22));
  res->conditions.kind = kArcSetPass3;
  res->GetKey().Hokyo().fsLimit = 2;
  res->GetKey().Data().listing = 2;
  res->SetSerialCount(9);
  res->display = {9, 9, 9, 9};
  res->knownResults[1].Fs = 3;
  Fill(*res, {{1.0, 1.1}});
  res->graph.itemX = 16;
  return res;
}

TEST(ResDrainRecordTest, RecordContract) {
  const auto stored = StoredDrain();
  const auto loaded = ExpectRecordContract<CResDrain>({
      .stored = *stored,
      .version = kCircleRecordVersion,
      .bytes = StoredDrainBytes(),
      .makeTarget = OtherDrain,
  });
  ASSERT_NE(loaded, nullptr);
  EXPECT_TRUE(loaded->GetSerialList().empty());
  EXPECT_EQ(loaded->GetKey().Hokyo().fsOn, 1);
}

}  // namespace
