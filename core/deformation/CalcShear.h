#pragma once
// The shear-deformation calculation of step 4. The soil block held by the rope net and the rock
// bolts is loaded by a rising horizontal seismic coefficient kh; at each value the strain
// increment is found with the strain-dependent shear modulus G = G0 / (1 + b * |gamma|^c), with
// the bolts' stiffness when the bar has an area and a modulus, and the increments add up to the
// cumulative strain and displacement. Once the cumulative strain passes the crack strain, the
// coefficient of local failure kL follows, and with it the rope-net force ratio eta and tension.
//
// The calculation guards itself: without every condition it needs the result is cleared and left
// without rows.
//
// A run has three steps. Building the calculation prepares it (GUI thread): it observes the
// conditions, which stay as they are while it runs. Process (any thread) is the march: it writes
// nothing but its own running sums and the march it returns. Post (GUI thread) files the march in
// the result. A cancelled march gives nothing to post, so the case keeps the result it had.

#include <optional>
#include <vector>

#include "core/deformation/ResShear.h"

class CPrmReinf;
class CPrmShear;
class CPrmStab;
class ProgressFeedback;

// What the march files in the result. Without every condition the march has no rows and the
// result is only cleared.
struct ShearMarch {
  CShearData design;
  std::vector<CShearData> rows;
  double weight = kNoValue;
  double yieldK = kNoValue;
  double allowStrain = kNoValue;
  double allowDisp = kNoValue;
};

class CCalcShear {
 public:
  // The conditions are observed, not owned, and must outlive the calculation. gammaT is the moist
  // unit weight (kN/m3) and phi the friction angle (degrees) of the chosen stratum. The result is
  // written by Post only.
  CCalcShear(const CPrmShear& conditions, const CPrmReinf& reinf, const CPrmStab& stab,
             double gammaT, double phi, CResShear& result);

  // The whole march into the result without a window (a headless run): Process, then Post.
  void CalcProcess();
  // Any thread: the march, reporting each row to the feedback; nothing when the feedback is
  // cancelled before the march ends.
  std::optional<ShearMarch> Process(ProgressFeedback& feedback);
  // GUI thread: clears the result and files the march.
  void Post(ShearMarch march);
  // One step with the G carried from the step before; adds to the cumulative strain and
  // displacement.
  CShearData CalcShearEngine(double gPrev, double kh);

  // The formulas of the march.
  double GetCalcW() const;           // B * gamma_t * L * h, kN
  double GetCalcKyoyouHeni() const;  // h * allowable shear strain * 1000, mm, unrounded
  static double GetCalcTRNmax();
  double GetCalcTRN(double eta, double kh) const;
  double GetCalcKe(double eta, double kh) const;
  // 1 at kh 0; 0 before the yield or below min(kc, kL); 1 from max(kc, kL) on; linear between.
  double GetCalcEta(double kh) const;
  // The coefficients of the cubic d^3 + a d^2 + b d + c = 0 of the strain increment with the
  // bolts, and of its reduced form: p = b/3 - a^2/9, q = 2a^3/27 - ab/3 + c and
  // s = sqrt(4p^3 + q^2) / 2, which is unset where the cubic has three real roots.
  double GetCalc_a() const;
  double GetCalc_b(double g) const;
  double GetCalc_c(double eta, double kh) const;
  double GetCalc_p(double g) const;
  double GetCalc_q(double g, double eta, double kh) const;
  double GetCalc_s(double g, double eta, double kh) const;
  // The strain increment with the bolts' stiffness: the largest real root of the cubic
  // d^3 + a d^2 + b d + c = 0.
  double GetCalcGanmma1(double g, double eta, double kh) const;
  // The strain increment without the bolts: Ke * gamma_t * h / G.
  double GetCalcGanmma2(double g, double eta, double kh) const;
  // Marks the yield at kh when the cumulative strain first passes the crack strain, and derives
  // kc and kL.
  void CheckKyokusyo(double kh);

  bool IsYield() const { return yield_; }
  double GetKc() const { return kc_; }
  double GetKL() const { return kL_; }

 private:
  // Every value the march reads is set (the friction angle only when the bolts count), G0 is
  // positive and b not negative, so that G never reaches 0.
  bool HasConditions() const;
  // The bar has an area and a modulus, so the bolts stiffen the block.
  bool BarsCount() const;
  double AsE() const;
  // 1 + b * |strain|^c, the factor by which the strain softens G0; a negative strain counts by
  // its magnitude.
  double Softening(double strain) const;
  // The design row from the rows at the design coefficient; unset when no pair of rows holds it.
  CShearData DesignRow(const std::vector<CShearData>& rows, double khDesign) const;
  // Raises kh beyond the rows until the yield shows, without storing rows; false when the
  // feedback was cancelled first.
  bool FindYieldBeyondRows(double g, const ProgressFeedback& feedback);

  const CPrmShear& conditions_;
  const CPrmReinf& reinf_;
  const CPrmStab& stab_;
  const double gammaT_;
  const double phi_;
  CResShear& result_;

  double cumStrain_ = 0.0;
  double cumDisp_ = 0.0;  // mm, unrounded
  bool yield_ = false;
  // Set once the strain iteration of a step gives no finite strain (very soft soil): that step
  // and every later one have no values, and the yield coefficient is unknown.
  bool diverged_ = false;
  double kc_ = 0.0;
  double kL_ = 0.0;
};
