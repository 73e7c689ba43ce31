#pragma once
// One design case: the cross-section of one slope with every input, condition and result of the
// four design steps. The case owns all its members; the section views, the block list and the
// section data point into the case's own shapes, so a case is never copied or moved as a value
// (Copy makes one case equal to another). A document holds ten cases (CCaseArray).
//
// Members are implemented in Case.cpp (state, record, copies, geometry), CaseCalc.cpp (results,
// pre-checks and calculation starts) and CaseDraw.cpp (drawing and mouse editing).

#include <string>
#include <vector>

#include "core/circle/ArcCondition.h"
#include "core/circle/ResStab.h"
#include "core/deformation/CalcShear.h"
#include "core/deformation/CalcSlide.h"
#include "core/deformation/ReinfArrange.h"
#include "core/deformation/ResFocus.h"
#include "core/deformation/ResShear.h"
#include "core/deformation/ResSlide.h"
#include "core/geometry/DPoint.h"
#include "core/geometry/DPolyArray.h"
#include "core/geometry/ViewInfo.h"
#include "core/model/Danmen.h"
#include "core/model/DrawSet.h"
#include "core/model/PrmGrid.h"
#include "core/model/PrmJobsite.h"
#include "core/model/PrmReinf.h"
#include "core/model/PrmShear.h"
#include "core/model/PrmSlide.h"
#include "core/model/PrmStab.h"
#include "core/section/SpGround.h"
#include "core/section/SpSlideWork.h"
#include "core/section/SpWater.h"
#include "core/stability/BlockList.h"
#include "core/stability/CalcStabMlt.h"
#include "core/stability/ResStab2.h"

class Archive;
class CMltPoint;
class CZCmnStructure;

// An input of the calculations that the user edits. Once a stored value of one differs, the
// results that read it no longer hold; CCase::ClearResultsReading knows which they are.
enum class CalcInput {
  kTerrain,               // ground, strata and water lines
  kSlopeDirection,        // the site's slope direction
  kSoilConstants,         // the strata's soil constants
  kStabilityConditions,   // the multi-plane stability conditions
  kBlockDivision,         // the blocks of the stability calculation
  kRoundingRules,         // the program's rounding of values
  kBackAnalysisStrength,  // the strength the back analysis adopts for the forward calculations
  kBarArrangement,        // the drain bars and their ranges
  kSlideConditions,       // the slide deformation's conditions and standard values
  kShearConditions,       // the shear deformation's conditions, fit and bolt specifications
  kFirstBolt,             // the bolt the rope-net check takes
};

class CCase {
 public:
  // The head line of every pre-check message.
  static constexpr const char* kCannotCalc = "以下の理由により、計算が行えません。";

  // An empty case (Init), its links set.
  CCase();
  ~CCase();
  CCase(const CCase&) = delete;
  CCase& operator=(const CCase&) = delete;

  // ---- State ----

  // The empty design: every member back to its new value, the section views relinked.
  void Init();
  // Sets the stability conditions' leading mode value to 0, nothing else.
  void Default() { prmStab_.leadMode = 0; }
  void SetModify(bool modified) { modified_ = modified; }
  bool IsModified() const { return modified_; }
  // 0 for an empty slot.
  int GetInUse() const { return inUse_; }
  void SetInUse(int inUse) { inUse_ = inUse; }
  // A stored change by the user: the document has something to save, and the case is in use,
  // so that it is written whole.
  void MarkEdited() {
    SetModify(true);
    SetInUse(1);
  }

  // Makes this case equal to the other: every stored member, the working slide surface and the
  // view, then AfterLoadProcess. The modified flag stays. A ground or divided ground without
  // stratum polygons in the other case leaves none here. The bool has no effect.
  void Copy(const CCase* other, bool = false);
  // Site data, grid, ground, stratum lines (with their names), water, working slide surface and
  // the conditions the calculations use equal; results are not compared.
  bool IsSame(const CCase* other) const;
  // False for every case: the rounding command then treats all ten slots.
  bool IsValid() const { return false; }
  // Empties the chosen result sets, in this order: back analysis, stability, slide, shear.
  void ClearResult(bool backAnalysis, bool stability, bool slide, bool shear);
  // Empties the results that read the edited input, and only those.
  void ClearResultsReading(CalcInput edited);

