// CCase: exchange of the section with the common terrain data.

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <system_error>

#include "core/base/AppIdentity.h"
#include "core/base/Constants.h"
#include "core/case/Case.h"
#include "core/geometry/RecordCheck.h"
#include "core/model/PrmGrid.h"
#include "core/model/ZCmnStructure.h"
#include "core/section/SpSlide.h"
#include "core/section/SpStratum.h"
#include "core/stability/Block.h"
#include "core/stability/MltPoint.h"
#include "platform/NumberText.h"
#include "platform/UiRegistry.h"

namespace {

// The name other programs know the file's writer by.
constexpr char kAppName[] = "RUrevavirazo";
// Lines and the water line take at most this many points from a file; stratum polygons take all.
constexpr int kMaxLinePoints = 1000;
constexpr double kCoordinatePitch = 0.001;
constexpr std::uint32_t kSlideColor = 0x0000FF;
constexpr std::uint32_t kWaterColor = 0xFF0000;

std::string WorkingFolder() {
  std::error_code error;
  const std::filesystem::path folder = std::filesystem::current_path(error);
  return error ? std::string() : folder.string();
}

// ---- Import

// The point a shape adds: its vertex with the coordinates rounded half up to 0.001; none when the
// vertex is not in the file's list.
std::optional<CDPoint> ShapePoint(const CZCmnStructure& data, const CZCmnShape& shape) {
  const CZCmnVertex* vertex = data.GetAtVertex(shape.GetVertexNum());
  if (vertex == nullptr) return std::nullopt;
  return CDPoint(RoundOff(vertex->GetX(), kCoordinatePitch),
                 RoundOff(vertex->GetY(), kCoordinatePitch));
}

// Appends the points of the feature's first `limit` shapes.
void AppendPoints(const CZCmnStructure& data, const CZCmnFeature& feature, int limit,
                  CDPoly& target) {
  const int count = std::min(feature.GetSizeShape(), limit);
  for (int s = 0; s < count; ++s) {
    if (const std::optional<CDPoint> p = ShapePoint(data, *feature.GetAtShape(s))) {
      target.Add(p->x, p->y);
    }
  }
}

bool TakesPoints(const CZCmnFeature& feature) {
  return feature.IsGround() || feature.IsStratumLine() || feature.IsStratumPolygon() ||
         feature.IsWater();
}

// The message for the first point of the kinds of feature the case takes that a stored shape
// could not hold: a document holding it could never be opened again. None when every point fits.
std::optional<std::string> FarPointRefusal(const CZCmnStructure& data) {
  for (int f = 0; f < data.GetSizeFeature(); ++f) {
    const CZCmnFeature& feature = *data.GetAtFeature(f);
    if (!TakesPoints(feature)) continue;
    for (int s = 0; s < feature.GetSizeShape(); ++s) {
      const CZCmnShape& shape = *feature.GetAtShape(s);
      const std::optional<CDPoint> p = ShapePoint(data, shape);
      if (!p || (record_check::IsSoundCoordinate(p->x) && record_check::IsSoundCoordinate(p->y))) {
        continue;
      }
      return "ファイルの読み込みに失敗しました。\n\n頂点 " + FormatInt(shape.GetVertexNum()) +
             " の座標が " + record_check::CoordinateRangeText() + " の範囲を超えています。";
    }
  }
  return std::nullopt;
}

// The drawing area and grid the file's site gives a case; nothing, after a message, when a value
// could not come from a sound case (drawing such a grid would never end).
std::optional<CPrmGrid> SiteGrid(const CZCmnJobSite& site) {
  CPrmGrid grid;
  site.GetSiteArea(grid.x1, grid.x2, grid.y1, grid.y2);
  site.GetSiteGrid(grid.xLinePitch, grid.yLinePitch, grid.xLabelPitch, grid.yLabelPitch);
  site.GetSiteAutoGrid(grid.autoArea, grid.depthBelow);
  if (grid.IsSound()) return grid;
  Ui().MessageBox(
      "地形データのグリッドの設定が正しくないため、読み込めません。\n"
      "グリッド間隔には描画範囲の設定が必要で、範囲と間隔は" +
          record_check::CoordinateRangeText() + "以内の数値です。",
      GetAppTitle(), MsgButtons::Ok, MsgIcon::Warning);
  return std::nullopt;
}

void AppendStratumBlock(const CZCmnStructure& data, const CZCmnFeature& feature,
                        CDPolyArray& blocks) {
  auto block = std::make_unique<CSpStratumBlock>();
  std::string name, geology;
  std::uint32_t lineColor = 0, paintColor = 0;
  feature.GetStratumPolygon(name, geology, lineColor, paintColor);
  double frictionN = 0, frictionTaup = 0;
  bool taupOnly = false;
  CStratumProp& prop = *block->GetPropPtr();
  prop.SetName(name);
  prop.SetColor(Color{paintColor});
  tagSATURATE& soil = prop.GetSaturate();
  feature.GetStratumProp(soil.gammaT, soil.gammaSat, soil.c, soil.phi, frictionN, frictionTaup,
                         taupOnly);
  AppendPoints(data, feature, feature.GetSizeShape(), *block);
  block->CalcInnerPoint();
  blocks.Add(std::move(block));
}

// ---- Export

// The surface points of a selected run: where its first and its last block meet the ground on
// the outer side. Nothing when no run is selected or its blocks are gone.
struct RunEnds {
  int first = -1;
  int last = -1;
  std::array<CDPoint, 2> surface;
};

std::optional<RunEnds> SelectedRun(const CResStab2& results, const CBlockList& blocks,
                                   int resultCase, bool rightUpper) {
  const CMltPoint* point = results.GetSelectRepPt(resultCase);
  if (point == nullptr) return std::nullopt;
  const CBlock* first = blocks.GetBlockPtr(point->startBlock);
  const CBlock* last = blocks.GetBlockPtr(point->endBlock);
  if (first == nullptr || last == nullptr) return std::nullopt;
  RunEnds run{point->startBlock, point->endBlock, {}};
  run.surface = rightUpper ? std::array{CDPoint(first->GetRightX(), first->GetRightTopY()),
                                        CDPoint(last->GetLeftX(), last->GetLeftTopY())}
                           : std::array{CDPoint(first->GetLeftX(), first->GetLeftTopY()),
                                        CDPoint(last->GetRightX(), last->GetRightTopY())};
  return run;
}

bool IsSurfacePoint(const std::optional<RunEnds>& run, const CDPoint& p) {
  if (!run) return false;
  for (const CDPoint& end : run->surface) {
    if (std::hypot(p.x - end.x, p.y - end.y) < kSamePoint) return true;
  }
  return false;
}

// One shape per point, rounded to the file's three decimals.
void AddShapes(const CDPoly& line, CZCmnFeature& feature) {
  for (int i = 0; i < line.GetSize(); ++i) {
    CZCmnShape shape;
    shape.SetVertexXY(line.GetAt(i)->x, line.GetAt(i)->y);
    feature.AddNewShape(shape);
  }
}

void AddGround(const CSpGround& ground, const std::optional<RunEnds>& normal,
               const std::optional<RunEnds>& quake, CZCmnStructure& data) {
  CZCmnFeature feature;
  feature.SetGround(ground.GetName(), 0);
  for (int i = 0; i < ground.GetSize(); ++i) {
    const CDPoint& p = *ground.GetAt(i);
    std::string text = IsSurfacePoint(normal, p) ? "常時" : "";
    if (IsSurfacePoint(quake, p)) text += (text.empty() ? "" : ", ") + std::string("地震時");
    CZCmnShape shape;
    shape.SetVertexXY(p.x, p.y);
    shape.SetText(text);
    feature.AddNewShape(shape);
  }
  data.AddNewFeature(feature);
}

void AddStrata(const CSpGround& ground, const CDPolyArray& strata, CZCmnStructure& data) {
  for (int i = 0; i < strata.GetSize(); ++i) {
    CZCmnFeature feature;
    feature.SetStratumLine(strata.GetAt(i)->GetName(), 0);
    AddShapes(*strata.GetAt(i), feature);
    data.AddNewFeature(feature);
  }
  const CDPolyArray* blocks = ground.GetPolyArray();
  if (blocks == nullptr) return;
  for (int i = 0; i < blocks->GetSize(); ++i) {
    const auto* block = dynamic_cast<const CSpStratumBlock*>(blocks->GetAt(i));
    if (block == nullptr) continue;
    const CStratumProp& prop = *block->GetPropPtr();
    const tagSATURATE& soil = prop.GetSaturate();
    CZCmnFeature feature;
    feature.SetStratumPolygon(prop.GetName(), "", 0, prop.GetColor().ref);
    feature.SetStratumProp(soil.gammaT, soil.gammaSat, soil.c, soil.phi, kNoValue, kNoValue, false);
    AddShapes(*block, feature);
    data.AddNewFeature(feature);
  }
}

void AddSlide(const CSpSlide& slide, CZCmnStructure& data) {
  CZCmnFeature feature;
  feature.SetSlide(slide.GetName(), kSlideColor);
  for (int i = 0; i < slide.GetSize(); ++i) {
    CZCmnShape shape;
    shape.SetVertexXY(slide.GetAt(i)->x, slide.GetAt(i)->y);
    shape.SetType(slide.GetStyle(i), 0);
    feature.AddNewShape(shape);
  }
  data.AddNewFeature(feature);
}

}  // namespace

