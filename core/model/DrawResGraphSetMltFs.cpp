#include "core/model/DrawResGraphSetMltFs.h"

#include <cmath>
#include <cstdint>
#include <random>

#include "core/base/ArchiveCount.h"
#include "platform/Archive.h"

namespace {

// The weighted distance of two colours, 0 (same) to 1 (black to white).
double Distance(Color a, Color b) {
  const double dr = a.Red() - b.Red();
  const double dg = a.Green() - b.Green();
  const double db = a.Blue() - b.Blue();
  return std::sqrt(4 * dg * dg + 2 * dr * dr + 3 * db * db) / 765.0;
}

template <class Settings, class Io>
void Serialize(Settings& set, int version, Io io) {
  for (auto& s : set.switches) io(s);
  const auto ranges = [&io](auto& a) {
    io(a.maxX);
    io(a.maxY);
    io(a.minX);
    io(a.minY);
    io(a.pitchX);
    io(a.pitchY);
  };
  if (version < 5) {
    ranges(set.axes[0]);
  } else {
    for (auto& a : set.axes) {
      io(a.itemX);
      io(a.itemY);
      ranges(a);
    }
  }
  io(set.background);
}

}  // namespace

void CDrawResGraphSetMltFs::Init() { *this = CDrawResGraphSetMltFs(); }

void CDrawResGraphSetMltFs::Store(Archive& ar, int version) const {
  Serialize(*this, version, [&ar](const auto& v) { ar << v; });
  ar << static_cast<std::int32_t>(lineColors.size());
  for (const Color c : lineColors) ar << c;
}

void CDrawResGraphSetMltFs::Load(Archive& ar, int version) {
  CDrawResGraphSetMltFs read(*this);
  Serialize(read, version, [&ar](auto& v) { ar >> v; });
  const std::int32_t count = ReadCount(ar, 4, "graph line colour count");
  read.lineColors.assign(static_cast<std::size_t>(count), Color{});
  for (Color& c : read.lineColors) ar >> c;
  *this = read;
}

bool CDrawResGraphSetMltFs::IsSame(const CDrawResGraphSetMltFs& other) const {
  return axes == other.axes && switches == other.switches && background == other.background &&
         currentCase == other.currentCase;
}

void CDrawResGraphSetMltFs::ResetIndex(int resultCase) {
  if (resultCase == -1) {
    for (Axes& a : axes) a.itemX = a.itemY = -1;
  } else if (resultCase == 0 || resultCase == 1) {
    axes[static_cast<std::size_t>(resultCase)].itemX = 3;
    axes[static_cast<std::size_t>(resultCase)].itemY = resultCase == 0 ? 9 : 12;
  }
}

void CDrawResGraphSetMltFs::MakeLineColor(int count) {
  if (count <= 0) {
    lineColors.clear();
    return;
  }
  std::mt19937 random(20260101u);
  std::uniform_int_distribution<int> component(0, 255);
  lineColors.assign(static_cast<std::size_t>(count), Color{});
  for (std::size_t i = 0; i < lineColors.size(); ++i) {
    Color c;
    do {
      const int r = component(random);
      const int g = component(random);
      c = Color::Rgb(r, g, component(random));
    } while (Distance(c, background) < 0.2 || (i > 0 && Distance(c, lineColors[i - 1]) < 0.3));
    lineColors[i] = c;
  }
}
