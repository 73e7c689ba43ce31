#pragma once
// The list of section shapes of one kind that a case or a shape holds (stratum lines, stratum
// blocks, water lines, loads, working slide surfaces) and the temporary lists of the polygon
// assembly. It owns its shapes, keeps the index of the shape picked for editing, stores each
// shape behind its kind code, draws them all and answers questions that span all its shapes.

#include <memory>
#include <string>
#include <vector>

#include "core/geometry/DPoint.h"
#include "core/geometry/DPoly.h"

class Archive;
class CDArc;
class CViewInfo;

class CDPolyArray {
 public:
  CDPolyArray() = default;
  // Arrays are copied with Copy, which copies every shape.
  CDPolyArray(const CDPolyArray&) = delete;
  CDPolyArray& operator=(const CDPolyArray&) = delete;

  // ---- The list ----

  int GetSize() const { return static_cast<int>(shapes_.size()); }
  bool IsEmpty() const { return shapes_.empty(); }
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
  void CopyStratumProp(CDPolyArray* other);
  // No stratum polygon lacks any of its four strength values (unit weights, phi, c).
  bool IsValidStratumFs() const;
  // No stratum polygon lacks its unit skin friction.
  bool IsValidTaup() const;

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
