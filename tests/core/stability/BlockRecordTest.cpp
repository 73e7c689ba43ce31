// The records of the block method against bytes built by hand: the block result records, the
// block and the block list.

#include <gtest/gtest.h>

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "core/base/CoreSettings.h"
#include "core/geometry/DPolyArray.h"
#include "core/section/SpStratum.h"
#include "core/section/SpWater.h"
#include "core/stability/Block.h"
#include "core/stability/BlockList.h"
#include "core/stability/BlockResult.h"
#include "platform/Archive.h"
#include "tests/support/RecordBytes.h"
#include "tests/support/RecordContract.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

// ---- tagBLOCKRESULTSLICE ----

// Value k (1-based) is 100 + k + 0.25, so that every position is told apart.
double SliceValue(int k) { return 100 + k + 0.25; }

tagBLOCKRESULTSLICE NumberedSlice() {
  tagBLOCKRESULTSLICE record;
  for (int k = 1; k <= tagBLOCKRESULTSLICE::kValueCount; ++k) record.value[k - 1] = SliceValue(k);
  return record;
}

// A target whose values 5 and 6 hold markers that a version-1 record must not touch.
std::unique_ptr<tagBLOCKRESULTSLICE> MarkedSlice() {
  auto record = std::make_unique<tagBLOCKRESULTSLICE>();
  record->value[4] = -5.5;
  record->value[5] = -6.5;
  return record;
}

bool SameSlice(const tagBLOCKRESULTSLICE& a, const tagBLOCKRESULTSLICE& b) { return a == b; }

// Values 5 and 6 are not in a version-1 record.
bool SameSliceWithoutV2Values(const tagBLOCKRESULTSLICE& a, const tagBLOCKRESULTSLICE& b) {
  for (int k = 1; k <= tagBLOCKRESULTSLICE::kValueCount; ++k) {
    if (k != 5 && k != 6 && a.value[k - 1] != b.value[k - 1]) return false;
  }
  return true;
}

TEST(BlockRecordTest, ResultSliceFromVersion2HoldsAll33ValuesInOrder) {
  RecordBytes bytes;
  for (int k = 1; k <= 33; ++k) bytes.Double(SliceValue(k));
  ExpectRecordContract<tagBLOCKRESULTSLICE>({.stored = NumberedSlice(),
                                             .version = 2,
                                             .bytes = bytes.Get(),
                                             .makeTarget = MarkedSlice,
                                             .same = SameSlice});
}

TEST(BlockRecordTest, ResultSliceOfVersion1Has32DoublesWithoutValues5And6) {
  // Values 1-4, 7-29, one spare double, 30-33; the spare is written as no value.
  RecordBytes bytes;
  for (int k = 1; k <= 4; ++k) bytes.Double(SliceValue(k));
  for (int k = 7; k <= 29; ++k) bytes.Double(SliceValue(k));
  bytes.Double(-9e32);
  for (int k = 30; k <= 33; ++k) bytes.Double(SliceValue(k));
  ASSERT_EQ(bytes.Get().size(), 32 * sizeof(double));
  ExpectRecordContract<tagBLOCKRESULTSLICE>({.stored = NumberedSlice(),
                                             .version = 1,
                                             .bytes = bytes.Get(),
                                             .makeTarget = MarkedSlice,
                                             .same = SameSliceWithoutV2Values});
}

TEST(BlockRecordTest, Version1ResultSliceDropsIts28thDoubleAndKeepsValues5And6) {
  RecordBytes bytes;
  for (int i = 1; i <= 32; ++i) bytes.Double(i);
  Archive in(bytes.Get());
  const auto record = MarkedSlice();
  record->Load(in, 1);

  // Doubles 1-4 are values 1-4, doubles 5-27 values 7-29, double 28 is dropped, 29-32 are 30-33.
  std::vector<double> expected = {1, 2, 3, 4, -5.5, -6.5};
  for (int d = 5; d <= 27; ++d) expected.push_back(d);
  for (int d = 29; d <= 32; ++d) expected.push_back(d);
  EXPECT_EQ(std::vector<double>(record->value.begin(), record->value.end()), expected);
}

