#include "core/stability/CalcStabMlt.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

#include "core/base/Constants.h"
#include "core/base/CoreConfig.h"
#include "core/model/Danmen.h"
#include "core/model/PrmStab.h"
#include "core/stability/BlockList.h"
#include "core/stability/CalcDriverMlt.h"
#include "core/stability/ResStab2.h"
#include "platform/ProgressFeedback.h"

namespace {

// Rounding codes of the filed values.
constexpr int kCodeS = 241;
constexpr int kCodeT = 301;
constexpr int kCodeFs = 163;
constexpr int kCodeC = 131;

// A pair without a value gives the next pair nothing to start from: it starts afresh.
double NextStart(double fs) { return fs == kNoValue ? CCalcStabMlt::kStartFs : fs; }

std::string PairLine(int i, int j, int done, int total) {
  char text[128];
  std::snprintf(text, sizeof text, "ブロック %d - %d を計算中...(%d/%d)", i + 1, j + 1, done,
                total);
  return text;
}

int WorkerCount(int threads, int rows) {
  const int wanted = threads > 0 ? threads : static_cast<int>(std::thread::hardware_concurrency());
  return std::clamp(wanted, 1, std::max(rows, 1));
}

// The driver of every pair of a job of the given kind. Both the driver and the block list take the
// list's direction, so that their signs agree.
CCalcDriverMlt DriverOf(const CBlockList& blocks, const CDanmenStab* normal, const CMltKey& key,
                        bool forward) {
  CCalcDriverMlt driver;
  driver.SetRightUpper(blocks.IsRightUpper());
  driver.SetDanmenStab(normal);
  driver.SetCalcNormal(forward && key.normalOn == 1);
  driver.SetCalcQuake(forward && key.quakeOn == 1);
  return driver;
}

// The forward result of the run first..last from the start values fsN and fsQ, which become the
// start values of the next pair. The filed values are rounded by their codes.
std::unique_ptr<CMltPoint> ForwardPoint(const CCalcDriverMlt& driver, const CMarchBlocks& blocks,
                                        int first, int last, double c, double tanPhi, double& fsN,
                                        double& fsQ) {
  auto p = std::make_unique<CMltPoint>();
  double tN = kNoValue;
  double sN = kNoValue;
  double tQ = kNoValue;
  double sQ = kNoValue;
  driver.KeisanFs(fsN, fsQ, blocks, first, last, tN, sN, tQ, sQ, c, tanPhi);
  p->fsN = CCoreConfig::GetRound(fsN, kCodeFs);
  p->fsQ = CCoreConfig::GetRound(fsQ, kCodeFs);
  p->sN = CCoreConfig::GetRound(sN, kCodeS);
  p->sQ = CCoreConfig::GetRound(sQ, kCodeS);
  p->tN = CCoreConfig::GetRound(tN, kCodeT);
  p->tQ = CCoreConfig::GetRound(tQ, kCodeT);
  fsN = NextStart(fsN);
  fsQ = NextStart(fsQ);
  return p;
}

// The back-analysed strength of the run first..last at the planned Fs, with c for the chosen
// stratum's phi; null when no strength closes the run.
std::unique_ptr<CMltPoint> GyakuPoint(const CCalcDriverMlt& driver, const CMarchBlocks& blocks,
                                      int first, int last, double plannedFs, double stratumPhi) {
  double c0 = kNoValue;
  double tanPhi0 = kNoValue;
  if (!driver.KeisanReverse(blocks, first, last, c0, tanPhi0, plannedFs)) return nullptr;
  auto p = std::make_unique<CMltPointGyaku>();
  p->c0 = c0;
  p->tanPhi0 = tanPhi0;
  p->phi0 = tanPhi0 == kNoValue ? kNoValue : RadToDeg(std::atan(tanPhi0));
  // Without the chosen stratum there is no friction, and no cohesion to go with it.
  p->phi = stratumPhi;
  if (p->phi != kNoValue) {
    p->tanPhi = std::tan(DegToRad(p->phi));
    p->c =
        CCoreConfig::GetRound(driver.KeisanRevC(blocks, first, last, p->tanPhi, plannedFs), kCodeC);
  }
  return p;
}

}  // namespace

// One row of the pair loop: the points of the pairs (i, i + 1), (i, i + 2), ... that were filed,
// and whether the row ran to its last pair.
struct CCalcStabMlt::Row {
  std::vector<std::unique_ptr<CMltPoint>> points;
  double fsN = kStartFs;  // the start values of the row's second pair (forward analysis)
  double fsQ = kStartFs;
  bool complete = false;
};

// What every pair reads, fixed before the rows run, and the count of pairs the workers have done.
struct CCalcStabMlt::Job {
  Job(const Inputs& in, ProgressFeedback& progress)
      : blocks(*in.blocks),
        kind(in.result->GetMltType()),
        n(blocks.GetBlockSize()),
        total(n < 1 ? 0 : n * (n - 1) / 2),
        c(in.gyaku ? in.gyaku->adopted[0] : kNoValue),
        tanPhi(in.gyaku ? in.gyaku->adopted[2] : kNoValue),
        plannedFs(in.prm ? in.prm->assumedFs : kNoValue),
        stratumPhi(blocks.GetSouFai()),
        feedback(progress),
        driver(DriverOf(blocks, in.normal, in.result->GetKey(), Forward())),
        read(Forward() ? driver.ReadForFs(blocks) : driver.ReadForReverse(blocks)) {}

