#include "stage/output/PrnWordDlg.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "core/base/AppIdentity.h"
#include "core/case/Case.h"
#include "core/case/ManageCore.h"
#include "platform/UiRegistry.h"
#include "stage/StageManage.h"

namespace {

constexpr const char* kCaption = "Word出力選択";
constexpr const char* kPrompt = "出力する帳票を選択してください。";

QCheckBox* MakeCheck(const char* text, int id) {
  auto* check = new QCheckBox(QString::fromUtf8(text));
  SetId(check, id);
  return check;
}

QRadioButton* MakeRadio(const char* text, int id) {
  auto* radio = new QRadioButton(QString::fromUtf8(text));
  SetId(radio, id);
  return radio;
}

QGroupBox* Group(const char* title, QLayout* content) {
  auto* group = new QGroupBox(QString::fromUtf8(title));
  group->setLayout(content);
  return group;
}

// Applies an edit of the print settings; the document is modified when they changed.
template <typename Edit>
void EditPrnInfo(CManageCore& core, Edit edit) {
  CPrnInfo& info = core.GetPrnInfo();
  const CPrnInfo before = info;
  edit(info);
  if (!(info == before)) core.SetModify(true);
}

}  // namespace

bool CPrnWordMultiDlg::Run(CManageCore& core, int kind, QWidget* parent) {
  return RunDialog<CPrnWordMultiDlg>(core, kind, parent);
}

CPrnWordMultiDlg::CPrnWordMultiDlg(CManageCore& core, int kind, QWidget* parent)
    : StageDialog(parent),
      core_(core),
      kind_(kind),
      normal_(MakeCheck("常時", 3088)),
      quake_(MakeCheck("地震時", 3089)),
      report_(MakeRadio("報告書", 3129)),
      summary_(MakeRadio("要約版 (1ページまとめ)", 3128)),
      list_(MakeCheck("安全率以下のブロック一覧を出力", 3091)),
      sheetNormal_(MakeLabel("シート : 常時", 3125)),
      sheetQuake_(MakeLabel("シート : 地震時", 3126)),
      docx_(MakeButton("出力 (docx形式)", 3070)),
      xlsx_(MakeButton("出力 (xlsx形式)", 3090)) {
  setObjectName(QStringLiteral("CPrnWordMultiDlg"));
  setWindowTitle(QString::fromUtf8(kCaption));

  auto* cases = new QHBoxLayout;
  cases->addWidget(normal_);
  cases->addWidget(quake_);
  cases->addStretch();
  auto* types = new QVBoxLayout;
  types->addWidget(report_);
  types->addWidget(summary_);
  auto* word = new QVBoxLayout;
  word->addLayout(cases);
  word->addWidget(Group("帳票タイプ", types));
  word->addWidget(list_);
  word->addWidget(docx_);
  auto* sheets = new QVBoxLayout;
  sheets->addWidget(sheetNormal_);
  sheets->addWidget(sheetQuake_);
  sheets->addStretch();
  sheets->addWidget(xlsx_);
  auto* groups = new QHBoxLayout;
  groups->addWidget(Group("計算書出力 (Word)", word));
  groups->addWidget(Group("各ブロックの安全率一覧 (Excel)", sheets));
  const OkCancelRow bottom = MakeOkCancelRow({}, {.ok = nullptr});
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(MakeLabel(kPrompt));
  layout->addLayout(groups);
  layout->addLayout(bottom.layout);
  setTabOrder(normal_, quake_);
  setTabOrder(quake_, report_);
  setTabOrder(report_, summary_);
  setTabOrder(summary_, list_);
  setTabOrder(list_, docx_);
  setTabOrder(docx_, xlsx_);
  setTabOrder(xlsx_, bottom.cancel);

  const CPrnInfo& info = core_.GetPrnInfo();
  normal_->setChecked(info.GetPrnMultiNQ(0) != 0);
  quake_->setChecked(info.GetPrnMultiNQ(1) != 0);
  (info.GetPrnMode(kind_) == 1 ? summary_ : report_)->setChecked(true);
  list_->setChecked(info.GetPrnMultiListOutFs() != 0);
  // The workbook comes from its own writer; while it is not built the button is off.
  xlsx_->setEnabled(CManageStage::IsAvailable(StageCommand::PrintExcel));
  Enable();

  connect(report_, &QRadioButton::clicked, this, &CPrnWordMultiDlg::OnRadio);
  connect(summary_, &QRadioButton::clicked, this, &CPrnWordMultiDlg::OnRadio);
  connect(docx_, &QPushButton::clicked, this, &CPrnWordMultiDlg::OnDocx);
  connect(xlsx_, &QPushButton::clicked, this, &CPrnWordMultiDlg::OnXlsx);
}

