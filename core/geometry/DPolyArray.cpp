#include "core/geometry/DPolyArray.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <limits>
#include <numeric>
#include <span>
#include <stdexcept>
#include <string>
#include <utility>

#include "core/base/ArchiveCount.h"
#include "core/base/Constants.h"
#include "core/geometry/DArc.h"
#include "core/geometry/DPolyInside.h"
#include "core/geometry/ViewInfo.h"
#include "platform/Archive.h"

namespace {

// The smallest stored shape: its kind code, an empty narrow name (one length byte) and a point
// count. A stored count is checked against it before anything is reserved.
constexpr std::size_t kMinShapeRecordSize = 4 + 1 + 4;

constexpr double kUnbounded = std::numeric_limits<double>::infinity();

// How many of the ascending values lie at or below value (std::upper_bound's position), by a
// bisection whose steps choose their half without a branch: the slab of a point is a new guess
// for every query, which a predicted branch would miss half the time.
std::size_t CountAtOrBelow(std::span<const double> ascending, double value) {
  const double* first = ascending.data();
  std::size_t count = ascending.size();
  // The answer lies in [first, first + count] (as positions from the start).
  while (count > 1) {
    const std::size_t half = count / 2;
    first += half * static_cast<std::size_t>(first[half - 1] <= value);
    count -= half;
  }
  const auto last = static_cast<std::size_t>(count == 1 && *first <= value);
  return static_cast<std::size_t>(first - ascending.data()) + last;
}

void RequireShape(const std::unique_ptr<CDPoly>& shape) {
  if (!shape) throw std::out_of_range("CDPolyArray: a null shape cannot be added");
}

void RequireIndex(int index, int size) {
  if (index < 0 || index >= size) throw std::out_of_range("CDPolyArray: shape index out of range");
}

// The extreme point over all shapes: each shape's own extreme (`extreme`) is compared on one
// coordinate with `better`. The start value of that coordinate is also what an empty shape's own
// search returns, so it never wins.
template <typename Better>
CDPoint ExtremeOf(const std::vector<std::unique_ptr<CDPoly>>& shapes,
                  CDPoint (CDPoly::*extreme)() const, double CDPoint::*coordinate, CDPoint result,
                  Better better) {
  const double unset = result.*coordinate;
  for (const auto& shape : shapes) {
    const CDPoint p = (shape.get()->*extreme)();
    if (better(p.*coordinate, result.*coordinate) && p.*coordinate != unset) {
      result = CDPoint(p.x, p.y);
    }
  }
  return result;
}

}  // namespace

// ---- The list ----

CDPoly* CDPolyArray::GetAt(int index) {
  RequireIndex(index, GetSize());
  return shapes_[static_cast<std::size_t>(index)].get();
}

const CDPoly* CDPolyArray::GetAt(int index) const {
  RequireIndex(index, GetSize());
  return shapes_[static_cast<std::size_t>(index)].get();
}

int CDPolyArray::Add(std::unique_ptr<CDPoly> shape) {
  RequireShape(shape);
  shapes_.push_back(std::move(shape));
  return GetSize() - 1;
}

void CDPolyArray::InsertAt(int index, std::unique_ptr<CDPoly> shape) {
  RequireIndex(index, GetSize() + 1);
  RequireShape(shape);
  shapes_.insert(shapes_.begin() + index, std::move(shape));
}

std::unique_ptr<CDPoly> CDPolyArray::Release(int index) {
  RequireIndex(index, GetSize());
  auto shape = std::move(shapes_[static_cast<std::size_t>(index)]);
  shapes_.erase(shapes_.begin() + index);
  Forget(shape.get());
  return shape;
}

void CDPolyArray::RemoveAt(int index) { Release(index); }

void CDPolyArray::DeleteAll() {
  shapes_.clear();
  found_ = nullptr;
}

void CDPolyArray::Forget(const CDPoly* shape) {
  if (found_ == shape) found_ = nullptr;
}

