#pragma once
// The polyline of the cross-section and base class of every section shape: an ordered list of
// world points with a name. A closed polygon is a polyline whose last point repeats the first.
//
// Vertices are shared objects: a vertex keeps its identity while the shape is edited (the mouse
// editor and the polygon assembly hold vertices across calls), and the assembly moves vertices
// between shapes by sharing them. No null point is ever in the list.
//
// Members are implemented in DPoly.cpp (list, record, factory, simple queries),
// DPolyGeometry.cpp (crossings, junctions, trimming, splitting, inside tests),
// DPolyProfile.cpp (heights over x, boundary entries, walks along the line, angles) and
// DPolyDraw.cpp (drawing and mouse editing).

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "core/geometry/DPoint.h"

class Archive;
class CDPoly;
class CDPolyArray;
class CViewInfo;
class CSpGround;

// The shape kind codes: the value of CDPoly::WhatKind, written before each shape of a stored
// shape list.
enum ShapeKind : int {
  kKindPoly = -1,  // plain polyline, also the filled polygon
  kKindGround = 0,
  kKindStratumLine = 1,
  kKindSlide = 2,
  kKindWater = 3,
  kKindLoad = 4,
  kKindCrack = 5,
  kKindStratumBlock = 6,
  kKindSlideWork = 7,
};

// One boundary entry of a vertical block or slice: the boundary's y at the left and at the right
// cut, the shape it comes from (observed, never owned; may be null) and a flag byte.
struct tagDEVY {
  double leftY = kNoValue;
  double rightY = kNoValue;
  const CDPoly* shape = nullptr;
  std::uint8_t flag = 0;
};

class CDPoly {
 public:
  using PointList = std::vector<std::shared_ptr<CDPoint>>;

  // Class-wide state shared by all shapes.
  inline static int bShowHilight = 0;  // the picked shape is drawn highlighted
  inline static bool bMovCap = false;  // a rubber band of mouse editing is on screen
  inline static CDPoint ptCap;         // the mouse position of that rubber band

  CDPoly() = default;
  virtual ~CDPoly() = default;
  // Shapes are copied with Copy, which gives the copy its own points.
  CDPoly(const CDPoly&) = delete;
  CDPoly& operator=(const CDPoly&) = delete;

  // A new, empty shape of the class of the kind code; null for an unknown code.
  static std::unique_ptr<CDPoly> CreateNewElement(int kind);

  static void SetShowHilight(int show) { bShowHilight = show; }
  static int GetShowHilight() { return bShowHilight; }
  // The crossing tolerance of TrimPoint: 0 unless a ScopedSmallLimit sets another.
  static double GetSmallLimit() { return small_limit; }

  // ---- Virtual interface (subclasses override) ----

  // Appends a new point (x, y, flag 0); returns its index.
  virtual int Add(const CDPoint& p);
  virtual int Add(double x, double y);
  // Appends the given point object itself (shared, so it keeps its identity); returns its index.
  virtual int Add(std::shared_ptr<CDPoint> p);

  // The shape record: name, point count, x and y of every point. Load reads the whole record
  // before it appends anything, so a failed Load leaves the shape as it was.
  virtual void Store(Archive& ar, int version) const;
  virtual void Load(Archive& ar, int version);

  // Coordinates outside ±9999.999 become no value; the others are rounded while the
  // process-wide rounding switch is on.
  virtual void ChangeValid();

  // Extreme points; ties go as documented in the implementation. The result's flag is 0.
  virtual CDPoint Left() const;
  virtual CDPoint Right() const;
  virtual CDPoint Bottom() const;
  virtual CDPoint Top() const;

  virtual void SetProperty(const CDPoly* other);

  // Height of the line at x; kNoValue when the line does not reach x.
  virtual double GetY(double x) const;
  // CDPoly::GetY (not an override's) at each of the ascending xs, appended to ys: a line whose
  // vertices run strictly left to right is walked once for all of them.
  void GetYs(std::span<const double> xs, std::vector<double>& ys) const;
  // Highest / lowest height of the line over x; true when found.
  virtual bool GetYMax(double x, int* segment, double& y) const;
  virtual bool GetYMin(double x, int* segment, double& y) const;

  // The shape kind code, fixed when the shape is made: the passes over every layer of every slice
  // read it without a virtual call.
  int WhatKind() const { return kind_; }

