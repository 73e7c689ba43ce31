#pragma once
// The slide surface in the form that drawing and calculation use: a polyline whose pieces are
// straight or real circular arcs, with a strength word per piece. It is built from the entered
// slide line (CSpSlide::CreateDrawObj), fitted to the ground, cut, joined with a tension crack,
// converted back into a slide line and asked for heights, crossings, arcs and angles.
//
// Invariants: the flag of vertex i is the index into the arcs of the arc piece that runs from
// vertex i to vertex i+1, or -1 for a straight piece (the last vertex's flag is -1); strength
// entry i belongs to the piece that starts at vertex i (high 16 bits the strength type, low 16
// bits the strength index, as in CSpSlide).
//
// Members are implemented in SpSlideWork.cpp (building blocks, record, editing) and
// SpSlideWorkGeometry.cpp (queries and crossings).

#include <array>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "core/base/Utility.h"
#include "core/geometry/DArc.h"
#include "core/geometry/DPoly.h"
#include "core/geometry/DPolyArray.h"
#include "core/section/SpSlide.h"

class Archive;
class CSpGround;
class CSpSlideFitting;
class CViewInfo;

class CSpSlideWork : public CDPoly {
 public:
  // The crossings of a line with one piece, at most two, held without a heap allocation: the
  // queries run for every slice and every stratum edge of every slip circle.
  struct Crossings {
    std::array<CDPoint, 2> points;
    int count = 0;
    const CDPoint* begin() const { return points.data(); }
    const CDPoint* end() const { return points.data() + count; }
    bool empty() const { return count == 0; }
  };

  CSpSlideWork();

  // Record: name, vertex count, per vertex x, y and flag, strength count and words, arc count
  // and per arc centre x, centre y, radius, start and end angle. Load replaces the content; a
  // failed Load leaves the surface as it was; a flag that names no arc is a damaged record.
  void Store(Archive& ar, int version) const override;
  void Load(Archive& ar, int version) override;
  // The extreme vertex, widened by the extreme points of the arc pieces.
  CDPoint Left() const override;
  CDPoint Right() const override;
  CDPoint Bottom() const override;
  CDPoint Top() const override;
  // Left, Right, Bottom and Top at once, the ends of each arc found once for the four, or taken
  // from ends (GetArcEnds) when given.
  struct Extremes {
    CDPoint left;
    CDPoint right;
    CDPoint bottom;
    CDPoint top;
  };
  Extremes GetExtremes(std::span<const CDArc::EndPoints> ends = {}) const;
  // The lowest y where the surface meets the vertical at x; kNoValue when nothing meets.
  double GetY(double x) const override;
  // The pieces with the pen the caller selected; arcs with CDArc::Draw(bold).
  void Draw(CViewInfo* view, int bold, int from, int to) const override;
  // Stores at *pos (then increases it) or appends the x of every crossing of p1-p2 with the
  // pieces; returns how many were found. The last argument is not consulted.
  int GetCrossX(const CDPoint* p1, const CDPoint* p2, std::vector<double>& xs, int* pos,
                const CDPoly* upper) const override;
  // The first crossing of the segment (or the 1000 long ray) with a piece; false and the
  // no-value point when none.
  bool GetCrossPoint(const CDPoint* p1, const CDPoint* p2, CDPoint* out, double tol) const override;
  bool GetCrossPoint(const CDPoint* p, double angle, CDPoint* out, double tol) const override;
  // Empties out and adds every crossing; true when out is not empty.
  bool GetCrossPointArray(const CDPoint* p1, const CDPoint* p2, CDPoly* out,
                          double tol) const override;
  bool GetCrossPointArray(const CDPoint* p, double angle, CDPoly* out, double tol) const override;
  // Appends the crossings of every piece with p1-p2 (an arc's two as one when they coincide):
  // GetCrossPointArray's points, into storage the caller keeps.
  void CollectCrossings(const CDPoint& p1, const CDPoint& p2, double tol,
                        std::vector<CDPoint>& crossings) const;
  // The same over every edge of the polygon, the closing edge included. The flag is not
  // consulted.
  virtual bool GetCrossPointArray(const CDPoly* polygon, CDPoly* out, bool flag, double tol) const;
  // Whether the right end lies strictly higher than the left end (arc ends counted).
  bool IsRightUpper() const override;
  // A new surface with copies of the points with their flags, the arcs and the strengths.
  std::unique_ptr<CDPoly> Copy() const override;
  // Reverses the vertices; flags and strengths move so that each piece keeps its arc and word.
  void Reverse() override;

