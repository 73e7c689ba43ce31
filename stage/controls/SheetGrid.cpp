#include "stage/controls/SheetGrid.h"

#include <QAbstractButton>
#include <QAbstractTableModel>
#include <QClipboard>
#include <QGuiApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QStyledItemDelegate>
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/NumberText.h"
#include "stage/controls/ExpEdit.h"
#include "stage/controls/KeyCode.h"
#include "stage/controls/QtColor.h"

namespace {

constexpr Color kWhite = Color::Rgb(255, 255, 255);
constexpr Color kBlack = Color::Rgb(0, 0, 0);
constexpr int kTextCell = -1;
constexpr int kMaxDecimals = 7;

bool IsHeaderRow(int row) {
  return row == CSheetGrid::kHeaderRow || row == CSheetGrid::kHeaderRow2;
}
int HeaderRowIndex(int row) { return row == CSheetGrid::kHeaderRow ? 0 : 1; }

// A run of zero-based columns or rows, both ends included; empty when first > last.
struct Run {
  int first = 0;
  int last = -1;
  bool Empty() const { return first > last; }
  int Length() const { return last - first + 1; }
};

// The data columns or rows that a pair of addresses names among count: kAll names them all, the
// others are ordered and cut to 1..count.
Run DataRun(int a, int b, int count) {
  if (a == CSheetGrid::kAll || b == CSheetGrid::kAll) return Run{0, count - 1};
  const int lo = std::max(std::min(a, b), 1);
  const int hi = std::min(std::max(a, b), count);
  return Run{lo - 1, hi - 1};
}

// Text as a number cell shows it: a whole number with the cell's decimals, other text as it is.
QString NumberCellText(const QString& text, int decimals) {
  const std::string trimmed = text.trimmed().toStdString();
  if (trimmed.empty()) return QString();
  const auto parsed = ParseDoublePrefix(trimmed);
  if (!parsed || parsed->used != trimmed.size()) return text;
  return QString::fromStdString(FormatFixed(parsed->value, decimals));
}

// Whether a number cell's text is a number the cell can hold, or nothing.
bool IsNumberOrEmpty(const QString& text) {
  const std::string trimmed = text.trimmed().toStdString();
  if (trimmed.empty()) return true;
  const auto parsed = ParseDoublePrefix(trimmed);
  return parsed && parsed->used == trimmed.size() && std::isfinite(parsed->value);
}

// A check box holds "1" when its text reads as a number other than 0, "0" otherwise; empty text
// leaves it empty.
QString CheckBoxText(const QString& text) {
  const std::string trimmed = text.trimmed().toStdString();
  if (trimmed.empty()) return QString();
  const auto parsed = ParseDoublePrefix(trimmed);
  return parsed && parsed->value != 0.0 ? QStringLiteral("1") : QStringLiteral("0");
}

}  // namespace

// A number cell (one with decimals) holds the number as it was typed or written and only shows
// it rounded to its decimals, so that reading a cell back never loses what the user entered.
struct SheetCell {
  QString text;  // as typed or written; a check box's "1" or "0"
  Color back = kWhite;
  Color fore = kBlack;
  std::int8_t decimals = kTextCell;
  bool ownBack = false;  // the back colour was set; otherwise a locked cell takes the lock colour
  bool locked = false;
  bool checkBox = false;

  void Write(const QString& value) { text = checkBox ? CheckBoxText(value) : value; }
  // The text the cell shows.
  QString Shown() const { return decimals != kTextCell ? NumberCellText(text, decimals) : text; }
};

struct HeaderSpan {
  int col;  // zero-based data column
  int row;  // header row 0 or 1
  int cols;
  int rows;
  bool Covers(int c, int r) const {
    return c >= col && c < col + cols && r >= row && r < row + rows;
  }
};

// The cells of one grid, row by row in one array, with the settings of whole columns that rows
// added later take, the header texts and the grid's colours.
class SheetModel : public QAbstractTableModel {
 public:
  explicit SheetModel(QObject* parent) : QAbstractTableModel(parent) {}

  // The user changed a cell's text, or switched a check box (zero-based row and column).
  std::function<void(int row, int col)> onEdited;
  std::function<void(int row, int col, bool checked)> onToggled;

  int rowCount(const QModelIndex& parent) const override { return parent.isValid() ? 0 : rows_; }
  int columnCount(const QModelIndex& parent) const override { return parent.isValid() ? 0 : cols_; }

  QVariant data(const QModelIndex& index, int role) const override {
    if (!index.isValid()) return {};
    const SheetCell& cell = At(index.row(), index.column());
    switch (role) {
      case Qt::DisplayRole:
        return cell.checkBox ? QVariant() : QVariant(cell.Shown());
      case Qt::EditRole:
        return cell.text;
      case Qt::CheckStateRole:
        if (!cell.checkBox) return {};
        return cell.text == QLatin1String("1") ? Qt::Checked : Qt::Unchecked;
      case Qt::BackgroundRole:
        return QBrush(ToQColor(ShownBack(cell)));
      case Qt::ForegroundRole:
        return QBrush(ToQColor(cell.fore));
      case Qt::TextAlignmentRole:
        if (cell.checkBox) return int(Qt::AlignCenter);
        return int(Qt::AlignVCenter |
                   (cell.decimals != kTextCell ? Qt::AlignRight : Qt::AlignLeft));
      default:
        return {};
    }
  }

