#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <iterator>
#include <memory>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "core/base/Constants.h"
#include "core/base/CoreSettings.h"
#include "core/model/Danmen.h"
#include "core/model/PrmStab.h"
#include "core/section/SpStratum.h"
#include "core/stability/BlockList.h"
#include "core/stability/CalcDriverMlt.h"
#include "core/stability/CalcStabMlt.h"
#include "core/stability/MltPoint.h"
#include "core/stability/ResStab2.h"
#include "platform/Archive.h"
#include "platform/ProgressFeedback.h"
#include "platform/RecordingCanvas.h"
#include "tests/support/DrawTestUtil.h"
#include "tests/support/RecordBytes.h"
#include "tests/support/RecordContract.h"
#include "tests/support/SampleSection.h"
#include "tests/support/ScriptedUi.h"

namespace {

// ---- Sorting ----

// The exchange loop exactly as the result lists have always sorted.
void LiteralSort(std::vector<CMltPoint*>& list, const tagMLTSORT& sort) {
  const int resultCase = sort.item >= 10 && sort.item <= 12 ? 1 : 0;
  for (std::size_t i = 0; i + 1 < list.size(); ++i) {
    for (std::size_t j = i + 1; j < list.size(); ++j) {
      if (list[i]->IsSortValue(*list[j], sort.order, sort.item, resultCase)) {
        std::swap(list[i], list[j]);
      }
    }
  }
}

// Points with few distinct values, so that every item has many ties.
std::vector<std::unique_ptr<CMltPoint>> TiedPoints(int count, bool gyaku, unsigned seed) {
  std::mt19937 random(seed);
  std::uniform_int_distribution<int> pick(0, 3);
  const double values[] = {kNoValue, 1.2, 1.5, 99.999};
  std::vector<std::unique_ptr<CMltPoint>> points;
  for (int k = 0; k < count; ++k) {
    auto p = CMltPoint::CreateMltPoint(gyaku ? 1 : 0);
    p->id = k;
    p->typicalN = pick(random) == 0 ? 1 : 0;
    p->typicalQ = pick(random) == 1 ? 1 : 0;
    p->startBlock = pick(random);
    p->endBlock = p->startBlock + 1 + pick(random);
    p->sN = values[pick(random)];
    p->tN = values[pick(random)];
    p->fsN = values[pick(random)];
    p->sQ = values[pick(random)];
    p->tQ = values[pick(random)];
    p->fsQ = values[pick(random)];
    if (auto* g = dynamic_cast<CMltPointGyaku*>(p.get())) {
      g->c0 = values[pick(random)];
      g->c = values[pick(random)];
      g->phi0 = values[pick(random)];
      g->phi = values[pick(random)];
    }
    points.push_back(std::move(p));
  }
  return points;
}

TEST(MltSortTest, EveryItemAndOrderGivesTheExchangeLoopsOrderTiesIncluded) {
  for (const bool gyaku : {false, true}) {
    const auto points = TiedPoints(300, gyaku, gyaku ? 7u : 3u);
    std::vector<CMltPoint*> original;
    for (const auto& p : points) original.push_back(p.get());
    for (int item = -1; item <= 18; ++item) {
      for (const int order : {0, 1}) {
        const tagMLTSORT sort{item, order};
        std::vector<CMltPoint*> expected = original;
        LiteralSort(expected, sort);
        std::vector<CMltPoint*> actual = original;
        ExchangeSort(actual, sort);
        EXPECT_EQ(actual, expected) << "item " << item << " order " << order << " gyaku " << gyaku;
      }
    }
  }
}

TEST(MltSortTest, OrderedAndReversedListsGiveTheExchangeLoopsOrder) {
  // Long stretches in which every point exchanges with the one before, with ties among them.
  auto points = TiedPoints(200, false, 5);
  for (std::size_t k = 0; k < points.size(); ++k) {
    points[k]->fsN = static_cast<double>(k / 3);
    points[k]->startBlock = static_cast<int>(k / 4);
  }
  std::vector<CMltPoint*> original;
  for (const auto& p : points) original.push_back(p.get());
  for (const bool reversed : {false, true}) {
    std::vector<CMltPoint*> list = original;
    if (reversed) std::reverse(list.begin(), list.end());
    for (const tagMLTSORT sort : {tagMLTSORT{9, 0}, tagMLTSORT{9, 1}, tagMLTSORT{2, 0},
                                  tagMLTSORT{2, 1}, tagMLTSORT{0, 1}}) {
      std::vector<CMltPoint*> expected = list;
      LiteralSort(expected, sort);
      std::vector<CMltPoint*> actual = list;
      ExchangeSort(actual, sort);
      EXPECT_EQ(actual, expected) << "item " << sort.item << " order " << sort.order;
    }
  }
}

TEST(MltSortTest, DescendingExchangesEqualValuesSoTheyComeBackReversed) {
  const auto points = TiedPoints(5, false, 1);
  std::vector<CMltPoint*> list;
  for (const auto& p : points) {
    p->fsN = 1.0;
    list.push_back(p.get());
  }
  ExchangeSort(list, {9, 1});
  for (int k = 0; k < 5; ++k) EXPECT_EQ(list[static_cast<std::size_t>(k)]->id, 4 - k);
  ExchangeSort(list, {9, 0});
  EXPECT_EQ(list.front()->id, 4);  // ascending keeps equal values where they stand
}

// ---- Keys ----

TEST(MltKeyTest, ExclusionOverlapsAtASingleBlockAndTypicalPointsStillShow) {
  CMltKey key;
  key.exceptOn = 1;
  key.except[3] = {5, 7};
  EXPECT_TRUE(key.IsExceptBlock2(0, 4));   // 1..5 touches 5
  EXPECT_TRUE(key.IsExceptBlock2(6, 9));   // 7..10 touches 7
  EXPECT_FALSE(key.IsExceptBlock2(7, 9));  // 8..10
  EXPECT_TRUE(key.IsExceptBlock(5));
  key.except[4] = {CMltKey::kOpen, 2};
  EXPECT_TRUE(key.IsExceptBlock(0));
  key.exceptOn = 0;
  EXPECT_FALSE(key.IsExceptBlock(0));

  key.exceptOn = 1;
  CMltPoint p;
  p.startBlock = 4;
  p.endBlock = 6;
  EXPECT_FALSE(p.IsValid(key));
  p.typicalQ = 1;
  EXPECT_TRUE(p.IsValid(key));
}

TEST(MltKeyTest, BothCaseSwitchesOffGiveAnEmptyListAndClearEveryTypicalFlag) {
  CMltBlocks blocks;
  for (int k = 0; k < 3; ++k) {
    auto p = std::make_unique<CMltPoint>();
    p->id = k;
    p->typicalN = 1;
    blocks.Add(std::move(p));
  }
  CMltKey key;
  key.normalOn = 0;
  std::vector<CMltPoint*> list;
  EXPECT_EQ(blocks.SerialCopy(list, key), 0);
  for (int k = 0; k < 3; ++k) EXPECT_EQ(blocks.GetMltPoint(k)->typicalN, 0);
  EXPECT_THROW(blocks.GetMltPoint(3), std::out_of_range);
}

// The current choice gathers the points flagged typical for either case, in list order, after
// what the list already holds; empty slots and unflagged points are passed over.
TEST(MltKeyTest, CurrentChoiceAppendsEveryFlaggedPointInOrder) {
  const struct {
    int typicalN;
    int typicalQ;
    bool chosen;
  } rows[] = {{0, 0, false}, {1, 0, true}, {0, 1, true}, {1, 1, true}, {0, 0, false}, {0, 1, true}};
  CMltBlocks blocks;
  for (const auto& row : rows) {
    auto p = std::make_unique<CMltPoint>();
    p->id = blocks.GetSize();
    p->typicalN = row.typicalN;
    p->typicalQ = row.typicalQ;
    blocks.Add(std::move(p));
  }
  blocks.Add(nullptr);

  CMltPoint held;
  std::vector<CMltPoint*> list{&held};
  std::vector<CMltPoint*> expected{&held};
  for (int i = 0; i < static_cast<int>(std::size(rows)); ++i) {
    if (rows[i].chosen) expected.push_back(blocks.GetMltPoint(i));
  }
  EXPECT_EQ(blocks.SerialCurrentChoice(list), static_cast<int>(expected.size()));
  EXPECT_EQ(list, expected);
  EXPECT_EQ(blocks.GetMltPoint(1)->typicalN, 1);  // nothing is cleared
}

TEST(MltKeyTest, ANewKeyStartsTheNormalSwitchAtOneAndTheLevelIntsAtZero) {
  const CMltKey key;
  EXPECT_EQ(key.normalOn, 1);
  for (const int v : key.levelInts) EXPECT_EQ(v, 0);
}

// The part of the key record that every version shares, after the version-dependent head.
RecordBytes& KeyTail(RecordBytes& b, const CMltKey& k) {
  b.Int(k.typicalMode).Int(k.normalOn).Int(k.quakeOn).Int(k.contourItem).Int(k.contourCase);
  b.Double(k.contourPitch);
  for (const int v : k.flags) b.Int(v);
  for (const double v : k.levels) b.Double(v);
  for (const int v : k.levelInts) b.Int(v);
  return b.Int(k.lastInt);
}

CMltKey SampleKey() {
  CMltKey key;
  key.exceptOn = 1;
  key.except[0] = {2, 4};
  for (std::size_t p = 0; p < 5; ++p)
    key.pairs[p] = {static_cast<int>(10 + p), static_cast<int>(20 + p)};
  for (std::size_t d = 0; d < 8; ++d) key.doubles[d] = 0.5 + static_cast<double>(d);
  key.quakeOn = 1;
  key.levelInts[3] = 7;
  return key;
}

TEST(MltKeyTest, VersionEightRecordMeetsTheContract) {
  const CMltKey key = SampleKey();
  RecordBytes b;
  b.Int(1);
  for (const auto& r : key.except) b.Int(r.from).Int(r.to);
  b.Int(12).Int(22);
  for (std::size_t k = 0; k < 2; ++k) {
    b.Int(key.pairs[0][k]).Int(key.pairs[3][k]).Int(key.pairs[1][k]).Int(key.pairs[4][k]);
    b.Double(key.doubles[k])
        .Double(key.doubles[k + 4])
        .Double(key.doubles[k + 2])
        .Double(key.doubles[k + 6]);
  }
  KeyTail(b, key);
  ExpectRecordContract<CMltKey>({.stored = key, .version = 8, .bytes = b.Get()});
}

TEST(MltKeyTest, VersionFiveHasNoExclusionAndVersionFourDropsItsTwoDoubles) {
  const CMltKey key = SampleKey();
  {
    RecordBytes b;
    b.Int(12).Int(22);
    for (std::size_t k = 0; k < 2; ++k) {
      b.Int(key.pairs[0][k]).Int(key.pairs[3][k]).Int(key.pairs[1][k]).Int(key.pairs[4][k]);
      b.Double(key.doubles[k])
          .Double(key.doubles[k + 4])
          .Double(key.doubles[k + 2])
          .Double(key.doubles[k + 6]);
    }
    KeyTail(b, key);
    CMltKey loaded;
    Archive ar(b.Get());
    loaded.Load(ar, 5);
    EXPECT_EQ(ar.Remaining(), 0u);
    EXPECT_EQ(loaded.exceptOn, 0);
    EXPECT_EQ(loaded.pairs, key.pairs);
    EXPECT_EQ(loaded.doubles, key.doubles);
  }
  {
    RecordBytes b;
    b.Int(10).Int(12).Int(22).Int(13).Double(1.5).Double(4.5);
    KeyTail(b, key);
    CMltKey loaded;
    Archive ar(b.Get());
    loaded.Load(ar, 4);
    EXPECT_EQ(ar.Remaining(), 0u);
    EXPECT_EQ(loaded.pairs[0][0], 10);
    EXPECT_EQ(loaded.pairs[3][0], 13);
    for (const std::size_t d : {0, 1, 4, 5}) EXPECT_EQ(loaded.doubles[d], kNoValue);
    EXPECT_EQ(loaded.levelInts[3], 7);
  }
}

TEST(MltPointTest, RecordsOfBothKindsMeetTheContract) {
  CMltPointGyaku p;
  p.id = 3;
  p.typicalN = 1;
  p.startBlock = 2;
  p.endBlock = 5;
  p.sN = 10;
  p.tN = 8;
  p.fsN = 1.25;
  p.c0 = 4;
  p.c = 3;
  p.phi0 = 20;
  p.phi = 25;
  p.tanPhi0 = 0.36;
  p.tanPhi = 0.47;
  RecordBytes b;
  b.Double(4).Double(3).Double(20).Double(25).Double(0.36).Double(0.47);
  b.Int(3).Int(1).Int(0).Int(2).Int(5);
  b.Double(10).Double(8).Double(1.25).Double(kNoValue).Double(kNoValue).Double(kNoValue);
  ExpectRecordContract<CMltPointGyaku>({.stored = p, .bytes = b.Get()});
  EXPECT_EQ(p.GetKeyValue(16), 20);  // item 16 gives phi0 as item 15 does

  CMltBlocks blocks;
  blocks.SetMltType(1);
  blocks.Add(std::make_unique<CMltPointGyaku>(p));
  RecordBytes list;
  list.Int(1).Int(1).Raw(b.Get());
  ExpectRecordContract<CMltBlocks>({.stored = blocks, .bytes = list.Get()});
}

// ---- The calculation job ----

int StratumIndex(const SampleSection& sample, const std::string& soil) {
  const CDPolyArray* strata = sample.ground->GetPolyArray();
  for (int i = 0; i < strata->GetSize(); ++i) {
    const auto* stratum = dynamic_cast<const CSpStratumBlock*>(strata->GetAt(i));
    if (stratum != nullptr && stratum->GetPropPtr()->GetName() == soil) return i;
  }
  return -1;
}

class CalcStabMltTest : public testing::Test {
 protected:
  CalcStabMltTest() {
    stab_.SendInfo(sample_.section);
    tagCALCCONDITION cond = stab_.GetCalcCond();
    cond.normalOn = 1;
    stab_.SetCalcCond(cond);
    list_.SetDanmen(&sample_.section);
    list_.SetDanmenStab(&stab_);
    list_.SetRightUpper(true);
    list_.SetStratumIndex(StratumIndex(sample_, "表土"));
  }
  void Divide(int blocks) {
    std::vector<double> xs;
    for (int k = 0; k <= blocks; ++k) xs.push_back(6.0 + 18.0 * k / blocks);
    list_.CopyStX(xs);
    ASSERT_EQ(list_.CreateBlock(nullptr, nullptr), blocks);
  }
  CCalcStabMlt Job() {
    return CCalcStabMlt({.normal = &stab_,
                         .seismic = seismic_ ? &quake_ : nullptr,
                         .prm = &prm_,
                         .result = &result_,
                         .blocks = &list_});
  }
  // The job's three steps on `threads` workers with the given feedback.
  void Run(ProgressFeedback& feedback, int threads) {
    CCalcStabMlt job = Job();
    job.Prepare();
    job.Post(job.Process(feedback, threads));
  }
  // Turns the seismic case on: horizontal coefficient 0.2 from the section's base.
  void Seismic() {
    TurnSeismicOn(stab_, quake_, sample_, 0.2);
    seismic_ = true;
  }

