// The slice record, the boundaries of a slice and its geometry and weights. The water levels, the
// soil and the loads are in SliceWater.cpp.

#include "core/circle/Slice.h"

#include <algorithm>
#include <cstddef>
#include <optional>
#include <utility>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "core/base/Constants.h"
#include "core/base/CoreConfig.h"
#include "core/circle/SliceMeasures.h"
#include "core/circle/SliceSoil.h"
#include "platform/Archive.h"

namespace {

// Circle-search record versions up to this one lack values 17 and 22 of the slice record.
constexpr int kLastVersionWithout17And22 = 20;
constexpr int kCopied17 = 17;
constexpr int kCopied22 = 22;

double Round(double x, int code) { return CCoreConfig::GetRound(x, code); }

// The trapezoid's area from its rounded heights at the sides, before and after its rounding
// (code 111).
double TrapezoidAreaOf(double heightL, double heightR, double width) {
  return (heightL + heightR) * width * 0.5;
}
double TrapezoidArea(double heightL, double heightR, double width, const CalcRounding& rounding) {
  return rounding.Round(TrapezoidAreaOf(heightL, heightR, width), kRoundCodeArea);
}

// CDPoint::IsValid by one comparison of both coordinates with the marker: the moments ask it of
// every layer's centroid.
bool HoldsValues(const CDPoint& p) {
#if defined(__SSE2__)
  const __m128d unequal = _mm_cmpneq_pd(_mm_set_pd(p.y, p.x), _mm_set1_pd(kNoValue));
  return _mm_movemask_pd(unequal) == 0x3;
#else
  return p.IsValid();
#endif
}

}  // namespace

// ---- tagRESULTSLICE ----

void tagRESULTSLICE::Init() { values.fill(kNoValue); }

void tagRESULTSLICE::Store(Archive& ar, int /*version*/) const {
  for (const double v : values) ar << v;
}

void tagRESULTSLICE::Load(Archive& ar, int version) {
  const bool short_record = version <= kLastVersionWithout17And22;
  std::array<double, kCount> read{};
  for (int i = 0; i < kCount; ++i) {
    if (short_record && (i == kCopied17 || i == kCopied22)) {
      read[static_cast<std::size_t>(i)] = read[static_cast<std::size_t>(i - 1)];
    } else {
      ar >> read[static_cast<std::size_t>(i)];
    }
  }
  values = read;
}

void tagRESULTSLICE::PlusData(const tagRESULTSLICE& other) {
  for (int i = kLength; i <= kSe; ++i) (*this)[i] += other[i];
}

double tagRESULTSLICE::GetSimpleT(int k) const { return k == 1 ? (*this)[kTs] : (*this)[kT]; }

double tagRESULTSLICE::GetT(int k) const {
  if (k != 1) return (*this)[kT];
  const double ts = (*this)[kTs];
  const double te = (*this)[kTe];
  return ts != kNoValue && te != kNoValue ? ts + te : kNoValue;
}

double tagRESULTSLICE::GetSimpleN(int k) const { return k == 1 ? (*this)[kNs] : (*this)[kN]; }

double tagRESULTSLICE::GetN(int k) const {
  if (k != 1) return (*this)[kN];
  const double ns = (*this)[kNs];
  const double ne = (*this)[kNe];
  return ns != kNoValue && ne != kNoValue ? ns - ne : kNoValue;
}

double tagRESULTSLICE::GetS(int k) const { return k == 1 ? (*this)[kSe] : (*this)[kS]; }

// ---- CSlice: set-up and boundaries ----

void CSlice::Init() {
  xLeft_ = xRight_ = kNoValue;
  // Each level from a fresh value: a chained assignment copies one level into the next and reads
  // back stores that have not landed yet.
  water_ = tagDEVY{};
  upper_ = tagDEVY{};
  imper_ = tagDEVY{};
  remainArea_ = kNoValue;
  section_ = nullptr;
  arc_ = nullptr;
  segmentArea_ = 0;
  segmentCentroid_ = CDPoint();
  strengthType_ = kStrengthUnknown;
  c_ = phi_ = kNoValue;
}

void CSlice::Clear() {
  Init();
  boundaries_.clear();
  result_.Init();
}

