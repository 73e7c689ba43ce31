#include "core/circle/ArcSet.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdint>
#include <utility>

#include "core/geometry/ViewInfo.h"
#include "core/section/SpSlideWork.h"
#include "platform/Archive.h"
#include "platform/Canvas.h"

namespace {

const Color kMaskColor = Color::Rgb(220, 220, 220);
const Color kPointColor = Color::Rgb(0, 100, 100);
constexpr int kDotRadius = 3;

// A segment whose ends differ by less than this in x (y) counts as vertical (horizontal).
constexpr double kAxisTolerance = 1e-10;
// How close the end of a trial surface must come to the segment of the segment set.
constexpr double kNearSegment = 0.001;
// The smallest step of the segment set.
constexpr double kMinStep = 1e-13;

bool IsSet(double v) { return v != kNoValue; }

// v lies strictly between a and b, in either order.
bool IsStrictlyBetween(double a, double b, double v) {
  return std::min(a, b) < v && v < std::max(a, b);
}

std::int32_t ReadInt(Archive& ar) {
  std::int32_t v = 0;
  ar >> v;
  return v;
}

void DrawDot(const CViewInfo& view, const CDPoint& p) {
  Canvas& canvas = *view.dc;
  const ScopedPen pen(canvas, Pen{PenStyle::Solid, 2, kPointColor});
  const ScopedBrush brush(canvas, Brush{BrushStyle::Solid, kPointColor});
  const DevPoint d = view.LPtoDP(p);
  canvas.Ellipse({d.x - kDotRadius, d.y - kDotRadius, d.x + kDotRadius, d.y + kDotRadius});
}

// Dots on the points that are set and, when both are, a dotted line between them.
void DrawPointPair(const CViewInfo& view, const CDPoint& a, const CDPoint& b) {
  for (const CDPoint* p : {&a, &b}) {
    if (p->IsValid()) DrawDot(view, *p);
  }
  if (!a.IsValid() || !b.IsValid()) return;
  Canvas& canvas = *view.dc;
  const ScopedCanvasState state(canvas);
  canvas.SelectPen(Pen{PenStyle::Dot, 1, kPointColor});
  canvas.SetBackgroundMode(BackgroundMode::Transparent);
  view.Line(canvas, a.x, a.y, b.x, b.y);
}

}  // namespace

// ---- CArcSet ----

void CArcSet::OnMouseMove(CViewInfo* /*view*/, int /*pointId*/, const CDPoint& /*p*/) {
  drawn_ = true;
}

void CArcSet::SetPointCap(const CDPoint& corner1, const CDPoint& corner2) {
  corner1_ = corner1;
  corner2_ = corner2;
}

void CArcSet::DragRectangle(CViewInfo* view, int pointId, const CDPoint& p) {
  CDPoint* moving = pointId == 0 ? &corner1_ : pointId == 1 ? &corner2_ : nullptr;
  const CDPoint* fixed = pointId == 0 ? &corner2_ : &corner1_;
  if (moving != nullptr && fixed->IsValid()) {
    Canvas& canvas = *view->dc;
    const RasterOp previous = canvas.SetRasterOp(RasterOp::NotXorPen);
    if (drawn_) view->Rectangle(canvas, fixed->x, fixed->y, moving->x, moving->y);
    view->Rectangle(canvas, fixed->x, fixed->y, p.x, p.y);
    canvas.SetRasterOp(previous);
    *moving = p;
  }
  drawn_ = true;
}

// ---- CArcSetRadius ----

CArcSetRadius::CArcSetRadius() { mask.SetPaintColor(kMaskColor); }

void CArcSetRadius::Init() {
  mesh.Init();
  rMin = rMax = rStep = kNoValue;
}

void CArcSetRadius::Store(Archive& ar, int version) const {
  mesh.Store(ar, version);
  for (const double v : GetOwnValues()) ar << v;
  ar << static_cast<std::int32_t>(settingA) << static_cast<std::int32_t>(settingB)
     << static_cast<std::int32_t>(maskOn);
  mask.Store(ar, version);
}

void CArcSetRadius::Load(Archive& ar, int version) {
  CCenterMesh readMesh;
  readMesh.Load(ar, version);
  std::vector<double> values(GetOwnValues().size());
  for (double& v : values) ar >> v;
  const int readA = ReadInt(ar);
  const int readB = ReadInt(ar);
  const int readMaskOn = ReadInt(ar);
  CPolygon readMask;
  readMask.Load(ar, version);

  mesh = readMesh;
  SetOwnValues(values);
  settingA = readA;
  settingB = readB;
  maskOn = readMaskOn;
  mask.CopyPoints(&readMask);
  mask.SetName(readMask.GetName());
  SetFlagByPoly();
}

