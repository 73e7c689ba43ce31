// CBlockList: the x positions, the automatic division, the making of blocks and their re-linking
// after a load.

#include <algorithm>
#include <cmath>
#include <functional>
#include <numbers>
#include <optional>

#include "core/base/CoreConfig.h"
#include "core/geometry/DPolyArray.h"
#include "core/model/Danmen.h"
#include "core/section/SpStratum.h"
#include "core/section/SpWater.h"
#include "core/stability/BlockList.h"

namespace {

// Positions closer than this are one cut.
constexpr double kSameX = 1e-5;
// A walk steps on only while x moves on by more than this; it also records the far end of the
// slide mass only when that lies farther away.
constexpr double kMinStep = 0.001;
// The ray of a walk starts this far beyond the cut and reaches this far.
constexpr double kRayStart = 0.001;
constexpr double kRayReach = 10000;
constexpr double kCrossTolerance = 1e-7;
// Cut positions are rounded as shape coordinates, whatever the rounding switch says.
constexpr int kRoundCoordinate = 341;
// Entries of the outline are taken whatever their height.
constexpr double kAnyLevel = -10000;
// A new block takes the stratum's c and phi.
constexpr int kStratumStrength = 2;
constexpr int kStratumOnlyPhi = 3;

// The given water line, else the section's; a line of fewer than two points is none.
const CSpWater* WaterLine(const CSpWater* given, const CDanmen& section) {
  const CSpWater* water = given != nullptr ? given : section.GetWater();
  return water != nullptr && water->GetSize() >= 2 ? water : nullptr;
}

std::vector<tagDEVY> WaterEntries(const CSpWater* water, double left, double right) {
  std::vector<tagDEVY> entries;
  if (water != nullptr) water->GetDEVYWater(entries, left, right);
  return entries;
}

// The crossing of a walk's ray that moves the walk on: the nearest to the ray's start, as long as
// it lies more than kMinStep beyond the cut. A ray that starts on a flat stretch of the boundary
// meets that stretch at its own start; then the nearest crossing farther on is the next cut, so a
// flat base or top is divided like any other instead of ending the walk.
std::optional<CDPoint> NextCut(const CDPoly& polygon, const CDPoint& from, const CDPoint& to,
                               double x, int step) {
  const auto movesOn = [x, step](const CDPoint& p) { return step * (p.x - x) > kMinStep; };
  CDPoint nearest;
  if (!polygon.CheckCross(&from, &to, nearest, kCrossTolerance)) return std::nullopt;
  if (movesOn(nearest)) return nearest;
  CDPoly crossings;
  polygon.GetCrossPointArray(&from, &to, &crossings, kCrossTolerance);
  std::optional<CDPoint> next;
  for (int i = 0; i < crossings.GetSize(); ++i) {
    const CDPoint& p = *crossings.GetAt(i);
    if (movesOn(p) && (!next || GetDistance(&from, &p) < GetDistance(&from, &*next))) next = p;
  }
  return next;
}

}  // namespace

// ---- x positions ----

void CBlockList::SortXArray(bool ascending) {
  if (ascending) {
    std::sort(xs_.begin(), xs_.end());
  } else {
    std::sort(xs_.begin(), xs_.end(), std::greater<>());
  }
}

void CBlockList::RemoveSameX() {
  std::size_t k = 0;
  while (k + 1 < xs_.size()) {
    if (std::fabs(xs_[k] - xs_[k + 1]) < kSameX) {
      xs_.erase(xs_.begin() + static_cast<std::ptrdiff_t>(k) + 1);
    } else {
      ++k;
    }
  }
}

void CBlockList::RemoveOuter(double lo, double hi) {
  std::erase_if(xs_, [lo, hi](double x) { return x < lo - kSameX || x > hi + kSameX; });
}

void CBlockList::RemoveOuterAdjust(double lo, double hi) {
  std::erase(xs_, kNoValue);
  for (double& x : xs_) {
    if (x < lo) {
      x = lo;
    } else if (x > hi) {
      x = hi;
    }
  }
}

// ---- Automatic division ----

