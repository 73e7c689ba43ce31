// Closed polygons from lines: the stratum polygons of a section from its ground and stratum
// lines, faces traced through line pieces, polygons cut by a line and re-cut under a new ground,
// and the upper outline of a set of polygons.
//
// The assembly flags the junctions of the lines, splits the lines into pieces between junctions
// and traces faces by always taking, at the end of the chain, the piece that turns most to the
// left; a face counts when it runs counter-clockwise. A face takes over the point objects of its
// pieces; once it is accepted the pieces keep copies for the face on their other side, so that
// no two faces share a vertex object (shifting or reversing one face must not move another).

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>
#include <functional>
#include <memory>
#include <numbers>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "core/base/Constants.h"
#include "core/geometry/DPoly.h"
#include "core/geometry/DPolyArray.h"
#include "core/section/SpGround.h"
#include "core/section/SpStratum.h"

namespace {

constexpr double kMinFaceArea = 0.01;   // smaller faces are slivers between nearly equal lines
constexpr double kMinCutArea = 0.001;   // smaller pieces of a cut are dropped
constexpr double kLeavingGap = 1e-5;    // a line farther than this from another has left it
constexpr double kLeavingProbe = 0.9;   // where along a segment it is tested against the other
constexpr double kCutTolerance = 1e-6;  // the crossing tolerance while polygons are cut
constexpr double kTwoPi = 2.0 * std::numbers::pi;
const std::string kStratumNameBase = "地層";

// Moves every shape of `from` to the end of `to`, in order.
void AppendAll(CDPolyArray& to, std::unique_ptr<CDPolyArray> from) {
  while (!from->IsEmpty()) to.Add(from->Release(0));
}

bool IsClosed(const CDPoly& line) { return *line.GetFirstPt() == *line.GetLastPt(); }

// ---- The base level under the ground ----

// The corners of the section: the ground's left and right ends, its lowest point and the base
// level, which never lies above the lowest point.
struct SectionFrame {
  CDPoint left;
  CDPoint right;
  CDPoint bottom;
  double base = 0;
};

SectionFrame FrameOf(const CDPoly& ground, double baseY) {
  const CDPoint bottom = ground.Bottom();
  return {ground.Left(), ground.Right(), bottom, std::min(baseY, bottom.y)};
}

// ---- Stratum lines along the ground ----

// A segment of a stratum line runs along the ground when both its ends are ground vertices next
// to each other (or the same vertex); -1 marks an end that is no ground vertex.
bool RunsAlongGround(int groundIndexA, int groundIndexB) {
  return groundIndexA >= 0 && groundIndexB >= 0 && std::abs(groundIndexA - groundIndexB) <= 1;
}

// The runs of segments of the line that do not run along the ground, as new stratum lines. A run
// ends with the first point of the next segment on the ground, or with the line's last point.
std::vector<std::unique_ptr<CDPoly>> RunsOffGround(const CDPoly& line, const CDPoly& ground) {
  const int n = line.GetSize();
  std::vector<int> groundIndex(static_cast<std::size_t>(n));
  for (int i = 0; i < n; ++i) groundIndex[i] = ground.FindJustPoint(line.GetAt(i));

  std::vector<std::unique_ptr<CDPoly>> runs;
  std::unique_ptr<CDPoly> run;
  for (int i = 0; i + 1 < n; ++i) {
    if (RunsAlongGround(groundIndex[i], groundIndex[i + 1])) {
      if (run) runs.push_back(std::move(run));
      continue;
    }
    if (!run) {
      run = std::make_unique<CSpStratumLine>();
      run->Add(*line.GetAt(i));
    }
    run->Add(*line.GetAt(i + 1));
  }
  if (run) runs.push_back(std::move(run));
  return runs;
}

// ---- Tracing faces ----

// Whether an open piece's end touches an end of another piece of the list.
bool TouchesAnotherPiece(const CDPoint& end, const CDPoly* piece, const CDPolyArray& pieces) {
  for (int i = 0; i < pieces.GetSize(); ++i) {
    const CDPoly* other = pieces.GetAt(i);
    if (other == piece || other->GetSize() == 0) continue;
    if (*other->GetFirstPt() == end || *other->GetLastPt() == end) return true;
  }
  return false;
}

bool IsDeadEnd(const CDPoly* piece, const CDPolyArray& pieces) {
  if (piece->GetSize() == 0) return true;
  if (IsClosed(*piece)) return false;
  return !TouchesAnotherPiece(*piece->GetFirstPt(), piece, pieces) ||
         !TouchesAnotherPiece(*piece->GetLastPt(), piece, pieces);
}

// Appends the values of the piece's points to the walked path, backward when asked; the first
// point walked is left out when the path already ends there.
void Walk(CDPoly& path, const CDPoly& piece, bool backward, bool skipFirst) {
  const int n = piece.GetSize();
  for (int j = skipFirst ? 1 : 0; j < n; ++j) path.Add(*piece.GetAt(backward ? n - 1 - j : j));
}

// The pieces of an accepted face give their point objects up to it and keep copies of their own,
// with which they may still bound the face on their other side.
void GiveUpPoints(const std::vector<CDPoly*>& chain) {
  for (CDPoly* piece : chain) piece->CopyPoints(piece);
}

// The faces accepted so far, each as its pieces in a fixed order. A closed run of pieces bounds
// one counter-clockwise face only: the same pieces again are the same face, traced anew from
// another of its pieces.
class AcceptedFaces {
 public:
  bool Contains(const std::vector<CDPoly*>& chain) const {
    return std::find(faces_.begin(), faces_.end(), KeyOf(chain)) != faces_.end();
  }
  void Add(const std::vector<CDPoly*>& chain) { faces_.push_back(KeyOf(chain)); }

