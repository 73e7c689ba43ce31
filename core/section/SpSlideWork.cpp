// CSpSlideWork: building blocks, record and editing of the working slide surface.

#include "core/section/SpSlideWork.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <numbers>
#include <optional>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/base/ArchiveCount.h"
#include "core/base/Constants.h"
#include "core/geometry/DPolyArray.h"
#include "core/geometry/RecordCheck.h"
#include "core/section/SpGround.h"
#include "core/section/SpSlide.h"
#include "platform/Archive.h"

namespace {

constexpr double kPi = std::numbers::pi;
constexpr double kTwoPi = 2 * std::numbers::pi;
constexpr int kOnBoth = 3;             // CrossLL: the crossing lies on both segments
constexpr double kRayLength = 1000.0;  // the segment that stands for a ray at an angle
constexpr double kOnGround = 0.001;    // an end this close to the ground needs no stretching
// Fitting lifts the surface by this, so that vertices on a stratum edge lie inside the upper
// stratum.
constexpr double kLiftOntoStratum = 1e-8;
constexpr double kAngleTolerance = 1e-6;
constexpr int kTakeStored = -99;  // a stretch argument that takes the process-wide setting

double SquaredDistance(const CDPoint& a, const CDPoint& b) {
  const double dx = b.x - a.x;
  const double dy = b.y - a.y;
  return dx * dx + dy * dy;
}

CDPoint PointAtAngle(const CDPoint& p, double angle, double length) {
  return CDPoint(p.x + length * std::cos(angle), p.y + length * std::sin(angle));
}

// The arc split at the angle into the part walked first and the part walked second; forward
// when the surface walks the arc from its start angle to its end angle.
std::pair<std::unique_ptr<CDArc>, std::unique_ptr<CDArc>> SplitArc(const CDArc& arc, double angle,
                                                                   bool forward) {
  auto before = arc.Copy();
  auto after = arc.Copy();
  before->end = angle;
  after->start = angle;
  if (forward) return {std::move(before), std::move(after)};
  return {std::move(after), std::move(before)};
}

// The first crossing of the arc with the segment that lies away from the arc's ends (a crossing
// at an end splits nothing).
std::optional<CDPoint> InnerCrossing(const CDArc& arc, const CDPoint& a, const CDPoint& b) {
  CDPoint first;
  CDPoint second;
  const int count = arc.CrossAL(a, b, first, second, 0);
  const auto inner = [&arc](const CDPoint& p) {
    return Hypot(p, arc.GetStart()) >= kSamePoint && Hypot(p, arc.GetEnd()) >= kSamePoint;
  };
  if (count >= 1 && inner(first)) return first;
  if (count == 2 && inner(second)) return second;
  return std::nullopt;
}

}  // namespace

CSpSlideWork::CSpSlideWork() : CDPoly(kKindSlideWork) {}

// ---- Record ----

void CSpSlideWork::Store(Archive& ar, int /*version*/) const {
  ar.WriteString(GetName());
  ar << static_cast<std::int32_t>(GetSize());
  for (const auto& p : Points()) ar << p->x << p->y << static_cast<std::int32_t>(p->flag);
  ar << static_cast<std::int32_t>(strengths_.size());
  for (const unsigned word : strengths_) ar << static_cast<std::uint32_t>(word);
  ar << static_cast<std::int32_t>(arcs_.size());
  for (const auto& arc : arcs_) {
    ar << arc->centre.x << arc->centre.y << arc->R << arc->start << arc->end;
  }
}

namespace {

// What the surface's operations rely on: every flag names an arc or is -1, the last vertex
// starts no piece, no two vertices share an arc (removing one would take the other's arc along),
// and every coordinate and arc is sound.
void RequireSoundSurface(const CDPoly::PointList& points,
                         const std::vector<std::unique_ptr<CDArc>>& arcs) {
  constexpr std::string_view kRecord = "working slide surface record";
  record_check::RequirePoints(kRecord, points);
  std::vector<bool> named(arcs.size(), false);
  for (std::size_t i = 0; i < points.size(); ++i) {
    const int flag = points[i]->flag;
    if (flag == -1) continue;
    const std::string vertex = "vertex " + std::to_string(i);
    if (flag < 0 || static_cast<std::size_t>(flag) >= arcs.size()) {
      record_check::Refuse(kRecord, vertex + " names no arc");
    }
    if (i + 1 == points.size()) {
      record_check::Refuse(kRecord, "the last vertex names an arc but starts no piece");
    }
    if (named[static_cast<std::size_t>(flag)]) {
      record_check::Refuse(kRecord, vertex + " names an arc of an earlier vertex");
    }
    named[static_cast<std::size_t>(flag)] = true;
  }
  for (std::size_t i = 0; i < arcs.size(); ++i) {
    record_check::RequireArc(kRecord, static_cast<int>(i), *arcs[i]);
  }
}

}  // namespace

void CSpSlideWork::Load(Archive& ar, int /*version*/) {
  std::string name = ar.ReadString();
  const std::int32_t n =
      ReadCount(ar, 2 * sizeof(double) + sizeof(std::int32_t), "working slide surface point count");
  PointList points;
  for (std::int32_t i = 0; i < n; ++i) {
    auto p = std::make_shared<CDPoint>();
    std::int32_t flag = 0;
    ar >> p->x >> p->y >> flag;
    p->flag = flag;
    points.push_back(std::move(p));
  }
  const std::int32_t m =
      ReadCount(ar, sizeof(std::uint32_t), "working slide surface strength count");
  std::vector<unsigned> strengths;
  for (std::int32_t i = 0; i < m; ++i) {
    std::uint32_t word = 0;
    ar >> word;
    strengths.push_back(word);
  }
  const std::int32_t a = ReadCount(ar, 5 * sizeof(double), "working slide surface arc count");
  std::vector<std::unique_ptr<CDArc>> arcs;
  for (std::int32_t i = 0; i < a; ++i) {
    auto arc = std::make_unique<CDArc>();
    ar >> arc->centre.x >> arc->centre.y >> arc->R >> arc->start >> arc->end;
    arcs.push_back(std::move(arc));
  }
  RequireSoundSurface(points, arcs);
  Init();
  SetName(name);
  for (auto& p : points) Add(std::move(p));
  strengths_ = std::move(strengths);
  arcs_ = std::move(arcs);
}

