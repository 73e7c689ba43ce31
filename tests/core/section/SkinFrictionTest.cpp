#include <gtest/gtest.h>

#include <cstdint>
#include <initializer_list>
#include <vector>

#include "core/section/SkinFriction.h"
#include "platform/Archive.h"
#include "tests/support/RecordBytes.h"

namespace {

CSkinFriction MakeFriction(int kind, double value) {
  CSkinFriction friction;
  friction.SetKind(kind);
  friction.SetValue(value);
  return friction;
}

// ---- CSkinFriction ----

TEST(SkinFrictionTest, StartsAndInitsAsNotDerivedWithoutValue) {
  CSkinFriction friction;
  EXPECT_EQ(friction.GetKind(), 0);
  EXPECT_EQ(friction.GetValue(), kNoValue);
  friction = MakeFriction(1, 3);
  friction.Init();
  EXPECT_EQ(friction.GetKind(), 0);
  EXPECT_EQ(friction.GetValue(), kNoValue);
}

TEST(SkinFrictionTest, GetDataDerivesOnlyFromKindOneWithAValue) {
  struct Case {
    int kind;
    double value;
    double expected;
  };
  const Case cases[] = {
      {1, 10, 0.112},           // (10 * 10 + 12) / 1000
      {1, 0, 0.012},            // only the constant
      {1, 2.36, 0.036},         // 0.0356 rounds up
      {1, kNoValue, kNoValue},  // no value
      {0, 10, kNoValue},        // not derived
      {3, 10, kNoValue},        // a kind without meaning
  };
  for (const Case& c : cases) {
    EXPECT_DOUBLE_EQ(MakeFriction(c.kind, c.value).GetData(0), c.expected)
        << "kind " << c.kind << " value " << c.value;
  }
}

TEST(SkinFrictionTest, IsSameComparesKindAndValueAndCopyTakesBoth) {
  const CSkinFriction a = MakeFriction(1, 4.5);
  EXPECT_TRUE(a.IsSame(MakeFriction(1, 4.5)));
  EXPECT_FALSE(a.IsSame(MakeFriction(0, 4.5)));
  EXPECT_FALSE(a.IsSame(MakeFriction(1, 4.25)));
  CSkinFriction b;
  b.Copy(a);
  EXPECT_TRUE(b.IsSame(a));
}

TEST(SkinFrictionTest, StoreWritesKindThenValue) {
  Archive ar;
  MakeFriction(1, 10.5).Store(ar, 7);
  EXPECT_EQ(ar.Bytes(), RecordBytes().Int(1).Double(10.5).Get());
}

TEST(SkinFrictionTest, LoadReadsTheRecordAndTurnsKindsAboveOneIntoZero) {
  struct Case {
    std::int32_t storedKind;
    int expectedKind;
  };
  const Case cases[] = {{0, 0}, {1, 1}, {2, 0}, {99, 0}};
  for (const Case& c : cases) {
    Archive ar(RecordBytes().Int(c.storedKind).Double(6.25).Get());
    CSkinFriction friction;
    friction.Load(ar, 0);
    EXPECT_EQ(friction.GetKind(), c.expectedKind) << "stored kind " << c.storedKind;
    EXPECT_EQ(friction.GetValue(), 6.25);
    EXPECT_EQ(ar.Remaining(), 0u);
  }
}

TEST(SkinFrictionTest, DamagedRecordThrowsAndLeavesTheSettingAsItWas) {
  std::vector<std::uint8_t> bytes = RecordBytes().Int(0).Double(1).Get();
  bytes.resize(bytes.size() - 1);
  Archive ar(bytes);
  CSkinFriction friction = MakeFriction(1, 3);
  EXPECT_THROW(friction.Load(ar, 0), ArchiveException);
  EXPECT_TRUE(friction.IsSame(MakeFriction(1, 3)));
}

// ---- CCFai ----

TEST(CFaiTest, StartsWithoutValuesAndWithoutRemark) {
  const CCFai record;
  EXPECT_EQ(record.GetC(), kNoValue);
  EXPECT_EQ(record.GetFai(), kNoValue);
  EXPECT_EQ(record.GetBikou(), "");
  Archive ar;
  record.Store(ar);
  RecordBytes expected;
  for (int i = 0; i < 6; ++i) expected.Double(kNoValue);
  expected.Text(u"");
  EXPECT_EQ(ar.Bytes(), expected.Get());
}

// The six values and the remark, as stored: c, phi, then the four further values.
std::vector<std::uint8_t> SampleCFaiRecord() {
  return RecordBytes()
      .Double(12.5)
      .Double(30)
      .Double(1)
      .Double(2)
      .Double(3)
      .Double(4)
      .Text(u"砂質土")
      .Get();
}

TEST(CFaiTest, LoadReadsTheSixValuesAndTheRemarkAndStoreWritesThemBack) {
  Archive in(SampleCFaiRecord());
  CCFai record;
  record.Load(in);
  EXPECT_EQ(in.Remaining(), 0u);
  EXPECT_EQ(record.GetC(), 12.5);
  EXPECT_EQ(record.GetFai(), 30);
  EXPECT_EQ(record.GetBikou(), "砂質土");
  Archive out;
  record.Store(out);
  EXPECT_EQ(out.Bytes(), SampleCFaiRecord());
}

TEST(CFaiTest, CopiesTakeEveryValueAndTheRemark) {
  Archive in(SampleCFaiRecord());
  CCFai source;
  source.Load(in);

  const CCFai constructed(source);
  CCFai assigned;
  assigned = source;
  CCFai copied;
  copied.Copy(source);
  for (const CCFai* record :
       std::initializer_list<const CCFai*>{&constructed, &assigned, &copied}) {
    Archive out;
    record->Store(out);
    EXPECT_EQ(out.Bytes(), SampleCFaiRecord());
  }
}

TEST(CFaiTest, DamagedRecordThrowsAndLeavesTheRecordAsItWas) {
  std::vector<std::uint8_t> bytes = SampleCFaiRecord();
  bytes.resize(bytes.size() - 1);  // the remark's last unit is cut
  Archive ar(bytes);
  CCFai record;
  record.SetC(5);
  record.SetFai(20);
  record.SetBikou("元");
  EXPECT_THROW(record.Load(ar), ArchiveException);
  EXPECT_EQ(record.GetC(), 5);
  EXPECT_EQ(record.GetFai(), 20);
  EXPECT_EQ(record.GetBikou(), "元");
}

}  // namespace
