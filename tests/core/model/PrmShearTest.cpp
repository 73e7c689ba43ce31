#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <vector>

#include "core/model/PrmShear.h"
#include "core/model/RefCond.h"
#include "platform/Archive.h"
#include "tests/support/RecordBytes.h"
#include "tests/support/RecordContract.h"

namespace {

CPrmShear Edited() {
  CPrmShear shear;
  shear.fit.mode = CFit::kModeCoefficients;
  shear.fit.b = 150.0;
  shear.fit.c = 0.9;
  shear.fit.points[0] = {1e-3, 0.5, 0.6};
  shear.g0 = 40000.0;
  shear.boltSpacing = 1.5;
  shear.blockDepth = 3.0;
  shear.h = 2.5;
  shear.theta = 30.0;
  shear.erb = 2.1;
  return shear;
}

// Every stored field, the fit's points included.
bool SameShear(const CPrmShear& a, const CPrmShear& b) {
  if (!a.IsSame(b) || a.fit.GetCount() != b.fit.GetCount()) return false;
  for (std::size_t i = 0; i < a.fit.points.size(); ++i) {
    if (!a.fit.points[i].IsSame(b.fit.points[i])) return false;
  }
  return true;
}

std::unique_ptr<CPrmShear> Target() {
  auto target = std::make_unique<CPrmShear>();
  target->h = 9.0;
  return target;
}

RecordBytes& AppendFit(RecordBytes& bytes, int version) {
  bytes.Int(0).Double(150.0).Double(0.9);
  if (version >= 10) bytes.Int(0);
  bytes.Double(1e-3).Double(0.5).Double(0.6);
  for (int i = 1; i < 30; ++i) bytes.Double(kNoValue).Double(kNoValue).Double(kNoValue);
  return bytes;
}

TEST(PrmShearTest, Defaults) {
  const CPrmShear shear;
  EXPECT_EQ(shear.g0, 33000.0);
  EXPECT_EQ(shear.boltSpacing, 2.0);
  EXPECT_EQ(shear.blockDepth, 2.0);
  EXPECT_EQ(shear.h, kNoValue);
  EXPECT_EQ(shear.theta, kNoValue);
  EXPECT_EQ(shear.erb, 2.0);
  EXPECT_EQ(shear.fit.graph.minX, -6.0);
  EXPECT_EQ(shear.GetERBreal(), 2e8);
}

TEST(PrmShearTest, RecordIsTheFitThenTheValues) {
  for (const int version : {7, 10}) {
    RecordBytes bytes;
    AppendFit(bytes, version)
        .Double(40000.0)
        .Double(1.5)
        .Double(3.0)
        .Double(2.5)
        .Double(30.0)
        .Double(2.1);
    ExpectRecordContract<CPrmShear>({.stored = Edited(),
                                     .version = version,
                                     .bytes = bytes.Get(),
                                     .makeTarget = Target,
                                     .same = SameShear});
  }
}

// Before version 7 an unused 8-byte value stands before ERB.
TEST(PrmShearTest, VersionSixRecordHasAnUnusedValueBeforeERB) {
  RecordBytes bytes;
  AppendFit(bytes, 6)
      .Double(40000.0)
      .Double(1.5)
      .Double(3.0)
      .Double(2.5)
      .Double(30.0)
      .Double(0.0)
      .Double(2.1);
  ExpectRecordContract<CPrmShear>({.stored = Edited(),
                                   .version = 6,
                                   .bytes = bytes.Get(),
                                   .makeTarget = Target,
                                   .same = SameShear});
}

TEST(PrmShearTest, TheFitCountsAsMuchAsTheValues) {
  const CPrmShear base = Edited();
  CPrmShear otherExponent = Edited();
  otherExponent.fit.c = 0.8;
  EXPECT_FALSE(otherExponent.IsSame(base));
  EXPECT_FALSE(otherExponent.IsSameUseCale(base));
  CPrmShear otherMode = Edited();
  otherMode.fit.mode = CFit::kModeTestValues;
  EXPECT_FALSE(otherMode.IsSameUseCale(base));
  // Test points alone do not change the calculation.
  CPrmShear otherPoints = Edited();
  otherPoints.fit.points[3] = {1e-2, 0.2, kNoValue};
  EXPECT_TRUE(otherPoints.IsSameUseCale(base));

  for (double CPrmShear::*field : {&CPrmShear::g0, &CPrmShear::boltSpacing, &CPrmShear::blockDepth,
                                   &CPrmShear::h, &CPrmShear::theta, &CPrmShear::erb}) {
    CPrmShear changed = Edited();
    changed.*field += 1.0;
    EXPECT_FALSE(changed.IsSame(base));
  }
}

TEST(PrmShearTest, CopyTakesTheFitWithoutItsGraphAndTheValues) {
  CPrmShear target;
  target.fit.graph.maxY = 3.0;
  target.Copy(Edited());
  EXPECT_TRUE(SameShear(target, Edited()));
  EXPECT_EQ(target.fit.graph.maxY, 3.0);
}

TEST(PrmShearTest, ValidWithTheCoefficientsAndAllValues) {
  EXPECT_TRUE(Edited().IsValid());
  CPrmShear noExponent = Edited();
  noExponent.fit.c = kNoValue;
  EXPECT_FALSE(noExponent.IsValid());
  for (double CPrmShear::*field : {&CPrmShear::g0, &CPrmShear::boltSpacing, &CPrmShear::blockDepth,
                                   &CPrmShear::h, &CPrmShear::theta, &CPrmShear::erb}) {
    CPrmShear missing = Edited();
    missing.*field = kNoValue;
    EXPECT_FALSE(missing.IsValid());
  }
  CPrmShear noModulus;
  noModulus.erb = kNoValue;
  EXPECT_EQ(noModulus.GetERBreal(), kNoValue);
}

TEST(PrmShearTest, TheReferenceValuesAreTheProcessWideOnes) {
  CRefCond::SetKiretuHizumi(0.02);
  CRefCond::SetKyokuHizumi(0.06);
  CRefCond::SetGammaref(0.03);
  CRefCond::SetSendanHizumi(0.07);
  CRefCond::SetTRNmax(3.0);
  EXPECT_EQ(CPrmShear::GetKiretuHizumi(), 0.02);
  EXPECT_EQ(CPrmShear::GetKyokuHizumi(), 0.06);
  EXPECT_EQ(CPrmShear::GetGammaRef(), 0.03);
  EXPECT_EQ(CPrmShear::GetSendanHizumi(), 0.07);
  EXPECT_EQ(CPrmShear::GetTRNmax(), 3.0);
  CRefCond::Default();
}

}  // namespace
