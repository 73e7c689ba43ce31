// The design case: state, the case slot record, copies and the geometry of the section.

#include "core/case/Case.h"

#include <cstdint>
#include <memory>

#include "core/base/Constants.h"
#include "core/base/CoreConfig.h"
#include "core/base/Utility.h"
#include "core/circle/CalcBase.h"
#include "core/section/SpSlide.h"
#include "core/section/SpStratum.h"
#include "core/section/StratumProp.h"
#include "platform/Archive.h"

namespace {

// The document versions from which a case slot holds its later parts.
constexpr int kStabilityVersion = 3;
constexpr int kShearVersion = 6;

// The rounding code of a stratum's friction angle (degrees).
constexpr int kRoundCodeFriction = 161;

bool IsStratumLine(int kind) { return kind == kKindStratumLine; }

// The lowest y of a shape into `lowest`; shapes without points change nothing.
void TakeLowest(const CDPoly& shape, double& lowest) {
  if (shape.GetSize() == 0) return;
  const double y = shape.Bottom().y;
  if (y == kNoValue) return;
  if (lowest == kNoValue || y < lowest) lowest = y;
}

// Widens the box [x1, x2] x [y1, y2] by the extreme points of the shape.
struct Box {
  double x1 = kNoValue;
  double x2 = kNoValue;
  double y1 = kNoValue;
  double y2 = kNoValue;

  void Take(const CDPoly& shape) {
    for (int i = 0; i < shape.GetSize(); ++i) {
      const CDPoint& p = *shape.GetAt(i);
      if (!p.IsValid()) continue;
      if (x1 == kNoValue || p.x < x1) x1 = p.x;
      if (x2 == kNoValue || p.x > x2) x2 = p.x;
      if (y1 == kNoValue || p.y < y1) y1 = p.y;
      if (y2 == kNoValue || p.y > y2) y2 = p.y;
    }
  }
};

// The nearest point of a shape to p, when strictly nearer than dist.
void TakeNearer(const CDPoly& shape, const CDPoint& p, CDPoint& nearest, double& dist) {
  for (int i = 0; i < shape.GetSize(); ++i) {
    const CDPoint& q = *shape.GetAt(i);
    const double d = Hypot(p, q);
    if (d < dist) {
      dist = d;
      nearest = q;
    }
  }
}

}  // namespace

// Everything a case slot record holds, read into fresh members before the case takes it over.
struct CCase::SlotRecord {
  SlotRecord() {
    resStab2.SetMltType(CMltPoint::kKindForward);
    resGyaku.SetMltType(CMltPoint::kKindGyaku);
  }

  CPrmJobsite jobsite;
  CPrmGrid grid;
  CSpGround ground;
  CDPolyArray strata;
  CSpWater water;
  CPrmStab prmStab;
  CResStab2 resStab2;
  CResStab2 resGyaku;
  CBlockList blockList;
  CReinfArrange arrange;
  CPrmReinf prmReinf;
  CPrmSlide prmSlide;
  CResSlide resSlide;
  CPrmShear prmShear;
  CResShear resShear;
  CResFocus resFocus;
};

CCase::CCase() {
  Init();
  SetDrawPtr();
}

CCase::~CCase() = default;

void CCase::Init() {
  inUse_ = 0;
  modified_ = false;
  jobsite_.Init();
  grid_.Init();
  ground_.DeleteFull();
  strata_.DeleteAll();
  water_.DeleteAll();
  slideWork_.Init();
  groundDiv_.DeleteFull();
  strataDiv_.DeleteAll();
  SetDanmenData();
  prmStab_.Init();
  resStab2_.Init();
  resStab2_.DeleteResultAll();
  resStab2_.SetMltType(CMltPoint::kKindForward);
  resGyaku_.Init();
  resGyaku_.DeleteResultAll();
  resGyaku_.SetMltType(CMltPoint::kKindGyaku);
  blockList_.Init();
  blockList_.SetDanmen(&danmen_);
  blockList_.SetDanmenStab(&danmenNormal_);
  arrange_.Init();
  prmReinf_.Init();
  prmSlide_.Init();
  resSlide_.Init();
  prmShear_.Init();
  resShear_.Init();
  resFocus_.Init();
}

