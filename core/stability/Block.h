#pragma once
// One vertical block of the slide mass in the block method: the strip between a left and a right
// cut. Along both cuts it knows every boundary that crosses the strip, from the top of the slide
// mass down to the base on the slip surface, and from them its geometry, its weight layer by
// layer (moist above the water level, saturated below), the pore-water force on its base, the
// height factor of the seismic coefficient, its surcharge sums and the same values for its end
// face, the triangle cut off by the block diagonal that closes the last block of a run.
//
// Layer i lies between boundary entry i and entry i+1; with a base arc the index n-1 (n entries)
// stands for the circular segment between the base chord and the arc. Quantities marked as
// rounded (with their quantity code) pass through the process-wide rounding only while its switch
// is on, so that the calculation uses the numbers the screens and reports show.
//
// Members are implemented in Block.cpp (list, record, water, strength, surcharge) and
// BlockGeometry.cpp (heights, areas, weights, centroids, angles, end face).

#include <memory>
#include <string>
#include <vector>

#include "core/geometry/DArc.h"
#include "core/geometry/DPoint.h"
#include "core/geometry/DPoly.h"
#include "core/stability/BlockResult.h"

class Archive;
class CDPolyArray;
class CDanmenStab;
class CSpStratumBlock;

class CBlock {
 public:
  CBlock() = default;
  // A copy is independent: its own boundary list and base arc; it keeps the section link and the
  // shapes its entries link to.
  CBlock(const CBlock& other);
  CBlock& operator=(const CBlock& other);
  CBlock(CBlock&&) noexcept = default;
  CBlock& operator=(CBlock&&) noexcept = default;
  ~CBlock() = default;

  // Resets the cuts, the water entry, the remain area, the base strength and its type, and
  // releases the section link and the base arc; the boundary list and the result record stay.
  void Init();

  // The block record: left and right x, the boundary entries (y left, y right, flag), the water
  // entry, the remain area, base c and phi, the two strength codes and the result record by
  // version. Shape links and the base arc are not stored: a loaded block's entries link to no
  // shape until the block list re-links them. A failed Load leaves the block as it was.
  void Store(Archive& ar, int version) const;
  void Load(Archive& ar, int version);

  void SetLeftRightX(double left, double right);
  double GetLeftX() const { return leftX_; }
  double GetRightX() const { return rightX_; }

  // ---- The boundary list (top to bottom; the last entry is the base) ----

  void AddDEVY(const tagDEVY& entry);
  void AppendDEVYArray(const std::vector<tagDEVY>& entries);
  int GetDEVYsize() const { return static_cast<int>(devy_.size()); }
  // Null when i lies outside the list.
  const tagDEVY* GetIndexDEVY(int i) const;
  const tagDEVY* GetLastDEVY() const;
  // Exchanges the two y values and the shape of two entries; the flags stay.
  void SwapDEVY(int a, int b);
  // Orders the entries from the highest boundary to the lowest; coincident entries then keep the
  // one that continues the boundary above them first.
  void SortDEVY();
  // Removes coincident entries (both y within 1e-5), keeping the one whose shape continues.
  void DelSameDEVY();
  // The stratum of layer i: from entry i upward, the first entry linked to a stratum polygon;
  // null when none or when i lies outside the list.
  const CSpStratumBlock* SearchDevyStratum(int i) const;
  // The first entry whose y equal the given entry's exactly takes the given shape.
  void SetDEVMatShape(const tagDEVY& entry);
  void SetDEVMatShape(const std::vector<tagDEVY>& entries);
  int GetTisoCount() const { return GetDEVYsize() - 1; }
  // Every entry, the water entry included, that links to `from` links to `to` instead.
  void ReplaceShape(const CDPoly* from, const CDPoly* to);
  // Marks the inner layers that lie in no stratum polygon as voids (weight 0) and links every
  // inner entry that merely continues the shape above it to the polygon that holds its layer.
  // Looking up a layer moves the array's selection as FindPolygon does. Null strata only clear
  // the marks.
  void SetHang(CDPolyArray* strata);
  bool IsHang(int i) const;

  // ---- Links, strength, base arc, result ----

