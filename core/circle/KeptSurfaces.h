#pragma once
// The slip surfaces a circle search keeps, in flat arrays that all of them share. A search keeps
// thousands of surfaces, and an object of its own would cost each kept circle several allocations
// (its points, their block, its arcs, their list, its strength words); here the arrays grow with
// the search and a kept circle refers to its surface by number. The search that fills a store is
// its only writer; once it is done the store stays as it is, shared by the points that refer to
// it.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "core/geometry/DArc.h"
#include "core/geometry/DPoint.h"

class CSpSlideWork;

// The surface's highest point lies more than 0.001 above the centre of its first arc; false
// without an arc.
bool IsOverhungSurface(const CSpSlideWork& surface);

class CKeptSurfaces {
 public:
  // Appends the surface's content; returns its number.
  int Keep(const CSpSlideWork& surface);
  // A new surface with the content of surface n, as the one kept was.
  std::unique_ptr<CSpSlideWork> Make(int n) const;
  // IsOverhungSurface of surface n, found when it was kept.
  bool IsOverhung(int n) const { return At(n).overhung; }

 private:
  // Where a surface's content lies in the arrays.
  struct Range {
    std::uint32_t first = 0;
    std::uint32_t count = 0;
  };
  struct Entry {
    std::string name;
    Range vertices;
    Range arcs;
    Range strengths;
    bool overhung = false;
  };
  // Surface n; a number that names none throws std::out_of_range.
  const Entry& At(int n) const;
  // The range of count items appended after the stored ones.
  static Range NextRange(std::size_t stored, std::size_t count);

  std::vector<Entry> entries_;
  std::vector<CDPoint> vertices_;
  std::vector<CDArc> arcs_;
  std::vector<unsigned> strengths_;
};