 private:
  static std::vector<const CDPoly*> KeyOf(const std::vector<CDPoly*>& chain) {
    std::vector<const CDPoly*> key(chain.begin(), chain.end());
    std::sort(key.begin(), key.end(), std::less<>());
    return key;
  }

  std::vector<std::vector<const CDPoly*>> faces_;
};

// ---- Heights of faces against a line ----

// The height at x of the first segment of the line with min x <= x < max x.
std::optional<double> HeightOnSegments(const CDPoly& line, double x) {
  for (int i = 0; i + 1 < line.GetSize(); ++i) {
    const CDPoint& a = *line.GetAt(i);
    const CDPoint& b = *line.GetAt(i + 1);
    if (std::min(a.x, b.x) <= x && x < std::max(a.x, b.x)) {
      return a.y + (b.y - a.y) * (x - a.x) / (b.x - a.x);
    }
  }
  return std::nullopt;
}

// Whether the face lies above the cutting line at its inner point; where the line does not
// reach, the outline decides.
bool LiesAbove(CDPoly& face, const CDPoly& line, const CDPoly& outline) {
  const CDPoint inner = face.CalcInnerPoint();
  double height = line.GetY(inner.x);
  if (height == kNoValue) height = outline.GetY(inner.x);
  return height != kNoValue && height < inner.y;
}

void DeleteSmallFaces(CDPolyArray& faces, double minArea) {
  for (int i = faces.GetSize() - 1; i >= 0; --i) {
    if (std::fabs(faces.GetAt(i)->GetArea()) < minArea) faces.RemoveAt(i);
  }
}

// The last polygon of the list that contains p (as CDPolyArray::FindPolygon finds it, without
// moving the selection).
const CDPoly* PolygonContaining(const CDPolyArray& polygons, const CDPoint& p) {
  for (int i = polygons.GetSize() - 1; i >= 0; --i) {
    if (polygons.GetAt(i)->PolyRgn(&p)) return polygons.GetAt(i);
  }
  return nullptr;
}

// Faces without soil properties take those of the new ground's own stratum polygon that holds
// their inner point.
void TakeMissingProps(CDPolyArray& faces, const CDPoly* newGround) {
  if (newGround->WhatKind() != kKindGround) return;
  const CDPolyArray* oldBlocks = static_cast<const CSpGround*>(newGround)->GetPolyArray();
  if (oldBlocks == nullptr) return;
  for (int i = 0; i < faces.GetSize(); ++i) {
    CDPoly* face = faces.GetAt(i);
    if (face->WhatKind() != kKindStratumBlock) continue;
    if (!static_cast<CSpStratumBlock*>(face)->GetPropPtr()->IsEmpty()) continue;
    const CDPoly* old = PolygonContaining(*oldBlocks, face->CalcInnerPoint());
    if (old != nullptr) face->SetProperty(old);
  }
}

// ---- Joining edges into chains ----

// How a line whose ends are first and last joins a chain at the chain's first point (end 0) or
// last point (end 1), target: nothing when neither end lies there, else whether the line runs
// against the chain. Before the chain a line should end at its first point, after it start at its
// last one.
std::optional<bool> JoinsReversed(const CDPoint& first, const CDPoint& last, const CDPoint& target,
                                  int end) {
  const bool firstTouches = first == target;
  if (!firstTouches && last != target) return std::nullopt;
  return firstTouches == (end == 0);
}

// An edge of a polygon, its ends in the polygon's order.
using Edge = std::array<CDPoint, 2>;

bool IsSameEdge(const Edge& a, const Edge& b) {
  return (a[0] == b[0] && a[1] == b[1]) || (a[0] == b[1] && a[1] == b[0]);
}

// The edges of all shapes that no other edge coincides with: an edge that two polygons share
// lies inside, and both members of every coinciding pair go.
std::vector<Edge> OutlineEdges(const CDPolyArray& shapes) {
  std::size_t count = 0;
  for (int k = 0; k < shapes.GetSize(); ++k) {
    count += static_cast<std::size_t>(std::max(shapes.GetAt(k)->GetSize() - 1, 0));
  }
  std::vector<Edge> edges;
  edges.reserve(count);
  for (int k = 0; k < shapes.GetSize(); ++k) {
    const CDPoly& shape = *shapes.GetAt(k);
    for (int i = 0; i + 1 < shape.GetSize(); ++i) {
      edges.push_back({*shape.GetAt(i), *shape.GetAt(i + 1)});
    }
  }
  for (std::size_t i = 0; i < edges.size();) {
    const auto twin = std::find_if(edges.begin() + static_cast<std::ptrdiff_t>(i) + 1, edges.end(),
                                   [&](const Edge& e) { return IsSameEdge(edges[i], e); });
    if (twin == edges.end()) {
      ++i;
      continue;
    }
    edges.erase(twin);
    edges.erase(edges.begin() + static_cast<std::ptrdiff_t>(i));
  }
  return edges;
}

// Puts the first edge that has an end at the chain's first point (end 0) or last point (end 1)
// there, both its ends in the chain's direction, until none is left; the edges put are removed.
// The chain keeps the repeated point of each joint.
void GrowChain(std::vector<CDPoint>& chain, std::vector<Edge>& edges, int end) {
  while (true) {
    const CDPoint& target = end == 0 ? chain.front() : chain.back();
    std::optional<bool> joins;
    const auto next = std::find_if(edges.begin(), edges.end(), [&](const Edge& e) {
      joins = JoinsReversed(e[0], e[1], target, end);
      return joins.has_value();
    });
    if (next == edges.end()) return;
    const bool reversed = *joins;
    const CDPoint& first = (*next)[reversed ? 1 : 0];
    const CDPoint& second = (*next)[reversed ? 0 : 1];
    const auto at = end == 0 ? chain.begin() : chain.end();
    chain.insert(at, {first, second});
    edges.erase(next);
  }
}

// Puts the line's points before the chain's first point (end 0) or after its last point (end 1)
// so that the line runs on with the chain; reversed tells that it runs against it.
void Attach(CDPoly& chain, const CDPoly& line, int end, bool reversed) {
  const int n = line.GetSize();
  // In the chain's direction the line's points come in this order.
  std::vector<CDPoint> run;
  for (int j = 0; j < n; ++j) run.push_back(*line.GetAt(reversed ? n - 1 - j : j));
  if (end == 0) {
    for (auto it = run.rbegin(); it != run.rend(); ++it) {
      chain.InsertAt(0, std::make_shared<CDPoint>(*it));
    }
  } else {
    for (const CDPoint& p : run) chain.Add(std::make_shared<CDPoint>(p));
  }
}

// Attaches matching lines at one end of the chain until none is left there.
void Grow(CDPoly& chain, CDPolyArray& lines, int end) {
  bool reversed = false;
  int index = -1;
  while (const CDPoly* line = lines.FindNext(&chain, end, reversed, index)) {
    Attach(chain, *line, end, reversed);
    lines.RemoveAt(index);
  }
}

}  // namespace