bool CBlockList::WalkCuts(const CDPoly& polygon, bool alongBase, int step,
                          std::vector<double>& xs) const {
  const auto boundaryAt = [&polygon, alongBase](double x, double& y) {
    return alongBase ? polygon.GetYMin(x, nullptr, y) : polygon.GetYMax(x, nullptr, y);
  };
  const double theta = angle_ * std::numbers::pi / 180;
  const double dx = step * std::cos(theta);
  const double dy = std::sin(theta);
  const double farEnd = step < 0 ? polygon.Left().x : polygon.Right().x;
  double x = startX_;
  double y = 0;
  if (!boundaryAt(x, y)) return false;
  // One position more than a list within the limit holds: a walk cut short here leaves a list
  // that is over the limit, never one that looks complete.
  for (int recorded = 0; recorded < kMaxBlocks + 2; ++recorded) {
    xs.push_back(x);
    // The ray runs from this cut's boundary across the slide mass at the division angle.
    const CDPoint from(x + kRayStart * dx, y);
    const CDPoint to(x + kRayReach * dx, y + kRayReach * dy);
    const std::optional<CDPoint> cross = NextCut(polygon, from, to, x, step);
    if (!cross) {
      if (std::fabs(farEnd - x) > kMinStep) xs.push_back(farEnd);
      return true;
    }
    x = cross->x;
    if (!boundaryAt(x, y)) return true;
  }
  return true;
}

int CBlockList::SetXArrayAuto() {
  xs_.clear();
  const CDPoly* polygon = ChosenPolygon();
  if (polygon == nullptr || startX_ == kNoValue) return 0;
  // At 90 degrees the rays are vertical and a walk never moves on; at 0 and below they never
  // rise across the slide mass.
  if (!(angle_ > 0 && angle_ < 90)) return -1;
  // Walk 1 runs along the base toward the side the blocks are numbered to (left with the
  // direction flag), walk 2 along the top the other way.
  const int step = rightUpper_ ? -1 : 1;
  std::vector<double> found;
  if (!WalkCuts(*polygon, true, step, found) || !WalkCuts(*polygon, false, -step, found)) {
    return -1;
  }
  const CUnitFilter rounding = CCoreConfig::GetUnitFilter();
  for (const double x : found) xs_.push_back(rounding.Round2(x, kRoundCoordinate));
  RemoveOuter(polygon->Left().x, polygon->Right().x);
  SortXArray(false);
  RemoveSameX();
  return GetXSize();
}

// ---- Division ----

void CBlockList::BuildOutline(const CDPoly& polygon) {
  for (std::size_t k = 0; k + 1 < xs_.size(); ++k) {
    CBlock cut;
    cut.SetLeftRightX(std::min(xs_[k], xs_[k + 1]), std::max(xs_[k], xs_[k + 1]));
    std::vector<tagDEVY> entries;
    polygon.GetDEVYArrayBlock(entries, cut.GetLeftX(), cut.GetRightX(), kAnyLevel);
    cut.AppendDEVYArray(entries);
    cut.SortDEVY();
    cut.DelSameDEVY();
    if (cut.GetDEVYsize() == 0) continue;
    if (slideCopy_->GetSize() == 0) {
      slideCopy_->Add(StartCorner(cut, false));
      groundCopy_->Add(StartCorner(cut, true));
    }
    slideCopy_->Add(FarCorner(cut, false));
    groundCopy_->Add(FarCorner(cut, true));
  }
}

CBlock CBlockList::MakeBlock(double left, double right, CDPolyArray* strata,
                             const CSpWater* water) const {
  CBlock block;
  block.SetDanmenStab(sectionStab_);
  block.SetLeftRightX(left, right);
  double yl = 0;
  double yr = 0;
  block.SetBaseArc(slideWork_->GetSlideBottom(left, right, yl, yr));
  const double ym = slideWork_->GetY((left + right) / 2);
  block.SetStrengthType(kStratumStrength, kStratumStrength);
  if (strata != nullptr) {
    for (int i = 0; i < strata->GetSize(); ++i) {
      std::vector<tagDEVY> entries;
      strata->GetAt(i)->GetDEVYArrayBlock(entries, left, right, ym);
      block.AppendDEVYArray(entries);
    }
  }
  block.SortDEVY();
  block.DelSameDEVY();
  // The link only marks the entry as the base.
  block.AddDEVY(tagDEVY{yl, yr, slideWork_.get(), 0});
  block.SetWaterLev(WaterEntries(water, left, right));
  block.DelSameDEVY();
  return block;
}

