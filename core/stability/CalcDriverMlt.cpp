#include "core/stability/CalcDriverMlt.h"

#include <array>
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

// A run of blocks as the march reads it, cut once for all the marches of a search from the blocks
// its list read (CMarchBlocks).
struct MarchRun {
  std::vector<Face> bases;         // blocks 0..n-2
  Face end{};                      // the end face of block n-1
  std::vector<BaseTrig> baseTrig;  // per base
  EndTrig endTrig{};
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

Strength StrengthOfDegrees(double c, double phi) {
  return {c, phi != kNoValue ? std::tan(DegToRad(phi)) : kNoValue};
}

double HeightFactor(const CBlock& block, const std::optional<HeightLevels>& levels) {
  return levels ? block.GetCoffkh(levels->top, levels->reference) : 1.0;
}

double EndHeightFactor(const CBlock& block, bool side, const std::optional<HeightLevels>& levels) {
  return levels ? block.GetEndCoffkh(side, levels->top, levels->reference) : 1.0;
}

// The trigonometry of a base of inclination alpha after a base whose theta is thetaPrev.
BaseTrig TrigOfBase(double alpha, double thetaPrev) {
  const double theta = alpha / 3;
  return {std::cos(theta),
          std::sin(theta),
          std::sin(theta - alpha),
          std::cos(alpha - theta),
          std::sin(theta - thetaPrev),
          std::cos(alpha - thetaPrev),
          std::sin(alpha),
          std::cos(alpha)};
}

EndTrig TrigOfEnd(double a, double thetaPrev) {
  return {std::cos(thetaPrev),     std::sin(thetaPrev), std::sin(a + thetaPrev),
          std::cos(a + thetaPrev), std::sin(a),         std::cos(a)};
}

}  // namespace

// One block of the list as the march reads it in every run cut from the list: as a base, with the
// trigonometry it has after the block before it in the list, and as the end face of a run's last
// block; and the strength rule of the blocks' own strengths.
struct CMarchBlocks::Block {
  Face base;
  BaseTrig trig;  // after the block before (after none for the first block)
  double theta;   // a third of the base's signed inclination
  Face end;
  double endAngle;  // the end face's signed inclination
  // The strength the block sets for itself and the blocks after it that take none: strength type
  // 2 takes c and phi of its base stratum, type 3 its phi with c = 0, and a block without a base
  // stratum has none (kNoValue); any other type keeps the block before's.
  bool setsStrength;
  Strength own;
  // The strength of the block when a run starts at it: another type has no block before, so it
  // takes its stratum's as type 2 does.
  Strength first;
};

CMarchBlocks::CMarchBlocks() = default;
CMarchBlocks::~CMarchBlocks() = default;
CMarchBlocks::CMarchBlocks(CMarchBlocks&&) noexcept = default;
CMarchBlocks& CMarchBlocks::operator=(CMarchBlocks&&) noexcept = default;