// ---- Stratum polygons of a section ----

std::unique_ptr<CDPolyArray> CDPolyArray::CreatePolygon(double baseY) const {
  if (IsEmpty() || GetAt(0)->GetSize() < 2) return nullptr;
  auto lines = Copy();
  std::unique_ptr<CDPolyArray> faces;
  if (!IsIncludingStratumLine()) {
    faces = lines->RoundAtBaseline(baseY);
  } else {
    lines->EraseSameSection();
    lines->AddBaseLine(baseY);
    lines->StretchStartPoint();
    lines->InsCrossPoint();
    auto pieces = lines->MakeKukan();
    pieces->InitFlag(1);
    faces = pieces->JointShapes(kMinFaceArea);
  }
  if (faces->IsEmpty()) return nullptr;
  faces->SortPosition();
  for (int i = 0; i < faces->GetSize(); ++i) {
    faces->GetAt(i)->SetName(kStratumNameBase + std::to_string(i + 1));
  }
  return faces;
}

std::unique_ptr<CDPolyArray> CDPolyArray::CreatePolygon_RoundEdge() const {
  if (IsEmpty() || GetAt(0)->GetSize() < 2) return nullptr;
  if (!IsIncludingStratumLine()) {
    auto block = std::make_unique<CSpStratumBlock>();
    block->CopyPoints(GetAt(0));
    auto result = std::make_unique<CDPolyArray>();
    result->Add(std::move(block));
    return result;
  }
  auto lines = Copy();
  lines->EraseSameSection();
  lines->InsCrossPoint();
  auto pieces = lines->MakeKukan();
  // Without a base line every piece may bound a face on either side.
  pieces->InitFlag(0);
  auto faces = pieces->JointShapes(0);
  if (faces->IsEmpty()) return nullptr;
  return faces;
}

