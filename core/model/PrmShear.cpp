// CPrmShear: the shear-deformation conditions and their record.

#include "core/model/PrmShear.h"

#include "platform/Archive.h"

namespace {

// Documents before this version carry an unused value before ERB.
constexpr int kNoPadVersion = 7;

}  // namespace

void CPrmShear::Copy(const CPrmShear& other) {
  fit.Copy(other.fit);
  g0 = other.g0;
  boltSpacing = other.boltSpacing;
  blockDepth = other.blockDepth;
  h = other.h;
  theta = other.theta;
  erb = other.erb;
}

bool CPrmShear::IsSameUseCale(const CPrmShear& other) const {
  return fit.IsSame(other.fit) && g0 == other.g0 && boltSpacing == other.boltSpacing &&
         blockDepth == other.blockDepth && h == other.h && theta == other.theta && erb == other.erb;
}

bool CPrmShear::IsValid() const {
  return fit.b != kNoValue && fit.c != kNoValue && g0 != kNoValue && boltSpacing != kNoValue &&
         blockDepth != kNoValue && h != kNoValue && theta != kNoValue && erb != kNoValue;
}

void CPrmShear::Store(Archive& ar, int version) const {
  fit.Store(ar, version);
  ar << g0 << boltSpacing << blockDepth << h << theta;
  if (version < kNoPadVersion) ar << 0.0;
  ar << erb;
}

void CPrmShear::Load(Archive& ar, int version) {
  CPrmShear read = *this;
  read.fit.Load(ar, version);
  ar >> read.g0 >> read.boltSpacing >> read.blockDepth >> read.h >> read.theta;
  if (version < kNoPadVersion) {
    double unused = 0.0;
    ar >> unused;
  }
  ar >> read.erb;
  *this = read;
}
