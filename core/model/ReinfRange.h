#pragma once
// One arrangement range of rock bolts on the slope: a stretch of the ground line between two
// points in which rows of bolts are laid out from a start offset at a pitch, with the length,
// extra length, inclination and horizontal spacing that the bolts of the range receive. The
// reinforcement conditions of a case hold ten of them; the arrangement dialog edits them and
// turns them into bolts through GetArrangePoint.

#include <array>
#include <memory>
#include <string>
#include <vector>

#include "core/base/Utility.h"
#include "core/geometry/DPoint.h"

class Archive;
class CDPoly;
class CViewInfo;

class CReinfRange {
 public:
  // Where the rows are counted from.
  static constexpr int kSideUpper = 0;
  static constexpr int kSideLower = 1;
  // How offsets, pitches and the range length are measured.
  static constexpr int kMeasureHeight = 0;
  static constexpr int kMeasureSlope = 1;
  // Inclination modes: the fixed angle alpha, or perpendicular to the slope face at the head.
  static constexpr int kInclineFixed = 0;
  static constexpr int kInclinePerpendicular = 1;

  CReinfRange() = default;

  // Everything but the name, the int flag and the active flag back to the defaults below.
  void Init();
  // Everything but the active flag.
  void Copy(const CReinfRange& other);
  // Names and int flags equal, and IsSameUseCale.
  bool IsSame(const CReinfRange& other) const;
  // Both points within 1e-4 of the other's, and every setting equal.
  bool IsSameUseCale(const CReinfRange& other) const;
  // Both points, the row count, the bar length, extra length and spacing set; a measuring mode of
  // 0 or 1 with the pitch of that mode and the start offset of the start side (0 or 1) set; alpha
  // set when the inclination is fixed.
  bool IsValid() const;
  // Puts the upper end first: exchanges the points (with their flags) when the end point lies
  // higher than the start point.
  void Normalize();

  // A new plain polyline from the start to the end point; null while a coordinate is unset.
  std::unique_ptr<CDPoly> CreateSlopeLine() const;
  // The length of the range: mode 0 the height difference of the points; mode 1 the length of
  // the ground between them, or their straight distance without a ground. kNoValue while a
  // coordinate is unset or for another mode.
  double GetSlopeLen(int mode, const CDPoly* ground) const;
  // Whether the last row fits: (rows - 1) * pitch + start offset does not exceed the range length
  // by more than 1e-13. True for a start side other than 0 or 1; false while the measuring mode
  // is not 0 or 1 or a length, pitch, offset or the row count is unset.
  bool IsArrangeSlope(const CDPoly* ground) const;
  // The head points of the rows: from the chosen end of the ground between the two points, the
  // start offset and then every pitch further along the ground, each coordinate rounded half up
  // to 0.001. Empty without a ground, while a point is unset, with a measuring mode other than 0
  // or 1, or when the ground between the points has fewer than two points.
  std::vector<CDPoint> GetArrangePoint(const CDPoly* ground) const;
  // The range along the ground (straight without one) with circles on its ends, thicker while
  // active; with the label flag its name beside the middle of the range.
  void Draw(CViewInfo* view, const CDPoly* ground, bool label) const;

  // Record, by document version: name, flag, start and end point (x and y), start side, the four
  // offsets (from version 2; before only the two mode-1 offsets), row count, inclination mode
  // (from version 6), alpha, bar length, extra length (from version 7), spacing, the two pitches
  // (from version 2; before only the mode-1 pitch) and the measuring mode (from version 2).
  void Store(Archive& ar, int version) const;
  // Reads the whole record before it changes anything. Fields an older record lacks take their
  // defaults; before version 6 the measuring mode is 1. The active flag stays.
  void Load(Archive& ar, int version);

  std::string name;  // "範囲 n", set by the owner
  int flag = 1;      // kept, stored and compared; nothing else reads it
  CDPoint start;     // the upper end once normalized
  CDPoint end;
  int startSide = kSideLower;
  // Indexed [mode] for the upper end and [2 + mode] for the lower end.
  std::array<double, 4> offsets{kNoValue, kNoValue, kNoValue, kNoValue};
  int rowCount = kNoValueInt;
  int inclinationMode = kInclinePerpendicular;
  double alpha = kNoValue;        // fixed inclination, degrees below the horizontal
  double lrb = kNoValue;          // bar length, m
  double extraLength = kNoValue;  // the part of the bar outside the ground, m
  double sh = kNoValue;           // horizontal spacing across the section, m
  std::array<double, 2> pitches{kNoValue, kNoValue};  // row spacing, indexed by measuring mode
  int measureMode = kMeasureSlope;
  bool active = false;  // the range being edited: drawn thicker; not stored, not copied by Copy

 private:
  // The start offset of the start side in the measuring mode, and the pitch of that mode;
  // kNoValue for a side or mode outside 0 and 1.
  double StartOffset() const;
  double Pitch() const;
};

// The ten ranges of the reinforcement (and drainage) conditions.
inline constexpr int kReinfRangeCount = 10;
using CReinfRanges = std::array<CReinfRange, kReinfRangeCount>;

// Resets every range (CReinfRange::Init) and names them "範囲 1" to "範囲 10".
void InitRanges(CReinfRanges& ranges);
// Copies every range (CReinfRange::Copy) and puts its upper end first (CReinfRange::Normalize).
void CopyRanges(CReinfRanges& to, const CReinfRanges& from);
bool IsSameRanges(const CReinfRanges& a, const CReinfRanges& b);
bool IsSameUseCaleRanges(const CReinfRanges& a, const CReinfRanges& b);
void StoreRanges(const CReinfRanges& ranges, Archive& ar, int version);
// Reads all ten before it changes any.
void LoadRanges(CReinfRanges& ranges, Archive& ar, int version);
void DrawRanges(const CReinfRanges& ranges, CViewInfo* view, const CDPoly* ground, bool label);
void SetRangesNonActive(CReinfRanges& ranges);
