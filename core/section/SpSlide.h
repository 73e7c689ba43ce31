#pragma once
// The slide line as the engineer enters it: a polyline whose vertices carry, for the segment
// that starts at each vertex, a segment style (straight or part of an arc) and a strength word
// (where the shear strength of that segment comes from). Every geometric question is answered
// by the working slide surface built from it (CSpSlideWork), whose arcs are real circular arcs.
//
// Segment styles: 0 straight; 1 a three-point arc through this vertex, the next and the one
// after; 2 an arc to the next vertex tangent there to the line from the vertex after it; 3 an
// arc to the next vertex tangent here to the line from the previous vertex; 4 and 5 the fillet
// between the line into this vertex and the line out of the next one, touching the first line
// here (4) or the second line at the next vertex (5).
//
// Strength word: low 16 bits the strength index, high 16 bits the strength type: 0 and 1 back
// analysis (0 also tied to the calculation), 2 the stratum's c and phi, 3 the stratum's phi with
// c = 0, 4 and 5 specified values.

#include <algorithm>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "core/base/CoreSettings.h"
#include "core/geometry/DPoly.h"
#include "platform/DevTypes.h"

class Archive;
class CDArc;
class CDPolyArray;
class CSpGround;
class CSpSlideWork;
class CViewInfo;

// The two halves of a strength word (shared by the slide line and the working surface).
namespace slide_strength {
constexpr int Type(unsigned word) { return static_cast<int>(word >> 16); }
constexpr int Index(unsigned word) { return static_cast<int>(word & 0xFFFFu); }
constexpr unsigned WithType(unsigned word, int type) {
  return (word & 0xFFFFu) | ((static_cast<unsigned>(type) & 0xFFFFu) << 16);
}
constexpr unsigned WithIndex(unsigned word, int index) {
  return (word & 0xFFFF0000u) | (static_cast<unsigned>(index) & 0xFFFFu);
}
}  // namespace slide_strength

// CSpSlide::Get3PStrength over n vertices given by their style, x and strength type: for the
// second segment of a three-point arc whose x range holds x, its start vertex's type in out, and
// 1; else 0.
template <class StyleAt, class XAt, class TypeAt>
int ThreePointStrength(int n, double x, int& out, StyleAt styleAt, XAt xAt, TypeAt typeAt) {
  for (int i = 0; i + 2 < n; ++i) {
    if (styleAt(i) != 1) continue;
    const double x1 = xAt(i + 1);
    const double x2 = xAt(i + 2);
    if (std::min(x1, x2) <= x && x < std::max(x1, x2)) {
      out = typeAt(i + 1);
      return 1;
    }
  }
  return 0;
}

class CSpSlide : public CDPoly {
 public:
  // Styles and strengths are kept for at least this many vertices (the size of the arrays of a
  // new line).
  static constexpr int kInitialEntries = 400;

  CSpSlide();

  // Record: name, point count n, centre x, centre y, radius, then per vertex x, y, style and
  // strength word. Any stored length loads and replaces the content; a failed Load leaves the
  // line as it was.
  void Store(Archive& ar, int version) const override;
  void Load(Archive& ar, int version) override;
  // Validates the points, resets invalid styles and strength types to 0 and checks the circle.
  void ChangeValid() override;
  // Questions answered by the working surface built from this line.
  double GetY(double x) const override;
  // Draws the working surface in red, fitted to the ground set with SetTopograph.
  void Draw(CViewInfo* view, int bold, int from, int to) const override;
  int GetCrossX(const CDPoint* p1, const CDPoint* p2, std::vector<double>& xs, int* pos,
                const CDPoly* upper) const override;
  using CDPoly::GetCrossPoint;
  bool GetCrossPoint(const CDPoint* p, double angle, CDPoint* out, double tol) const override;
  using CDPoly::GetCrossPointArray;
  bool GetCrossPointArray(const CDPoint* p, double angle, CDPoly* out, double tol) const override;
  std::unique_ptr<CDPoly> Copy() const override;

  // Takes name, points, styles, strengths, centre and radius of the other line.
  void Copy(const CSpSlide* other);
  void CopySuberi(const CSpSlide* other);

  // ---- Styles and strengths of the vertices ----

  // Setters grow the arrays with zeros; getters give 0 past the end. Negative indices throw
  // std::out_of_range.
  void SetStyle(int i, int style);
  int GetStyle(int i) const;
  void SetStrengthIndex(int i, int index);
  void SetStrengthType(int i, int type);
  int GetStrengthIndex(int i) const;
  int GetStrengthType(int i) const;
  void SetStrengthSize(int n);
  // "円弧" when segment i is part of an arc, "直線" when straight, empty for the last vertex.
  std::string GetStyleString(int i) const;

  // Appends a copy of the point (with its flag) with the style and strength type; returns it.
  CDPoint* AddNewPoint(const CDPoint& point, int style, int type);
  // Inserts a copy of the point at i (0..n) with the style, strength type and strength index.
  void InsertPoint(int i, const CDPoint& point, int style, int type, int index);
  // Deletes vertex i with its style and strength; nothing for an index outside the vertices.
  void DeletePoint(int i);
  // Reverses the line; arcs keep their vertices, styles 2 and 3 swap.
  void ReverseSuberi();

