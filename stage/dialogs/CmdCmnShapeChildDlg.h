#pragma once
// CCmdCmnShapeChildDlg: the section line page of the terrain editor. In mode 0 it edits the
// ground line of the active case; in mode 1 the stratum boundary chosen in its list, with buttons
// to add, rename and delete a boundary (names are asked for in CInputBoxDlg; an empty name and
// one another boundary has are refused, the boundary's own name is accepted).

#include <optional>
#include <string>

#include "stage/dialogs/ShapeGridPage.h"

class QComboBox;
class QLabel;
class QPushButton;

class CCmdCmnShapeChildDlg : public CShapeGridPage {
  Q_OBJECT

 public:
  explicit CCmdCmnShapeChildDlg(QWidget* parent = nullptr);

  // 0: the ground line; 1: the stratum boundaries, with the boundary controls shown.
  void SetMode(int mode);
  int Mode() const { return mode_; }
  // In mode 1 the strata list's active shape becomes the current boundary first.
  void LoadPage() override;
  // Mode 1: the list shows every boundary, the first selected; without one the grid is greyed.
  void FillBoundaryList();
  // The boundary the list shows selected becomes the current one (mode 1).
  void TakeListSelection();

 protected:
  CDPoly* EditedLine() const override;
  int HighlightKind() const override { return mode_; }
  void AfterCellChange() override;
  bool MenuAvailable() const override;

 private:
  void OnAdd();
  void OnRename();
  void OnDelete();
  void OnListActivated(int index);
  // The name typed in the input box; nothing after Cancel.
  std::optional<std::string> AskName(const std::string& caption, const std::string& prompt,
                                     const std::string& initial);
  // An empty name or one that another boundary than `self` has is refused with a message.
  bool IsNameAccepted(const std::string& name, int self) const;
  void SelectBoundary(int index);

  QWidget* boundaryControls_;
  QLabel* label_;
  QComboBox* list_;
  QPushButton* add_;
  QPushButton* rename_;
  QPushButton* delete_;
  int mode_ = -1;
  int current_ = -1;  // index of the current boundary in the case's strata list
};
