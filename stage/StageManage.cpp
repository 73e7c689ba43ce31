#include "stage/StageManage.h"

#include <QDialog>
#include <algorithm>
#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "bridge/Z_PtarvIn.h"
#include "core/base/AppIdentity.h"
#include "core/base/Constants.h"
#include "core/base/CoreConfig.h"
#include "core/base/Utility.h"
#include "core/case/ManageCore.h"
#include "core/geometry/DPoly.h"
#include "core/section/SpStratum.h"
#include "platform/NumberText.h"
#include "platform/UiRegistry.h"
#include "stage/controls/StageDialog.h"
#include "stage/dialogs/CmdCmnJobsiteDlg.h"
#include "stage/dialogs/CmdCmnShapeDlg.h"
#include "stage/dialogs/CmdCmnSoilDlg.h"
#include "stage/dialogs/CmdDrainArrangeDlg.h"
#include "stage/dialogs/CmdShearFitDlg.h"
#include "stage/dialogs/CmdShearFocusDlg.h"
#include "stage/dialogs/CmdShearReslutDlg.h"
#include "stage/dialogs/CmdSlidElementDlg.h"
#include "stage/dialogs/CmdSlideInputDlg.h"
#include "stage/dialogs/CmdSlideResultDlg.h"
#include "stage/dialogs/CmdStabArcDlg.h"
#include "stage/dialogs/CmdStabArcPasslineDlg.h"
#include "stage/dialogs/CmdStabBlockDlg.h"
#include "stage/dialogs/CmdStabMultiFsDlg.h"
#include "stage/dialogs/CmdStabMultiFsGyakuDlg.h"
#include "stage/dialogs/CmdStabPatternDlg.h"
#include "stage/dialogs/CmdStabShapeLoadDlg.h"
#include "stage/dialogs/RefCmnGeologyListDlg.h"
#include "stage/dialogs/RefCondDlg.h"
#include "stage/dialogs/RefReinfStdBarDlg.h"
#include "stage/dialogs/RefUnitFilterDlg.h"
#include "stage/output/CadOutputDlg.h"
#include "stage/output/PrnWordDlg.h"

