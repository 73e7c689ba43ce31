// CCalcShear: the march of the shear-deformation calculation over the seismic coefficient.

#include "core/deformation/CalcShear.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <optional>
#include <utility>
#include <vector>

#include "core/base/Constants.h"
#include "core/base/CoreConfig.h"
#include "core/deformation/ResShear.h"
#include "core/model/PrmReinf.h"
#include "core/model/PrmShear.h"
#include "core/model/PrmStab.h"
#include "platform/ProgressFeedback.h"

namespace {

// The rows run over kh = n / 20 for n = 0 and 2 .. 40 (0, 0.1, 0.15, ..., 2.0). kh is taken from
// the step number, never summed, so that a design coefficient of 0.15 or 1.0 meets its row
// exactly.
constexpr double kStepsPerUnit = 20.0;
constexpr int kFirstStepAfterZero = 2;
constexpr int kLastRowStep = 40;
// Beyond the rows kh rises until the yield shows, up to this coefficient, which stands for "no
// local failure" when it is reached.
constexpr double kNoYieldK = 9.99;
// The strain iteration of one step.
constexpr double kConverged = 1e-6;
constexpr int kMaxRounds = 1000;
// A design coefficient this close to a row's kh takes that row.
constexpr double kSameKh = 1e-5;
constexpr double kNoTensionKh = 1e-6;
constexpr int kSeismicCoefficientCode = 211;

double KhOfStep(int n) { return n / kStepsPerUnit; }

// The largest real root of t^3 + 3p t + 2f = 0: the trigonometric form when the three roots are
// real, else the one real root by Cardano's formula written without cancellation.
double LargestDepressedRoot(double p, double f) {
  const double disc = f * f + p * p * p;
  if (p < 0.0 && disc <= 0.0) {
    const double r = std::sqrt(-p);
    const double cosine = std::clamp(-f / (r * r * r), -1.0, 1.0);
    return 2.0 * r * std::cos(std::acos(cosine) / 3.0);
  }
  const double u = -std::copysign(std::cbrt(std::abs(f) + std::sqrt(disc)), f);
  return u == 0.0 ? 0.0 : u - p / u;
}

}  // namespace

CCalcShear::CCalcShear(const CPrmShear& conditions, const CPrmReinf& reinf, const CPrmStab& stab,
                       double gammaT, double phi, CResShear& result)
    : conditions_(conditions),
      reinf_(reinf),
      stab_(stab),
      gammaT_(gammaT),
      phi_(phi),
      result_(result) {}

void CCalcShear::CalcProcess() {
  ProgressFeedback feedback;
  if (std::optional<ShearMarch> march = Process(feedback)) Post(*std::move(march));
}

std::optional<ShearMarch> CCalcShear::Process(ProgressFeedback& feedback) {
  cumStrain_ = 0.0;
  cumDisp_ = 0.0;
  yield_ = false;
  diverged_ = false;
  kc_ = 0.0;
  kL_ = 0.0;
  ShearMarch march;
  if (!HasConditions()) return march;

  double g = conditions_.g0;
  for (int n = 0; n <= kLastRowStep; n = n == 0 ? kFirstStepAfterZero : n + 1) {
    if (feedback.IsCancelled()) return std::nullopt;
    const double kh = KhOfStep(n);
    march.rows.push_back(CalcShearEngine(g, kh));
    g = march.rows.back().gAfter;
    CheckKyokusyo(kh);
    feedback.SetProgress(100.0 * n / kLastRowStep);
  }
  march.design = DesignRow(march.rows, stab_.kh);
  if (!yield_ && !FindYieldBeyondRows(g, feedback)) return std::nullopt;
  if (diverged_ && !yield_) kL_ = kNoValue;

  march.weight = GetCalcW();
  march.yieldK = kL_;
  march.allowStrain = CPrmShear::GetSendanHizumi();
  march.allowDisp = RoundDown(GetCalcKyoyouHeni(), 1.0);
  return march;
}