void CSlice::SetBottomArc(const CDArc& arc) {
  bottomArc_ = arc;
  arc_ = &bottomArc_;
  TakeSegment(bottomArc_.GetKoSegment(bottomArc_.GetStart(), bottomArc_.GetEnd()),
              bottomArc_.GetVerticalTerms());
}

void CSlice::SetCF(double c, double phi) {
  c_ = c;
  phi_ = phi;
}

void CSlice::AppendDEVYArray(const std::vector<tagDEVY>& boundaries) {
  boundaries_.insert(boundaries_.end(), boundaries.begin(), boundaries.end());
}

// ---- CSlice: geometry ----

double CSlice::GetLeftTopY() const { return GetLeftY(0); }
double CSlice::GetRightTopY() const { return GetRightY(0); }
double CSlice::GetLeftBottomY() const { return GetLeftY(GetDEVYCount() - 1); }
double CSlice::GetRightBottomY() const { return GetRightY(GetDEVYCount() - 1); }

CDPoint CSlice::GetPointLeft(int i) const {
  const tagDEVY* d = GetIndexDEVY(i);
  return d == nullptr ? CDPoint() : CDPoint(xLeft_, d->leftY);
}

CDPoint CSlice::GetPointRight(int i) const {
  const tagDEVY* d = GetIndexDEVY(i);
  return d == nullptr ? CDPoint() : CDPoint(xRight_, d->rightY);
}

std::vector<CDPoint> CSlice::GetPointLeft(const CDPoly& shape) const {
  return PointsOn(shape, true);
}

std::vector<CDPoint> CSlice::GetPointRight(const CDPoly& shape) const {
  return PointsOn(shape, false);
}

std::vector<CDPoint> CSlice::PointsOn(const CDPoly& shape, bool left) const {
  const double x = left ? xLeft_ : xRight_;
  const auto at = [&](const tagDEVY& d) { return CDPoint(x, left ? d.leftY : d.rightY); };
  std::vector<CDPoint> points;
  if (boundaries_.empty()) return points;
  switch (shape.WhatKind()) {
    case kKindGround:
      points.push_back(at(boundaries_.front()));
      break;
    case kKindSlide:
    case kKindSlideWork:
      points.push_back(at(boundaries_.back()));
      break;
    case kKindWater:
      if (water_.leftY != kNoValue) points.push_back(at(water_));
      break;
    case kKindStratumBlock:
      for (const tagDEVY& d : boundaries_) {
        if (d.shape == &shape) points.push_back(at(d));
      }
      break;
    default:
      break;
  }
  return points;
}

double CSlice::GetWidth() const { return Width(CCoreConfig::GetCalcRounding()); }

int CSlice::GetTisoCount() const { return GetDEVYCount() - 1; }

double CSlice::GetTisoHtLeft(int i) const { return LayerHeight(i, true); }

double CSlice::GetTisoHtRight(int i) const { return LayerHeight(i, false); }

double CSlice::LayerHeight(int i, bool left) const {
  if (i < 0 || i + 1 >= GetDEVYCount()) return 0;
  return Round(UnroundedHeight(i, left), kRoundCodeHeight);
}

double CSlice::GetArea(int i) const {
  const double width = GetWidth();
  const double segmentArea = GetKoArea();
  if (i >= 0) return LayerArea(i, width, segmentArea);
  double sum = 0;
  for (int k = 0; k < GetDEVYCount(); ++k) sum += LayerArea(k, width, segmentArea);
  return sum;
}

double CSlice::LayerArea(int i, double width, double segmentArea) const {
  if (i == GetDEVYCount() - 1) return segmentArea;
  return TrapezoidArea(LayerHeight(i, true), LayerHeight(i, false), width,
                       CCoreConfig::GetCalcRounding());
}

double CSlice::GetKoArea() const { return KoArea(CCoreConfig::GetCalcRounding()); }

double CSlice::KoArea(const CalcRounding& rounding) const {
  return arc_ == nullptr ? 0.0 : rounding.Round(segmentArea_, kRoundCodeArea);
}

double CSlice::GetWeight(int i) const {
  const int n = GetDEVYCount();
  if (i < 0) return GetAreaAndWeight().weight;
  if (i > n - 1 || (i == n - 1 && arc_ == nullptr)) return 0;
  const double gamma = GetGamma(i, 0);
  if (gamma == kNoValue) return kNoValue;
  return Round(GetArea(i) * gamma, kRoundCodeWeight);
}