namespace {

struct CommandEntry {
  StageCommand command;
  std::optional<FrameMsg> message;  // the frame message that asks for it, if any
  bool available;                   // its dialog (or whatever it needs) is built
};

// The one table of the commands this build serves. The step dialogs, the settings dialogs, the
// exchange, CAD and report output each come with their own work; until then they are listed
// unavailable here and nowhere else.
constexpr CommandEntry kCommands[] = {
    {StageCommand::Jobsite, FrameMsg::WM_CMD_COMMON_JOBSITE, true},
    {StageCommand::ShapeShow, FrameMsg::WM_CMD_COMMON_SHAPE_SHOW, true},
    {StageCommand::Polygon, FrameMsg::WM_CMD_COMMON_POLYGON, true},
    {StageCommand::Soil, FrameMsg::WM_CMD_COMMON_SOIL, true},
    {StageCommand::StabPatternShow, FrameMsg::WM_CMD_STAB_PATTERN_SHOW, true},
    {StageCommand::StabBlockShow, FrameMsg::WM_CMD_STAB_BLOCK_SHOW, true},
    {StageCommand::StabGyaku, FrameMsg::WM_CMD_STAB_GYAKU, true},
    {StageCommand::StabStability, FrameMsg::WM_CMD_STAB_STABILITY, true},
    {StageCommand::SlideElement, FrameMsg::WM_CMD_SLIDE_ELEMENT, true},
    {StageCommand::SlideArrangeShow, FrameMsg::WM_CMD_SLIDE_ARRANGE_SHOW, true},
    {StageCommand::SlidePattern, FrameMsg::WM_CMD_SLIDE_PATTERN, true},
    {StageCommand::SlideStability, FrameMsg::WM_CMD_SLIDE_STABILITY, true},
    {StageCommand::ShearFit, FrameMsg::WM_CMD_SHEAR_FIT, true},
    {StageCommand::ShearStability, FrameMsg::WM_CMD_SHEAR_STABILITY, true},
    {StageCommand::ShearFocus, FrameMsg::WM_CMD_SHEAR_FOCUS, true},
    {StageCommand::UnitFilter, std::nullopt, true},
    {StageCommand::Geology, std::nullopt, true},
    {StageCommand::Reinf, std::nullopt, true},
    {StageCommand::RefCond, std::nullopt, true},
    {StageCommand::ImportCad, std::nullopt, true},
    {StageCommand::ExportCad, FrameMsg::WM_APP_EXPORT_CAD, true},
    {StageCommand::ImportXml, std::nullopt, true},
    {StageCommand::ExportXml, std::nullopt, true},
    {StageCommand::PrintWord, FrameMsg::WM_APP_PRINT_WORD, true},
    {StageCommand::PrintExcel, FrameMsg::WM_APP_PRINT_EXCEL, true},
};

// Step 4 reuses the step-3 commands of the countermeasure data and the arrangement.
std::optional<StageCommand> SharedStepCommand(FrameMsg message) {
  switch (message) {
    case FrameMsg::WM_CMD_SHEAR_ELEMENT:
      return StageCommand::SlideElement;
    case FrameMsg::WM_CMD_SHEAR_ARRANGE_SHOW:
      return StageCommand::SlideArrangeShow;
    default:
      return std::nullopt;
  }
}

std::string RecognisedStrataText(int count, int withoutSoil) {
  std::string text = std::to_string(count) + "個の地層を認識しました。";
  if (withoutSoil > 0) {
    text += "\n(まだ属性が未設定の地層が " + std::to_string(withoutSoil) + "個あります)";
  }
  return text;
}

constexpr const char* kDropDivisionQuestion =
    "地層認識の更新により、ブロック分割とすべての計算結果をクリアします。\nよろしいですか？";
constexpr const char* kClearResultsQuestion =
    "地層認識の更新により、すべての計算結果をクリアします。\nよろしいですか？";

// Whether the case holds results of any step, registered or not.
bool HoldsResults(CCase& target) {
  return target.GetResStab2().GetResult() != nullptr ||
         target.GetResStabGyaku().GetResult() != nullptr || target.GetResSlide().IsResult() ||
         target.GetResShear().IsResult() || target.GetResFocus().IsResult();
}

// What a member answers after its modal dialog: 1 and the one redraw when it ended with OK,
// else 0 and none.
long RedrawAfterOk(bool accepted) {
  if (!accepted) return 0;
  RedrawSection();
  return 1;
}

// The deformation steps work on the run registered for the seismic case; without one the user is
// told so.
bool HasSeismicRun(const CCase& target) {
  if (target.GetQuakeSelectPoint() != nullptr) return true;
  Ui().MessageBox("多平面安定解析にて、地震時の結果が登録されていません。", GetAppTitle(),
                  MsgButtons::Ok, MsgIcon::None);
  return false;
}

bool IsShown(const QPointer<QDialog>& dialog) { return dialog && dialog->isVisible(); }

// The question before the program closes over dialogs whose changes are not in the case yet.
std::string UnappliedChangesText(const std::vector<StageDialog*>& dialogs) {
  std::string names;
  for (const StageDialog* dialog : dialogs) {
    if (!names.empty()) names += "、";
    names += "「" + dialog->windowTitle().toStdString() + "」";
  }
  return names +
         "の入力内容が更新されています。\n反映しない場合には、変更は破棄されます。\n\n"
         "反映しますか？";
}

// The steps that work on the recognised strata need them first; without them the user is told so.
bool HasStratumPolygons(const CCase& target) {
  const CDPolyArray* const strata = target.GetGround().GetPolyArray();
  if (strata != nullptr && !strata->IsEmpty()) return true;
  Ui().MessageBox("先に[地層認識]を行って下さい。", GetAppTitle(), MsgButtons::Ok, MsgIcon::None);
  return false;
}

}  // namespace

