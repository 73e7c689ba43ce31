#include "core/circle/CalcCircle.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>
#include <cstdio>
#include <limits>
#include <memory>
#include <numbers>
#include <optional>
#include <utility>
#include <vector>

#include "core/base/CoreConfig.h"
#include "core/base/SharedBlocks.h"
#include "core/circle/ArcCondition.h"
#include "core/circle/ArcSet.h"
#include "core/circle/CalcBase.h"
#include "core/circle/CalcDriver.h"
#include "core/circle/KeptSurfaces.h"
#include "core/circle/RepKey.h"
#include "core/circle/RepMesh.h"
#include "core/circle/RepPoint.h"
#include "core/circle/ResStab.h"
#include "core/circle/SliceList.h"
#include "core/geometry/DArc.h"
#include "core/geometry/DPolyArray.h"
#include "core/model/Danmen.h"
#include "core/section/SpCrack.h"
#include "core/section/SpGround.h"
#include "core/section/SpSlide.h"
#include "core/section/SpSlideWork.h"
#include "core/section/SpStratum.h"
#include "platform/FrameMessages.h"
#include "platform/ProgressFeedback.h"
#include "platform/UiRegistry.h"

namespace {

using R = tagRESULTSLICE;

// Circle centres and radii are rounded half up to this before a trial circle is built.
constexpr double kCoordinatePitch = 0.001;
// A slip surface must keep this far inside the model's left, right and bottom limits.
constexpr double kModelMargin = 0.01;
// The trial slip line takes the strata's c and phi on all its segments.
constexpr int kStratumStrength = 2;
constexpr int kStyleArcStart = 1;
constexpr int kStyleStraight = 0;

void Redraw() { Ui().SendToFrame(FrameMsg::WM_APP_REDRAW, 0, 0); }

double Sum(double a, double b) { return a == kNoValue || b == kNoValue ? kNoValue : a + b; }

// The progress line of one trial circle, written only when it is read: the node's position and
// the count of nodes, the centre and the radius.
std::string WriteCircleLine(const ProgressFeedback::NumberLine::Numbers& n) {
  char text[160];
  std::snprintf(text, sizeof text, "%d / %d : (X,Y,R) = (%.1f, %.1f, %.1f) を計算中...",
                static_cast<int>(n[0]), static_cast<int>(n[1]), n[2], n[3], n[4]);
  return text;
}

ProgressFeedback::NumberLine CircleLine(int position, int maximum, double x, double y, double r) {
  return {WriteCircleLine, {static_cast<double>(position), static_cast<double>(maximum), x, y, r}};
}

// A copy of the set that a search can step through radius by radius.
std::unique_ptr<CArcSetRadius> RunCopy(const CArcSetRadius* set) {
  if (set == nullptr) return nullptr;
  std::unique_ptr<CArcSetRadius> copy = set->NewChild();
  copy->CopyStored(set);
  return copy;
}

}  // namespace

// ---- The repeat search ----

// One run of the search: the model it searches, its own copy of the circle set (whose radius
// sequence is the run's state), the crack, and the walk over the nodes, radii and slip surfaces.
// It reads the engine's sections and condition and writes nothing but the search it gives.
class CCalcCircle::RepeatSearch {
 public:
  RepeatSearch(const CCalcCircle& engine, int mode, ProgressFeedback& feedback);

  Search Run();

