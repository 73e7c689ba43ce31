// CBlock: heights, areas, weights, centroids, angles, the pore-water force and the end face.

#include <algorithm>
#include <cmath>
#include <numbers>

#include "core/base/CoreConfig.h"
#include "core/model/Danmen.h"
#include "core/section/SpStratum.h"
#include "core/stability/Block.h"

namespace {

constexpr int kRoundArea = 111;
constexpr int kRoundWidth = 141;
constexpr int kRoundWaterDepth = 181;
constexpr int kRoundLayerHeight = 184;
constexpr int kRoundLength = 221;
constexpr int kRoundPoreWater = 311;
constexpr int kRoundWeight = 331;
constexpr double kPi = std::numbers::pi;
// An arc end this close in x to the test line stands in for a missing crossing.
constexpr double kArcEndSlack = 1e-4;
// A layer or a triangle thinner than this has no extent.
constexpr double kNoHeight = 1e-8;
// The water may lie this little below the base and still count as reaching it.
constexpr double kWaterSlack = 1e-5;

double Round(double x, int code) { return CCoreConfig::GetRound(x, code); }

double Mean(double a, double b) { return (a + b) / 2; }

// The seismic height factor at height z: 1 below the reference level, rising linearly to 2 at
// the top, over at most 100 below the top.
double HeightFactor(double z, double top, double reference) {
  if (z < reference) return 1;
  const double d = top - z;
  const double h = top - reference;
  if (h < 100) return 2 - d / h;
  return d >= 100 ? 1 : 2 - d * 0.01;
}

// Radius times sweep, both angles taken into [0, 2pi] first; equal angles sweep nothing.
double ArcLength(const CDArc& arc) {
  double sweep = NormalizeAngle(arc.end) - NormalizeAngle(arc.start);
  if (sweep < 0) sweep += 2 * kPi;
  return arc.R * sweep;
}

// The sum of f(i) over the layers 0..n-1.
template <typename F>
double SumOverLayers(int n, F f) {
  double sum = 0;
  for (int i = 0; i < n; ++i) sum += f(i);
  return sum;
}

}  // namespace

// ---- Corners and points ----

double CBlock::GetLeftTopY() const { return devy_.front().leftY; }
double CBlock::GetRightTopY() const { return devy_.front().rightY; }
double CBlock::GetLeftBottomY() const { return devy_.back().leftY; }
double CBlock::GetRightBottomY() const { return devy_.back().rightY; }

double CBlock::GetLeftY(int i) const {
  const tagDEVY* e = GetIndexDEVY(i);
  return e != nullptr ? e->leftY : kNoValue;
}

double CBlock::GetRightY(int i) const {
  const tagDEVY* e = GetIndexDEVY(i);
  return e != nullptr ? e->rightY : kNoValue;
}

double CBlock::GetCenterX() const { return Mean(leftX_, rightX_); }

double CBlock::GetCenterY() const {
  return Mean(Mean(GetLeftTopY(), GetRightTopY()), Mean(GetLeftBottomY(), GetRightBottomY()));
}

double CBlock::GetCenterBottomY() const {
  return arc_ ? arc_->GetMid(0.5).y : Mean(GetLeftBottomY(), GetRightBottomY());
}

double CBlock::GetBottomY(double x) const {
  const double t = (x - leftX_) / (rightX_ - leftX_);
  if (arc_) return arc_->GetMid(t).y;
  return GetLeftBottomY() + (GetRightBottomY() - GetLeftBottomY()) * t;
}

CDPoint CBlock::GetMiddleTop(double dy) const {
  return CDPoint(GetCenterX(), Mean(GetLeftTopY(), GetRightTopY()) + dy);
}

CDPoint CBlock::GetMiddleBottom(double dy) const {
  return CDPoint(GetCenterX(), Mean(GetLeftBottomY(), GetRightBottomY()) + dy);
}

CDPoint CBlock::GetPointLeft(int i) const {
  const tagDEVY* e = GetIndexDEVY(i);
  return e != nullptr ? CDPoint(leftX_, e->leftY) : CDPoint();
}

