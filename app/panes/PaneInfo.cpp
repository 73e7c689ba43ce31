#include "app/panes/PaneInfo.h"

#include <QHBoxLayout>
#include <QLabel>

#include "app/panes/PanePictures.h"
#include "core/model/PrmJobsite.h"
#include "stage/controls/ExpButton.h"
#include "stage/controls/StageDialog.h"

namespace {

// The coordinates stay at the right end, this far from the edge.
constexpr int kRightGap = 2;

}  // namespace

CPaneInfoDlg::CPaneInfoDlg(QWidget* parent)
    : QWidget(parent), siteName_(new QLabel), caseName_(new QLabel), coords_(new QLabel) {
  SetId(this, 312);
  SetId(siteName_, 1029);
  SetId(caseName_, 1032);
  SetId(coords_, 1034);
  // The help button serves nothing yet, so it is shown disabled.
  auto* help = new CExpButton(QString(), this);
  SetId(help, 1042);
  help->m_nStyle = 7;
  SetPaneButtonPictures(*help, QStringLiteral("？"));
  help->setEnabled(false);

  auto* layout = new QHBoxLayout(this);
  layout->setContentsMargins(4, 2, kRightGap, 2);
  layout->setSpacing(16);
  layout->addWidget(help);
  layout->addWidget(siteName_);
  layout->addWidget(caseName_);
  layout->addStretch();
  layout->addWidget(coords_);
}

void CPaneInfoDlg::ShowCaseNames(const CPrmJobsite& site) {
  siteName_->setText(QStringLiteral("現場名 ： ") + QString::fromStdString(site.names[0]));
  caseName_->setText(QStringLiteral("ケース名 ： ") + QString::fromStdString(site.names[1]));
}

void CPaneInfoDlg::SetCoordText(const QString& text) { coords_->setText(text); }

QString CPaneInfoDlg::CoordText() const { return coords_->text(); }