bool CDPolyArray::IsIncludingStratumLine() const {
  return GetSize() >= 2 && GetAt(1)->GetSize() > 1;
}

std::unique_ptr<CDPolyArray> CDPolyArray::RoundAtBaseline(double baseY) const {
  if (IsEmpty() || GetAt(0)->GetSize() < 2) return nullptr;
  const CDPoly& ground = *GetAt(0);
  const SectionFrame frame = FrameOf(ground, baseY);
  auto block = std::make_unique<CSpStratumBlock>();
  block->CopyPoints(&ground);
  if (ground.GetLastPt()->x > ground.GetFirstPt()->x) {
    block->Add(frame.right.x, frame.base);
    block->Add(frame.left.x, frame.base);
    block->Add(frame.left.x, frame.left.y);
  } else {
    block->Add(frame.left.x, frame.base);
    block->Add(frame.right.x, frame.base);
    block->Add(frame.right.x, frame.right.y);
  }
  auto result = std::make_unique<CDPolyArray>();
  result->Add(std::move(block));
  return result;
}

void CDPolyArray::EraseSameSection() {
  if (IsEmpty()) return;
  const CDPoly& ground = *shapes_.front();
  ShapeList rebuilt;
  for (std::size_t i = 1; i < shapes_.size(); ++i) {
    for (auto& run : RunsOffGround(*shapes_[i], ground)) rebuilt.push_back(std::move(run));
  }
  while (GetSize() > 1) RemoveAt(GetSize() - 1);
  for (auto& line : rebuilt) shapes_.push_back(std::move(line));
  for (const auto& shape : shapes_) shape->SetUseCount(0);
}

void CDPolyArray::AddBaseLine(double baseY) {
  if (IsEmpty()) return;
  const SectionFrame frame = FrameOf(*shapes_.front(), baseY);
  // An end of the ground that lies on the base level under its lowest point is the base line's
  // own corner there.
  const CDPoint underBottom(frame.bottom.x, frame.base);
  auto base = std::make_unique<CDPoly>();
  if (frame.left != underBottom) base->Add(frame.left);
  base->Add(frame.left.x, frame.base);
  base->Add(frame.right.x, frame.base);
  if (frame.right != underBottom) base->Add(frame.right);
  Add(std::move(base));
}

void CDPolyArray::StretchStartPoint() {
  for (const auto& shape : shapes_) shape->StretchStartPoint(this);
}

