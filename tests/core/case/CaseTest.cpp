#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "core/base/CoreConfig.h"
#include "core/case/Case.h"
#include "core/deformation/Reinforce.h"
#include "core/geometry/ViewInfo.h"
#include "core/section/SpStratum.h"
#include "platform/Archive.h"
#include "platform/RecordingCanvas.h"
#include "tests/support/BitDigest.h"
#include "tests/support/RecordBytes.h"
#include "tests/support/SampleDocument.h"
#include "tests/support/ScriptedUi.h"

namespace {

std::vector<std::uint8_t> Stored(const CCase& c, int version = 10) {
  Archive ar;
  c.Store(ar, version);
  return ar.Bytes();
}

template <class T>
std::vector<std::uint8_t> RecordOf(const T& member) {
  Archive ar;
  member.Store(ar, 10);
  return ar.Bytes();
}

void LoadInto(CCase& c, const std::vector<std::uint8_t>& bytes, int version = 10) {
  Archive ar(bytes);
  c.Load(ar, version);
}

// A case filled from the sample section, built once per test. Its ground carries a text list,
// which nothing but copy, load and store touches.
class FilledCase : public testing::Test {
 protected:
  FilledCase() {
    FillSampleCase(filled_, 0);
    filled_.GetGround().SetTextList({"測点 No.3", "踏査メモ"});
  }
  CCase filled_;
};

// ---- The slot record ----

TEST(CaseSlotTest, AnEmptySlotIsItsInUseFlagAlone) {
  const CCase empty;
  EXPECT_EQ(Stored(empty), RecordBytes().Int(0).Get());
}

TEST_F(FilledCase, AnEmptySlotLoadsIntoTheInUseFlagAlone) {
  CCase reference;
  reference.Copy(&filled_);
  LoadInto(filled_, RecordBytes().Int(0).Get());
  EXPECT_EQ(filled_.GetInUse(), 0);
  EXPECT_TRUE(filled_.IsSame(&reference));
  EXPECT_EQ(filled_.GetBlockList().GetBlockSize(), reference.GetBlockList().GetBlockSize());
}

TEST_F(FilledCase, StoreLoadStoreGivesTheSameBytesAndAnEqualCase) {
  const std::vector<std::uint8_t> bytes = Stored(filled_);
  CCase loaded;
  LoadInto(loaded, bytes);
  EXPECT_EQ(Stored(loaded), bytes);
  EXPECT_TRUE(loaded.IsSame(&filled_));
  EXPECT_EQ(loaded.GetResStab2().GetSerial().size(), filled_.GetResStab2().GetSerial().size());
  EXPECT_TRUE(loaded.IsResStab());
}

TEST_F(FilledCase, ARecordThatEndsEarlyChangesNothing) {
  std::vector<std::uint8_t> bytes = Stored(filled_);
  bytes.resize(bytes.size() - 3);
  CCase target;
  FillSampleCase(target, 1);
  const std::vector<std::uint8_t> before = Stored(target);
  EXPECT_THROW(LoadInto(target, bytes), ArchiveException);
  EXPECT_EQ(Stored(target), before);
}

// A loaded division of more than two blocks counts as confirmed; one of two stays as stored.
TEST_F(FilledCase, LoadingConfirmsADivisionOfMoreThanTwoBlocks) {
  struct Row {
    int cuts;
    bool confirmed;
  };
  for (const Row row : {Row{4, true}, Row{3, false}}) {
    CBlockList& blocks = filled_.GetBlockList();
    std::vector<double> xs;
    for (int k = 0; k < row.cuts; ++k) xs.push_back(12.0 + 3.0 * k);
    blocks.CopyStX(xs);
    ASSERT_EQ(blocks.CreateBlock(nullptr, nullptr), row.cuts - 1);
    blocks.SetConfirmed(false);
    CCase loaded;
    LoadInto(loaded, Stored(filled_));
    EXPECT_EQ(loaded.GetBlockList().IsConfirmed(), row.confirmed) << row.cuts - 1 << " blocks";
  }
}

// A stored seismic row that names blocks the stored division does not hold has no slide line:
// the load keeps the bolts' heights instead of failing.
TEST_F(FilledCase, ARowBeyondTheBlocksLeavesTheBoltHeights) {
  CMltPoint* row = filled_.GetQuakeSelectPoint();
  ASSERT_NE(row, nullptr);
  row->startBlock = 40;
  row->endBlock = 45;
  const std::vector<std::uint8_t> bolts = RecordOf(filled_.GetReinfArrange());
  CCase loaded;
  LoadInto(loaded, Stored(filled_));
  EXPECT_EQ(loaded.GetQuakeSelectPoint()->endBlock, 45);
  EXPECT_EQ(RecordOf(loaded.GetReinfArrange()), bolts);
  CCase copied;
  copied.Copy(&filled_);
  EXPECT_EQ(RecordOf(copied.GetReinfArrange()), bolts);
}

// ---- Copy, IsSame, IsValid ----

TEST_F(FilledCase, CopyMakesAnEqualCaseWithTheResultsButKeepsTheModifiedFlag) {
  CCase copy;
  copy.SetModify(true);
  copy.Copy(&filled_);
  EXPECT_TRUE(copy.IsSame(&filled_));
  EXPECT_TRUE(copy.IsModified());
  EXPECT_EQ(copy.GetInUse(), 1);
  EXPECT_EQ(Stored(copy), Stored(filled_));
  EXPECT_FALSE(copy.IsValid());
}

TEST_F(FilledCase, ACopyOfACaseWithoutStratumPolygonsHasNone) {
  ASSERT_NE(filled_.GetGround().GetPolyArray(), nullptr);
  ASSERT_NE(filled_.GetGroundDiv().GetPolyArray(), nullptr);
  CCase bare;
  bare.SetInUse(1);
  bare.GetGround().Copy(&filled_.GetGround());
  bare.GetGround().SetPolyArray(nullptr);
  filled_.Copy(&bare);
  EXPECT_EQ(filled_.GetGround().GetPolyArray(), nullptr);
  EXPECT_EQ(filled_.GetGroundDiv().GetPolyArray(), nullptr);
}

TEST_F(FilledCase, IsSameSeesEveryComparedMember) {
  struct Change {
    const char* what;
    void (*apply)(CCase&);
  };
  const Change changes[] = {
      {"site name", [](CCase& c) { c.GetPrmJobsite().names[0] = "別"; }},
      {"grid", [](CCase& c) { c.GetPrmGrid().x2 += 10; }},
      {"ground", [](CCase& c) { c.GetGround().GetAt(0)->y += 1; }},
      {"stratum name", [](CCase& c) { c.GetStratum().GetAt(0)->SetName("境界"); }},
      {"water", [](CCase& c) { c.GetWater().GetAt(0)->y += 1; }},
      {"stability", [](CCase& c) { c.GetPrmStab().kh = 0.3; }},
      {"bolts", [](CCase& c) { c.GetReinfArrange().RemoveAll(); }},
      {"reinforcement", [](CCase& c) { c.GetPrmReinf().tauP1 = 0.2; }},
      {"slide", [](CCase& c) { c.GetPrmSlide().h = 3.0; }},
      {"shear", [](CCase& c) { c.GetPrmShear().theta = 20.0; }},
  };
  for (const Change& change : changes) {
    CCase other;
    other.Copy(&filled_);
    change.apply(other);
    EXPECT_FALSE(other.IsSame(&filled_)) << change.what;
  }
  CCase resultsOnly;
  resultsOnly.Copy(&filled_);
  resultsOnly.ClearResult(true, true, true, true);
  EXPECT_TRUE(resultsOnly.IsSame(&filled_));
  EXPECT_FALSE(resultsOnly.IsResStab());
  EXPECT_FALSE(resultsOnly.GetResFocus().IsResult());
  EXPECT_FALSE(resultsOnly.IsResShear());
  EXPECT_FALSE(resultsOnly.IsResSlide());
}

// ---- Results made stale by an edit ----

// Which result sets a case holds: back analysis, stability, slide, shear, rope-net check.
using HeldResults = std::tuple<bool, bool, bool, bool, bool>;

HeldResults Held(CCase& c) {
  return {c.GetResStabGyaku().GetResult() != nullptr, c.GetResStab2().GetResult() != nullptr,
          c.GetResSlide().IsResult(), c.GetResShear().IsResult(), c.GetResFocus().IsResult()};
}

// An edit of a calculation input clears the results that read it and keeps the others.
TEST_F(FilledCase, AnEditedInputClearsExactlyTheResultsThatReadIt) {
  filled_.GetPrmStab().gyakuOn = 1;
  filled_.GetPrmStab().assumedFs = 1.0;
  ASSERT_TRUE(filled_.PreCalcStabGyaku(false));
  filled_.CalcStartStabGyaku();
  constexpr bool kCleared = false;
  constexpr bool kKept = true;
  const struct {
    CalcInput edited;
    const char* what;
    HeldResults left;
  } rows[] = {
      {CalcInput::kTerrain, "terrain", {kCleared, kCleared, kCleared, kCleared, kCleared}},
      {CalcInput::kSlopeDirection,
       "slope direction",
       {kCleared, kCleared, kCleared, kCleared, kCleared}},
      {CalcInput::kSoilConstants, "soil", {kCleared, kCleared, kCleared, kCleared, kCleared}},
      {CalcInput::kStabilityConditions,
       "stability conditions",
       {kCleared, kCleared, kCleared, kCleared, kCleared}},
      {CalcInput::kBlockDivision, "blocks", {kCleared, kCleared, kCleared, kCleared, kCleared}},
      {CalcInput::kRoundingRules, "rounding", {kCleared, kCleared, kCleared, kCleared, kCleared}},
      {CalcInput::kBackAnalysisStrength,
       "back-analysis strength",
       {kKept, kCleared, kCleared, kCleared, kCleared}},
      {CalcInput::kBarArrangement, "drain bars", {kKept, kKept, kCleared, kCleared, kCleared}},
      {CalcInput::kSlideConditions, "slide conditions", {kKept, kKept, kCleared, kKept, kKept}},
      {CalcInput::kShearConditions, "shear conditions", {kKept, kKept, kKept, kCleared, kCleared}},
      {CalcInput::kFirstBolt, "bolt of the rope-net check", {kKept, kKept, kKept, kKept, kCleared}},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.what);
    CCase edited;
    edited.Copy(&filled_);
    ASSERT_EQ(Held(edited), HeldResults(kKept, kKept, kKept, kKept, kKept));
    edited.ClearResultsReading(row.edited);
    EXPECT_EQ(Held(edited), row.left);
    EXPECT_TRUE(edited.IsSame(&filled_));  // the inputs stay as they were
  }
}

