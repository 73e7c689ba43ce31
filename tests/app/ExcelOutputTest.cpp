// The Excel workbook of step 2 through the program's real main window: the sample document's
// active case, WM_APP_PRINT_EXCEL as the output selection dialog sends it, the save dialog and
// the completion question answered, and the workbook read back by openpyxl.

#include <gtest/gtest.h>

#include <QClipboard>
#include <QGuiApplication>
#include <QJsonArray>
#include <QJsonObject>
#include <cstdio>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "core/case/Case.h"
#include "core/case/ManageCore.h"
#include "platform/ProgramDir.h"
#include "stage/StageManage.h"
#include "stage/output/StagePrintExcel.h"
#include "tests/app/TestProgram.h"
#include "tests/support/SampleDocument.h"
#include "tests/support/ScriptedUi.h"
#include "tests/support/qt/XlsxReadBack.h"

namespace {

std::string Digits16(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%.16g", value);
  return text;
}

std::string Name(int column, int row) {
  return CStagePrintExcel::ToAlphabet(column) + std::to_string(row);
}

class ExcelOutputTest : public testing::Test {
 protected:
  ExcelOutputTest() { FillSampleDocument(p_.Core()); }
  CCase& Case() { return *p_.Core().GetActiveCase(); }

  TestProgram p_;
};

// Sheet k of the workbook against the case: texts, the minimum pair of the ordered list (pairs
// without Fs passed over, the first of equal ones), every pair's Fs to 16 digits, the fills, the
// number format and the lines.
void ExpectSheet(const QJsonObject& book, const CCase& source, int k, const QString& sheet) {
  const QJsonObject cells = book["sheets"][sheet]["cells"].toObject();
  const auto cell = [&](const std::string& name) {
    return cells[QString::fromStdString(name)].toObject();
  };
  const auto text = [&](const std::string& name) {
    return cell(name)["v"].toString().toStdString();
  };
  EXPECT_EQ(text("A2"), "各ブロックの安全率一覧");
  EXPECT_EQ(text("B3"), "捜索");
  EXPECT_EQ(text("C3"), "順位");
  EXPECT_EQ(text("D3"), "始点ブロック番号");
  EXPECT_TRUE(cell("E3")["v"].isNull());
  EXPECT_EQ(text("F3"), "終点ブロック番号");
  EXPECT_EQ(text("G3"), "安全率");
  EXPECT_EQ(text("I3"), "最小安全率");
  EXPECT_EQ(text("I4"), "Fsmin");
  EXPECT_EQ(text("I6"), "間隙水圧:");
  EXPECT_EQ(text("J6"), source.GetPrmStab().waterOn != 0 ? "考慮する" : "考慮しない");

  const auto fsOf = [k](const CMltPoint* point) { return k == 0 ? point->fsN : point->fsQ; };
  const std::vector<CMltPoint*>& list = source.GetResStab2().GetSerial();
  const CMltPoint* minimum = nullptr;
  for (const CMltPoint* point : list) {
    if (fsOf(point) != kNoValue && (minimum == nullptr || fsOf(point) < fsOf(minimum))) {
      minimum = point;
    }
  }
  ASSERT_NE(minimum, nullptr);
  EXPECT_EQ(cell("D4")["v"].toInt(), minimum->startBlock + 1);
  EXPECT_EQ(cell("F4")["v"].toInt(), minimum->endBlock + 1);
  EXPECT_EQ(Digits16(cell("G4")["v"].toDouble()), Digits16(fsOf(minimum)));
  EXPECT_EQ(Digits16(cell("J4")["v"].toDouble()), Digits16(fsOf(minimum)));

  std::set<std::string> filled{"C4", Name(minimum->startBlock + 2, 10),
                               Name(1, minimum->endBlock + 11)};
  for (const CMltPoint* point : list) {
    const std::string name = Name(point->startBlock + 2, point->endBlock + 11);
    const QJsonObject read = cell(name);
    if (fsOf(point) == kNoValue) {
      EXPECT_TRUE(read["v"].isNull() || read["v"].isUndefined()) << name;
      continue;
    }
    EXPECT_EQ(Digits16(read["v"].toDouble()), Digits16(fsOf(point))) << name;
    EXPECT_EQ(read["fmt"], "0.000") << name;
    EXPECT_EQ(read["border"], "tblr") << name;
    if (fsOf(point) == fsOf(minimum)) filled.insert(name);
  }
  std::set<std::string> readFilled;
  for (auto it = cells.begin(); it != cells.end(); ++it) {
    if (it.value().toObject()["fill"] == "FFFFCC00") readFilled.insert(it.key().toStdString());
  }
  EXPECT_EQ(readFilled, filled);
  for (const char* name : {"C3", "G3", "C4", "G4"}) EXPECT_EQ(cell(name)["border"], "tblr") << name;
  EXPECT_EQ(cell("A9")["border"], "tlr");
  EXPECT_EQ(cell("A10")["border"], "blr");
}

TEST_F(ExcelOutputTest, WritesTheSafetyFactorsOfTheActiveCase) {
  ASSERT_TRUE(CManageStage::IsAvailable(StageCommand::PrintExcel));
  QGuiApplication::clipboard()->setText(QStringLiteral("利用者のテキスト"));
  const std::filesystem::path path = DataDir() / "PrnFiles" / "safety.xlsx";
  TestUi().ExpectFileDialog(path);
  TestUi().ExpectMessageBox(MsgResult::No, "Excel 出力が完了しました。\nファイルを開きますか？");
  EXPECT_EQ(p_.Send(FrameMsg::WM_APP_PRINT_EXCEL, 0), 1);
  EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("利用者のテキスト"));

  const QJsonObject book = ReadXlsxBack(path);
  QJsonArray sheets;
  const CPrmStab& conditions = Case().GetPrmStab();
  if (conditions.IsNormal()) sheets.append(QStringLiteral("常時"));
  if (conditions.IsQuake()) sheets.append(QStringLiteral("地震時"));
  ASSERT_EQ(book["sheetnames"].toArray(), sheets);
  if (conditions.IsNormal()) ExpectSheet(book, Case(), 0, QStringLiteral("常時"));
  if (conditions.IsQuake()) ExpectSheet(book, Case(), 1, QStringLiteral("地震時"));
}

}  // namespace
