#pragma once
// The one object through which the program's frame, view and panes reach the dialogs of the
// design steps, the settings and the output. It holds the core facade it was given and, for each
// modeless step dialog, a guarded pointer while that dialog is open; modal dialogs live on the
// stack of the member that runs them.
//
// Which commands this build serves is one table (IsAvailable): a command whose dialog has not
// been built yet is shown disabled by the frame and the flow pane, and its frame message answers
// 0, so no button ever does silently nothing.

#include <QPointer>
#include <array>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/FrameMessages.h"
#include "stage/output/StagePrintExcel.h"
#include "stage/output/StagePrintWord.h"

class CCase;
class CCmdCmnShapeDlg;
class CCmdDrainArrangeDlg;
class CCmdStabArcDlg;
class CCmdStabArcPasslineDlg;
class CCmdStabShapeLoadDlg;
class CManageCore;
class QDialog;
class QWidget;
class StageDialog;

// Every command the stage manager serves: the step buttons, the Settings menu, the File menu's
// exchange and CAD commands and the output requests.
enum class StageCommand {
  Jobsite,
  ShapeShow,
  Polygon,
  Soil,
  StabPatternShow,
  StabBlockShow,
  StabGyaku,
  StabStability,
  SlideElement,
  SlideArrangeShow,
  SlidePattern,
  SlideStability,
  ShearFit,
  ShearStability,
  ShearFocus,
  UnitFilter,
  Geology,
  Reinf,
  RefCond,
  ImportCad,
  ExportCad,
  ImportXml,
  ExportXml,
  PrintWord,
  PrintExcel,
};

// The modeless step dialogs, in the order a view click reaches them.
enum class ModelessDialog { Shape, Load, Arc, ArcPass, DrainArrange, ReinfArrange, Pattern, Block };

class CManageStage {
 public:
  // Takes a view click in world coordinates.
  using PointHandler = std::function<void(double x, double y)>;

  CManageStage() = default;
  CManageStage(const CManageStage&) = delete;
  CManageStage& operator=(const CManageStage&) = delete;

  // Given once at start-up; the core outlives the stage manager.
  void SetManageCore(CManageCore* core) { core_ = core; }
  CManageCore* GetManageCore() const { return core_; }
  // The core's active case.
  CCase* GetActiveCase() const;

  // Whether this build has what the command needs.
  static bool IsAvailable(StageCommand command);
  // The command a frame message asks for; nothing for the frame's own messages.
  static std::optional<StageCommand> CommandOf(FrameMsg message);

  // The step-1 members. Each opens its dialog on the active case, with the main window as
  // parent; the modal ones answer 1 when the dialog ended with OK (and then ask the frame for the
  // one redraw, where they say so), else 0 and no redraw. A modal dialog starts through its
  // static Run, a modeless one through its static Open handed to Attach.

  // The site dialog (its グリッドの設定 opens the grid dialog on the site dialog's copy).
  long CmdCommonJobsite(QWidget* parent);
  // Opens the terrain editor, or raises the open one; while it is open the view highlights the
  // shape being edited. Returns 0.
  long CmdCommonShapeShow(QWidget* parent);
  // The terrain editor announced its end (result 1 after OK, 0 after キャンセル): mouse editing
  // and the highlight end, the editor is deleted later and the view redrawn. Returns 1 when
  // result is 1.
  long CmdCommonShapeClose(unsigned result);
  // Strata recognition on the active case: numbers the stratum polygons, gives every polygon
  // without a soil name its own name, reports how many were found and redraws. A case with a
  // block division or results is asked first (Yes/No): the division is dropped and every result
  // cleared, or nothing changes. Returns 0.
  long CmdCommonPolygon();
  // The soil constants of the recognised strata; a case without strata is refused with a
  // message.
  long CmdCommonSoil(QWidget* parent);
  // The back analysis (c逆算) on the active case's conditions and back-analysis results, edited
  // in place; 1 and a redraw when it ended with 登録.
  long CmdStabStabilityGyaku(QWidget* parent);
  // The multi-plane stability of step 2 on the active case; after OK the view is redrawn.
  long CmdStabStability(QWidget* parent);
  // Step 3: the slide-deformation conditions of the active case; after OK the view is redrawn.
  long CmdSlidePattern(QWidget* parent);
  // Step 3: the slide-deformation calculation and its results; a case without a run registered
  // for the seismic case is refused with a message. After OK the view is redrawn.
  long CmdSlideStability(QWidget* parent);
  // Step 4: the strain dependence of the soil's shear modulus of the active case; after OK the
  // view is redrawn.
  long CmdShearFit(QWidget* parent);
  // Step 4: the shear deformation of the active case; a case without a row registered for the
  // seismic case is refused with "多平面安定解析にて、地震時の結果が登録されていません。".
  long CmdShearStability(QWidget* parent);
  // The Settings menu's soil table editor, on the core's table. No redraw.
  long SetMenuGeology(QWidget* parent);
  // The Settings menu's standard-bar table editor, on the core's table. No redraw.
  long SetMenuRreinf(QWidget* parent);
  // The Settings menu's rounding rules; 1 when the dialog ended with OK. A change of a setting
  // clears the results of every case, a change of a digit count rounds their soil values anew;
  // either marks the document modified and redraws.
  long SetMenuUnitFilter(QWidget* parent);
  // The Settings menu's standard values; 1 and a redraw when they were applied (they may have
  // cleared the deformation results the view shows).
  long SetMenuRefCond(QWidget* parent);