  bool setData(const QModelIndex& index, const QVariant& value, int role) override {
    if (!index.isValid()) return false;
    SheetCell& cell = At(index.row(), index.column());
    if (cell.locked) return false;
    if (role == Qt::CheckStateRole && cell.checkBox) {
      const bool checked = value.toInt() == Qt::Checked;
      cell.text = checked ? QStringLiteral("1") : QStringLiteral("0");
      CellsChanged(index.row(), index.column(), index.row(), index.column());
      if (onToggled) onToggled(index.row(), index.column(), checked);
      return true;
    }
    if (role != Qt::EditRole || cell.checkBox) return false;
    const QString before = cell.text;
    cell.Write(value.toString());
    if (cell.text == before) return true;
    CellsChanged(index.row(), index.column(), index.row(), index.column());
    if (onEdited) onEdited(index.row(), index.column());
    return true;
  }

  Qt::ItemFlags flags(const QModelIndex& index) const override {
    if (!index.isValid()) return Qt::NoItemFlags;
    const SheetCell& cell = At(index.row(), index.column());
    Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (!cell.locked) flags |= cell.checkBox ? Qt::ItemIsUserCheckable : Qt::ItemIsEditable;
    return flags;
  }

  QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
    if (role != Qt::DisplayRole) return {};
    if (orientation == Qt::Horizontal) {
      return section < cols_ ? headerTexts_[0][static_cast<std::size_t>(section)] : QString();
    }
    if (section >= rows_) return {};
    const QString& text = rowHeaders_[static_cast<std::size_t>(section)];
    return text.isEmpty() ? QString::number(section + 1) : text;
  }

  int Rows() const { return rows_; }
  int Cols() const { return cols_; }
  SheetCell& At(int row, int col) { return cells_[Offset(row, col)]; }
  const SheetCell& At(int row, int col) const { return cells_[Offset(row, col)]; }

  void SetRows(int rows) {
    rows = std::max(rows, 0);
    if (rows > rows_) {
      beginInsertRows(QModelIndex(), rows_, rows - 1);
      cells_.reserve(static_cast<std::size_t>(rows) * static_cast<std::size_t>(cols_));
      for (int r = rows_; r < rows; ++r)
        cells_.insert(cells_.end(), defaults_.begin(), defaults_.end());
      rowHeaders_.resize(static_cast<std::size_t>(rows));
      rows_ = rows;
      endInsertRows();
    } else if (rows < rows_) {
      beginRemoveRows(QModelIndex(), rows, rows_ - 1);
      cells_.resize(static_cast<std::size_t>(rows) * static_cast<std::size_t>(cols_));
      rowHeaders_.resize(static_cast<std::size_t>(rows));
      rows_ = rows;
      endRemoveRows();
    }
  }

  void SetCols(int cols) {
    cols = std::max(cols, 0);
    if (cols == cols_) return;
    beginResetModel();
    const auto count = static_cast<std::size_t>(cols);
    defaults_.resize(count);
    std::vector<SheetCell> cells;
    cells.reserve(static_cast<std::size_t>(rows_) * count);
    for (int r = 0; r < rows_; ++r) {
      for (int c = 0; c < cols; ++c) {
        cells.push_back(c < cols_ ? std::move(At(r, c)) : defaults_[static_cast<std::size_t>(c)]);
      }
    }
    cells_ = std::move(cells);
    for (auto& texts : headerTexts_) texts.resize(count);
    cols_ = cols;
    endResetModel();
  }

  // Applies change to every data cell of the block, and to the settings of whole columns when
  // the block covers all rows. Header addresses are left alone.
  void Update(const SheetBlock& block, const std::function<void(SheetCell&)>& change) {
    if (IsHeaderRow(block.row) || block.col == CSheetGrid::kRowHeaderCol) return;
    const Run cols = DataRun(block.col, block.col2, cols_);
    const Run rows = DataRun(block.row, block.row2, rows_);
    if (block.row == CSheetGrid::kAll || block.row2 == CSheetGrid::kAll) {
      for (int c = cols.first; c <= cols.last; ++c) change(defaults_[static_cast<std::size_t>(c)]);
    }
    if (cols.Empty() || rows.Empty()) return;
    for (int r = rows.first; r <= rows.last; ++r) {
      for (int c = cols.first; c <= cols.last; ++c) change(At(r, c));
    }
    CellsChanged(rows.first, cols.first, rows.last, cols.last);
  }

  void Clear(const SheetBlock& block) {
    if (IsHeaderRow(block.row) || block.col == CSheetGrid::kRowHeaderCol) return;
    const Run cols = DataRun(block.col, block.col2, cols_);
    const Run rows = DataRun(block.row, block.row2, rows_);
    if (cols.Empty() || rows.Empty()) return;
    for (int r = rows.first; r <= rows.last; ++r) {
      for (int c = cols.first; c <= cols.last; ++c) {
        SheetCell& cell = At(r, c);
        if (!cell.locked) cell.text.clear();
      }
    }
    CellsChanged(rows.first, cols.first, rows.last, cols.last);
  }

  // Writes a table of texts with its top-left corner at (row, col), leaving locked cells and
  // whatever falls outside the grid.
  void Paste(int row, int col, const std::vector<QStringList>& table) {
    int lastCol = col;
    for (std::size_t i = 0; i < table.size(); ++i) {
      const int r = row + static_cast<int>(i);
      if (r >= rows_) break;
      const QStringList& line = table[i];
      for (int j = 0; j < line.size() && col + j < cols_; ++j) {
        SheetCell& cell = At(r, col + j);
        if (!cell.locked) cell.Write(line[j]);
        lastCol = std::max(lastCol, col + j);
      }
    }
    const int lastRow = std::min(row + static_cast<int>(table.size()), rows_) - 1;
    if (lastRow >= row) CellsChanged(row, col, lastRow, lastCol);
  }

  void InsertRows(int first, int count) {
    count = std::min(count, rows_ - first);
    if (first < 0 || count <= 0) return;
    const auto begin = cells_.begin() + static_cast<std::ptrdiff_t>(Offset(first, 0));
    const auto keptEnd = cells_.end() - static_cast<std::ptrdiff_t>(Offset(count, 0));
    std::move_backward(begin, keptEnd, cells_.end());
    ResetRows(first, count);
    CellsChanged(first, 0, rows_ - 1, cols_ - 1);
  }

  void DeleteRows(int first, int count) {
    count = std::min(count, rows_ - first);
    if (first < 0 || count <= 0) return;
    const auto begin = cells_.begin() + static_cast<std::ptrdiff_t>(Offset(first, 0));
    std::move(begin + static_cast<std::ptrdiff_t>(Offset(count, 0)), cells_.end(), begin);
    ResetRows(rows_ - count, count);
    CellsChanged(first, 0, rows_ - 1, cols_ - 1);
  }

  int DataRowCount() const {
    for (int r = rows_ - 1; r >= 0; --r) {
      for (int c = 0; c < cols_; ++c) {
        const SheetCell& cell = At(r, c);
        if (!cell.checkBox && !cell.text.isEmpty()) return r + 1;
      }
    }
    return 0;
  }

  // Off: changes are collected and announced at once when notifying is switched on again.
  void SetNotify(bool notify) {
    notify_ = notify;
    if (!notify_ || !pending_) return;
    pending_ = false;
    if (rows_ == 0) return;
    if (cols_ > 0) emit dataChanged(index(0, 0), index(rows_ - 1, cols_ - 1));
    emit headerDataChanged(Qt::Vertical, 0, rows_ - 1);
  }

  void AllChanged() {
    if (rows_ > 0 && cols_ > 0) CellsChanged(0, 0, rows_ - 1, cols_ - 1);
  }

  // Headers.
  int HeaderRows() const { return headerRows_; }
  void SetHeaderRows(int rows) { headerRows_ = std::clamp(rows, 1, 2); }
  QString HeaderText(int headerRow, int col) const {
    return headerTexts_[static_cast<std::size_t>(headerRow)][static_cast<std::size_t>(col)];
  }
  QString CornerText(int headerRow) const {
    return cornerTexts_[static_cast<std::size_t>(headerRow)];
  }
  QString RowHeaderText(int row) const { return rowHeaders_[static_cast<std::size_t>(row)]; }

  void SetHeaderText(const SheetBlock& block, const QString& text) {
    const int headerRow = HeaderRowIndex(block.row);
    if (block.col == CSheetGrid::kRowHeaderCol) {
      cornerTexts_[static_cast<std::size_t>(headerRow)] = text;
      return;
    }
    const Run cols = DataRun(block.col, block.col2, cols_);
    if (cols.Empty()) return;
    for (int c = cols.first; c <= cols.last; ++c) {
      headerTexts_[static_cast<std::size_t>(headerRow)][static_cast<std::size_t>(c)] = text;
    }
    emit headerDataChanged(Qt::Horizontal, cols.first, cols.last);
  }

  void SetRowHeaderText(const SheetBlock& block, const QString& text) {
    const Run rows = DataRun(block.row, block.row2, rows_);
    if (rows.Empty()) return;
    for (int r = rows.first; r <= rows.last; ++r) rowHeaders_[static_cast<std::size_t>(r)] = text;
    if (notify_) {
      emit headerDataChanged(Qt::Vertical, rows.first, rows.last);
    } else {
      pending_ = true;
    }
  }

  void AddSpan(const HeaderSpan& span) { spans_.push_back(span); }
  const HeaderSpan* SpanAt(int col, int headerRow) const {
    for (const HeaderSpan& span : spans_) {
      if (span.Covers(col, headerRow)) return &span;
    }
    return nullptr;
  }

  // Colours of the whole grid; unset ones follow the palette.
  std::optional<Color> lockBack;
  std::optional<Color> headerBack;
  std::optional<Color> headerFore;

 private:
  std::size_t Offset(int row, int col) const {
    return static_cast<std::size_t>(row) * static_cast<std::size_t>(cols_) +
           static_cast<std::size_t>(col);
  }

  Color ShownBack(const SheetCell& cell) const {
    return cell.locked && !cell.ownBack && lockBack ? *lockBack : cell.back;
  }

  void ResetRows(int first, int count) {
    for (int r = first; r < first + count; ++r) {
      std::copy(defaults_.begin(), defaults_.end(),
                cells_.begin() + static_cast<std::ptrdiff_t>(Offset(r, 0)));
    }
  }

  void CellsChanged(int row1, int col1, int row2, int col2) {
    if (notify_) {
      emit dataChanged(index(row1, col1), index(row2, col2));
    } else {
      pending_ = true;
    }
  }

  int rows_ = 0;
  int cols_ = 0;
  std::vector<SheetCell> cells_;
  std::vector<SheetCell> defaults_;  // per column: what rows added later start with
  int headerRows_ = 1;
  std::array<std::vector<QString>, 2> headerTexts_;
  std::array<QString, 2> cornerTexts_;
  std::vector<QString> rowHeaders_;  // empty: the row's number
  std::vector<HeaderSpan> spans_;
  bool notify_ = true;
  bool pending_ = false;
};

