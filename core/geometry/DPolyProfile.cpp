// CDPoly as a profile over x: heights, overhangs, boundary entries of blocks; and walks along
// the line: pieces between two points, points at a distance, segment angles, offset lines.

#include <algorithm>
#include <cmath>
#include <numbers>
#include <stdexcept>
#include <utility>
#include <vector>

#include "core/base/Constants.h"
#include "core/geometry/DPoly.h"
#include "core/geometry/DPolyEdgeCuts.h"

namespace {

using dpoly_cuts::CutReach;
using dpoly_cuts::EntryAbove;
using dpoly_cuts::kSnapToCut;

constexpr double kStepSlack = 5e-4;   // x differences below this make a vertical step
constexpr double kZeroLength = 1e-9;  // a remaining length below this counts as used up

// A segment's ends ordered by x; equal x keep their order along the line.
struct XOrdered {
  const CDPoint* left;
  const CDPoint* right;
};

XOrdered OrderByX(const CDPoint* a, const CDPoint* b) {
  return a->x > b->x ? XOrdered{b, a} : XOrdered{a, b};
}

double InterpolateY(const XOrdered& s, double x) {
  return s.left->y + (s.right->y - s.left->y) / (s.right->x - s.left->x) * (x - s.left->x);
}

bool IsStrictlyInside(double v, double lo, double hi) { return lo < v && v < hi; }

CDPoint NoPoint() { return CDPoint(kNoValue, kNoValue); }

// A plain copy of the line that runs left to right.
std::unique_ptr<CDPoly> LeftToRightCopy(const CDPoly& line) {
  auto copy = std::make_unique<CDPoly>();
  copy->CopyPoints(&line);
  copy->LeftToRight();
  return copy;
}

double SegmentAngleDeg(const CDPoint* from, const CDPoint* to) {
  return RadToDeg(MyAtan(from, to));
}

bool RunsLeftToRight(const CDPoly& line) {
  return line.GetSize() >= 2 && line.GetLastPt()->x > line.GetFirstPt()->x;
}

}  // namespace

// ---- Heights over x ----

double CDPoly::GetY(double x) const {
  const int n = GetSize();
  if (n < 2) return kNoValue;
  for (int i = 0; i + 1 < n; ++i) {
    const XOrdered s = OrderByX(points_[i].get(), points_[i + 1].get());
    if (x == s.left->x) return s.left->y;
    if (IsStrictlyInside(x, s.left->x, s.right->x)) {
      return InterpolateY(s, x);
    }
  }
  if (x == points_[n - 1]->x) return points_[n - 1]->y;
  // The rightmost end of a line drawn from right to left (or of a fold) is the right end of its
  // segment only: the line reaches that x, so it has a height there.
  for (int i = 0; i + 1 < n; ++i) {
    const XOrdered s = OrderByX(points_[i].get(), points_[i + 1].get());
    if (x == s.right->x) return s.right->y;
  }
  return kNoValue;
}

void CDPoly::GetYs(std::span<const double> xs, std::vector<double>& ys) const {
  const std::size_t n = points_.size();
  const bool runsRight = n >= 2 && std::adjacent_find(points_.begin(), points_.end(),
                                                      [](const auto& a, const auto& b) {
                                                        return !(a->x < b->x);
                                                      }) == points_.end();
  if (!runsRight) {
    for (const double x : xs) ys.push_back(CDPoly::GetY(x));
    return;
  }
  // GetY's first segment that holds x is the one whose right end lies beyond it: the segments
  // before end at or left of x and the ones after start right of it.
  std::size_t i = 0;
  for (const double x : xs) {
    while (i + 1 < n && !(x < points_[i + 1]->x)) ++i;
    const CDPoint& left = *points_[i];
    if (x == left.x) {
      ys.push_back(left.y);
    } else if (i + 1 < n && left.x < x) {
      ys.push_back(InterpolateY(XOrdered{&left, points_[i + 1].get()}, x));
    } else {
      ys.push_back(kNoValue);
    }
  }
}

double CDPoly::GetX(double y) const {
  for (std::size_t i = 0; i + 1 < points_.size(); ++i) {
    const CDPoint* a = points_[i].get();
    const CDPoint* b = points_[i + 1].get();
    if (y == a->y) return a->x;
    const auto [lo, hi] = a->y > b->y ? std::pair{b, a} : std::pair{a, b};
    // A vertical segment interpolates to its own x.
    if (IsStrictlyInside(y, lo->y, hi->y)) {
      return lo->x + (hi->x - lo->x) / (hi->y - lo->y) * (y - lo->y);
    }
  }
  return kNoValue;
}

