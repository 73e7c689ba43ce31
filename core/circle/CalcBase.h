#pragma once
// The slice method: the forces of every slice of one slip surface and the safety factor of the
// surface by the Fellenius method, for the normal case and the seismic case with the horizontal
// seismic coefficient kh; the restraining force needed to reach a planned safety factor; and the
// back analyses of kh, and of c or tan phi of the slices of unknown strength, for a target safety
// factor. Every operation recomputes all slices from scratch, so calls are independent. Results
// that cannot be computed are kNoValue.

#include <array>
#include <string>

#include "core/base/Utility.h"

class CDanmenStab;
class CalcRounding;
class CSlice;
class CSliceList;
class CSpStratumBlock;
struct tagRESULTSLICE;

// The quantity codes of the slice method's results.
inline constexpr int kRoundCodeNormalForce = 241;
inline constexpr int kRoundCodeRestraint = 261;
inline constexpr int kRoundCodeResisting = 291;
inline constexpr int kRoundCodeDriving = 301;
inline constexpr int kRoundCodeFs = 163;
inline constexpr int kRoundCodeTanPhi = 162;
inline constexpr int kRoundCodeCohesion = 131;

// The safety factors of one surface: Fs and FsSeis, and with an additional resisting force x,
// Fs2 and FsSeis2; with planned factors, the restraining forces that reach them.
struct tagFSRESULT {
  double fs = kNoValue;
  double fsSeis = kNoValue;
  double fs2 = kNoValue;
  double fsSeis2 = kNoValue;
  double pr = kNoValue;
  double prSeis = kNoValue;
};

class CCalcBase {
 public:
  // pore non-zero: the pore-water force counts in full; else not at all.
  explicit CCalcBase(int pore) : poreFactor_(pore != 0 ? 1.0 : 0.0) {}
  CCalcBase(const CCalcBase&) = delete;
  CCalcBase& operator=(const CCalcBase&) = delete;
  virtual ~CCalcBase() = default;

  virtual int WhatKind() const = 0;
  virtual std::string WhatName() const = 0;
  // False when the section serves the seismic case while its kh is unset.
  virtual bool CheckCaseParams() const;
  // Fs (normal) and FsSeis (seismic), and with the additional resisting force x (unset counts
  // as 0) Fs2 and FsSeis2. Nothing for a section whose results are entered, a failed slice loop
  // or a list whose strengths are not all known; no seismic value while kh is unset.
  virtual tagFSRESULT KeisanFs(CSliceList& list, double x);
  // The kh at which the seismic safety factor is fs: the repeat-search variant for a circle
  // search, else the specified-surface variant. residual: c and phi of the residual strength.
  virtual double KeisanKhReverse(CSliceList& list, double fs, bool residual, double x);
  // Leaves slices without an arc base out.
  virtual double KeisanKhReverseEnko(CSliceList& list, double fs, bool residual, double x);
  // Takes slices without an arc base with the straight-base seismic term.
  virtual double KeisanKhReverseSitei(CSliceList& list, double fs, bool residual, double x);
  // Takes the list's direction and returns the index of its last slice.
  virtual int GetMaxSliceIdx(const CSliceList& list);
  // Zeroes the list's totals and the back-analysis sums.
  virtual bool InitCalc(CSliceList& list, int seismic);
  // The forces of one slice without the seismic terms and resisting forces; false when the
  // slice's weight or base angle cannot be found.
  virtual bool SetSliceParam(CSlice& slice);
  // The slice loop over the calculation's slices; false when the method cannot compute.
  virtual bool CalcCore(CSliceList& list, int seismic, const double* targetFs);

  void SetDanmenStab(const CDanmenStab* section) { section_ = section; }
  // Zeroes the values the slice method computes (0 to 27).
  static void ClearSliceParam(tagRESULTSLICE& result);
  // N - U of a slice (seismic: Ns - Ne - U); with the clip switch a negative value is clipped,
  // and U lowered to N (Ns). kNoValue when a force is unset.
  double CalcNU(tagRESULTSLICE& result, int seismic) const;
  // c and phi (radians when set) of slice i of the list by CSlice::GetCF (left as they are when
  // i lies outside the list); false when either is unset, else whether the given slice's strength
  // type names one of the stratum.
  static bool GetCFai(const CSliceList& list, int i, const CSlice& slice, double& c, double& phi);
  // Fs, FsSeis and the restraining forces for the planned factors fsp and fsps (> 0); FsSeis
  // only while the section serves the seismic case.
  tagFSRESULT KeisanFsPr(double fsp, double fsps, CSliceList& list, double x);
  // The restraining forces alone (pr, prSeis of the result).
  tagFSRESULT KeisanPr(double fsp, double fsps, CSliceList& list);
  // tan phi of the back-analysis slices for the target fs, with their c given; rounded by its
  // code when round is set.
  double KeisanRevTanFai(CSliceList& list, double cGiven, double fs, bool round, int seismic);
  // c of the back-analysis slices for the target fs, with their tan phi given.
  double KeisanRevC(CSliceList& list, double tanPhiGiven, double fs, bool round, int seismic);
  // c with tan phi 0 and tan phi with c 0, unrounded; false when either cannot be computed.
  bool KeisanReverse(CSliceList& list, double& c, double& tanPhi, double fs, int seismic);

