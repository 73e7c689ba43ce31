#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>

#include "core/case/ProcessState.h"
#include "core/model/RefData.h"
#include "core/model/SystemConfig.h"
#include "platform/ProgramDir.h"
#include "tests/support/ScriptedUi.h"
#include "tests/support/TestFiles.h"

namespace {

namespace fs = std::filesystem;

constexpr const char* kFiles[] = {"DataPath.sdxf", "DefFile.sdxf", "DefGeology.sxg", "DefReinf.sxr",
                                  "DefCond.cond"};

fs::path SettingDir() { return DataDir() / "SystemData"; }

// The bytes of every file in the settings folder, by name.
std::map<std::string, std::string> SettingFiles() {
  std::map<std::string, std::string> files;
  for (const fs::directory_entry& entry : fs::directory_iterator(SettingDir())) {
    files[entry.path().filename().string()] = ReadFileBytes(entry.path());
  }
  return files;
}

// A start of the program: the process-wide state of a fresh process, then the configuration step.
void Start(CRefData& refData) {
  ResetProcessWideState();
  SetUpConfiguration(refData);
}

void ExpectDefaultsRemembered() {
  EXPECT_EQ(SystemConfig::GetLastGeology(), SystemConfig::GetDefaultGeology());
  EXPECT_EQ(SystemConfig::GetLastReinf(), SystemConfig::GetDefaultReinf());
  EXPECT_EQ(SystemConfig::GetLastCond(), SystemConfig::GetDefaultCond());
}

CRefGeology EditedSoils() {
  CRefGeology table;
  table.comment = "現場用";
  table.rows = {{"盛土", 18, 30, 5, 19, kNoValue, kNoValue}};
  return table;
}

TEST(RefDataTest, FirstStartCreatesTheFiveFiles) {
  CRefData refData;
  Start(refData);
  for (const char* name : kFiles) EXPECT_TRUE(IsFile(SettingDir() / name)) << name;
  EXPECT_EQ(SettingFiles().size(), std::size(kFiles));
  EXPECT_TRUE(refData.geology.IsSame(CRefGeology()));
  EXPECT_TRUE(refData.reinf.IsSame(CRefReinf()));
  EXPECT_EQ(CRefCond::GetTRNmax(), 2.39);
  ExpectDefaultsRemembered();

  // DefFile.sdxf holds the three default files.
  ResetProcessWideState();
  SystemConfig::Read_DefFile();
  ExpectDefaultsRemembered();
}

TEST(RefDataTest, SecondStartReadsTheFilesAndWritesNone) {
  {
    CRefData first;
    Start(first);
  }
  // Values that differ from the defaults prove that the second start reads the files.
  ASSERT_TRUE(EditedSoils().WriteGeology(SystemConfig::GetDefaultGeology(), false));
  CRefCond::SetKeiB(-2.5);
  ASSERT_TRUE(CRefCond::WriteCond(SystemConfig::GetDefaultCond(), false));
  SystemConfig::SetLastBrixo("/data/案件");
  SystemConfig::UpdateConfig(SystemConfig::kConfigPath);
  const auto before = SettingFiles();

  CRefData second;
  Start(second);
  EXPECT_EQ(SettingFiles(), before);
  EXPECT_TRUE(second.geology.IsSame(EditedSoils()));
  EXPECT_TRUE(second.reinf.IsSame(CRefReinf()));
  EXPECT_EQ(CRefCond::GetKeiB(), -2.5);
  EXPECT_EQ(SystemConfig::GetLastBrixo(), "/data/案件");
  ExpectDefaultsRemembered();
}

// Without DefFile.sdxf (deleted, or refused as malformed) the default files that exist are read,
// never overwritten, and DefFile.sdxf names them again.
TEST(RefDataTest, EditedDefaultFilesSurviveALostDefFile) {
  const struct {
    const char* what;
    const char* defFile;  // nullptr: deleted
  } cases[] = {{"deleted", nullptr}, {"truncated", "<ZELKO_Brixo><REFGISTFILE><LAST_GEO"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    fs::remove_all(SettingDir());
    {
      CRefData first;
      Start(first);
    }
    ASSERT_TRUE(EditedSoils().WriteGeology(SystemConfig::GetDefaultGeology(), false));
    const std::string edited = ReadFileBytes(SystemConfig::GetDefaultGeology());
    const fs::path defFile = SystemConfig::GetConfigFile(SystemConfig::kConfigDefFile);
    if (c.defFile == nullptr) {
      fs::remove(defFile);
    } else {
      WriteFileBytes(defFile, c.defFile);
    }

    CRefData next;
    Start(next);
    EXPECT_EQ(ReadFileBytes(SystemConfig::GetDefaultGeology()), edited);
    EXPECT_TRUE(next.geology.IsSame(EditedSoils()));
    ExpectDefaultsRemembered();
    ResetProcessWideState();
    SystemConfig::Read_DefFile();
    ExpectDefaultsRemembered();
  }
}

// A last file named in DefFile.sdxf is read and stays the last file; the default file is not
// touched.
TEST(RefDataTest, TheLastFilesAreReadFirst) {
  ASSERT_TRUE(CreateDirectories(SettingDir()));
  const std::string soils = (DataDir() / "site.sxg").string();
  ASSERT_TRUE(EditedSoils().WriteGeology(soils, true));
  CRefData refData;
  Start(refData);
  EXPECT_TRUE(refData.geology.IsSame(EditedSoils()));
  EXPECT_EQ(SystemConfig::GetLastGeology(), soils);
  EXPECT_FALSE(fs::exists(SystemConfig::GetDefaultGeology()));
}

// A default file that cannot be read is neither taken nor replaced.
TEST(RefDataTest, UnreadableFilesAreNeitherTakenNorReplaced) {
  ASSERT_TRUE(CreateDirectories(SettingDir()));
  WriteFileBytes(SystemConfig::GetDefaultGeology(), "<ZELKO_Brixo><DOSITU_SIZE>1");
  WriteFileBytes(SystemConfig::GetDefaultCond(), "short");
  CRefData refData;
  refData.geology = EditedSoils();
  CRefCond::SetKeiA(1.0);
  Start(refData);
  EXPECT_TRUE(refData.geology.IsSame(EditedSoils()));
  EXPECT_EQ(CRefCond::GetKeiA(), 0.016);
  EXPECT_EQ(ReadFileBytes(SystemConfig::GetDefaultGeology()), "<ZELKO_Brixo><DOSITU_SIZE>1");
  EXPECT_EQ(ReadFileBytes(SystemConfig::GetDefaultCond()), "short");
  EXPECT_EQ(SystemConfig::GetLastGeology(), "");
  EXPECT_EQ(SystemConfig::GetLastCond(), "");
  EXPECT_EQ(SystemConfig::GetLastReinf(), SystemConfig::GetDefaultReinf());
}

// The settings folder cannot be made: every XML write says so, the tables keep their defaults.
TEST(RefDataTest, AnUnwritableDataFolderIsReportedAndTheDefaultsServe) {
  WriteFileBytes(SettingDir(), "not a folder");
  for (int i = 0; i < 4; ++i) {  // DataPath.sdxf, DefFile.sdxf, the soil and the bar table
    TestUi().ExpectMessageBox(MsgResult::Ok, "XML : SHCreateStreamOnFile 失敗");
  }
  CRefData refData;
  Start(refData);
  EXPECT_TRUE(refData.geology.IsSame(CRefGeology()));
  EXPECT_TRUE(refData.reinf.IsSame(CRefReinf()));
  EXPECT_EQ(SystemConfig::GetLastGeology(), "");
  EXPECT_EQ(SystemConfig::GetLastReinf(), "");
  EXPECT_EQ(SystemConfig::GetLastCond(), "");
}

}  // namespace
