#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <limits>
#include <memory>
#include <string>
#include <vector>

#include "core/geometry/ViewInfo.h"
#include "core/model/PrmGrid.h"
#include "platform/Archive.h"
#include "platform/RecordingCanvas.h"
#include "tests/support/DrawTestUtil.h"
#include "tests/support/RecordBytes.h"
#include "tests/support/RecordContract.h"
#include "tests/support/TestFiles.h"

namespace {

CPrmGrid Edited() {
  CPrmGrid grid;
  grid.x1 = -5;
  grid.y1 = 2;
  grid.x2 = 45;
  grid.y2 = 32;
  grid.xLinePitch = 5;
  grid.yLinePitch = 2.5;
  grid.xLabelPitch = 10;
  grid.yLabelPitch = 5;
  grid.autoArea = 0;
  grid.depthBelow = 3;
  grid.gridShown = 0;
  return grid;
}

TEST(PrmGridTest, DefaultsAndRecord) {
  const CPrmGrid grid;
  EXPECT_EQ(grid.x1, 0);
  EXPECT_EQ(grid.y1, 0);
  EXPECT_EQ(grid.x2, 30);
  EXPECT_EQ(grid.y2, 30);
  EXPECT_EQ(grid.xLinePitch, 10);
  EXPECT_EQ(grid.yLabelPitch, 10);
  EXPECT_EQ(grid.autoArea, 1);
  EXPECT_EQ(grid.depthBelow, 10);
  EXPECT_EQ(grid.gridShown, 1);

  const auto bytes = RecordBytes()
                         .Double(-5)
                         .Double(2)
                         .Double(45)
                         .Double(32)
                         .Double(5)
                         .Double(2.5)
                         .Double(10)
                         .Double(5)
                         .Int(0)
                         .Double(3)
                         .Int(0)
                         .Get();
  ExpectRecordContract<CPrmGrid>({.stored = Edited(), .version = 10, .bytes = bytes});
}

TEST(PrmGridTest, IsSameComparesAllElevenValues) {
  double CPrmGrid::*doubles[] = {
      &CPrmGrid::x1,          &CPrmGrid::y1,          &CPrmGrid::x2,
      &CPrmGrid::y2,          &CPrmGrid::xLinePitch,  &CPrmGrid::yLinePitch,
      &CPrmGrid::xLabelPitch, &CPrmGrid::yLabelPitch, &CPrmGrid::depthBelow};
  for (double CPrmGrid::*field : doubles) {
    CPrmGrid changed = Edited();
    changed.*field += 1;
    EXPECT_FALSE(changed.IsSame(Edited()));
  }
  for (int CPrmGrid::*field : {&CPrmGrid::autoArea, &CPrmGrid::gridShown}) {
    CPrmGrid changed = Edited();
    changed.*field = 1;
    EXPECT_FALSE(changed.IsSame(Edited()));
  }
  CPrmGrid copied;
  copied.Copy(Edited());
  EXPECT_TRUE(copied.IsSame(Edited()));
}

// Only a sound grid loads: one that is refused leaves the grid as it was.
TEST(PrmGridTest, LoadRefusesAGridNoSoundCaseHolds) {
  constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
  constexpr double kInf = std::numeric_limits<double>::infinity();
  const struct {
    const char* what;
    double CPrmGrid::*field;
    double value;
    bool sound;
  } cases[] = {
      {"an edge at the coordinate limit", &CPrmGrid::x2, 1e5, true},
      {"an unset depth below", &CPrmGrid::depthBelow, kNoValue, true},
      {"an unset pitch", &CPrmGrid::yLabelPitch, kNoValue, true},
      {"an edge not a number", &CPrmGrid::y1, kNaN, false},
      {"a pitch not a number", &CPrmGrid::xLinePitch, kNaN, false},
      {"an infinite depth below", &CPrmGrid::depthBelow, kInf, false},
      {"an edge beyond the coordinate limit", &CPrmGrid::x2, 2e5, false},
      {"a pitch beyond the coordinate limit", &CPrmGrid::yLinePitch, -1e6, false},
      {"a pitch with an unset edge", &CPrmGrid::x1, kNoValue, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    CPrmGrid grid = Edited();
    grid.*(c.field) = c.value;
    EXPECT_EQ(grid.IsSound(), c.sound);
    Archive stored;
    grid.Store(stored, 20);
    Archive ar(stored.Bytes());
    CPrmGrid target;
    if (c.sound) {
      target.Load(ar, 20);
      EXPECT_TRUE(target.IsSame(grid));
    } else {
      EXPECT_THROW(target.Load(ar, 20), ArchiveException);
      EXPECT_TRUE(target.IsSame(CPrmGrid()));
    }
  }
  CPrmGrid unset;
  unset.x1 = unset.y1 = unset.x2 = unset.y2 = kNoValue;
  unset.xLinePitch = unset.yLinePitch = unset.xLabelPitch = unset.yLabelPitch = kNoValue;
  EXPECT_TRUE(unset.IsSound());
}

// Damaged records (byte 0 the document version): a pitch over an unset area, whose drawing
// never ended, and a NaN that kept the case from ever equalling itself.
TEST(PrmGridTest, DamagedRecordsAreRefused) {
  for (const char* name : {"grid-record-unset-area.bin", "grid-record-nan.bin"}) {
    SCOPED_TRACE(name);
    const std::string file = ReadFileBytes(std::filesystem::path(BRIXO_TEST_DATA) / name);
    ASSERT_FALSE(file.empty());
    Archive ar(std::vector<std::uint8_t>(file.begin() + 1, file.end()));
    CPrmGrid grid;
    try {
      grid.Load(ar, static_cast<std::uint8_t>(file[0]));
      ADD_FAILURE() << "loaded";
    } catch (const ArchiveException& e) {
      EXPECT_EQ(e.GetCause(), ArchiveException::Cause::BadFormat);
    }
    EXPECT_TRUE(grid.IsSame(CPrmGrid()));
  }
}

TEST(PrmGridTest, ValidWithAnAreaAndTheDepthOfAnAutomaticArea) {
  CPrmGrid grid;
  EXPECT_TRUE(grid.IsValid());
  grid.depthBelow = kNoValue;
  EXPECT_FALSE(grid.IsValid());
  grid.autoArea = 0;
  EXPECT_TRUE(grid.IsValid());
  grid.y2 = kNoValue;
  EXPECT_FALSE(grid.IsValid());
}

TEST(PrmGridTest, SetAreaOrdersClampsAndWidens) {
  struct Case {
    const char* name;
    double left, right, top, bottom;
    double x1, x2, y1, y2;
  };
  const Case cases[] = {
      {"in order", 0, 40, 20, -10, 0, 40, -10, 20},
      {"reversed", 40, 0, -10, 20, 0, 40, -10, 20},
      {"a point", 5, 5, 3, 3, 5, 35, 3, 33},
      {"right bound too large", 0, 10000, 20, 0, 0, 9999.9, 0, 20},
      {"empty at the upper bound", 9999.9, 9999.9, -9999.9, -9999.9, 9969.9, 9999.9, -9999.9,
       -9969.9},
  };
  for (const Case& c : cases) {
    CPrmGrid grid;
    grid.SetArea(c.left, c.right, c.top, c.bottom);
    EXPECT_DOUBLE_EQ(grid.x1, c.x1) << c.name;
    EXPECT_DOUBLE_EQ(grid.x2, c.x2) << c.name;
    EXPECT_DOUBLE_EQ(grid.y1, c.y1) << c.name;
    EXPECT_DOUBLE_EQ(grid.y2, c.y2) << c.name;
  }
}

TEST(PrmGridTest, NormalizeRepairsUnusablePitches) {
  CPrmGrid grid;
  grid.xLinePitch = 0;
  grid.yLinePitch = 12000;
  grid.xLabelPitch = -1;
  grid.yLabelPitch = 9999.9;
  grid.Normalize();
  EXPECT_EQ(grid.xLinePitch, 10.0);
  EXPECT_EQ(grid.yLinePitch, 10.0);
  EXPECT_EQ(grid.xLabelPitch, 10.0);
  EXPECT_EQ(grid.yLabelPitch, 9999.9);
}

TEST(PrmGridTest, DistancesAspectAndCentre) {
  const CPrmGrid grid = Edited();
  EXPECT_EQ(grid.GetDistX(), 50);
  EXPECT_EQ(grid.GetDistY(), 30);
  EXPECT_EQ(grid.GetMaxDistXY(), 50);
  EXPECT_EQ(grid.GetAspectXY(), 0.6);
  const CDPoint centre = grid.GetCenter();
  EXPECT_EQ(centre.x, 20);
  EXPECT_EQ(centre.y, 17);
  EXPECT_EQ(centre.flag, 0);
}

// ---- Drawing ----

// The default 30 x 30 area at 10 pixels per unit: world (x, y) is device (10x, 300 - 10y).
class PrmGridDrawTest : public testing::Test {
 protected:
  void SetUp() override { AttachTestView(view, canvas, 10.0, 150, 150); }

  std::vector<std::string> Texts() const {
    std::vector<std::string> texts;
    for (const DrawnPrimitive& p : canvas.PrimitivesOf(PrimitiveKind::Text)) {
      texts.push_back(p.text);
    }
    return texts;
  }

  RecordingCanvas canvas;
  CViewInfo view;
};

const Color kGridColor = Color::Rgb(200, 200, 200);

TEST_F(PrmGridDrawTest, DottedLinesOverTheViewThenTheFrameAndLabels) {
  CPrmGrid grid;
  grid.x1 = 5;
  grid.x2 = 25;
  grid.y1 = 5;
  grid.y2 = 25;
  // World (x, y) is device (10x + 10, 310 - 10y) on this area.
  view.SetArea(-2, 30, 30, 2);
  grid.Draw(&view);

  std::vector<std::vector<DevPoint>> dotted;
  std::vector<std::vector<DevPoint>> solid;
  for (const DrawnPrimitive& line : canvas.PrimitivesOf(PrimitiveKind::Line)) {
    EXPECT_EQ(line.state.pen.color, kGridColor);
    EXPECT_EQ(line.state.pen.width, 1);
    (line.state.pen.style == PenStyle::Dot ? dotted : solid).push_back(line.points);
  }
  // x = 0, 10, 20, 30 across; y = 10, 20, 30 up (2 is not a multiple, 0 lies below the edge).
  ASSERT_EQ(dotted.size(), 7u);
  EXPECT_EQ(dotted[0], (std::vector<DevPoint>{{10, 290}, {10, 10}}));
  EXPECT_EQ(dotted[3], (std::vector<DevPoint>{{310, 290}, {310, 10}}));
  EXPECT_EQ(dotted[4], (std::vector<DevPoint>{{-10, 210}, {310, 210}}));
  // The frame of the area.
  ASSERT_EQ(solid.size(), 4u);
  EXPECT_EQ(solid[0], (std::vector<DevPoint>{{60, 260}, {260, 260}}));

  EXPECT_EQ(Texts(), (std::vector<std::string>{"  10", "  20", "  10", "  20"}));
  const auto texts = canvas.PrimitivesOf(PrimitiveKind::Text);
  // Half a unit below the bottom edge and left of the left edge.
  EXPECT_EQ(texts[0].points[0], (DevPoint{110, 265}));
  EXPECT_EQ(texts[2].points[0], (DevPoint{55, 210}));
  EXPECT_EQ(texts[0].state.font.escapement, 0);
  EXPECT_EQ(texts[2].state.font.escapement, 900);
  EXPECT_EQ(texts[0].state.textAlign, TextAlign::Right | TextAlign::Top);
  EXPECT_EQ(texts[0].state.font.face, "ＭＳ ゴシック");
  EXPECT_EQ(texts[0].state.font.height, 12);
  EXPECT_EQ(canvas.CurrentPen(), Pen{});
}

TEST_F(PrmGridDrawTest, FractionalLabelPitchesGiveOneDecimalAndPrintTurnsTheYLabels) {
  CPrmGrid grid;
  grid.xLabelPitch = 12.5;
  grid.yLabelPitch = 20;
  view.ModePrint();
  grid.Draw(&view);
  EXPECT_EQ(Texts(), (std::vector<std::string>{"   0.0", "  12.5", "  25.0", "   0.0", "  20.0"}));
  const auto texts = canvas.PrimitivesOf(PrimitiveKind::Text);
  EXPECT_EQ(texts[0].state.font.height, 120);
  EXPECT_EQ(texts[3].state.font.escapement, 2700);
}

TEST_F(PrmGridDrawTest, NothingWhileHiddenAndNoEndlessGridForATinyPitch) {
  CPrmGrid grid;
  grid.gridShown = 0;
  grid.Draw(&view);
  EXPECT_TRUE(canvas.Primitives().empty());

  grid.gridShown = 1;
  grid.xLinePitch = 1e-9;
  grid.yLinePitch = 0;
  grid.Draw(&view);
  // The frame and the labels only.
  EXPECT_EQ(canvas.PrimitivesOf(PrimitiveKind::Line).size(), 4u);
  EXPECT_EQ(canvas.PrimitivesOf(PrimitiveKind::Text).size(), 8u);
}

// Far from zero a pitch of 1 no longer moves a value: the labels of an unset area end after the
// first instead of never.
TEST_F(PrmGridDrawTest, LabelsEndWhereAStepNoLongerMovesTheValue) {
  CPrmGrid grid;
  grid.x1 = grid.y1 = grid.x2 = grid.y2 = kNoValue;
  grid.xLabelPitch = grid.yLabelPitch = 1;
  grid.Draw(&view);
  EXPECT_EQ(canvas.PrimitivesOf(PrimitiveKind::Text).size(), 2u);
}

}  // namespace
