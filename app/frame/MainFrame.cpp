#include "app/frame/MainFrame.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDockWidget>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QKeySequence>
#include <QMenuBar>
#include <QMimeData>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QStyle>
#include <QToolBar>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "app/dialogs/CaseCopyDlg.h"
#include "app/dialogs/CaseInfoDlg.h"
#include "app/document/DocumentFiles.h"
#include "app/document/RecentFileList.h"
#include "app/frame/AboutDlg.h"
#include "app/frame/SectionPrint.h"
#include "app/panes/PaneCase.h"
#include "app/panes/PaneFlow.h"
#include "app/panes/PaneInfo.h"
#include "app/view/BrixoView.h"
#include "core/base/AppIdentity.h"
#include "core/base/CoreConfig.h"
#include "core/case/ManageCore.h"
#include "platform/ProgramDir.h"
#include "platform/UiRegistry.h"
#include "platform/qt/ModalRunner.h"
#include "stage/StageManage.h"

namespace {

// The settings and file commands that the stage manager serves, by their menu ids.
struct MenuStageCommand {
  int id;
  StageCommand command;
};
constexpr MenuStageCommand kMenuStageCommands[] = {
    {CMainFrame::kImportCad, StageCommand::ImportCad},
    {CMainFrame::kExportCad, StageCommand::ExportCad},
    {CMainFrame::kImportXml, StageCommand::ImportXml},
    {CMainFrame::kExportXml, StageCommand::ExportXml},
    {CMainFrame::kUnitFilter, StageCommand::UnitFilter},
    {CMainFrame::kGeology, StageCommand::Geology},
    {CMainFrame::kReinf, StageCommand::Reinf},
    {CMainFrame::kRefCond, StageCommand::RefCond},
};

// The imports empty the active case and fill it anew, so they wait while a dialog holds it.
bool ReplacesActiveCase(StageCommand command) {
  return command == StageCommand::ImportCad || command == StageCommand::ImportXml;
}

// The rounding pass clears results and rounds soil values in every case, the one an open dialog
// holds and would put back on キャンセル too; so it waits as the imports do.
bool WaitsForFreeCase(StageCommand command) {
  return ReplacesActiveCase(command) || command == StageCommand::UnitFilter;
}

constexpr int kSidePaneWidth = 200;

std::filesystem::path ManualPath() { return ResourceDir() / "SystemData" / "manual.pdf"; }

// The folder of print and report work files, with a trailing separator: PrnFiles in the data
// folder.
std::string PrintFolder() { return (DataDir() / "PrnFiles" / "").string(); }

// A dock that stays where the frame puts it: it can neither float nor close.
QDockWidget* MakeDock(const QString& caption, int id, QWidget* content, QWidget* parent) {
  auto* dock = new QDockWidget(caption, parent);
  dock->setObjectName(QString::number(id));
  dock->setFeatures(QDockWidget::NoDockWidgetFeatures);
  dock->setWidget(content);
  return dock;
}

}  // namespace

CMainFrame::CMainFrame(CManageCore& core, CManageStage& stage)
    : core_(core), stage_(stage), documents_(new CDocumentFiles(core, this)) {
  setObjectName(QStringLiteral("CMainFrame"));
  setAcceptDrops(true);
  printFolder_ = ResourceDir() / "PrnFiles";
  view_ = new CBrixoView(core, this);
  view_->SetStepSource([this] { return CurrentStep(); });
  setCentralWidget(view_);
  resize(1000, 700);

  CreateActions();
  CreateMenus();
  CreateToolBars();
  CreateDockingWindows();

  connect(view_, &CBrixoView::PointClicked, this,
          [this](double x, double y) { stage_.OnLButtonDown(x, y); });
  connect(view_, &CBrixoView::DoubleClicked, this, [this] { stage_.OnLButtonDblClk(); });
  connect(view_, &CBrixoView::CoordinateChanged, infoPane_, &CPaneInfoDlg::SetCoordText);
  connect(documents_, &CDocumentFiles::PathChanged, this, &CMainFrame::UpdateTitle);
  connect(documents_, &CDocumentFiles::DocumentSaved, this, &CMainFrame::UpdateModifiedMark);
  connect(documents_, &CDocumentFiles::DocumentCreated, this, &CMainFrame::OnDocumentCreated);
  connect(documents_, &CDocumentFiles::DocumentLoaded, this, &CMainFrame::RefreshPanes);
  connect(documents_, &CDocumentFiles::RecentFilesChanged, this, &CMainFrame::FillRecentMenu);
  UpdateTitle();
}

