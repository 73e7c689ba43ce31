// CSpSlideWork: queries and crossings of the working slide surface.

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>
#include <limits>
#include <numbers>
#include <optional>
#include <span>
#include <stdexcept>
#include <vector>

#include "core/base/Constants.h"
#include "core/geometry/DPolyArray.h"
#include "core/geometry/ViewInfo.h"
#include "core/section/SpSlide.h"
#include "core/section/SpSlideWork.h"
#include "platform/Canvas.h"

namespace {

constexpr double kPi = std::numbers::pi;
constexpr int kOnBoth = 3;  // CrossLL: the crossing lies on both segments
constexpr double kTestLineReach = CDArc::kVerticalReach;  // the vertical test line's half length
constexpr double kRayLength = 1000.0;      // the segment that stands for a ray at an angle
constexpr double kCrossXTolerance = 1e-5;  // as the polyline's own GetCrossX

CDPoint TestLineBottom(double x) { return CDPoint(x, -kTestLineReach); }
CDPoint TestLineTop(double x) { return CDPoint(x, kTestLineReach); }

CDPoint PointAtAngle(const CDPoint* p, double angle, double length) {
  return CDPoint(p->x + length * std::cos(angle), p->y + length * std::sin(angle));
}

CDPoint Midpoint(const CDPoint& a, const CDPoint& b) { return (a + b) / 2.0; }

using ArcHits = CSpSlideWork::Crossings;

// The crossings of the arc with a segment that lie on both, in order along the segment.
ArcHits ArcCrossings(const CDArc& arc, const CDPoint& a, const CDPoint& b, double tol) {
  ArcHits hits;
  const int count = arc.CrossAL(CDArc::Edge(a, b), hits.points[0], hits.points[1], tol);
  hits.count = count == 1 || count == 2 ? count : 0;
  return hits;
}

// The boxes of the segments a-b and c-d lie apart by more than reach.
bool BoxesApart(const CDPoint& a, const CDPoint& b, const CDPoint& c, const CDPoint& d,
                double reach) {
  return std::max(a.x, b.x) < std::min(c.x, d.x) - reach ||
         std::min(a.x, b.x) > std::max(c.x, d.x) + reach ||
         std::max(a.y, b.y) < std::min(c.y, d.y) - reach ||
         std::min(a.y, b.y) > std::max(c.y, d.y) + reach;
}

// The crossings of the arc with the vertical test line at x, as ArcCrossings finds them.
ArcHits VerticalCrossings(const CDArc& arc, double x, const CDArc::EndXs* ends = nullptr) {
  ArcHits hits;
  const int count = arc.CrossVertical(x, hits.points[0], hits.points[1], ends);
  hits.count = count == 1 || count == 2 ? count : 0;
  return hits;
}

// Whether a candidate replaces the best point so far as the extreme of the way (0 left, 1 right,
// 2 bottom, 3 top).
bool Beats(int which, const CDPoint& candidate, const CDPoint& best) {
  switch (which) {
    case 0:
      return candidate.x < best.x;
    case 1:
      return candidate.x > best.x;
    case 2:
      return candidate.y < best.y;
    default:
      return candidate.y > best.y;
  }
}

// Whether the arc widens the extreme of the way: an arc whose centre holds no value widens
// neither the left nor the right one.
bool Widens(const CDArc& arc, int which) { return which >= 2 || arc.centre.IsValid(); }

// Widens an extreme vertex of the way by the extreme points of the arcs.
CDPoint Widen(CDPoint result, const std::vector<std::unique_ptr<CDArc>>& arcs, int which) {
  for (const auto& arc : arcs) {
    if (!Widens(*arc, which)) continue;
    CDArc normalised(*arc);
    const CDPoint candidate = normalised.GetMinMax(which);
    if (Beats(which, candidate, result)) result = CDPoint(candidate.x, candidate.y);
  }
  return result;
}

}  // namespace

// ---- Extremes ----

CDPoint CSpSlideWork::Left() const { return Widen(CDPoly::Left(), arcs_, 0); }

