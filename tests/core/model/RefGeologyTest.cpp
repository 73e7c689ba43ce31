#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "core/model/RefGeology.h"
#include "core/model/SystemConfig.h"
#include "platform/ProgramDir.h"
#include "platform/Text.h"
#include "tests/support/RecordBytes.h"
#include "tests/support/RecordContract.h"
#include "tests/support/ScriptedUi.h"
#include "tests/support/TestFiles.h"

namespace {

namespace fs = std::filesystem;
using Row = CRefGeology::Row;

std::string PathIn(const char* name) { return (DataDir() / name).string(); }

// The head of a soil file up to the row count, in UTF-8.
std::string Head(const std::string& comment) {
  return "<?xml version=\"1.0\" encoding=\"Shift_JIS\"?>\n"
         "<ZELKO_Brixo>\n"
         "  <FILE>\n"
         "    <FILE_INFO>土質設定</FILE_INFO>\n"
         "    <FILE_VER>1</FILE_VER>\n"
         "    <COMMENT>" +
         comment +
         "</COMMENT>\n"
         "  </FILE>\n"
         "  <APPLICATION>\n"
         "    <APP_NAME>RUrevavirazo</APP_NAME>\n"
         "    <APP_VER>1.03</APP_VER>\n"
         "    <NOTE></NOTE>\n"
         "  </APPLICATION>\n";
}

// A soil file with the rows as texts: name and the six numbers as written.
std::string SoilFile(const std::string& comment, const char* size,
                     const std::vector<std::array<std::string, 7>>& rows) {
  static const char* const kElements[] = {"DOSITU_NAME", "DOSITU_GAMMAT",    "DOSITU_PHI",
                                          "DOSITU_C",    "DOSITU_SA_GAMMAT", "DOSITU_SA_PHI",
                                          "DOSITU_SA_C"};
  std::string file = Utf8ToCp932(Head(comment));
  if (size != nullptr) file += std::string("  <DOSITU_SIZE>") + size + "</DOSITU_SIZE>\n";
  for (const auto& row : rows) {
    file += "  <DOSITU>\n";
    for (std::size_t i = 0; i < row.size(); ++i) {
      file += std::string("    <") + kElements[i] + ">" + row[i] + "</" + kElements[i] + ">\n";
    }
    file += "  </DOSITU>\n";
  }
  return file + "</ZELKO_Brixo>\n";
}

std::string WriteSoilFile(const char* name, const std::string& bytes) {
  const std::string path = PathIn(name);
  WriteFileBytes(path, bytes);
  return path;
}

// Read back, a number is the written text rounded half up in the order the rounding rules give,
// which can differ from the number written in its last bit (15.2 comes back as 1520 * 0.01); the
// texts and the unset values come back exactly.
void ExpectSameTable(const CRefGeology& read, const CRefGeology& written) {
  EXPECT_EQ(read.comment, written.comment);
  ASSERT_EQ(read.rows.size(), written.rows.size());
  for (std::size_t i = 0; i < read.rows.size(); ++i) {
    SCOPED_TRACE(written.rows[i].name);
    const Row& a = read.rows[i];
    const Row& b = written.rows[i];
    EXPECT_EQ(a.name, b.name);
    for (const double Row::*field :
         {&Row::gammaT, &Row::phi, &Row::c, &Row::gammaSat, &Row::phiSat, &Row::cSat}) {
      EXPECT_DOUBLE_EQ(a.*field, b.*field);
    }
  }
}

CRefGeology Edited() {
  CRefGeology table;
  table.comment = "編集済み";
  table.rows = {{"砂A", 20, 35, 0, 20, kNoValue, kNoValue}, {"粘土", 16.5, 12.25, 30, 17, 10, 5}};
  return table;
}

TEST(RefGeologyTest, DefaultTableHasSeventeenSoils) {
  const CRefGeology table;
  EXPECT_EQ(table.comment, "デフォルトのデータ");
  ASSERT_EQ(table.rows.size(), 17u);
  EXPECT_EQ(table.rows[0], (Row{"礫A", 20, 40, 0, 20, kNoValue, kNoValue}));
  EXPECT_EQ(table.rows[6], (Row{"砂質土A", 19, 30, 30, 19, kNoValue, kNoValue}));
  EXPECT_EQ(table.rows[14], (Row{"関東ローム", 14, 5, 30, 14, kNoValue, kNoValue}));
  EXPECT_EQ(table.rows[16],
            (Row{"強風化砂岩・頁岩（B地区）", 15.2, 30, 17.6, 18.2, kNoValue, kNoValue}));
  for (const Row& row : table.rows) {
    EXPECT_EQ(row.phiSat, kNoValue) << row.name;
    EXPECT_EQ(row.cSat, kNoValue) << row.name;
  }

  CRefGeology reset = Edited();
  reset.Init();
  EXPECT_TRUE(reset.IsSame(table));
}

TEST(RefGeologyTest, IsSameComparesCommentAndEveryRow) {
  const CRefGeology base = Edited();
  CRefGeology other = Edited();
  EXPECT_TRUE(other.IsSame(base));
  other.comment = "別";
  EXPECT_FALSE(other.IsSame(base));
  other = Edited();
  other.rows[1].cSat = 5.0000001;
  EXPECT_FALSE(other.IsSame(base));
  other = Edited();
  other.rows.pop_back();
  EXPECT_FALSE(other.IsSame(base));
  CRefGeology copied;
  copied.Copy(base);
  EXPECT_TRUE(copied.IsSame(base));
}

// The names hold characters only CP932 has (①, ㎡) or maps its own way (～ is FF5E).
TEST(RefGeologyTest, FileIsCp932ByteForByteAndReadsBackEqual) {
  CRefGeology table;
  table.comment = "試験";
  table.rows = {{"\u2460\uFF5E\u33A1", 15.2, 30, 17.6, 18.2, kNoValue, kNoValue},
                {"", -1.005, 0.12345, kNoValue, 0, 45, 2.5}};
  const std::string path = PathIn("cp932.sxg");
  ASSERT_TRUE(table.WriteGeology(path, false));
  EXPECT_EQ(ReadFileBytes(path),
            SoilFile("試験", "2",
                     {{"\x87\x40\x81\x60\x87\x75", "15.20", "30.0000", "17.60", "18.20", "", ""},
                      {"", "-1.00", "0.1235", "", "0.00", "45.0000", "2.50"}}));

  CRefGeology read = Edited();
  ASSERT_TRUE(read.ReadGeology(path, false));
  CRefGeology expected = table;
  expected.rows[1].gammaT = -1.0;  // -1.005 was written with 2 decimals as "-1.00"
  expected.rows[1].phi = 0.1235;
  ExpectSameTable(read, expected);
}

TEST(RefGeologyTest, DefaultTableRoundTrips) {
  const std::string path = PathIn("default.sxg");
  ASSERT_TRUE(CRefGeology().WriteGeology(path, false));
  CRefGeology read = Edited();
  ASSERT_TRUE(read.ReadGeology(path, false));
  ExpectSameTable(read, CRefGeology());
}

TEST(RefGeologyTest, RowCountIsCutToTheRowsPresent) {
  const std::vector<std::array<std::string, 7>> five = {{"1", "", "", "", "", "", ""},
                                                        {"2", "", "", "", "", "", ""},
                                                        {"3", "", "", "", "", "", ""},
                                                        {"4", "", "", "", "", "", ""},
                                                        {"5", "", "", "", "", "", ""}};
  struct Case {
    const char* size;  // nullptr: no DOSITU_SIZE element
    std::size_t rows;
  };
  const Case cases[] = {{"3", 3}, {"7", 5}, {"5", 5},  {nullptr, 0},
                        {"", 0},  {"x", 0}, {"-2", 0}, {"0", 0}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.size == nullptr ? "none" : c.size);
    const std::string path = WriteSoilFile("sized.sxg", SoilFile("コメント", c.size, five));
    CRefGeology table = Edited();
    ASSERT_TRUE(table.ReadGeology(path, false));
    EXPECT_EQ(table.comment, "コメント");
    ASSERT_EQ(table.rows.size(), c.rows);
    for (std::size_t i = 0; i < c.rows; ++i) EXPECT_EQ(table.rows[i].name, std::to_string(i + 1));
  }
}

