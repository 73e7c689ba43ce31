#pragma once
// The outcome of a slip-circle search. CResCircle is what every circle-search result set keeps:
// the result key, the result mesh of representative points with its contour, the flat ("serial")
// list of the listed points that is sorted and scanned for extremes, the results of a specified
// circle, the scatter graph's settings and the point the user has chosen; it draws the circles
// and the contour on the section and the scatter graph of two result values. CResStab is the
// result set of the plain search, whose search conditions are its base; the drainage and
// reinforcement result sets (ResDrain.h) judge every circle before and after the measure.
//
// The serial list and the current result observe points owned by the mesh. Whatever replaces or
// frees the mesh (DeleteResultAll, SetMesh, Copy, Load) empties the list and resets the current
// result first, or rebuilds both against the new mesh, so neither ever refers to a freed point.

#include <array>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/circle/ArcCondition.h"
#include "core/circle/RepMesh.h"
#include "core/circle/Slice.h"
#include "core/model/DrawResGraphSet.h"
#include "core/stability/BlockResult.h"
#include "platform/DevTypes.h"

class Archive;
class CRepKey;
class CViewInfo;

// A sort of the serial list: the result kind and the direction (0 ascending, else descending).
struct tagREPSORT {
  int kind = 10;
  int order = 0;
};

class CResCircle {
 public:
  using SerialList = CRepMesh::SerialList;
  // What the "after" values of the points measure.
  enum class Measure { kNone, kDrainage, kReinforcement };

  // The result kinds these sets read (CRepPoint::GetKeyValue): Fs, Fs after the measure and Pr
  // of the normal case (column 0) and of the seismic case (column 1), the cumulative
  // displacement before and after, the Ky values that decide whether a displacement counts, and
  // the restraining force of the displacement calculation.
  static constexpr int kKindFs = 10;
  static constexpr int kKindFsAfter = 11;
  static constexpr int kKindPr = 12;
  static constexpr int kKindFsSeis = 16;
  static constexpr int kKindFsAfterSeis = 17;
  static constexpr int kKindPrSeis = 18;
  static constexpr int kKindDelta = 19;
  static constexpr int kKindDeltaAfter = 20;
  static constexpr int kKindKyPeak = 21;
  static constexpr int kKindKyDrop = 22;
  static constexpr int kKindKyPeakAfter = 23;
  static constexpr int kKindKyDropAfter = 24;
  static constexpr int kKindPrNewmark = 30;

  // The values of the specified-circle records: the safety factor (and the one after the measure)
  // of a slice-method record and of a known-block record.
  static constexpr int kSliceFs = 28;
  static constexpr int kSliceFsAfter = 29;

  CResCircle(const CResCircle&) = delete;
  CResCircle& operator=(const CResCircle&) = delete;
  virtual ~CResCircle();

  // ---- Lifecycle ----

  // The key's Init, serial count 0, the display settings' defaults, specified-result kind 0, the
  // four result records unset, the graph settings' Init. Frees no mesh.
  void InitResults();
  // Frees the mesh, empties the serial list, resets the current result, serial count 0 and the
  // four result records unset. Conditions, key and graph settings stay.
  void DeleteResultAll();
  // Equal specified-result kinds, known-block results and graph settings.
  bool IsSameResults(const CResCircle& other) const;

  // ---- Results ----

  // The engine hands its mesh over; the serial list is emptied and the current result reset.
  void SetMesh(std::unique_ptr<CRepMesh> mesh);
  CRepMesh* GetMesh() const { return mesh_.get(); }
  // With a mesh, fills the list with the points listed under the key (the own key when null);
  // returns the list's length. The list may be the own serial list.
  int SerialResult(SerialList& list, const CRepKey* key);
  // The own serial list under the own key.
  int SerialResult();
  SerialList& GetSerialList() { return serial_; }
  const SerialList& GetSerialList() const { return serial_; }
  int GetSerialCount() const { return serialCount_; }
  void SetSerialCount(int count) { serialCount_ = count; }
  // Sorts the serial list in the exchange order (core/base/ExchangeSort.h) by the kind's value.
  void SortSerial(const tagREPSORT& sort);
  // With a mesh, chooses the representatives and traces the contour under the own key.
  void RemakeContour();
  // The first listed point whose selection mark of the column (0 or 1) is 1; null otherwise.
  CRepPoint* GetSelectRepPt(int column) const;
  void SetCurrentResult(CRepPoint* point) { current_ = point; }
  CRepPoint* GetCurrentResult() const { return current_; }
  CRepKey& GetKey() { return *key_; }
  const CRepKey& GetKey() const { return *key_; }

