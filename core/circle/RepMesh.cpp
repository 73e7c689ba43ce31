#include "core/circle/RepMesh.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <memory>
#include <stdexcept>

#include "core/circle/ArcSet.h"
#include "core/circle/CenterMesh.h"
#include "core/circle/RepKey.h"
#include "core/geometry/DArc.h"
#include "core/geometry/ViewInfo.h"
#include "platform/Archive.h"
#include "platform/Canvas.h"

namespace {

constexpr Color kWhite{0xFFFFFF};
// A painted cell whose working set reaches this many lines is left unpainted.
constexpr int kMaxPaintLines = 50;
// Recorded crossing points match a region's vertex within this distance in x and in y.
constexpr double kMatch = 1e-5;

bool IsSetValue(double v) { return v != kNoValue; }

std::int32_t GetInt(Archive& ar) {
  std::int32_t v = 0;
  ar >> v;
  return v;
}

// The level lies within the scale row, ends included, whichever way the row runs.
bool WithinScale(const CRepKey& key, double level) {
  const auto& row = key.Data().scale[key.Data().contourKind == 1 ? 1 : 0];
  const double a = std::min(row.front(), row.back());
  const double b = std::max(row.front(), row.back());
  return a <= level && level <= b;
}

// The number of points of a cell's closed outline: its four corners and the first one again.
constexpr int kOutlinePoints = 5;

// The closed outline's point p: the corner node's centre, without its flag.
CDPoint OutlinePoint(const CRepMesh::Cell& cell, int p) {
  const CDPoint& centre = cell[static_cast<std::size_t>(p) % cell.size()]->GetCenter();
  return CDPoint(centre.x, centre.y);
}

}  // namespace

void CRepMesh::PaintStorage::StartCell(const Cell& cell) {
  while (work.GetSize() > 1) work.RemoveAt(work.GetSize() - 1);
  if (work.IsEmpty()) {
    // The first cell's outline; the next cells take its points over, each a point of its own.
    auto outline = std::make_unique<CDPoly>();
    for (int p = 0; p < kOutlinePoints; ++p) outline->Add(OutlinePoint(cell, p));
    work.Add(std::move(outline));
    return;
  }
  CDPoly& outline = *work.GetAt(0);
  for (int p = 0; p < kOutlinePoints; ++p) *outline.GetAt(p) = OutlinePoint(cell, p);
}

// ---- Nodes ----

void CRepMesh::SetSize(int nx, int ny) {
  RemoveAll();
  sizeX_ = std::max(nx, 0);
  sizeY_ = sizeX_ > 0 ? std::max(ny, 0) : 0;
  nodes_.resize(static_cast<std::size_t>(sizeX_) * static_cast<std::size_t>(sizeY_));
}

void CRepMesh::RemoveAll() {
  nodes_.clear();
  sizeX_ = 0;
  sizeY_ = 0;
  totalSize_ = 0;
  current_ = nullptr;
}

std::size_t CRepMesh::NodeIndex(int i, int j) const {
  if (i < 0 || i >= sizeX_ || j < 0 || j >= sizeY_) throw std::out_of_range("mesh node index");
  return static_cast<std::size_t>(i) * static_cast<std::size_t>(sizeY_) +
         static_cast<std::size_t>(j);
}

CRepPoint* CRepMesh::GetRepPoint(int i, int j) const { return nodes_[NodeIndex(i, j)].get(); }

void CRepMesh::SetRepPoint(int i, int j, std::shared_ptr<CRepPoint> point) {
  nodes_[NodeIndex(i, j)] = std::move(point);
}

void CRepMesh::CreateResultPoint(const CArcSetRadius& set) {
  if (set.WhatKind() == kArcSetPass2) {
    CreateResultPointPass2(set);
    return;
  }
  const CCenterMesh& m = set.mesh;
  const int nx = CountMeshNodes(m.x1, m.x2, m.dx);
  const int ny = CountMeshNodes(m.y1, m.y2, m.dy);
  SetSize(nx, ny);
  const auto rows = static_cast<std::size_t>(GetSizeY());
  const auto nodes =
      std::make_shared<std::vector<CRepPoint>>(static_cast<std::size_t>(GetSizeX()) * rows);
  for (int i = 0; i < nx; ++i) {
    const double x = m.x1 + i * m.dx;
    if (!(x < m.x2 + m.dx)) break;
    for (int j = 0; j < ny; ++j) {
      const double y = m.y1 + j * m.dy;
      if (!(y < m.y2 + m.dy)) break;
      const std::shared_ptr<CRepPoint> node(
          nodes, &(*nodes)[static_cast<std::size_t>(i) * rows + static_cast<std::size_t>(j)]);
      node->SetCenter(CDPoint(std::min(x, m.x2), std::min(y, m.y2)));
      SetRepPoint(i, j, node);
    }
  }
}