namespace {

// Heights of the line over x, each with the index of the segment's end vertex; `better` picks
// the extreme one.
template <typename Better>
bool ExtremeY(const CDPoly::PointList& points, double x, int* segment, double& y, Better better) {
  y = kNoValue;
  int found = -1;
  auto Offer = [&](double candidate, int seg) {
    if (y == kNoValue || better(candidate, y)) {
      y = candidate;
      found = seg;
    }
  };
  const int n = static_cast<int>(points.size());
  for (int i = 1; i < n; ++i) {
    const XOrdered s = OrderByX(points[i - 1].get(), points[i].get());
    const bool vertical = s.left->x == s.right->x;
    if (x == s.left->x) {
      // A vertical segment at x offers its extreme end.
      Offer(vertical && better(s.right->y, s.left->y) ? s.right->y : s.left->y, i);
    } else if (i == n - 1 && x == s.right->x) {
      Offer(s.right->y, i);
    } else if (IsStrictlyInside(x, s.left->x, s.right->x)) {
      Offer(InterpolateY(s, x), i);
    }
  }
  if (segment != nullptr) *segment = found;
  return y != kNoValue;
}

}  // namespace

bool CDPoly::GetYMax(double x, int* segment, double& y) const {
  return ExtremeY(points_, x, segment, y, [](double a, double b) { return a > b; });
}

bool CDPoly::GetYMin(double x, int* segment, double& y) const {
  return ExtremeY(points_, x, segment, y, [](double a, double b) { return a < b; });
}

bool CDPoly::GetNextY(double x, int* pos, double& y) const {
  const int n = GetSize();
  if (*pos < 0) throw std::out_of_range("CDPoly::GetNextY: negative start segment");
  for (int i = *pos; i + 1 < n; ++i) {
    const XOrdered s = OrderByX(points_[i].get(), points_[i + 1].get());
    bool found = false;
    if (x == s.left->x) {
      y = s.left->y;
      found = true;
    } else if (IsStrictlyInside(x, s.left->x, s.right->x)) {
      y = InterpolateY(s, x);
      found = true;
    }
    if (found) {
      *pos = i + 1;
      return true;
    }
    if (i + 2 == n && x == s.right->x) {
      y = s.right->y;
      *pos = n - 1;
      return true;
    }
  }
  return false;
}

bool CDPoly::GetNextX(double y, int* pos, double& x) const {
  const int n = GetSize();
  if (*pos < 0) throw std::out_of_range("CDPoly::GetNextX: negative start segment");
  for (int i = *pos; i + 1 < n; ++i) {
    const CDPoint* a = points_[i].get();
    const CDPoint* b = points_[i + 1].get();
    bool found = false;
    if (y == a->y) {
      x = a->x;
      found = true;
    } else if (IsStrictlyInside(y, std::min(a->y, b->y), std::max(a->y, b->y))) {
      // A vertical segment interpolates to its own x.
      x = a->x + (b->x - a->x) / (b->y - a->y) * (y - a->y);
      found = true;
    }
    if (found) {
      *pos = i + 1;
      return true;
    }
  }
  *pos = n;
  return false;
}

bool CDPoly::IsOverHung() const {
  if (GetSize() <= 2) return false;
  const auto copy = LeftToRightCopy(*this);
  copy->DelSamePoint(kSamePoint);
  double xmin = 0;
  double xmax = 0;
  copy->RangeX(xmin, xmax);
  // An x this far from both ends of the range lies inside the profile.
  auto IsInner = [&](double v) {
    return std::fabs(v - xmin) > kStepSlack && std::fabs(v - xmax) > kStepSlack;
  };
  for (int i = 0; i + 2 < copy->GetSize(); ++i) {
    const double a = copy->GetAt(i)->x;
    const double b = copy->GetAt(i + 1)->x;
    const double c = copy->GetAt(i + 2)->x;
    if (a - b > kStepSlack || b - c > kStepSlack) return true;     // folds back
    if (std::fabs(a - b) < kStepSlack && IsInner(a)) return true;  // inner vertical step
    if (std::fabs(b - c) < kStepSlack && IsInner(c)) return true;
  }
  return false;
}

