// CRefCond: the process-wide reference values and their record.

#include "core/model/RefCond.h"

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

void CRefCond::Default() {
  m_kiretuHizumi = kKiretuHizumi;
  m_kyokuHizumi = kKyokuHizumi;
  m_ganmmaref = kGammaref;
  m_TRNmax = kTRNmax;
  m_suberiHizumi = kSuberiHizumi;
  m_sendanHizumi = kSendanHizumi;
  m_keiA = kKeiA;
  m_keiB = kKeiB;
}

void CRefCond::Store(Archive& ar, int /*version*/) {
  for (const double* member : Members()) ar << *member;
}

void CRefCond::Load(Archive& ar, int /*version*/) {
  std::array<double, 8> read{};
  for (double& v : read) ar >> v;
  const auto members = Members();
  for (std::size_t i = 0; i < read.size(); ++i) *members[i] = read[i];
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