// ---- Pre-checks ----

struct CheckRow {
  const char* name;
  bool (CCase::*check)(bool) const;
  std::string reasons;
};

TEST(CasePreCheckTest, AnEmptyCaseShowsOneBoxWithItsReasonsInOrder) {
  const CheckRow rows[] = {
      {"stability", &CCase::IsCalcStab,
       "\n・地層がありません。\n・土質定数が入力されていません。"
       "\n・計画安全率、設計水平震度が入力されていません。\n・ブロック分割がされていません。"},
      {"back analysis", &CCase::IsCalcStabGyaku,
       "\n・地層がありません。\n・土質定数が入力されていません。\n・仮定安全率が入力されていません"
       "。"
       "\n・ブロック分割がされていません。"},
      {"slide", &CCase::IsCalcSlide,
       "\n・地層がありません。\n・土質定数が入力されていません。\n・ブロック分割がされていません。"
       "\n・すべり変形解析の計算条件が入力されていません。\n・地震時の結果が登録されていません。"},
      {"shear", &CCase::IsCalcShear,
       "\n・地層がありません。\n・土質定数が入力されていません。\n・ブロック分割がされていません。"
       "\n・対策工諸元が入力されていません。\n・せん断変形解析の計算条件が入力されていません。"
       "\n・地震時の結果が登録されていません。"},
  };
  for (const CheckRow& row : rows) {
    const CCase empty;
    const size_t before = TestUi().MessageBoxes().size();
    TestUi().ExpectMessageBox(MsgResult::Ok, CCase::kCannotCalc + row.reasons);
    EXPECT_FALSE((empty.*row.check)(true)) << row.name;
    ASSERT_EQ(TestUi().MessageBoxes().size(), before + 1) << row.name;
    EXPECT_EQ(TestUi().MessageBoxes().back().buttons, MsgButtons::Ok);
    EXPECT_FALSE((empty.*row.check)(false)) << row.name;  // silently
  }
}

