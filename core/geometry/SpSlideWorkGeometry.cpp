// CSpSlideWork: queries and crossings of the working slide surface.

#include "core/geometry/SpSlideWork.h"

CDPoint CSpSlideWork::Left() const { return CDPoly::Left(); }
CDPoint CSpSlideWork::Right() const { return CDPoly::Right(); }
CDPoint CSpSlideWork::Bottom() const { return CDPoly::Bottom(); }
CDPoint CSpSlideWork::Top() const { return CDPoly::Top(); }
double CSpSlideWork::GetY(double) const { return kNoValue; }
void CSpSlideWork::Draw(CViewInfo*, int, int, int) const {}
int CSpSlideWork::GetCrossX(const CDPoint*, const CDPoint*, std::vector<double>&, int*,
                            const CDPoly*) const {
  return 0;
}
bool CSpSlideWork::GetCrossPoint(const CDPoint*, const CDPoint*, CDPoint*, double) const {
  return false;
}
bool CSpSlideWork::GetCrossPoint(const CDPoint*, double, CDPoint*, double) const { return false; }
bool CSpSlideWork::GetCrossPointArray(const CDPoint*, const CDPoint*, CDPoly*, double) const {
  return false;
}
bool CSpSlideWork::GetCrossPointArray(const CDPoint*, double, CDPoly*, double) const {
  return false;
}
bool CSpSlideWork::GetCrossPointArray(const CDPoly*, CDPoly*, bool, double) const { return false; }
bool CSpSlideWork::IsRightUpper() const { return CDPoly::IsRightUpper(); }
const CDArc* CSpSlideWork::GetArc(double) const { return nullptr; }
int CSpSlideWork::GetPointIndex(double) const { return -1; }
std::unique_ptr<CDArc> CSpSlideWork::GetSlideBottom(double, double, double&, double&) const {
  return nullptr;
}
int CSpSlideWork::GetStrengthOfPosition(double, double, const CSpSlide*) const { return 0; }
double CSpSlideWork::GetStartAngle() const { return kNoValue; }
double CSpSlideWork::GetEndAngle() const { return kNoValue; }
double CSpSlideWork::GetBottomAngle(double) const { return kNoValue; }
double CSpSlideWork::GetPointAngle(const CDPoint&) const { return kNoValue; }
double CSpSlideWork::GetLength() const { return 0; }
double CSpSlideWork::GetDepth(const CDPolyArray*, bool) const { return kNoValue; }