bool CDPoly::IsPolyOverY(const CDPoly* other) const {
  if (other == nullptr || points_.empty() || other->points_.empty()) return false;
  std::vector<double> xs;
  for (const PointList* list : {&points_, &other->points_}) {
    for (const auto& p : *list) {
      if (p->x == kNoValue || p->y == kNoValue) continue;
      const bool known = std::any_of(xs.begin(), xs.end(),
                                     [&p](double x) { return std::fabs(x - p->x) < kSamePoint; });
      if (!known) xs.push_back(p->x);
    }
  }
  std::sort(xs.begin(), xs.end());
  for (const double x : xs) {
    const double y1 = GetY(x);
    const double y2 = other->GetY(x);
    if (y1 != kNoValue && y2 != kNoValue && y2 - y1 > 1e-13) return true;
  }
  return false;
}

double CDPoly::GetPolyApproximationDist(const CDPoly* other) const {
  double sum = 0;
  if (other == nullptr) return sum;
  for (const auto& p : other->points_) {
    double dist = 0;
    int segment = -1;
    GetOnlineNear(p.get(), dist, segment);
    sum += dist;
  }
  return sum;
}

// ---- Boundary entries ----

namespace {

void AddEntry(std::vector<tagDEVY>& records, double leftY, double rightY, const CDPoly* shape,
              double ylimit) {
  tagDEVY record;
  if (EntryAbove(leftY, rightY, shape, ylimit, record)) records.push_back(record);
}

}  // namespace

CDPoly::EdgeRange::EdgeRange(const CDPoint& a, const CDPoint& b)
    : left(a.x > b.x ? b : a), right(a.x > b.x ? a : b), slope(SegmentSlope(left, right)) {}

double CDPoly::EdgeRange::EntryCeiling() const {
  // Room far above the rounding of an interpolated height or of two heights' mean.
  constexpr double kRounding = 1e-9;
  return std::max(left.y, right.y) + 2 * kSnapToCut * std::fabs(slope) +
         kRounding * (1 + std::fabs(left.y) + std::fabs(right.y));
}

bool CDPoly::EdgeRange::MissesCuts(double x1, double x2) const {
  return CutReach(x1, x2).Misses(left.x, right.x);
}

int CDPoly::GetDEVYArray(std::vector<tagDEVY>& records, double x1, double x2, double ylimit) const {
  records.clear();
  const CutReach reach(x1, x2);
  for (std::size_t i = 0; i + 1 < points_.size(); ++i) {
    const XOrdered s = OrderByX(points_[i].get(), points_[i + 1].get());
    if (reach.Misses(s.left->x, s.right->x)) continue;
    tagDEVY record;
    if (DEVYOfSpanningEdge(EdgeRange(*s.left, *s.right), x1, x2, ylimit, record)) {
      records.push_back(record);
    }
  }
  return static_cast<int>(records.size());
}

void CDPoly::GetEdgesForCuts(double left, double right, std::vector<EdgeRange>& edges) const {
  edges.clear();
  // Cuts within [left, right] reach no farther than cuts at left and right.
  const CutReach reach(left, right);
  for (std::size_t i = 0; i + 1 < points_.size(); ++i) {
    const XOrdered s = OrderByX(points_[i].get(), points_[i + 1].get());
    if (reach.Misses(s.left->x, s.right->x)) continue;
    edges.emplace_back(*s.left, *s.right);
  }
}

int CDPoly::GetDEVYArray(std::vector<tagDEVY>& records, double x1, double x2, double ylimit,
                         std::span<const EdgeRange> edges) const {
  records.clear();
  for (const EdgeRange& edge : edges) {
    tagDEVY record;
    if (GetDEVYOfEdge(edge, x1, x2, ylimit, record)) records.push_back(record);
  }
  return static_cast<int>(records.size());
}

bool CDPoly::GetDEVYOfEdge(const EdgeRange& edge, double x1, double x2, double ylimit,
                           tagDEVY& record) const {
  if (CutReach(x1, x2).Misses(edge.left.x, edge.right.x)) return false;
  return DEVYOfSpanningEdge(edge, x1, x2, ylimit, record);
}

int CDPoly::GetDEVYArrayBlock(std::vector<tagDEVY>& records, double x1, double x2,
                              double ylimit) const {
  records.clear();
  double left = 0;
  double right = 0;
  if (GetYMax(x1, nullptr, left) && GetYMax(x2, nullptr, right)) {
    AddEntry(records, left, right, this, ylimit);
  }
  if (GetYMin(x1, nullptr, left) && GetYMin(x2, nullptr, right)) {
    AddEntry(records, left, right, this, ylimit);
  }
  return static_cast<int>(records.size());
}

int CDPoly::GetDEVYWater(std::vector<tagDEVY>& records, double x1, double x2) const {
  records.clear();
  const double left = GetY(x1);
  const double right = GetY(x2);
  if (left != kNoValue && right != kNoValue) records.push_back({left, right, this, 0});
  return static_cast<int>(records.size());
}