// ---- tagBLOCKRESULTKNOWN ----

TEST(BlockRecordTest, ResultKnownIsItsNineValuesInOrderInEveryVersion) {
  tagBLOCKRESULTKNOWN record;
  record.S = 12.5;
  record.T = 10.25;
  record.sumS = 120;
  record.sumT = 100;
  record.divisor = 10;
  record.Fs = 1.219;
  record.FsExtra = 1.5;
  record.Pr = 3.1;
  record.extraForce = 2.75;
  const Bytes bytes = RecordBytes()
                          .Double(12.5)
                          .Double(10.25)
                          .Double(120)
                          .Double(100)
                          .Double(10)
                          .Double(1.219)
                          .Double(1.5)
                          .Double(3.1)
                          .Double(2.75)
                          .Get();
  for (const int version : {1, 10}) {
    SCOPED_TRACE(version);
    ExpectRecordContract<tagBLOCKRESULTKNOWN>(
        {.stored = record,
         .version = version,
         .bytes = bytes,
         .makeTarget = [] { return std::make_unique<tagBLOCKRESULTKNOWN>(); },
         .same = [](const tagBLOCKRESULTKNOWN& a,
                    const tagBLOCKRESULTKNOWN& b) { return a.IsSame(b); }});
  }
}

// ---- The block and the block list ----

bool SameEntry(const tagDEVY& a, const tagDEVY& b) {
  return a.leftY == b.leftY && a.rightY == b.rightY && a.flag == b.flag;
}

// Every stored field of the block.
bool SameBlock(const CBlock& a, const CBlock& b) {
  if (a.GetLeftX() != b.GetLeftX() || a.GetRightX() != b.GetRightX() ||
      a.GetDEVYsize() != b.GetDEVYsize() || !SameEntry(a.GetWaterEntry(), b.GetWaterEntry()) ||
      a.GetRemainArea() != b.GetRemainArea() || a.GetBaseC() != b.GetBaseC() ||
      a.GetBasePhi() != b.GetBasePhi() || a.GetStrengthType() != b.GetStrengthType() ||
      a.GetSecondStrengthCode() != b.GetSecondStrengthCode() || !(a.GetResult() == b.GetResult())) {
    return false;
  }
  for (int i = 0; i < a.GetDEVYsize(); ++i) {
    if (!SameEntry(*a.GetIndexDEVY(i), *b.GetIndexDEVY(i))) return false;
  }
  return true;
}

bool SamePoints(const CDPoly& a, const CDPoly& b) { return a.CompareCoord(&b); }

// Every stored field of the list; the confirmed flag only when the record holds it.
bool SameList(const CBlockList& a, const CBlockList& b, bool withConfirmed = true) {
  if (withConfirmed && a.IsConfirmed() != b.IsConfirmed()) return false;
  if (a.GetXSize() != b.GetXSize() || a.GetStratumIndex() != b.GetStratumIndex() ||
      a.GetStartX() != b.GetStartX() || a.GetAngle() != b.GetAngle() ||
      !SamePoints(a.GetGroundCopy(), b.GetGroundCopy()) ||
      !SamePoints(a.GetSlideCopy(), b.GetSlideCopy()) || a.GetBlockSize() != b.GetBlockSize()) {
    return false;
  }
  for (int i = 0; i < a.GetXSize(); ++i) {
    if (a.GetX(i) != b.GetX(i)) return false;
  }
  for (int i = 0; i < a.GetBlockSize(); ++i) {
    if (!SameBlock(*a.GetBlockPtr(i), *b.GetBlockPtr(i))) return false;
  }
  return true;
}