CSlice::AreaWeight CSlice::GetAreaAndWeight(bool withCentroid) const {
  return GetAreaAndWeight(GetMeasures(), withCentroid);
}

CSlice::Measures CSlice::GetMeasures() const { return GetMeasures(CCoreConfig::GetCalcRounding()); }

CSlice::AreaWeight CSlice::GetAreaAndWeight(const Measures& measures, bool withCentroid) const {
  const int n = GetDEVYCount();
  const double rawWidth = xRight_ - xLeft_;
  const CalcRounding& rounding = measures.rounding;
  double area = 0;
  double weight = 0;
  // The segment layer takes the unit weight of the layer above it (GetGamma), found just before;
  // a lone boundary has no layer above, and its segment weighs nothing.
  double gamma = 0;
  Moments moments;
  const CSpStratumBlock* block = nullptr;
  // Trapezoid layer k's area before its rounding, from its rounded heights, and its unit weight,
  // kNoValue where unset; its moment is added where the centroid is asked. The unit weight and
  // the unrounded moment come first: they do not wait for the roundings, whose chain (heights,
  // area, weight) they then overlap. Inline at both uses, the loop's and the last layer's.
  struct Layer {
    double area;
    double gamma;
  };
  const auto takeLayer = [&](int k) __attribute__((always_inline)) {
    const tagDEVY& top = boundaries_[static_cast<std::size_t>(k)];
    const tagDEVY& bottom = boundaries_[static_cast<std::size_t>(k) + 1];
    const double hL = top.leftY - bottom.leftY;
    const double hR = top.rightY - bottom.rightY;
    const double layerGamma = LayerGamma(k, block, 0);
    if (layerGamma == kNoValue) return Layer{0, kNoValue};
    if (withCentroid) AddTrapezoidMoment(k, hL, hR, layerGamma, rawWidth, moments);
    const CalcRounding::Pair heights = rounding.RoundPair(hL, hR, kRoundCodeHeight);
    return Layer{TrapezoidAreaOf(heights.a, heights.b, measures.width), layerGamma};
  };
  // Two layers' areas, and then their weights, are rounded side by side.
  int k = 0;
  for (; k + 2 < n; k += 2) {
    const Layer upper = takeLayer(k);
    if (upper.gamma == kNoValue) return AreaWeight{};
    const Layer lower = takeLayer(k + 1);
    if (lower.gamma == kNoValue) return AreaWeight{};
    gamma = lower.gamma;
    const CalcRounding::Pair areas = rounding.RoundPair(upper.area, lower.area, kRoundCodeArea);
    const CalcRounding::Pair weights =
        rounding.RoundPair(areas.a * upper.gamma, areas.b * lower.gamma, kRoundCodeWeight);
    area += areas.a;
    area += areas.b;
    weight += weights.a;
    weight += weights.b;
  }
  // A layer left over, the last, rounds its weight beside the segment's.
  std::optional<Layer> leftOver;
  if (k + 1 < n) {
    leftOver = takeLayer(k);
    if (leftOver->gamma == kNoValue) return AreaWeight{};
    gamma = leftOver->gamma;
  }
  const bool segmentWeighs = n > 0 && arc_ != nullptr;
  if (withCentroid && segmentWeighs) AddSegmentMoment(gamma, moments);
  const double segmentWeight = measures.segmentArea * gamma;
  if (leftOver) {
    const double a = rounding.Round(leftOver->area, kRoundCodeArea);
    area += a;
    const CalcRounding::Pair weights =
        rounding.RoundPair(a * leftOver->gamma, segmentWeight, kRoundCodeWeight);
    weight += weights.a;
    if (segmentWeighs) weight += weights.b;
  } else if (segmentWeighs) {
    weight += rounding.Round(segmentWeight, kRoundCodeWeight);
  }
  if (n > 0) area += measures.segmentArea;
  return AreaWeight{area, weight, withCentroid ? moments.Centroid() : CDPoint(), block};
}

double CSlice::GetLength() const { return Length(CCoreConfig::GetCalcRounding()); }

double CSlice::GetBottomAngle(double x) const { return GetBottomDirection(x).angle; }

double CSlice::GetBottomAngle() const {
  if (arc_ == nullptr) return GetBottomAngle(GetMidX());
  const CDPoint centroid = TotalJuushin(0);
  return GetBottomAngle(centroid.IsValid() ? centroid.x : GetMidX());
}

