#include "core/geometry/DLine.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <stdexcept>
#include <utility>

#include "core/base/ArchiveCount.h"
#include "core/geometry/ViewInfo.h"
#include "platform/Archive.h"
#include "platform/Canvas.h"

namespace {

// Bytes of one line record: two points of x, y (doubles) and flag (int32).
constexpr std::size_t kLineRecordSize = 2 * (8 + 8 + 4);
// Below this a direction component counts as 0.
constexpr double kAxisTolerance = 1e-13;

void DrawSegment(const CViewInfo& view, const CDPoint& a, const CDPoint& b) {
  view.Line(*view.dc, a.x, a.y, b.x, b.y);
}

}  // namespace

// ---- CDLine ----

void CDLine::Init() {
  start.Init();
  end.Init();
}

void CDLine::SetLine(const CDPoint& from, const CDPoint& to) {
  start = from;
  end = to;
}

bool CDLine::IsSame(const CDLine& other) const { return start == other.start && end == other.end; }

bool CDLine::IsValid() const { return start.IsValid() && end.IsValid(); }

void CDLine::Store(Archive& ar) const {
  start.Store(ar);
  end.Store(ar);
}

void CDLine::Load(Archive& ar) {
  CDLine loaded;
  loaded.start.Load(ar);
  loaded.end.Load(ar);
  *this = loaded;
}

CDPoint CDLine::GetMiddlePoint() const {
  if (!IsValid()) return {};
  return (start + end) / 2.0;
}

double CDLine::GetX(double y) const {
  // The start counts as the lower end when both ends have the same height.
  const bool startIsLower = start.y <= end.y;
  const CDPoint& lower = startIsLower ? start : end;
  const CDPoint& upper = startIsLower ? end : start;
  if (y == lower.y) return lower.x;
  if (y == upper.y) return upper.x;
  if (!(lower.y < y && y < upper.y)) return kNoValue;
  if (lower.x == upper.x) return lower.x;
  double a = 0;
  double b = 0;
  GetEquation(a, b);
  return (y - b) / a;
}

double CDLine::GetY(double x) const {
  // The start counts as the left end when both ends have the same x.
  const bool startIsLeft = start.x <= end.x;
  const CDPoint& left = startIsLeft ? start : end;
  const CDPoint& right = startIsLeft ? end : start;
  if (x == left.x) return left.y;
  if (x == right.x) return right.y;
  if (!(left.x < x && x < right.x)) return kNoValue;
  double a = 0;
  double b = 0;
  GetEquation(a, b);
  return a * x + b;
}

void CDLine::GetEquation(double& a, double& b) const {
  a = (end.y - start.y) / (end.x - start.x);
  b = start.y - a * start.x;
}

void CDLine::Draw(const CViewInfo& view) const {
  if (IsValid()) DrawSegment(view, start, end);
}

void CDLine::OnMouseMove(const CViewInfo& view, int which, const CDPoint& p) const {
  const CDPoint* anchor = which == 0 ? &end : which == 1 ? &start : nullptr;
  if (anchor != nullptr) {
    view.dc->SetRasterOp(RasterOp::NotXorPen);
    if (anchor->IsValid()) {
      if (bMovCap) DrawSegment(view, *anchor, ptCap);
      DrawSegment(view, *anchor, p);
    }
  }
  ptCap = p;
  bMovCap = true;
}

void CDLine::ResetMouseMove() {
  bMovCap = false;
  ptCap = CDPoint();
}

// ---- CDLineArray ----

CDLineArray::CDLineArray(const CDLineArray& other) { AddLine(other); }

CDLine* CDLineArray::GetAt(int index) const {
  if (index < 0 || index >= GetSize()) throw std::out_of_range("CDLineArray: index out of range");
  return lines_[static_cast<std::size_t>(index)].get();
}

void CDLineArray::Store(Archive& ar) const {
  ar << static_cast<std::int32_t>(lines_.size());
  for (const auto& line : lines_) line->Store(ar);
}

void CDLineArray::Load(Archive& ar) {
  const std::int32_t count = ReadCount(ar, kLineRecordSize, "line count");
  std::vector<std::unique_ptr<CDLine>> loaded;
  loaded.reserve(static_cast<std::size_t>(count));
  for (std::int32_t i = 0; i < count; ++i) {
    auto line = std::make_unique<CDLine>();
    line->Load(ar);
    loaded.push_back(std::move(line));
  }
  lines_.insert(lines_.end(), std::make_move_iterator(loaded.begin()),
                std::make_move_iterator(loaded.end()));
}

void CDLineArray::Copy(const CDLineArray& other) {
  if (&other == this) return;
  Init();
  AddLine(other);
}

bool CDLineArray::IsSame(const CDLineArray& other) const {
  return std::equal(lines_.begin(), lines_.end(), other.lines_.begin(), other.lines_.end(),
                    [](const auto& a, const auto& b) { return a->IsSame(*b); });
}

bool CDLineArray::IsValid() const {
  return std::all_of(lines_.begin(), lines_.end(), [](const auto& l) { return l->IsValid(); });
}

void CDLineArray::AddLine(double x1, double y1, double x2, double y2) {
  AddLine(CDPoint(x1, y1), CDPoint(x2, y2));
}

