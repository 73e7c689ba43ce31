#pragma once
// CRefStabGraphCPhiDlg (cφ関係図): the c–tan φ relation of the back analysis of a case. The
// figure joins c at φ = 0 and tan φ at c = 0 of the registered pair and marks its adopted pair;
// the three fields beside it show the registered pair's φ, tan φ and back-calculated c (empty
// without a registered pair). Nothing is edited: OK and 閉じる only end the dialog.

#include <QWidget>

#include "stage/controls/StageDialog.h"

class CCase;

// The figure area: the case's back-analysis figure painted into the widget's rectangle.
class CCPhiFigure : public QWidget {
  Q_OBJECT

 public:
  explicit CCPhiFigure(CCase& shown, QWidget* parent = nullptr);

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  CCase& case_;
};

class CRefStabGraphCPhiDlg : public StageDialog {
  Q_OBJECT

 public:
  explicit CRefStabGraphCPhiDlg(CCase& shown, QWidget* parent = nullptr);
};