namespace {

using MarchBlock = CMarchBlocks::Block;

// Every block of the list, its angles signed for the direction of sliding: the base angle as it is
// when the ground rises to the right, negated otherwise, and the end face the other way round. The
// end face is the one toward the list's direction. The blocks' getters round by the switch in
// force, which does not change while the blocks are used.
std::vector<MarchBlock> ReadBlocks(const CBlockList& list, bool rightUpper,
                                   const std::optional<HeightLevels>& levels) {
  std::vector<MarchBlock> blocks;
  const bool side = list.IsRightUpper();
  double thetaPrev = 0;
  for (int i = 0; i < list.GetBlockSize(); ++i) {
    const CBlock& block = *list.GetBlockPtr(i);
    MarchBlock b{};
    const double angle = block.GetBottomAngle();
    b.base = {block.GetLength(), block.GetWeight(-1), rightUpper ? angle : -angle, block.GetU(),
              HeightFactor(block, levels)};
    b.trig = TrigOfBase(b.base.angle, thetaPrev);
    b.theta = b.base.angle / 3;
    thetaPrev = b.theta;
    const double endAngle = block.GetEndAngle(side);
    b.endAngle = rightUpper ? -endAngle : endAngle;
    if (std::abs(b.endAngle) < kFlatEndFace) b.endAngle = 0;
    b.end = {block.GetEndLength(side), block.GetEndWeight(side, -1), b.endAngle,
             block.GetEndU(side), EndHeightFactor(block, side, levels)};
    double c = kNoValue;
    double phi = kNoValue;
    const bool hasStratum = block.GetCF(c, phi);
    const int type = block.GetStrengthType();
    b.setsStrength = !hasStratum || type == 2 || type == 3;
    b.own = StrengthOfDegrees(c, phi);
    if (!b.setsStrength) StratumStrength(block, c, phi);
    b.first = StrengthOfDegrees(c, phi);
    blocks.push_back(b);
  }
  return blocks;
}

// The run of the blocks first..last: their bases but the last's, its end face, and each block's
// own strength in run order.
MarchRun RunOf(const std::vector<MarchBlock>& blocks, int first, int last) {
  MarchRun run;
  double thetaPrev = 0;
  for (int i = first; i <= last; ++i) {
    const MarchBlock& b = blocks[static_cast<std::size_t>(i)];
    const Strength own = i == first ? b.first : b.setsStrength ? b.own : run.strengths.back();
    run.strengths.push_back(own);
    run.everyOwnC = run.everyOwnC && own.c != kNoValue;
    run.everyOwnTanPhi = run.everyOwnTanPhi && own.tanPhi != kNoValue;
    if (i == last) {
      run.end = b.end;
      run.endTrig = TrigOfEnd(b.endAngle, thetaPrev);
    } else {
      run.bases.push_back(b.base);
      run.baseTrig.push_back(i == first ? TrigOfBase(b.base.angle, 0) : b.trig);
      thetaPrev = b.theta;
    }
  }
  return run;
}

MarchRun RunOf(const CBlockList& list, bool rightUpper, const std::optional<HeightLevels>& levels) {
  return RunOf(ReadBlocks(list, rightUpper, levels), 0, list.GetBlockSize() - 1);
}

// The resistance mobilised on a face at Fs: no friction while the effective normal force is not
// positive.
double Mobilised(double n, const Face& face, const Strength& s, double fs) {
  if (n > face.water) return ((n - face.water) * s.tanPhi + s.c * face.length) / fs;
  return s.c * face.length / fs;
}

// What one march takes besides the run: the trial fs, the seismic coefficient kh (0 for the normal
// case), and c and tan(phi) replacing every block's own unless kNoValue.
struct MarchArgs {
  double fs;
  double kh;
  double c;
  double tanPhi;
};

// The force march of a run, one base at a time. The inter-block force leaves each block inclined
// at a third of its base angle; the last block is closed on its end face. Needs
// run.CanTake(c, tanPhi) and at least one block.
class Marcher {
 public:
  Marcher(const MarchRun& run, const MarchArgs& args) : run_(run), a_(args) {}

  void Base(std::size_t i) {
    const Face& f = run_.bases[i];
    const BaseTrig& g = run_.baseTrig[i];
    const Strength s = run_.StrengthOf(i, a_.c, a_.tanPhi);
    const double fs = a_.fs;
    const double khp = a_.kh * f.khFactor;
    const double n = (f.weight * g.cosTheta - khp * f.weight * g.sinTheta +
                      (s.c * f.length - f.water * s.tanPhi) * g.sinThetaLessAlpha / fs -
                      ePrev_ * g.sinThetaLessPrev) *
                     fs / (fs * g.cosAlphaLessTheta - s.tanPhi * g.sinThetaLessAlpha);
    const double mobilised = Mobilised(n, f, s, fs);
    const double e = (f.weight * g.sinAlpha + ePrev_ * g.cosAlphaLessPrev +
                      khp * f.weight * g.cosAlpha - mobilised) /
                     g.cosAlphaLessTheta;
    t_ += mobilised;
    ePrev_ = e;
  }

  MarchResult End() const {
    const Face& f = run_.end;
    const EndTrig& g = run_.endTrig;
    const Strength s = run_.StrengthOf(run_.strengths.size() - 1, a_.c, a_.tanPhi);
    const double fs = a_.fs;
    const double khp = a_.kh * f.khFactor;
    const double n = (f.weight * g.cosPrev - khp * f.weight * g.sinPrev +
                      (s.c * f.length - f.water * s.tanPhi) * g.sinAPlusPrev / fs) *
                     fs / (fs * g.cosAPlusPrev - s.tanPhi * g.sinAPlusPrev);
    const double mobilised = Mobilised(n, f, s, fs);
    const double t = t_ + mobilised;
    // What the end body can take.
    const double capacity =
        (f.weight * g.sinA + mobilised - khp * f.weight * g.cosA) / g.cosAPlusPrev;
    if (std::abs(ePrev_ - capacity) <= CCalcDriverMlt::kClosure) return {true, 0, t};
    return {false, capacity - ePrev_, t};
  }

