#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "core/model/DrawResGraphSet.h"
#include "platform/Archive.h"
#include "tests/support/RecordBytes.h"
#include "tests/support/RecordContract.h"

namespace {

CDrawResGraphSet Edited() {
  CDrawResGraphSet set;
  set.itemX = 16;
  set.itemY = 5;
  set.autoRange = {0, 1, 0};
  set.maxX = 2.0;
  set.maxY = 500.0;
  set.minX = -1.0;
  set.minY = 10.0;
  set.pitchX = 0.2;
  set.pitchY = 100.0;
  set.background = Color::Rgb(1, 2, 3);
  set.lineColors = {Color::Rgb(4, 5, 6), Color::Rgb(7, 8, 9), Color::Rgb(10, 11, 12)};
  return set;
}

TEST(DrawResGraphSetTest, InitGivesTheDefaults) {
  CDrawResGraphSet set = Edited();
  set.markerSize = 2;
  set.currentApart = 0;
  set.allowMode = 0;
  set.refValues = {1, 2, 3, 4};
  set.Init();
  EXPECT_EQ(set.itemX, -1);
  EXPECT_EQ(set.itemY, -1);
  EXPECT_EQ(set.markerSize, 0);
  EXPECT_EQ(set.autoRange, (std::array<int, 3>{1, 1, 1}));
  EXPECT_EQ(set.maxX, 100.0);
  EXPECT_EQ(set.maxY, 100.0);
  EXPECT_EQ(set.minX, 0.0);
  EXPECT_EQ(set.minY, 0.0);
  EXPECT_EQ(set.pitchX, 5.0);
  EXPECT_EQ(set.pitchY, 5.0);
  EXPECT_EQ(set.currentApart, 1);
  EXPECT_EQ(set.background, Color::Rgb(255, 255, 255));
  EXPECT_EQ(set.lineColors, (std::array<Color, 3>{Color::Rgb(255, 64, 64), Color::Rgb(50, 50, 255),
                                                  Color::Rgb(200, 230, 64)}));
  EXPECT_EQ(set.allowMode, 2);
  for (const double v : set.refValues) EXPECT_EQ(v, kNoValue);
}

TEST(DrawResGraphSetTest, RecordHoldsItemsSwitchesRangesAndColours) {
  const auto bytes = RecordBytes()
                         .Int(16)
                         .Int(5)
                         .Int(0)
                         .Int(1)
                         .Int(0)
                         .Double(2.0)
                         .Double(500.0)
                         .Double(-1.0)
                         .Double(10.0)
                         .Double(0.2)
                         .Double(100.0)
                         .Color(Color::Rgb(1, 2, 3))
                         .Color(Color::Rgb(4, 5, 6))
                         .Color(Color::Rgb(7, 8, 9))
                         .Color(Color::Rgb(10, 11, 12))
                         .Get();
  ExpectRecordContract<CDrawResGraphSet>({.stored = Edited(), .version = 10, .bytes = bytes});
}

TEST(DrawResGraphSetTest, LoadStartsFromTheDefaults) {
  const auto bytes = RecordBytes()
                         .Int(3)
                         .Int(4)
                         .Int(1)
                         .Int(1)
                         .Int(1)
                         .Double(1)
                         .Double(1)
                         .Double(0)
                         .Double(0)
                         .Double(1)
                         .Double(1)
                         .Color({})
                         .Color({})
                         .Color({})
                         .Color({})
                         .Get();
  CDrawResGraphSet set;
  set.markerSize = 2;
  set.refValues[0] = 1.5;
  Archive in(bytes);
  set.Load(in, 10);
  EXPECT_EQ(set.markerSize, 0);
  EXPECT_EQ(set.refValues[0], kNoValue);
  EXPECT_EQ(set.itemX, 3);
}

TEST(DrawResGraphSetTest, CopyAndIsSameLeaveOutTheReferenceValues) {
  CDrawResGraphSet source = Edited();
  source.markerSize = 1;
  source.refValues = {1, 2, 3, 4};
  CDrawResGraphSet target;
  target.refValues = {5, 6, 7, 8};
  target.Copy(source);
  EXPECT_TRUE(target.IsSame(source));
  EXPECT_EQ(target.markerSize, 1);
  EXPECT_EQ(target.refValues, (std::array<double, 4>{5, 6, 7, 8}));

  // The fields that are not stored still count.
  target.allowMode = 0;
  EXPECT_FALSE(target.IsSame(source));
}

TEST(DrawResGraphSetTest, ResetIndexSetsTheItemsOfACase) {
  struct Case {
    int resultCase;
    bool flag;
    int itemX;
    int itemY;
  };
  const Case cases[] = {
      {-1, false, -1, -1}, {0, false, 10, 5}, {0, true, 11, 5},
      {1, false, 16, 5},   {1, true, 17, 5},  {2, false, 7, 8},
  };
  for (const Case& c : cases) {
    CDrawResGraphSet set;
    set.itemX = 7;
    set.itemY = 8;
    set.ResetIndex(c.resultCase, c.flag);
    EXPECT_EQ(set.itemX, c.itemX) << c.resultCase << " " << c.flag;
    EXPECT_EQ(set.itemY, c.itemY) << c.resultCase << " " << c.flag;
  }
}

TEST(DrawResGraphSetTest, CaptionsAndUnitsOfTheItems) {
  struct Case {
    int item;
    const char* name;
    const char* unit;
    const char* drainage;
    const char* reinforcement;
  };
  const Case cases[] = {
      {3, "中心X", "(m)", "中心X", "中心X"},
      {5, "半径r", "(m)", "半径r", "半径r"},
      {8, "異常降雨時滑動力T", "(kN/m)", "異常降雨時滑動力T", "異常降雨時滑動力T"},
      {9, "", "", "異常降雨時補強材抵抗力Sr", "異常降雨時補強材抵抗力Sr"},
      {10, "異常降雨時安全率Fs", "", "異常降雨時排水前安全率Fs", "異常降雨時排水後安全率Fs"},
      {11, "", "", "異常降雨時排水後安全率Fs", "異常降雨時補強後安全率Fs"},
      {12, "異常降雨時抑止力Pr", "(kN/m)", "", ""},
      {14, "地震時L1滑動力T", "(kN/m)", "地震時L1滑動力T", "地震時L1滑動力T"},
      {15, "", "", "地震時L1補強材抵抗力Sr", "地震時L1補強材抵抗力Sr"},
      {16, "地震時L1安全率Fs", "", "地震時L1排水前安全率Fs", "地震時L1排水後安全率Fs"},
      {17, "", "", "地震時L1排水後安全率Fs", "地震時L1補強後安全率Fs"},
      {18, "地震時L1抑止力Pr", "(kN/m)", "", ""},
      {19, "累計変位量", "(m)", "排水前累計変位量", "排水後累計変位量"},
      {20, "", "(m)", "排水後累計変位量", "補強後累計変位量"},
      {21, "降伏震度ピーク時", "", "", ""},
      {23, "", "", "降伏震度ピーク時", "降伏震度ピーク時"},
      {24, "", "", "降伏震度即時低下時", "降伏震度即時低下時"},
      {27, "慣性モーメント", "(kN・m・s2)", "慣性モーメント", "慣性モーメント"},
      {0, "", "", "", ""},
      {-1, "", "", "", ""},
      {28, "", "", "", ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(CDrawResGraphSet::GetHeadName(c.item), c.name) << c.item;
    EXPECT_EQ(CDrawResGraphSet::GetHeadUnit(c.item), c.unit) << c.item;
    EXPECT_EQ(CDrawResGraphSet::GetHeadNameAfter(c.item, false), c.drainage) << c.item;
    EXPECT_EQ(CDrawResGraphSet::GetHeadNameAfter(c.item, true), c.reinforcement) << c.item;
  }
}

}  // namespace
