#pragma once
// The tension crack of a cross-section: it opens from a top point on the ground down to a depth,
// straight down or inclined, and carries the soil values from which that depth is computed. The
// crack has no vertices of its own and draws nothing as a shape; the stability conditions draw
// its depth line and the working slip surface joins it to the slip surface.

#include <memory>

#include "core/geometry/DPoly.h"

class Archive;
class CViewInfo;

class CSpCrack : public CDPoly {
 public:
  // From this document version on the record carries the second setting and the soil values.
  static constexpr int kSoilValuesVersion = 14;

  CSpCrack();

  // A new crack with the name and every field.
  std::unique_ptr<CDPoly> Copy() const override;
  // Takes the name and every field of the other crack.
  void Copy(const CSpCrack& other);

  // Record: the name, top x and y, bottom x and y, angle, depth, the first setting and the active
  // switch; from kSoilValuesVersion on also the second setting, gamma, cohesion and phi, which an
  // older record leaves at their defaults. Load reads the whole record before it changes
  // anything.
  void Store(Archive& ar, int version) const override;
  void Load(Archive& ar, int version) override;

  // The name and every stored field equal (numbers exactly); false for a shape that is not a
  // crack.
  bool IsSame(const CDPoly* other) const override;
  // A crack draws nothing as a shape.
  void Draw(CViewInfo* view, int bold, int from, int to) const override;

  // The depth is set.
  bool IsValidSetting() const { return fields_.depth != kNoValue; }
  // Computes, stores and returns the lower end: straight below the top for an angle of exactly
  // 90 degrees, else down to the left for side 1 and down to the right for any other side. The
  // no-value point while top, angle or depth is missing. The bottom's flag stays.
  CDPoint CalcBottomPos(int side);
  // The crack depth of the active earth pressure, 2c/gamma * tan(45 + phi/2), rounded half up to
  // 0.001; kNoValue while a soil value is missing.
  double Calc_h() const;

  const CDPoint& GetTop() const { return fields_.top; }
  void SetTop(const CDPoint& top) { fields_.top = top; }
  const CDPoint& GetBottom() const { return fields_.bottom; }
  void SetBottom(const CDPoint& bottom) { fields_.bottom = bottom; }
  // Degrees from the horizontal; 90 is vertical.
  double GetAngle() const { return fields_.angle; }
  void SetAngle(double angle) { fields_.angle = angle; }
  // Along the crack's direction.
  double GetDepth() const { return fields_.depth; }
  void SetDepth(double depth) { fields_.depth = depth; }
  // Non-zero: the crack is taken into account.
  int GetActive() const { return fields_.active; }
  void SetActive(int active) { fields_.active = active; }
  int GetSetting1() const { return fields_.setting1; }
  void SetSetting1(int setting) { fields_.setting1 = setting; }
  int GetSetting2() const { return fields_.setting2; }
  void SetSetting2(int setting) { fields_.setting2 = setting; }
  double GetGamma() const { return fields_.gamma; }
  void SetGamma(double gamma) { fields_.gamma = gamma; }
  double GetCohesion() const { return fields_.cohesion; }
  void SetCohesion(double cohesion) { fields_.cohesion = cohesion; }
  // Degrees.
  double GetPhi() const { return fields_.phi; }
  void SetPhi(double phi) { fields_.phi = phi; }

 private:
  struct Fields {
    CDPoint top;
    CDPoint bottom;
    double angle = kNoValue;
    int setting1 = 3;
    int active = 0;
    int setting2 = 0;
    double gamma = kNoValue;
    double cohesion = kNoValue;
    double phi = kNoValue;
    double depth = kNoValue;
  };

  Fields fields_;
};
