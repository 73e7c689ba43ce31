// The safety factors of many slip circles over the sample section must keep every bit: the slice
// division and the slice method are tuned for speed, and a tuning that changed a single result
// (even in the last bit) would change the critical circle a search finds. The circles span the
// slope; each is computed with the rounding on and off, with both pore-pressure methods, for
// both formulas, with kh set and unset. The checksum over the bit patterns was taken from the
// straightforward implementation before any tuning.

#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <memory>

#include "core/base/CoreSettings.h"
#include "core/circle/CalcBase.h"
#include "core/circle/SliceList.h"
#include "core/model/Danmen.h"
#include "core/section/SpSlide.h"
#include "core/section/SpSlideWork.h"
#include "tests/support/SampleSection.h"

namespace {

using R = tagRESULTSLICE;

// FNV-1a over 64-bit words.
class Checksum {
 public:
  void Add(double v) {
    std::uint64_t bits = std::bit_cast<std::uint64_t>(v);
    for (int i = 0; i < 8; ++i) {
      hash_ ^= bits & 0xFFu;
      hash_ *= 0x100000001B3u;
      bits >>= 8;
    }
  }
  std::uint64_t Value() const { return hash_; }

 private:
  std::uint64_t hash_ = 0xCBF29CE484222325u;
};

struct Variant {
  int round;
  int poreMethod;
  double kh;
  int formula;  // 0 Fellenius, 1 modified Fellenius
};

// Every result the method gives for one circle.
void AddResults(const CSliceList& list, const tagFSRESULT& fs, Checksum& sum) {
  sum.Add(list.GetSize());
  sum.Add(fs.fs);
  sum.Add(fs.fsSeis);
  sum.Add(fs.fs2);
  sum.Add(fs.fsSeis2);
  const tagRESULTSLICE& total = list.GetTotal();
  for (const int k :
       {R::kT, R::kTs, R::kTe, R::kS, R::kSe, R::kN, R::kNs, R::kNe, R::kU, R::kLength, R::kArea}) {
    sum.Add(total[k]);
  }
}

std::unique_ptr<CCalcBase> MakeCalc(int formula) {
  if (formula == 0) return std::make_unique<CCalcFellenius>(1);
  return std::make_unique<CCalcFelleniusRevise>(1);
}

// The circles through a point on the upper slope, a point in the body and the toe region: 6 x 4
// x 3 x 3 = 216 circles; the slice list is reused from circle to circle as a search does.
std::uint64_t ChecksumOfCircles(const Variant& variant, CSliceList& list, Checksum sum) {
  const ScopedEnableRound rounding(variant.round);
  SampleSection sample = MakeSampleSection();
  CDanmenStab section;
  section.SendInfo(sample.section);
  tagCALCCONDITION cond = section.GetCalcCond();
  cond.kh = variant.kh;
  cond.extra1 = variant.poreMethod;
  cond.extra2 = 0.6;
  cond.extra3 = 2;
  section.SetCalcCond(cond);
  const std::unique_ptr<CCalcBase> calc = MakeCalc(variant.formula);
  calc->SetDanmenStab(&section);
  list.SetDanmenStab(&section);
  for (const double topX : {18.0, 19.5, 21.0, 22.5, 24.0, 26.0}) {
    for (const double midX : {11.0, 13.0, 14.5, 16.0}) {
      for (const double midY : {0.5, 2.0, 3.5}) {
        for (const double toeX : {3.0, 5.5, 8.0}) {
          CSpSlide slide;
          slide.AddNewPoint(CDPoint(topX, 20), 1, kStrengthStratum);
          slide.AddNewPoint(CDPoint(midX, midY), 0, kStrengthStratum);
          slide.AddNewPoint(CDPoint(toeX, -0.5), 0, kStrengthStratum);
          const std::unique_ptr<CSpSlideWork> work = slide.CreateDrawObj();
          list.CreateSlice(nullptr, nullptr, work.get());
          const tagFSRESULT fs = calc->KeisanFs(list, 12.5);
          // The grid must exercise the method, not only its refusals.
          EXPECT_TRUE(topX > 24.0 || fs.fs != kNoValue) << topX << " " << midX << " " << toeX;
          AddResults(list, fs, sum);
        }
      }
    }
  }
  return sum.Value();
}

TEST(SliceMethodResultsTest, EveryCircleKeepsItsBits) {
  const Variant variants[] = {
      {1, 0, 0.2, 0},  {1, 1, 0.2, 1},      {0, 0, 0.2, 1},
      {0, 1, 0.15, 0}, {1, 0, kNoValue, 0}, {0, 1, kNoValue, 1},
  };
  Checksum sum;
  CSliceList reused;
  for (const Variant& v : variants) {
    Checksum one;
    const std::uint64_t value = ChecksumOfCircles(v, reused, one);
    CSliceList fresh;
    // A list that divided other circles before gives what a new list gives.
    EXPECT_EQ(ChecksumOfCircles(v, fresh, Checksum()), value);
    sum.Add(std::bit_cast<double>(value));
  }
  EXPECT_EQ(sum.Value(), 7003293828363061391u);
}

}  // namespace
