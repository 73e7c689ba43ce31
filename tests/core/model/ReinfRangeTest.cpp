#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/geometry/DPoly.h"
#include "core/geometry/ViewInfo.h"
#include "core/model/ReinfRange.h"
#include "core/section/SpGround.h"
#include "platform/Archive.h"
#include "platform/RecordingCanvas.h"
#include "tests/core/model/ReinfRecordBytes.h"
#include "tests/support/DrawTestUtil.h"
#include "tests/support/PolyTestUtil.h"
#include "tests/support/RecordBytes.h"
#include "tests/support/RecordContract.h"
#include "tests/support/SampleSection.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

// A range from (24, 15) down to (12, 5) on the sample ground with three rows counted from the
// lower end, every value entered.
CReinfRange Entered() {
  CReinfRange range;
  range.name = "範囲 3";
  range.flag = 7;
  range.start = CDPoint(24, 15, 1);
  range.end = CDPoint(12, 5);
  range.startSide = CReinfRange::kSideLower;
  range.offsets = {0.5, 1.5, 2.5, 3.5};
  range.rowCount = 3;
  range.inclinationMode = CReinfRange::kInclineFixed;
  range.alpha = 20.0;
  range.lrb = 5.0;
  range.extraLength = 0.3;
  range.sh = 2.0;
  range.pitches = {1.25, 2.0};
  range.measureMode = CReinfRange::kMeasureSlope;
  return range;
}

// Every field of two ranges, the active flag included.
bool SameRange(const CReinfRange& a, const CReinfRange& b) {
  return a.IsSame(b) && a.start.flag == b.start.flag && a.end.flag == b.end.flag &&
         a.active == b.active;
}

// ---- Values, copies and comparisons ----

TEST(ReinfRangeTest, NewRangeHasNothingEntered) {
  const CReinfRange range;
  EXPECT_EQ(range.name, "");
  EXPECT_EQ(range.flag, 1);
  EXPECT_FALSE(range.start.IsValid());
  EXPECT_FALSE(range.end.IsValid());
  EXPECT_EQ(range.startSide, CReinfRange::kSideLower);
  for (const double offset : range.offsets) EXPECT_EQ(offset, kNoValue);
  EXPECT_EQ(range.rowCount, kNoValueInt);
  EXPECT_EQ(range.inclinationMode, CReinfRange::kInclinePerpendicular);
  EXPECT_EQ(range.alpha, kNoValue);
  EXPECT_EQ(range.lrb, kNoValue);
  EXPECT_EQ(range.extraLength, kNoValue);
  EXPECT_EQ(range.sh, kNoValue);
  EXPECT_EQ(range.pitches[0], kNoValue);
  EXPECT_EQ(range.pitches[1], kNoValue);
  EXPECT_EQ(range.measureMode, CReinfRange::kMeasureSlope);
  EXPECT_FALSE(range.active);
}

TEST(ReinfRangeTest, InitResetsTheValuesButKeepsNameFlagAndActiveFlag) {
  CReinfRange range = Entered();
  range.active = true;
  range.Init();
  CReinfRange expected;
  expected.name = "範囲 3";
  expected.flag = 7;
  expected.active = true;
  EXPECT_TRUE(SameRange(range, expected));
}

TEST(ReinfRangeTest, CopyTakesEverythingButTheActiveFlagAssignmentTakesThatToo) {
  CReinfRange source = Entered();
  source.active = true;
  CReinfRange copied;
  copied.Copy(source);
  EXPECT_TRUE(copied.IsSame(source));
  EXPECT_EQ(copied.start.flag, 1);
  EXPECT_FALSE(copied.active);

  const CReinfRange assigned = source;
  EXPECT_TRUE(assigned.active);
}