CCase* CManageStage::GetActiveCase() const { return core_->GetActiveCase(); }

bool CManageStage::IsAvailable(StageCommand command) {
  for (const CommandEntry& entry : kCommands) {
    if (entry.command == command) return entry.available;
  }
  return false;
}

std::optional<StageCommand> CManageStage::CommandOf(FrameMsg message) {
  if (const std::optional<StageCommand> shared = SharedStepCommand(message)) return shared;
  for (const CommandEntry& entry : kCommands) {
    if (entry.message == message) return entry.command;
  }
  return std::nullopt;
}

long CManageStage::CmdCommonJobsite(QWidget* parent) {
  return RedrawAfterOk(CCmdCmnJobsiteDlg::Run(*GetActiveCase(), parent));
}

long CManageStage::CmdCommonShapeShow(QWidget* parent) {
  if (RaiseIfOpen(ModelessDialog::Shape)) return 0;
  // The editor's マウス入力 box, off at opening, decides the case's mouse editing; the
  // highlight of the shape being edited is on for as long as the editor is open.
  CDPoly::SetShowHilight(1);
  Attach(ModelessDialog::Shape, CCmdCmnShapeDlg::Open(*core_, parent),
         [this](double x, double y) { SetPointShapeDlg(x, y); });
  RedrawSection();
  return 0;
}

long CManageStage::CmdCommonShapeClose(unsigned result) {
  GetActiveCase()->SetMouseEdit(false);
  CDPoly::SetShowHilight(0);
  return Close(ModelessDialog::Shape, result);
}

long CManageStage::CmdCommonSoil(QWidget* parent) {
  return RedrawAfterOk(CCmdCmnSoilDlg::Run(*core_, *GetActiveCase(), parent));
}

long CManageStage::CmdStabStabilityGyaku(QWidget* parent) {
  return RedrawAfterOk(CCmdStabMultiFsGyakuDlg::Run(*GetActiveCase(), parent));
}

long CManageStage::CmdStabStability(QWidget* parent) {
  return RedrawAfterOk(CCmdStabMultiFsDlg::Run(*core_, parent));
}

long CManageStage::CmdShearFit(QWidget* parent) {
  return RedrawAfterOk(CCmdShearFitDlg::Run(*GetActiveCase(), parent));
}

long CManageStage::CmdShearStability(QWidget* parent) {
  if (!HasSeismicRun(*GetActiveCase())) return 0;
  return RedrawAfterOk(CCmdShearReslutDlg::Run(*core_, parent));
}

long CManageStage::CmdStabPatternShow(QWidget* parent) {
  if (RaiseIfOpen(ModelessDialog::Pattern)) return 0;
  Attach(ModelessDialog::Pattern, CCmdStabPatternDlg::Open(*GetActiveCase(), parent), {});
  return 0;
}

long CManageStage::CmdStabPatternClose(unsigned result) {
  return Close(ModelessDialog::Pattern, result);
}

long CManageStage::CmdSlidePattern(QWidget* parent) {
  return RedrawAfterOk(CCmdSlideInputDlg::Run(*GetActiveCase(), parent));
}

long CManageStage::CmdSlideStability(QWidget* parent) {
  CCase& active = *GetActiveCase();
  if (!HasSeismicRun(active)) return 0;
  return RedrawAfterOk(CCmdSlideResultDlg::Run(active, parent));
}

long CManageStage::SetMenuGeology(QWidget* parent) {
  return CRefCmnGeologyListDlg::Run(core_->GetRefData().geology, parent) ? 1 : 0;
}

long CManageStage::SetMenuRreinf(QWidget* parent) {
  return CRefReinfStdBarDlg::Run(core_->GetRefData().reinf, parent) ? 1 : 0;
}

