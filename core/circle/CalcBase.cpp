#include "core/circle/CalcBase.h"

#include <array>
#include <bit>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <tuple>
#include <utility>

#include "core/base/Constants.h"
#include "core/base/CoreConfig.h"
#include "core/circle/SliceList.h"
#include "core/circle/SliceMeasures.h"
#include "core/circle/SliceSoil.h"
#include "core/geometry/DPoint.h"
#include "core/model/Danmen.h"
#include "core/section/SpStratum.h"

namespace {

using R = tagRESULTSLICE;

// Inlined at every call, so that each constant quantity code folds its decimals and direction.
[[gnu::always_inline]] inline double Round(double x, int code) {
  return CCoreConfig::GetRound(x, code);
}

// By the marker's bits (slice_soil::IsUnset): the tests of two values in a row compile to integer
// compares and branches.
bool IsSetValue(double v) { return !slice_soil::IsUnset(v); }

bool IsArcBase(const CSlice& slice) { return slice.GetBottomArc() != nullptr; }

// CDPoint::IsValid by IsSetValue.
bool IsSetPoint(const CDPoint& p) { return IsSetValue(p.x) && IsSetValue(p.y); }

// The vertical component of the loads of the case (normal: first, seismic: kLoadQuake) that
// counts with N (offset 1) or with T (offset 2).
constexpr int kVerticalWithN = 1;
constexpr int kVerticalWithT = 2;
constexpr int kNormalPart = 3;
constexpr int kTangentialPart = 4;

// Adds the values kFirst to kLast of a slice's record to the totals. All are read before any
// total changes, so that adjacent values are added two at a time.
template <std::size_t kFirst, std::size_t kLast>
void AddValues(tagRESULTSLICE& total, const tagRESULTSLICE& r) {
  constexpr std::size_t kCount = kLast - kFirst + 1;
  std::array<double, kCount> values;
  for (std::size_t k = 0; k < kCount; ++k) values[k] = r.values[kFirst + k];
  for (std::size_t k = 0; k < kCount; ++k) total.values[kFirst + k] += values[k];
}

// (arc centre y - centroid y) / R: the lever of the horizontal seismic force of a slice on the
// arc; kNoValue for a radius of 0. A slice without weight has no centroid (null) and no lever.
double ArcLever(const CDArc& arc, const CDPoint* centroid) {
  if (arc.R == 0) return kNoValue;
  if (centroid == nullptr) return 0;
  return (arc.centre.y - centroid->y) / arc.R;
}

}  // namespace

bool CCalcBase::CheckCaseParams() const {
  return !(section_ != nullptr && section_->IsQuake() && section_->GetKh() == kNoValue);
}

bool CCalcBase::IsClip() const { return section_ != nullptr && section_->IsNU0(); }

void CCalcBase::TakeKh() { kh_ = section_ == nullptr ? kNoValue : section_->GetKh(); }

int CCalcBase::GetMaxSliceIdx(const CSliceList& list) {
  direction_ = list.IsRightUpper();
  return list.GetSize() - 1;
}

void CCalcBase::ClearSliceParam(tagRESULTSLICE& result) {
  for (int i = 0; i <= R::kBackS; ++i) result[i] = 0;
}

bool CCalcBase::InitCalc(CSliceList& list, int /*seismic*/) {
  ClearSliceParam(list.GetTotal());
  backNU_ = backLength_ = 0;
  everyBaseStratum_ = true;
  return true;
}

bool CCalcBase::SetSliceParam(CSlice& slice) {
  return SetSliceForces(slice, false, CCoreConfig::GetCalcRounding());
}

