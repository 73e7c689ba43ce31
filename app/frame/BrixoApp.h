#pragma once
// The program object: it owns the core facade and the stage manager for the life of the program,
// the current document's path and file name, and the main window. Start-up runs in a fixed order:
// the core is set up before the window shows, and a document named on the command line opens
// after it.

#include <QStringList>
#include <filesystem>
#include <memory>
#include <string>

#include "core/case/ManageCore.h"
#include "stage/StageManage.h"

class CMainFrame;

class CBrixoApp {
 public:
  CBrixoApp();
  ~CBrixoApp();
  CBrixoApp(const CBrixoApp&) = delete;
  CBrixoApp& operator=(const CBrixoApp&) = delete;

  // Sets the core and the settings up, builds and shows the main window and opens the document
  // the arguments name (the first argument after the program's own name). False when the
  // program cannot start.
  bool InitInstance(const QStringList& arguments);

  CManageCore& Core() { return core_; }
  CManageStage& Stage() { return stage_; }
  CMainFrame* MainFrame() const { return frame_.get(); }

  // Empty for a document that has no file yet.
  const std::filesystem::path& DocumentPath() const { return documentPath_; }
  const std::string& DocumentFileName() const { return documentFileName_; }
  // The path becomes current, with its file name; an empty path makes the document unnamed.
  void SetDocumentPath(const std::filesystem::path& path);

 private:
  CManageCore core_;
  CManageStage stage_;
  std::filesystem::path documentPath_;
  std::string documentFileName_;
  // Declared last, so the window, which observes the core and the stage manager, goes first.
  std::unique_ptr<CMainFrame> frame_;
};

// The text after the last separator of the path; the whole path when it has none.
std::string FileNameOfPath(const std::filesystem::path& path);
