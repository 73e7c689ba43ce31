// CPrmSlide: the slide-deformation conditions and their record.

#include "core/model/PrmSlide.h"

#include <cstdint>

#include "platform/Archive.h"

namespace {

// Documents up to this version carry an unused value at the end of the record.
constexpr int kLastVersionWithPad = 6;

constexpr double kDeltaCPitch = 0.001;

}  // namespace

void CPrmSlide::Store(Archive& ar, int version) const {
  ar << static_cast<std::int32_t>(deltaCMode);
  ar << s2 << s3 << l << deltaCEntered << deltaCDerived << h << khPitch;
  if (version <= kLastVersionWithPad) ar << 0.0;
}

void CPrmSlide::Load(Archive& ar, int version) {
  CPrmSlide read;
  std::int32_t mode = 0;
  ar >> mode;
  read.deltaCMode = mode;
  ar >> read.s2 >> read.s3 >> read.l >> read.deltaCEntered >> read.deltaCDerived >> read.h >>
      read.khPitch;
  if (version <= kLastVersionWithPad) {
    double unused = 0.0;
    ar >> unused;
  }
  *this = read;
}

bool CPrmSlide::IsSame(const CPrmSlide& other) const {
  return deltaCMode == other.deltaCMode && s2 == other.s2 && s3 == other.s3 && l == other.l &&
         IsSameUseCale(other);
}

bool CPrmSlide::IsSameUseCale(const CPrmSlide& other) const {
  return deltaCEntered == other.deltaCEntered && deltaCDerived == other.deltaCDerived &&
         h == other.h && khPitch == other.khPitch;
}

bool CPrmSlide::IsValid() const {
  const double deltaC = IsDerived() ? deltaCDerived : deltaCEntered;
  return deltaC != kNoValue && h != kNoValue && khPitch != kNoValue && khPitch >= kMinKhPitch;
}

bool CPrmSlide::IsValidDeltaC() const { return s2 != kNoValue && s3 != kNoValue && l != kNoValue; }

void CPrmSlide::CalcDeltaC() {
  // A slide surface without length gives no cohesion rather than an infinite one.
  deltaCDerived = IsValidDeltaC() && l > 0.0 ? RoundOff((s2 + s3) / l, kDeltaCPitch) : kNoValue;
}

double CPrmSlide::GetDeltaC() {
  if (!IsDerived()) return deltaCEntered;
  CalcDeltaC();
  return deltaCDerived;
}
