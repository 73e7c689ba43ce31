#pragma once
// The division of a case's slide mass into vertical blocks. The slide mass is one stratum polygon
// of the section, chosen by the user; the list cuts it at typed or automatically found x
// positions (the automatic ones make every block diagonal run at the division angle), fills each
// block with the boundaries of all strata, the water level and the base, and keeps the outline of
// the slide mass (a ground copy along its top, a slide-line copy along its base) with the working
// slip surface made from it. Sub-lists of consecutive blocks are the runs that the stability
// calculation takes.
//
// Blocks are numbered in walking order: from the left, or from the right when the ground rises to
// the right (the direction flag). The sections are observed, never owned; the blocks' entries
// link to the section's shapes and to this list's working slip surface.
//
// Members are implemented in BlockList.cpp (settings, record, copies, totals, base sections,
// shapes) and BlockDivision.cpp (x positions, automatic division, block making, re-linking).

#include <memory>
#include <vector>

#include "core/geometry/DArc.h"
#include "core/geometry/DPoint.h"
#include "core/section/SpGround.h"
#include "core/section/SpSlide.h"
#include "core/section/SpSlideWork.h"
#include "core/stability/Block.h"

class Archive;
class CDPolyArray;
class CDanmen;
class CDanmenStab;
class CMltKey;
class CSpWater;
class CViewInfo;

class CBlockList {
 public:
  // The most blocks a division may hold; the block dialog refuses more.
  static constexpr int kMaxBlocks = 300;

  CBlockList();
  // A list is copied with Copy, which links the copied blocks to the copy's own surface.
  CBlockList(const CBlockList&) = delete;
  CBlockList& operator=(const CBlockList&) = delete;
  ~CBlockList();

  // The case's section, whose ground, strata and water the division reads.
  void SetDanmen(const CDanmen* section) { section_ = section; }
  // The stability section every block is given.
  void SetDanmenStab(const CDanmenStab* section) { sectionStab_ = section; }
  // True when the ground rises to the right: blocks are then numbered from the right.
  bool IsRightUpper() const { return rightUpper_; }
  void SetRightUpper(bool rightUpper) { rightUpper_ = rightUpper; }
  // The index of the slide-mass polygon in the ground's stratum polygons; -1 for none.
  int GetStratumIndex() const { return stratum_; }
  void SetStratumIndex(int index) { stratum_ = index; }
  // Where the automatic division starts.
  double GetStartX() const { return startX_; }
  void SetStartX(double x) { startX_ = x; }
  // The inclination of the block diagonals in the automatic division, degrees.
  double GetAngle() const { return angle_; }
  void SetAngle(double degrees) { angle_ = degrees; }
  // Set when a division has been accepted.
  bool IsConfirmed() const { return confirmed_; }
  void SetConfirmed(bool confirmed) { confirmed_ = confirmed; }
  // The outline of the slide mass: its top and its base at the cuts, from the start side.
  const CSpGround& GetGroundCopy() const { return *groundCopy_; }
  const CSpSlide& GetSlideCopy() const { return *slideCopy_; }
  // The working slip surface of the last division; null before one.
  const CSpSlideWork* GetSlideWork() const { return slideWork_.get(); }

  // Clears the settings, the x positions, the blocks and the outline, and releases the section
  // links and the working slip surface.
  void Init();
  // The list record: the x positions, the chosen stratum, start x, angle, the ground copy, the
  // slide copy, the blocks and (from version 2) the confirmed flag. Neither the direction nor the
  // links nor the working slip surface are stored. A failed Load leaves the list as it was; a
  // loaded list has no working slip surface.
  void Store(Archive& ar, int version) const;
  void Load(Archive& ar, int version);
  // Takes every setting, the outline, the blocks, the links and a copy of the working slip
  // surface of the other list.
  void Copy(const CBlockList* other);
  // A new list of copies of blocks i..j with this list's settings and links and its own copy of
  // the working slip surface; null unless 0 <= i < j < number of blocks.
  std::unique_ptr<CBlockList> CreateBlockList(int i, int j) const;
  bool IsSame(const CBlockList* /*other*/) const { return true; }

