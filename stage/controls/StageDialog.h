#pragma once
// StageDialog: the base of every stage dialog, holding the conventions they share. Escape never
// closes; Enter moves to the next control (in a grid, to the next cell), except that it presses
// OK when OK has the focus and stays with a cell that is being edited; no push button is a
// default button; the title bar's close button acts as Cancel; OK is refused while a grid's
// number cell holds text that is not a number. OK and Cancel are the buttons with the ids 1 and
// 2; only OnOK and OnCancel end a dialog.

#include <QDialog>
#include <initializer_list>
#include <utility>
#include <vector>

#include "platform/qt/ModalRunner.h"

class CSheetGrid;

class QButtonGroup;
class QHBoxLayout;
class QLabel;
class QPushButton;
class QRadioButton;

// Gives the control its id: the object name the dialogs and tests find it by.
void SetId(QWidget* control, int id);
// A push button with its caption (UTF-8) and its id.
QPushButton* MakeButton(const char* text, int id);
// The captions of the two buttons that end a dialog (UTF-8). A null caption leaves its button out:
// a dialog that only closes, or whose OK stands elsewhere.
struct EndCaptions {
  const char* ok = "OK";
  const char* cancel = "キャンセル";
};
// The row that ends a dialog as built: the layout to add, and its OK and キャンセル for the tab
// chain and for enabling (null where left out).
struct OkCancelRow {
  QHBoxLayout* layout = nullptr;
  QPushButton* ok = nullptr;
  QPushButton* cancel = nullptr;
};
// The row that ends a dialog: the leading widgets on the left, OK (id 1) and キャンセル (id 2) on
// the right, as StageDialog handles them.
OkCancelRow MakeOkCancelRow(std::initializer_list<QWidget*> leading = {},
                            const EndCaptions& captions = {});
// A label with its text (UTF-8) and, unless it is 0, its id.
QLabel* MakeLabel(const char* text, int id = 0);
// A radio button with its caption (UTF-8) and its id, in the group under the value.
QRadioButton* MakeRadio(const char* text, int id, QButtonGroup& group, int value);
// The focus order: Tab and Enter go through the controls in this order.
void SetTabChain(const std::vector<QWidget*>& chain);
// Asks the frame to redraw the section view now: for a dialog whose edits or picks the view shows
// while the dialog is still open, and after a calculation filed its result in the case. The frame
// owns every redraw; a dialog never draws the view.
void RedrawSection();

class StageDialog : public QDialog {
  Q_OBJECT

 public:
  explicit StageDialog(QWidget* parent = nullptr);

  // Ends the dialog accepted or rejected; dialogs override them to read, compare, write back or
  // restore, and call the base at the end.
  virtual void OnOK();
  virtual void OnCancel();
  // Whether the dialog holds edits that OnOK would take into the case and OnCancel would drop,
  // so that nobody closes the program over them unasked. Reads what the controls show into the
  // dialog's working state first, as OnOK does. The base holds none.
  virtual bool HasUnappliedChanges();

  void accept() override;
  void reject() override;
  void setVisible(bool visible) override;

  // Limits the size to the size after the first layout pass plus the given changes (a fixed width
  // is (0, …, 0, …)); never below what the layout needs.
  void SetTrackLimits(int dwMin, int dhMin, int dwMax, int dhMax);

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  // Enter in a grid that is not editing: by default the next cell.
  virtual void OnGridEnter(CSheetGrid& grid);

 private:
  // Once, when first shown: no default buttons; OK and Cancel end the dialog.
  void PrepareButtons();
  // OK is pressed only when every number cell of the dialog's grids holds a number or nothing;
  // otherwise the first that does not is warned about and made active.
  bool GridsHoldNumbers();

  bool prepared_ = false;
};

// The one way a modal stage dialog runs: built from its arguments (its data, then the parent) on
// the caller's stack and run modally. True when it ended with OK.
template <class Dialog, class... Args>
bool RunDialog(Args&&... args) {
  Dialog dialog(std::forward<Args>(args)...);
  return RunModal(dialog) == QDialog::Accepted;
}
