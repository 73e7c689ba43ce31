// The polyline paths that the block and circle calculations call most: the height of a line at
// x, the crossings of a vertical with the stratum polygons, cutting the strata along the slide
// surface, building the working slide surface and asking the slide line for heights and
// crossings, over a realistic section whose ground has 8, 32 or 128 vertices.
//
// The shapes hold their vertices as shared objects (std::shared_ptr<CDPoint>). To see what that
// layout costs, the height and crossing walks also run here, with the same algorithm, over the
// same points stored by value (std::vector<CDPoint>), and a vertex list is made and dropped both
// ways. The cutting and building paths report their allocations per call ("allocs") and those
// of the size of a shared vertex ("vertex_allocs", an upper estimate of what values would save:
// other objects of that size count too).

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <numeric>
#include <random>
#include <vector>

#include "bench/AllocationCount.h"
#include "core/geometry/DArc.h"
#include "core/geometry/DPoint.h"
#include "core/geometry/DPoly.h"
#include "core/geometry/DPolyArray.h"
#include "core/section/SpGround.h"
#include "core/section/SpSlide.h"
#include "core/section/SpSlideWork.h"
#include "core/section/SpStratum.h"

namespace {

// ---- Allocation count ----

// The size of the one block that std::make_shared allocates for a vertex.
std::size_t SharedVertexSize() {
  static const std::size_t size = [] {
    const auto vertex = std::make_shared<CDPoint>();
    return ThreadAllocations().lastSize;
  }();
  return size;
}

// Counts the allocations from its construction to Report, per benchmark iteration.
class AllocationProbe {
 public:
  AllocationProbe() {
    ThreadAllocations().watchedSize = SharedVertexSize();
    start_ = ThreadAllocations();
  }
  ~AllocationProbe() { ThreadAllocations().watchedSize = 0; }
  AllocationProbe(const AllocationProbe&) = delete;
  AllocationProbe& operator=(const AllocationProbe&) = delete;

  void Report(benchmark::State& state) const {
    const AllocationCount& now = ThreadAllocations();
    const auto perCall = [&state](std::size_t count) {
      return static_cast<double>(count) / static_cast<double>(state.iterations());
    };
    state.counters["allocs"] = perCall(now.total - start_.total);
    state.counters["vertex_allocs"] = perCall(now.watched - start_.watched);
  }