  // Step 2: the stability conditions of the active case, or the open conditions dialog raised;
  // the dialog redraws the view itself. Returns 0.
  long CmdStabPatternShow(QWidget* parent);
  // The conditions dialog announced its end (result 1 after OK, 0 after キャンセル): it is
  // deleted later and the view redrawn. Returns 1 when result is 1.
  long CmdStabPatternClose(unsigned result);

  // Steps 3 and 4: the countermeasure specifications of the active case; after OK the view is
  // redrawn.
  long CmdSlideElement(QWidget* parent);

  // Step 2, the soil constants of the second level: the same dialog and check as CmdCommonSoil,
  // which keeps no soil mode.
  long CmdStabSoilL2(QWidget* parent);
  // Step 2, the division of the strata: only its precondition, the stratum polygons, is checked
  // (a case without them is told "先に[地層認識]を行って下さい。"). Returns 0.
  long CmdStabPartition();

  // Opens the surface-load dialog, or raises the open one, and redraws. No command opens it; it
  // ends through the frame's close notice. Returns 0.
  long CmdStabLoadShow(QWidget* parent);
  // The surface-load dialog announced its end: it is deleted later and the view redrawn. Returns
  // 0.
  long CmdStabLoadClose(unsigned result);
  // The surface-load dialog is open and visible.
  bool IsLoadDlg() const { return IsOpen(ModelessDialog::Load); }
  // Hands the x of a view click to the surface-load dialog when it exists, has a load selected
  // and neither coordinate is unset.
  void SetPointLoadDlg(double x, double y);

  // The slip-circle search condition of the active case (condition index 1), or the open dialog
  // raised; no command of the program calls it. Returns 0.
  long CmdStabArcShow(QWidget* parent);
  // The condition dialog announced its end (result 1 after OK, 0 after キャンセル): it is deleted
  // later and the view redrawn. Returns 1 when result is 1.
  long CmdStabArcClose(unsigned result);
  // Only while the condition dialog is open: the pass-line (kind 1) or not-pass-line (kind 2)
  // dialog on the same condition, the condition dialog hidden until it closes. Returns 0.
  long CmdStabArcPassShow(QWidget* parent);
  long CmdStabArcPassNotShow(QWidget* parent);
  // The line dialog announced its end: it is deleted later, the condition dialog shown again and
  // the view redrawn. Returns 1 when result is 1.
  long CmdStabArcPassClose(unsigned result);
  long CmdStabArcPassNotClose(unsigned result) { return CmdStabArcPassClose(result); }
  // The condition dialog, or the line dialog, is open and visible.
  bool IsArcDlg() const { return IsOpen(ModelessDialog::Arc); }
  bool IsArcPassDlg() const { return IsOpen(ModelessDialog::ArcPass); }
  // Hand a view click to the dialog when it exists and neither coordinate is unset.
  void SetPointArcDlg(double x, double y);
  void SetPointArcPassDlg(double x, double y);

  // Opens the block division on a copy of the active case's block list, or raises the open one;
  // a case without stratum polygons is refused with "先に[地層認識]を行って下さい。". Returns 1
  // when the dialog is open. Its close is the frame's Close(ModelessDialog::Block, result).
  long CmdStabBlockShow(QWidget* parent);

  // Steps 3 and 4: the rock-bolt arrangement of the active case, or the open arrangement dialog
  // raised. While it is open the view draws the ranges being edited. Returns 0.
  long CmdSlideArrangeShow(QWidget* parent);
  // The arrangement dialog announced its end (result 1 after OK, 0 after キャンセル). Returns 1
  // when result is 1.
  long CmdSlideArrangeClose(unsigned result);
  // Hands a view click to the arrangement dialog when it exists and neither coordinate is unset.
  void SetPointDrainArrangeDlg(double x, double y);

  // Step 4: the rope-net check of the active case. Refused with a message while the
  // specifications, the arrangement or the shear result it needs are missing; 1 and a redraw when
  // it ended with OK.
  long CmdShearFocus(QWidget* parent);