// ---- Construction and copying ----

std::unique_ptr<CDPoly> CSpSlideWork::Copy() const {
  auto copy = std::make_unique<CSpSlideWork>();
  copy->CopySlideWork(this);
  return copy;
}

void CSpSlideWork::CopySlideWork(const CSpSlideWork* other) {
  if (other == this) return;
  Init();
  SetName(other->GetName());
  CopyPoints(other);
  arcs_.reserve(other->arcs_.size());
  for (const auto& arc : other->arcs_) arcs_.push_back(arc->Copy());
  strengths_ = other->strengths_;
}

void CSpSlideWork::AssignSlideWork(const CSpSlideWork& other) {
  if (&other == this) return;
  SetName(other.GetName());
  AssignPoints(other);
  const std::size_t arcs = other.arcs_.size();
  if (arcs_.size() > arcs) arcs_.resize(arcs);
  for (std::size_t k = 0; k < arcs; ++k) {
    if (k == arcs_.size()) {
      arcs_.push_back(other.arcs_[k]->Copy());
    } else {
      *arcs_[k] = *other.arcs_[k];
    }
  }
  strengths_ = other.strengths_;
}

void CSpSlideWork::AssignContent(const std::string& name, std::span<const CDPoint> vertices,
                                 std::span<const CDArc> arcs, std::span<const unsigned> strengths) {
  Init();
  SetName(name);
  for (const CDPoint& vertex : vertices) Add(std::make_shared<CDPoint>(vertex));
  arcs_.reserve(arcs.size());
  for (const CDArc& arc : arcs) arcs_.push_back(arc.Copy());
  strengths_.assign(strengths.begin(), strengths.end());
}

void CSpSlideWork::Init() {
  arcs_.clear();
  strengths_.clear();
  DeleteAll();
}

void CSpSlideWork::Clear() {
  SetName({});
  crackIndex_ = -1;
  ReleasePoints(sparePoints_);
  for (auto& arc : arcs_) spareArcs_.push_back(std::move(arc));
  arcs_.clear();
  strengths_.clear();
}

void CSpSlideWork::Reserve(std::size_t vertices) {
  ReservePoints(vertices);
  sparePoints_.reserve(vertices);
  strengths_.reserve(vertices);
  arcs_.reserve(vertices);
  spareArcs_.reserve(vertices);
}

void CSpSlideWork::Reverse() {
  CDPoly::Reverse();
  const int n = GetSize();
  // Each arc starts again at the vertex where its piece begins.
  for (int k = 0; k + 1 < n; ++k) GetAt(k)->flag = GetAt(k + 1)->flag;
  if (n > 0) GetLastPt()->flag = -1;
  // The pieces' entries follow their pieces; the entry of the last vertex, which starts no
  // piece, stays where it is, so that reversing twice gives the surface back.
  const std::size_t pieces =
      std::min(strengths_.size(), static_cast<std::size_t>(std::max(n - 1, 0)));
  std::reverse(strengths_.begin(), strengths_.begin() + static_cast<std::ptrdiff_t>(pieces));
}

// ---- Building blocks ----

std::shared_ptr<CDPoint> CSpSlideWork::NewVertex(const CDPoint& point, int flag) {
  if (sparePoints_.empty()) return std::make_shared<CDPoint>(point.x, point.y, flag);
  std::shared_ptr<CDPoint> vertex = std::move(sparePoints_.back());
  sparePoints_.pop_back();
  *vertex = CDPoint(point.x, point.y, flag);
  return vertex;
}

CDPoint* CSpSlideWork::AppendVertex(std::shared_ptr<CDPoint> vertex, int type) {
  CDPoint* const appended = vertex.get();
  const auto index = static_cast<std::size_t>(Add(std::move(vertex)));
  // Usually one entry is missing: appended, it spares resize's fill.
  while (strengths_.size() <= index) strengths_.push_back(0u);
  SetStrengthType(static_cast<int>(index), type);
  return appended;
}

CDPoint* CSpSlideWork::AddNewPoint(const CDPoint& point, std::unique_ptr<CDArc> arc, int type) {
  if (!arc) return AppendVertex(NewVertex(point, -1), type);
  auto vertex = NewVertex(point, static_cast<int>(arcs_.size()));
  arcs_.push_back(std::move(arc));
  return AppendVertex(std::move(vertex), type);
}

CDPoint* CSpSlideWork::AddNewPoint(const CDPoint& point, const CDArc& arc, int type) {
  if (spareArcs_.empty()) return AddNewPoint(point, arc.Copy(), type);
  std::unique_ptr<CDArc> copy = std::move(spareArcs_.back());
  spareArcs_.pop_back();
  *copy = arc;
  return AddNewPoint(point, std::move(copy), type);
}

void CSpSlideWork::InsertNewPoint(const CDPoint& point, int type) {
  InsertAt(0, NewVertex(point, -1));
  strengths_.insert(strengths_.begin(), slide_strength::WithType(0u, type));
}

unsigned& CSpSlideWork::Entry(int i) {
  if (i < 0 || i >= GetStrengthSize()) throw std::out_of_range("CSpSlideWork: strength index");
  return strengths_[static_cast<std::size_t>(i)];
}

unsigned CSpSlideWork::Entry(int i) const {
  if (i < 0 || i >= GetStrengthSize()) throw std::out_of_range("CSpSlideWork: strength index");
  return strengths_[static_cast<std::size_t>(i)];
}

