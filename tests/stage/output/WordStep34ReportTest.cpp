// The reports of steps 3 and 4 on the recording template filler: which blocks each writes in
// which order, and what it fills in, on the sample case and on the edge cases of its data.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "core/deformation/ReinfArrange.h"
#include "core/deformation/Reinforce.h"
#include "core/deformation/ResFocus.h"
#include "core/deformation/ResShear.h"
#include "core/deformation/ResSlide.h"
#include "core/model/PrmReinf.h"
#include "core/model/PrmShear.h"
#include "core/model/PrmSlide.h"
#include "core/stability/BlockList.h"
#include "core/stability/MltPoint.h"
#include "core/stability/ResStab2.h"
#include "stage/controls/SheetCell.h"
#include "stage/output/ReportNumberText.h"
#include "stage/output/WordPages.h"
#include "tests/stage/output/WordReportTestSupport.h"

namespace {

constexpr const char* kSetReturn = "ＳｅｔＲｅｔｕｒｎ";
constexpr const char* kFsrHead = "ＺＰ＿ＣＡＬＣ＿ＦＳＲ＿ＧＡＭＭＡＳ＿ＨＥＡＤ";
constexpr const char* kFsrData = "ＺＰ＿ＣＡＬＣ＿ＦＳＲ＿ＧＡＭＭＡＳ＿ＤＡＴＡ";
constexpr const char* kCalc1 = "ＺＰ＿ＳＨＥＡＲ＿ＣＡＬＣ１";
constexpr const char* kCalc2 = "ＺＰ＿ＳＨＥＡＲ＿ＣＡＬＣ２";

class WordStep34ReportTest : public WordReportTest {
 protected:
  WordStep34ReportTest() { Record(); }

  int RunSlide() { return Run(2, 0, Output("slide.docx")); }
  int RunShear() { return Run(3, 0, Output("shear.docx")); }
  int RunFocus() { return Run(3, 1, Output("focus.docx")); }

  // The blocks between the first appending of from and the next appending of to.
  std::vector<std::string> BlocksBetween(const std::string& from, const std::string& to) const {
    const std::vector<std::string> blocks = Blocks();
    auto first = std::find(blocks.begin(), blocks.end(), from);
    if (first == blocks.end()) return {};
    auto last = std::find(first + 1, blocks.end(), to);
    return {first + 1, last};
  }
  // The field's value set before the only (or last) appending of the block.
  std::string FieldOf(const std::string& block, const std::string& field) const {
    const std::vector<std::string> values = FieldBefore(block, field);
    return values.empty() ? "<no block>" : values.back();
  }

  CResSlide& Slide() { return Case().GetResSlide(); }
  CResShear& Shear() { return Case().GetResShear(); }
  CResFocus& Focus() { return Case().GetResFocus(); }