void CDPolyArray::InsCrossPoint() {
  // Each shape against itself too: that closes near-closed shapes and inserts self-crossings.
  for (std::size_t i = 0; i < shapes_.size(); ++i) {
    for (std::size_t j = i; j < shapes_.size(); ++j) {
      shapes_[i]->InsCrossPoint(shapes_[j].get(), true);
    }
  }
  for (const auto& shape : shapes_) {
    shape->DelSamePoint(kSamePoint);
    shape->TrimStartpoint();
  }
}

std::unique_ptr<CDPolyArray> CDPolyArray::MakeKukan() {
  auto pieces = std::make_unique<CDPolyArray>();
  for (const auto& shape : shapes_) {
    shape->DelSamePoint(kSamePoint);
    AppendAll(*pieces, shape->MakeKukan());
  }
  pieces->DeleteBlindShape();
  return pieces;
}

void CDPolyArray::DeleteBlindShape() {
  // One pass: a piece deleted here no longer holds up the pieces after it.
  for (int i = 0; i < GetSize();) {
    if (IsDeadEnd(GetAt(i), *this)) {
      RemoveAt(i);
    } else {
      ++i;
    }
  }
}

void CDPolyArray::InitFlag(int f) {
  for (const auto& shape : shapes_) shape->SetUseCount(0);
  if (f != 0 && !IsEmpty()) {
    // The outer pieces (on the ground and on the base line) bound only the face inside.
    shapes_.front()->SetUseCount(1);
    shapes_.back()->SetUseCount(1);
  }
}

// ---- Tracing faces ----

std::unique_ptr<CDPolyArray> CDPolyArray::JointShapes(double minArea) {
  auto faces = std::make_unique<CDPolyArray>();
  AcceptedFaces accepted;
  for (std::size_t i = 0; i < shapes_.size(); ++i) {
    CDPoly* start = shapes_[i].get();
    for (int reverse = 0; reverse <= 1; ++reverse) {
      const std::vector<CDPoly*> chain = ListupJoinShapes(start, reverse);
      if (chain.empty()) continue;
      auto face = MakeJoinFromList(chain, reverse);
      const double area = face->GetArea();
      // A clockwise face is the outside of the faces it surrounds.
      if (!(area > 0 && area >= minArea) || accepted.Contains(chain)) continue;
      for (CDPoly* piece : chain) piece->SetUseCount(piece->GetUseCount() + 1);
      GiveUpPoints(chain);
      accepted.Add(chain);
      faces->Add(std::move(face));
      break;
    }
  }
  return faces;
}

std::vector<CDPoly*> CDPolyArray::ListupJoinShapes(CDPoly* start, int reverse) {
  if (start == nullptr || start->GetUseCount() > 1 || start->GetSize() == 0) return {};
  std::vector<CDPoly*> chain{start};
  if (IsClosed(*start)) return chain;

  CDPoly path;  // the points walked so far
  Walk(path, *start, reverse != 0, false);
  const CDPoint origin = *path.GetFirstPt();
  const CDPoly* current = start;
  // A walk through more pieces than there are has run into a loop that misses its start.
  for (int step = 0; step < GetSize(); ++step) {
    int nextReverse = 0;
    CDPoly* next = SearchNextShape(current, &path, nextReverse);
    if (next == nullptr) return {};
    Walk(path, *next, nextReverse != 0, true);
    chain.push_back(next);
    if (*path.GetLastPt() == origin) return chain;
    current = next;
  }
  return {};
}

CDPoly* CDPolyArray::SearchNextShape(const CDPoly* current, const CDPoly* chain, int& reverse) {
  const int n = chain->GetSize();
  if (n < 2) return nullptr;
  const CDPoint& q = *chain->GetAt(n - 1);
  const CDPoint& r = *chain->GetAt(n - 2);
  const double back = MyAtan(&q, &r);

  CDPoly* best = nullptr;
  int bestReverse = 0;
  double bestTurn = 0;
  for (const auto& shape : shapes_) {
    CDPoly* piece = shape.get();
    const int size = piece->GetSize();
    if (piece == current || size < 2) continue;
    const CDPoint* b = nullptr;
    int pieceReverse = 0;
    if (*piece->GetFirstPt() == q) {
      b = piece->GetAt(1);
    } else if (*piece->GetLastPt() == q) {
      b = piece->GetAt(size - 2);
      pieceReverse = 1;
    } else {
      continue;
    }
    // The angle from the way out back to the way in, counter-clockwise: the smallest is the
    // sharpest turn to the left.
    double turn = back - MyAtan(&q, b);
    if (turn < 0) turn += kTwoPi;
    if (best == nullptr || turn < bestTurn) {
      best = piece;
      bestReverse = pieceReverse;
      bestTurn = turn;
    }
  }
  if (best == nullptr || best->GetUseCount() >= 2) return nullptr;
  reverse = bestReverse;
  return best;
}

