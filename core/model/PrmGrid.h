#pragma once
// The drawing area and the coordinate grid of a case's section view: the area, the pitches of the
// grid lines and of their labels, whether the area follows the shapes automatically (and how far
// it reaches below them), and whether the grid is shown.

#include "core/base/Utility.h"
#include "core/geometry/DPoint.h"

class Archive;
class CViewInfo;

class CPrmGrid {
 public:
  CPrmGrid() = default;

  void Init() { *this = CPrmGrid(); }
  void Copy(const CPrmGrid& other) { *this = other; }
  // Record: the eight doubles from x1 to yLabelPitch, int32 autoArea, double depthBelow, int32
  // gridShown. No version gate.
  void Store(Archive& ar, int version) const;
  // Reads the whole record before it changes anything; a grid that is not IsSound is refused
  // with ArchiveException (BadFormat).
  void Load(Archive& ar, int version);
  // Whether the values could come from a sound case: the area's edges, the pitches and the depth
  // below each unset or a finite number within the coordinate limit, and no pitch set while an
  // edge of the area is unset. Drawing any other grid would never end.
  bool IsSound() const;
  // All eleven values equal.
  bool IsSame(const CPrmGrid& other) const;
  // The area set, and the depth below set while the area is automatic.
  bool IsValid() const;

  // Sets the area from its edges, then Normalize.
  void SetArea(double left, double right, double top, double bottom);
  // Orders the bounds, holds them within +-9999.9, widens an empty side by 30 and sets every
  // pitch of 0 or less or above 9999.9 to 10.
  void Normalize();
  double GetDistX() const;
  double GetDistY() const;
  double GetMaxDistXY() const;
  // GetDistY / GetDistX.
  double GetAspectXY() const;
  CDPoint GetCenter() const;

  // While the grid is shown: dotted grid lines over the view's world area, the solid frame of the
  // area and the coordinate labels along its bottom and left edges.
  void Draw(CViewInfo* view) const;

  double x1 = 0.0;  // the drawing area
  double y1 = 0.0;
  double x2 = 30.0;
  double y2 = 30.0;
  double xLinePitch = 10.0;
  double yLinePitch = 10.0;
  double xLabelPitch = 10.0;
  double yLabelPitch = 10.0;
  int autoArea = 1;          // the area follows the shapes
  double depthBelow = 10.0;  // how far the automatic area reaches under the lowest shape point
  int gridShown = 1;
};
