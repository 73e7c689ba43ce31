// The case list and the core facade: a whole document stored, loaded and refused.

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <stdexcept>
#include <vector>

#include "core/base/CoreConfig.h"
#include "core/base/CoreSettings.h"
#include "core/case/CaseArray.h"
#include "core/case/ManageCore.h"
#include "core/model/SystemConfig.h"
#include "platform/Archive.h"
#include "platform/ProgramDir.h"
#include "tests/core/case/DocumentBytes.h"
#include "tests/support/RecordBytes.h"
#include "tests/support/SampleDocument.h"
#include "tests/support/TestFiles.h"

namespace {

constexpr int kVersion = 10;

std::vector<std::uint8_t> StoredCore(const CManageCore& core, int version = kVersion) {
  Archive ar;
  core.StoreCore(ar, version);
  return ar.Bytes();
}

void LoadCore(CManageCore& core, const std::vector<std::uint8_t>& bytes, int version = kVersion) {
  Archive ar(bytes);
  core.LoadCore(ar, version);
}

// Rounding rules that differ from the defaults in every field a document holds.
CUnitFilter OtherFilter() {
  CUnitFilter filter;
  filter.roundSwitch = 0;
  filter.digitsSafetyFactor = 2;
  filter.digitsCohesion = 1;
  filter.digitsSeismicCoefficient = 2;
  return filter;
}

// The sample document, filled once per test.
class SampleDocumentTest : public testing::Test {
 protected:
  SampleDocumentTest() { FillSampleDocument(document_); }
  CManageCore document_;
};

TEST_F(SampleDocumentTest, StoreLoadStoreGivesTheSameBytesAndEqualCases) {
  const std::vector<std::uint8_t> bytes = StoredCore(document_);
  CManageCore loaded;
  LoadCore(loaded, bytes);
  EXPECT_EQ(StoredCore(loaded), bytes);
  EXPECT_EQ(loaded.GetCaseArray().GetActiveCaseID(), 4);
  for (int i = 0; i < CCaseArray::kCaseCount; ++i) {
    const CCase* before = document_.GetCaseArray().GetCase(i);
    const CCase* after = loaded.GetCaseArray().GetCase(i);
    EXPECT_TRUE(after->IsSame(before)) << "case " << i;
    EXPECT_EQ(after->GetInUse(), before->GetInUse()) << "case " << i;
    EXPECT_EQ(after->GetResStab2().GetSerial().size(), before->GetResStab2().GetSerial().size());
    EXPECT_EQ(after->IsResStab(), before->IsResStab()) << "case " << i;
    EXPECT_EQ(after->IsResSlide(), before->IsResSlide()) << "case " << i;
    EXPECT_EQ(after->GetResSlide().rows, before->GetResSlide().rows) << "case " << i;
    EXPECT_EQ(after->IsResShear(), before->IsResShear()) << "case " << i;
    EXPECT_EQ(after->GetResShear().rows, before->GetResShear().rows) << "case " << i;
    EXPECT_FALSE(after->IsValid()) << "case " << i;
  }
  EXPECT_FALSE(loaded.IsModify());
}

// The list's frame, by hand: the rounding rules in force, the count 10, the active index, then
// the slots; an empty slot is its in-use flag alone.
TEST_F(SampleDocumentTest, TheListRecordStartsWithTheRulesTheCountAndTheActiveCase) {
  const std::vector<std::uint8_t> bytes = StoredCore(document_);
  RecordBytes head;
  AppendFilter(head, CCoreConfig::GetUnitFilter(), kVersion).Int(10).Int(4);
  ASSERT_GT(bytes.size(), head.Get().size() + 4);
  EXPECT_EQ(std::vector<std::uint8_t>(bytes.begin(), bytes.begin() + head.Get().size()),
            head.Get());
  RecordBytes tail;
  tail.Int(0).Int(0);  // slots 8 and 9
  tail.Raw(RecordOf(document_.GetPrnInfo(), kVersion));
  EXPECT_EQ(
      std::vector<std::uint8_t>(bytes.end() - static_cast<long>(tail.Get().size()), bytes.end()),
      tail.Get());
}

// ---- Older documents ----

struct VersionRow {
  int version;
  bool water;        // water, stability conditions and results from version 3
  bool shear;        // shear conditions and rope-net check from version 6
  bool prnSettings;  // print settings from version 8
};

TEST(OlderDocumentTest, EachVersionLoadsWhatItHoldsAndDefaultsTheRest) {
  const VersionRow rows[] = {{2, false, false, false}, {3, true, false, false},
                             {6, true, true, false},   {7, true, true, false},
                             {8, true, true, true},    {9, true, true, true}};
  CCase source;
  FillSampleCase(source, 1);
  const CCase defaults;
  CPrnInfo prn;
  prn.SetPrnMode(0, 2);
  prn.SetPrnMultiListOutFs(0);
  for (const VersionRow& row : rows) {
    SCOPED_TRACE(row.version);
    CManageCore core;
    LoadCore(core, OneCaseDocument(source, row.version, OtherFilter(), prn), row.version);
    CCase& loaded = *core.GetCaseArray().GetCase(0);
    EXPECT_EQ(loaded.GetInUse(), 1);
    EXPECT_TRUE(loaded.GetGround().IsSame(&source.GetGround()));
    EXPECT_EQ(loaded.GetBlockList().GetBlockSize(), source.GetBlockList().GetBlockSize());
    EXPECT_EQ(loaded.GetWater().GetSize() != 0, row.water);
    EXPECT_EQ(loaded.GetPrmStab().kh, row.water ? source.GetPrmStab().kh : kNoValue);
    EXPECT_EQ(loaded.IsResStab(), row.water);
    EXPECT_EQ(loaded.GetReinfArrange().GetSize(), row.water ? 3 : 0);
    EXPECT_EQ(loaded.IsResSlide(), row.water);
    EXPECT_EQ(loaded.GetPrmShear().theta, row.shear ? source.GetPrmShear().theta : kNoValue);
    EXPECT_EQ(loaded.GetResFocus().IsResult(), row.shear);
    EXPECT_EQ(loaded.IsResShear(), row.shear);
    EXPECT_EQ(core.GetCaseArray().GetCase(1)->GetInUse(), 0);
    // Print settings: reset (list output 1) before version 8, the list output 1 before 9.
    CPrnInfo& loadedPrn = core.GetPrnInfo();
    EXPECT_EQ(loadedPrn.GetPrnMode(0), row.prnSettings ? 2 : 0);
    EXPECT_EQ(loadedPrn.GetPrnMultiListOutFs(), row.version >= 9 ? 0 : 1);
    // The rules read are in force; a version-3 document has no Kh decimals and gets 3.
    CUnitFilter expected = OtherFilter();
    if (row.version < 4) expected.digitsSeismicCoefficient = 3;
    EXPECT_EQ(CCoreConfig::GetUnitFilter(), expected);
    EXPECT_FALSE(core.IsModify());
  }
  EXPECT_EQ(defaults.GetPrmStab().kh, kNoValue);
}

// An old stability record derives its Kh again while it loads, rounded by the rules read with it,
// not by the rules that happened to be in force.
TEST(OlderDocumentTest, AnOldRecordRoundsWithTheRulesItWasStoredWith) {
  CCase source;
  FillSampleCase(source, 0);
  source.GetPrmStab().magnitude = 7.0;
  source.GetPrmStab().distance = 10.0;
  CUnitFilter filter;  // rounding on, Kh to two decimals
  filter.digitsSeismicCoefficient = 2;
  CUnitFilter inForce;
  inForce.digitsSeismicCoefficient = 5;
  CCoreConfig::SetUnitFilter(inForce);
  const std::vector<std::uint8_t> bytes = OneCaseDocument(source, 8, filter, CPrnInfo());

  CCaseArray copyDialogList;
  Archive ar(bytes);
  copyDialogList.Load(ar, 8);
  const double kh = copyDialogList.GetCase(0)->GetPrmStab().khCalc;
  EXPECT_EQ(kh, filter.Round2(kh, 211));
  EXPECT_NE(kh, inForce.Round2(kh, 211));
  EXPECT_EQ(copyDialogList.GetUnitFilter(), filter);
  EXPECT_EQ(CCoreConfig::GetUnitFilter(), inForce);  // a second document changes no rule

  CManageCore core;
  LoadCore(core, bytes, 8);
  EXPECT_EQ(core.GetActiveCase()->GetPrmStab().khCalc, kh);
  EXPECT_EQ(CCoreConfig::GetUnitFilter(), filter);  // the main document's rules are in force
}

TEST(OlderDocumentTest, ACountOfThreeLoadsThreeSlotsAndLeavesTheRestEmpty) {
  CCase source;
  FillSampleCase(source, 0);
  RecordBytes bytes;
  AppendFilter(bytes, CUnitFilter(), kVersion).Int(3).Int(2);
  for (int i = 0; i < 3; ++i) AppendSlot(bytes, source, kVersion);
  bytes.Raw(RecordOf(CPrnInfo(), kVersion));
  CManageCore core;
  FillSampleDocument(core);
  LoadCore(core, bytes.Get());
  EXPECT_EQ(core.GetCaseArray().GetActiveCaseID(), 2);
  for (int i = 0; i < CCaseArray::kCaseCount; ++i) {
    EXPECT_EQ(core.GetCaseArray().GetCase(i)->GetInUse(), i < 3 ? 1 : 0) << i;
  }
  EXPECT_EQ(core.GetCaseArray().GetCase(7)->GetBlockList().GetBlockSize(), 0);
}

// ---- Refused documents ----

struct RefusedRow {
  const char* what;
  std::vector<std::uint8_t> bytes;
};

TEST_F(SampleDocumentTest, ARefusedDocumentChangesNeitherTheDocumentNorAnySetting) {
  CCase source;
  FillSampleCase(source, 2);
  const CPrnInfo prn;
  const std::vector<std::uint8_t> sound = OneCaseDocument(source, kVersion, OtherFilter(), prn);
  std::vector<std::uint8_t> truncated = sound;
  truncated.resize(truncated.size() / 2);
  // A stratum list whose one shape has a kind no shape class has.
  RecordBytes unknownShape;
  AppendFilter(unknownShape, OtherFilter(), kVersion).Int(10).Int(0).Int(1);
  unknownShape.Raw(RecordOf(source.GetPrmJobsite(), kVersion))
      .Raw(RecordOf(source.GetPrmGrid(), kVersion))
      .Raw(RecordOf(source.GetGround(), kVersion))
      .Int(1)
      .Int(99);
  const auto withCounts = [&](std::int32_t count, std::int32_t active) {
    return OneCaseDocument(source, kVersion, OtherFilter(), prn, count, active);
  };
  const RefusedRow rows[] = {
      {"truncated", truncated},
      {"active index 12", withCounts(10, 12)},
      {"active index -1", withCounts(10, -1)},
      {"active index beyond the slots read", withCounts(3, 3)},
      {"slot count 11", withCounts(11, 0)},
      {"slot count -1", withCounts(-1, 0)},
      {"unknown shape kind", unknownShape.Get()},
      {"empty", {}},
  };
  document_.GetPrnInfo().SetPrnMode(1, 3);
  CCoreConfig::SetStageNo(2);
  const std::vector<std::uint8_t> before = StoredCore(document_);
  const CoreSettings settingsBefore = CurrentSettings();
  CCase* const activeBefore = document_.GetActiveCase();
  document_.SetModify(true);
  for (const RefusedRow& row : rows) {
    EXPECT_THROW(LoadCore(document_, row.bytes), ArchiveException) << row.what;
    EXPECT_EQ(StoredCore(document_), before) << row.what;
    EXPECT_EQ(CurrentSettings(), settingsBefore) << row.what;
    EXPECT_EQ(document_.GetActiveCase(), activeBefore) << row.what;
    EXPECT_TRUE(document_.IsModify()) << row.what;
  }
  LoadCore(document_, sound);  // and the sound one loads
  EXPECT_EQ(document_.GetCaseArray().GetCase(0)->GetInUse(), 1);
  EXPECT_EQ(CCoreConfig::GetUnitFilter(), OtherFilter());
}

// ---- The example document that ships with the program ----

TEST(ExampleDocumentTest, OpensWithThreeCalculatedCases) {
  Archive ar = Archive::FromFile(std::filesystem::path(BRIXO_RESOURCES) / "Example.qxmd");
  EXPECT_EQ(ar.ReadString(), "ZELKO_SOFTWARE_BRIXO_DOC");
  std::int32_t version = 0;
  ar >> version;
  EXPECT_EQ(version, kVersion);
  EXPECT_EQ(ar.ReadString(), "Version 1.03");
  CManageCore core;
  core.LoadCore(ar, version);
  EXPECT_EQ(ar.Remaining(), 0u);
  EXPECT_EQ(core.GetCaseArray().GetActiveCaseID(), 4);
  for (const int slot : kSampleDocumentSlots) {
    const CCase& c = *core.GetCaseArray().GetCase(slot);
    EXPECT_EQ(c.GetInUse(), 1) << slot;
    EXPECT_TRUE(c.IsResStab()) << slot;
    EXPECT_TRUE(c.IsResSlide()) << slot;
    EXPECT_TRUE(c.IsResShear()) << slot;
    EXPECT_EQ(c.IsStratumBlockMode(), 1) << slot;
  }
}

// ---- The facade ----

TEST(ManageCoreTest, AFirstStartWritesTheConfigurationAndStartsUnmodified) {
  CManageCore core;
  core.InitCore(1);
  const std::filesystem::path settings = DataDir() / "SystemData";
  for (const char* name :
       {"DataPath.sdxf", "DefFile.sdxf", "DefGeology.sxg", "DefReinf.sxr", "DefCond.cond"}) {
    EXPECT_TRUE(IsFile(settings / name)) << name;
  }
  EXPECT_TRUE(core.GetRefData().geology.IsSame(CRefGeology()));
  EXPECT_TRUE(core.GetRefData().reinf.IsSame(CRefReinf()));
  EXPECT_EQ(CRefCond::GetTRNmax(), 2.39);
  EXPECT_EQ(core.GetCaseArray().GetSize(), CCaseArray::kCaseCount);
  EXPECT_EQ(core.GetCaseArray().GetActiveCaseID(), 0);
  EXPECT_FALSE(core.IsModify());
  core.GetCaseArray().GetCase(9)->SetModify(true);
  EXPECT_TRUE(core.IsModify());
  core.ResetModify();
  EXPECT_FALSE(core.IsModify());
  core.SetModify(true);
  EXPECT_TRUE(core.IsModify());
}

TEST(ManageCoreTest, AnActiveIndexOutsideTheListIsRefusedWhenUsed) {
  CManageCore core;
  FillSampleDocument(core);
  for (const int index : {-1, 10, 12}) {
    core.GetCaseArray().SetActiveID(index);
    EXPECT_THROW(core.GetActiveCase(), std::out_of_range) << index;
  }
  EXPECT_THROW(core.GetCaseArray().GetCase(10), std::out_of_range);
}

}  // namespace
