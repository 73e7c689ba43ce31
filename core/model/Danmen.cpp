// CDanmen and CDanmenStab: the drawing order and highlight of a section's shapes, the routing of
// mouse feedback, the stability conditions and the picture of the displaced slide mass.

#include "core/model/Danmen.h"

#include <cmath>
#include <memory>
#include <numbers>

#include "core/base/Constants.h"
#include "core/geometry/DPoly.h"
#include "core/geometry/DPolyArray.h"
#include "core/geometry/ViewInfo.h"
#include "core/section/SpCrack.h"
#include "core/section/SpGround.h"
#include "core/section/SpLoad.h"
#include "core/section/SpSlide.h"
#include "core/section/SpSlideWork.h"
#include "core/section/SpStratum.h"
#include "core/section/SpWater.h"
#include "platform/Canvas.h"

namespace {

// The slide mass cut out of the stratum blocks along a working slip surface.
struct SlideMassParts {
  std::unique_ptr<CDPolyArray> outside;  // the blocks below the slip surface
  std::unique_ptr<CDPolyArray> inside;   // the blocks above it: the mass that moves
};

SlideMassParts CutSlideMass(const CDPolyArray& blocks, const CSpGround& ground,
                            const CSpSlideWork& work) {
  return {blocks.CutPolyWithSlide(&ground, &work, 0), blocks.CutPolyWithSlide(&ground, &work, 1)};
}

// The displaced picture: the part that stays with its names, the moved part without names, the
// moved slip line bold, then the water plainly.
void DrawDisplaced(CViewInfo* view, const SlideMassParts& parts, const CSpSlide& movedLine,
                   const CSpWater* water) {
  parts.outside->Draw(view, false, -1, -1);
  parts.outside->DrawName(view);
  parts.inside->Draw(view, false, -1, -1);
  movedLine.Draw(view, 1, -1, -1);
  if (water != nullptr) water->Draw(view, 0, -1, -1);
}

}  // namespace

// ---- CDanmen ----

void CDanmen::Init() {
  ground_ = nullptr;
  strata_ = nullptr;
  water_ = nullptr;
  slide_ = nullptr;
  loads_ = nullptr;
  crack_ = nullptr;
  curKind_ = -1;
  curPoint1_ = 0;
  curPoint2_ = -1;
}

void CDanmen::SendInfo(const CDanmen& other) {
  ground_ = other.ground_;
  strata_ = other.strata_;
  water_ = other.water_;
  slide_ = other.slide_;
  loads_ = other.loads_;
  crack_ = other.crack_;
}

CDPolyArray* CDanmen::GetTisoBlockArray() const {
  return ground_ != nullptr ? ground_->GetPolyArray() : nullptr;
}

bool CDanmen::IsStratumBlock() const { return GetTisoBlockArray() != nullptr; }

void CDanmen::GetCPhi(int, const CDPoint& p, double& c, double& phi) const {
  c = kNoValue;
  phi = kNoValue;
  const CDPolyArray* blocks = GetTisoBlockArray();
  if (blocks == nullptr) return;
  for (int i = 0; i < blocks->GetSize(); ++i) {
    const auto* block = dynamic_cast<const CSpStratumBlock*>(blocks->GetAt(i));
    if (block == nullptr || !block->PolyRgn(&p)) continue;
    const tagSATURATE& soil = *block->GetPropStructure();
    c = soil.c;
    phi = soil.phi;
    return;
  }
}

bool CDanmen::IsBlockMode() const {
  const CDPolyArray* blocks = GetTisoBlockArray();
  return blocks != nullptr && !blocks->IsEmpty() && editMode_ == 0;
}

void CDanmen::DrawBlocks(CViewInfo* view) const {
  const CDPolyArray& blocks = *GetTisoBlockArray();
  view->dc->SetTextColor(kBlack);
  blocks.Draw(view, false, -1, -1);
  blocks.DrawName(view);
}

void CDanmen::DrawPicked(CViewInfo* view, const CDPoly& shape, int kind) const {
  if (curKind_ == kind) {
    shape.Draw(view, CDPoly::GetShowHilight() != 0 ? 1 : 0, curPoint1_, curPoint2_);
  } else {
    shape.Draw(view, 0, -1, -1);
  }
}

void CDanmen::DrawPicked(CViewInfo* view, const CDPolyArray& shapes, int kind) const {
  // The array highlights its selected shape; without highlight it draws every shape plainly.
  shapes.Draw(view, curKind_ == kind && CDPoly::GetShowHilight() != 0, curPoint1_, curPoint2_);
}

void CDanmen::Draw(CViewInfo* view) const {
  if (IsBlockMode()) {
    DrawBlocks(view);
    return;
  }
  if (ground_ != nullptr) DrawPicked(view, *ground_, kKindGround);
  if (strata_ != nullptr) DrawPicked(view, *strata_, kKindStratumLine);
  if (crack_ != nullptr) DrawPicked(view, *crack_, kKindCrack);
}

void CDanmen::DrawWater(CViewInfo* view) const {
  if (water_ == nullptr) return;
  if (IsBlockMode()) {
    water_->Draw(view, 0, -1, -1);
  } else {
    DrawPicked(view, *water_, kKindWater);
  }
}

