#pragma once
// CCmdCmnShapeWaterChildDlg: the water-level page of the terrain editor, a coordinate grid page on
// the case's water line. Unlike the section line pages a change leaves the case's grid range
// alone.

#include "stage/dialogs/ShapeGridPage.h"

class CSpWater;

class CCmdCmnShapeWaterChildDlg : public CShapeGridPage {
  Q_OBJECT

 public:
  // The case's highlight kind of the water line.
  static constexpr int kHighlightKind = 3;

  explicit CCmdCmnShapeWaterChildDlg(QWidget* parent = nullptr);

  void SetWater(CSpWater* water) { water_ = water; }

 protected:
  CDPoly* EditedLine() const override;
  int HighlightKind() const override { return kHighlightKind; }

 private:
  CSpWater* water_ = nullptr;  // observed; the case's
};
