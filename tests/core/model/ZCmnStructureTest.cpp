#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "core/base/AppIdentity.h"
#include "core/model/ZCmnStructure.h"
#include "platform/ProgramDir.h"
#include "tests/support/ScriptedUi.h"
#include "tests/support/TestFiles.h"

namespace {

namespace fs = std::filesystem;

constexpr char kNotTerrainData[] = "ZELKO共通地形データ(XML形式) に対応したデータではありません。";

const fs::path kFixtures = BRIXO_TEST_DATA;

CZCmnShape Shape(int id, const std::string& text = {}) {
  CZCmnShape shape;
  shape.SetVertexNum(id);
  shape.SetText(text);
  return shape;
}

// The content of the fixture terrain-small.xml, built through the model's setters.
void FillSmall(CZCmnStructure& data) {
  data.SetApp("RUrevavirazo", "1.03", "");
  CZCmnJobSite site;
  site.SetSiteName("現場Ａ①");
  site.SetLineName("測線1");
  site.SetCaseName("ケース1");
  site.SetComment(0, "a<b&c>d");
  site.SetSiteArea(0, 50, kNoValue, 30);
  site.SetSiteGrid(1, 1, kNoValue, kNoValue);
  site.SetSiteAutoGrid(5, kNoValue);
  data.SetSite(site);
  const double xy[][2] = {{0, 10}, {20, 15.5}, {40, 20}};
  for (int i = 0; i < 3; ++i) {
    CZCmnVertex vertex;
    vertex.SetXY(i, xy[i][0], xy[i][1]);
    data.AddNewVertex(vertex);
  }

  CZCmnFeature ground;
  ground.SetGround("地表面", 0);
  ground.AddNewShape(Shape(0, "常時, 地震時"));
  ground.AddNewShape(Shape(1));
  ground.AddNewShape(Shape(2));
  data.AddNewFeature(ground);

  CZCmnFeature polygon;
  polygon.SetStratumPolygon("砂", "", 0, 0xFFFFFF);
  polygon.AddNewShape(Shape(0));
  polygon.AddNewShape(Shape(1));
  data.AddNewFeature(polygon);

  CZCmnFeature slide;
  slide.SetSlide("すべり線", 255);
  CZCmnShape arc = Shape(1);
  arc.SetType(0, 0);
  arc.SetArc(10, 30, 15.25);  // angles unset: centre and radius only
  slide.AddNewShape(arc);
  CZCmnShape straight = Shape(2);
  straight.SetType(1, 0);
  straight.SetArc(1, 2, 3, 0.5, 1.5);  // not an arc piece: never written
  slide.AddNewShape(straight);
  data.AddNewFeature(slide);

  CZCmnFeature water;
  water.SetWater("水位線", 0xFF0000, 9.81);
  data.AddNewFeature(water);

  CZCmnFeature cartoon;
  cartoon.SetCartoon("印", 0);
  cartoon.SetCartoonLine();
  cartoon.AddNewShape(Shape(-1));  // without vertex: an empty SHAPE
  data.AddNewFeature(cartoon);

  CZCmnFeature load;
  load.SetLoad("荷重", 0);
  load.SetLoadConcent(2.5, 10, 45);
  load.SetLoadModel(true, false, true);
  data.AddNewFeature(load);

  CZCmnCondition cond;
  cond.SetQuake(1);
  cond.SetFsp(1.2);
  cond.SetFspQ(1.0);
  cond.SetQXMethod(1);
  data.SetCond(cond);
}

// A document of the given body under the root, as another program might write it.
std::string Document(const std::string& body) {
  return "<?xml version=\"1.0\" encoding=\"Shift_JIS\" ?>\r\n<ZELKO_APP_COMMON_DATASTRUCTURE>" +
         body + "</ZELKO_APP_COMMON_DATASTRUCTURE>";
}

// ---- The model

TEST(ZCmnStructureTest, MakeVertexSharesPointsWithinTheTolerance) {
  struct Case {
    const char* what;
    double x2, y2;
    bool viaSetVertexXY;
    int vertices;
  };
  const Case cases[] = {
      {"closer than 1e-4 in both", 1.00009, 2.00009, false, 1},
      {"1.1e-4 apart in x", 1.00011, 2.0, false, 2},
      {"1.1e-4 apart in y", 1.0, 2.00011, false, 2},
      {"the same after three-decimal rounding", 1.0004, 2.0, true, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    CZCmnStructure data;
    CZCmnFeature line;
    line.SetStratumLine("L", 0);
    CZCmnShape a, b;
    if (c.viaSetVertexXY) {
      a.SetVertexXY(1.0, 2.0);
      b.SetVertexXY(c.x2, c.y2);
    } else {
      a.SetVertex(-1, 1.0, 2.0);
      b.SetVertex(-1, c.x2, c.y2);
    }
    line.AddNewShape(a);
    line.AddNewShape(b);
    data.AddNewFeature(line);
    data.MakeVertex();
    EXPECT_EQ(data.GetSizeVertex(), c.vertices);
    EXPECT_EQ(data.GetAtFeature(0)->GetAtShape(1)->GetVertexNum(), c.vertices - 1);
  }
}

TEST(ZCmnStructureTest, MakeVertexNumbersInOrderOfFirstAppearanceAcrossFeatures) {
  CZCmnStructure data;
  CZCmnVertex stale;
  stale.SetXY(7, 99, 99);
  data.AddNewVertex(stale);
  const double points[][2][2] = {{{0, 0}, {5, 1}}, {{5, 1}, {9, 2}}};
  for (const auto& feature : points) {
    CZCmnFeature f;
    f.SetStratumLine("L", 0);
    for (const auto& p : feature) {
      CZCmnShape shape;
      shape.SetVertexXY(p[0], p[1]);
      f.AddNewShape(shape);
    }
    data.AddNewFeature(f);
  }
  data.MakeVertex();
  ASSERT_EQ(data.GetSizeVertex(), 3);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(data.GetAtVertex(i)->GetNum(), i);
  EXPECT_EQ(data.GetAtVertex(2)->GetX(), 9);
  EXPECT_EQ(data.GetAtFeature(1)->GetAtShape(0)->GetVertexNum(), 1);
  EXPECT_EQ(data.GetAtFeature(1)->GetAtShape(1)->GetVertexNum(), 2);
  EXPECT_EQ(data.FindSameXY(5.00005, 1), 1);
  EXPECT_EQ(data.FindSameXY(5.00011, 1), -1);
}

TEST(ZCmnStructureTest, SetVertexXYRoundsSetCoordinatesToThreeDecimals) {
  CZCmnShape shape;
  shape.SetVertex(4, 1, 1);
  shape.SetVertexXY(kNoValue, 5.12345);
  EXPECT_EQ(shape.GetVertexNum(), -1);
  EXPECT_EQ(shape.GetVertexX(), kNoValue);
  EXPECT_EQ(shape.GetVertexY(), 5.123);
}

TEST(ZCmnStructureTest, RecordAccessors) {
  CZCmnCondition cond;
  cond.SetQuake(2);
  cond.SetQXMethod(2);
  EXPECT_EQ(cond.GetQuake(), 0);
  EXPECT_EQ(cond.GetQXMethod(), 0);

  CZCmnJobSite site;
  site.SetComment(9, "last");
  site.SetComment(10, "beyond");
  site.SetComment(-1, "before");
  EXPECT_EQ(site.GetComment(9), "last");
  EXPECT_EQ(site.GetComment(10), "");
  EXPECT_EQ(site.GetComment(-1), "");
  int flag = -1;
  double deltaY = 0;
  site.SetSiteAutoGrid(3, 2.5);
  site.GetSiteAutoGrid(flag, deltaY);
  EXPECT_EQ(flag, 1);
  EXPECT_EQ(deltaY, 2.5);

  CZCmnFeature load;
  load.SetLoad("q", 0);
  load.SetLoadConcent(2, 10, 45);
  double x1 = 0, x2 = 0, q1 = 0, q2 = 0;
  load.GetLoadDist(x1, x2, q1, q2);
  EXPECT_EQ(x1, 2);
  EXPECT_EQ(x2, kNoValue);
  EXPECT_EQ(q1, 10);
  EXPECT_EQ(q2, kNoValue);
  EXPECT_TRUE(load.IsLoadConcent());
  EXPECT_FALSE(load.IsLoadDist());
  EXPECT_EQ(load.GetAtShape(0), nullptr);
  EXPECT_EQ(load.GetAtShape(-1), nullptr);
}

TEST(ZCmnStructureTest, TypeTestsNeedTheExactTypeAndKind) {
  CZCmnFeature f;
  f.SetCartoon("c", 0);
  EXPECT_FALSE(f.IsCartoonLine());
  EXPECT_FALSE(f.IsCartoonCircle());
  f.SetCartoonCircle(1, 2, 3);
  EXPECT_TRUE(f.IsCartoonCircle());
  f.SetGroundHara("g", 0);
  EXPECT_TRUE(f.IsGroundHara());
  EXPECT_FALSE(f.IsGround());
  EXPECT_FALSE(f.IsCartoonCircle());
  f.SetLoad("l", 0);
  EXPECT_FALSE(f.IsLoadDist());  // no kind yet
  f.SetLoadDist(0, 1, 2, 3);
  EXPECT_TRUE(f.IsLoadDist());
}

TEST(ZCmnStructureTest, FeatureCopiesAreDeep) {
  CZCmnFeature f;
  f.SetStratumLine("L", 1);
  f.AddNewShape(Shape(3, "a"));
  CZCmnFeature copy(f);
  copy.GetAtShape(0)->SetText("changed");
  EXPECT_EQ(f.GetAtShape(0)->GetText(), "a");
  CZCmnFeature other;
  other.SetData(f);
  f.RemoveShape();
  EXPECT_EQ(other.GetSizeShape(), 1);
  other.Init();
  EXPECT_EQ(other.GetSizeShape(), 0);
  EXPECT_EQ(other.GetName(), "");
}

TEST(ZCmnStructureTest, InitKeepsTheConditionRecord) {
  CZCmnStructure data;
  FillSmall(data);
  data.Init();
  EXPECT_EQ(data.GetSizeFeature(), 0);
  EXPECT_EQ(data.GetSizeVertex(), 0);
  EXPECT_EQ(data.GetReadVersion(), 140);
  CZCmnJobSite site;
  data.GetSite(site);
  EXPECT_EQ(site.GetSiteName(), "");
  CZCmnCondition cond;
  data.GetCond(cond);
  EXPECT_EQ(cond.GetQuake(), 1);
  EXPECT_EQ(cond.GetFsp(), 1.2);
}

// ---- Writing

// The expected file was spelled out by hand (CP932, CR LF), not written by this code.
TEST(ZCmnStructureTest, WritesTheExpectedFile) {
  CZCmnStructure data;
  FillSmall(data);
  const fs::path path = DataDir() / "small.xml";
  ASSERT_TRUE(data.WriteXMLDirect(path.string())) << data.GetError();
  EXPECT_EQ(ReadFileBytes(path), ReadFileBytes(kFixtures / "terrain-small.xml"));
  EXPECT_EQ(data.GetXmlFile(), path.string());
}

TEST(ZCmnStructureTest, WriterEdgeCases) {
  struct Case {
    const char* what;
    void (*fill)(CZCmnStructure&);
    const char* expected;  // a run of lines the file holds
  };
  const Case cases[] = {
      {"an empty structure: an empty vertex list and no feature", [](CZCmnStructure&) {},
       " <VERTEX_LIST>\r\n </VERTEX_LIST>\r\n <COND>\r\n  <QUAKEFLAG>0</QUAKEFLAG>\r\n"
       "  <FSP>,</FSP>\r\n  <QXMETHOD>0</QXMETHOD>\r\n </COND>\r\n"},
      {"an unset area is three commas, a set delta-y is written",
       [](CZCmnStructure& d) {
         CZCmnJobSite site;
         site.SetSiteAutoGrid(0, 1.5);
         d.SetSite(site);
       },
       "  <AREA>,,,</AREA>\r\n  <GRID>,,,</GRID>\r\n  <AUTOAREA>0</AUTOAREA>\r\n"
       "  <DELTAY>1.5</DELTAY>\r\n"},
      {"a vertex without id is not written",
       [](CZCmnStructure& d) {
         CZCmnVertex v;
         v.SetXY(-1, 1, 2);
         d.AddNewVertex(v);
         v.SetXY(12, 35.25, kNoValue);
         d.AddNewVertex(v);
       },
       " <VERTEX_LIST>\r\n  <VERTEX>12,35.250,</VERTEX>\r\n </VERTEX_LIST>\r\n"},
      {"an arc with both angles",
       [](CZCmnStructure& d) {
         CZCmnFeature f;
         f.SetSlide("s", 0);
         CZCmnShape shape = Shape(0);
         shape.SetType(0, -1);
         shape.SetArc(1, 2, 3, 0.123456, -1);
         f.AddNewShape(shape);
         d.AddNewFeature(f);
       },
       "   <VERTEX_NUM>0</VERTEX_NUM>\r\n   <ARC_TYPE>0</ARC_TYPE>\r\n   <ARC>\r\n"
       "    <CENTER_RADIUS>1.000,2.000,3.000</CENTER_RADIUS>\r\n"
       "    <ANGLE>0.12346,-1.00000</ANGLE>\r\n   </ARC>\r\n"},
      {"a polygon with every soil value",
       [](CZCmnStructure& d) {
         CZCmnFeature f;
         f.SetStratumPolygonHara("p", "粘土", 0x123456, 0);
         f.SetStratumProp(18, 19.5, 10, 30.12346, 12.4, 0.25, true);
         d.AddNewFeature(f);
       },
       "   <LINE_COLOR>123456</LINE_COLOR>\r\n   <PAINT_COLOR>000000</PAINT_COLOR>\r\n"
       "   <GAMMA_T>18.000</GAMMA_T>\r\n   <GAMMA_S>19.500</GAMMA_S>\r\n"
       "   <STRENGTH_C>10.000</STRENGTH_C>\r\n   <STRENGTH_PHI>30.1235</STRENGTH_PHI>\r\n"
       "   <MASATU_N>12</MASATU_N>\r\n   <MASATU_TAUP>0.250</MASATU_TAUP>\r\n"
       "   <TAUP_ONLY>1</TAUP_ONLY>\r\n   <GEOLOGY_NAME>\x94\x53\x93\x79</GEOLOGY_NAME>\r\n"
       "  </PROPERTY>\r\n </FEATURE>\r\n"},
      {"a distributed load and a cartoon circle",
       [](CZCmnStructure& d) {
         CZCmnFeature f;
         f.SetLoad("q", 0);
         f.SetLoadDist(1, 2, 3.456, 4);
         d.AddNewFeature(f);
         f.Init();
         f.SetCartoon("c", 0);
         f.SetCartoonCircle(1, 2, 0.5);
         d.AddNewFeature(f);
       },
       "   <LOAD_DIST>1.000,2.000,3.46,4.00</LOAD_DIST>\r\n   <LOAD_MODEL>1,1,1</LOAD_MODEL>\r\n"
       "  </PROPERTY>\r\n </FEATURE>\r\n <FEATURE>\r\n  <NAME>c</NAME>\r\n"
       "  <FEATURE_TYPE>FT_CARTOON</FEATURE_TYPE>\r\n  <PROPERTY>\r\n"
       "   <LINE_COLOR>000000</LINE_COLOR>\r\n   "
       "<CARTOON_CIRCLE>1.000,2.000,0.500</CARTOON_CIRCLE>\r\n"},
      {"an unknown type writes an empty PROPERTY",
       [](CZCmnStructure& d) {
         CZCmnFeature f;
         f.SetData(CZCmnFeature());
         d.AddNewFeature(f);
       },
       "  <NAME></NAME>\r\n  <FEATURE_TYPE></FEATURE_TYPE>\r\n  <PROPERTY>\r\n  </PROPERTY>\r\n"
       " </FEATURE>\r\n"},
      {"a set seismic coefficient",
       [](CZCmnStructure& d) {
         CZCmnCondition cond;
         cond.SetKh(0.15);
         cond.SetFspQ(1.05);
         d.SetCond(cond);
       },
       "  <FSP>,1.050</FSP>\r\n  <KH>0.150</KH>\r\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    CZCmnStructure data;
    c.fill(data);
    const std::string bytes = data.ToXmlBytes();
    EXPECT_NE(bytes.find(c.expected), std::string::npos) << bytes;
  }
}

TEST(ZCmnStructureTest, WriteThroughTheDialogAndCancel) {
  CZCmnStructure data;
  FillSmall(data);
  TestUi().ExpectFileDialog(std::nullopt);
  EXPECT_FALSE(data.WriteXML(DataDir().string()));
  const fs::path path = DataDir() / "chosen.xml";
  TestUi().ExpectFileDialog(path);
  EXPECT_TRUE(data.WriteXML(DataDir().string()));
  EXPECT_TRUE(fs::exists(path));
  ASSERT_EQ(TestUi().FileDialogs().size(), 2u);
  const FileDialogCall& call = TestUi().FileDialogs()[1];
  EXPECT_EQ(call.kind, FileDialogKind::Save);
  EXPECT_EQ(call.request.filter, "ZELKO共通地形データ(XML形式) (*.xml)|*.xml||");
  EXPECT_EQ(call.request.defaultExtension, "xml");
  EXPECT_EQ(call.request.defaultName, "*.xml");
  EXPECT_EQ(call.request.folder, DataDir());

  const fs::path plain = DataDir() / "plain";
  WriteFileBytes(plain, "x");
  TestUi().ExpectFileDialog(plain / "a.xml");
  TestUi().ExpectMessageBox(MsgResult::Ok,
                            "ファイルを書き込めません: " + (plain / "a.xml").string());
  EXPECT_FALSE(data.WriteXML(DataDir().string()));
}

// ---- Reading

void ExpectSmallContent(const CZCmnStructure& data) {
  std::string name, version, note = "stale";
  data.GetApp(name, version, note);
  EXPECT_EQ(name, "RUrevavirazo");
  EXPECT_EQ(version, "1.03");
  EXPECT_EQ(note, "");
  CZCmnJobSite site;
  data.GetSite(site);
  EXPECT_EQ(site.GetSiteName(), "現場Ａ①");
  EXPECT_EQ(site.GetCaseName(), "ケース1");
  EXPECT_EQ(site.GetComment(0), "a<b&c>d");
  double x1 = 0, x2 = 0, y1 = 0, y2 = 0;
  site.GetSiteArea(x1, x2, y1, y2);
  EXPECT_EQ(y1, kNoValue);
  EXPECT_EQ(y2, 30);
  ASSERT_EQ(data.GetSizeVertex(), 3);
  EXPECT_EQ(data.GetAtVertex(1)->GetY(), 15.5);
  ASSERT_GE(data.GetSizeFeature(), 6);
  EXPECT_EQ(data.GetAtFeature(0)->GetAtShape(0)->GetText(), "常時, 地震時");
  const CZCmnShape* arc = data.GetAtFeature(2)->GetAtShape(0);
  double cx = 0, cy = 0, r = 0, start = 0, end = 0;
  arc->GetArc(cx, cy, r, start, end);
  EXPECT_EQ(r, 15.25);
  EXPECT_EQ(start, kNoValue);
  EXPECT_EQ(data.GetAtFeature(4)->GetSizeShape(), 0);  // the empty SHAPE
  EXPECT_TRUE(data.GetAtFeature(4)->IsCartoonLine());
  const CZCmnFeature& load = *data.GetAtFeature(5);
  double position = 0, value = 0, further = 0;
  load.GetLoadConcent(position, value, further);
  EXPECT_EQ(position, 2.5);
  EXPECT_EQ(value, 10);
  EXPECT_EQ(further, 45);
  bool a = true, b = true, c = false;
  load.GetLoadModel(a, b, c);
  EXPECT_TRUE(a && !b && c);
  CZCmnCondition cond;
  data.GetCond(cond);
  EXPECT_EQ(cond.GetFspQ(), 1.0);
}

// A feature whose shapes have no vertex writes an empty SHAPE, which reads as no shapes.
std::string WithoutEmptyShape(std::string file) {
  const std::string empty = "  <SHAPE>\r\n  </SHAPE>\r\n";
  const std::size_t at = file.find(empty);
  if (at != std::string::npos) file.erase(at, empty.size());
  return file;
}

TEST(ZCmnStructureTest, ReadsTheFixtureAndWritesItBackUnchanged) {
  CZCmnStructure data;
  const fs::path fixture = kFixtures / "terrain-small.xml";
  ASSERT_TRUE(data.ReadXMLDirect(fixture.string()));
  EXPECT_EQ(data.GetXmlFile(), fixture.string());
  EXPECT_EQ(data.GetReadVersion(), 140);
  ExpectSmallContent(data);
  CZCmnCondition cond;
  data.GetCond(cond);
  EXPECT_EQ(cond.GetKh(), kNoValue);
  EXPECT_EQ(data.ToXmlBytes(), WithoutEmptyShape(ReadFileBytes(fixture)));
}

// Every value a full data set carries survives a write and a read: the second write gives the
// bytes of the first, and the values read equal those set.
TEST(ZCmnStructureTest, FullDataSetRoundTrips) {
  CZCmnStructure data;
  FillSmall(data);
  CZCmnFeature polygon;
  polygon.SetStratumPolygon("粘土", "粘土A", 0x010203, 0x0A0B0C);
  polygon.SetStratumProp(18, 19.5, 10, 30.1234, 12, 0.25, true);
  polygon.AddNewShape(Shape(2));
  data.AddNewFeature(polygon);
  CZCmnFeature load;
  load.SetLoad("分布", 0);
  load.SetLoadDist(1, 2, 3.25, 4.5);
  load.SetLoadModel(false, true, false);
  data.AddNewFeature(load);
  CZCmnFeature circle;
  circle.SetCartoon("円", 0);
  circle.SetCartoonCircle(1, 2, 0.5);
  data.AddNewFeature(circle);
  CZCmnJobSite site;
  data.GetSite(site);
  for (int i = 1; i < CZCmnJobSite::kComments; ++i) site.SetComment(i, "注記" + std::to_string(i));
  site.SetSiteNote("メモ");
  site.SetSiteAutoGrid(1, 3.5);
  data.SetSite(site);
  CZCmnCondition cond;
  data.GetCond(cond);
  cond.SetKh(0.25);
  data.SetCond(cond);

  const fs::path path = DataDir() / "full.xml";
  ASSERT_TRUE(data.WriteXMLDirect(path.string()));
  CZCmnStructure read;
  ASSERT_TRUE(read.ReadXMLDirect(path.string()));
  ExpectSmallContent(read);
  EXPECT_EQ(read.ToXmlBytes(), WithoutEmptyShape(ReadFileBytes(path)));

  const CZCmnFeature& p = *read.GetAtFeature(6);
  std::string name, geology;
  std::uint32_t line = 0, paint = 0;
  p.GetStratumPolygon(name, geology, line, paint);
  EXPECT_EQ(geology, "粘土A");
  EXPECT_EQ(line, 0x010203u);
  EXPECT_EQ(paint, 0x0A0B0Cu);
  double gt = 0, gs = 0, c = 0, phi = 0, n = 0, taup = 0;
  bool only = false;
  p.GetStratumProp(gt, gs, c, phi, n, taup, only);
  EXPECT_EQ(phi, 30.1234);
  EXPECT_EQ(taup, 0.25);
  EXPECT_TRUE(only);
  double x1 = 0, x2 = 0, q1 = 0, q2 = 0;
  ASSERT_TRUE(read.GetAtFeature(7)->IsLoadDist());
  read.GetAtFeature(7)->GetLoadDist(x1, x2, q1, q2);
  EXPECT_EQ(q1, 3.25);
  EXPECT_EQ(q2, 4.5);
  double cx = 0, cy = 0, r = 0;
  ASSERT_TRUE(read.GetAtFeature(8)->IsCartoonCircle());
  read.GetAtFeature(8)->GetCartoonCircle(cx, cy, r);
  EXPECT_EQ(r, 0.5);
  CZCmnJobSite readSite;
  read.GetSite(readSite);
  EXPECT_EQ(readSite.GetComment(9), "注記9");
  EXPECT_EQ(readSite.GetSiteNote(), "メモ");
  CZCmnCondition readCond;
  read.GetCond(readCond);
  EXPECT_EQ(readCond.GetKh(), 0.25);
  EXPECT_EQ(readCond.GetQXMethod(), 1);
}

TEST(ZCmnStructureTest, VersionRules) {
  struct Case {
    const char* version;  // the FILE_VERSION element; null for none
    int readVersion;
    const char* geology;   // of the feature
    const char* caseName;  // of the site
  };
  const Case cases[] = {
      {"1.40", 140, "", "case"},
      {"1.15", 115, "feature", "case"},  // rounded, not truncated to 114
      {"1.20", 120, "", "case"},
      {"1.10", 110, "feature", "case"},
      {"1.00", 100, "feature", "line"},
      {"2.00", 200, "", "case"},
      {" 1.3x", 130, "", "case"},
      {nullptr, 140, "", "case"},
      {"abc", 140, "", "case"},
      {"1e999", 140, "", "case"},
      {"1e300", 1000000000, "", "case"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.version != nullptr ? c.version : "none");
    const std::string head =
        c.version != nullptr ? std::string("<FILE_VERSION>") + c.version + "</FILE_VERSION>" : "";
    CZCmnStructure data;
    ASSERT_TRUE(data.LoadDocument(
        Document(head +
                 "<SITE><LINE_NAME>line</LINE_NAME><CASE_NAME>case</CASE_NAME></SITE>"
                 "<FEATURE><NAME>feature</NAME><FEATURE_TYPE>FT_STRATUM_POLYGON</FEATURE_TYPE>"
                 "</FEATURE>")));
    EXPECT_EQ(data.GetReadVersion(), c.readVersion);
    EXPECT_EQ(data.GetAtFeature(0)->GetGeology(), c.geology);
    CZCmnJobSite site;
    data.GetSite(site);
    EXPECT_EQ(site.GetCaseName(), c.caseName);
  }
}

TEST(ZCmnStructureTest, ReaderRules) {
  CZCmnStructure data;
  std::string comments;
  for (int i = 1; i <= 12; ++i) comments += "<COMMENT>c" + std::to_string(i) + "</COMMENT>";
  ASSERT_TRUE(data.LoadDocument(Document(
      "<SITE><COMMENT_LIST><OTHER>x</OTHER>" + comments +
      "</COMMENT_LIST><AREA>,,5.000,</AREA><GRID>1,2,3,4,5</GRID><AUTOAREA>7</AUTOAREA></SITE>"
      "<VERTEX_LIST><VERTEX>3</VERTEX><OTHER>9</OTHER><VERTEX>4,1e999,-2.5abc</VERTEX>"
      "</VERTEX_LIST>"
      "<FEATURE><NAME>g</NAME><FEATURE_TYPE>FT_GROUND</FEATURE_TYPE>"
      "<PROPERTY><LINE_COLOR> 0xFF</LINE_COLOR><PAINT_COLOR>12</PAINT_COLOR></PROPERTY>"
      "<SHAPE><TEXT>before</TEXT><VERTEX_NUM>1</VERTEX_NUM><ARC_TYPE>0</ARC_TYPE>"
      "<ARC><CENTER_RADIUS>1,2,3,4</CENTER_RADIUS><ANGLE>0.5</ANGLE></ARC><TEXT>t</TEXT>"
      "<OTHER/><VERTEX_NUM></VERTEX_NUM><STRENGTH_TYPE>2</STRENGTH_TYPE></SHAPE></FEATURE>"
      "<OTHER/>"
      "<FEATURE><NAME>q</NAME><FEATURE_TYPE>FT_LOAD</FEATURE_TYPE>"
      "<PROPERTY><LOAD_CONCENT>2.000,45.0,10.00</LOAD_CONCENT><LOAD_MODEL>0,,2</LOAD_MODEL>"
      "</PROPERTY></FEATURE>"
      "<FEATURE><NAME>x</NAME><FEATURE_TYPE>ft_ground</FEATURE_TYPE>"
      "<PROPERTY><LINE_COLOR>ff</LINE_COLOR></PROPERTY></FEATURE>"
      "<COND><QUAKEFLAG>2</QUAKEFLAG><FSP>,1.1</FSP></COND>")));

  CZCmnJobSite site;
  data.GetSite(site);
  EXPECT_EQ(site.GetComment(0), "c1");
  EXPECT_EQ(site.GetComment(9), "c10");
  double x1 = 0, x2 = 0, y1 = 0, y2 = 0;
  site.GetSiteArea(x1, x2, y1, y2);
  EXPECT_EQ(x1, kNoValue);
  EXPECT_EQ(x2, kNoValue);
  EXPECT_EQ(y1, 5);
  EXPECT_EQ(y2, kNoValue);
  double g4 = 0;
  site.GetSiteGrid(x1, x2, y1, g4);
  EXPECT_EQ(g4, 4);
  int flag = 0;
  double deltaY = 0;
  site.GetSiteAutoGrid(flag, deltaY);
  EXPECT_EQ(flag, 1);
  EXPECT_EQ(deltaY, kNoValue);

  ASSERT_EQ(data.GetSizeVertex(), 2);
  EXPECT_EQ(data.GetAtVertex(0)->GetNum(), 3);
  EXPECT_EQ(data.GetAtVertex(0)->GetX(), kNoValue);
  EXPECT_EQ(data.GetAtVertex(0)->GetY(), kNoValue);
  EXPECT_EQ(data.GetAtVertex(1)->GetX(), kNoValue);  // beyond a double: no number
  EXPECT_EQ(data.GetAtVertex(1)->GetY(), -2.5);

  ASSERT_EQ(data.GetSizeFeature(), 3);
  const CZCmnFeature& ground = *data.GetAtFeature(0);
  std::string name;
  std::uint32_t color = 0;
  ground.GetGround(name, color);
  EXPECT_EQ(color, 0xFFu);
  std::string geology;
  std::uint32_t line = 0, paint = 0;
  ground.GetStratumPolygon(name, geology, line, paint);
  EXPECT_EQ(paint, 0xFFFFFFu);  // not read for a ground
  ASSERT_EQ(ground.GetSizeShape(), 2);
  const CZCmnShape& first = *ground.GetAtShape(0);
  EXPECT_EQ(first.GetVertexNum(), 1);
  EXPECT_EQ(first.GetText(), "t");
  double cx = 0, cy = 0, r = 0, start = 0, end = 0;
  first.GetArc(cx, cy, r, start, end);
  EXPECT_EQ(r, 3);
  EXPECT_EQ(start, 0.5);
  EXPECT_EQ(end, kNoValue);
  int arcType = 0, strengthType = 0;
  ground.GetAtShape(1)->GetType(arcType, strengthType);
  EXPECT_EQ(ground.GetAtShape(1)->GetVertexNum(), -1);
  EXPECT_EQ(arcType, -1);
  EXPECT_EQ(strengthType, 2);

  const CZCmnFeature& load = *data.GetAtFeature(1);
  double position = 0, value = 0, further = 0;
  ASSERT_TRUE(load.IsLoadConcent());
  load.GetLoadConcent(position, value, further);
  EXPECT_EQ(position, 2);
  EXPECT_EQ(value, 10);
  EXPECT_EQ(further, 45);
  bool a = true, b = false, c = false;
  load.GetLoadModel(a, b, c);
  EXPECT_FALSE(a);
  EXPECT_TRUE(b);  // an empty word keeps the default
  EXPECT_TRUE(c);

  data.GetAtFeature(2)->GetGround(name, color);
  EXPECT_EQ(color, 0u);  // a type in other letter case is no known type

  CZCmnCondition cond;
  data.GetCond(cond);
  EXPECT_EQ(cond.GetQuake(), 0);
  EXPECT_EQ(cond.GetFsp(), kNoValue);
  EXPECT_EQ(cond.GetFspQ(), 1.1);
}

TEST(ZCmnStructureTest, ThreeCommentsLeaveTheOthersEmpty) {
  CZCmnStructure data;
  CZCmnJobSite site;
  site.SetComment(5, "before");
  data.SetSite(site);
  ASSERT_TRUE(data.LoadDocument(
      Document("<SITE><COMMENT_LIST><COMMENT>1</COMMENT><COMMENT></COMMENT><COMMENT>3</COMMENT>"
               "</COMMENT_LIST></SITE>")));
  data.GetSite(site);
  EXPECT_EQ(site.GetComment(0), "1");
  EXPECT_EQ(site.GetComment(1), "");
  EXPECT_EQ(site.GetComment(2), "3");
  for (int i = 3; i < CZCmnJobSite::kComments; ++i) EXPECT_EQ(site.GetComment(i), "") << i;
}

TEST(ZCmnStructureTest, ConditionsStayWhenTheFileHasNone) {
  CZCmnStructure data;
  CZCmnCondition cond;
  cond.SetKh(0.2);
  data.SetCond(cond);
  ASSERT_TRUE(data.LoadDocument(Document("<FILE_VERSION>1.40</FILE_VERSION>")));
  data.GetCond(cond);
  EXPECT_EQ(cond.GetKh(), 0.2);
}

// A refused file shows why and leaves the structure as it was.
TEST(ZCmnStructureTest, RefusesForeignAndMalformedFilesAndChangesNothing) {
  struct Case {
    const char* what;
    fs::path file;
    std::string message;
  };
  const fs::path foreign = DataDir() / "foreign.xml";
  WriteFileBytes(foreign,
                 "<?xml?><zelko_app_common_datastructure><SITE/>"
                 "</zelko_app_common_datastructure>");
  const fs::path missing = DataDir() / "missing.xml";
  const std::string head = std::string(kNotTerrainData) + "\n";
  const Case cases[] = {
      {"a root in other letter case", foreign, kNotTerrainData},
      {"a missing file", missing, head + "ファイルを読めません: " + missing.string()},
      {"a truncated file", kFixtures / "terrain-truncated.xml",
       head + "6 行目: ファイルが要素 <SITE> の途中で終わっています。"},
      {"mismatched tags", kFixtures / "terrain-mismatched.xml",
       head + "5 行目: 終了タグ </CASE_NAME> が開始タグ <SITE_NAME> と対応していません。"},
      {"nesting beyond the bound", kFixtures / "terrain-nested-300.xml",
       head + "4 行目: 要素の入れ子が深すぎます（256 段以上）。"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    CZCmnStructure data;
    FillSmall(data);
    ASSERT_TRUE(data.WriteXMLDirect((DataDir() / "before.xml").string()));
    const std::string before = data.ToXmlBytes();
    TestUi().ExpectMessageBox(MsgResult::Ok, c.message);
    EXPECT_FALSE(data.ReadXMLDirect(c.file.string()));
    EXPECT_EQ(data.ToXmlBytes(), before);
    EXPECT_EQ(data.GetXmlFile(), (DataDir() / "before.xml").string());
    ASSERT_FALSE(TestUi().MessageBoxes().empty());
    EXPECT_EQ(TestUi().MessageBoxes().back().caption, GetAppTitle());
    EXPECT_EQ(TestUi().MessageBoxes().back().buttons, MsgButtons::Ok);
  }
}

TEST(ZCmnStructureTest, ReadThroughTheDialogAndCancel) {
  CZCmnStructure data;
  TestUi().ExpectFileDialog(std::nullopt);
  EXPECT_FALSE(data.ReadXML(DataDir().string()));
  EXPECT_EQ(data.GetXmlFile(), "");
  const fs::path fixture = kFixtures / "terrain-small.xml";
  TestUi().ExpectFileDialog(fixture);
  EXPECT_TRUE(data.ReadXML(DataDir().string()));
  EXPECT_EQ(data.GetXmlFile(), fixture.string());
  EXPECT_EQ(data.GetSizeFeature(), 6);
  ASSERT_EQ(TestUi().FileDialogs().size(), 2u);
  EXPECT_EQ(TestUi().FileDialogs()[0].kind, FileDialogKind::Open);
  EXPECT_EQ(TestUi().FileDialogs()[0].request.filter,
            "ZELKO共通地形データ(XML形式) (*.xml)|*.xml||");
}

}  // namespace
