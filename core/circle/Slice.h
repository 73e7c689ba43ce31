#pragma once
// One vertical slice of the sliding body of the slice method, and the record of the forces of a
// slice or, summed, of a whole slip surface.
//
// A slice is the strip between two x values, cut into layers by its boundaries (ground, stratum
// edges, water levels), which run from the top down; the last boundary is the chord of the base.
// Layer i (0 <= i <= n - 2 for n boundaries) is the trapezoid between boundaries i and i + 1;
// layer n - 1 is the circular segment between the chord and the bottom arc, empty for a straight
// base. The slice division builds slices, the safety-factor method fills their results.
//
// Quantities are rounded by their quantity codes while the process-wide rounding switch is on
// (CCoreConfig::GetRound).

#include <array>
#include <cstddef>
#include <string>
#include <vector>

#include "core/base/UnitFilter.h"
#include "core/base/Utility.h"
#include "core/geometry/DArc.h"
#include "core/geometry/DPoly.h"
#include "core/geometry/DPolyArray.h"

class Archive;
class CDanmenStab;
class CSpStratumBlock;

// The quantity codes of the slice quantities.
inline constexpr int kRoundCodeArea = 111;
inline constexpr int kRoundCodeWidth = 141;
inline constexpr int kRoundCodeDepth = 181;
inline constexpr int kRoundCodeHeight = 184;
inline constexpr int kRoundCodeLength = 221;
inline constexpr int kRoundCodePoreForce = 311;
inline constexpr int kRoundCodeWeight = 331;

// The strength types of a slice's base: 0 and 1 unknown (the slice takes part in the back
// analysis; 1 also leaves its length out of the sum of lengths), 2 c and phi of the base stratum,
// 3 its phi with c = 0.
inline constexpr int kStrengthUnknown = 0;
inline constexpr int kStrengthUnknownNoLength = 1;
inline constexpr int kStrengthStratum = 2;
inline constexpr int kStrengthStratumPhi = 3;

// The forces of one slice or of a whole slip surface, 32 values; "seismic" means the calculation
// with the seismic coefficient kh. Unset values hold kNoValue.
struct tagRESULTSLICE {
  enum Index : int {
    kPhi = 0,     // friction angle of the base, degrees
    kC = 1,       // cohesion of the base
    kArea = 2,    // A
    kWeight = 3,  // W
    kAlpha = 4,   // base angle, radians, positive in the driving direction
    kLength = 5,  // base length L
    kT = 6,       // driving force, normal case
    kTs = 7,      // driving force, seismic case without the seismic term
    kTe = 8,      // seismic driving term
    kN = 9,       // normal force, normal case
    kNs = 10,     // normal force, seismic case without the seismic term
    kNe = 11,     // seismic reduction of the normal force
    kU = 12,      // pore-water force
    kS = 13,      // resisting force, normal case
    kSe = 14,     // resisting force, seismic case
    // Sums over the loads acting in the normal case (15..19) and in the seismic case (20..24):
    // horizontal component, vertical component with N, vertical component with T, component
    // normal to the base, component along the base.
    kLoadNormal = 15,
    kLoadQuake = 20,
    // In the totals of a slice list: base lengths of the back-analysis slices, their N - U, and
    // the resisting forces of the other slices.
    kBackLength = 25,
    kBackNU = 26,
    kBackS = 27,
    // 28..31 are kept and stored but not computed.
    kCount = 32,
  };
  static constexpr int kLoadComponents = 5;

  std::array<double, kCount> values;

  tagRESULTSLICE() { Init(); }
  // Every value unset.
  void Init();
  // Record: the 32 values (doubles) in order. In circle-search record versions up to 20 values
  // 17 and 22 are absent (30 doubles) and take the values of 16 and 21. Load reads the whole
  // record before it changes anything.
  void Store(Archive& ar, int version) const;
  void Load(Archive& ar, int version);
  void CopyData(const tagRESULTSLICE& other) { *this = other; }
  // Adds values 5 to 14 (L, T, Ts, Te, N, Ns, Ne, U, S, Se) of the other record.
  void PlusData(const tagRESULTSLICE& other);
  // k = 1 the seismic case, else the normal case.
  double GetSimpleT(int k) const;
  // T, or for k = 1 Ts + Te (kNoValue when either is unset).
  double GetT(int k) const;
  double GetSimpleN(int k) const;
  // N, or for k = 1 Ns - Ne (kNoValue when either is unset).
  double GetN(int k) const;
  double GetS(int k) const;