  // ---- Case slot record ----

  // int32 in-use flag; when it is not 0: site data, grid, ground, stratum lines; from version 3
  // water, stability conditions and both result sets; the block list; from version 3 the
  // arrangement, the reinforcement and the slide conditions and the slide result; from version 6
  // the shear conditions, the shear result and the rope-net check.
  void Store(Archive& ar, int version) const;
  // Reads the whole record into temporaries and takes them over only when it was read; then
  // AfterLoadProcess. A slot with in-use 0 changes nothing but the in-use flag. Members an older
  // record lacks keep their values. The bool has no effect.
  void Load(Archive& ar, int version, bool = false);
  // Rebuilds everything derived from the stored members (after Load and Copy).
  void AfterLoadProcess();

  // ---- Geometry ----

  // Direction 1: true; 0 (automatic): the ground line rises to the right; else false.
  bool IsRightUpper() const;
  // While the grid follows the shapes: the bounding box of ground, stratum lines and water,
  // widened to the pitches and down by the depth below.
  void SetGridAutoRange();
  // The lowest y of the ground (the divided ground in block mode) and, withStrata, of every
  // stratum line; kNoValue when none has points.
  double GetBottomYPoint(bool withStrata) const;
  // Type 0 or 1: index 0 the normal, 1 the seismic section data; type 2 the slide, 3 the shear
  // section data; null for other types or an index of 2 or more.
  CDanmenStab* GetDanmenStabData(int type, int index);
  // Points the editing view and the four section data at ground, strata and water.
  void SetDanmenData();
  // The same with the divided ground and strata (the water stays the case's own).
  void SetDanmenDataDiv();
  // Builds the stratum polygons of the ground (of the divided ground) from the lines down to the
  // grid's lower edge and carries the soil properties over; 1 on success, 0 (nothing changed)
  // when nothing was built.
  int CreateTisoPoly();
  int CreateTisoPolyDiv();
  void ClearDivisionDanmen();
  // The section merged with the block division's outline, when the block list has one.
  void CreateDivisionDanmen();
  // Links the section data to the working slide surface (slide-surface mode 1) or unlinks them
  // (mode 0; the searched surfaces and slide moves too when forced or nothing is selected).
  void SetDanmenForSlideMode(int force);
  // The block list holds a block and its division is confirmed.
  int IsStratumBlockMode() const;
  // The highest ground point of the normal section stands 100 or more above the base elevation.
  int IsCoffkh100Over() const;
  // The shape point nearest to p and its distance (9e32 when there is none).
  CDPoint FindNearPoint(const CDPoint* p, double& dist) const;
  // Rounds the cohesion (131) and friction angle (161) of every stratum polygon of the ground and
  // of the divided ground.
  void UnitDataRound();
  // The unit weights, c and phi of the block list's chosen stratum, with the adopted
  // back-analysis strength while the back analysis is on; all kNoValue without a stratum.
  void GetBlockGanmaCFai(double& gammaT, double& gammaSat, double& c, double& phi) const;
  // Recomputes the rock bolts' real heights on the slide line of the seismic-selected run.
  void CalcArrangeH();
  // Kind 1: the stability set's ordered list; else null.
  const std::vector<CMltPoint*>* GetSerial(int kind) const;

  // ---- Results (CaseCalc.cpp) ----

  bool IsResStab() const;
  bool IsResStabGyaku() const;
  // Step 3: the seismic case analysed and the slide result's design row computed.
  bool IsResSlide() const;
  // Step 4: the seismic case analysed, the shear result and the rope-net check computed.
  bool IsResShear() const;
  // The stability set's point selected for the seismic case; null when none.
  CMltPoint* GetQuakeSelectPoint() const { return resStab2_.GetSelectRepPt(1); }

