#include "core/stability/CalcDriverMlt.h"

#include <cmath>
#include <cstddef>
#include <optional>
#include <utility>
#include <vector>

#include "core/base/Constants.h"
#include "core/base/Utility.h"
#include "core/model/Danmen.h"
#include "core/section/SpGround.h"
#include "core/section/SpStratum.h"
#include "core/section/StratumProp.h"
#include "core/stability/Block.h"
#include "core/stability/BlockList.h"
#include "core/stability/FsSearch.h"

namespace {

// An end-face inclination this small counts as 0.
constexpr double kFlatEndFace = 1e-9;

// The elevations the height factor of the seismic coefficient is measured between.
struct HeightLevels {
  double top;        // the highest point of the section's ground line
  double reference;  // the reference elevation of the calculation conditions
};

// One face that the march reads: the base of a block, or the end face of the last block.
struct Face {
  double length;    // l
  double weight;    // W
  double angle;     // inclination in the direction of sliding, radians
  double water;     // pore-water force on the face, U
  double khFactor;  // height factor of the seismic coefficient at the body's centroid
};

struct Strength {
  double c;
  double tanPhi;
};

// The trigonometry of a base that every march of a search needs: its angles are fixed, so it is
// computed once per run instead of once per pass. theta = alpha / 3 leaves the block, thetaPrev
// arrives from the block before (0 at the first).
struct BaseTrig {
  double cosTheta;
  double sinTheta;
  double sinThetaLessAlpha;  // sin(theta - alpha)
  double cosAlphaLessTheta;  // cos(alpha - theta)
  double sinThetaLessPrev;   // sin(theta - thetaPrev)
  double cosAlphaLessPrev;   // cos(alpha - thetaPrev)
  double sinAlpha;
  double cosAlpha;
};

// The same for the end face with its inclination a and the last base's theta.
struct EndTrig {
  double cosPrev;
  double sinPrev;
  double sinAPlusPrev;  // sin(a + thetaPrev)
  double cosAPlusPrev;  // cos(a + thetaPrev)
  double sinA;
  double cosA;
};

// A run of blocks as the march reads it, taken from the blocks once for all the marches of a
// search. The blocks' getters round by the switch in force, which does not change meanwhile.
struct MarchRun {
  std::vector<Face> bases;         // blocks 0..n-2
  Face end{};                      // the end face of block n-1
  std::vector<BaseTrig> baseTrig;  // per base
  EndTrig endTrig{};
  double lastTheta = 0;             // theta of the last base, 0 without one
  std::vector<Strength> strengths;  // each block's own, 0..n-1; kNoValue where it has none
  bool everyOwnC = true;            // no block lacks its own c
  bool everyOwnTanPhi = true;       // no block lacks its own tan(phi)