  // ---- Construction and copying ----

  // Init, then a deep copy of the other surface.
  void CopySlideWork(const CSpSlideWork* other);
  // The same copy made in the storage this surface holds already (points, arcs, strengths).
  void AssignSlideWork(const CSpSlideWork& other);
  // Init, then the content given in flat form: the name, the vertices with their flags, the arcs
  // by index and the strength words. A store that keeps many surfaces without an object each
  // makes a surface again with it (GetArcAt and GetStrengths read the arcs and words out).
  void AssignContent(const std::string& name, std::span<const CDPoint> vertices,
                     std::span<const CDArc> arcs, std::span<const unsigned> strengths);
  // Deletes the arcs, the strengths and the points.
  void Init();
  // Makes the surface as a new one is (no name, vertices, arcs, strengths or joined crack),
  // keeping the points, arcs and strengths as storage for the vertices added next: a surface
  // built again and again stops allocating.
  void Clear();
  // Room for up to the given count of vertices and as many arcs, in use and kept by Clear: a
  // surface built again and again to a known most reaches it without growing its storage.
  void Reserve(std::size_t vertices);

  // ---- Building blocks ----

  // Appends a copy of the point and a strength entry of the type; with an arc, the arc is
  // appended to the arcs and its index becomes the new vertex's flag, else the flag is -1.
  CDPoint* AddNewPoint(const CDPoint& point, std::unique_ptr<CDArc> arc, int type);
  // The same with a copy of the arc.
  CDPoint* AddNewPoint(const CDPoint& point, const CDArc& arc, int type);
  // Inserts a straight vertex and a strength entry of the type at the front.
  void InsertNewPoint(const CDPoint& point, int type);
  // The halves of strength entry i; an i outside the entries throws std::out_of_range.
  void SetStrengthIndex(int i, int index);
  void SetStrengthType(int i, int type);
  int GetStrengthIndex(int i) const;
  int GetStrengthType(int i) const;
  void SetStrengthSize(int n);
  int GetStrengthSize() const { return static_cast<int>(strengths_.size()); }
  // The strength words, entry i at i.
  std::span<const unsigned> GetStrengths() const { return strengths_; }
  // Adds dy to the y of every vertex; the arcs stay.
  void YcoordPrimitive(double dy);

  int GetArcCount() const { return static_cast<int>(arcs_.size()); }
  // Throws std::out_of_range outside 0..count-1.
  const CDArc* GetArcAt(int index) const;
  // The arc piece that starts at vertex i; null for a straight piece or an i outside.
  const CDArc* GetArcFromPointIndex(int i) const;
  // Whether the surface walks the arc of piece i from its start angle to its end angle (the arc
  // runs counter-clockwise along the surface); true for a straight piece.
  bool RunsForward(int i) const;
  // The arc of the first vertex that has one; the last arc of the list. Null when none.
  const CDArc* GetFirstArc() const;
  const CDArc* GetLastArc() const;
  // The middle of piece i.
  CDPoint GetMid(int i) const;
  // Centre and radius of the first arc piece; kNoValue each when there is none.
  void GetOR(double& x, double& y, double& r) const;
  // The vertex at which MixCrackline joined a crack; -1 while none is joined.
  int GetCrackIndex() const { return crackIndex_; }

  // ---- Queries (the vertical test line at x runs from y = -10000 to 10000) ----