double CSlice::GetCenterBottomY() const {
  if (arc_ != nullptr) return arc_->GetMid(0.5).y;
  const tagDEVY* base = GetLastDEVY();
  return base == nullptr ? kNoValue : MeanY(*base);
}

double CSlice::GetBottomY(double x) const {
  const double t = (x - xLeft_) / (xRight_ - xLeft_);
  if (arc_ != nullptr) return arc_->GetMid(t).y;
  const tagDEVY* base = GetLastDEVY();
  return base == nullptr ? kNoValue : base->leftY + (base->rightY - base->leftY) * t;
}

CDPoint CSlice::DaikeiJuushin(int i) const {
  if (i < 0 || i > GetDEVYCount() - 2) return CDPoint();
  return GetTrapezoidLayer(i, CCoreConfig::GetCalcRounding()).centroid;
}

CSlice::TrapezoidLayer CSlice::GetTrapezoidLayer(int i, const CalcRounding& rounding) const {
  const CalcRounding::Pair heights =
      rounding.RoundPair(UnroundedHeight(i, true), UnroundedHeight(i, false), kRoundCodeHeight);
  return TrapezoidLayer{heights.a, heights.b, TrapezoidCentroid(i, heights.a, heights.b)};
}

CDPoint CSlice::TrapezoidCentroid(int i, double hL, double hR) const {
  const tagDEVY& top = boundaries_[static_cast<std::size_t>(i)];
  const tagDEVY& bottom = boundaries_[static_cast<std::size_t>(i) + 1];
  if (hL < kFlatLayer && hR < kFlatLayer) return CDPoint(GetMidX(), MeanY(top));
  const double width = xRight_ - xLeft_;
  const double x = xLeft_ + (2 * hR + hL) / (3 * (hR + hL)) * width;
  const double leftMid = (top.leftY + bottom.leftY) / 2;
  const double rightMid = (top.rightY + bottom.rightY) / 2;
  return CDPoint(x, leftMid + (rightMid - leftMid) * (x - xLeft_) / width);
}

CDPoint CSlice::Juushin(int i) const {
  if (i == GetDEVYCount() - 1) return segmentCentroid_;
  return DaikeiJuushin(i);
}

CDPoint CSlice::TotalJuushin(int i) const {
  const int n = GetDEVYCount();
  const double width = xRight_ - xLeft_;
  Moments moments;
  for (int k = std::max(i, 0); k < n; ++k) {
    // The segment layer of a straight base weighs nothing.
    if (k == n - 1 && arc_ == nullptr) continue;
    const double gamma = GetGamma(k, 0);
    if (gamma == kNoValue) continue;
    if (k == n - 1) {
      AddSegmentMoment(gamma, moments);
    } else {
      AddTrapezoidMoment(k, UnroundedHeight(k, true), UnroundedHeight(k, false), gamma, width,
                         moments);
    }
  }
  return moments.Centroid();
}

CDPoint CSlice::Moments::Centroid() const {
  if (weight == 0) return CDPoint();
  return CDPoint(sumX / weight, sumY / weight);
}

bool CSlice::Weighs(double w) { return !(w == 0 || slice_soil::IsUnset(w)); }

void CSlice::Moments::Add(double w, const CDPoint& c) {
  if (!HoldsValues(c)) return;
  weight += w;
  sumX += w * c.x;
  sumY += w * c.y;
}

void CSlice::AddTrapezoidMoment(int i, double hL, double hR, double gamma, double width,
                                Moments& moments) const {
  const double w = (hL + hR) * width * 0.5 * gamma;
  if (Weighs(w)) moments.Add(w, TrapezoidCentroid(i, hL, hR));
}

void CSlice::AddSegmentMoment(double gamma, Moments& moments) const {
  const double w = segmentArea_ * gamma;
  if (Weighs(w)) moments.Add(w, segmentCentroid_);
}

double CSlice::GetDepthLeft() const {
  double sum = 0;
  for (int i = 0; i + 1 < GetDEVYCount(); ++i) sum += GetTisoHtLeft(i);
  return Round(sum, kRoundCodeHeight);
}

double CSlice::GetDepthRight() const {
  double sum = 0;
  for (int i = 0; i + 1 < GetDEVYCount(); ++i) sum += GetTisoHtRight(i);
  return Round(sum, kRoundCodeHeight);
}