TEST(RefGeologyTest, NumbersAreTakenHalfUpToTheirWrittenDecimals) {
  const std::string path = WriteSoilFile(
      "decimals.sxg",
      SoilFile("", "1", {{"a", "18.125", "30.12345", " 7.555 ", "abc", "-0.00005", ""}}));
  CRefGeology table;
  ASSERT_TRUE(table.ReadGeology(path, false));
  ASSERT_EQ(table.rows.size(), 1u);
  const Row& row = table.rows[0];
  EXPECT_DOUBLE_EQ(row.gammaT, 18.13);
  EXPECT_DOUBLE_EQ(row.phi, 30.1235);
  EXPECT_DOUBLE_EQ(row.c, 7.56);
  EXPECT_EQ(row.gammaSat, kNoValue);
  EXPECT_DOUBLE_EQ(row.phiSat, 0.0);
  EXPECT_EQ(row.cSat, kNoValue);
}

// The truncated and malformed fixtures were readable up to their fault; nothing of them is taken.
TEST(RefGeologyTest, DamagedFilesLeaveTheTableAsItWas) {
  for (const char* name : {"settings-truncated.sxg", "settings-malformed.sxg",
                           "settings-entity-bomb.sxg", "settings-external-entity.sxg"}) {
    SCOPED_TRACE(name);
    SystemConfig::SetLastGeology("/last.sxg");
    CRefGeology table = Edited();
    EXPECT_FALSE(table.ReadGeology((fs::path(BRIXO_TEST_DATA) / name).string(), false));
    EXPECT_TRUE(table.IsSame(Edited()));
    EXPECT_EQ(SystemConfig::GetLastGeology(), "/last.sxg");
  }
}

