#include "app/document/DocumentFiles.h"

#include <QFileInfo>
#include <QMimeData>
#include <QUrl>
#include <fstream>

#include "app/document/DocumentFormat.h"
#include "app/document/RecentFileList.h"
#include "core/base/AppIdentity.h"
#include "core/case/ManageCore.h"
#include "core/model/SystemConfig.h"
#include "platform/Archive.h"
#include "platform/UiRegistry.h"

namespace {

constexpr const char* kSaveFailed = "File Save Failed.";
constexpr const char* kOlderVersion =
    "異なるバージョンのファイルを読み込もうとしています。\n"
    "読み込んだ後は設定の確認と再計算を行ってください。";
constexpr const char* kCannotOpen = "このファイルを開くことができません。\n\n";
constexpr const char* kModified = "内容が更新されています。保存しますか？";

void ShowMessage(const std::string& text, MsgIcon icon) {
  Ui().MessageBox(text, GetAppTitle(), MsgButtons::Ok, icon);
}

// A file that exists and may not be written: replacing it through a new file would get round
// its protection, so the save is refused as writing into it would be.
bool IsProtectedFile(const std::filesystem::path& path) {
  const QFileInfo info(QString::fromStdString(path.string()));
  return info.exists() && !info.isWritable();
}

// The envelope and the document body into a new file beside path, which then replaces path;
// false when anything failed, and the file that was there stays.
bool WriteDocumentFile(const CManageCore& core, const std::filesystem::path& path) {
  if (IsProtectedFile(path)) return false;
  try {
    Archive ar;
    WriteDocumentEnvelope(ar);
    core.StoreCore(ar, kDocumentVersion);
    ar.SaveToFile(path);
  } catch (const ArchiveException&) {
    return false;
  }
  return true;
}

bool FileExists(const std::filesystem::path& path) {
  const std::ifstream file(path, std::ios::binary);
  return file.is_open();
}

// The folder of a document becomes the one the file dialogs start in next time, in this run and
// the next; a bare file name names no folder.
void RememberFolder(const std::filesystem::path& path) {
  const std::filesystem::path folder = path.parent_path();
  if (folder.empty()) return;
  SystemConfig::SetLastBrixo(folder.string());
  SystemConfig::UpdateConfig(SystemConfig::kConfigPath);
}

}  // namespace

CDocumentFiles::CDocumentFiles(CManageCore& core, QObject* parent) : QObject(parent), core_(core) {}

CDocumentFiles::SaveAnswer CDocumentFiles::QuerySaveModified() const {
  if (!core_.IsModify()) return SaveAnswer::Discard;
  const std::string text = fileName_.empty()
                               ? "データの" + std::string(kModified)
                               : "ファイル " + fileName_ + " は、" + std::string(kModified);
  switch (Ui().MessageBox(text, GetAppTitle(), MsgButtons::YesNoCancel, MsgIcon::Question)) {
    case MsgResult::Yes:
      return SaveAnswer::SaveFirst;
    case MsgResult::No:
      return SaveAnswer::Discard;
    default:
      return SaveAnswer::Cancel;
  }
}

bool CDocumentFiles::StoreDocument(const std::filesystem::path& path) {
  const WaitCursor wait;
  if (!WriteDocumentFile(core_, path)) {
    ShowMessage(kSaveFailed, MsgIcon::Warning);
    return false;
  }
  core_.ResetModify();
  RememberFolder(path);
  emit DocumentSaved();
  return true;
}

