#pragma once
// The settings of the Fs graph of the multi-plane results (end block against Fs, one line per
// start block), per case (0 normal, 1 seismic): the axis items, ranges and pitches, the background
// and one line colour per start block.

#include <array>
#include <vector>

#include "platform/DevTypes.h"

class Archive;

class CDrawResGraphSetMltFs {
 public:
  CDrawResGraphSetMltFs() = default;

  // The defaults; no line colours.
  void Init();
  // Record by document version: the switches; before version 5 the normal case's six ranges only,
  // from 5 on each case's items and ranges; then the background and the line colours. A failed
  // Load leaves the settings as they were.
  void Store(Archive& ar, int version) const;
  void Load(Archive& ar, int version);
  void Copy(const CDrawResGraphSetMltFs& other) { *this = other; }
  // Every stored field and the current case, but not the line colours.
  bool IsSame(const CDrawResGraphSetMltFs& other) const;
  // Axis items of a case in the key-item numbering: -1 clears all four, 0 end block over Fs
  // normal, 1 end block over Fs seismic.
  void ResetIndex(int resultCase);
  // count colours that stand out from the background and from the colour before, drawn from a
  // fixed seed so that the same results always get the same colours.
  void MakeLineColor(int count);

  struct Axes {
    int itemX = -1;
    int itemY = -1;
    double maxX = 100;
    double maxY = 10;
    double minX = 0;
    double minY = 0;
    double pitchX = 5;
    double pitchY = 1;
    bool operator==(const Axes&) const = default;
  };
  std::array<Axes, 2> axes;
  std::array<int, 3> switches{1, 1, 1};
  Color background = Color::Rgb(255, 255, 255);
  std::vector<Color> lineColors;
  int currentCase = 0;  // not stored: the case the graph shows
};
