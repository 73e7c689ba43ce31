#pragma once
// The information pane ("情報"): the active case's site and case names and the cursor
// coordinates of the section view. It only shows what the frame and the view give it.

#include <QWidget>

class CPrmJobsite;
class QLabel;

class CPaneInfoDlg : public QWidget {
  Q_OBJECT

 public:
  explicit CPaneInfoDlg(QWidget* parent = nullptr);

  // "現場名 ： " and "ケース名 ： " with the names of the case's site data.
  void ShowCaseNames(const CPrmJobsite& site);
  // The view's coordinate readout; an empty text clears it.
  void SetCoordText(const QString& text);
  QString CoordText() const;

 private:
  QLabel* siteName_;
  QLabel* caseName_;
  QLabel* coords_;
};