// Inline in both callers, as SetResisting is in the slice loop: the loop runs them for every slice,
// and inlined they take its rounding and switches as it holds them, without a call.
[[gnu::always_inline]] inline bool CCalcBase::SetSliceForces(CSlice& slice, bool seismic,
                                                             const CalcRounding& rounding) {
  tagRESULTSLICE& r = slice.GetResult();
  // The centroid is the costliest value of a slice; it comes from the pass that sums the
  // weights, and the seismic terms read it again.
  const CSlice::Measures measures = slice.GetMeasures(rounding);
  const CSlice::AreaWeight areaWeight = slice.GetAreaAndWeight(measures, IsArcBase(slice));
  const double weight = areaWeight.weight;
  // An arc-based slice that weighs something has its centroid, where its base direction is
  // taken and the seismic force acts.
  const CDPoint* centroid =
      IsArcBase(slice) && IsSetPoint(areaWeight.centroid) ? &areaWeight.centroid : nullptr;
  baseStratum_ = areaWeight.baseStratum;
  everyBaseStratum_ = everyBaseStratum_ && baseStratum_ != nullptr;
  // The water's head does not depend on the base angle: found first, it fills the wait for the
  // angle, which waits for the centroid.
  const double poreHead = slice.PoreHead(measures);
  const CSlice::BottomDirection base =
      slice.GetBottomDirection(centroid != nullptr ? centroid->x : slice.GetMidX());
  const double bottom = base.angle;
  if (!IsSetValue(weight) || !IsSetValue(bottom)) return false;
  r[R::kArea] = areaWeight.area;
  r[R::kWeight] = weight;
  // Most slices lie above the water, with no head and no pore-water force: their call is spared.
  r[R::kU] = poreHead < 0 ? 0.0 : slice.PoreForce(poreHead, bottom, measures) * poreFactor_;
  r[R::kPhi] = slice.GetPhi();
  r[R::kC] = slice.GetC();
  const double alpha = direction_ ? bottom : -bottom;
  r[R::kAlpha] = alpha;
  slice.CalcKajuSeibun(direction_);
  r[R::kLength] = measures.length;
  const double sinAlpha = direction_ ? base.sin : -base.sin;
  const double cosAlpha = base.cos;
  const double sinPart = weight * sinAlpha;
  const double cosPart = weight * cosAlpha;
  // The seismic terms before their rounding: the horizontal seismic force's part normal to the
  // base, and its driving moment over R about the arc's centre (for a straight base its part
  // along the base), which an arc of radius 0 lacks.
  double seismicNormal = 0;
  double seismicDriving = 0;
  bool seismicDrivingKnown = true;
  if (seismic) {
    seismicNormal = sinAlpha * (weight + r[R::kLoadQuake + kVerticalWithN]) * kh_;
    const double withT = (weight + r[R::kLoadQuake + kVerticalWithT]) * kh_;
    if (!IsArcBase(slice)) {
      seismicDriving = withT * cosAlpha;
    } else if (const double lever = ArcLever(*slice.GetBottomArc(), centroid); IsSetValue(lever)) {
      seismicDriving = withT * lever;
    } else {
      seismicDrivingKnown = false;
    }
  }
  // The seismic case's forces are the normal case's where both cases carry the same loads; the
  // seismic term of a force's code is rounded beside the normal case's force.
  const auto caseForces = [&r, &rounding](double part, int loadPart, double seismicTerm, int code) {
    const double normalLoad = r[R::kLoadNormal + loadPart];
    const double quakeLoad = r[R::kLoadQuake + loadPart];
    const CalcRounding::Pair normal = rounding.RoundPair(part + normalLoad, seismicTerm, code);
    const bool sameLoad =
        std::bit_cast<std::uint64_t>(normalLoad) == std::bit_cast<std::uint64_t>(quakeLoad);
    return std::tuple{normal.a, sameLoad ? normal.a : rounding.Round(part + quakeLoad, code),
                      normal.b};
  };
  double driving = 0;
  double normal = 0;
  std::tie(r[R::kT], r[R::kTs], driving) =
      caseForces(sinPart, kTangentialPart, seismicDriving, kRoundCodeDriving);
  std::tie(r[R::kN], r[R::kNs], normal) =
      caseForces(cosPart, kNormalPart, seismicNormal, kRoundCodeNormalForce);
  r[R::kTe] = seismic && seismicDrivingKnown ? driving : 0;
  r[R::kNe] = seismic ? normal : 0;
  r[R::kS] = r[R::kSe] = 0;
  return seismicDrivingKnown;
}

bool CCalcBase::CalcCore(CSliceList& /*list*/, int /*seismic*/, const double* /*targetFs*/) {
  return false;
}

double CCalcBase::CalcNU(tagRESULTSLICE& r, int seismic) const {
  const bool quake = seismic == 1;
  const double n = quake ? r[R::kNs] : r[R::kN];
  const double ne = quake ? r[R::kNe] : 0.0;
  if (!IsSetValue(n) || !IsSetValue(ne) || !IsSetValue(r[R::kU])) return kNoValue;
  if (IsClip() && r[R::kU] > n) {
    r[R::kU] = n;
    return -ne;
  }
  return n - ne - r[R::kU];
}