void CSpSlideWork::SetStrengthIndex(int i, int index) {
  unsigned& word = Entry(i);
  word = slide_strength::WithIndex(word, index);
}

void CSpSlideWork::SetStrengthType(int i, int type) {
  unsigned& word = Entry(i);
  word = slide_strength::WithType(word, type);
}

int CSpSlideWork::GetStrengthIndex(int i) const { return slide_strength::Index(Entry(i)); }

int CSpSlideWork::GetStrengthType(int i) const { return slide_strength::Type(Entry(i)); }

int CSpSlideWork::StrengthTypeOrZero(int i) const {
  return i >= 0 && i < GetStrengthSize() ? GetStrengthType(i) : 0;
}

int CSpSlideWork::LastStrengthType() const { return StrengthTypeOrZero(GetStrengthSize() - 1); }

void CSpSlideWork::SetStrengthSize(int n) {
  if (n < 0) throw std::out_of_range("CSpSlideWork: negative strength size");
  strengths_.resize(static_cast<std::size_t>(n), 0u);
}

void CSpSlideWork::YcoordPrimitive(double dy) {
  for (const auto& p : Points()) p->y += dy;
}

const CDArc* CSpSlideWork::GetArcAt(int index) const {
  if (index < 0 || index >= GetArcCount()) throw std::out_of_range("CSpSlideWork: arc index");
  return arcs_[static_cast<std::size_t>(index)].get();
}

int CSpSlideWork::ArcIndexAt(int i) const {
  if (i < 0 || i >= GetSize()) return -1;
  return ArcIndexOf(*GetAt(i));
}

const CDArc* CSpSlideWork::GetArcFromPointIndex(int i) const {
  const int index = ArcIndexAt(i);
  return index < 0 ? nullptr : arcs_[static_cast<std::size_t>(index)].get();
}

CDArc* CSpSlideWork::EditArc(int i) {
  const int index = ArcIndexAt(i);
  return index < 0 ? nullptr : arcs_[static_cast<std::size_t>(index)].get();
}

bool CSpSlideWork::RunsForward(int i) const {
  const CDArc* arc = GetArcFromPointIndex(i);
  if (arc == nullptr) return true;
  return RunsForward(*GetAt(i), ArcEnds{arc->GetStart(), arc->GetEnd()});
}

bool CSpSlideWork::RunsForward(const CDPoint& vertex, const ArcEnds& ends) {
  // The vertex lies at one of the ends, the other mostly far off: where the squared distances
  // differ by far more than their rounding (a relative 1e-9), they order the distances as hypot
  // does. The squares of distances below about 1e-150 lose their precision in the subnormal
  // range: the larger square must be a normal number well clear of it.
  constexpr double kClearRatio = 1 - 1e-9;
  constexpr double kNormalSquare = 1e-280;
  const double toStart = SquaredDistance(vertex, ends.start);
  const double toEnd = SquaredDistance(vertex, ends.end);
  if (std::isfinite(toStart) && std::isfinite(toEnd) && std::max(toStart, toEnd) >= kNormalSquare) {
    if (toStart < toEnd * kClearRatio) return true;
    if (toEnd < toStart * kClearRatio) return false;
  }
  return Hypot(vertex, ends.start) <= Hypot(vertex, ends.end);
}

const CDArc* CSpSlideWork::GetFirstArc() const {
  for (int i = 0; i < GetSize(); ++i) {
    if (const CDArc* arc = GetArcFromPointIndex(i)) return arc;
  }
  return nullptr;
}

const CDArc* CSpSlideWork::GetLastArc() const {
  return arcs_.empty() ? nullptr : arcs_.back().get();
}

void CSpSlideWork::GetOR(double& x, double& y, double& r) const {
  const CDArc* arc = GetFirstArc();
  x = arc != nullptr ? arc->centre.x : kNoValue;
  y = arc != nullptr ? arc->centre.y : kNoValue;
  r = arc != nullptr ? arc->R : kNoValue;
}

void CSpSlideWork::RemoveVertex(int i) {
  std::shared_ptr<CDPoint> vertex = GetShared(i);
  const int flag = vertex->flag;
  RemoveAt(i);
  if (vertex.use_count() == 1) sparePoints_.push_back(std::move(vertex));
  if (i < GetStrengthSize()) strengths_.erase(strengths_.begin() + i);
  if (flag < 0) return;
  const auto arc = arcs_.begin() + flag;
  spareArcs_.push_back(std::move(*arc));
  arcs_.erase(arc);
  for (const auto& p : Points()) {
    if (p->flag > flag) --p->flag;
  }
}

// ---- Inserting crossings ----

void CSpSlideWork::StrataTable::Take(const CDPolyArray& strata) {
  edges_.clear();
  // Each shape has one edge fewer than points: sized at once, with room to spare.
  edges_.reserve(strata.PointCount());
  for (int k = 0; k < strata.GetSize(); ++k) {
    const CDPoly::PointList& points = strata.GetAt(k)->Points();
    for (std::size_t i = 1; i < points.size(); ++i) edges_.emplace_back(*points[i - 1], *points[i]);
  }
  outlines_.Take(strata);
  centre_.reset();
  reaches_.reserve(edges_.size());
  near_.reserve(edges_.size());
  narrowed_ = false;
}