TEST(ReinfRangeTest, ComparisonsTellNameAndFlagFromTheSettings) {
  struct Case {
    const char* change;
    std::function<void(CReinfRange&)> apply;
    bool same;
    bool sameUseCale;
  };
  const Case cases[] = {
      {"nothing", [](CReinfRange&) {}, true, true},
      {"active flag", [](CReinfRange& r) { r.active = true; }, true, true},
      {"point flag", [](CReinfRange& r) { r.start.flag = 0; }, true, true},
      {"start moved 5e-5", [](CReinfRange& r) { r.start.x += 5e-5; }, true, true},
      {"name", [](CReinfRange& r) { r.name = "x"; }, false, true},
      {"int flag", [](CReinfRange& r) { r.flag = 0; }, false, true},
      {"start moved 2e-4", [](CReinfRange& r) { r.start.x += 2e-4; }, false, false},
      {"end moved 2e-4", [](CReinfRange& r) { r.end.y -= 2e-4; }, false, false},
      {"start side", [](CReinfRange& r) { r.startSide = 0; }, false, false},
      {"an offset", [](CReinfRange& r) { r.offsets[2] = 9; }, false, false},
      {"row count", [](CReinfRange& r) { r.rowCount = 4; }, false, false},
      {"inclination mode", [](CReinfRange& r) { r.inclinationMode = 1; }, false, false},
      {"alpha", [](CReinfRange& r) { r.alpha = 21; }, false, false},
      {"bar length", [](CReinfRange& r) { r.lrb = 6; }, false, false},
      {"extra length", [](CReinfRange& r) { r.extraLength = 0.5; }, false, false},
      {"spacing", [](CReinfRange& r) { r.sh = 1.5; }, false, false},
      {"a pitch", [](CReinfRange& r) { r.pitches[0] = 1; }, false, false},
      {"measuring mode", [](CReinfRange& r) { r.measureMode = 0; }, false, false},
  };
  const CReinfRange base = Entered();
  for (const Case& c : cases) {
    CReinfRange changed = Entered();
    c.apply(changed);
    EXPECT_EQ(changed.IsSame(base), c.same) << c.change;
    EXPECT_EQ(changed.IsSameUseCale(base), c.sameUseCale) << c.change;
  }
}

TEST(ReinfRangeTest, IsValidNeedsEverythingTheArrangementUses) {
  struct Case {
    const char* change;
    std::function<void(CReinfRange&)> apply;
    bool valid;
  };
  const Case cases[] = {
      {"nothing", [](CReinfRange&) {}, true},
      {"start unset", [](CReinfRange& r) { r.start.y = kNoValue; }, false},
      {"end unset", [](CReinfRange& r) { r.end.x = kNoValue; }, false},
      {"row count unset", [](CReinfRange& r) { r.rowCount = kNoValueInt; }, false},
      {"bar length unset", [](CReinfRange& r) { r.lrb = kNoValue; }, false},
      {"extra length unset", [](CReinfRange& r) { r.extraLength = kNoValue; }, false},
      {"spacing unset", [](CReinfRange& r) { r.sh = kNoValue; }, false},
      {"lower offset of the mode unset", [](CReinfRange& r) { r.offsets[3] = kNoValue; }, false},
      {"other offsets unset",
       [](CReinfRange& r) { r.offsets[0] = r.offsets[1] = r.offsets[2] = kNoValue; }, true},
      {"upper side without its offset",
       [](CReinfRange& r) {
         r.startSide = CReinfRange::kSideUpper;
         r.offsets[1] = kNoValue;
       },
       false},
      {"pitch of the mode unset", [](CReinfRange& r) { r.pitches[1] = kNoValue; }, false},
      {"other pitch unset", [](CReinfRange& r) { r.pitches[0] = kNoValue; }, true},
      {"height mode uses its own offset and pitch",
       [](CReinfRange& r) {
         r.measureMode = CReinfRange::kMeasureHeight;
         r.offsets[3] = r.pitches[1] = kNoValue;
       },
       true},
      {"measuring mode 2", [](CReinfRange& r) { r.measureMode = 2; }, false},
      {"start side 2", [](CReinfRange& r) { r.startSide = 2; }, false},
      {"fixed inclination without alpha", [](CReinfRange& r) { r.alpha = kNoValue; }, false},
      {"perpendicular without alpha",
       [](CReinfRange& r) {
         r.inclinationMode = CReinfRange::kInclinePerpendicular;
         r.alpha = kNoValue;
       },
       true},
  };
  for (const Case& c : cases) {
    CReinfRange range = Entered();
    c.apply(range);
    EXPECT_EQ(range.IsValid(), c.valid) << c.change;
  }
}

