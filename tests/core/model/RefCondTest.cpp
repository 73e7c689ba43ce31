#include <gtest/gtest.h>

#include <array>
#include <bit>
#include <cstdint>
#include <filesystem>
#include <limits>
#include <string>
#include <vector>

#include "core/model/RefCond.h"
#include "core/model/SystemConfig.h"
#include "platform/Archive.h"
#include "platform/ProgramDir.h"
#include "tests/support/RecordBytes.h"
#include "tests/support/TestFiles.h"

namespace {

// The values are process-wide: every test leaves the defaults behind.
class RefCondTest : public testing::Test {
 protected:
  void TearDown() override { CRefCond::Default(); }
};

using Values = std::array<double, 8>;

Values Current() {
  return {CRefCond::GetKiretuHizumi(), CRefCond::GetKyokuHizumi(),  CRefCond::GetGammaref(),
          CRefCond::GetTRNmax(),       CRefCond::GetSuberiHizumi(), CRefCond::GetSendanHizumi(),
          CRefCond::GetKeiA(),         CRefCond::GetKeiB()};
}

void SetAll(const Values& v) {
  CRefCond::SetKiretuHizumi(v[0]);
  CRefCond::SetKyokuHizumi(v[1]);
  CRefCond::SetGammaref(v[2]);
  CRefCond::SetTRNmax(v[3]);
  CRefCond::SetSuberiHizumi(v[4]);
  CRefCond::SetSendanHizumi(v[5]);
  CRefCond::SetKeiA(v[6]);
  CRefCond::SetKeiB(v[7]);
}

const Values kDefaults{0.013, 0.052, 0.025, 2.39, 0.1, 0.05, 0.016, -1.7};
const Values kEdited{0.02, 0.06, 0.03, 3.0, 0.2, 0.07, 0.02, -2.0};

std::vector<std::uint8_t> EditedRecord() {
  RecordBytes bytes;
  for (const double v : kEdited) bytes.Double(v);
  return bytes.Get();
}

TEST_F(RefCondTest, DefaultsAndSettersOfTheEightValues) {
  EXPECT_EQ(Current(), kDefaults);
  SetAll(kEdited);
  EXPECT_EQ(Current(), kEdited);
  CRefCond::Default();
  EXPECT_EQ(Current(), kDefaults);
}

TEST_F(RefCondTest, EveryObjectShowsTheSameValues) {
  const CRefCond one;
  const CRefCond other;
  one.SetTRNmax(4.5);
  EXPECT_EQ(other.GetTRNmax(), 4.5);
}

TEST_F(RefCondTest, RecordIsTheEightValuesInOrder) {
  SetAll(kEdited);
  Archive out;
  CRefCond::Store(out, 10);
  EXPECT_EQ(out.Bytes(), EditedRecord());

  CRefCond::Default();
  Archive in(EditedRecord());
  CRefCond::Load(in, 10);
  EXPECT_EQ(in.Remaining(), 0u);
  EXPECT_EQ(Current(), kEdited);
}

TEST_F(RefCondTest, TruncatedRecordThrowsAndChangesNoValue) {
  const std::vector<std::uint8_t> full = EditedRecord();
  for (std::size_t length = 0; length < full.size(); ++length) {
    Archive in(std::vector<std::uint8_t>(full.begin(),
                                         full.begin() + static_cast<std::ptrdiff_t>(length)));
    EXPECT_THROW(CRefCond::Load(in, 10), ArchiveException) << length;
    EXPECT_EQ(Current(), kDefaults) << length;
  }
}

// ---- The reference-condition file

namespace fs = std::filesystem;

std::string CondPath(const char* name) { return (DataDir() / name).string(); }

// Header text, file version and the eight values, spelled out.
std::vector<std::uint8_t> CondFile(const Values& values, std::int32_t version = 1,
                                   std::u16string_view header = u"BRIXO_REF_COND_DOC") {
  RecordBytes bytes;
  bytes.Text(header).Int(version);
  for (const double v : values) bytes.Double(v);
  return bytes.Get();
}

std::string AsText(const std::vector<std::uint8_t>& bytes) {
  return std::string(bytes.begin(), bytes.end());
}

TEST_F(RefCondTest, FileIsTheHeaderTheVersionAndTheValues) {
  SetAll(kEdited);
  const std::string path = CondPath("edited.cond");
  ASSERT_TRUE(CRefCond::WriteCond(path, false));
  const std::string written = ReadFileBytes(path);
  EXPECT_EQ(written.size(), 108u);
  EXPECT_EQ(written, AsText(CondFile(kEdited)));
  EXPECT_EQ(SystemConfig::GetLastCond(), "");
  EXPECT_FALSE(fs::exists(SystemConfig::GetConfigFile(SystemConfig::kConfigDefFile)));
}

TEST_F(RefCondTest, WriteThenReadRestoresEveryValueBitForBit) {
  const Values odd{0.1 + 0.2, -0.0, 5e-324, -9e32, 1e308, -1.7, 0.016, 2.39};
  SetAll(odd);
  const std::string path = CondPath("odd.cond");
  ASSERT_TRUE(CRefCond::WriteCond(path, false));
  CRefCond::Default();
  ASSERT_TRUE(CRefCond::ReadCond(path, false));
  const Values read = Current();
  for (std::size_t i = 0; i < read.size(); ++i) {
    EXPECT_EQ(std::bit_cast<std::uint64_t>(read[i]), std::bit_cast<std::uint64_t>(odd[i])) << i;
  }
}

TEST_F(RefCondTest, RememberingMakesThePathTheLastFileInDefFile) {
  const std::string written = CondPath("written.cond");
  ASSERT_TRUE(CRefCond::WriteCond(written, true));
  EXPECT_EQ(SystemConfig::GetLastCond(), written);
  SystemConfig::ResetLastCond();
  SystemConfig::Read_DefFile();
  EXPECT_EQ(SystemConfig::GetLastCond(), written);

  const std::string copy = CondPath("copy.cond");
  fs::copy_file(written, copy);
  ASSERT_TRUE(CRefCond::ReadCond(copy, true));
  SystemConfig::ResetLastCond();
  SystemConfig::Read_DefFile();
  EXPECT_EQ(SystemConfig::GetLastCond(), copy);
}

TEST_F(RefCondTest, MissingFileForgetsTheLastFileButLeavesDefFile) {
  SystemConfig::SetLastCond("/old.cond");
  SystemConfig::Update_DefFile();
  const fs::path defFile = SystemConfig::GetConfigFile(SystemConfig::kConfigDefFile);
  const std::string before = ReadFileBytes(defFile);
  SetAll(kEdited);

  EXPECT_FALSE(CRefCond::ReadCond(CondPath("missing.cond"), true));
  EXPECT_EQ(SystemConfig::GetLastCond(), "");
  EXPECT_EQ(ReadFileBytes(defFile), before);
  EXPECT_EQ(Current(), kEdited);
}

// Only an exact reference-condition file of version 1 is read; anything else changes no value.
TEST_F(RefCondTest, ForeignShortLongAndLaterFilesAreRefused) {
  RecordBytes narrowHeader;
  narrowHeader.Narrow("BRIXO_REF_COND_DOC").Int(1);
  for (const double v : kEdited) narrowHeader.Double(v);
  std::vector<std::uint8_t> narrow = narrowHeader.Get();
  narrow.resize(108, 0);  // as long as a true file
  std::vector<std::uint8_t> longer = CondFile(kEdited);
  longer.push_back(0);
  struct Case {
    const char* what;
    std::vector<std::uint8_t> bytes;
  };
  const Case cases[] = {
      {"empty", {}},
      {"another header", CondFile(kEdited, 1, u"BRIXO_REF_COND_DOX")},
      {"a later version", CondFile(kEdited, 2)},
      {"version 0", CondFile(kEdited, 0)},
      {"one byte more", longer},
      {"the header in the narrow form", narrow},
  };
  const std::string path = CondPath("foreign.cond");
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    WriteFileBytes(path, AsText(c.bytes));
    SystemConfig::SetLastCond("/last.cond");
    EXPECT_FALSE(CRefCond::ReadCond(path, false));
    EXPECT_EQ(Current(), kDefaults);
    EXPECT_EQ(SystemConfig::GetLastCond(), "/last.cond");
    EXPECT_FALSE(CRefCond::ReadCond(path, true));
    EXPECT_EQ(SystemConfig::GetLastCond(), "");
  }
  const std::vector<std::uint8_t> whole = CondFile(kEdited);
  for (std::size_t length = 0; length < whole.size(); ++length) {
    WriteFileBytes(path, AsText(whole).substr(0, length));
    EXPECT_FALSE(CRefCond::ReadCond(path, false)) << length;
    EXPECT_EQ(Current(), kDefaults) << length;
  }
}