void CSpSlideWork::StrataTable::NarrowTo(const CDPoint& centre, double r) {
  if (!centre_ || centre_->x != centre.x || centre_->y != centre.y) {
    centre_ = centre;
    reaches_.clear();
    for (const CDArc::Edge& edge : edges_) {
      const double nearest = std::sqrt(SquaredSegmentDistance(centre, edge.a, edge.b));
      // The root of the larger squared distance lies within a few units in the last place of
      // hypot's, far inside the margin below: the same edges are kept without the calls.
      const double farthest =
          std::sqrt(std::max(SquaredDistance(centre, edge.a), SquaredDistance(centre, edge.b)));
      // The circle fitted lies within a relative 1e-15 of the coordinates of this one, the
      // distances within the rounding of a few operations on them: the margin covers both by
      // far, and it lies far beyond the tolerance of the cuts (1e-12) and the margins by which
      // the cut itself passes over an edge.
      const double scale = std::fabs(centre.x) + std::fabs(centre.y) + std::fabs(edge.a.x) +
                           std::fabs(edge.a.y) + std::fabs(edge.b.x) + std::fabs(edge.b.y);
      const double margin = 1e-6 + 1e-9 * scale;
      reaches_.push_back({nearest - margin, farthest + margin});
    }
  }
  near_.clear();
  // The radius's share of the margin.
  const double margin = 1e-9 * r;
  for (std::size_t k = 0; k < edges_.size(); ++k) {
    const Reach& reach = reaches_[k];
    if (reach.low > r + margin || reach.high < r - margin) continue;
    near_.push_back(edges_[k]);
  }
  narrowed_ = true;
}

std::span<const CDArc::Edge> CSpSlideWork::StrataTable::CutEdges() const {
  return narrowed_ ? std::span<const CDArc::Edge>(near_) : std::span<const CDArc::Edge>(edges_);
}

std::unique_ptr<CSpSlideWork> CSpSlideWork::InsCrossPoint(CDPolyArray* polygons, bool all,
                                                          const StrataTable* table) const {
  auto result = std::make_unique<CSpSlideWork>();
  CDArc::CutStorage cuts;
  std::vector<ArcEnds> ends;
  InsCrossPointInto(*result, polygons, all, table, cuts, ends);
  return result;
}

void CSpSlideWork::InsCrossPointInto(CSpSlideWork& out, CDPolyArray* polygons, bool all,
                                     const StrataTable* table, CDArc::CutStorage& cuts,
                                     std::vector<ArcEnds>& ends) const {
  out.Clear();
  out.SetName(GetName());
  ends.clear();
  const int n = GetSize();
  if (n == 0) return;
  const auto addArc = [&out, &ends](const CDPoint& vertex, const CDArc& arc, const ArcEnds& at,
                                    int type) {
    out.AddNewPoint(vertex, arc, type);
    ends.push_back(at);
  };
  for (int b = 0; b + 1 < n; ++b) {
    const int type = StrengthTypeOrZero(b);
    const CDPoint& start = *GetAt(b);
    const CDArc* arc = GetArcFromPointIndex(b);
    const bool cut = all || type == 2 || type == 3;
    if (arc != nullptr && cut) {
      const std::span<CDArc> arcs =
          table != nullptr ? arc->CutArc(table->CutEdges(), cuts) : arc->CutArc(*polygons, cuts);
      if (arcs.empty()) {
        // An arc too short for CutArc to keep a piece of stays whole.
        addArc(start, *arc, cuts.ArcEnds(), type);
      } else {
        const std::span<ArcEnds> pieceEnds = cuts.PieceEnds();
        const bool forward = RunsForward(start, cuts.ArcEnds());
        if (!forward) {
          std::reverse(arcs.begin(), arcs.end());
          std::reverse(pieceEnds.begin(), pieceEnds.end());
        }
        addArc(start, arcs.front(), pieceEnds.front(), type);
        for (std::size_t k = 1; k < arcs.size(); ++k) {
          const ArcEnds& at = pieceEnds[k];
          addArc(forward ? at.start : at.end, arcs[k], at, type);
        }
      }
    } else if (arc != nullptr) {
      addArc(start, *arc, ArcEnds{arc->GetStart(), arc->GetEnd()}, type);
    } else {
      CDPoly segment;
      segment.Add(start);
      segment.Add(*GetAt(b + 1));
      if (cut) {
        for (int k = 0; k < polygons->GetSize(); ++k) {
          segment.InsCrossPoint(polygons->GetAt(k), false);
        }
        segment.Sort(start);
        segment.DelSamePoint(kSamePoint);
      }
      // The piece's end is held back: it starts the next piece.
      out.AddNewPoint(start, nullptr, type);
      for (int k = 1; k + 1 < segment.GetSize(); ++k) {
        out.AddNewPoint(*segment.GetAt(k), nullptr, type);
      }
    }
  }
  out.AddNewPoint(*GetAt(n - 1), nullptr, LastStrengthType());
  out.MergeCoincidentVertices(ends);
}

void CSpSlideWork::MergeCoincidentVertices(std::vector<ArcEnds>& ends) {
  for (int i = 0; i + 1 < GetSize();) {
    if (IsCloser(*GetAt(i), *GetAt(i + 1), kSamePoint)) {
      const int arc = ArcIndexAt(i);
      RemoveVertex(i);
      if (arc >= 0) ends.erase(ends.begin() + arc);
    } else {
      ++i;
    }
  }
}

// ---- Fitting to the ground ----

