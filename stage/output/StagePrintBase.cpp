#include "stage/output/StagePrintBase.h"

#include <algorithm>

namespace {

bool IsForbiddenInFileName(unsigned char c) {
  if (c < 0x20 || c == 0x7f) return true;
  constexpr std::string_view kForbidden = "/\\<>:\"|?*";
  return kForbidden.find(static_cast<char>(c)) != std::string_view::npos;
}

}  // namespace

std::string SafeFileNamePart(std::string_view name) {
  std::string safe(name);
  for (char& c : safe) {
    if (IsForbiddenInFileName(static_cast<unsigned char>(c))) c = '_';
  }
  const bool onlyDots =
      !safe.empty() && std::all_of(safe.begin(), safe.end(), [](char c) { return c == '.'; });
  if (onlyDots) safe = "_";
  return safe;
}