  // Drawing (DPolyDraw.cpp).
  virtual void Draw(CViewInfo* view, int bold, int from, int to) const;
  virtual void DrawSimpleShape(CViewInfo* view) const;
  virtual void DrawLine(CViewInfo* view, int bold) const;
  virtual void DrawName(CViewInfo* view) const;

  // Stores at *pos (then increases it) or appends the x of every crossing of p1-p2 with this
  // line that lies on or above `upper`; returns how many were stored.
  virtual int GetCrossX(const CDPoint* p1, const CDPoint* p2, std::vector<double>& xs, int* pos,
                        const CDPoly* upper) const;
  // The crossing of segment p1-p2 with this line nearest to p1.
  virtual bool GetCrossPoint(const CDPoint* p1, const CDPoint* p2, CDPoint* out, double tol) const;
  // The same for the 1000 long segment from p at the angle (radians).
  virtual bool GetCrossPoint(const CDPoint* p, double angle, CDPoint* out, double tol) const;
  // Empties out, then appends every crossing in the order of this line's segments.
  virtual bool GetCrossPointArray(const CDPoint* p1, const CDPoint* p2, CDPoly* out,
                                  double tol) const;
  virtual bool GetCrossPointArray(const CDPoint* p, double angle, CDPoly* out, double tol) const;

  // Mouse editing (DPolyDraw.cpp).
  virtual void OnLButtonDown(CViewInfo* view, int flags, CDPoint p);
  virtual void OnMouseMove(CViewInfo* view, int index, CDPoint p);
  virtual void ResetMouseMove();

  // Deletes every point whose x or y is no value.
  virtual void DelSpacePoint();
  // Merges points closer than tol to their predecessor, keeping a junction flag.
  virtual void DelSamePoint(double tol);
  // Whether the end with the larger x lies higher.
  virtual bool IsRightUpper() const;
  // The vertex nearest to p (DPolyDraw.cpp).
  virtual CDPoint FindNearPoint(const CDPoint* p, double& dist, int& index) const;

  // A new shape of the same kind with the name and copies of the points.
  virtual std::unique_ptr<CDPoly> Copy() const;
  virtual void LeftToRight();
  virtual void Reverse();
  // Same count and exactly the same coordinates.
  virtual bool CompareCoord(const CDPoly* other) const;
  virtual bool IsEmptyShape() const { return GetSize() < 2; }
  // Same count and every pair of points closer than 1e-4.
  virtual bool IsSame(const CDPoly* other) const;

  // ---- The point list ----

  int GetSize() const { return static_cast<int>(points_.size()); }
  const PointList& Points() const { return points_; }
  // Throw std::out_of_range outside 0..n-1.
  CDPoint* GetAt(int index) const;
  std::shared_ptr<CDPoint> GetShared(int index) const;
  void SetAt(int index, std::shared_ptr<CDPoint> p);
  // Inserts before index (0..n); throws std::out_of_range otherwise.
  void InsertAt(int index, std::shared_ptr<CDPoint> p);
  // Removes the point at the index; an index at or past the end does nothing, a negative one
  // throws std::out_of_range.
  void RemoveAt(int index);
  void DeleteAll();
  CDPoint* GetFirstPt() const;  // null for an empty shape
  CDPoint* GetLastPt() const;
  void InitPointFlag(int flag);
  // Replaces the points by copies (x, y, flag) of the other shape's points, made in one block
  // that the copies share (none of them is held alone).
  void CopyPoints(const CDPoly* other);
  // The same with copies of the values.
  void CopyPoints(std::span<const CDPoint> values);
  // The same, keeping the point objects that this shape alone holds and giving them the other's
  // values: a shape copied into again and again stops allocating once it holds enough points.
  void AssignPoints(const CDPoly& other);
  // A plain polyline with copies of the points in reverse order, without the name.
  std::unique_ptr<CDPoly> RevCopy() const;
  // A plain polyline with the name and copies of the points, for the operations that mark
  // junctions in the point flags. A working slide surface's flags name its arcs, not junctions:
  // its copy starts unmarked.
  std::unique_ptr<CDPoly> PlainCopy() const;

  const std::string& GetName() const { return name_; }
  void SetName(const std::string& name) { name_ = name; }
  int GetUseCount() const { return useCount_; }
  void SetUseCount(int count) { useCount_ = count; }
  CDPoint GetInnerPoint() const { return innerPoint_; }

  // ---- Simple queries ----

