#pragma once
// The arrangement ranges of drainage works: ten ranges laid out like the rock-bolt ranges. No case
// holds one yet; the record keeps its place in the document format.

#include "core/model/ReinfRange.h"

class Archive;
class CDPoly;
class CViewInfo;

class CPrmDrain {
 public:
  // Ten reset ranges named "範囲 1" to "範囲 10".
  CPrmDrain() { Init(); }

  void Init() { InitRanges(ranges); }
  // Record: nothing before document version 8, else the ten range records.
  void Store(Archive& ar, int version) const;
  // Reads the ten ranges from version 8 on, all before it changes any.
  void Load(Archive& ar, int version);
  // Copies every range but its active flag and puts its upper end first.
  void Copy(const CPrmDrain& other) { CopyRanges(ranges, other.ranges); }
  // Every range's name, int flag and settings equal.
  bool IsSame(const CPrmDrain& other) const { return IsSameRanges(ranges, other.ranges); }
  bool IsSameUseCale(const CPrmDrain& other) const {
    return IsSameUseCaleRanges(ranges, other.ranges);
  }
  // Every range has both points, its lengths and both pitches set.
  bool IsValid() const;
  void Draw(CViewInfo* view, const CDPoly* ground) const { DrawRange(view, ground, true); }
  void DrawRange(CViewInfo* view, const CDPoly* ground, bool label) const {
    DrawRanges(ranges, view, ground, label);
  }
  void SetRangeNonActive() { SetRangesNonActive(ranges); }

  CReinfRanges ranges;
};