void CDLineArray::AddLine(const CDPoint& from, const CDPoint& to) {
  lines_.push_back(std::make_unique<CDLine>(from, to));
}

void CDLineArray::AddLine(const CDLineArray& other) {
  // Counted first, so that appending a list to itself copies each line once.
  const std::size_t count = other.lines_.size();
  lines_.reserve(lines_.size() + count);
  for (std::size_t i = 0; i < count; ++i) {
    lines_.push_back(std::make_unique<CDLine>(*other.lines_[i]));
  }
}

void CDLineArray::DeleteAt(int index) {
  if (index < 0 || index >= GetSize()) throw std::out_of_range("CDLineArray: index out of range");
  lines_.erase(lines_.begin() + index);
}

void CDLineArray::Draw(const CViewInfo& view) const {
  for (const auto& line : lines_) line->Draw(view);
}

// ---- CDLineVector ----

CDLineVector::CDLineVector(const CDPoint* a, const CDPoint* b) {
  if (a == nullptr) return;
  SetLinePoint(CDPoint(a->x, a->y), b != nullptr ? *b : CDPoint());
}

void CDLineVector::SetLinePoint(const CDPoint& a, const CDPoint& b) {
  if (!a.IsValid()) return;
  start_ = a;
  if (b.IsValid()) direction_ = b - a;
}

void CDLineVector::SetLineVector(const CDPoint& start, const CDPoint& direction) {
  start_ = start;
  direction_ = direction;
}

void CDLineVector::Init() {
  start_.Init();
  direction_.Init();
}

void CDLineVector::Store(Archive& ar) const {
  start_.Store(ar);
  direction_.Store(ar);
}

void CDLineVector::Load(Archive& ar) {
  CDLineVector loaded;
  loaded.start_.Load(ar);
  loaded.direction_.Load(ar);
  *this = loaded;
}

bool CDLineVector::IsSame(const CDLineVector& other) const {
  return start_ == other.start_ && direction_ == other.direction_;
}

bool CDLineVector::IsValid() const {
  return start_.IsValid() && direction_.IsValid() && direction_.GetVecSize() >= 1e-9;
}

CDPoint CDLineVector::GetEndPoint() const {
  if (!start_.IsValid() || !direction_.IsValid()) return {};
  return start_ + direction_;
}

CDPoint CDLineVector::GetMiddlePoint() const {
  if (!IsValid()) return {};
  return (start_ + GetEndPoint()) / 2.0;
}

CDPoint CDLineVector::GetDistancePoint(double d) const {
  if (!IsValid()) return {};
  return start_ + direction_.GetVecUnit() * d;
}

CDPoint CDLineVector::GetParameterPoint(double t) const {
  if (!IsValid()) return {};
  return start_ + direction_ * t;
}

CDLineVector CDLineVector::GetNormalLines(const CDPoint& p) const {
  CDLineVector normal;
  if (!IsValid()) return normal;
  const CDPoint unit = direction_.GetVecUnit();
  normal.SetLineVector(p, CDPoint(-unit.y, unit.x));
  return normal;
}

double CDLineVector::GetLength() const {
  if (!IsValid()) return 0;
  return direction_.GetVecSize();
}

double CDLineVector::GetX(double y) const {
  if (std::fabs(direction_.y) < kAxisTolerance || y == kNoValue) return kNoValue;
  return start_.x + (y - start_.y) / direction_.y * direction_.x;
}

double CDLineVector::GetY(double x) const {
  if (std::fabs(direction_.x) < kAxisTolerance || x == kNoValue) return kNoValue;
  return start_.y + (x - start_.x) / direction_.x * direction_.y;
}

double CDLineVector::GetAngle() const {
  const double length = GetLength();
  if (length == 0) return 0;
  const double angle = std::acos(std::clamp(direction_.x / length, -1.0, 1.0));
  return direction_.y < 0 ? -angle : angle;
}

bool CDLineVector::IsHorizon() const {
  return IsValid() && std::fabs(direction_.y) < kAxisTolerance;
}

bool CDLineVector::IsVertical() const {
  return IsValid() && std::fabs(direction_.x) < kAxisTolerance;
}

bool CDLineVector::IsOnline(const CDPoint& p, double tol) const {
  if (!IsValid()) return false;
  if (tol == 0) tol = 1e-9;
  const CDPoint v = p - start_;
  const double dx = direction_.x;
  const double dy = direction_.y;
  // Along an axis-parallel line: the offset across it within tol, the offset along it inside
  // the segment widened by tol.
  const auto withinSpan = [tol](double along, double across, double span) {
    if (std::fabs(across) > tol) return false;
    return along >= std::min(0.0, span) - tol - kAxisTolerance &&
           along <= std::max(0.0, span) + tol + kAxisTolerance;
  };
  if (std::fabs(dy) < kAxisTolerance) return withinSpan(v.x, v.y, dx);
  if (std::fabs(dx) < kAxisTolerance) return withinSpan(v.y, v.x, dy);
  const double t = v.x / dx;
  return std::fabs(t - v.y / dy) <= tol && t >= -kAxisTolerance && t <= 1 + kAxisTolerance;
}