long CManageStage::SetMenuUnitFilter(QWidget* parent) {
  const CUnitFilter opened = CCoreConfig::GetUnitFilter();
  if (!CRefUnitFilterDlg::Run(parent)) return 0;
  const CUnitFilter stored = CCoreConfig::GetUnitFilter();
  const bool clear = !(stored == opened);
  const bool round = CRefUnitFilterDlg::DigitsDiffer(stored, opened);
  if (!clear && !round) return 1;
  const CCaseArray& cases = core_->GetCaseArray();
  for (int slot = 0; slot < cases.GetSize(); ++slot) {
    CCase& each = *cases.GetCase(slot);
    if (each.IsValid()) continue;
    if (clear) each.ClearResultsReading(CalcInput::kRoundingRules);
    if (round) each.UnitDataRound();
  }
  // The rules belong to the document, and so do the results and values the pass changed.
  core_->SetModify(true);
  RedrawSection();
  return 1;
}

long CManageStage::SetMenuRefCond(QWidget* parent) {
  // Applied values may have cleared results the view shows.
  return RedrawAfterOk(CRefCondDlg::Run(*core_, parent));
}

long CManageStage::CmdSlideElement(QWidget* parent) {
  return RedrawAfterOk(CCmdSlidElementDlg::Run(*core_, *GetActiveCase(), parent));
}

long CManageStage::CmdStabArcShow(QWidget* parent) {
  if (RaiseIfOpen(ModelessDialog::Arc)) return 0;
  Attach(ModelessDialog::Arc, CCmdStabArcDlg::Open(*GetActiveCase(), 1, nullptr, parent),
         [this](double x, double y) { SetPointArcDlg(x, y); });
  RedrawSection();
  return 0;
}

long CManageStage::CmdStabArcClose(unsigned result) { return Close(ModelessDialog::Arc, result); }

long CManageStage::CmdStabArcPassShow(QWidget* parent) {
  return ShowArcLines(CCmdStabArcPasslineDlg::kPassLines, parent);
}

long CManageStage::CmdStabArcPassNotShow(QWidget* parent) {
  return ShowArcLines(CCmdStabArcPasslineDlg::kNotPassLines, parent);
}

long CManageStage::ShowArcLines(int kind, QWidget* parent) {
  CCmdStabArcDlg* const conditions = ArcDlg();
  if (conditions == nullptr || Exists(ModelessDialog::ArcPass)) return 0;
  Attach(ModelessDialog::ArcPass, CCmdStabArcPasslineDlg::Open(*GetActiveCase(), kind, parent),
         [this](double x, double y) { SetPointArcPassDlg(x, y); });
  RedrawSection();
  conditions->hide();
  return 0;
}

long CManageStage::CmdStabArcPassClose(unsigned result) {
  const long closed = Close(ModelessDialog::ArcPass, result);
  if (CCmdStabArcDlg* const conditions = ArcDlg()) conditions->show();
  return closed;
}

void CManageStage::SetPointArcDlg(double x, double y) {
  if (x == kNoValue || y == kNoValue) return;
  if (CCmdStabArcDlg* const dialog = ArcDlg()) dialog->SetPoint(x, y);
}

void CManageStage::SetPointArcPassDlg(double x, double y) {
  if (x == kNoValue || y == kNoValue) return;
  if (CCmdStabArcPasslineDlg* const dialog = ArcPassDlg()) dialog->SetPoint(x, y);
}

long CManageStage::CmdStabBlockShow(QWidget* parent) {
  if (RaiseIfOpen(ModelessDialog::Block)) return 1;
  CCase* const active = GetActiveCase();
  if (!HasStratumPolygons(*active)) return 0;
  // The dialog takes its points in its own preview, not from the view.
  Attach(ModelessDialog::Block, CCmdStabBlockDlg::Open(*active, parent), {});
  return 1;
}

long CManageStage::CmdStabSoilL2(QWidget* parent) { return CmdCommonSoil(parent); }

long CManageStage::CmdStabPartition() {
  HasStratumPolygons(*GetActiveCase());
  return 0;
}