TEST_F(FilledCase, AFilledCasePassesEveryCheckButTheBackAnalysis) {
  EXPECT_TRUE(filled_.IsCalcStab(true));
  EXPECT_TRUE(filled_.IsCalcSlide(true));
  EXPECT_TRUE(filled_.IsCalcShear(true));
  EXPECT_FALSE(filled_.IsCalcStabGyaku(false));
  filled_.GetPrmStab().gyakuOn = 1;
  EXPECT_TRUE(filled_.IsCalcStabGyaku(true));
}

TEST_F(FilledCase, ABoltWithoutExtraLengthIsAskedAboutOnlyWhenShowing) {
  filled_.GetReinfArrange().GetAt(0)->extraLength = 0.0;
  EXPECT_TRUE(filled_.PreCalcSlide(false));
  TestUi().ExpectMessageBox(MsgResult::No,
                            "余長が 0.00m のロックボルトが設定されています。\n"
                            "このまま計算を開始してもよろしいですか？");
  EXPECT_FALSE(filled_.PreCalcShear(true));
  EXPECT_EQ(TestUi().MessageBoxes().back().buttons, MsgButtons::YesNo);
  EXPECT_EQ(TestUi().MessageBoxes().back().icon, MsgIcon::Question);
  TestUi().ExpectMessageBox(MsgResult::Yes);
  EXPECT_TRUE(filled_.PreCalcSlide(true));
}