CDPolyArray::ShapeList CDPolyArray::CopyShapes() const {
  ShapeList copies;
  copies.reserve(shapes_.size());
  for (const auto& shape : shapes_) copies.push_back(shape->Copy());
  return copies;
}

void CDPolyArray::Copy(const CDPolyArray* other) {
  // Copied before the own shapes go, so that copying an array onto itself keeps its shapes.
  ShapeList copies = other != nullptr ? other->CopyShapes() : ShapeList{};
  DeleteAll();
  shapes_ = std::move(copies);
}

std::unique_ptr<CDPolyArray> CDPolyArray::Copy() const {
  auto copy = std::make_unique<CDPolyArray>();
  copy->shapes_ = CopyShapes();
  return copy;
}

// ---- Record ----

void CDPolyArray::Store(Archive& ar, int version) const {
  ar << static_cast<std::int32_t>(shapes_.size());
  for (const auto& shape : shapes_) {
    ar << static_cast<std::int32_t>(shape->WhatKind());
    shape->Store(ar, version);
  }
}

void CDPolyArray::Load(Archive& ar, int version) {
  Load(ar, version, [](int) { return true; });
}

void CDPolyArray::Load(Archive& ar, int version, bool (*holdsKind)(int kind)) {
  const std::int32_t count = ReadCount(ar, kMinShapeRecordSize, "shape list count");
  ShapeList read;
  read.reserve(static_cast<std::size_t>(count));
  for (std::int32_t i = 0; i < count; ++i) {
    std::int32_t kind = 0;
    ar >> kind;
    auto shape = CDPoly::CreateNewElement(kind);
    // A shape record carries no length, so nothing after an unknown kind can be read.
    if (!shape) {
      throw ArchiveException(ArchiveException::Cause::BadFormat,
                             "shape list with the unknown shape kind " + std::to_string(kind));
    }
    if (!holdsKind(kind)) {
      throw ArchiveException(ArchiveException::Cause::BadFormat,
                             "shape list with a shape of kind " + std::to_string(kind) +
                                 " where no such shape belongs");
    }
    shape->Load(ar, version);
    read.push_back(std::move(shape));
  }
  shapes_.insert(shapes_.end(), std::make_move_iterator(read.begin()),
                 std::make_move_iterator(read.end()));
}

// ---- Drawing ----

void CDPolyArray::Draw(CViewInfo* view, bool highlight, int from, int to) const {
  view->CalcScale();  // keeps the scale of a view whose area is not set
  for (int i = 0; i < GetSize(); ++i) {
    const CDPoly& shape = *shapes_[static_cast<std::size_t>(i)];
    if (highlight && i == selected_) {
      shape.Draw(view, 1, from, to);
    } else {
      shape.Draw(view, 0, -1, -1);
    }
  }
}

void CDPolyArray::DrawName(CViewInfo* view) const {
  view->CalcScale();
  for (const auto& shape : shapes_) shape->DrawName(view);
}

// ---- Whole-list operations ----

void CDPolyArray::SetProperty(const CDPoly* other) {
  for (const auto& shape : shapes_) shape->SetProperty(other);
}

void CDPolyArray::Reverse() { std::reverse(shapes_.begin(), shapes_.end()); }

void CDPolyArray::RotateShape(double cx, double cy, double angle) {
  for (const auto& shape : shapes_) shape->RotateShape(cx, cy, angle);
}

void CDPolyArray::ShiftShape(double dx, double dy) {
  for (const auto& shape : shapes_) shape->ShiftShape(dx, dy);
}

// ---- Selection ----

CDPoly* CDPolyArray::GetActiveShapePtr() const {
  if (selected_ < 0 || selected_ >= GetSize()) return nullptr;
  return shapes_[static_cast<std::size_t>(selected_)].get();
}

bool CDPolyArray::IsNameDuplication(const std::string& name) const {
  return std::any_of(shapes_.begin(), shapes_.end(),
                     [&name](const auto& shape) { return shape->GetName() == name; });
}

// ---- Queries over all shapes ----

