#pragma once
// Cancelling a calculation from its progress window as the user does. The runner shows the run's
// progress from a timer while the job works on worker threads, so a test waits for the window to
// show the run far enough along before it presses cancel, and cuts the case's blocks finely
// enough for the run to last that long.

#include <QTimer>
#include <algorithm>
#include <cstddef>
#include <functional>
#include <vector>

#include "core/stability/Block.h"
#include "core/stability/BlockList.h"
#include "tests/support/ScriptedUi.h"

// Runs `start` and presses cancel in the progress window it opens once the window's bar shows
// `percent`.
inline void RunCancelledAt(int percent, const std::function<void()>& start) {
  const std::size_t window = TestUi().ProgressWindowCount();
  QTimer watch;
  watch.setInterval(1);
  QObject::connect(&watch, &QTimer::timeout, [&watch, window, percent] {
    if (TestUi().ProgressWindowCount() > window && TestUi().Progress(window).position >= percent) {
      TestUi().PressCancel();
      watch.stop();
    }
  });
  watch.start();
  start();
}

// Cuts the range of the list's blocks again into `blocks` equal blocks; returns how many it made.
inline int DivideFinely(CBlockList& list, int blocks) {
  const double left = list.GetBlockPtr(0)->GetLeftX();
  const double right = list.GetBlockPtr(list.GetBlockSize() - 1)->GetRightX();
  std::vector<double> xs;
  for (int k = 0; k <= blocks; ++k) xs.push_back(left + (right - left) * k / blocks);
  list.CopyStX(xs);
  return list.CreateBlock(nullptr, nullptr);
}
