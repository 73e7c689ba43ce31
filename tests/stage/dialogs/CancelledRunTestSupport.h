#pragma once
// Cancelling a calculation mid-way as the user does, at a known point of the run: the scripted
// interface cancels it right after a chosen report, on the thread that made it. The job's rows run
// on several threads, so which rows were whole at that moment varies; what a cancelled job keeps
// must hold for every such outcome: whole rows from the first on, in order, ids equal positions.

#include <gtest/gtest.h>

#include <functional>
#include <utility>

#include "core/stability/MltPoint.h"
#include "tests/support/ScriptedUi.h"

// Runs `start`, whose run the user cancels right after its `report`-th report.
inline void RunCancelledAtReport(int report, const std::function<void()>& start) {
  TestUi().CancelNextRunAtReport(report);
  start();
}

// All the reports of the pairs of `blocks` blocks but a row's worth: the job has at most one
// thread per row, and each thread has at most one pair under way, so at least one pair is never
// started and the run is cut short whichever rows its threads had taken.
inline int AllButARowOfReports(int blocks) { return blocks * (blocks - 1) / 2 - (blocks - 1); }

// The points are pairs in the job's order, each id its position; with `everyPair` (a forward
// analysis, where every pair gets a point) they are exactly the pairs of the first rows, whole.
inline void ExpectWholeRowsInOrder(const CMltBlocks& points, int blocks, bool everyPair) {
  std::pair<int, int> previous{-1, -1};
  for (int k = 0; k < points.GetSize(); ++k) {
    const CMltPoint& p = *points.GetMltPoint(k);
    SCOPED_TRACE(k);
    EXPECT_EQ(p.id, k);
    const std::pair<int, int> pair{p.startBlock, p.endBlock};
    EXPECT_LT(previous, pair);
    if (everyPair) {
      const bool nextInRow = pair == std::pair{previous.first, previous.second + 1};
      const bool nextRow = previous.second == blocks - 1 || k == 0;
      EXPECT_TRUE(nextInRow ||
                  (nextRow && pair == std::pair{previous.first + 1, previous.first + 2}));
    }
    previous = pair;
  }
  if (everyPair && points.GetSize() > 0) {
    EXPECT_EQ(previous.second, blocks - 1);
  }
}