void CCase::Copy(const CCase* other, bool) {
  if (other == this) return;
  inUse_ = other->inUse_;
  jobsite_.Copy(other->jobsite_);
  grid_.Copy(other->grid_);
  ground_.Copy(&other->ground_);
  strata_.Copy(&other->strata_);
  water_.CopyWater(&other->water_);
  water_.SetName(other->water_.GetName());
  blockList_.Copy(&other->blockList_);
  groundDiv_.Copy(&other->groundDiv_);
  strataDiv_.Copy(&other->strataDiv_);
  prmStab_.Copy(other->prmStab_);
  resStab2_.Copy(other->resStab2_);
  resGyaku_.Copy(other->resGyaku_);
  arrange_.Copy(other->arrange_);
  prmReinf_.Copy(other->prmReinf_);
  prmSlide_.Copy(other->prmSlide_);
  resSlide_.Copy(other->resSlide_);
  prmShear_.Copy(other->prmShear_);
  resShear_.Copy(other->resShear_);
  resFocus_.Copy(other->resFocus_);
  slideWork_.CopySlideWork(&other->slideWork_);
  view_ = other->view_;
  AfterLoadProcess();
}

bool CCase::IsSame(const CCase* other) const {
  if (!jobsite_.IsSame(other->jobsite_) || !grid_.IsSame(other->grid_)) return false;
  if (!ground_.IsSame(&other->ground_)) return false;
  if (strata_.GetSize() != other->strata_.GetSize()) return false;
  for (int i = 0; i < strata_.GetSize(); ++i) {
    const CDPoly* mine = strata_.GetAt(i);
    const CDPoly* theirs = other->strata_.GetAt(i);
    if (!mine->IsSame(theirs) || mine->GetName() != theirs->GetName()) return false;
  }
  return water_.IsSame(&other->water_) && slideWork_.IsSame(&other->slideWork_) &&
         prmStab_.IsSameUseCale(other->prmStab_) && arrange_.IsSameUseCale(other->arrange_) &&
         prmReinf_.IsSame(other->prmReinf_) && prmSlide_.IsSame(other->prmSlide_) &&
         prmShear_.IsSameUseCale(other->prmShear_);
}

void CCase::ClearResultsReading(CalcInput edited) {
  switch (edited) {
    case CalcInput::kTerrain:
    case CalcInput::kSlopeDirection:
    case CalcInput::kSoilConstants:
    case CalcInput::kStabilityConditions:
    case CalcInput::kBlockDivision:
    case CalcInput::kRoundingRules:
      ClearResult(true, true, true, true);
      return;
    // The back analysis itself stays: its strength is what changed.
    case CalcInput::kBackAnalysisStrength:
      ClearResult(false, true, true, true);
      return;
    // Both deformation calculations read the bars.
    case CalcInput::kBarArrangement:
      ClearResult(false, false, true, true);
      return;
    case CalcInput::kSlideConditions:
      ClearResult(false, false, true, false);
      return;
    // The rope-net check is built on the shear results, so it goes with them.
    case CalcInput::kShearConditions:
      ClearResult(false, false, false, true);
      return;
    case CalcInput::kFirstBolt:
      resFocus_.ClearRes();
      return;
  }
}

void CCase::ClearResult(bool backAnalysis, bool stability, bool slide, bool shear) {
  if (backAnalysis) resGyaku_.DeleteResultAll();
  if (stability) {
    resStab2_.DeleteResultAll();
    danmenNormal_.SetSlideWorkRepeat(nullptr);
    danmenQuake_.SetSlideWorkRepeat(nullptr);
  }
  if (slide) {
    resSlide_.DeleteResultAll();
    danmenSlide_.SetSlideWorkRepeat(nullptr);
  }
  if (shear) {
    resShear_.ClearRes();
    danmenShear_.SetSlideWorkRepeat(nullptr);
    resFocus_.ClearRes();
  }
}

// ---- Case slot record ----

void CCase::Store(Archive& ar, int version) const {
  ar << static_cast<std::int32_t>(inUse_);
  if (inUse_ == 0) return;
  jobsite_.Store(ar, version);
  grid_.Store(ar, version);
  ground_.Store(ar, version);
  strata_.Store(ar, version);
  if (version >= kStabilityVersion) {
    water_.Store(ar, version);
    prmStab_.Store(ar, version);
    resStab2_.Store(ar, version);
    resGyaku_.Store(ar, version);
  }
  blockList_.Store(ar, version);
  if (version >= kStabilityVersion) {
    arrange_.Store(ar, version);
    prmReinf_.Store(ar, version);
    prmSlide_.Store(ar, version);
    resSlide_.Store(ar, version);
  }
  if (version >= kShearVersion) {
    prmShear_.Store(ar, version);
    resShear_.Store(ar, version);
    resFocus_.Store(ar, version);
  }
}

