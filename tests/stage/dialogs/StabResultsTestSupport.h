#pragma once
// Multi-plane results made by hand for the step-2 result dialogs: one point per pair of blocks
// with the Fs the test chooses, so that a table or a matrix can be written out in full.

#include <functional>
#include <memory>
#include <optional>

#include "core/stability/MltPoint.h"
#include "core/stability/ResStab2.h"

// Fs of the normal case of the pair (0-based blocks), nothing for a pair without a point; the
// seismic Fs is one more.
using PairFs = std::function<std::optional<double>(int start, int end)>;

inline void FillHandResults(CResStab2& results, int blocks, const PairFs& fsOf) {
  auto points = std::make_unique<CMltBlocks>();
  int id = 0;
  for (int start = 0; start + 1 < blocks; ++start) {
    for (int end = start + 1; end < blocks; ++end) {
      const std::optional<double> fs = fsOf(start, end);
      if (!fs) continue;
      auto point = std::make_unique<CMltPoint>();
      point->id = id++;
      point->startBlock = start;
      point->endBlock = end;
      point->fsN = *fs;
      point->fsQ = *fs + 1.0;
      point->sN = 100.0 * *fs;
      point->tN = 100.0;
      point->sQ = 100.0 * (*fs + 1.0);
      point->tQ = 100.0;
      points->Add(std::move(point));
    }
  }
  results.DeleteResultAll();
  results.SetResult(std::move(points));
  results.blockCount = blocks;
  results.SerialResult();
  results.SortSerial();
}
