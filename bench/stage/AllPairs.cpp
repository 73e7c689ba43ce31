#include "bench/stage/AllPairs.h"

#include <memory>

#include "core/stability/BlockList.h"
#include "core/stability/MltPoint.h"
#include "core/stability/ResStab2.h"

void FillAllPairs(CResStab2& results) {
  constexpr int kBlocks = CBlockList::kMaxBlocks;
  auto points = std::make_unique<CMltBlocks>();
  int id = 0;
  for (int start = 0; start + 1 < kBlocks; ++start) {
    for (int end = start + 1; end < kBlocks; ++end) {
      auto point = std::make_unique<CMltPoint>();
      point->id = id++;
      point->startBlock = start;
      point->endBlock = end;
      point->fsN = 0.9 + 0.001 * ((start * 7 + end * 13) % 700);
      point->fsQ = point->fsN - 0.2;
      point->sN = 100.0 * point->fsN;
      point->tN = 100.0;
      point->sQ = 100.0 * point->fsQ;
      point->tQ = 100.0;
      point->typicalN = point->typicalQ = id == 1 ? 1 : 0;
      points->Add(std::move(point));
    }
  }
  results.DeleteResultAll();
  results.SetResult(std::move(points));
  results.blockCount = kBlocks;
  results.SerialResult();
  results.SortSerial();
}