CMainFrame::~CMainFrame() {
  if (connected_) Ui().SetFrameReceiver({});
}

void CMainFrame::ConnectStage() {
  // Whatever a message ran may have changed the document: the title follows.
  Ui().SetFrameReceiver([this](FrameMsg message, std::uintptr_t wParam, std::intptr_t lParam) {
    const std::intptr_t result = OnFrameMessage(message, wParam, lParam);
    UpdateModifiedMark();
    return result;
  });
  connected_ = true;
  RefreshInfoPane();
  infoPane_->SetCoordText({});
  UpdateTitle();
  UpdateStageInfo();
  UpdateCommands();
}

std::intptr_t CMainFrame::OnFrameMessage(FrameMsg message, std::uintptr_t wParam,
                                         std::intptr_t lParam) {
  if (message == FrameMsg::WM_APP_PRINT_WORD) return OnPrintWord(wParam, lParam);
  if (const std::optional<StageCommand> command = CManageStage::CommandOf(message)) {
    return RunStageCommand(*command, wParam);
  }
  switch (message) {
    case FrameMsg::WM_APP_STAGE1:
    case FrameMsg::WM_APP_STAGE2:
    case FrameMsg::WM_APP_STAGE3:
    case FrameMsg::WM_APP_STAGE4:
      OnStageEntered();
      return 0;
    case FrameMsg::WM_CMD_COMMON_SHAPE_CLOSE:
      return AfterModelessClosed(stage_.CmdCommonShapeClose(static_cast<unsigned>(wParam)),
                                 kRefreshCases);
    case FrameMsg::WM_CMD_STAB_PATTERN_CLOSE:
      return AfterModelessClosed(stage_.CmdStabPatternClose(static_cast<unsigned>(wParam)),
                                 kRefreshStep);
    case FrameMsg::WM_CMD_STAB_BLOCK_CLOSE:
      return CloseModeless(ModelessDialog::Block, wParam, kRefreshNone);
    case FrameMsg::WM_CMD_STAB_LOAD_CLOSE:
      return AfterModelessClosed(stage_.CmdStabLoadClose(static_cast<unsigned>(wParam)),
                                 kRefreshNone);
    case FrameMsg::WM_CMD_SLIDE_ARRANGE_CLOSE:
    case FrameMsg::WM_CMD_SHEAR_ARRANGE_CLOSE:
      return AfterModelessClosed(stage_.CmdSlideArrangeClose(static_cast<unsigned>(wParam)),
                                 kRefreshNone);
    case FrameMsg::WM_CMD_STAB_ARC_CLOSE:
      return AfterModelessClosed(stage_.CmdStabArcClose(static_cast<unsigned>(wParam)),
                                 kRefreshNone);
    case FrameMsg::WM_CMD_STAB_ARC_PASS_SHOW:
      return stage_.CmdStabArcPassShow(this);
    case FrameMsg::WM_CMD_STAB_ARC_PASS_NOT_SHOW:
      return stage_.CmdStabArcPassNotShow(this);
    case FrameMsg::WM_CMD_STAB_ARC_PASS_CLOSE:
      // The condition dialog is open again: the work panes stay off.
      return stage_.CmdStabArcPassClose(static_cast<unsigned>(wParam));
    case FrameMsg::WM_APP_REDRAW:
      Redraw();
      // The surface-load dialog opens without a frame command; its redraw locks the case.
      if (IsCaseLocked()) {
        EnableWorkPanes(false);
        UpdateCommands();
      }
      return 0;
    case FrameMsg::WM_APP_INFO_REFRESH:
      RefreshInfoPane();
      UpdateStageInfo();
      return 0;
    case FrameMsg::WM_APP_CASE_SELECT:
      OnCaseSelect(wParam);
      return 0;
    case FrameMsg::WM_APP_CASE_CLEAR:
      OnCaseClear();
      return 0;
    case FrameMsg::WM_APP_CASE_COPY:
      OnCaseCopy();
      return 0;
    case FrameMsg::WM_APP_CASE_INFO:
      OnCaseInfo();
      return 0;
    case FrameMsg::WM_APP_SHOW_QUAKE:
      core_.GetActiveCase()->GetDrawSet().loadCase = static_cast<int>(wParam);
      Redraw();
      return 0;
    case FrameMsg::WM_APP_SHOW_BLOCKS_ONLY:
      core_.GetActiveCase()->GetDrawSet().blocksOnly = static_cast<int>(wParam);
      Redraw();
      return 0;
    default:
      // The reserved numbers are answered 0 without effect.
      return 0;
  }
}

