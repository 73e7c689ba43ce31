// The document files: the envelope on disk, save and open, the question before a document is
// replaced, the recent-file list, and damaged, foreign, newer and unwritable files.

#include <gtest/gtest.h>
#include <unistd.h>

#include <QMimeData>
#include <QSettings>
#include <QSignalSpy>
#include <QUrl>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/document/DocumentFiles.h"
#include "app/document/RecentFileList.h"
#include "core/case/ManageCore.h"
#include "core/model/SystemConfig.h"
#include "platform/Archive.h"
#include "tests/support/RecordBytes.h"
#include "tests/support/SampleDocument.h"
#include "tests/support/ScopedFileSizeLimit.h"
#include "tests/support/ScriptedUi.h"
#include "tests/support/TestFiles.h"

namespace fs = std::filesystem;

namespace {

constexpr const char* kTitle = "RUrevavirazo";
constexpr const char* kAskUnnamed = "データの内容が更新されています。保存しますか？";

// The envelope as a document file begins, by hand: the magic and the version text as framework
// strings in their Unicode form (FF FE FF, the length, UTF-16LE), the version as an int32.
std::vector<std::uint8_t> Envelope(int version) {
  return RecordBytes().Text(u"ZELKO_SOFTWARE_BRIXO_DOC").Int(version).Text(u"Version 1.03").Get();
}

std::vector<std::uint8_t> Body(const CManageCore& core, int version) {
  Archive ar;
  core.StoreCore(ar, version);
  return ar.Bytes();
}

std::string AsString(const std::vector<std::uint8_t>& bytes) {
  return std::string(bytes.begin(), bytes.end());
}

std::string Document(const CManageCore& core, int version) {
  return AsString(Envelope(version)) + AsString(Body(core, version));
}

// Every stored byte of the open document and whether it counts as modified: what a failed load
// must leave exactly as it was.
struct Snapshot {
  std::vector<std::uint8_t> body;
  bool modified = false;
  friend bool operator==(const Snapshot&, const Snapshot&) = default;
};

Snapshot Take(const CManageCore& core) { return {Body(core, 10), core.IsModify()}; }

class DocumentFilesTest : public testing::Test {
 protected:
  DocumentFilesTest() : folder_(fs::path(std::getenv("BRIXO_HOME")) / "documents") {
    fs::create_directories(folder_);
    core_.InitCore(1);
  }

  // The sample document, saved as name and open under that path, unmodified.
  fs::path OpenSample(const std::string& name = "sample.qxmd") {
    FillSampleDocument(core_);
    const fs::path path = folder_ / name;
    TestUi().ExpectFileDialog(path);
    EXPECT_TRUE(files_.OnFileSaveAs());
    return path;
  }

