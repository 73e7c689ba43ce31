#include "stage/controls/StageDialog.h"

#include <QButtonGroup>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLayout>
#include <QPushButton>
#include <QRadioButton>
#include <algorithm>

#include "platform/FrameMessages.h"
#include "platform/UiRegistry.h"
#include "stage/controls/SheetCell.h"
#include "stage/controls/SheetGrid.h"

namespace {

const QString kOkId = QStringLiteral("1");
const QString kCancelId = QStringLiteral("2");

// The grid that the focused widget is, or whose cell editor it is.
CSheetGrid* GridContaining(QWidget* widget) {
  for (QWidget* w = widget; w != nullptr; w = w->parentWidget()) {
    if (auto* grid = qobject_cast<CSheetGrid*>(w)) return grid;
  }
  return nullptr;
}

}  // namespace

void SetId(QWidget* control, int id) { control->setObjectName(QString::number(id)); }

void RedrawSection() { Ui().SendToFrame(FrameMsg::WM_APP_REDRAW, 0, 0); }

QPushButton* MakeButton(const char* text, int id) {
  auto* button = new QPushButton(QString::fromUtf8(text));
  SetId(button, id);
  return button;
}

OkCancelRow MakeOkCancelRow(std::initializer_list<QWidget*> leading, const EndCaptions& captions) {
  OkCancelRow row{new QHBoxLayout};
  for (QWidget* const widget : leading) row.layout->addWidget(widget);
  row.layout->addStretch();
  if (captions.ok != nullptr) {
    row.ok = MakeButton(captions.ok, 1);
    row.layout->addWidget(row.ok);
  }
  if (captions.cancel != nullptr) {
    row.cancel = MakeButton(captions.cancel, 2);
    row.layout->addWidget(row.cancel);
  }
  return row;
}

QLabel* MakeLabel(const char* text, int id) {
  auto* label = new QLabel(QString::fromUtf8(text));
  if (id != 0) SetId(label, id);
  return label;
}

QRadioButton* MakeRadio(const char* text, int id, QButtonGroup& group, int value) {
  auto* radio = new QRadioButton(QString::fromUtf8(text));
  SetId(radio, id);
  group.addButton(radio, value);
  return radio;
}

void SetTabChain(const std::vector<QWidget*>& chain) {
  QWidget* previous = nullptr;
  for (QWidget* w : chain) {
    if (previous != nullptr) QWidget::setTabOrder(previous, w);
    previous = w;
  }
}

StageDialog::StageDialog(QWidget* parent) : QDialog(parent) {}

void StageDialog::OnOK() { done(Accepted); }

void StageDialog::OnCancel() { done(Rejected); }

bool StageDialog::HasUnappliedChanges() { return false; }

void StageDialog::accept() { OnOK(); }

// The close button, and every other way Qt rejects a dialog, run the dialog's Cancel.
void StageDialog::reject() { OnCancel(); }

void StageDialog::setVisible(bool visible) {
  if (visible) PrepareButtons();
  QDialog::setVisible(visible);
}

void StageDialog::SetTrackLimits(int dwMin, int dhMin, int dwMax, int dhMax) {
  if (layout() != nullptr) layout()->activate();
  const QSize base = size().expandedTo(minimumSizeHint());
  const QSize needed = minimumSizeHint();
  setMinimumSize(std::max(base.width() + dwMin, needed.width()),
                 std::max(base.height() + dhMin, needed.height()));
  setMaximumSize(std::max(base.width() + dwMax, needed.width()),
                 std::max(base.height() + dhMax, needed.height()));
}

void StageDialog::keyPressEvent(QKeyEvent* event) {
  if (event->matches(QKeySequence::Cancel)) return;  // Escape never closes
  const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
  if (!enter || (event->modifiers() & ~Qt::KeypadModifier)) {
    QDialog::keyPressEvent(event);
    return;
  }
  QWidget* focused = focusWidget();
  if (focused != nullptr && focused->objectName() == kOkId) {
    if (auto* ok = qobject_cast<QPushButton*>(focused)) ok->click();
  } else if (CSheetGrid* grid = GridContaining(focused)) {
    OnGridEnter(*grid);
  } else {
    focusNextChild();
  }
}

void StageDialog::OnGridEnter(CSheetGrid& grid) { SpreadNextCell(grid); }

bool StageDialog::GridsHoldNumbers() {
  for (CSheetGrid* grid : findChildren<CSheetGrid*>()) {
    if (!grid->CheckNumberCells()) {
      grid->setFocus();
      return false;
    }
  }
  return true;
}

void StageDialog::PrepareButtons() {
  if (prepared_) return;
  prepared_ = true;
  for (QPushButton* button : findChildren<QPushButton*>()) {
    button->setAutoDefault(false);
    button->setDefault(false);
  }
  if (auto* ok = findChild<QPushButton*>(kOkId)) {
    connect(ok, &QPushButton::clicked, this, [this] {
      if (GridsHoldNumbers()) OnOK();
    });
  }
  if (auto* cancel = findChild<QPushButton*>(kCancelId)) {
    connect(cancel, &QPushButton::clicked, this, &StageDialog::OnCancel);
  }
}
