// CSliceList: the division points, the slices, the extents, the totals and the intervals.

#include "core/circle/SliceList.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <numeric>
#include <span>
#include <utility>

#include "core/circle/SliceBoundaries.h"
#include "core/circle/SliceSoil.h"
#include "core/geometry/DPolyArray.h"
#include "core/geometry/DPolyEdgeCuts.h"
#include "core/model/Danmen.h"
#include "core/section/SpGround.h"
#include "core/section/SpLoad.h"
#include "core/section/SpSlideWork.h"
#include "core/section/SpStratum.h"
#include "core/section/SpWaterGroup.h"

// The surface's height over the x of the points that the division tests and of the division
// points, each x looked up once per division: neighbouring strata share their boundary vertices,
// which become division points. known holds the heights found so far, ordered by x.
struct CSliceList::SurfaceHeights {
  const CSpSlideWork& surface;
  const CSpSlideWork::VerticalTable& verticals;
  std::vector<std::pair<double, double>>& known;

  using Known = std::vector<std::pair<double, double>>::const_iterator;

  double At(double x) const {
    const auto it = std::lower_bound(known.begin(), known.end(), x,
                                     [](const auto& entry, double v) { return entry.first < v; });
    if (Hits(it, x)) return it->second;
    const double y = verticals.HeightAt(x);
    known.insert(it, {x, y});
    return y;
  }
  // At of an x that no x asked before exceeds: the known heights end at or below it, so no
  // search is needed.
  double AtAscending(double x) const {
    if (!known.empty() && Hits(known.end() - 1, x)) return known.back().second;
    const double y = verticals.HeightAt(x);
    known.emplace_back(x, y);
    return y;
  }
  // At of each of the ascending xs, appended to ys: one walk along the known heights, which it
  // leaves as they are (the xs are the division's last questions).
  void AtEach(std::span<const double> xs, std::vector<double>& ys) const {
    Known it = known.begin();
    for (const double x : xs) {
      while (it != known.end() && it->first < x) ++it;
      ys.push_back(Hits(it, x) ? it->second : verticals.HeightAt(x));
    }
  }

 private:
  // A hit holds GetVertical's height at this very x (0 and -0 kept apart): the same value.
  bool Hits(Known it, double x) const {
    return it != known.end() && it->first == x && std::signbit(it->first) == std::signbit(x);
  }
};

namespace {

// Division points closer than this are one point; a split never comes this close to a gap's end.
constexpr double kSameX = 1e-5;
// The split modes of the division.
constexpr int kSplitNone = 0;
constexpr int kSplitUnderArcs = 1;

bool IsSet(double v) { return v != kNoValue; }

// A crossing found on a segment lies within this of the segment's x range (the crossing tests'
// tolerances are far smaller).
constexpr double kCrossingReach = 1e-3;

// Appends the x of the point when the surface, at the height y there, lies under it (at the same
// height or lower).
void AddIfOnOrAbove(double y, const CDPoint& p, std::vector<double>& xs) {
  if (y != kNoValue && y <= p.y) xs.push_back(p.x);
}

// The same with the surface's height looked up. A point beyond the surface's span would be
// dropped with the outer points: its height is not looked up.
void AddIfOnOrAbove(const CSliceList::SurfaceHeights& heights, const CSliceList::Span& span,
                    const CDPoint& p, std::vector<double>& xs) {
  if (span.Holds(p.x)) AddIfOnOrAbove(heights.At(p.x), p, xs);
}

// The span widened by the reach of a crossing: a segment whose box lies apart from it gives no
// crossing within the span. Its bounds are found once for the many segments a division tests.
class CrossingWindow {
 public:
  explicit CrossingWindow(const CSliceList::Span& span)
      : left_(span.left - kCrossingReach),
        right_(span.right + kCrossingReach),
        bottom_(span.bottom - kCrossingReach),
        top_(span.top + kCrossingReach) {}
  // No crossing on the segment of the box can lie in the span's x range.
  bool Misses(const CSliceList::SegmentBox& box) const {
    return box.right < left_ || box.left > right_;
  }
  // The segment of the box lies wholly above or below the surface: it cannot cross it.
  bool MissesSurface(const CSliceList::SegmentBox& box) const {
    return box.top < bottom_ || box.bottom > top_;
  }

