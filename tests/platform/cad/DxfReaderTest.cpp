#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <numbers>
#include <string>

#include "platform/cad/CadDrawing.h"
#include "platform/cad/DxfReader.h"
#include "platform/cad/DxfWriter.h"

namespace {

namespace fs = std::filesystem;

const fs::path kCadData = fs::path(BRIXO_TEST_DATA) / "cad";

DxfContent ReadFixture(const std::string& name) {
  DxfReadResult result = ReadDxfFile(kCadData / name);
  if (const auto* error = std::get_if<DxfReadError>(&result)) {
    ADD_FAILURE() << name << ": " << DxfReadErrorText(*error);
    return {};
  }
  return std::get<DxfContent>(std::move(result));
}

const DxfLayerContent* FindLayer(const DxfContent& content, const std::string& name) {
  for (const DxfLayerContent& layer : content.layers) {
    if (layer.name == name) return &layer;
  }
  return nullptr;
}

std::vector<CadPoint> Points(std::initializer_list<CadPoint> points) { return points; }

void ExpectPoints(const std::vector<CadPoint>& actual, const std::vector<CadPoint>& expected) {
  ASSERT_EQ(actual.size(), expected.size());
  for (std::size_t i = 0; i < actual.size(); ++i) {
    EXPECT_NEAR(actual[i].x, expected[i].x, 1e-9) << "point " << i;
    EXPECT_NEAR(actual[i].y, expected[i].y, 1e-9) << "point " << i;
  }
}

// The section that tests/data/cad/make_fixtures.py wrote with ezdxf, in both text encodings.
class SectionFixture : public testing::TestWithParam<const char*> {};

TEST_P(SectionFixture, ReadsJapaneseLayersAndTheirPolylines) {
  const DxfContent content = ReadFixture(GetParam());
  for (const char* name : {"地形", "地層1", "地層2", "水位"}) {
    const DxfLayerContent* layer = FindLayer(content, name);
    ASSERT_NE(layer, nullptr) << name;
    ASSERT_EQ(layer->entities.size(), 1u) << name << ": the text is not taken";
    EXPECT_EQ(layer->entities[0].kind, DxfEntity::kPolyline);
  }
  ExpectPoints(FindLayer(content, "地形")->entities[0].points,
               Points({{0, 20}, {10.0005, 20}, {25.25, 14.5}, {40, 8}, {60, 8}}));
  ExpectPoints(FindLayer(content, "地層2")->entities[0].points, Points({{0, 9}, {60, 1.5}}));
}

INSTANTIATE_TEST_SUITE_P(Encodings, SectionFixture,
                         testing::Values("section-r2000-cp932.dxf", "section-r2018.dxf"));

TEST(DxfReaderTest, TakesBulgesLinesArcsAndOldPolylinesButNothingElse) {
  const DxfContent content = ReadFixture("entities-r2000.dxf");
  // A bulge of 1 from (0,0) to (2,0) is a counter-clockwise half circle through (1,-1).
  ExpectPoints(FindLayer(content, "BULGE")->entities.at(0).points,
               Points({{0, 0}, {1, -1}, {2, 0}, {4, 0}}));
  ExpectPoints(FindLayer(content, "LINE")->entities.at(0).points, Points({{1, 2}, {3, 4}}));
  ExpectPoints(FindLayer(content, "POLY")->entities.at(0).points, Points({{0, 0}, {1, 1}, {2, 0}}));
  const DxfEntity& arc = FindLayer(content, "ARC")->entities.at(0);
  EXPECT_EQ(arc.kind, DxfEntity::kArc);
  EXPECT_EQ(arc.centre, (CadPoint{10, 0}));
  EXPECT_DOUBLE_EQ(arc.radius, 5);
  EXPECT_DOUBLE_EQ(arc.start, 0);
  EXPECT_DOUBLE_EQ(arc.end, std::numbers::pi / 2);
  for (const char* untaken : {"CIRCLE", "BLOCKED"}) {
    const DxfLayerContent* layer = FindLayer(content, untaken);
    EXPECT_TRUE(layer == nullptr || layer->entities.empty()) << untaken;
  }
}

// Counts in the file are not believed: vertices are taken as they come.
TEST(DxfReaderTest, VertexCountsInTheFileAreNotBelieved) {
  struct Case {
    const char* file;
    std::vector<CadPoint> points;
  };
  const Case cases[] = {
      {"count-huge.dxf", {}},  // one vertex makes no polyline; nothing is allocated by the count
      {"count-negative.dxf", {}},
      {"count-short.dxf", {{1, 2}, {3, 4}, {5, 6}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.file);
    const DxfContent content = ReadFixture(c.file);
    const DxfLayerContent* layer = FindLayer(content, "L");
    if (c.points.empty()) {
      EXPECT_TRUE(layer == nullptr || layer->entities.empty());
    } else {
      ASSERT_NE(layer, nullptr);
      ASSERT_EQ(layer->entities.size(), 1u);
      ExpectPoints(layer->entities[0].points, c.points);
    }
  }
}

TEST(DxfReaderTest, RefusesDamagedFilesWithTheirReasonAndLine) {
  struct Case {
    const char* file;
    int line;
    const char* reason;
  };
  const Case cases[] = {
      {"number-abc.dxf", 16, "数値として読めません: abc"},
      {"number-1e999.dxf", 16, "数値が大きすぎます: 1e999"},
      {"truncated.dxf", 17, "ファイルが途中で終わっています。"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.file);
    const DxfReadResult result = ReadDxfFile(kCadData / c.file);
    const auto* error = std::get_if<DxfReadError>(&result);
    ASSERT_NE(error, nullptr);
    EXPECT_EQ(error->line, c.line);
    EXPECT_EQ(error->reason, c.reason);
  }
}

TEST(DxfReaderTest, RefusesWhatIsNoDxf) {
  const struct {
    std::string bytes;
    const char* reason;
  } cases[] = {
      {"", "ファイルが途中で終わっています (EOFがありません)。"},
      {"hello\nworld\n", "グループコードとして読めません: hello"},
      {"0\nSECTION\n2\nENTITIES\n0\nLINE\n10\nnan\n0\nENDSEC\n0\nEOF\n",
       "有限の数値ではありません: nan"},
      {"0\nSECTION\n2\nENTITIES\n0\nPOLYLINE\n0\nVERTEX\n0\nENDSEC\n0\nEOF\n",
       "POLYLINEの終わり (SEQEND) がありません。"},
      {"0\nSECTION\n2\nENTITIES\n0\nLINE\n8\n" + std::string(5000, 'x') + "\n0\nENDSEC\n",
       "行が長すぎます。"},
      {"0\nSECTION\n2\nHEADER\n", "ファイルが途中で終わっています。"},
  };
  for (const auto& c : cases) {
    const DxfReadResult result = ReadDxf(c.bytes);
    const auto* error = std::get_if<DxfReadError>(&result);
    ASSERT_NE(error, nullptr) << c.reason;
    EXPECT_EQ(error->reason, c.reason);
  }
}

TEST(DxfReaderTest, DecodesCodePagesAndUnicodeEscapes) {
  const auto layerName = [](const std::string& version, const std::string& codePage,
                            const std::string& raw) {
    const std::string file =
        "0\nSECTION\n2\nHEADER\n9\n$ACADVER\n1\n" + version + "\n9\n$DWGCODEPAGE\n3\n" + codePage +
        "\n0\nENDSEC\n0\nSECTION\n2\nTABLES\n0\nTABLE\n2\nLAYER\n0\nLAYER\n2\n" + raw +
        "\n0\nENDTAB\n0\nENDSEC\n0\nEOF\n";
    const DxfReadResult result = ReadDxf(file);
    const auto* content = std::get_if<DxfContent>(&result);
    return content && content->layers.size() == 1 ? content->layers[0].name : std::string("?");
  };
  EXPECT_EQ(layerName("AC1015", "ANSI_932", "\x92\x6e\x8c\x60"), "地形");
  EXPECT_EQ(layerName("AC1015", "ANSI_1252", "B\xE9ton"), "Béton");
  EXPECT_EQ(layerName("AC1015", "ANSI_932", "\\U+6C34\\U+4F4D"), "水位");
  EXPECT_EQ(layerName("AC1021", "ANSI_932", "地層"), "地層");
}

// What the CAD output writes reads back: its 12 layers (ASCII names, as the output dialog
// defines them) and its polylines.
TEST(DxfReaderTest, ReadsBackWhatTheCadOutputWrites) {
  CadDrawing drawing;
  drawing.NewDrawing();
  for (int n = 1; n <= 12; ++n) drawing.DefineLayer(n, "LAYER_" + std::to_string(n));
  drawing.ResetLayers();
  drawing.SelectLayer(3);
  drawing.BeginLine();
  drawing.AddVertex(-12.5, 3.25);
  drawing.AddVertex(40, 7.125);
  drawing.AddVertex(80, -1);
  drawing.EndLine();
  const fs::path path = fs::path(testing::TempDir()) / "dxf_reader_round_trip.dxf";
  ASSERT_TRUE(WriteDxf(drawing, path));
  const DxfReadResult result = ReadDxfFile(path);
  fs::remove(path);
  const auto* content = std::get_if<DxfContent>(&result);
  ASSERT_NE(content, nullptr);
  for (int n = 1; n <= 12; ++n) {
    EXPECT_NE(FindLayer(*content, "LAYER_" + std::to_string(n)), nullptr) << n;
  }
  ExpectPoints(FindLayer(*content, "LAYER_3")->entities.at(0).points,
               Points({{-12.5, 3.25}, {40, 7.125}, {80, -1}}));
}

}  // namespace