// A block from x = 0 to 2 of entries at 5, 3 and 1; the middle layer lies in no polygon, so its
// entry is marked as a void; a water level at 2.5 goes in above the base. The remain area between
// the levels 4 and 2 ends at the water: (1.5 + 1.5) * 2 / 2 = 3.
CBlock SampleBlock() {
  const ScopedEnableRound exactWidth(0);
  const CSpStratumBlock stratum;
  CBlock block;
  block.SetLeftRightX(0, 2);
  block.AddDEVY({5, 5, &stratum, 0});
  block.AddDEVY({3, 3, &stratum, 0});
  block.AddDEVY({1, 1, nullptr, 0});
  CDPolyArray none;
  block.SetHang(&none);
  block.SetWaterLevStWL({}, 2.5);  // a level from no water line, inserted at 2.5
  block.SetRemainArea(4, 2);
  block.SetBaseCF(12.5, 30);
  block.SetStrengthType(3, 2);
  block.GetResult().value[0] = 30;
  block.GetResult().value[1] = 12.5;
  // The links to the stratum are not stored; drop them before the stratum goes.
  block.ReplaceShape(&stratum, nullptr);
  return block;
}

// SampleBlock's record by hand, with its result record by the version.
RecordBytes& AppendSampleBlock(RecordBytes& bytes, int version) {
  bytes.Double(0).Double(2).Int(4);
  bytes.Double(5).Double(5).UInt8(0);
  bytes.Double(3).Double(3).UInt8(1);
  bytes.Double(2.5).Double(2.5).UInt8(0);
  bytes.Double(1).Double(1).UInt8(0);
  bytes.Double(2.5).Double(2.5).UInt8(0);  // the water entry
  bytes.Double(3).Double(12.5).Double(30).Int(3).Int(2);
  bytes.Double(30).Double(12.5);
  const int rest = version >= 2 ? 31 : 30;  // a version-1 record: no values 5, 6; one spare
  for (int i = 0; i < rest; ++i) bytes.Double(-9e32);
  return bytes;
}

TEST(BlockRecordTest, BlockRecordHoldsCutsEntriesWaterStrengthAndResult) {
  const CBlock block = SampleBlock();
  ASSERT_EQ(block.GetDEVYsize(), 4);
  ASSERT_TRUE(block.IsHang(1));
  ASSERT_EQ(block.GetRemainArea(), 3);
  for (const int version : {1, 2}) {
    SCOPED_TRACE(version);
    RecordBytes bytes;
    ExpectRecordContract<CBlock>({.stored = block,
                                  .version = version,
                                  .bytes = AppendSampleBlock(bytes, version).Get(),
                                  .makeTarget = [] { return std::make_unique<CBlock>(); },
                                  .same = SameBlock});
  }
}

TEST(BlockRecordTest, LoadedBlockLinksNoShapeAndHasNoArc) {
  RecordBytes bytes;
  Archive in(AppendSampleBlock(bytes, 2).Get());
  const CSpWater water;
  CBlock loaded;
  loaded.AddDEVY({9, 9, &water, 0});
  loaded.SetBaseArc(std::make_unique<CDArc>(1.0, 10.0, 9.5, 0.0, 1.0));
  loaded.Load(in, 2);
  for (int i = 0; i < loaded.GetDEVYsize(); ++i) EXPECT_EQ(loaded.GetIndexDEVY(i)->shape, nullptr);
  EXPECT_EQ(loaded.GetWaterEntry().shape, nullptr);
  EXPECT_EQ(loaded.GetBaseArc(), nullptr);
}

// A list with three x positions, one block, the outline of that block and the confirmed flag.
std::unique_ptr<CBlockList> SampleList() {
  auto list = std::make_unique<CBlockList>();
  list->CopyStX({2, 0, 1.5});
  list->SetStratumIndex(1);
  list->SetStartX(1.25);
  list->SetAngle(35);
  list->CopyBlock({SampleBlock()});
  list->SetConfirmed(true);
  return list;
}