 private:
  double left_;
  double right_;
  double bottom_;
  double top_;
};

// Appends the x of the crossings of the segment (edge, of that box) with the surface, as
// GetCrossX finds them; a segment wholly above or below the surface has none.
void AddSurfaceCrossings(const CrossingWindow& window, const CSpSlideWork::CrossingTable& crossings,
                         const CSliceList::SegmentBox& box, const CDArc::Edge& edge,
                         std::vector<double>& xs) {
  if (!window.MissesSurface(box)) crossings.AppendCrossXs(edge, kCrossingReach, xs);
}

// A water line takes part with each vertex on or above the surface and each crossing with it;
// segments are the line's.
void AddWaterLine(const CSliceList::SurfaceHeights& heights,
                  const CSpSlideWork::CrossingTable& crossings, const CSliceList::Span& span,
                  const CDPoly& line, std::span<const CSliceList::BoxedSegment> segments,
                  std::vector<double>& xs) {
  for (const auto& vertex : line.Points()) AddIfOnOrAbove(heights, span, *vertex, xs);
  const CrossingWindow window(span);
  for (const CSliceList::BoxedSegment& segment : segments) {
    if (!window.Misses(segment.box)) {
      AddSurfaceCrossings(window, crossings, segment.box, segment.edge, xs);
    }
  }
}

// The lowest of the heights; not a number when one is not, as no comparison with it holds.
double LowestOf(const std::vector<double>& heights) {
  double lowest = std::numeric_limits<double>::infinity();
  for (const double y : heights) {
    if (std::isnan(y)) return y;
    lowest = std::min(lowest, y);
  }
  return lowest;
}

void AddVertexXs(const CDPoly& line, std::vector<double>& xs) {
  for (const auto& vertex : line.Points()) xs.push_back(vertex->x);
}

// The vertices and the edges (vertex i to i + 1) of the shapes, which size the storage of what is
// taken from them.
struct ShapeCounts {
  std::size_t vertices = 0;
  std::size_t edges = 0;
};

ShapeCounts CountsOf(const CDPolyArray& shapes) {
  ShapeCounts counts;
  for (int s = 0; s < shapes.GetSize(); ++s) {
    const std::size_t size = shapes.GetAt(s)->Points().size();
    counts.vertices += size;
    counts.edges += size == 0 ? 0 : size - 1;
  }
  return counts;
}

}  // namespace

bool CSliceList::Span::Holds(double x) const { return !(x < left || x > right); }

CSliceList::SegmentBox CSliceList::SegmentBox::Of(const CDPoint& a, const CDPoint& b) {
  return {std::min(a.x, b.x), std::max(a.x, b.x), std::min(a.y, b.y), std::max(a.y, b.y)};
}

void CSliceList::Init() {
  section_ = nullptr;
  work_.reset();
  direction_ = false;
  fitToGround_ = true;
  total_.Init();
}

// ---- Division points ----

CSliceList::WaterShapes CSliceList::GetWaterShapes(const CSpWaterGroup* group) const {
  WaterShapes shapes;
  if (group == nullptr) {
    shapes.water = section_ == nullptr ? nullptr : section_->GetWater();
    return shapes;
  }
  shapes.water = &group->GetWater();
  if (group->GetUpperOn() != 0 && group->GetUpper().GetSize() >= 2 &&
      group->GetImpermeable().GetSize() >= 2) {
    shapes.upper = &group->GetUpper();
    shapes.layer = &group->GetImpermeable();
  }
  return shapes;
}

int CSliceList::SetXArray(const CDPolyArray* strata, const CSpWaterGroup* water,
                          const CSpSlideWork& surface) {
  TakeSurfaceEnds(surface);
  return DivisionPoints(strata, water, surface);
}

void CSliceList::TakeSurfaceEnds(const CSpSlideWork& surface) {
  surface.GetArcEnds(arcEnds_);
  verticals_.Take(surface, arcEnds_);
  surface.GetSlipLineVertices(slipLine_, verticals_);
  crossings_.Take(surface, arcEnds_, verticals_);
}

int CSliceList::DivisionPoints(const CDPolyArray* strata, const CSpWaterGroup* water,
                               const CSpSlideWork& surface) {
  InitXArray();
  const CSpGround* ground = section_ == nullptr ? nullptr : section_->GetGround();
  if (ground == nullptr) return 0;
  const WaterShapes lines = GetWaterShapes(water);
  // CreateSlice's direction too: it divides its own surface.
  direction_ = surface.IsRightUpper(arcEnds_);

  const CSpSlideWork::Extremes extremes = surface.GetExtremes(arcEnds_);
  const Span span{extremes.left.x, extremes.right.x, extremes.bottom.y, extremes.top.y};
  knownHeights_.clear();
  const SurfaceHeights heights{surface, verticals_, knownHeights_};

  if (lines.upper != nullptr) {
    upperSegments_.Take(*lines.upper);
    layerSegments_.Take(*lines.layer);
  }
  if (lines.water != nullptr) waterSegments_.Take(*lines.water);
  AddStrataXs(strata != nullptr ? strata : ground->GetPolyArray(), lines, heights, span);
  if (lines.upper != nullptr) {
    AddWaterLine(heights, crossings_, span, *lines.upper, upperSegments_.Segments(), xs_);
    AddWaterLine(heights, crossings_, span, *lines.layer, layerSegments_.Segments(), xs_);
  }
  if (lines.water != nullptr) {
    AddWaterLine(heights, crossings_, span, *lines.water, waterSegments_.Segments(), xs_);
  }
  for (const CSpSlideWork::SlipLineVertex& vertex : slipLine_) xs_.push_back(vertex.point.x);
  AddVertexXs(surface, xs_);
  AddLoadXs();

  RemoveOuter(span.left, span.right);
  SortXArray();
  RemoveSameX();
  InsertRegDist(section_->GetSliceSplitMode(), section_->GetSliceMaxWidth(), surface);
  return GetXSize();
}