  fs::path folder_;
  CManageCore core_;
  CDocumentFiles files_{core_};
};

TEST_F(DocumentFilesTest, SaveAsWritesTheEnvelopeThenTheDocumentBody) {
  FillSampleDocument(core_);
  core_.SetModify(true);
  const fs::path path = folder_ / "site.qxmd";
  TestUi().ExpectFileDialog(path);
  QSignalSpy pathChanged(&files_, &CDocumentFiles::PathChanged);

  ASSERT_TRUE(files_.OnFileSave());  // no path yet: Save goes through Save As

  const std::string bytes = ReadFileBytes(path);
  const std::string envelope = AsString(Envelope(10));
  // FF FE FF 18 + the magic, 0A 00 00 00, FF FE FF 0C + the version text.
  EXPECT_EQ(envelope.substr(0, 4), std::string("\xFF\xFE\xFF\x18", 4));
  EXPECT_EQ(envelope.substr(4 + 48, 8), std::string("\x0A\x00\x00\x00\xFF\xFE\xFF\x0C", 8));
  EXPECT_EQ(bytes.substr(0, envelope.size()), envelope);
  EXPECT_EQ(bytes.substr(envelope.size()), AsString(Body(core_, 10)));

  ASSERT_EQ(TestUi().FileDialogs().size(), 1U);
  const FileDialogCall& dialog = TestUi().FileDialogs()[0];
  EXPECT_EQ(dialog.kind, FileDialogKind::Save);
  EXPECT_EQ(dialog.request.filter, "RUrevavirazo ファイル (*.qxmd)|*.qxmd||");
  EXPECT_EQ(dialog.request.defaultExtension, "qxmd");
  EXPECT_EQ(files_.GetPathName(), path);
  EXPECT_EQ(files_.GetFileName(), "site.qxmd");
  EXPECT_EQ(pathChanged.count(), 1);
  EXPECT_FALSE(core_.IsModify());
  EXPECT_EQ(SystemConfig::GetLastBrixo(), folder_.string());
  EXPECT_EQ(ReadRecentFiles(), std::vector<fs::path>{path});
}

TEST_F(DocumentFilesTest, SaveOpenSaveGivesIdenticalBytesAndEqualCases) {
  const fs::path first = OpenSample("first.qxmd");
  ASSERT_TRUE(files_.OnFileNew());
  EXPECT_TRUE(files_.GetPathName().empty());

  TestUi().ExpectFileDialog(first);
  QSignalSpy loaded(&files_, &CDocumentFiles::DocumentLoaded);
  ASSERT_TRUE(files_.OnFileOpen());
  EXPECT_EQ(loaded.count(), 1);
  EXPECT_EQ(files_.GetFileName(), "first.qxmd");
  EXPECT_EQ(TestUi().FileDialogs().back().request.filter,
            "RUrevavirazo ファイル (*.qxmd)|*.qxmd|All Files (*.*)|*.*||");
  EXPECT_EQ(TestUi().FileDialogs().back().request.folder, folder_);

  CManageCore sample;
  FillSampleDocument(sample);
  for (int i = 0; i < CCaseArray::kCaseCount; ++i) {
    EXPECT_TRUE(core_.GetCaseArray().GetCase(i)->IsSame(sample.GetCaseArray().GetCase(i)))
        << "case " << i;
  }
  const fs::path second = folder_ / "second.qxmd";
  TestUi().ExpectFileDialog(second);
  ASSERT_TRUE(files_.OnFileSaveAs());
  EXPECT_EQ(ReadFileBytes(second), ReadFileBytes(first));
}

// The example document with the text list "測点 No.3", "踏査メモ" put into the record of its first
// case's ground by hand: a list no operation of ours fills, kept only by copy, load and store.
TEST_F(DocumentFilesTest, AGroundsTextListSurvivesOpenAndSaveByteForByte) {
  const fs::path opened = folder_ / "texts.qxmd";
  fs::copy_file(fs::path(BRIXO_TEST_DATA) / "document-ground-texts.qxmd", opened);
  TestUi().ExpectFileDialog(opened);
  ASSERT_TRUE(files_.OnFileOpen());
  EXPECT_EQ(core_.GetCaseArray().GetCase(0)->GetGround().GetTextList(),
            (std::vector<std::string>{"測点 No.3", "踏査メモ"}));

  const fs::path saved = folder_ / "saved.qxmd";
  TestUi().ExpectFileDialog(saved);
  ASSERT_TRUE(files_.OnFileSaveAs());
  EXPECT_EQ(ReadFileBytes(saved), ReadFileBytes(opened));
}

// Paths are taken exactly as given: blanks at either end stay, and no length is cut.
TEST_F(DocumentFilesTest, PathsAreTakenAsGiven) {
  const fs::path deep =
      folder_ / std::string(120, 'a') / std::string(120, 'b') / std::string(40, 'c');
  fs::create_directories(deep);
  for (const fs::path& path : {folder_ / " blanks around .qxmd ", deep / "long.qxmd"}) {
    SCOPED_TRACE(path.string());
    core_.SetModify(true);
    TestUi().ExpectFileDialog(path);
    ASSERT_TRUE(files_.OnFileSaveAs());
    ASSERT_TRUE(fs::exists(path));
    EXPECT_TRUE(files_.OpenDocumentPath(path));
    EXPECT_EQ(files_.GetPathName(), path);
    EXPECT_EQ(files_.GetFileName(), path.filename().string());
  }
}

TEST_F(DocumentFilesTest, AnOlderVersionLoadsAfterANoticeAndIsSavedAsTheCurrentOne) {
  CManageCore older;
  FillSampleDocument(older);
  const fs::path path = folder_ / "v9.qxmd";
  WriteFileBytes(path, Document(older, 9));

  TestUi().ExpectMessageBox(MsgResult::Ok,
                            "異なるバージョンのファイルを読み込もうとしています。\n"
                            "読み込んだ後は設定の確認と再計算を行ってください。");
  ASSERT_TRUE(files_.OpenDocumentPath(path));
  EXPECT_EQ(TestUi().MessageBoxes().back().icon, MsgIcon::Information);

  ASSERT_TRUE(files_.OnFileSave());
  const std::string envelope = AsString(Envelope(10));
  EXPECT_EQ(ReadFileBytes(path).substr(0, envelope.size()), envelope);
}

// A file that cannot be read, is not ours, is newer than the program or is damaged: its message,
// and the open document, its modified state and its path stay exactly as they were, through
// every path that loads a document.
TEST_F(DocumentFilesTest, AFileThatCannotBeLoadedChangesNothing) {
  const fs::path good = OpenSample();
  core_.GetCaseArray().GetCase(0)->SetModify(true);  // unsaved work that must survive
  const std::string sound = ReadFileBytes(good);
  CManageCore other;
  FillSampleDocument(other);
  std::string foreign = Document(other, 10);
  foreign[4] = 'X';  // the magic's first character

  struct Case {
    const char* name;
    std::optional<std::string> bytes;  // nothing: the file does not exist
    std::string message;
  };
  const Case cases[] = {
      {"missing", std::nullopt, "File Load Failed.\nファイルが見つかりません。"},
      {"inside the envelope", sound.substr(0, 30),
       "File Load Failed.\nファイルが途中で終わっています。"},
      {"inside the body", sound.substr(0, sound.size() - 9),
       "File Load Failed.\nファイルが途中で終わっています。"},
      {"foreign", foreign, "このファイルは「RUrevavirazo」のものではありません。"},
      {"version 11", AsString(Envelope(11)) + sound.substr(Envelope(10).size()),
       "このファイルは「RUrevavirazo」で対応できません。\n\nIN = 11 , MAX = 10"},
  };
  struct LoadPath {
    const char* name;
    bool asks;  // asks whether to save the modified document first
    std::function<bool(CDocumentFiles&, const fs::path&)> load;
  };
  const LoadPath loadPaths[] = {
      {"open", true,
       [](CDocumentFiles& files, const fs::path& path) {
         TestUi().ExpectFileDialog(path);
         return files.OnFileOpen();
       }},
      {"recent", true,
       [](CDocumentFiles& files, const fs::path& path) {
         files.AddToRecentFileList(path);
         return files.OnFileRecent(0);
       }},
      {"drop", true,
       [](CDocumentFiles& files, const fs::path& path) { return files.OnDropFiles({path}); }},
      {"command line", false,
       [](CDocumentFiles& files, const fs::path& path) { return files.OpenDocumentPath(path); }},
  };
  for (const LoadPath& loadPath : loadPaths) {
    for (const Case& c : cases) {
      SCOPED_TRACE(std::string(loadPath.name) + ", " + c.name);
      const fs::path path = folder_ / (std::string(c.name) + ".qxmd");
      fs::remove(path);
      if (c.bytes) WriteFileBytes(path, *c.bytes);
      const bool recentOfMissing = !c.bytes && std::string(loadPath.name) == "recent";
      // No goes on without saving.
      if (loadPath.asks) {
        TestUi().ExpectMessageBox(
            MsgResult::No, "ファイル sample.qxmd は、内容が更新されています。保存しますか？");
      }
      TestUi().ExpectMessageBox(
          MsgResult::Ok,
          recentOfMissing ? "このファイルを開くことができません。\n\n" + path.string() : c.message);
      const Snapshot before = Take(core_);

      EXPECT_FALSE(loadPath.load(files_, path));

      EXPECT_TRUE(Take(core_) == before);
      EXPECT_EQ(files_.GetPathName(), good);
      EXPECT_EQ(files_.GetFileName(), "sample.qxmd");
      EXPECT_EQ(TestUi().MessageBoxes().back().icon, MsgIcon::Warning);
      EXPECT_EQ(TestUi().MessageBoxes().back().caption, kTitle);
      EXPECT_EQ(ReadFileBytes(good), sound);
      RemoveRecentFile(path);
    }
  }
}

// Yes saves first and the command goes on only when the save succeeded; No goes on without
// saving; Cancel stops.
TEST_F(DocumentFilesTest, NewGoesOnOnlyWhenNothingUnsavedIsLost) {
  struct Case {
    const char* name;
    MsgResult answer;
    std::optional<const char*> saveAs;  // the Save As dialog's answer after Yes
    bool goesOn;
  };
  const Case cases[] = {
      {"yes, saved", MsgResult::Yes, "saved.qxmd", true},
      {"yes, save as cancelled", MsgResult::Yes, std::nullopt, false},
      {"no", MsgResult::No, {}, true},
      {"cancel", MsgResult::Cancel, {}, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    FillSampleDocument(core_);
    core_.SetModify(true);
    const Snapshot before = Take(core_);
    TestUi().ExpectMessageBox(c.answer, kAskUnnamed);
    if (c.answer == MsgResult::Yes) {
      TestUi().ExpectFileDialog(c.saveAs ? std::optional<fs::path>(folder_ / *c.saveAs)
                                         : std::nullopt);
    }
    QSignalSpy created(&files_, &CDocumentFiles::DocumentCreated);

    EXPECT_EQ(files_.OnFileNew(), c.goesOn);

    EXPECT_EQ(created.count(), c.goesOn ? 1 : 0);
    if (c.goesOn) {
      EXPECT_FALSE(core_.IsModify());
      EXPECT_EQ(core_.GetCaseArray().GetCase(4)->GetInUse(), 0);
    } else {
      EXPECT_TRUE(Take(core_) == before);
    }
    EXPECT_TRUE(files_.GetPathName().empty());
    TestUi().VerifyAllAnswered();
  }
  EXPECT_TRUE(fs::exists(folder_ / "saved.qxmd"));
}

TEST_F(DocumentFilesTest, CloseAsksWithTheFileNameAndCancelKeepsTheWindow) {
  OpenSample();
  EXPECT_TRUE(files_.QueryClose());  // nothing modified: no question
  core_.SetModify(true);
  TestUi().ExpectMessageBox(MsgResult::Cancel,
                            "ファイル sample.qxmd は、内容が更新されています。保存しますか？");
  EXPECT_FALSE(files_.QueryClose());
  const MessageBoxCall& box = TestUi().MessageBoxes().back();
  EXPECT_EQ(box.caption, kTitle);
  EXPECT_EQ(box.buttons, MsgButtons::YesNoCancel);
  EXPECT_EQ(box.icon, MsgIcon::Question);
}

// A failed write says so, keeps the file that was there and the document modified, and
// remembers no folder; a later command that asked to save stops.
TEST_F(DocumentFilesTest, AFailedSaveKeepsTheOldFileAndTheDocumentModified) {
  const fs::path path = OpenSample();
  const std::string old = ReadFileBytes(path);
  const auto protect = [](const fs::path& p) {
    const fs::perms permissions = fs::status(p).permissions();
    fs::permissions(p, fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove);
    return [p, permissions] { fs::permissions(p, permissions); };
  };
  // A full disk stops even root.
  const auto fill = [] {
    auto limit = std::make_shared<ScopedFileSizeLimit>(1024);
    return [limit]() mutable { limit.reset(); };
  };
  struct Case {
    const char* name;
    bool needsPermissions;                         // root writes through read-only permissions
    std::function<std::function<void()>()> block;  // returns what lifts the block
  };
  const Case cases[] = {
      {"read-only folder", true, [&] { return protect(folder_); }},
      {"read-only file", true, [&] { return protect(path); }},
      {"a full disk", false, fill},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    if (c.needsPermissions && geteuid() == 0) continue;
    SystemConfig::SetLastBrixo("");
    core_.GetCaseArray().GetCase(4)->GetPrmJobsite().names[2] = "changed";
    core_.SetModify(true);
    const std::function<void()> unblock = c.block();
    TestUi().ExpectMessageBox(MsgResult::Ok, "File Save Failed.");
    const bool saved = files_.OnFileSave();
    TestUi().ExpectMessageBox(MsgResult::Yes);
    TestUi().ExpectMessageBox(MsgResult::Ok, "File Save Failed.");
    const bool replaced = files_.OnFileNew();
    unblock();

    EXPECT_FALSE(saved);
    EXPECT_FALSE(replaced);
    EXPECT_EQ(TestUi().MessageBoxes().back().icon, MsgIcon::Warning);
    EXPECT_EQ(ReadFileBytes(path), old);
    EXPECT_EQ(FileNamesIn(folder_), std::vector<std::string>{"sample.qxmd"});
    EXPECT_TRUE(core_.IsModify());
    EXPECT_EQ(core_.GetCaseArray().GetCase(4)->GetPrmJobsite().names[2], "changed");
    EXPECT_EQ(SystemConfig::GetLastBrixo(), "");
  }
}

TEST_F(DocumentFilesTest, ARecentFileThatIsGoneIsDroppedAfterTheMessage) {
  const fs::path kept = OpenSample("kept.qxmd");
  const fs::path gone = OpenSample("gone.qxmd");
  fs::remove(gone);
  ASSERT_EQ(ReadRecentFiles(), (std::vector<fs::path>{gone, kept}));
  QSignalSpy changed(&files_, &CDocumentFiles::RecentFilesChanged);
  TestUi().ExpectMessageBox(MsgResult::Ok,
                            "このファイルを開くことができません。\n\n" + gone.string());

  EXPECT_FALSE(files_.OnFileRecent(0));

  EXPECT_EQ(ReadRecentFiles(), std::vector<fs::path>{kept});
  EXPECT_EQ(changed.count(), 1);
  ASSERT_TRUE(files_.OnFileRecent(0));
  EXPECT_EQ(files_.GetPathName(), kept);
}

TEST_F(DocumentFilesTest, DroppingThreeFilesLoadsOnlyTheFirst) {
  const fs::path first = OpenSample("first.qxmd");
  ASSERT_TRUE(files_.OnFileNew());
  WriteFileBytes(folder_ / "second.qxmd", "not a document");

  ASSERT_TRUE(files_.OnDropFiles({first, folder_ / "second.qxmd", folder_ / "third.qxmd"}));

  EXPECT_EQ(files_.GetPathName(), first);
  EXPECT_TRUE(TestUi().MessageBoxes().empty());
  EXPECT_EQ(core_.GetCaseArray().GetActiveCaseID(), 4);
}

TEST_F(DocumentFilesTest, ADragOffersItsLocalFiles) {
  QMimeData data;
  data.setUrls({QUrl::fromLocalFile("/tmp/a b.qxmd"), QUrl("https://example.org/c.qxmd"),
                QUrl::fromLocalFile("/tmp/d.qxmd")});
  EXPECT_EQ(CDocumentFiles::DroppedFiles(data),
            (std::vector<fs::path>{"/tmp/a b.qxmd", "/tmp/d.qxmd"}));
  EXPECT_TRUE(CDocumentFiles::DroppedFiles(QMimeData()).empty());
}

// The list lives in the profile under the names other installations read: the newest first,
// no path twice, at most ten.
TEST(RecentFileList, KeepsTenPathsNewestFirstInTheProfile) {
  for (int i = 1; i <= 12; ++i) AddRecentFile("/docs/" + std::to_string(i) + ".qxmd");
  AddRecentFile("/docs/5.qxmd");

  QSettings profile("ZELK", "Brixo");
  profile.beginGroup("Recent File List");
  EXPECT_EQ(profile.childKeys().size(), 10);
  EXPECT_EQ(profile.value("File1").toString().toStdString(), "/docs/5.qxmd");
  EXPECT_EQ(profile.value("File2").toString().toStdString(), "/docs/12.qxmd");
  EXPECT_EQ(profile.value("File10").toString().toStdString(), "/docs/3.qxmd");
  EXPECT_EQ(RecentFileEntry(1), fs::path("/docs/12.qxmd"));
  EXPECT_TRUE(RecentFileEntry(10).empty());

  RemoveRecentFile("/docs/12.qxmd");
  EXPECT_EQ(ReadRecentFiles().size(), 9U);
  EXPECT_EQ(RecentFileEntry(1), fs::path("/docs/11.qxmd"));
}

TEST(RecentFileList, ShowsLongPathsByTheirLastParts) {
  EXPECT_EQ(RecentFileDisplayName("/home/site/a.qxmd"), "/home/site/a.qxmd");
  EXPECT_EQ(RecentFileDisplayName("/home/engineer/projects/2026/slope/north.qxmd"),
            "…/2026/slope/north.qxmd");
  const std::string longName(40, 'n');
  EXPECT_EQ(RecentFileDisplayName("/home/" + longName), QString::fromStdString("…/" + longName));
}

}  // namespace
