// The reinforcement CSV import: the line splitter, each section's reading into the plan, the
// refusal of a damaged file before anything is applied, and the plan applied to the case's records.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "core/deformation/ReinfArrange.h"
#include "core/deformation/RfcCsvImport.h"
#include "core/model/PrmReinf.h"
#include "core/model/PrmSlide.h"
#include "platform/ProgramDir.h"
#include "platform/Text.h"
#include "tests/core/deformation/ReinfTestUtil.h"
#include "tests/support/TestFiles.h"

namespace {

// A file from its lines, written in UTF-8 here and stored in CP932 as the producing program does.
std::string CsvFile(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) text += line + "\r\n";
  return Utf8ToCp932(text);
}

CRfcCsvPlan ValidPlan(const std::vector<std::string>& lines) {
  CRfcCsvRead read = ParseRfcCsv(CsvFile(lines));
  EXPECT_TRUE(read.plan) << read.message;
  EXPECT_EQ(read.message, "");
  return read.plan ? std::move(*read.plan) : CRfcCsvPlan();
}

// The records an import writes into, with content of their own that a refused or partial file
// must not touch.
struct CaseRecords {
  CaseRecords() {
    reinf.stdBar.name = "異形棒鋼";
    reinf.stdBar.kei = "D19";
    reinf.stdBar.remark = "既定";
    reinf.tauC = 0.8;
    reinf.ranges[0].start = CDPoint(1, 2);
    reinf.ranges[0].end = CDPoint(3, 4);
    reinf.ranges[0].rowCount = 3;
    slide.s2 = 7;
    slide.deltaCEntered = 12;
    arrange.Add(MakeBar(1, CReinforce::kSidePlusX, CDPoint(5, 5), 20, 4, 0.5));
  }
  void Apply(const CRfcCsvPlan& plan, bool rightUpper = true) {
    ApplyRfcCsvPlan(plan, rightUpper, reinf, slide, arrange);
  }
  bool IsSame(const CaseRecords& other) const {
    return reinf.IsSame(other.reinf) && slide.IsSame(other.slide) &&
           arrange.IsSame(other.arrange) && arrange.GetSize() == other.arrange.GetSize();
  }
  CPrmReinf reinf;
  CPrmSlide slide;
  CReinfArrange arrange;
};

const std::string kFirst = "QX工法結果";

TEST(RfcCsvImportTest, SplitterDropsEmptyPiecesAndKeepsTheirColumns) {
  struct Case {
    std::string line;
    std::vector<CCsvField> fields;
  };
  const Case cases[] = {
      {"a,,1.5", {{"a", 1}, {"1.5", 3}}},  // field 1 is 1.5
      {",a,", {{"a", 2}}},
      {",,,", {}},
      {"", {}},
      {"x, y", {{"x", 1}, {" y", 2}}},
  };
  for (const Case& c : cases) EXPECT_EQ(SplitCsvFields(c.line), c.fields) << c.line;
}

TEST(RfcCsvImportTest, AFileWithOnlyTheFirstLineChangesNothing) {
  // The first line spelled in CP932 bytes: Q X 工 法 結 果.
  const CRfcCsvRead read = ParseRfcCsv("\x51\x58\x8d\x48\x96\x40\x8c\x8b\x89\xca\r\n");
  ASSERT_TRUE(read.plan) << read.message;
  CaseRecords records;
  const CaseRecords before;
  records.Apply(*read.plan);
  EXPECT_TRUE(records.IsSame(before));
  EXPECT_EQ(records.arrange.GetSize(), 1);
}

TEST(RfcCsvImportTest, AnotherFirstLineIsABadFormat) {
  const std::string files[] = {"", CsvFile({"QX工法結果 "}), CsvFile({"補強材一覧", kFirst}),
                               std::string("QX\xe5\xb7\xa5\xe6\xb3\x95\xe7\xb5\x90\xe6\x9e\x9c")};
  for (const std::string& file : files) {
    const CRfcCsvRead read = ParseRfcCsv(file);
    EXPECT_FALSE(read.plan);
    EXPECT_EQ(read.message, kRfcCsvBadFormat);
  }
}

