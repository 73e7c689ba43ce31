// CDPoly: crossings with segments and other lines, junction insertion, trimming and stretching
// of line ends, splitting at junctions, the inside test, the inner point, sorting and merging.

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <limits>
#include <span>
#include <stdexcept>
#include <utility>
#include <vector>

#include "core/base/Constants.h"
#include "core/geometry/DPoly.h"
#include "core/geometry/DPolyArray.h"
#include "core/geometry/DPolyInside.h"

namespace {

constexpr int kOnBoth = 3;             // CrossLL: the crossing lies on both segments
constexpr double kRayLength = 1000.0;  // the segment that stands for a ray at an angle
constexpr double kStretchReach = 0.1;  // how far a free line end is pulled onto another shape
constexpr double kClosedGap = 0.001;   // a line whose ends are this close is a closed polygon

CDPoint PointAtAngle(const CDPoint* p, double angle, double length) {
  return CDPoint(p->x + length * std::cos(angle), p->y + length * std::sin(angle));
}

// Flags the first coinciding pair of ends of two segments, tested in a fixed order, as a
// junction; true when there is one.
bool FlagTouchingEnds(CDPoint& a1, CDPoint& a2, CDPoint& b1, CDPoint& b2) {
  const std::pair<CDPoint*, CDPoint*> pairs[] = {{&a1, &b1}, {&a1, &b2}, {&a2, &b1}, {&a2, &b2}};
  for (const auto& [a, b] : pairs) {
    if (*a == *b) {
      a->flag = 1;
      b->flag = 1;
      return true;
    }
  }
  return false;
}

std::shared_ptr<CDPoint> NewJunction(const CDPoint& at) {
  return std::make_shared<CDPoint>(at.x, at.y, 1);
}

// Where a free line end would land on another shape.
struct StretchTarget {
  CDPoly* shape = nullptr;
  int segment = -1;
  CDPoint point;
  double dist = kStretchReach;
};

StretchTarget FindStretchTarget(const CDPoly* line, CDPolyArray* array, const CDPoint* from,
                                const CDPoint* end) {
  StretchTarget best;
  for (int i = 0; i < array->GetSize(); ++i) {
    CDPoly* shape = array->GetAt(i);
    if (shape == line) continue;
    CDPoint point;
    double dist = kAreaNotSet;
    const int segment = shape->TrimPoint(from, end, point, dist);
    if (segment >= 0 && dist < best.dist) best = {shape, segment, point, dist};
  }
  return best;
}

// The junctions of a line with itself.
void InsertSelfCrossings(CDPoly& line) {
  if (line.GetSize() == 0) return;
  CDPoint& first = *line.GetFirstPt();
  CDPoint& last = *line.GetLastPt();
  if (Hypot(first, last) < kClosedGap) {
    // A closed polygon: close it exactly; its own crossings are not searched.
    last.x = first.x;
    last.y = first.y;
    first.flag = 1;
    last.flag = 1;
    return;
  }
  // Every segment against every later segment that does not share a vertex with it (j >= i + 2).
  // A crossing goes into both segments; segment i then ends at it and the scan goes on with the
  // two new pieces of segment j, which touch segment i there and are only flagged. The piece of
  // segment i after the crossing is scanned by the outer loop against everything after it, so
  // no pair is skipped and no piece is compared with itself.
  for (int i = 0; i + 1 < line.GetSize(); ++i) {
    for (int j = i + 2; j + 1 < line.GetSize(); ++j) {
      CDPoint& a1 = *line.GetAt(i);
      CDPoint& a2 = *line.GetAt(i + 1);
      CDPoint& b1 = *line.GetAt(j);
      CDPoint& b2 = *line.GetAt(j + 1);
      if (FlagTouchingEnds(a1, a2, b1, b2)) continue;
      CDPoint cross;
      if (CrossLL(0.0, &a1, &a2, &b1, &b2, &cross) != kOnBoth) continue;
      line.InsertAt(j + 1, NewJunction(cross));
      line.InsertAt(i + 1, NewJunction(cross));
    }
  }
}

}  // namespace

// ---- Crossings with a segment ----

bool CDPoly::GetCrossPoint(const CDPoint* p1, const CDPoint* p2, CDPoint* out, double tol) const {
  double best = kAreaNotSet;
  bool found = false;
  for (std::size_t i = 0; i + 1 < points_.size(); ++i) {
    CDPoint cross;
    if (CrossLL(tol, p1, p2, points_[i].get(), points_[i + 1].get(), &cross) != kOnBoth) continue;
    const double dist = Hypot(p1, &cross);
    if (dist < best) {
      best = dist;
      *out = cross;
      found = true;
    }
  }
  return found;
}