  void RangeX(double& xmin, double& xmax) const;
  // Note the order: the largest y first.
  void RangeY(double& ymax, double& ymin) const;
  bool RangeRect(double& xmin, double& xmax, double& ymax, double& ymin) const;
  bool IsLeftToRight() const;
  // Signed area without the closing segment: the area only for a closed shape, positive
  // counter-clockwise.
  double GetArea() const;
  double GetLength() const;
  double GetAverageY() const;
  // Index of the first point within 1e-4 of p, else -1.
  int FindJustPoint(const CDPoint* p) const;
  int PointToIndex(const CDPoint* p) const { return FindJustPoint(p); }
  // Index of the first point whose x and y match p's to three decimals as text, else -1.
  int FindJustPointStr(const CDPoint* p) const;
  // Every point equal to `from` takes x, y and flag of `to`; returns how many moved.
  int MoveAtSamePoint(const CDPoint& from, const CDPoint& to);
  void ShiftShape(double dx, double dy);
  void RotateShape(double cx, double cy, double angle);

  // ---- Geometry (DPolyGeometry.cpp) ----

  bool CheckCross(const CDPoint* p1, const CDPoint* p2, CDPoint& out, double tol) const;
  bool CheckCrossAngle(const CDPoint* p, double angleDeg, double length, CDPoint& out,
                       double tol) const;
  // Whether any segment crosses any segment of other.
  bool IsCrossPoint(const CDPoly* other, double tol) const;
  // Flags every junction with other (or, with null or this shape, the self-crossings) and
  // inserts the crossing points; with both, other gains them too.
  void InsCrossPoint(CDPoly* other, bool both);
  // Drops one dangling end point beyond a junction at each end.
  void TrimStartpoint();
  // Where the ray from p1 through p2, beyond p2, meets this line: the segment index or -1.
  int TrimPoint(const CDPoint* p1, const CDPoint* p2, CDPoint& out, double& dist) const;
  // Extends the free ends onto the nearest other shape of the array closer than 0.1.
  void StretchStartPoint(CDPolyArray* array);
  // Splits the line into plain pieces at its junctions.
  std::unique_ptr<CDPolyArray> MakeKukan() const;
  // Point-in-polygon test: a ray from the point to the right and upwards crosses an odd number
  // of the edges.
  bool PolyRgn(const CDPoint* p) const;
  // An edge that lies wholly this far left of or below the point never counts in the test.
  static constexpr double kInsideTestMargin = 1e-6;
  // An edge of a shape for the inside test, with the greatest x of its ends as the test compares
  // it (infinite where that is not a number, which the test never passes over) and its slope
  // (SegmentSlope(a, b)), which every ray's crossing with it reads, and the terms of the test
  // that depend on the edge alone, found once for every ray that asks it.
  struct InsideEdge {
    CDPoint a;
    CDPoint b;
    double reach;
    double slope;
    double top;       // std::max(a.y, b.y)
    double runX;      // b.x - a.x
    double runY;      // b.y - a.y
    double clear;     // how far the ray's ends lie from the edge's line at least, to be clear of it
    double absAY;     // |a.y|
    double absXs;     // |a.x| + |b.x|
    double absSlope;  // |slope|
  };
  // Appends the edges the inside test takes of the points (the closing edge unless the last point
  // repeats the first), ordered by reach from the greatest down.
  static void AppendInsideEdges(const PointList& points, std::vector<InsideEdge>& edges);
  // The inside test's ray from one point, asked of one shape or of many. Its setup, CrossesOddly,
  // Across and the private Side and ClearVerdict are inline, in DPolyInside.h.
  class InsideRay {
   public:
    inline explicit InsideRay(const CDPoint& p);
    // Whether the edge a-b counts as a crossing.
    bool Crosses(const CDPoint& a, const CDPoint& b) const;
    // PolyRgn over a shape's edges as AppendInsideEdges orders them: the same answer, without
    // visiting the edges that lie wholly left of the point. Edges that cannot count for this
    // ray (its point's Across lies outside their RangeAcross) may be left out.
    inline bool CrossesOddly(std::span<const InsideEdge> edges) const;

    // Where q lies across the direction that every ray runs in; not a number for a point beyond
    // 1e6 from the origin in x or y, where the rounding bound of RangeAcross is not proven.
    static inline double Across(const CDPoint& q);
    // The values of Across for which the edge a-b may count for a ray from a point with that
    // value: outside them, both ends lie farther from the ray's line than the test's margin on
    // one side, by a width far beyond every rounding. Unbounded where an end has no Across.
    struct AcrossRange {
      double low;
      double high;
    };
    static AcrossRange RangeAcross(const CDPoint& a, const CDPoint& b);