void CCalcBase::FindStrength(const CSpStratumBlock* baseStratum, int strengthType, double& c,
                             double& phi) {
  if (baseStratum == nullptr) {
    c = phi = kNoValue;
    return;
  }
  const tagSATURATE& soil = *baseStratum->GetPropStructure();
  switch (strengthType) {
    case kStrengthStratum:
      c = soil.c;
      phi = soil.phi;
      break;
    case kStrengthStratumPhi:
      c = 0;
      phi = soil.phi;
      break;
    default:
      break;
  }
}

bool CCalcBase::StrengthApplies(const CSlice& slice, double c, double phi) {
  const int type = slice.GetStrengthType();
  return IsSetValue(c) && IsSetValue(phi) && type != kStrengthUnknown &&
         type != kStrengthUnknownNoLength;
}

bool CCalcBase::GetCFai(const CSliceList& list, int i, const CSlice& slice, double& c,
                        double& phi) {
  list.GetCF(i, c, phi);
  if (!IsSetValue(c) || !IsSetValue(phi)) return false;
  phi = DegToRad(phi);
  const int type = slice.GetStrengthType();
  return type != kStrengthUnknown && type != kStrengthUnknownNoLength;
}

void CCalcBase::AddBackSums(double nu, double length) {
  backNU_ += nu;
  backLength_ += length;
}

double CCalcBase::TanPhi(double phi) {
  // The same bits give the same tangent (0.0 and -0.0 differ in theirs).
  const auto holds = [phi](const AngleTangent& entry) {
    return std::bit_cast<std::uint64_t>(entry.phi) == std::bit_cast<std::uint64_t>(phi);
  };
  if (!holds(tangents_[0])) {
    if (!holds(tangents_[1])) tangents_[1] = AngleTangent{phi, std::tan(DegToRad(phi))};
    std::swap(tangents_[0], tangents_[1]);
  }
  return tangents_[0].tan;
}

[[gnu::always_inline]] inline void CCalcBase::SetResisting(tagRESULTSLICE& r, double c, double phi,
                                                           bool seismic, bool clip,
                                                           const CalcRounding& rounding) {
  const double tanPhi = TanPhi(phi);
  const double length = r[R::kLength];
  double nu = r[R::kN] - r[R::kU];
  if (clip && r[R::kN] < r[R::kU]) {
    r[R::kU] = r[R::kN];
    nu = 0;
  }
  const double resisting = length * c + nu * tanPhi;
  if (!seismic) {
    r[R::kS] = rounding.Round(resisting, kRoundCodeResisting);
    return;
  }
  double nuSeis = r[R::kNs] - r[R::kNe] - r[R::kU];
  if (clip && r[R::kNs] < r[R::kU]) {
    r[R::kU] = r[R::kNs];
    nuSeis = -r[R::kNe];
  }
  // The two cases' forces are rounded side by side.
  const CalcRounding::Pair rounded =
      rounding.RoundPair(resisting, length * c + nuSeis * tanPhi, kRoundCodeResisting);
  r[R::kS] = rounded.a;
  r[R::kSe] = rounded.b;
}

bool CCalcFellenius::CalcCore(CSliceList& list, int seismic, const double* /*targetFs*/) {
  InitCalc(list, seismic);
  TakeKh();
  const bool quake = seismic != 0 && Kh() != kNoValue;
  tagRESULTSLICE& total = list.GetTotal();
  const CalcRounding rounding = CCoreConfig::GetCalcRounding();
  const bool clip = IsClip();
  double c = kNoValue;
  double phi = kNoValue;
  for (int i = firstIdx_; i <= lastIdx_; ++i) {
    CSlice* slice = list.GetSlicePtr(i);
    if (slice == nullptr || !SetSliceForces(*slice, quake, rounding)) return false;
    tagRESULTSLICE& r = slice->GetResult();
    FindStrength(BaseStratum(), slice->GetStrengthType(), c, phi);
    const bool applies = StrengthApplies(*slice, c, phi);
    if (applies) {
      SetResisting(r, c, phi, quake, clip, rounding);
      // SetSliceForces leaves Se (as Te) 0 in the normal case: the totals take them in either.
      AddValues<R::kS, R::kSe>(total, r);
    } else if (IsReverse()) {
      const double nu = CalcNU(r, seismic);
      if (IsSetValue(nu)) {
        AddBackSums(nu, slice->GetStrengthType() == kStrengthUnknownNoLength ? 0.0 : r[R::kLength]);
      }
    }
    // U as SetResisting may have clipped it.
    AddValues<R::kLength, R::kU>(total, r);
    total[R::kArea] += r[R::kArea];
  }
  return true;
}