// A value that is not a finite number would reach every deformation check unguarded: a file that
// holds one is refused as a whole, whichever value it is.
TEST_F(RefCondTest, AFileWithAValueThatIsNotFiniteIsRefused) {
  const fs::path fixture = fs::path(BRIXO_TEST_DATA) / "refcond-nan-kei-a.cond";
  ASSERT_EQ(fs::file_size(fixture), 108u);
  SystemConfig::SetLastCond("/last.cond");
  EXPECT_FALSE(CRefCond::ReadCond(fixture.string(), false));
  EXPECT_EQ(Current(), kDefaults);
  EXPECT_EQ(SystemConfig::GetLastCond(), "/last.cond");

  const std::string path = CondPath("not-finite.cond");
  for (std::size_t index = 0; index < kEdited.size(); ++index) {
    for (const double bad :
         {std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity(),
          -std::numeric_limits<double>::infinity()}) {
      Values values = kEdited;
      values[index] = bad;
      WriteFileBytes(path, AsText(CondFile(values)));
      EXPECT_FALSE(CRefCond::ReadCond(path, false)) << index << " " << bad;
      EXPECT_EQ(Current(), kDefaults) << index << " " << bad;
    }
  }
}

TEST_F(RefCondTest, AFailedWriteReturnsFalseAndRemembersNothing) {
  WriteFileBytes(DataDir() / "plain", "x");
  SystemConfig::SetLastCond("/last.cond");
  EXPECT_FALSE(CRefCond::WriteCond((DataDir() / "plain" / "a.cond").string(), true));
  EXPECT_EQ(SystemConfig::GetLastCond(), "/last.cond");
  EXPECT_FALSE(fs::exists(SystemConfig::GetConfigFile(SystemConfig::kConfigDefFile)));
}

}  // namespace
