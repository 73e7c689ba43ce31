#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "core/model/PrmDrain.h"
#include "platform/Archive.h"
#include "tests/core/model/ReinfRecordBytes.h"
#include "tests/support/RecordBytes.h"
#include "tests/support/RecordContract.h"

namespace {

bool SameDrain(const CPrmDrain& a, const CPrmDrain& b) { return a.IsSame(b); }

std::unique_ptr<CPrmDrain> Target() {
  auto target = std::make_unique<CPrmDrain>();
  target->ranges[0].rowCount = 2;
  return target;
}

TEST(PrmDrainTest, TenNamedRangesStoredFromVersionEight) {
  const CPrmDrain drain;
  EXPECT_EQ(drain.ranges[9].name, "範囲 10");

  RecordBytes bytes;
  AppendNewRanges(bytes);
  ExpectRecordContract<CPrmDrain>({.stored = drain,
                                   .version = 10,
                                   .bytes = bytes.Get(),
                                   .makeTarget = Target,
                                   .same = SameDrain});

  // Older documents hold nothing, and loading them changes nothing.
  Archive out;
  drain.Store(out, 7);
  EXPECT_TRUE(out.Bytes().empty());
  CPrmDrain kept = *Target();
  Archive in(std::vector<std::uint8_t>{});
  kept.Load(in, 7);
  EXPECT_TRUE(kept.IsSame(*Target()));
}

TEST(PrmDrainTest, ValidWhenEveryRangeHasPointsLengthsAndPitches) {
  CPrmDrain drain;
  EXPECT_FALSE(drain.IsValid());
  for (CReinfRange& range : drain.ranges) {
    range.start = CDPoint(0, 10);
    range.end = CDPoint(10, 0);
    range.lrb = 3.0;
    range.extraLength = 0.2;
    range.pitches = {1.0, 1.5};
  }
  EXPECT_TRUE(drain.IsValid());
  drain.ranges[7].pitches[0] = kNoValue;
  EXPECT_FALSE(drain.IsValid());
}

TEST(PrmDrainTest, CopyAndComparisonsWorkRangeByRange) {
  CPrmDrain source;
  source.ranges[2].start = CDPoint(0, 0);
  source.ranges[2].end = CDPoint(10, 5, 1);
  source.ranges[2].active = true;
  CPrmDrain target;
  target.Copy(source);
  EXPECT_EQ(target.ranges[2].start.y, 5);
  EXPECT_EQ(target.ranges[2].start.flag, 1);
  EXPECT_FALSE(target.ranges[2].active);
  CPrmDrain normalized = source;
  normalized.ranges[2].Normalize();
  EXPECT_TRUE(target.IsSame(normalized));

  target.ranges[2].flag = 0;
  EXPECT_FALSE(target.IsSame(normalized));
  EXPECT_TRUE(target.IsSameUseCale(normalized));
  target.ranges[2].lrb = 4.0;
  EXPECT_FALSE(target.IsSameUseCale(normalized));

  target.ranges[6].active = true;
  target.SetRangeNonActive();
  EXPECT_FALSE(target.ranges[6].active);
}

}  // namespace