void CCase::Load(Archive& ar, int version, bool) {
  std::int32_t inUse = 0;
  ar >> inUse;
  if (inUse == 0) {
    inUse_ = 0;
    return;
  }
  const auto read = std::make_unique<SlotRecord>();
  read->jobsite.Load(ar, version);
  read->grid.Load(ar, version);
  read->ground.Load(ar, version);
  read->strata.Load(ar, version, IsStratumLine);
  if (version >= kStabilityVersion) {
    read->water.Load(ar, version);
    read->prmStab.Load(ar, version);
    read->resStab2.Load(ar, version);
    read->resGyaku.Load(ar, version);
  }
  read->blockList.Load(ar, version);
  if (version >= kStabilityVersion) {
    read->arrange.Load(ar, version);
    read->prmReinf.Load(ar, version);
    read->prmSlide.Load(ar, version);
    read->resSlide.Load(ar, version);
  }
  if (version >= kShearVersion) {
    read->prmShear.Load(ar, version);
    read->resShear.Load(ar, version);
    read->resFocus.Load(ar, version);
  }
  inUse_ = inUse;
  TakeRecord(*read, version);
  AfterLoadProcess();
}

void CCase::TakeRecord(SlotRecord& read, int version) {
  jobsite_.Copy(read.jobsite);
  grid_.Copy(read.grid);
  ground_.Copy(&read.ground);
  strata_.Copy(&read.strata);
  if (version >= kStabilityVersion) {
    water_.CopyWater(&read.water);
    prmStab_.Copy(read.prmStab);
    resStab2_.Copy(read.resStab2);
    resGyaku_.Copy(read.resGyaku);
  }
  blockList_.Copy(&read.blockList);
  if (version >= kStabilityVersion) {
    arrange_ = std::move(read.arrange);
    prmReinf_.Copy(read.prmReinf);
    prmSlide_.Copy(read.prmSlide);
    resSlide_.Copy(read.resSlide);
  }
  if (version >= kShearVersion) {
    prmShear_.Copy(read.prmShear);
    resShear_.Copy(read.resShear);
    resFocus_.Copy(read.resFocus);
  }
}

void CCase::AfterLoadProcess() {
  drawSet_.Init();
  prmStab_.SetCond();
  SendCalcCond({&danmenNormal_, &danmenQuake_, &danmenSlide_});
  blockList_.SetRightUpper(IsRightUpper());
  if (blockList_.GetBlockSize() > 2) blockList_.SetConfirmed(true);
  SetDanmenData();
  if (IsStratumBlockMode() != 0) CreateDivisionDanmen();
  blockList_.SetDanmen(&danmen_);
  blockList_.SetDanmenStab(&danmenNormal_);
  blockList_.SetBlockMatShape(nullptr, nullptr);
  for (CResStab2* set : {&resStab2_, &resGyaku_}) {
    set->SerialResult();
    set->SortSerial();
  }
  resSlide_.SerialResult();
  resSlide_.SortSerial({resSlide_.sortItem, resSlide_.sortOrder});
  CalcArrangeH();
  SetDanmenForSlideMode(0);
}

void CCase::SendCalcCond(std::initializer_list<CDanmenStab*> sections) {
  for (CDanmenStab* section : sections) section->SetCalcCond(prmStab_.cond);
}

// ---- Geometry ----

bool CCase::IsRightUpper() const {
  switch (jobsite_.direction) {
    case CPrmJobsite::kDirectionRightUpper:
      return true;
    case CPrmJobsite::kDirectionAuto:
      return ground_.IsRightUpper();
    default:
      return false;
  }
}

void CCase::SetGridAutoRange() {
  if (grid_.autoArea == 0) return;
  Box box;
  box.Take(ground_);
  for (int i = 0; i < strata_.GetSize(); ++i) box.Take(*strata_.GetAt(i));
  box.Take(water_);
  const double lowest =
      box.y1 == kNoValue || grid_.depthBelow == kNoValue ? box.y1 : box.y1 - grid_.depthBelow;
  grid_.x1 = RoundDown(box.x1, grid_.xLinePitch);
  grid_.x2 = RoundUp(box.x2, grid_.xLinePitch);
  grid_.y1 = RoundDown(lowest, grid_.yLinePitch);
  grid_.y2 = RoundUp(box.y2, grid_.yLinePitch);
  grid_.Normalize();
}