  double& operator[](int i) { return values.at(static_cast<std::size_t>(i)); }
  double operator[](int i) const { return values.at(static_cast<std::size_t>(i)); }
  friend bool operator==(const tagRESULTSLICE&, const tagRESULTSLICE&) = default;
};

class CSlice {
 public:
  CSlice() = default;
  CSlice(const CSlice&) = delete;
  CSlice& operator=(const CSlice&) = delete;

  // The x range, the three levels, the remaining area, the section, the bottom arc, the strength
  // type, c and phi back to unset; the boundaries and the result stay.
  void Init();
  // Back to the state of a new slice (Init, no boundaries, the result unset), keeping the storage
  // of the boundaries for the next use.
  void Clear();

  // ---- What the slice division sets ----

  void SetX(double left, double right) {
    xLeft_ = left;
    xRight_ = right;
  }
  double GetXLeft() const { return xLeft_; }
  double GetXRight() const { return xRight_; }
  double GetMidX() const { return (xLeft_ + xRight_) / 2; }
  // Gives the unit weight of water, the pore-pressure method and the loads; observed.
  void SetDanmenStab(const CDanmenStab* section) { section_ = section; }
  const CDanmenStab* GetDanmenStab() const { return section_; }
  // The base becomes a copy of the arc.
  void SetBottomArc(const CDArc& arc);
  // The base becomes the piece of the lower half of the circle's circle from start to the piece's
  // end, with the piece's half sweep and the circle's vertical terms (CDArc::GetVerticalTerms):
  // the slice division finds each end from the point of the circle at a division point
  // (CDArc::LowerPieceTo), and the terms once for all the slices on one circle.
  void SetBottomArc(const CDArc& circle, const CDArc::LowerPoint& start,
                    const CDArc::LowerPiece& piece, const CDArc::VerticalTerms& terms);
  // Null for a straight base.
  const CDArc* GetBottomArc() const { return arc_; }
  void SetStrengthType(int type) { strengthType_ = type; }
  int GetStrengthType() const { return strengthType_; }
  // c and phi (degrees) of the base as the slice division found them.
  void SetCF(double c, double phi);
  double GetC() const { return c_; }
  double GetPhi() const { return phi_; }
  tagRESULTSLICE& GetResult() { return result_; }
  const tagRESULTSLICE& GetResult() const { return result_; }

  // ---- Boundaries ----

  void AddDEVY(const tagDEVY& boundary) { boundaries_.push_back(boundary); }
  // Room for that many boundaries, so that adding up to them does not allocate.
  void ReserveDEVY(std::size_t count) { boundaries_.reserve(count); }
  void AppendDEVYArray(const std::vector<tagDEVY>& boundaries);
  int GetDEVYCount() const { return static_cast<int>(boundaries_.size()); }
  // Null outside the boundaries.
  const tagDEVY* GetIndexDEVY(int i) const {
    return i < 0 || i >= GetDEVYCount() ? nullptr : &boundaries_[static_cast<std::size_t>(i)];
  }
  const tagDEVY* GetLastDEVY() const { return boundaries_.empty() ? nullptr : &boundaries_.back(); }
  // Orders the boundaries from the highest down; of two that coincide within 1e-6 the one that
  // continues the shape of the boundary above comes first. Inline, in SliceBoundaries.h, as is
  // DelSameDEVY.
  void SortDEVY();
  // Of two neighbours that coincide within 1e-5 the upper one goes when its shape is the one the
  // walk carries (the lower boundary of the pair before it, which below the top pair is always the
  // upper boundary itself), or when they are the last pair and the base is straight.
  void DelSameDEVY();

  // ---- Geometry ----

