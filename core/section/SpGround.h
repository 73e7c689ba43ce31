#pragma once
// The ground surface of a cross-section. Besides its line the ground owns the stratum polygons
// that the strata recognition builds from it and the stratum lines; while they exist they are
// drawn in place of the line.

#include <memory>
#include <string>
#include <vector>

#include "core/geometry/DPoly.h"
#include "core/geometry/DPolyArray.h"

class Archive;
class CViewInfo;

class CSpGround : public CDPoly {
 public:
  CSpGround();
  // A slide line fitted to this ground (CSpSlide::SetTopograph) is no longer fitted.
  ~CSpGround() override;

  // Record: the polyline record, the text list, a has-strata flag (int32 1 or 0) and, with the
  // flag 1, the shape list of the stratum polygons. Load reads the whole record before it
  // changes anything and computes the inner point of every stratum polygon it read; a ground
  // among the strata is a damaged record.
  void Store(Archive& ar, int version) const override;
  void Load(Archive& ar, int version) override;
  // Validates the ground line and every stratum polygon.
  void ChangeValid() override;
  // The filled stratum polygons and their names; the plain line while there are no strata, when
  // drawn bold, or while the highlight switch is on.
  void Draw(CViewInfo* view, int bold, int from, int to) const override;
  // A new ground with copies of the points, the strata and the text list.
  std::unique_ptr<CDPoly> Copy() const override;
  // Takes the other's name, text list and copies of its points and strata (none when it has
  // none): everything its record holds, so that a case taken over from a loaded record stores the
  // same record again.
  void Copy(const CSpGround* other);
  // Reverses the ground line only.
  void Reverse() override;

  // The ground line dashed in black, 1 pixel; a missing coordinate breaks the line.
  void DrawHasen(CViewInfo* view) const;
  // Deletes the points and the strata.
  void DeleteFull();
  // Deletes the strata; the line stays.
  void DeleteStratumBlock();
  // Replaces the strata (null = not recognised).
  void SetPolyArray(std::unique_ptr<CDPolyArray> array);
  // The stratum polygons; null while the strata are not recognised.
  CDPolyArray* GetPolyArray() const { return strata_.get(); }
  // Called when the strata are recognised again; the ground keeps no division mode.
  void ResetSurfaceDivisionMode() {}

  const std::vector<std::string>& GetTextList() const { return texts_; }
  void SetTextList(const std::vector<std::string>& texts) { texts_ = texts; }

  // The inclination of the ground line at p (CDPoly::GetR_Angle).
  double GetHkAngle(const CDPoint* p, int mode) const;
  // A new ground in which the other line replaces this ground over the other's x range; its
  // strata are this ground's cut to the new line.
  std::unique_ptr<CSpGround> GroundPolyMarge(const CDPoly* other) const;
  // A new ground that joins this ground and the other at the height level; null when the two
  // lines do not both cross that height at different x.
  std::unique_ptr<CSpGround> CreateLevelLine(const CDPoly* other, double level) const;
  // The names of the stratum polygons whose stratum switch n (0 to 2) is set, joined with ",";
  // empty text for another n or without strata.
  std::string GetStrGuttukaSou(int n) const;

 private:
  // This ground's strata re-cut under another ground line; null without strata.
  std::unique_ptr<CDPolyArray> StrataUnder(const CSpGround& ground) const;

  std::unique_ptr<CDPolyArray> strata_;
  std::vector<std::string> texts_;
};