long CManageStage::CmdStabLoadShow(QWidget* parent) {
  if (!RaiseIfOpen(ModelessDialog::Load)) {
    Attach(ModelessDialog::Load, CCmdStabShapeLoadDlg::Open(parent),
           [this](double x, double y) { SetPointLoadDlg(x, y); });
  }
  RedrawSection();
  return 0;
}

long CManageStage::CmdStabLoadClose(unsigned result) {
  Close(ModelessDialog::Load, result);
  return 0;
}

void CManageStage::SetPointLoadDlg(double x, double y) {
  if (x == kNoValue || y == kNoValue) return;
  CCmdStabShapeLoadDlg* const dialog = LoadDlg();
  if (dialog != nullptr && dialog->SelectedLoad() != -1) dialog->SetPoint(x);
}

long CManageStage::CmdSlideArrangeShow(QWidget* parent) {
  if (RaiseIfOpen(ModelessDialog::DrainArrange)) return 0;
  Attach(ModelessDialog::DrainArrange, CCmdDrainArrangeDlg::Open(*GetActiveCase(), parent),
         [this](double x, double y) { SetPointDrainArrangeDlg(x, y); });
  return 0;
}

long CManageStage::CmdSlideArrangeClose(unsigned result) {
  return Close(ModelessDialog::DrainArrange, result);
}

void CManageStage::SetPointDrainArrangeDlg(double x, double y) {
  if (x == kNoValue || y == kNoValue) return;
  if (CCmdDrainArrangeDlg* const dialog = DrainArrangeDlg()) dialog->SetPoint(x, y);
}

long CManageStage::CmdShearFocus(QWidget* parent) {
  CCase* const active = GetActiveCase();
  const char* missing = nullptr;
  if (!active->GetPrmReinf().IsValidShear()) {
    missing = "先に[対策工諸元]の入力を行って下さい。";
  } else if (active->GetReinfArrange().GetSize() <= 0) {
    missing = "先に[対策工配置]の入力を行って下さい。";
  } else if (!active->GetPrmShear().IsValid() || active->GetResShear().yieldK == kNoValue) {
    missing = "先に[せん断変形]の計算を行って下さい。";
  }
  if (missing != nullptr) {
    Ui().MessageBox(missing, GetAppTitle(), MsgButtons::Ok, MsgIcon::None);
    return 0;
  }
  return RedrawAfterOk(CCmdShearFocusDlg::Run(*active, parent));
}

void CManageStage::SetPointShapeDlg(double x, double y) {
  if (x == kNoValue || y == kNoValue) return;
  if (CCmdCmnShapeDlg* const dialog = ShapeDlg()) dialog->SetPoint(x, y);
}

long CManageStage::CmdCommonPolygon() {
  CCase* const active = GetActiveCase();
  // New strata undo the block division cut from the old ones and every result calculated on it.
  const bool divided = active->IsStratumBlockMode() != 0;
  const bool calculated = HoldsResults(*active);
  if ((divided || calculated) &&
      Ui().MessageBox(divided ? kDropDivisionQuestion : kClearResultsQuestion, GetAppTitle(),
                      MsgButtons::YesNo, MsgIcon::Question) != MsgResult::Yes) {
    return 0;
  }
  if (active->CreateTisoPoly() == 0) return 0;
  active->SetModify(true);

  int count = 0;
  int withoutSoil = 0;
  if (CDPolyArray* const strata = active->GetGround().GetPolyArray()) {
    count = strata->GetSize();
    for (int i = 0; i < count; ++i) {
      auto* const stratum = dynamic_cast<CSpStratumBlock*>(strata->GetAt(i));
      if (stratum == nullptr) continue;
      stratum->SetIndex(i + 1);
      CStratumProp* const prop = stratum->GetPropPtr();
      if (prop->GetName().empty()) {
        ++withoutSoil;
        prop->SetName(stratum->GetName());
      }
    }
  }
  if (divided) active->ClearDivisionDanmen();
  if (calculated) active->ClearResultsReading(CalcInput::kTerrain);

  Ui().MessageBox(RecognisedStrataText(count, withoutSoil), GetAppTitle(), MsgButtons::Ok,
                  MsgIcon::Information);
  RedrawSection();
  return 0;
}