  // y of the first (top) and the last (base chord) boundary at the left and right side.
  double GetLeftTopY() const;
  double GetRightTopY() const;
  double GetLeftBottomY() const;
  double GetRightBottomY() const;
  // y of boundary i at the side; kNoValue outside the boundaries.
  double GetLeftY(int i) const {
    const tagDEVY* d = GetIndexDEVY(i);
    return d == nullptr ? kNoValue : d->leftY;
  }
  double GetRightY(int i) const {
    const tagDEVY* d = GetIndexDEVY(i);
    return d == nullptr ? kNoValue : d->rightY;
  }
  // (x left or right, y of boundary i); the unset point outside the boundaries.
  CDPoint GetPointLeft(int i) const;
  CDPoint GetPointRight(int i) const;
  // Where the side meets the shape: the top boundary for a ground, the base for a slip line or
  // working surface, the water level for a water line, every boundary from a stratum block for a
  // block; nothing for another kind.
  std::vector<CDPoint> GetPointLeft(const CDPoly& shape) const;
  std::vector<CDPoint> GetPointRight(const CDPoly& shape) const;
  // x right - x left (code 141).
  double GetWidth() const;
  // The number of layers above the chord, n - 1.
  int GetTisoCount() const;
  // Height of layer i at the side, boundary i minus boundary i + 1 (code 184); 0 outside.
  double GetTisoHtLeft(int i) const;
  double GetTisoHtRight(int i) const;
  // The area of layer i (code 111): the segment area for layer n - 1, else the trapezoid; the sum
  // over all layers for i < 0.
  double GetArea(int i) const;
  // The segment between the chord and the bottom arc, R^2 theta / 2 - R^2 cos(theta/2)
  // sin(theta/2) (code 111); 0 for a straight base.
  double GetKoArea() const;
  // The unit weight of layer i (the segment layer takes the layer above it): 0 below a hanging
  // boundary; from the stratum block above a boundary with a shape (kind 0: moist when IsMoist,
  // else saturated; 1 moist; 2 saturated; another kind 0); water's where a boundary without a
  // shape lies under a water level, else 0. kNoValue when the block's unit weight is unset.
  double GetGamma(int i, int kind) const;
  double GetGamma_res(int i, int kind) const { return GetGamma(i, kind); }
  // Area times unit weight of layer i (code 331); 0 beyond the last layer and for the segment
  // layer of a straight base; the sum over all layers for i < 0. kNoValue where a unit weight is
  // unset.
  double GetWeight(int i) const;
  // GetArea(-1) and GetWeight(-1) from one pass over the layers, each layer's area and unit
  // weight found once, and with withCentroid TotalJuushin(0) from the same pass (else the unset
  // point); area and weight kNoValue where a unit weight is unset, and then no centroid either.
  // The pass finds the base stratum on its way down (SearchDevyStratum(n - 2)).
  struct AreaWeight {
    double area = kNoValue;
    double weight = kNoValue;
    CDPoint centroid;
    const CSpStratumBlock* baseStratum = nullptr;
  };
  AreaWeight GetAreaAndWeight(bool withCentroid = false) const;
  // The rounded width (GetWidth), segment area (GetKoArea) and base length (GetLength), which the
  // quantities of the slice method read several times: found once for a pass over the slice, with
  // the rounding of that pass, which the pass's other quantities take as well.
  struct Measures {
    double width = 0;
    double segmentArea = 0;
    double length = 0;
    CalcRounding rounding;
  };
  Measures GetMeasures() const;
  // The same by the rounding of a pass that reads the rules once. Inline, in SliceMeasures.h: the
  // slice method asks it for every slice.
  inline Measures GetMeasures(const CalcRounding& rounding) const;
  // GetAreaAndWeight with the slice's measures and the pass's rounding at hand.
  AreaWeight GetAreaAndWeight(const Measures& measures, bool withCentroid) const;
  // The base length: the arc's R times its sweep, or the chord's length (code 221).
  double GetLength() const;
  // The inclination of the base at x (radians): the chord's for a straight base, the arc's
  // tangent at x otherwise; kNoValue where the vertical at x misses the arc.
  double GetBottomAngle(double x) const;
  // The inclination at the slice's centroid (at its middle when it weighs nothing).
  double GetBottomAngle() const;
  // GetBottomAngle(x) with its sine and cosine, these taken from the coordinates the angle comes
  // from rather than from the angle; the angle kNoValue where the vertical at x misses the arc.
  // Inline, in SliceMeasures.h, as GetMeasures.
  struct BottomDirection {
    double angle = kNoValue;
    double sin = 0;
    double cos = 1;
  };
  inline BottomDirection GetBottomDirection(double x) const;
  // y of the base at the middle of the arc, or the chord's mean y.
  double GetCenterBottomY() const;
  // y of the base at x.
  double GetBottomY(double x) const;
  // Centroid of trapezoid layer i; the unset point for i > n - 2.
  CDPoint DaikeiJuushin(int i) const;
  // Centroid of layer i, the segment's for layer n - 1.
  CDPoint Juushin(int i) const;
  // The weight-weighted centroid of layers i to n - 1, computed without rounding; the unset
  // point when they weigh nothing.
  CDPoint TotalJuushin(int i) const;
  // The sum of the layer heights at the side (code 184).
  double GetDepthLeft() const;
  double GetDepthRight() const;