TEST_F(FilledCase, TheStabilityCalculationFillsTheResultSet) {
  const CResStab2& results = filled_.GetResStab2();
  const int blocks = filled_.GetBlockList().GetBlockSize();
  ASSERT_EQ(blocks, 6);
  ASSERT_NE(results.GetResult(), nullptr);
  EXPECT_EQ(results.GetResult()->GetSize(), blocks * (blocks - 1) / 2);
  EXPECT_TRUE(filled_.IsResStab());
  const CMltPoint* quake = filled_.GetQuakeSelectPoint();
  ASSERT_NE(quake, nullptr);
  EXPECT_NE(quake->fsQ, kNoValue);
  EXPECT_NE(filled_.GetReinfArrange().GetMeanH(), kNoValue);  // heights on that run's slide line
}

TEST_F(FilledCase, TheSlideCalculationOnTheRegisteredRowFillsTheStep3Results) {
  EXPECT_TRUE(filled_.IsResSlide());
  EXPECT_FALSE(filled_.GetResSlide().rows.empty());
  filled_.ClearResult(false, false, true, false);
  EXPECT_FALSE(filled_.IsResSlide());
  EXPECT_TRUE(filled_.GetResSlide().rows.empty());
  ASSERT_TRUE(filled_.PreCalcSlide(true));
  filled_.CalcStartSlide();
  EXPECT_TRUE(filled_.IsResSlide());
  EXPECT_FALSE(filled_.GetResSlide().rows.empty());
}

