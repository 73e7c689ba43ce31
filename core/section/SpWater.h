#pragma once
// The ground-water level of a cross-section: a polyline drawn in its own colour and pen style.
// The block division takes the water level at each block edge from it.

#include <memory>

#include "core/geometry/DPoly.h"
#include "platform/Canvas.h"

class Archive;
class CSpGround;
class CViewInfo;

class CSpWater : public CDPoly {
 public:
  CSpWater();

  // Record: the colour (int32), then the polyline record. The pen style is not stored.
  void Store(Archive& ar, int version) const override;
  void Load(Archive& ar, int version) override;
  // The line in its colour and pen style (2 pixels bold, else 1) on a transparent background;
  // a missing coordinate breaks it. Every set vertex gets a handle, the large one for the vertex
  // `from` (to == -1) or for the vertices from..to.
  void Draw(CViewInfo* view, int bold, int from, int to) const override;
  // A new water line with the name, copies of the points, the colour and the pen style.
  std::unique_ptr<CDPoly> Copy() const override;

  // Takes copies of the other's points (with their flags), its colour and pen style; the name
  // stays.
  void CopyWater(const CSpWater* other);
  // Whether water stands above the ground: the ground crosses the line, or the ground lies below
  // the line's middle vertex. False for a line of fewer than two points or no ground.
  bool IsPoolGround(const CSpGround* ground) const;
  // Appends to this line the given water line fitted to the ground: water above the ground is
  // brought down onto it, and the ground's vertices and crossings under the water are added. False,
  // with nothing appended, when the water nowhere reaches the ground.
  bool CreateFitWater(const CSpGround* ground, const CSpWater* water);

  Color GetColor() const { return color_; }
  void SetColor(Color color) { color_ = color; }
  PenStyle GetPenStyle() const { return penStyle_; }
  void SetPenStyle(PenStyle style) { penStyle_ = style; }

 private:
  Color color_;  // blue for a new line
  PenStyle penStyle_ = PenStyle::DashDot;
};
