#pragma once
// The list of section shapes of one kind that a case or a shape holds (stratum lines, stratum
// blocks, water lines, loads, working slide surfaces) and the temporary lists of the polygon
// assembly. It owns its shapes, keeps the index of the shape picked for editing, stores each
// shape behind its kind code, draws them all and answers questions that span all its shapes.

#include <cstddef>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "core/geometry/DPoint.h"
#include "core/geometry/DPoly.h"

class Archive;
class CDArc;
class CSpSlideWork;
class CViewInfo;
class CSpGround;
class CSpStratumBlock;

class CDPolyArray {
 public:
  CDPolyArray() = default;
  // Arrays are copied with Copy, which copies every shape.
  CDPolyArray(const CDPolyArray&) = delete;
  CDPolyArray& operator=(const CDPolyArray&) = delete;

  // ---- The list ----

  int GetSize() const { return static_cast<int>(shapes_.size()); }
  bool IsEmpty() const { return shapes_.empty(); }
  // The points of all the shapes together, which size what is taken from them.
  std::size_t PointCount() const;
  // Throw std::out_of_range outside 0..n-1.
  CDPoly* GetAt(int index);
  const CDPoly* GetAt(int index) const;
  // Appends a shape and takes it over; returns its index. A null shape throws std::out_of_range.
  int Add(std::unique_ptr<CDPoly> shape);
  // Inserts before index (0..n); throws std::out_of_range otherwise or for a null shape.
  void InsertAt(int index, std::unique_ptr<CDPoly> shape);
  // Removes the shape at the index and hands it to the caller.
  std::unique_ptr<CDPoly> Release(int index);
  // Removes and deletes the shape at the index.
  void RemoveAt(int index);
  void DeleteAll();

  // Replaces the shapes by copies (each shape's own Copy) of other's; null empties the list.
  void Copy(const CDPolyArray* other);
  std::unique_ptr<CDPolyArray> Copy() const;

  // The shape list record: the count, then each shape's kind code and record. Load appends the
  // shapes only after all of them have been read, so a failed load leaves the list as it was;
  // a kind code that no shape class has throws ArchiveException (BadFormat).
  void Store(Archive& ar, int version) const;
  void Load(Archive& ar, int version);
  // Load that refuses (BadFormat) a shape of a kind the owner does not hold, before it reads the
  // shape's record.
  void Load(Archive& ar, int version, bool (*holdsKind)(int kind));

  // Draws every shape; with highlight, the selected one bold with the handles from..to enlarged.
  void Draw(CViewInfo* view, bool highlight, int from, int to) const;
  void DrawName(CViewInfo* view) const;
  // Every shape takes the given shape's properties.
  void SetProperty(const CDPoly* other);
  // Reverses the order of the shapes.
  void Reverse();

  // ---- Selection ----

  // The index of the shape picked for editing; -1 for none.
  int GetActiveShapeID() const { return selected_; }
  void SetActiveShapeID(int index) { selected_ = index; }
  // The shape at the selected index; null when the index lies outside the list.
  CDPoly* GetActiveShapePtr() const;
  int GetSelectSurfaceNo() const { return -1; }
  // The shape FindPolygon found last, while it is still in the list; else null.
  CDPoly* GetFoundShape() const { return found_; }

  bool IsNameDuplication(const std::string& name) const;

  // ---- Queries over all shapes ----

  // The extreme point over all shapes; shapes without points are skipped. The flag is 0.
  CDPoint Left() const;
  CDPoint Right() const;
  CDPoint Bottom() const;
  CDPoint Top() const;

  // The nearest point on any shape and its distance; the no-value point and 9e32 for none.
  CDPoint GetOnlineNear(const CDPoint* p, double& dist) const;
  // Whether any shape contains p.
  bool IsPolyInside(const CDPoint* p) const;
  // The last shape that contains p; it becomes the selected and the found shape. Null when no
  // shape contains p (the selection then stays).
  CDPoly* FindPolygon(const CDPoint* p);
  // The shapes' edges for the inside test copied into one flat list, each shape's ordered by x
  // from the right, with each shape's greatest x and y, and the same edges sorted into slabs
  // across the rays' direction (CDPoly::InsideRay::Across): FindPolygon asked many times over
  // shapes that do not change meanwhile (the slice division asks for every layer of every slice)
  // finds the point's slab by a binary search and tests only the edges that may count there.
  class Outlines {
   public:
    // Takes the edges of the array's shapes in place of those it held, reusing its storage.
    void Take(const CDPolyArray& array);

