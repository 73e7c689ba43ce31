#include "core/circle/ArcCondition.h"

#include <cstddef>
#include <cstdint>
#include <utility>

#include "core/base/ArchiveCount.h"
#include "core/geometry/ViewInfo.h"
#include "core/section/SpSlideWork.h"
#include "platform/Archive.h"
#include "platform/Canvas.h"

namespace {

// Record versions of the circle-search condition.
constexpr int kLimitAndLinesVersion = 5;  // the limit and the two line lists
constexpr int kLastVersionWithTail = 8;   // a list of ints, read and dropped, ends the record
constexpr int kDroppedDoubles = 12;       // what stood in place of the limit and the lines

// A trial surface must clear the area test's bounds by this much.
constexpr double kAreaMargin = 0.01;

// A limit's first bound exceeds its second when it does so by more than this.
constexpr double kOrderTolerance = 1e-13;

const Pen kLimitPen{PenStyle::Dot, 1, Color::Rgb(128, 128, 128)};

bool IsSet(double v) { return v != kNoValue; }

std::int32_t ReadInt(Archive& ar) {
  std::int32_t v = 0;
  ar >> v;
  return v;
}

// Whether the surface crosses the segment from a to b.
bool Crosses(const CSpSlideWork& work, const CDLine& line) {
  CDPoint cross;
  return work.GetCrossPoint(&line.start, &line.end, &cross, 0.0);
}

}  // namespace

// ---- CArcLimit ----

void CArcLimit::Store(Archive& ar, int /*version*/) const {
  ar << static_cast<std::int32_t>(xOn) << static_cast<std::int32_t>(yOn) << xMin << xMax << yMin
     << yMax;
}

void CArcLimit::Load(Archive& ar, int /*version*/) {
  CArcLimit read;
  read.xOn = ReadInt(ar);
  read.yOn = ReadInt(ar);
  ar >> read.xMin >> read.xMax >> read.yMin >> read.yMax;
  *this = read;
}

bool CArcLimit::IsSame(const CArcLimit* other) const {
  return xOn == other->xOn && yOn == other->yOn && xMin == other->xMin && xMax == other->xMax &&
         yMin == other->yMin && yMax == other->yMax;
}

bool CArcLimit::IsValid() const {
  const bool xUnbounded = xOn != 0 && !IsSet(xMin) && !IsSet(xMax);
  const bool yUnbounded = yOn != 0 && !IsSet(yMin) && !IsSet(yMax);
  return !xUnbounded && !yUnbounded;
}

void CArcLimit::Draw(CViewInfo* view) const {
  if (!IsValid()) return;
  Canvas& canvas = *view->dc;
  const ScopedPen pen(canvas, kLimitPen);
  if (xOn != 0) {
    for (const double x : {xMin, xMax}) {
      if (IsSet(x)) view->Line(canvas, x, view->ymax, x, view->ymin);
    }
  }
  if (yOn != 0) {
    for (const double y : {yMin, yMax}) {
      if (IsSet(y)) view->Line(canvas, view->xmin, y, view->xmax, y);
    }
  }
}

void CArcLimit::Order() {
  for (auto [low, high] : {std::pair{&xMin, &xMax}, std::pair{&yMin, &yMax}}) {
    if (IsSet(*low) && IsSet(*high) && *low - *high > kOrderTolerance) std::swap(*low, *high);
  }
}

bool CArcLimit::Admits(const CSpSlideWork& work) const {
  if (xOn != 0) {
    if (IsSet(xMin) && xMin > work.Left().x) return false;
    if (IsSet(xMax) && work.Right().x > xMax) return false;
  }
  if (yOn != 0) {
    if (IsSet(yMin) && yMin > work.Bottom().y) return false;
    if (IsSet(yMax) && work.Top().y > yMax) return false;
  }
  return true;
}

// ---- CArcPassLine ----

void CArcPassLine::Init() {
  lines_.Init();
  color_ = kPassColor;
}

void CArcPassLine::Store(Archive& ar, int /*version*/) const {
  lines_.Store(ar);
  ar << color_;
}

