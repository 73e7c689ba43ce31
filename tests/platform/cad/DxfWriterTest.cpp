#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <algorithm>
#include <cmath>
#include <csignal>
#include <filesystem>
#include <numbers>

#include "platform/cad/CadDrawing.h"
#include "platform/cad/DxfWriter.h"
#include "tests/support/TestFiles.h"
#include "tests/support/cad/DxfDump.h"

namespace {

namespace fs = std::filesystem;

class DxfWriterTest : public testing::Test {
 protected:
  void SetUp() override {
    folder_ = fs::path(testing::TempDir()) /
              ("dxf_" + std::string(testing::UnitTest::GetInstance()->current_test_info()->name()));
    fs::remove_all(folder_);
    fs::create_directories(folder_);
  }
  void TearDown() override { fs::remove_all(folder_); }

  fs::path folder_;
};

// A small drawing on A1 at 1:100 centred on (50, 20): two layers, a line, a filled polygon with
// a name, a clockwise-looking piece of arc and a turned label.
CadDrawing SampleDrawing() {
  CadDrawing d;
  d.NewDrawing();
  d.SetPaper(1);
  d.SetDrawingArea(841.0 / 2, 594.0 / 2, 50, 20);
  d.SetScale(100);
  d.DefineLayer(0, "GROUND");
  d.DefineLayer(1, "STRATUM_POLYGON");
  d.ResetLayers();
  const int arcPen = d.DefinePen("円弧 R", 0xFF00FF);
  d.SelectLayer(0);
  d.SelectPen(1);
  d.BeginLine();
  d.AddVertex(0, 10);
  d.AddVertex(40, 10);
  d.AddVertex(100, 30);
  d.EndLine();
  d.SelectLayer(1);
  d.BeginLine();
  for (const CadPoint p : {CadPoint{0, 0}, CadPoint{40, 0}, CadPoint{40, 10}, CadPoint{0, 10}}) {
    d.AddVertex(p.x, p.y);
  }
  d.SetFillColor(0x4080C0);  // COLORREF: red 0xC0, green 0x80, blue 0x40
  d.EndLine();
  d.AddText("粘性土①", 20, 5, 4, 4, 0, 22);
  d.EndLine();
  d.SelectLayer(0);
  // The lower quarter from 270° to 360°: counter-clockwise from the start to the end angle.
  d.AddArc(50, 40, 10, 1.5 * std::numbers::pi, 2 * std::numbers::pi);
  d.EndLine();
  d.SelectPen(arcPen);
  d.AddText("12.5", 10, -0.4, 4, 4, std::numbers::pi / 2, 18);
  return d;
}

TEST_F(DxfWriterTest, EzdxfReadsTheDrawingBack) {
  const fs::path file = folder_ / "sample.dxf";
  ASSERT_TRUE(WriteDxf(SampleDrawing(), file));
  const DxfDump dump = ReadDxfWithEzdxf(file);

  const DxfRecord* audit = dump.First("AUDIT");
  ASSERT_NE(audit, nullptr);
  EXPECT_EQ(audit->fields.at(0), "0") << "ezdxf audit errors";
  const DxfRecord* header = dump.First("HEADER");
  ASSERT_NE(header, nullptr);
  EXPECT_EQ(header->fields.at(0), "ANSI_932");
  EXPECT_EQ(header->fields.at(1), "6");
  // The paper at 1:100: 84.1 m by 59.4 m around the centre.
  EXPECT_NEAR(header->Number(2), 50 - 42.05, 1e-9);
  EXPECT_NEAR(header->Number(3), 20 - 29.7, 1e-9);
  EXPECT_NEAR(header->Number(4), 50 + 42.05, 1e-9);
  EXPECT_NEAR(header->Number(5), 20 + 29.7, 1e-9);
  std::vector<std::string> layers;
  for (const DxfRecord& r : dump.Of("LAYER")) layers.push_back(r.fields.at(0));
  for (const char* name : {"0", "GROUND", "STRATUM_POLYGON"}) {
    EXPECT_NE(std::find(layers.begin(), layers.end(), name), layers.end()) << name;
  }

  const auto ground = dump.Of("LWPOLYLINE", "GROUND");
  ASSERT_EQ(ground.size(), 1U);
  EXPECT_EQ(ground[0].fields.at(1), "0");  // open
  EXPECT_EQ(ground[0].fields.at(3), "3");
  EXPECT_EQ(ground[0].Number(8), 100);
  EXPECT_EQ(ground[0].Number(9), 30);

  const auto hatch = dump.Of("HATCH", "STRATUM_POLYGON");
  ASSERT_EQ(hatch.size(), 1U);
  EXPECT_EQ(hatch[0].fields.at(1), std::to_string(0xC08040));
  EXPECT_EQ(hatch[0].fields.at(2), "1");
  const auto outline = dump.Of("LWPOLYLINE", "STRATUM_POLYGON");
  ASSERT_EQ(outline.size(), 1U);
  EXPECT_EQ(outline[0].fields.at(1), "1");  // closed

  const auto arcs = dump.Of("ARC");
  ASSERT_EQ(arcs.size(), 1U);
  // The middle of the lower-right quarter, not of the other three quarters.
  EXPECT_NEAR(arcs[0].Number(6), 50 + 10 * std::cos(1.75 * std::numbers::pi), 1e-9);
  EXPECT_NEAR(arcs[0].Number(7), 40 + 10 * std::sin(1.75 * std::numbers::pi), 1e-9);

  const auto texts = dump.Of("TEXT");
  ASSERT_EQ(texts.size(), 2U);
  EXPECT_EQ(texts[0].fields.at(8), "粘性土①");
  EXPECT_EQ(texts[1].fields.at(8), "12.5");
  for (const DxfRecord& text : texts) EXPECT_NEAR(text.Number(1), 0.4, 1e-12);  // 4 mm at 1:100
  // Middle centre, then middle right turned a quarter.
  EXPECT_EQ(texts[0].fields.at(4), "1");
  EXPECT_EQ(texts[0].fields.at(5), "2");
  EXPECT_EQ(texts[1].fields.at(4), "2");
  EXPECT_EQ(texts[1].fields.at(5), "2");
  EXPECT_NEAR(texts[1].Number(3), 90, 1e-9);
  EXPECT_NEAR(texts[1].Number(6), 10, 1e-12);
  EXPECT_NEAR(texts[1].Number(7), -0.4, 1e-12);
}

TEST(DxfText, KeepsCp932AndEscapesTheRest) {
  struct Case {
    const char* utf8;
    std::string expected;
  };
  const Case cases[] = {
      {"GROUND 12.5", "GROUND 12.5"},
      {"粘性土①", "\x94\x53\x90\xab\x93\x79\x87\x40"},
      {"𠮷野", "\\U+20BB7\x96\xec"},
      {"\xff"
       "A",
       "\\U+FFFDA"},  // a broken byte
  };
  for (const Case& c : cases) EXPECT_EQ(DxfTextCp932(c.utf8), c.expected) << c.utf8;
}

TEST(DxfPath, IsTheDxfExtensionInAnyCase) {
  for (const char* path : {"x.dxf", "/a/B.DXF", "c.Dxf"}) EXPECT_TRUE(IsDxfPath(path)) << path;
  for (const char* path : {"x.dwg", "x", "x.dxf.bak", "dxf"}) EXPECT_FALSE(IsDxfPath(path)) << path;
}

// A full disk, as a limit on the size of the files this process writes: the drawing is cut
// short, which the writer sees, and the older file stays.
TEST_F(DxfWriterTest, AFileCutShortLeavesTheOlderFileWhole) {
  const fs::path file = folder_ / "old.dxf";
  WriteFileBytes(file, "older drawing");
  struct FileSizeLimit {
    explicit FileSizeLimit(rlim_t bytes) {
      ::getrlimit(RLIMIT_FSIZE, &old);
      previous = std::signal(SIGXFSZ, SIG_IGN);  // a write past the limit fails instead
      rlimit limit = old;
      limit.rlim_cur = bytes;
      ::setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() {
      ::setrlimit(RLIMIT_FSIZE, &old);
      std::signal(SIGXFSZ, previous);
    }
    rlimit old{};
    void (*previous)(int) = nullptr;
  };
  {
    const FileSizeLimit limit(2000);
    EXPECT_FALSE(WriteDxf(SampleDrawing(), file));
  }
  EXPECT_EQ(ReadFileBytes(file), "older drawing");
  EXPECT_EQ(std::distance(fs::directory_iterator(folder_), fs::directory_iterator()), 1);
}

TEST_F(DxfWriterTest, AFileInAMissingFolderIsNotWritten) {
  EXPECT_FALSE(WriteDxf(SampleDrawing(), folder_ / "missing" / "x.dxf"));
}

// Even root cannot rename a file over a folder: the write fails at the last step and the
// temporary goes.
TEST_F(DxfWriterTest, AFailedRenameLeavesNoTemporary) {
  const fs::path target = folder_ / "taken.dxf";
  fs::create_directories(target / "inside");
  EXPECT_FALSE(WriteDxf(SampleDrawing(), target));
  EXPECT_TRUE(fs::is_directory(target / "inside"));
  EXPECT_EQ(std::distance(fs::directory_iterator(folder_), fs::directory_iterator()), 1);
}

TEST_F(DxfWriterTest, ReplacesAnOlderFileAndLeavesNoTemporary) {
  const fs::path file = folder_ / "x.dxf";
  WriteFileBytes(file, "older drawing");
  ASSERT_TRUE(WriteDxf(SampleDrawing(), file));
  EXPECT_NE(ReadFileBytes(file), "older drawing");
  EXPECT_EQ(std::distance(fs::directory_iterator(folder_), fs::directory_iterator()), 1);
  struct stat info {};
  ASSERT_EQ(::stat(file.c_str(), &info), 0);
  EXPECT_NE(info.st_mode & S_IRGRP, 0U) << "not a private temporary's rights";
}

}  // namespace