CDPoint CSpSlideWork::Right() const { return Widen(CDPoly::Right(), arcs_, 1); }

CDPoint CSpSlideWork::Bottom() const { return Widen(CDPoly::Bottom(), arcs_, 2); }

CDPoint CSpSlideWork::Top() const { return Widen(CDPoly::Top(), arcs_, 3); }

CSpSlideWork::Extremes CSpSlideWork::GetExtremes(std::span<const CDArc::EndPoints> ends) const {
  std::array<CDPoint, 4> result{CDPoly::Left(), CDPoly::Right(), CDPoly::Bottom(), CDPoly::Top()};
  for (std::size_t i = 0; i < arcs_.size(); ++i) {
    const CDArc& arc = *arcs_[i];
    CDArc normalised(arc);
    const std::array<CDPoint, 4> candidates =
        normalised.GetExtremes(ends.empty() ? nullptr : &ends[i]);
    for (int which = 0; which < 4; ++which) {
      const auto w = static_cast<std::size_t>(which);
      if (Widens(arc, which) && Beats(which, candidates[w], result[w])) {
        result[w] = CDPoint(candidates[w].x, candidates[w].y);
      }
    }
  }
  return {result[0], result[1], result[2], result[3]};
}

// ---- Heights and pieces along a vertical ----

double CSpSlideWork::GetY(double x) const { return GetVertical(x).y; }

void CSpSlideWork::GetArcEnds(std::vector<ArcEnds>& ends) const {
  ends.clear();
  for (const auto& arc : arcs_) ends.push_back(ArcEnds{arc->GetStart(), arc->GetEnd()});
}

// Here, where the vertical queries read it for every piece, so that they inline it.
int CSpSlideWork::ArcIndexOf(const CDPoint& vertex) const {
  const int flag = vertex.flag;
  if (flag >= GetArcCount()) throw std::out_of_range("CSpSlideWork: a vertex names no arc");
  return flag < 0 ? -1 : flag;
}

namespace {

// What the vertical at x meets, gathered piece by piece in the surface's order: the lowest height,
// the first arc piece it crosses and the first piece it meets.
class VerticalWalk {
 public:
  explicit VerticalWalk(double x) : x_(x) {}

  void StraightPiece(int i, const CDPoint& a, const CDPoint& b) {
    const CDPoint bottom = TestLineBottom(x_);
    const CDPoint top = TestLineTop(x_);
    CDPoint cross;
    const bool crosses = CrossLL(0, &bottom, &top, &a, &b, &cross) == kOnBoth;
    if (crosses) Consider(cross.y);
    if (a.x == x_) Consider(a.y);
    if (b.x == x_) Consider(b.y);
    if (crosses || a.x == x_) Meets(i);
  }

  // crossing: the arc's lowest point over x (CDArc::LowestYAt), kNoValue when none.
  void ArcPiece(int i, const CDArc& arc, const CDArc::EndPoints& ends, double crossing) {
    bool meets = false;
    if (crossing != kNoValue) Consider(crossing);
    // A vertical through an end of the arc may miss it by a rounding error.
    for (const CDPoint* end : {&ends.start, &ends.end}) {
      if (std::fabs(end->x - x_) < kSamePoint) {
        Consider(end->y);
        meets = true;
      }
    }
    if (crossing != kNoValue) {
      meets = true;
      if (at_.arc == nullptr) at_.arc = &arc;
    }
    if (meets) Meets(i);
  }

  // The result over a surface of n vertices, the last at lastX.
  CSpSlideWork::Vertical Finish(int n, double lastX) {
    // The last vertex starts no piece, yet the vertical through it meets it.
    if (at_.piece < 0 && n > 0 && lastX == x_) at_.piece = n - 1;
    at_.y = lowest_ == kAreaNotSet ? kNoValue : lowest_;
    return at_;
  }

 private:
  void Consider(double y) { lowest_ = std::min(lowest_, y); }
  void Meets(int i) {
    if (at_.piece < 0) at_.piece = i;
  }

