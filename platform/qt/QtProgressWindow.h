#pragma once
// The window a long calculation shows while it runs: "計算中" with two text lines, a bar and the
// "キャンセル" button. It is application-modal, so while it shows only its cancel reaches the
// program. Cancel, Escape and the close button hide it, which is how the calculation learns that
// the user cancelled; with cancel disabled none of them does anything. The controls carry the
// ids 2100 and 2101 (the lines), 2102 (the bar) and 2 (cancel) as their object names.

#include <QDialog>

class QLabel;
class QProgressBar;
class QPushButton;

class CQtProgressWindow : public QDialog {
  Q_OBJECT

 public:
  explicit CQtProgressWindow(QWidget* parent = nullptr);

  void SetText(const QString& line1, const QString& line2);
  void SetRange(int lo, int hi);
  int RangeLow() const;
  int RangeHigh() const;
  void SetValue(int value);
  void EnableCancel(bool enable);

 public slots:
  // Cancel, Escape and the close button: hides the window unless cancel is disabled.
  void reject() override;

 private:
  QLabel* line1_;
  QLabel* line2_;
  QProgressBar* bar_;
  QPushButton* cancel_;
};