std::intptr_t CMainFrame::RunStageCommand(StageCommand command, std::uintptr_t wParam) {
  const CommandOutcome outcome = StartStageCommand(command, wParam);
  Refresh(outcome.refresh);
  return outcome.result;
}

CMainFrame::CommandOutcome CMainFrame::StartStageCommand(StageCommand command,
                                                         std::uintptr_t wParam) {
  if (!CManageStage::IsAvailable(command)) return {0, kRefreshNone};
  if (WaitsForFreeCase(command) && IsCaseLocked()) return {0, kRefreshNone};
  // A modal dialog that ended with OK (result 1) stored a change: the in-use marks follow.
  const auto caseDialog = [](long result) -> CommandOutcome {
    return {result, result != 0 ? kRefreshCases : kRefreshNone};
  };
  switch (command) {
    case StageCommand::Jobsite:
      return caseDialog(stage_.CmdCommonJobsite(this));
    case StageCommand::ShapeShow:
      stage_.CmdCommonShapeShow(this);
      EnableWorkPanes(false);
      return {0, kRefreshNone};
    case StageCommand::Polygon:
      return {stage_.CmdCommonPolygon(), kRefreshNone};
    case StageCommand::StabPatternShow:
      stage_.CmdStabPatternShow(this);
      EnableWorkPanes(false);
      return {0, kRefreshNone};
    case StageCommand::StabBlockShow:
      if (stage_.CmdStabBlockShow(this) != 0) EnableWorkPanes(false);
      return {0, kRefreshNone};
    case StageCommand::Soil:
      return caseDialog(stage_.CmdCommonSoil(this));
    case StageCommand::StabGyaku:
      // キャンセル stores what was edited too.
      return {stage_.CmdStabStabilityGyaku(this), kRefreshCases};
    case StageCommand::StabStability:
      return caseDialog(stage_.CmdStabStability(this));
    case StageCommand::SlidePattern:
      return caseDialog(stage_.CmdSlidePattern(this));
    case StageCommand::SlideStability:
      return caseDialog(stage_.CmdSlideStability(this));
    case StageCommand::ShearFit:
      return caseDialog(stage_.CmdShearFit(this));
    case StageCommand::ShearStability:
      return caseDialog(stage_.CmdShearStability(this));
    case StageCommand::SlideArrangeShow:
      stage_.CmdSlideArrangeShow(this);
      EnableWorkPanes(false);
      return {0, kRefreshNone};
    case StageCommand::ShearFocus:
      return caseDialog(stage_.CmdShearFocus(this));
    case StageCommand::Geology:
      return {stage_.SetMenuGeology(this), kRefreshNone};
    case StageCommand::Reinf:
      return {stage_.SetMenuRreinf(this), kRefreshNone};
    case StageCommand::UnitFilter:
      // New rules may have cleared the results the case pane marks.
      return caseDialog(stage_.SetMenuUnitFilter(this));
    case StageCommand::RefCond:
      // Applied values may have cleared results of the cases.
      return caseDialog(stage_.SetMenuRefCond(this));
    case StageCommand::SlideElement:
      return caseDialog(stage_.CmdSlideElement(this));
    case StageCommand::ImportXml:
      // The case redraws the view itself once it took a file; the names, the in-use mark and
      // the load cases the stability conditions offer may all have changed.
      stage_.ImportXml();
      return {0, kRefreshCases | kRefreshStep};
    case StageCommand::ExportXml:
      stage_.ExportXml();
      return {0, kRefreshNone};
    case StageCommand::ImportCad:
      // The stage manager redraws once the case took a drawing; its in-use mark may have changed.
      stage_.ImportCad();
      return {0, kRefreshCases | kRefreshStep};
    case StageCommand::PrintExcel:
      return {stage_.PrintExcel(PrintFolder(), static_cast<int>(wParam)), kRefreshNone};
    case StageCommand::ExportCad:
      stage_.ExportCad(this, wParam == 1);
      return {0, kRefreshNone};
    default:
      // IsAvailable lists no other command in this build.
      return {0, kRefreshNone};
  }
}

