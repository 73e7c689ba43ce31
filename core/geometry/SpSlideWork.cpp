// CSpSlideWork: building blocks, record and editing of the working slide surface.

#include "core/geometry/SpSlideWork.h"

#include <stdexcept>

#include "core/geometry/SpSlide.h"

CSpSlideWork::CSpSlideWork() = default;

void CSpSlideWork::Store(Archive& ar, int version) const { CDPoly::Store(ar, version); }
void CSpSlideWork::Load(Archive& ar, int version) { CDPoly::Load(ar, version); }
std::unique_ptr<CDPoly> CSpSlideWork::Copy() const {
  auto copy = std::make_unique<CSpSlideWork>();
  copy->CopySlideWork(this);
  return copy;
}
void CSpSlideWork::Reverse() { CDPoly::Reverse(); }
void CSpSlideWork::CopySlideWork(const CSpSlideWork* other) {
  Init();
  SetName(other->GetName());
  CopyPoints(other);
  for (const auto& arc : other->arcs_) arcs_.push_back(arc->Copy());
  strengths_ = other->strengths_;
}
void CSpSlideWork::Init() {
  arcs_.clear();
  strengths_.clear();
  DeleteAll();
}
CDPoint* CSpSlideWork::AddNewPoint(const CDPoint& point, std::unique_ptr<CDArc>, int) {
  return GetAt(Add(std::make_shared<CDPoint>(point)));
}
void CSpSlideWork::InsertNewPoint(const CDPoint&, int) {}
void CSpSlideWork::SetStrengthIndex(int, int) {}
void CSpSlideWork::SetStrengthType(int, int) {}
int CSpSlideWork::GetStrengthIndex(int) const { return 0; }
int CSpSlideWork::GetStrengthType(int) const { return 0; }
void CSpSlideWork::SetStrengthSize(int) {}
void CSpSlideWork::YcoordPrimitive(double) {}
const CDArc* CSpSlideWork::GetArcAt(int index) const {
  if (index < 0 || index >= GetArcCount()) throw std::out_of_range("CSpSlideWork: arc index");
  return arcs_[static_cast<std::size_t>(index)].get();
}
const CDArc* CSpSlideWork::GetArcFromPointIndex(int) const { return nullptr; }
const CDArc* CSpSlideWork::GetFirstArc() const { return nullptr; }
const CDArc* CSpSlideWork::GetLastArc() const { return nullptr; }
CDPoint CSpSlideWork::GetMid(int) const { return {}; }
void CSpSlideWork::GetOR(double& x, double& y, double& r) const { x = y = r = kNoValue; }
std::unique_ptr<CSpSlideWork> CSpSlideWork::InsCrossPoint(const CDPolyArray*, bool) const {
  return nullptr;
}
int CSpSlideWork::CorrectSlideObj(const CSpGround*, CDPolyArray*, bool) { return 0; }
void CSpSlideWork::Strech(const CSpGround*, int, int, double, double, int, int) {}
void CSpSlideWork::DisposeOverArc(CDPolyArray*) {}
int CSpSlideWork::CutAtX(double, CDPolyArray*) const { return -1; }
bool CSpSlideWork::MixCrackline(const CDPoint&, const CDPoint&, int) { return false; }
std::unique_ptr<CSpSlide> CSpSlideWork::TransSpSlide(int) const { return nullptr; }
