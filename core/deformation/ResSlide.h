#pragma once
// The result of the slide-deformation step: one row per horizontal seismic coefficient of the
// march (relative safety factor Fsr, slide strain gs = A * Fsr^B and slide displacement Ds of the
// potential slide layer), the row at the design coefficient, the allowable displacement, the
// judgements and the three graphs against kh. The case holds one and the document stores it.
//
// A value that could not be computed is kNoValue; a judgement is made only on set values and
// passes when the design value is strictly below its allowable value.

#include <array>
#include <memory>
#include <vector>

#include "core/base/Utility.h"
#include "core/model/DrawResGraphSet.h"
#include "core/stability/MltPoint.h"
#include "platform/DevTypes.h"

class Archive;
class CViewInfo;

// One result row: kh, Fsr, gs (dimensionless) and Ds (mm).
struct tagSLIDERES {
  double kh = kNoValue;
  double fsr = kNoValue;
  double gammaS = kNoValue;
  double ds = kNoValue;
  bool operator==(const tagSLIDERES&) const = default;
};

// One row as four doubles in member order.
void StoreSlideRes(Archive& ar, const tagSLIDERES& row);
tagSLIDERES LoadSlideRes(Archive& ar);

class CResSlide {
 public:
  // The graph kinds: Fsr, gs and Ds (mm), each against kh.
  static constexpr int kGraphFsr = 0;
  static constexpr int kGraphGammaS = 1;
  static constexpr int kGraphDs = 2;
  static constexpr int kGraphCount = 3;

  CResSlide() { Init(); }
  ~CResSlide();
  // The result owns its multi-plane points, so it is copied with Copy, never implicitly.
  CResSlide(const CResSlide&) = delete;
  CResSlide& operator=(const CResSlide&) = delete;

  // The allowable slide strain, and A and B of gs = A * Fsr^B, of the reference conditions.
  static double GetKyoyouHizumi();
  static double GetKeiA();
  static double GetKeiB();

  // Everything to its defaults: no rows, no allowable displacement, a fresh key, the sort by
  // seismic Fs ascending and the graph defaults.
  void Init();
  // The rows, the design row, the counts and the multi-plane points cleared; the allowable
  // displacement, the key, the sort and the graphs stay.
  void DeleteResultAll();
  void ClearRes() { DeleteResultAll(); }

  // Deep copy of the rows, the allowable displacement, the key, the counts, the sort, the
  // multi-plane points and the graph settings (without their reference values). The ordered
  // list is rebuilt under the copied key, so it never points into the other result.
  void Copy(const CResSlide& other);
  bool IsSame(const CResSlide& other) const;

  // Fsr and Ds of the design row are set.
  bool IsResult() const;
  // The design row's gs is set and strictly below the allowable slide strain.
  bool IsJudgeGs() const;
  // The design row's Ds and the allowable displacement are set and Ds is strictly below it.
  bool IsJudgeDs() const;

  // The multi-plane points the key (null: the result's own) lets through, into the list; its
  // size. Without points the list is emptied.
  int SerialResult(std::vector<CMltPoint*>& list, const CMltKey* key);
  int SerialResult() { return SerialResult(serial_, &key_); }
  const std::vector<CMltPoint*>& GetSerial() const { return serial_; }
  // Exchange sort of the ordered list by the key value of the item: ascending exchanges when the
  // earlier value is greater, descending when the later is greater or equal. Returns size - 1.
  int SortSerial(const tagMLTSORT& sort);
  // The first point of the ordered list with these blocks; null when none.
  CMltPoint* GetSelectRepPt(int start, int end) const;

  void SetResult(std::unique_ptr<CMltBlocks> points);
  const CMltBlocks* GetResult() const { return points_.get(); }

  // Extremes over the rows; kNoValue without a row. The Fsr, gs and Ds extremes skip unset
  // values and values that cannot be drawn (not finite, negative subnormal).
  double GetMaxKh() const;
  double GetMinFsr() const;
  double GetMaxFsr() const;
  double GetMinGammaS() const;
  double GetMaxGammaS() const;
  double GetMinStrain() const;
  double GetMaxStrain() const;

  // The graph of the kind: keeps the inner rectangle, then grid, legend and data.
  void DrawGraph(CViewInfo* view, const DevRect& area, const DevRect& inner, int kind);
  // Background, frame, grid, labels, captions and title; keeps the axis limits it drew.
  void DrawGraphGridOnly(CViewInfo* view, const DevRect& area, int kind);
  void DrawGraphLegendOnly(CViewInfo* view, const DevRect& area, int kind) const;
  // The rows' line (and markers) and the allowable lines, mapped with the kept axis limits.
  void DrawGraphDataOnly(CViewInfo* view, const DevRect& area, int kind) const;

  // Record by document version: the design row, the rows, the allowable displacement, the key,
  // the four counts, the multi-plane points behind a flag and, from version 4, the three graph
  // settings. A failed Load leaves the result as it was; an older record keeps the default graph
  // settings.
  void Store(Archive& ar, int version) const;
  void Load(Archive& ar, int version);

  CMltKey& GetKey() { return key_; }
  const CMltKey& GetKey() const { return key_; }
  CDrawResGraphSet& GetGraphSet(int kind) { return graphs.at(static_cast<std::size_t>(kind)); }
  const DevRect& GetPlotRect() const { return plotRect_; }

  tagSLIDERES designRow;          // at the section's design coefficient; its kh stays unset
  std::vector<tagSLIDERES> rows;  // ascending kh
  double allowableDs = kNoValue;  // Da, mm
  int blockCount = 0;             // blocks of the case at the last calculation
  int serialCount = 0;            // points of the ordered list after the last calculation
  int sortItem = 12;              // key item of the sort (12: seismic Fs)
  int sortOrder = 0;              // 0 ascending, otherwise descending
  std::array<CDrawResGraphSet, kGraphCount> graphs;

 private:
  // The graph settings of every kind: CDrawResGraphSet::Init with the kind's ranges and pitches.
  static std::array<CDrawResGraphSet, kGraphCount> DefaultGraphs();

  CMltKey key_;
  std::unique_ptr<CMltBlocks> points_;
  std::vector<CMltPoint*> serial_;  // observes points_
  // Where the last grid was drawn: the inner rectangle and its axis limits (not stored).
  DevRect plotRect_{};
  std::array<double, 4> axisLimits_{};  // X min, X max, Y min, Y max
};
