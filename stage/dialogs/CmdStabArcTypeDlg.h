#pragma once
// The five pages of the circle-search dialog "円弧範囲の設定", one per kind of circle set: where
// the trial centres lie and how the radii of each centre are generated. Each page edits its set
// of the case's search condition in place: every finished edit is stored into the set and the
// view redrawn. Points can be clicked in the view into the grid that is the mouse target; the
// column the next click fills is marked in the grid ("開始 *", 0xC0FFFF), with "ﾏｳｽ可" in the
// corner of the grid that takes clicks.
//
// The pages answer the dialog's four operations: ShowSetting (the set into the grids),
// StoreSetting (the grids into the set), SetMouseTarget (which grid takes clicks: 1 the first
// mouse grid, 2 the second, anything else none) and OnPointInput (a clicked world point).
//
// The figures of the five kinds are left out: the grid captions name every value.

#include <QWidget>
#include <array>
#include <initializer_list>

class CArcSetDepth;
class CArcSetPass1;
class CArcSetPass2;
class CArcSetPass3;
class CArcSetRadius;
class CCase;
class CExpEdit;
class CSheetGrid;
class QCheckBox;
class QLabel;
class QPushButton;
class QVBoxLayout;

// A grid of two points, X and Y by rows, the first and the second point by columns, one of which
// the next click fills; the marked column shows which.
class TwoPointGrid {
 public:
  // The plain headers of the two columns, and the mark that follows the marked one's.
  TwoPointGrid(CSheetGrid* grid, std::array<const char*, 2> headers, const char* mark);

  CSheetGrid& Grid() const { return *grid_; }
  // 0: the next click fills the first column, 1: the second.
  int Next() const { return next_; }
  void SetNext(int next) { next_ = next; }
  // The next point's column marked, or both columns plain.
  void Mark(bool marked) const;
  // Writes the point into the next point's column with 3 decimals, makes the other column's
  // first cell active and flips the next point.
  void Fill(double x, double y);

 private:
  CSheetGrid* grid_;
  std::array<const char*, 2> headers_;
  const char* mark_;
  int next_ = 0;
};

class CCmdStabArcTypeDlg : public QWidget {
  Q_OBJECT

 public:
  static constexpr int kTargetNone = 0;
  static constexpr int kTargetFirst = 1;
  static constexpr int kTargetSecond = 2;

  CCmdStabArcTypeDlg(CCase& target, CArcSetRadius& set, QWidget* parent = nullptr);

  virtual void ShowSetting() = 0;
  virtual void StoreSetting() = 0;
  virtual void SetMouseTarget(int target) = 0;
  // A world point clicked in the view while mouse input is on; nothing without a target.
  virtual void OnPointInput(double x, double y) = 0;
  // Enter in one of the page's grids (not editing): the next cell, and on a two-point grid the
  // next point follows the new column. False for a grid of another page.
  bool OnGridEnter(CSheetGrid& grid);
  int MouseTarget() const { return target_; }
  // The grid the page's mouse target names; null without one.
  virtual CSheetGrid* TargetGrid() const = 0;

 signals:
  // A mouse press in one of the page's mouse grids asks the dialog to make it the target.
  void MouseTargetRequested(int target);

 protected:
  // A grid of `rows` rows under the column headers and the row labels, 4 decimals.
  static CSheetGrid* MakeGrid(int id, std::initializer_list<const char*> columns,
                              std::initializer_list<const char*> rows);
  // The centre range grid 5232 (a two-point grid of "開始" and "終了" with its pitch column),
  // the mask switch 5233 and its button 5234, for the pages with a centre range.
  void MakeCentreControls();
  // Their captions and places at the top of the page.
  void AddCentreSection(QVBoxLayout& layout);

  // The centre range into its grid, the mask switch into 5233; and back, the range ordered. A
  // range of more than kMaxSearchCentres centres is refused with a message and shown as it was.
  void ShowCentre();
  void StoreCentre();
  // The set's band corners from the centre grid's two corners.
  void CapCentre();
  // Every finished edit of the grid stores the page and redraws; so does Delete. The radius and
  // depth grids are not connected: their values wait for the next store.
  void StoreOnEdit(CSheetGrid& grid);
  // Rounds a clicked coordinate for the target's quantity (231 the centres, 993 the points).
  static double RoundClick(double value, int target);
  // The two-point grids of the page, with their grids: Enter's flag following uses them.
  virtual std::array<TwoPointGrid*, 2> TwoPointGrids() = 0;
  // The case follows the next centre corner with its band.
  void FollowCentre();

