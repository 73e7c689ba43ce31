#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "core/model/ReinfStdBar.h"
#include "platform/Archive.h"
#include "tests/core/model/ReinfRecordBytes.h"
#include "tests/support/RecordBytes.h"
#include "tests/support/RecordContract.h"

namespace {

bool SameBar(const CReinfStdBar& a, const CReinfStdBar& b) { return a.IsSame(b); }

TEST(ReinfStdBarTest, NewBarIsEmpty) {
  const CReinfStdBar bar;
  EXPECT_TRUE(bar.name.empty());
  EXPECT_TRUE(bar.kei.empty());
  EXPECT_TRUE(bar.remark.empty());
  for (const double v : {bar.w, bar.d, bar.as, bar.drillD, bar.sigmaSaN, bar.sigmaSaQ}) {
    EXPECT_EQ(v, kNoValue);
  }
  CReinfStdBar entered = SampleD22Bar();
  entered.Init();
  EXPECT_TRUE(entered.IsSame(bar));
}

TEST(ReinfStdBarTest, ValidWithNamesAndTheFourDimensions) {
  struct Case {
    const char* change;
    std::function<void(CReinfStdBar&)> apply;
    bool valid;
  };
  const Case cases[] = {
      {"nothing", [](CReinfStdBar&) {}, true},
      {"no stresses", [](CReinfStdBar& b) { b.sigmaSaN = b.sigmaSaQ = kNoValue; }, true},
      {"no remark", [](CReinfStdBar& b) { b.remark.clear(); }, true},
      {"no nominal size", [](CReinfStdBar& b) { b.kei.clear(); }, false},
      {"no name", [](CReinfStdBar& b) { b.name.clear(); }, false},
      {"no unit mass", [](CReinfStdBar& b) { b.w = kNoValue; }, false},
      {"no diameter", [](CReinfStdBar& b) { b.d = kNoValue; }, false},
      {"no area", [](CReinfStdBar& b) { b.as = kNoValue; }, false},
      {"no drilling diameter", [](CReinfStdBar& b) { b.drillD = kNoValue; }, false},
  };
  for (const Case& c : cases) {
    CReinfStdBar bar = SampleD22Bar();
    c.apply(bar);
    EXPECT_EQ(bar.IsValid(), c.valid) << c.change;
  }
}

TEST(ReinfStdBarTest, TextsCountOnlyForIsSame) {
  const CReinfStdBar base = SampleD22Bar();
  CReinfStdBar renamed = SampleD22Bar();
  renamed.remark = "other";
  EXPECT_FALSE(renamed.IsSame(base));
  EXPECT_TRUE(renamed.IsSameUseCale(base));

  for (double CReinfStdBar::*value :
       {&CReinfStdBar::w, &CReinfStdBar::d, &CReinfStdBar::as, &CReinfStdBar::drillD,
        &CReinfStdBar::sigmaSaN, &CReinfStdBar::sigmaSaQ}) {
    CReinfStdBar changed = SampleD22Bar();
    changed.*value += 1.0;
    EXPECT_FALSE(changed.IsSameUseCale(base));
    EXPECT_FALSE(changed.IsSame(base));
  }
}

TEST(ReinfStdBarTest, RecordOfACurrentDocument) {
  RecordBytes bytes;
  AppendStdBar(bytes, {u"ネジ節棒鋼", u"D22", u"SD345", {3.04, 22.0, 3.871, 65.0, 200.0, 300.0}});
  ExpectRecordContract<CReinfStdBar>(
      {.stored = SampleD22Bar(), .version = 10, .bytes = bytes.Get(), .same = SameBar});
}

TEST(ReinfStdBarTest, RecordBeforeVersionSevenHasNoNominalSize) {
  const std::vector<std::uint8_t> bytes = RecordBytes()
                                              .Text(u"ネジ節棒鋼")
                                              .Text(u"SD345")
                                              .Double(3.04)
                                              .Double(22.0)
                                              .Double(3.871)
                                              .Double(65.0)
                                              .Double(200.0)
                                              .Double(300.0)
                                              .Get();
  CReinfStdBar written = SampleD22Bar();
  written.kei.clear();
  ExpectRecordContract<CReinfStdBar>(
      {.stored = written, .version = 6, .bytes = bytes, .same = SameBar});

  // The nominal size of an older record is empty, whatever the bar held.
  CReinfStdBar loaded = SampleD22Bar();
  Archive in(bytes);
  loaded.Load(in, 6);
  EXPECT_TRUE(loaded.kei.empty());
}

}  // namespace
