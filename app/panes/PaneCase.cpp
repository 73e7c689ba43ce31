#include "app/panes/PaneCase.h"

#include <QCheckBox>
#include <QFrame>
#include <QHBoxLayout>
#include <QRadioButton>
#include <QVBoxLayout>

#include "app/panes/PanePictures.h"
#include "core/base/AppIdentity.h"
#include "core/base/CoreConfig.h"
#include "core/case/CaseArray.h"
#include "platform/UiRegistry.h"
#include "stage/controls/ExpButton.h"
#include "stage/controls/ExpStatic.h"
#include "stage/controls/StageDialog.h"

namespace {

constexpr Color kGroupLabelColour{0xE2C8AF};
constexpr int kFirstCaseButtonId = 1014;
constexpr int kCaseButtonHeight = 26;

void SendToFrame(FrameMsg message, std::uintptr_t wParam = 0) {
  Ui().SendToFrame(message, wParam, 0);
}

// Slanted tab buttons whose lamp shows a slot in use.
void StyleCaseButton(CExpButton& button) {
  button.m_nStyle = 5;
  button.m_bToggle = true;
  button.m_nAlignH = Qt::AlignLeft;
  button.m_clrFace = Color{0xF8F9EB};
  button.m_clrFaceSub = Color{0x808080};
  button.m_clrCheck = Color{0xEDFDA5};
  button.m_clrCheckSub = Color{0x32B4FF};
  button.m_clrHighlight = Color{0xFFFFFF};
  button.m_clrLight = Color{0xFFFFFF};
  button.m_clrShadow = Color{0x7A7A7A};
  button.m_clrDarkShadow = Color{0x808080};
  button.setMinimumHeight(kCaseButtonHeight);
}

CExpButton* ActionButton(int id, const char* picture, const char* tooltip, QWidget* parent) {
  auto* button = new CExpButton(QString(), parent);
  SetId(button, id);
  button->m_nStyle = 7;
  button->m_bToggle = false;
  SetPaneButtonPictures(*button, QString::fromUtf8(picture));
  button->setToolTip(QString::fromUtf8(tooltip));
  return button;
}

CExpStatic* GroupLabel(int id, const char* text) {
  auto* label = new CExpStatic(QString::fromUtf8(text));
  if (id != 0) SetId(label, id);
  label->m_clrBrush = kGroupLabelColour;
  return label;
}

// A group frame that keeps its left edge and takes the pane's width.
QFrame* Group(int id, QVBoxLayout*& contents) {
  auto* frame = new QFrame;
  SetId(frame, id);
  frame->setFrameShape(QFrame::StyledPanel);
  contents = new QVBoxLayout(frame);
  contents->setContentsMargins(2, 2, 2, 2);
  contents->setSpacing(0);
  return frame;
}

}  // namespace

CPaneCaseDlg::CPaneCaseDlg(QWidget* parent)
    : QWidget(parent),
      normal_(new QRadioButton(QStringLiteral("常時"))),
      quake_(new QRadioButton(QStringLiteral("地震時"))),
      blocksOnly_(new QCheckBox(QStringLiteral("多平面ブロック分割のみ表示"))) {
  SetId(this, 311);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);

  auto* actions = new QHBoxLayout;
  CExpButton* info = ActionButton(1006, "ケース\n情報", "ケースの情報", this);
  CExpButton* copy = ActionButton(1007, "ケース\nコピー", "ケースのコピー", this);
  CExpButton* clear = ActionButton(1008, "ケース\nクリア", "ケースのクリア", this);
  for (CExpButton* button : {info, copy, clear}) actions->addWidget(button);
  actions->addStretch();
  layout->addLayout(actions);
  connect(info, &QAbstractButton::clicked, this, [] { SendToFrame(FrameMsg::WM_APP_CASE_INFO); });
  connect(copy, &QAbstractButton::clicked, this, [] { SendToFrame(FrameMsg::WM_APP_CASE_COPY); });
  connect(clear, &QAbstractButton::clicked, this, &CPaneCaseDlg::OnClearCase);

  QVBoxLayout* list = nullptr;
  layout->addWidget(Group(1009, list));
  list->addWidget(GroupLabel(1010, "一覧"));
  for (int slot = 0; slot < kSlotCount; ++slot) {
    auto* button = new CExpButton(QString(), this);
    SetId(button, kFirstCaseButtonId + slot);
    StyleCaseButton(*button);
    connect(button, &QAbstractButton::clicked, this, [this, slot] { OnCaseClicked(slot); });
    list->addWidget(button);
    caseButtons_[slot] = button;
  }
  caseButtons_[0]->m_bCheck = true;

  QVBoxLayout* display = nullptr;
  layout->addWidget(Group(1011, display));
  display->setSpacing(2);
  display->addWidget(GroupLabel(0, "多平面すべり面の表示"));
  SetId(normal_, 1054);
  SetId(quake_, 1055);
  SetId(blocksOnly_, 1057);
  auto* radios = new QHBoxLayout;
  radios->addWidget(normal_);
  radios->addWidget(quake_);
  radios->addStretch();
  display->addLayout(radios);
  display->addWidget(blocksOnly_);
  layout->addStretch();

  connect(normal_, &QAbstractButton::clicked, this, [this] { OnQuakeChosen(0); });
  connect(quake_, &QAbstractButton::clicked, this, [this] { OnQuakeChosen(1); });
  connect(blocksOnly_, &QAbstractButton::clicked, this,
          [](bool checked) { SendToFrame(FrameMsg::WM_APP_SHOW_BLOCKS_ONLY, checked ? 1 : 0); });
  SetStabTypeFlags(false, false);
}