  double x_;
  CSpSlideWork::Vertical at_;
  double lowest_ = kAreaNotSet;
};

bool IsFinite(const CDPoint& p) { return std::isfinite(p.x) && std::isfinite(p.y); }

// Beyond this distance in x from a piece's box no vertical meets the piece: the same-point rule
// reaches kSamePoint, the crossing tests' roundings a relative 1e-12 at most.
double ReachMargin(double scale) { return 2 * kSamePoint + 1e-9 * (1 + scale); }

}  // namespace

CSpSlideWork::Vertical CSpSlideWork::GetVertical(double x, std::span<const ArcEnds> ends) const {
  VerticalWalk walk(x);
  const PointList& points = Points();
  const int n = GetSize();
  for (int i = 0; i + 1 < n; ++i) {
    const CDPoint& a = *points[static_cast<std::size_t>(i)];
    if (const int arcIndex = ArcIndexOf(a); arcIndex >= 0) {
      const CDArc& arc = *arcs_[static_cast<std::size_t>(arcIndex)];
      std::optional<ArcEnds> found;
      const ArcEnds& arcEnds = EndsOfArc(arc, arcIndex, ends, found);
      const CDArc::EndXs endXs{arcEnds.start.x, arcEnds.end.x};
      // Only the lowest crossing can lower the height.
      walk.ArcPiece(i, arc, arcEnds, arc.LowestYAt(x, &endXs));
    } else {
      walk.StraightPiece(i, a, *points[static_cast<std::size_t>(i) + 1]);
    }
  }
  return walk.Finish(n, n > 0 ? GetAt(n - 1)->x : 0);
}

void CSpSlideWork::VerticalTable::Take(const CSpSlideWork& surface, std::span<const ArcEnds> ends) {
  surface_ = &surface;
  pieces_.clear();
  verticalPieces_.clear();
  vertexCount_ = surface.GetSize();
  lastX_ = vertexCount_ > 0 ? surface.GetAt(vertexCount_ - 1)->x : 0;
  // A surface without a piece is left to GetVertical.
  general_ = vertexCount_ < 2;
  for (int i = 0; i < vertexCount_; ++i) general_ = general_ || !IsFinite(*surface.GetAt(i));
  for (int i = 0; i + 1 < vertexCount_ && !general_; ++i) {
    general_ = !TakePiece(surface, i, ends);
  }
  clearRuns_.clear();
  for (std::size_t i = 0; i < pieces_.size() && !general_; ++i) {
    const CDArc::XRange range = ClearRange(i);
    if (range.left <= range.right) {
      const Piece& piece = pieces_[i];
      clearRuns_.push_back(ClearRun{range, piece.arc, piece.index, piece.column.terms});
    }
  }
}

CDArc::XRange CSpSlideWork::VerticalTable::ClearRange(std::size_t i) const {
  const Piece& piece = pieces_[i];
  if (piece.arc == nullptr) return CDArc::XRange{};
  CDArc::XRange range = piece.arc->ClearLowerRange(piece.column);
  const auto keepWithin = [&range](double left, double right) {
    range.left = std::max(range.left, left);
    range.right = std::min(range.right, right);
  };
  keepWithin(piece.left, piece.right);
  // The walk takes an end's height where x lies within the same-point distance of that end's x:
  // twice that distance inside the ends, the rounded distance of the bound already reaches it,
  // and that of every x beyond the bound (each rounding is monotonic).
  const double startX = piece.ends.start.x;
  const double endX = piece.ends.end.x;
  const double afterStart = startX + 2 * kSamePoint;
  const double beforeEnd = endX - 2 * kSamePoint;
  if (!(afterStart - startX >= kSamePoint && endX - beforeEnd >= kSamePoint))
    return CDArc::XRange{};
  keepWithin(afterStart, beforeEnd);
  // Every other piece's reach stays outside; one that reaches into the middle leaves no run.
  constexpr double kInfinity = std::numeric_limits<double>::infinity();
  for (std::size_t j = 0; j < pieces_.size(); ++j) {
    const Piece& other = pieces_[j];
    if (j == i || other.right < range.left || other.left > range.right) continue;
    if (other.left <= range.left) {
      range.left = std::nextafter(other.right, kInfinity);
    } else if (other.right >= range.right) {
      range.right = std::nextafter(other.left, -kInfinity);
    } else {
      return CDArc::XRange{};
    }
  }
  return range;
}

