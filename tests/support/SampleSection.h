#pragma once
// A realistic cross-section for tests: a 30 m wide slope rising from y = 0 at the toe (left) to
// y = 15 at the crest (right), two stratum boundary lines roughly parallel to it, the strata
// recognised down to a base level with soil properties on every stratum, a water level a few
// metres below the ground, a circular slide line from the upper slope to the toe, an empty load
// list, an inactive crack and a section view wired to all of them. Deterministic: every call
// builds the same section.

#include <memory>

#include "core/geometry/DPolyArray.h"
#include "core/model/Danmen.h"
#include "core/section/SpCrack.h"
#include "core/section/SpGround.h"
#include "core/section/SpSlide.h"
#include "core/section/SpWater.h"

struct SampleSection {
  // The level that closes the lowest stratum.
  static constexpr double kBaseLevel = -10.0;

  // The shapes live on the heap so that the view's pointers stay valid when the section moves.
  std::unique_ptr<CSpGround> ground;    // with its recognised stratum blocks
  std::unique_ptr<CDPolyArray> strata;  // the two stratum boundary lines, upper first
  std::unique_ptr<CSpWater> water;
  std::unique_ptr<CSpSlide> slide;
  std::unique_ptr<CDPolyArray> loads;  // empty; tests add the loads they need
  std::unique_ptr<CSpCrack> crack;
  CDanmen section;  // observes the shapes above
};

SampleSection MakeSampleSection();

// Turns the seismic case of a stability run on: both sections' conditions get the horizontal
// coefficient kh, and `quake` becomes the seismic calculation of the sample's section.
void TurnSeismicOn(CDanmenStab& normal, CDanmenStab& quake, const SampleSection& sample, double kh);