// The column and row headers: flat cells in the header colours, text centred and broken at line
// feeds; the column header has one or two rows, whose cells may span several columns and rows.
class SheetHeader : public QHeaderView {
 public:
  SheetHeader(Qt::Orientation orientation, const SheetModel& sheet, QWidget* parent)
      : QHeaderView(orientation, parent), sheet_(sheet) {
    setSectionsClickable(true);
    setHighlightSections(false);
  }

  // The corner above the row headers, in the look of a header cell, with the corner texts.
  void PaintCorner(QWidget& corner) const {
    QPainter painter(&corner);
    QString text = sheet_.CornerText(0);
    if (!sheet_.CornerText(1).isEmpty()) text += u'\n' + sheet_.CornerText(1);
    PaintCell(painter, corner.rect(), text);
  }

  QSize sizeHint() const override {
    QSize size = QHeaderView::sizeHint();
    if (orientation() == Qt::Horizontal) {
      size.setHeight(RowTop(sheet_.HeaderRows()));
    } else {
      // Wide enough for the corner's texts too.
      for (int row = 0; row < 2; ++row) {
        const QRect text =
            fontMetrics().boundingRect(QRect(), Qt::AlignCenter, sheet_.CornerText(row));
        size.setWidth(std::max(size.width(), text.width() + 8));
      }
    }
    return size;
  }

