// The multi-plane report written as a .docx and read back by independent readers: python-docx
// for its text and tables, LibreOffice for its pages (the page count proves that no block is
// taller than the lines the writer counts for it), poppler for fonts, text and page pictures.

#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <cstdio>
#include <regex>

#include "core/base/Utility.h"
#include "core/section/SpStratum.h"
#include "stage/output/ReportNumberText.h"
#include "tests/stage/output/WordReportTestSupport.h"
#include "tests/support/qt/QtTestSupport.h"

namespace {

// The command's standard output; a failed command fails the test.
std::string Run(const std::string& command) {
  std::string text;
  FILE* pipe = ::popen((command + " 2>/dev/null").c_str(), "r");
  if (pipe == nullptr) {
    ADD_FAILURE() << "cannot run " << command;
    return text;
  }
  char buffer[4096];
  while (const std::size_t n = std::fread(buffer, 1, sizeof buffer, pipe)) text.append(buffer, n);
  EXPECT_EQ(::pclose(pipe), 0) << command;
  return text;
}

std::string Quote(const std::filesystem::path& path) { return "'" + path.string() + "'"; }

QJsonObject ReadDocx(const std::filesystem::path& file) {
  const std::string json = Run(std::string(BRIXO_SYSTEM_PYTHON3) +
                               " " BRIXO_TESTS_DIR "/stage/output/read_docx.py " + Quote(file));
  return QJsonDocument::fromJson(QByteArray::fromStdString(json)).object();
}

std::vector<std::vector<std::string>> Rows(const QJsonObject& doc, int table) {
  std::vector<std::vector<std::string>> rows;
  for (const QJsonValue& row : doc["tables"].toArray()[table].toArray()) {
    std::vector<std::string> cells;
    for (const QJsonValue& cell : row.toArray()) cells.push_back(cell.toString().toStdString());
    rows.push_back(cells);
  }
  return rows;
}

// The first table whose first row begins with these cells.
int TableHeaded(const QJsonObject& doc, const std::vector<std::string>& head, int from = 0) {
  const QJsonArray tables = doc["tables"].toArray();
  for (int t = from; t < tables.size(); ++t) {
    const auto rows = Rows(doc, t);
    if (!rows.empty() && std::equal(head.begin(), head.end(), rows[0].begin(),
                                    rows[0].begin() + std::min(rows[0].size(), head.size()))) {
      return t;
    }
  }
  return -1;
}

std::string AllText(const QJsonObject& doc) {
  std::string text;
  for (const QJsonValue& p : doc["paragraphs"].toArray()) text += p.toString().toStdString() + "\n";
  return text;
}

class WordDocumentTest : public WordReportTest {};

TEST_F(WordDocumentTest, FullReportReadsBackAndRendersPageForPage) {
  CCase& c = Case();
  c.GetPrmJobsite().names = {"北斜面現場", "ケースA", "備考テキスト"};
  const std::filesystem::path file = Output("report.docx");
  ASSERT_EQ(RunMulti(file), 1);
  ASSERT_TRUE(std::filesystem::exists(file));
  EXPECT_TRUE(writer_.LastMissingKeys().empty())
      << "first key the template lacks: " << writer_.LastMissingKeys().front();

  const QJsonObject doc = ReadDocx(file);
  EXPECT_EQ(doc["contentControls"].toInt(), 0);
  const std::string text = AllText(doc);
  for (const char* expected : {"現場名：北斜面現場", "ケース名：ケースA", "備考：備考テキスト"}) {
    EXPECT_NE(text.find(expected), std::string::npos) << expected;
  }
  // No placeholder text: no field key is left in the text.
  for (const char* key : {"Ｓｉｔｅ", "Ｃａｓｅ", "Ｆｓｐ", "ｓＢＬＯＣＫ"}) {
    EXPECT_EQ(text.find(key), std::string::npos) << key;
  }

  // Soil table: one row per stratum polygon with the case's values.
  const int soil = TableHeaded(doc, {"No", "土層名", "γt"});
  ASSERT_GE(soil, 0);
  const auto soilRows = Rows(doc, soil);
  const CDPolyArray* strata = c.GetGround().GetPolyArray();
  ASSERT_NE(strata, nullptr);
  ASSERT_EQ(soilRows.size(), static_cast<std::size_t>(strata->GetSize()) + 2);
  for (int i = 0; i < strata->GetSize(); ++i) {
    const tagSATURATE& s =
        *static_cast<const CSpStratumBlock*>(strata->GetAt(i))->GetPropStructure();
    const std::vector<std::string>& row = soilRows[static_cast<std::size_t>(i) + 2];
    EXPECT_EQ(row[2], SetWordDbl(s.gammaT, 172));
    EXPECT_EQ(row[3], SetWordDbl(s.gammaSat, 171));
    EXPECT_EQ(row[4], SetWordDbl(s.c, 131));
    EXPECT_EQ(row[5], SetWordDbl(s.phi, 161));
    EXPECT_EQ(row[6], SetWordDbl(CCoreConfig::GetRound(TanFai(s.phi), 162), 162));
  }

  // Coordinates: the ground and water points paired by index.
  const int coord = TableHeaded(doc, {"No", "地表面 X"});
  ASSERT_GE(coord, 0);
  const auto coordRows = Rows(doc, coord);
  const CDPoly& ground = c.GetGround();
  const CDPoly& water = c.GetWater();
  const int rows = std::max(ground.GetSize(), water.GetSize());
  ASSERT_GE(coordRows.size(), 2u + static_cast<std::size_t>(std::min(rows, 40)));
  for (int i = 0; i < std::min(rows, 40); ++i) {
    const auto& row = coordRows[static_cast<std::size_t>(i) + 2];
    EXPECT_EQ(row[1], i < ground.GetSize() ? SetWordDbl(ground.GetAt(i)->x, 341) : "");
    EXPECT_EQ(row[3], i < water.GetSize() ? SetWordDbl(water.GetAt(i)->y, 351) : "");
  }

  // The Fs of each result block is the typical point's.
  const CMltPoint* normal = c.GetResStab2().GetSelectRepPt(0);
  ASSERT_NE(normal, nullptr);
  EXPECT_NE(text.find("最小安全率　Fs = " + SetWordDbl(normal->fsN, 163)), std::string::npos);

  // LibreOffice renders it; one page more than the page breaks the writer appended.
  const std::filesystem::path out = DataDir() / "pdf";
  const std::string profile = "file://" + (DataDir() / "lo-profile").string();
  Run(std::string(BRIXO_SOFFICE) + " -env:UserInstallation=" + profile +
      " --headless --convert-to pdf --outdir " + Quote(out) + " " + Quote(file));
  const std::filesystem::path pdf = out / "report.pdf";
  ASSERT_TRUE(std::filesystem::exists(pdf));
  const std::string info = Run("pdfinfo " + Quote(pdf));
  std::smatch pages;
  ASSERT_TRUE(std::regex_search(info, pages, std::regex("Pages:\\s+(\\d+)")));
  // The same run once more on the recording filler counts the breaks.
  Record();
  ASSERT_EQ(RunMulti(Output("again.docx")), 1);
  const int breaks = CountBlocks("ＳｅｔＲｅｔｕｒｎ");
  EXPECT_EQ(std::stoi(pages[1]), breaks + 1);
  EXPECT_NE(Run("pdffonts " + Quote(pdf)).find("NotoSansCJK"), std::string::npos);
  const std::string pdfText = Run("pdftotext " + Quote(pdf) + " -");
  EXPECT_NE(pdfText.find("多平面安定解析計算書"), std::string::npos);
  EXPECT_NE(pdfText.find("北斜面現場"), std::string::npos);

  // Pictures of the pages to look at, with the screenshots.
  if (const char* shots = std::getenv("BRIXO_SCREENSHOTS")) {
    std::filesystem::create_directories(shots);
    Run("pdftoppm -png -r 60 " + Quote(pdf) + " " +
        Quote(std::filesystem::path(shots) / "WordMultiReport"));
  }
}

}  // namespace