void CSliceList::AddStrataXs(const CDPolyArray* strata, const WaterShapes& lines,
                             const SurfaceHeights& heights, const Span& span) {
  if (strata == nullptr) return;
  TakeStrata(*strata);
  const CSpSlideWork& surface = heights.surface;
  // The division points are sorted and thinned afterwards: where and in what order the strata
  // give them does not matter, nor whether a point shared by neighbouring strata comes twice.
  // The heights are asked first here, at ascending x.
  for (const CDPoint& vertex : strataTable_.OrderedVerticesWithin(span.left, span.right)) {
    AddIfOnOrAbove(heights.AtAscending(vertex.x), vertex, xs_);
  }
  for (const CDPoint& vertex : strataTable_.UnorderedVertices()) {
    AddIfOnOrAbove(heights, span, vertex, xs_);
  }
  const CrossingWindow window(span);
  for (const StrataTable::Edge& edge : strataTable_.Edges()) {
    // Every crossing lies on the edge: one beyond the span would be dropped.
    if (window.Misses(edge.box)) continue;
    const CDArc::Edge& segment = edge.segment;
    AddSurfaceCrossings(window, crossings_, edge.box, segment, xs_);
    if (lines.upper != nullptr) {
      lines.upper->GetCrossX(&segment.a, &segment.b, xs_, nullptr, &surface);
      lines.layer->GetCrossX(&segment.a, &segment.b, xs_, nullptr, &surface);
    }
  }
  if (lines.water != nullptr) {
    waterCrossings_.Update(*strata, strataTakings_, *lines.water, waterSegments_.Takings());
    const std::span<const double> crossings = waterCrossings_.Within(span.left, span.right);
    xs_.insert(xs_.end(), crossings.begin(), crossings.end());
  }
}

void CSliceList::LineSegments::Take(const CDPoly& line) {
  const bool sameLine = line_ == &line;
  line_ = &line;
  if (vertices_.Unchanged(nullptr, &line) && sameLine) return;
  ++takings_;
  segments_.clear();
  const CDPoly::PointList& points = line.Points();
  for (std::size_t i = 0; i + 1 < points.size(); ++i) {
    const CDPoint& a = *points[i];
    const CDPoint& b = *points[i + 1];
    segments_.push_back(BoxedSegment{SegmentBox::Of(a, b), CDArc::Edge(a, b)});
  }
}

void CSliceList::EdgeCrossings::Update(const CDPolyArray& strata, std::uint64_t strataTaking,
                                       const CDPoly& line, std::uint64_t lineTaking) {
  if (strataTaking_ == strataTaking && lineTaking_ == lineTaking) return;
  strataTaking_ = strataTaking;
  lineTaking_ = lineTaking;
  xs_.clear();
  for (int s = 0; s < strata.GetSize(); ++s) {
    const CDPoly& shape = *strata.GetAt(s);
    for (int i = 0; i + 1 < shape.GetSize(); ++i) {
      line.GetCrossX(shape.GetAt(i), shape.GetAt(i + 1), xs_, nullptr, nullptr);
    }
  }
  // A crossing lies on both segments: it has an x, which orders it.
  std::sort(xs_.begin(), xs_.end());
}

std::span<const double> CSliceList::EdgeCrossings::Within(double left, double right) const {
  const auto first = std::lower_bound(xs_.begin(), xs_.end(), left);
  const auto last = std::upper_bound(first, xs_.end(), right);
  return {first, last};
}

bool CSliceList::VertexSnapshot::Unchanged(const CDPolyArray* strata, const CDPoly* line) {
  if (SameVertices(strata, line)) return true;
  vertices_.clear();
  shapeSizes_.clear();
  const std::size_t lineVertices = line == nullptr ? 0 : line->Points().size();
  vertices_.reserve((strata == nullptr ? 0 : strata->PointCount()) + lineVertices);
  shapeSizes_.reserve(static_cast<std::size_t>(ShapeCount(strata)));
  for (int s = 0; s < ShapeCount(strata); ++s) {
    const CDPoly::PointList& points = strata->GetAt(s)->Points();
    shapeSizes_.push_back(points.size());
    for (const auto& point : points) vertices_.push_back(*point);
  }
  if (line != nullptr) {
    for (const auto& point : line->Points()) vertices_.push_back(*point);
  }
  return false;
}

int CSliceList::VertexSnapshot::ShapeCount(const CDPolyArray* strata) {
  return strata == nullptr ? 0 : strata->GetSize();
}

bool CSliceList::VertexSnapshot::SameVertices(const CDPolyArray* strata, const CDPoly* line) const {
  if (shapeSizes_.size() != static_cast<std::size_t>(ShapeCount(strata))) return false;
  // Coordinates compared by their bits: what was found for 0 need not be what -0 gives. Both
  // pairs are told apart in one test, which every kept vertex passes.
  const auto bits = [](double v) { return std::bit_cast<std::uint64_t>(v); };
  const auto sameBits = [&bits](const CDPoint& kept, const CDPoint& point) {
    return ((bits(kept.x) ^ bits(point.x)) | (bits(kept.y) ^ bits(point.y))) == 0;
  };
  const CDPoint* kept = vertices_.data();
  const CDPoint* const keptEnd = kept + vertices_.size();
  const auto matches = [&](const CDPoly::PointList& points) {
    if (static_cast<std::size_t>(keptEnd - kept) < points.size()) return false;
    for (const auto& point : points) {
      if (!sameBits(*kept, *point)) return false;
      ++kept;
    }
    return true;
  };
  for (int s = 0; s < ShapeCount(strata); ++s) {
    const CDPoly::PointList& points = strata->GetAt(s)->Points();
    if (shapeSizes_[static_cast<std::size_t>(s)] != points.size() || !matches(points)) return false;
  }
  return (line == nullptr || matches(line->Points())) && kept == keptEnd;
}