 protected:
  void paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const override {
    if (orientation() == Qt::Vertical) {
      PaintCell(*painter, rect,
                sheet_.headerData(logicalIndex, Qt::Vertical, Qt::DisplayRole).toString());
      return;
    }
    for (int row = 0; row < sheet_.HeaderRows(); ++row) {
      if (const HeaderSpan* span = sheet_.SpanAt(logicalIndex, row)) {
        const int last = std::min(span->col + span->cols, count()) - 1;
        const int left = sectionViewportPosition(span->col);
        const int right = sectionViewportPosition(last) + sectionSize(last);
        const int bottom = RowTop(std::min(span->row + span->rows, sheet_.HeaderRows()));
        PaintCell(*painter,
                  QRect(left, RowTop(span->row), right - left, bottom - RowTop(span->row)),
                  sheet_.HeaderText(span->row, span->col));
      } else {
        PaintCell(*painter,
                  QRect(rect.x(), RowTop(row), rect.width(), RowTop(row + 1) - RowTop(row)),
                  sheet_.HeaderText(row, logicalIndex));
      }
    }
  }

 private:
  // The top of header row `row` (its bottom is the top of the next).
  int RowTop(int row) const {
    int top = 0;
    for (int r = 0; r < row; ++r) top += RowHeight(r);
    return top;
  }

  // As high as the most lines a cell of the row holds (cells that span rows do not count).
  int RowHeight(int row) const {
    int lines = 1;
    for (int c = 0; c < sheet_.Cols(); ++c) {
      const HeaderSpan* span = sheet_.SpanAt(c, row);
      if (span != nullptr && span->rows > 1) continue;
      const int col = span != nullptr ? span->col : c;
      lines = std::max(lines, static_cast<int>(sheet_.HeaderText(row, col).count(u'\n')) + 1);
    }
    return lines * fontMetrics().height() + 6;
  }

  void PaintCell(QPainter& painter, const QRect& rect, const QString& text) const {
    const QPalette& colours = palette();
    painter.fillRect(
        rect, sheet_.headerBack ? ToQColor(*sheet_.headerBack) : colours.color(QPalette::Button));
    painter.setPen(colours.color(QPalette::Mid));
    painter.drawLine(rect.topRight(), rect.bottomRight());
    painter.drawLine(rect.bottomLeft(), rect.bottomRight());
    painter.setPen(sheet_.headerFore ? ToQColor(*sheet_.headerFore)
                                     : colours.color(QPalette::ButtonText));
    painter.drawText(rect.adjusted(2, 1, -2, -1), Qt::AlignCenter, text);
  }