  // What the vertical at x meets, from one pass over the pieces: the lowest height (kNoValue when
  // nothing meets), the first arc piece it crosses (null when none) and the first piece it meets
  // (-1 when none). A slice division asks all three at the middle of every slice.
  struct Vertical {
    double y = kNoValue;
    const CDArc* arc = nullptr;
    int piece = -1;
  };
  Vertical GetVertical(double x) const { return GetVertical(x, {}); }
  // The end points of an arc. A caller that asks many verticals of one unchanged surface finds
  // them once (GetArcEnds) and hands them in, sparing two sines and cosines per arc and vertical;
  // empty ends are found on the way.
  using ArcEnds = CDArc::EndPoints;
  Vertical GetVertical(double x, std::span<const ArcEnds> ends) const;
  // GetStart and GetEnd of every arc, by arc index; replaces the content of ends.
  void GetArcEnds(std::vector<ArcEnds>& ends) const;
  // IsRightUpper with the ends of the arcs at hand, the same answer.
  bool IsRightUpper(std::span<const ArcEnds> ends) const;
  // The first arc piece that the vertical at x crosses; null when none.
  const CDArc* GetArc(double x) const { return GetVertical(x).arc; }
  // The first piece that the vertical at x meets; -1 when none.
  int GetPointIndex(double x) const { return GetVertical(x).piece; }
  // y1 and y2 the heights at x1 and x2; a new arc trimmed to [x1, x2] from the arc piece under
  // the middle, null when that part is straight.
  std::unique_ptr<CDArc> GetSlideBottom(double x1, double x2, double& y1, double& y2) const;
  // The strength type of the piece at the position; 0 when none. slideLine may be null.
  int GetStrengthOfPosition(double x, double y, const CSpSlide* slideLine) const {
    return GetStrengthOfPosition(GetVertical(x), x, y, slideLine);
  }
  // The same with the vertical at x already at hand.
  int GetStrengthOfPosition(const Vertical& at, double x, double y,
                            const CSpSlide* slideLine) const;
  // A vertex of the slide line that TransSpSlide makes: the surface's vertices with each arc's
  // middle after the arc's first vertex, their style (1 at an arc's first vertex) and strength
  // type as the line keeps them.
  struct SlipLineVertex {
    CDPoint point;
    int style;
    int type;
  };
  // The vertices of TransSpSlide(type) without making the line; replaces the content of vertices.
  void GetSlipLineVertices(int type, std::vector<SlipLineVertex>& vertices) const;
  // GetStrengthOfPosition with the slide line given by its vertices.
  int GetStrengthOfPosition(const Vertical& at, double x, double y,
                            std::span<const SlipLineVertex> slipLine) const;
  // GetVertical of one unchanged surface at many x, for a division that asks a vertical at every
  // slice: each piece's reach in x (beyond it the piece meets no vertical) and, for an arc piece,
  // its ends and what its lowest point over x needs, found once by Take. At(x) is
  // GetVertical(x, ends) bit for bit and asks only the pieces whose reach holds x. The surface
  // must stay unchanged and alive while the table is read; Take reuses the table's storage.
  class VerticalTable {
   public:
    void Take(const CSpSlideWork& surface, std::span<const ArcEnds> ends);
    // Inline, as the clear runs' lookup: a division asks it at every slice and division point.
    Vertical At(double x) const;
    // At(x).y alone, bit for bit: beside an arc's end whose height the vertical takes, a crossing
    // with the circle above that height cannot lower it, and its sweep test is spared.
    double HeightAt(double x) const;
    // GetStrengthOfPosition with the slip line given by its vertices, the same answer. Inline, as
    // At: a division asks it at every slice.
    int StrengthOfPosition(const Vertical& at, double x, double y,
                           std::span<const SlipLineVertex> slipLine) const;
    // The column (CDArc::Column) that Take found for piece i of the surface; null for a straight
    // piece and where Take left every x to GetVertical.
    const CDArc::VerticalColumn* ColumnOf(int i) const;

   private:
    struct Piece {
      int index = 0;
      double left = 0;
      double right = 0;
      const CDArc* arc = nullptr;  // null for a straight piece
      CDPoint from;                // a straight piece's vertices
      CDPoint to;
      ArcEnds ends;  // an arc piece's
      CDArc::VerticalColumn column;
      int strength = 0;  // the piece's strength type (StrengthTypeOrZero)
    };
    // Takes piece i of the surface; false when a vertex names no arc.
    bool TakePiece(const CSpSlideWork& surface, int i, std::span<const ArcEnds> ends);
    // A range of x in which the vertical meets one arc piece alone, clearly between its ends' x
    // for the sweep test of its lower crossing and farther than the same-point distance from
    // them: there the vertical's height is that crossing's where the crossing counts
    // (CDArc::ClearLowerYAt), and the piece is the first piece and arc met. The run keeps the
    // piece's arc, vertex and vertical terms with it.
    struct ClearRun {
      CDArc::XRange range;
      const CDArc* arc = nullptr;
      int index = 0;
      CDArc::VerticalTerms terms;
    };
    // The clear run of piece i, empty where it has none.
    CDArc::XRange ClearRange(std::size_t i) const;
    // At of an x that the first clear run holding it decides; none where no run does.
    std::optional<Vertical> ClearAt(double x) const;
    // At where no clear run decides, or what HeightAt needs of it (the height alone).
    Vertical Find(double x, bool heightOnly) const;
    // The walk of At over every piece whose reach holds x; the same height alone.
    Vertical Walk(double x, bool heightOnly) const;

