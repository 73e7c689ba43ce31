#pragma once
// The slip-circle calculation of one case, common to the three engines (ordinary stability,
// stability with lowered water, circle geometry for the reinforcement effect):
//  - the repeat search tries every trial centre of the selected circle set over its centre mesh,
//    every radius the set generates and every slip surface the circle cuts out of the ground;
//    each accepted surface becomes a child point of its centre's node in a new result mesh,
//    which the result set then lists and sorts;
//  - the specified circle calculates the slip surface entered in the section once for the
//    normal and once for the seismic case and fills the result set's specified-circle records.
// An engine owns nothing: it observes the sections and the result set it was made with, which
// outlive the call. No section keeps a repeat-search slip surface after a search.
//
// The repeat search has three steps. PrepareRepeat (GUI thread) empties the result set and resets
// the sections' repeat state. ProcessRepeat (any thread) is the search, a pure function of the
// sections, the search condition and the feedback: it steps through its own copy of the circle
// set, builds each slice list straight on the piece, and writes nothing but the search it gives,
// so it can run on a worker thread while the GUI thread shows its progress; a cancel ends it
// before the next node. PostRepeat (GUI thread) places the crack, finishes the mesh under the
// result set's key, files it and lists the results.

#include <array>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "core/circle/CalcDriver.h"
#include "core/circle/Slice.h"
#include "core/circle/SliceList.h"
#include "core/geometry/DPoint.h"

class CArcCondition;
class CCalcBase;
class CDanmenStab;
class CResCircle;
class CRepMesh;
class CRepPoint;
class CSpSlideWork;
class ProgressFeedback;
struct tagFSRESULT;

class CCalcCircle {
 public:
  // The sections the engine calculates on (observed). The normal section is required and its
  // ground is the one searched; without a seismic section there is no seismic case.
  struct Sections {
    CDanmenStab* normal = nullptr;
    CDanmenStab* seismic = nullptr;
  };

  // CalcRepeatEngine's mode that keeps the geometry of the circles only.
  static constexpr int kModeGeometry = 1;
  // The values of a specified-circle record beyond the slice sums: the safety factor (before the
  // work), the safety factor after the work, the restraining force and the added force.
  static constexpr int kSpecifFs = 28;
  static constexpr int kSpecifFsAfter = 29;
  static constexpr int kSpecifPr = 30;
  static constexpr int kSpecifAddedForce = 31;

  // Where the crack stands after a search: at the highest crossing of the last surface it was
  // joined to with the ground lowered by its depth (its bottom), and its depth above (its top).
  struct CrackPlacement {
    CDPoint top;
    CDPoint bottom;
  };
  // What a search gives: the mesh of its circles, and where it joined the crack last (none when
  // the crack is off or joined no surface).
  struct Search {
    std::unique_ptr<CRepMesh> mesh;
    std::optional<CrackPlacement> crack;
  };

  virtual ~CCalcCircle() = default;

  // The repeat search without a window (a headless run): PrepareRepeat, ProcessRepeat of mode 0,
  // PostRepeat, then one redraw of the view.
  void CalcRepeatStart();
  // GUI thread: empties the result set, resets the sections' repeat state and records which
  // cases are on in the result set's key.
  void PrepareRepeat();
  // Any thread: the search. kModeGeometry keeps the geometry of each circle only; any other mode
  // computes its safety factors. Reports each node and each circle to the feedback; after a
  // cancel the mesh holds what was found so far and is interrupted.
  Search ProcessRepeat(int mode, ProgressFeedback& feedback) const;
  // GUI thread: places the crack, finishes the mesh (unless it was interrupted), files it in the
  // result set and builds the result set's serial list.
  void PostRepeat(Search search);
  // The search without a window, with the crack placed; finish: the representative points and
  // the contour lines of the result set's key, else the representative points only. Returns the
  // new mesh, which it does not file.
  std::unique_ptr<CRepMesh> CalcRepeatEngine(int mode, bool finish);
  // False when the normal section's ground has no stratum blocks or the base of a slice lies in
  // a stratum marked as excluded; true otherwise (also for a list without slices, and for a
  // slice whose base lies in no stratum).
  bool CheckNotStratum(const CSliceList& list) const;

  // The specified circle: empties the result set, then the slice record of each case that is on
  // and the known-block records.
  void CalcSpecifStart();
  // The record of the entered slip surface on the seismic (seismicCase != 0) or the normal
  // section: the slice sums with the safety factors and the restraining force; every value
  // unset when the surface cuts no slice out of the ground or the section is missing.
  tagRESULTSLICE CalcSpecifEngine(int seismicCase);

 protected:
  // The slice methods of the sections a calculation reads, each made when its section first asks
  // and kept for the calculations after: a method depends on its section's formula alone and
  // recomputes every slice on each call, so a search makes one per section, not one per circle.
  class Methods {
   public:
    // The method of the section's formula; null for a formula without one.
    CCalcBase* Of(const CDanmenStab& section);