void CArcPassLine::Load(Archive& ar, int /*version*/) {
  CDLineArray read;
  read.Load(ar);
  Color colour;
  ar >> colour;
  lines_.Copy(read);
  color_ = colour;
}

void CArcPassLine::Copy(const CArcPassLine* other) {
  lines_.Copy(other->lines_);
  color_ = other->color_;
}

bool CArcPassLine::IsSame(const CArcPassLine* other) const {
  return IsSameUseCale(other) && color_ == other->color_;
}

bool CArcPassLine::IsSameUseCale(const CArcPassLine* other) const {
  return lines_.IsSame(other->lines_);
}

void CArcPassLine::Draw(CViewInfo* view) const {
  const ScopedPen pen(*view->dc, Pen{PenStyle::Solid, 2, color_});
  lines_.Draw(*view);
}

void CArcPassLine::RemoveValidNot() {
  for (int i = lines_.GetSize() - 1; i >= 0; --i) {
    if (!lines_.GetAt(i)->IsValid()) lines_.DeleteAt(i);
  }
}

bool CArcPassLine::IsCrossedByAll(const CSpSlideWork& work) const {
  for (int i = 0; i < lines_.GetSize(); ++i) {
    const CDLine& line = *lines_.GetAt(i);
    if (line.IsValid() && !Crosses(work, line)) return false;
  }
  return true;
}

bool CArcPassLine::IsCrossedByNone(const CSpSlideWork& work) const {
  for (int i = 0; i < lines_.GetSize(); ++i) {
    const CDLine& line = *lines_.GetAt(i);
    if (line.IsValid() && Crosses(work, line)) return false;
  }
  return true;
}

CDLine* CArcPassLine::GetActiveLine() const {
  if (active_ < 0 || active_ >= lines_.GetSize()) return nullptr;
  return lines_.GetAt(active_);
}

void CArcPassLine::OnMouseMove(CViewInfo* view, int pointId, const CDPoint& p) {
  if (const CDLine* line = GetActiveLine()) line->OnMouseMove(*view, pointId, p);
}

void CArcPassLine::ResetMouseMove() {
  if (GetActiveLine() != nullptr) CDLine::ResetMouseMove();
}

// ---- CArcCondition ----

CArcCondition::CArcCondition() { Init(); }

void CArcCondition::Init() {
  kind = kArcSetRadius;
  for (CArcSetRadius* set : Sets()) set->Init();
  limit.Init();
  passLine.Init();
  notPassLine.Init();
  notPassLine.SetColor(CArcPassLine::kNotPassColor);
  curKind_ = kEditNone;
  curPtId_ = 0;
}

std::array<CArcSetRadius*, kArcSetKindCount> CArcCondition::Sets() {
  return {&setRadius, &setDepth, &setPass1, &setPass2, &setPass3};
}

std::array<const CArcSetRadius*, kArcSetKindCount> CArcCondition::Sets() const {
  return {&setRadius, &setDepth, &setPass1, &setPass2, &setPass3};
}

void CArcCondition::Store(Archive& ar, int version) const {
  ar << static_cast<std::int32_t>(kind);
  for (const CArcSetRadius* set : Sets()) set->Store(ar, version);
  limit.Store(ar, version);
  passLine.Store(ar, version);
  notPassLine.Store(ar, version);
}

void CArcCondition::Load(Archive& ar, int version) {
  CArcCondition read;
  read.kind = ReadInt(ar);
  for (CArcSetRadius* set : read.Sets()) set->Load(ar, version);
  const bool hasLimitAndLines = version >= kLimitAndLinesVersion;
  if (hasLimitAndLines) {
    read.limit.Load(ar, version);
    read.passLine.Load(ar, version);
    read.notPassLine.Load(ar, version);
  } else {
    double dropped = 0;
    for (int i = 0; i < kDroppedDoubles; ++i) ar >> dropped;
  }
  if (version <= kLastVersionWithTail) {
    const std::int32_t count = ReadCount(ar, sizeof(std::int32_t), "condition tail count");
    for (std::int32_t i = 0; i < count; ++i) ReadInt(ar);
  }

  if (!hasLimitAndLines) {
    // An old record keeps the limit and the lines as they are.
    read.limit.Copy(&limit);
    read.passLine.Copy(&passLine);
    read.notPassLine.Copy(&notPassLine);
  }
  CopyStored(&read);
}