  const ScopedEnableRound rounding_{1};
  SampleSection sample_ = MakeSampleSection();
  CDanmenStab stab_;
  CDanmenStab quake_;
  bool seismic_ = false;
  CBlockList list_;
  CPrmStab prm_;
  CResStab2 result_;
};

TEST_F(CalcStabMltTest, EveryPairIsVisitedOnceInRowOrderAndFiled) {
  Divide(5);
  std::vector<std::string> lines;
  ProgressFeedback feedback([&lines](const ProgressFeedback& f) {
    if (!f.Line2().empty() && (lines.empty() || lines.back() != f.Line2()))
      lines.push_back(f.Line2());
  });
  Run(feedback, 1);
  // The rows' first pairs in order, then the rest of every row.
  ASSERT_EQ(lines.size(), 10u);
  EXPECT_EQ(lines[0], "ブロック 1 - 2 を計算中...(1/10)");
  EXPECT_EQ(lines[3], "ブロック 4 - 5 を計算中...(4/10)");
  EXPECT_EQ(lines[4], "ブロック 1 - 3 を計算中...(5/10)");
  EXPECT_EQ(lines[9], "ブロック 3 - 5 を計算中...(10/10)");
  EXPECT_EQ(feedback.Progress(), 100);
  const CMltBlocks& points = *result_.GetResult();
  ASSERT_EQ(points.GetSize(), 10);
  int k = 0;
  for (int i = 0; i < 4; ++i) {
    for (int j = i + 1; j < 5; ++j, ++k) {
      const CMltPoint& p = *points.GetMltPoint(k);
      EXPECT_EQ(p.id, k);
      EXPECT_EQ(p.startBlock, i);
      EXPECT_EQ(p.endBlock, j);
      EXPECT_GT(p.fsN, 0);
      EXPECT_EQ(p.fsQ, kNoValue);
    }
  }
  EXPECT_FALSE(points.IsInterrupt());
  EXPECT_EQ(result_.resultCount, 10);
  EXPECT_EQ(result_.blockCount, 5);
  ASSERT_EQ(result_.GetSerial().size(), 10u);
  for (std::size_t n = 1; n < 10; ++n) {
    EXPECT_LE(result_.GetSerial()[n - 1]->fsN, result_.GetSerial()[n]->fsN);
  }
  // The job reaches no user interface: no window, no message to the frame.
  EXPECT_EQ(TestUi().ProgressWindowCount(), 0u);
  EXPECT_TRUE(TestUi().FrameMessages().empty());
}

// The pair loop's start values, followed by hand: (0, 1) from 1.5, (i, j) from (i, j - 1), the
// first pair of a row from the first pair of the row before, and 1.5 again after a pair without a
// value. Unrounded, so that a different start shows in the last digits.
std::vector<double> ChainedFs(const CBlockList& list, const CDanmenStab& stab) {
  CCalcDriverMlt driver;
  driver.SetRightUpper(list.IsRightUpper());
  driver.SetDanmenStab(&stab);
  driver.SetCalcNormal(true);
  const auto next = [](double fs) { return fs == kNoValue ? CCalcStabMlt::kStartFs : fs; };
  std::vector<double> found;
  double rowStart = CCalcStabMlt::kStartFs;
  const int n = list.GetBlockSize();
  for (int i = 0; i + 1 < n; ++i) {
    double start = rowStart;
    for (int j = i + 1; j < n; ++j) {
      double fsN = start;
      double fsQ = CCalcStabMlt::kStartFs;
      double t, s, tq, sq;
      driver.KeisanFs(fsN, fsQ, list.CreateBlockList(i, j).get(), t, s, tq, sq, kNoValue, kNoValue);
      found.push_back(fsN);
      start = next(fsN);
      if (j == i + 1) rowStart = start;
    }
  }
  return found;
}

std::vector<double> FiledFs(const CResStab2& result) {
  std::vector<double> fs;
  for (int k = 0; k < result.GetResult()->GetSize(); ++k) {
    fs.push_back(result.GetResult()->GetMltPoint(k)->fsN);
  }
  return fs;
}

TEST_F(CalcStabMltTest, EachPairStartsFromThePairBeforeAsTheRowsChainThem) {
  const ScopedEnableRound unrounded(0);
  Divide(6);
  Job().CalcStart();
  const std::vector<double> expected = ChainedFs(list_, stab_);
  EXPECT_EQ(FiledFs(result_), expected);
  // Not all from 1.5: the chain does make a difference here.
  CCalcDriverMlt fresh;
  fresh.SetCalcNormal(true);
  double fsN = CCalcStabMlt::kStartFs, fsQ = 1.5, t, s, tq, sq;
  fresh.KeisanFs(fsN, fsQ, list_.CreateBlockList(0, 5).get(), t, s, tq, sq, kNoValue, kNoValue);
  EXPECT_NE(fsN, expected[4]);
}

TEST_F(CalcStabMltTest, APairWithoutAValueLetsTheNextRowStartAfreshFromOnePointFive) {
  const ScopedEnableRound unrounded(0);
  Divide(5);
  // Block 1 loses its base stratum: every run holding it has no strength and no Fs.
  const CDPoly* topSoil = sample_.ground->GetPolyArray()->GetAt(list_.GetStratumIndex());
  list_.GetBlockPtr(1)->ReplaceShape(topSoil, nullptr);
  Job().CalcStart();
  const std::vector<double> fs = FiledFs(result_);
  ASSERT_EQ(fs.size(), 10u);
  for (std::size_t k = 0; k < 7; ++k) EXPECT_EQ(fs[k], kNoValue) << k;  // rows 0 and 1
  for (std::size_t k = 7; k < 10; ++k) EXPECT_GT(fs[k], 0) << k;        // rows 2 and 3
  EXPECT_EQ(fs, ChainedFs(list_, stab_));
}

TEST_F(CalcStabMltTest, BackAnalysisFilesTheStrengthAndNoFrictionWithoutTheChosenStratum) {
  Divide(3);
  prm_.assumedFs = 1.2;
  result_.SetMltType(CMltPoint::kKindGyaku);
  for (const bool withStratum : {true, false}) {
    if (!withStratum) list_.SetStratumIndex(-1);
    Job().CalcStart();
    const CMltBlocks& points = *result_.GetResult();
    ASSERT_EQ(points.GetSize(), 3);
    for (int k = 0; k < 3; ++k) {
      const auto& p = dynamic_cast<const CMltPointGyaku&>(*points.GetMltPoint(k));
      EXPECT_EQ(p.id, k);
      EXPECT_EQ(p.fsN, kNoValue);
      EXPECT_NE(p.tanPhi0, kNoValue);
      EXPECT_DOUBLE_EQ(p.phi0, std::atan(p.tanPhi0) * 57.29577951308232);
      if (withStratum) {
        EXPECT_EQ(p.phi, 25);
        EXPECT_DOUBLE_EQ(p.tanPhi, std::tan(DegToRad(25)));
        EXPECT_NE(p.c, kNoValue);
      } else {
        EXPECT_EQ(p.phi, kNoValue);
        EXPECT_EQ(p.tanPhi, kNoValue);
        EXPECT_EQ(p.c, kNoValue);
      }
    }
  }
}

TEST_F(CalcStabMltTest, BackAnalysisPairsThatFindNoStrengthAreLeftOut) {
  Divide(3);
  prm_.assumedFs = 0;  // no strength closes the march at a planned Fs of 0
  result_.SetMltType(CMltPoint::kKindGyaku);
  Job().CalcStart();
  EXPECT_EQ(result_.GetResult()->GetSize(), 0);
  EXPECT_FALSE(result_.GetResult()->IsInterrupt());
  EXPECT_TRUE(TestUi().FrameMessages().empty());
}

// Cancelling after the given report on one thread: the rows' first pairs come first (reports 1
// to 4 of five blocks), then row 0's other three (5 to 7), row 1's two (8, 9) and row 2's one.
TEST_F(CalcStabMltTest, CancelKeepsWholeRowsOnlyAndMarksTheRunInterrupted) {
  Divide(5);
  const struct {
    int cancelAfter;
    int kept;
  } cases[] = {{0, 0}, {3, 0}, {6, 0}, {7, 4}, {8, 4}, {9, 7}};
  for (const auto& c : cases) {
    // Every pair reports twice: its progress, then its lines.
    int reports = 0;
    ProgressFeedback* self = nullptr;
    ProgressFeedback feedback([&](const ProgressFeedback&) {
      if (++reports >= 2 * c.cancelAfter) self->Cancel();
    });
    self = &feedback;
    if (c.cancelAfter == 0) feedback.Cancel();
    Run(feedback, 1);
    const CMltBlocks& points = *result_.GetResult();
    ASSERT_EQ(points.GetSize(), c.kept) << c.cancelAfter;
    EXPECT_TRUE(points.IsInterrupt()) << c.cancelAfter;
    EXPECT_EQ(feedback.Line2(), "計算を中止しました。結果出力準備中...");
    for (int k = 0; k < c.kept; ++k) EXPECT_EQ(points.GetMltPoint(k)->id, k);
  }
}

TEST_F(CalcStabMltTest, ACancelOnManyThreadsKeepsARowPrefixInOrder) {
  Divide(12);
  ProgressFeedback whole;
  Run(whole, 1);
  std::vector<std::pair<int, int>> order;
  for (int k = 0; k < result_.GetResult()->GetSize(); ++k) {
    const CMltPoint& p = *result_.GetResult()->GetMltPoint(k);
    order.emplace_back(p.startBlock, p.endBlock);
  }
  ProgressFeedback* self = nullptr;
  ProgressFeedback feedback([&self](const ProgressFeedback& f) {
    if (f.Progress() > 50) self->Cancel();
  });
  self = &feedback;
  Run(feedback, 4);
  const CMltBlocks& points = *result_.GetResult();
  EXPECT_TRUE(points.IsInterrupt());
  ASSERT_LT(points.GetSize(), static_cast<int>(order.size()));
  for (int k = 0; k < points.GetSize(); ++k) {
    const CMltPoint& p = *points.GetMltPoint(k);
    EXPECT_EQ(p.id, k);
    EXPECT_EQ(std::make_pair(p.startBlock, p.endBlock), order[static_cast<std::size_t>(k)]);
  }
  // Whole rows: the last kept point ends its row.
  if (points.GetSize() > 0) {
    EXPECT_EQ(points.GetMltPoint(points.GetSize() - 1)->endBlock, 11);
  }
}

// A digest of the bits of every stored value of the job's points.
std::uint64_t Digest(const CMltBlocks& points) {
  std::uint64_t h = 1469598103934665603u;
  const auto mix = [&h](double v) { h = (h ^ std::bit_cast<std::uint64_t>(v)) * 1099511628211u; };
  for (int k = 0; k < points.GetSize(); ++k) {
    const CMltPoint& p = *points.GetMltPoint(k);
    mix(p.id);
    mix(p.startBlock);
    mix(p.endBlock);
    for (const double v : {p.sN, p.tN, p.fsN, p.sQ, p.tQ, p.fsQ}) mix(v);
    if (const auto* g = dynamic_cast<const CMltPointGyaku*>(&p)) {
      for (const double v : {g->c0, g->tanPhi0, g->phi0, g->phi, g->tanPhi, g->c}) mix(v);
    }
  }
  return h;
}

// The digests are those of the pair-by-pair calculation in the order of the rows, which cut every
// run's blocks from the list and read them anew: reading the blocks once per job and running the
// rows on threads changes no bit.
TEST_F(CalcStabMltTest, ResultsAreBitIdenticalOnAnyNumberOfThreads) {
  Divide(24);
  prm_.assumedFs = 1.2;
  const std::uint64_t sequential[2][2] = {{3163091252932972159u, 3436324797062023648u},
                                          {8288901853352300369u, 3436324797062023648u}};
  for (const bool seismic : {false, true}) {
    if (seismic) Seismic();
    for (const int kind : {CMltPoint::kKindForward, CMltPoint::kKindGyaku}) {
      result_.SetMltType(kind);
      for (const int threads : {1, 2, 4, 8}) {
        ProgressFeedback feedback;
        Run(feedback, threads);
        ASSERT_GT(result_.GetResult()->GetSize(), 0);
        EXPECT_EQ(Digest(*result_.GetResult()), sequential[seismic][kind])
            << seismic << kind << threads;
      }
      if (kind == CMltPoint::kKindForward) {
        EXPECT_EQ(result_.GetResult()->GetMltPoint(0)->fsQ != kNoValue, seismic);
      }
    }
  }
}

TEST_F(CalcStabMltTest, FewerThanTwoBlocksComputeNothing) {
  Job().CalcStart();
  ASSERT_NE(result_.GetResult(), nullptr);
  EXPECT_EQ(result_.GetResult()->GetSize(), 0);
  EXPECT_FALSE(result_.GetResult()->IsInterrupt());
  // Without any value the graph keeps its initial vertical range.
  EXPECT_EQ(result_.graphFs.axes[0].minY, 0);
  EXPECT_EQ(result_.graphFs.axes[0].maxY, 10);
}

// ---- Block drawing ----

using BlockDrawTest = CalcStabMltTest;

int CountWithPen(const RecordingCanvas& canvas, PrimitiveKind kind, const Pen& pen) {
  int n = 0;
  for (const DrawnPrimitive& p : canvas.PrimitivesOf(kind)) n += p.state.pen == pen ? 1 : 0;
  return n;
}

TEST_F(BlockDrawTest, AViewWithoutARunDrawsOutlinesAndNumbersOnly) {
  Divide(4);
  const Pen red{PenStyle::Solid, 1, Color::Rgb(255, 0, 0)};
  const Pen green{PenStyle::Solid, 1, Color::Rgb(63, 255, 20)};
  const struct {
    int first, last;
    int polygons, triangles, redLines;
  } cases[] = {
      {-1, -1, 0, 0, 0},
      {2, 2, 1, 1, 3},                  // the start cut, the top line and the diagonal
      {1, 3, 3, 1, 1 + 3 + 2 * 2 + 1},  // start cut, tops, bases and far cuts, diagonal
      {3, 2, 0, 0, 0},                  // not a run
  };
  for (const auto& c : cases) {
    RecordingCanvas canvas;
    CViewInfo view;
    AttachTestView(view, canvas, 10, 150, 150);
    list_.DrawView(&view, nullptr, c.first, c.last);
    const auto polygons = canvas.PrimitivesOf(PrimitiveKind::Polygon);
    EXPECT_EQ(static_cast<int>(polygons.size()), c.polygons) << c.first;
    int triangles = 0;
    for (const auto& p : polygons) triangles += p.points.size() == 3 ? 1 : 0;
    EXPECT_EQ(triangles, c.triangles) << c.first;
    EXPECT_EQ(CountWithPen(canvas, PrimitiveKind::Line, red), c.redLines) << c.first;
    EXPECT_EQ(CountWithPen(canvas, PrimitiveKind::Line, green), 4 * 4);
    const auto texts = canvas.PrimitivesOf(PrimitiveKind::Text);
    ASSERT_EQ(texts.size(), 4u);
    EXPECT_EQ(texts[0].text, "1");
    EXPECT_EQ(canvas.CurrentPen(), Pen{});  // every pen put back
  }
}

TEST_F(BlockDrawTest, TheKeyHidesExcludedBlockNumbers) {
  Divide(4);
  CMltKey key;
  key.exceptOn = 1;
  key.except[0] = {2, 3};
  RecordingCanvas canvas;
  CViewInfo view;
  AttachTestView(view, canvas, 10, 150, 150);
  list_.DrawBlockNo(&view, &key);
  const auto texts = canvas.PrimitivesOf(PrimitiveKind::Text);
  ASSERT_EQ(texts.size(), 2u);
  EXPECT_EQ(texts[1].text, "4");
}

TEST_F(BlockDrawTest, InPrintModeTheFontIsTenTimesHigherAndTheStartMarkerReaches100PixelsUp) {
  Divide(4);
  list_.SetStartX(12);
  for (const bool print : {false, true}) {
    RecordingCanvas canvas;
    CViewInfo view;
    AttachTestView(view, canvas, 10, 150, 150);
    if (print) view.ModePrint();
    list_.DrawBlockCut(&view, true, true, 1);
    const int f = print ? 10 : 1;
    const auto texts = canvas.PrimitivesOf(PrimitiveKind::Text);
    ASSERT_GE(texts.size(), 2u);
    EXPECT_EQ(texts[0].text, "分割開始X");
    EXPECT_EQ(texts[0].state.font.height, 10 * f);
    EXPECT_EQ(texts[0].state.font.width, 5 * f);
    const DevPoint top = view.LPtoDP(CDPoint(12, view.ymax));
    const int up = view.LPtoDP(CDPoint(12, view.ymax + 1)).y < top.y ? -1 : 1;
    EXPECT_EQ(texts[0].points[0].y, top.y + up * 10 * f);
    EXPECT_EQ(texts[1].text, "No.2");
  }
}

}  // namespace
