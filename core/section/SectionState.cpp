#include "core/section/SectionState.h"

#include "core/section/SpSlide.h"
#include "core/section/SpStratum.h"

void ResetSectionState() {
  CSpStratumBlock::SetShowTisoName(1);
  CSpSlide::SetTopograph(nullptr);
  CSpSlide::SetDrawPure(false);
}