   private:
    std::vector<std::pair<const CDanmenStab*, std::unique_ptr<CCalcDriver>>> made_;
  };
  // Where the cases of a piece are calculated, kept from piece to piece: the list the sections
  // other than the normal one divide a piece in, and the sections' methods.
  struct Workspace {
    CSliceList list;
    Methods methods;
  };

  // What an accepted slip surface yields for one case.
  struct CaseValues {
    double fs = kNoValue;
    double fs2 = kNoValue;  // with the added force
    double pr = kNoValue;
    double s = kNoValue;  // resisting sum
    double t = kNoValue;  // driving sum
  };

  // The engine fills the results; the condition is the search condition they keep.
  CCalcCircle(const Sections& sections, CResCircle& results, const CArcCondition& condition)
      : sections_(sections), results_(&results), condition_(&condition) {}
  CCalcCircle(const CCalcCircle&) = default;
  CCalcCircle& operator=(const CCalcCircle&) = default;

  // ---- What each engine does its own way ----

  // The first progress line of each circle.
  virtual std::string Title() const = 0;
  // The safety factors, restraining forces and sums of an accepted surface; normalList holds
  // the surface's slices on the normal section, and the other sections divide the piece in the
  // workspace.
  virtual void SetSafetyFactors(CRepPoint& point, const CSpSlideWork& piece, CSliceList& normalList,
                                Workspace& workspace) const = 0;
  // The record's safety factors and restraining force from the case's results on the section.
  virtual void CompleteSpecifRecord(int seismicCase, const CaseValues& values,
                                    tagRESULTSLICE& record) const = 0;
  // The known-block records of the result set after the slice records.
  virtual void CalcKnownBlocks() = 0;

  // ---- Shared steps ----

  const Sections& GetSections() const { return sections_; }
  CResCircle& Results() const { return *results_; }
  // The normal case: the normal section serves it and its switch is on; the seismic case
  // likewise, and never without a seismic section.
  bool IsNormalOn() const;
  bool IsSeismicOn() const;
  bool IsCaseOn(int seismicCase) const { return seismicCase == 0 ? IsNormalOn() : IsSeismicOn(); }
  // The planned safety factor of the case: the normal section's for 0, the seismic section's
  // for 1 (unset without a seismic section).
  double PlannedFs(int seismicCase) const;
  // The slices of the piece on the section, built in the list as a new list would hold them:
  // the list keeps only its storage from the division before.
  static CSliceList& DivideInto(CSliceList& list, const CDanmenStab& section,
                                const CSpSlideWork& piece);
  // The case's values by the section's method on the list built on it.
  CaseValues CalcCase(const CDanmenStab& section, CSliceList& list, int seismicCase,
                      Methods& methods) const;
  // The case's values of the piece on a section: CalcCase on the piece divided in the workspace.
  CaseValues CalcCaseOf(const CDanmenStab& section, const CSpSlideWork& piece, int seismicCase,
                        Workspace& workspace) const;
  // The values of both cases of an accepted piece on the engine's sections (index 0 normal, 1
  // seismic; a case that is off stays unset): the normal case on normalList, the piece's slices
  // on the normal section, the seismic case on the seismic section. The method computes the
  // seismic terms in every pass, so while the seismic section divides and calculates as the
  // normal one, the seismic section's pass over normalList gives both cases; otherwise the
  // seismic section divides the piece in the workspace.
  std::array<CaseValues, 2> CalcSearchCases(const CSpSlideWork& piece, CSliceList& normalList,
                                            Workspace& workspace) const;
  // Stores the safety factor as value fsValue, the restraining force and the sums of the case;
  // rounded by their codes while rounding is on. A missing value stays missing and a negative
  // safety factor keeps its sign.
  static void StoreCase(CRepPoint& point, int seismicCase, int fsValue, const CaseValues& values);
  // A safety factor as it is stored: rounded while rounding is on.
  static double RoundFs(double fs);
  // The case's values of the entered slip surface on the section; unset without slices.
  CaseValues CalcSpecifCase(const CDanmenStab& section, int seismicCase) const;

 private:
  class RepeatSearch;

  // Both cases' values by the section's method on the list built on it; the seismic case's stay
  // unset while the section does not serve it.
  std::array<CaseValues, 2> CalcCases(const CDanmenStab& section, CSliceList& list,
                                      Methods& methods) const;
  // The seismic section reads the normal section's shapes and condition: it divides a piece
  // and computes its slices alike and differs in the load case it serves only.
  bool SeismicPassIsNormalPass() const;

  // The slice list of the section's entered surface; null when it cuts no slice out of the ground.
  static std::unique_ptr<CSliceList> SpecifSliceList(const CDanmenStab& section);
  // The serial list under the default key, whose length is the serial count, then under the
  // result set's key, sorted by its sort selector.
  void ListResults();
  // The representative points under the result set's key, with its contour lines when asked;
  // nothing for an interrupted mesh.
  void Finish(CRepMesh& mesh, bool contours) const;
  // Moves the case's crack where the search joined it last.
  void PlaceCrack(const std::optional<CrackPlacement>& placement) const;

  Sections sections_;
  CResCircle* results_;
  const CArcCondition* condition_;
};