  static std::vector<CShearData> ShearRows(int n) {
    std::vector<CShearData> rows(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i) {
      rows[static_cast<std::size_t>(i)].kh = 0.01 * i;
      rows[static_cast<std::size_t>(i)].dispIncrement = i;
    }
    return rows;
  }
};

// ---- Slide deformation ----

TEST_F(WordStep34ReportTest, SlideReportOpensItsTemplateAndWritesEveryResultRow) {
  ASSERT_TRUE(Slide().IsResult());
  ASSERT_EQ(RunSlide(), 1);
  ASSERT_GE(calls_.size(), 3u);
  EXPECT_EQ(calls_[0].key, "Brixo_SLIDE.docx");
  EXPECT_EQ(calls_[1].value, "1,850,850,850,850,992,850,0");
  const std::vector<std::string> blocks = Blocks();
  ASSERT_FALSE(blocks.empty());
  EXPECT_EQ(blocks.front(), "ＺＰ＿ＣＯＶＥＲ");
  EXPECT_EQ(blocks.back(), "Ｅｎｄ");
  std::vector<std::string> kh;
  std::vector<std::string> gammaS;
  for (const tagSLIDERES& row : Slide().rows) {
    kh.push_back(SetWordDbl(row.kh, 211));
    gammaS.push_back(SetWordDbl(row.gammaS, 995));
  }
  EXPECT_EQ(FieldBefore(kFsrData, "ｋｈ"), kh);
  EXPECT_EQ(FieldBefore(kFsrData, "γｓ"), gammaS);
  // The coefficients reach their block past the blank lines of the page check before it.
  EXPECT_EQ(FieldOf("ＺＰ＿ＣＡＬＣ＿ＦＳＲ＿ＨＩＺＵＭＩ", "ｋｅｉＡ"),
            SetWordDbl(CResSlide::GetKeiA(), 993));
  EXPECT_EQ(FieldOf("ＺＰ＿ＳＬＩＤＥＳＴＲＡＩＮ＿ＪＵＤＧＥ", "Ｊｕｄｇｅ１"),
            Slide().IsJudgeGs() ? "OK" : "OUT");
  // The reference elevation of the height factor stands in the bottom field.
  EXPECT_EQ(FieldOf("ＺＰ＿ＢＬＯＣＫＭＯＤＥＬ＿ＰＡＲＡＭ", "ＢｏｔｔｏｍＹ"),
            SetWordDbl(Case().GetPrmStab().bottomElevation, 351));
  EXPECT_EQ(CountBlocks("ＺＰ＿ＢＬＯＣＫＭＯＤＥＬ＿ＣＡＬＣＣＯＮＤ＿ＤＡＴＡ"),
            Case().GetBlockList().GetBlockSize());
  for (const char* graph : {"GRAPH_FSR", "GRAPH_GAMMAS", "GRAPH_SLIDESTRAIN"}) {
    EXPECT_NE(std::find_if(calls_.begin(), calls_.end(),
                           [&](const WordCall& c) { return c.op == "picture" && c.key == graph; }),
              calls_.end())
        << graph;
  }
}

// The summary has no cover: it begins with its own block and the site fields.
TEST_F(WordStep34ReportTest, SlideSummaryBeginsWithItsBlockAndTheSiteFields) {
  Case().GetPrmJobsite().names = {"現場", "ケース", "備考"};
  Prn().SetPrnMode(2, 1);
  ASSERT_EQ(RunSlide(), 1);
  const std::vector<std::string> blocks = Blocks();
  ASSERT_FALSE(blocks.empty());
  EXPECT_EQ(blocks.front(), "ＺＰ＿ＳＬＩＤＥ＿ＳＵＭＭＡＲＹ");
  EXPECT_EQ(CountBlocks("ＺＰ＿ＣＯＶＥＲ"), 0);
  EXPECT_EQ(CountBlocks(kSetReturn), 0);
  EXPECT_EQ(FieldOf("ＺＰ＿ＳＬＩＤＥ＿ＳＵＭＭＡＲＹ", "Ｓｉｔｅ"), "現場");
  EXPECT_EQ(FieldOf("ＺＰ＿ＳＬＩＤＥ＿ＳＵＭＭＡＲＹ", "Ｒｅｍａｒｋｓ"), "備考");
  EXPECT_EQ(CountBlocks("ＺＰ＿ＳＬＩＤＥＳＴＲＡＩＮ＿ＪＵＤＧＥ"), 1);
}

// An empty arrangement: title and head of the bar table; the thickness calculation (its
// condition holding) writes its head, the mean and the deviation.
TEST_F(WordStep34ReportTest, EmptyArrangementWritesHeadsOnly) {
  CReinfArrange& arrange = Case().GetReinfArrange();
  arrange.RemoveAll();
  Case().GetPrmSlide().h = arrange.GetMeanPlusDeviation();
  ASSERT_EQ(RunSlide(), 1);
  EXPECT_EQ(CountBlocks("ＺＰ＿ＲＥＩＮＦ＿ＡＲＲＡＮＧＥ＿ＨＥＡＤ"), 1);
  EXPECT_EQ(CountBlocks("ＺＰ＿ＲＥＩＮＦ＿ＡＲＲＡＮＧＥ＿ＤＡＴＡ"), 0);
  // Page breaks and blank lines aside.
  std::vector<std::string> written =
      BlocksBetween("ＺＰ＿ＳＬＩＤＥ＿ＣＡＬＣＨ＿ＴＩＴＬＥ", "ＺＰ＿ＳＬＩＤＥ＿ＣＡＬＣＨ");
  std::erase_if(written, [](const std::string& key) {
    return key == kSetReturn || key == "ＳｐａｃｅＬｉｎｅ２";
  });
  EXPECT_EQ(written,
            (std::vector<std::string>{"ＺＰ＿ＳＬＩＤＥ＿ＣＡＬＣＨ＿ＣＡＬＣ＿ＨＥＡＤ",
                                      "ＺＰ＿ＳＬＩＤＥ＿ＣＡＬＣＨ＿ＣＡＬＣ＿ＡＶＥ",
                                      "ＺＰ＿ＳＬＩＤＥ＿ＣＡＬＣＨ＿ＣＡＬＣ＿ＳＩＧＭＡ"}));
}

// h entered by hand, 1e-5 or more away from mean + deviation: only the title and the value.
TEST_F(WordStep34ReportTest, HandEnteredThicknessWritesTitleAndValueOnly) {
  const double statistic = Case().GetReinfArrange().GetMeanPlusDeviation();
  Case().GetPrmSlide().h = (statistic == kNoValue ? 2.0 : statistic) + 1e-5;
  ASSERT_EQ(RunSlide(), 1);
  EXPECT_TRUE(
      BlocksBetween("ＺＰ＿ＳＬＩＤＥ＿ＣＡＬＣＨ＿ＴＩＴＬＥ", "ＺＰ＿ＳＬＩＤＥ＿ＣＡＬＣＨ")
          .empty());
  EXPECT_EQ(FieldOf("ＺＰ＿ＳＬＩＤＥ＿ＣＡＬＣＨ", "ｈ"), SetWordDbl(Case().GetPrmSlide().h, 181));
}

// Δc entered writes no derivation; derived from the bolts it does.
TEST_F(WordStep34ReportTest, DeltaCDerivationOnlyWhenDerived) {
  struct Row {
    int mode;
    int derivations;
  };
  for (const Row row : {Row{CPrmSlide::kDeltaCEntered, 0}, Row{CPrmSlide::kDeltaCDerived, 1}}) {
    calls_.clear();
    Case().GetPrmSlide().deltaCMode = row.mode;
    ASSERT_EQ(RunSlide(), 1);
    EXPECT_EQ(CountBlocks("ＺＰ＿ＳＬＩＤＥ＿ＤＥＬＴＡＣ＿ＣＡＬＣ"), row.derivations) << row.mode;
    EXPECT_EQ(CountBlocks("ＺＰ＿ＳＬＩＤＥ＿ＤＥＬＴＡＣ"), 1);
  }
}

TEST_F(WordStep34ReportTest, WithoutWaterUIsADash) {
  Case().GetPrmStab().waterOn = 0;
  ASSERT_EQ(RunSlide(), 1);
  EXPECT_EQ(FieldOf("ＺＰ＿ＳＴＡＢ＿ＲＥＳＵＬＴ＿ＶＡＬＵＥ", "Ｕ"), "－");
}

// A result table longer than a page: 3 head lines and 43 rows fill the first page, then the head
// comes again on the next.
TEST_F(WordStep34ReportTest, ResultTableOverAPageRepeatsItsHeadAfter43Rows) {
  Slide().rows.assign(50, Slide().rows.front());
  ASSERT_EQ(RunSlide(), 1);
  const std::vector<std::string> table = BlocksBetween(kFsrHead, "ＳｐａｃｅＬｉｎｅ２");
  ASSERT_EQ(table.size(), 43u + 2u + 7u);
  EXPECT_EQ(std::count(table.begin(), table.begin() + 43, kFsrData), 43);
  EXPECT_EQ(table[43], kSetReturn);
  EXPECT_EQ(table[44], kFsrHead);
  EXPECT_EQ(std::count(table.begin() + 45, table.end(), kFsrData), 7);
}

// A typical point naming blocks beyond the list (block 12 of 8): the length table keeps its head
// and an empty sum, the stability sums stay empty, and the report is still written.
TEST_F(WordStep34ReportTest, TypicalPointBeyondTheBlocksLeavesTheSumsEmpty) {
  CMltPoint* point = Case().GetResStab2().GetSelectRepPt(1);
  ASSERT_NE(point, nullptr);
  ASSERT_LT(Case().GetBlockList().GetBlockSize(), 12);
  point->endBlock = 11;
  ASSERT_EQ(RunSlide(), 1);
  EXPECT_EQ(CountBlocks("ＺＰ＿ＳＬＩＤＥ＿ＣＡＬＣ＿ＬＥＮＧＴＨ＿ＤＡＴＡ"), 0);
  EXPECT_EQ(FieldOf("ＺＰ＿ＳＬＩＤＥ＿ＣＡＬＣ＿ＬＥＮＧＴＨ＿ＳＵＭ", "ｄ"), "");
  EXPECT_EQ(FieldOf("ＺＰ＿ＳＬＩＤＥ＿ＣＡＬＣ＿ＬＥＮＧＴＨ＿ＳＵＭ", "Ｌ"), "");
  EXPECT_EQ(FieldOf("ＺＰ＿ＳＴＡＢ＿ＲＥＳＵＬＴ＿ＶＡＬＵＥ", "ｌ"), "<unset>");
  EXPECT_EQ(FieldOf("ＺＰ＿ＳＴＡＢ＿ＲＥＳＵＬＴ＿ＶＡＬＵＥ", "ｅＢＬＯＣＫ"), "12");
  EXPECT_EQ(Blocks().back(), "Ｅｎｄ");
}

// ---- Shear deformation ----

// Five rows to a block, the last group too however short: 40 rows give eight blocks, 43 rows
// nine, and no rows one first block with the common fields only.
TEST_F(WordStep34ReportTest, CalculationGroupsOfFiveKeepEveryRow) {
  struct Row {
    int rows;
    int calc2;
  };
  for (const Row row : {Row{40, 7}, Row{43, 8}, Row{0, 0}, Row{3, 0}}) {
    calls_.clear();
    Shear().rows = ShearRows(row.rows);
    ASSERT_EQ(RunShear(), 1);
    EXPECT_EQ(CountBlocks(kCalc1), 1) << row.rows;
    EXPECT_EQ(CountBlocks(kCalc2), row.calc2) << row.rows;
  }
  // The 43-row run: the last block holds rows 41 to 43 and leaves its last two places empty.
  Shear().rows = ShearRows(43);
  calls_.clear();
  ASSERT_EQ(RunShear(), 1);
  EXPECT_EQ(FieldOf(kCalc2, "ｋｈ３"), SetWordDbl(0.42, 992));
  EXPECT_EQ(FieldOf(kCalc2, "ｋｈ４"), "<unset>");
  EXPECT_EQ(FieldOf(kCalc2, "ｋｈ５"), "<unset>");
  EXPECT_EQ(FieldOf(kCalc1, "ＢａｒＤ"), SetWordDbl(22.0, 991));
}

// The row with kh = 0 shows a dash for its increment; the others their increment.
TEST_F(WordStep34ReportTest, ZeroKhShowsADashForTheIncrement) {
  Shear().rows = ShearRows(2);
  ASSERT_EQ(RunShear(), 1);
  EXPECT_EQ(FieldOf(kCalc1, "δ１"), "－");
  EXPECT_EQ(FieldOf(kCalc1, "δ２"), SetWordDbl(1.0, 990));
}

// ERB 2.0 (units of 1e8) is written as stored in the input block and as 2.00E+8 in the
// calculation block and the summary.
TEST_F(WordStep34ReportTest, ErbInBothForms) {
  Case().GetPrmShear().erb = 2.0;
  ASSERT_EQ(RunShear(), 1);
  EXPECT_EQ(FieldOf("ＺＰ＿ＳＨＥＡＲ＿ＲＥＩＮＦ", "ＥＲＢ"), SetWordDbl(2.0, 992));
  EXPECT_EQ(FieldOf(kCalc1, "ＥＲＢ"), DblToExpText(2, 2.0e8));
  calls_.clear();
  Prn().SetPrnMode(3, 1);
  ASSERT_EQ(RunShear(), 1);
  EXPECT_EQ(FieldOf("ＺＰ＿ＳＨＥＡＲ＿ＳＵＭＭＡＲＹ２", "ＥＲＢ"), DblToExpText(2, 2.0e8));
  EXPECT_EQ(Blocks(), (std::vector<std::string>{"ＺＰ＿ＳＨＥＡＲ＿ＳＵＭＭＡＲＹ",
                                                "ＺＰ＿ＳＨＥＡＲ＿ＳＵＭＭＡＲＹ２", "Ｅｎｄ"}));
}

// Fitted to test values: an invalid test point is skipped without a gap.
TEST_F(WordStep34ReportTest, InvalidTestPointIsSkipped) {
  CFit& fit = Case().GetPrmShear().fit;
  fit.mode = CFit::kModeTestValues;
  for (CFitData& point : fit.points) point.Init();
  fit.points[0].strain = 1e-4;
  fit.points[0].measured = 0.9;
  fit.points[1].strain = 1e-3;  // no measured value
  fit.points[2].strain = 1e-2;
  fit.points[2].measured = 0.5;
  ASSERT_EQ(RunShear(), 1);
  EXPECT_EQ(FieldBefore("ＺＰ＿ＦＩＴＣＵＲＶＥ＿ＴＥＳＴ＿ＤＡＴＡ", "ＧＧ０"),
            (std::vector<std::string>{SetWordDbl(0.9, 995), SetWordDbl(0.5, 995)}));
  calls_.clear();
  fit.mode = CFit::kModeCoefficients;
  ASSERT_EQ(RunShear(), 1);
  EXPECT_EQ(CountBlocks("ＺＰ＿ＦＩＴＣＵＲＶＥ＿ＴＥＳＴ"), 0);
}

// ---- Local failure ----

TEST_F(WordStep34ReportTest, FocusReportWritesTheResultsAndJudgements) {
  ASSERT_TRUE(Focus().IsResult());
  ASSERT_EQ(RunFocus(), 1);
  EXPECT_EQ(calls_[0].key, "Brixo_SHEAR.docx");
  EXPECT_EQ(FieldOf("ＺＰ＿ＣＯＶＥＲ", "Ｔｉｔｌｅ"), "局所破壊計算書");
  // The unit word "本" counts ropes; the unit reads it in brackets.
  EXPECT_EQ(FieldOf("ＺＰ＿ＦＯＣＵＳ＿ＩＮＰＵＴＤＡＴＡ", "ＵＮＩＴ"), "(本)");
  EXPECT_EQ(FieldOf("ＺＰ＿ＦＯＣＵＳ＿ＩＮＰＵＴＤＡＴＡ", "ｎＮａｍｅ"),
            "土塊ブロック内の横ロープ本数");
  EXPECT_EQ(FieldOf("ＺＰ＿ＦＯＣＵＳ＿Ｔ", "Ｔ"), SetWordDbl(Focus().GetT(), 992));
  EXPECT_EQ(FieldOf("ＺＰ＿ＦＯＣＵＳ＿ＴＲＮＡ", "ＦｓＲＮ"), SetWordDbl(Focus().fsRN, 163));
  // The allowable-force title follows the 21 lines of the force section after two blank lines.
  EXPECT_EQ(BlocksBetween("ＺＰ＿ＦＯＣＵＳ＿ＣＡＬＣ＿ＴＲＮ",
                          "ＺＰ＿ＦＯＣＵＳ＿ＣＡＬＣ＿Ｔ＿ＴＩＴＬＥ"),
            (std::vector<std::string>{"ＳｐａｃｅＬｉｎｅ２", "ＳｐａｃｅＬｉｎｅ２"}));
}

// T is the smaller set allowable force; FsRN equal to the required one passes.
TEST_F(WordStep34ReportTest, AllowableForceAndSafetyFactorJudgements) {
  struct Row {
    double t2pa;
    double tsa;
    double t;
    const char* judgeT;
  };
  for (const Row row : {Row{kNoValue, 80.0, 80.0, "OK"}, Row{kNoValue, kNoValue, kNoValue, "OUT"},
                        Row{60.0, 80.0, 60.0, "OK"}}) {
    calls_.clear();
    Focus().tpa = row.t2pa;
    Focus().tsa = row.tsa;
    Focus().trb = 10.0;
    Focus().fsRN = Focus().requiredFsRN;
    ASSERT_EQ(RunFocus(), 1);
    EXPECT_EQ(FieldOf("ＺＰ＿ＦＯＣＵＳ＿Ｔ", "Ｔ"), SetWordDbl(row.t, 992)) << row.tsa;
    EXPECT_EQ(FieldOf("ＺＰ＿ＦＯＣＵＳ＿Ｔ", "ＪｕｄｇｅＴ"), row.judgeT) << row.tsa;
    EXPECT_EQ(FieldOf("ＺＰ＿ＦＯＣＵＳ＿ＴＲＮＡ", "ＪｕｄｇｅＦｓＲＮ"), "OK");
  }
}

// The summary reads the first bar's length; without a bar it stays empty.
TEST_F(WordStep34ReportTest, FocusSummaryWithoutABarLeavesItsLengthEmpty) {
  Prn().SetPrnMode(3, 1);
  ASSERT_EQ(RunFocus(), 1);
  EXPECT_EQ(FieldOf("ＺＰ＿ＦＯＣＵＳ＿ＳＵＭＭＡＲＹ２", "ＢａｒＬ"),
            SetWordDbl(Case().GetReinfArrange().GetAt(0)->length, 992));
  calls_.clear();
  Case().GetReinfArrange().RemoveAll();
  ASSERT_EQ(RunFocus(), 1);
  EXPECT_EQ(FieldOf("ＺＰ＿ＦＯＣＵＳ＿ＳＵＭＭＡＲＹ２", "ＢａｒＬ"), "");
  EXPECT_EQ(Blocks(), (std::vector<std::string>{"ＺＰ＿ＦＯＣＵＳ＿ＳＵＭＭＡＲＹ",
                                                "ＺＰ＿ＦＯＣＵＳ＿ＳＵＭＭＡＲＹ２", "Ｅｎｄ"}));
}

// A page holding 22 lines or more before the allowable-force section breaks before its title.
TEST(WordPagesTest, TwentyTwoLinesBreakBeforeTheAllowableForceTitle) {
  std::vector<WordCall> calls;
  RecordingTemplate word(calls);
  WordPages pages(word);
  pages.SetLines(22);
  pages.CheckPageReturn(21, 2);
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_EQ(calls[0].key, kSetReturn);
  EXPECT_EQ(pages.Lines(), 0);
}

}  // namespace
