// CSpWater: the record, drawing, copying and the fitting of a water line to the ground.

#include "core/section/SpWater.h"

#include <cstdint>

#include "core/base/Constants.h"
#include "core/geometry/ViewInfo.h"
#include "core/section/SpGround.h"
#include "platform/Archive.h"

namespace {

constexpr int kCrossOnBoth = 3;  // CrossLL: the crossing lies on both segments
// Fitted heights and crossings are kept to the millimetre.
constexpr double kFitPitch = 0.001;
// A water segment is lengthened by this much at both ends, so that a crossing at one of its
// vertices is found.
constexpr double kStretch = 0.001;

// With to == -1 only the vertex `from` gets the large handle, otherwise the vertices from..to.
bool IsLargeHandle(int index, int from, int to) {
  return to == -1 ? index == from : (from <= index && index <= to);
}

std::unique_ptr<CDPoly> LeftToRightCopy(const CDPoly& line) {
  auto copy = std::make_unique<CDPoly>();
  copy->CopyPoints(&line);
  copy->LeftToRight();
  return copy;
}

// The first height of the line over x, or kNoValue.
double FirstHeight(const CDPoly& line, double x) {
  int segment = 0;
  double y = kNoValue;
  return line.GetNextY(x, &segment, y) ? y : kNoValue;
}

// Inserts (x, y) before the first point with a greater x or, with beforeSameX, before the first
// point whose x is not smaller.
void InsertByX(CDPoly& line, double x, double y, bool beforeSameX) {
  int i = 0;
  while (i < line.GetSize() && (beforeSameX ? line.GetAt(i)->x < x : line.GetAt(i)->x <= x)) ++i;
  line.InsertAt(i, std::make_shared<CDPoint>(x, y));
}

// Adds every crossing of a ground segment with a (lengthened) water segment to the fitted line.
void InsertCrossings(CDPoly& fitted, const CDPoly& ground, const CDPoly& water) {
  for (int i = 0; i + 1 < ground.GetSize(); ++i) {
    const CDPoint* g1 = ground.GetAt(i);
    const CDPoint* g2 = ground.GetAt(i + 1);
    // On a vertical ground step the crossing lies between the step's ends in walking order: a
    // falling step's lower end is already in the line at the same x, so the crossing goes before
    // it; a rising step's lower end comes before the crossing.
    const bool fallingStep = g1->x == g2->x && g2->y < g1->y;
    for (int k = 0; k + 1 < water.GetSize(); ++k) {
      const CDPoint* w1 = water.GetAt(k);
      const CDPoint* w2 = water.GetAt(k + 1);
      const CDPoint start = StretchPrimitive(w2, w1, kStretch);
      const CDPoint end = StretchPrimitive(w1, w2, kStretch);
      CDPoint cross;
      if (CrossLL(0.0, g1, g2, &start, &end, &cross) != kCrossOnBoth) continue;
      InsertByX(fitted, RoundOff(cross.x, kFitPitch), RoundOff(cross.y, kFitPitch), fallingStep);
    }
  }
}

}  // namespace

CSpWater::CSpWater() : CDPoly(kKindWater), color_(kBlue) { SetName("水位"); }

void CSpWater::Store(Archive& ar, int version) const {
  ar << color_;
  CDPoly::Store(ar, version);
}

void CSpWater::Load(Archive& ar, int version) {
  Color color;
  ar >> color;
  // The polyline record is read whole before the line changes; the colour follows it.
  CDPoly::Load(ar, version);
  color_ = color;
}

void CSpWater::Draw(CViewInfo* view, int bold, int from, int to) const {
  if (GetSize() == 0) return;
  Canvas& canvas = *view->dc;
  const ScopedCanvasState restore(canvas);
  canvas.SelectPen(Pen{penStyle_, bold != 0 ? 2 : 1, color_});
  canvas.SetBackgroundMode(BackgroundMode::Transparent);
  CDPoly::DrawSimpleShape(view);
  for (int i = 0; i < GetSize(); ++i) {
    const CDPoint& p = *GetAt(i);
    if (p.IsValid()) view->Point(canvas, p, IsLargeHandle(i, from, to));
  }
}

std::unique_ptr<CDPoly> CSpWater::Copy() const {
  auto copy = std::make_unique<CSpWater>();
  copy->SetName(GetName());
  copy->CopyWater(this);
  return copy;
}

void CSpWater::CopyWater(const CSpWater* other) {
  CopyPoints(other);
  color_ = other->color_;
  penStyle_ = other->penStyle_;
}

bool CSpWater::IsPoolGround(const CSpGround* ground) const {
  if (GetSize() < 2 || ground == nullptr) return false;
  for (int i = 0; i + 1 < ground->GetSize(); ++i) {
    CDPoint cross;
    if (CheckCross(ground->GetAt(i), ground->GetAt(i + 1), cross, 0.0)) return true;
  }
  const CDPoint& middle = *GetAt(GetSize() / 2);
  const double groundY = ground->GetY(middle.x);
  return groundY != kNoValue && groundY < middle.y;
}

bool CSpWater::CreateFitWater(const CSpGround* ground, const CSpWater* water) {
  if (ground == nullptr || water == nullptr) return false;
  const auto groundLine = LeftToRightCopy(*ground);
  const auto waterLine = LeftToRightCopy(*water);
  CDPoly fitted;
  bool changed = false;
  // Water above the ground comes down onto it.
  for (const auto& p : waterLine->Points()) {
    const double groundY = FirstHeight(*groundLine, p->x);
    if (groundY != kNoValue && groundY < p->y) {
      fitted.Add(p->x, RoundOff(groundY, kFitPitch));
      changed = true;
    } else {
      fitted.Add(p->x, p->y);
    }
  }
  // Ground vertices under water become points of the line.
  for (const auto& v : groundLine->Points()) {
    const double waterY = FirstHeight(*waterLine, v->x);
    if (waterY != kNoValue && waterY >= v->y) {
      InsertByX(fitted, v->x, v->y, false);
      changed = true;
    }
  }
  if (!changed) return false;
  InsertCrossings(fitted, *groundLine, *waterLine);
  fitted.DelSamePoint(kSamePoint);
  for (const auto& p : fitted.Points()) Add(p->x, p->y);
  return true;
}