void CRepMesh::CreateResultPointPass2(const CArcSetRadius& set) {
  const auto* pass = dynamic_cast<const CArcSetPass2*>(&set);
  if (pass == nullptr || !(pass->pitch > 0)) return;
  const double low = std::min(pass->radiusFrom, pass->radiusTo);
  const double high = std::max(pass->radiusFrom, pass->radiusTo);
  std::vector<CDPoint> centres;
  for (int k = 0;; ++k) {
    const double r = low + k * pass->pitch;
    if (!(r < high + pass->pitch)) break;
    CDArc arc;
    if (arc.Set2PR(pass->pointA, pass->pointB, r, true)) centres.push_back(arc.centre);
  }
  SetSize(1, static_cast<int>(centres.size()));
  const auto nodes = std::make_shared<std::vector<CRepPoint>>(centres.size());
  for (std::size_t j = 0; j < centres.size(); ++j) {
    const std::shared_ptr<CRepPoint> node(nodes, &(*nodes)[j]);
    node->SetCenter(centres[j]);
    SetRepPoint(0, static_cast<int>(j), node);
  }
}

template <class Visit>
void CRepMesh::ForEachNodeByRows(Visit visit) const {
  for (int j = 0; j < GetSizeY(); ++j) {
    for (int i = 0; i < GetSizeX(); ++i) {
      if (const CRepPoint* node = GetRepPoint(i, j)) visit(*node);
    }
  }
}

// ---- Listing ----

void CRepMesh::AppendChoices(const CRepPoint& node, const CRepKey& key, SerialList& list) const {
  const tagREPKEY& k = key.Data();
  std::vector<int> chosen;
  if (k.normalGroup != 0 || k.seismicGroup != 0) {
    int fs = -1, fsSeis = -1, pr = -1, prSeis = -1;
    node.GetShowResFsPrID(key, fs, fsSeis, pr, prSeis);
    if (k.listing == 1) pr = prSeis = -1;
    if (k.listing == 2) fs = fsSeis = -1;
    const auto same = [](int a, int b) { return a >= 0 && a == b; };
    if (same(fsSeis, fs)) fsSeis = -1;
    if (same(pr, fs)) pr = -1;
    if (same(prSeis, pr) || same(prSeis, fsSeis) || same(prSeis, fs)) prSeis = -1;
    chosen = {fs, fsSeis, pr, prSeis};
  } else if (k.displacementGroup != 0) {
    int peak = -1, drop = -1;
    node.GetShowResKyID(key, peak, drop);
    if (k.kyListing == 2) peak = -1;
    if (k.kyListing == 1) drop = -1;
    if (drop >= 0 && drop == peak) drop = -1;
    chosen = {peak, drop};
  }
  for (const int index : chosen) {
    if (index >= 0) list.push_back(&node.GetChild(index));
  }
}

int CRepMesh::SerialCopy(SerialList& list, const CRepKey* key) {
  list.clear();
  totalSize_ = 0;
  ForEachNodeByRows([&](const CRepPoint& node) { totalSize_ += node.GetChildSize(); });
  list.reserve(static_cast<std::size_t>(totalSize_));
  if (key != nullptr) {
    const tagREPKEY& k = key->Data();
    const bool stability = k.normalGroup != 0 || k.seismicGroup != 0;
    const bool every = stability ? k.listing == 0 : k.kyListing == 0;
    ForEachNodeByRows([&](const CRepPoint& node) {
      if (!stability && k.displacementGroup == 0) return;
      if (!every) {
        AppendChoices(node, *key, list);
        return;
      }
      for (int c = 0; c < node.GetChildSize(); ++c) {
        CRepPoint& child = node.GetChild(c);
        const auto* hokyo = dynamic_cast<const CRepKeyHokyo*>(key);
        if (hokyo != nullptr ? child.IsValid(*hokyo) : child.IsValid(*key)) list.push_back(&child);
      }
    });
  }
  return FinishSerial(list, key);
}

int CRepMesh::SerialCopy(SerialList& list, const CRepKeyHokyo* key) {
  return SerialCopy(list, static_cast<const CRepKey*>(key));
}

