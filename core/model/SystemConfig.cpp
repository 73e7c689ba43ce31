// SystemConfig: the process-wide last-used settings and their two configuration files.

#include "core/model/SystemConfig.h"

#include <span>

#include "core/base/Utility.h"
#include "core/model/SettingFile.h"
#include "core/model/SettingXml.h"
#include "platform/ProgramDir.h"

namespace {

std::string SettingDir() { return GetModuleDir() + "SystemData"; }

std::string SettingPath(const char* fileName) { return SettingDir() + "/" + fileName; }

// Writes the document into the settings folder, creating the folder first; a folder that cannot be
// created shows as the failed write.
void WriteConfigFile(CSettingXml& xml, const char* fileName) {
  CreateDirectories(SettingDir());
  if (!xml.SaveFile(SettingPath(fileName))) ShowSettingWriteError(xml);
}

// A setting of a configuration file: its element and its setter.
struct ConfigKey {
  const char* element;
  void (*set)(const std::string&);
};

// Reads the settings from the configuration file; nothing changes unless the whole file was read.
void ReadConfigFile(const char* fileName, std::span<const ConfigKey> keys) {
  if (!IsDirectory(SettingDir())) return;
  CSettingXml xml;
  for (const ConfigKey& key : keys) xml.AddKey(key.element);
  if (!xml.LoadFile(SettingPath(fileName))) return;
  for (const ConfigKey& key : keys) key.set(xml.GetValue(key.element));
}

constexpr char kPathFile[] = "DataPath.sdxf";
constexpr char kDefFile[] = "DefFile.sdxf";

}  // namespace

std::string SystemConfig::GetDefaultGeology() { return SettingPath("DefGeology.sxg"); }

std::string SystemConfig::GetDefaultReinf() { return SettingPath("DefReinf.sxr"); }

std::string SystemConfig::GetDefaultCond() { return SettingPath("DefCond.cond"); }

std::string SystemConfig::GetConfigFile(int type) {
  switch (type) {
    case kConfigPath:
      return SettingPath(kPathFile);
    case kConfigDefFile:
      return SettingPath(kDefFile);
    default:
      return {};
  }
}

void SystemConfig::UpdateConfig(int type) {
  if (type == kConfigPath) Update_Path();
  if (type == kConfigDefFile) Update_DefFile();
}

void SystemConfig::ReadConfig(int type) {
  if (type == kConfigPath) Read_Path();
  if (type == kConfigDefFile) Read_DefFile();
}

void SystemConfig::Update_Path() {
  CSettingXml xml;
  AddSettingFileHead(xml, "ディレクトリ", "");
  xml.AddStartTag("LASTDIRECTORY");
  xml.AddElement("LAST_Brixo", m_lastBrixo);
  xml.AddElement("LAST_WORD", m_lastWord);
  xml.AddEndTag();
  xml.AddEndTag();
  WriteConfigFile(xml, kPathFile);
}

void SystemConfig::Update_DefFile() {
  CSettingXml xml;
  AddSettingFileHead(xml, "プログラム設定", "");
  xml.AddStartTag("REFGISTFILE");
  xml.AddElement("LAST_GEOLOGY", m_lastGeology);
  xml.AddElement("LAST_REINF", m_lastReinf);
  xml.AddElement("LAST_COND", m_lastCond);
  xml.AddEndTag();
  // The root is closed by the end of the document.
  WriteConfigFile(xml, kDefFile);
}

void SystemConfig::Read_Path() {
  static constexpr ConfigKey kKeys[] = {{"LAST_Brixo", SetLastBrixo}, {"LAST_WORD", SetLastWord}};
  ReadConfigFile(kPathFile, kKeys);
}

void SystemConfig::Read_DefFile() {
  static constexpr ConfigKey kKeys[] = {
      {"LAST_GEOLOGY", SetLastGeology}, {"LAST_REINF", SetLastReinf}, {"LAST_COND", SetLastCond}};
  ReadConfigFile(kDefFile, kKeys);
}