void CPaneCaseDlg::SelectCase(int n) {
  if (n == selected_) return;
  selected_ = n;
  for (int slot = 0; slot < kSlotCount; ++slot) {
    caseButtons_[slot]->m_bCheck = slot == n;
    caseButtons_[slot]->update();
  }
  SendToFrame(FrameMsg::WM_APP_INFO_REFRESH);
}

void CPaneCaseDlg::FillCaseButtons(const CCaseArray& cases) {
  for (int slot = 0; slot < kSlotCount; ++slot) {
    const std::string& name = cases.GetCase(slot)->GetPrmJobsite().names[1];
    const QString text = QStringLiteral("%1: ").arg(slot + 1) + QString::fromStdString(name);
    caseButtons_[slot]->setText(text);
    caseButtons_[slot]->setToolTip(text);
  }
}

void CPaneCaseDlg::MarkUsedCases(const CCaseArray& cases) {
  for (int slot = 0; slot < kSlotCount; ++slot) {
    const bool used = cases.GetCase(slot)->GetInUse() == 1;
    if (caseButtons_[slot]->m_bLamp == used) continue;
    caseButtons_[slot]->m_bLamp = used;
    caseButtons_[slot]->update();
  }
}

void CPaneCaseDlg::SetStabTypeFlags(bool hasNormal, bool hasQuake) {
  const int stage = CCoreConfig::GetStageNo();
  normal_->setEnabled(stage == 1 && hasNormal);
  quake_->setEnabled(stage == 1 && hasQuake);
  if (hasNormal != hasQuake) {
    quakeChoice_ = hasQuake ? 1 : 0;
    SendToFrame(FrameMsg::WM_APP_SHOW_QUAKE, quakeChoice_);
  }
  blocksOnly_->setEnabled(stage != 0);
  ShowQuakeChoice();
}

void CPaneCaseDlg::ResetQuakeChoice() {
  quakeChoice_ = 0;
  ShowQuakeChoice();
}

void CPaneCaseDlg::OnCaseClicked(int slot) {
  SelectCase(slot);
  SendToFrame(FrameMsg::WM_APP_CASE_SELECT, slot);
}

void CPaneCaseDlg::OnClearCase() {
  if (selected_ < 0 || selected_ >= kSlotCount) return;  // no slot selected
  const std::string text = "現在選択されているケースをクリアしますか？\n[ " +
                           caseButtons_[selected_]->text().toStdString() + " ]";
  if (Ui().MessageBox(text, GetAppTitle(), MsgButtons::OkCancel, MsgIcon::Question) ==
      MsgResult::Ok) {
    SendToFrame(FrameMsg::WM_APP_CASE_CLEAR);
  }
}

void CPaneCaseDlg::OnQuakeChosen(int choice) {
  quakeChoice_ = choice;
  ShowQuakeChoice();
  SendToFrame(FrameMsg::WM_APP_SHOW_QUAKE, choice);
}

void CPaneCaseDlg::ShowQuakeChoice() {
  normal_->setChecked(quakeChoice_ == 0);
  quake_->setChecked(quakeChoice_ == 1);
}