  const CBlockList& blocks;
  const int kind;
  const int n;
  const int total;
  const double c;
  const double tanPhi;
  const double plannedFs;
  const double stratumPhi;
  ProgressFeedback& feedback;
  const CCalcDriverMlt driver;
  const CMarchBlocks read;  // the blocks read once for every pair
  std::atomic<int> done{0};

  bool Forward() const { return kind == CMltPoint::kKindForward; }

  // Calculates the run i..j; a forward point moves fsN and fsQ on to the start values of the next
  // pair. Null for a back-analysed run that no strength closes.
  std::unique_ptr<CMltPoint> Pair(int i, int j, double& fsN, double& fsQ) {
    std::unique_ptr<CMltPoint> point = Forward()
                                           ? ForwardPoint(driver, read, i, j, c, tanPhi, fsN, fsQ)
                                           : GyakuPoint(driver, read, i, j, plannedFs, stratumPhi);
    const int count = done.fetch_add(1) + 1;
    feedback.SetProgress(100.0 * count / total);
    feedback.SetLines("多平面安定解析", PairLine(i, j, count, total));
    if (point) {
      point->startBlock = i;
      point->endBlock = j;
    }
    return point;
  }

  // The forward rows' first pairs in order: each starts from the one before.
  void ChainFirstPairs(std::vector<Row>& rows) {
    double fsN = kStartFs;
    double fsQ = kStartFs;
    for (int i = 0; i + 1 < n && !feedback.IsCancelled(); ++i) {
      rows[i].points.push_back(Pair(i, i + 1, fsN, fsQ));
      rows[i].fsN = fsN;
      rows[i].fsQ = fsQ;
    }
  }

  // The rest of row i: from its first pair on when the chain made it, else from its start.
  void RunRow(int i, Row& row) {
    if (Forward() && row.points.empty()) return;  // the chain stopped before this row
    double fsN = row.fsN;
    double fsQ = row.fsQ;
    for (int j = i + 1 + (Forward() ? 1 : 0); j < n; ++j) {
      if (feedback.IsCancelled()) return;
      if (std::unique_ptr<CMltPoint> point = Pair(i, j, fsN, fsQ)) {
        row.points.push_back(std::move(point));
      }
    }
    row.complete = true;
  }

  // The rows on `workers` threads (this one among them), each taking the next row left.
  void RunRows(std::vector<Row>& rows, int workers) {
    std::atomic<int> next{0};
    const auto work = [&] {
      for (int i = next.fetch_add(1); i < static_cast<int>(rows.size()); i = next.fetch_add(1)) {
        RunRow(i, rows[i]);
      }
    };
    std::vector<std::jthread> pool;
    for (int w = 1; w < workers; ++w) pool.emplace_back(work);
    work();
  }
};

void CCalcStabMlt::CalcStart() {
  Prepare();
  ProgressFeedback feedback;
  Post(Process(feedback));
}

void CCalcStabMlt::Prepare() {
  CResStab2& result = *in_.result;
  result.DeleteResultAll();
  result.SetCurrentResult(nullptr);
  CMltKey& key = result.GetKey();
  in_.normal->SetSlideMove(0);
  key.normalOn = in_.normal->IsNormal() ? 1 : 0;
  if (in_.seismic) {
    in_.seismic->SetSlideMove(0);
    key.quakeOn = in_.seismic->IsQuake() ? 1 : 0;
  } else {
    key.quakeOn = 0;
  }
  if (key.quakeOn == 0) key.contourCase = 0;
}

std::unique_ptr<CMltBlocks> CCalcStabMlt::Process(ProgressFeedback& feedback, int threads) const {
  Job job(in_, feedback);
  std::vector<Row> rows(static_cast<std::size_t>(std::max(job.n - 1, 0)));
  if (job.Forward()) job.ChainFirstPairs(rows);
  job.RunRows(rows, WorkerCount(threads, static_cast<int>(rows.size())));

  auto points = std::make_unique<CMltBlocks>();
  points->SetMltType(job.kind);
  points->SetInterrupt(false);
  for (Row& row : rows) {
    if (!row.complete) {
      points->SetInterrupt(true);
      feedback.SetLines("", "計算を中止しました。結果出力準備中...");
      break;
    }
    for (std::unique_ptr<CMltPoint>& point : row.points) {
      point->id = points->GetSize();
      points->Add(std::move(point));
    }
  }
  return points;
}

void CCalcStabMlt::Post(std::unique_ptr<CMltBlocks> points) {
  CResStab2& result = *in_.result;
  points->SetTypicalPoint(&result.GetKey());
  result.SetResult(std::move(points));
  std::vector<CMltPoint*> all;
  const CMltKey defaultKey;
  result.resultCount = result.SerialResult(all, &defaultKey);
  result.blockCount = in_.blocks->GetBlockSize();
  result.SerialResult();
  result.SortSerial();
  result.SetGraphFsMaxMin(-1);
  result.MakeGraphColors();
}