void CCase::ImportXml() {
  if (inUse_ != 0) {
    const std::string question =
        "編集中のケース「" + jobsite_.names[1] + "」の計算結果が消去されます。\nよろしいですか？";
    if (Ui().MessageBox(question, GetAppTitle(), MsgButtons::OkCancel, MsgIcon::Question) !=
        MsgResult::Ok) {
      return;
    }
  }
  CZCmnStructure data;
  if (!data.ReadXML(WorkingFolder())) return;
  Ui().BeginWaitCursor();
  const bool imported = ImportTerrain(data);
  Ui().EndWaitCursor();
  if (imported) Ui().SendToFrame(FrameMsg::WM_APP_REDRAW, 0, 0);
}

bool CCase::ImportTerrain(const CZCmnStructure& data) {
  if (const std::optional<std::string> refusal = FarPointRefusal(data)) {
    Ui().MessageBox(*refusal, GetAppTitle(), MsgButtons::Ok, MsgIcon::Warning);
    return false;
  }
  CZCmnJobSite site;
  data.GetSite(site);
  const std::optional<CPrmGrid> grid = SiteGrid(site);
  if (!grid) return false;
  Init();
  jobsite_.names[0] = site.GetSiteName();
  jobsite_.names[1] = site.GetCaseName().empty() ? site.GetLineName() : site.GetCaseName();
  jobsite_.names[2] = site.GetSiteNote();
  grid_ = *grid;

  bool groundTaken = false;
  bool waterTaken = false;
  int strataTaken = 0;
  CDPolyArray* blocks = nullptr;
  for (int f = 0; f < data.GetSizeFeature(); ++f) {
    const CZCmnFeature& feature = *data.GetAtFeature(f);
    if (feature.IsGround()) {
      if (!groundTaken) AppendPoints(data, feature, kMaxLinePoints, ground_);
      groundTaken = true;
    } else if (feature.IsStratumLine()) {
      if (strataTaken >= strata_.GetSize()) {
        auto line = std::make_unique<CSpStratumLine>();
        line->SetName("地層線");
        strata_.Add(std::move(line));
      }
      CDPoly& line = *strata_.GetAt(strataTaken++);
      line.SetName(feature.GetName());
      AppendPoints(data, feature, kMaxLinePoints, line);
    } else if (feature.IsStratumPolygon() && feature.GetSizeShape() > 0) {
      if (blocks == nullptr) {
        ground_.SetPolyArray(std::make_unique<CDPolyArray>());
        blocks = ground_.GetPolyArray();
      }
      AppendStratumBlock(data, feature, *blocks);
    } else if (feature.IsWater() && !waterTaken) {
      std::string name;
      std::uint32_t color = 0;
      feature.GetWater(name, color, prmStab_.gammaW);
      AppendPoints(data, feature, kMaxLinePoints, water_);
      waterTaken = true;
    }
  }

  CZCmnCondition cond;
  data.GetCond(cond);
  prmStab_.quakeOn = cond.GetQuake();
  prmStab_.planFsNormal = cond.GetFsp();
  prmStab_.planFsQuake = cond.GetFspQ();
  prmStab_.kh = cond.GetKh();
  inUse_ = 1;
  modified_ = true;
  return true;
}