    const CSpSlideWork* surface_ = nullptr;
    std::vector<Piece> pieces_;
    std::vector<ClearRun> clearRuns_;
    // The straight pieces with both vertices at one x and apart in y, in the surface's order: a
    // position within one's height range takes its strength type, ahead of the piece met.
    struct VerticalPiece {
      double fromY;
      double toY;
      int strength;
    };
    std::vector<VerticalPiece> verticalPieces_;
    int vertexCount_ = 0;
    double lastX_ = 0;
    // A coordinate that is not finite, or a vertex that names no arc: every x asks GetVertical.
    bool general_ = true;
  };
  // GetSlipLineVertices(-1, vertices), the verticals asked of a table taken of this surface.
  void GetSlipLineVertices(std::vector<SlipLineVertex>& vertices,
                           const VerticalTable& verticals) const;
  // GetCrossX of one unchanged surface with many segments, for a division that crosses it with
  // every stratum edge and water line: each piece's arc, the terms of its clearance and its
  // column (the ends' x that test a crossing below the centre by x) found once by Take from the
  // arcs' ends (GetArcEnds), or read from the surface's vertical table where that holds it.
  // AppendCrossXs appends the x that GetCrossX finds for the edge's segment, in the same order,
  // asking only the pieces that do not keep clear of the segment by more than reach (a piece's box
  // apart from the segment's, or an arc's circle clear of it: CDArc::ClearOfEdge), which give none.
  // The surface must stay unchanged and alive while the table is read; Take reuses the table's
  // storage.
  class CrossingTable {
   public:
    // verticals: a table taken of the same surface and ends.
    void Take(const CSpSlideWork& surface, std::span<const ArcEnds> ends,
              const VerticalTable& verticals);
    void AppendCrossXs(const CDArc::Edge& edge, double reach, std::vector<double>& xs) const;

   private:
    struct Piece {
      int index = 0;
      const CDArc* arc = nullptr;  // null for a straight piece
      CDArc::Clearance clearance;  // an arc piece's
      CDArc::VerticalColumn column;
    };
    const CSpSlideWork* surface_ = nullptr;
    std::vector<Piece> pieces_;
  };
  // Directions out of the surface at its first and at its last vertex.
  double GetStartAngle() const;
  double GetEndAngle() const;
  // The inclination of the surface at x; kNoValue when no piece is found.
  double GetBottomAngle(double x) const;
  // The direction of the first piece on which the point lies; kNoValue when none.
  double GetPointAngle(const CDPoint& point) const;
  // The length along the pieces, arcs by radius times sweep.
  double GetLength() const;
  // The largest depth (radius minus distance from the centre) by which a segment of the shapes
  // reaches into the first arc piece; kNoValue when none. Needs an arc piece.
  double GetDepth(const CDPolyArray* shapes, bool within) const;

  // ---- Editing ----

  // The strata of a ground as flat tables, for fitting many surfaces to the same unchanged
  // ground (a circle search fits every trial circle): the stratum edges in the order of the
  // shapes, with the terms of their crossings with a circle, and the shapes' outlines for the
  // inside tests. A table serves the array it was taken from while that array stays as it was.
  class StrataTable {
   public:
    // Takes the array's edges and outlines in place of those held, keeping the storage; the
    // fitting cuts by every edge.
    void Take(const CDPolyArray& strata);
    // Narrows the edges the fitting cuts by to those that may cross the circle of radius r about
    // the centre: all but the edges that keep outside it or lie inside it by a margin far beyond
    // the rounding of the circle a fitting builds through three of its points. A cut by the edges
    // passed over finds nothing, so the fitting of that circle stays as it is. Narrowed, the table
    // serves the fitting of that circle only, until it is narrowed again or taken anew. The
    // distances of the edges from a centre are found once for the circles about it.
    void NarrowTo(const CDPoint& centre, double r);
    // The most points at which a circle can cross the edges: two per edge.
    std::size_t MostCircleCrossings() const { return 2 * edges_.size(); }

