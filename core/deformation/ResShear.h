#pragma once
// The result of the shear-deformation calculation: one row per horizontal seismic coefficient of
// the march, the values at the design coefficient, the block weight and the coefficient of local
// failure that the rope-net check takes, the allowable strain and displacement, and the settings
// of the displacement graph. The case holds one and the document stores it.

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "core/base/Utility.h"
#include "core/model/DrawResGraphSet.h"
#include "platform/DevTypes.h"

class Archive;
class CViewInfo;

// A judgement as shown: none while a value it needs is unset.
enum class ShearJudge : std::uint8_t { kNone, kOk, kOut };

// One step of the march. The displacements are in mm; the two after the step are rounded up to
// whole millimetres.
class CShearData {
 public:
  void Init() { *this = CShearData(); }
  void Copy(const CShearData& other) { *this = other; }
  friend bool operator==(const CShearData&, const CShearData&) = default;

  // The cumulative displacement, or strain, against its allowable value: OK when strictly below,
  // no judgement while either is unset.
  ShearJudge JudgeDisp(double allowable) const;
  ShearJudge JudgeHizumi(double allowable) const;
  bool IsJudge(double allowable) const { return JudgeDisp(allowable) == ShearJudge::kOk; }
  bool IsJudgeHizumi(double allowable) const { return JudgeHizumi(allowable) == ShearJudge::kOk; }

  // Record: kh, from document version 8 the tension TRN, then the ten other values in member
  // order.
  void Store(Archive& ar, int version) const;
  // Reads the whole record before it changes anything.
  void Load(Archive& ar, int version);
  // The size of the record at a version, in bytes.
  static std::size_t RecordSize(int version);

  double kh = kNoValue;
  double trn = kNoValue;            // rope-net tension, in the unit of TRNmax
  double gRatioBefore = kNoValue;   // G/G0 before the step
  double gBefore = kNoValue;        // G before the step, kN/m2
  double cumDispBefore = kNoValue;  // cumulative displacement before the step, unrounded
  double eta = kNoValue;            // rope-net force ratio
  double deltaGamma = kNoValue;     // strain increment of the step
  double cumStrain = kNoValue;      // cumulative strain after the step
  double gRatioAfter = kNoValue;    // G/G0 after the step
  double gAfter = kNoValue;         // G after the step, kN/m2
  double dispIncrement = kNoValue;  // displacement increment, whole mm rounded up
  double cumDisp = kNoValue;        // cumulative displacement after the step, whole mm rounded up
};

class CResShear {
 public:
  CResShear() { Init(); }

  // Every value unset, no rows, the graph's defaults.
  void Init();
  // The design row, the rows, the block weight, the yield coefficient and the allowable
  // displacement cleared; the allowable strain and the graph settings stay.
  void ClearRes();
  // The rows, the four values and the graph settings without their reference values.
  void Copy(const CResShear& other);

  // The design row's cumulative strain and displacement and the yield coefficient all set.
  bool IsResult() const;
  // The design strain against the allowable strain, OK when strictly below.
  ShearJudge JudgeAss() const { return design.JudgeHizumi(allowStrain); }
  bool IsAssJudge() const { return JudgeAss() == ShearJudge::kOk; }
  // The largest kh of the rows; unset without rows.
  double GetMaxKh() const;
  // The largest finite cumulative displacement of the rows; unset without one.
  double GetMaxCumDelta() const;

  // Record: the design row, the row count (int32) and the rows, the block weight, the yield
  // coefficient, from document version 9 the allowable strain, the allowable displacement, the
  // graph settings. Load reads the whole record before it changes anything; an older record keeps
  // the allowable strain.
  void Store(Archive& ar, int version) const;
  void Load(Archive& ar, int version);

  // The graph of the cumulative displacement over kh in the plot area, its data inside the inner
  // rectangle, which it keeps; then the grid, the legend and the data.
  void DrawGraph(CViewInfo* view, const DevRect& plotArea, const DevRect& inner);
  // The frame and, with usable ranges, the grid, labels and captions; keeps the limits it used.
  void DrawGraphGridOnly(CViewInfo* view, const DevRect& plotArea);
  void DrawGraphLegendOnly(CViewInfo* view, const DevRect& plotArea) const;
  // The rows' displacements, broken where one cannot be drawn, the allowable displacement and the
  // design coefficient (the settings' last reference value), clipped to the inner rectangle.
  void DrawGraphDataOnly(CViewInfo* view, const DevRect& plotArea) const;

  CShearData design;  // at the design coefficient: kh, cumulative strain and displacement only
  std::vector<CShearData> rows;
  double weight = kNoValue;       // W = B * gamma_t * L * h, kN
  double yieldK = kNoValue;       // coefficient of local failure kL
  double allowStrain = kNoValue;  // allowable shear strain
  double allowDisp = kNoValue;    // allowable displacement, whole mm rounded down
  CDrawResGraphSet graph;         // cumulative displacement over kh

  // Of the last DrawGraph, neither stored nor copied: the inner rectangle and the axis limits
  // (X minimum, X maximum, Y minimum, Y maximum) of the last grid drawn.
  DevRect plotRect{};
  std::array<double, 4> axisLimits{};
};