TEST(ReinfRangeTest, NormalizePutsTheUpperEndFirst) {
  CReinfRange range;
  range.start = CDPoint(12, 5, 0);
  range.end = CDPoint(24, 15, 1);
  range.Normalize();
  EXPECT_EQ(range.start.x, 24);
  EXPECT_EQ(range.start.y, 15);
  EXPECT_EQ(range.start.flag, 1);
  EXPECT_EQ(range.end.x, 12);
  EXPECT_EQ(range.end.flag, 0);

  // At one height the order stays.
  range.start = CDPoint(30, 15);
  range.end = CDPoint(24, 15);
  range.Normalize();
  EXPECT_EQ(range.start.x, 30);
  EXPECT_EQ(range.end.x, 24);
}

TEST(ReinfRangeTest, SlopeLineRunsFromStartToEndOnceBothPointsAreSet) {
  const CReinfRange range = Entered();
  const auto line = range.CreateSlopeLine();
  ASSERT_NE(line, nullptr);
  ExpectPoints(*line, {{24, 15}, {12, 5}});

  CReinfRange unset = Entered();
  unset.end.y = kNoValue;
  EXPECT_EQ(unset.CreateSlopeLine(), nullptr);
}

// ---- Lengths and the fit test ----

TEST(ReinfRangeTest, SlopeLengthByModeWithAndWithoutGround) {
  const SampleSection sample = MakeSampleSection();
  const CSpGround* ground = sample.ground.get();
  struct Case {
    const char* name;
    CDPoint start;
    CDPoint end;
    int mode;
    const CDPoly* ground;
    double expected;
  };
  const double slope = std::sqrt(61.0);  // one slope segment of the sample ground
  const Case cases[] = {
      {"height, upper first", {0, 12.5}, {3, 10}, 0, nullptr, 2.5},
      {"height, lower first", {3, 10}, {0, 12.5}, 0, nullptr, 2.5},
      {"mode 2", {3, 10}, {0, 12.5}, 2, nullptr, kNoValue},
      {"mode -1", {3, 10}, {0, 12.5}, -1, ground, kNoValue},
      {"straight", {0, 0}, {3, 4}, 1, nullptr, 5.0},
      {"along the ground", {30, 15}, {12, 5}, 1, ground, 6.0 + 2 * slope},
      {"unset point", {kNoValue, 5}, {12, 5}, 0, ground, kNoValue},
  };
  for (const Case& c : cases) {
    CReinfRange range;
    range.start = c.start;
    range.end = c.end;
    EXPECT_NEAR(range.GetSlopeLen(c.mode, c.ground), c.expected, 1e-9) << c.name;
  }
}

TEST(ReinfRangeTest, RowsFitWhenTheirLengthDoesNotExceedTheRange) {
  struct Case {
    const char* name;
    double length;
    int startSide;
    int measureMode;
    double pitch;
    int rowCount;
    bool fits;
  };
  // Three rows at a pitch of 2.0 from an offset of 1.0 need 5.0.
  const Case cases[] = {
      {"exactly long enough", 5.0, CReinfRange::kSideUpper, 1, 2.0, 3, true},
      {"longer", 7.0, CReinfRange::kSideLower, 1, 2.0, 3, true},
      {"too short", 4.9, CReinfRange::kSideUpper, 1, 2.0, 3, false},
      {"height mode", 5.0, CReinfRange::kSideUpper, 0, 2.0, 3, true},
      {"another start side passes", 1.0, 2, 1, 2.0, 3, true},
      {"measuring mode 2", 50.0, CReinfRange::kSideUpper, 2, 2.0, 3, false},
      {"pitch unset", 50.0, CReinfRange::kSideUpper, 1, kNoValue, 3, false},
      {"row count unset", 50.0, CReinfRange::kSideUpper, 1, 2.0, kNoValueInt, false},
  };
  for (const Case& c : cases) {
    // A vertical range: its length is the same in both modes.
    CReinfRange range;
    range.start = CDPoint(0, c.length);
    range.end = CDPoint(0, 0);
    range.startSide = c.startSide;
    range.measureMode = c.measureMode;
    range.offsets = {1.0, 1.0, 1.0, 1.0};
    range.pitches = {c.pitch, c.pitch};
    range.rowCount = c.rowCount;
    EXPECT_EQ(range.IsArrangeSlope(nullptr), c.fits) << c.name;
  }

  CReinfRange unsetPoint;
  unsetPoint.start = CDPoint(0, 5);
  unsetPoint.startSide = CReinfRange::kSideUpper;
  unsetPoint.offsets = {1.0, 1.0, 1.0, 1.0};
  unsetPoint.pitches = {2.0, 2.0};
  unsetPoint.rowCount = 1;
  EXPECT_FALSE(unsetPoint.IsArrangeSlope(nullptr));
}

