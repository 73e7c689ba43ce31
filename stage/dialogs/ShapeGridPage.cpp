#include "stage/dialogs/ShapeGridPage.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QHeaderView>
#include <QMenu>
#include <QStringList>
#include <algorithm>
#include <utility>
#include <vector>

#include "core/base/Utility.h"
#include "core/case/Case.h"
#include "core/geometry/DLine.h"
#include "core/geometry/DPoly.h"
#include "platform/UiRegistry.h"
#include "stage/controls/KeyCode.h"
#include "stage/controls/SheetCell.h"
#include "stage/controls/SheetGrid.h"
#include "stage/controls/StageDialog.h"

namespace {

constexpr int kDecimals = 3;
constexpr double kPointPitch = 0.001;
constexpr int kColX = 1;
constexpr int kColY = 2;

// The rows of text the clipboard holds, as the grid pastes them.
int ClipboardRowCount() {
  QStringList lines = QGuiApplication::clipboard()->text().split(u'\n');
  if (!lines.isEmpty() && lines.back().isEmpty()) lines.pop_back();
  return static_cast<int>(lines.size());
}

CDPoint CellPoint(const CSheetGrid& grid, int row) {
  return CDPoint(SpreadGetDbl(grid, kColX, row), SpreadGetDbl(grid, kColY, row));
}

void SetCellPoint(CSheetGrid& grid, int row, const CDPoint& p) {
  SpreadSetDbl(grid, kColX, row, kDecimals, {}, p.x);
  SpreadSetDbl(grid, kColY, row, kDecimals, {}, p.y);
}

// The two rows whose points give the line through the active row; none for too few rows.
bool ReferenceRows(int row, int dataRows, int& a, int& b) {
  if (row == 1) {
    a = 2;
    b = 3;
  } else if (row < dataRows) {
    a = row + 1;
    b = row - 1;
  } else if (dataRows > 2) {
    a = dataRows - 1;
    b = dataRows - 2;
  } else {
    return false;
  }
  return true;
}

}  // namespace

CShapeGridPage::CShapeGridPage(QWidget* parent)
    : QWidget(parent), grid_(new CSheetGrid(this)), menu_(new QMenu(this)) {
  SetId(grid_, 4218);
  grid_->SetMaxCols(2);
  grid_->SetMaxRows(1);
  grid_->SetText(SheetBlock(kColX, CSheetGrid::kHeaderRow), QStringLiteral("X (m)"));
  grid_->SetText(SheetBlock(kColY, CSheetGrid::kHeaderRow), QStringLiteral("Y (m)"));
  grid_->SetHeaderBackColor(Color{0xFFFFDB});
  grid_->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
  grid_->setContextMenuPolicy(Qt::CustomContextMenu);

  const std::pair<MenuCommand, const char*> commands[] = {
      {kMenuCut, "切り取り(&X)"},   {kMenuCopy, "コピー(&C)"},
      {kMenuPaste, "貼り付け(&V)"}, {kMenuInsertCopied, "コピーした座標の挿入(&E)"},
      {kMenuInsert, "挿入(&I)"},    {kMenuDelete, "削除(&D)"},
  };
  for (const auto& [command, text] : commands) {
    QAction* action = menu_->addAction(QString::fromUtf8(text));
    action->setObjectName(QString::number(command));
    connect(action, &QAction::triggered, this,
            [this, command = command] { OnMenuCommand(command); });
  }

  connect(grid_, &CSheetGrid::Change, this, &CShapeGridPage::OnChange);
  connect(grid_, &CSheetGrid::Click, this, &CShapeGridPage::OnClick);
  connect(grid_, &CSheetGrid::BlockSelected, this, &CShapeGridPage::OnBlockSelected);
  connect(grid_, &CSheetGrid::LeaveCell, this, &CShapeGridPage::OnLeaveCell);
  connect(grid_, &CSheetGrid::KeyDown, this, &CShapeGridPage::OnKeyDown);
  connect(grid_, &QWidget::customContextMenuRequested, this, &CShapeGridPage::OnContextMenu);
}

void CShapeGridPage::LoadPage() {
  const CDPoly* line = EditedLine();
  const int count = line != nullptr ? line->GetSize() : 0;
  grid_->SetReDraw(false);
  grid_->SetMaxRows(count + 1);
  grid_->ClearUnlocked(
      SheetBlock(CSheetGrid::kAll, CSheetGrid::kAll, CSheetGrid::kAll, CSheetGrid::kAll));
  for (int i = 0; i < count; ++i) SetCellPoint(*grid_, i + 1, *line->GetAt(i));
  grid_->SetReDraw(true);
}

void CShapeGridPage::StorePage() {
  CDPoly* line = EditedLine();
  if (line == nullptr) return;
  line->DeleteAll();
  const int rows = grid_->DataRowCnt();
  for (int row = 1; row <= rows; ++row) line->Add(CellPoint(*grid_, row));
}

void CShapeGridPage::SetMousePoint(double x, double y) {
  const int row = grid_->ActiveRow();
  if (row < 1 || EditedLine() == nullptr) return;
  EndEdit();
  SetCellPoint(*grid_, row, CDPoint(RoundOff(x, kPointPitch), RoundOff(y, kPointPitch)));
  StorePage();
  FitRows();
  const int next = std::min(row + 1, grid_->MaxRows());
  grid_->SetActiveCell(kColX, next);
  Highlight(next - 1, next - 1);
  RedrawSection();
}