CDPoint CBlock::GetPointRight(int i) const {
  const tagDEVY* e = GetIndexDEVY(i);
  return e != nullptr ? CDPoint(rightX_, e->rightY) : CDPoint();
}

int CBlock::GetPoint(bool left, const CDPoly* shape, std::vector<CDPoint>& out) const {
  out.clear();
  if (shape == nullptr || devy_.empty()) return 0;
  const double x = left ? leftX_ : rightX_;
  const auto add = [&](const tagDEVY& e) { out.emplace_back(x, left ? e.leftY : e.rightY); };
  switch (shape->WhatKind()) {
    case kKindGround:
      add(devy_.front());
      break;
    case kKindSlide:
    case kKindSlideWork:
      add(devy_.back());
      break;
    case kKindWater:
      add(water_);
      break;
    case kKindStratumBlock:
      for (const tagDEVY& e : devy_) {
        if (e.shape == shape) add(e);
      }
      break;
    default:
      break;
  }
  return static_cast<int>(out.size());
}

int CBlock::GetPointLeft(const CDPoly* shape, std::vector<CDPoint>& out) const {
  return GetPoint(true, shape, out);
}

int CBlock::GetPointRight(const CDPoly* shape, std::vector<CDPoint>& out) const {
  return GetPoint(false, shape, out);
}

// ---- Heights, areas and lengths ----

double CBlock::GetWidth() const { return Round(rightX_ - leftX_, kRoundWidth); }

double CBlock::GetH(bool right) const {
  return right ? GetRightTopY() - GetRightBottomY() : GetLeftTopY() - GetLeftBottomY();
}

double CBlock::GetTisoHtLeft(int i) const {
  if (i < 0 || i + 1 >= GetDEVYsize()) return 0;
  return Round(devy_[i].leftY - devy_[i + 1].leftY, kRoundLayerHeight);
}

double CBlock::GetTisoHtRight(int i) const {
  if (i < 0 || i + 1 >= GetDEVYsize()) return 0;
  return Round(devy_[i].rightY - devy_[i + 1].rightY, kRoundLayerHeight);
}

double CBlock::GetDepthLeft() const {
  return Round(SumOverLayers(GetTisoCount(), [this](int i) { return GetTisoHtLeft(i); }),
               kRoundLayerHeight);
}

double CBlock::GetDepthRight() const {
  return Round(SumOverLayers(GetTisoCount(), [this](int i) { return GetTisoHtRight(i); }),
               kRoundLayerHeight);
}

double CBlock::GetKoArea() const { return arc_ ? Round(arc_->GetKoArea(), kRoundArea) : 0; }

double CBlock::GetArea(int i) const {
  const int n = GetDEVYsize();
  if (i >= n) return 0;
  if (i < 0) return SumOverLayers(n, [this](int k) { return GetArea(k); });
  if (i == n - 1) return GetKoArea();
  return Round((GetTisoHtLeft(i) + GetTisoHtRight(i)) * GetWidth() * 0.5, kRoundArea);
}

double CBlock::GetLength() const {
  const double length =
      arc_ ? ArcLength(*arc_) : std::hypot(GetRightBottomY() - GetLeftBottomY(), rightX_ - leftX_);
  return Round(length, kRoundLength);
}

double CBlock::GetBottomAngle() const {
  if (!arc_) return std::atan2(GetRightBottomY() - GetLeftBottomY(), rightX_ - leftX_);
  // A block of no weight has no centroid: its middle stands in.
  const CDPoint centroid = TotalJuushin(0);
  return GetBottomAngle(centroid.IsValid() ? centroid.x : GetCenterX());
}

double CBlock::GetBottomAngle(double x) const {
  if (!arc_) return std::atan2(GetRightBottomY() - GetLeftBottomY(), rightX_ - leftX_);
  double y = arc_->LowestYAt(x);
  if (y == kNoValue) {
    // A vertical line through an end of the arc may miss it by a rounding error.
    if (std::fabs(arc_->GetEnd().x - x) <= kArcEndSlack) {
      y = arc_->GetEnd().y;
    } else if (std::fabs(arc_->GetStart().x - x) <= kArcEndSlack) {
      y = arc_->GetStart().y;
    }
  }
  return std::atan2(y - arc_->centre.y, x - arc_->centre.x) + kPi / 2;
}