std::unique_ptr<CSpStratumBlock> CDPolyArray::MakeJoinFromList(const std::vector<CDPoly*>& chain,
                                                               int reverse) {
  auto block = std::make_unique<CSpStratumBlock>();
  for (std::size_t k = 0; k < chain.size(); ++k) {
    const CDPoly& piece = *chain[k];
    const int n = piece.GetSize();
    if (n == 0) continue;
    const bool first = block->GetSize() == 0;
    const bool backward = first ? reverse != 0 : *piece.GetFirstPt() != *block->GetLastPt();
    // A piece walked twice (there and back) gives its objects only once.
    const bool given = std::find(chain.begin(), chain.begin() + k, chain[k]) != chain.begin() + k;
    for (int j = first ? 0 : 1; j < n; ++j) {
      std::shared_ptr<CDPoint> p = piece.GetShared(backward ? n - 1 - j : j);
      block->Add(given ? std::make_shared<CDPoint>(*p) : std::move(p));
    }
  }
  block->DelSamePoint(kSamePoint);
  return block;
}

void CDPolyArray::SortPosition() {
  for (const auto& shape : shapes_) shape->CalcInnerPoint();
  const std::size_t n = shapes_.size();
  for (std::size_t i = 0; i < n; ++i) {
    for (std::size_t j = i + 1; j < n; ++j) {
      if (shapes_[j]->GetInnerPoint().y > shapes_[i]->GetInnerPoint().y) {
        std::swap(shapes_[i], shapes_[j]);
      }
    }
  }
  for (std::size_t i = 0; i < n; ++i) {
    for (std::size_t j = i + 1; j < n; ++j) {
      const CDPoint innerI = shapes_[i]->GetInnerPoint();
      const CDPoint innerJ = shapes_[j]->GetInnerPoint();
      const bool nested = shapes_[i]->PolyRgn(&innerJ) || shapes_[j]->PolyRgn(&innerI);
      if (nested && std::fabs(shapes_[i]->GetArea()) < std::fabs(shapes_[j]->GetArea())) {
        std::swap(shapes_[i], shapes_[j]);
      }
    }
  }
}

void CDPolyArray::ComparePoints(CDPoly* a, CDPoly* b) {
  if (a == nullptr || b == nullptr || a == b) return;
  for (const auto& p : a->Points()) {
    const int k = b->FindJustPoint(p.get());
    if (k < 0) continue;
    p->flag = 1;
    b->GetAt(k)->flag = 1;
  }
}

void CDPolyArray::DelUnderOrUpperPolygon(const CDPoly* line, int mode) {
  if (line == nullptr || (mode != 0 && mode != 1)) return;
  for (int i = GetSize() - 1; i >= 0; --i) {
    const CDPoint inner = GetAt(i)->CalcInnerPoint();
    const std::optional<double> height = HeightOnSegments(*line, inner.x);
    if (!height) continue;
    if ((mode == 1 && inner.y < *height) || (mode == 0 && inner.y > *height)) RemoveAt(i);
  }
}

// ---- Cutting polygons ----

std::unique_ptr<CDPolyArray> CDPolyArray::AddPolyWithLine(const CDPoly* outline,
                                                          const CDPoly* line) {
  const ScopedSmallLimit exactCrossings(0);
  if (outline == nullptr || line == nullptr) return std::make_unique<CDPolyArray>();
  CDPolyArray lines;
  CDPoly* outlineCopy = lines.GetAt(lines.Add(outline->PlainCopy()));
  CDPoly* lineCopy = lines.GetAt(lines.Add(line->PlainCopy()));
  ComparePoints(outlineCopy, lineCopy);
  outlineCopy->StretchStartPoint(&lines);
  lineCopy->StretchStartPoint(&lines);
  lines.InsCrossPoint();
  auto pieces = lines.MakeKukan();
  pieces->InitFlag(1);
  auto faces = pieces->JointShapes(kMinFaceArea);
  faces->DelUnderOrUpperPolygon(outline, 1);
  return faces;
}

