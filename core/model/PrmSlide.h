#pragma once
// The conditions of the slide-deformation step: the apparent cohesion of the rock bolts, entered
// or derived from the bolts' holding and tightening forces over the slide-surface length, the
// latent collapse layer thickness and the pitch of the seismic coefficients to calculate.

#include "core/base/Utility.h"

class Archive;

class CPrmSlide {
 public:
  static constexpr int kDeltaCDerived = 0;
  static constexpr int kDeltaCEntered = 1;
  // The smallest pitch of seismic coefficients a calculation can march by.
  static constexpr double kMinKhPitch = 0.001;

  CPrmSlide() = default;

  void Init() { *this = CPrmSlide(); }
  void Copy(const CPrmSlide& other) { *this = other; }
  // Record: int32 mode, then the seven doubles in member order; up to document version 6 one
  // more 8-byte value follows, written as 0 and skipped when read.
  void Store(Archive& ar, int version) const;
  // Reads the whole record before it changes anything.
  void Load(Archive& ar, int version);
  // Mode, S2, S3, l and everything IsSameUseCale compares equal.
  bool IsSame(const CPrmSlide& other) const;
  // The entered and the derived delta c, h and the pitch equal.
  bool IsSameUseCale(const CPrmSlide& other) const;
  // The effective delta c and h set, and a pitch of at least 0.001.
  bool IsValid() const;
  // S2, S3 and l set.
  bool IsValidDeltaC() const;
  // Derived delta c := (S2 + S3) / l rounded half up to 0.001; unset while an input is unset or
  // l is not positive.
  void CalcDeltaC();
  // The entered delta c, or in mode 0 the derived one, computed afresh by CalcDeltaC.
  double GetDeltaC();

  int deltaCMode = kDeltaCEntered;
  double s2 = kNoValue;             // rock-bolt holding force, kN/m
  double s3 = kNoValue;             // rock-bolt tightening force, kN/m
  double l = kNoValue;              // slide-surface length, m
  double deltaCEntered = kNoValue;  // kN/m2
  double deltaCDerived = kNoValue;  // kN/m2
  double h = kNoValue;              // latent collapse layer thickness, m
  double khPitch = 0.05;            // pitch of the seismic coefficients to calculate

 private:
  bool IsDerived() const { return deltaCMode == kDeltaCDerived; }
};