CDPoint CDPolyArray::Left() const {
  return ExtremeOf(shapes_, &CDPoly::Left, &CDPoint::x, CDPoint(kAreaNotSet, kNoValue),
                   std::less<>());
}

CDPoint CDPolyArray::Right() const {
  return ExtremeOf(shapes_, &CDPoly::Right, &CDPoint::x, CDPoint(kNoValue, kNoValue),
                   std::greater<>());
}

CDPoint CDPolyArray::Bottom() const {
  return ExtremeOf(shapes_, &CDPoly::Bottom, &CDPoint::y, CDPoint(kNoValue, kAreaNotSet),
                   std::less<>());
}

CDPoint CDPolyArray::Top() const {
  return ExtremeOf(shapes_, &CDPoly::Top, &CDPoint::y, CDPoint(kNoValue, kNoValue),
                   std::greater<>());
}

CDPoint CDPolyArray::GetOnlineNear(const CDPoint* p, double& dist) const {
  CDPoint nearest;
  dist = kAreaNotSet;
  for (const auto& shape : shapes_) {
    double d = kAreaNotSet;  // a shape with fewer than two points leaves it as it is
    int segment = -1;
    const CDPoint q = shape->GetOnlineNear(p, d, segment);
    if (d < dist) {
      dist = d;
      nearest = q;
    }
  }
  return nearest;
}

bool CDPolyArray::IsPolyInside(const CDPoint* p) const {
  return std::any_of(shapes_.begin(), shapes_.end(),
                     [p](const auto& shape) { return shape->PolyRgn(p); });
}

CDPoly* CDPolyArray::FindPolygon(const CDPoint* p) {
  for (int i = GetSize() - 1; i >= 0; --i) {
    CDPoly* shape = shapes_[static_cast<std::size_t>(i)].get();
    if (shape->PolyRgn(p)) {
      selected_ = i;
      found_ = shape;
      return shape;
    }
  }
  return nullptr;
}

std::size_t CDPolyArray::PointCount() const {
  std::size_t points = 0;
  for (const auto& shape : shapes_) points += shape->Points().size();
  return points;
}

void CDPolyArray::Outlines::Take(const CDPolyArray& array) {
  edges_.clear();
  shapes_.clear();
  // A shape has at most as many edges as points.
  edges_.reserve(array.PointCount());
  shapes_.reserve(array.shapes_.size());
  for (const auto& shape : array.shapes_) {
    Run run{shapes_.size(), edges_.size(), 0, -kUnbounded, -kUnbounded};
    for (const auto& point : shape->Points()) {
      const CDPoint& v = *point;
      if (std::isnan(v.x) || std::isnan(v.y)) {
        run.maxX = run.maxY = kUnbounded;
      } else {
        run.maxX = std::max(run.maxX, v.x);
        run.maxY = std::max(run.maxY, v.y);
      }
    }
    CDPoly::AppendInsideEdges(shape->Points(), edges_);
    run.count = edges_.size() - run.first;
    shapes_.push_back(run);
  }
  TakeSlabs();
}

