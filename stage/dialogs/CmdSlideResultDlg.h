#pragma once
// CCmdSlideResultDlg: "すべり変形計算・出力", the calculate-and-output page of the slide
// deformation. 計算開始 runs the calculation of the case; the dialog shows the design kh, the
// design row's Fsr, γs and δs with the allowable values and their judgements, one row per
// calculated seismic coefficient, and three graphs against kh (Fsr, γs, δs) whose vertical axes
// the user sets in a small grid under each. OK and 閉じる both just close: the results and the
// axis settings are the case's.
//
// An axis keeps a usable range: an automatic range of zero width is widened, a typed minimum at
// or above the maximum and a pitch that would draw more than kMaxGridLines lines are refused.

#include <QImage>
#include <array>

#include "stage/controls/StageDialog.h"

class CCase;
class CDrawResGraphSet;
class CResSlide;
class CSheetGrid;
class QPushButton;
class QWidget;

class CCmdSlideResultDlg : public StageDialog {
  Q_OBJECT

 public:
  static constexpr int kGraphCount = 3;
  // The most grid lines an axis may ask for.
  static constexpr int kMaxGridLines = 100;

  // The automatic axes of a graph whose data reach xTop and yTop from 0.
  struct AutoAxes {
    double xMax;
    double xPitch;
    double yMax;  // raised past yTop to the next multiple of the pitch
    double yPitch;
  };
  static AutoAxes ComputeAutoAxes(double xTop, double yTop);

  // A vertical axis typed by the user; an empty text when it is usable, else why not.
  static std::string CheckAxis(double min, double max, double pitch);

  // Runs the dialog on the case; true when it ended with OK.
  static bool Run(CCase& target, QWidget* parent);

  CCmdSlideResultDlg(CCase& target, QWidget* parent = nullptr);

  // 計算開始.
  void Calculate();
  // Draws graph i anew into its picture.
  void RenderGraph(int i);
  const QImage& Graph(int i) const { return images_.at(static_cast<std::size_t>(i)); }

 private:
  void BuildLayout();
  void SetupGrids();
  void Show();
  void ShowSummary();
  void ShowRows();
  void ShowAxis(int i);
  // The automatic axes of graph i: the horizontal one always, the vertical one with fill.
  void AutoRange(int i, bool fill);
  void OnAxisChanged(int i);
  void RepaintGraphs();
  double DesignKh() const;
  CDrawResGraphSet& GraphSet(int i);

  CCase& case_;
  CResSlide& results_;

  CSheetGrid* summary_;
  CSheetGrid* rows_;
  std::array<QWidget*, kGraphCount> frames_{};
  std::array<CSheetGrid*, kGraphCount> axes_{};
  std::array<QImage, kGraphCount> images_;
  QPushButton* calculate_;
  QPushButton* word_;
};