std::intptr_t CMainFrame::OnPrintWord(std::uintptr_t kind, std::intptr_t sub) {
  if (!CManageStage::IsAvailable(StageCommand::PrintWord)) return 0;
  long chosen = 0;
  switch (kind) {
    case 1:
      chosen = stage_.PrintWordMultiDlgShow(1, this);
      break;
    case 2:
    case 3:
      core_.GetPrnInfo().SetPrnStage(static_cast<int>(kind));
      chosen = stage_.PrintWordSummaryDlgShow(static_cast<int>(kind), this);
      break;
    default:
      return 0;
  }
  if (chosen == 0) return 0;
  return stage_.PrintWord(printFolder_, kind == 3 ? static_cast<int>(sub) : 0);
}

void CMainFrame::Refresh(unsigned parts) {
  if ((parts & kRefreshCases) != 0) UpdateCasePane();
  if ((parts & kRefreshStep) != 0) UpdateStageInfo();
  UpdateCommands();
}

std::intptr_t CMainFrame::CloseModeless(ModelessDialog which, std::uintptr_t result,
                                        unsigned refresh) {
  return AfterModelessClosed(stage_.Close(which, static_cast<unsigned>(result)), refresh);
}

std::intptr_t CMainFrame::AfterModelessClosed(long closed, unsigned refresh) {
  // The close member has asked for the redraw of the view already.
  EnableWorkPanes(true);
  Refresh(closed != 0 ? refresh : kRefreshNone);
  return 0;
}

int CMainFrame::CurrentStep() const { return flowPane_->GetStage(); }

void CMainFrame::OnStageEntered() {
  UpdateStageInfo();
  Redraw();
}

void CMainFrame::Redraw() {
  view_->Invalidate();
  Action(kZoomIn)->setEnabled(view_->CanZoomIn());
  Action(kZoomReset)->setEnabled(view_->CanZoomReset());
}

void CMainFrame::OnCaseSelect(std::uintptr_t index) {
  CCaseArray& cases = core_.GetCaseArray();
  if (IsCaseLocked() || index >= static_cast<std::uintptr_t>(cases.GetSize())) return;
  CDrawSet display;
  display.Copy(cases.GetActiveCase()->GetDrawSet());
  cases.SetActiveID(static_cast<int>(index));
  casePane_->SelectCase(static_cast<int>(index));
  RefreshInfoPane();
  UpdateStageInfo();
  cases.GetActiveCase()->GetDrawSet().Copy(display);
  Redraw();
  update();
}

void CMainFrame::OnCaseClear() {
  if (IsCaseLocked()) return;
  CCase* const active = core_.GetActiveCase();
  const bool inUse = active->GetInUse() != 0;
  active->ClearResult(true, true, true, true);
  active->Init();
  UpdateStageInfo();
  if (inUse) active->SetModify(true);
  UpdateStageInfo();
  UpdateCasePane();
  Redraw();
}

void CMainFrame::UpdateTitle() {
  const std::string& name = documents_->GetFileName();
  // "[*]" is where Qt shows the modified mark; a "[*]" of the file name itself is doubled so that
  // Qt shows it as written.
  const QString shown = name.empty() ? QStringLiteral("無題")
                                     : QString::fromStdString(name).replace(
                                           QStringLiteral("[*]"), QStringLiteral("[*][*]"));
  setWindowTitle(shown + QStringLiteral("[*] - ") + QString::fromStdString(GetAppFullTitle()));
  UpdateModifiedMark();
}

void CMainFrame::UpdateModifiedMark() { setWindowModified(core_.IsModify()); }

void CMainFrame::OnCaseCopy() {
  if (IsCaseLocked()) return;
  CCaseCopyDlg dialog(core_.GetCaseArray(), this);
  if (RunModal(dialog) != QDialog::Accepted || dialog.GetCopiedIndex() == CCaseCopyDlg::kNone) {
    return;
  }
  Ui().SendToFrame(FrameMsg::WM_APP_CASE_SELECT,
                   static_cast<std::uintptr_t>(dialog.GetCopiedIndex()), 0);
  UpdateCasePane();
}

void CMainFrame::OnCaseInfo() {
  if (IsCaseLocked()) return;
  CCaseInfoDlg dialog(core_.GetCaseArray(), this);
  if (RunModal(dialog) != QDialog::Accepted) return;
  UpdateCasePane();
  Ui().SendToFrame(FrameMsg::WM_APP_CASE_SELECT,
                   static_cast<std::uintptr_t>(dialog.GetResultIndex()), 0);
}

