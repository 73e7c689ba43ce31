#include "stage/dialogs/InputBoxDlg.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

#include "stage/controls/ExpEdit.h"

namespace {
constexpr int kMaxTextBytes = 100;
}  // namespace

CInputBoxDlg::CInputBoxDlg(QWidget* parent)
    : StageDialog(parent), prompt_(new QLabel(this)), edit_(new CExpEdit(this)) {
  setObjectName(QStringLiteral("CInputBoxDlg"));
  SetId(prompt_, 3001);
  SetId(edit_, 3000);
  edit_->m_nType = CExpEdit::kText;
  edit_->m_nMaxBytes = kMaxTextBytes;
  edit_->setMinimumWidth(edit_->fontMetrics().averageCharWidth() * 40);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(prompt_);
  layout->addWidget(edit_);
  layout->addLayout(MakeOkCancelRow().layout);
  setFixedSize(sizeHint());
}

void CInputBoxDlg::SetText(const std::string& caption, const std::string& prompt,
                           const std::string& initial) {
  setWindowTitle(QString::fromStdString(caption));
  prompt_->setText(QString::fromStdString(prompt));
  edit_->setText(QString::fromStdString(initial));
  setFixedSize(sizeHint());
}

void CInputBoxDlg::OnOK() {
  result_ = edit_->text().trimmed().toStdString();
  StageDialog::OnOK();
}