 private:
  // The working surface of the lower half of the circle, from angle pi to 0, through its start,
  // middle and end point, made in the run's storage.
  const CSpSlideWork& LowerHalf(const CDPoint& centre, double r);
  // The circles of one node (null: a centre without a node); false when the run was cancelled
  // before it.
  bool VisitNode(CRepPoint* node, int col, int row);
  // One trial circle of the radius the set generated; its accepted surfaces join found_ as
  // points of the node's centre.
  void TryCircle(const CDPoint& nodeCentre, const CDPoint& centre, double r, double distance);
  // The tests of a piece up to its slices; a piece joined with the crack is changed.
  bool AdmitsPiece(CSpSlideWork& piece, const CDPoint& centre, bool touchesBottom, int pieceCount);
  bool JoinCrack(CSpSlideWork& piece);
  // The signed distance from the centre to the ground surface, negative inside the model.
  double GroundDistance(const CDPoint& centre) const;
  // The distance from the centre to the nearest edge of the ground's strata (closing edges
  // included) when it lies outside every stratum; 0 inside one.
  double StrataClearance(const CDPoint& centre) const;
  // Whether the circle about the node's centre keeps clear of the strata.
  bool MissesStrata(const CDPoint& centre, double r) const;
  bool TouchesBottom(const CDPoint& centre, double r) const;

  const CCalcCircle& engine_;
  const CDanmenStab& normal_;
  const int mode_;
  const CArcCondition& condition_;
  std::unique_ptr<CArcSetRadius> set_;
  double minDepth_ = 0;
  const CDPolyArray* model_;
  std::unique_ptr<CSpGround> surface_;
  CDPoint bottom_;
  CDPoint left_;
  CDPoint right_;
  const CSpCrack* crack_ = nullptr;
  std::unique_ptr<CDPoly> loweredGround_;
  // Where a piece meets the lowered ground, kept from piece to piece.
  std::vector<CDPoint> crackCrossings_;
  // The ground's strata as the fitting of every trial circle reads them.
  CSpSlideWork::StrataTable strata_;
  std::optional<CrackPlacement> crackPlacement_;
  // StrataClearance of the node's centre.
  double clearance_ = 0;
  ProgressFeedback& feedback_;
  const std::string title_;
  // The slide line of the trial circle's lower half, its working surface and the pieces fitted
  // to the ground, which keep their storage from circle to circle.
  CSpSlide halfLine_;
  CSpSlideWork half_;
  // The start, middle and end of the lower half of the unit circle about the origin as its arc
  // finds them: a trial circle's points are its centre plus its radius times these, bit for bit
  // as its own arc gives them, without a sine and cosine each.
  std::array<CDPoint, 3> unitHalf_;
  CSpSlideFitting fitting_;
  // The slices of each trial circle on the normal section, and the workspace of its cases on
  // the others, which keep their storage and methods from circle to circle.
  CSliceList normalList_;
  Workspace workspace_;
  // The points of the node's circles, which the node takes all at once when its radii are done,
  // into the list of children that the run's nodes share.
  std::vector<std::shared_ptr<CRepPoint>> found_;
  std::shared_ptr<CRepChildren::List> nodeChildren_ = std::make_shared<CRepChildren::List>();
  // The points of the kept circles are made in shared blocks; a search keeps a few thousand.
  SharedBlocks<CRepPoint, 128, 1024> keptPoints_;
  // The accepted pieces, which the points of the search refer to by number.
  std::shared_ptr<CKeptSurfaces> keptSurfaces_ = std::make_shared<CKeptSurfaces>();
  int position_ = 0;
  int maximum_ = 0;
};

