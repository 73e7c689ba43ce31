#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <memory>
#include <vector>

#include "core/model/PrmSlide.h"
#include "platform/Archive.h"
#include "tests/support/RecordBytes.h"
#include "tests/support/RecordContract.h"

namespace {

CPrmSlide Edited() {
  CPrmSlide slide;
  slide.deltaCMode = CPrmSlide::kDeltaCDerived;
  slide.s2 = 10.0;
  slide.s3 = 5.0;
  slide.l = 3.0;
  slide.deltaCEntered = 4.0;
  slide.deltaCDerived = 5.0;
  slide.h = 2.5;
  slide.khPitch = 0.01;
  return slide;
}

bool SameSlide(const CPrmSlide& a, const CPrmSlide& b) { return a.IsSame(b); }

std::unique_ptr<CPrmSlide> Target() {
  auto target = std::make_unique<CPrmSlide>();
  target->h = 9.0;
  return target;
}

RecordBytes& AppendValues(RecordBytes& bytes) {
  return bytes.Int(0)
      .Double(10.0)
      .Double(5.0)
      .Double(3.0)
      .Double(4.0)
      .Double(5.0)
      .Double(2.5)
      .Double(0.01);
}

TEST(PrmSlideTest, Defaults) {
  const CPrmSlide slide;
  EXPECT_EQ(slide.deltaCMode, CPrmSlide::kDeltaCEntered);
  for (const double v :
       {slide.s2, slide.s3, slide.l, slide.deltaCEntered, slide.deltaCDerived, slide.h}) {
    EXPECT_EQ(v, kNoValue);
  }
  EXPECT_EQ(slide.khPitch, 0.05);
}

TEST(PrmSlideTest, RecordOfACurrentAndOfAVersionSevenDocument) {
  for (const int version : {7, 10}) {
    RecordBytes bytes;
    AppendValues(bytes);
    ExpectRecordContract<CPrmSlide>({.stored = Edited(),
                                     .version = version,
                                     .bytes = bytes.Get(),
                                     .makeTarget = Target,
                                     .same = SameSlide});
  }
}

// Up to version 6 one more 8-byte value follows the record, after its last value.
TEST(PrmSlideTest, VersionSixRecordEndsWithAnUnusedValue) {
  RecordBytes bytes;
  AppendValues(bytes).Double(0.0);
  ExpectRecordContract<CPrmSlide>({.stored = Edited(),
                                   .version = 6,
                                   .bytes = bytes.Get(),
                                   .makeTarget = Target,
                                   .same = SameSlide});

  RecordBytes other;
  AppendValues(other).Double(123.0);
  CPrmSlide loaded;
  Archive in(other.Get());
  loaded.Load(in, 6);
  EXPECT_EQ(in.Remaining(), 0u);
  EXPECT_TRUE(loaded.IsSame(Edited()));
}

TEST(PrmSlideTest, AnyOneValueMakesRecordsDiffer) {
  struct Case {
    const char* name;
    double CPrmSlide::*field;
    bool usedByCalculation;
  };
  const Case cases[] = {
      {"S2", &CPrmSlide::s2, false},
      {"S3", &CPrmSlide::s3, false},
      {"l", &CPrmSlide::l, false},
      {"entered delta c", &CPrmSlide::deltaCEntered, true},
      {"derived delta c", &CPrmSlide::deltaCDerived, true},
      {"h", &CPrmSlide::h, true},
      {"pitch", &CPrmSlide::khPitch, true},
  };
  EXPECT_TRUE(Edited().IsSame(Edited()));
  for (const Case& c : cases) {
    CPrmSlide changed = Edited();
    changed.*(c.field) += 1.0;
    EXPECT_FALSE(changed.IsSame(Edited())) << c.name;
    EXPECT_EQ(changed.IsSameUseCale(Edited()), !c.usedByCalculation) << c.name;
  }
  CPrmSlide otherMode = Edited();
  otherMode.deltaCMode = CPrmSlide::kDeltaCEntered;
  EXPECT_FALSE(otherMode.IsSame(Edited()));
  EXPECT_TRUE(otherMode.IsSameUseCale(Edited()));

  CPrmSlide copied;
  copied.Copy(Edited());
  EXPECT_TRUE(copied.IsSame(Edited()));
}

TEST(PrmSlideTest, DerivedDeltaCFromForcesAndLength) {
  struct Case {
    double s2;
    double s3;
    double l;
    double deltaC;
  };
  const Case cases[] = {
      {10, 5, 3, 5.0},
      {1, 0, 3, 0.333},
      {2, 0, 3, 0.667},
      {kNoValue, 5, 3, kNoValue},
      {10, 5, kNoValue, kNoValue},
      // A slide surface without length gives no value, never an infinity.
      {10, 5, 0, kNoValue},
      {10, 5, -2, kNoValue},
  };
  for (const Case& c : cases) {
    CPrmSlide slide;
    slide.s2 = c.s2;
    slide.s3 = c.s3;
    slide.l = c.l;
    slide.deltaCDerived = 99.0;
    slide.CalcDeltaC();
    EXPECT_NEAR(slide.deltaCDerived, c.deltaC, 1e-12) << c.s2 << " " << c.s3 << " " << c.l;
    EXPECT_TRUE(std::isfinite(slide.deltaCDerived));
  }
}

TEST(PrmSlideTest, GetDeltaCByMode) {
  CPrmSlide slide = Edited();
  slide.deltaCMode = CPrmSlide::kDeltaCEntered;
  slide.deltaCDerived = 1.0;
  EXPECT_EQ(slide.GetDeltaC(), 4.0);
  EXPECT_EQ(slide.deltaCDerived, 1.0);

  slide.deltaCMode = CPrmSlide::kDeltaCDerived;
  EXPECT_EQ(slide.GetDeltaC(), 5.0);
  EXPECT_EQ(slide.deltaCDerived, 5.0);
  slide.l = 0.0;
  EXPECT_EQ(slide.GetDeltaC(), kNoValue);
  EXPECT_EQ(slide.deltaCDerived, kNoValue);
}

TEST(PrmSlideTest, ValidWithTheEffectiveDeltaCHAndAUsablePitch) {
  struct Case {
    const char* name;
    int mode;
    double entered;
    double derived;
    double h;
    double pitch;
    bool valid;
  };
  const Case cases[] = {
      {"entered", 1, 4.0, kNoValue, 2.5, 0.05, true},
      {"entered missing", 1, kNoValue, 5.0, 2.5, 0.05, false},
      {"derived", 0, kNoValue, 5.0, 2.5, 0.05, true},
      {"derived missing", 0, 4.0, kNoValue, 2.5, 0.05, false},
      {"no h", 1, 4.0, kNoValue, kNoValue, 0.05, false},
      {"no pitch", 1, 4.0, kNoValue, 2.5, kNoValue, false},
      // A pitch of 0 would never reach the end of the seismic coefficients.
      {"pitch 0", 1, 4.0, kNoValue, 2.5, 0.0, false},
      {"negative pitch", 1, 4.0, kNoValue, 2.5, -0.05, false},
      {"pitch just too small", 1, 4.0, kNoValue, 2.5, 0.0009, false},
      {"smallest pitch", 1, 4.0, kNoValue, 2.5, 0.001, true},
  };
  for (const Case& c : cases) {
    CPrmSlide slide;
    slide.deltaCMode = c.mode;
    slide.deltaCEntered = c.entered;
    slide.deltaCDerived = c.derived;
    slide.h = c.h;
    slide.khPitch = c.pitch;
    EXPECT_EQ(slide.IsValid(), c.valid) << c.name;
  }
  CPrmSlide slide;
  EXPECT_FALSE(slide.IsValidDeltaC());
  slide.s2 = 1;
  slide.s3 = 2;
  slide.l = 3;
  EXPECT_TRUE(slide.IsValidDeltaC());
}

}  // namespace
