#include "stage/dialogs/CmdStabArcPasslineDlg.h"

#include <QColorDialog>
#include <QFontMetrics>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

#include "core/case/Case.h"
#include "platform/UiRegistry.h"
#include "platform/qt/ModalRunner.h"
#include "stage/controls/KeyCode.h"
#include "stage/controls/QtColor.h"
#include "stage/controls/SheetCell.h"
#include "stage/controls/SheetGrid.h"

namespace {

constexpr int kWidthDlu = 220;
constexpr int kHeightDlu = 220;
constexpr Color kGridColor = Color::Rgb(219, 255, 255);
constexpr int kFillDecimals = 4;
constexpr int kClickDecimals = 3;
constexpr int kStartX = 1;
constexpr int kEndX = 3;
constexpr int kEndY = 4;
constexpr int kEditStart = 0;
constexpr int kEditEnd = 1;

// Half up to 0.001; 0 and the unset value as they are.
double RoundClick(double v) {
  if (v == 0 || v == kNoValue) return v;
  return std::floor((v * 10000 + 5) / 10) * 0.001;
}

CArcPassLine& LinesOf(CCase& target, int kind) {
  CArcCondition& condition = target.GetArcCondition();
  return kind == CCmdStabArcPasslineDlg::kPassLines ? condition.passLine : condition.notPassLine;
}

}  // namespace

CCmdStabArcPasslineDlg* CCmdStabArcPasslineDlg::Open(CCase& target, int kind, QWidget* parent) {
  return new CCmdStabArcPasslineDlg(target, kind, parent);
}

CCmdStabArcPasslineDlg::CCmdStabArcPasslineDlg(CCase& target, int kind, QWidget* parent)
    : StageDialog(parent), case_(target), kind_(kind), lines_(LinesOf(target, kind)) {
  setObjectName(QStringLiteral("CCmdStabArcPasslineDlg"));
  setWindowTitle(kind == kPassLines ? QStringLiteral("通過線") : QStringLiteral("不通過線"));
  opened_.Copy(&lines_);

  colourGrid_ = new CSheetGrid;
  SetId(colourGrid_, 5275);
  colourGrid_->SetHeaderBackColor(kGridColor);
  colourGrid_->SetMaxCols(1);
  colourGrid_->SetMaxRows(1);
  colourGrid_->SetLock(SheetBlock(1, 1), true);
  // The one cell shows the line colour, which a selection's highlight would cover.
  colourGrid_->setSelectionMode(QAbstractItemView::NoSelection);
  colourGrid_->clearSelection();
  colourGrid_->SetText(SheetBlock(1, CSheetGrid::kHeaderRow), QStringLiteral("色"));
  colourGrid_->setFixedSize(
      colourGrid_->verticalHeader()->sizeHint().width() +
          colourGrid_->horizontalHeader()->length() + 2 * colourGrid_->frameWidth() + 2,
      colourGrid_->horizontalHeader()->sizeHint().height() +
          colourGrid_->verticalHeader()->length() + 2 * colourGrid_->frameWidth() + 2);

  lineGrid_ = new CSheetGrid;
  SetId(lineGrid_, 5282);
  lineGrid_->SetHeaderBackColor(kGridColor);
  lineGrid_->SetMaxCols(4);
  lineGrid_->SetMaxRows(kRows);
  int col = 1;
  for (const char* header : {"始点 X", "始点 Y", "終点 X", "終点 Y"}) {
    lineGrid_->SetText(SheetBlock(col++, CSheetGrid::kHeaderRow), QString::fromUtf8(header));
  }
  lineGrid_->SetDecimalPlaces(SheetBlock(1, 1, 4, kRows), kFillDecimals);

  QHBoxLayout* const buttons = MakeOkCancelRow().layout;
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(colourGrid_);
  layout->addWidget(lineGrid_, 1);
  layout->addLayout(buttons);
  const QFontMetrics metrics(font());
  resize(kWidthDlu * metrics.averageCharWidth() / 4, kHeightDlu * metrics.height() / 8);

  connect(colourGrid_, &CSheetGrid::DblClick, this, [this](int c, int r) {
    if (c == 1 && r == 1) OnColourCell();
  });
  connect(lineGrid_, &CSheetGrid::LeaveCell, this,
          [this](int, int, int newCol, int newRow, bool* cancel) {
            if (newRow > lines_.GetLines().GetSize() + 1) {
              *cancel = true;
              return;
            }
            FollowActiveCell(newCol, newRow);
            RedrawSection();
          });
  connect(lineGrid_, &CSheetGrid::EditModeChanged, this, [this](int, int, int mode, bool) {
    if (mode != 0) return;
    ReadGrids();
    RedrawSection();
  });
  connect(lineGrid_, &CSheetGrid::KeyDown, this, [this](int* keyCode, int) {
    if (*keyCode != kKeyDelete || lineGrid_->EditMode()) return;
    ReadGrids();
    RedrawSection();
  });

  FillGrids();
  case_.SetCurArcCondMouseMove(kind_, kEditStart);
  case_.SetMouseEdit(true);
  case_.ResetMouseMove();
}