int CRepMesh::FinishSerial(SerialList& list, const CRepKey* key) const {
  if (key != nullptr) {
    const tagREPKEY& k = key->Data();
    if (k.listing != 0 && (k.normalGroup != 0 || k.seismicGroup != 0 || k.displacementGroup != 0)) {
      SerialList marked;
      SerialCurrentChoice(marked);
      for (CRepPoint* m : marked) {
        const bool taken = std::any_of(list.begin(), list.end(), [&](const CRepPoint* e) {
          return (e->GetMark(0) != 0 && m->GetMark(0) != 0) ||
                 (e->GetMark(1) != 0 && m->GetMark(1) != 0);
        });
        if (!taken) list.push_back(m);
      }
    }
  }
  CheckOffHideRes(list);
  return static_cast<int>(list.size());
}

int CRepMesh::SerialCurrentChoice(SerialList& list) const {
  ForEachNodeByRows([&](const CRepPoint& node) {
    for (int c = 0; c < node.GetChildSize(); ++c) {
      CRepPoint& child = node.GetChild(c);
      if (child.GetMark(0) != 0 || child.GetMark(1) != 0) list.push_back(&child);
    }
  });
  return static_cast<int>(list.size());
}

void CRepMesh::CheckOffHideRes(const SerialList& list) const {
  ForEachNodeByRows([&](const CRepPoint& node) {
    for (int c = 0; c < node.GetChildSize(); ++c) {
      CRepPoint& child = node.GetChild(c);
      if ((child.GetMark(0) != 0 || child.GetMark(1) != 0) &&
          std::find(list.begin(), list.end(), &child) == list.end()) {
        child.SetMark(0, 0);
        child.SetMark(1, 0);
      }
    }
  });
}

double CRepMesh::GetMinVal(int kind) const {
  double v = -kNoValue;
  ForEachNodeByRows([&](const CRepPoint& node) { v = std::min(v, node.GetKeyValue(kind)); });
  return v;
}

double CRepMesh::GetMaxVal(int kind) const {
  double v = kNoValue;
  ForEachNodeByRows([&](const CRepPoint& node) { v = std::max(v, node.GetKeyValue(kind)); });
  return v;
}

void CRepMesh::SetTypicalPoint(const CRepKey& key) {
  key_ = &key;
  for (const auto& node : nodes_) {
    if (node) node->SetTypicalPoint(key);
  }
}

bool CRepMesh::Find(const CDPoint& p, int& i, int& j, CRepPoint*& node) const {
  for (int a = 0; a < GetSizeX(); ++a) {
    for (int b = 0; b < GetSizeY(); ++b) {
      CRepPoint* n = GetRepPoint(a, b);
      if (n != nullptr && n->GetCenter() == p) {
        i = a;
        j = b;
        node = n;
        return true;
      }
    }
  }
  return false;
}

bool CRepMesh::IsSucceed() const {
  return std::any_of(nodes_.begin(), nodes_.end(), [](const auto& n) { return n != nullptr; });
}

void CRepMesh::CopyData(const CRepMesh& other) {
  RemoveAll();
  RemoveContour();
  rightUp_ = other.rightUp_;
  SetSize(other.GetSizeX(), other.GetSizeY());
  for (int i = 0; i < other.GetSizeX(); ++i) {
    for (int j = 0; j < other.GetSizeY(); ++j) {
      if (const CRepPoint* source = other.GetRepPoint(i, j)) {
        auto copy = std::make_shared<CRepPoint>();
        copy->CopyData(*source);
        SetRepPoint(i, j, std::move(copy));
      }
    }
  }
}

// ---- Contours ----

const CRepContours* CRepMesh::CreateContour(const CRepKey& key) {
  SetTypicalPoint(key);
  RemoveContour();
  contourCode_ = key.GetContourKey();
  const double pitch = key.GetPitch();
  // A pitch not above 0 would never reach the next level.
  if (!(pitch > 0)) return nullptr;
  contours_ = ContourPrimitive(key.Data().paint, pitch);
  return contours_.get();
}

std::unique_ptr<CRepContours> CRepMesh::ContourPrimitive(int paint, double pitch) const {
  auto out = std::make_unique<CRepContours>(paint != 0);
  if (paint != 0) {
    // Mostly one band per cell, over the cell's outline.
    const auto cells = static_cast<std::size_t>(std::max(GetSizeX() - 1, 0)) *
                       static_cast<std::size_t>(std::max(GetSizeY() - 1, 0));
    out->Reserve(cells, cells * kOutlinePoints);
  }
  PaintStorage storage;
  for (int i = 0; i + 1 < GetSizeY(); ++i) {
    for (int j = 0; j + 1 < GetSizeX(); ++j) {
      const Cell cell{GetRepPoint(j, i), GetRepPoint(j + 1, i), GetRepPoint(j + 1, i + 1),
                      GetRepPoint(j, i + 1)};
      if (std::any_of(cell.begin(), cell.end(), [](const CRepPoint* p) { return !p; })) continue;
      if (paint != 0) {
        ContourGridPrimPaint(pitch, cell, *out, storage);
      } else {
        ContourGridPrimLine(pitch, cell, *out);
      }
    }
  }
  return out;
}

