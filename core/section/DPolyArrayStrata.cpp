// CDPolyArray: the soil properties of the stratum polygons it holds.

#include "core/geometry/DPolyArray.h"
#include "core/section/SpStratum.h"

void CDPolyArray::CopyStratumProp(CDPolyArray* other) {
  // Strata recognised for the first time have no earlier polygons to take properties from.
  if (other == nullptr) return;
  for (const auto& shape : shapes_) {
    auto* block = dynamic_cast<CSpStratumBlock*>(shape.get());
    if (block == nullptr) continue;
    const CDPoint inner = block->CalcInnerPoint();
    const CDPoly* source = other->FindPolygon(&inner);
    if (source != nullptr) block->SetProperty(source);
  }
}

bool CDPolyArray::IsValidStratumFs() const {
  for (const auto& shape : shapes_) {
    const auto* block = dynamic_cast<const CSpStratumBlock*>(shape.get());
    if (block == nullptr) continue;
    const tagSATURATE* v = block->GetPropStructure();
    if (v->gammaT == kNoValue || v->gammaSat == kNoValue || v->phi == kNoValue ||
        v->c == kNoValue) {
      return false;
    }
  }
  return true;
}

bool CDPolyArray::IsValidTaup() const {
  for (const auto& shape : shapes_) {
    const auto* block = dynamic_cast<const CSpStratumBlock*>(shape.get());
    if (block != nullptr && block->GetPropStructure()->tauP == kNoValue) return false;
  }
  return true;
}