  // ---- Extremes over the serial list ----

  // The smallest Fs of the column (kNoValue for none); points without a value are skipped.
  double GetMinFs(int column) const;
  // The largest Pr of the column; 9e32 for an empty list.
  double GetMaxPr(int column) const;
  // The largest cumulative displacement of the points whose Ky at peak (and, with the flag, at
  // immediate drop) is not negative; kNoValue for none.
  double GetMaxDelta(int flag) const;
  // The largest restraining force of the displacement calculation; 9e32 for an empty list.
  double GetMaxPrNm() const;
  // The specified circle's safety factor of the column: by the slice method for specified-result
  // kind 0, by known block forces for 1 or 2; kNoValue otherwise.
  double GetSpecifFs(int column) const;
  // The smallest / largest value of the kind over the points that have it (9e32 / kNoValue for
  // none). Kinds 0 and 1 count as 0; kinds without a value to compare give kNoValue. For the
  // displacement after the measure (20) the Ky values after the measure decide as in GetMaxDelta.
  double GetSerialMin(int kind, int flag) const;
  double GetSerialMax(int kind, int flag) const;
  // The automatic axis ranges of the scatter graph from the values of its two items.
  void SetGraphMaxMin(int flag);

  // ---- Drawing (ResStabDraw.cpp) ----

  // Every listed circle in the colour of its Fs of the column on the key's scale (column -1: the
  // key's contour case), when the key's all-circles switch is on.
  void DrawAllSlide(CViewInfo* view, int column) const;
  // Every listed circle red when its displacement exceeds the limit, else blue.
  void DrawAllSlideNewmark(CViewInfo* view, double limit) const;
  // The mesh's contour; for a column other than -1 and the key's contour case, the contour of
  // that column, after which the key's contour case is rebuilt.
  void DrawContour(CViewInfo* view, int column);
  // The scatter graph: the plot rectangle becomes the plot area, then grid and data.
  void DrawResultSimple(CViewInfo* view, const DevRect& frame, const DevRect& plot, int flag);
  // The same for the displacement graph.
  void DrawResultSimpleNM(CViewInfo* view, const DevRect& frame, const DevRect& plot, int flag);
  // The frame in the background colour, the plot area's border, the dotted grid at the pitches
  // with its labels and the axis captions. With the automatic range off the view's world area
  // takes the settings' ranges first; the view's world area becomes the drawn ranges that the
  // data is mapped with.
  void DrawResultGridOnly(CViewInfo* view, const DevRect& frame);
  // The listed points as markers of the two items: the normal ones, those beyond the allowable
  // Fs, then the extreme ones (the smallest Fs) filled in the extreme colour.
  void DrawResultDataOnly(CViewInfo* view, const DevRect& frame, int flag) const;
  // The same by the displacement: beyond the allowable displacement, the largest one extreme.
  void DrawResultDataNMOnly(CViewInfo* view, const DevRect& frame, int flag) const;
  const DevRect& GetPlotArea() const { return plotArea_; }

  // Stored, loaded and copied with the results; read by nothing here.
  std::array<int, 4> display{};
  // Which record holds a specified circle's result: 0 the slice results, 1 or 2 the known-block
  // results.
  int specifKind = 0;
  // A specified circle's results, index 0 the normal case, 1 the seismic case.
  std::array<tagRESULTSLICE, 2> sliceResults;
  std::array<tagBLOCKRESULTKNOWN, 2> knownResults;
  CDrawResGraphSet graph;
  // The order the engines sort the serial list in after a search; not stored.
  tagREPSORT serialSort;

 protected:
  // The key (a CRepKeyHokyo for a measure) and the conditions of the owner, which outlive this
  // part.
  CResCircle(Measure measure, const CArcCondition& conditions);

