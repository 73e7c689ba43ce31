#pragma once
// Three water lines of a section kept together: the water level, an upper water level and the
// impermeable layer below it, with a switch that turns the upper water layer on, the line being
// shown highlighted and edited, and a check that explains why the upper layer cannot be built.

#include "core/geometry/DPoint.h"
#include "core/section/SpWater.h"

class Archive;
class CViewInfo;

class CSpWaterGroup {
 public:
  // Which line is highlighted and edited.
  static constexpr int kViewNone = -1;
  static constexpr int kViewWater = 0;
  static constexpr int kViewUpper = 1;
  static constexpr int kViewImpermeable = 2;

  // Three empty lines named "水位": water and upper blue and dash-dotted, the impermeable layer
  // dark red and dashed.
  CSpWaterGroup();

  // No line in view, the upper layer off, the impermeable line dark red and dashed again; the
  // points stay.
  void Init();
  // Record: the water line's record and, from document version 20 on, the upper and the
  // impermeable line's records and the upper switch (int32).
  void Store(Archive& ar, int version) const;
  // Reads the whole record before it changes anything; an older record leaves the upper and the
  // impermeable line and the switch as they are.
  void Load(Archive& ar, int version);
  // Each line takes the other group's line (points, colour and pen style), and the switch.
  void Copy(const CSpWaterGroup& other);
  // Each line takes only the points of the other's line, and the switch.
  void CopyPoints(const CSpWaterGroup& other);
  // Each line the same as the other's, the switches equal and IsSameClr.
  bool IsSame(const CSpWaterGroup& other) const;
  // The three colours equal.
  bool IsSameClr(const CSpWaterGroup& other) const;

  void SetViewMode(int mode) { viewMode_ = mode; }
  int GetViewMode() const { return viewMode_; }
  // While the upper layer is on, the upper and the impermeable line; then the water line. With
  // highlight the line in view is drawn bold.
  void Draw(CViewInfo* view, int highlight) const;
  // Whether the upper water layer can be built: always with the switch off; otherwise none of
  // the lines may cross, the impermeable line must reach at least as far left and right as the
  // upper line, and the upper line must not lie below it. With show 1 a failing check shows
  // every reason in one message.
  bool IsUnsturatedValid(int show) const;
  void DeleteAll();
  // Removes the points without a value from all three lines.
  void DelSpacePoint();
  // The bounding rectangle of all three lines; false when none has a point with values.
  bool RangeRect(double& xmin, double& xmax, double& ymax, double& ymin) const;
  // The vertex nearest to p among the water, upper and impermeable lines (the first found of
  // equally near ones), with its distance; the no-value point and 9e32 when there is none.
  CDPoint FindNearPoint(const CDPoint& p, double& dist) const;
  // Mouse editing of the line in view; nothing while no line is.
  void OnLButtonDown(CViewInfo* view, int index, CDPoint p);
  void OnMouseMove(CViewInfo* view, int index, CDPoint p);
  void ResetMouseMove();

  const CSpWater& GetWater() const { return water_; }
  CSpWater& GetWater() { return water_; }
  const CSpWater& GetUpper() const { return upper_; }
  CSpWater& GetUpper() { return upper_; }
  const CSpWater& GetImpermeable() const { return impermeable_; }
  CSpWater& GetImpermeable() { return impermeable_; }
  int GetUpperOn() const { return upperOn_; }
  void SetUpperOn(int on) { upperOn_ = on; }

 private:
  // The line in view; null while none is.
  CSpWater* ViewedLine();

  CSpWater water_;
  CSpWater upper_;
  CSpWater impermeable_;
  int upperOn_ = 0;
  int viewMode_ = kViewNone;
};