  // Whether every block has a strength once the arguments (unless kNoValue) replace its own.
  bool CanTake(double c, double tanPhi) const {
    return (c != kNoValue || everyOwnC) && (tanPhi != kNoValue || everyOwnTanPhi);
  }
  Strength StrengthOf(std::size_t i, double c, double tanPhi) const {
    return {c != kNoValue ? c : strengths[i].c, tanPhi != kNoValue ? tanPhi : strengths[i].tanPhi};
  }
};

struct MarchResult {
  bool closed;
  double residual;  // what the end face takes less what arrives; 0 when closed
  double t;         // the sum of the mobilised resistances
};

double SeismicKh(const CDanmenStab* section) {
  return section != nullptr ? section->GetKh() : kNoValue;
}

// Without a reference elevation (or a ground to measure the top from) the height factor is 1:
// measured from no value, every block near the top would take nearly twice kh.
std::optional<HeightLevels> HeightLevelsOf(const CDanmenStab* section) {
  if (section == nullptr || section->GetGround() == nullptr) return std::nullopt;
  const double top = section->GetGround()->Top().y;
  const double reference = section->GetCalcCond().bottomElevation;
  if (top == kNoValue || reference == kNoValue) return std::nullopt;
  return HeightLevels{top, reference};
}

// c and phi (degrees) of the block's base stratum; both kNoValue without one.
void StratumStrength(const CBlock& block, double& c, double& phi) {
  const CSpStratumBlock* stratum = block.SearchDevyStratum(block.GetDEVYsize() - 2);
  c = stratum != nullptr ? stratum->GetPropStructure()->c : kNoValue;
  phi = stratum != nullptr ? stratum->GetPropStructure()->phi : kNoValue;
}

// Each block's own base strength in run order: strength type 2 takes c and phi of its base
// stratum, type 3 its phi with c = 0, any other type keeps the block before's. The first block has
// none before it, so with another type it takes its stratum's as type 2 does. A block without a
// base stratum has none (kNoValue).
std::vector<Strength> OwnStrengths(const CBlockList& list) {
  std::vector<Strength> strengths;
  double c = kNoValue;
  double phi = kNoValue;
  for (int i = 0; i < list.GetBlockSize(); ++i) {
    const CBlock& block = *list.GetBlockPtr(i);
    const int type = block.GetStrengthType();
    if (i == 0 && type != 2 && type != 3) {
      StratumStrength(block, c, phi);
    } else {
      block.GetCF(c, phi);
    }
    strengths.push_back({c, phi != kNoValue ? std::tan(DegToRad(phi)) : kNoValue});
  }
  return strengths;
}

double HeightFactor(const CBlock& block, const std::optional<HeightLevels>& levels) {
  return levels ? block.GetCoffkh(levels->top, levels->reference) : 1.0;
}

double EndHeightFactor(const CBlock& block, bool side, const std::optional<HeightLevels>& levels) {
  return levels ? block.GetEndCoffkh(side, levels->top, levels->reference) : 1.0;
}

// The bases and the end face of the run, their angles signed for the direction of sliding: the
// base angle as it is when the ground rises to the right, negated otherwise, and the end face the
// other way round. The end face is the one toward the list's direction.
MarchRun MakeRun(const CBlockList& list, bool rightUpper,
                 const std::optional<HeightLevels>& levels) {
  MarchRun run;
  run.strengths = OwnStrengths(list);
  for (const Strength& strength : run.strengths) {
    run.everyOwnC = run.everyOwnC && strength.c != kNoValue;
    run.everyOwnTanPhi = run.everyOwnTanPhi && strength.tanPhi != kNoValue;
  }
  const int n = list.GetBlockSize();
  for (int i = 0; i + 1 < n; ++i) {
    const CBlock& block = *list.GetBlockPtr(i);
    const double angle = block.GetBottomAngle();
    run.bases.push_back({block.GetLength(), block.GetWeight(-1), rightUpper ? angle : -angle,
                         block.GetU(), HeightFactor(block, levels)});
    const double alpha = run.bases.back().angle;
    const double theta = alpha / 3;
    const double thetaPrev = run.lastTheta;
    run.baseTrig.push_back({std::cos(theta), std::sin(theta), std::sin(theta - alpha),
                            std::cos(alpha - theta), std::sin(theta - thetaPrev),
                            std::cos(alpha - thetaPrev), std::sin(alpha), std::cos(alpha)});
    run.lastTheta = theta;
  }
  if (n > 0) {
    const CBlock& last = *list.GetBlockPtr(n - 1);
    const bool side = list.IsRightUpper();
    const double endAngle = last.GetEndAngle(side);
    double a = rightUpper ? -endAngle : endAngle;
    if (std::abs(a) < kFlatEndFace) a = 0;
    run.end = {last.GetEndLength(side), last.GetEndWeight(side, -1), a, last.GetEndU(side),
               EndHeightFactor(last, side, levels)};
    const double thetaPrev = run.lastTheta;
    run.endTrig = {std::cos(thetaPrev),     std::sin(thetaPrev), std::sin(a + thetaPrev),
                   std::cos(a + thetaPrev), std::sin(a),         std::cos(a)};
  }
  return run;
}

// The resistance mobilised on a face at Fs: no friction while the effective normal force is not
// positive.
double Mobilised(double n, const Face& face, const Strength& s, double fs) {
  if (n > face.water) return ((n - face.water) * s.tanPhi + s.c * face.length) / fs;
  return s.c * face.length / fs;
}

// The force march at the trial fs with the seismic coefficient kh (0 for the normal case). The
// inter-block force leaves each block inclined at a third of its base angle; the last block is
// closed on its end face. Needs run.CanTake(c, tanPhi).
MarchResult March(const MarchRun& run, double fs, double kh, double c, double tanPhi) {
  if (run.strengths.empty()) return {true, 0, 0};
  double ePrev = 0;
  double t = 0;
  for (std::size_t i = 0; i < run.bases.size(); ++i) {
    const Face& f = run.bases[i];
    const BaseTrig& g = run.baseTrig[i];
    const Strength s = run.StrengthOf(i, c, tanPhi);
    const double khp = kh * f.khFactor;
    const double n = (f.weight * g.cosTheta - khp * f.weight * g.sinTheta +
                      (s.c * f.length - f.water * s.tanPhi) * g.sinThetaLessAlpha / fs -
                      ePrev * g.sinThetaLessPrev) *
                     fs / (fs * g.cosAlphaLessTheta - s.tanPhi * g.sinThetaLessAlpha);
    const double mobilised = Mobilised(n, f, s, fs);
    const double e = (f.weight * g.sinAlpha + ePrev * g.cosAlphaLessPrev +
                      khp * f.weight * g.cosAlpha - mobilised) /
                     g.cosAlphaLessTheta;
    t += mobilised;
    ePrev = e;
  }
  const Face& f = run.end;
  const EndTrig& g = run.endTrig;
  const Strength s = run.StrengthOf(run.strengths.size() - 1, c, tanPhi);
  const double khp = kh * f.khFactor;
  const double n = (f.weight * g.cosPrev - khp * f.weight * g.sinPrev +
                    (s.c * f.length - f.water * s.tanPhi) * g.sinAPlusPrev / fs) *
                   fs / (fs * g.cosAPlusPrev - s.tanPhi * g.sinAPlusPrev);
  const double mobilised = Mobilised(n, f, s, fs);
  t += mobilised;
  // What the end body can take.
  const double capacity =
      (f.weight * g.sinA + mobilised - khp * f.weight * g.cosA) / g.cosAPlusPrev;
  if (std::abs(ePrev - capacity) <= CCalcDriverMlt::kClosure) return {true, 0, t};
  return {false, capacity - ePrev, t};
}

// One case of the safety-factor iteration: its search, or none when the case takes no part.
struct FsCase {
  std::optional<CFsSearch> search;
  double kh = 0;
  double t = kNoValue;
  double s = kNoValue;
};

}  // namespace

