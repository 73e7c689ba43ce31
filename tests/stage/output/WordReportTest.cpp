#include <gtest/gtest.h>
#include <unistd.h>

#include <clocale>
#include <cmath>
#include <fstream>

#include "core/base/Utility.h"
#include "core/circle/SliceList.h"
#include "core/section/SpStratum.h"
#include "platform/RecordingCanvas.h"
#include "stage/output/ReportFigures.h"
#include "stage/output/ReportNumberText.h"
#include "stage/output/StagePrintBase.h"
#include "stage/output/WordPages.h"
#include "tests/stage/output/WordReportTestSupport.h"

namespace {

// ---- Page bookkeeping ----

TEST(WordPagesTest, CheckPageReturnAddsBlankLinesUpToTheLimitAndBreaksBeyondIt) {
  struct Case {
    int limit, blank, written, lines;
    std::vector<std::string> blocks;
  };
  const Case cases[] = {
      {40, 2, 38, 40, {"ＳｐａｃｅＬｉｎｅ２", "ＳｐａｃｅＬｉｎｅ２"}},
      {40, 2, 40, 42, {"ＳｐａｃｅＬｉｎｅ２", "ＳｐａｃｅＬｉｎｅ２"}},
      {40, 2, 41, 0, {"ＳｅｔＲｅｔｕｒｎ"}},
      {0, 2, 5, 0, {"ＳｅｔＲｅｔｕｒｎ"}},
      {0, 2, 0, 0, {}},
  };
  for (const Case& c : cases) {
    std::vector<WordCall> calls;
    RecordingTemplate word(calls);
    WordPages pages(word);
    pages.SetLines(c.written);
    pages.CheckPageReturn(c.limit, c.blank);
    std::vector<std::string> blocks;
    for (const WordCall& call : calls) blocks.push_back(call.key);
    EXPECT_EQ(blocks, c.blocks) << c.limit << " at " << c.written;
    EXPECT_EQ(pages.Lines(), c.lines) << c.limit << " at " << c.written;
  }
}

TEST(WordPagesTest, MarginsGoOutInTruncatedTwipsThenTheOrientation) {
  std::vector<WordCall> calls;
  RecordingTemplate word(calls);
  WordPages pages(word);
  pages.SetLines(12);
  pages.SetPageMargin(false, {15, 15, 15, 15, 17.5, 15, 0});
  ASSERT_EQ(calls.size(), 2u);
  EXPECT_EQ(calls[0].value, "1,850,850,850,850,992,850,0");
  EXPECT_EQ(calls[1].value, "1");
  EXPECT_EQ(pages.Lines(), 0);
}

TEST(WordPagesTest, AnOrientationChangeAppendsTheSectionBlock) {
  std::vector<WordCall> calls;
  RecordingTemplate word(calls);
  WordPages pages(word);
  pages.CheckPageOrient(1, "ＺＰ＿ＳＥＣＴＩＯＮ");
  pages.CheckPageOrient(1, "ＺＰ＿ＳＥＣＴＩＯＮ");
  EXPECT_TRUE(calls.empty());
  pages.SetLines(9);
  pages.CheckPageOrient(2, "ＺＰ＿ＳＥＣＴＩＯＮ");
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_EQ(calls[0].key, "ＺＰ＿ＳＥＣＴＩＯＮ");
  EXPECT_EQ(pages.Lines(), 0);
}

// ---- Number texts ----

// The texts are those printf gives in the "C" locale, whatever the process locale is.
TEST(ReportNumberTextTest, TextsIgnoreTheLocale) {
  const char* previous = std::setlocale(LC_ALL, nullptr);
  const std::string saved = previous != nullptr ? previous : "C";
  ASSERT_NE(std::setlocale(LC_ALL, "de_DE.UTF-8"), nullptr) << "scripts/setup makes de_DE.UTF-8";
  const int digits = CCoreConfig::GetUnitFilter().Digit(163);
  const std::string text = SetWordDbl(2.5, 163);
  std::setlocale(LC_ALL, saved.c_str());
  char expected[64];
  std::snprintf(expected, sizeof expected, "%.*f", std::clamp(digits, 0, 7), 2.5);
  EXPECT_EQ(text, expected);
  EXPECT_EQ(text.find(','), std::string::npos);
}

TEST(ReportNumberTextTest, DecimalsComeFromTheRoundingSettingsClampedToZeroToSeven) {
  const CUnitFilter saved = CCoreConfig::GetUnitFilter();
  const struct {
    int digits;
    double value;
    const char* text;
  } cases[] = {{1, 2.47, "2.5"}, {0, 2.47, "2"},  {9, 2.47, "2.4700000"},
               {2, 0.0, "0.00"}, {-1, 2.47, "2"}, {3, -1.23456, "-1.235"}};
  for (const auto& c : cases) {
    CUnitFilter filter = saved;
    filter.digitsSafetyFactor = c.digits;
    CCoreConfig::SetUnitFilter(filter);
    EXPECT_EQ(SetWordDbl(c.value, 163), c.text) << c.digits;
  }
  CCoreConfig::SetUnitFilter(saved);
}

TEST(ReportNumberTextTest, UnsetValuesAreEmpty) {
  for (const int code : {111, 163, 351}) {
    EXPECT_EQ(SetWordDbl(kNoValue, code), "");
    EXPECT_EQ(SetWordDbl(-kNoValue, code), "");
  }
  EXPECT_EQ(SetWordInt(INT_MIN), "");
  EXPECT_EQ(SetWordInt(5, 5), "");
  EXPECT_EQ(SetWordInt(-12), "-12");
}

TEST(ReportNumberTextTest, Comma3SeparatesThousands) {
  const std::pair<int, const char*> cases[] = {
      {1000, "1,000"}, {0, "0"},          {123456, "123,456"}, {1234567, "1,234,567"},
      {999, "999"},    {-1234, "-1,234"}, {-123, "-123"}};
  for (const auto& [value, text] : cases) EXPECT_EQ(SetWordComma3(value), text) << value;
  EXPECT_EQ(SetWordComma3(INT_MIN), "");
}

TEST(ReportNumberTextTest, TanFaiTakesDegreesAndKeepsUnsetValues) {
  EXPECT_NEAR(TanFai(45), 1.0, 1e-15);
  EXPECT_EQ(TanFai(kNoValue), kNoValue);
  EXPECT_EQ(TanFai(-kNoValue), -kNoValue);
}

TEST(IsSliceListDouituTest, AnEmptyListAgreesAndGivesUnsetValuesUnlessBothWereZero) {
  CSliceList empty;
  double a = 1;
  double b = 2;
  EXPECT_EQ(CStagePrintWord::IsSliceListDouitu(&empty, a, b), 1);
  EXPECT_EQ(a, kNoValue);
  EXPECT_EQ(b, kNoValue);
  a = b = 0;
  EXPECT_EQ(CStagePrintWord::IsSliceListDouitu(nullptr, a, b), 1);
  EXPECT_EQ(a, 0);
  EXPECT_EQ(b, 0);
}

TEST(SafeFileNamePartTest, NamesCannotLeaveTheFolder) {
  EXPECT_EQ(SafeFileNamePart("../A/B"), ".._A_B");
  EXPECT_EQ(SafeFileNamePart(".."), "_");
  EXPECT_EQ(SafeFileNamePart("斜面 No.1"), "斜面 No.1");
}

// ---- The multi-plane report on the recording filler ----

TEST_F(WordReportTest, FullReportOpensTheTemplateSetsThePageAndEndsWithEnd) {
  Record();
  ASSERT_EQ(RunMulti(Output("a.docx")), 1);
  ASSERT_GE(calls_.size(), 4u);
  EXPECT_EQ(calls_[0].op, "open");
  EXPECT_EQ(calls_[0].key, "Brixo_MULTI.docx");
  EXPECT_EQ(calls_[1].value, "1,850,850,850,850,992,850,0");
  EXPECT_EQ(calls_[2].value, "1");
  EXPECT_EQ(Blocks().back(), "Ｅｎｄ");
  EXPECT_EQ(calls_[calls_.size() - 2].op, "save");
  EXPECT_EQ(calls_.back().op, "quit");
  // Both load cases: a cover each, the stratum table once per case.
  EXPECT_EQ(CountBlocks("ＺＰ＿ＣＯＶＥＲ"), 2);
  EXPECT_EQ(FieldBefore("ＺＰ＿ＣＯＶＥＲ", "Ｍｏｄｅ"),
            (std::vector<std::string>{"常時", "地震時"}));
}

TEST_F(WordReportTest, ChosenButSwitchedOffCaseIsNotWritten) {
  Record();
  Case().GetPrmStab().normalOn = 0;
  ASSERT_EQ(RunMulti(Output("a.docx")), 1);
  EXPECT_EQ(FieldBefore("ＺＰ＿ＣＯＶＥＲ", "Ｍｏｄｅ"), std::vector<std::string>{"地震時"});
  EXPECT_EQ(CountBlocks("ＺＰ＿ＰＬＡＮ＿ＦＳ"), 0);
}

TEST_F(WordReportTest, NothingChosenIsRefusedBeforeTheFileDialog) {
  Record();
  Prn().SetPrnMultiNQ(0, 0);
  Case().GetPrmStab().quakeOn = 0;
  TestUi().ExpectMessageBox(MsgResult::Ok, "出力する項目が一つも選択されていません。");
  EXPECT_EQ(writer_.WordStart(1, 0, 0), 0);
  EXPECT_TRUE(calls_.empty());
  EXPECT_TRUE(TestUi().FileDialogs().empty());
}

TEST_F(WordReportTest, WaterOffShowsADashForUAndNoWaterWeight) {
  Record();
  Case().GetPrmStab().waterOn = 0;
  ASSERT_EQ(RunMulti(Output("a.docx")), 1);
  EXPECT_EQ(CountBlocks("ＺＰ＿ＳＯＩＬ＿ＧＡＭＭＡＷ"), 0);
  for (const std::string& u : FieldBefore("ＺＰ＿ＭＵＬＴＩＣＡＬＣ＿ＶＡＬＵＥ", "Ｕ")) {
    EXPECT_EQ(u, "－");
  }
}

// Ground and water points are paired by index: 10 ground points and 4 water points give 10
// rows, the last six without a water level.
TEST_F(WordReportTest, CoordinateRowsPairGroundAndWaterByIndex) {
  Record();
  CDPoly& ground = Case().GetGround();
  CDPoly& water = Case().GetWater();
  ground.DeleteAll();
  water.DeleteAll();
  for (int i = 0; i < 10; ++i) ground.Add(i * 2.0, 10.0 + i);
  for (int i = 0; i < 4; ++i) water.Add(i * 3.0, 5.0 + i);
  ASSERT_EQ(RunMulti(Output("a.docx")), 1);
  const std::vector<std::string> yw = FieldBefore("ＺＰ＿ＣＯＯＲＤ＿ＤＡＴＡ", "Ｙｗ");
  ASSERT_EQ(yw.size(), 20u) << "10 rows per load case";
  for (std::size_t i = 0; i < 10; ++i) {
    EXPECT_EQ(yw[i].empty(), i >= 4) << i;
  }
  EXPECT_EQ(FieldBefore("ＺＰ＿ＣＯＯＲＤ＿ＤＡＴＡ", "Ｘ")[9], SetWordDbl(18.0, 341));
}

// Five stratum lines: a group of four, then a group of one.
TEST_F(WordReportTest, FiveStratumLinesGiveAGroupOfFourAndOneOfOne) {
  Record();
  CDPolyArray& strata = Case().GetStratum();
  strata.DeleteAll();
  for (int i = 0; i < 5; ++i) {
    auto line = std::make_unique<CSpStratumLine>();
    line->SetName("L" + std::to_string(i + 1));
    line->Add(0.0, -1.0 - i);
    line->Add(30.0, -1.0 - i);
    strata.Add(std::move(line));
  }
  Case().GetPrmStab().quakeOn = 0;
  ASSERT_EQ(RunMulti(Output("a.docx")), 1);
  EXPECT_EQ(CountBlocks("ＺＰ＿ＣＯＯＲＤ＿ＳＴＲＡＴＵＭ４＿ＨＥＡＤ"), 1);
  EXPECT_EQ(CountBlocks("ＺＰ＿ＣＯＯＲＤ＿ＳＴＲＡＴＵＭ４＿ＤＡＴＡ"), 2);
  EXPECT_EQ(CountBlocks("ＺＰ＿ＣＯＯＲＤ＿ＳＴＲＡＴＵＭ１＿ＨＥＡＤ"), 1);
  EXPECT_EQ(CountBlocks("ＺＰ＿ＣＯＯＲＤ＿ＳＴＲＡＴＵＭ１＿ＤＡＴＡ"), 2);
  EXPECT_EQ(FieldBefore("ＺＰ＿ＣＯＯＲＤ＿ＳＴＲＡＴＵＭ１＿ＨＥＡＤ", "Ｎａｍｅ１"),
            std::vector<std::string>{"L5"});
}

// A soil table longer than the page repeats its head at the top of the next page.
TEST_F(WordReportTest, SoilTableOverAPageRepeatsItsHead) {
  Record();
  CDPolyArray* polygons = Case().GetGround().GetPolyArray();
  ASSERT_NE(polygons, nullptr);
  ASSERT_GT(polygons->GetSize(), 0);
  while (polygons->GetSize() < 30) polygons->Add(polygons->GetAt(0)->Copy());
  Case().GetPrmStab().quakeOn = 0;
  ASSERT_EQ(RunMulti(Output("a.docx")), 1);
  EXPECT_EQ(CountBlocks("ＺＰ＿ＳＯＩＬ＿ＨＥＡＤ"), 2);
  EXPECT_EQ(CountBlocks("ＺＰ＿ＳＯＩＬ＿ＤＡＴＡ"), 30);
}

TEST_F(WordReportTest, ResultFsIsTheTypicalPointsWithItsRoundingCode) {
  Record();
  ASSERT_EQ(RunMulti(Output("a.docx")), 1);
  const CMltPoint* normal = Case().GetResStab2().GetSelectRepPt(0);
  const CMltPoint* quake = Case().GetResStab2().GetSelectRepPt(1);
  ASSERT_NE(normal, nullptr);
  ASSERT_NE(quake, nullptr);
  EXPECT_EQ(FieldBefore("ＺＰ＿ＭＵＬＴＩＣＡＬＣ＿ＤＡＮＭＥＮ＿Ｎ", "Ｆｓ"),
            std::vector<std::string>{SetWordDbl(normal->fsN, 163)});
  EXPECT_EQ(FieldBefore("ＺＰ＿ＭＵＬＴＩＣＡＬＣ＿ＤＡＮＭＥＮ＿Ｑ", "Ｆｓ"),
            std::vector<std::string>{SetWordDbl(quake->fsQ, 163)});
}

// The list holds the pairs at or below the planned safety factor, lowest first; a pair without
// a safety factor is not one of them.
TEST_F(WordReportTest, ListHoldsPairsAtOrBelowThePlannedFsAndNoneWithoutFs) {
  Record();
  CPrmStab& stab = Case().GetPrmStab();
  const std::vector<CMltPoint*>& serial = Case().GetResStab2().GetSerial();
  ASSERT_GE(serial.size(), 3u);
  serial[0]->fsN = kNoValue;
  serial[1]->fsN = 1.10;
  serial[2]->fsN = 1.1000000001;
  stab.planFsNormal = 1.10;
  stab.quakeOn = 0;
  ASSERT_EQ(RunMulti(Output("a.docx")), 1);
  const std::vector<std::string> listed =
      FieldBefore("ＺＰ＿ＭＵＬＴＩＣＡＬＣ＿ＦＳ＿ＢＬＯＣＫ＿ＤＡＴＡ", "Ｆｓ");
  std::size_t expected = 0;
  for (const CMltPoint* p : serial) expected += p->fsN != kNoValue && p->fsN <= 1.10 ? 1 : 0;
  EXPECT_EQ(listed.size(), expected);
  std::vector<double> values;
  for (const std::string& fs : listed) values.push_back(std::stod(fs));
  EXPECT_TRUE(std::is_sorted(values.begin(), values.end())) << "lowest first";
}

TEST_F(WordReportTest, NoPlannedFsListsTitleAndHeadOnly) {
  Record();
  Case().GetPrmStab().planFsNormal = kNoValue;
  Case().GetPrmStab().quakeOn = 0;
  ASSERT_EQ(RunMulti(Output("a.docx")), 1);
  EXPECT_EQ(CountBlocks("ＺＰ＿ＭＵＬＴＩＣＡＬＣ＿ＦＳ＿ＢＬＯＣＫ＿ＨＥＡＤ"), 1);
  EXPECT_EQ(CountBlocks("ＺＰ＿ＭＵＬＴＩＣＡＬＣ＿ＦＳ＿ＢＬＯＣＫ＿ＤＡＴＡ"), 0);
}

// A document may name blocks beyond the block list in its typical point: the report is written,
// the fields that need those blocks stay empty.
TEST_F(WordReportTest, TypicalPointBeyondTheBlockListLeavesItsFieldsEmpty) {
  Record();
  CMltPoint* normal = Case().GetResStab2().GetSelectRepPt(0);
  ASSERT_NE(normal, nullptr);
  normal->startBlock = Case().GetBlockList().GetBlockSize() + 3;
  normal->endBlock = normal->startBlock + 1;
  ASSERT_EQ(RunMulti(Output("a.docx")), 1);
  EXPECT_EQ(FieldBefore("ＺＰ＿ＭＵＬＴＩＣＡＬＣ＿ＶＡＬＵＥ", "ｌ"),
            std::vector<std::string>{"<unset>"});
  EXPECT_EQ(FieldBefore("ＺＰ＿ＭＵＬＴＩＣＡＬＣ＿ＶＡＬＵＥ", "ｓＢＬＯＣＫ"),
            std::vector<std::string>{std::to_string(normal->startBlock + 1)});
}

// The back analysis of the normal case; its pair names blocks beyond the block list, so the
// length and area of the run stay empty and the report is still written.
TEST_F(WordReportTest, BackAnalysisWithAPairBeyondTheBlockList) {
  Record();
  Case().GetPrmStab().gyakuOn = 1;
  auto blocks = std::make_unique<CMltBlocks>();
  blocks->SetMltType(CMltPoint::kKindGyaku);
  auto point = std::make_unique<CMltPointGyaku>();
  point->id = 0;
  point->typicalN = 1;
  point->startBlock = 11;
  point->endBlock = 12;
  point->c = 12.5;
  point->phi = 30;
  point->c0 = 20;
  point->tanPhi0 = 0.5;
  blocks->Add(std::move(point));
  CResStab2& gyaku = Case().GetResStabGyaku();
  gyaku.DeleteResultAll();
  gyaku.SetResult(std::move(blocks));
  gyaku.SerialResult();
  ASSERT_GT(12, Case().GetBlockList().GetBlockSize());
  Case().GetPrmStab().quakeOn = 0;
  ASSERT_EQ(RunMulti(Output("a.docx")), 1);
  const std::string param = "ＺＰ＿ＣＲＥＶＥＲＳＥ＿ＰＡＲＡＭ";
  EXPECT_EQ(FieldBefore(param, "Ｃ"), std::vector<std::string>{SetWordDbl(12.5, 131)});
  EXPECT_EQ(FieldBefore(param, "ｅＢＬＯＣＫ"), std::vector<std::string>{"13"});
  EXPECT_EQ(FieldBefore(param, "Ｌ"), std::vector<std::string>{"<unset>"});
  EXPECT_EQ(FieldBefore(param, "Ａ"), std::vector<std::string>{"<unset>"});
  EXPECT_EQ(CountBlocks("ＺＰ＿ＣＲＥＶＥＲＳＥ＿ＣＦＡＩ"), 1);
  EXPECT_EQ(FieldBefore("ＺＰ＿ＢＬＯＣＫＭＯＤＥＬ＿ＰＡＲＡＭ", "Ｃ"),
            std::vector<std::string>{"逆算"});
}

TEST_F(WordReportTest, SummaryGivesOneSummaryBlockPerChosenCase) {
  Record();
  Prn().SetPrnMode(1, 1);
  ASSERT_EQ(RunMulti(Output("a.docx")), 1);
  EXPECT_EQ(CountBlocks("ＺＰ＿ＭＵＬＴＩ＿ＳＵＭＭＡＲＹ"), 2);
  EXPECT_EQ(CountBlocks("ＺＰ＿ＣＯＶＥＲ"), 0);
  EXPECT_EQ(
      TestUi().FileDialogs().back().request.defaultName.rfind("要約版_多平面安定解析計算書_", 0),
      0u);
}

TEST_F(WordReportTest, YesOpensTheFileAndAViewerThatFailsIsReported) {
  Record();
  const std::filesystem::path file = Output("a.docx");
  TestUi().ExpectFileDialog(file);
  TestUi().ExpectMessageBox(MsgResult::Yes, "Word 出力が完了しました。\nファイルを開きますか？");
  TestUi().ExpectOpenInViewer(false);
  TestUi().ExpectMessageBox(
      MsgResult::Ok, "このファイルを開くアプリケーションが見つかりません。\n" + file.string());
  EXPECT_EQ(writer_.WordStart(1, 0, 0), 1);
  EXPECT_EQ(TestUi().MessageBoxes().back().caption, "エラー");
  EXPECT_EQ(TestUi().ViewerOpens(), std::vector<std::filesystem::path>{file});
}

TEST_F(WordReportTest, ProposedNameStaysInThePrintFolder) {
  Record();
  Case().GetPrmJobsite().names[1] = "../A/B";
  TestUi().ExpectFileDialog(std::nullopt);
  EXPECT_EQ(writer_.WordStart(1, 0, 0), 0);
  ASSERT_EQ(TestUi().FileDialogs().size(), 1u);
  const FileDialogRequest& request = TestUi().FileDialogs()[0].request;
  EXPECT_EQ(request.defaultName, "多平面安定解析計算書_.._A_B.docx");
  EXPECT_EQ(request.folder, DataDir() / "PrnFiles");
  EXPECT_EQ(request.filter, "Wordファイル形式(*.docx)|*.docx|すべて|*.*||");
  EXPECT_TRUE(calls_.empty()) << "a cancelled choice creates no filler";
}

TEST_F(WordReportTest, DefaultNamesByStageAndSub) {
  Case().GetPrmJobsite().names[1] = "C1";
  EXPECT_EQ(writer_.DefaultFileName(2, 0), "すべり変形計算書_C1");
  EXPECT_EQ(writer_.DefaultFileName(3, 1), "局所破壊計算書_C1");
  Prn().SetPrnMode(3, 1);
  EXPECT_EQ(writer_.DefaultFileName(3, 7), "要約版_C1");
  Prn().SetPrnMode(2, 1);
  EXPECT_EQ(writer_.DefaultFileName(2, 0), "要約版_すべり変形計算書_C1");
}

// ---- Failures of the docx filler ----

TEST_F(WordReportTest, MissingTemplateSaysSoAndWritesNothing) {
  const std::filesystem::path empty = DataDir() / "NoTemplates";
  std::filesystem::create_directories(empty);
  writer_.SetPath(empty.string());
  TestUi().ExpectFileDialog(Output("a.docx"));
  TestUi().ExpectMessageBox(MsgResult::Ok, "Word出力モジュールが起動できません\n" +
                                               (empty / "Brixo_MULTI.docx").string());
  EXPECT_EQ(writer_.WordStart(1, 0, 0), 0);
  EXPECT_FALSE(std::filesystem::exists(Output("a.docx")));
}

TEST_F(WordReportTest, UnwritableTargetSaysSoAndKeepsTheOlderFile) {
  const std::filesystem::path locked = DataDir() / "locked";
  std::filesystem::create_directories(locked);
  const std::filesystem::path target = locked / "a.docx";
  { std::ofstream(target) << "older"; }
  std::filesystem::permissions(
      locked, std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
  if (::access(locked.c_str(), W_OK) == 0) GTEST_SKIP() << "root writes into any folder";
  TestUi().ExpectFileDialog(target);
  TestUi().ExpectMessageBox(MsgResult::Ok, "ファイルを書き込めませんでした。\n" + target.string());
  EXPECT_EQ(writer_.WordStart(1, 0, 0), 0);
  std::filesystem::permissions(locked, std::filesystem::perms::owner_all);
  std::ifstream in(target);
  std::string text;
  in >> text;
  EXPECT_EQ(text, "older");
}

TEST_F(WordReportTest, SaveIntoAMissingFolderSaysSo) {
  const std::filesystem::path target = DataDir() / "missing" / "a.docx";
  TestUi().ExpectFileDialog(target);
  TestUi().ExpectMessageBox(MsgResult::Ok, "ファイルを書き込めませんでした。\n" + target.string());
  EXPECT_EQ(writer_.WordStart(1, 0, 0), 0);
}

// ---- Figures ----

TEST_F(WordReportTest, UnknownKeysAndNewmarkFiguresDrawNothing) {
  for (const char* key : {"danmen_coord", "DANMEN_SLICE_NEWMARK", "GRAPH_RESISTANCE_N",
                          "DANMEN_SPECIF_NEWMARK", "DANMEN_REPEAT_NEWMARK"}) {
    RecordingCanvas canvas;
    CViewInfo view(Case().GetViewInfo());
    view.dc = &canvas;
    PaintReportFigure(Case(), 1, key, view, {0, 0, 960, 600});
    EXPECT_TRUE(canvas.Primitives().empty()) << key;
  }
  RecordingCanvas canvas;
  CViewInfo view(Case().GetViewInfo());
  view.dc = &canvas;
  EXPECT_TRUE(PaintReportFigure(Case(), 1, "DANMEN_COORD", view, {0, 0, 960, 600}));
  EXPECT_FALSE(canvas.Primitives().empty());
  EXPECT_FALSE(PaintReportFigure(Case(), 4, "DANMEN_COORD", view, {0, 0, 960, 600}));
  for (const char* key : {"GRAPH_RESISTANCE_N", "GRAPH_RESISTANCE_Q", "GRAPH_RESISTANCE_NEWMARK",
                          "GRAPH_RESISTANCE_NEWMARK_REM", "DANMEN_SLICE_NEWMARK"}) {
    EXPECT_FALSE(PaintReportFigure(Case(), 3, key, view, {0, 0, 960, 600})) << key;
  }
}

TEST_F(WordReportTest, FsGraphTwiceLeavesTheCaseGraphSettings) {
  const CDrawResGraphSetMltFs before = Case().GetResStab2().graphFs;
  std::string first;
  for (int i = 0; i < 2; ++i) {
    RecordingCanvas canvas;
    CViewInfo view(Case().GetViewInfo());
    view.dc = &canvas;
    EXPECT_TRUE(PaintReportFigure(Case(), 1, "GRAPH_MULTI_FS_N", view, {0, 0, 960, 600}));
    if (i == 0)
      first = canvas.Dump();
    else
      EXPECT_EQ(canvas.Dump(), first);
  }
  EXPECT_TRUE(Case().GetResStab2().graphFs.IsSame(before));
  EXPECT_EQ(Case().GetResStab2().graphFs.currentCase, before.currentCase);
}

// The fit graph is drawn in the fit's own ranges, not in those of another graph such as the
// slide-deformation graph, and leaves the case's graph settings as they were.
TEST_F(WordReportTest, FitGraphDrawsInTheFitsOwnRanges) {
  const auto paint = [this] {
    RecordingCanvas canvas;
    CViewInfo view(Case().GetViewInfo());
    view.dc = &canvas;
    EXPECT_TRUE(PaintReportFigure(Case(), 3, "GRAPH_FIT", view, {0, 0, 642, 334}));
    return canvas.Dump();
  };
  const CDrawResGraphSet fitGraph = Case().GetPrmShear().fit.graph;
  const std::string own = paint();
  const std::string lowestDecade = "\"1E" + std::to_string(static_cast<int>(fitGraph.minX)) + "\"";
  EXPECT_NE(own.find(lowestDecade), std::string::npos) << lowestDecade;
  CDrawResGraphSet& slide = Case().GetResSlide().GetGraphSet(2);
  slide.minX = 0;
  slide.maxX = 100;
  slide.minY = 0;
  slide.maxY = 500;
  EXPECT_EQ(paint(), own);
  EXPECT_EQ(Case().GetPrmShear().fit.graph.minX, fitGraph.minX);
  EXPECT_EQ(Case().GetPrmShear().fit.graph.maxY, fitGraph.maxY);
}

TEST_F(WordReportTest, DanmenCoordFollowsTheFigureGroup) {
  std::vector<std::string> dumps;
  for (const int group : {1, 2}) {
    RecordingCanvas canvas;
    CViewInfo view(Case().GetViewInfo());
    view.dc = &canvas;
    EXPECT_TRUE(PaintReportFigure(Case(), group, "DANMEN_COORD", view, {0, 0, 960, 600}));
    dumps.push_back(canvas.Dump());
  }
  EXPECT_NE(dumps[0], dumps[1]);
}

TEST_F(WordReportTest, FiguresArePngsOfTheirRectangle) {
  Record();
  ASSERT_EQ(RunMulti(Output("a.docx")), 1);
  int pictures = 0;
  for (const WordCall& call : calls_) {
    if (call.op != "picture") continue;
    ++pictures;
    EXPECT_TRUE(call.value == "960x600" || call.value == "500x450") << call.key << call.value;
  }
  EXPECT_GT(pictures, 4);
}

}  // namespace
