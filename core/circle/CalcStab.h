#pragma once
// The three slip-circle engines of a case (see CalcCircle.h for the search and the specified
// circle they share). They differ in what a slip surface yields:
//  - CCalcStab, ordinary stability: Fs, Pr and the sums of each case that is on;
//  - CCalcDrain, stability with lowered water: Fs, Pr and the sums after the work on the sections
//    after it, and the Fs on the sections before the work next to them;
//  - CCalcReinf, the circles for the reinforcement effect: the geometry of each circle only.
// A caller builds an engine on the sections and the result set of the case and calls
// CalcRepeatStart or CalcSpecifStart.

#include <string>

#include "core/circle/CalcCircle.h"

class CResDrain;
class CResReinf;
class CResStab;

class CCalcStab : public CCalcCircle {
 public:
  CCalcStab(const Sections& sections, CResStab& result);

 protected:
  std::string Title() const override { return "安定計算"; }
  // Value 0 (normal) and 1 (seismic) the Fs, 4 and 5 the Pr.
  void SetSafetyFactors(CRepPoint& point, const CSpSlideWork& piece, CSliceList& normalList,
                        Workspace& workspace) const override;
  void CompleteSpecifRecord(int seismicCase, const CaseValues& values,
                            tagRESULTSLICE& record) const override;
  // Fs and Pr of the known-block record of every case whose section is given.
  void CalcKnownBlocks() override;
};

class CCalcDrain : public CCalcCircle {
 public:
  // after: the sections after the work, whose cases are searched; before: the same cases before
  // the work (a missing one leaves its values unset).
  CCalcDrain(const Sections& after, const Sections& before, CResDrain& result);

 protected:
  std::string Title() const override { return "安定計算（水位低下のみ）"; }
  // Value 2 (normal) and 3 (seismic) the Fs after the work, 4 and 5 the Pr, 0 and 1 the Fs
  // before.
  void SetSafetyFactors(CRepPoint& point, const CSpSlideWork& piece, CSliceList& normalList,
                        Workspace& workspace) const override;
  void CompleteSpecifRecord(int seismicCase, const CaseValues& values,
                            tagRESULTSLICE& record) const override;
  // Fs, the Fs after the work and Pr of the known-block record of every case that is on.
  void CalcKnownBlocks() override;

 private:
  CDanmenStab* Before(int seismicCase) const;

  Sections before_;
};

class CCalcReinf : public CCalcCircle {
 public:
  CCalcReinf(const Sections& sections, CResReinf& result);

 protected:
  std::string Title() const override { return "安定計算（補強効果）"; }
  // The points keep their geometry only.
  void SetSafetyFactors(CRepPoint& /*point*/, const CSpSlideWork& /*piece*/,
                        CSliceList& /*normalList*/, Workspace& /*workspace*/) const override {}
  // The Fs, the Fs with the added force (0) and Pr; the added force is the last value.
  void CompleteSpecifRecord(int seismicCase, const CaseValues& values,
                            tagRESULTSLICE& record) const override;
  // Fs and the Fs with the record's added force of the known-block record of every case that
  // is on.
  void CalcKnownBlocks() override;
};
