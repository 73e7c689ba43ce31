#pragma once
// Straight lines: a segment of two end points that can be drawn and rubber-banded with the mouse,
// an owning list of segments stored in the document, and a line given by a start point and a
// direction vector with its parametric queries.

#include <memory>
#include <vector>

#include "core/geometry/DPoint.h"

class Archive;
class CViewInfo;

class CDLine {
 public:
  // The rubber band of mouse editing, shared by all lines: only one line end is dragged at a
  // time.
  inline static bool bMovCap = false;  // a band is on screen
  inline static CDPoint ptCap;         // the mouse point at which it was drawn

  CDPoint start;
  CDPoint end;

  CDLine() = default;
  CDLine(const CDPoint& from, const CDPoint& to) : start(from), end(to) {}

  void Init();
  void SetLine(const CDPoint& from, const CDPoint& to);
  void Copy(const CDLine& other) { *this = other; }
  // Starts and ends each closer than 1e-4; the direction counts.
  bool IsSame(const CDLine& other) const;
  // None of the four coordinates is no value.
  bool IsValid() const;

  // The record: start and end, each x, y (doubles) and flag (int32); 40 bytes. A record that
  // ends early throws ArchiveException and leaves the line as it was.
  void Store(Archive& ar) const;
  void Load(Archive& ar);

  // The midpoint (flag 0); the no-value point for an incomplete line.
  CDPoint GetMiddlePoint() const;
  // x where the segment reaches height y; kNoValue outside its y range.
  double GetX(double y) const;
  // y of the segment at x; kNoValue outside its x range.
  double GetY(double x) const;
  // Slope a and intercept b of the line (not for vertical lines).
  void GetEquation(double& a, double& b) const;

  // The segment with the canvas's current pen; nothing for an incomplete line.
  void Draw(const CViewInfo& view) const;

  // Rubber band while an end of this line is dragged: which is 0 when the start moves and 1 when
  // the end moves. Each move draws the band from the other end to p in not-xor mode, after
  // drawing the previous band once more to erase it.
  void OnMouseMove(const CViewInfo& view, int which, const CDPoint& p) const;
  // A new drag starts with no band on screen.
  static void OnLButtonDown() { ResetMouseMove(); }
  static void ResetMouseMove();
};

// A list of segments that owns them.
class CDLineArray {
 public:
  CDLineArray() = default;
  CDLineArray(const CDLineArray& other);
  CDLineArray& operator=(const CDLineArray&) = delete;
  ~CDLineArray() = default;

  // Deletes every line.
  void Init() { lines_.clear(); }
  int GetSize() const { return static_cast<int>(lines_.size()); }
  // Throws std::out_of_range outside 0..size-1.
  CDLine* GetAt(int index) const;

  // The count (int32), then each line's record.
  void Store(Archive& ar) const;
  // Appends the stored lines to the present ones. A damaged record throws ArchiveException and
  // leaves the list as it was.
  void Load(Archive& ar);
  // Replaces the content by copies of the other's lines.
  void Copy(const CDLineArray& other);
  // Same count and every line IsSame as the line at the same index.
  bool IsSame(const CDLineArray& other) const;
  // Every line is complete (an empty list is valid).
  bool IsValid() const;

  void AddLine(double x1, double y1, double x2, double y2);
  void AddLine(const CDPoint& from, const CDPoint& to);
  // Appends copies of all lines of other.
  void AddLine(const CDLineArray& other);
  // Throws std::out_of_range outside 0..size-1.
  void DeleteAt(int index);

  // Every complete line, with the canvas's current pen.
  void Draw(const CViewInfo& view) const;

 private:
  std::vector<std::unique_ptr<CDLine>> lines_;
};

// A line given by a start point and a direction vector; the segment runs from the start to
// start + direction. Queries on a vector that is not valid give the no-value point, 0 or false
// unless their comment says otherwise.
class CDLineVector {
 public:
  CDLineVector() = default;
  // From a to b: the start (with its flag) when a is set, the direction b - a when b is set too.
  CDLineVector(const CDPoint& a, const CDPoint& b) { SetLinePoint(a, b); }
  // As above, but the start's flag is 0; a null pointer counts as an unset point.
  CDLineVector(const CDPoint* a, const CDPoint* b);

  // Nothing changes when a is not set; only the start changes when b is not set.
  void SetLinePoint(const CDPoint& a, const CDPoint& b);
  void SetLineVector(const CDPoint& start, const CDPoint& direction);
  void Init();

  // The record: start and direction, each x, y (doubles) and flag (int32); 40 bytes. A record
  // that ends early throws ArchiveException and leaves the vector as it was.
  void Store(Archive& ar) const;
  void Load(Archive& ar);
  // Starts and directions each closer than 1e-4.
  bool IsSame(const CDLineVector& other) const;
  // Both points set and the direction at least 1e-9 long.
  bool IsValid() const;

  // The start with its flag, valid or not.
  CDPoint GetStartPoint() const { return start_; }
  // start + direction (flag 0); the no-value point when either is not set.
  CDPoint GetEndPoint() const;
  CDPoint GetMiddlePoint() const;
  // The point at distance d from the start along the direction.
  CDPoint GetDistancePoint(double d) const;
  // start + t * direction.
  CDPoint GetParameterPoint(double t) const;
  // A new vector from p (flag kept) along the unit direction turned 90 degrees
  // counter-clockwise.
  CDLineVector GetNormalLines(const CDPoint& p) const;
  // The direction's length; below 1e-9 it is 0.
  double GetLength() const;
  // x of the line at height y; kNoValue for a horizontal line or y not set. No validity test.
  double GetX(double y) const;
  // y of the line at x; kNoValue for a vertical line or x not set. No validity test.
  double GetY(double x) const;
  // The direction's angle in (-pi, pi].
  double GetAngle() const;
  bool IsHorizon() const;
  bool IsVertical() const;
  // Whether p lies on the segment. For a sloped line tol bounds the difference of the line
  // parameters that p's x and y give, not a distance. A tol of 0 means 1e-9.
  bool IsOnline(const CDPoint& p, double tol) const;

 private:
  CDPoint start_;
  CDPoint direction_;
};