void CDPolyArray::Outlines::TakeSlabs() {
  std::vector<CDPoly::InsideRay::AcrossRange> ranges;
  ranges.reserve(edges_.size());
  bounds_.clear();
  bounds_.reserve(2 * edges_.size());
  for (const CDPoly::InsideEdge& edge : edges_) {
    const CDPoly::InsideRay::AcrossRange range = CDPoly::InsideRay::RangeAcross(edge.a, edge.b);
    ranges.push_back(range);
    for (const double bound : {range.low, range.high}) {
      if (std::isfinite(bound)) bounds_.push_back(bound);
    }
  }
  std::sort(bounds_.begin(), bounds_.end());
  bounds_.erase(std::unique(bounds_.begin(), bounds_.end()), bounds_.end());

  // A sweep over the slabs: an edge joins the slabs at the first one that ends beyond its low
  // end and leaves them at the first one that starts at or beyond its high end. The edges kept by
  // their index stay in the order of the shapes and of each shape's edges.
  std::vector<std::size_t> byLow(edges_.size());
  std::iota(byLow.begin(), byLow.end(), std::size_t{0});
  std::vector<std::size_t> byHigh = byLow;
  std::sort(byLow.begin(), byLow.end(),
            [&ranges](std::size_t l, std::size_t r) { return ranges[l].low < ranges[r].low; });
  std::sort(byHigh.begin(), byHigh.end(),
            [&ranges](std::size_t l, std::size_t r) { return ranges[l].high < ranges[r].high; });
  std::vector<std::size_t> active;
  active.reserve(edges_.size());
  // Calls visit with each slab's edges, slab by slab.
  const auto sweep = [&](auto visit) {
    active.clear();
    auto joining = byLow.begin();
    auto leaving = byHigh.begin();
    for (std::size_t k = 0; k <= bounds_.size(); ++k) {
      const double start = k == 0 ? -kUnbounded : bounds_[k - 1];
      const double end = k == bounds_.size() ? kUnbounded : bounds_[k];
      for (; joining != byLow.end() && ranges[*joining].low < end; ++joining) {
        active.insert(std::lower_bound(active.begin(), active.end(), *joining), *joining);
      }
      for (; leaving != byHigh.end() && ranges[*leaving].high <= start; ++leaving) {
        active.erase(std::lower_bound(active.begin(), active.end(), *leaving));
      }
      visit(std::as_const(active));
    }
  };
  // The slabs' edges counted first, so that their storage is sized once: every run holds one
  // edge or more.
  std::size_t slabEdges = 0;
  sweep([&slabEdges](const std::vector<std::size_t>& edges) { slabEdges += edges.size(); });
  slabRuns_.clear();
  slabRuns_.reserve(bounds_.size() + 2);
  runs_.clear();
  runs_.reserve(slabEdges);
  slabEdges_.clear();
  slabEdges_.reserve(slabEdges);
  sweep([this](const std::vector<std::size_t>& edges) {
    slabRuns_.push_back(runs_.size());
    TakeSlabRuns(edges);
  });
  slabRuns_.push_back(runs_.size());
  lastSlab_ = 0;
}

void CDPolyArray::Outlines::TakeSlabRuns(const std::vector<std::size_t>& edges) {
  auto shape = shapes_.begin();
  for (const std::size_t e : edges) {
    while (e >= shape->first + shape->count) ++shape;
    if (runs_.size() == slabRuns_.back() || runs_.back().shape != shape->shape) {
      runs_.push_back({shape->shape, slabEdges_.size(), 0, -kUnbounded, -kUnbounded});
    }
    const CDPoly::InsideEdge& edge = edges_[e];
    slabEdges_.push_back(edge);
    Run& run = runs_.back();
    ++run.count;
    // As the inside test compares the ends (std::max), a greatest value that is not a number
    // made infinite.
    const double maxY = std::max(edge.a.y, edge.b.y);
    run.maxX = std::max(run.maxX, edge.reach);
    run.maxY = std::max(run.maxY, std::isnan(maxY) ? kUnbounded : maxY);
  }
}

bool CDPolyArray::Outlines::SlabHolds(std::size_t k, double across) const {
  return (k == 0 || bounds_[k - 1] <= across) && (k == bounds_.size() || across < bounds_[k]);
}

// Inline in FindPolygon: every query runs it.
[[gnu::always_inline]] inline CDPolyArray::Outlines::Candidates
CDPolyArray::Outlines::CandidatesFor(const CDPoint& p) const {
  const double across = CDPoly::InsideRay::Across(p);
  if (std::isnan(across)) return {shapes_, edges_.data()};
  if (!SlabHolds(lastSlab_, across)) lastSlab_ = CountAtOrBelow(bounds_, across);
  const std::size_t k = lastSlab_;
  const std::span<const Run> runs(runs_.data() + slabRuns_[k], slabRuns_[k + 1] - slabRuns_[k]);
  return {runs, slabEdges_.data()};
}

