#include "core/section/SkinFriction.h"

#include <cstdint>

#include "platform/Archive.h"

// ---- CSkinFriction ----

void CSkinFriction::Init() { *this = CSkinFriction(); }

void CSkinFriction::Store(Archive& ar, int /*version*/) const {
  ar << static_cast<std::int32_t>(kind_) << value_;
}

void CSkinFriction::Load(Archive& ar, int /*version*/) {
  std::int32_t kind = 0;
  double value = kNoValue;
  ar >> kind >> value;
  // Only kinds 0 and 1 have a meaning; anything above reads as "not derived".
  kind_ = kind > 1 ? 0 : kind;
  value_ = value;
}

void CSkinFriction::Copy(const CSkinFriction& other) { *this = other; }

bool CSkinFriction::IsSame(const CSkinFriction& other) const {
  return kind_ == other.kind_ && value_ == other.value_;
}

double CSkinFriction::GetData(int /*unused*/) const {
  if (kind_ != 1 || value_ == kNoValue) return kNoValue;
  return RoundOff((value_ * 10.0 + 12.0) / 1000.0, 0.001);
}

// ---- CCFai ----

void CCFai::Store(Archive& ar) const {
  for (const double v : values_) ar << v;
  ar.WriteString(bikou_);
}

void CCFai::Load(Archive& ar) {
  std::array<double, 6> values{};
  for (double& v : values) ar >> v;
  std::string bikou = ar.ReadString();
  values_ = values;
  bikou_ = std::move(bikou);
}
