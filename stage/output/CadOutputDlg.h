#pragma once
// CCadOutputDlg: the cross-section of the active case as a CAD drawing. A grid of 12 output
// layers with a check box each, a paper and a scale list and a live preview in the CAD control;
// 出力 saves the drawing as a DXF file. Opened for the data linkage of the stability result, the
// terrain, strata, stratum polygons and rock bolts are off and locked.
//
// Every change rebuilds the whole drawing from the case, in layer order; text heights are
// millimetres on paper, so every text is 4 mm × the scale's factor (0.4 m in the file).

#include <array>
#include <vector>

#include "stage/controls/StageDialog.h"

class CBlockList;
class CCase;
class CDPoly;
class CDPolyArray;
class CSheetGrid;
class CZ_Tv5Gen6;
class QComboBox;

class CCadOutputDlg : public StageDialog {
  Q_OBJECT

 public:
  static constexpr int kLayerCount = 12;

  // Runs the CAD output of the case modally; true when it ended with OK.
  static bool Run(CCase& target, bool linkage, QWidget* parent);

  CCadOutputDlg(CCase& target, bool linkage, QWidget* parent = nullptr);

  // The values of one run of grid ticks or labels from start to end by pitch. Nothing when the
  // pitch is not positive or the run would hold more than 10,000 values.
  static std::vector<double> AxisRun(double start, double end, double pitch);

  // Reads the grid and the lists into the layer flags, the paper and the scale.
  void ReadGrid();
  // Rebuilds the drawing from the case; with fitting the preview shows the whole paper.
  void Rebuild(bool fit);

  const CZ_Tv5Gen6& Control() const { return *cad_; }
  const std::array<int, kLayerCount>& LayerFlags() const { return layers_; }

  void OnOK() override;

 private:
  void BuildLayout();
  void FillGrid();
  void SetAllRows(bool on);
  void OnPaperChanged(int index);
  void OnScaleChanged(int index);
  void OnHeaderClick();
  // Rebuilds without fitting and repaints, after the layer flags changed.
  void RebuildLayers();
  bool IsLockedRow(int row) const;
  double TextHeight() const;

  void WritePolyline(const CDPoly& line);
  void WriteLine(double x1, double y1, double x2, double y2);
  void WriteText(const std::string& text, double x, double y, double angle, int placement);
  void WriteStrata(const CDPolyArray* strata);
  void WriteStratumBlocks(const CDPolyArray* blocks);
  void WriteBlockCuts(const CBlockList& blocks);
  void WriteSlide(int resultCase);
  void WriteReinforcement();
  void WriteGrid();
  void WriteLayer(int layer);

  CCase& case_;
  const bool linkage_;
  CZ_Tv5Gen6* cad_;
  CSheetGrid* grid_;
  QComboBox* paper_;
  QComboBox* scale_;
  int paperIndex_ = 1;
  int scaleIndex_ = 3;
  std::array<int, kLayerCount> layers_{};
  bool filling_ = false;
  std::array<short, 4> pens_{};
};
