#include <gtest/gtest.h>

#include <vector>

#include "core/base/Utility.h"
#include "core/stability/FsSearch.h"

namespace {

// One pass of a search: the march's outcome at the current trial.
struct Pass {
  bool closed;
  double residual;
};

// The trials at which the search runs the march, the passes fed one by one.
std::vector<double> Trials(CFsSearch& search, const std::vector<Pass>& passes) {
  std::vector<double> trials;
  for (const Pass& pass : passes) {
    trials.push_back(search.Trial());
    search.Take(pass.closed, pass.residual);
  }
  return trials;
}

// From 1: two passes grow the trial by a tenth of itself, the first change of sign ends that and
// cuts the step to a tenth, the step then stays until the next change cuts it again.
TEST(FsSearchTest, GrowsByATenthUntilTheSignChangesThenStepsByATenthOfTheLastStep) {
  CFsSearch search(1.0);
  const std::vector<double> trials =
      Trials(search, {{false, 5}, {false, 3}, {false, -2}, {false, -1}, {false, 0.5}, {true, 0}});
  const std::vector<double> expected = {1.0, 1.1, 1.21, 1.199, 1.188, 1.1891};
  ASSERT_EQ(trials.size(), expected.size());
  for (std::size_t k = 0; k < trials.size(); ++k) EXPECT_NEAR(trials[k], expected[k], 1e-12) << k;
  EXPECT_TRUE(search.IsConverged());
  EXPECT_FALSE(search.IsOpen());
  EXPECT_EQ(search.Result(), trials.back());
}

TEST(FsSearchTest, AResidualThatKeepsItsSignMovesTheTrialByATenthOfItselfEveryPass) {
  for (const double residual : {1.0, -1.0}) {
    CFsSearch search(1.5);
    double expected = 1.5;
    for (int pass = 0; pass < 40; ++pass) {
      ASSERT_EQ(search.Trial(), expected) << pass;
      search.Take(false, residual);
      expected += residual * (expected / 10);
    }
  }
}

// Growing or shrinking, the search gives up after 502 passes: a trial that climbed to 99.999 or
// beyond reports exactly that, one that shrank toward 0 reports no value.
TEST(FsSearchTest, AfterItsPassesTheSearchReportsTheLimitOrNoValue) {
  const struct {
    double residual;
    double result;
  } cases[] = {{1.0, CFsSearch::kOverLimit}, {-1.0, kNoValue}};
  for (const auto& c : cases) {
    CFsSearch search(1.5);
    int passes = 0;
    while (search.IsOpen()) {
      ASSERT_GT(search.Trial(), 0);
      search.Take(false, c.residual);
      ++passes;
    }
    EXPECT_EQ(passes, CFsSearch::kPasses);
    EXPECT_FALSE(search.IsConverged());
    EXPECT_EQ(search.Result(), c.result);
  }
}

// After the first change of sign the step is fixed, so a residual that stays negative walks the
// trial down to 0; the trial that would reach it is taken back and the step becomes a tenth of the
// trial.
TEST(FsSearchTest, ATrialThatWouldReachZeroIsTakenBackWithATenthOfItAsTheStep) {
  CFsSearch search(1.0);
  search.Take(false, 1);   // 1.1, step 0.1
  search.Take(false, -1);  // step 0.01
  double previous = search.Trial();
  while (search.Trial() - 0.01 > 0) {
    search.Take(false, -1);
    ASSERT_NEAR(search.Trial(), previous - 0.01, 1e-12);
    previous = search.Trial();
  }
  const double last = search.Trial();
  search.Take(false, -1);
  EXPECT_NEAR(search.Trial(), last, 1e-15);  // taken back
  search.Take(false, -1);
  EXPECT_NEAR(search.Trial(), 0.9 * last, 1e-15);
  EXPECT_GT(search.Trial(), 0);
}

TEST(FsSearchTest, AStartThatClosesAtOnceIsTheResult) {
  CFsSearch search(1.5);
  search.Take(true, 0);
  EXPECT_EQ(search.Result(), 1.5);
}

// From 0 in steps of 1; each time the size of the residual grows the step reverses to a tenth.
TEST(StrengthSearchTest, ReversesAndShrinksTheStepWhenTheResidualGrows) {
  CStrengthSearch search;
  std::vector<double> values;
  for (const Pass& pass : std::vector<Pass>{
           {false, 5}, {false, -3}, {false, 4}, {false, 2}, {false, -2.5}, {true, 0}}) {
    values.push_back(search.Value());
    search.Take(pass.closed, pass.residual);
  }
  const std::vector<double> expected = {0, 1, 2, 1.9, 1.8, 1.81};
  ASSERT_EQ(values.size(), expected.size());
  for (std::size_t k = 0; k < values.size(); ++k) EXPECT_NEAR(values[k], expected[k], 1e-12) << k;
  EXPECT_TRUE(search.IsConverged());
  EXPECT_EQ(search.Value(), values.back());
}

TEST(StrengthSearchTest, GivesUpAfterItsPassesWithItsLastTrialValue) {
  CStrengthSearch search;
  int passes = 0;
  while (search.IsOpen()) {
    search.Take(false, 1);  // never grows: the value climbs by 1 every pass
    ++passes;
  }
  EXPECT_EQ(passes, CStrengthSearch::kPasses);
  EXPECT_FALSE(search.IsConverged());
  EXPECT_EQ(search.Value(), CStrengthSearch::kPasses);
}

}  // namespace
