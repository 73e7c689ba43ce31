// CSpSlide: the entered slide line.

#include "core/geometry/SpSlide.h"

#include "core/geometry/DArc.h"
#include "core/geometry/SpSlideWork.h"

CSpSlide::CSpSlide()
    : styles_(kInitialEntries, 0u), strengths_(kInitialEntries, 0u) {
  SetName("すべり面");
}

void CSpSlide::Store(Archive& ar, int version) const { CDPoly::Store(ar, version); }
void CSpSlide::Load(Archive& ar, int version) { CDPoly::Load(ar, version); }
void CSpSlide::ChangeValid() { CDPoly::ChangeValid(); }
double CSpSlide::GetY(double) const { return kNoValue; }
void CSpSlide::Draw(CViewInfo*, int, int, int) const {}
int CSpSlide::GetCrossX(const CDPoint*, const CDPoint*, std::vector<double>&, int*,
                        const CDPoly*) const {
  return 0;
}
bool CSpSlide::GetCrossPoint(const CDPoint*, double, CDPoint*, double) const { return false; }
bool CSpSlide::GetCrossPointArray(const CDPoint*, double, CDPoly*, double) const { return false; }
std::unique_ptr<CDPoly> CSpSlide::Copy() const {
  auto copy = std::make_unique<CSpSlide>();
  copy->CopySuberi(this);
  return copy;
}
void CSpSlide::Copy(const CSpSlide* other) { CopySuberi(other); }
void CSpSlide::CopySuberi(const CSpSlide* other) {
  SetName(other->GetName());
  CopyPoints(other);
  styles_ = other->styles_;
  strengths_ = other->strengths_;
  centreX_ = other->centreX_;
  centreY_ = other->centreY_;
  radius_ = other->radius_;
}
void CSpSlide::SetStyle(int, int) {}
int CSpSlide::GetStyle(int) const { return 0; }
void CSpSlide::SetStrengthIndex(int, int) {}
void CSpSlide::SetStrengthType(int, int) {}
int CSpSlide::GetStrengthIndex(int) const { return 0; }
int CSpSlide::GetStrengthType(int) const { return 0; }
void CSpSlide::SetStrengthSize(int) {}
std::string CSpSlide::GetStyleString(int) const { return {}; }
CDPoint* CSpSlide::AddNewPoint(const CDPoint& point, int, int) {
  return GetAt(Add(std::make_shared<CDPoint>(point)));
}
void CSpSlide::InsertPoint(int, const CDPoint&, int, int, int) {}
void CSpSlide::DeletePoint(int) {}
void CSpSlide::ReverseSuberi() {}
std::unique_ptr<CSpSlideWork> CSpSlide::CreateDrawObj() const {
  return std::make_unique<CSpSlideWork>();
}
std::unique_ptr<CDArc> CSpSlide::GetArc(double) const { return nullptr; }
double CSpSlide::GetBottomAngle(double) const { return kNoValue; }
double CSpSlide::GetY_linear(double) const { return kNoValue; }
int CSpSlide::CorrectSlideObj(const CSpGround*, CDPolyArray*, bool) const { return 0; }
int CSpSlide::GetCrossCountTiso(const CDPoly*) const { return 0; }
int CSpSlide::Get3PStrength(double, int&) const { return 0; }
bool CSpSlide::IsIncludeRev() const { return false; }
bool CSpSlide::IsCalcRevRelation() const { return false; }
bool CSpSlide::IsIncludeTisoti() const { return false; }
bool CSpSlide::IsIncludeSiteiti(int) const { return false; }
bool CSpSlide::IsValidSpecif() const { return false; }
void CSpSlide::SetOR(double x, double y, double r) {
  centreX_ = x;
  centreY_ = y;
  radius_ = r;
}
void CSpSlide::GetOR(double& x, double& y, double& r) const {
  x = centreX_;
  y = centreY_;
  r = radius_;
}
void CSpSlide::DrawWithColor(CViewInfo*, bool, Color) const {}
void CSpSlide::SetStretchParam(int typeHead, int typeTail, double angleHead, double angleTail,
                               int strengthHead, int strengthTail) {
  stretchTypeHead = typeHead;
  stretchTypeTail = typeTail;
  stretchAngleHead = angleHead;
  stretchAngleTail = angleTail;
  stretchStrengthHead = strengthHead;
  stretchStrengthTail = strengthTail;
}
void CSpSlide::GetStretchParam(int& typeHead, int& typeTail, double& angleHead,
                               double& angleTail, int& strengthHead, int& strengthTail) {
  typeHead = stretchTypeHead;
  typeTail = stretchTypeTail;
  angleHead = stretchAngleHead;
  angleTail = stretchAngleTail;
  strengthHead = stretchStrengthHead;
  strengthTail = stretchStrengthTail;
}
void CSpSlide::SerializeStaticMember(Archive&) {}
void CSpSlide::GrowTo(int) {}
