#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <limits>
#include <memory>
#include <vector>

#include "core/deformation/ResSlide.h"
#include "core/geometry/ViewInfo.h"
#include "core/model/RefCond.h"
#include "core/stability/MltPoint.h"
#include "platform/Archive.h"
#include "platform/RecordingCanvas.h"
#include "tests/support/DrawTestUtil.h"
#include "tests/support/RecordBytes.h"
#include "tests/support/RecordContract.h"

namespace {

constexpr double kNo = kNoValue;
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

tagSLIDERES Row(double kh, double fsr, double gammaS, double ds) { return {kh, fsr, gammaS, ds}; }

std::unique_ptr<CMltBlocks> Points(const std::vector<CMltPoint>& points) {
  auto blocks = std::make_unique<CMltBlocks>();
  for (const CMltPoint& p : points) blocks->Add(std::make_unique<CMltPoint>(p));
  return blocks;
}

CMltPoint Point(int id, int start, int end, double fsQ) {
  CMltPoint p;
  p.id = id;
  p.startBlock = start;
  p.endBlock = end;
  p.fsQ = fsQ;
  return p;
}

// ---- Record bytes, spelled out ----

// The record of a new key: from version 8 the exclusion ranges; before version 5 the short form
// of the pairs and doubles; then the shared tail.
RecordBytes& DefaultKey(RecordBytes& b, int version) {
  if (version >= 8) {
    b.Int(0);
    for (int k = 0; k < 20; ++k) b.Int(INT_MIN).Int(INT_MIN);
  }
  if (version < 5) {
    b.Int(0).Int(0).Int(1).Int(0).Double(kNo).Double(kNo);
  } else {
    b.Int(0).Int(1);
    for (int k = 0; k < 2; ++k) {
      b.Int(k).Int(k).Int(k).Int(k);
      for (int d = 0; d < 4; ++d) b.Double(kNo);
    }
  }
  b.Int(0).Int(1).Int(0).Int(0).Int(0).Double(0.01).Int(1).Int(1).Int(1);
  for (const double v : {0.8, 0.85, 0.9, 0.95, 1.0, 100.0, 75.0, 50.0, 25.0, 0.0}) b.Double(v);
  for (int k = 0; k < 10; ++k) b.Int(0);
  return b.Int(0);
}

RecordBytes& RowBytes(RecordBytes& b, const tagSLIDERES& row) {
  return b.Double(row.kh).Double(row.fsr).Double(row.gammaS).Double(row.ds);
}

// The default graph settings of a kind: no items, automatic ranges, kh 0 to 1 at 0.2, the Y
// range and pitch of the kind, white and the three line colours.
RecordBytes& DefaultGraph(RecordBytes& b, double maxY, double pitchY) {
  b.Int(-1).Int(-1).Int(1).Int(1).Int(1);
  b.Double(1.0).Double(maxY).Double(0).Double(0).Double(0.2).Double(pitchY);
  return b.Color(Color::Rgb(255, 255, 255))
      .Color(Color::Rgb(255, 64, 64))
      .Color(Color::Rgb(50, 50, 255))
      .Color(Color::Rgb(200, 230, 64));
}

const tagSLIDERES kDesign = Row(kNo, 1.2, 0.0117, 58.7);
const std::vector<tagSLIDERES> kRows = {Row(0, 1.5, 0.008, 40), Row(1, 0.9, kNo, kNo)};

// A result with rows, points and the sort settings of every record field.
void Fill(CResSlide& result) {
  result.designRow = kDesign;
  result.rows = kRows;
  result.allowableDs = 500;
  result.blockCount = 5;
  result.serialCount = 1;
  result.sortItem = 12;
  result.sortOrder = 1;
  result.SetResult(Points({Point(0, 1, 2, 1.25)}));
}

RecordBytes FilledBytes(int version) {
  RecordBytes b;
  RowBytes(b, kDesign).Int(2);
  for (const tagSLIDERES& row : kRows) RowBytes(b, row);
  b.Double(500);
  DefaultKey(b, version).Int(5).Int(1).Int(12).Int(1);
  b.Int(1).Int(0).Int(1);  // points: kind forward, one point
  b.Int(0).Int(0).Int(0).Int(1).Int(2);
  b.Double(kNo).Double(kNo).Double(kNo).Double(kNo).Double(kNo).Double(1.25);
  return b;
}

// A target that differs from the filled result in every stored field.
std::unique_ptr<CResSlide> Different() {
  auto result = std::make_unique<CResSlide>();
  result->designRow = Row(kNo, 3, 3, 3);
  result->rows = {Row(0.5, 2, 2, 2)};
  result->allowableDs = 7;
  result->GetKey().quakeOn = 1;
  result->blockCount = 9;
  result->serialCount = 9;
  result->sortItem = 9;
  result->sortOrder = 0;
  for (CDrawResGraphSet& set : result->graphs) set.maxY = 42;
  return result;
}

TEST(ResSlideRecordTest, CurrentRecordMeetsTheContract) {
  CResSlide result;
  Fill(result);
  result.GetGraphSet(CResSlide::kGraphDs).lineColors[0] = Color::Rgb(1, 2, 3);
  RecordBytes b = FilledBytes(10);
  DefaultGraph(b, 2.0, 0.5);
  DefaultGraph(b, 0.2, 0.05);
  b.Int(-1).Int(-1).Int(1).Int(1).Int(1);
  b.Double(1.0).Double(500.0).Double(0).Double(0).Double(0.2).Double(100.0);
  b.Color(Color::Rgb(255, 255, 255))
      .Color(Color::Rgb(1, 2, 3))
      .Color(Color::Rgb(50, 50, 255))
      .Color(Color::Rgb(200, 230, 64));
  const auto loaded = ExpectRecordContract<CResSlide>(
      {.stored = result, .version = 10, .bytes = b.Get(), .makeTarget = Different});
  ASSERT_NE(loaded->GetResult(), nullptr);
  EXPECT_EQ(loaded->GetResult()->GetKey(), &loaded->GetKey());
}

TEST(ResSlideRecordTest, AVersionThreeRecordHasNoGraphsAndKeepsTheirDefaults) {
  CResSlide result;
  Fill(result);
  const auto loaded = ExpectRecordContract<CResSlide>(
      {.stored = result, .version = 3, .bytes = FilledBytes(3).Get(), .makeTarget = Different});
  const CResSlide defaults;
  for (int k = 0; k < CResSlide::kGraphCount; ++k) {
    EXPECT_TRUE(loaded->graphs[static_cast<std::size_t>(k)].IsSame(defaults.graphs[k])) << k;
  }
  EXPECT_EQ(loaded->rows, kRows);
}

TEST(ResSlideRecordTest, AnEmptyResultStoresNoRowsAndNoPoints) {
  RecordBytes b;
  RowBytes(b, tagSLIDERES{}).Int(0).Double(kNo);
  DefaultKey(b, 10).Int(0).Int(0).Int(12).Int(0).Int(0);
  DefaultGraph(b, 2.0, 0.5);
  DefaultGraph(b, 0.2, 0.05);
  DefaultGraph(b, 500.0, 100.0);
  ExpectRecordContract<CResSlide>({.stored = CResSlide(), .version = 10, .bytes = b.Get()});
}

TEST(ResSlideRecordTest, ARowCountBeyondTheRecordIsRefusedBeforeAnythingChanges) {
  RecordBytes b;
  RowBytes(b, kDesign).Int(1000000);
  CResSlide result;
  Fill(result);
  Archive in(b.Get());
  EXPECT_THROW(result.Load(in, 10), ArchiveException);
  EXPECT_EQ(result.rows, kRows);
  b = RecordBytes();
  RowBytes(b, kDesign).Int(-1);
  Archive negative(b.Get());
  EXPECT_THROW(result.Load(negative, 10), ArchiveException);
}

// ---- Lifecycle ----

TEST(ResSlideTest, ClearingKeepsTheAllowableValueKeyAndGraphs) {
  CResSlide result;
  Fill(result);
  result.GetKey().quakeOn = 1;
  result.graphs[0].maxY = 3;
  result.SerialResult();
  result.ClearRes();
  EXPECT_EQ(result.designRow, tagSLIDERES{});
  EXPECT_TRUE(result.rows.empty());
  EXPECT_EQ(result.blockCount, 0);
  EXPECT_EQ(result.serialCount, 0);
  EXPECT_EQ(result.GetResult(), nullptr);
  EXPECT_TRUE(result.GetSerial().empty());
  EXPECT_EQ(result.allowableDs, 500);
  EXPECT_EQ(result.GetKey().quakeOn, 1);
  EXPECT_EQ(result.sortOrder, 1);
  EXPECT_EQ(result.graphs[0].maxY, 3);
  result.Init();
  EXPECT_EQ(result.allowableDs, kNo);
  EXPECT_EQ(result.GetKey().quakeOn, 0);
  EXPECT_EQ(result.sortItem, 12);
  EXPECT_EQ(result.sortOrder, 0);
  EXPECT_EQ(result.graphs[0].maxY, 2.0);
}

TEST(ResSlideTest, CopyWithoutPointsLeavesTheTargetWithoutPointsAndWithTheRows) {
  CResSlide target;
  target.SetResult(Points({Point(0, 0, 1, 1.1)}));
  target.SerialResult();
  CResSlide source;
  source.rows = kRows;
  source.designRow = kDesign;
  source.graphs[1].maxY = 0.4;
  source.graphs[1].refValues[3] = 0.15;  // the dialog's, not copied
  target.Copy(source);
  EXPECT_EQ(target.GetResult(), nullptr);
  EXPECT_TRUE(target.GetSerial().empty());
  EXPECT_EQ(target.rows, kRows);
  EXPECT_TRUE(target.IsSame(source));
  EXPECT_EQ(target.graphs[1].refValues[3], kNo);
}

TEST(ResSlideTest, CopyWithPointsOwnsItsOwnPointsAndListsThem) {
  auto source = std::make_unique<CResSlide>();
  Fill(*source);
  source->GetKey().quakeOn = 1;
  CResSlide target;
  target.Copy(*source);
  ASSERT_NE(target.GetResult(), nullptr);
  EXPECT_NE(target.GetResult(), source->GetResult());
  EXPECT_TRUE(target.IsSame(*source));
  source.reset();  // nothing of the copy points into the source
  ASSERT_EQ(target.GetSerial().size(), 1u);
  EXPECT_EQ(target.GetSerial()[0]->fsQ, 1.25);
  EXPECT_EQ(target.GetSelectRepPt(1, 2), target.GetSerial()[0]);
  EXPECT_EQ(target.GetSelectRepPt(1, 3), nullptr);
}

TEST(ResSlideTest, SortExchangesEqualValuesWhenDescending) {
  CResSlide result;
  result.GetKey().quakeOn = 1;
  result.SetResult(Points({Point(0, 0, 1, 1.3), Point(1, 0, 2, 1.1), Point(2, 1, 2, 1.3)}));
  ASSERT_EQ(result.SerialResult(), 3);
  const auto ids = [&result] {
    std::vector<int> order;
    for (const CMltPoint* p : result.GetSerial()) order.push_back(p->id);
    return order;
  };
  EXPECT_EQ(result.SortSerial({12, 0}), 2);
  EXPECT_EQ(ids(), (std::vector<int>{1, 0, 2}));
  result.SortSerial({12, 1});
  EXPECT_EQ(ids(), (std::vector<int>{2, 0, 1}));  // 0 and 2 swapped although equal
}

// ---- Judgements and extremes ----

TEST(ResSlideTest, JudgementsNeedSetValuesAndPassOnlyBelowTheAllowableValue) {
  const struct {
    double gammaS;
    double ds, allowableDs;
    bool gsOk, dsOk;
  } cases[] = {
      {0.05, 100, 500, true, true},  {0.1, 500, 500, false, false},  // equal fails
      {0.2, 600, 500, false, false}, {kNo, kNo, 500, false, false}, {0.05, 100, kNo, true, false},
  };
  for (const auto& c : cases) {
    CResSlide result;
    result.designRow = Row(kNo, 1.2, c.gammaS, c.ds);
    result.allowableDs = c.allowableDs;
    EXPECT_EQ(result.IsJudgeGs(), c.gsOk) << c.gammaS;
    EXPECT_EQ(result.IsJudgeDs(), c.dsOk) << c.ds << " " << c.allowableDs;
    EXPECT_EQ(result.IsResult(), c.ds != kNo);
  }
  EXPECT_DOUBLE_EQ(CResSlide::GetKyoyouHizumi(), 0.1);
  EXPECT_DOUBLE_EQ(CResSlide::GetKeiA(), 0.016);
  EXPECT_DOUBLE_EQ(CResSlide::GetKeiB(), -1.7);
  CRefCond::SetSuberiHizumi(0.04);
  CResSlide result;
  result.designRow.gammaS = 0.05;
  EXPECT_FALSE(result.IsJudgeGs());
}

TEST(ResSlideTest, ExtremesSkipUnsetAndUndrawableValues) {
  const CResSlide empty;
  for (const double v :
       {empty.GetMaxKh(), empty.GetMinFsr(), empty.GetMaxFsr(), empty.GetMinGammaS(),
        empty.GetMaxGammaS(), empty.GetMinStrain(), empty.GetMaxStrain()}) {
    EXPECT_EQ(v, kNo);
  }
  CResSlide result;
  result.rows = {Row(0, 1.5, 0.008, kNo), Row(0.5, kNaN, -kInf, 40), Row(1, 0.9, 0.02, kInf),
                 Row(0.7, kNo, -4.9e-324, 10)};
  EXPECT_EQ(result.GetMaxKh(), 1);
  EXPECT_EQ(result.GetMinFsr(), 0.9);
  EXPECT_EQ(result.GetMaxFsr(), 1.5);
  EXPECT_EQ(result.GetMinGammaS(), 0.008);
  EXPECT_EQ(result.GetMaxGammaS(), 0.02);
  EXPECT_EQ(result.GetMinStrain(), 10);
  EXPECT_EQ(result.GetMaxStrain(), 40);
}

// ---- Graphs ----

class ResSlideGraphTest : public testing::Test {
 protected:
  ResSlideGraphTest() {
    AttachTestView(view_, canvas_, 10, 150, 150);
    result_.rows = {Row(0, 1.5, 0.01, 50), Row(0.5, 1.2, 0.02, 100), Row(0.75, kNo, kNo, kNo),
                    Row(1, 0.9, 0.04, 200)};
    result_.allowableDs = 300;
  }
  // The lines of a pen colour inside the plot (the legend lies right of it), in drawing order.
  std::vector<std::vector<DevPoint>> Lines(Color color) const {
    std::vector<std::vector<DevPoint>> lines;
    for (const DrawnPrimitive& p : canvas_.PrimitivesOf(PrimitiveKind::Line)) {
      const bool inside = std::ranges::all_of(
          p.points, [this](DevPoint d) { return d.x >= inner_.left && d.x <= inner_.right; });
      if (p.state.pen.color == color && inside) lines.push_back(p.points);
    }
    return lines;
  }