bool CDPoly::GetCrossPoint(const CDPoint* p, double angle, CDPoint* out, double tol) const {
  const CDPoint end = PointAtAngle(p, angle, kRayLength);
  return GetCrossPoint(p, &end, out, tol);
}

bool CDPoly::GetCrossPointArray(const CDPoint* p1, const CDPoint* p2, CDPoly* out,
                                double tol) const {
  // Collected first, so that out may be this line itself.
  std::vector<CDPoint> crossings;
  for (std::size_t i = 0; i + 1 < points_.size(); ++i) {
    CDPoint cross;
    if (CrossLL(tol, p1, p2, points_[i].get(), points_[i + 1].get(), &cross) == kOnBoth) {
      crossings.push_back(cross);
    }
  }
  out->DeleteAll();
  for (const CDPoint& cross : crossings) out->Add(cross);
  return out->GetSize() > 0;
}

bool CDPoly::GetCrossPointArray(const CDPoint* p, double angle, CDPoly* out, double tol) const {
  const CDPoint end = PointAtAngle(p, angle, kRayLength);
  return GetCrossPointArray(p, &end, out, tol);
}

bool CDPoly::CheckCross(const CDPoint* p1, const CDPoint* p2, CDPoint& out, double tol) const {
  return GetCrossPoint(p1, p2, &out, tol);
}

bool CDPoly::CheckCrossAngle(const CDPoint* p, double angleDeg, double length, CDPoint& out,
                             double tol) const {
  const CDPoint end = PointAtAngle(p, DegToRad(angleDeg), length);
  return CheckCross(p, &end, out, tol);
}

bool CDPoly::IsCrossPoint(const CDPoly* other, double tol) const {
  if (other == nullptr) return false;
  for (std::size_t i = 0; i + 1 < points_.size(); ++i) {
    for (std::size_t k = 0; k + 1 < other->points_.size(); ++k) {
      CDPoint cross;
      if (CrossLL(tol, points_[i].get(), points_[i + 1].get(), other->points_[k].get(),
                  other->points_[k + 1].get(), &cross) == kOnBoth) {
        return true;
      }
    }
  }
  return false;
}

void CDPoly::StoreCrossX(std::vector<double>& xs, int* pos, double x) {
  if (pos == nullptr) {
    xs.push_back(x);
    return;
  }
  if (*pos < 0 || *pos > static_cast<int>(xs.size())) {
    throw std::out_of_range("GetCrossX: insert position out of range");
  }
  xs.insert(xs.begin() + *pos, x);
  ++*pos;
}

int CDPoly::GetCrossX(const CDPoint* p1, const CDPoint* p2, std::vector<double>& xs, int* pos,
                      const CDPoly* upper) const {
  // A crossing lies on both segments, within this of the x range of each (the crossing test's
  // tolerance is far smaller): a segment farther away in x is not tested.
  constexpr double kCrossingReach = 1e-3;
  const double left = std::min(p1->x, p2->x) - kCrossingReach;
  const double right = std::max(p1->x, p2->x) + kCrossingReach;
  int stored = 0;
  for (std::size_t i = 0; i + 1 < points_.size(); ++i) {
    const CDPoint& a = *points_[i];
    const CDPoint& b = *points_[i + 1];
    if (std::max(a.x, b.x) < left || std::min(a.x, b.x) > right) continue;
    CDPoint cross;
    if (CrossLL(1e-5, p1, p2, &a, &b, &cross) != kOnBoth) continue;
    // Only crossings at or above the given line count; without a line, every crossing does.
    if (upper != nullptr) {
      const double y = upper->GetY(cross.x);
      if (y == kNoValue || y > cross.y) continue;
    }
    StoreCrossX(xs, pos, cross.x);
    ++stored;
  }
  return stored;
}

// ---- Junctions ----

