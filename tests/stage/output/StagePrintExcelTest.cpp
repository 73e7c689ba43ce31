// The Excel workbook of step 2: the cell-name helpers, the Cell operations on a recording table
// of exports, and whole runs of ExcelStart through the real spreadsheet-writer library, each
// workbook read back by openpyxl.

#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QString>
#include <algorithm>
#include <climits>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "core/base/CoreConfig.h"
#include "core/case/ManageCore.h"
#include "core/stability/Block.h"
#include "platform/ProgramDir.h"
#include "stage/output/Quirex.h"
#include "stage/output/StagePrintExcel.h"
#include "tests/stage/dialogs/StabResultsTestSupport.h"
#include "tests/stage/output/RecordingQuirex.h"
#include "tests/support/ScriptedUi.h"
#include "tests/support/TestFiles.h"
#include "tests/support/qt/XlsxReadBack.h"

namespace {

using Calls = std::vector<std::string>;

const std::string kDone = "Excel 出力が完了しました。\nファイルを開きますか？";
const std::string kNothing = "Excel に出力する安全率がありません。";
const QString kNormal = QStringLiteral("常時");
const QString kSeismic = QStringLiteral("地震時");
constexpr const char* kFill = "FFFFCC00";

// Numbers are kept to 16 significant digits; texts and empty cells must match exactly.
std::string Digits16(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%.16g", value);
  return text;
}

::testing::AssertionResult SameValue(const QJsonValue& read, const QJsonValue& expected) {
  const bool same = read.isDouble() && expected.isDouble()
                        ? Digits16(read.toDouble()) == Digits16(expected.toDouble())
                        : read == expected;
  if (same) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure()
         << "read " << QJsonDocument(QJsonArray{read}).toJson(QJsonDocument::Compact).toStdString()
         << ", expected "
         << QJsonDocument(QJsonArray{expected}).toJson(QJsonDocument::Compact).toStdString();
}

TEST(ExcelCellNames, ToAlphabet) {
  const struct {
    int column;
    const char* letters;
  } cases[] = {{1, "A"},   {2, "B"},    {26, "Z"},    {27, "AA"}, {28, "AB"},
               {52, "AZ"}, {702, "ZZ"}, {703, "AAA"}, {0, ""},    {-3, ""}};
  for (const auto& c : cases) {
    EXPECT_EQ(CStagePrintExcel::ToAlphabet(c.column), c.letters) << c.column;
  }
}

TEST(ExcelCellNames, ColumnAndRowOfACellName) {
  const struct {
    const char* cell;
    const char* name;
    int column;
    int row;
  } cases[] = {
      {"B12", "B", 2, 12},
      {"ab7", "AB", 28, 7},
      {"AB3", "AB", 28, 3},
      {"C10", "C", 3, 10},
      {"A1:B2", "A", 1, 3},
      {"ZZ1", "ZZ", 702, 1},
      {"12", "", 0, 12},
      {"", "", 0, 0},
      {"xfd1048576", "XFD", 16384, 1048576},
      {"ABCDEFGH1", "ABCDEFGH", INT_MAX, 1},
      {"A99999999999", "A", 1, INT_MAX},
      {"A2147483647:B1", "A", 1, INT_MAX},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(CStagePrintExcel::GetColumnName(c.cell), c.name) << c.cell;
    EXPECT_EQ(CStagePrintExcel::GetColumnIndex(c.cell), c.column) << c.cell;
    EXPECT_EQ(CStagePrintExcel::GetRowIndex(c.cell), c.row) << c.cell;
  }
}

class ExcelCellTest : public testing::Test {
 protected:
  ExcelCellTest() {
    ResetRecordingQuirex();
    report_.Create();
    ResetRecordingQuirex();
  }
  const QuirexExports table_ = RecordingQuirex();
  CQuirex report_{table_};
  CStagePrintExcel writer_{table_};
};

TEST_F(ExcelCellTest, CellOperationsSelectAndPut) {
  writer_.SetReportObject(&report_);
  const struct {
    void (*write)(const CStagePrintExcel&);
    Calls calls;
  } cases[] = {
      {[](const CStagePrintExcel& w) { w.Cell("B3", "捜索"); }, {"CellW B3", "StringW 捜索"}},
      {[](const CStagePrintExcel& w) { w.Cell("C4", 1); }, {"CellW C4", "Long 1"}},
      {[](const CStagePrintExcel& w) { w.Cell("C4", INT_MIN); }, {"CellW C4", "Long -2147483648"}},
      {[](const CStagePrintExcel& w) { w.Cell("G4", 2.0); }, {"CellW G4", "Long 2"}},
      {[](const CStagePrintExcel& w) { w.Cell("G4", 1.25); }, {"CellW G4", "Double 1.25"}},
      {[](const CStagePrintExcel& w) { w.Cell("G4", 3e9); }, {"CellW G4", "Double 3000000000"}},
      {[](const CStagePrintExcel& w) { w.Cell("J4", 7.0, 7.0); }, {}},
      {[](const CStagePrintExcel& w) { w.Cell("J4", 7.0, kNoValue); }, {"CellW J4", "Long 7"}},
      {[](const CStagePrintExcel& w) { w.Cell("J4", 2.5, kNoValue); }, {"CellW J4", "Double 2.5"}},
  };
  for (const auto& c : cases) {
    ResetRecordingQuirex();
    c.write(writer_);
    EXPECT_EQ(RecordedQuirexCalls(), c.calls);
  }
}

TEST_F(ExcelCellTest, CellOperationsDoNothingWithoutAReportObject) {
  writer_.Cell("B3", "捜索");
  writer_.Cell("C4", 1);
  writer_.Cell("G4", 2.5);
  writer_.Cell("J4", 7.0, kNoValue);
  EXPECT_EQ(RecordedQuirexCalls(), Calls{});
}

// The case of the workbook tests: four blocks, a pair for every start before every end, normal
// Fs as given (seismic one more), both load cases on, pore pressure considered.
class ExcelWorkbookTest : public testing::Test {
 protected:
  ExcelWorkbookTest() {
    core_.InitCore(0);
    Case().GetPrmJobsite().names[1] = "盛土/A";
    Case().GetBlockList().CopyBlock(std::vector<CBlock>(4));
    Case().GetPrmStab().waterOn = 1;
    FillResults(
        [](int start, int end) -> std::optional<double> { return 1.0 + start + 0.1 * end; });
    writer_.SetCase(&Case());
    writer_.SetPrnInfo(&core_.GetPrnInfo());
    writer_.SetPath((DataDir() / "PrnFiles" / "").string());
  }