double CCase::GetBottomYPoint(bool withStrata) const {
  double lowest = kNoValue;
  TakeLowest(IsStratumBlockMode() != 0 ? groundDiv_ : ground_, lowest);
  if (withStrata) {
    for (int i = 0; i < strata_.GetSize(); ++i) TakeLowest(*strata_.GetAt(i), lowest);
  }
  return lowest;
}

CDanmenStab* CCase::GetDanmenStabData(int type, int index) {
  if (index >= 2 || index < 0) return nullptr;
  switch (type) {
    case 0:
    case 1:
      return index == 0 ? &danmenNormal_ : &danmenQuake_;
    case 2:
      return &danmenSlide_;
    case 3:
      return &danmenShear_;
    default:
      return nullptr;
  }
}

namespace {

// Points a section at the three shapes and forgets the others.
void PointAt(CDanmen& section, CSpGround* ground, CDPolyArray* strata, CSpWater* water) {
  section.Init();
  section.SetGround(ground);
  section.SetStratumLine(strata);
  section.SetWater(water);
}

}  // namespace

void CCase::PointSectionsAt(CDanmen& edited, CSpGround& ground, CDPolyArray& strata) {
  PointAt(edited, &ground, &strata, &water_);
  edited.SetCurShapeKind(-1);
  edited.SetCurPointId1(-1);
  edited.SetCurPointId2(-1);
  int mode = CDanmenStab::kCalcNormal;
  for (CDanmenStab* section : {&danmenNormal_, &danmenQuake_, &danmenSlide_, &danmenShear_}) {
    PointAt(*section, &ground, &strata, &water_);
    section->SetCalcMode(mode);
    mode = CDanmenStab::kCalcQuake;
  }
}

void CCase::SetDanmenData() { PointSectionsAt(danmen_, ground_, strata_); }

void CCase::SetDanmenDataDiv() { PointSectionsAt(danmenDiv_, groundDiv_, strataDiv_); }

namespace {

// The stratum polygons of the ground and its lines closed at the base level, with the soil
// properties of the ground's present polygons; 1 when the ground took them.
int BuildStratumPolygons(CSpGround& ground, const CDPolyArray& lines, double baseY) {
  CDPolyArray input;
  input.Add(ground.PlainCopy());
  for (int i = 0; i < lines.GetSize(); ++i) input.Add(lines.GetAt(i)->Copy());
  std::unique_ptr<CDPolyArray> polygons = input.CreatePolygon(baseY);
  if (polygons == nullptr || polygons->IsEmpty()) return 0;
  polygons->CopyStratumProp(ground.GetPolyArray());
  ground.SetPolyArray(std::move(polygons));
  return 1;
}

}  // namespace

int CCase::CreateTisoPoly() { return BuildStratumPolygons(ground_, strata_, grid_.y1); }

int CCase::CreateTisoPolyDiv() { return BuildStratumPolygons(groundDiv_, strataDiv_, grid_.y1); }

void CCase::ClearDivisionDanmen() {
  SetDanmenData();
  groundDiv_.DeleteFull();
  strataDiv_.DeleteAll();
  blockList_.SetConfirmed(false);
}

void CCase::CreateDivisionDanmen() {
  const CSpGround& outlineTop = blockList_.GetGroundCopy();
  const CSpSlide& outlineBase = blockList_.GetSlideCopy();
  if (outlineTop.GetSize() == 0 || outlineBase.GetSize() == 0) return;
  const std::unique_ptr<CSpGround> merged = ground_.GroundPolyMarge(&outlineTop);
  if (merged != nullptr) groundDiv_.Copy(merged.get());
  strataDiv_.Copy(&strata_);
  CDPoly* nearest = nullptr;
  double nearestDist = 0;
  for (int i = 0; i < strataDiv_.GetSize(); ++i) {
    CDPoly* line = strataDiv_.GetAt(i);
    const double dist = line->GetPolyApproximationDist(&outlineBase);
    if (nearest == nullptr || dist <= nearestDist) {
      nearest = line;
      nearestDist = dist;
    }
  }
  if (nearest != nullptr) nearest->PolyMarge(&outlineBase);
  CreateTisoPolyDiv();
  SetDanmenDataDiv();
}

