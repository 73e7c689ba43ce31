#pragma once
// The multi-plane calculation of design step 2: for every pair of a start block i and an end
// block j > i of the case's block list it cuts the run i..j, finds its safety factors (forward
// analysis) or the strength that gives the planned safety factor (back analysis), and files one
// result point per pair in the result set. The case builds one for a calculation; the job owns
// nothing it points to.
//
// A run has three steps. Prepare (GUI thread) resets the result set and fixes what the pair loop
// reads. Process (any thread) is the pair loop, a pure function of the prepared input and the
// feedback: it writes nothing but the points it returns, so it can run on worker threads while
// the GUI thread shows its progress. Post (GUI thread) files the points, sorts them and sets the
// graph ranges and colours.
//
// The pair loop runs its rows in parallel. Rows depend on one another only through their first
// pair: pair (i, j) starts from the Fs of (i, j - 1), and the first pair of row i + 1 from that of
// row i. So the first pairs are computed in order first, then every row runs on its own on a pool
// of std::jthreads that take the next row from an atomic counter; each pair sees exactly the
// start values of the sequential order, so the results are bit-identical for any thread count.

#include <memory>
#include <vector>

#include "core/stability/MltPoint.h"

class CBlockList;
class CDanmenStab;
class CPrmStab;
class CResStab2;
class ProgressFeedback;

class CCalcStabMlt {
 public:
  struct Inputs {
    CDanmenStab* normal = nullptr;     // the seismic data of the march; the normal-case switch
    CDanmenStab* seismic = nullptr;    // may be null: the seismic case is off
    const CPrmStab* prm = nullptr;     // the planned Fs of the back analysis
    CResStab2* result = nullptr;       // its kind selects forward (0) or back analysis (1)
    const CResStab2* gyaku = nullptr;  // adopted c and tan(phi) for the forward analysis, or null
    const CBlockList* blocks = nullptr;
  };

  // The Fs every case starts from, and restarts from after a pair without a value.
  static constexpr double kStartFs = 1.5;

  explicit CCalcStabMlt(const Inputs& inputs) : in_(inputs) {}

  // The whole calculation without a window (a headless run): Prepare, Process, Post.
  void CalcStart();

  // GUI thread: resets the result set and its key's case switches from the sections.
  void Prepare();
  // Any thread, after Prepare: the pair loop of the result set's kind on `threads` workers (0: one
  // per core). Reports each pair to the feedback and stops at its cancel, keeping whole rows only
  // (in order, so ids still equal positions) and marking the points interrupted.
  std::unique_ptr<CMltBlocks> Process(ProgressFeedback& feedback, int threads = 0) const;
  // GUI thread: files the points in the result set, sorts them and sets the graph ranges and
  // colours.
  void Post(std::unique_ptr<CMltBlocks> points);

 private:
  struct Row;
  struct Job;

  Inputs in_;
};