CCalcDriverMlt::CCalcDriverMlt() = default;
CCalcDriverMlt::~CCalcDriverMlt() = default;
CCalcDriverMlt::CCalcDriverMlt(CCalcDriverMlt&&) noexcept = default;
CCalcDriverMlt& CCalcDriverMlt::operator=(CCalcDriverMlt&&) noexcept = default;

void CCalcDriverMlt::SetBlockList(std::unique_ptr<CBlockList> list) { list_ = std::move(list); }

bool CCalcDriverMlt::CalcMultiPlane(bool seismic, double fs, double& t, double& s, double& residual,
                                    const CBlockList* list, double c, double tanPhi) const {
  const double kh = seismic ? SeismicKh(section_) : 0;
  if (list == nullptr || kh == kNoValue) return false;
  const MarchRun run =
      MakeRun(*list, rightUpper_, seismic ? HeightLevelsOf(section_) : std::nullopt);
  if (!run.CanTake(c, tanPhi)) return false;
  const MarchResult result = March(run, fs, kh, c, tanPhi);
  residual = result.residual;
  if (result.closed) {
    t = result.t;
    s = result.t * fs;
  }
  return result.closed;
}

bool CCalcDriverMlt::CalcMultiPlaneN(double fs, double& t, double& s, double& residual,
                                     const CBlockList* list, double c, double tanPhi) const {
  return CalcMultiPlane(false, fs, t, s, residual, list, c, tanPhi);
}

