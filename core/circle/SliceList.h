#pragma once
// The slice division: the sliding body above one working slip surface cut into vertical slices.
// The division points are the x values at which anything changes (vertices and crossings of the
// strata, the water lines and the slip surface, the slip surface's own vertices, the ends of
// distributed loads); gaps wider than the maximum slice width are split; one slice is built per
// gap with its boundaries, water levels, base arc, strength type, c and phi. The list keeps the
// totals of the slice forces that the safety-factor method computes, groups consecutive slices
// of one kind into intervals, and draws the slices with their value labels.
//
// Members are implemented in SliceList.cpp (division, slices, totals, intervals) and
// SliceListDraw.cpp (drawing).

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <utility>
#include <vector>

#include "core/circle/Slice.h"
#include "core/geometry/DArc.h"
#include "core/geometry/DPoint.h"
#include "core/geometry/DPoly.h"
#include "core/geometry/DPolyArray.h"
#include "core/section/SpSlideWork.h"

class CDanmenStab;
class CSpGround;
class CSpWaterGroup;
class CViewInfo;

// Which values Draw writes beside the slices: the master switch, then one switch per value.
struct tagSHOWINFO {
  int master = 0;
  int area = 0;      // A of each layer
  int gamma = 0;     // unit weight of each layer
  int weight = 0;    // W of each layer
  int number = 0;    // slice number
  int angle = 0;     // base angle
  int cohesion = 0;  // c of the base
  int friction = 0;  // phi of the base
  int centroid = 0;  // centroids of the layers and of the slice
  int length = 0;    // base length L
  int pore = 0;      // pore-water force U
  int coords = 0;    // X and Y of the boundary ends
};

class CSliceList {
 public:
  CSliceList() = default;
  // fitToGround false: the list works on a slip surface as it is given and does not fit it to the
  // ground (a list made to draw given slices).
  explicit CSliceList(bool fitToGround) : fitToGround_(fitToGround) {}
  CSliceList(const CSliceList&) = delete;
  CSliceList& operator=(const CSliceList&) = delete;

  // Section and working surface forgotten, direction false, fitting on, totals unset.
  void Init();
  // The section whose ground, water line, loads and calculation condition the division reads;
  // observed.
  void SetDanmenStab(const CDanmenStab* section) { section_ = section; }

  // Builds the slices of the surface (the section's searched, else entered, working surface when
  // null) over the strata (the ground's stratum polygons when null) with the water group's lines
  // (the section's water line when null). Replaces the slices the list held. Returns their
  // number; 0 when the ground, the surface or the division points do not suffice.
  int CreateSlice(CDPolyArray* strata, const CSpWaterGroup* water, const CSpSlideWork* surface);
  // The division points of the surface; returns their number (0 without a ground).
  int SetXArray(const CDPolyArray* strata, const CSpWaterGroup* water, const CSpSlideWork& surface);
  void InitXArray() { xs_.clear(); }
  void SortXArray();
  // Removes each x closer than 1e-5 to the x kept before it.
  void RemoveSameX();
  // Removes the x values outside [x1, x2].
  void RemoveOuter(double x1, double x2);
  // Splits each gap wider than the width from its left end by the width (the last piece may be
  // narrower): mode 0 no gap, mode 1 the gaps whose middle lies under an arc piece of the surface,
  // another mode every gap. A width not above 0 (or unset) splits nothing.
  void InsertRegDist(int mode, double width, const CSpSlideWork& surface);
  double GetX(int i) const;
  int GetXSize() const { return static_cast<int>(xs_.size()); }
  // Fits the surface to the ground into the pieces; true without change while the list does not
  // fit, false when fitting yields no piece.
  bool CorrectSlideObj(const CSpSlideWork& work, const CSpGround& ground,
                       CDPolyArray* pieces) const;
  // Empties the list of its slices and division points; the slice objects stay with the list,
  // which builds the next division's slices in them.
  void DeleteSliceArray();
  // Sizes the storage of the divisions of slip surfaces on the section before the first, so that
  // dividing circle after circle does not grow it: room for the slices that the strata's edges and
  // the splits of the ground's width by the slice width can give (up to kMostReservedSlices), each
  // with room for two boundaries of every stratum, its base and its water levels, and for the
  // division points that the strata's vertices and crossings and the splits can give.
  void Reserve(const CDanmenStab& section);
  static constexpr std::size_t kMostReservedSlices = 1024;
  // Appends a slice built elsewhere; a list assembled slice by slice.
  void AddSlice(std::unique_ptr<CSlice> slice) { slices_.push_back(std::move(slice)); }