bool CArcSetRadius::IsValid() const {
  return mesh.IsValid() && IsSet(rMin) && rMin >= 0 && IsSet(rMax) && rMax > 0 && IsSet(rStep) &&
         rStep > 0;
}

void CArcSetRadius::Draw(CViewInfo* view) const { DrawOnlyGrid(view); }

void CArcSetRadius::OnMouseMove(CViewInfo* view, int pointId, const CDPoint& p) {
  DragRectangle(view, pointId, p);
}

std::unique_ptr<CArcSetRadius> CArcSetRadius::NewChild() const {
  return std::make_unique<CArcSetRadius>();
}

bool CArcSetRadius::IsSame(const CArcSetRadius* other) const {
  return other != nullptr && other->WhatKind() == WhatKind() && IsSameSet(*other);
}

bool CArcSetRadius::IsSameSet(const CArcSetRadius& other) const {
  return rMin == other.rMin && rMax == other.rMax && rStep == other.rStep &&
         settingA == other.settingA && settingB == other.settingB && maskOn == other.maskOn &&
         mask.IsSame(&other.mask) && mesh.IsSame(&other.mesh);
}

void CArcSetRadius::CopyExcept(const CArcSetRadius* other) {
  if (other != nullptr && other->WhatKind() == WhatKind()) CopyValues(*other);
}

void CArcSetRadius::CopyValues(const CArcSetRadius& other) {
  mesh = other.mesh;
  SetOwnValues(other.GetOwnValues());
  maskOn = other.maskOn;
  mask.CopyPoints(&other.mask);
}

void CArcSetRadius::CopyStored(const CArcSetRadius* other) {
  if (other == nullptr || other->WhatKind() != WhatKind()) return;
  CopyValues(*other);
  settingA = other->settingA;
  settingB = other->settingB;
  mask.SetName(other->mask.GetName());
}

void CArcSetRadius::DrawOnlyGrid(CViewInfo* view) const {
  mesh.Draw(view);
  if (maskOn != 0) mask.Draw(view, 0, -1, -1);
}

double CArcSetRadius::GetInitialRad(const CDPoint& /*centre*/, double /*groundDistance*/) {
  return rMin != 0 ? rMin - rStep : 0.0;
}

bool CArcSetRadius::GetNextRad(double& r, const CDPoint& /*centre*/, double /*groundDistance*/) {
  if (r >= rMax) return false;
  r = std::min(r + rStep, rMax);
  return true;
}

bool CArcSetRadius::IsSettingValid(int /*flag*/) const {
  return IsSet(rMin) && IsSet(rMax) && IsSet(rStep) && mesh.IsSettingValid();
}

int CArcSetRadius::IsSettingNormal() const {
  if (rMin != rMax && rStep <= 0) return kSettingBadStep;
  if (rMin < 0 || rMax <= 0 || (rMin == rMax && rStep <= 0)) return kSettingBadRadius;
  return mesh.IsSettingNormal();
}

bool CArcSetRadius::IsValidSlide(const CSpSlideWork& /*work*/) const { return true; }

int CArcSetRadius::GetMeshCount() {
  const std::int64_t count = std::int64_t{CountMeshNodes(mesh.x1, mesh.x2, mesh.dx)} *
                             CountMeshNodes(mesh.y1, mesh.y2, mesh.dy);
  return static_cast<int>(std::min<std::int64_t>(count, INT_MAX));
}

void CArcSetRadius::SetFlagByPoly() {
  if (maskOn != 0) {
    mesh.SetFlagByPoly(&mask);
  } else {
    mesh.ResetFlag();
  }
}

std::vector<double> CArcSetRadius::GetOwnValues() const { return {rMin, rMax, rStep}; }

void CArcSetRadius::SetOwnValues(const std::vector<double>& values) {
  rMin = values.at(0);
  rMax = values.at(1);
  rStep = values.at(2);
}

// ---- CArcSetDepth ----

void CArcSetDepth::Init() { rMin = rMax = rStep = kNoValue; }

std::unique_ptr<CArcSetRadius> CArcSetDepth::NewChild() const {
  return std::make_unique<CArcSetDepth>();
}

double CArcSetDepth::GetInitialRad(const CDPoint& /*centre*/, double groundDistance) {
  return rMin != 0 ? groundDistance + rMin - rStep : groundDistance;
}

bool CArcSetDepth::GetNextRad(double& r, const CDPoint& /*centre*/, double groundDistance) {
  r = r + rStep;
  return r <= groundDistance + rMax;
}

// ---- OneCircleThrough ----