TEST(RefGeologyTest, SuccessfulReadsAndWritesAreRemembered) {
  const std::string written = PathIn("remembered.sxg");
  ASSERT_TRUE(Edited().WriteGeology(written, true));
  EXPECT_EQ(SystemConfig::GetLastGeology(), written);
  SystemConfig::ResetLastGeology();
  SystemConfig::Read_DefFile();
  EXPECT_EQ(SystemConfig::GetLastGeology(), written);

  const std::string copy = PathIn("copy.sxg");
  fs::copy_file(written, copy);
  CRefGeology table;
  ASSERT_TRUE(table.ReadGeology(copy, true));
  EXPECT_EQ(SystemConfig::GetLastGeology(), copy);
  SystemConfig::ResetLastGeology();
  SystemConfig::Read_DefFile();
  EXPECT_EQ(SystemConfig::GetLastGeology(), copy);

  // Without the flag nothing is remembered.
  ASSERT_TRUE(table.ReadGeology(written, false));
  EXPECT_EQ(SystemConfig::GetLastGeology(), copy);
}

TEST(RefGeologyTest, AFailedReadForgetsTheLastFileWhenAskedToRemember) {
  SystemConfig::SetLastGeology("/last.sxg");
  SystemConfig::Update_DefFile();
  const fs::path defFile = SystemConfig::GetConfigFile(SystemConfig::kConfigDefFile);
  const std::string before = ReadFileBytes(defFile);
  CRefGeology table = Edited();
  EXPECT_FALSE(table.ReadGeology(PathIn("missing.sxg"), true));
  EXPECT_EQ(SystemConfig::GetLastGeology(), "");
  EXPECT_EQ(ReadFileBytes(defFile), before);
  EXPECT_TRUE(table.IsSame(Edited()));
}