TEST(RfcCsvImportTest, RangeLinesSetTheFirstTenRangesAndDropTheRest) {
  std::vector<std::string> lines = {kFirst, "補強材の範囲", "見出し1", "見出し2"};
  for (int k = 0; k < 12; ++k) {
    const std::string n = std::to_string(k);
    lines.push_back("範囲" + n + "," + n + ".5,10,2" + n + ",20.25,3.5,4");
  }
  lines.push_back("");
  const CRfcCsvPlan plan = ValidPlan(lines);
  for (int k = 0; k < kReinfRangeCount; ++k) {
    ASSERT_TRUE(plan.ranges[static_cast<std::size_t>(k)]) << k;
    const auto& points = *plan.ranges[static_cast<std::size_t>(k)];
    EXPECT_EQ(points.start.x, k + 0.5);
    EXPECT_EQ(points.start.y, 10);
    EXPECT_EQ(points.end.x, 20 + k);
    EXPECT_EQ(points.end.y, 20.25);
  }

  CaseRecords records;
  records.Apply(plan);
  // The upper end first, as every load puts it.
  EXPECT_EQ(records.reinf.ranges[9].start, CDPoint(29, 20.25));
  EXPECT_EQ(records.reinf.ranges[9].end, CDPoint(9.5, 10));
  // Only the points change: the range keeps its name and settings.
  EXPECT_EQ(records.reinf.ranges[0].rowCount, 3);
  EXPECT_EQ(records.reinf.ranges[0].name, "範囲 1");
}

TEST(RfcCsvImportTest, ARepeatedRangeSectionStartsAgainAtTheFirstRange) {
  const CRfcCsvPlan plan =
      ValidPlan({kFirst, "補強材の範囲", "h", "h", "1,1,1,2,2,0,1", "2,3,3,4,4,0,1", "",
                 "補強材の範囲", "h", "h", "1,5,5,6,6,0,1"});
  ASSERT_TRUE(plan.ranges[0] && plan.ranges[1]);
  EXPECT_EQ(plan.ranges[0]->start.x, 5);
  EXPECT_EQ(plan.ranges[1]->start.x, 3);
  EXPECT_FALSE(plan.ranges[2]);
}

TEST(RfcCsvImportTest, StandardBarAndConditionsKeepTheRemarkAndIgnoreOtherKeys) {
  const CRfcCsvPlan plan = ValidPlan({
      kFirst,
      "補強材情報",
      "材質,規格,w,d,As,D,σsa,σsaQ",
      "1,古い棒鋼,D22,1,2,3,4,5,6",
      "1,ネジ節棒鋼,D25,3.98,25.4,5.067,90,300,450",  // a later line overwrites
      "",
      "補強材条件",
      "τc,1.1",
      "τcQ,1.2",
      "Fsa,2.5",
      "FsaQ,1.5",
      "σck,24",
      "τp1,0.7",
      "τp2,0.9",
      "その他,99",
      "",
  });
  CaseRecords records;
  const double tdFactor = records.reinf.tdFactor;
  records.Apply(plan);
  const CReinfStdBar& bar = records.reinf.stdBar;
  EXPECT_EQ(bar.name, "ネジ節棒鋼");
  EXPECT_EQ(bar.kei, "D25");
  EXPECT_EQ(bar.remark, "既定");
  EXPECT_EQ(bar.w, 3.98);
  EXPECT_EQ(bar.d, 25.4);
  EXPECT_EQ(bar.as, 5.067);
  EXPECT_EQ(bar.drillD, 90);
  EXPECT_EQ(bar.sigmaSaN, 300);
  EXPECT_EQ(bar.sigmaSaQ, 450);
  EXPECT_EQ(records.reinf.tauC, 1.1);
  EXPECT_EQ(records.reinf.tauCQ, 1.2);
  EXPECT_EQ(records.reinf.fsa, 2.5);
  EXPECT_EQ(records.reinf.fsaQ, 1.5);
  EXPECT_EQ(records.reinf.tauP1, 0.7);
  EXPECT_EQ(records.reinf.tauP2, 0.9);
  EXPECT_EQ(records.reinf.tdFactor, tdFactor);
  EXPECT_EQ(records.arrange.GetSize(), 1);  // no bolt list: the bolts stay
}

// The bolt list: heads, pitch, inclination, lengths; fields 7 and 8 summed.
std::vector<std::string> BoltFile(const std::vector<std::string>& bolts) {
  std::vector<std::string> lines = {kFirst, "補強材一覧", "No,X,Y,SH,α,L,余長,S2,S3"};
  lines.insert(lines.end(), bolts.begin(), bolts.end());
  lines.push_back("");
  return lines;
}