void CCmdStabArcPasslineDlg::FillGrids() {
  colourGrid_->SetBackColor(SheetBlock(1, 1), lines_.GetColor());
  CDLineArray& lines = lines_.GetLines();
  for (int row = 1; row <= lines.GetSize() && row <= kRows; ++row) {
    const CDLine& line = *lines.GetAt(row - 1);
    const double values[] = {line.start.x, line.start.y, line.end.x, line.end.y};
    int col = kStartX;
    for (const double value : values) {
      SpreadSetDbl(*lineGrid_, col++, row, kFillDecimals, {}, value);
    }
  }
  while (lines.GetSize() < kRows) lines.AddLine(kNoValue, kNoValue, kNoValue, kNoValue);
  lines_.SetActiveID(0);
  lineGrid_->SetActiveCell(kStartX, 1);
}

void CCmdStabArcPasslineDlg::ReadGrids() {
  lines_.SetColor(colourGrid_->BackColor(1, 1));
  CDLineArray& lines = lines_.GetLines();
  for (int row = 1; row <= kRows && row <= lines.GetSize(); ++row) {
    CDLine& line = *lines.GetAt(row - 1);
    line.start = {SpreadGetDbl(*lineGrid_, 1, row), SpreadGetDbl(*lineGrid_, 2, row)};
    line.end = {SpreadGetDbl(*lineGrid_, 3, row), SpreadGetDbl(*lineGrid_, 4, row)};
  }
}

void CCmdStabArcPasslineDlg::FollowActiveCell(int col, int row) {
  if (row < 1) return;
  lines_.SetActiveID(row - 1);
  case_.SetCurArcCondMouseMove(kind_, col >= kEndX ? kEditEnd : kEditStart);
}

void CCmdStabArcPasslineDlg::SetPoint(double x, double y) {
  const int row = lineGrid_->ActiveRow();
  if (row < 1) return;
  x = RoundClick(x);
  y = RoundClick(y);
  if (lineGrid_->ActiveCol() >= kEndX) {
    SpreadSetDbl(*lineGrid_, kEndX, row, kClickDecimals, {}, x);
    SpreadSetDbl(*lineGrid_, kEndY, row, kClickDecimals, {}, y);
    const int next = std::min(row + 1, kRows);
    lineGrid_->SetActiveCell(kStartX, next);
    FollowActiveCell(kStartX, next);
  } else {
    SpreadSetDbl(*lineGrid_, kStartX, row, kClickDecimals, {}, x);
    SpreadSetDbl(*lineGrid_, kStartX + 1, row, kClickDecimals, {}, y);
    lineGrid_->SetActiveCell(kEndX, row);
    FollowActiveCell(kEndX, row);
  }
  ReadGrids();
  RedrawSection();
}

void CCmdStabArcPasslineDlg::OnColourCell() {
  QColorDialog dialog(ToQColor(colourGrid_->BackColor(1, 1)), this);
  dialog.setOption(QColorDialog::DontUseNativeDialog);
  if (RunModal(dialog) != Accepted) return;
  colourGrid_->SetBackColor(SheetBlock(1, 1), ToColor(dialog.selectedColor()));
  lines_.SetColor(ToColor(dialog.selectedColor()));
  RedrawSection();
}

void CCmdStabArcPasslineDlg::EndEditing() {
  lines_.SetActiveID(-1);
  case_.SetCurArcCondMouseMove(CArcCondition::kEditNone, 0);
  case_.SetMouseEdit(false);
  case_.ResetMouseMove();
}

void CCmdStabArcPasslineDlg::OnOK() {
  ReadGrids();
  lines_.RemoveValidNot();
  EndEditing();
  Ui().SendToFrame(FrameMsg::WM_CMD_STAB_ARC_PASS_CLOSE, 1, 0);
}

void CCmdStabArcPasslineDlg::OnCancel() {
  lines_.Copy(&opened_);
  EndEditing();
  Ui().SendToFrame(FrameMsg::WM_CMD_STAB_ARC_PASS_CLOSE, 0, 0);
}
