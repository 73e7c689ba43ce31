#pragma once
// The stability conditions of a case: which load cases are analysed with which planned safety
// factors, the seismic coefficient (entered, or derived from an earthquake magnitude and
// distance), water, the back analysis, and the calculation-condition record that the case's
// pre-checks copy into the section data.

#include <string>

#include "core/base/Utility.h"
#include "core/model/Danmen.h"

class Archive;
class CDPoly;
class CSpCrack;
class CViewInfo;

class CPrmStab {
 public:
  // The defaults below, with the calculation conditions filled from them.
  CPrmStab() { SetCond(); }

  void Init() { *this = CPrmStab(); }
  // Every stored member; the calculation conditions and the edit mode stay.
  void Copy(const CPrmStab& other);
  // Every stored member equal.
  bool IsSame(const CPrmStab& other) const { return IsSameUseCale(other); }
  bool IsSameUseCale(const CPrmStab& other) const;

  // Record by document version: mode, normal and seismic switch; planned Fs normal and seismic,
  // Kh; slide-surface mode; the water switch (from version 3); gammaW, the three settings and
  // NU0; M, D, Mw; R and L (from version 9); a; the computed Kh (from version 3, before it a
  // 4-byte integer that is dropped); the bottom elevation; the back-analysis switch, an int, the
  // assumed Fs and an int (from version 3).
  void Store(Archive& ar, int version) const;
  // Reads the whole record before it changes anything; fields an older record lacks take their
  // defaults, and up to version 8 CalcKh rebuilds the derived values. The calculation conditions
  // and the edit mode stay.
  void Load(Archive& ar, int version);

  // The leading mode is 0, or: the normal case is off or has its planned Fs, and the seismic case
  // is off or has its Kh.
  bool IsValid() const;
  // The back analysis is on with an assumed Fs.
  bool IsValidGyaku() const { return gyakuOn != 0 && assumedFs != kNoValue; }
  bool IsNormal() const { return leadMode == 0 && normalOn != 0; }
  bool IsQuake() const { return leadMode == 0 && quakeOn != 0; }
  // The name of the calculation's formula.
  std::string GetSikiName() const;
  // Fills the calculation conditions from the stored members; the formula and the result-input
  // flag stay.
  void SetCond();
  // Derives Mw, R, L, a and the computed Kh from M and D (all unset while either is):
  // Mw = 0.78 M + 1.08, R = sqrt(D^2 + 7.3^2), L = 0.249 Mw - 1.02 - log10 R - 0.00255 R,
  // a = 10^L and Kh = 0.65 a, rounded as quantity 211 while the process rounds.
  void CalcKh();
  // The derivation is complete and the entered Kh is the derived one (within 1e-5).
  bool IsCalcKh() const;

  void SetEditMode(bool edit) { editMode_ = edit; }
  bool GetEditMode() const { return editMode_; }
  // While the crack is active with a positive depth, the shape line lowered by the crack depth,
  // dashed; with slide-surface mode 1 the slide line in solid red.
  void DrawEditInfo(CViewInfo* view, const CSpCrack* crack, const CDPoly* shape,
                    const CDPoly* slide) const;

  int leadMode = 0;  // anything but 0 switches both load cases off
  int normalOn = 1;  // analyse the normal case (常時)
  int quakeOn = 1;   // analyse the seismic case (地震時)
  double planFsNormal = kNoValue;
  double planFsQuake = kNoValue;
  double kh = kNoValue;  // design horizontal seismic coefficient as entered
  int slideMode = 0;     // 1: the working slide surface is used
  int waterOn = 0;       // pore-water pressure is considered
  double gammaW = 10.0;  // unit weight of water, kN/m3
  // Carried into the calculation conditions unchanged.
  int setting1 = 2;
  double setting2 = 2.0;
  int setting3 = 2;
  int nu0 = 1;
  tagCALCCONDITION cond;  // not stored
  double magnitude = kNoValue;
  double distance = kNoValue;  // km
  double mw = kNoValue;        // derived by CalcKh
  double r = kNoValue;
  double l = kNoValue;
  double a = kNoValue;
  double khCalc = kNoValue;           // the derived Kh
  double bottomElevation = kNoValue;  // 下端標高 of the terrain-effect method
  int gyakuOn = 0;                    // the stability calculation takes back-analysed strengths
  int gyakuSetting1 = 0;
  double assumedFs = 1.0;  // 仮定安全率 of the back analysis
  int gyakuSetting2 = 1;

 private:
  bool editMode_ = false;  // not stored, not copied
};
