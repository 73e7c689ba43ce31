#pragma once
// The conditions of a slip-circle search on one cross-section: which of the five circle sets is
// selected, the five sets themselves, end limits that a trial slip surface must keep within, lines
// it must cross (pass lines) and lines it must not cross (not-pass lines), and the state of mouse
// editing of these objects in the view. Every circle-search result holds the condition it was
// computed with; the circle-search dialog edits a working copy and hands the condition under edit
// to the case, which forwards the view's mouse moves to it.

#include <array>

#include "core/base/Utility.h"
#include "core/circle/ArcSet.h"
#include "core/geometry/DLine.h"
#include "core/geometry/DPoint.h"
#include "platform/DevTypes.h"

class Archive;
class CSpSlideWork;
class CViewInfo;

// Bounds that the extreme points of a trial slip surface must keep within: the x bounds apply
// while xOn is set, the y bounds while yOn is set, and an unset bound imposes nothing.
class CArcLimit {
 public:
  void Init() { *this = CArcLimit(); }
  // Record: int xOn, int yOn, double xMin, xMax, yMin, yMax (40 bytes). Load reads the whole
  // record before it changes anything.
  void Store(Archive& ar, int version) const;
  void Load(Archive& ar, int version);
  void Copy(const CArcLimit* other) { *this = *other; }
  // All six fields equal.
  bool IsSame(const CArcLimit* other) const;
  bool IsSameUseCale(const CArcLimit* other) const { return IsSame(other); }
  // Puts the two bounds of each limit in ascending order when both are set and the first exceeds
  // the second by more than 1e-13; a lone bound keeps its side, an open end stays open.
  void Order();
  // False when a limit is on with both its bounds unset.
  bool IsValid() const;
  // Dotted grey lines across the view's world area at each set bound of a limit that is on;
  // nothing for a limit that is not valid.
  void Draw(CViewInfo* view) const;
  // Whether the surface's extreme points keep within the bounds; a bound equal to the surface's
  // extreme coordinate passes.
  bool Admits(const CSpSlideWork& work) const;

  int xOn = 0;
  int yOn = 0;
  double xMin = kNoValue;  // world metres
  double xMax = kNoValue;
  double yMin = kNoValue;
  double yMax = kNoValue;
};

// A list of lines that a trial surface must cross, or must not cross, drawn in the list's colour;
// one line may be under edit with the mouse (the active line).
class CArcPassLine {
 public:
  static constexpr Color kPassColor = Color::Rgb(32, 182, 76);
  static constexpr Color kNotPassColor = Color::Rgb(175, 100, 100);

  CArcPassLine() = default;
  CArcPassLine(const CArcPassLine&) = delete;
  CArcPassLine& operator=(const CArcPassLine&) = delete;

  // Deletes the lines; the colour becomes kPassColor. The active index stays.
  void Init();
  // Record: the line list's record, then the colour (int32). Load replaces the lines and the
  // colour once the whole record was read.
  void Store(Archive& ar, int version) const;
  void Load(Archive& ar, int version);
  // The lines and the colour.
  void Copy(const CArcPassLine* other);
  // Equal lines (CDLineArray::IsSame) and equal colours.
  bool IsSame(const CArcPassLine* other) const;
  // Equal lines.
  bool IsSameUseCale(const CArcPassLine* other) const;
  // The complete lines with a solid pen of width 2 in the list's colour.
  void Draw(CViewInfo* view) const;
  // Deletes every line with an unset coordinate.
  void RemoveValidNot();
  // Whether the surface crosses every complete line / no complete line (tolerance 0). Lines with
  // an unset coordinate are skipped; an empty list passes both.
  bool IsCrossedByAll(const CSpSlideWork& work) const;
  bool IsCrossedByNone(const CSpSlideWork& work) const;

  // The line at the active index; null when no line is active.
  CDLine* GetActiveLine() const;
  void SetActiveID(int index) { active_ = index; }
  int GetActiveID() const { return active_; }
  // The rubber band of the active line's end pointId; nothing without an active line.
  void OnMouseMove(CViewInfo* view, int pointId, const CDPoint& p);
  // With an active line, a new drag starts with no band on the screen.
  void ResetMouseMove();