void CManageStage::ImportXml() { GetActiveCase()->ImportXml(); }

void CManageStage::ExportXml() { GetActiveCase()->ExportXml(0); }

namespace {

// What the CAD import hands the case: the ground's points and the stratum lines' points, as the
// bridge gave them.
struct CadSection {
  std::vector<CDPoint> ground;
  std::vector<std::vector<CDPoint>> strata;
};

constexpr int kCadTerrainKind = 0;
constexpr int kCadStratumKind = 1;
constexpr int kCadMaxStrata = 400;

// The points of one bridge shape. The bridge tells the count first, so a shape of any length
// arrives whole.
std::vector<CDPoint> CadShapePoints(int kind, int n) {
  const int count = Z_PtarvIn_GetCoordinats(kind, n, nullptr, nullptr, nullptr);
  if (count <= 0) return {};
  std::vector<double> xs(static_cast<std::size_t>(count));
  std::vector<double> ys(static_cast<std::size_t>(count));
  Z_PtarvIn_GetCoordinats(kind, n, xs.data(), ys.data(), nullptr);
  std::vector<CDPoint> points;
  points.reserve(xs.size());
  for (std::size_t i = 0; i < xs.size(); ++i) points.emplace_back(xs[i], ys[i]);
  return points;
}

CadSection ReadCadSection() {
  CadSection section;
  if (std::min(Z_PtarvIn_GetShapeCount(kCadTerrainKind), 1) == 1) {
    section.ground = CadShapePoints(kCadTerrainKind, 0);
  }
  const int strata = std::min(Z_PtarvIn_GetShapeCount(kCadStratumKind), kCadMaxStrata);
  for (int i = 0; i < strata; ++i) section.strata.push_back(CadShapePoints(kCadStratumKind, i));
  return section;
}

bool WithinSection(const CDPoint& p) {
  return std::isfinite(p.x) && std::isfinite(p.y) && std::abs(p.x) <= kCoordinateLimit &&
         std::abs(p.y) <= kCoordinateLimit;
}

// Surveyed drawings often lie far from the origin; the section takes only coordinates within its
// limits, and a document holding others could not be opened again.
bool CadSectionFits(const CadSection& section) {
  const auto fits = [](const std::vector<CDPoint>& points) {
    return std::all_of(points.begin(), points.end(), WithinSection);
  };
  return fits(section.ground) && std::all_of(section.strata.begin(), section.strata.end(), fits);
}

}  // namespace

void CManageStage::ImportCad() {
  Z_PtarvIn_Init();
  Z_PtarvIn_SetDefaultExt("dxf");
  Z_PtarvIn_SetModalRunner(&RunModal);
  if (Z_PtarvIn_OpenCadFile("", 1, 1, 1, 0, 1, 1, 0, 1) == 0) {
    Z_PtarvIn_Exit();
    return;
  }
  CCase& active = *GetActiveCase();
  const CadSection section = ReadCadSection();
  if (!CadSectionFits(section)) {
    Z_PtarvIn_Exit();
    Ui().MessageBox("CADデータの座標が ±" + FormatFixed(kCoordinateLimit, 3) +
                        " の範囲を超えています。\n「地形座標の最小値を指定」で座標をずらして読み込"
                        "んでください。",
                    GetAppTitle(), MsgButtons::Ok, MsgIcon::Warning);
    return;
  }
  if (active.GetInUse() != 0) {
    const std::string question = "編集中のケース「" + active.GetPrmJobsite().names[1] +
                                 "」の計算結果が消去されます。\nよろしいですか？";
    if (Ui().MessageBox(question, GetAppTitle(), MsgButtons::OkCancel, MsgIcon::Question) !=
        MsgResult::Ok) {
      return;
    }
  }
  const CPrmGrid grid = active.GetPrmGrid();
  active.Init();
  active.GetPrmGrid().SetArea(grid.x1, grid.x2, grid.y2, grid.y1);
  active.GetPrmGrid().autoArea = grid.autoArea;
  for (const CDPoint& p : section.ground) {
    active.GetGround().Add(RoundClickCoordinate(p.x), RoundClickCoordinate(p.y));
  }
  for (std::size_t i = 0; i < section.strata.size(); ++i) {
    auto line = std::make_unique<CSpStratumLine>();
    line->SetName("No." + FormatInt(static_cast<int>(i) + 1));
    for (const CDPoint& p : section.strata[i]) {
      const CDPoint rounded(RoundClickCoordinate(p.x), RoundClickCoordinate(p.y));
      if (rounded.IsValid()) line->Add(rounded);
    }
    active.GetStratum().Add(std::move(line));
  }
  Z_PtarvIn_Exit();
  // Init cleared the modified flag; without it closing would drop the import unasked.
  active.MarkEdited();
  active.SetGridAutoRange();
  RedrawSection();
}

