#pragma once
// The rectangular grid of trial circle centres of a slip-circle search: a range and a pitch in x
// and in y, and an active flag per node, so that a mask polygon can switch off the centres that
// lie outside it. The flags are derived from the range (ResetFlag, SetFlagByPoly) and never
// stored.

#include <climits>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "core/base/Utility.h"
#include "core/geometry/DPoint.h"

class Archive;
class CDPoly;
class CViewInfo;

// The verdicts of IsSettingNormal on a range or a circle set, which the circle-search dialog
// words as its messages.
enum SettingCode : int {
  kSettingNormal = 0,
  // A value is missing, or a range that is not empty has a pitch not above 0.
  kSettingIncomplete = 2,
  // A step or pitch not above 0.
  kSettingBadStep = 3,
  // The two points of a set lie within 1e-4 of each other.
  kSettingSamePoints = 4,
  // A negative minimum, a maximum not above 0, or an empty range without a step.
  kSettingBadRadius = 6,
};

// The number of nodes from `from` to `to` by `pitch`: trunc(|to - from| / pitch) + 1, and one
// more for the end of the range itself when it lies more than 0.001 beyond the last whole pitch.
// A range whose ends are equal has one node whatever the pitch. An unset end, a pitch not
// greater than 0 over a range that is not empty, or a count beyond the int range gives 0: there
// is no mesh. The centre mesh, the circle sets and the result mesh all count their nodes with it.
int CountMeshNodes(double from, double to, double pitch);

// The most nodes a stored centre mesh may have. A search visits every node with every radius, so
// a sound mesh stays far below; a record beyond it is damaged and would ask for the flags of
// more nodes than memory holds.
inline constexpr std::int64_t kMaxCenterMeshNodes = 10'000'000;

// The most trial centres the circle-search dialog accepts for one mesh: far more than a search
// needs, and few enough that the flags and the drawing of every node stay quick.
inline constexpr std::int64_t kMaxSearchCentres = 100'000;

// Copying takes the range together with the counts and the flags, so that a copy agrees with its
// original node for node.
class CCenterMesh {
 public:
  // GetFlag of a node outside the mesh.
  static constexpr int kOutside = INT_MAX;

  CCenterMesh() = default;

  // The six range values to kNoValue; counts and flags stay.
  void Init();
  // Record: x1, x2, dx, y1, y2, dy (doubles). Load reads the whole record before it changes
  // anything, refuses a range of more than kMaxCenterMeshNodes nodes with ArchiveException
  // (BadFormat), then makes every node active (ResetFlag).
  void Store(Archive& ar, int version) const;
  void Load(Archive& ar, int version);

  // The six range values equal; the flags are not compared.
  bool IsSame(const CCenterMesh* other) const;
  // All six values set, dx > 0 and dy > 0.
  bool IsValid() const;
  // All six values set.
  bool IsSettingValid() const;
  // kSettingIncomplete when a value is unset or a non-empty range has a pitch not above 0; else
  // kSettingNormal.
  int IsSettingNormal() const;
  // Orders each range whose two ends are set from low to high; a lone end stays where it is.
  void Normalize();
  // The number of nodes the range gives (x nodes times y nodes; 0 without a mesh).
  std::int64_t CountNodes() const;

  // Recounts the nodes and makes every node active; nothing changes for a range that gives no
  // mesh (see CountMeshNodes) or more than kMaxCenterMeshNodes nodes.
  void ResetFlag();
  // ResetFlag, then, with a mask of at least 3 points, exactly the nodes inside the mask active.
  void SetFlagByPoly(const CDPoly* mask);
  // Sets one node's flag and returns 1; 0, with nothing changed, outside the mesh.
  int SetFlag(int col, int row, int value);
  // The node's flag; kOutside outside the mesh. Only a flag of 1 marks an active node.
  int GetFlag(int col, int row) const;
  // The node's world point (flag 0): each coordinate clamped to the end of its range.
  CDPoint IndexToPosition(int col, int row) const;
  int GetSizeX() const { return nx_; }
  int GetSizeY() const { return ny_; }

  // The range outline while a pitch is not above 0, and every cell whose four corners are
  // active, in light grey.
  void Draw(CViewInfo* view) const;

  double x1 = kNoValue;  // the x range of the centres, world metres
  double x2 = kNoValue;
  double dx = kNoValue;  // the x pitch
  double y1 = kNoValue;  // the y range
  double y2 = kNoValue;
  double dy = kNoValue;  // the y pitch

 private:
  bool IsActive(int col, int row) const { return GetFlag(col, row) == 1; }
  bool IsInside(int col, int row) const;
  std::size_t FlagIndex(int col, int row) const;

  int nx_ = 0;  // node columns and rows
  int ny_ = 0;
  std::vector<int> flags_;  // node (c, r) is element c + r * nx_
};