CDPoly* CDPolyArray::FindPolygon(const CDPoint* p, const Outlines& outlines) {
  // Outlines of another array, or of this one before it changed, cannot stand for its shapes.
  if (outlines.shapes_.size() != shapes_.size()) return FindPolygon(p);
  constexpr double kMargin = CDPoly::kInsideTestMargin;
  const CDPoly::InsideRay ray(*p);
  const Outlines::Candidates candidates = outlines.CandidatesFor(*p);
  // From the last shape, as the plain search; a shape without a run has no edge that counts.
  for (auto run = candidates.runs.rbegin(); run != candidates.runs.rend(); ++run) {
    // The test would skip every edge: the point lies beyond them to the right or above.
    if (run->maxX < p->x - kMargin || run->maxY < p->y - kMargin) continue;
    if (!ray.CrossesOddly({candidates.edges + run->first, run->count})) continue;
    selected_ = static_cast<int>(run->shape);
    found_ = shapes_[run->shape].get();
    return found_;
  }
  return nullptr;
}

bool CDPolyArray::GetCrossPoint(const CDPoint* p1, const CDPoint* p2, CDPoint* out, bool farthest,
                                double tol) const {
  double best = farthest ? kNoValue : kAreaNotSet;
  bool found = false;
  for (const auto& shape : shapes_) {
    CDPoint cross;
    if (!shape->GetCrossPoint(p1, p2, &cross, tol)) continue;
    found = true;
    const double d = Hypot(*p1, cross);
    if (farthest ? d > best : d < best) {
      best = d;
      *out = cross;
    }
  }
  return found;
}

bool CDPolyArray::IsInPolygon(const CDArc& piece) {
  const CDPoint mid = piece.GetMid(0.5);
  return FindPolygon(&mid) != nullptr;
}

bool CDPolyArray::GetCrossPoint(const CDArc* arc, CDPoint* out, bool fromStart) {
  const auto pieces = arc->CutArc(*this);
  if (pieces.empty()) return false;
  const auto piece = [&pieces](int i) -> const CDArc& {
    return *pieces[static_cast<std::size_t>(i)];
  };
  // The walk never takes the piece at the far end of the arc.
  const int last = static_cast<int>(pieces.size()) - 1;
  if (fromStart) {
    if (!IsInPolygon(piece(0))) {
      *out = piece(0).GetStart();
      return true;
    }
    *out = piece(0).GetEnd();
    for (int i = 1; i < last && IsInPolygon(piece(i)); ++i) *out = piece(i).GetEnd();
  } else {
    if (!IsInPolygon(piece(last))) {
      *out = piece(last).GetEnd();
      return true;
    }
    *out = piece(last).GetStart();
    for (int i = last - 1; i > 0 && IsInPolygon(piece(i)); --i) *out = piece(i).GetStart();
  }
  return true;
}

int CDPolyArray::FirstInOutPoint(const CDPoint* p1, const CDPoint* p2, CDPoint* out) {
  // Every crossing of the segment with any shape, in order from p1, with p1 and p2 themselves.
  CDPoly points;
  for (const auto& shape : shapes_) {
    CDPoly line;
    line.Add(p1->x, p1->y);
    line.Add(p2->x, p2->y);
    line.InsCrossPoint(shape.get(), false);
    if (line.GetSize() <= 2) continue;
    for (const auto& p : line.Points()) points.Add(p);
  }
  points.Sort(*p1);
  points.DelSamePoint(kSamePoint);

  bool previousInside = false;
  for (int j = 0; j + 1 < points.GetSize(); ++j) {
    const CDPoint mid = (*points.GetAt(j) + *points.GetAt(j + 1)) / 2.0;
    const bool inside = FindPolygon(&mid) != nullptr;
    if (j > 0 && inside != previousInside) {
      *out = *points.GetAt(j);
      return previousInside ? 2 : 1;
    }
    previousInside = inside;
  }
  return 0;
}