void CArcCondition::Copy(const CArcCondition* other) {
  kind = other->kind;
  const auto sets = Sets();
  const auto otherSets = other->Sets();
  for (std::size_t i = 0; i < sets.size(); ++i) sets[i]->CopyExcept(otherSets[i]);
  limit.Copy(&other->limit);
  passLine.Copy(&other->passLine);
  notPassLine.Copy(&other->notPassLine);
}

void CArcCondition::CopyStored(const CArcCondition* other) {
  kind = other->kind;
  const auto sets = Sets();
  const auto otherSets = other->Sets();
  for (std::size_t i = 0; i < sets.size(); ++i) sets[i]->CopyStored(otherSets[i]);
  limit.Copy(&other->limit);
  passLine.Copy(&other->passLine);
  notPassLine.Copy(&other->notPassLine);
}

bool CArcCondition::IsSame(const CArcCondition* other) const {
  if (kind != other->kind) return false;
  const auto sets = Sets();
  const auto otherSets = other->Sets();
  for (std::size_t i = 0; i < sets.size(); ++i) {
    if (!sets[i]->IsSame(otherSets[i])) return false;
  }
  return limit.IsSame(&other->limit) && passLine.IsSame(&other->passLine) &&
         notPassLine.IsSame(&other->notPassLine);
}

bool CArcCondition::IsValid() const {
  const CArcSetRadius* set = GetSelectArcSet();
  return set != nullptr && set->IsValid();
}

CArcSetRadius* CArcCondition::GetSelectArcSet() {
  if (kind < 0 || kind >= kArcSetKindCount) return nullptr;
  return Sets()[static_cast<std::size_t>(kind)];
}

const CArcSetRadius* CArcCondition::GetSelectArcSet() const {
  if (kind < 0 || kind >= kArcSetKindCount) return nullptr;
  return Sets()[static_cast<std::size_t>(kind)];
}

void CArcCondition::Draw(CViewInfo* view) const {
  if (const CArcSetRadius* set = GetSelectArcSet()) set->Draw(view);
  limit.Draw(view);
  passLine.Draw(view);
  notPassLine.Draw(view);
}

bool CArcCondition::CheckLimit(const CSpSlideWork& work) const { return limit.Admits(work); }

bool CArcCondition::CheckPassLine(const CSpSlideWork& work) const {
  return passLine.IsCrossedByAll(work);
}

bool CArcCondition::CheckNotPassLine(const CSpSlideWork& work) const {
  return notPassLine.IsCrossedByNone(work);
}

bool CArcCondition::IsAreaInArc(const CSpSlideWork& work, const CDPoint& p1, const CDPoint& p2,
                                const CDPoint& p3, const CDPoint& /*p4*/) const {
  const CSpSlideWork::Extremes extremes = work.GetExtremes();
  if (p1.y + kAreaMargin > extremes.bottom.y) return false;
  if (p2.x + kAreaMargin > extremes.left.x) return false;
  if (extremes.right.x > p3.x - kAreaMargin) return false;
  const CArcSetRadius* set = GetSelectArcSet();
  return set != nullptr && set->IsValidSlide(work);
}

void CArcCondition::OnMouseMove(CViewInfo* view, const CDPoint& p) {
  switch (curKind_) {
    case kEditArcSet:
      if (CArcSetRadius* set = GetSelectArcSet()) set->OnMouseMove(view, curPtId_, p);
      break;
    case kEditPassLine:
      passLine.OnMouseMove(view, curPtId_, p);
      break;
    case kEditNotPassLine:
      notPassLine.OnMouseMove(view, curPtId_, p);
      break;
    default:
      break;
  }
}

void CArcCondition::ResetMouseMove() {
  switch (curKind_) {
    case kEditArcSet:
      if (CArcSetRadius* set = GetSelectArcSet()) set->ResetMouseMove();
      break;
    case kEditPassLine:
      passLine.ResetMouseMove();
      break;
    case kEditNotPassLine:
      notPassLine.ResetMouseMove();
      break;
    default:
      break;
  }
}