void CDPoly::InsCrossPoint(CDPoly* other, bool both) {
  if (other == nullptr || other == this) {
    InsertSelfCrossings(*this);
    return;
  }
  // The counts are re-read: a piece created by an insertion is scanned too.
  for (int i = 0; i + 1 < GetSize(); ++i) {
    for (int k = 0; k + 1 < other->GetSize(); ++k) {
      CDPoint& a1 = *points_[i];
      CDPoint& a2 = *points_[i + 1];
      CDPoint& b1 = *other->points_[k];
      CDPoint& b2 = *other->points_[k + 1];
      if (FlagTouchingEnds(a1, a2, b1, b2)) continue;
      CDPoint cross;
      if (CrossLL(1e-6, &a1, &a2, &b1, &b2, &cross) != kOnBoth) continue;
      if (cross == a1) {
        a1.flag = 1;
      } else if (cross == a2) {
        a2.flag = 1;
      } else {
        // Segment i becomes a1-cross for the remaining segments of other.
        InsertAt(i + 1, NewJunction(cross));
      }
      if (!both) continue;
      if (cross == b1) {
        b1.flag = 1;
      } else if (cross == b2) {
        b2.flag = 1;
      } else {
        other->InsertAt(k + 1, NewJunction(cross));
        ++k;  // the new piece cross-b2 meets segment i only at the crossing
      }
    }
  }
}

void CDPoly::TrimStartpoint() {
  if (GetSize() < 2) return;
  if (points_[0]->flag == 0 && points_[1]->flag == 1) RemoveAt(0);
  const int n = GetSize();
  if (n >= 2 && points_[n - 1]->flag == 0 && points_[n - 2]->flag == 1) RemoveAt(n - 1);
}

int CDPoly::TrimPoint(const CDPoint* p1, const CDPoint* p2, CDPoint& out, double& dist) const {
  const int n = GetSize();
  if (n < 2) return -1;
  dist = kAreaNotSet;
  int result = -1;
  for (int i = 0; i + 1 < n; ++i) {
    const CDPoint* a = points_[i].get();
    CDPoint cross;
    const int code = CrossLL(small_limit, p1, p2, a, points_[i + 1].get(), &cross);
    const bool onSegment = code == 2 || code == kOnBoth;
    const bool vertexAtEnd = *a == *p2;
    if (!onSegment && !vertexAtEnd) continue;
    // A vertex at p2 on a segment parallel to the ray gives no crossing: the vertex is it.
    if (code < 0) cross = *a;
    const double d1 = Hypot(cross, *p1);
    const double d2 = Hypot(cross, *p2);
    if (d1 > d2 && d2 < dist) {
      dist = d2;
      out = cross;
      result = i;
    }
  }
  if (*points_[n - 1] == *p2) {
    dist = 0;
    out = *p2;
    result = n - 1;
  }
  return result;
}

void CDPoly::StretchStartPoint(CDPolyArray* array) {
  const int n = GetSize();
  if (n < 2 || array == nullptr) return;
  CDPoint& first = *points_.front();
  CDPoint& last = *points_.back();
  if (first.flag == 1 && last.flag == 1) return;

  StretchTarget start;
  if (first.flag == 0) start = FindStretchTarget(this, array, points_[1].get(), &first);
  StretchTarget end;
  if (last.flag == 0) end = FindStretchTarget(this, array, points_[n - 2].get(), &last);

  if (start.shape != nullptr) {
    first = CDPoint(start.point.x, start.point.y, 1);
    start.shape->InsertAt(start.segment + 1, NewJunction(start.point));
  }
  if (end.shape != nullptr) {
    last = CDPoint(end.point.x, end.point.y, 1);
    int segment = end.segment;
    if (end.shape == start.shape) {
      // The start's insertion shifted the vertices after it.
      if (start.segment < end.segment) {
        ++segment;
      } else if (start.segment == end.segment &&
                 NearDist(end.shape->GetAt(end.segment), &start.point, &end.point) == 1) {
        ++segment;
      }
    }
    end.shape->InsertAt(segment + 1, NewJunction(end.point));
  }
}

void CDPoly::DelSamePoint(double tol) {
  for (int i = GetSize() - 1; i >= 1; --i) {
    CDPoint& prev = *points_[i - 1];
    const CDPoint& current = *points_[i];
    if (!(Hypot(prev, current) < tol)) continue;
    if (prev.flag == 1 || current.flag == 1) prev.flag = 1;
    RemoveAt(i);
  }
}