  // ---- The working surface ----

  // A new working surface built from this line; the caller owns it.
  std::unique_ptr<CSpSlideWork> CreateDrawObj() const;
  // The same surface built in work, in place of its content and in the storage it holds.
  void CreateDrawObjInto(CSpSlideWork& work) const;
  // A copy of the first arc piece the vertical at x crosses; null when none.
  std::unique_ptr<CDArc> GetArc(double x) const;
  double GetBottomAngle(double x) const;
  // y at x along the working surface's vertices joined straight (its arcs ignored).
  double GetY_linear(double x) const;
  // Fits the working surface to the ground; the pieces go into the array. Returns their count.
  int CorrectSlideObj(const CSpGround* ground, CDPolyArray* pieces, bool noStretch) const;
  // How many distinct points the working surface has in common with the polygon's edges.
  int GetCrossCountTiso(const CDPoly* polygon) const;
  // For the second segment of a three-point arc whose x range holds x: its start vertex's
  // strength type in out, and 1; else 0.
  int Get3PStrength(double x, int& out) const;

  // ---- Strength settings over the segments ----

  bool IsIncludeRev() const;
  bool IsCalcRevRelation() const;
  bool IsIncludeTisoti() const;
  bool IsIncludeSiteiti(int k) const;
  // At least two points and every coordinate set.
  bool IsValidSpecif() const;

  // ---- The circle kept with the line ----

  void SetOR(double x, double y, double r);
  void GetOR(double& x, double& y, double& r) const;

  // The working surface with a solid pen of the colour, not bold.
  void DrawWithColor(CViewInfo* view, bool bold, Color colour) const;

  // ---- Process-wide settings ----

  // The display switch and the stretch settings live in the current CoreSettings.
  static int GetShowABC() { return CurrentSettings().m_bShowABC; }
  static void SetShowABC(int show);
  using StretchParam = SlideStretchParam;
  static void SetStretchParam(int typeHead, int typeTail, double angleHead, double angleTail,
                              int strengthHead, int strengthTail);
  static StretchParam GetStretchParam() { return CurrentSettings().stretch; }
  // The record of the stretch settings and the display switch, stored from or loaded into the
  // current settings.
  static void SerializeStaticMember(Archive& ar);
  // The same record stored from or loaded into `settings`; a failed load leaves it unchanged.
  static void SerializeStaticMember(Archive& ar, CoreSettings& settings);

  // ---- Drawing switches ----

  // The ground to which drawn slide lines are fitted (observed); null for none. A ground forgets
  // itself here when it is destroyed (ForgetTopograph), so the pointer never dangles.
  static void SetTopograph(const CSpGround* ground) { m_pTopo = ground; }
  static void ForgetTopograph(const CSpGround* ground);
  static void SetDrawPure(bool pure) { m_bDrawPure = pure; }

 private:
  // Whether the strength type of any segment passes the test; a segment without a strength
  // entry counts as type 0.
  bool AnySegment(bool (*test)(int type)) const;
  // The vertex markers drawn while the highlight switch is on.
  void DrawHandles(const CViewInfo& view, int from, int to) const;

  inline static const CSpGround* m_pTopo = nullptr;
  // The fitting of drawn slide lines; no operation turns it off.
  static constexpr bool m_bDrawCorrect = true;
  inline static bool m_bDrawPure = false;

  std::vector<unsigned> styles_;
  std::vector<unsigned> strengths_;
  double centreX_ = kNoValue;
  double centreY_ = kNoValue;
  double radius_ = kNoValue;

  // The working surface as last built, kept until the line changes. The line is not told of
  // every change (the editor moves vertices through the pointers GetAt and GetShared hand out),
  // so every question compares what the build reads (each vertex's coordinates, style and
  // strength word; nothing else, no process-wide setting) with what it read last time, bit for
  // bit, and builds again on any difference: the kept surface is always the one a new build
  // would give.
  class WorkCache {
   public:
    // Shared, so that it stays valid for the caller while another thread builds a newer one.
    std::shared_ptr<const CSpSlideWork> Get(const CSpSlide& line);

   private:
    struct BuiltFrom {
      std::uint64_t x;  // bit patterns: -0.0 is not 0.0, and a NaN equals itself
      std::uint64_t y;
      unsigned style;
      unsigned strength;
      bool operator==(const BuiltFrom&) const = default;
    };
    static BuiltFrom VertexOf(const CSpSlide& line, int i);
    bool IsCurrent(const CSpSlide& line) const;

    std::mutex mutex_;
    std::vector<BuiltFrom> builtFrom_;
    std::shared_ptr<const CSpSlideWork> work_;
  };
  std::shared_ptr<const CSpSlideWork> Work() const { return workCache_.Get(*this); }

  mutable WorkCache workCache_;
};
