// CSpSlide: the entered slide line, its record, validation, reversal and the building of the
// working slide surface.

#include "core/section/SpSlide.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <stdexcept>
#include <string_view>
#include <utility>

#include "core/base/ArchiveCount.h"
#include "core/base/Constants.h"
#include "core/base/CoreConfig.h"
#include "core/base/InputRange.h"
#include "core/geometry/DArc.h"
#include "core/geometry/DPolyArray.h"
#include "core/geometry/RecordCheck.h"
#include "core/geometry/ViewInfo.h"
#include "core/section/SpSlideWork.h"
#include "platform/Archive.h"
#include "platform/Canvas.h"

namespace {

constexpr int kMaxStyle = 5;
constexpr int kMaxStrengthType = 5;
// Tolerance of the crossings counted with a stratum polygon.
constexpr double kCrossTolerance = 1e-6;

// A radius that is not positive or lies beyond the coordinate range becomes no value; the others
// are rounded while the process-wide rounding switch is on.
double ValidRadius(double r) {
  if (r == kNoValue) return r;
  if (r <= 0 || r > kCoordinateLimit) return kNoValue;
  return CCoreConfig::GetRound(r, kRoundCode3Decimals);
}

int PenWidth(const CViewInfo& view, bool bold) {
  if (view.IsPrint()) return 3;
  return bold ? 2 : 1;
}

void RequireIndex(int i) {
  if (i < 0) throw std::out_of_range("CSpSlide: negative vertex index");
}

unsigned EntryOrZero(const std::vector<unsigned>& entries, int i) {
  RequireIndex(i);
  return static_cast<std::size_t>(i) < entries.size() ? entries[static_cast<std::size_t>(i)] : 0u;
}

unsigned& GrownEntry(std::vector<unsigned>& entries, int i) {
  RequireIndex(i);
  const auto index = static_cast<std::size_t>(i);
  if (entries.size() <= index) entries.resize(index + 1, 0u);
  return entries[index];
}

// The arc mode of CDArc::Set2L for the arc-joint styles 2 to 5.
int ArcModeOfStyle(int style) {
  switch (style) {
    case 2:
      return 3;
    case 3:
      return 2;
    case 4:
      return 0;
    default:
      return 1;
  }
}

}  // namespace

CSpSlide::CSpSlide()
    : CDPoly(kKindSlide), styles_(kInitialEntries, 0u), strengths_(kInitialEntries, 0u) {
  SetName("すべり面");
}

// ---- Record ----

void CSpSlide::Store(Archive& ar, int /*version*/) const {
  ar.WriteString(GetName());
  ar << static_cast<std::int32_t>(GetSize());
  ar << centreX_ << centreY_ << radius_;
  for (int i = 0; i < GetSize(); ++i) {
    const CDPoint& p = *GetAt(i);
    ar << p.x << p.y << static_cast<std::uint32_t>(EntryOrZero(styles_, i))
       << static_cast<std::uint32_t>(EntryOrZero(strengths_, i));
  }
}

void CSpSlide::Load(Archive& ar, int /*version*/) {
  std::string name = ar.ReadString();
  const std::int32_t n =
      ReadCount(ar, 2 * sizeof(double) + 2 * sizeof(std::uint32_t), "slide line point count");
  double cx = 0;
  double cy = 0;
  double r = 0;
  ar >> cx >> cy >> r;
  // The arrays hold at least the usual 400 entries and always every stored vertex.
  const auto size =
      std::max(static_cast<std::size_t>(n), static_cast<std::size_t>(kInitialEntries));
  std::vector<unsigned> styles(size, 0u);
  std::vector<unsigned> strengths(size, 0u);
  PointList points;
  for (std::int32_t i = 0; i < n; ++i) {
    auto p = std::make_shared<CDPoint>();
    std::uint32_t style = 0;
    std::uint32_t strength = 0;
    ar >> p->x >> p->y >> style >> strength;
    points.push_back(std::move(p));
    styles[static_cast<std::size_t>(i)] = style;
    strengths[static_cast<std::size_t>(i)] = strength;
  }
  constexpr std::string_view kRecord = "slide line record";
  record_check::RequirePoints(kRecord, points);
  record_check::RequireFinite(kRecord, "circle centre x", cx);
  record_check::RequireFinite(kRecord, "circle centre y", cy);
  record_check::RequireFinite(kRecord, "circle radius", r);
  SetName(name);
  DeleteAll();
  for (auto& p : points) Add(std::move(p));
  styles_ = std::move(styles);
  strengths_ = std::move(strengths);
  centreX_ = cx;
  centreY_ = cy;
  radius_ = r;
}