namespace {

// Whether the point keeps further than the reach from every segment of the line (which has one):
// its squared distance from each segment near it clearly beyond the reach's square. A point found
// on a segment (a foot, an end) lies off it by no more than the rounding of a few operations, far
// below the relative 1e-13 of the coordinates' scale that widens the reach.
bool KeepsClearOfLine(const CDPoly::PointList& line, const CDPoint& p, double reach) {
  if (line.size() < 2) return false;
  for (std::size_t i = 1; i < line.size(); ++i) {
    const CDPoint& a = *line[i - 1];
    const CDPoint& b = *line[i];
    const double scale = std::fabs(a.x) + std::fabs(a.y) + std::fabs(b.x) + std::fabs(b.y) +
                         std::fabs(p.x) + std::fabs(p.y);
    const double r = reach + 1e-13 * scale;
    if (p.x < std::min(a.x, b.x) - r || p.x > std::max(a.x, b.x) + r ||
        p.y < std::min(a.y, b.y) - r || p.y > std::max(a.y, b.y) + r) {
      continue;
    }
    if (!(SquaredSegmentDistance(p, a, b) > r * r)) return false;
  }
  return true;
}

// The middle of the arc with the given end points, as the point of the radius through its
// chord's midpoint (on the far side of the centre for a sweep beyond a half turn), without a sine
// or cosine. Near a half turn that midpoint comes near the centre, where the middle angle's point
// is taken instead.
CDPoint ArcMiddle(const CDArc& arc, const CDArc::EndPoints& ends) {
  const double dx = (ends.start.x + ends.end.x) / 2 - arc.centre.x;
  const double dy = (ends.start.y + ends.end.y) / 2 - arc.centre.y;
  const double length = std::sqrt(dx * dx + dy * dy);
  if (!(length > arc.R / 2)) return arc.GetMid(0.5);
  const double unwrappedEnd = arc.end > arc.start ? arc.end : arc.end + kTwoPi;
  const double scale = (unwrappedEnd - arc.start > kPi ? -arc.R : arc.R) / length;
  return CDPoint(arc.centre.x + dx * scale, arc.centre.y + dy * scale);
}

// Whether the point lies on the ground line: its nearest ground point within 1e-6 in x and y.
bool IsOnGroundLine(const CSpGround& ground, const CDPoint& p) {
  // Such a ground point lies within 1e-6 times the root of 2 of the point: a point clear of the
  // line by 2e-6 has none.
  constexpr double kClearOfLine = 2e-6;
  if (KeepsClearOfLine(ground.Points(), p, kClearOfLine)) return false;
  double dist = kAreaNotSet;
  int segment = -1;
  const CDPoint near = ground.GetOnlineNear(&p, dist, segment);
  return std::fabs(near.x - p.x) < 1e-6 && std::fabs(near.y - p.y) < 1e-6;
}

}  // namespace

bool CSpSlideWork::StretchesNoEnd() {
  const CSpSlide::StretchParam stretch = CSpSlide::GetStretchParam();
  return stretch.typeHead < 0 && stretch.typeTail < 0;
}

void CSpSlideWork::LiftInto(CSpSlideWork& out) const {
  out.AssignSlideWork(*this);
  out.YcoordPrimitive(kLiftOntoStratum);
}

bool CSpSlideWork::FitFirstPieceInto(const CSpGround* ground, CSpSlideWork& out) const {
  const CDPolyArray* strata = ground != nullptr ? ground->GetPolyArray() : nullptr;
  if (strata == nullptr || strata->IsEmpty()) return false;
  // Without a stretch the one piece is the surface itself, lifted: made in out directly.
  if (StretchesNoEnd()) {
    LiftInto(out);
    return true;
  }
  CSpSlideFitting fitting;
  if (CorrectSlideObj(ground, fitting, false) == 0) return false;
  out.AssignSlideWork(fitting.GetAt(0));
  return true;
}

int CSpSlideWork::CorrectSlideObj(const CSpGround* ground, CDPolyArray* pieces, bool noStretch,
                                  const StrataTable* table) const {
  const CDPolyArray* strata = ground != nullptr ? ground->GetPolyArray() : nullptr;
  if (strata == nullptr || strata->IsEmpty()) return 0;
  CSpSlideFitting fitting;
  CorrectSlideObj(ground, fitting, noStretch, table);
  pieces->DeleteAll();
  for (int k = 0; k < fitting.GetSize(); ++k) {
    pieces->Add(std::move(fitting.pieces_[static_cast<std::size_t>(k)]));
  }
  return pieces->GetSize();
}

int CSpSlideWork::CorrectSlideObj(const CSpGround* ground, CSpSlideFitting& fitting, bool noStretch,
                                  const StrataTable* table) const {
  fitting.count_ = 0;
  CDPolyArray* strata = ground != nullptr ? ground->GetPolyArray() : nullptr;
  if (strata == nullptr || strata->IsEmpty()) return 0;
  if (!noStretch && StretchesNoEnd()) {
    LiftInto(fitting.OpenPiece());
    return 1;
  }

  // The walk runs over a lifted copy, so that this surface keeps its coordinates exactly.
  CSpSlideWork& lifted = fitting.lifted_;
  LiftInto(lifted);
  CSpSlideWork& walk = fitting.walk_;
  const std::vector<ArcEnds>& walkEnds = fitting.walkEnds_;
  lifted.InsCrossPointInto(walk, strata, true, table, fitting.cuts_, fitting.walkEnds_);
  CSpSlideWork* current = nullptr;
  const auto finish = [&] {
    if (noStretch) {
      current->DisposeOverArc(strata);
    } else {
      current->Strech(ground, kTakeStored, kTakeStored, kTakeStored, kTakeStored, kTakeStored,
                      kTakeStored);
    }
    current = nullptr;
  };
  const auto openPiece = [&] {
    current = &fitting.OpenPiece();
    current->SetName(GetName());
  };
  for (int f = 0; f + 1 < walk.GetSize(); ++f) {
    const CDPoint& vertex = *walk.GetAt(f);
    const int type = walk.StrengthTypeOrZero(f);
    // The walk is cut at every stratum edge: each inner point of a piece lies in the piece's
    // stratum, and an arc's middle is found from its ends.
    const int arcIndex = walk.ArcIndexAt(f);
    const CDPoint probe = arcIndex < 0 ? walk.GetMid(f)
                                       : ArcMiddle(*walk.GetArcFromPointIndex(f),
                                                   walkEnds[static_cast<std::size_t>(arcIndex)]);
    const CDPoly* holder = table != nullptr ? strata->FindPolygon(&probe, table->outlines_)
                                            : strata->FindPolygon(&probe);
    if (holder == nullptr) {
      if (current != nullptr) {
        current->AddNewPoint(vertex, nullptr, type);
        finish();
      }
      continue;
    }
    // A piece that ends with an arc on the ground line is closed there (at the end the surface
    // reaches, which is the arc's start for an arc walked clockwise).
    if (noStretch && current != nullptr && f > 0) {
      const int previous = walk.ArcIndexAt(f - 1);
      const ArcEnds* ends = previous >= 0 ? &walkEnds[static_cast<std::size_t>(previous)] : nullptr;
      if (ends != nullptr &&
          IsOnGroundLine(*ground,
                         RunsForward(*walk.GetAt(f - 1), *ends) ? ends->end : ends->start)) {
        current->AddNewPoint(vertex, nullptr, type);
        finish();
        openPiece();
      }
    }
    if (current == nullptr) openPiece();
    const CDArc* arc = walk.GetArcFromPointIndex(f);
    if (arc == nullptr) {
      current->AddNewPoint(vertex, nullptr, type);
      continue;
    }
    CDArc* last = current->GetSize() > 0 ? current->EditArc(current->GetSize() - 1) : nullptr;
    const bool continuesLast = last != nullptr && arc->centre == last->centre &&
                               arc->R == last->R &&
                               std::fabs(arc->start - last->end) < kAngleTolerance;
    if (continuesLast) {
      last->end = arc->end;
    } else {
      current->AddNewPoint(vertex, *arc, type);
    }
  }
  if (current != nullptr) {
    const int lastVertex = current->GetSize() - 1;
    const CDArc* arc = current->GetArcFromPointIndex(lastVertex);
    const CDPoint end = arc == nullptr
                            ? *lifted.GetLastPt()
                            : (current->RunsForward(lastVertex) ? arc->GetEnd() : arc->GetStart());
    current->AddNewPoint(end, nullptr, walk.LastStrengthType());
    finish();
  }
  return fitting.GetSize();
}