std::unique_ptr<CDPolyArray> CDPoly::MakeKukan() const {
  auto pieces = std::make_unique<CDPolyArray>();
  if (points_.empty()) return pieces;
  auto StartPiece = [this](const CDPoint& at) {
    auto piece = std::make_unique<CDPoly>();
    piece->SetUseCount(useCount_);
    piece->Add(std::make_shared<CDPoint>(at));
    return piece;
  };
  auto piece = StartPiece(*points_.front());
  for (std::size_t i = 1; i < points_.size(); ++i) {
    const CDPoint& p = *points_[i];
    piece->Add(std::make_shared<CDPoint>(p));
    if (p.flag == 1 && i + 1 < points_.size()) {
      pieces->Add(std::move(piece));
      piece = StartPiece(p);
    }
  }
  pieces->Add(std::move(piece));
  return pieces;
}

// ---- Inside test and nearest points ----

namespace {

// Calls visit(a, b) for every edge the inside test takes: the closing edge is skipped when the
// polygon is closed by a repeated point already.
template <class Visit>
void ForEachInsideEdge(const CDPoly::PointList& points, Visit visit) {
  const std::size_t n = points.size();
  if (n == 0) return;
  const std::size_t edges = *points[n - 1] == *points[0] ? n - 1 : n;
  for (std::size_t i = 0; i < edges; ++i) visit(*points[i], *points[i + 1 < n ? i + 1 : 0]);
}

}  // namespace

bool CDPoly::InsideRay::MayCross(const CDPoint& a, const CDPoint& b) const {
  using dpoly_inside::kOffRay;
  if (std::max(a.x, b.x) < p_.x - kOffRay || std::max(a.y, b.y) < p_.y - kOffRay) return false;
  return !dpoly_inside::BothOnOneSide(Side(a), Side(b));
}

bool CDPoly::InsideRay::Crosses(const CDPoint& a, const CDPoint& b) const {
  CDPoint cross;
  return MayCross(a, b) && CrossLL(0.0, &p_, &end_, &a, &b, &cross) == kOnBoth;
}

CDPoly::InsideRay::AcrossRange CDPoly::InsideRay::RangeAcross(const CDPoint& a, const CDPoint& b) {
  const double acrossA = Across(a);
  const double acrossB = Across(b);
  if (std::isnan(acrossA) || std::isnan(acrossB)) {
    constexpr double kUnbounded = std::numeric_limits<double>::infinity();
    return {-kUnbounded, kUnbounded};
  }
  using dpoly_inside::kAcrossMargin;
  return {std::min(acrossA, acrossB) - kAcrossMargin, std::max(acrossA, acrossB) + kAcrossMargin};
}

void CDPoly::AppendInsideEdges(const PointList& points, std::vector<InsideEdge>& edges) {
  const auto first = static_cast<std::ptrdiff_t>(edges.size());
  ForEachInsideEdge(points, [&edges](const CDPoint& a, const CDPoint& b) {
    const double reach = std::max(a.x, b.x);
    const double slope = SegmentSlope(a, b);
    const double runX = b.x - a.x;
    const double runY = b.y - a.y;
    edges.push_back({a, b, std::isnan(reach) ? std::numeric_limits<double>::infinity() : reach,
                     slope, std::max(a.y, b.y), runX, runY,
                     dpoly_inside::kClearOfLine * (std::fabs(runX) + std::fabs(runY)),
                     std::fabs(a.y), std::fabs(a.x) + std::fabs(b.x), std::fabs(slope)});
  });
  std::sort(edges.begin() + first, edges.end(),
            [](const InsideEdge& l, const InsideEdge& r) { return l.reach > r.reach; });
}

bool CDPoly::PolyRgn(const CDPoint* p) const {
  const InsideRay ray(*p);
  int count = 0;
  ForEachInsideEdge(points_, [&ray, &count](const CDPoint& a, const CDPoint& b) {
    if (ray.Crosses(a, b)) ++count;
  });
  return count % 2 == 1;
}

bool CDPoly::IsOnline(const CDPoint* p) const {
  double dist = kAreaNotSet;
  int segment = -1;
  GetOnlineNear(p, dist, segment);
  return dist < 1e-7;
}

CDPoint CDPoly::GetOnlineNear(const CDPoint* p, double& dist, int& segment) const {
  const int n = GetSize();
  segment = -1;
  CDPoint result(kNoValue, kNoValue);
  if (n < 2) return result;
  dist = kAreaNotSet;
  auto Consider = [&](const CDPoint& candidate, int seg) {
    const double d = Hypot(*p, candidate);
    if (!(d < dist)) return false;
    dist = d;
    segment = seg;
    result = candidate;
    return d == 0;
  };
  for (int i = 0; i + 1 < n; ++i) {
    const CDPoint* a = points_[i].get();
    CDPoint foot(kNoValue, kNoValue, 0);
    const bool inside = CrossLP(a, points_[i + 1].get(), p, &foot) == 1;
    if (Consider(inside ? foot : *a, i)) return result;
  }
  Consider(*points_[n - 1], n - 2);
  return result;
}