bool CSpSlideWork::VerticalTable::TakePiece(const CSpSlideWork& surface, int i,
                                            std::span<const ArcEnds> ends) {
  const CDPoint& a = *surface.GetAt(i);
  if (a.flag >= surface.GetArcCount()) return false;
  Piece piece;
  piece.index = i;
  piece.strength = surface.StrengthTypeOrZero(i);
  if (a.flag < 0) {
    const CDPoint& b = *surface.GetAt(i + 1);
    const double margin =
        ReachMargin(std::fabs(a.x) + std::fabs(a.y) + std::fabs(b.x) + std::fabs(b.y));
    piece.left = std::min(a.x, b.x) - margin;
    piece.right = std::max(a.x, b.x) + margin;
    piece.from = a;
    piece.to = b;
    if (a.x == b.x && a.y != b.y) verticalPieces_.push_back({a.y, b.y, piece.strength});
  } else {
    const CDArc& arc = *surface.arcs_[static_cast<std::size_t>(a.flag)];
    std::optional<ArcEnds> found;
    piece.ends = surface.EndsOfArc(arc, a.flag, ends, found);
    if (!std::isfinite(arc.R) || !IsFinite(arc.centre) || !IsFinite(piece.ends.start) ||
        !IsFinite(piece.ends.end)) {
      return false;
    }
    const double margin = ReachMargin(arc.R + std::fabs(arc.centre.x));
    piece.left = std::min({arc.centre.x - arc.R, piece.ends.start.x, piece.ends.end.x}) - margin;
    piece.right = std::max({arc.centre.x + arc.R, piece.ends.start.x, piece.ends.end.x}) + margin;
    piece.arc = &arc;
    piece.column = arc.Column(CDArc::EndXs{piece.ends.start.x, piece.ends.end.x});
  }
  pieces_.push_back(piece);
  return true;
}

const CDArc::VerticalColumn* CSpSlideWork::VerticalTable::ColumnOf(int i) const {
  // Unless Take left every x to GetVertical, it took every piece, in the surface's order.
  if (general_) return nullptr;
  const Piece& piece = pieces_[static_cast<std::size_t>(i)];
  return piece.arc != nullptr ? &piece.column : nullptr;
}

CSpSlideWork::Vertical CSpSlideWork::VerticalTable::Find(double x, bool heightOnly) const {
  if (general_ || !std::isfinite(x)) return surface_->GetVertical(x);
  return Walk(x, heightOnly);
}

namespace {

// Whether the walk at a finite x takes the height of an end of the arc that lies below the lower
// crossing of the vertical with the circle: then neither crossing (the upper lies higher still)
// can lower the height the walk finds, whether the sweep holds it or not, nor change which of
// the values it keeps (a crossing that counts comes before the ends).
bool EndBelowCrossings(const CDArc& arc, const CDArc::EndPoints& ends,
                       const CDArc::VerticalTerms& terms, double x) {
  const bool atStart = std::fabs(ends.start.x - x) < kSamePoint;
  const bool atEnd = std::fabs(ends.end.x - x) < kSamePoint;
  if (!atStart && !atEnd) return false;
  const double lower = arc.LowerCrossingYAt(x, terms);
  if (lower == kNoValue) return false;
  return (atStart && lower > ends.start.y) || (atEnd && lower > ends.end.y);
}

}  // namespace

CSpSlideWork::Vertical CSpSlideWork::VerticalTable::Walk(double x, bool heightOnly) const {
  VerticalWalk walk(x);
  for (const Piece& piece : pieces_) {
    if (!(piece.left <= x && x <= piece.right)) continue;
    if (piece.arc != nullptr) {
      const CDArc& arc = *piece.arc;
      // Spared, the crossing leaves the arc met only by its end: the first arc met may change,
      // the height does not.
      const bool spared = heightOnly && EndBelowCrossings(arc, piece.ends, piece.column.terms, x);
      walk.ArcPiece(piece.index, arc, piece.ends,
                    spared ? kNoValue : arc.LowestYAt(x, piece.column));
    } else {
      walk.StraightPiece(piece.index, piece.from, piece.to);
    }
  }
  return walk.Finish(vertexCount_, lastX_);
}