   private:
    friend class CSpSlideWork;
    // The radii of the circles about the centre of the narrowing that an edge may cross: its
    // nearest and farthest distance from the centre, widened by the margin.
    struct Reach {
      double low;
      double high;
    };
    // The edges the fitting cuts by: all of them, or the narrowed ones.
    std::span<const CDArc::Edge> CutEdges() const;

    std::vector<CDArc::Edge> edges_;
    CDPolyArray::Outlines outlines_;
    std::optional<CDPoint> centre_;
    std::vector<Reach> reaches_;
    std::vector<CDArc::Edge> near_;
    bool narrowed_ = false;
  };

  // A new surface with the crossings with the polygons inserted into the pieces (all pieces
  // when all is set, else only the pieces of strength types 2 and 3); an arc piece is cut by the
  // table's edges when a table of the polygons is given.
  std::unique_ptr<CSpSlideWork> InsCrossPoint(CDPolyArray* polygons, bool all,
                                              const StrataTable* table = nullptr) const;
  using CDPoly::InsCrossPoint;
  // Fits the surface to the ground: empties the array and puts the pieces that run inside the
  // strata into it; returns their count (0 without strata, leaving the array untouched). A table
  // of the ground's strata, when given, answers the strata's cuts and inside tests.
  int CorrectSlideObj(const CSpGround* ground, CDPolyArray* pieces, bool noStretch,
                      const StrataTable* table = nullptr) const;
  // The same with the pieces made in the fitting's storage, in place of those it held (none
  // without strata).
  int CorrectSlideObj(const CSpGround* ground, CSpSlideFitting& fitting, bool noStretch,
                      const StrataTable* table = nullptr) const;
  // The first piece that CorrectSlideObj(ground, pieces, false) gives, made in out with
  // AssignSlideWork; false, leaving out as it was, when fitting yields no piece.
  bool FitFirstPieceInto(const CSpGround* ground, CSpSlideWork& out) const;
  // Stretches the ends to the ground: mode, angle (radians) and strength type for the tail
  // (a, c, e) and the head (b, d, f); -99 takes the process-wide setting of CSpSlide.
  void Strech(const CSpGround* ground, int a, int b, double c, double d, int e, int f);
  // Closes an arc piece that ends on a vertical tangent with a vertical up to the strata.
  void DisposeOverArc(CDPolyArray* strata);
  // Splits the surface at x into a left and (when split) a right surface appended to the
  // array; returns the array's count, -1 for an empty surface.
  int CutAtX(double x, CDPolyArray* array) const;
  // Joins a tension crack from p to q to the surface; false when it cannot be joined.
  bool MixCrackline(const CDPoint& p, const CDPoint& q, int type);
  // A new slide line with every arc turned into a three-point arc; type -1 takes the
  // surface's strength types.
  std::unique_ptr<CSpSlide> TransSpSlide(int type) const;

 private:
  // The stretch settings of one end: mode, angle (radians) and strength type.
  struct EndStretch {
    int mode;
    double angle;
    int strength;
  };

  // ---- Pieces (SpSlideWork.cpp) ----