// ---- Validation ----

void CSpSlide::ChangeValid() {
  CDPoly::ChangeValid();
  for (int i = 0; i < GetSize(); ++i) {
    if (GetStyle(i) < 0 || GetStyle(i) > kMaxStyle) SetStyle(i, 0);
    if (GetStrengthType(i) > kMaxStrengthType) SetStrengthType(i, 0);
  }
  centreX_ = RoundInRange(centreX_, -kCoordinateLimit, kCoordinateLimit, kRoundCodeX);
  centreY_ = RoundInRange(centreY_, -kCoordinateLimit, kCoordinateLimit, kRoundCodeY);
  radius_ = ValidRadius(radius_);
}

// ---- Copying ----

std::unique_ptr<CDPoly> CSpSlide::Copy() const {
  auto copy = std::make_unique<CSpSlide>();
  copy->CopySuberi(this);
  return copy;
}

void CSpSlide::Copy(const CSpSlide* other) { CopySuberi(other); }

void CSpSlide::CopySuberi(const CSpSlide* other) {
  if (other == this) return;
  SetName(other->GetName());
  CopyPoints(other);
  styles_ = other->styles_;
  strengths_ = other->strengths_;
  centreX_ = other->centreX_;
  centreY_ = other->centreY_;
  radius_ = other->radius_;
}

// ---- Styles and strengths ----

void CSpSlide::SetStyle(int i, int style) { GrownEntry(styles_, i) = static_cast<unsigned>(style); }

int CSpSlide::GetStyle(int i) const { return static_cast<int>(EntryOrZero(styles_, i)); }

void CSpSlide::SetStrengthIndex(int i, int index) {
  unsigned& word = GrownEntry(strengths_, i);
  word = slide_strength::WithIndex(word, index);
}

void CSpSlide::SetStrengthType(int i, int type) {
  unsigned& word = GrownEntry(strengths_, i);
  word = slide_strength::WithType(word, type);
}

int CSpSlide::GetStrengthIndex(int i) const {
  return slide_strength::Index(EntryOrZero(strengths_, i));
}

int CSpSlide::GetStrengthType(int i) const {
  return slide_strength::Type(EntryOrZero(strengths_, i));
}

void CSpSlide::SetStrengthSize(int n) {
  RequireIndex(n);
  strengths_.resize(static_cast<std::size_t>(n), 0u);
}

std::string CSpSlide::GetStyleString(int i) const {
  if (i >= GetSize() - 1) return {};
  const bool arc = GetStyle(i) != 0 || (i > 0 && GetStyle(i - 1) == 1);
  return arc ? "円弧" : "直線";
}

// ---- Vertices ----

CDPoint* CSpSlide::AddNewPoint(const CDPoint& point, int style, int type) {
  const int i = Add(std::make_shared<CDPoint>(point));
  SetStyle(i, style);
  SetStrengthType(i, type);
  return GetAt(i);
}

void CSpSlide::InsertPoint(int i, const CDPoint& point, int style, int type, int index) {
  InsertAt(i, std::make_shared<CDPoint>(point));
  // The entries of the later vertices move up with them.
  GrownEntry(styles_, i);
  GrownEntry(strengths_, i);
  styles_.insert(styles_.begin() + i, static_cast<unsigned>(style));
  strengths_.insert(strengths_.begin() + i,
                    slide_strength::WithIndex(slide_strength::WithType(0u, type), index));
}

void CSpSlide::DeletePoint(int i) {
  if (i < 0 || i >= GetSize()) return;
  RemoveAt(i);
  // The entries of the later vertices move down with them, over the whole length of the arrays.
  for (auto* entries : {&styles_, &strengths_}) {
    if (static_cast<std::size_t>(i) >= entries->size()) continue;
    entries->erase(entries->begin() + i);
    entries->push_back(0u);
  }
}