CSpSlideWork& CSpSlideFitting::GetAt(int k) {
  if (k < 0 || k >= count_) throw std::out_of_range("CSpSlideFitting: piece index");
  return *pieces_[static_cast<std::size_t>(k)];
}

void CSpSlideFitting::Reserve(std::size_t crossings) {
  // The crossings cut the circle's one arc into as many pieces and one more, each starting at a
  // vertex of the walk, which ends at one more.
  walk_.Reserve(crossings + 2);
  walkEnds_.reserve(crossings + 1);
  cuts_.Reserve(crossings);
  pieces_.reserve(crossings + 1);
}

CSpSlideWork& CSpSlideFitting::OpenPiece() {
  const auto k = static_cast<std::size_t>(count_++);
  if (k == pieces_.size()) pieces_.push_back(std::make_unique<CSpSlideWork>());
  pieces_[k]->Clear();
  return *pieces_[k];
}

// ---- Stretching the ends ----

void CSpSlideWork::Strech(const CSpGround* ground, int a, int b, double c, double d, int e, int f) {
  CDPolyArray* strata = ground != nullptr ? ground->GetPolyArray() : nullptr;
  if (strata == nullptr || GetSize() < 2) return;
  const CSpSlide::StretchParam stretch = CSpSlide::GetStretchParam();
  const auto stored = [](double value, double setting) {
    return value == kTakeStored ? setting : value;
  };
  const EndStretch tail{a == kTakeStored ? stretch.typeTail : a,
                        stored(c, DegToRad(stretch.angleTail)),
                        e == kTakeStored ? stretch.strengthTail : e};
  const EndStretch head{b == kTakeStored ? stretch.typeHead : b,
                        stored(d, DegToRad(stretch.angleHead)),
                        f == kTakeStored ? stretch.strengthHead : f};
  // The tail is the lower end: the first vertex of a surface that rises to the right.
  const bool rising = IsRightUpper();
  StretchEnd(*ground, *strata, rising ? tail : head, true);
  StretchEnd(*ground, *strata, rising ? head : tail, false);
}

void CSpSlideWork::StretchEnd(const CSpGround& ground, CDPolyArray& strata,
                              const EndStretch& setting, bool atStart) {
  if (setting.mode < 0) return;
  const CDPoint end = atStart ? *GetFirstPt() : *GetLastPt();
  double dist = kAreaNotSet;
  int segment = -1;
  ground.GetOnlineNear(&end, dist, segment);
  if (dist < kOnGround) return;

  const int piece = atStart ? 0 : GetSize() - 2;
  int mode = setting.mode;
  // An arc walked clockwise has no continuation towards the horizontal: it goes on straight.
  if (mode == 0 && (GetArcFromPointIndex(piece) == nullptr || !RunsForward(piece))) mode = 1;
  double direction = 0;
  switch (mode) {
    case 0: {
      const std::optional<double> up = ContinueArcEnd(strata, atStart);
      if (!up) return;
      direction = *up;
      break;
    }
    case 1:
      direction = atStart ? GetStartAngle() : GetEndAngle();
      break;
    case 2:
      direction = atStart ? kPi - setting.angle : setting.angle;
      break;
    case 3:
      direction = atStart ? GetStartAngle() - setting.angle : GetEndAngle() + setting.angle;
      break;
    default:
      return;
  }
  const CDPoint from = atStart ? *GetFirstPt() : *GetLastPt();
  const CDPoint to = PointAtAngle(from, direction, kRayLength);
  CDPoint out;
  if (strata.FirstInOutPoint(&from, &to, &out) != 2) return;
  const int adjacent = StrengthTypeOrZero(atStart ? 0 : GetSize() - 2);
  const int type = setting.strength == -1 ? adjacent : setting.strength;
  if (atStart) {
    InsertNewPoint(out, type);
  } else {
    SetStrengthType(GetSize() - 1, type);
    AddNewPoint(out, nullptr, type);
  }
}

