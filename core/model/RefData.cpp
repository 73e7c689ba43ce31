#include "core/model/RefData.h"

#include <string>

#include "core/model/SystemConfig.h"
#include "platform/ProgramDir.h"

namespace {

void ReadOrWriteConfig(int type) {
  if (IsFile(SystemConfig::GetConfigFile(type))) {
    SystemConfig::ReadConfig(type);
  } else {
    SystemConfig::UpdateConfig(type);
  }
}

// Reads the last file, else the default file remembering it; writes the defaults to the default
// file, remembering it, only where there is none. The user may have edited a default file, and a
// missing or unreadable DefFile.sdxf must not cost those edits.
template <class Read, class WriteDefaults>
void ReadOrCreate(const std::string& last, const std::string& defaultFile, Read read,
                  WriteDefaults writeDefaults) {
  if (IsFile(last)) {
    read(last, false);
  } else if (IsFile(defaultFile)) {
    read(defaultFile, true);
  } else {
    writeDefaults(defaultFile);
  }
}

}  // namespace

void SetUpConfiguration(CRefData& refData) {
  ReadOrWriteConfig(SystemConfig::kConfigPath);
  ReadOrWriteConfig(SystemConfig::kConfigDefFile);

  CRefGeology& geology = refData.geology;
  ReadOrCreate(
      SystemConfig::GetLastGeology(), SystemConfig::GetDefaultGeology(),
      [&](const std::string& path, bool remember) { geology.ReadGeology(path, remember); },
      [&](const std::string& path) {
        geology.Default();
        geology.WriteGeology(path, true);
      });

  CRefReinf& reinf = refData.reinf;
  ReadOrCreate(
      SystemConfig::GetLastReinf(), SystemConfig::GetDefaultReinf(),
      [&](const std::string& path, bool remember) { reinf.ReadReinf(path, remember); },
      [&](const std::string& path) {
        reinf.Default();
        reinf.WriteReinf(path, true);
      });

  ReadOrCreate(
      SystemConfig::GetLastCond(), SystemConfig::GetDefaultCond(),
      [](const std::string& path, bool remember) { CRefCond::ReadCond(path, remember); },
      [](const std::string& path) {
        CRefCond::Default();
        CRefCond::WriteCond(path, true);
      });
}
