#include "core/section/SpStratum.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdint>
#include <vector>

#include "core/base/Constants.h"
#include "core/geometry/DPolyArray.h"
#include "core/geometry/ViewInfo.h"
#include "platform/Archive.h"
#include "platform/Canvas.h"

// ---- CSpStratumLine ----

CSpStratumLine::CSpStratumLine() : CDPoly(kKindStratumLine) { SetName("地層線"); }

// ---- CSpStratumBlock ----

CSpStratumBlock::CSpStratumBlock() : CDPoly(kKindStratumBlock) { SetName("地層"); }

void CSpStratumBlock::Store(Archive& ar, int version) const {
  CDPoly::Store(ar, version);
  prop_.Store(ar, version);
  ar << static_cast<std::int32_t>(index_) << static_cast<std::int32_t>(extraInt_);
}

void CSpStratumBlock::Load(Archive& ar, int version) {
  CDPoly line;
  line.Load(ar, version);
  CStratumProp prop;
  prop.Load(ar, version);
  std::int32_t index = 0;
  std::int32_t extraInt = 0;
  ar >> index >> extraInt;

  SetName(line.GetName());
  for (const auto& p : line.Points()) CDPoly::Add(p);
  prop_ = std::move(prop);
  index_ = index;
  extraInt_ = extraInt;
}

void CSpStratumBlock::SetProperty(const CDPoly* other) {
  if (const auto* block = dynamic_cast<const CSpStratumBlock*>(other)) prop_ = block->prop_;
}

std::unique_ptr<CDPoly> CSpStratumBlock::Copy() const {
  auto copy = std::make_unique<CSpStratumBlock>();
  copy->SetName(GetName());
  copy->CopyPoints(this);
  copy->SetProperty(this);
  copy->CalcInnerPoint();
  copy->index_ = index_;
  copy->extraInt_ = extraInt_;
  return copy;
}

void CSpStratumBlock::Draw(CViewInfo* view, int /*bold*/, int /*from*/, int /*to*/) const {
  if (GetSize() == 0) return;
  std::vector<DevPoint> corners;
  corners.reserve(Points().size());
  for (const auto& p : Points()) corners.push_back(view->LPtoDP(*p));

  Canvas& canvas = *view->dc;
  const ScopedBrush brush(canvas, Brush{BrushStyle::Solid, prop_.GetColor()});
  const ScopedPen pen(canvas, Pen{PenStyle::Solid, 1, kBlack});
  canvas.Polygon(corners);
}

void CSpStratumBlock::DrawName(CViewInfo* view) const {
  if (m_bShowName == 0) return;
  Canvas& canvas = *view->dc;
  const ScopedCanvasState restore(canvas);
  const int m = view->GetFontMultiple();
  canvas.SetBackgroundMode(BackgroundMode::Transparent);
  Font font;
  font.height = 12 * m;
  font.width = 6 * m;
  font.weight = 400;
  font.face = "ＭＳ ゴシック";
  canvas.SelectFont(font);
  canvas.SetTextAlign(TextAlign::Center | TextAlign::Top);

  // The top edge lies half a text height above the inner point, so the text is centred on it;
  // the printer's y grows upward.
  DevPoint at = view->LPtoDP(GetInnerPoint());
  const std::int64_t top = std::int64_t{at.y} + (view->IsPrint() ? 6 * m : -6 * m);
  // An inner point far outside the view maps to the edge of the int range; the text stays there.
  at.y = static_cast<int>(std::clamp<std::int64_t>(top, INT_MIN, INT_MAX));
  canvas.TextOut(at, prop_.GetName());
}

std::unique_ptr<CDPoly> CSpStratumBlock::CutPolyWithLine2(const CDPoly* line) const {
  const ScopedSmallLimit tolerance(1e-6);
  auto polygon = Copy();
  const std::unique_ptr<CDPoly> cut =
      line != nullptr ? line->PlainCopy() : std::make_unique<CDPoly>();
  if (polygon->GetSize() < 2 || cut->GetSize() < 2) return polygon;

  CDPolyArray::ComparePoints(polygon.get(), cut.get());
  cut->DelSamePoint(kSamePoint);
  const auto pieces = polygon->CutPolyWithLine(cut.get());
  for (int i = 0; i < pieces->GetSize(); ++i) {
    CDPoly& piece = *pieces->GetAt(i);
    if (std::fabs(piece.GetArea()) < 0.001) continue;
    const CDPoint inner = piece.CalcInnerPoint();
    // Where the line does not reach the inner point, the polygon's own outline decides.
    double h = cut->GetY(inner.x);
    if (h == kNoValue) h = GetY(inner.x);
    if (h != kNoValue && h < inner.y) return pieces->Release(i);
  }
  return nullptr;
}