double OneCircleThrough::Start(const CDPoint& centre, const CDPoint& point) {
  pending_ = true;
  return GetDistance(centre, point);
}

bool OneCircleThrough::Next(double& r, const CDPoint& centre, const CDPoint& point) {
  if (!pending_) return false;
  r = GetDistance(centre, point);
  pending_ = false;
  return true;
}

// ---- CArcSetPass1 ----

void CArcSetPass1::Init() {
  mesh.Init();
  pass.Init();
}

bool CArcSetPass1::IsValid() const { return mesh.IsValid() && pass.IsValid(); }

void CArcSetPass1::Draw(CViewInfo* view) const {
  DrawOnlyGrid(view);
  if (pass.IsValid()) DrawDot(*view, pass);
}

void CArcSetPass1::OnMouseMove(CViewInfo* view, int pointId, const CDPoint& p) {
  if (GetCaptureMode() != 1) DragRectangle(view, pointId, p);
}

std::unique_ptr<CArcSetRadius> CArcSetPass1::NewChild() const {
  return std::make_unique<CArcSetPass1>();
}

double CArcSetPass1::GetInitialRad(const CDPoint& centre, double /*groundDistance*/) {
  return generator_.Start(centre, pass);
}

bool CArcSetPass1::GetNextRad(double& r, const CDPoint& centre, double /*groundDistance*/) {
  return generator_.Next(r, centre, pass);
}

bool CArcSetPass1::IsSettingValid(int flag) const {
  return (flag != 0 || pass.IsValid()) && mesh.IsSettingValid();
}

std::vector<double> CArcSetPass1::GetOwnValues() const { return {pass.x, pass.y}; }

void CArcSetPass1::SetOwnValues(const std::vector<double>& values) {
  pass.x = values.at(0);
  pass.y = values.at(1);
}

bool CArcSetPass1::IsSameSet(const CArcSetRadius& other) const {
  return CArcSetRadius::IsSameSet(other) && pass == static_cast<const CArcSetPass1&>(other).pass;
}

// ---- CArcSetPass2 ----

void CArcSetPass2::Init() {
  pointA.Init();
  pointB.Init();
  radiusFrom = radiusTo = pitch = kNoValue;
}

void CArcSetPass2::Store(Archive& ar, int /*version*/) const {
  for (const double v : GetOwnValues()) ar << v;
}

void CArcSetPass2::Load(Archive& ar, int /*version*/) {
  std::vector<double> values(GetOwnValues().size());
  for (double& v : values) ar >> v;
  SetOwnValues(values);
}

bool CArcSetPass2::IsValid() const {
  return pointA.IsValid() && pointB.IsValid() && IsSet(radiusFrom) && radiusFrom >= 0 &&
         IsSet(radiusTo) && radiusTo > 0 && IsSet(pitch) && pitch > 0;
}

void CArcSetPass2::Draw(CViewInfo* view) const { DrawPointPair(*view, pointA, pointB); }

void CArcSetPass2::OnMouseMove(CViewInfo* /*view*/, int /*pointId*/, const CDPoint& /*p*/) {}

std::unique_ptr<CArcSetRadius> CArcSetPass2::NewChild() const {
  return std::make_unique<CArcSetPass2>();
}

double CArcSetPass2::GetInitialRad(const CDPoint& centre, double /*groundDistance*/) {
  return generator_.Start(centre, pointA);
}

bool CArcSetPass2::GetNextRad(double& r, const CDPoint& centre, double /*groundDistance*/) {
  return generator_.Next(r, centre, pointA);
}

bool CArcSetPass2::IsSettingValid(int /*flag*/) const {
  return IsSet(pitch) && pointA.IsValid() && pointB.IsValid();
}

int CArcSetPass2::IsSettingNormal() const {
  if (pitch <= 0) return kSettingBadStep;
  if (pointA == pointB) return kSettingSamePoints;
  return kSettingNormal;
}

int CArcSetPass2::GetMeshCount() {
  if (!IsSet(radiusFrom) || !IsSet(radiusTo) || radiusFrom == radiusTo || !(pitch > 0)) return 0;
  if (radiusTo < radiusFrom) std::swap(radiusFrom, radiusTo);
  const double whole = std::trunc((radiusTo - radiusFrom) / pitch);
  return static_cast<int>(std::min(whole, INT_MAX - 1.0)) + 1;
}

std::vector<double> CArcSetPass2::GetOwnValues() const {
  return {pointA.x, pointA.y, pointB.x, pointB.y, radiusFrom, radiusTo, pitch};
}

