#pragma once
// The circle sets of a slip-circle search: which trial circles a search tries, as a sequence of
// radii for each trial centre. Five kinds exist, and the search condition holds one of each:
//  - radius set: centres on a mesh, radii from a minimum to a maximum by a step;
//  - depth set: centres on a mesh, radii reaching from a minimum to a maximum depth below the
//    ground by a step;
//  - one-point set: centres on a mesh, one circle per centre through a given point;
//  - two-point set: circles through two points A and B with radii from one value to another by a
//    pitch; the result mesh places one centre per radius on the bisector of A and B;
//  - segment set: centres on a mesh, radii from the distance of the nearer end of a segment to
//    that of the farther end by a step; only slip surfaces that meet the segment are valid.
// A search asks the selected set for the first radius of a centre (GetInitialRad), steps it with
// GetNextRad until that returns false, and tests each trial surface with IsValidSlide. A set
// keeps the state of its radius sequence, so it serves one centre at a time.

#include <memory>
#include <vector>

#include "core/base/Utility.h"
#include "core/circle/CenterMesh.h"
#include "core/geometry/DPoint.h"
#include "core/geometry/Polygon.h"

class Archive;
class CSpSlideWork;
class CViewInfo;

// The kind codes of the sets (WhatKind), which are also the selected kinds of a search condition.
enum ArcSetKind : int {
  kArcSetRadius = 0,
  kArcSetDepth = 1,
  kArcSetPass1 = 2,
  kArcSetPass2 = 3,
  kArcSetPass3 = 4,
};
inline constexpr int kArcSetKindCount = 5;

// The interface of every set and the rubber band with which a rectangle (such as the mesh range)
// is picked in the view: two corners, and whether the band is on the screen.
class CArcSet {
 public:
  CArcSet() = default;
  virtual ~CArcSet() = default;
  CArcSet(const CArcSet&) = delete;
  CArcSet& operator=(const CArcSet&) = delete;

  virtual int WhatKind() const = 0;
  // The values of the kind to unset; what the kind does not name stays.
  virtual void Init() = 0;
  // The version is passed on to the parts; no field depends on it.
  virtual void Store(Archive& ar, int version) const = 0;
  // Reads the whole record before it changes anything; then rebuilds the mesh flags.
  virtual void Load(Archive& ar, int version) = 0;
  virtual bool IsValid() const = 0;
  virtual void Draw(CViewInfo* view) const = 0;
  // One step of the rubber band while corner pointId (0 or 1) follows the mouse to p. This base
  // only raises the drawn flag.
  virtual void OnMouseMove(CViewInfo* view, int pointId, const CDPoint& p);
  // The band is no longer on the screen.
  void ResetMouseMove() { drawn_ = false; }

  // Seeds the two corners of the band.
  void SetPointCap(const CDPoint& corner1, const CDPoint& corner2);
  const CDPoint& GetCorner1() const { return corner1_; }
  const CDPoint& GetCorner2() const { return corner2_; }
  bool IsDrawn() const { return drawn_; }
  // 1: the one-point and the segment set ignore mouse moves.
  int GetCaptureMode() const { return captureMode_; }
  void SetCaptureMode(int mode) { captureMode_ = mode; }

 protected:
  // Moves corner pointId to p: erases the band drawn last (drawing it once more in not-xor mode)
  // and draws the band from the other corner to p; nothing is drawn while the other corner is
  // unset. The drawn flag is raised in any case.
  void DragRectangle(CViewInfo* view, int pointId, const CDPoint& p);

 private:
  int captureMode_ = 0;
  bool drawn_ = false;
  CDPoint corner1_;
  CDPoint corner2_;
};

// The radius set, and the common base of the five kinds: centres on a mesh, which a mask polygon
// can thin, and radii from rMin to rMax by rStep.
class CArcSetRadius : public CArcSet {
 public:
  CArcSetRadius();

  int WhatKind() const override { return kArcSetRadius; }
  void Init() override;
  // Record: the mesh, the kind's values (here rMin, rMax, rStep), int settingA, int settingB,
  // int maskOn and the mask's polyline record.
  void Store(Archive& ar, int version) const override;
  void Load(Archive& ar, int version) override;
  // The mesh valid, rMin set and not below 0, rMax set and above 0, rStep set and above 0.
  bool IsValid() const override;
  // DrawOnlyGrid.
  void Draw(CViewInfo* view) const override;
  // The rubber band of the mesh range.
  void OnMouseMove(CViewInfo* view, int pointId, const CDPoint& p) override;