void CMainFrame::UpdateCasePane() {
  casePane_->FillCaseButtons(core_.GetCaseArray());
  casePane_->MarkUsedCases(core_.GetCaseArray());
  RefreshInfoPane();
}

void CMainFrame::RefreshInfoPane() {
  infoPane_->ShowCaseNames(core_.GetActiveCase()->GetPrmJobsite());
}

void CMainFrame::UpdateStageInfo() {
  if (!connected_) return;
  CCoreConfig::SetStageNo(CurrentStep());
  const CPrmStab& stability = core_.GetActiveCase()->GetPrmStab();
  casePane_->SetStabTypeFlags(stability.IsNormal(), stability.IsQuake());
}

bool CMainFrame::IsServed(FrameMsg message) const {
  const std::optional<StageCommand> command = CManageStage::CommandOf(message);
  return !command || CManageStage::IsAvailable(*command);
}

void CMainFrame::OnDocumentCreated() {
  casePane_->SelectCase(0);
  casePane_->ResetQuakeChoice();
  RefreshPanes();
}

void CMainFrame::RefreshPanes() {
  UpdateTitle();
  UpdateCasePane();
  update();
  view_->ZoomReset();
  flowPane_->ResetToFirstStage();
  casePane_->SelectCase(core_.GetCaseArray().GetActiveCaseID());
  UpdateStageInfo();
  Redraw();
  UpdateCommands();
}

void CMainFrame::ShowArcConditions() {
  stage_.CmdStabArcShow(this);
  EnableWorkPanes(false);
  UpdateCommands();
}

void CMainFrame::EnableWorkPanes(bool enable) {
  standardBar_->setEnabled(enable);
  flowDock_->widget()->setEnabled(enable);
  caseDock_->widget()->setEnabled(enable);
}

bool CMainFrame::IsCaseLocked() const {
  return stage_.IsDlgMode() || stage_.Exists(ModelessDialog::Block);
}

void CMainFrame::UpdateCommands() {
  const bool free = !IsCaseLocked();
  for (const int id : {kFileNew, kFileOpen, kFilePrint, kFilePrintPreview}) {
    Action(id)->setEnabled(free);
  }
  for (QAction* recent : recentActions_) recent->setEnabled(free);
  for (const MenuStageCommand& entry : kMenuStageCommands) {
    Action(entry.id)->setEnabled(CManageStage::IsAvailable(entry.command) &&
                                 (free || !WaitsForFreeCase(entry.command)));
  }
  Action(kManual)->setEnabled(IsFile(ManualPath()));
  Action(kZoomIn)->setEnabled(view_->CanZoomIn());
  Action(kZoomReset)->setEnabled(view_->CanZoomReset());
}

QAction* CMainFrame::AddAction(int id, const QString& text) {
  auto* action = new QAction(text, this);
  action->setObjectName(QString::number(id));
  actions_[id] = action;
  return action;
}