void CSpSlide::ReverseSuberi() {
  const int n = GetSize();
  if (n == 0) return;
  // The reversed line is the same line: it keeps its name and its circle.
  CSpSlide reversed;
  reversed.SetName(GetName());
  reversed.SetOR(centreX_, centreY_, radius_);
  for (int i = n - 1; i >= 0; --i) reversed.AddNewPoint(CDPoint(GetAt(i)->x, GetAt(i)->y), 0, 0);
  std::vector<bool> taken(static_cast<std::size_t>(n), false);
  const auto isTaken = [&taken](int j) { return taken[static_cast<std::size_t>(j)]; };
  for (int i = 0; i + 1 < n; ++i) {
    const int j = n - 2 - i;
    reversed.SetStrengthType(j, GetStrengthType(i));
    reversed.SetStrengthIndex(j, GetStrengthIndex(i));
    const int style = GetStyle(i);
    if (style == 1) {
      // A three-point arc keeps its three vertices: it starts at the old third one.
      const int arcStart = n - 3 - i;
      if (arcStart >= 0 && !isTaken(arcStart) && !isTaken(j)) {
        reversed.SetStyle(arcStart, 1);
        reversed.SetStyle(j, 0);
        taken[static_cast<std::size_t>(arcStart)] = true;
        taken[static_cast<std::size_t>(j)] = true;
      }
      continue;
    }
    if (isTaken(j)) continue;
    reversed.SetStyle(j, style == 2 ? 3 : style == 3 ? 2 : style);
  }
  CopySuberi(&reversed);
}

// ---- The working surface ----

std::unique_ptr<CSpSlideWork> CSpSlide::CreateDrawObj() const {
  auto work = std::make_unique<CSpSlideWork>();
  CreateDrawObjInto(*work);
  return work;
}

void CSpSlide::CreateDrawObjInto(CSpSlideWork& work) const {
  work.Clear();
  const int n = GetSize();
  const bool reversed = n > 1 && GetAt(0)->x > GetAt(n - 1)->x;
  const auto vertex = [this, n](int i) { return i >= 0 && i < n ? GetAt(i) : nullptr; };
  const auto addStraight = [&work](const CDPoint& p, int type) {
    work.AddNewPoint(CDPoint(p.x, p.y), nullptr, type);
  };
  const auto addArc = [&work](const CDPoint& p, const CDArc& arc, int type) {
    work.AddNewPoint(CDPoint(p.x, p.y), arc, type);
  };
  int i = 0;
  while (i < n) {
    const int style = i == n - 1 ? 0 : GetStyle(i);
    const int type = GetStrengthType(i);
    if (style == 1 && i + 3 <= n) {
      CDArc arc;
      if (arc.Set3P(vertex(i), vertex(i + 1), vertex(i + 2))) {
        addArc(*vertex(i), arc, type);
        i += 2;  // the middle vertex lies on the arc
        continue;
      }
    } else if (style >= 2 && style <= kMaxStyle) {
      int mode = ArcModeOfStyle(style);
      if (reversed && mode <= 1) mode = 1 - mode;
      CDArc arc;
      if (arc.Set2L(vertex(i - 1), vertex(i), vertex(i + 1), vertex(i + 2), mode)) {
        // The ends of the arc in the order of the line.
        const CDPoint arcFirst = reversed ? arc.GetEnd() : arc.GetStart();
        const CDPoint arcSecond = reversed ? arc.GetStart() : arc.GetEnd();
        if (mode == 0) {
          addArc(*vertex(i), arc, type);
          addStraight(arcSecond, GetStrengthType(i + 1));
          i += 2;
        } else {
          addArc(mode == 1 ? arcFirst : *vertex(i), arc, type);
          i += 1;
        }
        continue;
      }
    }
    // A straight segment; also an arc that cannot be built (too few vertices left, or points
    // on one line), which then runs straight through its vertices.
    addStraight(*vertex(i), type);
    i += 1;
  }
  work.LeftToRight();
}

// ---- Questions answered by the working surface ----

std::shared_ptr<const CSpSlideWork> CSpSlide::WorkCache::Get(const CSpSlide& line) {
  const std::lock_guard lock(mutex_);
  if (work_ != nullptr && IsCurrent(line)) return work_;
  std::vector<BuiltFrom> builtFrom;
  builtFrom.reserve(static_cast<std::size_t>(line.GetSize()));
  for (int i = 0; i < line.GetSize(); ++i) builtFrom.push_back(VertexOf(line, i));
  work_ = line.CreateDrawObj();
  builtFrom_ = std::move(builtFrom);
  return work_;
}