  // Output. The report selection of the multi-plane report (kind 1) and of the slide- and
  // shear-deformation reports (kinds 2 and 3), modal on the document's print settings; 1 when
  // the user asked for the report.
  long PrintWordMultiDlgShow(int kind, QWidget* parent);
  long PrintWordSummaryDlgShow(int report, QWidget* parent);
  // Writes the Word report of the current step on the active case with the templates of folder;
  // the writer's result (1 when a file was written).
  long PrintWord(const std::filesystem::path& folder, int sub);
  // Whether the report (1 multi-plane: the item's data exist; 2 and 3 always) can be written.
  long CanPrintWord(int report, int item);
  CStagePrintWord& GetPrintWord() { return printWord_; }

  // The terrain editor is open and visible.
  bool IsShapeDlg() const { return IsOpen(ModelessDialog::Shape); }
  // Hands a view click to the terrain editor when it exists and neither coordinate is unset.
  void SetPointShapeDlg(double x, double y);

  // File menu, common terrain data. 読み込み replaces the active case by the section of a file
  // the user chooses (the case asks its own questions and redraws when it took a file); 保存
  // writes the active case with the slide line of the run selected for the normal case.
  void ImportXml();
  void ExportXml();

  // File menu, CAD data, 読み込み: the bridge's import dialog reads a DXF file; on its OK the
  // active case (after a question when it is in use) is emptied, keeps its grid area and takes
  // the first terrain shape as its ground and up to 400 stratum lines ("No.1" ...), each
  // coordinate rounded as view clicks are. A drawing with a coordinate beyond the section's
  // limits is refused and changes nothing.
  void ImportCad();

  // The Excel workbook of the active case's safety factors (kind 0; any other kind has nothing to
  // write): hands the Excel writer the case, the document's print settings, the case's view and
  // the folder, and runs it. Non-zero when a file was written.
  long PrintExcel(const std::string& folder, int kind);

  // The CAD output of the active case: File menu (linkage false) or the data linkage of the
  // stability result (true), which starts with the terrain, strata and rock bolts off.
  void ExportCad(QWidget* parent, bool linkage);

  // A left click in the section view, already rounded: handed to every open, visible modeless
  // dialog that takes points, in the order of ModelessDialog (the load dialog's handler decides
  // itself whether a load is selected). Nothing happens when a coordinate is the unset value.
  void OnLButtonDown(double x, double y);
  // A double click in the view asks the frame for the soil dialog, in step 1 only, when the
  // active case has stratum polygons and no modeless dialog is open.
  void OnLButtonDblClk();
  // A modeless dialog other than the block division is open and visible.
  bool IsDlgMode() const;
  // The dialog exists and is visible.
  bool IsOpen(ModelessDialog which) const;
  // The dialog exists, visible or not.
  bool Exists(ModelessDialog which) const;

  // The show members: when the dialog is already open it is shown, raised and activated and
  // true is returned, so that a second show never makes a second dialog.
  bool RaiseIfOpen(ModelessDialog which);
  // Takes a modeless dialog that a show member created (its parent owns it) with its point
  // handler (empty for a dialog that takes no points) and shows it.
  void Attach(ModelessDialog which, QDialog* dialog, PointHandler takePoint);
  // The close members: forgets the dialog, hides it and deletes it once control is back in the
  // event loop (the dialog's own OK or Cancel handler is still running). Returns 1 when result
  // is 1 (the dialog ended with OK), else 0.
  long Close(ModelessDialog which, unsigned result);
  // Before the main window closes: when an open modeless dialog holds changes it has not yet
  // taken into the case, asks whether to take them (Yes: the dialog's OK), drop them (No: its
  // キャンセル) or keep working (Cancel); every other open dialog is cancelled, as its own
  // キャンセル does. Returns whether the program may close: false when the user keeps working or
  // an OK refused its input, which leaves that dialog open.
  bool CloseAllForExit();

 private:
  struct Modeless {
    QPointer<QDialog> dialog;
    PointHandler takePoint;
  };
  static constexpr std::size_t kModelessCount = 8;

  Modeless& Slot(ModelessDialog which);
  const Modeless& Slot(ModelessDialog which) const;
  // The open dialogs that hold changes not yet taken into the case.
  std::vector<StageDialog*> DialogsWithUnappliedChanges() const;
  CCmdCmnShapeDlg* ShapeDlg() const;
  CCmdDrainArrangeDlg* DrainArrangeDlg() const;
  CCmdStabShapeLoadDlg* LoadDlg() const;
  CCmdStabArcDlg* ArcDlg() const;
  CCmdStabArcPasslineDlg* ArcPassDlg() const;
  // The line dialog of the kind on the open condition dialog.
  long ShowArcLines(int kind, QWidget* parent);

  CManageCore* core_ = nullptr;
  std::array<Modeless, kModelessCount> modeless_;
  CStagePrintExcel printExcel_;
  CStagePrintWord printWord_;
};
