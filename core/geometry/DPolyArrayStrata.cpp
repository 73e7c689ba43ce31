// CDPolyArray: the soil properties of the stratum polygons it holds.

#include "core/geometry/DPolyArray.h"
#include "core/geometry/SpStratum.h"

namespace {

const CSpStratumBlock* AsStratumBlock(const CDPoly* shape) {
  return shape->WhatKind() == kKindStratumBlock ? static_cast<const CSpStratumBlock*>(shape)
                                                : nullptr;
}

}  // namespace

void CDPolyArray::CopyStratumProp(CDPolyArray* other) {
  for (const auto& shape : shapes_) {
    if (shape->WhatKind() != kKindStratumBlock) continue;
    auto* block = static_cast<CSpStratumBlock*>(shape.get());
    const CDPoint inner = block->CalcInnerPoint();
    const CDPoly* source = other->FindPolygon(&inner);
    if (source != nullptr) block->SetProperty(source);
  }
}

bool CDPolyArray::IsValidStratumFs() const {
  for (const auto& shape : shapes_) {
    const CSpStratumBlock* block = AsStratumBlock(shape.get());
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
    const CSpStratumBlock* block = AsStratumBlock(shape.get());
    if (block != nullptr && block->GetPropStructure()->tauP == kNoValue) return false;
  }
  return true;
}