std::unique_ptr<CDArc> CSpSlideWork::GetSlideBottom(double x1, double x2, double& y1,
                                                    double& y2) const {
  y1 = GetY(x1);
  y2 = GetY(x2);
  const int piece = GetPointIndex((x1 + x2) / 2);
  const CDArc* arc = piece < 0 ? nullptr : GetArcFromPointIndex(piece);
  return arc == nullptr ? nullptr : arc->TrimCopy(x1, x2);
}

bool CSpSlideWork::VerticalPieceHolds(int i, double y) const {
  const CDPoint& a = *GetAt(i);
  const CDPoint& b = *GetAt(i + 1);
  const bool vertical = GetArcFromPointIndex(i) == nullptr && a.x == b.x && a.y != b.y;
  return vertical && IsBetween(a.y, b.y, y);
}

template <class ThreePoint>
int CSpSlideWork::StrengthOfPosition(const Vertical& at, double x, double y,
                                     ThreePoint threePoint) const {
  for (int i = 0; i + 1 < GetSize(); ++i) {
    if (VerticalPieceHolds(i, y)) return StrengthTypeOrZero(i);
  }
  const int vertex = at.piece;
  if (vertex < 0) return 0;
  // The last vertex starts no piece: the piece that ends there is meant.
  const int piece = PieceAt(vertex);
  return StrengthOfMetPiece(GetArcFromPointIndex(piece) != nullptr, x, threePoint,
                            StrengthTypeOrZero(piece));
}

int CSpSlideWork::GetStrengthOfPosition(const Vertical& at, double x, double y,
                                        const CSpSlide* slideLine) const {
  return StrengthOfPosition(at, x, y, [slideLine](double arcX, int& out) {
    return slideLine != nullptr ? slideLine->Get3PStrength(arcX, out) : 0;
  });
}

int CSpSlideWork::GetStrengthOfPosition(const Vertical& at, double x, double y,
                                        std::span<const SlipLineVertex> slipLine) const {
  return StrengthOfPosition(at, x, y, [slipLine](double arcX, int& out) {
    return SlipLineStrength(slipLine, arcX, out);
  });
}

// ---- Angles and length ----

double CSpSlideWork::TravelAngleAtStart(int i) const {
  if (const CDArc* arc = GetArcFromPointIndex(i)) {
    return RunsForward(i) ? NormalizeAngle(arc->start + kPi / 2)
                          : NormalizeAngle(arc->end - kPi / 2);
  }
  return NormalizeAngle(MyAtan(GetAt(i), GetAt(i + 1)));
}

double CSpSlideWork::TravelAngleAtEnd(int i) const {
  if (const CDArc* arc = GetArcFromPointIndex(i)) {
    return RunsForward(i) ? NormalizeAngle(arc->end + kPi / 2)
                          : NormalizeAngle(arc->start - kPi / 2);
  }
  return NormalizeAngle(MyAtan(GetAt(i), GetAt(i + 1)));
}

double CSpSlideWork::GetStartAngle() const {
  if (GetSize() < 2) return kNoValue;
  return TravelAngleAtStart(0) + kPi;
}

double CSpSlideWork::GetEndAngle() const {
  if (GetSize() < 2) return kNoValue;
  return TravelAngleAtEnd(GetSize() - 2);
}