void CCase::SetDanmenForSlideMode(int force) {
  CDanmenStab* const sections[] = {&danmenNormal_, &danmenQuake_, &danmenSlide_, &danmenShear_};
  if (prmStab_.slideMode == 1) {
    for (CDanmenStab* section : sections) {
      section->SetSlideWork(&slideWork_);
      section->SetSlideWorkRepeat(nullptr);
    }
    return;
  }
  if (prmStab_.slideMode != 0) return;
  const bool pairSelected =
      resStab2_.GetSelectRepPt(0) != nullptr || resStab2_.GetSelectRepPt(1) != nullptr;
  const bool quakeSelected = resStab2_.GetSelectRepPt(1) != nullptr;
  for (CDanmenStab* section : sections) {
    section->SetSlideWork(nullptr);
    const bool selected =
        section == &danmenNormal_ || section == &danmenQuake_ ? pairSelected : quakeSelected;
    if (force != 0 || !selected) {
      section->SetSlideWorkRepeat(nullptr);
      section->SetSlideMove(0);
    }
  }
}

int CCase::IsStratumBlockMode() const {
  return blockList_.GetBlockSize() >= 1 && blockList_.IsConfirmed() ? 1 : 0;
}

int CCase::IsCoffkh100Over() const {
  const CSpGround* ground = danmenNormal_.GetGround();
  if (ground == nullptr || ground->GetSize() == 0) return 0;
  const double top = ground->Top().y;
  if (top == kNoValue || prmStab_.bottomElevation == kNoValue) return 0;
  return top - prmStab_.bottomElevation >= 100.0 ? 1 : 0;
}

CDPoint CCase::FindNearPoint(const CDPoint* p, double& dist) const {
  CDPoint nearest;
  dist = 9e32;
  const int stage = CCoreConfig::GetStageNo();
  TakeNearer(stage == 1 || stage == 2 ? groundDiv_ : ground_, *p, nearest, dist);
  for (int i = 0; i < strata_.GetSize(); ++i) TakeNearer(*strata_.GetAt(i), *p, nearest, dist);
  TakeNearer(water_, *p, nearest, dist);
  return nearest;
}

void CCase::UnitDataRound() {
  // In block mode the calculations read the divided ground, whose polygons carry copies of the
  // ground's soils: both are rounded alike, so the division stays as it is.
  for (CSpGround* ground : {&ground_, &groundDiv_}) {
    CDPolyArray* polygons = ground->GetPolyArray();
    if (polygons == nullptr) continue;
    for (int i = 0; i < polygons->GetSize(); ++i) {
      auto* block = dynamic_cast<CSpStratumBlock*>(polygons->GetAt(i));
      if (block == nullptr) continue;
      tagSATURATE& soil = *block->GetPropStructure();
      soil.c = CCoreConfig::GetRound(soil.c, kRoundCodeCohesion);
      soil.phi = CCoreConfig::GetRound(soil.phi, kRoundCodeFriction);
    }
  }
}

void CCase::GetBlockGanmaCFai(double& gammaT, double& gammaSat, double& c, double& phi) const {
  gammaT = gammaSat = c = phi = kNoValue;
  const CDPolyArray* polygons = danmen_.GetTisoBlockArray();
  const int index = blockList_.GetStratumIndex();
  if (polygons == nullptr || index < 0 || index >= polygons->GetSize()) return;
  const auto* block = dynamic_cast<const CSpStratumBlock*>(polygons->GetAt(index));
  if (block == nullptr) return;
  const tagSATURATE& soil = block->GetPropPtr()->GetSaturate();
  gammaT = soil.gammaT;
  gammaSat = soil.gammaSat;
  c = soil.c;
  phi = soil.phi;
  if (prmStab_.gyakuOn != 0 && resGyaku_.IsResultCFai()) {
    c = resGyaku_.adopted[0];
    phi = resGyaku_.adopted[1];
  }
}

void CCase::CalcArrangeH() {
  const CMltPoint* point = GetQuakeSelectPoint();
  if (point == nullptr) return;
  // A stored point may name blocks that the stored block list does not hold; such a run has no
  // slide line, and the heights stay as they are.
  const std::unique_ptr<CSpSlide> line =
      blockList_.CreateSlideLine(point->startBlock, point->endBlock, resStab2_.IsSlideTopArc(1));
  if (line == nullptr) return;
  const std::unique_ptr<CSpSlideWork> work = line->CreateDrawObj();
  if (work == nullptr) return;
  const CSpGround* ground = danmenSlide_.GetGround();
  arrange_.CalcRealH(1, ground != nullptr ? ground->GetPolyArray() : nullptr, work.get());
}

const std::vector<CMltPoint*>* CCase::GetSerial(int kind) const {
  return kind == 1 ? &resStab2_.GetSerial() : nullptr;
}