  int GetSize() const { return static_cast<int>(slices_.size()); }
  // Null outside the list.
  CSlice* GetSlicePtr(int i) {
    return i < 0 || i >= GetSize() ? nullptr : slices_[static_cast<std::size_t>(i)].get();
  }
  const CSlice* GetSlicePtr(int i) const {
    return i < 0 || i >= GetSize() ? nullptr : slices_[static_cast<std::size_t>(i)].get();
  }
  // CSlice::GetCF of slice i; false beyond the list.
  bool GetCF(int i, double& c, double& phi) const;
  // Every slice has a stratum above its base and a known c and phi: its own strength type 2 or
  // 3, or taken over from the slice before it.
  bool IsValidCFai() const;
  // The loads' components of every slice.
  void CalcKaju();
  // Whether a slice has a set, non-zero load sum of the case (k = 1 seismic, else normal).
  bool IsKajuExist(int k) const;
  // The slip surface the slices were built on (the list's own copy); null before CreateSlice.
  const CSpSlideWork* GetSlideWork() const { return work_.get(); }
  // The slip surface rises to the right.
  bool IsRightUpper() const { return direction_; }

  // ---- Extents ----

  // x from the slices' ranges, ymax the highest top, ymin the lowest base chord; all 0 when
  // empty.
  void GetRect(double& xmin, double& ymax, double& xmax, double& ymin) const;
  double GetTotalWidth() const;
  double GetTotalHight() const;
  // The lowest base chord; kAreaNotSet when empty.
  double GetTotalBottom() const;
  // With max the greatest height of a slice side; else the sum of the slice areas over the sum of
  // the widths.
  double GetH(bool max) const;

  // ---- Totals ----

  tagRESULTSLICE& GetTotal() { return total_; }
  const tagRESULTSLICE& GetTotal() const { return total_; }
  double GetTotalL() const { return total_[tagRESULTSLICE::kLength]; }
  double GetTotalA() const { return total_[tagRESULTSLICE::kArea]; }
  double GetTotalU() const { return total_[tagRESULTSLICE::kU]; }
  double GetTotalNe() const { return total_[tagRESULTSLICE::kNe]; }
  double GetTotalS() const { return total_[tagRESULTSLICE::kS]; }
  double GetTotalSe() const { return total_[tagRESULTSLICE::kSe]; }
  double GetTotalTe() const { return total_[tagRESULTSLICE::kTe]; }
  // Ns - Ne and Ts + Te; kNoValue when either is unset.
  double GetTotalNNe() const;
  double GetTotalTTe() const;
  // k = 1 the seismic case (Se, Te + Ts, Ns - Ne), else the normal case (S, T, N).
  double GetTotalS(int k) const;
  double GetTotalT(int k) const;
  double GetTotalN(int k) const;
  // GetTotalN, kNoValue when Ns or Ne is unset; and that less U.
  double GetPrintN(int k) const;
  double GetPrintNU(int k) const;

  // ---- Intervals: runs of slices of one kind ----

  // Both slices exist with the same strength type, the same base arc (or both straight), equal c
  // and phi, and their middles on the same piece of the working surface.
  bool IsSameGroup(int i, int j) const;
  bool IsGroupHead(int i) const;
  int GetKukanSize() const;
  // The n-th run (from 0): its first and last slice, its start (left end of the first base
  // chord) and end (right end of the last), and, when the first slice has an arc, isArc 1 and the
  // arc from the first slice's start angle to the last slice's end angle. False when there is no
  // n-th run.
  bool GetKukanInfo(int n, int& first, int& last, CDPoint& start, CDPoint& end, int& isArc,
                    CDArc& arc) const;

  // The slices with the values the show info asks for; nothing without it or with its master
  // switch off.
  void Draw(CViewInfo* view, const tagSHOWINFO* show) const;

  // The box of the segment a-b: the least and greatest x and y of its ends (std::min and
  // std::max of a's and b's, in that order).
  struct SegmentBox {
    double left;
    double right;
    double bottom;
    double top;
    static SegmentBox Of(const CDPoint& a, const CDPoint& b);
  };
  // A segment with its box and its terms for crossing an arc, found once for many divisions.
  struct BoxedSegment {
    SegmentBox box;
    CDArc::Edge edge;
  };
  // The x range of the surface; division points outside it are dropped, so the division skips
  // the points and crossings that would lie there.
  struct Span {
    double left;
    double right;
    // The surface's lowest and highest y.
    double bottom;
    double top;
    // x is not dropped as an outer point.
    bool Holds(double x) const;
  };
  // The surface's heights at the points the division tests (SliceList.cpp).
  struct SurfaceHeights;

