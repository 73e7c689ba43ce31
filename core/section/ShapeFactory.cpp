// The one place that maps shape kind codes to shape classes. A section shape class registers
// here with one case line (and its header include); stored shape lists are read through it.

#include <memory>

#include "core/geometry/DPoly.h"
#include "core/section/SpCrack.h"
#include "core/section/SpGround.h"
#include "core/section/SpLoad.h"
#include "core/section/SpSlide.h"
#include "core/section/SpSlideWork.h"
#include "core/section/SpStratum.h"
#include "core/section/SpWater.h"

std::unique_ptr<CDPoly> CDPoly::CreateNewElement(int kind) {
  switch (kind) {
    case kKindPoly:
      return std::make_unique<CDPoly>();
    case kKindGround:
      return std::make_unique<CSpGround>();
    case kKindStratumLine:
      return std::make_unique<CSpStratumLine>();
    case kKindSlide:
      return std::make_unique<CSpSlide>();
    case kKindWater:
      return std::make_unique<CSpWater>();
    case kKindLoad:
      return std::make_unique<CSpLoad>();
    case kKindCrack:
      return std::make_unique<CSpCrack>();
    case kKindStratumBlock:
      return std::make_unique<CSpStratumBlock>();
    case kKindSlideWork:
      return std::make_unique<CSpSlideWork>();
    default:
      return nullptr;
  }
}