  // The smallest Fs after the measure of the column, as GetMinFs.
  double GetMinFsAfter(int column) const;
  // The largest displacement after the measure of the points whose Ky values after the measure
  // are not negative (with the flag, both), as GetMaxDelta.
  double GetMaxDeltaAfter(int flag) const;
  // The specified circle's safety factor of the column before or after the measure.
  double SpecifFs(int column, bool after) const;
  // Key, counts, display settings, records and graph settings as plain data, then the mesh: a
  // copy of the other's with the serial list rebuilt under the own key, its contour traced and
  // the current result at the copied point; without the other's mesh, no mesh.
  void CopyResults(const CResCircle& other);
  // The record from the key on, each field from the version that added it: key, serial count,
  // display settings (one int before version 6, four from it), specified-result kind and the
  // known-block results (12), the slice results (18), the mesh flag and mesh (11), the graph
  // settings (22). Store writes exactly what Load reads at the version.
  void StoreResults(Archive& ar, int version) const;
  // Reads that record whole into a new part, which CommitResults then takes over.
  std::unique_ptr<CResCircle> ReadResults(Archive& ar, int version) const;
  void CommitResults(CResCircle&& read);

 private:
  // How a point's graph marker is drawn: outlined in the colour beyond the allowable value or in
  // the normal one, filled in the extreme colour or in the outline's.
  struct MarkerClass {
    bool beyond;
    bool extreme;
  };

  // The Fs kinds of the column before or after the measure.
  static int FsKind(int column, bool after);
  // The smallest value of the Fs kind; points without one are skipped.
  double MinFs(int kind) const;
  // The largest displacement of the kind over the points whose Ky values of the kinds are not
  // negative (the drop only with the flag).
  double MaxDelta(int kind, int peakKind, int dropKind, int flag) const;
  // The caption of a graph axis with its unit.
  std::string AxisCaption(int item) const;
  // The marker radius in device units for the settings' marker size and the view's mode.
  int MarkerRadius(const CViewInfo& view) const;
  // The settings' four bounds set, both items chosen and points listed.
  bool CanDrawData() const;
  // The extreme values of the graphs, each with its result kind: the smallest Fs of both columns
  // (and after the measure), the largest displacement (and after the measure).
  struct KindValue {
    int kind;
    double value;
  };
  using Extremes = std::vector<KindValue>;
  Extremes FsExtremes() const;
  Extremes DeltaExtremes(int flag) const;
  static bool IsExtreme(const CRepPoint& p, const Extremes& extremes);
  // Beyond the allowable Fs (after the measure for a measure) under the allowable mode.
  bool IsBeyondFs(const CRepPoint& p) const;
  // Beyond the allowable displacement (after the measure for a measure).
  bool IsBeyondDelta(const CRepPoint& p) const;
  // The listed points within the drawn ranges as markers, in three layers (normal, beyond the
  // allowable value, extreme) and the current result last at twice the size.
  void DrawMarkers(const CViewInfo& view,
                   const std::function<MarkerClass(const CRepPoint&)>& classify) const;
  // Whether GetSerialMin and GetSerialMax take the kind.
  bool TakesKind(int kind) const;
  // GetSerialMin and GetSerialMax: the start value for an empty list, 0 for the marks, kNoValue
  // for a kind not taken, else the extreme of the values set.
  template <class Better>
  double SerialExtreme(int kind, int flag, double start, Better better) const;
  // The extreme value of the kind over the list, skipping points the filter refuses.
  template <class Better, class Skip>
  double Extreme(int kind, double start, Better better, Skip skip) const;
  // The mesh is gone or replaced: nothing may observe its points any more.
  void ForgetPoints();

  Measure measure_;
  const CArcCondition* conditions_;  // observed; the owner's conditions
  std::unique_ptr<CRepKey> key_;
  int serialCount_ = 0;
  std::unique_ptr<CRepMesh> mesh_;
  SerialList serial_;
  CRepPoint* current_ = nullptr;  // observed; a point of the mesh
  DevRect plotArea_{};
  // The world area of the view at the last grid drawing: x min, x max, y max, y min.
  std::array<double, 4> drawnRange_{};
};

class CResStab : public CArcCondition, public CResCircle {
 public:
  CResStab();
  ~CResStab() override;

  // The conditions' Init, then the results' (InitResults).
  void Init();
  void ClearRes() { DeleteResultAll(); }
  // The conditions (CArcCondition::Copy) and the results (see CopyResults).
  void Copy(const CResStab& src);
  // Equal conditions (IsSameUseCale) and equal results (IsSameResults); the mesh and the slice
  // results are not compared.
  bool IsSame(const CResStab& other) const;
  // Record: the conditions' record, then the results' (StoreResults). The version is the
  // circle-search record version. Load reads the whole record before it changes anything; it
  // leaves the serial list empty (SerialResult rebuilds it) and no current result.
  void Store(Archive& ar, int version) const;
  void Load(Archive& ar, int version);
};
