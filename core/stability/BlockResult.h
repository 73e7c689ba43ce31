#pragma once
// The force records of the block method. tagBLOCKRESULTSLICE carries the force sums of a block or
// of a run of blocks for the normal and the seismic case, the strength used, the base angle and
// the surcharge sums; tagBLOCKRESULTKNOWN turns the resisting and driving force of a known slip
// surface into a safety factor and a required restraining force. Both are plain values, copied by
// assignment and stored as a flat run of doubles.

#include <array>

#include "core/base/Utility.h"

class Archive;

// The case an accessor reads: 1 the seismic case, any other value the normal case.
inline constexpr int kCaseSeismic = 1;

struct tagBLOCKRESULTSLICE {
  static constexpr int kValueCount = 33;
  // The five surcharge components, in the order of their sums (tagLOAD of the loads).
  static constexpr int kLoadComponentCount = 5;

  // Positions of the named values in `value` (value k of the record is value[k - 1]). The others
  // are only initialised, stored, loaded and copied.
  enum Slot : int {
    kPhi = 0,        // friction angle of the strength used
    kC = 1,          // cohesion of the strength used
    kBaseAngle = 5,  // base angle given to the surcharge loads (radians)
    kSum8 = 7,       // summed by PlusData only
    kSimpleT = 8,
    kSimpleTSeismic = 9,
    kSeismicAddT = 10,  // seismic addition to T
    kSimpleN = 11,
    kSimpleNSeismic = 12,
    kSeismicDeductN = 13,  // seismic deduction from N
    kSum15 = 14,           // summed by PlusData only
    kS = 15,
    kSSeismic = 16,
    kLoadNormal = 17,   // first of the five surcharge sums of the normal case
    kLoadSeismic = 22,  // first of the five surcharge sums of the seismic case
  };

  std::array<double, kValueCount> value;

  tagBLOCKRESULTSLICE() { Init(); }
  bool operator==(const tagBLOCKRESULTSLICE&) const = default;

  // Every value becomes no value.
  void Init() { value.fill(kNoValue); }
  void CopyData(const tagBLOCKRESULTSLICE& other) { *this = other; }
  void SetCFai(double c, double phi);

  double GetSimpleT(int k) const;
  double GetSimpleN(int k) const;
  double GetS(int k) const;
  // The seismic T is the simple T plus the seismic addition, the seismic N the simple N less the
  // seismic deduction; no value when either part has none.
  double GetT(int k) const;
  double GetN(int k) const;
  // Surcharge sum `component` (0 horizontal, 1 vertical1, 2 vertical2, 3 normal, 4 tangential) of
  // the case k; the reference form lets the block add to it. Another component throws
  // std::out_of_range.
  double& LoadSum(int k, int component);
  double LoadSum(int k, int component) const;

  // Adds the other record's force sums (values 8 to 17) to this one's, no value included.
  void PlusData(const tagBLOCKRESULTSLICE& other);

  // Values 5 and 6 are in the record from document version 2 on. A version-1 record holds one
  // more double after value 29, which is read and dropped (and written as no value). A failed
  // Load leaves the record as it was.
  void Store(Archive& ar, int version) const;
  void Load(Archive& ar, int version);
};

struct tagBLOCKRESULTKNOWN {
  double S = kNoValue;           // resisting force
  double T = kNoValue;           // driving force
  double sumS = kNoValue;        // sum of S over the parts
  double sumT = kNoValue;        // sum of T over the parts
  double divisor = kNoValue;     // divisor of the sums
  double Fs = kNoValue;          // safety factor
  double FsExtra = kNoValue;     // safety factor with the extra force
  double Pr = kNoValue;          // required restraining force
  double extraForce = kNoValue;  // the extra force of the last CalcFs

  void Init() { *this = tagBLOCKRESULTKNOWN(); }
  // The results of CalcFs and CalcPr become no value.
  void CalcInit();
  bool IsSame(const tagBLOCKRESULTKNOWN& other) const;

  // Mode 2 first derives S and T from the sums. Fs = S / T, and with extra also the safety factor
  // with the extra force x (no value counts as 0), both rounded as safety factors.
  void CalcFs(int mode, bool extra, double x);
  // Pr = T * fsp - S for the safety factor with the extra force (extra) or without.
  void CalcPr(double fsp, bool extra);
  void CalcFsPr(int mode, bool extra, double fsp, double x);

  // The nine values in order, the same in every version. A failed Load leaves the record as it was.
  void Store(Archive& ar, int version) const;
  void Load(Archive& ar, int version);
};

// The slice method uses the same record under its own name.
using tagRESULTKNOWN = tagBLOCKRESULTKNOWN;