// ---- Head points ----

// The point `along` metres down the sample slope from its vertex (x0, y0): the slope falls 5 m
// for every 6 m to the left. Rounded to the millimetre as the heads are.
CDPoint DownSlope(double x0, double y0, double along) {
  const double unit = 1.0 / std::sqrt(61.0);
  return CDPoint(std::round((x0 - 6 * unit * along) * 1000) / 1000,
                 std::round((y0 - 5 * unit * along) * 1000) / 1000);
}

void ExpectHeads(const std::vector<CDPoint>& heads, const std::vector<CDPoint>& expected,
                 const char* name) {
  ASSERT_EQ(heads.size(), expected.size()) << name;
  for (std::size_t i = 0; i < heads.size(); ++i) {
    EXPECT_NEAR(heads[i].x, expected[i].x, 1e-9) << name << " row " << i;
    EXPECT_NEAR(heads[i].y, expected[i].y, 1e-9) << name << " row " << i;
    // Kept to the millimetre.
    EXPECT_NEAR(heads[i].x * 1000, std::round(heads[i].x * 1000), 1e-6) << name << " row " << i;
    EXPECT_NEAR(heads[i].y * 1000, std::round(heads[i].y * 1000), 1e-6) << name << " row " << i;
  }
}

TEST(ReinfRangeTest, HeadPointsLieAlongTheGroundFromTheChosenEnd) {
  const SampleSection sample = MakeSampleSection();
  struct Case {
    const char* name;
    CDPoint start;
    CDPoint end;
    int startSide;
    double offset;
    double pitch;
    std::vector<CDPoint> heads;
  };
  const Case cases[] = {
      // The part of the ground runs up from (12, 5): rows counted from the upper end start at
      // (24, 15), 1, 3 and 5 m down the slope.
      {"upper end, lower point first",
       {12, 5},
       {24, 15},
       CReinfRange::kSideUpper,
       1.0,
       2.0,
       {DownSlope(24, 15, 1), DownSlope(24, 15, 3), DownSlope(24, 15, 5)}},
      {"upper end, upper point first",
       {24, 15},
       {12, 5},
       CReinfRange::kSideUpper,
       1.0,
       2.0,
       {DownSlope(24, 15, 1), DownSlope(24, 15, 3), DownSlope(24, 15, 5)}},
      // From the lower end (12, 5) up the slope.
      {"lower end",
       {24, 15},
       {12, 5},
       CReinfRange::kSideLower,
       1.0,
       2.0,
       {DownSlope(12, 5, -1), DownSlope(12, 5, -3), DownSlope(12, 5, -5)}},
      // Along the crest from (30, 15), round the vertex (24, 15) and 1 m down the slope.
      {"round a corner",
       {18, 10},
       {30, 15},
       CReinfRange::kSideUpper,
       1.0,
       3.0,
       {{29, 15}, {26, 15}, DownSlope(24, 15, 1)}},
      // Another start side puts every row on the first point of the part.
      {"start side 2", {12, 5}, {24, 15}, 2, 1.0, 2.0, {{12, 5}, {12, 5}, {12, 5}}},
  };
  for (const Case& c : cases) {
    CReinfRange range;
    range.start = c.start;
    range.end = c.end;
    range.startSide = c.startSide;
    range.offsets = {c.offset, c.offset, c.offset, c.offset};
    range.pitches = {c.pitch, c.pitch};
    range.rowCount = 3;
    ExpectHeads(range.GetArrangePoint(sample.ground.get()), c.heads, c.name);
  }
}

TEST(ReinfRangeTest, NoHeadPointsWithoutGroundOrPoints) {
  const SampleSection sample = MakeSampleSection();
  CReinfRange range = Entered();
  EXPECT_TRUE(range.GetArrangePoint(nullptr).empty());

  CSpGround flat;
  flat.Add(0, 0);
  EXPECT_TRUE(range.GetArrangePoint(&flat).empty());

  range.end.x = kNoValue;
  EXPECT_TRUE(range.GetArrangePoint(sample.ground.get()).empty());

  CReinfRange badMode = Entered();
  badMode.measureMode = 3;
  EXPECT_TRUE(badMode.GetArrangePoint(sample.ground.get()).empty());
}

