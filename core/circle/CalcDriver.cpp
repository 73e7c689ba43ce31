#include "core/circle/CalcDriver.h"

#include "core/model/Danmen.h"

CCalcBase* CCalcDriver::CreateCalc() {
  calc_.reset();
  if (section_ == nullptr) return nullptr;
  switch (section_->GetKeisanSiki()) {
    case 0:
      calc_ = std::make_unique<CCalcFellenius>(1);
      break;
    case 1:
      calc_ = std::make_unique<CCalcFelleniusRevise>(1);
      break;
    default:
      return nullptr;
  }
  calc_->SetDanmenStab(section_);
  return calc_.get();
}

std::string CCalcDriver::WhatName() const {
  if (section_ == nullptr) return {};
  switch (section_->GetKeisanSiki()) {
    case 0:
      return CCalcFellenius(1).WhatName();
    case 1:
      return CCalcFelleniusRevise(1).WhatName();
    default:
      return {};
  }
}

CSliceList* CCalcDriver::CreateSliceList(int mode) {
  if (section_ == nullptr) return nullptr;
  const CSpSlideWork* surface = nullptr;
  if (mode != -1) {
    surface = section_->GetSlideWorkRepeat() != nullptr ? section_->GetSlideWorkRepeat()
                                                        : section_->GetSlideWork();
    if (surface == nullptr) return nullptr;
  }
  list_ = std::make_unique<CSliceList>();
  list_->SetDanmenStab(section_);
  list_->CreateSlice(nullptr, nullptr, surface);
  return list_.get();
}

tagFSRESULT CCalcDriver::KeisanFs(CSliceList* list, double x) {
  CSliceList* chosen = Choose(list);
  if (calc_ == nullptr || chosen == nullptr) return {};
  return calc_->KeisanFs(*chosen, x);
}

tagFSRESULT CCalcDriver::KeisanFsPr(double fsp, double fsps, CSliceList* list, double x) {
  CSliceList* chosen = Choose(list);
  if (calc_ == nullptr || chosen == nullptr) return {};
  return calc_->KeisanFsPr(fsp, fsps, *chosen, x);
}

tagFSRESULT CCalcDriver::KeisanPr(double fsp, double fsps, CSliceList* list) {
  CSliceList* chosen = Choose(list);
  if (calc_ == nullptr || chosen == nullptr) return {};
  return calc_->KeisanPr(fsp, fsps, *chosen);
}

bool CCalcDriver::KeisanReverse(CSliceList* list, double& c, double& tanPhi, double fs,
                                int seismic) {
  c = tanPhi = kNoValue;
  CSliceList* chosen = Choose(list);
  if (calc_ == nullptr || chosen == nullptr) return false;
  return calc_->KeisanReverse(*chosen, c, tanPhi, fs, seismic);
}

double CCalcDriver::KeisanRevTanFai(CSliceList* list, double c, double fs, int seismic) {
  CSliceList* chosen = Choose(list);
  if (calc_ == nullptr || chosen == nullptr) return kNoValue;
  return calc_->KeisanRevTanFai(*chosen, c, fs, true, seismic == 1 ? 1 : 0);
}

double CCalcDriver::KeisanRevC(CSliceList* list, double tanPhi, double fs, int seismic) {
  CSliceList* chosen = Choose(list);
  if (calc_ == nullptr || chosen == nullptr) return kNoValue;
  return calc_->KeisanRevC(*chosen, tanPhi, fs, true, seismic == 1 ? 1 : 0);
}