 private:
  const MarchRun& run_;
  const MarchArgs a_;
  double ePrev_ = 0;
  double t_ = 0;
};

template <std::size_t... k>
std::array<Marcher, sizeof...(k)> MarchersOf(const MarchRun& run,
                                             const std::array<MarchArgs, sizeof...(k)>& args,
                                             std::index_sequence<k...>) {
  return {Marcher(run, args[k])...};
}

// Marches of the same run side by side, each giving exactly what it gives alone. A march is one
// long chain of divisions, each waiting for the one before; independent chains in one loop let the
// processor overlap them, so a few cost little more than one.
template <std::size_t N>
std::array<MarchResult, N> MarchSideBySide(const MarchRun& run,
                                           const std::array<MarchArgs, N>& args) {
  std::array<MarchResult, N> results{};
  if (run.strengths.empty()) {
    results.fill({true, 0, 0});
    return results;
  }
  std::array<Marcher, N> marchers = MarchersOf(run, args, std::make_index_sequence<N>{});
  for (std::size_t i = 0; i < run.bases.size(); ++i) {
    for (Marcher& march : marchers) march.Base(i);
  }
  for (std::size_t k = 0; k < N; ++k) results[k] = marchers[k].End();
  return results;
}

MarchResult March(const MarchRun& run, const MarchArgs& args) {
  return MarchSideBySide(run, std::array{args})[0];
}

// One case of the safety-factor iteration: its search, or none when the case takes no part.
struct FsCase {
  std::optional<CFsSearch> search;
  double kh = 0;
  double t = kNoValue;
  double s = kNoValue;