CCalcCircle::RepeatSearch::RepeatSearch(const CCalcCircle& engine, int mode,
                                        ProgressFeedback& feedback)
    : engine_(engine),
      normal_(*engine.sections_.normal),
      mode_(mode),
      condition_(*engine.condition_),
      set_(RunCopy(engine.condition_->GetSelectArcSet())),
      model_(normal_.GetTisoBlockArray()),
      feedback_(feedback),
      title_(engine.Title()) {
  if (set_ != nullptr && set_->WhatKind() == kArcSetDepth) minDepth_ = set_->rMin;
  if (model_ != nullptr && !model_->IsEmpty()) {
    surface_ = model_->CreateTopoFromStratum();
    bottom_ = model_->Bottom();
    left_ = model_->Left();
    right_ = model_->Right();
  }
  const CSpGround* ground = normal_.GetGround();
  if (ground != nullptr && ground->GetPolyArray() != nullptr) strata_.Take(*ground->GetPolyArray());
  fitting_.Reserve(strata_.MostCircleCrossings());
  normalList_.Reserve(normal_);
  halfLine_.AddNewPoint(CDPoint(), kStyleArcStart, kStratumStrength);
  halfLine_.AddNewPoint(CDPoint(), kStyleStraight, kStratumStrength);
  halfLine_.AddNewPoint(CDPoint(), kStyleStraight, kStratumStrength);
  const CDArc unit(CDPoint(0, 0), 1.0, std::numbers::pi, 0.0);
  unitHalf_ = {unit.GetStart(), unit.GetMid(0.5), unit.GetEnd()};
  const CSpCrack* crack = normal_.GetCrack();
  if (crack != nullptr && crack->GetDepth() != kNoValue && crack->GetActive() != 0 &&
      normal_.GetGround() != nullptr) {
    crack_ = crack;
    loweredGround_ = normal_.GetGround()->PlainCopy();
    for (int i = 0; i < loweredGround_->GetSize(); ++i) {
      loweredGround_->GetAt(i)->y -= crack->GetDepth();
    }
  }
}

CCalcCircle::Search CCalcCircle::RepeatSearch::Run() {
  auto mesh = std::make_unique<CRepMesh>();
  mesh->SetRepType(mode_);
  const CSpGround* ground = normal_.GetGround();
  mesh->SetRightUp(ground != nullptr && ground->IsRightUpper());
  mesh->SetInterrupt(false);
  if (set_ != nullptr) mesh->CreateResultPoint(*set_);
  maximum_ = mesh->GetSizeX() * mesh->GetSizeY();

  bool cancelled = false;
  for (int row = 0; row < mesh->GetSizeY() && !cancelled; ++row) {
    for (int col = 0; col < mesh->GetSizeX(); ++col) {
      if (!VisitNode(mesh->GetRepPoint(col, row), col, row)) {
        mesh->SetInterrupt(true);
        cancelled = true;
        break;
      }
    }
  }
  return {std::move(mesh), crackPlacement_};
}

bool CCalcCircle::RepeatSearch::VisitNode(CRepPoint* node, int col, int row) {
  if (feedback_.IsCancelled()) {
    feedback_.SetLines("", "計算を中止しました。結果出力準備中...");
    return false;
  }
  ++position_;
  feedback_.SetProgress(100.0 * position_ / maximum_);
  // The centres through two points lie on a line of their own, not on the centre mesh.
  const bool onMesh = set_->WhatKind() != kArcSetPass2;
  if (node == nullptr || (onMesh && set_->mesh.GetFlag(col, row) != 1)) return true;
  if (surface_ == nullptr) return true;

  CDPoint centre = node->GetCenter();
  if (onMesh) {
    centre.x = RoundOff(centre.x, kCoordinatePitch);
    centre.y = RoundOff(centre.y, kCoordinatePitch);
  }
  const double distance = GroundDistance(centre);
  clearance_ = StrataClearance(centre);
  double r = set_->GetInitialRad(centre, distance);
  // The circle is built on a rounded copy of the radius: rounding the set's own radius would
  // keep a set from reaching a maximum that lies less than the rounding above a step.
  while (set_->GetNextRad(r, centre, distance)) {
    if (r <= 0) continue;
    TryCircle(node->GetCenter(), centre, r, distance);
  }
  node->AddChildren(nodeChildren_, found_);
  return true;
}

