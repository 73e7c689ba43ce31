#pragma once
// The settings of one result graph of the deformation and circle results: the two axis items,
// their ranges and pitches, and the colours. The graph dialogs edit them and the document stores
// them with the result that owns the graph.

#include <array>
#include <string>

#include "core/base/Utility.h"
#include "platform/DevTypes.h"

class Archive;

class CDrawResGraphSet {
 public:
  CDrawResGraphSet() = default;

  // Back to the defaults below.
  void Init();
  // Record: the two items, the three switches, the two maxima, the two minima, the two pitches
  // and the four colours. No version gate.
  void Store(Archive& ar, int version) const;
  // Init, then the record; reads the whole record before it changes anything.
  void Load(Archive& ar, int version);
  // Every field but the four reference values.
  void Copy(const CDrawResGraphSet& other);
  bool IsSame(const CDrawResGraphSet& other) const;
  // Axis items for a case: -1 clears both; 0 the normal case (Fs 10, or 11 with the flag, over
  // item 5); 1 the seismic case (16, or 17 with the flag, over item 5). Other cases change nothing.
  void ResetIndex(int resultCase, bool flag);

  // The axis caption and unit of a graph item code; empty for an unknown code.
  static std::string GetHeadName(int item);
  static std::string GetHeadUnit(int item);
  // The captions of the before/after comparison graphs of the drainage (false) or the
  // reinforcement (true) results; empty for an item those graphs do not show.
  static std::string GetHeadNameAfter(int item, bool reinforcement);

  int itemX = -1;  // graph item codes; -1 none
  int itemY = -1;
  int markerSize = 0;                     // not stored
  std::array<int, 3> autoRange{1, 1, 1};  // automatic-range switches
  double maxX = 100.0;
  double maxY = 100.0;
  double minX = 0.0;
  double minY = 0.0;
  double pitchX = 5.0;
  double pitchY = 5.0;
  int currentApart = 1;  // not stored: the current result is drawn last
  Color background = Color::Rgb(255, 255, 255);
  // Points and lines: normal, beyond the allowable value, the extreme point.
  std::array<Color, 3> lineColors{Color::Rgb(255, 64, 64), Color::Rgb(50, 50, 255),
                                  Color::Rgb(200, 230, 64)};
  int allowMode = 2;  // not stored: 0 column 0, 1 column 1, 2 both
  // Not stored, not copied: the allowable Fs of columns 0 and 1, the allowable displacement and
  // the design seismic coefficient the result dialogs show.
  std::array<double, 4> refValues{kNoValue, kNoValue, kNoValue, kNoValue};
};