CSpSlide::WorkCache::BuiltFrom CSpSlide::WorkCache::VertexOf(const CSpSlide& line, int i) {
  // Through the list itself: GetAt would count a reference up and down for every vertex.
  const CDPoint& p = *line.Points()[static_cast<std::size_t>(i)];
  return {std::bit_cast<std::uint64_t>(p.x), std::bit_cast<std::uint64_t>(p.y),
          EntryOrZero(line.styles_, i), EntryOrZero(line.strengths_, i)};
}

bool CSpSlide::WorkCache::IsCurrent(const CSpSlide& line) const {
  if (builtFrom_.size() != static_cast<std::size_t>(line.GetSize())) return false;
  for (int i = 0; i < line.GetSize(); ++i) {
    if (builtFrom_[static_cast<std::size_t>(i)] != VertexOf(line, i)) return false;
  }
  return true;
}

double CSpSlide::GetY(double x) const { return Work()->GetY(x); }

int CSpSlide::GetCrossX(const CDPoint* p1, const CDPoint* p2, std::vector<double>& xs, int* pos,
                        const CDPoly* upper) const {
  return Work()->GetCrossX(p1, p2, xs, pos, upper);
}

bool CSpSlide::GetCrossPoint(const CDPoint* p, double angle, CDPoint* out, double tol) const {
  return Work()->GetCrossPoint(p, angle, out, tol);
}

bool CSpSlide::GetCrossPointArray(const CDPoint* p, double angle, CDPoly* out, double tol) const {
  return Work()->GetCrossPointArray(p, angle, out, tol);
}

std::unique_ptr<CDArc> CSpSlide::GetArc(double x) const {
  const auto work = Work();
  const CDArc* arc = work->GetArc(x);
  return arc != nullptr ? arc->Copy() : nullptr;
}

double CSpSlide::GetBottomAngle(double x) const { return Work()->GetBottomAngle(x); }

double CSpSlide::GetY_linear(double x) const {
  CDPoly straight;
  straight.CopyPoints(Work().get());
  return straight.GetY(x);
}

int CSpSlide::CorrectSlideObj(const CSpGround* ground, CDPolyArray* pieces, bool noStretch) const {
  return Work()->CorrectSlideObj(ground, pieces, noStretch);
}

int CSpSlide::GetCrossCountTiso(const CDPoly* polygon) const {
  CDPoly crossings;
  if (!Work()->GetCrossPointArray(polygon, &crossings, false, kCrossTolerance)) return 0;
  std::vector<CDPoint> distinct;
  for (const auto& p : crossings.Points()) {
    if (std::find(distinct.begin(), distinct.end(), *p) == distinct.end()) distinct.push_back(*p);
  }
  return static_cast<int>(distinct.size());
}

int CSpSlide::Get3PStrength(double x, int& out) const {
  return ThreePointStrength(
      GetSize(), x, out, [this](int i) { return GetStyle(i); },
      [this](int i) { return GetAt(i)->x; }, [this](int i) { return GetStrengthType(i); });
}

// ---- Strength settings over the segments ----

bool CSpSlide::AnySegment(bool (*test)(int type)) const {
  for (int i = 0; i + 1 < GetSize(); ++i) {
    // A segment without an entry counts as back analysis tied to the calculation (type 0).
    const bool hasEntry = static_cast<std::size_t>(i) < strengths_.size();
    if (test(hasEntry ? GetStrengthType(i) : 0)) return true;
  }
  return false;
}

bool CSpSlide::IsIncludeRev() const {
  return AnySegment([](int type) { return type == 0 || type == 1; });
}

bool CSpSlide::IsCalcRevRelation() const {
  return IsIncludeRev() && AnySegment([](int type) { return type == 0; });
}

bool CSpSlide::IsIncludeTisoti() const {
  return AnySegment([](int type) { return type == 2 || type == 3; });
}

bool CSpSlide::IsIncludeSiteiti(int k) const {
  if (k == 0) return AnySegment([](int type) { return type == 4; });
  if (k == 1) return AnySegment([](int type) { return type == 5; });
  return false;
}