double CSpSlideWork::GetBottomAngle(double x) const {
  const int vertex = GetPointIndex(x);
  if (vertex < 0 || GetSize() < 2) return kNoValue;
  const int piece = PieceAt(vertex);
  const CDArc* arc = GetArcFromPointIndex(piece);
  if (arc == nullptr) return MyAtan(GetAt(piece), GetAt(piece + 1));
  const ArcHits crossings = VerticalCrossings(*arc, x);
  CDPoint at;
  if (crossings.empty()) {
    // Met only by an end of the arc: the tangent at that end.
    const CDPoint s = arc->GetStart();
    const CDPoint e = arc->GetEnd();
    at = std::fabs(s.x - x) <= std::fabs(e.x - x) ? s : e;
  } else {
    at = *std::min_element(crossings.begin(), crossings.end(),
                           [](const CDPoint& a, const CDPoint& b) { return a.y < b.y; });
  }
  return MyAtan(&arc->centre, &at) + kPi / 2;
}

double CSpSlideWork::GetPointAngle(const CDPoint& point) const {
  if (GetSize() < 2) return kNoValue;
  for (int i = 0; i + 1 < GetSize(); ++i) {
    const CDPoint* a = GetAt(i);
    const CDPoint* b = GetAt(i + 1);
    if (const CDArc* arc = GetArcFromPointIndex(i)) {
      for (const CDPoint& c : VerticalCrossings(*arc, point.x)) {
        if (c == point) return MyAtan(&arc->centre, &c) + kPi / 2;
      }
      continue;
    }
    CDPoly segment;
    segment.Add(*a);
    segment.Add(*b);
    if (point == *a || segment.IsOnline(&point)) return MyAtan(a, b);
  }
  return kNoValue;
}

double CSpSlideWork::GetLength() const {
  double length = 0;
  for (int i = 0; i + 1 < GetSize(); ++i) {
    const CDArc* arc = GetArcFromPointIndex(i);
    length += arc != nullptr ? arc->GetLength() : Hypot(GetAt(i), GetAt(i + 1));
  }
  return length;
}

CDPoint CSpSlideWork::GetMid(int i) const {
  if (const CDArc* arc = GetArcFromPointIndex(i)) return arc->GetMid(0.5);
  return Midpoint(*GetAt(i), *GetAt(i + 1));
}

namespace {

// The point of segment a-b nearest to p, by the depth rule: the centre's height clamped to a
// vertical segment, the centre's x on a horizontal one when it lies over it, else the foot of
// the perpendicular when it falls inside the segment, else the segment's start.
CDPoint NearestForDepth(const CDPoint& a, const CDPoint& b, const CDPoint& p) {
  if (a.x == b.x) return CDPoint(a.x, std::clamp(p.y, std::min(a.y, b.y), std::max(a.y, b.y)));
  if (a.y == b.y && std::min(a.x, b.x) <= p.x && p.x <= std::max(a.x, b.x)) {
    return CDPoint(p.x, a.y);
  }
  CDPoint foot = a;
  return CrossLP(&a, &b, &p, &foot) == 1 ? foot : a;
}

}  // namespace

double CSpSlideWork::GetDepth(const CDPolyArray* shapes, bool within) const {
  const CDArc* arc = GetFirstArc();
  if (arc == nullptr || shapes == nullptr) return kNoValue;
  const double from = NormalizeAngle(arc->start);
  double to = NormalizeAngle(arc->end);
  if (to < from) to += 2 * kPi;
  const double left = Left().x;
  const double right = Right().x;
  double depth = kNoValue;
  for (int s = 0; s < shapes->GetSize(); ++s) {
    const CDPoly* shape = shapes->GetAt(s);
    for (int i = 0; i + 1 < shape->GetSize(); ++i) {
      const CDPoint& a = *shape->GetAt(i);
      const CDPoint& b = *shape->GetAt(i + 1);
      if (within && (std::max(a.x, b.x) < left - 1e-13 || std::min(a.x, b.x) > right + 1e-13)) {
        continue;
      }
      const CDPoint near = NearestForDepth(a, b, arc->centre);
      double direction = NormalizeAngle(MyAtan(&arc->centre, &near));
      if (direction < kPi / 2) direction += 2 * kPi;
      if (!(from < direction && direction < to)) continue;
      depth = std::max(depth, arc->R - Hypot(arc->centre, near));
    }
  }
  return depth;
}

// ---- Ends ----

