#pragma once
// The result set of one multi-plane calculation: the points it produced with the key that filters
// them, the ordered list the dialogs, reports and graphs show, its sort selector, the adopted
// back-analysis values and the Fs graph settings. A case holds two, the forward and the
// back-analysis results.

#include <array>
#include <memory>
#include <vector>

#include "core/model/DrawResGraphSetMltFs.h"
#include "core/stability/BlockResult.h"
#include "core/stability/MltPoint.h"
#include "platform/DevTypes.h"

class Archive;
class CViewInfo;

class CResStab2 {
 public:
  CResStab2();
  ~CResStab2();
  CResStab2(const CResStab2&) = delete;
  CResStab2& operator=(const CResStab2&) = delete;

  int GetMltType() const { return kind_; }
  void SetMltType(int kind) { kind_ = kind; }

  // Key, counts, sort selector, block result records and slide-top arc switches to their defaults.
  void Init();
  // Counts 0, no points, no current result, an empty ordered list, the block result records and
  // the adopted values reset.
  void DeleteResultAll();
  void ClearRes() { DeleteResultAll(); }

  // Takes the points of a calculation.
  void SetResult(std::unique_ptr<CMltBlocks> points);
  const CMltBlocks* GetResult() const { return points_.get(); }
  CMltBlocks* GetResult() { return points_.get(); }

  // Rebuilds the list from the points under the key (the own key when null); returns its size.
  int SerialResult(std::vector<CMltPoint*>& list, const CMltKey* key);
  int SerialResult() { return SerialResult(serial_, &key_); }
  const std::vector<CMltPoint*>& GetSerial() const { return serial_; }

  // Sorts the ordered list by the selector (see the .cpp for the order of equal values); the
  // points without the selected value follow all others, in either order, in their sorted order.
  void SortSerial(const tagMLTSORT& sort);
  void SortSerial() { SortSerial(sort_); }

  // The first point of the ordered list that is the typical point of case 0 or 1; null else.
  CMltPoint* GetSelectRepPt(int resultCase) const;
  // The smallest Fs of the case over the ordered list; no value when none has one.
  double GetMinFs(int resultCase) const;
  // The largest c of the back-analysis points of the ordered list; no value when none.
  double GetMaxC() const;
  // The smallest / largest value of the item (0, 1, 2, 3, 9 or 12) over the list, ignoring no
  // value and, for a safety factor, the marker of a search that did not converge; no value for
  // another item or when none has one.
  static double GetGraphFsMin(const std::vector<CMltPoint*>& list, int item);
  static double GetGraphFsMax(const std::vector<CMltPoint*>& list, int item);
  double GetSerialMin(int item) const { return GetGraphFsMin(serial_, item); }
  double GetSerialMax(int item) const { return GetGraphFsMax(serial_, item); }
  // The point of the ordered list with these blocks; null when none.
  CMltPoint* GetAtBlockRes(int start, int end) const;
  double GetSpecifFs(int /*resultCase*/) const { return kNoValue; }
  // The ranges of the Fs graph of the case (-1 both) from all points.
  void SetGraphFsMaxMin(int resultCase);

  // The Fs graph of the graph settings' current case: end block against Fs, one line per start
  // block, over all points in their stored order. The plot rectangle loses legendWidth pixels per
  // legend column on its right for the legend. Line colours that do not match the number of start
  // blocks are replaced by temporary ones for this drawing; the settings never change here.
  void DrawGraphFs(CViewInfo* view, const DevRect& graph, const DevRect& plot, int legendWidth);
  // The c-tan(phi) graph of back-analysis results: c0 and tan(phi0) of the normal case's typical
  // point joined by a line, and its adopted pair marked.
  void DrawCFai(CViewInfo* view, const DevRect& rect) const;
  // Colours for the start blocks of the points, made when the result set is built.
  void MakeGraphColors();
  const DevRect& GetLastPlotRect() const { return lastPlot_; }

  // Record by document version; a failed Load leaves the set as it was. Copy deep-copies the
  // points and rebuilds the ordered list under the copied key.
  void Store(Archive& ar, int version) const;
  void Load(Archive& ar, int version);
  void Copy(const CResStab2& other);

  bool IsSlideTopArc(int resultCase) const;
  bool IsResultCFai() const { return adopted[0] != kNoValue && adopted[1] != kNoValue; }
  CMltPoint* GetCurrentResult() const { return current_; }
  void SetCurrentResult(CMltPoint* point) { current_ = point; }

  CMltKey& GetKey() { return key_; }
  const CMltKey& GetKey() const { return key_; }
  const tagMLTSORT& GetSort() const { return sort_; }
  void SetSort(const tagMLTSORT& sort) { sort_ = sort; }

  int blockCount = 0;   // blocks of the case at the calculation
  int resultCount = 0;  // results under a default key at the calculation
  std::array<tagBLOCKRESULTSLICE, 2> blockResults;
  std::array<int, 2> slideTopArc{1, 0};
  // The adopted back-analysis values: c, a second value, tan(phi), a fourth value.
  std::array<double, 4> adopted{kNoValue, kNoValue, kNoValue, kNoValue};
  CDrawResGraphSetMltFs graphFs;

 private:
  int kind_ = CMltPoint::kKindForward;
  CMltKey key_;
  tagMLTSORT sort_;
  std::unique_ptr<CMltBlocks> points_;
  std::vector<CMltPoint*> serial_;
  CMltPoint* current_ = nullptr;
  // Where the last Fs graph went: its plot rectangle (not stored).
  DevRect lastPlot_{};
};

// Reorders the list as the exchange sort does: for every position i and every later position j
// in turn, the points at i and j are exchanged when IsSortValue of the point at i against the
// point at j says so. Equal values end in the order that loop gives them.
void ExchangeSort(std::vector<CMltPoint*>& list, const tagMLTSORT& sort);