  const SheetModel& sheet_;
};

// Cell editors and check boxes: editors report their keys to the grid; a check box is drawn in
// the middle of its cell and switches on a click anywhere in the cell or on the space bar.
class SheetDelegate : public QStyledItemDelegate {
 public:
  explicit SheetDelegate(CSheetGrid& grid) : QStyledItemDelegate(&grid), grid_(grid) {}

  QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& /*option*/,
                        const QModelIndex& /*index*/) const override {
    auto* editor = new QLineEdit(parent);
    editor->setFrame(false);
    grid_.WatchEditor(editor);
    return editor;
  }

  void paint(QPainter* painter, const QStyleOptionViewItem& option,
             const QModelIndex& index) const override {
    const QVariant state = index.data(Qt::CheckStateRole);
    if (!state.isValid()) {
      QStyledItemDelegate::paint(painter, option, index);
      return;
    }
    QStyleOptionViewItem item(option);
    initStyleOption(&item, index);
    QStyle* style = grid_.style();
    style->drawPrimitive(QStyle::PE_PanelItemViewItem, &item, painter, &grid_);
    const int size = style->pixelMetric(QStyle::PM_IndicatorWidth, &item, &grid_);
    QStyleOptionViewItem box(item);
    box.rect = QRect(0, 0, size, size);
    box.rect.moveCenter(option.rect.center());
    box.state = (box.state & ~QStyle::State_HasFocus) |
                (state.toInt() == Qt::Checked ? QStyle::State_On : QStyle::State_Off);
    style->drawPrimitive(QStyle::PE_IndicatorItemViewItemCheck, &box, painter, &grid_);
  }

  bool editorEvent(QEvent* event, QAbstractItemModel* model, const QStyleOptionViewItem& option,
                   const QModelIndex& index) override {
    if (!(index.flags() & Qt::ItemIsUserCheckable)) return false;
    bool toggle = false;
    if (event->type() == QEvent::MouseButtonRelease) {
      const auto* mouse = static_cast<QMouseEvent*>(event);
      toggle =
          mouse->button() == Qt::LeftButton && option.rect.contains(mouse->position().toPoint());
    } else if (event->type() == QEvent::KeyPress) {
      toggle = static_cast<QKeyEvent*>(event)->key() == Qt::Key_Space;
    }
    if (!toggle) return false;
    const bool checked = index.data(Qt::CheckStateRole).toInt() == Qt::Checked;
    return model->setData(index, checked ? Qt::Unchecked : Qt::Checked, Qt::CheckStateRole);
  }

 private:
  CSheetGrid& grid_;
};

CSheetGrid::CSheetGrid(QWidget* parent)
    : QTableView(parent),
      model_(new SheetModel(this)),
      header_(new SheetHeader(Qt::Horizontal, *model_, this)) {
  setHorizontalHeader(header_);
  setVerticalHeader(new SheetHeader(Qt::Vertical, *model_, this));
  setModel(model_);
  setItemDelegate(new SheetDelegate(*this));
  setEditTriggers(DoubleClicked | EditKeyPressed | AnyKeyPressed);
  SetSelMode(SheetSelMode::Block);
  setWordWrap(false);
  verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);

  model_->onEdited = [this](int row, int col) { emit Change(col + 1, row + 1); };
  model_->onToggled = [this](int row, int col, bool checked) {
    emit ButtonClicked(col + 1, row + 1, checked ? 1 : 0);
  };
  connect(this, &QAbstractItemView::clicked, this,
          [this](const QModelIndex& index) { emit Click(index.column() + 1, index.row() + 1); });
  connect(this, &QAbstractItemView::doubleClicked, this,
          [this](const QModelIndex& index) { emit DblClick(index.column() + 1, index.row() + 1); });
  connect(horizontalHeader(), &QHeaderView::sectionClicked, this, [this](int section) {
    emit Click(section + 1, 0);
    ReportNewBlock();
  });
  connect(verticalHeader(), &QHeaderView::sectionClicked, this, [this](int section) {
    emit Click(0, section + 1);
    ReportNewBlock();
  });
  // The corner button above the row headers; the only button a table view makes.
  corner_ = findChild<QAbstractButton*>();
  if (corner_ != nullptr) {
    connect(corner_, &QAbstractButton::clicked, this, [this] { emit Click(0, 0); });
    corner_->installEventFilter(this);
  }
}

CSheetGrid::~CSheetGrid() = default;

int CSheetGrid::MaxCols() const { return model_->Cols(); }

void CSheetGrid::SetMaxCols(int count) {
  model_->SetCols(count);
  SetActiveCell(1, 1);
  HeadersChanged();
}

int CSheetGrid::MaxRows() const { return model_->Rows(); }

