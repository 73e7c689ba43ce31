#pragma once
// The last used folders and reference files of the whole process, the paths of the default
// reference files, and the two configuration files that keep them between runs, both in the
// settings folder SystemData of the data folder: DataPath.sdxf (the folders) and DefFile.sdxf
// (the reference files). Setters change memory only; UpdateConfig writes a file.

#include <string>

class SystemConfig {
 public:
  // The configuration files, as UpdateConfig and ReadConfig number them.
  static constexpr int kConfigPath = 1;     // DataPath.sdxf
  static constexpr int kConfigDefFile = 2;  // DefFile.sdxf

  SystemConfig() = delete;

  static std::string GetLastGeology() { return m_lastGeology; }
  static void SetLastGeology(const std::string& path) { m_lastGeology = path; }
  static void ResetLastGeology() { m_lastGeology.clear(); }
  static std::string GetLastReinf() { return m_lastReinf; }
  static void SetLastReinf(const std::string& path) { m_lastReinf = path; }
  static void ResetLastReinf() { m_lastReinf.clear(); }
  static std::string GetLastCond() { return m_lastCond; }
  static void SetLastCond(const std::string& path) { m_lastCond = path; }
  static void ResetLastCond() { m_lastCond.clear(); }
  static std::string GetLastWord() { return m_lastWord; }
  static void SetLastWord(const std::string& folder) { m_lastWord = folder; }
  static std::string GetLastBrixo() { return m_lastBrixo; }
  static void SetLastBrixo(const std::string& folder) { m_lastBrixo = folder; }

  // DefGeology.sxg, DefReinf.sxr and DefCond.cond in the settings folder: they depend on the
  // data folder only, never on the settings.
  static std::string GetDefaultGeology();
  static std::string GetDefaultReinf();
  static std::string GetDefaultCond();
  // The configuration file kConfigPath or kConfigDefFile; empty for any other type.
  static std::string GetConfigFile(int type);

  // Writes the configuration file of the type with the settings in memory (any other type does
  // nothing); a failure is shown in a message box.
  static void UpdateConfig(int type);
  // Reads the configuration file of the type (any other type does nothing). A setting whose
  // element is missing becomes empty; a missing or malformed file changes nothing and shows
  // nothing.
  static void ReadConfig(int type);

  static void Update_Path();
  static void Update_DefFile();
  static void Read_Path();
  static void Read_DefFile();

 private:
  inline static std::string m_lastGeology;
  inline static std::string m_lastReinf;
  inline static std::string m_lastCond;
  inline static std::string m_lastWord;
  inline static std::string m_lastBrixo;
};