bool CCalcBase::StrengthsKnown(const CSliceList& list) const {
  const CSlice* first = list.GetSlicePtr(0);
  if (first == nullptr) return true;
  const int type = first->GetStrengthType();
  return everyBaseStratum_ && (type == kStrengthStratum || type == kStrengthStratumPhi);
}

tagFSRESULT CCalcBase::KeisanFs(CSliceList& list, double x) {
  reverse_ = false;
  TakeKh();
  firstIdx_ = 0;
  lastIdx_ = GetMaxSliceIdx(list);
  tagFSRESULT out;
  if (section_ != nullptr && section_->CanInputResult()) return out;
  if (!CalcCore(list, 1, nullptr) || !StrengthsKnown(list)) return out;
  const double extra = IsSetValue(x) ? x : 0.0;
  const tagRESULTSLICE& total = list.GetTotal();
  if (total[R::kT] != 0) {
    out.fs = Round(total[R::kS] / total[R::kT], kRoundCodeFs);
    out.fs2 = Round((total[R::kS] + extra) / total[R::kT], kRoundCodeFs);
  }
  // Without kh there is no seismic calculation, so no seismic safety factor either.
  const double driving = total[R::kTe] + total[R::kTs];
  if (Kh() != kNoValue && driving != 0) {
    out.fsSeis = Round(total[R::kSe] / driving, kRoundCodeFs);
    out.fsSeis2 = Round((total[R::kSe] + extra) / driving, kRoundCodeFs);
  }
  return out;
}

tagFSRESULT CCalcBase::KeisanFsPr(double fsp, double fsps, CSliceList& list, double x) {
  tagFSRESULT out = KeisanFs(list, x);
  if (section_ == nullptr || !section_->IsQuake()) out.fsSeis = kNoValue;
  const tagRESULTSLICE& total = list.GetTotal();
  if (IsSetValue(out.fs) && fsp > 0) {
    out.pr = Round(total[R::kT] * fsp - total[R::kS], kRoundCodeRestraint);
  }
  if (IsSetValue(out.fsSeis) && fsps > 0) {
    out.prSeis = Round((total[R::kTe] + total[R::kTs]) * fsps - total[R::kSe], kRoundCodeRestraint);
  }
  return out;
}

tagFSRESULT CCalcBase::KeisanPr(double fsp, double fsps, CSliceList& list) {
  const tagFSRESULT all = KeisanFsPr(fsp, fsps, list, 0);
  tagFSRESULT out;
  out.pr = all.pr;
  out.prSeis = all.prSeis;
  return out;
}

bool CCalcBase::BackAnalysisSums(CSliceList& list, double fs, int seismic) {
  reverse_ = true;
  firstIdx_ = 0;
  lastIdx_ = GetMaxSliceIdx(list);
  if (!CalcCore(list, seismic, &fs)) return false;
  tagRESULTSLICE& total = list.GetTotal();
  double c = kNoValue;
  double phi = kNoValue;
  for (int i = firstIdx_; i <= lastIdx_; ++i) {
    CSlice& slice = *list.GetSlicePtr(i);
    tagRESULTSLICE& r = slice.GetResult();
    FindStrength(slice.SearchDevyStratum(slice.GetDEVYCount() - 2), slice.GetStrengthType(), c,
                 phi);
    const double a = CalcNU(r, seismic);
    if (!IsSetValue(a)) return false;
    if (slice.IsGyaku()) {
      total[R::kBackNU] += a;
      if (slice.GetStrengthType() != kStrengthUnknownNoLength) {
        total[R::kBackLength] += r[R::kLength];
      }
    } else {
      // A slice outside the back analysis must have a known strength.
      if (!IsSetValue(c) || !IsSetValue(phi)) return false;
      total[R::kBackS] += Round(TanPhi(phi) * a + r[R::kLength] * c, kRoundCodeResisting);
    }
  }
  if (IsClip() && total[R::kBackNU] < 0) total[R::kBackNU] = 0;
  return true;
}

