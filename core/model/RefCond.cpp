// CRefCond: the process-wide reference values and their record.

#include "core/model/RefCond.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <optional>

#include "core/model/SystemConfig.h"
#include "platform/Archive.h"

namespace {

constexpr char kCondHeader[] = "BRIXO_REF_COND_DOC";
constexpr std::int32_t kCondVersion = 1;
constexpr std::size_t kRecordSize = 8 * 8;
// The header (the string prefix FF FE FF 12 and 18 UTF-16 units), the version and the record.
constexpr std::size_t kCondFileSize = 4 + 36 + 4 + kRecordSize;

// NaN or an infinity would pass unguarded into every deformation check that reads the value.
bool HoldsFiniteValues(Archive record) {
  CRefCond::Values values{};
  for (double& v : values) record >> v;
  return std::all_of(values.begin(), values.end(), [](double v) { return std::isfinite(v); });
}

// The file's record after its header and version, when the file is a reference-condition file of
// our version; nothing otherwise.
std::optional<Archive> OpenCondFile(const std::string& path) {
  try {
    Archive file = Archive::FromFile(path);
    if (file.Bytes().size() != kCondFileSize || file.ReadString() != kCondHeader) return {};
    std::int32_t version = 0;
    file >> version;
    // What is left is the record alone only when the header was in the Unicode form.
    if (version != kCondVersion || file.Remaining() != kRecordSize) return {};
    if (!HoldsFiniteValues(file)) return {};
    return file;
  } catch (const ArchiveException&) {
    return {};
  }
}

void RememberCond(const std::string& path) {
  SystemConfig::SetLastCond(path);
  SystemConfig::Update_DefFile();
}

}  // namespace

std::array<double*, 8> CRefCond::Members() {
  return {&m_kiretuHizumi, &m_kyokuHizumi,  &m_ganmmaref, &m_TRNmax,
          &m_suberiHizumi, &m_sendanHizumi, &m_keiA,      &m_keiB};
}

void CRefCond::Default() { SetValues(DefaultValues()); }

CRefCond::Values CRefCond::DefaultValues() {
  return {kKiretuHizumi, kKyokuHizumi,  kGammaref, kTRNmax,
          kSuberiHizumi, kSendanHizumi, kKeiA,     kKeiB};
}

CRefCond::Values CRefCond::GetValues() {
  Values values{};
  const auto members = Members();
  for (std::size_t i = 0; i < values.size(); ++i) values[i] = *members[i];
  return values;
}

void CRefCond::SetValues(const Values& values) {
  const auto members = Members();
  for (std::size_t i = 0; i < values.size(); ++i) *members[i] = values[i];
}

void CRefCond::Store(Archive& ar, int /*version*/) {
  for (const double* member : Members()) ar << *member;
}

void CRefCond::Load(Archive& ar, int /*version*/) {
  Values read{};
  for (double& v : read) ar >> v;
  SetValues(read);
}

bool CRefCond::WriteCond(const std::string& path, bool remember) {
  Archive file;
  file.WriteString(kCondHeader);
  file << kCondVersion;
  Store(file, kCondVersion);
  try {
    file.SaveToFile(path);
  } catch (const ArchiveException&) {
    return false;
  }
  if (remember) RememberCond(path);
  return true;
}

bool CRefCond::ReadCond(const std::string& path, bool remember) {
  std::optional<Archive> file = OpenCondFile(path);
  if (!file) {
    if (remember) SystemConfig::ResetLastCond();
    return false;
  }
  // The size is checked: the record is all there.
  Load(*file, kCondVersion);
  if (remember) RememberCond(path);
  return true;
}
