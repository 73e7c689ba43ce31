#include <gtest/gtest.h>

#include <cstddef>
#include <cstdint>
#include <iterator>
#include <vector>

#include "core/base/CoreSettings.h"
#include "core/geometry/DPolyArray.h"
#include "core/section/SpSlide.h"
#include "platform/Archive.h"
#include "tests/support/RecordBytes.h"

namespace {

constexpr int kVersion = 4;

// A document load the way the case loads one: the rounding rules and the slide settings go into
// a fresh copy of the settings, the slide lines into the list only when all were read; the
// settings become current after the last record.
void LoadDocument(Archive& ar, CDPolyArray& slides) {
  ChangeSettings([&](CoreSettings& fresh) {
    fresh._roundSet.Load(ar, kVersion);
    CSpSlide::SerializeStaticMember(ar, fresh);
    slides.Load(ar, kVersion);
  });
}

// Settings unlike the defaults and unlike those the document holds.
CoreSettings Before() {
  CoreSettings settings;
  settings._roundSet.digitsCohesion = 1;
  settings._stageNo = 2;
  settings.stretch = {0, 0, 80.0, 10.0, 2, 2};
  return settings;
}

// What the document below holds.
CoreSettings Loaded() {
  CoreSettings settings = Before();  // the design step is not stored
  settings._roundSet = CUnitFilter();
  settings._roundSet.roundSwitch = 0;
  settings._roundSet.digitsSafetyFactor = 2;
  settings.stretch = {1, 2, 45.0, 30.0, 3, 4};
  settings.m_bShowABC = 0;
  return settings;
}

RecordBytes& RoundingRules(RecordBytes& bytes) {
  // switch off; modes half up, truncate, up; digits 2, 3, 4, 3, 0
  return bytes.Int(0).Int(2).Int(1).Int(0).Int(2).Int(3).Int(4).Int(3).Int(0);
}

RecordBytes& SlideSettings(RecordBytes& bytes) {
  // strength tail, head, type tail, head, angle tail, head, display switch
  return bytes.Int(4).Int(3).Int(2).Int(1).Double(30.0).Double(45.0).Int(0);
}

// A slide line of two vertices in the shape list (kind code, name, count, circle, vertices), of
// which only the first `written` are there.
RecordBytes& Slide(RecordBytes& bytes, double y, int written = 2) {
  bytes.Int(kKindSlide).Text(u"s").Int(2).Double(kNoValue).Double(kNoValue).Double(kNoValue);
  for (int i = 0; i < written; ++i) bytes.Double(10 * i).Double(y - 5 * i).UInt32(0).UInt32(0);
  return bytes;
}

// The rounding rules, the slide settings and three slide lines, the last one damaged or not.
std::vector<std::uint8_t> Document(bool damagedLastSlide) {
  RecordBytes bytes;
  SlideSettings(RoundingRules(bytes));
  bytes.Int(3);
  Slide(Slide(bytes, 10), 20);
  Slide(bytes, 30, damagedLastSlide ? 1 : 2);
  return bytes.Get();
}

TEST(SettingsLoadTest, ACompleteDocumentMakesItsSettingsCurrent) {
  MakeCurrent(Before());
  CDPolyArray slides;
  Archive in(Document(false));
  LoadDocument(in, slides);
  EXPECT_EQ(CurrentSettings(), Loaded());
  EXPECT_EQ(slides.GetSize(), 3);
}

TEST(SettingsLoadTest, AFailedDocumentLoadLeavesEverySettingAsItWas) {
  const std::vector<std::uint8_t> damaged = Document(true);
  // The damaged slide record after good ones, and every shorter document: the settings records
  // are read, or partly read, before the load fails.
  for (std::ptrdiff_t length = 0; length <= std::ssize(damaged); ++length) {
    SCOPED_TRACE(length);
    MakeCurrent(Before());
    CDPolyArray slides;
    Archive in(std::vector<std::uint8_t>(damaged.begin(), damaged.begin() + length));
    EXPECT_THROW(LoadDocument(in, slides), ArchiveException);
    EXPECT_EQ(CurrentSettings(), Before());
    EXPECT_EQ(slides.GetSize(), 0);
  }
}

}  // namespace
