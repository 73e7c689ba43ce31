#pragma once
// The slice method of one section: makes the method of the section's calculation formula and the
// slice list of its working slip surface, and forwards the calculations to them.

#include <memory>
#include <string>

#include "core/circle/CalcBase.h"
#include "core/circle/SliceList.h"

class CDanmenStab;

class CCalcDriver {
 public:
  CCalcDriver() = default;
  CCalcDriver(const CCalcDriver&) = delete;
  CCalcDriver& operator=(const CCalcDriver&) = delete;

  // The section whose formula, conditions and working surface the driver uses; observed.
  void SetDanmenStab(const CDanmenStab* section) { section_ = section; }
  // Replaces the method by the one of the section's formula (0 Fellenius, 1 modified
  // Fellenius); another formula, or no section, leaves none and gives null.
  CCalcBase* CreateCalc();
  CCalcBase* GetCalc() const { return calc_.get(); }
  // The name of the section's formula; empty for another formula.
  std::string WhatName() const;
  // Replaces the slice list by the slices of the section's repeat-search surface, else of its
  // ordinary working surface (mode -1: the surface the list itself picks); null without one.
  CSliceList* CreateSliceList(int mode);
  void DestroySliceList() { list_.reset(); }
  CSliceList* GetSliceList() const { return list_.get(); }

  // The method's calculations on the given list, or the driver's own when it is null; every
  // output is unset without a method or a list.
  tagFSRESULT KeisanFs(CSliceList* list, double x);
  tagFSRESULT KeisanFsPr(double fsp, double fsps, CSliceList* list, double x);
  tagFSRESULT KeisanPr(double fsp, double fsps, CSliceList* list);
  bool KeisanReverse(CSliceList* list, double& c, double& tanPhi, double fs, int seismic);
  // Back analyses of tan phi (c given) and c (tan phi given), rounded while rounding is on;
  // seismic 1 the seismic case.
  double KeisanRevTanFai(CSliceList* list, double c, double fs, int seismic);
  double KeisanRevC(CSliceList* list, double tanPhi, double fs, int seismic);

 private:
  CSliceList* Choose(CSliceList* list) const { return list != nullptr ? list : list_.get(); }

  std::unique_ptr<CCalcBase> calc_;
  std::unique_ptr<CSliceList> list_;
  const CDanmenStab* section_ = nullptr;
};
