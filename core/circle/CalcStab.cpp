#include "core/circle/CalcStab.h"

#include <cstddef>

#include "core/circle/ResDrain.h"
#include "core/circle/ResStab.h"
#include "core/model/Danmen.h"

namespace {

// The values of the two cases of a search point.
constexpr int kValueFs = 0;
constexpr int kValueFsAfter = 2;

}  // namespace

// ---- CCalcStab ----

CCalcStab::CCalcStab(const Sections& sections, CResStab& result)
    : CCalcCircle(sections, result, result) {}

void CCalcStab::SetSafetyFactors(CRepPoint& point, const CSpSlideWork& piece,
                                 CSliceList& normalList, Workspace& workspace) const {
  const auto cases = CalcSearchCases(piece, normalList, workspace);
  if (IsNormalOn()) StoreCase(point, 0, kValueFs, cases[0]);
  if (IsSeismicOn()) StoreCase(point, 1, kValueFs + 1, cases[1]);
}

void CCalcStab::CompleteSpecifRecord(int /*seismicCase*/, const CaseValues& values,
                                     tagRESULTSLICE& record) const {
  record[kSpecifFs] = values.fs;
  record[kSpecifPr] = values.pr;
}

void CCalcStab::CalcKnownBlocks() {
  CResCircle& results = Results();
  results.knownResults[0].CalcFsPr(results.specifKind, false, PlannedFs(0), kNoValue);
  if (GetSections().seismic != nullptr) {
    results.knownResults[1].CalcFsPr(results.specifKind, false, PlannedFs(1), kNoValue);
  }
}

// ---- CCalcDrain ----

CCalcDrain::CCalcDrain(const Sections& after, const Sections& before, CResDrain& result)
    : CCalcCircle(after, result, result.conditions), before_(before) {}

CDanmenStab* CCalcDrain::Before(int seismicCase) const {
  return seismicCase == 0 ? before_.normal : before_.seismic;
}

void CCalcDrain::SetSafetyFactors(CRepPoint& point, const CSpSlideWork& piece,
                                  CSliceList& normalList, Workspace& workspace) const {
  const auto after = CalcSearchCases(piece, normalList, workspace);
  for (const int c : {0, 1}) {
    if (!IsCaseOn(c)) continue;
    StoreCase(point, c, kValueFsAfter + c, after[static_cast<std::size_t>(c)]);
    if (CDanmenStab* before = Before(c)) {
      point.SetValue(kValueFs + c, RoundFs(CalcCaseOf(*before, piece, c, workspace).fs));
    }
  }
}

void CCalcDrain::CompleteSpecifRecord(int seismicCase, const CaseValues& values,
                                      tagRESULTSLICE& record) const {
  record[kSpecifFsAfter] = values.fs;
  record[kSpecifPr] = values.pr;
  if (const CDanmenStab* before = Before(seismicCase)) {
    record[kSpecifFs] = CalcSpecifCase(*before, seismicCase).fs;
  }
}

void CCalcDrain::CalcKnownBlocks() {
  CResCircle& results = Results();
  for (const int c : {0, 1}) {
    if (!IsCaseOn(c)) continue;
    results.knownResults[static_cast<std::size_t>(c)].CalcFsPr(results.specifKind, true,
                                                               PlannedFs(c), kNoValue);
  }
}

// ---- CCalcReinf ----

CCalcReinf::CCalcReinf(const Sections& sections, CResReinf& result)
    : CCalcCircle(sections, result, result.conditions) {}

void CCalcReinf::CompleteSpecifRecord(int /*seismicCase*/, const CaseValues& values,
                                      tagRESULTSLICE& record) const {
  record[kSpecifFs] = values.fs;
  record[kSpecifFsAfter] = values.fs2;
  record[kSpecifPr] = values.pr;
  record[kSpecifAddedForce] = 0;
}

void CCalcReinf::CalcKnownBlocks() {
  CResCircle& results = Results();
  for (const int c : {0, 1}) {
    if (!IsCaseOn(c)) continue;
    const auto k = static_cast<std::size_t>(c);
    results.knownResults[k].CalcFs(results.specifKind, true,
                                   results.sliceResults[k][kSpecifAddedForce]);
  }
}
