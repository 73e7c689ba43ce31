#pragma once
// A surcharge load on the ground surface of the section: a distributed load between two x
// positions or a concentrated load at one x, acting vertically, to the right, to the left or at
// an entered angle. Its vertices are only the drawn outline along the ground, rebuilt by
// CreateDrawPoly; the stability calculations ask it with CalcQ how much it acts on one block or
// slice.

#include <memory>

#include "core/geometry/DPoly.h"

class Archive;
class CViewInfo;

// The action of one load on one block or slice. Every value is kNoValue until CalcQ sets it.
struct tagLOAD {
  double magnitude = kNoValue;  // concentrated: the load itself
  double qLeft = kNoValue;      // distributed: the intensities at the strip's edges
  double qRight = kNoValue;
  double angle = kNoValue;  // concentrated: the direction of action, degrees from the horizontal
  double horizontal = kNoValue;
  double vertical1 = kNoValue;   // the vertical component counted with the normal pair
  double vertical2 = kNoValue;   // the vertical component counted with the tangential pair
  double normal = kNoValue;      // normal to the strip's base
  double tangential = kNoValue;  // along the strip's base
};

class CSpLoad : public CDPoly {
 public:
  enum Direction : int {
    kVertical = 0,
    kToRight = 1,
    kToLeft = 2,
    kAtAngle = 3,  // at the entered angle
  };

  CSpLoad();

  // A new load with the name, every field and the outline.
  std::unique_ptr<CDPoly> Copy() const override;

  // Record: the name, q1, q2, x1, x2, concentrated, direction, angle and the four switches; the
  // outline is not stored and the version is not consulted. Load reads the whole record before
  // it changes anything.
  void Store(Archive& ar, int version) const override;
  void Load(Archive& ar, int version) override;

  bool IsDist() const { return fields_.concentrated == 0; }
  bool IsConcent() const { return fields_.concentrated == 1; }
  // Distributed: q1, q2, x1 and x2 set and x1 != x2; concentrated: q1 and x1 set; at an angle
  // the angle set as well. A load of another kind code is never complete.
  bool IsValidSettings() const;
  bool IsEmptyShape() const override { return !IsValidSettings(); }
  // The outline as a polyline and every stored field equal (numbers exactly); false for a shape
  // that is not a load.
  bool IsSame(const CDPoly* other) const override;

  // Range checks and rounding of the input; values outside their range become kNoValue.
  void ChangeValid() override;
  // Orders a distributed load from left to right: a load entered from right to left exchanges
  // its two ends, positions and intensities together.
  void Normalize();
  // Rebuilds the outline along the ground (null: no ground), every point raised by lift.
  void CreateDrawPoly(const CDPoly* ground, double lift);
  // Arrows (concentrated) or a hatched band (distributed) in green; from and to are not used.
  void Draw(CViewInfo* view, int bold, int from, int to) const override;

  // The direction of action in degrees from the horizontal: 90 vertical, 0 to the right, 180 to
  // the left, 90 - angle at an angle (in (-180, 180]); 0 for an unknown direction.
  double GetFlatAngle() const;
  // The same direction in degrees from the vertical: 0 vertical, 90 to the right, -90 to the
  // left, the entered angle at an angle; 0 for an unknown direction.
  double GetConcentAngle() const;
  // The action on the strip from xa to xb of the given width whose base is inclined by
  // baseAngle (radians). facing false mirrors the direction left-right. False, with every value
  // of out kNoValue, when the load is incomplete or does not act on the strip.
  bool CalcQ(bool facing, double xa, double xb, double width, double baseAngle, tagLOAD& out) const;
  // Whether the load acts on the strip from xa to xb. A concentrated load exactly on a strip
  // boundary counts here for the left-hand strip, in CalcQ for the right-hand one.
  bool IsInRange(double xa, double xb) const;

  double GetQ1() const { return fields_.q1; }
  void SetQ1(double q) { fields_.q1 = q; }
  double GetQ2() const { return fields_.q2; }
  void SetQ2(double q) { fields_.q2 = q; }
  double GetX1() const { return fields_.x1; }
  void SetX1(double x) { fields_.x1 = x; }
  double GetX2() const { return fields_.x2; }
  void SetX2(double x) { fields_.x2 = x; }
  // 0 distributed, 1 concentrated.
  int GetConcentrated() const { return fields_.concentrated; }
  void SetConcentrated(int concentrated) { fields_.concentrated = concentrated; }
  int GetDirection() const { return fields_.direction; }
  void SetDirection(int direction) { fields_.direction = direction; }
  // Degrees from the vertical, -180 to 180; used with kAtAngle.
  double GetAngle() const { return fields_.angle; }
  void SetAngle(double angle) { fields_.angle = angle; }
  // 0 drops the components of the normal pair (vertical1, normal) from CalcQ.
  int GetNormalPairOn() const { return fields_.normalPairOn; }
  void SetNormalPairOn(int on) { fields_.normalPairOn = on; }
  // 0 drops the components of the tangential pair (vertical2, tangential) from CalcQ.
  int GetTangentPairOn() const { return fields_.tangentPairOn; }
  void SetTangentPairOn(int on) { fields_.tangentPairOn = on; }
  // The load acts in the normal case / in the seismic case.
  int GetNormalCaseOn() const { return fields_.normalCaseOn; }
  void SetNormalCaseOn(int on) { fields_.normalCaseOn = on; }
  int GetQuakeCaseOn() const { return fields_.quakeCaseOn; }
  void SetQuakeCaseOn(int on) { fields_.quakeCaseOn = on; }

 private:
  struct Fields {
    double q1 = kNoValue;  // intensity at x1, or the concentrated load
    double q2 = kNoValue;  // intensity at x2
    double x1 = kNoValue;  // start, or the position of the concentrated load
    double x2 = kNoValue;  // end
    int concentrated = 0;
    int direction = kVertical;
    double angle = 0;
    int normalPairOn = 1;
    int tangentPairOn = 1;
    int normalCaseOn = 1;
    int quakeCaseOn = 1;
  };

  // Whether the middle of the strip lies between x1 and x2, both taken 1e-8 further left: a
  // middle exactly on x1 is inside, one exactly on x2 outside.
  bool IsMiddleInRange(double xa, double xb) const;
  // The outline on the ground line, which runs from left to right and has at least two points,
  // or, with a null line, at height 0.
  void BuildConcentratedOutline(const CDPoly* line, double lift);
  void BuildDistributedOutline(const CDPoly* line, double lift);

  Fields fields_;
};
