#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/geometry/ViewInfo.h"
#include "core/model/PrmReinf.h"
#include "platform/Archive.h"
#include "platform/RecordingCanvas.h"
#include "tests/core/model/ReinfRecordBytes.h"
#include "tests/support/DrawTestUtil.h"
#include "tests/support/RecordBytes.h"
#include "tests/support/RecordContract.h"
#include "tests/support/SampleSection.h"

namespace {

// Every value distinct, so that the record shows their order; the first range entered.
CPrmReinf Edited() {
  CPrmReinf reinf;
  reinf.barKind = 0;
  reinf.stdBar = SampleD22Bar();
  reinf.tauC = 1.1;
  reinf.tauCQ = 2.2;
  reinf.fsa = 3.3;
  reinf.fsaQ = 4.4;
  reinf.tdFactor = 5.5;
  reinf.reduction = true;
  reinf.myu = 6.6;
  reinf.tauP1 = 7.7;
  reinf.tauP2 = 8.8;
  reinf.shClamp = 2;
  reinf.arrangeCheck = 1;
  CReinfRange& range = reinf.ranges[0];
  range.start = CDPoint(24, 15);
  range.end = CDPoint(12, 5);
  range.startSide = 0;
  range.offsets = {0.5, 1.5, 2.5, 3.5};
  range.rowCount = 3;
  range.lrb = 5.0;
  range.extraLength = 0.3;
  range.sh = 2.0;
  range.pitches = {1.25, 2.0};
  return reinf;
}

TEST(PrmReinfTest, NewConditionsHaveTenNamedEmptyRanges) {
  const CPrmReinf reinf;
  EXPECT_EQ(reinf.barKind, 1);
  EXPECT_TRUE(reinf.stdBar.IsSame(CReinfStdBar()));
  for (const double v : {reinf.tauC, reinf.tauCQ, reinf.fsa, reinf.fsaQ, reinf.tdFactor, reinf.myu,
                         reinf.tauP1, reinf.tauP2}) {
    EXPECT_EQ(v, kNoValue);
  }
  EXPECT_FALSE(reinf.reduction);
  EXPECT_EQ(reinf.shClamp, 0);
  EXPECT_EQ(reinf.arrangeCheck, 0);
  for (int i = 0; i < kReinfRangeCount; ++i) {
    const CReinfRange& range = reinf.ranges[static_cast<std::size_t>(i)];
    EXPECT_EQ(range.name, "範囲 " + std::to_string(i + 1));
    EXPECT_EQ(range.rowCount, kNoValueInt);
    EXPECT_FALSE(range.start.IsValid());
  }
}

TEST(PrmReinfTest, InitResetsEverythingButTheRangeFlags) {
  CPrmReinf reinf = Edited();
  reinf.ranges[0].name = "x";
  reinf.ranges[0].flag = 5;
  reinf.Init();
  CPrmReinf expected;
  expected.ranges[0].flag = 5;
  EXPECT_TRUE(reinf.IsSame(expected));
}

// ---- Record ----

TEST(PrmReinfTest, RecordHoldsTheValuesInTheirStoredOrder) {
  RecordBytes bytes;
  bytes.Int(0);
  AppendStdBar(bytes, {u"ネジ節棒鋼", u"D22", u"SD345", {3.04, 22.0, 3.871, 65.0, 200.0, 300.0}});
  // Values 1, 3, 2, 4 and 5, the switch as one byte, values 6, 7 and 8, the two settings.
  bytes.Double(1.1).Double(3.3).Double(2.2).Double(4.4).Double(5.5);
  bytes.UInt8(1);
  bytes.Double(6.6).Double(7.7).Double(8.8);
  bytes.Int(2).Int(1);
  RangeRecord first;
  first.name = u"範囲 1";
  first.startX = 24;
  first.startY = 15;
  first.endX = 12;
  first.endY = 5;
  first.startSide = 0;
  first.upperOffset0 = 0.5;
  first.lowerOffset0 = 2.5;
  first.upperOffset1 = 1.5;
  first.lowerOffset1 = 3.5;
  first.rowCount = 3;
  first.lrb = 5.0;
  first.extraLength = 0.3;
  first.sh = 2.0;
  first.pitch0 = 1.25;
  first.pitch1 = 2.0;
  AppendRange(bytes, first);
  for (int i = 2; i <= kReinfRangeCount; ++i) {
    RangeRecord range;
    range.name =
        u"範囲 " +
        std::u16string(i == 10 ? u"10" : std::u16string(1, static_cast<char16_t>(u'0' + i)));
    AppendRange(bytes, range);
  }
  ExpectRecordContract<CPrmReinf>({
      .stored = Edited(),
      .version = 10,
      .bytes = bytes.Get(),
      .makeTarget =
          [] {
            auto target = std::make_unique<CPrmReinf>();
            target->ranges[9].rowCount = 4;
            return target;
          },
  });
}

TEST(PrmReinfTest, LoadKeepsTheActiveFlagsOfTheRanges) {
  Archive out;
  Edited().Store(out, 10);
  CPrmReinf reinf;
  reinf.ranges[3].active = true;
  Archive in(out.Bytes());
  reinf.Load(in, 10);
  EXPECT_TRUE(reinf.IsSame(Edited()));
  EXPECT_TRUE(reinf.ranges[3].active);
}

TEST(PrmReinfTest, OlderRecordCarriesOlderBarAndRangeRecords) {
  // Version 6: the bar without its nominal size, the ranges without extra length.
  RecordBytes bytes;
  bytes.Int(1)
      .Text(u"ネジ節棒鋼")
      .Text(u"")
      .Double(3.04)
      .Double(22.0)
      .Double(3.871)
      .Double(65.0)
      .Double(200.0)
      .Double(300.0);
  bytes.Double(1.1).Double(3.3).Double(2.2).Double(4.4).Double(5.5).UInt8(0);
  bytes.Double(6.6).Double(7.7).Double(8.8).Int(1).Int(0);
  for (int i = 1; i <= kReinfRangeCount; ++i) {
    bytes.Text(u"r").Int(1);
    for (int k = 0; k < 4; ++k) bytes.Double(kNoValue);
    bytes.Int(1);
    for (int k = 0; k < 4; ++k) bytes.Double(kNoValue);
    bytes.Int(kNoValueInt).Int(0).Double(kNoValue).Double(kNoValue).Double(kNoValue);
    bytes.Double(kNoValue).Double(0.75).Int(1);
  }
  CPrmReinf reinf = Edited();
  Archive in(bytes.Get());
  reinf.Load(in, 6);
  EXPECT_EQ(in.Remaining(), 0u);
  EXPECT_TRUE(reinf.stdBar.kei.empty());
  EXPECT_EQ(reinf.stdBar.w, 3.04);
  EXPECT_EQ(reinf.tauCQ, 2.2);
  EXPECT_EQ(reinf.shClamp, 1);
  EXPECT_EQ(reinf.ranges[9].name, "r");
  EXPECT_EQ(reinf.ranges[9].pitches[1], 0.75);
  EXPECT_EQ(reinf.ranges[0].extraLength, kNoValue);
}

// ---- Comparisons ----

TEST(PrmReinfTest, WhatCountsForIsSameAndForTheCalculation) {
  struct Case {
    const char* change;
    std::function<void(CPrmReinf&)> apply;
    bool same;
    bool sameUseCale;
  };
  const Case cases[] = {
      {"nothing", [](CPrmReinf&) {}, true, true},
      // The arrangement dialog's copy always has one active range: no change.
      {"a range's active flag", [](CPrmReinf& r) { r.ranges[2].active = true; }, true, true},
      {"a range's int flag", [](CPrmReinf& r) { r.ranges[2].flag = 0; }, false, true},
      {"a range's name", [](CPrmReinf& r) { r.ranges[2].name = "x"; }, false, true},
      {"a range's rows", [](CPrmReinf& r) { r.ranges[0].rowCount = 4; }, false, false},
      {"bar remark", [](CPrmReinf& r) { r.stdBar.remark = "x"; }, false, true},
      {"bar area", [](CPrmReinf& r) { r.stdBar.as = 1; }, false, false},
      {"bar kind", [](CPrmReinf& r) { r.barKind = 1; }, false, false},
      {"value 1", [](CPrmReinf& r) { r.tauC = 0; }, false, true},
      {"value 2", [](CPrmReinf& r) { r.tauCQ = 0; }, false, false},
      {"value 3", [](CPrmReinf& r) { r.fsa = 0; }, false, true},
      {"value 4", [](CPrmReinf& r) { r.fsaQ = 0; }, false, false},
      {"value 5", [](CPrmReinf& r) { r.tdFactor = 0; }, false, false},
      {"switch", [](CPrmReinf& r) { r.reduction = false; }, false, false},
      {"value 6", [](CPrmReinf& r) { r.myu = 0; }, false, false},
      {"value 7", [](CPrmReinf& r) { r.tauP1 = 0; }, false, false},
      {"value 8", [](CPrmReinf& r) { r.tauP2 = 0; }, false, false},
      {"Sh setting", [](CPrmReinf& r) { r.shClamp = 0; }, false, false},
      {"check box", [](CPrmReinf& r) { r.arrangeCheck = 0; }, false, false},
  };
  const CPrmReinf base = Edited();
  for (const Case& c : cases) {
    CPrmReinf changed = Edited();
    c.apply(changed);
    EXPECT_EQ(changed.IsSame(base), c.same) << c.change;
    EXPECT_EQ(changed.IsSameUseCale(base), c.sameUseCale) << c.change;
  }
}

TEST(PrmReinfTest, CopyPutsEachRangesUpperEndFirstAndLeavesActiveFlags) {
  CPrmReinf source = Edited();
  source.ranges[0].start = CDPoint(12, 5, 0);
  source.ranges[0].end = CDPoint(24, 15, 1);
  source.ranges[0].active = true;
  // Right end first but lower: stays, the order is by height.
  source.ranges[1].start = CDPoint(30, 10);
  source.ranges[1].end = CDPoint(20, 15);
  CPrmReinf target;
  target.ranges[1].active = true;
  target.Copy(source);
  EXPECT_EQ(target.tauC, 1.1);
  EXPECT_EQ(target.arrangeCheck, 1);
  EXPECT_TRUE(target.stdBar.IsSame(SampleD22Bar()));
  EXPECT_EQ(target.ranges[0].start.y, 15);
  EXPECT_EQ(target.ranges[0].start.flag, 1);
  EXPECT_EQ(target.ranges[0].end.y, 5);
  EXPECT_EQ(target.ranges[1].start.x, 20);
  EXPECT_EQ(target.ranges[1].end.x, 30);
  EXPECT_FALSE(target.ranges[0].active);
  EXPECT_TRUE(target.ranges[1].active);
}

// ---- Validity and accessors ----

TEST(PrmReinfTest, ValidityOfTheConditions) {
  struct Case {
    const char* change;
    std::function<void(CPrmReinf&)> apply;
    bool valid;
    bool validShear;
  };
  const Case cases[] = {
      {"nothing", [](CPrmReinf&) {}, true, true},
      {"bar kind 2", [](CPrmReinf& r) { r.barKind = 2; }, false, true},
      {"bar without nominal size", [](CPrmReinf& r) { r.stdBar.kei.clear(); }, false, false},
      {"bar without area", [](CPrmReinf& r) { r.stdBar.as = kNoValue; }, false, false},
      {"values 1 and 3 unset", [](CPrmReinf& r) { r.tauC = r.fsa = kNoValue; }, true, true},
      {"value 2 unset", [](CPrmReinf& r) { r.tauCQ = kNoValue; }, false, true},
      {"value 4 unset", [](CPrmReinf& r) { r.fsaQ = kNoValue; }, false, true},
      {"value 5 unset", [](CPrmReinf& r) { r.tdFactor = kNoValue; }, false, true},
      {"value 6 unset", [](CPrmReinf& r) { r.myu = kNoValue; }, false, true},
      {"value 6 unset, switch off",
       [](CPrmReinf& r) {
         r.myu = kNoValue;
         r.reduction = false;
       },
       true, true},
      {"value 7 unset", [](CPrmReinf& r) { r.tauP1 = kNoValue; }, false, false},
      {"value 8 unset", [](CPrmReinf& r) { r.tauP2 = kNoValue; }, false, false},
      {"Sh setting 3", [](CPrmReinf& r) { r.shClamp = 3; }, false, true},
      {"Sh setting -1", [](CPrmReinf& r) { r.shClamp = -1; }, false, true},
      {"check box 2", [](CPrmReinf& r) { r.arrangeCheck = 2; }, false, true},
  };
  for (const Case& c : cases) {
    CPrmReinf reinf = Edited();
    c.apply(reinf);
    EXPECT_EQ(reinf.IsValid(), c.valid) << c.change;
    EXPECT_EQ(reinf.IsValidShear(), c.validShear) << c.change;
  }
}

TEST(PrmReinfTest, TheChosenBarAndMu) {
  CPrmReinf reinf = Edited();
  EXPECT_EQ(reinf.GetStdBar(0), &reinf.stdBar);
  EXPECT_EQ(reinf.GetStdBar(1), nullptr);
  EXPECT_EQ(reinf.GetStdBar(-1), nullptr);
  EXPECT_EQ(reinf.GetMyu(), 6.6);
  reinf.reduction = false;
  EXPECT_EQ(reinf.GetMyu(), 0.0);
}

TEST(PrmReinfTest, DrawsTheTenRangesAndClearsTheirActiveFlags) {
  const SampleSection sample = MakeSampleSection();
  RecordingCanvas canvas;
  CViewInfo view;
  AttachTestView(view, canvas, 10.0, 150, 150);
  CPrmReinf reinf = Edited();
  reinf.ranges[4].start = CDPoint(30, 15);
  reinf.ranges[4].end = CDPoint(24, 15);

  reinf.Draw(&view, sample.ground.get());
  const auto texts = canvas.PrimitivesOf(PrimitiveKind::Text);
  ASSERT_EQ(texts.size(), 2u);
  EXPECT_EQ(texts[0].text, " 範囲 1 ");
  EXPECT_EQ(texts[1].text, " 範囲 5 ");

  canvas.Clear();
  reinf.DrawRange(&view, sample.ground.get(), false);
  EXPECT_TRUE(canvas.PrimitivesOf(PrimitiveKind::Text).empty());
  EXPECT_EQ(canvas.PrimitivesOf(PrimitiveKind::Ellipse).size(), 4u);

  reinf.ranges[0].active = true;
  reinf.ranges[9].active = true;
  reinf.SetRangeNonActive();
  for (const CReinfRange& range : reinf.ranges) EXPECT_FALSE(range.active);
}

}  // namespace
