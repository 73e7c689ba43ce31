#pragma once
// CRefSlideHDlg: "厚さ計算から代入", the thickness h of the latent collapse layer from the
// rock-bolt arrangement of the case: each bolt's length inside the moving layer (L1) and beyond the
// slip surface (L2) in one of its result sets, its extra and total length (red when shorter than
// the required bolt length), and the statistics of L1: sum, mean, deviation and mean plus
// deviation, the "計算 h" that 代入 gives back. 代入 stays disabled while that value is unset, so
// that no empty thickness ever reaches the opener.
//
// The slide conditions and the shear-deformation conditions open it with result set 1.

#include <optional>

#include "stage/controls/StageDialog.h"

class CCase;
class CSheetGrid;
class QPushButton;

class CRefSlideHDlg : public StageDialog {
  Q_OBJECT

 public:
  // The result set both openers show: the seismic one.
  static constexpr int kSeismicRow = 1;

  // Runs the picker on the case's arrangement with the bolts' lengths of the result set (0..3);
  // the computed h after 代入, nothing after キャンセル.
  static std::optional<double> PickThickness(const CCase& source, int calcRow, QWidget* parent);

  CRefSlideHDlg(const CCase& source, int calcRow, QWidget* parent = nullptr);

  // Mean plus deviation of the bolts' L1; kNoValue while unset.
  double Result() const { return result_; }

 private:
  void FillBolts(const CCase& source, int calcRow);
  void FillStatistics(const CCase& source);

  CSheetGrid* bolts_;
  CSheetGrid* statistics_;
  CSheetGrid* required_;
  QPushButton* assign_ = nullptr;
  double result_;
};