TEST(RfcCsvImportTest, BoltListReplacesTheArrangementAndSumsTheForces) {
  const CRfcCsvPlan plan = ValidPlan(BoltFile({
      "1,10,20,2.0,30,5,0.5,10,1",
      "2,12,25,2.0,30,6,0.5,-9e32,2",
      "3,14,25,2.5,35,7,0.5,5,-9e32",
  }));
  ASSERT_TRUE(plan.boltList);
  EXPECT_EQ(plan.boltList->holdingForce, 15);
  EXPECT_EQ(plan.boltList->tighteningForce, 3);

  struct Side {
    bool rightUpper;
    int side;
    double firstX;  // two heads at y = 25: the larger x first on the right-upper side
  };
  for (const Side s :
       {Side{true, CReinforce::kSidePlusX, 14}, Side{false, CReinforce::kSideMinusX, 12}}) {
    CaseRecords records;
    records.Apply(plan, s.rightUpper);
    ASSERT_EQ(records.arrange.GetSize(), 3);
    const CReinforce& first = *records.arrange.GetAt(0);
    EXPECT_EQ(first.head.x, s.firstX);
    EXPECT_EQ(first.head.y, 25);
    EXPECT_EQ(records.arrange.GetAt(2)->head.y, 20);
    for (int i = 0; i < 3; ++i) {
      const CReinforce& bar = *records.arrange.GetAt(i);
      EXPECT_EQ(bar.number, i + 1);
      EXPECT_EQ(bar.side, s.side);
      EXPECT_EQ(bar.stdBar, 0);
      EXPECT_TRUE(bar.IsValid());
    }
    const CReinforce& last = *records.arrange.GetAt(2);
    EXPECT_EQ(last.sh, 2.0);
    EXPECT_EQ(last.alpha, 30);
    EXPECT_EQ(last.length, 5);
    EXPECT_EQ(last.extraLength, 0.5);
    EXPECT_EQ(records.slide.deltaCMode, CPrmSlide::kDeltaCDerived);
    EXPECT_EQ(records.slide.s2, 15);
    EXPECT_EQ(records.slide.s3, 3);
    EXPECT_EQ(records.slide.deltaCEntered, 12);
  }
}

TEST(RfcCsvImportTest, AnEmptyBoltListEmptiesTheArrangement) {
  CaseRecords records;
  records.Apply(ValidPlan(BoltFile({})));
  EXPECT_EQ(records.arrange.GetSize(), 0);
  EXPECT_EQ(records.slide.deltaCMode, CPrmSlide::kDeltaCDerived);
  EXPECT_EQ(records.slide.s2, 0);
  EXPECT_EQ(records.slide.s3, 0);
}

TEST(RfcCsvImportTest, ShortAndForeignLinesAreSkipped) {
  const CRfcCsvPlan plan = ValidPlan({
      kFirst,
      "コメント,何か",
      "補強材一覧",
      "見出し",
      "合計,15,3",  // fewer fields than a bolt: skipped
      "1,10,20,2,30,5,0.5,10,1",
      ",,,",  // commas only end the section
      "1,99,99,2,30,5,0.5,10,1",
  });
  ASSERT_TRUE(plan.boltList);
  ASSERT_EQ(plan.boltList->bolts.size(), 1u);
  EXPECT_EQ(plan.boltList->bolts[0].head.x, 10);
}

TEST(RfcCsvImportTest, CommasBeforeAndAfterTheFieldsReadStillImport) {
  const CRfcCsvPlan plan = ValidPlan({
      kFirst,
      ",補強材の範囲",  // not a section name: ignored
      "補強材の範囲",
      "h",
      "h",
      ",範囲1,,1,2,3,4,5,6,,,",  // empty pieces before field 1 and after field 6
      "",
      "補強材一覧",
      "h",
      ",,1,10,20,2,30,5,0.5,10,1,,メモ,",
      "",
      "補強材条件",
      ",τc,0.5,,",
      "",
  });
  ASSERT_TRUE(plan.ranges[0]);
  EXPECT_EQ(plan.ranges[0]->start.x, 1);
  EXPECT_EQ(plan.ranges[0]->end.y, 4);
  ASSERT_TRUE(plan.boltList);
  ASSERT_EQ(plan.boltList->bolts.size(), 1u);
  EXPECT_EQ(plan.boltList->bolts[0].extraLength, 0.5);
  EXPECT_EQ(plan.tauC, 0.5);
}