TEST_F(FilledCase, TheShearCalculationOnTheRegisteredRowFillsTheStep4Results) {
  EXPECT_TRUE(filled_.IsResShear());
  EXPECT_FALSE(filled_.GetResShear().rows.empty());
  EXPECT_TRUE(filled_.GetResFocus().IsResult());
  filled_.ClearResult(false, false, false, true);
  EXPECT_FALSE(filled_.IsResShear());
  EXPECT_TRUE(filled_.GetResShear().rows.empty());
  ASSERT_TRUE(filled_.PreCalcShear(true));
  filled_.CalcStartShear();
  EXPECT_FALSE(filled_.GetResShear().rows.empty());
}

// The records of the step-3 and step-4 results of the sample case keep every bit: the marches run
// as prepare, process and post, in the order of operations they always had.
TEST_F(FilledCase, TheSlideAndShearResultsKeepEveryBitOfTheirRecords) {
  BitDigest slide;
  slide.Add(RecordOf(filled_.GetResSlide()));
  EXPECT_EQ(slide.Value(), 3770084442376192648u);
  BitDigest shear;
  shear.Add(RecordOf(filled_.GetResShear()));
  EXPECT_EQ(shear.Value(), 4385158322334260423u);
}

// ---- Section data and geometry ----

TEST(CaseSectionTest, SectionDataByTypeAndIndex) {
  CCase c;
  struct Row {
    int type;
    int index;
    CDanmenStab* expected;
  };
  const Row rows[] = {
      {0, 0, c.GetDanmenStabData(0, 0)}, {1, 0, c.GetDanmenStabData(0, 0)}, {0, 2, nullptr},
      {1, 1, c.GetDanmenStabData(0, 1)}, {3, 1, c.GetDanmenStabData(3, 0)}, {4, 0, nullptr},
  };
  for (const Row& row : rows) {
    EXPECT_EQ(c.GetDanmenStabData(row.type, row.index), row.expected) << row.type << row.index;
  }
  EXPECT_NE(c.GetDanmenStabData(0, 0), c.GetDanmenStabData(0, 1));
  EXPECT_NE(c.GetDanmenStabData(2, 0), c.GetDanmenStabData(3, 0));
  EXPECT_EQ(c.GetDanmenStabData(0, 0)->GetCalcMode(), CDanmenStab::kCalcNormal);
  for (int type : {1, 2, 3}) {
    EXPECT_EQ(c.GetDanmenStabData(type, type == 1 ? 1 : 0)->GetCalcMode(), CDanmenStab::kCalcQuake);
  }
}

TEST_F(FilledCase, TheDirectionFollowsTheSiteSetting) {
  const int directions[] = {CPrmJobsite::kDirectionRightUpper, CPrmJobsite::kDirectionAuto, 2};
  const bool expected[] = {true, true, false};  // the sample slope rises to the right
  for (int i = 0; i < 3; ++i) {
    filled_.GetPrmJobsite().direction = directions[i];
    EXPECT_EQ(filled_.IsRightUpper(), expected[i]) << directions[i];
  }
}

TEST_F(FilledCase, TheChosenStratumGivesTheBlockStrengthUnlessBackAnalysed) {
  double gammaT = 0, gammaSat = 0, c = 0, phi = 0;
  filled_.GetBlockGanmaCFai(gammaT, gammaSat, c, phi);
  EXPECT_EQ(gammaT, 18.0);
  EXPECT_EQ(gammaSat, 19.0);
  EXPECT_EQ(c, 10.0);
  EXPECT_EQ(phi, 25.0);
  filled_.GetPrmStab().gyakuOn = 1;
  filled_.GetResStabGyaku().adopted = {7.5, 21.0, 0.38, kNoValue};
  filled_.GetBlockGanmaCFai(gammaT, gammaSat, c, phi);
  EXPECT_EQ(c, 7.5);
  EXPECT_EQ(phi, 21.0);
  filled_.GetBlockList().SetStratumIndex(-1);
  filled_.GetBlockGanmaCFai(gammaT, gammaSat, c, phi);
  EXPECT_EQ(gammaT, kNoValue);
  EXPECT_EQ(phi, kNoValue);
}

