// The case's reinforcement CSV import: the file dialog, the refusal of a file that cannot be read
// or is damaged (a message, the case unchanged), and a valid bolt list taken over with the bolts'
// real heights rebuilt on the registered seismic run.

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "core/base/Utility.h"
#include "core/case/Case.h"
#include "core/deformation/ReinfArrange.h"
#include "core/deformation/Reinforce.h"
#include "core/deformation/RfcCsvImport.h"
#include "core/model/PrmSlide.h"
#include "platform/Archive.h"
#include "platform/ProgramDir.h"
#include "platform/Text.h"
#include "tests/support/SampleDocument.h"
#include "tests/support/ScriptedUi.h"
#include "tests/support/TestFiles.h"

namespace {

namespace fs = std::filesystem;

constexpr int kVersion = 10;  // the document version this program writes

// A file from its lines, written in UTF-8 here and stored in CP932 as the producing program does.
std::string CsvFile(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) text += line + "\r\n";
  return Utf8ToCp932(text);
}

const std::vector<std::string> kBoltList = {"QX工法結果",
                                            "補強材一覧",
                                            "No,X,Y,SH,α,L,余長,S2,S3",
                                            "1,12,21,2.0,30,5,0.5,10,1",
                                            "2,16,23,2.0,30,5,0.5,6,2",
                                            ""};

class CaseRfcCsvTest : public testing::Test {
 protected:
  CaseRfcCsvTest() {
    FillSampleCase(case_, 0);
    before_.Copy(&case_);
  }

  // The dialog answers with a file holding these bytes.
  void ChooseFile(const std::string& bytes) {
    const fs::path file = DataDir() / "import.csv";
    WriteFileBytes(file, bytes);
    TestUi().ExpectFileDialog(file);
  }

  void ExpectUnchanged() {
    EXPECT_TRUE(case_.IsSame(&before_));
    EXPECT_TRUE(case_.GetReinfArrange().IsSame(before_.GetReinfArrange()));
    EXPECT_TRUE(case_.GetPrmSlide().IsSame(before_.GetPrmSlide()));
  }

  CCase case_;
  CCase before_;
};

TEST_F(CaseRfcCsvTest, CancelledOrRefusedFilesChangeNothing) {
  const struct {
    const char* what;
    std::optional<std::string> bytes;  // none: the dialog is cancelled
    std::optional<std::string> message;
  } cases[] = {
      {"cancelled", std::nullopt, std::nullopt},
      {"another first line", CsvFile({"QX", "補強材一覧", "", ""}), std::string(kRfcCsvBadFormat)},
      {"an empty field between used fields",
       CsvFile({"QX工法結果", "補強材一覧", "No,X,Y,SH,α,L,余長,S2,S3",
                "1,12,,21,2.0,30,5,0.5,10,1", ""}),
       std::nullopt},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    if (c.bytes) {
      ChooseFile(*c.bytes);
      TestUi().ExpectMessageBox(MsgResult::Ok, c.message);
    } else {
      TestUi().ExpectFileDialog(std::nullopt);
    }
    EXPECT_FALSE(case_.ImportRfcCsv());
    TestUi().VerifyAllAnswered();
    ExpectUnchanged();
  }
}

TEST_F(CaseRfcCsvTest, AFileThatCannotBeOpenedSaysSo) {
  TestUi().ExpectFileDialog(DataDir() / "missing.csv");
  TestUi().ExpectMessageBox(MsgResult::Ok, std::string(kRfcCsvCannotOpen));
  EXPECT_FALSE(case_.ImportRfcCsv());
  ExpectUnchanged();
}

TEST_F(CaseRfcCsvTest, BoltListReplacesTheBoltsAndTheirHeightsFollowTheSeismicRun) {
  ChooseFile(CsvFile(kBoltList));
  ASSERT_TRUE(case_.ImportRfcCsv());
  const CReinfArrange& bolts = case_.GetReinfArrange();
  ASSERT_EQ(bolts.GetSize(), 2);
  for (int i = 0; i < bolts.GetSize(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_NE(bolts.GetAt(i)->GetResult(CReinforce::kSetSeismic).H, kNoValue);
  }
  const CPrmSlide& slide = case_.GetPrmSlide();
  EXPECT_EQ(slide.deltaCMode, CPrmSlide::kDeltaCDerived);
  EXPECT_EQ(slide.s2, 16.0);
  EXPECT_EQ(slide.s3, 3.0);
}

// A range whose second point lies above its first: taken with the upper end first, the case
// stores and loads back into itself.
TEST_F(CaseRfcCsvTest, AnImportedRangeEqualsItselfStoredAndLoaded) {
  TestUi().ExpectFileDialog(fs::path(BRIXO_TEST_DATA) / "csv-range-order.csv");
  ASSERT_TRUE(case_.ImportRfcCsv());
  Archive out;
  case_.Store(out, kVersion);
  CCase loaded;
  Archive in(out.Bytes());
  loaded.Load(in, kVersion);
  EXPECT_TRUE(loaded.IsSame(&case_));
  EXPECT_TRUE(loaded.GetPrmReinf().IsSame(case_.GetPrmReinf()));
}

}  // namespace