void CCalcCircle::RepeatSearch::TryCircle(const CDPoint& nodeCentre, const CDPoint& centre,
                                          double r, double distance) {
  feedback_.SetLines(title_, CircleLine(position_, maximum_, centre.x, centre.y, r));
  double depth = 0;
  switch (set_->WhatKind()) {
    case kArcSetRadius:
    case kArcSetPass2:
      r = RoundOff(r, kCoordinatePitch);
      depth = r - distance;
      break;
    case kArcSetDepth:
      depth = RoundOff(r - distance, kCoordinatePitch);
      r = depth + distance;
      break;
    default:
      depth = r - distance;
      break;
  }
  // Fitting cuts nothing out of strata that the circle keeps clear of.
  if (MissesStrata(centre, r)) return;
  const bool touchesBottom = TouchesBottom(centre, r);
  strata_.NarrowTo(centre, r);
  const int pieces =
      LowerHalf(centre, r).CorrectSlideObj(normal_.GetGround(), fitting_, true, &strata_);
  for (int k = 0; k < pieces; ++k) {
    CSpSlideWork& piece = fitting_.GetAt(k);
    if (!AdmitsPiece(piece, centre, touchesBottom, pieces)) continue;
    CSliceList& list = DivideInto(normalList_, normal_, piece);
    if (!engine_.CheckNotStratum(list)) continue;

    std::shared_ptr<CRepPoint> point = keptPoints_.Next();
    point->SetKeptSurface(keptSurfaces_, keptSurfaces_->Keep(piece));
    point->SetCenter(nodeCentre);
    point->SetRadius(r);
    point->SetDepth(depth);
    if (mode_ != kModeGeometry) engine_.SetSafetyFactors(*point, piece, list, workspace_);
    found_.push_back(std::move(point));
  }
}

const CSpSlideWork& CCalcCircle::RepeatSearch::LowerHalf(const CDPoint& centre, double r) {
  for (std::size_t k = 0; k < unitHalf_.size(); ++k) {
    const CDPoint& unit = unitHalf_[k];
    *halfLine_.GetAt(static_cast<int>(k)) = CDPoint(centre.x + r * unit.x, centre.y + r * unit.y);
  }
  halfLine_.CreateDrawObjInto(half_);
  return half_;
}

bool CCalcCircle::RepeatSearch::AdmitsPiece(CSpSlideWork& piece, const CDPoint& centre,
                                            bool touchesBottom, int pieceCount) {
  if (touchesBottom) {
    const bool outside = centre.x < piece.Left().x - 1e-13 || centre.x > piece.Right().x + 1e-13;
    if (!outside) return false;
  }
  if (!condition_.IsAreaInArc(piece, bottom_, left_, right_, CDPoint())) return false;
  if (crack_ != nullptr && !JoinCrack(piece)) return false;
  if (!condition_.CheckLimit(piece) || !condition_.CheckPassLine(piece) ||
      !condition_.CheckNotPassLine(piece)) {
    return false;
  }
  if (pieceCount > 1) {
    double depth = piece.GetDepth(model_, true);
    if (depth == kNoValue) depth = piece.GetDepth(model_, false);
    if (depth < minDepth_) return false;
  }
  return true;
}

bool CCalcCircle::RepeatSearch::JoinCrack(CSpSlideWork& piece) {
  crackCrossings_.clear();
  for (int i = 0; i + 1 < loweredGround_->GetSize(); ++i) {
    piece.CollectCrossings(*loweredGround_->GetAt(i), *loweredGround_->GetAt(i + 1), 0,
                           crackCrossings_);
  }
  if (crackCrossings_.empty()) return false;
  // The first of the highest crossings.
  const CDPoint& first =
      *std::max_element(crackCrossings_.begin(), crackCrossings_.end(),
                        [](const CDPoint& a, const CDPoint& b) { return a.y < b.y; });
  const CDPoint highest(first.x, first.y);
  const CDPoint top(highest.x, highest.y + crack_->GetDepth());
  // The case's crack moves there when the search is posted.
  crackPlacement_ = CrackPlacement{top, highest};
  // A surface the crack cannot join is calculated as it is.
  piece.MixCrackline(top, highest, crack_->GetSetting1());
  return true;
}

double CCalcCircle::RepeatSearch::GroundDistance(const CDPoint& centre) const {
  double distance = 0;
  int segment = 0;
  surface_->GetOnlineNear(&centre, distance, segment);
  return model_->IsPolyInside(&centre) ? -distance : distance;
}