void CArcSetPass2::SetOwnValues(const std::vector<double>& values) {
  pointA.x = values.at(0);
  pointA.y = values.at(1);
  pointB.x = values.at(2);
  pointB.y = values.at(3);
  radiusFrom = values.at(4);
  radiusTo = values.at(5);
  pitch = values.at(6);
}

bool CArcSetPass2::IsSameSet(const CArcSetRadius& other) const {
  const auto& o = static_cast<const CArcSetPass2&>(other);
  return pointA == o.pointA && pointB == o.pointB && radiusFrom == o.radiusFrom &&
         radiusTo == o.radiusTo && pitch == o.pitch;
}

void CArcSetPass2::CopyValues(const CArcSetRadius& other) {
  const auto& o = static_cast<const CArcSetPass2&>(other);
  pointA = o.pointA;
  pointB = o.pointB;
  radiusFrom = o.radiusFrom;
  radiusTo = o.radiusTo;
  pitch = o.pitch;
}

// ---- CArcSetPass3 ----

void CArcSetPass3::Init() {
  mesh.Init();
  p1.Init();
  p2.Init();
  step = kNoValue;
}

bool CArcSetPass3::IsValid() const {
  return mesh.IsValid() && p1.IsValid() && p2.IsValid() && IsSet(step) && step > kMinStep;
}

void CArcSetPass3::Draw(CViewInfo* view) const {
  DrawOnlyGrid(view);
  if (!view->IsPrint()) DrawPointPair(*view, p1, p2);
}

void CArcSetPass3::OnMouseMove(CViewInfo* view, int pointId, const CDPoint& p) {
  if (GetCaptureMode() != 1) DragRectangle(view, pointId, p);
}

std::unique_ptr<CArcSetRadius> CArcSetPass3::NewChild() const {
  return std::make_unique<CArcSetPass3>();
}

double CArcSetPass3::GetInitialRad(const CDPoint& centre, double /*groundDistance*/) {
  pending_ = true;
  return std::min(GetDistance(centre, p1), GetDistance(centre, p2)) - step;
}

bool CArcSetPass3::GetNextRad(double& r, const CDPoint& centre, double /*groundDistance*/) {
  const double dA = GetDistance(centre, p1);
  const double dB = GetDistance(centre, p2);
  if (pending_) {
    r = dA < dB ? dA : dB;
    pending_ = false;
    return true;
  }
  const double farther = dA > dB ? dA : dB;
  if (r == farther) return false;
  r = std::min(farther, r + step);
  return true;
}

bool CArcSetPass3::IsSettingValid(int /*flag*/) const {
  return IsSet(step) && p1.IsValid() && p2.IsValid() && mesh.IsSettingValid();
}

int CArcSetPass3::IsSettingNormal() const {
  if (mesh.IsSettingNormal() == kSettingIncomplete) return kSettingIncomplete;
  if (step <= 0) return kSettingBadStep;
  if (p1 == p2) return kSettingSamePoints;
  return kSettingNormal;
}

bool CArcSetPass3::IsValidSlide(const CSpSlideWork& work) const {
  CDPoint cross;
  if (work.GetCrossPoint(&p1, &p2, &cross, kNearSegment)) return true;
  if (work.GetSize() == 0) return false;
  return IsNearSegment(*work.GetFirstPt()) || IsNearSegment(*work.GetLastPt());
}

bool CArcSetPass3::IsNearSegment(const CDPoint& q) const {
  if (std::fabs(p1.x - p2.x) < kAxisTolerance) {
    return IsStrictlyBetween(p1.y, p2.y, q.y) && std::fabs(q.x - p1.x) < kNearSegment;
  }
  CDPoint foot(q.x, p1.y);
  if (std::fabs(p1.y - p2.y) >= kAxisTolerance) {
    const double k = (p2.y - p1.y) / (p2.x - p1.x);
    foot.x = (q.y + q.x / k - (p1.y - k * p1.x)) / (k + 1 / k);
    foot.y = p1.y - k * p1.x + k * foot.x;
  }
  return IsStrictlyBetween(p1.x, p2.x, foot.x) && Hypot(q, foot) < kNearSegment;
}

std::vector<double> CArcSetPass3::GetOwnValues() const { return {p1.x, p1.y, p2.x, p2.y, step}; }

void CArcSetPass3::SetOwnValues(const std::vector<double>& values) {
  p1.x = values.at(0);
  p1.y = values.at(1);
  p2.x = values.at(2);
  p2.y = values.at(3);
  step = values.at(4);
}

bool CArcSetPass3::IsSameSet(const CArcSetRadius& other) const {
  const auto& o = static_cast<const CArcSetPass3&>(other);
  return CArcSetRadius::IsSameSet(other) && p1 == o.p1 && p2 == o.p2 && step == o.step;
}
