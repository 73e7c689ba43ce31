// CPrmJobsite: the site data of a case and its record.

#include "core/model/PrmJobsite.h"

#include <cstdint>

#include "platform/Archive.h"

void CPrmJobsite::Store(Archive& ar, int /*version*/) const {
  for (const std::string& name : names) ar.WriteString(name);
  for (const std::string& comment : comments) ar.WriteString(comment);
  ar << static_cast<std::int32_t>(direction);
}

void CPrmJobsite::Load(Archive& ar, int /*version*/) {
  CPrmJobsite read;
  for (std::string& name : read.names) name = ar.ReadString();
  for (std::string& comment : read.comments) comment = ar.ReadString();
  std::int32_t storedDirection = 0;
  ar >> storedDirection;
  read.direction = storedDirection;
  *this = std::move(read);
}

bool CPrmJobsite::IsSame(const CPrmJobsite& other) const {
  return names == other.names && comments == other.comments && IsSameUseCale(other);
}
