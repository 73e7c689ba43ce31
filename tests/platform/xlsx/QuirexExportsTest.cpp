// The spreadsheet-writer library over libxlsxwriter: cell names, what its exports refuse, and a
// write that fails leaving the older file whole.

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "platform/ProgramDir.h"
#include "platform/xlsx/QuirexExports.h"
#include "platform/xlsx/XlsxBook.h"
#include "tests/support/TestFiles.h"

namespace {

// A folder of its own in the test's data folder.
std::filesystem::path Folder() {
  const std::filesystem::path folder = DataDir() / "xlsx";
  std::filesystem::create_directories(folder);
  return folder;
}

std::ptrdiff_t FileCount(const std::filesystem::path& folder) {
  return std::distance(std::filesystem::directory_iterator(folder),
                       std::filesystem::directory_iterator());
}

TEST(XlsxRange, ParsesCellsAndRanges) {
  const struct {
    const char* name;
    std::optional<XlsxRange> range;
  } cases[] = {
      {"A1", XlsxRange{0, 0, 0, 0}},
      {"b3", XlsxRange{2, 1, 2, 1}},
      {"C3:G4", XlsxRange{2, 2, 3, 6}},
      {"G4:C3", XlsxRange{2, 2, 3, 6}},
      {"AA10", XlsxRange{9, 26, 9, 26}},
      {"XFD1048576", XlsxRange{1048575, 16383, 1048575, 16383}},
      {"XFE1", std::nullopt},
      {"A1048577", std::nullopt},
      {"A0", std::nullopt},
      {"A", std::nullopt},
      {"11", std::nullopt},
      {"", std::nullopt},
      {"A1:", std::nullopt},
      {"A1B", std::nullopt},
      {"A99999999999999999999", std::nullopt},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ParseXlsxRange(c.name), c.range) << c.name;
  }
}

// Every export answers 0 for an unknown handle, and the cell calls for a handle without a
// started workbook, an open sheet or a selection.
TEST(QuirexExports, RefuseWhatTheyCannotDo) {
  EXPECT_EQ(QuirexStartCreate(-5, 2013), 0);
  EXPECT_EQ(QuirexRelease(-5), 0);
  int handle = 0;
  ASSERT_EQ(QuirexCreate(0, &handle), 1);
  EXPECT_NE(handle, 0);
  EXPECT_EQ(QuirexPageBeginW(handle, u"常時", u"1"), 0);
  EXPECT_EQ(QuirexStartCreate(handle, 2013), 1);
  EXPECT_EQ(QuirexCellW(handle, u"A1", 0, 0), 0);
  EXPECT_EQ(QuirexPageEnd(handle), 0);
  EXPECT_EQ(QuirexPageBeginW(handle, u"常時", u"1"), 1);
  EXPECT_EQ(QuirexPageBeginW(handle, u"地震時", u"1"), 0);
  EXPECT_EQ(QuirexPutValueLong(handle, 1), 0);
  EXPECT_EQ(QuirexCell(handle, "A0", 0, 0), 0);
  EXPECT_EQ(QuirexCell(handle, "B2:C3", 0, 0), 1);
  EXPECT_EQ(QuirexAttrPutBox(handle, 0x1000000, 1, 0x80000008), 1);
  EXPECT_EQ(QuirexPageEnd(handle), 1);
  EXPECT_EQ(QuirexAttrPutFit(handle, 1), 0);
  EXPECT_EQ(QuirexRelease(handle), 1);
  EXPECT_EQ(QuirexRelease(handle), 0);
}

struct ErrorSeen {
  std::vector<int> errors;
};

// A workbook that libxlsxwriter refuses (a sheet name Excel forbids) is not written: the export
// answers 0, reports the error through the callback, and the older file stays as it was.
TEST(QuirexExports, AFailedWriteKeepsTheOlderFile) {
  const std::filesystem::path target = Folder() / "book.xlsx";
  WriteFileBytes(target, "older file");
  int handle = 0;
  ASSERT_EQ(QuirexCreate(0, &handle), 1);
  ErrorSeen seen;
  QuirexSetOnErrorProc(
      handle,
      [](int error, void* context) { static_cast<ErrorSeen*>(context)->errors.push_back(error); },
      &seen);
  QuirexStartCreate(handle, 2013);
  QuirexPageBeginW(handle, u"a[1]", u"1");
  QuirexCellW(handle, u"A1", 0, 0);
  QuirexPutValueDouble(handle, 1.5);
  QuirexPageEnd(handle);
  EXPECT_EQ(QuirexOutFileW(handle, target.u16string().c_str(), -1), 0);
  EXPECT_EQ(seen.errors.size(), 1U);
  QuirexRelease(handle);
  EXPECT_EQ(ReadFileBytes(target), "older file");
  EXPECT_EQ(FileCount(Folder()), 1);
}

TEST(WriteThroughTemporary, ReplacesTheTargetOnlyWhenTheWriteSucceeded) {
  const std::filesystem::path target = Folder() / "file.bin";
  // A new file gets the permissions a plain new file gets.
  const std::filesystem::path plain = DataDir() / "plain.bin";
  WriteFileBytes(plain, "");
  const std::filesystem::perms expected = std::filesystem::status(plain).permissions();
  WriteFileBytes(target, "older");
  const auto writing = [](const char* bytes, bool result) {
    return [bytes, result](const std::filesystem::path& temporary) {
      EXPECT_EQ(temporary.parent_path(), Folder());
      WriteFileBytes(temporary, bytes);
      return result;
    };
  };
  EXPECT_FALSE(WriteThroughTemporary(target, writing("partial", false)));
  EXPECT_EQ(ReadFileBytes(target), "older");
  EXPECT_TRUE(WriteThroughTemporary(target, writing("newer", true)));
  EXPECT_EQ(ReadFileBytes(target), "newer");
  EXPECT_EQ(std::filesystem::status(target).permissions(), expected);
  EXPECT_FALSE(WriteThroughTemporary(Folder() / "missing" / "file.bin", writing("x", true)));
  EXPECT_EQ(FileCount(Folder()), 1);
}

}  // namespace