// ---- Record ----

RangeRecord EnteredRecord() {
  RangeRecord r;
  r.name = u"範囲 3";
  r.flag = 7;
  r.startX = 24;
  r.startY = 15;
  r.endX = 12;
  r.endY = 5;
  r.startSide = 1;
  r.upperOffset0 = 0.5;
  r.lowerOffset0 = 2.5;
  r.upperOffset1 = 1.5;
  r.lowerOffset1 = 3.5;
  r.rowCount = 3;
  r.inclinationMode = 0;
  r.alpha = 20.0;
  r.lrb = 5.0;
  r.extraLength = 0.3;
  r.sh = 2.0;
  r.pitch0 = 1.25;
  r.pitch1 = 2.0;
  r.measureMode = 1;
  return r;
}

TEST(ReinfRangeTest, RecordOfACurrentDocument) {
  RecordBytes bytes;
  AppendRange(bytes, EnteredRecord());
  // The point flags are not stored.
  CReinfRange range = Entered();
  range.start.flag = 0;
  ExpectRecordContract<CReinfRange>({
      .stored = range,
      .version = 10,
      .bytes = bytes.Get(),
      .makeTarget =
          [] {
            auto target = std::make_unique<CReinfRange>();
            target->name = "target";
            target->flag = 0;
            return target;
          },
      .same = SameRange,
  });
}

TEST(ReinfRangeTest, LoadingKeepsTheActiveFlag) {
  RecordBytes bytes;
  AppendRange(bytes, EnteredRecord());
  CReinfRange range;
  range.active = true;
  Archive in(bytes.Get());
  range.Load(in, 10);
  EXPECT_TRUE(range.active);
}

// A version-1 record: the mode-1 offsets and pitch only, no inclination mode, extra length or
// measuring mode.
TEST(ReinfRangeTest, VersionOneRecordHasTheSlopeModeValuesOnly) {
  const Bytes bytes = RecordBytes()
                          .Text(u"範囲 1")
                          .Int(1)
                          .Double(24)
                          .Double(15)
                          .Double(12)
                          .Double(5)
                          .Int(0)
                          .Double(1.5)  // upper offset, mode 1
                          .Double(3.5)  // lower offset, mode 1
                          .Int(3)
                          .Double(20.0)
                          .Double(5.0)
                          .Double(2.0)  // spacing
                          .Double(2.5)  // pitch, mode 1
                          .Get();
  CReinfRange written;
  written.name = "範囲 1";
  written.start = CDPoint(24, 15);
  written.end = CDPoint(12, 5);
  written.startSide = 0;
  written.offsets = {kNoValue, 1.5, kNoValue, 3.5};
  written.rowCount = 3;
  written.alpha = 20.0;
  written.lrb = 5.0;
  written.sh = 2.0;
  written.pitches = {kNoValue, 2.5};
  ExpectRecordContract<CReinfRange>(
      {.stored = written, .version = 1, .bytes = bytes, .same = SameRange});

  // Over a range with everything entered: the height-mode values become unset.
  CReinfRange loaded = Entered();
  loaded.measureMode = CReinfRange::kMeasureHeight;
  Archive in(bytes);
  loaded.Load(in, 1);
  EXPECT_EQ(loaded.offsets, (std::array<double, 4>{kNoValue, 1.5, kNoValue, 3.5}));
  EXPECT_EQ(loaded.pitches, (std::array<double, 2>{kNoValue, 2.5}));
  EXPECT_EQ(loaded.measureMode, CReinfRange::kMeasureSlope);
  EXPECT_EQ(loaded.extraLength, kNoValue);
  EXPECT_EQ(loaded.inclinationMode, CReinfRange::kInclinePerpendicular);
}

