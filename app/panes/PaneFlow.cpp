#include "app/panes/PaneFlow.h"

#include <QEvent>
#include <QLabel>
#include <QPalette>
#include <QScrollBar>
#include <QVBoxLayout>
#include <algorithm>

#include "platform/UiRegistry.h"
#include "stage/controls/ExpButton.h"
#include "stage/controls/QtColor.h"
#include "stage/controls/StageDialog.h"

namespace {

constexpr Color kPageColour{0xEAFFEA};
constexpr int kPageButtonHeight = 44;
constexpr int kPageMargin = 10;
constexpr int kLineStep = 1;
constexpr int kPageStep = 5;

constexpr std::array<const char*, CPaneFlowDlg::kStageCount> kTabTexts = {
    "1: 基本条件", "2: 多平面安定解析", "3: すべり変形計算", "4: せん断変形計算"};
constexpr std::array<FrameMsg, CPaneFlowDlg::kStageCount> kStageMessages = {
    FrameMsg::WM_APP_STAGE1, FrameMsg::WM_APP_STAGE2, FrameMsg::WM_APP_STAGE3,
    FrameMsg::WM_APP_STAGE4};

using Command = CFlowStageDlg::Command;

constexpr Command kStage1[] = {
    {1012, "現場の設定", FrameMsg::WM_CMD_COMMON_JOBSITE},
    {1013, "地形座標の入力", FrameMsg::WM_CMD_COMMON_SHAPE_SHOW},
    {1014, "地層認識", FrameMsg::WM_CMD_COMMON_POLYGON},
    {1015, "土質定数", FrameMsg::WM_CMD_COMMON_SOIL},
};
constexpr Command kStage2[] = {
    {1024, "計算条件", FrameMsg::WM_CMD_STAB_PATTERN_SHOW},
    {1026, "ブロック分割", FrameMsg::WM_CMD_STAB_BLOCK_SHOW},
    {1030, "c 逆算", FrameMsg::WM_CMD_STAB_GYAKU},
    {1033, "安定計算", FrameMsg::WM_CMD_STAB_STABILITY},
};
constexpr Command kStage3[] = {
    {1027, "対策工諸元", FrameMsg::WM_CMD_SLIDE_ELEMENT},
    {1026, "対策工配置", FrameMsg::WM_CMD_SLIDE_ARRANGE_SHOW},
    {1028, "計算条件", FrameMsg::WM_CMD_SLIDE_PATTERN},
    {1031, "計算・出力", FrameMsg::WM_CMD_SLIDE_STABILITY},
};
constexpr Command kStage4[] = {
    {1013, "対策工諸元", FrameMsg::WM_CMD_SHEAR_ELEMENT},
    {1011, "対策工配置", FrameMsg::WM_CMD_SHEAR_ARRANGE_SHOW},
    {1012, "土のせん断剛性率の\nひずみ依存性の設定", FrameMsg::WM_CMD_SHEAR_FIT},
    {1055, "せん断変形・出力", FrameMsg::WM_CMD_SHEAR_STABILITY},
    {1014, "局所破壊・出力", FrameMsg::WM_CMD_SHEAR_FOCUS},
};

void SendToFrame(FrameMsg message) { Ui().SendToFrame(message, 0, 0); }

// Flat framed buttons in the pages' blue on pink.
void StylePageButton(CExpButton& button) {
  button.m_nStyle = 3;
  button.m_bToggle = true;
  button.m_bMultiLine = true;
  button.m_clrText = Color{0xA00000};
  button.m_clrFace = Color{0xFFBCA3};
  button.m_clrFaceSub = Color{0xA00000};
  button.m_clrCheck = Color{0xEFE2FF};
  button.m_clrCheckSub = Color{0xEFE2B7};
  button.m_clrHighlight = Color{0xD0D0D0};
  button.m_clrLight = Color{0xFFFFFF};
  button.m_clrShadow = Color{0xB4A791};
  button.m_clrDarkShadow = Color{0x808080};
}

// Gradient tabs; the current one drawn pressed.
void StyleTab(CExpButton& tab) {
  tab.m_nStyle = 2;
  tab.m_bToggle = true;
  tab.m_nAlignH = Qt::AlignLeft;
  tab.m_clrFace = Color{0xFFFFFF};
  tab.m_clrFaceSub = Color{0xBEBEBE};
  tab.m_clrCheck = Color{0xFFFFFF};
  tab.m_clrCheckSub = Color{0xFFA060};
  tab.m_clrLight = Color{0xFAFAFA};
  tab.m_clrShadow = Color{0x9D9D96};
}

// The arrow between two steps of a page: the order in which the commands are meant to run.
QLabel* FlowArrow() {
  auto* arrow = new QLabel(QStringLiteral("▼"));
  arrow->setAlignment(Qt::AlignCenter);
  QPalette palette = arrow->palette();
  palette.setColor(QPalette::WindowText, ToQColor(Color{0x808080}));
  arrow->setPalette(palette);
  return arrow;
}

void SetChecked(CExpButton& button, bool checked) {
  if (button.m_bCheck == checked) return;
  button.m_bCheck = checked;
  button.update();
}

}  // namespace

