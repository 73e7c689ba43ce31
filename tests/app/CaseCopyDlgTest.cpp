#include <gtest/gtest.h>

#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>

#include "app/dialogs/CaseCopyDlg.h"
#include "core/base/CoreConfig.h"
#include "core/case/ManageCore.h"
#include "platform/Archive.h"
#include "platform/qt/ModalRunner.h"
#include "tests/support/SampleDocument.h"
#include "tests/support/ScriptedUi.h"
#include "tests/support/TestFiles.h"
#include "tests/support/qt/QtTestSupport.h"

namespace {

constexpr const char* kMagic = "ZELKO_SOFTWARE_BRIXO_DOC";
constexpr const char* kOccupied =
    "コピー先のケースは既に使用されています。\nコピーを続行しますか？";

std::filesystem::path Home() { return std::getenv("BRIXO_HOME"); }

// A document as the program writes it: the magic, the version, the version text, then the body
// of the given document.
void WriteDocument(const std::filesystem::path& path, const std::string& magic,
                   std::int32_t version, const CManageCore& body) {
  Archive archive;
  archive.WriteString(magic);
  archive << version;
  archive.WriteString("Version 1.03");
  body.StoreCore(archive, 10);
  archive.SaveToFile(path);
}

class CaseCopyDlgTest : public testing::Test {
 protected:
  void SetUp() override {
    FillSampleDocument(core_);
    FillSampleDocument(opening_);
    core_.ResetModify();
  }

  CCase& Slot(int slot) { return *core_.GetCaseArray().GetCase(slot); }
  CCase& Opening(int slot) { return *opening_.GetCaseArray().GetCase(slot); }

  int Run(std::function<void(CCaseCopyDlg&)> script) {
    CCaseCopyDlg dialog(core_.GetCaseArray());
    ExpectModal<CCaseCopyDlg>(std::move(script));
    const int result = RunModal(dialog);
    copiedIndex_ = dialog.GetCopiedIndex();
    return result;
  }

  // A file of another document: the sample cases with other names, so that a copy shows.
  std::filesystem::path OtherDocument(const std::string& magic = kMagic,
                                      std::int32_t version = 10) {
    CManageCore other;
    FillSampleDocument(other);
    for (int slot = 0; slot < CCaseArray::kCaseCount; ++slot) {
      other.GetCaseArray().GetCase(slot)->GetPrmJobsite().names[1] =
          "他 " + std::to_string(slot + 1);
    }
    const std::filesystem::path path = Home() / "other.qxmd";
    WriteDocument(path, magic, version, other);
    return path;
  }

  static void Choose(QListWidget* list, int row) { list->setCurrentRow(row); }
  static QListWidget* Source(CCaseCopyDlg& d) { return Ctl<QListWidget>(d, 1044); }
  static QListWidget* Target(CCaseCopyDlg& d) { return Ctl<QListWidget>(d, 1045); }
  static void Click(CCaseCopyDlg& d, int id) {
    QTest::mouseClick(Ctl<QPushButton>(d, id), Qt::LeftButton);
  }
  static void ReadFile(CCaseCopyDlg& d, const std::filesystem::path& path) {
    TestUi().ExpectFileDialog(path);
    Click(d, 1041);
  }