 private:
  AllocationCount start_;
};

// ---- The section ----

constexpr double kWidth = 60.0;
constexpr double kBaseLevel = -15.0;

// Flat toe up to x = 10, a slope rising 20 m up to x = 45, flat crest; a small undulation keeps
// neighbouring segments from lying on one line.
double GroundHeight(double x) {
  return std::clamp((x - 10.0) / 35.0, 0.0, 1.0) * 20.0 + 0.25 * std::sin(0.7 * x);
}

std::vector<CDPoint> Profile(int vertices, double depth) {
  std::vector<CDPoint> points;
  for (int i = 0; i < vertices; ++i) {
    const double x = kWidth * i / (vertices - 1);
    points.emplace_back(x, GroundHeight(x) - depth);
  }
  return points;
}

template <class Shape>
std::unique_ptr<Shape> MakeLine(const std::vector<CDPoint>& points) {
  auto line = std::make_unique<Shape>();
  for (const CDPoint& p : points) line->Add(p);
  return line;
}

// The ground and two stratum boundaries 3 m and 7 m below it, assembled into stratum polygons
// down to the base level as the program does.
struct Section {
  std::unique_ptr<CSpGround> ground;
  std::unique_ptr<CDPolyArray> blocks;
};

Section MakeSection(int vertices) {
  Section section;
  section.ground = MakeLine<CSpGround>(Profile(vertices, 0.0));
  CDPolyArray input;
  input.Add(section.ground->Copy());
  input.Add(MakeLine<CSpStratumLine>(Profile(vertices, 3.0)));
  input.Add(MakeLine<CSpStratumLine>(Profile(vertices, 7.0)));
  section.blocks = input.CreatePolygon(kBaseLevel);
  return section;
}

// A circular slip from just above the crest (46, 21) through (27, 2) to just above the toe
// (9, 1), entered from the top down with the given (odd) number of vertices on the circle, every
// second one starting a three-point arc through it and the next two.
std::unique_ptr<CSpSlide> MakeSlide(int vertices) {
  const CDPoint top(46, 21);
  const CDPoint middle(27, 2);
  const CDPoint toe(9, 1);
  CDArc circle;
  circle.Set3P(&top, &middle, &toe);
  const CDPoint centre = circle.centre;
  const double radius = circle.R;
  const double from = std::atan2(top.y - centre.y, top.x - centre.x);
  const double to = std::atan2(toe.y - centre.y, toe.x - centre.x);
  constexpr int kArcStart = 1;
  constexpr int kStraight = 0;
  constexpr int kStratumStrength = 2;
  auto slide = std::make_unique<CSpSlide>();
  for (int i = 0; i < vertices; ++i) {
    const double angle = from + (to - from) * i / (vertices - 1);
    const int style = i % 2 == 0 && i + 2 < vertices ? kArcStart : kStraight;
    slide->AddNewPoint(
        CDPoint(centre.x + radius * std::cos(angle), centre.y + radius * std::sin(angle)), style,
        kStratumStrength);
  }
  return slide;
}

// The x of the slice boundaries of a calculation: evenly over [from, to].
std::vector<double> SliceXs(double from, double to) {
  constexpr int kSlices = 64;
  std::vector<double> xs;
  for (int i = 0; i <= kSlices; ++i) xs.push_back(from + (to - from) * i / kSlices);
  return xs;
}

// The vertical test line of a slice boundary.
struct Vertical {
  CDPoint low;
  CDPoint high;
};

Vertical VerticalAt(double x) { return {CDPoint(x, -1000), CDPoint(x, 1000)}; }

std::vector<CDPoint> Values(const CDPoly& line) {
  std::vector<CDPoint> points;
  for (const auto& p : line.Points()) points.push_back(*p);
  return points;
}

// The line's vertices allocated in shuffled order between blocks of mixed sizes, as the heap
// looks after editing, loading and assembling; the blocks live as long as the line.
struct ScatteredLine {
  std::vector<std::unique_ptr<char[]>> filler;
  CDPoly line;
};

std::unique_ptr<ScatteredLine> Scattered(const CDPoly& line) {
  auto scattered = std::make_unique<ScatteredLine>();
  const auto n = static_cast<std::size_t>(line.GetSize());
  std::vector<std::size_t> order(n);
  std::iota(order.begin(), order.end(), std::size_t{0});
  std::mt19937 random(7);
  std::shuffle(order.begin(), order.end(), random);
  std::uniform_int_distribution<std::size_t> fillerSize(16, 256);
  std::vector<std::shared_ptr<CDPoint>> vertices(n);
  for (const std::size_t i : order) {
    vertices[i] = std::make_shared<CDPoint>(*line.Points()[i]);
    scattered->filler.push_back(std::make_unique<char[]>(fillerSize(random)));
  }
  for (auto& vertex : vertices) scattered->line.Add(std::move(vertex));
  return scattered;
}

// ---- The walks of CDPoly::GetY and CDPoly::GetCrossX, over either list ----

const CDPoint& Vertex(const CDPoint& p) { return p; }
const CDPoint& Vertex(const std::shared_ptr<CDPoint>& p) { return *p; }

// Compiled once for each list in this file and never inlined, so that only the layout differs.
template <class PointList>
[[gnu::noinline]] double WalkGetY(const PointList& points, double x) {
  const std::size_t n = points.size();
  if (n < 2) return kNoValue;
  for (std::size_t i = 0; i + 1 < n; ++i) {
    const CDPoint* left = &Vertex(points[i]);
    const CDPoint* right = &Vertex(points[i + 1]);
    if (left->x > right->x) std::swap(left, right);
    if (x == left->x) return left->y;
    if (left->x < x && x < right->x) {
      return left->y + (right->y - left->y) / (right->x - left->x) * (x - left->x);
    }
  }
  if (x == Vertex(points[n - 1]).x) return Vertex(points[n - 1]).y;
  return kNoValue;
}

template <class PointList>
[[gnu::noinline]] int WalkGetCrossX(const PointList& points, const CDPoint& p1, const CDPoint& p2,
                                    std::vector<double>& xs) {
  constexpr int kOnBoth = 3;
  int stored = 0;
  for (std::size_t i = 0; i + 1 < points.size(); ++i) {
    CDPoint cross;
    if (CrossLL(1e-5, &p1, &p2, &Vertex(points[i]), &Vertex(points[i + 1]), &cross) != kOnBoth) {
      continue;
    }
    xs.push_back(cross.x);
    ++stored;
  }
  return stored;
}

// The shape's own member in the core library; the walk above over the shape's list as it was
// built; over the same vertices allocated scattered; over copies stored by value.
enum class Layout { kMember, kShared, kSharedScattered, kValues };

// One line in every layout.
struct LineLayouts {
  const CDPoly* shape;
  std::unique_ptr<ScatteredLine> scattered;
  std::vector<CDPoint> values;