Bytes SampleListRecord(int version) {
  RecordBytes bytes;
  bytes.Int(3).Double(2).Double(0).Double(1.5);
  bytes.Int(1).Double(1.25).Double(35);
  // The empty ground copy: its name, no points, no texts, no strata.
  bytes.Text(u"地形").Int(0).UInt16(0).Int(0);
  // The empty slide copy: its name, no points, the unset circle.
  bytes.Text(u"すべり面").Int(0).Double(-9e32).Double(-9e32).Double(-9e32);
  bytes.Int(1);
  AppendSampleBlock(bytes, version);
  if (version >= 2) bytes.Bool(true);
  return bytes.Get();
}

TEST(BlockRecordTest, BlockListRecordHoldsPositionsSettingsOutlineBlocksAndFromV2Confirmed) {
  const auto list = SampleList();
  for (const int version : {1, 2, 10}) {
    SCOPED_TRACE(version);
    ExpectRecordContract<CBlockList>(
        {.stored = *list,
         .version = version,
         .bytes = SampleListRecord(version),
         .makeTarget = [] { return std::make_unique<CBlockList>(); },
         .same = [version](const CBlockList& a,
                           const CBlockList& b) { return SameList(a, b, version >= 2); }});
  }
}

TEST(BlockRecordTest, Version1BlockListLeavesTheConfirmedFlagAsItWas) {
  for (const bool confirmed : {false, true}) {
    CBlockList list;
    list.SetConfirmed(confirmed);
    Archive in(SampleListRecord(1));
    list.Load(in, 1);
    EXPECT_EQ(list.IsConfirmed(), confirmed);
  }
}

TEST(BlockRecordTest, BlockListRecordWithOutlinePoints) {
  auto list = std::make_unique<CBlockList>();
  Archive in(RecordBytes()
                 .Int(0)
                 .Int(-1)
                 .Double(-9e32)
                 .Double(0)
                 .Text(u"地形")
                 .Int(2)
                 .Double(0)
                 .Double(5)
                 .Double(2)
                 .Double(5)
                 .UInt16(0)
                 .Int(0)
                 .Text(u"すべり面")
                 .Int(2)
                 .Double(-9e32)
                 .Double(-9e32)
                 .Double(-9e32)
                 .Double(0)
                 .Double(1)
                 .UInt32(0)
                 .UInt32(0)
                 .Double(2)
                 .Double(1)
                 .UInt32(0)
                 .UInt32(0)
                 .Int(0)
                 .Bool(false)
                 .Get());
  list->Load(in, 2);
  EXPECT_EQ(in.Remaining(), 0u);
  EXPECT_EQ(list->GetGroundCopy().GetSize(), 2);
  EXPECT_EQ(list->GetSlideCopy().GetSize(), 2);
  EXPECT_EQ(list->GetSlideCopy().GetAt(1)->x, 2);
  Archive out;
  list->Store(out, 2);
  EXPECT_EQ(out.Bytes(), in.Bytes());
}

TEST(BlockRecordTest, NegativeCountsAreDamagedRecordsAndChangeNothing) {
  const Bytes negativeX = RecordBytes().Int(-1).Get();
  const Bytes negativeBlocks = RecordBytes()
                                   .Int(0)
                                   .Int(0)
                                   .Double(0)
                                   .Double(0)
                                   .Text(u"地形")
                                   .Int(0)
                                   .UInt16(0)
                                   .Int(0)
                                   .Text(u"すべり面")
                                   .Int(0)
                                   .Double(-9e32)
                                   .Double(-9e32)
                                   .Double(-9e32)
                                   .Int(-3)
                                   .Get();
  for (const Bytes& bytes : {negativeX, negativeBlocks}) {
    const auto list = SampleList();
    Archive in(bytes);
    EXPECT_THROW(list->Load(in, 2), ArchiveException);
    EXPECT_TRUE(SameList(*list, *SampleList()));
  }
  const Bytes negativeEntries = RecordBytes().Double(0).Double(1).Int(-2).Get();
  CBlock block = SampleBlock();
  Archive in(negativeEntries);
  EXPECT_THROW(block.Load(in, 2), ArchiveException);
  EXPECT_TRUE(SameBlock(block, SampleBlock()));
}

}  // namespace