int CBlockList::CreateBlock(CDPolyArray* strata, const CSpWater* water) {
  if (section_ == nullptr) return 0;
  const CSpWater* waterLine = WaterLine(water, *section_);
  const CSpGround* ground = section_->GetGround();
  if (ground == nullptr || ground->GetSize() < 2) return 0;
  const bool fitToGround = strata == nullptr;
  if (strata == nullptr) strata = ground->GetPolyArray();

  groundCopy_ = std::make_unique<CSpGround>();
  slideCopy_ = std::make_unique<CSpSlide>();
  blocks_.clear();
  const CDPoly* polygon = ChosenPolygon();
  if (polygon == nullptr) return 0;
  RemoveOuterAdjust(polygon->Left().x, polygon->Right().x);
  SortXArray(!rightUpper_);
  RemoveSameX();
  BuildOutline(*polygon);

  const std::unique_ptr<CSpSlideWork> outline = slideCopy_->CreateDrawObj();
  if (outline->GetSize() < 2) return 0;
  auto work = std::make_unique<CSpSlideWork>();
  work->CopySlideWork(outline.get());
  if (fitToGround) {
    CDPolyArray pieces;
    if (CorrectSlideObj(work.get(), ground, &pieces)) {
      if (const auto* first = dynamic_cast<const CSpSlideWork*>(pieces.GetAt(0))) {
        work->CopySlideWork(first);
      }
    }
  }
  slideWork_ = std::move(work);

  for (std::size_t k = 0; k + 1 < xs_.size(); ++k) {
    blocks_.push_back(
        MakeBlock(std::min(xs_[k], xs_[k + 1]), std::max(xs_[k], xs_[k + 1]), strata, waterLine));
  }
  std::erase_if(blocks_, [](const CBlock& block) { return block.GetDEVYsize() < 2; });
  for (CBlock& block : blocks_) {
    // Linked first, so that the base strength comes from the stratum that holds the base layer.
    block.SetHang(strata);
    if (const CSpStratumBlock* stratum = block.SearchDevyStratum(block.GetDEVYsize() - 2)) {
      const tagSATURATE& soil = *stratum->GetPropStructure();
      block.SetBaseCF(block.GetStrengthType() == kStratumOnlyPhi ? 0 : soil.c, soil.phi);
    }
  }
  return GetBlockSize();
}

void CBlockList::SetBlockMatShape(CDPolyArray* strata, const CSpWater* water) {
  if (section_ == nullptr || GetBlockSize() < 2) return;
  const CSpGround* ground = section_->GetGround();
  if (ground == nullptr || ground->GetSize() < 2) return;
  const CSpWater* waterLine = WaterLine(water, *section_);
  if (strata == nullptr) strata = ground->GetPolyArray();
  const std::unique_ptr<CSpSlideWork> outline = slideCopy_->CreateDrawObj();
  if (outline->GetSize() <= 1) return;
  for (CBlock& block : blocks_) {
    const double left = block.GetLeftX();
    const double right = block.GetRightX();
    const double ym = outline->GetY((left + right) / 2);
    if (strata != nullptr) {
      for (int i = 0; i < strata->GetSize(); ++i) {
        std::vector<tagDEVY> entries;
        strata->GetAt(i)->GetDEVYArrayBlock(entries, left, right, ym);
        block.SetDEVMatShape(entries);
      }
    }
    block.SetDEVMatShape(tagDEVY{outline->GetY(left), outline->GetY(right), slideWork_.get(), 0});
    block.SetWaterMatShape(WaterEntries(waterLine, left, right));
    block.SetDanmenStab(sectionStab_);
  }
}

bool CBlockList::CorrectSlideObj(const CSpSlideWork* work, const CSpGround* ground,
                                 CDPolyArray* out) {
  return work->CorrectSlideObj(ground, out, false) >= 1 && out->GetSize() > 0;
}