std::unique_ptr<CDPolyArray> CDPolyArray::CutPolyWithLine(const CDPoly* outline, const CDPoly* line,
                                                          int keepAbove) const {
  const ScopedSmallLimit tolerance(kCutTolerance);
  if (outline == nullptr || line == nullptr || outline->GetSize() < 2 || line->GetSize() < 2) {
    return Copy();
  }
  auto blocks = Copy();
  const std::unique_ptr<CDPoly> cut = line->PlainCopy();
  for (const auto& block : blocks->shapes_) ComparePoints(block.get(), cut.get());
  cut->StretchStartPoint(blocks.get());
  cut->DelSamePoint(kSamePoint);

  auto faces = std::make_unique<CDPolyArray>();
  for (const auto& block : blocks->shapes_) {
    block->DelSamePoint(kSamePoint);
    AppendAll(*faces, block->CutPolyWithLine(cut.get()));
  }
  const bool deleteAbove = keepAbove == 0;
  for (int i = faces->GetSize() - 1; i >= 0; --i) {
    if (LiesAbove(*faces->GetAt(i), *cut, *outline) == deleteAbove) faces->RemoveAt(i);
  }
  DeleteSmallFaces(*faces, kMinCutArea);
  return faces;
}

std::unique_ptr<CDPolyArray> CDPolyArray::CreatePlanPolygon(const CDPoly* newGround) {
  for (const auto& shape : shapes_) shape->DelSamePoint(kSamePoint);
  if (newGround == nullptr) return Copy();
  const std::unique_ptr<CSpGround> topo = CreateTopoFromStratum();
  const std::unique_ptr<CDPolyArray> leaving = newGround->CreateDeffSection(topo.get());
  if (leaving->IsEmpty()) return Copy();

  // Only the first change of the ground line is followed: the faces it adds above the old
  // outline, and the old polygons cut off where it runs lower.
  const CDPoly* change = leaving->GetAt(0);
  auto faces = AddPolyWithLine(topo.get(), change);
  AppendAll(*faces, CutPolyWithLine(topo.get(), change, 0));
  TakeMissingProps(*faces, newGround);
  for (int i = 0; i < faces->GetSize(); ++i) faces->GetAt(i)->CalcInnerPoint();
  return faces;
}

// ---- The upper outline ----

std::unique_ptr<CSpGround> CDPolyArray::CreateTopoFromStratum() const {
  // The outline's edges as plain values: a search starts here, and an object per edge would
  // cost it hundreds of allocations.
  std::vector<Edge> edges = OutlineEdges(*this);
  if (edges.empty()) return nullptr;
  // The chain through the first edge, grown at its start and then at its end.
  std::vector<CDPoint> points;
  points.reserve(2 * edges.size());
  points.assign(edges.front().begin(), edges.front().end());
  edges.erase(edges.begin());
  GrowChain(points, edges, 0);
  GrowChain(points, edges, 1);
  CDPoly chain;
  chain.CopyPoints(points);
  chain.DelSamePoint(kSamePoint);
  return chain.PolyToTopograph();
}

std::unique_ptr<CDPolyArray> CDPolyArray::JointEasy() const {
  auto lines = Copy();
  auto chains = std::make_unique<CDPolyArray>();
  while (!lines->IsEmpty()) {
    std::unique_ptr<CDPoly> chain = lines->Release(0);
    if (chain->GetSize() == 0) continue;
    Grow(*chain, *lines, 0);
    Grow(*chain, *lines, 1);
    chains->Add(std::move(chain));
  }
  for (const auto& chain : chains->shapes_) chain->DelSamePoint(kSamePoint);
  return chains;
}