std::optional<double> CSpSlideWork::ContinueArcEnd(CDPolyArray& strata, bool atStart) {
  const CDPoint end = atStart ? *GetFirstPt() : *GetLastPt();
  if (strata.IsPolyInside(&end)) AddArcContinuation(strata, atStart);
  constexpr double kUp = kPi / 2;
  if (atStart) {
    CDArc& arc = *EditArc(0);
    const double start = NormalizeAngle(arc.start);
    if (!(start < kPi || std::fabs(start - kPi) < kAngleTolerance)) return std::nullopt;
    arc.start = kPi;
    const CDPoint moved = arc.GetStart();
    GetFirstPt()->x = moved.x;
    GetFirstPt()->y = moved.y;
    return kUp;
  }
  CDArc& arc = *EditArc(GetSize() - 2);
  const double angle = NormalizeAngle(arc.end);
  if (!(angle < kPi || std::fabs(angle - kTwoPi) < kAngleTolerance || angle < kAngleTolerance)) {
    return std::nullopt;
  }
  arc.end = 0;
  const CDPoint moved = arc.GetEnd();
  *GetLastPt() = CDPoint(moved.x, moved.y, -1);
  return kUp;
}

void CSpSlideWork::AddArcContinuation(CDPolyArray& strata, bool atStart) {
  const int piece = atStart ? 0 : GetSize() - 2;
  const CDArc& arc = *GetArcFromPointIndex(piece);
  const int type = StrengthTypeOrZero(piece);
  if (atStart) {
    // Backwards from the start towards the leftmost point of the circle.
    const double start = NormalizeAngle(arc.start);
    if (start <= kPi) return;
    const CDArc reach(arc.centre, arc.R, kPi, start);
    CDPoint out;
    if (!strata.GetCrossPoint(&reach, &out, false)) return;
    auto added = std::make_unique<CDArc>(arc.centre, arc.R,
                                         NormalizeAngle(MyAtan(&arc.centre, &out)), start);
    if (!IsUsableContinuation(*added)) return;
    const CDPoint at = added->GetStart();
    InsertNewPoint(at, type);
    GetFirstPt()->flag = static_cast<int>(arcs_.size());
    arcs_.push_back(std::move(added));
    return;
  }
  // Onwards from the end towards the rightmost point of the circle.
  const double end = NormalizeAngle(arc.end);
  if (end <= kPi || end >= kTwoPi) return;
  const CDArc reach(arc.centre, arc.R, end, kTwoPi);
  CDPoint out;
  if (!strata.GetCrossPoint(&reach, &out, true)) return;
  auto added =
      std::make_unique<CDArc>(arc.centre, arc.R, end, NormalizeAngle(MyAtan(&arc.centre, &out)));
  if (!IsUsableContinuation(*added)) return;
  const CDPoint at = added->GetEnd();
  const int oldLast = GetSize() - 1;
  GetAt(oldLast)->flag = static_cast<int>(arcs_.size());
  arcs_.push_back(std::move(added));
  SetStrengthType(oldLast, type);
  AddNewPoint(at, nullptr, type);
}

bool CSpSlideWork::IsUsableContinuation(const CDArc& arc) {
  if (arc.GetLength() <= kAngleTolerance) return false;
  return !(NormalizeAngle(arc.start) < kPi && NormalizeAngle(arc.end) < kPi);
}

// ---- Closing overhanging arcs ----

namespace {

// Where the vertical up from the foot first leaves the strata, through any stratum boundaries
// on the way; none when it does not start inside them.
std::optional<CDPoint> StrataAbove(CDPolyArray& strata, const CDPoint& foot) {
  const CDPoint top(foot.x, foot.y + kRayLength);
  CDPoint out = top;
  if (strata.FirstInOutPoint(&foot, &top, &out) != 2) return std::nullopt;
  if (top.y - out.y < kSamePoint || out.y - foot.y < kSamePoint) return std::nullopt;
  return out;
}

}  // namespace

void CSpSlideWork::DisposeOverArc(CDPolyArray* strata) {
  if (strata == nullptr || GetSize() < 2) return;
  if (const CDArc* first = GetArcFromPointIndex(0);
      first != nullptr && std::fabs(NormalizeAngle(first->start) - kPi) < kAngleTolerance) {
    if (const auto top = StrataAbove(*strata, first->GetStart())) {
      InsertNewPoint(*top, StrengthTypeOrZero(0));
    }
  }
  const CDArc* last = GetArcFromPointIndex(GetSize() - 2);
  if (last == nullptr) return;
  const double end = NormalizeAngle(last->end);
  if (end < kAngleTolerance || std::fabs(end - kTwoPi) < kAngleTolerance) {
    if (const auto top = StrataAbove(*strata, last->GetEnd())) {
      AddNewPoint(*top, nullptr, LastStrengthType());
    }
  }
}

// ---- Cutting at x ----