 private:
  // The water lines that take part: the water line, and the upper water line with the
  // impermeable layer while they are switched on.
  struct WaterShapes {
    const CDPoly* water = nullptr;
    const CDPoly* upper = nullptr;
    const CDPoly* layer = nullptr;
  };
  WaterShapes GetWaterShapes(const CSpWaterGroup* group) const;
  // The ends of the surface's arcs (arcEnds_), the vertices of its slip line (slipLine_), its
  // vertical table (verticals_) and its crossing table (crossings_), which the division reads.
  void TakeSurfaceEnds(const CSpSlideWork& surface);
  // SetXArray with the surface's ends and slip line taken already (TakeSurfaceEnds).
  int DivisionPoints(const CDPolyArray* strata, const CSpWaterGroup* water,
                     const CSpSlideWork& surface);
  // The division points from the strata: their vertices on or above the surface and the
  // crossings of their edges with the surface and the water lines.
  void AddStrataXs(const CDPolyArray* strata, const WaterShapes& lines,
                   const SurfaceHeights& heights, const Span& span);
  // The ends of the distributed loads.
  void AddLoadXs();
  // The surface the slices are built on, made in the list's own surface: with fit the first
  // piece of the chosen surface fitted to the ground (CorrectSlideObj), else (or when fitting
  // yields none, or the list does not fit) a copy of it.
  void TakeSurface(const CSpSlideWork& chosen, const CSpGround& ground, bool fit);
  // The surface the slices are built on: the given one, else the section's.
  const CSpSlideWork* ChooseSurface(const CSpSlideWork* given) const;
  // The strata's table and outlines taken anew when their vertices have changed.
  void TakeStrata(const CDPolyArray& strata);
  // The side a slice shares with the next one, with the point of its base arc there and that
  // point's angle, and the vertical terms of that arc's circle.
  struct SharedSide {
    const CDArc* arc = nullptr;
    double x = 0;
    CDArc::LowerPoint end;
    CDArc::VerticalTerms terms;
  };
  // Appends a new slice between two division points with its base and strength type, without
  // boundaries; side carries the right side of the slice before and takes this slice's right
  // side. Keeps the surface's height at the slice's middle in midYs_.
  void StartSlice(double x1, double x2, SharedSide& side);
  // The boundary entries of the strata in every slice, in the order of the strata and of their
  // edges: each edge gives its entries to the slices its cuts can reach.
  void AddStrataBoundaries(const CDPolyArray* strata);
  // The entries of a shared range found in this division, given again for another stratum.
  void RepeatSharedEntries(std::pair<std::size_t, std::size_t> run, const CDPoly& stratum);
  // The slice between division points i and i + 1 with its boundaries ordered, its base chord
  // and its water levels.
  void FinishSlice(CSlice& slice, std::size_t i, const WaterShapes& water);
  // The slices without a boundary above their base are dropped; the others keep their order.
  void KeepSlicesWithLayers();
  // The slice's bottom arc: the surface's arc trimmed to [x1, x2] as CDArc::TrimCopy trims it,
  // with the points of the circle at x1 and x2 that its end angles come from and its half sweep;
  // a short piece's end angle is its start's plus the sweep from the chord (CDArc::LowerPieceTo).
  // None where TrimCopy gives none. side as in StartSlice.
  void TrimBottomArc(CSlice& slice, const CDArc& arc, double x1, double x2, SharedSide& side);
  // c and phi of the slice's base by its strength type: the base stratum's c and phi (type 2) or
  // phi with c = 0 (type 3); another type keeps the values of the slice before, and a slice
  // without a base stratum has neither.
  static void TakeStrength(const CSlice& slice, double& c, double& phi);
  // Drawing (SliceListDraw.cpp): one slice with its labels; c and phi carry the base strength
  // from slice to slice.
  void DrawSlice(const CViewInfo& view, const tagSHOWINFO& show, int index, double& c,
                 double& phi) const;

