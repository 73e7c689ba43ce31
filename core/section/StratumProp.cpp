#include "core/section/StratumProp.h"

#include <cstdint>
#include <stdexcept>

#include "platform/Archive.h"

namespace {

std::size_t SwitchIndex(int n) {
  if (n < 0 || n >= CStratumProp::kSwitchCount) {
    throw std::out_of_range("CStratumProp: stratum switch number out of range");
  }
  return static_cast<std::size_t>(n);
}

int ReadInt(Archive& ar) {
  std::int32_t v = 0;
  ar >> v;
  return v;
}

}  // namespace

bool CStratumProp::IsSame(const CStratumProp& other) const {
  return name_ == other.name_ && color_ == other.color_ && remark_ == other.remark_ &&
         settingKind_ == other.settingKind_ && friction_.GetKind() == other.friction_.GetKind() &&
         friction_.GetValue() == other.friction_.GetValue() && IsSameUseCalc(other);
}

bool CStratumProp::IsSameUseCalc(const CStratumProp& other) const {
  const tagSATURATE& a = saturate_;
  const tagSATURATE& b = other.saturate_;
  return a.gammaT == b.gammaT && a.gammaSat == b.gammaSat && a.phi == b.phi && a.c == b.c &&
         a.tauP == b.tauP && extra_ == other.extra_ && switches_ == other.switches_;
}

void CStratumProp::Calc_tauP(int /*unused*/) {
  if (friction_.GetKind() == 0) return;
  // Kind 1 derives the value (kNoValue without one); other kinds have no skin friction.
  saturate_.tauP = friction_.GetData(0);
}

std::string CStratumProp::GetSettingStr() const {
  switch (settingKind_) {
    case 1:
      return "試験値";
    case 2:
      return "経験式";
    case 3:
      return "一般値";
    case 4:
      return "その他";
    default:
      return {};
  }
}

int CStratumProp::GetSwitch(int n) const { return switches_[SwitchIndex(n)]; }

void CStratumProp::SetSwitch(int n, int value) { switches_[SwitchIndex(n)] = value; }

void CStratumProp::Store(Archive& ar, int version) const {
  ar.WriteString(name_);
  ar << color_;
  ar << saturate_.gammaT << saturate_.gammaSat << saturate_.phi << saturate_.c;
  for (const int s : switches_) ar << static_cast<std::int32_t>(s);
  ar << saturate_.tauP;
  ar << static_cast<std::int32_t>(extra_);
  ar.WriteString(remark_);
  ar << static_cast<std::int32_t>(settingKind_);
  friction_.Store(ar, version);
}

void CStratumProp::Load(Archive& ar, int version) {
  CStratumProp read;
  read.name_ = ar.ReadString();
  ar >> read.color_;
  ar >> read.saturate_.gammaT >> read.saturate_.gammaSat >> read.saturate_.phi >> read.saturate_.c;
  for (int& s : read.switches_) s = ReadInt(ar);
  ar >> read.saturate_.tauP;
  read.extra_ = ReadInt(ar);
  read.remark_ = ar.ReadString();
  read.settingKind_ = ReadInt(ar);
  read.friction_.Load(ar, version);
  *this = std::move(read);
}