  // A vertex at the point with the flag, from the storage Clear kept when it holds one.
  std::shared_ptr<CDPoint> NewVertex(const CDPoint& point, int flag);
  // Appends the vertex with a strength entry of the type; returns it.
  CDPoint* AppendVertex(std::shared_ptr<CDPoint> vertex, int type);
  unsigned& Entry(int i);
  unsigned Entry(int i) const;
  // The strength type of entry i; 0 when there is no such entry.
  int StrengthTypeOrZero(int i) const;
  int LastStrengthType() const;
  // The arc index of the piece at vertex i; -1 for a straight piece or an i outside.
  int ArcIndexAt(int i) const;
  // The arc index that a vertex of the surface names (its flag); -1 for a straight piece. Throws
  // std::out_of_range when the vertex names no arc.
  int ArcIndexOf(const CDPoint& vertex) const;
  // The arc of the piece at vertex i for editing; null for a straight piece.
  CDArc* EditArc(int i);
  // Removes vertex i with its strength entry and the arc of its piece.
  void RemoveVertex(int i);
  // Merges consecutive vertices closer than 1e-4 by removing the first of the two; the ends of
  // the arcs, by arc index, lose those of the arcs removed with them.
  void MergeCoincidentVertices(std::vector<ArcEnds>& ends);
  void StretchEnd(const CSpGround& ground, CDPolyArray& strata, const EndStretch& setting,
                  bool atStart);
  // Mode 0 at an arc end: continues the arc to the strata and trims it to a vertical tangent;
  // the direction of the straight continuation (up), none when nothing more is added.
  std::optional<double> ContinueArcEnd(CDPolyArray& strata, bool atStart);
  void AddArcContinuation(CDPolyArray& strata, bool atStart);
  static bool IsUsableContinuation(const CDArc& arc);

  // ---- Queries (SpSlideWorkGeometry.cpp) ----

  // The piece meant by a vertex: the piece before the last vertex, else the vertex's own. Inline:
  // a division asks the strength of a position at every slice.
  int PieceAt(int vertex) const { return PieceAt(vertex, GetSize()); }
  // The same on a surface of count vertices.
  static int PieceAt(int vertex, int count) {
    return vertex == count - 1 && vertex > 0 ? vertex - 1 : vertex;
  }
  // Whether the process-wide stretch settings leave both ends of a fitted surface as they are.
  static bool StretchesNoEnd();
  // The surface lifted onto the stratum it lies on, made in out (CorrectSlideObj's one piece
  // when nothing is stretched).
  void LiftInto(CSpSlideWork& out) const;
  // GetStrengthOfPosition with threePoint(x, out) answering as CSpSlide::Get3PStrength.
  template <class ThreePoint>
  int StrengthOfPosition(const Vertical& at, double x, double y, ThreePoint threePoint) const;
  // GetSlipLineVertices with midStrength(x) the strength type at the vertical through x, asked
  // for the middle of each arc when type is -1.
  template <class MidStrength>
  void SlipLineVertices(int type, std::vector<SlipLineVertex>& vertices,
                        MidStrength midStrength) const;
  // Its step after the vertical pieces for the piece that the vertical meets first, of strength
  // type pieceType: on an arc the line's three-point type at x where it has one, else pieceType.
  template <class ThreePoint>
  static int StrengthOfMetPiece(bool arc, double x, ThreePoint threePoint, int pieceType);
  // CSpSlide::Get3PStrength's answer from the vertices of a slip line.
  static int SlipLineStrength(std::span<const SlipLineVertex> slipLine, double x, int& out);
  // Whether piece i is a straight vertical piece whose height range holds y.
  bool VerticalPieceHolds(int i, double y) const;
  // Directions of travel at the start and at the end of piece i, in [0, 2pi].
  double TravelAngleAtStart(int i) const;
  double TravelAngleAtEnd(int i) const;
  // The height of an end vertex, taken from its arc where it has one; ends as with GetVertical.
  double EndHeight(int vertex, std::span<const ArcEnds> ends) const;
  // The ends of the arc (of that index): those given, else found and kept in found.
  const ArcEnds& EndsOfArc(const CDArc& arc, int arcIndex, std::span<const ArcEnds> ends,
                           std::optional<ArcEnds>& found) const;
  // RunsForward of an arc piece that starts at the vertex, with the arc's ends.
  static bool RunsForward(const CDPoint& vertex, const ArcEnds& ends);
  // The crossings of piece i with the segment p1-p2, in order along the segment.
  Crossings PieceCrossings(int i, const CDPoint& p1, const CDPoint& p2, double arcTol,
                           double lineTol) const;
  // InsCrossPoint made in out, the arcs cut in the storage; ends receives the ends of out's arcs
  // by arc index.
  void InsCrossPointInto(CSpSlideWork& out, CDPolyArray* polygons, bool all,
                         const StrataTable* table, CDArc::CutStorage& cuts,
                         std::vector<ArcEnds>& ends) const;

