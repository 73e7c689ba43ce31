#pragma once
// The program's main window: the menu bar, the two toolbars ("標準" and "表示"), the three docks
// ("フロー" left, "ケース" right, "情報" top) around the section view, the title, and the one
// receiver of the frame command messages. Each message becomes one call of the stage manager or
// of the core, followed by the refreshes that call needs (OnFrameMessage).
//
// While a modeless step dialog is open it holds pointers into the active case, so nothing may
// replace that case: the document commands, the case commands, the imports and printing are
// unavailable, and toolbar 1 and the flow and case panes are disabled. The view stays enabled,
// since the dialogs take their points from its clicks.

#include <QMainWindow>
#include <array>
#include <cstdint>
#include <filesystem>
#include <map>

#include "platform/FrameMessages.h"

class CBrixoView;
class CPaneCaseDlg;
class CPaneFlowDlg;
class CPaneInfoDlg;
class CDocumentFiles;
class CManageCore;
class CManageStage;
class QDockWidget;
class QMenu;
class QPrinter;
class QToolBar;
enum class ModelessDialog;
enum class StageCommand;

class CMainFrame : public QMainWindow {
  Q_OBJECT

 public:
  // The command ids, which are also the object names of their actions.
  enum Command : int {
    kFileNew = 57600,
    kFileOpen = 57601,
    kFileSave = 32774,
    kFileSaveAs = 32775,
    kFilePrint = 57607,
    kFilePrintPreview = 57609,
    kFileRecentFirst = 57616,
    kImportCad = 32786,
    kExportCad = 32787,
    kImportXml = 32784,
    kExportXml = 32785,
    kAppExit = 57665,
    kZoomIn = 32771,
    kZoomReset = 32772,
    kShowToolbars = 32776,
    kUnitFilter = 32801,
    kGeology = 32781,
    kReinf = 32783,
    kRefCond = 32800,
    kManual = 32789,
    kAppAbout = 57664,
  };
  static constexpr int kRecentFileSlots = 10;

  CMainFrame(CManageCore& core, CManageStage& stage);
  ~CMainFrame() override;

  // Registers the frame as the receiver of the frame messages and shows the first state: the
  // title, the case pane, step 1.
  void ConnectStage();
  // The receiver of every frame command message; answers 0 unless the message says otherwise.
  std::intptr_t OnFrameMessage(FrameMsg message, std::uintptr_t wParam, std::intptr_t lParam);

  // "<file name> - <full title>", or "無題 - <full title>" for an unnamed document, with Qt's
  // modified mark ("*" after the name) while the document holds unsaved changes.
  void UpdateTitle();
  // The title's modified mark in step with CManageCore::IsModify.
  void UpdateModifiedMark();
  // The case buttons and their in-use marks, then the information pane.
  void UpdateCasePane();
  // The design step of the flow pane made current, and the load cases the case pane offers.
  void UpdateStageInfo();
  // After a document was made or loaded: title, panes, zoom and pan reset, step 1.
  void RefreshPanes();
  // Toolbar 1 and the flow and case panes.
  void EnableWorkPanes(bool enable);
  // The slip-circle search conditions of the active case, with the work panes off until the
  // dialog closes, as a show command would open them; no command of the program calls it.
  void ShowArcConditions();
  // Enabled state of every command for the current state.
  void UpdateCommands();

  // Prints the active case's section on the printer: one landscape page. False when printing
  // could not begin.
  bool PrintOn(QPrinter& printer);

  CDocumentFiles& Documents() const { return *documents_; }
  CBrixoView& View() const { return *view_; }
  QToolBar& StandardBar() const { return *standardBar_; }
  QToolBar& ViewBar() const { return *viewBar_; }
  QDockWidget& FlowDock() const { return *flowDock_; }
  QDockWidget& CaseDock() const { return *caseDock_; }
  QDockWidget& InfoDock() const { return *infoDock_; }
  CPaneFlowDlg& FlowPane() const { return *flowPane_; }
  CPaneCaseDlg& CasePane() const { return *casePane_; }
  CPaneInfoDlg& InfoPane() const { return *infoPane_; }
  // The current flow step, 0 to 3.
  int CurrentStep() const;
  // The folder of the report templates handed to the Word output: PrnFiles beside the program.
  void SetPrintFolder(std::filesystem::path folder) { printFolder_ = std::move(folder); }

 protected:
  void closeEvent(QCloseEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  // A modeless step dialog is open, or the block division dialog: the active case must stay.
  bool IsCaseLocked() const;

  void CreateActions();
  void CreateMenus();
  void CreateToolBars();
  void CreateDockingWindows();
  QAction* AddAction(int id, const QString& text);
  QAction* Action(int id) const { return actions_.at(id); }
  void FillRecentMenu();

  // What a command changed that the frame shows outside the section view. The view itself is
  // redrawn when the stage manager asks for it (WM_APP_REDRAW), once, as its commands say.
  enum RefreshPart : unsigned {
    kRefreshNone = 0U,
    kRefreshCases = 1U,  // the case pane's names and in-use marks, the information pane
    kRefreshStep = 2U,   // the load cases the current step offers
  };
  struct CommandOutcome {
    std::intptr_t result;
    unsigned refresh;
  };

  // Runs the command and refreshes once what it changed; wParam is the asking message's, 0 from
  // a menu (the Excel workbook's kind; WM_APP_EXPORT_CAD: 1 for the data linkage).
  std::intptr_t RunStageCommand(StageCommand command, std::uintptr_t wParam = 0);
  CommandOutcome StartStageCommand(StageCommand command, std::uintptr_t wParam);
  // The one refresh after a command: the parts it changed, then every command's state.
  void Refresh(unsigned parts);
  std::intptr_t CloseModeless(ModelessDialog which, std::uintptr_t result, unsigned refresh);
  // After a close member: the refresh an OK asks for (closed nonzero), with the work panes
  // enabled again.
  std::intptr_t AfterModelessClosed(long closed, unsigned refresh);
  void OnStageEntered();
  void Redraw();
  void RefreshInfoPane();
  void OnCaseSelect(std::uintptr_t index);
  void OnCaseClear();
  void OnCaseCopy();
  void OnCaseInfo();
  // The report selection of the kind (1 to 3) and, when the user asks for it, the report.
  std::intptr_t OnPrintWord(std::uintptr_t kind, std::intptr_t sub);
  void OnDocumentCreated();
  // Whether the frame serves the command message now (the flow pane's buttons).
  bool IsServed(FrameMsg message) const;

  void OnFilePrint();
  void OnFilePrintPreview();
  void OnManual();
  void OnAbout();
  void OnShowToolbars();

  CManageCore& core_;
  CManageStage& stage_;
  CDocumentFiles* documents_ = nullptr;
  CBrixoView* view_ = nullptr;
  QToolBar* standardBar_ = nullptr;
  QToolBar* viewBar_ = nullptr;
  QDockWidget* flowDock_ = nullptr;
  QDockWidget* caseDock_ = nullptr;
  QDockWidget* infoDock_ = nullptr;
  CPaneFlowDlg* flowPane_ = nullptr;
  CPaneCaseDlg* casePane_ = nullptr;
  CPaneInfoDlg* infoPane_ = nullptr;
  QMenu* recentMenu_ = nullptr;
  std::array<QAction*, kRecentFileSlots> recentActions_{};
  std::map<int, QAction*> actions_;
  bool connected_ = false;
  std::filesystem::path printFolder_;
};
