#pragma once
// The cross-section views of a case. CDanmen gathers the shapes of one section for drawing and
// mouse editing: it decides in which order and with which highlight they are drawn and routes the
// mouse feedback of a drag to the shape being edited. CDanmenStab adds the conditions of one
// stability calculation, the working slip surfaces it uses and the picture of the slide mass
// displaced by a given amount. A view owns none of the shapes it points to: the case owns them
// and keeps them alive while a view points at them.

#include <array>
#include <cstddef>

#include "core/base/Utility.h"
#include "core/geometry/DPoint.h"

class CDPoly;
class CDPolyArray;
class CSpCrack;
class CSpGround;
class CSpSlide;
class CSpSlideWork;
class CSpWater;
class CViewInfo;

class CDanmen {
 public:
  CDanmen() = default;
  virtual ~CDanmen() = default;
  CDanmen(const CDanmen&) = default;
  CDanmen& operator=(const CDanmen&) = default;

  // Forgets every shape and the picked shape; the edit mode stays.
  void Init();
  // Takes the six shape pointers of the other section.
  void SendInfo(const CDanmen& other);

  // Block mode (the ground has at least one stratum block and the section is not being edited):
  // the filled blocks and their names only. Otherwise the ground, the stratum lines and the
  // crack. The picked shape is drawn bold while CDPoly's highlight switch is on, and with its
  // picked point indices in any case.
  virtual void Draw(CViewInfo* view) const;
  // The water line: plainly in block mode, else with the highlight rule.
  virtual void DrawWater(CViewInfo* view) const;
  // The slide line / the loads with the highlight rule; nothing in block mode.
  virtual void DrawSlide(CViewInfo* view) const;
  virtual void DrawLoad(CViewInfo* view) const;
  // Forward the drag of the picked vertex to the picked shape (ground, the selected stratum line,
  // slide line or water); other kinds do nothing.
  virtual void OnMouseMove(CViewInfo* view, CDPoint point);
  virtual void ResetMouseMove();

  void SetGround(CSpGround* ground) { ground_ = ground; }
  CSpGround* GetGround() const { return ground_; }
  void SetStratumLine(CDPolyArray* lines) { strata_ = lines; }
  CDPolyArray* GetStratumLine() const { return strata_; }
  void SetWater(CSpWater* water) { water_ = water; }
  CSpWater* GetWater() const { return water_; }
  void SetSlide1(CSpSlide* slide) { slide_ = slide; }
  CSpSlide* GetSlide() const { return slide_; }
  void SetAryLoad(CDPolyArray* loads) { loads_ = loads; }
  CDPolyArray* GetAryLoad() const { return loads_; }
  void SetCrack(CSpCrack* crack) { crack_ = crack; }
  CSpCrack* GetCrack() const { return crack_; }

  // Non-zero while the section is being edited.
  void SetEditMode(int mode) { editMode_ = mode; }
  int GetEditMode() const { return editMode_; }
  // The shape kind of the shape picked for mouse editing; -1 for none.
  void SetCurShapeKind(int kind) { curKind_ = kind; }
  int GetCurShapeKind() const { return curKind_; }
  void SetCurPointId1(int index) { curPoint1_ = index; }
  int GetCurPointId1() const { return curPoint1_; }
  void SetCurPointId2(int index) { curPoint2_ = index; }
  int GetCurPointId2() const { return curPoint2_; }

  // The ground's stratum blocks; null without a ground or while the strata are not recognised.
  CDPolyArray* GetTisoBlockArray() const;
  bool IsStratumBlock() const;
  // The cohesion and friction angle of the first stratum block that contains p; both kNoValue
  // when no block does. The first argument is not consulted.
  void GetCPhi(int, const CDPoint& p, double& c, double& phi) const;

 protected:
  bool IsBlockMode() const;
  // The stratum blocks filled, then their names, with a black text colour.
  void DrawBlocks(CViewInfo* view) const;

 private:
  // Draws a shape of the given kind with the highlight rule.
  void DrawPicked(CViewInfo* view, const CDPoly& shape, int kind) const;
  void DrawPicked(CViewInfo* view, const CDPolyArray& shapes, int kind) const;
  // The shape that receives the mouse feedback; null for none.
  CDPoly* MouseShape() const;

  CSpGround* ground_ = nullptr;
  CDPolyArray* strata_ = nullptr;
  CSpWater* water_ = nullptr;
  CSpSlide* slide_ = nullptr;
  CDPolyArray* loads_ = nullptr;
  CSpCrack* crack_ = nullptr;
  int editMode_ = 0;
  int curKind_ = -1;
  int curPoint1_ = 0;
  int curPoint2_ = -1;
};