bool CSpSlide::IsValidSpecif() const {
  if (GetSize() < 2) return false;
  return std::all_of(Points().begin(), Points().end(),
                     [](const auto& p) { return p->x != kNoValue && p->y != kNoValue; });
}

// ---- The circle kept with the line ----

void CSpSlide::SetOR(double x, double y, double r) {
  centreX_ = x;
  centreY_ = y;
  radius_ = r;
}

void CSpSlide::GetOR(double& x, double& y, double& r) const {
  x = centreX_;
  y = centreY_;
  r = radius_;
}

// ---- Drawing ----

void CSpSlide::Draw(CViewInfo* view, int bold, int from, int to) const {
  if (GetSize() == 0) return;
  Canvas& canvas = *view->dc;
  const ScopedPen pen(canvas, Pen{PenStyle::Solid, PenWidth(*view, bold != 0), kRed});
  const auto work = CreateDrawObj();
  if (m_pTopo != nullptr && m_bDrawCorrect) {
    CDPolyArray pieces;
    const int count = work->CorrectSlideObj(m_pTopo, &pieces, false);
    if (count == 0) {
      work->Draw(view, 1, from, to);
    } else {
      for (int k = 0; k < (m_bDrawPure ? count : 1); ++k) pieces.GetAt(k)->Draw(view, 1, from, to);
    }
  } else {
    work->Draw(view, bold, from, to);
  }
  if (bShowHilight != 0) DrawHandles(*view, from, to);
}

void CSpSlide::DrawHandles(const CViewInfo& view, int from, int to) const {
  Canvas& canvas = *view.dc;
  for (int i = 0; i < GetSize(); ++i) {
    const CDPoint& p = *GetAt(i);
    if (p.x == kNoValue || p.y == kNoValue) continue;
    // With to = -1 only the vertex `from` is marked large, otherwise the vertices from..to.
    const bool large = to == -1 ? i == from : (from <= i && i <= to);
    view.Point(canvas, p, large);
  }
}

void CSpSlide::DrawWithColor(CViewInfo* view, bool bold, Color colour) const {
  const ScopedPen pen(*view->dc, Pen{PenStyle::Solid, PenWidth(*view, bold), colour});
  CreateDrawObj()->Draw(view, 0, -1, -1);
}

// ---- Process-wide settings ----

void CSpSlide::SetShowABC(int show) {
  ChangeSettings([show](CoreSettings& settings) { settings.m_bShowABC = show; });
}

void CSpSlide::SetStretchParam(int typeHead, int typeTail, double angleHead, double angleTail,
                               int strengthHead, int strengthTail) {
  const StretchParam stretch{typeHead, typeTail, angleHead, angleTail, strengthHead, strengthTail};
  ChangeSettings([&stretch](CoreSettings& settings) { settings.stretch = stretch; });
}

void CSpSlide::SerializeStaticMember(Archive& ar) {
  // Storing leaves the copy as it was; a load that fails leaves the current settings unchanged.
  ChangeSettings([&ar](CoreSettings& settings) { SerializeStaticMember(ar, settings); });
}

void CSpSlide::SerializeStaticMember(Archive& ar, CoreSettings& settings) {
  StretchParam& stretch = settings.stretch;
  if (ar.IsStoring()) {
    ar << static_cast<std::int32_t>(stretch.strengthTail)
       << static_cast<std::int32_t>(stretch.strengthHead)
       << static_cast<std::int32_t>(stretch.typeTail) << static_cast<std::int32_t>(stretch.typeHead)
       << stretch.angleTail << stretch.angleHead << static_cast<std::int32_t>(settings.m_bShowABC);
    return;
  }
  std::int32_t strengthTail = 0;
  std::int32_t strengthHead = 0;
  std::int32_t typeTail = 0;
  std::int32_t typeHead = 0;
  double angleTail = 0;
  double angleHead = 0;
  std::int32_t showABC = 0;
  ar >> strengthTail >> strengthHead >> typeTail >> typeHead >> angleTail >> angleHead >> showABC;
  stretch = {typeHead, typeTail, angleHead, angleTail, strengthHead, strengthTail};
  settings.m_bShowABC = showABC;
}

// ---- Drawing switches ----

void CSpSlide::ForgetTopograph(const CSpGround* ground) {
  if (m_pTopo == ground) m_pTopo = nullptr;
}
