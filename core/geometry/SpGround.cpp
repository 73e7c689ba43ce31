#include "core/geometry/SpGround.h"

#include <cstdint>

#include "core/geometry/SpStratum.h"
#include "core/geometry/ViewInfo.h"
#include "platform/Archive.h"
#include "platform/Canvas.h"

namespace {

constexpr Color kBlack = Color::Rgb(0, 0, 0);

}  // namespace

CSpGround::CSpGround() { SetName("地形"); }

void CSpGround::Store(Archive& ar, int version) const {
  CDPoly::Store(ar, version);
  ar.WriteStringArray(texts_);
  ar << static_cast<std::int32_t>(strata_ ? 1 : 0);
  if (strata_) strata_->Store(ar, version);
}

void CSpGround::Load(Archive& ar, int version) {
  CDPoly line;
  line.Load(ar, version);
  std::vector<std::string> texts = ar.ReadStringArray();
  std::int32_t hasStrata = 0;
  ar >> hasStrata;
  std::unique_ptr<CDPolyArray> strata;
  if (hasStrata == 1) {
    strata = std::make_unique<CDPolyArray>();
    strata->Load(ar, version);
    for (int i = 0; i < strata->GetSize(); ++i) strata->GetAt(i)->CalcInnerPoint();
  }

  SetName(line.GetName());
  for (const auto& p : line.Points()) CDPoly::Add(p);
  texts_ = std::move(texts);
  strata_ = std::move(strata);
}

void CSpGround::ChangeValid() {
  CDPoly::ChangeValid();
  if (!strata_) return;
  for (int i = 0; i < strata_->GetSize(); ++i) strata_->GetAt(i)->ChangeValid();
}

void CSpGround::Draw(CViewInfo* view, int bold, int from, int to) const {
  if (!strata_ || bold == 1 || GetShowHilight() != 0) {
    CDPoly::Draw(view, bold, from, to);
    return;
  }
  view->dc->SetTextColor(kBlack);
  strata_->Draw(view, false, -1, -1);
  strata_->DrawName(view);
}

std::unique_ptr<CDPoly> CSpGround::Copy() const {
  auto copy = std::make_unique<CSpGround>();
  copy->SetName(GetName());
  copy->CopyPoints(this);
  if (strata_) copy->strata_ = strata_->Copy();
  copy->texts_ = texts_;
  return copy;
}

void CSpGround::Copy(const CSpGround* other) {
  CopyPoints(other);
  // A copy has the other's strata, or none: strata kept from before would not fit the new line.
  strata_ = other->strata_ ? other->strata_->Copy() : nullptr;
}

void CSpGround::Reverse() { CDPoly::Reverse(); }

void CSpGround::DrawHasen(CViewInfo* view) const {
  const ScopedPen pen(*view->dc, Pen{PenStyle::Dash, 1, kBlack});
  DrawSimpleShape(view);
}

void CSpGround::DeleteFull() {
  DeleteAll();
  strata_.reset();
}

void CSpGround::DeleteStratumBlock() { strata_.reset(); }

void CSpGround::SetPolyArray(std::unique_ptr<CDPolyArray> array) { strata_ = std::move(array); }

double CSpGround::GetHkAngle(const CDPoint* p, int mode) const { return GetR_Angle(p, mode); }

std::unique_ptr<CSpGround> CSpGround::GroundPolyMarge(const CDPoly* /*other*/) const {
  return nullptr;
}

std::unique_ptr<CSpGround> CSpGround::CreateLevelLine(const CDPoly* /*other*/,
                                                      double /*level*/) const {
  return nullptr;
}

std::string CSpGround::GetStrGuttukaSou(int n) const {
  std::string names;
  if (!strata_ || n < 0 || n >= CStratumProp::kSwitchCount) return names;
  for (int i = 0; i < strata_->GetSize(); ++i) {
    const auto* block = dynamic_cast<const CSpStratumBlock*>(strata_->GetAt(i));
    if (block == nullptr || block->GetPropPtr()->GetSwitch(n) == 0) continue;
    if (!names.empty()) names += ",";
    names += block->GetName();
  }
  return names;
}
