#include "stage/dialogs/RefSlideGrids.h"

#include <QHeaderView>
#include <QScrollBar>
#include <algorithm>

#include "stage/controls/SheetGrid.h"

namespace {
constexpr int kLeastWidth = 96;
}  // namespace

void PrepareReferenceGrid(CSheetGrid& grid, std::span<const char* const> headers) {
  grid.SetHeaderBackColor(Color{0xFFFFDB});
  grid.SetLockBackColor(Color{0xB8FFFF});
  grid.SetMaxCols(static_cast<int>(headers.size()));
  grid.SetLock(SheetBlock(CSheetGrid::kAll, CSheetGrid::kAll), true);
  for (std::size_t i = 0; i < headers.size(); ++i) {
    const int col = static_cast<int>(i) + 1;
    const QString text = QString::fromUtf8(headers[i]);
    grid.SetText(SheetBlock(col, CSheetGrid::kHeaderRow), text);
    // Wide enough for the longest line of the header.
    int widest = 0;
    for (const QString& line : text.split(QLatin1Char('\n'))) {
      widest = std::max(widest, grid.fontMetrics().horizontalAdvance(line));
    }
    grid.SetColWidth(col, std::max(kLeastWidth, widest + 16));
  }
}

void FitHeight(CSheetGrid& grid) {
  grid.setFixedHeight(grid.horizontalHeader()->sizeHint().height() +
                      grid.MaxRows() * grid.verticalHeader()->defaultSectionSize() +
                      2 * grid.frameWidth() + 2);
}

void FitWidth(CSheetGrid& grid) {
  grid.setMinimumWidth(grid.horizontalHeader()->length() +
                       grid.verticalHeader()->sizeHint().width() +
                       grid.verticalScrollBar()->sizeHint().width() + 2 * grid.frameWidth() + 2);
}