void CMainFrame::CreateActions() {
  const QStyle* style = QApplication::style();
  QAction* fileNew = AddAction(kFileNew, QStringLiteral("新規作成"));
  fileNew->setShortcut(QKeySequence::New);
  fileNew->setIcon(style->standardIcon(QStyle::SP_FileIcon));
  connect(fileNew, &QAction::triggered, documents_, &CDocumentFiles::OnFileNew);
  QAction* fileOpen = AddAction(kFileOpen, QStringLiteral("開く..."));
  fileOpen->setShortcut(QKeySequence::Open);
  fileOpen->setIcon(style->standardIcon(QStyle::SP_DialogOpenButton));
  connect(fileOpen, &QAction::triggered, documents_, &CDocumentFiles::OnFileOpen);
  QAction* fileSave = AddAction(kFileSave, QStringLiteral("上書き保存"));
  fileSave->setShortcut(QKeySequence::Save);
  fileSave->setIcon(style->standardIcon(QStyle::SP_DialogSaveButton));
  connect(fileSave, &QAction::triggered, documents_, &CDocumentFiles::OnFileSave);
  connect(AddAction(kFileSaveAs, QStringLiteral("名前を付けて保存...")), &QAction::triggered,
          documents_, &CDocumentFiles::OnFileSaveAs);
  QAction* print = AddAction(kFilePrint, QStringLiteral("印刷..."));
  print->setShortcut(QKeySequence::Print);
  connect(print, &QAction::triggered, this, &CMainFrame::OnFilePrint);
  connect(AddAction(kFilePrintPreview, QStringLiteral("印刷プレビュー")), &QAction::triggered, this,
          &CMainFrame::OnFilePrintPreview);
  for (int slot = 0; slot < kRecentFileSlots; ++slot) {
    QAction* recent = AddAction(kFileRecentFirst + slot, QString());
    connect(recent, &QAction::triggered, documents_,
            [this, slot] { documents_->OnFileRecent(slot); });
    recentActions_.at(static_cast<std::size_t>(slot)) = recent;
  }
  for (const MenuStageCommand& entry : kMenuStageCommands) {
    QAction* action =
        AddAction(entry.id, ReplacesActiveCase(entry.command) ? QStringLiteral("読み込み")
                                                              : QStringLiteral("保存"));
    connect(action, &QAction::triggered, this, [this, command = entry.command] {
      RunStageCommand(command);
      UpdateCommands();
      UpdateModifiedMark();
    });
  }
  Action(kUnitFilter)->setText(QStringLiteral("数値丸め"));
  Action(kGeology)->setText(QStringLiteral("土質の設定"));
  Action(kReinf)->setText(QStringLiteral("補強材の設定"));
  Action(kRefCond)->setText(QStringLiteral("基準値の設定"));
  connect(AddAction(kAppExit, QStringLiteral("アプリケーションの終了")), &QAction::triggered, this,
          &QWidget::close);
  connect(AddAction(kZoomIn, QStringLiteral("拡大")), &QAction::triggered, view_,
          &CBrixoView::ZoomIn);
  connect(AddAction(kZoomReset, QStringLiteral("縮小")), &QAction::triggered, view_,
          &CBrixoView::ZoomReset);
  connect(AddAction(kShowToolbars, QStringLiteral("ツールバーの表示")), &QAction::triggered, this,
          &CMainFrame::OnShowToolbars);
  connect(AddAction(kManual, QStringLiteral("取り扱い説明書 (PDF)")), &QAction::triggered, this,
          &CMainFrame::OnManual);
  QAction* about = AddAction(kAppAbout, QStringLiteral("バージョン情報"));
  about->setIcon(style->standardIcon(QStyle::SP_MessageBoxInformation));
  connect(about, &QAction::triggered, this, &CMainFrame::OnAbout);
}

void CMainFrame::CreateMenus() {
  QMenu* file = menuBar()->addMenu(QStringLiteral("ファイル(&F)"));
  file->addActions({Action(kFileNew), Action(kFileOpen), Action(kFileSave), Action(kFileSaveAs)});
  file->addSeparator();
  file->addActions({Action(kFilePrint), Action(kFilePrintPreview)});
  file->addSeparator();
  QMenu* cad = file->addMenu(QStringLiteral("CADデータ形式"));
  cad->addActions({Action(kImportCad), Action(kExportCad)});
  QMenu* xml = file->addMenu(QStringLiteral("ZELKO共通地形データ (XML形式)"));
  xml->addActions({Action(kImportXml), Action(kExportXml)});
  file->addSeparator();
  recentMenu_ = file->addMenu(QStringLiteral("最近使ったファイル"));
  for (QAction* recent : recentActions_) recentMenu_->addAction(recent);
  file->addSeparator();
  file->addAction(Action(kAppExit));
  FillRecentMenu();

  QMenu* show = menuBar()->addMenu(QStringLiteral("表示(&V)"));
  show->addActions({Action(kShowToolbars), Action(kZoomIn), Action(kZoomReset)});
  QMenu* settings = menuBar()->addMenu(QStringLiteral("設定(&S)"));
  settings->addActions({Action(kUnitFilter), Action(kGeology), Action(kReinf), Action(kRefCond)});
  QMenu* help = menuBar()->addMenu(QStringLiteral("ヘルプ(&H)"));
  help->addActions({Action(kManual), Action(kAppAbout)});
}

void CMainFrame::CreateToolBars() {
  standardBar_ = addToolBar(QStringLiteral("標準"));
  standardBar_->setObjectName(QStringLiteral("59432"));
  standardBar_->addActions({Action(kFileNew), Action(kFileOpen), Action(kFileSave)});
  standardBar_->addSeparator();
  standardBar_->addAction(Action(kAppAbout));
  viewBar_ = addToolBar(QStringLiteral("表示"));
  viewBar_->setObjectName(QStringLiteral("59433"));
  viewBar_->addActions({Action(kZoomIn), Action(kZoomReset)});
}

