#include "core/section/SpGround.h"

#include <cstdint>

#include "core/base/Constants.h"
#include "core/geometry/ViewInfo.h"
#include "core/section/SpSlide.h"
#include "core/section/SpStratum.h"
#include "platform/Archive.h"
#include "platform/Canvas.h"

namespace {

// A copy of the line running left to right.
std::unique_ptr<CDPoly> LeftToRightCopy(const CDPoly& line) {
  auto copy = std::make_unique<CDPoly>();
  copy->CopyPoints(&line);
  copy->LeftToRight();
  return copy;
}

// A vertical run at either end of a left-to-right line keeps only its point nearest to the
// inside.
void DropVerticalEnds(CDPoly& line) {
  while (line.GetSize() >= 2 && line.GetAt(1)->x == line.GetAt(0)->x) line.RemoveAt(0);
  while (line.GetSize() >= 2 && line.GetAt(line.GetSize() - 2)->x == line.GetLastPt()->x) {
    line.RemoveAt(line.GetSize() - 1);
  }
}

// Where a line crosses the height: the crossing's x and the index of the first point after it.
struct LevelCrossing {
  const CDPoly* line;
  int pos;
  double x;
};

}  // namespace

CSpGround::CSpGround() : CDPoly(kKindGround) { SetName("地形"); }

CSpGround::~CSpGround() { CSpSlide::ForgetTopograph(this); }

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
    // Strata are stratum polygons; refusing a ground among them also keeps a damaged record from
    // nesting grounds without end, each one deeper on the stack.
    strata->Load(ar, version, [](int kind) { return kind != kKindGround; });
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
  SetName(other->GetName());
  CopyPoints(other);
  texts_ = other->texts_;
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

std::unique_ptr<CSpGround> CSpGround::GroundPolyMarge(const CDPoly* other) const {
  auto ground = std::make_unique<CSpGround>();
  ground->CopyPoints(this);
  ground->PolyMarge(other);
  ground->strata_ = StrataUnder(*ground);
  return ground;
}

std::unique_ptr<CSpGround> CSpGround::CreateLevelLine(const CDPoly* other, double level) const {
  const auto base = LeftToRightCopy(*this);
  DropVerticalEnds(*base);
  const auto joined = LeftToRightCopy(*other);

  // Both lines are walked along the height in step until their crossings part.
  LevelCrossing own{base.get(), 0, 0};
  LevelCrossing others{joined.get(), 0, 0};
  do {
    if (!base->GetNextX(level, &own.pos, own.x) ||
        !joined->GetNextX(level, &others.pos, others.x)) {
      return nullptr;
    }
  } while (own.x == others.x);

  // The line on the left runs up to its crossing, the other one on from its crossing.
  const bool otherRises = joined->IsRightUpper();
  const LevelCrossing& left = otherRises ? own : others;
  const LevelCrossing& right = otherRises ? others : own;
  auto ground = std::make_unique<CSpGround>();
  for (int i = 0; i < left.pos; ++i) ground->Add(*left.line->GetAt(i));
  ground->Add(left.x, level);
  ground->Add(right.x, level);
  for (int i = right.pos; i < right.line->GetSize(); ++i) ground->Add(*right.line->GetAt(i));
  ground->DelSamePoint(kSamePoint);
  ground->strata_ = StrataUnder(*ground);
  return ground;
}

std::unique_ptr<CDPolyArray> CSpGround::StrataUnder(const CSpGround& ground) const {
  if (!strata_) return nullptr;
  // The re-cut merges coinciding points of the polygons it starts from; this ground's own
  // strata stay as they are.
  return strata_->Copy()->CreatePlanPolygon(&ground);
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
