#include "platform/qt/QtProgressWindow.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

CQtProgressWindow::CQtProgressWindow(QWidget* parent)
    : QDialog(parent),
      line1_(new QLabel(this)),
      line2_(new QLabel(this)),
      bar_(new QProgressBar(this)),
      cancel_(new QPushButton(QStringLiteral("キャンセル"), this)) {
  setObjectName(QStringLiteral("CQtProgressWindow"));
  setWindowTitle(QStringLiteral("計算中"));
  setWindowModality(Qt::ApplicationModal);
  line1_->setObjectName(QStringLiteral("2100"));
  line2_->setObjectName(QStringLiteral("2101"));
  bar_->setObjectName(QStringLiteral("2102"));
  cancel_->setObjectName(QStringLiteral("2"));
  line1_->setTextFormat(Qt::PlainText);
  line2_->setTextFormat(Qt::PlainText);
  bar_->setTextVisible(false);
  // Enter must not cancel a run.
  cancel_->setAutoDefault(false);
  cancel_->setDefault(false);
  connect(cancel_, &QPushButton::clicked, this, &CQtProgressWindow::reject);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(cancel_);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(line1_);
  layout->addWidget(line2_);
  layout->addWidget(bar_);
  layout->addLayout(buttons);
  // Room for a line of about forty full-width characters.
  setMinimumWidth(fontMetrics().horizontalAdvance(QString(40, QChar(0x3042))));
}

void CQtProgressWindow::SetText(const QString& line1, const QString& line2) {
  line1_->setText(line1);
  line2_->setText(line2);
}

void CQtProgressWindow::SetRange(int lo, int hi) { bar_->setRange(lo, hi); }

int CQtProgressWindow::RangeLow() const { return bar_->minimum(); }

int CQtProgressWindow::RangeHigh() const { return bar_->maximum(); }

void CQtProgressWindow::SetValue(int value) { bar_->setValue(value); }

void CQtProgressWindow::EnableCancel(bool enable) { cancel_->setEnabled(enable); }

void CQtProgressWindow::reject() {
  if (cancel_->isEnabled()) QDialog::reject();
}