void CShapeGridPage::ReverseRows() {
  const int rows = grid_->DataRowCnt();
  std::vector<CDPoint> points;
  points.reserve(static_cast<std::size_t>(rows));
  for (int row = 1; row <= rows; ++row) points.push_back(CellPoint(*grid_, row));
  grid_->SetReDraw(false);
  for (int row = 1; row <= rows; ++row) {
    SetCellPoint(*grid_, row, points[static_cast<std::size_t>(rows - row)]);
  }
  grid_->SetReDraw(true);
  StorePage();
  RedrawSection();
}

void CShapeGridPage::InterpolateCell(int col) {
  EndEdit();
  const int row = grid_->ActiveRow();
  if (col < 1 || row < 1) return;
  int a = 0;
  int b = 0;
  if (!ReferenceRows(row, grid_->DataRowCnt(), a, b)) return;
  const CDLineVector line(CellPoint(*grid_, a), CellPoint(*grid_, b));
  if (!line.IsValid()) return;
  if (col == kColX) {
    const double x = line.GetX(SpreadGetDbl(*grid_, kColY, row));
    SpreadSetDbl(*grid_, kColX, row, kDecimals, {}, RoundOff(x, kPointPitch));
  } else {
    const double y = line.GetY(SpreadGetDbl(*grid_, kColX, row));
    SpreadSetDbl(*grid_, kColY, row, kDecimals, {}, RoundOff(y, kPointPitch));
  }
  StorePage();
  FitRows();
  grid_->SetActiveCell(kColX, std::min(row + 1, grid_->MaxRows()));
}

void CShapeGridPage::ShowSelection() {
  Highlight(grid_->SelBlockRow() - 1, grid_->SelBlockRow2() - 1);
  RedrawSection();
}

void CShapeGridPage::Highlight(int first, int last) const {
  if (case_ != nullptr) case_->SetCurDanmenMouseMove(HighlightKind(), first, last);
}

void CShapeGridPage::EndEdit() {
  if (!grid_->EditMode()) return;
  const int col = grid_->ActiveCol();
  const int row = grid_->ActiveRow();
  grid_->setCurrentIndex(QModelIndex());  // commits the typed text and closes the cell editor
  grid_->SetActiveCell(col, row);
}

void CShapeGridPage::FitRows() { grid_->SetMaxRows(grid_->DataRowCnt() + 1); }

void CShapeGridPage::Commit() {
  StorePage();
  FitRows();
  RedrawSection();
}

void CShapeGridPage::OnChange(int /*col*/, int row) {
  StorePage();
  FitRows();
  Highlight(row - 1, -1);
  AfterCellChange();
  RedrawSection();
}

void CShapeGridPage::OnClick(int /*col*/, int row) {
  if (row <= 0) return;
  Highlight(row - 1, -1);
  RedrawSection();
}

void CShapeGridPage::OnBlockSelected(int /*col*/, int row, int /*col2*/, int row2) {
  Highlight(row - 1, row2 - 1);
  RedrawSection();
}

void CShapeGridPage::OnLeaveCell(int /*col*/, int /*row*/, int /*newCol*/, int newRow,
                                 bool* cancel) {
  if (newRow < 1) return;
  const CDPoly* line = EditedLine();
  if (line != nullptr && newRow > line->GetSize() + 1) {
    *cancel = true;  // at most one row below the last point
    return;
  }
  Highlight(newRow - 1, -1);
  RedrawSection();
}

void CShapeGridPage::OnKeyDown(int* keyCode, int /*shift*/) {
  if (*keyCode == kKeyDelete) {
    if (grid_->EditMode()) return;  // the cell's editor deletes within the cell
    Commit();                       // the grid has emptied the selected cells
  } else if (*keyCode == kKeyMultiply || *keyCode == kKeyAsterisk) {
    *keyCode = 0;  // the key computes the cell; it is not typed into it
    InterpolateCell(grid_->ActiveCol());
    RedrawSection();
  }
}

void CShapeGridPage::OnContextMenu(const QPoint& point) {
  if (!MenuAvailable()) return;
  menu_->popup(grid_->viewport()->mapToGlobal(point));
}

void CShapeGridPage::OnMenuCommand(MenuCommand command) {
  if (command == kMenuCopy) {
    grid_->ClipboardCopy();
    return;
  }
  const SheetBlock block = SpreadGetSelBlock(*grid_, false);
  grid_->SetSelection(block.col, block.row, block.col2, block.row2);
  const int rows = block.row2 - block.row + 1;
  switch (command) {
    case kMenuCut:
      grid_->ClipboardCut();
      break;
    case kMenuPaste:
      grid_->SetMaxRows(std::max(grid_->MaxRows(), block.row + ClipboardRowCount() - 1));
      grid_->ClipboardPaste();
      break;
    case kMenuInsertCopied:
      InsertRowsAt(block.row, ClipboardRowCount());
      grid_->ClipboardPaste();
      break;
    case kMenuInsert:
      InsertRowsAt(block.row, rows);
      break;
    case kMenuDelete:
      grid_->SetReDraw(false);
      grid_->DeleteRows(block.row, rows);
      grid_->SetReDraw(true);
      break;
    case kMenuCopy:
      break;
  }
  Commit();
}

void CShapeGridPage::InsertRowsAt(int row, int count) {
  if (count <= 0) return;
  grid_->SetReDraw(false);
  grid_->SetMaxRows(grid_->MaxRows() + count);  // the rows pushed down stay in the grid
  grid_->InsertRows(row, count);
  grid_->SetReDraw(true);
}