// A folder that is a regular file stands for a read-only one: chmod does not stop root.
TEST(RefGeologyTest, AFailedWriteSaysSoAndKeepsTheOldFileAndTheRememberedPath) {
  const std::string old = PathIn("old.sxg");
  ASSERT_TRUE(CRefGeology().WriteGeology(old, true));
  const std::string oldBytes = ReadFileBytes(old);
  WriteFileBytes(DataDir() / "readonly", "x");

  TestUi().ExpectMessageBox(MsgResult::Ok, "XML : SHCreateStreamOnFile 失敗");
  EXPECT_FALSE(Edited().WriteGeology((DataDir() / "readonly" / "new.sxg").string(), true));
  EXPECT_EQ(SystemConfig::GetLastGeology(), old);
  EXPECT_EQ(ReadFileBytes(old), oldBytes);
  SystemConfig::ResetLastGeology();
  SystemConfig::Read_DefFile();
  EXPECT_EQ(SystemConfig::GetLastGeology(), old);
}

TEST(RefGeologyTest, AnEmptyPathAsksForTheFile) {
  SystemConfig::SetLastGeology(PathIn("tables/last.sxg"));
  const std::string chosen = PathIn("chosen.sxg");
  TestUi().ExpectFileDialog(fs::path(chosen));
  ASSERT_TRUE(Edited().WriteGeology("", false));
  TestUi().ExpectFileDialog(fs::path(chosen));
  CRefGeology read;
  ASSERT_TRUE(read.ReadGeology("", false));
  ExpectSameTable(read, Edited());

  const std::vector<FileDialogCall>& dialogs = TestUi().FileDialogs();
  ASSERT_EQ(dialogs.size(), 2u);
  EXPECT_EQ(dialogs[0].kind, FileDialogKind::Save);
  EXPECT_EQ(dialogs[1].kind, FileDialogKind::Open);
  for (const FileDialogCall& dialog : dialogs) {
    EXPECT_EQ(dialog.request.filter, "土質設定ファイル (*.sxg)|*.sxg||");
    EXPECT_EQ(dialog.request.defaultExtension, "sxg");
    EXPECT_EQ(dialog.request.folder, DataDir() / "tables");
  }

  // Cancel: nothing read, nothing written.
  TestUi().ExpectFileDialog(std::nullopt);
  EXPECT_FALSE(Edited().WriteGeology("", true));
  TestUi().ExpectFileDialog(std::nullopt);
  const CRefGeology before = read;
  EXPECT_FALSE(read.ReadGeology("", true));
  EXPECT_TRUE(read.IsSame(before));
  EXPECT_EQ(SystemConfig::GetLastGeology(), PathIn("tables/last.sxg"));
}

TEST(RefGeologyTest, RecordIsTheCountThenNameAndSixNumbersPerRow) {
  CRefGeology stored;
  stored.rows = {{"砂", 18, 30, 0, 19, kNoValue, kNoValue}, {"", 1, 2, 3, 4, 5, 6}};
  const auto bytes = RecordBytes()
                         .Int(2)
                         .Text(u"砂")
                         .Double(18)
                         .Double(30)
                         .Double(0)
                         .Double(19)
                         .Double(kNoValue)
                         .Double(kNoValue)
                         .Text(u"")
                         .Double(1)
                         .Double(2)
                         .Double(3)
                         .Double(4)
                         .Double(5)
                         .Double(6)
                         .Get();
  // Load gives the default comment whatever the target held.
  ExpectRecordContract<CRefGeology>(
      {.stored = stored, .version = 10, .bytes = bytes, .makeTarget = [] {
         auto target = std::make_unique<CRefGeology>(Edited());
         return target;
       }});
}

TEST(RefGeologyTest, RecordWithANegativeCountIsRefused) {
  CRefGeology table = Edited();
  Archive in(RecordBytes().Int(-1).Get());
  EXPECT_THROW(table.Load(in, 10), ArchiveException);
  EXPECT_TRUE(table.IsSame(Edited()));
}

}  // namespace
