#pragma once
// CCmdShearReslutDlg: the shear deformation of design step 4. It edits the case's conditions of
// the calculation (ERB, G0, L, B, h, θ; the design kh is shown), runs it (計算開始), and shows
// the design values against their allowable values with their judgements, the result of every
// seismic coefficient of the march and the graph of the displacement over kh with its axes.
//
// OK takes the fields over; 計算開始 and 自動計算代入 take them over first. Every take-over that
// changes a value the calculation reads marks the case modified and clears the shear and
// rope-net results, which no longer hold; a change of the graph's axes marks it modified only.
// 閉じる leaves the conditions as they were but keeps the axes.

#include <QImage>

#include "core/model/DrawResGraphSet.h"
#include "stage/controls/StageDialog.h"

class CCase;
class CExpEdit;
class CManageCore;
class CPrmShear;
class CResShear;
class CSheetGrid;
class CShearGraphFrame;
class QPushButton;

class CCmdShearReslutDlg : public StageDialog {
  Q_OBJECT

 public:
  // An axis never carries more grid lines than this.
  static constexpr int kMaxGridLines = 100;

  // Runs the dialog on the core's active case; true when it ended with OK.
  static bool Run(CManageCore& core, QWidget* parent);

  explicit CCmdShearReslutDlg(CManageCore& core, QWidget* parent = nullptr);

  // 計算開始.
  void Calculate();
  // 自動計算代入: θ from the slide surface of the run registered for the seismic case.
  void TakeInclination();
  // 参考値: G0 of a tested site into the G0 field.
  void PickG0();
  // 自動設定: the axes fitted to the results.
  void AutoRange();
  // The graph as the frame shows it.
  QImage Graph() const;

  void OnOK() override;
  void OnCancel() override;

 private:
  void BuildLayout();
  void SetupGrids();
  void Show();
  void ShowSummary();
  void ShowResults();
  void ShowAxes();
  // The fields into the conditions, with the consequences of a change.
  void TakeOver();
  void ReadFields();
  void AfterConditionsChanged(const CPrmShear& before);
  // A condition field whose value its range refuses reports it; false then.
  bool FieldsInRange() const;
  // The axes of the grid into the graph settings: a range whose minimum is not below its maximum
  // or that would draw too many grid lines is refused, a pitch not above 1e-9 is put back.
  void ReadAxes();
  void ReadAxis(int row, double& min, double& max, double& pitch);
  void ShowAxis(int row, double min, double max, double pitch);
  // 厚さ計算から代入: the thickness picker on the seismic run; the h field shows what it hands
  // back.
  void PickThickness();

  CCase& case_;
  CPrmShear& prm_;
  CResShear& result_;
  CDrawResGraphSet graphAtOpening_;

  CExpEdit* erb_;
  CExpEdit* g0_;
  CExpEdit* spacing_;
  CExpEdit* depth_;
  CExpEdit* h_;
  CExpEdit* theta_;
  CExpEdit* kh_;
  CSheetGrid* summary_;
  CSheetGrid* results_;
  CSheetGrid* axes_;
  CShearGraphFrame* graph_;
  QPushButton* thickness_;
};