int CRepMesh::ContourGridPrimOne(double level, const Cell& cell,
                                 std::array<Segment, 2>& out) const {
  if (key_ == nullptr) return 0;
  std::array<double, 4> v{};
  for (std::size_t c = 0; c < 4; ++c) {
    if (!cell[c]->HasSlideWork()) return 0;
    v[c] = cell[c]->GetContourValue(*key_);
  }
  // A level crosses each of the cell's four sides at most once.
  std::array<CDPoint, 4> crossings{};
  std::size_t count = 0;
  for (std::size_t c = 0; c < 4; ++c) {
    const std::size_t next = (c + 1) % 4;
    const double d = v[c];
    const double e = v[next];
    if (d == e || !(std::min(d, e) <= level && level < std::max(d, e))) continue;
    const CDPoint& from = cell[c]->GetCenter();
    const CDPoint& to = cell[next]->GetCenter();
    const double t = (level - d) / (e - d);
    crossings[count++] = CDPoint(from.x + (to.x - from.x) * t, from.y + (to.y - from.y) * t);
  }
  if (count == 2) {
    out[0] = {crossings[0], crossings[1]};
    return 1;
  }
  if (count == 4) {
    if (rightUp_) {
      out = {Segment{crossings[0], crossings[3]}, Segment{crossings[1], crossings[2]}};
    } else {
      out = {Segment{crossings[0], crossings[1]}, Segment{crossings[2], crossings[3]}};
    }
    return 2;
  }
  return 0;
}

double CRepMesh::FirstLevel(double lo, double pitch) {
  const double level = std::trunc(lo / pitch) * pitch;
  return lo >= 0 ? level + pitch : level;
}

void CRepMesh::ContourGridPrimLine(double pitch, const Cell& cell, CRepContours& out) const {
  if (key_ == nullptr || !(pitch > 0)) return;
  std::array<double, 4> v{};
  for (std::size_t c = 0; c < 4; ++c) {
    v[c] = cell[c]->GetContourValue(*key_);
    if (!IsSetValue(v[c])) return;
  }
  const double lo = *std::min_element(v.begin(), v.end());
  const double hi = std::min(*std::max_element(v.begin(), v.end()), lo + 1000 * pitch);
  const double first = FirstLevel(lo, pitch);
  for (int k = 0;; ++k) {
    const double level = first + k * pitch;
    if (!(level < hi)) break;
    std::array<Segment, 2> segments;
    const int count = ContourGridPrimOne(level, cell, segments);
    for (int s = 0; s < count; ++s) {
      const Segment& segment = segments[static_cast<std::size_t>(s)];
      out.AddLine(key_->GetColor(level), level, segment.first, segment.second);
    }
  }
}

void CRepMesh::ContourGridPrimPaint(double pitch, const Cell& cell, CRepContours& out,
                                    PaintStorage& storage) const {
  if (key_ == nullptr || !(pitch > 0)) return;
  std::array<double, 4> v{};
  for (std::size_t c = 0; c < 4; ++c) {
    v[c] = cell[c]->GetContourValue(*key_);
    if (!IsSetValue(v[c])) return;
  }
  storage.StartCell(cell);
  CDPolyArray& work = storage.work;
  // The corners, then the two ends of each line: a cell gets at most kMaxPaintLines lines.
  std::vector<PaintStorage::Recorded>& recorded = storage.recorded;
  recorded.clear();
  recorded.reserve(4 + 2 * kMaxPaintLines);
  for (std::size_t c = 0; c < 4; ++c) recorded.push_back({cell[c]->GetCenter(), v[c]});
  const double lo = *std::min_element(v.begin(), v.end());
  const double hi =
      std::min(*std::max_element(v.begin(), v.end()), lo + std::max(10000.0, 200 * pitch));
  const double first = FirstLevel(lo, pitch);
  for (int k = 0;; ++k) {
    const double level = first + k * pitch;
    if (!(level < hi)) break;
    if (!WithinScale(*key_, level)) continue;
    std::array<Segment, 2> segments;
    const int count = ContourGridPrimOne(level, cell, segments);
    for (int s = 0; s < count; ++s) {
      const Segment& segment = segments[static_cast<std::size_t>(s)];
      auto line = std::make_unique<CDPoly>();
      line->Add(segment.first);
      line->Add(segment.second);
      work.Add(std::move(line));
      recorded.push_back({segment.first, level});
      recorded.push_back({segment.second, level});
    }
    if (work.GetSize() >= kMaxPaintLines) return;
  }
  const auto paintRegion = [&](const CDPoly& region) {
    double smallest = -kNoValue;
    bool matched = false;
    for (int p = 0; p < region.GetSize(); ++p) {
      const CDPoint& vertex = *region.GetAt(p);
      for (const PaintStorage::Recorded& rec : recorded) {
        if (std::fabs(rec.p.x - vertex.x) <= kMatch && std::fabs(rec.p.y - vertex.y) <= kMatch) {
          smallest = std::min(smallest, rec.value);
          matched = true;
        }
      }
    }
    // The band's vertices go without the junction marks of the region's tracing.
    out.AddBand(matched ? key_->GetColor(key_->RoundForContour(smallest)) : kWhite, region);
  };
  // A cell that no level crosses is its one region: the tracing would hand back a copy of the
  // outline.
  if (work.GetSize() == 1) {
    paintRegion(*work.GetAt(0));
    return;
  }
  const std::unique_ptr<CDPolyArray> regions = work.CreatePolygon_RoundEdge();
  if (regions == nullptr) return;
  for (int r = 0; r < regions->GetSize(); ++r) paintRegion(*regions->GetAt(r));
}

