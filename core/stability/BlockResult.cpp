#include "core/stability/BlockResult.h"

#include <cstddef>
#include <stdexcept>
#include <string>

#include "core/base/CoreConfig.h"
#include "platform/Archive.h"

namespace {

constexpr int kRoundSafetyFactor = 163;
constexpr int kRoundRestrainingForce = 261;
// The first document version whose records hold values 5 and 6 (slots 4 and 5).
constexpr int kBaseAngleVersion = 2;
constexpr int kFirstSlotFromVersion2 = 4;
constexpr int kLastSlotFromVersion2 = tagBLOCKRESULTSLICE::kBaseAngle;
// A version-1 record holds one more double after value 29 (slot 28).
constexpr int kSlotBeforeDropped = 28;
// Stands for that double in ForEachStoredSlot.
constexpr int kDroppedSlot = -1;
// Mode of CalcFs that derives S and T from the sums.
constexpr int kModeFromSums = 2;
constexpr double kSumPitch = 0.01;

bool IsSeismic(int k) { return k == kCaseSeismic; }

// The slot of surcharge sum `component` of the case k.
std::size_t LoadSlot(int k, int component) {
  if (component < 0 || component >= tagBLOCKRESULTSLICE::kLoadComponentCount) {
    throw std::out_of_range("tagBLOCKRESULTSLICE: no surcharge component " +
                            std::to_string(component));
  }
  const int first =
      IsSeismic(k) ? tagBLOCKRESULTSLICE::kLoadSeismic : tagBLOCKRESULTSLICE::kLoadNormal;
  return static_cast<std::size_t>(first + component);
}

// Visits the doubles of a tagBLOCKRESULTSLICE record in their stored order: each by its slot, the
// dropped double of a version-1 record as kDroppedSlot.
template <typename Visit>
void ForEachStoredSlot(int version, Visit visit) {
  for (int slot = 0; slot < tagBLOCKRESULTSLICE::kValueCount; ++slot) {
    if (version < kBaseAngleVersion) {
      if (slot >= kFirstSlotFromVersion2 && slot <= kLastSlotFromVersion2) continue;
      if (slot == kSlotBeforeDropped + 1) visit(kDroppedSlot);
    }
    visit(slot);
  }
}

// The sum divided by the divisor, half up to 0.01; no value when either is missing or the divisor
// is 0.
double FromSum(double sum, double divisor) {
  if (divisor == kNoValue || divisor == 0 || sum == kNoValue) return kNoValue;
  return RoundOff(sum / divisor, kSumPitch);
}

// The values in their stored order; Known is tagBLOCKRESULTKNOWN, const or not.
template <typename Known, typename Visit>
void ForEachKnownValue(Known& r, Visit visit) {
  for (auto* v :
       {&r.S, &r.T, &r.sumS, &r.sumT, &r.divisor, &r.Fs, &r.FsExtra, &r.Pr, &r.extraForce})
    visit(*v);
}

}  // namespace

// ---- tagBLOCKRESULTSLICE ----

void tagBLOCKRESULTSLICE::SetCFai(double c, double phi) {
  value[kC] = c;
  value[kPhi] = phi;
}

double tagBLOCKRESULTSLICE::GetSimpleT(int k) const {
  return value[IsSeismic(k) ? kSimpleTSeismic : kSimpleT];
}

double tagBLOCKRESULTSLICE::GetSimpleN(int k) const {
  return value[IsSeismic(k) ? kSimpleNSeismic : kSimpleN];
}

double tagBLOCKRESULTSLICE::GetS(int k) const { return value[IsSeismic(k) ? kSSeismic : kS]; }

double tagBLOCKRESULTSLICE::GetT(int k) const {
  if (!IsSeismic(k)) return value[kSimpleT];
  const double t = value[kSimpleTSeismic];
  const double add = value[kSeismicAddT];
  return t == kNoValue || add == kNoValue ? kNoValue : t + add;
}

double tagBLOCKRESULTSLICE::GetN(int k) const {
  if (!IsSeismic(k)) return value[kSimpleN];
  const double n = value[kSimpleNSeismic];
  const double deduct = value[kSeismicDeductN];
  return n == kNoValue || deduct == kNoValue ? kNoValue : n - deduct;
}

double& tagBLOCKRESULTSLICE::LoadSum(int k, int component) { return value[LoadSlot(k, component)]; }

double tagBLOCKRESULTSLICE::LoadSum(int k, int component) const {
  return value[LoadSlot(k, component)];
}

void tagBLOCKRESULTSLICE::PlusData(const tagBLOCKRESULTSLICE& other) {
  for (int slot = kSum8; slot <= kSSeismic; ++slot) value[slot] += other.value[slot];
}

void tagBLOCKRESULTSLICE::Store(Archive& ar, int version) const {
  ForEachStoredSlot(version,
                    [&](int slot) { ar << (slot == kDroppedSlot ? kNoValue : value[slot]); });
}

void tagBLOCKRESULTSLICE::Load(Archive& ar, int version) {
  tagBLOCKRESULTSLICE read = *this;
  ForEachStoredSlot(version, [&](int slot) {
    double v = 0;
    ar >> v;
    if (slot != kDroppedSlot) read.value[slot] = v;
  });
  *this = read;
}

// ---- tagBLOCKRESULTKNOWN ----

void tagBLOCKRESULTKNOWN::CalcInit() {
  Fs = kNoValue;
  FsExtra = kNoValue;
  Pr = kNoValue;
  extraForce = kNoValue;
}

bool tagBLOCKRESULTKNOWN::IsSame(const tagBLOCKRESULTKNOWN& other) const {
  return S == other.S && T == other.T && sumS == other.sumS && sumT == other.sumT &&
         divisor == other.divisor && Fs == other.Fs && FsExtra == other.FsExtra && Pr == other.Pr &&
         extraForce == other.extraForce;
}

void tagBLOCKRESULTKNOWN::CalcFs(int mode, bool extra, double x) {
  if (mode == kModeFromSums) {
    S = FromSum(sumS, divisor);
    T = FromSum(sumT, divisor);
  }
  extraForce = x;
  const double force = x == kNoValue ? 0 : x;
  double fs = kNoValue;
  double fsExtra = kNoValue;
  if (S != kNoValue && T != kNoValue && T != 0) {
    fs = CCoreConfig::GetRound(S / T, kRoundSafetyFactor);
    fsExtra = CCoreConfig::GetRound((S + force) / T, kRoundSafetyFactor);
  }
  // Fs is always this calculation's: a missing extra force must not leave an earlier Fs behind.
  Fs = fs;
  if (extra) FsExtra = fsExtra;
}

void tagBLOCKRESULTKNOWN::CalcPr(double fsp, bool extra) {
  const double fs = extra ? FsExtra : Fs;
  if (fs == kNoValue || fsp == kNoValue) {
    Pr = kNoValue;
    return;
  }
  Pr = CCoreConfig::GetRound(T * fsp - S, kRoundRestrainingForce);
}

void tagBLOCKRESULTKNOWN::CalcFsPr(int mode, bool extra, double fsp, double x) {
  CalcFs(mode, extra, x);
  CalcPr(fsp, extra);
}

void tagBLOCKRESULTKNOWN::Store(Archive& ar, int /*version*/) const {
  ForEachKnownValue(*this, [&ar](const double& v) { ar << v; });
}

void tagBLOCKRESULTKNOWN::Load(Archive& ar, int /*version*/) {
  tagBLOCKRESULTKNOWN read;
  ForEachKnownValue(read, [&ar](double& v) { ar >> v; });
  *this = read;
}