void CMainFrame::CreateDockingWindows() {
  flowPane_ = new CPaneFlowDlg;
  flowPane_->SetCommandAvailable([this](FrameMsg message) { return IsServed(message); });
  casePane_ = new CPaneCaseDlg;
  infoPane_ = new CPaneInfoDlg;
  flowDock_ = MakeDock(QStringLiteral("フロー"), 200, flowPane_, this);
  caseDock_ = MakeDock(QStringLiteral("ケース"), 201, casePane_, this);
  infoDock_ = MakeDock(QStringLiteral("情報"), 202, infoPane_, this);
  flowDock_->setAllowedAreas(Qt::LeftDockWidgetArea);
  caseDock_->setAllowedAreas(Qt::RightDockWidgetArea);
  infoDock_->setAllowedAreas(Qt::TopDockWidgetArea);
  addDockWidget(Qt::LeftDockWidgetArea, flowDock_);
  addDockWidget(Qt::RightDockWidgetArea, caseDock_);
  addDockWidget(Qt::TopDockWidgetArea, infoDock_);
  // The panes' initial sizes: 200 wide at the sides; the information pane as low as it needs.
  resizeDocks({flowDock_, caseDock_}, {kSidePaneWidth, kSidePaneWidth}, Qt::Horizontal);
  resizeDocks({infoDock_}, {infoPane_->sizeHint().height()}, Qt::Vertical);
  UpdateCasePane();
}

void CMainFrame::FillRecentMenu() {
  const std::vector<std::filesystem::path> files = ReadRecentFiles();
  for (std::size_t slot = 0; slot < recentActions_.size(); ++slot) {
    QAction* recent = recentActions_.at(slot);
    const bool used = slot < files.size();
    recent->setVisible(used);
    if (used) {
      recent->setText(
          QStringLiteral("&%1 %2").arg(slot + 1).arg(RecentFileDisplayName(files.at(slot))));
    }
  }
  recentMenu_->setEnabled(!files.empty());
}

bool CMainFrame::PrintOn(QPrinter& printer) { return PrintSection(core_, printer); }

void CMainFrame::OnFilePrint() {
  if (IsCaseLocked()) return;
  QPrinter printer(QPrinter::HighResolution);
  PreparePrinter(printer);
  QPrintDialog dialog(&printer, this);
  if (RunModal(dialog) != QDialog::Accepted) return;
  if (!PrintOn(printer)) {
    Ui().MessageBox("印刷できませんでした。", GetAppTitle(), MsgButtons::Ok, MsgIcon::Warning);
  }
}

void CMainFrame::OnFilePrintPreview() {
  if (IsCaseLocked()) return;
  QPrinter printer(QPrinter::HighResolution);
  PreparePrinter(printer);
  QPrintPreviewDialog dialog(&printer, this);
  connect(&dialog, &QPrintPreviewDialog::paintRequested, this,
          [this](QPrinter* shown) { PrintOn(*shown); });
  RunModal(dialog);
}

void CMainFrame::OnManual() { Ui().OpenInViewer(ManualPath()); }

void CMainFrame::OnAbout() {
  CAboutDlg dialog(this);
  RunModal(dialog);
}

void CMainFrame::OnShowToolbars() {
  for (QToolBar* bar : {standardBar_, viewBar_}) {
    if (bar->isHidden()) {
      addToolBar(Qt::TopToolBarArea, bar);
      bar->show();
    }
  }
}

void CMainFrame::closeEvent(QCloseEvent* event) {
  if (stage_.CloseAllForExit() && documents_->QueryClose()) {
    event->accept();
  } else {
    event->ignore();
  }
}

void CMainFrame::dragEnterEvent(QDragEnterEvent* event) {
  if (!IsCaseLocked() && !CDocumentFiles::DroppedFiles(*event->mimeData()).empty()) {
    event->acceptProposedAction();
  }
}

void CMainFrame::dropEvent(QDropEvent* event) {
  if (IsCaseLocked()) return;
  const std::vector<std::filesystem::path> files = CDocumentFiles::DroppedFiles(*event->mimeData());
  if (files.empty()) return;
  event->acceptProposedAction();
  documents_->OnDropFiles(files);
}
