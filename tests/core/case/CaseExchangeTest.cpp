#include <gtest/gtest.h>

#include <array>
#include <cstddef>
#include <filesystem>
#include <initializer_list>
#include <limits>
#include <memory>
#include <optional>
#include <string>
#include <utility>

#include "core/base/Utility.h"
#include "core/case/Case.h"
#include "core/model/ZCmnStructure.h"
#include "core/section/SpStratum.h"
#include "core/stability/MltPoint.h"
#include "core/stability/ResStab2.h"
#include "platform/ProgramDir.h"
#include "tests/support/SampleDocument.h"
#include "tests/support/ScriptedUi.h"
#include "tests/support/TestFiles.h"

namespace {

namespace fs = std::filesystem;

const CSpGround& ExportedGround(CCase& c) {
  return c.IsStratumBlockMode() != 0 ? c.GetGroundDiv() : c.GetGround();
}

const CDPolyArray& ExportedStrata(CCase& c) {
  return c.IsStratumBlockMode() != 0 ? c.GetStratumDiv() : c.GetStratum();
}

// The points as the file carries them: three decimals.
void ExpectSamePoints(const CDPoly& read, const CDPoly& written) {
  ASSERT_EQ(read.GetSize(), written.GetSize());
  for (int i = 0; i < read.GetSize(); ++i) {
    EXPECT_NEAR(read.GetAt(i)->x, written.GetAt(i)->x, 0.0005) << i;
    EXPECT_NEAR(read.GetAt(i)->y, written.GetAt(i)->y, 0.0005) << i;
  }
}

int CountFeatures(const CZCmnStructure& data, bool (CZCmnFeature::*is)() const) {
  int n = 0;
  for (int f = 0; f < data.GetSizeFeature(); ++f) n += (data.GetAtFeature(f)->*is)() ? 1 : 0;
  return n;
}

class ExchangedCase : public testing::Test {
 protected:
  ExchangedCase() { FillSampleCase(case_, 0); }

  // Exports the case with the slide line of its normal run into a file and imports that file
  // into a fresh case.
  void RoundTrip(CCase& target) {
    const fs::path path = DataDir() / "case.xml";
    CZCmnStructure written;
    case_.ExportTerrain(0, written);
    EXPECT_EQ(CountFeatures(written, &CZCmnFeature::IsSlide), 1);
    ASSERT_TRUE(written.WriteXMLDirect(path.string()));
    CZCmnStructure read;
    ASSERT_TRUE(read.ReadXMLDirect(path.string()));
    target.ImportTerrain(read);
  }

