#pragma once
// The program object: it owns the core facade and the stage manager for the life of the program,
// and the main window. Start-up runs in a fixed order: the core is set up and handed to the stage
// manager before the window shows, and a document named on the command line opens after it.

#include <QStringList>
#include <memory>

#include "core/case/ManageCore.h"
#include "stage/StageManage.h"

class CMainFrame;

class CBrixoApp {
 public:
  CBrixoApp();
  ~CBrixoApp();
  CBrixoApp(const CBrixoApp&) = delete;
  CBrixoApp& operator=(const CBrixoApp&) = delete;

  // Sets the core up (the data folder, the settings and reference files), hands it to the stage
  // manager, builds and shows the main window and connects it, then opens the document the
  // arguments name (the first one after the program's own name). A document that cannot be
  // opened gets its message and the program goes on with an empty document. False when the
  // program cannot start.
  bool InitInstance(const QStringList& arguments);

  CManageCore& Core() { return core_; }
  CManageStage& Stage() { return stage_; }
  // Null before InitInstance.
  CMainFrame* MainFrame() const { return frame_.get(); }

 private:
  CManageCore core_;
  CManageStage stage_;
  // Declared last, so the window, which observes the core and the stage manager, goes first.
  std::unique_ptr<CMainFrame> frame_;
};