bool CDocumentFiles::LoadDocument(const std::filesystem::path& path) {
  try {
    Archive ar = Archive::FromFile(path);
    const DocumentEnvelope envelope = ReadDocumentEnvelope(ar);
    if (envelope.magic != kDocumentMagic) {
      ShowMessage(ForeignFileMessage(), MsgIcon::Warning);
      return false;
    }
    if (envelope.version > kDocumentVersion) {
      ShowMessage(NewerVersionMessage(envelope.version), MsgIcon::Warning);
      return false;
    }
    if (envelope.version < kDocumentVersion) ShowMessage(kOlderVersion, MsgIcon::Information);
    core_.LoadCore(ar, envelope.version);
  } catch (const ArchiveException& failure) {
    ShowMessage(LoadFailedMessage(failure, path), MsgIcon::Warning);
    return false;
  }
  RememberFolder(path);
  AddToRecentFileList(path);
  return true;
}

bool CDocumentFiles::OpenDocumentPath(const std::filesystem::path& path) {
  return OpenAndMakeCurrent(path);
}

void CDocumentFiles::AddToRecentFileList(const std::filesystem::path& path) {
  AddRecentFile(path);
  emit RecentFilesChanged();
}

bool CDocumentFiles::OnFileNew() {
  if (!SaveModified()) return false;
  core_.InitCore(1);
  SetCurrentPath({});
  emit DocumentCreated();
  return true;
}

bool CDocumentFiles::OnFileOpen() {
  if (!SaveModified()) return false;
  const std::optional<std::filesystem::path> chosen = Ui().FileDialog(
      FileDialogKind::Open,
      FileDialogRequest{kDocumentOpenFilter, kDocumentExtension, InitialFolder(), {}});
  return chosen && OpenAndMakeCurrent(*chosen);
}

bool CDocumentFiles::OnFileSave() {
  if (path_.empty()) return OnFileSaveAs();
  return StoreDocument(path_);
}

bool CDocumentFiles::OnFileSaveAs() {
  const std::optional<std::filesystem::path> chosen = Ui().FileDialog(
      FileDialogKind::Save,
      FileDialogRequest{kDocumentSaveFilter, kDocumentExtension, InitialFolder(), {}});
  if (!chosen || !StoreDocument(*chosen)) return false;
  SetCurrentPath(*chosen);
  AddToRecentFileList(*chosen);
  return true;
}

bool CDocumentFiles::OnFileRecent(int index) {
  if (!SaveModified()) return false;
  const std::filesystem::path path = RecentFileEntry(index);
  if (path.empty()) return false;
  if (!FileExists(path)) {
    ShowMessage(kCannotOpen + path.string(), MsgIcon::Warning);
    RemoveRecentFile(path);
    emit RecentFilesChanged();
    return false;
  }
  return OpenAndMakeCurrent(path);
}

bool CDocumentFiles::OnDropFiles(const std::vector<std::filesystem::path>& files) {
  if (files.empty() || !SaveModified()) return false;
  return OpenAndMakeCurrent(files.front());
}

bool CDocumentFiles::QueryClose() { return SaveModified(); }

std::vector<std::filesystem::path> CDocumentFiles::DroppedFiles(const QMimeData& data) {
  std::vector<std::filesystem::path> files;
  for (const QUrl& url : data.urls()) {
    if (url.isLocalFile()) files.emplace_back(url.toLocalFile().toStdString());
  }
  return files;
}

bool CDocumentFiles::SaveModified() {
  switch (QuerySaveModified()) {
    case SaveAnswer::Discard:
      return true;
    case SaveAnswer::SaveFirst:
      return OnFileSave();
    case SaveAnswer::Cancel:
      break;
  }
  return false;
}

bool CDocumentFiles::OpenAndMakeCurrent(const std::filesystem::path& path) {
  if (!LoadDocument(path)) return false;
  SetCurrentPath(path);
  emit DocumentLoaded();
  return true;
}

void CDocumentFiles::SetCurrentPath(const std::filesystem::path& path) {
  path_ = path;
  fileName_ = path.filename().string();
  emit PathChanged();
}

std::filesystem::path CDocumentFiles::InitialFolder() const {
  const std::string last = SystemConfig::GetLastBrixo();
  return last.empty() ? path_.parent_path() : std::filesystem::path(last);
}