  // The stability section (not owned): unit weight of water, water switch, surcharge loads.
  void SetDanmenStab(const CDanmenStab* section) { section_ = section; }
  const CDanmenStab* GetDanmenStab() const { return section_; }
  void SetBaseCF(double c, double phi);
  double GetBaseC() const { return baseC_; }
  double GetBasePhi() const { return basePhi_; }
  // 2: c and phi of the base stratum; 3: c = 0 and phi of the base stratum; 0 and 1: back
  // analysis; others: no strength from the block. The second code is stored only.
  void SetStrengthType(int type, int secondCode);
  int GetStrengthType() const { return strengthType_; }
  int GetSecondStrengthCode() const { return secondStrengthCode_; }
  // c and phi (degrees) of the base stratum as the strength type takes them; other types leave
  // both as they are. False, with both no value, without a base stratum.
  bool GetCF(double& c, double& phi) const;
  // 1 when the block takes part in a back analysis: strength types 0 and 1, or a base stratum
  // marked for it.
  int IsGyaku() const;
  // The circular piece of the slip surface under the block; null for a straight base.
  void SetBaseArc(std::unique_ptr<CDArc> arc) { arc_ = std::move(arc); }
  const CDArc* GetBaseArc() const { return arc_.get(); }
  tagBLOCKRESULTSLICE& GetResult() { return result_; }
  const tagBLOCKRESULTSLICE& GetResult() const { return result_; }

  // ---- Geometry (BlockGeometry.cpp) ----

  double GetLeftTopY() const;
  double GetRightTopY() const;
  double GetLeftBottomY() const;
  double GetRightBottomY() const;
  double GetLeftY(int i) const;
  double GetRightY(int i) const;
  double GetCenterX() const;
  double GetCenterY() const;
  // The base under the middle of the block: on the arc at half its sweep, else the mean base y.
  double GetCenterBottomY() const;
  // The base at x: on the arc at the same fraction of its sweep, else linear between the cuts.
  double GetBottomY(double x) const;
  // (centre x, mean top y) and (centre x, mean base y), dy added to y.
  CDPoint GetMiddleTop(double dy) const;
  CDPoint GetMiddleBottom(double dy) const;
  // (cut x, entry i's y); the no-value point when i lies outside the list.
  CDPoint GetPointLeft(int i) const;
  CDPoint GetPointRight(int i) const;
  // The points where the shape meets the cut: the top for the ground, the base for a slide line
  // or working slip surface, the water entry for the water line, every entry linked to a stratum
  // polygon; nothing for other kinds. Returns how many.
  int GetPoint(bool left, const CDPoly* shape, std::vector<CDPoint>& out) const;
  int GetPointLeft(const CDPoly* shape, std::vector<CDPoint>& out) const;
  int GetPointRight(const CDPoly* shape, std::vector<CDPoint>& out) const;

  // Width, rounded (code 141).
  double GetWidth() const;
  // Top less base along the right (true) or left cut, unrounded.
  double GetH(bool right) const;
  // Height of layer i at the cut (code 184); 0 for i < 0 or without entry i+1.
  double GetTisoHtLeft(int i) const;
  double GetTisoHtRight(int i) const;
  // The rounded sum of the rounded layer heights along the cut (code 184).
  double GetDepthLeft() const;
  double GetDepthRight() const;
  // The circular segment between the base chord and the arc (code 111); 0 without an arc.
  double GetKoArea() const;
  // Area of layer i (code 111); i < 0 the sum over all layers.
  double GetArea(int i) const;
  // Base length: along the arc, else the chord (code 221).
  double GetLength() const;
  // Base inclination in radians, positive when the base rises to the right; with an arc taken at
  // the x of the block's centroid (at the centre x when the block weighs nothing).
  double GetBottomAngle() const;
  // Inclination of the arc at x: the tangent at its lower crossing with the vertical at x.
  double GetBottomAngle(double x) const;

  // ---- Unit weight, weight, centroids (BlockGeometry.cpp) ----

  // Unit weight of layer i; kind 0: moist or saturated as the layer lies, 1 moist, 2 saturated.
  // Voids weigh 0; a layer under an entry without a shape is water when the block has a water
  // level.
  double GetGamma(int i, int kind) const;
  double GetGamma_res(int i, int kind) const { return GetGamma(i, kind); }
  // Whether the top of layer i lies above the water level.
  bool IsMoist(int i) const;
  // Weight of layer i (code 331); i < 0 the rounded sum over all layers. Without an arc the last
  // index weighs 0.
  double GetWeight(int i) const;
  // Centroid of the trapezoid of layer i; the no-value point for a layer that does not exist.
  CDPoint DaikeiJuushin(int i) const;
  // Centroid of layer i: the arc segment's for the last index, else the trapezoid's.
  CDPoint Juushin(int i) const;
  // Weight-weighted centroid of layers i..n-1, computed unrounded; the no-value point when they
  // weigh nothing.
  CDPoint TotalJuushin(int i) const;
  // Height factor of the seismic coefficient at the block's centroid: 1 below the reference
  // level, rising to 2 at the top (or 100 above the reference at most); 1 for a block of no weight.
  double GetCoffkh(double top, double reference) const;