  CCase case_;
};

TEST_F(ExchangedCase, ExportAndImportKeepTheSectionSiteAndConditions) {
  CCase target;
  RoundTrip(target);
  EXPECT_EQ(target.GetInUse(), 1);
  EXPECT_TRUE(target.IsModified());

  ExpectSamePoints(target.GetGround(), ExportedGround(case_));
  // The file's slide line becomes no line of the section.
  const CDPolyArray& strata = ExportedStrata(case_);
  ASSERT_EQ(target.GetStratum().GetSize(), strata.GetSize());
  for (int i = 0; i < strata.GetSize(); ++i) {
    EXPECT_EQ(target.GetStratum().GetAt(i)->GetName(), strata.GetAt(i)->GetName());
    ExpectSamePoints(*target.GetStratum().GetAt(i), *strata.GetAt(i));
  }
  const CDPolyArray* blocks = ExportedGround(case_).GetPolyArray();
  ASSERT_NE(blocks, nullptr);
  ASSERT_NE(target.GetGround().GetPolyArray(), nullptr);
  ASSERT_EQ(target.GetGround().GetPolyArray()->GetSize(), blocks->GetSize());
  for (int i = 0; i < blocks->GetSize(); ++i) {
    const auto& from = dynamic_cast<const CSpStratumBlock&>(*blocks->GetAt(i));
    const auto& to =
        dynamic_cast<const CSpStratumBlock&>(*target.GetGround().GetPolyArray()->GetAt(i));
    EXPECT_EQ(to.GetPropPtr()->GetName(), from.GetPropPtr()->GetName());
    EXPECT_EQ(to.GetPropColor().ref, from.GetPropColor().ref);
    const tagSATURATE& a = *to.GetPropStructure();
    const tagSATURATE& b = *from.GetPropStructure();
    EXPECT_NEAR(a.gammaT, b.gammaT, 0.0005);
    EXPECT_NEAR(a.gammaSat, b.gammaSat, 0.0005);
    EXPECT_NEAR(a.c, b.c, 0.0005);
    EXPECT_NEAR(a.phi, b.phi, 0.00005);
    ExpectSamePoints(to, from);
  }
  ExpectSamePoints(target.GetWater(), case_.GetWater());

  const CPrmJobsite& site = target.GetPrmJobsite();
  EXPECT_EQ(site.names[0], case_.GetPrmJobsite().names[0]);
  EXPECT_EQ(site.names[1], case_.GetPrmJobsite().names[1]);
  EXPECT_EQ(site.names[2], case_.GetPrmJobsite().names[2]);
  for (const std::string& comment : site.comments) EXPECT_EQ(comment, "");
  const CPrmGrid& grid = target.GetPrmGrid();
  const CPrmGrid& from = case_.GetPrmGrid();
  EXPECT_NEAR(grid.x1, from.x1, 0.0005);
  EXPECT_NEAR(grid.x2, from.x2, 0.0005);
  EXPECT_NEAR(grid.y1, from.y1, 0.0005);
  EXPECT_NEAR(grid.y2, from.y2, 0.0005);
  EXPECT_NEAR(grid.xLinePitch, from.xLinePitch, 0.05);
  EXPECT_NEAR(grid.yLabelPitch, from.yLabelPitch, 0.05);
  EXPECT_EQ(grid.autoArea, from.autoArea != 0 ? 1 : 0);
  const CPrmStab& stab = target.GetPrmStab();
  const CPrmStab& stabFrom = case_.GetPrmStab();
  EXPECT_EQ(stab.quakeOn, stabFrom.quakeOn == 1 ? 1 : 0);
  EXPECT_NEAR(stab.planFsNormal, stabFrom.planFsNormal, 0.0005);
  EXPECT_NEAR(stab.planFsQuake, stabFrom.planFsQuake, 0.0005);
  EXPECT_NEAR(stab.kh, stabFrom.kh, 0.0005);
  EXPECT_NEAR(stab.gammaW, stabFrom.gammaW, 0.0005);
}

TEST_F(ExchangedCase, ExportAddsTheSlideLineOfTheChosenCaseOnly) {
  struct Case {
    int which;
    int slides;
  };
  for (const Case c : {Case{0, 1}, Case{1, 1}, Case{2, 0}}) {
    SCOPED_TRACE(c.which);
    CZCmnStructure data;
    case_.ExportTerrain(c.which, data);
    EXPECT_EQ(CountFeatures(data, &CZCmnFeature::IsSlide), c.slides);
    EXPECT_EQ(CountFeatures(data, &CZCmnFeature::IsGround), 1);
    EXPECT_EQ(CountFeatures(data, &CZCmnFeature::IsWater), 1);
  }
  CZCmnStructure data;
  case_.ExportTerrain(0, data);
  int marked = 0;
  const CZCmnFeature& ground = *data.GetAtFeature(0);
  for (int s = 0; s < ground.GetSizeShape(); ++s) {
    const std::string& text = ground.GetAtShape(s)->GetText();
    if (text.empty()) continue;
    ++marked;
    EXPECT_TRUE(text == "常時" || text == "地震時" || text == "常時, 地震時") << text;
  }
  EXPECT_GT(marked, 0);
}

// One run registered for both load cases: its surface points carry both marks, run together.
TEST_F(ExchangedCase, APointOfBothRunsCarriesBothMarks) {
  CResStab2& results = case_.GetResStab2();
  const CMltPoint* normal = results.GetSelectRepPt(0);
  ASSERT_NE(normal, nullptr);
  for (CMltPoint* p : results.GetSerial()) p->typicalQ = p == normal ? 1 : 0;
  CZCmnStructure data;
  case_.ExportTerrain(2, data);
  const CZCmnFeature& ground = *data.GetAtFeature(0);
  int both = 0;
  for (int s = 0; s < ground.GetSizeShape(); ++s) {
    const std::string& text = ground.GetAtShape(s)->GetText();
    EXPECT_TRUE(text.empty() || text == "常時, 地震時") << text;
    both += text.empty() ? 0 : 1;
  }
  EXPECT_GT(both, 0);
}

// A selected run whose blocks are gone writes the ground without marks and no slide line.
TEST_F(ExchangedCase, ExportWithoutTheSelectedBlocksWritesNoMarksAndNoSlideLine) {
  case_.GetBlockList().DeleteBlockArray();
  CZCmnStructure data;
  case_.ExportTerrain(0, data);
  EXPECT_EQ(CountFeatures(data, &CZCmnFeature::IsSlide), 0);
  const CZCmnFeature& ground = *data.GetAtFeature(0);
  for (int s = 0; s < ground.GetSizeShape(); ++s) {
    EXPECT_EQ(ground.GetAtShape(s)->GetText(), "");
  }
}

TEST_F(ExchangedCase, RefusedOrCancelledImportLeavesTheCase) {
  CCase reference;
  FillSampleCase(reference, 0);
  const std::size_t messages = TestUi().FrameMessages().size();  // those of the calculations
  const fs::path malformed = fs::path(BRIXO_TEST_DATA) / "terrain-truncated.xml";
  const std::string question = "編集中のケース「" + case_.GetPrmJobsite().names[1] +
                               "」の計算結果が消去されます。\nよろしいですか？";
  struct Step {
    const char* what;
    MsgResult answer;
    bool dialog;
    std::optional<fs::path> file;
  };
  const Step steps[] = {
      {"the question cancelled", MsgResult::Cancel, false, std::nullopt},
      {"the dialog cancelled", MsgResult::Ok, true, std::nullopt},
      {"a malformed file", MsgResult::Ok, true, malformed},
  };
  for (const Step& step : steps) {
    SCOPED_TRACE(step.what);
    TestUi().ExpectMessageBox(step.answer, question);
    if (step.dialog) TestUi().ExpectFileDialog(step.file);
    if (step.file) TestUi().ExpectMessageBox(MsgResult::Ok);
    case_.ImportXml();
    TestUi().VerifyAllAnswered();
    EXPECT_TRUE(case_.IsSame(&reference));
    EXPECT_EQ(case_.GetInUse(), 1);
    EXPECT_TRUE(case_.GetResStab2().GetSelectRepPt(0) != nullptr);
  }
  EXPECT_EQ(TestUi().FrameMessages().size(), messages);
}

TEST_F(ExchangedCase, ImportReplacesTheCaseAndRedraws) {
  const fs::path path = DataDir() / "case.xml";
  CZCmnStructure written;
  case_.ExportTerrain(0, written);
  ASSERT_TRUE(written.WriteXMLDirect(path.string()));
  CCase target;
  const std::size_t messages = TestUi().FrameMessages().size();  // those of the calculations
  TestUi().ExpectFileDialog(path);                               // an empty case is not asked about
  target.ImportXml();
  EXPECT_EQ(target.GetInUse(), 1);
  EXPECT_EQ(target.GetGround().GetSize(), ExportedGround(case_).GetSize());
  ASSERT_EQ(TestUi().FrameMessages().size(), messages + 1);
  EXPECT_EQ(TestUi().FrameMessages().back(), (FrameMessage{FrameMsg::WM_APP_REDRAW, 0, 0}));
}

// A small case spelled out point by point: ground, one stratum line, one stratum polygon and the
// water line, without blocks or results.
void FillSmallCase(CCase& c) {
  c.SetInUse(1);
  CPrmJobsite& site = c.GetPrmJobsite();
  site.names = {"現場", "ケース1", "備考"};
  site.comments[0] = "注記";
  CPrmGrid& grid = c.GetPrmGrid();
  grid.x1 = 0;
  grid.x2 = 40;
  grid.y1 = -10;
  grid.y2 = 30;
  grid.xLinePitch = 10;
  grid.yLinePitch = 10;
  grid.xLabelPitch = 5;
  grid.yLabelPitch = 5;
  grid.autoArea = 0;
  grid.depthBelow = 10;
  CSpGround& ground = c.GetGround();
  ground.SetName("地表面");
  ground.Add(0, 10);
  ground.Add(20, 15.5);
  ground.Add(40, 20);
  auto line = std::make_unique<CSpStratumLine>();
  line->SetName("地層線1");
  line->Add(0, 5);
  line->Add(40, 8);
  c.GetStratum().Add(std::move(line));
  auto blocks = std::make_unique<CDPolyArray>();
  auto block = std::make_unique<CSpStratumBlock>();
  block->GetPropPtr()->SetName("砂");
  block->GetPropPtr()->SetColor(Color{0x80FF80});
  block->GetPropStructure()->gammaT = 18;
  block->GetPropStructure()->gammaSat = 19;
  block->GetPropStructure()->c = 10;
  block->GetPropStructure()->phi = 30;
  block->Add(0, 5);
  block->Add(20, 15.5);
  block->Add(40, 8);
  blocks->Add(std::move(block));
  ground.SetPolyArray(std::move(blocks));
  c.GetWater().SetName("水位線");
  c.GetWater().Add(0, 2);
  c.GetWater().Add(40, 4);
  CPrmStab& stab = c.GetPrmStab();
  stab.quakeOn = 1;
  stab.planFsNormal = 1.2;
  stab.planFsQuake = 1.0;
  stab.kh = 0.15;
  stab.gammaW = 10;
}

// The expected file was spelled out by hand (CP932, CR LF), not written by this code.
TEST(CaseExportTest, WritesTheExpectedFileThroughTheDialog) {
  CCase source;
  FillSmallCase(source);
  const fs::path path = DataDir() / "export.xml";
  TestUi().ExpectFileDialog(path);
  source.ExportXml(0);
  const fs::path expected = fs::path(BRIXO_TEST_DATA) / "terrain-case-export.xml";
  EXPECT_EQ(ReadFileBytes(path), ReadFileBytes(expected));
  TestUi().ExpectFileDialog(std::nullopt);
  source.ExportXml(0);  // cancelled: nothing written

  CCase target;
  TestUi().ExpectFileDialog(expected);
  target.ImportXml();
  EXPECT_EQ(target.GetPrmJobsite().comments[0], "");  // comments are not taken
  EXPECT_EQ(target.GetPrmJobsite().names, source.GetPrmJobsite().names);
  ExpectSamePoints(target.GetGround(), source.GetGround());
  ExpectSamePoints(*target.GetStratum().GetAt(0), *source.GetStratum().GetAt(0));
  ExpectSamePoints(target.GetWater(), source.GetWater());
}

// ---- What the import takes from a file

struct Shapes {
  const char* type;
  const char* name;
  int count;
  int firstVertex = 0;
};

// A structure of one vertex per coordinate pair and the features over them.
void Fill(CZCmnStructure& data, std::initializer_list<std::pair<double, double>> vertices,
          std::initializer_list<Shapes> features) {
  int id = 0;
  for (const auto& [x, y] : vertices) {
    CZCmnVertex v;
    v.SetXY(id++, x, y);
    data.AddNewVertex(v);
  }
  for (const Shapes& f : features) {
    CZCmnFeature feature;
    const std::string type = f.type;
    if (type == "ground") feature.SetGround(f.name, 0);
    if (type == "line") feature.SetStratumLine(f.name, 0);
    if (type == "polygon") feature.SetStratumPolygon(f.name, "", 0, 0x00FF00);
    if (type == "water") feature.SetWater(f.name, 0, std::string(f.name) == "w1" ? 9.5 : 8.0);
    for (int s = 0; s < f.count; ++s) {
      CZCmnShape shape;
      shape.SetVertexNum((f.firstVertex + s) % data.GetSizeVertex());
      feature.AddNewShape(shape);
    }
    data.AddNewFeature(feature);
  }
}

TEST(CaseImportTest, LineLimitsAndPolygonsWithoutLimit) {
  CZCmnStructure data;
  Fill(data, {{0, 0}, {1, 1}, {2, 2}}, {{"ground", "g", 1200}, {"polygon", "p", 1200}});
  CCase target;
  target.ImportTerrain(data);
  EXPECT_EQ(target.GetGround().GetSize(), 1000);
  ASSERT_NE(target.GetGround().GetPolyArray(), nullptr);
  EXPECT_EQ(target.GetGround().GetPolyArray()->GetAt(0)->GetSize(), 1200);
}

TEST(CaseImportTest, OnlyTheFirstGroundAndWaterAndEveryStratumLine) {
  CZCmnStructure data;
  Fill(data, {{0, 0}, {1, 1}, {2, 2}},
       {{"water", "w1", 2},
        {"line", "a", 2},
        {"ground", "g1", 3},
        {"line", "", 1},
        {"ground", "g2", 1},
        {"water", "w2", 3, 1},
        {"line", "c", 3}});
  CCase target;
  target.ImportTerrain(data);
  EXPECT_EQ(target.GetGround().GetSize(), 3);
  EXPECT_EQ(target.GetWater().GetSize(), 2);
  EXPECT_EQ(target.GetPrmStab().gammaW, 9.5);
  ASSERT_EQ(target.GetStratum().GetSize(), 3);
  EXPECT_EQ(target.GetStratum().GetAt(0)->GetName(), "a");
  EXPECT_EQ(target.GetStratum().GetAt(1)->GetName(), "");
  EXPECT_EQ(target.GetStratum().GetAt(2)->GetSize(), 3);
}

TEST(CaseImportTest, PolygonsWithoutGroundAndCoordinatesRoundedHalfUp) {
  CZCmnStructure data;
  Fill(data, {{12.34567, -0.0004}, {-0.0006, 0}, {0, 5}, {kNoValue, 5}}, {{"polygon", "p", 4}});
  CZCmnShape missing;
  missing.SetVertexNum(7);  // no such vertex: no point
  data.GetAtFeature(0)->AddNewShape(missing);
  CCase target;
  target.ImportTerrain(data);
  EXPECT_EQ(target.GetGround().GetSize(), 0);
  ASSERT_NE(target.GetGround().GetPolyArray(), nullptr);
  const CDPoly& polygon = *target.GetGround().GetPolyArray()->GetAt(0);
  ASSERT_EQ(polygon.GetSize(), 4);
  EXPECT_EQ(polygon.GetAt(0)->x, 12.346);
  EXPECT_EQ(polygon.GetAt(0)->y, 0.0);
  EXPECT_EQ(polygon.GetAt(1)->x, -0.001);
  EXPECT_EQ(polygon.GetAt(1)->y, 0.0);
  EXPECT_EQ(polygon.GetAt(2)->x, 0.0);
  EXPECT_EQ(polygon.GetAt(3)->x, kNoValue);
  const auto& block = dynamic_cast<const CSpStratumBlock&>(polygon);
  EXPECT_EQ(block.GetPropPtr()->GetName(), "p");
  EXPECT_EQ(block.GetPropColor().ref, 0x00FF00u);
}

// A point that a stored shape could not hold would make the saved document unopenable: the
// whole data is refused with a message that names the vertex and the limit, and the case stays
// as it was. The check is on the rounded coordinate the case would take, and only on the kinds
// of feature the case takes.
TEST(CaseImportTest, APointBeyondWhatARecordHoldsRefusesTheWholeData) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double inf = std::numeric_limits<double>::infinity();
  const struct {
    const char* what;
    std::pair<double, double> far;  // vertex 1; vertex 0 is (0, 0)
    const char* type;
    bool refused;
  } rows[] = {
      {"a ground at x = 200000", {200000, 0}, "ground", true},
      {"a stratum line below -100000", {0, -100000.001}, "line", true},
      {"a stratum polygon at NaN", {nan, 0}, "polygon", true},
      {"a water line at infinity", {0, inf}, "water", true},
      {"rounded onto the limit", {100000.0004, -100000.0004}, "line", false},
      {"unset", {kNoValue, kNoValue}, "water", false},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.what);
    CZCmnStructure data;
    Fill(data, {{0, 0}, row.far}, {{"ground", "g", 1}, {row.type, "f", 2}});
    CCase target;
    FillSampleCase(target, 0);
    target.SetModify(false);
    CCase before;
    before.Copy(&target);
    if (row.refused) {
      TestUi().ExpectMessageBox(
          MsgResult::Ok,
          "ファイルの読み込みに失敗しました。\n\n頂点 1 の座標が ±100000 の範囲を超えています。");
    }
    EXPECT_EQ(target.ImportTerrain(data), !row.refused);
    TestUi().VerifyAllAnswered();
    EXPECT_EQ(target.IsSame(&before), row.refused);
    EXPECT_EQ(target.IsModified(), !row.refused);
  }
}