  // The slices of the division in order, and behind them the slices of earlier divisions, kept
  // with the storage of their boundaries: the list builds the next division's slices in them.
  // Read as the vector of the division's slices.
  class SliceStore {
   public:
    using Slot = std::unique_ptr<CSlice>;
    using Iterator = std::vector<Slot>::const_iterator;

    std::size_t size() const { return size_; }
    bool empty() const { return size_ == 0; }
    const Slot& operator[](std::size_t i) const { return slots_[i]; }
    const Slot& front() const { return slots_.front(); }
    const Slot& back() const { return slots_[size_ - 1]; }
    Iterator begin() const { return slots_.begin(); }
    Iterator end() const { return slots_.begin() + static_cast<std::ptrdiff_t>(size_); }

    // The division's slices dropped; their objects stay for the next one.
    void clear() { size_ = 0; }
    // Appends a slice as new: a kept one cleared, else a new one.
    CSlice& AddCleared() {
      if (size_ == slots_.size()) return AddNew();
      CSlice& slice = *slots_[size_++];
      slice.Clear();
      return slice;
    }
    // Appends a slice built elsewhere.
    void push_back(Slot slice);
    // Drops the slices that keep does not keep; the others keep their order.
    template <class Keep>
    void KeepIf(Keep keep);
    // Room for that many slices, and in each new slice for that many boundaries.
    void Reserve(std::size_t slices, std::size_t boundaries);

   private:
    // Appends a new slice, once the kept ones are all in use.
    CSlice& AddNew();

    std::vector<Slot> slots_;
    std::size_t size_ = 0;
    std::size_t boundaryRoom_ = 0;
  };

  bool direction_ = false;
  std::vector<double> xs_;
  SliceStore slices_;
  // Working storage of CreateSlice, kept so that dividing circle after circle does not allocate
  // it anew: the surface's height at each division point and at the points the division tests,
  // the points that split wide gaps and the points merged with them, the end points of the
  // surface's arcs.
  std::vector<double> surfaceYs_;
  std::vector<double> midYs_;
  // The boundary entries that the first edge of a shared range gave within one division, for the
  // others to repeat: range k's are sharedEntries_[sharedRuns_[k].first] up to
  // sharedEntries_[sharedRuns_[k].second].
  struct SharedEntry {
    std::size_t cut;
    double leftY;
    double rightY;
  };
  std::vector<SharedEntry> sharedEntries_;
  std::vector<std::pair<std::size_t, std::size_t>> sharedRuns_;
  // A water line's heights at the division points (kNoValue where it does not reach).
  struct LineHeights {
    const CDPoly* line = nullptr;
    std::vector<double> ys;
    // The heights of the line, or none without a line.
    void Take(const CDPoly* shape, const std::vector<double>& xs);
    // The line's level between division points i and i + 1: the first entry CDPoly::GetDEVYWater
    // gives, unset where it gives none.
    tagDEVY Level(std::size_t i) const;
  };
  LineHeights waterYs_;
  LineHeights upperYs_;
  LineHeights layerYs_;
  std::vector<std::pair<double, double>> knownHeights_;
  std::vector<double> splits_;
  std::vector<double> merged_;
  // The vertices of the surface's slip line (its arcs as three-point arcs), which give division
  // points and the strength of a slice's base on an arc.
  std::vector<CSpSlideWork::SlipLineVertex> slipLine_;
  // The vertices of the strata, and of a line with them, as they were taken last: what the list
  // finds from those shapes, which no slip surface changes, is kept from division to division
  // while none of their vertices has changed.
  class VertexSnapshot {
   public:
    // Whether the shapes (strata or line may be null) hold the vertices taken last; takes theirs
    // when not.
    bool Unchanged(const CDPolyArray* strata, const CDPoly* line);

   private:
    static int ShapeCount(const CDPolyArray* strata);
    bool SameVertices(const CDPolyArray* strata, const CDPoly* line) const;