  // ---- Water ----

  // The level from the first entry of the boundary list (unset for an empty list), inserted as a
  // boundary (see InsertLevel).
  void SetWaterLev(const std::vector<tagDEVY>& list);
  void SetUpperWaterLev(const std::vector<tagDEVY>& list);
  void SetImperLayerLev(const std::vector<tagDEVY>& list);
  // The same from the level itself (without its hang flag). Inline, in SliceBoundaries.h, as is
  // InsertLevel.
  void SetWaterLevel(const tagDEVY& level);
  void SetUpperWaterLevel(const tagDEVY& level);
  void SetImperLayerLevel(const tagDEVY& level);
  const tagDEVY& GetWaterLev() const { return water_; }
  const tagDEVY& GetUpperWaterLev() const { return upper_; }
  const tagDEVY& GetImperLayerLev() const { return imper_; }
  // The water level from the list, standing at least at y: a level at or below y (within 1e-5)
  // becomes the horizontal y without a shape. After the insertion a level above y that was
  // inserted adds a horizontal boundary at y (unless keep), and a level that could not be
  // inserted above the top of a stratum that lies below y becomes the horizontal y, inserted as
  // a new top boundary with keep.
  void SetWaterLevStWL(const std::vector<tagDEVY>& list, double y, bool keep);
  // The water level from the list; in a slice beyond the point (right of it when its flag is set,
  // else left of it, within 1e-5) the level is the point's y. Then the insertion.
  void SetWaterLevCrWL(const std::vector<tagDEVY>& list, const CDPoint& point);
  // The water level is set and has no shape.
  bool IsExtendedWater() const;
  // The water level lies at or above the top boundary on both sides (within 1e-5).
  bool IsSuibotu() const;
  // Whether the layer below boundary i is moist (above the water levels).
  bool IsMoist(int i) const;
  // The mean water depth above the base; -1 without a water level or with one more than 1e-5
  // below the base on a side.
  double GetDepthWtoS() const;
  // The mean depth of the upper water above the impermeable layer (or the base); -1 without
  // either level or with the upper level more than 1e-5 below the lower line.
  double GetDepthUnsaturated() const;
  // The pore-water force by the section's pore-pressure method (code 311).
  double GetU() const;
  // GetU in two steps for the slice method, which has the slice's measures and its base
  // inclination at hand: the head, the mean height of the water above the base (negative where
  // no pore-water force acts), which does not wait for the inclination; and the force from the
  // head and the inclination, rounded by the measures' rounding (0 for a negative head).
  double PoreHead(const Measures& measures) const;
  double PoreForce(double head, double bottomAngle, const Measures& measures) const;
  // The area of the water standing on the slice (above its top boundary); 0 when none stands.
  double GetTansuiArea() const;
  // The area between the horizontal levels a (upper) and b (lower) clipped to the slice, with
  // the segment when b reaches the base; 0 when a <= b or water covers the slice.
  void SetRemainArea(double a, double b);
  double GetRemainArea() const { return remainArea_; }

  // ---- Soil and loads ----