double CCalcCircle::RepeatSearch::StrataClearance(const CDPoint& centre) const {
  const CSpGround* ground = normal_.GetGround();
  const CDPolyArray* strata = ground != nullptr ? ground->GetPolyArray() : nullptr;
  if (strata == nullptr) return 0;
  double nearest = std::numeric_limits<double>::infinity();
  for (int k = 0; k < strata->GetSize(); ++k) {
    const CDPoly& shape = *strata->GetAt(k);
    if (shape.PolyRgn(&centre)) return 0;
    const CDPoly::PointList& points = shape.Points();
    for (std::size_t i = 0; i < points.size(); ++i) {
      const CDPoint& next = *points[i + 1 < points.size() ? i + 1 : 0];
      nearest = std::min(nearest, SquaredSegmentDistance(centre, *points[i], next));
    }
  }
  return std::sqrt(nearest);
}

bool CCalcCircle::RepeatSearch::MissesStrata(const CDPoint& centre, double r) const {
  // The circle fitted is the one through three of its points, lifted by 1e-8; its centre and
  // radius lie within the rounding of a few operations (a relative 1e-15 of the coordinates) of
  // these. With the margin it keeps further than the inside test's own margin (1e-6) from every
  // edge, and the whole disc lies outside the strata as its centre does: every piece the fitting
  // walks tests outside, and no piece is kept.
  const double margin = 1e-5 + 1e-9 * (std::fabs(centre.x) + std::fabs(centre.y) + r);
  return r + margin < clearance_;
}

bool CCalcCircle::RepeatSearch::TouchesBottom(const CDPoint& centre, double r) const {
  return std::fabs(centre.y - r - bottom_.y) < 1e-10 &&
         IsBetween(std::min(left_.x, right_.x), std::max(left_.x, right_.x), centre.x);
}

// ---- The engine ----

void CCalcCircle::CalcRepeatStart() {
  PrepareRepeat();
  ProgressFeedback feedback;
  PostRepeat(ProcessRepeat(0, feedback));
  Redraw();
}

void CCalcCircle::ListResults() {
  CResCircle& results = Results();
  const tagREPKEY& own = results.GetKey().Data();
  std::unique_ptr<CRepKey> listing;
  if (results.GetKey().IsHokyo()) {
    listing = std::make_unique<CRepKeyHokyo>();
  } else {
    listing = std::make_unique<CRepKey>();
  }
  // A key in its initial state lists nothing, as none of its groups is on: it lists the cases
  // the search computed, so that the count is that of the results.
  listing->Data().normalGroup = own.normalGroup;
  listing->Data().seismicGroup = own.seismicGroup;
  results.SetSerialCount(results.SerialResult(results.GetSerialList(), listing.get()));
  if (results.GetMesh() != nullptr) results.SerialResult();
  results.SortSerial(results.serialSort);
}

void CCalcCircle::PrepareRepeat() {
  CDanmenStab& normal = *sections_.normal;
  Results().DeleteResultAll();
  tagREPKEY& key = Results().GetKey().Data();
  normal.SetSlideWorkRepeat(nullptr);
  normal.SetSlideMove(0);
  key.normalGroup = IsNormalOn() ? 1 : 0;
  key.seismicGroup = 0;
  if (sections_.seismic != nullptr) {
    sections_.seismic->SetSlideWorkRepeat(nullptr);
    sections_.seismic->SetSlideMove(0);
    key.seismicGroup = IsSeismicOn() ? 1 : 0;
  }
  if (key.seismicGroup == 0) key.contourCase = 0;
}

CCalcCircle::Search CCalcCircle::ProcessRepeat(int mode, ProgressFeedback& feedback) const {
  return RepeatSearch(*this, mode, feedback).Run();
}

void CCalcCircle::PostRepeat(Search search) {
  PlaceCrack(search.crack);
  Finish(*search.mesh, true);
  Results().SetMesh(std::move(search.mesh));
  ListResults();
}

