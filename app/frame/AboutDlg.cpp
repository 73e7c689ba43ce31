#include "app/frame/AboutDlg.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/base/AppIdentity.h"
#include "platform/ProgramDir.h"
#include "platform/UiRegistry.h"
#include "stage/controls/ExpStatic.h"

QString AboutVersionText() {
  return QString::fromStdString(" Version" + GetAppVersion(2) + GetAppSubTitle());
}

CAboutDlg::CAboutDlg(QWidget* parent) : StageDialog(parent) {
  setObjectName(QStringLiteral("CAboutDlg"));
  setWindowTitle(QStringLiteral("バージョン情報"));

  auto* title = new QLabel(QString::fromStdString(GetAppTitle()), this);
  auto* version = new CExpStatic(AboutVersionText(), this);
  SetId(version, kIdVersion);
  auto* readme = MakeButton("Readme表示", kIdReadme);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(title);
  layout->addWidget(version);
  layout->addLayout(MakeOkCancelRow({readme}, {.cancel = nullptr}).layout);

  connect(readme, &QPushButton::clicked, this,
          [] { Ui().OpenInViewer(ResourceDir() / "Readme.txt"); });
}
