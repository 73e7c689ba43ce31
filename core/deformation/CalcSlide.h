#pragma once
// The slide-deformation calculation of design step 3. On the block chain of the multi-plane
// result chosen as the seismic typical point, it raises the horizontal seismic coefficient kh
// from 0 to 1 by the conditions' pitch and, at each value and at the section's design
// coefficient, finds the seismic safety factor Fsr with the base strength raised by the apparent
// cohesion dc of the rock bolts; from Fsr follow the slide strain gs = A * Fsr^B and the slide
// displacement Ds = h * gs. The case builds one for a calculation; the calculation owns nothing
// it points to.
//
// A run has three steps. Building the calculation prepares it (GUI thread): it fixes the bolts'
// dc that every row reads. Process (any thread) is the march, a pure function of the inputs and
// the feedback: each row calculates on its own copy of the section with the row's kh, so nothing
// of the case changes while it runs. Post (GUI thread) files the rows in the result. A cancelled
// march gives nothing to post, so the case keeps the result it had.

#include <memory>
#include <optional>
#include <vector>

#include "core/base/Utility.h"
#include "core/deformation/ResSlide.h"
#include "core/stability/CalcDriverMlt.h"

class CBlockList;
class CDanmenStab;
class CMltBlocks;
class CMltPoint;
class CPrmSlide;
class CResStab2;
class ProgressFeedback;

// What the march files in the result: the row at the design coefficient, one row per coefficient
// of the march and the allowable displacement.
struct SlideMarch {
  tagSLIDERES designRow;
  std::vector<tagSLIDERES> rows;
  double allowableDs = kNoValue;
};

class CCalcSlide {
 public:
  // The section, the conditions and the result are required. Without the point or the blocks
  // every row is unset.
  struct Inputs {
    CDanmenStab* section = nullptr;   // its kh is the design coefficient; Post resets its move
    CPrmSlide* conditions = nullptr;  // Post writes the derived dc back
    CResSlide* result = nullptr;
    const CMltPoint* point = nullptr;  // the chain and the start values of Fs; null: none chosen
    const CResStab2* gyaku = nullptr;  // adopted c and tan(phi); null: none
    const CBlockList* blocks = nullptr;
  };

  // GUI thread: fixes the effective dc of the conditions (the derived one computed afresh).
  explicit CCalcSlide(const Inputs& inputs);

  // The whole calculation without a window (a headless run): Process, then Post.
  void CalcStart();
  // Any thread: the design row, the rows of the march and the allowable displacement, reporting
  // each row to the feedback; nothing when the feedback is cancelled before the last row. A pitch
  // below CPrmSlide::kMinKhPitch (or unset) gives no rows and no result.
  std::optional<SlideMarch> Process(ProgressFeedback& feedback) const;
  // GUI thread: clears the result, records the section's cases in its key, files the march and
  // sets the counts, the ordered list and its sort; writes the derived dc back into the
  // conditions.
  void Post(SlideMarch march);
  // The row at kh; kNoValue stands for the section's own coefficient (the row's kh stays unset).
  tagSLIDERES CalcSpecifEngine(double kh) const;

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
  // The driver of the seismic case on the section (the case's or a row's copy), in the direction
  // of its ground.
  CCalcDriverMlt SeismicDriver(const CDanmenStab& section) const;

  Inputs in_;
  // The bolts' effective dc, fixed when the calculation is built.
  double deltaC_;
};
