#include "stage/dialogs/CmdStabShapeLoadDlg.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QFontMetrics>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "core/base/Utility.h"
#include "platform/UiRegistry.h"
#include "stage/controls/ExpEdit.h"

namespace {

constexpr const char* kNotStored = "荷重はケースに保存されないため、この操作は使えません。";

QCheckBox* Switch(const char* text, int id) {
  auto* box = new QCheckBox(QString::fromUtf8(text));
  SetId(box, id);
  return box;
}

// A list button that would edit the loads, which nothing stores: shown, but never active.
QPushButton* UnstoredLoadButton(const char* text, int id) {
  QPushButton* const button = MakeButton(text, id);
  button->setEnabled(false);
  button->setToolTip(QString::fromUtf8(kNotStored));
  return button;
}

// Wide enough for the longest text the field takes.
CExpEdit* Sized(CExpEdit* field) {
  const QFontMetrics metrics(field->font());
  field->setFixedWidth(metrics.horizontalAdvance(QLatin1Char('0')) * (field->m_nMaxBytes + 2));
  return field;
}

void UncheckAll(QButtonGroup& group) {
  group.setExclusive(false);
  for (QAbstractButton* button : group.buttons()) button->setChecked(false);
  group.setExclusive(true);
}

}  // namespace

CCmdStabShapeLoadDlg* CCmdStabShapeLoadDlg::Open(QWidget* parent) {
  return new CCmdStabShapeLoadDlg(parent);
}

CCmdStabShapeLoadDlg::CCmdStabShapeLoadDlg(QWidget* parent) : StageDialog(parent) {
  setObjectName(QStringLiteral("CCmdStabShapeLoadDlg"));
  setWindowTitle(QStringLiteral("荷重の入力"));

  // Created in the order of the focus chain.
  loads_ = new QComboBox;
  SetId(loads_, 5362);
  QPushButton* const add = UnstoredLoadButton("追加", 5363);
  QPushButton* const change = UnstoredLoadButton("変更", 5244);
  QPushButton* const remove = UnstoredLoadButton("削除", 5245);
  rainfall_ = Switch("異常降雨時", 5364);
  seismicL1_ = Switch("地震時(L1)", 5204);
  seismicL2_ = Switch("地震時(L2)", 5205);
  seismicL2_->setEnabled(false);  // a case no load is ever given for
  direction_ = new QButtonGroup(this);
  QRadioButton* const resisting = MakeRadio("抵抗力に加算", 5365, *direction_, 0);
  QRadioButton* const sliding = MakeRadio("滑動力に加算", 5266, *direction_, 1);
  x1_ = Sized(MakeDecimalField(5368, -9999.999, 9999.999, 9, 3));
  x2_ = Sized(MakeDecimalField(5369, -9999.999, 9999.999, 9, 3));
  mouse_ = Switch("マウス入力", 5259);
  q_ = Sized(MakeDecimalField(5370, 0.01, 999.99, 6, 2));

  auto* loadRow = new QHBoxLayout;
  loadRow->addWidget(loads_, 1);
  loadRow->addWidget(add);
  loadRow->addWidget(change);
  loadRow->addWidget(remove);

  auto* cases = new QGroupBox(QStringLiteral("載荷条件"));
  auto* caseColumn = new QVBoxLayout(cases);
  caseColumn->addWidget(rainfall_);
  caseColumn->addWidget(seismicL1_);
  caseColumn->addWidget(seismicL2_);

  auto* formula = new QGroupBox(QStringLiteral("算出式"));
  auto* formulaColumn = new QVBoxLayout(formula);
  formulaColumn->addWidget(resisting);
  formulaColumn->addWidget(sliding);
  formulaColumn->addStretch();

  auto* groups = new QHBoxLayout;
  groups->addWidget(cases);
  groups->addWidget(formula);

  auto* rangeRow = new QHBoxLayout;
  rangeRow->addWidget(MakeLabel("作用範囲　X = "));
  rangeRow->addWidget(x1_);
  rangeRow->addWidget(MakeLabel("～"));
  rangeRow->addWidget(x2_);
  rangeRow->addWidget(MakeLabel("(m)"));
  rangeRow->addStretch();
  rangeRow->addWidget(mouse_);

  auto* loadValueRow = new QHBoxLayout;
  loadValueRow->addWidget(MakeLabel("分布荷重　q ="));
  loadValueRow->addWidget(q_);
  loadValueRow->addWidget(MakeLabel("(kN/m2)"));
  loadValueRow->addStretch();

  QHBoxLayout* const buttons = MakeOkCancelRow().layout;

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(loadRow);
  layout->addLayout(groups);
  layout->addLayout(rangeRow);
  layout->addLayout(loadValueRow);
  layout->addStretch();
  layout->addLayout(buttons);

  connect(loads_, &QComboBox::activated, this, &CCmdStabShapeLoadDlg::OnLoadActivated);
  for (CExpEdit* field : {x1_, x2_, q_}) connect(field, &CExpEdit::FocusLeft, this, &RedrawSection);
  x1_->installEventFilter(this);
  x2_->installEventFilter(this);

  Refresh();
}

void CCmdStabShapeLoadDlg::SetPoint(double x) {
  if (!mouse_->isChecked()) return;
  CExpEdit* const filled = nextRangeEnd_ == 0 ? x1_ : x2_;
  CExpEdit* const other = nextRangeEnd_ == 0 ? x2_ : x1_;
  filled->SetDouble(x);
  nextRangeEnd_ = 1 - nextRangeEnd_;
  other->setFocus(Qt::OtherFocusReason);
  RedrawSection();
}

void CCmdStabShapeLoadDlg::OnOK() { Close(true); }

void CCmdStabShapeLoadDlg::OnCancel() { Close(false); }

// Putting the focus into a range field by hand makes it the one the next click fills.
bool CCmdStabShapeLoadDlg::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::FocusIn) {
    if (watched == x1_) nextRangeEnd_ = 0;
    if (watched == x2_) nextRangeEnd_ = 1;
  }
  return StageDialog::eventFilter(watched, event);
}

void CCmdStabShapeLoadDlg::Refresh() {
  loads_->setCurrentIndex(selected_);
  if (selected_ == -1) {
    for (QCheckBox* box : {rainfall_, seismicL1_, seismicL2_}) box->setChecked(false);
    UncheckAll(*direction_);
    for (CExpEdit* field : {x1_, x2_, q_}) field->SetDouble(kNoValue);
  }
  mouse_->setChecked(true);
}

void CCmdStabShapeLoadDlg::OnLoadActivated(int index) {
  if (index == selected_) return;
  selected_ = index;
  Refresh();
  RedrawSection();
}

void CCmdStabShapeLoadDlg::Close(bool ok) {
  Ui().SendToFrame(FrameMsg::WM_CMD_STAB_LOAD_CLOSE, ok ? 1 : 0, 0);
}
