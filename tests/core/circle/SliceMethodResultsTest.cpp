// The rounded results of many slip circles over the sample section must keep every bit: the slice
// division and the slice method are tuned for speed, and a tuning that changed a single rounded
// result would change what the program stores and shows. The circles span the slope; each is
// computed with the rounding on and off, with both pore-pressure methods, for both formulas,
// with kh set and unset. The checksum over the bit patterns of the results with the rounding on
// was taken from the straightforward implementation before any tuning; the results with the
// rounding off may move in their last digits (SliceMethodOracleTest bounds them) and count only
// in the comparison of a reused list with a fresh one.

#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <memory>

#include "core/base/CoreSettings.h"
#include "core/circle/CalcBase.h"
#include "core/circle/SliceList.h"
#include "core/model/Danmen.h"
#include "core/section/SpLoad.h"
#include "core/section/SpSlide.h"
#include "core/section/SpSlideWork.h"
#include "core/section/SpWaterGroup.h"
#include "tests/support/PolyTestUtil.h"
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

// The view's section with the variant's kh and pore-pressure method, its slices split at the width
// by the split mode.
void PrepareSection(CDanmenStab& section, const CDanmen& view, const Variant& variant, double width,
                    int splitMode) {
  section.SendInfo(view);
  tagCALCCONDITION cond = section.GetCalcCond();
  cond.kh = variant.kh;
  cond.extra1 = variant.poreMethod;
  cond.extra2 = width;
  cond.extra3 = splitMode;
  section.SetCalcCond(cond);
}

// The circles through a point on the upper slope, a point in the body and the toe region: 6 x 4
// x 3 x 3 = 216 circles; the slice list is reused from circle to circle as a search does.
std::uint64_t ChecksumOfCircles(const Variant& variant, CSliceList& list, Checksum sum) {
  const ScopedEnableRound rounding(variant.round);
  SampleSection sample = MakeSampleSection();
  CDanmenStab section;
  PrepareSection(section, sample.section, variant, 0.6, 2);
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

// A distributed load on the crest (normal and seismic case) and a concentrated one on the slope.
std::unique_ptr<CDPolyArray> MakeLoads() {
  auto loads = std::make_unique<CDPolyArray>();
  auto crest = std::make_unique<CSpLoad>();
  crest->SetX1(19.25);
  crest->SetX2(27.5);
  crest->SetQ1(12);
  crest->SetQ2(20);
  loads->Add(std::move(crest));
  auto point = std::make_unique<CSpLoad>();
  point->SetConcentrated(1);
  point->SetX1(15.5);
  point->SetQ1(30);
  point->SetAngle(60);
  point->SetQuakeCaseOn(0);
  loads->Add(std::move(point));
  return loads;
}

// The water line of the sample with an upper water layer over an impermeable line.
void SetWaterGroup(const CSpWater& water, CSpWaterGroup& group) {
  group.GetWater().CopyPoints(&water);
  group.GetUpper().CopyPoints(
      MakePoly<CSpWater>({{0, 0.5}, {8, 1.5}, {14, 7}, {20, 12}, {30, 13.5}}).get());
  group.GetImpermeable().CopyPoints(
      MakePoly<CSpWater>({{0, -0.5}, {8, 0}, {14, 4.5}, {20, 9}, {30, 12}}).get());
  group.SetUpperOn(1);
}

bool HasUpperWaterLevel(const CSliceList& list) {
  for (int i = 0; i < list.GetSize(); ++i) {
    if (list.GetSlicePtr(i)->GetUpperWaterLev().leftY != kNoValue) return true;
  }
  return false;
}

// Surfaces of a straight piece from the crest and an arc to the toe, over the sample with loads
// and, with water set, the upper water layer: 4 x 3 x 3 = 36 surfaces.
std::uint64_t ChecksumWithLoadsAndWater(const Variant& variant, bool water, CSliceList& list) {
  const ScopedEnableRound rounding(variant.round);
  SampleSection sample = MakeSampleSection();
  const std::unique_ptr<CDPolyArray> loads = MakeLoads();
  sample.section.SetAryLoad(loads.get());
  CSpWaterGroup group;
  SetWaterGroup(*sample.water, group);
  CDanmenStab section;
  PrepareSection(section, sample.section, variant, 0.45, 3);
  const std::unique_ptr<CCalcBase> calc = MakeCalc(variant.formula);
  calc->SetDanmenStab(&section);
  list.SetDanmenStab(&section);
  Checksum sum;
  for (const double topX : {19.0, 21.5, 23.0, 25.5}) {
    for (const double kneeX : {15.0, 16.5, 17.5}) {
      for (const double toeX : {3.0, 5.5, 8.0}) {
        CSpSlide slide;
        slide.AddNewPoint(CDPoint(topX, 20), 0, kStrengthStratum);
        slide.AddNewPoint(CDPoint(kneeX, kneeX - 11), 1, kStrengthStratumPhi);
        slide.AddNewPoint(CDPoint(11.5, 1.25), 0, kStrengthStratum);
        slide.AddNewPoint(CDPoint(toeX, -0.5), 0, kStrengthStratum);
        const std::unique_ptr<CSpSlideWork> work = slide.CreateDrawObj();
        list.CreateSlice(nullptr, water ? &group : nullptr, work.get());
        const tagFSRESULT fs = calc->KeisanFs(list, 0);
        // Every surface must reach the loads, the straight piece at the crest and, with water, the
        // upper layer.
        EXPECT_NE(fs.fs, kNoValue) << topX << " " << kneeX << " " << toeX;
        EXPECT_TRUE(list.IsKajuExist(0));
        EXPECT_EQ(list.GetSlicePtr(list.GetSize() - 1)->GetBottomArc(), nullptr);
        EXPECT_TRUE(!water || HasUpperWaterLevel(list));
        AddResults(list, fs, sum);
      }
    }
  }
  return sum.Value();
}

TEST(SliceMethodResultsTest, CirclesWithLoadsWaterLayersAndStraightPiecesKeepTheirBits) {
  const Variant variants[] = {{1, 0, 0.2, 0}, {0, 1, 0.25, 1}, {1, 1, kNoValue, 0}};
  Checksum sum;
  CSliceList list;
  for (const Variant& v : variants) {
    for (const bool water : {false, true}) {
      const std::uint64_t value = ChecksumWithLoadsAndWater(v, water, list);
      if (v.round != 0) sum.Add(std::bit_cast<double>(value));
    }
  }
  EXPECT_EQ(sum.Value(), 5828362512738566102u);
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
    if (v.round != 0) sum.Add(std::bit_cast<double>(value));
  }
  EXPECT_EQ(sum.Value(), 7217940762757835660u);
}

}  // namespace