  // ---- x positions and blocks ----

  void CopyStX(const std::vector<double>& xs) { xs_ = xs; }
  void CopyBlock(const std::vector<CBlock>& blocks) { blocks_ = blocks; }
  void InitXArray() { xs_.clear(); }
  void DeleteBlockArray() { blocks_.clear(); }
  // Throws std::out_of_range outside the positions.
  double GetX(int i) const;
  int GetXSize() const { return static_cast<int>(xs_.size()); }
  // Null outside the list.
  CBlock* GetBlockPtr(int i);
  const CBlock* GetBlockPtr(int i) const;
  int GetBlockSize() const { return static_cast<int>(blocks_.size()); }
  // The number of pairs of a start and an end block.
  int GetBlockCalcSize() const;
  // Block i's base strength; false outside the list.
  bool GetCF(int i, double& c, double& phi) const;

  // ---- Division (BlockDivision.cpp) ----

  void SortXArray(bool ascending);
  // Of positions closer than 1e-5 the first stays.
  void RemoveSameX();
  // Drops the positions below lo or above hi by more than 1e-5.
  void RemoveOuter(double lo, double hi);
  // Drops unset positions and moves the others into [lo, hi].
  void RemoveOuterAdjust(double lo, double hi);
  // The x positions at which every block diagonal runs at the division angle, walked from the
  // start x along the base and along the top of the slide mass. Returns their number; 0 without
  // a section, ground, chosen stratum or start x; -1 when the angle lies outside (0, 90) degrees
  // or the slide mass has no base or top at the start x. The previous positions are emptied
  // first. A walk stops when x no longer moves on by more than 0.001, and a walk that would make
  // more than kMaxBlocks blocks stops there, so that the list shows it is over the limit.
  int SetXArrayAuto();
  // Cuts the slide mass at the x positions into blocks filled from the strata (null: the
  // ground's) and the water line (null: the section's). Without given strata the working slip
  // surface is fitted to the ground. Returns the number of blocks; 0 when nothing was made.
  int CreateBlock(CDPolyArray* strata, const CSpWater* water);
  // After a load: links the blocks' entries to the strata, the water line and the base again.
  void SetBlockMatShape(CDPolyArray* strata, const CSpWater* water);
  // Fits the surface to the ground; true when that gives at least one piece.
  static bool CorrectSlideObj(const CSpSlideWork* work, const CSpGround* ground, CDPolyArray* out);

  // ---- Strength of the slide mass ----

  // 1 when every block has a base stratum with c and phi as its strength type takes them (a type
  // that takes none keeps the block before's); 0 at the first block without.
  int IsValidCFai() const;
  // phi, and the unit weights, c and phi of the chosen stratum; no value without one.
  double GetSouFai() const;
  void GetSouGanmmaCFai(double& gammaT, double& gammaSat, double& c, double& phi) const;

  // ---- Totals and surcharge ----

  // Least left x, greatest top y, greatest right x, least base y; all 0 for an empty list.
  void GetRect(double& left, double& top, double& right, double& bottom) const;
  double GetTotalWidth() const;
  double GetTotalHight() const;
  // Least base y; 9e32 for an empty list.
  double GetTotalBottom() const;
  // Slide length: the bases of all blocks but the last, whose end face closes the run.
  double GetTotalL() const;
  double GetTotalArea() const;
  // Slide angle in degrees from the first to the last block's base; no value for an empty list.
  double GetSuberiAngle() const;
  // The mean height (area over width), or the greatest height of any cut.
  double GetH(bool greatest) const;
  void CalcKaju();
  // Whether some block bears a surcharge of the case (1 seismic, else normal).
  bool IsKajuExist(int kind) const;

  // ---- Base sections: runs of blocks on one piece of the base with one strength ----