void CSheetGrid::SetMaxRows(int count) {
  model_->SetRows(count);
  if (!currentIndex().isValid()) SetActiveCell(1, 1);
}

int CSheetGrid::DataRowCnt() const { return model_->DataRowCount(); }

int CSheetGrid::ColHeaderRows() const { return model_->HeaderRows(); }

void CSheetGrid::SetColHeaderRows(int count) {
  model_->SetHeaderRows(count);
  HeadersChanged();
}

void CSheetGrid::SetColWidth(int col, int width) {
  if (col == kRowHeaderCol) {
    verticalHeader()->setFixedWidth(width);
  } else if (col >= 1 && col <= MaxCols()) {
    setColumnWidth(col - 1, width);
  }
}

void CSheetGrid::AddCellSpan(int col, int row, int numCols, int numRows) {
  if (!IsHeaderRow(row) || col < 1 || col > MaxCols() || numCols < 1 || numRows < 1) return;
  model_->AddSpan(HeaderSpan{col - 1, HeaderRowIndex(row), numCols, numRows});
  HeadersChanged();
}

QString CSheetGrid::Text(int col, int row) const {
  if (IsHeaderRow(row)) {
    if (col == kRowHeaderCol) return model_->CornerText(HeaderRowIndex(row));
    return col >= 1 && col <= MaxCols() ? model_->HeaderText(HeaderRowIndex(row), col - 1)
                                        : QString();
  }
  if (row < 1 || row > MaxRows()) return {};
  if (col == kRowHeaderCol) return model_->RowHeaderText(row - 1);
  return col >= 1 && col <= MaxCols() ? model_->At(row - 1, col - 1).Shown() : QString();
}

void CSheetGrid::SetText(const SheetBlock& block, const QString& text) {
  if (IsHeaderRow(block.row)) {
    model_->SetHeaderText(block, text);
    HeadersChanged();
  } else if (block.col == kRowHeaderCol) {
    model_->SetRowHeaderText(block, text);
    HeadersChanged();
  } else {
    model_->Update(block, [&text](SheetCell& cell) { cell.Write(text); });
  }
}

QString CSheetGrid::Value(int col, int row) const {
  const QModelIndex index = IndexOf(col, row);
  if (!index.isValid()) return {};
  const SheetCell& cell = model_->At(index.row(), index.column());
  if (!cell.checkBox) return cell.text;
  return cell.text == QLatin1String("1") ? cell.text : QStringLiteral("0");
}

Color CSheetGrid::BackColor(int col, int row) const {
  const QModelIndex index = IndexOf(col, row);
  return index.isValid() ? model_->At(index.row(), index.column()).back : kWhite;
}

void CSheetGrid::SetBackColor(const SheetBlock& block, Color color) {
  model_->Update(block, [color](SheetCell& cell) {
    cell.back = color;
    cell.ownBack = true;
  });
}

Color CSheetGrid::ForeColor(int col, int row) const {
  const QModelIndex index = IndexOf(col, row);
  return index.isValid() ? model_->At(index.row(), index.column()).fore : kBlack;
}

void CSheetGrid::SetForeColor(const SheetBlock& block, Color color) {
  model_->Update(block, [color](SheetCell& cell) { cell.fore = color; });
}

bool CSheetGrid::Lock(int col, int row) const {
  const QModelIndex index = IndexOf(col, row);
  return index.isValid() && model_->At(index.row(), index.column()).locked;
}

void CSheetGrid::SetLock(const SheetBlock& block, bool locked) {
  model_->Update(block, [locked](SheetCell& cell) { cell.locked = locked; });
}

int CSheetGrid::DecimalPlaces(int col, int row) const {
  const QModelIndex index = IndexOf(col, row);
  return index.isValid() ? model_->At(index.row(), index.column()).decimals : kTextCell;
}

void CSheetGrid::SetDecimalPlaces(const SheetBlock& block, int decimals) {
  const auto places = static_cast<std::int8_t>(std::clamp(decimals, 0, kMaxDecimals));
  model_->Update(block, [places](SheetCell& cell) { cell.decimals = places; });
}

SheetCellType CSheetGrid::CellType(int col, int row) const {
  const QModelIndex index = IndexOf(col, row);
  return index.isValid() && model_->At(index.row(), index.column()).checkBox
             ? SheetCellType::CheckBox
             : SheetCellType::Text;
}

void CSheetGrid::SetCellType(const SheetBlock& block, SheetCellType type) {
  model_->Update(block, [type](SheetCell& cell) {
    cell.checkBox = type == SheetCellType::CheckBox;
    cell.Write(cell.text);
  });
}

void CSheetGrid::ClearUnlocked(const SheetBlock& block) { model_->Clear(block); }

void CSheetGrid::SetLockBackColor(Color color) {
  model_->lockBack = color;
  model_->AllChanged();
}

void CSheetGrid::SetHeaderBackColor(Color color) {
  model_->headerBack = color;
  HeadersChanged();
}

void CSheetGrid::SetHeaderForeColor(Color color) {
  model_->headerFore = color;
  HeadersChanged();
}