TEST(ReinfRangeTest, OlderRecordsLackTheLaterFields) {
  struct Case {
    int version;
    Bytes bytes;
    int inclinationMode;
    double extraLength;
    int measureMode;
  };
  const auto common = [](RecordBytes& b) -> RecordBytes& {
    return b.Text(u"範囲 2")
        .Int(1)
        .Double(24)
        .Double(15)
        .Double(12)
        .Double(5)
        .Int(1)
        .Double(0.5)
        .Double(2.5)
        .Double(1.5)
        .Double(3.5)
        .Int(3);
  };
  RecordBytes v5;
  common(v5).Double(20.0).Double(5.0).Double(2.0).Double(1.25).Double(2.0).Int(0);
  RecordBytes v6;
  common(v6).Int(0).Double(20.0).Double(5.0).Double(2.0).Double(1.25).Double(2.0).Int(0);
  RecordBytes v7;
  common(v7).Int(0).Double(20.0).Double(5.0).Double(0.3).Double(2.0).Double(1.25).Double(2.0).Int(
      0);
  const Case cases[] = {
      // Before version 6 the inclination mode is missing and the measuring mode reads as 1.
      {5, v5.Get(), CReinfRange::kInclinePerpendicular, kNoValue, CReinfRange::kMeasureSlope},
      {6, v6.Get(), CReinfRange::kInclineFixed, kNoValue, CReinfRange::kMeasureHeight},
      {7, v7.Get(), CReinfRange::kInclineFixed, 0.3, CReinfRange::kMeasureHeight},
  };
  for (const Case& c : cases) {
    Archive in(c.bytes);
    CReinfRange range = Entered();
    range.Load(in, c.version);
    EXPECT_EQ(in.Remaining(), 0u) << c.version;
    EXPECT_EQ(range.name, "範囲 2");
    EXPECT_EQ(range.offsets, (std::array<double, 4>{0.5, 1.5, 2.5, 3.5})) << c.version;
    EXPECT_EQ(range.pitches, (std::array<double, 2>{1.25, 2.0})) << c.version;
    EXPECT_EQ(range.inclinationMode, c.inclinationMode) << c.version;
    EXPECT_EQ(range.extraLength, c.extraLength) << c.version;
    EXPECT_EQ(range.measureMode, c.measureMode) << c.version;
  }
}

// ---- The ten ranges ----

TEST(ReinfRangesTest, InitNamesTheTenRangesAndKeepsTheirFlags) {
  CReinfRanges ranges;
  ranges[4] = Entered();
  InitRanges(ranges);
  for (int i = 0; i < kReinfRangeCount; ++i) {
    EXPECT_EQ(ranges[static_cast<std::size_t>(i)].name, "範囲 " + std::to_string(i + 1));
  }
  EXPECT_EQ(ranges[4].flag, 7);
  EXPECT_EQ(ranges[4].rowCount, kNoValueInt);
}

TEST(ReinfRangesTest, CopyPutsTheUpperEndFirstAndLeavesTheActiveFlags) {
  CReinfRanges from;
  from[0].start = CDPoint(12, 5, 0);
  from[0].end = CDPoint(24, 15, 1);
  from[0].active = true;
  from[1].start = CDPoint(30, 15, 0);
  from[1].end = CDPoint(24, 15, 1);
  CReinfRanges to;
  to[2].active = true;
  CopyRanges(to, from);
  EXPECT_EQ(to[0].start.x, 24);
  EXPECT_EQ(to[0].start.flag, 1);
  EXPECT_EQ(to[0].end.x, 12);
  // Ordered by height, not by x: a level range keeps its order.
  EXPECT_EQ(to[1].start.x, 30);
  EXPECT_FALSE(to[0].active);
  EXPECT_TRUE(to[2].active);
}

// ---- Drawing ----

class ReinfRangeDrawTest : public testing::Test {
 protected:
  // The default 30 x 30 area at 10 pixels per unit: world (x, y) is device (10x, 300 - 10y).
  void SetUp() override { AttachTestView(view, canvas, 10.0, 150, 150); }

  RecordingCanvas canvas;
  CViewInfo view;
  SampleSection sample = MakeSampleSection();
};

const Color kRangeColor{0x806000};