  bool IsSameGroup(int i, int j) const;
  bool IsGroupHead(int i) const;
  int GetKukanSize() const;
  // The k-th base section: its first and last block, the start and end of its base and, when it
  // lies on an arc, that arc from the first block's start to the last block's end. False, with
  // first -1, when there is no k-th section.
  bool GetKukanInfo(int k, int& first, int& last, CDPoint& start, CDPoint& end, bool& isArc,
                    CDArc& arc) const;

  // ---- Drawing (BlockDraw.cpp); pens, brushes and fonts are put back afterwards ----

  // The block outlines, the slide mass of the run first..last (filled and outlined) and the
  // block numbers the key does not exclude (all without a key). DrawPrn draws with no key.
  void DrawView(CViewInfo* view, const CMltKey* key, int first, int last) const;
  void DrawPrn(CViewInfo* view, int first, int last) const { DrawView(view, nullptr, first, last); }
  // Every block's two cuts, its top line and its base line.
  void DrawBlock(CViewInfo* view) const;
  // The slide mass of the run from the start-side cut of block first: every block filled up to
  // its far cut, the last only behind its diagonal. Nothing for a run that is not in the list.
  void DrawBlockSlideFill(CViewInfo* view, int first, int last) const;
  // The outline of that slide mass, ending in the last block's diagonal.
  void DrawBlockSlideLine(CViewInfo* view, int first, int last) const;
  // "%d" of every block number the key does not exclude, 0.3 above the block's mean top.
  void DrawBlockNo(CViewInfo* view, const CMltKey* key) const;
  // The preview of the block dialog: the chosen stratum (showStratum), the outline copies, the
  // cuts and diagonals, the division start marker (showStart), the x position highlight (-1:
  // none) and the block numbers.
  void DrawBlockCut(CViewInfo* view, bool showStratum, bool showStart, int highlight) const;

  // ---- Shapes from the blocks (the caller owns them) ----

  // The slide line of the run i..j: down the head cut (with topArc from its base at 70 or 110
  // degrees up to the ground, rounding the head), along the bases and up block j's diagonal. Null
  // when i or j lies outside the list.
  std::unique_ptr<CSpSlide> CreateSlideLine(int i, int j, bool topArc) const;
  // The straight working surface of the whole chain, left to right; null for fewer than two
  // blocks.
  std::unique_ptr<CSpSlideWork> CreateDrawObj() const;

 private:
  // The slide-mass polygon; null without a section, ground, strata or a valid index.
  const CDPoly* ChosenPolygon() const;
  const CSpStratumBlock* ChosenStratum() const;
  // The corner of the block's cut on the start side (the right cut with the direction flag) or on
  // the far side, at its top or at its base.
  CDPoint StartCorner(const CBlock& block, bool top) const;
  CDPoint FarCorner(const CBlock& block, bool top) const;
  // Whether first..last is a run of this list.
  bool IsRun(int first, int last) const;
  // The working slip surface becomes a copy of the other; the blocks' links to the other follow.
  void TakeSlideWork(const CSpSlideWork* other);

  // ---- BlockDivision.cpp ----

  // Walks from the start x along the base (alongBase) or the top of the polygon in the direction
  // step (-1 or +1), appending the x of every cut. False when the polygon has no such boundary at
  // the start x.
  bool WalkCuts(const CDPoly& polygon, bool alongBase, int step, std::vector<double>& xs) const;
  // The top and base outline of the polygon at the cuts.
  void BuildOutline(const CDPoly& polygon);
  CBlock MakeBlock(double left, double right, CDPolyArray* strata, const CSpWater* water) const;

  bool rightUpper_ = false;
  std::vector<double> xs_;
  int stratum_ = -1;
  double startX_ = kNoValue;
  double angle_ = 0;
  std::unique_ptr<CSpGround> groundCopy_;
  std::unique_ptr<CSpSlide> slideCopy_;
  std::vector<CBlock> blocks_;
  bool confirmed_ = false;
  const CDanmen* section_ = nullptr;
  const CDanmenStab* sectionStab_ = nullptr;
  std::unique_ptr<CSpSlideWork> slideWork_;
};