  explicit LineLayouts(const CDPoly& line)
      : shape(&line), scattered(Scattered(line)), values(Values(line)) {}

  double GetY(Layout layout, double x) const {
    switch (layout) {
      case Layout::kMember:
        return shape->CDPoly::GetY(x);
      case Layout::kShared:
        return WalkGetY(shape->Points(), x);
      case Layout::kSharedScattered:
        return WalkGetY(scattered->line.Points(), x);
      case Layout::kValues:
        break;
    }
    return WalkGetY(values, x);
  }

  void GetCrossX(Layout layout, const Vertical& v, std::vector<double>& xs) const {
    switch (layout) {
      case Layout::kMember:
        shape->CDPoly::GetCrossX(&v.low, &v.high, xs, nullptr, nullptr);
        return;
      case Layout::kShared:
        WalkGetCrossX(shape->Points(), v.low, v.high, xs);
        return;
      case Layout::kSharedScattered:
        WalkGetCrossX(scattered->line.Points(), v.low, v.high, xs);
        return;
      case Layout::kValues:
        WalkGetCrossX(values, v.low, v.high, xs);
        return;
    }
  }
};

constexpr Layout kLayouts[] = {Layout::kMember, Layout::kShared, Layout::kSharedScattered,
                               Layout::kValues};

// ---- Height at x ----

void BM_GroundHeight(benchmark::State& state, Layout layout) {
  const Section section = MakeSection(static_cast<int>(state.range(0)));
  const LineLayouts ground(*section.ground);
  const std::vector<double> xs = SliceXs(0.0, kWidth);
  for (const double x : xs) {
    for (const Layout other : kLayouts) {
      if (ground.GetY(other, x) != ground.GetY(Layout::kMember, x)) {
        state.SkipWithError("the layouts give different heights");
        return;
      }
    }
  }
  for (auto _ : state) {
    for (const double x : xs) benchmark::DoNotOptimize(ground.GetY(layout, x));
  }
  state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(xs.size()));
}
BENCHMARK_CAPTURE(BM_GroundHeight, member, Layout::kMember)->Arg(8)->Arg(32)->Arg(128);
BENCHMARK_CAPTURE(BM_GroundHeight, shared, Layout::kShared)->Arg(8)->Arg(32)->Arg(128);
BENCHMARK_CAPTURE(BM_GroundHeight, shared_scattered, Layout::kSharedScattered)
    ->Arg(8)
    ->Arg(32)
    ->Arg(128);