   private:
    friend class CDPolyArray;
    // Edges of one shape, in the order AppendInsideEdges gives them, with the greatest x and y
    // of their ends: the inside test skips every edge that lies wholly left of or below the
    // point. Infinite when a coordinate is not a number, which no edge test skips.
    struct Run {
      std::size_t shape;
      std::size_t first;
      std::size_t count;
      double maxX;
      double maxY;
    };
    // The edges to test for a point, in runs by shape in the shapes' order.
    struct Candidates {
      std::span<const Run> runs;
      const CDPoly::InsideEdge* edges;
    };
    Candidates CandidatesFor(const CDPoint& p) const;
    // Whether slab k holds the points of this value across (CDPoly::InsideRay::Across).
    bool SlabHolds(std::size_t k, double across) const;
    // Sorts the edges into slabs between the ends of their ranges across (RangeAcross): slab k
    // runs from bounds_[k - 1] to bounds_[k] (unbounded at the outer ends) and holds the edges
    // whose range overlaps it, so an edge left out of a point's slab never counts for it.
    void TakeSlabs();
    // Appends one slab's runs of the edges (indices into edges_, ascending).
    void TakeSlabRuns(const std::vector<std::size_t>& edges);

    std::vector<CDPoly::InsideEdge> edges_;
    std::vector<Run> shapes_;
    std::vector<double> bounds_;
    // Slab k's runs are slabRuns_[k] to slabRuns_[k + 1] in runs_, over slabEdges_; before the
    // first Take, one slab without runs.
    std::vector<std::size_t> slabRuns_{0, 0};
    std::vector<Run> runs_;
    std::vector<CDPoly::InsideEdge> slabEdges_;
    // The slab of the last point asked for, where the next one is looked for first: the layers
    // of neighbouring slices often lie in one slab. Outlines are asked from one thread at a time,
    // as the array whose FindPolygon moves its selection.
    mutable std::size_t lastSlab_ = 0;
  };
  // FindPolygon over the outlines taken from this array while it has not changed since: the same
  // shape, selection and found shape.
  CDPoly* FindPolygon(const CDPoint* p, const Outlines& outlines);

  // Over all shapes, the crossing with the segment p1-p2 that lies nearest to p1 (farthest from
  // it when farthest); true when any shape has one.
  bool GetCrossPoint(const CDPoint* p1, const CDPoint* p2, CDPoint* out, bool farthest,
                     double tol) const;
  // Cuts the arc at its crossings with the shapes and walks its pieces from the start (or the
  // end) while they lie inside a polygon, never into the piece at the far end; out is where the
  // walk stops, the arc's own start (or end) when the first piece lies outside. The polygon tests
  // move the selection as FindPolygon does. False when the cut gives no piece.
  bool GetCrossPoint(const CDArc* arc, CDPoint* out, bool fromStart);
  // Where the segment p1-p2, walked from p1, first enters (1) or leaves (2) the polygons; 0 when
  // it does neither. The polygon tests move the selection as FindPolygon does.
  int FirstInOutPoint(const CDPoint* p1, const CDPoint* p2, CDPoint* out);

  void RotateShape(double cx, double cy, double angle);
  void ShiftShape(double dx, double dy);

  // ---- Stratum polygons (DPolyArrayStrata.cpp) ----

  // Every stratum polygon of this array takes the whole soil properties of the polygon of other
  // that contains its inner point (computed and kept here); polygons whose inner point lies in
  // none of other's keep theirs. Moves other's selection as FindPolygon does.
  // A null other (no earlier strata) changes nothing.
  void CopyStratumProp(CDPolyArray* other);
  // No stratum polygon lacks any of its four strength values (unit weights, phi, c).
  bool IsValidStratumFs() const;
  // No stratum polygon lacks its unit skin friction.
  bool IsValidTaup() const;

  // ---- Polygon assembly from lines (PolyAssembly.cpp) ----
  //
  // The lines are flagged at their junctions and split into pieces between junctions; closed
  // faces are traced by always taking, at the end of the chain, the piece that turns most to the
  // left, and a face counts when it runs counter-clockwise. A piece's use count limits it to two
  // faces. Faces are stratum polygons that own their points.

