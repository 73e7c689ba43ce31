// CDPoly: construction, the point list, the shape record and the simple queries.

#include "core/geometry/DPoly.h"

#include <algorithm>
#include <cstdint>
#include <stdexcept>
#include <utility>

#include "core/base/ArchiveCount.h"
#include "core/base/Constants.h"
#include "core/base/InputRange.h"
#include "core/geometry/RecordCheck.h"
#include "platform/Archive.h"
#include "platform/NumberText.h"

namespace {

void RequirePoint(const std::shared_ptr<CDPoint>& p) {
  if (!p) throw std::out_of_range("CDPoly: a null point cannot be added");
}

std::shared_ptr<CDPoint> CopyOf(const CDPoint& p) { return std::make_shared<CDPoint>(p); }

// Copies of the n values valueAt(0..n-1), living in one block that each of them shares: one
// allocation for a shape's points.
template <class ValueAt>
CDPoly::PointList PointsInOneBlock(std::size_t n, ValueAt valueAt) {
  CDPoly::PointList copies;
  copies.reserve(n);
  if (n > 0) {
    const std::shared_ptr<CDPoint[]> block = std::make_shared<CDPoint[]>(n);
    for (std::size_t i = 0; i < n; ++i) {
      block[i] = valueAt(i);
      copies.emplace_back(block, &block[i]);
    }
  }
  return copies;
}

}  // namespace

// ---- Point list ----

int CDPoly::Add(const CDPoint& p) { return Add(p.x, p.y); }

int CDPoly::Add(double x, double y) { return Add(std::make_shared<CDPoint>(x, y)); }

int CDPoly::Add(std::shared_ptr<CDPoint> p) {
  RequirePoint(p);
  points_.push_back(std::move(p));
  return GetSize() - 1;
}

// A reference, not a copy: the vertex lookups of the geometry queries are hot, and a copy of the
// shared pointer would touch its reference count twice per lookup.
const std::shared_ptr<CDPoint>& CDPoly::CheckedPoint(int index) const {
  if (index < 0 || index >= GetSize()) throw std::out_of_range("CDPoly: point index out of range");
  return points_[static_cast<std::size_t>(index)];
}

CDPoint* CDPoly::GetAt(int index) const { return CheckedPoint(index).get(); }

std::shared_ptr<CDPoint> CDPoly::GetShared(int index) const { return CheckedPoint(index); }

void CDPoly::SetAt(int index, std::shared_ptr<CDPoint> p) {
  if (index < 0 || index >= GetSize()) throw std::out_of_range("CDPoly: point index out of range");
  RequirePoint(p);
  points_[static_cast<std::size_t>(index)] = std::move(p);
}

void CDPoly::InsertAt(int index, std::shared_ptr<CDPoint> p) {
  if (index < 0 || index > GetSize()) throw std::out_of_range("CDPoly: insert index out of range");
  RequirePoint(p);
  points_.insert(points_.begin() + index, std::move(p));
}

void CDPoly::RemoveAt(int index) {
  if (index < 0) throw std::out_of_range("CDPoly: point index out of range");
  if (index >= GetSize()) return;
  points_.erase(points_.begin() + index);
}

void CDPoly::DeleteAll() { points_.clear(); }

void CDPoly::ReleasePoints(PointList& spares) {
  for (auto& p : points_) {
    if (p.use_count() == 1) spares.push_back(std::move(p));
  }
  points_.clear();
}

CDPoint* CDPoly::GetFirstPt() const { return points_.empty() ? nullptr : points_.front().get(); }

CDPoint* CDPoly::GetLastPt() const { return points_.empty() ? nullptr : points_.back().get(); }

void CDPoly::InitPointFlag(int flag) {
  for (const auto& p : points_) p->flag = flag;
}

void CDPoly::CopyPoints(const CDPoly* other) {
  const PointList& from = other->points_;
  points_ = PointsInOneBlock(from.size(), [&from](std::size_t i) { return *from[i]; });
}

void CDPoly::CopyPoints(std::span<const CDPoint> values) {
  points_ = PointsInOneBlock(values.size(), [values](std::size_t i) { return values[i]; });
}