 protected:
  const CDanmenStab* Section() const { return section_; }
  bool IsReverse() const { return reverse_; }
  double Kh() const { return kh_; }
  // The base stratum of the slice SetSliceParam took last, found by its pass over the layers.
  const CSpStratumBlock* BaseStratum() const { return baseStratum_; }
  bool IsClip() const;
  // The base strength of a slice as the slice loop finds it: c and phi (degrees) of its base
  // stratum (CSlice::SearchDevyStratum(n - 2)) by its strength type, or those of the slice before
  // (carried in c and phi).
  static void FindStrength(const CSpStratumBlock* baseStratum, int strengthType, double& c,
                           double& phi);
  // The strength applies: c and phi known and the type names one of the stratum.
  static bool StrengthApplies(const CSlice& slice, double c, double phi);
  // The slice loop's sums of the slices of unknown strength in reverse mode: N - U and L.
  void AddBackSums(double nu, double length);
  // Kh taken from the section.
  void TakeKh();
  // CSliceList::IsValidCFai after a slice loop over the whole list: every slice's base stratum
  // was found by SetSliceParam's pass over its layers, and the first slice's strength type names
  // one of the stratum.
  bool StrengthsKnown(const CSliceList& list) const;

  // SetSliceParam by the slice loop's rounding and, with seismic, the seismic terms Ne and Te,
  // each rounded beside the normal case's force of its code (N, T). False where SetSliceParam
  // fails, and for an arc base of radius 0, which has no seismic Te (Ne is set, Te stays 0).
  bool SetSliceForces(CSlice& slice, bool seismic, const CalcRounding& rounding);
  // The resisting forces S and, with seismic, Se of a slice whose strength applies; clip is
  // IsClip, which a slice loop reads once.
  void SetResisting(tagRESULTSLICE& result, double c, double phi, bool seismic, bool clip,
                    const CalcRounding& rounding);
  // tan of phi (degrees).
  double TanPhi(double phi);

  int firstIdx_ = 0;
  int lastIdx_ = -1;

 private:
  // Ends the two kh back analyses; arcOnly leaves slices without an arc base out.
  double KhReverse(CSliceList& list, double fs, bool residual, double x, bool arcOnly);
  // The sums of the c and tan phi back analyses in the list's totals 25 to 27; false when they
  // cannot be formed.
  bool BackAnalysisSums(CSliceList& list, double fs, int seismic);

  double kh_ = 0;
  // The base stratum of the slice SetSliceParam took last, which its pass over the layers found
  // (BaseStratum), and whether every slice since InitCalc had one.
  const CSpStratumBlock* baseStratum_ = nullptr;
  bool everyBaseStratum_ = true;
  bool direction_ = true;
  bool reverse_ = false;
  double poreFactor_;
  double backNU_ = 0;
  double backLength_ = 0;
  // TanPhi's last two angles and their tangents, the latest first: neighbouring slices mostly
  // stand on one stratum, and a surface mostly crosses two, as the next surface does again. Both
  // start at 0, whose tangent is exactly 0.
  struct AngleTangent {
    double phi = 0;
    double tan = 0;
  };
  std::array<AngleTangent, 2> tangents_{};
  const CDanmenStab* section_ = nullptr;
};

class CCalcFellenius : public CCalcBase {
 public:
  using CCalcBase::CCalcBase;
  int WhatKind() const override { return 0; }
  std::string WhatName() const override { return "Fellenius法"; }
  bool CalcCore(CSliceList& list, int seismic, const double* targetFs) override;
};

// The modified Fellenius method; it computes as the Fellenius method.
class CCalcFelleniusRevise : public CCalcFellenius {
 public:
  using CCalcFellenius::CCalcFellenius;
  int WhatKind() const override { return 1; }
  std::string WhatName() const override { return "修正Fellenius法"; }
};
