#pragma once
// CSheetGrid: the spreadsheet grid of the dialogs. Cells are addressed in the grid's own
// numbering: data columns and rows count from 1; kAll (−1) stands for every column or every row;
// the two column-header rows are kHeaderRow (−1000) and kHeaderRow2 (−999), and the row-header
// column is kRowHeaderCol (−1000). Events reach the dialogs as signals in the same numbering,
// with a column header reported as row 0 and a row header as column 0.
//
// A cell given decimal places is a number cell: one the user can edit holds a number or nothing,
// so a user's move out of a cell holding other text is refused with the entry warning every
// number field gives.
//
// A model of our own holds the cells (one flat array, so that tens of thousands of rows with a
// colour per cell fill in a blink); the view paints only what is visible.

#include <QTableView>
#include <functional>

#include "platform/DevTypes.h"

class QAbstractButton;
class SheetModel;
class SheetHeader;

// A rectangle of cells: (col, row) to (col2, row2), both corners included, in either order.
struct SheetBlock {
  int col = 0;
  int row = 0;
  int col2 = 0;
  int row2 = 0;

  constexpr SheetBlock() = default;
  constexpr SheetBlock(int c, int r) : col(c), row(r), col2(c), row2(r) {}
  constexpr SheetBlock(int c, int r, int c2, int r2) : col(c), row(r), col2(c2), row2(r2) {}
  friend bool operator==(const SheetBlock&, const SheetBlock&) = default;
};

enum class SheetCellType {
  Text,      // typed text; with decimal places a number, shown with that many decimals
  CheckBox,  // a check box; its text and value are "1" (checked) or "0"
};

enum class SheetSelMode {
  Block,      // blocks of cells, whole rows and whole columns
  SingleRow,  // one whole row at a time (the pickers that hand back a row)
};

class CSheetGrid : public QTableView {
  Q_OBJECT

 public:
  static constexpr int kAll = -1;
  static constexpr int kHeaderRow = -1000;
  static constexpr int kHeaderRow2 = -999;
  static constexpr int kRowHeaderCol = -1000;

  explicit CSheetGrid(QWidget* parent = nullptr);
  ~CSheetGrid() override;

  // Size and layout.
  int MaxCols() const;
  void SetMaxCols(int count);
  int MaxRows() const;
  // Rows added at the end take the settings given to their whole columns.
  void SetMaxRows(int count);
  // The last row that holds typed text (check boxes do not count); 0 when none does.
  int DataRowCnt() const;
  // One or two column-header rows.
  int ColHeaderRows() const;
  void SetColHeaderRows(int count);
  void SetColWidth(int col, int width);
  // Joins header cells into one: (col, row) spans numCols columns and numRows header rows.
  void AddCellSpan(int col, int row, int numCols, int numRows);

  // Cells. Header addresses take text only. The text a cell shows: a number cell's number
  // rounded to its decimals.
  QString Text(int col, int row) const;
  void SetText(const SheetBlock& block, const QString& text);
  // A check box's state "1" or "0"; every other cell's text as typed or written, a number cell's
  // number with all the decimals it was given.
  QString Value(int col, int row) const;
  Color BackColor(int col, int row) const;
  void SetBackColor(const SheetBlock& block, Color color);
  Color ForeColor(int col, int row) const;
  void SetForeColor(const SheetBlock& block, Color color);
  // A locked cell takes no typing, no paste and no clearing.
  bool Lock(int col, int row) const;
  void SetLock(const SheetBlock& block, bool locked);
  // −1 for a text cell.
  int DecimalPlaces(int col, int row) const;
  void SetDecimalPlaces(const SheetBlock& block, int decimals);
  SheetCellType CellType(int col, int row) const;
  void SetCellType(const SheetBlock& block, SheetCellType type);
  // Empties the unlocked cells of the block.
  void ClearUnlocked(const SheetBlock& block);

  // Colours of the whole grid.
  void SetLockBackColor(Color color);    // locked cells without a colour of their own
  void SetHeaderBackColor(Color color);  // the column and row headers
  void SetHeaderForeColor(Color color);  // the headers' text

