#pragma once
// The rock-bolt arrangement of a case: the bars it owns, the statistics of their lengths inside
// the sliding mass that give the required bar length, and the force calculation over all bars
// with its totals and the graph of the allowable forces per bar.
//
// Members are implemented in ReinfArrange.cpp (list, order, lengths and statistics, record,
// drawing) and ReinfArrangeCalc.cpp (forces, totals, the Tpa graph).

#include <memory>
#include <vector>

#include "core/base/Utility.h"
#include "core/deformation/Reinforce.h"
#include "platform/DevTypes.h"

class Archive;
class CDPolyArray;
class CPrmReinf;
class CSpSlideWork;
class CSpWaterGroup;
class CViewInfo;

class CReinfArrange {
 public:
  // The graph's series, in drawing order.
  enum TpaSeries { kSeriesT1pa, kSeriesT2pa, kSeriesTsa, kSeriesTpa, kSeriesCount };

  CReinfArrange() = default;
  // An arrangement is copied with Copy, which copies every bar.
  CReinfArrange(const CReinfArrange&) = delete;
  CReinfArrange& operator=(const CReinfArrange&) = delete;
  CReinfArrange(CReinfArrange&&) = default;
  CReinfArrange& operator=(CReinfArrange&&) = default;
  ~CReinfArrange() = default;

  // ---- The bars ----

  // Deletes every bar; the statistics become unset.
  void Init();
  void RemoveAll() { bars_.clear(); }
  // Takes the bar over; a null bar throws std::out_of_range.
  void Add(std::unique_ptr<CReinforce> bar);
  // Init, then n new default bars (none for n <= 0).
  void Create(int n);
  // Throw std::out_of_range outside 0..n-1.
  CReinforce* GetAt(int index);
  const CReinforce* GetAt(int index) const;
  int GetSize() const { return static_cast<int>(bars_.size()); }

  // Copies of the other's bars (CReinforce::Copy), its statistics and its graph rectangle.
  void Copy(const CReinfArrange& other);
  // Equal bar counts and each pair of bars IsSameUseCale; numbers are not compared.
  bool IsSame(const CReinfArrange& other) const { return IsSameUseCale(other); }
  bool IsSameUseCale(const CReinfArrange& other) const;
  // Every bar valid; an empty arrangement is valid.
  bool IsValid() const;

  // Orders the bars from the highest head down; heads whose heights differ by less than 1e-9 are
  // ordered by x, the larger x first for a side other than 0 and the smaller first for side 0.
  // Then numbers them 1..n.
  void Normalize(int side);
  // Numbers the bars 1..n in their order.
  void Numbering();
  // Some bar's extra length is 0.
  bool IsYotyoZero() const;
  // No bar, or the first bar goes into +x: the numbers are drawn to the right of the tails.
  bool IsDrawSideRight() const;
  // Only the bar at the index is active; none for a negative index or one past the bars.
  void SetReinfActive(int index);

  // ---- Lengths inside and beyond the slip surface ----

  void ClearRes(int set);
  void CreateZoneStratum(CDPolyArray& strata);
  void CreateZone(int set, const CSpSlideWork& slip);
  // The statistics unset.
  void ClearH();
  // The set's zones of every bar (stratum zones included) and, over the bars with a positive H,
  // the sum, mean, deviation, mean plus deviation and design length of H. Without strata, slip
  // surface or bars only the statistics become unset; without a positive H they stay unset.
  void CalcRealH(int set, CDPolyArray* strata, const CSpSlideWork* slip);
  double GetSumH() const { return sumH_; }
  double GetMeanH() const { return meanH_; }
  double GetDeviationH() const { return deviationH_; }
  double GetMeanPlusDeviation() const { return meanPlusDeviation_; }
  // 2 (mean + deviation) + the first bar's extra length.
  double GetDesignLength() const { return designLength_; }

  // ---- Drawing ----

  // Every bar; with numbers, each bar's number beside its tail.
  void Draw(CViewInfo* view, bool numbers, bool dotted) const;

  // ---- Record ----

  // The bar count (int32), then each bar's record. Load replaces every bar by the bars read (it
  // reads them all before it changes anything) and unsets the statistics.
  void Store(Archive& ar, int version) const;
  void Load(Archive& ar, int version);

  // ---- Forces (ReinfArrangeCalc.cpp) ----

  // Clears the set, cuts every bar's zones at the slip surface (the stratum zones must exist) and
  // calculates every bar's forces. Without strata or slip surface only the set is cleared.
  void Calc(int set, const CDPolyArray* strata, const CSpWaterGroup* water,
            const CSpSlideWork* slip, const CPrmReinf& prm);
  // The sum of the bars' Sh (Ss) of the set, unset ones skipped, rounded to 0.001; 0 without
  // bars.
  double GetTotalSh(int set) const;
  double GetTotalSs(int set) const;
  // round(total Sh + total Ss).
  double GetTotalSr(int set) const;
  // The largest T1pa, T2pa or Tsa of the set over all bars; unset without bars.
  double GetMaxTpa(int set) const;

  // The graph of the set's forces per bar: keeps the plot area, then draws the frame and the
  // series with their legend, clipped to the drawing area. The view's world area gives the force
  // range (x) and the bar range (y); bar k of n (from 0) lies at y = n - k, so that the first bar
  // is drawn at the top.
  void DrawTpaGraphStart(CViewInfo* view, const DevRect& drawArea, const DevRect& plotArea,
                         int set);
  // The frame: the drawing area filled white on the screen, dotted grid lines at every bar and
  // at every step of the force axis, the border, the labels and the two titles.
  void SetTpaGridArea(CViewInfo* view, const DevRect& drawArea) const;
  // The four series, drawn over each pair of consecutive bars; with legend, each with its legend
  // entry.
  void DrawTpaGraph(CViewInfo* view, int set, bool legend) const;
  // The legend entry of one series beside the plot.
  void DrawLineType(CViewInfo* view, TpaSeries series) const;
  // The plot area of the last graph.
  const DevRect& GetGraphRect() const { return graphRect_; }

 private:
  std::vector<std::unique_ptr<CReinforce>> bars_;
  double sumH_ = kNoValue;
  double meanH_ = kNoValue;
  double deviationH_ = kNoValue;
  double meanPlusDeviation_ = kNoValue;
  double designLength_ = kNoValue;
  DevRect graphRect_;
};
