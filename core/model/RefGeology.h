#pragma once
// The soil reference table: named soils with their unit weights, friction angles and cohesions,
// from which the user copies constants into the strata of a case. Kept in soil files (*.sxg); the
// default file is DefGeology.sxg in the settings folder.

#include <string>
#include <vector>

#include "core/base/Utility.h"

class Archive;

class CRefGeology {
 public:
  // One soil; kNoValue marks a value not given.
  struct Row {
    std::string name;
    double gammaT = kNoValue;    // wet unit weight, kN/m3
    double phi = kNoValue;       // angle of internal friction, degrees
    double c = kNoValue;         // cohesion, kN/m2
    double gammaSat = kNoValue;  // saturated unit weight, kN/m3
    double phiSat = kNoValue;    // saturated angle of internal friction, degrees
    double cSat = kNoValue;      // saturated cohesion, kN/m2
    // Numbers compared exactly.
    friend bool operator==(const Row&, const Row&) = default;
  };

  // The default table.
  CRefGeology() { Default(); }

  // Both replace the comment and the rows by the default table: "デフォルトのデータ" and 17 soils.
  void Init() { Default(); }
  void Default();
  void Copy(const CRefGeology& other) { *this = other; }
  // The same comment and the same rows, numbers exactly equal.
  bool IsSame(const CRefGeology& other) const;

  // Record: int32 row count, then per row the name and the six numbers; the version is not
  // consulted. Nothing in the documents holds it.
  void Store(Archive& ar, int version) const;
  // Reads the whole record before it changes anything; then the comment is the default one and
  // the rows are those read.
  void Load(Archive& ar, int version);

  // The soil file. An empty path asks the user for one (Cancel gives false). With `remember`, the
  // path of a successful read or write becomes the last soil file and DefFile.sdxf is rewritten.
  // A failed write shows "XML : " and the step; the file that was there stays.
  bool WriteGeology(const std::string& path, bool remember) const;
  // Reads a whole, well-formed file or nothing: otherwise the table stays as it was, nothing is
  // shown, and with `remember` the last soil file is emptied. Values are taken half up to the
  // decimals they are written with.
  bool ReadGeology(const std::string& path, bool remember);

  std::string comment;
  std::vector<Row> rows;
};
