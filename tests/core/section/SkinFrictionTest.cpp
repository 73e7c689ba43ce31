#include <gtest/gtest.h>

#include <cstdint>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

#include "core/section/SkinFriction.h"
#include "platform/Archive.h"
#include "tests/support/RecordBytes.h"
#include "tests/support/RecordContract.h"

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

TEST(SkinFrictionTest, RecordIsKindThenValue) {
  ExpectRecordContract<CSkinFriction>({
      .stored = MakeFriction(1, 10.5),
      .version = 7,
      .bytes = RecordBytes().Int(1).Double(10.5).Get(),
      .makeTarget = [] { return std::make_unique<CSkinFriction>(MakeFriction(0, 3)); },
  });
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

// ---- CCFai ----

CCFai MakeCFai(double c, double fai, const std::string& remark) {
  CCFai record;
  record.SetC(c);
  record.SetFai(fai);
  record.SetBikou(remark);
  return record;
}

TEST(CFaiTest, RecordIsTheSixValuesThenTheRemark) {
  RecordBytes unset;
  for (int i = 0; i < 6; ++i) unset.Double(kNoValue);
  RecordBytes sample;
  sample.Double(12.5).Double(30);
  for (int i = 0; i < 4; ++i) sample.Double(kNoValue);
  const struct {
    CCFai stored;
    RecordBytes bytes;
  } cases[] = {
      {CCFai(), unset.Text(u"")},  // a new record: no values, no remark
      {MakeCFai(12.5, 30, "砂質土"), sample.Text(u"砂質土")},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.stored.GetBikou());
    ExpectRecordContract<CCFai>({
        .stored = c.stored,
        .bytes = c.bytes.Get(),
        .makeTarget = [] { return std::make_unique<CCFai>(MakeCFai(5, 20, "元")); },
    });
  }
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

}  // namespace
