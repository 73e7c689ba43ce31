#include "core/circle/KeptSurfaces.h"

#include <span>
#include <stdexcept>

#include "core/section/SpSlideWork.h"

bool IsOverhungSurface(const CSpSlideWork& surface) {
  const CDArc* arc = surface.GetFirstArc();
  if (arc == nullptr) return false;
  return surface.Top().y > arc->centre.y + 0.001;
}

CKeptSurfaces::Range CKeptSurfaces::NextRange(std::size_t stored, std::size_t count) {
  return {static_cast<std::uint32_t>(stored), static_cast<std::uint32_t>(count)};
}

int CKeptSurfaces::Keep(const CSpSlideWork& surface) {
  const int vertices = surface.GetSize();
  const int arcs = surface.GetArcCount();
  const std::span<const unsigned> strengths = surface.GetStrengths();
  entries_.push_back({surface.GetName(),
                      NextRange(vertices_.size(), static_cast<std::size_t>(vertices)),
                      NextRange(arcs_.size(), static_cast<std::size_t>(arcs)),
                      NextRange(strengths_.size(), strengths.size()), IsOverhungSurface(surface)});
  for (int i = 0; i < vertices; ++i) vertices_.push_back(*surface.GetAt(i));
  for (int k = 0; k < arcs; ++k) arcs_.push_back(*surface.GetArcAt(k));
  strengths_.insert(strengths_.end(), strengths.begin(), strengths.end());
  return static_cast<int>(entries_.size()) - 1;
}

const CKeptSurfaces::Entry& CKeptSurfaces::At(int n) const {
  if (n < 0 || static_cast<std::size_t>(n) >= entries_.size()) {
    throw std::out_of_range("CKeptSurfaces: surface number");
  }
  return entries_[static_cast<std::size_t>(n)];
}

std::unique_ptr<CSpSlideWork> CKeptSurfaces::Make(int n) const {
  const Entry& entry = At(n);
  const auto part = [](const auto& all, const Range& range) {
    return std::span(all).subspan(range.first, range.count);
  };
  auto surface = std::make_unique<CSpSlideWork>();
  surface->AssignContent(entry.name, part(vertices_, entry.vertices), part(arcs_, entry.arcs),
                         part(strengths_, entry.strengths));
  return surface;
}