void CCalcShear::Post(ShearMarch march) {
  result_.ClearRes();
  if (march.rows.empty()) return;
  result_.design = march.design;
  result_.rows = std::move(march.rows);
  result_.weight = march.weight;
  result_.yieldK = march.yieldK;
  result_.allowStrain = march.allowStrain;
  result_.allowDisp = march.allowDisp;
}

CShearData CCalcShear::CalcShearEngine(double gPrev, double kh) {
  const double g0 = conditions_.g0;
  CShearData row;
  row.kh = kh;
  if (diverged_) return row;
  row.gRatioBefore = 1.0 / Softening(cumStrain_);
  row.gBefore = row.gRatioBefore * g0;
  row.cumDispBefore = cumDisp_;

  const double eta = GetCalcEta(kh);
  const bool bars = BarsCount();
  double g = gPrev;
  double delta = 0.0;
  double previous = 0.0;
  for (int round = 0;; ++round) {
    delta = bars ? GetCalcGanmma1(g, eta, kh) : GetCalcGanmma2(g, eta, kh);
    if (std::abs(delta - previous) < kConverged || round > kMaxRounds) break;
    previous = delta;
    g = g0 / Softening(delta);
  }
  if (!std::isfinite(delta)) {
    diverged_ = true;
    return CShearData{.kh = kh};
  }

  cumStrain_ += delta;
  const double increment = delta * conditions_.h * 1000.0;
  cumDisp_ += increment;

  row.trn = GetCalcTRN(eta, kh);
  row.eta = eta;
  row.deltaGamma = delta;
  row.cumStrain = cumStrain_;
  row.gRatioAfter = 1.0 / Softening(cumStrain_);
  row.gAfter = row.gRatioAfter * g0;
  row.dispIncrement = RoundUp(increment, 1.0);
  row.cumDisp = RoundUp(cumDisp_, 1.0);
  return row;
}

double CCalcShear::GetCalcW() const {
  return conditions_.blockDepth * gammaT_ * conditions_.boltSpacing * conditions_.h;
}

double CCalcShear::GetCalcKyoyouHeni() const {
  return conditions_.h * CPrmShear::GetSendanHizumi() * 1000.0;
}

double CCalcShear::GetCalcTRNmax() { return CPrmShear::GetTRNmax(); }

double CCalcShear::GetCalcTRN(double eta, double kh) const {
  if (std::abs(kh) <= kNoTensionKh) return 0.0;
  const double most = GetCalcTRNmax();
  return std::min(most * eta, most);
}

double CCalcShear::GetCalcKe(double eta, double kh) const {
  const double theta = DegToRad(conditions_.theta);
  return std::cos(theta) * kh + 0.5 * kh * std::sin(theta) + eta * std::sin(theta);
}

double CCalcShear::GetCalcEta(double kh) const {
  if (kh == 0.0) return 1.0;
  if (!yield_) return 0.0;
  const double low = std::min(kc_, kL_);
  const double high = std::max(kc_, kL_);
  if (kh < low) return 0.0;
  // From the upper of the two on the net carries all; this also covers kc = kL.
  if (kh >= high) return 1.0;
  return (kh - low) / (high - low);
}

double CCalcShear::GetCalc_a() const { return 4.0 * std::tan(DegToRad(phi_ / 3.0)); }

double CCalcShear::GetCalc_b(double g) const {
  const double t = std::tan(DegToRad(phi_ / 3.0));
  return 4.0 * t * t + 4.0 * g * conditions_.blockDepth * conditions_.boltSpacing / AsE();
}

double CCalcShear::GetCalc_c(double eta, double kh) const {
  return -(4.0 * GetCalcKe(eta, kh) * GetCalcW() - 8.0 * GetCalcTRN(eta, kh)) / AsE();
}

double CCalcShear::GetCalc_p(double g) const {
  const double a = GetCalc_a();
  return GetCalc_b(g) / 3.0 - a * a / 9.0;
}

