#include <gtest/gtest.h>

#include <string>

#include "core/model/DrawSet.h"

namespace {

// The answers of every predicate, so that a case lists all of them at once.
struct Answers {
  bool all;
  bool before;
  bool after;
  bool normal;
  bool quake;
  bool blockType;
  friend bool operator==(const Answers&, const Answers&) = default;
};

Answers AnswersOf(const CDrawSet& set) {
  return {set.IsWaterDrawAll(),    set.IsWaterDrawBefore(), set.IsWaterDrawAfter(),
          set.IsWaterDrawNormal(), set.IsWaterDrawQuake(),  set.IsBlockType()};
}

std::string Describe(const Answers& a) {
  return "all=" + std::to_string(a.all) + " before=" + std::to_string(a.before) +
         " after=" + std::to_string(a.after) + " normal=" + std::to_string(a.normal) +
         " quake=" + std::to_string(a.quake) + " blockType=" + std::to_string(a.blockType);
}

TEST(DrawSetTest, PredicatesFollowTheSwitches) {
  struct Case {
    const char* name;
    int waterAll;
    int waterWhen;
    int loadCase;
    int blocksOnly;
    Answers expected;
  };
  // all, before, after, normal, quake, block type
  const Case cases[] = {
      {"defaults", 0, 1, 0, 0, {false, false, true, true, false, false}},
      {"water for all", 1, 1, 0, 0, {true, false, true, true, false, false}},
      {"water for all 2", 2, 1, 0, 0, {false, false, true, true, false, false}},
      {"water before", 0, 0, 0, 0, {false, true, false, true, false, false}},
      {"water when 2", 0, 2, 0, 0, {false, false, false, true, false, false}},
      {"water when -1", 0, -1, 0, 0, {false, false, false, true, false, false}},
      {"seismic", 0, 1, 1, 0, {false, false, true, false, true, false}},
      {"both cases", 0, 1, 2, 0, {false, false, true, true, true, false}},
      {"load case 3", 0, 1, 3, 0, {false, false, true, false, false, false}},
      {"load case -1", 0, 1, -1, 0, {false, false, true, false, false, false}},
      {"blocks only", 0, 1, 0, 1, {false, false, true, true, false, true}},
      {"blocks only 2", 0, 1, 0, 2, {false, false, true, true, false, false}},
  };
  for (const Case& c : cases) {
    CDrawSet set;
    set.waterAll = c.waterAll;
    set.waterWhen = c.waterWhen;
    set.loadCase = c.loadCase;
    set.blocksOnly = c.blocksOnly;
    const Answers got = AnswersOf(set);
    EXPECT_EQ(got, c.expected) << c.name << ": got " << Describe(got);
  }
}

CDrawSet Changed() {
  CDrawSet set;
  set.option1 = 4;
  set.option2 = 5;
  set.option3 = 6;
  set.waterAll = 1;
  set.waterWhen = 0;
  set.loadCase = 2;
  set.blocksOnly = 1;
  return set;
}

void ExpectFields(const CDrawSet& set, const int (&expected)[7]) {
  const int got[7] = {set.option1,   set.option2,  set.option3,   set.waterAll,
                      set.waterWhen, set.loadCase, set.blocksOnly};
  for (int i = 0; i < 7; ++i) EXPECT_EQ(got[i], expected[i]) << "field " << i;
}

// A new set holds the switches of the "defaults" row of PredicatesFollowTheSwitches.
TEST(DrawSetTest, ANewSetHoldsTheDefaultsCopyTakesAllSevenSwitchesAndInitRestoresThem) {
  CDrawSet target;
  ExpectFields(target, {0, 0, 0, 0, 1, 0, 0});
  target.Copy(Changed());
  ExpectFields(target, {4, 5, 6, 1, 0, 2, 1});

  target.Init();
  ExpectFields(target, {0, 0, 0, 0, 1, 0, 0});
}

}  // namespace
