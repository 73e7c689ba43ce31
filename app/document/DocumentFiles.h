#pragma once
// The document files of the program: New, Open, Save, Save As, the recent files, dropped files
// and the document named on the command line, with the question whether to save unsaved changes
// first. The data lives in CManageCore; this class holds the current document path and file name
// (both empty for a new document), reads and writes the files, and tells the main window through
// its signals what to refresh. It asks its questions through Ui() (message boxes and file
// dialogs), so it needs no window and tests answer them through the scripted Ui.
//
// A command that replaces or closes the document goes on only when nothing unsaved is lost: a
// save that fails or a Save As that is cancelled stops it. A document that cannot be read leaves
// the open document and its path exactly as they were.

#include <QObject>
#include <filesystem>
#include <string>
#include <vector>

class CManageCore;
class QMimeData;

class CDocumentFiles : public QObject {
  Q_OBJECT

 public:
  // The answers of QuerySaveModified.
  enum class SaveAnswer { Cancel = 0, SaveFirst = 1, Discard = 2 };

  explicit CDocumentFiles(CManageCore& core, QObject* parent = nullptr);

  // The current document's path and file name; empty while the document has no file.
  const std::filesystem::path& GetPathName() const { return path_; }
  const std::string& GetFileName() const { return fileName_; }

  // Discard while nothing is modified; otherwise asks Yes (SaveFirst), No (Discard) or Cancel.
  SaveAnswer QuerySaveModified() const;
  // Writes the document into a temporary file beside path and renames it over path; on success
  // the document counts as saved and its folder is remembered. A failure says "File Save
  // Failed.", leaves the file that was there and the document modified, and returns false.
  bool StoreDocument(const std::filesystem::path& path);
  // Reads the document at path and makes it the open one; the current path does not change.
  // A file that cannot be read, is not ours, is newer than this program or is damaged gets its
  // message and changes nothing. Never throws.
  bool LoadDocument(const std::filesystem::path& path);
  // The document named on the command line: loaded, then current.
  bool OpenDocumentPath(const std::filesystem::path& path);
  void AddToRecentFileList(const std::filesystem::path& path);

  // The commands; each returns whether it did its work. New, Open, a recent file and a drop ask
  // QuerySaveModified first.
  bool OnFileNew();
  bool OnFileOpen();
  // Saves to the current path; without one, Save As.
  bool OnFileSave();
  bool OnFileSaveAs();
  // The recent file of the menu position index (0 is the newest).
  bool OnFileRecent(int index);
  // Only the first of the dropped files is opened.
  bool OnDropFiles(const std::vector<std::filesystem::path>& files);
  // The question before the main window closes: true when it may close.
  bool QueryClose();

  // The local files a drag carries; a drag that carries none is not accepted.
  static std::vector<std::filesystem::path> DroppedFiles(const QMimeData& data);

 signals:
  // New made an empty document: case 1 (normal) and step 1 are to be shown.
  void DocumentCreated();
  // A file was loaded and is now the current document.
  void DocumentLoaded();
  // The current path and file name changed (the title shows the name).
  void PathChanged();
  // The document was written to its file and counts as unmodified.
  void DocumentSaved();
  // The recent-file list in the profile changed.
  void RecentFilesChanged();

 private:
  // The question before the document is replaced or closed; true when the command may go on:
  // No, or Yes and the document was saved.
  bool SaveModified();
  // Loads the file and makes it the current document.
  bool OpenAndMakeCurrent(const std::filesystem::path& path);
  void SetCurrentPath(const std::filesystem::path& path);
  // The folder the file dialogs start in: the folder last used, else the current document's.
  std::filesystem::path InitialFolder() const;

  CManageCore& core_;
  std::filesystem::path path_;
  std::string fileName_;
};