// ---- Pieces and walks along the line ----

std::unique_ptr<CDPoly> CDPoly::GetKukanShape(const CDPoint* a, const CDPoint* b) const {
  auto piece = std::make_unique<CDPoly>();
  if (GetSize() < 2) return piece;
  double dist = 0;
  int sa = -1;
  int sb = -1;
  CDPoint pa = GetOnlineNear(a, dist, sa);
  CDPoint pb = GetOnlineNear(b, dist, sb);
  if (sb < sa) {
    std::swap(pa, pb);
    std::swap(sa, sb);
  }
  piece->Add(pa);
  for (int i = sa + 1; i <= sb; ++i) piece->Add(*points_[i]);
  piece->Add(pb);
  return piece;
}

double CDPoly::GetKukanlength(const CDPoint* a, const CDPoint* b, bool along) const {
  if (!along) return Hypot(a, b);
  return GetKukanShape(a, b)->GetLength();
}

CDPoint CDPoly::GetMoveOnlinePt(const CDPoint* p, double dist, bool backward) const {
  if (dist < 0) {
    backward = !backward;
    dist = -dist;
  }
  double near = 0;
  int s = -1;
  const CDPoint foot = GetOnlineNear(p, near, s);
  if (s < 0) return NoPoint();
  // The walk goes from `at` to vertex `next`, then vertex by vertex in the walking direction.
  CDPoint at(foot.x, foot.y);
  int next = s + 1;
  int step = 1;
  if (backward) {
    next = *points_[s] != foot ? s : s - 1;
    step = -1;
  }
  double remaining = dist;
  for (; next >= 0 && next < GetSize(); next += step) {
    const CDPoint* vertex = points_[next].get();
    const double length = Hypot(&at, vertex);
    if (length > remaining) {
      CDPoint result;
      OnlinePt(&at, vertex, remaining, &result);
      return CDPoint(result.x, result.y);
    }
    remaining -= length;
    at = CDPoint(vertex->x, vertex->y);
  }
  // Walked exactly up to the end of the line: that end is the point.
  if (remaining < kZeroLength) return at;
  return NoPoint();
}

CDPoint CDPoly::GetKukanDistPoint(bool backward, const CDPoint& p, bool, double dist) const {
  return LeftToRightCopy(*this)->GetMoveOnlinePt(&p, std::max(dist, 0.0), backward);
}

namespace {

// Moves a point onto a vertex of the segment it lies on when it is closer than tol to it.
CDPoint SnapToVertex(const CDPoly& line, const CDPoint& p, double tol) {
  double dist = 0;
  int s = -1;
  line.GetOnlineNear(&p, dist, s);
  if (s < 0) return p;
  for (const int v : {s, s + 1}) {
    const CDPoint* vertex = line.GetAt(v);
    if (Hypot(p, *vertex) < tol) return CDPoint(vertex->x, vertex->y);
  }
  return p;
}

// The point `dist` along the line from p, or the line's end vertex in that direction when the
// line is shorter.
CDPoint WalkOrEnd(const CDPoly& line, const CDPoint& p, double dist, bool backward) {
  const CDPoint reached = line.GetMoveOnlinePt(&p, dist, backward);
  if (reached.IsValid()) return reached;
  const CDPoint* end = backward ? line.GetFirstPt() : line.GetLastPt();
  return CDPoint(end->x, end->y);
}

}  // namespace

std::unique_ptr<CDPoly> CDPoly::GetKukanShapeDist(bool first, const CDPoint& p, double d1,
                                                  double d2, double tol) const {
  const auto copy = LeftToRightCopy(*this);
  const CDPoly& line = *copy;
  if (line.GetSize() < 2) return std::make_unique<CDPoly>();
  d1 = std::max(d1, 0.0);
  d2 = std::max(d2, 0.0);
  double dist = 0;
  int segment = -1;
  const CDPoint foot = line.GetOnlineNear(&p, dist, segment);
  // With `first` d1 is measured towards the line's end and d2 towards its start.
  const CDPoint end1 = SnapToVertex(line, WalkOrEnd(line, foot, d1, !first), tol);
  const CDPoint end2 = SnapToVertex(line, WalkOrEnd(line, foot, d2, first), tol);
  double along1 = 0;
  double along2 = 0;
  const int section1 = line.GetSection(end1, along1);
  const int section2 = line.GetSection(end2, along2);
  if (section1 == section2) {
    auto piece = std::make_unique<CDPoly>();
    piece->Add(along1 <= along2 ? end1 : end2);
    piece->Add(along1 <= along2 ? end2 : end1);
    return piece;
  }
  auto piece = line.GetKukanShape(&end1, &end2);
  piece->DelSamePoint(tol);
  return piece;
}