int CDPoly::GetSection(const CDPoint& p, double& dist) const {
  dist = kNoValue;
  if (GetSize() <= 1) return -1;
  double near = kAreaNotSet;
  int s = -1;
  GetOnlineNear(&p, near, s);
  if (near > 1e-5) return -1;
  if (s == 0) {
    dist = Hypot(*points_[0], p);
    return 0;
  }
  // At a vertex the nearest segment may be either neighbour: the direction to p decides.
  const CDPoint* vertex = points_[s].get();
  const double toP = MyAtan(vertex, &p);
  const double toPrev = MyAtan(vertex, points_[s - 1].get());
  const double toNext = MyAtan(vertex, points_[s + 1].get());
  const int piece = std::fabs(toP - toPrev) < std::fabs(toP - toNext) ? s - 1 : s;
  dist = Hypot(*points_[piece], p);
  return piece;
}

CDPoint CDPoly::CalcInnerPoint() {
  const double left = Left().x;
  const double right = Right().x;
  const CDPoint upper(left + 0.51323453 * (right - left), Top().y + 10);
  const CDPoint lower(left + 0.50732167 * (right - left), Bottom().y - 10);
  std::vector<CDPoint> crossings;
  for (std::size_t i = 0; i + 1 < points_.size(); ++i) {
    CDPoint cross;
    if (CrossLL(0.0, &upper, &lower, points_[i].get(), points_[i + 1].get(), &cross) == kOnBoth) {
      crossings.push_back(cross);
    }
  }
  std::stable_sort(crossings.begin(), crossings.end(), [&upper](const auto& a, const auto& b) {
    return Hypot(upper, a) < Hypot(upper, b);
  });
  // Consecutive crossings pair up into the chords inside the polygon; the longest one wins.
  CDPoint inner(kNoValue, kNoValue);
  double longest = 0;
  for (std::size_t i = 0; i + 1 < crossings.size(); i += 2) {
    const double length = Hypot(crossings[i], crossings[i + 1]);
    if (length > longest) {
      longest = length;
      inner = CDPoint((crossings[i].x + crossings[i + 1].x) / 2,
                      (crossings[i].y + crossings[i + 1].y) / 2);
    }
  }
  innerPoint_ = inner;
  return inner;
}

void CDPoly::Sort(const CDPoint& origin) {
  const std::size_t n = points_.size();
  for (std::size_t i = 0; i + 1 < n; ++i) {
    for (std::size_t j = i + 1; j < n; ++j) {
      if (Hypot(*points_[j], origin) < Hypot(*points_[i], origin)) {
        std::swap(*points_[i], *points_[j]);
      }
    }
  }
}

void CDPoly::PolyMarge(const CDPoly* other) {
  if (other == nullptr || other->points_.empty()) return;
  CDPoly base;
  base.CopyPoints(this);
  base.LeftToRight();
  CDPoly inserted;
  inserted.CopyPoints(other);
  inserted.LeftToRight();
  // A vertical run at either end of this line keeps only its point nearest to the inside.
  while (base.GetSize() >= 2 && base.points_[1]->x == base.points_[0]->x) base.RemoveAt(0);
  while (base.GetSize() >= 2 && base.points_[base.GetSize() - 2]->x == base.points_.back()->x) {
    base.RemoveAt(base.GetSize() - 1);
  }

  double y = 0;
  int pos = 0;
  const int start = base.GetNextY(inserted.points_.front()->x, &pos, y) ? pos : -1;
  int end = -1;
  pos = 0;
  while (base.GetNextY(inserted.points_.back()->x, &pos, y)) end = pos;

  CDPoly merged;
  for (int i = 0; i < start; ++i) merged.Add(base.points_[i]);
  for (const auto& p : inserted.points_) merged.Add(p);
  if (end != -1) {
    for (int i = end; i < base.GetSize(); ++i) merged.Add(base.points_[i]);
  }
  merged.DelSamePoint(kSamePoint);
  CopyPoints(&merged);
}