// Gives every stratum polygon of the ground c and phi from the table, as the soil dialog stores
// them: the block division is made anew on the new soils.
void TypeSoils(CCase& c, const std::vector<std::pair<double, double>>& soils) {
  CDPolyArray& polygons = *c.GetGround().GetPolyArray();
  for (int i = 0; i < polygons.GetSize(); ++i) {
    tagSATURATE& soil = *dynamic_cast<CSpStratumBlock*>(polygons.GetAt(i))->GetPropStructure();
    std::tie(soil.c, soil.phi) = soils[static_cast<std::size_t>(i) % soils.size()];
  }
  c.GetBlockList().CreateBlock(nullptr, nullptr);
  c.CreateDivisionDanmen();
}

// In block mode the calculations read the divided ground, whose polygons carry copies of the
// soils: rounding keeps the division, and the next run equals a run on the rounded values typed
// in.
TEST_F(FilledCase, RoundingTheSoilsKeepsTheDivisionAndReachesTheNextRun) {
  ASSERT_NE(filled_.IsStratumBlockMode(), 0);
  CUnitFilter rules;
  rules.digitsCohesion = 2;
  rules.digitsFriction = 1;
  CCoreConfig::SetUnitFilter(rules);
  TypeSoils(filled_, {{10.123456, 25.654321}, {12.3456, 30.12345}, {20.005, 33.349}});
  CCase typed;
  typed.Copy(&filled_);
  TypeSoils(typed, {{10.12, 25.7}, {12.35, 30.1}, {20.01, 33.3}});

  const std::vector<std::uint8_t> division = RecordOf(filled_.GetBlockList());
  filled_.UnitDataRound();
  EXPECT_EQ(RecordOf(filled_.GetBlockList()), division);
  ASSERT_NE(filled_.IsStratumBlockMode(), 0);
  const CDPolyArray& rounded = *filled_.GetGroundDiv().GetPolyArray();
  const CDPolyArray& expected = *typed.GetGroundDiv().GetPolyArray();
  ASSERT_EQ(rounded.GetSize(), expected.GetSize());
  for (int i = 0; i < rounded.GetSize(); ++i) {
    const tagSATURATE& r =
        *dynamic_cast<const CSpStratumBlock*>(rounded.GetAt(i))->GetPropStructure();
    const tagSATURATE& t =
        *dynamic_cast<const CSpStratumBlock*>(expected.GetAt(i))->GetPropStructure();
    EXPECT_DOUBLE_EQ(r.c, t.c) << i;
    EXPECT_DOUBLE_EQ(r.phi, t.phi) << i;
  }

  for (CCase* c : {&filled_, &typed}) {
    ASSERT_TRUE(c->PreCalcStab(false));
    c->CalcStartStab();
  }
  const std::vector<CMltPoint*>& runs = filled_.GetResStab2().GetSerial();
  const std::vector<CMltPoint*>& typedRuns = typed.GetResStab2().GetSerial();
  ASSERT_EQ(runs.size(), typedRuns.size());
  ASSERT_FALSE(runs.empty());
  for (std::size_t i = 0; i < runs.size(); ++i) {
    EXPECT_EQ(runs[i]->fsN, typedRuns[i]->fsN) << i;
    EXPECT_EQ(runs[i]->fsQ, typedRuns[i]->fsQ) << i;
  }
}

TEST_F(FilledCase, TheAutomaticGridReachesThePitchesAroundTheShapes) {
  const CPrmGrid& grid = filled_.GetPrmGrid();
  // Shapes from x 0 to 30 and y -5 to 15; 10 m below the lowest point.
  EXPECT_EQ(grid.x1, 0.0);
  EXPECT_EQ(grid.x2, 30.0);
  EXPECT_EQ(grid.y1, -20.0);
  EXPECT_EQ(grid.y2, 20.0);
  EXPECT_EQ(filled_.GetBottomYPoint(true), -5.0);
}