// ---- Angles and offset lines ----

double CDPoly::GetR_Angle(const CDPoint* p, int mode) const {
  double dist = 0;
  int s = -1;
  GetOnlineNear(p, dist, s);
  if (s < 0) return kNoValue;
  const CDPoint* a = points_[s].get();
  const CDPoint* b = points_[s + 1].get();
  const bool leftToRight = RunsLeftToRight(*this);
  // The segment's direction towards larger x.
  const double l = leftToRight ? SegmentAngleDeg(a, b) : SegmentAngleDeg(b, a);
  const CDPoint* leftEnd = leftToRight ? GetFirstPt() : GetLastPt();
  const CDPoint* rightEnd = leftToRight ? GetLastPt() : GetFirstPt();
  const bool rightHigher = rightEnd->y > leftEnd->y;
  if (mode == 1 || (mode == 0 && rightHigher)) return std::fabs(l - 90);
  return std::fabs(l + 90);
}

double CDPoly::Get_Angle(const CDPoint* p, int, bool absolute) const {
  double dist = 0;
  int s = -1;
  GetOnlineNear(p, dist, s);
  if (s < 0) return kNoValue;
  const double angle = SegmentAngleDeg(points_[s].get(), points_[s + 1].get());
  return absolute ? std::fabs(angle) : angle;
}

namespace {

struct Segment {
  CDPoint from;
  CDPoint to;
};

// Whether an offset segment at one end of the offset line came out closer to the line than the
// offset distance (the line bends there) and does not start or end at an end of the line.
bool IsSpuriousEndOffset(const CDPoly& line, const Segment& seg, double d) {
  for (const CDPoint* end : {line.GetFirstPt(), line.GetLastPt()}) {
    if (seg.from == *end || seg.to == *end) return false;
  }
  for (const CDPoint* p : {&seg.from, &seg.to}) {
    double dist = 0;
    int segment = -1;
    line.GetOnlineNear(p, dist, segment);
    if (!(dist < std::fabs(d) - 1e-9)) return false;
  }
  return true;
}

}  // namespace

std::unique_ptr<CDPoly> CDPoly::GetDistanceShape(double d, const CDPoly* reference) const {
  auto result = std::make_unique<CDPoly>();
  if (GetSize() < 2) return result;
  const bool useReference = reference != nullptr && reference->GetSize() >= 2;
  const bool leftToRight = RunsLeftToRight(useReference ? *reference : *this);
  const double turn = leftToRight ? std::numbers::pi / 2 : -std::numbers::pi / 2;

  std::vector<Segment> offsets;
  for (std::size_t i = 0; i + 1 < points_.size(); ++i) {
    const CDPoint& a = *points_[i];
    const CDPoint& b = *points_[i + 1];
    double angle = MyAtan(&a, &b);
    if (useReference) {
      const CDPoint middle = (a + b) / 2;
      double dist = 0;
      int s = -1;
      reference->GetOnlineNear(&middle, dist, s);
      // A reference too far away to measure (no segment found) leaves the segment's own angle.
      if (s >= 0) angle = MyAtan(reference->GetAt(s), reference->GetAt(s + 1));
    }
    const CDPoint shift = GetUnitVector(angle + turn) * d;
    offsets.push_back({a + shift, b + shift});
  }
  // Offsets along a reference are not perpendicular to this line, so they lie closer to it than
  // d by design; only the line's own offsets are checked at the ends.
  if (!useReference) {
    while (!offsets.empty() && IsSpuriousEndOffset(*this, offsets.front(), d)) {
      offsets.erase(offsets.begin());
    }
    while (!offsets.empty() && IsSpuriousEndOffset(*this, offsets.back(), d)) offsets.pop_back();
  }
  if (offsets.empty()) return result;

  result->Add(offsets.front().from);
  for (std::size_t i = 0; i + 1 < offsets.size(); ++i) {
    const Segment& s1 = offsets[i];
    const Segment& s2 = offsets[i + 1];
    CDPoint cross;
    if (CrossLL(0.0, &s1.from, &s1.to, &s2.from, &s2.to, &cross) == 3) {
      result->Add(cross);
    } else {
      result->Add(s1.to);
      result->Add(s2.from);
    }
  }
  result->Add(offsets.back().to);
  return result;
}
