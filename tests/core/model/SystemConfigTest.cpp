#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "core/model/SystemConfig.h"
#include "platform/ProgramDir.h"
#include "platform/Text.h"
#include "tests/support/ScriptedUi.h"
#include "tests/support/TestFiles.h"

namespace {

namespace fs = std::filesystem;

fs::path SettingDir() { return DataDir() / "SystemData"; }

struct Settings {
  std::string geology, reinf, cond, word, brixo;
  friend bool operator==(const Settings&, const Settings&) = default;
};

Settings Current() {
  return {SystemConfig::GetLastGeology(), SystemConfig::GetLastReinf(), SystemConfig::GetLastCond(),
          SystemConfig::GetLastWord(), SystemConfig::GetLastBrixo()};
}

void SetAll(const Settings& s) {
  SystemConfig::SetLastGeology(s.geology);
  SystemConfig::SetLastReinf(s.reinf);
  SystemConfig::SetLastCond(s.cond);
  SystemConfig::SetLastWord(s.word);
  SystemConfig::SetLastBrixo(s.brixo);
}

const Settings kEdited{"/data/土質.sxg", "/data/補強材.sxr", "/data/基準値.cond", "/data/報告書",
                       "/data/案件"};

// The head both configuration files start with, as UTF-8.
std::string Head(const std::string& fileInfo) {
  return "<?xml version=\"1.0\" encoding=\"Shift_JIS\"?>\n"
         "<ZELKO_Brixo>\n"
         "  <FILE>\n"
         "    <FILE_INFO>" +
         fileInfo +
         "</FILE_INFO>\n"
         "    <FILE_VER>1</FILE_VER>\n"
         "    <COMMENT></COMMENT>\n"
         "  </FILE>\n"
         "  <APPLICATION>\n"
         "    <APP_NAME>RUrevavirazo</APP_NAME>\n"
         "    <APP_VER>1.03</APP_VER>\n"
         "    <NOTE></NOTE>\n"
         "  </APPLICATION>\n";
}

TEST(SystemConfigTest, SettersChangeMemoryOnly) {
  EXPECT_EQ(Current(), Settings{});
  SetAll(kEdited);
  EXPECT_EQ(Current(), kEdited);
  EXPECT_FALSE(fs::exists(SettingDir()));
  SystemConfig::ResetLastGeology();
  SystemConfig::ResetLastReinf();
  SystemConfig::ResetLastCond();
  EXPECT_EQ(Current(), (Settings{"", "", "", kEdited.word, kEdited.brixo}));
}

TEST(SystemConfigTest, DataPathFileHoldsTheFolders) {
  SetAll(kEdited);
  SystemConfig::UpdateConfig(SystemConfig::kConfigPath);
  EXPECT_EQ(ReadFileBytes(SettingDir() / "DataPath.sdxf"),
            Utf8ToCp932(Head("ディレクトリ") + "  <LASTDIRECTORY>\n"
                                               "    <LAST_Brixo>/data/案件</LAST_Brixo>\n"
                                               "    <LAST_WORD>/data/報告書</LAST_WORD>\n"
                                               "  </LASTDIRECTORY>\n"
                                               "</ZELKO_Brixo>\n"));
  EXPECT_FALSE(fs::exists(SettingDir() / "DefFile.sdxf"));
}

TEST(SystemConfigTest, DefFileHoldsTheReferenceFiles) {
  SystemConfig::SetLastGeology(kEdited.geology);
  SystemConfig::UpdateConfig(SystemConfig::kConfigDefFile);
  EXPECT_EQ(ReadFileBytes(SettingDir() / "DefFile.sdxf"),
            Utf8ToCp932(Head("プログラム設定") + "  <REFGISTFILE>\n"
                                                 "    <LAST_GEOLOGY>/data/土質.sxg</LAST_GEOLOGY>\n"
                                                 "    <LAST_REINF></LAST_REINF>\n"
                                                 "    <LAST_COND></LAST_COND>\n"
                                                 "  </REFGISTFILE>\n"
                                                 "</ZELKO_Brixo>\n"));
  EXPECT_FALSE(fs::exists(SettingDir() / "DataPath.sdxf"));
}

TEST(SystemConfigTest, SettingsSurviveARestart) {
  SetAll(kEdited);
  SystemConfig::UpdateConfig(SystemConfig::kConfigPath);
  SystemConfig::UpdateConfig(SystemConfig::kConfigDefFile);
  SetAll({});
  SystemConfig::ReadConfig(SystemConfig::kConfigPath);
  EXPECT_EQ(Current(), (Settings{"", "", "", kEdited.word, kEdited.brixo}));
  SystemConfig::ReadConfig(SystemConfig::kConfigDefFile);
  EXPECT_EQ(Current(), kEdited);
}

TEST(SystemConfigTest, WithoutTheFolderReadingDoesNothingAndWritingCreatesIt) {
  SetAll(kEdited);
  SystemConfig::Read_Path();
  SystemConfig::Read_DefFile();
  EXPECT_EQ(Current(), kEdited);
  EXPECT_FALSE(fs::exists(SettingDir()));
  SystemConfig::Update_Path();
  EXPECT_TRUE(IsFile(SettingDir() / "DataPath.sdxf"));
}

TEST(SystemConfigTest, AMissingElementEmptiesItsSetting) {
  ASSERT_TRUE(CreateDirectories(SettingDir()));
  WriteFileBytes(SettingDir() / "DataPath.sdxf",
                 "<ZELKO_Brixo><LASTDIRECTORY><LAST_Brixo>/a</LAST_Brixo></LASTDIRECTORY>"
                 "</ZELKO_Brixo>");
  SetAll(kEdited);
  SystemConfig::Read_Path();
  EXPECT_EQ(SystemConfig::GetLastBrixo(), "/a");
  EXPECT_EQ(SystemConfig::GetLastWord(), "");
}

TEST(SystemConfigTest, OtherTypesWriteAndReadNothing) {
  SetAll(kEdited);
  for (const int type : {0, 3, -1}) {
    SystemConfig::UpdateConfig(type);
    SystemConfig::ReadConfig(type);
    EXPECT_EQ(SystemConfig::GetConfigFile(type), "");
  }
  EXPECT_FALSE(fs::exists(SettingDir()));
  EXPECT_EQ(Current(), kEdited);
}

TEST(SystemConfigTest, DefaultPathsDependOnTheDataFolderOnly) {
  const std::string home = DataDir().string();
  EXPECT_EQ(SystemConfig::GetDefaultGeology(), home + "/SystemData/DefGeology.sxg");
  EXPECT_EQ(SystemConfig::GetDefaultReinf(), home + "/SystemData/DefReinf.sxr");
  EXPECT_EQ(SystemConfig::GetDefaultCond(), home + "/SystemData/DefCond.cond");
  EXPECT_EQ(SystemConfig::GetConfigFile(SystemConfig::kConfigPath),
            home + "/SystemData/DataPath.sdxf");
  EXPECT_EQ(SystemConfig::GetConfigFile(SystemConfig::kConfigDefFile),
            home + "/SystemData/DefFile.sdxf");

  SetAll(kEdited);
  EXPECT_EQ(SystemConfig::GetDefaultGeology(), home + "/SystemData/DefGeology.sxg");

  const std::string other = home + "/other";
  setenv("BRIXO_HOME", other.c_str(), 1);
  EXPECT_EQ(SystemConfig::GetDefaultCond(), other + "/SystemData/DefCond.cond");
  setenv("BRIXO_HOME", home.c_str(), 1);
}

// A folder that is a regular file stops the write even for root.
TEST(SystemConfigTest, AFailedWriteSaysSoAndChangesNoSetting) {
  WriteFileBytes(SettingDir(), "not a folder");
  SetAll(kEdited);
  TestUi().ExpectMessageBox(MsgResult::Ok, "XML : SHCreateStreamOnFile 失敗");
  SystemConfig::Update_DefFile();
  ASSERT_EQ(TestUi().MessageBoxes().size(), 1u);
  EXPECT_EQ(TestUi().MessageBoxes()[0].caption, "RUrevavirazo");
  EXPECT_EQ(Current(), kEdited);
}

// A configuration file that breaks off or is malformed is not read at all.
TEST(SystemConfigTest, ADamagedFileChangesNoSetting) {
  ASSERT_TRUE(CreateDirectories(SettingDir()));
  SetAll(kEdited);
  for (const char* damaged : {
           "<ZELKO_Brixo><REFGISTFILE><LAST_GEOLOGY>/x</LAST_GEOLOGY><LAST_REINF>/y",
           "<ZELKO_Brixo><REFGISTFILE><LAST_GEOLOGY>/x</LAST_GEOLOGY></FILE>",
       }) {
    SCOPED_TRACE(damaged);
    WriteFileBytes(SettingDir() / "DefFile.sdxf", damaged);
    SystemConfig::Read_DefFile();
    EXPECT_EQ(Current(), kEdited);
  }
}

}  // namespace