void CDPoly::AssignPoints(const CDPoly& other) {
  if (&other == this) return;
  const std::size_t n = other.points_.size();
  if (points_.size() > n) points_.resize(n);
  for (std::size_t i = 0; i < n; ++i) {
    const CDPoint& value = *other.points_[i];
    if (i == points_.size()) {
      points_.push_back(CopyOf(value));
    } else if (points_[i].use_count() == 1) {
      *points_[i] = value;
    } else {
      points_[i] = CopyOf(value);
    }
  }
}

std::unique_ptr<CDPoly> CDPoly::RevCopy() const {
  auto copy = std::make_unique<CDPoly>();
  for (auto it = points_.rbegin(); it != points_.rend(); ++it) copy->Add(CopyOf(**it));
  return copy;
}

std::unique_ptr<CDPoly> CDPoly::PlainCopy() const {
  auto copy = std::make_unique<CDPoly>();
  copy->name_ = name_;
  copy->CopyPoints(this);
  if (WhatKind() == kKindSlideWork) copy->InitPointFlag(0);
  return copy;
}

// ---- Record ----

void CDPoly::Store(Archive& ar, int /*version*/) const {
  ar.WriteString(name_);
  ar << static_cast<std::int32_t>(points_.size());
  for (const auto& p : points_) ar << p->x << p->y;
}

void CDPoly::Load(Archive& ar, int /*version*/) {
  std::string name = ar.ReadString();
  const std::int32_t count = ReadCount(ar, 2 * sizeof(double), "polyline point count");
  PointList read;
  read.reserve(static_cast<std::size_t>(count));
  for (std::int32_t i = 0; i < count; ++i) {
    auto p = std::make_shared<CDPoint>();
    ar >> p->x >> p->y;
    p->flag = 0;
    read.push_back(std::move(p));
  }
  record_check::RequirePoints("polyline record", read);
  name_ = std::move(name);
  points_.insert(points_.end(), std::make_move_iterator(read.begin()),
                 std::make_move_iterator(read.end()));
}

// ---- Virtual operations ----

void CDPoly::ChangeValid() {
  for (const auto& p : points_) {
    p->x = RoundInRange(p->x, -kCoordinateLimit, kCoordinateLimit, kRoundCodeX);
    p->y = RoundInRange(p->y, -kCoordinateLimit, kCoordinateLimit, kRoundCodeY);
  }
}

void CDPoly::SetProperty(const CDPoly* other) {
  if (other != nullptr) name_ = other->name_;
}

CDPoint CDPoly::Left() const {
  CDPoint result(kAreaNotSet, kNoValue);
  for (const auto& p : points_) {
    if (p->x < result.x || (p->x == result.x && p->y > result.y)) result = CDPoint(p->x, p->y);
  }
  return result;
}

CDPoint CDPoly::Right() const {
  CDPoint result(kNoValue, kNoValue);
  for (const auto& p : points_) {
    if (p->x > result.x || (p->x == result.x && p->y > result.y)) result = CDPoint(p->x, p->y);
  }
  return result;
}

CDPoint CDPoly::Bottom() const {
  CDPoint result(kNoValue, kAreaNotSet);
  for (const auto& p : points_) {
    if (p->y < result.y) result = CDPoint(p->x, p->y);
  }
  return result;
}

CDPoint CDPoly::Top() const {
  CDPoint result(kNoValue, kNoValue);
  for (const auto& p : points_) {
    if (p->y > result.y) result = CDPoint(p->x, p->y);
  }
  return result;
}

void CDPoly::DelSpacePoint() {
  std::erase_if(points_, [](const auto& p) { return p->x == kNoValue || p->y == kNoValue; });
}

bool CDPoly::IsRightUpper() const {
  const int n = GetSize();
  if (n < 2) return true;
  // Skip a vertical run at either end: the ends that count are where the line leaves it.
  int s = 0;
  while (s + 1 <= n - 2 && points_[s + 1]->x == points_[s]->x) ++s;
  int r = n - 1;
  while (r - 1 >= 2 && points_[r - 1]->x == points_[r]->x) --r;
  const CDPoint& start = *points_[s];
  const CDPoint& end = *points_[r];
  return (start.x < end.x && start.y < end.y) || (start.x > end.x && end.y < start.y);
}

std::unique_ptr<CDPoly> CDPoly::Copy() const {
  auto copy = CreateNewElement(WhatKind());
  // A subclass whose kind the factory does not know overrides Copy; never hand out null.
  if (!copy) copy = std::make_unique<CDPoly>();
  copy->name_ = name_;
  copy->CopyPoints(this);
  return copy;
}