bool CSpSlideWork::IsRightUpper() const { return IsRightUpper({}); }

bool CSpSlideWork::IsRightUpper(std::span<const ArcEnds> ends) const {
  const int n = GetSize();
  if (n < 2) return false;
  const bool lastIsRight = GetAt(n - 1)->x > GetAt(0)->x;
  const double first = EndHeight(0, ends);
  const double last = EndHeight(n - 1, ends);
  return lastIsRight ? last > first : first > last;
}

double CSpSlideWork::EndHeight(int vertex, std::span<const ArcEnds> ends) const {
  const int piece = PieceAt(vertex);
  const int arcIndex = ArcIndexAt(piece);
  if (arcIndex < 0) return GetAt(vertex)->y;
  std::optional<ArcEnds> found;
  const ArcEnds& arcEnds =
      EndsOfArc(*arcs_[static_cast<std::size_t>(arcIndex)], arcIndex, ends, found);
  // The end of the arc that lies at the vertex.
  const bool atStart = (piece == vertex) == RunsForward(*GetAt(piece), arcEnds);
  return atStart ? arcEnds.start.y : arcEnds.end.y;
}

const CSpSlideWork::ArcEnds& CSpSlideWork::EndsOfArc(const CDArc& arc, int arcIndex,
                                                     std::span<const ArcEnds> ends,
                                                     std::optional<ArcEnds>& found) const {
  if (ends.empty()) return found.emplace(ArcEnds{arc.GetStart(), arc.GetEnd()});
  return ends[static_cast<std::size_t>(arcIndex)];
}

// ---- Drawing ----

void CSpSlideWork::Draw(CViewInfo* view, int bold, int /*from*/, int /*to*/) const {
  Canvas& canvas = *view->dc;
  bool lineOpen = false;
  for (int i = 0; i < GetSize(); ++i) {
    const CDPoint& p = *GetAt(i);
    if (!p.IsValid()) {
      lineOpen = false;
      continue;
    }
    const DevPoint d = view->LPtoDP(p);
    if (lineOpen) {
      canvas.LineTo(d);
    } else {
      canvas.MoveTo(d);
    }
    lineOpen = true;
    if (const CDArc* arc = GetArcFromPointIndex(i)) {
      arc->Draw(*view, bold != 0);
      lineOpen = false;
    }
  }
}

// ---- Crossings ----

CSpSlideWork::Crossings CSpSlideWork::PieceCrossings(int i, const CDPoint& p1, const CDPoint& p2,
                                                     double arcTol, double lineTol) const {
  if (const CDArc* arc = GetArcFromPointIndex(i)) return ArcCrossings(*arc, p1, p2, arcTol);
  Crossings hits;
  if (CrossLL(lineTol, &p1, &p2, GetAt(i), GetAt(i + 1), &hits.points[0]) == kOnBoth) {
    hits.count = 1;
  }
  return hits;
}

int CSpSlideWork::GetCrossX(const CDPoint* p1, const CDPoint* p2, std::vector<double>& xs, int* pos,
                            const CDPoly* /*upper*/) const {
  int found = 0;
  for (int i = 0; i + 1 < GetSize(); ++i) {
    for (const CDPoint& c : PieceCrossings(i, *p1, *p2, 0, kCrossXTolerance)) {
      StoreCrossX(xs, pos, c.x);
      ++found;
    }
  }
  return found;
}

void CSpSlideWork::CrossingTable::Take(const CSpSlideWork& surface, std::span<const ArcEnds> ends,
                                       const VerticalTable& verticals) {
  surface_ = &surface;
  pieces_.clear();
  for (int i = 0; i + 1 < surface.GetSize(); ++i) {
    Piece piece{i, surface.GetArcFromPointIndex(i), {}, {}};
    if (piece.arc != nullptr) {
      piece.clearance = piece.arc->GetClearance();
      if (const CDArc::VerticalColumn* column = verticals.ColumnOf(i)) {
        piece.column = *column;
      } else {
        std::optional<ArcEnds> found;
        const ArcEnds& arcEnds =
            surface.EndsOfArc(*piece.arc, surface.ArcIndexOf(*surface.GetAt(i)), ends, found);
        piece.column = piece.arc->Column(CDArc::EndXs{arcEnds.start.x, arcEnds.end.x});
      }
    }
    pieces_.push_back(piece);
  }
}

