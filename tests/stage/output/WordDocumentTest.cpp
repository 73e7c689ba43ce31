// The Word reports written as .docx files and read back by independent readers: python-docx
// for its text and tables, LibreOffice for its pages (the page count proves that no block is
// taller than the lines the writer counts for it), poppler for fonts, text and page pictures.

#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>
#include <regex>

#include "core/base/Utility.h"
#include "core/deformation/ResFocus.h"
#include "core/deformation/ResShear.h"
#include "core/deformation/ResSlide.h"
#include "core/section/SpStratum.h"
#include "platform/word/DocxTemplate.h"
#include "stage/controls/SheetCell.h"
#include "stage/output/ReportNumberText.h"
#include "tests/stage/output/WordReportTestSupport.h"
#include "tests/support/qt/QtTestSupport.h"

namespace {

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

// A planned safety factor that some of the sample's pairs fall below.
constexpr double kPlannedFs = 1.9;

class WordDocumentTest : public WordReportTest {
 protected:
  // The PDF LibreOffice makes of the document, with a profile folder of this test's own.
  std::filesystem::path ToPdf(const std::filesystem::path& file) {
    const std::filesystem::path out = DataDir() / "pdf";
    const std::string profile = "file://" + (DataDir() / "lo-profile").string();
    Shell(std::string(BRIXO_SOFFICE) + " -env:UserInstallation=" + profile +
          " --headless --convert-to pdf --outdir " + Quoted(out) + " " + Quoted(file) +
          " 2>/dev/null");
    return out / file.filename().replace_extension(".pdf");
  }
  static int PdfPages(const std::filesystem::path& pdf) {
    const std::string info = Shell("pdfinfo " + Quoted(pdf));
    std::smatch pages;
    return std::regex_search(info, pages, std::regex("Pages:\\s+(\\d+)")) ? std::stoi(pages[1])
                                                                          : -1;
  }
  // The images of the PDF (pdfimages lists one per line after two head lines).
  static int PdfImages(const std::filesystem::path& pdf) {
    const std::string list = Shell("pdfimages -list " + Quoted(pdf));
    return static_cast<int>(std::count(list.begin(), list.end(), '\n')) - 2;
  }
  // The same run once more on the recording filler counts the page breaks it appends.
  int CountBreaksOfTheSameRun(int stage = 1, int sub = 0) {
    calls_.clear();
    Record();
    EXPECT_EQ(Run(stage, sub, Output("again.docx")), 1);
    const int breaks = CountBlocks("ＳｅｔＲｅｔｕｒｎ");
    writer_.SetTemplateFactory([] { return std::make_unique<DocxTemplate>(); });
    return breaks;
  }
  // The stage's full report and its summary written, each with every key the template holds,
  // rendered one page more than its page breaks (the summary on one page) and its pages saved as
  // pictures; what python-docx reads of the full report.
  QJsonObject WriteAndRender(int stage, int sub, const std::string& name) {
    QJsonObject full;
    for (const int summary : {0, 1}) {
      Prn().SetPrnMode(stage, summary);
      const std::string shot = name + (summary == 1 ? "Summary" : "Report");
      const std::filesystem::path file = Output(shot + ".docx");
      EXPECT_EQ(Run(stage, sub, file), 1) << shot;
      EXPECT_EQ(writer_.LastMissingKeys(), std::vector<std::string>()) << shot;
      const std::filesystem::path pdf = ToPdf(file);
      const int pages = PdfPages(pdf);
      EXPECT_EQ(pages, CountBreaksOfTheSameRun(stage, sub) + 1) << shot;
      if (summary == 1) {
        EXPECT_EQ(pages, 1) << shot;
      }
      SavePages(file, pdf, "Word" + shot);
      if (summary == 0) full = ReadDocx(file);
    }
    Prn().SetPrnMode(stage, 0);
    return full;
  }
  int CountPictures() const {
    return static_cast<int>(std::count_if(calls_.begin(), calls_.end(),
                                          [](const WordCall& c) { return c.op == "picture"; }));
  }
  // Pictures of the pages to look at, with the screenshots, and the document beside them.
  static void SavePages(const std::filesystem::path& file, const std::filesystem::path& pdf,
                        const std::string& name) {
    const char* shots = std::getenv("BRIXO_SCREENSHOTS");
    if (shots == nullptr) return;
    std::filesystem::create_directories(shots);
    std::filesystem::copy_file(file, std::filesystem::path(shots) / (name + ".docx"),
                               std::filesystem::copy_options::overwrite_existing);
    Shell("pdftoppm -png -r 60 " + Quoted(pdf) + " " + Quoted(std::filesystem::path(shots) / name));
  }
};

TEST_F(WordDocumentTest, FullReportReadsBackAndRendersPageForPage) {
  CCase& c = Case();
  c.GetPrmJobsite().names = {"北斜面現場", "ケースA", "備考テキスト"};
  c.GetPrmStab().planFsNormal = kPlannedFs;
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
  for (const int k : {0, 1}) {
    const CMltPoint* typical = c.GetResStab2().GetSelectRepPt(k);
    ASSERT_NE(typical, nullptr);
    const double fs = k == 0 ? typical->fsN : typical->fsQ;
    EXPECT_NE(text.find("最小安全率　Fs = " + SetWordDbl(fs, 163)), std::string::npos) << k;
  }

  // The normal case's list: the pairs at or below the planned Fs, lowest first.
  std::vector<double> below;
  for (const CMltPoint* p : c.GetResStab2().GetSerial()) {
    if (p->fsN != kNoValue && p->fsN <= kPlannedFs) below.push_back(p->fsN);
  }
  std::sort(below.begin(), below.end());
  ASSERT_FALSE(below.empty());
  const int list = TableHeaded(doc, {"始点ブロック", "終点ブロック", "安全率"});
  ASSERT_GE(list, 0);
  const auto listRows = Rows(doc, list);
  ASSERT_EQ(listRows.size(), below.size() + 2);
  for (std::size_t i = 0; i < below.size(); ++i) {
    EXPECT_EQ(listRows[i + 2][2], SetWordDbl(below[i], 163)) << i;
  }

  // LibreOffice renders it; one page more than the page breaks the writer appended, and every
  // picture drawn into it.
  const std::filesystem::path pdf = ToPdf(file);
  ASSERT_TRUE(std::filesystem::exists(pdf));
  EXPECT_EQ(PdfPages(pdf), CountBreaksOfTheSameRun() + 1);
  const int pictures = doc["pictures"].toInt();
  EXPECT_EQ(pictures, CountPictures());
  EXPECT_EQ(PdfImages(pdf), pictures);
  EXPECT_NE(Shell("pdffonts " + Quoted(pdf)).find("NotoSansCJK"), std::string::npos);
  const std::string pdfText = Shell("pdftotext " + Quoted(pdf) + " -");
  EXPECT_NE(pdfText.find("多平面安定解析計算書"), std::string::npos);
  EXPECT_NE(pdfText.find("北斜面現場"), std::string::npos);

  SavePages(file, pdf, "WordMultiReport");
}

// The summary: one page per chosen load case.
TEST_F(WordDocumentTest, SummaryGivesOnePagePerChosenCase) {
  Prn().SetPrnMode(1, 1);
  const std::filesystem::path file = Output("summary.docx");
  ASSERT_EQ(RunMulti(file), 1);
  EXPECT_TRUE(writer_.LastMissingKeys().empty());
  const std::filesystem::path pdf = ToPdf(file);
  EXPECT_EQ(PdfPages(pdf), 2);
  EXPECT_EQ(CountBreaksOfTheSameRun() + 1, 2);
  SavePages(file, pdf, "WordMultiSummary");
}

}  // namespace