// Vertices that no feature the case takes refers to are not the case's business.
TEST(CaseImportTest, AFarVertexNoTakenFeatureUsesIsNoReasonToRefuse) {
  CZCmnStructure data;
  Fill(data, {{0, 0}, {1, 1}, {3e5, 0}}, {{"ground", "g", 2}});
  CCase target;
  EXPECT_TRUE(target.ImportTerrain(data));
  EXPECT_EQ(target.GetGround().GetSize(), 2);
}

// A site grid no sound case holds is refused with a message: the case stays as it was. Drawing
// a pitch over an unset area never ended.
TEST(CaseImportTest, AGridNoSoundCaseHoldsIsRefused) {
  const struct {
    const char* what;
    std::array<double, 4> area;
    std::array<double, 4> grid;
  } cases[] = {
      {"a pitch without an area",
       {kNoValue, kNoValue, kNoValue, kNoValue},
       {1, kNoValue, kNoValue, kNoValue}},
      {"a pitch not a number",
       {0, 30, 0, 30},
       {std::numeric_limits<double>::quiet_NaN(), 10, 10, 10}},
      {"an edge beyond the coordinate limit", {0, 200000, 0, 30}, {10, 10, 10, 10}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    CZCmnStructure data;
    Fill(data, {{0, 0}, {1, 1}}, {{"ground", "g", 2}});
    CZCmnJobSite site;
    site.SetSiteArea(c.area[0], c.area[1], c.area[2], c.area[3]);
    site.SetSiteGrid(c.grid[0], c.grid[1], c.grid[2], c.grid[3]);
    data.SetSite(site);
    CCase target;
    FillSampleCase(target, 0);
    CCase before;
    before.Copy(&target);
    TestUi().ExpectMessageBox(MsgResult::Ok);
    EXPECT_FALSE(target.ImportTerrain(data));
    TestUi().VerifyAllAnswered();
    EXPECT_TRUE(target.IsSame(&before));
  }
}

}  // namespace
