#pragma once
// The measured test points that the step-4 tests enter in the fit dialog.

#include <QRadioButton>
#include <QTest>

#include "stage/controls/SheetGrid.h"
#include "stage/dialogs/CmdShearFitDlg.h"
#include "tests/stage/dialogs/DialogTestSupport.h"
#include "tests/support/qt/QtTestSupport.h"

// Chooses the entry of measured points and types four of them (strain, G/G0) into the grid.
inline void TypeMeasuredFitPoints(CCmdShearFitDlg& d) {
  QTest::mouseClick(Ctl<QRadioButton>(d, 7345), Qt::LeftButton);
  CSheetGrid& grid = *Ctl<CSheetGrid>(d, 6350);
  const char* const points[][2] = {
      {"0.000001", "0.985"}, {"0.000032", "0.817"}, {"0.001", "0.235"}, {"0.016", "0.034"}};
  for (int row = 1; row <= 4; ++row) {
    TypeIntoCell(grid, 1, row, points[row - 1][0]);
    TypeIntoCell(grid, 2, row, points[row - 1][1]);
  }
}