// ---- CFlowStageDlg ----

CFlowStageDlg::CFlowStageDlg(int id, std::span<const Command> commands, QWidget* parent)
    : QWidget(parent) {
  SetId(this, id);
  setAutoFillBackground(true);
  QPalette palette = this->palette();
  palette.setColor(QPalette::Window, ToQColor(kPageColour));
  setPalette(palette);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(kPageMargin, kPageMargin, kPageMargin, kPageMargin);
  for (const Command& command : commands) {
    if (!buttons_.empty()) layout->addWidget(FlowArrow());
    auto* button = new CExpButton(QString::fromUtf8(command.text), this);
    SetId(button, command.id);
    StylePageButton(*button);
    button->setMinimumHeight(kPageButtonHeight);
    button->setCursor(Qt::PointingHandCursor);
    button->setEnabled(false);  // until the frame says it serves the command
    button->installEventFilter(this);
    connect(button, &QAbstractButton::clicked, this,
            [this, command, button] { OnCommand(command, button); });
    layout->addWidget(button);
    buttons_.push_back(button);
    messages_.push_back(command.message);
  }
  layout->addStretch();
}

void CFlowStageDlg::UpdateCommands(const CommandAvailable& available) {
  for (std::size_t i = 0; i < buttons_.size(); ++i) {
    buttons_[i]->setEnabled(available && available(messages_[i]));
  }
}

void CFlowStageDlg::OnCommand(const Command& command, CExpButton* button) {
  // The block division stays marked on its page while the user works in it.
  if (command.message == FrameMsg::WM_CMD_STAB_BLOCK_SHOW) {
    for (CExpButton* other : buttons_) SetChecked(*other, other == button);
  }
  SendToFrame(command.message);
}

bool CFlowStageDlg::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::Enter) SetHover(qobject_cast<CExpButton*>(watched));
  if (event->type() == QEvent::Leave) SetHover(nullptr);
  return QWidget::eventFilter(watched, event);
}

void CFlowStageDlg::SetHover(const CExpButton* hovered) {
  for (CExpButton* button : buttons_) {
    const bool lit = button == hovered;
    if (button->m_bLamp == lit) continue;
    button->m_bLamp = lit;
    button->update();
  }
}

CFlowStage1Dlg::CFlowStage1Dlg(QWidget* parent) : CFlowStageDlg(313, kStage1, parent) {}
CFlowStage2Dlg::CFlowStage2Dlg(QWidget* parent) : CFlowStageDlg(314, kStage2, parent) {}
CFlowStage3Dlg::CFlowStage3Dlg(QWidget* parent) : CFlowStageDlg(315, kStage3, parent) {}
CFlowStage4Dlg::CFlowStage4Dlg(QWidget* parent) : CFlowStageDlg(316, kStage4, parent) {}

// ---- CPaneFlowDlg ----