  // ---- Pre-checks and calculation starts (CaseCalc.cpp) ----

  // Each check gathers the reasons that stop its calculation after the head line and, when show
  // is true and there is one, shows them in one box (OK). True when there is none.
  bool IsCalcStab(bool show) const;
  bool IsCalcStabGyaku(bool show) const;
  bool IsCalcSlide(bool show) const;
  bool IsCalcShear(bool show) const;
  // The check, then the conditions copied into the section data of the calculation.
  bool PreCalcStab(bool show);
  bool PreCalcStabGyaku(bool show);
  bool PreCalcSlide(bool show);
  bool PreCalcShear(bool show);
  // The multi-plane calculation into the stability set (with the back-analysed strength while
  // the back analysis is on) and into the back-analysis set. The caller runs PreCalc first. The
  // job runs with a progress window through its three steps; CalcStart runs it headless. So do
  // the slide and the shear march below.
  CCalcStabMlt StabJob();
  CCalcStabMlt StabGyakuJob();
  void CalcStartStab() { StabJob().CalcStart(); }
  void CalcStartStabGyaku() { StabGyakuJob().CalcStart(); }
  // The slide deformation on the run registered for the seismic case, with the back-analysed
  // strength when there is one.
  CCalcSlide SlideJob();
  void CalcStartSlide() { SlideJob().CalcStart(); }
  // The shear deformation with the chosen stratum's moist unit weight and friction angle (the
  // back-analysed one while the back analysis is on).
  CCalcShear ShearJob();
  void CalcStartShear() { ShearJob().CalcProcess(); }

  // ---- Exchange with the common terrain data (CaseExchange.cpp) ----

  // Asks before results of a case in use are lost, lets the user choose a file in the working
  // folder and reads it; only a file that was read replaces the case by its ground, strata,
  // stratum polygons, water line, site names, grid and stability conditions. The case is then in
  // use and modified, and the main window redraws. A cancelled or refused file changes nothing.
  void ImportXml();
  // Writes the section to a file the user chooses in the working folder; which 0 adds the slide
  // line of the run selected for the normal case, 1 that of the seismic case, any other value
  // none. A selected run whose blocks no longer exist adds neither its slide line nor the marks of
  // its surface points.
  void ExportXml(int which) const;
  // The case as common terrain data, as ExportXml writes it.
  void ExportTerrain(int which, CZCmnStructure& data) const;
  // Replaces the case by what the common terrain data holds, as ImportXml does after the read.
  // Data with a point that a stored shape could not hold (beyond the coordinate limit of the
  // records, or not a number), or whose grid is not sound (CPrmGrid::IsSound), is refused with a
  // message naming the limit and changes nothing, so that an imported case can always be saved
  // and opened again. True when the data was taken.
  bool ImportTerrain(const CZCmnStructure& data);

  // ---- Reinforcement CSV import (CaseRfcCsv.cpp) ----

  // Lets the user choose a CSV file of "QX" results and takes its arrangement ranges, standard
  // bar, bar conditions and rock-bolt list into the case, then rebuilds the slide line and the
  // bolts' real heights when the file held a bolt list. A file that cannot be read or is refused
  // shows why and changes nothing. True when the file was taken over.
  bool ImportRfcCsv();

  // ---- Drawing and mouse editing (CaseDraw.cpp) ----