void CCase::ExportXml(int which) const {
  CZCmnStructure data;
  ExportTerrain(which, data);
  data.WriteXML(WorkingFolder());
}

void CCase::ExportTerrain(int which, CZCmnStructure& data) const {
  data.SetApp(kAppName, GetAppVersion(2) + GetAppSubTitle(), "");
  CZCmnJobSite site;
  site.SetSiteName(jobsite_.names[0]);
  site.SetCaseName(jobsite_.names[1]);
  site.SetSiteNote(jobsite_.names[2]);
  for (int i = 0; i < CPrmJobsite::kCommentCount; ++i) {
    site.SetComment(i, jobsite_.comments[static_cast<std::size_t>(i)]);
  }
  site.SetSiteArea(grid_.x1, grid_.x2, grid_.y1, grid_.y2);
  site.SetSiteGrid(grid_.xLinePitch, grid_.yLinePitch, grid_.xLabelPitch, grid_.yLabelPitch);
  site.SetSiteAutoGrid(grid_.autoArea, grid_.depthBelow);
  data.SetSite(site);

  const bool rightUpper = IsRightUpper();
  const std::optional<RunEnds> normal = SelectedRun(resStab2_, blockList_, 0, rightUpper);
  const std::optional<RunEnds> quake = SelectedRun(resStab2_, blockList_, 1, rightUpper);
  const bool divided = IsStratumBlockMode() != 0;
  const CSpGround& ground = divided ? groundDiv_ : ground_;
  AddGround(ground, normal, quake, data);
  AddStrata(ground, divided ? strataDiv_ : strata_, data);
  const std::optional<RunEnds>& run = which == 0 ? normal : which == 1 ? quake : std::nullopt;
  if (run) {
    const std::unique_ptr<CSpSlide> slide =
        blockList_.CreateSlideLine(run->first, run->last, resStab2_.IsSlideTopArc(which));
    if (slide) AddSlide(*slide, data);
  }
  CZCmnFeature water;
  water.SetWater(water_.GetName(), kWaterColor, prmStab_.gammaW);
  AddShapes(water_, water);
  data.AddNewFeature(water);
  data.MakeVertex();

  CZCmnCondition cond;
  cond.SetQuake(prmStab_.quakeOn);
  cond.SetFsp(prmStab_.planFsNormal);
  cond.SetFspQ(prmStab_.planFsQuake);
  cond.SetKh(prmStab_.kh);
  cond.SetQXMethod(1);
  data.SetCond(cond);
}