  std::vector<std::unique_ptr<CDArc>> arcs_;
  std::vector<unsigned> strengths_;
  int crackIndex_ = -1;
  // Points and arcs that Clear and RemoveVertex set free, for the vertices added next.
  PointList sparePoints_;
  std::vector<std::unique_ptr<CDArc>> spareArcs_;
};

// The clear runs' lookup, inline in a division's loops.
inline std::optional<CSpSlideWork::Vertical> CSpSlideWork::VerticalTable::ClearAt(double x) const {
  // Most verticals of a division meet one arc piece alone, clearly inside its sweep.
  for (const ClearRun& run : clearRuns_) {
    if (!run.range.Holds(x)) continue;
    if (const double y = run.arc->ClearLowerYAt(x, run.terms); y != kNoValue) {
      return Vertical{y, run.arc, run.index};
    }
    break;
  }
  return std::nullopt;
}

inline CSpSlideWork::Vertical CSpSlideWork::VerticalTable::At(double x) const {
  if (const std::optional<Vertical> clear = ClearAt(x)) return *clear;
  return Find(x, false);
}

inline double CSpSlideWork::VerticalTable::HeightAt(double x) const {
  if (const std::optional<Vertical> clear = ClearAt(x)) return clear->y;
  return Find(x, true).y;
}

template <class ThreePoint>
int CSpSlideWork::StrengthOfMetPiece(bool arc, double x, ThreePoint threePoint, int pieceType) {
  int arcStrength = 0;
  if (arc && threePoint(x, arcStrength) == 1) return arcStrength;
  return pieceType;
}

inline int CSpSlideWork::SlipLineStrength(std::span<const SlipLineVertex> slipLine, double x,
                                          int& out) {
  const auto vertex = [slipLine](int i) -> const SlipLineVertex& {
    return slipLine[static_cast<std::size_t>(i)];
  };
  return ThreePointStrength(
      static_cast<int>(slipLine.size()), x, out, [&](int i) { return vertex(i).style; },
      [&](int i) { return vertex(i).point.x; }, [&](int i) { return vertex(i).type; });
}

inline int CSpSlideWork::VerticalTable::StrengthOfPosition(
    const Vertical& at, double x, double y, std::span<const SlipLineVertex> slipLine) const {
  if (general_) return surface_->GetStrengthOfPosition(at, x, y, slipLine);
  for (const VerticalPiece& piece : verticalPieces_) {
    if (IsBetween(piece.fromY, piece.toY, y)) return piece.strength;
  }
  const int vertex = at.piece;
  if (vertex < 0) return 0;
  // Every piece is held, in the surface's order; the last vertex means the piece that ends there.
  const Piece& piece = pieces_[static_cast<std::size_t>(PieceAt(vertex, vertexCount_))];
  return StrengthOfMetPiece(
      piece.arc != nullptr, x,
      [slipLine](double arcX, int& out) { return SlipLineStrength(slipLine, arcX, out); },
      piece.strength);
}

// The storage of fitting surfaces to the ground again and again (a circle search fits every
// trial circle): the lifted copy, the walk with the crossings, the cuts of its arcs and the
// pieces, kept from fitting to fitting so that fitting stops allocating once it has held the
// most of each.
class CSpSlideFitting {
 public:
  // The pieces of the last fitting; GetAt throws std::out_of_range outside 0..count-1.
  int GetSize() const { return count_; }
  CSpSlideWork& GetAt(int k);
  // Room for fitting circles that cross the strata's edges at up to the given count of points
  // (StrataTable::MostCircleCrossings): the walk, its arcs' ends and cuts and the list of pieces
  // reach their largest without growing.
  void Reserve(std::size_t crossings);

 private:
  friend class CSpSlideWork;
  // A new, empty piece after those of this fitting.
  CSpSlideWork& OpenPiece();

  CSpSlideWork lifted_;
  CSpSlideWork walk_;
  // The ends of the walk's arcs, by arc index.
  std::vector<CSpSlideWork::ArcEnds> walkEnds_;
  CDArc::CutStorage cuts_;
  std::vector<std::unique_ptr<CSpSlideWork>> pieces_;
  int count_ = 0;
};