  // The first stratum block among the shapes of boundary i and those above it; null when none.
  const CSpStratumBlock* SearchDevyStratum(int i) const;
  // The name of the stratum of layer i, "水" without a stratum, "-" outside the boundaries.
  std::string GetTisoName(int i) const;
  // c and phi of the base stratum by the strength type: type 2 both, type 3 c = 0 and phi,
  // another type leaves them; false (both unset) without a base stratum.
  bool GetCF(double& c, double& phi) const;
  // GetCF for the peak and the residual strength, which no stratum gives here: they leave c and
  // phi as they are while a base stratum exists.
  bool GetCF_peak(double& c, double& phi) const;
  bool GetCF_res(double& c, double& phi) const;
  // The base takes part in the back analysis: strength type 0 or 1, or a base stratum marked for
  // it.
  bool IsGyaku() const;
  // Whether layer i hangs in the air (weighs nothing); false for i < 1 or outside.
  bool IsHang(int i) const;
  // For each inner boundary that continues the shape of the one above: the stratum polygon that
  // holds its layer's centroid becomes its shape; without one (and a layer more than 1e-8 high
  // on both sides) the layer hangs. Every other boundary's flag is cleared.
  void SetHang(CDPolyArray* strata);
  // The same with the strata's outlines taken once for all slices of a division (inline, in
  // SliceBoundaries.h).
  void SetHang(CDPolyArray& strata, const CDPolyArray::Outlines& outlines);
  // The first inner boundary whose shape is not a stratum block; -1 when none.
  int SearchCrackDevy() const;
  bool IsCrackDevy(int i) const;
  // Values 15 to 24 of the result from the section's loads on this strip.
  void CalcKajuSeibun(bool direction);

 private:
  // A layer lower than this on both sides is flat: it has no centroid of its own and never hangs.
  static constexpr double kFlatLayer = 1e-8;

  // The helpers of the per-layer loops are inline, defined in Slice.cpp, which alone uses them:
  // the slice method runs through them for every layer of every slice.
  // GetWidth, GetKoArea and GetLength by the rounding of a pass (Width and Length inline, in
  // SliceMeasures.h, as GetMeasures).
  inline double Width(const CalcRounding& rounding) const;
  double KoArea(const CalcRounding& rounding) const;
  inline double Length(const CalcRounding& rounding) const;
  // GetArea(i) for i >= 0 with the slice's width (GetWidth) and segment area (GetKoArea) at hand.
  inline double LayerArea(int i, double width, double segmentArea) const;
  // GetTisoHtLeft (left: true) or GetTisoHtRight.
  inline double LayerHeight(int i, bool left) const;
  // GetDepthWtoS and GetDepthUnsaturated with the width and segment area at hand, by the rounding
  // of a pass; inline in SliceWater.cpp, where the pore-water head of every slice asks both.
  inline double DepthWtoS(double width, double segmentArea, const CalcRounding& rounding) const;
  inline double DepthUnsaturated(double width, double segmentArea,
                                 const CalcRounding& rounding) const;
  // The centroid of trapezoid layer i from its heights at the sides.
  inline CDPoint TrapezoidCentroid(int i, double hL, double hR) const;
  // The sums of the centroid, which is never rounded: its layers' weights and moments.
  struct Moments {
    double weight = 0;
    double sumX = 0;
    double sumY = 0;
    // The weighted centroid; the unset point when nothing weighs.
    CDPoint Centroid() const;
    // Adds a layer of weight w at c; nothing for a layer without a centroid.
    void Add(double w, const CDPoint& c);
  };
  // A layer's moments count only where it weighs something (and is not unset); defined in
  // Slice.cpp, where the layers' loop tests it with the marker's bits.
  static inline bool Weighs(double w);
  // Adds trapezoid layer i, of the unrounded heights hL and hR at the sides, or the segment layer,
  // with its unit weight (GetGamma) to the moments, by its weight and centroid as they come with
  // the rounding switched off (width is the raw xRight - xLeft); the centroid of a layer that
  // weighs nothing is not sought.
  inline void AddTrapezoidMoment(int i, double hL, double hR, double gamma, double width,
                                 Moments& moments) const;
  inline void AddSegmentMoment(double gamma, Moments& moments) const;
  // The unrounded height of layer i (0 <= i <= n - 2) at the side.
  double UnroundedHeight(int i, bool left) const {
    const tagDEVY& top = boundaries_[static_cast<std::size_t>(i)];
    const tagDEVY& bottom = boundaries_[static_cast<std::size_t>(i) + 1];
    return left ? top.leftY - bottom.leftY : top.rightY - bottom.rightY;
  }