// ---- Unit weights and weights ----

double CBlock::GetGamma(int i, int kind) const {
  const int n = GetDEVYsize();
  if (i == n - 1) i = n - 2;
  const tagDEVY* e = GetIndexDEVY(i);
  if (e == nullptr || e->flag != 0) return 0;
  if (e->shape == nullptr) {
    return HasWaterLevel() && section_ != nullptr ? section_->GetGammaW() : 0;
  }
  const CSpStratumBlock* stratum = SearchDevyStratum(i);
  if (stratum == nullptr) return 0;
  return UnitWeight(*stratum->GetPropStructure(), kind, IsMoist(i));
}

bool CBlock::IsMoist(int i) const {
  const tagDEVY* e = GetIndexDEVY(i);
  if (e == nullptr) return false;
  if (e->shape != nullptr && e->shape->WhatKind() == kKindWater) return false;
  if (!HasWaterLevel()) return true;
  if (e->leftY == water_.leftY && e->rightY == water_.rightY) return false;
  return water_.leftY + water_.rightY < e->leftY + e->rightY;
}

double CBlock::Weight(int i, double area) const {
  if (i == GetDEVYsize() - 1 && !arc_) return 0;
  return Round(GetGamma(i, 0) * area, kRoundWeight);
}

double CBlock::GetWeight(int i) const {
  const int n = GetDEVYsize();
  if (i >= n) return 0;
  if (i < 0) return Round(SumOverLayers(n, [this](int k) { return GetWeight(k); }), kRoundWeight);
  return Weight(i, GetArea(i));
}

// ---- Centroids ----

CDPoint CBlock::DaikeiJuushin(int i) const {
  if (i < 0 || i + 2 > GetDEVYsize()) return CDPoint();
  const tagDEVY& top = devy_[i];
  const tagDEVY& bottom = devy_[i + 1];
  const double hl = top.leftY - bottom.leftY;
  const double hr = top.rightY - bottom.rightY;
  if (hl < kNoHeight && hr < kNoHeight) return CDPoint(GetCenterX(), Mean(top.leftY, top.rightY));
  const double b = rightX_ - leftX_;
  const double x = leftX_ + b * (2 * hr + hl) / (3 * (hr + hl));
  // The centroid of a trapezoid lies on the line through the middles of its parallel sides.
  const double midLeft = Mean(top.leftY, bottom.leftY);
  const double midRight = Mean(top.rightY, bottom.rightY);
  return CDPoint(x, midLeft + (midRight - midLeft) * (x - leftX_) / b);
}

CDPoint CBlock::Juushin(int i) const {
  if (i == GetDEVYsize() - 1) return arc_ ? arc_->GetKoCenterBalance() : CDPoint();
  return DaikeiJuushin(i);
}

double CBlock::ExactWeight(int i) const {
  const int n = GetDEVYsize();
  if (i == n - 1) return arc_ ? GetGamma(i, 0) * arc_->GetKoArea() : 0;
  const double heights =
      (devy_[i].leftY - devy_[i + 1].leftY) + (devy_[i].rightY - devy_[i + 1].rightY);
  return GetGamma(i, 0) * (heights * (rightX_ - leftX_) * 0.5);
}

CDPoint CBlock::TotalJuushin(int i) const {
  // The centroid is a property of the shape: the rounded weights would shift it. The weights are
  // read unrounded here rather than by switching the shared rounding off, which any other thread
  // reading a block at the same time would see.
  const int n = GetDEVYsize();
  double sumW = 0;
  double sumX = 0;
  double sumY = 0;
  for (int k = std::max(i, 0); k < n; ++k) {
    const double w = ExactWeight(k);
    if (w == 0) continue;
    const CDPoint c = k == n - 1 && arc_ ? arc_->GetKoCenterBalance() : DaikeiJuushin(k);
    sumW += w;
    sumX += w * (c.x - leftX_);
    sumY += w * (c.y - GetLeftBottomY());
  }
  if (sumW == 0) return CDPoint();
  return CDPoint(leftX_ + sumX / sumW, GetLeftBottomY() + sumY / sumW);
}

