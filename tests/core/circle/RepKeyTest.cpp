#include <gtest/gtest.h>

#include <memory>

#include "core/circle/CircleRecordVersion.h"
#include "core/circle/RepKey.h"
#include "platform/Archive.h"
#include "tests/support/RecordBytes.h"
#include "tests/support/RecordContract.h"

namespace {

constexpr Color kRed{0x0000FF};
constexpr Color kYellow{0x00FFFF};
constexpr Color kBlue{0xFF0000};

TEST(RepKeyColorTest, ValuesOnTheFsScale) {
  CRepKey key;
  struct Case {
    double value;
    Color color;
  };
  for (const Case& c : {Case{0.5, kRed}, Case{0.8, kRed}, Case{0.875, kYellow},
                        Case{0.825, Color::Rgb(255, 127, 0)}, Case{1.0, kBlue},
                        Case{1.0000001, kBlue}, Case{2.0, kBlue}}) {
    SCOPED_TRACE(c.value);
    EXPECT_EQ(key.GetColor(c.value).ref, c.color.ref);
  }
}

// The Pr row runs downward: above its first value the first colour, below the last the last.
TEST(RepKeyColorTest, ADescendingRow) {
  CRepKey key;
  key.Data().contourKind = 1;
  EXPECT_EQ(key.GetColor(150).ref, kRed.ref);
  EXPECT_EQ(key.GetColor(-1).ref, kBlue.ref);
  EXPECT_EQ(key.GetColor(50).ref, Color::Rgb(0, 255, 0).ref);
  EXPECT_EQ(key.GetColor(62.5).ref, Color::Rgb(127, 255, 0).ref);
}

// Two equal neighbouring scale values give the lower colour instead of dividing 0 by 0.
TEST(RepKeyColorTest, EqualNeighboursGiveTheLowerColour) {
  CRepKey key;
  key.Data().scale[0] = {0.8, 0.9, 0.9, 0.95, 1.0};
  key.Data().colors[0] = {kRed, Color::Rgb(1, 2, 3), Color::Rgb(9, 9, 9), kYellow, kBlue};
  EXPECT_EQ(key.GetColor(0.9).ref, Color::Rgb(1, 2, 3).ref);
  key.Data().scale[0] = {1, 1, 1, 1, 1};
  EXPECT_EQ(key.GetColor(1).ref, kRed.ref);
}

TEST(RepKeyTest, RoundForContour) {
  CRepKey key;
  key.Data().fsPitch = 0.1;
  EXPECT_NEAR(key.RoundForContour(-0.2), -0.3, 1e-12);
  EXPECT_NEAR(key.RoundForContour(0.29), 0.2, 1e-12);
  EXPECT_NEAR(key.RoundForContour(0.3), 0.3, 1e-12);
  key.Data().contourKind = 2;
  EXPECT_EQ(key.RoundForContour(0.29), 0.29);
  key.Data().contourKind = 0;
  key.Data().fsPitch = 0;
  EXPECT_EQ(key.RoundForContour(0.29), 0.29);
}

TEST(RepKeyTest, ScaleRange) {
  CRepKey key;
  EXPECT_EQ(key.IsOutOfRage(0.7), -1);
  EXPECT_EQ(key.IsOutOfRage(1.0), 0);
  EXPECT_EQ(key.IsOutOfRage(1.1), 1);
  EXPECT_EQ(key.CheckContourColorVal(), 1);
  key.Data().contourKind = 1;
  EXPECT_EQ(key.IsOutOfRage(101), -1);
  EXPECT_EQ(key.IsOutOfRage(-1), 1);
  key.Data().scale[1][2] = 120;
  EXPECT_EQ(key.CheckContourColorVal(), 0);
}

TEST(RepKeyTest, ContourKeyPitchAndTitle) {
  CRepKey key;
  EXPECT_EQ(key.GetContourKey(), 10);
  EXPECT_EQ(key.GetPitch(), 0.01);
  EXPECT_EQ(key.GetToutisenMoji(false), "異常降雨時 最小安全率 Fsmin  (間隔  0.010)");
  EXPECT_EQ(key.GetToutisenMoji(true), "仮設 最小安全率 Fsmin  (間隔  0.010)");
  key.Data().contourKind = 1;
  key.Data().contourCase = 1;
  EXPECT_EQ(key.GetContourKey(), 12);
  EXPECT_EQ(key.GetPitch(), 5.0);
  EXPECT_EQ(key.GetToutisenMoji(true), "地震時(L1) 最大抑止力 Prmax  (間隔  5 kN/m)");
  CRepKeyHokyo hokyo;
  hokyo.Data().contourKind = 1;
  EXPECT_EQ(hokyo.GetContourKey(), 0);
  EXPECT_EQ(hokyo.Data().fsType, 11);
}

TEST(RepKeyTest, FilterDescriptions) {
  CRepKey key;
  key.Data().abnormalOff = 0;
  EXPECT_EQ(key.GetHyoujiMoji(), "");
  EXPECT_EQ(key.GetHyoujiMojiNewmark(), "");
  key.Data().fsOn = key.Data().fsSeisOn = 1;
  key.Data().prOn = key.Data().depthOn = 1;
  EXPECT_EQ(key.GetHyoujiMoji(),
            "異常降雨時Fs < 1.400,  地震時Fs < 1.400, 異常降雨時Pr > 200.0kN/m,  深度 > 3.0m");
  key.Data().displacementOn = key.Data().dashOff = 1;
  EXPECT_EQ(key.GetHyoujiMojiNewmark(), "累積変位量 > 1.000, 深度 > 3.0m,  累積変位量\"－\"を除外");

  CRepKeyHokyo hokyo;
  hokyo.Data().abnormalOff = 0;
  EXPECT_EQ(hokyo.GetHyoujiMoji(), "");
  hokyo.Hokyo().fsOn = 1;
  hokyo.Data().fsOn = 1;
  hokyo.Data().overhangOff = 1;
  EXPECT_EQ(hokyo.GetHyoujiMoji(),
            "異常降雨時Fs(補強前) < 1.400,  異常降雨時Fs < 1.400, オーバーハング除外");
  hokyo.Hokyo().displacementOn = 1;
  EXPECT_EQ(hokyo.GetHyoujiMojiNewmark(), "累積変位量 > 1.000, オーバーハング除外");
}

TEST(RepKeyTest, CopyAndCompare) {
  CRepKeyHokyo a;
  a.Data().fsPitch = 0.05;
  a.Hokyo().fsLimit = 1.2;
  CRepKeyHokyo b;
  EXPECT_FALSE(b.IsSame(a));
  b = a;
  EXPECT_TRUE(b.IsSame(a));
  CRepKey plain;
  EXPECT_FALSE(a.IsSame(plain));
  plain.Data().fsType = 11;
  plain.Data().fsPitch = 0.05;
  EXPECT_TRUE(plain.IsSame(a));
}

// ---- Records ----

// Every stored field differs from its initial value.
CRepKey Filled() {
  CRepKey key;
  tagREPKEY& k = key.Data();
  int i = 2;
  for (int* v : {&k.fsOn,        &k.prOn,         &k.tOn,
                 &k.depthOn,     &k.overhangOff,  &k.abnormalOff,
                 &k.fsSeisOn,    &k.prSeisOn,     &k.tSeisOn,
                 &k.kyPeakOn,    &k.kyDropOn,     &k.displacementOn,
                 &k.further,     &k.dashOff,      &k.listing,
                 &k.normalGroup, &k.seismicGroup, &k.displacementGroup,
                 &k.contourKind, &k.contourCase,  &k.contourMap,
                 &k.labels,      &k.paint,        &k.allCircles}) {
    *v = i++;
  }
  k.kyListing = 2;
  double d = 0.5;
  for (double* v : {&k.fsLimit, &k.prLimit, &k.tLimit, &k.depthLimit, &k.fsSeisLimit,
                    &k.prSeisLimit, &k.tSeisLimit, &k.kyPeakLimit, &k.kyDropLimit,
                    &k.displacementLimit, &k.fsPitch, &k.prPitch}) {
    *v = d;
    d += 0.25;
  }
  for (auto& row : k.scale) {
    for (double& v : row) v = d++;
  }
  std::uint32_t c = 0x010203;
  for (auto& row : k.colors) {
    for (Color& v : row) v = Color{c++};
  }
  return key;
}

// The record of Filled() at the version, spelled out.
std::vector<std::uint8_t> FilledBytes(int version) {
  const bool seismic = version >= 8;
  RecordBytes b;
  for (int v = 2; v <= 7; ++v) b.Int(v);  // normal switches
  if (seismic) {
    for (int v = 8; v <= 13; ++v) b.Int(v);
  }
  if (version >= 16) b.Int(14).Int(15);
  b.Double(0.5).Double(0.75).Double(1.0).Double(1.25);
  if (seismic) b.Double(1.5).Double(1.75).Double(2.0).Double(2.25).Double(2.5).Double(2.75);
  b.Int(16);                      // listing
  if (seismic) b.Int(17);         // normal group
  b.Int(18);                      // seismic group
  if (seismic) b.Int(2).Int(19);  // Ky listing, displacement group
  b.Int(20).Int(21);              // contour kind and case
  b.Double(3.0).Double(3.25);     // pitches
  b.Int(22).Int(23).Int(24);      // map, labels, paint
  for (int v = 0; v < 10; ++v) b.Double(3.5 + v);
  for (std::uint32_t v = 0; v < 10; ++v) b.UInt32(0x010203 + v);
  b.Int(25);  // all circles
  return b.Get();
}

// Fields a record of the version lacks keep their initial values.
CRepKey FilledAt(int version) {
  CRepKey key = Filled();
  const tagREPKEY initial;
  tagREPKEY& k = key.Data();
  if (version < 16) {
    k.further = initial.further;
    k.dashOff = initial.dashOff;
  }
  if (version < 8) {
    for (auto [field, value] : {std::pair{&k.fsSeisOn, initial.fsSeisOn},
                                {&k.prSeisOn, initial.prSeisOn},
                                {&k.tSeisOn, initial.tSeisOn},
                                {&k.kyPeakOn, initial.kyPeakOn},
                                {&k.kyDropOn, initial.kyDropOn},
                                {&k.displacementOn, initial.displacementOn},
                                {&k.normalGroup, initial.normalGroup},
                                {&k.kyListing, initial.kyListing},
                                {&k.displacementGroup, initial.displacementGroup}}) {
      *field = value;
    }
    for (auto [field, value] : {std::pair{&k.fsSeisLimit, initial.fsSeisLimit},
                                {&k.prSeisLimit, initial.prSeisLimit},
                                {&k.tSeisLimit, initial.tSeisLimit},
                                {&k.kyPeakLimit, initial.kyPeakLimit},
                                {&k.kyDropLimit, initial.kyDropLimit},
                                {&k.displacementLimit, initial.displacementLimit}}) {
      *field = value;
    }
  }
  return key;
}

class RepKeyRecordTest : public testing::TestWithParam<int> {};

TEST_P(RepKeyRecordTest, RecordContract) {
  const int version = GetParam();
  const CRepKey stored = FilledAt(version);
  ExpectRecordContract<CRepKey>({
      .stored = stored,
      .version = version,
      .bytes = FilledBytes(version),
  });
}

INSTANTIATE_TEST_SUITE_P(Versions, RepKeyRecordTest,
                         testing::Values(4, 8, 16, kCircleRecordVersion));

TEST(RepKeyRecordTest, KyListingOutsideItsRangeBecomesZero) {
  std::vector<std::uint8_t> bytes = FilledBytes(kCircleRecordVersion);
  // The Ky listing choice follows 14 ints and 10 doubles, the listing and the two groups.
  const std::size_t at = 14 * 4 + 10 * 8 + 3 * 4;
  bytes[at] = 7;
  Archive in(bytes);
  CRepKey key;
  key.Load(in, kCircleRecordVersion);
  EXPECT_EQ(key.Data().kyListing, 0);
  EXPECT_EQ(key.Data().normalGroup, 17);
}

TEST(RepKeyRecordTest, HokyoRecordPrecedesTheBase) {
  for (const int version : {4, kCircleRecordVersion}) {
    SCOPED_TRACE(version);
    CRepKeyHokyo stored;
    stored.Copy(FilledAt(version));
    stored.Data().fsType = 11;
    RecordBytes b;
    if (version >= 8) {
      stored.Hokyo() = tagREPKEYHOKYO{1, 2, 3, 0.5, 0.75, 1.25};
      b.Int(1).Int(2).Int(3).Double(0.5).Double(0.75).Double(1.25);
    }
    b.Raw(FilledBytes(version));
    ExpectRecordContract<CRepKeyHokyo>({
        .stored = stored,
        .version = version,
        .bytes = b.Get(),
    });
  }
}

}  // namespace