    std::vector<CDPoint> vertices_;
    std::vector<std::size_t> shapeSizes_;
  };
  VertexSnapshot strataSnapshot_;
  // How many times the strata were taken anew: what was found from the strata of an earlier
  // taking is stale.
  std::uint64_t strataTakings_ = 0;
  // The strata's outlines, in which the slices look up the polygons of their layers: taken anew
  // only when the strata's vertices have changed (strataSnapshot_).
  CDPolyArray::Outlines strataOutlines_;
  // The strata as flat tables, which the division reads instead of the shapes' point lists: the
  // strata's vertices ordered by x, each once, and each stratum's edges (vertex i to i + 1) with
  // their ends ordered by x, the height no boundary entry of theirs exceeds and the terms of their
  // crossings with a circle. Taken anew with the outlines.
  class StrataTable {
   public:
    // Edges whose ranges have the same ends, bit for bit, give the same boundary entries but
    // for their stratum (neighbouring strata share their common edges): the first of them in
    // the order of the strata and their edges finds the entries, the others repeat them.
    static constexpr std::size_t kUnshared = static_cast<std::size_t>(-1);
    struct Edge {
      CDPoly::EdgeRange range;
      double ceiling;       // range.EntryCeiling()
      CDArc::Edge segment;  // from vertex i to i + 1
      SegmentBox box;       // segment's
      // The number of the range among those several edges share, or kUnshared.
      std::size_t shared;
      // An edge before this one has the same range.
      bool repeats;
    };
    // The strata's vertices and edges in place of those it held, keeping its storage.
    void Take(const CDPolyArray& strata);
    // The vertices of the strata, each once (the division points a vertex can give do not depend
    // on the stratum or the order it comes in): those whose x lies in [left, right] (0 and -0
    // both within from 0), ascending by x, and those whose x is not a number.
    std::span<const CDPoint> OrderedVerticesWithin(double left, double right) const;
    std::span<const CDPoint> UnorderedVertices() const { return unorderedVertices_; }
    // Stratum s's edges, s below the count of strata taken; every stratum's edges in order.
    std::span<const Edge> Edges(std::size_t s) const;
    std::span<const Edge> Edges() const { return edges_; }
    // How many ranges several edges share.
    std::size_t SharedRanges() const { return sharedRanges_; }

   private:
    // Numbers the ranges that several edges share (Edge::shared, Edge::repeats).
    void FindSharedRanges();

    // The vertices with an x, ordered by x and each once (coordinates compared by their bits),
    // and those whose x is not a number.
    std::vector<CDPoint> orderedVertices_;
    std::vector<CDPoint> unorderedVertices_;
    std::vector<Edge> edges_;
    // Stratum s's edges are edges_[edgeStarts_[s]] up to edges_[edgeStarts_[s + 1]].
    std::vector<std::size_t> edgeStarts_;
    std::size_t sharedRanges_ = 0;
    std::vector<std::size_t> byRange_;  // FindSharedRanges' working storage
  };
  StrataTable strataTable_;
  // A water line's segments (vertex i to i + 1) with their boxes, which the division crosses
  // with the surface: taken anew only when the line or one of its vertices has changed.
  class LineSegments {
   public:
    // The line's segments, unless this line with these vertices was taken last.
    void Take(const CDPoly& line);
    // How many times segments were taken anew: what was found from an earlier taking is stale.
    std::uint64_t Takings() const { return takings_; }
    std::span<const BoxedSegment> Segments() const { return segments_; }

   private:
    const CDPoly* line_ = nullptr;
    VertexSnapshot vertices_;
    std::uint64_t takings_ = 0;
    std::vector<BoxedSegment> segments_;
  };
  LineSegments waterSegments_;
  LineSegments upperSegments_;
  LineSegments layerSegments_;
  // The crossings of the strata's edges with a water line (CDPoly::GetCrossX): found for the
  // strata and the line of one division and kept for the next while neither the line nor any
  // vertex has changed.
  class EdgeCrossings {
   public:
    // The crossings for these strata (of this taking, strataTakings_) and this line (of this
    // taking of its segments), found anew where either taking differs from the last.
    void Update(const CDPolyArray& strata, std::uint64_t strataTaking, const CDPoly& line,
                std::uint64_t lineTaking);
    // The crossings whose x lies in [left, right], ascending. An edge's crossings lie within its
    // x range but for the crossing test's tolerance, so these are all that the edges reaching
    // into that range (widened by far more than the tolerance) give there.
    std::span<const double> Within(double left, double right) const;

   private:
    std::uint64_t strataTaking_ = 0;
    std::uint64_t lineTaking_ = 0;
    std::vector<double> xs_;  // ascending
  };
  EdgeCrossings waterCrossings_;
  std::vector<CSpSlideWork::ArcEnds> arcEnds_;
  CSpSlideWork::VerticalTable verticals_;
  CSpSlideWork::CrossingTable crossings_;
  bool fitToGround_ = true;
  const CDanmenStab* section_ = nullptr;
  std::unique_ptr<CSpSlideWork> work_;
  tagRESULTSLICE total_;
};