  // The section of the design step in the view: grid area and scale, white background, grid,
  // then the step's shapes, blocks, results and reinforcement.
  void Draw(CViewInfo* view, int step);
  // In the case's own view, for the current design step.
  void Draw();
  // Print figures. Type 1 is the stability section (the normal one while the normal case is on,
  // else the seismic one), type 2 the slide section with the bolts. withBlocks adds the block
  // division with the registered run.
  void DrawPrnCoord(CViewInfo* view, int type, bool withBlocks) const;
  // Every block with the whole slide mass and the block numbers (types 1 and 2, in block mode).
  void DrawPrnBlock(CViewInfo* view, int type) const;
  // Type 1: the section of the column (0 normal, 1 seismic) with the run registered for it;
  // type 2 as DrawPrnCoord.
  void DrawPrnMulti(CViewInfo* view, int type, int column) const;
  void DrawPrnRepeat(CViewInfo* view) const { grid_.Draw(view); }
  void DrawPrnSpecif(CViewInfo* view) const { grid_.Draw(view); }
  void DrawPrnArrange(CViewInfo* view) const { grid_.Draw(view); }
  // An empty slice list fitted into the device rectangle, framed.
  void DrawPrnSlice(CViewInfo* view, DevRect rect, int, int) const;
  void SetCurDanmen(CDanmen* section) { curDanmen_ = section; }
  // The circle-search condition under edit, drawn last over the section and following the mouse;
  // null ends it.
  void SetCurArcCond(CArcCondition* condition) { curArcCond_ = condition; }
  // The reinforcement conditions the view draws the arrangement ranges of: an editor's working
  // copy while it is open, the case's own otherwise (null).
  void SetCurPrmReinf(const CPrmReinf* conditions) { curPrmReinf_ = conditions; }
  const CPrmReinf& GetDrawPrmReinf() const {
    return curPrmReinf_ != nullptr ? *curPrmReinf_ : prmReinf_;
  }
  void SetCurDanmenMouseMove(int kind, int id1, int id2);
  void SetCurArcCondMouseMove(int kind, int id);
  void SetMouseEdit(bool on) { mouseEdit_ = on; }
  bool IsMouseEdit() const { return mouseEdit_; }
  void OnMouseMove(CViewInfo* view, CDPoint point);
  void ResetMouseMove();
  // Clears the edit targets: the view draws the case's own data again.
  void SetDrawPtr();

  // ---- Members ----

  CPrmJobsite& GetPrmJobsite() { return jobsite_; }
  CPrmGrid& GetPrmGrid() { return grid_; }
  CSpGround& GetGround() { return ground_; }
  const CSpGround& GetGround() const { return ground_; }
  CDPolyArray& GetStratum() { return strata_; }
  const CDPolyArray& GetStratum() const { return strata_; }
  CSpWater& GetWater() { return water_; }
  CPrmStab& GetPrmStab() { return prmStab_; }
  const CPrmStab& GetPrmStab() const { return prmStab_; }
  // The slip-circle search results: held for the search dialogs, never stored or copied.
  CResStab& GetResStab() { return resStab_; }
  CResStab2& GetResStab2() { return resStab2_; }
  const CResStab2& GetResStab2() const { return resStab2_; }
  CSpGround& GetGroundDiv() { return groundDiv_; }
  CDPolyArray& GetStratumDiv() { return strataDiv_; }
  CBlockList& GetBlockList() { return blockList_; }
  const CBlockList& GetBlockList() const { return blockList_; }
  CResStab2& GetResStabGyaku() { return resGyaku_; }
  CReinfArrange& GetReinfArrange() { return arrange_; }
  const CReinfArrange& GetReinfArrange() const { return arrange_; }
  CPrmReinf& GetPrmReinf() { return prmReinf_; }
  CPrmSlide& GetPrmSlide() { return prmSlide_; }
  CResSlide& GetResSlide() { return resSlide_; }
  const CResSlide& GetResSlide() const { return resSlide_; }
  CPrmShear& GetPrmShear() { return prmShear_; }
  CResShear& GetResShear() { return resShear_; }
  const CResShear& GetResShear() const { return resShear_; }
  CResFocus& GetResFocus() { return resFocus_; }
  const CResFocus& GetResFocus() const { return resFocus_; }
  CDanmen& GetDanmen() { return danmen_; }
  CDanmen& GetDanmenDiv() { return danmenDiv_; }
  CDrawSet& GetDrawSet() { return drawSet_; }
  CViewInfo& GetViewInfo() { return view_; }
  CSpSlideWork& GetSlideWork() { return slideWork_; }
  // The slip-circle search condition: the one the repeat search reads (the results' own), which
  // the circle-search dialogs edit in place. Not stored.
  CArcCondition& GetArcCondition() { return resStab_; }
  const CArcCondition& GetArcCondition() const { return resStab_; }
  // Set by the circle-search dialog's OK when it changed the condition or the strata switches;
  // not stored, cleared by nothing but the caller that reads them.
  void SetArcChanged() {
    arcChanged_ = 1;
    arcStrataChanged_ = 1;
  }
  int GetArcChanged() const { return arcChanged_; }
  int GetArcStrataChanged() const { return arcStrataChanged_; }