  static double MeanY(const tagDEVY& d) { return (d.leftY + d.rightY) / 2; }
  // The direction of the angle whose sine and cosine are proportional to the two parts; the
  // angle's own sine and cosine when both parts are 0.
  static inline BottomDirection DirectionOf(double angle, double sinPart, double cosPart);
  // Keeps the bottom arc's segment and the vertical terms of its circle (arc_ set before).
  inline void TakeSegment(const CDArc::Segment& segment, const CDArc::VerticalTerms& terms);
  // Inserts the level after the first boundary it equals on both sides, or between the two
  // boundaries whose mean heights enclose its mean height, with the upper boundary's shape and
  // no hang flag; false when it fits nowhere.
  bool InsertLevel(const tagDEVY& level);
  // SetHang with find(point) giving the stratum polygon that holds a point, or null.
  template <class FindPolygon>
  void HangLayers(FindPolygon find);
  // Trapezoid layer i (0 <= i <= n - 2) by the rounding of a pass: its heights at the sides
  // (GetTisoHtLeft, GetTisoHtRight) and its centroid from them (DaikeiJuushin).
  struct TrapezoidLayer {
    double heightLeft;
    double heightRight;
    CDPoint centroid;
  };
  TrapezoidLayer GetTrapezoidLayer(int i, const CalcRounding& rounding) const;
  bool GetCFOfType(int type, double& c, double& phi) const;
  // IsMoist for a boundary that comes from no water line. (Inline, SliceSoil.h, as LayerGamma.)
  inline bool LiesAboveWater(const tagDEVY& d) const;
  // GetGamma of layer i (0 <= i <= n - 2) with the stratum block of the layer above it
  // (SearchDevyStratum(i - 1)) in block, which becomes the layer's own: a pass down the layers
  // carries it instead of searching upward for every layer, and asks a shape its kind once.
  inline double LayerGamma(int i, const CSpStratumBlock*& block, int kind) const;
  // Adds the loads' values 15 to 24 to the result (CalcKajuSeibun, the values zeroed before).
  void AddLoads(const CDPolyArray& loads, bool direction);
  // The side's points of the shape (left: true).
  std::vector<CDPoint> PointsOn(const CDPoly& shape, bool left) const;

  double xLeft_ = kNoValue;
  double xRight_ = kNoValue;
  std::vector<tagDEVY> boundaries_;  // top first; the last is the chord of the base
  tagDEVY water_;                    // levels: y left, y right and the line they come from
  tagDEVY upper_;
  tagDEVY imper_;
  double remainArea_ = kNoValue;
  const CDanmenStab* section_ = nullptr;
  double c_ = kNoValue;
  double phi_ = kNoValue;  // degrees
  int strengthType_ = kStrengthUnknown;
  // The bottom arc, kept in the slice so that a slice built anew over the slice of an earlier
  // division needs no storage of its own for it; arc_ points to it while the base is an arc and is
  // null for a straight base. (A slice is neither copied nor moved, so arc_ never points into
  // another slice.)
  CDArc bottomArc_;
  const CDArc* arc_ = nullptr;
  // The arc's segment area, unrounded (CDArc::GetKoArea), found once for the layer's area, weight
  // and the water depths; 0 without an arc. Its centroid (CDArc::GetKoSegment, from the arc's end
  // points) likewise for every centroid of the slice; the unset point without an arc. Both change
  // only with the arc.
  double segmentArea_ = 0;
  CDPoint segmentCentroid_;
  // The x of the arc's end points, which settle most sweep tests of the base angle's vertical,
  // and the terms of that vertical's crossing with the arc's circle.
  CDArc::EndXs arcEnds_;
  CDArc::VerticalTerms arcTerms_;
  tagRESULTSLICE result_;
};

// Inline: the slice division sets the base of every slice on an arc.
inline void CSlice::SetBottomArc(const CDArc& circle, const CDArc::LowerPoint& start,
                                 const CDArc::LowerPiece& piece,
                                 const CDArc::VerticalTerms& terms) {
  bottomArc_ = circle;
  bottomArc_.start = start.angle;
  bottomArc_.end = piece.end.angle;
  arc_ = &bottomArc_;
  TakeSegment(bottomArc_.GetKoSegment(piece.half, start.point, piece.end.point), terms);
}

inline void CSlice::TakeSegment(const CDArc::Segment& segment, const CDArc::VerticalTerms& terms) {
  segmentArea_ = segment.area;
  segmentCentroid_ = segment.centroid;
  arcEnds_ = segment.ends;
  arcTerms_ = terms;
}