void CSliceList::AddLoadXs() {
  const CDPolyArray* loads = section_->GetAryLoad();
  for (int i = 0; loads != nullptr && i < loads->GetSize(); ++i) {
    const auto* load = dynamic_cast<const CSpLoad*>(loads->GetAt(i));
    if (load == nullptr || !load->IsDist()) continue;
    xs_.push_back(load->GetX1());
    xs_.push_back(load->GetX2());
  }
}

void CSliceList::SortXArray() { std::sort(xs_.begin(), xs_.end()); }

void CSliceList::RemoveSameX() {
  // Kept in place: each x is compared with the last one kept, which lies before it.
  std::size_t kept = 0;
  for (const double x : xs_) {
    if (kept == 0 || !(x - xs_[kept - 1] < kSameX)) xs_[kept++] = x;
  }
  xs_.resize(kept);
}

void CSliceList::RemoveOuter(double x1, double x2) {
  std::erase_if(xs_, [x1, x2](double x) { return x < x1 || x > x2; });
}

void CSliceList::InsertRegDist(int mode, double width, const CSpSlideWork& surface) {
  // A stored condition may hold no width or a width of 0: nothing can be split by it.
  if (mode == kSplitNone || !(width > 0)) return;
  std::vector<double>& added = splits_;
  added.clear();
  for (std::size_t i = 0; i + 1 < xs_.size(); ++i) {
    const double a = xs_[i];
    const double b = xs_[i + 1];
    if (mode == kSplitUnderArcs && surface.GetArc((a + b) / 2) == nullptr) continue;
    if (!(b - a > width)) continue;
    for (std::int64_t k = 1;; ++k) {
      const double x = a + static_cast<double>(k) * width;
      if (!(x < b - kSameX)) break;
      added.push_back(x);
    }
  }
  // The splits of each gap lie within it, in order: merged with the points, all stay sorted.
  merged_.resize(xs_.size() + added.size());
  std::merge(xs_.begin(), xs_.end(), added.begin(), added.end(), merged_.begin());
  xs_.swap(merged_);
}

double CSliceList::GetX(int i) const {
  if (i < 0 || i >= GetXSize()) return kNoValue;
  return xs_[static_cast<std::size_t>(i)];
}

bool CSliceList::CorrectSlideObj(const CSpSlideWork& work, const CSpGround& ground,
                                 CDPolyArray* pieces) const {
  if (!fitToGround_) return true;
  return work.CorrectSlideObj(&ground, pieces, false) > 0;
}

void CSliceList::TakeSurface(const CSpSlideWork& chosen, const CSpGround& ground, bool fit) {
  if (work_ == nullptr) work_ = std::make_unique<CSpSlideWork>();
  const bool fitted = fit && fitToGround_ && chosen.FitFirstPieceInto(&ground, *work_);
  if (!fitted) work_->AssignSlideWork(chosen);
}

// ---- Slices ----

void CSliceList::DeleteSliceArray() {
  slices_.clear();
  xs_.clear();
}

CSlice& CSliceList::SliceStore::AddNew() {
  slots_.push_back(std::make_unique<CSlice>());
  CSlice& slice = *slots_[size_++];
  slice.ReserveDEVY(boundaryRoom_);
  return slice;
}

void CSliceList::SliceStore::Reserve(std::size_t slices, std::size_t boundaries) {
  slots_.reserve(slices);
  boundaryRoom_ = boundaries;
  for (const Slot& slice : slots_) slice->ReserveDEVY(boundaries);
}

void CSliceList::SliceStore::push_back(Slot slice) {
  slots_.push_back(std::move(slice));
  slots_[size_++].swap(slots_.back());
}

template <class Keep>
void CSliceList::SliceStore::KeepIf(Keep keep) {
  // The slices before the first one dropped stay where they are.
  std::size_t kept = 0;
  while (kept < size_ && keep(*slots_[kept])) ++kept;
  for (std::size_t i = kept + 1; i < size_; ++i) {
    if (keep(*slots_[i])) slots_[kept++].swap(slots_[i]);
  }
  size_ = kept;
}