long CManageStage::PrintExcel(const std::string& folder, int kind) {
  const int stage = CCoreConfig::GetStageNo();
  CCase* const active = GetActiveCase();
  printExcel_.SetCase(active);
  printExcel_.SetPrnInfo(&core_->GetPrnInfo());
  printExcel_.SetViewInf(&active->GetViewInfo());
  printExcel_.SetPath(folder);
  return printExcel_.ExcelStart(stage, kind, 0);
}

void CManageStage::ExportCad(QWidget* parent, bool linkage) {
  CCadOutputDlg::Run(*GetActiveCase(), linkage, parent);
}

void CManageStage::OnLButtonDown(double x, double y) {
  if (x == kNoValue || y == kNoValue) return;
  for (const Modeless& slot : modeless_) {
    if (IsShown(slot.dialog) && slot.takePoint) slot.takePoint(x, y);
  }
}

void CManageStage::OnLButtonDblClk() {
  const CDPolyArray* const strata = GetActiveCase()->GetGround().GetPolyArray();
  const bool hasStrata = strata != nullptr && strata->GetSize() > 0;
  if (!hasStrata || IsDlgMode() || CCoreConfig::GetStageNo() != 0) return;
  Ui().SendToFrame(FrameMsg::WM_CMD_COMMON_SOIL, 0, 0);
}

bool CManageStage::IsDlgMode() const {
  for (const ModelessDialog which :
       {ModelessDialog::Shape, ModelessDialog::Pattern, ModelessDialog::Load, ModelessDialog::Arc,
        ModelessDialog::ArcPass, ModelessDialog::DrainArrange, ModelessDialog::ReinfArrange}) {
    if (IsOpen(which)) return true;
  }
  return false;
}

bool CManageStage::IsOpen(ModelessDialog which) const { return IsShown(Slot(which).dialog); }

bool CManageStage::Exists(ModelessDialog which) const { return !Slot(which).dialog.isNull(); }

bool CManageStage::RaiseIfOpen(ModelessDialog which) {
  QDialog* const dialog = Slot(which).dialog;
  if (dialog == nullptr) return false;
  dialog->show();
  dialog->raise();
  dialog->activateWindow();
  return true;
}

void CManageStage::Attach(ModelessDialog which, QDialog* dialog, PointHandler takePoint) {
  Slot(which) = Modeless{dialog, std::move(takePoint)};
  dialog->show();
}

long CManageStage::Close(ModelessDialog which, unsigned result) {
  Modeless& slot = Slot(which);
  if (QDialog* const dialog = slot.dialog) {
    dialog->hide();
    dialog->deleteLater();
  }
  slot = Modeless{};
  RedrawSection();
  return result == 1 ? 1 : 0;
}