  // The stratum polygons of a ground (shape 0) and its stratum lines (the other shapes), closed
  // at the bottom by the level baseY: ordered top-down, named "地層1", "地層2", ..., with their
  // inner points set. Null when the array is empty, the ground has fewer than two points or no
  // face results.
  std::unique_ptr<CDPolyArray> CreatePolygon(double baseY) const;
  // The faces between the lines, without a base level; null as CreatePolygon.
  std::unique_ptr<CDPolyArray> CreatePolygon_RoundEdge() const;
  // At least two shapes, and the second has more than one point.
  bool IsIncludingStratumLine() const;
  // One stratum polygon: the first shape closed down to the lower of baseY and its lowest point.
  // Null when the array is empty or the first shape has fewer than two points.
  std::unique_ptr<CDPolyArray> RoundAtBaseline(double baseY) const;
  // Removes from the stratum lines (shapes 1..) the parts that run along the ground (shape 0);
  // the remaining runs become new stratum lines. Point flags and use counts become 0.
  void EraseSameSection();
  // Appends the base line under the first shape: from its left end down to the base level (the
  // lower of baseY and its lowest point), along it, and up to its right end.
  void AddBaseLine(double baseY);
  // Pulls every free line end closer than 0.1 onto the nearest other shape.
  void StretchStartPoint();
  // Inserts the junctions of every shape with every shape, itself included; then merges points
  // closer than 1e-4 and drops dangling end points.
  void InsCrossPoint();
  // The pieces between the junctions of all shapes (which merge their coinciding points first),
  // dead ends removed.
  std::unique_ptr<CDPolyArray> MakeKukan();
  // Deletes, in one pass, the open pieces whose ends do not both touch an end of another piece.
  void DeleteBlindShape();
  // Every use count becomes 0; when f is not 0 the first and the last piece bound only one face.
  void InitFlag(int f);
  // The counter-clockwise faces of at least minArea (and above 0) traced through these pieces,
  // each once.
  std::unique_ptr<CDPolyArray> JointShapes(double minArea);
  // The pieces of the face that begins with start, walked backward when reverse is not 0; empty
  // when the walk finds no closed face.
  std::vector<CDPoly*> ListupJoinShapes(CDPoly* start, int reverse);
  // At the end of the walked path chain, the piece (other than current) that turns most to the
  // left, and whether it is walked backward; null when there is none or it bounds two faces
  // already.
  CDPoly* SearchNextShape(const CDPoly* current, const CDPoly* chain, int& reverse);
  // One stratum polygon along the pieces of a face, the first walked backward when reverse is
  // not 0; it takes over the pieces' point objects.
  static std::unique_ptr<CSpStratumBlock> MakeJoinFromList(const std::vector<CDPoly*>& chain,
                                                           int reverse);
  // Computes every inner point and orders the shapes top-down by it, an enclosing shape before
  // the one it encloses.
  void SortPosition();
  // Flags (1) every point of a that lies within 1e-4 of a point of b, and the first such point of
  // b. Nothing when a and b are the same shape.
  static void ComparePoints(CDPoly* a, CDPoly* b);
  // Deletes the shapes whose inner point lies below (mode 1) or above (mode 0) the line; shapes
  // beyond the line's x range stay.
  void DelUnderOrUpperPolygon(const CDPoly* line, int mode);
  // The faces bounded by the outline and the line that lie above the outline. Crossings are found
  // with the tolerance 0 (ScopedSmallLimit).
  static std::unique_ptr<CDPolyArray> AddPolyWithLine(const CDPoly* outline, const CDPoly* line);
  // Every shape cut by the line, keeping the faces above it (keepAbove not 0) or below it; where
  // the line does not reach, the outline decides. A copy of this array when the outline or the
  // line has fewer than two points. The cut runs along a plain copy of the line's vertices
  // (CDPoly::PlainCopy), so a working slide surface cuts along its chords and keeps its arcs.
  // Crossings are found with the tolerance 1e-6 (ScopedSmallLimit).
  std::unique_ptr<CDPolyArray> CutPolyWithLine(const CDPoly* outline, const CDPoly* line,
                                               int keepAbove) const;
  // CutPolyWithLine with the working slide surface as the line, each arc piece replaced by points
  // on it at steps of pi/(2R) in angle, pi/2 along the arc (PolyCutSlide.cpp).
  std::unique_ptr<CDPolyArray> CutPolyWithSlide(const CDPoly* outline, const CSpSlideWork* work,
                                                int keepAbove) const;
  // The stratum polygons re-cut under a new ground line; faces without soil properties take
  // those of the new ground's own stratum polygon that holds them. Merges this array's
  // coinciding points first.
  std::unique_ptr<CDPolyArray> CreatePlanPolygon(const CDPoly* newGround);
  // The upper outline of all shapes as a new ground named "地形"; null when there is none.
  std::unique_ptr<CSpGround> CreateTopoFromStratum() const;
  // The lines joined end to end into chains.
  std::unique_ptr<CDPolyArray> JointEasy() const;
  // The first line with an end within 1e-4 of the chain's first point (end 0) or last point
  // (end 1), its index, and whether it runs against the chain; null when there is none.
  const CDPoly* FindNext(const CDPoly* chain, int end, bool& reversed, int& index) const;

 private:
  using ShapeList = std::vector<std::unique_ptr<CDPoly>>;

  ShapeList CopyShapes() const;
  // Forgets the found shape when it leaves the list.
  void Forget(const CDPoly* shape);
  // Whether the middle of the arc piece lies in a polygon (moves the selection like FindPolygon).
  bool IsInPolygon(const CDArc& piece);

  ShapeList shapes_;
  int selected_ = -1;
  CDPoly* found_ = nullptr;  // observed, owned by shapes_
};