void CSliceList::Reserve(const CDanmenStab& section) {
  const CSpGround* ground = section.GetGround();
  const CDPolyArray* strata = ground == nullptr ? nullptr : ground->GetPolyArray();
  if (strata == nullptr || ground->GetSize() < 2) return;
  const ShapeCounts counts = CountsOf(*strata);
  // The splits of the ground's width by the slice width, bounded before they become a count.
  const double width = section.GetSliceMaxWidth();
  const double splits = width > 0 ? (ground->Right().x - ground->Left().x) / width + 1 : 0;
  const std::size_t splitCount =
      splits > 0 ? static_cast<std::size_t>(std::min(splits, double{kMostReservedSlices})) : 0;
  const std::size_t slices = std::min(counts.edges + splitCount, kMostReservedSlices);
  // Besides the strata's boundaries a slice has its base and up to three water levels, one of
  // which may add a horizontal boundary.
  constexpr std::size_t kBaseAndWater = 5;
  slices_.Reserve(slices, 2 * static_cast<std::size_t>(strata->GetSize()) + kBaseAndWater);
  // A circle crosses an edge twice at most; a few more points come from the surface's own
  // vertices and the loads.
  constexpr std::size_t kSurfacePoints = 8;
  const std::size_t points = slices + counts.vertices + 2 * counts.edges + kSurfacePoints;
  for (std::vector<double>* ys :
       {&xs_, &merged_, &surfaceYs_, &midYs_, &splits_, &waterYs_.ys, &upperYs_.ys, &layerYs_.ys}) {
    ys->reserve(points);
  }
  knownHeights_.reserve(points);
}

const CSpSlideWork* CSliceList::ChooseSurface(const CSpSlideWork* given) const {
  if (given != nullptr) return given;
  if (section_ == nullptr) return nullptr;
  const CSpSlideWork* repeat = section_->GetSlideWorkRepeat();
  if (repeat != nullptr && repeat->GetSize() >= 2) return repeat;
  return section_->GetSlideWork();
}

int CSliceList::CreateSlice(CDPolyArray* strata, const CSpWaterGroup* water,
                            const CSpSlideWork* surface) {
  DeleteSliceArray();
  const CSpGround* ground = section_ == nullptr ? nullptr : section_->GetGround();
  if (ground == nullptr || ground->GetSize() < 2) return 0;
  const CSpSlideWork* chosen = ChooseSurface(surface);
  if (chosen == nullptr || chosen->GetSize() < 2) return 0;

  TakeSurface(*chosen, *ground, strata == nullptr);

  CDPolyArray* layers = strata != nullptr ? strata : ground->GetPolyArray();
  TakeSurfaceEnds(*work_);
  if (DivisionPoints(layers, water, *work_) < 2) {
    xs_.clear();
    return 0;
  }
  const WaterShapes lines = GetWaterShapes(water);
  // Neighbouring slices share a side: the surface's height there is found once, and at the
  // division points that are tested vertices not again.
  const SurfaceHeights heights{*work_, verticals_, knownHeights_};
  surfaceYs_.clear();
  heights.AtEach(xs_, surfaceYs_);
  // Neighbouring slices share a side: a water line's height there is found once too.
  waterYs_.Take(lines.water, xs_);
  upperYs_.Take(lines.upper, xs_);
  layerYs_.Take(lines.layer, xs_);
  SharedSide side;
  midYs_.clear();
  for (std::size_t i = 0; i + 1 < xs_.size(); ++i) {
    StartSlice(xs_[i], xs_[i + 1], side);
  }
  AddStrataBoundaries(layers);
  for (std::size_t i = 0; i < slices_.size(); ++i) FinishSlice(*slices_[i], i, lines);
  KeepSlicesWithLayers();
  xs_.clear();

  double c = kNoValue;
  double phi = kNoValue;
  for (const auto& slice : slices_) {
    TakeStrength(*slice, c, phi);
    slice->SetCF(c, phi);
    if (layers != nullptr) {
      slice->SetHang(*layers, strataOutlines_);
    } else {
      slice->SetHang(nullptr);
    }
  }
  return GetSize();
}

void CSliceList::TakeStrata(const CDPolyArray& strata) {
  if (strataSnapshot_.Unchanged(&strata, nullptr)) return;
  ++strataTakings_;
  strataOutlines_.Take(strata);
  strataTable_.Take(strata);
}

void CSliceList::StrataTable::Take(const CDPolyArray& strata) {
  orderedVertices_.clear();
  unorderedVertices_.clear();
  edges_.clear();
  edgeStarts_.assign(1, 0);
  const ShapeCounts counts = CountsOf(strata);
  orderedVertices_.reserve(counts.vertices);
  edges_.reserve(counts.edges);
  edgeStarts_.reserve(static_cast<std::size_t>(strata.GetSize()) + 1);
  for (int s = 0; s < strata.GetSize(); ++s) {
    const CDPoly::PointList& points = strata.GetAt(s)->Points();
    for (std::size_t i = 0; i < points.size(); ++i) {
      const CDPoint& vertex = *points[i];
      (std::isnan(vertex.x) ? unorderedVertices_ : orderedVertices_).push_back(vertex);
      if (i == 0) continue;
      const CDPoly::EdgeRange range(*points[i - 1], vertex);
      edges_.push_back(Edge{range, range.EntryCeiling(), CDArc::Edge(*points[i - 1], vertex),
                            SegmentBox::Of(*points[i - 1], vertex), kUnshared, false});
    }
    edgeStarts_.push_back(edges_.size());
  }
  FindSharedRanges();
  // Ordered by x, then by the coordinates' bits, so that vertices of the same bits meet.
  const auto bits = [](const CDPoint& p) {
    return std::pair(std::bit_cast<std::uint64_t>(p.x), std::bit_cast<std::uint64_t>(p.y));
  };
  std::sort(orderedVertices_.begin(), orderedVertices_.end(),
            [&bits](const CDPoint& a, const CDPoint& b) {
              return a.x < b.x || (!(b.x < a.x) && bits(a) < bits(b));
            });
  const auto last =
      std::unique(orderedVertices_.begin(), orderedVertices_.end(),
                  [&bits](const CDPoint& a, const CDPoint& b) { return bits(a) == bits(b); });
  orderedVertices_.erase(last, orderedVertices_.end());
}