 private:
  void MakeCentreGrid();
  // The centre grid's column left by a move: the next corner follows it.
  void ConnectCentreLeave();

 protected:
  CCase& case_;
  CArcSetRadius& set_;
  int target_ = kTargetNone;
  // The centre range; its grid is null on the page without one (type 4).
  TwoPointGrid centre_{nullptr, {"開始", "終了"}, " *"};
  QCheckBox* maskOn_ = nullptr;
  QPushButton* maskInput_ = nullptr;
};

// Centres on a mesh with radii (kind 0) or depths (kind 1) from a start to an end by a pitch.
class CCmdStabArcType1Dlg : public CCmdStabArcTypeDlg {
  Q_OBJECT

 public:
  CCmdStabArcType1Dlg(CCase& target, CArcSetRadius& set, QWidget* parent = nullptr);

  void ShowSetting() override;
  void StoreSetting() override;
  void SetMouseTarget(int target) override;
  void OnPointInput(double x, double y) override;
  CSheetGrid* TargetGrid() const override;

 protected:
  // The page of the depth set: its second grid is 5236 "円弧深度の範囲".
  CCmdStabArcType1Dlg(CCase& target, CArcSetRadius& set, bool depth, QWidget* parent);
  std::array<TwoPointGrid*, 2> TwoPointGrids() override { return {&centre_, nullptr}; }

 private:
  CSheetGrid* rangeGrid_;
};

class CCmdStabArcType2Dlg : public CCmdStabArcType1Dlg {
  Q_OBJECT

 public:
  CCmdStabArcType2Dlg(CCase& target, CArcSetDepth& set, QWidget* parent = nullptr);
};

// Centres on a mesh with one circle through a pass point.
class CCmdStabArcType3Dlg : public CCmdStabArcTypeDlg {
  Q_OBJECT

 public:
  CCmdStabArcType3Dlg(CCase& target, CArcSetPass1& set, QWidget* parent = nullptr);

  void ShowSetting() override;
  void StoreSetting() override;
  void SetMouseTarget(int target) override;
  void OnPointInput(double x, double y) override;
  CSheetGrid* TargetGrid() const override;

 protected:
  std::array<TwoPointGrid*, 2> TwoPointGrids() override { return {&centre_, nullptr}; }

 private:
  void MarkPass(bool marked) const;

  CArcSetPass1& pass1_;
  CSheetGrid* passGrid_;
};

// Circles through two pass points with radii from one value to another by a pitch.
class CCmdStabArcType4Dlg : public CCmdStabArcTypeDlg {
  Q_OBJECT

 public:
  CCmdStabArcType4Dlg(CCase& target, CArcSetPass2& set, QWidget* parent = nullptr);

  void ShowSetting() override;
  void StoreSetting() override;
  void SetMouseTarget(int target) override;
  void OnPointInput(double x, double y) override;
  CSheetGrid* TargetGrid() const override;

 protected:
  std::array<TwoPointGrid*, 2> TwoPointGrids() override { return {&points_, nullptr}; }

 private:
  CArcSetPass2& pass2_;
  TwoPointGrid points_;
  CSheetGrid* radiusGrid_;
};

// Centres on a mesh with the radii that reach a pass range, by a radius pitch.
class CCmdStabArcType5Dlg : public CCmdStabArcTypeDlg {
  Q_OBJECT

 public:
  CCmdStabArcType5Dlg(CCase& target, CArcSetPass3& set, QWidget* parent = nullptr);

  void ShowSetting() override;
  void StoreSetting() override;
  void SetMouseTarget(int target) override;
  void OnPointInput(double x, double y) override;
  CSheetGrid* TargetGrid() const override;

 protected:
  std::array<TwoPointGrid*, 2> TwoPointGrids() override { return {&centre_, &range_}; }

 private:
  CArcSetPass3& pass3_;
  TwoPointGrid range_;
  CExpEdit* pitch_;
};