  // The active cell and the selection.
  int ActiveCol() const;
  int ActiveRow() const;
  void SetActiveCell(int col, int row);
  // Moves the active cell as the user does: a number cell the user can edit is left only when it
  // holds a number or nothing (else the entry warning, and the cell stays), then LeaveCell may
  // veto the move.
  void MoveActiveCell(int col, int row);
  // The first number cell the user can edit that holds other text gets the entry warning and
  // becomes the active cell: false then. True when every such cell holds a number or nothing.
  bool CheckNumberCells();
  // Gives the warning for a number cell holding other text: by default the entry warning of the
  // number fields; a grid whose cells carry rules of their own names the cell and its rule.
  void SetNotANumberWarning(std::function<void(int col, int row)> warn);
  void SetSelection(int col, int row, int col2, int row2);
  // Selected block number index, kAll for whole rows or columns; the active cell when there is
  // no such block.
  SheetBlock GetSelection(int index) const;
  // The first selected block with whole rows and columns spelled out.
  int SelBlockCol() const;
  int SelBlockRow() const;
  int SelBlockCol2() const;
  int SelBlockRow2() const;
  void SetSelMode(SheetSelMode mode);
  // True while a cell is being edited.
  bool EditMode() const;
  // Painting off during bulk changes, on afterwards.
  void SetReDraw(bool redraw);

  // The clipboard as tab-separated text, one line per row; rows.
  void ClipboardCopy();
  void ClipboardCut();
  void ClipboardPaste();
  // Inserts count empty rows before row; as many rows fall off the end.
  void InsertRows(int row, int count);
  // Deletes count rows from row on; as many empty rows come in at the end.
  void DeleteRows(int row, int count);

 signals:
  void BlockSelected(int col, int row, int col2, int row2);
  // A check box was switched by the user; state is 1 when it is now checked.
  void ButtonClicked(int col, int row, int state);
  // The user changed the cell's text.
  void Change(int col, int row);
  void Click(int col, int row);
  void DblClick(int col, int row);
  // An edit began (mode 1) or ended (mode 0, changeMade when the text changed).
  void EditModeChanged(int col, int row, int mode, bool changeMade);
  // The user is about to move the active cell; setting *cancel keeps it where it is.
  void LeaveCell(int col, int row, int newCol, int newRow, bool* cancel);
  // A key went down in the grid or its cell editor; keyCode is the platform-neutral key code
  // (see KeyCode.h) and may be set to 0 to swallow the key. shift: 1 Shift, 2 Ctrl, 4 Alt.
  void KeyDown(int* keyCode, int shift);
  void MouseDown(int button, int shift, int x, int y);

 protected:
  bool edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) override;
  void closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) override;
  QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override;
  void keyPressEvent(QKeyEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  friend class SheetDelegate;

  QModelIndex IndexOf(int col, int row) const;
  SheetBlock FirstSelectedBlock() const;
  // A number cell the user can edit, holding text that is not a number.
  bool HoldsNonNumber(const QModelIndex& index) const;
  void WarnNotANumber(const QModelIndex& index) const;
  // Asks the dialog whether the active cell may move to target, after the cell's own check.
  bool MayLeaveFor(const QModelIndex& target);
  // Raises BlockSelected when the user's selection became a new block of several cells.
  void ReportNewBlock();
  // Raises KeyDown; false when a handler swallowed the key.
  bool ReportKeyDown(const QKeyEvent& event);
  void WatchEditor(QWidget* editor);
  void HeadersChanged();

  SheetModel* model_;  // owned as a child QObject
  SheetHeader* header_;
  QAbstractButton* corner_ = nullptr;
  SheetBlock lastBlock_;
  QString textAtEditStart_;
  bool pressVetoed_ = false;
  const QEvent* keyInProgress_ = nullptr;  // the key the grid is handling itself
  std::function<void(int col, int row)> warnNotANumber_;
};