void CSliceList::StrataTable::FindSharedRanges() {
  const auto ends = [this](std::size_t e) {
    const CDPoly::EdgeRange& range = edges_[e].range;
    return std::array{
        std::bit_cast<std::uint64_t>(range.left.x), std::bit_cast<std::uint64_t>(range.left.y),
        std::bit_cast<std::uint64_t>(range.right.x), std::bit_cast<std::uint64_t>(range.right.y)};
  };
  // By their ends' bits, then in their order: each range's edges in a row, the first one first.
  byRange_.resize(edges_.size());
  std::iota(byRange_.begin(), byRange_.end(), std::size_t{0});
  std::sort(byRange_.begin(), byRange_.end(), [&ends](std::size_t a, std::size_t b) {
    return std::pair(ends(a), a) < std::pair(ends(b), b);
  });
  sharedRanges_ = 0;
  for (std::size_t k = 0; k < byRange_.size();) {
    std::size_t next = k + 1;
    while (next < byRange_.size() && ends(byRange_[next]) == ends(byRange_[k])) ++next;
    if (next - k > 1) {
      for (std::size_t j = k; j < next; ++j) {
        Edge& edge = edges_[byRange_[j]];
        edge.shared = sharedRanges_;
        edge.repeats = j > k;
      }
      ++sharedRanges_;
    }
    k = next;
  }
}

std::span<const CDPoint> CSliceList::StrataTable::OrderedVerticesWithin(double left,
                                                                        double right) const {
  const auto byX = [](const CDPoint& vertex, double x) { return vertex.x < x; };
  const auto first = std::lower_bound(orderedVertices_.begin(), orderedVertices_.end(), left, byX);
  auto last = first;
  while (last != orderedVertices_.end() && !(last->x > right)) ++last;
  return {first, last};
}

std::span<const CSliceList::StrataTable::Edge> CSliceList::StrataTable::Edges(std::size_t s) const {
  return std::span<const Edge>(edges_).subspan(edgeStarts_[s], edgeStarts_[s + 1] - edgeStarts_[s]);
}

// Inline in CreateSlice: every slice runs it.
[[gnu::always_inline]] inline void CSliceList::StartSlice(double x1, double x2, SharedSide& side) {
  CSlice& slice = slices_.AddCleared();
  slice.SetX(x1, x2);
  slice.SetDanmenStab(section_);
  const double mid = (x1 + x2) / 2;
  const CSpSlideWork::Vertical atMid = verticals_.At(mid);
  const double yMid = atMid.y;
  if (atMid.arc != nullptr) TrimBottomArc(slice, *atMid.arc, x1, x2, side);
  slice.SetStrengthType(verticals_.StrengthOfPosition(atMid, mid, yMid, slipLine_));
  midYs_.push_back(yMid);
}

void CSliceList::AddStrataBoundaries(const CDPolyArray* strata) {
  // An edge gives a slice an entry only where the entry's mean lies at or above the surface's
  // height at the slice's middle: an edge wholly below the lowest of those gives none.
  const double lowest = LowestOf(midYs_);
  // The reach of all the cuts, found once: EdgeRange::MissesCuts for each edge.
  const dpoly_cuts::CutReach reach(xs_.front(), xs_.back());
  sharedEntries_.clear();
  sharedRuns_.resize(strataTable_.SharedRanges());
  for (int s = 0; strata != nullptr && s < strata->GetSize(); ++s) {
    const CDPoly& stratum = *strata->GetAt(s);
    for (const StrataTable::Edge& edge : strataTable_.Edges(static_cast<std::size_t>(s))) {
      // Edges of one range all pass or all fail this test: a repeating edge finds its range's
      // entries of this division.
      if (reach.Misses(edge.range.left.x, edge.range.right.x) || edge.ceiling < lowest) continue;
      if (edge.repeats) {
        RepeatSharedEntries(sharedRuns_[edge.shared], stratum);
        continue;
      }
      const bool shared = edge.shared != StrataTable::kUnshared;
      const std::size_t first = sharedEntries_.size();
      // Slice i spans xs_[i] to xs_[i + 1].
      stratum.GetDEVYOfEdgeCuts(edge.range, xs_, midYs_,
                                [this, shared](std::size_t cut, const tagDEVY& record) {
                                  slices_[cut]->AddDEVY(record);
                                  if (shared) {
                                    sharedEntries_.push_back({cut, record.leftY, record.rightY});
                                  }
                                });
      if (shared) sharedRuns_[edge.shared] = {first, sharedEntries_.size()};
    }
  }
}