std::unique_ptr<CRepMesh> CCalcCircle::CalcRepeatEngine(int mode, bool finish) {
  ProgressFeedback feedback;
  Search search = ProcessRepeat(mode, feedback);
  PlaceCrack(search.crack);
  Finish(*search.mesh, finish);
  Redraw();
  return std::move(search.mesh);
}

void CCalcCircle::Finish(CRepMesh& mesh, bool contours) const {
  // A cancelled search keeps what it found, without representatives or contour lines.
  if (mesh.IsInterrupt()) return;
  if (contours) {
    mesh.CreateContour(Results().GetKey());
  } else {
    mesh.SetTypicalPoint(Results().GetKey());
  }
}

void CCalcCircle::PlaceCrack(const std::optional<CrackPlacement>& placement) const {
  CSpCrack* crack = sections_.normal->GetCrack();
  if (!placement || crack == nullptr) return;
  crack->SetTop(placement->top);
  crack->SetBottom(placement->bottom);
  crack->SetAngle(90);
}

bool CCalcCircle::CheckNotStratum(const CSliceList& list) const {
  if (sections_.normal->GetTisoBlockArray() == nullptr) return false;
  for (int i = 0; i < list.GetSize(); ++i) {
    const CSlice& slice = *list.GetSlicePtr(i);
    const CSpStratumBlock* stratum = slice.SearchDevyStratum(slice.GetDEVYCount() - 1);
    if (stratum != nullptr && stratum->GetPropPtr()->GetExtra() != 0) return false;
  }
  return true;
}

// ---- The specified circle ----

void CCalcCircle::CalcSpecifStart() {
  CResCircle& results = Results();
  results.DeleteResultAll();
  sections_.normal->SetSlideMove(0);
  results.sliceResults[0].Init();
  results.sliceResults[1].Init();
  if (IsNormalOn()) results.sliceResults[0] = CalcSpecifEngine(0);
  if (IsSeismicOn()) results.sliceResults[1] = CalcSpecifEngine(1);
  CalcKnownBlocks();
}

tagRESULTSLICE CCalcCircle::CalcSpecifEngine(int seismicCase) {
  const int c = seismicCase != 0 ? 1 : 0;
  const CDanmenStab* section = c == 1 ? sections_.seismic : sections_.normal;
  tagRESULTSLICE record;
  if (section == nullptr) return record;
  const std::unique_ptr<CSliceList> list = SpecifSliceList(*section);
  if (list == nullptr) return record;
  Methods methods;
  const CaseValues values = CalcCase(*section, *list, c, methods);
  record = list->GetTotal();
  CompleteSpecifRecord(c, values, record);
  return record;
}

std::unique_ptr<CSliceList> CCalcCircle::SpecifSliceList(const CDanmenStab& section) {
  const CSpSlideWork* entered = section.GetSlideWork();
  if (entered == nullptr) return nullptr;
  CDPolyArray pieces;
  if (entered->CorrectSlideObj(section.GetGround(), &pieces, false) == 0) return nullptr;
  auto list = std::make_unique<CSliceList>();
  list->SetDanmenStab(&section);
  // A surface that runs beside or above the ground cuts no slice.
  if (list->CreateSlice(nullptr, nullptr, entered) == 0) return nullptr;
  return list;
}

CCalcCircle::CaseValues CCalcCircle::CalcSpecifCase(const CDanmenStab& section,
                                                    int seismicCase) const {
  const std::unique_ptr<CSliceList> list = SpecifSliceList(section);
  if (list == nullptr) return {};
  Methods methods;
  return CalcCase(section, *list, seismicCase, methods);
}

// ---- Shared steps ----

bool CCalcCircle::IsNormalOn() const { return sections_.normal->IsNormal(); }

bool CCalcCircle::IsSeismicOn() const {
  return sections_.seismic != nullptr && sections_.seismic->IsQuake();
}

double CCalcCircle::PlannedFs(int seismicCase) const {
  if (seismicCase == 0) return sections_.normal->GetPFs(0);
  return sections_.seismic != nullptr ? sections_.seismic->GetPFs(1) : kNoValue;
}

