#pragma once
// The strain dependence of the soil's shear modulus, G/G0 = 1 / (1 + b * gamma^c), that the
// shear-deformation calculation uses. The engineer either enters b and c, or enters up to 30
// laboratory test points (strain, measured G/G0) to which b and c are fitted. CFit holds the
// mode, the coefficients and the points, computes the fit or tabulates the entered curve, and
// draws the G/G0 graph over a logarithmic strain axis.

#include <array>
#include <vector>

#include "core/base/Utility.h"
#include "core/model/DrawResGraphSet.h"
#include "platform/DevTypes.h"

class Archive;
class CViewInfo;

// One test point: strain, measured G/G0 and the curve's G/G0 at that strain.
class CFitData {
 public:
  void Init() { *this = CFitData(); }
  void Copy(const CFitData& other) { *this = other; }
  // The fitted value unset.
  void ClearRes() { fitted = kNoValue; }
  bool IsSame(const CFitData& other) const;
  // Strain and measured value both set: the point takes part in a fit.
  bool IsValidSiken() const { return strain != kNoValue && measured != kNoValue; }
  // Record: the three doubles in member order.
  void Store(Archive& ar) const;
  // Reads the whole record before it changes anything.
  void Load(Archive& ar);

  double strain = kNoValue;
  double measured = kNoValue;
  double fitted = kNoValue;
};

class CFit {
 public:
  static constexpr int kModeCoefficients = 0;  // b and c entered ("係数入力")
  static constexpr int kModeTestValues = 1;    // fitted to test points ("試験値入力")
  static constexpr int kPointCount = 30;

  CFit() { Init(); }

  // Defaults; the graph shows strains 1e-6 to 1 and G/G0 0 to 1.
  void Init();
  // Mode, coefficients, count and points; the graph settings stay.
  void Copy(const CFit& other);
  // Mode, b and c equal; the points are not compared.
  bool IsSame(const CFit& other) const;
  // Mode 1: at least two valid test points; mode 0: b and c set.
  bool IsValidFitCalc() const;
  // Count 0 and every fitted value unset; with `all` every strain and measured value too.
  void ClearRes(bool all);
  // The number of valid test points.
  int GetSikenListSize() const;
  // Mode 0 tabulates the entered curve at 24 strains; mode 1 fits b and c to the test points.
  // Then the graph ranges follow the points. Nothing happens unless IsValidFitCalc.
  void CalcFit();
  // The graph's strain range in whole decades and its G/G0 range and pitch from the points that
  // take part (all in mode 1, the first count in mode 0): the strains above 0 (the others have no
  // logarithm) and the fitted values. The ranges stay when either has no value.
  void SetGraphMaxMin();
  // The points to draw. Mode 0: the curve every 0.1 decade over the graph's strain range; mode 1:
  // the valid test points. Empty while the strain range is unset or unusable.
  std::vector<CFitData> GetFitDataList() const;
  // The graph into the plot area, with the data inside the inner rectangle.
  void DrawGraph(CViewInfo* view, const DevRect& plotArea, const DevRect& inner) const;

  // Record: mode, b, c, the count (from version 10), then the 30 points. The graph settings are
  // not stored.
  void Store(Archive& ar, int version) const;
  // Reads the whole record before it changes anything; a count outside 0..30 throws
  // ArchiveException (BadFormat). The graph settings stay.
  void Load(Archive& ar, int version);

  // The number of valid test points after the last fit; 0 after a tabulation or ClearRes.
  int GetCount() const { return count_; }

  int mode = kModeCoefficients;
  double b = kNoValue;
  double c = kNoValue;
  // The test points in row order; after a tabulation the table strains.
  std::array<CFitData, kPointCount> points{};
  CDrawResGraphSet graph;  // the X axis is log10 of the strain

 private:
  // G/G0 of the curve at a strain; unset while b or c is, and where the curve has no value.
  double Curve(double strain) const;
  void Tabulate();
  void FitToTestValues();
  // Count := the valid test points, each with the curve's value.
  void RecomputeFitted();
  void DrawGraphGridOnly(CViewInfo* view, const DevRect& plotArea, const DevRect& inner) const;
  void DrawGraphDataOnly(CViewInfo* view, const DevRect& inner) const;

  int count_ = 0;
};