// Inline in AddStrataBoundaries: every repeating edge runs it.
[[gnu::always_inline]] inline void CSliceList::RepeatSharedEntries(
    std::pair<std::size_t, std::size_t> run, const CDPoly& stratum) {
  for (std::size_t k = run.first; k < run.second; ++k) {
    const SharedEntry& entry = sharedEntries_[k];
    slices_[entry.cut]->AddDEVY(tagDEVY{entry.leftY, entry.rightY, &stratum, 0});
  }
}

// Inline in CreateSlice: every slice runs it.
[[gnu::always_inline]] inline void CSliceList::FinishSlice(CSlice& slice, std::size_t i,
                                                           const WaterShapes& water) {
  slice.SortDEVY();
  slice.DelSameDEVY();
  slice.AddDEVY(tagDEVY{surfaceYs_[i], surfaceYs_[i + 1], work_.get(), 0});
  if (water.upper != nullptr) {
    slice.SetUpperWaterLevel(upperYs_.Level(i));
    slice.SetImperLayerLevel(layerYs_.Level(i));
  }
  if (water.water != nullptr) slice.SetWaterLevel(waterYs_.Level(i));
}

void CSliceList::KeepSlicesWithLayers() {
  slices_.KeepIf([](const CSlice& slice) { return slice.GetDEVYCount() > 1; });
}

void CSliceList::LineHeights::Take(const CDPoly* shape, const std::vector<double>& xs) {
  line = shape;
  ys.clear();
  if (shape == nullptr) return;
  shape->GetYs(xs, ys);
}

tagDEVY CSliceList::LineHeights::Level(std::size_t i) const {
  const double left = ys[i];
  const double right = ys[i + 1];
  if (slice_soil::IsUnset(left) || slice_soil::IsUnset(right)) return tagDEVY{};
  return tagDEVY{left, right, line, 0};
}

// Inline in StartSlice: every slice on an arc runs it.
[[gnu::always_inline]] inline void CSliceList::TrimBottomArc(CSlice& slice, const CDArc& arc,
                                                             double x1, double x2,
                                                             SharedSide& side) {
  if (!arc.SpansX(x1) || !arc.SpansX(x2)) return;
  // Neighbouring slices on one arc share the point of their common side, and all the slices on
  // it the terms of its circle: each found once. The slice starts at the side's point, which
  // then moves on to the slice's end.
  const bool sameArc = side.arc == &arc;
  if (!sameArc || side.x != x1) side.end = arc.LowerPointAt(x1);
  const CDArc::LowerPiece piece = arc.LowerPieceTo(side.end, x2);
  if (!sameArc) side.terms = arc.GetVerticalTerms();
  side.arc = &arc;
  side.x = x2;
  slice.SetBottomArc(arc, side.end, piece, side.terms);
  side.end = piece.end;
}

void CSliceList::TakeStrength(const CSlice& slice, double& c, double& phi) {
  const CSpStratumBlock* block = slice.SearchDevyStratum(slice.GetDEVYCount() - 2);
  if (block == nullptr) {
    c = phi = kNoValue;
    return;
  }
  const tagSATURATE& soil = *block->GetPropStructure();
  if (slice.GetStrengthType() == kStrengthStratum) {
    c = soil.c;
    phi = soil.phi;
  } else if (slice.GetStrengthType() == kStrengthStratumPhi) {
    c = 0;
    phi = soil.phi;
  }
}

bool CSliceList::GetCF(int i, double& c, double& phi) const {
  const CSlice* slice = GetSlicePtr(i);
  return slice != nullptr && slice->GetCF(c, phi);
}

bool CSliceList::IsValidCFai() const {
  bool known = false;
  for (const auto& slice : slices_) {
    if (slice->SearchDevyStratum(slice->GetDEVYCount() - 2) == nullptr) return false;
    const int type = slice->GetStrengthType();
    known = known || type == kStrengthStratum || type == kStrengthStratumPhi;
    if (!known) return false;
  }
  return true;
}

void CSliceList::CalcKaju() {
  for (const auto& slice : slices_) slice->CalcKajuSeibun(direction_);
}

bool CSliceList::IsKajuExist(int k) const {
  const int first = k == 1 ? tagRESULTSLICE::kLoadQuake : tagRESULTSLICE::kLoadNormal;
  for (const auto& slice : slices_) {
    for (int i = first; i < first + tagRESULTSLICE::kLoadComponents; ++i) {
      const double v = slice->GetResult()[i];
      if (IsSet(v) && v != 0) return true;
    }
  }
  return false;
}

// ---- Extents ----

void CSliceList::GetRect(double& xmin, double& ymax, double& xmax, double& ymin) const {
  xmin = ymax = xmax = ymin = 0;
  if (slices_.empty()) return;
  xmin = xmax = slices_.front()->GetXLeft();
  ymax = ymin = slices_.front()->GetLeftTopY();
  bool first = true;
  for (const auto& s : slices_) {
    const double top = std::max(s->GetLeftTopY(), s->GetRightTopY());
    const double bottom = std::min(s->GetLeftBottomY(), s->GetRightBottomY());
    xmin = first ? s->GetXLeft() : std::min(xmin, s->GetXLeft());
    xmax = first ? s->GetXRight() : std::max(xmax, s->GetXRight());
    ymax = first ? top : std::max(ymax, top);
    ymin = first ? bottom : std::min(ymin, bottom);
    first = false;
  }
}