  bool IsOpen() const { return search && search->IsOpen(); }
  MarchArgs Trial(double c, double tanPhi) const { return {search->Trial(), kh, c, tanPhi}; }
  // The march `passes` passes ahead as the search takes them while no march closes and the
  // residual keeps its sign, the usual outcome: marched beside the one at Trial(), it saves a pass
  // whenever the search goes on to it.
  MarchArgs Guess(double c, double tanPhi, int passes) const {
    return {search->TrialAhead(passes), kh, c, tanPhi};
  }
  // Takes a guessed march if the search went on to its trial.
  void Take(const MarchArgs& guess, const MarchResult& guessed) {
    if (IsOpen() && search->Trial() == guess.fs) Take(guessed);
  }
  // Takes the march at Trial(): a closed march gives the case its forces.
  void Take(const MarchResult& result) {
    const double trial = search->Trial();
    search->Take(result.closed, result.residual);
    if (result.closed) {
      t = result.t;
      s = result.t * trial;
    }
  }
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
  const MarchRun run = RunOf(*list, rightUpper_, seismic ? HeightLevelsOf(section_) : std::nullopt);
  if (!run.CanTake(c, tanPhi)) return false;
  const MarchResult result = March(run, {fs, kh, c, tanPhi});
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

bool CCalcDriverMlt::SeismicFs() const { return calcQuake_ && SeismicKh(section_) != kNoValue; }

CMarchBlocks CCalcDriverMlt::ReadForFs(const CBlockList& list) const {
  CMarchBlocks read;
  read.blocks_ =
      ReadBlocks(list, rightUpper_, SeismicFs() ? HeightLevelsOf(section_) : std::nullopt);
  return read;
}

CMarchBlocks CCalcDriverMlt::ReadForReverse(const CBlockList& list) const {
  CMarchBlocks read;
  read.blocks_ = ReadBlocks(list, rightUpper_, std::nullopt);
  return read;
}

void CCalcDriverMlt::KeisanFs(double& fsN, double& fsQ, const CBlockList* list, double& tN,
                              double& sN, double& tQ, double& sQ, double c, double tanPhi) const {
  const CBlockList* runList = ListOrOwn(list);
  if (runList == nullptr) {
    fsN = fsQ = tN = sN = tQ = sQ = kNoValue;
    return;
  }
  const CMarchBlocks read = ReadForFs(*runList);
  KeisanFs(fsN, fsQ, read, 0, runList->GetBlockSize() - 1, tN, sN, tQ, sQ, c, tanPhi);
}

void CCalcDriverMlt::KeisanFs(double& fsN, double& fsQ, const CMarchBlocks& blocks, int first,
                              int last, double& tN, double& sN, double& tQ, double& sQ, double c,
                              double tanPhi) const {
  const double startN = fsN;
  const double startQ = fsQ;
  fsN = fsQ = tN = sN = tQ = sQ = kNoValue;
  const MarchRun run = RunOf(blocks.blocks_, first, last);
  const bool runnable = run.CanTake(c, tanPhi);
  FsCase normal;
  FsCase quake;
  quake.kh = SeismicKh(section_);
  if (runnable && calcNormal_ && startN > 0) normal.search.emplace(startN);
  if (runnable && SeismicFs() && startQ > 0) quake.search.emplace(startQ);

  // Both cases run in the same passes until each has converged or used its passes; their marches
  // do not depend on each other.
  while (normal.IsOpen() || quake.IsOpen()) {
    if (normal.IsOpen() && quake.IsOpen()) {
      const MarchArgs normalNext = normal.Guess(c, tanPhi, 1);
      const MarchArgs quakeNext = quake.Guess(c, tanPhi, 1);
      const auto r = MarchSideBySide(
          run, std::array{normal.Trial(c, tanPhi), normalNext, quake.Trial(c, tanPhi), quakeNext});
      normal.Take(r[0]);
      normal.Take(normalNext, r[1]);
      quake.Take(r[2]);
      quake.Take(quakeNext, r[3]);
    } else {
      // One case alone leaves the processor room for a third march.
      FsCase& open = normal.IsOpen() ? normal : quake;
      const MarchArgs next = open.Guess(c, tanPhi, 1);
      const MarchArgs afterNext = open.Guess(c, tanPhi, 2);
      const auto r = MarchSideBySide(run, std::array{open.Trial(c, tanPhi), next, afterNext});
      open.Take(r[0]);
      open.Take(next, r[1]);
      open.Take(afterNext, r[2]);
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
  return KeisanReverse(ReadForReverse(*runList), 0, runList->GetBlockSize() - 1, c0, tanPhi0, fs);
}

bool CCalcDriverMlt::KeisanReverse(const CMarchBlocks& blocks, int first, int last, double& c0,
                                   double& tanPhi0, double fs) const {
  if (!(fs > 0)) return false;
  const MarchRun run = RunOf(blocks.blocks_, first, last);
  // Search A varies c with tan(phi) = 0 for every block, search B tan(phi) with c = 0; their
  // marches do not depend on each other.
  CStrengthSearch cohesion;
  CStrengthSearch friction;
  while (cohesion.IsOpen() || friction.IsOpen()) {
    const MarchArgs byCohesion{fs, 0, cohesion.Value(), 0};
    const MarchArgs byFriction{fs, 0, 0, friction.Value()};
    if (cohesion.IsOpen() && friction.IsOpen()) {
      const auto [a, b] = MarchSideBySide(run, std::array{byCohesion, byFriction});
      cohesion.Take(a.closed, a.residual);
      friction.Take(b.closed, b.residual);
    } else if (cohesion.IsOpen()) {
      const MarchResult a = March(run, byCohesion);
      cohesion.Take(a.closed, a.residual);
    } else {
      const MarchResult b = March(run, byFriction);
      friction.Take(b.closed, b.residual);
    }
  }
  if (!cohesion.IsConverged() && !friction.IsConverged()) return false;
  c0 = cohesion.Value();
  tanPhi0 = friction.Value();
  return true;
}

double CCalcDriverMlt::KeisanRevC(const CBlockList* list, double tanPhi, double fs) const {
  const CBlockList* runList = ListOrOwn(list);
  if (runList == nullptr) return kNoValue;
  return KeisanRevC(ReadForReverse(*runList), 0, runList->GetBlockSize() - 1, tanPhi, fs);
}

double CCalcDriverMlt::KeisanRevC(const CMarchBlocks& blocks, int first, int last, double tanPhi,
                                  double fs) const {
  if (!(fs > 0)) return kNoValue;
  const MarchRun run = RunOf(blocks.blocks_, first, last);
  if (!run.CanTake(0, tanPhi)) return kNoValue;
  CStrengthSearch cohesion;
  while (cohesion.IsOpen()) {
    const MarchResult result = March(run, {fs, 0, cohesion.Value(), tanPhi});
    cohesion.Take(result.closed, result.residual);
  }
  return cohesion.IsConverged() ? cohesion.Value() : kNoValue;
}