   private:
    // The ends of the edge a-b do not both lie on one side of the ray or left of or below the
    // point: the edge may count.
    bool MayCross(const CDPoint& a, const CDPoint& b) const;
    // Whether the edge counts, where it does or does not by a margin far wider than any rounding
    // of its crossing: CrossLL need not compute it. Else unsure.
    enum class Verdict { kCounts, kMisses, kUnsure };
    // sa and sb are the sides of the edge's ends (Side).
    inline Verdict ClearVerdict(const InsideEdge& edge, double sa, double sb) const;
    // The side of q from the ray's line: its distance from the line times the ray's length,
    // signed.
    inline double Side(const CDPoint& q) const;

    CDPoint p_;
    CDPoint end_;
    // The ray's run and rise, and its slope as CrossLL finds it.
    double dx_;
    double dy_;
    double slope_;
  };
  bool IsOnline(const CDPoint* p) const;
  // The point of the line nearest to p, its distance and segment.
  CDPoint GetOnlineNear(const CDPoint* p, double& dist, int& segment) const;
  // Which segment p lies on, with the distance from that segment's start; -1 when off the line.
  int GetSection(const CDPoint& p, double& dist) const;
  // A point inside the closed shape; also stored as the inner point.
  CDPoint CalcInnerPoint();
  // Orders the point contents by distance from origin.
  void Sort(const CDPoint& origin);
  // Splices another profile line into this one over its x range.
  void PolyMarge(const CDPoly* other);

  // ---- Profiles and distances along the line (DPolyProfile.cpp) ----

  // The x where the line first reaches height y; kNoValue when never.
  double GetX(double y) const;
  // The next height at x (the next x at height y), searching from segment *pos; on success *pos
  // becomes the index after the segment found, so that repeated calls list every one. pos must
  // not be null.
  bool GetNextY(double x, int* pos, double& y) const;
  bool GetNextX(double y, int* pos, double& x) const;
  bool IsOverHung() const;
  // Whether other lies above this line anywhere.
  bool IsPolyOverY(const CDPoly* other) const;
  double GetPolyApproximationDist(const CDPoly* other) const;
  // Boundary entries, by value, of the segments that span [x1, x2]; replaces the records' content
  // and returns their count.
  int GetDEVYArray(std::vector<tagDEVY>& records, double x1, double x2, double ylimit) const;
  // An edge with copies of its ends ordered by x (the first end on the left when both have the
  // same x) and its slope, so that the cuts read it without the vertex list.
  struct EdgeRange {
    EdgeRange(const CDPoint& a, const CDPoint& b);
    CDPoint left;
    CDPoint right;
    // Rise over run, as the height inside the edge is interpolated.
    double slope;
    double YAt(double x) const { return left.y + slope * (x - left.x); }
    // A height above every boundary entry the edge gives (its ends' heights, and heights inside
    // it or within a cut's snap distance beyond its ends), with room for their rounding.
    double EntryCeiling() const;
    // No cut within [x1, x2] reaches the edge: GetEdgesForCuts passes it over.
    bool MissesCuts(double x1, double x2) const;
  };
  // The edges, in order, that GetDEVYArray can use for cuts within [left, right]; replaces the
  // content of edges.
  void GetEdgesForCuts(double left, double right, std::vector<EdgeRange>& edges) const;
  // GetDEVYArray over those edges alone, for x1 and x2 within the range they were found for: the
  // same records, without visiting the edges that cannot reach the range.
  int GetDEVYArray(std::vector<tagDEVY>& records, double x1, double x2, double ylimit,
                   std::span<const EdgeRange> edges) const;
  // The record that one of those edges gives GetDEVYArray for cuts at x1 and x2; false when it
  // gives none. Each edge asked in their order gives GetDEVYArray's records in its order.
  bool GetDEVYOfEdge(const EdgeRange& edge, double x1, double x2, double ylimit,
                     tagDEVY& record) const;
  // GetDEVYOfEdge for every pair of neighbouring cuts (xs ascending; cuts i at xs[i] and
  // xs[i + 1] with ylimits[i]): sink(i, record) for each record, in the order of the cuts. The
  // cuts beyond the edge's reach are not visited: the first one it reaches is found by bisection.
  // Defined in DPolyEdgeCuts.h, so that the records go straight where the caller keeps them.
  template <class Sink>
  void GetDEVYOfEdgeCuts(const EdgeRange& edge, std::span<const double> xs,
                         std::span<const double> ylimits, Sink&& sink) const;
  int GetDEVYArrayBlock(std::vector<tagDEVY>& records, double x1, double x2, double ylimit) const;
  int GetDEVYWater(std::vector<tagDEVY>& records, double x1, double x2) const;
  // The part of the line between the projections of a and b, as a new plain polyline.
  std::unique_ptr<CDPoly> GetKukanShape(const CDPoint* a, const CDPoint* b) const;
  double GetKukanlength(const CDPoint* a, const CDPoint* b, bool along) const;
  CDPoint GetMoveOnlinePt(const CDPoint* p, double dist, bool backward) const;
  // The third argument is not consulted.
  CDPoint GetKukanDistPoint(bool backward, const CDPoint& p, bool, double dist) const;
  std::unique_ptr<CDPoly> GetKukanShapeDist(bool first, const CDPoint& p, double d1, double d2,
                                            double tol) const;
  double GetR_Angle(const CDPoint* p, int mode) const;
  // The second argument is not consulted.
  double Get_Angle(const CDPoint* p, int, bool absolute) const;
  // The line offset by d, each segment across the direction of the reference's segment nearest
  // to its middle (its own direction without a reference or where none is found).
  std::unique_ptr<CDPoly> GetDistanceShape(double d, const CDPoly* reference) const;