double CSliceList::GetTotalWidth() const {
  if (slices_.empty()) return 0;
  return slices_.back()->GetXRight() - slices_.front()->GetXLeft();
}

double CSliceList::GetTotalHight() const {
  double xmin = 0;
  double ymax = 0;
  double xmax = 0;
  double ymin = 0;
  GetRect(xmin, ymax, xmax, ymin);
  return ymax - ymin;
}

double CSliceList::GetTotalBottom() const {
  if (slices_.empty()) return kAreaNotSet;
  double xmin = 0;
  double ymax = 0;
  double xmax = 0;
  double ymin = 0;
  GetRect(xmin, ymax, xmax, ymin);
  return ymin;
}

double CSliceList::GetH(bool max) const {
  if (max) {
    double highest = 0;
    for (const auto& s : slices_) {
      highest = std::max({highest, s->GetLeftTopY() - s->GetLeftBottomY(),
                          s->GetRightTopY() - s->GetRightBottomY()});
    }
    return highest;
  }
  double area = 0;
  double width = 0;
  for (const auto& s : slices_) {
    area += s->GetArea(-1);
    width += s->GetWidth();
  }
  return width == 0 ? 0.0 : area / width;
}

// ---- Totals ----

double CSliceList::GetTotalNNe() const {
  const double ns = total_[tagRESULTSLICE::kNs];
  const double ne = total_[tagRESULTSLICE::kNe];
  return IsSet(ns) && IsSet(ne) ? ns - ne : kNoValue;
}

double CSliceList::GetTotalTTe() const {
  const double ts = total_[tagRESULTSLICE::kTs];
  const double te = total_[tagRESULTSLICE::kTe];
  return IsSet(ts) && IsSet(te) ? ts + te : kNoValue;
}

double CSliceList::GetTotalS(int k) const { return total_.GetS(k); }

double CSliceList::GetTotalT(int k) const {
  if (k != 1) return total_[tagRESULTSLICE::kT];
  return total_[tagRESULTSLICE::kTe] + total_[tagRESULTSLICE::kTs];
}

double CSliceList::GetTotalN(int k) const {
  if (k != 1) return total_[tagRESULTSLICE::kN];
  return total_[tagRESULTSLICE::kNs] - total_[tagRESULTSLICE::kNe];
}

double CSliceList::GetPrintN(int k) const {
  return k == 1 ? GetTotalNNe() : total_[tagRESULTSLICE::kN];
}

double CSliceList::GetPrintNU(int k) const {
  const double n = GetPrintN(k);
  return n == kNoValue ? kNoValue : n - total_[tagRESULTSLICE::kU];
}

// ---- Intervals ----

bool CSliceList::IsSameGroup(int i, int j) const {
  const CSlice* a = GetSlicePtr(i);
  const CSlice* b = GetSlicePtr(j);
  if (a == nullptr || b == nullptr || a->GetStrengthType() != b->GetStrengthType()) return false;
  const CDArc* arcA = a->GetBottomArc();
  const CDArc* arcB = b->GetBottomArc();
  if ((arcA == nullptr) != (arcB == nullptr)) return false;
  if (arcA != nullptr && !(arcA->centre == arcB->centre && arcA->R == arcB->R)) return false;
  double cA = kNoValue;
  double phiA = kNoValue;
  double cB = kNoValue;
  double phiB = kNoValue;
  a->GetCF(cA, phiA);
  b->GetCF(cB, phiB);
  if (cA != cB || phiA != phiB) return false;
  return work_ != nullptr &&
         work_->GetPointIndex(a->GetMidX()) == work_->GetPointIndex(b->GetMidX());
}

bool CSliceList::IsGroupHead(int i) const { return i == 0 || !IsSameGroup(i - 1, i); }

int CSliceList::GetKukanSize() const {
  int heads = 0;
  for (int i = 0; i < GetSize(); ++i) heads += IsGroupHead(i) ? 1 : 0;
  return heads;
}

bool CSliceList::GetKukanInfo(int n, int& first, int& last, CDPoint& start, CDPoint& end,
                              int& isArc, CDArc& arc) const {
  int run = -1;
  for (int i = 0; i < GetSize(); ++i) {
    if (IsGroupHead(i)) ++run;
    if (run != n) continue;
    first = i;
    last = i;
    while (last + 1 < GetSize() && !IsGroupHead(last + 1)) ++last;
    const CSlice& head = *GetSlicePtr(first);
    const CSlice& tail = *GetSlicePtr(last);
    start = CDPoint(head.GetXLeft(), head.GetLeftBottomY());
    end = CDPoint(tail.GetXRight(), tail.GetRightBottomY());
    const CDArc* headArc = head.GetBottomArc();
    const CDArc* tailArc = tail.GetBottomArc();
    isArc = headArc != nullptr ? 1 : 0;
    if (headArc != nullptr) {
      arc.SetParam(headArc->centre, headArc->R, headArc->start,
                   tailArc != nullptr ? tailArc->end : headArc->end);
    }
    return true;
  }
  return false;
}