 private:
  struct SlotRecord;
  // Takes over what a slot record of the version read.
  void TakeRecord(SlotRecord& read, int version);
  // Copies the calculation conditions of the stability conditions into the section data.
  void SendCalcCond(std::initializer_list<CDanmenStab*> sections);
  // The stratum polygons of the ground seen by a section data; null when there are none.
  static const CDPolyArray* TisoBlocks(const CDanmen& section);
  // The reasons of the checks, in the order they are shown.
  std::string StratumReasons(const CDanmen& section) const;
  std::string BlockReason() const;
  // Shows the reasons after the head line when there are any and show is set; true without.
  static bool Report(const std::string& reasons, bool show);
  // The run's slide section or shear section check, then the question about bolts without
  // extra length and the conditions.
  bool PreCalcDeformation(bool check, CDanmenStab& section, bool show);
  void DrawBlocksForStep1(CViewInfo* view) const;
  // The blocks, the slide mass of the run and its outline, and the block numbers.
  void DrawBlockRun(CViewInfo* view, int first, int last) const;
  // The seismic or normal section's water and loads while that case is on.
  void DrawWaterAndLoads(CViewInfo* view, const CDanmenStab& section) const;
  void DrawPrnSlideSection(CViewInfo* view, bool withBlocks) const;
  void DrawDeformationStep(CViewInfo* view, const CDanmenStab& section) const;
  // Points the edited section and the four calculation sections at a ground and its strata.
  void PointSectionsAt(CDanmen& edited, CSpGround& ground, CDPolyArray& strata);
  // The check and the preparation shared by the stability calculation and its back analysis.
  bool PrepareStabSections(bool show);

  bool modified_ = false;
  int inUse_ = 0;
  CPrmJobsite jobsite_;
  CPrmGrid grid_;
  CSpGround ground_;
  CDPolyArray strata_;
  CSpWater water_;
  CPrmStab prmStab_;
  CResStab resStab_;
  CResStab2 resStab2_;
  CDanmenStab danmenNormal_;
  CDanmenStab danmenQuake_;
  CSpGround groundDiv_;
  CDPolyArray strataDiv_;
  CBlockList blockList_;
  CResStab2 resGyaku_;
  CReinfArrange arrange_;
  CPrmReinf prmReinf_;
  CPrmSlide prmSlide_;
  CDanmenStab danmenSlide_;
  CResSlide resSlide_;
  CPrmShear prmShear_;
  CDanmenStab danmenShear_;
  CResShear resShear_;
  CResFocus resFocus_;
  CDanmen danmen_;
  CDanmen danmenDiv_;
  CDrawSet drawSet_;
  CViewInfo view_;
  bool mouseEdit_ = false;
  CDanmen* curDanmen_ = nullptr;
  CArcCondition* curArcCond_ = nullptr;
  const CPrmReinf* curPrmReinf_ = nullptr;
  CSpSlideWork slideWork_;
  int arcChanged_ = 0;
  int arcStrataChanged_ = 0;
};