const CDPoly* CDPolyArray::FindNext(const CDPoly* chain, int end, bool& reversed,
                                    int& index) const {
  const CDPoint* target = end == 0 ? chain->GetFirstPt() : chain->GetLastPt();
  if (target == nullptr) return nullptr;
  for (int i = 0; i < GetSize(); ++i) {
    const CDPoly* line = GetAt(i);
    if (line->GetSize() == 0) continue;
    const std::optional<bool> joins =
        JoinsReversed(*line->GetFirstPt(), *line->GetLastPt(), *target, end);
    if (!joins) continue;
    reversed = *joins;
    index = i;
    return line;
  }
  return nullptr;
}

// ---- Members of the polyline ----

std::unique_ptr<CDPolyArray> CDPoly::CutPolyWithLine(const CDPoly* line) const {
  // The polygon's pieces bound only the faces inside it; the line's pieces bound one on either
  // side.
  std::unique_ptr<CDPoly> polygon = Copy();
  polygon->SetUseCount(1);
  std::unique_ptr<CDPoly> cut = line != nullptr ? line->PlainCopy() : std::make_unique<CDPoly>();
  cut->SetUseCount(0);
  polygon->InsCrossPoint(cut.get(), true);

  CDPolyArray parts;
  const CDPoly* outline = parts.GetAt(parts.Add(std::move(polygon)));
  auto linePieces = cut->MakeKukan();
  while (!linePieces->IsEmpty()) {
    std::unique_ptr<CDPoly> piece = linePieces->Release(0);
    if (piece->GetSize() < 2) continue;
    const CDPoint middle = (*piece->GetAt(0) + *piece->GetAt(1)) / 2;
    if (outline->PolyRgn(&middle)) parts.Add(std::move(piece));
  }
  auto faces = parts.MakeKukan()->JointShapes(kMinFaceArea);
  if (faces->IsEmpty()) faces->Add(Copy());
  for (int i = 0; i < faces->GetSize(); ++i) faces->GetAt(i)->SetProperty(this);
  return faces;
}

std::unique_ptr<CSpGround> CDPoly::PolyToTopograph() {
  const int n = GetSize();
  if (n < 2) return nullptr;
  // Clockwise, the walk from the leftmost to the rightmost vertex runs over the top.
  if (GetArea() > 0) Reverse();
  const CDPoint left = Left();
  const CDPoint right = Right();
  const int from = FindJustPoint(&left);
  int to = FindJustPoint(&right);
  // Coordinates that are not numbers leave no vertex leftmost or rightmost.
  if (from < 0 || to < 0) return nullptr;
  // The last vertex of a closed polygon repeats the first: the walk goes on after the first, and
  // reaching the last is reaching the first.
  const bool closed = IsClosed(*this);
  if (closed && to == 0) to = n - 1;
  const int wrapTo = closed ? 1 : 0;

  std::vector<CDPoint> top;
  top.reserve(static_cast<std::size_t>(n));
  for (int i = from, step = 0; step < n; ++step) {
    top.push_back(*points_[static_cast<std::size_t>(i)]);
    if (i == to) break;
    i = i + 1 < n ? i + 1 : wrapTo;
  }
  auto ground = std::make_unique<CSpGround>();
  ground->CopyPoints(top);
  LeftToRight();
  return ground;
}

std::unique_ptr<CDPolyArray> CDPoly::CreateDeffSection(const CDPoly* other) const {
  auto pieces = std::make_unique<CDPolyArray>();
  if (other == nullptr || GetSize() < 2) return pieces;
  std::unique_ptr<CDPoly> open;  // the piece being collected
  CDPoint openEnd;               // where it ends so far
  for (std::size_t i = 0; i + 1 < points_.size(); ++i) {
    const CDPoint& a = *points_[i];
    const CDPoint& b = *points_[i + 1];
    const CDPoint probe(a.x + (b.x - a.x) * kLeavingProbe, a.y + (b.y - a.y) * kLeavingProbe);
    double dist = kAreaNotSet;
    int segment = -1;
    other->GetOnlineNear(&probe, dist, segment);
    if (dist > kLeavingGap) {
      if (!open) open = std::make_unique<CDPoly>();
      open->Add(std::make_shared<CDPoint>(a));
      openEnd = b;
    } else if (open) {
      open->Add(std::make_shared<CDPoint>(openEnd));
      pieces->Add(std::move(open));
    }
  }
  if (open) {
    open->Add(std::make_shared<CDPoint>(openEnd));
    pieces->Add(std::move(open));
  }
  return pieces;
}