bool CPrnWordMultiDlg::IsCaseOn(int k) const {
  const CCase* active = core_.GetActiveCase();
  return active != nullptr &&
         (k == 0 ? active->GetPrmStab().IsNormal() : active->GetPrmStab().IsQuake());
}

void CPrnWordMultiDlg::Enable() {
  normal_->setEnabled(IsCaseOn(0));
  sheetNormal_->setEnabled(IsCaseOn(0));
  quake_->setEnabled(IsCaseOn(1));
  sheetQuake_->setEnabled(IsCaseOn(1));
  list_->setEnabled(report_->isChecked());
}

void CPrnWordMultiDlg::Save() {
  EditPrnInfo(core_, [this](CPrnInfo& info) {
    info.SetPrnMultiNQ(0, normal_->isChecked() ? 1 : 0);
    info.SetPrnMultiNQ(1, quake_->isChecked() ? 1 : 0);
    info.SetPrnMode(kind_, summary_->isChecked() ? 1 : 0);
    info.SetPrnMultiListOutFs(list_->isChecked() ? 1 : 0);
    info.SetPrnStage(kind_);
    info.SetPrnFromDlg(1);
  });
}

void CPrnWordMultiDlg::OnRadio() {
  Save();
  Enable();
}

void CPrnWordMultiDlg::OnDocx() {
  const bool valid = (normal_->isChecked() && IsCaseOn(0)) || (quake_->isChecked() && IsCaseOn(1));
  if (!valid) {
    Ui().MessageBox("出力する項目が一つも選択されていません。", GetAppTitle(), MsgButtons::Ok,
                    MsgIcon::Warning);
    return;
  }
  Save();
  StageDialog::OnOK();
}

void CPrnWordMultiDlg::OnXlsx() { Ui().SendToFrame(FrameMsg::WM_APP_PRINT_EXCEL, 0, 0); }

bool CPrnWordSummaryDlg::Run(CManageCore& core, int kind, QWidget* parent) {
  return RunDialog<CPrnWordSummaryDlg>(core, kind, parent);
}

CPrnWordSummaryDlg::CPrnWordSummaryDlg(CManageCore& core, int kind, QWidget* parent)
    : StageDialog(parent),
      core_(core),
      kind_(kind),
      report_(MakeRadio("報告書", 3121)),
      summary_(MakeRadio("要約版 (1ページまとめ)", 3123)) {
  setObjectName(QStringLiteral("CPrnWordSummaryDlg"));
  setWindowTitle(QString::fromUtf8(kCaption));
  auto* ok = MakeButton("出力 (docx形式)", 1);
  auto* types = new QVBoxLayout;
  types->addWidget(report_);
  types->addWidget(summary_);
  auto* word = new QVBoxLayout;
  word->addWidget(ok);
  const OkCancelRow bottom = MakeOkCancelRow({}, {.ok = nullptr});
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(MakeLabel(kPrompt));
  layout->addWidget(Group("帳票タイプ", types));
  layout->addWidget(Group("計算書出力 (Word)", word));
  layout->addLayout(bottom.layout);
  setTabOrder(report_, summary_);
  setTabOrder(summary_, ok);
  setTabOrder(ok, bottom.cancel);
  (core_.GetPrnInfo().GetPrnMode(kind_) == 1 ? summary_ : report_)->setChecked(true);
}

void CPrnWordSummaryDlg::OnOK() {
  EditPrnInfo(core_, [this](CPrnInfo& info) {
    info.SetPrnMode(kind_, summary_->isChecked() ? 1 : 0);
    info.SetPrnStage(kind_);
    info.SetPrnFromDlg(1);
  });
  StageDialog::OnOK();
}