double CBlock::GetCoffkh(double top, double reference) const {
  // Without weight there is no centroid (no value, far below any reference): factor 1.
  return HeightFactor(TotalJuushin(0).y, top, reference);
}

// ---- Pore water ----

double CBlock::GetDepthWtoS() const {
  if (!HasWaterLevel()) return -1;
  if (GetLeftBottomY() - water_.leftY >= kWaterSlack ||
      GetRightBottomY() - water_.rightY >= kWaterSlack) {
    return -1;
  }
  const double a = water_.leftY - GetLeftBottomY();
  const double c = water_.rightY - GetRightBottomY();
  const double width = rightX_ - leftX_;
  double area = Round((a + c) / 2 * width, kRoundArea);
  if (arc_) area += GetKoArea();
  return Round(area / width, kRoundWaterDepth);
}

double CBlock::PoreWaterLoad() const {
  const double b = GetWidth();
  if (b == 0) return 0;
  const double hw = GetDepthWtoS();
  if (hw < 0) return 0;
  if (section_ == nullptr || !section_->IsWater()) return 0;
  return section_->GetGammaW() * hw * b;
}

double CBlock::GetU() const {
  const double load = PoreWaterLoad();
  if (load == 0) return 0;
  return Round(load * std::cos(GetBottomAngle()), kRoundPoreWater);
}

// ---- End face ----

double CBlock::GetEndArea(bool side, int i) const {
  const int n = GetDEVYsize();
  if (i >= n) return 0;
  if (i < 0) return SumOverLayers(n, [this, side](int k) { return GetEndArea(side, k); });
  if (i == n - 1) return GetKoArea();
  const double height = side ? GetTisoHtRight(i) : GetTisoHtLeft(i);
  return Round(height * GetWidth() * 0.5, kRoundArea);
}

double CBlock::GetEndWeight(bool side, int i) const {
  const int n = GetDEVYsize();
  if (i >= n) return 0;
  if (i < 0) {
    return Round(SumOverLayers(n, [this, side](int k) { return GetEndWeight(side, k); }),
                 kRoundWeight);
  }
  return Weight(i, GetEndArea(side, i));
}

double CBlock::GetEndLength(bool side) const {
  if (arc_) return Round(ArcLength(*arc_), kRoundLength);
  const double b = rightX_ - leftX_;
  const double rise = side ? GetRightBottomY() - GetLeftTopY() : GetRightTopY() - GetLeftBottomY();
  return Round(std::hypot(rise, b), kRoundLength);
}

double CBlock::GetEndAngle(bool side) const {
  const double rise = side ? GetRightBottomY() - GetLeftTopY() : GetRightTopY() - GetLeftBottomY();
  return std::atan2(rise, rightX_ - leftX_);
}

double CBlock::GetEndU(bool side) const {
  const double load = PoreWaterLoad();
  if (load == 0) return 0;
  return Round(load * std::cos(GetEndAngle(side)), kRoundPoreWater);
}

double CBlock::GetEndJuushinY(bool side) const {
  const double g = side ? GetH(true) : 0;
  const double f = side ? 0 : GetH(false);
  if ((side ? g : f) < kNoHeight) return kNoValue;
  const double b = rightX_ - leftX_;
  const double x = leftX_ + b * (2 * g + f) / (3 * (g + f));
  const double c = side ? GetLeftTopY() : Mean(GetLeftTopY(), GetLeftBottomY());
  const double d = side ? Mean(GetRightTopY(), GetRightBottomY()) : GetRightTopY();
  return c + (d - c) * (x - leftX_) / b;
}

double CBlock::GetEndCoffkh(bool side, double top, double reference) const {
  return HeightFactor(GetEndJuushinY(side), top, reference);
}