// The conditions of one stability calculation.
struct tagCALCCONDITION {
  int formula = 1;  // 0 Fellenius, 1 modified Fellenius
  int inputResult = 0;
  int specified = 0;     // 0: a circle search; non-zero: a specified slip surface
  double kh = kNoValue;  // seismic coefficient
  double gammaW = 10.0;  // unit weight of water
  int water = 0;
  // Filled from the stability parameters and read by the calculations only: the pore-pressure
  // method of the slices, the maximum slice width and the slice split mode.
  int extra1 = 1;
  double extra2 = 2.0;
  int extra3 = 2;
  int nu0 = 1;
  std::array<double, 2> plannedFs{kNoValue, kNoValue};  // normal, seismic
  int normalOn = 0;
  int quakeOn = 0;
  // The reference elevation of the height factor of the seismic coefficient.
  double bottomElevation = 0;

  friend bool operator==(const tagCALCCONDITION&, const tagCALCCONDITION&) = default;
};

class CDanmenStab : public CDanmen {
 public:
  static constexpr int kCalcNormal = 0;
  static constexpr int kCalcQuake = 1;

  CDanmenStab() = default;

  // The section part as CDanmen::Init, and every condition back to its default.
  void Init();
  using CDanmen::SendInfo;
  // The six shapes, the load case and both working slip surfaces of the other section.
  void SendInfo(const CDanmenStab& other);

  // In block mode the active slip surface, bold with a solid red pen of width 2; nothing
  // otherwise.
  void DrawSlide(CViewInfo* view) const override;
  // In block mode every load that acts in this section's load case, bold; otherwise as CDanmen.
  void DrawLoad(CViewInfo* view) const override;
  // The slide mass displaced by the slide move: turned about the circle's centre for a searched
  // circle, shifted along the base for a specified surface. The background mode becomes
  // transparent; nothing is drawn without a move, the surface, the ground or its stratum blocks.
  virtual void DrawPolygonMove(CViewInfo* view) const;

  void SetCalcCond(const tagCALCCONDITION& cond) { cond_ = cond; }
  const tagCALCCONDITION& GetCalcCond() const { return cond_; }
  int GetKeisanSiki() const { return cond_.formula; }
  bool IsInputResult() const { return cond_.inputResult != 0; }
  // A circle search (no specified slip surface).
  bool IsRepeatCalc() const { return cond_.specified == 0; }
  double GetKh() const { return cond_.kh; }
  void SetKh(double kh) { cond_.kh = kh; }
  double GetGammaW() const { return cond_.gammaW; }
  bool IsWater() const { return cond_.water != 0; }
  bool IsNU0() const { return cond_.nu0 != 0; }
  // How a slice's pore-water force is found: 0 from its base length, 1 from its width and the
  // cosine of its base angle; another method gives none.
  int GetPoreMethod() const { return cond_.extra1; }
  // The widest slice of the slice division; a gap wider than it is split.
  double GetSliceMaxWidth() const { return cond_.extra2; }
  // Which gaps of the slice division are split: 0 none, 1 those under arc pieces, else all.
  int GetSliceSplitMode() const { return cond_.extra3; }
  // The planned safety factor, 0 normal, 1 seismic; another index throws std::out_of_range.
  double GetPFs(int i) const { return cond_.plannedFs.at(static_cast<std::size_t>(i)); }

  // The load case this section serves: kCalcNormal or kCalcQuake.
  void SetCalcMode(int mode) { calcMode_ = mode; }
  int GetCalcMode() const { return calcMode_; }
  bool IsNormal() const { return calcMode_ == kCalcNormal && cond_.normalOn != 0; }
  bool IsQuake() const { return calcMode_ == kCalcQuake && cond_.quakeOn != 0; }

  // The displacement shown by DrawPolygonMove, world units.
  void SetSlideMove(double move) { slideMove_ = move; }
  double GetSlideMove() const { return slideMove_; }
  // The working slip surface of a specified surface and of a searched circle.
  void SetSlideWork(CSpSlideWork* work) { slideWork_ = work; }
  CSpSlideWork* GetSlideWork() const { return slideWork_; }
  void SetSlideWorkRepeat(CSpSlideWork* work) { slideWorkRepeat_ = work; }
  CSpSlideWork* GetSlideWorkRepeat() const { return slideWorkRepeat_; }
  // The searched circle when there is one, else the specified surface.
  CSpSlideWork* GetActiveSlide() const;
  bool CanInputResult() const { return cond_.specified != 0 && cond_.inputResult != 0; }

 private:
  void DrawRotationalMove(CViewInfo* view) const;
  void DrawTranslationalMove(CViewInfo* view) const;

  tagCALCCONDITION cond_;
  int calcMode_ = kCalcNormal;
  double slideMove_ = 0;
  CSpSlideWork* slideWork_ = nullptr;
  CSpSlideWork* slideWorkRepeat_ = nullptr;
};