  // A new set of this kind in its initial state.
  virtual std::unique_ptr<CArcSetRadius> NewChild() const;
  // The sets are of one kind and their values agree (see IsSameSet of each kind).
  bool IsSame(const CArcSetRadius* other) const;
  // From a set of the same kind, the mesh range with its counts and flags, the kind's values, the
  // mask switch and the mask points; settings A and B and the rubber band stay. A set of
  // another kind changes nothing.
  void CopyExcept(const CArcSetRadius* other);
  // CopyExcept, settings A and B and the mask's name: every stored field.
  void CopyStored(const CArcSetRadius* other);
  // The mesh and, while the mask is on, the mask's outline.
  void DrawOnlyGrid(CViewInfo* view) const;

  // The radius sequence of one centre; groundDistance is the signed distance from the centre to
  // the ground, which only the depth set reads. Each GetNextRad that returns true leaves the
  // next radius in r; false ends the centre.
  virtual double GetInitialRad(const CDPoint& centre, double groundDistance);
  virtual bool GetNextRad(double& r, const CDPoint& centre, double groundDistance);
  // The values set (see each kind).
  virtual bool IsSettingValid(int flag) const;
  // A SettingCode: kSettingBadStep when rMin != rMax and rStep <= 0; kSettingBadRadius when
  // rMin < 0, rMax <= 0, or rMin == rMax with rStep <= 0; otherwise the mesh's code.
  virtual int IsSettingNormal() const;
  // Whether a trial surface qualifies; every kind but the segment set takes any surface.
  virtual bool IsValidSlide(const CSpSlideWork& work) const;
  // The number of trial centres of the mesh (CountMeshNodes in x times in y).
  virtual int GetMeshCount();
  // The mesh flags from the mask while it is on, else every node active.
  void SetFlagByPoly();

  double rMin = kNoValue;  // metres; the depth set reads them as depths
  double rMax = kNoValue;
  double rStep = kNoValue;
  int settingA = 0;  // stored and compared, read by no calculation
  int settingB = 0;
  CCenterMesh mesh;
  int maskOn = 0;
  CPolygon mask;  // drawn in light grey

 protected:
  // The kind's own doubles in record order, and setting them from such a list.
  virtual std::vector<double> GetOwnValues() const;
  virtual void SetOwnValues(const std::vector<double>& values);
  // Whether the values agree, other being of this kind.
  virtual bool IsSameSet(const CArcSetRadius& other) const;
  // CopyExcept's work, other being of this kind.
  virtual void CopyValues(const CArcSetRadius& other);
};

// Radii that reach from rMin to rMax below the ground by rStep.
class CArcSetDepth : public CArcSetRadius {
 public:
  int WhatKind() const override { return kArcSetDepth; }
  // Only the three depths; the mesh stays.
  void Init() override;
  std::unique_ptr<CArcSetRadius> NewChild() const override;
  // groundDistance + rMin - rStep (groundDistance when rMin is 0), then by rStep while the
  // radius stays within groundDistance + rMax.
  double GetInitialRad(const CDPoint& centre, double groundDistance) override;
  bool GetNextRad(double& r, const CDPoint& centre, double groundDistance) override;
};

// The one radius per centre of the sets through a point: the distance from the centre to it.
class OneCircleThrough {
 public:
  double Start(const CDPoint& centre, const CDPoint& point);
  bool Next(double& r, const CDPoint& centre, const CDPoint& point);

 private:
  bool pending_ = false;
};

// One circle per mesh centre through the pass point.
class CArcSetPass1 : public CArcSetRadius {
 public:
  int WhatKind() const override { return kArcSetPass1; }
  // The mesh range and the pass point.
  void Init() override;
  // The mesh valid and the pass point set.
  bool IsValid() const override;
  // The grid and a dot on the pass point.
  void Draw(CViewInfo* view) const override;
  // The rubber band, unless the capture mode is 1.
  void OnMouseMove(CViewInfo* view, int pointId, const CDPoint& p) override;
  std::unique_ptr<CArcSetRadius> NewChild() const override;
  double GetInitialRad(const CDPoint& centre, double groundDistance) override;
  bool GetNextRad(double& r, const CDPoint& centre, double groundDistance) override;
  // With flag 0 the pass point must be set; the six mesh values must be set.
  bool IsSettingValid(int flag) const override;
  int IsSettingNormal() const override { return mesh.IsSettingNormal(); }

