#pragma once
// The multi-plane calculation of design step 2: for every pair of a start block i and an end
// block j > i of the case's block list it cuts the run i..j, finds its safety factors (forward
// analysis) or the strength that gives the planned safety factor (back analysis) under a
// cancellable progress dialog, and files one result point per pair in the result set. The case
// builds one for a calculation and calls CalcStart; the job owns nothing it points to.

#include <memory>

class CBlockList;
class CDanmenStab;
class CMltBlocks;
class CPrmStab;
class CResStab2;

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

  // The whole calculation: the pair loop, then the filing, sorting, graph ranges and colours.
  void CalcStart();
  // Resets the result set and runs the pair loop; the points end in the result set.
  void CalcProcess();
  // The pair loop of the kind under a progress dialog; returns the points it made.
  std::unique_ptr<CMltBlocks> CalcMultiEngine(int kind);

 private:
  Inputs in_;
};