bool CCalcDriverMlt::CalcMultiPlaneQ(double fs, double& t, double& s, double& residual,
                                     const CBlockList* list, double c, double tanPhi) const {
  return CalcMultiPlane(true, fs, t, s, residual, list, c, tanPhi);
}

void CCalcDriverMlt::KeisanFs(double& fsN, double& fsQ, const CBlockList* list, double& tN,
                              double& sN, double& tQ, double& sQ, double c, double tanPhi) const {
  const double startN = fsN;
  const double startQ = fsQ;
  fsN = fsQ = tN = sN = tQ = sQ = kNoValue;
  const CBlockList* runList = ListOrOwn(list);
  if (runList == nullptr) return;

  const double kh = SeismicKh(section_);
  const bool seismic = calcQuake_ && kh != kNoValue;
  const MarchRun run =
      MakeRun(*runList, rightUpper_, seismic ? HeightLevelsOf(section_) : std::nullopt);
  const bool runnable = run.CanTake(c, tanPhi);
  FsCase normal;
  FsCase quake;
  quake.kh = kh;
  if (runnable && calcNormal_ && startN > 0) normal.search.emplace(startN);
  if (runnable && seismic && startQ > 0) quake.search.emplace(startQ);

  // Both cases run in the same passes until each has converged or used its passes.
  for (bool open = true; open;) {
    open = false;
    for (FsCase* fsCase : {&normal, &quake}) {
      if (!fsCase->search || !fsCase->search->IsOpen()) continue;
      const double trial = fsCase->search->Trial();
      const MarchResult result = March(run, trial, fsCase->kh, c, tanPhi);
      fsCase->search->Take(result.closed, result.residual);
      if (result.closed) {
        fsCase->t = result.t;
        fsCase->s = result.t * trial;
      }
      open = true;
    }
  }
  if (normal.search) {
    fsN = normal.search->Result();
    tN = normal.t;
    sN = normal.s;
  }
  if (quake.search) {
    fsQ = quake.search->Result();
    tQ = quake.t;
    sQ = quake.s;
  }
}

bool CCalcDriverMlt::KeisanReverse(const CBlockList* list, double& c0, double& tanPhi0,
                                   double fs) const {
  const CBlockList* runList = ListOrOwn(list);
  if (runList == nullptr) {
    c0 = tanPhi0 = kNoValue;
    return false;
  }
  if (!(fs > 0)) return false;
  const MarchRun run = MakeRun(*runList, rightUpper_, std::nullopt);
  // Search A varies c with tan(phi) = 0 for every block, search B tan(phi) with c = 0.
  CStrengthSearch cohesion;
  CStrengthSearch friction;
  while (cohesion.IsOpen() || friction.IsOpen()) {
    if (cohesion.IsOpen()) {
      const MarchResult result = March(run, fs, 0, cohesion.Value(), 0);
      cohesion.Take(result.closed, result.residual);
    }
    if (friction.IsOpen()) {
      const MarchResult result = March(run, fs, 0, 0, friction.Value());
      friction.Take(result.closed, result.residual);
    }
  }
  if (!cohesion.IsConverged() && !friction.IsConverged()) return false;
  c0 = cohesion.Value();
  tanPhi0 = friction.Value();
  return true;
}

double CCalcDriverMlt::KeisanRevC(const CBlockList* list, double tanPhi, double fs) const {
  const CBlockList* runList = ListOrOwn(list);
  if (runList == nullptr || !(fs > 0)) return kNoValue;
  const MarchRun run = MakeRun(*runList, rightUpper_, std::nullopt);
  if (!run.CanTake(0, tanPhi)) return kNoValue;
  CStrengthSearch cohesion;
  while (cohesion.IsOpen()) {
    const MarchResult result = March(run, fs, 0, cohesion.Value(), tanPhi);
    cohesion.Take(result.closed, result.residual);
  }
  return cohesion.IsConverged() ? cohesion.Value() : kNoValue;
}
