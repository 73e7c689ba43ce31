#pragma once
// The multi-plane driver: the stability of one run of consecutive blocks (a block list from a start
// block to an end block). Its core is the force march: for a trial safety factor Fs it carries the
// inter-block force from the first block to the last, each block's base taking the resistance that
// Fs mobilises, and compares what arrives with what the last block's end face (the body cut off by
// its diagonal) can take. Around the march sit the safety-factor iteration of the normal and the
// seismic case (KeisanFs) and two back analyses of the soil strength at a target Fs (KeisanReverse
// and KeisanRevC).
//
// Every formula keeps the written evaluation order, because engineers compare the results with
// hand calculations and earlier reports. Values that cannot be computed are kNoValue; no
// operation reports to the user.

#include <memory>
#include <string>
#include <vector>

class CBlockList;
class CDanmenStab;

// The blocks of one list as the force march reads them (lengths, weights, signed angles, water
// forces, height factors, the strength rule), read once by a driver for all the runs first..last
// cut from the list: such a run then needs neither a copy of its blocks nor a second reading of
// them, which is most of what a short run costs besides its marches.
class CMarchBlocks {
 public:
  struct Block;

  ~CMarchBlocks();
  CMarchBlocks(CMarchBlocks&&) noexcept;
  CMarchBlocks& operator=(CMarchBlocks&&) noexcept;

 private:
  friend class CCalcDriverMlt;
  CMarchBlocks();

  std::vector<Block> blocks_;
};

class CCalcDriverMlt {
 public:
  // A march closes when what arrives at the end face and what the face takes differ by no more.
  static constexpr double kClosure = 0.001;

  CCalcDriverMlt();
  ~CCalcDriverMlt();
  // The driver owns its block list, so it is moved, never copied.
  CCalcDriverMlt(const CCalcDriverMlt&) = delete;
  CCalcDriverMlt& operator=(const CCalcDriverMlt&) = delete;
  CCalcDriverMlt(CCalcDriverMlt&&) noexcept;
  CCalcDriverMlt& operator=(CCalcDriverMlt&&) noexcept;

  static std::string WhatName() { return "多平面安定解析"; }

  // The section of the seismic data: kh and the reference elevation of the height factor from its
  // calculation conditions, the top elevation from its ground line. Not owned. The seismic march
  // needs it.
  void SetDanmenStab(const CDanmenStab* section) { section_ = section; }
  // True (the default) when the ground rises to the right; it gives the base and end-face angles
  // their sign in the direction of sliding. Set it from the ground's IsRightUpper.
  void SetRightUpper(bool rightUpper) { rightUpper_ = rightUpper; }
  bool IsRightUpper() const { return rightUpper_; }
  // Which cases KeisanFs iterates; both off for a new driver.
  void SetCalcNormal(bool on) { calcNormal_ = on; }
  void SetCalcQuake(bool on) { calcQuake_ = on; }
  // The run that KeisanFs, KeisanReverse and KeisanRevC take when they are handed none.
  void SetBlockList(std::unique_ptr<CBlockList> list);

  // One march of the run at the trial fs, normal case (N) or seismic case (Q). c and tanPhi, unless
  // kNoValue, replace the strength of every block (tanPhi is the tangent itself, not an angle).
  // True when the march closed: residual 0, t the sum of the mobilised resistances, s = t * fs.
  // False otherwise with the residual (what the end face takes less what arrives) and t and s not
  // written. False with nothing written when the march cannot run: no list, a block without a
  // defined strength, or for the seismic case no section or no kh.
  bool CalcMultiPlaneN(double fs, double& t, double& s, double& residual, const CBlockList* list,
                       double c, double tanPhi) const;
  bool CalcMultiPlaneQ(double fs, double& t, double& s, double& residual, const CBlockList* list,
                       double c, double tanPhi) const;

  // The safety factors of the run (null: the driver's own) for the switched-on cases, iterated
  // from the start values in fsN and fsQ. A converged case gives its Fs, T and S; one that did not
  // converge gives 99.999 when its trial Fs ended at or above that, else kNoValue; T and S stay
  // kNoValue unless it converged. A switched-off case, a case whose march cannot run and a case
  // whose start value is not above 0 keep kNoValue in all three.
  void KeisanFs(double& fsN, double& fsQ, const CBlockList* list, double& tN, double& sN,
                double& tQ, double& sQ, double c, double tanPhi) const;
  // The blocks of the list read for KeisanFs, with this driver's direction and, while its seismic
  // case is on, the height factors of its section; for the back analyses, without them. The
  // driver's settings must not change while the read blocks are in use.
  CMarchBlocks ReadForFs(const CBlockList& list) const;
  CMarchBlocks ReadForReverse(const CBlockList& list) const;
  // KeisanFs on the run first..last (0 <= first <= last < the list's size) of blocks read for it:
  // the same results as on the list CBlockList::CreateBlockList(first, last) cuts.
  void KeisanFs(double& fsN, double& fsQ, const CMarchBlocks& blocks, int first, int last,
                double& tN, double& sN, double& tQ, double& sQ, double c, double tanPhi) const;

  // Back analysis at the target fs on the normal-case march: c0 with tan(phi) = 0 and tanPhi0 with
  // c = 0 for every block. False, with both left as they were, when neither search closes; a
  // search that does not close gives its last trial value. Without any list both become kNoValue;
  // a target fs not above 0 gives false.
  bool KeisanReverse(const CBlockList* list, double& c0, double& tanPhi0, double fs) const;
  // The cohesion that closes the normal-case march at the target fs with tanPhi for every block
  // (kNoValue: each block's own); kNoValue when no search step closes it, when a block has no
  // tan(phi) of its own to take, or when the target fs is not above 0.
  double KeisanRevC(const CBlockList* list, double tanPhi, double fs) const;
  // The two back analyses on the run first..last of blocks read for them, as KeisanFs above.
  bool KeisanReverse(const CMarchBlocks& blocks, int first, int last, double& c0, double& tanPhi0,
                     double fs) const;
  double KeisanRevC(const CMarchBlocks& blocks, int first, int last, double tanPhi,
                    double fs) const;

 private:
  const CBlockList* ListOrOwn(const CBlockList* list) const { return list ? list : list_.get(); }
  // Whether KeisanFs iterates the seismic case: switched on, with a kh to take.
  bool SeismicFs() const;
  bool CalcMultiPlane(bool seismic, double fs, double& t, double& s, double& residual,
                      const CBlockList* list, double c, double tanPhi) const;

  bool rightUpper_ = true;
  bool calcNormal_ = false;
  bool calcQuake_ = false;
  std::unique_ptr<CBlockList> list_;
  const CDanmenStab* section_ = nullptr;
};