// ---- Drawing ----

void CRepMesh::Draw(CViewInfo* view, bool lines, bool labels) const {
  DrawArc(view);
  DrawContour(view, lines, labels);
}

void CRepMesh::DrawArc(CViewInfo* view) const {
  const Color colour = view->IsPrint() ? Color{0} : Color{0x0000FF};
  Canvas& canvas = *view->dc;
  if (drawEnko_ != 0) {
    const ScopedPen thin(canvas, Pen{PenStyle::Solid, 1, colour});
    ForEachNodeByRows([&](const CRepPoint& node) {
      for (int c = 0; c < node.GetChildSize(); ++c) {
        const CRepPoint& child = node.GetChild(c);
        if (child.GetMark(0) != 0 || child.GetMark(1) != 0) child.Draw(view, false, std::nullopt);
      }
    });
  }
  if (current_ != nullptr) {
    const ScopedPen thick(canvas, Pen{PenStyle::Solid, 3, colour});
    current_->Draw(view, true, std::nullopt);
  }
}

void CRepMesh::DrawContour(CViewInfo* view, bool lines, bool labels) const {
  if (contours_ != nullptr && lines && key_ != nullptr) contours_->Draw(view);
  if (!labels || key_ == nullptr) return;
  Canvas& canvas = *view->dc;
  const int f = view->IsPrint() ? 10 : 1;
  Font font;
  font.height = 10 * f;
  font.width = 5 * f;
  font.face = "ＭＳ ゴシック";
  font.charset = FontCharset::ShiftJis;
  font.pitch = FontPitch::Fixed;
  const Font previous = canvas.SelectFont(font);
  const TextAlign align = canvas.SetTextAlign(TextAlign::Baseline);
  ForEachNodeByRows([&](const CRepPoint& node) {
    if (node.HasSlideWork()) {
      canvas.TextOut(view->LPtoDP(node.GetCenter()), node.GetContourStr(*key_));
    }
  });
  canvas.SetTextAlign(align);
  canvas.SelectFont(previous);
}

// ---- Record ----

void CRepMesh::Store(Archive& ar, int version) const {
  ar << static_cast<std::int32_t>(GetSizeX()) << static_cast<std::int32_t>(GetSizeY());
  const CRepPoint empty;
  for (const auto& node : nodes_) (node ? *node : empty).Store(ar, version);
}

void CRepMesh::Load(Archive& ar, int version) {
  const std::int32_t nx = GetInt(ar);
  const std::int32_t ny = GetInt(ar);
  if (nx < 0 || ny < 0) throw ArchiveException(ArchiveException::Cause::BadFormat, "mesh size");
  // Every node record takes more than 200 bytes.
  ar.RequireItems(static_cast<std::uint64_t>(nx) * static_cast<std::uint64_t>(ny), 200);
  CRepMesh read;
  read.SetSize(nx, ny);
  for (int i = 0; i < nx; ++i) {
    for (int j = 0; j < ny; ++j) {
      auto node = std::make_shared<CRepPoint>();
      node->Load(ar, version);
      read.SetRepPoint(i, j, std::move(node));
    }
  }
  RemoveContour();
  nodes_ = std::move(read.nodes_);
  sizeX_ = read.sizeX_;
  sizeY_ = read.sizeY_;
  totalSize_ = 0;
  current_ = nullptr;
}