int CSheetGrid::ActiveCol() const {
  return currentIndex().isValid() ? currentIndex().column() + 1 : 0;
}

int CSheetGrid::ActiveRow() const {
  return currentIndex().isValid() ? currentIndex().row() + 1 : 0;
}

void CSheetGrid::SetActiveCell(int col, int row) {
  const QModelIndex index = IndexOf(col, row);
  if (!index.isValid()) return;
  selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
  scrollTo(index);
}

void CSheetGrid::MoveActiveCell(int col, int row) {
  const QModelIndex index = IndexOf(col, row);
  if (MayLeaveFor(index)) SetActiveCell(col, row);
}

bool CSheetGrid::CheckNumberCells() {
  for (int row = 0; row < MaxRows(); ++row) {
    for (int col = 0; col < MaxCols(); ++col) {
      const QModelIndex index = model_->index(row, col);
      if (!HoldsNonNumber(index)) continue;
      WarnNotANumber(index);
      SetActiveCell(col + 1, row + 1);
      return false;
    }
  }
  return true;
}

void CSheetGrid::SetSelection(int col, int row, int col2, int row2) {
  const Run cols = DataRun(col, col2, MaxCols());
  const Run rows = DataRun(row, row2, MaxRows());
  if (cols.Empty() || rows.Empty()) return;
  const QItemSelection block(model_->index(rows.first, cols.first),
                             model_->index(rows.last, cols.last));
  selectionModel()->select(block, QItemSelectionModel::ClearAndSelect);
}

SheetBlock CSheetGrid::GetSelection(int index) const {
  const QItemSelection ranges = selectionModel()->selection();
  if (index < 0 || index >= ranges.size()) return SheetBlock(ActiveCol(), ActiveRow());
  const QItemSelectionRange& range = ranges[index];
  const bool wholeRows = range.left() == 0 && range.right() == MaxCols() - 1;
  const bool wholeCols = range.top() == 0 && range.bottom() == MaxRows() - 1;
  return SheetBlock(wholeRows ? kAll : range.left() + 1, wholeCols ? kAll : range.top() + 1,
                    wholeRows ? kAll : range.right() + 1, wholeCols ? kAll : range.bottom() + 1);
}

SheetBlock CSheetGrid::FirstSelectedBlock() const {
  const SheetBlock block = GetSelection(0);
  const Run cols = DataRun(block.col, block.col2, MaxCols());
  const Run rows = DataRun(block.row, block.row2, MaxRows());
  return SheetBlock(cols.first + 1, rows.first + 1, cols.last + 1, rows.last + 1);
}

int CSheetGrid::SelBlockCol() const { return FirstSelectedBlock().col; }
int CSheetGrid::SelBlockRow() const { return FirstSelectedBlock().row; }
int CSheetGrid::SelBlockCol2() const { return FirstSelectedBlock().col2; }
int CSheetGrid::SelBlockRow2() const { return FirstSelectedBlock().row2; }

void CSheetGrid::SetSelMode(SheetSelMode mode) {
  const bool rows = mode == SheetSelMode::SingleRow;
  setSelectionMode(rows ? SingleSelection : ExtendedSelection);
  setSelectionBehavior(rows ? SelectRows : SelectItems);
}

bool CSheetGrid::EditMode() const { return state() == EditingState; }

void CSheetGrid::SetReDraw(bool redraw) { model_->SetNotify(redraw); }

void CSheetGrid::ClipboardCopy() {
  const SheetBlock block = FirstSelectedBlock();
  QString text;
  for (int row = block.row; row <= block.row2; ++row) {
    for (int col = block.col; col <= block.col2; ++col) {
      if (col > block.col) text += u'\t';
      text += Text(col, row);
    }
    text += u'\n';
  }
  QGuiApplication::clipboard()->setText(text);
}

void CSheetGrid::ClipboardCut() {
  ClipboardCopy();
  ClearUnlocked(FirstSelectedBlock());
}

void CSheetGrid::ClipboardPaste() {
  QStringList lines = QGuiApplication::clipboard()->text().split(u'\n');
  if (!lines.isEmpty() && lines.back().isEmpty()) lines.pop_back();
  std::vector<QStringList> table;
  table.reserve(static_cast<std::size_t>(lines.size()));
  for (QString& line : lines) {
    if (line.endsWith(u'\r')) line.chop(1);
    table.push_back(line.split(u'\t'));
  }
  const SheetBlock block = FirstSelectedBlock();
  if (block.col >= 1 && block.row >= 1) model_->Paste(block.row - 1, block.col - 1, table);
}

void CSheetGrid::InsertRows(int row, int count) { model_->InsertRows(row - 1, count); }

void CSheetGrid::DeleteRows(int row, int count) { model_->DeleteRows(row - 1, count); }

bool CSheetGrid::edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) {
  const bool wasEditing = EditMode();
  const bool result = QTableView::edit(index, trigger, event);
  if (!wasEditing && EditMode()) {
    textAtEditStart_ = model_->At(index.row(), index.column()).text;
    emit EditModeChanged(index.column() + 1, index.row() + 1, 1, false);
  }
  return result;
}