void CDanmen::DrawSlide(CViewInfo* view) const {
  if (slide_ != nullptr && !IsBlockMode()) DrawPicked(view, *slide_, kKindSlide);
}

void CDanmen::DrawLoad(CViewInfo* view) const {
  if (loads_ != nullptr && !IsBlockMode()) DrawPicked(view, *loads_, kKindLoad);
}

CDPoly* CDanmen::MouseShape() const {
  switch (curKind_) {
    case kKindGround:
      return ground_;
    case kKindStratumLine:
      return strata_ != nullptr ? strata_->GetActiveShapePtr() : nullptr;
    case kKindSlide:
      return slide_;
    case kKindWater:
      return water_;
    default:
      return nullptr;
  }
}

void CDanmen::OnMouseMove(CViewInfo* view, CDPoint point) {
  if (CDPoly* shape = MouseShape()) shape->OnMouseMove(view, curPoint1_, point);
}

void CDanmen::ResetMouseMove() {
  if (CDPoly* shape = MouseShape()) shape->ResetMouseMove();
}

// ---- CDanmenStab ----

void CDanmenStab::Init() {
  CDanmen::Init();
  cond_ = tagCALCCONDITION();
  calcMode_ = kCalcNormal;
  slideMove_ = 0;
  slideWork_ = nullptr;
  slideWorkRepeat_ = nullptr;
}

void CDanmenStab::SendInfo(const CDanmenStab& other) {
  CDanmen::SendInfo(other);
  calcMode_ = other.calcMode_;
  slideWork_ = other.slideWork_;
  slideWorkRepeat_ = other.slideWorkRepeat_;
}

CSpSlideWork* CDanmenStab::GetActiveSlide() const {
  return slideWorkRepeat_ != nullptr ? slideWorkRepeat_ : slideWork_;
}

void CDanmenStab::DrawSlide(CViewInfo* view) const {
  const CSpSlideWork* active = GetActiveSlide();
  if (!IsBlockMode() || active == nullptr) return;
  const ScopedPen pen(*view->dc, Pen{PenStyle::Solid, 2, kRed});
  active->Draw(view, 1, -1, -1);
}

void CDanmenStab::DrawLoad(CViewInfo* view) const {
  const CDPolyArray* loads = GetAryLoad();
  if (IsBlockMode() && loads != nullptr) {
    for (int i = 0; i < loads->GetSize(); ++i) {
      const auto* load = dynamic_cast<const CSpLoad*>(loads->GetAt(i));
      if (load == nullptr) continue;
      const bool acts = (calcMode_ == kCalcNormal && load->GetNormalCaseOn() != 0) ||
                        (calcMode_ == kCalcQuake && load->GetQuakeCaseOn() != 0);
      if (acts) load->Draw(view, 1, -1, -1);
    }
  }
  CDanmen::DrawLoad(view);
}

void CDanmenStab::DrawPolygonMove(CViewInfo* view) const {
  if (cond_.specified != 0 && cond_.specified != 1) return;
  view->dc->SetBackgroundMode(BackgroundMode::Transparent);
  if (slideMove_ == 0 || GetTisoBlockArray() == nullptr) return;
  if (cond_.specified == 1) {
    DrawTranslationalMove(view);
  } else {
    DrawRotationalMove(view);
  }
}

void CDanmenStab::DrawRotationalMove(CViewInfo* view) const {
  if (slideWorkRepeat_ == nullptr) return;
  // The circle is the one kept with the slide line the surface converts back to.
  const std::unique_ptr<CSpSlide> line = slideWorkRepeat_->TransSpSlide(-1);
  double cx = kNoValue;
  double cy = kNoValue;
  double radius = kNoValue;
  line->GetOR(cx, cy, radius);
  if (radius == kNoValue || radius <= 0) return;  // a surface without an arc has no centre

  // The mass slides down the slope: clockwise when the slope rises to the right.
  const double turn = slideMove_ / radius;
  const double angle = slideWorkRepeat_->IsRightUpper() ? -turn : turn;
  const SlideMassParts parts = CutSlideMass(*GetTisoBlockArray(), *GetGround(), *slideWorkRepeat_);
  parts.inside->RotateShape(cx, cy, angle);
  line->RotateShape(cx, cy, angle);
  DrawDisplaced(view, parts, *line, GetWater());
}

void CDanmenStab::DrawTranslationalMove(CViewInfo* view) const {
  if (slideWork_ == nullptr || slideWork_->GetSize() < 2) return;
  // The base angle in the middle of the first segment, turned to point down the slope.
  const double middleX = (slideWork_->GetAt(0)->x + slideWork_->GetAt(1)->x) / 2;
  double angle = slideWork_->GetBottomAngle(middleX);
  if (angle == kNoValue) return;
  if (angle > 0) angle -= std::numbers::pi;

  const double dx = slideMove_ * std::cos(angle);
  const double dy = slideMove_ * std::sin(angle);
  const SlideMassParts parts = CutSlideMass(*GetTisoBlockArray(), *GetGround(), *slideWork_);
  const std::unique_ptr<CSpSlide> line = slideWork_->TransSpSlide(-1);
  parts.inside->ShiftShape(dx, dy);
  line->ShiftShape(dx, dy);
  DrawDisplaced(view, parts, *line, GetWater());
}
