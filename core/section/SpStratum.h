#pragma once
// The strata of a cross-section: the stratum boundary lines entered by the user and the stratum
// polygons that the strata recognition closes from the ground and those lines. Each polygon
// carries the soil properties of its stratum.

#include <memory>

#include "core/geometry/DPoly.h"
#include "core/section/StratumProp.h"
#include "platform/DevTypes.h"

class Archive;
class CViewInfo;

// A stratum boundary line: a plain polyline with its own kind and name.
class CSpStratumLine : public CDPoly {
 public:
  CSpStratumLine();
};

// A closed stratum polygon with the soil properties of its stratum.
class CSpStratumBlock : public CDPoly {
 public:
  CSpStratumBlock();

  // Record: the polyline record, the soil properties, index and the back-analysis mark. Load
  // reads the whole record before it changes anything.
  void Store(Archive& ar, int version) const override;
  void Load(Archive& ar, int version) override;
  // Takes the soil properties of another stratum polygon; any other shape changes nothing.
  void SetProperty(const CDPoly* other) override;
  // Fills the polygon with its soil colour, outlined in black; the integer arguments are not
  // consulted.
  void Draw(CViewInfo* view, int bold, int from, int to) const override;
  // The soil name centred on the inner point, while names are switched on.
  void DrawName(CViewInfo* view) const override;
  // The points, the soil properties, the inner point, index and the back-analysis mark.
  std::unique_ptr<CDPoly> Copy() const override;

  CStratumProp* GetPropPtr() { return &prop_; }
  const CStratumProp* GetPropPtr() const { return &prop_; }
  tagSATURATE* GetPropStructure() { return &prop_.GetSaturate(); }
  const tagSATURATE* GetPropStructure() const { return &prop_.GetSaturate(); }
  Color GetPropColor() const { return prop_.GetColor(); }

  int GetIndex() const { return index_; }
  void SetIndex(int index) { index_ = index; }
  // Not 0: a block whose base lies in this polygon takes part in the back analysis.
  int GetExtraInt() const { return extraInt_; }
  void SetExtraInt(int mark) { extraInt_ = mark; }

  // A copy of the part of this polygon that lies above the cutting line; null when no part of
  // at least 0.001 in area lies above it; a copy of the whole polygon when the polygon or the line
  // (null: none) has fewer than two points. Crossings are found with the tolerance 1e-6
  // (ScopedSmallLimit).
  std::unique_ptr<CDPoly> CutPolyWithLine2(const CDPoly* line) const;

  // Process-wide switch of the stratum names (1 = drawn).
  static void SetShowTisoName(int show) { m_bShowName = show; }
  static int GetShowTisoName() { return m_bShowName; }

 private:
  inline static int m_bShowName = 1;

  CStratumProp prop_;
  int index_ = -1;
  int extraInt_ = 0;
};
