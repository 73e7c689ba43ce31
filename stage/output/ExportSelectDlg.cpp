#include "stage/output/ExportSelectDlg.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "core/case/Case.h"
#include "core/case/ManageCore.h"
#include "core/model/PrmStab.h"
#include "core/stability/ResStab2.h"
#include "platform/UiRegistry.h"

CExportSelectDlg::CExportSelectDlg(CManageCore& core, QWidget* parent)
    : StageDialog(parent),
      core_(core),
      normal_(new QRadioButton(QStringLiteral("常時"))),
      quake_(new QRadioButton(QStringLiteral("地震時"))),
      normalArc_(new QCheckBox(QStringLiteral("常時のすべり面上部を円弧"))),
      quakeArc_(new QCheckBox(QStringLiteral("地震時のすべり面上部を円弧"))) {
  setWindowTitle(QStringLiteral("データ連携"));
  BuildLayout();

  const CCase& active = *core_.GetActiveCase();
  const std::array<int, 2>& topArc = active.GetResStab2().slideTopArc;
  normalArc_->setChecked(topArc[0] != 0);
  quakeArc_->setChecked(topArc[1] != 0);
  const CPrmStab& prm = active.GetPrmStab();
  (!prm.IsNormal() && prm.IsQuake() ? quake_ : normal_)->setChecked(true);
  normal_->setEnabled(prm.IsNormal());
  normalArc_->setEnabled(prm.IsNormal());
  quake_->setEnabled(prm.IsQuake());
  quakeArc_->setEnabled(prm.IsQuake());
}

void CExportSelectDlg::BuildLayout() {
  SetId(normal_, 3121);
  SetId(quake_, 3123);
  SetId(normalArc_, 3122);
  SetId(quakeArc_, 3124);
  auto* cases = new QButtonGroup(this);
  cases->addButton(normal_, 0);
  cases->addButton(quake_, 1);
  auto* xml = MakeButton("XML 出力", 3119);
  auto* cad = MakeButton("CAD 出力", 3120);
  connect(xml, &QPushButton::clicked, this, &CExportSelectDlg::OnXml);
  connect(cad, &QPushButton::clicked, this, &CExportSelectDlg::OnCad);

  auto* slideBox = new QGroupBox(QStringLiteral("出力するすべり面"));
  auto* slide = new QGridLayout(slideBox);
  slide->addWidget(normal_, 0, 0);
  slide->addWidget(normalArc_, 0, 1);
  slide->addWidget(quake_, 1, 0);
  slide->addWidget(quakeArc_, 1, 1);

  auto* xmlBox = new QGroupBox(QStringLiteral("ZELKO共通データ形式 (XML)"));
  auto* xmlLayout = new QHBoxLayout(xmlBox);
  xmlLayout->addWidget(MakeLabel("※補強土の計算と連携する場合はこちら。"), 1);
  xmlLayout->addWidget(xml);

  auto* cadBox = new QGroupBox(QStringLiteral("CADデータ形式"));
  auto* cadLayout = new QHBoxLayout(cadBox);
  cadLayout->addWidget(MakeLabel("※他ソフトの場合は CAD形式をご利用ください。"), 1);
  cadLayout->addWidget(cad);

  const OkCancelRow bottom = MakeOkCancelRow({}, {.ok = nullptr});
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(MakeLabel("出力する形式を選択してください。"));
  layout->addWidget(slideBox);
  layout->addWidget(xmlBox);
  layout->addWidget(cadBox);
  layout->addLayout(bottom.layout);

  QWidget* const order[] = {normal_, normalArc_, quake_, quakeArc_, xml, cad, bottom.cancel};
  for (std::size_t i = 0; i + 1 < std::size(order); ++i) setTabOrder(order[i], order[i + 1]);
}

int CExportSelectDlg::ChosenCase() const { return quake_->isChecked() ? 1 : 0; }

void CExportSelectDlg::StoreTopArcs() {
  core_.GetActiveCase()->GetResStab2().slideTopArc = {normalArc_->isChecked() ? 1 : 0,
                                                      quakeArc_->isChecked() ? 1 : 0};
}

void CExportSelectDlg::OnXml() {
  StoreTopArcs();
  core_.GetActiveCase()->ExportXml(ChosenCase());
  OnOK();
}

void CExportSelectDlg::OnCad() {
  StoreTopArcs();
  Ui().SendToFrame(FrameMsg::WM_APP_EXPORT_CAD, 1, 0);
  OnOK();
}