void CDPoly::LeftToRight() {
  if (GetSize() >= 2 && points_.back()->x <= points_.front()->x) Reverse();
}

void CDPoly::Reverse() {
  // The contents move, the point objects stay where they are.
  const std::size_t n = points_.size();
  for (std::size_t i = 0; i < n / 2; ++i) std::swap(*points_[i], *points_[n - 1 - i]);
}

bool CDPoly::CompareCoord(const CDPoly* other) const {
  if (other == nullptr || other->GetSize() != GetSize()) return false;
  for (std::size_t i = 0; i < points_.size(); ++i) {
    if (points_[i]->x != other->points_[i]->x || points_[i]->y != other->points_[i]->y) {
      return false;
    }
  }
  return true;
}

bool CDPoly::IsSame(const CDPoly* other) const {
  if (other == nullptr || other->GetSize() != GetSize()) return false;
  for (std::size_t i = 0; i < points_.size(); ++i) {
    if (*points_[i] != *other->points_[i]) return false;
  }
  return true;
}

// ---- Simple queries ----

void CDPoly::RangeX(double& xmin, double& xmax) const {
  double ymax = 0;
  double ymin = 0;
  RangeRect(xmin, xmax, ymax, ymin);
}

void CDPoly::RangeY(double& ymax, double& ymin) const {
  double xmin = 0;
  double xmax = 0;
  RangeRect(xmin, xmax, ymax, ymin);
}

bool CDPoly::RangeRect(double& xmin, double& xmax, double& ymax, double& ymin) const {
  xmin = xmax = ymax = ymin = kNoValue;
  bool anyX = false;
  bool anyY = false;
  for (const auto& p : points_) {
    if (p->x != kNoValue) {
      xmin = anyX ? std::min(xmin, p->x) : p->x;
      xmax = anyX ? std::max(xmax, p->x) : p->x;
      anyX = true;
    }
    if (p->y != kNoValue) {
      ymin = anyY ? std::min(ymin, p->y) : p->y;
      ymax = anyY ? std::max(ymax, p->y) : p->y;
      anyY = true;
    }
  }
  return anyX && anyY;
}

bool CDPoly::IsLeftToRight() const {
  return GetSize() < 2 || points_.back()->x > points_.front()->x;
}

double CDPoly::GetArea() const {
  double sum = 0;
  for (std::size_t i = 0; i + 1 < points_.size(); ++i) {
    const CDPoint& a = *points_[i];
    const CDPoint& b = *points_[i + 1];
    sum += (b.y + a.y) * (a.x - b.x);
  }
  return 0.5 * sum;
}

double CDPoly::GetLength() const {
  double length = 0;
  for (std::size_t i = 0; i + 1 < points_.size(); ++i)
    length += Hypot(*points_[i], *points_[i + 1]);
  return length;
}

double CDPoly::GetAverageY() const {
  double sum = 0;
  for (const auto& p : points_) sum += p->y;
  if (points_.empty() || sum == 0) return 0;
  return sum / static_cast<double>(points_.size());
}

int CDPoly::FindJustPoint(const CDPoint* p) const {
  for (int i = 0; i < GetSize(); ++i) {
    if (*points_[i] == *p) return i;
  }
  return -1;
}

int CDPoly::FindJustPointStr(const CDPoint* p) const {
  const std::string x = FormatFixed(p->x, 3);
  const std::string y = FormatFixed(p->y, 3);
  for (int i = 0; i < GetSize(); ++i) {
    if (FormatFixed(points_[i]->x, 3) == x && FormatFixed(points_[i]->y, 3) == y) return i;
  }
  return -1;
}

int CDPoly::MoveAtSamePoint(const CDPoint& from, const CDPoint& to) {
  int moved = 0;
  for (const auto& p : points_) {
    if (*p == from) {
      *p = to;
      ++moved;
    }
  }
  return moved;
}

void CDPoly::ShiftShape(double dx, double dy) {
  for (const auto& p : points_) {
    p->x += dx;
    p->y += dy;
  }
}

void CDPoly::RotateShape(double cx, double cy, double angle) {
  const CDPoint centre(cx, cy);
  for (const auto& p : points_) Rotate(*p, angle, centre);
}