void CSheetGrid::closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) {
  const QModelIndex index = currentIndex();
  QTableView::closeEditor(editor, hint);
  if (!index.isValid()) return;
  const bool changed = model_->At(index.row(), index.column()).text != textAtEditStart_;
  emit EditModeChanged(index.column() + 1, index.row() + 1, 0, changed);
}

QModelIndex CSheetGrid::moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) {
  const QModelIndex target = QTableView::moveCursor(action, modifiers);
  return MayLeaveFor(target) ? target : currentIndex();
}

void CSheetGrid::keyPressEvent(QKeyEvent* event) {
  const bool clearing = event->key() == Qt::Key_Delete && !EditMode();
  if (clearing) {
    const int blocks = std::max(static_cast<int>(selectionModel()->selection().size()), 1);
    for (int i = 0; i < blocks; ++i) ClearUnlocked(GetSelection(i));
  }
  if (!ReportKeyDown(*event) || clearing) {
    event->accept();
    return;
  }
  // A key that opens a cell's editor is handed on to the editor, which reported it already.
  keyInProgress_ = event;
  QTableView::keyPressEvent(event);
  keyInProgress_ = nullptr;
  ReportNewBlock();
}

void CSheetGrid::mousePressEvent(QMouseEvent* event) {
  const QPoint point = event->position().toPoint();
  const int button = event->button() == Qt::LeftButton     ? 1
                     : event->button() == Qt::RightButton  ? 2
                     : event->button() == Qt::MiddleButton ? 4
                                                           : 0;
  emit MouseDown(button, ShiftStateOf(event->modifiers()), point.x(), point.y());
  pressVetoed_ = !MayLeaveFor(indexAt(point));
  if (pressVetoed_) {
    event->accept();
    return;
  }
  QTableView::mousePressEvent(event);
}

void CSheetGrid::mouseReleaseEvent(QMouseEvent* event) {
  if (pressVetoed_) {
    pressVetoed_ = false;
    event->accept();
    return;
  }
  QTableView::mouseReleaseEvent(event);
  ReportNewBlock();
}

bool CSheetGrid::eventFilter(QObject* watched, QEvent* event) {
  if (watched == corner_ && event->type() == QEvent::Paint) {
    header_->PaintCorner(*corner_);
    return true;
  }
  if (event->type() == QEvent::KeyPress && event != keyInProgress_ &&
      qobject_cast<QLineEdit*>(watched) != nullptr &&
      !ReportKeyDown(*static_cast<QKeyEvent*>(event))) {
    return true;
  }
  return QTableView::eventFilter(watched, event);
}

QModelIndex CSheetGrid::IndexOf(int col, int row) const {
  if (col < 1 || col > MaxCols() || row < 1 || row > MaxRows()) return {};
  return model_->index(row - 1, col - 1);
}

bool CSheetGrid::HoldsNonNumber(const QModelIndex& index) const {
  if (!index.isValid()) return false;
  const SheetCell& cell = model_->At(index.row(), index.column());
  return !cell.locked && !cell.checkBox && cell.decimals != kTextCell &&
         !IsNumberOrEmpty(cell.text);
}

void CSheetGrid::SetNotANumberWarning(std::function<void(int col, int row)> warn) {
  warnNotANumber_ = std::move(warn);
}

void CSheetGrid::WarnNotANumber(const QModelIndex& index) const {
  if (warnNotANumber_) {
    warnNotANumber_(index.column() + 1, index.row() + 1);
  } else {
    ReportNotANumber();
  }
}

bool CSheetGrid::MayLeaveFor(const QModelIndex& target) {
  const QModelIndex current = currentIndex();
  if (!target.isValid() || !current.isValid() || target == current) return true;
  if (HoldsNonNumber(current)) {
    WarnNotANumber(current);
    return false;
  }
  bool cancel = false;
  emit LeaveCell(current.column() + 1, current.row() + 1, target.column() + 1, target.row() + 1,
                 &cancel);
  return !cancel;
}

void CSheetGrid::ReportNewBlock() {
  const SheetBlock block = FirstSelectedBlock();
  const bool several = block.col != block.col2 || block.row != block.row2;
  if (!several) {
    lastBlock_ = SheetBlock();
  } else if (block != lastBlock_) {
    lastBlock_ = block;
    emit BlockSelected(block.col, block.row, block.col2, block.row2);
  }
}

bool CSheetGrid::ReportKeyDown(const QKeyEvent& event) {
  int code = KeyCodeOf(event);
  if (code == 0) return true;
  emit KeyDown(&code, ShiftStateOf(event.modifiers()));
  return code != 0;
}

void CSheetGrid::WatchEditor(QWidget* editor) { editor->installEventFilter(this); }

void CSheetGrid::HeadersChanged() {
  header_->updateGeometry();
  updateGeometries();
  header_->viewport()->update();
  verticalHeader()->viewport()->update();
  if (corner_ != nullptr) corner_->update();
}