TEST_F(ReinfRangeDrawTest, AlongTheGroundWithEndCirclesAndALabel) {
  CReinfRange range = Entered();
  range.Draw(&view, sample.ground.get(), true);

  const auto circles = DrawnRects(canvas, PrimitiveKind::Ellipse);
  EXPECT_EQ(circles, (std::vector<DevRect>{{238, 148, 242, 152}, {118, 248, 122, 252}}));
  const auto lines = canvas.PrimitivesOf(PrimitiveKind::Line);
  ASSERT_FALSE(lines.empty());
  for (const DrawnPrimitive& line : lines) {
    EXPECT_EQ(line.state.pen, (Pen{PenStyle::Solid, 2, kRangeColor}));
  }
  EXPECT_EQ(lines.front().points.front(), (DevPoint{120, 250}));
  EXPECT_EQ(lines.back().points.back(), (DevPoint{240, 150}));

  const auto texts = canvas.PrimitivesOf(PrimitiveKind::Text);
  ASSERT_EQ(texts.size(), 1u);
  EXPECT_EQ(texts[0].text, " 範囲 3 ");
  // Half way along the ground between the points: the vertex (18, 10).
  EXPECT_EQ(texts[0].points, (std::vector<DevPoint>{{180, 200}}));
  EXPECT_EQ(texts[0].state.textAlign, TextAlign::Right | TextAlign::Bottom);
  EXPECT_EQ(texts[0].state.textColor, Color{0x808000});
  EXPECT_EQ(texts[0].state.font.face, "ＭＳ ゴシック");
  EXPECT_EQ(texts[0].state.font.height, 12);
  EXPECT_EQ(texts[0].state.font.width, 6);
  EXPECT_EQ(canvas.CurrentPen(), Pen{});
  EXPECT_EQ(canvas.CurrentTextAlign(), TextAlign::Left | TextAlign::Top);
}

TEST_F(ReinfRangeDrawTest, ActiveRangeIsThickerAndPrintedLabelsLarger) {
  CReinfRange range = Entered();
  range.active = true;
  view.preview = true;
  range.Draw(&view, sample.ground.get(), true);
  for (const DrawnPrimitive& p : canvas.Primitives()) {
    if (p.kind != PrimitiveKind::Text) {
      EXPECT_EQ(p.state.pen.width, 4);
    }
  }
  const auto texts = canvas.PrimitivesOf(PrimitiveKind::Text);
  ASSERT_EQ(texts.size(), 1u);
  EXPECT_EQ(texts[0].state.font.height, 120);
  EXPECT_EQ(texts[0].state.font.width, 60);
}

TEST_F(ReinfRangeDrawTest, WithoutGroundAStraightLineLabelledAtItsMiddle) {
  CReinfRange range;
  range.name = "範囲 1";
  range.start = CDPoint(10, 10);
  range.end = CDPoint(20, 5);
  range.Draw(&view, nullptr, true);
  EXPECT_EQ(DrawnPoints(canvas, PrimitiveKind::Line),
            (std::vector<std::vector<DevPoint>>{{{100, 200}, {200, 250}}}));
  const auto texts = canvas.PrimitivesOf(PrimitiveKind::Text);
  ASSERT_EQ(texts.size(), 1u);
  EXPECT_EQ(texts[0].points, (std::vector<DevPoint>{{150, 225}}));
  // Falling to the right: left-aligned.
  EXPECT_EQ(texts[0].state.textAlign, TextAlign::Left | TextAlign::Bottom);
}

TEST_F(ReinfRangeDrawTest, WithoutLabelOrSecondPoint) {
  CReinfRange range = Entered();
  range.Draw(&view, nullptr, false);
  EXPECT_TRUE(canvas.PrimitivesOf(PrimitiveKind::Text).empty());
  EXPECT_EQ(canvas.PrimitivesOf(PrimitiveKind::Line).size(), 1u);

  canvas.Clear();
  range.end = CDPoint();
  range.Draw(&view, sample.ground.get(), true);
  EXPECT_EQ(DrawnRects(canvas, PrimitiveKind::Ellipse),
            (std::vector<DevRect>{{238, 148, 242, 152}}));
  EXPECT_EQ(canvas.Primitives().size(), 1u);
}

TEST_F(ReinfRangeDrawTest, FarOffEndsKeepTheirCirclesInTheIntRange) {
  CReinfRange range;
  range.start = CDPoint(1e12, -1e12);
  range.end = CDPoint(-1e12, 1e12);
  range.Draw(&view, nullptr, false);
  const auto circles = DrawnRects(canvas, PrimitiveKind::Ellipse);
  ASSERT_EQ(circles.size(), 2u);
  EXPECT_EQ(circles[0].right, INT_MAX);
  for (const DevRect& circle : circles) {
    EXPECT_LE(circle.left, circle.right);
    EXPECT_LE(circle.top, circle.bottom);
  }
}

}  // namespace