  CManageCore core_;
  CManageCore opening_;
  int copiedIndex_ = -2;
};

TEST_F(CaseCopyDlgTest, OpensOnTheActiveCaseAndTheFirstSlot) {
  Run([](CCaseCopyDlg& d) {
    EXPECT_EQ(d.windowTitle(), "ケースのコピー");
    ASSERT_EQ(Source(d)->count(), 10);
    EXPECT_EQ(Source(d)->currentRow(), 4);
    EXPECT_EQ(Target(d)->currentRow(), 0);
    EXPECT_TRUE(Source(d)->item(4)->text().startsWith(QStringLiteral(" 5 ")));
    EXPECT_EQ(Target(d)->item(9)->text(), "10 ");
    ASSERT_TRUE(ShowActive(d));
    SaveShot(d, "CCaseCopyDlg");
    Click(d, 1);
  });
  EXPECT_EQ(copiedIndex_, CCaseCopyDlg::kNone);
  EXPECT_FALSE(core_.IsModify());
}

// A slot onto itself is no copy; onto a free slot it copies at once and is modified; onto a slot
// in use it asks first.
TEST_F(CaseCopyDlgTest, CopiesWithinTheDocument) {
  EXPECT_EQ(Run([this](CCaseCopyDlg& d) {
              Choose(Source(d), 4);
              Choose(Target(d), 4);
              Click(d, 1049);
              EXPECT_FALSE(Slot(4).IsModified());
              Choose(Target(d), 2);
              Click(d, 1049);
              EXPECT_TRUE(Slot(2).IsSame(&Opening(4)));
              EXPECT_EQ(Slot(2).GetInUse(), 1);
              EXPECT_TRUE(Slot(2).IsModified());
              EXPECT_TRUE(Target(d)->item(2)->text().endsWith(
                  QString::fromStdString(Opening(4).GetPrmJobsite().names[1])));
              Choose(Target(d), 0);
              TestUi().ExpectMessageBox(MsgResult::Cancel, kOccupied);
              Click(d, 1049);
              EXPECT_TRUE(Slot(0).IsSame(&Opening(0)));
              EXPECT_FALSE(Slot(0).IsModified());
              Click(d, 1);
            }),
            QDialog::Accepted);
  EXPECT_EQ(copiedIndex_, 2);
  const MessageBoxCall& box = TestUi().MessageBoxes().at(0);
  EXPECT_EQ(box.caption, "RUrevavirazo");
  EXPECT_EQ(box.buttons, MsgButtons::OkCancel);
  EXPECT_EQ(box.icon, MsgIcon::Question);
}

TEST_F(CaseCopyDlgTest, TwoCopiesThenCancelPutEverySlotBack) {
  Slot(9).SetModify(true);  // a change made before the dialog stays marked
  Run([this](CCaseCopyDlg& d) {
    Choose(Source(d), 0);
    Choose(Target(d), 9);
    Click(d, 1049);
    Choose(Source(d), 7);
    Choose(Target(d), 4);
    TestUi().ExpectMessageBox(MsgResult::Ok, kOccupied);
    Click(d, 1049);
    EXPECT_TRUE(Slot(4).IsSame(&Opening(7)));
    EXPECT_TRUE(Slot(9).IsSame(&Opening(0)));
    Click(d, 2);
  });
  for (int slot = 0; slot < CCaseArray::kCaseCount; ++slot) {
    EXPECT_TRUE(Slot(slot).IsSame(&Opening(slot))) << "slot " << slot;
    EXPECT_EQ(Slot(slot).GetInUse(), Opening(slot).GetInUse()) << "slot " << slot;
    EXPECT_EQ(Slot(slot).IsResStab(), Opening(slot).IsResStab()) << "slot " << slot;
    EXPECT_EQ(Slot(slot).IsModified(), slot == 9) << "slot " << slot;
  }
}

// An empty case copied onto an empty slot changes no data, so the slot's flag stays as it was.
TEST_F(CaseCopyDlgTest, AnEmptyCaseOntoAnEmptySlotLeavesItsModifiedFlag) {
  for (const bool modified : {false, true}) {
    Slot(6).SetModify(modified);
    Run([](CCaseCopyDlg& d) {
      Choose(Source(d), 1);
      Choose(Target(d), 6);
      Click(d, 1049);
      Click(d, 1);
    });
    EXPECT_EQ(copiedIndex_, 6);
    EXPECT_EQ(Slot(6).IsModified(), modified);
  }
}

TEST_F(CaseCopyDlgTest, CopyingNeedsASourceAndATarget) {
  Run([](CCaseCopyDlg& d) {
    for (const auto& [list, text] : {std::pair{Source(d), "コピー元のケースを選択してください"},
                                     std::pair{Target(d), "コピー先のケースを選択してください"}}) {
      list->clearSelection();
      TestUi().ExpectMessageBox(MsgResult::Ok, text);
      Click(d, 1049);
      Choose(list, 3);
    }
    Click(d, 1);
  });
  EXPECT_EQ(copiedIndex_, CCaseCopyDlg::kNone);
  EXPECT_EQ(TestUi().MessageBoxes().at(0).icon, MsgIcon::Warning);
  EXPECT_FALSE(core_.IsModify());
}

// The other document's cases become the source, slot 4 onto slot 4 included; reading them keeps
// the program's rounding rules, which the other document stored differently.
TEST_F(CaseCopyDlgTest, CopiesFromAnotherDocumentKeepingTheRoundingRules) {
  CUnitFilter stored;
  stored.digitsCohesion = 1;
  stored.digitsSafetyFactor = 5;
  CCoreConfig::SetUnitFilter(stored);
  const std::filesystem::path path = OtherDocument();
  CUnitFilter program;
  program.digitsCohesion = 4;
  program.modeGeneral = kRoundModeTruncate;
  CCoreConfig::SetUnitFilter(program);

  Run([&](CCaseCopyDlg& d) {
    ReadFile(d, path);
    EXPECT_EQ(Ctl<QLabel>(d, 1039)->text(), "other.qxmd");
    EXPECT_TRUE(Source(d)->item(4)->text().endsWith(QStringLiteral("他 5")));
    EXPECT_EQ(Source(d)->currentRow(), 4);
    Choose(Target(d), 4);
    TestUi().ExpectMessageBox(MsgResult::Ok, kOccupied);
    Click(d, 1049);
    EXPECT_EQ(Slot(4).GetPrmJobsite().names[1], "他 5");
    ASSERT_TRUE(ShowActive(d));
    SaveShot(d, "CCaseCopyDlg-from-file");
    Click(d, 1);
  });
  EXPECT_EQ(copiedIndex_, 4);
  EXPECT_TRUE(Slot(4).IsModified());
  EXPECT_EQ(CCoreConfig::GetUnitFilter(), program);
  const FileDialogCall& dialog = TestUi().FileDialogs().at(0);
  EXPECT_EQ(dialog.kind, FileDialogKind::Open);
  EXPECT_EQ(dialog.request.filter, "RUrevavirazo ファイル (*.qxmd)|*.qxmd|All Files (*.*)|*.*||");
  EXPECT_EQ(dialog.request.defaultExtension, "qxmd");
}

// A file that cannot serve as a source says why and leaves the source as it was.
TEST_F(CaseCopyDlgTest, AFileThatCannotServeSaysWhyAndChangesNothing) {
  const std::filesystem::path good = OtherDocument();
  const std::string truncated = ReadFileBytes(good).substr(0, 300);
  const std::filesystem::path cut = Home() / "cut.qxmd";
  WriteFileBytes(cut, truncated);
  const std::filesystem::path wrong = Home() / "wrong.qxmd";
  WriteDocument(wrong, "ZELKO_SOFTWARE_OTHER_DOC", 10, opening_);
  const std::filesystem::path newer = Home() / "newer.qxmd";
  WriteDocument(newer, kMagic, 11, opening_);
  const std::filesystem::path older = Home() / "older.qxmd";
  WriteDocument(older, kMagic, 9, opening_);
  const std::filesystem::path missing = Home() / "missing.qxmd";
  const std::filesystem::path empty = Home() / "empty.qxmd";
  WriteFileBytes(empty, "");

  const struct {
    std::filesystem::path path;
    const char* message;
  } files[] = {
      {wrong, "このファイルは「RUrevavirazo」のものではありません。"},
      {newer, "このファイルは「RUrevavirazo」で対応できません。\n\nIN = 11 , MAX = 10"},
      {older,
       "旧バージョンのファイルは読み込めません。\n本システムで一度保存してから読み込んでください"
       "。"},
      {cut, "File Load Failed.\nファイルが途中で終わっています。"},
      {empty, "File Load Failed.\nファイルが途中で終わっています。"},
      {missing, "File Load Failed.\nファイルが見つかりません。"},
  };
  const CUnitFilter program = CCoreConfig::GetUnitFilter();
  Run([&](CCaseCopyDlg& d) {
    for (const auto& file : files) {
      TestUi().ExpectMessageBox(MsgResult::Ok, file.message);
      ReadFile(d, file.path);
      EXPECT_TRUE(Ctl<QLabel>(d, 1039)->text().isEmpty()) << file.path;
      // The source is still the document: copying its slot 4 onto itself does nothing.
      EXPECT_EQ(Source(d)->item(4)->text().mid(3).toStdString(), Slot(4).GetPrmJobsite().names[1]);
    }
    TestUi().ExpectFileDialog(std::nullopt);  // a cancelled choice reads nothing
    Click(d, 1041);
    Click(d, 1);
  });
  for (const MessageBoxCall& box : TestUi().MessageBoxes()) {
    EXPECT_EQ(box.caption, "RUrevavirazo");
    EXPECT_EQ(box.icon, MsgIcon::Warning);
  }
  EXPECT_EQ(CCoreConfig::GetUnitFilter(), program);
  EXPECT_FALSE(core_.IsModify());
}

}  // namespace