  // The plot: x 100..300 for kh 0..1, y 300..100 for the kind's range.
  const DevRect area_{0, 0, 400, 400};
  const DevRect inner_{100, 100, 300, 300};
  RecordingCanvas canvas_;
  CViewInfo view_;
  CResSlide result_;
};

TEST_F(ResSlideGraphTest, DataLineBreaksAtAnUnsetRowAndTheAllowableLinesFollow) {
  result_.DrawGraph(&view_, area_, inner_, CResSlide::kGraphDs);
  // Ds 0..500: (0, 50) -> (100, 280), (0.5, 100) -> (200, 260); the unset row ends the line.
  const auto data = Lines(Color::Rgb(0, 0, 128));
  ASSERT_EQ(data.size(), 1u);
  EXPECT_EQ(data[0], (std::vector<DevPoint>{{100, 280}, {200, 260}}));
  const auto allowable = Lines(Color::Rgb(255, 0, 0));
  ASSERT_FALSE(allowable.empty());
  EXPECT_EQ(allowable.back(), (std::vector<DevPoint>{{100, 180}, {300, 180}}));
  EXPECT_TRUE(Lines(Color::Rgb(128, 0, 0)).empty());  // no design coefficient to mark

  canvas_.Clear();
  result_.graphs[CResSlide::kGraphDs].refValues[3] = 0.25;
  result_.DrawGraph(&view_, area_, inner_, CResSlide::kGraphDs);
  const auto design = Lines(Color::Rgb(128, 0, 0));
  ASSERT_EQ(design.size(), 1u);
  EXPECT_EQ(design.back(), (std::vector<DevPoint>{{150, 300}, {150, 100}}));
}

TEST_F(ResSlideGraphTest, StrainGraphMarksEachPointAndDrawsTheAllowableStrain) {
  result_.DrawGraph(&view_, area_, inner_, CResSlide::kGraphGammaS);
  // gs 0..0.2: the allowable 0.1 halfway up.
  const auto allowable = Lines(Color::Rgb(255, 0, 0));
  ASSERT_FALSE(allowable.empty());
  EXPECT_EQ(allowable.back(), (std::vector<DevPoint>{{100, 200}, {300, 200}}));
  int markers = 0;
  for (const DrawnPrimitive& p : canvas_.PrimitivesOf(PrimitiveKind::FillRect)) {
    if (p.fillBrush.color == Color::Rgb(0, 0, 128)) ++markers;
  }
  EXPECT_EQ(markers, 3 + 1);  // three set rows and the legend's sample
  const auto texts = canvas_.PrimitivesOf(PrimitiveKind::Text);
  const auto has = [&texts](const std::string& text) {
    for (const DrawnPrimitive& p : texts) {
      if (p.text == text) return true;
    }
    return false;
  };
  for (const char* text : {"地震時のすべりひずみ", "すべりひずみ", "水平震度", "0.10", "0.4",
                           "対策工", "許容すべり", "ひずみ"}) {
    EXPECT_TRUE(has(text)) << text;
  }
}

TEST_F(ResSlideGraphTest, AnUnsetRangeDrawsOnlyTheBackground) {
  result_.graphs[0].maxY = kNo;
  result_.DrawGraphGridOnly(&view_, area_, 0);
  EXPECT_TRUE(canvas_.PrimitivesOf(PrimitiveKind::Line).empty());
  EXPECT_TRUE(canvas_.PrimitivesOf(PrimitiveKind::Text).empty());
  EXPECT_EQ(canvas_.PrimitivesOf(PrimitiveKind::FillRect).size(), 2u);
}

}  // namespace
