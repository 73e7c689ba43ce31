#pragma once
// A polyline with a paint colour that draws itself as a filled area or as an outline. Its kind
// is that of the plain polyline, so its copies and stored records are plain polylines.

#include "core/geometry/DPoly.h"
#include "platform/DevTypes.h"

class CPolygon : public CDPoly {
 public:
  CPolygon() = default;

  void SetPaintColor(Color color) { paintColor_ = color; }
  Color GetPaintColor() const { return paintColor_; }

  // All points as one closed polygon in the paint colour: filled without outline when filled is
  // not 0, else outlined without fill. The handle range is not used.
  void Draw(CViewInfo* view, int filled, int from, int to) const override;

 private:
  Color paintColor_{};  // black
};
