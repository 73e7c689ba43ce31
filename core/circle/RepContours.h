#pragma once
// The contour map of a result mesh: its lines, each a segment of a level drawn in the level's
// colour, or its painted bands, each a region filled in its colour. The shapes' points lie in one
// array that they all share, so that a map of a whole mesh costs a few allocations, not a few per
// cell.

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "core/geometry/DPoint.h"
#include "platform/DevTypes.h"

class CDPoly;
class CViewInfo;

class CRepContours {
 public:
  struct Shape {
    Color colour;
    // A line's level; a band has none (kNoValue).
    double level = 0;
    std::uint32_t first = 0;
    std::uint32_t count = 0;
  };

  // A map of bands (painted) or of lines.
  explicit CRepContours(bool painted) : painted_(painted) {}

  int GetSize() const { return static_cast<int>(shapes_.size()); }
  // An index out of range throws std::out_of_range.
  const Shape& GetAt(int i) const;
  std::span<const CDPoint> PointsOf(const Shape& shape) const {
    return std::span<const CDPoint>(points_).subspan(shape.first, shape.count);
  }
  bool IsPainted() const { return painted_; }

  // Room for the shapes and their points without growing.
  void Reserve(std::size_t shapes, std::size_t points);
  // The segment of the level from one point to the other.
  void AddLine(Color colour, double level, const CDPoint& from, const CDPoint& to);
  // A band over the region's vertices, without their flags.
  void AddBand(Color colour, const CDPoly& region);

  // The lines as solid polylines of width 2, the bands filled without an outline.
  void Draw(CViewInfo* view) const;

 private:
  // Appends a shape over the points appended since first.
  void AddShape(Color colour, double level, std::size_t first);

  std::vector<Shape> shapes_;
  std::vector<CDPoint> points_;
  bool painted_;
};