BENCHMARK_CAPTURE(BM_GroundHeight, values, Layout::kValues)->Arg(8)->Arg(32)->Arg(128);

// ---- Crossings of the slice boundaries with the stratum polygons ----

void BM_StratumCrossings(benchmark::State& state, Layout layout) {
  const Section section = MakeSection(static_cast<int>(state.range(0)));
  // The polygons as assembled: they share their vertex objects with each other.
  std::vector<LineLayouts> blocks;
  for (int i = 0; i < section.blocks->GetSize(); ++i)
    blocks.emplace_back(*section.blocks->GetAt(i));
  std::vector<Vertical> verticals;
  for (const double x : SliceXs(0.0, kWidth)) verticals.push_back(VerticalAt(x));
  std::vector<double> crossings;
  crossings.reserve(64);
  for (const Vertical& v : verticals) {
    for (const LineLayouts& block : blocks) {
      std::vector<double> expected;
      block.GetCrossX(Layout::kMember, v, expected);
      for (const Layout other : kLayouts) {
        crossings.clear();
        block.GetCrossX(other, v, crossings);
        if (crossings != expected) {
          state.SkipWithError("the layouts give different crossings");
          return;
        }
      }
    }
  }
  for (auto _ : state) {
    for (const Vertical& v : verticals) {
      for (const LineLayouts& block : blocks) {
        crossings.clear();
        block.GetCrossX(layout, v, crossings);
        benchmark::DoNotOptimize(crossings.data());
      }
    }
  }
  state.SetItemsProcessed(state.iterations() *
                          static_cast<std::int64_t>(verticals.size() * blocks.size()));
}
BENCHMARK_CAPTURE(BM_StratumCrossings, member, Layout::kMember)->Arg(8)->Arg(32)->Arg(128);
BENCHMARK_CAPTURE(BM_StratumCrossings, shared, Layout::kShared)->Arg(8)->Arg(32)->Arg(128);
BENCHMARK_CAPTURE(BM_StratumCrossings, shared_scattered, Layout::kSharedScattered)
    ->Arg(8)
    ->Arg(32)
    ->Arg(128);
BENCHMARK_CAPTURE(BM_StratumCrossings, values, Layout::kValues)->Arg(8)->Arg(32)->Arg(128);

// ---- Making and dropping a vertex list ----

void BM_VertexList(benchmark::State& state, Layout layout) {
  const std::vector<CDPoint> points = Profile(static_cast<int>(state.range(0)), 0.0);
  for (auto _ : state) {
    if (layout == Layout::kValues) {
      std::vector<CDPoint> list;
      list.reserve(points.size());
      for (const CDPoint& p : points) list.push_back(p);
      benchmark::DoNotOptimize(list.data());
    } else {
      CDPoly::PointList list;
      list.reserve(points.size());
      for (const CDPoint& p : points) list.push_back(std::make_shared<CDPoint>(p));
      benchmark::DoNotOptimize(list.data());
    }
  }
  state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(points.size()));
}
BENCHMARK_CAPTURE(BM_VertexList, shared, Layout::kShared)->Arg(8)->Arg(32)->Arg(128);
BENCHMARK_CAPTURE(BM_VertexList, values, Layout::kValues)->Arg(8)->Arg(32)->Arg(128);

// ---- Cutting the strata along the slide surface ----

void BM_CutPolyWithSlide(benchmark::State& state) {
  const Section section = MakeSection(static_cast<int>(state.range(0)));
  const auto work = MakeSlide(9)->CreateDrawObj();
  const AllocationProbe probe;
  for (auto _ : state) {
    benchmark::DoNotOptimize(section.blocks->CutPolyWithSlide(section.ground.get(), work.get(), 1));
  }
  probe.Report(state);
}
BENCHMARK(BM_CutPolyWithSlide)->Arg(8)->Arg(32)->Arg(128)->Unit(benchmark::kMicrosecond);

