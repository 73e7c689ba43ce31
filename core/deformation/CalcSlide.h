#pragma once
// The slide-deformation calculation of design step 3. On the block chain of the multi-plane
// result chosen as the seismic typical point, it raises the horizontal seismic coefficient kh
// from 0 to 1 by the conditions' pitch and, at each value and at the section's design
// coefficient, finds the seismic safety factor Fsr with the base strength raised by the apparent
// cohesion dc of the rock bolts; from Fsr follow the slide strain gs = A * Fsr^B and the slide
// displacement Ds = h * gs. The case builds one for a calculation and calls CalcStart; the
// calculation owns nothing it points to, shows no progress and cannot be cancelled.

#include <memory>
#include <optional>

#include "core/base/Utility.h"
#include "core/stability/CalcDriverMlt.h"

class CBlockList;
class CDanmenStab;
class CMltBlocks;
class CMltPoint;
class CPrmSlide;
class CResSlide;
class CResStab2;
class ProgressFeedback;
struct tagSLIDERES;

class CCalcSlide {
 public:
  // The section, the conditions and the result are required. Without the point or the blocks
  // every row is unset.
  struct Inputs {
    CDanmenStab* section = nullptr;   // its kh is the design coefficient, put back after each row
    CPrmSlide* conditions = nullptr;  // the derived dc is written back
    CResSlide* result = nullptr;
    const CMltPoint* point = nullptr;  // the chain and the start values of Fs; null: none chosen
    const CResStab2* gyaku = nullptr;  // adopted c and tan(phi); null: none
    const CBlockList* blocks = nullptr;
  };

  explicit CCalcSlide(const Inputs& inputs) : in_(inputs) {}

  // The march, then the counts, the ordered list and its sort.
  void CalcStart();
  // Clears the result and fills the design row, the rows and the allowable displacement. A
  // pitch below CPrmSlide::kMinKhPitch (or unset) gives no rows and no result.
  void CalcProcess();
  // The row at kh; kNoValue stands for the section's own coefficient (the row's kh stays unset).
  tagSLIDERES CalcSpecifEngine(double kh);

  // The multi-plane run over every pair of a start and an end block of the case's list under the
  // slide conditions (seismic case only), reporting each pair to the feedback; no command starts
  // it. A process step: it writes nothing but the points it returns, of the kind, which the
  // caller owns; a cancelled run keeps the pairs done and is marked interrupted.
  std::unique_ptr<CMltBlocks> CalcMultiEngine(int kind, ProgressFeedback& feedback) const;

  // gs = A * fs^B of the reference conditions, unrounded; unset unless fs is set and positive.
  static double SlideStrain(double fs);
  // Ds = h * gs in mm; unset unless both are set.
  static double SlideDisplacement(double h, double gammaS);

 private:
  // The strength the driver gives every block of a chain; kNoValue in c or tanPhi leaves the
  // blocks' own.
  struct Strength {
    double c = kNoValue;
    double tanPhi = kNoValue;
  };

  // The adopted back-analysis strength, else the base stratum's of the chain's first block, its
  // cohesion raised by the bolts' dc; none while dc is unset.
  std::optional<Strength> ChainStrength(const CBlockList& chain) const;
  // The driver of the seismic case on the section, in the direction of its ground.
  CCalcDriverMlt SeismicDriver() const;

  Inputs in_;
};