bool CManageStage::CloseAllForExit() {
  const std::vector<StageDialog*> pending = DialogsWithUnappliedChanges();
  bool apply = false;
  if (!pending.empty()) {
    switch (Ui().MessageBox(UnappliedChangesText(pending), GetAppTitle(), MsgButtons::YesNoCancel,
                            MsgIcon::Question)) {
      case MsgResult::Yes:
        apply = true;
        break;
      case MsgResult::No:
        break;
      default:
        return false;
    }
  }
  // The line dialog lies over the condition dialog it hid: it ends first, so that the condition
  // dialog's キャンセル restores the lines as they were on its own opening.
  if (QDialog* const lines = Slot(ModelessDialog::ArcPass).dialog) lines->reject();
  bool applied = true;
  for (const Modeless& slot : modeless_) {
    // The dialog's OK or Cancel ends with its close message, which empties the slot.
    const QPointer<QDialog> dialog = slot.dialog;
    if (!dialog) continue;
    auto* const stage = qobject_cast<StageDialog*>(dialog.data());
    if (apply && std::find(pending.begin(), pending.end(), stage) != pending.end()) {
      stage->OnOK();
      if (slot.dialog) applied = false;  // OK refused the input: the user corrects it first
    } else {
      dialog->reject();
    }
  }
  return applied;
}

std::vector<StageDialog*> CManageStage::DialogsWithUnappliedChanges() const {
  std::vector<StageDialog*> pending;
  for (const Modeless& slot : modeless_) {
    auto* const dialog = qobject_cast<StageDialog*>(slot.dialog.data());
    if (dialog != nullptr && dialog->HasUnappliedChanges()) pending.push_back(dialog);
  }
  return pending;
}

CManageStage::Modeless& CManageStage::Slot(ModelessDialog which) {
  return modeless_.at(static_cast<std::size_t>(which));
}

const CManageStage::Modeless& CManageStage::Slot(ModelessDialog which) const {
  return modeless_.at(static_cast<std::size_t>(which));
}

CCmdCmnShapeDlg* CManageStage::ShapeDlg() const {
  return qobject_cast<CCmdCmnShapeDlg*>(Slot(ModelessDialog::Shape).dialog.data());
}

CCmdStabShapeLoadDlg* CManageStage::LoadDlg() const {
  return qobject_cast<CCmdStabShapeLoadDlg*>(Slot(ModelessDialog::Load).dialog.data());
}

CCmdDrainArrangeDlg* CManageStage::DrainArrangeDlg() const {
  return qobject_cast<CCmdDrainArrangeDlg*>(Slot(ModelessDialog::DrainArrange).dialog.data());
}

CCmdStabArcDlg* CManageStage::ArcDlg() const {
  return qobject_cast<CCmdStabArcDlg*>(Slot(ModelessDialog::Arc).dialog.data());
}

CCmdStabArcPasslineDlg* CManageStage::ArcPassDlg() const {
  return qobject_cast<CCmdStabArcPasslineDlg*>(Slot(ModelessDialog::ArcPass).dialog.data());
}

long CManageStage::PrintWordMultiDlgShow(int kind, QWidget* parent) {
  return CPrnWordMultiDlg::Run(*core_, kind, parent) ? 1 : 0;
}

long CManageStage::PrintWordSummaryDlgShow(int report, QWidget* parent) {
  return CPrnWordSummaryDlg::Run(*core_, report, parent) ? 1 : 0;
}

long CManageStage::PrintWord(const std::filesystem::path& folder, int sub) {
  const int stage = CCoreConfig::GetStageNo();
  CCase* active = GetActiveCase();
  printWord_.SetCase(active);
  printWord_.SetPrnInfo(&core_->GetPrnInfo());
  printWord_.SetViewInf(&active->GetViewInfo());
  printWord_.SetPath(folder.string());
  return printWord_.WordStart(stage, sub, 0);
}

long CManageStage::CanPrintWord(int report, int item) {
  printWord_.SetCase(GetActiveCase());
  if (report == 1) return printWord_.CanWordStageMulti(item);
  return report == 2 || report == 3 ? 1 : 0;
}