// ---- Building the working surface ----

void BM_BuildWork(benchmark::State& state) {
  const auto slide = MakeSlide(static_cast<int>(state.range(0)));
  const AllocationProbe probe;
  for (auto _ : state) benchmark::DoNotOptimize(slide->CreateDrawObj());
  probe.Report(state);
}
BENCHMARK(BM_BuildWork)->Arg(3)->Arg(9)->Arg(33);

// ---- Heights and crossings of the slide line ----

// Through the slide line; through a working surface built for each call, as the line did before
// it kept its surface; through one working surface built beforehand (the floor: what the line
// adds to it is the check that its surface is current).
enum class SlidePath { kLine, kRebuild, kBuiltOnce };

double SlideHeight(const CSpSlide& slide, const CSpSlideWork& built, SlidePath path, double x) {
  switch (path) {
    case SlidePath::kLine:
      return slide.GetY(x);
    case SlidePath::kRebuild:
      return slide.CreateDrawObj()->GetY(x);
    case SlidePath::kBuiltOnce:
      break;
  }
  return built.GetY(x);
}

int SlideCrossings(const CSpSlide& slide, const CSpSlideWork& built, SlidePath path,
                   const Vertical& v, std::vector<double>& xs) {
  switch (path) {
    case SlidePath::kLine:
      return slide.GetCrossX(&v.low, &v.high, xs, nullptr, nullptr);
    case SlidePath::kRebuild:
      return slide.CreateDrawObj()->GetCrossX(&v.low, &v.high, xs, nullptr, nullptr);
    case SlidePath::kBuiltOnce:
      break;
  }
  return built.GetCrossX(&v.low, &v.high, xs, nullptr, nullptr);
}

void BM_SlideHeight(benchmark::State& state, SlidePath path) {
  const auto slide = MakeSlide(static_cast<int>(state.range(0)));
  const auto built = slide->CreateDrawObj();
  const std::vector<double> xs = SliceXs(9.0, 46.0);
  for (auto _ : state) {
    for (const double x : xs) benchmark::DoNotOptimize(SlideHeight(*slide, *built, path, x));
  }
  state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(xs.size()));
}
BENCHMARK_CAPTURE(BM_SlideHeight, line, SlidePath::kLine)->Arg(3)->Arg(9)->Arg(33);
BENCHMARK_CAPTURE(BM_SlideHeight, rebuild, SlidePath::kRebuild)->Arg(3)->Arg(9)->Arg(33);
BENCHMARK_CAPTURE(BM_SlideHeight, built_once, SlidePath::kBuiltOnce)->Arg(3)->Arg(9)->Arg(33);

void BM_SlideCrossings(benchmark::State& state, SlidePath path) {
  const auto slide = MakeSlide(static_cast<int>(state.range(0)));
  const auto built = slide->CreateDrawObj();
  std::vector<Vertical> verticals;
  for (const double x : SliceXs(9.0, 46.0)) verticals.push_back(VerticalAt(x));
  std::vector<double> crossings;
  crossings.reserve(16);
  for (auto _ : state) {
    for (const Vertical& v : verticals) {
      crossings.clear();
      benchmark::DoNotOptimize(SlideCrossings(*slide, *built, path, v, crossings));
    }
  }
  state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(verticals.size()));
}
BENCHMARK_CAPTURE(BM_SlideCrossings, line, SlidePath::kLine)->Arg(3)->Arg(9)->Arg(33);
BENCHMARK_CAPTURE(BM_SlideCrossings, rebuild, SlidePath::kRebuild)->Arg(3)->Arg(9)->Arg(33);
BENCHMARK_CAPTURE(BM_SlideCrossings, built_once, SlidePath::kBuiltOnce)->Arg(3)->Arg(9)->Arg(33);

}  // namespace