  CDLineArray& GetLines() { return lines_; }
  const CDLineArray& GetLines() const { return lines_; }
  Color GetColor() const { return color_; }
  void SetColor(Color color) { color_ = color; }

 private:
  CDLineArray lines_;
  Color color_ = kPassColor;
  int active_ = -1;
};

class CArcCondition {
 public:
  // What follows the mouse (the edit kind).
  static constexpr int kEditNone = -1;
  static constexpr int kEditArcSet = 0;
  static constexpr int kEditPassLine = 1;
  static constexpr int kEditNotPassLine = 2;

  CArcCondition();
  CArcCondition(const CArcCondition&) = delete;
  CArcCondition& operator=(const CArcCondition&) = delete;

  // Kind 0, every set's Init, the limit off and unbounded, both line lists empty in their
  // colours, nothing under edit.
  void Init();
  // Record (always the newest form): int kind, the radius, depth, one-point, two-point and
  // segment set records, the limit record, the pass and the not-pass line records. The version
  // is the circle-search record format (CircleRecordVersion.h): before 5 twelve doubles stand
  // in place of the limit and the lines (read and dropped; they keep their values); up to 8 the
  // record ends with an int count and that many ints (read and dropped). Load reads the whole
  // record before it changes anything.
  void Store(Archive& ar, int version) const;
  void Load(Archive& ar, int version);
  // The kind, each set by CopyExcept, the limit, and both line lists with their colours.
  void Copy(const CArcCondition* other);
  // Everything the record holds: the kind, each set by CopyStored, the limit and both line lists
  // with their colours.
  void CopyStored(const CArcCondition* other);
  // Equal kinds, sets, limits and line lists (lines and colours).
  bool IsSame(const CArcCondition* other) const;
  bool IsSameUseCale(const CArcCondition* other) const { return IsSame(other); }
  // The selected set's IsValid; false for a kind outside 0..4.
  bool IsValid() const;
  // The set of the selected kind; null for a kind outside 0..4.
  CArcSetRadius* GetSelectArcSet();
  const CArcSetRadius* GetSelectArcSet() const;
  // The selected set, the limit, the pass lines and the not-pass lines.
  void Draw(CViewInfo* view) const;

  // The tests of a trial slip surface.
  bool CheckLimit(const CSpSlideWork& work) const;
  bool CheckPassLine(const CSpSlideWork& work) const;
  bool CheckNotPassLine(const CSpSlideWork& work) const;
  // Fails when the surface's bottom lies within 0.01 above p1.y or lower, its left end within
  // 0.01 right of p2.x or further left, or its right end within 0.01 left of p3.x or further
  // right; else the selected set's IsValidSlide. p4 is not consulted.
  bool IsAreaInArc(const CSpSlideWork& work, const CDPoint& p1, const CDPoint& p2,
                   const CDPoint& p3, const CDPoint& p4) const;

  // Forwards a mouse move to what is under edit with the edit point id: the selected set, the
  // pass lines or the not-pass lines; nothing for kEditNone or another kind.
  void OnMouseMove(CViewInfo* view, const CDPoint& p);
  // Ends the edit of what is under edit.
  void ResetMouseMove();
  int GetCurKind() const { return curKind_; }
  void SetCurKind(int editKind) { curKind_ = editKind; }
  int GetCurPtId() const { return curPtId_; }
  void SetCurPtId(int id) { curPtId_ = id; }

  int kind = kArcSetRadius;  // the selected set: an ArcSetKind
  CArcSetRadius setRadius;
  CArcSetDepth setDepth;
  CArcSetPass1 setPass1;
  CArcSetPass2 setPass2;
  CArcSetPass3 setPass3;
  CArcLimit limit;
  CArcPassLine passLine;
  CArcPassLine notPassLine;

 private:
  // The five sets, indexed by their kind.
  std::array<CArcSetRadius*, kArcSetKindCount> Sets();
  std::array<const CArcSetRadius*, kArcSetKindCount> Sets() const;

  int curKind_ = kEditNone;  // not stored
  int curPtId_ = 0;          // which point of the edited object follows the mouse; not stored
};