TEST_F(FilledCase, EachStepDrawsOnAWhiteBackground) {
  for (int step = 0; step < 4; ++step) {
    RecordingCanvas canvas;
    CViewInfo view;
    view.dc = &canvas;
    view.rect = DevRect{0, 0, 800, 600};
    view.width = 800;
    view.height = 600;
    filled_.Draw(&view, step);
    ASSERT_FALSE(canvas.Primitives().empty()) << step;
    EXPECT_EQ(canvas.Primitives().front().kind, PrimitiveKind::FillRect) << step;
    EXPECT_GT(canvas.Primitives().size(), 20u) << step;
  }
}

// The mouse reaches the picked vertex of the section being edited only while editing is on.
TEST_F(FilledCase, TheMouseMovesThePickedVertexOnlyWhileEditing) {
  filled_.SetCurDanmen(&filled_.GetDanmen());
  filled_.SetCurDanmenMouseMove(kKindGround, 2, -1);
  EXPECT_EQ(filled_.GetDanmen().GetCurShapeKind(), kKindGround);
  EXPECT_EQ(filled_.GetDanmen().GetCurPointId1(), 2);
  RecordingCanvas canvas;
  CViewInfo view;
  view.dc = &canvas;
  filled_.OnMouseMove(&view, CDPoint(12.5, 5.5));
  EXPECT_TRUE(canvas.Primitives().empty());
  filled_.SetMouseEdit(true);
  filled_.OnMouseMove(&view, CDPoint(12.5, 5.5));
  EXPECT_FALSE(canvas.Primitives().empty());  // the rubber band to both neighbours
  filled_.SetDrawPtr();
  const size_t drawn = canvas.Primitives().size();
  filled_.OnMouseMove(&view, CDPoint(13.0, 6.0));
  EXPECT_EQ(canvas.Primitives().size(), drawn);  // no edit target after SetDrawPtr
}

// Each print figure draws more than the grid alone where it has more to show.
TEST_F(FilledCase, ThePrintFiguresDrawBeyondTheGrid) {
  struct Figure {
    const char* name;
    void (*draw)(const CCase&, CViewInfo*);
  };
  const Figure figures[] = {
      {"grid", [](const CCase& c, CViewInfo* v) { c.DrawPrnRepeat(v); }},
      {"coord 1", [](const CCase& c, CViewInfo* v) { c.DrawPrnCoord(v, 1, true); }},
      {"coord 2", [](const CCase& c, CViewInfo* v) { c.DrawPrnCoord(v, 2, true); }},
      {"blocks", [](const CCase& c, CViewInfo* v) { c.DrawPrnBlock(v, 1); }},
      {"multi normal", [](const CCase& c, CViewInfo* v) { c.DrawPrnMulti(v, 1, 0); }},
      {"multi seismic", [](const CCase& c, CViewInfo* v) { c.DrawPrnMulti(v, 1, 1); }},
  };
  size_t gridOnly = 0;
  for (const Figure& figure : figures) {
    RecordingCanvas canvas;
    CViewInfo view;
    view.dc = &canvas;
    view.width = 800;
    view.height = 600;
    view.SetArea(0, 20, 30, -20);
    view.CalcScale();
    figure.draw(filled_, &view);
    if (gridOnly == 0) {
      gridOnly = canvas.Primitives().size();
      EXPECT_GT(gridOnly, 0u);
    } else {
      EXPECT_GT(canvas.Primitives().size(), gridOnly) << figure.name;
    }
  }
  RecordingCanvas canvas;
  CViewInfo view;
  view.dc = &canvas;
  filled_.DrawPrnSlice(&view, DevRect{300, 200, 100, 50}, 0, 0);
  const std::vector<DrawnPrimitive> frames = canvas.PrimitivesOf(PrimitiveKind::Rectangle);
  ASSERT_EQ(frames.size(), 1u);
  EXPECT_EQ(frames[0].rect, (DevRect{100, 50, 300, 200}));
  EXPECT_EQ(frames[0].state.brush.style, BrushStyle::Null);
}

}  // namespace