void CSpSlideWork::CrossingTable::AppendCrossXs(const CDArc::Edge& edge, double reach,
                                                std::vector<double>& xs) const {
  for (const Piece& piece : pieces_) {
    if (piece.arc != nullptr) {
      if (piece.arc->ClearOfEdge(edge, reach, piece.clearance)) continue;
      CDPoint first;
      CDPoint second;
      const int count = piece.arc->CrossAL(edge, first, second, 0, piece.column);
      // -1: the line misses the circle.
      if (count == 1 || count == 2) xs.push_back(first.x);
      if (count == 2) xs.push_back(second.x);
      continue;
    }
    const int i = piece.index;
    if (BoxesApart(edge.a, edge.b, *surface_->GetAt(i), *surface_->GetAt(i + 1), reach)) continue;
    for (const CDPoint& c : surface_->PieceCrossings(i, edge.a, edge.b, 0, kCrossXTolerance)) {
      xs.push_back(c.x);
    }
  }
}

bool CSpSlideWork::GetCrossPoint(const CDPoint* p1, const CDPoint* p2, CDPoint* out,
                                 double tol) const {
  for (int i = 0; i + 1 < GetSize(); ++i) {
    const Crossings crossings = PieceCrossings(i, *p1, *p2, tol, tol);
    if (!crossings.empty()) {
      *out = crossings.points[0];
      return true;
    }
  }
  *out = CDPoint(kNoValue, kNoValue);
  return false;
}

bool CSpSlideWork::GetCrossPoint(const CDPoint* p, double angle, CDPoint* out, double tol) const {
  const CDPoint end = PointAtAngle(p, angle, kRayLength);
  return GetCrossPoint(p, &end, out, tol);
}

void CSpSlideWork::CollectCrossings(const CDPoint& p1, const CDPoint& p2, double tol,
                                    std::vector<CDPoint>& crossings) const {
  for (int i = 0; i + 1 < GetSize(); ++i) {
    const Crossings found = PieceCrossings(i, p1, p2, tol, tol);
    // The two crossings of an arc count as one when they coincide.
    const bool sameTwice = found.count == 2 && Hypot(found.points[0], found.points[1]) < kSamePoint;
    crossings.insert(crossings.end(), found.begin(), sameTwice ? found.begin() + 1 : found.end());
  }
}

namespace {

void ReplacePoints(CDPoly* out, const std::vector<CDPoint>& points) {
  out->DeleteAll();
  for (const CDPoint& p : points) out->Add(p);
}

}  // namespace

bool CSpSlideWork::GetCrossPointArray(const CDPoint* p1, const CDPoint* p2, CDPoly* out,
                                      double tol) const {
  std::vector<CDPoint> crossings;
  CollectCrossings(*p1, *p2, tol, crossings);
  ReplacePoints(out, crossings);
  return out->GetSize() > 0;
}

bool CSpSlideWork::GetCrossPointArray(const CDPoint* p, double angle, CDPoly* out,
                                      double tol) const {
  const CDPoint end = PointAtAngle(p, angle, kRayLength);
  return GetCrossPointArray(p, &end, out, tol);
}

bool CSpSlideWork::GetCrossPointArray(const CDPoly* polygon, CDPoly* out, bool /*flag*/,
                                      double tol) const {
  std::vector<CDPoint> crossings;
  const int n = polygon->GetSize();
  for (int i = 0; n >= 2 && i < n; ++i) {
    const CDPoint& a = *polygon->GetAt(i);
    const CDPoint& b = *polygon->GetAt((i + 1) % n);
    // A closing edge of no length (a polygon that repeats its first point) crosses nothing.
    if (a == b) continue;
    CollectCrossings(a, b, tol, crossings);
  }
  ReplacePoints(out, crossings);
  return out->GetSize() > 0;
}