double CCalcBase::KeisanRevTanFai(CSliceList& list, double cGiven, double fs, bool round,
                                  int seismic) {
  if (!BackAnalysisSums(list, fs, seismic)) return kNoValue;
  const tagRESULTSLICE& t = list.GetTotal();
  if (t[R::kBackNU] == 0) return kNoValue;
  const double driving = seismic == 1 ? t[R::kTe] + t[R::kTs] : t[R::kT];
  const double tanPhi = (driving * fs - t[R::kBackS] - t[R::kBackLength] * cGiven) / t[R::kBackNU];
  return round ? Round(tanPhi, kRoundCodeTanPhi) : tanPhi;
}

double CCalcBase::KeisanRevC(CSliceList& list, double tanPhiGiven, double fs, bool round,
                             int seismic) {
  if (!BackAnalysisSums(list, fs, seismic)) return kNoValue;
  const tagRESULTSLICE& t = list.GetTotal();
  if (t[R::kBackNU] == 0 || t[R::kBackLength] == 0) return kNoValue;
  const double driving = seismic == 1 ? t[R::kTe] + t[R::kTs] : t[R::kT];
  const double c = (driving * fs - t[R::kBackS] - t[R::kBackNU] * tanPhiGiven) / t[R::kBackLength];
  return round ? Round(c, kRoundCodeCohesion) : c;
}

bool CCalcBase::KeisanReverse(CSliceList& list, double& c, double& tanPhi, double fs, int seismic) {
  c = KeisanRevC(list, 0, fs, false, seismic);
  tanPhi = KeisanRevTanFai(list, 0, fs, false, seismic);
  return IsSetValue(c) && IsSetValue(tanPhi);
}

double CCalcBase::KeisanKhReverse(CSliceList& list, double fs, bool residual, double x) {
  if (section_ != nullptr && section_->IsRepeatCalc()) {
    return KeisanKhReverseEnko(list, fs, residual, x);
  }
  return KeisanKhReverseSitei(list, fs, residual, x);
}

double CCalcBase::KeisanKhReverseEnko(CSliceList& list, double fs, bool residual, double x) {
  return KhReverse(list, fs, residual, x, true);
}

double CCalcBase::KeisanKhReverseSitei(CSliceList& list, double fs, bool residual, double x) {
  return KhReverse(list, fs, residual, x, false);
}

double CCalcBase::KhReverse(CSliceList& list, double fs, bool residual, double x, bool arcOnly) {
  reverse_ = false;
  firstIdx_ = 0;
  lastIdx_ = GetMaxSliceIdx(list);
  if (!CalcCore(list, 0, &fs)) return kNoValue;
  double numerator = 0;
  double denominator = 0;
  double c = 0;
  double phi = 0;
  for (int i = firstIdx_; i <= lastIdx_; ++i) {
    const CSlice& slice = *list.GetSlicePtr(i);
    const tagRESULTSLICE& r = slice.GetResult();
    if (residual) {
      slice.GetCF_res(c, phi);
    } else {
      c = r[R::kC];
      phi = r[R::kPhi];
    }
    if (!IsSetValue(c) || !IsSetValue(phi)) return kNoValue;
    const double tanPhi = TanPhi(phi);
    const double withN = r[R::kWeight] + r[R::kLoadNormal + kVerticalWithN];
    const double withT = r[R::kWeight] + r[R::kLoadNormal + kVerticalWithT];
    const double alpha = r[R::kAlpha];
    const CDArc* arc = slice.GetBottomArc();
    double lever = 0;
    if (arc != nullptr && arc->R > 0) {
      const CDPoint centroid = slice.TotalJuushin(0);
      lever = ArcLever(*arc, IsSetPoint(centroid) ? &centroid : nullptr);
    } else if (arcOnly) {
      continue;
    } else {
      lever = std::cos(alpha);
    }
    numerator += (r[R::kN] - r[R::kU]) * tanPhi + r[R::kLength] * c - r[R::kT] * fs;
    denominator += std::sin(alpha) * withN * tanPhi + withT * fs * lever;
  }
  if (denominator == 0) return kNoValue;
  return (numerator + (IsSetValue(x) ? x : 0.0)) / denominator;
}
