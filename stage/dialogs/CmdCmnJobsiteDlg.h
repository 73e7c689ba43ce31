#pragma once
// The site dialog of step 1 (CCmdCmnJobsiteDlg, "現場の設定") and the grid dialog it opens
// (CCmdCmnGridDlg, "グリッドの設定"). The site dialog edits copies of a case's site data and of
// the drawing range of its grid settings; the grid dialog edits all grid settings of the site
// dialog's copy. Only the site dialog's OK reaches the case: it writes back when anything changed
// and clears the case's results when the slope direction, the only site datum the calculations
// use, changed.

#include <QPixmap>
#include <array>
#include <memory>

#include "core/model/PrmGrid.h"
#include "core/model/PrmJobsite.h"
#include "stage/controls/StageDialog.h"

class CCase;
class CExpEdit;
class CSheetGrid;
class QCheckBox;
class QGridLayout;
class QLabel;
class QRadioButton;

// The drawing range fields that both dialogs show, with their labels: X and Y from and to, and
// the extents they give (shown only).
class RangeFields {
 public:
  // The widgets belong to the layout's dialog; this only finds them again.
  // Builds the fields and labels into two rows of the layout, from row on.
  RangeFields(QGridLayout& layout, int row);

  void Show(const CPrmGrid& grid) const;
  void ShowWidths(const CPrmGrid& grid) const;
  // The four bounds; an empty field gives kNoValue, a field left as shown keeps the bound.
  void Read(CPrmGrid& grid) const;
  // Every field and label at once.
  void SetEnabled(bool enabled) const;

  CExpEdit* xFrom;
  CExpEdit* xTo;
  CExpEdit* xWidth;
  CExpEdit* yFrom;
  CExpEdit* yTo;
  CExpEdit* yWidth;

 private:
  std::array<QLabel*, 10> labels_;
};

class CCmdCmnGridDlg : public StageDialog {
  Q_OBJECT

 public:
  // Edits a copy of the target; OK copies it into the target when it differs.
  explicit CCmdCmnGridDlg(CPrmGrid& target, QWidget* parent = nullptr);

  void OnOK() override;

 private:
  CPrmGrid& target_;
  QCheckBox* autoRange_;
  CExpEdit* margin_;
  std::unique_ptr<RangeFields> range_;
  std::array<QRadioButton*, 3> axis_;
  std::array<CExpEdit*, 4> pitches_;  // grid lines X, Y; numbers X, Y
};

class CCmdCmnJobsiteDlg : public StageDialog {
  Q_OBJECT

 public:
  // Runs the dialog on the case; true when it ended with OK.
  static bool Run(CCase& target, QWidget* parent);

  // The working copies are taken from the case.
  explicit CCmdCmnJobsiteDlg(CCase& target, QWidget* parent = nullptr);

  void OnOK() override;

  // The working copies into the controls.
  void Show();
  // The controls into the working copies, the grid settings normalised.
  void Read();

 private:
  void BuildLayout();
  void EnableRange() const;
  void ShowDirectionPicture();
  void OnGridSettings();
  int Direction() const;

  CCase& case_;
  CPrmJobsite jobsite_;
  CPrmGrid grid_;

  CSheetGrid* siteGrid_;
  CSheetGrid* commentGrid_;
  std::array<QRadioButton*, 3> direction_;
  QLabel* picture_;
  QCheckBox* autoRange_;
  std::unique_ptr<RangeFields> range_;
};

// The pictures of the slope directions (0 automatic, 1 rising to the right, 2 rising to the left)
// and of the grid settings.
QPixmap SlopePicture(int direction);
QPixmap GridPicture();