int CSpSlideWork::CutAtX(double x, CDPolyArray* array) const {
  const int n = GetSize();
  if (n == 0) return -1;
  auto left = std::make_unique<CSpSlideWork>();
  left->SetName(GetName());
  std::unique_ptr<CSpSlideWork> right;
  CSpSlideWork* target = left.get();
  const CDPoint bottom(x, -1e4);
  const CDPoint top(x, 1e4);
  for (int i = 0; i + 1 < n; ++i) {
    const CDPoint& vertex = *GetAt(i);
    const int type = StrengthTypeOrZero(i);
    const CDArc* arc = GetArcFromPointIndex(i);
    if (right) {
      target->AddNewPoint(vertex, arc != nullptr ? arc->Copy() : nullptr, type);
      continue;
    }
    const auto startRight = [&](const CDPoint& at, std::unique_ptr<CDArc> rest) {
      right = std::make_unique<CSpSlideWork>();
      right->SetName(GetName());
      left->AddNewPoint(at, nullptr, 0);
      right->AddNewPoint(at, std::move(rest), type);
      target = right.get();
    };
    if (vertex.x == x && i > 0) {
      startRight(vertex, arc != nullptr ? arc->Copy() : nullptr);
      continue;
    }
    if (arc != nullptr) {
      if (const auto cross = InnerCrossing(*arc, bottom, top)) {
        auto [before, after] =
            SplitArc(*arc, NormalizeAngle(MyAtan(&arc->centre, &*cross)), RunsForward(i));
        left->AddNewPoint(vertex, std::move(before), type);
        startRight(*cross, std::move(after));
        continue;
      }
      left->AddNewPoint(vertex, arc->Copy(), type);
      continue;
    }
    CDPoint cross;
    left->AddNewPoint(vertex, nullptr, type);
    if (CrossLL(0, &bottom, &top, &vertex, GetAt(i + 1), &cross) == kOnBoth) {
      startRight(cross, nullptr);
    }
  }
  target->AddNewPoint(*GetAt(n - 1), nullptr, 0);
  array->Add(std::move(left));
  if (right) array->Add(std::move(right));
  return array->GetSize();
}

// ---- Joining a tension crack ----

bool CSpSlideWork::MixCrackline(const CDPoint& p, const CDPoint& q, int type) {
  crackIndex_ = -1;
  LeftToRight();
  const bool rising = IsRightUpper();
  if (rising ? q.x > p.x : q.x < p.x) return false;

  const CDPoint reach = StretchPrimitive(&p, &q, 0.001);
  int crossed = -1;
  CDPoint cross;
  for (int i = 0; i + 1 < GetSize() && crossed < 0; ++i) {
    if (const CDArc* arc = GetArcFromPointIndex(i)) {
      CDPoint second;
      if (arc->CrossAL(p, reach, cross, second, 0) >= 1) crossed = i;
    } else if (CrossLL(1e-6, &p, &reach, GetAt(i), GetAt(i + 1), &cross) == kOnBoth) {
      crossed = i;
    }
  }
  if (crossed < 0) return false;

  CSpSlideWork joined;
  joined.SetName(GetName());
  const CDArc* arc = GetArcFromPointIndex(crossed);
  const int crossedType = StrengthTypeOrZero(crossed);
  const auto copyVertex = [&](int i) {
    const CDArc* a = GetArcFromPointIndex(i);
    joined.AddNewPoint(*GetAt(i), a != nullptr ? a->Copy() : nullptr, StrengthTypeOrZero(i));
  };
  std::unique_ptr<CDArc> before;
  std::unique_ptr<CDArc> after;
  if (arc != nullptr) {
    std::tie(before, after) =
        SplitArc(*arc, NormalizeAngle(MyAtan(&arc->centre, &cross)), RunsForward(crossed));
  }
  if (rising) {
    for (int i = 0; i < crossed; ++i) copyVertex(i);
    joined.AddNewPoint(*GetAt(crossed), std::move(before), crossedType);
    joined.AddNewPoint(cross, nullptr, type);
    joined.AddNewPoint(p, nullptr, type);
  } else {
    joined.AddNewPoint(p, nullptr, type);
    joined.AddNewPoint(cross, std::move(after), crossedType);
    for (int i = crossed + 1; i < GetSize(); ++i) copyVertex(i);
  }
  CopySlideWork(&joined);
  crackIndex_ = rising ? GetSize() - 1 : 0;
  return true;
}

// ---- Back to an entered line ----

template <class MidStrength>
void CSpSlideWork::SlipLineVertices(int type, std::vector<SlipLineVertex>& vertices,
                                    MidStrength midStrength) const {
  vertices.clear();
  const auto typeAtVertex = [this, type](const CDPoint& p) {
    if (type != -1) return type;
    return StrengthTypeOrZero(FindJustPoint(&p));
  };
  // The type as the line's strength word keeps it.
  const auto add = [&vertices](const CDPoint& p, int style, int typeOfVertex) {
    const int kept = slide_strength::Type(slide_strength::WithType(0u, typeOfVertex));
    vertices.push_back({p, style, kept});
  };
  for (int i = 0; i < GetSize(); ++i) {
    const CDPoint vertex(GetAt(i)->x, GetAt(i)->y);
    const CDArc* arc = GetArcFromPointIndex(i);
    if (arc == nullptr) {
      add(vertex, 0, typeAtVertex(vertex));
      continue;
    }
    add(vertex, 1, typeAtVertex(vertex));
    const CDPoint mid = arc->GetMid(0.5);
    const int midType = type == -1 ? midStrength((mid.x + GetAt(i + 1)->x) / 2) : type;
    add(CDPoint(mid.x, mid.y), 0, midType);
  }
}

void CSpSlideWork::GetSlipLineVertices(int type, std::vector<SlipLineVertex>& vertices) const {
  SlipLineVertices(type, vertices, [this](double x) {
    const Vertical at = GetVertical(x);
    return GetStrengthOfPosition(at, x, at.y, nullptr);
  });
}

void CSpSlideWork::GetSlipLineVertices(std::vector<SlipLineVertex>& vertices,
                                       const VerticalTable& verticals) const {
  SlipLineVertices(-1, vertices, [&verticals](double x) {
    const Vertical at = verticals.At(x);
    // Without a line to ask, as with none: a line of no vertices has no three-point type.
    return verticals.StrengthOfPosition(at, x, at.y, {});
  });
}

std::unique_ptr<CSpSlide> CSpSlideWork::TransSpSlide(int type) const {
  auto line = std::make_unique<CSpSlide>();
  std::vector<SlipLineVertex> vertices;
  GetSlipLineVertices(type, vertices);
  for (const SlipLineVertex& v : vertices) line->AddNewPoint(v.point, v.style, v.type);
  if (const CDArc* first = GetFirstArc()) line->SetOR(first->centre.x, first->centre.y, first->R);
  return line;
}
