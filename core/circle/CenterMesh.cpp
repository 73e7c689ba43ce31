#include "core/circle/CenterMesh.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>

#include "core/geometry/DPoly.h"
#include "core/geometry/RecordCheck.h"
#include "core/geometry/ViewInfo.h"
#include "platform/Archive.h"
#include "platform/Canvas.h"

namespace {

// The end of a range gets a node of its own when it lies farther than this beyond the last whole
// pitch.
constexpr double kEndTolerance = 0.001;
// Whole pitches beyond this would overflow the node count.
constexpr double kMaxWholePitches = INT_MAX - 2.0;
// A mask needs at least a triangle.
constexpr int kMinMaskPoints = 3;

const Pen kMeshPen{PenStyle::Solid, 1, Color::Rgb(180, 180, 180)};
const Brush kNoFill{BrushStyle::Null, Color{}};

bool IsSet(double v) { return v != kNoValue; }

// A non-empty range needs a positive pitch.
bool IsUsablePitch(double from, double to, double pitch) { return from == to || pitch > 0; }

// The closed outline of the rectangle with the corners a and c, from a through (a.x, c.y), c and
// (c.x, a.y) back to a.
void DrawOutline(const CViewInfo& view, const CDPoint& a, const CDPoint& c) {
  view.dc->Polyline({view.LPtoDP(a), view.LPtoDP(CDPoint(a.x, c.y)), view.LPtoDP(c),
                     view.LPtoDP(CDPoint(c.x, a.y)), view.LPtoDP(a)});
}

}  // namespace

int CountMeshNodes(double from, double to, double pitch) {
  if (!IsSet(from) || !IsSet(to) || !IsSet(pitch)) return 0;
  if (from == to) return 1;
  if (!(pitch > 0)) return 0;
  const double lo = std::min(from, to);
  const double hi = std::max(from, to);
  const double whole = std::trunc((hi - lo) / pitch);
  if (!(whole <= kMaxWholePitches)) return 0;
  const double beyondLast = std::fabs(hi - (lo + whole * pitch));
  return static_cast<int>(whole) + (beyondLast > kEndTolerance ? 2 : 1);
}

void CCenterMesh::Init() { x1 = x2 = dx = y1 = y2 = dy = kNoValue; }

void CCenterMesh::Store(Archive& ar, int /*version*/) const {
  ar << x1 << x2 << dx << y1 << y2 << dy;
}

void CCenterMesh::Load(Archive& ar, int /*version*/) {
  double v[6];
  for (double& value : v) ar >> value;
  const std::int64_t nodes =
      std::int64_t{CountMeshNodes(v[0], v[1], v[2])} * CountMeshNodes(v[3], v[4], v[5]);
  if (nodes > kMaxCenterMeshNodes) {
    record_check::Refuse("centre mesh", std::to_string(nodes) + " nodes, more than " +
                                            std::to_string(kMaxCenterMeshNodes));
  }
  x1 = v[0];
  x2 = v[1];
  dx = v[2];
  y1 = v[3];
  y2 = v[4];
  dy = v[5];
  ResetFlag();
}

bool CCenterMesh::IsSame(const CCenterMesh* other) const {
  return x1 == other->x1 && x2 == other->x2 && dx == other->dx && y1 == other->y1 &&
         y2 == other->y2 && dy == other->dy;
}

bool CCenterMesh::IsValid() const { return IsSettingValid() && dx > 0 && dy > 0; }

bool CCenterMesh::IsSettingValid() const {
  return IsSet(x1) && IsSet(x2) && IsSet(dx) && IsSet(y1) && IsSet(y2) && IsSet(dy);
}

int CCenterMesh::IsSettingNormal() const {
  if (!IsSettingValid() || !IsUsablePitch(x1, x2, dx) || !IsUsablePitch(y1, y2, dy)) {
    return kSettingIncomplete;
  }
  return kSettingNormal;
}

void CCenterMesh::Normalize() {
  if (IsSet(x1) && IsSet(x2) && x2 < x1) std::swap(x1, x2);
  if (IsSet(y1) && IsSet(y2) && y2 < y1) std::swap(y1, y2);
}

std::int64_t CCenterMesh::CountNodes() const {
  return std::int64_t{CountMeshNodes(x1, x2, dx)} * CountMeshNodes(y1, y2, dy);
}

void CCenterMesh::ResetFlag() {
  const int nx = CountMeshNodes(x1, x2, dx);
  const int ny = CountMeshNodes(y1, y2, dy);
  if (nx == 0 || ny == 0 || CountNodes() > kMaxCenterMeshNodes) return;
  flags_.assign(static_cast<std::size_t>(nx) * static_cast<std::size_t>(ny), 1);
  nx_ = nx;
  ny_ = ny;
}

void CCenterMesh::SetFlagByPoly(const CDPoly* mask) {
  ResetFlag();
  if (mask == nullptr || mask->GetSize() < kMinMaskPoints) return;
  for (int r = 0; r < ny_; ++r) {
    for (int c = 0; c < nx_; ++c) {
      const CDPoint position = IndexToPosition(c, r);
      SetFlag(c, r, mask->PolyRgn(&position) ? 1 : 0);
    }
  }
}

bool CCenterMesh::IsInside(int col, int row) const {
  return 0 <= col && col < nx_ && 0 <= row && row < ny_;
}

std::size_t CCenterMesh::FlagIndex(int col, int row) const {
  return static_cast<std::size_t>(col) +
         static_cast<std::size_t>(row) * static_cast<std::size_t>(nx_);
}

int CCenterMesh::SetFlag(int col, int row, int value) {
  if (!IsInside(col, row)) return 0;
  flags_[FlagIndex(col, row)] = value;
  return 1;
}

int CCenterMesh::GetFlag(int col, int row) const {
  if (!IsInside(col, row)) return kOutside;
  return flags_[FlagIndex(col, row)];
}

CDPoint CCenterMesh::IndexToPosition(int col, int row) const {
  return CDPoint(std::min(x1 + col * dx, x2), std::min(y1 + row * dy, y2), 0);
}

void CCenterMesh::Draw(CViewInfo* view) const {
  Canvas& canvas = *view->dc;
  const ScopedPen pen(canvas, kMeshPen);
  const ScopedBrush brush(canvas, kNoFill);
  const bool rangeSet = IsSet(x1) && IsSet(x2) && IsSet(y1) && IsSet(y2);
  if (rangeSet && (!(dx > 0) || !(dy > 0))) DrawOutline(*view, CDPoint(x1, y1), CDPoint(x2, y2));
  for (int r = 0; r + 1 < ny_; ++r) {
    for (int c = 0; c + 1 < nx_; ++c) {
      if (IsActive(c, r) && IsActive(c + 1, r) && IsActive(c, r + 1) && IsActive(c + 1, r + 1)) {
        DrawOutline(*view, IndexToPosition(c, r), IndexToPosition(c + 1, r + 1));
      }
    }
  }
}