  CCase& Case() { return *core_.GetActiveCase(); }
  void FillResults(const PairFs& fs) { FillHandResults(Case().GetResStab2(), 4, fs); }
  std::filesystem::path Target() const { return DataDir() / "out.xlsx"; }

  // ExcelStart with the file dialog answered by the path and the completion question by No.
  int Run(const std::filesystem::path& path) {
    TestUi().ExpectFileDialog(path);
    TestUi().ExpectMessageBox(MsgResult::No, kDone);
    return writer_.ExcelStart(1, 0, 0);
  }
  QJsonObject RunAndRead() {
    EXPECT_NE(Run(Target()), 0);
    return ReadXlsxBack(Target());
  }
  static QJsonObject At(const QJsonObject& book, const QString& sheet, const char* cell) {
    return XlsxCell(book, sheet, QString::fromUtf8(cell));
  }
  // The cell's value; null for an empty cell.
  static QJsonValue ValueAt(const QJsonObject& book, const QString& sheet, const char* cell) {
    const QJsonValue value = At(book, sheet, cell)["v"];
    return value.isUndefined() ? QJsonValue() : value;
  }
  // The cells of the sheet that are filled.
  static std::vector<std::string> FilledCells(const QJsonObject& book, const QString& sheet) {
    std::vector<std::string> filled;
    const QJsonObject cells = book["sheets"][sheet]["cells"].toObject();
    for (auto it = cells.begin(); it != cells.end(); ++it) {
      if (it.value().toObject()["fill"].toString() == QString::fromUtf8(kFill)) {
        filled.push_back(it.key().toStdString());
      }
    }
    return filled;
  }