CPaneFlowDlg::CPaneFlowDlg(QWidget* parent)
    : QWidget(parent), host_(new QWidget(this)), scroll_(new QScrollBar(Qt::Vertical, this)) {
  SetId(this, 310);
  for (int i = 0; i < kStageCount; ++i) {
    tabs_[i] = new CExpButton(QString::fromUtf8(kTabTexts[i]), this);
    SetId(tabs_[i], 1000 + i);
    StyleTab(*tabs_[i]);
    connect(tabs_[i], &QAbstractButton::clicked, this, [this, i] { SelectStage(i); });
  }
  SetId(host_, 1004);
  SetId(scroll_, 1005);
  pages_ = {new CFlowStage1Dlg(host_), new CFlowStage2Dlg(host_), new CFlowStage3Dlg(host_),
            new CFlowStage4Dlg(host_)};
  for (int i = 0; i < kStageCount; ++i) {
    heights_[i] = pages_[i]->sizeHint().height();
    pages_[i]->hide();
  }
  scroll_->setSingleStep(kLineStep);
  connect(scroll_, &QAbstractSlider::actionTriggered, this, &CPaneFlowDlg::OnScrollAction);
  connect(scroll_, &QAbstractSlider::valueChanged, this, &CPaneFlowDlg::OnScrolled);
  resize(200, 600);
  Layout();
  ShowPage();
}

void CPaneFlowDlg::SelectStage(int n) {
  if (n == current_) return;
  current_ = n;
  Layout();
  ShowPage();
  SendToFrame(kStageMessages[n]);
}

void CPaneFlowDlg::ResetToFirstStage() {
  current_ = 0;
  Layout();
  ShowPage();
}

void CPaneFlowDlg::SetCommandAvailable(CommandAvailable available) {
  available_ = std::move(available);
  UpdateCommands();
}

void CPaneFlowDlg::UpdateCommands() {
  for (CFlowStageDlg* page : pages_) page->UpdateCommands(available_);
}

void CPaneFlowDlg::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  Layout();
  ShowPage();  // the band's height sets how far the page scrolls
}

int CPaneFlowDlg::TabHeight() const { return fontMetrics().height() + 14; }

void CPaneFlowDlg::Layout() {
  const int h = TabHeight();
  const int w = width();
  const int bottom = height();
  for (int i = 0; i < kStageCount; ++i) {
    const int y = i <= current_ ? i * h : bottom - (kStageCount - i) * h;
    tabs_[i]->setGeometry(0, y, w, h);
  }
  const int top = (current_ + 1) * h;
  const int band = std::max(0, bottom - (kStageCount - 1 - current_) * h - top);
  const int barWidth = scroll_->sizeHint().width();
  scroll_->setGeometry(w - barWidth, top, barWidth, band);
  host_->setGeometry(0, top, std::max(0, w - barWidth), band);
}

void CPaneFlowDlg::ShowPage() {
  for (int i = 0; i < kStageCount; ++i) {
    if (i == current_) continue;
    pages_[i]->hide();
    SetChecked(*tabs_[i], false);
  }
  const int pageHeight = heights_[current_];
  const int pageSize = std::min(pageHeight, host_->height());
  const int maximum = pageHeight - pageSize;
  positions_[current_] = std::clamp(positions_[current_], 0, maximum);
  {
    const QSignalBlocker quiet(scroll_);
    scroll_->setRange(0, maximum);
    scroll_->setPageStep(pageSize);
    scroll_->setValue(positions_[current_]);
  }
  MovePage();
  pages_[current_]->show();
  SetChecked(*tabs_[current_], true);
}

void CPaneFlowDlg::MovePage() {
  pages_[current_]->setGeometry(0, -positions_[current_], host_->width(), heights_[current_]);
}

void CPaneFlowDlg::OnScrollAction(int action) {
  // The slider has moved by a whole page already; the pane pages by a few pixels instead.
  if (action == QAbstractSlider::SliderPageStepAdd) {
    scroll_->setSliderPosition(scroll_->value() + kPageStep);
  } else if (action == QAbstractSlider::SliderPageStepSub) {
    scroll_->setSliderPosition(scroll_->value() - kPageStep);
  }
}

void CPaneFlowDlg::OnScrolled(int position) {
  positions_[current_] = position;
  MovePage();
}