  // Drawing of the part between the projections of a and b (DPolyDraw.cpp).
  void DrawKukan(CViewInfo* view, const CDPoint* a, const CDPoint* b) const;

  // ---- Polygon assembly (PolyAssembly.cpp) ----

  // The closed faces (at least 0.01 in area) into which the line cuts this closed polygon, as
  // stratum polygons with this polygon's properties; one copy of this polygon when no face
  // results.
  std::unique_ptr<CDPolyArray> CutPolyWithLine(const CDPoly* line) const;
  // The upper outline of this closed polygon, left to right, as a new ground named "地形"; null
  // for fewer than two points or when no vertex is the leftmost or the rightmost (coordinates
  // that are not numbers). This polygon is left turned left to right.
  std::unique_ptr<CSpGround> PolyToTopograph();
  // The pieces of this line that leave the other line, as plain polylines; empty when other is
  // null or this line has fewer than two points.
  std::unique_ptr<CDPolyArray> CreateDeffSection(const CDPoly* other) const;

 protected:
  // A shape of a subclass, which names its kind code.
  explicit CDPoly(int kind) : kind_(kind) {}

  // Stores x for GetCrossX: at *pos (then increases it) when pos is given, else at the end.
  static void StoreCrossX(std::vector<double>& xs, int* pos, double x);
  // Empties the list, keeping its room, and moves the point objects that this shape alone holds
  // to the end of spares, for a shape that is built again and again to reuse.
  void ReleasePoints(PointList& spares);
  // Room for n points in the list.
  void ReservePoints(std::size_t n) { points_.reserve(n); }

 private:
  friend class ScopedSmallLimit;
  inline static double small_limit = 0;

  // The boundary entry of the edge with its ends ordered by x when it spans [x1, x2] and its
  // mean lies at or above ylimit (GetDEVYArray, for an edge that the cuts' reach does not miss).
  // Inline, in DPolyEdgeCuts.h.
  inline bool DEVYOfSpanningEdge(const EdgeRange& edge, double x1, double x2, double ylimit,
                                 tagDEVY& record) const;
  // The point at the index; throws std::out_of_range outside 0..n-1.
  const std::shared_ptr<CDPoint>& CheckedPoint(int index) const;

  const int kind_ = kKindPoly;
  PointList points_;
  int useCount_ = 0;  // how many assembled polygons already use this line piece
  std::string name_;
  CDPoint innerPoint_;
};

// Sets the crossing tolerance of TrimPoint for the guard's lifetime: the polygon cuts that need a
// tolerance hold one while they work, and the previous tolerance comes back on every exit path.
class ScopedSmallLimit {
 public:
  explicit ScopedSmallLimit(double limit) : previous_(CDPoly::small_limit) {
    CDPoly::small_limit = limit;
  }
  ~ScopedSmallLimit() { CDPoly::small_limit = previous_; }
  ScopedSmallLimit(const ScopedSmallLimit&) = delete;
  ScopedSmallLimit& operator=(const ScopedSmallLimit&) = delete;

 private:
  double previous_;
};
