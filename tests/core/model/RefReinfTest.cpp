#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "core/model/RefReinf.h"
#include "core/model/SystemConfig.h"
#include "platform/ProgramDir.h"
#include "platform/Text.h"
#include "tests/support/ScriptedUi.h"
#include "tests/support/TestFiles.h"

namespace {

namespace fs = std::filesystem;

std::string PathIn(const char* name) { return (DataDir() / name).string(); }

// A bar file in UTF-8 up to the rows, which follow as given.
std::string BarFile(const std::string& comment, const std::string& body) {
  return Utf8ToCp932(
      "<?xml version=\"1.0\" encoding=\"Shift_JIS\"?>\n"
      "<ZELKO_Brixo>\n"
      "  <FILE>\n"
      "    <FILE_INFO>補強材設定</FILE_INFO>\n"
      "    <FILE_VER>1</FILE_VER>\n"
      "    <COMMENT>" +
      comment +
      "</COMMENT>\n"
      "  </FILE>\n"
      "  <APPLICATION>\n"
      "    <APP_NAME>RUrevavirazo</APP_NAME>\n"
      "    <APP_VER>1.03</APP_VER>\n"
      "    <NOTE></NOTE>\n"
      "  </APPLICATION>\n" +
      body + "</ZELKO_Brixo>\n");
}

CReinfStdBar Bar(const char* name, const char* kei, const char* remark, double w, double d,
                 double as, double drillD, double sigmaSaN, double sigmaSaQ) {
  CReinfStdBar bar;
  bar.name = name;
  bar.kei = kei;
  bar.remark = remark;
  bar.w = w;
  bar.d = d;
  bar.as = as;
  bar.drillD = drillD;
  bar.sigmaSaN = sigmaSaN;
  bar.sigmaSaQ = sigmaSaQ;
  return bar;
}

CRefReinf Edited() {
  CRefReinf table;
  table.comment = "編集済み";
  table.rows = {Bar("異形棒鋼", "D19", "SD345", 2.25, 19.1, 2.865, 45, 200, 300),
                Bar("ネジ節棒鋼", "D25", "", 3.98, 25.4, 5.067, 55, kNoValue, kNoValue)};
  return table;
}

TEST(RefReinfTest, DefaultTableIsOneD22Bar) {
  const CRefReinf table;
  EXPECT_EQ(table.comment, "デフォルトのデータ");
  ASSERT_EQ(table.rows.size(), 1u);
  EXPECT_TRUE(table.rows[0].IsSame(Bar("ネジ節棒鋼", "D22", "", 3.04, 21.2, 3.53, 50, 200, 300)));
  CRefReinf reset = Edited();
  reset.Default();
  EXPECT_TRUE(reset.IsSame(table));
}

TEST(RefReinfTest, DefaultTableIsWrittenWithItsDecimalsAndReadsBack) {
  const std::string path = PathIn("default.sxr");
  ASSERT_TRUE(CRefReinf().WriteReinf(path, false));
  EXPECT_EQ(ReadFileBytes(path), BarFile("デフォルトのデータ",
                                         "  <REINF_SIZE>1</REINF_SIZE>\n"
                                         "  <REINF>\n"
                                         "    <REINF_NAME>ネジ節棒鋼</REINF_NAME>\n"
                                         "    <REINF_KEI>D22</REINF_KEI>\n"
                                         "    <REINF_REMARK></REINF_REMARK>\n"
                                         "    <REINF_W>3.04</REINF_W>\n"
                                         "    <REINF_S_D>21.2</REINF_S_D>\n"
                                         "    <REINF_AS>3.530</REINF_AS>\n"
                                         "    <REINF_D>50.0</REINF_D>\n"
                                         "    <REINF_SIGMASA_N>200.0</REINF_SIGMASA_N>\n"
                                         "    <REINF_SIGMASA_Q>300.0</REINF_SIGMASA_Q>\n"
                                         "  </REINF>\n"));
  CRefReinf read = Edited();
  ASSERT_TRUE(read.ReadReinf(path, false));
  EXPECT_TRUE(read.IsSame(CRefReinf()));
}

TEST(RefReinfTest, TablesRoundTripWithUnsetValuesAndCp932Names) {
  CRefReinf table = Edited();
  table.rows[1].remark = "\u2460\uFF5E\u33A1";
  const std::string path = PathIn("edited.sxr");
  ASSERT_TRUE(table.WriteReinf(path, false));
  EXPECT_NE(ReadFileBytes(path).find("<REINF_REMARK>\x87\x40\x81\x60\x87\x75</REINF_REMARK>"),
            std::string::npos);
  CRefReinf read;
  ASSERT_TRUE(read.ReadReinf(path, false));
  EXPECT_TRUE(read.IsSame(table));
}

// Unlike the soil table, numbers are taken as written, not brought to their decimals.
TEST(RefReinfTest, NumbersAreReadExactlyAsWritten) {
  const std::string path = PathIn("exact.sxr");
  WriteFileBytes(path, BarFile("",
                               "<REINF_SIZE>1</REINF_SIZE><REINF>"
                               "<REINF_NAME>a</REINF_NAME><REINF_W>3.14159</REINF_W>"
                               "<REINF_AS>x</REINF_AS><REINF_D></REINF_D>"
                               "<REINF_SIGMASA_NM>99</REINF_SIGMASA_NM></REINF>"));
  CRefReinf table;
  ASSERT_TRUE(table.ReadReinf(path, false));
  ASSERT_EQ(table.rows.size(), 1u);
  EXPECT_TRUE(table.rows[0].IsSame(
      Bar("a", "", "", 3.14159, kNoValue, kNoValue, kNoValue, kNoValue, kNoValue)));
}

TEST(RefReinfTest, FileWithoutRowCountIsAnEmptyTableWithItsComment) {
  const std::string path = PathIn("nosize.sxr");
  WriteFileBytes(path, BarFile("説明", "<REINF><REINF_NAME>a</REINF_NAME></REINF>"));
  CRefReinf table = Edited();
  ASSERT_TRUE(table.ReadReinf(path, false));
  EXPECT_EQ(table.comment, "説明");
  EXPECT_TRUE(table.rows.empty());
}

TEST(RefReinfTest, TablesDifferingInOneRemarkAreNotTheSame) {
  CRefReinf other = Edited();
  other.rows[0].remark = "SD390";
  EXPECT_FALSE(other.IsSame(Edited()));
  other = Edited();
  other.comment.clear();
  EXPECT_FALSE(other.IsSame(Edited()));
  other = Edited();
  other.rows.pop_back();
  EXPECT_FALSE(other.IsSame(Edited()));
  CRefReinf copied;
  copied.Copy(Edited());
  EXPECT_TRUE(copied.IsSame(Edited()));
}

TEST(RefReinfTest, DamagedFilesLeaveTheTableAsItWas) {
  const std::string path = PathIn("damaged.sxr");
  const std::string whole =
      BarFile("壊れた", "<REINF_SIZE>1</REINF_SIZE><REINF><REINF_NAME>a</REINF_NAME></REINF>");
  for (const std::string& damaged : {whole.substr(0, whole.size() - 20),
                                     whole.substr(0, whole.find("</REINF>")) + "</REINF_SIZE>"}) {
    WriteFileBytes(path, damaged);
    CRefReinf table = Edited();
    EXPECT_FALSE(table.ReadReinf(path, true));
    EXPECT_TRUE(table.IsSame(Edited()));
    EXPECT_EQ(SystemConfig::GetLastReinf(), "");
  }
}

TEST(RefReinfTest, AFailedWriteSaysSoAndKeepsTheRememberedPath) {
  const std::string old = PathIn("old.sxr");
  ASSERT_TRUE(CRefReinf().WriteReinf(old, true));
  EXPECT_EQ(SystemConfig::GetLastReinf(), old);
  WriteFileBytes(DataDir() / "readonly", "x");
  TestUi().ExpectMessageBox(MsgResult::Ok, "XML : SHCreateStreamOnFile 失敗");
  EXPECT_FALSE(Edited().WriteReinf((DataDir() / "readonly" / "new.sxr").string(), true));
  EXPECT_EQ(SystemConfig::GetLastReinf(), old);
  CRefReinf read;
  ASSERT_TRUE(read.ReadReinf(old, false));
  EXPECT_TRUE(read.IsSame(CRefReinf()));
}

TEST(RefReinfTest, AnEmptyPathAsksForABarFile) {
  SystemConfig::SetLastReinf(PathIn("bars/last.sxr"));
  const std::string chosen = PathIn("chosen.sxr");
  TestUi().ExpectFileDialog(fs::path(chosen));
  ASSERT_TRUE(Edited().WriteReinf("", true));
  EXPECT_EQ(SystemConfig::GetLastReinf(), chosen);
  const FileDialogCall& dialog = TestUi().FileDialogs().at(0);
  EXPECT_EQ(dialog.kind, FileDialogKind::Save);
  EXPECT_EQ(dialog.request.filter, "補強材設定ファイル (*.sxr)|*.sxr||");
  EXPECT_EQ(dialog.request.defaultExtension, "sxr");
  EXPECT_EQ(dialog.request.folder, DataDir() / "bars");
}

}  // namespace