namespace {

// The rows of every table headed by these cells, without their head rows, in order.
std::vector<std::vector<std::string>> BodyRows(const QJsonObject& doc,
                                               const std::vector<std::string>& head, int headRows) {
  std::vector<std::vector<std::string>> body;
  for (int t = TableHeaded(doc, head); t >= 0; t = TableHeaded(doc, head, t + 1)) {
    const auto rows = Rows(doc, t);
    body.insert(body.end(), rows.begin() + headRows, rows.end());
  }
  return body;
}

// The value cell of the first row whose first cell is the label, in any table.
std::string ValueOf(const QJsonObject& doc, const std::string& label, std::size_t column = 1) {
  for (int t = 0; t < doc["tables"].toArray().size(); ++t) {
    for (const auto& row : Rows(doc, t)) {
      if (!row.empty() && row[0] == label && column < row.size()) return row[column];
    }
  }
  return "<no row " + label + ">";
}

TEST_F(WordDocumentTest, SlideReportHoldsTheResultRowsAndJudgements) {
  const QJsonObject doc = WriteAndRender(2, 0, "Slide");
  const CResSlide& slide = Case().GetResSlide();
  const auto rows = BodyRows(doc, {"kh", "Fsr", "γs", "Ds"}, 2);
  ASSERT_EQ(rows.size(), slide.rows.size());
  for (std::size_t i = 0; i < rows.size(); ++i) {
    const tagSLIDERES& r = slide.rows[i];
    EXPECT_EQ(rows[i], (std::vector<std::string>{SetWordDbl(r.kh, 211), SetWordDbl(r.fsr, 163),
                                                 SetWordDbl(r.gammaS, 995), SetWordDbl(r.ds, 994)}))
        << i;
  }
  EXPECT_EQ(ValueOf(doc, "すべりひずみ γs", 4), slide.IsJudgeGs() ? "OK" : "OUT");
  EXPECT_EQ(ValueOf(doc, "すべり変形量 Ds (mm)", 4), slide.IsJudgeDs() ? "OK" : "OUT");
  EXPECT_EQ(ValueOf(doc, "相対安全率 Fsr"), SetWordDbl(slide.designRow.fsr, 163));
}

TEST_F(WordDocumentTest, ShearReportHoldsEveryCalculationRowInOrder) {
  const QJsonObject doc = WriteAndRender(3, 0, "Shear");
  const std::vector<CShearData>& data = Case().GetResShear().rows;
  ASSERT_FALSE(data.empty());
  // Each calculation table has one row per quantity and a column per step.
  std::map<std::string, std::vector<std::string>> columns;
  for (const auto& row : BodyRows(doc, {"項目", "1", "2", "3", "4", "5"}, 1)) {
    for (std::size_t j = 1; j < row.size(); ++j) columns[row[0]].push_back(row[j]);
  }
  ASSERT_GE(columns["kh"].size(), data.size());
  for (std::size_t i = 0; i < data.size(); ++i) {
    const CShearData& r = data[i];
    EXPECT_EQ(columns["kh"][i], SetWordDbl(r.kh, 992)) << i;
    EXPECT_EQ(columns["TRN (kN)"][i], SetWordDbl(r.trn, 992)) << i;
    EXPECT_EQ(columns["η"][i], SetWordDbl(r.eta, 992)) << i;
    EXPECT_EQ(columns["累積 γ"][i], DblToExpText(1, r.cumStrain)) << i;
    EXPECT_EQ(columns["増分 δ (mm)"][i],
              std::fabs(r.kh) < 1e-5 ? "－" : SetWordDbl(r.dispIncrement, 990))
        << i;
  }
  // The places after the last row stay empty.
  for (std::size_t i = data.size(); i < columns["kh"].size(); ++i) EXPECT_EQ(columns["kh"][i], "");
}

TEST_F(WordDocumentTest, LocalFailureReportHoldsTheRopeNetCheck) {
  const QJsonObject doc = WriteAndRender(3, 1, "Focus");
  const CResFocus& focus = Case().GetResFocus();
  const std::string text = AllText(doc);
  EXPECT_NE(text.find("T = min(T2pa, Tsa) = " + SetWordDbl(focus.GetT(), 992) + " kN"),
            std::string::npos);
  EXPECT_NE(text.find("TRB = " + SetWordDbl(focus.trb, 991) + " kN ≦ T　　判定：" +
                      (focus.IsJudgeT() ? "OK" : "OUT")),
            std::string::npos);
  EXPECT_EQ(ValueOf(doc, "安全率 FsRN"), SetWordDbl(focus.fsRN, 163));
  EXPECT_EQ(ValueOf(doc, "判定（FsRN ≧ pFsRN）"), focus.IsJudgeFsRN() ? "OK" : "OUT");
}

}  // namespace