CSliceList& CCalcCircle::DivideInto(CSliceList& list, const CDanmenStab& section,
                                    const CSpSlideWork& piece) {
  list.GetTotal().Init();
  list.SetDanmenStab(&section);
  list.CreateSlice(nullptr, nullptr, &piece);
  return list;
}

CCalcBase* CCalcCircle::Methods::Of(const CDanmenStab& section) {
  for (const auto& [made, driver] : made_) {
    if (made == &section) return driver->GetCalc();
  }
  auto driver = std::make_unique<CCalcDriver>();
  driver->SetDanmenStab(&section);
  CCalcBase* method = driver->CreateCalc();
  made_.emplace_back(&section, std::move(driver));
  return method;
}

std::array<CCalcCircle::CaseValues, 2> CCalcCircle::CalcCases(const CDanmenStab& section,
                                                              CSliceList& list,
                                                              Methods& methods) const {
  CCalcBase* method = methods.Of(section);
  if (method == nullptr) return {};
  const tagFSRESULT fs = method->KeisanFsPr(PlannedFs(0), PlannedFs(1), list, 0);
  const tagRESULTSLICE& total = list.GetTotal();
  return {CaseValues{fs.fs, fs.fs2, fs.pr, total[R::kS], total[R::kT]},
          CaseValues{fs.fsSeis, fs.fsSeis2, fs.prSeis, total[R::kSe],
                     Sum(total[R::kTs], total[R::kTe])}};
}

CCalcCircle::CaseValues CCalcCircle::CalcCase(const CDanmenStab& section, CSliceList& list,
                                              int seismicCase, Methods& methods) const {
  return CalcCases(section, list, methods)[seismicCase == 0 ? 0 : 1];
}

CCalcCircle::CaseValues CCalcCircle::CalcCaseOf(const CDanmenStab& section,
                                                const CSpSlideWork& piece, int seismicCase,
                                                Workspace& workspace) const {
  return CalcCase(section, DivideInto(workspace.list, section, piece), seismicCase,
                  workspace.methods);
}

bool CCalcCircle::SeismicPassIsNormalPass() const {
  const CDanmenStab& normal = *sections_.normal;
  const CDanmenStab* seismic = sections_.seismic;
  return seismic != nullptr && seismic->GetGround() == normal.GetGround() &&
         seismic->GetStratumLine() == normal.GetStratumLine() &&
         seismic->GetWater() == normal.GetWater() && seismic->GetAryLoad() == normal.GetAryLoad() &&
         seismic->GetCrack() == normal.GetCrack() && seismic->GetCalcCond() == normal.GetCalcCond();
}

std::array<CCalcCircle::CaseValues, 2> CCalcCircle::CalcSearchCases(const CSpSlideWork& piece,
                                                                    CSliceList& normalList,
                                                                    Workspace& workspace) const {
  std::array<CaseValues, 2> cases;
  if (IsSeismicOn() && SeismicPassIsNormalPass()) {
    cases = CalcCases(*sections_.seismic, normalList, workspace.methods);
    if (!IsNormalOn()) cases[0] = CaseValues();
    return cases;
  }
  if (IsNormalOn()) cases[0] = CalcCase(*sections_.normal, normalList, 0, workspace.methods);
  if (IsSeismicOn()) cases[1] = CalcCaseOf(*sections_.seismic, piece, 1, workspace);
  return cases;
}

void CCalcCircle::StoreCase(CRepPoint& point, int seismicCase, int fsValue,
                            const CaseValues& values) {
  point.SetValue(fsValue, RoundFs(values.fs));
  point.SetStab(CRepPoint::kPr, seismicCase, CCoreConfig::GetRound(values.pr, kRoundCodeRestraint));
  point.SetStab(CRepPoint::kS, seismicCase, values.s);
  point.SetStab(CRepPoint::kT, seismicCase, values.t);
}

double CCalcCircle::RoundFs(double fs) { return CCoreConfig::GetRound(fs, kRoundCodeFs); }