double CCalcShear::GetCalc_q(double g, double eta, double kh) const {
  const double a = GetCalc_a();
  return 2.0 * a * a * a / 27.0 - a * GetCalc_b(g) / 3.0 + GetCalc_c(eta, kh);
}

double CCalcShear::GetCalc_s(double g, double eta, double kh) const {
  const double p = GetCalc_p(g);
  const double q = GetCalc_q(g, eta, kh);
  const double disc = 4.0 * p * p * p + q * q;
  return disc < 0.0 ? kNoValue : std::sqrt(disc) / 2.0;
}

double CCalcShear::GetCalcGanmma1(double g, double eta, double kh) const {
  return LargestDepressedRoot(GetCalc_p(g), GetCalc_q(g, eta, kh) / 2.0) - GetCalc_a() / 3.0;
}

double CCalcShear::GetCalcGanmma2(double g, double eta, double kh) const {
  return GetCalcKe(eta, kh) * gammaT_ * conditions_.h / g;
}

void CCalcShear::CheckKyokusyo(double kh) {
  if (yield_ || !(cumStrain_ > CPrmShear::GetKiretuHizumi())) return;
  yield_ = true;
  kc_ = kh;
  const double ref = CPrmShear::GetGammaRef();
  kL_ = CCoreConfig::GetRound(kh * (ref / cumStrain_) / (1.0 + ref / CPrmShear::GetKyokuHizumi()),
                              kSeismicCoefficientCode);
}

bool CCalcShear::HasConditions() const {
  const CPrmShear& c = conditions_;
  const bool fitSet = c.fit.b != kNoValue && c.fit.b >= 0.0 && c.fit.c != kNoValue;
  const bool valuesSet = c.g0 > 0.0 && c.boltSpacing != kNoValue && c.blockDepth != kNoValue &&
                         c.h != kNoValue && c.theta != kNoValue && gammaT_ != kNoValue;
  return fitSet && valuesSet && (!BarsCount() || phi_ != kNoValue);
}

bool CCalcShear::BarsCount() const {
  // Unset values are negative and fail these tests too.
  return reinf_.stdBar.as > 0.0 && conditions_.GetERBreal() > 0.0;
}

double CCalcShear::AsE() const { return reinf_.stdBar.as / 10000.0 * conditions_.GetERBreal(); }

double CCalcShear::Softening(double strain) const {
  return 1.0 + conditions_.fit.b * std::pow(std::abs(strain), conditions_.fit.c);
}

CShearData CCalcShear::DesignRow(const std::vector<CShearData>& rows, double khDesign) const {
  CShearData design;
  for (std::size_t i = 0; i + 1 < rows.size(); ++i) {
    const CShearData& low = rows[i];
    const CShearData& high = rows[i + 1];
    if (!(low.kh <= khDesign && khDesign < high.kh)) continue;
    if (low.cumStrain == kNoValue || high.cumStrain == kNoValue) return design;
    double strain = low.cumStrain;
    double disp = low.cumDisp;
    if (std::abs(low.kh - khDesign) >= kSameKh) {
      strain = low.cumStrain +
               (high.cumStrain - low.cumStrain) * (khDesign - low.kh) / (high.kh - low.kh);
      disp = conditions_.h * strain * 1000.0;
    }
    design.kh = khDesign;
    design.cumStrain = strain;
    design.cumDisp = RoundUp(disp, 1.0);
    return design;
  }
  return design;
}

bool CCalcShear::FindYieldBeyondRows(double g, const ProgressFeedback& feedback) {
  for (int n = kLastRowStep + 1;; ++n) {
    if (feedback.IsCancelled()) return false;
    const double kh = KhOfStep(n);
    g = CalcShearEngine(g, kh).gAfter;
    CheckKyokusyo(kh);
    if (yield_ || diverged_) return true;
    if (KhOfStep(n + 1) > kNoYieldK) break;
  }
  kL_ = kNoYieldK;
  return true;
}
