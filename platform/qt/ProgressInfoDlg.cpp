#include "platform/qt/ProgressInfoDlg.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

CProgressInfoDlg::CProgressInfoDlg(QWidget* parent)
    : QDialog(parent),
      line1_(new QLabel(this)),
      line2_(new QLabel(this)),
      bar_(new QProgressBar(this)),
      cancel_(new QPushButton(QStringLiteral("キャンセル"), this)) {
  setObjectName(QStringLiteral("CProgressInfoDlg"));
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
  connect(cancel_, &QPushButton::clicked, this, &CProgressInfoDlg::reject);

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

void CProgressInfoDlg::SetText(const QString& line1, const QString& line2) {
  line1_->setText(line1);
  line2_->setText(line2);
}

void CProgressInfoDlg::SetRange(int lo, int hi) { bar_->setRange(lo, hi); }

int CProgressInfoDlg::RangeLow() const { return bar_->minimum(); }

int CProgressInfoDlg::RangeHigh() const { return bar_->maximum(); }

void CProgressInfoDlg::SetValue(int value) { bar_->setValue(value); }

void CProgressInfoDlg::EnableCancel(bool enable) { cancel_->setEnabled(enable); }

void CProgressInfoDlg::reject() {
  if (cancel_->isEnabled()) QDialog::reject();
}