  CDPoint pass;

 protected:
  std::vector<double> GetOwnValues() const override;
  void SetOwnValues(const std::vector<double>& values) override;
  bool IsSameSet(const CArcSetRadius& other) const override;

 private:
  OneCircleThrough generator_;
};

// Circles through A and B with radii from radiusFrom to radiusTo by pitch. The mesh, the R values
// and the mask of the base are not used.
class CArcSetPass2 : public CArcSetRadius {
 public:
  int WhatKind() const override { return kArcSetPass2; }
  // A, B, the two radii and the pitch.
  void Init() override;
  // Record: A x, A y, B x, B y, radiusFrom, radiusTo, pitch (doubles).
  void Store(Archive& ar, int version) const override;
  void Load(Archive& ar, int version) override;
  // A and B set, radiusFrom set and not below 0, radiusTo set and above 0, pitch set and above 0.
  bool IsValid() const override;
  // Dots on A and B and a dotted line between them.
  void Draw(CViewInfo* view) const override;
  // The two points are not picked with a rectangle: nothing happens.
  void OnMouseMove(CViewInfo* view, int pointId, const CDPoint& p) override;
  std::unique_ptr<CArcSetRadius> NewChild() const override;
  // One circle per centre through A (and, the centre lying on the bisector, through B).
  double GetInitialRad(const CDPoint& centre, double groundDistance) override;
  bool GetNextRad(double& r, const CDPoint& centre, double groundDistance) override;
  // Pitch, A and B set.
  bool IsSettingValid(int flag) const override;
  // kSettingBadStep for a pitch not above 0, kSettingSamePoints for A and B within 1e-4.
  int IsSettingNormal() const override;
  // The number of trial radii: 0 when the radii are equal or unset or the pitch is not above 0;
  // else the radii are put in increasing order (in this set) and the count is
  // trunc((radiusTo - radiusFrom) / pitch) + 1.
  int GetMeshCount() override;

  CDPoint pointA;
  CDPoint pointB;
  double radiusFrom = kNoValue;
  double radiusTo = kNoValue;
  double pitch = kNoValue;

 protected:
  std::vector<double> GetOwnValues() const override;
  void SetOwnValues(const std::vector<double>& values) override;
  bool IsSameSet(const CArcSetRadius& other) const override;
  // A and B with their flags, the radii and the pitch.
  void CopyValues(const CArcSetRadius& other) override;

 private:
  OneCircleThrough generator_;
};

// Centres on the mesh with radii from the distance of the nearer end of the segment P1-P2 to that
// of the farther end by step; a trial surface must meet the segment.
class CArcSetPass3 : public CArcSetRadius {
 public:
  int WhatKind() const override { return kArcSetPass3; }
  // The mesh range, P1, P2 and the step.
  void Init() override;
  // The mesh valid, P1 and P2 set, the step set and above 1e-13.
  bool IsValid() const override;
  // The grid and, except in print mode, dots on P1 and P2 and a dotted line between them.
  void Draw(CViewInfo* view) const override;
  // The rubber band, unless the capture mode is 1.
  void OnMouseMove(CViewInfo* view, int pointId, const CDPoint& p) override;
  std::unique_ptr<CArcSetRadius> NewChild() const override;
  double GetInitialRad(const CDPoint& centre, double groundDistance) override;
  bool GetNextRad(double& r, const CDPoint& centre, double groundDistance) override;
  // The step, P1 and P2 set and the mesh's six values set.
  bool IsSettingValid(int flag) const override;
  // The mesh's code when it is kSettingIncomplete; else kSettingBadStep for a step not above 0,
  // kSettingSamePoints for P1 and P2 within 1e-4.
  int IsSettingNormal() const override;
  // The surface crosses the segment (tolerance 0.001), or its first or else its last point lies
  // within 0.001 of the segment's inside.
  bool IsValidSlide(const CSpSlideWork& work) const override;

  CDPoint p1;
  CDPoint p2;
  double step = kNoValue;

 protected:
  std::vector<double> GetOwnValues() const override;
  void SetOwnValues(const std::vector<double>& values) override;
  bool IsSameSet(const CArcSetRadius& other) const override;

 private:
  // Whether the end point q of a trial surface lies within 0.001 of the segment's inside.
  bool IsNearSegment(const CDPoint& q) const;

  bool pending_ = false;  // the first radius of the centre is still to come
};
