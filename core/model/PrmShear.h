#pragma once
// The conditions of the shear-deformation step: the fitted strain dependence of the shear
// modulus, the initial shear modulus, the bolt spacing, the block depth, the layer thickness, the
// slide-surface inclination and the bolts' elastic modulus. The reference strains and the rope
// net's maximum tension come from the process-wide reference conditions.

#include "core/base/Utility.h"
#include "core/model/Fit.h"
#include "core/model/RefCond.h"

class Archive;

class CPrmShear {
 public:
  CPrmShear() = default;

  void Init() { *this = CPrmShear(); }
  // The fit (without its graph settings) and the six values.
  void Copy(const CPrmShear& other);
  // The fit's mode and coefficients and the six values equal: the fit drives the calculation as
  // much as the values do.
  bool IsSame(const CPrmShear& other) const { return IsSameUseCale(other); }
  bool IsSameUseCale(const CPrmShear& other) const;
  // The fit's b and c and all six values set.
  bool IsValid() const;
  // The elastic modulus of the bolts in kN/m2; unset while ERB is.
  double GetERBreal() const { return erb == kNoValue ? kNoValue : erb * 1e8; }

  // Record: the fit's record, G0, L, B, h and theta; before document version 7 an unused 8-byte
  // value (written as 0, skipped when read); then ERB.
  void Store(Archive& ar, int version) const;
  // Reads the whole record before it changes anything.
  void Load(Archive& ar, int version);

  static double GetKiretuHizumi() { return CRefCond::GetKiretuHizumi(); }
  static double GetKyokuHizumi() { return CRefCond::GetKyokuHizumi(); }
  static double GetGammaRef() { return CRefCond::GetGammaref(); }
  static double GetSendanHizumi() { return CRefCond::GetSendanHizumi(); }
  static double GetTRNmax() { return CRefCond::GetTRNmax(); }

  CFit fit;
  double g0 = 33000.0;       // initial shear modulus, kN/m2
  double boltSpacing = 2.0;  // L, m
  double blockDepth = 2.0;   // B, m
  double h = kNoValue;       // latent collapse layer thickness, m
  double theta = kNoValue;   // slide-surface inclination, degrees
  double erb = 2.0;          // elastic modulus of the bolts in units of 1e8 kN/m2
};