  CManageCore core_;
  CStagePrintExcel writer_;
};

// Four blocks: start heads 1-3 in B10:D10, end heads 1-4 in A11:A14, the pair (0, 2) in B13;
// the upper rows as written, the minimum pair (0, 1) with Fs 1.1 highlighted.
TEST_F(ExcelWorkbookTest, FourBlocks) {
  const QJsonObject book = RunAndRead();
  EXPECT_EQ(book["sheetnames"].toArray(), (QJsonArray{kNormal, kSeismic}));
  const struct {
    const char* cell;
    QJsonValue value;
  } cells[] = {
      {"A2", "各ブロックの安全率一覧"},
      {"B3", "捜索"},
      {"C3", "順位"},
      {"D3", "始点ブロック番号"},
      {"E3", {}},
      {"F3", "終点ブロック番号"},
      {"G3", "安全率"},
      {"C4", 1},
      {"D4", 1},
      {"E4", "～"},
      {"F4", 2},
      {"G4", 1.1},
      {"I3", "最小安全率"},
      {"I4", "Fsmin"},
      {"J4", 1.1},
      {"I6", "間隙水圧:"},
      {"J6", "考慮する"},
      {"A9", "始点ブロック番号"},
      {"A10", "終点ブロック番号"},
      {"B10", 1},
      {"C10", 2},
      {"D10", 3},
      {"E10", {}},
      {"A11", 1},
      {"A12", 2},
      {"A13", 3},
      {"A14", 4},
      {"A15", {}},
      {"B12", 1.1},
      {"B13", 1.2},
      {"B14", 1.3},
      {"C13", 2.2},
      {"C14", 2.3},
      {"D14", 3.3},
      {"B11", {}},
      {"C12", {}},
      {"D13", {}},
  };
  for (const auto& c : cells) {
    EXPECT_TRUE(SameValue(ValueAt(book, kNormal, c.cell), c.value)) << c.cell;
  }
  // The seismic sheet: the seismic Fs, one more.
  EXPECT_TRUE(SameValue(ValueAt(book, kSeismic, "B13"), 2.2));
  EXPECT_TRUE(SameValue(ValueAt(book, kSeismic, "J4"), 2.1));

  EXPECT_EQ(FilledCells(book, kNormal), (std::vector<std::string>{"A12", "B10", "B12", "C4"}));
  for (const char* cell : {"G4", "J4", "B12", "D14", "B11", "D11"}) {
    EXPECT_EQ(At(book, kNormal, cell)["fmt"], "0.000") << cell;
  }
  EXPECT_EQ(At(book, kNormal, "A11")["fmt"], "General");
  EXPECT_EQ(At(book, kNormal, "E4")["h"], "center");
  EXPECT_EQ(At(book, kNormal, "A9")["h"], "center");
  EXPECT_EQ(At(book, kNormal, "D10")["h"], "center");
  EXPECT_EQ(At(book, kNormal, "A14")["h"], "center");
  EXPECT_TRUE(At(book, kNormal, "D3")["shrink"].toBool());
  EXPECT_TRUE(At(book, kNormal, "A10")["shrink"].toBool());
  EXPECT_EQ(book["sheets"][kNormal]["active"], "A1");
}

// Thin lines: outline and inner lines on C3:G4 and on the matrix, the outline only on A9:A10 and
// on each column's two heads.
TEST_F(ExcelWorkbookTest, Boxes) {
  const QJsonObject book = RunAndRead();
  const struct {
    const char* cell;
    const char* sides;
  } cells[] = {
      {"C3", "tblr"},  {"E3", "tblr"},  {"G4", "tblr"}, {"B11", "tblr"}, {"C12", "tblr"},
      {"D14", "tblr"}, {"A11", "tblr"}, {"A9", "tlr"},  {"A10", "blr"},  {"B9", "tlr"},
      {"D10", "blr"},  {"H4", ""},      {"E9", ""},     {"E14", ""},     {"A15", ""},
  };
  for (const auto& c : cells) {
    EXPECT_EQ(At(book, kNormal, c.cell)["border"].toString().toStdString(), c.sides) << c.cell;
  }
  EXPECT_EQ(At(book, kNormal, "C3")["borderColor"], "FF000000");
}

// A pair without Fs leaves its cell empty and never holds the minimum: its unset value is below
// every safety factor, wherever the list holds it (the ascending order puts it last).
TEST_F(ExcelWorkbookTest, APairWithoutFsIsNotTheMinimum) {
  FillResults([](int start, int end) -> std::optional<double> {
    if (start == 0 && end == 3) return kNoValue;
    return 1.0 + start + 0.1 * end;
  });
  ASSERT_EQ(Case().GetResStab2().GetSerial().back()->fsN, kNoValue);
  const QJsonObject book = RunAndRead();
  EXPECT_EQ(ValueAt(book, kNormal, "B14"), QJsonValue());
  EXPECT_EQ(ValueAt(book, kNormal, "D4"), 1);
  EXPECT_EQ(ValueAt(book, kNormal, "F4"), 2);
  EXPECT_TRUE(SameValue(ValueAt(book, kNormal, "G4"), 1.1));
  EXPECT_TRUE(SameValue(ValueAt(book, kNormal, "J4"), 1.1));
  EXPECT_EQ(FilledCells(book, kNormal), (std::vector<std::string>{"A12", "B10", "B12", "C4"}));
}

// Of two pairs with the smallest Fs the first of the list names rows 3-4 and the heads; every
// matrix cell with that Fs is highlighted.
TEST_F(ExcelWorkbookTest, TiedMinimum) {
  FillResults([](int start, int end) -> std::optional<double> {
    return (start == 0 && end == 2) || (start == 2 && end == 3) ? 0.9 : 1.5;
  });
  const CMltPoint* first = Case().GetResStab2().GetSerial().front();
  ASSERT_EQ(first->fsN, 0.9);
  const int start = first->startBlock + 1;
  const int end = first->endBlock + 1;
  const QJsonObject book = RunAndRead();
  EXPECT_EQ(ValueAt(book, kNormal, "D4"), start);
  EXPECT_EQ(ValueAt(book, kNormal, "F4"), end);
  const std::string startHead = CStagePrintExcel::ToAlphabet(start + 1) + "10";
  const std::string endHead = "A" + std::to_string(end + 10);
  std::vector<std::string> expected{"B13", "C4", "D14", startHead, endHead};
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(FilledCells(book, kNormal), expected);
}

TEST_F(ExcelWorkbookTest, OnlyTheLoadCasesSwitchedOnGetASheet) {
  Case().GetPrmStab().quakeOn = 0;
  EXPECT_EQ(RunAndRead()["sheetnames"].toArray(), QJsonArray{kNormal});
  Case().GetPrmStab().quakeOn = 1;
  Case().GetPrmStab().normalOn = 0;
  EXPECT_EQ(RunAndRead()["sheetnames"].toArray(), QJsonArray{kSeismic});
}

TEST_F(ExcelWorkbookTest, ZeroDecimalsGiveTheFormatZeroPoint) {
  CUnitFilter filter = CCoreConfig::GetUnitFilter();
  filter.digitsSafetyFactor = 0;
  CCoreConfig::SetUnitFilter(filter);
  const QJsonObject book = RunAndRead();
  EXPECT_EQ(At(book, kNormal, "B12")["fmt"], "0.");
  EXPECT_EQ(At(book, kNormal, "G4")["fmt"], "0.");
}

// Without results, with neither load case on, or for another kind there is nothing to write:
// the user is told so before any file is chosen, and no file is written.
TEST_F(ExcelWorkbookTest, NothingToWrite) {
  const struct {
    const char* what;
    void (*prepare)(CCase&);
    int kind;
  } cases[] = {
      {"no results", [](CCase& c) { c.GetResStab2().DeleteResultAll(); }, 0},
      {"no load case",
       [](CCase& c) {
         c.GetPrmStab().normalOn = 0;
         c.GetPrmStab().quakeOn = 0;
       },
       0},
      {"leading mode", [](CCase& c) { c.GetPrmStab().leadMode = 1; }, 0},
      {"another kind", [](CCase&) {}, 1},
  };
  for (const auto& c : cases) {
    CManageCore core;
    core.InitCore(0);
    CCase& target = *core.GetActiveCase();
    target.GetBlockList().CopyBlock(std::vector<CBlock>(4));
    FillHandResults(target.GetResStab2(), 4, [](int, int) -> std::optional<double> { return 1.5; });
    c.prepare(target);
    CStagePrintExcel writer;
    writer.SetCase(&target);
    TestUi().ExpectMessageBox(MsgResult::Ok, kNothing);
    EXPECT_EQ(writer.ExcelStart(1, c.kind, 0), 0) << c.what;
    EXPECT_TRUE(TestUi().FileDialogs().empty()) << c.what;
    EXPECT_FALSE(std::filesystem::exists(Target())) << c.what;
  }
}

TEST_F(ExcelWorkbookTest, CancelledFileChoiceWritesNothing) {
  TestUi().ExpectFileDialog(std::nullopt);
  EXPECT_EQ(writer_.ExcelStart(1, 0, 0), 0);
  EXPECT_TRUE(TestUi().MessageBoxes().empty());
}

// The save dialog offers the xlsx filter in the data folder's print folder, proposing the case
// name made safe for a file name.
TEST_F(ExcelWorkbookTest, TheSaveDialogProposesTheSafeCaseName) {
  RunAndRead();
  ASSERT_EQ(TestUi().FileDialogs().size(), 1U);
  const FileDialogCall& call = TestUi().FileDialogs().front();
  EXPECT_EQ(call.kind, FileDialogKind::Save);
  EXPECT_EQ(call.request,
            (FileDialogRequest{"Excel ブック(*.xlsx)|*.xlsx|すべて|*.*||", "xlsx",
                               DataDir() / "PrnFiles", "各ブロックの安全率一覧_盛土_A"}));
  EXPECT_TRUE(std::filesystem::is_directory(DataDir() / "PrnFiles"));
}

// A file that cannot be written is named in a message, the run answers 0 and an older file stays
// as it was; the temporary file is gone.
TEST_F(ExcelWorkbookTest, AFailedWriteSaysSoAndKeepsTheOlderFile) {
  const std::filesystem::path missing = DataDir() / "missing" / "out.xlsx";
  TestUi().ExpectFileDialog(missing);
  TestUi().ExpectMessageBox(MsgResult::Ok,
                            "Excel ファイルを書き込めませんでした。\n" + missing.string());
  EXPECT_EQ(writer_.ExcelStart(1, 0, 0), 0);
  EXPECT_FALSE(std::filesystem::exists(missing.parent_path()));

  // A folder in the target's place cannot be replaced by the file.
  const std::filesystem::path folder = DataDir() / "taken.xlsx";
  std::filesystem::create_directory(folder);
  WriteFileBytes(folder / "older", "older file");
  TestUi().ExpectFileDialog(folder);
  TestUi().ExpectMessageBox(MsgResult::Ok,
                            "Excel ファイルを書き込めませんでした。\n" + folder.string());
  EXPECT_EQ(writer_.ExcelStart(1, 0, 0), 0);
  EXPECT_EQ(ReadFileBytes(folder / "older"), "older file");
  for (const auto& entry : std::filesystem::directory_iterator(DataDir())) {
    EXPECT_EQ(entry.path().filename().string().rfind(".taken.xlsx", 0), std::string::npos)
        << entry.path();
  }
}

// An existing workbook is replaced whole.
TEST_F(ExcelWorkbookTest, ReplacesAnOlderFile) {
  WriteFileBytes(Target(), "older file");
  EXPECT_EQ(RunAndRead()["sheetnames"].toArray().size(), 2);
}

TEST_F(ExcelWorkbookTest, OpensTheWrittenFileOnYes) {
  TestUi().ExpectFileDialog(Target());
  TestUi().ExpectMessageBox(MsgResult::Yes, kDone);
  TestUi().ExpectOpenInViewer(true);
  EXPECT_EQ(writer_.ExcelStart(1, 0, 0), 1);
  EXPECT_EQ(TestUi().ViewerOpens(), std::vector<std::filesystem::path>{Target()});

  TestUi().ExpectFileDialog(Target());
  TestUi().ExpectMessageBox(MsgResult::Yes, kDone);
  TestUi().ExpectOpenInViewer(false);
  TestUi().ExpectMessageBox(
      MsgResult::Ok, "このファイルを開くアプリケーションが見つかりません。\n" + Target().string());
  EXPECT_EQ(writer_.ExcelStart(1, 0, 0), 1);
  EXPECT_EQ(TestUi().MessageBoxes().back().caption, "エラー");
}

// The library called in the order of one run, on a recording table; a library that cannot be
// started is told, writes nothing, and leaves no report object behind.
TEST_F(ExcelWorkbookTest, CallsTheLibraryInTheOrderOfOneRun) {
  ResetRecordingQuirex();
  const QuirexExports table = RecordingQuirex();
  CStagePrintExcel writer(table);
  writer.SetCase(&Case());
  TestUi().ExpectFileDialog(Target());
  TestUi().ExpectMessageBox(MsgResult::No, kDone);
  EXPECT_EQ(writer.ExcelStart(1, 0, 0), 1);
  std::vector<std::string> outline;
  for (const std::string& call : RecordedQuirexCalls()) {
    if (call.rfind("Create", 0) == 0 || call.rfind("Set", 0) == 0 || call.rfind("Start", 0) == 0 ||
        call.rfind("Excel", 0) == 0 || call.rfind("Default", 0) == 0 ||
        call.rfind("Page", 0) == 0 || call.rfind("OutFile", 0) == 0 ||
        call.rfind("Release", 0) == 0) {
      outline.push_back(call);
    }
  }
  EXPECT_EQ(outline, (Calls{"Create 1", "SetOnErrorProc 1", "SetOnProgressProc 1",
                            "StartCreate 2013", "ExcelMode 1", "DefaultCellW A1",
                            "PageBeginW 常時 1", "PageEnd", "PageBeginW 地震時 1", "PageEnd",
                            "OutFileW " + Target().string() + " -1", "Release 1"}));
  // The attribute steps of row 4 select by a narrow name.
  for (const char* cell : {"Cell C4", "Cell E4", "Cell G4", "Cell J4"}) {
    EXPECT_NE(std::find(RecordedQuirexCalls().begin(), RecordedQuirexCalls().end(), cell),
              RecordedQuirexCalls().end())
        << cell;
  }

  ResetRecordingQuirex(0);
  TestUi().ExpectFileDialog(Target());
  TestUi().ExpectMessageBox(MsgResult::Ok, "Excel出力モジュールが起動できません");
  EXPECT_EQ(writer.ExcelStart(1, 0, 0), 0);
  EXPECT_EQ(RecordedQuirexCalls().back(), "Release 1");
  ResetRecordingQuirex();
  writer.Cell("A1", 1);
  EXPECT_EQ(RecordedQuirexCalls(), Calls{});
}

}  // namespace