  // ---- Water (Block.cpp) ----

  void GetWaterLev(double& left, double& right) const;
  const tagDEVY& GetWaterEntry() const { return water_; }
  // The water level from the first record of the water line's entries, kept between base and top,
  // becomes a boundary of the list; without a record, or with the base above it on both cuts,
  // the block has no water level.
  void SetWaterLev(const std::vector<tagDEVY>& water);
  // Inserts the water level as a boundary between the first pair of entries that holds it; 1 when
  // inserted.
  int SetWaterLev2();
  // After a load: the water entry links to the water line again, and the boundary at the water
  // level to the stratum of the layer above it.
  void SetWaterMatShape(const std::vector<tagDEVY>& water);
  void SetWaterMatShape2();
  // The water level from the first record (unclamped), or from a level that lies at or above it,
  // or from a point whose flag says which side of its x it covers (0 the blocks to its left,
  // others the blocks to its right); then as SetWaterLev2.
  void SetWaterLevStWL(const std::vector<tagDEVY>& water, double level);
  void SetWaterLevCrWL(const std::vector<tagDEVY>& water, const CDPoint& point);
  // A water level on both cuts that comes from no water line.
  bool IsExtendedWater() const;
  // Submerged: the water level at or above the top on both cuts.
  bool IsSuibotu() const;
  // Ponded water over a submerged block (code 111); 0 otherwise.
  double GetTansuiArea() const;
  // Mean water height over the base (code 181); -1 without water or with the water 1e-5 or more
  // below the base on either cut.
  double GetDepthWtoS() const;
  // Pore-water force on the base (code 311); 0 with the section's water switch off.
  double GetU() const;

  // ---- End face, side true: triangle top-left, top-right, base-right (BlockGeometry.cpp) ----

  double GetEndArea(bool side, int i) const;
  double GetEndWeight(bool side, int i) const;
  double GetEndLength(bool side) const;
  double GetEndAngle(bool side) const;
  // Pore-water force on the end face (code 311); 0 with the section's water switch off, as the
  // base.
  double GetEndU(bool side) const;
  // Height of the triangle's centroid; no value for a triangle of no height.
  double GetEndJuushinY(bool side) const;
  double GetEndCoffkh(bool side, double top, double reference) const;

  // ---- Surcharge, cracks, names, remaining area (Block.cpp) ----

  // The ten surcharge sums of the result record from every load of the section on this strip.
  void CalcKajuSeibun(bool direction);
  // The first inner entry linked to a shape other than a stratum polygon; -1 for none.
  int SearchCrackDevy() const;
  int IsCrackDevy(int i) const;
  // The name of layer i's stratum; "水" without one, "-" for a layer that does not exist.
  std::string GetTisoName(int i) const;
  // The area between the levels upper and lower (the water or the base below, the top above).
  void SetRemainArea(double upper, double lower);
  double GetRemainArea() const { return remainArea_; }

 private:
  bool HasWaterLevel() const;
  // The pore-water force before the inclination of the face: unit weight of water times the mean
  // water height times the width; 0 when there is no pore pressure.
  double PoreWaterLoad() const;
  // The weight of layer i of the given area; the last index weighs nothing without an arc.
  double Weight(int i, double area) const;
  // The weight of layer i (0 <= i < n) with no rounding anywhere, for the centroid.
  double ExactWeight(int i) const;
  // The water entry from the first record of the water line, not clamped; false without one.
  bool StartFromWaterRecord(const std::vector<tagDEVY>& water);

  double leftX_ = kNoValue;
  double rightX_ = kNoValue;
  std::vector<tagDEVY> devy_;
  tagDEVY water_;
  double remainArea_ = 0;
  const CDanmenStab* section_ = nullptr;
  double baseC_ = kNoValue;
  double basePhi_ = kNoValue;
  int strengthType_ = 0;
  int secondStrengthCode_ = 0;
  std::unique_ptr<CDArc> arc_;
  tagBLOCKRESULTSLICE result_;
};
