#pragma once
// CShapeGridPage: the coordinate grid page of the terrain editor on which one line of the active
// case is typed, pasted, picked in the view or interpolated: column 1 holds X (m), column 2 Y (m),
// one row per point. Every edit goes into the case at once, and the view is asked to redraw with
// the rows worked on highlighted.
//
// The grid holds every point of the line and one free row below the last, where the next point
// is added; it grows as that row fills and shrinks when trailing rows are emptied, so a line of
// any length survives an edit. A cell left empty gives the unset value kNoValue, which the
// editor's OK drops.
//
// The section line pages and the water page derive from it: they say which line is edited, which
// highlight kind the case draws, and what else a change does.

#include <QWidget>

class CCase;
class CDPoly;
class CSheetGrid;
class QAction;
class QMenu;

class CShapeGridPage : public QWidget {
  Q_OBJECT

 public:
  // The commands of the grid's context menu; the ids are the actions' object names.
  enum MenuCommand {
    kMenuCut = 32777,
    kMenuCopy = 32778,
    kMenuPaste = 32779,
    kMenuInsertCopied = 32780,
    kMenuInsert = 32781,
    kMenuDelete = 32782,
  };

  explicit CShapeGridPage(QWidget* parent = nullptr);

  // The case whose line the page edits; null detaches the page, which then writes nothing.
  void SetCase(CCase* target) { case_ = target; }
  // The grid shows the edited line (an empty grid without one).
  virtual void LoadPage();
  // The edited line takes one point per row up to the last row with data.
  void StorePage();
  // A point picked in the view goes into the active row, rounded to 0.001; the next row becomes
  // active.
  void SetMousePoint(double x, double y);
  // The rows with data in reverse order.
  void ReverseRows();
  // The active cell's coordinate on the straight line through two neighbouring points.
  void InterpolateCell(int col);
  // Highlights the selected rows in the view and redraws it.
  void ShowSelection();
  // Ends a cell edit, keeping what was typed, so that the line holds it.
  void EndEdit();

  CSheetGrid& Grid() const { return *grid_; }

 protected:
  // The line the page edits; null when there is none.
  virtual CDPoly* EditedLine() const = 0;
  // The kind of shape the case highlights.
  virtual int HighlightKind() const = 0;
  // A cell was changed by the user; the line holds the change already.
  virtual void AfterCellChange() {}
  // Whether the context menu opens.
  virtual bool MenuAvailable() const { return true; }

  void Highlight(int first, int last) const;

  CCase* case_ = nullptr;  // observed
  CSheetGrid* grid_;

 private:
  // The line's points plus the free row, at least one row.
  void FitRows();
  // Inserts count empty rows in front of the row; the grid grows by them.
  void InsertRowsAt(int row, int count);
  // Stores the grid, fits it to the line and redraws.
  void Commit();

  void OnChange(int col, int row);
  void OnClick(int col, int row);
  void OnBlockSelected(int col, int row, int col2, int row2);
  void OnLeaveCell(int col, int row, int newCol, int newRow, bool* cancel);
  void OnKeyDown(int* keyCode, int shift);
  void OnContextMenu(const QPoint& point);
  // Cut, copy, paste, and inserting or deleting rows at the selection. コピーした座標の挿入
  // inserts exactly as many rows as the clipboard holds, so blank rows among them stay.
  void OnMenuCommand(MenuCommand command);

  QMenu* menu_;
};