TEST(RfcCsvImportTest, ADamagedDataLineRefusesTheWholeFile) {
  struct Case {
    std::vector<std::string> lines;
    std::string message;
  };
  const std::string head = "ファイルの読み込みに失敗しました。\n\n";
  const Case cases[] = {
      // An empty field between fields read would shift the later values.
      {BoltFile({"1,10,20,2,30,5,0.5,10,1", "2,10,,20,2,30,5,0.5,10,1"}),
       head + "5 行目の 3 列目が空欄です。"},
      {{kFirst, "補強材条件", "τc,,0.5", ""}, head + "3 行目の 2 列目が空欄です。"},
      {{kFirst, "補強材の範囲", "h", "h", "1,1,2,3,,4,5,6", ""},
       head + "5 行目の 5 列目が空欄です。"},
      {{kFirst, "補強材情報", "h", "1,棒鋼,D22,1,2,3,4,,5,6", ""},
       head + "4 行目の 8 列目が空欄です。"},
      // A field read as a number that is none.
      {BoltFile({"1,10,20,2,30,5m,0.5,10,1"}), head + "4 行目の 6 列目が数値ではありません。"},
      {BoltFile({"1,10,20,2,30,5,0.5,inf,1"}), head + "4 行目の 8 列目が数値ではありません。"},
      {{kFirst, "補強材条件", "σck,なし", ""}, head + "3 行目の 2 列目が数値ではありません。"},
      {{kFirst, "補強材の範囲", "h", "h", "1,1,2,3,4,5,6.5", ""},
       head + "5 行目の 7 列目が整数ではありません。"},
      // Coordinates far outside any section, and sums that leave the doubles.
      {BoltFile({"1,10,2e5,2,30,5,0.5,10,1"}),
       head + "4 行目の 3 列目の座標が ±100000 の範囲を超えています。"},
      {{kFirst, "補強材の範囲", "h", "h", "1,1,2,-1e300,4,5,6", ""},
       head + "5 行目の 4 列目の座標が ±100000 の範囲を超えています。"},
      {BoltFile({"1,10,20,2,30,5,0.5,1e308,1", "2,10,20,2,30,5,0.5,1e308,1"}),
       head + "5 行目の 8 列目までの合計が大きすぎます。"},
  };
  for (const Case& c : cases) {
    const CRfcCsvRead read = ParseRfcCsv(CsvFile(c.lines));
    EXPECT_FALSE(read.plan) << c.message;
    EXPECT_EQ(read.message, c.message);
  }
}

TEST(RfcCsvImportTest, ARefusalAfterAReadSectionKeepsThatSectionFromTheCase) {
  // The bolt list is sound; the damage comes later. Nothing at all may be applied.
  std::vector<std::string> lines = BoltFile({"1,10,20,2,30,5,0.5,10,1"});
  lines.insert(lines.end(), {"補強材条件", "τc,,0.5", ""});
  const CRfcCsvRead read = ParseRfcCsv(CsvFile(lines));
  EXPECT_FALSE(read.plan);
  EXPECT_EQ(read.message, "ファイルの読み込みに失敗しました。\n\n7 行目の 2 列目が空欄です。");
}

TEST(RfcCsvImportTest, ReadsTheFileFromDisk) {
  const auto file = DataDir() / "rfc.csv";
  // Spelled in CP932 bytes: QX工法結果, 補強材情報, a header, the bar ネジ節棒鋼.
  WriteFileBytes(file,
                 "QX\x8d\x48\x96\x40\x8c\x8b\x89\xca\r\n"
                 "\x95\xe2\x8b\xad\x8d\xde\x8f\xee\x95\xf1\r\n"
                 "h\r\n"
                 "1,\x83\x6c\x83\x57\x90\xdf\x96\x5f\x8d\x7c,D25,1,2,3,4,5,6\r\n");
  const CRfcCsvRead read = ReadRfcCsvFile(file);
  ASSERT_TRUE(read.plan) << read.message;
  ASSERT_TRUE(read.plan->stdBar);
  EXPECT_EQ(read.plan->stdBar->name, "ネジ節棒鋼");
  EXPECT_EQ(read.plan->stdBar->sigmaSaQ, 6);

  const CRfcCsvRead missing = ReadRfcCsvFile(DataDir() / "missing.csv");
  EXPECT_FALSE(missing.plan);
  EXPECT_EQ(missing.message, kRfcCsvCannotOpen);
  const CRfcCsvRead folder = ReadRfcCsvFile(DataDir());
  EXPECT_FALSE(folder.plan);
  EXPECT_EQ(folder.message, kRfcCsvCannotOpen);
}

}  // namespace
