// CReinfStdBar: one standard bar and its record.

#include "core/model/ReinfStdBar.h"

#include "platform/Archive.h"

namespace {

// The nominal size is in the record from this document version on.
constexpr int kKeiVersion = 7;

}  // namespace

bool CReinfStdBar::IsSame(const CReinfStdBar& other) const {
  return name == other.name && kei == other.kei && remark == other.remark && IsSameUseCale(other);
}

bool CReinfStdBar::IsSameUseCale(const CReinfStdBar& other) const {
  return w == other.w && d == other.d && as == other.as && drillD == other.drillD &&
         sigmaSaN == other.sigmaSaN && sigmaSaQ == other.sigmaSaQ;
}

bool CReinfStdBar::IsValid() const {
  return !name.empty() && !kei.empty() && w != kNoValue && d != kNoValue && as != kNoValue &&
         drillD != kNoValue;
}

void CReinfStdBar::Store(Archive& ar, int version) const {
  ar.WriteString(name);
  if (version >= kKeiVersion) ar.WriteString(kei);
  ar.WriteString(remark);
  ar << w << d << as << drillD << sigmaSaN << sigmaSaQ;
}

void CReinfStdBar::Load(Archive& ar, int version) {
  CReinfStdBar read;
  read.name = ar.ReadString();
  if (version >= kKeiVersion) read.kei = ar.ReadString();
  read.remark = ar.ReadString();
  ar >> read.w >> read.d >> read.as >> read.drillD >> read.sigmaSaN >> read.sigmaSaQ;
  *this = std::move(read);
}
